// The program's own procedures in this process, where the screen cannot tell:
// a table of the properties that must hold in every state the program can be
// brought into (the readout follows the counter, a full repaint shows the
// figure, the priorities, the frame, the pointer, a window idle between
// ticks, every object given back), the refresh period, the menu's check mark, the glyphs
// a repaint draws, and the version of the shipped file as the system reads
// it. The figure's accuracy and the link's colour are seen end to end, in the
// same states.
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
#include <set>
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

// The numbers by which other programs and tools know the refresh timer, the
// menu's commands and the About box's link.
enum : UINT { kTimer = 1201, kOnTop = 2101, kAbout = 2102, kExit = 2109, kLink = 3101 };

// The program as the test has left it: its window, the About box while it is
// open, kept on top or not; the window's frame as it started.
HWND g_window;
HWND g_box;
bool g_onTop;
std::string g_frame;

// What reaches the main window's procedure, watched on its way: each refresh
// tick, with the figure just before and just after the window drew it, and
// the other messages since the test last cleared them, but the idle notes of
// a menu or the About box; each opened menu, whose check mark is read before
// it is closed again; and the About box, handed once to the checks waiting
// for it and then ended (how a user closes it is seen end to end).
WNDPROC g_mainProc;
std::vector<UINT> g_ticks;
std::vector<UINT> g_messages;
std::vector<UINT> g_messagesBeforeTick;
uint32_t g_rateAtTick[2];
UINT g_checkMark;
std::function<void()> g_underTheBox;
LRESULT CALLBACK Spy(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND opened = reinterpret_cast<HWND>(lParam);
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
        HMENU popup = reinterpret_cast<HMENU>(SendMessageA(opened, MN_GETHMENU, 0, 0));
        g_checkMark = GetMenuState(popup, kOnTop, MF_BYCOMMAND) & MF_CHECKED;
        EndMenu();
    }
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && g_underTheBox) {
        std::function<void()> checks = g_underTheBox;
        g_underTheBox = nullptr;
        g_box = opened;
        checks();
        g_box = NULL;
        EndDialog(opened, 0);
        PostMessageA(opened, WM_NULL, 0, 0);  // the box's loop ends now, not at the next tick
    }
    if (message != WM_TIMER || wParam != kTimer) {
        if (message != WM_ENTERIDLE)
            g_messages.push_back(message);
        return CallWindowProcA(g_mainProc, window, message, wParam, lParam);
    }
    g_ticks.push_back(GetTickCount());
    g_messagesBeforeTick = g_messages;
    g_rateAtTick[0] = g_dwRate.load();
    LRESULT result = CallWindowProcA(g_mainProc, window, message, wParam, lParam);
    g_rateAtTick[1] = g_dwRate.load();
    return result;
}

// The readout text for a figure.
std::string Text(uint32_t valid, uint32_t rate)
{
    char text[kReadoutBufferSize];
    BuildReadoutText(valid, rate, text);
    return text;
}

// A figure planted in the shared value is soon replaced by a measured one,
// and the next refresh tick draws the measured figure over whatever the
// window showed, touching nothing but the six cells.
std::string FollowsTheCounter()
{
    g_dwRate.store(kPlanted);
    if (!WaitUntil([] { return g_dwRate.load() != kPlanted; }, 3000))
        return "the measuring thread stores no figure";
    UpdateWindow(g_window);
    Canvas cover(114, 25, 0x123456);
    HDC dc = GetDC(g_window);
    BitBlt(dc, 0, 0, 114, 25, cover.dc, 0, 0, SRCCOPY);
    ReleaseDC(g_window, dc);
    g_messages.clear();
    size_t ticks = g_ticks.size();
    if (!WaitUntil([&] { return g_ticks.size() > ticks; }, 3000))
        return "no refresh tick came";

    std::unique_ptr<Canvas> shot = Capture(g_window, {0, 0, 114, 25});
    std::string drawn = ReadCells([&](int x, int y) { return shot->at(x, y); });
    if (drawn != Text(1, g_rateAtTick[0]) && drawn != Text(1, g_rateAtTick[1]))
        return "a tick drew \"" + drawn + "\" for the figure \"" + Text(1, g_rateAtTick[0]) + "\"";
    int untouched = shot->count(0x123456);
    if (untouched != 114 * 25 - 6 * 11 * 19)
        return "a tick left " + std::to_string(untouched) + " pixels alone, not all but the six cells";
    return "";
}

// A full repaint draws the panel and the figure of the moment, the bars while
// the figure is not yet valid.
std::string RepaintShowsTheFigure()
{
    std::string before = Text(g_bValid.load(), g_dwRate.load());
    RedrawWindow(g_window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    std::string shown = ReadoutIn(*Capture(g_window, ClientArea(g_window, 114, 32, false)));
    std::string after = Text(g_bValid.load(), g_dwRate.load());
    return shown == before || shown == after ? "" : "it shows \"" + shown + "\" for \"" + after + "\"";
}

// Only the measuring thread is raised, and no thread is bound to a processor:
// the measuring thread's affinity, read as the system gives it back when it
// is set, is the process's.
std::string Priorities()
{
    DWORD_PTR process = 0, system = 0;
    GetProcessAffinityMask(GetCurrentProcess(), &process, &system);
    DWORD_PTR bound = SetThreadAffinityMask(g_hThread, process);
    SetThreadAffinityMask(g_hThread, bound);
    std::string threads = std::to_string(GetThreadPriority(g_hThread)) + " on processors " + std::to_string(bound) +
                          ", the window's at " + std::to_string(GetThreadPriority(GetCurrentThread()));
    bool right = threads == "2 on processors " + std::to_string(process) + ", the window's at 0";
    return right ? NormalClass(GetCurrentProcess()) : "the measuring thread at " + threads;
}

// The main window has no pointer of its own: the pointer keeps the shape it
// comes in with. In the About box the program's hand shows over the link
// and only there. What each of the main window, the box, its OK button and
// its link shows, asked as Windows asks the window under the pointer (a
// control asks its dialog first, and sets its own arrow unless the dialog's
// result says it has set one): '-' the shape the pointer came in with, 'h'
// the hand, 'o' another.
std::string Pointer()
{
    HCURSOR comesIn = LoadCursorA(NULL, IDC_CROSS);
    HCURSOR hand = LoadCursorA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDC_LINKCURSOR));
    std::string shapes;
    HWND ok = GetDlgItem(g_box, IDOK);
    HWND link = GetDlgItem(g_box, kLink);
    for (HWND under : {g_window, g_box, ok, link}) {
        SetCursor(comesIn);
        SendMessageA(under, WM_SETCURSOR, WPARAM(under), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        SendMessageA(under, WM_MOUSEMOVE, 0, MAKELPARAM(30, 10));
        shapes += GetCursor() == comesIn ? '-' : GetCursor() == hand && hand != NULL ? 'h' : 'o';
    }
    return shapes == (g_box != NULL ? "-ooh" : "----") ? "" : "over the window, the box, OK and the link: " + shapes;
}

// The bytes in the process's heaps and its open handles; and as they were
// once the About box had been opened and closed.
std::pair<size_t, int> Held()
{
    std::pair<size_t, int> held;
    HANDLE heaps[64];
    for (DWORD i = std::min(GetProcessHeaps(64, heaps), DWORD(64)); i-- > 0;)
        for (PROCESS_HEAP_ENTRY entry = {}; HeapWalk(heaps[i], &entry);)
            held.first += entry.wFlags & PROCESS_HEAP_ENTRY_BUSY ? entry.cbData : 0;
    DWORD flags;  // the system hands out the lowest free handle first: 256 free in a row end the count
    for (ULONG_PTR handle = 4, last = 0; handle <= last + 1024; handle += 4)
        last = GetHandleInformation(HANDLE(handle), &flags) && ++held.second ? handle : last;
    return held;
}
std::pair<size_t, int> g_heldEarly;

// The table's columns.
const std::vector<Property> kProperties = {
    {"the readout follows the counter", FollowsTheCounter},
    {"a full repaint shows the panel and the figure", RepaintShowsTheFigure},
    {"the measuring thread alone is raised, on any processor", Priorities},
    {"the frame", [] { return FrameAgrees(g_window, g_frame, g_onTop, g_box != NULL); }},
    {"the pointer", Pointer},
    {"idle between ticks", [] { return g_messagesBeforeTick.empty() ? "" : std::to_string(g_messagesBeforeTick[0]); }},
    {"everything taken is given back", [] { return g_live.empty() ? "" : std::to_string(g_live.size()) + " kept"; }},
    {"no more memory or handles than once the first About box closed",
     [] {
         std::pair<size_t, int> now = Held();
         bool kept = now.first <= g_heldEarly.first + 1024 && now.second <= g_heldEarly.second;
         return kept ? "" : std::to_string(now.first) + " bytes, " + std::to_string(now.second) + " handles";
     }},
};
enum : unsigned { kFollows = 1, kFrame = 8, kIdle = 32, kGivenBack = 64, kHeld = 128, kAll = 127 };

void Holds(const char *state, unsigned columns = kAll) { ExpectHolds(state, kProperties, columns); }

// Opens the menu as a right-button press does and returns its check mark
// (2 if no menu opened).
UINT CheckMarkShown()
{
    g_checkMark = 2;
    SendMessageA(g_window, WM_RBUTTONDOWN, 0, MAKELPARAM(30, 10));
    return g_checkMark;
}

TEST(MainWindow, KeepsItsPropertiesInEveryStateAndGivesBackEverythingItTakes)
{
    HINSTANCE self = GetModuleHandleA(NULL);
    ASSERT_EQ(1, InitInstance(self, SW_SHOWNORMAL));
    g_window = FindWindowA("ZARVO", "Zarvo!");
    g_mainProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(g_window, GWLP_WNDPROC, LONG_PTR(Spy)));
    g_frame = Frame(g_window);  // the rest of the run compares with it
    // What the test itself keeps grows no more once memory is counted.
    g_taken.reserve(20000);
    for (std::vector<UINT> *kept : {&g_messages, &g_messagesBeforeTick, &g_ticks})
        kept->reserve(10000);
    // Until the second sample the bars stay: no figure to follow or to idle by.
    Holds("started", kAll & ~kFollows & ~kIdle & ~kFrame);

    // From the first refresh tick on, the next tick after a sample shows the
    // figure. The first three ticks are 1.5 s apart on average.
    ASSERT_TRUE(WaitUntil([] { return g_ticks.size() >= 1; }, 15000)) << "the refresh timer stopped";
    Holds("showing its figure");

    // The menu's check mark shows the always-on-top state.
    EXPECT_EQ(0u, CheckMarkShown()) << "the menu's check mark";
    Holds("a menu just closed");
    ASSERT_TRUE(WaitUntil([] { return g_ticks.size() >= 3; }, 15000)) << "the refresh timer stopped";
    EXPECT_NEAR(1500, (g_ticks[2] - g_ticks[0]) / 2.0, 150) << "refresh period, ms";
    SendMessageA(g_window, WM_COMMAND, MAKEWPARAM(kOnTop, 1), 0);  // as an accelerator sends it
    g_onTop = true;
    EXPECT_EQ(UINT(MF_CHECKED), CheckMarkShown()) << "the menu's check mark, kept on top";
    Holds("kept on top");

    // The About box, opened by the real command and moved off the readout:
    // painted and pointed at many times, then its link clicked, then
    // reopened.
    g_underTheBox = [] {
        SetWindowPos(g_box, NULL, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        HWND link = GetDlgItem(g_box, kLink);
        for (int i = 0; i < 100; ++i) {
            RedrawWindow(g_box, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            SendMessageA(g_box, WM_SETCURSOR, WPARAM(i % 2 ? link : g_box), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        }
        Holds("under the About box, its link pointed at");
        SendMessageA(g_box, WM_COMMAND, MAKEWPARAM(kLink, STN_CLICKED), LPARAM(link));
        Holds("under the About box, its link clicked");
    };
    SendMessageA(g_window, WM_COMMAND, kAbout, 0);
    EXPECT_FALSE(g_underTheBox) << "the About box did not open";
    Holds("the About box closed");
    g_heldEarly = Held();
    g_underTheBox = [] { Holds("under the About box reopened"); };
    SendMessageA(g_window, WM_COMMAND, kAbout, 0);
    EXPECT_FALSE(g_underTheBox) << "the About box did not open again";

    SendMessageA(g_window, WM_COMMAND, kOnTop, 0);
    g_onTop = false;
    EXPECT_EQ(0u, CheckMarkShown()) << "the menu's check mark, on top no more";
    Holds("on top no more");
    ShowWindow(g_window, SW_MINIMIZE);
    ShowWindow(g_window, SW_RESTORE);
    Holds("minimised and restored");

    // Widened by another program, as Windows 10 and 11 widen it to their
    // least width, it shows the class's light grey beside the panel.
    SetWindowPos(g_window, NULL, 0, 0, 160, 56, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateWindow(g_window);
    RECT beside = ClientArea(g_window, 160, 56, false);
    std::unique_ptr<Canvas> shot = Capture(g_window, {114, 0, beside.right, beside.bottom});
    int grey = shot->count(0xC0C0C0);
    EXPECT_TRUE(shot->width > 20 && grey == shot->width * shot->height)
        << "widened: the background: " << grey << " light-grey pixels beside the panel, not all";
    SetWindowPos(g_window, NULL, 0, 0, 120, 56, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    // Held still (the thread ends after its sleep): thousands of ticks, and
    // every hundredth a full repaint that draws the panel and the figure,
    // every glyph as its rules say; all that they, the menus and the About
    // boxes took is given back, and the system agrees (window contexts stay
    // cached).
    g_bRunning.store(0);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_hThread, 3000)) << "the measuring loop did not end when asked";
    for (int i = 1; i <= 2000; ++i) {
        g_dwRate.store(i * 7919u % 1000000u);
        SendMessageA(g_window, WM_TIMER, kTimer, 0);
        if (i % 100 == 0) {
            EXPECT_EQ("", RepaintShowsTheFigure()) << "held at " << i * 7919u % 1000000u;
        }
    }
    EXPECT_GE(g_taken.size(), 3 * 2000 + 4 * 20 + 3u) << "what ticks, repaints and menus take";
    // The thread has ended: nothing to follow.
    Holds("after the About box reopened, menus and thousands of ticks", kFrame | kGivenBack | kHeld);
    for (void *h : std::set<void *>(g_taken.begin(), g_taken.end())) {  // each once: a call each costs on a busy machine
        DWORD type = GetObjectType(h);
        ASSERT_FALSE(type == OBJ_BITMAP || type == OBJ_MEMDC || IsMenu(static_cast<HMENU>(h))) << h;
    }
    // Another program's command 2109 ends it, as the menu's Exit does.
    SendMessageA(g_window, WM_COMMAND, kExit, 0);
    EXPECT_FALSE(IsWindow(g_window)) << "the command 2109: the window stays";
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
              seen)
        << "the version's texts";
}

}  // namespace
