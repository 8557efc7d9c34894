// Which tool lies under the cursor: toolbar buttons, the control under the
// point (an editable combo box for its edit field) and its tool records.
#include "toolkit/MarkupTip.h"

#include <commctrl.h>

namespace {

// The tip part of a command's prompt string: its second '\n' field.
CString LoadCommandTip(UINT nId)
{
    CString text;
    if (HINSTANCE hRes = AfxFindStringResourceHandle(nId))
        text.LoadString(hRes, nId);
    return CMarkupDrawer::TipPart(text);
}

}  // namespace

BOOL CMarkupTip::FindToolBarItem(POINT ptScreen, ToolTipInfo& info, HWND& hWnd) const
{
    if (m_arrToolBars.empty())
        return FALSE;
    HWND hBar = ::WindowFromPoint(ptScreen);
    bool bListed = false;
    for (HWND h : m_arrToolBars)
        bListed = bListed || h == hBar;
    if (!hBar || !bListed)
        return FALSE;
    POINT pt = ptScreen;
    ::ScreenToClient(hBar, &pt);
    int nCount = static_cast<int>(::SendMessageW(hBar, TB_BUTTONCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i) {
        RECT rc = { 0, 0, 0, 0 };
        if (!::SendMessageW(hBar, TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rc)) || !::PtInRect(&rc, pt))
            continue;
        TBBUTTON button = {};
        ::SendMessageW(hBar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button));
        info = ToolTipInfo();
        info.nId = button.idCommand;
        info.rcTool = rc;
        info.sText = LoadCommandTip(static_cast<UINT>(button.idCommand));
        hWnd = hBar;
        return TRUE;
    }
    return FALSE;
}

HWND CMarkupTip::FindCandidateWindow(POINT ptClient, POINT& ptScreen) const
{
    POINT pt = ptClient;
    ::ClientToScreen(m_hParentWnd, &pt);
    HWND hUnder = ::WindowFromPoint(pt);
    if (!hUnder)
        return NULL;
    HWND hParent = ::GetParent(hUnder);
    if (!hParent)
        return NULL;
    ptScreen = pt;
    if (IsComboBoxWindow(hParent))
        return hParent;
    POINT ptUnder = pt;
    ::ScreenToClient(hUnder, &ptUnder);
    HWND hCandidate = ::ChildWindowFromPoint(hUnder, ptUnder);
    return hCandidate;
}

BOOL CMarkupTip::FindToolFromPoint(POINT ptClient, ToolTipInfo& info, HWND& hWnd) const
{
    POINT ptScreen = { 0, 0 };
    HWND hCandidate = FindCandidateWindow(ptClient, ptScreen);
    if (!hCandidate || !::IsWindowEnabled(hCandidate))
        return FALSE;
    if (!FindToolInWindow(hCandidate, ptScreen, info))
        return FALSE;
    hWnd = hCandidate;
    return TRUE;
}

BOOL CMarkupTip::IsComboBoxWindow(HWND hWnd)
{
    if ((::GetWindowLongW(hWnd, GWL_STYLE) & 0x0F) != CBS_DROPDOWN)
        return FALSE;
    // Room for the whole name and more: a longer class name that merely
    // begins with "ComboBox" is not one.
    wchar_t szClass[16] = L"";
    ::GetClassNameW(hWnd, szClass, 16);
    return lstrcmpiW(szClass, L"combobox") == 0;
}

BOOL CMarkupTip::FindToolInWindow(HWND hWnd, POINT ptScreen, ToolTipInfo& info) const
{
    auto it = m_mapTools.find(hWnd);
    if (it == m_mapTools.end() || it->second.empty())
        return FALSE;
    const std::vector<ToolTipInfo>& tools = it->second;
    if (tools.size() == 1 && ::IsRectEmpty(&tools[0].rcTool)) {
        info = tools[0];
        return TRUE;
    }
    // The one conversion from the screen into the window's client area.
    POINT pt = ptScreen;
    ::ScreenToClient(hWnd, &pt);
    for (const ToolTipInfo& tool : tools) {
        if (::PtInRect(&tool.rcTool, pt)) {
            info = tool;
            return TRUE;
        }
    }
    return FALSE;
}
