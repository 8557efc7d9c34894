// The icon button on real windows: the style rewrite when it is attached, the
// dialog manager's messages, the check state, clicks, hover and focus; and
// DrawItem on a memory DC, read back pixel by pixel, for each state.
#include "toolkit/IconButton.h"
#include "app/LinkOpener.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <stdio.h>

#include <string>

namespace {

const WORD kFirstId = 1200;

// A dialog that counts the BN_CLICKED notifications it gets per control.
class CClickDialog : public CDialog
{
public:
    int m_nClicks[8] = {};
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        UINT id = LOWORD(wParam);
        if (HIWORD(wParam) == BN_CLICKED && id >= kFirstId && id < kFirstId + 8)
            ++m_nClicks[id - kFirstId];
        return CDialog::OnCommand(wParam, lParam);
    }
};

// The button with its drawing states open to the tests.
class CProbeButton : public CIconButton
{
public:
    using CIconButton::m_bMouseOnButton;
};

// A 32 x 32 icon of one opaque colour.
HICON MakeSolidIcon(COLORREF cr)
{
    HDC hScreen = GetDC(NULL);
    HBITMAP hColour = CreateCompatibleBitmap(hScreen, 32, 32);
    HDC hMem = CreateCompatibleDC(hScreen);
    HGDIOBJ hOld = SelectObject(hMem, hColour);
    HBRUSH hBrush = CreateSolidBrush(cr);
    RECT rc = { 0, 0, 32, 32 };
    FillRect(hMem, &rc, hBrush);
    DeleteObject(hBrush);
    SelectObject(hMem, hOld);
    DeleteDC(hMem);
    ReleaseDC(NULL, hScreen);
    BYTE zeros[32 * 4] = {};
    HBITMAP hMask = CreateBitmap(32, 32, 1, 1, zeros);
    ICONINFO info = { TRUE, 16, 16, hMask, hColour };
    HICON hIcon = CreateIconIndirect(&info);
    DeleteObject(hColour);
    DeleteObject(hMask);
    return hIcon;
}

// A memory picture of the button's size that DrawItem paints on.
class CMemoryCanvas
{
public:
    CMemoryCanvas(int cx, int cy, COLORREF crFill) : m_cx(cx), m_cy(cy)
    {
        HDC hScreen = GetDC(NULL);
        m_hDC = CreateCompatibleDC(hScreen);
        m_hBitmap = CreateCompatibleBitmap(hScreen, cx, cy);
        ReleaseDC(NULL, hScreen);
        m_hOld = SelectObject(m_hDC, m_hBitmap);
        HBRUSH hBrush = CreateSolidBrush(crFill);
        RECT rc = { 0, 0, cx, cy };
        FillRect(m_hDC, &rc, hBrush);
        DeleteObject(hBrush);
    }
    ~CMemoryCanvas()
    {
        SelectObject(m_hDC, m_hOld);
        DeleteObject(m_hBitmap);
        DeleteDC(m_hDC);
    }
    COLORREF At(int x, int y) const { return GetPixel(m_hDC, x, y); }
    void Draw(CIconButton& button, HWND hWnd, UINT itemState)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.CtlID = GetDlgCtrlID(hWnd);
        dis.itemAction = ODA_DRAWENTIRE;
        dis.itemState = itemState;
        dis.hwndItem = hWnd;
        dis.hDC = m_hDC;
        dis.rcItem = { 0, 0, m_cx, m_cy };
        button.DrawItem(&dis);
    }
    HDC m_hDC;

private:
    int m_cx, m_cy;
    HBITMAP m_hBitmap;
    HGDIOBJ m_hOld;
};

BOOL CaptureSeenUrl(SHELLEXECUTEINFOW* pInfo);
std::wstring g_strSeenUrl, g_strSeenVerb;
int g_nSeenShow = 0, g_nUrlsOpened = 0;
ULONG g_nSeenMask = 0;

BOOL CaptureSeenUrl(SHELLEXECUTEINFOW* pInfo)
{
    ++g_nUrlsOpened;
    g_strSeenUrl = pInfo->lpFile ? pInfo->lpFile : L"";
    g_strSeenVerb = pInfo->lpVerb ? pInfo->lpVerb : L"";
    g_nSeenShow = pInfo->nShow;
    g_nSeenMask = pInfo->fMask;
    return TRUE;
}

class IconButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitTestControls();
        CIconButton::SetUrlOpener(&CaptureSeenUrl);
        g_nUrlsOpened = 0;
    }
    void TearDown() override
    {
        if (m_dialog.GetSafeHwnd())
            m_dialog.DestroyWindow();
        CIconButton::SetUrlOpener(NULL);
    }

    // A dialog with the given button styles (ids kFirstId...), then an edit.
    void MakeDialog(std::initializer_list<DWORD> styles, const wchar_t* caption = L"Go")
    {
        CTestDialogTemplate tmpl(WS_POPUP | WS_CAPTION | WS_VISIBLE, 300, 80);
        short x = 5;
        WORD id = kFirstId;
        for (DWORD style : styles) {
            tmpl.Add(id++, 0x80, caption, style | WS_TABSTOP, x, 5, 50, 25);
            x += 55;
        }
        tmpl.Add(kFirstId + 7, 0x81, L"", WS_TABSTOP | WS_BORDER, 5, 50, 60, 12);
        ASSERT_TRUE(m_dialog.CreateIndirect(tmpl.Get()));
        SetForegroundWindow(m_dialog.GetSafeHwnd());
        int i = 0;
        for (size_t n = 0; n < styles.size(); ++n, ++i)
            ASSERT_TRUE(m_buttons[i].SubclassDlgItem(kFirstId + i, &m_dialog));
    }
    HWND Item(int i) const { return ::GetDlgItem(m_dialog.GetSafeHwnd(), kFirstId + i); }
    UINT Type(int i) const { return static_cast<UINT>(GetWindowLongPtrW(Item(i), GWL_STYLE)) & BS_TYPEMASK; }
    LRESULT Send(int i, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return SendMessageW(Item(i), msg, wParam, lParam);
    }
    void Pump()
    {
        PumpUntil([] { return false; }, 100);
    }

    CClickDialog m_dialog;
    CProbeButton m_buttons[4];
};

TEST_F(IconButtonTest, AttachingRewritesTheStyleToOwnerDraw)
{
    struct
    {
        DWORD style;
        bool checkBox;
        UINT dlgCode;
    } cases[] = {
        { BS_PUSHBUTTON, false, DLGC_UNDEFPUSHBUTTON },
        { BS_DEFPUSHBUTTON, false, DLGC_DEFPUSHBUTTON },
        { BS_AUTOCHECKBOX, true, DLGC_UNDEFPUSHBUTTON },
        { BS_3STATE, true, DLGC_UNDEFPUSHBUTTON },
    };
    MakeDialog({ cases[0].style, cases[1].style, cases[2].style, cases[3].style });
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), Type(i));
        UINT code = static_cast<UINT>(Send(i, WM_GETDLGCODE));
        EXPECT_EQ(cases[i].dlgCode, code & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON));
        // Only check boxes keep a check state.
        Send(i, BM_SETCHECK, BST_CHECKED);
        EXPECT_EQ(cases[i].checkBox ? 1 : 0, Send(i, BM_GETCHECK));
    }
}

TEST_F(IconButtonTest, AnOwnerDrawnButtonIsNoCheckBox)
{
    MakeDialog({ BS_OWNERDRAW });
    Send(0, BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(0, Send(0, BM_GETCHECK));
    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), Type(0));
}

TEST_F(IconButtonTest, SetStyleKeepsOwnerDrawAndMovesTheDefault)
{
    MakeDialog({ BS_PUSHBUTTON, BS_DEFPUSHBUTTON });
    Send(0, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), Type(0));
    EXPECT_TRUE(Send(0, WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);
    Send(1, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), Type(1));
    EXPECT_TRUE(Send(1, WM_GETDLGCODE) & DLGC_UNDEFPUSHBUTTON);
    EXPECT_FALSE(Send(1, WM_GETDLGCODE) & DLGC_DEFPUSHBUTTON);

    // The dialog manager's own moves of the default keep it owner-drawn too.
    SendMessageW(m_dialog.GetSafeHwnd(), DM_SETDEFID, kFirstId + 1, 0);
    ::SetFocus(Item(1));
    ::SetFocus(Item(0));
    Pump();
    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), Type(0));
    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), Type(1));
}

TEST_F(IconButtonTest, CheckStateFollowsSetCheckAndClicks)
{
    MakeDialog({ BS_AUTOCHECKBOX });
    struct
    {
        WPARAM value;
        LRESULT check;
    } cases[] = {
        { BST_CHECKED, 1 },
        { BST_UNCHECKED, 0 },
        { BST_INDETERMINATE, 1 },
        { 7, 0 },
    };
    for (const auto& c : cases) {
        Send(0, BM_SETCHECK, c.value);
        EXPECT_EQ(c.check, Send(0, BM_GETCHECK)) << c.value;
    }
    Send(0, BM_CLICK);
    EXPECT_EQ(1, Send(0, BM_GETCHECK));
    Send(0, BM_CLICK);
    EXPECT_EQ(0, Send(0, BM_GETCHECK));
    // The parent hears each click as well.
    EXPECT_EQ(2, m_dialog.m_nClicks[0]);
}

TEST_F(IconButtonTest, DoubleClickGivesTwoClicks)
{
    MakeDialog({ BS_PUSHBUTTON });
    RECT rc;
    GetClientRect(Item(0), &rc);
    LPARAM centre = MAKELPARAM(rc.right / 2, rc.bottom / 2);
    PostMessageW(Item(0), WM_LBUTTONDOWN, MK_LBUTTON, centre);
    PostMessageW(Item(0), WM_LBUTTONUP, 0, centre);
    PostMessageW(Item(0), WM_LBUTTONDBLCLK, MK_LBUTTON, centre);
    PostMessageW(Item(0), WM_LBUTTONUP, 0, centre);
    EXPECT_TRUE(PumpUntil([&] { return m_dialog.m_nClicks[0] >= 2; }, 3000));
    Pump();
    EXPECT_EQ(2, m_dialog.m_nClicks[0]);
    // The click took the focus.
    EXPECT_EQ(Item(0), GetFocus());
}

TEST_F(IconButtonTest, ClickOpensTheUrlThroughTheOpener)
{
    MakeDialog({ BS_PUSHBUTTON });
    m_buttons[0].SetUrl(L"http://127.0.0.1:9/page");
    Send(0, BM_CLICK);
    EXPECT_EQ(1, g_nUrlsOpened);
    EXPECT_EQ(L"http://127.0.0.1:9/page", g_strSeenUrl);
    EXPECT_EQ(L"open", g_strSeenVerb);
    EXPECT_EQ(SW_SHOWMAXIMIZED, g_nSeenShow);
    EXPECT_TRUE(g_nSeenMask & SEE_MASK_FLAG_NO_UI);
    EXPECT_EQ(1, m_dialog.m_nClicks[0]);
}

TEST_F(IconButtonTest, TheTestBuildsLinkOpenerRecordsThePage)
{
    MakeDialog({ BS_PUSHBUTTON });
    DeleteFileW(LINK_RECORD_FILE);
    CIconButton::SetUrlOpener(&ShellExecuteLink);
    m_buttons[0].SetUrl(L"http://127.0.0.1:9/map");
    Send(0, BM_CLICK);
    HANDLE h =
        CreateFileW(LINK_RECORD_FILE, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    char buf[512] = {};
    DWORD n = 0;
    ReadFile(h, buf, sizeof(buf) - 1, &n, NULL);
    CloseHandle(h);
    DeleteFileW(LINK_RECORD_FILE);
    char expect[128];
    snprintf(expect, sizeof(expect), "open\thttp://127.0.0.1:9/map\t\t\t%d\t%llx\r\n", SW_SHOWMAXIMIZED,
             static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(Item(0))));
    EXPECT_STREQ(expect, buf);
}

TEST_F(IconButtonTest, LongNamesAreCutNeverOverrun)
{
    CIconButton button;
    std::wstring longUrl = L"http://127.0.0.1/" + std::wstring(400, L'a');
    button.SetUrl(longUrl.c_str());
    EXPECT_EQ(longUrl.substr(0, CIconButton::MAX_NAME - 1), std::wstring(button.GetUrl()));
    std::wstring longSound(300, L's');
    button.SetSound(longSound.c_str(), NULL, TRUE);
    EXPECT_EQ(longSound.substr(0, CIconButton::MAX_NAME - 1), std::wstring(button.GetSoundName(TRUE)));
    EXPECT_EQ(std::wstring(), std::wstring(button.GetSoundName(FALSE)));
}

TEST_F(IconButtonTest, HoverShowsTheInIconAndLeavingTheOutIcon)
{
    MakeDialog({ BS_PUSHBUTTON }, L"");
    CProbeButton& button = m_buttons[0];
    ASSERT_EQ(0u, button.SetIcon(MakeSolidIcon(RGB(255, 0, 0)), MakeSolidIcon(RGB(0, 0, 255))));
    RECT rc;
    GetClientRect(Item(0), &rc);
    POINT centre = { rc.right / 2, rc.bottom / 2 };
    auto centreColour = [&] {
        CMemoryCanvas canvas(rc.right, rc.bottom, RGB(0, 255, 0));
        canvas.Draw(button, Item(0), 0);
        return canvas.At(centre.x, centre.y);
    };
    EXPECT_EQ(RGB(0, 0, 255), centreColour());

    POINT screen = centre;
    ClientToScreen(Item(0), &screen);
    SetCursorPos(screen.x, screen.y);
    Send(0, WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
    EXPECT_TRUE(button.m_bMouseOnButton);
    EXPECT_EQ(RGB(255, 0, 0), centreColour());

    // The mouse leaves.
    Send(0, WM_MOUSELEAVE);
    EXPECT_FALSE(button.m_bMouseOnButton);
    EXPECT_EQ(RGB(0, 0, 255), centreColour());

    // Back over it, then a move whose point is outside the button.
    Send(0, WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
    EXPECT_TRUE(button.m_bMouseOnButton);
    Send(0, WM_MOUSEMOVE, 0, MAKELPARAM(-20, -20));
    EXPECT_FALSE(button.m_bMouseOnButton);

    // A non-flat button does not track.
    button.SetFlat(FALSE);
    Send(0, WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
    EXPECT_FALSE(button.m_bMouseOnButton);
}

TEST_F(IconButtonTest, DisablingMovesTheFocusOnlyFromTheFocusedButton)
{
    MakeDialog({ BS_PUSHBUTTON, BS_PUSHBUTTON, BS_PUSHBUTTON });
    HWND hEdit = ::GetDlgItem(m_dialog.GetSafeHwnd(), kFirstId + 7);

    // Focus on the edit: disabling the buttons leaves it there.
    ::SetFocus(hEdit);
    ASSERT_EQ(hEdit, GetFocus());
    for (int i = 0; i < 3; ++i)
        EnableWindow(Item(i), FALSE);
    EXPECT_EQ(hEdit, GetFocus());
    for (int i = 0; i < 3; ++i)
        EnableWindow(Item(i), TRUE);

    // Focus on the first button: disabling it hands the focus to the next.
    ::SetFocus(Item(0));
    ASSERT_EQ(Item(0), GetFocus());
    EnableWindow(Item(0), FALSE);
    EXPECT_EQ(Item(1), GetFocus());
    // Disabling the other two in turn walks on to the edit.
    EnableWindow(Item(1), FALSE);
    EXPECT_EQ(Item(2), GetFocus());
    EnableWindow(Item(2), FALSE);
    EXPECT_EQ(hEdit, GetFocus());
}

TEST_F(IconButtonTest, DisablingTheOnlyTabItemGivesTheFocusToTheParent)
{
    CTestDialogTemplate tmpl(WS_POPUP | WS_CAPTION | WS_VISIBLE, 100, 50);
    tmpl.Add(kFirstId, 0x80, L"Only", BS_PUSHBUTTON | WS_TABSTOP, 5, 5, 50, 25);
    ASSERT_TRUE(m_dialog.CreateIndirect(tmpl.Get()));
    SetForegroundWindow(m_dialog.GetSafeHwnd());
    ASSERT_TRUE(m_buttons[0].SubclassDlgItem(kFirstId, &m_dialog));
    ::SetFocus(Item(0));
    ASSERT_EQ(Item(0), GetFocus());
    EnableWindow(Item(0), FALSE);
    EXPECT_EQ(m_dialog.GetSafeHwnd(), GetFocus());
}

TEST_F(IconButtonTest, SetIconWithTheIconItHoldsKeepsIt)
{
    MakeDialog({ BS_PUSHBUTTON });
    CIconButton& button = m_buttons[0];
    HICON hIcon = MakeSolidIcon(RGB(255, 0, 0));
    ASSERT_EQ(0u, button.SetIcon(hIcon));
    EXPECT_EQ(0u, button.SetIcon(button.GetIcon()));
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(hIcon, &info)) << "the held icon was destroyed";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    // The same icon as both in and out icon goes once when it is replaced.
    EXPECT_EQ(0u, button.SetIcon(hIcon, hIcon));
    EXPECT_EQ(0u, button.SetIcon(NULL));
    EXPECT_EQ(nullptr, button.GetIcon());
    EXPECT_FALSE(GetIconInfo(hIcon, &info));
}

TEST_F(IconButtonTest, AutomaticOutIconsAreGreyAndDarker)
{
    MakeDialog({ BS_PUSHBUTTON }, L"");
    CProbeButton& button = m_buttons[0];
    RECT rc;
    GetClientRect(Item(0), &rc);
    struct
    {
        HICON out;
        COLORREF expect;
    } cases[] = {
        { reinterpret_cast<HICON>(static_cast<INT_PTR>(CIconButton::ICON_AUTO_GRAY)),
          CIconButton::GrayPixel(RGB(200, 40, 100)) },
        { reinterpret_cast<HICON>(static_cast<INT_PTR>(CIconButton::ICON_AUTO_DARKER)), RGB(150, 30, 75) },
    };
    for (const auto& c : cases) {
        ASSERT_EQ(0u, button.SetIcon(MakeSolidIcon(RGB(200, 40, 100)), c.out));
        CMemoryCanvas canvas(rc.right, rc.bottom, RGB(0, 255, 0));
        canvas.Draw(button, Item(0), 0);
        EXPECT_EQ(c.expect, canvas.At(rc.right / 2, rc.bottom / 2));
    }
    // A handle that is no icon fails and leaves no image.
    EXPECT_EQ(1u, button.SetIcon(reinterpret_cast<HICON>(static_cast<INT_PTR>(0x1234))));
    EXPECT_EQ(nullptr, button.GetIcon());
}

// --- DrawItem, pixel by pixel ---------------------------------------------------------

class IconButtonDrawTest : public IconButtonTest
{
protected:
    static const int kW = 80, kH = 40;
    const COLORREF kBkIn = RGB(200, 0, 200), kBkOut = RGB(0, 200, 200), kBkFocus = RGB(200, 200, 0);
    const COLORREF kFill = RGB(1, 2, 3), kIcon = RGB(255, 0, 0);

    void SetUp() override
    {
        IconButtonTest::SetUp();
        MakeDialog({ BS_PUSHBUTTON }, L"");
        MoveWindow(Item(0), 5, 5, kW, kH, TRUE);
        CProbeButton& b = m_buttons[0];
        b.SetColor(CIconButton::COLOR_BK_IN, kBkIn);
        b.SetColor(CIconButton::COLOR_BK_OUT, kBkOut);
        b.SetColor(CIconButton::COLOR_BK_FOCUS, kBkFocus);
        ASSERT_EQ(0u, b.SetIcon(MakeSolidIcon(kIcon)));
    }
    COLORREF Sys(int n) const { return GetSysColor(n); }
};

TEST_F(IconButtonDrawTest, NonFlatBorderIsFourLinesAroundTheOutBackground)
{
    m_buttons[0].SetFlat(FALSE);
    CMemoryCanvas c(kW, kH, kFill);
    c.Draw(m_buttons[0], Item(0), 0);
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), c.At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), c.At(40, 0));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), c.At(0, 20));
    EXPECT_EQ(Sys(COLOR_3DLIGHT), c.At(40, 1));
    EXPECT_EQ(Sys(COLOR_3DLIGHT), c.At(1, 20));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), c.At(40, 39));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), c.At(79, 20));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), c.At(79, 0));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), c.At(40, 38));
    EXPECT_EQ(Sys(COLOR_BTNSHADOW), c.At(78, 20));
    EXPECT_EQ(kBkOut, c.At(4, 4));
    // No caption: the icon is centred.
    EXPECT_EQ(kIcon, c.At(24, 4));
    EXPECT_EQ(kIcon, c.At(55, 35));
    EXPECT_EQ(kBkOut, c.At(23, 4));
    EXPECT_EQ(kBkOut, c.At(56, 35));
}

TEST_F(IconButtonDrawTest, NonFlatFocusedHasABlackFrameAndAFocusRectangle)
{
    m_buttons[0].SetFlat(FALSE);
    CMemoryCanvas c(kW, kH, kFill);
    c.Draw(m_buttons[0], Item(0), ODS_FOCUS);
    EXPECT_EQ(RGB(0, 0, 0), c.At(0, 0));
    EXPECT_EQ(RGB(0, 0, 0), c.At(79, 39));
    EXPECT_EQ(RGB(0, 0, 0), c.At(40, 39));
    // The four lines sit inside the frame.
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), c.At(1, 1));
    EXPECT_EQ(Sys(COLOR_3DDKSHADOW), c.At(40, 38));
    EXPECT_EQ(kBkFocus, c.At(5, 8));
    // The focus rectangle runs 3 pixels inside the shrunk rectangle: (4, 4)-(76, 36).
    int marked = 0;
    for (int x = 4; x < 76; ++x) {
        marked += c.At(x, 4) != kBkFocus;
        EXPECT_EQ(kBkFocus, c.At(x, 3)) << x;
    }
    EXPECT_GT(marked, 10);
    EXPECT_EQ(kBkFocus, c.At(10, 5));
}

TEST_F(IconButtonDrawTest, DefaultNonFlatButtonHasTheBlackFrameToo)
{
    m_buttons[0].SetFlat(FALSE);
    Send(0, BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    CMemoryCanvas c(kW, kH, kFill);
    c.Draw(m_buttons[0], Item(0), 0);
    EXPECT_EQ(RGB(0, 0, 0), c.At(0, 0));
    EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), c.At(1, 1));
}

TEST_F(IconButtonDrawTest, FlatStatesBorderBackgroundAndIcon)
{
    struct Case
    {
        const char* name;
        BOOL hover;
        UINT state;
        COLORREF topLeft, bottomRight, topRight, background;
        int shift;
    } cases[] = {
        { "out", FALSE, 0, kBkOut, kBkOut, kBkOut, kBkOut, 0 },
        { "hovered", TRUE, 0, Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNSHADOW), kBkIn, 0 },
        { "pressed", TRUE, ODS_SELECTED, Sys(COLOR_BTNSHADOW), Sys(COLOR_BTNHIGHLIGHT), Sys(COLOR_BTNHIGHLIGHT), kBkIn,
          1 },
        // A flat button draws no focus rectangle by default.
        { "focused", FALSE, ODS_FOCUS, kBkFocus, kBkFocus, kBkFocus, kBkFocus, 0 },
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        m_buttons[0].m_bMouseOnButton = k.hover;
        CMemoryCanvas c(kW, kH, kFill);
        c.Draw(m_buttons[0], Item(0), k.state);
        EXPECT_EQ(k.topLeft, c.At(0, 0));
        EXPECT_EQ(k.bottomRight, c.At(79, 39));
        EXPECT_EQ(k.topRight, c.At(79, 0));
        EXPECT_EQ(k.background, c.At(4, 4));
        EXPECT_EQ(k.background, c.At(10, 5));
        EXPECT_EQ(kIcon, c.At(24 + k.shift, 4 + k.shift));
        EXPECT_EQ(k.background, c.At(23 + k.shift, 4 + k.shift));
        EXPECT_EQ(kIcon, c.At(55 + k.shift, 35 + k.shift));
        EXPECT_EQ(k.background, c.At(56 + k.shift, 36 + k.shift));
    }
}

TEST_F(IconButtonDrawTest, FlatWithoutBorderAndWithFlatFocus)
{
    CProbeButton& b = m_buttons[0];
    b.m_bMouseOnButton = TRUE;
    b.SetDrawBorder(FALSE);
    b.SetDrawFlatFocus(TRUE);
    CMemoryCanvas c(kW, kH, kFill);
    c.Draw(b, Item(0), ODS_FOCUS);
    EXPECT_EQ(kBkIn, c.At(0, 0));
    EXPECT_EQ(kBkIn, c.At(79, 39));
    int marked = 0;
    for (int x = 3; x < 77; ++x)
        marked += c.At(x, 3) != kBkIn;
    EXPECT_GT(marked, 10);
}

TEST_F(IconButtonDrawTest, DisabledIconIsDrawnEmbossed)
{
    CMemoryCanvas c(kW, kH, kFill);
    c.Draw(m_buttons[0], Item(0), ODS_DISABLED);
    int red = 0;
    for (int y = 4; y < 36; ++y)
        for (int x = 24; x < 56; ++x)
            red += c.At(x, y) == kIcon;
    EXPECT_EQ(0, red);
}

TEST_F(IconButtonDrawTest, IconPlacesForTheThreeAlignmentsWithACaption)
{
    SetWindowTextW(Item(0), L"Go");
    struct
    {
        BYTE align;
        POINT first;
        POINT before;
        POINT last;
        POINT after;
    } cases[] = {
        { CIconButton::BUTTON_ALIGN_HORIZONTAL, { 3, 4 }, { 2, 4 }, { 34, 35 }, { 35, 36 } },
        { CIconButton::BUTTON_ALIGN_VERTICAL, { 24, 3 }, { 24, 2 }, { 55, 20 }, { 56, 20 } },
        { CIconButton::BUTTON_ALIGN_HORIZONTAL_RIGHT, { 45, 4 }, { 44, 4 }, { 76, 35 }, { 77, 36 } },
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.align);
        m_buttons[0].SetAlign(k.align);
        CMemoryCanvas c(kW, kH, kFill);
        c.Draw(m_buttons[0], Item(0), 0);
        EXPECT_EQ(kIcon, c.At(k.first.x, k.first.y));
        EXPECT_NE(kIcon, c.At(k.before.x, k.before.y));
        EXPECT_EQ(kIcon, c.At(k.last.x, k.last.y));
        EXPECT_NE(kIcon, c.At(k.after.x, k.after.y));
    }
}

TEST_F(IconButtonDrawTest, CaptionIsDrawnInTheStateTextColour)
{
    CProbeButton& b = m_buttons[0];
    SetWindowTextW(Item(0), L"MMMM");
    b.SetIcon(NULL);
    b.SetColor(CIconButton::COLOR_FG_OUT, RGB(0, 0, 255));
    b.SetColor(CIconButton::COLOR_FG_IN, RGB(255, 255, 0));
    struct
    {
        BOOL hover;
        COLORREF text;
        COLORREF notText;
    } cases[] = {
        { FALSE, RGB(0, 0, 255), RGB(255, 255, 0) },
        { TRUE, RGB(255, 255, 0), RGB(0, 0, 255) },
    };
    for (const auto& k : cases) {
        b.m_bMouseOnButton = k.hover;
        CMemoryCanvas c(kW, kH, kFill);
        c.Draw(b, Item(0), 0);
        int text = 0, other = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                text += c.At(x, y) == k.text;
                other += c.At(x, y) == k.notText;
            }
        EXPECT_GT(text, 10) << k.hover;
        EXPECT_EQ(0, other) << k.hover;
    }
}

}  // namespace
