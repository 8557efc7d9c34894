// Larger runs against a farm of loopback proxies that count their
// connections: within one run no proxy is tested twice, none is lost, the
// thread limit holds, and the worker is empty afterwards.
#include "tests/net/LoopbackFarm.h"
#include "tests/net/ProxyRunFixture.h"

using namespace proxyrun;

namespace {

constexpr int kFarmPorts = 40;
constexpr DWORD kFarmDelayMs = 150;
constexpr int kThreads = 4;

struct RunKind
{
    bool bSpeed;
    int nConnectionsPerProxy;  // fetches of one proxy
    int nProxiesPerThread;     // proxies one test thread takes on
};

class ProxyFarmRunTest : public ProxyRunTest
{};

TEST_F(ProxyFarmRunTest, EveryProxyIsTestedOnceAndComesBackOnce)
{
    CLoopbackFarm farm(kFarmPorts, kFarmDelayMs);
    ASSERT_EQ(kFarmPorts, (int)farm.Ports().size());
    const RunKind kinds[] = { { true, 5, 1 }, { false, 1, 5 } };
    for (const RunKind& kind : kinds) {
        SCOPED_TRACE(kind.bSpeed ? "speed" : "availability");
        farm.Reset();
        m_counter.m_steps.clear();
        m_counter.m_nFinished = 0;
        CWorker& worker = kind.bSpeed ? (CWorker&)GetTestSpeedWorker() : (CWorker&)GetCheckAnonymousWorker();
        worker.m_nMaxThreads = kThreads;

        // Every proxy twice: first with its own fields, later again with
        // others; the later copy must neither be tested nor come back.
        CProxyList list;
        for (int port : farm.Ports()) {
            CProxy first = Proxy(port, port % 100, 1, 1000 + port % 7);
            list.AddTail(first);
        }
        for (int i = kFarmPorts - 1; i >= 0; --i) {
            CProxy again = Proxy(farm.Ports()[i], 3, 2, 5);
            list.AddTail(again);
        }

        ASSERT_TRUE(kind.bSpeed ? TestProxySpeed(list) : TestProxyAvailability(list));
        m_counter.PumpUntil([&] { return m_counter.m_nFinished == 1; });

        std::vector<int> counts = farm.Counts();
        for (int i = 0; i < kFarmPorts; ++i)
            EXPECT_EQ(kind.nConnectionsPerProxy, counts[i]) << "port " << farm.Ports()[i];

        ASSERT_EQ(kFarmPorts, list.GetCount());
        for (int port : farm.Ports()) {
            const CProxy* pFound = Find(list, port);
            ASSERT_NE((const CProxy*)NULL, pFound) << "port " << port;
            EXPECT_EQ(port % 100, pFound->m_nCountry);
            EXPECT_EQ(1, pFound->m_nType);
            if (kind.bSpeed) {
                EXPECT_EQ(5, pFound->m_nUptime);
                EXPECT_GE(pFound->m_nSpeed, (int)kFarmDelayMs - 10);
            } else
                EXPECT_EQ(1000 + port % 7, pFound->m_nSpeed);
        }
        int nLast = -1;
        for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
            int nSpeed = list.GetNext(pos).m_nSpeed;
            EXPECT_LE(nLast, nSpeed);
            nLast = nSpeed;
        }

        // One notice per thread, for every proxy exactly once.
        EXPECT_EQ(kFarmPorts, m_counter.StepSum());
        EXPECT_EQ((size_t)(kFarmPorts / kind.nProxiesPerThread), m_counter.m_steps.size());
        EXPECT_EQ(1, m_counter.m_nFinished);

        // The limit held, and was used.
        EXPECT_LE(farm.PeakOpen(), kThreads * 5);
        EXPECT_GE(farm.PeakOpen(), 10);
        ExpectWorkerEmpty(worker);
        EXPECT_TRUE(worker.m_bDone);
    }
}

}  // namespace
