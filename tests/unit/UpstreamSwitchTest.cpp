// Tests of the choice of the relay's upstream.
#include "app/CorvaneMessages.h"
#include "tests/support/RecordingWindow.h"
#include "tests/support/ScopedOverride.h"
#include "net/RelayServer.h"
#include "net/SpeedTest.h"
#include "net/UpstreamSwitch.h"
#include "proxy/Settings.h"

#include <gtest/gtest.h>

#include <stdio.h>
#include <vector>

namespace {

class UpstreamSwitchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDefaultSettings(GetSettings(), 0);
        GetProxyList().RemoveAll();
    }
    void TearDown() override { GetProxyList().RemoveAll(); }

    void FillList(int count)
    {
        for (int i = 0; i < count; ++i) {
            char ip[16];
            snprintf(ip, sizeof(ip), "10.0.0.%d", i + 1);
            CProxy proxy(ip, 8000 + i, -1, 0, 0, 0);
            GetProxyList().AddTail(proxy);
        }
    }

    // The relay's upstream as a list position (-1 when it is no entry).
    int UpstreamIndex()
    {
        char host[RELAY_HOST_SIZE];
        int port = 0;
        g_relayServer.GetUpstream(host, sizeof(host), port);
        return port >= 8000 ? port - 8000 : -1;
    }

    // Indices chosen by the first ticks of automatic mode.
    std::vector<int> Ticks(int count, int ratio, int ticks)
    {
        GetSettings().GetSwitch()->m_nRatio = ratio;
        FillList(count);
        CHideState state;
        StartAutoHide(state);
        std::vector<int> chosen{ state.m_nCurIndex };
        for (int i = 1; i < ticks; ++i) {
            SwitchToNextProxy(state, true);
            chosen.push_back(state.m_nCurIndex);
            EXPECT_EQ(state.m_nCurIndex, UpstreamIndex());
        }
        return chosen;
    }
};

}  // namespace

TEST_F(UpstreamSwitchTest, UsableCountRoundsUp)
{
    struct Case
    {
        int count, ratio, usable;
    };
    const Case cases[] = {
        { 7, 50, 4 }, { 3, 20, 1 },  { 1, 20, 1 },  { 1, 100, 1 },   { 5, 100, 5 },
        { 0, 50, 0 }, { 10, 20, 2 }, { 11, 20, 3 }, { 100, 33, 33 }, { 101, 33, 34 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.usable, UsableProxyCount(c.count, c.ratio)) << c.count << " at " << c.ratio;
}

TEST_F(UpstreamSwitchTest, TicksWalkTheUsableHeadOfTheList)
{
    EXPECT_EQ((std::vector<int>{ 0, 1, 2, 3, 4, 0, 1 }), Ticks(5, 100, 7));
    GetProxyList().RemoveAll();
    EXPECT_EQ((std::vector<int>{ 0, 1, 2, 3, 0, 1 }), Ticks(7, 50, 6));
    GetProxyList().RemoveAll();
    EXPECT_EQ((std::vector<int>{ 0, 0, 0 }), Ticks(1, 20, 3));
    GetProxyList().RemoveAll();
    EXPECT_EQ((std::vector<int>{ 0, 0, 0 }), Ticks(3, 20, 3));
}

TEST_F(UpstreamSwitchTest, ShrunkListWrapsToTheFirstEntry)
{
    GetSettings().GetSwitch()->m_nRatio = 100;
    FillList(5);
    CHideState state;
    state.m_nCurIndex = 4;
    GetProxyList().RemoveTail();
    GetProxyList().RemoveTail();
    SwitchToNextProxy(state, false);  // a removal of the proxy in use
    EXPECT_EQ(0, state.m_nCurIndex);
    EXPECT_EQ(0, UpstreamIndex());
    EXPECT_STREQ("10.0.0.1", state.m_curProxy.m_szIP);
}

TEST_F(UpstreamSwitchTest, EmptyListAndNoIndexKeepThePreviousUpstream)
{
    GetSettings().GetSwitch()->m_nRatio = 100;
    g_relayServer.SetUpstream("127.0.0.9", 9999);
    CHideState state;
    SwitchToNextProxy(state, true);  // empty list
    EXPECT_EQ(-1, state.m_nCurIndex);
    FillList(3);
    SwitchToNextProxy(state, false);  // -1 without advance does nothing
    EXPECT_EQ(-1, state.m_nCurIndex);
    char host[RELAY_HOST_SIZE];
    int port = 0;
    g_relayServer.GetUpstream(host, sizeof(host), port);
    EXPECT_STREQ("127.0.0.9", host);
    EXPECT_EQ(9999, port);
}

// Posted messages of the upstream choice, read back from this thread's queue.
TEST_F(UpstreamSwitchTest, ProxyInUseMessageCarriesTheIndex)
{
    CRecordingWindow main;
    ASSERT_NE(nullptr, main.m_hWnd);
    CScopedOverride<HWND> mainWnd(g_hMainWnd, main.m_hWnd);
    GetSettings().GetSwitch()->m_nRatio = 100;
    FillList(3);
    CHideState state;
    SetUpstreamProxy(CProxy("10.0.0.2", 8001, -1, 0, 0, 0), state);  // by hand
    state.m_nCurIndex = 1;
    SwitchToNextProxy(state, true);  // automatic

    CRecordingWindow::Message msg;
    ASSERT_TRUE(main.Take(WM_PROXY_IN_USE, &msg));
    EXPECT_EQ(0u, msg.wParam);
    EXPECT_EQ(-1, msg.lParam);
    ASSERT_TRUE(main.Take(WM_PROXY_IN_USE, &msg));
    EXPECT_EQ(1u, msg.wParam);
    EXPECT_EQ(2, msg.lParam);
}

// A re-test's answer: only a failed proxy still at its position leaves the list.
TEST_F(UpstreamSwitchTest, FailedRetestRemovesOnlyTheSameProxyAtItsPosition)
{
    CRecordingWindow main;
    ASSERT_NE(nullptr, main.m_hWnd);
    CScopedOverride<HWND> mainWnd(g_hMainWnd, main.m_hWnd);
    FillList(2);
    CHideState state;
    state.m_nCurIndex = 0;
    auto request = [](const char* ip, int port, int index) {
        CRetestRequest* p = new CRetestRequest;
        p->m_proxy = CProxy(ip, port, -1, 0, 0, 0);
        p->m_nIndex = index;
        return p;
    };
    HandleRetestResult(state, request("10.0.0.2", 8001, 1), true);   // passed
    HandleRetestResult(state, request("10.0.0.9", 8001, 1), false);  // another proxy there now
    HandleRetestResult(state, request("10.0.0.2", 8001, 5), false);  // position gone
    EXPECT_EQ(2, GetProxyList().GetCount());
    EXPECT_FALSE(main.Take(WM_REFRESH_PROXY_LIST));

    HandleRetestResult(state, request("10.0.0.2", 8001, 1), false);
    ASSERT_EQ(1, GetProxyList().GetCount());
    EXPECT_STREQ("10.0.0.1", GetProxyList().GetHead().m_szIP);
    EXPECT_TRUE(main.Take(WM_REFRESH_PROXY_LIST));
    EXPECT_EQ(-1, state.m_nNextIndex);  // nothing after the current one to test
}
