// The framework's exception classes and their messages.
#include "afx.h"

#include <wchar.h>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)
IMPLEMENT_DYNAMIC(CResourceException, CException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CException)
IMPLEMENT_DYNAMIC(CFileException, CException)
IMPLEMENT_DYNAMIC(CInternetException, CException)

namespace {

BOOL CopyMessage(const CString& text, LPWSTR lpszError, UINT nMaxError)
{
    if (!lpszError || nMaxError == 0)
        return FALSE;
    lstrcpynW(lpszError, text, (int)nMaxError);
    return !text.IsEmpty();
}

// The system's text for an error code, without its trailing line end.
CString SystemMessage(DWORD dwError, HMODULE hModule = NULL)
{
    LPWSTR p = NULL;
    DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                  (hModule ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM);
    DWORD n = ::FormatMessageW(flags, hModule, dwError, 0, (LPWSTR)&p, 0, NULL);
    CString text;
    if (n && p)
        text = p;
    if (p)
        ::LocalFree(p);
    text.TrimRight();
    return text;
}

LPCWSTR FileCauseText(int cause)
{
    switch (cause) {
    case CFileException::fileNotFound: return L"The file was not found.";
    case CFileException::badPath: return L"The path is not valid.";
    case CFileException::tooManyOpenFiles: return L"Too many files are open.";
    case CFileException::accessDenied: return L"Access to the file was denied.";
    case CFileException::invalidFile: return L"The file handle is not valid.";
    case CFileException::removeCurrentDir: return L"The current directory cannot be removed.";
    case CFileException::directoryFull: return L"The directory is full.";
    case CFileException::badSeek: return L"The file position could not be set.";
    case CFileException::hardIO: return L"A hardware error occurred.";
    case CFileException::sharingViolation: return L"The file is in use.";
    case CFileException::lockViolation: return L"The file region is locked.";
    case CFileException::diskFull: return L"The disk is full.";
    case CFileException::endOfFile: return L"The end of the file was reached.";
    case CFileException::none: return L"";
    default: return L"A file error occurred.";
    }
}

}  // namespace

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    return CopyMessage(CString(), lpszError, nMaxError);
}

int CException::ReportError(UINT nType, UINT nMessageID)
{
    WCHAR text[512];
    if (GetErrorMessage(text, 512))
        return AfxMessageBox(text, nType);
    if (nMessageID)
        return AfxMessageBox(nMessageID, nType);
    return AfxMessageBox(L"An unexpected error occurred.", nType);
}

BOOL CMemoryException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    return CopyMessage(L"Out of memory.", lpszError, nMaxError);
}

BOOL CResourceException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    return CopyMessage(L"A required resource was unavailable.", lpszError, nMaxError);
}

BOOL CNotSupportedException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    return CopyMessage(L"The operation is not supported.", lpszError, nMaxError);
}

BOOL CInvalidArgException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    return CopyMessage(L"An invalid argument was encountered.", lpszError, nMaxError);
}

CFileException::CFileException(int cause, LONG lOsError, LPCWSTR lpszFileName)
    : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszFileName)
{}

BOOL CFileException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    CString text;
    if (m_lOsError > 0)
        text = SystemMessage((DWORD)m_lOsError);
    if (text.IsEmpty())
        text = FileCauseText(m_cause);
    if (!text.IsEmpty() && !m_strFileName.IsEmpty())
        text = m_strFileName + L": " + text;
    return CopyMessage(text, lpszError, nMaxError);
}

int CFileException::OsErrorToException(LONG lOsError)
{
    switch (lOsError) {
    case NO_ERROR: return none;
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_CRC:
    case ERROR_SECTOR_NOT_FOUND:
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return genericException;
    }
}

void CFileException::ThrowOsError(LONG lOsError, LPCWSTR lpszFileName)
{
    AfxThrowFileException(OsErrorToException(lOsError), lOsError, lpszFileName);
}

BOOL CInternetException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext) const
{
    if (pnHelpContext)
        *pnHelpContext = 0;
    CString text;
    if (HMODULE hWinInet = ::GetModuleHandleW(L"wininet.dll"))
        text = SystemMessage(m_dwError, hWinInet);
    if (text.IsEmpty())
        text = SystemMessage(m_dwError);
    if (text.IsEmpty())
        text.Format(L"Internet error %lu.", (unsigned long)m_dwError);
    return CopyMessage(text, lpszError, nMaxError);
}

void AfxThrowMemoryException()
{
    throw new CMemoryException;
}
void AfxThrowResourceException()
{
    throw new CResourceException;
}
void AfxThrowNotSupportedException()
{
    throw new CNotSupportedException;
}
void AfxThrowInvalidArgException()
{
    throw new CInvalidArgException;
}

void AfxThrowFileException(int cause, LONG lOsError, LPCWSTR lpszFileName)
{
    throw new CFileException(cause, lOsError, lpszFileName);
}

void AfxThrowInternetException(DWORD_PTR dwContext, DWORD dwError)
{
    if (dwError == 0)
        dwError = ::GetLastError();
    CInternetException* e = new CInternetException(dwError);
    e->m_dwContext = dwContext;
    throw e;
}
