// The reply of one request to the maker's server while libcurl receives it.
#pragma once

#include <stddef.h>

// The most a reply may hold. Peers are untrusted (a listed proxy may stream
// an endless body) and a run holds up to 150 test fetches at once in a
// 32-bit process, so each kind of reply gets a bound well above what it
// really carries:
// - a test page is a small page holding the expected text;
#define TEST_PAGE_MAX_BYTES (256u * 1024u)
// - a server reply is at most a proxy list of some tens of thousands of lines.
#define SERVER_REPLY_MAX_BYTES (4u * 1024u * 1024u)

struct CCurlBuffer
{
    char* m_pData;    // heap, NUL-terminated once anything arrived
    size_t m_nSize;   // bytes received
    size_t m_nLimit;  // the reply's cap; 0 stands for SERVER_REPLY_MAX_BYTES
    bool m_bTooLong;  // the reply ran past its cap (or memory ran out)
};

// libcurl write callback; pUser is the CCurlBuffer. A piece that would take
// the reply past its cap, or that cannot be held, is refused: the short
// count makes libcurl fail the transfer, and m_bTooLong is set.
size_t CurlWriteCallback(char* pData, size_t nSize, size_t nCount, void* pUser);
