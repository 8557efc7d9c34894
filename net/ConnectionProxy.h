// The proxy setting of the current Internet connection (the WinINet
// per-connection options that Internet Explorer and Chrome follow).
#pragma once

#include "net/HideState.h"

// Points the current connection at the endpoint for http and https, with
// local addresses bypassed; sets m_bHidden on success.
bool SetBrowserProxy(CHideState& state, CProxy endpoint);

// While hidden: sets the current connection back to direct access, clears
// m_bHidden and posts WM_REAL_IP_RESTORED. False when not hidden or refused.
bool RestoreDirectConnection(CHideState& state);
