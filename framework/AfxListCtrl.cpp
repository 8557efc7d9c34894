// The list-view control.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageList)
{
    return CImageList::FromHandle(
        (HIMAGELIST)::SendMessageW(m_hWnd, LVM_SETIMAGELIST, nImageList, (LPARAM)pImageList->GetSafeHandle()));
}

CImageList* CListCtrl::GetImageList(int nImageList) const
{
    return CImageList::FromHandle((HIMAGELIST)::SendMessageW(m_hWnd, LVM_GETIMAGELIST, nImageList, 0));
}

int CListCtrl::InsertColumn(int nCol, LPCWSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem)
{
    LVCOLUMNW column = {};
    column.mask = LVCF_TEXT | LVCF_FMT;
    column.pszText = const_cast<LPWSTR>(lpszColumnHeading);
    column.fmt = nFormat;
    if (nWidth != -1) {
        column.mask |= LVCF_WIDTH;
        column.cx = nWidth;
    }
    if (nSubItem != -1) {
        column.mask |= LVCF_SUBITEM;
        column.iSubItem = nSubItem;
    }
    return (int)::SendMessageW(m_hWnd, LVM_INSERTCOLUMNW, nCol, (LPARAM)&column);
}

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const
{
    HWND hHeader = (HWND)::SendMessageW(m_hWnd, LVM_GETHEADER, 0, 0);
    if (hHeader == NULL)
        return NULL;
    // The header is normally not bound to an object; a wrapper of the right
    // class is kept per thread.
    if (CWnd* pPermanent = CWnd::FromHandlePermanent(hHeader))
        return static_cast<CHeaderCtrl*>(pPermanent);
    return CAfxTempMap<CHeaderCtrl, HWND>::Lookup(hHeader, [](CHeaderCtrl* p, HWND h) { p->m_hWnd = h; });
}

int CListCtrl::InsertItem(int nItem, LPCWSTR lpszItem)
{
    return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(int nItem, LPCWSTR lpszItem, int nImage)
{
    return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCWSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam)
{
    LVITEMW item = {};
    item.mask = nMask;
    item.iItem = nItem;
    item.pszText = const_cast<LPWSTR>(lpszItem);
    item.state = nState;
    item.stateMask = nStateMask;
    item.iImage = nImage;
    item.lParam = lParam;
    return (int)::SendMessageW(m_hWnd, LVM_INSERTITEMW, 0, (LPARAM)&item);
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCWSTR lpszText)
{
    LVITEMW item = {};
    item.iSubItem = nSubItem;
    item.pszText = const_cast<LPWSTR>(lpszText);
    return (BOOL)::SendMessageW(m_hWnd, LVM_SETITEMTEXTW, nItem, (LPARAM)&item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const
{
    // The control copies at most the buffer; grow until the text fits.
    CString str;
    for (int nLen = 256; nLen <= 65536; nLen *= 4) {
        LVITEMW item = {};
        item.iSubItem = nSubItem;
        item.cchTextMax = nLen;
        item.pszText = str.GetBuffer(nLen);
        int nRes = (int)::SendMessageW(m_hWnd, LVM_GETITEMTEXTW, nItem, (LPARAM)&item);
        str.ReleaseBuffer(nRes >= 0 && nRes < nLen ? nRes : -1);
        if (nRes < nLen - 1)
            break;
    }
    return str;
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPWSTR lpszText, int nLen) const
{
    LVITEMW item = {};
    item.iSubItem = nSubItem;
    item.cchTextMax = nLen;
    item.pszText = lpszText;
    return (int)::SendMessageW(m_hWnd, LVM_GETITEMTEXTW, nItem, (LPARAM)&item);
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData)
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    item.lParam = (LPARAM)dwData;
    return (BOOL)::SendMessageW(m_hWnd, LVM_SETITEMW, 0, (LPARAM)&item);
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const
{
    LVITEMW item = {};
    item.mask = LVIF_PARAM;
    item.iItem = nItem;
    if (!::SendMessageW(m_hWnd, LVM_GETITEMW, 0, (LPARAM)&item))
        return 0;
    return (DWORD_PTR)item.lParam;
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask)
{
    LVITEMW item = {};
    item.state = nState;
    item.stateMask = nMask;
    return (BOOL)::SendMessageW(m_hWnd, LVM_SETITEMSTATE, (WPARAM)nItem, (LPARAM)&item);
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const
{
    int nItem = GetNextItem(-1, LVNI_SELECTED);
    return nItem < 0 ? NULL : reinterpret_cast<POSITION>((INT_PTR)(nItem + 1));
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const
{
    int nItem = (int)reinterpret_cast<INT_PTR>(pos) - 1;
    int nNext = GetNextItem(nItem, LVNI_SELECTED);
    pos = nNext < 0 ? NULL : reinterpret_cast<POSITION>((INT_PTR)(nNext + 1));
    return nItem;
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const
{
    lpRect->left = (LONG)nCode;
    return (BOOL)::SendMessageW(m_hWnd, LVM_GETITEMRECT, nItem, (LPARAM)lpRect);
}

BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) const
{
    RECT rc = {};
    rc.top = iSubItem;
    rc.left = nArea;
    BOOL ok = (BOOL)::SendMessageW(m_hWnd, LVM_GETSUBITEMRECT, iItem, (LPARAM)&rc);
    if (ok)
        ref = rc;
    return ok;
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const
{
    LVHITTESTINFO hti = {};
    hti.pt = pt;
    int nRes = (int)::SendMessageW(m_hWnd, LVM_HITTEST, 0, (LPARAM)&hti);
    if (pFlags != NULL)
        *pFlags = hti.flags;
    return nRes;
}
