// The main window under long use and in a poor environment, in-process.
#include "app/mainwnd.h"
#include "gdi_counter_state.h"
#include "measure/sampler.h"
#include "readout/readout.h"
#include "resource.h"
#include "zarvo_app.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

int EnvCount(const char *name, int fallback)
{
    const char *value = std::getenv(name);
    return value != nullptr && std::atoi(value) > 0 ? std::atoi(value) : fallback;
}

// Each test makes its own window; the class goes with it so the next test in
// the same process can register it again.
void CloseMainWindow(HWND window)
{
    DestroyWindow(window);
    UnregisterClassA("ZARVO", GetModuleHandleA(NULL));
}

HWND OpenMainWindow()
{
    if (InitInstance(GetModuleHandleA(NULL), SW_SHOWNORMAL) != 1)
        return NULL;
    return FindWindowA("ZARVO", "Zarvo!");
}

void StopSampling()
{
    g_bRunning.store(0);
    if (g_hThread != NULL)
        WaitForSingleObject(g_hThread, 3000);
}

std::string ExpectedText(int valid, uint32_t rate)
{
    char text[kReadoutBufferSize];
    BuildReadoutText(valid, rate, text);
    return text;
}

// The process's handle count is not reported under Wine 8, but a new handle
// takes the lowest free slot of the handle table: if the slot a new handle
// gets moves up, handles were left open in between.
HANDLE NextFreeHandleSlot()
{
    HANDLE probe = CreateEventA(NULL, TRUE, FALSE, NULL);
    CloseHandle(probe);
    return probe;
}

// Lets the window paint what is pending, then reads its cells off the screen.
std::string ShownCells(HWND window)
{
    UpdateWindow(window);
    GdiFlush();
    Sleep(50);
    return ReadCells(*CaptureReadout(window));
}

// The test scripts run 10,000 ticks and 100 repaints; the bench script sets
// ZARVO_SOAK_TICKS=100000 and ZARVO_SOAK_REPAINTS=1000.
TEST(Soak, TicksAndRepaintsLeaveNothingBehindAndKeepTheFigureRight)
{
    const int ticks = EnvCount("ZARVO_SOAK_TICKS", 10000);
    const int repaints = EnvCount("ZARVO_SOAK_REPAINTS", 100);
    HWND window = OpenMainWindow();
    ASSERT_NE(static_cast<HWND>(NULL), window);
    StopSampling();
    g_bValid.store(1);

    // Warm up, so whatever the system sets up once for painting is in place.
    for (int i = 0; i < 100; ++i)
        SendMessageA(window, WM_TIMER, IDT_REFRESH, 0);
    InvalidateRect(window, NULL, TRUE);
    UpdateWindow(window);
    HANDLE handleSlotBefore = NextFreeHandleSlot();
    ResetAcquired();
    int repaintEvery = ticks / repaints > 0 ? ticks / repaints : 1;
    for (int i = 1; i <= ticks; ++i) {
        g_dwRate.store((i * 7919u) % 1000000u);
        SendMessageA(window, WM_TIMER, IDT_REFRESH, 0);
        if (i % repaintEvery == 0) {
            InvalidateRect(window, NULL, TRUE);
            UpdateWindow(window);
        }
        if (i % (ticks / 10) == 0) {
            ASSERT_EQ(ExpectedText(1, g_dwRate.load()), ShownCells(window)) << "after tick " << i;
        }
        ASSERT_TRUE(LiveAcquired().empty()) << "tick " << i << " kept an object";
    }
    EXPECT_EQ(size_t(3 * ticks + 4 * (ticks / repaintEvery)), AllAcquired().size());
    for (const Acquired &a : AllAcquired())
        ASSERT_FALSE(StillExists(a));
    EXPECT_EQ(handleSlotBefore, NextFreeHandleSlot()) << "kernel handles were left open";
    CloseMainWindow(window);
}

TEST(PoorEnvironment, WithoutAMeasuringThreadTheWindowOpensAndKeepsTheBars)
{
    FailThreadCreation(true);
    HWND window = OpenMainWindow();
    ASSERT_NE(static_cast<HWND>(NULL), window);
    EXPECT_EQ(static_cast<HANDLE>(NULL), g_hThread);
    EXPECT_EQ(0u, g_bValid.load());

    // Ticks come and go; nothing ever makes the figure valid.
    DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < 3500) {
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        Sleep(10);
    }
    EXPECT_EQ(0u, g_bValid.load());
    EXPECT_EQ("******", ShownCells(window));
    EXPECT_TRUE(IsWindow(window));

    CloseMainWindow(window);  // closes the null handle, harmlessly
    ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, msg.wParam);
    FailThreadCreation(false);
}

TEST(PoorEnvironment, MissingResourcesNeverCrashTheWindow)
{
    HWND window = OpenMainWindow();
    ASSERT_NE(static_cast<HWND>(NULL), window);
    StopSampling();
    g_bValid.store(1);
    g_hInstance = GetModuleHandleA("kernel32.dll");  // a module without the program's resources

    InvalidateRect(window, NULL, TRUE);
    UpdateWindow(window);
    SendMessageA(window, WM_TIMER, IDT_REFRESH, 0);
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10));  // no menu to show
    SendMessageA(window, WM_COMMAND, IDM_ABOUT, 0);                       // no box to show
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(LiveAcquired().empty());
    CloseMainWindow(window);
}

}  // namespace
