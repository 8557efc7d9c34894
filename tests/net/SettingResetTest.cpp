// Reset to Defaults in the settings dialog against the local maker's server:
// the test page and expected text come from its testurl.txt.
#include "net/ServerRequest.h"
#include "tests/support/MakerClient.h"
#include "tests/win/SettingDialogDriver.h"

using namespace settingdlg;

namespace {

const wchar_t kWorldUrl[] = L"http://127.0.0.1:18188/test.htm";
const wchar_t kWorldText[] = L"TessalyOK";

TEST(SettingResetTest, ResetFillsTheTestPageFromTheMakersTestDefinition)
{
    maker::ScopedReset serverReset;
    CSettingsSandbox sandbox(FetchTestDefinition);
    sandbox.Start([](CSettings& s) {
        s.GetTest()->m_nTestType = 2;
        s.GetTest()->m_nThreadCount = 7;
        strcpy(s.GetTest()->m_szURL, "http://127.0.0.1:18210/old.html");
        strcpy(s.GetTest()->m_szCorrectValue, "Old text");
        s.GetSwitch()->m_nRatio = 40;
        strcpy(s.GetMisc()->m_szProxyUser, "keeper");
    });
    const int nBefore = maker::RequestCount(maker::kTestUrlPath);

    CSettingDialogRun run;
    ASSERT_NE(nullptr, run.Dialog());
    EXPECT_EQ(L"http://127.0.0.1:18210/old.html", WindowText(run.TestItem(IDC_TEST_URL)));
    run.ClickButton(IDC_SETTING_RESET);
    HWND hBox = run.WaitForBox(kResetQuestion);
    ASSERT_NE(nullptr, hBox);
    ASSERT_TRUE(run.Answer(hBox, IDYES));
    HWND hUrl = run.TestItem(IDC_TEST_URL);
    EXPECT_TRUE(WaitFor([&] { return WindowText(hUrl) == kWorldUrl; }))
        << CStringA(WindowText(hUrl).c_str()).GetString();
    EXPECT_EQ(kWorldText, WindowText(run.TestItem(IDC_TEST_EXPECTED)));
    EXPECT_EQ(L"10", WindowText(run.TestItem(IDC_TEST_THREADS)));
    EXPECT_EQ(L"100", WindowText(run.SwitchItem(IDC_SWITCH_RATIO)));
    EXPECT_EQ(nBefore + 1, maker::RequestCount(maker::kTestUrlPath));
    run.ClickButton(IDCANCEL);
    ASSERT_EQ(IDCANCEL, run.WaitForEnd());

    // Saved at once: Cancel afterwards does not undo it.
    CSettings fresh;
    ASSERT_TRUE(LoadSettings(fresh));
    EXPECT_STREQ("http://127.0.0.1:18188/test.htm", fresh.GetTest()->m_szURL);
    EXPECT_STREQ("TessalyOK", fresh.GetTest()->m_szCorrectValue);
    EXPECT_EQ(0, fresh.GetTest()->m_nTestType);
    EXPECT_EQ(10, fresh.GetTest()->m_nThreadCount);
    EXPECT_EQ(100, fresh.GetSwitch()->m_nRatio);
    EXPECT_STREQ("keeper", fresh.GetMisc()->m_szProxyUser);
}

TEST(SettingResetTest, AServerWithoutADefinitionGivesTheBuiltInTestPage)
{
    maker::ScopedReset serverReset;
    CSettingsSandbox sandbox(FetchTestDefinition);
    sandbox.Start([](CSettings& s) { strcpy(s.GetTest()->m_szURL, "http://127.0.0.1:18210/old.html"); });
    ASSERT_TRUE(maker::SetMode("empty", maker::kTestUrlPath, 1));

    CSettingDialogRun run;
    ASSERT_NE(nullptr, run.Dialog());
    run.ClickButton(IDC_SETTING_RESET);
    HWND hBox = run.WaitForBox(kResetQuestion);
    ASSERT_NE(nullptr, hBox);
    ASSERT_TRUE(run.Answer(hBox, IDYES));
    HWND hUrl = run.TestItem(IDC_TEST_URL);
    EXPECT_TRUE(WaitFor([&] { return WindowText(hUrl) == std::wstring(CString(DEFAULT_TEST_URL)); }));
    EXPECT_EQ(std::wstring(CString(DEFAULT_TEST_VALUE)), WindowText(run.TestItem(IDC_TEST_EXPECTED)));
    run.ClickButton(IDCANCEL);
    ASSERT_EQ(IDCANCEL, run.WaitForEnd());
}

}  // namespace
