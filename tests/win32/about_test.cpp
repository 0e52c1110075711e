// The About box's template and procedure, and the menu template, in-process.
#include "about/about.h"
#include "app/globals.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Reads a classic dialog template the way the dialog manager does.
struct TemplateReader {
    const WORD *p;
    DWORD Dword() { DWORD v = p[0] | (DWORD(p[1]) << 16); p += 2; return v; }
    WORD Word() { return *p++; }
    short Short() { return static_cast<short>(*p++); }
    std::wstring String()
    {
        std::wstring s;
        while (*p != 0)
            s += wchar_t(*p++);
        ++p;
        return s;
    }
    // A string, or "#N" for an ordinal.
    std::wstring NameOrOrdinal()
    {
        if (*p == 0xFFFF) {
            p++;
            return L"#" + std::to_wstring(Word());
        }
        return String();
    }
    void AlignDword()
    {
        while (reinterpret_cast<uintptr_t>(p) % 4 != 0)
            ++p;
    }
};

// The dialog manager takes a predefined class by name or by its ordinal.
std::wstring PredefinedClass(const std::wstring &cls)
{
    if (lstrcmpiW(cls.c_str(), L"BUTTON") == 0)
        return L"#128";
    if (lstrcmpiW(cls.c_str(), L"STATIC") == 0)
        return L"#130";
    return cls;
}

struct ControlTemplate {
    DWORD style;
    short x, y, cx, cy;
    WORD id;
    std::wstring cls, text;
};

TEST(AboutTemplate, IsTheClassicTemplateWithEightControlsInOrder)
{
    HMODULE module = GetModuleHandleA(NULL);
    HRSRC res = FindResourceA(module, MAKEINTRESOURCEA(IDD_ABOUT), MAKEINTRESOURCEA(5));  // RT_DIALOG
    ASSERT_NE(static_cast<HRSRC>(NULL), res);
    TemplateReader r = {static_cast<const WORD *>(LockResource(LoadResource(module, res)))};
    ASSERT_NE(0xFFFF, r.p[1]) << "not an extended template";

    EXPECT_EQ(0x90C800C4u, r.Dword()) << "style";
    EXPECT_EQ(0u, r.Dword()) << "extended style";
    WORD count = r.Word();
    EXPECT_EQ(8, count);
    EXPECT_EQ(0, r.Short());
    EXPECT_EQ(0, r.Short());
    EXPECT_EQ(154, r.Short());
    EXPECT_EQ(101, r.Short());
    EXPECT_EQ(L"", r.NameOrOrdinal()) << "no menu";
    EXPECT_EQ(L"", r.NameOrOrdinal()) << "default dialog class";
    EXPECT_EQ(L"ZARVO! について", r.String());
    EXPECT_EQ(9, r.Word()) << "points";
    EXPECT_EQ(L"ＭＳ Ｐゴシック", r.String());

    const ControlTemplate expected[8] = {
        {0x50010300, 50, 80, 50, 14, IDOK, L"#128", L"OK"},
        {0x50000003, 4, 4, 18, 21, 3002, L"#130", L"#1101"},
        {0x50000000, 32, 8, 56, 10, 3011, L"#130", L"ZARVO! Ver 1.10"},
        {0x50000000, 32, 24, 120, 10, 3012, L"#130", L"Copyright (C) 2026 Zarvo! developers"},
        {0x50000000, 32, 36, 116, 10, 3013, L"#130", L"All rights reserved."},
        {0x50000012, 4, 72, 144, 1, 3003, L"#130", L""},
        {0x50000000, 32, 54, 16, 8, 3014, L"#130", L"URL"},
        {0x50000100, 50, 54, 98, 16, IDC_LINK, L"#130", L"http://zarvo.example.org/"},
    };
    for (int i = 0; i < count && i < 8; ++i) {
        r.AlignDword();
        ControlTemplate c;
        c.style = r.Dword();
        EXPECT_EQ(0u, r.Dword()) << "control " << i << " extended style";
        c.x = r.Short(); c.y = r.Short(); c.cx = r.Short(); c.cy = r.Short();
        c.id = r.Word();
        c.cls = PredefinedClass(r.NameOrOrdinal());
        c.text = r.NameOrOrdinal();
        WORD extra = r.Word();  // bytes of creation data
        r.p += extra / 2;
        const ControlTemplate &e = expected[i];
        EXPECT_EQ(e.id, c.id) << "control " << i;
        EXPECT_EQ(e.style, c.style) << "control " << i;
        EXPECT_EQ(e.x, c.x) << "control " << i;
        EXPECT_EQ(e.y, c.y) << "control " << i;
        EXPECT_EQ(e.cx, c.cx) << "control " << i;
        EXPECT_EQ(e.cy, c.cy) << "control " << i;
        EXPECT_EQ(e.cls, c.cls) << "control " << i;
        EXPECT_EQ(e.text, c.text) << "control " << i;
        EXPECT_EQ(i == 0, (c.style & WS_TABSTOP) != 0) << "OK is the only tab stop";
    }
}

TEST(PopupMenuTemplate, HoldsThreeCommandsBetweenSeparatorsWithoutState)
{
    HMENU menu = LoadMenuA(GetModuleHandleA(NULL), MAKEINTRESOURCEA(IDR_POPUP));
    ASSERT_NE(static_cast<HMENU>(NULL), menu);
    ASSERT_EQ(1, GetMenuItemCount(menu));
    wchar_t title[32] = L"";
    GetMenuStringW(menu, 0, title, 32, MF_BYPOSITION);
    EXPECT_STREQ(L"DUMMY", title);

    HMENU popup = GetSubMenu(menu, 0);
    struct { UINT id; const wchar_t *text; } items[5] = {
        {IDM_TOPMOST, L"常に手前に表示"}, {0, nullptr}, {IDM_ABOUT, L"Zarvo!について"},
        {0, nullptr}, {IDM_EXIT, L"終了"}};
    ASSERT_EQ(5, GetMenuItemCount(popup));
    for (int i = 0; i < 5; ++i) {
        UINT state = GetMenuState(popup, i, MF_BYPOSITION);
        if (items[i].text == nullptr) {
            EXPECT_TRUE(state & MF_SEPARATOR) << "item " << i;
            continue;
        }
        EXPECT_EQ(items[i].id, GetMenuItemID(popup, i)) << "item " << i;
        EXPECT_EQ(0u, state) << "item " << i << " has no check mark or other state";
        wchar_t text[64] = L"";
        GetMenuStringW(popup, i, text, 64, MF_BYPOSITION);
        EXPECT_STREQ(items[i].text, text) << "item " << i;
    }
    // Read through the ANSI calls the texts come in code page 932.
    char exitText[16] = "";
    GetMenuStringA(popup, IDM_EXIT, exitText, sizeof exitText, MF_BYCOMMAND);
    EXPECT_STREQ("\x8F\x49\x97\xB9", exitText) << "終了 in Shift-JIS";
    DestroyMenu(menu);
}

class AboutDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_hInstance = GetModuleHandleA(NULL);
        g_bVisited = 0;
        dialog_ = CreateDialogParamA(g_hInstance, MAKEINTRESOURCEA(IDD_ABOUT), NULL, AboutDlgProc, 0);
        ASSERT_NE(static_cast<HWND>(NULL), dialog_);
        link_ = GetDlgItem(dialog_, IDC_LINK);
        dc_ = CreateCompatibleDC(NULL);
    }
    void TearDown() override
    {
        DeleteDC(dc_);
        DestroyWindow(dialog_);
    }
    INT_PTR Send(UINT message, WPARAM wParam, LPARAM lParam)
    {
        return AboutDlgProc(dialog_, message, wParam, lParam);
    }
    HWND dialog_ = NULL;
    HWND link_ = NULL;
    HDC dc_ = NULL;
};

TEST_F(AboutDialogTest, LinkShowsTheAddress)
{
    char text[256] = "";
    GetWindowTextA(link_, text, sizeof text);
    EXPECT_STREQ("http://zarvo.example.org/", text);
}

TEST_F(AboutDialogTest, PointerOverTheLinkIsTheHandWithItsHotSpotAtTheCorner)
{
    HCURSOR hand = LoadCursorA(g_hInstance, MAKEINTRESOURCEA(IDC_LINKCURSOR));
    SetCursor(LoadCursorA(NULL, IDC_ARROW));
    SetWindowLongA(dialog_, DWL_MSGRESULT, FALSE);
    EXPECT_EQ(TRUE, Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(link_), HTCLIENT));
    EXPECT_EQ(hand, GetCursor());
    EXPECT_EQ(TRUE, GetWindowLongA(dialog_, DWL_MSGRESULT)) << "message result set";

    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(hand, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(0u, info.xHotspot);
    EXPECT_EQ(0u, info.yHotspot);
    DeleteObject(info.hbmMask);
    if (info.hbmColor != NULL)
        DeleteObject(info.hbmColor);

    SetCursor(LoadCursorA(NULL, IDC_ARROW));
    HWND ok = GetDlgItem(dialog_, IDOK);
    EXPECT_EQ(FALSE, Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(ok), HTCLIENT));
    EXPECT_EQ(FALSE, Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(dialog_), HTCLIENT));
    EXPECT_NE(hand, GetCursor()) << "elsewhere the pointer is left alone";
}

TEST_F(AboutDialogTest, LinkIsBlueUntilVisitedThenPurple)
{
    SetTextColor(dc_, RGB(1, 2, 3));
    INT_PTR brush = Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc_), reinterpret_cast<LPARAM>(link_));
    EXPECT_EQ(reinterpret_cast<INT_PTR>(GetStockObject(NULL_BRUSH)), brush);
    EXPECT_EQ(RGB(0, 0, 255), GetTextColor(dc_));
    EXPECT_EQ(TRANSPARENT, GetBkMode(dc_));

    g_bVisited = 1;
    Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc_), reinterpret_cast<LPARAM>(link_));
    EXPECT_EQ(RGB(128, 0, 128), GetTextColor(dc_));
}

TEST_F(AboutDialogTest, OtherStaticsGetTheButtonFaceAndAnUntouchedContext)
{
    SetTextColor(dc_, RGB(1, 2, 3));
    SetBkMode(dc_, OPAQUE);
    for (int id : {3002, 3003, 3011, 3012, 3013, 3014}) {
        HWND control = GetDlgItem(dialog_, id);
        ASSERT_NE(static_cast<HWND>(NULL), control) << id;
        EXPECT_EQ(COLOR_BTNFACE + 1,
                  Send(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc_), reinterpret_cast<LPARAM>(control)));
        EXPECT_EQ(RGB(1, 2, 3), GetTextColor(dc_));
        EXPECT_EQ(OPAQUE, GetBkMode(dc_));
    }
}

TEST_F(AboutDialogTest, EscapeAndUnknownCommandsLeaveTheBoxOpen)
{
    EXPECT_EQ(FALSE, Send(WM_COMMAND, IDCANCEL, 0));
    EXPECT_EQ(FALSE, Send(WM_COMMAND, 9999, 0));
    EXPECT_TRUE(IsWindow(dialog_));
    EXPECT_EQ(0, g_bVisited);
}

}  // namespace
