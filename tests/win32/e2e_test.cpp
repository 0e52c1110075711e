// One life of the real zarvo.exe, used as a user would: started, watched on
// the screen, driven with the mouse and the keyboard, closed. What the screen
// shows at four moments (the main window at its start, the menu, the About box
// before and after its link is clicked) is compared with the README's
// pictures, pixel for pixel.
#include "harness.h"

#include <gtest/gtest.h>
#include <x86intrin.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

// Ends with this test program, however the test went.
struct Program : PROCESS_INFORMATION {
    ~Program() { TerminateProcess(hProcess, 1); }
} zarvo, second;

// A visible window of the class that belongs to the program, waited for.
HWND WaitFor(const char *className, DWORD timeoutMs = 5000, DWORD pid = zarvo.dwProcessId)
{
    HWND found = NULL;
    WaitUntil([&] { return (found = WindowOf(pid, className)) != NULL; }, timeoutMs);
    return found;
}

DWORD ExitCodeOf(Program &program)
{
    DWORD code = STILL_ACTIVE;
    WaitForSingleObject(program.hProcess, 5000);
    GetExitCodeProcess(program.hProcess, &code);
    return code;
}

// The figure the readout shows, -1 while any bar shows, -2 where anything
// but the panel and six glyphs shows (a redraw caught half done included).
double Shown(HWND window)
{
    std::string cells = ReadoutIn(*Capture(NULL, ClientArea(window, 114, 32, true)));
    if (cells.empty())
        return -2;
    if (cells.find('*') != std::string::npos)
        return -1;
    return std::atof(cells.c_str()) / 100;
}

// A file's bytes.
std::string Contents(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
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
    RECT r;
    GetWindowRect(window, &r);
    const std::string folder = ZARVO_PICTURES;
    const bool remake = std::getenv("ZARVO_REMAKE_PICTURES") != nullptr;
    const std::string picture = Contents(folder + "reference-" + name + ".ppm");
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
    if (showed.size() != picture.size())
        return std::string("docs/") + name + ".png is missing or not the window's size";
    size_t header = showed.size() - 3 * (r.right - r.left) * (r.bottom - r.top);
    size_t pixel = (std::mismatch(showed.begin(), showed.end(), picture.begin()).first - showed.begin() - header) / 3;
    return std::string("unlike docs/") + name + ".png from pixel " + std::to_string(pixel % (r.right - r.left)) + "," +
           std::to_string(pixel / (r.right - r.left)) + " on; what showed is in " + folder + name + ".ppm";
}

void Press(WORD key)
{
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    Sleep(250);
}

void Mouse(DWORD button)
{
    mouse_event(button, 0, 0, 0, 0);
    Sleep(100);
}

// Moves the pointer to x, y in the window (the middle for -1, -1).
void PointAt(HWND window, int x, int y)
{
    RECT r;
    GetWindowRect(window, &r);
    SetCursorPos(x < 0 ? (r.left + r.right) / 2 : r.left + x, y < 0 ? (r.top + r.bottom) / 2 : r.top + y);
    Sleep(100);
}

void ClickAt(HWND window, int x, int y)
{
    PointAt(window, x, y);
    Mouse(MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP);
}

// The pointer's shape with the pointer moved to x, y in the window.
HCURSOR PointerOver(HWND window, int x, int y)
{
    PointAt(window, x, y);
    Mouse(0);
    CURSORINFO info = {sizeof info, 0, NULL, {0, 0}};
    GetCursorInfo(&info);
    return info.hCursor;
}

// The link's area in the About box's window, where the box's template puts
// it: 98 x 16 dialog units at 50, 54 of a client area of 154 x 101 units.
// (The system maps dialog units for the box's own process only.)
RECT LinkArea(HWND box)
{
    RECT client;
    GetClientRect(box, &client);
    RECT area = {50 * client.right / 154, 54 * client.bottom / 101, 148 * client.right / 154, 70 * client.bottom / 101};
    MapWindowPoints(box, NULL, reinterpret_cast<POINT *>(&area), 2);
    RECT frame;
    GetWindowRect(box, &frame);
    OffsetRect(&area, -frame.left, -frame.top);
    return area;
}

// Where the menu is opened, in the main window.
const int kMenuX = 40;
const int kMenuY = 36;

// Opens the menu with a press of the right button (it must be open before the
// release), compares it the first time with its picture, and chooses its n-th
// command, separators skipped.
HWND Choose(HWND window, int command)
{
    static bool pictured = false;
    PointAt(window, kMenuX, kMenuY);
    Mouse(MOUSEEVENTF_RIGHTDOWN);
    HWND menu = WaitFor("#32768");
    RECT at = {};
    EXPECT_TRUE(GetWindowRect(menu, &at)) << "no menu while the right button is down";
    Mouse(MOUSEEVENTF_RIGHTUP);
    POINT pointer;
    GetCursorPos(&pointer);
    EXPECT_TRUE(at.left == pointer.x && at.top == pointer.y) << "menu at " << at.left << "," << at.top;
    PointAt(window, kMenuX - 20, kMenuY - 20);  // else a late move may select the item under the pointer
    if (!pictured) {
        pictured = true;
        EXPECT_EQ("", UnlikeItsPicture("menu", menu));
    }
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
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    uint64_t counterAtStart = __rdtsc();
    ASSERT_TRUE(StartProgram(ZARVO_EXE, zarvo));
    HWND w = WaitFor("ZARVO");
    ASSERT_NE(static_cast<HWND>(NULL), w);
    EXPECT_EQ(0, GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) << "on top from the start";

    // Six bars on the panel, in the window of its picture, then, not before the
    // second sample, the figure near the counter's rate.
    EXPECT_TRUE(WaitUntil([&] { return Shown(w) == -1; }, 1500)) << "panel and six bars first";
    EXPECT_EQ("", UnlikeItsPicture("main-window", w));
    double mhz = -1;
    WaitUntil([&] { return (mhz = Shown(w)) >= 0; }, 8000);
    QueryPerformanceCounter(&end);
    uint64_t counted = __rdtsc() - counterAtStart;
    double seconds = double(end.QuadPart - start.QuadPart) / frequency.QuadPart;
    EXPECT_GE(seconds, 2.5) << "a figure before the second sample, which with its tick comes 3 s after the start";
    double reference = counted / seconds / 1e6;
    EXPECT_NEAR(reference, mhz, reference * 0.02);

    // Only the right button opens the menu; its first command keeps the
    // window on top, where it stands, until it is chosen again (below).
    SetWindowPos(w, NULL, 150, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT r;
    RECT now;
    GetWindowRect(w, &r);
    ClickAt(w, kMenuX, kMenuY);
    EXPECT_EQ(static_cast<HWND>(NULL), WaitFor("#32768", 500)) << "a left click opened the menu";
    auto onTop = [&](LONG topmost) {
        return WaitUntil([&] { return (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) == topmost; }, 2000);
    };
    Choose(w, 1);
    EXPECT_TRUE(onTop(WS_EX_TOPMOST)) << "not kept on top";
    EXPECT_TRUE(GetWindowRect(w, &now) && EqualRect(&r, &now)) << "moved or resized";

    // About, opened on top: modal, as its picture shows, and Esc leaves it
    // open; the link, over all its area, shows the hand and hands its address
    // to the browser, and turns purple for the rest of the run.
    HWND box = Choose(w, 2);
    ASSERT_NE(static_cast<HWND>(NULL), box);
    EXPECT_TRUE(GetWindow(box, GW_OWNER) == w && !IsWindowEnabled(w)) << "owned and modal";
    Press(VK_ESCAPE);
    EXPECT_TRUE(IsWindowVisible(box)) << "Esc closed the box";
    EXPECT_EQ("", UnlikeItsPicture("about", box));
    RECT area = LinkArea(box);
    HCURSOR hand = PointerOver(box, area.left + 3, area.top + 3);
    EXPECT_NE(PointerOver(GetDlgItem(box, IDOK), 10, 5), hand) << "no hand over the link";
    EXPECT_EQ(hand, PointerOver(box, area.right - 3, area.bottom - 3)) << "no hand at the link's lower right";
    ClickAt(box, area.left + 3, area.bottom - 3);  // below the text, within the link
    std::string opened;
    WaitUntil([&] { return std::getline(std::ifstream(recordFile), opened) && !opened.empty(); }, 10000);
    EXPECT_EQ("http://zarvo.example.org/", opened) << "the address recorded in " << record;
    EXPECT_EQ("", UnlikeItsPicture("about-visited", box)) << "purple once clicked";
    PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0);  // its close box
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
    box = Choose(w, 2);
    ASSERT_NE(static_cast<HWND>(NULL), box);
    Press(VK_ESCAPE);
    EXPECT_EQ("", UnlikeItsPicture("about-visited", box)) << "purple again when reopened";
    ClickAt(GetDlgItem(box, IDOK), -1, -1);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) && IsWindowEnabled(w); }, 3000)) << "OK closes";
    EXPECT_TRUE(onTop(WS_EX_TOPMOST)) << "no longer on top after the About box";
    Choose(w, 1);
    EXPECT_TRUE(onTop(0)) << "still on top";
    EXPECT_TRUE(GetWindowRect(w, &now) && EqualRect(&r, &now)) << "moved or resized";

    // A second copy runs beside the first, started as a shortcut set to
    // minimised starts it: minimised and left inactive, then restored whole.
    // Its close box ends it; the menu's Exit ends the first. Both exit with
    // code 0.
    HWND active = GetForegroundWindow();
    ASSERT_TRUE(StartProgram(ZARVO_EXE, second, SW_SHOWMINNOACTIVE));
    WaitForInputIdle(second.hProcess, 5000);
    HWND other = WaitFor("ZARVO", 5000, second.dwProcessId);
    ASSERT_NE(static_cast<HWND>(NULL), other) << "no window for a second copy";
    EXPECT_TRUE(IsIconic(other)) << "not minimised, though started so";
    EXPECT_EQ(active, GetForegroundWindow()) << "activated, though started inactive";
    PostMessageA(other, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(other) && Shown(other) >= -1; }, 5000)) << "restored, not whole";
    EXPECT_TRUE(GetWindowRect(other, &now) && now.right - now.left == 120 && now.bottom - now.top == 56)
        << "restored at " << now.right - now.left << " x " << now.bottom - now.top;
    PostMessageA(other, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(0u, ExitCodeOf(second));
    Choose(w, 3);
    EXPECT_EQ(0u, ExitCodeOf(zarvo));
}

}  // namespace
