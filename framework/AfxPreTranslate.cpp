// The pre-translate walk of the framework's message loops.
#include "afxwin.h"

BOOL AfxPreTranslateWalk(HWND hWndStop, MSG* pMsg)
{
    // From the message's window up through its parents (owners for pop-ups),
    // as far as the loop's window; only windows of this thread take part.
    DWORD tid = ::GetCurrentThreadId();
    for (HWND hWnd = pMsg->hwnd; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        if (::GetWindowThreadProcessId(hWnd, NULL) != tid)
            break;
        if (CWnd* pWnd = CWnd::FromHandlePermanent(hWnd)) {
            BOOL bHandled = FALSE;
            try {
                bHandled = pWnd->PreTranslateMessage(pMsg);
            } catch (CException* e) {
                ::OutputDebugStringW(L"Unhandled exception in PreTranslateMessage\n");
                e->Delete();
            } catch (...) {
                ::OutputDebugStringW(L"Unhandled exception in PreTranslateMessage\n");
            }
            if (bHandled)
                return TRUE;
        }
        if (hWnd == hWndStop)
            break;
    }
    return FALSE;
}
