// The switch page of the settings dialog: Firefox and the automatic switching.
#include "app/SwitchSettingDialog.h"

#include "net/FirefoxProxy.h"
#include "proxy/Decimal.h"
#include "proxy/Settings.h"

const wchar_t kFirefoxCloseQuestion[] =
    L"Firefox should be closed to change its setting. Do you want to close Firefox?";

namespace {
const int kMinRatio = 20;
const int kMaxRatio = 100;
const int kMinInterval = 4;
const int kMaxInterval = 100;
}  // namespace

BEGIN_MESSAGE_MAP(CSwitchSettingDialog, CDialog)
END_MESSAGE_MAP()

CSwitchSettingDialog::CSwitchSettingDialog() : CDialog(IDD_SWITCH_SETTING) {}

void CSwitchSettingDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SWITCH_RATIO_SPIN, m_spinRatio);
    DDX_Control(pDX, IDC_SWITCH_INTERVAL_SPIN, m_spinInterval);
}

BOOL CSwitchSettingDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_toolTip.Create(this);
    m_toolTip.AddTool(GetDlgItem(IDC_SWITCH_FIREFOX), IDS_TIP_FIREFOX);
    m_toolTip.AddTool(GetDlgItem(IDC_SWITCH_RATIO), IDS_TIP_RATIO);
    m_toolTip.AddTool(GetDlgItem(IDC_SWITCH_INTERVAL), IDS_TIP_INTERVAL);
    return TRUE;
}

BOOL CSwitchSettingDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_RETURN))
        return FALSE;
    m_toolTip.RelayEvent(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

void CSwitchSettingDialog::LoadFromSettings()
{
    CSettings& settings = GetSettings();
    if (!settings.m_bLoaded)
        return;
    const CSettingSwitchItem* pSwitch = settings.GetSwitch();

    CheckDlgButton(IDC_SWITCH_IE, BST_CHECKED);
    bool bFollows = false;
    if (IsFirefoxFollowingSystemProxy(GetFirefoxPaths(), bFollows))
        CheckDlgButton(IDC_SWITCH_FIREFOX, pSwitch->m_bFirefox ? BST_CHECKED : BST_UNCHECKED);
    else
        GetDlgItem(IDC_SWITCH_FIREFOX)->EnableWindow(FALSE);

    SetDlgItemInt(IDC_SWITCH_INTERVAL, pSwitch->m_nInterval);
    m_spinInterval.SetRange32(kMinInterval, kMaxInterval);
    SetDlgItemInt(IDC_SWITCH_RATIO, pSwitch->m_nRatio);
    m_spinRatio.SetRange32(kMinRatio, kMaxRatio);
}

void CSwitchSettingDialog::SaveToSettings()
{
    CSettings& settings = GetSettings();
    if (!settings.m_bLoaded)
        return;
    CSettingSwitchItem* pSwitch = settings.GetSwitch();

    // The choice is kept even when Firefox stays open: the start-up check
    // offers the change again.
    bool bFirefox = IsDlgButtonChecked(IDC_SWITCH_FIREFOX) == BST_CHECKED;
    if (bFirefox != pSwitch->m_bFirefox) {
        pSwitch->m_bFirefox = bFirefox;
        ChangeFirefoxProxySetting(GetTopLevelParent()->GetSafeHwnd(), GetFirefoxPaths(), bFirefox,
                                  kFirefoxCloseQuestion);
    }

    CString strText;
    int nValue;
    GetDlgItemText(IDC_SWITCH_INTERVAL, strText);
    if (ParseDecimalInRange(strText, kMinInterval, kMaxInterval, nValue))
        pSwitch->m_nInterval = nValue;
    GetDlgItemText(IDC_SWITCH_RATIO, strText);
    if (ParseDecimalInRange(strText, kMinRatio, kMaxRatio, nValue))
        pSwitch->m_nRatio = nValue;
}
