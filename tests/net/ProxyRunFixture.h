// Shared set-up of the proxy test runs against the local world: the test
// settings, the relay credentials, and a hidden window standing in for the
// progress dialog that counts what the test threads post to it.
#pragma once

#include "afx.h"
#include "net/RelayServer.h"
#include "net/ServerRequest.h"
#include "net/TestDriver.h"
#include "net/Worker.h"
#include "proxy/Settings.h"
#include "tests/support/RecordingWindow.h"
#include "tests/world/World.h"

#include <gtest/gtest.h>

#include <string.h>
#include <vector>

namespace proxyrun {

// tests/world/scripted_proxy.py: one behaviour per port.
constexpr int kOrigin = 18210;     // the test page's web server
constexpr int kSlow = 18211;       // the page after 600 ms
constexpr int kSilent = 18212;     // never answers
constexpr int kBlock = 18213;      // the page with "Access denied"
constexpr int kTruncated = 18214;  // fewer bytes than announced
constexpr int kAuth = 18215;       // 407
constexpr int kGood = 18216;       // the page at once
constexpr int kPartial = 18217;    // three of every five answered after kSlowMs
constexpr int kNul = 18218;        // the page with a NUL byte inside
constexpr int kStatus = 18219;     // 500 whose body holds the text
constexpr int kShouting = 18220;   // one of every five says "FORBIDDEN"
constexpr int kRefused = 18299;    // nothing listens
constexpr int kSlowMs = 600;

constexpr const char* kTestUrl = "http://127.0.0.1:18210/corvane/test.html";
constexpr DWORD kRunLimitMs = 60000;

// Counts the progress notices posted to it.
class ProgressCounter : public CRecordingWindow
{
public:
    // Pumps until pred holds or the limit passes; true when it held.
    template <typename PRED>
    bool PumpUntil(PRED pred, DWORD dwLimitMs = kRunLimitMs)
    {
        return CRecordingWindow::PumpUntil(pred, dwLimitMs);
    }
    int StepSum() const
    {
        int n = 0;
        for (int step : m_steps)
            n += step;
        return n;
    }

    std::vector<int> m_steps;
    int m_nFinished = 0;
    int m_nOther = 0;

protected:
    bool OnReceived(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message != WM_TEST_PROGRESS)
            return false;
        if (wParam == TEST_PROGRESS_STEP)
            m_steps.push_back((int)lParam);
        else if (wParam == TEST_PROGRESS_FINISH)
            m_nFinished++;
        else
            m_nOther++;
        return true;
    }
};

inline CProxy Proxy(int nPort, int nCountry = 7, int nType = 1, int nSpeed = PROXY_SPEED_UNMEASURED)
{
    return CProxy("127.0.0.1", nPort, nCountry, nType, 0, nSpeed);
}

inline void Fill(CProxyList& list, const std::vector<CProxy>& proxies)
{
    list.RemoveAll();
    for (CProxy proxy : proxies)
        list.AddTail(proxy);
}

inline const CProxy* Find(const CProxyList& list, int nPort)
{
    POSITION pos = FindProxy(list, Proxy(nPort));
    return pos ? &list.GetAt(pos) : NULL;
}

inline std::vector<int> Ports(const CProxyList& list)
{
    std::vector<int> ports;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
        ports.push_back(list.GetNext(pos).m_nPort);
    return ports;
}

inline void ExpectWorkerEmpty(CWorker& worker)
{
    EXPECT_TRUE(worker.m_listAll.IsEmpty());
    EXPECT_TRUE(worker.m_listQueue.IsEmpty());
    EXPECT_TRUE(worker.m_listResults.IsEmpty());
    EXPECT_EQ(0, worker.m_nRunning);
    EXPECT_FALSE(worker.m_bRunning);
}

// The runs read the settings of the process and the relay password.
class ProxyRunTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetDefaultSettings(GetSettings(), 0);
        CSettingTestItem* pTest = GetSettings().GetTest();
        strcpy(pTest->m_szURL, kTestUrl);
        strcpy(pTest->m_szCorrectValue, "engine");
        // Short: the silent proxies cost one time-out each.
        pTest->m_nTimeoutSeconds = 2;
        strcpy(GetSettings().GetMisc()->m_szProxyUser, world::kProxyUser);
        strcpy(g_szProxyPassword, world::kProxyPassword);
        // The speed test reads the password from the relay's locked copy.
        g_relayServer.SetCredentials(world::kProxyUser, world::kProxyPassword);
        g_bStopTest = false;
        GetTestSpeedWorker().m_nMaxThreads = 10;
        GetCheckAnonymousWorker().m_nMaxThreads = 10;
        BeginTestRun();
        RegisterProgressWindow(m_counter.m_hWnd);
    }
    void TearDown() override
    {
        UnregisterProgressWindow();
        g_bStopTest = false;
    }

    void SetTimeoutSeconds(int n) { GetSettings().GetTest()->m_nTimeoutSeconds = n; }
    void SetCorrectValue(const char* psz) { strcpy(GetSettings().GetTest()->m_szCorrectValue, psz); }

    ProgressCounter m_counter;
};

}  // namespace proxyrun
