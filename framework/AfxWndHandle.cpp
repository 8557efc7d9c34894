// Bridge from the core (which sees CWnd only as a name) to window handles.
#include "afx.h"
#if __has_include("afxwin.h")
#include "afxwin.h"
#define AFX_HAVE_WINDOW_LAYER 1
#endif

HWND AfxGetWindowHandle(CWnd* pWnd)
{
#ifdef AFX_HAVE_WINDOW_LAYER
    return pWnd ? pWnd->GetSafeHwnd() : NULL;
#else
    (void)pWnd;
    return NULL;
#endif
}
