// The two lists of harvest sources under AdminFile.
#pragma once

#include "net/WebSite.h"

typedef CList<CWebSite, CWebSite&> CWebSiteList;

#define HARVEST_WEBSITE_LIST L"AdminFile\\proxywebsite.txt"
#define HARVEST_PAGEFILE_LIST L"AdminFile\\proxywebsiteToText.txt"

// Web sites: one a line, its last two TAB-separated fields the host and the
// path. A line of a single field (an empty one too) ends the list. False
// when the file does not open.
bool ReadWebSiteList(LPCWSTR pszPath, CWebSiteList& sites);

// Local page files: a line "FileName:" makes the next line a file's path;
// other lines are passed over. A line of more than one field ends the list.
// False when the file does not open.
bool ReadPageFileList(LPCWSTR pszPath, CWebSiteList& sites);
