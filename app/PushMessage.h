// The server message dialog: a text of one or two lines from the check-in
// reply, an OK or Exit button and, for types 2 and 4, a button that opens the
// maker's web site. Types 3 and 4 end the program when dismissed.
#pragma once

#include "afxwin.h"

// The maker's home page, opened by the web-site button.
#define MAKER_HOME_PAGE L"http://www.corvanetessaly.com/"

class CPushMessage : public CDialog
{
public:
    // Each non-null text is copied; null stays null.
    CPushMessage(LPCWSTR pszLinkCaption, int nType, LPCWSTR pszText);
    ~CPushMessage() override;

    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // How the web-site button opens a page (the shell's "open" verb); a
    // test replaces it so that no browser starts.
    typedef void (*PFN_OPEN_LINK)(HWND hOwner, LPCWSTR pszUrl);
    static PFN_OPEN_LINK s_pfnOpenLink;

    // The text's lines as painted: two when it is longer than 50 and
    // shorter than 306 characters (cut at character 50), else one.
    static int SplitLines(LPCWSTR pszText, CString& strFirst, CString& strSecond);

    int m_nType;
    wchar_t* m_pszLinkCaption;
    wchar_t* m_pszText;
    CButton m_btnExit;
    CButton m_btnWebSite;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Enter ends the dialog the way its Exit button does, so a type 3 or 4
    // message never lets the program go on.
    void OnOK() override;
    void OnCancel() override;

    void OnPaint();
    void OnBnClickedExit();
    void OnClose();
    void OnOfficialWebSite();

    DECLARE_MESSAGE_MAP()

private:
    static wchar_t* CopyText(LPCWSTR psz);
    CPushMessage(const CPushMessage&) = delete;
    CPushMessage& operator=(const CPushMessage&) = delete;
};
