// Image files through GDI+.
#include "afxwin.h"
#include <objidl.h>
#include <gdiplus.h>

namespace {
// GDI+ is started once, on first use, and left running until the process
// ends (shutting it down from a static destructor can hang).
bool StartGdiplus()
{
    static const bool started = [] {
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        return Gdiplus::GdiplusStartup(&token, &input, NULL) == Gdiplus::Ok;
    }();
    return started;
}
}  // namespace

HRESULT CImage::Load(LPCWSTR pszFileName)
{
    Destroy();
    if (pszFileName == NULL || !StartGdiplus())
        return E_FAIL;
    Gdiplus::GpBitmap* pBitmap = NULL;
    if (Gdiplus::DllExports::GdipCreateBitmapFromFile(pszFileName, &pBitmap) != Gdiplus::Ok || pBitmap == NULL)
        return E_FAIL;
    HBITMAP hBitmap = NULL;
    // Transparent pixels come out black with alpha 0; the DIB keeps the alpha.
    Gdiplus::Status st = Gdiplus::DllExports::GdipCreateHBITMAPFromBitmap(pBitmap, &hBitmap, 0x00000000);
    Gdiplus::DllExports::GdipDisposeImage(pBitmap);
    if (st != Gdiplus::Ok || hBitmap == NULL)
        return E_FAIL;
    m_hBitmap = hBitmap;
    return S_OK;
}

int CImage::GetWidth() const
{
    BITMAP bm = {};
    return m_hBitmap && ::GetObjectW(m_hBitmap, sizeof(bm), &bm) ? bm.bmWidth : 0;
}

int CImage::GetHeight() const
{
    BITMAP bm = {};
    return m_hBitmap && ::GetObjectW(m_hBitmap, sizeof(bm), &bm) ? bm.bmHeight : 0;
}

int CImage::GetBPP() const
{
    BITMAP bm = {};
    return m_hBitmap && ::GetObjectW(m_hBitmap, sizeof(bm), &bm) ? bm.bmBitsPixel : 0;
}
