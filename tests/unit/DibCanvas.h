// A 32-bit memory DC for drawing tests: draw through dc, read pixels back as
// 0xAARRGGBB with At (rows from the top), and check that a margin round a
// drawing area kept its fill.
#pragma once

#include "afxwin.h"

#include <gtest/gtest.h>

struct DibCanvas
{
    CDibSection dib;
    HDC dc = nullptr;

    DibCanvas(int w, int h, DWORD fill = 0)
    {
        EXPECT_TRUE(dib.Create(w, h));
        dib.Fill(fill);
        dc = dib.GetDC();
    }
    // Colour part only: GDI drawing may leave any alpha byte.
    DWORD At(int x, int y)
    {
        ::GdiFlush();
        return dib.GetPixel(x, y) & 0x00FFFFFF;
    }
    DWORD Raw(int x, int y)
    {
        ::GdiFlush();
        return dib.GetPixel(x, y);
    }
    // Number of pixels outside (left, top, right, bottom) that are not fill.
    int ChangedOutside(const RECT& inside, DWORD fill)
    {
        ::GdiFlush();
        int changed = 0;
        for (int y = 0; y < dib.GetHeight(); ++y)
            for (int x = 0; x < dib.GetWidth(); ++x) {
                bool in = x >= inside.left && x < inside.right && y >= inside.top && y < inside.bottom;
                if (!in && dib.GetPixel(x, y) != fill)
                    ++changed;
            }
        return changed;
    }
};
