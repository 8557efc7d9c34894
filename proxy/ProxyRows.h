// The commands on selected rows of the proxy list, as functions on the list:
// the rows are list positions, in ascending order, as the list view gives them.
#pragma once

#include "proxy/Proxy.h"

#include <vector>

// Removes the entries at the given rows in one walk from the tail; rows past
// the end of the list are skipped.
void RemoveProxyRows(CProxyList& list, const std::vector<int>& rows);

// Copies of the entries at the given rows, in list order; rows past the end
// of the list are skipped.
void CopyProxyRows(const CProxyList& list, const std::vector<int>& rows, CProxyList& out);
