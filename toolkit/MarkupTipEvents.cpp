// The tooltip's message filter: relayed mouse and key messages, the four
// states (hidden, appearing, shown, disappearing) and the five timers.
#include "toolkit/MarkupTip.h"

namespace {

BOOL SamePoint(POINT a, POINT b)
{
    return a.x == b.x && a.y == b.y;
}

}  // namespace

void CMarkupTip::RelayEvent(MSG* pMsg)
{
    // A tip whose window never came, or is gone, ignores everything.
    if (!pMsg || !::IsWindow(GetSafeHwnd()))
        return;
    switch (pMsg->message) {
    case WM_MOUSEMOVE: OnRelayedMouseMove(pMsg->pt); break;
    case WM_LBUTTONDOWN: OnRelayedLeftClick(pMsg->pt); break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_MOUSEWHEEL:
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
    case WM_NCRBUTTONDOWN:
    case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN:
    case WM_NCMBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: KillTooltip(); break;
    default: break;
    }
}

void CMarkupTip::OnRelayedLeftClick(POINT ptScreen)
{
    // A click on a hyperlink of the tip follows it; every click hides the tip.
    if (IsCursorInTooltip()) {
        POINT pt = ptScreen;
        ::ScreenToClient(m_hWnd, &pt);
        int nArea = m_drawer.FindAreaAt(pt);
        if (nArea >= 0)
            m_drawer.FollowLink(nArea);
    }
    KillTooltip();
}

void CMarkupTip::OnRelayedMouseMove(POINT ptScreen)
{
    if (SamePoint(ptScreen, m_ptLastMouse))
        return;
    m_ptLastMouse = ptScreen;
    POINT ptClient = ptScreen;
    ::ScreenToClient(m_hParentWnd, &ptClient);

    if (m_bDebugMode) {
        ToolTipInfo info;
        info.sText = BuildDebugInfo(ptClient);
        m_hCurrentWnd = NULL;
        SetNewToolTip(info, m_hWnd);
        return;
    }

    if (IsCursorInTooltip() && !(m_tiDisplayed.nBehaviour & TIPBEHAVIOUR_FOLLOW)) {
        if (m_tiDisplayed.nBehaviour & TIPBEHAVIOUR_OVER_TIP_KEEPS)
            SetAutoPopTimer();
        else
            StartHide();
        return;
    }

    ToolTipInfo info;
    HWND hTool = NULL;
    if (!FindToolBarItem(ptScreen, info, hTool) && !FindToolFromPoint(ptClient, info, hTool)) {
        m_hCurrentWnd = NULL;
        ::SetRectEmpty(&m_tiDisplayed.rcTool);
        KillTimer(TIPTIMER_SHOW);
        StartHide();
        return;
    }

    // The tip of this tool was painted last.
    if (hTool == m_hCurrentWnd && ::EqualRect(&info.rcTool, &m_tiDisplayed.rcTool)) {
        UINT nBehaviour = m_tiDisplayed.nBehaviour;
        if (nBehaviour & TIPBEHAVIOUR_FOLLOW) {
            SetAutoPopTimer();
            MoveTooltip(ptScreen);
            return;
        }
        if (nBehaviour & TIPBEHAVIOUR_MOVE_KEEPS) {
            SetAutoPopTimer();
            return;
        }
        if (!(nBehaviour & TIPBEHAVIOUR_FORGET)) {
            StartHide();
            return;
        }
    }
    SetNewToolTip(info, hTool);
}

void CMarkupTip::SetNewToolTip(const ToolTipInfo& info, HWND hWnd)
{
    m_bQueued = FALSE;
    StartHide();
    m_hPendingWnd = hWnd;
    m_tiPending = info;
    if (m_nTipState != TIPSTATE_HIDDEN) {
        // A fade-out is running: the new tip follows it.
        m_bQueued = TRUE;
        m_bQueuedDelay = m_nTimeInitial != 0;
        return;
    }
    if (m_nTimeInitial != 0)
        SetTimer(TIPTIMER_SHOW, m_nTimeInitial);
    else
        StepShow();
}

void CMarkupTip::StartHide()
{
    if (m_nTipState == TIPSTATE_APPEARING) {
        KillTimer(TIPTIMER_FADEIN);
        StepHide();
    } else if (m_nTipState == TIPSTATE_SHOWN) {
        StepHide();
    }
}

void CMarkupTip::SetAutoPopTimer()
{
    if (m_nTimeAutoPop != 0 && !(m_tiDisplayed.nBehaviour & TIPBEHAVIOUR_NO_AUTOPOP))
        SetTimer(TIPTIMER_HIDE, m_nTimeAutoPop);
}

void CMarkupTip::ForgetDisplayedTool()
{
    if (m_tiDisplayed.nBehaviour & TIPBEHAVIOUR_FORGET) {
        m_hCurrentWnd = NULL;
        ::SetRectEmpty(&m_tiDisplayed.rcTool);
    }
}

void CMarkupTip::KillTooltip()
{
    m_nTipState = TIPSTATE_HIDDEN;
    if (!::IsWindow(GetSafeHwnd()))
        return;
    KillTimer(TIPTIMER_SHOW);
    KillTimer(TIPTIMER_HIDE);
    KillTimer(TIPTIMER_FADEIN);
    KillTimer(TIPTIMER_FADEOUT);
    if (IsWindowVisible()) {
        ForgetDisplayedTool();
        ShowWindow(SW_HIDE);
    }
}

BOOL CMarkupTip::IsCursorInTooltip() const
{
    if (!IsWindowVisible())
        return FALSE;
    POINT pt;
    return ::GetCursorPos(&pt) && ::WindowFromPoint(pt) == m_hWnd;
}

void CMarkupTip::MoveTooltip(POINT ptScreen)
{
    // The anchor keeps pointing at the cursor, as when the tip was placed.
    RECT rc = m_rcWindow;
    ::OffsetRect(&rc, ptScreen.x - m_ptAnchor.x, ptScreen.y - m_ptAnchor.y);
    MoveWindow(&rc, TRUE);
}

void CMarkupTip::StepShow()
{
    KillTimer(TIPTIMER_SHOW);
    POINT pt = { 0, 0 };
    ::GetCursorPos(&pt);
    if (SamePoint(pt, m_ptLastMouse)) {
        if (m_nTipState != TIPSTATE_HIDDEN)
            return;
        m_nTipState = TIPSTATE_APPEARING;
        PrepareTooltip(m_ptLastMouse);
        if (m_bFadeIn && m_nTimeFadeIn != 0) {
            SetTimer(TIPTIMER_FADEIN, m_nTimeFadeIn);
        } else {
            m_nTipState = TIPSTATE_SHOWN;
            if (m_nTimeAutoPop != 0 && !(m_tiPending.nBehaviour & TIPBEHAVIOUR_NO_AUTOPOP))
                SetTimer(TIPTIMER_HIDE, m_nTimeAutoPop);
        }
        return;
    }
    StartHide();
}

void CMarkupTip::StepHide()
{
    KillTimer(TIPTIMER_SHOW);
    KillTimer(TIPTIMER_FADEIN);
    KillTimer(TIPTIMER_HIDE);
    if (m_nTipState == TIPSTATE_DISAPPEARING)
        return;
    m_nTipState = TIPSTATE_DISAPPEARING;
    if (m_bFadeOut && m_nTimeFadeOut != 0) {
        SetTimer(TIPTIMER_FADEOUT, m_nTimeFadeOut);
    } else {
        m_nTransparency = 100;
        StepFadeOut();
    }
}

void CMarkupTip::StepFadeIn()
{
    m_nTransparency = m_nTransparency <= 20 ? 0 : m_nTransparency - 20;
    if (m_nTransparency <= m_tiDisplayed.nTransparency) {
        m_nTransparency = m_tiDisplayed.nTransparency;
        KillTimer(TIPTIMER_FADEIN);
        m_nTipState = TIPSTATE_SHOWN;
        SetAutoPopTimer();
    }
    PaintTooltip(NULL, m_nTransparency);
}

void CMarkupTip::StepFadeOut()
{
    m_nTransparency = m_nTransparency >= 80 ? 100 : m_nTransparency + 20;
    if (m_nTransparency < 100) {
        PaintTooltip(NULL, m_nTransparency);
        return;
    }
    KillTimer(TIPTIMER_FADEOUT);
    ForgetDisplayedTool();
    ShowWindow(SW_HIDE);
    m_nTipState = TIPSTATE_HIDDEN;
    if (m_bQueued) {
        m_bQueued = FALSE;
        if (m_bQueuedDelay)
            SetTimer(TIPTIMER_SHOW, m_nTimeInitial);
        else
            StepShow();
    }
}

void CMarkupTip::StepAnimation()
{
    if (IsWindowVisible() && m_nTipState == TIPSTATE_SHOWN && m_drawer.StepAnimations())
        PaintTooltip(NULL, m_nTransparency);
}
