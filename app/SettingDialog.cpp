// The settings dialog: its pages, their checks, OK and Reset to Defaults.
#include "app/SettingDialog.h"

#include "app/CorvaneMessages.h"
#include "proxy/Decimal.h"
#include "proxy/Settings.h"
#include "proxy/TabStdioFile.h"

const wchar_t kResetQuestion[] =
    L"When you reset, any changes you've made will be reverted to the default settings."
    L"Do you want to reset to defaults?";

namespace {
enum
{
    TAB_TEST = 0,
    TAB_SWITCH = 1
};

// Where the pages sit inside the tab control's client area.
const int kPageLeft = 10;
const int kPageTop = 30;

struct NumberRule
{
    int nTab;
    int nControl;
    int nMin;
    int nMax;
    const wchar_t* pszMessage;
};

// In the order they are checked.
const NumberRule kNumberRules[] = {
    { TAB_SWITCH, IDC_SWITCH_RATIO, 20, 100, L"The ratio must be bewteen %d to %d." },
    { TAB_SWITCH, IDC_SWITCH_INTERVAL, 4, 100, L"The interval value must be bewteen %d to %d minutes." },
    { TAB_TEST, IDC_TEST_THREADS, 5, 30, L"The test thread number must be bewteen %d to %d." },
    { TAB_TEST, IDC_TEST_TIMEOUT, 5, 30, L"The timeout seconds must be bewteen %d to %d." },
};

struct LengthRule
{
    int nControl;
    const wchar_t* pszMessage;
};

// Texts of the test page that must stay below 256 characters.
const LengthRule kLengthRules[] = {
    { IDC_TEST_URL, L"The URL is too long" },
    { IDC_TEST_EXPECTED, L"The Expected Return String is too long" },
};
const int kMaxTextLength = 255;

// The same texts must hold no TAB, CR, LF or other control character: each
// would break its line of setting.crv.
const LengthRule kCharacterRules[] = {
    { IDC_TEST_URL, L"The URL has invalid characters" },
    { IDC_TEST_EXPECTED, L"The Expected Return String has invalid characters" },
};

bool HoldsControlCharacter(const CString& strText)
{
    for (int i = 0; i < strText.GetLength(); ++i) {
        if (IsFieldControl(strText[i]))
            return true;
    }
    return false;
}
}  // namespace

BEGIN_MESSAGE_MAP(CSettingDialog, CDialog)
ON_NOTIFY(TCN_SELCHANGE, IDC_SETTING_TAB, &CSettingDialog::OnTcnSelchangeTab)
ON_BN_CLICKED(IDOK, &CSettingDialog::OnBnClickedOk)
ON_BN_CLICKED(IDC_SETTING_RESET, &CSettingDialog::OnBnClickedReset)
END_MESSAGE_MAP()

bool g_bSettingOpen = false;

CSettingDialog::CSettingDialog(CWnd* pParent) : CDialog(IDD_SETTING, pParent)
{
    g_bSettingOpen = true;
}

CSettingDialog::~CSettingDialog()
{
    g_bSettingOpen = false;
}

void CSettingDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SETTING_TAB, m_tab);
}

BOOL CSettingDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_tab.InsertItem(TAB_TEST, L"Test Proxy Setting");
    m_tab.InsertItem(TAB_SWITCH, L"Switch Proxy Setting");
    m_pageTest.Create(IDD_TEST_SETTING, &m_tab);
    m_pageSwitch.Create(IDD_SWITCH_SETTING, &m_tab);
    ShowPage(TAB_TEST);
    m_pageTest.LoadFromSettings();
    m_pageSwitch.LoadFromSettings();
    return TRUE;
}

void CSettingDialog::ShowPage(int nTab)
{
    CRect rc;
    m_tab.GetClientRect(&rc);
    CDialog& shown = (nTab == TAB_SWITCH) ? static_cast<CDialog&>(m_pageSwitch) : m_pageTest;
    CDialog& hidden = (nTab == TAB_SWITCH) ? static_cast<CDialog&>(m_pageTest) : m_pageSwitch;
    for (CDialog* pPage : { &shown, &hidden }) {
        if (pPage->GetSafeHwnd() == NULL)
            continue;
        pPage->SetWindowPos(NULL, kPageLeft, kPageTop, rc.Width() - 20, rc.Height() - 40,
                            SWP_NOZORDER | SWP_NOACTIVATE | (pPage == &shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    }
}

bool CSettingDialog::ValidateSettings()
{
    CString strMessage;
    int nTab = TAB_TEST;
    CWnd* pControl = NULL;

    for (const NumberRule& rule : kNumberRules) {
        CDialog& page = (rule.nTab == TAB_SWITCH) ? static_cast<CDialog&>(m_pageSwitch) : m_pageTest;
        CString strText;
        page.GetDlgItemText(rule.nControl, strText);
        int nValue;
        if (!ParseDecimalInRange(strText, rule.nMin, rule.nMax, nValue)) {
            strMessage.Format(rule.pszMessage, rule.nMin, rule.nMax);
            nTab = rule.nTab;
            pControl = page.GetDlgItem(rule.nControl);
            break;
        }
    }
    if (pControl == NULL) {
        for (const LengthRule& rule : kLengthRules) {
            CWnd* pEdit = m_pageTest.GetDlgItem(rule.nControl);
            if (pEdit != NULL && pEdit->GetWindowTextLength() > kMaxTextLength) {
                strMessage = rule.pszMessage;
                nTab = TAB_TEST;
                pControl = pEdit;
                break;
            }
        }
    }
    if (pControl == NULL) {
        for (const LengthRule& rule : kCharacterRules) {
            CWnd* pEdit = m_pageTest.GetDlgItem(rule.nControl);
            CString strText;
            if (pEdit != NULL)
                pEdit->GetWindowText(strText);
            if (HoldsControlCharacter(strText)) {
                strMessage = rule.pszMessage;
                nTab = TAB_TEST;
                pControl = pEdit;
                break;
            }
        }
    }
    if (pControl == NULL)
        return true;

    MessageBox(strMessage, NULL, MB_OK);
    // Only the tab header moves: the page with the fault is the one shown.
    m_tab.SetCurSel(nTab);
    pControl->SetFocus();
    return false;
}

void CSettingDialog::OnTcnSelchangeTab(NMHDR* pNMHDR, LRESULT* pResult)
{
    (void)pNMHDR;
    *pResult = 0;
    if (!ValidateSettings())
        return;
    ShowPage(m_tab.GetCurSel());
}

void CSettingDialog::OnBnClickedOk()
{
    if (!ValidateSettings())
        return;
    CSettings& settings = GetSettings();
    m_pageTest.SaveToSettings();
    m_pageSwitch.SaveToSettings();
    // Settings never loaded hold no sections: writing them would empty the file.
    if (settings.m_bLoaded)
        SaveSettings(settings);
    EndDialog(IDOK);
}

void CSettingDialog::OnBnClickedReset()
{
    if (MessageBox(kResetQuestion, NULL, MB_YESNO) != IDYES)
        return;
    CSettings& settings = GetSettings();
    if (!settings.m_bLoaded)
        return;
    // The misc section keeps its values.
    for (int nSlot : { SETTING_ANONYMOUS, SETTING_COUNTRY, SETTING_TEST, SETTING_SWITCH })
        settings.m_pItems[nSlot]->SetDefault();
    SaveSettings(settings);
    m_pageTest.LoadFromSettings();
    m_pageSwitch.LoadFromSettings();
}
