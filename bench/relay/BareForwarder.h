// The relay's design limit for the bench: a forwarder with only the relay's
// shape (ten completion-port threads, one 8192-byte block per socket,
// receive then send on the other socket, the upstream connected on the
// first block) and nothing else: no header, no 407 rule, no locks, no time-out.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>

class CBareForwarder
{
public:
    // bSkipPort: a receive or send that completes at once is handled on the
    // same thread instead of through the port (when the system allows it).
    CBareForwarder(unsigned short upstreamPort, bool bSkipPort);
    ~CBareForwarder();  // the process ends with it: threads are left running

    bool Start();
    unsigned short Port() const { return m_port; }
    // Operations that completed at once and were handled without the port.
    long Immediate() const { return m_nImmediate.load(); }
    bool SkipPortEnabled() const { return m_bSkipEnabled; }

    struct CSide;

private:
    static DWORD WINAPI AcceptThread(LPVOID pParam);
    static DWORD WINAPI PortThread(LPVOID pParam);
    void Run(CSide* pSide, DWORD nBytes, bool bOk);
    bool Associate(SOCKET s);
    bool Connect(CSide* pBrowser);

    unsigned short m_upstreamPort;
    bool m_bSkipPort;
    bool m_bSkipEnabled = false;
    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    HANDLE m_hPort = NULL;
    std::atomic<long> m_nImmediate;
};
