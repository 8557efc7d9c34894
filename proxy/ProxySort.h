// Orders a proxy list by one of the list view's sort keys.
#pragma once

#include "proxy/Proxy.h"

// Sort keys, in the order of the list view's sortable columns.
#define PROXY_SORT_COUNTRY 0
#define PROXY_SORT_TYPE 1
#define PROXY_SORT_UPTIME 2
#define PROXY_SORT_SPEED 3

// Reorders list in place. It is first sorted by speed, fastest first, equal
// speeds keeping their order; then, unless the key is speed ascending, the
// entries are put back group by group of the key's values:
//   country: index 0 .. N-1 (ascending) or N-1 .. 0; N = the country table's count
//   type:    1, 2 (ascending) or 2, 1
//   uptime:  5 .. 1 (ascending: best first) or 1 .. 5
//   speed:   descending is the reverse of the speed order
// Each group keeps the speed order. Entries whose value is none of the
// walked ones (no country, type 0 or 3, never tested) follow the groups, in
// speed order, in either direction: nothing is dropped.
void SortProxyList(CProxyList& list, int nKey, bool bAscending);

// The same with the country count given instead of read from the table.
void SortProxyList(CProxyList& list, int nKey, bool bAscending, int nCountryCount);
