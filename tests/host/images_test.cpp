// The images the generator makes, against the drawing rules written out here
// in their own form: one wrong pixel fails.
#include "imagefiles.h"

#include <gtest/gtest.h>

namespace {

// The segment each pixel of a cell belongs to.
// clang-format off
const char *const kCell[19] = {
    "...aaaaa...", "..aaaaaaa..", ".f.aaaaa.b.", "fff.....bbb", "fff.....bbb", "fff.....bbb",
    "fff.....bbb", "fff.....bbb", ".f.ggggg.b.", "..ggggggg..", ".e.ggggg.c.", "eee.....ccc",
    "eee.....ccc", "eee.....ccc", "eee.....ccc", "eee.....ccc", ".e.ddddd.c.", "..ddddddd..",
    "...ddddd...",
};
// clang-format on
// Lit segments per glyph as the usual seven-segment bits, a = bit 0 ... g = bit 6.
const int kLit[12] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F, 0x40, 0x00};

// clang-format off
const char *const kLabel[8] = {
    "####..########.####.....", ".###..###..##...##......", ".###..###..##...##......",
    ".#.###.##..#######.#####", ".#.###.##..##...##...##.", ".#.###.##..##...##..###.",
    ".#..#..##..##...##..##..", "###.#.########.#########",
};
// clang-format on

// The link cursor from its top-left corner: '#' black, 'o' white, '-' clear.
// clang-format off
const char *const kHand[22] = {
    "------##----------", "-----#oo#---------", "-----#oo#---------", "-----#oo#---------", "-----#oo#---------",
    "-----#oo###-------", "-----#oo#oo###----", "-----#oo#oo#oo##--", "-----#oo#oo#oo#o#-", "-###-#oo#oo#oo#oo#",
    "-#oo##oooooooo#oo#", "-#ooo#ooooooooooo#", "--#oo#ooooooooooo#", "---#o#ooooooooooo#", "---#ooooooooooooo#",
    "----#oooooooooooo#", "----#ooooooooooo#-", "-----#oooooooooo#-", "-----#oooooooooo#-", "------#oooooooo#--",
    "------#oooooooo#--", "------##########--",
};
// clang-format on

int CellRule(int glyph, int x, int y)
{
    char segment = kCell[y][x];
    if (segment == '.' || glyph >= 12)
        return kBlack;
    if (kLit[glyph] >> (segment - 'a') & 1)
        return kBrightGreen;
    return (x + y) % 2 ? kDarkGreen : kBlack;
}

int PanelRule(int x, int y)
{
    if (x >= 86 && x <= 109 && y >= 17 && y <= 24)
        return kLabel[y - 17][x - 86] == '#' ? kBlack : kLightGrey;
    if ((x == 57 && y >= 22 && y <= 24) || (y == 23 && x >= 56 && x <= 58))
        return kBrightGreen;  // the decimal point
    for (int cellX : {6, 19, 32, 45, 59, 72})
        if (x >= cellX && x < cellX + 11 && y >= 6 && y < 25)
            return CellRule(11, x - cellX, y - 6);
    if (x >= 5 && x <= 83 && y >= 5 && y <= 25)
        return kBlack;
    if ((y == 4 && x >= 4 && x <= 84) || (x == 4 && y >= 4 && y <= 26))
        return kDarkGrey;
    if ((x == 84 && y >= 5 && y <= 26) || (y == 26 && x >= 5 && x <= 84))
        return kWhite;
    return kLightGrey;
}

TEST(Images, PanelGlyphSheetAndCursorFollowTheirRulesPixelForPixel)
{
    IndexedImage sheet = MakeGlyphSheet(), panel = MakePanel();
    ASSERT_TRUE(sheet.width == 55 && sheet.height == 57 && panel.width == 114 && panel.height == 32);
    for (int y = 0; y < 57; ++y)
        for (int x = 0; x < 55; ++x)
            ASSERT_EQ(CellRule(x / 11 + 5 * (y / 19), x % 11, y % 19), sheet.at(x, y)) << x << "," << y;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 114; ++x)
            ASSERT_EQ(PanelRule(x, y), panel.at(x, y)) << x << "," << y;

    const int standard[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                              0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    std::vector<uint8_t> file = EncodeBmp4(panel), cursor = EncodeHandCursor(), icon = EncodeIcon(MakeIcon());
    EXPECT_TRUE(icon[4] == 1 && icon[6] == 32 && icon[7] == 32 && icon[8] == 16 && icon[12] == 4)
        << "one 32 x 32 16-colour icon";
    EXPECT_EQ(4, file[28]) << "bits per pixel";
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(standard[i], file[56 + 4 * i] << 16 | file[55 + 4 * i] << 8 | file[54 + 4 * i]) << i;
    EXPECT_EQ(0, cursor[10] | cursor[11] | cursor[12] | cursor[13]) << "hot spot at (0,0)";
    // Black and white, then 32 rows bottom-up of colour bits and of transparency bits.
    EXPECT_TRUE(cursor[62] + cursor[63] + cursor[64] == 0 && cursor[66] + cursor[67] + cursor[68] == 3 * 255);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            int at = (31 - y) * 4 + x / 8, bit = 7 - x % 8;
            char shown = cursor[198 + at] >> bit & 1 ? '-' : cursor[70 + at] >> bit & 1 ? 'o' : '#';
            ASSERT_EQ(y < 22 && x < 18 ? kHand[y][x] : '-', shown) << "cursor pixel " << x << "," << y;
        }
}

}  // namespace
