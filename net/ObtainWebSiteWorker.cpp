// The harvest worker: its sources and the threads that read them.
#include "net/ObtainWebSiteWorker.h"

#include "net/HarvestExclusion.h"
#include "net/TestDriver.h"

CObtainWebSiteWorker::CObtainWebSiteWorker() : m_sites(10)
{
    m_nMaxThreads = HARVEST_SITE_THREADS;
    ReadWebSiteList(HARVEST_WEBSITE_LIST, m_sites);
    ReadPageFileList(HARVEST_PAGEFILE_LIST, m_sites);
}

CObtainWebSiteWorker::~CObtainWebSiteWorker()
{
    m_sites.RemoveAll();
}

CObtainWebSiteWorker& GetObtainWebSiteWorker()
{
    static CObtainWebSiteWorker worker;
    return worker;
}

bool IsExcludedPort(int nPort)
{
    return nPort == 3124 || nPort == 3127 || nPort == 3129 || nPort == 8888;
}

UINT AFX_CDECL ObtainWebSiteDispatchProc(LPVOID)
{
    CObtainWebSiteWorker& worker = GetObtainWebSiteWorker();
    POSITION pos = worker.m_sites.GetHeadPosition();
    while (pos != NULL && worker.m_bRunning) {
        CWebSite& site = worker.m_sites.GetNext(pos);
        if (site.m_bDone)
            continue;
        while (worker.m_nRunning >= worker.m_nMaxThreads)
            ::Sleep(SLOT_POLL_MS);
        if (!worker.m_bRunning)
            break;
        worker.AcquireSlot();
        if (AfxBeginThread(ObtainWebSiteProc, &site) == NULL)
            worker.ReleaseSlot();
    }
    while (worker.m_nRunning != 0)
        ::Sleep(RUN_POLL_MS);
    worker.m_bDone = true;
    return 0;
}

UINT AFX_CDECL ObtainWebSiteProc(LPVOID pParam)
{
    CObtainWebSiteWorker& worker = GetObtainWebSiteWorker();
    CWebSite* pSite = static_cast<CWebSite*>(pParam);
    try {
        CProxyList kept(10);
        CProxyList& found = pSite->GetProxies();
        for (POSITION pos = found.GetHeadPosition(); pos != NULL;) {
            CProxy& proxy = found.GetNext(pos);
            if (proxy.m_nCountry == -1 || IsExcludedProxy(proxy) || IsExcludedPort(proxy.m_nPort))
                continue;
            kept.AddTail(proxy);
        }
        pSite->m_bDone = true;
        worker.AddProxies(kept);
        worker.MoveQueueToResults();
    } catch (CException* e) {
        pSite->m_bDone = true;
        e->Delete();
    } catch (...) {
        pSite->m_bDone = true;
    }
    worker.ReleaseSlot();
    return 0;
}
