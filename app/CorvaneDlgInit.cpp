// Start-up of the main window, which is also the program's start-up after the
// application object.
#include "app/CorvaneDlg.h"

#include "app/CorvaneApp.h"
#include "app/CorvaneMessages.h"
#include "app/SkinH.h"
#include "app/SplashThread.h"

namespace {

struct ColumnDef {
    LPCWSTR title;
    int width;
};

// The port is kept in the list but not shown.
const ColumnDef kColumns[] = {
    {L"Country", 140}, {L"IP", 112}, {L"Port", 0}, {L"Type", 95}, {L"Uptime", 51}, {L"Speed", 100},
};

}  // namespace

BOOL CCorvaneDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    CMenu* pSysMenu = GetSystemMenu(FALSE);
    if (pSysMenu) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

    SkinH_Attach();
    m_toolTip.Create(this);
    g_hMainWnd = GetSafeHwnd();

    for (int i = 0; i < static_cast<int>(sizeof(kColumns) / sizeof(kColumns[0])); ++i)
        m_listProxy.InsertColumn(i, kColumns[i].title, LVCFMT_LEFT, kColumns[i].width);
    m_listProxy.SetExtendedStyle(m_listProxy.GetExtendedStyle() | LVS_EX_FULLROWSELECT);

    GetDlgItem(IDC_WORKER)->ShowWindow(SW_HIDE);
    GetDlgItem(IDC_UPLOAD)->ShowWindow(SW_HIDE);
    GetDlgItem(IDC_STATUS)->ShowWindow(SW_HIDE);

    SetUpButtons();

    CloseSplash();

    AddTrayIcon();

    SetTimer(TIMER_PASSWORD_CHECK, PASSWORD_CHECK_PERIOD_MS, NULL);
    return TRUE;
}

void CCorvaneDlg::SetUpButtons()
{
    struct ButtonDef {
        CShadeButton* button;
        UINT icon;
        UINT tip;
    };
    const ButtonDef shaded[] = {
        {&m_btnGetProxy, IDI_GET_PROXY, IDS_TIP_GET_PROXY},
        {&m_btnHideIP, IDI_HIDE_IP, IDS_TIP_HIDE_IP},
        {&m_btnAutoHideIP, IDI_AUTO_HIDE_IP, IDS_TIP_AUTO_HIDE_IP},
        {&m_btnTestSpeed, IDI_TEST_SPEED, IDS_TIP_TEST_SPEED},
        {&m_btnSetting, IDI_SETTING, IDS_TIP_SETTING},
    };
    for (const ButtonDef& def : shaded) {
        def.button->SetShade();
        def.button->SetAlign(CIconButton::BUTTON_ALIGN_VERTICAL);
        def.button->SetIconById(def.icon);
        m_toolTip.AddTool(def.button, def.tip);
    }

    m_btnCheckIP.SetFlat(FALSE);
    m_btnCheckIP.SetAlign(CIconButton::BUTTON_ALIGN_HORIZONTAL);
    m_btnCheckIP.SetIconById(IDI_CHECK_IP);
    m_toolTip.AddTool(&m_btnCheckIP, IDS_TIP_CHECK_IP);
}

void CCorvaneDlg::CloseSplash()
{
    CCorvaneApp* pApp = dynamic_cast<CCorvaneApp*>(AfxGetApp());
    if (!pApp || !pApp->m_pSplashThread)
        return;
    CSplashThread* pSplash = dynamic_cast<CSplashThread*>(pApp->m_pSplashThread);
    if (pSplash)
        pSplash->CloseSplash();
}

void CCorvaneDlg::AddTrayIcon()
{
    m_nid.cbSize = sizeof(NOTIFYICONDATAW);
    m_nid.hWnd = GetSafeHwnd();
    m_nid.uID = TRAY_ICON_ID;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_nid.uCallbackMessage = WM_TRAY_NOTIFY;
    m_nid.hIcon = m_hIcon;
    lstrcpynW(m_nid.szTip, L"Corvane : Real IP", sizeof(m_nid.szTip) / sizeof(m_nid.szTip[0]));
    Shell_NotifyIconW(NIM_ADD, &m_nid);
}
