// CIconButton: the grey and the darker copies of an icon, made pixel by pixel
// from the icon's colour bitmap and sharing its mask.
#include "toolkit/IconButton.h"

COLORREF CIconButton::GrayPixel(COLORREF cr)
{
    // 0.299 R + 0.587 G + 0.114 B, truncated; in thousandths so white stays 255.
    UINT g = (299u * GetRValue(cr) + 587u * GetGValue(cr) + 114u * GetBValue(cr)) / 1000u;
    return RGB(g, g, g);
}

COLORREF CIconButton::DimColor(COLORREF cr, double dFactor)
{
    if (dFactor > 1.0)
        return cr;
    int r = GetRValue(cr), g = GetGValue(cr), b = GetBValue(cr);
    return RGB(r - static_cast<int>(dFactor * r), g - static_cast<int>(dFactor * g), b - static_cast<int>(dFactor * b));
}

COLORREF CIconButton::DarkerPixel(COLORREF cr)
{
    return DimColor(cr, 0.25);
}

HICON CIconButton::CreateGrayscaleIcon(HICON hIcon)
{
    return CreateMappedIcon(hIcon, &CIconButton::GrayPixel);
}

HICON CIconButton::CreateDarkerIcon(HICON hIcon)
{
    return CreateMappedIcon(hIcon, &CIconButton::DarkerPixel);
}

HICON CIconButton::CreateMappedIcon(HICON hIcon, COLORREF (*pfnMap)(COLORREF))
{
    ICONINFO info = {};
    if (hIcon == NULL || !::GetIconInfo(hIcon, &info))
        return NULL;
    CBitmap colour, mask, copy;
    colour.Attach(info.hbmColor);
    mask.Attach(info.hbmMask);
    BITMAP bm = {};
    if (colour.m_hObject == NULL || !colour.GetBitmap(&bm))
        return NULL;
    const int cx = static_cast<int>(info.xHotspot) * 2, cy = static_cast<int>(info.yHotspot) * 2;
    if (!copy.CreateBitmap(cx, cy, bm.bmPlanes, bm.bmBitsPixel, NULL))
        return NULL;

    CDC dcSrc, dcDest;
    if (!dcSrc.CreateCompatibleDC(NULL) || !dcDest.CreateCompatibleDC(NULL))
        return NULL;
    {
        CSelectGuard selSrc(dcSrc, colour);
        CSelectGuard selDest(dcDest, copy);
        for (int y = 0; y < cy; ++y) {
            for (int x = 0; x < cx; ++x) {
                COLORREF cr = dcSrc.GetPixel(x, y);
                dcDest.SetPixel(x, y, cr == 0 ? 0 : pfnMap(cr));
            }
        }
    }

    ICONINFO made = info;
    made.hbmColor = static_cast<HBITMAP>(copy.m_hObject);
    made.hbmMask = static_cast<HBITMAP>(mask.m_hObject);
    return ::CreateIconIndirect(&made);
}
