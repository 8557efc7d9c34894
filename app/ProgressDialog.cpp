// The "Testing" dialog: its bar follows the test threads, its Cancel stops them.
#include "app/ProgressDialog.h"

#include "net/TestDriver.h"
#include "net/Worker.h"

IMPLEMENT_DYNAMIC(CProgressDialog, CDialog)

BEGIN_MESSAGE_MAP(CProgressDialog, CDialog)
ON_MESSAGE(WM_TEST_PROGRESS, &CProgressDialog::OnTestProgress)
ON_WM_CLOSE()
ON_BN_CLICKED(IDCANCEL, &CProgressDialog::OnBnClickedCancel)
END_MESSAGE_MAP()

CProgressDialog::CProgressDialog(bool bSpeed, int nTotal, CWnd* pParent)
    : CDialog(IDD_PROGRESS, pParent), m_bSpeed(bSpeed), m_nTotal(nTotal), m_nDone(0), m_nState(STATE_RUNNING)
{}

void CProgressDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TEST_PROGRESS, m_progress);
}

BOOL CProgressDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_nTotal == 0) {
        EndDialog(IDOK);
        return TRUE;
    }
    SetDlgItemText(PROGRESS_TEXT_ID, m_bSpeed ? L"Testing proxies' speed..." : L"Testing proxies' availability...");
    m_progress.SetRange(0, 100);
    m_progress.SetPos(0);
    g_bStopTest = false;
    // Last: a run that is already over hands its finish notice over now.
    RegisterProgressWindow(m_hWnd);
    return TRUE;
}

LRESULT CProgressDialog::OnTestProgress(WPARAM wParam, LPARAM lParam)
{
    if (wParam == TEST_PROGRESS_STEP) {
        if (m_nTotal != 0 && m_nState == STATE_RUNNING) {
            if (lParam > 0)
                m_nDone = (lParam >= m_nTotal - m_nDone) ? m_nTotal : m_nDone + (int)lParam;
            m_progress.SetPos((int)((long long)m_nDone * 100 / m_nTotal));
        }
    } else if (wParam == TEST_PROGRESS_FINISH) {
        // The notice comes once; unregister first so that nothing more is
        // posted to a dialog about to go.
        UnregisterProgressWindow();
        if (m_nState == STATE_CANCELED)
            MessageBox(L"The proxy test is canceled by you!", AfxGetAppName(), MB_OK);
        else if (m_nState == STATE_RUNNING) {
            m_nState = STATE_FINISHED;
            MessageBox(L"The proxy test is finished!", AfxGetAppName(), MB_OK);
        }
        g_bStopTest = false;
        EndDialog(IDOK);
    }
    return 0;
}

BOOL CProgressDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        CancelRun();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CProgressDialog::OnOK() {}

void CProgressDialog::OnCancel()
{
    CancelRun();
}

void CProgressDialog::OnClose()
{
    CancelRun();
}

void CProgressDialog::OnBnClickedCancel()
{
    CancelRun();
}

void CProgressDialog::CancelRun()
{
    m_nState = STATE_CANCELED;
    g_bStopTest = true;
    if (m_bSpeed)
        GetTestSpeedWorker().m_bRunning = false;
    else
        GetCheckAnonymousWorker().m_bRunning = false;
    SetDlgItemText(PROGRESS_TEXT_ID, L"Canceling...");
    if (CWnd* pButton = GetDlgItem(IDCANCEL))
        pButton->EnableWindow(FALSE);
}

bool RunProxyTest(CWnd* pParent, bool bSpeed)
{
    // Counted before the driver starts: from then on the driver owns the list.
    const int nTotal = (int)GetProxyList().GetCount();
    BeginTestRun();
    if (!StartProxyTestThread(bSpeed))
        return false;
    CProgressDialog dialog(bSpeed, nTotal, pParent);
    dialog.DoModal();
    // Normally the dialog ends on the driver's last step; should it fail to
    // open, the list must still not be touched before the driver is done.
    WaitForProxyTestThreads();
    return nTotal != 0;
}
