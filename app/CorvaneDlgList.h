// The pieces of the main window's list refresh and column sort, kept apart
// from the window so that they work on any hosted list view.
#pragma once

#include "app/ProListCtrl.h"
#include "proxy/Proxy.h"

class CCountryTable;

// The Speed cell's value: how much of the time-out nSpeed leaves, in percent;
// 0 when slower than the time-out.
int SpeedPercent(int nSpeed, int nTimeoutMs);

// Rebuilds the rows of list from proxies, row i from entry i: the country
// name with its flag (image i = country i), address, port, "High Anon",
// "%d/5" of the uptime and the speed as a percentage of nTimeoutMs (0 ms
// full, the time-out or slower empty).
void FillProxyRows(CProListCtrl& list, const CProxyList& proxies, const CCountryTable& countries, int nTimeoutMs);

// Focuses list and makes row nItem the only selected row, focused and fully
// in view.
void SelectProxyRow(CProListCtrl& list, int nItem);

// The column click: the sort key of the clicked column (Country, Type,
// Uptime, Speed) becomes the key, a second click on it flips the direction.
// False for a column that does not sort (IP, Port).
bool ChooseSortKey(int nColumn, int& nSortKey, bool& bSortAscending);
