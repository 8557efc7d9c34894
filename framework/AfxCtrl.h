// Thin wrappers of the standard and common controls.
#pragma once

#include "AfxWnd.h"

class CStatic : public CWnd
{
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xffff)
    {
        return CWnd::Create(L"STATIC", lpszText, dwStyle, rect, pParentWnd, nID);
    }
    // Each returns the previous image; the control does not own the images.
    HBITMAP SetBitmap(HBITMAP hBitmap)
    {
        return (HBITMAP)::SendMessageW(m_hWnd, STM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap);
    }
    HBITMAP GetBitmap() const { return (HBITMAP)::SendMessageW(m_hWnd, STM_GETIMAGE, IMAGE_BITMAP, 0); }
    HICON SetIcon(HICON hIcon) { return (HICON)::SendMessageW(m_hWnd, STM_SETICON, (WPARAM)hIcon, 0); }
    HICON GetIcon() const { return (HICON)::SendMessageW(m_hWnd, STM_GETICON, 0, 0); }
    // Owner-drawn statics (SS_OWNERDRAW) draw here.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CButton : public CWnd
{
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(L"BUTTON", lpszCaption, dwStyle, rect, pParentWnd, nID);
    }
    int GetCheck() const { return (int)::SendMessageW(m_hWnd, BM_GETCHECK, 0, 0); }
    void SetCheck(int nCheck) { ::SendMessageW(m_hWnd, BM_SETCHECK, nCheck, 0); }
    UINT GetState() const { return (UINT)::SendMessageW(m_hWnd, BM_GETSTATE, 0, 0); }
    void SetState(BOOL bHighlight) { ::SendMessageW(m_hWnd, BM_SETSTATE, bHighlight, 0); }
    UINT GetButtonStyle() const { return (UINT)GetStyle() & 0xFFFF; }
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) { ::SendMessageW(m_hWnd, BM_SETSTYLE, nStyle, bRedraw); }
    HICON SetIcon(HICON hIcon) { return (HICON)::SendMessageW(m_hWnd, BM_SETIMAGE, IMAGE_ICON, (LPARAM)hIcon); }
    HICON GetIcon() const { return (HICON)::SendMessageW(m_hWnd, BM_GETIMAGE, IMAGE_ICON, 0); }
    HBITMAP SetBitmap(HBITMAP hBitmap)
    {
        return (HBITMAP)::SendMessageW(m_hWnd, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)hBitmap);
    }
    HBITMAP GetBitmap() const { return (HBITMAP)::SendMessageW(m_hWnd, BM_GETIMAGE, IMAGE_BITMAP, 0); }
    // Owner-drawn buttons (BS_OWNERDRAW) draw here; the parent's
    // WM_DRAWITEM for this button is reflected to it.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CEdit : public CWnd
{
    DECLARE_DYNAMIC(CEdit)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(L"EDIT", NULL, dwStyle, rect, pParentWnd, nID);
    }
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE)
    {
        ::SendMessageW(m_hWnd, EM_SETSEL, nStartChar, nEndChar);
        if (!bNoScroll)
            ::SendMessageW(m_hWnd, EM_SCROLLCARET, 0, 0);
    }
    void GetSel(int& nStartChar, int& nEndChar) const
    {
        DWORD s = 0, e = 0;
        ::SendMessageW(m_hWnd, EM_GETSEL, (WPARAM)&s, (LPARAM)&e);
        nStartChar = (int)s;
        nEndChar = (int)e;
    }
    void ReplaceSel(LPCWSTR lpszNewText, BOOL bCanUndo = FALSE)
    {
        ::SendMessageW(m_hWnd, EM_REPLACESEL, bCanUndo, (LPARAM)lpszNewText);
    }
    void SetLimitText(UINT nMax) { ::SendMessageW(m_hWnd, EM_SETLIMITTEXT, nMax, 0); }
    void LimitText(int nChars = 0) { ::SendMessageW(m_hWnd, EM_LIMITTEXT, nChars, 0); }
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) { return (BOOL)::SendMessageW(m_hWnd, EM_SETREADONLY, bReadOnly, 0); }
};

class CProgressCtrl : public CWnd
{
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(PROGRESS_CLASSW, NULL, dwStyle, rect, pParentWnd, nID);
    }
    void SetRange(short nLower, short nUpper) { ::SendMessageW(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(nLower, nUpper)); }
    void SetRange32(int nLower, int nUpper) { ::SendMessageW(m_hWnd, PBM_SETRANGE32, nLower, nUpper); }
    void GetRange(int& nLower, int& nUpper) const
    {
        PBRANGE r = { 0, 0 };
        ::SendMessageW(m_hWnd, PBM_GETRANGE, FALSE, (LPARAM)&r);
        nLower = r.iLow;
        nUpper = r.iHigh;
    }
    int SetPos(int nPos) { return (int)::SendMessageW(m_hWnd, PBM_SETPOS, nPos, 0); }
    int GetPos() const { return (int)::SendMessageW(m_hWnd, PBM_GETPOS, 0, 0); }
    int OffsetPos(int nPos) { return (int)::SendMessageW(m_hWnd, PBM_DELTAPOS, nPos, 0); }
    int SetStep(int nStep) { return (int)::SendMessageW(m_hWnd, PBM_SETSTEP, nStep, 0); }
    int StepIt() { return (int)::SendMessageW(m_hWnd, PBM_STEPIT, 0, 0); }
};

class CTabCtrl : public CWnd
{
    DECLARE_DYNAMIC(CTabCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(WC_TABCONTROLW, NULL, dwStyle, rect, pParentWnd, nID);
    }
    // The new tab's index, -1 on failure.
    LONG InsertItem(int nItem, LPCWSTR lpszItem);
    LONG InsertItem(int nItem, TCITEMW* pTabCtrlItem)
    {
        return (LONG)::SendMessageW(m_hWnd, TCM_INSERTITEMW, nItem, (LPARAM)pTabCtrlItem);
    }
    BOOL DeleteItem(int nItem) { return (BOOL)::SendMessageW(m_hWnd, TCM_DELETEITEM, nItem, 0); }
    BOOL DeleteAllItems() { return (BOOL)::SendMessageW(m_hWnd, TCM_DELETEALLITEMS, 0, 0); }
    int GetItemCount() const { return (int)::SendMessageW(m_hWnd, TCM_GETITEMCOUNT, 0, 0); }
    int GetCurSel() const { return (int)::SendMessageW(m_hWnd, TCM_GETCURSEL, 0, 0); }
    int SetCurSel(int nItem) { return (int)::SendMessageW(m_hWnd, TCM_SETCURSEL, nItem, 0); }
    BOOL GetItemRect(int nItem, LPRECT lpRect) const
    {
        return (BOOL)::SendMessageW(m_hWnd, TCM_GETITEMRECT, nItem, (LPARAM)lpRect);
    }
    // bLarger TRUE: display rectangle to window rectangle; FALSE: the reverse.
    void AdjustRect(BOOL bLarger, LPRECT lpRect) { ::SendMessageW(m_hWnd, TCM_ADJUSTRECT, bLarger, (LPARAM)lpRect); }
};

class CSpinButtonCtrl : public CWnd
{
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(UPDOWN_CLASSW, NULL, dwStyle, rect, pParentWnd, nID);
    }
    void SetRange(short nLower, short nUpper) { ::SendMessageW(m_hWnd, UDM_SETRANGE, 0, MAKELPARAM(nUpper, nLower)); }
    void SetRange32(int nLower, int nUpper) { ::SendMessageW(m_hWnd, UDM_SETRANGE32, nLower, nUpper); }
    void GetRange32(int& nLower, int& nUpper) const
    {
        ::SendMessageW(m_hWnd, UDM_GETRANGE32, (WPARAM)&nLower, (LPARAM)&nUpper);
    }
    int SetPos32(int nPos) { return (int)::SendMessageW(m_hWnd, UDM_SETPOS32, 0, nPos); }
    int GetPos32(LPBOOL lpbError = NULL) const
    {
        return (int)::SendMessageW(m_hWnd, UDM_GETPOS32, 0, (LPARAM)lpbError);
    }
    CWnd* SetBuddy(CWnd* pWndBuddy)
    {
        return CWnd::FromHandle((HWND)::SendMessageW(m_hWnd, UDM_SETBUDDY, (WPARAM)pWndBuddy->GetSafeHwnd(), 0));
    }
    CWnd* GetBuddy() const { return CWnd::FromHandle((HWND)::SendMessageW(m_hWnd, UDM_GETBUDDY, 0, 0)); }
};
