// The tooltip of one owner window: each registered control shows a string
// from the string table as its tip.
//
// This build shows plain common-control tips; the mark-up balloon comes with
// the full toolkit, behind the same calls.
#pragma once

#include "afxwin.h"

class CMarkupTip : public CWnd
{
public:
    CMarkupTip();
    ~CMarkupTip() override;

    // Creates the tip window for pOwner's controls. FALSE when it cannot be
    // made; the tip then ignores every call.
    BOOL Create(CWnd* pOwner);
    // The whole control shows string nStringId; a second call replaces it.
    void AddTool(CWnd* pControl, UINT nStringId);
    void AddToolText(CWnd* pControl, const CString& strText);
    // Feeds one message of the owner's loop to the tip.
    void RelayEvent(MSG* pMsg);

private:
    HWND m_hTip;
};
