// CWnd helpers, dialog data exchange and the default message handlers.
#include "afxwin.h"

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

void CWnd::DoDataExchange(CDataExchange* pDX)
{
    (void)pDX;
}

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (CUserException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

void CWnd::GetWindowText(CString& rString) const
{
    int nLen = ::GetWindowTextLengthW(m_hWnd);
    LPWSTR p = rString.GetBuffer(nLen + 1);
    int n = ::GetWindowTextW(m_hWnd, p, nLen + 1);
    rString.ReleaseBuffer(n >= 0 ? n : 0);
}

int CWnd::GetDlgItemText(int nID, CString& rString) const
{
    HWND hItem = ::GetDlgItem(m_hWnd, nID);
    if (hItem == NULL) {
        rString.Empty();
        return 0;
    }
    CWnd::FromHandle(hItem)->GetWindowText(rString);
    return rString.GetLength();
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw)
{
    ::SendMessageW(m_hWnd, WM_SETFONT, (WPARAM)pFont->GetSafeHandle(), bRedraw);
}

CFont* CWnd::GetFont() const
{
    return CFont::FromHandle((HFONT)::SendMessageW(m_hWnd, WM_GETFONT, 0, 0));
}

CWnd* CWnd::GetDlgItem(int nID) const
{
    return FromHandle(::GetDlgItem(m_hWnd, nID));
}

CWnd* CWnd::GetNextDlgTabItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    return FromHandle(::GetNextDlgTabItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
}

CWnd* CWnd::GetNextDlgGroupItem(CWnd* pWndCtl, BOOL bPrevious) const
{
    return FromHandle(::GetNextDlgGroupItem(m_hWnd, pWndCtl->GetSafeHwnd(), bPrevious));
}

void CWnd::CenterWindow(CWnd* pAlternateOwner)
{
    DWORD dwStyle = GetStyle();
    HWND hCenter = pAlternateOwner->GetSafeHwnd();
    if (hCenter == NULL)
        hCenter = (dwStyle & WS_CHILD) ? ::GetParent(m_hWnd) : ::GetWindow(m_hWnd, GW_OWNER);

    RECT rcDlg;
    ::GetWindowRect(m_hWnd, &rcDlg);
    RECT rcArea, rcCenter;
    if (dwStyle & WS_CHILD) {
        HWND hParent = ::GetParent(m_hWnd);
        ::GetClientRect(hParent, &rcArea);
        ::GetClientRect(hCenter, &rcCenter);
        ::MapWindowPoints(hCenter, hParent, (LPPOINT)&rcCenter, 2);
    } else {
        HMONITOR hMon = ::MonitorFromWindow(hCenter ? hCenter : m_hWnd, MONITOR_DEFAULTTONEAREST);
        MONITORINFO mi = { sizeof(mi) };
        ::GetMonitorInfoW(hMon, &mi);
        rcArea = mi.rcWork;
        if (hCenter != NULL && ::IsWindowVisible(hCenter) && !::IsIconic(hCenter))
            ::GetWindowRect(hCenter, &rcCenter);
        else
            rcCenter = rcArea;
    }

    int cx = rcDlg.right - rcDlg.left, cy = rcDlg.bottom - rcDlg.top;
    int x = (rcCenter.left + rcCenter.right) / 2 - cx / 2;
    int y = (rcCenter.top + rcCenter.bottom) / 2 - cy / 2;
    // Keep the window inside the area.
    if (x + cx > rcArea.right)
        x = rcArea.right - cx;
    if (x < rcArea.left)
        x = rcArea.left;
    if (y + cy > rcArea.bottom)
        y = rcArea.bottom - cy;
    if (y < rcArea.top)
        y = rcArea.top;
    ::SetWindowPos(m_hWnd, NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CDC* CWnd::GetDC()
{
    return CDC::FromHandle(::GetDC(m_hWnd));
}

CDC* CWnd::GetWindowDC()
{
    return CDC::FromHandle(::GetWindowDC(m_hWnd));
}

int CWnd::ReleaseDC(CDC* pDC)
{
    return pDC ? ::ReleaseDC(m_hWnd, pDC->m_hDC) : 0;
}

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const
{
    return CMenu::FromHandle(::GetSystemMenu(m_hWnd, bRevert));
}

CMenu* CWnd::GetMenu() const
{
    return CMenu::FromHandle(::GetMenu(m_hWnd));
}

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep)
{
    for (HWND hChild = ::GetTopWindow(m_hWnd); hChild != NULL; hChild = ::GetNextWindow(hChild, GW_HWNDNEXT)) {
        ::SendMessageW(hChild, message, wParam, lParam);
        if (bDeep && ::GetTopWindow(hChild) != NULL)
            CWnd::FromHandle(hChild)->SendMessageToDescendants(message, wParam, lParam, TRUE);
    }
}

BOOL CWnd::ModifyStyle(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)::GetWindowLongPtrW(hWnd, GWL_STYLE);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongPtrW(hWnd, GWL_STYLE, (LONG_PTR)dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

BOOL CWnd::ModifyStyleEx(HWND hWnd, DWORD dwRemove, DWORD dwAdd, UINT nFlags)
{
    DWORD dwStyle = (DWORD)::GetWindowLongPtrW(hWnd, GWL_EXSTYLE);
    DWORD dwNewStyle = (dwStyle & ~dwRemove) | dwAdd;
    if (dwStyle == dwNewStyle)
        return FALSE;
    ::SetWindowLongPtrW(hWnd, GWL_EXSTYLE, (LONG_PTR)dwNewStyle);
    if (nFlags != 0)
        ::SetWindowPos(hWnd, NULL, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | nFlags);
    return TRUE;
}

int CWnd::MessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType)
{
    return ::MessageBoxW(m_hWnd, lpszText ? lpszText : L"", lpszCaption ? lpszCaption : AfxGetAppName(), nType);
}

// --- default handlers: the message as it came, to the previous procedure ----

void CWnd::OnSysCommand(UINT, LPARAM)
{
    Default();
}
void CWnd::OnPaint()
{
    Default();
}
HCURSOR CWnd::OnQueryDragIcon()
{
    return (HCURSOR)Default();
}
void CWnd::OnTimer(UINT_PTR)
{
    Default();
}
void CWnd::OnSize(UINT, int, int)
{
    Default();
}
void CWnd::OnClose()
{
    Default();
}
void CWnd::OnDestroy()
{
    Default();
}
void CWnd::OnNcDestroy()
{
    Default();
}
void CWnd::OnHScroll(UINT, UINT, CScrollBar*)
{
    Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*)
{
    Default();
}
BOOL CWnd::OnMouseWheel(UINT, short, CPoint)
{
    return (BOOL)Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnKeyUp(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnChar(UINT, UINT, UINT)
{
    Default();
}
void CWnd::OnContextMenu(CWnd*, CPoint)
{
    Default();
}
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    return (BOOL)Default();
}
void CWnd::OnActivateApp(BOOL, DWORD)
{
    Default();
}
void CWnd::OnActivate(UINT, CWnd*, BOOL)
{
    Default();
}
void CWnd::OnKillFocus(CWnd*)
{
    Default();
}
void CWnd::OnSetFocus(CWnd*)
{
    Default();
}
void CWnd::OnMouseMove(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnLButtonDblClk(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonDown(UINT, CPoint)
{
    Default();
}
void CWnd::OnRButtonUp(UINT, CPoint)
{
    Default();
}
void CWnd::OnMouseLeave()
{
    Default();
}
void CWnd::OnSysColorChange()
{
    Default();
}
void CWnd::OnEnable(BOOL)
{
    Default();
}
void CWnd::OnCancelMode()
{
    Default();
}
UINT CWnd::OnGetDlgCode()
{
    return (UINT)Default();
}
BOOL CWnd::OnEraseBkgnd(CDC*)
{
    return (BOOL)Default();
}
HBRUSH CWnd::OnCtlColor(CDC*, CWnd*, UINT)
{
    return (HBRUSH)Default();
}
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT)
{
    Default();
}
LRESULT CWnd::OnNcHitTest(CPoint)
{
    return Default();
}
void CWnd::OnShowWindow(BOOL, UINT)
{
    Default();
}
int CWnd::OnCreate(LPCREATESTRUCT)
{
    return (int)Default();
}
