// The main window's message map, construction and the state its handlers share.
#include "app/CorvaneDlg.h"

#include "app/CorvaneMessages.h"
#include "net/ConnectionProxy.h"
#include "net/HideState.h"
#include "proxy/CountryTable.h"

BEGIN_MESSAGE_MAP(CCorvaneDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_WM_TIMER()
ON_WM_SIZE()
ON_WM_CLOSE()
ON_MESSAGE(WM_TRAY_NOTIFY, &CCorvaneDlg::OnTrayNotify)
ON_MESSAGE(WM_EXIT_APP, &CCorvaneDlg::OnExitApp)
ON_MESSAGE(WM_PROXY_IN_USE, &CCorvaneDlg::OnProxyInUse)
ON_MESSAGE(WM_REAL_IP_RESTORED, &CCorvaneDlg::OnRealIPRestored)
ON_MESSAGE(WM_LIST_CONTEXT_MENU, &CCorvaneDlg::OnListContextMenu)
ON_MESSAGE(WM_RETEST_RESULT, &CCorvaneDlg::OnRetestResult)
ON_MESSAGE(WM_REFRESH_PROXY_LIST, &CCorvaneDlg::OnRefreshProxyList)
ON_MESSAGE(WM_RENEW_PASSWORD_NOW, &CCorvaneDlg::OnRenewPasswordNow)
ON_MESSAGE(WM_HARVEST_PROGRESS_START, &CCorvaneDlg::OnHarvestProgressStart)
ON_MESSAGE(WM_HARVEST_PROGRESS_STEP, &CCorvaneDlg::OnHarvestProgressStep)
ON_MESSAGE(WM_HARVEST_RESTART, &CCorvaneDlg::OnHarvestRestart)
ON_BN_CLICKED(IDC_UPLOAD, &CCorvaneDlg::OnUpload)
ON_COMMAND(ID_TRAY_EXIT, &CCorvaneDlg::OnTrayExit)
ON_COMMAND(ID_TRAY_SETTING, &CCorvaneDlg::OnTraySetting)
ON_COMMAND(ID_TRAY_ABOUT, &CCorvaneDlg::OnTrayAbout)
ON_COMMAND(ID_TRAY_OPEN, &CCorvaneDlg::OnTrayOpen)
ON_COMMAND(ID_TRAY_WEBSITE, &CCorvaneDlg::OnOfficialWebSite)
ON_BN_CLICKED(IDC_WORKER, &CCorvaneDlg::OnWorker)
ON_COMMAND(ID_GET_PROXY, &CCorvaneDlg::OnGetProxy)
ON_COMMAND(ID_TEST_AVAILABILITY, &CCorvaneDlg::OnTestAvailability)
ON_COMMAND(ID_TEST_SPEED, &CCorvaneDlg::OnTestSpeed)
ON_BN_CLICKED(IDC_SETTING, &CCorvaneDlg::OnSettingButton)
ON_BN_CLICKED(IDC_HIDE_IP, &CCorvaneDlg::OnHideIP)
ON_BN_CLICKED(IDC_AUTO_HIDE_IP, &CCorvaneDlg::OnAutoHideIP)
ON_BN_CLICKED(IDC_TEST_SPEED, &CCorvaneDlg::OnTestSpeedButton)
ON_COMMAND(ID_IMPORT, &CCorvaneDlg::OnImport)
ON_COMMAND(ID_EXPORT_ALL, &CCorvaneDlg::OnExportAll)
ON_COMMAND(ID_EXPORT_SELECTED, &CCorvaneDlg::OnExportSelected)
ON_COMMAND(ID_REMOVE_ALL, &CCorvaneDlg::OnRemoveAll)
ON_COMMAND(ID_REMOVE_SELECTED, &CCorvaneDlg::OnRemoveSelected)
ON_BN_CLICKED(IDC_GET_PROXY, &CCorvaneDlg::OnGetProxyButton)
ON_NOTIFY(LVN_COLUMNCLICK, IDC_PROXY_LIST, &CCorvaneDlg::OnColumnClick)
ON_COMMAND(ID_INVERT_SELECTION, &CCorvaneDlg::OnInvertSelection)
ON_COMMAND(ID_CONTEXT_REMOVE_SELECTED, &CCorvaneDlg::OnContextRemoveSelected)
ON_COMMAND(ID_CONTEXT_REMOVE_ALL, &CCorvaneDlg::OnContextRemoveAll)
ON_BN_CLICKED(IDC_CHECK_IP, &CCorvaneDlg::OnCheckIP)
ON_COMMAND(ID_TRAY_HELP, &CCorvaneDlg::OnHelp)
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
    if (m_phFlagBitmaps) {
        const int nCount = GetCountryTable().GetCount();
        for (int i = 0; i < nCount; ++i)
            if (m_phFlagBitmaps[i])
                ::DeleteObject(m_phFlagBitmaps[i]);
        delete[] m_phFlagBitmaps;
    }
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
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_DELETE) {
        // Through the command gate, like the menu's Remove Selected.
        SendMessage(WM_COMMAND, MAKEWPARAM(ID_REMOVE_SELECTED, 0), 0);
        return TRUE;
    }
    m_toolTip.RelayEvent(pMsg);
    return CDialog::PreTranslateMessage(pMsg);
}

void CCorvaneDlg::OnOK() {}

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
    CHideState& state = GetHideState();
    if (state.m_bHidden) {
        int nAnswer = MessageBox(L"Your real IP is hidden, do you want to restore it?", L"Corvane", MB_YESNOCANCEL);
        if (nAnswer == IDCANCEL)
            return 0;
        if (nAnswer == IDYES)
            RestoreDirectConnection(state);
    }
    Shell_NotifyIconW(NIM_DELETE, &m_nid);
    ExitProcess(0xFFFFFFFF);
    return 0;
}
