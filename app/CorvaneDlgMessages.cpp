// The main window's window messages, timers and notification-area icon.
#include "app/CorvaneDlg.h"

#include "app/AboutDlg.h"
#include "app/CorvaneMessages.h"
#include "app/SettingDialog.h"
#include "net/PasswordRenewal.h"
#include "net/Harvest.h"
#include "net/HideState.h"
#include "net/ServerRequest.h"
#include "net/UpstreamSwitch.h"

void CCorvaneDlg::OnPaint()
{
    if (IsIconic()) {
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        int cxIcon = GetSystemMetrics(SM_CXICON);
        int cyIcon = GetSystemMetrics(SM_CYICON);
        CRect rect;
        GetClientRect(&rect);
        int x = (rect.Width() - cxIcon + 1) / 2;
        int y = (rect.Height() - cyIcon + 1) / 2;
        dc.DrawIcon(x, y, m_hIcon);
    } else {
        CDialog::OnPaint();
    }
}

HCURSOR CCorvaneDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

void CCorvaneDlg::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case TIMER_AUTO_SWITCH:
        // A harvest replacing the list skips this turn; the next tick switches.
        if (!IsHarvestRunning())
            SwitchToNextProxy(GetHideState(), true);
        break;
    case TIMER_PASSWORD_CHECK: {
        UINT delay = PasswordCheckDelay(CurrentRenewalTime(), g_nextPasswordTime, g_lastPasswordRequestTime);
        if (delay)
            SetTimer(TIMER_PASSWORD_REQUEST, delay, NULL);
        break;
    }
    case TIMER_PASSWORD_REQUEST:
        KillTimer(TIMER_PASSWORD_REQUEST);
        NotePasswordRequest(CurrentRenewalTime(), g_lastPasswordRequestTime);
        RequestProxyPassword();
        break;
    default: break;
    }
}

LRESULT CCorvaneDlg::OnRenewPasswordNow(WPARAM, LPARAM)
{
    // The relay asks from its own threads; the timer is armed here, on the
    // window's thread, as Windows requires.
    SetTimer(TIMER_PASSWORD_REQUEST, PASSWORD_REQUEST_NOW_MS, NULL);
    return 0;
}

LRESULT CCorvaneDlg::OnTrayNotify(WPARAM, LPARAM lParam)
{
    switch (static_cast<UINT>(lParam)) {
    case WM_LBUTTONDBLCLK:
        ShowWindow(SW_SHOWNORMAL);
        SetForegroundWindow();
        break;
    case WM_RBUTTONDOWN: {
        POINT pt;
        GetCursorPos(&pt);
        HMENU hMenu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MENU_TRAY));
        if (!hMenu)
            break;
        HMENU hPopup = ::GetSubMenu(hMenu, 0);
        // The settings must not change under a browser pointed at the relay,
        // nor under a running test or harvest.
        if (g_bSettingOpen || GetHideState().m_bHidden || IsTestOrHarvestRunning())
            ::EnableMenuItem(hPopup, ID_TRAY_SETTING, MF_BYCOMMAND | MF_GRAYED);
        if (g_bAboutOpen)
            ::EnableMenuItem(hPopup, ID_TRAY_ABOUT, MF_BYCOMMAND | MF_GRAYED);
        SetForegroundWindow();
        ::TrackPopupMenu(hPopup, TPM_RIGHTBUTTON, pt.x, pt.y, 0, GetSafeHwnd(), NULL);
        PostMessage(WM_NULL, 0, 0);
        ::DestroyMenu(hMenu);
        break;
    }
    default: break;
    }
    return 0;
}

LRESULT CCorvaneDlg::OnListContextMenu(WPARAM, LPARAM lParam)
{
    HMENU hMenu = ::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDR_MENU_CONTEXT));
    if (!hMenu)
        return 0;
    int x = static_cast<short>(LOWORD(lParam));
    int y = static_cast<short>(HIWORD(lParam));
    ::TrackPopupMenu(::GetSubMenu(hMenu, 0), TPM_RIGHTBUTTON, x, y, 0, GetSafeHwnd(), NULL);
    ::DestroyMenu(hMenu);
    return 0;
}

void CCorvaneDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        // The notification-area menu greys its About while this one is open.
        g_bAboutOpen = true;
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}
