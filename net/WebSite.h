// One source of proxies: a proxy-list page on a web site (host and path), or
// a local page file (no host, the file's path).
#pragma once

#include "afx.h"
#include "proxy/Proxy.h"

// The most of a proxy-list web page that is read: a site may stream an
// endless page, and a real list page is far smaller. A page past it gives
// no proxies, as if it had not arrived.
#define WEBSITE_PAGE_MAX_BYTES (4u * 1024u * 1024u)
// Room of the host and path texts, with the NUL.
#define WEBSITE_TEXT_SIZE 256
// Port of every proxy-list web site.
#define WEBSITE_PORT 80

class CWebSite
{
public:
    CWebSite();
    // A text of WEBSITE_TEXT_SIZE characters or more is left empty.
    CWebSite(LPCWSTR pszHost, LPCWSTR pszPath);
    CWebSite(const CWebSite& other);
    CWebSite& operator=(const CWebSite& other);

    // The site's proxies, fetched and scanned on the first call that finds
    // any; later calls hand back the same list without reading again.
    CProxyList& GetProxies();
    // Scans the page in chunks and adds what it finds; false only without a
    // file. Read failures are the file's exceptions.
    bool ParseProxies(CFile* pFile);
    // The same for a page of at most nMaxBytes; false when the page runs past
    // it, with the proxies it gave dropped again.
    bool ParseProxiesUpTo(CFile* pFile, ULONGLONG nMaxBytes);

    wchar_t m_szHost[WEBSITE_TEXT_SIZE];
    wchar_t m_szPath[WEBSITE_TEXT_SIZE];
    CProxyList m_proxies;
    // Harvested in the current run; polled across threads.
    volatile bool m_bDone;

private:
    void ReadLocalFile();
    void ReadWebPage();
};

// Milliseconds a page fetch waits to connect, to send and for each piece of
// the answer; a site that stays silent longer gives what was read so far.
DWORD GetWebPageTimeout();
void SetWebPageTimeout(DWORD dwMilliseconds);
