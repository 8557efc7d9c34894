// A memory DC on a 32-bit DIB section whose pixels sit between guard bytes, so
// the mark-up tests can read pixels back and catch any write past the bitmap.
#pragma once

#include "afx.h"

#include <string.h>

#include <string>

class CMarkupCanvas
{
public:
    // Guard bytes on each side of the pixels; a DWORD multiple, as the section offset must be.
    static const DWORD kGuard = 4096;
    static const BYTE kGuardByte = 0xA5;

    CMarkupCanvas(int cx, int cy, COLORREF crFill = RGB(255, 255, 255)) : m_cx(cx), m_cy(cy)
    {
        m_cbPixels = static_cast<DWORD>(cx) * static_cast<DWORD>(cy) * 4;
        const DWORD cbTotal = m_cbPixels + 2 * kGuard;
        m_hSection = CreateFileMappingW(INVALID_HANDLE_VALUE, NULL, PAGE_READWRITE, 0, cbTotal, NULL);
        if (m_hSection != NULL)
            m_pView = static_cast<BYTE*>(MapViewOfFile(m_hSection, FILE_MAP_ALL_ACCESS, 0, 0, cbTotal));
        if (m_pView != NULL)
            memset(m_pView, kGuardByte, cbTotal);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
        bi.bmiHeader.biWidth = cx;
        bi.bmiHeader.biHeight = -cy;  // top-down: row 0 is the top
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* pBits = NULL;
        m_hScreen = ::GetDC(NULL);
        m_hDC = CreateCompatibleDC(m_hScreen);
        m_hBitmap = CreateDIBSection(m_hDC, &bi, DIB_RGB_COLORS, &pBits, m_hSection, kGuard);
        m_pBits = static_cast<DWORD*>(pBits);
        if (m_hBitmap != NULL)
            m_hOldBitmap = SelectObject(m_hDC, m_hBitmap);
        Fill(crFill);
    }

    ~CMarkupCanvas()
    {
        if (m_hOldBitmap != NULL)
            SelectObject(m_hDC, m_hOldBitmap);
        if (m_hBitmap != NULL)
            DeleteObject(m_hBitmap);
        if (m_hDC != NULL)
            DeleteDC(m_hDC);
        if (m_hScreen != NULL)
            ReleaseDC(NULL, m_hScreen);
        if (m_pView != NULL)
            UnmapViewOfFile(m_pView);
        if (m_hSection != NULL)
            CloseHandle(m_hSection);
    }

    CMarkupCanvas(const CMarkupCanvas&) = delete;
    CMarkupCanvas& operator=(const CMarkupCanvas&) = delete;

    bool IsValid() const { return m_pBits != NULL && m_hOldBitmap != NULL; }
    HDC GetDC() const { return m_hDC; }
    int Width() const { return m_cx; }
    int Height() const { return m_cy; }

    void Fill(COLORREF cr)
    {
        if (m_pBits == NULL)
            return;
        GdiFlush();
        const DWORD px = ToPixel(cr);
        for (int i = 0; i < m_cx * m_cy; ++i)
            m_pBits[i] = px;
    }

    // The pixel as a COLORREF (0x00BBGGRR); CLR_INVALID outside the bitmap.
    COLORREF Pixel(int x, int y) const
    {
        if (m_pBits == NULL || x < 0 || y < 0 || x >= m_cx || y >= m_cy)
            return CLR_INVALID;
        GdiFlush();
        const DWORD px = m_pBits[y * m_cx + x];
        return RGB((px >> 16) & 0xFF, (px >> 8) & 0xFF, px & 0xFF);
    }

    // True when some pixel of the rectangle differs from cr.
    bool AnyOtherThan(COLORREF cr, int left, int top, int right, int bottom) const
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (Pixel(x, y) != CLR_INVALID && Pixel(x, y) != cr)
                    return true;
        return false;
    }

    // The bounding box of the pixels that differ from cr; empty when none do.
    RECT InkBox(COLORREF cr) const
    {
        RECT rc = { m_cx, m_cy, 0, 0 };
        for (int y = 0; y < m_cy; ++y)
            for (int x = 0; x < m_cx; ++x)
                if (Pixel(x, y) != cr) {
                    if (x < rc.left)
                        rc.left = x;
                    if (y < rc.top)
                        rc.top = y;
                    if (x + 1 > rc.right)
                        rc.right = x + 1;
                    if (y + 1 > rc.bottom)
                        rc.bottom = y + 1;
                }
        if (rc.right <= rc.left)
            SetRectEmpty(&rc);
        return rc;
    }

    // Every guard byte still holds its pattern.
    bool GuardsIntact() const
    {
        if (m_pView == NULL)
            return false;
        GdiFlush();
        const BYTE* pAfter = m_pView + kGuard + m_cbPixels;
        for (DWORD i = 0; i < kGuard; ++i)
            if (m_pView[i] != kGuardByte || pAfter[i] != kGuardByte)
                return false;
        return true;
    }

    // Width of a text in the font now selected into the DC.
    int TextWidth(const std::wstring& s) const
    {
        SIZE size = { 0, 0 };
        GetTextExtentPoint32W(m_hDC, s.c_str(), static_cast<int>(s.size()), &size);
        return size.cx;
    }

private:
    static DWORD ToPixel(COLORREF cr) { return (GetRValue(cr) << 16) | (GetGValue(cr) << 8) | GetBValue(cr); }

    int m_cx;
    int m_cy;
    DWORD m_cbPixels = 0;
    HANDLE m_hSection = NULL;
    BYTE* m_pView = NULL;
    HDC m_hScreen = NULL;
    HDC m_hDC = NULL;
    HBITMAP m_hBitmap = NULL;
    HGDIOBJ m_hOldBitmap = NULL;
    DWORD* m_pBits = NULL;
};

// Selects a font built like the drawer's (height in pixels, weight, face) for
// measuring expected widths on the same DC; puts the old font back when it goes.
class CMeasureFont
{
public:
    CMeasureFont(HDC hDC, int nHeight, int nWeight = FW_NORMAL, LPCWSTR pszFace = L"Verdana", BOOL bItalic = FALSE)
        : m_hDC(hDC)
    {
        LOGFONTW lf = {};
        lf.lfHeight = nHeight;
        lf.lfWeight = nWeight;
        lf.lfItalic = static_cast<BYTE>(bItalic);
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpynW(lf.lfFaceName, pszFace, LF_FACESIZE);
        m_hFont = CreateFontIndirectW(&lf);
        m_hOld = SelectObject(hDC, m_hFont);
    }
    // The font a drawer last built (its m_lf).
    CMeasureFont(HDC hDC, const LOGFONTW& lf) : m_hDC(hDC)
    {
        m_hFont = CreateFontIndirectW(&lf);
        m_hOld = SelectObject(hDC, m_hFont);
    }
    ~CMeasureFont()
    {
        SelectObject(m_hDC, m_hOld);
        DeleteObject(m_hFont);
    }
    CMeasureFont(const CMeasureFont&) = delete;
    CMeasureFont& operator=(const CMeasureFont&) = delete;

    int Width(const std::wstring& s) const
    {
        SIZE size = { 0, 0 };
        GetTextExtentPoint32W(m_hDC, s.c_str(), static_cast<int>(s.size()), &size);
        return size.cx;
    }
    TEXTMETRICW Metrics() const
    {
        TEXTMETRICW tm = {};
        GetTextMetricsW(m_hDC, &tm);
        return tm;
    }

private:
    HDC m_hDC;
    HFONT m_hFont;
    HGDIOBJ m_hOld;
};
