// Orders a proxy list by one of the list view's sort keys.
#include "proxy/ProxySort.h"

#include "proxy/CountryTable.h"

#include <algorithm>
#include <vector>

namespace {
// Place of an entry's group in the sorted list; nGroups for a value that
// none of the groups walks.
int GroupRank(const CProxy& proxy, int nKey, bool bAscending, int nCountryCount)
{
    switch (nKey) {
    case PROXY_SORT_COUNTRY:
        if (proxy.m_nCountry < 0 || proxy.m_nCountry >= nCountryCount)
            return nCountryCount;
        return bAscending ? proxy.m_nCountry : nCountryCount - 1 - proxy.m_nCountry;
    case PROXY_SORT_TYPE:
        if (proxy.m_nType != 1 && proxy.m_nType != 2)
            return 2;
        return bAscending ? proxy.m_nType - 1 : 2 - proxy.m_nType;
    case PROXY_SORT_UPTIME:
        if (proxy.m_nUptime < 1 || proxy.m_nUptime > 5)
            return 5;
        return bAscending ? 5 - proxy.m_nUptime : proxy.m_nUptime - 1;
    default: return 0;
    }
}
}  // namespace

void SortProxyList(CProxyList& list, int nKey, bool bAscending)
{
    // Only the country key needs the table; the test runs sort by speed on
    // their own thread and must not be the first to load it.
    const int nCountryCount = nKey == PROXY_SORT_COUNTRY ? GetCountryTable().GetCount() : 0;
    SortProxyList(list, nKey, bAscending, nCountryCount);
}

void SortProxyList(CProxyList& list, int nKey, bool bAscending, int nCountryCount)
{
    if (list.GetCount() < 2)
        return;
    if (nCountryCount < 0)
        nCountryCount = 0;

    std::vector<CProxy> entries;
    entries.reserve(static_cast<size_t>(list.GetCount()));
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
        entries.push_back(list.GetNext(pos));

    std::stable_sort(entries.begin(), entries.end(),
                     [](const CProxy& a, const CProxy& b) { return a.m_nSpeed < b.m_nSpeed; });

    if (nKey == PROXY_SORT_SPEED) {
        if (!bAscending)
            std::reverse(entries.begin(), entries.end());
    } else {
        // Stable again, so each group keeps the speed order.
        std::stable_sort(entries.begin(), entries.end(), [&](const CProxy& a, const CProxy& b) {
            return GroupRank(a, nKey, bAscending, nCountryCount) < GroupRank(b, nKey, bAscending, nCountryCount);
        });
    }

    // The nodes stay; only their values change places.
    POSITION pos = list.GetHeadPosition();
    for (CProxy& proxy : entries) {
        list.SetAt(pos, proxy);
        list.GetNext(pos);
    }
}
