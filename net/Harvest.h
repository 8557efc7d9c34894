// The harvest: proxies picked out of the proxy-list pages and local page
// files, filtered, speed-tested, and put in place of a list, fastest first.
#pragma once

#include "afx.h"
#include "proxy/Proxy.h"

#define HARVEST_RESULT_FILE L"AdminFile\\availProxyList.txt"

// The harvest driver; runs on a thread of its own and replaces list (the
// global list when HarvestThreadProc runs it) by what passed. Always true.
bool HarvestProxies(CProxyList& list);

// HarvestProxies on the global list; no argument. Clears the running flag
// when it ends.
UINT AFX_CDECL HarvestThreadProc(LPVOID pParam);

// Starts HarvestThreadProc unless a harvest or a proxy test is running;
// false when nothing was started.
bool StartHarvestThread();

// A harvest is running: from StartHarvestThread until the harvest thread
// has put the new list in place. The commands that touch the global list
// (or the speed worker) do nothing meanwhile.
bool IsHarvestRunning();
