// The settings dialog: a tab control with the test page and the switch page.
// Values are checked before a page can be left or OK pressed; OK and Reset
// to Defaults save setting.crv.
#pragma once

#include "afxwin.h"
#include "resource.h"
#include "app/GetSettingDialog.h"
#include "app/SwitchSettingDialog.h"
#include "app/TestSettingDialog.h"

// The settings dialog is open: set from construction to destruction.
extern bool g_bSettingOpen;

class CSettingDialog : public CDialog
{
public:
    // Construction and destruction set and clear g_bSettingOpen.
    explicit CSettingDialog(CWnd* pParent = NULL);
    ~CSettingDialog() override;

    enum
    {
        IDD = IDD_SETTING
    };

    // True when every value on both pages is acceptable; otherwise shows the
    // first fault, selects its page's tab, focuses its control.
    bool ValidateSettings();

    CTabCtrl m_tab;
    CGetSettingDialog m_pageGet;
    CTestSettingDialog m_pageTest;
    CSwitchSettingDialog m_pageSwitch;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnTcnSelchangeTab(NMHDR* pNMHDR, LRESULT* pResult);
    afx_msg void OnBnClickedOk();
    afx_msg void OnBnClickedReset();

    DECLARE_MESSAGE_MAP()

private:
    // Shows the page of tab nTab (0 test, 1 switch) and hides the other.
    void ShowPage(int nTab);
};

extern const wchar_t kResetQuestion[];
