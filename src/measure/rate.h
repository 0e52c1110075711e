// Arithmetic of the clock-rate figure, kept free of any platform header so it
// is tested natively.
#ifndef ZARVO_MEASURE_RATE_H
#define ZARVO_MEASURE_RATE_H

#include <cstdint>

// The figure is a count of 10 kHz units: 45012 reads as 450.12 MHz.
const uint32_t kCountsPerRateUnit = 10000;

// Six display cells hold at most 9999.99 MHz.
const uint32_t kMaxRateFigure = 999999;

const uint32_t kSampleIntervalMs = 1000;

// Turns the counter increase over one sampling interval into the figure.
// The full 64-bit increase is used: a counter faster than 4294.97 MHz must not
// wrap around into a plausible but wrong figure. Anything beyond what the cells
// can show is held at 9999.99.
uint32_t RateFromIncrease(uint64_t increase);

// Bookkeeping of the measuring loop. The first sample also covers the thread's
// start-up, so only the second and later samples may be shown. Returns true when
// the sample just taken makes the figure showable.
bool SampleMakesValid(bool &seenFirst);

#endif
