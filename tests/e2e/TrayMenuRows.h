// The notification-area menu of the program under test, opened, read back
// row by row from the screen, and closed again.
#pragma once

#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/ScreenPixels.h"
#include "tests/support/E2eControlIds.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <vector>

// Rows of the menu: Open, Setting, Help, Official WebSite, About, Exit.
const int kMenuRows = 6;
const int kSettingRow = 1;
const int kAboutRow = 4;
const int kExitRow = 5;

// Per row of the open menu: whether its text is drawn in the menu text colour
// (a greyed item is drawn in the grey text colour only).
inline std::vector<bool> MenuRowsEnabled(HWND menu)
{
    RECT rc;
    GetClientRect(menu, &rc);
    ScreenShot shot = CaptureClient(menu, rc);
    COLORREF text = GetSysColor(COLOR_MENUTEXT);
    std::vector<bool> rows(kMenuRows, false);
    for (int row = 0; row < kMenuRows && shot.height > 0; ++row) {
        int dark = 0;
        for (int y = row * shot.height / kMenuRows; y < (row + 1) * shot.height / kMenuRows; ++y)
            for (int x = 0; x < shot.width; ++x) {
                COLORREF c = shot.At(x, y);
                if (abs(GetRValue(c) - GetRValue(text)) < 40 && abs(GetGValue(c) - GetGValue(text)) < 40 &&
                    abs(GetBValue(c) - GetBValue(text)) < 40)
                    ++dark;
            }
        rows[row] = dark > 3;
    }
    return rows;
}

// Opens the menu as a right click on the icon does, reads its rows once
// painted, and closes it again.
inline std::vector<bool> ReadTrayMenu(const ProgramUnderTest& program, HWND main)
{
    // Away from where the menu opens, so that no row is highlighted.
    SetCursorPos(300, 300);
    PostMessageW(main, kTrayNotify, kTrayIconId, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    std::vector<bool> rows;
    bool painted = WaitUntil(
        [&] {
            menu = program.PopupMenuWindow();
            if (!menu)
                return false;
            rows = MenuRowsEnabled(menu);
            return bool(rows[kExitRow]);
        },
        30000);
    EXPECT_TRUE(painted) << "the menu did not show";
    if (menu)
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return program.PopupMenuWindow() == nullptr; }, 30000));
    return rows;
}
