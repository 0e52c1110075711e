// What the Windows tests share beside the screen reading and the waiting they
// have in common with the benchmark: the counter's rate as a reference, the
// window's frame, and the table of
// properties that must hold in every state the program can be brought into.
#ifndef ZARVO_TESTS_HARNESS_H
#define ZARVO_TESTS_HARNESS_H

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <sstream>
#include <vector>

#include "counter.h"
#include "screen.h"

// "" while a figure in MHz is the counter's rate since then. The program's
// second is a sleep, which never ends early but may end late, and the
// counter counts on meanwhile: a right figure reads low only by its last
// digit, and high by a late wake-up (20 ms on a busy machine).
inline std::string Accurate(double mhz, const CounterReading &then)
{
    double reference = CounterMHzSince(then);
    bool within = mhz >= reference * 0.995 && mhz <= reference * 1.02;
    return within ? "" : std::to_string(mhz) + " MHz for a counter at " + std::to_string(reference) + " MHz";
}

// "" while the process runs in the normal priority class, as it started.
inline std::string NormalClass(HANDLE process)
{
    std::string now = std::to_string(GetPriorityClass(process));
    return now == std::to_string(NORMAL_PRIORITY_CLASS) ? "" : "the process runs in priority class " + now;
}

// What the window is beside what it shows: its style and extended style,
// with the bits given taken away, its outer size, the class's icon and any
// icon set on the window itself.
inline std::string Frame(HWND window, LONG style = 0, LONG extended = 0)
{
    RECT r = {};
    GetWindowRect(window, &r);
    std::ostringstream frame;
    frame << std::hex << "style " << (GetWindowLongA(window, GWL_STYLE) ^ style);
    frame << ", extended " << (GetWindowLongA(window, GWL_EXSTYLE) ^ extended);
    frame << std::dec << ", " << r.right - r.left << " x " << r.bottom - r.top;
    frame << ", icons " << GetClassLongPtrA(window, GCLP_HICON) << " " << SendMessageA(window, WM_GETICON, ICON_BIG, 0);
    return frame.str();
}

// "" while the window's frame is the one it started with, but on top as the
// test has asked, and disabled while a modal box is open.
inline std::string FrameAgrees(HWND window, const std::string &started, bool onTop, bool modal)
{
    std::string now = Frame(window, modal ? WS_DISABLED : 0, onTop ? WS_EX_TOPMOST : 0);
    return now == started ? "" : Frame(window) + ", not " + started + (onTop ? " on top" : "") + (modal ? " disabled" : "");
}

// A property the program must have, and its check: "" or what is wrong.
using Property = std::pair<const char *, std::function<std::string()>>;

// With ZARVO_STOP_AT_FIRST_FAILURE set (scripts/faults sets it), a test
// program ends at its first failure, once the state it showed in has been
// checked whole: a seeded fault is proven there, and what follows would only
// wait out its timeouts.
inline bool g_checkingState = false;
struct StopAtFirstFailure : testing::EmptyTestEventListener {
    void OnTestPartResult(const testing::TestPartResult &result) override
    {
        if (result.failed() && !g_checkingState && std::getenv("ZARVO_STOP_AT_FIRST_FAILURE") != nullptr)
            std::exit(1);
    }
};
inline const bool g_stopping = [] {
    testing::UnitTest::GetInstance()->listeners().Append(new StopAtFirstFailure);
    return true;
}();

// Checks the properties of the table whose bits are set in columns in the
// state the test has brought the program into; each that fails is named
// with the state.
inline void ExpectHolds(const char *state, const std::vector<Property> &table, unsigned columns)
{
    g_checkingState = true;
    for (size_t i = 0; i < table.size(); ++i) {
        std::string wrong = columns >> i & 1 ? table[i].second() : "";
        if (!wrong.empty())
            ADD_FAILURE() << state << ": " << table[i].first << ": " << wrong;
    }
    g_checkingState = false;
    if (testing::Test::HasFailure() && std::getenv("ZARVO_STOP_AT_FIRST_FAILURE") != nullptr)
        std::exit(1);
}

#endif
