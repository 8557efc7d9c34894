// The relay of this test process on a free port, with the world's
// credentials and upstream, and a stand-in for the main window.
#pragma once

#include "app/CorvaneMessages.h"
#include "tests/support/RecordingWindow.h"
#include "tests/support/ScopedOverride.h"
#include "net/RelayServer.h"
#include "tests/net/RelayTestPeers.h"
#include "tests/world/World.h"

#include <gtest/gtest.h>

#include <string>

namespace relaytest {

const unsigned short kAuthProxy = world::kProxyPorts[0];
const std::string kCredentials = std::string(world::kProxyUser) + ":" + world::kProxyPassword;

// Polls until the condition holds or the time is up.
template <typename F>
bool WaitFor(F condition, DWORD timeoutMs = 30000)
{
    DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

class RelayServerTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The relay's own port; a free one when the program itself holds it.
        g_relayServer.Start();
        WaitFor([] { return g_relayServer.GetListeningPort() != 0 || g_relayServer.StartFailed(); });
        if (g_relayServer.StartFailed()) {
            WaitForSingleObject(g_relayServer.m_hThread, 10000);
            CloseHandle(g_relayServer.m_hThread);
            g_relayServer.m_hThread = NULL;
            g_relayServer.m_nListenPort = 0;
            g_relayServer.Start();
        }
    }

    void SetUp() override
    {
        ASSERT_TRUE(WaitFor([] { return g_relayServer.GetListeningPort() != 0 || g_relayServer.StartFailed(); }));
        ASSERT_FALSE(g_relayServer.StartFailed());
        m_port = static_cast<unsigned short>(g_relayServer.GetListeningPort());
        ASSERT_TRUE(g_relayServer.SetCredentials(world::kProxyUser, world::kProxyPassword));
        ASSERT_TRUE(g_relayServer.SetUpstream(world::kHost, kAuthProxy));
        ASSERT_TRUE(WaitFor([] { return g_relayServer.GetConnectionCount() == 0; }));
    }

    void TearDown() override
    {
        EXPECT_TRUE(WaitFor([] { return g_relayServer.GetConnectionCount() == 0; }))
            << g_relayServer.GetConnectionCount() << " records left";
    }

    // One request on a new relay connection; the reply as it came.
    Reply Exchange(const std::string& request, bool stopAtLength = true)
    {
        SOCKET s = Connect(m_port);
        EXPECT_NE(INVALID_SOCKET, s);
        if (s == INVALID_SOCKET)
            return Reply();
        EXPECT_TRUE(SendAll(s, request));
        Reply reply = Receive(s, stopAtLength);
        closesocket(s);
        return reply;
    }

    static std::string Get(unsigned short originPort, const std::string& path)
    {
        return "GET http://127.0.0.1:" + std::to_string(originPort) + path +
               " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(originPort) + "\r\n\r\n";
    }

    unsigned short m_port = 0;
};

// A message-only window standing in for the main window: the relay's
// request for an immediate renewal shows here.
class CMainWindowStandIn : public CRecordingWindow
{
public:
    // The relay posted WM_RENEW_PASSWORD_NOW within the time.
    bool SawRenewalRequest(DWORD timeoutMs)
    {
        DWORD start = GetTickCount();
        do {
            if (Take(WM_RENEW_PASSWORD_NOW))
                return true;
            // Only the window's own thread may set its timers.
            Message timer;
            while (Take(WM_TIMER, &timer)) {
                if (timer.wParam == TIMER_PASSWORD_REQUEST) {
                    KillTimer(m_hWnd, TIMER_PASSWORD_REQUEST);
                    m_bForeignTimer = true;
                }
            }
            Sleep(20);
        } while (GetTickCount() - start < timeoutMs);
        return false;
    }
    // A relay thread set timer 3 on this window itself.
    bool SawForeignTimer() const { return m_bForeignTimer; }

private:
    CScopedOverride<HWND> m_mainWnd{ g_hMainWnd, m_hWnd };
    bool m_bForeignTimer = false;
};

}  // namespace relaytest
