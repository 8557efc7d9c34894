// CString (wide text, value semantics), CStringA (8-bit text) and explicit
// code-page conversions.
#pragma once

#include <windows.h>
#include <oleauto.h>
#include <stdarg.h>
#include <string>

class CString;
class CStringA;

namespace afx_detail {
// Turns the arguments of Format into what a printf-style list can carry.
template <typename T>
inline const T& FormatArg(const T& v)
{
    return v;
}
inline LPCWSTR FormatArg(const CString& s);
inline LPCSTR FormatArg(const CStringA& s);
}  // namespace afx_detail

class CString
{
public:
    CString() {}
    CString(const CString&) = default;
    CString(CString&&) noexcept = default;
    CString(LPCWSTR psz);  // NULL gives an empty string
    CString(LPCWSTR pch, int nLength);
    CString(wchar_t ch, int nRepeat = 1);
    CString(LPCSTR psz);  // through the ANSI code page
    CString(LPCSTR pch, int nLength);
    CString(const CStringA& s);  // through the ANSI code page
    CString(const std::wstring& s) : m_str(s) {}

    CString& operator=(const CString&) = default;
    CString& operator=(CString&&) noexcept = default;
    CString& operator=(LPCWSTR psz);
    CString& operator=(LPCSTR psz);
    CString& operator=(wchar_t ch);
    CString& operator=(const CStringA& s);

    int GetLength() const { return (int)m_str.size(); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }

    // Out of range reads give 0 and writes are ignored.
    wchar_t GetAt(int nIndex) const;
    wchar_t operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, wchar_t ch);

    operator LPCWSTR() const { return m_str.c_str(); }
    LPCWSTR GetString() const { return m_str.c_str(); }
    const std::wstring& str() const { return m_str; }
    void SetString(LPCWSTR psz);
    void SetString(LPCWSTR pch, int nLength);

    // Searching: -1 when absent or when nStart is out of range.
    int Find(wchar_t ch, int nStart = 0) const;
    int Find(LPCWSTR pszSub, int nStart = 0) const;
    int FindOneOf(LPCWSTR pszCharSet) const;
    int ReverseFind(wchar_t ch) const;

    // Extraction, clamped to the string: never a fault.
    CString Mid(int nFirst) const;
    CString Mid(int nFirst, int nCount) const;
    CString Left(int nCount) const;
    CString Right(int nCount) const;
    CString SpanIncluding(LPCWSTR pszCharSet) const;
    CString SpanExcluding(LPCWSTR pszCharSet) const;
    // Next token from iStart on; iStart becomes -1 when none is left.
    CString Tokenize(LPCWSTR pszTokens, int& iStart) const;

    // Editing; counts or new lengths are returned as the usual way.
    int Replace(wchar_t chOld, wchar_t chNew);
    int Replace(LPCWSTR pszOld, LPCWSTR pszNew);
    int Remove(wchar_t ch);
    int Insert(int nIndex, wchar_t ch);
    int Insert(int nIndex, LPCWSTR psz);
    int Delete(int nIndex, int nCount = 1);
    CString& TrimLeft();
    CString& TrimLeft(wchar_t chTarget);
    CString& TrimLeft(LPCWSTR pszTargets);
    CString& TrimRight();
    CString& TrimRight(wchar_t chTarget);
    CString& TrimRight(LPCWSTR pszTargets);
    CString& Trim()
    {
        TrimRight();
        return TrimLeft();
    }
    CString& Trim(wchar_t ch)
    {
        TrimRight(ch);
        return TrimLeft(ch);
    }
    CString& Trim(LPCWSTR psz)
    {
        TrimRight(psz);
        return TrimLeft(psz);
    }
    CString& MakeLower();
    CString& MakeUpper();
    CString& MakeReverse();

    // Ordinal comparisons: <0, 0, >0.
    int Compare(LPCWSTR psz) const;
    int CompareNoCase(LPCWSTR psz) const;

    CString& operator+=(const CString& s)
    {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(LPCWSTR psz);
    CString& operator+=(LPCSTR psz);
    CString& operator+=(wchar_t ch)
    {
        m_str += ch;
        return *this;
    }
    void Append(LPCWSTR psz) { *this += psz; }
    void Append(LPCWSTR pch, int nLength);
    void AppendChar(wchar_t ch) { m_str += ch; }

    // Direct buffer access: the buffer holds at least nMinBufLength characters
    // plus a NUL; ReleaseBuffer(-1) takes the length up to the first NUL.
    LPWSTR GetBuffer();
    LPWSTR GetBuffer(int nMinBufLength);
    LPWSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);
    void ReleaseBufferSetLength(int nNewLength) { ReleaseBuffer(nNewLength); }

    // The string resource with that id; FALSE (and empty) when missing.
    BOOL LoadString(UINT nID);
    BOOL LoadString(HINSTANCE hInstance, UINT nID);

    // printf formatting of the C runtime: %s is a wide string; CString and
    // CStringA arguments are passed as their text.
    template <typename... Args>
    void Format(LPCWSTR pszFormat, const Args&... args)
    {
        FormatRaw(pszFormat, afx_detail::FormatArg(args)...);
    }
    template <typename... Args>
    void Format(UINT nFormatID, const Args&... args)
    {
        CString fmt;
        fmt.LoadString(nFormatID);
        FormatRaw(fmt.GetString(), afx_detail::FormatArg(args)...);
    }
    template <typename... Args>
    void AppendFormat(LPCWSTR pszFormat, const Args&... args)
    {
        AppendFormatRaw(pszFormat, afx_detail::FormatArg(args)...);
    }
    void FormatV(LPCWSTR pszFormat, va_list args);
    void AppendFormatV(LPCWSTR pszFormat, va_list args);

    BSTR AllocSysString() const;

private:
    void FormatRaw(LPCWSTR pszFormat, ...);
    void AppendFormatRaw(LPCWSTR pszFormat, ...);

    std::wstring m_str;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, LPCWSTR b);
CString operator+(LPCWSTR a, const CString& b);
CString operator+(const CString& a, wchar_t b);
CString operator+(wchar_t a, const CString& b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, LPCWSTR b);
bool operator==(LPCWSTR a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, LPCWSTR b);
bool operator!=(LPCWSTR a, const CString& b);
// Code-unit order, so ordered maps keyed by CString sort as expected.
bool operator<(const CString& a, const CString& b);
bool operator>(const CString& a, const CString& b);
bool operator<=(const CString& a, const CString& b);
bool operator>=(const CString& a, const CString& b);

// 8-bit text: server requests and replies, proxy addresses.
class CStringA
{
public:
    CStringA() {}
    CStringA(const CStringA&) = default;
    CStringA(CStringA&&) noexcept = default;
    CStringA(LPCSTR psz);  // NULL gives an empty string
    CStringA(LPCSTR pch, int nLength);
    CStringA(char ch, int nRepeat = 1);
    CStringA(LPCWSTR psz);       // through the ANSI code page
    CStringA(const CString& s);  // through the ANSI code page
    CStringA(const std::string& s) : m_str(s) {}

    CStringA& operator=(const CStringA&) = default;
    CStringA& operator=(CStringA&&) noexcept = default;
    CStringA& operator=(LPCSTR psz);
    CStringA& operator=(const CString& s);

    int GetLength() const { return (int)m_str.size(); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int nIndex) const;
    char operator[](int nIndex) const { return GetAt(nIndex); }
    void SetAt(int nIndex, char ch);

    operator LPCSTR() const { return m_str.c_str(); }
    LPCSTR GetString() const { return m_str.c_str(); }
    LPCSTR c_str() const { return m_str.c_str(); }
    const std::string& str() const { return m_str; }

    int Find(char ch, int nStart = 0) const;
    int Find(LPCSTR pszSub, int nStart = 0) const;
    int ReverseFind(char ch) const;
    CStringA Mid(int nFirst) const;
    CStringA Mid(int nFirst, int nCount) const;
    CStringA Left(int nCount) const;
    CStringA Right(int nCount) const;
    int Replace(LPCSTR pszOld, LPCSTR pszNew);
    CStringA& Trim();
    CStringA& MakeLower();
    CStringA& MakeUpper();
    int Compare(LPCSTR psz) const;
    int CompareNoCase(LPCSTR psz) const;

    CStringA& operator+=(const CStringA& s)
    {
        m_str += s.m_str;
        return *this;
    }
    CStringA& operator+=(LPCSTR psz);
    CStringA& operator+=(char ch)
    {
        m_str += ch;
        return *this;
    }
    void Append(LPCSTR pch, int nLength);

    LPSTR GetBuffer(int nMinBufLength);
    LPSTR GetBufferSetLength(int nNewLength);
    void ReleaseBuffer(int nNewLength = -1);

    // printf formatting: %s is a char string.
    template <typename... Args>
    void Format(LPCSTR pszFormat, const Args&... args)
    {
        FormatRaw(pszFormat, afx_detail::FormatArg(args)...);
    }
    template <typename... Args>
    void AppendFormat(LPCSTR pszFormat, const Args&... args)
    {
        AppendFormatRaw(pszFormat, afx_detail::FormatArg(args)...);
    }
    void FormatV(LPCSTR pszFormat, va_list args);
    void AppendFormatV(LPCSTR pszFormat, va_list args);

private:
    void FormatRaw(LPCSTR pszFormat, ...);
    void AppendFormatRaw(LPCSTR pszFormat, ...);

    std::string m_str;
};

CStringA operator+(const CStringA& a, const CStringA& b);
CStringA operator+(const CStringA& a, LPCSTR b);
CStringA operator+(LPCSTR a, const CStringA& b);
bool operator==(const CStringA& a, const CStringA& b);
bool operator==(const CStringA& a, LPCSTR b);
bool operator==(LPCSTR a, const CStringA& b);
bool operator!=(const CStringA& a, const CStringA& b);
bool operator!=(const CStringA& a, LPCSTR b);
bool operator!=(LPCSTR a, const CStringA& b);
bool operator<(const CStringA& a, const CStringA& b);

namespace afx_detail {
inline LPCWSTR FormatArg(const CString& s)
{
    return s.GetString();
}
inline LPCSTR FormatArg(const CStringA& s)
{
    return s.GetString();
}
}  // namespace afx_detail

// Code-page conversions. Characters the code page lacks become its default
// character. nLength -1 means up to the NUL.
CStringA WideToMultiByte(UINT nCodePage, LPCWSTR psz, int nLength = -1);
CString MultiByteToWide(UINT nCodePage, LPCSTR psz, int nLength = -1);
inline CStringA WideToAnsi(LPCWSTR psz)
{
    return WideToMultiByte(CP_ACP, psz);
}
inline CStringA WideToOem(LPCWSTR psz)
{
    return WideToMultiByte(CP_OEMCP, psz);
}
inline CString AnsiToWide(LPCSTR psz)
{
    return MultiByteToWide(CP_ACP, psz);
}
inline CString OemToWide(LPCSTR psz)
{
    return MultiByteToWide(CP_OEMCP, psz);
}

// Converts into a fixed 8-bit buffer of nDstSize bytes. When the text with its
// NUL needs more, returns FALSE and leaves the buffer alone; otherwise
// returns whether the conversion succeeded.
BOOL AfxWideToMultiByteBuffer(UINT nCodePage, int nDstSize, LPCWSTR pszSrc, LPSTR pszDst);
// Converts into a fixed wide buffer of nDstChars characters (NUL included),
// with the same rule.
BOOL AfxMultiByteToWideBuffer(UINT nCodePage, int nDstChars, LPCSTR pszSrc, LPWSTR pszDst);
