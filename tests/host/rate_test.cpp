#include "measure/rate.h"

#include <gtest/gtest.h>

namespace {

struct RateCase {
    const char *what;
    uint64_t increase;
    uint32_t figure;
};

const RateCase kRateCases[] = {
    {"450 MHz exactly", 450000000ULL, 45000},
    {"a part of a unit is truncated", 450009999ULL, 45000},
    {"one count short of the next unit", 450019999ULL, 45001},
    {"no increase", 0, 0},
    {"less than one unit", 9999, 0},
    {"2^32 + 5 does not wrap to zero", 4294967301ULL, 429496},
    {"5 GHz reads as 5000.00, not 705.03", 5000000000ULL, 500000},
    {"9999.99 MHz is the last figure shown", 9999999999ULL, 999999},
    {"10 GHz is held at 9999.99", 10000000000ULL, 999999},
    {"a huge increase is held at 9999.99", 0xFFFFFFFFFFFFFFFFULL, 999999},
};

TEST(RateFigure, CounterIncreaseBecomesTenKilohertzUnits)
{
    for (const RateCase &c : kRateCases)
        EXPECT_EQ(c.figure, RateFromIncrease(c.increase)) << c.what;
}

TEST(RateFigure, FirstSampleIsNotShownButEveryLaterOneIs)
{
    bool seenFirst = false;
    EXPECT_FALSE(SampleMakesValid(seenFirst)) << "first sample includes thread start-up";
    EXPECT_TRUE(SampleMakesValid(seenFirst)) << "second sample";
    EXPECT_TRUE(SampleMakesValid(seenFirst)) << "third sample";
}

}  // namespace
