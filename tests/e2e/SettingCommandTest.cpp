// The settings dialog in the running program: opened from the Setting button
// (the list has the focus afterwards) and from the notification-area menu,
// and Reset to Defaults fetching the maker's test definition.
#include "tests/e2e/CommandsFixture.h"
#include "tests/support/E2eControlIds.h"

using namespace commands;

namespace {

class SettingCommandTest : public CommandsTest
{
protected:
    bool WritesSettings() const override { return true; }
    void TuneSettings(CSettings& settings) override
    {
        settings.GetSwitch()->m_nInterval = 7;
        lstrcpynA(settings.GetTest()->m_szURL, "http://127.0.0.1:18210/old.html", 256);
    }

    // A control of one of the dialog's pages (children of its tab control).
    static HWND PageItem(HWND dlg, int id)
    {
        for (HWND page = GetWindow(GetDlgItem(dlg, kTabId), GW_CHILD); page; page = GetWindow(page, GW_HWNDNEXT))
            if (HWND item = GetDlgItem(page, id))
                return item;
        return nullptr;
    }

    HWND FocusOfProgram() const
    {
        GUITHREADINFO info = { sizeof(info) };
        GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info);
        return info.hwndFocus;
    }

    static void Press(HWND dlg, int id)
    {
        PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
    }
};

TEST_F(SettingCommandTest, SettingButtonOpensTheDialogAndOkSavesThenTheListHasTheFocus)
{
    Click(kSettingId);
    HWND dlg = WaitDialog(L"Setting");
    ASSERT_NE(nullptr, dlg) << "no settings dialog";
    EXPECT_EQ(main, GetWindow(dlg, GW_OWNER));
    EXPECT_FALSE(IsWindowEnabled(main)) << "the dialog is modal";
    HWND interval = PageItem(dlg, 1016);
    ASSERT_NE(nullptr, interval);
    EXPECT_EQ(L"7", WindowText(interval));
    SendMessageW(interval, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"9"));
    Press(dlg, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }, 30000));
    EXPECT_NE(std::string::npos, SettingsText().find("Interval\t9\r\n"));
    EXPECT_TRUE(WaitUntil([&] { return FocusOfProgram() == Item(kListId); }, 10000));
}

TEST_F(SettingCommandTest, TrayMenuSettingOpensTheDialogAndCancelSavesNothing)
{
    const std::string before = SettingsText();
    Command(kTrayMenuSetting);
    HWND dlg = WaitDialog(L"Setting");
    ASSERT_NE(nullptr, dlg) << "no settings dialog";
    SendMessageW(PageItem(dlg, 1016), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"11"));
    Press(dlg, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }, 30000));
    EXPECT_EQ(before, SettingsText());
    EXPECT_TRUE(IsWindowEnabled(main));
}

TEST_F(SettingCommandTest, ResetTakesTheTestPageFromTheMakersServer)
{
    Click(kSettingId);
    HWND dlg = WaitDialog(L"Setting");
    ASSERT_NE(nullptr, dlg) << "no settings dialog";
    Press(dlg, kResetId);
    EXPECT_EQ(
        L"When you reset, any changes you've made will be reverted to the default settings."
        L"Do you want to reset to defaults?",
        AnswerMessageBox(IDYES));
    HWND url = PageItem(dlg, 1010);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(url) == L"http://127.0.0.1:18188/test.htm"; }, 30000))
        << "shows " << std::string(WindowText(url).begin(), WindowText(url).end());
    EXPECT_EQ(L"TessalyOK", WindowText(PageItem(dlg, 1013)));
    EXPECT_EQ(L"5", WindowText(PageItem(dlg, 1016)));
    Press(dlg, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dlg); }, 30000));
    EXPECT_NE(std::string::npos, SettingsText().find("URL\thttp://127.0.0.1:18188/test.htm\r\n"));
    EXPECT_NE(std::string::npos, SettingsText().find("Interval\t5\r\n"));
}

}  // namespace
