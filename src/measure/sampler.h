// The measuring thread and the state it shares with the window thread.
#ifndef ZARVO_MEASURE_SAMPLER_H
#define ZARVO_MEASURE_SAMPLER_H

#include <windows.h>

#include <atomic>
#include <cstdint>

// Written by the measuring thread, read by the window thread: whole 32-bit
// words, every access an atomic load or store, no lock.
extern std::atomic<uint32_t> g_dwRate;    // latest figure, 10 kHz units
extern std::atomic<uint32_t> g_bValid;    // 1 once the figure may be shown
extern std::atomic<uint32_t> g_bRunning;  // the loop runs while non-zero

// Counter value at the latest reading. Written once on the window thread before
// the measuring thread exists and afterwards only by that thread; thread
// creation orders the hand-over.
extern uint64_t g_qwLastCount;

extern HANDLE g_hThread;  // the measuring thread, null if it could not be made

// One serialised reading of the time-stamp counter. measure == 0 makes it the
// new baseline and returns 0; otherwise returns the increase since the previous
// reading (the full 64 bits) and makes this reading the new baseline.
uint64_t SampleCycleCounter(int measure);

DWORD WINAPI SamplerThreadProc(LPVOID parameter);

// Window thread, on main window creation: take the baseline and start the
// measuring thread at the highest normal priority.
void StartMeasuring();

// Window thread, on main window destruction: release the thread handle. The
// thread itself runs on until the process exits.
void CloseMeasuringThread();

#endif
