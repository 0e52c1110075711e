// The time-stamp counter's rate, measured against the performance counter, a
// steady clock: what the tests compare the program's figure with, and what
// the benchmark's probe prints beside the figures it reads.
#ifndef ZARVO_TOOLS_COUNTER_H
#define ZARVO_TOOLS_COUNTER_H

#include <windows.h>
#include <x86intrin.h>

#include <cstdint>

// The counter read together with the steady clock, in seconds: between two
// readings of the clock, the closest pair of fifty, so that no pause of the
// reading thread comes between the two.
struct CounterReading {
    double seconds = 0;
    uint64_t counter = 0;
};
inline CounterReading ReadCounter()
{
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    CounterReading best;
    LONGLONG closest = -1;
    for (int i = 0; i < 50; ++i) {
        QueryPerformanceCounter(&before);
        uint64_t counter = __rdtsc();
        QueryPerformanceCounter(&after);
        if (closest < 0 || after.QuadPart - before.QuadPart < closest) {
            closest = after.QuadPart - before.QuadPart;
            best.seconds = (before.QuadPart + closest / 2.0) / frequency.QuadPart;
            best.counter = counter;
        }
    }
    return best;
}

// The counter's rate in MHz from a reading until now.
inline double CounterMHzSince(const CounterReading &then)
{
    CounterReading now = ReadCounter();
    return (now.counter - then.counter) / (now.seconds - then.seconds) / 1e6;
}

#endif
