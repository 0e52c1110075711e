// Forced into a test build of the program's Win32 sources: every call that
// makes or fetches a bitmap, memory context, window context or menu goes
// through a counter, so the tests can prove that a handler gives back all it
// took. The counted calls do exactly what the real ones do. Thread creation
// can be made to fail, as on a system out of resources; the shipped program
// is built without this header.
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
HANDLE FallibleCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stack,
                            LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                            LPDWORD id);

#define LoadBitmapA CountedLoadBitmapA
#define CreateCompatibleDC CountedCreateCompatibleDC
#define DeleteDC CountedDeleteDC
#define DeleteObject CountedDeleteObject
#define GetDC CountedGetDC
#define ReleaseDC CountedReleaseDC
#define LoadMenuA CountedLoadMenuA
#define DestroyMenu CountedDestroyMenu
#define CreateThread FallibleCreateThread

#endif
