// The mark-up tooltip on a real owner dialog: when a tip appears and goes,
// which control it serves, what it paints on the screen, and that showing
// and hiding it a thousand times costs no handles. The timers are fired by
// the test (a timer is fired only when the tip had armed it).
#include "toolkit/MarkupTip.h"
#include "resource.h"
#include "tests/e2e/ScreenPixels.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const WORD kAlpha = 101, kBeta = 102, kDisabled = 103, kCombo = 104;

// Opens the tip's protected state to the tests.
class CTipProbe : public CMarkupTip
{
public:
    using CMarkupTip::BuildDebugInfo;
    using CMarkupTip::FormatDebugRow;
    using CMarkupTip::ShortenDebugText;
    int State() const { return m_nTipState; }
    RECT Body() const { return m_rcBody; }
    RECT WindowBox() const { return m_rcWindow; }
    int Direction() const { return m_nDirection; }
    void SetDebugMode(BOOL b) { m_bDebugMode = b; }
    void SetNotifyWindow(HWND h) { m_hTipNotifyWnd = h; }
};

// An owner that rewrites the text of the tip about to show.
class CNotifyDialog : public CDialog
{
public:
    int m_nNotified = 0;
    HWND m_hLastTool = NULL;
    POINT m_ptLast = { 0, 0 };

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override
    {
        const NMHDR* hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (hdr && hdr->code == NM_TIP_DISPLAY) {
            const TipDisplayNotify* n = reinterpret_cast<const TipDisplayNotify*>(lParam);
            ++m_nNotified;
            m_hLastTool = n->hWnd;
            m_ptLast = *n->pPoint;
            n->pInfo->sText += L" (seen)";
            return TRUE;
        }
        return CDialog::OnNotify(wParam, lParam, pResult);
    }
};

class MarkupTipTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitTestControls();
        CTestDialogTemplate tmpl(WS_POPUP | WS_CAPTION | WS_VISIBLE, 320, 170);
        tmpl.Add(kAlpha, 0x80, L"Alpha", BS_PUSHBUTTON, 30, 80, 60, 24)
            .Add(kBeta, 0x80, L"Beta", BS_PUSHBUTTON, 120, 80, 60, 24)
            .Add(kDisabled, 0x80, L"Off", BS_PUSHBUTTON | WS_DISABLED, 210, 80, 60, 24)
            .Add(kCombo, L"ComboBox", L"", CBS_DROPDOWN, 30, 130, 90, 60);
        // Owned like the settings pages' windows are parented: the window
        // under the cursor has a parent to ask for its controls.
        ASSERT_TRUE(m_owner.CreateEx(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, NULL, NULL));
        ASSERT_TRUE(m_dialog.CreateIndirect(tmpl.Get(), &m_owner));
        m_dialog.SetWindowPos(&CWnd::wndTop, 40, 40, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        ASSERT_TRUE(m_tip.Create(&m_dialog));
        m_tip.AddToolText(Item(kAlpha), L"Alpha tip");
        m_tip.AddToolText(Item(kBeta), L"Beta tip");
        m_tip.AddToolText(Item(kDisabled), L"Disabled tip");
        m_tip.AddToolText(Item(kCombo), L"Combo tip");
        PumpUntil([] { return false; }, 100);  // let the dialog paint once
    }
    void TearDown() override
    {
        if (m_dialog.GetSafeHwnd())
            m_dialog.DestroyWindow();
        m_owner.DestroyWindow();
    }

    CWnd* Item(WORD id) { return m_dialog.GetDlgItem(id); }
    HWND Tip() const { return m_tip.GetSafeHwnd(); }

    static POINT Centre(HWND hWnd, int dx = 0, int dy = 0)
    {
        RECT rc;
        ::GetClientRect(hWnd, &rc);
        POINT pt = { rc.right / 2 + dx, rc.bottom / 2 + dy };
        ::ClientToScreen(hWnd, &pt);
        return pt;
    }

    // The cursor goes to ptScreen and the owner's loop relays the move.
    void MoveTo(HWND hWnd, POINT ptScreen)
    {
        ::SetCursorPos(ptScreen.x, ptScreen.y);
        Relay(hWnd, WM_MOUSEMOVE, 0, ptScreen);
    }
    void Relay(HWND hWnd, UINT message, WPARAM wParam, POINT ptScreen)
    {
        POINT ptClient = ptScreen;
        ::ScreenToClient(hWnd, &ptClient);
        MSG msg = { hWnd, message, wParam, MAKELPARAM(ptClient.x, ptClient.y), ::GetTickCount(), ptScreen };
        m_tip.RelayEvent(&msg);
    }

    // Fires a timer the tip has armed; false when it had not armed it.
    bool Fire(UINT id)
    {
        if (!::KillTimer(Tip(), id))
            return false;
        ::SendMessageW(Tip(), WM_TIMER, id, 0);
        return true;
    }

    bool Visible() const { return ::IsWindowVisible(Tip()) != FALSE; }

    // The text the tip shows, once it has painted.
    std::wstring ShownText()
    {
        ::UpdateWindow(Tip());
        wchar_t text[256] = L"";
        ::SendMessageW(Tip(), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
        return text;
    }

    // Rests on the control until its tip shows; its text.
    std::wstring ShowOver(WORD id)
    {
        HWND hControl = Item(id)->GetSafeHwnd();
        MoveTo(hControl, Centre(hControl));
        if (!Fire(TIPTIMER_SHOW))
            return L"(no timer)";
        if (!Visible())
            return L"(not shown)";
        return ShownText();
    }

    // A place on the dialog that no tool covers.
    void MoveToBackground()
    {
        POINT pt = { 280, 20 };
        ::ClientToScreen(m_dialog.GetSafeHwnd(), &pt);
        MoveTo(m_dialog.GetSafeHwnd(), pt);
    }

    CWnd m_owner;
    CNotifyDialog m_dialog;
    CTipProbe m_tip;
};

TEST_F(MarkupTipTest, AppearsAfterRestOncePerEntry)
{
    HWND hAlpha = Item(kAlpha)->GetSafeHwnd();
    MoveTo(hAlpha, Centre(hAlpha));
    EXPECT_FALSE(Visible()) << "nothing before the delay";
    // Each move before the tip has painted starts the delay again.
    MoveTo(hAlpha, Centre(hAlpha, 1, 0));
    ASSERT_TRUE(Fire(TIPTIMER_SHOW));
    EXPECT_TRUE(Visible());
    EXPECT_EQ(L"Alpha tip", ShownText());
    EXPECT_EQ(TIPSTATE_SHOWN, m_tip.State());

    // The same point again changes nothing.
    MoveTo(hAlpha, Centre(hAlpha, 1, 0));
    EXPECT_TRUE(Visible());

    // The first move after painting hides it, and it does not come back
    // while the cursor stays on the control.
    MoveTo(hAlpha, Centre(hAlpha, 3, 0));
    EXPECT_FALSE(Visible());
    EXPECT_EQ(TIPSTATE_HIDDEN, m_tip.State());
    MoveTo(hAlpha, Centre(hAlpha, 5, 1));
    EXPECT_FALSE(Fire(TIPTIMER_SHOW));
    EXPECT_FALSE(Visible());

    // Leaving for a place without a tool and coming back shows it again.
    MoveToBackground();
    EXPECT_FALSE(Fire(TIPTIMER_SHOW));
    EXPECT_EQ(L"Alpha tip", ShowOver(kAlpha));
}

TEST_F(MarkupTipTest, DelayEndsWithTheCursorElsewhereShowsNothing)
{
    HWND hAlpha = Item(kAlpha)->GetSafeHwnd();
    MoveTo(hAlpha, Centre(hAlpha));
    POINT away = Centre(hAlpha, 4, 4);
    ::SetCursorPos(away.x, away.y);  // moved without a relayed message
    ASSERT_TRUE(Fire(TIPTIMER_SHOW));
    EXPECT_FALSE(Visible());
    EXPECT_EQ(TIPSTATE_HIDDEN, m_tip.State());
}

TEST_F(MarkupTipTest, ShowsAfterHalfASecondOfRest)
{
    HWND hAlpha = Item(kAlpha)->GetSafeHwnd();
    DWORD start = ::GetTickCount();
    MoveTo(hAlpha, Centre(hAlpha));
    ASSERT_TRUE(PumpUntil([&] { return Visible(); }, 5000));
    DWORD elapsed = ::GetTickCount() - start;
    EXPECT_GE(elapsed, 450u);
    EXPECT_LT(elapsed, 3000u);
}

TEST_F(MarkupTipTest, AutoPopHidesTheShownTip)
{
    ASSERT_EQ(L"Alpha tip", ShowOver(kAlpha));
    ASSERT_TRUE(Fire(TIPTIMER_HIDE)) << "the auto-pop time runs while the tip is shown";
    EXPECT_FALSE(Visible());
    EXPECT_EQ(TIPSTATE_HIDDEN, m_tip.State());
}

TEST_F(MarkupTipTest, ClicksKeysWheelAndDeactivationHideIt)
{
    struct Case
    {
        const char* what;
        UINT message;
        WPARAM wParam;
        bool bHides;
    } cases[] = {
        { "left click", WM_LBUTTONDOWN, MK_LBUTTON, true },
        { "right click", WM_RBUTTONDOWN, MK_RBUTTON, true },
        { "middle click", WM_MBUTTONDOWN, MK_MBUTTON, true },
        { "double click", WM_LBUTTONDBLCLK, MK_LBUTTON, true },
        { "wheel", WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), true },
        { "caption click", WM_NCLBUTTONDOWN, HTCAPTION, true },
        { "key", WM_KEYDOWN, VK_SPACE, true },
        { "system key", WM_SYSKEYDOWN, VK_MENU, true },
        { "button up", WM_LBUTTONUP, 0, false },
        { "key up", WM_KEYUP, VK_SPACE, false },
    };
    HWND hAlpha = Item(kAlpha)->GetSafeHwnd();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MoveToBackground();
        ASSERT_EQ(L"Alpha tip", ShowOver(kAlpha));
        Relay(hAlpha, c.message, c.wParam, Centre(hAlpha));
        EXPECT_EQ(!c.bHides, Visible());
        if (c.bHides) {
            EXPECT_EQ(TIPSTATE_HIDDEN, m_tip.State());
            EXPECT_FALSE(Fire(TIPTIMER_HIDE)) << "no auto-pop left running";
        }
    }
    MoveToBackground();
    ASSERT_EQ(L"Alpha tip", ShowOver(kAlpha));
    ::SendMessageW(Tip(), WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_FALSE(Visible()) << "deactivating the application";
}

TEST_F(MarkupTipTest, MovingToAnotherControlShowsItsTip)
{
    ASSERT_EQ(L"Alpha tip", ShowOver(kAlpha));
    HWND hBeta = Item(kBeta)->GetSafeHwnd();
    MoveTo(hBeta, Centre(hBeta));
    EXPECT_FALSE(Visible()) << "the first tip goes at once";
    ASSERT_TRUE(Fire(TIPTIMER_SHOW));
    EXPECT_EQ(L"Beta tip", ShownText());
}

TEST_F(MarkupTipTest, AddToolAgainReplacesTheText)
{
    ASSERT_EQ(4, m_tip.GetToolCount());
    m_tip.AddTool(Item(kAlpha), IDS_TIP_GET_PROXY);
    EXPECT_EQ(4, m_tip.GetToolCount());
    CString text;
    ASSERT_TRUE(m_tip.GetToolText(Item(kAlpha)->GetSafeHwnd(), text));
    EXPECT_EQ(std::wstring(L"Get proxy list"), std::wstring(text.GetString()));
    EXPECT_EQ(L"Get proxy list", ShowOver(kAlpha));

    // A tip already on screen keeps the text it was shown with.
    m_tip.AddToolText(Item(kAlpha), L"Alpha later");
    EXPECT_EQ(L"Get proxy list", ShownText());
    MoveToBackground();
    EXPECT_EQ(L"Alpha later", ShowOver(kAlpha));
}

TEST_F(MarkupTipTest, MissingStringShowsNoWindow)
{
    m_tip.AddTool(Item(kBeta), 64999);
    CString text = L"x";
    ASSERT_TRUE(m_tip.GetToolText(Item(kBeta)->GetSafeHwnd(), text));
    EXPECT_TRUE(text.IsEmpty());
    HWND hBeta = Item(kBeta)->GetSafeHwnd();
    MoveTo(hBeta, Centre(hBeta));
    ASSERT_TRUE(Fire(TIPTIMER_SHOW)) << "the state machine still runs";
    EXPECT_FALSE(Visible());
}

TEST_F(MarkupTipTest, DisabledControlShowsNone)
{
    ASSERT_EQ(L"Alpha tip", ShowOver(kAlpha));
    HWND hOff = Item(kDisabled)->GetSafeHwnd();
    MoveTo(hOff, Centre(hOff));
    EXPECT_FALSE(Visible());
    EXPECT_FALSE(Fire(TIPTIMER_SHOW));
    // Enabled, the same control has its tip.
    ::EnableWindow(hOff, TRUE);
    MoveTo(hOff, Centre(hOff, 1, 1));
    ASSERT_TRUE(Fire(TIPTIMER_SHOW));
    EXPECT_EQ(L"Disabled tip", ShownText());
}

TEST_F(MarkupTipTest, EditFieldOfAComboBoxShowsTheComboBoxTip)
{
    HWND hCombo = Item(kCombo)->GetSafeHwnd();
    HWND hEdit = ::GetWindow(hCombo, GW_CHILD);
    ASSERT_NE(nullptr, hEdit);
    MoveTo(hEdit, Centre(hEdit));
    ASSERT_TRUE(Fire(TIPTIMER_SHOW));
    EXPECT_EQ(L"Combo tip", ShownText());
}

TEST_F(MarkupTipTest, DisplayNotificationMayChangeTheTip)
{
    m_tip.SetNotifyWindow(m_dialog.GetSafeHwnd());
    HWND hAlpha = Item(kAlpha)->GetSafeHwnd();
    EXPECT_EQ(L"Alpha tip (seen)", ShowOver(kAlpha));
    EXPECT_EQ(1, m_dialog.m_nNotified);
    EXPECT_EQ(hAlpha, m_dialog.m_hLastTool);
    POINT pt = Centre(hAlpha);
    EXPECT_EQ(pt.x, m_dialog.m_ptLast.x);
    EXPECT_EQ(pt.y, m_dialog.m_ptLast.y);
}

TEST_F(MarkupTipTest, ScreenShowsTheBalloonWithItsShadow)
{
    HWND hAlpha = Item(kAlpha)->GetSafeHwnd();
    MoveTo(hAlpha, Centre(hAlpha));
    ScreenShot before = CaptureClient(m_dialog.GetSafeHwnd(), RECT{ 0, 0, 400, 300 });
    ASSERT_TRUE(Fire(TIPTIMER_SHOW));
    ASSERT_TRUE(Visible());
    ::UpdateWindow(Tip());

    RECT rcTip;
    ::GetWindowRect(Tip(), &rcTip);
    POINT origin = { 0, 0 };
    ::ClientToScreen(m_dialog.GetSafeHwnd(), &origin);
    ASSERT_EQ(16, m_tip.Direction()) << "room above the button";
    RECT body = m_tip.Body();
    // Points of the tip in the dialog's client coordinates, as captured.
    auto at = [&](int x, int y) { return POINT{ rcTip.left - origin.x + x, rcTip.top - origin.y + y }; };
    POINT inside = at(body.left + 14, body.top + 5);
    POINT border = at((body.left + body.right) / 2, body.top);
    POINT shadow = at(body.right + 3, (body.top + body.bottom) / 2);
    POINT corner = at(body.left, body.top);
    ASSERT_LT(shadow.x, before.width);

    const COLORREF info = ::GetSysColor(COLOR_INFOBK);
    const COLORREF frame = ::GetSysColor(COLOR_INFOTEXT);
    ScreenShot after;
    bool painted = PumpUntil(
        [&] {
            after = CaptureClient(m_dialog.GetSafeHwnd(), RECT{ 0, 0, 400, 300 });
            return after.At(inside.x, inside.y) == info;
        },
        3000);
    EXPECT_TRUE(painted) << "the body shows the tip's background";
    EXPECT_EQ(frame, after.At(border.x, border.y)) << "the border frames the balloon";
    EXPECT_EQ(before.At(corner.x, corner.y), after.At(corner.x, corner.y))
        << "the rounded corner leaves the screen as it was";
    COLORREF under = before.At(shadow.x, shadow.y);
    COLORREF shaded = after.At(shadow.x, shadow.y);
    int sumUnder = GetRValue(under) + GetGValue(under) + GetBValue(under);
    int sumShaded = GetRValue(shaded) + GetGValue(shaded) + GetBValue(shaded);
    EXPECT_GT(sumUnder, 200) << "the dialog lies under the shadow";
    EXPECT_LT(sumShaded, sumUnder * 85 / 100) << "the shadow darkens what lies under it";
    EXPECT_GT(sumShaded, 0) << "the shadow is not black";
}

// GDI and USER handles of this process. Where GetGuiResources is not
// implemented (Wine answers 0), the live handles are counted by probing the
// handle tables by index, which Wine accepts.
int GdiHandles()
{
    if (DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS))
        return static_cast<int>(n);
    int n = 0;
    for (UINT_PTR i = 1; i < 0x10000; ++i)
        n += ::GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0;
    return n;
}

int UserHandles()
{
    if (DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS))
        return static_cast<int>(n);
    int n = 0;
    for (UINT_PTR i = 0x20; i < 0x10000; i += 2) {
        HANDLE h = reinterpret_cast<HANDLE>(i);
        n += ::IsWindow(static_cast<HWND>(h)) || ::IsMenu(static_cast<HMENU>(h));
    }
    return n;
}

TEST_F(MarkupTipTest, ThousandShowsCostNoHandles)
{
    HWND hAlpha = Item(kAlpha)->GetSafeHwnd();
    auto cycle = [&](int i) {
        MoveTo(hAlpha, Centre(hAlpha, i % 2, 0));
        if (!Fire(TIPTIMER_SHOW) || !Visible())
            return false;
        ::UpdateWindow(Tip());
        ::SendMessageW(Tip(), WM_TIP_REPAINT, static_cast<WPARAM>(-2), 0);
        MoveToBackground();
        return !Visible();
    };
    ASSERT_TRUE(cycle(0));
    int gdi = GdiHandles(), user = UserHandles();
    {
        // The counts see new objects at all.
        HBRUSH hBrush = ::CreateSolidBrush(RGB(1, 2, 3));
        EXPECT_EQ(gdi + 1, GdiHandles());
        ::DeleteObject(hBrush);
        CWnd probe;
        probe.CreateEx(0, L"Static", L"", WS_POPUP, 0, 0, 1, 1, NULL, NULL);
        EXPECT_EQ(user + 1, UserHandles());
        probe.DestroyWindow();
    }
    for (int i = 1; i <= 1000; ++i)
        ASSERT_TRUE(cycle(i)) << "cycle " << i;
    EXPECT_LE(GdiHandles() - gdi, 3);
    EXPECT_LE(UserHandles() - user, 3);
}

TEST_F(MarkupTipTest, TipOfAGoneOwnerIgnoresEverything)
{
    HWND hAlpha = Item(kAlpha)->GetSafeHwnd();
    POINT pt = Centre(hAlpha);
    m_dialog.DestroyWindow();  // takes the owned tip window with it
    EXPECT_FALSE(::IsWindow(Tip()));
    MSG msg = { hAlpha, WM_MOUSEMOVE, 0, 0, 0, pt };
    m_tip.RelayEvent(&msg);
    msg.message = WM_LBUTTONDOWN;
    m_tip.RelayEvent(&msg);
    m_tip.RelayEvent(nullptr);
    EXPECT_EQ(TIPSTATE_HIDDEN, m_tip.State());
}

TEST_F(MarkupTipTest, DebugModeDescribesTheWindowUnderTheCursor)
{
    struct
    {
        const wchar_t* in;
        const wchar_t* out;
    } shorten[] = {
        { L"Button", L"Button" },
        { L"<b>bold</b>", L"?b>bold?/b>" },
        { L"1234567890123456789012345", L"1234567890123456789012345" },
        { L"12345678901234567890123456", L"123456789012345678901 ..." },
    };
    for (const auto& c : shorten)
        EXPECT_EQ(std::wstring(c.out), std::wstring(CTipProbe::ShortenDebugText(c.in).GetString()));
    EXPECT_EQ(std::wstring(L"<tr><td width=70 bgcolor=buttonface>X</td><td width=130 bgcolor=window>?i></td></tr>"),
              std::wstring(CTipProbe::FormatDebugRow(L"X", L"<i>").GetString()));

    HWND hAlpha = Item(kAlpha)->GetSafeHwnd();
    POINT pt = Centre(hAlpha);
    POINT ptClient = pt;
    ::ScreenToClient(m_dialog.GetSafeHwnd(), &ptClient);
    std::wstring info = m_tip.BuildDebugInfo(ptClient).GetString();
    EXPECT_EQ(0u, info.find(L"<table><tr><td><font color=darkblue>Window</font><table border=1>"));
    EXPECT_NE(std::wstring::npos, info.find(L">Class name</td><td width=130 bgcolor=window>Button<"));
    EXPECT_NE(std::wstring::npos, info.find(L">Control ID</td><td width=130 bgcolor=window>101<"));
    EXPECT_NE(std::wstring::npos, info.find(L">Has Tooltip</td><td width=130 bgcolor=window>Yes<"));
    EXPECT_NE(std::wstring::npos, info.find(L">Window Owner</font>"));
    CString x;
    x.Format(L">X</td><td width=130 bgcolor=window>%d<", ptClient.x);
    EXPECT_NE(std::wstring::npos, info.find(x.GetString()));

    // In debug mode a disabled control is described too, without a tip.
    HWND hOff = Item(kDisabled)->GetSafeHwnd();
    POINT off = Centre(hOff);
    ::ScreenToClient(m_dialog.GetSafeHwnd(), &off);
    info = m_tip.BuildDebugInfo(off).GetString();
    EXPECT_NE(std::wstring::npos, info.find(L">Control ID</td><td width=130 bgcolor=window>103<"));
    EXPECT_NE(std::wstring::npos, info.find(L">Has Tooltip</td><td width=130 bgcolor=window>No<"));

    m_tip.SetDebugMode(TRUE);
    MoveTo(hAlpha, pt);
    ASSERT_TRUE(Fire(TIPTIMER_SHOW));
    EXPECT_EQ(0u, ShownText().find(L"<table>"));
}

}  // namespace
