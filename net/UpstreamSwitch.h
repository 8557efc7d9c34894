// The relay's upstream: chosen by hand or walked through the head of the
// list in automatic mode.
#pragma once

#include "net/HideState.h"

// Makes the proxy the relay's upstream for new connections, keeps a copy in
// m_curProxy and posts WM_PROXY_IN_USE.
void SetUpstreamProxy(CProxy proxy, CHideState& state);

// Proxies that automatic mode walks: count x ratio / 100, rounded up.
int UsableProxyCount(int nCount, int nRatio);

// Picks the upstream at m_nCurIndex (moved on by one when bAdvance) within
// the usable head of the global list; wraps to 0 past its end.
void SwitchToNextProxy(CHideState& state, bool bAdvance);

// Enters automatic mode: the connection at the relay, entry 0 as upstream.
void StartAutoHide(CHideState& state);

struct CRetestRequest;

// Speed-tests, on a worker thread, the list entry after the automatic
// upstream (m_nNextIndex); nothing when there is none.
void RetestNextProxy(CHideState& state);
// The re-test's answer (the request is deleted here): a proxy that failed and
// is still at its position leaves the list, the list is redrawn and the next
// one is tested.
void HandleRetestResult(CHideState& state, CRetestRequest* pRequest, bool bPassed);
