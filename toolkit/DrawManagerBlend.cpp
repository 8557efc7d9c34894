// Darkening under a mask (hard or box-blurred shadows) and blending one DC
// onto another, by a fixed opacity or by each source pixel's alpha byte.
#include "toolkit/DrawManager.h"

#include <new>

void CDrawManager::ConvolveLine(const int* pSrc, int nSrcStep, int nCount, int nWindow, int* pDest, int nDestStep)
{
    if (pSrc == NULL || pDest == NULL || nWindow < 1 || nCount < nWindow)
        return;
    int sum = 0;
    for (int i = 0; i < nWindow; ++i)
        sum += pSrc[(ptrdiff_t)i * nSrcStep];
    pDest[0] = sum;
    for (int k = 1; k + nWindow <= nCount; ++k) {
        sum += pSrc[(ptrdiff_t)(k + nWindow - 1) * nSrcStep] - pSrc[(ptrdiff_t)(k - 1) * nSrcStep];
        pDest[(ptrdiff_t)k * nDestStep] = sum;
    }
}

BOOL CDrawManager::BlurMask(const DWORD* pMask, int cx, int cy, int nBlurX, int nBlurY, double* pFactors)
{
    if (pMask == NULL || pFactors == NULL || cx < 1 || cy < 1 || nBlurX < 1 || nBlurY < 1 || nBlurX % 2 == 0 ||
        nBlurY % 2 == 0)
        return FALSE;
    const LONGLONG padW = (LONGLONG)cx + nBlurX - 1, padH = (LONGLONG)cy + nBlurY - 1;
    // The box sums must fit in an int, and the padded mask in memory.
    if ((LONGLONG)nBlurX * nBlurY * 255 > 0x7FFFFFFF || padW * padH > 0x7FFFFFFF / 4 ||
        (LONGLONG)cx * padH > 0x7FFFFFFF / 4)
        return FALSE;
    const int pw = (int)padW, ph = (int)padH, px = (nBlurX - 1) / 2, py = (nBlurY - 1) / 2;
    int* pPadded = new (std::nothrow) int[(size_t)pw * ph];
    int* pRows = new (std::nothrow) int[(size_t)cx * ph];
    if (pPadded == NULL || pRows == NULL) {
        delete[] pPadded;
        delete[] pRows;
        return FALSE;
    }
    for (size_t i = 0; i < (size_t)pw * ph; ++i)
        pPadded[i] = 255;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x)
            pPadded[(size_t)(y + py) * pw + x + px] = pMask[(size_t)y * cx + x] & 0xFF;
    for (int j = 0; j < ph; ++j)
        ConvolveLine(pPadded + (size_t)j * pw, 1, pw, nBlurX, pRows + (size_t)j * cx, 1);
    // The column sums go back into the padded buffer, cx values a row.
    for (int x = 0; x < cx; ++x)
        ConvolveLine(pRows + x, cx, ph, nBlurY, pPadded + x, cx);
    const double scale = (double)nBlurX * nBlurY * 255;
    for (size_t i = 0; i < (size_t)cx * cy; ++i)
        pFactors[i] = pPadded[i] / scale;
    delete[] pPadded;
    delete[] pRows;
    return TRUE;
}

void CDrawManager::DrawShadow(HDC hDC, int x, int y, int cx, int cy, HBITMAP hMask, BOOL bSoft, int nBlurX, int nBlurY)
{
    if (hDC == NULL || hMask == NULL || cx < 1 || cy < 1)
        return;
    CDibSection mask;
    if (!mask.Create(cx, cy))
        return;
    {
        CDC src;
        if (!src.CreateCompatibleDC(NULL))
            return;
        CSelectGuard select(src, hMask);
        if (select.GetOld() == NULL || select.GetOld() == HGDI_ERROR)
            return;
        if (bSoft) {
            nBlurX = nBlurX < 1 ? 1 : nBlurX | 1;
            nBlurY = nBlurY < 1 ? 1 : nBlurY | 1;
            SIZE size = { cx, cy };
            GetSizeOfBitmap(hMask, &size);
            mask.Fill(0x00FFFFFF);
            // A shadow narrower than its blur keeps at least one pixel of mask.
            const int w = cx - nBlurX > 1 ? cx - nBlurX : 1;
            const int h = cy - nBlurY > 1 ? cy - nBlurY : 1;
            ::StretchBlt(mask.GetDC(), nBlurX / 2, nBlurY / 2, w, h, src, 0, 0, size.cx, size.cy, SRCCOPY);
            ::GdiFlush();
        } else if (!mask.CopyFrom(src, 0, 0))
            return;
    }
    CDibSection dest;
    if (!dest.Create(cx, cy) || !dest.CopyFrom(hDC, x, y))
        return;
    DWORD* pDest = dest.GetBits();
    const DWORD* pMask = mask.GetBits();
    const size_t n = (size_t)cx * cy;
    if (bSoft) {
        double* pFactors = new (std::nothrow) double[n];
        if (pFactors == NULL || !BlurMask(pMask, cx, cy, nBlurX, nBlurY, pFactors)) {
            delete[] pFactors;
            return;
        }
        for (size_t i = 0; i < n; ++i)
            pDest[i] = DarkenColor(pDest[i], pFactors[i]);
        delete[] pFactors;
    } else {
        for (size_t i = 0; i < n; ++i)
            pDest[i] = DarkenColor(pDest[i], (pMask[i] & 0xFF) / 255.0);
    }
    dest.CopyTo(hDC, x, y);
}

void CDrawManager::AlphaBlendDC(HDC hSrc, HDC hDest, int x, int y, int cx, int cy, int nOpacity)
{
    if (hSrc == NULL || hDest == NULL || cx < 1 || cy < 1)
        return;
    if (nOpacity >= 100) {
        ::BitBlt(hDest, x, y, cx, cy, hSrc, 0, 0, SRCCOPY);
        return;
    }
    // A negative opacity would take more than all of the destination.
    if (nOpacity < 0)
        nOpacity = 0;
    CDibSection src, dest;
    if (!src.Create(cx, cy) || !dest.Create(cx, cy) || !src.CopyFrom(hSrc, 0, 0) || !dest.CopyFrom(hDest, x, y))
        return;
    const double p = nOpacity / 100.0;
    DWORD* pSrc = src.GetBits();
    DWORD* pDest = dest.GetBits();
    const size_t n = (size_t)cx * cy;
    for (size_t i = 0; i < n; ++i)
        pDest[i] = MixColors(pDest[i], pSrc[i], p, 1.0 - p);
    dest.CopyTo(hDest, x, y);
}

void CDrawManager::AlphaChannelBlit(HDC hSrc, HDC hDest, int x, int y, int cx, int cy)
{
    if (hSrc == NULL || hDest == NULL || cx < 1 || cy < 1)
        return;
    CDibSection src, dest;
    if (!src.Create(cx, cy) || !dest.Create(cx, cy) || !src.CopyFrom(hSrc, 0, 0) || !dest.CopyFrom(hDest, x, y))
        return;
    DWORD* pSrc = src.GetBits();
    DWORD* pDest = dest.GetBits();
    const size_t n = (size_t)cx * cy;
    for (size_t i = 0; i < n; ++i) {
        const double a = (pSrc[i] >> 24) / 255.0;
        pDest[i] = MixColors(pDest[i], pSrc[i], a, 1.0 - a);
    }
    dest.CopyTo(hDest, x, y);
}
