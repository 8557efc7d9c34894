// Background images of tables and cells: the image that a description such
// as "file:sky.bmp" names, tiled over a rectangle.
#include "MarkupDrawer.h"

namespace {

// Owns a bitmap the drawer loaded.
class COwnedBitmap
{
public:
    explicit COwnedBitmap(HBITMAP hBitmap) : m_hBitmap(hBitmap) {}
    ~COwnedBitmap()
    {
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
    }
    COwnedBitmap(const COwnedBitmap&) = delete;
    COwnedBitmap& operator=(const COwnedBitmap&) = delete;
    HBITMAP Get() const { return m_hBitmap; }

private:
    HBITMAP m_hBitmap;
};

// Owns a memory DC.
class CMemoryDC
{
public:
    explicit CMemoryDC(HDC hDC) : m_hDC(::CreateCompatibleDC(hDC)) {}
    ~CMemoryDC()
    {
        if (m_hDC)
            ::DeleteDC(m_hDC);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    HDC Get() const { return m_hDC; }

private:
    HDC m_hDC;
};

}  // namespace

void CMarkupDrawer::DrawBackgroundImage(HDC hDC, const RECT& rect, const CString& sDescription)
{
    if (!m_bIsEnabled || sDescription.GetLength() <= 5)
        return;
    MarkupSpan text(sDescription);
    int nPos = 0;
    if (!SkipToWord(nPos, text))
        return;
    int nStart = nPos;
    ScanToChars(text, nPos, L" :");
    CString sKeyword = text.Mid(nStart, nPos - nStart);
    CString sValue = ReadPropertyValue(nPos, text, L";");

    HBITMAP hLoaded = NULL;
    if (sKeyword == L"idres")
        hLoaded = LoadResBitmap((UINT)ParseSize(0, sValue, FALSE));
    else if (sKeyword == L"iddll")
        hLoaded = LoadDllBitmap(NULL, (UINT)ParseSize(0, sValue, FALSE));
    else if (sKeyword == L"file")
        hLoaded = LoadFileBitmap(sValue);
    // Declared in this order so that the bitmap is selected back out of the
    // memory DC before the DC goes, and the DC goes before the bitmap.
    COwnedBitmap bitmap(hLoaded);
    if (!bitmap.Get())
        return;
    BITMAP bm;
    if (::GetObjectW(bitmap.Get(), sizeof(bm), &bm) != (int)sizeof(bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0)
        return;
    CMemoryDC memory(hDC);
    if (!memory.Get())
        return;
    CSelectGuard select(memory.Get(), bitmap.Get());
    // Tiles from the top-left corner, the last row and column cut at the
    // rectangle's edges.
    m_drawManager.TileBlt(hDC, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory.Get(), 0, 0,
                          bm.bmWidth, bm.bmHeight);
}
