// The retrieval of a proxy list from the maker's server (the first half of
// the Get Proxy command).
#pragma once

#include "afx.h"

#include <stddef.h>

class CWnd;

#define PROXY_TMP_FILE _T("proxy.tmp")

enum RetrieveReplyKind
{
    RETRIEVE_LIST,   // more than 7 bytes, the first 7 digits or dots
    RETRIEVE_EMPTY,  // "Empty" in a reply of at most 7 bytes: no proxy for the countries
    RETRIEVE_FAILED  // anything else, an empty reply included
};

RetrieveReplyKind ClassifyRetrieveReply(const char* pReply, size_t nLength);

// Writes the reply byte for byte to pszPath (created or truncated); false
// when the file cannot be opened or written.
bool WriteProxyTmp(const CStringA& strReply, LPCTSTR pszPath);

// Asks the server for a list with the anonymity types and countries of the
// settings and writes a list reply to proxy.tmp in the current directory.
// Every other outcome is told in a message box on pOwner. True only when
// proxy.tmp was written.
bool DownloadProxyList(CWnd* pOwner);

// The same on a reply already received (what DownloadProxyList does after
// its request), writing to pszPath.
bool StoreProxyListReply(const CStringA& strReply, LPCTSTR pszPath, CWnd* pOwner);
