#include "imagerules.h"

#include <cmath>
#include <cstring>
#include <utility>

// clang-format off
const Rgb kStandardPalette[16] = {
    {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
    {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
    {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
    {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
};
// clang-format on

void IndexedImage::fill(int x0, int y0, int x1, int y1, uint8_t v)
{
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            set(x, y, v);
}

// ---------------------------------------------------------------------------
// The seven-segment cell, 11 x 19, as runs of pixels per segment.

struct PixelRun {
    char segment;
    int x0, x1, y0, y1;  // inclusive
};

// clang-format off
static const PixelRun kSegmentRuns[] = {
    {'a', 3, 7, 0, 0},   {'a', 2, 8, 1, 1},    {'a', 3, 7, 2, 2},
    {'f', 1, 1, 2, 2},   {'f', 0, 2, 3, 7},    {'f', 1, 1, 8, 8},
    {'b', 9, 9, 2, 2},   {'b', 8, 10, 3, 7},   {'b', 9, 9, 8, 8},
    {'g', 3, 7, 8, 8},   {'g', 2, 8, 9, 9},    {'g', 3, 7, 10, 10},
    {'e', 1, 1, 10, 10}, {'e', 0, 2, 11, 15},  {'e', 1, 1, 16, 16},
    {'c', 9, 9, 10, 10}, {'c', 8, 10, 11, 15}, {'c', 9, 9, 16, 16},
    {'d', 3, 7, 16, 16}, {'d', 2, 8, 17, 17},  {'d', 3, 7, 18, 18},
};
// clang-format on

// clang-format off
static const char *const kLitSegments[15] = {
    "abcdef",   // 0
    "bc",       // 1
    "abdeg",    // 2
    "abcdg",    // 3
    "bcfg",     // 4
    "acdfg",    // 5
    "acdefg",   // 6
    "abc",      // 7
    "abcdefg",  // 8
    "abcdfg",   // 9
    "g",        // 10: placeholder bar
    "",         // 11: blank
    "", "", "", // 12 to 14: never shown, all black
};
// clang-format on

char SegmentAt(int x, int y)
{
    for (const PixelRun &run : kSegmentRuns)
        if (x >= run.x0 && x <= run.x1 && y >= run.y0 && y <= run.y1)
            return run.segment;
    return 0;
}

const char *LitSegments(int glyph) { return kLitSegments[glyph]; }

uint8_t CellPixel(int glyph, int x, int y)
{
    if (glyph >= 12)
        return kBlack;
    char segment = SegmentAt(x, y);
    if (segment == 0)
        return kBlack;
    if (std::strchr(kLitSegments[glyph], segment) != nullptr)
        return kBrightGreen;
    // Unlit segments are a dim checkerboard, so the outline of every digit
    // shows faintly as on a real display.
    return (x + y) % 2 == 1 ? kDarkGreen : kBlack;
}

void DrawCell(IndexedImage &image, int glyph, int x0, int y0)
{
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 11; ++x)
            image.set(x0 + x, y0 + y, CellPixel(glyph, x, y));
}

IndexedImage MakeGlyphSheet()
{
    IndexedImage sheet(55, 57, kBlack);
    for (int g = 0; g < 15; ++g)
        DrawCell(sheet, g, 11 * (g % 5), 19 * (g / 5));
    return sheet;
}

// ---------------------------------------------------------------------------
// The panel, 114 x 32: a recessed black display window on light grey.

static const int kPanelCellX[6] = {6, 19, 32, 45, 59, 72};

static const int kDecimalPoint[5][2] = {{57, 22}, {56, 23}, {57, 23}, {58, 23}, {57, 24}};

static const int kLabelLeft = 86;
static const int kLabelTop = 17;
// clang-format off
static const char *const kLabelRows[8] = {
    "####..########.####.....",
    ".###..###..##...##......",
    ".###..###..##...##......",
    ".#.###.##..#######.#####",
    ".#.###.##..##...##...##.",
    ".#.###.##..##...##..###.",
    ".#..#..##..##...##..##..",
    "###.#.########.#########",
};
// clang-format on

IndexedImage MakePanel()
{
    IndexedImage panel(114, 32, kLightGrey);
    panel.fill(4, 4, 84, 4, kDarkGrey);  // shadow along the top
    panel.fill(4, 4, 4, 26, kDarkGrey);  // and the left
    panel.fill(84, 5, 84, 26, kWhite);   // light along the right
    panel.fill(5, 26, 84, 26, kWhite);   // and the bottom
    panel.fill(5, 5, 83, 25, kBlack);
    for (int x : kPanelCellX)
        DrawCell(panel, 11, x, 6);
    for (const auto &p : kDecimalPoint)
        panel.set(p[0], p[1], kBrightGreen);
    for (int row = 0; row < 8; ++row)
        for (int col = 0; kLabelRows[row][col] != '\0'; ++col)
            if (kLabelRows[row][col] == '#')
                panel.set(kLabelLeft + col, kLabelTop + row, kBlack);
    return panel;
}

// ---------------------------------------------------------------------------
// The icon, 32 x 32: a small screen showing one period of a sine wave above a
// processor package.

Icon MakeIcon()
{
    Icon icon;
    auto paint = [&icon](int x0, int y0, int x1, int y1, uint8_t v) {
        icon.colour.fill(x0, y0, x1, y1, v);
        icon.transparent.fill(x0, y0, x1, y1, 0);
    };

    // Screen: drop shadow first, then a two-pixel dark-grey frame round a white face.
    paint(8, 2, 25, 14, kBlack);
    paint(7, 1, 24, 13, kDarkGrey);
    paint(9, 3, 22, 11, kWhite);
    int previous = -1;
    for (int x = 9; x <= 22; ++x) {
        double t = (x - 9 + 0.5) / 14.0 * 2.0 * 3.14159265358979;
        int y = 7 - static_cast<int>(std::lround(3.4 * std::sin(t)));
        int from = previous < 0 ? y : (previous < y ? previous + 1 : y);
        int to = previous < 0 ? y : (previous > y ? previous - 1 : y);
        if (from > to)
            std::swap(from, to);
        paint(x, from, x, to, kMagenta);
        previous = y;
    }

    // Package: white body, dark-grey band along its lower edge, pins below.
    paint(3, 17, 28, 24, kWhite);
    paint(3, 25, 28, 26, kDarkGrey);
    for (int x = 4; x <= 27; x += 2)
        paint(x, 27, x, 30, kDarkYellow);
    return icon;
}

// ---------------------------------------------------------------------------
// The link cursor: a pointing hand, hot spot at the top-left corner.

// clang-format off
const char *const kHandCursorRows[22] = {
    "------##----------",
    "-----#oo#---------",
    "-----#oo#---------",
    "-----#oo#---------",
    "-----#oo#---------",
    "-----#oo###-------",
    "-----#oo#oo###----",
    "-----#oo#oo#oo##--",
    "-----#oo#oo#oo#o#-",
    "-###-#oo#oo#oo#oo#",
    "-#oo##oooooooo#oo#",
    "-#ooo#ooooooooooo#",
    "--#oo#ooooooooooo#",
    "---#o#ooooooooooo#",
    "---#ooooooooooooo#",
    "----#oooooooooooo#",
    "----#ooooooooooo#-",
    "-----#oooooooooo#-",
    "-----#oooooooooo#-",
    "------#oooooooo#--",
    "------#oooooooo#--",
    "------##########--",
};
// clang-format on

// Reading the readout back.

// The characters of glyphs 0 to 11.
static const char kGlyphChars[] = "0123456789* ";

uint32_t RgbOf(uint8_t index)
{
    const Rgb &c = kStandardPalette[index];
    return uint32_t(c.r) << 16 | c.g << 8 | c.b;
}

IndexedImage PanelShowing(const std::string &text)
{
    IndexedImage panel = MakePanel();
    for (int i = 0; i < 6; ++i) {
        const char *glyph = std::strchr(kGlyphChars, text[i]);
        DrawCell(panel, glyph != nullptr && text[i] != '\0' ? int(glyph - kGlyphChars) : 11, kPanelCellX[i], 6);
    }
    return panel;
}

std::string ReadCells(const RgbPicture &at)
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

std::string ReadPanel(const RgbPicture &at, int width, int height)
{
    std::string cells = ReadCells(at);
    IndexedImage expected = PanelShowing(cells);
    for (int y = 0; y < height && y < expected.height; ++y)
        for (int x = 0; x < width && x < expected.width; ++x)
            if (at(x, y) != RgbOf(expected.at(x, y)))
                return "";
    return cells;
}

// ---------------------------------------------------------------------------
// File encodings: Windows bitmap, icon and cursor files, all little-endian.

namespace {

struct Writer {
    std::vector<uint8_t> bytes;
    void u8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); }
    void u16(uint32_t v)
    {
        u8(v & 0xFF);
        u8(v >> 8);
    }
    void u32(uint32_t v)
    {
        u16(v & 0xFFFF);
        u16(v >> 16);
    }
};

void InfoHeader(Writer &w, int width, int height, int bits, uint32_t imageSize, int colours)
{
    w.u32(40);
    w.u32(width);
    w.u32(height);
    w.u32(1 | (bits << 16));  // planes, bit count
    w.u32(0);                 // uncompressed
    w.u32(imageSize);
    w.u32(0);
    w.u32(0);
    w.u32(colours);
    w.u32(0);
}

void Palette16(Writer &w)
{
    for (const Rgb &c : kStandardPalette) {
        w.u8(c.b);
        w.u8(c.g);
        w.u8(c.r);
        w.u8(0);
    }
}

int Stride(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

// Rows bottom-up, each padded to four bytes; value(x, y) gives a pixel's bits.
template <typename F>
void PixelRows(Writer &w, int width, int height, int bits, F value)
{
    int stride = Stride(width, bits);
    for (int y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(stride, 0);
        for (int x = 0; x < width; ++x) {
            int bit = x * bits;
            int shift = 8 - bits - bit % 8;
            row[bit / 8] |= static_cast<uint8_t>(value(x, y) << shift);
        }
        w.bytes.insert(w.bytes.end(), row.begin(), row.end());
    }
}

void IconDirectory(Writer &w, int type, int colourCount, int field4, int field6, uint32_t bytes)
{
    w.u16(0);
    w.u16(type);  // 1 icon, 2 cursor
    w.u16(1);
    w.u8(32);
    w.u8(32);
    w.u8(colourCount);
    w.u8(0);
    w.u16(field4);  // icon: planes; cursor: hot spot x
    w.u16(field6);  // icon: bit count; cursor: hot spot y
    w.u32(bytes);
    w.u32(22);
}

}  // namespace

std::vector<uint8_t> EncodeBmp4(const IndexedImage &image)
{
    uint32_t imageSize = Stride(image.width, 4) * image.height;
    uint32_t offset = 14 + 40 + 16 * 4;
    Writer w;
    w.u8('B');
    w.u8('M');
    w.u32(offset + imageSize);
    w.u32(0);
    w.u32(offset);
    InfoHeader(w, image.width, image.height, 4, imageSize, 16);
    Palette16(w);
    PixelRows(w, image.width, image.height, 4, [&](int x, int y) { return image.at(x, y); });
    return w.bytes;
}

std::vector<uint8_t> EncodeIcon(const Icon &icon)
{
    uint32_t colourBytes = Stride(32, 4) * 32;
    uint32_t maskBytes = Stride(32, 1) * 32;
    Writer w;
    IconDirectory(w, 1, 16, 1, 4, 40 + 16 * 4 + colourBytes + maskBytes);
    InfoHeader(w, 32, 64, 4, colourBytes + maskBytes, 0);
    Palette16(w);
    PixelRows(w, 32, 32, 4, [&](int x, int y) { return icon.colour.at(x, y); });
    PixelRows(w, 32, 32, 1, [&](int x, int y) { return icon.transparent.at(x, y); });
    return w.bytes;
}

std::vector<uint8_t> EncodeHandCursor()
{
    auto cell = [](int x, int y) -> char {
        if (y >= 22 || x >= 18)
            return '-';
        return kHandCursorRows[y][x];
    };
    uint32_t planeBytes = Stride(32, 1) * 32;
    Writer w;
    IconDirectory(w, 2, 2, 0, 0, 40 + 2 * 4 + 2 * planeBytes);
    InfoHeader(w, 32, 64, 1, 2 * planeBytes, 2);
    w.u32(0x00000000);  // black
    w.u32(0x00FFFFFF);  // white
    PixelRows(w, 32, 32, 1, [&](int x, int y) { return cell(x, y) == 'o' ? 1 : 0; });
    PixelRows(w, 32, 32, 1, [&](int x, int y) { return cell(x, y) == '-' ? 1 : 0; });
    return w.bytes;
}
