// Proxy list files: one proxy a line, six TAB-separated fields (address,
// port, country index, type, uptime, speed). Downloaded lists, imports,
// exports and the harvest lists all use it.
#pragma once

#include "proxy/Proxy.h"

// Adds the file's proxies to list, skipping malformed lines and proxies the
// list already holds; with bReplace the list is emptied first. False, and
// the list untouched, when the file cannot be opened. A read error throws
// the file exception; proxies read before it stay in the list.
BOOL ReadProxyFile(CProxyList& list, LPCTSTR pszPath, BOOL bReplace);

// Writes list in its order; false when the file cannot be created.
BOOL WriteProxyFile(const CProxyList& list, LPCTSTR pszPath);
