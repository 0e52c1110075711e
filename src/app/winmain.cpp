#include "mainwnd.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showState)
{
    int r = InitInstance(instance, showState);
    if (r != 1)
        return r;

    MSG msg;
    // Only WM_QUIT (0) ends the loop; an error (-1) does not.
    while (GetMessageA(&msg, NULL, 0, 0) != 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
