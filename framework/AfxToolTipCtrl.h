// The common-control tooltip.
#pragma once

#include "AfxWnd.h"

class CToolTipCtrl : public CWnd
{
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    // A tooltip owned by pParentWnd's window.
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    // The whole window of pWnd (or lpRectTool in it) shows lpszText, or the
    // string nIDText.
    BOOL AddTool(CWnd* pWnd, LPCWSTR lpszText = LPSTR_TEXTCALLBACKW, LPCRECT lpRectTool = NULL, UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = NULL, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void RelayEvent(LPMSG lpMsg);
    void Activate(BOOL bActivate) { ::SendMessageW(m_hWnd, TTM_ACTIVATE, bActivate, 0); }
    int SetMaxTipWidth(int iWidth) { return (int)::SendMessageW(m_hWnd, TTM_SETMAXTIPWIDTH, 0, iWidth); }
    void SetDelayTime(DWORD dwDuration, int iTime)
    {
        ::SendMessageW(m_hWnd, TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0));
    }
    int GetToolCount() const { return (int)::SendMessageW(m_hWnd, TTM_GETTOOLCOUNT, 0, 0); }
    void Pop() { ::SendMessageW(m_hWnd, TTM_POP, 0, 0); }

private:
    void FillInToolInfo(TTTOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};
