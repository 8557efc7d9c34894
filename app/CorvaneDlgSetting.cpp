// The settings dialog, from its button and from the tray menu.
#include "app/CorvaneDlg.h"

#include "app/CorvaneMessages.h"
#include "app/SettingDialog.h"
#include "net/Harvest.h"
#include "net/TestDriver.h"

bool CCorvaneDlg::IsTestOrHarvestRunning()
{
    // Test and harvest threads read the test page and expected text while
    // they run; the dialog would rewrite them under their feet.
    return IsProxyTestRunning() || IsHarvestRunning();
}

void CCorvaneDlg::OnTraySetting()
{
    if (IsTestOrHarvestRunning())
        return;
    CSettingDialog dlg(this);
    dlg.DoModal();
}

void CCorvaneDlg::OnSettingButton()
{
    if (IsTestOrHarvestRunning())
        return;
    CSettingDialog dlg(this);
    dlg.DoModal();
    m_listProxy.SetFocus();
}
