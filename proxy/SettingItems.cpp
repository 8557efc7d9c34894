// The five sections of setting.crv: each reads its lines in a fixed order,
// writes them back in that order and knows its defaults.
#include "proxy/Settings.h"

#include "proxy/CodePage.h"
#include "proxy/CountryTable.h"
#include "proxy/Decimal.h"
#include "proxy/TabStdioFile.h"

#include <stdio.h>
#include <string.h>
#include <wchar.h>

PFN_FETCH_TEST_DEFINITION g_pfnFetchTestDefinition = NULL;

namespace {
// A line of exactly two fields: the expected key, then the value. A key
// that differs is left unread.
bool ReadKeyValue(CTabStdioFile& file, LPCTSTR pszKey, LPTSTR pszValue)
{
    TCHAR szKey[TAB_LINE_SIZE];
    return file.IsNextField(pszKey) && file.ReadField(szKey, FALSE) != NULL && file.ReadField(pszValue, TRUE) != NULL;
}

bool ReadFlag(CTabStdioFile& file, LPCTSTR pszKey, bool& bValue)
{
    TCHAR szValue[TAB_LINE_SIZE];
    if (!ReadKeyValue(file, pszKey, szValue))
        return false;
    bValue = wcscmp(szValue, _T("0")) != 0;
    return true;
}

bool ReadNumber(CTabStdioFile& file, LPCTSTR pszKey, int nMin, int nMax, int& nValue)
{
    TCHAR szValue[TAB_LINE_SIZE];
    return ReadKeyValue(file, pszKey, szValue) && ParseDecimalInRange(szValue, nMin, nMax, nValue);
}

// An 8-bit text field: the value is kept when it fits nSize bytes with its
// NUL in the OEM code page; a value that does not fit leaves the field.
template <size_t N>
bool ReadText(CTabStdioFile& file, LPCTSTR pszKey, char (&szField)[N])
{
    TCHAR szValue[TAB_LINE_SIZE];
    if (!ReadKeyValue(file, pszKey, szValue))
        return false;
    char szText[N];
    if (WideToOemBuffer((int)N, szValue, szText))
        memcpy(szField, szText, N);
    return true;
}

void WriteValue(CTabStdioFile& file, LPCTSTR pszKey, LPCTSTR pszValue)
{
    file.WriteField(pszKey, FALSE);
    file.WriteField(pszValue, TRUE);
}

void WriteFlag(CTabStdioFile& file, LPCTSTR pszKey, bool bValue)
{
    WriteValue(file, pszKey, bValue ? _T("1") : _T("0"));
}

void WriteNumber(CTabStdioFile& file, LPCTSTR pszKey, int nValue)
{
    TCHAR szNumber[16];
    swprintf(szNumber, 16, L"%d", nValue);
    WriteValue(file, pszKey, szNumber);
}

void WriteText(CTabStdioFile& file, LPCTSTR pszKey, const char* pszText)
{
    WriteValue(file, pszKey, AnsiToFileText(pszText));
}

template <size_t N>
void CopyText(char (&szField)[N], const char* pszText)
{
    strncpy(szField, pszText, N - 1);
    szField[N - 1] = '\0';
}

// The adapter address is stored with each character's code raised by 20.
const int kMacShift = 20;
}  // namespace

// --- anonymity ---------------------------------------------------------------

CSettingAnonymousItem::CSettingAnonymousItem() : m_bElite(false), m_bAnonymous(false), m_bTransparent(false) {}

bool CSettingAnonymousItem::Read(CTabStdioFile& file)
{
    return ReadFlag(file, _T("Elite"), m_bElite) && ReadFlag(file, _T("Anonymous"), m_bAnonymous) &&
           ReadFlag(file, _T("Transparent"), m_bTransparent) && (m_bElite || m_bAnonymous || m_bTransparent);
}

void CSettingAnonymousItem::Write(CTabStdioFile& file)
{
    WriteFlag(file, _T("Elite"), m_bElite);
    WriteFlag(file, _T("Anonymous"), m_bAnonymous);
    WriteFlag(file, _T("Transparent"), m_bTransparent);
}

void CSettingAnonymousItem::SetDefault()
{
    m_bElite = true;
    m_bAnonymous = true;
    m_bTransparent = false;
}

// --- country -----------------------------------------------------------------

CSettingCountryItem::CSettingCountryItem() : CSettingCountryItem(GetCountryTable().GetCount()) {}

CSettingCountryItem::CSettingCountryItem(int nCount)
    : m_bAllCountries(true), m_pSelected(NULL), m_nCount(nCount > 0 ? nCount : 0)
{
    if (m_nCount > 0)
        m_pSelected = new unsigned char[m_nCount]();
}

CSettingCountryItem::~CSettingCountryItem()
{
    delete[] m_pSelected;
}

bool CSettingCountryItem::Read(CTabStdioFile& file)
{
    if (!ReadFlag(file, _T("AllCountries"), m_bAllCountries))
        return false;
    TCHAR szValue[TAB_LINE_SIZE];
    for (int i = 0; i < m_nCount; ++i) {
        if (file.ReadField(szValue, TRUE) == NULL)
            return false;
        m_pSelected[i] = wcscmp(szValue, _T("0")) != 0 ? 1 : 0;
    }
    return file.ReadField(szValue, TRUE) != NULL && wcscmp(szValue, _T("EndOfCountry")) == 0;
}

void CSettingCountryItem::Write(CTabStdioFile& file)
{
    WriteFlag(file, _T("AllCountries"), m_bAllCountries);
    for (int i = 0; i < m_nCount; ++i)
        file.WriteField(m_pSelected[i] == 1 ? _T("1") : _T("0"), TRUE);
    file.WriteField(_T("EndOfCountry"), TRUE);
}

void CSettingCountryItem::SetDefault()
{
    m_bAllCountries = true;
    if (m_nCount > 0)
        memset(m_pSelected, 0, m_nCount);
}

// --- test --------------------------------------------------------------------

CSettingTestItem::CSettingTestItem() : m_nTestType(0), m_nThreadCount(0), m_nTimeoutSeconds(0)
{
    m_szURL[0] = '\0';
    m_szCorrectValue[0] = '\0';
}

bool CSettingTestItem::Read(CTabStdioFile& file)
{
    TCHAR szValue[TAB_LINE_SIZE];
    if (!ReadKeyValue(file, _T("Test Type"), szValue))
        return false;
    if (wcscmp(szValue, _T("0")) == 0)
        m_nTestType = 0;
    else if (wcscmp(szValue, _T("1")) == 0)
        m_nTestType = 1;
    else
        m_nTestType = 2;
    if (!ReadNumber(file, _T("Test Thread Count"), 5, 30, m_nThreadCount) ||
        !ReadNumber(file, _T("Test Timeout Second"), 5, 30, m_nTimeoutSeconds))
        return false;

    if (file.IsNextField(_T("Correct Value")))
        return ReadText(file, _T("Correct Value"), m_szCorrectValue) && ReadText(file, _T("URL"), m_szURL);
    // Another key ends the section without its texts; a header or the end
    // of the file where a key is due breaks it.
    BOOL bLast = FALSE;
    return file.PeekField(bLast) && !bLast;
}

void CSettingTestItem::Write(CTabStdioFile& file)
{
    WriteValue(file, _T("Test Type"), m_nTestType == 0 ? _T("0") : m_nTestType == 1 ? _T("1") : _T("2"));
    WriteNumber(file, _T("Test Thread Count"), m_nThreadCount);
    WriteNumber(file, _T("Test Timeout Second"), m_nTimeoutSeconds);
    WriteText(file, _T("Correct Value"), m_szCorrectValue);
    WriteText(file, _T("URL"), m_szURL);
}

void CSettingTestItem::SetDefault()
{
    m_nTestType = 0;
    m_nThreadCount = 10;
    m_nTimeoutSeconds = 20;
    CStringA strReply;
    if (g_pfnFetchTestDefinition != NULL)
        g_pfnFetchTestDefinition(strReply);
    ApplyTestDefinition(strReply, (size_t)strReply.GetLength());
}

void CSettingTestItem::ApplyTestDefinition(const char* pReply, size_t nLength)
{
    // A reply of another size gives the built-in page; one of the right size
    // changes only the values it names.
    if (pReply == NULL || nLength < 8 || nLength > 49) {
        CopyText(m_szURL, DEFAULT_TEST_URL);
        CopyText(m_szCorrectValue, DEFAULT_TEST_VALUE);
        return;
    }
    const char* pEnd = pReply + nLength;
    const char* pFirst = static_cast<const char*>(memchr(pReply, '|', nLength));
    if (pFirst == NULL)
        return;
    const char* pSecond = static_cast<const char*>(memchr(pFirst + 1, '|', pEnd - pFirst - 1));
    CopyText(m_szURL, CStringA(pReply, (int)(pFirst - pReply)));
    if (pSecond != NULL)
        CopyText(m_szCorrectValue, CStringA(pFirst + 1, (int)(pSecond - pFirst - 1)));
}

void CSettingTestItem::SetCorrectValue(const char* pszValue)
{
    if (pszValue != NULL && strlen(pszValue) < sizeof(m_szCorrectValue))
        strcpy(m_szCorrectValue, pszValue);
}

// --- switch ------------------------------------------------------------------

CSettingSwitchItem::CSettingSwitchItem() : m_bFirefox(false), m_nInterval(0), m_nRatio(0) {}

bool CSettingSwitchItem::Read(CTabStdioFile& file)
{
    return ReadFlag(file, _T("Firefox"), m_bFirefox) && ReadNumber(file, _T("Ratio"), 20, 100, m_nRatio) &&
           ReadNumber(file, _T("Interval"), 4, 100, m_nInterval);
}

void CSettingSwitchItem::Write(CTabStdioFile& file)
{
    WriteFlag(file, _T("Firefox"), m_bFirefox);
    WriteNumber(file, _T("Ratio"), m_nRatio);
    WriteNumber(file, _T("Interval"), m_nInterval);
}

void CSettingSwitchItem::SetDefault()
{
    m_bFirefox = false;
    m_nInterval = 5;
    m_nRatio = 100;
}

// --- misc --------------------------------------------------------------------

CSettingMiscItem::CSettingMiscItem() : m_bReplaceByGet(true), m_bReplaceByImport(true)
{
    m_szProxyUser[0] = '\0';
    m_szMac[0] = '\0';
}

bool CSettingMiscItem::Read(CTabStdioFile& file)
{
    if (!ReadText(file, _T("ProxyUser"), m_szProxyUser) || !ReadFlag(file, _T("ReplacebyGet"), m_bReplaceByGet) ||
        !ReadFlag(file, _T("ReplacebyImport"), m_bReplaceByImport))
        return false;

    TCHAR szValue[TAB_LINE_SIZE];
    if (file.IsNextField(_T("AD")) && ReadKeyValue(file, _T("AD"), szValue)) {
        // A character that would fall to 0 or below is no stored address.
        bool bValid = true;
        for (TCHAR* p = szValue; *p != _T('\0'); ++p) {
            if (*p <= kMacShift)
                bValid = false;
            else
                *p = (TCHAR)(*p - kMacShift);
        }
        char szMac[sizeof(m_szMac)];
        if (bValid && WideToOemBuffer(sizeof(szMac), szValue, szMac))
            strcpy(m_szMac, szMac);
    }
    return true;
}

void CSettingMiscItem::Write(CTabStdioFile& file)
{
    WriteText(file, _T("ProxyUser"), m_szProxyUser);
    WriteFlag(file, _T("ReplacebyGet"), m_bReplaceByGet);
    WriteFlag(file, _T("ReplacebyImport"), m_bReplaceByImport);

    CString strMac = AnsiToFileText(m_szMac);
    CString strStored;
    for (int i = 0; i < strMac.GetLength(); ++i) {
        const TCHAR ch = strMac[i];
        // Beyond the one-byte range the file could not hold the character.
        strStored += (TCHAR)(ch + kMacShift <= 0xFF ? ch + kMacShift : _T('?'));
    }
    WriteValue(file, _T("AD"), strStored);
}

void CSettingMiscItem::SetDefault()
{
    CopyText(m_szProxyUser, DEFAULT_PROXY_USER);
    m_bReplaceByGet = true;
    m_bReplaceByImport = true;
    m_szMac[0] = '\0';
}

void CSettingMiscItem::SetMac(const char* pszMac)
{
    if (pszMac != NULL && strlen(pszMac) < sizeof(m_szMac))
        strcpy(m_szMac, pszMac);
}
