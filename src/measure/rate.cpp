#include "rate.h"

uint32_t RateFromIncrease(uint64_t increase)
{
    uint64_t figure = increase / kCountsPerRateUnit;
    return figure > kMaxRateFigure ? kMaxRateFigure : static_cast<uint32_t>(figure);
}

bool SampleMakesValid(bool &seenFirst)
{
    if (!seenFirst) {
        seenFirst = true;
        return false;
    }
    return true;
}
