// What the Windows tests share: a canvas to paint into or capture the screen
// into, the readout the image rules expect, and the six cells read back.
#ifndef ZARVO_TESTS_HARNESS_H
#define ZARVO_TESTS_HARNESS_H

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "imagerules.h"
#include "readout/readout.h"

// A 32-bit top-down bitmap in a memory context; pixels read as 0xRRGGBB.
struct Canvas {
    const int width, height;
    uint32_t *bits = nullptr;
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP bitmap;
    HGDIOBJ previous;
    Canvas(int w, int h, uint32_t fill = 0) : width(w), height(h)
    {
        BITMAPINFO info = {{sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, reinterpret_cast<void **>(&bits), NULL, 0);
        previous = SelectObject(dc, bitmap);
        std::fill(bits, bits + w * h, fill);
    }
    ~Canvas() { SelectObject(dc, previous), DeleteDC(dc), DeleteObject(bitmap); }
    uint32_t at(int x, int y) const { return GdiFlush(), bits[y * width + x] & 0xFFFFFF; }
};

inline uint32_t RgbOf(uint8_t i) { return kStandardPalette[i].r << 16 | kStandardPalette[i].g << 8 | kStandardPalette[i].b; }

// The panel with the cells of a six-character readout text on it.
inline IndexedImage ExpectedReadout(const std::string &text)
{
    IndexedImage image = MakePanel();
    for (int i = 0; i < kReadoutChars; ++i)
        DrawCell(image, GlyphIndexFor(text[i]), ReadoutCellRect(i).x, kReadoutTop);
    return image;
}

// The cells read back as text: a digit, '*' for the bar, ' ' blank, '?' none.
inline std::string ReadCells(const Canvas &picture)
{
    std::string text;
    for (int i = 0; i < kReadoutChars; ++i) {
        char shown = '?';
        for (int g = 0; g < 12 && shown == '?'; ++g) {
            bool same = true;
            for (int y = 0; y < kCellHeight && same; ++y)
                for (int x = 0; x < kCellWidth && same; ++x)
                    same = picture.at(ReadoutCellRect(i).x + x, kReadoutTop + y) == RgbOf(CellPixel(g, x, y));
            shown = same ? "0123456789* "[g] : '?';
        }
        text += shown;
    }
    return text;
}

// Polls every 20 ms until done() or timeoutMs has passed; returns done().
inline bool WaitUntil(const std::function<bool()> &done, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(20))
        if (GetTickCount() - start >= timeoutMs)
            return done();
    return true;
}

// A visible top-level window of the class that belongs to the process,
// waited for up to five seconds; null if none came.
inline HWND WaitForWindow(const char *className, DWORD pid)
{
    HWND found = NULL;
    WaitUntil(
        [&] {
            DWORD owner = 0;
            while ((found = FindWindowExA(NULL, found, className, NULL)) != NULL)
                if (GetWindowThreadProcessId(found, &owner) && owner == pid && IsWindowVisible(found))
                    return true;
            return false;
        },
        5000);
    return found;
}

#endif
