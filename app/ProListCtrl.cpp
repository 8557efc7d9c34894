// The main window's proxy list view: speed bars, fixed columns, Ctrl+A, context menu.
#include "app/ProListCtrl.h"

#include "app/CorvaneMessages.h"
#include "proxy/Decimal.h"

#include <utility>

BEGIN_MESSAGE_MAP(CProListCtrl, CListCtrl)
ON_WM_HSCROLL()
ON_WM_VSCROLL()
ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, &CProListCtrl::OnCustomDraw)
ON_NOTIFY_REFLECT(LVN_DELETEALLITEMS, &CProListCtrl::OnDeleteAllItems)
ON_WM_DESTROY()
ON_WM_MOUSEWHEEL()
ON_WM_KEYDOWN()
ON_WM_CONTEXTMENU()
END_MESSAGE_MAP()

CProListCtrl::CProListCtrl() {}

CProListCtrl::~CProListCtrl()
{
    // A window still alive here no longer reaches OnDestroy through this
    // class's map: free the bars now.
    if (m_hWnd != NULL && ::IsWindow(m_hWnd))
        DeleteAllBars();
}

CProgressCtrl* CProListCtrl::GetBar(int nItem) const
{
    return reinterpret_cast<CProgressCtrl*>(GetItemData(nItem));
}

std::vector<std::pair<int, CProgressCtrl*>> CProListCtrl::GetBars() const
{
    // Only drawn rows have bars: walking the child windows costs far less
    // than asking every row of a long list for its item data.
    std::vector<std::pair<int, CProgressCtrl*>> bars;
    for (HWND hChild = ::GetWindow(m_hWnd, GW_CHILD); hChild != NULL; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
        const int nItem = ::GetDlgCtrlID(hChild) - PROGRESS_BAR_ID_BASE;
        if (nItem < 0)
            continue;
        CProgressCtrl* pBar = GetBar(nItem);
        if (pBar != NULL && pBar->m_hWnd == hChild)
            bars.push_back(std::make_pair(nItem, pBar));
    }
    return bars;
}

void CProListCtrl::DeleteAllBars()
{
    for (const std::pair<int, CProgressCtrl*>& bar : GetBars()) {
        bar.second->DestroyWindow();
        delete bar.second;
        SetItemData(bar.first, 0);
    }
}

void CProListCtrl::RemoveAllItems()
{
    DeleteAllBars();
    DeleteAllItems();
}

void CProListCtrl::UpdateProgressBars()
{
    const int nTop = GetTopIndex();
    const int nPage = GetCountPerPage();
    const int nCount = GetItemCount();

    for (const std::pair<int, CProgressCtrl*>& bar : GetBars()) {
        if (bar.first < nTop || bar.first >= nTop + nPage)
            bar.second->ShowWindow(SW_HIDE);
    }

    CRect rcUnion;
    for (int i = nTop; i < nTop + nPage && i < nCount; ++i) {
        CRect rcCell;
        if (GetSubItemRect(i, PROXY_COLUMN_SPEED, LVIR_BOUNDS, rcCell))
            ::UnionRect(&rcUnion, &rcUnion, &rcCell);
    }
    if (!rcUnion.IsRectEmpty())
        InvalidateRect(&rcUnion, TRUE);
}

void CProListCtrl::HideBarsOutOfView()
{
    // Scrolling that bypasses the scroll handlers (Home, End, a row made
    // visible from code) would leave old rows' bars over the new rows. The
    // row partly shown below the page is spared: it is being drawn, and
    // hiding its bar here would only bring the next paint.
    const int nTop = GetTopIndex();
    const int nLast = nTop + GetCountPerPage();
    for (const std::pair<int, CProgressCtrl*>& bar : GetBars()) {
        if ((bar.first < nTop || bar.first > nLast) && bar.second->IsWindowVisible())
            bar.second->ShowWindow(SW_HIDE);
    }
}

CProgressCtrl* CProListCtrl::CreateBar(const CRect& rect, int nItem)
{
    // A bar handles no message of its own, so it is bound to its object
    // without the framework's window procedure: no creation hook, no
    // procedure swap and no dispatch for the few dozen messages a bar gets,
    // each of them server round trips under Wine, and a refresh makes a
    // page of bars.
    HWND hBar = ::CreateWindowExW(0, PROGRESS_CLASSW, NULL, WS_CHILD | WS_VISIBLE | PBS_SMOOTH, rect.left, rect.top,
                                  rect.Width(), rect.Height(), m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(PROGRESS_BAR_ID_BASE + nItem)),
                                  AfxGetInstanceHandle(), NULL);
    if (hBar == NULL)
        return NULL;
    CProgressCtrl* pBar = new CProgressCtrl;
    if (!pBar->Attach(hBar)) {
        ::DestroyWindow(hBar);
        delete pBar;
        return NULL;
    }
    return pBar;
}

void CProListCtrl::DrawSpeedBar(int nItem)
{
    CRect rect;
    if (!GetSubItemRect(nItem, PROXY_COLUMN_SPEED, LVIR_BOUNDS, rect))
        return;
    if (rect.Width() > PROGRESS_BAR_MAX_WIDTH)
        rect.right = rect.left + PROGRESS_BAR_MAX_WIDTH;

    CProgressCtrl* pBar = GetBar(nItem);
    if (pBar == NULL) {
        pBar = CreateBar(rect, nItem);
        if (pBar == NULL)
            return;
        pBar->SetRange(0, 100);
        const int nValue = ParseDecimal(GetItemText(nItem, PROXY_COLUMN_SPEED));
        pBar->SetPos(nValue == 100 ? 100 : nValue % 100);
        SetItemText(nItem, PROXY_COLUMN_SPEED, L"");
        SetItemData(nItem, reinterpret_cast<DWORD_PTR>(pBar));
    }
    pBar->MoveWindow(&rect, TRUE);
    pBar->ShowWindow(SW_SHOW);
}

void CProListCtrl::OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult)
{
    NMLVCUSTOMDRAW* pDraw = reinterpret_cast<NMLVCUSTOMDRAW*>(pNMHDR);
    switch (pDraw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        HideBarsOutOfView();
        *pResult = CDRF_NOTIFYITEMDRAW;
        return;
    case CDDS_ITEMPREPAINT: *pResult = CDRF_NOTIFYSUBITEMDRAW; return;
    case CDDS_ITEMPREPAINT | CDDS_SUBITEM: *pResult = CDRF_NOTIFYPOSTPAINT; return;
    case CDDS_ITEMPOSTPAINT | CDDS_SUBITEM:
        if (pDraw->iSubItem == PROXY_COLUMN_SPEED) {
            DrawSpeedBar(static_cast<int>(pDraw->nmcd.dwItemSpec));
            *pResult = CDRF_SKIPDEFAULT;
            return;
        }
        break;
    default: break;
    }
    *pResult = CDRF_DODEFAULT;
}

void CProListCtrl::OnDeleteAllItems(NMHDR*, LRESULT* pResult)
{
    // TRUE spares the parent one LVN_DELETEITEM per row, which nothing
    // here listens to: the bars are freed before the rows go.
    *pResult = TRUE;
}

void CProListCtrl::OnHScroll(UINT, UINT, CScrollBar*)
{
    Default();
    UpdateProgressBars();
}

void CProListCtrl::OnVScroll(UINT, UINT, CScrollBar*)
{
    Default();
    UpdateProgressBars();
}

BOOL CProListCtrl::OnMouseWheel(UINT, short, CPoint)
{
    Default();
    UpdateProgressBars();
    return TRUE;
}

void CProListCtrl::OnKeyDown(UINT nChar, UINT, UINT)
{
    Default();
    if (nChar == VK_PRIOR || nChar == VK_NEXT || nChar == VK_UP || nChar == VK_DOWN)
        UpdateProgressBars();
}

void CProListCtrl::OnDestroy()
{
    DeleteAllBars();
    Default();
}

void CProListCtrl::OnContextMenu(CWnd*, CPoint point)
{
    if (GetItemCount() == 0)
        return;
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    CRect rcSpeed;
    if (!GetSubItemRect(0, PROXY_COLUMN_SPEED, LVIR_BOUNDS, rcSpeed))
        return;
    CRect rcHeader(rcWindow.left, rcWindow.top, rcWindow.right, rcWindow.top);
    if (CHeaderCtrl* pHeader = GetHeaderCtrl())
        pHeader->GetWindowRect(&rcHeader);

    // Only left of the Speed column and below the header: the bars and the
    // column titles have no menu.
    if (point.x < rcWindow.left + rcSpeed.left && point.y >= rcHeader.bottom) {
        const MSG* pMsg = GetCurrentMessage();
        ::PostMessageW(g_hMainWnd, WM_LIST_CONTEXT_MENU, pMsg->wParam, pMsg->lParam);
    }
}

BOOL CProListCtrl::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // The header asks before a divider drag and before sizing a column to
    // fit; the answer 1 refuses both.
    switch (reinterpret_cast<NMHDR*>(lParam)->code) {
    case HDN_BEGINTRACKA:
    case HDN_BEGINTRACKW:
    case HDN_DIVIDERDBLCLICKA:
    case HDN_DIVIDERDBLCLICKW: *pResult = 1; return TRUE;
    default: return CListCtrl::OnNotify(wParam, lParam, pResult);
    }
}

BOOL CProListCtrl::PreTranslateMessage(MSG* pMsg)
{
    // Ctrl+A arrives as the character 1.
    if (pMsg->message == WM_CHAR && pMsg->wParam == 1)
        SetItemState(-1, LVIS_SELECTED, LVIS_SELECTED);
    return CListCtrl::PreTranslateMessage(pMsg);
}
