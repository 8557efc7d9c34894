#include "net/TestDriver.h"

#include "net/AvailabilityTest.h"
#include "net/SpeedTest.h"
#include "net/Worker.h"

namespace
{
volatile LONG s_nDriverThreads = 0;

void WaitForFreeSlot(CWorker& worker)
{
    // A limit below one would never free a slot.
    const int nLimit = worker.m_nMaxThreads > 0 ? worker.m_nMaxThreads : 1;
    while (worker.m_nRunning >= nLimit)
        ::Sleep(SLOT_POLL_MS);
}

void WaitForThreadsToEnd(CWorker& worker)
{
    while (worker.m_nRunning != 0)
        ::Sleep(RUN_POLL_MS);
}

bool RunDriver(CWorker& worker, AFX_THREADPROC pfnDispatcher, CProxyList& list)
{
    if (list.IsEmpty())
        return false;
    worker.AddProxies(list);
    if (!worker.m_bRunning)
    {
        worker.m_bRunning = true;
        worker.m_bDone = false;
        if (AfxBeginThread(pfnDispatcher, NULL) == NULL)
            worker.m_bDone = true;
    }
    while (!worker.m_bDone)
        ::Sleep(RUN_POLL_MS);
    worker.m_bRunning = false;

    list.RemoveAll();
    worker.TakeResults(list);
    worker.Clear();
    SortProxiesBySpeed(list);
    PostTestFinished();
    return true;
}

struct DriverStart
{
    AFX_THREADPROC pfnDriver;
};

UINT AFX_CDECL CountedDriverProc(LPVOID pParam)
{
    AFX_THREADPROC pfnDriver = static_cast<DriverStart*>(pParam)->pfnDriver;
    delete static_cast<DriverStart*>(pParam);
    pfnDriver(NULL);
    ::InterlockedDecrement(&s_nDriverThreads);
    return 0;
}
}

bool TestProxySpeed(CProxyList& list)
{
    return RunDriver(GetTestSpeedWorker(), TestSpeedDispatchProc, list);
}

bool TestProxyAvailability(CProxyList& list)
{
    return RunDriver(GetCheckAnonymousWorker(), CheckAnonymousDispatchProc, list);
}

UINT AFX_CDECL TestSpeedDispatchProc(LPVOID)
{
    CTestSpeedWorker& worker = GetTestSpeedWorker();
    while (worker.m_bRunning)
    {
        CProxy proxy;
        if (!worker.PopNext(proxy))
            break;
        WaitForFreeSlot(worker);
        if (!worker.m_bRunning)
            break;
        worker.AcquireSlot();
        CProxy* pCopy = new CProxy(proxy);
        if (AfxBeginThread(TestProxySpeedProc, pCopy) == NULL)
        {
            delete pCopy;
            worker.ReleaseSlot();
        }
    }
    WaitForThreadsToEnd(worker);
    worker.m_bDone = true;
    return 0;
}

UINT AFX_CDECL CheckAnonymousDispatchProc(LPVOID)
{
    CCheckAnonymousWorker& worker = GetCheckAnonymousWorker();
    CProxyList batch(10);
    while (worker.m_bRunning)
    {
        batch.RemoveAll();
        CProxy proxy;
        while (batch.GetCount() < AVAILABILITY_BATCH_SIZE && worker.PopNext(proxy))
            batch.AddTail(proxy);
        if (batch.IsEmpty())
            break;
        WaitForFreeSlot(worker);
        if (!worker.m_bRunning)
            break;
        worker.AcquireSlot();
        CProxyList* pCopy = new CProxyList(10);
        pCopy->AddTail(&batch);
        batch.RemoveAll();
        if (AfxBeginThread(CheckProxyBatchProc, pCopy) == NULL)
        {
            delete pCopy;
            worker.ReleaseSlot();
        }
    }
    WaitForThreadsToEnd(worker);
    worker.m_bDone = true;
    return 0;
}

UINT AFX_CDECL TestSpeedThreadProc(LPVOID)
{
    TestProxySpeed(GetProxyList());
    return 0;
}

UINT AFX_CDECL TestAvailabilityThreadProc(LPVOID)
{
    TestProxyAvailability(GetProxyList());
    return 0;
}

bool StartProxyTestThread(bool bSpeed)
{
    DriverStart* pStart = new DriverStart;
    pStart->pfnDriver = bSpeed ? TestSpeedThreadProc : TestAvailabilityThreadProc;
    ::InterlockedIncrement(&s_nDriverThreads);
    if (AfxBeginThread(CountedDriverProc, pStart) != NULL)
        return true;
    ::InterlockedDecrement(&s_nDriverThreads);
    delete pStart;
    return false;
}

void WaitForProxyTestThreads()
{
    while (s_nDriverThreads > 0)
        ::Sleep(RUN_POLL_MS);
}

void SortProxiesBySpeed(CProxyList& list)
{
    // Selection: each place in turn takes the first fastest of those left.
    for (POSITION place = list.GetHeadPosition(); place != NULL;)
    {
        POSITION best = place;
        POSITION pos = place;
        list.GetNext(pos);
        while (pos != NULL)
        {
            POSITION current = pos;
            if (list.GetNext(pos).m_nSpeed < list.GetAt(best).m_nSpeed)
                best = current;
        }
        if (best == place)
        {
            list.GetNext(place);
            continue;
        }
        CProxy moved = list.GetAt(best);
        list.RemoveAt(best);
        list.InsertBefore(place, moved);
    }
}
