// Reads the version resource of a program file.
#include "net/FileVersionInfo.h"

#include <stdio.h>
#include <string.h>

#include <vector>

CFileVersionInfo::CFileVersionInfo()
{
    Reset();
}

CFileVersionInfo::~CFileVersionInfo() {}

void CFileVersionInfo::Reset()
{
    memset(&m_fileInfo, 0, sizeof(m_fileInfo));
    m_strCompanyName.Empty();
    m_strFileDescription.Empty();
    m_strFileVersion.Empty();
    m_strInternalName.Empty();
    m_strLegalCopyright.Empty();
    m_strOriginalFileName.Empty();
    m_strProductName.Empty();
    m_strProductVersion.Empty();
    m_strComments.Empty();
    m_strLegalTrademarks.Empty();
    m_strPrivateBuild.Empty();
    m_strSpecialBuild.Empty();
}

bool CFileVersionInfo::Open()
{
    WCHAR szPath[MAX_PATH];
    DWORD nLength = GetModuleFileNameW(NULL, szPath, MAX_PATH);
    if (nLength == 0 || nLength >= MAX_PATH)
        return false;
    return OpenFile(szPath);
}

bool CFileVersionInfo::FindTranslation(WORD wLanguage, const DWORD* pTable, UINT nTableSize, DWORD& dwTranslation,
                                       bool bPrimaryToo)
{
    UINT nCount = nTableSize / sizeof(DWORD);
    for (UINT i = 0; i < nCount; ++i) {
        if (LOWORD(pTable[i]) == wLanguage) {
            dwTranslation = pTable[i];
            return true;
        }
    }
    if (bPrimaryToo) {
        for (UINT i = 0; i < nCount; ++i) {
            if ((LOWORD(pTable[i]) & 0xFF) == (wLanguage & 0xFF)) {
                dwTranslation = pTable[i];
                return true;
            }
        }
    }
    return false;
}

bool CFileVersionInfo::ChooseTranslation(WORD wUserLanguage, const DWORD* pTable, UINT nTableSize, DWORD& dwTranslation)
{
    if (pTable == NULL || nTableSize < sizeof(DWORD))
        return false;
    if (FindTranslation(wUserLanguage, pTable, nTableSize, dwTranslation, false) ||
        FindTranslation(wUserLanguage, pTable, nTableSize, dwTranslation, true) ||
        FindTranslation(LANG_NEUTRAL, pTable, nTableSize, dwTranslation, true) ||
        FindTranslation(LANG_ENGLISH, pTable, nTableSize, dwTranslation, true))
        return true;
    dwTranslation = pTable[0];
    return true;
}

bool CFileVersionInfo::OpenFile(LPCWSTR pszPath)
{
    Reset();
    DWORD dwHandle = 0;
    DWORD nSize = GetFileVersionInfoSizeW(pszPath, &dwHandle);
    if (nSize == 0)
        return false;
    std::vector<BYTE> block;
    try {
        block.resize(nSize);
    } catch (...) {
        return false;
    }
    if (!GetFileVersionInfoW(pszPath, dwHandle, nSize, block.data()))
        return false;

    void* pValue = NULL;
    UINT nValueSize = 0;
    if (VerQueryValueW(block.data(), L"\\", &pValue, &nValueSize) && nValueSize == sizeof(VS_FIXEDFILEINFO))
        memcpy(&m_fileInfo, pValue, sizeof(m_fileInfo));

    // Without a translation table there is no language to read the strings in.
    DWORD* pTable = NULL;
    UINT nTableSize = 0;
    DWORD dwTranslation = 0;
    if (!VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&pTable), &nTableSize) ||
        !ChooseTranslation(GetUserDefaultLangID(), pTable, nTableSize, dwTranslation))
        return true;

    WCHAR szPrefix[40];
    swprintf(szPrefix, sizeof(szPrefix) / sizeof(szPrefix[0]), L"\\StringFileInfo\\%04X%04X\\",
             (unsigned)LOWORD(dwTranslation), (unsigned)HIWORD(dwTranslation));

    struct Key
    {
        LPCWSTR pszName;
        CString CFileVersionInfo::*pField;
    };
    static const Key keys[] = {
        { L"CompanyName", &CFileVersionInfo::m_strCompanyName },
        { L"FileDescription", &CFileVersionInfo::m_strFileDescription },
        { L"FileVersion", &CFileVersionInfo::m_strFileVersion },
        { L"InternalName", &CFileVersionInfo::m_strInternalName },
        { L"LegalCopyright", &CFileVersionInfo::m_strLegalCopyright },
        { L"OriginalFileName", &CFileVersionInfo::m_strOriginalFileName },
        { L"ProductName", &CFileVersionInfo::m_strProductName },
        { L"ProductVersion", &CFileVersionInfo::m_strProductVersion },
        { L"Comments", &CFileVersionInfo::m_strComments },
        { L"LegalTrademarks", &CFileVersionInfo::m_strLegalTrademarks },
        { L"PrivateBuild", &CFileVersionInfo::m_strPrivateBuild },
        { L"SpecialBuild", &CFileVersionInfo::m_strSpecialBuild },
    };
    for (const Key& key : keys) {
        CString strQuery = CString(szPrefix) + key.pszName;
        LPWSTR pszText = NULL;
        UINT nLength = 0;
        if (VerQueryValueW(block.data(), strQuery, reinterpret_cast<void**>(&pszText), &nLength) && pszText != NULL) {
            // The length counts the terminator when there is one.
            while (nLength > 0 && pszText[nLength - 1] == L'\0')
                --nLength;
            this->*key.pField = CString(pszText, (int)nLength);
        }
    }
    return true;
}
