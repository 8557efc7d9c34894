// Standard and common controls.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CProgressCtrl, CWnd)
IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CSpinButtonCtrl, CWnd)

void CStatic::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    (void)lpDrawItemStruct;
}

BOOL CStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM) {
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        *pResult = TRUE;
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

void CButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    (void)lpDrawItemStruct;
}

BOOL CButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_DRAWITEM) {
        DrawItem((LPDRAWITEMSTRUCT)lParam);
        *pResult = TRUE;
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

LONG CTabCtrl::InsertItem(int nItem, LPCWSTR lpszItem)
{
    TCITEMW item = {};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<LPWSTR>(lpszItem);
    return (LONG)::SendMessageW(m_hWnd, TCM_INSERTITEMW, nItem, (LPARAM)&item);
}
