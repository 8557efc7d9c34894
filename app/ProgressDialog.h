// The modal "Testing" dialog shown while a proxy test runs: the test threads
// advance its bar, and its Cancel stops the run.
#pragma once

#include "afxwin.h"

#ifndef IDD_PROGRESS
#define IDD_PROGRESS 163
#endif
#ifndef IDC_TEST_PROGRESS
#define IDC_TEST_PROGRESS 1044
#endif

#define PROGRESS_TEXT_ID (-1)

class CProgressDialog : public CDialog
{
    DECLARE_DYNAMIC(CProgressDialog)
public:
    enum
    {
        IDD = IDD_PROGRESS
    };
    enum
    {
        STATE_RUNNING = 0,
        STATE_FINISHED = 1,
        STATE_CANCELED = 2
    };

    CProgressDialog(bool bSpeed, int nTotal, CWnd* pParent = NULL);

    bool m_bSpeed;
    int m_nTotal;
    int m_nDone;
    int m_nState;
    CProgressCtrl m_progress;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // The dialog has no OK button, and it must outlive the run: Enter does
    // nothing, and every way of closing it asks the run to stop instead.
    void OnOK() override;
    void OnCancel() override;

    afx_msg LRESULT OnTestProgress(WPARAM wParam, LPARAM lParam);
    afx_msg void OnClose();
    afx_msg void OnBnClickedCancel();

    DECLARE_MESSAGE_MAP()

private:
    void CancelRun();
};

// One proxy test on the global list under the progress dialog: starts the
// speed (bSpeed) or availability driver thread, runs the dialog modally
// until the run has ended, and returns once the driver has let go of the
// list. False when there was nothing to test or the run could not start.
bool RunProxyTest(CWnd* pParent, bool bSpeed);
