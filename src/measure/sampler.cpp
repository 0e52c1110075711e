#include "sampler.h"

#include "rate.h"

#ifdef _MSC_VER
#include <intrin.h>
#else
#include <cpuid.h>
#include <x86intrin.h>
#endif

std::atomic<uint32_t> g_dwRate(0);
std::atomic<uint32_t> g_bValid(0);
std::atomic<uint32_t> g_bRunning(0);
uint64_t g_qwLastCount = 0;
HANDLE g_hThread = NULL;

static uint64_t ReadSerialisedCounter()
{
    // CPUID waits for every earlier instruction to finish, so RDTSC cannot be
    // executed ahead of them and the reading belongs to this point in time.
#ifdef _MSC_VER
    int regs[4];
    __cpuid(regs, 0);
#else
    unsigned int a, b, c, d;
    __cpuid(0, a, b, c, d);
    (void)a;
    (void)b;
    (void)c;
    (void)d;
#endif
    return __rdtsc();
}

uint64_t SampleCycleCounter(int measure)
{
    uint64_t now = ReadSerialisedCounter();
    if (measure == 0)
        g_qwLastCount = now;
    uint64_t delta = now - g_qwLastCount;
    g_qwLastCount = now;
    return delta;
}

DWORD WINAPI SamplerThreadProc(LPVOID)
{
    bool seenFirst = false;
    while (g_bRunning.load() != 0) {
        Sleep(kSampleIntervalMs);
        // The sleep is taken to be exactly one second; the counter's increase
        // over it is the number of clock cycles per second.
        g_dwRate.store(RateFromIncrease(SampleCycleCounter(-1)));
        if (SampleMakesValid(seenFirst) && g_bValid.load() == 0)
            g_bValid.store(1);
    }
    return 0;
}

void StartMeasuring()
{
    SampleCycleCounter(0);
    g_bValid.store(0);
    g_bRunning.store(1);
    // Created suspended so that it is raised before its first instruction and
    // never samples at normal priority.
    g_hThread = CreateThread(NULL, 0, SamplerThreadProc, NULL, CREATE_SUSPENDED, NULL);
    if (g_hThread != NULL) {
        SetThreadPriority(g_hThread, THREAD_PRIORITY_HIGHEST);
        ResumeThread(g_hThread);
    }
}

void CloseMeasuringThread()
{
    CloseHandle(g_hThread);
    g_hThread = NULL;
}
