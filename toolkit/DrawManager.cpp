// The drawing manager's plain fills: effects dispatch, 64-band gradients,
// tiling, bordered rectangles and lines, image sizes and the colour helpers.
#include "toolkit/DrawManager.h"

CDrawManager::CDrawManager() : m_bImageHasAlpha(FALSE) {}

CDrawManager::~CDrawManager() {}

void CDrawManager::FillEffect(HDC hDC, const RECT& rect, int nEffect, COLORREF clrBegin, COLORREF clrMid,
                              COLORREF clrEnd, BYTE byGranularity, BYTE byColoring)
{
    if (hDC == NULL)
        return;
    RECT first = rect, second = rect;
    const LONG xMid = rect.left + (rect.right - rect.left) / 2;
    const LONG yMid = rect.top + (rect.bottom - rect.top) / 2;
    switch (nEffect) {
    case EFFECT_HGRADIENT: DrawGradient(hDC, rect, clrBegin, clrEnd, TRUE); break;
    case EFFECT_VGRADIENT: DrawGradient(hDC, rect, clrBegin, clrEnd, FALSE); break;
    case EFFECT_HCGRADIENT:
    case EFFECT_3HGRADIENT:
        first.right = second.left = xMid;
        DrawGradient(hDC, first, clrBegin, nEffect == EFFECT_HCGRADIENT ? clrEnd : clrMid, TRUE);
        DrawGradient(hDC, second, nEffect == EFFECT_HCGRADIENT ? clrEnd : clrMid,
                     nEffect == EFFECT_HCGRADIENT ? clrBegin : clrEnd, TRUE);
        break;
    case EFFECT_VCGRADIENT:
    case EFFECT_3VGRADIENT:
        first.bottom = second.top = yMid;
        DrawGradient(hDC, first, clrBegin, nEffect == EFFECT_VCGRADIENT ? clrEnd : clrMid, FALSE);
        DrawGradient(hDC, second, nEffect == EFFECT_VCGRADIENT ? clrEnd : clrMid,
                     nEffect == EFFECT_VCGRADIENT ? clrBegin : clrEnd, FALSE);
        break;
    default:
        if (nEffect >= EFFECT_NOISE && nEffect <= EFFECT_METAL) {
            RECT canvas = { 0, 0, rect.right - rect.left, rect.bottom - rect.top };
            DrawShadeEffect(canvas, nEffect, byGranularity, byColoring, clrBegin, clrMid, clrEnd);
            m_canvas.DrawDib(hDC, rect.left, rect.top);
        } else if (!::IsRectEmpty(&rect))  // GDI would fill an inverted rectangle the other way round
        {
            CBrush brush(clrBegin);
            if (brush.GetSafeHandle() != NULL)
                ::FillRect(hDC, &rect, brush);
        }
        break;
    }
}

void CDrawManager::DrawGradient(HDC hDC, const RECT& rect, COLORREF clrFrom, COLORREF clrTo, BOOL bHorizontal)
{
    // Bands of an inverted rectangle would be filled the other way round.
    if (hDC == NULL || ::IsRectEmpty(&rect))
        return;
    const LONGLONG start = bHorizontal ? rect.left : rect.top;
    const LONGLONG extent = bHorizontal ? (LONGLONG)rect.right - rect.left : (LONGLONG)rect.bottom - rect.top;
    for (int i = 0; i < 64; ++i) {
        // Band edges and colours in sixty-fourths; wide so a huge rectangle cannot wrap.
        LONGLONG from = start + ((i * extent) >> 6);
        LONGLONG to = start + (((i + 1) * extent) >> 6);
        if (to - from <= 0)
            continue;
        int r = (GetRValue(clrFrom) * (64 - i) + GetRValue(clrTo) * i) >> 6;
        int g = (GetGValue(clrFrom) * (64 - i) + GetGValue(clrTo) * i) >> 6;
        int b = (GetBValue(clrFrom) * (64 - i) + GetBValue(clrTo) * i) >> 6;
        RECT band = rect;
        if (bHorizontal) {
            band.left = (LONG)from;
            band.right = (LONG)to;
        } else {
            band.top = (LONG)from;
            band.bottom = (LONG)to;
        }
        CBrush brush(RGB(r, g, b));
        if (brush.GetSafeHandle() == NULL)
            return;
        ::FillRect(hDC, &band, brush);
    }
}

void CDrawManager::TileBlt(HDC hDest, int x, int y, int cx, int cy, HDC hSrc, int xSrc, int ySrc, int cxTile,
                           int cyTile)
{
    // A tile of no size would never advance.
    if (hDest == NULL || hSrc == NULL || cxTile < 1 || cyTile < 1 || cx < 1 || cy < 1)
        return;
    const LONGLONG right = (LONGLONG)x + cx, bottom = (LONGLONG)y + cy;
    for (LONGLONG ty = y; ty < bottom; ty += cyTile) {
        int h = (int)(bottom - ty < cyTile ? bottom - ty : cyTile);
        for (LONGLONG tx = x; tx < right; tx += cxTile) {
            int w = (int)(right - tx < cxTile ? right - tx : cxTile);
            ::BitBlt(hDest, (int)tx, (int)ty, w, h, hSrc, xSrc, ySrc, SRCCOPY);
        }
    }
}

namespace {
int PenStyle(int nPenKind)
{
    switch (nPenKind) {
    case CDrawManager::PEN_DASH: return PS_DASH;
    case CDrawManager::PEN_DOT: return PS_DOT;
    case CDrawManager::PEN_DASHDOT: return PS_DASHDOT;
    case CDrawManager::PEN_DASHDOTDOT: return PS_DASHDOTDOT;
    default: return PS_SOLID;
    }
}
}  // namespace

void CDrawManager::DrawRectangle(HDC hDC, int left, int top, int right, int bottom, COLORREF clrTopLeft,
                                 COLORREF clrBottomRight, int nPenKind, int nPenWidth)
{
    if (hDC == NULL || nPenWidth <= 0)
        return;
    const int half = nPenWidth / 2;
    left += half;
    top += half;
    right -= half;
    bottom -= half;
    CPen penTopLeft(PenStyle(nPenKind), nPenWidth, clrTopLeft);
    CPen penBottomRight;
    if (penTopLeft.GetSafeHandle() == NULL)
        return;
    CSelectGuard select(hDC, penTopLeft);
    const int passes = nPenKind == PEN_DOUBLE ? 2 : 1;
    for (int k = 0; k < passes; ++k) {
        const int d = k * 2 * nPenWidth;
        ::SelectObject(hDC, penTopLeft);
        ::MoveToEx(hDC, left + d, bottom - d, NULL);
        ::LineTo(hDC, left + d, top + d);
        ::LineTo(hDC, right - d, top + d);
        if (clrBottomRight != clrTopLeft) {
            if (penBottomRight.GetSafeHandle() == NULL &&
                !penBottomRight.CreatePen(PenStyle(nPenKind), nPenWidth, clrBottomRight))
                return;
            ::SelectObject(hDC, penBottomRight);
        }
        ::MoveToEx(hDC, right - d, top + d, NULL);
        ::LineTo(hDC, right - d, bottom - d);
        ::LineTo(hDC, left + d, bottom - d);
    }
}

void CDrawManager::DrawLine(HDC hDC, int x1, int y1, int x2, int y2, COLORREF clr, int nPenKind, int nPenWidth)
{
    if (hDC == NULL || nPenWidth <= 0)
        return;
    CPen pen(PenStyle(nPenKind), nPenWidth, clr);
    if (pen.GetSafeHandle() == NULL)
        return;
    CSelectGuard select(hDC, pen);
    ::MoveToEx(hDC, x1, y1, NULL);
    ::LineTo(hDC, x2, y2);
    if (nPenKind == PEN_DOUBLE) {
        // The second line lies below a horizontal line, right of a vertical
        // one, and both below and right of a slanted one.
        const int d = 2 * nPenWidth;
        const int dx = y1 == y2 ? 0 : d;
        const int dy = x1 == x2 && y1 != y2 ? 0 : d;
        ::MoveToEx(hDC, x1 + dx, y1 + dy, NULL);
        ::LineTo(hDC, x2 + dx, y2 + dy);
    }
}

void CDrawManager::GetSizeOfIcon(HICON hIcon, SIZE* pSize) const
{
    if (pSize == NULL)
        return;
    CIconInfo info;
    if (!info.Read(hIcon))
        return;
    pSize->cx = (LONG)(info.xHotspot * 2);
    pSize->cy = (LONG)(info.yHotspot * 2);
}

void CDrawManager::GetSizeOfBitmap(HBITMAP hBitmap, SIZE* pSize) const
{
    BITMAP bm = {};
    if (pSize == NULL || hBitmap == NULL || !::GetObjectW(hBitmap, sizeof(bm), &bm))
        return;
    pSize->cx = bm.bmWidth;
    pSize->cy = bm.bmHeight;
}

// --- colour helpers on 0xAARRGGBB pixels ------------------------------------------------

namespace {
inline int Red(DWORD p)
{
    return (p >> 16) & 0xFF;
}
inline int Green(DWORD p)
{
    return (p >> 8) & 0xFF;
}
inline int Blue(DWORD p)
{
    return p & 0xFF;
}
inline DWORD Channel(double v)
{
    return v <= 0 ? 0 : v >= 255 ? 255 : (DWORD)v;
}
inline DWORD Pixel(DWORD alphaOf, DWORD r, DWORD g, DWORD b)
{
    return (alphaOf & 0xFF000000) | (r << 16) | (g << 8) | b;
}
}  // namespace

DWORD CDrawManager::GrayColor(DWORD clr)
{
    // 0.299 red + 0.587 green + 0.114 blue, in thousandths so that the
    // truncation is exact whatever the floating-point unit.
    DWORD g = (DWORD)((299 * Red(clr) + 587 * Green(clr) + 114 * Blue(clr)) / 1000);
    return Pixel(clr, g, g, g);
}

DWORD CDrawManager::InvertColor(DWORD clr)
{
    return clr ^ 0x00FFFFFF;
}

DWORD CDrawManager::DarkenColor(DWORD clr, double dFactor)
{
    if (dFactor >= 1.0)
        return clr;
    return Pixel(clr, Channel(Red(clr) * dFactor), Channel(Green(clr) * dFactor), Channel(Blue(clr) * dFactor));
}

DWORD CDrawManager::LightenColor(DWORD clr, double dFactor)
{
    if (dFactor > 1.0)
        return clr;
    const double m = 1.0 + dFactor;
    return Pixel(clr, Channel(Red(clr) * m), Channel(Green(clr) * m), Channel(Blue(clr) * m));
}

DWORD CDrawManager::MixColors(DWORD clrA, DWORD clrB, double dWeightB, double dWeightA)
{
    return Pixel(clrA, Channel(dWeightB * Red(clrB) + dWeightA * Red(clrA)),
                 Channel(dWeightB * Green(clrB) + dWeightA * Green(clrA)),
                 Channel(dWeightB * Blue(clrB) + dWeightA * Blue(clrA)));
}
