// The program's main window: proxy list, command buttons, the real and the
// current address, and the notification-area icon.
#pragma once

#include "afxwin.h"
#include "resource.h"
#include "toolkit/IconButton.h"
#include "toolkit/MarkupTip.h"
#include "toolkit/ShadeButton.h"

class CCorvaneDlg : public CDialog
{
public:
    explicit CCorvaneDlg(CWnd* pParent = NULL);
    ~CCorvaneDlg() override;

    enum { IDD = IDD_CORVANE_DIALOG };

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Enter must not end the modal loop behind the exit handling's back: the
    // icon would stay in the notification area. Cancel hides like Esc.
    void OnOK() override;
    void OnCancel() override;

    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnClose();
    afx_msg LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnExitApp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnListContextMenu(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHarvestProgressStart(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHarvestProgressStep(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    void SetUpButtons();
    void CloseSplash();
    void AddTrayIcon();
    void ShowHarvestProgress(WPARAM wParam);

    HICON m_hIcon;
    CImageList m_flagImageList;
    HBITMAP* m_phFlagBitmaps;
    NOTIFYICONDATAW m_nid;
    CListCtrl m_listProxy;
    int m_nHarvestTotal;
    int m_nHarvestDone;
    CMarkupTip m_toolTip;
    int m_nSortKey;
    bool m_bSortAscending;
    CShadeButton m_btnGetProxy;
    CShadeButton m_btnSetting;
    CShadeButton m_btnHideIP;
    CShadeButton m_btnAutoHideIP;
    CShadeButton m_btnTestSpeed;
    CIconButton m_btnCheckIP;
    CStatic m_stStatus;
};
