// Whether a socket's receive or send that completes at once may skip the
// completion port, and switching a socket to that mode.
#pragma once

#include <winsock2.h>
#include <windows.h>

// True when every TCP/IPv4 provider hands out real system handles: a layered
// provider that does not may still queue a packet for an operation that
// completed at once, and the record would be handled twice.
bool RelaySkipPortIsSafe();

// Asks that the socket's immediate completions queue no packet; false when
// the system refuses (the socket then keeps the ordinary mode).
bool RelaySetSkipPortOnSuccess(SOCKET s);
