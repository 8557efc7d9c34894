// Picks proxies out of the text of a proxy-list page: a dotted address of
// four groups of one to three digits, followed by a port, either right after
// a colon or as the next run of digits further on.
#pragma once

#include "proxy/Proxy.h"

// Bytes of a page read and scanned at a time.
#define HARVEST_CHUNK_SIZE 10240

// Scans pszChunk up to its first NUL and appends each proxy found (country
// from the address ranges, type 0, uptime 0, speed 0) unless the same
// address and port are already in list. A port of 0 or above 65535 is
// passed over.
void ScanProxyChunk(const char* pszChunk, CProxyList& list);
