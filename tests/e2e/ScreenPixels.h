// Reads back what the screen shows in a window's client area (header only:
// the window tests use it too).
#pragma once

#include <windows.h>

#include <vector>

struct ScreenShot
{
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;  // row by row

    COLORREF At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The screen's pixels of rect (client coordinates of hWnd).
inline ScreenShot CaptureClient(HWND hWnd, const RECT& rect)
{
    ScreenShot shot;
    POINT origin = { rect.left, rect.top };
    ClientToScreen(hWnd, &origin);
    shot.width = rect.right - rect.left;
    shot.height = rect.bottom - rect.top;
    if (shot.width <= 0 || shot.height <= 0)
        return shot;

    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = shot.width;
    bi.bmiHeader.biHeight = -shot.height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(mem, dib);
    BitBlt(mem, 0, 0, shot.width, shot.height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    shot.pixels.resize(static_cast<size_t>(shot.width) * shot.height);
    const DWORD* src = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < shot.pixels.size(); ++i) {
        DWORD p = src[i];  // 0x00RRGGBB
        shot.pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    SelectObject(mem, old);
    DeleteObject(dib);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    return shot;
}

// The dark blue of the splash progress text.
inline bool IsTextBlue(COLORREF c)
{
    int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    return b >= 100 && r < 110 && g < 110 && b - r > 60 && b - g > 60 && r + g < 160;
}

// One past the rightmost column holding text-blue pixels; 0 when none.
inline int TextExtent(const ScreenShot& shot)
{
    for (int x = shot.width - 1; x >= 0; --x)
        for (int y = 0; y < shot.height; ++y)
            if (IsTextBlue(shot.At(x, y)))
                return x + 1;
    return 0;
}
