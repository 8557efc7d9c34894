#include "toolkit/IconButton.h"

CIconButton::CIconButton()
    : m_bIsFlat(TRUE), m_byAlign(BUTTON_ALIGN_HORIZONTAL), m_hIcon(NULL), m_hImageList(NULL)
{
}

CIconButton::~CIconButton()
{
    if (GetSafeHwnd() && m_hImageList) {
        BUTTON_IMAGELIST none = {};
        none.himl = NULL;
        ::SendMessageW(GetSafeHwnd(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&none));
    }
    FreeImages();
}

void CIconButton::FreeImages()
{
    if (m_hImageList) {
        ImageList_Destroy(m_hImageList);
        m_hImageList = NULL;
    }
    if (m_hIcon) {
        DestroyIcon(m_hIcon);
        m_hIcon = NULL;
    }
}

DWORD CIconButton::SetIcon(HICON hIconIn, HICON hIconOut)
{
    // The hover icon needs the owner-drawn face; this button shows one icon.
    if (hIconOut && hIconOut != reinterpret_cast<HICON>(static_cast<INT_PTR>(ICON_AUTO_GRAY)) &&
        hIconOut != reinterpret_cast<HICON>(static_cast<INT_PTR>(ICON_AUTO_DARKER)))
        DestroyIcon(hIconOut);

    FreeImages();
    DWORD result = 0;
    if (hIconIn) {
        ICONINFO info;
        if (GetIconInfo(hIconIn, &info)) {
            int cx = static_cast<int>(info.xHotspot) * 2;
            int cy = static_cast<int>(info.yHotspot) * 2;
            if (info.hbmColor)
                DeleteObject(info.hbmColor);
            if (info.hbmMask)
                DeleteObject(info.hbmMask);
            m_hIcon = hIconIn;
            m_hImageList = ImageList_Create(cx > 0 ? cx : 32, cy > 0 ? cy : 32,
                                            ILC_COLOR32 | ILC_MASK, 1, 0);
            if (m_hImageList)
                ImageList_AddIcon(m_hImageList, m_hIcon);
        } else {
            DestroyIcon(hIconIn);
            result = 1;
        }
    }
    ApplyImage();
    return result;
}

DWORD CIconButton::SetIconById(UINT nIconId)
{
    HICON hIcon = static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIconId),
                                                  IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    return SetIcon(hIcon, NULL);
}

void CIconButton::SetAlign(BYTE byAlign, BOOL bRepaint)
{
    if (byAlign <= BUTTON_ALIGN_HORIZONTAL_RIGHT)
        m_byAlign = byAlign;
    ApplyImage();
    if (bRepaint && GetSafeHwnd())
        Invalidate();
}

void CIconButton::SetFlat(BOOL bFlat, BOOL bRepaint)
{
    m_bIsFlat = bFlat;
    if (bRepaint && GetSafeHwnd())
        Invalidate();
}

void CIconButton::ApplyImage()
{
    if (!GetSafeHwnd())
        return;
    BUTTON_IMAGELIST bil = {};
    bil.himl = m_hImageList;
    bil.margin.left = bil.margin.top = bil.margin.right = bil.margin.bottom = 3;
    switch (m_byAlign) {
    case BUTTON_ALIGN_VERTICAL: bil.uAlign = BUTTON_IMAGELIST_ALIGN_TOP; break;
    case BUTTON_ALIGN_HORIZONTAL_RIGHT: bil.uAlign = BUTTON_IMAGELIST_ALIGN_RIGHT; break;
    default: bil.uAlign = BUTTON_IMAGELIST_ALIGN_LEFT; break;
    }
    ::SendMessageW(GetSafeHwnd(), BCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(&bil));
    Invalidate();
}
