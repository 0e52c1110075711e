#include "readout/readout.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::string Text(int valid, uint32_t rate)
{
    char buffer[kReadoutBufferSize];
    std::memset(buffer, 'X', sizeof buffer);
    BuildReadoutText(valid, rate, buffer);
    return std::string(buffer);
}

std::vector<int> Glyphs(const std::string &text)
{
    std::vector<int> g;
    for (char c : text)
        g.push_back(GlyphIndexFor(c));
    return g;
}

struct ReadoutCase {
    const char *what;
    int valid;
    uint32_t rate;
    const char *text;
    std::vector<int> glyphs;
};

const ReadoutCase kReadoutCases[] = {
    {"placeholder shows six middle bars", 0, 45012, "******", {10, 10, 10, 10, 10, 10}},
    {"placeholder whatever the figure", 0, 0, "******", {10, 10, 10, 10, 10, 10}},
    {"450.12 has one blank cell", 1, 45012, " 45012", {11, 4, 5, 0, 1, 2}},
    {"0 reads as 0.00", 1, 0, "   000", {11, 11, 11, 0, 0, 0}},
    {"5 reads as 0.05", 1, 5, "   005", {11, 11, 11, 0, 0, 5}},
    {"100 reads as 1.00", 1, 100, "   100", {11, 11, 11, 1, 0, 0}},
    {"1000 reads as 10.00", 1, 1000, "  1000", {11, 11, 1, 0, 0, 0}},
    {"largest figure of a 32-bit increase", 1, 429496, "429496", {4, 2, 9, 4, 9, 6}},
    {"largest figure shown", 1, 999999, "999999", {9, 9, 9, 9, 9, 9}},
    {"anything larger stays six characters", 1, 4294967295u, "999999", {9, 9, 9, 9, 9, 9}},
};

TEST(ReadoutText, FigureBecomesSixCharactersAndGlyphs)
{
    for (const ReadoutCase &c : kReadoutCases) {
        std::string text = Text(c.valid, c.rate);
        EXPECT_EQ(c.text, text) << c.what;
        EXPECT_EQ(c.glyphs, Glyphs(text)) << c.what;
    }
}

// The text must be what "%4d%02d" gives for every figure the cells can show.
TEST(ReadoutText, MatchesPrintfFormatForEveryFigure)
{
    char expected[32];
    for (uint32_t rate = 0; rate <= 999999; ++rate) {
        std::snprintf(expected, sizeof expected, "%4d%02d", int(rate / 100), int(rate % 100));
        ASSERT_EQ(std::string(expected), Text(1, rate)) << "figure " << rate;
    }
}

TEST(ReadoutText, GlyphForEveryByte)
{
    for (int c = -128; c < 128; ++c) {
        int expected = c == '*' ? 10 : (c >= '0' && c <= '9') ? c - '0' : 11;
        EXPECT_EQ(expected, GlyphIndexFor(static_cast<char>(c))) << "byte " << c;
    }
}

TEST(GlyphLayout, SheetCellsAreElevenByNineteenInFiveColumns)
{
    const int expected[12][2] = {{0, 0},  {11, 0},  {22, 0},  {33, 0},  {44, 0},  {0, 19},
                                 {11, 19}, {22, 19}, {33, 19}, {44, 19}, {0, 38}, {11, 38}};
    for (int g = 0; g < 12; ++g) {
        CellRect r = GlyphSourceRect(g);
        EXPECT_EQ(expected[g][0], r.x) << "glyph " << g;
        EXPECT_EQ(expected[g][1], r.y) << "glyph " << g;
        EXPECT_EQ(11, r.w);
        EXPECT_EQ(19, r.h);
    }
}

TEST(GlyphLayout, CellsLeaveRoomForTheDecimalPoint)
{
    const int expectedX[6] = {6, 19, 32, 45, 59, 72};
    for (int i = 0; i < 6; ++i) {
        CellRect r = ReadoutCellRect(i);
        EXPECT_EQ(expectedX[i], r.x) << "position " << i;
        EXPECT_EQ(6, r.y);
        EXPECT_EQ(11, r.w);
        EXPECT_EQ(19, r.h);
    }
    // Columns 56 to 58 between the fourth and fifth cell stay uncovered.
    EXPECT_EQ(55, ReadoutCellRect(3).x + 11 - 1);
    EXPECT_EQ(59, ReadoutCellRect(4).x);
}

}  // namespace
