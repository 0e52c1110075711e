// The program's own procedures in this process, where the screen cannot tell:
// objects given back, thread priority, the refresh period, the menu's check
// mark, what a repaint and a tick draw, and the resources of the shipped file
// as the system reads them.
#include "about/about.h"
#include "app/mainwnd.h"
#include "harness.h"
#include "measure/sampler.h"
#include "readout/paint.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

// Handles the program took and has not given back, and all it ever took.
static std::vector<void *> g_live, g_taken;
void *Take(void *handle)
{
    if (handle != NULL)
        g_live.push_back(handle), g_taken.push_back(handle);
    return handle;
}
void GiveBack(void *h) { g_live.erase(std::remove(g_live.begin(), g_live.end(), h), g_live.end()); }

namespace {

// What reaches the main window's procedure: the refresh timer's messages; each
// opened menu, whose check mark is read before it is closed again; and the
// About box, painted and pointed at many times and its link clicked, then closed.
std::vector<DWORD> g_ticks;
std::vector<UINT> g_checkMarks;
HCURSOR g_linkCursor;
WNDPROC g_mainProc;
LRESULT CALLBACK Spy(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    static HWND about;
    HWND opened = reinterpret_cast<HWND>(lParam), link = GetDlgItem(opened, IDC_LINK);
    if (message == WM_TIMER)
        g_ticks.push_back(GetTickCount());
    if (message == WM_ENTERIDLE && wParam == MSGF_MENU) {
        HMENU popup = reinterpret_cast<HMENU>(SendMessageA(opened, MN_GETHMENU, 0, 0));
        g_checkMarks.push_back(GetMenuState(popup, IDM_TOPMOST, MF_BYCOMMAND) & MF_CHECKED);
        EndMenu();
    }
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX && opened != about) {
        for (int i = 0; i < 100; ++i) {
            RedrawWindow(opened, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            SendMessageA(opened, WM_SETCURSOR, WPARAM(i % 2 ? link : opened), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        }
        g_linkCursor = GetCursor();
        SendMessageA(opened, WM_COMMAND, MAKEWPARAM(IDC_LINK, STN_CLICKED), LPARAM(link));
        PostMessageA(about = opened, WM_CLOSE, 0, 0);
    }
    return CallWindowProcA(g_mainProc, window, message, wParam, lParam);
}

TEST(MainWindow, LivesLongGivingBackEverythingItTakes)
{
    HINSTANCE self = GetModuleHandleA(NULL);
    ASSERT_EQ(1, InitInstance(self, SW_SHOWNORMAL));
    HWND window = FindWindowA("ZARVO", "Zarvo!");
    WNDCLASSA wc = {};
    ASSERT_TRUE(GetClassInfoA(self, "ZARVO", &wc));
    EXPECT_TRUE(wc.style == 0 && wc.hCursor == NULL && wc.hIcon != NULL) << "no cursor of its own";
    EXPECT_EQ(GetStockObject(LTGRAY_BRUSH), wc.hbrBackground) << "light grey beyond the panel";
    EXPECT_EQ(THREAD_PRIORITY_HIGHEST, GetThreadPriority(g_hThread));

    // Three refresh ticks, 1.5 s apart on average.
    g_mainProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(window, GWLP_WNDPROC, LONG_PTR(Spy)));
    for (MSG msg; g_ticks.size() < 3 && MsgWaitForMultipleObjects(0, NULL, FALSE, 5000, QS_ALLINPUT) == WAIT_OBJECT_0;)
        while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    ASSERT_EQ(3u, g_ticks.size()) << "the refresh timer stopped";
    EXPECT_NEAR(1500, (g_ticks[2] - g_ticks[0]) / 2.0, 150) << "refresh period, ms";
    g_bRunning.store(0);  // hold the figure still: the thread ends after its sleep
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_hThread, 3000)) << "the measuring loop runs";

    // A full repaint draws the panel and the latest figure, every glyph as its rules say.
    for (const char *text : {"******", "   000", "123456", "457890"}) {
        g_bValid.store(text[0] != '*'), g_dwRate.store(std::atoi(text));
        RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        EXPECT_EQ(text, ShownReadout(window, true));
    }

    // A tick redraws the six cells over whatever the window shows, and nothing else.
    Canvas cover(114, 25, 0x123456);
    HDC dc = GetDC(window);
    BitBlt(dc, 0, 0, 114, 25, cover.dc, 0, 0, SRCCOPY);
    ReleaseDC(window, dc);
    SendMessageA(window, WM_TIMER, IDT_REFRESH, 0);
    std::unique_ptr<Canvas> shot = Capture(window, 114, 25, true);
    int untouched = 0;
    for (int i = 0; i < 114 * 25; ++i)
        untouched += shot->at(i % 114, i / 114) == 0x123456;
    EXPECT_EQ("457890", ReadCells([&](int x, int y) { return shot->at(x, y); }));
    EXPECT_EQ(114 * 25 - 6 * 11 * 19, untouched) << "pixels a tick left alone";

    auto checkMark = [&] {
        return g_checkMarks.push_back(2), SendMessageA(window, WM_RBUTTONDOWN, 0, MAKELPARAM(30, 10)), g_checkMarks.back();
    };
    g_live.clear(), g_taken.clear();
    for (int i = 1; i <= 2000; ++i) {
        g_dwRate.store(i * 7919u % 1000000u);
        SendMessageA(window, WM_TIMER, IDT_REFRESH, 0);
        if (i % 100 == 0)
            RedrawWindow(window, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    }
    EXPECT_EQ(0u, checkMark());
    SendMessageA(window, WM_COMMAND, IDM_TOPMOST, 0);
    EXPECT_EQ(UINT(MF_CHECKED), checkMark()) << "kept on top";
    SendMessageA(window, WM_COMMAND, IDM_TOPMOST, 0);
    EXPECT_EQ(0u, checkMark());
    SendMessageA(window, WM_COMMAND, IDM_ABOUT, 0);
    EXPECT_EQ(LoadCursorA(self, MAKEINTRESOURCEA(IDC_LINKCURSOR)), g_linkCursor) << "the program's hand over the link";
    EXPECT_GE(g_taken.size(), 3 * 2000 + 4 * 20 + 3u) << "what ticks, repaints and menus take";
    EXPECT_TRUE(g_live.empty()) << g_live.size() << " objects kept";
    for (void *h : g_taken) {  // and the system agrees they are gone (window contexts stay cached)
        DWORD type = GetObjectType(h);
        ASSERT_FALSE(type == OBJ_BITMAP || type == OBJ_MEMDC || IsMenu(static_cast<HMENU>(h))) << h;
    }

    DestroyWindow(window);
    UnregisterClassA("ZARVO", self);
}

// The resources of the shipped zarvo.exe, as the system reads them.
const HMODULE file_ = LoadLibraryExA(ZARVO_SHIPPED_EXE, NULL, LOAD_LIBRARY_AS_DATAFILE);

TEST(ShippedFile, AboutTemplateHasItsStylesRectanglesFontAndControls)
{
    HRSRC found = FindResourceA(file_, MAKEINTRESOURCEA(IDD_ABOUT), MAKEINTRESOURCEA(5));
    const WORD *p = static_cast<const WORD *>(LockResource(LoadResource(file_, found)));
    ASSERT_NE(nullptr, p);
    std::wstring seen;
    auto dword = [&](int n) {
        for (wchar_t hex[12]; n > 0; --n, p += 2)
            swprintf(hex, 12, L"%lX ", p[0] | DWORD(p[1]) << 16), seen += hex;
    };
    auto word = [&](int n) {
        for (; n > 0; --n)
            seen += std::to_wstring(short(*p++)) + L" ";
    };
    auto text = [&](int n) {
        for (; n > 0; --n) {
            std::wstring s = *p == 0xFFFF ? L"#" + std::to_wstring(p[1]) : reinterpret_cast<const wchar_t *>(p);
            p += *p == 0xFFFF ? 2 : s.size() + 1;
            seen += L"[" + s + L"] ";
        }
    };
    dword(2), word(5), text(3), word(1), text(1);
    for (int count = 8; count > 0 && seen.size() < 1000; --count) {
        p += (reinterpret_cast<uintptr_t>(p) & 2) / 2;  // each control starts on a DWORD
        seen += L"\n", dword(2), word(5), text(2);
        p += 1 + *p / 2;  // creation data
    }
    EXPECT_EQ(L"90C800C4 0 8 0 0 154 101 [] [] [ZARVO! について] 9 [ＭＳ Ｐゴシック] "
              L"\n50010300 0 50 80 50 14 1 [BUTTON] [OK] "
              L"\n50000003 0 4 4 18 21 3002 [STATIC] [#1101] "
              L"\n50000000 0 32 8 56 10 3011 [STATIC] [ZARVO! Ver 1.10] "
              L"\n50000000 0 32 24 120 10 3012 [STATIC] [Copyright (C) 2026 Zarvo! team] "
              L"\n50000000 0 32 36 116 10 3013 [STATIC] [All rights reserved.] "
              L"\n50000012 0 4 72 144 1 3003 [STATIC] [] "
              L"\n50000000 0 32 54 16 8 3014 [STATIC] [URL] "
              L"\n50000100 0 50 54 98 16 3101 [STATIC] [http://zarvo.example.org/] ",
              seen);
}

TEST(ShippedFile, MenuAndVersionSayWhatTheProgramIs)
{
    HMENU menu = LoadMenuA(file_, MAKEINTRESOURCEA(IDR_POPUP)), popup = GetSubMenu(menu, 0);
    wchar_t text[64] = L"";
    std::wstring seen;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        GetMenuStringW(popup, i, text, 64, MF_BYPOSITION);
        UINT state = GetMenuState(popup, i, MF_BYPOSITION);
        seen +=
            state & MF_SEPARATOR ? L"-|" : std::to_wstring(GetMenuItemID(popup, i)) + text + std::to_wstring(state) + L"|";
    }
    GetMenuStringW(menu, 0, text, 64, MF_BYPOSITION);
    EXPECT_EQ(L"2101常に手前に表示0|-|2102Zarvo!について0|-|2109終了0|DUMMY", seen + text);
    DestroyMenu(menu);

    std::vector<char> block(GetFileVersionInfoSizeA(ZARVO_SHIPPED_EXE, NULL));
    ASSERT_TRUE(GetFileVersionInfoA(ZARVO_SHIPPED_EXE, 0, block.size(), block.data()));
    DWORD *v = nullptr;
    UINT size = 0;
    VerQueryValueA(block.data(), "\\", reinterpret_cast<void **>(&v), &size);
    EXPECT_TRUE(v[2] == 0x10001 && v[3] == 0 && v[4] == 0x10001 && v[5] == 0) << "version 1.1.0.0";
    EXPECT_TRUE(v[8] == VOS_NT_WINDOWS32 && v[9] == VFT_APP) << "an application for Windows NT";
    VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void **>(&v), &size);
    EXPECT_EQ(0x03A40411u, *v) << "Japanese, code page 932";
    seen.clear();
    for (const wchar_t *key : {L"FileDescription", L"FileVersion", L"InternalName", L"OriginalFilename", L"CompanyName",
                               L"LegalCopyright", L"ProductName", L"ProductVersion"}) {
        wchar_t *value = nullptr;
        std::wstring path = std::wstring(L"\\StringFileInfo\\041103A4\\") + key;
        seen += VerQueryValueW(block.data(), path.c_str(), reinterpret_cast<void **>(&value), &size)
                    ? std::wstring(value) + L"|"
                    : L"none|";
    }
    EXPECT_EQ(L"ＣＰＵ速度測定ツール|1.10|ZARVO!|zarvo!.exe|Zarvo! team|"
              L"Copyright (C) 2026 Zarvo! team|none|none|",
              seen);
}

}  // namespace
