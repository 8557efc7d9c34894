// The real program at start-up with a running Firefox whose prefs.js does
// not follow the system's proxy setting, and the settings asking for it.
#include "tests/support/MakerClient.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/win/FirefoxTestWorld.h"

#include <gtest/gtest.h>

namespace {

using namespace firefox_test;

const wchar_t kQuestion[] = L"Firefox'setting is not consistent,Do you want to close Firefox to change its setting?";

// Only the switch section: the others take their defaults.
const char kSettingsWithFirefox[] = "Switch:\r\nFirefox\t1\r\nRatio\t100\r\nInterval\t5\r\n";

const std::string kPrefs =
    "# Mozilla User Preferences\r\nuser_pref(\"a\", 1);\r\nuser_pref(\"network.proxy.type\", 1);\r\n"
    "user_pref(\"b\", 2);\r\n";

TEST(FirefoxStartupE2ETest, AnsweringNoLeavesFirefoxAndPrefsAlone)
{
    ASSERT_FALSE(CUninstallKeys::HasFirefoxKey()) << "the prefix has a Firefox entry of its own";
    maker::ScopedReset reset;
    CUninstallKeys keys;
    CProfilesFolder profiles;
    ASSERT_TRUE(profiles.IsUsable()) << "the Profiles folder is not empty";
    ASSERT_TRUE(Exists(StandInExe())) << "no stand-in firefox.exe";
    EndAllFirefoxes();
    keys.Add(L"Mozilla Firefox (corvane-test)", StandInDir());
    std::wstring prefs = profiles.AddProfile(L"corvane-test-e.default", kPrefs);

    CFirefoxPaths paths = MakePaths(StandInExe(), prefs);
    STARTUPINFOW si = { sizeof(si) };
    PROCESS_INFORMATION firefox = {};
    ASSERT_TRUE(CreateProcessW(paths.m_szExePath, NULL, NULL, NULL, FALSE, 0, NULL, NULL, &si, &firefox));
    CloseHandle(firefox.hThread);
    ASSERT_TRUE(::WaitUntil([&] { return FindFirefoxProcess(paths) == firefox.dwProcessId; }, 30000));

    std::wstring dir = MakeTempDir();
    ASSERT_FALSE(dir.empty());
    ASSERT_TRUE(WriteFileBytes(dir + L"\\setting.crv", kSettingsWithFirefox));
    {
        ProgramUnderTest program;
        ASSERT_TRUE(program.Start(dir));
        HWND box = nullptr;
        ASSERT_TRUE(::WaitUntil([&] { return (box = program.MessageBoxWindow()) != nullptr; }))
            << "no question was asked";
        EXPECT_EQ(kQuestion, DialogItemText(box, 0xFFFF));
        PostMessageW(box, WM_COMMAND, IDNO, 0);

        HWND main = nullptr;
        ASSERT_TRUE(::WaitUntil([&] {
            main = program.MainWindow();
            return main && IsWindowVisible(main);
        })) << "start-up did not go on";
        EXPECT_EQ(kPrefs, ReadFileBytes(prefs));
        EXPECT_FALSE(Exists(prefs + L".bkp"));
        EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(firefox.hProcess, 0)) << "Firefox was ended";
        EXPECT_EQ(firefox.dwProcessId, FindFirefoxProcess(paths));
    }
    RemoveTree(dir);
    EndAllFirefoxes();
    CloseHandle(firefox.hProcess);
}

}  // namespace
