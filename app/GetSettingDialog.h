// The page for proxy types and countries. The settings dialog holds one but
// never creates its window, so these settings keep the values of the file.
#pragma once

#include "afxwin.h"
#include "afxcmn.h"
#include "resource.h"
#include "toolkit/MarkupTip.h"

#include <vector>

class CGetSettingDialog : public CDialog
{
public:
    CGetSettingDialog();

    enum
    {
        IDD = IDD_GET_SETTING
    };

    BOOL PreTranslateMessage(MSG* pMsg) override;

    CListCtrl m_listUnselected;
    CListCtrl m_listSelected;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override {}
    void OnCancel() override {}

    afx_msg void OnAllCountries();
    afx_msg void OnAddAll();
    afx_msg void OnAdd();
    afx_msg void OnRemove();
    afx_msg void OnRemoveAll();

    DECLARE_MESSAGE_MAP()

private:
    // Marks the selected rows of list as bSelected in the selection copy.
    void MoveSelectedRows(CListCtrl& list, unsigned char bSelected);
    void FillLists();

    CMarkupTip m_toolTip;
    std::vector<unsigned char> m_selection;  // one byte per country, 1 = selected
};
