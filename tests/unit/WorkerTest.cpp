// The worker's queue, duplicate filter and results, the sort of a run's
// results, and the block-page check of the speed test.
#include "net/SpeedTest.h"
#include "net/TestDriver.h"
#include "net/Worker.h"
#include "proxy/ProxySort.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

CProxy P(const char* pszIP, int nPort, int nSpeed = PROXY_SPEED_UNMEASURED, int nType = 0)
{
    return CProxy(pszIP, nPort, -1, nType, 0, nSpeed);
}

void Fill(CProxyList& list, std::vector<CProxy> proxies)
{
    list.RemoveAll();
    for (CProxy& proxy : proxies)
        list.AddTail(proxy);
}

std::vector<int> Ports(const CProxyList& list)
{
    std::vector<int> ports;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
        ports.push_back(list.GetNext(pos).m_nPort);
    return ports;
}

TEST(WorkerTest, StartsIdleAndEmpty)
{
    CWorker worker;
    EXPECT_FALSE(worker.m_bRunning);
    EXPECT_FALSE(worker.m_bDone);
    EXPECT_EQ(0, worker.m_nRunning);
    EXPECT_EQ(0, worker.m_nMaxThreads);
    CProxy out;
    EXPECT_FALSE(worker.PopNext(out));
}

TEST(WorkerTest, DuplicatesAreQueuedOnceUntilClear)
{
    CWorker worker;
    CProxyList list;
    // Same address and port with another type: a duplicate; another port: not.
    Fill(list, { P("10.0.0.1", 80, 5, 1), P("10.0.0.1", 8080), P("10.0.0.1", 80, 7, 2), P("10.0.0.01", 80) });
    worker.AddProxies(list);
    // A second list in the same run joins the queue, minus what it holds already.
    Fill(list, { P("10.0.0.1", 8080), P("10.0.0.2", 80) });
    worker.AddProxies(list);

    std::vector<int> ports;
    CProxy out;
    ASSERT_TRUE(worker.PopNext(out));
    EXPECT_EQ(1, out.m_nType);  // the first occurrence, with its own fields
    EXPECT_EQ(5, out.m_nSpeed);
    int n = 1;
    while (worker.PopNext(out))
        ++n;
    EXPECT_EQ(4, n);
    // Taken proxies stay in the filter.
    worker.AddProxies(list);
    EXPECT_FALSE(worker.PopNext(out));
    worker.Clear();
    EXPECT_TRUE(worker.m_listAll.IsEmpty());
    worker.AddProxies(list);
    EXPECT_TRUE(worker.PopNext(out));
}

TEST(WorkerTest, TakeResultsEmptiesTheTargetAndTheResults)
{
    CWorker worker;
    worker.AddResult(P("10.0.0.1", 1));
    worker.AddResult(P("10.0.0.2", 2));
    CProxyList out;
    Fill(out, { P("10.9.9.9", 99) });
    worker.TakeResults(out);
    EXPECT_EQ((std::vector<int>{ 1, 2 }), Ports(out));
    EXPECT_TRUE(worker.m_listResults.IsEmpty());
    worker.TakeResults(out);
    EXPECT_TRUE(out.IsEmpty());
}

TEST(WorkerTest, MoveQueueToResultsKeepsOrderAndFilter)
{
    CWorker worker;
    CProxyList list;
    Fill(list, { P("10.0.0.1", 1), P("10.0.0.1", 2), P("10.0.0.1", 3) });
    worker.AddProxies(list);
    CProxy out;
    ASSERT_TRUE(worker.PopNext(out));
    worker.AddResult(out);
    worker.MoveQueueToResults();
    EXPECT_FALSE(worker.PopNext(out));
    worker.AddProxies(list);  // still filtered
    EXPECT_FALSE(worker.PopNext(out));
    CProxyList results;
    worker.TakeResults(results);
    EXPECT_EQ((std::vector<int>{ 1, 2, 3 }), Ports(results));
}

TEST(WorkerTest, SlotCountNeverGoesBelowZero)
{
    CWorker worker;
    worker.ReleaseSlot();
    EXPECT_EQ(0, worker.m_nRunning);
    worker.AcquireSlot();
    worker.AcquireSlot();
    worker.ReleaseSlot();
    EXPECT_EQ(1, worker.m_nRunning);
}

TEST(WorkerTest, ConcurrentPopsHandEachProxyOutOnce)
{
    CWorker worker;
    CProxyList list;
    for (int i = 0; i < 2000; ++i) {
        CProxy proxy = P("10.1.1.1", i + 1);
        list.AddTail(proxy);
    }
    worker.AddProxies(list);
    std::vector<int> seen(2001, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            CProxy out;
            while (worker.PopNext(out)) {
                worker.AddResult(out);
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    CProxyList results;
    worker.TakeResults(results);
    ASSERT_EQ(2000, results.GetCount());
    for (int port : Ports(results))
        seen[port]++;
    for (int i = 1; i <= 2000; ++i)
        ASSERT_EQ(1, seen[i]) << i;
}

TEST(WorkerTest, SingletonsAreBuiltOnce)
{
    EXPECT_EQ(&GetTestSpeedWorker(), &GetTestSpeedWorker());
    EXPECT_EQ(&GetCheckAnonymousWorker(), &GetCheckAnonymousWorker());
    EXPECT_NE((CWorker*)&GetTestSpeedWorker(), (CWorker*)&GetCheckAnonymousWorker());
    EXPECT_GE(GetTestSpeedWorker().m_nMaxThreads, 1);
}

TEST(WorkerTest, SortBySpeedIsStableAndFastestFirst)
{
    CProxyList list;
    Fill(list, { P("a", 1, 300), P("b", 2, 100), P("c", 3, 300), P("d", 4, 3600000), P("e", 5, 100), P("f", 6, 0) });
    SortProxyList(list, PROXY_SORT_SPEED, true);
    EXPECT_EQ((std::vector<int>{ 6, 2, 5, 1, 3, 4 }), Ports(list));
    CProxyList empty;
    SortProxyList(empty, PROXY_SORT_SPEED, true);
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(WorkerTest, EmptyListDriversReturnFalseWithoutTouchingTheWorkers)
{
    CProxyList list;
    EXPECT_FALSE(TestProxySpeed(list));
    EXPECT_FALSE(TestProxyAvailability(list));
    EXPECT_FALSE(GetTestSpeedWorker().m_bRunning);
    EXPECT_TRUE(GetTestSpeedWorker().m_listAll.IsEmpty());
}

struct PageCase
{
    const char* pszBody;
    bool bClean;
};

TEST(WorkerTest, CleanTestPageRejectsBlockWordsInAnyCase)
{
    const PageCase cases[] = {
        { NULL, false },
        { "", false },
        { "<html>the search engine</html>", true },
        { "An ERROR occurred", false },
        { "403 Forbidden", false },
        { "Access DENIED", false },
        { "we deny this", false },
        { "Are you a Human?", false },
        { "Proxy says hello", false },
        { "errors", false },
        { "deni", true },
        { "pro xy", true },
    };
    for (const PageCase& c : cases)
        EXPECT_EQ(c.bClean, IsCleanTestPage(c.pszBody)) << (c.pszBody ? c.pszBody : "(null)");
}

}  // namespace
