// The program's main window built from its own resource with its controls
// bound, but none of its start-up run (no check-in, icon, relay or timers),
// so window tests can drive its handlers with messages.
#pragma once

#include "app/CorvaneDlg.h"

class CMainWindowProbe : public CCorvaneDlg
{
public:
    bool Create() { return CDialog::Create(CCorvaneDlg::IDD) != FALSE; }
    bool ReadListFile(LPCTSTR pszPath, bool bReplace) { return ReadProxyListFile(pszPath, bReplace); }

protected:
    BOOL OnInitDialog() override { return CDialog::OnInitDialog(); }
};
