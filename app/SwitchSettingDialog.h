// The switch page of the settings dialog: whether Firefox follows the
// connection's proxy setting, and how automatic switching walks the list.
#pragma once

#include "afxwin.h"
#include "resource.h"
#include "toolkit/MarkupTip.h"

class CSwitchSettingDialog : public CDialog
{
public:
    CSwitchSettingDialog();

    enum
    {
        IDD = IDD_SWITCH_SETTING
    };

    // Controls from the settings' switch section, and back (the file is not
    // saved; a changed Firefox choice is applied to prefs.js at once). Both
    // do nothing while the settings are not loaded.
    void LoadFromSettings();
    void SaveToSettings();

    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    // The page lives inside the settings dialog, which alone acts on Enter and Esc.
    void OnOK() override {}
    void OnCancel() override {}

    DECLARE_MESSAGE_MAP()

private:
    CMarkupTip m_toolTip;
    CSpinButtonCtrl m_spinRatio;
    CSpinButtonCtrl m_spinInterval;
};

extern const wchar_t kFirefoxCloseQuestion[];
