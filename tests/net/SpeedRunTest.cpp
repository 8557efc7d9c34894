// Speed runs through real proxies on loopback: five fetches per proxy with
// the relay's authorization header.
#include "tests/net/ProxyRunFixture.h"

#include "app/CorvaneMessages.h"
#include "net/SpeedTest.h"
#include "tests/support/ScopedOverride.h"

#include <algorithm>

using namespace proxyrun;

namespace {

class SpeedRunTest : public ProxyRunTest
{};

struct Fate
{
    int nPort;
    int nUptime;  // 0: dropped
};

TEST_F(SpeedRunTest, EachProxyGetsItsUptimeOrIsDropped)
{
    const Fate fates[] = {
        { world::kProxyPorts[0], 5 },  // tinyproxy with the right password
        { world::kProxyPorts[1], 5 },
        { world::kProxyPorts[2], 5 },
        { world::kOpenProxyPort, 5 },
        { kGood, 5 },
        { kSlow, 5 },
        { kStatus, 5 },   // error status, but a clean page with the text
        { kPartial, 3 },  // two of five time out, three answer slowly
        { kSilent, 0 },
        { kBlock, 0 },     // "Access denied"
        { kShouting, 0 },  // one "FORBIDDEN" among four good pages
        { kTruncated, 0 },
        { kAuth, 0 },
        { kNul, 0 },
        { kRefused, 0 },
    };
    CProxyList list;
    for (const Fate& fate : fates) {
        CProxy proxy = Proxy(fate.nPort, 11, 2);
        list.AddTail(proxy);
    }
    CProxy twin = Proxy(kGood, 3, 1);
    list.AddTail(twin);

    // A long time-out keeps the partial proxy's bound below far from what a
    // loaded machine measures; the silent proxies wait it out in parallel.
    const int kTimeoutMs = 8000;
    SetTimeoutSeconds(kTimeoutMs / 1000);
    ASSERT_TRUE(TestProxySpeed(list));
    m_counter.PumpUntil([&] { return m_counter.m_nFinished == 1; });

    int nPassing = 0;
    for (const Fate& fate : fates) {
        const CProxy* pFound = Find(list, fate.nPort);
        if (fate.nUptime == 0) {
            EXPECT_EQ(NULL, pFound) << "port " << fate.nPort;
            continue;
        }
        ++nPassing;
        ASSERT_NE((const CProxy*)NULL, pFound) << "port " << fate.nPort;
        EXPECT_EQ(fate.nUptime, pFound->m_nUptime) << "port " << fate.nPort;
        EXPECT_GE(pFound->m_nSpeed, 0);
        EXPECT_LT(pFound->m_nSpeed, kTimeoutMs) << "port " << fate.nPort;
        EXPECT_EQ(11, pFound->m_nCountry);
        EXPECT_EQ(2, pFound->m_nType);
    }
    EXPECT_EQ(nPassing, list.GetCount());
    // The slow proxy's five fetches each waited kSlowMs at least.
    EXPECT_GE(Find(list, kSlow)->m_nSpeed, kSlowMs - 10);
    // The partial proxy's three answers came after kSlowMs; its two timed-out
    // fetches are no part of the mean, which would otherwise be at least
    // (3 * kSlowMs + 2 * kTimeoutMs) / 5.
    EXPECT_GE(Find(list, kPartial)->m_nSpeed, kSlowMs - 10);
    EXPECT_LT(Find(list, kPartial)->m_nSpeed, (3 * kSlowMs + 2 * kTimeoutMs) / 5);

    // Fastest first.
    int nLast = -1;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
        int nSpeed = list.GetNext(pos).m_nSpeed;
        EXPECT_LE(nLast, nSpeed);
        nLast = nSpeed;
    }
    // One notice per distinct proxy: the duplicate was not tested again.
    EXPECT_EQ((size_t)(sizeof(fates) / sizeof(fates[0])), m_counter.m_steps.size());
    for (int step : m_counter.m_steps)
        EXPECT_EQ(1, step);
    EXPECT_EQ(1, m_counter.m_nFinished);
    ExpectWorkerEmpty(GetTestSpeedWorker());
}

TEST_F(SpeedRunTest, PasswordIsTheRelaysLockedCopyAndAWrongOneIsRefused)
{
    // The renewal writes the global first and then the relay's copy under
    // its lock; the test reads only the copy, as the relay does.
    struct Case
    {
        const char* global;
        const char* relay;
        std::vector<int> passed;
    } cases[] = {
        { world::kProxyPassword, "not-the-password", { world::kOpenProxyPort } },
        { "not-the-password", world::kProxyPassword, { world::kProxyPorts[0], world::kOpenProxyPort } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.relay);
        strcpy(g_szProxyPassword, c.global);
        ASSERT_TRUE(g_relayServer.SetCredentials(world::kProxyUser, c.relay));
        CProxyList list;
        Fill(list, { Proxy(world::kProxyPorts[0]), Proxy(world::kOpenProxyPort) });
        ASSERT_TRUE(TestProxySpeed(list));
        std::vector<int> ports = Ports(list);
        std::sort(ports.begin(), ports.end());
        std::vector<int> expected = c.passed;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(expected, ports);
    }
}

TEST_F(SpeedRunTest, ExpectedTextHoldingABlockWordFailsEveryProxy)
{
    // The block page holds "denied": it would be found, but it rejects.
    SetCorrectValue("denied");
    CProxyList list;
    Fill(list, { Proxy(kBlock), Proxy(kGood) });
    ASSERT_TRUE(TestProxySpeed(list));
    EXPECT_TRUE(list.IsEmpty());
}

TEST_F(SpeedRunTest, ReplyWithoutTheExpectedTextNeitherCountsNorRejects)
{
    SetCorrectValue("ENGINE IS UP");
    CProxyList list;
    Fill(list, { Proxy(kGood), Proxy(kStatus) });
    ASSERT_TRUE(TestProxySpeed(list));
    // The good page holds it (any case); the 500 page does not.
    EXPECT_EQ((std::vector<int>{ kGood }), Ports(list));
    EXPECT_EQ(5, list.GetHead().m_nUptime);
}

TEST_F(SpeedRunTest, RetestPostsTheRequestBackToTheMainWindow)
{
    CScopedOverride<HWND> mainWnd(g_hMainWnd, m_counter.m_hWnd);
    struct Case
    {
        int nPort;
        LPARAM passed;
    } cases[] = { { kGood, 1 }, { kBlock, 0 } };
    for (const Case& c : cases) {
        CRetestRequest* pRequest = new CRetestRequest;
        pRequest->m_proxy = Proxy(c.nPort);
        pRequest->m_nIndex = 4;
        RetestProxyThreadProc(pRequest);
        MSG msg;
        ASSERT_TRUE(PeekMessageW(&msg, m_counter.m_hWnd, WM_RETEST_RESULT, WM_RETEST_RESULT, PM_REMOVE));
        EXPECT_EQ((WPARAM)pRequest, msg.wParam);
        EXPECT_EQ(c.passed, msg.lParam);
        EXPECT_EQ(c.passed ? 5 : 0, pRequest->m_proxy.m_nUptime);
        delete pRequest;
    }
}

}  // namespace
