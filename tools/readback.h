// Reading the readout back off a picture of the main window, by the rules
// that drew it: for the tests and the benchmark, which read it off the screen.
#ifndef ZARVO_TOOLS_READBACK_H
#define ZARVO_TOOLS_READBACK_H

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "imagerules.h"

// The characters of glyphs 0 to 11.
const char kGlyphChars[] = "0123456789* ";

// at(x, y) gives a pixel of the main window's client area as 0xRRGGBB.
typedef std::function<uint32_t(int x, int y)> RgbPicture;

// A palette colour as 0xRRGGBB.
inline uint32_t RgbOf(uint8_t index)
{
    const Rgb &c = kStandardPalette[index];
    return uint32_t(c.r) << 16 | c.g << 8 | c.b;
}

// The panel showing six readout characters: a digit, '*' the bar, anything
// else a blank cell.
inline IndexedImage PanelShowing(const std::string &text)
{
    IndexedImage panel = MakePanel();
    for (int i = 0; i < 6; ++i) {
        const char *glyph = std::strchr(kGlyphChars, text[i]);
        DrawCell(panel, glyph != nullptr && text[i] != '\0' ? int(glyph - kGlyphChars) : 11, kPanelCellX[i], 6);
    }
    return panel;
}

// The six cells as such characters, '?' where a cell shows no glyph.
inline std::string ReadCells(const RgbPicture &at)
{
    std::string text(6, '?');
    for (int i = 0; i < 6; ++i)
        for (int g = 0; g < 12 && text[i] == '?'; ++g) {
            bool same = true;
            for (int y = 0; y < 19 && same; ++y)
                for (int x = 0; x < 11 && same; ++x)
                    same = at(kPanelCellX[i] + x, 6 + y) == RgbOf(CellPixel(g, x, y));
            if (same)
                text[i] = kGlyphChars[g];
        }
    return text;
}

// The six cells, or "" where anything in the width x height picture differs
// from the panel showing them, or the picture is too small to hold the cells
// (a window caught while it is minimised or restored).
inline std::string ReadPanel(const RgbPicture &at, int width, int height)
{
    if (width < kPanelCellX[5] + 11 || height < 6 + 19)
        return "";
    std::string cells = ReadCells(at);
    IndexedImage expected = PanelShowing(cells);
    for (int y = 0; y < height && y < expected.height; ++y)
        for (int x = 0; x < width && x < expected.width; ++x)
            if (at(x, y) != RgbOf(expected.at(x, y)))
                return "";
    return cells;
}

#endif
