// What the Windows tests share beside the screen reading they have in common
// with the benchmark: waiting, with this thread's messages running.
#ifndef ZARVO_TESTS_HARNESS_H
#define ZARVO_TESTS_HARNESS_H

#include <windows.h>

#include <functional>

#include "screen.h"

// Runs this thread's messages until done() or timeoutMs has passed; returns
// done().
inline bool WaitUntil(const std::function<bool()> &done, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); !done();) {
        if (GetTickCount() - start >= timeoutMs)
            return done();
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
        for (MSG msg; PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE);)
            DispatchMessageA(&msg);
    }
    return true;
}

#endif
