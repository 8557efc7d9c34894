// The version resource of a program file: the fixed file information and
// the twelve standard strings of one translation.
#pragma once

#include "afx.h"

class CFileVersionInfo
{
public:
    CFileVersionInfo();
    virtual ~CFileVersionInfo();
    virtual void Reset();

    // The running program's own file.
    bool Open();
    bool OpenFile(LPCWSTR pszPath);

    // First entry (language in the low word, code page in the high word) of
    // the nTableSize-byte table whose language is wLanguage; with
    // bPrimaryToo, else the first of the same primary language.
    static bool FindTranslation(WORD wLanguage, const DWORD* pTable, UINT nTableSize, DWORD& dwTranslation,
                                bool bPrimaryToo);
    // The entry whose strings are read for a user of wUserLanguage; false
    // for an empty table.
    static bool ChooseTranslation(WORD wUserLanguage, const DWORD* pTable, UINT nTableSize, DWORD& dwTranslation);

    CString GetProductVersion() const { return m_strProductVersion; }

    VS_FIXEDFILEINFO m_fileInfo;
    CString m_strCompanyName;
    CString m_strFileDescription;
    CString m_strFileVersion;
    CString m_strInternalName;
    CString m_strLegalCopyright;
    CString m_strOriginalFileName;
    CString m_strProductName;
    CString m_strProductVersion;
    CString m_strComments;
    CString m_strLegalTrademarks;
    CString m_strPrivateBuild;
    CString m_strSpecialBuild;

private:
    CFileVersionInfo(const CFileVersionInfo&) = delete;
    CFileVersionInfo& operator=(const CFileVersionInfo&) = delete;
};
