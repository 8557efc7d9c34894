// Picks address and port pairs out of the text of a proxy-list page.
#include "net/HarvestScanner.h"

#include "proxy/CountryTable.h"

#include <string.h>

namespace {
const int kGroupDigits = 3;
const int kPortDigits = 5;
const long kHighestPort = 65535;

inline bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Digits from p, at most nMax of them.
int CountDigits(const char* p, int nMax)
{
    int n = 0;
    while (n < nMax && IsDigit(p[n]))
        ++n;
    return n;
}

long DecimalValue(const char* p, int nDigits)
{
    long nValue = 0;
    for (int i = 0; i < nDigits; ++i)
        nValue = nValue * 10 + (p[i] - '0');
    return nValue;
}

void AddProxy(const char* pszAddress, int nAddressLength, long nPort, CProxyList& list)
{
    if (nPort == 0 || nPort > kHighestPort)
        return;
    char szAddress[PROXY_IP_SIZE] = {};
    if (nAddressLength >= PROXY_IP_SIZE)
        return;
    memcpy(szAddress, pszAddress, nAddressLength);
    CProxy proxy(szAddress, (int)nPort, FindCountryByAddress(szAddress), 0, 0, 0);
    if (FindProxy(list, proxy) == NULL)
        list.AddTail(proxy);
}
}  // namespace

void ScanProxyChunk(const char* pszChunk, CProxyList& list)
{
    if (pszChunk == NULL)
        return;
    const char* p = pszChunk;
    while (*p != '\0') {
        // The address: four groups joined by dots.
        const char* pStart = p;
        const char* q = p;
        const char* pFailed = NULL;
        for (int nGroup = 0; nGroup < 4; ++nGroup) {
            const int nDigits = CountDigits(q, kGroupDigits);
            if (nDigits == 0) {
                pFailed = q;
                break;
            }
            q += nDigits;
            if (nGroup < 3) {
                if (*q != '.') {
                    pFailed = q;
                    break;
                }
                ++q;
            }
        }
        if (pFailed != NULL) {
            // Go on just after the character that ended the match; the end
            // of the chunk ends the scan.
            if (*pFailed == '\0')
                return;
            p = pFailed + 1;
            continue;
        }
        const int nAddressLength = (int)(q - pStart);

        const char* pPort = NULL;
        if (*q == ':') {
            pPort = q + 1;
            if (CountDigits(pPort, kPortDigits) == 0) {
                if (*pPort == '\0')
                    return;
                p = pPort + 1;
                continue;
            }
        } else {
            if (*q == '\0')
                return;
            // Pass the next character over and take the next run of digits.
            pPort = q + 1;
            while (*pPort != '\0' && !IsDigit(*pPort))
                ++pPort;
            if (*pPort == '\0')
                return;
            const int nDigits = CountDigits(pPort, kPortDigits);
            if (pPort[nDigits] == '.') {
                // The start of another address.
                p = pPort;
                continue;
            }
        }
        const int nPortDigits = CountDigits(pPort, kPortDigits);
        AddProxy(pStart, nAddressLength, DecimalValue(pPort, nPortDigits), list);

        // Resume at the second character after the port, never past the end.
        const char* pAfter = pPort + nPortDigits;
        if (*pAfter == '\0')
            return;
        p = pAfter + 1;
    }
}
