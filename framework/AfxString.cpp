// The wide and 8-bit string classes and their code-page conversions.
#include "afx.h"

#include <wchar.h>
#include <string.h>
#include <stdio.h>
#include <algorithm>

namespace {

std::wstring Widen(UINT cp, LPCSTR psz, int len)
{
    std::wstring out;
    if (!psz)
        return out;
    if (len < 0)
        len = (int)strlen(psz);
    if (len == 0)
        return out;
    int n = ::MultiByteToWideChar(cp, 0, psz, len, NULL, 0);
    if (n <= 0)
        return out;
    out.resize(n);
    ::MultiByteToWideChar(cp, 0, psz, len, &out[0], n);
    return out;
}

std::string Narrow(UINT cp, LPCWSTR psz, int len)
{
    std::string out;
    if (!psz)
        return out;
    if (len < 0)
        len = (int)wcslen(psz);
    if (len == 0)
        return out;
    int n = ::WideCharToMultiByte(cp, 0, psz, len, NULL, 0, NULL, NULL);
    if (n <= 0)
        return out;
    out.resize(n);
    ::WideCharToMultiByte(cp, 0, psz, len, &out[0], n, NULL, NULL);
    return out;
}

// Clamps [nFirst, nFirst+nCount) to [0, size).
template <class S>
S SubString(const S& s, int nFirst, int nCount)
{
    int size = (int)s.size();
    if (nFirst < 0)
        nFirst = 0;
    if (nCount < 0)
        nCount = 0;
    if (nFirst >= size)
        return S();
    if (nCount > size - nFirst)
        nCount = size - nFirst;
    return s.substr(nFirst, nCount);
}

template <class S, class C>
int FindIn(const S& s, const C* sub, int nStart)
{
    if (nStart < 0 || nStart > (int)s.size() || !sub)
        return -1;
    size_t pos = s.find(sub, (size_t)nStart);
    return pos == S::npos ? -1 : (int)pos;
}

template <class S, class C>
int FindChar(const S& s, C ch, int nStart)
{
    if (nStart < 0 || nStart >= (int)s.size())
        return -1;
    size_t pos = s.find(ch, (size_t)nStart);
    return pos == S::npos ? -1 : (int)pos;
}

template <class S, class C>
int ReplaceAll(S& s, const C* pszOld, const C* pszNew)
{
    if (!pszOld || !*pszOld)
        return 0;
    S oldText(pszOld), newText(pszNew ? pszNew : S());
    int count = 0;
    size_t pos = 0;
    while ((pos = s.find(oldText, pos)) != S::npos) {
        s.replace(pos, oldText.size(), newText);
        pos += newText.size();
        ++count;
    }
    return count;
}

int Sign(int v)
{
    return v < 0 ? -1 : (v > 0 ? 1 : 0);
}

bool IsSpaceW(wchar_t c)
{
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

}  // namespace

// ---- CString ---------------------------------------------------------------

CString::CString(LPCWSTR psz) : m_str(psz ? psz : L"") {}
CString::CString(LPCWSTR pch, int nLength)
{
    if (pch && nLength > 0)
        m_str.assign(pch, nLength);
}
CString::CString(wchar_t ch, int nRepeat)
{
    if (nRepeat > 0)
        m_str.assign(nRepeat, ch);
}
CString::CString(LPCSTR psz) : m_str(Widen(CP_ACP, psz, -1)) {}
CString::CString(LPCSTR pch, int nLength) : m_str(Widen(CP_ACP, pch, nLength < 0 ? 0 : nLength)) {}
CString::CString(const CStringA& s) : m_str(Widen(CP_ACP, s.GetString(), s.GetLength())) {}

CString& CString::operator=(LPCWSTR psz)
{
    SetString(psz);
    return *this;
}
CString& CString::operator=(LPCSTR psz)
{
    m_str = Widen(CP_ACP, psz, -1);
    return *this;
}
CString& CString::operator=(wchar_t ch)
{
    m_str.assign(1, ch);
    return *this;
}
CString& CString::operator=(const CStringA& s)
{
    m_str = Widen(CP_ACP, s.GetString(), s.GetLength());
    return *this;
}

void CString::SetString(LPCWSTR psz)
{
    // psz may point into our own text.
    std::wstring tmp(psz ? psz : L"");
    m_str.swap(tmp);
}

void CString::SetString(LPCWSTR pch, int nLength)
{
    std::wstring tmp;
    if (pch && nLength > 0)
        tmp.assign(pch, nLength);
    m_str.swap(tmp);
}

wchar_t CString::GetAt(int nIndex) const
{
    return (nIndex >= 0 && nIndex < (int)m_str.size()) ? m_str[nIndex] : L'\0';
}

void CString::SetAt(int nIndex, wchar_t ch)
{
    if (nIndex >= 0 && nIndex < (int)m_str.size())
        m_str[nIndex] = ch;
}

int CString::Find(wchar_t ch, int nStart) const
{
    return FindChar(m_str, ch, nStart);
}
int CString::Find(LPCWSTR pszSub, int nStart) const
{
    return FindIn(m_str, pszSub, nStart);
}

int CString::FindOneOf(LPCWSTR pszCharSet) const
{
    if (!pszCharSet || !*pszCharSet)
        return -1;
    size_t pos = m_str.find_first_of(pszCharSet);
    return pos == std::wstring::npos ? -1 : (int)pos;
}

int CString::ReverseFind(wchar_t ch) const
{
    size_t pos = m_str.rfind(ch);
    return pos == std::wstring::npos ? -1 : (int)pos;
}

CString CString::Mid(int nFirst) const
{
    return SubString(m_str, nFirst, GetLength());
}
CString CString::Mid(int nFirst, int nCount) const
{
    return SubString(m_str, nFirst, nCount);
}
CString CString::Left(int nCount) const
{
    return SubString(m_str, 0, nCount);
}
CString CString::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount > GetLength())
        nCount = GetLength();
    return SubString(m_str, GetLength() - nCount, nCount);
}

CString CString::SpanIncluding(LPCWSTR pszCharSet) const
{
    if (!pszCharSet)
        return CString();
    size_t n = m_str.find_first_not_of(pszCharSet);
    return CString(m_str.substr(0, n));
}

CString CString::SpanExcluding(LPCWSTR pszCharSet) const
{
    if (!pszCharSet || !*pszCharSet)
        return *this;
    size_t n = m_str.find_first_of(pszCharSet);
    return CString(m_str.substr(0, n));
}

CString CString::Tokenize(LPCWSTR pszTokens, int& iStart) const
{
    if (iStart < 0 || iStart >= GetLength() || !pszTokens) {
        iStart = -1;
        return CString();
    }
    if (!*pszTokens) {
        CString rest = Mid(iStart);
        iStart = GetLength();
        return rest;
    }
    size_t b = m_str.find_first_not_of(pszTokens, iStart);
    if (b == std::wstring::npos) {
        iStart = -1;
        return CString();
    }
    size_t e = m_str.find_first_of(pszTokens, b);
    if (e == std::wstring::npos)
        e = m_str.size();
    iStart = (int)e + (e < m_str.size() ? 1 : 0);
    return CString(m_str.substr(b, e - b));
}

int CString::Replace(wchar_t chOld, wchar_t chNew)
{
    int count = 0;
    for (auto& c : m_str)
        if (c == chOld) {
            c = chNew;
            ++count;
        }
    return count;
}

int CString::Replace(LPCWSTR pszOld, LPCWSTR pszNew)
{
    return ReplaceAll(m_str, pszOld, pszNew);
}

int CString::Remove(wchar_t ch)
{
    size_t before = m_str.size();
    m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
    return (int)(before - m_str.size());
}

int CString::Insert(int nIndex, wchar_t ch)
{
    nIndex = std::max(0, std::min(nIndex, GetLength()));
    m_str.insert((size_t)nIndex, 1, ch);
    return GetLength();
}

int CString::Insert(int nIndex, LPCWSTR psz)
{
    if (psz && *psz) {
        std::wstring ins(psz);
        nIndex = std::max(0, std::min(nIndex, GetLength()));
        m_str.insert((size_t)nIndex, ins);
    }
    return GetLength();
}

int CString::Delete(int nIndex, int nCount)
{
    if (nIndex < 0)
        nIndex = 0;
    if (nIndex < GetLength() && nCount > 0)
        m_str.erase((size_t)nIndex, (size_t)std::min(nCount, GetLength() - nIndex));
    return GetLength();
}

CString& CString::TrimLeft()
{
    size_t i = 0;
    while (i < m_str.size() && IsSpaceW(m_str[i]))
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(wchar_t chTarget)
{
    size_t i = 0;
    while (i < m_str.size() && m_str[i] == chTarget)
        ++i;
    m_str.erase(0, i);
    return *this;
}

CString& CString::TrimLeft(LPCWSTR pszTargets)
{
    if (pszTargets && *pszTargets) {
        size_t i = m_str.find_first_not_of(pszTargets);
        m_str.erase(0, i == std::wstring::npos ? m_str.size() : i);
    }
    return *this;
}

CString& CString::TrimRight()
{
    size_t n = m_str.size();
    while (n > 0 && IsSpaceW(m_str[n - 1]))
        --n;
    m_str.resize(n);
    return *this;
}

CString& CString::TrimRight(wchar_t chTarget)
{
    size_t n = m_str.size();
    while (n > 0 && m_str[n - 1] == chTarget)
        --n;
    m_str.resize(n);
    return *this;
}

CString& CString::TrimRight(LPCWSTR pszTargets)
{
    if (pszTargets && *pszTargets) {
        size_t i = m_str.find_last_not_of(pszTargets);
        m_str.resize(i == std::wstring::npos ? 0 : i + 1);
    }
    return *this;
}

CString& CString::MakeLower()
{
    if (!m_str.empty())
        ::CharLowerBuffW(&m_str[0], (DWORD)m_str.size());
    return *this;
}

CString& CString::MakeUpper()
{
    if (!m_str.empty())
        ::CharUpperBuffW(&m_str[0], (DWORD)m_str.size());
    return *this;
}

CString& CString::MakeReverse()
{
    std::reverse(m_str.begin(), m_str.end());
    return *this;
}

int CString::Compare(LPCWSTR psz) const
{
    return Sign(m_str.compare(psz ? psz : L""));
}

int CString::CompareNoCase(LPCWSTR psz) const
{
    CString a(*this), b(psz);
    a.MakeUpper();
    b.MakeUpper();
    return a.Compare(b);
}

CString& CString::operator+=(LPCWSTR psz)
{
    if (psz) {
        std::wstring tmp(psz);
        m_str += tmp;
    }
    return *this;
}

CString& CString::operator+=(LPCSTR psz)
{
    m_str += Widen(CP_ACP, psz, -1);
    return *this;
}

void CString::Append(LPCWSTR pch, int nLength)
{
    if (pch && nLength > 0) {
        std::wstring tmp(pch, nLength);
        m_str += tmp;
    }
}

LPWSTR CString::GetBuffer()
{
    return GetBuffer(0);
}

LPWSTR CString::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > GetLength())
        m_str.resize((size_t)nMinBufLength, L'\0');
    return &m_str[0];
}

LPWSTR CString::GetBufferSetLength(int nNewLength)
{
    m_str.resize((size_t)std::max(0, nNewLength), L'\0');
    return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = (int)wcsnlen(m_str.c_str(), m_str.size());
    if (nNewLength < GetLength())
        m_str.resize((size_t)nNewLength);
}

BOOL CString::LoadString(UINT nID)
{
    HINSTANCE h = AfxFindStringResourceHandle(nID);
    if (!h) {
        Empty();
        return FALSE;
    }
    return LoadString(h, nID);
}

BOOL CString::LoadString(HINSTANCE hInstance, UINT nID)
{
    Empty();
    // Strings live in blocks of 16, each entry a length and that many characters.
    HRSRC hRes = ::FindResourceW(hInstance, MAKEINTRESOURCEW(nID / 16 + 1), (LPCWSTR)RT_STRING);
    if (!hRes)
        return FALSE;
    HGLOBAL hGlob = ::LoadResource(hInstance, hRes);
    const WCHAR* p = hGlob ? (const WCHAR*)::LockResource(hGlob) : NULL;
    if (!p)
        return FALSE;
    DWORD size = ::SizeofResource(hInstance, hRes) / sizeof(WCHAR);
    const WCHAR* end = p + size;
    for (UINT i = 0; i < (nID & 15); ++i) {
        if (p >= end)
            return FALSE;
        p += 1 + *p;
    }
    if (p >= end || *p == 0 || p + 1 + *p > end)
        return FALSE;
    m_str.assign(p + 1, *p);
    return TRUE;
}

void CString::FormatV(LPCWSTR pszFormat, va_list args)
{
    // The arguments may point into this very string: format into a fresh one first.
    CString result;
    result.AppendFormatV(pszFormat, args);
    *this = result;
}

void CString::AppendFormatV(LPCWSTR pszFormat, va_list args)
{
    if (!pszFormat)
        return;
    va_list copy;
    va_copy(copy, args);
    int n = _vscwprintf(pszFormat, copy);
    va_end(copy);
    if (n <= 0)
        return;
    // Growing m_str here could move text that an argument points at.
    decltype(m_str) piece((size_t)n + 1, 0);
    va_copy(copy, args);
    int written = _vsnwprintf(&piece[0], (size_t)n + 1, pszFormat, copy);
    va_end(copy);
    piece.resize(written < 0 ? 0 : std::min(written, n));
    m_str += piece;
}

void CString::FormatRaw(LPCWSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CString::AppendFormatRaw(LPCWSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

BSTR CString::AllocSysString() const
{
    return ::SysAllocStringLen(m_str.data(), (UINT)m_str.size());
}

CString operator+(const CString& a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(const CString& a, LPCWSTR b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(LPCWSTR a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(const CString& a, wchar_t b)
{
    CString r(a);
    r += b;
    return r;
}
CString operator+(wchar_t a, const CString& b)
{
    CString r(a);
    r += b;
    return r;
}

bool operator==(const CString& a, const CString& b)
{
    return a.str() == b.str();
}
bool operator==(const CString& a, LPCWSTR b)
{
    return a.Compare(b) == 0;
}
bool operator==(LPCWSTR a, const CString& b)
{
    return b.Compare(a) == 0;
}
bool operator!=(const CString& a, const CString& b)
{
    return !(a == b);
}
bool operator!=(const CString& a, LPCWSTR b)
{
    return !(a == b);
}
bool operator!=(LPCWSTR a, const CString& b)
{
    return !(a == b);
}
bool operator<(const CString& a, const CString& b)
{
    return a.str() < b.str();
}
bool operator>(const CString& a, const CString& b)
{
    return b.str() < a.str();
}
bool operator<=(const CString& a, const CString& b)
{
    return !(b.str() < a.str());
}
bool operator>=(const CString& a, const CString& b)
{
    return !(a.str() < b.str());
}

// ---- CStringA --------------------------------------------------------------

CStringA::CStringA(LPCSTR psz) : m_str(psz ? psz : "") {}
CStringA::CStringA(LPCSTR pch, int nLength)
{
    if (pch && nLength > 0)
        m_str.assign(pch, nLength);
}
CStringA::CStringA(char ch, int nRepeat)
{
    if (nRepeat > 0)
        m_str.assign(nRepeat, ch);
}
CStringA::CStringA(LPCWSTR psz) : m_str(Narrow(CP_ACP, psz, -1)) {}
CStringA::CStringA(const CString& s) : m_str(Narrow(CP_ACP, s.GetString(), s.GetLength())) {}

CStringA& CStringA::operator=(LPCSTR psz)
{
    std::string tmp(psz ? psz : "");
    m_str.swap(tmp);
    return *this;
}

CStringA& CStringA::operator=(const CString& s)
{
    m_str = Narrow(CP_ACP, s.GetString(), s.GetLength());
    return *this;
}

char CStringA::GetAt(int nIndex) const
{
    return (nIndex >= 0 && nIndex < (int)m_str.size()) ? m_str[nIndex] : '\0';
}

void CStringA::SetAt(int nIndex, char ch)
{
    if (nIndex >= 0 && nIndex < (int)m_str.size())
        m_str[nIndex] = ch;
}

int CStringA::Find(char ch, int nStart) const
{
    return FindChar(m_str, ch, nStart);
}
int CStringA::Find(LPCSTR pszSub, int nStart) const
{
    return FindIn(m_str, pszSub, nStart);
}

int CStringA::ReverseFind(char ch) const
{
    size_t pos = m_str.rfind(ch);
    return pos == std::string::npos ? -1 : (int)pos;
}

CStringA CStringA::Mid(int nFirst) const
{
    return SubString(m_str, nFirst, GetLength());
}
CStringA CStringA::Mid(int nFirst, int nCount) const
{
    return SubString(m_str, nFirst, nCount);
}
CStringA CStringA::Left(int nCount) const
{
    return SubString(m_str, 0, nCount);
}
CStringA CStringA::Right(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount > GetLength())
        nCount = GetLength();
    return SubString(m_str, GetLength() - nCount, nCount);
}

int CStringA::Replace(LPCSTR pszOld, LPCSTR pszNew)
{
    return ReplaceAll(m_str, pszOld, pszNew);
}

CStringA& CStringA::Trim()
{
    size_t b = 0, e = m_str.size();
    while (b < e && IsSpaceW((unsigned char)m_str[b]))
        ++b;
    while (e > b && IsSpaceW((unsigned char)m_str[e - 1]))
        --e;
    m_str = m_str.substr(b, e - b);
    return *this;
}

CStringA& CStringA::MakeLower()
{
    if (!m_str.empty())
        ::CharLowerBuffA(&m_str[0], (DWORD)m_str.size());
    return *this;
}

CStringA& CStringA::MakeUpper()
{
    if (!m_str.empty())
        ::CharUpperBuffA(&m_str[0], (DWORD)m_str.size());
    return *this;
}

int CStringA::Compare(LPCSTR psz) const
{
    return Sign(m_str.compare(psz ? psz : ""));
}

int CStringA::CompareNoCase(LPCSTR psz) const
{
    CStringA a(*this), b(psz);
    a.MakeUpper();
    b.MakeUpper();
    return a.Compare(b);
}

CStringA& CStringA::operator+=(LPCSTR psz)
{
    if (psz) {
        std::string tmp(psz);
        m_str += tmp;
    }
    return *this;
}

void CStringA::Append(LPCSTR pch, int nLength)
{
    if (pch && nLength > 0) {
        std::string tmp(pch, nLength);
        m_str += tmp;
    }
}

LPSTR CStringA::GetBuffer(int nMinBufLength)
{
    if (nMinBufLength > GetLength())
        m_str.resize((size_t)nMinBufLength, '\0');
    return &m_str[0];
}

LPSTR CStringA::GetBufferSetLength(int nNewLength)
{
    m_str.resize((size_t)std::max(0, nNewLength), '\0');
    return &m_str[0];
}

void CStringA::ReleaseBuffer(int nNewLength)
{
    if (nNewLength < 0)
        nNewLength = (int)strnlen(m_str.c_str(), m_str.size());
    if (nNewLength < GetLength())
        m_str.resize((size_t)nNewLength);
}

void CStringA::FormatV(LPCSTR pszFormat, va_list args)
{
    // The arguments may point into this very string: format into a fresh one first.
    CStringA result;
    result.AppendFormatV(pszFormat, args);
    *this = result;
}

void CStringA::AppendFormatV(LPCSTR pszFormat, va_list args)
{
    if (!pszFormat)
        return;
    va_list copy;
    va_copy(copy, args);
    int n = _vscprintf(pszFormat, copy);
    va_end(copy);
    if (n <= 0)
        return;
    // Growing m_str here could move text that an argument points at.
    decltype(m_str) piece((size_t)n + 1, 0);
    va_copy(copy, args);
    int written = _vsnprintf(&piece[0], (size_t)n + 1, pszFormat, copy);
    va_end(copy);
    piece.resize(written < 0 ? 0 : std::min(written, n));
    m_str += piece;
}

void CStringA::FormatRaw(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    FormatV(pszFormat, args);
    va_end(args);
}

void CStringA::AppendFormatRaw(LPCSTR pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    AppendFormatV(pszFormat, args);
    va_end(args);
}

CStringA operator+(const CStringA& a, const CStringA& b)
{
    CStringA r(a);
    r += b;
    return r;
}
CStringA operator+(const CStringA& a, LPCSTR b)
{
    CStringA r(a);
    r += b;
    return r;
}
CStringA operator+(LPCSTR a, const CStringA& b)
{
    CStringA r(a);
    r += b;
    return r;
}
bool operator==(const CStringA& a, const CStringA& b)
{
    return a.str() == b.str();
}
bool operator==(const CStringA& a, LPCSTR b)
{
    return a.Compare(b) == 0;
}
bool operator==(LPCSTR a, const CStringA& b)
{
    return b.Compare(a) == 0;
}
bool operator!=(const CStringA& a, const CStringA& b)
{
    return !(a == b);
}
bool operator!=(const CStringA& a, LPCSTR b)
{
    return !(a == b);
}
bool operator!=(LPCSTR a, const CStringA& b)
{
    return !(a == b);
}
bool operator<(const CStringA& a, const CStringA& b)
{
    return a.str() < b.str();
}

// ---- code pages ------------------------------------------------------------

CStringA WideToMultiByte(UINT nCodePage, LPCWSTR psz, int nLength)
{
    return CStringA(Narrow(nCodePage, psz, nLength));
}

CString MultiByteToWide(UINT nCodePage, LPCSTR psz, int nLength)
{
    return CString(Widen(nCodePage, psz, nLength));
}

BOOL AfxWideToMultiByteBuffer(UINT nCodePage, int nDstSize, LPCWSTR pszSrc, LPSTR pszDst)
{
    if (!pszSrc || !pszDst || nDstSize <= 0)
        return FALSE;
    int need = ::WideCharToMultiByte(nCodePage, 0, pszSrc, -1, NULL, 0, NULL, NULL);
    if (need <= 0 || need > nDstSize)
        return FALSE;
    return ::WideCharToMultiByte(nCodePage, 0, pszSrc, -1, pszDst, nDstSize, NULL, NULL) > 0;
}

BOOL AfxMultiByteToWideBuffer(UINT nCodePage, int nDstChars, LPCSTR pszSrc, LPWSTR pszDst)
{
    if (!pszSrc || !pszDst || nDstChars <= 0)
        return FALSE;
    int need = ::MultiByteToWideChar(nCodePage, 0, pszSrc, -1, NULL, 0);
    if (need <= 0 || need > nDstChars)
        return FALSE;
    return ::MultiByteToWideChar(nCodePage, 0, pszSrc, -1, pszDst, nDstChars) > 0;
}
