// The toolkit's drawing helpers: background effects (solid colour, gradients
// and shaded patterns drawn through an 8-bit palette canvas), bitmaps and icons
// with colour effects, masks, per-pixel alpha and drop shadows, blending one DC
// onto another, tiling, and bordered rectangles and lines.
//
// Colours passed in are COLORREF values (0x00BBGGRR); pixel work is done in
// 32-bit DIB sections whose pixels read 0xAARRGGBB, so the colour helpers below
// take and give pixel values. Integer arithmetic truncates toward zero.
//
// The class is split by concern:
//   DrawManager.cpp         construction, FillEffect, DrawGradient, lines,
//                           rectangles, tiling, sizes and the colour helpers
//   DrawManagerShade.cpp    DrawShadeEffect: the shaded patterns 7 to 15
//   DrawManagerImages.cpp   CreateImageEffect, DrawBitmapImage, DrawIconImage,
//                           DrawImageListFrame, StretchIcon
//   DrawManagerBlend.cpp    DrawShadow, BlurMask, AlphaBlendDC, AlphaChannelBlit
#pragma once

#include "afxwin.h"
#include "toolkit/PaletteDib.h"

class CDrawManager
{
public:
    // Background effect ids; the style sheets map their names to these. Any
    // other id is filled like EFFECT_SOLID.
    enum
    {
        EFFECT_TRANSPARENT = -1,  // the caller draws nothing; FillEffect fills it like solid
        EFFECT_SOLID = 0,
        EFFECT_HGRADIENT = 1,   // begin -> end, left to right
        EFFECT_VGRADIENT = 2,   // begin -> end, top to bottom
        EFFECT_HCGRADIENT = 3,  // begin -> end -> begin, left to right
        EFFECT_VCGRADIENT = 4,  // begin -> end -> begin, top to bottom
        EFFECT_3HGRADIENT = 5,  // begin -> mid -> end, left to right
        EFFECT_3VGRADIENT = 6,  // begin -> mid -> end, top to bottom
        EFFECT_NOISE = 7,       // shaded patterns from here on
        EFFECT_DIAGSHADE = 8,
        EFFECT_HSHADE = 9,
        EFFECT_VSHADE = 10,
        EFFECT_HBUMP = 11,
        EFFECT_VBUMP = 12,
        EFFECT_SOFTBUMP = 13,
        EFFECT_HARDBUMP = 14,
        EFFECT_METAL = 15,
    };

    // Image effect flags, combined with OR.
    enum
    {
        IMAGE_EFFECT_GRAYEN = 0x0001,
        IMAGE_EFFECT_DARKEN = 0x0002,      // DarkenColor by 0.75
        IMAGE_EFFECT_LIGHTEN = 0x0004,     // LightenColor by 0.25
        IMAGE_EFFECT_MONOCHROME = 0x0008,  // every opaque pixel becomes the given colour
        IMAGE_EFFECT_SHADOW = 0x0100,      // drop shadow (drawing operations only)
        IMAGE_EFFECT_SOFTSHADOW = 0x0200,  // blurred drop shadow; counts as a drop shadow
        IMAGE_EFFECT_INVERT = 0x8000,      // every pixel, after the others
    };

    // Pen kinds of DrawRectangle and DrawLine; any other kind is solid.
    enum
    {
        PEN_SOLID = 1,
        PEN_DASH = 2,
        PEN_DOT = 3,
        PEN_DASHDOT = 4,
        PEN_DASHDOTDOT = 5,
        PEN_DOUBLE = 6,  // two solid strokes, 2 x width apart
    };

    CDrawManager();
    virtual ~CDrawManager();
    CDrawManager(const CDrawManager&) = delete;
    CDrawManager& operator=(const CDrawManager&) = delete;

    // Fills rect with a background effect. Shaded patterns use clrBegin as the
    // light, clrMid as the middle and clrEnd as the dark colour, byGranularity
    // as the grain and byColoring as the share (percent) moved toward the light.
    void FillEffect(HDC hDC, const RECT& rect, int nEffect, COLORREF clrBegin, COLORREF clrMid, COLORREF clrEnd,
                    BYTE byGranularity, BYTE byColoring);
    // 64 bands from clrFrom toward clrTo, left to right when bHorizontal, else
    // top to bottom; the last band is not quite clrTo.
    void DrawGradient(HDC hDC, const RECT& rect, COLORREF clrFrom, COLORREF clrTo, BOOL bHorizontal);
    // Recreates the canvas at rect's size and fills it with a shaded pattern
    // (EFFECT_NOISE to EFFECT_METAL); other ids leave the canvas empty.
    void DrawShadeEffect(const RECT& rect, int nEffect, BYTE byGranularity, BYTE byColoring, COLORREF clrLight,
                         COLORREF clrMid, COLORREF clrDark);

    // Draws the bitmap into (x, y, cx, cy), stretched when its size differs.
    // bUseMask: pixels of exactly clrMask are transparent. dwEffect: image
    // effect flags; clr the colour for IMAGE_EFFECT_MONOCHROME and the shadow.
    // bShadow draws a shadow (or, without a shadow flag, the image itself) at
    // the offset first; nBlurX and nBlurY size a soft shadow's blur.
    void DrawBitmapImage(HDC hDC, int x, int y, int cx, int cy, HBITMAP hBitmap, BOOL bUseMask, COLORREF clrMask,
                         DWORD dwEffect, BOOL bShadow, int nOffsetX, int nOffsetY, int nBlurX, int nBlurY,
                         COLORREF clr);
    // The same for an icon, whose own mask gives the transparency.
    void DrawIconImage(HDC hDC, int x, int y, int cx, int cy, HICON hIcon, DWORD dwEffect, BOOL bShadow, int nOffsetX,
                       int nOffsetY, int nBlurX, int nBlurY, COLORREF clr);
    // Draws frame nFrame of a grid of cxFrame x cyFrame frames (left to right,
    // then top to bottom) with DrawBitmapImage; nothing for a frame past the grid.
    void DrawImageListFrame(HDC hDC, int x, int y, int cx, int cy, HBITMAP hFrames, int nFrame, int cxFrame,
                            int cyFrame, BOOL bUseMask, COLORREF clrMask, DWORD dwEffect, BOOL bShadow, int nOffsetX,
                            int nOffsetY, int nBlurX, int nBlurY, COLORREF clr);
    // Darkens (x, y, cx, cy) of the DC under a mask: each pixel by the mask's
    // blue byte / 255 (white leaves it), blurred nBlurX x nBlurY when bSoft.
    void DrawShadow(HDC hDC, int x, int y, int cx, int cy, HBITMAP hMask, BOOL bSoft, int nBlurX, int nBlurY);
    // Blends cx x cy of hSrc (from its (0, 0)) onto hDest at (x, y); 100 or
    // more copies, 0 or less leaves the destination.
    void AlphaBlendDC(HDC hSrc, HDC hDest, int x, int y, int cx, int cy, int nOpacity);
    // The same, each pixel weighted by its own alpha byte.
    void AlphaChannelBlit(HDC hSrc, HDC hDest, int x, int y, int cx, int cy);
    // A new 32-bit DIB section of cx x cy holding the bitmap with the effects
    // applied; sets the image-has-alpha flag when any alpha byte is non-zero.
    // NULL when it cannot be made. The caller deletes it.
    HBITMAP CreateImageEffect(HBITMAP hBitmap, int cx, int cy, DWORD dwEffect, BOOL bUseMask, COLORREF clrMask,
                              COLORREF clr);
    // Fills (x, y, cx, cy) with copies of the tile (xSrc, ySrc, cxTile, cyTile)
    // of hSrc, clipping the last column and row.
    void TileBlt(HDC hDest, int x, int y, int cx, int cy, HDC hSrc, int xSrc, int ySrc, int cxTile, int cyTile);
    // Left and top edges in clrTopLeft, right and bottom in clrBottomRight;
    // nothing for a pen width of 0 or less.
    void DrawRectangle(HDC hDC, int left, int top, int right, int bottom, COLORREF clrTopLeft, COLORREF clrBottomRight,
                       int nPenKind, int nPenWidth);
    void DrawLine(HDC hDC, int x1, int y1, int x2, int y2, COLORREF clr, int nPenKind, int nPenWidth);
    // Twice the icon's hotspot; *pSize is left as it was when the icon cannot be read.
    void GetSizeOfIcon(HICON hIcon, SIZE* pSize) const;
    // The bitmap's width and height; *pSize is left as it was when they cannot be read.
    void GetSizeOfBitmap(HBITMAP hBitmap, SIZE* pSize) const;
    // A new icon of cx x cy; NULL when it cannot be made. The caller destroys it.
    HICON StretchIcon(HICON hIcon, int cx, int cy);

    // Colour helpers on pixel values 0xAARRGGBB; the alpha byte is kept.
    static DWORD GrayColor(DWORD clr);
    static DWORD InvertColor(DWORD clr);
    static DWORD DarkenColor(DWORD clr, double dFactor);   // each channel x factor, for a factor below 1
    static DWORD LightenColor(DWORD clr, double dFactor);  // each channel x (1 + factor), capped, for a factor up to 1
    // Each channel wb x b + wa x a, truncated; a's alpha byte is kept.
    static DWORD MixColors(DWORD clrA, DWORD clrB, double dWeightB, double dWeightA);

    // Box-blurs a cx x cy mask (the blue byte of each pixel, rows from the top;
    // nBlurX and nBlurY odd) padded with white, into one factor 0 to 1 per pixel.
    // FALSE when the sizes are refused or memory is short; pFactors is then untouched.
    static BOOL BlurMask(const DWORD* pMask, int cx, int cy, int nBlurX, int nBlurY, double* pFactors);
    // Running sums of nWindow values along a line: pDest[k * nDestStep] is the
    // sum of pSrc[(k .. k + nWindow - 1) * nSrcStep], for k = 0 to nCount - nWindow.
    static void ConvolveLine(const int* pSrc, int nSrcStep, int nCount, int nWindow, int* pDest, int nDestStep);
    // The palette indices of a shaded pattern into cx x cy bottom-up rows of
    // dwRowBytes each; only the cx first bytes of each row are written. Calls
    // rand() once per pixel as each pattern says. Nothing for sizes below 1.
    static void ShadePixels(BYTE* pRows, DWORD dwRowBytes, int cx, int cy, int nEffect, int nGranularity);

    // The canvas of the last shaded fill, and whether the image last processed
    // had any alpha byte set.
    const CPaletteDib& GetCanvas() const { return m_canvas; }
    BOOL GetImageHasAlpha() const { return m_bImageHasAlpha; }

private:
    void DrawImageAt(HDC hDC, int x, int y, int cx, int cy, HBITMAP hMask, HBITMAP hPicture, BOOL bBlackText);

    CPaletteDib m_canvas;
    BOOL m_bImageHasAlpha;
};
