// The relay's endpoint record, its credentials and its listening thread.
#include "net/RelayServer.h"

#include "net/ProxyAuthorization.h"
#include "net/ServerRequest.h"

#include <stdio.h>
#include <string.h>

CRelayServer g_relayServer;

namespace {

// Copies a text that fits whole; false, with the target unchanged, otherwise.
bool CopyWhole(char* pTarget, size_t nSize, const char* pszSource)
{
    if (pszSource == nullptr)
        return false;
    size_t nLength = strlen(pszSource);
    if (nLength >= nSize)
        return false;
    memcpy(pTarget, pszSource, nLength + 1);
    return true;
}

class CEndpointLock
{
public:
    explicit CEndpointLock(CRITICAL_SECTION* pcs) : m_pcs(pcs) { EnterCriticalSection(m_pcs); }
    ~CEndpointLock() { LeaveCriticalSection(m_pcs); }
    CEndpointLock(const CEndpointLock&) = delete;
    CEndpointLock& operator=(const CEndpointLock&) = delete;

private:
    CRITICAL_SECTION* m_pcs;
};

}  // namespace

CRelayServer::CRelayServer()
    : m_nListenPort(LOCAL_RELAY_PORT),
      m_szUpstreamHost{},
      m_nUpstreamPort(0),
      m_szUser{},
      m_szPassword{},
      m_hThread(NULL),
      m_hCompletionPort(NULL),
      m_bStop(1),
      m_nBoundPort(0),
      m_bStartFailed(false),
      m_nConnections(0),
      m_dwConnectTimeoutMs(RELAY_CONNECT_TIMEOUT_MS),
      // An immediate result carried on in the thread saves a trip through the
      // port: 1.75x the bulk throughput under Wine, the same requests/s.
      m_bSkipPortWanted(true),
      m_nImmediate(0)
{
    InitializeCriticalSection(&m_csEndpoint);
}

CRelayServer::~CRelayServer()
{
    // The relay's threads run until the process ends; the lock stays valid
    // for them, so it is not deleted here.
}

bool CRelayServer::SetUpstream(const char* pszHost, int nPort)
{
    CEndpointLock lock(&m_csEndpoint);
    if (!CopyWhole(m_szUpstreamHost, sizeof(m_szUpstreamHost), pszHost))
        return false;
    m_nUpstreamPort = nPort;
    return true;
}

void CRelayServer::GetUpstream(char* pszHost, size_t nSize, int& nPort)
{
    CEndpointLock lock(&m_csEndpoint);
    if (nSize > 0) {
        strncpy(pszHost, m_szUpstreamHost, nSize - 1);
        pszHost[nSize - 1] = '\0';
    }
    nPort = m_nUpstreamPort;
}

bool CRelayServer::SetCredentials(const char* pszUser, const char* pszPassword)
{
    if (pszUser == nullptr || pszPassword == nullptr)
        return false;
    if (strlen(pszUser) >= RELAY_CREDENTIAL_SIZE || strlen(pszPassword) >= RELAY_CREDENTIAL_SIZE)
        return false;
    if (!ProxyCredentialsFit(pszUser, pszPassword))
        return false;
    CEndpointLock lock(&m_csEndpoint);
    CopyWhole(m_szUser, sizeof(m_szUser), pszUser);
    CopyWhole(m_szPassword, sizeof(m_szPassword), pszPassword);
    return true;
}

void CRelayServer::GetCredentials(char* pszUser, char* pszPassword)
{
    CEndpointLock lock(&m_csEndpoint);
    memcpy(pszUser, m_szUser, sizeof(m_szUser));
    memcpy(pszPassword, m_szPassword, sizeof(m_szPassword));
}

size_t CRelayServer::FormatAuthorizationLine(char* out, size_t nSize)
{
    char szUser[RELAY_CREDENTIAL_SIZE];
    char szPassword[RELAY_CREDENTIAL_SIZE];
    GetCredentials(szUser, szPassword);
    size_t nLength = FormatProxyAuthorization(out, nSize, szUser, szPassword);
    SecureZeroMemory(szPassword, sizeof(szPassword));
    if (nLength == 0 || nLength + 2 >= nSize) {
        if (nSize > 0)
            out[0] = '\0';
        return 0;
    }
    out[nLength++] = '\r';
    out[nLength++] = '\n';
    out[nLength] = '\0';
    return nLength;
}

bool CRelayServer::Start()
{
    if (m_hThread != NULL)
        return true;
    m_bStartFailed = false;
    InterlockedExchange(&m_bStop, 0);
    m_hThread = CreateThread(NULL, 0, RelayListenThreadProc, this, 0, NULL);
    if (m_hThread == NULL) {
        InterlockedExchange(&m_bStop, 1);
        m_bStartFailed = true;
        return false;
    }
    return true;
}

bool SetRelayCredentials(const char* pszUser)
{
    if (pszUser == nullptr)
        return false;
    return g_relayServer.SetCredentials(pszUser, g_szProxyPassword);
}

bool StartRelayServer(const char* pszUser, const char* pszPassword)
{
    g_relayServer.SetCredentials(pszUser, pszPassword);
    g_pfnSetRelayCredentials = SetRelayCredentials;
    return g_relayServer.Start();
}

namespace {

DWORD FailStart(CRelayServer* pServer, bool bCleanup)
{
    // Workers already waiting on the port would idle for the rest of the
    // process: a packet with key 0 ends each.
    if (pServer->m_hCompletionPort != NULL) {
        for (int i = 0; i < RELAY_WORKER_THREADS; ++i)
            PostQueuedCompletionStatus(pServer->m_hCompletionPort, 0, 0, NULL);
        CloseHandle(pServer->m_hCompletionPort);
        pServer->m_hCompletionPort = NULL;
    }
    if (bCleanup)
        WSACleanup();
    pServer->m_bStartFailed = true;
    return static_cast<DWORD>(-1);
}

}  // namespace

DWORD WINAPI RelayListenThreadProc(LPVOID pParam)
{
    CRelayServer* pServer = static_cast<CRelayServer*>(pParam);

    WSADATA wsaData;
    if (WSAStartup(MAKEWORD(2, 2), &wsaData) != 0)
        return FailStart(pServer, false);
    if (wsaData.wVersion != MAKEWORD(2, 2))
        return FailStart(pServer, true);

    pServer->m_hCompletionPort = CreateIoCompletionPort(INVALID_HANDLE_VALUE, NULL, 0, 0);
    if (pServer->m_hCompletionPort == NULL)
        return FailStart(pServer, true);

    for (int i = 0; i < RELAY_WORKER_THREADS; ++i) {
        HANDLE hWorker = CreateThread(NULL, 0, RelayWorkerThreadProc, pServer->m_hCompletionPort, 0, NULL);
        if (hWorker != NULL)
            CloseHandle(hWorker);
    }

    SOCKET listener = WSASocketW(AF_INET, SOCK_STREAM, 0, NULL, 0, WSA_FLAG_OVERLAPPED);
    if (listener == INVALID_SOCKET)
        return FailStart(pServer, true);

    // Loopback only: on any other address every host of the network could use
    // the relay, and with it the user's proxy credentials.
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<u_short>(pServer->m_nListenPort));
    // A page opens many connections at once: a short queue would refuse the
    // surplus.
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == SOCKET_ERROR ||
        listen(listener, SOMAXCONN) == SOCKET_ERROR) {
        closesocket(listener);
        return FailStart(pServer, true);
    }
    sockaddr_in bound = {};
    int nBoundLength = sizeof(bound);
    if (getsockname(listener, reinterpret_cast<sockaddr*>(&bound), &nBoundLength) == 0)
        pServer->m_nBoundPort = ntohs(bound.sin_port);
    else
        pServer->m_nBoundPort = pServer->m_nListenPort;

    while (pServer->m_bStop == 0) {
        SOCKET accepted = WSAAccept(listener, NULL, NULL, NULL, 0);
        if (pServer->m_bStop != 0) {
            if (accepted != INVALID_SOCKET)
                closesocket(accepted);
            break;
        }
        if (accepted == INVALID_SOCKET)
            continue;

        CRelayConnection* pConnection = AllocRelayConnection(pServer, accepted, NextRelayLock());
        if (pConnection == nullptr) {
            closesocket(accepted);
            continue;
        }
        if (!AssociateRelayConnection(pConnection, pServer->m_hCompletionPort)) {
            closesocket(accepted);
            FreeRelayConnection(pConnection);
            continue;
        }
        // Nobody else knows the record yet: a failed post frees it here.
        if (!PostRelayReceive(pConnection))
            CloseRelayConnection(pConnection);
        // This thread only accepts: a receive that completed at once is
        // carried on by a completion-port thread.
        HandImmediateResultsToPort(pServer->m_hCompletionPort);
    }

    closesocket(listener);
    pServer->m_nBoundPort = 0;
    CloseHandle(pServer->m_hCompletionPort);
    WSACleanup();
    return 0;
}
