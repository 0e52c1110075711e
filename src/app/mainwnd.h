#ifndef ZARVO_APP_MAINWND_H
#define ZARVO_APP_MAINWND_H

#include <windows.h>

#include "globals.h"

// Registers the window class and creates and shows the main window.
// Returns 1 on success, 0 if the class or the window could not be made.
int InitInstance(HINSTANCE instance, int showState);

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

#endif
