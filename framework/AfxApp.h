// The application object and the framework's global helpers.
#pragma once

#include "AfxThread.h"
#include "AfxString.h"

// Default caption of the framework's message boxes and default application name.
#define AFX_DEFAULT_APP_NAME L"Corvane Tessaly"

class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    // There is one application object, built by static initialisation.
    explicit CWinApp(LPCWSTR lpszAppName = NULL);
    virtual ~CWinApp();

    BOOL InitInstance() override;
    int Run() override;
    int ExitInstance() override;

    // Only stores the key: nothing reads or writes profile values.
    void SetRegistryKey(LPCWSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);

    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCWSTR lpszResourceName) const;
    HICON LoadStandardIcon(LPCWSTR lpszIconName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadCursor(LPCWSTR lpszResourceName) const;
    HCURSOR LoadStandardCursor(LPCWSTR lpszCursorName) const;

    // The standard help command: there is no help file, so nothing happens.
    afx_msg void OnHelp();

    // Called by the entry point before InitInstance.
    BOOL InitApplicationInstance(HINSTANCE hInstance, LPWSTR lpCmdLine, int nCmdShow);

    HINSTANCE m_hInstance;
    LPCWSTR m_lpCmdLine;
    int m_nCmdShow;
    LPCWSTR m_pszAppName;
    LPCWSTR m_pszRegistryKey;

private:
    CString m_strAppName;
    CString m_strRegistryKey;
    CString m_strCmdLine;
};

// The same application class under its extended name.
class CWinAppEx : public CWinApp
{
public:
    explicit CWinAppEx(BOOL bResourceSmartUpdate = FALSE);
};

// NULL in programs without an application object (the tests).
CWinApp* AfxGetApp();
// The calling thread's main window: its thread object's m_pMainWnd.
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
void AfxSetResourceHandle(HINSTANCE hInstResource);
// The module holding string nID, NULL when no module has it.
HINSTANCE AfxFindStringResourceHandle(UINT nID);
// Copies string nID into lpszBuf (nMaxBuf characters with the NUL); returns
// its length, 0 when missing.
int AfxLoadString(UINT nID, LPWSTR lpszBuf, UINT nMaxBuf = 256);
// The application name, the default caption of message boxes.
LPCWSTR AfxGetAppName();

// Shown on the thread's active window (else the main window) with the
// framework's default caption.
int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
