// The figure, its six characters and where their cells go.
#include "measure/rate.h"
#include "readout/readout.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

TEST(RateFigure, CounterIncreaseOverASecondBecomesTenKilohertzUnits)
{
    // clang-format off
    const struct { uint64_t increase; uint32_t figure; } rows[] = {
        {450000000, 45000}, {450009999, 45000}, {450019999, 45001}, {9999, 0},
        {4294967301ULL, 429496},   // 2^32 + 5 must not wrap round to 0
        {5000000000ULL, 500000},   // 5 GHz reads 5000.00, not 705.03
        {9999999999ULL, 999999}, {10000000000ULL, 999999}, {~0ULL, 999999},  // held at 9999.99
    };
    // clang-format on
    for (const auto &r : rows)
        EXPECT_EQ(r.figure, RateFromIncrease(r.increase)) << "increase " << r.increase;
    bool seenFirst = false;
    EXPECT_FALSE(SampleMakesValid(seenFirst)) << "the first sample covers the thread's start";
    EXPECT_TRUE(SampleMakesValid(seenFirst) && SampleMakesValid(seenFirst));
}

TEST(Readout, FigureFillsSixCellsWithBlanksBeforeItAndBarsUntilValid)
{
    char text[kReadoutBufferSize];
    // clang-format off
    const struct { int valid; uint32_t rate; const char *text, *glyphs; } rows[] = {
        {0, 45012, "******", "AAAAAA"}, {1, 45012, " 45012", "B45012"},
        {1, 123456, "123456", "123456"}, {1, 7890, "  7890", "BB7890"},
        {1, 4294967295u, "999999", "999999"},  // held at 9999.99
    };
    // clang-format on
    for (const auto &r : rows) {
        BuildReadoutText(r.valid, r.rate, text);
        std::string glyphs;  // 0-9 the digits, A the bar, B the blank cell
        for (int i = 0; i < 6; ++i)
            glyphs += "0123456789AB"[GlyphIndexFor(text[i])];
        EXPECT_EQ(r.text, std::string(text)) << r.rate;
        EXPECT_EQ(r.glyphs, glyphs) << r.rate;
    }
    char expected[16];
    for (uint32_t rate = 0; rate <= 999999; ++rate) {
        std::snprintf(expected, sizeof expected, "%4u%02u", rate / 100, rate % 100);
        BuildReadoutText(1, rate, text);
        ASSERT_STREQ(expected, text);
    }
    const int windowX[6] = {6, 19, 32, 45, 59, 72};  // columns 56 to 58 hold the point
    for (int i = 0; i < 6; ++i) {
        CellRect r = ReadoutCellRect(i);
        EXPECT_TRUE(r.x == windowX[i] && r.y == 6 && r.w == 11 && r.h == 19) << "position " << i;
    }
}

}  // namespace
