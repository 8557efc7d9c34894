// The relay against upstreams that never complete the TCP handshake: the
// connects wait on the completion port, not on its threads, so pairs already
// open go on relaying, and each waiting browser side is closed after the
// connect time-out with its records freed.
#include "tests/net/RelayFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace relaytest;

namespace {

// A listening socket whose queue is full: the system drops every further
// SYN, so a connect to it neither completes nor fails until the system
// gives up (minutes).
class CUnansweredPort
{
public:
    CUnansweredPort()
    {
        EnsureWinsock();
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof(address);
        if (m_listener == INVALID_SOCKET ||
            bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
            listen(m_listener, 0) != 0 || getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        // Fill the queue until a connect no longer completes at once.
        for (int i = 0; i < 16; ++i) {
            SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
            u_long nonBlocking = 1;
            ioctlsocket(s, FIONBIO, &nonBlocking);
            connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address));
            m_fillers.push_back(s);
            fd_set writable;
            FD_ZERO(&writable);
            FD_SET(s, &writable);
            timeval wait = { 0, 300000 };
            if (select(0, NULL, &writable, NULL, &wait) == 0) {
                m_bFull = true;
                break;
            }
        }
    }
    ~CUnansweredPort()
    {
        for (SOCKET s : m_fillers)
            closesocket(s);
        if (m_listener != INVALID_SOCKET)
            closesocket(m_listener);
    }
    CUnansweredPort(const CUnansweredPort&) = delete;
    CUnansweredPort& operator=(const CUnansweredPort&) = delete;

    bool Ok() const { return m_port != 0 && m_bFull; }
    unsigned short Port() const { return m_port; }

private:
    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    bool m_bFull = false;
    std::vector<SOCKET> m_fillers;
};

class RelayConnectTimeoutTest : public RelayServerTest
{
protected:
    void SetUp() override
    {
        RelayServerTest::SetUp();
        m_dwSaved = g_relayServer.GetConnectTimeout();
        g_relayServer.SetConnectTimeout(kTimeoutMs);
    }
    void TearDown() override
    {
        g_relayServer.SetConnectTimeout(m_dwSaved);
        RelayServerTest::TearDown();
    }

    static constexpr DWORD kTimeoutMs = 3000;
    DWORD m_dwSaved = 0;
};

}  // namespace

TEST_F(RelayConnectTimeoutTest, UnansweredUpstreamsStopNoPairAndAreClosedAfterTheTimeOut)
{
    CUnansweredPort unanswered;
    ASSERT_TRUE(unanswered.Ok()) << "could not fill the listening queue";
    CTestServer good;
    ASSERT_TRUE(good.Ok());

    // A pair opened before the stalled connects.
    ASSERT_TRUE(g_relayServer.SetUpstream("127.0.0.1", good.Port()));
    SOCKET open = Connect(m_port, 5000);
    ASSERT_NE(INVALID_SOCKET, open);
    ASSERT_TRUE(SendAll(open, "GET http://h/before HTTP/1.1\r\n\r\n"));
    ASSERT_EQ("ok", BodyOf(Receive(open).data));

    // More stalled connects than the relay has completion-port threads.
    ASSERT_TRUE(g_relayServer.SetUpstream("127.0.0.1", unanswered.Port()));
    const int kStalled = RELAY_WORKER_THREADS + 4;
    std::vector<SOCKET> stalled;
    for (int i = 0; i < kStalled; ++i) {
        SOCKET s = Connect(m_port, kTimeoutMs + 10000);
        ASSERT_NE(INVALID_SOCKET, s);
        ASSERT_TRUE(SendAll(s, "GET http://h/stalled HTTP/1.1\r\n\r\n"));
        stalled.push_back(s);
    }
    DWORD dwStalledAt = GetTickCount();
    Sleep(300);

    // The open pair and a new pair to a good upstream are relayed at once.
    ASSERT_TRUE(SendAll(open, "GET http://h/during HTTP/1.1\r\n\r\n"));
    Reply during = Receive(open);
    EXPECT_EQ("ok", BodyOf(during.data)) << "the open pair stalled";
    ASSERT_TRUE(g_relayServer.SetUpstream("127.0.0.1", good.Port()));
    SOCKET fresh = Connect(m_port, 2000);
    ASSERT_NE(INVALID_SOCKET, fresh);
    ASSERT_TRUE(SendAll(fresh, "GET http://h/fresh HTTP/1.1\r\n\r\n"));
    EXPECT_EQ("ok", BodyOf(Receive(fresh).data)) << "a new pair stalled";
    closesocket(fresh);
    EXPECT_LT(GetTickCount() - dwStalledAt, kTimeoutMs) << "the good pairs waited for the time-out";

    // Each stalled browser side is closed, without a reply, after the time-out.
    for (SOCKET s : stalled) {
        Reply reply = Receive(s, false);
        EXPECT_TRUE(reply.closed) << "still open after " << GetTickCount() - dwStalledAt << " ms";
        EXPECT_EQ("", reply.data);
        closesocket(s);
    }
    DWORD dwClosedAfter = GetTickCount() - dwStalledAt;
    EXPECT_GE(dwClosedAfter + 200, kTimeoutMs);
    EXPECT_LT(dwClosedAfter, kTimeoutMs + 8000);

    // The open pair is untouched by all of it.
    ASSERT_TRUE(SendAll(open, "GET http://h/after HTTP/1.1\r\n\r\n"));
    EXPECT_EQ("ok", BodyOf(Receive(open).data));
    closesocket(open);
    EXPECT_EQ(4u, good.Heads().size());
    // TearDown: every record freed.
}

TEST_F(RelayConnectTimeoutTest, BrowserClosingWhileItsUpstreamConnectsLeavesNoRecord)
{
    CUnansweredPort unanswered;
    ASSERT_TRUE(unanswered.Ok()) << "could not fill the listening queue";
    ASSERT_TRUE(g_relayServer.SetUpstream("127.0.0.1", unanswered.Port()));
    for (int i = 0; i < 3; ++i) {
        SOCKET s = Connect(m_port, 5000);
        ASSERT_NE(INVALID_SOCKET, s);
        ASSERT_TRUE(SendAll(s, "GET http://h/gone HTTP/1.1\r\n\r\n"));
        if (i == 0)
            Abort(s);
        else
            closesocket(s);
    }
    // Both records of each pair go once the time-out has ended the connect.
    EXPECT_TRUE(WaitFor([] { return g_relayServer.GetConnectionCount() == 0; }, kTimeoutMs + 8000))
        << g_relayServer.GetConnectionCount() << " records left";
}
