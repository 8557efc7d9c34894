// The addresses the harvest leaves out, read from AdminFile\codeen.txt.
#include "net/HarvestExclusion.h"

#include <new>
#include <string.h>

CWebSite* g_pExclusionSite = NULL;

void LoadExclusionList(CWebSite* pSite)
{
    if (pSite == NULL)
        return;
    *pSite = CWebSite(L"", HARVEST_EXCLUSION_FILE);
    pSite->GetProxies();
}

bool IsExcludedProxy(const CProxy& proxy)
{
    const CWebSite* pSite = g_pExclusionSite;
    if (pSite == NULL)
        return false;
    for (POSITION pos = pSite->m_proxies.GetHeadPosition(); pos != NULL;) {
        if (strcmp(pSite->m_proxies.GetNext(pos).m_szIP, proxy.m_szIP) == 0)
            return true;
    }
    return false;
}

void RenewExclusionList()
{
    // No site thread runs between two harvests, so the old site can go.
    CWebSite* pOld = g_pExclusionSite;
    g_pExclusionSite = NULL;
    delete pOld;
    CWebSite* pSite = new (std::nothrow) CWebSite;
    LoadExclusionList(pSite);
    g_pExclusionSite = pSite;
}
