// Workers of the proxy tests: an input queue with a duplicate filter, a
// result list and a count of threads in flight, each under its own lock.
#pragma once

#include "afx.h"
#include "net/WorkerMessages.h"
#include "proxy/Proxy.h"

// WM_TEST_PROGRESS goes to the progress window: wParam 0 with the number of
// proxies just finished, or wParam 1 when a run is over.
#define TEST_PROGRESS_STEP 0
#define TEST_PROGRESS_FINISH 1

// Thread limit of a worker built before any settings exist.
#define DEFAULT_TEST_THREADS 10

class CWorker
{
public:
    CWorker();
    virtual ~CWorker();
    CWorker(const CWorker&) = delete;
    CWorker& operator=(const CWorker&) = delete;

    // Queues every proxy not queued since the last Clear, in list order.
    void AddProxies(const CProxyList& list);
    // Takes the head of the queue; false when the queue is empty.
    bool PopNext(CProxy& out);
    // Moves every result into out (emptied first), in order.
    void TakeResults(CProxyList& out);
    void Clear();
    // Passes every waiting proxy on as a result (the filter keeps them).
    void MoveQueueToResults();

    // Used by the worker threads.
    void AddResult(const CProxy& proxy);
    void AcquireSlot();
    // Gives a thread slot back; never lowers the count below 0.
    void ReleaseSlot();

    // Plain flags polled across threads; volatile keeps every poll a real read.
    volatile bool m_bRunning;
    volatile bool m_bDone;
    int m_nMaxThreads;
    volatile int m_nRunning;
    CCriticalSection m_csRunning;
    CProxyList m_listAll;
    CProxyList m_listQueue;
    CCriticalSection m_csQueue;
    CProxyList m_listResults;
    CCriticalSection m_csResults;
};

// The limit of these two is the Test Thread Count of the settings at the
// time they are built; a later change of the setting does not reach them.
class CCheckAnonymousWorker : public CWorker
{
public:
    CCheckAnonymousWorker();
    ~CCheckAnonymousWorker() override;
};

class CTestSpeedWorker : public CWorker
{
public:
    CTestSpeedWorker();
    ~CTestSpeedWorker() override;
};

// The availability and speed workers, built on first use.
CCheckAnonymousWorker& GetCheckAnonymousWorker();
CTestSpeedWorker& GetTestSpeedWorker();

// Stop flag of the current test: set by Cancel, read by every transfer loop.
extern volatile bool g_bStopTest;
// The open progress dialog while a test runs, else NULL.
extern HWND volatile g_hProgressWnd;

// Posts a progress step (number of proxies just finished) to the progress
// window, when one is open.
void PostTestProgress(int nFinished);

// The finish notice of a run. A run may end before its progress dialog has
// registered itself; the notice then waits and the dialog gets it as it
// registers. BeginTestRun forgets a notice left by an earlier run.
void BeginTestRun();
void PostTestFinished();
void RegisterProgressWindow(HWND hWnd);
void UnregisterProgressWindow();
