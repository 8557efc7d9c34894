// Drives a test worker over a list and puts the passing proxies back, fastest first.
#include "net/TestDriver.h"

#include "net/AvailabilityTest.h"
#include "net/SpeedTest.h"
#include "net/TestTimings.h"
#include "net/Worker.h"
#include "proxy/ProxySort.h"

void RunWorkerToEnd(CWorker& worker, AFX_THREADPROC pfnDispatcher)
{
    if (!worker.m_bRunning) {
        worker.m_bRunning = true;
        worker.m_bDone = false;
        if (AfxBeginThread(pfnDispatcher, NULL) == NULL)
            worker.m_bDone = true;
    }
    while (!worker.m_bDone)
        ::Sleep(RUN_POLL_MS);
    worker.m_bRunning = false;
}

namespace {
volatile LONG s_nDriverThreads = 0;

void WaitForFreeSlot(CWorker& worker)
{
    // A limit below one would never free a slot.
    const int nLimit = worker.m_nMaxThreads > 0 ? worker.m_nMaxThreads : 1;
    const LONGLONG llStart = CTestTimings::Now();
    while (worker.m_nRunning >= nLimit)
        ::Sleep(SLOT_POLL_MS);
    CTestTimings::AddSince(TEST_STEP_SLOT_WAIT, llStart);
}

void WaitForThreadsToEnd(CWorker& worker)
{
    while (worker.m_nRunning != 0)
        ::Sleep(RUN_POLL_MS);
}

bool StartTestThread(AFX_THREADPROC pfnThread, LPVOID pParam)
{
    const LONGLONG llStart = CTestTimings::Now();
    CTestTimings::NoteThreadStarting(pParam, llStart);
    const bool bStarted = AfxBeginThread(pfnThread, pParam) != NULL;
    CTestTimings::AddSince(TEST_STEP_START_CALL, llStart);
    return bStarted;
}

bool RunDriver(CWorker& worker, AFX_THREADPROC pfnDispatcher, CProxyList& list)
{
    if (list.IsEmpty())
        return false;
    worker.AddProxies(list);
    RunWorkerToEnd(worker, pfnDispatcher);

    list.RemoveAll();
    worker.TakeResults(list);
    worker.Clear();
    SortProxyList(list, PROXY_SORT_SPEED, true);
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
}  // namespace

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
    while (worker.m_bRunning) {
        CProxy proxy;
        if (!worker.PopNext(proxy))
            break;
        WaitForFreeSlot(worker);
        if (!worker.m_bRunning)
            break;
        worker.AcquireSlot();
        CProxy* pCopy = new CProxy(proxy);
        if (!StartTestThread(TestProxySpeedProc, pCopy)) {
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
    while (worker.m_bRunning) {
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
        if (!StartTestThread(CheckProxyBatchProc, pCopy)) {
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
    // libcurl's global set-up on the user-interface thread, where the server
    // requests set it up and release it too: never two threads at once.
    EnsureCurlForTests();
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

bool IsProxyTestRunning()
{
    return s_nDriverThreads > 0;
}
