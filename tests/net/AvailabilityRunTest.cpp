// Availability runs through real proxies on loopback: the tinyproxy
// upstreams of the world and the scripted proxies.
#include "tests/net/ProxyRunFixture.h"

#include <algorithm>

using namespace proxyrun;

namespace {

class AvailabilityRunTest : public ProxyRunTest
{};

struct Fate
{
    int nPort;
    bool bPasses;
};

TEST_F(AvailabilityRunTest, EachProxyMeetsItsFateInBatchesOfFive)
{
    const Fate fates[] = {
        { world::kOpenProxyPort, true },   // tinyproxy, no authentication
        { world::kProxyPorts[0], false },  // tinyproxy wants a password; this test sends none
        { kGood, true },
        { kSlow, true },
        { kSilent, false },  // times out
        { kBlock, true },    // block words do not matter here
        { kTruncated, false },
        { kAuth, false },
        { kNul, false },
        { kStatus, true },  // an error status holding the text passes
        { kRefused, false },
    };
    CProxyList list;
    int nSpeed = 9000;
    for (const Fate& fate : fates) {
        CProxy proxy = Proxy(fate.nPort, fate.nPort % 50, 2, nSpeed);
        proxy.m_nUptime = 4;
        list.AddTail(proxy);
        nSpeed -= 100;  // later entries faster: the result must be re-sorted
    }
    CProxy twin = Proxy(kGood, 1, 1, 1);  // duplicate: the first occurrence wins
    list.AddTail(twin);
    ASSERT_EQ(12, list.GetCount());

    ASSERT_TRUE(TestProxyAvailability(list));
    m_counter.PumpUntil([&] { return m_counter.m_nFinished == 1; });

    std::vector<int> expected;
    for (const Fate& fate : fates) {
        const CProxy* pFound = Find(list, fate.nPort);
        EXPECT_EQ(fate.bPasses, pFound != NULL) << "port " << fate.nPort;
        if (fate.bPasses)
            expected.push_back(fate.nPort);
        if (pFound != NULL) {
            // Kept as queued, all fields.
            EXPECT_EQ(fate.nPort % 50, pFound->m_nCountry);
            EXPECT_EQ(2, pFound->m_nType);
            EXPECT_EQ(4, pFound->m_nUptime);
        }
    }
    EXPECT_EQ((INT_PTR)expected.size(), list.GetCount());
    // Fastest first: the input gave later entries the lower speeds.
    std::vector<int> ports = Ports(list);
    std::reverse(expected.begin(), expected.end());
    EXPECT_EQ(expected, ports);

    // 11 distinct proxies: batches of 5, 5 and 1, each reported once.
    std::vector<int> steps = m_counter.m_steps;
    std::sort(steps.begin(), steps.end());
    EXPECT_EQ((std::vector<int>{ 1, 5, 5 }), steps);
    EXPECT_EQ(1, m_counter.m_nFinished);
    EXPECT_EQ(0, m_counter.m_nOther);
    ExpectWorkerEmpty(GetCheckAnonymousWorker());
}

TEST_F(AvailabilityRunTest, ExpectedTextIgnoresLetterCase)
{
    SetCorrectValue("SeArCh EnGiNe");
    CProxyList list;
    Fill(list, { Proxy(kGood), Proxy(world::kOpenProxyPort) });
    ASSERT_TRUE(TestProxyAvailability(list));
    EXPECT_EQ((std::vector<int>{ kGood, world::kOpenProxyPort }), Ports(list));
}

TEST_F(AvailabilityRunTest, ReplyWithoutTheExpectedTextFails)
{
    SetCorrectValue("no such words on the page");
    CProxyList list;
    Fill(list, { Proxy(kGood), Proxy(kStatus) });
    ASSERT_TRUE(TestProxyAvailability(list));
    EXPECT_TRUE(list.IsEmpty());
    ExpectWorkerEmpty(GetCheckAnonymousWorker());
}

TEST_F(AvailabilityRunTest, TwelveProxiesGoInBatchesOfFiveFiveAndTwo)
{
    // Twelve distinct proxies: one good, the others on ports where nothing listens.
    CProxyList list;
    CProxy good = Proxy(kGood);
    list.AddTail(good);
    for (int port = 18290; list.GetCount() < 12; ++port) {
        CProxy refused = Proxy(port);
        list.AddTail(refused);
    }
    GetCheckAnonymousWorker().m_nMaxThreads = 1;  // one batch at a time
    ASSERT_TRUE(TestProxyAvailability(list));
    m_counter.PumpUntil([&] { return m_counter.m_nFinished == 1; });
    EXPECT_EQ((std::vector<int>{ 5, 5, 2 }), m_counter.m_steps);
    EXPECT_EQ((std::vector<int>{ kGood }), Ports(list));
}

TEST_F(AvailabilityRunTest, EmptyListReturnsFalseAndPostsNothing)
{
    CProxyList list;
    EXPECT_FALSE(TestProxyAvailability(list));
    m_counter.Pump();
    EXPECT_TRUE(m_counter.m_steps.empty());
    EXPECT_EQ(0, m_counter.m_nFinished);
}

}  // namespace
