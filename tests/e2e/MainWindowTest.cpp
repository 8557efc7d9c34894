// The real program: start-up, the main window, hiding to the notification
// area and the exit message.
#include "tests/support/MakerClient.h"
#include "tests/support/E2eControlIds.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/ScreenPixels.h"
#include "tests/e2e/TipOnScreen.h"
#include "tests/e2e/TrayMenuRows.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

const UINT kExitApp = WM_USER + 101;

class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        maker::Reset();
        ASSERT_TRUE(program.Start());
        ASSERT_TRUE(WaitUntil([&] {
            main = program.MainWindow();
            return main && IsWindowVisible(main);
        })) << "the main window did not appear";
    }

    bool Visible() { return IsWindowVisible(main) != FALSE; }
    bool WaitVisible(bool visible)
    {
        return WaitUntil([&] { return Visible() == visible; }, 30000);
    }
    HWND Item(int id) { return GetDlgItem(main, id); }

    ProgramUnderTest program;
    HWND main = nullptr;
};

TEST_F(MainWindowTest, StartsWithTheMainWindow)
{
    EXPECT_EQ(L"Corvane Tessaly", WindowText(main));
    EXPECT_TRUE(program.IsRunning());

    struct
    {
        int id;
        const wchar_t* text;
    } buttons[] = {
        { 1036, L"Get Proxy" },    { 1005, L"Test Speed" }, { 1002, L"Hide IP" },
        { 1001, L"Auto Hide IP" }, { 1004, L"Setting" },    { 1057, L"Check IP in Google Map" },
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.id);
        ASSERT_NE(nullptr, Item(b.id));
        EXPECT_EQ(b.text, WindowText(Item(b.id)));
        EXPECT_TRUE(IsWindowVisible(Item(b.id)));
    }
    EXPECT_EQ(L"Real IP:", DialogItemText(main, 1058));
    EXPECT_EQ(L"Current IP:", DialogItemText(main, 1059));

    // The worker, upload and status controls are hidden from the start.
    for (int id : { 1000, 1034, 1051 }) {
        SCOPED_TRACE(id);
        ASSERT_NE(nullptr, Item(id));
        EXPECT_FALSE(IsWindowVisible(Item(id)));
    }
}

TEST_F(MainWindowTest, ListHasSixColumnsWithAHiddenPort)
{
    HWND list = Item(kListId);
    ASSERT_NE(nullptr, list);
    HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    ASSERT_NE(nullptr, header);
    EXPECT_EQ(6, SendMessageW(header, HDM_GETITEMCOUNT, 0, 0));
    const int widths[] = { 140, 112, 0, 95, 51, 100 };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(widths[i], SendMessageW(list, LVM_GETCOLUMNWIDTH, i, 0)) << "column " << i;
    EXPECT_TRUE(SendMessageW(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
}

TEST_F(MainWindowTest, SplashIsClosedOnceTheMainWindowIsUp)
{
    HWND splash = program.SplashWindow();
    ASSERT_NE(nullptr, splash) << "the splash window was never made";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(splash); }, 30000));

    // Brought back on top, the splash shows its plate but no more text: its
    // text timer went with the close.
    SetWindowPos(splash, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RedrawWindow(splash, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const RECT plate = { 117, 238, 117 + 166, 238 + 25 };
    ASSERT_TRUE(WaitUntil(
        [&] {
            ScreenShot shot = CaptureClient(splash, plate);
            return shot.width > 0 && shot.At(3, 3) == RGB(0xE8, 0xEE, 0xF8);
        },
        30000))
        << "the splash plate is not on the screen";
    DWORD start = GetTickCount();
    while (GetTickCount() - start < 1600) {
        ASSERT_EQ(0, TextExtent(CaptureClient(splash, plate)));
        Sleep(50);
    }
}

TEST_F(MainWindowTest, NotificationAreaIconIsAdded)
{
    EXPECT_TRUE(WaitUntil([&] { return TrayIconExists(main, kTrayIconId); }, 30000));
}

TEST_F(MainWindowTest, EscHidesAndDoubleClickOnTheIconBringsItBack)
{
    PostMessageW(Item(kListId), WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitVisible(false));
    EXPECT_TRUE(program.IsRunning());
    EXPECT_TRUE(TrayIconExists(main, kTrayIconId));

    SendMessageW(main, kTrayNotify, kTrayIconId, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitVisible(true));
}

TEST_F(MainWindowTest, CloseBoxHides)
{
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitVisible(false));
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(program.IsRunning());

    SendMessageW(main, kTrayNotify, kTrayIconId, WM_LBUTTONDBLCLK);
    EXPECT_TRUE(WaitVisible(true));
}

TEST_F(MainWindowTest, MinimiseBoxHidesAndTheIconRestores)
{
    PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitVisible(false));
    EXPECT_TRUE(program.IsRunning());

    SendMessageW(main, kTrayNotify, kTrayIconId, WM_LBUTTONDBLCLK);
    ASSERT_TRUE(WaitVisible(true));
    EXPECT_FALSE(IsIconic(main));
}

TEST_F(MainWindowTest, OtherTrayMouseMessagesDoNothing)
{
    SendMessageW(main, kTrayNotify, kTrayIconId, WM_LBUTTONDOWN);
    SendMessageW(main, kTrayNotify, kTrayIconId, WM_MOUSEMOVE);
    EXPECT_TRUE(Visible());
    EXPECT_EQ(nullptr, program.PopupMenuWindow());
}

TEST_F(MainWindowTest, EnterAndOkDoNotEndTheProgram)
{
    SetForegroundWindow(main);
    PostMessageW(Item(kListId), WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(main, WM_COMMAND, IDOK, 0);
    PostMessageW(main, WM_COMMAND, IDCANCEL, 0);
    // Cancel hides like Esc; once hidden, the messages before it are handled.
    ASSERT_TRUE(WaitVisible(false));
    EXPECT_TRUE(IsWindow(main));
    EXPECT_TRUE(program.IsRunning());
    EXPECT_TRUE(TrayIconExists(main, kTrayIconId));
}

TEST_F(MainWindowTest, RightClickOnTheIconOpensTheMenu)
{
    PostMessageW(main, kTrayNotify, kTrayIconId, WM_RBUTTONDOWN);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (menu = program.PopupMenuWindow()) != nullptr; }, 30000));
    PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitUntil([&] { return program.PopupMenuWindow() == nullptr; }, 30000));
    EXPECT_TRUE(program.IsRunning());
}

class TrayMenuTest : public MainWindowTest
{
protected:
    std::vector<bool> ReadMenu() { return ReadTrayMenu(program, main); }

    HWND AboutBox()
    {
        for (HWND hWnd : program.TopLevelWindows())
            if (WindowClass(hWnd) == L"#32770" && IsWindowVisible(hWnd) && WindowText(hWnd) == L"About Corvane Tessaly")
                return hWnd;
        return nullptr;
    }
};

TEST_F(TrayMenuTest, AboutIsGreyedWhileTheAboutBoxIsOpen)
{
    std::vector<bool> rows = ReadMenu();
    ASSERT_EQ(kMenuRows, (int)rows.size());
    EXPECT_TRUE(rows[kSettingRow]);
    EXPECT_TRUE(rows[kAboutRow]);

    // The system menu's About command opens the box.
    PostMessageW(main, WM_SYSCOMMAND, 0x0010, 0);
    HWND about = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (about = AboutBox()) != nullptr; }, 30000)) << "no About box";
    rows = ReadMenu();
    EXPECT_TRUE(rows[kSettingRow]);
    EXPECT_FALSE(rows[kAboutRow]) << "About is not greyed";

    PostMessageW(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil([&] { return AboutBox() == nullptr; }, 30000));
    rows = ReadMenu();
    EXPECT_TRUE(rows[kAboutRow]) << "About stays greyed after the box closed";
    EXPECT_TRUE(program.IsRunning());
}

TEST_F(MainWindowTest, ExitMessageRemovesTheIconAndEndsWithMinusOne)
{
    ASSERT_TRUE(WaitUntil([&] { return TrayIconExists(main, kTrayIconId); }, 30000));
    PostMessageW(main, kExitApp, 0, 0);
    DWORD code = 0;
    ASSERT_TRUE(program.WaitForExit(30000, &code));
    EXPECT_EQ(0xFFFFFFFFu, code);
    EXPECT_FALSE(TrayIconExists(main, kTrayIconId));
}

TEST_F(MainWindowTest, ExitWhileHiddenEndsToo)
{
    PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitVisible(false));
    PostMessageW(main, kExitApp, 0, 0);
    DWORD code = 0;
    ASSERT_TRUE(program.WaitForExit(30000, &code));
    EXPECT_EQ(0xFFFFFFFFu, code);
}

}  // namespace

namespace {

TEST_F(MainWindowTest, ButtonsShowTheirTips)
{
    struct
    {
        int id;
        const wchar_t* tip;
    } tips[] = {
        { 1036, L"Get proxy list" },
        { 1002, L"Hide your real IP" },
        { 1001, L"Switch your IP every X minutes" },
        { 1005, L"Full test for proxies' availability and speed after getting them" },
        { 1004, L"Change configuration" },
        { 1057, L"Check your IP location in Google Map online" },
    };
    SetForegroundWindow(main);
    for (const auto& t : tips) {
        SCOPED_TRACE(t.id);
        HWND button = Item(t.id);
        ASSERT_NE(nullptr, button);
        std::wstring text;
        EXPECT_NE(nullptr, RestPointerOn(program, button, t.tip, &text))
            << "last tip text seen: " << std::string(text.begin(), text.end());
        // Away from the buttons the tip goes.
        MovePointerAway(program, main);
    }
}

}  // namespace
