// Image lists.
#include "afxwin.h"

CImageList* CImageList::FromHandle(HIMAGELIST hImageList)
{
    return CAfxTempMap<CImageList, HIMAGELIST>::Lookup(hImageList,
                                                       [](CImageList* p, HIMAGELIST h) { p->m_hImageList = h; });
}

BOOL CImageList::Attach(HIMAGELIST hImageList)
{
    if (hImageList == NULL)
        return FALSE;
    DeleteImageList();
    m_hImageList = hImageList;
    return TRUE;
}

HIMAGELIST CImageList::Detach()
{
    HIMAGELIST h = m_hImageList;
    m_hImageList = NULL;
    return h;
}

BOOL CImageList::DeleteImageList()
{
    if (m_hImageList == NULL)
        return FALSE;
    return ImageList_Destroy(Detach());
}

BOOL CImageList::Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow)
{
    return Attach(ImageList_Create(cx, cy, nFlags, nInitial, nGrow));
}

BOOL CImageList::Create(UINT nBitmapID, int cx, int nGrow, COLORREF crMask)
{
    HIMAGELIST h = ImageList_LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nBitmapID), cx, nGrow, crMask,
                                        IMAGE_BITMAP, LR_CREATEDIBSECTION);
    return Attach(h);
}

int CImageList::Add(CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ImageList_Add(m_hImageList, pbmImage ? (HBITMAP)pbmImage->m_hObject : NULL,
                         pbmMask ? (HBITMAP)pbmMask->m_hObject : NULL);
}

int CImageList::Add(CBitmap* pbmImage, COLORREF crMask)
{
    return ImageList_AddMasked(m_hImageList, pbmImage ? (HBITMAP)pbmImage->m_hObject : NULL, crMask);
}

BOOL CImageList::Replace(int nImage, CBitmap* pbmImage, CBitmap* pbmMask)
{
    return ImageList_Replace(m_hImageList, nImage, pbmImage ? (HBITMAP)pbmImage->m_hObject : NULL,
                             pbmMask ? (HBITMAP)pbmMask->m_hObject : NULL);
}
