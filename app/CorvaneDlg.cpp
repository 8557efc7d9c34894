#include "app/CorvaneDlg.h"

#include "app/CorvaneMessages.h"

BEGIN_MESSAGE_MAP(CCorvaneDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_TIMER()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_MESSAGE(WM_TRAY_NOTIFY, &CCorvaneDlg::OnTrayNotify)
    ON_MESSAGE(WM_EXIT_APP, &CCorvaneDlg::OnExitApp)
    ON_MESSAGE(WM_LIST_CONTEXT_MENU, &CCorvaneDlg::OnListContextMenu)
    ON_MESSAGE(WM_HARVEST_PROGRESS_START, &CCorvaneDlg::OnHarvestProgressStart)
    ON_MESSAGE(WM_HARVEST_PROGRESS_STEP, &CCorvaneDlg::OnHarvestProgressStep)
END_MESSAGE_MAP()

CCorvaneDlg::CCorvaneDlg(CWnd* pParent)
    : CDialog(IDD_CORVANE_DIALOG, pParent),
      m_hIcon(NULL),
      m_phFlagBitmaps(NULL),
      m_nid(),
      m_nHarvestTotal(0),
      m_nHarvestDone(0),
      m_nSortKey(3),
      m_bSortAscending(true)
{
    m_hIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(IDR_MAINFRAME)
                          : ::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

CCorvaneDlg::~CCorvaneDlg()
{
    delete[] m_phFlagBitmaps;
}

void CCorvaneDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PROXY_LIST, m_listProxy);
    DDX_Control(pDX, IDC_GET_PROXY, m_btnGetProxy);
    DDX_Control(pDX, IDC_SETTING, m_btnSetting);
    DDX_Control(pDX, IDC_HIDE_IP, m_btnHideIP);
    DDX_Control(pDX, IDC_AUTO_HIDE_IP, m_btnAutoHideIP);
    DDX_Control(pDX, IDC_TEST_SPEED, m_btnTestSpeed);
    DDX_Control(pDX, IDC_STATUS, m_stStatus);
    DDX_Control(pDX, IDC_CHECK_IP, m_btnCheckIP);
}

BOOL CCorvaneDlg::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
        PostMessage(WM_SIZE, SIZE_MINIMIZED, 0);
        return TRUE;
    }
    m_toolTip.RelayEvent(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

void CCorvaneDlg::OnOK()
{
}

void CCorvaneDlg::OnCancel()
{
    PostMessage(WM_SIZE, SIZE_MINIMIZED, 0);
}

void CCorvaneDlg::OnClose()
{
    PostMessage(WM_SIZE, SIZE_MINIMIZED, 0);
}

void CCorvaneDlg::OnSize(UINT nType, int cx, int cy)
{
    CDialog::OnSize(nType, cx, cy);
    if (nType == SIZE_MINIMIZED)
        ShowWindow(SW_HIDE);
}

LRESULT CCorvaneDlg::OnExitApp(WPARAM, LPARAM)
{
    Shell_NotifyIconW(NIM_DELETE, &m_nid);
    ExitProcess(0xFFFFFFFF);
    return 0;
}
