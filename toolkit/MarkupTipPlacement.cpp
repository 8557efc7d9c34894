// Placement and shape of the tip balloon (see MarkupTipPlacement.h).
#include "toolkit/MarkupTipPlacement.h"

namespace {

int Side(int nCode)
{
    return nCode >> 4;
}
int Position(int nCode)
{
    return nCode & 0x0F;
}
BOOL IsHorizontalSide(int nCode)
{
    return Side(nCode) < 2;
}  // anchor on top or bottom edge

// The coordinate of the anchor's tip along its edge, for position 2 shifted
// so that an end that would leave the screen lies on its edge instead. The
// ends are taken where the balloon really ends: for an odd length the far
// end lies one past the halved length, and that pixel must stay on screen too.
int CentredAnchor(int nPoint, int nLength, int nLow, int nHigh)
{
    int a = nLength / 2;
    int nLowEnd = nPoint - a, nHighEnd = nPoint - a + nLength;
    BOOL bHighOff = nHighEnd > nHigh;
    BOOL bLowOff = nLowEnd < nLow;
    if (bHighOff && !bLowOff)
        a += nHighEnd - nHigh;
    else if (!bHighOff && bLowOff)
        a += nLowEnd - nLow;
    return a;
}

// The anchor's tip along its edge, by position.
int AnchorAlong(int nCode, int nPoint, int nLength, int nLow, int nHigh, int nMargin)
{
    switch (Position(nCode)) {
    case 0: return nMargin;
    case 1: return nLength - nMargin;
    default: return CentredAnchor(nPoint, nLength, nLow, nHigh);
    }
}

}  // namespace

BOOL IsTipDirection(int nCode)
{
    return nCode >= 0 && Side(nCode) <= 3 && Position(nCode) <= 2;
}

int ComputeTipPlacement(int nCode, POINT pt, const RECT& rcScreen, const TipBalloonShape& shape, RECT& rcBody,
                        RECT& rcText, RECT& rcWindow, POINT& ptAnchor)
{
    // Neither the anchor nor the triangle is defined for other codes.
    if (!IsTipDirection(nCode))
        nCode = TIPDIR_DEFAULT;
    const int x0 = rcScreen.left, y0 = rcScreen.top, x1 = rcScreen.right, y1 = rcScreen.bottom;
    const int ah = shape.nAnchorHeight, am = shape.nAnchorMargin;

    RECT r = rcBody;
    if (IsHorizontalSide(nCode))
        r.bottom += ah;
    else
        r.right += ah;
    const int w = r.right, h = r.bottom;

    // Horizontal fit.
    switch (nCode) {
    case 32:
    case 33:
    case 34:
        if (pt.x + w > x1)
            nCode ^= 16;
        break;
    case 48:
    case 49:
    case 50:
        if (pt.x - w < x0)
            nCode ^= 16;
        break;
    case 0:
    case 16:
        if (pt.x - am + w > x1)
            nCode = (pt.x + am - w < x0) ? (nCode | 2) : (nCode ^ 1);
        break;
    case 1:
    case 17:
        if (pt.x + am - w < x0)
            nCode = (pt.x - am + w <= x1) ? (nCode ^ 1) : (nCode ^ 3);
        break;
    case 2:
    case 18:
        if (pt.x - x0 <= am)
            nCode ^= 2;
        else if (x1 - pt.x <= am)
            nCode ^= 3;
        break;
    }

    // Vertical fit.
    switch (nCode) {
    case 0:
    case 1:
    case 2:
        if (pt.y + h > y1)
            nCode ^= 16;
        break;
    case 16:
    case 17:
    case 18:
        if (pt.y - h < y0)
            nCode ^= 16;
        break;
    case 32:
    case 48:
        if (pt.y - am + h > y1)
            nCode = (pt.y + am - h < y0) ? (nCode | 2) : (nCode ^ 1);
        break;
    case 33:
    case 49:
        if (pt.y + am - h < y0)
            nCode = (pt.y - am + h <= y1) ? (nCode ^ 1) : (nCode ^ 3);
        break;
    case 34:
    case 50:
        if (pt.y - y0 <= am)
            nCode ^= 2;
        else if (y1 - pt.y <= am)
            nCode ^= 3;
        break;
    }

    // The anchor's tip: on the edge facing the point, along it by position.
    POINT a = { 0, 0 };
    switch (Side(nCode)) {
    case 0: a.y = 0; break;
    case 1: a.y = h; break;
    case 2: a.x = 0; break;
    default: a.x = w; break;
    }
    if (IsHorizontalSide(nCode))
        a.x = AnchorAlong(nCode, pt.x, w, x0, x1, am);
    else
        a.y = AnchorAlong(nCode, pt.y, h, y0, y1, am);

    // Keep the balloon's free end on the screen; nothing clamps across the axis.
    switch (nCode) {
    case 0:
    case 2:
    case 16:
    case 18:
        if (pt.x - a.x < x0)
            a.x = pt.x - x0;
        break;
    case 1:
    case 17:
        if (pt.x - a.x + w > x1)
            a.x = pt.x + w - x1;
        break;
    case 32:
    case 34:
    case 48:
    case 50:
        if (pt.y - a.y < y0)
            a.y = pt.y - y0;
        break;
    case 33:
    case 49:
        if (pt.y - a.y + h > y1)
            a.y = pt.y + h - y1;
        break;
    }

    // The anchor on the top or left edge pushes body and text past it.
    if (Side(nCode) == 0) {
        ::OffsetRect(&rcBody, 0, ah);
        ::OffsetRect(&rcText, 0, ah);
    } else if (Side(nCode) == 2) {
        ::OffsetRect(&rcBody, ah, 0);
        ::OffsetRect(&rcText, ah, 0);
    }
    rcWindow = r;
    ptAnchor = a;
    return nCode;
}

HRGN CreateBalloonRegion(int cx, int cy, int nCode, POINT ptAnchor, const TipBalloonShape& shape)
{
    if (!IsTipDirection(nCode))
        nCode = TIPDIR_DEFAULT;
    const int ah = shape.nAnchorHeight, am = shape.nAnchorMargin, aw = shape.nAnchorWidth;

    RECT b = { 0, 0, cx, cy };
    switch (Side(nCode)) {
    case 0: b.top = ah; break;
    case 1: b.bottom = cy - ah; break;
    case 2: b.left = ah; break;
    default: b.right = cx - ah; break;
    }

    // The base of the triangle on the body's edge facing the point.
    BOOL bHorizontal = IsHorizontalSide(nCode);
    int nLength = bHorizontal ? cx : cy;
    int nTip = bHorizontal ? ptAnchor.x : ptAnchor.y;
    int p1, p2;
    switch (Position(nCode)) {
    case 0:
        p1 = am;
        p2 = am + aw;
        break;
    case 1:
        p1 = nLength - am;
        p2 = nLength - am - aw;
        break;
    default:
        p1 = nTip - aw / 2;
        p2 = nTip - aw / 2 + aw;
        break;
    }
    int nEdge = 0;
    switch (Side(nCode)) {
    case 0: nEdge = b.top; break;
    case 1: nEdge = b.bottom; break;
    case 2: nEdge = b.left; break;
    default: nEdge = b.right; break;
    }
    POINT triangle[3] = { ptAnchor, { p1, nEdge }, { p2, nEdge } };
    if (!bHorizontal) {
        triangle[1] = { nEdge, p1 };
        triangle[2] = { nEdge, p2 };
    }

    HRGN hBody =
        ::CreateRoundRectRgn(b.left, b.top, b.right + 1, b.bottom + 1, shape.szRoundCorner.cx, shape.szRoundCorner.cy);
    HRGN hAnchor = (ah != 0 && aw != 0) ? ::CreatePolygonRgn(triangle, 3, ALTERNATE) : ::CreateRectRgn(0, 0, 0, 0);
    HRGN hResult = ::CreateRectRgn(0, 0, 0, 0);
    if (hResult && (!hBody || !hAnchor || ::CombineRgn(hResult, hBody, hAnchor, RGN_OR) == ERROR)) {
        ::DeleteObject(hResult);
        hResult = NULL;
    }
    if (hBody)
        ::DeleteObject(hBody);
    if (hAnchor)
        ::DeleteObject(hAnchor);
    return hResult;
}

HRGN CreateTipWindowRegion(HRGN hBalloon, SIZE szShadowOffset)
{
    if (!hBalloon)
        return NULL;
    HRGN hWindow = ::CreateRectRgn(0, 0, 0, 0);
    if (!hWindow || ::CombineRgn(hWindow, hBalloon, NULL, RGN_COPY) == ERROR) {
        if (hWindow)
            ::DeleteObject(hWindow);
        return NULL;
    }
    if (szShadowOffset.cx == 0 && szShadowOffset.cy == 0)
        return hWindow;
    HRGN hShadow = ::CreateRectRgn(0, 0, 0, 0);
    if (hShadow && ::CombineRgn(hShadow, hBalloon, NULL, RGN_COPY) != ERROR) {
        ::OffsetRgn(hShadow, szShadowOffset.cx, szShadowOffset.cy);
        ::CombineRgn(hWindow, hWindow, hShadow, RGN_OR);
    }
    if (hShadow)
        ::DeleteObject(hShadow);
    return hWindow;
}
