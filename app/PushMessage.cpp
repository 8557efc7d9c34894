// The server message dialog of the check-in reply and its exit and web-site buttons.
#include "app/PushMessage.h"

#include "app/LinkOpener.h"

#include "app/CorvaneMessages.h"
#include "res/dialogs_server.h"

#include <wchar.h>

namespace {

void ShellOpenLink(HWND hOwner, LPCWSTR pszUrl)
{
    ShellOpenLink(hOwner, L"open", pszUrl, NULL, NULL, SW_SHOW);
}

const int kLineLength = 50;
const int kMaxSplitLength = 306;

}  // namespace

CPushMessage::PFN_OPEN_LINK CPushMessage::s_pfnOpenLink = ShellOpenLink;

BEGIN_MESSAGE_MAP(CPushMessage, CDialog)
ON_BN_CLICKED(IDC_PUSH_EXIT, &CPushMessage::OnBnClickedExit)
ON_BN_CLICKED(IDC_PUSH_WEBSITE, &CPushMessage::OnOfficialWebSite)
ON_WM_PAINT()
ON_WM_CLOSE()
END_MESSAGE_MAP()

wchar_t* CPushMessage::CopyText(LPCWSTR psz)
{
    if (psz == NULL)
        return NULL;
    size_t n = wcslen(psz) + 1;
    wchar_t* pCopy = new wchar_t[n];
    wmemcpy(pCopy, psz, n);
    return pCopy;
}

CPushMessage::CPushMessage(LPCWSTR pszLinkCaption, int nType, LPCWSTR pszText)
    : CDialog(IDD_PUSH_MESSAGE, NULL),
      m_nType(nType),
      m_pszLinkCaption(CopyText(pszLinkCaption)),
      m_pszText(CopyText(pszText))
{}

CPushMessage::~CPushMessage()
{
    delete[] m_pszLinkCaption;
    delete[] m_pszText;
}

void CPushMessage::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PUSH_EXIT, m_btnExit);
    DDX_Control(pDX, IDC_PUSH_WEBSITE, m_btnWebSite);
}

BOOL CPushMessage::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_nType == 1 || m_nType == 2)
        m_btnExit.SetWindowText(L"OK");
    if (m_nType == 1 || m_nType == 3)
        m_btnWebSite.ShowWindow(SW_HIDE);
    else if (m_pszLinkCaption != NULL)
        m_btnWebSite.SetWindowText(m_pszLinkCaption);
    return TRUE;
}

BOOL CPushMessage::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        OnBnClickedExit();
        return TRUE;
    }
    return CDialog::PreTranslateMessage(pMsg);
}

void CPushMessage::OnBnClickedExit()
{
    if (m_nType == 1 || m_nType == 2) {
        EndDialog(IDOK);
        return;
    }
    CWnd* pMain = AfxGetMainWnd();
    HWND hMain = pMain != NULL ? pMain->GetSafeHwnd() : NULL;
    if (hMain == NULL || hMain == m_hWnd)
        hMain = g_hMainWnd;
    if (hMain != NULL && ::IsWindow(hMain))
        ::SendMessageW(hMain, WM_EXIT_APP, 0, 0);
}

void CPushMessage::OnClose()
{
    OnBnClickedExit();
}

void CPushMessage::OnOK()
{
    OnBnClickedExit();
}

void CPushMessage::OnCancel()
{
    OnBnClickedExit();
}

void CPushMessage::OnOfficialWebSite()
{
    if (s_pfnOpenLink != NULL)
        s_pfnOpenLink(m_hWnd, MAKER_HOME_PAGE);
}

int CPushMessage::SplitLines(LPCWSTR pszText, CString& strFirst, CString& strSecond)
{
    strFirst.Empty();
    strSecond.Empty();
    if (pszText == NULL)
        return 0;
    int nLength = (int)wcslen(pszText);
    if (nLength > kLineLength && nLength < kMaxSplitLength) {
        strFirst = CString(pszText, kLineLength);
        strSecond = CString(pszText + kLineLength, nLength - kLineLength);
        return 2;
    }
    strFirst = pszText;
    return 1;
}

void CPushMessage::OnPaint()
{
    CPaintDC dc(this);
    if (m_pszText == NULL || m_nType < 1 || m_nType > 4)
        return;
    dc.SetBkMode(TRANSPARENT);
    if (m_nType == 3 || m_nType == 4)
        dc.SetTextColor(RGB(255, 0, 0));
    CString strFirst, strSecond;
    if (SplitLines(m_pszText, strFirst, strSecond) == 2) {
        dc.TextOut(45, 15, strFirst);
        dc.TextOut(45, 45, strSecond);
    } else {
        dc.TextOut(45, 30, strFirst);
    }
}
