// The test page of the settings dialog: test type, threads, time-out, page and text.
#include "app/TestSettingDialog.h"

#include "proxy/CodePage.h"
#include "proxy/Decimal.h"
#include "proxy/Settings.h"

namespace {
const int kMinThreads = 5;
const int kMaxThreads = 30;
const int kMinTimeout = 5;
const int kMaxTimeout = 30;
}  // namespace

BEGIN_MESSAGE_MAP(CTestSettingDialog, CDialog)
ON_BN_CLICKED(IDC_TEST_TYPE_NONE, &CTestSettingDialog::OnTestTypeClicked)
ON_BN_CLICKED(IDC_TEST_TYPE_SPEED, &CTestSettingDialog::OnTestTypeClicked)
END_MESSAGE_MAP()

CTestSettingDialog::CTestSettingDialog() : CDialog(IDD_TEST_SETTING) {}

void CTestSettingDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_TEST_THREADS_SPIN, m_spinThreads);
    DDX_Control(pDX, IDC_TEST_TIMEOUT_SPIN, m_spinTimeout);
}

BOOL CTestSettingDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_toolTip.Create(this);
    static const struct
    {
        int nControl;
        UINT nTip;
    } tips[] = {
        { IDC_TEST_TYPE_NONE, IDS_TIP_NO_TEST },     { IDC_TEST_TYPE_AVAILABILITY, IDS_TIP_TEST_AVAILABILITY },
        { IDC_TEST_TYPE_SPEED, IDS_TIP_TEST_SPEED }, { IDC_TEST_THREADS, IDS_TIP_THREADS },
        { IDC_TEST_TIMEOUT, IDS_TIP_TIMEOUT },       { IDC_TEST_URL, IDS_TIP_TEST_URL },
        { IDC_TEST_EXPECTED, IDS_TIP_EXPECTED },
    };
    for (const auto& tip : tips)
        m_toolTip.AddTool(GetDlgItem(tip.nControl), tip.nTip);
    return TRUE;
}

BOOL CTestSettingDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_RETURN))
        return FALSE;
    m_toolTip.RelayEvent(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

void CTestSettingDialog::OnTestTypeClicked()
{
    // The hidden availability button is skipped by the automatic radio
    // buttons when they clear their group, so a stored type 1 would stay
    // checked beside the user's choice.
    const MSG* pMsg = GetCurrentMessage();
    CheckRadioButton(IDC_TEST_TYPE_NONE, IDC_TEST_TYPE_SPEED, LOWORD(pMsg->wParam));
}

void CTestSettingDialog::LoadFromSettings()
{
    CSettings& settings = GetSettings();
    if (!settings.m_bLoaded)
        return;
    const CSettingTestItem* pTest = settings.GetTest();

    switch (pTest->m_nTestType) {
    case 0: CheckRadioButton(IDC_TEST_TYPE_NONE, IDC_TEST_TYPE_SPEED, IDC_TEST_TYPE_NONE); break;
    case 1: CheckRadioButton(IDC_TEST_TYPE_NONE, IDC_TEST_TYPE_SPEED, IDC_TEST_TYPE_AVAILABILITY); break;
    case 2: CheckRadioButton(IDC_TEST_TYPE_NONE, IDC_TEST_TYPE_SPEED, IDC_TEST_TYPE_SPEED); break;
    default: break;
    }

    SetDlgItemInt(IDC_TEST_THREADS, pTest->m_nThreadCount);
    m_spinThreads.SetRange32(kMinThreads, kMaxThreads);
    SetDlgItemInt(IDC_TEST_TIMEOUT, pTest->m_nTimeoutSeconds);
    m_spinTimeout.SetRange32(kMinTimeout, kMaxTimeout);

    SetDlgItemText(IDC_TEST_URL, CString(pTest->m_szURL));
    SetDlgItemText(IDC_TEST_EXPECTED, CString(pTest->m_szCorrectValue));
}

void CTestSettingDialog::SaveToSettings()
{
    CSettings& settings = GetSettings();
    if (!settings.m_bLoaded)
        return;
    CSettingTestItem* pTest = settings.GetTest();

    if (IsDlgButtonChecked(IDC_TEST_TYPE_NONE))
        pTest->m_nTestType = 0;
    else if (IsDlgButtonChecked(IDC_TEST_TYPE_AVAILABILITY))
        pTest->m_nTestType = 1;
    else
        pTest->m_nTestType = 2;

    CString strText;
    int nValue;
    GetDlgItemText(IDC_TEST_THREADS, strText);
    if (ParseDecimalInRange(strText, kMinThreads, kMaxThreads, nValue))
        pTest->m_nThreadCount = nValue;
    GetDlgItemText(IDC_TEST_TIMEOUT, strText);
    if (ParseDecimalInRange(strText, kMinTimeout, kMaxTimeout, nValue))
        pTest->m_nTimeoutSeconds = nValue;

    // An empty text asks for the maker's test definition again, which also
    // resets the rest of the section.
    GetDlgItemText(IDC_TEST_URL, strText);
    if (!strText.IsEmpty())
        WideToOemBuffer(sizeof(pTest->m_szURL), strText, pTest->m_szURL);
    else
        pTest->SetDefault();

    GetDlgItemText(IDC_TEST_EXPECTED, strText);
    if (!strText.IsEmpty()) {
        char szValue[sizeof(pTest->m_szCorrectValue)];
        if (WideToOemBuffer(sizeof(szValue), strText, szValue))
            pTest->SetCorrectValue(szValue);
    } else {
        pTest->SetDefault();
    }
}
