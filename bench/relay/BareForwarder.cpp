// The bench's bare forwarder: the relay's completion-port shape without its
// rules, so that the relay's figures can be read against what the shape
// itself allows on this platform.
#include "bench/relay/BareForwarder.h"

#include "net/RelayCompletionMode.h"

namespace {

const int kThreads = 10;
const DWORD kBlock = 8192;

enum Operation
{
    kNone,
    kReceive,
    kSend,
};

}  // namespace

// One socket of a pair. The pair ends when either side ends: both sockets
// are shut down, which ends the other side's outstanding operation, and the
// second side to end closes both sockets and frees the pair.
struct CBareForwarder::CSide
{
    OVERLAPPED overlapped;
    WSABUF wsaBuf;
    char buffer[kBlock];
    SOCKET socket;
    CSide* peer;
    bool browser;
    int operation;
    DWORD length;  // of the block being sent
    DWORD sent;
    std::atomic<int>* pairRefs;
};

CBareForwarder::CBareForwarder(unsigned short upstreamPort, bool bSkipPort)
    : m_upstreamPort(upstreamPort), m_bSkipPort(bSkipPort), m_nImmediate(0)
{}

CBareForwarder::~CBareForwarder() {}

bool CBareForwarder::Start()
{
    m_hPort = CreateIoCompletionPort(INVALID_HANDLE_VALUE, NULL, 0, 0);
    if (m_hPort == NULL)
        return false;
    m_listener = WSASocketW(AF_INET, SOCK_STREAM, 0, NULL, 0, WSA_FLAG_OVERLAPPED);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == SOCKET_ERROR ||
        listen(m_listener, SOMAXCONN) == SOCKET_ERROR)
        return false;
    int length = sizeof(address);
    getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
    m_port = ntohs(address.sin_port);
    m_bSkipEnabled = m_bSkipPort && RelaySkipPortIsSafe();
    for (int i = 0; i < kThreads; ++i)
        CloseHandle(CreateThread(NULL, 0, PortThread, this, 0, NULL));
    CloseHandle(CreateThread(NULL, 0, AcceptThread, this, 0, NULL));
    return true;
}

bool CBareForwarder::Associate(SOCKET s)
{
    if (CreateIoCompletionPort(reinterpret_cast<HANDLE>(s), m_hPort, static_cast<ULONG_PTR>(s), 0) == NULL)
        return false;
    return !m_bSkipEnabled || RelaySetSkipPortOnSuccess(s);
}

namespace {

CBareForwarder::CSide* NewSide(SOCKET s, bool browser)
{
    CBareForwarder::CSide* pSide = new CBareForwarder::CSide();
    pSide->socket = s;
    pSide->browser = browser;
    return pSide;
}

// Starts the side's next operation: a receive when its block is sent, else
// the send of the rest of it. Returns 1 when the operation is pending, 0
// when it completed at once (nBytes set) and -1 when it failed.
int Post(CBareForwarder::CSide* pSide, bool bSkip, DWORD& nBytes)
{
    ZeroMemory(&pSide->overlapped, sizeof(pSide->overlapped));
    int result;
    if (pSide->sent < pSide->length) {
        pSide->operation = kSend;
        pSide->wsaBuf.buf = pSide->buffer + pSide->sent;
        pSide->wsaBuf.len = pSide->length - pSide->sent;
        result = WSASend(pSide->peer->socket, &pSide->wsaBuf, 1, &nBytes, 0, &pSide->overlapped, NULL);
    } else {
        pSide->operation = kReceive;
        pSide->wsaBuf.buf = pSide->buffer;
        pSide->wsaBuf.len = kBlock;
        DWORD flags = 0;
        result = WSARecv(pSide->socket, &pSide->wsaBuf, 1, &nBytes, &flags, &pSide->overlapped, NULL);
    }
    if (result == 0)
        return bSkip ? 0 : 1;
    return WSAGetLastError() == WSA_IO_PENDING ? 1 : -1;
}

void End(CBareForwarder::CSide* pSide)
{
    // The other side's outstanding operation ends with an error; its sockets
    // stay open until it has ended too.
    shutdown(pSide->socket, SD_BOTH);
    shutdown(pSide->peer->socket, SD_BOTH);
    CancelIoEx(reinterpret_cast<HANDLE>(pSide->socket), NULL);
    CancelIoEx(reinterpret_cast<HANDLE>(pSide->peer->socket), NULL);
    if (--*pSide->pairRefs == 0) {
        closesocket(pSide->socket);
        closesocket(pSide->peer->socket);
        delete pSide->pairRefs;
        delete pSide->peer;
        delete pSide;
    }
}

}  // namespace

DWORD WINAPI CBareForwarder::AcceptThread(LPVOID pParam)
{
    CBareForwarder* pSelf = static_cast<CBareForwarder*>(pParam);
    for (;;) {
        SOCKET s = WSAAccept(pSelf->m_listener, NULL, NULL, NULL, 0);
        if (s == INVALID_SOCKET)
            continue;
        CSide* pBrowser = NewSide(s, true);
        if (!pSelf->Associate(s)) {
            closesocket(s);
            delete pBrowser;
            continue;
        }
        DWORD nBytes = 0;
        int posted = Post(pBrowser, pSelf->m_bSkipEnabled, nBytes);
        if (posted == 0) {
            // A port thread carries it on.
            ++pSelf->m_nImmediate;
            PostQueuedCompletionStatus(pSelf->m_hPort, nBytes, static_cast<ULONG_PTR>(s), &pBrowser->overlapped);
        } else if (posted < 0) {
            closesocket(s);
            delete pBrowser;
        }
    }
}

// The upstream of a browser side, connected on its first block, blocking on
// this thread as the relay's design has it.
bool CBareForwarder::Connect(CSide* pBrowser)
{
    SOCKET s = WSASocketW(AF_INET, SOCK_STREAM, 0, NULL, 0, WSA_FLAG_OVERLAPPED);
    if (s == INVALID_SOCKET)
        return false;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(m_upstreamPort);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == SOCKET_ERROR || !Associate(s)) {
        closesocket(s);
        return false;
    }
    CSide* pUpstream = NewSide(s, false);
    pUpstream->peer = pBrowser;
    pBrowser->peer = pUpstream;
    pBrowser->pairRefs = pUpstream->pairRefs = new std::atomic<int>(2);
    DWORD nBytes = 0;
    int posted = Post(pUpstream, m_bSkipEnabled, nBytes);
    if (posted < 0) {
        End(pUpstream);
        return true;  // the browser side ends on its send
    }
    if (posted == 0) {
        // Handled on a port thread of its own: this thread carries the
        // browser's block.
        ++m_nImmediate;
        PostQueuedCompletionStatus(m_hPort, nBytes, static_cast<ULONG_PTR>(s), &pUpstream->overlapped);
    }
    return true;
}

// One completed operation of the side, then every one after it that
// completes at once, in this loop.
void CBareForwarder::Run(CSide* pSide, DWORD nBytes, bool bOk)
{
    for (;;) {
        int operation = pSide->operation;
        pSide->operation = kNone;
        if (!bOk || nBytes == 0) {
            if (pSide->peer == nullptr) {  // a browser that left before its first block
                closesocket(pSide->socket);
                delete pSide;
            } else {
                End(pSide);
            }
            return;
        }
        if (operation == kReceive) {
            if (pSide->peer == nullptr && !Connect(pSide)) {
                closesocket(pSide->socket);
                delete pSide;
                return;
            }
            pSide->length = nBytes;
            pSide->sent = 0;
        } else {
            pSide->sent += nBytes;
        }
        nBytes = 0;
        int posted = Post(pSide, m_bSkipEnabled, nBytes);
        if (posted > 0)
            return;
        if (posted < 0)
            bOk = false;
        else
            ++m_nImmediate;
    }
}

DWORD WINAPI CBareForwarder::PortThread(LPVOID pParam)
{
    CBareForwarder* pSelf = static_cast<CBareForwarder*>(pParam);
    for (;;) {
        DWORD nBytes = 0;
        ULONG_PTR key = 0;
        OVERLAPPED* pOverlapped = nullptr;
        BOOL bOk = GetQueuedCompletionStatus(pSelf->m_hPort, &nBytes, &key, &pOverlapped, INFINITE);
        if (pOverlapped == nullptr)
            continue;
        pSelf->Run(CONTAINING_RECORD(pOverlapped, CSide, overlapped), nBytes, bOk != FALSE);
    }
}
