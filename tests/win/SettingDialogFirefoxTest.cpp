// The FireFox box of the settings dialog with the stand-in Firefox installed
// in the prefix: a changed choice rewrites prefs.js at once when Firefox is
// not running, and otherwise only after the user lets the dialog close it.
#include "tests/win/FirefoxTestWorld.h"
#include "tests/win/SettingDialogDriver.h"

using namespace firefox_test;
using namespace settingdlg;

namespace {

const std::string kDirectPrefs =
    "# Mozilla User Preferences\r\nuser_pref(\"a\", 1);\r\nuser_pref(\"network.proxy.type\", 0);\r\n";
const std::string kFollowingPrefs = "# Mozilla User Preferences\r\nuser_pref(\"a\", 1);\r\n";

bool IsChecked(HWND hButton)
{
    return SendMessageW(hButton, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

class SettingDialogFirefoxTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(CUninstallKeys::HasFirefoxKey()) << "the prefix has a Firefox entry of its own";
        ASSERT_TRUE(profiles.IsUsable()) << "the Profiles folder is not empty";
        ASSERT_TRUE(Exists(StandInExe())) << "no stand-in firefox.exe";
        EndAllFirefoxes();
        keys.Add(L"Mozilla Firefox (corvane-test)", StandInDir());
        prefs = profiles.AddProfile(L"corvane-test-d.default", kDirectPrefs);
        // The program looks Firefox up once; here it is looked up with the world in place.
        CFirefoxPaths found;
        found.FindFirefoxExePath();
        found.FindFirefoxPrefsPath();
        ASSERT_EQ(StandInExe(), found.m_szExePath);
        ASSERT_EQ(prefs, found.m_szPrefsPath);
        GetFirefoxPaths() = found;
    }

    void TearDown() override
    {
        EndAllFirefoxes();
        if (process.hProcess)
            CloseHandle(process.hProcess);
    }

    void Start(bool bFirefox)
    {
        sandbox.Start([bFirefox](CSettings& s) { s.GetSwitch()->m_bFirefox = bFirefox; });
    }

    void StartStandIn()
    {
        STARTUPINFOW si = { sizeof(si) };
        ASSERT_TRUE(
            CreateProcessW(GetFirefoxPaths().m_szExePath, NULL, NULL, NULL, FALSE, 0, NULL, NULL, &si, &process));
        CloseHandle(process.hThread);
        process.hThread = NULL;
        ASSERT_TRUE(WaitFor([&] { return FindFirefoxProcess(GetFirefoxPaths()) == process.dwProcessId; }));
    }

    // Opens the dialog on the switch page, flips the FireFox box and presses OK.
    void FlipAndOk(CSettingDialogRun& run, bool bChecked)
    {
        ASSERT_NE(nullptr, run.Dialog());
        ASSERT_TRUE(run.GoToTab(1));
        HWND hBox = run.SwitchItem(IDC_SWITCH_FIREFOX);
        EXPECT_TRUE(IsWindowEnabled(hBox));
        EXPECT_EQ(!bChecked, IsChecked(hBox));
        run.Click(hBox);
        ASSERT_TRUE(WaitFor([&] { return IsChecked(hBox) == bChecked; }));
        run.ClickButton(IDOK);
    }

    static bool StoredFirefox()
    {
        CSettings fresh;
        LoadSettings(fresh);
        return fresh.GetSwitch()->m_bFirefox;
    }

    CUninstallKeys keys;
    CProfilesFolder profiles;
    CSettingsSandbox sandbox{ NULL };
    std::wstring prefs;
    PROCESS_INFORMATION process = {};
};

TEST_F(SettingDialogFirefoxTest, WithoutARunningFirefoxPrefsFollowsAtOnce)
{
    Start(false);
    CSettingDialogRun run;
    FlipAndOk(run, true);
    ASSERT_EQ(IDOK, run.WaitForEnd());
    EXPECT_EQ(kFollowingPrefs, ReadFileBytes(prefs));
    EXPECT_EQ(kDirectPrefs, ReadFileBytes(prefs + L".bkp"));
    EXPECT_TRUE(StoredFirefox());
    EXPECT_EQ(0u, FindFirefoxProcess(GetFirefoxPaths())) << "nothing is started";
}

TEST_F(SettingDialogFirefoxTest, UncheckingGoesBackToDirect)
{
    WriteBytes(prefs, kFollowingPrefs);
    Start(true);
    CSettingDialogRun run;
    FlipAndOk(run, false);
    ASSERT_EQ(IDOK, run.WaitForEnd());
    std::string now = ReadFileBytes(prefs);
    EXPECT_NE(std::string::npos, now.find("network.proxy.type")) << now;
    EXPECT_FALSE(StoredFirefox());
}

TEST_F(SettingDialogFirefoxTest, ARunningFirefoxIsClosedChangedAndStartedOnYes)
{
    Start(false);
    StartStandIn();
    CSettingDialogRun run;
    FlipAndOk(run, true);
    HWND hBox = run.WaitForBox(kFirefoxCloseQuestion);
    ASSERT_NE(nullptr, hBox);
    EXPECT_EQ(std::wstring(AfxGetAppName()), WindowText(hBox));
    ASSERT_TRUE(run.Answer(hBox, IDYES));
    ASSERT_EQ(IDOK, run.WaitForEnd());

    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.hProcess, 30000));
    EXPECT_EQ(kFollowingPrefs, ReadFileBytes(prefs));
    EXPECT_TRUE(WaitFor([] { return FindFirefoxProcess(GetFirefoxPaths()) != 0; }, 30000));
    EXPECT_NE(process.dwProcessId, FindFirefoxProcess(GetFirefoxPaths()));
    EXPECT_TRUE(StoredFirefox());
}

TEST_F(SettingDialogFirefoxTest, AnsweringNoLeavesFirefoxAndPrefsButKeepsTheChoice)
{
    Start(false);
    StartStandIn();
    CSettingDialogRun run;
    FlipAndOk(run, true);
    HWND hBox = run.WaitForBox(kFirefoxCloseQuestion);
    ASSERT_NE(nullptr, hBox);
    ASSERT_TRUE(run.Answer(hBox, IDNO));
    ASSERT_EQ(IDOK, run.WaitForEnd());

    EXPECT_EQ(kDirectPrefs, ReadFileBytes(prefs));
    EXPECT_FALSE(Exists(prefs + L".bkp"));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(process.hProcess, 0));
    EXPECT_TRUE(StoredFirefox()) << "the start-up check offers the change again";
}

TEST_F(SettingDialogFirefoxTest, AnUnchangedChoiceAsksNothing)
{
    Start(false);
    StartStandIn();
    CSettingDialogRun run;
    ASSERT_NE(nullptr, run.Dialog());
    EXPECT_FALSE(IsChecked(run.SwitchItem(IDC_SWITCH_FIREFOX)));
    run.ClickButton(IDOK);
    ASSERT_EQ(IDOK, run.WaitForEnd());
    EXPECT_EQ(kDirectPrefs, ReadFileBytes(prefs));
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(process.hProcess, 0));
}

}  // namespace
