// WinINet sessions, HTTP connections and request files that throw on failure.
#include "AfxInet.h"

IMPLEMENT_DYNAMIC(CInternetSession, CObject)
IMPLEMENT_DYNAMIC(CInternetConnection, CObject)
IMPLEMENT_DYNAMIC(CHttpConnection, CInternetConnection)
IMPLEMENT_DYNAMIC(CInternetFile, CFile)
IMPLEMENT_DYNAMIC(CHttpFile, CInternetFile)

namespace {
void CloseInternetHandle(HINTERNET& hInternet)
{
    if (hInternet != NULL) {
        ::InternetCloseHandle(hInternet);
        hInternet = NULL;
    }
}
}  // namespace

// --- session -------------------------------------------------------------

CInternetSession::CInternetSession(LPCWSTR pstrAgent, DWORD_PTR dwContext, DWORD dwAccessType, LPCWSTR pstrProxyName,
                                   LPCWSTR pstrProxyBypass, DWORD dwFlags)
    : m_hSession(NULL), m_dwContext(dwContext)
{
    m_hSession = ::InternetOpenW(pstrAgent, dwAccessType, pstrProxyName, pstrProxyBypass, dwFlags);
    if (m_hSession == NULL)
        AfxThrowInternetException(m_dwContext);
}

CInternetSession::~CInternetSession()
{
    CloseInternetHandle(m_hSession);
}

CHttpConnection* CInternetSession::GetHttpConnection(LPCWSTR pstrServer, INTERNET_PORT nPort, LPCWSTR pstrUserName,
                                                     LPCWSTR pstrPassword)
{
    return new CHttpConnection(this, pstrServer, nPort, pstrUserName, pstrPassword, m_dwContext);
}

BOOL CInternetSession::SetOption(DWORD dwOption, DWORD dwValue)
{
    if (m_hSession == NULL)
        return FALSE;
    return ::InternetSetOptionW(m_hSession, dwOption, &dwValue, sizeof(dwValue));
}

void CInternetSession::Close()
{
    CloseInternetHandle(m_hSession);
}

// --- connections ---------------------------------------------------------

CInternetConnection::CInternetConnection(CInternetSession* pSession, LPCWSTR pstrServer, INTERNET_PORT nPort,
                                         DWORD dwService, LPCWSTR pstrUserName, LPCWSTR pstrPassword,
                                         DWORD_PTR dwContext)
    : m_hConnection(NULL), m_pSession(pSession), m_dwContext(dwContext), m_strServer(pstrServer)
{
    if (pSession == NULL || (HINTERNET)*pSession == NULL || pstrServer == NULL)
        AfxThrowInternetException(dwContext, ERROR_INVALID_HANDLE);
    m_hConnection =
        ::InternetConnectW(*pSession, pstrServer, nPort, pstrUserName, pstrPassword, dwService, 0, dwContext);
    if (m_hConnection == NULL)
        AfxThrowInternetException(dwContext);
}

CInternetConnection::~CInternetConnection()
{
    CloseInternetHandle(m_hConnection);
}

void CInternetConnection::Close()
{
    CloseInternetHandle(m_hConnection);
}

CHttpConnection::CHttpConnection(CInternetSession* pSession, LPCWSTR pstrServer, INTERNET_PORT nPort,
                                 LPCWSTR pstrUserName, LPCWSTR pstrPassword, DWORD_PTR dwContext)
    : CInternetConnection(pSession, pstrServer, nPort, INTERNET_SERVICE_HTTP, pstrUserName, pstrPassword, dwContext)
{}

CHttpFile* CHttpConnection::OpenRequest(int nVerb, LPCWSTR pstrObjectName, LPCWSTR pstrReferer, DWORD_PTR dwContext,
                                        LPCWSTR* ppstrAcceptTypes, LPCWSTR pstrVersion, DWORD dwFlags)
{
    static const LPCWSTR s_verbs[] = { L"POST", L"GET", L"HEAD" };
    if (nVerb < HTTP_VERB_POST || nVerb > HTTP_VERB_HEAD || m_hConnection == NULL)
        AfxThrowInternetException(dwContext, ERROR_INVALID_PARAMETER);
    HINTERNET hRequest = ::HttpOpenRequestW(m_hConnection, s_verbs[nVerb], pstrObjectName, pstrVersion, pstrReferer,
                                            ppstrAcceptTypes, dwFlags, dwContext);
    if (hRequest == NULL)
        AfxThrowInternetException(dwContext);
    try {
        return new CHttpFile(hRequest, dwContext);
    } catch (...) {
        ::InternetCloseHandle(hRequest);
        throw;
    }
}

// --- request files -------------------------------------------------------

CInternetFile::CInternetFile(HINTERNET hRequest, DWORD_PTR dwContext) : m_hRequest(hRequest), m_dwContext(dwContext) {}

CInternetFile::~CInternetFile()
{
    CloseInternetHandle(m_hRequest);
}

UINT CInternetFile::Read(void* lpBuf, UINT nCount)
{
    if (m_hRequest == NULL)
        AfxThrowInternetException(m_dwContext, ERROR_INVALID_HANDLE);
    DWORD dwRead = 0;
    if (nCount == 0)
        return 0;
    if (!::InternetReadFile(m_hRequest, lpBuf, nCount, &dwRead))
        AfxThrowInternetException(m_dwContext);
    return (UINT)dwRead;
}

BOOL CInternetFile::SetOption(DWORD dwOption, DWORD dwValue)
{
    if (m_hRequest == NULL)
        return FALSE;
    return ::InternetSetOptionW(m_hRequest, dwOption, &dwValue, sizeof(dwValue));
}

void CInternetFile::Write(const void*, UINT)
{
    AfxThrowNotSupportedException();
}

ULONGLONG CInternetFile::Seek(LONGLONG, UINT)
{
    AfxThrowNotSupportedException();
}

ULONGLONG CInternetFile::GetPosition() const
{
    AfxThrowNotSupportedException();
}

ULONGLONG CInternetFile::GetLength() const
{
    AfxThrowNotSupportedException();
}

void CInternetFile::SetLength(ULONGLONG)
{
    AfxThrowNotSupportedException();
}

void CInternetFile::Flush() {}

void CInternetFile::Close()
{
    CloseInternetHandle(m_hRequest);
}

void CInternetFile::Abort()
{
    CloseInternetHandle(m_hRequest);
}

CHttpFile::CHttpFile(HINTERNET hRequest, DWORD_PTR dwContext) : CInternetFile(hRequest, dwContext) {}

BOOL CHttpFile::SendRequest(LPCWSTR pstrHeaders, DWORD dwHeadersLength, LPVOID lpOptional, DWORD dwOptionalLength)
{
    if (m_hRequest == NULL)
        AfxThrowInternetException(m_dwContext, ERROR_INVALID_HANDLE);
    if (pstrHeaders != NULL && dwHeadersLength == 0)
        dwHeadersLength = (DWORD)-1;
    if (!::HttpSendRequestW(m_hRequest, pstrHeaders, dwHeadersLength, lpOptional, dwOptionalLength))
        AfxThrowInternetException(m_dwContext);
    return TRUE;
}

BOOL CHttpFile::QueryInfoStatusCode(DWORD& dwStatusCode) const
{
    dwStatusCode = 0;
    if (m_hRequest == NULL)
        return FALSE;
    DWORD dwSize = sizeof(dwStatusCode);
    return ::HttpQueryInfoW(m_hRequest, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &dwStatusCode, &dwSize, NULL);
}
