// Image lists. A CImageList destroys the list it owns; FromHandle wrappers never do.
#pragma once

#include "AfxGdi.h"

class CImageList : public CObject
{
public:
    CImageList() : m_hImageList(NULL) {}
    virtual ~CImageList() { DeleteImageList(); }
    CImageList(const CImageList&) = delete;
    CImageList& operator=(const CImageList&) = delete;

    HIMAGELIST m_hImageList;
    HIMAGELIST GetSafeHandle() const
    {
        const CImageList* volatile p = this;
        return p ? p->m_hImageList : NULL;
    }
    operator HIMAGELIST() const { return m_hImageList; }

    static CImageList* FromHandle(HIMAGELIST hImageList);
    static void AfxReleaseTemp(CImageList* p) { p->m_hImageList = NULL; }
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    BOOL Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask);

    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
    BOOL SetImageCount(UINT uNewCount) { return ImageList_SetImageCount(m_hImageList, uNewCount); }
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const
    {
        return ImageList_GetImageInfo(m_hImageList, nImage, pImageInfo);
    }
    // The new image's index, -1 on failure. The list copies the bitmaps.
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(HBITMAP hbmImage, HBITMAP hbmMask) { return ImageList_Add(m_hImageList, hbmImage, hbmMask); }
    int Add(CBitmap* pbmImage, COLORREF crMask);
    int Add(HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, -1, hIcon); }
    BOOL Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask);
    BOOL Replace(int nImage, HBITMAP hbmImage, HBITMAP hbmMask)
    {
        return ImageList_Replace(m_hImageList, nImage, hbmImage, hbmMask);
    }
    int Replace(int nImage, HICON hIcon) { return ImageList_ReplaceIcon(m_hImageList, nImage, hIcon); }
    BOOL Remove(int nImage) { return ImageList_Remove(m_hImageList, nImage); }
    HICON ExtractIcon(int nImage) { return ImageList_GetIcon(m_hImageList, nImage, ILD_NORMAL); }
    COLORREF SetBkColor(COLORREF cr) { return ImageList_SetBkColor(m_hImageList, cr); }
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle)
    {
        return ImageList_Draw(m_hImageList, nImage, pDC->GetSafeHdc(), pt.x, pt.y, nStyle);
    }
};
