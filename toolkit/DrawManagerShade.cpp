// The shaded patterns (effects 7 to 15): a palette from dark through middle to
// light, and palette indices computed per pixel with one rand() call each.
#include "toolkit/DrawManager.h"

#include <stdlib.h>
#include <string.h>

void CDrawManager::DrawShadeEffect(const RECT& rect, int nEffect, BYTE byGranularity, BYTE byColoring,
                                   COLORREF clrLight, COLORREF clrMid, COLORREF clrDark)
{
    m_canvas.ClearDib();
    const LONGLONG w = (LONGLONG)rect.right - rect.left, h = (LONGLONG)rect.bottom - rect.top;
    // An empty canvas has nothing to shade, and the patterns divide by both sizes.
    if (nEffect < EFFECT_NOISE || nEffect > EFFECT_METAL || w < 1 || h < 1 || w > 0x7FFFFFFF || h > 0x7FFFFFFF)
        return;
    if (m_canvas.CreateDib((LONG)w, (LONG)h, 8) == NULL)
        return;

    for (int i = 0; i <= 128; ++i)
        m_canvas.SetPaletteIndex(i, (BYTE)((GetRValue(clrDark) * (128 - i) + GetRValue(clrMid) * i) / 128),
                                 (BYTE)((GetGValue(clrDark) * (128 - i) + GetGValue(clrMid) * i) / 128),
                                 (BYTE)((GetBValue(clrDark) * (128 - i) + GetBValue(clrMid) * i) / 128));
    for (int i = 1; i <= 128; ++i)
        m_canvas.SetPaletteIndex(127 + i, (BYTE)((GetRValue(clrMid) * (128 - i) + GetRValue(clrLight) * i) / 128),
                                 (BYTE)((GetGValue(clrMid) * (128 - i) + GetGValue(clrLight) * i) / 128),
                                 (BYTE)((GetBValue(clrMid) * (128 - i) + GetBValue(clrLight) * i) / 128));
    m_canvas.BlendPalette(clrLight, byColoring);
    ShadePixels(m_canvas.GetBits(), m_canvas.GetRowBytes(), (int)w, (int)h, nEffect, byGranularity);
}

namespace {
// The cubic ramp of the bumps: t from about -127 to 128 gives about -125 to 128.
inline int Cube(int t)
{
    return t * t * t / 16384;
}

class CShadeGrid
{
public:
    CShadeGrid(BYTE* pRows, DWORD dwRowBytes, int cx, int cy, int g)
        : m_pRows(pRows), m_dwRowBytes(dwRowBytes), w(cx), h(cy), g(g), q(32767 / (2 * g > 1 ? 2 * g : 1))
    {}
    // Stored row r: 0 is the bottom row.
    BYTE& At(int x, int r) { return m_pRows[(size_t)r * m_dwRowBytes + x]; }
    // 128 at the left edge, near -127 at the right.
    int XRamp(int x) const { return (int)((255LL * (w - x)) / w) - 127; }
    // -127 at the bottom row, near +127 at the top.
    int YRamp(int r) const { return (int)((255LL * r) / h) - 127; }
    // About -g to +g: one rand() call.
    int Grain() const { return rand() / q - g; }
    int Unsigned() const { return rand() / q; }

private:
    BYTE* m_pRows;
    DWORD m_dwRowBytes;

public:
    const int w, h, g, q;
};

void HardBump(CShadeGrid& s)
{
    for (int r = 0; r < s.h; ++r) {
        const int base = 128 + (Cube(s.YRamp(r)) * (64 - s.g) * 2) / 128;
        for (int x = 0; x < s.w; ++x)
            s.At(x, r) = (BYTE)(base + s.Grain());
    }
    // The bevel pass divides by a quarter of the height squared; a one-pixel
    // high canvas has no bevels.
    const LONGLONG quarter = ((LONGLONG)s.h * s.h) / 4;
    if (quarter == 0)
        return;
    const int e = s.w / 6 < 16 ? s.w / 6 : 16;
    for (int r = 0; r < s.h; ++r) {
        const LONGLONG a = r - s.h / 2;
        const LONGLONG k = (e * a * a) / quarter + s.w / 2 - e;
        for (int x = 0; x < s.w; ++x) {
            const LONGLONG u = x - s.w / 2;
            // A bevel narrower than a pixel (e == 0) changes nothing.
            if (e > 0 && u > k)
                s.At(x, r) = (BYTE)((LONGLONG)(s.w - x) * 128 / e + s.g);
            if (e > 0 && u + k < 0)
                s.At(x, r) = (BYTE)((255 - s.g) - (LONGLONG)x * 128 / e);
            s.At(x, r) = (BYTE)(s.At(x, r) + s.Grain());
        }
    }
}

void Metal(CShadeGrid& s)
{
    for (int r = 0; r < s.h; ++r)
        for (int x = 0; x < s.w; ++x)
            s.At(x, r) = 0;
    // Wider than 32767 the divisors would be 0: clamp them to 1.
    const int minSide = s.w < s.h ? s.w : s.h;
    const int dx = 32767 / s.w > 0 ? 32767 / s.w : 1;
    const int dy = 32767 / s.h > 0 ? 32767 / s.h : 1;
    const int dm = 32767 / minSide > 0 ? 32767 / minSide : 1;
    for (int stroke = 0; stroke < 200; ++stroke) {
        const int x0 = rand() / dx;
        const int y0 = rand() / dy;
        const int len = (rand() / dm) / 2;
        const BYTE shade = (BYTE)(rand() / 819);
        // Rows counted from the top here. x0 and y0 can reach past the canvas,
        // and the mirrored column past its right edge: every write is clipped.
        for (int j = 0; j < len; ++j) {
            const int col1 = x0 - j, top1 = y0 + j;
            if (col1 > 0 && top1 < s.h && col1 < s.w && top1 >= 0)
                s.At(col1, s.h - 1 - top1) = shade;
            const LONGLONG col2 = (LONGLONG)(s.w - x0) + j;
            const int top2 = y0 - j;
            if (x0 + j < s.w && top2 > 0 && col2 >= 0 && col2 < s.w && top2 < s.h)
                s.At((int)col2, s.h - 1 - top2) = shade;
        }
    }
    const int v = (255 - 2 * s.g - 40) / 2;
    for (int r = 0; r < s.h; ++r)
        for (int x = 0; x < s.w; ++x) {
            int add = (int)(((LONGLONG)r * v) / s.h + ((LONGLONG)(s.w - x) * v) / s.w);
            s.At(x, r) = (BYTE)(s.At(x, r) + add + s.Unsigned());
        }
}
}  // namespace

void CDrawManager::ShadePixels(BYTE* pRows, DWORD dwRowBytes, int cx, int cy, int nEffect, int nGranularity)
{
    if (pRows == NULL || cx < 1 || cy < 1 || nGranularity < 0 || nGranularity > 255)
        return;
    CShadeGrid s(pRows, dwRowBytes, cx, cy, nGranularity);
    const int g = s.g, w = s.w, h = s.h;
    switch (nEffect) {
    case EFFECT_NOISE:
        for (int r = 0; r < h; ++r)
            for (int x = 0; x < w; ++x)
                s.At(x, r) = (BYTE)(128 + s.Grain());
        break;
    case EFFECT_DIAGSHADE: {
        const int a = (255 - 2 * g) / 2;
        for (int r = 0; r < h; ++r)
            for (int x = 0; x < w; ++x)
                s.At(x, r) = (BYTE)(g + ((LONGLONG)r * a) / h + ((LONGLONG)(w - x) * a) / w + s.Grain());
        break;
    }
    case EFFECT_HSHADE:
        for (int r = 0; r < h; ++r)
            for (int x = 0; x < w; ++x)
                s.At(x, r) = (BYTE)(g + ((LONGLONG)r * (255 - 2 * g)) / h + s.Grain());
        break;
    case EFFECT_VSHADE:
        for (int x = 0; x < w; ++x)
            for (int r = 0; r < h; ++r)
                s.At(x, r) = (BYTE)(g + ((LONGLONG)(w - x) * (255 - 2 * g)) / w + s.Grain());
        break;
    case EFFECT_HBUMP:
        for (int r = 0; r < h; ++r)
            for (int x = 0; x < w; ++x)
                s.At(x, r) = (BYTE)(128 + (Cube(s.YRamp(r)) * (128 - g)) / 128 + s.Grain());
        break;
    case EFFECT_VBUMP:
        for (int x = 0; x < w; ++x)
            for (int r = 0; r < h; ++r)
                s.At(x, r) = (BYTE)(128 + (Cube(s.XRamp(x)) * (128 - g)) / 128 + s.Grain());
        break;
    case EFFECT_SOFTBUMP:
        for (int r = 0; r < h; ++r)
            for (int x = 0; x < w; ++x) {
                int v = 128 + ((Cube(s.XRamp(x)) + Cube(s.YRamp(r))) * (128 - g)) / 128;
                if (v < g)
                    v = g;
                if (v > 255 - g)
                    v = 255 - g;
                s.At(x, r) = (BYTE)(v + s.Grain());
            }
        break;
    case EFFECT_HARDBUMP: HardBump(s); break;
    case EFFECT_METAL: Metal(s); break;
    default: break;
    }
}
