// Asks whether a new list replaces or extends the current one, and keeps the answer.
#include "app/ReplaceDialog.h"

#include "proxy/Settings.h"

BEGIN_MESSAGE_MAP(CReplaceDialog, CDialog)
ON_BN_CLICKED(IDOK, &CReplaceDialog::OnOK)
END_MESSAGE_MAP()

CReplaceDialog::CReplaceDialog(bool bForDownload, CWnd* pParent)
    : CDialog(IDD_REPLACE, pParent), m_bForDownload(bForDownload)
{}

bool* CReplaceDialog::ChosenFlag() const
{
    CSettings& settings = GetSettings();
    CSettingMiscItem* pMisc = settings.m_bLoaded ? settings.GetMisc() : NULL;
    if (pMisc == NULL)
        return NULL;
    return m_bForDownload ? &pMisc->m_bReplaceByGet : &pMisc->m_bReplaceByImport;
}

BOOL CReplaceDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    bool* pFlag = ChosenFlag();
    if (pFlag != NULL)
        CheckRadioButton(IDC_REPLACE_CURRENT, IDC_APPEND_CURRENT, *pFlag ? IDC_REPLACE_CURRENT : IDC_APPEND_CURRENT);
    return TRUE;
}

void CReplaceDialog::OnOK()
{
    bool* pFlag = ChosenFlag();
    if (pFlag != NULL) {
        *pFlag = IsDlgButtonChecked(IDC_REPLACE_CURRENT) == BST_CHECKED;
        SaveSettings(GetSettings());
    }
    EndDialog(IDOK);
}
