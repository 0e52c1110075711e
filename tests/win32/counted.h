// Forced into a test build of the program's Win32 sources: every GDI object,
// context and menu a handler can make or take, and every release, goes through
// a count, so the tests can prove it gives back all it took. The counted calls
// still do exactly what the real ones do.
#include <windows.h>

void *Take(void *handle);
void GiveBack(void *handle);

// The result of a release, once the handle it released is counted as given back.
template <typename Result>
inline Result GivenBack(void *handle, Result result)
{
    GiveBack(handle);
    return result;
}

#define ZARVO_TAKE(type, call) static_cast<type>(Take(call))
#define LoadBitmapA(...) ZARVO_TAKE(HBITMAP, LoadBitmapA(__VA_ARGS__))
#define CreateBitmap(...) ZARVO_TAKE(HBITMAP, CreateBitmap(__VA_ARGS__))
#define CreateCompatibleBitmap(...) ZARVO_TAKE(HBITMAP, CreateCompatibleBitmap(__VA_ARGS__))
#define CreateDIBSection(...) ZARVO_TAKE(HBITMAP, CreateDIBSection(__VA_ARGS__))
#define CreateSolidBrush(...) ZARVO_TAKE(HBRUSH, CreateSolidBrush(__VA_ARGS__))
#define CreateBrushIndirect(...) ZARVO_TAKE(HBRUSH, CreateBrushIndirect(__VA_ARGS__))
#define CreateHatchBrush(...) ZARVO_TAKE(HBRUSH, CreateHatchBrush(__VA_ARGS__))
#define CreatePen(...) ZARVO_TAKE(HPEN, CreatePen(__VA_ARGS__))
#define CreateFontA(...) ZARVO_TAKE(HFONT, CreateFontA(__VA_ARGS__))
#define CreateFontIndirectA(...) ZARVO_TAKE(HFONT, CreateFontIndirectA(__VA_ARGS__))
#define CreateRectRgn(...) ZARVO_TAKE(HRGN, CreateRectRgn(__VA_ARGS__))
#define CreateCompatibleDC(...) ZARVO_TAKE(HDC, CreateCompatibleDC(__VA_ARGS__))
#define BeginPaint(...) ZARVO_TAKE(HDC, BeginPaint(__VA_ARGS__))
#define GetDC(...) ZARVO_TAKE(HDC, GetDC(__VA_ARGS__))
#define GetWindowDC(...) ZARVO_TAKE(HDC, GetWindowDC(__VA_ARGS__))
#define GetDCEx(...) ZARVO_TAKE(HDC, GetDCEx(__VA_ARGS__))
#define LoadMenuA(...) ZARVO_TAKE(HMENU, LoadMenuA(__VA_ARGS__))
#define CreatePopupMenu(...) ZARVO_TAKE(HMENU, CreatePopupMenu(__VA_ARGS__))
#define DeleteDC(dc) GivenBack(dc, DeleteDC(dc))
#define DeleteObject(object) GivenBack(object, DeleteObject(object))
#define ReleaseDC(window, dc) GivenBack(dc, ReleaseDC(window, dc))
#define EndPaint(window, paint) GivenBack((paint)->hdc, EndPaint(window, paint))
#define DestroyMenu(menu) GivenBack(menu, DestroyMenu(menu))
