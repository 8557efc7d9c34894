// GDI wrappers: owning objects (pens, brushes, fonts, bitmaps, regions) and
// device contexts. Owning wrappers cannot be copied; FromHandle gives a
// per-thread wrapper that never deletes the handle.
#pragma once

#include "afx.h"
#include "AfxTypes.h"
#include "AfxTempMap.h"

class CWnd;

class CGdiObject : public CObject
{
public:
    CGdiObject() : m_hObject(NULL) {}
    virtual ~CGdiObject() { DeleteObject(); }
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject;

    // Callable on a null pointer, as handle getters traditionally are.
    HGDIOBJ GetSafeHandle() const
    {
        const CGdiObject* volatile p = this;
        return p ? p->m_hObject : NULL;
    }
    operator HGDIOBJ() const { return m_hObject; }

    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    // Deletes the owned handle; FALSE when there was none.
    BOOL DeleteObject();
    int GetObject(int nCount, LPVOID lpObject) const { return ::GetObjectW(m_hObject, nCount, lpObject); }
    BOOL CreateStockObject(int nIndex);

    static CGdiObject* FromHandle(HGDIOBJ hObject);
    static void AfxReleaseTemp(CGdiObject* p) { p->m_hObject = NULL; }
};

class CPen : public CGdiObject
{
public:
    CPen() {}
    CPen(int nPenStyle, int nWidth, COLORREF crColor) { CreatePen(nPenStyle, nWidth, crColor); }
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor)
    {
        return Attach(::CreatePen(nPenStyle, nWidth, crColor));
    }
    BOOL CreatePenIndirect(LPLOGPEN lpLogPen) { return Attach(::CreatePenIndirect(lpLogPen)); }
    operator HPEN() const { return (HPEN)m_hObject; }
    static CPen* FromHandle(HPEN hPen);
};

class CBitmap;

class CBrush : public CGdiObject
{
public:
    CBrush() {}
    explicit CBrush(COLORREF crColor) { CreateSolidBrush(crColor); }
    BOOL CreateSolidBrush(COLORREF crColor) { return Attach(::CreateSolidBrush(crColor)); }
    BOOL CreateHatchBrush(int nIndex, COLORREF crColor) { return Attach(::CreateHatchBrush(nIndex, crColor)); }
    BOOL CreatePatternBrush(CBitmap* pBitmap);
    BOOL CreateSysColorBrush(int nIndex) { return Attach(::CreateSolidBrush(::GetSysColor(nIndex))); }
    operator HBRUSH() const { return (HBRUSH)m_hObject; }
    static CBrush* FromHandle(HBRUSH hBrush);
};

class CFont : public CGdiObject
{
public:
    BOOL CreateFontIndirect(const LOGFONTW* lpLogFont) { return Attach(::CreateFontIndirectW(lpLogFont)); }
    BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                    BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                    BYTE nQuality, BYTE nPitchAndFamily, LPCWSTR lpszFacename)
    {
        return Attach(::CreateFontW(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                                    cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily,
                                    lpszFacename));
    }
    // nPointSize in tenths of a point, for the screen (or pDC).
    BOOL CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, class CDC* pDC = NULL);
    int GetLogFont(LOGFONTW* pLogFont) const { return ::GetObjectW(m_hObject, sizeof(LOGFONTW), pLogFont); }
    operator HFONT() const { return (HFONT)m_hObject; }
    static CFont* FromHandle(HFONT hFont);
};

class CDC;

class CBitmap : public CGdiObject
{
public:
    BOOL LoadBitmap(UINT nIDResource);
    BOOL LoadBitmap(LPCWSTR lpszResourceName);
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits)
    {
        return Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
    }
    BOOL CreateBitmapIndirect(LPBITMAP lpBitmap) { return Attach(::CreateBitmapIndirect(lpBitmap)); }
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    int GetBitmap(BITMAP* pBitMap) const { return ::GetObjectW(m_hObject, sizeof(BITMAP), pBitMap); }
    CSize GetBitmapDimension() const;  // width and height in pixels
    operator HBITMAP() const { return (HBITMAP)m_hObject; }
    static CBitmap* FromHandle(HBITMAP hBitmap);
};

class CRgn : public CGdiObject
{
public:
    BOOL CreateRectRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateRectRgn(x1, y1, x2, y2)); }
    BOOL CreateRectRgnIndirect(LPCRECT lpRect) { return Attach(::CreateRectRgnIndirect(lpRect)); }
    BOOL CreateEllipticRgn(int x1, int y1, int x2, int y2) { return Attach(::CreateEllipticRgn(x1, y1, x2, y2)); }
    BOOL CreateRoundRectRgn(int x1, int y1, int x2, int y2, int x3, int y3)
    {
        return Attach(::CreateRoundRectRgn(x1, y1, x2, y2, x3, y3));
    }
    BOOL CreatePolygonRgn(const POINT* lpPoints, int nCount, int nMode)
    {
        return Attach(::CreatePolygonRgn(lpPoints, nCount, nMode));
    }
    int CombineRgn(const CRgn* pRgn1, const CRgn* pRgn2, int nCombineMode)
    {
        return ::CombineRgn((HRGN)m_hObject, (HRGN)pRgn1->m_hObject, pRgn2 ? (HRGN)pRgn2->m_hObject : NULL,
                            nCombineMode);
    }
    int CopyRgn(const CRgn* pRgnSrc) { return ::CombineRgn((HRGN)m_hObject, (HRGN)pRgnSrc->m_hObject, NULL, RGN_COPY); }
    void SetRectRgn(int x1, int y1, int x2, int y2) { ::SetRectRgn((HRGN)m_hObject, x1, y1, x2, y2); }
    BOOL PtInRegion(int x, int y) const { return ::PtInRegion((HRGN)m_hObject, x, y); }
    int OffsetRgn(int x, int y) { return ::OffsetRgn((HRGN)m_hObject, x, y); }
    int GetRgnBox(LPRECT lpRect) const { return ::GetRgnBox((HRGN)m_hObject, lpRect); }
    operator HRGN() const { return (HRGN)m_hObject; }
    static CRgn* FromHandle(HRGN hRgn);
};

// A device context. The plain CDC owns a DC made by CreateCompatibleDC (or
// attached) and deletes it; the paint, client and window DCs release theirs.
class CDC : public CObject
{
public:
    CDC() : m_hDC(NULL) {}
    virtual ~CDC();
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC m_hDC;

    HDC GetSafeHdc() const
    {
        const CDC* volatile p = this;
        return p ? p->m_hDC : NULL;
    }
    operator HDC() const { return m_hDC; }

    BOOL Attach(HDC hDC);
    HDC Detach();
    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();
    static CDC* FromHandle(HDC hDC);
    static void AfxReleaseTemp(CDC* p) { p->m_hDC = NULL; }

    int SaveDC() { return ::SaveDC(m_hDC); }
    BOOL RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
    int GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }

    // Selection: each returns a wrapper of the previously selected object.
    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CFont* SelectObject(CFont* pFont);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectObject(CGdiObject* pObject);
    int SelectObject(CRgn* pRgn);
    HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
    CGdiObject* SelectStockObject(int nIndex);
    int SelectClipRgn(CRgn* pRgn) { return ::SelectClipRgn(m_hDC, pRgn ? (HRGN)pRgn->m_hObject : NULL); }
    int IntersectClipRect(int x1, int y1, int x2, int y2) { return ::IntersectClipRect(m_hDC, x1, y1, x2, y2); }
    int IntersectClipRect(LPCRECT lpRect)
    {
        return IntersectClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    int ExcludeClipRect(int x1, int y1, int x2, int y2) { return ::ExcludeClipRect(m_hDC, x1, y1, x2, y2); }
    int ExcludeClipRect(LPCRECT lpRect)
    {
        return ExcludeClipRect(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom);
    }
    int GetClipBox(LPRECT lpRect) const { return ::GetClipBox(m_hDC, lpRect); }
    CBitmap* GetCurrentBitmap() const { return CBitmap::FromHandle((HBITMAP)::GetCurrentObject(m_hDC, OBJ_BITMAP)); }
    CFont* GetCurrentFont() const { return CFont::FromHandle((HFONT)::GetCurrentObject(m_hDC, OBJ_FONT)); }

    // Modes and colours.
    int SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
    int GetBkMode() const { return ::GetBkMode(m_hDC); }
    COLORREF SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
    COLORREF GetTextColor() const { return ::GetTextColor(m_hDC); }
    COLORREF SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
    COLORREF GetBkColor() const { return ::GetBkColor(m_hDC); }
    int SetStretchBltMode(int nMode) { return ::SetStretchBltMode(m_hDC, nMode); }
    UINT SetTextAlign(UINT nFlags) { return ::SetTextAlign(m_hDC, nFlags); }
    int SetROP2(int nDrawMode) { return ::SetROP2(m_hDC, nDrawMode); }
    int SetMapMode(int nMapMode) { return ::SetMapMode(m_hDC, nMapMode); }
    CPoint SetViewportOrg(int x, int y)
    {
        POINT pt;
        ::SetViewportOrgEx(m_hDC, x, y, &pt);
        return pt;
    }
    CPoint SetBrushOrg(int x, int y)
    {
        POINT pt;
        ::SetBrushOrgEx(m_hDC, x, y, &pt);
        return pt;
    }

    // Blocks of pixels.
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop)
    {
        return ::BitBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : NULL, xSrc, ySrc, dwRop);
    }
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, int nSrcWidth,
                    int nSrcHeight, DWORD dwRop)
    {
        return ::StretchBlt(m_hDC, x, y, nWidth, nHeight, pSrcDC ? pSrcDC->m_hDC : NULL, xSrc, ySrc, nSrcWidth,
                            nSrcHeight, dwRop);
    }
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop)
    {
        return ::PatBlt(m_hDC, x, y, nWidth, nHeight, dwRop);
    }
    COLORREF SetPixel(int x, int y, COLORREF crColor) { return ::SetPixel(m_hDC, x, y, crColor); }
    COLORREF SetPixel(POINT pt, COLORREF crColor) { return ::SetPixel(m_hDC, pt.x, pt.y, crColor); }
    COLORREF GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
    COLORREF GetPixel(POINT pt) const { return ::GetPixel(m_hDC, pt.x, pt.y); }

    // Rectangles and shapes.
    void FillRect(LPCRECT lpRect, CBrush* pBrush)
    {
        ::FillRect(m_hDC, lpRect, pBrush ? (HBRUSH)pBrush->m_hObject : NULL);
    }
    void FillRect(LPCRECT lpRect, HBRUSH hBrush) { ::FillRect(m_hDC, lpRect, hBrush); }
    // Fills with a colour; the background colour of the DC is left as it was.
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    void FrameRect(LPCRECT lpRect, CBrush* pBrush)
    {
        ::FrameRect(m_hDC, lpRect, pBrush ? (HBRUSH)pBrush->m_hObject : NULL);
    }
    void FrameRect(LPCRECT lpRect, HBRUSH hBrush) { ::FrameRect(m_hDC, lpRect, hBrush); }
    void InvertRect(LPCRECT lpRect) { ::InvertRect(m_hDC, lpRect); }
    // One-pixel frame: top and left edges in clrTopLeft, right and bottom in
    // clrBottomRight (the top-right and bottom-left corners belong to the latter).
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void DrawFocusRect(LPCRECT lpRect) { ::DrawFocusRect(m_hDC, lpRect); }
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags) { return ::DrawEdge(m_hDC, lpRect, nEdge, nFlags); }
    BOOL Rectangle(int x1, int y1, int x2, int y2) { return ::Rectangle(m_hDC, x1, y1, x2, y2); }
    BOOL Rectangle(LPCRECT lpRect) { return Rectangle(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    BOOL RoundRect(int x1, int y1, int x2, int y2, int x3, int y3)
    {
        return ::RoundRect(m_hDC, x1, y1, x2, y2, x3, y3);
    }
    BOOL Ellipse(int x1, int y1, int x2, int y2) { return ::Ellipse(m_hDC, x1, y1, x2, y2); }
    BOOL Ellipse(LPCRECT lpRect) { return Ellipse(lpRect->left, lpRect->top, lpRect->right, lpRect->bottom); }
    BOOL Polygon(const POINT* lpPoints, int nCount) { return ::Polygon(m_hDC, lpPoints, nCount); }
    BOOL Polyline(const POINT* lpPoints, int nCount) { return ::Polyline(m_hDC, lpPoints, nCount); }
    BOOL FillRgn(CRgn* pRgn, CBrush* pBrush)
    {
        return ::FillRgn(m_hDC, (HRGN)pRgn->m_hObject, (HBRUSH)pBrush->m_hObject);
    }
    BOOL FrameRgn(CRgn* pRgn, CBrush* pBrush, int nWidth, int nHeight)
    {
        return ::FrameRgn(m_hDC, (HRGN)pRgn->m_hObject, (HBRUSH)pBrush->m_hObject, nWidth, nHeight);
    }
    CPoint MoveTo(int x, int y)
    {
        POINT pt = { 0, 0 };
        ::MoveToEx(m_hDC, x, y, &pt);
        return pt;
    }
    CPoint MoveTo(POINT point) { return MoveTo(point.x, point.y); }
    BOOL LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
    BOOL LineTo(POINT point) { return LineTo(point.x, point.y); }

    // Text.
    BOOL TextOut(int x, int y, LPCWSTR lpszString, int nCount) { return ::TextOutW(m_hDC, x, y, lpszString, nCount); }
    BOOL TextOut(int x, int y, const CString& str) { return TextOut(x, y, str, str.GetLength()); }
    BOOL ExtTextOut(int x, int y, UINT nOptions, LPCRECT lpRect, LPCWSTR lpszString, UINT nCount, LPINT lpDxWidths)
    {
        return ::ExtTextOutW(m_hDC, x, y, nOptions, lpRect, lpszString, nCount, lpDxWidths);
    }
    int DrawText(LPCWSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat)
    {
        return ::DrawTextW(m_hDC, lpszString, nCount, lpRect, nFormat);
    }
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat)
    {
        return DrawText(str, str.GetLength(), lpRect, nFormat);
    }
    CSize GetTextExtent(LPCWSTR lpszString, int nCount) const;
    CSize GetTextExtent(const CString& str) const { return GetTextExtent(str, str.GetLength()); }
    BOOL GetTextMetrics(LPTEXTMETRICW lpMetrics) const { return ::GetTextMetricsW(m_hDC, lpMetrics); }

    // Images.
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
    BOOL DrawIcon(POINT point, HICON hIcon) { return ::DrawIcon(m_hDC, point.x, point.y, hIcon); }
    BOOL DrawIconEx(int x, int y, HICON hIcon, int cx, int cy, UINT nFlags = DI_NORMAL)
    {
        return ::DrawIconEx(m_hDC, x, y, hIcon, cx, cy, 0, NULL, nFlags);
    }
    BOOL DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush = NULL);
    BOOL DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush = NULL);
    BOOL DrawState(CPoint pt, CSize size, CBitmap* pBitmap, UINT nFlags, HBRUSH hBrush = NULL)
    {
        return DrawState(pt, size, pBitmap ? (HBITMAP)pBitmap->m_hObject : (HBITMAP)NULL, nFlags, hBrush);
    }
    BOOL DrawState(CPoint pt, CSize size, LPCWSTR lpszText, UINT nFlags, BOOL bPrefixText = TRUE, int nTextLen = 0,
                   HBRUSH hBrush = NULL);
};

// BeginPaint / EndPaint around a window's WM_PAINT.
class CPaintDC : public CDC
{
public:
    explicit CPaintDC(CWnd* pWnd);
    virtual ~CPaintDC();
    HWND m_hWnd;
    PAINTSTRUCT m_ps;
};

class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* pWnd);  // NULL: the whole screen
    virtual ~CClientDC();
    HWND m_hWnd;
};

class CWindowDC : public CDC
{
public:
    explicit CWindowDC(CWnd* pWnd);  // NULL: the whole screen
    virtual ~CWindowDC();
    HWND m_hWnd;
};

// Selects an object into a DC and puts the previous one back when it goes.
class CSelectGuard
{
public:
    CSelectGuard(HDC hDC, HGDIOBJ hObject) : m_hDC(hDC), m_hOld(hObject ? ::SelectObject(hDC, hObject) : NULL) {}
    CSelectGuard(CDC& dc, const CGdiObject& obj) : CSelectGuard(dc.m_hDC, obj.m_hObject) {}
    CSelectGuard(CDC& dc, HGDIOBJ hObject) : CSelectGuard(dc.m_hDC, hObject) {}
    ~CSelectGuard() { Restore(); }
    CSelectGuard(const CSelectGuard&) = delete;
    CSelectGuard& operator=(const CSelectGuard&) = delete;
    void Restore()
    {
        if (m_hOld != NULL && m_hOld != HGDI_ERROR)
            ::SelectObject(m_hDC, m_hOld);
        m_hOld = NULL;
    }
    HGDIOBJ GetOld() const { return m_hOld; }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// A 32-bit DIB section whose pixels are read and written in memory, each as
// 0xAARRGGBB (blue in the lowest byte, so a COLORREF has red and blue swapped).
// Top-down unless made bottom-up; GetRow and GetPixel count rows from the top
// either way. After GDI drew into it, call ::GdiFlush before reading pixels.
class CDibSection
{
public:
    CDibSection()
        : m_hBitmap(NULL), m_pBits(NULL), m_nWidth(0), m_nHeight(0), m_bTopDown(TRUE), m_hDC(NULL), m_hOldBitmap(NULL)
    {}
    ~CDibSection() { Destroy(); }
    CDibSection(const CDibSection&) = delete;
    CDibSection& operator=(const CDibSection&) = delete;

    // Replaces the section by a new one, all pixels 0. FALSE (and empty) for a
    // width or height below 1 or a pixel block that would not fit in 31 bits.
    BOOL Create(int nWidth, int nHeight, BOOL bTopDown = TRUE);
    void Destroy();
    // Gives the bitmap to the caller (its memory DC, if any, is deleted first).
    HBITMAP Detach();

    HBITMAP GetSafeHandle() const
    {
        const CDibSection* volatile p = this;
        return p ? p->m_hBitmap : NULL;
    }
    operator HBITMAP() const { return m_hBitmap; }
    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    BOOL IsTopDown() const { return m_bTopDown; }
    // The pixel block as stored: the top row first when top-down, else the bottom row.
    DWORD* GetBits() const { return m_pBits; }
    DWORD* GetRow(int y) const { return m_pBits + (size_t)(m_bTopDown ? y : m_nHeight - 1 - y) * m_nWidth; }
    DWORD GetPixel(int x, int y) const { return GetRow(y)[x]; }
    void SetPixel(int x, int y, DWORD dwPixel) { GetRow(y)[x] = dwPixel; }
    void Fill(DWORD dwPixel);

    // A memory DC (compatible with the screen) with the section selected,
    // made on first use and kept until Destroy or Detach; NULL when empty.
    HDC GetDC();
    // Copies the DC's pixels at (xSrc, ySrc) over the whole section, or the
    // whole section to the DC at (xDest, yDest).
    BOOL CopyFrom(HDC hSrc, int xSrc, int ySrc);
    BOOL CopyTo(HDC hDest, int xDest, int yDest);
    // Takes the section out of its memory DC and deletes the DC, so that the
    // bitmap can be selected elsewhere; GetDC makes a new one when needed.
    void ReleaseDC();

    static DWORD PixelFromColor(COLORREF clr) { return ((clr & 0xFF) << 16) | (clr & 0xFF00) | ((clr >> 16) & 0xFF); }
    static COLORREF ColorFromPixel(DWORD dwPixel) { return PixelFromColor(dwPixel & 0xFFFFFF); }

private:
    HBITMAP m_hBitmap;
    DWORD* m_pBits;
    int m_nWidth;
    int m_nHeight;
    BOOL m_bTopDown;
    HDC m_hDC;
    HGDIOBJ m_hOldBitmap;
};

// What GetIconInfo tells of an icon; owns the bitmaps it hands out, which
// every caller must delete.
class CIconInfo : public ICONINFO
{
public:
    CIconInfo() : ICONINFO() {}
    explicit CIconInfo(HICON hIcon) : ICONINFO() { Read(hIcon); }
    ~CIconInfo() { Free(); }
    CIconInfo(const CIconInfo&) = delete;
    CIconInfo& operator=(const CIconInfo&) = delete;

    // FALSE, with no bitmaps, when the icon cannot be read.
    BOOL Read(HICON hIcon);
    void Free();
    BOOL IsValid() const { return hbmMask != NULL; }
    // A monochrome icon has no colour bitmap: its mask is twice as high, the
    // AND mask above the XOR picture.
    BOOL IsMonochrome() const { return hbmMask != NULL && hbmColor == NULL; }
};

// An owned icon handle, destroyed when the wrapper goes.
class CIconHandle
{
public:
    explicit CIconHandle(HICON hIcon = NULL) : m_hIcon(hIcon) {}
    ~CIconHandle() { Destroy(); }
    CIconHandle(const CIconHandle&) = delete;
    CIconHandle& operator=(const CIconHandle&) = delete;

    void Attach(HICON hIcon)
    {
        Destroy();
        m_hIcon = hIcon;
    }
    HICON Detach()
    {
        HICON h = m_hIcon;
        m_hIcon = NULL;
        return h;
    }
    void Destroy()
    {
        if (m_hIcon != NULL)
            ::DestroyIcon(m_hIcon);
        m_hIcon = NULL;
    }
    operator HICON() const { return m_hIcon; }

private:
    HICON m_hIcon;
};
