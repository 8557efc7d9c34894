// Icon button with a shaded face.
//
// This build draws the plain face; the shaded pictures come with the full
// toolkit, behind the same calls.
#pragma once

#include "toolkit/IconButton.h"

class CShadeButton : public CIconButton
{
public:
    CShadeButton();

    // Builds the face pictures from the button's current size.
    void SetShade();
};
