// Builds and inserts the Basic Proxy-Authorization header.
#include "net/ProxyAuthorization.h"

#include "net/Base64.h"

#include <stdio.h>
#include <string.h>

bool ProxyCredentialsFit(const char* pszUser, const char* pszPassword)
{
    size_t nUser = pszUser ? strlen(pszUser) : 0;
    size_t nPassword = pszPassword ? strlen(pszPassword) : 0;
    return nUser + 1 + nPassword <= PROXY_CREDENTIALS_MAX;
}

size_t FormatProxyAuthorization(char* out, size_t nSize, const char* pszUser, const char* pszPassword)
{
    if (out == nullptr || nSize == 0)
        return 0;
    out[0] = '\0';
    if (!ProxyCredentialsFit(pszUser, pszPassword))
        return 0;

    char szText[PROXY_CREDENTIALS_BUFFER];
    snprintf(szText, sizeof(szText), "%s:%s", pszUser ? pszUser : "", pszPassword ? pszPassword : "");
    // Room for the padding beyond the unpadded text's 200 bytes.
    char szBase64[PROXY_CREDENTIALS_BUFFER + 4];
    Base64EncodePadded(szBase64, szText);

    int n = snprintf(out, nSize, "Proxy-Authorization: Basic %s", szBase64);
    if (n < 0 || static_cast<size_t>(n) >= nSize) {
        out[0] = '\0';
        return 0;
    }
    return static_cast<size_t>(n);
}
