// The About box (system menu and notification-area menu).
#pragma once

#include "afxwin.h"

class CAboutDlg : public CDialog
{
public:
    CAboutDlg();
    // Clears g_bAboutOpen, which the openers set before DoModal.
    ~CAboutDlg() override;
};
