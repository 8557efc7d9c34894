// The common open and save dialogs.
#pragma once

#include "AfxWnd.h"
#include <commdlg.h>

class CFileDialog
{
public:
    // lpszFilter: "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||" style pairs.
    explicit CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt = NULL, LPCWSTR lpszFileName = NULL,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCWSTR lpszFilter = NULL,
                         CWnd* pParentWnd = NULL);
    virtual ~CFileDialog() {}
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    // IDOK or IDCANCEL.
    virtual INT_PTR DoModal();
    CString GetPathName() const { return CString(m_szFileName); }
    CString GetFileName() const;
    CString GetFileExt() const;

    OPENFILENAMEW m_ofn;

private:
    BOOL m_bOpenFileDialog;
    CWnd* m_pParentWnd;
    CString m_strDefExt;
    std::wstring m_strFilter;  // with NUL separators
    WCHAR m_szFileName[MAX_PATH];
    WCHAR m_szFileTitle[MAX_PATH];
};
