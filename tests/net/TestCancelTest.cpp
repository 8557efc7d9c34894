// Stopping a run: the stop flag and the cleared running flag, as the
// progress dialog's Cancel sets them, end a run promptly; the next run works.
#include "tests/net/ProxyRunFixture.h"

#include <thread>

using namespace proxyrun;

namespace {

class TestCancelTest : public ProxyRunTest
{
protected:
    // Runs the driver on a thread of its own, as the main window does.
    void Start(bool bSpeed, CProxyList& list)
    {
        m_bSpeed = bSpeed;
        m_bDriverDone = false;
        m_driver = std::thread([this, &list] {
            m_bResult = m_bSpeed ? TestProxySpeed(list) : TestProxyAvailability(list);
            m_bDriverDone = true;
        });
    }
    void Cancel()
    {
        g_bStopTest = true;
        if (m_bSpeed)
            GetTestSpeedWorker().m_bRunning = false;
        else
            GetCheckAnonymousWorker().m_bRunning = false;
    }
    bool WaitForFinish(DWORD dwLimitMs)
    {
        bool bFinished = m_counter.PumpUntil([&] { return m_counter.m_nFinished == 1; }, dwLimitMs);
        if (m_driver.joinable())
            m_driver.join();
        return bFinished;
    }
    void TearDown() override
    {
        if (m_driver.joinable())
            m_driver.join();
        ProxyRunTest::TearDown();
    }

    std::thread m_driver;
    bool m_bSpeed = true;
    volatile bool m_bDriverDone = false;
    bool m_bResult = false;
};

TEST_F(TestCancelTest, SpeedRunKeepsWhatPassedBeforeTheStop)
{
    // One thread: the good proxy first, then a silent one holding the run.
    SetTimeoutSeconds(20);
    GetTestSpeedWorker().m_nMaxThreads = 1;
    CProxyList list;
    Fill(list, { Proxy(kGood), Proxy(kSilent), Proxy(world::kOpenProxyPort), Proxy(kSlow) });
    Start(true, list);
    ASSERT_TRUE(m_counter.PumpUntil([&] { return m_counter.m_steps.size() == 1; }));
    Sleep(300);  // the silent proxy's fetches are under way
    DWORD dwCancel = GetTickCount();
    Cancel();
    ASSERT_TRUE(WaitForFinish(kRunLimitMs));
    // Well inside the 20 s time-out the silent proxy would have taken.
    EXPECT_LT(GetTickCount() - dwCancel, 8000u);
    EXPECT_TRUE(m_bResult);
    EXPECT_EQ((std::vector<int>{ kGood }), Ports(list));
    EXPECT_EQ(2u, m_counter.m_steps.size());  // the stopped proxy still reports
    ExpectWorkerEmpty(GetTestSpeedWorker());

    // A second run after the cancelled one (the dialog clears the flag).
    g_bStopTest = false;
    m_counter.m_nFinished = 0;
    m_counter.m_steps.clear();
    SetTimeoutSeconds(2);
    Fill(list, { Proxy(kSlow), Proxy(kGood), Proxy(world::kProxyPorts[1]) });
    Start(true, list);
    ASSERT_TRUE(WaitForFinish(kRunLimitMs));
    EXPECT_EQ(3, list.GetCount());
    EXPECT_EQ(kSlow, list.GetTail().m_nPort);  // the slowest comes last
    EXPECT_EQ(3u, m_counter.m_steps.size());
    ExpectWorkerEmpty(GetTestSpeedWorker());
}

TEST_F(TestCancelTest, AvailabilityRunStopsStartingBatches)
{
    SetTimeoutSeconds(20);
    GetCheckAnonymousWorker().m_nMaxThreads = 1;
    CProxyList list;
    // First batch: five silent ones (distinct by address text), then good ones.
    const char* const silentAddresses[] = { "127.0.0.1", "localhost", "127.1", "127.0.1", "0x7f.0.0.1" };
    for (const char* pszAddress : silentAddresses) {
        CProxy silent(pszAddress, kSilent, -1, 0, 0, PROXY_SPEED_UNMEASURED);
        list.AddTail(silent);
    }
    CProxy good = Proxy(kGood);
    list.AddTail(good);
    CProxy open = Proxy(world::kOpenProxyPort);
    list.AddTail(open);
    Start(false, list);
    Sleep(1000);
    DWORD dwCancel = GetTickCount();
    Cancel();
    ASSERT_TRUE(WaitForFinish(kRunLimitMs));
    EXPECT_LT(GetTickCount() - dwCancel, 8000u);
    EXPECT_TRUE(list.IsEmpty());
    // Only the batch in flight reported; the second batch never started.
    EXPECT_EQ((std::vector<int>{ 5 }), m_counter.m_steps);
    ExpectWorkerEmpty(GetCheckAnonymousWorker());

    g_bStopTest = false;
    m_counter.m_nFinished = 0;
    SetTimeoutSeconds(2);
    Fill(list, { Proxy(kGood), Proxy(world::kOpenProxyPort) });
    Start(false, list);
    ASSERT_TRUE(WaitForFinish(kRunLimitMs));
    EXPECT_EQ(2, list.GetCount());
}

}  // namespace
