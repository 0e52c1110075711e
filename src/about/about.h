#ifndef ZARVO_ABOUT_ABOUT_H
#define ZARVO_ABOUT_ABOUT_H

#include <windows.h>

// The About box's procedure, run modally by the main window's About command.
INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

#endif
