// The test workers' queue, results and thread count, and the progress notices.
#include "net/Worker.h"

#include "net/TestTimings.h"
#include "proxy/Settings.h"

volatile bool g_bStopTest = false;
HWND volatile g_hProgressWnd = NULL;

namespace {
// Guards the hand-over of the finish notice between a driver and the
// progress dialog that may not have registered yet.
CCriticalSection& ProgressLock()
{
    static CCriticalSection cs;
    return cs;
}

bool s_bFinishPending = false;

// The test threads' locks, with the wait timed while the timings are on.
void LockTimed(CSingleLock& lock)
{
    const LONGLONG llStart = CTestTimings::Now();
    lock.Lock();
    CTestTimings::AddSince(TEST_STEP_LOCK_WAIT, llStart);
}

int ConfiguredThreadCount()
{
    CSettingTestItem* pTest = GetSettings().GetTest();
    if (pTest == NULL || pTest->m_nThreadCount <= 0)
        return DEFAULT_TEST_THREADS;
    return pTest->m_nThreadCount;
}
}  // namespace

CWorker::CWorker()
    : m_bRunning(false),
      m_bDone(false),
      m_nMaxThreads(0),
      m_nRunning(0),
      m_listAll(10),
      m_listQueue(10),
      m_listResults(10)
{}

CWorker::~CWorker()
{
    m_listAll.RemoveAll();
    m_listQueue.RemoveAll();
    m_listResults.RemoveAll();
}

void CWorker::AddProxies(const CProxyList& list)
{
    CSingleLock lock(&m_csQueue, TRUE);
    POSITION pos = list.GetHeadPosition();
    while (pos != NULL) {
        CProxy proxy = list.GetNext(pos);
        if (FindProxy(m_listAll, proxy) != NULL)
            continue;
        m_listAll.AddTail(proxy);
        m_listQueue.AddTail(proxy);
    }
}

bool CWorker::PopNext(CProxy& out)
{
    CSingleLock lock(&m_csQueue);
    LockTimed(lock);
    if (m_listQueue.IsEmpty())
        return false;
    out = m_listQueue.RemoveHead();
    return true;
}

void CWorker::TakeResults(CProxyList& out)
{
    out.RemoveAll();
    CSingleLock lock(&m_csResults, TRUE);
    POSITION pos = m_listResults.GetHeadPosition();
    while (pos != NULL)
        out.AddTail(m_listResults.GetNext(pos));
    m_listResults.RemoveAll();
}

void CWorker::Clear()
{
    {
        CSingleLock lock(&m_csQueue, TRUE);
        m_listAll.RemoveAll();
        m_listQueue.RemoveAll();
    }
    CSingleLock lock(&m_csResults, TRUE);
    m_listResults.RemoveAll();
}

void CWorker::MoveQueueToResults()
{
    CSingleLock queueLock(&m_csQueue, TRUE);
    CSingleLock resultLock(&m_csResults, TRUE);
    POSITION pos = m_listQueue.GetHeadPosition();
    while (pos != NULL)
        m_listResults.AddTail(m_listQueue.GetNext(pos));
    m_listQueue.RemoveAll();
    resultLock.Unlock();
    queueLock.Unlock();
}

void CWorker::AddResult(const CProxy& proxy)
{
    CSingleLock lock(&m_csResults);
    LockTimed(lock);
    CProxy copy = proxy;
    m_listResults.AddTail(copy);
}

void CWorker::AcquireSlot()
{
    CSingleLock lock(&m_csRunning);
    LockTimed(lock);
    m_nRunning = m_nRunning + 1;
    CTestTimings::NoteSlotTaken();
}

void CWorker::ReleaseSlot()
{
    CSingleLock lock(&m_csRunning);
    LockTimed(lock);
    if (m_nRunning > 0) {
        m_nRunning = m_nRunning - 1;
        CTestTimings::NoteSlotGiven();
    }
}

CCheckAnonymousWorker::CCheckAnonymousWorker()
{
    m_nMaxThreads = ConfiguredThreadCount();
}

CCheckAnonymousWorker::~CCheckAnonymousWorker() {}

CTestSpeedWorker::CTestSpeedWorker()
{
    m_nMaxThreads = ConfiguredThreadCount();
}

CTestSpeedWorker::~CTestSpeedWorker() {}

CCheckAnonymousWorker& GetCheckAnonymousWorker()
{
    static CCheckAnonymousWorker worker;
    return worker;
}

CTestSpeedWorker& GetTestSpeedWorker()
{
    static CTestSpeedWorker worker;
    return worker;
}

void PostTestProgress(int nFinished)
{
    HWND hWnd = g_hProgressWnd;
    if (hWnd != NULL)
        ::PostMessageW(hWnd, WM_TEST_PROGRESS, TEST_PROGRESS_STEP, (LPARAM)nFinished);
}

void BeginTestRun()
{
    CSingleLock lock(&ProgressLock(), TRUE);
    s_bFinishPending = false;
}

void PostTestFinished()
{
    CSingleLock lock(&ProgressLock(), TRUE);
    HWND hWnd = g_hProgressWnd;
    if (hWnd != NULL)
        ::PostMessageW(hWnd, WM_TEST_PROGRESS, TEST_PROGRESS_FINISH, 0);
    else
        s_bFinishPending = true;
}

void RegisterProgressWindow(HWND hWnd)
{
    CSingleLock lock(&ProgressLock(), TRUE);
    g_hProgressWnd = hWnd;
    if (s_bFinishPending && hWnd != NULL) {
        s_bFinishPending = false;
        ::PostMessageW(hWnd, WM_TEST_PROGRESS, TEST_PROGRESS_FINISH, 0);
    }
}

void UnregisterProgressWindow()
{
    CSingleLock lock(&ProgressLock(), TRUE);
    g_hProgressWnd = NULL;
}
