// Harvest progress, the commands held off while a harvest runs, and the
// hidden Worker and Upload buttons.
#include "app/CorvaneDlg.h"

#include "app/CorvaneMessages.h"
#include "net/CountryRatio.h"
#include "net/Harvest.h"
#include "proxy/ProxyFile.h"

#define VERIFIED_PROXY_FILE L"AdminFile\\verifiedProxy.txt"

namespace {

// The commands on the proxy list. Hide IP and Auto Hide IP are not here:
// only their hiding face is held off, their restoring face stays usable.
const UINT kListCommands[] = {
    ID_GET_PROXY,
    IDC_GET_PROXY,
    ID_TEST_SPEED,
    IDC_TEST_SPEED,
    ID_TEST_AVAILABILITY,
    ID_REMOVE_SELECTED,
    ID_CONTEXT_REMOVE_SELECTED,
    ID_REMOVE_ALL,
    ID_CONTEXT_REMOVE_ALL,
    ID_IMPORT,
    ID_EXPORT_ALL,
    ID_EXPORT_SELECTED,
};

bool IsListCommand(UINT nID)
{
    for (UINT nListCommand : kListCommands)
        if (nID == nListCommand)
            return true;
    return false;
}

}  // namespace

BOOL CCorvaneDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // Menu items and button clicks both come with code 0.
    if (HIWORD(wParam) == BN_CLICKED && IsListCommand(LOWORD(wParam)) && IsHarvestRunning())
        return TRUE;  // the harvest thread is replacing the list
    return CDialog::OnCommand(wParam, lParam);
}

void CCorvaneDlg::ShowHarvestProgress(WPARAM wParam)
{
    CString text;
    text.Format(wParam == 1 ? L"Test Speed: %d / %d" : L"Check Anonymous: %d / %d", m_nHarvestDone, m_nHarvestTotal);
    m_stStatus.SetWindowText(text);
}

LRESULT CCorvaneDlg::OnHarvestProgressStart(WPARAM wParam, LPARAM lParam)
{
    m_nHarvestTotal = static_cast<int>(lParam);
    m_nHarvestDone = 0;
    ShowHarvestProgress(wParam);
    return 0;
}

LRESULT CCorvaneDlg::OnHarvestProgressStep(WPARAM wParam, LPARAM lParam)
{
    m_nHarvestDone += static_cast<int>(lParam);
    ShowHarvestProgress(wParam);
    return 0;
}

LRESULT CCorvaneDlg::OnHarvestRestart(WPARAM, LPARAM)
{
    OnWorker();
    return 0;
}

void CCorvaneDlg::OnUpload()
{
    // The harvest thread may be replacing the list.
    if (IsHarvestRunning())
        return;
    if (m_listProxy.GetItemCount() == 0) {
        MessageBox(L"No proxy to upload!", NULL, MB_OK);
        return;
    }
    CProxyList& list = GetProxyList();
    if (WriteProxyFile(list, VERIFIED_PROXY_FILE))
        WriteCountryRatioFiles(list);
}

void CCorvaneDlg::OnWorker()
{
    // A modal dialog of this window (a test's progress, an import, a
    // question) belongs to a command that holds on to the list.
    if (!::IsWindowEnabled(m_hWnd))
        return;
    // One harvest at a time, and none while a proxy test owns the list.
    if (!StartHarvestThread())
        return;
    m_stStatus.SetWindowText(L"Getting Proxies...");
}
