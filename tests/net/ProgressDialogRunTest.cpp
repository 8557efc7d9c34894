// Whole runs on the global list under the real "Testing" dialog, against
// the local world: Cancel in its three forms stops a run promptly, the list
// keeps what passed before the stop, and the next run works.
#include "tests/net/ProxyRunFixture.h"

#include "app/ProgressDialog.h"
#include "tests/win/ModalWindowWatcher.h"

#include <stdio.h>
#include <string>

using namespace proxyrun;

namespace {

enum CancelWay
{
    CANCEL_BUTTON,
    CLOSE_BOX,
    ESCAPE_KEY
};

struct Seen
{
    std::wstring strText;
    int nPosBeforeCancel = -1;
    std::wstring strCanceling;
    bool bCancelEnabled = true;
    bool bOpenWhileCanceling = false;
    int nPosAtBox = -1;
    std::wstring strBox;
    DWORD dwCancelTick = 0;
    DWORD dwBoxTick = 0;  // the finish notice arrived: the run is over
};

class ProgressDialogRunTest : public ProxyRunTest
{
protected:
    void SetUp() override
    {
        ProxyRunTest::SetUp();
        // The dialog registers itself; the fixture's counter stays out of it.
        UnregisterProgressWindow();
        InitCommonControlsEx(&m_icc);
        m_hParent = ::CreateWindowExW(0, L"STATIC", L"Test parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                      NULL, NULL, NULL, NULL);
        ASSERT_NE((HWND)NULL, m_hParent);
    }
    void TearDown() override
    {
        m_watcher.Stop();
        ::DestroyWindow(m_hParent);
        GetProxyList().RemoveAll();
        ProxyRunTest::TearDown();
    }

    // The test page through the origin, answered after nDelayMs.
    static void SetTestUrl(int nDelayMs)
    {
        sprintf(GetSettings().GetTest()->m_szURL, "http://127.0.0.1:%d/slow/%d/corvane/test.html", kOrigin, nDelayMs);
    }

    bool Run(bool bSpeed, std::function<void(CModalWindowWatcher&)> script)
    {
        m_watcher.Start(script);
        bool bResult = RunProxyTest(CWnd::FromHandle(m_hParent), bSpeed);
        m_dwReturnTick = ::GetTickCount();
        m_watcher.Stop();
        return bResult;
    }

    // Waits for the dialog, lets nSteps proxies report, cancels the way
    // given and answers the box.
    static void CancelScript(CModalWindowWatcher& w, Seen& seen, CancelWay way, int nBarAtLeast)
    {
        HWND hDlg = w.WaitForDialog(L"Testing");
        if (hDlg == NULL)
            return;
        seen.strText = CModalWindowWatcher::FirstStaticText(hDlg);
        CModalWindowWatcher::WaitFor(
            [&] { return CModalWindowWatcher::ProgressPos(hDlg, IDC_TEST_PROGRESS) >= nBarAtLeast; });
        ::Sleep(300);  // the next proxy's fetches are under way
        seen.nPosBeforeCancel = CModalWindowWatcher::ProgressPos(hDlg, IDC_TEST_PROGRESS);
        seen.dwCancelTick = ::GetTickCount();
        if (way == CANCEL_BUTTON)
            CModalWindowWatcher::Click(hDlg, IDCANCEL);
        else if (way == CLOSE_BOX)
            ::SendMessageW(hDlg, WM_CLOSE, 0, 0);
        else
            ::PostMessageW(::GetDlgItem(hDlg, IDCANCEL), WM_KEYDOWN, VK_ESCAPE, 0);
        CModalWindowWatcher::WaitFor([&] { return CModalWindowWatcher::FirstStaticText(hDlg) == L"Canceling..."; },
                                     5000);
        seen.strCanceling = CModalWindowWatcher::FirstStaticText(hDlg);
        seen.bCancelEnabled = ::IsWindowEnabled(::GetDlgItem(hDlg, IDCANCEL)) != FALSE;
        seen.bOpenWhileCanceling = ::IsWindowVisible(hDlg) != FALSE;
        AnswerBox(w, hDlg, seen);
    }
    static void AnswerBox(CModalWindowWatcher& w, HWND hDlg, Seen& seen)
    {
        HWND hBox = w.WaitForMessageBox(hDlg, kRunLimitMs);
        seen.dwBoxTick = ::GetTickCount();
        if (hBox == NULL)
            return;
        seen.nPosAtBox = CModalWindowWatcher::ProgressPos(hDlg, IDC_TEST_PROGRESS);
        seen.strBox = CModalWindowWatcher::FirstStaticText(hBox);
        ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
    }
    static void FinishScript(CModalWindowWatcher& w, Seen& seen)
    {
        HWND hDlg = w.WaitForDialog(L"Testing");
        if (hDlg == NULL)
            return;
        seen.strText = CModalWindowWatcher::FirstStaticText(hDlg);
        AnswerBox(w, hDlg, seen);
    }

    INITCOMMONCONTROLSEX m_icc = { sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS };
    HWND m_hParent = NULL;
    DWORD m_dwReturnTick = 0;
    CModalWindowWatcher m_watcher{ ::GetCurrentThreadId() };
};

TEST_F(ProgressDialogRunTest, EveryWayOfCancelingStopsTheSpeedRunPromptly)
{
    const CancelWay ways[] = { CANCEL_BUTTON, CLOSE_BOX, ESCAPE_KEY };
    for (CancelWay way : ways) {
        SCOPED_TRACE(way);
        // One thread: first a proxy whose page takes 1.5 s (time enough for
        // the dialog to come up before it reports), then a silent one that
        // would hold the run for the whole time-out.
        SetTimeoutSeconds(20);
        SetTestUrl(1500);
        GetTestSpeedWorker().m_nMaxThreads = 1;
        Fill(GetProxyList(), { Proxy(world::kOpenProxyPort), Proxy(kSilent), Proxy(kGood), Proxy(kSlow) });
        Seen seen;
        ASSERT_TRUE(Run(true, [&](CModalWindowWatcher& w) { CancelScript(w, seen, way, 25); }));

        EXPECT_EQ(L"Testing proxies' speed...", seen.strText);
        EXPECT_EQ(25, seen.nPosBeforeCancel);
        EXPECT_EQ(L"Canceling...", seen.strCanceling);
        EXPECT_FALSE(seen.bCancelEnabled);
        EXPECT_TRUE(seen.bOpenWhileCanceling);
        EXPECT_EQ(L"The proxy test is canceled by you!", seen.strBox);
        // Notices after Cancel leave the bar where it was.
        EXPECT_EQ(25, seen.nPosAtBox);
        ASSERT_NE(0u, seen.dwCancelTick);
        // The run ended well inside the 20 s time-out, and the call returned.
        EXPECT_LT(seen.dwBoxTick - seen.dwCancelTick, 5000u);
        EXPECT_LT(m_dwReturnTick - seen.dwCancelTick, 15000u);

        // Only what passed before the stop.
        CProxyList& list = GetProxyList();
        ASSERT_EQ(1, list.GetCount());
        EXPECT_EQ(world::kOpenProxyPort, list.GetHead().m_nPort);
        EXPECT_EQ(5, list.GetHead().m_nUptime);
        EXPECT_GE(list.GetHead().m_nSpeed, 1500 - 10);
        EXPECT_EQ((HWND)NULL, g_hProgressWnd);
        EXPECT_FALSE(g_bStopTest);
        ExpectWorkerEmpty(GetTestSpeedWorker());
    }
}

TEST_F(ProgressDialogRunTest, RunsAfterACanceledOneWork)
{
    // An availability run canceled while its first batch (five silent
    // proxies) waits.
    SetTimeoutSeconds(20);
    GetCheckAnonymousWorker().m_nMaxThreads = 1;
    CProxyList& list = GetProxyList();
    list.RemoveAll();
    const char* const silentAddresses[] = { "127.0.0.1", "localhost", "127.1", "127.0.1", "0x7f.0.0.1" };
    for (const char* pszAddress : silentAddresses) {
        CProxy silent(pszAddress, kSilent, -1, 0, 0, PROXY_SPEED_UNMEASURED);
        list.AddTail(silent);
    }
    CProxy good = Proxy(kGood);
    list.AddTail(good);
    CProxy open = Proxy(world::kOpenProxyPort);
    list.AddTail(open);
    Seen canceled;
    ASSERT_TRUE(Run(false, [&](CModalWindowWatcher& w) { CancelScript(w, canceled, CANCEL_BUTTON, 0); }));
    EXPECT_EQ(L"Testing proxies' availability...", canceled.strText);
    EXPECT_EQ(L"The proxy test is canceled by you!", canceled.strBox);
    EXPECT_EQ(0, canceled.nPosAtBox);  // the batch in flight reported after Cancel
    EXPECT_LT(canceled.dwBoxTick - canceled.dwCancelTick, 5000u);
    EXPECT_LT(m_dwReturnTick - canceled.dwCancelTick, 15000u);
    EXPECT_TRUE(list.IsEmpty());
    ExpectWorkerEmpty(GetCheckAnonymousWorker());

    // The same list kind again, to its end.
    SetTimeoutSeconds(2);
    Fill(list, { Proxy(kSlow, 7, 1, 300), Proxy(kBlock, 7, 1, 200), Proxy(kSilent), Proxy(kGood, 7, 1, 100) });
    Seen finished;
    ASSERT_TRUE(Run(false, [&](CModalWindowWatcher& w) { FinishScript(w, finished); }));
    EXPECT_EQ(L"The proxy test is finished!", finished.strBox);
    EXPECT_EQ(100, finished.nPosAtBox);
    EXPECT_EQ((std::vector<int>{ kGood, kBlock, kSlow }), Ports(list));
    ExpectWorkerEmpty(GetCheckAnonymousWorker());

    // And the speed test after both; every proxy takes long enough to
    // report to the dialog.
    SetTestUrl(800);
    Fill(list, { Proxy(world::kProxyPorts[0]), Proxy(kSilent), Proxy(world::kOpenProxyPort), Proxy(kSlow) });
    Seen speed;
    ASSERT_TRUE(Run(true, [&](CModalWindowWatcher& w) { FinishScript(w, speed); }));
    EXPECT_EQ(L"Testing proxies' speed...", speed.strText);
    EXPECT_EQ(L"The proxy test is finished!", speed.strBox);
    EXPECT_EQ(100, speed.nPosAtBox);
    ASSERT_EQ(3, list.GetCount());
    EXPECT_EQ(kSlow, list.GetHead().m_nPort);
    EXPECT_NE((const CProxy*)NULL, Find(list, world::kProxyPorts[0]));
    EXPECT_NE((const CProxy*)NULL, Find(list, world::kOpenProxyPort));
    EXPECT_EQ((HWND)NULL, g_hProgressWnd);
    ExpectWorkerEmpty(GetTestSpeedWorker());
}

TEST_F(ProgressDialogRunTest, EmptyListShowsNoDialogAndTestsNothing)
{
    GetProxyList().RemoveAll();
    bool bSawDialog = false;
    EXPECT_FALSE(Run(true, [&](CModalWindowWatcher& w) { bSawDialog = w.WaitForDialog(L"Testing", 500) != NULL; }));
    EXPECT_FALSE(bSawDialog);
    EXPECT_TRUE(GetProxyList().IsEmpty());
    ExpectWorkerEmpty(GetTestSpeedWorker());
}

}  // namespace
