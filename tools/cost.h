// What a program costs under Wine as Linux counts it: shared by the benchmark's
// probe and the Windows tests.
#ifndef ZARVO_TOOLS_COST_H
#define ZARVO_TOOLS_COST_H

#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

// Whether the process in FOLDER (Z:\proc\PID) runs in this Wine session:
// every program a session runs carries the session's folder in its
// environment (scripts/lib/wine-session.sh), so that a copy in a session
// beside this one, running the same file, is not counted.
inline bool OfThisSession(const std::string &folder)
{
    const char *session = std::getenv("ZARVO_SESSION_DIR");
    std::ifstream environment(folder + "\\environ");
    for (std::string entry; session != nullptr && std::getline(environment, entry, '\0');)
        if (entry == std::string("ZARVO_SESSION_DIR=") + session)
            return true;
    return session == nullptr;
}

// The CPU time, in ms, that Linux has counted for the processes Wine runs a
// program in, in this session, which Wine names by the program's path as it
// was started (Linux's /proc is Z:\proc under Wine): user and system time,
// the stat file's 14th and 15th fields, in hundredths of a second. Not a
// number while none runs.
inline double ProgramCpuMs(const std::string &exe)
{
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
    double ms = NAN;
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &entry)) {
        std::string folder = std::string("Z:\\proc\\") + entry.cFileName;
        std::string command;
        std::string stat;
        std::getline(std::ifstream(folder + "\\cmdline"), command, '\0');
        std::getline(std::ifstream(folder + "\\stat"), stat);
        std::istringstream fields(stat.substr(stat.rfind(')') + 1));
        std::string field;
        bool ours = command == exe && OfThisSession(folder);
        for (int i = 3; ours && i <= 15 && fields >> field; ++i)
            ms = (std::isnan(ms) ? 0 : ms) + (i >= 14 ? 10 * std::stod(field) : 0);
    }
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    return ms;
}

#endif
