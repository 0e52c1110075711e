// Forced into a test build of the program's Win32 sources: every bitmap,
// memory context, window context and menu a handler takes or gives back goes
// through a count, so the tests can prove it gives back all it took. The
// counted calls still do exactly what the real ones do.
#include <windows.h>

void *Take(void *handle);
void GiveBack(void *handle);
#define LoadBitmapA(i, name) static_cast<HBITMAP>(Take(LoadBitmapA(i, name)))
#define CreateCompatibleDC(dc) static_cast<HDC>(Take(CreateCompatibleDC(dc)))
#define GetDC(window) static_cast<HDC>(Take(GetDC(window)))
#define LoadMenuA(i, name) static_cast<HMENU>(Take(LoadMenuA(i, name)))
#define DeleteDC(dc) (GiveBack(dc), DeleteDC(dc))
#define DeleteObject(object) (GiveBack(object), DeleteObject(object))
#define ReleaseDC(window, dc) (GiveBack(dc), ReleaseDC(window, dc))
#define DestroyMenu(menu) (GiveBack(menu), DestroyMenu(menu))
