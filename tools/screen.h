// Reading windows off the screen, and starting a program and finding its
// window, waiting with this thread's messages running: shared by the
// benchmark's probe and the Windows tests.
#ifndef ZARVO_TOOLS_SCREEN_H
#define ZARVO_TOOLS_SCREEN_H

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "readback.h"

// A 32-bit top-down bitmap in a memory context; pixels read as 0xRRGGBB.
struct Canvas {
    const int width, height;
    uint32_t *bits = nullptr;
    HDC dc = CreateCompatibleDC(NULL);
    HBITMAP bitmap;
    HGDIOBJ previous;
    Canvas(int w, int h, uint32_t fill = 0) : width(w), height(h)
    {
        BITMAPINFO info = {{sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
        bitmap = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, reinterpret_cast<void **>(&bits), NULL, 0);
        previous = SelectObject(dc, bitmap);
        if (bits != nullptr)  // none for a window that is gone
            std::fill(bits, bits + w * h, fill);
    }
    ~Canvas()
    {
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    uint32_t at(int x, int y) const
    {
        GdiFlush();
        return bits != nullptr ? bits[y * width + x] & 0xFFFFFF : 0;
    }
    // How many of its pixels are of the colour.
    int count(uint32_t rgb) const
    {
        int n = 0;
        for (int i = 0; i < width * height; ++i)
            n += at(i % width, i / width) == rgb;
        return n;
    }
};

// What the rectangle shows: on the screen for window NULL, else through the
// window's own context (what a window of this process drew there reaches the
// screen only later).
inline std::unique_ptr<Canvas> Capture(HWND window, const RECT &r)
{
    std::unique_ptr<Canvas> shot(new Canvas(r.right - r.left, r.bottom - r.top));
    HDC dc = GetDC(window);
    BitBlt(shot->dc, 0, 0, shot->width, shot->height, dc, r.left, r.top, SRCCOPY);
    ReleaseDC(window, dc);
    return shot;
}

// A window's client area, at most width x height, in its own coordinates or
// the screen's.
inline RECT ClientArea(HWND window, LONG width, LONG height, bool onScreen)
{
    RECT r = {0, 0, 0, 0};
    GetClientRect(window, &r);
    r.right = std::min(r.right, width);
    r.bottom = std::min(r.bottom, height);
    if (onScreen)
        MapWindowPoints(window, NULL, reinterpret_cast<POINT *>(&r), 2);
    return r;
}

// The readout a picture of the main window's client area shows, as the text
// of its cells, or "" where anything but the panel and six glyphs shows.
inline std::string ReadoutIn(const Canvas &shot)
{
    return ReadPanel([&](int x, int y) { return shot.at(x, y); }, shot.width, shot.height);
}

// The figure a main window's readout shows on the screen, -1 while any bar
// shows, -2 where anything but the panel and six glyphs shows (a redraw
// caught half done included).
inline double ShownFigure(HWND window)
{
    std::string cells = ReadoutIn(*Capture(NULL, ClientArea(window, 114, 32, true)));
    if (cells.empty())
        return -2;
    if (cells.find('*') != std::string::npos)
        return -1;
    return std::atof(cells.c_str()) / 100;
}

// Starts a program with its own path and the arguments given as the command
// line, in the show state given, as a shortcut or "start /min" asks for one,
// or else in its default, and at the place on the screen given, as a
// launcher may ask for one.
inline bool StartProgram(const char *exe, PROCESS_INFORMATION &info, int showState = -1, POINT at = {-1, -1},
                         const std::string &arguments = "")
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (showState >= 0) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(showState);
    }
    if (at.x >= 0) {
        startup.dwFlags |= STARTF_USEPOSITION;
        startup.dwX = at.x;
        startup.dwY = at.y;
    }
    std::string commandLine = exe + arguments;
    return CreateProcessA(exe, &commandLine[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info);
}

// Runs this thread's messages until done() or timeoutMs has passed, even
// while they never run out (a window that never stops painting); returns
// done().
inline bool WaitUntil(const std::function<bool()> &done, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); !done();) {
        if (GetTickCount() - start >= timeoutMs)
            return done();
        MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
        for (MSG msg; GetTickCount() - start < timeoutMs && PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE);)
            DispatchMessageA(&msg);
    }
    return true;
}

// A visible top-level window of the class that belongs to the process, or null.
inline HWND WindowOf(DWORD pid, const char *className)
{
    DWORD owner = 0;
    for (HWND w = NULL; (w = FindWindowExA(NULL, w, className, NULL)) != NULL;)
        if (GetWindowThreadProcessId(w, &owner) && owner == pid && IsWindowVisible(w))
            return w;
    return NULL;
}

// The same, waited for up to timeoutMs.
inline HWND WaitForWindow(DWORD pid, const char *className, DWORD timeoutMs = 5000)
{
    HWND found = NULL;
    WaitUntil([&] { return (found = WindowOf(pid, className)) != NULL; }, timeoutMs);
    return found;
}

#endif
