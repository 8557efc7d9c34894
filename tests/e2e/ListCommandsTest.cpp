// The real program's commands on the proxy list: removal, selection, import
// and export through the common file dialogs, the tray menu and the links.
#include "tests/e2e/CommandsFixture.h"
#include "tests/support/E2eControlIds.h"

namespace {

using namespace commands;

class ListCommandsTest : public CommandsTest
{
protected:
    // Settings of the test's own, so the replace-or-append answers start
    // from the defaults and land in this directory's setting.crv.
    bool WritesSettings() const override { return true; }

    std::wstring File(const wchar_t* name) const { return workDir + L"\\" + name; }

    bool WaitFile(const std::wstring& path, const std::string& bytes)
    {
        return WaitUntil([&] { return ReadFileBytes(path) == bytes; }, 30000);
    }

    // Nothing comes up within a moment.
    bool StaysQuiet()
    {
        return !WaitUntil([&] { return FindMessageBox() || FindFileDialog() || FindDialog(L"Replace or Append"); },
                          1500);
    }
};

TEST_F(ListCommandsTest, RemoveSelectedTakesRowsTwoAndFiveOfEight)
{
    FillList(NumberedProxies(8), 8);
    ASSERT_TRUE(list->SelectOnly({ 2, 5 }));
    Command(kContextRemoveSelected);
    ASSERT_TRUE(WaitRows(6));
    EXPECT_EQ(NumberedAddresses({ 1, 2, 4, 5, 7, 8 }), Addresses());

    ASSERT_TRUE(list->SelectOnly({ 0, 5 }));
    Command(kRemoveSelected);
    ASSERT_TRUE(WaitRows(4));
    EXPECT_EQ(NumberedAddresses({ 2, 4, 5, 7 }), Addresses());
}

TEST_F(ListCommandsTest, RemoveSelectedWithoutSelectionSaysSoAndKeepsTheList)
{
    FillList(NumberedProxies(3), 3);
    ASSERT_TRUE(list->SelectOnly({}));
    Command(kRemoveSelected);
    EXPECT_EQ(L"No selected proxy to remove!", AnswerMessageBox());
    EXPECT_EQ(3, list->Count());
}

TEST_F(ListCommandsTest, DeleteKeyRemovesTheSelectedRows)
{
    FillList(NumberedProxies(4), 4);
    ASSERT_TRUE(list->SelectOnly({ 0, 3 }));
    PostMessageW(Item(kListId), WM_KEYDOWN, VK_DELETE, 0);
    ASSERT_TRUE(WaitRows(2));
    EXPECT_EQ(NumberedAddresses({ 2, 3 }), Addresses());
}

TEST_F(ListCommandsTest, RemoveSelectedTakesMoreThanFiveHundredRows)
{
    FillList(NumberedProxies(600), 600);
    ASSERT_TRUE(list->SetSelected(-1, true));
    ASSERT_TRUE(list->SetSelected(599, false));
    Command(kRemoveSelected);
    ASSERT_TRUE(WaitRows(1, 120000));
    EXPECT_EQ(NumberedAddresses({ 600 }), Addresses());
}

TEST_F(ListCommandsTest, RemoveAllAsksAndCancelKeepsTheList)
{
    Command(kRemoveAll);
    EXPECT_EQ(L"No proxy to remove!", AnswerMessageBox());

    FillList(NumberedProxies(5), 5);
    Command(kContextRemoveAll);
    EXPECT_EQ(L"Do you really want to remove all proxies?", AnswerMessageBox(IDCANCEL));
    Sleep(500);
    EXPECT_EQ(5, list->Count());

    Command(kRemoveAll);
    EXPECT_EQ(L"Do you really want to remove all proxies?", AnswerMessageBox(IDOK));
    EXPECT_TRUE(WaitRows(0));
}

TEST_F(ListCommandsTest, InvertSelectionFlipsEveryRow)
{
    FillList(NumberedProxies(4), 4);
    ASSERT_TRUE(list->SelectOnly({}));
    Command(kInvertSelection);
    EXPECT_TRUE(WaitUntil([&] { return list->SelectedRows().size() == 4; }, 10000));

    ASSERT_TRUE(list->SelectOnly({ 1, 3 }));
    Command(kInvertSelection);
    EXPECT_TRUE(WaitUntil([&] { return list->SelectedRows() == std::vector<int>({ 0, 2 }); }, 10000));
}

TEST_F(ListCommandsTest, RemovingTheRowInUseSwitchesToTheNextProxy)
{
    FillList(NumberedProxies(5), 5);
    Click(kAutoHideIPId);
    ASSERT_TRUE(WaitUntil([&] { return DialogItemText(main, kCurrentIPId) == L"10.0.0.1"; }, 30000))
        << "automatic mode did not take the first proxy";

    // Another row: the upstream stays.
    ASSERT_TRUE(list->SelectOnly({ 2 }));
    Command(kRemoveSelected);
    ASSERT_TRUE(WaitRows(4));
    Sleep(500);
    EXPECT_EQ(L"10.0.0.1", DialogItemText(main, kCurrentIPId));

    // The row in use: the entry that moved into its place takes over.
    ASSERT_TRUE(list->SelectOnly({ 0 }));
    Command(kContextRemoveSelected);
    ASSERT_TRUE(WaitRows(3));
    EXPECT_TRUE(WaitUntil([&] { return DialogItemText(main, kCurrentIPId) == L"10.0.0.2"; }, 30000))
        << "the current address is "
        << std::string(DialogItemText(main, kCurrentIPId).begin(), DialogItemText(main, kCurrentIPId).end());
    Click(kAutoHideIPId);
}

TEST_F(ListCommandsTest, ExportWritesTheWholeListOrTheSelectedRows)
{
    Command(kExportAll);
    EXPECT_EQ(L"No proxy to export!", AnswerMessageBox());

    FillList(NumberedProxies(4), 4);
    std::wstring offered;
    Command(kExportAll);
    AnswerFileDialog(File(L"all.txt"), &offered);
    EXPECT_EQ(L"proxy.txt", offered);
    EXPECT_TRUE(WaitFile(File(L"all.txt"), NumberedProxies(4)));

    ASSERT_TRUE(list->SelectOnly({}));
    Command(kExportSelected);
    EXPECT_EQ(L"No selected proxy to export!", AnswerMessageBox());

    ASSERT_TRUE(list->SelectOnly({ 1, 3 }));
    Command(kExportSelected);
    AnswerFileDialog(File(L"selected.txt"), &offered);
    EXPECT_EQ(L"proxy.txt", offered);
    EXPECT_TRUE(WaitFile(File(L"selected.txt"), NumberedProxies(1, 2) + NumberedProxies(1, 4)));

    // Cancel writes nothing.
    Command(kExportAll);
    AnswerFileDialog(std::wstring());
    EXPECT_TRUE(StaysQuiet());
    EXPECT_EQ(4, list->Count());
}

TEST_F(ListCommandsTest, ImportRoundTripWithTheReplaceOrAppendAnswers)
{
    FillList(NumberedProxies(4), 4);
    Command(kExportAll);
    AnswerFileDialog(File(L"four.txt"));
    ASSERT_TRUE(WaitFile(File(L"four.txt"), NumberedProxies(4)));
    ASSERT_TRUE(WriteFileBytes(File(L"two.txt"), NumberedProxies(2, 11)));

    // Append: asked with the stored answer (replace) pre-selected.
    Command(kImport);
    EXPECT_EQ(kReplaceId, AnswerReplaceDialog(kAppendId));
    EXPECT_EQ(L"Open", AnswerFileDialog(File(L"two.txt")));
    ASSERT_TRUE(WaitRows(6));
    EXPECT_EQ(NumberedAddresses({ 1, 2, 3, 4, 11, 12 }), Addresses());
    EXPECT_NE(std::string::npos, SettingsText().find("ReplacebyImport\t0\r\n"));

    // Replace: the last answer comes up pre-selected.
    Command(kImport);
    EXPECT_EQ(kAppendId, AnswerReplaceDialog(kReplaceId));
    AnswerFileDialog(File(L"two.txt"));
    ASSERT_TRUE(WaitRows(2));
    EXPECT_EQ(NumberedAddresses({ 11, 12 }), Addresses());
    EXPECT_NE(std::string::npos, SettingsText().find("ReplacebyImport\t1\r\n"));

    // Cancel on the question: no file dialog, nothing stored, nothing read.
    std::string settingsBefore = SettingsText();
    Command(kImport);
    AnswerReplaceDialog(IDCANCEL);
    EXPECT_TRUE(StaysQuiet());
    EXPECT_EQ(2, list->Count());
    EXPECT_EQ(settingsBefore, SettingsText());

    // Cancel on the file dialog: the list stays.
    Command(kImport);
    AnswerReplaceDialog(kReplaceId);
    AnswerFileDialog(std::wstring());
    EXPECT_TRUE(StaysQuiet());
    EXPECT_EQ(2, list->Count());

    // An empty list asks nothing; the exported file comes back whole.
    Command(kRemoveAll);
    AnswerMessageBox(IDOK);
    ASSERT_TRUE(WaitRows(0));
    Command(kImport);
    AnswerFileDialog(File(L"four.txt"));
    ASSERT_TRUE(WaitRows(4));
    EXPECT_EQ(NumberedAddresses({ 1, 2, 3, 4 }), Addresses());
    EXPECT_EQ((std::vector<std::wstring>{ L"8081", L"8082", L"8083", L"8084" }), Ports());
}

TEST_F(ListCommandsTest, TestCommandsOnAnEmptyListSaySo)
{
    Click(kTestSpeedId);
    EXPECT_EQ(L"There is no proxy to test speed, please get proxy firstly.", AnswerMessageBox());
    Command(kTestAvailability);
    EXPECT_EQ(L"There is no proxy to test availablity, please get proxy firstly.", AnswerMessageBox());
}

TEST_F(ListCommandsTest, TrayOpenShowsTheHiddenWindow)
{
    PostMessageW(main, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, 30000));
    Command(kTrayOpen);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && !IsIconic(main); }, 30000));
}

TEST_F(ListCommandsTest, TrayAboutShowsTheAboutBoxUntilOk)
{
    Command(kTrayAbout);
    HWND about = WaitDialog(L"About Corvane Tessaly");
    ASSERT_NE(nullptr, about);
    EXPECT_EQ(L"Version: 1.2.8", DialogItemText(about, 1063));
    PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 30000));

    // And again: the first one let go of its flag.
    Command(kTrayAbout);
    about = WaitDialog(L"About Corvane Tessaly");
    ASSERT_NE(nullptr, about);
    PostMessageW(about, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }, 30000));
}

TEST_F(ListCommandsTest, LinksAreOpenedWithTheShellsOpenVerb)
{
    Command(kTrayHelp);
    Command(kTrayWebSite);
    Click(kCheckIPId);
    std::wstring log = workDir + L"\\links.log";
    ASSERT_TRUE(WaitUntil(
        [&] {
            std::string bytes = ReadFileBytes(log);
            return std::count(bytes.begin(), bytes.end(), '\n') == 3;
        },
        30000))
        << ReadFileBytes(log);

    char owner[32];
    snprintf(owner, sizeof(owner), "%llx", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(main)));
    std::string tail = "\t\t\t5\t" + std::string(owner) + "\r\n";
    EXPECT_EQ("open\thttp://www.corvanetessaly.com/support.htm" + tail + "open\thttp://www.corvanetessaly.com/" + tail +
                  "open\thttp://www.proxy-atlas.example/" + tail,
              ReadFileBytes(log));
    // Check IP hands the focus to the list.
    EXPECT_TRUE(WaitUntil([&] { return FocusedWindow() == Item(kListId); }, 10000));
}

TEST_F(ListCommandsTest, TrayExitEndsTheProgramAndTakesTheIcon)
{
    ASSERT_TRUE(WaitUntil([&] { return TrayIconExists(main, kTrayIconId); }, 30000));
    Command(kTrayExit);
    DWORD code = 0;
    ASSERT_TRUE(program.WaitForExit(30000, &code));
    EXPECT_EQ(0xFFFFFFFFu, code);
    EXPECT_FALSE(TrayIconExists(main, kTrayIconId));
}

}  // namespace
