// Collects the reply of one request to the maker's server as libcurl receives it.
#include "net/CurlBuffer.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

size_t CurlWriteCallback(char* pData, size_t nSize, size_t nCount, void* pUser)
{
    CCurlBuffer* pBuffer = static_cast<CCurlBuffer*>(pUser);
    const size_t nLimit = pBuffer->m_nLimit != 0 ? pBuffer->m_nLimit : SERVER_REPLY_MAX_BYTES;
    // Any count other than the piece's size fails the transfer in libcurl.
    if (nCount != 0 && nSize > SIZE_MAX / nCount) {
        pBuffer->m_bTooLong = true;
        return 0;
    }
    size_t n = nSize * nCount;
    if (pBuffer->m_nSize > nLimit || n > nLimit - pBuffer->m_nSize) {
        pBuffer->m_bTooLong = true;
        return 0;
    }
    char* pGrown = static_cast<char*>(realloc(pBuffer->m_pData, pBuffer->m_nSize + n + 1));
    if (pGrown == NULL) {
        pBuffer->m_bTooLong = true;
        return 0;
    }
    pBuffer->m_pData = pGrown;
    if (n != 0)
        memcpy(pGrown + pBuffer->m_nSize, pData, n);
    pBuffer->m_nSize += n;
    pGrown[pBuffer->m_nSize] = '\0';
    return n;
}
