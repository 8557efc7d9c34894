// The list-view control and its header.
#pragma once

#include "AfxWnd.h"

class CImageList;

class CHeaderCtrl : public CWnd
{
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    int GetItemCount() const { return (int)::SendMessageW(m_hWnd, HDM_GETITEMCOUNT, 0, 0); }
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const
    {
        return (BOOL)::SendMessageW(m_hWnd, HDM_GETITEMRECT, nIndex, (LPARAM)lpRect);
    }
    BOOL GetItem(int nPos, HDITEMW* pHeaderItem) const
    {
        return (BOOL)::SendMessageW(m_hWnd, HDM_GETITEMW, nPos, (LPARAM)pHeaderItem);
    }
    BOOL SetItem(int nPos, HDITEMW* pHeaderItem)
    {
        return (BOOL)::SendMessageW(m_hWnd, HDM_SETITEMW, nPos, (LPARAM)pHeaderItem);
    }
};

class CListCtrl : public CWnd
{
    DECLARE_DYNAMIC(CListCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
    {
        return CWnd::Create(WC_LISTVIEWW, NULL, dwStyle, rect, pParentWnd, nID);
    }

    // Styles and appearance.
    DWORD GetExtendedStyle() const { return (DWORD)::SendMessageW(m_hWnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0); }
    // Replaces the whole extended style; returns the previous one.
    DWORD SetExtendedStyle(DWORD dwNewStyle)
    {
        return (DWORD)::SendMessageW(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, dwNewStyle);
    }
    // nImageList: LVSIL_NORMAL, LVSIL_SMALL or LVSIL_STATE. Returns the
    // previous list's wrapper (or NULL); the control never deletes either.
    CImageList* SetImageList(CImageList* pImageList, int nImageList);
    CImageList* GetImageList(int nImageList) const;
    BOOL SetBkColor(COLORREF cr) { return (BOOL)::SendMessageW(m_hWnd, LVM_SETBKCOLOR, 0, cr); }
    BOOL SetTextColor(COLORREF cr) { return (BOOL)::SendMessageW(m_hWnd, LVM_SETTEXTCOLOR, 0, cr); }
    BOOL SetTextBkColor(COLORREF cr) { return (BOOL)::SendMessageW(m_hWnd, LVM_SETTEXTBKCOLOR, 0, cr); }

    // Columns.
    int InsertColumn(int nCol, LPCWSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    int InsertColumn(int nCol, const LVCOLUMNW* pColumn)
    {
        return (int)::SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, nCol, (LPARAM)pColumn);
    }
    BOOL DeleteColumn(int nCol) { return (BOOL)::SendMessageW(m_hWnd, LVM_DELETECOLUMN, nCol, 0); }
    int GetColumnWidth(int nCol) const { return (int)::SendMessageW(m_hWnd, LVM_GETCOLUMNWIDTH, nCol, 0); }
    BOOL SetColumnWidth(int nCol, int cx)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_SETCOLUMNWIDTH, nCol, MAKELPARAM(cx, 0));
    }
    CHeaderCtrl* GetHeaderCtrl() const;

    // Items.
    int GetItemCount() const { return (int)::SendMessageW(m_hWnd, LVM_GETITEMCOUNT, 0, 0); }
    int InsertItem(const LVITEMW* pItem) { return (int)::SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, (LPARAM)pItem); }
    int InsertItem(int nItem, LPCWSTR lpszItem);
    int InsertItem(int nItem, LPCWSTR lpszItem, int nImage);
    int InsertItem(UINT nMask, int nItem, LPCWSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
    BOOL DeleteItem(int nItem) { return (BOOL)::SendMessageW(m_hWnd, LVM_DELETEITEM, nItem, 0); }
    BOOL DeleteAllItems() { return (BOOL)::SendMessageW(m_hWnd, LVM_DELETEALLITEMS, 0, 0); }
    BOOL GetItem(LVITEMW* pItem) const { return (BOOL)::SendMessageW(m_hWnd, LVM_GETITEMW, 0, (LPARAM)pItem); }
    BOOL SetItem(const LVITEMW* pItem) { return (BOOL)::SendMessageW(m_hWnd, LVM_SETITEMW, 0, (LPARAM)pItem); }
    BOOL SetItemText(int nItem, int nSubItem, LPCWSTR lpszText);
    CString GetItemText(int nItem, int nSubItem) const;
    int GetItemText(int nItem, int nSubItem, LPWSTR lpszText, int nLen) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    DWORD_PTR GetItemData(int nItem) const;
    // nItem -1 sets the state of every item.
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);
    UINT GetItemState(int nItem, UINT nMask) const
    {
        return (UINT)::SendMessageW(m_hWnd, LVM_GETITEMSTATE, nItem, nMask);
    }
    BOOL SetItemCount(int nItems) { return (BOOL)::SendMessageW(m_hWnd, LVM_SETITEMCOUNT, nItems, 0); }

    // Selection.
    UINT GetSelectedCount() const { return (UINT)::SendMessageW(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0); }
    int GetSelectionMark() const { return (int)::SendMessageW(m_hWnd, LVM_GETSELECTIONMARK, 0, 0); }
    int SetSelectionMark(int iIndex) { return (int)::SendMessageW(m_hWnd, LVM_SETSELECTIONMARK, 0, iIndex); }
    // Iterates the selected items in ascending order; NULL when none is left.
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;
    int GetNextItem(int nItem, int nFlags) const
    {
        return (int)::SendMessageW(m_hWnd, LVM_GETNEXTITEM, nItem, MAKELPARAM(nFlags, 0));
    }

    // Scrolling and geometry.
    BOOL EnsureVisible(int nItem, BOOL bPartialOK)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_ENSUREVISIBLE, nItem, bPartialOK);
    }
    int GetTopIndex() const { return (int)::SendMessageW(m_hWnd, LVM_GETTOPINDEX, 0, 0); }
    int GetCountPerPage() const { return (int)::SendMessageW(m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0); }
    BOOL Scroll(CSize size) { return (BOOL)::SendMessageW(m_hWnd, LVM_SCROLL, size.cx, size.cy); }
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
    // nArea: LVIR_BOUNDS, LVIR_ICON or LVIR_LABEL.
    BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const;
    int HitTest(CPoint pt, UINT* pFlags = NULL) const;
    int HitTest(LVHITTESTINFO* pHitTestInfo) const
    {
        return (int)::SendMessageW(m_hWnd, LVM_HITTEST, 0, (LPARAM)pHitTestInfo);
    }
    BOOL RedrawItems(int nFirst, int nLast) { return (BOOL)::SendMessageW(m_hWnd, LVM_REDRAWITEMS, nFirst, nLast); }
    BOOL Update(int nItem) { return (BOOL)::SendMessageW(m_hWnd, LVM_UPDATE, nItem, 0); }

    // Sorts with pfnCompare(lParam1, lParam2, dwData) over the items' data.
    BOOL SortItems(PFNLVCOMPARE pfnCompare, DWORD_PTR dwData)
    {
        return (BOOL)::SendMessageW(m_hWnd, LVM_SORTITEMS, dwData, (LPARAM)pfnCompare);
    }
};
