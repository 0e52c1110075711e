// The figure, its six characters and where their cells go.
#include "measure/rate.h"
#include "readout/readout.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

TEST(RateFigure, CounterIncreaseOverASecondBecomesTenKilohertzUnits)
{
    const struct { uint64_t increase; uint32_t figure; } rows[] = {
        {450000000, 45000}, {450009999, 45000}, {450019999, 45001}, {9999, 0},
        {4294967301ULL, 429496},   // 2^32 + 5 must not wrap round to 0
        {5000000000ULL, 500000},   // 5 GHz reads 5000.00, not 705.03
        {9999999999ULL, 999999}, {10000000000ULL, 999999}, {~0ULL, 999999},  // held at 9999.99
    };
    for (const auto &r : rows)
        EXPECT_EQ(r.figure, RateFromIncrease(r.increase)) << "increase " << r.increase;
}

TEST(RateFigure, OnlyTheSecondAndLaterSamplesAreShown)
{
    bool seenFirst = false;
    EXPECT_FALSE(SampleMakesValid(seenFirst)) << "the first sample covers the thread's start";
    EXPECT_TRUE(SampleMakesValid(seenFirst));
    EXPECT_TRUE(SampleMakesValid(seenFirst));
}

std::string Text(int valid, uint32_t rate)
{
    char text[kReadoutBufferSize];
    BuildReadoutText(valid, rate, text);
    return text;
}

// Glyphs as one character each: 0-9 the digits, A the bar, B the blank cell.
std::string Glyphs(const std::string &text)
{
    std::string glyphs;
    for (char c : text)
        glyphs += "0123456789AB"[GlyphIndexFor(c)];
    return glyphs;
}

TEST(Readout, FigureFillsSixCellsWithBlanksBeforeIt)
{
    const struct { int valid; uint32_t rate; const char *text, *glyphs; } rows[] = {
        {0, 45012, "******", "AAAAAA"}, {1, 45012, " 45012", "B45012"}, {1, 0, "   000", "BBB000"},
        {1, 5, "   005", "BBB005"},      {1, 429496, "429496", "429496"},
        {1, 4294967295u, "999999", "999999"},
    };
    for (const auto &r : rows) {
        EXPECT_EQ(r.text, Text(r.valid, r.rate)) << "figure " << r.rate;
        EXPECT_EQ(r.glyphs, Glyphs(Text(r.valid, r.rate))) << "figure " << r.rate;
    }
    char expected[16];
    for (uint32_t rate = 0; rate <= 999999; ++rate) {
        std::snprintf(expected, sizeof expected, "%4u%02u", rate / 100, rate % 100);
        ASSERT_EQ(expected, Text(1, rate));
    }
}

TEST(Readout, CellsSitInTheSheetAndOnTheWindowAroundTheDecimalPoint)
{
    const int windowX[6] = {6, 19, 32, 45, 59, 72};  // columns 56 to 58 hold the point
    for (int i = 0; i < 6; ++i) {
        CellRect r = ReadoutCellRect(i);
        EXPECT_EQ(windowX[i], r.x) << "position " << i;
        EXPECT_TRUE(r.y == 6 && r.w == 11 && r.h == 19) << "position " << i;
    }
    for (int g = 0; g < 12; ++g) {
        CellRect r = GlyphSourceRect(g);
        EXPECT_TRUE(r.x == 11 * (g % 5) && r.y == 19 * (g / 5) && r.w == 11 && r.h == 19) << g;
    }
}

}  // namespace
