// The rules that fully determine the program's images: the seven-segment cell,
// the lit segments of every glyph, the panel, the icon and the link cursor.
// Shared by the image generator, the tests and the benchmark; no platform
// header.
#ifndef ZARVO_TOOLS_IMAGERULES_H
#define ZARVO_TOOLS_IMAGERULES_H

#include <cstdint>
#include <vector>

// Indices into the standard 16-colour palette.
// clang-format off
enum PaletteIndex : uint8_t {
    kBlack = 0, kDarkRed, kDarkGreen, kDarkYellow, kDarkBlue, kDarkMagenta, kDarkCyan,
    kLightGrey, kDarkGrey, kRed, kBrightGreen, kYellow, kBlue, kMagenta, kCyan, kWhite
};
// clang-format on

struct Rgb {
    uint8_t r, g, b;
};
extern const Rgb kStandardPalette[16];

// An image of palette indices, row 0 at the top.
struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;

    IndexedImage(int w, int h, uint8_t fill) : width(w), height(h), pixels(w * h, fill) {}
    uint8_t at(int x, int y) const { return pixels[y * width + x]; }
    void set(int x, int y, uint8_t v) { pixels[y * width + x] = v; }
    void fill(int x0, int y0, int x1, int y1, uint8_t v);  // inclusive corners
};

// Segments a..g; SegmentAt gives the segment a cell pixel belongs to, or 0.
char SegmentAt(int x, int y);

// Lit segments of glyph 0..14 as a string such as "abcdef".
const char *LitSegments(int glyph);

// Colour of pixel (x, y) of one 11 x 19 cell showing glyph g.
uint8_t CellPixel(int glyph, int x, int y);

// Draws cell g with its top-left corner at (x0, y0).
void DrawCell(IndexedImage &image, int glyph, int x0, int y0);

IndexedImage MakeGlyphSheet();  // 55 x 57
IndexedImage MakePanel();       // 114 x 32

// Left edges of the six cells on the panel, all 6 pixels from the top.
extern const int kPanelCellX[6];

// The icon: palette indices plus a transparency mask (1 = transparent).
struct Icon {
    IndexedImage colour{32, 32, kBlack};
    IndexedImage transparent{32, 32, 1};
};
Icon MakeIcon();

// The link cursor as rows of '#' (black), 'o' (white) and '-' (transparent).
extern const char *const kHandCursorRows[22];
const int kHandCursorSize = 32;

#endif
