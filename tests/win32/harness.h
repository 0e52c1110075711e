// What the Windows tests share: a canvas to paint into or capture the screen
// into, the readout read back from the screen, and waiting for windows.
#ifndef ZARVO_TESTS_HARNESS_H
#define ZARVO_TESTS_HARNESS_H

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "imagerules.h"

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
        std::fill(bits, bits + w * h, fill);
    }
    ~Canvas() { SelectObject(dc, previous), DeleteDC(dc), DeleteObject(bitmap); }
    uint32_t at(int x, int y) const { return GdiFlush(), bits[y * width + x] & 0xFFFFFF; }
};

// What a window's client area shows, at most width x height: off the screen,
// or, for a window of this process, through its own context (what it drew
// there reaches the screen only later).
inline std::unique_ptr<Canvas> Capture(HWND window, LONG width = 4096, LONG height = 4096, bool own = false)
{
    RECT client;
    GetClientRect(window, &client);
    std::unique_ptr<Canvas> shot(new Canvas(std::min(width, client.right), std::min(height, client.bottom)));
    POINT origin = {0, 0};
    HWND from = own ? window : NULL;
    if (!own)
        ClientToScreen(window, &origin);
    HDC dc = GetDC(from);
    BitBlt(shot->dc, 0, 0, shot->width, shot->height, dc, origin.x, origin.y, SRCCOPY);
    ReleaseDC(from, dc);
    return shot;
}

// The readout the main window shows as the text of its cells, or "" where
// anything but the panel and six glyphs shows.
inline std::string ShownReadout(HWND window, bool own = false)
{
    std::unique_ptr<Canvas> shot = Capture(window, 114, 32, own);
    return ReadPanel([&](int x, int y) { return shot->at(x, y); }, shot->width, shot->height);
}

// Polls every 20 ms until done() or timeoutMs has passed; returns done().
inline bool WaitUntil(const std::function<bool()> &done, DWORD timeoutMs)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(20))
        if (GetTickCount() - start >= timeoutMs)
            return done();
    return true;
}

// A visible top-level window of the class that belongs to the process,
// waited for up to timeoutMs; null if none came.
inline HWND WaitForWindow(const char *className, DWORD pid, DWORD timeoutMs = 5000)
{
    HWND found = NULL;
    WaitUntil(
        [&] {
            DWORD owner = 0;
            while ((found = FindWindowExA(NULL, found, className, NULL)) != NULL)
                if (GetWindowThreadProcessId(found, &owner) && owner == pid && IsWindowVisible(found))
                    return true;
            return false;
        },
        timeoutMs);
    return found;
}

#endif
