// Scanners that cut the prepared mark-up into runs, tags, attributes and
// table structure. They keep no state beyond the positions passed in, and
// every read goes through MarkupSpan, so none runs past the text.
#include "MarkupDrawer.h"

#include <wchar.h>

namespace {

int Clamp(int nPos, const MarkupSpan& text)
{
    return nPos < 0 ? 0 : (nPos > text.n ? text.n : nPos);
}

int FindChar(const MarkupSpan& text, wchar_t ch, int nFrom)
{
    for (int i = Clamp(nFrom, text); i < text.n; ++i)
        if (text.p[i] == ch)
            return i;
    return -1;
}

bool InSet(wchar_t ch, LPCWSTR pszSet)
{
    return ch != L'\0' && pszSet && wcschr(pszSet, ch) != NULL;
}

bool IsWordChar(wchar_t ch)
{
    return (ch >= L'0' && ch <= L'9') || (ch >= L'a' && ch <= L'z') || (ch >= L'A' && ch <= L'Z') || ch == L'.';
}

// First '<' followed by pszName at or after nFrom and before nLimit, or -1.
// "<<" is an escaped '<' and pairs from the left, as the run scanner reads
// it: in "<<<table" the third '<' opens a tag.
int FindTagBefore(LPCWSTR pszName, int nFrom, const MarkupSpan& text, int nLimit)
{
    int nLen = pszName ? (int)wcslen(pszName) : 0;
    if (nLimit > text.n)
        nLimit = text.n;
    for (int i = Clamp(nFrom, text); i < nLimit; ++i) {
        if (text.p[i] != L'<')
            continue;
        if (text.At(i + 1) == L'<') {
            ++i;
            continue;
        }
        if (nLen <= text.n - i - 1 && wmemcmp(text.p + i + 1, pszName, nLen) == 0)
            return i;
    }
    return -1;
}

int FindTagFrom(LPCWSTR pszName, int nFrom, const MarkupSpan& text)
{
    return FindTagBefore(pszName, nFrom, text, text.n);
}

// Skips the nested table whose "<table" is at nTable; the position after it.
int PastTable(int nTable, const MarkupSpan& text)
{
    CMarkupDrawer::FindTableEnd(nTable, text);
    return Clamp(nTable + 6, text);
}

}  // namespace

CString CMarkupDrawer::GetNextRun(MarkupSpan text, int& nPos, CString& sTag)
{
    sTag.Empty();
    nPos = Clamp(nPos, text);
    if (nPos >= text.n)
        return CString();
    int nLt = FindChar(text, L'<', nPos);
    if (nLt < 0) {
        CString sRun = text.Mid(nPos);
        nPos = text.n;
        return sRun;
    }
    CString sRun = text.Mid(nPos, nLt - nPos);
    nPos = nLt;
    if (nLt == text.n - 1 || text.At(nLt + 1) == L'<') {
        sRun += L'<';
        nPos = Clamp(nLt + 2, text);
        return sRun;
    }
    if (FindChar(text, L'>', nLt + 1) < 0) {
        // No tag can follow: the rest is plain text, with its '<' dropped
        // as single ones are, read once here rather than once per '<'.
        for (int i = nLt; i < text.n; ++i) {
            wchar_t ch = text.p[i];
            if (ch != L'<') {
                sRun += ch;
            } else if (i == text.n - 1 || text.p[i + 1] == L'<') {
                sRun += L'<';
                ++i;
            }
        }
        nPos = text.n;
        return sRun;
    }
    sTag = ReadTagText(text, nPos);
    return sRun;
}

CString CMarkupDrawer::ReadTagText(MarkupSpan text, int& nPos)
{
    nPos = Clamp(nPos, text);
    int nGt = FindChar(text, L'>', nPos);
    nPos = Clamp(nPos + 1, text);
    if (nGt > nPos) {
        CString sTag = text.Mid(nPos, nGt - nPos);
        nPos = nGt + 1;
        return sTag;
    }
    return CString();
}

void CMarkupDrawer::SplitTagName(CString& sTag, CString& sAttributes)
{
    int nPos = 0;
    if (!ScanToChars(sTag, nPos, L" =")) {
        sAttributes.Empty();
        return;
    }
    sAttributes = sTag.Mid(nPos);
    sAttributes.TrimLeft(L' ');
    sTag = sTag.Left(nPos);
}

CString CMarkupDrawer::GetNextAttribute(MarkupSpan attributes, int& nPos, CString& sName)
{
    sName.Empty();
    if (!SkipToWord(nPos, attributes))
        return CString();
    int nStart = nPos;
    ScanToChars(attributes, nPos, L" =");
    sName = attributes.Mid(nStart, nPos - nStart);
    while (attributes.At(nPos) == L' ')
        ++nPos;
    if (attributes.At(nPos) != L'=')
        return CString();
    SkipChars(attributes, L" =", nPos);
    wchar_t chQuote = attributes.At(nPos);
    int nFirst = nPos;
    int nEnd;
    if (chQuote == L'"' || chQuote == L'\'') {
        nFirst = nPos + 1;
        nEnd = FindChar(attributes, chQuote, nFirst);
    } else {
        nEnd = FindChar(attributes, L' ', nFirst);
    }
    if (nEnd < 0)
        nEnd = attributes.n;
    nPos = Clamp(nEnd + 1, attributes);
    return attributes.Mid(nFirst, nEnd - nFirst);
}

BOOL CMarkupDrawer::FindTag(LPCWSTR pszName, int& nPos, MarkupSpan text)
{
    int nFound = FindTagFrom(pszName, nPos, text);
    nPos = nFound < 0 ? text.n : nFound;
    return nFound >= 0;
}

// Searches for openings only up to the next close, so that skipping many
// tables stays linear in the text.
void CMarkupDrawer::FindTableEnd(int& nPos, MarkupSpan text)
{
    int nDepth = 1;
    int nOpenFrom = Clamp(nPos + 7, text);
    int nClose = FindTagFrom(L"/table", nOpenFrom, text);
    while (nClose >= 0) {
        int nOpen = FindTagBefore(L"table", nOpenFrom, text, nClose);
        if (nOpen >= 0) {
            ++nDepth;
            nOpenFrom = nOpen + 7;
            continue;
        }
        if (--nDepth == 0) {
            nPos = nClose;
            return;
        }
        nOpenFrom = Clamp(nClose + 8, text);
        nClose = FindTagFrom(L"/table", nOpenFrom, text);
    }
    // No matching close: the table takes the rest of the text.
    nPos = text.n;
}

// A row ends at its own "</tr": nested tables are skipped whole, so their
// rows never end it.
void CMarkupDrawer::SkipTableRow(MarkupSpan text, int& nPos)
{
    nPos = Clamp(nPos + 4, text);
    int nDepth = 1;
    while (nPos < text.n) {
        int nRowEnd = FindTagFrom(L"/tr", nPos, text);
        int nLimit = nRowEnd < 0 ? text.n : nRowEnd;
        int nTable = FindTagBefore(L"table", nPos, text, nLimit);
        int nRow = FindTagBefore(L"tr", nPos, text, nTable < 0 ? nLimit : nTable);
        if (nRow >= 0) {
            ++nDepth;
            nPos = Clamp(nRow + 4, text);
        } else if (nTable >= 0) {
            nPos = PastTable(nTable, text);
        } else if (nRowEnd >= 0) {
            if (--nDepth == 0) {
                nPos = nRowEnd;
                return;
            }
            nPos = Clamp(nRowEnd + 5, text);
        } else {
            break;
        }
    }
    nPos = text.n;
}

// A cell ends at its "</td", or at the "</tr" of its row when it was left
// open, so that it never spills into the next row.
void CMarkupDrawer::SkipTableCell(MarkupSpan text, int& nPos)
{
    nPos = Clamp(nPos + 4, text);
    while (nPos < text.n) {
        int nCellEnd = FindTagFrom(L"/td", nPos, text);
        int nRowEnd = FindTagBefore(L"/tr", nPos, text, nCellEnd < 0 ? text.n : nCellEnd);
        int nEnd = nRowEnd >= 0 ? nRowEnd : nCellEnd;
        int nTable = FindTagBefore(L"table", nPos, text, nEnd < 0 ? text.n : nEnd);
        if (nTable < 0) {
            nPos = nEnd < 0 ? text.n : nEnd;
            return;
        }
        nPos = PastTable(nTable, text);
    }
    nPos = text.n;
}

BOOL CMarkupDrawer::FindNextRow(MarkupSpan table, int& nPos)
{
    nPos = Clamp(nPos, table);
    for (;;) {
        int nRow = FindTagFrom(L"tr", nPos, table);
        int nTable = FindTagBefore(L"table", nPos, table, nRow < 0 ? table.n : nRow);
        if (nTable < 0) {
            nPos = nRow < 0 ? table.n : nRow;
            return nRow >= 0;
        }
        // A table between rows is no row of this one.
        nPos = PastTable(nTable, table);
    }
}

BOOL CMarkupDrawer::FindNextCell(MarkupSpan row, int& nPos, int nRowEnd)
{
    nPos = Clamp(nPos, row);
    for (;;) {
        int nCell = FindTagBefore(L"td", nPos, row, nRowEnd);
        int nTable = FindTagBefore(L"table", nPos, row, nCell < 0 ? nRowEnd : nCell);
        if (nTable < 0) {
            nPos = nCell < 0 ? Clamp(nRowEnd, row) : nCell;
            return nCell >= 0;
        }
        nPos = PastTable(nTable, row);
    }
}

CSize CMarkupDrawer::MeasureTableGrid(MarkupSpan table)
{
    int nCols = 0, nRows = 0;
    int nPos = 1;  // past the '<' of the table's own tag
    while (FindNextRow(table, nPos)) {
        int nRowEnd = nPos;
        SkipTableRow(table, nRowEnd);
        ++nRows;
        int nRowCols = 0;
        int nCell = nPos + 3;
        while (FindNextCell(table, nCell, nRowEnd)) {
            int nTagPos = nCell;
            CString sTag, sAttributes;
            GetNextRun(table, nTagPos, sTag);
            SplitTagName(sTag, sAttributes);
            HtmlStyle scratch;
            nRowCols += ParseTableAttributes(sAttributes, FALSE, scratch).cx;
            if (nRowCols > MARKUP_MAX_TABLE_SPAN)
                nRowCols = MARKUP_MAX_TABLE_SPAN;
            SkipTableCell(table, nCell);
            nCell = Clamp(nCell + 4, table);
        }
        if (nRowCols > nCols)
            nCols = nRowCols;
        nPos = Clamp(nRowEnd + 4, table);
    }
    return CSize(nCols, nRows);
}

BOOL CMarkupDrawer::SkipToWord(int& nPos, MarkupSpan text)
{
    nPos = Clamp(nPos, text);
    while (nPos < text.n && !IsWordChar(text.p[nPos]))
        ++nPos;
    return nPos < text.n;
}

wchar_t CMarkupDrawer::ScanToChars(MarkupSpan text, int& nPos, LPCWSTR pszSet)
{
    nPos = Clamp(nPos, text);
    for (; nPos < text.n; ++nPos)
        if (InSet(text.p[nPos], pszSet))
            return text.p[nPos];
    return L'\0';
}

wchar_t CMarkupDrawer::SkipChars(MarkupSpan text, LPCWSTR pszSet, int& nPos)
{
    nPos = Clamp(nPos, text);
    for (; nPos < text.n; ++nPos)
        if (!InSet(text.p[nPos], pszSet))
            return text.p[nPos];
    return L'\0';
}

BOOL CMarkupDrawer::SkipToColon(int& nPos, MarkupSpan text)
{
    nPos = Clamp(nPos, text);
    while (text.At(nPos) == L' ')
        ++nPos;
    if (text.At(nPos) != L':')
        return FALSE;
    ++nPos;
    return TRUE;
}

CString CMarkupDrawer::ReadPropertyValue(int& nPos, MarkupSpan text, LPCWSTR pszDelimiters)
{
    if (!SkipToColon(nPos, text))
        return CString();
    while (nPos < text.n && (text.p[nPos] == L' ' || InSet(text.p[nPos], pszDelimiters)))
        ++nPos;
    if (text.At(nPos) == L'"') {
        int nClose = FindChar(text, L'"', nPos + 1);
        if (nClose < 0) {
            nPos = text.n;
            return CString();
        }
        CString sValue = text.Mid(nPos + 1, nClose - nPos - 1);
        nPos = nClose + 1;
        return sValue;
    }
    int nStart = nPos;
    while (nPos < text.n && !InSet(text.p[nPos], pszDelimiters))
        ++nPos;
    return text.Mid(nStart, nPos - nStart);
}

int CMarkupDrawer::CountChar(MarkupSpan text, wchar_t ch)
{
    int nCount = 0;
    for (int i = 0; i < text.n; ++i)
        if (text.p[i] == ch)
            ++nCount;
    return nCount;
}
