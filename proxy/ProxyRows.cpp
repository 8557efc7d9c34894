// Removes and copies the selected rows of the proxy list.
#include "proxy/ProxyRows.h"

void RemoveProxyRows(CProxyList& list, const std::vector<int>& rows)
{
    // Highest index first, so that the lower indices stay valid.
    INT_PTR nIndex = list.GetCount() - 1;
    POSITION pos = list.GetTailPosition();
    size_t nNext = rows.size();
    while (pos != NULL && nNext > 0) {
        POSITION posCur = pos;
        list.GetPrev(pos);
        while (nNext > 0 && rows[nNext - 1] > nIndex)
            --nNext;
        if (nNext > 0 && rows[nNext - 1] == nIndex) {
            list.RemoveAt(posCur);
            --nNext;
        }
        --nIndex;
    }
}

void CopyProxyRows(const CProxyList& list, const std::vector<int>& rows, CProxyList& out)
{
    out.RemoveAll();
    POSITION pos = list.GetHeadPosition();
    int nIndex = 0;
    size_t nNext = 0;
    while (pos != NULL && nNext < rows.size()) {
        const CProxy& proxy = list.GetNext(pos);
        if (rows[nNext] == nIndex) {
            CProxy copy = proxy;
            out.AddTail(copy);
            ++nNext;
        }
        ++nIndex;
    }
}
