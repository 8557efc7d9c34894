// The common open and save dialogs.
#include "afxwin.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt, LPCWSTR lpszFileName, DWORD dwFlags,
                         LPCWSTR lpszFilter, CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_pParentWnd(pParentWnd), m_strDefExt(lpszDefExt)
{
    m_szFileName[0] = 0;
    m_szFileTitle[0] = 0;
    if (lpszFileName != NULL)
        lstrcpynW(m_szFileName, lpszFileName, MAX_PATH);
    if (lpszFilter != NULL) {
        // '|' separates the pairs; the list ends with two NULs.
        m_strFilter = lpszFilter;
        for (wchar_t& ch : m_strFilter)
            if (ch == L'|')
                ch = L'\0';
        m_strFilter.push_back(L'\0');
        m_strFilter.push_back(L'\0');
    }
    m_ofn = OPENFILENAMEW();
    m_ofn.lStructSize = sizeof(m_ofn);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    m_ofn.nMaxFileTitle = MAX_PATH;
    m_ofn.Flags = dwFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    m_ofn.lpstrDefExt = m_strDefExt.IsEmpty() ? NULL : (LPCWSTR)m_strDefExt;
    m_ofn.lpstrFilter = m_strFilter.empty() ? NULL : m_strFilter.c_str();
    m_ofn.nFilterIndex = 1;
    m_ofn.hInstance = AfxGetInstanceHandle();
}

INT_PTR CFileDialog::DoModal()
{
    HWND hOwner = m_pParentWnd->GetSafeHwnd();
    if (hOwner == NULL)
        hOwner = AfxGetMainWnd()->GetSafeHwnd();
    m_ofn.hwndOwner = hOwner;
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.lpstrFileTitle = m_szFileTitle;
    BOOL ok = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
    return ok ? IDOK : IDCANCEL;
}

CString CFileDialog::GetFileName() const
{
    CString path(m_szFileName);
    int n = path.ReverseFind(L'\\');
    return n < 0 ? path : path.Mid(n + 1);
}

CString CFileDialog::GetFileExt() const
{
    CString name = GetFileName();
    int n = name.ReverseFind(L'.');
    return n < 0 ? CString() : name.Mid(n + 1);
}
