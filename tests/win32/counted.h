// Forced into a test build of the program's Win32 sources: every call that
// makes or fetches a bitmap, memory context, window context or menu is
// counted, so the tests can prove that each handler gives back all it took.
// The counted calls do exactly what the real ones do.
#include <windows.h>

HBITMAP CountedLoadBitmapA(HINSTANCE instance, LPCSTR name);
HDC CountedCreateCompatibleDC(HDC dc);
HDC CountedGetDC(HWND window);
HMENU CountedLoadMenuA(HINSTANCE instance, LPCSTR name);
BOOL CountedDeleteDC(HDC dc);
BOOL CountedDeleteObject(HGDIOBJ object);
int CountedReleaseDC(HWND window, HDC dc);
BOOL CountedDestroyMenu(HMENU menu);

#define LoadBitmapA CountedLoadBitmapA
#define CreateCompatibleDC CountedCreateCompatibleDC
#define GetDC CountedGetDC
#define LoadMenuA CountedLoadMenuA
#define DeleteDC CountedDeleteDC
#define DeleteObject CountedDeleteObject
#define ReleaseDC CountedReleaseDC
#define DestroyMenu CountedDestroyMenu
