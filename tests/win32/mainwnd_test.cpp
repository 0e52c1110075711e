// The main window in-process, where its class and timer can be inspected.
#include "app/mainwnd.h"
#include "gdi_counter_state.h"
#include "measure/sampler.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(1, InitInstance(GetModuleHandleA(NULL), SW_SHOWNORMAL));
        window_ = FindWindowA("ZARVO", "Zarvo!");
        ASSERT_NE(static_cast<HWND>(NULL), window_);
    }
    void TearDown() override
    {
        if (IsWindow(window_))
            DestroyWindow(window_);
    }
    // Holds the figure still: the measuring thread ends after its next sleep.
    void StopSampling(int valid, uint32_t rate)
    {
        g_bRunning.store(0);
        WaitForSingleObject(g_hThread, 3000);
        g_bValid.store(valid);
        g_dwRate.store(rate);
    }
    HWND window_ = NULL;
};

TEST_F(MainWindowTest, ClassHasIconGreyBackgroundAndNoCursorOfItsOwn)
{
    WNDCLASSA wc = {};
    ASSERT_TRUE(GetClassInfoA(GetModuleHandleA(NULL), "ZARVO", &wc));
    EXPECT_EQ(0u, wc.style);
    EXPECT_EQ(static_cast<HCURSOR>(NULL), wc.hCursor) << "the pointer keeps its shape";
    EXPECT_EQ(GetStockObject(LTGRAY_BRUSH), wc.hbrBackground);
    EXPECT_NE(static_cast<HICON>(NULL), wc.hIcon);
    EXPECT_EQ(nullptr, wc.lpszMenuName);
    EXPECT_EQ(static_cast<HMENU>(NULL), GetMenu(window_)) << "no menu bar";
}

TEST_F(MainWindowTest, CreationStartsTheRefreshTimerAndTheMeasuringThread)
{
    EXPECT_NE(static_cast<HANDLE>(NULL), g_hThread);
    EXPECT_EQ(1u, g_bRunning.load());
    EXPECT_TRUE(KillTimer(window_, IDT_REFRESH)) << "timer 1201 runs";
}

TEST_F(MainWindowTest, SecondStartInTheSameProcessFailsWithoutAWindow)
{
    EXPECT_EQ(0, InitInstance(GetModuleHandleA(NULL), SW_SHOWNORMAL)) << "class already registered";
    int windows = 0;
    for (HWND w = FindWindowA("ZARVO", NULL); w != NULL; w = FindWindowExA(NULL, w, "ZARVO", NULL))
        ++windows;
    EXPECT_EQ(1, windows);
}

TEST_F(MainWindowTest, DestructionStopsTheTimerAndPostsQuitWithCodeZero)
{
    DestroyWindow(window_);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, NULL, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, msg.wParam);
    EXPECT_EQ(WAIT_FAILED, WaitForSingleObject(g_hThread, 0)) << "the thread handle is closed";
    EXPECT_FALSE(KillTimer(window_, IDT_REFRESH));
}

TEST_F(MainWindowTest, TimerTicksPaintNothingUntilTheFigureIsValid)
{
    StopSampling(0, 45012);
    ResetAcquired();
    SendMessageA(window_, WM_TIMER, IDT_REFRESH, 0);
    EXPECT_TRUE(AllAcquired().empty()) << "a tick while warming up takes nothing";

    g_bValid.store(1);
    SendMessageA(window_, WM_TIMER, IDT_REFRESH, 0);
    EXPECT_EQ(3u, AllAcquired().size()) << "window context, glyph sheet, memory context";
}

// While the window thread tracks the menu, a second thread reads it and
// dismisses it, as a user would with Esc.
struct MenuPeek {
    bool opened = false;
    bool checked = false;
    POINT corner = {0, 0};
};

DWORD WINAPI PeekAndDismissMenu(LPVOID param)
{
    MenuPeek *peek = static_cast<MenuPeek *>(param);
    for (int i = 0; i < 150 && !peek->opened; ++i) {
        HWND menuWindow = FindWindowA("#32768", NULL);
        if (menuWindow != NULL && IsWindowVisible(menuWindow)) {
            HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
            peek->checked = (GetMenuState(menu, IDM_TOPMOST, MF_BYCOMMAND) & MF_CHECKED) != 0;
            RECT r;
            GetWindowRect(menuWindow, &r);
            peek->corner.x = r.left;
            peek->corner.y = r.top;
            peek->opened = true;
            PostMessageA(menuWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        }
        Sleep(20);
    }
    return 0;
}

MenuPeek RightPress(HWND window, int x, int y)
{
    MenuPeek peek;
    HANDLE helper = CreateThread(NULL, 0, PeekAndDismissMenu, &peek, 0, NULL);
    SendMessageA(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    WaitForSingleObject(helper, 5000);
    CloseHandle(helper);
    return peek;
}

TEST_F(MainWindowTest, MenuCheckMarkFollowsAlwaysOnTopAndEveryMenuIsDestroyed)
{
    ResetAcquired();
    MenuPeek first = RightPress(window_, 30, 10);
    ASSERT_TRUE(first.opened);
    EXPECT_FALSE(first.checked);
    POINT at = {30, 10};
    ClientToScreen(window_, &at);
    EXPECT_EQ(at.x, first.corner.x);
    EXPECT_EQ(at.y, first.corner.y);

    SendMessageA(window_, WM_COMMAND, IDM_TOPMOST, 0);
    EXPECT_EQ(1, g_bTopmost);
    EXPECT_TRUE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    MenuPeek second = RightPress(window_, 5, 5);
    ASSERT_TRUE(second.opened);
    EXPECT_TRUE(second.checked) << "kept on top";

    SendMessageA(window_, WM_COMMAND, IDM_TOPMOST, 0);
    EXPECT_EQ(0, g_bTopmost);
    EXPECT_FALSE(GetWindowLongA(window_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    MenuPeek third = RightPress(window_, 5, 5);
    ASSERT_TRUE(third.opened);
    EXPECT_FALSE(third.checked);

    EXPECT_EQ(3u, AllAcquired().size()) << "one menu loaded per press";
    EXPECT_TRUE(LiveAcquired().empty()) << "every menu destroyed";
    for (const Acquired &a : AllAcquired())
        EXPECT_FALSE(StillExists(a));
}

}  // namespace
