// CShadeButton: the shaded pictures and their painting.
#include "toolkit/ShadeButton.h"

#include <stdlib.h>

namespace {

const int kGranularity = 8;        // grain of ±8 palette steps
const int kHighlightPercent = 20;  // the hot picture's move toward the light colour
const int kTintPercent = 5;
const COLORREF kTint = RGB(55, 55, 255);

BYTE Mix(int a, int b, int nA, int nB)
{
    return static_cast<BYTE>((a * nA + b * nB) / 128);
}

void SetEntry(RGBQUAD* pEntry, COLORREF crFrom, COLORREF crTo, int i)
{
    pEntry->rgbRed = Mix(GetRValue(crFrom), GetRValue(crTo), 128 - i, i);
    pEntry->rgbGreen = Mix(GetGValue(crFrom), GetGValue(crTo), 128 - i, i);
    pEntry->rgbBlue = Mix(GetBValue(crFrom), GetBValue(crTo), 128 - i, i);
    pEntry->rgbReserved = 0;
}

}  // namespace

CShadeButton::CShadeButton() {}

CShadeButton::~CShadeButton() {}

void CShadeButton::ShadePalette(COLORREF crShadow, COLORREF crFace, COLORREF crLight, RGBQUAD palette[256])
{
    for (int i = 0; i <= 128; ++i)
        SetEntry(&palette[i], crShadow, crFace, i);
    // Entry 128 is written again here and ends between face and light.
    for (int i = 1; i <= 128; ++i)
        SetEntry(&palette[127 + i], crFace, crLight, i);
}

int CShadeButton::ShadeValue(int x, int r, int w, int h)
{
    if (w <= 0 || h <= 0)
        return 128;
    const int xs = 255 * (w - x) / w - 127;
    const int ys = 255 * r / h - 127;
    const int s = xs * xs * xs / 16384 + ys * ys * ys / 16384;
    int v = 128 + (120 * s) / 128;
    if (v < kGranularity)
        v = kGranularity;
    else if (v > 255 - kGranularity)
        v = 255 - kGranularity;
    return v;
}

void CShadeButton::SetShade()
{
    if (GetSafeHwnd() == NULL)
        return;
    CRect rc;
    GetWindowRect(&rc);
    const int w = rc.Width(), h = rc.Height();
    m_dibHot.ClearDib();
    if (m_dibNormal.CreateDib(w, h, 8) == NULL)
        return;

    const COLORREF crLight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    RGBQUAD palette[256];
    ShadePalette(::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNFACE), crLight, palette);
    for (int i = 0; i < 256; ++i)
        m_dibNormal.SetPaletteIndex(i, palette[i].rgbRed, palette[i].rgbGreen, palette[i].rgbBlue);
    m_dibNormal.BlendPalette(kTint, kTintPercent);

    for (int r = 0; r < h; ++r) {
        BYTE* pRow = m_dibNormal.GetRow(r);
        for (int x = 0; x < w; ++x)
            pRow[x] = static_cast<BYTE>(ShadeValue(x, r, w, h) + (rand() / 2047 - kGranularity));
    }

    m_dibHot.CopyDib(&m_dibNormal);
    m_dibHot.BlendPalette(crLight, kHighlightPercent);
}

DWORD CShadeButton::OnDrawBackground(CDC* pDC, CRect* pRect)
{
    (void)pRect;
    if (!m_bMouseOnButton)
        m_dibNormal.DrawDib(pDC->m_hDC, 0, 0);
    else if (m_bIsPressed)
        m_dibHot.DrawDib(pDC->m_hDC, 1, 1);
    else
        m_dibHot.DrawDib(pDC->m_hDC, 0, 0);
    return 0;
}

DWORD CShadeButton::OnDrawBorder(CDC* pDC, CRect* pRect)
{
    CIconButton::OnDrawBorder(pDC, pRect);
    return 0;
}
