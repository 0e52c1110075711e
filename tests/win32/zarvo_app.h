// Drives the real zarvo.exe as a user would: starts it, finds its window,
// reads its pixels off the screen and closes it.
#ifndef ZARVO_TESTS_ZARVO_APP_H
#define ZARVO_TESTS_ZARVO_APP_H

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>

#include "canvas.h"

class ZarvoApp {
public:
    ZarvoApp();   // starts zarvo.exe and waits for its main window
    ~ZarvoApp();  // closes it if it still runs
    ZarvoApp(const ZarvoApp &) = delete;
    ZarvoApp &operator=(const ZarvoApp &) = delete;

    HWND window() const { return window_; }
    DWORD pid() const { return info_.dwProcessId; }
    DWORD startTick() const { return start_; }

    // Waits up to timeoutMs for the process to end; returns its exit code, or
    // STILL_ACTIVE if it did not end.
    DWORD WaitForExit(DWORD timeoutMs);

private:
    PROCESS_INFORMATION info_;
    HWND window_;
    DWORD start_;
};

// The visible top-level window of the class that belongs to the process, or null.
HWND FindTopLevel(DWORD pid, const char *className);

// The top-level window of class ZARVO that belongs to the process, or null.
HWND FindZarvoWindow(DWORD pid);

// What the screen shows of the window's client area from its origin: the
// panel's 114 x 32, or less where the client area is smaller and clips it.
std::unique_ptr<Canvas> CaptureReadout(HWND window);

// Reads the six cells back as readout text: a digit, '*' for the bar, ' ' for
// a blank cell, '?' for anything that is no glyph.
std::string ReadCells(const Canvas &capture);

// The figure the cells show, in MHz, or -1 if they show no figure.
double ShownMhz(const std::string &cells);

// Polls every 20 ms until done() or timeoutMs has passed; returns done().
bool WaitUntil(const std::function<bool()> &done, DWORD timeoutMs);

// The host's counter rate in MHz as Linux measured it (ZARVO_HOST_MHZ), or 0.
double HostCounterMhz();

// Expects a shown figure within 2% of the host's counter rate.
void ExpectCloseToHostRate(double shown);

// Waits for the cells to show a figure; returns it in MHz, or -1.
double WaitForFigure(HWND window, DWORD timeoutMs);

#endif

// Real input, as from the mouse and the keyboard.
void MoveMouseTo(POINT screen);
void ClickMouse(DWORD downFlag, DWORD upFlag);
void PressKeys(std::initializer_list<WORD> keys);
POINT ClientToScreenPoint(HWND window, int x, int y);

// The visible pop-up menu window, or null.
HWND FindOpenMenu();

// The top-level dialog window of the process, or null.
HWND FindDialogOf(DWORD pid);

// What the screen shows of a window's client area.
std::unique_ptr<Canvas> CaptureClient(HWND window);

// Waits for the ANSI text of /tmp/zarvo-browser.log, as the fake browser
// writes it; "" if nothing comes.
std::string BrowserLog(DWORD timeoutMs);
void ClearBrowserLog();
