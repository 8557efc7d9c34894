// A bitmap loaded from an image file (PNG, BMP, JPEG, GIF) through GDI+.
#pragma once

#include "afx.h"

class CImage
{
public:
    CImage() : m_hBitmap(NULL) {}
    ~CImage() { Destroy(); }
    CImage(const CImage&) = delete;
    CImage& operator=(const CImage&) = delete;

    // Replaces the current image. S_OK, or a failure code with the image null.
    HRESULT Load(LPCWSTR pszFileName);
    void Attach(HBITMAP hBitmap)
    {
        Destroy();
        m_hBitmap = hBitmap;
    }
    // Gives the bitmap to the caller; the image is null afterwards.
    HBITMAP Detach()
    {
        HBITMAP h = m_hBitmap;
        m_hBitmap = NULL;
        return h;
    }
    void Destroy()
    {
        if (m_hBitmap)
            ::DeleteObject(m_hBitmap);
        m_hBitmap = NULL;
    }
    bool IsNull() const { return m_hBitmap == NULL; }
    operator HBITMAP() const { return m_hBitmap; }
    int GetWidth() const;
    int GetHeight() const;
    int GetBPP() const;

private:
    HBITMAP m_hBitmap;  // 32 bits per pixel DIB section
};
