// The program's main window: proxy list, command buttons, the real and the
// current address, and the notification-area icon.
#pragma once

#include "afxwin.h"
#include "app/ProListCtrl.h"
#include "resource.h"
#include "toolkit/IconButton.h"
#include "toolkit/MarkupTip.h"
#include "toolkit/ShadeButton.h"

class CCorvaneDlg : public CDialog
{
public:
    explicit CCorvaneDlg(CWnd* pParent = NULL);
    ~CCorvaneDlg() override;

    enum
    {
        IDD = IDD_CORVANE_DIALOG
    };

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Fills the list view from the global proxy list.
    void RefreshProxyList();

    // The flag of a country-table index for the flag statics; NULL when the
    // index names no country or its flag could not be read.
    HBITMAP FlagBitmap(int nCountry) const;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // Enter must not end the modal loop behind the exit handling's back: the
    // icon would stay in the notification area. Cancel hides like Esc.
    void OnOK() override;
    void OnCancel() override;
    // The one gate of the commands that read or change the proxy list: none
    // of them runs while the harvest thread is replacing the list
    // (CorvaneDlgHarvest.cpp).
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Window messages and timers (CorvaneDlgMessages.cpp).
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnClose();
    afx_msg LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnExitApp(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnListContextMenu(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRenewPasswordNow(WPARAM wParam, LPARAM lParam);

    // Hiding the IP (CorvaneDlgHide.cpp).
    afx_msg LRESULT OnProxyInUse(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRealIPRestored(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRetestResult(WPARAM wParam, LPARAM lParam);
    afx_msg void OnHideIP();
    afx_msg void OnAutoHideIP();

    // The list view (CorvaneDlgList.cpp).
    afx_msg LRESULT OnRefreshProxyList(WPARAM wParam, LPARAM lParam);
    afx_msg void OnColumnClick(NMHDR* pNMHDR, LRESULT* pResult);

    // Harvest and statistics, reached by nothing on screen (CorvaneDlgHarvest.cpp).
    afx_msg LRESULT OnHarvestProgressStart(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHarvestProgressStep(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnHarvestRestart(WPARAM wParam, LPARAM lParam);
    afx_msg void OnUpload();
    afx_msg void OnWorker();

    // Commands on the proxy list and the tray menu (CorvaneDlgCommands.cpp).
    afx_msg void OnTrayExit();
    afx_msg void OnTrayAbout();
    afx_msg void OnTrayOpen();
    afx_msg void OnOfficialWebSite();
    afx_msg void OnGetProxy();
    afx_msg void OnTestAvailability();
    afx_msg void OnTestSpeed();
    afx_msg void OnTestSpeedButton();
    afx_msg void OnImport();
    afx_msg void OnExportAll();
    afx_msg void OnExportSelected();
    afx_msg void OnRemoveAll();
    afx_msg void OnRemoveSelected();
    afx_msg void OnGetProxyButton();
    afx_msg void OnInvertSelection();
    afx_msg void OnContextRemoveSelected();
    afx_msg void OnContextRemoveAll();
    afx_msg void OnCheckIP();
    afx_msg void OnHelp();
    // Reads a list file into the global list for Get Proxy and Import. A read
    // that changed the list but failed part-way or left it empty is shown at
    // once; true when the read was whole and left proxies to sort and show.
    bool ReadProxyListFile(LPCTSTR pszPath, bool bReplace);

    // The settings dialog (CorvaneDlgSetting.cpp).
    afx_msg void OnTraySetting();
    afx_msg void OnSettingButton();
    // The settings dialog is held off meanwhile.
    static bool IsTestOrHarvestRunning();

    DECLARE_MESSAGE_MAP()

private:
    void SetUpButtons();
    void CloseSplash();
    void AddTrayIcon();
    void LoadFlags();
    void ShowRealAddress();
    void StartRelay();
    void ShowHarvestProgress(WPARAM wParam);

    HICON m_hIcon;
    CImageList m_flagImageList;
    HBITMAP* m_phFlagBitmaps;
    NOTIFYICONDATAW m_nid;
    CProListCtrl m_listProxy;
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
