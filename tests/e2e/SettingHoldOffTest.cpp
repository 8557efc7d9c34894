// While a proxy test or a harvest runs, its threads read the test page and
// expected text: the Setting button and the tray menu's Setting open no
// settings dialog meanwhile, and the tray menu shows Setting greyed. The
// proxy tested is a listener that never answers, so each run holds for the
// whole time-out.
#include "tests/e2e/CommandsFixture.h"
#include "tests/e2e/TrayMenuRows.h"

#include "tests/LoopbackListener.h"
#include "tests/TestFiles.h"

using namespace commands;

namespace {

class SettingHoldOffTest : public CommandsTest
{
protected:
    bool WritesSettings() const override { return true; }

    void TuneSettings(CSettings& settings) override
    {
        settings.GetTest()->m_nTestType = 2;
        settings.GetTest()->m_nTimeoutSeconds = 15;
        WriteOneProxyHarvest(workDir, silent.Port());
    }

    // Neither command brings the settings dialog up, and the tray menu
    // offers Setting greyed.
    void ExpectSettingHeldOff()
    {
        for (bool bTray : { false, true }) {
            SCOPED_TRACE(bTray ? "tray menu" : "button");
            if (bTray)
                Command(kTrayMenuSetting);
            else
                Click(kSettingId);
            SendToMain(WM_NULL, 0, 0);
            EXPECT_EQ(nullptr, WaitDialog(L"Setting", 1500)) << "the settings dialog opened";
        }
        EXPECT_FALSE(ReadTrayMenu(program, main)[kSettingRow]) << "Setting is not greyed";
    }

    // Closes a settings dialog that a failed hold-off let through.
    void CloseSettingDialog()
    {
        if (HWND dlg = FindDialog(L"Setting"))
            PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }

    LoopbackListener silent;
};

}  // namespace

TEST_F(SettingHoldOffTest, SettingWaitsForTheSpeedTestOfGetProxy)
{
    ASSERT_TRUE(silent.Ok());
    GetProxy(ProxyLine("127.0.0.1", silent.Port(), 234, 1, 0, 0));
    HWND progress = WaitDialog(L"Testing");
    ASSERT_NE(nullptr, progress) << "no progress dialog";

    ExpectSettingHeldOff();
    CloseSettingDialog();
    ASSERT_TRUE(IsWindow(progress)) << "the run ended before the commands were tried";

    // Once the run is over, Setting opens the dialog again.
    EXPECT_EQ(L"The proxy test is finished!", AnswerMessageBox(IDOK, 60000));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(progress); }, 30000));
    Click(kSettingId);
    HWND dlg = WaitDialog(L"Setting");
    EXPECT_NE(nullptr, dlg);
    CloseSettingDialog();
}

TEST_F(SettingHoldOffTest, SettingWaitsForTheHarvest)
{
    ASSERT_TRUE(silent.Ok());
    PostMessageW(main, WM_HARVEST_RESTART, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return DialogItemText(main, kStatusId) == L"Test Speed: 0 / 1"; }, 60000))
        << "the harvest did not reach its speed test";

    ExpectSettingHeldOff();
    CloseSettingDialog();
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((workDir + L"\\AdminFile\\availProxyList.txt").c_str()))
        << "the harvest ended before the commands were tried";
}
