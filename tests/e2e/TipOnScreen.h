// Brings up the running program's mark-up tip over one of its controls the
// way the mouse does, and finds the tip window on the screen.
#pragma once

#include "tests/e2e/ProgramUnderTest.h"

#include <windows.h>

#include <string>

// The visible tip window of the process, if any; its window text is the
// text of the tip it shows.
inline HWND VisibleTip(const ProgramUnderTest& program)
{
    for (HWND hWnd : program.TopLevelWindows())
        if (WindowClass(hWnd) == L"CMarkupTip" && IsWindowVisible(hWnd))
            return hWnd;
    return nullptr;
}

// Rests the pointer on the middle of the control until the tip shows the
// text; the tip window then, else NULL with the last text seen in *pSeen.
// The tip appears after its delay while the pointer rests; every further
// move would start that delay again, so each try moves once and waits.
inline HWND RestPointerOn(const ProgramUnderTest& program, HWND control, const std::wstring& text,
                          std::wstring* pSeen = nullptr)
{
    RECT rc;
    GetClientRect(control, &rc);
    POINT centre = { rc.right / 2, rc.bottom / 2 };
    POINT screen = centre;
    ClientToScreen(control, &screen);
    std::wstring seen;
    HWND tip = nullptr;
    for (int attempt = 0; attempt < 3 && !tip; ++attempt) {
        SetCursorPos(screen.x, screen.y);
        PostMessageW(control, WM_MOUSEMOVE, 0, MAKELPARAM(centre.x, centre.y));
        WaitUntil(
            [&] {
                HWND shown = VisibleTip(program);
                if (shown)
                    seen = WindowText(shown);
                if (shown && seen == text)
                    tip = shown;
                return tip != nullptr;
            },
            5000);
    }
    if (pSeen)
        *pSeen = seen;
    return tip;
}

// Takes the pointer off the program's controls and waits for the tip to go.
inline bool MovePointerAway(const ProgramUnderTest& program, HWND main)
{
    SetCursorPos(0, 0);
    PostMessageW(main, WM_MOUSEMOVE, 0, MAKELPARAM(0, 0));
    return WaitUntil([&] { return VisibleTip(program) == nullptr; }, 10000);
}
