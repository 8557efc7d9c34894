// Reads and writes the decimal numbers of user input and text files.
#include "proxy/Decimal.h"

#include <limits.h>

namespace {
template <typename CHAR>
int ParseDecimalT(const CHAR* p)
{
    if (p == nullptr)
        return 0;
    while (*p == ' ' || *p == '\t' || *p == '\n' || *p == '\r' || *p == '\v' || *p == '\f')
        ++p;
    bool bNegative = false;
    if (*p == '+' || *p == '-')
        bNegative = (*p++ == '-');
    long long nValue = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        nValue = nValue * 10 + (*p - '0');
        if (nValue > (long long)INT_MAX + 1)
            nValue = (long long)INT_MAX + 1;  // stays saturated
    }
    if (bNegative)
        return nValue > (long long)INT_MAX ? INT_MIN : (int)-nValue;
    return nValue > INT_MAX ? INT_MAX : (int)nValue;
}
}  // namespace

int ParseDecimal(const wchar_t* pszText)
{
    return ParseDecimalT(pszText);
}

int ParseDecimal(const char* pszText)
{
    return ParseDecimalT(pszText);
}

bool ParseDecimalInRange(const wchar_t* pszText, int nMin, int nMax, int& nValue)
{
    const int n = ParseDecimal(pszText);
    if (n < nMin || n > nMax)
        return false;
    nValue = n;
    return true;
}
