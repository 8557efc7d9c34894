// Value parsers of the style properties and attributes: sizes with units,
// colours and the keyword values.
#include "MarkupDrawer.h"

#include <limits.h>
#include <stdlib.h>
#include <wchar.h>
#include <wctype.h>

namespace {

int Saturate(long long n)
{
    return n > INT_MAX ? INT_MAX : (n < INT_MIN ? INT_MIN : (int)n);
}

// a * b / c rounded half away from zero, as MulDiv does, but saturated
// instead of failing on overflow.
int MulDivSat(int a, int b, int c)
{
    if (c == 0)
        return -1;
    long long p = (long long)a * b;
    long long q = p / c;
    long long r = p % c;
    if (2 * (r < 0 ? -r : r) >= (c < 0 ? -(long long)c : c))
        q += ((p < 0) != (c < 0)) ? -1 : 1;
    return Saturate(q);
}

// Decimal digits from nPos on, saturated; 0 when there are none.
int DecimalDigits(const CString& s, int nPos)
{
    long long n = 0;
    for (wchar_t ch = s.GetAt(nPos); ch >= L'0' && ch <= L'9'; ch = s.GetAt(++nPos))
        if (n <= INT_MAX)
            n = n * 10 + (ch - L'0');
    return Saturate(n);
}

// The value without its leading blanks and signs: a size never takes a
// sign, in whatever form it is written.
CString Unsigned(const CString& s)
{
    int i = 0;
    while (i < s.GetLength() && (iswspace(s.GetAt(i)) || s.GetAt(i) == L'+' || s.GetAt(i) == L'-'))
        ++i;
    return s.Mid(i);
}

// wcstoul with base 0 (decimal, 0x hexadecimal, 0 octal), saturated.
int UnsignedNumber(const CString& s)
{
    unsigned long long n = wcstoull(s.GetString(), NULL, 0);
    return n > (unsigned long long)INT_MAX ? INT_MAX : (int)n;
}

}  // namespace

int CMarkupDrawer::ParseSize(int nCurrent, const CString& sValue, BOOL bScale)
{
    MarkupUnits units = { 0, 0, m_tm.tmHeight };
    if (m_hDC) {
        units.nPixelsPerInch = ::GetDeviceCaps(m_hDC, LOGPIXELSY);
        if (sValue.Right(2) == L"ex") {
            SIZE size = { 0, 0 };
            if (::GetTextExtentPoint32W(m_hDC, L"x", 1, &size))
                units.nExHeight = size.cy;
        }
    }
    return ParseSizeIn(nCurrent, sValue, bScale, units);
}

int CMarkupDrawer::ParseSizeIn(int nCurrent, const CString& sValue, BOOL bScale, const MarkupUnits& units)
{
    if (sValue.IsEmpty())
        return nCurrent;
    CString sSize = Unsigned(sValue);
    if (sValue.GetAt(sValue.GetLength() - 1) == L'%')
        return MulDivSat(nCurrent, DecimalDigits(sSize, 0), 100);

    int n = DecimalDigits(sSize, 0);
    CString sUnit = sSize.GetLength() > 1 ? sSize.Right(2) : CString();
    if (sUnit == L"px")
        return n;
    if (sUnit == L"ex")
        return Saturate((long long)n * units.nExHeight);
    if (sUnit == L"em")
        return Saturate((long long)n * units.nEmHeight);
    long long d = (long long)n * units.nPixelsPerInch;
    if (sUnit == L"in")
        return Saturate(d);
    if (sUnit == L"cm")
        return Saturate((long long)(d / 2.54));
    if (sUnit == L"mm")
        return Saturate((long long)(d / 25.4));
    if (sUnit == L"pt")
        return Saturate(d / 72);
    if (sUnit == L"pc")
        return Saturate(d / 6);

    n = UnsignedNumber(sSize);
    if (bScale && n >= 1 && n <= 7) {
        static const int s_fontSizes[] = { 8, 10, 12, 14, 18, 24, 36 };
        return s_fontSizes[n - 1];
    }
    return n;
}

COLORREF CMarkupDrawer::ParseColor(COLORREF crCurrent, const CString& sValue) const
{
    if (sValue.IsEmpty())
        return crCurrent;
    wchar_t ch = sValue.GetAt(0);
    if (ch == L'#') {
        if (sValue.GetLength() != 7)
            return crCurrent;
        // #rrggbb read as the number 0xbbggrr: bad digits end the number.
        CString sNumber = L"0x" + sValue.Mid(5, 2) + sValue.Mid(3, 2) + sValue.Mid(1, 2);
        return (COLORREF)(wcstoul(sNumber.GetString(), NULL, 0) & 0x00FFFFFF);
    }
    if (ch >= L'0' && ch <= L'9') {
        // A number past 0xFFFFFF would set the flag byte of a COLORREF.
        return (COLORREF)(wcstoull(sValue.GetString(), NULL, 0) & 0x00FFFFFF);
    }
    return GetColorByName(sValue, crCurrent);
}

int CMarkupDrawer::ParseFontStyle(const CString& sValue, int nCurrent)
{
    if (sValue.IsEmpty() || sValue == L"normal")
        return FALSE;
    if (sValue == L"italic" || sValue == L"oblique")
        return TRUE;
    return nCurrent;
}

int CMarkupDrawer::ParseFontWeight(const CString& sValue, int nCurrent)
{
    UNUSED_ALWAYS(nCurrent);
    if (sValue.IsEmpty() || sValue == L"normal")
        return FW_NORMAL;
    if (sValue == L"bold")
        return FW_BOLD;
    if (sValue == L"bolder")
        return FW_HEAVY;
    if (sValue == L"lighter")
        return FW_THIN;
    int i = 0;
    while (iswspace(sValue.GetAt(i)))
        ++i;
    bool bNegative = sValue.GetAt(i) == L'-';
    if (bNegative || sValue.GetAt(i) == L'+')
        ++i;
    int n = DecimalDigits(sValue, i);
    return bNegative ? -n : n;
}

int CMarkupDrawer::ParseTextAlign(const CString& sValue, int nCurrent)
{
    if (sValue.IsEmpty() || sValue == L"left")
        return 0;
    if (sValue == L"center")
        return 1;
    if (sValue == L"right")
        return 2;
    return nCurrent;
}

int CMarkupDrawer::ParseVerticalAlign(const CString& sValue, int nCurrent)
{
    if (sValue.IsEmpty() || sValue == L"baseline")
        return 3;
    if (sValue == L"middle" || sValue == L"vcenter")
        return 1;
    if (sValue == L"top")
        return 0;
    if (sValue == L"bottom")
        return 2;
    return nCurrent;
}

int CMarkupDrawer::ParseTextTransform(const CString& sValue, int nCurrent)
{
    if (sValue.IsEmpty() || sValue == L"none")
        return 0;
    if (sValue == L"uppercase")
        return 1;
    if (sValue == L"lowercase")
        return 2;
    if (sValue == L"capitalize")
        return 3;
    return nCurrent;
}

int CMarkupDrawer::ParseBorderStyle(const CString& sValue, int nCurrent)
{
    if (sValue.IsEmpty() || sValue == L"none")
        return 0;
    if (sValue == L"solid")
        return 1;
    if (sValue == L"dashed")
        return 2;
    if (sValue == L"dotted")
        return 3;
    if (sValue == L"double")
        return 6;
    return nCurrent;
}

int CMarkupDrawer::ParseBorderWidth(const CString& sValue, int nCurrent)
{
    if (sValue == L"thin")
        return MulDivSat(75, nCurrent, 100);
    if (sValue == L"thick")
        return MulDivSat(125, nCurrent, 100);
    if (sValue == L"medium")
        return nCurrent;
    return ParseSize(nCurrent, sValue, FALSE);
}

void CMarkupDrawer::ParseTextDecoration(const CString& sValue, HtmlStyle& style)
{
    CString sText = sValue.IsEmpty() ? CString(L"none") : sValue;
    MarkupSpan text(sText);
    int nPos = 0;
    while (SkipToWord(nPos, text)) {
        int nStart = nPos;
        ScanToChars(text, nPos, L" ,");
        CString sWord = text.Mid(nStart, nPos - nStart);
        if (sWord == L"none") {
            style.m_bUnderline = style.m_bStrikeOut = style.m_bOverline = FALSE;
        } else if (sWord == L"underline") {
            style.m_bUnderline = TRUE;
        } else if (sWord == L"line-through") {
            style.m_bStrikeOut = TRUE;
        } else if (sWord == L"overline") {
            style.m_bOverline = TRUE;
        }
    }
}
