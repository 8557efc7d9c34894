// The test page of the settings dialog: how proxies are tested after Get
// Proxy (test type, thread count, time-out, test page and expected text).
#pragma once

#include "afxwin.h"
#include "resource.h"
#include "toolkit/MarkupTip.h"

class CTestSettingDialog : public CDialog
{
public:
    CTestSettingDialog();

    enum
    {
        IDD = IDD_TEST_SETTING
    };

    // Controls from the settings' test section, and back (the file is not
    // saved); both do nothing while the settings are not loaded.
    void LoadFromSettings();
    void SaveToSettings();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // The page lives inside the settings dialog, which alone acts on Enter and Esc.
    void OnOK() override {}
    void OnCancel() override {}

    afx_msg void OnTestTypeClicked();

    DECLARE_MESSAGE_MAP()

private:
    CMarkupTip m_toolTip;
    CSpinButtonCtrl m_spinThreads;
    CSpinButtonCtrl m_spinTimeout;
};
