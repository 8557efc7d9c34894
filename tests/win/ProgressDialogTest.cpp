// The "Testing" dialog on its own, fed with progress and finish notices as
// the test threads post them: the bar, the texts, Cancel and the end boxes.
#include "app/ProgressDialog.h"
#include "net/Worker.h"
#include "tests/win/ModalWindowWatcher.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Seen
{
    std::wstring strText;        // the dialog's text when it came up
    std::vector<int> positions;  // bar positions after each step
    std::wstring strCanceling;   // the text after Cancel
    bool bCancelEnabled = true;  // the Cancel button after Cancel
    bool bOpenAfterEnter = false;
    bool bStopFlagAfterCancel = false;
    bool bWorkerRunningAfterCancel = true;
    int nRangeMax = -1;
    std::wstring strBox;           // the end box's text
    bool bDialogUnderBox = false;  // the dialog still there while the box shows
};

class ProgressDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitTestControls();
        m_hParent = ::CreateWindowExW(0, L"STATIC", L"Test parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                      NULL, NULL, NULL, NULL);
        ASSERT_NE((HWND)NULL, m_hParent);
        UnregisterProgressWindow();
        BeginTestRun();
        g_bStopTest = false;
    }
    void TearDown() override
    {
        m_watcher.Stop();
        ::DestroyWindow(m_hParent);
        UnregisterProgressWindow();
        g_bStopTest = false;
        GetTestSpeedWorker().m_bRunning = false;
        GetCheckAnonymousWorker().m_bRunning = false;
    }

    // Runs the dialog modally on this thread while script drives it.
    INT_PTR Run(bool bSpeed, int nTotal, std::function<void(CModalWindowWatcher&)> script)
    {
        m_watcher.Start(script);
        CProgressDialog dialog(bSpeed, nTotal, CWnd::FromHandle(m_hParent));
        INT_PTR nResult = dialog.DoModal();
        m_watcher.Stop();
        return nResult;
    }

    static void Post(HWND hDlg, WPARAM wParam, LPARAM lParam)
    {
        ::PostMessageW(hDlg, WM_TEST_PROGRESS, wParam, lParam);
    }
    // A step, handled before this returns.
    static int Step(HWND hDlg, LPARAM lParam)
    {
        ::SendMessageW(hDlg, WM_TEST_PROGRESS, TEST_PROGRESS_STEP, lParam);
        return CModalWindowWatcher::ProgressPos(hDlg, IDC_TEST_PROGRESS);
    }
    static void Finish(HWND hDlg, Seen& seen, CModalWindowWatcher& w)
    {
        Post(hDlg, TEST_PROGRESS_FINISH, 0);
        HWND hBox = w.WaitForMessageBox(hDlg);
        if (hBox == NULL)
            return;
        seen.strBox = CModalWindowWatcher::FirstStaticText(hBox);
        seen.bDialogUnderBox = ::IsWindow(hDlg) != FALSE;
        ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
    }

    HWND m_hParent = NULL;
    CModalWindowWatcher m_watcher{ ::GetCurrentThreadId() };
};

TEST_F(ProgressDialogTest, StepsMoveTheBarInWholePercentUpToFull)
{
    Seen seen;
    INT_PTR nResult = Run(false, 3, [&](CModalWindowWatcher& w) {
        HWND hDlg = w.WaitForDialog(L"Testing");
        if (hDlg == NULL)
            return;
        seen.strText = CModalWindowWatcher::FirstStaticText(hDlg);
        seen.nRangeMax = (int)::SendMessageW(::GetDlgItem(hDlg, IDC_TEST_PROGRESS), PBM_GETRANGE, FALSE, 0);
        seen.positions.push_back(CModalWindowWatcher::ProgressPos(hDlg, IDC_TEST_PROGRESS));
        for (LPARAM step : { 1, 1, 0, 5, 1 })
            seen.positions.push_back(Step(hDlg, step));
        // An unknown notice does nothing.
        ::SendMessageW(hDlg, WM_TEST_PROGRESS, 7, 0);
        seen.bOpenAfterEnter = ::IsWindow(hDlg) && w.FindMessageBox(hDlg) == NULL;
        Finish(hDlg, seen, w);
    });
    EXPECT_EQ(IDOK, nResult);
    EXPECT_EQ(L"Testing proxies' availability...", seen.strText);
    EXPECT_EQ(100, seen.nRangeMax);
    // 3 proxies: 1/3 and 2/3 truncate; the surplus stops at the top.
    EXPECT_EQ((std::vector<int>{ 0, 33, 66, 66, 100, 100 }), seen.positions);
    EXPECT_TRUE(seen.bOpenAfterEnter);
    EXPECT_EQ(L"The proxy test is finished!", seen.strBox);
    EXPECT_TRUE(seen.bDialogUnderBox);
    EXPECT_EQ((HWND)NULL, g_hProgressWnd);
}

TEST_F(ProgressDialogTest, CancelWaitsForTheFinishAndIgnoresLaterSteps)
{
    Seen seen;
    GetTestSpeedWorker().m_bRunning = true;
    INT_PTR nResult = Run(true, 4, [&](CModalWindowWatcher& w) {
        HWND hDlg = w.WaitForDialog(L"Testing");
        if (hDlg == NULL)
            return;
        seen.strText = CModalWindowWatcher::FirstStaticText(hDlg);
        seen.positions.push_back(Step(hDlg, 1));
        CModalWindowWatcher::Click(hDlg, IDCANCEL);
        seen.strCanceling = CModalWindowWatcher::FirstStaticText(hDlg);
        seen.bCancelEnabled = ::IsWindowEnabled(::GetDlgItem(hDlg, IDCANCEL)) != FALSE;
        seen.bStopFlagAfterCancel = g_bStopTest;
        seen.bWorkerRunningAfterCancel = GetTestSpeedWorker().m_bRunning;
        seen.positions.push_back(Step(hDlg, 2));
        // Enter has nothing to end: the dialog stays.
        ::SendMessageW(hDlg, WM_COMMAND, IDOK, 0);
        ::Sleep(100);
        seen.bOpenAfterEnter = ::IsWindow(hDlg) && ::IsWindowVisible(hDlg);
        Finish(hDlg, seen, w);
    });
    EXPECT_EQ(IDOK, nResult);
    EXPECT_EQ(L"Testing proxies' speed...", seen.strText);
    EXPECT_EQ((std::vector<int>{ 25, 25 }), seen.positions);
    EXPECT_EQ(L"Canceling...", seen.strCanceling);
    EXPECT_FALSE(seen.bCancelEnabled);
    EXPECT_TRUE(seen.bStopFlagAfterCancel);
    EXPECT_FALSE(seen.bWorkerRunningAfterCancel);
    EXPECT_TRUE(seen.bOpenAfterEnter);
    EXPECT_EQ(L"The proxy test is canceled by you!", seen.strBox);
    // The finish notice clears the stop flag for the next run.
    EXPECT_FALSE(g_bStopTest);
    EXPECT_EQ((HWND)NULL, g_hProgressWnd);
}

TEST_F(ProgressDialogTest, EmptyRunEndsAtOnceWithoutRegistering)
{
    g_bStopTest = true;
    bool bSawDialog = false;
    INT_PTR nResult =
        Run(true, 0, [&](CModalWindowWatcher& w) { bSawDialog = w.WaitForDialog(L"Testing", 300) != NULL; });
    EXPECT_EQ(IDOK, nResult);
    EXPECT_FALSE(bSawDialog);
    EXPECT_EQ((HWND)NULL, g_hProgressWnd);
    EXPECT_TRUE(g_bStopTest);  // untouched: no run was set up
}

TEST_F(ProgressDialogTest, FinishPostedBeforeTheDialogIsUpStillEndsIt)
{
    // The run ended before the dialog registered itself.
    PostTestFinished();
    std::wstring strBox;
    INT_PTR nResult = Run(false, 2, [&](CModalWindowWatcher& w) {
        HWND hBox = w.WaitForMessageBox(NULL);
        if (hBox == NULL)
            return;
        strBox = CModalWindowWatcher::FirstStaticText(hBox);
        ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(IDOK, nResult);
    EXPECT_EQ(L"The proxy test is finished!", strBox);
    EXPECT_EQ((HWND)NULL, g_hProgressWnd);

    // BeginTestRun forgets a notice left by an earlier run: the next dialog
    // waits for its own.
    PostTestFinished();
    BeginTestRun();
    Seen seen;
    nResult = Run(false, 2, [&](CModalWindowWatcher& w) {
        HWND hDlg = w.WaitForDialog(L"Testing");
        if (hDlg == NULL)
            return;
        ::Sleep(300);
        seen.bOpenAfterEnter = w.FindMessageBox(hDlg) == NULL && ::IsWindow(hDlg);
        Finish(hDlg, seen, w);
    });
    EXPECT_TRUE(seen.bOpenAfterEnter);
    EXPECT_EQ(L"The proxy test is finished!", seen.strBox);
}

}  // namespace
