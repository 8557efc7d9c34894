// The settings dialog, from its button and from the tray menu.
#include "app/CorvaneDlg.h"

#include "app/CorvaneMessages.h"
#include "app/SettingDialog.h"

void CCorvaneDlg::OnTraySetting()
{
    CSettingDialog dlg(this);
    dlg.DoModal();
}

void CCorvaneDlg::OnSettingButton()
{
    CSettingDialog dlg(this);
    dlg.DoModal();
    m_listProxy.SetFocus();
}
