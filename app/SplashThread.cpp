// The splash's own thread, so the splash draws while start-up blocks.
#include "app/SplashThread.h"

#include "app/SplashDialog.h"

IMPLEMENT_DYNCREATE(CSplashThread, CWinThread)

namespace {
const DWORD kReadyTimeoutMs = 10000;
}

CSplashThread::CSplashThread() : m_pSplashDlg(NULL), m_hReady(CreateEventW(NULL, TRUE, FALSE, NULL))
{
    // The application keeps a pointer to this object for the life of the
    // process, so the object must outlive the thread.
    m_bAutoDelete = FALSE;
}

CSplashThread::~CSplashThread()
{
    if (m_hReady)
        CloseHandle(m_hReady);
}

BOOL CSplashThread::InitInstance()
{
    m_pSplashDlg = new CSplashDialog;
    if (m_pSplashDlg->Create(CSplashDialog::IDD, NULL))
        m_pSplashDlg->ShowWindow(SW_SHOW);
    if (m_hReady)
        SetEvent(m_hReady);
    return TRUE;
}

int CSplashThread::ExitInstance()
{
    if (m_pSplashDlg) {
        if (m_pSplashDlg->GetSafeHwnd())
            m_pSplashDlg->DestroyWindow();
        delete m_pSplashDlg;
        m_pSplashDlg = NULL;
    }
    return CWinThread::ExitInstance();
}

void CSplashThread::CloseSplash()
{
    if (m_hReady) {
        HANDLE handles[2] = { m_hReady, m_hThread };
        WaitForMultipleObjects(m_hThread ? 2 : 1, handles, FALSE, kReadyTimeoutMs);
    }
    CSplashDialog* pDlg = m_pSplashDlg;
    if (pDlg && ::IsWindow(pDlg->GetSafeHwnd()))
        ::SendMessageW(pDlg->GetSafeHwnd(), WM_CLOSE, 0, 0);
}
