// The program's own procedures in this process, where the screen cannot tell:
// the pointer, thread priority, the refresh period, a readout that follows the
// measuring thread in every state the program has, the menu's check mark, the
// glyphs a repaint draws, every object given back, and the version of the
// shipped file as the system reads it.
#include "about/about.h"
#include "app/mainwnd.h"
#include "harness.h"
#include "measure/sampler.h"
#include "readout/paint.h"
#include "readout/readout.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <vector>

// Handles the program took and has not given back, and all it ever took.
static std::vector<void *> g_live, g_taken;
void *Take(void *handle)
{
    if (handle != NULL) {
        g_live.push_back(handle);
        g_taken.push_back(handle);
    }
    return handle;
}
void GiveBack(void *h) { g_live.erase(std::remove(g_live.begin(), g_live.end(), h), g_live.end()); }

namespace {

// A figure the measuring thread never stores: its figures end at 999999.
const uint32_t kPlanted = 0xFFFFFFFF;

// What reaches the main window's procedure, watched on its way: each refresh
// tick, with the figure just before and just after the window drew it; each
// opened menu, whose check mark is read before it is closed again; and the
// About box, handed once to the checks waiting for it and then closed.
WNDPROC g_mainProc;
std::vector<DWORD> g_ticks;
uint32_t g_rateAtTick[2];
UINT g_checkMark;
std::function<void(HWND)> g_aboutBoxChecks;
LRESULT CALLBACK Spy(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND opened = reinterpret_cast<HWND>(lParam);
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
        HMENU popup = reinterpret_cast<HMENU>(SendMessageA(opened, MN_GETHMENU, 0, 0));
        g_checkMark = GetMenuState(popup, IDM_TOPMOST, MF_BYCOMMAND) & MF_CHECKED;
        EndMenu();
    }
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && g_aboutBoxChecks) {
        std::function<void(HWND)> checks = g_aboutBoxChecks;
        g_aboutBoxChecks = nullptr;
        checks(opened);
        PostMessageA(opened, WM_CLOSE, 0, 0);
    }
    if (message != WM_TIMER)
        return CallWindowProcA(g_mainProc, window, message, wParam, lParam);
    g_ticks.push_back(GetTickCount());
    g_rateAtTick[0] = g_dwRate.load();
    LRESULT result = CallWindowProcA(g_mainProc, window, message, wParam, lParam);
    g_rateAtTick[1] = g_dwRate.load();
    return result;
}

// Whether the readout still follows the measuring thread: a figure planted in
// the shared value is soon replaced by a measured one, by a thread still at
// the highest priority, and the next refresh tick draws the measured figure
// over whatever the window showed, touching nothing but the six cells.
// Returns what went wrong, or "".
std::string FollowsTheCounter(HWND window)
{
    g_dwRate.store(kPlanted);
    if (!WaitUntil([] { return g_dwRate.load() != kPlanted; }, 3000))
        return "the measuring thread stores no figure";
    int priority = GetThreadPriority(g_hThread);
    if (priority != THREAD_PRIORITY_HIGHEST)
        return "the measuring thread runs at priority " + std::to_string(priority);
    UpdateWindow(window);
    Canvas cover(114, 25, 0x123456);
    HDC dc = GetDC(window);
    BitBlt(dc, 0, 0, 114, 25, cover.dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    size_t ticks = g_ticks.size();
    if (!WaitUntil([&] { return g_ticks.size() > ticks; }, 3000))
        return "no refresh tick came";

    std::unique_ptr<Canvas> shot = Capture(window, {0, 0, 114, 25});
    std::string drawn = ReadCells([&](int x, int y) { return shot->at(x, y); });
    char before[kReadoutBufferSize];
    char after[kReadoutBufferSize];
    BuildReadoutText(1, g_rateAtTick[0], before);
    BuildReadoutText(1, g_rateAtTick[1], after);
    if (drawn != before && drawn != after)
        return "a tick drew \"" + drawn + "\" for the figure \"" + before + "\"";
    int untouched = 0;
    for (int i = 0; i < 114 * 25; ++i)
        untouched += shot->at(i % 114, i / 114) == 0x123456;
    if (untouched != 114 * 25 - 6 * 11 * 19)
        return "a tick left " + std::to_string(untouched) + " pixels alone, not all but the six cells";
    return "";
}

// What the window is beside what it shows: its style and extended style, its
// outer size, the class's icon and any icon set on the window itself.
std::string Frame(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    std::ostringstream frame;
    frame << std::hex << "style " << GetWindowLongA(window, GWL_STYLE);
    frame << ", extended " << GetWindowLongA(window, GWL_EXSTYLE);
    frame << std::dec << ", " << r.right - r.left << " x " << r.bottom - r.top;
    frame << ", icons " << GetClassLongPtrA(window, GCLP_HICON) << " " << SendMessageA(window, WM_GETICON, ICON_BIG, 0);
    return frame.str();
}

// Opens the menu as a right-button press does and returns its check mark
// (2 if no menu opened).
UINT CheckMarkShown(HWND window)
{
    g_checkMark = 2;
    SendMessageA(window, WM_RBUTTONDOWN, 0, MAKELPARAM(30, 10));
    return g_checkMark;
}

TEST(MainWindow, FollowsTheCounterAllRunLongAndGivesBackEverythingItTakes)
{
    HINSTANCE self = GetModuleHandleA(NULL);
    ASSERT_EQ(1, InitInstance(self, SW_SHOWNORMAL));
    HWND window = FindWindowA("ZARVO", "Zarvo!");
    WNDCLASSA wc = {};
    ASSERT_TRUE(GetClassInfoA(self, "ZARVO", &wc));
    EXPECT_TRUE(wc.style == 0 && wc.hIcon == LoadIconA(self, MAKEINTRESOURCEA(IDI_APP)));
    const std::string frame = Frame(window);
    EXPECT_EQ(GetStockObject(LTGRAY_BRUSH), wc.hbrBackground) << "light grey beyond the panel";
    EXPECT_EQ(THREAD_PRIORITY_HIGHEST, GetThreadPriority(g_hThread));

    // The window has no pointer of its own: the pointer keeps the shape it
    // comes in with.
    HCURSOR comesIn = LoadCursorA(NULL, IDC_CROSS);
    SetCursor(comesIn);
    SendMessageA(window, WM_SETCURSOR, WPARAM(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(30, 10));
    EXPECT_EQ(comesIn, GetCursor()) << "the window set a pointer of its own";

    // Three refresh ticks, 1.5 s apart on average; by then the figure shows.
    g_mainProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, LONG_PTR(Spy)));
    ASSERT_TRUE(WaitUntil([] { return g_ticks.size() >= 3; }, 15000)) << "the refresh timer stopped";
    EXPECT_NEAR(1500, (g_ticks[2] - g_ticks[0]) / 2.0, 150) << "refresh period, ms";
    EXPECT_EQ("", FollowsTheCounter(window)) << "long after the start";

    // The menu's check mark shows the always-on-top state; once it closes,
    // the readout goes on.
    g_live.clear();
    g_taken.clear();
    EXPECT_EQ(0u, CheckMarkShown(window));
    SendMessageA(window, WM_COMMAND, IDM_TOPMOST, 0);
    EXPECT_EQ(UINT(MF_CHECKED), CheckMarkShown(window)) << "kept on top";
    SendMessageA(window, WM_COMMAND, IDM_TOPMOST, 0);
    EXPECT_EQ(0u, CheckMarkShown(window));
    EXPECT_EQ("", FollowsTheCounter(window)) << "a menu just closed";

    // The About box, opened by the real command: painted and pointed at many
    // times and its link clicked; moved off the readout, under it the main
    // window is disabled and the readout goes on.
    HCURSOR overLink = NULL;
    std::string underTheBox = "the About box did not open";
    auto paintPointClickThenFollow = [&](HWND box) {
        HWND link = GetDlgItem(box, IDC_LINK);
        for (int i = 0; i < 100; ++i) {
            RedrawWindow(box, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            SendMessageA(box, WM_SETCURSOR, WPARAM(i % 2 ? link : box), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        }
        overLink = GetCursor();
        SendMessageA(box, WM_COMMAND, MAKEWPARAM(IDC_LINK, STN_CLICKED), LPARAM(link));
        SetWindowPos(box, NULL, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        underTheBox = IsWindowEnabled(window) ? "the main window is enabled" : FollowsTheCounter(window);
    };
    g_aboutBoxChecks = paintPointClickThenFollow;
    SendMessageA(window, WM_COMMAND, IDM_ABOUT, 0);
    EXPECT_EQ("", underTheBox) << "under the About box";
    EXPECT_EQ(LoadCursorA(self, MAKEINTRESOURCEA(IDC_LINKCURSOR)), overLink) << "the program's hand over the link";

    // Held still (the thread ends after its sleep), a full repaint draws the
    // panel and the latest figure, every glyph as its rules say.
    g_bRunning.store(0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_hThread, 3000)) << "the measuring loop did not end when asked";
    for (const char *text : {"******", "   000", "123456", "457890"}) {
        g_bValid.store(text[0] != '*');
        g_dwRate.store(std::atoi(text));
        RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        EXPECT_EQ(text, ReadoutIn(*Capture(window, ClientArea(window, 114, 32, false))));
    }

    // Thousands of ticks and repaints; all that they, the menus and the About
    // box took is given back.
    for (int i = 1; i <= 2000; ++i) {
        g_dwRate.store(i * 7919u % 1000000u);
        SendMessageA(window, WM_TIMER, IDT_REFRESH, 0);
        if (i % 100 == 0)
            RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    EXPECT_GE(g_taken.size(), 3 * 2000 + 4 * 20 + 3u) << "what ticks, repaints and menus take";
    EXPECT_TRUE(g_live.empty()) << g_live.size() << " objects kept";
    for (void *h : g_taken) {  // and the system agrees they are gone (window contexts stay cached)
        DWORD type = GetObjectType(h);
        ASSERT_FALSE(type == OBJ_BITMAP || type == OBJ_MEMDC || IsMenu(static_cast<HMENU>(h))) << h;
    }

    EXPECT_EQ(frame, Frame(window)) << "at the end of the run, after the menus and the About box";

    DestroyWindow(window);
    UnregisterClassA("ZARVO", self);
}

// The version of the shipped zarvo.exe, as the system reads it. (What its
// menu and About box show is compared with pictures end to end.)
TEST(ShippedFile, VersionSaysWhatTheProgramIs)
{
    std::vector<char> block(GetFileVersionInfoSizeA(ZARVO_SHIPPED_EXE, NULL));
    ASSERT_TRUE(GetFileVersionInfoA(ZARVO_SHIPPED_EXE, 0, block.size(), block.data()));
    DWORD *v = nullptr;
    UINT size = 0;
    VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&v), &size);
    EXPECT_TRUE(v[2] == 0x10001 && v[3] == 0 && v[4] == 0x10001 && v[5] == 0) << "version 1.1.0.0";
    EXPECT_TRUE(v[8] == VOS_NT_WINDOWS32 && v[9] == VFT_APP) << "an application for Windows NT";
    VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void **>(&v), &size);
    EXPECT_EQ(0x03A40411u, *v) << "Japanese, code page 932";
    std::wstring seen;
    for (const wchar_t *key : {L"FileDescription", L"FileVersion", L"InternalName", L"OriginalFilename", L"CompanyName",
                               L"LegalCopyright", L"ProductName", L"ProductVersion"}) {
        wchar_t *value = nullptr;
        std::wstring path = std::wstring(L"\\StringFileInfo\\041103A4\\") + key;
        seen += VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void **>(&value), &size)
                    ? std::wstring(value) + L"|"
                    : L"none|";
    }
    EXPECT_EQ(L"ＣＰＵ速度測定ツール|1.10|ZARVO!|zarvo!.exe|Zarvo! team|"
              L"Copyright (C) 2026 Zarvo! team|none|none|",
              seen);
}

}  // namespace
