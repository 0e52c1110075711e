// The real zarvo.exe, started and watched as a user would.
#include "zarvo_app.h"

#include "readout/readout.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

bool OutsideCellsIsPanel(const Canvas &capture)
{
    IndexedImage panel = MakePanel();
    for (int y = 0; y < capture.height(); ++y)
        for (int x = 0; x < capture.width(); ++x) {
            bool inCell = false;
            for (int i = 0; i < kReadoutChars; ++i) {
                CellRect r = ReadoutCellRect(i);
                inCell = inCell || (x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h);
            }
            if (!inCell && capture.at(x, y) != RgbOf(panel.at(x, y)))
                return false;
        }
    return true;
}

// Within a second, well before the next tick could redraw the cells, the
// whole readout is back: the panel and a figure.
void ExpectFullRepaintBeforeTheNextTick(HWND window)
{
    double mhz = -1;
    EXPECT_TRUE(WaitUntil([&] {
        std::unique_ptr<Canvas> capture = CaptureReadout(window);
        mhz = ShownMhz(ReadCells(*capture));
        return mhz >= 0 && OutsideCellsIsPanel(*capture);
    }, 1000)) << "panel and figure not back within a second";
    ExpectCloseToHostRate(mhz);
}

TEST(RunningProgram, OpensAFixedSizeWindowWithCaptionAndMinimiseBox)
{
    ZarvoApp app;
    ASSERT_NE(static_cast<HWND>(NULL), app.window());
    char title[32] = "";
    GetWindowTextA(app.window(), title, sizeof title);
    EXPECT_STREQ("Zarvo!", title);

    RECT r;
    GetWindowRect(app.window(), &r);
    EXPECT_EQ(120, r.right - r.left);
    EXPECT_EQ(56, r.bottom - r.top);

    LONG style = GetWindowLongA(app.window(), GWL_STYLE);
    EXPECT_EQ(WS_CAPTION, style & WS_CAPTION);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX) << "cannot be maximised";
    EXPECT_FALSE(style & WS_THICKFRAME) << "cannot be resized";
    EXPECT_EQ(0, GetWindowLongA(app.window(), GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST(RunningProgram, ShowsSixBarsThenTheClockRateAfterAboutThreeSeconds)
{
    ZarvoApp app;
    ASSERT_NE(static_cast<HWND>(NULL), app.window());

    std::string cells;
    ASSERT_TRUE(WaitUntil([&] { return (cells = ReadCells(*CaptureReadout(app.window()))) == "******"; },
                          1500))
        << "cells show '" << cells << "' at start";
    std::unique_ptr<Canvas> capture = CaptureReadout(app.window());
    EXPECT_GE(capture->height(), 25) << "the client area shows the whole cells";
    EXPECT_EQ("", FirstDifference(*capture, ExpectedReadout("******"), 0, 0, capture->width(),
                                  capture->height()));

    double mhz = WaitForFigure(app.window(), 6000);
    DWORD elapsed = GetTickCount() - app.startTick();
    ASSERT_GE(mhz, 0) << "no figure after six seconds";
    EXPECT_GE(elapsed, 2000u) << "a figure needs two samples";
    EXPECT_LE(elapsed, 4500u) << "the first tick after the second sample draws it";
    ExpectCloseToHostRate(mhz);
    EXPECT_TRUE(OutsideCellsIsPanel(*CaptureReadout(app.window())));
}

// Sleep jitter changes the figure by far more than a hundredth from sample to
// sample, so each redraw shows as a change of the cells.
TEST(RunningProgram, RedrawsOnlyTheCellsEveryOneAndAHalfSeconds)
{
    ZarvoApp app;
    ASSERT_GE(WaitForFigure(app.window(), 6000), 0);

    std::vector<DWORD> changes;
    std::string last = ReadCells(*CaptureReadout(app.window()));
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 7000) {
        std::unique_ptr<Canvas> capture = CaptureReadout(app.window());
        std::string cells = ReadCells(*capture);
        ASSERT_GE(ShownMhz(cells), 0) << "cells '" << cells << "'";
        ASSERT_TRUE(OutsideCellsIsPanel(*capture));
        if (cells != last) {
            changes.push_back(GetTickCount());
            last = cells;
        }
        Sleep(25);
    }
    ASSERT_GE(changes.size(), 3u) << "the figure hardly ever changed";
    for (size_t i = 1; i < changes.size(); ++i) {
        DWORD gap = changes[i] - changes[i - 1];
        DWORD ticks = (gap + 750) / 1500;
        EXPECT_GE(ticks, 1u) << "two redraws " << gap << " ms apart";
        EXPECT_NEAR(double(ticks * 1500), double(gap), 300.0) << "redraws " << gap << " ms apart";
    }
}

TEST(RunningProgram, RestoringFromMinimisedRepaintsPanelAndFigure)
{
    ZarvoApp app;
    ASSERT_GE(WaitForFigure(app.window(), 6000), 0);
    ShowWindow(app.window(), SW_MINIMIZE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(app.window()) != FALSE; }, 3000));
    Sleep(300);
    ShowWindow(app.window(), SW_RESTORE);
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(app.window()) == FALSE; }, 3000));

    RECT r;
    GetWindowRect(app.window(), &r);
    EXPECT_EQ(120, r.right - r.left);
    EXPECT_EQ(56, r.bottom - r.top);
    ExpectFullRepaintBeforeTheNextTick(app.window());
}

TEST(RunningProgram, UncoveringRepaintsPanelAndFigure)
{
    ZarvoApp app;
    ASSERT_GE(WaitForFigure(app.window(), 6000), 0);
    RECT r;
    GetWindowRect(app.window(), &r);
    // A plain black window of this process over the readout, then gone again.
    HWND cover = CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_BLACKRECT,
                                 r.left, r.top, r.right - r.left, r.bottom - r.top, NULL, NULL,
                                 GetModuleHandleA(NULL), NULL);
    ASSERT_NE(static_cast<HWND>(NULL), cover);
    UpdateWindow(cover);
    Sleep(500);
    EXPECT_LT(ShownMhz(ReadCells(*CaptureReadout(app.window()))), 0) << "the cover hides the cells";
    DestroyWindow(cover);
    ExpectFullRepaintBeforeTheNextTick(app.window());
}

TEST(RunningProgram, CloseRequestEndsTheProcessWithExitCodeZero)
{
    ZarvoApp app;
    ASSERT_NE(static_cast<HWND>(NULL), app.window());
    PostMessageA(app.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, app.WaitForExit(5000));
}

TEST(RunningProgram, ClickOnTheCloseBoxEndsTheProcessWithExitCodeZero)
{
    ZarvoApp app;
    ASSERT_NE(static_cast<HWND>(NULL), app.window());
    Sleep(300);
    // The close box is the last button on the caption, at its right end.
    RECT r;
    GetWindowRect(app.window(), &r);
    int frame = GetSystemMetrics(SM_CXFIXEDFRAME);
    int button = GetSystemMetrics(SM_CYSIZE);
    POINT closeBox = {r.right - frame - button / 2 - 1, r.top + GetSystemMetrics(SM_CYFIXEDFRAME) + button / 2};
    ASSERT_EQ(HTCLOSE, SendMessageA(app.window(), WM_NCHITTEST, 0, MAKELPARAM(closeBox.x, closeBox.y)));
    SetCursorPos(closeBox.x, closeBox.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, clicks, sizeof(INPUT));
    EXPECT_EQ(0u, app.WaitForExit(5000));
}

TEST(RunningProgram, SecondCopyRunsBesideTheFirstWithItsOwnFigure)
{
    ZarvoApp first;
    ZarvoApp second;
    ASSERT_NE(static_cast<HWND>(NULL), first.window());
    ASSERT_NE(static_cast<HWND>(NULL), second.window());
    EXPECT_NE(first.window(), second.window());
    EXPECT_NE(first.pid(), second.pid());
    // Keep each in view in turn while reading it.
    SetWindowPos(first.window(), NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetWindowPos(second.window(), NULL, 300, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    ExpectCloseToHostRate(WaitForFigure(first.window(), 6000));
    ExpectCloseToHostRate(WaitForFigure(second.window(), 6000));
    PostMessageA(first.window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, first.WaitForExit(5000));
    EXPECT_EQ(STILL_ACTIVE, second.WaitForExit(0)) << "closing one copy leaves the other";
}

}  // namespace
