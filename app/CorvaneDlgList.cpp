// The main window's side of the proxy list view: refresh and column sort.
#include "app/CorvaneDlg.h"

#include "app/CorvaneDlgList.h"
#include "app/CorvaneMessages.h"
#include "net/Harvest.h"
#include "net/HideState.h"
#include "proxy/CountryTable.h"
#include "proxy/ProxySort.h"
#include "proxy/Settings.h"

#include <string.h>

int SpeedPercent(int nSpeed, int nTimeoutMs)
{
    if (nTimeoutMs <= 0 || nSpeed > nTimeoutMs)
        return 0;
    // Only a damaged file holds a negative speed; it must not wrap the bar
    // round to a small value.
    if (nSpeed < 0)
        return 100;
    return static_cast<int>(static_cast<long long>(nTimeoutMs - nSpeed) * 100 / nTimeoutMs);
}

void FillProxyRows(CProListCtrl& list, const CProxyList& proxies, const CCountryTable& countries, int nTimeoutMs)
{
    if (proxies.IsEmpty()) {
        list.RemoveAllItems();
        return;
    }
    // Without this the list view redraws its scroll bar for every row
    // inserted, which makes a long list take many seconds; the old rows go
    // unseen too, so that the list is painted once, full.
    list.SetRedraw(FALSE);
    list.RemoveAllItems();

    CHeaderCtrl* pHeader = list.GetHeaderCtrl();
    const int nColumns = pHeader != NULL ? pHeader->GetItemCount() : 1;

    int nRow = 0;
    for (POSITION pos = proxies.GetHeadPosition(); pos != NULL; ++nRow) {
        const CProxy& proxy = proxies.GetNext(pos);
        const CCountry* pCountry = countries.GetAt(proxy.m_nCountry);
        // Image -1 would be a callback request to the parent, which answers
        // nothing: a proxy of no country would show some other flag.
        const int nImage = pCountry != NULL ? proxy.m_nCountry : I_IMAGENONE;
        const int nItem =
            list.InsertItem(LVIF_TEXT | LVIF_IMAGE, nRow, pCountry != NULL ? pCountry->m_szName : L"", 0, 0, nImage, 0);
        // Row i must stay entry i: stop rather than shift the rest.
        if (nItem != nRow) {
            if (nItem >= 0)
                list.DeleteItem(nItem);
            break;
        }

        CString texts[6];
        texts[1] = CString(proxy.m_szIP, static_cast<int>(strnlen(proxy.m_szIP, PROXY_IP_SIZE)));
        texts[2].Format(L"%d", proxy.m_nPort);
        texts[3] = L"High Anon";
        texts[4].Format(L"%d/5", proxy.m_nUptime);
        texts[5].Format(L"%d", SpeedPercent(proxy.m_nSpeed, nTimeoutMs));
        for (int nSubItem = 1; nSubItem < 6 && nSubItem < nColumns; ++nSubItem)
            list.SetItemText(nRow, nSubItem, texts[nSubItem]);
    }
    list.SetRedraw(TRUE);
    list.Invalidate();
}

void SelectProxyRow(CProListCtrl& list, int nItem)
{
    list.SetFocus();
    list.SetItemState(-1, 0, LVIS_SELECTED);
    list.SetItemState(nItem, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.EnsureVisible(nItem, FALSE);
}

bool ChooseSortKey(int nColumn, int& nSortKey, bool& bSortAscending)
{
    int nKey;
    switch (nColumn) {
    case 0: nKey = PROXY_SORT_COUNTRY; break;
    case 3: nKey = PROXY_SORT_TYPE; break;
    case 4: nKey = PROXY_SORT_UPTIME; break;
    case 5: nKey = PROXY_SORT_SPEED; break;
    default: return false;
    }
    if (nKey == nSortKey) {
        bSortAscending = !bSortAscending;
    } else {
        nSortKey = nKey;
        bSortAscending = true;
    }
    return true;
}

void CCorvaneDlg::RefreshProxyList()
{
    const CSettingTestItem* pTest = GetSettings().GetTest();
    const int nTimeoutSeconds = pTest != NULL ? pTest->m_nTimeoutSeconds : 0;
    const int nTimeoutMs = nTimeoutSeconds > 0 && nTimeoutSeconds <= 3600 ? nTimeoutSeconds * 1000 : 0;
    FillProxyRows(m_listProxy, GetProxyList(), GetCountryTable(), nTimeoutMs);

    // In automatic mode the row in use is shown selected.
    const int nCurIndex = GetHideState().m_nCurIndex;
    if (nCurIndex != -1 && m_listProxy.GetItemCount() > 0)
        SelectProxyRow(m_listProxy, nCurIndex);
}

LRESULT CCorvaneDlg::OnRefreshProxyList(WPARAM, LPARAM)
{
    RefreshProxyList();
    return 0;
}

void CCorvaneDlg::OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult)
{
    *pResult = 0;
    if (IsHarvestRunning())
        return;  // the harvest thread is replacing the list
    const NMLISTVIEW* pListView = reinterpret_cast<const NMLISTVIEW*>(pNMHDR);
    if (!ChooseSortKey(pListView->iSubItem, m_nSortKey, m_bSortAscending))
        return;
    SortProxyList(GetProxyList(), m_nSortKey, m_bSortAscending);
    RefreshProxyList();
}
