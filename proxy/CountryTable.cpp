// The country table of countries.crv and the address ranges of countryranges.crv.
#include "proxy/CountryTable.h"

#include "proxy/TabStdioFile.h"

#include <wchar.h>

#include <algorithm>
#include <vector>

CCountryTable::CCountryTable() : m_pRanges(NULL), m_nRangeCount(0), m_pCountries(NULL), m_nCountryCount(0) {}

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
    try {
        const UINT nLines = CountLines(pszPath);
        if (nLines > 0)
            ReadRecords(pszPath, nLines);
    } catch (CException* e) {
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
    while (m_nCountryCount < nLines && file.ReadField(szCode, FALSE) != NULL && wcslen(szCode) < COUNTRY_CODE_SIZE &&
           file.ReadField(szName, TRUE) != NULL && wcslen(szName) < COUNTRY_NAME_SIZE) {
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
    for (UINT i = 0; i < m_nCountryCount; ++i) {
        if (wcscmp(m_pCountries[i].m_szCode, pszCode) == 0)
            return (int)i;
    }
    return -1;
}

int CCountryTable::FindByAddress(const char* pszAddress) const
{
    if (m_nRangeCount == 0 || pszAddress == NULL)
        return -1;
    DWORD nAddress = 0;
    if (!ParseDottedAddress(pszAddress, nAddress) || nAddress == 0xFFFFFFFFu)
        return -1;

    UINT nLow = 0, nHigh = m_nRangeCount;
    while (nLow < nHigh) {
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

namespace {
template <typename CHAR>
bool ParseDotted(const CHAR* p, DWORD& nAddress)
{
    if (p == NULL)
        return false;
    DWORD nValue = 0;
    for (int nGroup = 0; nGroup < 4; ++nGroup) {
        if (nGroup > 0 && *p++ != '.')
            return false;
        int nDigits = 0;
        UINT nPart = 0;
        // Decimal always: a leading zero is not an octal mark here.
        while (nDigits < 3 && *p >= '0' && *p <= '9') {
            nPart = nPart * 10 + (UINT)(*p++ - '0');
            ++nDigits;
        }
        if (nDigits == 0 || nPart > 255)
            return false;
        nValue = (nValue << 8) | nPart;
    }
    if (*p != '\0')
        return false;
    nAddress = nValue;
    return true;
}

// Country index of each two-letter code of capitals, -1 for the others.
class CCodeIndex
{
public:
    explicit CCodeIndex(const CCountryTable& table)
    {
        for (int& n : m_index)
            n = -1;
        // The lower index wins for a code that appears twice.
        for (int i = table.GetCount() - 1; i >= 0; --i) {
            const int nSlot = Slot(table.GetAt(i)->m_szCode);
            if (nSlot >= 0)
                m_index[nSlot] = i;
        }
    }
    int Find(LPCTSTR pszCode) const
    {
        const int nSlot = Slot(pszCode);
        return nSlot >= 0 ? m_index[nSlot] : -1;
    }

private:
    static int Slot(LPCTSTR pszCode)
    {
        if (pszCode[0] < L'A' || pszCode[0] > L'Z' || pszCode[1] < L'A' || pszCode[1] > L'Z' || pszCode[2] != L'\0')
            return -1;
        return (pszCode[0] - L'A') * 26 + (pszCode[1] - L'A');
    }
    int m_index[26 * 26];
};
}  // namespace

bool ParseDottedAddress(const char* pszAddress, DWORD& nAddress)
{
    return ParseDotted(pszAddress, nAddress);
}

bool ParseDottedAddress(LPCWSTR pszAddress, DWORD& nAddress)
{
    return ParseDotted(pszAddress, nAddress);
}

bool CCountryTable::LoadRanges(LPCTSTR pszPath)
{
    if (m_pRanges != NULL)
        return true;
    CTabStdioFile file;
    if (!file.Open(pszPath, CFile::modeRead | CFile::typeText))
        return false;
    const CCodeIndex codes(*this);
    std::vector<CCountryRange> ranges;
    try {
        TCHAR szFirst[TAB_LINE_SIZE];
        TCHAR szLast[TAB_LINE_SIZE];
        TCHAR szCode[TAB_LINE_SIZE];
        BOOL bLast = FALSE;
        while (file.PeekField(bLast)) {
            CCountryRange range;
            if (file.ReadField(szFirst, FALSE) == NULL || file.ReadField(szLast, FALSE) == NULL ||
                file.ReadField(szCode, TRUE) == NULL || !ParseDottedAddress(szFirst, range.m_nFirst) ||
                !ParseDottedAddress(szLast, range.m_nLast) || range.m_nFirst > range.m_nLast ||
                (!ranges.empty() && range.m_nFirst <= ranges.back().m_nLast))
                return false;
            range.m_nCountry = codes.Find(szCode);
            ranges.push_back(range);
        }
    } catch (CException* e) {
        e->Delete();
        return false;
    }
    if (ranges.empty())
        return false;
    m_pRanges = new CCountryRange[ranges.size()];
    std::copy(ranges.begin(), ranges.end(), m_pRanges);
    m_nRangeCount = (UINT)ranges.size();
    return true;
}

CCountryTable& GetCountryTable()
{
    static CCountryTable table;
    static bool bLoaded = false;
    if (!bLoaded) {
        bLoaded = true;
        table.Load(_T("countries.crv"));
        table.LoadRanges(COUNTRY_RANGES_FILE);
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
