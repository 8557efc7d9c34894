// Points, sizes and rectangles: thin value types over the Win32 structures.
#pragma once

#include <windows.h>

// windowsx.h is not used: its macros (SubclassWindow, CopyRgn...) clash
// with member names.
#ifndef GET_X_LPARAM
#define GET_X_LPARAM(lp) ((int)(short)LOWORD(lp))
#endif
#ifndef GET_Y_LPARAM
#define GET_Y_LPARAM(lp) ((int)(short)HIWORD(lp))
#endif

class CSize;
class CRect;

class CPoint : public POINT
{
public:
    CPoint()
    {
        x = 0;
        y = 0;
    }
    CPoint(int initX, int initY)
    {
        x = initX;
        y = initY;
    }
    CPoint(POINT pt)
    {
        x = pt.x;
        y = pt.y;
    }
    CPoint(SIZE size)
    {
        x = size.cx;
        y = size.cy;
    }
    // Signed coordinates packed as in mouse messages (x low word, y high word).
    explicit CPoint(LPARAM dwPoint)
    {
        x = GET_X_LPARAM(dwPoint);
        y = GET_Y_LPARAM(dwPoint);
    }

    void Offset(int xOffset, int yOffset)
    {
        x += xOffset;
        y += yOffset;
    }
    void Offset(POINT pt)
    {
        x += pt.x;
        y += pt.y;
    }
    void SetPoint(int X, int Y)
    {
        x = X;
        y = Y;
    }

    bool operator==(POINT pt) const { return x == pt.x && y == pt.y; }
    bool operator!=(POINT pt) const { return !(*this == pt); }
    CPoint& operator+=(POINT pt)
    {
        x += pt.x;
        y += pt.y;
        return *this;
    }
    CPoint& operator-=(POINT pt)
    {
        x -= pt.x;
        y -= pt.y;
        return *this;
    }
    CPoint& operator+=(SIZE s)
    {
        x += s.cx;
        y += s.cy;
        return *this;
    }
    CPoint& operator-=(SIZE s)
    {
        x -= s.cx;
        y -= s.cy;
        return *this;
    }
    CPoint operator+(POINT pt) const { return CPoint(x + pt.x, y + pt.y); }
    CPoint operator-(POINT pt) const { return CPoint(x - pt.x, y - pt.y); }
    CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
    CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
    CPoint operator-() const { return CPoint(-x, -y); }
};

class CSize : public SIZE
{
public:
    CSize()
    {
        cx = 0;
        cy = 0;
    }
    CSize(int initCX, int initCY)
    {
        cx = initCX;
        cy = initCY;
    }
    CSize(SIZE s)
    {
        cx = s.cx;
        cy = s.cy;
    }
    CSize(POINT pt)
    {
        cx = pt.x;
        cy = pt.y;
    }

    void SetSize(int CX, int CY)
    {
        cx = CX;
        cy = CY;
    }
    bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
    bool operator!=(SIZE s) const { return !(*this == s); }
    CSize& operator+=(SIZE s)
    {
        cx += s.cx;
        cy += s.cy;
        return *this;
    }
    CSize& operator-=(SIZE s)
    {
        cx -= s.cx;
        cy -= s.cy;
        return *this;
    }
    CSize operator+(SIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
    CSize operator-(SIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
};

class CRect : public RECT
{
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    CRect(const RECT& rc) { ::CopyRect(this, &rc); }
    CRect(LPCRECT prc)
    {
        if (prc)
            ::CopyRect(this, prc);
        else
            SetRectEmpty();
    }
    CRect(POINT pt, SIZE size)
    {
        left = pt.x;
        top = pt.y;
        right = pt.x + size.cx;
        bottom = pt.y + size.cy;
    }
    CRect(POINT topLeft, POINT bottomRight)
    {
        left = topLeft.x;
        top = topLeft.y;
        right = bottomRight.x;
        bottom = bottomRight.y;
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }
    BOOL EqualRect(LPCRECT prc) const { return ::EqualRect(this, prc); }

    void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
    void SetRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
    void SetRectEmpty() { ::SetRectEmpty(this); }
    void CopyRect(LPCRECT prc) { ::CopyRect(this, prc); }

    void InflateRect(int x, int y) { ::InflateRect(this, x, y); }
    void InflateRect(SIZE s) { ::InflateRect(this, s.cx, s.cy); }
    void InflateRect(LPCRECT prc)
    {
        left -= prc->left;
        top -= prc->top;
        right += prc->right;
        bottom += prc->bottom;
    }
    void InflateRect(int l, int t, int r, int b)
    {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void DeflateRect(int x, int y) { ::InflateRect(this, -x, -y); }
    void DeflateRect(SIZE s) { ::InflateRect(this, -s.cx, -s.cy); }
    void DeflateRect(LPCRECT prc)
    {
        left += prc->left;
        top += prc->top;
        right -= prc->right;
        bottom -= prc->bottom;
    }
    void DeflateRect(int l, int t, int r, int b)
    {
        left += l;
        top += t;
        right -= r;
        bottom -= b;
    }
    void OffsetRect(int x, int y) { ::OffsetRect(this, x, y); }
    void OffsetRect(POINT pt) { ::OffsetRect(this, pt.x, pt.y); }
    void OffsetRect(SIZE s) { ::OffsetRect(this, s.cx, s.cy); }
    void MoveToX(int x)
    {
        right = Width() + x;
        left = x;
    }
    void MoveToY(int y)
    {
        bottom = Height() + y;
        top = y;
    }
    void MoveToXY(int x, int y)
    {
        MoveToX(x);
        MoveToY(y);
    }
    void MoveToXY(POINT pt) { MoveToXY(pt.x, pt.y); }
    void NormalizeRect()
    {
        if (left > right) {
            LONG t = left;
            left = right;
            right = t;
        }
        if (top > bottom) {
            LONG t = top;
            top = bottom;
            bottom = t;
        }
    }
    BOOL IntersectRect(LPCRECT a, LPCRECT b) { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(LPCRECT a, LPCRECT b) { return ::UnionRect(this, a, b); }
    BOOL SubtractRect(LPCRECT a, LPCRECT b) { return ::SubtractRect(this, a, b); }

    CRect& operator=(const RECT& rc)
    {
        ::CopyRect(this, &rc);
        return *this;
    }
    bool operator==(const RECT& rc) const { return ::EqualRect(this, &rc) != FALSE; }
    bool operator!=(const RECT& rc) const { return !(*this == rc); }
    void operator+=(POINT pt) { OffsetRect(pt); }
    void operator+=(SIZE s) { OffsetRect(s); }
    void operator-=(POINT pt) { OffsetRect(-pt.x, -pt.y); }
    void operator-=(SIZE s) { OffsetRect(-s.cx, -s.cy); }
    void operator&=(const RECT& rc) { ::IntersectRect(this, this, &rc); }
    void operator|=(const RECT& rc) { ::UnionRect(this, this, &rc); }
    CRect operator+(POINT pt) const
    {
        CRect r(*this);
        r.OffsetRect(pt);
        return r;
    }
    CRect operator-(POINT pt) const
    {
        CRect r(*this);
        r.OffsetRect(-pt.x, -pt.y);
        return r;
    }
    CRect operator&(const RECT& rc) const
    {
        CRect r;
        ::IntersectRect(&r, this, &rc);
        return r;
    }
    CRect operator|(const RECT& rc) const
    {
        CRect r;
        ::UnionRect(&r, this, &rc);
        return r;
    }
};
