// Files on Win32 handles, and the buffered 8-bit text file.
#pragma once

#include "AfxObject.h"
#include "AfxString.h"
#include "AfxExcept.h"

class CFile : public CObject
{
    DECLARE_DYNAMIC(CFile)
public:
    enum OpenFlags
    {
        modeRead = 0x0000,
        modeWrite = 0x0001,
        modeReadWrite = 0x0002,
        shareCompat = 0x0000,
        shareExclusive = 0x0010,
        shareDenyWrite = 0x0020,
        shareDenyRead = 0x0030,
        shareDenyNone = 0x0040,
        modeNoInherit = 0x0080,
        modeCreate = 0x1000,
        modeNoTruncate = 0x2000,
        typeText = 0x4000,
        typeBinary = 0x8000
    };
    enum SeekPosition
    {
        begin = 0x0,
        current = 0x1,
        end = 0x2
    };

    static const HANDLE hFileNull;

    CFile();
    explicit CFile(HANDLE hFile);                  // attaches; the handle is not closed by us
    CFile(LPCWSTR lpszFileName, UINT nOpenFlags);  // throws CFileException
    virtual ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    // Never throws; on failure fills *pError when given.
    virtual BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);

    // Read returns the bytes read, 0 at the end; failures throw CFileException.
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual void Write(const void* lpBuf, UINT nCount);
    virtual ULONGLONG Seek(LONGLONG lOff, UINT nFrom);
    void SeekToBegin() { Seek(0, begin); }
    ULONGLONG SeekToEnd() { return Seek(0, end); }
    virtual ULONGLONG GetPosition() const;
    virtual ULONGLONG GetLength() const;
    virtual void SetLength(ULONGLONG dwNewLen);
    virtual void Flush();
    // Close throws on failure; Abort closes and never throws.
    virtual void Close();
    virtual void Abort();

    virtual CString GetFileName() const;
    virtual CString GetFilePath() const { return m_strFileName; }
    BOOL IsOpen() const { return m_hFile != hFileNull; }
    operator HANDLE() const { return m_hFile; }

    static void Rename(LPCWSTR lpszOldName, LPCWSTR lpszNewName);
    static void Remove(LPCWSTR lpszFileName);

    HANDLE m_hFile;

protected:
    [[noreturn]] void ThrowLastError() const;

    CString m_strFileName;
    BOOL m_bCloseOnDelete;
};

// Text file of 8-bit characters, one byte per character of the same code
// (ISO 8859-1), independent of the C runtime and its locale. In text mode
// CR LF and a lone LF read as '\n' and '\n' is written as CR LF; Ctrl-Z is an
// ordinary byte. typeBinary passes bytes through. A character above 255
// cannot be written: WriteString throws CFileException and writes nothing.
class CStdioFile : public CFile
{
    DECLARE_DYNAMIC(CStdioFile)
public:
    CStdioFile();
    CStdioFile(LPCWSTR lpszFileName, UINT nOpenFlags);  // throws CFileException
    ~CStdioFile() override;

    BOOL Open(LPCWSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL) override;

    // At most nMax-1 characters, up to and including '\n'; a longer line
    // comes in pieces. NULL at the end of the file, the buffer untouched.
    virtual LPWSTR ReadString(LPWSTR lpsz, UINT nMax);
    // The next line without its line end; FALSE at the end of the file.
    virtual BOOL ReadString(CString& rString);
    virtual void WriteString(LPCWSTR lpsz);

    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG dwNewLen) override;
    void Flush() override;
    void Close() override;
    void Abort() override;

private:
    enum
    {
        kBufSize = 4096
    };

    int GetByte();  // next raw byte, -1 at the end
    int PeekByte();
    int GetChar();  // next character after line-end translation
    void PutRaw(const BYTE* p, UINT n);
    void FlushWrite();
    void DropReadBuffer();  // gives unread bytes back to the file
    void ResetBuffers();

    BYTE m_rbuf[kBufSize];
    UINT m_rpos = 0, m_rlen = 0;
    BYTE m_wbuf[kBufSize];
    UINT m_wlen = 0;
    bool m_bText = true;
};
