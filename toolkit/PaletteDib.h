// A small in-memory palette picture: one block holding the header, the palette
// and the bottom-up pixel rows, which the owner fills directly, plus a DIB
// section and a memory DC made on the first draw to put it on screen.
#pragma once

#include "afxwin.h"

class CPaletteDib
{
public:
    CPaletteDib();
    virtual ~CPaletteDib();
    CPaletteDib(const CPaletteDib&) = delete;
    CPaletteDib& operator=(const CPaletteDib&) = delete;

    // Discards the old picture and makes one of nWidth x nHeight; the pixel and
    // palette bytes are left unset. Returns the block (header first), or NULL,
    // leaving the picture empty, for a negative size, a block that would not
    // fit in 31 bits, or no memory.
    BYTE* CreateDib(LONG nWidth, LONG nHeight, WORD nBitCount);
    void ClearDib();
    // Moves every palette entry nPercent (0 to 100) of the way toward clr.
    void BlendPalette(COLORREF clr, int nPercent);
    // Copies the picture unscaled to the DC with its top-left corner at (x, y).
    void DrawDib(HDC hDC, int x, int y);
    // Makes this picture a copy of pSrc (header, palette and pixels); a NULL or
    // empty source leaves this one empty.
    void CopyDib(const CPaletteDib* pSrc);
    void SetPaletteIndex(UINT nIndex, BYTE byRed, BYTE byGreen, BYTE byBlue);

    BOOL IsEmpty() const { return m_pBuffer == NULL; }
    // The block: header, palette, pixels; NULL when empty.
    BYTE* GetBlock() const { return m_pBuffer; }
    const BITMAPINFOHEADER& GetHeader() const { return m_header; }
    LONG GetWidth() const { return m_header.biWidth; }
    LONG GetHeight() const { return m_header.biHeight; }
    DWORD GetRowBytes() const { return m_dwRowBytes; }
    WORD GetPaletteEntries() const { return m_wPaletteEntries; }
    // The palette in the block, or NULL without one.
    RGBQUAD* GetPalette() const;
    // The pixel rows, the bottom row first; NULL when empty.
    BYTE* GetBits() const;
    // Stored row r (0 = the bottom row).
    BYTE* GetRow(LONG r) const { return GetBits() + (size_t)r * m_dwRowBytes; }
    // Bytes of the whole block: header, palette and pixels.
    size_t GetBlockSize() const;

private:
    BYTE* m_pBuffer;
    BITMAPINFOHEADER m_header;
    DWORD m_dwRowBytes;
    WORD m_wPaletteEntries;
    HBITMAP m_hSection;
    HDC m_hMemDC;
    void* m_pSectionBits;
};
