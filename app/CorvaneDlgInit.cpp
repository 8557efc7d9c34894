// Start-up of the main window, which is also the program's start-up after the
// application object.
#include "app/CorvaneDlg.h"

#include "app/CorvaneApp.h"
#include "app/CorvaneMessages.h"
#include "app/LinkOpener.h"
#include "app/SkinH.h"
#include "app/SplashThread.h"
#include "app/CheckInReply.h"
#include "net/CheckIn.h"
#include "net/FirefoxProxy.h"
#include "net/MachineIdentity.h"
#include "net/RelayServer.h"
#include "net/ServerRequest.h"
#include "proxy/CountryTable.h"
#include "proxy/Settings.h"
#include "toolkit/LinkLauncher.h"

namespace {

struct ColumnDef
{
    LPCWSTR title;
    int width;
};

// The port is kept in the list but not shown.
const ColumnDef kColumns[] = {
    { L"Country", 140 }, { L"IP", 112 }, { L"Port", 0 }, { L"Type", 95 }, { L"Uptime", 51 }, { L"Speed", 100 },
};

const int kFlagWidth = 25;
const int kFlagHeight = 15;
const int kMaxAddressLength = 15;

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

    // Default test settings come from the maker's test definition.
    g_pfnFetchTestDefinition = FetchTestDefinition;
    InitSettings();

    if (GetMacAddress() == NULL) {
        MessageBox(L"Could not find network connection in your system.", NULL, MB_OK);
        SendMessage(WM_EXIT_APP, 0, 0);
        return TRUE;
    }

    for (int i = 0; i < static_cast<int>(sizeof(kColumns) / sizeof(kColumns[0])); ++i)
        m_listProxy.InsertColumn(i, kColumns[i].title, LVCFMT_LEFT, kColumns[i].width);
    m_listProxy.SetExtendedStyle(m_listProxy.GetExtendedStyle() | LVS_EX_FULLROWSELECT);

    LoadFlags();

    GetDlgItem(IDC_WORKER)->ShowWindow(SW_HIDE);
    GetDlgItem(IDC_UPLOAD)->ShowWindow(SW_HIDE);
    GetDlgItem(IDC_STATUS)->ShowWindow(SW_HIDE);

    SetUpButtons();

    // The request carries the program's version; it blocks until the server
    // answers or the connection fails.
    CStringA strReply = SendStartRequest();
    CloseSplash();
    if (!HandleStartReply(strReply, this)) {
        SendMessage(WM_EXIT_APP, 0, 0);
        return TRUE;
    }

    ShowRealAddress();

    CSettingSwitchItem* pSwitch = GetSettings().GetSwitch();
    SyncFirefoxAtStartup(GetSafeHwnd(), pSwitch != NULL && pSwitch->m_bFirefox);

    AddTrayIcon();

    StartRelay();

    SetTimer(TIMER_PASSWORD_CHECK, PASSWORD_CHECK_PERIOD_MS, NULL);
    return TRUE;
}

void CCorvaneDlg::LoadFlags()
{
    const int nCount = GetCountryTable().GetCount();
    if (m_flagImageList.GetSafeHandle() != NULL || nCount <= 0)
        return;
    if (!m_flagImageList.Create(kFlagWidth, kFlagHeight, ILC_COLOR24 | ILC_MASK, 8, 1))
        return;
    // Every country has its index from the start, blank until its flag is read.
    m_flagImageList.SetImageCount(static_cast<UINT>(nCount));

    m_phFlagBitmaps = new HBITMAP[nCount]();
    for (int i = 0; i < nCount; ++i) {
        CString strPath = GetFlagPath(i);
        if (strPath.IsEmpty())
            continue;
        CImage listImage;
        CImage staticImage;
        if (listImage.Load(strPath) != S_OK || staticImage.Load(strPath) != S_OK)
            continue;
        // The image list keeps a copy; the second bitmap stays for the flag statics.
        m_flagImageList.Replace(i, static_cast<HBITMAP>(listImage), static_cast<HBITMAP>(NULL));
        m_phFlagBitmaps[i] = staticImage.Detach();
    }

    m_listProxy.SetImageList(&m_flagImageList, LVSIL_SMALL);
}

HBITMAP CCorvaneDlg::FlagBitmap(int nCountry) const
{
    // The array was made for the whole table, which is loaded once per run.
    if (m_phFlagBitmaps == NULL || nCountry < 0 || nCountry >= GetCountryTable().GetCount())
        return NULL;
    return m_phFlagBitmaps[nCountry];
}

void CCorvaneDlg::ShowRealAddress()
{
    const char* pszAddress = GetRealIPAddress();
    if (pszAddress != NULL) {
        CString strAddress(pszAddress);
        if (strAddress.GetLength() <= kMaxAddressLength) {
            SetDlgItemText(IDC_REAL_IP, strAddress);
            SetDlgItemText(IDC_CURRENT_IP, strAddress);
        }
    }

    HBITMAP hFlag = FlagBitmap(g_nRealCountry);
    SendDlgItemMessage(IDC_REAL_FLAG, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hFlag));
    SendDlgItemMessage(IDC_CURRENT_FLAG, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hFlag));
}

void CCorvaneDlg::SetUpButtons()
{
    struct ButtonDef
    {
        CShadeButton* button;
        UINT icon;
        UINT tip;
    };
    const ButtonDef shaded[] = {
        { &m_btnGetProxy, IDI_GET_PROXY, IDS_TIP_GET_PROXY },
        { &m_btnHideIP, IDI_HIDE_IP, IDS_TIP_HIDE_IP },
        { &m_btnAutoHideIP, IDI_AUTO_HIDE_IP, IDS_TIP_AUTO_HIDE_IP },
        { &m_btnTestSpeed, IDI_TEST_SPEED, IDS_TIP_TEST_SPEED },
        { &m_btnSetting, IDI_SETTING, IDS_TIP_SETTING },
    };
    for (const ButtonDef& def : shaded) {
        def.button->SetShade();
        def.button->SetAlign(CIconButton::BUTTON_ALIGN_VERTICAL);
        def.button->SetIconById(def.icon);
        m_toolTip.AddTool(def.button, def.tip);
    }

    // The buttons' pages open through the build's link opener.
    CIconButton::SetUrlOpener(&ShellExecuteLink);
    CLinkLauncher::SetOpener(&ShellOpenLink);  // and the tips' links

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

void CCorvaneDlg::StartRelay()
{
    // The relay also takes every renewed password from here on.
    g_pfnSetRelayCredentials = SetRelayCredentials;
    CSettingMiscItem* pMisc = GetSettings().GetMisc();
    StartRelayServer(pMisc != NULL ? pMisc->m_szProxyUser : "", g_szProxyPassword);
}
