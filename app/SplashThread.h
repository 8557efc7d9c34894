// The splash screen's own user-interface thread, so that the splash keeps
// drawing while the main thread blocks in its start-up requests.
#pragma once

#include "afxwin.h"

class CSplashDialog;

class CSplashThread : public CWinThread
{
    DECLARE_DYNCREATE(CSplashThread)
protected:
    CSplashThread();

public:
    ~CSplashThread() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // Takes the splash off the screen (synchronous WM_CLOSE). Waits first
    // until the thread has made its window, so that an early call does not
    // leave the splash up for good.
    void CloseSplash();

    CSplashDialog* m_pSplashDlg;

private:
    HANDLE m_hReady;  // set once InitInstance has made (or failed to make) the window
};
