// CWnd core: handle to object binding, the framework window procedure,
// dispatch through reflection, the command and notify virtuals and the maps.
#include "afxwin.h"

#include <unordered_map>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

namespace {
// The framework object of a window, and the procedure it replaced (kept on
// the window too, so a window that lost its object still reaches it).
const wchar_t kPropObject[] = L"CorvaneFw.Object";
const wchar_t kPropSuper[] = L"CorvaneFw.Super";

// The objects of the windows attached through AttachProc, by handle. The
// window property is the record any window has; this map answers the
// lookup that every message of a routed window makes, which through the
// property is a server round trip under Wine.
SRWLOCK s_routedLock = SRWLOCK_INIT;
std::unordered_map<HWND, CWnd*>& RoutedObjects()
{
    static std::unordered_map<HWND, CWnd*>* pMap = new std::unordered_map<HWND, CWnd*>;  // outlives every window
    return *pMap;
}

void SetRoutedObject(HWND hWnd, CWnd* pWnd)
{
    ::AcquireSRWLockExclusive(&s_routedLock);
    RoutedObjects()[hWnd] = pWnd;
    ::ReleaseSRWLockExclusive(&s_routedLock);
}

void ForgetRoutedObject(HWND hWnd, CWnd* pWnd)
{
    ::AcquireSRWLockExclusive(&s_routedLock);
    auto it = RoutedObjects().find(hWnd);
    if (it != RoutedObjects().end() && it->second == pWnd)
        RoutedObjects().erase(it);
    ::ReleaseSRWLockExclusive(&s_routedLock);
}

CWnd* FindRoutedObject(HWND hWnd)
{
    ::AcquireSRWLockShared(&s_routedLock);
    auto it = RoutedObjects().find(hWnd);
    CWnd* pWnd = it != RoutedObjects().end() ? it->second : NULL;
    ::ReleaseSRWLockShared(&s_routedLock);
    return pWnd;
}

thread_local MSG t_msgCur;      // message of the innermost dispatch
thread_local CWnd* t_pWndInit;  // object waiting for the window CreateEx makes
thread_local HHOOK t_hHookCbt;

// No exception may unwind through Win32 or Wine frames: report and drop it.
void ReportHandlerException(CException* e)
{
    wchar_t text[512] = L"";
    if (e)
        e->GetErrorMessage(text, 512);
    ::OutputDebugStringW(L"Unhandled exception in a window handler: ");
    ::OutputDebugStringW(text[0] ? text : L"(no message)");
    ::OutputDebugStringW(L"\n");
    if (e)
        e->Delete();
}
}  // namespace

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

CWnd* AfxWndFromHandle(HWND hWnd)
{
    return CWnd::FromHandle(hWnd);
}

CWnd::CWnd() : m_hWnd(NULL), m_pfnSuper(NULL) {}

CWnd::CWnd(HWND hWnd) : m_hWnd(hWnd), m_pfnSuper(NULL) {}

CWnd::~CWnd()
{
    if (m_hWnd != NULL && FromHandlePermanent(m_hWnd) == this) {
        // The derived parts are gone: only the window itself is left to end.
        DWORD tid = ::GetWindowThreadProcessId(m_hWnd, NULL);
        if (tid == ::GetCurrentThreadId())
            ::DestroyWindow(m_hWnd);
        if (m_hWnd != NULL)
            UnsubclassWindow();
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == NULL)
        return NULL;
    // Only AttachProc gives a window the framework procedure, and only
    // after recording its object, which Detach forgets: for such a window
    // the map holds its object or nothing, and a stale entry of a dead
    // window with the same handle value was overwritten.
    if ((WNDPROC)::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == &CWnd::AfxWndProc) {
        if (CWnd* pWnd = FindRoutedObject(hWnd))
            return pWnd;
    }
    return static_cast<CWnd*>(::GetPropW(hWnd, kPropObject));
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (hWnd == NULL)
        return NULL;
    if (CWnd* p = FromHandlePermanent(hWnd))
        return p;
    return CAfxTempMap<CWnd, HWND>::Lookup(hWnd, [](CWnd* p, HWND h) { p->m_hWnd = h; });
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (hWndNew == NULL || m_hWnd != NULL || FromHandlePermanent(hWndNew) != NULL)
        return FALSE;
    if (!::SetPropW(hWndNew, kPropObject, this))
        return FALSE;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd != NULL) {
        ForgetRoutedObject(hWnd, this);
        if (::GetPropW(hWnd, kPropObject) == this)
            ::RemovePropW(hWnd, kPropObject);
    }
    m_hWnd = NULL;
    return hWnd;
}

void CWnd::AttachProc(HWND hWnd)
{
    if (!Attach(hWnd))
        return;
    SetRoutedObject(hWnd, this);
    PreSubclassWindow();
    WNDPROC pfnOld = (WNDPROC)::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)&CWnd::AfxWndProc);
    if (pfnOld == &CWnd::AfxWndProc)
        pfnOld = (WNDPROC)::GetPropW(hWnd, kPropSuper);  // was ours before
    m_pfnSuper = pfnOld;
    ::SetPropW(hWnd, kPropSuper, (HANDLE)pfnOld);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (hWnd == NULL || m_hWnd != NULL || FromHandlePermanent(hWnd) != NULL || !::IsWindow(hWnd))
        return FALSE;
    AttachProc(hWnd);
    return m_hWnd == hWnd;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hParent = pParent->GetSafeHwnd();
    if (hParent == NULL)
        return FALSE;
    return SubclassWindow(::GetDlgItem(hParent, (int)nID));
}

HWND CWnd::UnsubclassWindow()
{
    if (m_hWnd == NULL)
        return NULL;
    if (m_pfnSuper != NULL && (WNDPROC)::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC) == &CWnd::AfxWndProc)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    ::RemovePropW(m_hWnd, kPropSuper);
    m_pfnSuper = NULL;
    return Detach();
}

void CWnd::PreSubclassWindow() {}

void CWnd::OnNcDestroyDetach()
{
    HWND hWnd = m_hWnd;
    if ((WNDPROC)::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == &CWnd::AfxWndProc && m_pfnSuper != NULL)
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, (LONG_PTR)m_pfnSuper);
    ::RemovePropW(hWnd, kPropSuper);
    m_pfnSuper = NULL;
    Detach();
    PostNcDestroy();  // may delete this
}

void CWnd::PostNcDestroy() {}

LRESULT CALLBACK CWnd::AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd == NULL) {
        // Detached without being unsubclassed: the old procedure goes on.
        WNDPROC pfnSuper = (WNDPROC)::GetPropW(hWnd, kPropSuper);
        if (message == WM_NCDESTROY)
            ::RemovePropW(hWnd, kPropSuper);
        return pfnSuper ? ::CallWindowProcW(pfnSuper, hWnd, message, wParam, lParam)
                        : ::DefWindowProcW(hWnd, message, wParam, lParam);
    }

    MSG saved = t_msgCur;
    t_msgCur.hwnd = hWnd;
    t_msgCur.message = message;
    t_msgCur.wParam = wParam;
    t_msgCur.lParam = lParam;
    t_msgCur.time = ::GetMessageTime();
    DWORD pos = ::GetMessagePos();
    t_msgCur.pt.x = GET_X_LPARAM(pos);
    t_msgCur.pt.y = GET_Y_LPARAM(pos);

    LRESULT lResult = 0;
    try {
        lResult = pWnd->WindowProc(message, wParam, lParam);
    } catch (CException* e) {
        ReportHandlerException(e);
    } catch (...) {
        ReportHandlerException(NULL);
    }
    t_msgCur = saved;

    // The object may have been deleted during dispatch; only a still
    // attached object is detached here.
    if (message == WM_NCDESTROY && FromHandlePermanent(hWnd) == pWnd)
        pWnd->OnNcDestroyDetach();
    return lResult;
}

const MSG* CWnd::GetCurrentMessage()
{
    return &t_msgCur;
}

LRESULT CWnd::Default()
{
    const MSG& msg = t_msgCur;
    return DefWindowProc(msg.message, msg.wParam, msg.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != NULL)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    *pResult = 0;

    // 1. Offer the message to the control it came from.
    HWND hChild = NULL;
    if (message == WM_COMMAND)
        hChild = (HWND)lParam;
    else if (message == WM_NOTIFY && lParam != 0)
        hChild = ((NMHDR*)lParam)->hwndFrom;
    else if (message == WM_DRAWITEM && lParam != 0 && ((LPDRAWITEMSTRUCT)lParam)->CtlType != ODT_MENU)
        hChild = ((LPDRAWITEMSTRUCT)lParam)->hwndItem;
    else if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        hChild = (HWND)lParam;
    if (hChild != NULL && hChild != m_hWnd) {
        CWnd* pChild = FromHandlePermanent(hChild);
        if (pChild != NULL) {
            LRESULT lChild = 0;
            if (pChild->OnChildNotify(message, wParam, lParam, &lChild)) {
                *pResult = lChild;
                return TRUE;
            }
        }
    }

    // 2. Commands and notifications through their virtuals.
    if (message == WM_COMMAND)
        return OnCommand(wParam, lParam);
    if (message == WM_NOTIFY)
        return lParam != 0 && OnNotify(wParam, lParam, pResult);

    // 3. The message maps.
    UINT nMapMessage = message;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        nMapMessage = AFX_WM_CTLCOLOR;
    return DispatchMap(nMapMessage, 0, 0, message, wParam, lParam, pResult);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    return DispatchMap(WM_COMMAND, HIWORD(wParam), LOWORD(wParam), WM_COMMAND, wParam, lParam, &lResult);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = (NMHDR*)lParam;
    return DispatchMap(WM_NOTIFY, pNMHDR->code, (UINT)pNMHDR->idFrom, WM_NOTIFY, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND)
        return DispatchMap(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0, message, wParam, lParam, pResult);
    if (message == WM_NOTIFY)
        return DispatchMap(WM_REFLECT_BASE + WM_NOTIFY, ((NMHDR*)lParam)->code, 0, message, wParam, lParam, pResult);
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return DispatchMap(WM_REFLECT_BASE + AFX_WM_CTLCOLOR, 0, 0, message, wParam, lParam, pResult);
    if (message == WM_DRAWITEM)
        return DispatchMap(WM_REFLECT_BASE + WM_DRAWITEM, 0, 0, message, wParam, lParam, pResult);
    return FALSE;
}

BOOL CWnd::DispatchMap(UINT nMapMessage, UINT nCode, UINT nID, UINT message, WPARAM wParam, LPARAM lParam,
                       LRESULT* pResult)
{
    const bool bCommand = nMapMessage == WM_COMMAND || nMapMessage == WM_NOTIFY;
    const bool bReflected = nMapMessage == WM_REFLECT_BASE + WM_COMMAND || nMapMessage == WM_REFLECT_BASE + WM_NOTIFY;
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != NULL;
         pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : NULL) {
        for (const AFX_MSGMAP_ENTRY* e = pMap->lpEntries; e != NULL && e->pfn != NULL; ++e) {
            if (e->nMessage != nMapMessage)
                continue;
            if (bCommand) {
                if (e->nCode == AFX_CODE_COMMAND) {
                    // Menus send code 0, accelerators code 1 with no control.
                    if (!(nCode == 0 || (nCode == 1 && lParam == 0)))
                        continue;
                } else if (e->nCode != nCode)
                    continue;
                if (nID < e->nID || nID > e->nLastID)
                    continue;
            } else if (bReflected && e->nCode != nCode)
                continue;
            LRESULT lResult = 0;
            if (e->pfn(this, message, wParam, lParam, &lResult)) {
                *pResult = lResult;
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG* pMsg)
{
    (void)pMsg;
    return FALSE;
}

// --- creation ---------------------------------------------------------------

LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && t_pWndInit != NULL) {
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = NULL;
        pWnd->AttachProc((HWND)wParam);
    }
    return ::CallNextHookEx(t_hHookCbt, code, wParam, lParam);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    (void)cs;
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd != NULL)
        return FALSE;
    CREATESTRUCTW cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = (LONG)dwStyle;
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
        return FALSE;

    // The hook binds this object to the window before its first message.
    CWnd* pOldInit = t_pWndInit;
    HHOOK hOldHook = t_hHookCbt;
    HHOOK hHook = ::SetWindowsHookExW(WH_CBT, &AfxCbtFilterHook, NULL, ::GetCurrentThreadId());
    t_pWndInit = this;
    t_hHookCbt = hHook;
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, (DWORD)cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                  cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    if (t_pWndInit == this)
        t_pWndInit = pOldInit;
    if (hHook != NULL)
        ::UnhookWindowsHookEx(hHook);
    t_hHookCbt = hOldHook;

    if (hWnd == NULL)
        return FALSE;
    if (m_hWnd != hWnd && m_hWnd == NULL)
        SubclassWindow(hWnd);  // no hook: bind it now
    return m_hWnd == hWnd;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd->GetSafeHwnd(), (HMENU)(UINT_PTR)nID, lpParam);
}

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, void* pContext)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID, pContext);
}

BOOL CWnd::DestroyWindow()
{
    HWND hWnd = m_hWnd;
    if (hWnd == NULL)
        return FALSE;
    // A window running the framework procedure detaches itself at
    // WM_NCDESTROY (and the object may be gone afterwards); others are
    // detached here.
    bool bOurs =
        FromHandlePermanent(hWnd) == this && (WNDPROC)::GetWindowLongPtrW(hWnd, GWLP_WNDPROC) == &CWnd::AfxWndProc;
    BOOL bResult = ::DestroyWindow(hWnd);
    if (!bOurs && m_hWnd == hWnd) {
        if (!::IsWindow(hWnd))
            ::RemovePropW(hWnd, kPropSuper);
        Detach();
    }
    return bResult;
}

LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static thread_local wchar_t szName[96];
    wsprintfW(szName, L"CorvaneFw:%x:%x:%x:%x", nClassStyle, (UINT)(UINT_PTR)hCursor, (UINT)(UINT_PTR)hbrBackground,
              (UINT)(UINT_PTR)hIcon);
    WNDCLASSW wc = {};
    HINSTANCE hInst = AfxGetInstanceHandle();
    if (::GetClassInfoW(hInst, szName, &wc))
        return szName;
    wc.style = nClassStyle;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = hInst;
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = szName;
    if (!::RegisterClassW(&wc))
        AfxThrowResourceException();
    return szName;
}
