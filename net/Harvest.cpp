// The harvest run: pick, filter and speed-test proxies, then put them in place of a list.
#include "net/Harvest.h"

#include "net/WorkerMessages.h"
#include "net/HarvestExclusion.h"
#include "net/ObtainWebSiteWorker.h"
#include "net/TestDriver.h"
#include "proxy/ProxyFile.h"
#include "proxy/ProxySort.h"

namespace {
volatile LONG s_nHarvestRunning = 0;

void PostToMainWindow(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    HWND hWnd = g_hMainWnd;
    if (hWnd != NULL)
        ::PostMessageW(hWnd, nMessage, wParam, lParam);
}

}  // namespace

bool HarvestProxies(CProxyList& list)
{
    RenewExclusionList();

    CObtainWebSiteWorker& sites = GetObtainWebSiteWorker();
    RunWorkerToEnd(sites, ObtainWebSiteDispatchProc);
    CProxyList harvested(10);
    sites.TakeResults(harvested);
    sites.Clear();
    for (POSITION pos = sites.m_sites.GetHeadPosition(); pos != NULL;)
        sites.m_sites.GetNext(pos).m_bDone = false;

    PostToMainWindow(WM_HARVEST_PROGRESS_START, 1, (LPARAM)harvested.GetCount());

    CTestSpeedWorker& speed = GetTestSpeedWorker();
    speed.AddProxies(harvested);
    RunWorkerToEnd(speed, TestSpeedDispatchProc);
    harvested.RemoveAll();
    speed.TakeResults(harvested);
    speed.Clear();

    list.RemoveAll();
    list.AddTail(&harvested);
    SortProxyList(list, PROXY_SORT_SPEED, true);
    WriteProxyFile(list, HARVEST_RESULT_FILE);

    PostToMainWindow(WM_REFRESH_PROXY_LIST, 0, 0);
    return true;
}

UINT AFX_CDECL HarvestThreadProc(LPVOID)
{
    try {
        HarvestProxies(GetProxyList());
    } catch (CException* e) {
        e->Delete();
    } catch (...) {}
    ::InterlockedExchange(&s_nHarvestRunning, 0);
    return 0;
}

bool StartHarvestThread()
{
    // A proxy test owns the global list and the speed worker until its
    // driver ends.
    if (IsProxyTestRunning())
        return false;
    if (::InterlockedCompareExchange(&s_nHarvestRunning, 1, 0) != 0)
        return false;
    if (AfxBeginThread(HarvestThreadProc, NULL) != NULL)
        return true;
    ::InterlockedExchange(&s_nHarvestRunning, 0);
    return false;
}

bool IsHarvestRunning()
{
    return s_nHarvestRunning != 0;
}
