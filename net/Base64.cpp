// Base64 of 8-bit text for the Basic proxy authorization.
#include "net/Base64.h"

#include <string.h>

char Base64Char(int nValue)
{
    if (nValue >= 0 && nValue <= 25)
        return static_cast<char>('A' + nValue);
    if (nValue >= 26 && nValue <= 51)
        return static_cast<char>('a' + nValue - 26);
    if (nValue >= 52 && nValue <= 61)
        return static_cast<char>('0' + nValue - 52);
    if (nValue == 62)
        return '+';
    if (nValue == 63)
        return '/';
    return '=';
}

size_t Base64Length(size_t nLength)
{
    size_t nTail = nLength % 3;
    return nLength / 3 * 4 + (nTail ? nTail + 1 : 0);
}

size_t Base64PaddedLength(size_t nLength)
{
    return (nLength + 2) / 3 * 4;
}

void Base64Encode(char* out, const char* in)
{
    // Bytes, not chars: text above 0x7F must not sign-extend into the groups.
    const unsigned char* p = reinterpret_cast<const unsigned char*>(in);
    size_t nLength = strlen(in);
    size_t i = 0;
    for (; i + 3 <= nLength; i += 3) {
        unsigned int group = (p[i] << 16) | (p[i + 1] << 8) | p[i + 2];
        *out++ = Base64Char((group >> 18) & 0x3F);
        *out++ = Base64Char((group >> 12) & 0x3F);
        *out++ = Base64Char((group >> 6) & 0x3F);
        *out++ = Base64Char(group & 0x3F);
    }
    if (nLength - i == 1) {
        unsigned int group = p[i] << 16;
        *out++ = Base64Char((group >> 18) & 0x3F);
        *out++ = Base64Char((group >> 12) & 0x3F);
    } else if (nLength - i == 2) {
        unsigned int group = (p[i] << 16) | (p[i + 1] << 8);
        *out++ = Base64Char((group >> 18) & 0x3F);
        *out++ = Base64Char((group >> 12) & 0x3F);
        *out++ = Base64Char((group >> 6) & 0x3F);
    }
    *out = '\0';
}

void Base64EncodePadded(char* out, const char* in)
{
    Base64Encode(out, in);
    size_t nLength = strlen(in);
    size_t nWritten = Base64Length(nLength);
    size_t nPadded = Base64PaddedLength(nLength);
    for (size_t i = nWritten; i < nPadded; ++i)
        out[i] = '=';
    out[nPadded] = '\0';
}
