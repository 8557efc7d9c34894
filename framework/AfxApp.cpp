// The application object, its start-up and the framework's global helpers.
#include "afx.h"

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
CWinApp* s_pApp = NULL;
HINSTANCE s_hResource = NULL;
}  // namespace

CWinApp* AfxGetAppObject()
{
    return s_pApp;
}

CWinApp::CWinApp(LPCWSTR lpszAppName)
    : m_hInstance(NULL),
      m_lpCmdLine(NULL),
      m_nCmdShow(SW_SHOWNORMAL),
      m_pszAppName(NULL),
      m_pszRegistryKey(NULL),
      m_strAppName(lpszAppName ? lpszAppName : AFX_DEFAULT_APP_NAME)
{
    s_pApp = this;
    m_bAutoDelete = FALSE;
    m_nThreadID = ::GetCurrentThreadId();
    HANDLE h = NULL;
    if (::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentThread(), ::GetCurrentProcess(), &h, 0, FALSE,
                          DUPLICATE_SAME_ACCESS))
        m_hThread = h;
    m_pszAppName = m_strAppName;
}

CWinApp::~CWinApp()
{
    if (s_pApp == this)
        s_pApp = NULL;
}

BOOL CWinApp::InitApplicationInstance(HINSTANCE hInstance, LPWSTR lpCmdLine, int nCmdShow)
{
    m_hInstance = hInstance;
    m_strCmdLine = lpCmdLine;
    m_lpCmdLine = m_strCmdLine;
    m_nCmdShow = nCmdShow;
    m_nThreadID = ::GetCurrentThreadId();
    return TRUE;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}
int CWinApp::Run()
{
    return CWinThread::Run();
}
int CWinApp::ExitInstance()
{
    return (int)m_msgCur.wParam;
}

void CWinApp::SetRegistryKey(LPCWSTR lpszRegistryKey)
{
    m_strRegistryKey = lpszRegistryKey;
    m_pszRegistryKey = m_strRegistryKey;
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey)
{
    CString key;
    key.LoadString(nIDRegistryKey);
    SetRegistryKey(key);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const
{
    return ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
}

HICON CWinApp::LoadIcon(LPCWSTR lpszResourceName) const
{
    return ::LoadIconW(AfxGetResourceHandle(), lpszResourceName);
}

HICON CWinApp::LoadStandardIcon(LPCWSTR lpszIconName) const
{
    return ::LoadIconW(NULL, lpszIconName);
}

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const
{
    return ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource));
}

HCURSOR CWinApp::LoadCursor(LPCWSTR lpszResourceName) const
{
    return ::LoadCursorW(AfxGetResourceHandle(), lpszResourceName);
}

HCURSOR CWinApp::LoadStandardCursor(LPCWSTR lpszCursorName) const
{
    return ::LoadCursorW(NULL, lpszCursorName);
}

void CWinApp::OnHelp() {}

CWinAppEx::CWinAppEx(BOOL bResourceSmartUpdate)
{
    (void)bResourceSmartUpdate;
}

CWinApp* AfxGetApp()
{
    return s_pApp;
}

CWnd* AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    return pThread ? pThread->GetMainWnd() : NULL;
}

HINSTANCE AfxGetInstanceHandle()
{
    if (s_pApp && s_pApp->m_hInstance)
        return s_pApp->m_hInstance;
    return ::GetModuleHandleW(NULL);
}

HINSTANCE AfxGetResourceHandle()
{
    return s_hResource ? s_hResource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource)
{
    s_hResource = hInstResource;
}

HINSTANCE AfxFindStringResourceHandle(UINT nID)
{
    CString probe;
    HINSTANCE hRes = AfxGetResourceHandle();
    if (probe.LoadString(hRes, nID))
        return hRes;
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (hInst != hRes && probe.LoadString(hInst, nID))
        return hInst;
    return NULL;
}

int AfxLoadString(UINT nID, LPWSTR lpszBuf, UINT nMaxBuf)
{
    if (!lpszBuf || nMaxBuf == 0)
        return 0;
    CString s;
    if (!s.LoadString(nID)) {
        lpszBuf[0] = L'\0';
        return 0;
    }
    lstrcpynW(lpszBuf, s, (int)nMaxBuf);
    return lstrlenW(lpszBuf);
}

LPCWSTR AfxGetAppName()
{
    return s_pApp ? s_pApp->m_pszAppName : AFX_DEFAULT_APP_NAME;
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType, UINT nIDHelp)
{
    (void)nIDHelp;
    HWND hOwner = ::GetActiveWindow();
    if (!hOwner)
        hOwner = AfxGetWindowHandle(AfxGetMainWnd());
    if (hOwner && !::IsWindow(hOwner))
        hOwner = NULL;
    return ::MessageBoxW(hOwner, lpszText ? lpszText : L"", AfxGetAppName(), nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    text.LoadString(nIDPrompt);
    return AfxMessageBox(text, nType, nIDHelp == (UINT)-1 ? nIDPrompt : nIDHelp);
}

// Entry point of a framework program (built with -municode). It lives here so
// that linking the application object also links the entry point.
extern "C" int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow)
{
    (void)hPrevInstance;
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    int nResult = -1;
    // Nothing may unwind out of the entry point.
    try {
        pApp->InitApplicationInstance(hInstance, lpCmdLine, nCmdShow);
        if (pApp->InitInstance())
            nResult = pApp->Run();
        else
            nResult = pApp->ExitInstance();
    } catch (CException* e) {
        e->Delete();
    } catch (...) {}
    return nResult;
}
