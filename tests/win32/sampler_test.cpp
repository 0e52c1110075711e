#include "measure/sampler.h"
#include "zarvo_app.h"

#include <gtest/gtest.h>


namespace {

// Stops the thread a test started so the next one samples alone.
void StopMeasuring()
{
    g_bRunning.store(0);
    if (g_hThread != NULL)
        WaitForSingleObject(g_hThread, 5000);
    CloseMeasuringThread();
    g_hThread = NULL;
}

TEST(CycleCounter, BaselineReadingReturnsZero)
{
    EXPECT_EQ(0u, SampleCycleCounter(0));
}

TEST(CycleCounter, MeasuringReturnsTheIncreaseSinceTheLastReading)
{
    SampleCycleCounter(0);
    Sleep(100);
    uint64_t first = SampleCycleCounter(-1);
    uint64_t second = SampleCycleCounter(-1);
    EXPECT_GT(first, 1000000u) << "100 ms of any processor's counter";
    EXPECT_LT(second, first) << "the second call counts only from the first";
}

TEST(MeasuringThread, RunsAtHighestPriorityAndBecomesValidAfterTwoSamples)
{
    g_dwRate.store(0);
    g_bValid.store(1);
    DWORD start = GetTickCount();
    StartMeasuring();
    ASSERT_NE(static_cast<HANDLE>(NULL), g_hThread);
    EXPECT_EQ(0u, g_bValid.load()) << "cleared at start";
    EXPECT_EQ(THREAD_PRIORITY_HIGHEST, GetThreadPriority(g_hThread));

    // After the first sample the figure is there but not yet valid.
    while (g_dwRate.load() == 0 && GetTickCount() - start < 5000)
        Sleep(10);
    EXPECT_EQ(0u, g_bValid.load()) << "after one sample";

    while (g_bValid.load() == 0 && GetTickCount() - start < 6000)
        Sleep(10);
    DWORD elapsed = GetTickCount() - start;
    EXPECT_EQ(1u, g_bValid.load());
    EXPECT_GE(elapsed, 1900u);
    EXPECT_LT(elapsed, 3500u);

    ExpectCloseToHostRate(g_dwRate.load() / 100.0);
    StopMeasuring();
}

}  // namespace
