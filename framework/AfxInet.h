// Internet sessions, HTTP connections and HTTP request files over WinINet.
// Every failure throws CInternetException; every object closes its handle
// when it is destroyed, so a thrown exception leaks nothing.
#pragma once

#include "AfxFile.h"

#include <wininet.h>

class CHttpConnection;
class CHttpFile;

class CInternetSession : public CObject
{
    DECLARE_DYNAMIC(CInternetSession)
public:
    // Opens the session (InternetOpen); throws when that fails.
    CInternetSession(LPCWSTR pstrAgent = NULL, DWORD_PTR dwContext = 1,
                     DWORD dwAccessType = INTERNET_OPEN_TYPE_PRECONFIG, LPCWSTR pstrProxyName = NULL,
                     LPCWSTR pstrProxyBypass = NULL, DWORD dwFlags = 0);
    ~CInternetSession() override;
    CInternetSession(const CInternetSession&) = delete;
    CInternetSession& operator=(const CInternetSession&) = delete;

    // A new connection the caller deletes; throws when it cannot be made.
    CHttpConnection* GetHttpConnection(LPCWSTR pstrServer, INTERNET_PORT nPort = INTERNET_INVALID_PORT_NUMBER,
                                       LPCWSTR pstrUserName = NULL, LPCWSTR pstrPassword = NULL);

    BOOL SetOption(DWORD dwOption, DWORD dwValue);
    virtual void Close();

    DWORD_PTR GetContext() const { return m_dwContext; }
    operator HINTERNET() const { return m_hSession; }

protected:
    HINTERNET m_hSession;
    DWORD_PTR m_dwContext;
};

class CInternetConnection : public CObject
{
    DECLARE_DYNAMIC(CInternetConnection)
public:
    ~CInternetConnection() override;
    CInternetConnection(const CInternetConnection&) = delete;
    CInternetConnection& operator=(const CInternetConnection&) = delete;

    virtual void Close();
    DWORD_PTR GetContext() const { return m_dwContext; }
    CInternetSession* GetSession() const { return m_pSession; }
    operator HINTERNET() const { return m_hConnection; }

protected:
    CInternetConnection(CInternetSession* pSession, LPCWSTR pstrServer, INTERNET_PORT nPort, DWORD dwService,
                        LPCWSTR pstrUserName, LPCWSTR pstrPassword, DWORD_PTR dwContext);

    HINTERNET m_hConnection;
    CInternetSession* m_pSession;
    DWORD_PTR m_dwContext;
    CString m_strServer;
};

class CHttpConnection : public CInternetConnection
{
    DECLARE_DYNAMIC(CHttpConnection)
public:
    enum
    {
        HTTP_VERB_POST = 0,
        HTTP_VERB_GET = 1,
        HTTP_VERB_HEAD = 2
    };

    CHttpConnection(CInternetSession* pSession, LPCWSTR pstrServer, INTERNET_PORT nPort, LPCWSTR pstrUserName = NULL,
                    LPCWSTR pstrPassword = NULL, DWORD_PTR dwContext = 1);

    // A new request file the caller deletes; throws when it cannot be made.
    CHttpFile* OpenRequest(int nVerb, LPCWSTR pstrObjectName, LPCWSTR pstrReferer = NULL, DWORD_PTR dwContext = 1,
                           LPCWSTR* ppstrAcceptTypes = NULL, LPCWSTR pstrVersion = NULL,
                           DWORD dwFlags = INTERNET_FLAG_EXISTING_CONNECT);
};

// The data of one request. Only reading is supported: a write, a seek or a
// length query throws CNotSupportedException.
class CInternetFile : public CFile
{
    DECLARE_DYNAMIC(CInternetFile)
public:
    ~CInternetFile() override;

    // Bytes read, 0 at the end of the data; throws on a failed read.
    UINT Read(void* lpBuf, UINT nCount) override;
    void Write(const void* lpBuf, UINT nCount) override;
    ULONGLONG Seek(LONGLONG lOff, UINT nFrom) override;
    ULONGLONG GetPosition() const override;
    ULONGLONG GetLength() const override;
    void SetLength(ULONGLONG dwNewLen) override;
    void Flush() override;
    void Close() override;
    void Abort() override;

    BOOL SetOption(DWORD dwOption, DWORD dwValue);

    DWORD_PTR GetContext() const { return m_dwContext; }
    operator HINTERNET() const { return m_hRequest; }

protected:
    CInternetFile(HINTERNET hRequest, DWORD_PTR dwContext);

    HINTERNET m_hRequest;
    DWORD_PTR m_dwContext;
};

class CHttpFile : public CInternetFile
{
    DECLARE_DYNAMIC(CHttpFile)
public:
    CHttpFile(HINTERNET hRequest, DWORD_PTR dwContext);

    // Sends the request; throws when it cannot be sent or no answer comes.
    BOOL SendRequest(LPCWSTR pstrHeaders = NULL, DWORD dwHeadersLength = 0, LPVOID lpOptional = NULL,
                     DWORD dwOptionalLength = 0);
    // The answer's status code; FALSE when there is none.
    BOOL QueryInfoStatusCode(DWORD& dwStatusCode) const;
};
