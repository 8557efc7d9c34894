// While a harvest replaces the global list from its thread, Hide IP and Auto
// Hide IP do nothing; once it is over they act again. The harvested proxy
// is a listener that never answers, so the harvest's speed test holds the
// list for the whole time-out.
#include "tests/e2e/CommandsFixture.h"
#include "tests/support/E2eControlIds.h"

#include "tests/LoopbackListener.h"
#include "tests/TestFiles.h"

using namespace commands;

namespace {

class HarvestHoldOffTest : public CommandsTest
{
protected:
    bool WritesSettings() const override { return true; }

    void TuneSettings(CSettings& settings) override
    {
        settings.GetTest()->m_nTimeoutSeconds = 15;
        WriteOneProxyHarvest(workDir, silent.Port());
    }

    bool HarvestOver() const
    {
        return GetFileAttributesW((workDir + L"\\AdminFile\\availProxyList.txt").c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    LoopbackListener silent;
};

}  // namespace

TEST_F(HarvestHoldOffTest, HideCommandsWaitForTheHarvest)
{
    ASSERT_TRUE(silent.Ok());
    PostMessageW(main, WM_HARVEST_RESTART, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return DialogItemText(main, kStatusId) == L"Test Speed: 0 / 1"; }, 60000))
        << "the harvest did not reach its speed test";

    for (int id : { kHideIPId, kAutoHideIPId }) {
        SCOPED_TRACE(id);
        Click(id);
        SendToMain(WM_NULL, 0, 0);
        EXPECT_FALSE(WaitUntil([&] { return FindMessageBox() != nullptr; }, 1500));
        EXPECT_EQ(0u, ReadInternetSetting().enable);
    }
    ASSERT_FALSE(HarvestOver()) << "the harvest ended before the commands were tried";

    ASSERT_TRUE(WaitUntil([&] { return HarvestOver(); }, 120000));
    SendToMain(WM_NULL, 0, 0);
    // The silent proxy failed the speed test: the list is empty, and Hide IP
    // says so once the harvest thread has let go of it (just after the file).
    ASSERT_TRUE(WaitUntil([&] { return list->Count() == 0; }, 10000));
    bool answered = false;
    for (int attempt = 0; attempt < 20 && !answered; ++attempt) {
        Click(kHideIPId);
        std::wstring text;
        answered = WaitUntil([&] { return FindMessageBox(&text) != nullptr; }, 1000);
        if (answered)
            EXPECT_EQ(L"There is no proxy to hide ip, please get proxy firstly.", AnswerMessageBox());
    }
    EXPECT_TRUE(answered);
}
