// Menus.
#include "afxwin.h"

CMenu* CMenu::FromHandle(HMENU hMenu)
{
    return CAfxTempMap<CMenu, HMENU>::Lookup(hMenu, [](CMenu* p, HMENU h) { p->m_hMenu = h; });
}

BOOL CMenu::Attach(HMENU hMenu)
{
    if (hMenu == NULL)
        return FALSE;
    DestroyMenu();
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach()
{
    HMENU h = m_hMenu;
    m_hMenu = NULL;
    return h;
}

BOOL CMenu::LoadMenu(UINT nIDResource)
{
    return LoadMenu(MAKEINTRESOURCEW(nIDResource));
}

BOOL CMenu::LoadMenu(LPCWSTR lpszResourceName)
{
    HMENU h = ::LoadMenuW(AfxGetResourceHandle(), lpszResourceName);
    if (h == NULL)
        h = ::LoadMenuW(AfxGetInstanceHandle(), lpszResourceName);
    return Attach(h);
}

BOOL CMenu::DestroyMenu()
{
    if (m_hMenu == NULL)
        return FALSE;
    return ::DestroyMenu(Detach());
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const
{
    int nLen = ::GetMenuStringW(m_hMenu, nIDItem, NULL, 0, nFlags);
    if (nLen <= 0) {
        rString.Empty();
        return 0;
    }
    LPWSTR p = rString.GetBuffer(nLen + 1);
    int n = ::GetMenuStringW(m_hMenu, nIDItem, p, nLen + 1, nFlags);
    rString.ReleaseBuffer(n);
    return n;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect)
{
    return ::TrackPopupMenu(m_hMenu, nFlags, x, y, 0, pWnd->GetSafeHwnd(), lpRect);
}

BOOL CMenu::TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm)
{
    return ::TrackPopupMenuEx(m_hMenu, fuFlags, x, y, pWnd->GetSafeHwnd(), lptpm);
}
