// The speed test: five parallel fetches of the test page through one proxy,
// with the relay's proxy authorization. A block-page word in any reply drops
// the proxy; otherwise its uptime is the number of good fetches and its speed
// their mean time.
#pragma once

#include "afx.h"
#include "proxy/Proxy.h"

// Fetches per proxy, all at once.
#define SPEED_TEST_FETCHES 5

// False for a null or empty body and for one holding any block word
// ("error", "forbidden", "denied", "deny", "human", "proxy") in any case.
bool IsCleanTestPage(const char* pszBody);

// The five-fetch test of one proxy, on the calling thread: true when it
// passed, with m_nUptime and m_nSpeed of proxy set; false leaves proxy as it
// was.
bool MeasureProxySpeed(CProxy& proxy);

// One proxy of a run: pParam is a heap CProxy, owned and deleted by the thread.
UINT AFX_CDECL TestProxySpeedProc(LPVOID pParam);

// A single proxy to test again outside any run; the thread hands the request
// back to the main window with WM_RETEST_RESULT (lParam 1 when it passed).
struct CRetestRequest
{
    CProxy m_proxy;  // measured in place when it passes
    int m_nIndex;    // its position in the global list when asked
};
// pParam is the CRetestRequest; the main window owns it when the result
// message arrives.
UINT AFX_CDECL RetestProxyThreadProc(LPVOID pParam);
