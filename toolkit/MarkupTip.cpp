#include "toolkit/MarkupTip.h"

CMarkupTip::CMarkupTip() : m_hTip(NULL) {}

CMarkupTip::~CMarkupTip()
{
    if (m_hTip && ::IsWindow(m_hTip))
        ::DestroyWindow(m_hTip);
}

BOOL CMarkupTip::Create(CWnd* pOwner)
{
    if (m_hTip || !pOwner || !pOwner->GetSafeHwnd())
        return FALSE;
    m_hTip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, NULL, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, pOwner->GetSafeHwnd(), NULL,
                               AfxGetInstanceHandle(), NULL);
    if (!m_hTip)
        return FALSE;
    // Long tips wrap instead of running off the screen.
    ::SendMessageW(m_hTip, TTM_SETMAXTIPWIDTH, 0, 300);
    return TRUE;
}

void CMarkupTip::AddTool(CWnd* pControl, UINT nStringId)
{
    CString text;
    if (AfxFindStringResourceHandle(nStringId))
        text.LoadString(nStringId);
    AddToolText(pControl, text);
}

void CMarkupTip::AddToolText(CWnd* pControl, const CString& strText)
{
    if (!m_hTip || !pControl || !pControl->GetSafeHwnd())
        return;
    HWND hControl = pControl->GetSafeHwnd();
    TOOLINFOW ti = {};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND;
    ti.hwnd = ::GetParent(hControl);
    ti.uId = reinterpret_cast<UINT_PTR>(hControl);
    ::SendMessageW(m_hTip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    CString text(strText);
    ti.lpszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(text));
    ::SendMessageW(m_hTip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
}

void CMarkupTip::RelayEvent(MSG* pMsg)
{
    if (!m_hTip || !pMsg)
        return;
    switch (pMsg->message) {
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_NCMOUSEMOVE: ::SendMessageW(m_hTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(pMsg)); break;
    default: break;
    }
}
