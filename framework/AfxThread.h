// Threads: worker threads and user-interface threads with a message loop.
#pragma once

#include <windows.h>
#include "AfxObject.h"

class CWnd;

typedef UINT(AFX_CDECL* AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    virtual ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    // Starts the thread; CREATE_SUSPENDED leaves it waiting for ResumeThread.
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
    int GetThreadPriority();
    BOOL SetThreadPriority(int nPriority);
    DWORD SuspendThread();
    DWORD ResumeThread();
    BOOL PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam);
    operator HANDLE() const { return m_hThread; }

    // A user-interface thread runs InitInstance; when it succeeds, Run, whose
    // loop ends on WM_QUIT and returns ExitInstance's result. When it fails,
    // ExitInstance ends the thread at once.
    virtual BOOL InitInstance();
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PumpMessage();        // FALSE on WM_QUIT
    virtual BOOL OnIdle(LONG lCount);  // TRUE for more idle time
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual int ExitInstance();
    virtual CWnd* GetMainWnd();
    virtual void Delete();  // deletes the object when m_bAutoDelete

    HANDLE m_hThread;
    DWORD m_nThreadID;
    CWnd* m_pMainWnd;
    CWnd* m_pActiveWnd;
    BOOL m_bAutoDelete;
    MSG m_msgCur;  // the message the loop handles now

    // Worker form: the function and its argument.
    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;

private:
    static unsigned __stdcall ThreadEntry(void* pParam);
};

// Worker thread: runs pfnThreadProc(pParam). NULL on failure; the thread
// object deletes itself when the thread ends.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);
// User-interface thread of a dynamically creatable class derived from
// CWinThread. NULL on failure.
CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = NULL);

// The thread object of the calling thread (the application on the main
// thread); NULL for threads the framework did not start.
CWinThread* AfxGetThread();

// Hands pMsg to the PreTranslateMessage of each framework window from
// pMsg->hwnd up through its parents, stopping after hWndStop (NULL: the top
// level). TRUE when one of them handled it. Defined by the window layer.
BOOL AfxPreTranslateWalk(HWND hWndStop, MSG* pMsg);

// The window handle of a framework window object (NULL for NULL).
HWND AfxGetWindowHandle(CWnd* pWnd);
