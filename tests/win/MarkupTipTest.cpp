// The mark-up tooltip on a real owner dialog: when a tip appears and goes,
// which control it serves, what it paints on the screen, and that showing
// and hiding it a thousand times costs no handles. The timers are fired by
// the test (a timer is fired only when the tip had armed it).
#include "toolkit/LinkLauncher.h"
#include "toolkit/MarkupTip.h"
#include "resource.h"
#include "tests/e2e/ScreenPixels.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

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
    RECT TextBox() const { return m_rcText; }
    HRGN BalloonRegion() const { return m_hRgn; }
    POINT Anchor() const { return m_ptAnchor; }
    const std::vector<HtmlArea>& Links() const { return m_drawer.m_arrAreas; }
    int HotLink() const { return m_drawer.m_nHotArea; }
    HCURSOR LinkCursor() const { return m_drawer.m_hLinkCursor; }
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

    // What the screen shows of the tip window, once it has painted.
    ScreenShot ShotOfTip()
    {
        ::UpdateWindow(Tip());
        PumpUntil([] { return false; }, 100);
        RECT rc;
        ::GetWindowRect(Tip(), &rc);
        return CaptureClient(Tip(), RECT{ 0, 0, rc.right - rc.left, rc.bottom - rc.top });
    }

    // The dialog's client area as the screen shows it, and where a point of
    // the tip's client area lies in it.
    ScreenShot DialogShot() { return CaptureClient(m_dialog.GetSafeHwnd(), RECT{ 0, 0, 400, 300 }); }
    POINT InDialog(POINT ptTip)
    {
        ::ClientToScreen(Tip(), &ptTip);
        ::ScreenToClient(m_dialog.GetSafeHwnd(), &ptTip);
        return ptTip;
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
    // The blurred shadow is darkest next to the body and fades outwards.
    POINT shadow = at(body.right + 1, (body.top + body.bottom) / 2);
    POINT shadowOuter = at(body.right + 5, (body.top + body.bottom) / 2);
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
    COLORREF outer = after.At(shadowOuter.x, shadowOuter.y);
    EXPECT_LT(sumShaded, GetRValue(outer) + GetGValue(outer) + GetBValue(outer)) << "the shadow is blurred";
}

TEST_F(MarkupTipTest, ShownWindowIsShapedLikeTheBalloonWithItsShadow)
{
    ASSERT_EQ(L"Alpha tip", ShowOver(kAlpha));
    ASSERT_EQ(16, m_tip.Direction());
    HRGN hWindowRgn = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, ::GetWindowRgn(Tip(), hWindowRgn));
    const RECT body = m_tip.Body();
    const POINT a = m_tip.Anchor();  // below the body, 16 from its left end
    const int yMid = (body.top + body.bottom) / 2;
    struct
    {
        const char* what;
        POINT pt;
        bool bInBalloon, bInWindow;
    } cases[] = {
        { "rounded top-left corner", { 0, 0 }, false, false },
        { "middle of the body", { body.right / 2, yMid }, true, true },
        { "near the anchor's tip", { a.x + 1, a.y - 5 }, true, true },
        { "left of the anchor, below the body", { 2, body.bottom + 3 }, false, false },
        { "shadow right of the body", { body.right + 3, yMid }, false, true },
        { "shadow of the anchor's tip", { a.x + 6 + 1, a.y + 6 - 5 }, false, true },
        { "past the shadow", { body.right + 8, yMid }, false, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.bInBalloon, ::PtInRegion(m_tip.BalloonRegion(), c.pt.x, c.pt.y) != FALSE);
        EXPECT_EQ(c.bInWindow, ::PtInRegion(hWindowRgn, c.pt.x, c.pt.y) != FALSE);
    }
    ::DeleteObject(hWindowRgn);
}

bool IsRed(COLORREF c)
{
    return GetRValue(c) > 180 && GetGValue(c) < 90 && GetBValue(c) < 90;
}
bool IsBlue(COLORREF c)
{
    return GetBValue(c) > 180 && GetRValue(c) < 90 && GetGValue(c) < 90;
}
bool IsBlack(COLORREF c)
{
    return GetRValue(c) < 60 && GetGValue(c) < 60 && GetBValue(c) < 60;
}

// Where pixels of one colour lie in a shot.
struct ColourSpread
{
    int nCount = 0;
    int nOutside = 0;  // outside the box they belong in
    RECT box = { 1 << 30, 1 << 30, -(1 << 30), -(1 << 30) };
};

ColourSpread Spread(const ScreenShot& shot, bool (*is)(COLORREF), const RECT& rcAllowed)
{
    ColourSpread s;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            if (!is(shot.At(x, y)))
                continue;
            ++s.nCount;
            s.nOutside += !::PtInRect(&rcAllowed, POINT{ x, y });
            s.box = RECT{ std::min<LONG>(s.box.left, x), std::min<LONG>(s.box.top, y), std::max<LONG>(s.box.right, x),
                          std::max<LONG>(s.box.bottom, y) };
        }
    return s;
}

TEST_F(MarkupTipTest, MarkupTextShowsInItsColoursInsideTheTextBox)
{
    const wchar_t* text = L"<font color=#ff0000><b>Red</b></font> and <font color=#0000ff>blue</font>";
    m_tip.AddToolText(Item(kAlpha), text);
    ASSERT_EQ(text, ShowOver(kAlpha));
    ScreenShot shot = ShotOfTip();
    RECT rcText = m_tip.TextBox();
    ColourSpread red = Spread(shot, IsRed, rcText);
    ColourSpread blue = Spread(shot, IsBlue, rcText);
    ColourSpread black = Spread(shot, IsBlack, rcText);
    EXPECT_GT(red.nCount, 10) << "the red run";
    EXPECT_GT(blue.nCount, 10) << "the blue run";
    EXPECT_EQ(0, red.nOutside) << "the mark-up stays inside its text box";
    EXPECT_EQ(0, blue.nOutside);
    EXPECT_LT(red.box.right, blue.box.left) << "the runs follow each other in order";
    // The border is black too: only the text box counts.
    EXPECT_GT(black.nCount - black.nOutside, 10) << "the plain words in the body's black";

    // The tags take no room: a tip of the words alone is as wide.
    const int nWidth = rcText.right - rcText.left;
    m_tip.AddToolText(Item(kBeta), L"<b>Red</b> and blue");
    ASSERT_EQ(L"<b>Red</b> and blue", ShowOver(kBeta));
    RECT rcPlain = m_tip.TextBox();
    EXPECT_NEAR(rcPlain.right - rcPlain.left, nWidth, 1);
}

TEST_F(MarkupTipTest, BackgroundEffectOfTheRecordFillsBodyAndAnchor)
{
    ToolTipInfo info;
    info.sText = L"A tip with a gradient";
    info.nMask = TIPMASK_EFFECT | TIPMASK_COLORS;
    info.nEffect = CDrawManager::EFFECT_HGRADIENT;
    info.crBegin = RGB(255, 0, 0);
    info.crMid = RGB(0, 255, 0);
    info.crEnd = RGB(0, 0, 255);
    m_tip.AddToolInfo(Item(kAlpha), info);
    ASSERT_EQ(L"A tip with a gradient", ShowOver(kAlpha));
    ASSERT_EQ(16, m_tip.Direction()) << "the anchor below the body";
    ScreenShot shot = ShotOfTip();
    RECT body = m_tip.Body();
    const int yMid = (body.top + body.bottom) / 2;
    COLORREF left = shot.At(body.left + 3, yMid), right = shot.At(body.right - 4, yMid);
    EXPECT_GT(GetRValue(left), 200);
    EXPECT_LT(GetBValue(left), 60);
    EXPECT_GT(GetBValue(right), 180);
    EXPECT_LT(GetRValue(right), 80);
    // The anchor repeats the body's colour of its column.
    const int x = 16 + 3;
    EXPECT_EQ(shot.At(x, yMid), shot.At(x, body.bottom + 3));
}

TEST_F(MarkupTipTest, HalfTransparentTipBlendsOverTheScreenAndCastsALighterShadow)
{
    HWND hAlpha = Item(kAlpha)->GetSafeHwnd();
    const COLORREF crInfo = ::GetSysColor(COLOR_INFOBK);
    struct Seen
    {
        COLORREF under, inside, shadowUnder, shadow;
    } seen[2];
    const BYTE transparency[2] = { 0, 50 };
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(transparency[i]);
        ToolTipInfo info;
        info.sText = L"Alpha tip";
        info.nMask = TIPMASK_TRANSPARENCY;
        info.nTransparency = transparency[i];
        m_tip.AddToolInfo(Item(kAlpha), info);
        MoveToBackground();
        PumpUntil([] { return false; }, 100);
        MoveTo(hAlpha, Centre(hAlpha));
        ScreenShot before = DialogShot();
        ASSERT_TRUE(Fire(TIPTIMER_SHOW));
        ASSERT_TRUE(Visible());
        ScreenShot tip = ShotOfTip();
        RECT body = m_tip.Body();
        POINT inside = { body.left + 14, body.top + 5 };
        POINT shadow = { body.right + 3, (body.top + body.bottom) / 2 };
        POINT insideOnDialog = InDialog(inside), shadowOnDialog = InDialog(shadow);
        ASSERT_LT(shadowOnDialog.x, before.width);
        seen[i] = Seen{ before.At(insideOnDialog.x, insideOnDialog.y), tip.At(inside.x, inside.y),
                        before.At(shadowOnDialog.x, shadowOnDialog.y), tip.At(shadow.x, shadow.y) };
    }
    EXPECT_EQ(crInfo, seen[0].inside) << "an opaque tip shows its own colour";
    EXPECT_NEAR(GetRValue(seen[1].inside), (GetRValue(crInfo) + GetRValue(seen[1].under)) / 2, 3);
    EXPECT_NEAR(GetGValue(seen[1].inside), (GetGValue(crInfo) + GetGValue(seen[1].under)) / 2, 3);
    EXPECT_NEAR(GetBValue(seen[1].inside), (GetBValue(crInfo) + GetBValue(seen[1].under)) / 2, 3);
    auto sum = [](COLORREF c) { return GetRValue(c) + GetGValue(c) + GetBValue(c); };
    EXPECT_LT(sum(seen[0].shadow), sum(seen[1].shadow)) << "the shadow lightens with the tip";
    EXPECT_LT(sum(seen[1].shadow), sum(seen[1].shadowUnder)) << "but still darkens";
}

// Links the tip followed, through the opener hook.
std::vector<std::wstring> g_opened;
HINSTANCE RecordOpen(HWND, LPCWSTR, LPCWSTR pszFile, LPCWSTR, LPCWSTR, INT)
{
    g_opened.push_back(pszFile ? pszFile : L"");
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

class MarkupTipLinkTest : public MarkupTipTest
{
protected:
    void SetUp() override
    {
        MarkupTipTest::SetUp();
        CLinkLauncher::SetOpener(&RecordOpen);
        g_opened.clear();
        // The cursor goes onto the tip to reach its link: the tip must stay.
        ToolTipInfo info;
        info.sText = kText;
        info.nMask = TIPMASK_BEHAVIOUR;
        info.nBehaviour = TIPBEHAVIOUR_OVER_TIP_KEEPS;
        m_tip.AddToolInfo(Item(kAlpha), info);
    }
    void TearDown() override
    {
        CLinkLauncher::SetOpener(NULL);
        MarkupTipTest::TearDown();
    }

    // Shows the tip; the screen point of the link's middle and of a word
    // before it.
    bool ShowLink(POINT& ptLink, POINT& ptBeside)
    {
        MoveToBackground();
        if (ShowOver(kAlpha) != kText || m_tip.Links().size() != 1)
            return false;
        const HtmlArea& a = m_tip.Links()[0];
        ptLink = POINT{ (a.left + a.right) / 2, (a.top + a.bottom) / 2 };
        ptBeside = POINT{ m_tip.TextBox().left + 2, ptLink.y };
        ::ClientToScreen(Tip(), &ptLink);
        ::ClientToScreen(Tip(), &ptBeside);
        return true;
    }
    bool Hot(POINT ptScreen)
    {
        ::SetCursorPos(ptScreen.x, ptScreen.y);
        ::SendMessageW(Tip(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Tip()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return m_tip.HotLink() != MARKUP_NO_HOT_AREA;
    }

    static const wchar_t kText[];
};
const wchar_t MarkupTipLinkTest::kText[] = L"Go <a href=\"http://127.0.0.1/tip\">here</a> now";

TEST_F(MarkupTipLinkTest, ClickOnTheLinkFollowsItAndEveryClickHides)
{
    struct
    {
        const char* what;
        bool bOnLink;
        std::vector<std::wstring> opened;
    } cases[] = {
        { "on the link", true, { L"http://127.0.0.1/tip" } },
        { "beside it", false, {} },
    };
    HWND hAlpha = Item(kAlpha)->GetSafeHwnd();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        POINT ptLink, ptBeside;
        ASSERT_TRUE(ShowLink(ptLink, ptBeside));
        POINT pt = c.bOnLink ? ptLink : ptBeside;
        ::SetCursorPos(pt.x, pt.y);
        g_opened.clear();
        Relay(hAlpha, WM_LBUTTONDOWN, MK_LBUTTON, pt);
        EXPECT_EQ(c.opened, g_opened);
        EXPECT_FALSE(Visible());
    }
}

TEST_F(MarkupTipLinkTest, CursorOverTheLinkIsTheHandAndRepaintsItHot)
{
    POINT ptLink, ptBeside;
    ASSERT_TRUE(ShowLink(ptLink, ptBeside));
    const HtmlArea area = m_tip.Links()[0];
    RECT rcLink = { area.left, area.top, area.right + 1, area.bottom + 1 };
    ScreenShot cold = ShotOfTip();

    ASSERT_TRUE(Hot(ptLink));
    EXPECT_EQ(area.nId, m_tip.HotLink());
    EXPECT_EQ(m_tip.LinkCursor(), ::GetCursor());
    ScreenShot hot = ShotOfTip();
    // Hot, the link is underlined: more of its blue in the same place.
    EXPECT_GT(Spread(hot, IsBlue, rcLink).nCount, Spread(cold, IsBlue, rcLink).nCount);
    EXPECT_TRUE(Visible()) << "the repaint keeps the tip up";

    EXPECT_FALSE(Hot(ptBeside));
    EXPECT_EQ(::LoadCursorW(NULL, IDC_ARROW), ::GetCursor());
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
    // Fonts, colours, a table and a link: every kind of object a paint makes.
    m_tip.AddToolText(Item(kAlpha),
                      L"<b>Alpha</b> <font color=red>tip</font> <a href=\"http://127.0.0.1/\">link</a>"
                      L"<table border=1><tr><td bgcolor=yellow>cell</td></tr></table>");
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
