// Measures a running program from outside, under the same Wine:
//   probe startup EXE CLASS RRGGBB   ms from process start until the pixel at
//                                    client (11,15) of the window shows RRGGBB
//   probe readings EXE N             N figures zarvo.exe shows, one per redraw,
//                                    then "counter MHz": the time-stamp
//                                    counter's rate over the same span,
//                                    measured against the performance counter
//   probe cpu SECONDS EXE...         for each program running from the path
//                                    given, as it was started, the CPU time
//                                    it uses over SECONDS, in per cent of one
//                                    core
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cost.h"
#include "counter.h"
#include "screen.h"

namespace {

void Stop(PROCESS_INFORMATION &info, HWND window)
{
    if (window != NULL)
        PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0)
        TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

int Startup(const char *exe, const char *className, uint32_t rgb)
{
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    PROCESS_INFORMATION info = {};
    QueryPerformanceCounter(&start);
    if (!StartProgram(exe, info))
        return 1;
    HWND window = NULL;
    double ms = -1;
    for (double elapsed = 0; elapsed < 10000; Sleep(1)) {
        QueryPerformanceCounter(&now);
        elapsed = 1000.0 * (now.QuadPart - start.QuadPart) / frequency.QuadPart;
        if (window == NULL)
            window = WindowOf(info.dwProcessId, className);
        if (window != NULL && Capture(NULL, ClientArea(window, 12, 16, true))->at(11, 15) == rgb) {
            ms = elapsed;
            break;
        }
    }
    std::printf("%.1f\n", ms);
    Stop(info, window);
    return ms < 0;
}

int Readings(const char *exe, int count)
{
    CounterReading start = ReadCounter();
    PROCESS_INFORMATION info = {};
    if (!StartProgram(exe, info))
        return 1;
    HWND window = WaitForWindow(info.dwProcessId, "ZARVO", 10000);
    double last = -1;
    for (DWORD begun = GetTickCount(); count > 0 && GetTickCount() - begun < 60000u + count * 3000u; Sleep(50)) {
        double shown = ShownFigure(window);
        if (shown >= 0 && shown != last) {
            std::printf("%.2f\n", shown);
            std::fflush(stdout);
            last = shown;
            --count;
        }
    }
    std::printf("counter %.3f\n", CounterMHzSince(start));
    Stop(info, window);
    return count != 0;
}

int Cpu(int seconds, char **exes, int count)
{
    std::vector<double> before;
    for (int i = 0; i < count; ++i)
        before.push_back(ProgramCpuMs(exes[i]));
    Sleep(seconds * 1000);
    bool measured = true;
    for (int i = 0; i < count; ++i) {
        double used = ProgramCpuMs(exes[i]) - before[i];
        measured = measured && !std::isnan(used);
        std::printf("%.3f\n", used / (seconds * 10.0));
    }
    return measured ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv)
{
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "startup" && argc == 5)
        return Startup(argv[2], argv[3], std::strtoul(argv[4], nullptr, 16));
    if (mode == "readings" && argc == 4)
        return Readings(argv[2], std::atoi(argv[3]));
    if (mode == "cpu" && argc >= 4)
        return Cpu(std::atoi(argv[2]), argv + 3, argc - 3);
    std::fprintf(stderr, "usage: probe startup EXE CLASS RRGGBB | probe readings EXE N | probe cpu SECONDS EXE...\n");
    return 2;
}
