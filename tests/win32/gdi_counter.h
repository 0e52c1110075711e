// Forced into a test build of the program's Win32 sources: every call that
// makes or fetches a bitmap, memory context, window context or menu goes
// through a counter, so the tests can prove that a handler gives back all it
// took. The counted calls do exactly what the real ones do.
#ifndef ZARVO_TESTS_GDI_COUNTER_H
#define ZARVO_TESTS_GDI_COUNTER_H

#include <windows.h>

HBITMAP CountedLoadBitmapA(HINSTANCE instance, LPCSTR name);
HDC CountedCreateCompatibleDC(HDC dc);
BOOL CountedDeleteDC(HDC dc);
BOOL CountedDeleteObject(HGDIOBJ object);
HDC CountedGetDC(HWND window);
int CountedReleaseDC(HWND window, HDC dc);
HMENU CountedLoadMenuA(HINSTANCE instance, LPCSTR name);
BOOL CountedDestroyMenu(HMENU menu);

#define LoadBitmapA CountedLoadBitmapA
#define CreateCompatibleDC CountedCreateCompatibleDC
#define DeleteDC CountedDeleteDC
#define DeleteObject CountedDeleteObject
#define GetDC CountedGetDC
#define ReleaseDC CountedReleaseDC
#define LoadMenuA CountedLoadMenuA
#define DestroyMenu CountedDestroyMenu

#endif
