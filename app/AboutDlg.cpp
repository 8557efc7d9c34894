// The About box: its version text and the flag its openers rely on.
#include "app/AboutDlg.h"

#include "app/CorvaneMessages.h"
#include "res/dialogs_server.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, NULL) {}

CAboutDlg::~CAboutDlg()
{
    g_bAboutOpen = false;
}
