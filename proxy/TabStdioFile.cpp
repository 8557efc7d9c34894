// The TAB-separated text file under the settings, country and proxy list files.
#include "proxy/TabStdioFile.h"

#include <string.h>
#include <wchar.h>

CTabStdioFile::CTabStdioFile() : m_nFieldCount(0), m_nCurField(0)
{
    memset(m_szFields, 0, sizeof(m_szFields));
    m_szLine[0] = _T('\0');
}

bool IsFieldControl(TCHAR ch)
{
    return static_cast<unsigned>(ch) < 0x20u || ch == 0x7F;
}

BOOL CTabStdioFile::ReadLine()
{
    TCHAR szText[TAB_LINE_SIZE];
    if (ReadString(szText, TAB_LINE_SIZE) == NULL)
        return FALSE;
    szText[TAB_LINE_MAX] = _T('\0');

    UINT nFields = 0;
    const TCHAR* pStart = szText;
    const TCHAR* p = szText;
    bool bRestIgnored = false;
    for (; *p != _T('\0') && *p != _T('\n'); ++p) {
        if (*p != _T('\t'))
            continue;
        const size_t nLength = p - pStart;
        memcpy(m_szFields[nFields], pStart, nLength * sizeof(TCHAR));
        m_szFields[nFields][nLength] = _T('\0');
        pStart = p + 1;
        if (++nFields == TAB_MAX_FIELDS) {
            bRestIgnored = true;
            break;
        }
    }
    if (!bRestIgnored) {
        const size_t nLength = p - pStart;
        memcpy(m_szFields[nFields], pStart, nLength * sizeof(TCHAR));
        m_szFields[nFields][nLength] = _T('\0');
        ++nFields;
    }
    m_nFieldCount = nFields;
    m_nCurField = 0;
    return TRUE;
}

BOOL CTabStdioFile::HasUnreadField()
{
    if (m_nCurField < m_nFieldCount)
        return TRUE;
    return ReadLine();
}

LPCTSTR CTabStdioFile::ReadField(LPTSTR pszBuffer, BOOL bLast)
{
    if (!HasUnreadField())
        return NULL;
    const BOOL bIsLast = (m_nCurField + 1 == m_nFieldCount);
    if (bIsLast != (bLast ? TRUE : FALSE))
        return NULL;
    wcscpy(pszBuffer, m_szFields[m_nCurField]);
    ++m_nCurField;
    return pszBuffer;
}

BOOL CTabStdioFile::IsNextField(LPCTSTR pszText)
{
    if (!HasUnreadField())
        return FALSE;
    return wcscmp(m_szFields[m_nCurField], pszText) == 0;
}

BOOL CTabStdioFile::PeekField(BOOL& bLast)
{
    if (!HasUnreadField())
        return FALSE;
    bLast = (m_nCurField + 1 == m_nFieldCount);
    return TRUE;
}

void CTabStdioFile::WriteField(LPCTSTR pszText, BOOL bEndOfLine)
{
    size_t nCurrent = wcslen(m_szLine);
    size_t nText = wcslen(pszText);
    if (nCurrent + nText + 1 >= TAB_LINE_SIZE) {
        if (!bEndOfLine)
            return;
        // The line is ended all the same, so the lines after it stay on
        // lines of their own: the field keeps what fits, and when nothing
        // fits the last separator becomes the line end.
        if (nCurrent + 1 < TAB_LINE_SIZE)
            nText = TAB_LINE_SIZE - 2 - nCurrent;
        else {
            nText = 0;
            --nCurrent;
        }
    }
    // A TAB, CR, LF or other control character inside a field would split
    // or end its line (Ctrl+Z even ends a text file): a space takes its place.
    for (size_t i = 0; i < nText; ++i)
        m_szLine[nCurrent + i] = IsFieldControl(pszText[i]) ? _T(' ') : pszText[i];
    nCurrent += nText;
    m_szLine[nCurrent++] = bEndOfLine ? _T('\n') : _T('\t');
    m_szLine[nCurrent] = _T('\0');
    if (!bEndOfLine)
        return;

    TCHAR szOut[TAB_LINE_SIZE];
    wcscpy(szOut, m_szLine);
    m_szLine[0] = _T('\0');
    WriteString(szOut);
}
