// Measures a running program from outside, under the same Wine:
//   probe startup EXE CLASS RRGGBB   ms from process start until the pixel at
//                                    client (11,15) of the window shows RRGGBB
//   probe readings N                 N figures zarvo.exe shows, one per redraw
#include "zarvo_app.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

uint32_t ScreenPixel(HWND window, int x, int y)
{
    POINT p = ClientToScreenPoint(window, x, y);
    HDC screen = GetDC(NULL);
    COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(NULL, screen);
    return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

int Startup(const char *exe, const char *className, uint32_t rgb)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string commandLine = exe;
    QueryPerformanceCounter(&start);
    if (!CreateProcessA(exe, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info))
        return 1;
    HWND window = NULL;
    double ms = -1;
    while (true) {
        QueryPerformanceCounter(&now);
        double elapsed = 1000.0 * (now.QuadPart - start.QuadPart) / frequency.QuadPart;
        if (elapsed > 10000)
            break;
        if (window == NULL)
            window = FindTopLevel(info.dwProcessId, className);
        if (window != NULL && ScreenPixel(window, 11, 15) == rgb) {
            ms = elapsed;
            break;
        }
        Sleep(1);
    }
    std::printf("%.1f\n", ms);
    if (window != NULL)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return ms < 0;
}

int Readings(int count)
{
    ZarvoApp app;
    if (app.window() == NULL || WaitForFigure(app.window(), 8000) < 0)
        return 1;
    std::string last = ReadCells(*CaptureReadout(app.window()));
    for (int n = 0; n < count;) {
        std::string cells = ReadCells(*CaptureReadout(app.window()));
        if (cells != last && ShownMhz(cells) >= 0) {
            std::printf("%.2f\n", ShownMhz(cells));
            std::fflush(stdout);
            last = cells;
            ++n;
        }
        Sleep(50);
    }
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "startup" && argc == 5)
        return Startup(argv[2], argv[3], std::strtoul(argv[4], nullptr, 16));
    if (mode == "readings" && argc == 3)
        return Readings(std::atoi(argv[2]));
    std::fprintf(stderr, "usage: probe startup EXE CLASS RRGGBB | probe readings N\n");
    return 2;
}
