// Collects the reply of one request to the maker's server as libcurl receives it.
#include "net/CurlBuffer.h"

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

size_t CurlWriteCallback(char* pData, size_t nSize, size_t nCount, void* pUser)
{
    CCurlBuffer* pBuffer = static_cast<CCurlBuffer*>(pUser);
    if (nCount != 0 && nSize > SIZE_MAX / nCount)
        exit(1);
    size_t n = nSize * nCount;
    if (n > SIZE_MAX - pBuffer->m_nSize - 1)
        exit(1);
    char* pGrown = static_cast<char*>(realloc(pBuffer->m_pData, pBuffer->m_nSize + n + 1));
    if (pGrown == NULL)
        exit(1);
    pBuffer->m_pData = pGrown;
    if (n != 0)
        memcpy(pGrown + pBuffer->m_nSize, pData, n);
    pBuffer->m_nSize += n;
    pGrown[pBuffer->m_nSize] = '\0';
    return n;
}
