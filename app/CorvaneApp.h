// The application object: single instance, splash screen, main window.
#pragma once

#include "afxwin.h"

class CCorvaneApp : public CWinAppEx
{
public:
    CCorvaneApp();

    BOOL InitInstance() override;

    // The splash screen's thread; NULL when it could not be started.
    CWinThread* m_pSplashThread;

    DECLARE_MESSAGE_MAP()
};

extern CCorvaneApp theApp;
