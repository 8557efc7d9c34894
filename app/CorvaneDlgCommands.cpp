// The main window's commands on the proxy list, and the tray menu's commands.
#include "app/CorvaneDlg.h"

#include "app/AboutDlg.h"
#include "app/CorvaneMessages.h"
#include "app/LinkOpener.h"
#include "app/ProgressDialog.h"
#include "app/PushMessage.h"
#include "app/ReplaceDialog.h"
#include "net/Harvest.h"
#include "net/HideState.h"
#include "net/ProxyDownload.h"
#include "net/UpstreamSwitch.h"
#include "proxy/Proxy.h"
#include "proxy/ProxyFile.h"
#include "proxy/ProxyRows.h"
#include "proxy/ProxySort.h"
#include "proxy/Settings.h"

#include <vector>

namespace {

const wchar_t kSupportPage[] = L"http://www.corvanetessaly.com/support.htm";
// A public proxy-list site that shows where an address lies.
const wchar_t kCheckIPPage[] = L"http://www.proxy-atlas.example/";

const wchar_t kGetProxyCaption[] = L"Get Proxy";

const DWORD kListFileFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR;

CString ListFileFilter()
{
    CString strFilter;
    strFilter.Format(L"%s Files (*.%s)|*.%s|", L"txt", L"txt", L"txt");
    return strFilter;
}

CSettingMiscItem* MiscSettings()
{
    CSettings& settings = GetSettings();
    return settings.m_bLoaded ? settings.GetMisc() : NULL;
}

// Reads a list file into the global list. A read error part-way leaves the
// proxies read before it in the list; it counts as a failed read. bChanged
// tells whether the list may differ from before: a replacing read empties
// it first, so an equal count says nothing.
bool ReadListFile(LPCTSTR pszPath, bool bReplace, bool& bChanged)
{
    CProxyList& list = GetProxyList();
    const INT_PTR nBefore = list.GetCount();
    bool bOpened = true;
    bool bRead = false;
    try {
        bRead = ReadProxyFile(list, pszPath, bReplace ? TRUE : FALSE) != FALSE;
        bOpened = bRead;
    } catch (CException* e) {
        e->Delete();
    }
    bChanged = bOpened && (list.GetCount() != nBefore || (bReplace && nBefore > 0));
    return bRead;
}

// An export that fails while writing leaves a short file; nothing is shown.
void WriteListFile(const CProxyList& list, LPCTSTR pszPath)
{
    try {
        WriteProxyFile(list, pszPath);
    } catch (CException* e) {
        e->Delete();
    }
}

// The selected rows in ascending order.
std::vector<int> SelectedRows(const CListCtrl& listCtrl)
{
    std::vector<int> rows;
    int nRow = listCtrl.GetNextItem(-1, LVNI_SELECTED);
    while (nRow >= 0) {
        rows.push_back(nRow);
        int nNext = listCtrl.GetNextItem(nRow, LVNI_SELECTED);
        if (nNext <= nRow)
            break;
        nRow = nNext;
    }
    return rows;
}

// The real and the current address with their labels.
void RepaintAddresses(CWnd* pDlg)
{
    const int ids[] = { IDC_REAL_IP_LABEL, IDC_CURRENT_IP_LABEL, IDC_REAL_IP, IDC_CURRENT_IP };
    for (int id : ids) {
        CWnd* pWnd = pDlg->GetDlgItem(id);
        if (pWnd != NULL)
            pWnd->RedrawWindow();
    }
}

// Test Speed and Test Availability on the whole list.
void RunTestCommand(CCorvaneDlg& dlg, bool bSpeed)
{
    if (GetProxyList().IsEmpty()) {
        dlg.MessageBox(bSpeed ? L"There is no proxy to test speed, please get proxy firstly."
                              : L"There is no proxy to test availablity, please get proxy firstly.");
        return;
    }
    // The run leaves the list sorted by speed; the column sort is not applied.
    RunProxyTest(&dlg, bSpeed);
    dlg.RefreshProxyList();
    RepaintAddresses(&dlg);
}

}  // namespace

void CCorvaneDlg::OnTrayExit()
{
    SendMessage(WM_EXIT_APP, 0, 0);
}

void CCorvaneDlg::OnTrayAbout()
{
    g_bAboutOpen = true;
    CAboutDlg dlg;
    dlg.DoModal();
    g_bAboutOpen = false;
}

void CCorvaneDlg::OnTrayOpen()
{
    ShowWindow(SW_SHOWNORMAL);
    SetForegroundWindow();
}

void CCorvaneDlg::OnOfficialWebSite()
{
    ShellOpenLink(GetSafeHwnd(), L"open", MAKER_HOME_PAGE, NULL, NULL, SW_SHOW);
}

void CCorvaneDlg::OnHelp()
{
    ShellOpenLink(GetSafeHwnd(), L"open", kSupportPage, NULL, NULL, SW_SHOW);
}

void CCorvaneDlg::OnCheckIP()
{
    ShellOpenLink(GetSafeHwnd(), L"open", kCheckIPPage, NULL, NULL, SW_SHOW);
    m_listProxy.SetFocus();
}

void CCorvaneDlg::OnGetProxy()
{
    if (!DownloadProxyList(this))
        return;
    CProxyList& list = GetProxyList();
    if (!list.IsEmpty()) {
        CReplaceDialog dlg(true, this);
        if (dlg.DoModal() != IDOK)
            return;
    }
    CSettingMiscItem* pMisc = MiscSettings();
    bool bReplace = pMisc == NULL || pMisc->m_bReplaceByGet;
    if (!ReadProxyListFile(PROXY_TMP_FILE, bReplace))
        return;

    CSettingTestItem* pTest = GetSettings().m_bLoaded ? GetSettings().GetTest() : NULL;
    int nTestType = pTest != NULL ? pTest->m_nTestType : 0;
    if (nTestType == 1)
        RunProxyTest(this, false);
    else if (nTestType == 2)
        RunProxyTest(this, true);
    SortProxyList(list, m_nSortKey, m_bSortAscending);
    RefreshProxyList();
    RepaintAddresses(this);
}

void CCorvaneDlg::OnGetProxyButton()
{
    CString strCaption;
    m_btnGetProxy.GetWindowText(strCaption);
    if (strCaption == kGetProxyCaption) {
        OnGetProxy();
    } else if (m_listProxy.GetItemCount() == 0) {
        MessageBox(L"No proxy to remove!");
    } else {
        // Remove Cur: the entry that moves into the same place becomes the upstream.
        CHideState& state = GetHideState();
        CProxyList& list = GetProxyList();
        POSITION pos = state.m_nCurIndex >= 0 ? list.FindIndex(state.m_nCurIndex) : NULL;
        if (pos != NULL) {
            list.RemoveAt(pos);
            RefreshProxyList();
            SwitchToNextProxy(state, false);
        }
    }
    m_listProxy.SetFocus();
}

void CCorvaneDlg::OnTestSpeed()
{
    RunTestCommand(*this, true);
}

void CCorvaneDlg::OnTestSpeedButton()
{
    RunTestCommand(*this, true);
    m_listProxy.SetFocus();
}

void CCorvaneDlg::OnTestAvailability()
{
    RunTestCommand(*this, false);
}

void CCorvaneDlg::OnRemoveSelected()
{
    std::vector<int> rows = SelectedRows(m_listProxy);
    if (rows.empty()) {
        MessageBox(L"No selected proxy to remove!");
        return;
    }
    CHideState& state = GetHideState();
    bool bRemovedCurrent = false;
    for (int nRow : rows)
        if (nRow == state.m_nCurIndex)
            bRemovedCurrent = true;
    RemoveProxyRows(GetProxyList(), rows);

    RefreshProxyList();
    if (bRemovedCurrent)
        SwitchToNextProxy(state, false);
}

void CCorvaneDlg::OnContextRemoveSelected()
{
    OnRemoveSelected();
}

void CCorvaneDlg::OnRemoveAll()
{
    if (m_listProxy.GetItemCount() == 0) {
        MessageBox(L"No proxy to remove!");
        return;
    }
    if (MessageBox(L"Do you really want to remove all proxies?", NULL, MB_OKCANCEL) != IDOK)
        return;
    GetProxyList().RemoveAll();
    RefreshProxyList();
}

void CCorvaneDlg::OnContextRemoveAll()
{
    OnRemoveAll();
}

void CCorvaneDlg::OnInvertSelection()
{
    int nCount = m_listProxy.GetItemCount();
    for (int i = 0; i < nCount; ++i) {
        UINT nState = m_listProxy.GetItemState(i, LVIS_SELECTED);
        m_listProxy.SetItemState(i, (nState & LVIS_SELECTED) ? 0 : LVIS_SELECTED, LVIS_SELECTED);
    }
}

void CCorvaneDlg::OnImport()
{
    CProxyList& list = GetProxyList();
    if (!list.IsEmpty()) {
        CReplaceDialog dlg(false, this);
        if (dlg.DoModal() != IDOK)
            return;
    }
    CString strFilter = ListFileFilter();
    CFileDialog dlg(TRUE, L"txt", NULL, kListFileFlags, strFilter, this);
    if (dlg.DoModal() != IDOK)
        return;
    CSettingMiscItem* pMisc = MiscSettings();
    bool bReplace = pMisc == NULL || pMisc->m_bReplaceByImport;
    if (ReadProxyListFile(dlg.GetPathName(), bReplace)) {
        SortProxyList(list, m_nSortKey, m_bSortAscending);
        RefreshProxyList();
    }
}

bool CCorvaneDlg::ReadProxyListFile(LPCTSTR pszPath, bool bReplace)
{
    bool bChanged = false;
    const bool bRead = ReadListFile(pszPath, bReplace, bChanged);
    const bool bShown = bRead && !GetProxyList().IsEmpty();
    // A read that changed the list must not leave rows on screen that the
    // list no longer holds.
    if (!bShown && bChanged)
        RefreshProxyList();
    return bShown;
}

void CCorvaneDlg::OnExportAll()
{
    if (m_listProxy.GetItemCount() == 0) {
        MessageBox(L"No proxy to export!");
        return;
    }
    CString strFilter = ListFileFilter();
    CFileDialog dlg(FALSE, L"txt", L"proxy.txt", kListFileFlags, strFilter, this);
    if (dlg.DoModal() != IDOK)
        return;
    WriteListFile(GetProxyList(), dlg.GetPathName());
}

void CCorvaneDlg::OnExportSelected()
{
    if (m_listProxy.GetNextItem(-1, LVNI_SELECTED) < 0) {
        MessageBox(L"No selected proxy to export!");
        return;
    }
    CString strFilter = ListFileFilter();
    CFileDialog dlg(FALSE, L"txt", L"proxy.txt", kListFileFlags, strFilter, this);
    if (dlg.DoModal() != IDOK)
        return;

    // The selected entries in ascending order, written line by line as the
    // whole list would be.
    CProxyList selected;
    CopyProxyRows(GetProxyList(), SelectedRows(m_listProxy), selected);
    WriteListFile(selected, dlg.GetPathName());
}
