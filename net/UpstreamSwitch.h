// The relay's upstream: chosen by hand or walked through the head of the
// list in automatic mode; and the actions behind the main window's Hide IP /
// Restore IP and Auto Hide IP / Stop Auto buttons.
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

// Hide IP: the connection at the relay and the proxy as its upstream
// (m_nCurIndex untouched). The result of the connection setting; the
// upstream is set either way.
bool HideWithProxy(const CProxy& proxy);
// Restore IP: direct access again; the relay keeps running.
bool RestoreRealIP();
// Stop Auto: leaves automatic mode and restores direct access.
bool StopAutoHide();
