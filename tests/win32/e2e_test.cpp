// One life of the real zarvo.exe, used as a user would: started, watched on
// the screen, driven with the mouse and the keyboard, closed.
#include "harness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace {

const char kBrowserLog[] = "Z:\\tmp\\zarvo-browser.log";  // written by tests/win32/fake-browser
// Ends with this test program, however the test went.
struct Program : PROCESS_INFORMATION {
    ~Program() { TerminateProcess(hProcess, 1); }
} zarvo;

HWND WaitFor(const char *className) { return WaitForWindow(className, zarvo.dwProcessId); }

// What the screen shows of a window's client area, at most width x height.
std::unique_ptr<Canvas> Capture(HWND window, LONG width = 4096, LONG height = 4096)
{
    RECT client;
    GetClientRect(window, &client);
    std::unique_ptr<Canvas> shot(new Canvas(std::min(width, client.right), std::min(height, client.bottom)));
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(NULL);
    BitBlt(shot->dc, 0, 0, shot->width, shot->height, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(NULL, screen);
    return shot;
}

// The figure the readout shows, -1 for the bars, -2 where anything but the
// panel and six glyphs shows.
double Shown(HWND window)
{
    std::unique_ptr<Canvas> shot = Capture(window, 114, 32);
    std::string cells = ReadCells(*shot);
    IndexedImage expected = ExpectedReadout(cells);
    for (int y = 0; y < shot->height; ++y)
        for (int x = 0; x < shot->width; ++x)
            if (shot->at(x, y) != RgbOf(expected.at(x, y)))
                return -2;
    return cells == "******" ? -1 : std::atof(cells.c_str()) / 100;
}

// The link's text shows in one colour and nowhere in the other.
bool LinkShows(HWND link, uint32_t colour, uint32_t other)
{
    std::unique_ptr<Canvas> shot = Capture(link);
    uint32_t *end = shot->bits + shot->width * shot->height;
    return std::count(shot->bits, end, colour) > 20 && std::count(shot->bits, end, other) == 0;
}

void Press(WORD key) { keybd_event(key, 0, 0, 0), keybd_event(key, 0, KEYEVENTF_KEYUP, 0), Sleep(250); }

// Moves the pointer to x, y in the window (the middle for -1, -1) and clicks a button there.
void ClickAt(HWND window, int x, int y, DWORD button = MOUSEEVENTF_LEFTDOWN)
{
    RECT r;
    GetWindowRect(window, &r);
    SetCursorPos(x < 0 ? (r.left + r.right) / 2 : r.left + x, y < 0 ? (r.top + r.bottom) / 2 : r.top + y);
    Sleep(100);
    mouse_event(button, 0, 0, 0, 0), mouse_event(button << 1, 0, 0, 0, 0), Sleep(250);  // down, up
}

// Opens the menu at the pointer and chooses its n-th command, separators skipped.
HWND Choose(HWND window, int command)
{
    ClickAt(window, 40, 36, MOUSEEVENTF_RIGHTDOWN);
    RECT menu = {};
    POINT pointer;
    GetCursorPos(&pointer);
    EXPECT_TRUE(GetWindowRect(WaitFor("#32768"), &menu));
    EXPECT_TRUE(menu.left == pointer.x && menu.top == pointer.y) << "menu at " << menu.left << "," << menu.top;
    SetCursorPos(pointer.x - 20, pointer.y - 20);  // else a late move may select the item under the pointer
    for (int i = 0; i < command; ++i)
        Press(VK_DOWN);
    Press(VK_RETURN);
    return command == 2 ? WaitFor("#32770") : window;
}

TEST(RealProgram, LivesThroughAWholeRun)
{
    std::remove(kBrowserLog);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    char command[] = "zarvo.exe";
    DWORD start = GetTickCount();
    ASSERT_TRUE(CreateProcessA(ZARVO_EXE, command, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &zarvo));
    HWND w = WaitFor("ZARVO");
    ASSERT_NE(static_cast<HWND>(NULL), w);
    char text[32] = "";
    GetWindowTextA(w, text, sizeof text);
    EXPECT_STREQ("Zarvo!", text);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_TRUE(r.right - r.left == 120 && r.bottom - r.top == 56) << "outer size";
    LONG frame = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
    EXPECT_EQ(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, GetWindowLongA(w, GWL_STYLE) & frame);

    // Six bars on the panel, then the figure near the counter's rate, redrawn every 1.5 s.
    EXPECT_TRUE(WaitUntil([&] { return Shown(w) == -1; }, 1500)) << "panel and six bars first";
    const char *hostMhz = std::getenv("ZARVO_HOST_MHZ");  // set by scripts/lib/wine-session.sh
    double mhz = -1, host = hostMhz != nullptr ? std::atof(hostMhz) : 0;
    ASSERT_GT(host, 0) << "ZARVO_HOST_MHZ, the host's counter rate, is not set";
    WaitUntil([&] { return (mhz = Shown(w)) != -1; }, 6000);
    DWORD firstFigure = GetTickCount() - start, lastChange = GetTickCount();
    EXPECT_TRUE(firstFigure >= 2000 && firstFigure <= 4500) << firstFigure << " ms";
    EXPECT_NEAR(host, mhz, host * 0.02);
    int changes = 0;
    for (DWORD watch = GetTickCount(); GetTickCount() - watch < 6000; Sleep(25)) {
        double now = Shown(w);
        ASSERT_GE(now, 0) << "lost the panel or the figure";
        if (now != mhz) {  // sleep jitter moves the figure by more than a hundredth
            DWORD gap = GetTickCount() - lastChange, ticks = (gap + 750) / 1500;
            EXPECT_TRUE(ticks >= 1 && gap + 300 >= ticks * 1500 && gap <= ticks * 1500 + 300) << gap;
            mhz = now, lastChange = GetTickCount(), ++changes;
        }
    }
    EXPECT_GE(changes, 3);

    // The menu's first command keeps the window on top and lets it go.
    for (LONG topmost : {WS_EX_TOPMOST, 0L}) {
        Choose(w, 1);
        EXPECT_TRUE(WaitUntil([&] { return (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) == topmost; }, 2000));
    }

    // About: modal, Esc leaves it open, the link hands its address to the browser and stays purple.
    HWND box = Choose(w, 2), link = GetDlgItem(box, 3101);
    ASSERT_NE(static_cast<HWND>(NULL), box);
    GetWindowTextA(box, text, sizeof text);
    EXPECT_STREQ("ZARVO! \x82\xC9\x82\xC2\x82\xA2\x82\xC4", text) << "in code page 932";
    EXPECT_TRUE(GetWindow(box, GW_OWNER) == w && !IsWindowEnabled(w)) << "owned and modal";
    Press(VK_ESCAPE);
    EXPECT_TRUE(IsWindowVisible(box)) << "Esc closed the box";
    auto cursorOver = [](HWND control) {
        CURSORINFO info = {sizeof info, 0, NULL, {0, 0}};
        return ClickAt(control, 10, 5, 0), GetCursorInfo(&info), info.hCursor;
    };
    EXPECT_NE(cursorOver(GetDlgItem(box, IDOK)), cursorOver(link)) << "no hand over the link";
    EXPECT_TRUE(LinkShows(link, 0x0000FF, 0x800080)) << "blue at first";
    ClickAt(link, 20, 6);
    std::string opened;
    WaitUntil([&] { return std::getline(std::ifstream(kBrowserLog), opened) && !opened.empty(); }, 10000);
    EXPECT_EQ("http://zarvo.example.org/", opened);
    EXPECT_TRUE(WaitUntil([&] { return LinkShows(link, 0x800080, 0x0000FF); }, 2000)) << "purple once clicked";
    PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);  // its close box
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
    ASSERT_TRUE((box = Choose(w, 2)) != NULL);
    EXPECT_TRUE(LinkShows(GetDlgItem(box, 3101), 0x800080, 0x0000FF)) << "purple again when reopened";
    ClickAt(GetDlgItem(box, IDOK), -1, -1);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(w); }, 3000)) << "OK closes";

    // The close box's command ends the program with exit code 0.
    PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(zarvo.hProcess, 5000);
    GetExitCodeProcess(zarvo.hProcess, &code);
    EXPECT_EQ(0u, code);
}

}  // namespace
