// Icon button with a shaded face: an 8-bit picture of a soft raised relief,
// lit from the upper left, in the system's button colours with a faint blue
// tint, and a lighter copy of it while the mouse is over the button.
#pragma once

#include "toolkit/IconButton.h"
#include "toolkit/PaletteDib.h"

class CShadeButton : public CIconButton
{
public:
    CShadeButton();
    ~CShadeButton() override;

    // Builds both pictures from the button's current window size and the
    // current system colours; a button without a window is left as it is.
    void SetShade();

    // The pure parts of the picture, for a reader on plain data.
    // Palette entries 0 to 255 from shadow over face to light, before the tint.
    static void ShadePalette(COLORREF crShadow, COLORREF crFace, COLORREF crLight, RGBQUAD palette[256]);
    // The palette index of column x and stored row r (0 = bottom) of a w x h
    // picture before the grain: 8 to 247.
    static int ShadeValue(int x, int r, int w, int h);

protected:
    DWORD OnDrawBackground(CDC* pDC, CRect* pRect) override;
    DWORD OnDrawBorder(CDC* pDC, CRect* pRect) override;

    CPaletteDib m_dibNormal;
    CPaletteDib m_dibHot;
};
