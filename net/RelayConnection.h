// One socket of a relayed browser connection: the browser side or the
// upstream side. The two records of a pair point at each other.
#pragma once

#include <winsock2.h>
#include <windows.h>

#define RELAY_BUFFER_SIZE 8192

// m_peerSocket before the upstream is connected, and after the peer closed.
#define RELAY_PEER_NOT_CONNECTED (static_cast<SOCKET>(-1))
#define RELAY_PEER_CLOSED (static_cast<SOCKET>(-2))

class CRelayServer;

enum RelayOperation
{
    RELAY_OP_NONE = 0,
    RELAY_OP_RECEIVE,  // receive on m_socket
    RELAY_OP_SEND,     // send of m_buffer on the peer's socket
    RELAY_OP_CONNECT,  // ConnectEx of an upstream record's socket
};

struct CRelayConnection
{
    OVERLAPPED m_overlapped;  // first: a completion's OVERLAPPED is the record
    WSABUF m_wsaBuf;
    char m_buffer[RELAY_BUFFER_SIZE];
    SOCKET m_socket;
    SOCKET m_peerSocket;
    CRelayServer* m_pServer;  // browser records only
    CRelayConnection* m_pPeer;

    // The one operation outstanding; the completion key cannot tell once the
    // peer's socket is gone.
    int m_nOperation;
    DWORD m_nBlockLength;  // bytes of the block being sent on
    DWORD m_nBlockSent;    // of which already sent
    // Both records of a pair share one lock of the pool (RelayServer.cpp);
    // every link and socket call of the pair happens under it.
    int m_nLock;
    // The socket was closed (possibly by the peer's close): never use it again.
    bool m_bSocketClosed;
    // No operation will ever be posted again (held back after a 407, or the
    // post failed), or none is outstanding while a browser record waits for
    // its upstream to connect: the peer's close frees the record.
    bool m_bIdle;
    // Upstream records while their connect is pending: the time-out closes
    // the socket, which ends the connect with an error.
    bool m_bConnecting;
    HANDLE m_hConnectTimer;
    // An operation on the socket that completes at once queues no packet:
    // the thread that started it carries the result on.
    bool m_bSkipPort;
};

// Closes one side of a pair and tells the other: the peer's socket is closed
// too, so its outstanding operation ends and the peer frees itself; an idle
// peer is freed here. Called only by the thread that owns the record (no
// operation outstanding on it).
void CloseRelayConnection(CRelayConnection* pConnection);

// The relay's own helpers (RelayWorker.cpp), shared with the listening thread.
// A zero-filled record for socket s, counted as live; pServer is set on
// browser records only. nLock is the pair's lock, from NextRelayLock.
CRelayConnection* AllocRelayConnection(CRelayServer* pServer, SOCKET s, int nLock);
// Frees the record once; a connect time-out still armed on it is taken
// down first (waiting for a callback already running).
void FreeRelayConnection(CRelayConnection* pConnection);
int NextRelayLock();
// Associates the record's socket with the relay's completion port, and asks
// that its immediate completions skip the port when the relay wants that.
bool AssociateRelayConnection(CRelayConnection* pConnection, HANDLE hPort);
// Posts the receive of a whole buffer on the record's socket; false when the
// socket is closed or the call failed at once. A receive that completed at
// once on a socket that skips the port waits in this thread's list of
// immediate results.
bool PostRelayReceive(CRelayConnection* pConnection);
// Off the completion-port threads (the listening thread): the immediate
// results this thread started go to the port as packets.
void HandImmediateResultsToPort(HANDLE hPort);
