// One life of the real zarvo.exe, used as a user would: started, watched on
// the screen, driven with the mouse and the keyboard, closed. In every state
// it is brought into, what can be seen of it from outside is checked against
// a table of properties; what the screen shows at four moments (the main
// window at its start, the menu, the About box before and after its link is
// clicked) is compared with the README's pictures, pixel for pixel.
#include "cost.h"
#include "harness.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// The counter and the first copy's frame as they were at its start.
CounterReading g_start;
std::string g_frame;

// Ends with this test program, however the test went.
struct Program : PROCESS_INFORMATION {
    ~Program() { TerminateProcess(hProcess, 1); }
} zarvo, second;

// Its exit code, once it has ended, waited for up to 5 s; else STILL_ACTIVE.
DWORD ExitCodeOf(Program &program)
{
    DWORD code = WaitForSingleObject(program.hProcess, 5000);
    return code == WAIT_OBJECT_0 && GetExitCodeProcess(program.hProcess, &code) ? code : STILL_ACTIVE;
}

// The readout shows the panel and a figure, and soon a fresh one: the figure
// moves by a hundredth or more at almost every tick, so ten seconds see a
// change unless the ticks have stopped. The lower of the two is kept for the
// figure's check: a late wake-up of the measuring thread on a busy machine
// only ever raises a figure, and seldom two in a row.
std::string Follows(HWND window, double &lower)
{
    double first = -1, shown = -1;
    WaitUntil([&] { return (first = ShownFigure(window)) >= 0; }, 10000);
    WaitUntil([&] { return (shown = ShownFigure(window)) >= 0 && shown != first; }, 10000);
    lower = std::min(first, shown);
    return shown >= 0 && shown != first ? "" : "the figure stayed at " + std::to_string(first);
}

// Presses a key, with Alt held if asked.
void Press(WORD key, bool alt = false)
{
    const WORD keys[] = {VK_MENU, key, key, VK_MENU};  // down, down, up, up
    for (int i = !alt; i < 4 - !alt; ++i)
        keybd_event(keys[i], 0, i < 2 ? 0 : KEYEVENTF_KEYUP, 0);
    Sleep(250);
}

// The program's menu, as tall as it opens from the client area (below).
LONG g_menuHeight;

// A right click on the caption opens the window menu at the pointer, taller
// than the program's menu, and so does Alt+Space (at the window). Esc closes
// each (twice from the keyboard, which leaves the window in menu mode), and
// once more must do nothing to the window (seen once the state's other
// properties have been read). The seconds at rest begin once it has closed.
std::string WindowMenu(HWND window, HANDLE process, double &cpu, DWORD &since)
{
    RECT r = {};
    GetWindowRect(window, &r);
    std::string wrong;
    for (bool keys : {false, true}) {
        SetCursorPos((r.left + r.right) / 2, r.top + GetSystemMetrics(SM_CYCAPTION) / 2);
        if (keys)
            Press(VK_SPACE, true);
        else
            mouse_event(MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
        HWND menu = WaitForWindow(GetProcessId(process), "#32768", 2000);
        RECT at = {};
        POINT pointer;
        bool right = GetCursorPos(&pointer) && GetWindowRect(menu, &at) && at.bottom - at.top > g_menuHeight;
        wrong += right && (keys || (at.left == pointer.x && at.top == pointer.y)) ? ""
                 : keys                                                           ? "Alt+Space; "
                                                                                  : "the caption; ";
        for (int i = 0; i <= 2 * keys; ++i)
            Press(VK_ESCAPE);
        WaitUntil([&] { return !IsWindowVisible(menu); }, 2000);
    }
    cpu = ProgramCpuMs(ZARVO_EXE);
    since = GetTickCount();
    return wrong.empty() ? "" : "no window menu (at the pointer) from " + wrong;
}

// The properties that can be seen of a copy of the program from outside.
// (Whether its window takes messages it has no cause for, and whether it
// gives back what it takes, are seen in process only: Wine counts no other
// process's GDI objects.) A window under the About box takes no input. At
// rest the program wakes for a sample a second and a tick every 1.5 s, a few
// ms each: a loop that spins takes a whole core, or on a busy machine its
// share of one, never less than a few tenths; a twentieth tells them apart.
// The other properties are read while the seconds at rest pass; only this
// session's copies count (tools/cost.h), not those of the groups beside it.
void Holds(const char *state, HWND window, HANDLE process, bool onTop = false, bool modal = false)
{
    double shown = -1;
    double cpu = ProgramCpuMs(ZARVO_EXE);
    DWORD since = GetTickCount();
    const std::vector<Property> table = {
        {"the window menu, from the caption and Alt+Space", [&] { return WindowMenu(window, process, cpu, since); }},
        {"the readout follows the counter", [&] { return Follows(window, shown); }},
        {"the figure is the counter's rate", [&] { return Accurate(shown, g_start); }},
        {"the process stays in the normal priority class", [&] { return NormalClass(process); }},
        {"the frame", [&] { return FrameAgrees(window, g_frame, onTop, modal); }},
        {"next to no CPU time at rest",
         [&] {
             WaitUntil([&] { return GetTickCount() - since >= 2000; }, 2000);
             double used = ProgramCpuMs(ZARVO_EXE) - cpu;
             return used <= (GetTickCount() - since) / 20.0 ? "" : std::to_string(used) + " ms in two seconds or more";
         }},
        {"Esc, once out of the window menu, leaves the window open",
         [&] { return IsWindow(window) ? "" : "the window is gone"; }},
    };
    ExpectHolds(state, table, modal ? 62 : 127);
}

// A picture as a binary PPM file, which ImageMagick turns into PNG and back.
std::string Ppm(const Canvas &shot)
{
    std::string ppm = "P6\n" + std::to_string(shot.width) + " " + std::to_string(shot.height) + "\n255\n";
    for (int i = 0; i < shot.width * shot.height; ++i) {
        uint32_t rgb = shot.at(i % shot.width, i / shot.width);
        for (int shift = 16; shift >= 0; shift -= 8)
            ppm += char(rgb >> shift);
    }
    return ppm;
}

// Compares what the screen shows of the window with the README's picture
// docs/NAME.png, which the tests' fixture puts into the build folder as
// reference-NAME.ppm, looking again for up to five seconds while they differ.
// What showed is saved there as NAME.ppm, from which scripts/screenshots makes
// the picture: with ZARVO_REMAKE_PICTURES set, once two looks agree, and
// nothing is compared. Returns "" when the two agree, else where they part.
std::string UnlikeItsPicture(const char *name, HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    const std::string folder = ZARVO_PICTURES;
    const bool remake = std::getenv("ZARVO_REMAKE_PICTURES") != nullptr;
    std::ifstream reference(folder + "reference-" + name + ".ppm", std::ios::binary);
    const std::string picture(std::istreambuf_iterator<char>(reference), {});
    std::string showed;
    WaitUntil(
        [&] {
            std::string before = showed;
            showed = Ppm(*Capture(NULL, r));
            return showed == (remake ? before : picture);
        },
        5000);
    CreateDirectoryA(folder.c_str(), NULL);
    std::ofstream(folder + name + ".ppm", std::ios::binary) << showed;
    if (remake || showed == picture)
        return "";
    return std::string("unlike docs/") + name + ".png; what showed is in " + folder + name + ".ppm";
}

// Moves the pointer to x, y in the window's client area (its middle for -1,
// -1), presses and releases the buttons given there, and returns the
// pointer's shape.
HCURSOR Mouse(HWND window, int x, int y, DWORD buttons = 0)
{
    RECT r = {};
    GetClientRect(window, &r);
    POINT at = {x < 0 ? r.right / 2 : x, y < 0 ? r.bottom / 2 : y};
    ClientToScreen(window, &at);
    SetCursorPos(at.x, at.y);
    Sleep(100);
    mouse_event(buttons, 0, 0, 0, 0);
    Sleep(100);
    CURSORINFO info = {sizeof info, 0, NULL, {0, 0}};
    GetCursorInfo(&info);
    return info.hCursor;
}

// The link's area in the About box's client area, where the box's template
// puts it: 98 x 16 dialog units at 50, 54 of a client area of 154 x 101
// units. (The system maps dialog units for the box's own process only.)
RECT LinkArea(HWND box)
{
    RECT client = {};
    GetClientRect(box, &client);
    return {50 * client.right / 154, 54 * client.bottom / 101, 148 * client.right / 154, 70 * client.bottom / 101};
}

// Where the menu is opened, in the main window's client area.
const int kMenuX = 40;
const int kMenuY = 14;

// Opens the menu with a press of the right button (it must be open before the
// release), compares it the first time with its picture, and chooses its n-th
// command, separators skipped, in the copy of the program given.
HWND Choose(HWND window, int command, DWORD pid = zarvo.dwProcessId)
{
    static bool pictured = false;
    Mouse(window, kMenuX, kMenuY, MOUSEEVENTF_RIGHTDOWN);
    HWND menu = WaitForWindow(pid, "#32768");
    RECT at = {};
    EXPECT_TRUE(GetWindowRect(menu, &at)) << "no menu while the right button is down";
    g_menuHeight = at.bottom - at.top;
    Mouse(window, kMenuX, kMenuY, MOUSEEVENTF_RIGHTUP);
    POINT pointer;
    EXPECT_TRUE(GetCursorPos(&pointer) && at.left == pointer.x && at.top == pointer.y) << "menu away from the pointer";
    Mouse(window, kMenuX - 20, kMenuY - 20);  // else a late move may select the item under the pointer
    if (!pictured) {
        pictured = true;
        EXPECT_EQ("", UnlikeItsPicture("menu", menu)) << "the menu: its picture";
    }
    if (command == 3) {   // Exit, the last item: a stray right click on it chooses nothing (and may select it,
        RECT items = {};  // from where three downs come back to it)
        GetClientRect(menu, &items);
        Mouse(menu, 10, items.bottom - 6, MOUSEEVENTF_RIGHTDOWN | MOUSEEVENTF_RIGHTUP);
        EXPECT_FALSE(WaitUntil([&] { return !IsWindowVisible(menu); }, 500))
            << "the menu open: the mouse: a right click on its last item chose it";
    }
    for (int i = 0; i < command; ++i)
        Press(VK_DOWN);
    Press(VK_RETURN);
    return command == 2 ? WaitForWindow(pid, "#32770") : window;
}

// Starts the first copy where the system places it, or where its launcher
// asks; the counter's rate it is compared with is measured from its start on,
// and the rest of the run compares the window's frame with the one it starts
// with (its picture shows what that is). A new process's first window may
// take seconds on a busy machine.
HWND StartFirst(POINT at = {-1, -1})
{
    g_start = ReadCounter();
    HWND w = StartProgram(ZARVO_EXE, zarvo, -1, at) ? WaitForWindow(zarvo.dwProcessId, "ZARVO", 20000) : NULL;
    g_frame = Frame(w);
    return w;
}

// Each group of states starts copies of its own, in a Wine session and on an
// X display of its own (scripts/wine-test), beside the other groups.
TEST(RealProgram, StartsAndIsClicked)
{
    // Six bars on the panel, in the window of its picture, then the figure, at
    // the first tick after the second sample: 3 s after the window, which the
    // test sees a little later (up to a second on a busy machine), never at
    // the first tick, 1.5 s after it.
    HWND w = StartFirst({300, 200});
    DWORD shownAt = GetTickCount();
    ASSERT_NE(static_cast<HWND>(NULL), w) << "started: no window of class ZARVO";
    RECT r = {};
    EXPECT_TRUE(GetWindowRect(w, &r) && r.left == 300 && r.top == 200)
        << "started: where the system places it: at " << r.left << ", " << r.top << ", not at 300, 200 as asked";
    EXPECT_EQ(0, GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) << "on top from the start";
    EXPECT_EQ("", UnlikeItsPicture("main-window", w)) << "started: its picture";
    EXPECT_TRUE(WaitUntil([&] { return ShownFigure(w) >= 0; }, 8000)) << "no figure";
    DWORD first = GetTickCount() - shownAt;
    EXPECT_TRUE(first >= 2000 && first <= 3800)
        << "started: the rhythm: the first figure at " << first << " ms after the window, not 3 s";
    Holds("showing its figure", w, zarvo.hProcess);

    // Only the right button opens the menu. Its Exit ends the program with
    // exit code 0.
    Mouse(w, kMenuX, kMenuY, MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
    EXPECT_EQ(static_cast<HWND>(NULL), WaitForWindow(zarvo.dwProcessId, "#32768", 500)) << "a left click opened the menu";
    Holds("clicked", w, zarvo.hProcess);
    Choose(w, 3);
    EXPECT_EQ(0u, ExitCodeOf(zarvo)) << "the menu's Exit: the exit code";
}

// The menu's first command keeps the window on top, where it stands, until
// it is chosen again. Released, it stays in front of a window that stood
// behind it, larger than it; that window goes before the state's table runs
// (under Wine no window menu opens from the caption while it stands).
TEST(RealProgram, ComesOnTopAndBack)
{
    HWND w = StartFirst({150, 100});
    ASSERT_NE(static_cast<HWND>(NULL), w) << "started: no window of class ZARVO";
    RECT r = {};
    RECT now = {};
    GetWindowRect(w, &r);
    Choose(w, 1);
    EXPECT_TRUE(GetWindowRect(w, &now) && EqualRect(&r, &now)) << "moved or resized";
    Holds("kept on top", w, zarvo.hProcess, true);
    HWND behind = CreateWindowExA(0, "STATIC", "", WS_POPUP, r.left, r.top, 200, 100, NULL, NULL, NULL, NULL);
    ShowWindow(behind, SW_SHOWNOACTIVATE);
    Choose(w, 1);
    EXPECT_TRUE(GetWindowRect(w, &now) && EqualRect(&r, &now)) << "moved or resized";
    EXPECT_TRUE(WaitUntil([&] { return ShownFigure(w) >= 0; }, 3000)) << "on top no more: in front of the window behind it";
    DestroyWindow(behind);
    Holds("on top no more", w, zarvo.hProcess);
}

TEST(RealProgram, ShowsItsAboutBoxAndOpensTheLink)
{
    const char *record = std::getenv("ZARVO_BROWSER_RECORD");  // set, and cleared, by scripts/lib/wine-session.sh
    ASSERT_NE(nullptr, record) << "ZARVO_BROWSER_RECORD, the stand-in browser's record, is not set";
    const std::string recordFile = std::string("Z:") + record;
    HWND w = StartFirst();
    ASSERT_NE(static_cast<HWND>(NULL), w) << "started: no window of class ZARVO";
    RECT r = {};
    RECT now = {};
    GetWindowRect(w, &r);

    // About, opened on top over the main window: modal, as its picture shows,
    // and Esc leaves it open. Moved aside, it uncovers the readout. The link,
    // pointed at over all its area, shows the hand and stays blue; double-
    // clicked, it hands its address to the browser twice and turns purple
    // for the rest of the run.
    Choose(w, 1);
    HWND box = Choose(w, 2);
    ASSERT_NE(static_cast<HWND>(NULL), box);
    POINT corner = {0, 0};  // of the main window's client area (on Windows) or frame (under Wine)
    ClientToScreen(w, &corner);
    EXPECT_TRUE(GetWindowRect(box, &now) && (now.left == corner.x || now.left == r.left) &&
                (now.top == corner.y || now.top == r.top))
        << "the About box: where it opens: at " << now.left << ", " << now.top << ", not on the main window's corner";
    Press(VK_ESCAPE);
    SetWindowPos(box, NULL, 400, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Holds("covered by the About box, then uncovered", w, zarvo.hProcess, true, true);
    RECT area = LinkArea(box);
    HCURSOR hand = Mouse(box, area.left + 3, area.top + 3);
    EXPECT_EQ(hand, Mouse(box, area.right - 3, area.bottom - 3)) << "no hand at the link's lower right";
    EXPECT_EQ("", UnlikeItsPicture("about", box)) << "its link pointed at, not clicked: the link's colour (blue)";
    Mouse(box, area.left + 3, area.bottom - 3, MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);  // below the text
    mouse_event(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    const std::string twice = "http://zarvo.example.org/\nhttp://zarvo.example.org/\n";
    std::string opened;
    WaitUntil([&] { return opened.assign(std::istreambuf_iterator<char>(std::ifstream(recordFile).rdbuf()), {}) == twice; },
              10000);
    EXPECT_EQ(twice, opened) << "its link double-clicked: the address, twice, recorded in " << record;
    EXPECT_EQ("", UnlikeItsPicture("about-visited", box)) << "its link clicked: the link's colour (purple)";
    Press(VK_F4, true);
    auto closed = [&] { return WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(w); }, 3000); };
    EXPECT_TRUE(closed()) << "under the About box: the keyboard: Alt+F4 leaves it open";
    Holds("the About box closed", w, zarvo.hProcess, true);

    // Reopened once the window is on top no more, it shows the link visited,
    // and it is not on top by itself; OK has the focus, and is its only stop:
    // after Tab, Space presses it.
    Choose(w, 1);
    box = Choose(w, 2);
    ASSERT_NE(static_cast<HWND>(NULL), box);
    Press(VK_ESCAPE);
    EXPECT_EQ("", UnlikeItsPicture("about-visited", box)) << "the About box reopened: the link's colour (purple)";
    EXPECT_EQ(0, GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST) << "the About box reopened: on top by itself";
    Press(VK_TAB);
    Press(VK_SPACE);
    EXPECT_TRUE(closed()) << "under the About box reopened: the keyboard: after Tab, Space does not press OK";
    Holds("the About box closed again", w, zarvo.hProcess);
}

TEST(RealProgram, RunsBesideASecondCopy)
{
    // The first copy, out of the second's way, its link visited. A second
    // copy runs beside it, started as a shortcut set to minimised starts it,
    // with arguments, which it ignores: minimised and left inactive, then
    // restored once the first has been minimised and restored. Its About box
    // shows the link blue. Alt+F4 ends it with exit code 0.
    HWND w = StartFirst({150, 100});
    ASSERT_NE(static_cast<HWND>(NULL), w) << "started: no window of class ZARVO";
    HWND box = Choose(w, 2);
    Mouse(box, LinkArea(box).left + 3, LinkArea(box).top + 3, MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
    Press(VK_RETURN);
    WaitUntil([&] { return GetForegroundWindow() == w; }, 3000);
    HWND active = GetForegroundWindow();
    ASSERT_TRUE(StartProgram(ZARVO_EXE, second, SW_SHOWMINNOACTIVE, {-1, -1}, " /min a file.txt"));
    WaitForInputIdle(second.hProcess, 5000);
    HWND other = WaitForWindow(second.dwProcessId, "ZARVO", 20000);
    ASSERT_NE(static_cast<HWND>(NULL), other) << "no window for a second copy";
    EXPECT_TRUE(IsIconic(other)) << "not minimised, though started so";
    EXPECT_EQ(active, GetForegroundWindow()) << "activated, though started inactive";
    PostMessageA(w, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(w); }, 3000)) << "not minimised";
    PostMessageA(w, WM_SYSCOMMAND, SC_RESTORE, 0);
    Holds("minimised and restored", w, zarvo.hProcess);
    PostMessageA(other, WM_SYSCOMMAND, SC_RESTORE, 0);
    Holds("started minimised, then restored", other, second.hProcess);
    Holds("beside a second copy", w, zarvo.hProcess);
    Mouse(other, kMenuX, kMenuY, MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other; }, 3000))
        << "beside a second copy: clicked, not in front";
    HWND box2 = Choose(other, 2, second.dwProcessId);  // its link shows blue: the first copy's visit is not kept
    Press(VK_ESCAPE);
    EXPECT_EQ("", UnlikeItsPicture("about", box2)) << "a second copy's About box: the link's colour (blue)";
    Press(VK_RETURN);
    Press(VK_F4, true);
    EXPECT_EQ(0u, ExitCodeOf(second)) << "beside a second copy: the keyboard: Alt+F4 does not end it";
}

}  // namespace
