#include "canvas.h"

#include "readout/readout.h"

#include <cstdio>

Canvas::Canvas(int width, int height) : width_(width), height_(height), bits_(nullptr)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void *bits = nullptr;
    bitmap_ = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    bits_ = static_cast<uint32_t *>(bits);
    dc_ = CreateCompatibleDC(NULL);
    previous_ = SelectObject(dc_, bitmap_);
}

Canvas::~Canvas()
{
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
}

void Canvas::Fill(uint32_t rgb)
{
    GdiFlush();
    for (int i = 0; i < width_ * height_; ++i)
        bits_[i] = rgb;
}

uint32_t RgbOf(uint8_t paletteIndex)
{
    const Rgb &c = kStandardPalette[paletteIndex];
    return (uint32_t(c.r) << 16) | (uint32_t(c.g) << 8) | c.b;
}

IndexedImage ExpectedReadout(const char *text)
{
    IndexedImage image = MakePanel();
    for (int i = 0; i < 6; ++i) {
        CellRect cell = ReadoutCellRect(i);
        DrawCell(image, GlyphIndexFor(text[i]), cell.x, cell.y);
    }
    return image;
}

std::string FirstDifference(const Canvas &canvas, const IndexedImage &image, int x0, int y0,
                            int width, int height)
{
    GdiFlush();
    for (int y = y0; y < y0 + height; ++y)
        for (int x = x0; x < x0 + width; ++x) {
            uint32_t want = RgbOf(image.at(x, y));
            if (canvas.at(x, y) != want) {
                char what[80];
                std::snprintf(what, sizeof what, "(%d,%d) is 0x%06X not 0x%06X", x, y,
                              unsigned(canvas.at(x, y)), unsigned(want));
                return what;
            }
        }
    return "";
}
