// CIconButton: its message map (hover tracking, the click, focus and
// activation, the owner-draw style, the check state) and the attaching.
#include "toolkit/IconButton.h"

#include <commctrl.h>

BEGIN_MESSAGE_MAP(CIconButton, CButton)
ON_WM_SETCURSOR()                                           // BOOL OnSetCursor(CWnd*, UINT, UINT)
ON_WM_KILLFOCUS()                                           // void OnKillFocus(CWnd*)
ON_WM_MOUSEMOVE()                                           // void OnMouseMove(UINT, CPoint)
ON_WM_SYSCOLORCHANGE()                                      // void OnSysColorChange()
ON_CONTROL_REFLECT_EX(BN_CLICKED, &CIconButton::OnClicked)  // BOOL OnClicked()
ON_WM_ACTIVATE()                                            // void OnActivate(UINT, CWnd*, BOOL)
ON_WM_ENABLE()                                              // void OnEnable(BOOL)
ON_WM_CANCELMODE()                                          // void OnCancelMode()
ON_WM_GETDLGCODE()                                          // UINT OnGetDlgCode()
ON_WM_CTLCOLOR_REFLECT()                                    // HBRUSH CtlColor(CDC*, UINT)
ON_MESSAGE(BM_SETSTYLE, &CIconButton::OnSetStyle)           // LRESULT OnSetStyle(WPARAM, LPARAM)
ON_WM_MOUSELEAVE()                                          // void OnMouseLeave()
ON_MESSAGE(BM_SETCHECK, &CIconButton::OnSetCheck)           // LRESULT OnSetCheck(WPARAM, LPARAM)
ON_MESSAGE(BM_GETCHECK, &CIconButton::OnGetCheck)           // LRESULT OnGetCheck(WPARAM, LPARAM)
END_MESSAGE_MAP()

namespace {

// The button types that toggle a check mark.
bool IsCheckBoxType(UINT nType)
{
    return nType == BS_CHECKBOX || nType == BS_AUTOCHECKBOX || nType == BS_3STATE || nType == BS_AUTO3STATE;
}

}  // namespace

void CIconButton::PreSubclassWindow()
{
    UINT nStyle = GetButtonStyle();
    m_nTypeStyle = nStyle & BS_TYPEMASK;
    // By the type, not by its bit 0x2 alone: that bit is also set in
    // BS_OWNERDRAW, BS_GROUPBOX and BS_PUSHBOX, and clear in BS_3STATE.
    if (IsCheckBoxType(m_nTypeStyle))
        m_bIsCheckBox = TRUE;
    if (m_nTypeStyle == BS_DEFPUSHBUTTON) {
        m_bIsDefault = TRUE;
        m_nTypeStyle = BS_PUSHBUTTON;
    }
    ModifyStyle(BS_TYPEMASK, BS_OWNERDRAW, SWP_FRAMECHANGED);
    CButton::PreSubclassWindow();
}

void CIconButton::InitToolTip()
{
    if (m_toolTip.m_hWnd != NULL)
        return;
    if (!m_toolTip.Create(this, m_dwToolTipStyle))
        return;
    m_toolTip.Activate(FALSE);
    m_toolTip.SetMaxTipWidth(400);
}

BOOL CIconButton::PreTranslateMessage(MSG* pMsg)
{
    InitToolTip();
    m_toolTip.RelayEvent(pMsg);
    // A double click acts as two clicks.
    if (pMsg->message == WM_LBUTTONDBLCLK)
        pMsg->message = WM_LBUTTONDOWN;
    return CButton::PreTranslateMessage(pMsg);
}

void CIconButton::CancelHover()
{
    if (m_bIsFlat && m_bMouseOnButton) {
        m_bMouseOnButton = FALSE;
        Invalidate();
    }
}

BOOL CIconButton::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_hCursor != NULL) {
        ::SetCursor(m_hCursor);
        return TRUE;
    }
    return CButton::OnSetCursor(pWnd, nHitTest, message);
}

void CIconButton::OnKillFocus(CWnd* pNewWnd)
{
    CButton::OnKillFocus(pNewWnd);
    CancelHover();
}

void CIconButton::OnMouseMove(UINT nFlags, CPoint point)
{
    CButton::OnMouseMove(nFlags, point);
    ClientToScreen(&point);
    HWND hUnder = ::WindowFromPoint(point);

    if ((nFlags & MK_LBUTTON) && !m_bMouseOnButton)
        return;
    if (!m_bIsFlat)
        return;

    bool bOwnerOk = m_bAlwaysTrack || ::GetActiveWindow() != NULL;
    if (hUnder == m_hWnd && bOwnerOk) {
        if (!m_bMouseOnButton) {
            m_bMouseOnButton = TRUE;
            Invalidate();
            PlaySound(0);
            TRACKMOUSEEVENT tme = {};
            tme.cbSize = sizeof(tme);
            tme.dwFlags = TME_LEAVE;
            tme.hwndTrack = m_hWnd;
            ::_TrackMouseEvent(&tme);
        }
    } else {
        CancelHover();
    }
}

void CIconButton::OnMouseLeave()
{
    CancelHover();
}

void CIconButton::OnSysColorChange()
{
    CButton::OnSysColorChange();
    ReleaseBackground();
    ResetColors(FALSE);
    Invalidate();
}

void CIconButton::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CButton::OnActivate(nState, pWndOther, bMinimized);
    if (nState == WA_INACTIVE)
        CancelHover();
}

void CIconButton::OnEnable(BOOL bEnable)
{
    CButton::OnEnable(bEnable);
    if (!bEnable) {
        // Only a button that held the focus hands it on: the main window
        // disables several buttons at once and the focus must stay where it
        // is. Disabling a focused window leaves the focus at no window before
        // this message comes, so that counts as holding it while the
        // button's own window is the active one.
        HWND hFocus = ::GetFocus();
        CWnd* pParent = GetParent();
        bool bHeld = hFocus == m_hWnd ||
                     (hFocus == NULL && pParent != NULL && ::GetActiveWindow() == ::GetAncestor(m_hWnd, GA_ROOT));
        if (bHeld && pParent != NULL) {
            HWND hNext = ::GetNextDlgTabItem(pParent->m_hWnd, m_hWnd, FALSE);
            if (hNext != NULL && hNext != m_hWnd)
                ::SetFocus(hNext);
            else
                pParent->SetFocus();
        }
    }
    CancelHover();
}

void CIconButton::OnCancelMode()
{
    CButton::OnCancelMode();
    CancelHover();
}

UINT CIconButton::OnGetDlgCode()
{
    UINT nCode = CButton::OnGetDlgCode();
    nCode |= m_bIsDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON;
    return nCode;
}

HBRUSH CIconButton::CtlColor(CDC* pDC, UINT nCtlColor)
{
    (void)pDC;
    (void)nCtlColor;
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

LRESULT CIconButton::OnSetStyle(WPARAM wParam, LPARAM lParam)
{
    UINT nType = static_cast<UINT>(wParam) & BS_TYPEMASK;
    if (nType == BS_DEFPUSHBUTTON)
        m_bIsDefault = TRUE;
    else if (nType == BS_PUSHBUTTON)
        m_bIsDefault = FALSE;
    // The dialog manager moves the default between buttons this way; the
    // control must stay owner-drawn.
    return DefWindowProc(BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(BS_TYPEMASK)) | BS_OWNERDRAW, lParam);
}

LRESULT CIconButton::OnSetCheck(WPARAM wParam, LPARAM lParam)
{
    (void)lParam;
    if (m_bIsCheckBox) {
        m_nCheck = (wParam == BST_CHECKED || wParam == BST_INDETERMINATE) ? 1 : 0;
        Invalidate();
    }
    return 0;
}

LRESULT CIconButton::OnGetCheck(WPARAM wParam, LPARAM lParam)
{
    (void)wParam;
    (void)lParam;
    return m_nCheck;
}

// --- the click ---------------------------------------------------------------------

BOOL CIconButton::OnClicked()
{
    SetFocus();
    PlaySound(1);

    if (m_bIsCheckBox) {
        m_nCheck = m_nCheck ? 0 : 1;
        Invalidate();
    } else if (m_hMenu != NULL) {
        OpenMenu();
    } else if (m_szUrl[0] != 0) {
        OpenUrl();
    }
    // The parent gets BN_CLICKED too.
    return FALSE;
}

void CIconButton::OpenMenu()
{
    CRect rc;
    GetWindowRect(&rc);
    m_bMenuDisplayed = TRUE;
    Invalidate();
    HMENU hSub = ::GetSubMenu(m_hMenu, 0);
    if (hSub != NULL) {
        if (m_menuCallback.hWnd != NULL)
            ::SendMessageW(m_menuCallback.hWnd, m_menuCallback.nMessage, reinterpret_cast<WPARAM>(hSub),
                           m_menuCallback.lParam);
        UINT nCmd = static_cast<UINT>(::TrackPopupMenuEx(hSub, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, rc.left,
                                                         rc.bottom, m_hMenuOwner, NULL));
        m_bMenuDisplayed = FALSE;
        Invalidate();
        if (nCmd != 0)
            ::PostMessageW(m_hMenuOwner, WM_COMMAND, MAKEWPARAM(LOWORD(nCmd), 0), 0);
    } else {
        m_bMenuDisplayed = FALSE;
        Invalidate();
    }
}
