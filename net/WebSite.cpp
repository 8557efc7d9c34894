// One harvest source: a proxy-list page on a web site or a local page file.
#include "net/WebSite.h"

#include "framework/AfxInet.h"
#include "net/HarvestScanner.h"

#include <memory>
#include <wchar.h>

namespace {
const wchar_t kAgent[] = L"My Session";
const DWORD_PTR kContext = 1;
const UINT kErrorTextSize = 64;

volatile DWORD s_dwPageTimeout = 30000;

void CopyText(wchar_t* pszTarget, LPCWSTR pszSource)
{
    pszTarget[0] = L'\0';
    if (pszSource != NULL && wcslen(pszSource) < WEBSITE_TEXT_SIZE)
        wcscpy(pszTarget, pszSource);
}

void ForgetException(CException* e)
{
    wchar_t szError[kErrorTextSize];
    e->GetErrorMessage(szError, kErrorTextSize);
    e->Delete();
}
}  // namespace

DWORD GetWebPageTimeout()
{
    return s_dwPageTimeout;
}

void SetWebPageTimeout(DWORD dwMilliseconds)
{
    s_dwPageTimeout = dwMilliseconds;
}

CWebSite::CWebSite() : m_szHost{}, m_szPath{}, m_proxies(10), m_bDone(false) {}

CWebSite::CWebSite(LPCWSTR pszHost, LPCWSTR pszPath) : m_szHost{}, m_szPath{}, m_proxies(10), m_bDone(false)
{
    CopyText(m_szHost, pszHost);
    CopyText(m_szPath, pszPath);
}

CWebSite::CWebSite(const CWebSite& other) : m_szHost{}, m_szPath{}, m_proxies(10), m_bDone(false)
{
    *this = other;
}

CWebSite& CWebSite::operator=(const CWebSite& other)
{
    if (this == &other)
        return *this;
    wcscpy(m_szHost, other.m_szHost);
    wcscpy(m_szPath, other.m_szPath);
    m_bDone = other.m_bDone;
    m_proxies.RemoveAll();
    m_proxies.AddTail(&other.m_proxies);
    return *this;
}

CProxyList& CWebSite::GetProxies()
{
    if (!m_proxies.IsEmpty() || m_szPath[0] == L'\0')
        return m_proxies;
    if (m_szHost[0] == L'\0')
        ReadLocalFile();
    else
        ReadWebPage();
    return m_proxies;
}

void CWebSite::ReadLocalFile()
{
    CFile file;
    if (!file.Open(m_szPath, CFile::modeRead))
        return;
    try {
        ParseProxies(&file);
    } catch (CException* e) {
        // What was read before the failure stays.
        ForgetException(e);
    }
    file.Abort();
}

void CWebSite::ReadWebPage()
{
    try {
        CInternetSession session(kAgent, kContext, INTERNET_OPEN_TYPE_PRECONFIG);
        // Without limits a site that accepts and never answers would hold
        // its thread, and the whole harvest, for ever.
        const DWORD dwTimeout = GetWebPageTimeout();
        session.SetOption(INTERNET_OPTION_CONNECT_TIMEOUT, dwTimeout);
        session.SetOption(INTERNET_OPTION_SEND_TIMEOUT, dwTimeout);
        session.SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, dwTimeout);
        std::unique_ptr<CHttpConnection> connection(session.GetHttpConnection(m_szHost, (INTERNET_PORT)WEBSITE_PORT));
        std::unique_ptr<CHttpFile> request(connection->OpenRequest(
            CHttpConnection::HTTP_VERB_GET, m_szPath, NULL, kContext, NULL, NULL, INTERNET_FLAG_EXISTING_CONNECT));
        // Not every WinINet passes the session's limits on to its requests.
        request->SetOption(INTERNET_OPTION_SEND_TIMEOUT, dwTimeout);
        request->SetOption(INTERNET_OPTION_RECEIVE_TIMEOUT, dwTimeout);
        request->SendRequest();
        DWORD dwStatus = 0;
        request->QueryInfoStatusCode(dwStatus);
        if (dwStatus == HTTP_STATUS_OK)
            ParseProxiesUpTo(request.get(), WEBSITE_PAGE_MAX_BYTES);
        request->Close();
        request.reset();
        connection.reset();
        session.Close();
    } catch (CException* e) {
        ForgetException(e);
    }
}

bool CWebSite::ParseProxies(CFile* pFile)
{
    if (pFile == NULL)
        return false;
    ParseProxiesUpTo(pFile, ~0ULL);
    return true;
}

bool CWebSite::ParseProxiesUpTo(CFile* pFile, ULONGLONG nMaxBytes)
{
    if (pFile == NULL)
        return false;
    // One byte more than a chunk keeps every chunk NUL-terminated.
    std::unique_ptr<char[]> buffer(new char[HARVEST_CHUNK_SIZE + 1]);
    ULONGLONG nTotal = 0;
    for (;;) {
        memset(buffer.get(), 0, HARVEST_CHUNK_SIZE + 1);
        const UINT nRead = pFile->Read(buffer.get(), HARVEST_CHUNK_SIZE);
        if (nRead == 0)
            break;
        nTotal += nRead;
        if (nTotal > nMaxBytes) {
            m_proxies.RemoveAll();
            return false;
        }
        ScanProxyChunk(buffer.get(), m_proxies);
    }
    return true;
}
