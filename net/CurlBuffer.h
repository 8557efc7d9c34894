// The reply of one request to the maker's server while libcurl receives it.
#pragma once

#include <stddef.h>

struct CCurlBuffer
{
    char* m_pData;    // heap, NUL-terminated once anything arrived
    size_t m_nSize;   // bytes received
};

// libcurl write callback; pUser is the CCurlBuffer. Ends the process with
// exit code 1 when the buffer cannot grow.
size_t CurlWriteCallback(char* pData, size_t nSize, size_t nCount, void* pUser);
