// Files on Win32 handles and the buffered 8-bit text file.
#include "afx.h"

#include <string.h>

IMPLEMENT_DYNAMIC(CFile, CObject)
IMPLEMENT_DYNAMIC(CStdioFile, CFile)

const HANDLE CFile::hFileNull = INVALID_HANDLE_VALUE;

// ---- CFile -----------------------------------------------------------------

CFile::CFile() : m_hFile(hFileNull), m_bCloseOnDelete(FALSE) {}

CFile::CFile(HANDLE hFile) : m_hFile(hFile), m_bCloseOnDelete(FALSE) {}

CFile::CFile(LPCWSTR lpszFileName, UINT nOpenFlags) : m_hFile(hFileNull), m_bCloseOnDelete(FALSE)
{
    CFileException e;
    if (!CFile::Open(lpszFileName, nOpenFlags, &e))
        throw new CFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CFile::~CFile()
{
    if (m_hFile != hFileNull && m_bCloseOnDelete)
        CFile::Abort();
}

BOOL CFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_hFile != hFileNull)
        Abort();
    m_strFileName = lpszFileName;

    DWORD access;
    switch (nOpenFlags & 3) {
    case modeRead: access = GENERIC_READ; break;
    case modeWrite: access = GENERIC_WRITE; break;
    case modeReadWrite: access = GENERIC_READ | GENERIC_WRITE; break;
    default:
        if (pError) {
            pError->m_cause = CFileException::genericException;
            pError->m_lOsError = ERROR_INVALID_PARAMETER;
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }

    DWORD share;
    switch (nOpenFlags & 0x70) {
    case shareExclusive: share = 0; break;
    case shareDenyRead: share = FILE_SHARE_WRITE; break;
    case shareDenyNone: share = FILE_SHARE_READ | FILE_SHARE_WRITE; break;
    case shareDenyWrite:
    default: share = FILE_SHARE_READ; break;
    }

    DWORD creation = OPEN_EXISTING;
    if (nOpenFlags & modeCreate)
        creation = (nOpenFlags & modeNoTruncate) ? OPEN_ALWAYS : CREATE_ALWAYS;

    SECURITY_ATTRIBUTES sa = { sizeof(sa), NULL, (nOpenFlags & modeNoInherit) ? FALSE : TRUE };
    HANDLE h = lpszFileName ? ::CreateFileW(lpszFileName, access, share, &sa, creation, FILE_ATTRIBUTE_NORMAL, NULL)
                            : INVALID_HANDLE_VALUE;
    if (h == INVALID_HANDLE_VALUE) {
        DWORD err = lpszFileName ? ::GetLastError() : ERROR_INVALID_NAME;
        if (pError) {
            pError->m_cause = CFileException::OsErrorToException((LONG)err);
            pError->m_lOsError = (LONG)err;
            pError->m_strFileName = lpszFileName;
        }
        return FALSE;
    }
    m_hFile = h;
    m_bCloseOnDelete = TRUE;
    return TRUE;
}

void CFile::ThrowLastError() const
{
    CFileException::ThrowOsError((LONG)::GetLastError(), m_strFileName);
}

UINT CFile::Read(void* lpBuf, UINT nCount)
{
    if (nCount == 0)
        return 0;
    DWORD got = 0;
    if (!::ReadFile(m_hFile, lpBuf, nCount, &got, NULL)) {
        DWORD err = ::GetLastError();
        if (err == ERROR_HANDLE_EOF || err == ERROR_BROKEN_PIPE)
            return 0;
        CFileException::ThrowOsError((LONG)err, m_strFileName);
    }
    return got;
}

void CFile::Write(const void* lpBuf, UINT nCount)
{
    const BYTE* p = (const BYTE*)lpBuf;
    while (nCount > 0) {
        DWORD put = 0;
        if (!::WriteFile(m_hFile, p, nCount, &put, NULL))
            ThrowLastError();
        if (put == 0)
            AfxThrowFileException(CFileException::diskFull, ERROR_DISK_FULL, m_strFileName);
        p += put;
        nCount -= put;
    }
}

ULONGLONG CFile::Seek(LONGLONG lOff, UINT nFrom)
{
    DWORD method = nFrom == begin ? FILE_BEGIN : nFrom == end ? FILE_END : FILE_CURRENT;
    LARGE_INTEGER li, pos;
    li.QuadPart = lOff;
    if (!::SetFilePointerEx(m_hFile, li, &pos, method))
        ThrowLastError();
    return (ULONGLONG)pos.QuadPart;
}

ULONGLONG CFile::GetPosition() const
{
    LARGE_INTEGER zero, pos;
    zero.QuadPart = 0;
    if (!::SetFilePointerEx(m_hFile, zero, &pos, FILE_CURRENT))
        ThrowLastError();
    return (ULONGLONG)pos.QuadPart;
}

ULONGLONG CFile::GetLength() const
{
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(m_hFile, &size))
        ThrowLastError();
    return (ULONGLONG)size.QuadPart;
}

void CFile::SetLength(ULONGLONG dwNewLen)
{
    CFile::Seek((LONGLONG)dwNewLen, begin);
    if (!::SetEndOfFile(m_hFile))
        ThrowLastError();
}

void CFile::Flush()
{
    if (m_hFile == hFileNull)
        return;
    // A handle opened for reading only has nothing to flush.
    if (!::FlushFileBuffers(m_hFile) && ::GetLastError() != ERROR_ACCESS_DENIED)
        ThrowLastError();
}

void CFile::Close()
{
    if (m_hFile == hFileNull)
        return;
    HANDLE h = m_hFile;
    m_hFile = hFileNull;
    BOOL owned = m_bCloseOnDelete;
    m_bCloseOnDelete = FALSE;
    if (owned && !::CloseHandle(h))
        ThrowLastError();
}

void CFile::Abort()
{
    if (m_hFile == hFileNull)
        return;
    if (m_bCloseOnDelete)
        ::CloseHandle(m_hFile);
    m_hFile = hFileNull;
    m_bCloseOnDelete = FALSE;
}

CString CFile::GetFileName() const
{
    int last = -1;
    for (int k = 0; k < m_strFileName.GetLength(); ++k)
        if (m_strFileName[k] == L'\\' || m_strFileName[k] == L'/')
            last = k;
    return m_strFileName.Mid(last + 1);
}

void CFile::Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName)
{
    if (!::MoveFileW(lpszOldName, lpszNewName))
        CFileException::ThrowOsError((LONG)::GetLastError(), lpszOldName);
}

void CFile::Remove(LPCWSTR lpszFileName)
{
    if (!::DeleteFileW(lpszFileName))
        CFileException::ThrowOsError((LONG)::GetLastError(), lpszFileName);
}

// ---- CStdioFile ------------------------------------------------------------

CStdioFile::CStdioFile() {}

CStdioFile::CStdioFile(LPCWSTR lpszFileName, UINT nOpenFlags)
{
    CFileException e;
    if (!CStdioFile::Open(lpszFileName, nOpenFlags, &e))
        throw new CFileException(e.m_cause, e.m_lOsError, e.m_strFileName);
}

CStdioFile::~CStdioFile()
{
    if (m_hFile != hFileNull)
        CStdioFile::Abort();
}

BOOL CStdioFile::Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError)
{
    if (m_hFile != hFileNull)
        CStdioFile::Abort();
    ResetBuffers();
    m_bText = (nOpenFlags & typeBinary) == 0;
    return CFile::Open(lpszFileName, nOpenFlags & ~(UINT)(typeText | typeBinary), pError);
}

void CStdioFile::ResetBuffers()
{
    m_rpos = m_rlen = 0;
    m_wlen = 0;
}

int CStdioFile::GetByte()
{
    int b = PeekByte();
    if (b >= 0)
        ++m_rpos;
    return b;
}

int CStdioFile::PeekByte()
{
    if (m_wlen)
        FlushWrite();
    if (m_rpos == m_rlen) {
        m_rpos = 0;
        m_rlen = 0;
        m_rlen = CFile::Read(m_rbuf, kBufSize);
        if (m_rlen == 0)
            return -1;
    }
    return m_rbuf[m_rpos];
}

int CStdioFile::GetChar()
{
    int b = GetByte();
    if (b == '\r' && m_bText && PeekByte() == '\n')
        return GetByte();
    return b;
}

void CStdioFile::DropReadBuffer()
{
    UINT unread = m_rlen - m_rpos;
    m_rpos = m_rlen = 0;
    if (unread)
        CFile::Seek(-(LONGLONG)unread, current);
}

void CStdioFile::FlushWrite()
{
    if (!m_wlen)
        return;
    UINT n = m_wlen;
    m_wlen = 0;
    CFile::Write(m_wbuf, n);
}

void CStdioFile::PutRaw(const BYTE* p, UINT n)
{
    if (m_rlen)
        DropReadBuffer();
    while (n > 0) {
        UINT room = kBufSize - m_wlen;
        UINT take = n < room ? n : room;
        memcpy(m_wbuf + m_wlen, p, take);
        m_wlen += take;
        p += take;
        n -= take;
        if (m_wlen == kBufSize)
            FlushWrite();
    }
}

LPWSTR CStdioFile::ReadString(LPWSTR lpsz, UINT nMax)
{
    if (!lpsz || nMax == 0)
        return NULL;
    if (nMax == 1) {
        if (PeekByte() < 0)
            return NULL;
        lpsz[0] = L'\0';
        return lpsz;
    }
    UINT n = 0;
    while (n < nMax - 1) {
        int c = GetChar();
        if (c < 0)
            break;
        lpsz[n++] = (WCHAR)c;
        if (c == '\n')
            break;
    }
    if (n == 0)
        return NULL;
    lpsz[n] = L'\0';
    return lpsz;
}

BOOL CStdioFile::ReadString(CString& rString)
{
    std::wstring line;
    bool any = false;
    for (;;) {
        int c = GetChar();
        if (c < 0)
            break;
        any = true;
        if (c == '\n')
            break;
        line += (wchar_t)c;
    }
    rString = CString(line);
    return any;
}

void CStdioFile::WriteString(LPCWSTR lpsz)
{
    if (!lpsz)
        AfxThrowInvalidArgException();
    // One byte per character: refuse the whole text rather than write part of it.
    for (LPCWSTR p = lpsz; *p; ++p)
        if (*p > 0xFF)
            AfxThrowFileException(CFileException::genericException, ERROR_NO_UNICODE_TRANSLATION, m_strFileName);
    BYTE chunk[512];
    UINT n = 0;
    for (LPCWSTR p = lpsz; *p; ++p) {
        if (n + 2 > sizeof(chunk)) {
            PutRaw(chunk, n);
            n = 0;
        }
        if (*p == L'\n' && m_bText)
            chunk[n++] = '\r';
        chunk[n++] = (BYTE)*p;
    }
    PutRaw(chunk, n);
}

UINT CStdioFile::Read(void* lpBuf, UINT nCount)
{
    BYTE* out = (BYTE*)lpBuf;
    UINT n = 0;
    if (m_bText) {
        while (n < nCount) {
            int c = GetChar();
            if (c < 0)
                break;
            out[n++] = (BYTE)c;
        }
        return n;
    }
    while (n < nCount) {
        if (PeekByte() < 0)
            break;
        UINT avail = m_rlen - m_rpos;
        UINT take = (nCount - n) < avail ? (nCount - n) : avail;
        memcpy(out + n, m_rbuf + m_rpos, take);
        m_rpos += take;
        n += take;
    }
    return n;
}

void CStdioFile::Write(const void* lpBuf, UINT nCount)
{
    const BYTE* p = (const BYTE*)lpBuf;
    if (!m_bText) {
        PutRaw(p, nCount);
        return;
    }
    UINT start = 0;
    for (UINT i = 0; i < nCount; ++i) {
        if (p[i] == '\n') {
            PutRaw(p + start, i - start);
            PutRaw((const BYTE*)"\r\n", 2);
            start = i + 1;
        }
    }
    PutRaw(p + start, nCount - start);
}

ULONGLONG CStdioFile::Seek(LONGLONG lOff, UINT nFrom)
{
    FlushWrite();
    if (nFrom == current)
        lOff -= (LONGLONG)(m_rlen - m_rpos);
    m_rpos = m_rlen = 0;
    return CFile::Seek(lOff, nFrom);
}

ULONGLONG CStdioFile::GetPosition() const
{
    return CFile::GetPosition() - (m_rlen - m_rpos) + m_wlen;
}

ULONGLONG CStdioFile::GetLength() const
{
    const_cast<CStdioFile*>(this)->FlushWrite();
    return CFile::GetLength();
}

void CStdioFile::SetLength(ULONGLONG dwNewLen)
{
    FlushWrite();
    m_rpos = m_rlen = 0;
    CFile::SetLength(dwNewLen);
}

void CStdioFile::Flush()
{
    FlushWrite();
}

void CStdioFile::Close()
{
    if (m_hFile == hFileNull)
        return;
    try {
        FlushWrite();
    } catch (...) {
        CStdioFile::Abort();
        throw;
    }
    ResetBuffers();
    CFile::Close();
}

void CStdioFile::Abort()
{
    if (m_hFile != hFileNull) {
        try {
            FlushWrite();
        } catch (CException* e) {
            e->Delete();
        } catch (...) {}
    }
    ResetBuffers();
    CFile::Abort();
}
