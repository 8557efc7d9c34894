// The exclusion list of the harvest: AdminFile\codeen.txt, scanned like a
// page; a proxy whose address stands there (any port) is not harvested.
#pragma once

#include "net/WebSite.h"

#define HARVEST_EXCLUSION_FILE L"AdminFile\\codeen.txt"

// The exclusion site of the current harvest; NULL when none could be made.
extern CWebSite* g_pExclusionSite;

// Makes pSite the site on the exclusion file and reads it.
void LoadExclusionList(CWebSite* pSite);

// True when the proxy's address text equals that of one of the exclusion
// site's proxies; false without an exclusion site.
bool IsExcludedProxy(const CProxy& proxy);

// Replaces the exclusion site by a new one read from the file now.
void RenewExclusionList();
