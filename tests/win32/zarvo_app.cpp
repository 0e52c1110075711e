#include "zarvo_app.h"

#include "readout/readout.h"

#include <cstdlib>

#include <gtest/gtest.h>

ZarvoApp::ZarvoApp() : info_(), window_(NULL), start_(GetTickCount())
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    char commandLine[] = "zarvo.exe";
    if (!CreateProcessA(ZARVO_EXE, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info_))
        return;
    WaitForInputIdle(info_.hProcess, 10000);
    WaitUntil([this] { return (window_ = FindZarvoWindow(info_.dwProcessId)) != NULL; }, 10000);
}

ZarvoApp::~ZarvoApp()
{
    if (info_.hProcess == NULL)
        return;
    if (WaitForExit(0) == STILL_ACTIVE) {
        if (window_ != NULL)
            PostMessageA(window_, WM_CLOSE, 0, 0);
        if (WaitForExit(5000) == STILL_ACTIVE)
            TerminateProcess(info_.hProcess, 1);
    }
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

DWORD ZarvoApp::WaitForExit(DWORD timeoutMs)
{
    DWORD code = STILL_ACTIVE;
    if (WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

namespace {

struct Search {
    DWORD pid;
    const char *className;
    HWND found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM param)
{
    Search *search = reinterpret_cast<Search *>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    if (pid == search->pid && lstrcmpA(name, search->className) == 0 && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND FindTopLevel(DWORD pid, const char *className)
{
    Search search = {pid, className, NULL};
    EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindZarvoWindow(DWORD pid)
{
    return FindTopLevel(pid, "ZARVO");
}

// At most maxWidth x maxHeight of what the screen shows from the window's
// client origin.
static std::unique_ptr<Canvas> CaptureFromClientOrigin(HWND window, int maxWidth, int maxHeight)
{
    RECT client;
    GetClientRect(window, &client);
    int width = client.right < maxWidth ? client.right : maxWidth;
    int height = client.bottom < maxHeight ? client.bottom : maxHeight;
    std::unique_ptr<Canvas> capture(new Canvas(width, height));
    POINT origin = ClientToScreenPoint(window, 0, 0);
    HDC screen = GetDC(NULL);
    BitBlt(capture->dc(), 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
    ReleaseDC(NULL, screen);
    GdiFlush();
    return capture;
}

std::unique_ptr<Canvas> CaptureReadout(HWND window)
{
    return CaptureFromClientOrigin(window, 114, 32);
}

std::unique_ptr<Canvas> CaptureClient(HWND window)
{
    return CaptureFromClientOrigin(window, 0x7FFF, 0x7FFF);
}

std::string ReadCells(const Canvas &capture)
{
    static const char kGlyphChar[12] = {'0', '1', '2', '3', '4', '5', '6', '7', '8', '9', '*', ' '};
    std::string text;
    for (int i = 0; i < kReadoutChars; ++i) {
        CellRect cell = ReadoutCellRect(i);
        char shown = '?';
        for (int g = 0; g < 12 && shown == '?'; ++g) {
            bool same = true;
            for (int y = 0; y < kCellHeight && same; ++y)
                for (int x = 0; x < kCellWidth && same; ++x)
                    same = capture.at(cell.x + x, cell.y + y) == RgbOf(CellPixel(g, x, y));
            if (same)
                shown = kGlyphChar[g];
        }
        text += shown;
    }
    return text;
}

double ShownMhz(const std::string &cells)
{
    if (cells.size() != 6 || cells.find_first_of("*?") != std::string::npos)
        return -1;
    std::string digits = cells;
    for (char &c : digits)
        if (c == ' ')
            c = '0';
    return std::atoi(digits.c_str()) / 100.0;
}

bool WaitUntil(const std::function<bool()> &done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeoutMs)
            return done();
        Sleep(20);
    }
    return true;
}

double HostCounterMhz()
{
    const char *mhz = std::getenv("ZARVO_HOST_MHZ");
    return mhz != nullptr ? std::atof(mhz) : 0;
}

void ExpectCloseToHostRate(double shown)
{
    double host = HostCounterMhz();
    if (host > 0) {
        EXPECT_NEAR(host, shown, host * 0.02) << "shown " << shown << " MHz, host " << host;
    } else {
        EXPECT_GT(shown, 100.0);
    }
}

double WaitForFigure(HWND window, DWORD timeoutMs)
{
    double mhz = -1;
    WaitUntil([&] { return (mhz = ShownMhz(ReadCells(*CaptureReadout(window)))) >= 0; }, timeoutMs);
    return mhz;
}

void MoveMouseTo(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
    Sleep(100);
}

void ClickMouse(DWORD downFlag, DWORD upFlag)
{
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = downFlag;
    clicks[1].mi.dwFlags = upFlag;
    SendInput(upFlag != 0 ? 2 : 1, clicks, sizeof(INPUT));
    Sleep(200);
}

void PressKeys(std::initializer_list<WORD> keys)
{
    for (WORD key : keys) {
        INPUT press[2] = {};
        press[0].type = press[1].type = INPUT_KEYBOARD;
        press[0].ki.wVk = press[1].ki.wVk = key;
        press[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, press, sizeof(INPUT));
        Sleep(150);
    }
}

POINT ClientToScreenPoint(HWND window, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(window, &p);
    return p;
}

HWND FindOpenMenu()
{
    HWND menu = FindWindowA("#32768", NULL);
    return menu != NULL && IsWindowVisible(menu) ? menu : NULL;
}

HWND FindDialogOf(DWORD pid)
{
    return FindTopLevel(pid, "#32770");
}

static const char kBrowserLog[] = "Z:\\tmp\\zarvo-browser.log";

std::string BrowserLog(DWORD timeoutMs)
{
    std::string text;
    WaitUntil([&] {
        HANDLE f = CreateFileA(kBrowserLog, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                               OPEN_EXISTING, 0, NULL);
        if (f == INVALID_HANDLE_VALUE)
            return false;
        char buffer[1024];
        DWORD got = 0;
        ReadFile(f, buffer, sizeof buffer, &got, NULL);
        CloseHandle(f);
        text.assign(buffer, got);
        return got > 0;
    }, timeoutMs);
    return text;
}

void ClearBrowserLog()
{
    DeleteFileA(kBrowserLog);
}
