#include "proxy/CountryTable.h"

#include "proxy/TabStdioFile.h"

#include <wchar.h>

CCountryTable::CCountryTable()
    : m_pRanges(NULL), m_nRangeCount(0), m_pCountries(NULL), m_nCountryCount(0)
{
}

CCountryTable::~CCountryTable()
{
    delete[] m_pRanges;
    delete[] m_pCountries;
}

void CCountryTable::Load(LPCTSTR pszPath)
{
    if (m_pCountries != NULL)
        return;
    // A read error ends the table where it happened, like a bad line.
    try
    {
        const UINT nLines = CountLines(pszPath);
        if (nLines > 0)
            ReadRecords(pszPath, nLines);
    }
    catch (CException* e)
    {
        e->Delete();
    }
}

UINT CCountryTable::CountLines(LPCTSTR pszPath)
{
    CStdioFile file;
    if (!file.Open(pszPath, CFile::modeRead | CFile::typeText))
        return 0;
    UINT nLines = 0;
    TCHAR szLine[TAB_LINE_SIZE];
    while (file.ReadString(szLine, TAB_LINE_SIZE) != NULL)
        ++nLines;
    return nLines;
}

void CCountryTable::ReadRecords(LPCTSTR pszPath, UINT nLines)
{
    CTabStdioFile file;
    if (!file.Open(pszPath, CFile::modeRead | CFile::typeText))
        return;
    m_pCountries = new CCountry[nLines]();

    TCHAR szCode[TAB_LINE_SIZE];
    TCHAR szName[TAB_LINE_SIZE];
    // The file may have grown since it was counted: the records reserved
    // are all that is read.
    while (m_nCountryCount < nLines
           && file.ReadField(szCode, FALSE) != NULL
           && wcslen(szCode) < COUNTRY_CODE_SIZE
           && file.ReadField(szName, TRUE) != NULL
           && wcslen(szName) < COUNTRY_NAME_SIZE)
    {
        CCountry& country = m_pCountries[m_nCountryCount++];
        wcscpy(country.m_szCode, szCode);
        wcscpy(country.m_szName, szName);
    }
}

const CCountry* CCountryTable::GetAt(int nIndex) const
{
    if (nIndex < 0 || nIndex >= GetCount())
        return NULL;
    return &m_pCountries[nIndex];
}

int CCountryTable::FindByCode(LPCTSTR pszCode) const
{
    if (pszCode == NULL || wcslen(pszCode) != 2)
        return -1;
    for (UINT i = 0; i < m_nCountryCount; ++i)
    {
        if (wcscmp(m_pCountries[i].m_szCode, pszCode) == 0)
            return (int)i;
    }
    return -1;
}

int CCountryTable::FindByAddress(const char* pszAddress) const
{
    if (m_nRangeCount == 0 || pszAddress == NULL)
        return -1;
    const unsigned long nNetwork = inet_addr(pszAddress);
    if (nNetwork == INADDR_NONE)
        return -1;
    const DWORD nAddress = ntohl(nNetwork);

    UINT nLow = 0, nHigh = m_nRangeCount;
    while (nLow < nHigh)
    {
        const UINT nMid = nLow + (nHigh - nLow) / 2;
        const CCountryRange& range = m_pRanges[nMid];
        if (nAddress < range.m_nFirst)
            nHigh = nMid;
        else if (nAddress > range.m_nLast)
            nLow = nMid + 1;
        else
            return (range.m_nCountry >= 0 && range.m_nCountry < GetCount()) ? range.m_nCountry : -1;
    }
    return -1;
}

CCountryTable& GetCountryTable()
{
    static CCountryTable table;
    static bool bLoaded = false;
    if (!bLoaded)
    {
        bLoaded = true;
        table.Load(_T("countries.crv"));
    }
    return table;
}

int FindCountryByCode(LPCTSTR pszCode)
{
    return GetCountryTable().FindByCode(pszCode);
}

int FindCountryByAddress(const char* pszAddress)
{
    return GetCountryTable().FindByAddress(pszAddress);
}

CString GetFlagPath(int nIndex)
{
    CString strPath;
    const CCountry* pCountry = GetCountryTable().GetAt(nIndex);
    if (pCountry != NULL)
        strPath.Format(_T("%s%s%s"), _T("flags\\"), pCountry->m_szCode, _T(".png"));
    return strPath;
}
