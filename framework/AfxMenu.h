// Menus. A CMenu destroys the menu it owns; FromHandle wrappers never do.
#pragma once

#include "AfxWnd.h"

class CMenu : public CObject
{
public:
    CMenu() : m_hMenu(NULL) {}
    virtual ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    HMENU m_hMenu;
    HMENU GetSafeHmenu() const
    {
        const CMenu* volatile p = this;
        return p ? p->m_hMenu : NULL;
    }
    operator HMENU() const { return m_hMenu; }

    static CMenu* FromHandle(HMENU hMenu);
    static void AfxReleaseTemp(CMenu* p) { p->m_hMenu = NULL; }
    BOOL Attach(HMENU hMenu);
    HMENU Detach();

    BOOL LoadMenu(UINT nIDResource);
    BOOL LoadMenu(LPCWSTR lpszResourceName);
    BOOL CreateMenu() { return Attach(::CreateMenu()); }
    BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    BOOL DestroyMenu();

    // The pop-up at nPos, wrapped; NULL when there is none.
    CMenu* GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }
    UINT GetMenuItemCount() const { return (UINT)::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = NULL)
    {
        return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = NULL)
    {
        return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
    BOOL DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }
    // Returns the previous state, -1 when the item does not exist.
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) { return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable); }
    DWORD CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }
    UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }

    // With TPM_RETURNCMD the chosen command id (0 for none) is returned;
    // otherwise the command goes to pWnd as WM_COMMAND.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = NULL);
    BOOL TrackPopupMenuEx(UINT fuFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm);
};
