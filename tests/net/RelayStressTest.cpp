// Hundreds of concurrent relay connections that end early from either side
// while the upstream keeps switching: the relay survives, and the process's
// handles and memory come back to where they were.
#include "tests/net/RelayFixture.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <stdio.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

using namespace relaytest;

namespace {

// Open handles of the process. Wine answers GetProcessHandleCount with 0, so
// there the handle table is walked: a handle value is valid when
// GetHandleInformation accepts it.
DWORD HandleCount()
{
    DWORD n = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &n) && n > 0)
        return n;
    DWORD gap = 0;
    for (ULONG_PTR value = 4; gap < 8192; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++n;
            gap = 0;
        } else {
            ++gap;
        }
    }
    return n;
}

// Committed private memory; Wine leaves PrivateUsage 0 but fills
// PagefileUsage, which counts the same.
SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

// One client of the storm; its way of ending is picked by its number.
void OneClient(unsigned short port, int i, std::atomic<int>& answered)
{
    SOCKET s = Connect(port, 20000);
    if (s == INVALID_SOCKET)
        return;
    size_t length = 500 + static_cast<size_t>(i * 7919) % 200000;
    std::string request = "GET http://h/bytes/" + std::to_string(length) + " HTTP/1.1\r\n\r\n";
    switch (i % 6) {
    case 0:  // gone before sending anything
        Abort(s);
        return;
    case 1:  // reset right after the request
        SendAll(s, request);
        Abort(s);
        return;
    case 2:  // closed while the answer comes
        SendAll(s, request);
        Sleep(i % 5);
        closesocket(s);
        return;
    case 3: {  // reads a little, then resets
        SendAll(s, request);
        char buffer[512];
        recv(s, buffer, sizeof(buffer), 0);
        Abort(s);
        return;
    }
    default:
        SendAll(s, request);
        if (BodyOf(Receive(s).data).size() == length)
            ++answered;
        closesocket(s);
    }
}

}  // namespace

TEST_F(RelayServerTest, StormWithSwitchingUpstreamsLeavesNoHandlesOrMemoryBehind)
{
    const int kClientsPerRound = 250;
    auto round = [this](int nRound) {
        std::atomic<int> answered(0);
        {
            // Each round's upstreams go with it, so that their threads do not
            // count; every third connection they reset mid-answer.
            CTestServer first, second;
            first.SetAbortEveryThird(true);
            second.SetAbortEveryThird(nRound % 2 == 0);
            std::atomic<bool> switching(true);
            std::thread switcher([&] {
                for (int k = 0; switching; ++k) {
                    g_relayServer.SetUpstream("127.0.0.1", k % 2 ? first.Port() : second.Port());
                    Sleep(3);
                }
            });
            std::vector<std::thread> clients;
            for (int i = 0; i < kClientsPerRound; ++i)
                clients.emplace_back(OneClient, m_port, nRound * kClientsPerRound + i, std::ref(answered));
            for (std::thread& t : clients)
                t.join();
            switching = false;
            switcher.join();
            EXPECT_TRUE(WaitFor([] { return g_relayServer.GetConnectionCount() == 0; }, 60000))
                << "round " << nRound << ": " << g_relayServer.GetConnectionCount() << " records left";
        }
        EXPECT_GT(answered.load(), 0) << "round " << nRound;
    };

    // The first round brings the heaps and Winsock up to their working size.
    round(0);
    Sleep(500);
    DWORD handlesBefore = HandleCount();
    SIZE_T bytesBefore = PrivateBytes();
    ASSERT_GT(handlesBefore, 0u);
    ASSERT_GT(bytesBefore, 0u);
    const int kRounds = 6;
    for (int r = 1; r <= kRounds; ++r)
        round(r);
    Sleep(500);
    DWORD handlesAfter = HandleCount();
    SIZE_T bytesAfter = PrivateBytes();
    printf("handles %lu -> %lu, private bytes %lu -> %lu\n", static_cast<unsigned long>(handlesBefore),
           static_cast<unsigned long>(handlesAfter), static_cast<unsigned long>(bytesBefore),
           static_cast<unsigned long>(bytesAfter));

    // A few handles of the system's own may come and go; a leak of one per
    // connection would be hundreds.
    EXPECT_LE(handlesAfter, handlesBefore + 16) << handlesBefore << " -> " << handlesAfter;
    // Each leaked record would hold more than 8 KB: 1500 connections made.
    EXPECT_LE(bytesAfter, bytesBefore + 6u * 1024 * 1024) << bytesBefore << " -> " << bytesAfter;

    // And still relaying.
    CTestServer upstream;
    ASSERT_TRUE(g_relayServer.SetUpstream("127.0.0.1", upstream.Port()));
    EXPECT_EQ("ok", BodyOf(Exchange("GET http://h/after HTTP/1.1\r\n\r\n").data));
}
