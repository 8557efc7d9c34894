// Worker threads and user-interface threads with their message loops.
#include "afx.h"

#include <process.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {
// The framework thread object of the calling thread.
thread_local CWinThread* t_pCurrentThread = NULL;
}  // namespace

// The application object, kept by the application module.
CWinApp* AfxGetAppObject();

CWinThread* AfxGetThread()
{
    if (t_pCurrentThread)
        return t_pCurrentThread;
    CWinApp* pApp = AfxGetAppObject();
    if (pApp && pApp->m_nThreadID == ::GetCurrentThreadId())
        return pApp;
    return NULL;
}

CWinThread::CWinThread()
    : m_hThread(NULL),
      m_nThreadID(0),
      m_pMainWnd(NULL),
      m_pActiveWnd(NULL),
      m_bAutoDelete(TRUE),
      m_msgCur(),
      m_pfnThreadProc(NULL),
      m_pThreadParams(NULL)
{}

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam) : CWinThread()
{
    m_pfnThreadProc = pfnThreadProc;
    m_pThreadParams = pParam;
}

CWinThread::~CWinThread()
{
    if (m_hThread)
        ::CloseHandle(m_hThread);
    if (t_pCurrentThread == this)
        t_pCurrentThread = NULL;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (m_hThread)
        return FALSE;
    // Always start suspended so that the handle and id are stored before the
    // thread can run (and perhaps delete this object).
    unsigned id = 0;
    uintptr_t h = _beginthreadex(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this, CREATE_SUSPENDED, &id);
    if (!h)
        return FALSE;
    m_hThread = (HANDLE)h;
    m_nThreadID = id;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(m_hThread);
    return TRUE;
}

unsigned __stdcall CWinThread::ThreadEntry(void* pParam)
{
    CWinThread* pThread = static_cast<CWinThread*>(pParam);
    t_pCurrentThread = pThread;
    UINT nResult = (UINT)-1;
    // No exception may leave a thread: it would unwind into the system's frames.
    try {
        if (pThread->m_pfnThreadProc)
            nResult = pThread->m_pfnThreadProc(pThread->m_pThreadParams);
        else if (!pThread->InitInstance())
            nResult = (UINT)pThread->ExitInstance();
        else
            nResult = (UINT)pThread->Run();
    } catch (CException* e) {
        e->Delete();
    } catch (...) {}
    try {
        if (pThread->m_bAutoDelete)
            pThread->Delete();
    } catch (...) {}
    t_pCurrentThread = NULL;
    return nResult;
}

int CWinThread::GetThreadPriority()
{
    return ::GetThreadPriority(m_hThread);
}
BOOL CWinThread::SetThreadPriority(int nPriority)
{
    return ::SetThreadPriority(m_hThread, nPriority);
}
DWORD CWinThread::SuspendThread()
{
    return ::SuspendThread(m_hThread);
}
DWORD CWinThread::ResumeThread()
{
    return ::ResumeThread(m_hThread);
}

BOOL CWinThread::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    return ::PostThreadMessageW(m_nThreadID, message, wParam, lParam);
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return (int)m_msgCur.wParam;
}

CWnd* CWinThread::GetMainWnd()
{
    return m_pActiveWnd ? m_pActiveWnd : m_pMainWnd;
}

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    return AfxPreTranslateWalk(AfxGetWindowHandle(m_pMainWnd), pMsg);
}

BOOL CWinThread::PumpMessage()
{
    BOOL r = ::GetMessageW(&m_msgCur, NULL, 0, 0);
    if (r == 0)
        return FALSE;  // WM_QUIT
    if (r == -1)
        return TRUE;  // a failed read: keep looping
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    (void)lCount;
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    // Timer ticks and cursor blinks do not restart idle processing.
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118 /* WM_SYSTIMER */ && pMsg->message != WM_TIMER;
}

int CWinThread::Run()
{
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    MSG peek;
    for (;;) {
        while (bIdle && !::PeekMessageW(&peek, NULL, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        if (!PumpMessage())
            return ExitInstance();
        if (IsIdleMessage(&m_msgCur)) {
            bIdle = TRUE;
            lIdleCount = 0;
        }
    }
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!pfnThreadProc)
        return NULL;
    CWinThread* pThread = new (std::nothrow) CWinThread(pfnThreadProc, pParam);
    if (!pThread)
        return NULL;
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        delete pThread;
        return NULL;
    }
    // A new thread has normal priority already; under Wine each call is a
    // round trip to the server, and the test dispatchers start a thread per
    // proxy.
    if (nPriority != THREAD_PRIORITY_NORMAL)
        pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}

CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!pThreadClass || !pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread)))
        return NULL;
    CObject* pObject = pThreadClass->CreateObject();
    CWinThread* pThread = static_cast<CWinThread*>(pObject);
    if (!pThread)
        return NULL;
    if (!pThread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        delete pThread;
        return NULL;
    }
    pThread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        pThread->ResumeThread();
    return pThread;
}
