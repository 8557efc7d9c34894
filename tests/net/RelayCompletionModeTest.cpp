// The relay in both completion modes: through the port for every operation,
// and with immediate completions carried on by the thread that started them.
// Bytes must arrive whole and in order either way, and a thousand and more
// connections held open at once must all be answered.
#include "net/RelayCompletionMode.h"
#include "tests/net/RelayFixture.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace relaytest;

namespace {

struct CModeCase
{
    const char* name;
    bool bSkipPort;
};

const CModeCase kModes[] = {
    { "SkipPort", true },
    { "PortOnly", false },
};

class RelayCompletionModeTest : public RelayServerTest, public ::testing::WithParamInterface<CModeCase>
{
protected:
    void SetUp() override
    {
        RelayServerTest::SetUp();
        g_relayServer.SetSkipPortOnSuccess(GetParam().bSkipPort);
    }
    void TearDown() override
    {
        RelayServerTest::TearDown();
        g_relayServer.SetSkipPortOnSuccess(true);
    }
};

}  // namespace

TEST_P(RelayCompletionModeTest, BodiesArriveWholeAndInOrderBothWays)
{
    CTestServer upstream;
    ASSERT_TRUE(g_relayServer.SetUpstream("127.0.0.1", upstream.Port()));
    long immediateBefore = g_relayServer.GetImmediateCount();

    // Blocks of every size: downloads of several megabytes and a few bytes,
    // and an upload the upstream echoes.
    const size_t kLengths[] = { 1, 8191, 8192, 8193, 3u * 1024 * 1024 + 17 };
    for (size_t length : kLengths) {
        SOCKET s = Connect(m_port, 60000);
        ASSERT_NE(INVALID_SOCKET, s);
        ASSERT_TRUE(SendAll(s, "GET http://h/bytes/" + std::to_string(length) + " HTTP/1.1\r\n\r\n"));
        std::string body = BodyOf(Receive(s).data);
        closesocket(s);
        ASSERT_EQ(length, body.size()) << "download of " << length;
        size_t wrong = 0;
        for (size_t i = 0; i < length; ++i)
            wrong += body[i] != BodyByte(i);
        EXPECT_EQ(0u, wrong) << "download of " << length;

        std::string upload(length, '\0');
        for (size_t i = 0; i < length; ++i)
            upload[i] = BodyByte(i * 7 + 3);
        s = Connect(m_port, 60000);
        ASSERT_NE(INVALID_SOCKET, s);
        std::thread sender([s, &upload, length] {
            SendAll(s,
                    "POST http://h/echo HTTP/1.1\r\nContent-Length: " + std::to_string(length) + "\r\n\r\n" + upload);
        });
        std::string echoed = BodyOf(Receive(s).data);
        sender.join();
        closesocket(s);
        EXPECT_TRUE(echoed == upload) << "upload of " << length << ": " << echoed.size() << " bytes back";
    }

    // Where the system offers the mode, the relay really takes the short way.
    if (GetParam().bSkipPort && RelaySkipPortIsSafe())
        EXPECT_GT(g_relayServer.GetImmediateCount(), immediateBefore);
    else if (!GetParam().bSkipPort)
        EXPECT_EQ(immediateBefore, g_relayServer.GetImmediateCount());
}

TEST_P(RelayCompletionModeTest, ThousandAndTwentyFourConnectionsHeldOpenAreAllAnswered)
{
    const int kConnections = 1024;
    CTestServer holder;
    ASSERT_TRUE(g_relayServer.SetUpstream("127.0.0.1", holder.Port()));

    std::vector<SOCKET> clients;
    for (int i = 0; i < kConnections; ++i) {
        SOCKET s = Connect(m_port, 30000);
        ASSERT_NE(INVALID_SOCKET, s) << "connection " << i;
        clients.push_back(s);
        ASSERT_TRUE(SendAll(s, "GET http://h/held/" + std::to_string(i) + " HTTP/1.1\r\n\r\n"));
    }
    int answered = 0;
    for (SOCKET s : clients)
        answered += BodyOf(Receive(s).data) == "ok";
    EXPECT_EQ(kConnections, answered);
    // Every pair is still there: nothing was closed to make room.
    EXPECT_EQ(2 * kConnections, g_relayServer.GetConnectionCount());
    EXPECT_EQ(kConnections, holder.Connections());

    // And each one still carries a second request.
    int again = 0;
    for (SOCKET s : clients) {
        if (SendAll(s, "GET http://h/again HTTP/1.1\r\n\r\n") && BodyOf(Receive(s).data) == "ok")
            ++again;
    }
    EXPECT_EQ(kConnections, again);
    for (SOCKET s : clients)
        closesocket(s);
}

INSTANTIATE_TEST_SUITE_P(Modes, RelayCompletionModeTest, ::testing::ValuesIn(kModes),
                         [](const ::testing::TestParamInfo<CModeCase>& info) { return info.param.name; });
