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

const int kPanelCellX[6] = {6, 19, 32, 45, 59, 72};

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
