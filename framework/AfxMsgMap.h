// Message maps. Each entry names a message (or a command or notification
// with its control id) and a thunk, a small function made from a template
// for the handler's signature, which unpacks WPARAM and LPARAM and calls the
// handler. The dispatcher walks the maps derived class first; the first
// entry that matches wins. A thunk returns FALSE when the handler declined
// (the _EX reflection forms, a NULL brush from CtlColor), so the search goes on.
#pragma once

#include "afx.h"
#include "AfxTypes.h"

class CWnd;
class CDC;
class CScrollBar;

typedef BOOL (*AFX_PMSG_THUNK)(CCmdTarget* pTarget, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;       // window message, WM_COMMAND, WM_NOTIFY or a reflected message
    UINT nCode;          // notification code; AFX_CODE_COMMAND for menu and accelerator commands
    UINT nID;            // first control or command id
    UINT nLastID;        // last control or command id
    AFX_PMSG_THUNK pfn;  // NULL ends the table
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Messages a parent hands back to the child control they came from.
#define WM_REFLECT_BASE 0xBC00
// All WM_CTLCOLORxxx messages share one entry, under the old message number.
#define AFX_WM_CTLCOLOR 0x0019
// Matches a command from a menu (code 0) or an accelerator (code 1).
#define AFX_CODE_COMMAND 0xFFFFFFFFu

#define DECLARE_MESSAGE_MAP() \
protected: \
    static const AFX_MSGMAP* GetThisMessageMap(); \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass) \
    const AFX_MSGMAP* theClass::GetMessageMap() const \
    { \
        return GetThisMessageMap(); \
    } \
    const AFX_MSGMAP* theClass::GetThisMessageMap() \
    { \
        typedef theClass ThisClass; \
        typedef baseClass TheBaseClass; \
        (void)sizeof(ThisClass*); \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP() \
    { \
        0, 0, 0, 0, (AFX_PMSG_THUNK)NULL \
    } \
    } \
    ; \
    static const AFX_MSGMAP messageMap = { &TheBaseClass::GetThisMessageMap, &_messageEntries[0] }; \
    return &messageMap; \
    }

// Helpers the thunks use to turn handles into framework objects.
CWnd* AfxWndFromHandle(HWND hWnd);
CDC* AfxDCFromHandle(HDC hDC);

// Thunk shapes. T is the class of the map, pmf the handler; the handler may
// be declared in T or in one of its bases.
#define AFX_THUNK(name, sig) \
    template <class T, auto pmf> \
    BOOL name(CCmdTarget* pTarget, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) \
    { \
        constexpr sig = pmf; \
        T* pThis = static_cast<T*>(pTarget); \
        (void)message; \
        (void)wParam; \
        (void)lParam; \
        (void)pThis;

#define AFX_THUNK_END }

AFX_THUNK(AfxThunk_v_v, void (T::*p)())
(pThis->*p)();
*pResult = 0;
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_b_v, BOOL (T::*p)())
*pResult = 0;
return (pThis->*p)();
AFX_THUNK_END
AFX_THUNK(AfxThunk_v_u, void (T::*p)(UINT))
(pThis->*p)(LOWORD(wParam));
*pResult = 0;
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_SysCommand, void (T::*p)(UINT, LPARAM))
(pThis->*p)((UINT)wParam, lParam);
*pResult = 0;
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_QueryDragIcon, HCURSOR (T::*p)())
*pResult = (LRESULT)(pThis->*p)();
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_Timer, void (T::*p)(UINT_PTR))
(pThis->*p)((UINT_PTR)wParam);
*pResult = 0;
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_Size, void (T::*p)(UINT, int, int))
(pThis->*p)((UINT)wParam, (short)LOWORD(lParam), (short)HIWORD(lParam));
*pResult = 0;
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_Scroll, void (T::*p)(UINT, UINT, CScrollBar*))
(pThis->*p)(LOWORD(wParam), HIWORD(wParam), (CScrollBar*)AfxWndFromHandle((HWND)lParam));
*pResult = 0;
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_MouseWheel, BOOL (T::*p)(UINT, short, CPoint))
*pResult = (pThis->*p)(GET_KEYSTATE_WPARAM(wParam), GET_WHEEL_DELTA_WPARAM(wParam), CPoint(lParam));
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_Key, void (T::*p)(UINT, UINT, UINT))
(pThis->*p)((UINT)wParam, LOWORD(lParam), HIWORD(lParam));
*pResult = 0;
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_ContextMenu, void (T::*p)(CWnd*, CPoint))
(pThis->*p)(AfxWndFromHandle((HWND)wParam), CPoint(lParam));
*pResult = 0;
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_SetCursor, BOOL (T::*p)(CWnd*, UINT, UINT))
*pResult = (pThis->*p)(AfxWndFromHandle((HWND)wParam), LOWORD(lParam), HIWORD(lParam));
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_ActivateApp, void (T::*p)(BOOL, DWORD))
(pThis->*p)((BOOL)wParam, (DWORD)lParam);
*pResult = 0;
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_Activate, void (T::*p)(UINT, CWnd*, BOOL))
(pThis->*p)(LOWORD(wParam), AfxWndFromHandle((HWND)lParam), HIWORD(wParam) != 0);
*pResult = 0;
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_Focus, void (T::*p)(CWnd*))
(pThis->*p)(AfxWndFromHandle((HWND)wParam));
*pResult = 0;
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_Mouse, void (T::*p)(UINT, CPoint))
(pThis->*p)((UINT)wParam, CPoint(lParam));
*pResult = 0;
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_Bool, void (T::*p)(BOOL))
(pThis->*p)((BOOL)wParam);
*pResult = 0;
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_GetDlgCode, UINT (T::*p)())
*pResult = (LRESULT)(pThis->*p)();
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_EraseBkgnd, BOOL (T::*p)(CDC*))
*pResult = (pThis->*p)(AfxDCFromHandle((HDC)wParam));
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_CtlColor, HBRUSH (T::*p)(CDC*, CWnd*, UINT))
*pResult =
    (LRESULT)(pThis->*p)(AfxDCFromHandle((HDC)wParam), AfxWndFromHandle((HWND)lParam), message - WM_CTLCOLORMSGBOX);
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_CtlColorReflect, HBRUSH (T::*p)(CDC*, UINT))
HBRUSH hbr = (pThis->*p)(AfxDCFromHandle((HDC)wParam), message - WM_CTLCOLORMSGBOX);
*pResult = (LRESULT)hbr;
return hbr != NULL;
AFX_THUNK_END
AFX_THUNK(AfxThunk_DrawItem, void (T::*p)(int, LPDRAWITEMSTRUCT))
(pThis->*p)((int)wParam, (LPDRAWITEMSTRUCT)lParam);
*pResult = TRUE;
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_NcHitTest, LRESULT (T::*p)(CPoint))
*pResult = (pThis->*p)(CPoint(lParam));
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_ShowWindow, void (T::*p)(BOOL, UINT))
(pThis->*p)((BOOL)wParam, (UINT)lParam);
*pResult = 0;
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_Create, int (T::*p)(LPCREATESTRUCT))
*pResult = (LRESULT)(pThis->*p)((LPCREATESTRUCT)lParam);
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_Message, LRESULT (T::*p)(WPARAM, LPARAM))
*pResult = (pThis->*p)(wParam, lParam);
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_Notify, void (T::*p)(NMHDR*, LRESULT*))
*pResult = 0;
(pThis->*p)((NMHDR*)lParam, pResult);
return TRUE;
AFX_THUNK_END
AFX_THUNK(AfxThunk_NotifyEx, BOOL (T::*p)(NMHDR*, LRESULT*))
*pResult = 0;
return (pThis->*p)((NMHDR*)lParam, pResult);
AFX_THUNK_END

#define AFX_ENTRY(msg, code, id, lastId, thunk, fn) \
    { (UINT)(msg), (UINT)(code), (UINT)(id), (UINT)(lastId), &thunk<ThisClass, fn> },
#define AFX_WM_ENTRY(msg, thunk, fn) AFX_ENTRY(msg, 0, 0, 0, thunk, fn)

// Commands and notifications.
#define ON_COMMAND(id, memberFxn) AFX_ENTRY(WM_COMMAND, AFX_CODE_COMMAND, id, id, AfxThunk_v_v, memberFxn)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    AFX_ENTRY(WM_COMMAND, AFX_CODE_COMMAND, id, idLast, AfxThunk_v_u, memberFxn)
#define ON_CONTROL(code, id, memberFxn) AFX_ENTRY(WM_COMMAND, code, id, id, AfxThunk_v_v, memberFxn)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_NOTIFY(code, id, memberFxn) AFX_ENTRY(WM_NOTIFY, code, id, id, AfxThunk_Notify, memberFxn)
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn) AFX_ENTRY(WM_NOTIFY, code, id, idLast, AfxThunk_Notify, memberFxn)
#define ON_MESSAGE(message, memberFxn) AFX_WM_ENTRY(message, AfxThunk_Message, memberFxn)

// Reflected to the control by its parent.
#define ON_NOTIFY_REFLECT(code, memberFxn) \
    AFX_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, AfxThunk_Notify, memberFxn)
#define ON_NOTIFY_REFLECT_EX(code, memberFxn) \
    AFX_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, AfxThunk_NotifyEx, memberFxn)
#define ON_CONTROL_REFLECT(code, memberFxn) AFX_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, AfxThunk_v_v, memberFxn)
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
    AFX_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, AfxThunk_b_v, memberFxn)
#define ON_WM_CTLCOLOR_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + AFX_WM_CTLCOLOR, AfxThunk_CtlColorReflect, &ThisClass::CtlColor)

// Window messages, each to its handler of the traditional name.
#define ON_WM_SYSCOMMAND() AFX_WM_ENTRY(WM_SYSCOMMAND, AfxThunk_SysCommand, &ThisClass::OnSysCommand)
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, AfxThunk_v_v, &ThisClass::OnPaint)
#define ON_WM_QUERYDRAGICON() AFX_WM_ENTRY(WM_QUERYDRAGICON, AfxThunk_QueryDragIcon, &ThisClass::OnQueryDragIcon)
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, AfxThunk_Timer, &ThisClass::OnTimer)
#define ON_WM_SIZE() AFX_WM_ENTRY(WM_SIZE, AfxThunk_Size, &ThisClass::OnSize)
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, AfxThunk_v_v, &ThisClass::OnClose)
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, AfxThunk_v_v, &ThisClass::OnDestroy)
#define ON_WM_NCDESTROY() AFX_WM_ENTRY(WM_NCDESTROY, AfxThunk_v_v, &ThisClass::OnNcDestroy)
#define ON_WM_HSCROLL() AFX_WM_ENTRY(WM_HSCROLL, AfxThunk_Scroll, &ThisClass::OnHScroll)
#define ON_WM_VSCROLL() AFX_WM_ENTRY(WM_VSCROLL, AfxThunk_Scroll, &ThisClass::OnVScroll)
#define ON_WM_MOUSEWHEEL() AFX_WM_ENTRY(WM_MOUSEWHEEL, AfxThunk_MouseWheel, &ThisClass::OnMouseWheel)
#define ON_WM_KEYDOWN() AFX_WM_ENTRY(WM_KEYDOWN, AfxThunk_Key, &ThisClass::OnKeyDown)
#define ON_WM_KEYUP() AFX_WM_ENTRY(WM_KEYUP, AfxThunk_Key, &ThisClass::OnKeyUp)
#define ON_WM_CHAR() AFX_WM_ENTRY(WM_CHAR, AfxThunk_Key, &ThisClass::OnChar)
#define ON_WM_CONTEXTMENU() AFX_WM_ENTRY(WM_CONTEXTMENU, AfxThunk_ContextMenu, &ThisClass::OnContextMenu)
#define ON_WM_SETCURSOR() AFX_WM_ENTRY(WM_SETCURSOR, AfxThunk_SetCursor, &ThisClass::OnSetCursor)
#define ON_WM_ACTIVATEAPP() AFX_WM_ENTRY(WM_ACTIVATEAPP, AfxThunk_ActivateApp, &ThisClass::OnActivateApp)
#define ON_WM_ACTIVATE() AFX_WM_ENTRY(WM_ACTIVATE, AfxThunk_Activate, &ThisClass::OnActivate)
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, AfxThunk_Focus, &ThisClass::OnKillFocus)
#define ON_WM_SETFOCUS() AFX_WM_ENTRY(WM_SETFOCUS, AfxThunk_Focus, &ThisClass::OnSetFocus)
#define ON_WM_MOUSEMOVE() AFX_WM_ENTRY(WM_MOUSEMOVE, AfxThunk_Mouse, &ThisClass::OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_WM_ENTRY(WM_LBUTTONDOWN, AfxThunk_Mouse, &ThisClass::OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_WM_ENTRY(WM_LBUTTONUP, AfxThunk_Mouse, &ThisClass::OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_WM_ENTRY(WM_LBUTTONDBLCLK, AfxThunk_Mouse, &ThisClass::OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_WM_ENTRY(WM_RBUTTONDOWN, AfxThunk_Mouse, &ThisClass::OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_WM_ENTRY(WM_RBUTTONUP, AfxThunk_Mouse, &ThisClass::OnRButtonUp)
#define ON_WM_MOUSELEAVE() AFX_WM_ENTRY(WM_MOUSELEAVE, AfxThunk_v_v, &ThisClass::OnMouseLeave)
#define ON_WM_SYSCOLORCHANGE() AFX_WM_ENTRY(WM_SYSCOLORCHANGE, AfxThunk_v_v, &ThisClass::OnSysColorChange)
#define ON_WM_ENABLE() AFX_WM_ENTRY(WM_ENABLE, AfxThunk_Bool, &ThisClass::OnEnable)
#define ON_WM_CANCELMODE() AFX_WM_ENTRY(WM_CANCELMODE, AfxThunk_v_v, &ThisClass::OnCancelMode)
#define ON_WM_GETDLGCODE() AFX_WM_ENTRY(WM_GETDLGCODE, AfxThunk_GetDlgCode, &ThisClass::OnGetDlgCode)
#define ON_WM_ERASEBKGND() AFX_WM_ENTRY(WM_ERASEBKGND, AfxThunk_EraseBkgnd, &ThisClass::OnEraseBkgnd)
#define ON_WM_CTLCOLOR() AFX_WM_ENTRY(AFX_WM_CTLCOLOR, AfxThunk_CtlColor, &ThisClass::OnCtlColor)
#define ON_WM_DRAWITEM() AFX_WM_ENTRY(WM_DRAWITEM, AfxThunk_DrawItem, &ThisClass::OnDrawItem)
#define ON_WM_NCHITTEST() AFX_WM_ENTRY(WM_NCHITTEST, AfxThunk_NcHitTest, &ThisClass::OnNcHitTest)
#define ON_WM_SHOWWINDOW() AFX_WM_ENTRY(WM_SHOWWINDOW, AfxThunk_ShowWindow, &ThisClass::OnShowWindow)
#define ON_WM_CREATE() AFX_WM_ENTRY(WM_CREATE, AfxThunk_Create, &ThisClass::OnCreate)
