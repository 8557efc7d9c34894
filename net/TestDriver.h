// Test drivers and dispatchers. A driver feeds a list into its worker, starts
// the worker's dispatcher, polls until every test thread has ended and puts
// the proxies that passed back into the list, fastest first. A dispatcher
// starts the test threads, at most the worker's limit at a time.
#pragma once

#include "afx.h"
#include "proxy/Proxy.h"

// Poll intervals: a free thread slot, and the end of a run.
#define SLOT_POLL_MS 10
#define RUN_POLL_MS 100

// Runs on a driver thread. False at once, nothing posted, for an empty list;
// otherwise the list ends up holding the proxies that passed, sorted by
// speed, and the finish notice goes to the progress window.
class CWorker;

// Starts the worker's dispatcher unless it runs already, then polls until the
// run is over; the harvest drives its workers the same way.
void RunWorkerToEnd(CWorker& worker, AFX_THREADPROC pfnDispatcher);

bool TestProxySpeed(CProxyList& list);
bool TestProxyAvailability(CProxyList& list);

// Dispatchers; no argument.
UINT AFX_CDECL TestSpeedDispatchProc(LPVOID pParam);
UINT AFX_CDECL CheckAnonymousDispatchProc(LPVOID pParam);

// Driver threads on the global proxy list; no argument.
UINT AFX_CDECL TestSpeedThreadProc(LPVOID pParam);
UINT AFX_CDECL TestAvailabilityThreadProc(LPVOID pParam);

// Starts the speed (bSpeed) or availability driver thread on the global
// list. False when the thread cannot be started.
bool StartProxyTestThread(bool bSpeed);
// Polls until every driver thread started by StartProxyTestThread has
// ended; the global list is the caller's again afterwards.
void WaitForProxyTestThreads();
// True while a driver thread started by StartProxyTestThread runs.
bool IsProxyTestRunning();
