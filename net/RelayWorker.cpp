// The relay's completion-port threads: pairing each browser connection with
// an upstream connection, the header insertion, the 407 rule and the closing
// of pairs.
#include "net/RelayServer.h"

#include "net/RelayCompletionMode.h"
#include "net/WorkerMessages.h"
#include "net/PasswordRenewal.h"
#include "net/ProxyAuthorization.h"

#include <mswsock.h>
#include <string.h>

namespace {

// Locks shared by the two records of a pair. A pool that lives as long as
// the process: a lock inside a record could be freed under a waiting thread.
const int kLockCount = 64;

struct CRelayLockPool
{
    CRelayLockPool()
    {
        for (CRITICAL_SECTION& cs : locks)
            InitializeCriticalSection(&cs);
    }
    // Not deleted: relay threads may still run while the process ends.
    CRITICAL_SECTION locks[kLockCount];
};

CRITICAL_SECTION* PairLock(int nLock)
{
    static CRelayLockPool* s_pPool = new CRelayLockPool;
    return &s_pPool->locks[nLock % kLockCount];
}

class CPairLock
{
public:
    explicit CPairLock(const CRelayConnection* pConnection) : m_pcs(PairLock(pConnection->m_nLock))
    {
        EnterCriticalSection(m_pcs);
    }
    ~CPairLock() { LeaveCriticalSection(m_pcs); }
    CPairLock(const CPairLock&) = delete;
    CPairLock& operator=(const CPairLock&) = delete;

private:
    CRITICAL_SECTION* m_pcs;
};

// Results of operations that completed at once on sockets that skip the
// port, waiting for this thread to carry them on. One handling step starts
// at most two operations (an upstream's first receive and the browser's
// first send), and the list is emptied after every step.
struct CImmediateResult
{
    CRelayConnection* pConnection;
    DWORD nBytes;
};
const int kImmediateSlots = 4;
thread_local CImmediateResult t_immediate[kImmediateSlots];
thread_local int t_nImmediate = 0;

// The operation completed at once; the caller holds the pair's lock and has
// set m_nOperation. With the list full the result goes as a packet instead.
void KeepImmediateResult(CRelayConnection* pConnection, DWORD nBytes)
{
    if (t_nImmediate < kImmediateSlots) {
        t_immediate[t_nImmediate++] = { pConnection, nBytes };
        return;
    }
    PostQueuedCompletionStatus(g_relayServer.m_hCompletionPort, nBytes, static_cast<ULONG_PTR>(pConnection->m_socket),
                               &pConnection->m_overlapped);
}

const char* const kMethods[] = { "OPTIONS", "GET", "HEAD", "POST", "PUT", "DELETE", "TRACE", "CONNECT" };
const char kAuthRequired[] = "407 Proxy Authentication Required";
const __int64 kRenewalPause = 3600;

// Closes the record's socket once; the caller holds the pair's lock.
void CloseSocketOnce(CRelayConnection* pConnection)
{
    if (pConnection->m_bSocketClosed)
        return;
    pConnection->m_bSocketClosed = true;
    shutdown(pConnection->m_socket, SD_BOTH);
    closesocket(pConnection->m_socket);
}

// The send of the rest of the record's block on its peer's socket. False when
// the peer is gone or the send failed at once.
bool PostRelaySend(CRelayConnection* pConnection)
{
    CPairLock lock(pConnection);
    CRelayConnection* pPeer = pConnection->m_pPeer;
    if (pPeer == nullptr || pPeer->m_bSocketClosed)
        return false;
    ZeroMemory(&pConnection->m_overlapped, sizeof(pConnection->m_overlapped));
    pConnection->m_wsaBuf.buf = pConnection->m_buffer + pConnection->m_nBlockSent;
    pConnection->m_wsaBuf.len = pConnection->m_nBlockLength - pConnection->m_nBlockSent;
    pConnection->m_nOperation = RELAY_OP_SEND;
    DWORD nSent = 0;
    if (WSASend(pPeer->m_socket, &pConnection->m_wsaBuf, 1, &nSent, 0, &pConnection->m_overlapped, NULL) == 0) {
        // The send is on the peer's socket: its mode decides.
        if (pPeer->m_bSkipPort)
            KeepImmediateResult(pConnection, nSent);
        return true;
    }
    if (WSAGetLastError() != WSA_IO_PENDING) {
        pConnection->m_nOperation = RELAY_OP_NONE;
        return false;
    }
    return true;
}

// A 407 answer: holds the block back and asks the main window for
// a new password unless one was asked for within the hour. False when the
// record is to be closed now (its peer is already gone).
bool HoldBackAuthRequired(CRelayConnection* pConnection)
{
    RenewalTime now = CurrentRenewalTime();
    // Only the window's own thread may set its timers: the main window arms
    // timer 3 when this message arrives.
    HWND hMainWnd = g_hMainWnd;
    if (now - g_lastPasswordRequestTime.load() > kRenewalPause && hMainWnd != NULL)
        PostMessageW(hMainWnd, WM_RENEW_PASSWORD_NOW, 0, 0);

    CPairLock lock(pConnection);
    // With the peer gone, or held back itself, nothing could ever end the
    // pair: it is closed now.
    if (pConnection->m_pPeer == nullptr || pConnection->m_pPeer->m_bIdle)
        return false;
    // Nothing more passes in this direction; the peer's close frees it.
    pConnection->m_bIdle = true;
    return true;
}

// The address of the upstream for a new browser connection; false when the
// host does not resolve.
bool ResolveUpstream(CRelayServer* pServer, sockaddr_in& address)
{
    char szHost[RELAY_HOST_SIZE];
    int nPort = 0;
    pServer->GetUpstream(szHost, sizeof(szHost), nPort);
    if (szHost[0] == '\0') {
        strcpy(szHost, RELAY_DEFAULT_UPSTREAM_HOST);
        nPort = RELAY_DEFAULT_UPSTREAM_PORT;
    }

    address = sockaddr_in();
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<u_short>(nPort));
    address.sin_addr.s_addr = inet_addr(szHost);
    if (address.sin_addr.s_addr == INADDR_NONE) {
        hostent* pHost = gethostbyname(szHost);
        if (pHost == nullptr || pHost->h_addrtype != AF_INET || pHost->h_addr_list[0] == nullptr)
            return false;
        memcpy(&address.sin_addr, pHost->h_addr_list[0], sizeof(address.sin_addr));
    }
    return true;
}

// The socket provider's ConnectEx; null when it has none.
LPFN_CONNECTEX ConnectExOf(SOCKET s)
{
    LPFN_CONNECTEX pfnConnectEx = nullptr;
    GUID guid = WSAID_CONNECTEX;
    DWORD nBytes = 0;
    if (WSAIoctl(s, SIO_GET_EXTENSION_FUNCTION_POINTER, &guid, sizeof(guid), &pfnConnectEx, sizeof(pfnConnectEx),
                 &nBytes, NULL, NULL) == SOCKET_ERROR)
        return nullptr;
    return pfnConnectEx;
}

// Runs on a thread of the default timer queue, never on a completion-port
// thread: closing the socket ends the pending ConnectEx with an error, and
// the completion closes the pair.
VOID CALLBACK ConnectTimedOut(PVOID pParam, BOOLEAN)
{
    CRelayConnection* pUpstream = static_cast<CRelayConnection*>(pParam);
    CPairLock lock(pUpstream);
    if (pUpstream->m_bConnecting)
        CloseSocketOnce(pUpstream);
}

// Takes the connect time-out down; waits for a callback already running,
// so the caller must not hold the pair's lock.
void StopConnectTimer(CRelayConnection* pConnection)
{
    HANDLE hTimer = pConnection->m_hConnectTimer;
    if (hTimer == NULL)
        return;
    pConnection->m_hConnectTimer = NULL;
    DeleteTimerQueueTimer(NULL, hTimer, INVALID_HANDLE_VALUE);
}

// Starts connecting the browser record's upstream through the completion
// port; the browser's block waits in its buffer until the connect completes.
// False, with the browser record still the caller's, when no connect could
// be started; true when the pair is on its way (or already closed).
bool StartUpstreamConnect(CRelayConnection* pBrowser)
{
    CRelayServer* pServer = pBrowser->m_pServer;
    sockaddr_in address;
    if (!ResolveUpstream(pServer, address))
        return false;

    SOCKET upstream = WSASocketW(AF_INET, SOCK_STREAM, 0, NULL, 0, WSA_FLAG_OVERLAPPED);
    if (upstream == INVALID_SOCKET)
        return false;
    // ConnectEx takes only a bound socket.
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    LPFN_CONNECTEX pfnConnectEx = ConnectExOf(upstream);
    if (pfnConnectEx == nullptr || bind(upstream, reinterpret_cast<sockaddr*>(&local), sizeof(local)) == SOCKET_ERROR) {
        closesocket(upstream);
        return false;
    }

    CRelayConnection* pUpstream = AllocRelayConnection(nullptr, upstream, pBrowser->m_nLock);
    if (pUpstream == nullptr) {
        closesocket(upstream);
        return false;
    }
    if (!AssociateRelayConnection(pUpstream, pServer->m_hCompletionPort)) {
        closesocket(upstream);
        FreeRelayConnection(pUpstream);
        return false;
    }
    {
        CPairLock lock(pBrowser);
        pUpstream->m_peerSocket = pBrowser->m_socket;
        pUpstream->m_pPeer = pBrowser;
        pBrowser->m_pPeer = pUpstream;
        pBrowser->m_peerSocket = upstream;
        // Nothing is outstanding on the browser record while it waits: a
        // failed connect frees it through the upstream record's close.
        pBrowser->m_bIdle = true;
        pUpstream->m_bConnecting = true;
        pUpstream->m_nOperation = RELAY_OP_CONNECT;
        ZeroMemory(&pUpstream->m_overlapped, sizeof(pUpstream->m_overlapped));
    }

    bool bPending = CreateTimerQueueTimer(&pUpstream->m_hConnectTimer, NULL, ConnectTimedOut, pUpstream,
                                          pServer->GetConnectTimeout(), 0, WT_EXECUTEONLYONCE) != FALSE;
    if (!bPending) {
        pUpstream->m_hConnectTimer = NULL;
    } else {
        // From here on the completion owns both records.
        DWORD nSent = 0;
        if (pfnConnectEx(upstream, reinterpret_cast<sockaddr*>(&address), sizeof(address), NULL, 0, &nSent,
                         &pUpstream->m_overlapped)) {
            if (pUpstream->m_bSkipPort) {
                CPairLock lock(pUpstream);
                KeepImmediateResult(pUpstream, 0);
            }
        } else {
            bPending = WSAGetLastError() == ERROR_IO_PENDING;
        }
    }
    if (!bPending) {
        // No completion will come: both records are still this thread's.
        StopConnectTimer(pUpstream);
        {
            CPairLock lock(pUpstream);
            pUpstream->m_bConnecting = false;
            pUpstream->m_nOperation = RELAY_OP_NONE;
        }
        CloseRelayConnection(pUpstream);
    }
    return true;
}

// Header insertion, the 407 rule and the send of a block received on the
// record's own socket.
void RelayBlock(CRelayConnection* pConnection, DWORD nBytes)
{
    DWORD nLength = nBytes;
    if (pConnection->m_pServer) {
        char szLine[PROXY_AUTHORIZATION_LINE_BUFFER];
        size_t nLine = pConnection->m_pServer->FormatAuthorizationLine(szLine, sizeof(szLine));
        nLength = InsertProxyAuthorization(pConnection->m_buffer, nLength, RELAY_BUFFER_SIZE, szLine, nLine);
        SecureZeroMemory(szLine, sizeof(szLine));
    }

    if (ContainsProxyAuthRequired(pConnection->m_buffer, nLength)) {
        if (!HoldBackAuthRequired(pConnection))
            CloseRelayConnection(pConnection);
        return;
    }

    pConnection->m_nBlockLength = nLength;
    pConnection->m_nBlockSent = 0;
    if (!PostRelaySend(pConnection))
        CloseRelayConnection(pConnection);
}

void HandleReceived(CRelayConnection* pConnection, DWORD nBytes)
{
    if (pConnection->m_pServer && pConnection->m_peerSocket == RELAY_PEER_NOT_CONNECTED) {
        // The first block goes on once the upstream has connected.
        pConnection->m_nBlockLength = nBytes;
        if (!StartUpstreamConnect(pConnection))
            CloseRelayConnection(pConnection);
        return;
    }
    RelayBlock(pConnection, nBytes);
}

// The upstream's connect completed, failed, or was ended by its time-out.
void HandleConnected(CRelayConnection* pUpstream, BOOL bOk)
{
    StopConnectTimer(pUpstream);
    CRelayConnection* pBrowser = nullptr;
    {
        CPairLock lock(pUpstream);
        pUpstream->m_bConnecting = false;
        if (bOk && !pUpstream->m_bSocketClosed && pUpstream->m_pPeer != nullptr &&
            setsockopt(pUpstream->m_socket, SOL_SOCKET, SO_UPDATE_CONNECT_CONTEXT, NULL, 0) == 0) {
            pBrowser = pUpstream->m_pPeer;
            // The browser record is this thread's again until its block is sent.
            pBrowser->m_bIdle = false;
        }
    }
    if (pBrowser == nullptr) {
        // The pair's one close path; the waiting browser record goes with it.
        CloseRelayConnection(pUpstream);
        return;
    }
    if (!PostRelayReceive(pUpstream)) {
        CloseRelayConnection(pUpstream);
        CloseRelayConnection(pBrowser);
        return;
    }
    RelayBlock(pBrowser, pBrowser->m_nBlockLength);
}

void HandleSent(CRelayConnection* pConnection, DWORD nBytes)
{
    pConnection->m_nBlockSent += nBytes;
    bool bPosted = pConnection->m_nBlockSent < pConnection->m_nBlockLength ? PostRelaySend(pConnection)
                                                                           : PostRelayReceive(pConnection);
    if (!bPosted)
        CloseRelayConnection(pConnection);
}

// One completed operation of the record, from a packet or from the list of
// immediate results.
void HandleCompletion(CRelayConnection* pConnection, BOOL bOk, DWORD nBytes)
{
    int nOperation = pConnection->m_nOperation;
    pConnection->m_nOperation = RELAY_OP_NONE;

    if (nOperation == RELAY_OP_CONNECT)
        HandleConnected(pConnection, bOk);
    else if (!bOk || nBytes == 0)
        CloseRelayConnection(pConnection);
    else if (nOperation == RELAY_OP_RECEIVE)
        HandleReceived(pConnection, nBytes);
    else if (nOperation == RELAY_OP_SEND)
        HandleSent(pConnection, nBytes);
}

// Carries on, in this loop and never by recursion, every operation that
// completed at once while the last one was handled, and those they start.
void HandleImmediateResults()
{
    while (t_nImmediate > 0) {
        CImmediateResult result = t_immediate[--t_nImmediate];
        ++g_relayServer.m_nImmediate;
        HandleCompletion(result.pConnection, TRUE, result.nBytes);
    }
}

}  // namespace

bool AssociateRelayConnection(CRelayConnection* pConnection, HANDLE hPort)
{
    HANDLE hSocket = reinterpret_cast<HANDLE>(pConnection->m_socket);
    if (CreateIoCompletionPort(hSocket, hPort, static_cast<ULONG_PTR>(pConnection->m_socket), 0) == NULL)
        return false;
    pConnection->m_bSkipPort = g_relayServer.GetSkipPortOnSuccess() && RelaySkipPortIsSafe() &&
                               RelaySetSkipPortOnSuccess(pConnection->m_socket);
    return true;
}

void HandImmediateResultsToPort(HANDLE hPort)
{
    while (t_nImmediate > 0) {
        CImmediateResult result = t_immediate[--t_nImmediate];
        ++g_relayServer.m_nImmediate;
        PostQueuedCompletionStatus(hPort, result.nBytes, static_cast<ULONG_PTR>(result.pConnection->m_socket),
                                   &result.pConnection->m_overlapped);
    }
}

int NextRelayLock()
{
    static volatile LONG s_nNext = 0;
    return static_cast<int>(static_cast<unsigned long>(InterlockedIncrement(&s_nNext)) % kLockCount);
}

CRelayConnection* AllocRelayConnection(CRelayServer* pServer, SOCKET s, int nLock)
{
    CRelayConnection* pConnection = static_cast<CRelayConnection*>(GlobalAlloc(GPTR, sizeof(CRelayConnection)));
    if (pConnection == nullptr)
        return nullptr;
    pConnection->m_wsaBuf.len = RELAY_BUFFER_SIZE;
    pConnection->m_wsaBuf.buf = pConnection->m_buffer;
    pConnection->m_socket = s;
    pConnection->m_peerSocket = RELAY_PEER_NOT_CONNECTED;
    pConnection->m_pServer = pServer;
    pConnection->m_pPeer = nullptr;
    pConnection->m_nOperation = RELAY_OP_NONE;
    pConnection->m_nLock = nLock;
    ++g_relayServer.m_nConnections;
    return pConnection;
}

void FreeRelayConnection(CRelayConnection* pConnection)
{
    StopConnectTimer(pConnection);
    GlobalFree(pConnection);
    --g_relayServer.m_nConnections;
}

bool PostRelayReceive(CRelayConnection* pConnection)
{
    CPairLock lock(pConnection);
    if (pConnection->m_bSocketClosed)
        return false;
    ZeroMemory(&pConnection->m_overlapped, sizeof(pConnection->m_overlapped));
    pConnection->m_wsaBuf.buf = pConnection->m_buffer;
    pConnection->m_wsaBuf.len = RELAY_BUFFER_SIZE;
    pConnection->m_nOperation = RELAY_OP_RECEIVE;
    DWORD nReceived = 0;
    DWORD dwFlags = 0;
    if (WSARecv(pConnection->m_socket, &pConnection->m_wsaBuf, 1, &nReceived, &dwFlags, &pConnection->m_overlapped,
                NULL) == 0) {
        if (pConnection->m_bSkipPort)
            KeepImmediateResult(pConnection, nReceived);
        return true;
    }
    if (WSAGetLastError() != WSA_IO_PENDING) {
        pConnection->m_nOperation = RELAY_OP_NONE;
        return false;
    }
    return true;
}

void CloseRelayConnection(CRelayConnection* pConnection)
{
    CRelayConnection* pIdlePeer = nullptr;
    {
        CPairLock lock(pConnection);
        CRelayConnection* pPeer = pConnection->m_pPeer;
        if (pPeer != nullptr) {
            pPeer->m_peerSocket = RELAY_PEER_CLOSED;
            pPeer->m_pPeer = nullptr;
            // Closing the peer's socket ends its outstanding operation, after
            // which the peer frees itself; an idle peer has none and is ours.
            CloseSocketOnce(pPeer);
            if (pPeer->m_bIdle)
                pIdlePeer = pPeer;
            pConnection->m_pPeer = nullptr;
            pConnection->m_peerSocket = RELAY_PEER_CLOSED;
        }
        CloseSocketOnce(pConnection);
    }
    FreeRelayConnection(pConnection);
    if (pIdlePeer != nullptr)
        FreeRelayConnection(pIdlePeer);
}

DWORD WINAPI RelayWorkerThreadProc(LPVOID pParam)
{
    HANDLE hPort = static_cast<HANDLE>(pParam);
    for (;;) {
        DWORD nBytes = 0;
        ULONG_PTR key = 0;
        OVERLAPPED* pOverlapped = nullptr;
        // A failed packet is a broken connection: it arrives with 0 bytes.
        BOOL bOk = GetQueuedCompletionStatus(hPort, &nBytes, &key, &pOverlapped, INFINITE);
        if (key == 0 || pOverlapped == nullptr)
            return 0;

        HandleCompletion(CONTAINING_RECORD(pOverlapped, CRelayConnection, m_overlapped), bOk, nBytes);
        HandleImmediateResults();
    }
}

DWORD InsertProxyAuthorization(char* pBlock, DWORD nLength, DWORD nCapacity, const char* pszLine, size_t nLineLength)
{
    if (nLineLength == 0 || pszLine == nullptr)
        return nLength;
    bool bRequest = false;
    for (const char* pszMethod : kMethods) {
        size_t nMethod = strlen(pszMethod);
        if (nLength >= nMethod && memcmp(pBlock, pszMethod, nMethod) == 0) {
            bRequest = true;
            break;
        }
    }
    if (!bRequest)
        return nLength;
    if (nLineLength + nLength >= RELAY_BUFFER_SIZE || nLineLength + nLength > nCapacity)
        return nLength;

    DWORD nLineEnd = 0;
    for (DWORD i = 0; i + 1 < nLength; ++i) {
        if (pBlock[i] == '\r' && pBlock[i + 1] == '\n') {
            nLineEnd = i + 2;
            break;
        }
    }
    if (nLineEnd == 0)
        return nLength;

    memmove(pBlock + nLineEnd + nLineLength, pBlock + nLineEnd, nLength - nLineEnd);
    memcpy(pBlock + nLineEnd, pszLine, nLineLength);
    return nLength + static_cast<DWORD>(nLineLength);
}

bool ContainsProxyAuthRequired(const char* pBlock, DWORD nLength)
{
    const size_t nText = sizeof(kAuthRequired) - 1;
    if (nLength < nText)
        return false;
    for (DWORD i = 0; i + nText <= nLength; ++i) {
        if (pBlock[i] == kAuthRequired[0] && memcmp(pBlock + i, kAuthRequired, nText) == 0)
            return true;
    }
    return false;
}
