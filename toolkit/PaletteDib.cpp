// The palette picture: block layout, palette blending and drawing through a
// DIB section made once per picture.
#include "toolkit/PaletteDib.h"

#include <new>
#include <string.h>

CPaletteDib::CPaletteDib()
    : m_pBuffer(NULL),
      m_header(),
      m_dwRowBytes(0),
      m_wPaletteEntries(0),
      m_hSection(NULL),
      m_hMemDC(NULL),
      m_pSectionBits(NULL)
{}

CPaletteDib::~CPaletteDib()
{
    ClearDib();
}

BYTE* CPaletteDib::CreateDib(LONG nWidth, LONG nHeight, WORD nBitCount)
{
    ClearDib();
    if (nWidth < 0 || nHeight < 0)
        return NULL;
    WORD wEntries = nBitCount == 1 ? 2 : nBitCount == 4 ? 16 : nBitCount == 8 ? 256 : 0;
    // Computed wide so that a huge size is refused instead of wrapping round.
    LONGLONG llRowBytes = (((LONGLONG)nWidth * nBitCount + 31) / 32) * 4;
    LONGLONG llImage = llRowBytes * nHeight;
    LONGLONG llBlock = (LONGLONG)sizeof(BITMAPINFOHEADER) + 4LL * wEntries + llImage;
    if (llBlock > 0x7FFFFFFF)
        return NULL;
    BYTE* pBuffer = new (std::nothrow) BYTE[(size_t)llBlock];
    if (pBuffer == NULL)
        return NULL;

    m_header.biSize = sizeof(BITMAPINFOHEADER);
    m_header.biWidth = nWidth;
    m_header.biHeight = nHeight;
    m_header.biPlanes = 1;
    m_header.biBitCount = nBitCount;
    m_header.biCompression = BI_RGB;
    m_header.biSizeImage = (DWORD)llImage;
    m_dwRowBytes = (DWORD)llRowBytes;
    m_wPaletteEntries = wEntries;
    memcpy(pBuffer, &m_header, sizeof(m_header));
    m_pBuffer = pBuffer;
    return m_pBuffer;
}

void CPaletteDib::ClearDib()
{
    if (m_hMemDC != NULL)
        ::DeleteDC(m_hMemDC);
    if (m_hSection != NULL)
        ::DeleteObject(m_hSection);
    delete[] m_pBuffer;
    m_pBuffer = NULL;
    m_hMemDC = NULL;
    m_hSection = NULL;
    m_pSectionBits = NULL;
    m_header = BITMAPINFOHEADER();
    m_dwRowBytes = 0;
    m_wPaletteEntries = 0;
}

RGBQUAD* CPaletteDib::GetPalette() const
{
    return m_pBuffer != NULL && m_wPaletteEntries != 0 ? reinterpret_cast<RGBQUAD*>(m_pBuffer + m_header.biSize) : NULL;
}

BYTE* CPaletteDib::GetBits() const
{
    return m_pBuffer != NULL ? m_pBuffer + m_header.biSize + 4 * m_wPaletteEntries : NULL;
}

size_t CPaletteDib::GetBlockSize() const
{
    return m_pBuffer != NULL ? m_header.biSize + 4 * (size_t)m_wPaletteEntries + m_header.biSizeImage : 0;
}

void CPaletteDib::BlendPalette(COLORREF clr, int nPercent)
{
    RGBQUAD* pPal = GetPalette();
    if (pPal == NULL)
        return;
    // A negative share would push the entries away from the colour and out of range.
    int p = nPercent < 0 ? 0 : nPercent > 100 ? 100 : nPercent;
    int tr = GetRValue(clr), tg = GetGValue(clr), tb = GetBValue(clr);
    for (WORD i = 0; i < m_wPaletteEntries; ++i) {
        pPal[i].rgbRed = (BYTE)((pPal[i].rgbRed * (100 - p) + tr * p) / 100);
        pPal[i].rgbGreen = (BYTE)((pPal[i].rgbGreen * (100 - p) + tg * p) / 100);
        pPal[i].rgbBlue = (BYTE)((pPal[i].rgbBlue * (100 - p) + tb * p) / 100);
    }
}

void CPaletteDib::SetPaletteIndex(UINT nIndex, BYTE byRed, BYTE byGreen, BYTE byBlue)
{
    RGBQUAD* pPal = GetPalette();
    if (pPal == NULL || nIndex >= m_wPaletteEntries)
        return;
    pPal[nIndex].rgbBlue = byBlue;
    pPal[nIndex].rgbGreen = byGreen;
    pPal[nIndex].rgbRed = byRed;
    pPal[nIndex].rgbReserved = 0;
}

void CPaletteDib::CopyDib(const CPaletteDib* pSrc)
{
    // Copying onto itself would free the source before reading it.
    if (pSrc == this)
        return;
    if (pSrc == NULL || pSrc->m_pBuffer == NULL) {
        ClearDib();
        return;
    }
    if (CreateDib(pSrc->m_header.biWidth, pSrc->m_header.biHeight, pSrc->m_header.biBitCount) == NULL)
        return;
    memcpy(m_pBuffer, pSrc->m_pBuffer, pSrc->GetBlockSize());
    m_header = pSrc->m_header;
}

void CPaletteDib::DrawDib(HDC hDC, int x, int y)
{
    if (m_pBuffer == NULL || hDC == NULL)
        return;
    if (m_hSection == NULL) {
        void* pBits = NULL;
        HBITMAP h = ::CreateDIBSection(hDC, reinterpret_cast<BITMAPINFO*>(m_pBuffer), DIB_RGB_COLORS, &pBits, NULL, 0);
        if (h == NULL || pBits == NULL) {
            if (h != NULL)
                ::DeleteObject(h);
            return;
        }
        m_hSection = h;
        m_pSectionBits = pBits;
    }
    ::GdiFlush();
    memcpy(m_pSectionBits, GetBits(), m_header.biSizeImage);
    if (m_hMemDC == NULL) {
        m_hMemDC = ::CreateCompatibleDC(hDC);
        if (m_hMemDC == NULL)
            return;
    }
    CSelectGuard select(m_hMemDC, m_hSection);
    if (select.GetOld() == NULL || select.GetOld() == HGDI_ERROR)
        return;
    ::BitBlt(hDC, x, y, m_header.biWidth, m_header.biHeight, m_hMemDC, 0, 0, SRCCOPY);
}
