// The main window's proxy list view: the Speed column drawn as one progress
// bar per row, columns the user cannot resize, Ctrl+A, and a context menu
// that the main window shows.
#pragma once

#include "afxwin.h"

#include <utility>
#include <vector>

// Sub-item of the Speed column, whose cells are drawn as bars.
#define PROXY_COLUMN_SPEED 5
// Control id of row i's bar: PROGRESS_BAR_ID_BASE + i.
#define PROGRESS_BAR_ID_BASE 4096
// Widest a bar is drawn, in pixels.
#define PROGRESS_BAR_MAX_WIDTH 100

class CProListCtrl : public CListCtrl
{
public:
    CProListCtrl();
    ~CProListCtrl() override;

    // Deletes every row's bar, then every row.
    void RemoveAllItems();
    // Hides the bars of rows out of view and repaints the visible Speed
    // cells, whose custom draw puts their bars back in place.
    void UpdateProgressBars();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnCustomDraw(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDeleteAllItems(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnDestroy();
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnContextMenu(CWnd* pWnd, CPoint point);

    DECLARE_MESSAGE_MAP()

private:
    CProgressCtrl* GetBar(int nItem) const;
    // The rows that have a bar, with it.
    std::vector<std::pair<int, CProgressCtrl*>> GetBars() const;
    void DeleteAllBars();
    void HideBarsOutOfView();
    CProgressCtrl* CreateBar(const CRect& rect, int nItem);
    void DrawSpeedBar(int nItem);
};
