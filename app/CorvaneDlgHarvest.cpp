// Harvest progress and the hidden Worker and Upload buttons.
#include "app/CorvaneDlg.h"

#include "app/CorvaneMessages.h"
#include "net/CountryRatio.h"
#include "net/Harvest.h"
#include "proxy/ProxyFile.h"

#define VERIFIED_PROXY_FILE L"AdminFile\\verifiedProxy.txt"

void CCorvaneDlg::ShowHarvestProgress(WPARAM wParam)
{
    CString text;
    text.Format(wParam == 1 ? L"Test Speed: %d / %d" : L"Check Anonymous: %d / %d",
                m_nHarvestDone, m_nHarvestTotal);
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
    if (m_listProxy.GetItemCount() == 0)
    {
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
