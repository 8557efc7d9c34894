#include "toolkit/ShadeButton.h"

CShadeButton::CShadeButton()
{
}

void CShadeButton::SetShade()
{
    if (GetSafeHwnd())
        Invalidate();
}
