// One life of the real zarvo.exe, used as a user would: started, watched on
// the screen, driven with the mouse and the keyboard, closed.
#include "harness.h"

#include <gtest/gtest.h>
#include <x86intrin.h>

#include <cstdlib>
#include <fstream>

namespace {

// Ends with this test program, however the test went.
struct Program : PROCESS_INFORMATION {
    ~Program() { TerminateProcess(hProcess, 1); }
} zarvo, second;

HWND WaitFor(const char *className, DWORD timeoutMs = 5000)
{
    return WaitForWindow(className, zarvo.dwProcessId, timeoutMs);
}

bool Start(Program &program)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    char command[] = "zarvo.exe";
    return CreateProcessA(ZARVO_EXE, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &program);
}

DWORD ExitCodeOf(Program &program)
{
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(program.hProcess, 5000);
    GetExitCodeProcess(program.hProcess, &code);
    return code;
}

// The figure the readout shows, -1 while any bar shows, -2 where anything
// but the panel and six glyphs shows. Read until two looks 100 ms apart agree,
// so that a redraw under way is not taken for what the window shows.
double Shown(HWND window)
{
    std::string cells = ShownReadout(window), again;
    while (Sleep(100), (again = ShownReadout(window)) != cells)
        cells = again;
    return cells.empty() ? -2 : cells.find('*') != std::string::npos ? -1 : std::atof(cells.c_str()) / 100;
}

// The link's text shows in one colour and nowhere in the other, on the box's
// own background, not on a white one.
bool LinkShows(HWND link, uint32_t colour, uint32_t other)
{
    std::unique_ptr<Canvas> shot = Capture(link);
    uint32_t *end = shot->bits + shot->width * shot->height;
    return std::count(shot->bits, end, colour) > 20 &&
           std::count(shot->bits, end, other) + std::count(shot->bits, end, 0xFFFFFF) == 0;
}

void Press(WORD key) { keybd_event(key, 0, 0, 0), keybd_event(key, 0, KEYEVENTF_KEYUP, 0), Sleep(250); }
void Mouse(DWORD button) { mouse_event(button, 0, 0, 0, 0), Sleep(100); }

// Moves the pointer to x, y in the window (the middle for -1, -1).
void PointAt(HWND window, int x, int y)
{
    RECT r;
    GetWindowRect(window, &r);
    SetCursorPos(x < 0 ? (r.left + r.right) / 2 : r.left + x, y < 0 ? (r.top + r.bottom) / 2 : r.top + y);
    Sleep(100);
}

void ClickAt(HWND window, int x, int y) { PointAt(window, x, y), Mouse(MOUSEEVENTF_LEFTDOWN), Mouse(MOUSEEVENTF_LEFTUP); }

// Opens the menu with a press of the right button and chooses its n-th
// command, separators skipped. The menu must be open before the release.
HWND Choose(HWND window, int command)
{
    PointAt(window, 40, 36);
    Mouse(MOUSEEVENTF_RIGHTDOWN);
    RECT menu = {};
    POINT pointer;
    GetCursorPos(&pointer);
    EXPECT_TRUE(GetWindowRect(WaitFor("#32768"), &menu)) << "no menu while the right button is down";
    Mouse(MOUSEEVENTF_RIGHTUP);
    EXPECT_TRUE(menu.left == pointer.x && menu.top == pointer.y) << "menu at " << menu.left << "," << menu.top;
    SetCursorPos(pointer.x - 20, pointer.y - 20);  // else a late move may select the item under the pointer
    for (int i = 0; i < command; ++i)
        Press(VK_DOWN);
    Press(VK_RETURN);
    return command == 2 ? WaitFor("#32770") : window;
}

TEST(RealProgram, LivesThroughAWholeRun)
{
    const char *record = std::getenv("ZARVO_BROWSER_RECORD");  // set by scripts/lib/wine-session.sh
    ASSERT_NE(nullptr, record) << "ZARVO_BROWSER_RECORD, the stand-in browser's record, is not set";
    const std::string recordFile = std::string("Z:") + record;
    DeleteFileA(recordFile.c_str());
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(recordFile.c_str())) << "cannot clear " << record;

    // The counter's rate is measured here against the performance counter, a
    // steady clock, over the same seconds as the program measures it.
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency), QueryPerformanceCounter(&start);
    uint64_t counterAtStart = __rdtsc();
    ASSERT_TRUE(Start(zarvo));
    HWND w = WaitFor("ZARVO");
    ASSERT_NE(static_cast<HWND>(NULL), w);
    char text[32] = "";
    GetWindowTextA(w, text, sizeof text);
    EXPECT_STREQ("Zarvo!", text);
    RECT r, now;
    GetWindowRect(w, &r);
    EXPECT_TRUE(r.right - r.left == 120 && r.bottom - r.top == 56) << "outer size";
    LONG frame = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
    EXPECT_EQ(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, GetWindowLongA(w, GWL_STYLE) & frame);
    EXPECT_EQ(0, GetWindowLongA(w, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE) << "extended style, not on top";

    // Six bars on the panel, then, not before the second sample, the figure
    // near the counter's rate.
    EXPECT_TRUE(WaitUntil([&] { return Shown(w) == -1; }, 1500)) << "panel and six bars first";
    double mhz = -1;
    WaitUntil([&] { return (mhz = Shown(w)) != -1; }, 8000);
    QueryPerformanceCounter(&end);
    uint64_t counted = __rdtsc() - counterAtStart;
    double seconds = double(end.QuadPart - start.QuadPart) / frequency.QuadPart;
    EXPECT_GE(seconds, 2.5) << "a figure before the second sample, which with its tick comes 3 s after the start";
    double reference = counted / seconds / 1e6;
    EXPECT_NEAR(reference, mhz, reference * 0.02);

    // Only the right button opens the menu; its first command keeps the
    // window on top and lets it go, where it stands.
    SetWindowPos(w, NULL, 150, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER), GetWindowRect(w, &r);
    ClickAt(w, 40, 36);
    EXPECT_EQ(static_cast<HWND>(NULL), WaitFor("#32768", 500)) << "a left click opened the menu";
    for (LONG topmost : {WS_EX_TOPMOST, 0L}) {
        Choose(w, 1);
        EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) == topmost; }, 2000));
        EXPECT_TRUE(GetWindowRect(w, &now) && EqualRect(&r, &now)) << "moved or resized";
    }

    // About: modal, Esc leaves it open, the link hands its address to the browser and stays purple.
    HWND box = Choose(w, 2), link = GetDlgItem(box, 3101);
    ASSERT_NE(static_cast<HWND>(NULL), box);
    EXPECT_TRUE(GetWindow(box, GW_OWNER) == w && !IsWindowEnabled(w)) << "owned and modal";
    Press(VK_ESCAPE);
    EXPECT_TRUE(IsWindowVisible(box)) << "Esc closed the box";
    auto cursorOver = [](HWND control) {
        CURSORINFO info = {sizeof info, 0, NULL, {0, 0}};
        return PointAt(control, 10, 5), Mouse(0), GetCursorInfo(&info), info.hCursor;
    };
    EXPECT_NE(cursorOver(GetDlgItem(box, IDOK)), cursorOver(link)) << "no hand over the link";
    EXPECT_TRUE(LinkShows(link, 0x0000FF, 0x800080)) << "blue at first";
    ClickAt(link, 20, 6);
    std::string opened;
    WaitUntil([&] { return std::getline(std::ifstream(recordFile), opened) && !opened.empty(); }, 10000);
    EXPECT_EQ("http://zarvo.example.org/", opened) << "the address recorded in " << record;
    EXPECT_TRUE(WaitUntil([&] { return LinkShows(link, 0x800080, 0x0000FF); }, 2000)) << "purple once clicked";
    PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);  // its close box
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
    ASSERT_TRUE((box = Choose(w, 2)) != NULL);
    EXPECT_TRUE(LinkShows(GetDlgItem(box, 3101), 0x800080, 0x0000FF)) << "purple again when reopened";
    ClickAt(GetDlgItem(box, IDOK), -1, -1);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(w); }, 3000)) << "OK closes";

    // A second copy runs beside the first, and its close box ends it; the
    // menu's Exit ends the first. Both exit with code 0.
    ASSERT_TRUE(Start(second));
    HWND other = WaitForWindow("ZARVO", second.dwProcessId);
    EXPECT_NE(static_cast<HWND>(NULL), other) << "no window for a second copy";
    PostMessageA(other, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(0u, ExitCodeOf(second));
    Choose(w, 3);
    EXPECT_EQ(0u, ExitCodeOf(zarvo));
}

}  // namespace
