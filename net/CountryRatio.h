// Per-country shares of a proxy list, in parts of 10000: of all proxies, of
// the elite ones and of the anonymous ones, one line per country of the
// country table in table order.
#pragma once

#include "proxy/Proxy.h"

#define COUNTRY_RATIO_FILE L"AdminFile\\countryRatio.txt"
#define COUNTRY_ELITE_RATIO_FILE L"AdminFile\\countryEliteRatio.txt"
#define COUNTRY_ANONYMOUS_RATIO_FILE L"AdminFile\\countryAnonymousRatio.txt"

// Writes the three files; false, with nothing written, when one of them
// cannot be created, and false when writing fails. A proxy without a
// country counts in the totals only; a type that no proxy has gives lines
// of 0.
bool WriteCountryRatioFiles(const CProxyList& list);

// The same into the given files, for nCountries countries.
bool WriteCountryRatioFiles(const CProxyList& list, int nCountries, LPCWSTR pszAll, LPCWSTR pszElite,
                            LPCWSTR pszAnonymous);
