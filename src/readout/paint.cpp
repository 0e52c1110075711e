#include "paint.h"

#include "../app/globals.h"
#include "../measure/sampler.h"
#include "readout.h"
#include "resource.h"

namespace {

const int kPanelWidth = 114;
const int kPanelHeight = 32;

// A bitmap resource selected into a memory context compatible with the target,
// for the length of one paint. The context is deleted first, with the bitmap
// still selected in it, then the bitmap.
class LoadedImage {
public:
    LoadedImage(HDC target, int id)
        : bitmap_(LoadBitmapA(g_hInstance, MAKEINTRESOURCEA(id))),
          dc_(CreateCompatibleDC(target))
    {
        if (bitmap_ != NULL && dc_ != NULL)
            SelectObject(dc_, bitmap_);
    }
    ~LoadedImage()
    {
        if (dc_ != NULL)
            DeleteDC(dc_);
        if (bitmap_ != NULL)
            DeleteObject(bitmap_);
    }
    LoadedImage(const LoadedImage &) = delete;
    LoadedImage &operator=(const LoadedImage &) = delete;

    // A missing image draws nothing rather than copying from an empty context.
    void CopyTo(HDC target, int x, int y, int w, int h, int srcX, int srcY) const
    {
        if (bitmap_ != NULL && dc_ != NULL)
            BitBlt(target, x, y, w, h, dc_, srcX, srcY, SRCCOPY);
    }

private:
    HBITMAP bitmap_;
    HDC dc_;
};

}  // namespace

void PaintReadout(int full, HDC dc)
{
    if (full) {
        LoadedImage panel(dc, IDB_PANEL);
        panel.CopyTo(dc, 0, 0, kPanelWidth, kPanelHeight, 0, 0);
    }

    LoadedImage glyphs(dc, IDB_GLYPHS);
    char text[kReadoutBufferSize];
    BuildReadoutText(g_bValid.load(), g_dwRate.load(), text);
    for (int i = 0; i < kReadoutChars; ++i) {
        CellRect src = GlyphSourceRect(GlyphIndexFor(text[i]));
        CellRect dst = ReadoutCellRect(i);
        glyphs.CopyTo(dc, dst.x, dst.y, dst.w, dst.h, src.x, src.y);
    }
}
