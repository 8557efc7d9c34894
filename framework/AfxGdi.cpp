// GDI wrappers and device contexts.
#include "afxwin.h"

CDC* AfxDCFromHandle(HDC hDC)
{
    return CDC::FromHandle(hDC);
}

namespace {
template <class T, class H>
T* TempGdi(H h)
{
    return CAfxTempMap<T, HGDIOBJ>::Lookup((HGDIOBJ)h, [](T* p, HGDIOBJ hObj) { p->m_hObject = hObj; });
}
}  // namespace

// --- objects -------------------------------------------------------------------

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (hObject == NULL)
        return FALSE;
    DeleteObject();
    m_hObject = hObject;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    m_hObject = NULL;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == NULL)
        return FALSE;
    HGDIOBJ h = Detach();
    return ::DeleteObject(h);
}

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    // Stock objects are not owned: DeleteObject on them does nothing.
    return Attach(::GetStockObject(nIndex));
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ hObject)
{
    return TempGdi<CGdiObject>(hObject);
}
CPen* CPen::FromHandle(HPEN hPen)
{
    return TempGdi<CPen>(hPen);
}
CBrush* CBrush::FromHandle(HBRUSH hBrush)
{
    return TempGdi<CBrush>(hBrush);
}
CFont* CFont::FromHandle(HFONT hFont)
{
    return TempGdi<CFont>(hFont);
}
CBitmap* CBitmap::FromHandle(HBITMAP hBitmap)
{
    return TempGdi<CBitmap>(hBitmap);
}
CRgn* CRgn::FromHandle(HRGN hRgn)
{
    return TempGdi<CRgn>(hRgn);
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    return pBitmap ? Attach(::CreatePatternBrush((HBITMAP)pBitmap->m_hObject)) : FALSE;
}

BOOL CFont::CreatePointFont(int nPointSize, LPCWSTR lpszFaceName, CDC* pDC)
{
    LOGFONTW lf = {};
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpynW(lf.lfFaceName, lpszFaceName ? lpszFaceName : L"", LF_FACESIZE);
    HDC hDC = pDC ? pDC->m_hDC : ::GetDC(NULL);
    lf.lfHeight = -MulDiv(nPointSize, ::GetDeviceCaps(hDC, LOGPIXELSY), 720);
    if (pDC == NULL)
        ::ReleaseDC(NULL, hDC);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    return LoadBitmap(MAKEINTRESOURCEW(nIDResource));
}

BOOL CBitmap::LoadBitmap(LPCWSTR lpszResourceName)
{
    HBITMAP h = ::LoadBitmapW(AfxGetResourceHandle(), lpszResourceName);
    if (h == NULL)
        h = ::LoadBitmapW(AfxGetInstanceHandle(), lpszResourceName);
    return Attach(h);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    HDC hDC = pDC ? pDC->m_hDC : NULL;
    if (hDC == NULL) {
        HDC hScreen = ::GetDC(NULL);
        BOOL ok = Attach(::CreateCompatibleBitmap(hScreen, nWidth, nHeight));
        ::ReleaseDC(NULL, hScreen);
        return ok;
    }
    return Attach(::CreateCompatibleBitmap(hDC, nWidth, nHeight));
}

CSize CBitmap::GetBitmapDimension() const
{
    BITMAP bm = {};
    if (m_hObject == NULL || !::GetObjectW(m_hObject, sizeof(bm), &bm))
        return CSize(0, 0);
    return CSize(bm.bmWidth, bm.bmHeight);
}

// --- device contexts ---------------------------------------------------------------

CDC::~CDC()
{
    if (m_hDC != NULL)
        ::DeleteDC(Detach());
}

CDC* CDC::FromHandle(HDC hDC)
{
    return CAfxTempMap<CDC, HDC>::Lookup(hDC, [](CDC* p, HDC h) { p->m_hDC = h; });
}

BOOL CDC::Attach(HDC hDC)
{
    if (hDC == NULL || m_hDC != NULL)
        return FALSE;
    m_hDC = hDC;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC h = m_hDC;
    m_hDC = NULL;
    return h;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : NULL));
}

BOOL CDC::DeleteDC()
{
    if (m_hDC == NULL)
        return FALSE;
    return ::DeleteDC(Detach());
}

CPen* CDC::SelectObject(CPen* pPen)
{
    return CPen::FromHandle((HPEN)::SelectObject(m_hDC, pPen ? pPen->m_hObject : NULL));
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    return CBrush::FromHandle((HBRUSH)::SelectObject(m_hDC, pBrush ? pBrush->m_hObject : NULL));
}

CFont* CDC::SelectObject(CFont* pFont)
{
    return CFont::FromHandle((HFONT)::SelectObject(m_hDC, pFont ? pFont->m_hObject : NULL));
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    return CBitmap::FromHandle((HBITMAP)::SelectObject(m_hDC, pBitmap ? pBitmap->m_hObject : NULL));
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    return CGdiObject::FromHandle(::SelectObject(m_hDC, pObject ? pObject->m_hObject : NULL));
}

int CDC::SelectObject(CRgn* pRgn)
{
    return (int)(INT_PTR)::SelectObject(m_hDC, pRgn ? pRgn->m_hObject : NULL);
}

CGdiObject* CDC::SelectStockObject(int nIndex)
{
    HGDIOBJ hObj = ::GetStockObject(nIndex);
    return hObj ? CGdiObject::FromHandle(::SelectObject(m_hDC, hObj)) : NULL;
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    COLORREF old = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutW(m_hDC, 0, 0, ETO_OPAQUE, lpRect, NULL, 0, NULL);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF clr)
{
    // Negative extents reach left or up from (x, y).
    RECT rc = { x, y, x + cx, y + cy };
    if (rc.left > rc.right) {
        LONG t = rc.left;
        rc.left = rc.right;
        rc.right = t;
    }
    if (rc.top > rc.bottom) {
        LONG t = rc.top;
        rc.top = rc.bottom;
        rc.bottom = t;
    }
    FillSolidRect(&rc, clr);
}

void CDC::Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    Draw3dRect(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top, clrTopLeft,
               clrBottomRight);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, clrTopLeft);           // top, without the right corner
    FillSolidRect(x, y, 1, cy - 1, clrTopLeft);           // left, without the bottom corner
    FillSolidRect(x + cx - 1, y, 1, cy, clrBottomRight);  // right
    FillSolidRect(x, y + cy - 1, cx, 1, clrBottomRight);  // bottom
}

CSize CDC::GetTextExtent(LPCWSTR lpszString, int nCount) const
{
    SIZE size = { 0, 0 };
    ::GetTextExtentPoint32W(m_hDC, lpszString, nCount, &size);
    return size;
}

BOOL CDC::DrawState(CPoint pt, CSize size, HICON hIcon, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawStateW(m_hDC, hBrush, NULL, (LPARAM)hIcon, 0, pt.x, pt.y, size.cx, size.cy, nFlags | DST_ICON);
}

BOOL CDC::DrawState(CPoint pt, CSize size, HBITMAP hBitmap, UINT nFlags, HBRUSH hBrush)
{
    return ::DrawStateW(m_hDC, hBrush, NULL, (LPARAM)hBitmap, 0, pt.x, pt.y, size.cx, size.cy, nFlags | DST_BITMAP);
}

BOOL CDC::DrawState(CPoint pt, CSize size, LPCWSTR lpszText, UINT nFlags, BOOL bPrefixText, int nTextLen, HBRUSH hBrush)
{
    return ::DrawStateW(m_hDC, hBrush, NULL, (LPARAM)lpszText, (WPARAM)nTextLen, pt.x, pt.y, size.cx, size.cy,
                        nFlags | (bPrefixText ? DST_PREFIXTEXT : DST_TEXT));
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    m_ps = PAINTSTRUCT();
    Attach(::BeginPaint(m_hWnd, &m_ps));
}

CPaintDC::~CPaintDC()
{
    Detach();
    ::EndPaint(m_hWnd, &m_ps);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC()
{
    HDC h = Detach();
    if (h != NULL)
        ::ReleaseDC(m_hWnd, h);
}

CWindowDC::CWindowDC(CWnd* pWnd) : m_hWnd(pWnd->GetSafeHwnd())
{
    Attach(::GetWindowDC(m_hWnd));
}

CWindowDC::~CWindowDC()
{
    HDC h = Detach();
    if (h != NULL)
        ::ReleaseDC(m_hWnd, h);
}

// --- DIB sections and icons ------------------------------------------------------------

BOOL CDibSection::Create(int nWidth, int nHeight, BOOL bTopDown)
{
    Destroy();
    if (nWidth < 1 || nHeight < 1 || (LONGLONG)nWidth * nHeight > 0x7FFFFFFF / 4)
        return FALSE;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = nWidth;
    bi.bmiHeader.biHeight = bTopDown ? -nHeight : nHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* pBits = NULL;
    HBITMAP h = ::CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &pBits, NULL, 0);
    if (h == NULL || pBits == NULL) {
        if (h != NULL)
            ::DeleteObject(h);
        return FALSE;
    }
    m_hBitmap = h;
    m_pBits = static_cast<DWORD*>(pBits);
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    m_bTopDown = bTopDown;
    memset(m_pBits, 0, (size_t)nWidth * nHeight * 4);
    return TRUE;
}

void CDibSection::ReleaseDC()
{
    if (m_hDC == NULL)
        return;
    // The section goes back out of the DC before either is deleted.
    ::SelectObject(m_hDC, m_hOldBitmap);
    ::DeleteDC(m_hDC);
    m_hDC = NULL;
    m_hOldBitmap = NULL;
}

void CDibSection::Destroy()
{
    ReleaseDC();
    if (m_hBitmap != NULL)
        ::DeleteObject(m_hBitmap);
    m_hBitmap = NULL;
    m_pBits = NULL;
    m_nWidth = m_nHeight = 0;
    m_bTopDown = TRUE;
}

HBITMAP CDibSection::Detach()
{
    ReleaseDC();
    HBITMAP h = m_hBitmap;
    m_hBitmap = NULL;
    Destroy();
    return h;
}

void CDibSection::Fill(DWORD dwPixel)
{
    ::GdiFlush();
    size_t n = (size_t)m_nWidth * m_nHeight;
    for (size_t i = 0; i < n; ++i)
        m_pBits[i] = dwPixel;
}

HDC CDibSection::GetDC()
{
    if (m_hDC == NULL && m_hBitmap != NULL) {
        HDC hDC = ::CreateCompatibleDC(NULL);
        if (hDC == NULL)
            return NULL;
        HGDIOBJ hOld = ::SelectObject(hDC, m_hBitmap);
        if (hOld == NULL || hOld == HGDI_ERROR) {
            ::DeleteDC(hDC);
            return NULL;
        }
        m_hDC = hDC;
        m_hOldBitmap = hOld;
    }
    return m_hDC;
}

BOOL CDibSection::CopyFrom(HDC hSrc, int xSrc, int ySrc)
{
    HDC hDC = GetDC();
    if (hDC == NULL || hSrc == NULL)
        return FALSE;
    BOOL ok = ::BitBlt(hDC, 0, 0, m_nWidth, m_nHeight, hSrc, xSrc, ySrc, SRCCOPY);
    ::GdiFlush();
    return ok;
}

BOOL CDibSection::CopyTo(HDC hDest, int xDest, int yDest)
{
    HDC hDC = GetDC();
    if (hDC == NULL || hDest == NULL)
        return FALSE;
    ::GdiFlush();
    return ::BitBlt(hDest, xDest, yDest, m_nWidth, m_nHeight, hDC, 0, 0, SRCCOPY);
}

BOOL CIconInfo::Read(HICON hIcon)
{
    Free();
    ICONINFO info = {};
    if (hIcon == NULL || !::GetIconInfo(hIcon, &info))
        return FALSE;
    *static_cast<ICONINFO*>(this) = info;
    return TRUE;
}

void CIconInfo::Free()
{
    if (hbmMask != NULL)
        ::DeleteObject(hbmMask);
    if (hbmColor != NULL)
        ::DeleteObject(hbmColor);
    *static_cast<ICONINFO*>(this) = ICONINFO();
}
