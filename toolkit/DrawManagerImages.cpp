// Bitmaps and icons with colour effects: the per-pixel effect pass, the mask
// and alpha drawing paths, drop shadows, image-list frames and icon stretching.
#include "toolkit/DrawManager.h"

namespace {
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// Copies cx x cy of a bitmap (from its top-left corner) into a new section,
// stretching it from srcSize when that differs.
BOOL CopyBitmap(CDibSection& dib, HBITMAP hBitmap, int cx, int cy, SIZE srcSize, int xSrc = 0, int ySrc = 0)
{
    if (!dib.Create(cx, cy))
        return FALSE;
    CDC src;
    if (!src.CreateCompatibleDC(NULL))
        return FALSE;
    CSelectGuard select(src, hBitmap);
    if (select.GetOld() == NULL || select.GetOld() == HGDI_ERROR)
        return FALSE;
    HDC hDC = dib.GetDC();
    BOOL ok = hDC != NULL && (srcSize.cx == cx && srcSize.cy == cy
                                  ? ::BitBlt(hDC, 0, 0, cx, cy, src, xSrc, ySrc, SRCCOPY)
                                  : ::StretchBlt(hDC, 0, 0, cx, cy, src, xSrc, ySrc, srcSize.cx, srcSize.cy, SRCCOPY));
    ::GdiFlush();
    // Out of its DC, so that it can be selected elsewhere.
    dib.ReleaseDC();
    return ok;
}
}  // namespace

HBITMAP CDrawManager::CreateImageEffect(HBITMAP hBitmap, int cx, int cy, DWORD dwEffect, BOOL bUseMask,
                                        COLORREF clrMask, COLORREF clr)
{
    if (hBitmap == NULL)
        return NULL;
    CDibSection dib;
    if (!CopyBitmap(dib, hBitmap, cx, cy, CSize(cx, cy)))
        return NULL;
    const DWORD dwMask = CDibSection::PixelFromColor(clrMask);
    const DWORD dwColor = CDibSection::PixelFromColor(clr);
    DWORD* p = dib.GetBits();
    const size_t n = (size_t)cx * cy;
    for (size_t i = 0; i < n; ++i) {
        DWORD px = p[i];
        const DWORD alpha = px & 0xFF000000;
        if (alpha != 0)
            m_bImageHasAlpha = TRUE;
        if (bUseMask && px == dwMask)
            px = alpha;
        else {
            if (dwEffect & IMAGE_EFFECT_GRAYEN)
                px = GrayColor(px);
            if (dwEffect & IMAGE_EFFECT_DARKEN)
                px = DarkenColor(px, 0.75);
            if (dwEffect & IMAGE_EFFECT_LIGHTEN)
                px = LightenColor(px, 0.25);
            if (dwEffect & IMAGE_EFFECT_MONOCHROME)
                px = alpha | dwColor;
        }
        if (dwEffect & IMAGE_EFFECT_INVERT)
            px ^= 0x00FFFFFF;
        p[i] = (px & 0x00FFFFFF) | alpha;
    }
    return dib.Detach();
}

void CDrawManager::DrawImageAt(HDC hDC, int x, int y, int cx, int cy, HBITMAP hMask, HBITMAP hPicture, BOOL bBlackText)
{
    CDC picture;
    if (!picture.CreateCompatibleDC(NULL))
        return;
    CSelectGuard selectPicture(picture, hPicture);
    if (m_bImageHasAlpha) {
        AlphaChannelBlit(picture, hDC, x, y, cx, cy);
        return;
    }
    CDC mask;
    if (!mask.CreateCompatibleDC(NULL))
        return;
    CSelectGuard selectMask(mask, hMask);
    // A monochrome mask takes the destination's text colour for its 0 bits and
    // its background colour for its 1 bits.
    COLORREF oldText = 0, oldBk = 0;
    if (bBlackText) {
        oldText = ::SetTextColor(hDC, kBlack);
        oldBk = ::SetBkColor(hDC, kWhite);
    }
    ::BitBlt(hDC, x, y, cx, cy, mask, 0, 0, SRCAND);
    ::BitBlt(hDC, x, y, cx, cy, picture, 0, 0, SRCPAINT);
    if (bBlackText) {
        ::SetTextColor(hDC, oldText);
        ::SetBkColor(hDC, oldBk);
    }
}

void CDrawManager::DrawBitmapImage(HDC hDC, int x, int y, int cx, int cy, HBITMAP hBitmap, BOOL bUseMask,
                                   COLORREF clrMask, DWORD dwEffect, BOOL bShadow, int nOffsetX, int nOffsetY,
                                   int nBlurX, int nBlurY, COLORREF clr)
{
    m_bImageHasAlpha = FALSE;
    if (hDC == NULL || hBitmap == NULL)
        return;
    SIZE size = { 0, 0 };
    GetSizeOfBitmap(hBitmap, &size);
    CDibSection copy;
    if (!CopyBitmap(copy, hBitmap, cx, cy, size))
        return;
    CBitmap mask, picture;
    if (!mask.Attach(CreateImageEffect(copy, cx, cy, IMAGE_EFFECT_INVERT | IMAGE_EFFECT_MONOCHROME, bUseMask, clrMask,
                                       kWhite)) ||
        !picture.Attach(CreateImageEffect(copy, cx, cy, dwEffect, bUseMask, clrMask, clr)))
        return;
    if (bShadow) {
        if (dwEffect & (IMAGE_EFFECT_SHADOW | IMAGE_EFFECT_SOFTSHADOW)) {
            CBitmap shadow;
            if (shadow.Attach(CreateImageEffect(copy, cx, cy, IMAGE_EFFECT_INVERT | IMAGE_EFFECT_MONOCHROME, bUseMask,
                                                clrMask, clr ^ 0x00FFFFFF)))
                DrawShadow(hDC, x + nOffsetX, y + nOffsetY, cx, cy, shadow, (dwEffect & IMAGE_EFFECT_SOFTSHADOW) != 0,
                           nBlurX, nBlurY);
        } else
            DrawImageAt(hDC, x + nOffsetX, y + nOffsetY, cx, cy, mask, picture, FALSE);
    }
    DrawImageAt(hDC, x, y, cx, cy, mask, picture, FALSE);
}

void CDrawManager::DrawIconImage(HDC hDC, int x, int y, int cx, int cy, HICON hIcon, DWORD dwEffect, BOOL bShadow,
                                 int nOffsetX, int nOffsetY, int nBlurX, int nBlurY, COLORREF clr)
{
    m_bImageHasAlpha = FALSE;
    if (hDC == NULL || hIcon == NULL || cx < 1 || cy < 1)
        return;
    SIZE size = { 0, 0 };
    GetSizeOfIcon(hIcon, &size);
    CIconHandle icon(size.cx == cx && size.cy == cy ? ::CopyIcon(hIcon) : StretchIcon(hIcon, cx, cy));
    // Both bitmaps that GetIconInfo hands out go with info, on every path.
    CIconInfo info(icon);
    if (!info.IsValid())
        return;
    HBITMAP hColor = info.hbmColor;
    CDibSection xorPicture;
    if (info.IsMonochrome()) {
        // No colour bitmap: the picture is the lower half of the double-height mask.
        if (!CopyBitmap(xorPicture, info.hbmMask, cx, cy, CSize(cx, cy), 0, cy))
            return;
        hColor = xorPicture;
    }
    CBitmap picture;
    if (dwEffect & IMAGE_EFFECT_MONOCHROME)
        picture.Attach(CreateImageEffect(info.hbmMask, cx, cy, dwEffect, TRUE, kWhite, clr));
    else
        picture.Attach(CreateImageEffect(hColor, cx, cy, dwEffect, TRUE, kBlack, clr));
    if (picture.GetSafeHandle() == NULL)
        return;
    if (bShadow) {
        if (dwEffect & (IMAGE_EFFECT_SHADOW | IMAGE_EFFECT_SOFTSHADOW)) {
            CBitmap shadow;
            if (shadow.Attach(CreateImageEffect(info.hbmMask, cx, cy, IMAGE_EFFECT_INVERT | IMAGE_EFFECT_MONOCHROME,
                                                TRUE, kWhite, clr ^ 0x00FFFFFF)))
                DrawShadow(hDC, x + nOffsetX, y + nOffsetY, cx, cy, shadow, (dwEffect & IMAGE_EFFECT_SOFTSHADOW) != 0,
                           nBlurX, nBlurY);
        } else
            DrawImageAt(hDC, x + nOffsetX, y + nOffsetY, cx, cy, info.hbmMask, picture, TRUE);
    }
    DrawImageAt(hDC, x, y, cx, cy, info.hbmMask, picture, TRUE);
}

void CDrawManager::DrawImageListFrame(HDC hDC, int x, int y, int cx, int cy, HBITMAP hFrames, int nFrame, int cxFrame,
                                      int cyFrame, BOOL bUseMask, COLORREF clrMask, DWORD dwEffect, BOOL bShadow,
                                      int nOffsetX, int nOffsetY, int nBlurX, int nBlurY, COLORREF clr)
{
    if (hFrames == NULL || cxFrame < 1 || cyFrame < 1 || nFrame < 0)
        return;
    SIZE size = { 0, 0 };
    GetSizeOfBitmap(hFrames, &size);
    const int cols = size.cx / cxFrame, rows = size.cy / cyFrame;
    if (cols < 1 || rows < 1 || (LONGLONG)nFrame >= (LONGLONG)cols * rows)
        return;
    CDibSection frame;
    if (!CopyBitmap(frame, hFrames, cxFrame, cyFrame, CSize(cxFrame, cyFrame), (nFrame % cols) * cxFrame,
                    (nFrame / cols) * cyFrame))
        return;
    DrawBitmapImage(hDC, x, y, cx, cy, frame, bUseMask, clrMask, dwEffect, bShadow, nOffsetX, nOffsetY, nBlurX, nBlurY,
                    clr);
}

HICON CDrawManager::StretchIcon(HICON hIcon, int cx, int cy)
{
    if (hIcon == NULL || cx < 1 || cy < 1)
        return NULL;
    CIconInfo info(hIcon);
    if (!info.IsValid())
        return NULL;
    const int srcW = (int)info.xHotspot * 2, srcH = (int)info.yHotspot * 2;
    BITMAP bmMask = {};
    if (!::GetObjectW(info.hbmMask, sizeof(bmMask), &bmMask))
        return NULL;
    // A monochrome icon keeps its double-height mask: AND half over XOR half.
    const int rowsOfMask = info.IsMonochrome() ? 2 : 1;
    CBitmap mask;
    if (!mask.CreateBitmap(cx, cy * rowsOfMask, bmMask.bmPlanes, bmMask.bmBitsPixel, NULL))
        return NULL;
    CBitmap colorDdb;
    CDibSection colorDib;
    HBITMAP hColor = NULL;
    if (!info.IsMonochrome()) {
        BITMAP bmColor = {};
        if (!::GetObjectW(info.hbmColor, sizeof(bmColor), &bmColor))
            return NULL;
        // A 32-bit picture becomes a DIB section: always selectable, and it keeps the alpha bytes.
        if (bmColor.bmBitsPixel == 32 && bmColor.bmPlanes == 1)
            hColor = colorDib.Create(cx, cy) ? (HBITMAP)colorDib : NULL;
        else
            hColor =
                colorDdb.CreateBitmap(cx, cy, bmColor.bmPlanes, bmColor.bmBitsPixel, NULL) ? (HBITMAP)colorDdb : NULL;
        if (hColor == NULL)
            return NULL;
    }
    {
        CDC src, dst;
        if (!src.CreateCompatibleDC(NULL) || !dst.CreateCompatibleDC(NULL))
            return NULL;
        {
            CSelectGuard selectSrc(src, info.hbmMask);
            CSelectGuard selectDst(dst, mask);
            ::StretchBlt(dst, 0, 0, cx, cy * rowsOfMask, src, 0, 0, srcW, srcH * rowsOfMask, SRCCOPY);
        }
        if (hColor != NULL) {
            CSelectGuard selectSrc(src, info.hbmColor);
            CSelectGuard selectDst(dst, hColor);
            ::StretchBlt(dst, 0, 0, cx, cy, src, 0, 0, srcW, srcH, SRCCOPY);
        }
        ::GdiFlush();
    }
    colorDib.ReleaseDC();
    ICONINFO ii = { TRUE, 0, 0, mask, hColor };
    return ::CreateIconIndirect(&ii);
}
