// Where a tip balloon goes and what shape it has, computed from plain data so
// that placement can be checked against any virtual screen without a window.
#pragma once

#include <windows.h>

// TipDirection code = 16 x side + position. Sides: 0 below the point (anchor
// on the top edge), 1 above, 2 right of the point, 3 left of it. Positions:
// 0 anchor near the left/top end, 1 near the right/bottom end, 2 centred.
enum
{
    TIPDIR_DEFAULT = 16,  // above the cursor, extending to the right
};

// The anchor and corner sizes of a balloon.
struct TipBalloonShape
{
    int nAnchorWidth;    // width of the anchor's base
    int nAnchorHeight;   // how far the anchor sticks out of the body
    int nAnchorMargin;   // distance of the anchor from the end of the balloon
    SIZE szRoundCorner;  // corner ellipse of the body
};

// TRUE for the twelve direction codes.
BOOL IsTipDirection(int nCode);

// Places a balloon whose body is rcBody (left and top 0) so that its anchor
// points at pt, flipping and clamping it against rcScreen (the virtual
// screen). Returns the code used (a code outside the twelve is taken as
// TIPDIR_DEFAULT); rcWindow gets the window box, ptAnchor the anchor's tip in
// window coordinates, and rcBody and rcText move past the anchor when it lies
// on the top or left edge.
int ComputeTipPlacement(int nCode, POINT pt, const RECT& rcScreen, const TipBalloonShape& shape, RECT& rcBody,
                        RECT& rcText, RECT& rcWindow, POINT& ptAnchor);

// The balloon of a cx by cy window box: the rounded body joined with the
// anchor triangle. The caller owns the region; NULL when GDI cannot make it.
HRGN CreateBalloonRegion(int cx, int cy, int nCode, POINT ptAnchor, const TipBalloonShape& shape);

// The window's own region for a balloon: a copy of hBalloon, joined with a
// copy offset by the shadow offset when that is not (0, 0). The caller owns
// it (SetWindowRgn takes it over); NULL when GDI cannot make it.
HRGN CreateTipWindowRegion(HRGN hBalloon, SIZE szShadowOffset);
