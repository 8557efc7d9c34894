// The application object: one instance per machine, the splash, then the main window.
#include "app/CorvaneApp.h"

#include "app/CorvaneDlg.h"
#include "app/SplashThread.h"

#ifndef ID_HELP
#define ID_HELP 0xE146
#endif

BEGIN_MESSAGE_MAP(CCorvaneApp, CWinAppEx)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CCorvaneApp theApp;

CCorvaneApp::CCorvaneApp() : m_pSplashThread(NULL) {}

BOOL CCorvaneApp::InitInstance()
{
    // The handle stays open for the life of the process: the name is taken
    // until the process ends.
    CreateMutexW(NULL, TRUE, L"CorvaneTessaly");
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        AfxMessageBox(L"Another \"Corvane Tessaly\" is running!", MB_OK, 0);
        return FALSE;
    }

    m_pSplashThread = AfxBeginThread(RUNTIME_CLASS(CSplashThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    if (m_pSplashThread) {
        m_pSplashThread->ResumeThread();
        Sleep(1);
    }

    INITCOMMONCONTROLSEX icc;
    icc.dwSize = sizeof(icc);
    icc.dwICC = 0xFF;
    InitCommonControlsEx(&icc);

    CWinAppEx::InitInstance();
    SetRegistryKey(L"Local AppWizard-Generated Applications");

    CCorvaneDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = NULL;
    return FALSE;
}
