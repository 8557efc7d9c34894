// The speed test after Get Proxy runs as many test threads at once as the
// settings' Test Thread Count says: five fetches each, so a farm of slow
// proxies sees at most five times that many connections at once, and that
// many when the list is long enough.
#include "tests/e2e/CommandsFixture.h"

#include "tests/net/LoopbackFarm.h"

using namespace commands;

namespace {

const int kFarmPorts = 40;
const DWORD kFarmDelayMs = 2000;

class ThreadLimitTest : public CommandsTest, public ::testing::WithParamInterface<int>
{
protected:
    bool WritesSettings() const override { return true; }
    void TuneSettings(CSettings& settings) override
    {
        settings.GetTest()->m_nTestType = 2;
        settings.GetTest()->m_nThreadCount = GetParam();
        settings.GetTest()->m_nTimeoutSeconds = 30;
        // The farm's page.
        settings.GetTest()->SetCorrectValue("engine");
    }
};

}  // namespace

TEST_P(ThreadLimitTest, PeakOfConcurrentFetchesFollowsTheTestThreadCount)
{
    CLoopbackFarm farm(kFarmPorts, kFarmDelayMs);
    ASSERT_EQ(kFarmPorts, (int)farm.Ports().size());
    std::string reply;
    for (int port : farm.Ports())
        reply += ProxyLine("127.0.0.1", port, 234, 1, 0, 0);
    GetProxy(reply);
    EXPECT_EQ(L"The proxy test is finished!", AnswerMessageBox(IDOK, 120000));
    ASSERT_TRUE(WaitRows(kFarmPorts));

    const int nFetches = 5 * GetParam();
    EXPECT_LE(farm.PeakOpen(), nFetches);
    // Each thread holds its five fetches for the farm's delay, so the slots
    // fill up (a few fetches may be between two threads).
    EXPECT_GE(farm.PeakOpen(), nFetches - 5);
    for (int n : farm.Counts())
        EXPECT_EQ(5, n);
}

INSTANTIATE_TEST_SUITE_P(Counts, ThreadLimitTest, ::testing::Values(5, 7));
