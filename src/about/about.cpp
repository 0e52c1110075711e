#include "about.h"

#include "../app/globals.h"
#include "resource.h"

static const char kLinkAddress[] = ZARVO_LINK_ADDRESS;

static const COLORREF LINK_COLOR_NORMAL = 0x00FF0000;   // blue
static const COLORREF LINK_COLOR_VISITED = 0x00800080;  // purple

typedef HINSTANCE(WINAPI *ShellExecuteAProc)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);

// The shell is loaded only when the link is first clicked: linking it in would
// bring its whole family of libraries into every run of a program that mostly
// just shows a number. It stays loaded, since the browser it starts may still
// be using it when the call returns.
static void ShellOpen(HWND owner, const char *address)
{
    HMODULE shell = LoadLibraryA("shell32.dll");
    ShellExecuteAProc shellExecute =
        shell != NULL ? reinterpret_cast<ShellExecuteAProc>(reinterpret_cast<void *>(GetProcAddress(shell, "ShellExecuteA")))
                      : NULL;
    if (shellExecute != NULL)
        shellExecute(owner, "open", address, NULL, NULL, SW_SHOWNORMAL);
}

// The link stays purple for the rest of the run once clicked, across any
// number of openings of the box.
static void OpenLink(HWND dialog)
{
    g_bVisited = 1;
    HWND link = GetDlgItem(dialog, IDC_LINK);
    char address[256];
    GetWindowTextA(link, address, sizeof address);
    ShellOpen(dialog, address);
    InvalidateRect(link, NULL, FALSE);
}

static INT_PTR OnSetCursor(HWND dialog, HWND under)
{
    if (under != GetDlgItem(dialog, IDC_LINK))
        return FALSE;
    SetCursor(LoadCursorA(g_hInstance, MAKEINTRESOURCEA(IDC_LINKCURSOR)));
    // A dialog procedure hands a message's own result back through
    // DWL_MSGRESULT: TRUE stops the control from setting its arrow again.
    // (On 32-bit Windows this is SetWindowLongA with DWL_MSGRESULT.)
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, TRUE);
    return TRUE;
}

static INT_PTR OnCtlColorStatic(HWND dialog, HDC dc, HWND control)
{
    if (control == GetDlgItem(dialog, IDC_LINK)) {
        SetTextColor(dc, g_bVisited ? LINK_COLOR_VISITED : LINK_COLOR_NORMAL);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH));
    }
    // A system colour index + 1 stands in for a brush: the other statics get
    // their backgrounds filled with the button-face colour.
    return COLOR_BTNFACE + 1;
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        SetDlgItemTextA(dialog, IDC_LINK, kLinkAddress);
        return TRUE;
    case WM_SETCURSOR:
        return OnSetCursor(dialog, reinterpret_cast<HWND>(wParam));
    case WM_COMMAND:
        // Only the identifier counts: every notification from the link,
        // a double-click's included, is taken as a click. Esc (IDCANCEL)
        // does not close the box.
        switch (LOWORD(wParam)) {
        case IDOK:
            EndDialog(dialog, 0);
            return TRUE;
        case IDC_LINK:
            OpenLink(dialog);
            return FALSE;
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(dialog, 0);
        return TRUE;
    case WM_CTLCOLORSTATIC:
        return OnCtlColorStatic(dialog, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    default:
        return FALSE;
    }
}
