// The common-control tooltip.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle)
{
    BOOL ok =
        CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSW, NULL, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP | dwStyle, CW_USEDEFAULT,
                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, pParentWnd->GetSafeHwnd(), NULL, NULL);
    if (ok)
        ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return ok;
}

void CToolTipCtrl::FillInToolInfo(TTTOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool) const
{
    ti = TTTOOLINFOW();
    ti.cbSize = sizeof(ti);
    HWND hWnd = pWnd->GetSafeHwnd();
    if (nIDTool == 0) {
        // The tool is the whole window, identified by its handle.
        ti.hwnd = ::GetParent(hWnd) ? ::GetParent(hWnd) : hWnd;
        ti.uFlags = TTF_IDISHWND;
        ti.uId = (UINT_PTR)hWnd;
    } else {
        ti.hwnd = hWnd;
        ti.uId = nIDTool;
    }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCWSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    if (m_hWnd == NULL || pWnd->GetSafeHwnd() == NULL)
        return FALSE;
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.uFlags |= TTF_SUBCLASS;
    if (lpRectTool != NULL)
        ti.rect = *lpRectTool;
    else if (nIDTool != 0)
        ::GetClientRect(pWnd->m_hWnd, &ti.rect);
    ti.hinst = AfxGetResourceHandle();
    ti.lpszText = const_cast<LPWSTR>(lpszText);
    return (BOOL)::SendMessageW(m_hWnd, TTM_ADDTOOLW, 0, (LPARAM)&ti);
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool)
{
    CString text;
    text.LoadString(nIDText);
    return AddTool(pWnd, text, lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool)
{
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ::SendMessageW(m_hWnd, TTM_DELTOOLW, 0, (LPARAM)&ti);
}

void CToolTipCtrl::UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool)
{
    TTTOOLINFOW ti;
    FillInToolInfo(ti, pWnd, nIDTool);
    ti.lpszText = const_cast<LPWSTR>(lpszText);
    ::SendMessageW(m_hWnd, TTM_UPDATETIPTEXTW, 0, (LPARAM)&ti);
}

void CToolTipCtrl::RelayEvent(LPMSG lpMsg)
{
    if (m_hWnd == NULL || lpMsg == NULL)
        return;
    // Only mouse messages matter to the control.
    if (lpMsg->message >= WM_MOUSEFIRST && lpMsg->message <= WM_MOUSELAST)
        ::SendMessageW(m_hWnd, TTM_RELAYEVENT, 0, (LPARAM)lpMsg);
}
