// The proxy type and country page of the settings dialog, bound to the settings.
#include "app/GetSettingDialog.h"

#include "proxy/CountryTable.h"

namespace {
// Every control that picks single countries; All Countries disables them.
const int kCountryControls[] = {
    IDC_GET_UNSELECTED, IDC_GET_SELECTED, IDC_GET_ADD_ALL, IDC_GET_ADD, IDC_GET_REMOVE, IDC_GET_REMOVE_ALL,
};
}  // namespace

BEGIN_MESSAGE_MAP(CGetSettingDialog, CDialog)
ON_BN_CLICKED(IDC_GET_ALL_COUNTRIES, &CGetSettingDialog::OnAllCountries)
ON_BN_CLICKED(IDC_GET_ADD_ALL, &CGetSettingDialog::OnAddAll)
ON_BN_CLICKED(IDC_GET_ADD, &CGetSettingDialog::OnAdd)
ON_BN_CLICKED(IDC_GET_REMOVE, &CGetSettingDialog::OnRemove)
ON_BN_CLICKED(IDC_GET_REMOVE_ALL, &CGetSettingDialog::OnRemoveAll)
END_MESSAGE_MAP()

CGetSettingDialog::CGetSettingDialog() : CDialog(IDD_GET_SETTING) {}

void CGetSettingDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_GET_UNSELECTED, m_listUnselected);
    DDX_Control(pDX, IDC_GET_SELECTED, m_listSelected);
}

BOOL CGetSettingDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_toolTip.Create(this);
    m_toolTip.AddTool(GetDlgItem(IDC_GET_ELITE), IDS_TIP_ELITE);
    m_toolTip.AddTool(GetDlgItem(IDC_GET_ANONYMOUS), IDS_TIP_ANONYMOUS);

    for (CListCtrl* pList : { &m_listUnselected, &m_listSelected }) {
        CRect rc;
        pList->GetClientRect(&rc);
        pList->InsertColumn(0, L"", LVCFMT_LEFT, rc.Width() - ::GetSystemMetrics(SM_CXVSCROLL));
    }
    m_selection.assign(GetCountryTable().GetCount(), 0);
    FillLists();
    return TRUE;
}

BOOL CGetSettingDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_RETURN))
        return FALSE;
    m_toolTip.RelayEvent(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

void CGetSettingDialog::FillLists()
{
    m_listUnselected.DeleteAllItems();
    m_listSelected.DeleteAllItems();
    const CCountryTable& table = GetCountryTable();
    for (int i = 0; i < (int)m_selection.size(); ++i) {
        const CCountry* pCountry = table.GetAt(i);
        if (pCountry == NULL)
            continue;
        CListCtrl& list = m_selection[i] ? m_listSelected : m_listUnselected;
        int nRow = list.InsertItem(list.GetItemCount(), pCountry->m_szName);
        if (nRow >= 0)
            list.SetItemData(nRow, (DWORD_PTR)i);
    }
}

void CGetSettingDialog::MoveSelectedRows(CListCtrl& list, unsigned char bSelected)
{
    POSITION pos = list.GetFirstSelectedItemPosition();
    while (pos != NULL) {
        size_t nCountry = (size_t)list.GetItemData(list.GetNextSelectedItem(pos));
        if (nCountry < m_selection.size())
            m_selection[nCountry] = bSelected;
    }
    FillLists();
}

void CGetSettingDialog::OnAllCountries()
{
    BOOL bEnable = IsDlgButtonChecked(IDC_GET_ALL_COUNTRIES) != BST_CHECKED;
    for (int nID : kCountryControls)
        GetDlgItem(nID)->EnableWindow(bEnable);
}

void CGetSettingDialog::OnAddAll()
{
    m_selection.assign(m_selection.size(), 1);
    FillLists();
}

void CGetSettingDialog::OnAdd()
{
    MoveSelectedRows(m_listUnselected, 1);
}

void CGetSettingDialog::OnRemove()
{
    MoveSelectedRows(m_listSelected, 0);
}

void CGetSettingDialog::OnRemoveAll()
{
    m_selection.assign(m_selection.size(), 0);
    FillLists();
}
