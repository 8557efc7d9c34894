// The country table: countries.crv in the current directory, one country a
// line (two-letter code, TAB, name). A country is its line position; the
// flag of country i is flags\XX.png, XX its code.
#pragma once

#include "afx.h"

#define COUNTRY_CODE_SIZE 3
#define COUNTRY_NAME_SIZE 64

struct CCountry
{
    TCHAR m_szCode[COUNTRY_CODE_SIZE];
    TCHAR m_szName[COUNTRY_NAME_SIZE];
};

// One address range with its country; bounds inclusive, host byte order.
struct CCountryRange
{
    DWORD m_nFirst;
    DWORD m_nLast;
    int m_nCountry;
};

class CCountryTable
{
public:
    CCountryTable();
    ~CCountryTable();

    // Loads the table from pszPath once; a missing file leaves it empty.
    void Load(LPCTSTR pszPath);

    int GetCount() const { return (int)m_nCountryCount; }
    // The record of nIndex, or NULL when nIndex names no country.
    const CCountry* GetAt(int nIndex) const;

    int FindByCode(LPCTSTR pszCode) const;
    int FindByAddress(const char* pszAddress) const;

    // Loads the address ranges from pszPath once, after the countries: a
    // line holds the first and the last address (dotted, inclusive) and a
    // country code, TAB-separated, in ascending order without overlaps. A
    // missing file, or one with any line out of shape or out of order,
    // leaves the table without ranges. False then.
    bool LoadRanges(LPCTSTR pszPath);

    CCountryRange* m_pRanges;  // sorted, disjoint; NULL when none
    UINT m_nRangeCount;
    CCountry* m_pCountries;
    UINT m_nCountryCount;

private:
    static UINT CountLines(LPCTSTR pszPath);
    void ReadRecords(LPCTSTR pszPath, UINT nLines);

    CCountryTable(const CCountryTable&) = delete;
    CCountryTable& operator=(const CCountryTable&) = delete;
};

// The address ranges beside countries.crv, IPv4 only.
#define COUNTRY_RANGES_FILE _T("countryranges.crv")

// A dotted address of four decimal groups 0..255 in host byte order; false
// for anything else.
bool ParseDottedAddress(const char* pszAddress, DWORD& nAddress);
bool ParseDottedAddress(LPCWSTR pszAddress, DWORD& nAddress);

// The process's table, loaded from countries.crv and countryranges.crv on
// the first call.
CCountryTable& GetCountryTable();

// Index of the country with exactly this two-letter code, or -1.
int FindCountryByCode(LPCTSTR pszCode);

// Country of a dotted address, or -1 when not known.
int FindCountryByAddress(const char* pszAddress);

// "flags\XX.png" for the country of nIndex (relative to the current
// directory); empty when nIndex names no country.
CString GetFlagPath(int nIndex);
