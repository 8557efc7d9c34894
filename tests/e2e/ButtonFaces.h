// Finds on the screen what a button of the running program shows: where its
// icon is drawn and where its caption's dark pixels lie.
#pragma once

#include "tests/e2e/ScreenPixels.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

// The box of the icon's coloured pixels: the button faces and captions are
// grey (red equal to green), the icons are not. Empty when fewer than 30.
inline RECT IconBox(const ScreenShot& shot)
{
    RECT box = { shot.width, shot.height, 0, 0 };
    int n = 0;
    for (int y = 0; y < shot.height; ++y) {
        for (int x = 0; x < shot.width; ++x) {
            COLORREF c = shot.At(x, y);
            if (abs(GetRValue(c) - GetGValue(c)) <= 12)
                continue;
            ++n;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    if (n < 30)
        SetRectEmpty(&box);
    return box;
}

// Caption ink: each channel at most 80.
inline bool IsCaptionDark(COLORREF c)
{
    return GetRValue(c) <= 80 && GetGValue(c) <= 80 && GetBValue(c) <= 80;
}

// The box around the dark pixels of rows top..bottom-1, kEdge pixels in from
// the sides (border and focus rectangle), outside the rectangle skip; empty
// when there are none.
inline RECT DarkBox(const ScreenShot& shot, int top, int bottom, const RECT& skip)
{
    const int kEdge = 5;
    RECT box = { shot.width, shot.height, 0, 0 };
    for (int y = top; y < bottom; ++y) {
        for (int x = kEdge; x < shot.width - kEdge; ++x) {
            const bool skipped = x >= skip.left && x < skip.right && y >= skip.top && y < skip.bottom;
            if (skipped || !IsCaptionDark(shot.At(x, y)))
                continue;
            box.left = std::min<LONG>(box.left, x);
            box.top = std::min<LONG>(box.top, y);
            box.right = std::max<LONG>(box.right, x + 1);
            box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    }
    if (box.right <= box.left)
        SetRectEmpty(&box);
    return box;
}

// The box around the caption's dark pixels outside the icon's box and the
// edge of five pixels; empty when there are none.
inline RECT CaptionBox(const ScreenShot& shot, const RECT& icon)
{
    return DarkBox(shot, 5, shot.height - 5, icon);
}

// The caption under an icon: the dark pixels of the lowest band of rows
// below the icon with dark or coloured pixels in the middle of the
// face (an icon's grey parts, a monitor's stand say, reach below its
// coloured ones and form bands of their own; the shade darkens the edges).
// Empty when no band lies below the icon apart from it.
inline RECT CaptionBelow(const ScreenShot& shot, const RECT& icon)
{
    const int kEdge = 5;
    auto isInk = [](COLORREF c) { return IsCaptionDark(c) || abs(GetRValue(c) - GetGValue(c)) > 12; };
    auto rowHasInk = [&](int y) {
        for (int x = shot.width * 3 / 8; x < shot.width * 5 / 8; ++x)
            if (isInk(shot.At(x, y)))
                return true;
        return false;
    };
    int bottom = shot.height - kEdge;
    while (bottom > icon.bottom && !rowHasInk(bottom - 1))
        --bottom;
    int top = bottom;
    while (top > icon.bottom && rowHasInk(top - 1))
        --top;
    const RECT none = {};
    if (top == icon.bottom)
        return none;  // joined to the icon, or nothing below it
    return DarkBox(shot, top, bottom, none);
}

// What the client area of a window shows.
inline ScreenShot CaptureWindow(HWND hWnd)
{
    RECT rc;
    GetClientRect(hWnd, &rc);
    return CaptureClient(hWnd, rc);
}
