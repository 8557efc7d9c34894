// Exceptions, thrown by pointer: throw new CFileException(...), caught as
// CException* and released with Delete().
#pragma once

#include "AfxObject.h"
#include "AfxString.h"

class CException : public CObject
{
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
    virtual ~CException() {}

    // Frees a heap exception; one that is not auto-deleted stays.
    void Delete();
    // Fills lpszError (nMaxError characters with the NUL); FALSE when there
    // is no text, leaving an empty string.
    virtual BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const;
    // Shows the message (or nMessageID's string when there is none).
    virtual int ReportError(UINT nType = MB_OK, UINT nMessageID = 0);

protected:
    BOOL m_bAutoDelete;
};

class CMemoryException : public CException
{
    DECLARE_DYNAMIC(CMemoryException)
public:
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;
};

class CResourceException : public CException
{
    DECLARE_DYNAMIC(CResourceException)
public:
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;
};

class CNotSupportedException : public CException
{
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;
};

class CInvalidArgException : public CException
{
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;
};

class CFileException : public CException
{
    DECLARE_DYNAMIC(CFileException)
public:
    enum
    {
        none,
        genericException,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile
    };

    explicit CFileException(int cause = none, LONG lOsError = -1, LPCWSTR lpszFileName = NULL);

    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

    // The cause that corresponds to a Win32 error code.
    static int OsErrorToException(LONG lOsError);
    [[noreturn]] static void ThrowOsError(LONG lOsError, LPCWSTR lpszFileName = NULL);

    int m_cause;
    LONG m_lOsError;  // Win32 error code, -1 when none
    CString m_strFileName;
};

class CInternetException : public CException
{
    DECLARE_DYNAMIC(CInternetException)
public:
    explicit CInternetException(DWORD dwError) : m_dwContext(0), m_dwError(dwError) {}

    BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, PUINT pnHelpContext = NULL) const override;

    DWORD_PTR m_dwContext;
    DWORD m_dwError;  // WinINet or Win32 error code
};

[[noreturn]] void AfxThrowMemoryException();
[[noreturn]] void AfxThrowResourceException();
[[noreturn]] void AfxThrowNotSupportedException();
[[noreturn]] void AfxThrowInvalidArgException();
[[noreturn]] void AfxThrowFileException(int cause, LONG lOsError = -1, LPCWSTR lpszFileName = NULL);
// dwError 0 takes GetLastError().
[[noreturn]] void AfxThrowInternetException(DWORD_PTR dwContext, DWORD dwError = 0);
