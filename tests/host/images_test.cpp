// Checks the committed images against the drawing rules, reading the files as
// any viewer would and with expectations written out here by hand.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

enum { kBlack = 0, kDarkGreen = 2, kDarkYellow = 3, kLightGrey = 7, kDarkGrey = 8,
       kBrightGreen = 10, kWhite = 15 };

std::vector<uint8_t> ReadFile(const std::string &name)
{
    std::ifstream in(std::string(ZARVO_RES_DIR) + "/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

uint32_t U32(const std::vector<uint8_t> &b, size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (uint32_t(b[at + 3]) << 24);
}

// A 4-bit bitmap file decoded into palette indices.
struct Bitmap {
    int width = 0, height = 0, bits = 0;
    std::vector<uint32_t> palette;  // 0x00RRGGBB
    std::vector<uint8_t> index;
    int at(int x, int y) const { return index[y * width + x]; }
};

Bitmap Decode(const std::string &name)
{
    std::vector<uint8_t> f = ReadFile(name);
    Bitmap bmp;
    if (f.size() < 54 || f[0] != 'B' || f[1] != 'M')
        return bmp;
    uint32_t offset = U32(f, 10);
    bmp.width = int(U32(f, 18));
    bmp.height = int(U32(f, 22));
    bmp.bits = f[28];
    for (int i = 0; i < 16; ++i)
        bmp.palette.push_back(U32(f, 54 + 4 * i) & 0xFFFFFF);
    int stride = ((bmp.width * 4 + 31) / 32) * 4;
    bmp.index.resize(bmp.width * bmp.height);
    for (int y = 0; y < bmp.height; ++y)
        for (int x = 0; x < bmp.width; ++x) {
            uint8_t byte = f[offset + (bmp.height - 1 - y) * stride + x / 2];
            bmp.index[y * bmp.width + x] = x % 2 == 0 ? byte >> 4 : byte & 0x0F;
        }
    return bmp;
}

TEST(Images, BothBitmapsUseTheStandardSixteenColours)
{
    const uint32_t standard[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                   0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                   0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    struct { const char *file; int width, height; } files[] = {
        {"panel.bmp", 114, 32}, {"glyphs.bmp", 55, 57}};
    for (const auto &f : files) {
        Bitmap bmp = Decode(f.file);
        EXPECT_EQ(f.width, bmp.width) << f.file;
        EXPECT_EQ(f.height, bmp.height) << f.file;
        EXPECT_EQ(4, bmp.bits) << f.file;
        EXPECT_EQ(std::vector<uint32_t>(standard, standard + 16), bmp.palette) << f.file;
    }
}

// One probe pixel per segment, each where x + y is odd: bright green when the
// segment is lit, dark green when it is not.
TEST(Images, EachGlyphLightsItsSegments)
{
    const int probe[7][2] = {{4, 1}, {9, 4}, {9, 12}, {4, 17}, {1, 12}, {1, 4}, {4, 9}};
    //                        a        b       c        d        e        f       g
    const char *lit[12] = {"1111110", "0110000", "1101101", "1111001", "0110011", "1011011",
                           "1011111", "1110000", "1111111", "1111011", "0000001", "0000000"};
    Bitmap sheet = Decode("glyphs.bmp");
    ASSERT_EQ(55 * 57, int(sheet.index.size()));
    for (int g = 0; g < 12; ++g)
        for (int s = 0; s < 7; ++s) {
            int x = 11 * (g % 5) + probe[s][0], y = 19 * (g / 5) + probe[s][1];
            EXPECT_EQ(lit[g][s] == '1' ? kBrightGreen : kDarkGreen, sheet.at(x, y))
                << "glyph " << g << " segment " << "abcdefg"[s];
        }
}

int Count(const Bitmap &bmp, int x0, int y0, int w, int h, int colour)
{
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x)
            n += bmp.at(x, y) == colour;
    return n;
}

TEST(Images, UnlitSegmentsAreACheckerboardOfDarkGreenAndBlack)
{
    Bitmap sheet = Decode("glyphs.bmp");
    ASSERT_FALSE(sheet.index.empty());
    // Seven segments of 17 pixels each; 10 of each segment's pixels have x + y odd.
    EXPECT_EQ(70, Count(sheet, 11, 38, 11, 19, kDarkGreen)) << "blank cell";
    EXPECT_EQ(139, Count(sheet, 11, 38, 11, 19, kBlack)) << "blank cell";
    EXPECT_EQ(17, Count(sheet, 0, 38, 11, 19, kBrightGreen)) << "placeholder";
    EXPECT_EQ(60, Count(sheet, 0, 38, 11, 19, kDarkGreen)) << "placeholder";
    EXPECT_EQ(119, Count(sheet, 33, 19, 11, 19, kBrightGreen)) << "eight";
    EXPECT_EQ(0, Count(sheet, 33, 19, 11, 19, kDarkGreen)) << "eight";
    for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 11; ++x)
            if (sheet.at(11 + x, 38 + y) == kDarkGreen) {
                EXPECT_EQ(1, (x + y) % 2) << "(" << x << "," << y << ")";
            }
    EXPECT_EQ(3 * 11 * 19, Count(sheet, 22, 38, 33, 19, kBlack)) << "cells 12 to 14";
}

TEST(Images, PanelIsARecessedBlackWindowOnLightGrey)
{
    Bitmap panel = Decode("panel.bmp");
    ASSERT_EQ(114 * 32, int(panel.index.size()));
    struct { int x, y, colour; } pixels[] = {
        {0, 0, kLightGrey},   {113, 31, kLightGrey}, {3, 4, kLightGrey},  {85, 10, kLightGrey},
        {4, 27, kLightGrey},  {4, 4, kDarkGrey},     {84, 4, kDarkGrey},  {4, 26, kDarkGrey},
        {84, 5, kWhite},      {84, 26, kWhite},      {5, 26, kWhite},     {5, 5, kBlack},
        {83, 25, kBlack},     {5, 25, kBlack},       {83, 5, kBlack},     {110, 20, kLightGrey},
    };
    for (const auto &p : pixels)
        EXPECT_EQ(p.colour, panel.at(p.x, p.y)) << "(" << p.x << "," << p.y << ")";
}

TEST(Images, PanelCellsAreUnlitAndTheDecimalPointSitsBetweenThem)
{
    Bitmap panel = Decode("panel.bmp");
    Bitmap sheet = Decode("glyphs.bmp");
    ASSERT_FALSE(panel.index.empty());
    ASSERT_FALSE(sheet.index.empty());
    const int cellX[6] = {6, 19, 32, 45, 59, 72};
    for (int x0 : cellX)
        for (int y = 0; y < 19; ++y)
            for (int x = 0; x < 11; ++x)
                ASSERT_EQ(sheet.at(11 + x, 38 + y), panel.at(x0 + x, 6 + y))
                    << "cell at x " << x0 << " differs from the blank glyph";
    // Columns 56 to 58 of the display window: black but for the point.
    for (int y = 5; y <= 25; ++y)
        for (int x = 56; x <= 58; ++x) {
            bool point = (x == 57 && y >= 22 && y <= 24) || (y == 23);
            EXPECT_EQ(point ? kBrightGreen : kBlack, panel.at(x, y)) << "(" << x << "," << y << ")";
        }
}

TEST(Images, PanelCarriesTheUnitLabel)
{
    Bitmap panel = Decode("panel.bmp");
    ASSERT_FALSE(panel.index.empty());
    const std::pair<int, const char *> rows[] = {
        {17, "####..########.####....."},
        {20, ".#.###.##..#######.#####"},
        {24, "###.#.########.#########"},
    };
    for (const auto &row : rows)
        for (int i = 0; i < 24; ++i)
            EXPECT_EQ(row.second[i] == '#' ? kBlack : kLightGrey, panel.at(86 + i, row.first))
                << "(" << 86 + i << "," << row.first << ")";
}

uint16_t U16(const std::vector<uint8_t> &b, size_t at)
{
    return uint16_t(b[at] | (b[at + 1] << 8));
}

// Pixel of a bottom-up plane of 32 x 32 pixels of the given bit depth.
int PlanePixel(const std::vector<uint8_t> &f, size_t plane, int bits, int x, int y)
{
    int stride = ((32 * bits + 31) / 32) * 4;
    uint8_t byte = f[plane + (31 - y) * stride + x * bits / 8];
    int shift = 8 - bits - (x * bits) % 8;
    return (byte >> shift) & ((1 << bits) - 1);
}

TEST(Images, IconIsOneThirtyTwoPixelSixteenColourImage)
{
    std::vector<uint8_t> f = ReadFile("zarvo.ico");
    ASSERT_GE(f.size(), 22u + 40 + 64 + 512 + 128);
    EXPECT_EQ(1, U16(f, 2)) << "an icon";
    EXPECT_EQ(1, U16(f, 4)) << "one image, no smaller size";
    EXPECT_EQ(32, f[6]);
    EXPECT_EQ(32, f[7]);
    size_t header = U32(f, 18);
    EXPECT_EQ(4, f[header + 14]) << "16 colours";
    size_t colour = header + 40 + 64, mask = colour + 512;
    auto at = [&](int x, int y) { return PlanePixel(f, colour, 4, x, y); };
    auto clear = [&](int x, int y) { return PlanePixel(f, mask, 1, x, y) == 1; };
    EXPECT_TRUE(clear(0, 0));
    EXPECT_TRUE(clear(31, 31));
    // Package: white body over a dark-grey band, pins at every second column.
    EXPECT_EQ(kWhite, at(15, 20));
    EXPECT_EQ(kDarkGrey, at(15, 26));
    int pins = 0;
    for (int x = 0; x < 32; ++x)
        if (!clear(x, 29) && at(x, 29) == kDarkYellow) {
            ++pins;
            EXPECT_TRUE(clear(x + 1, 29)) << "gap after the pin at " << x;
        }
    EXPECT_GE(pins, 8);
    // Screen: dark-grey frame, black shadow, a magenta wave.
    EXPECT_EQ(kDarkGrey, at(7, 1));
    EXPECT_EQ(kBlack, at(25, 14));
    EXPECT_FALSE(clear(25, 14));
    int magenta = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            magenta += !clear(x, y) && at(x, y) == 13;
    EXPECT_GE(magenta, 14);
}

TEST(Images, LinkCursorIsAPointingHandWithItsHotSpotAtTheCorner)
{
    std::vector<uint8_t> f = ReadFile("hand.cur");
    ASSERT_EQ(22u + 40 + 8 + 256, f.size());
    EXPECT_EQ(2, U16(f, 2)) << "a cursor";
    EXPECT_EQ(0, U16(f, 10)) << "hot spot x";
    EXPECT_EQ(0, U16(f, 12)) << "hot spot y";
    size_t header = U32(f, 18);
    EXPECT_EQ(1, f[header + 14]) << "monochrome";
    size_t xorPlane = header + 40 + 8, andPlane = xorPlane + 128;
    auto shown = [&](int x, int y) {
        if (PlanePixel(f, andPlane, 1, x, y) == 1)
            return '-';
        return PlanePixel(f, xorPlane, 1, x, y) == 1 ? 'o' : '#';
    };
    const std::pair<int, const char *> rows[] = {
        {0, "------##----------"}, {8, "-----#oo#oo#oo#o#-"}, {9, "-###-#oo#oo#oo#oo#"},
        {13, "---#o#ooooooooooo#"}, {21, "------##########--"}, {22, "------------------"},
    };
    for (const auto &row : rows)
        for (int x = 0; x < 18; ++x)
            EXPECT_EQ(row.second[x], shown(x, row.first)) << "(" << x << "," << row.first << ")";
    for (int y = 0; y < 32; ++y)
        for (int x = 18; x < 32; ++x)
            ASSERT_EQ('-', shown(x, y)) << "(" << x << "," << y << ")";
}

}  // namespace
