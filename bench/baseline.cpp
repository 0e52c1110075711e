// The yardstick for the benchmarks: the least a Win32 window program does.
// A 120 x 56 window that fills its client area with magenta and waits to be
// closed, built with the same compiler and options as zarvo.exe. Built with
// WITH_SLEEPING_THREAD it also starts a thread that only sleeps, to show what
// one more thread costs under Wine.
#include <windows.h>

#ifdef WITH_SLEEPING_THREAD
static DWORD WINAPI SleepForever(LPVOID)
{
    for (;;)
        Sleep(1000);
}
#endif

static LRESULT CALLBACK BaselineProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        HBRUSH brush = CreateSolidBrush(RGB(255, 0, 255));
        FillRect(dc, &ps.rcPaint, brush);
        DeleteObject(brush);
        EndPaint(window, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState)
{
#ifdef WITH_SLEEPING_THREAD
    CloseHandle(CreateThread(NULL, 0, SleepForever, NULL, 0, NULL));
#endif
    WNDCLASSA wc = {};
    wc.lpfnWndProc = BaselineProc;
    wc.hInstance = instance;
    wc.lpszClassName = "BASELINE";
    if (!RegisterClassA(&wc))
        return 0;
    HWND window = CreateWindowExA(0, "BASELINE", "Baseline", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 120, 56, NULL, NULL, instance, NULL);
    if (window == NULL)
        return 0;
    ShowWindow(window, showState);
    UpdateWindow(window);
    MSG msg;
    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
