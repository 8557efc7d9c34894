// The program's own HTTP proxy: accepts browser connections on the loopback
// address, connects each to the chosen upstream proxy, adds the Basic
// Proxy-Authorization header to each request block and copies the bytes in
// both directions, on ten threads of one I/O completion port.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include "net/RelayConnection.h"
#include "proxy/Proxy.h"

#include <atomic>

#define RELAY_WORKER_THREADS 10
#define RELAY_HOST_SIZE 100
#define RELAY_CREDENTIAL_SIZE 100
// Without an upstream chosen, connections go here.
#define RELAY_DEFAULT_UPSTREAM_HOST "127.0.0.1"
#define RELAY_DEFAULT_UPSTREAM_PORT 8080
// An upstream that has not completed the handshake by then is given up and
// the browser connection closed: a listed proxy may never answer a SYN.
#define RELAY_CONNECT_TIMEOUT_MS 20000

class CRelayServer
{
public:
    CRelayServer();
    ~CRelayServer();

    // The upstream for connections accepted from now on; a host that does not
    // fit (100 bytes with its NUL) is refused and the upstream kept.
    bool SetUpstream(const char* pszHost, int nPort);
    // Whole copies, never half-written by a concurrent SetUpstream.
    void GetUpstream(char* pszHost, size_t nSize, int& nPort);

    // Credentials whose "user:password" exceeds 149 characters, or either part
    // 100 bytes, are refused: the old ones stay. Null counts as refused.
    bool SetCredentials(const char* pszUser, const char* pszPassword);
    void GetCredentials(char* pszUser, char* pszPassword);  // 100 bytes each

    // The header line with CR LF for the current credentials; its length, or
    // 0 when none can be built.
    size_t FormatAuthorizationLine(char* out, size_t nSize);

    // Starts the listening thread (start-up step of the main window). The
    // listening port is m_nListenPort; 0 takes a free one (tests).
    bool Start();
    // The port accepted on once listening, 0 before (or after a failed start).
    int GetListeningPort() const { return m_nBoundPort.load(); }
    // The listening thread ended without listening.
    bool StartFailed() const { return m_bStartFailed.load(); }
    // Live connection records of the process, both sides counted.
    long GetConnectionCount() const { return m_nConnections.load(); }
    // How long an upstream connect may take (tests shorten it).
    DWORD GetConnectTimeout() const { return m_dwConnectTimeoutMs.load(); }
    void SetConnectTimeout(DWORD dwMilliseconds) { m_dwConnectTimeoutMs = dwMilliseconds; }
    // Whether sockets accepted or connected from now on handle a receive or
    // send that completes at once on the same thread instead of through the
    // port (on by default; used only where the system allows it).
    void SetSkipPortOnSuccess(bool bSkip) { m_bSkipPortWanted = bSkip; }
    bool GetSkipPortOnSuccess() const { return m_bSkipPortWanted.load(); }
    // Operations that completed at once and were carried on without a packet.
    long GetImmediateCount() const { return m_nImmediate.load(); }

    int m_nListenPort;
    char m_szUpstreamHost[RELAY_HOST_SIZE];
    int m_nUpstreamPort;
    char m_szUser[RELAY_CREDENTIAL_SIZE];
    char m_szPassword[RELAY_CREDENTIAL_SIZE];
    HANDLE m_hThread;
    HANDLE m_hCompletionPort;
    volatile LONG m_bStop;

    // Used by the relay's threads.
    CRITICAL_SECTION m_csEndpoint;  // upstream and credentials
    std::atomic<int> m_nBoundPort;
    std::atomic<bool> m_bStartFailed;
    std::atomic<long> m_nConnections;
    std::atomic<DWORD> m_dwConnectTimeoutMs;
    std::atomic<bool> m_bSkipPortWanted;
    std::atomic<long> m_nImmediate;

private:
    CRelayServer(const CRelayServer&) = delete;
    CRelayServer& operator=(const CRelayServer&) = delete;
};

extern CRelayServer g_relayServer;

DWORD WINAPI RelayListenThreadProc(LPVOID pParam);
DWORD WINAPI RelayWorkerThreadProc(LPVOID pParam);

// Takes the user name and the current server password (g_szProxyPassword)
// into the relay; false for a null user or credentials too long.
bool SetRelayCredentials(const char* pszUser);

// The main window's relay start-up step: the user and password into the
// relay, then its listening thread. False when the thread could not start.
bool StartRelayServer(const char* pszUser, const char* pszPassword);

// Relay internals, also used by the tests.
// Inserts the header line after the block's first CR LF when the block
// begins with a method name and the line fits; returns the new length.
DWORD InsertProxyAuthorization(char* pBlock, DWORD nLength, DWORD nCapacity, const char* pszLine, size_t nLineLength);
// The block holds "407 Proxy Authentication Required".
bool ContainsProxyAuthRequired(const char* pBlock, DWORD nLength);
