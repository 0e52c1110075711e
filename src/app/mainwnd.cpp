#include "mainwnd.h"

#include "../about/about.h"
#include "../measure/sampler.h"
#include "../readout/paint.h"
#include "resource.h"

HINSTANCE g_hInstance = NULL;
int g_bTopmost = 0;
int g_bVisited = 0;

static const char kClassName[] = "ZARVO";
static const char kTitle[] = "Zarvo!";

// Caption with system menu, close and minimise boxes; no sizing border and no
// maximise box, so the readout window keeps its size.
static const DWORD kMainStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
static const int kOuterWidth = 120;
static const int kOuterHeight = 56;
static const UINT kRefreshMs = 1500;

int InitInstance(HINSTANCE instance, int showState)
{
    g_hInstance = instance;
    g_bTopmost = 0;
    g_bVisited = 0;

    WNDCLASSA wc = {};
    wc.style = 0;
    wc.lpfnWndProc = MainWndProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    wc.hCursor = NULL;  // the pointer keeps whatever shape it comes in with
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc))
        return 0;

    // The outer size is fixed; it is never derived from the client area.
    HWND window = CreateWindowExA(0, kClassName, kTitle, kMainStyle, CW_USEDEFAULT, CW_USEDEFAULT, kOuterWidth, kOuterHeight,
                                  NULL, NULL, instance, NULL);
    if (window == NULL)
        return 0;

    ShowWindow(window, showState);
    UpdateWindow(window);
    return 1;
}

static void OnPaint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    PaintReadout(1, dc);
    EndPaint(window, &ps);
}

// Until the figure is valid the bars painted with the panel stay; afterwards
// each tick redraws only the six cells.
static void OnTimer(HWND window)
{
    if (g_bValid.load() == 0)
        return;
    HDC dc = GetDC(window);
    PaintReadout(0, dc);
    ReleaseDC(window, dc);
}

// The menu is loaded anew for each press and destroyed once the choice is made;
// its check mark shows the always-on-top state of the moment.
static void ShowPopupMenu(HWND window, LPARAM lParam)
{
    POINT at = {static_cast<LONG>(LOWORD(lParam)), static_cast<LONG>(HIWORD(lParam))};
    HMENU menu = LoadMenuA(g_hInstance, MAKEINTRESOURCEA(IDR_POPUP));
    HMENU popup = GetSubMenu(menu, 0);
    ClientToScreen(window, &at);
    CheckMenuItem(menu, IDM_TOPMOST, MF_BYCOMMAND | (g_bTopmost ? MF_CHECKED : MF_UNCHECKED));
    TrackPopupMenu(popup, 0, at.x, at.y, 0, window, NULL);
    DestroyMenu(menu);
}

static void ToggleTopmost(HWND window)
{
    HWND position;
    if (g_bTopmost) {
        g_bTopmost = 0;
        position = HWND_NOTOPMOST;
    } else {
        g_bTopmost = 1;
        position = HWND_TOPMOST;
    }
    SetWindowPos(window, position, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

// Returns true for the menu's own commands.
static bool OnCommand(HWND window, WORD id)
{
    switch (id) {
    case IDM_TOPMOST:
        ToggleTopmost(window);
        return true;
    case IDM_ABOUT:
        // Modal: the main window is disabled meanwhile, but its timer messages
        // still arrive through the box's message loop and the cells refresh.
        DialogBoxParamA(g_hInstance, MAKEINTRESOURCEA(IDD_ABOUT), window, AboutDlgProc, 0);
        return true;
    case IDM_EXIT:
        SendMessageA(window, WM_CLOSE, 0, 0);
        return true;
    default:
        return false;
    }
}

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        SetTimer(window, IDT_REFRESH, kRefreshMs, NULL);
        StartMeasuring();
        return 0;
    case WM_DESTROY:
        CloseMeasuringThread();
        KillTimer(window, IDT_REFRESH);
        PostQuitMessage(0);
        return 0;
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_TIMER:
        OnTimer(window);
        return 0;
    case WM_RBUTTONDOWN:
        ShowPopupMenu(window, lParam);
        return 0;
    case WM_COMMAND:
        if (OnCommand(window, LOWORD(wParam)))
            return 0;
        return DefWindowProcA(window, message, wParam, lParam);
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
