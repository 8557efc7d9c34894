// The main window's custom messages and timers, and the globals through which
// other windows and threads reach it.
#pragma once

#include <windows.h>

// Custom window messages. WM_TEST_PROGRESS goes to the progress dialog; all
// others go to the main window (g_hMainWnd).
#define WM_TRAY_NOTIFY              (WM_USER + 100)
#define WM_EXIT_APP                 (WM_USER + 101)
#define WM_PROXY_IN_USE             (WM_USER + 102)
#define WM_REAL_IP_RESTORED         (WM_USER + 103)
#define WM_TEST_PROGRESS            (WM_USER + 104)
#define WM_LIST_CONTEXT_MENU        (WM_USER + 105)
#define WM_RETEST_RESULT            (WM_USER + 106)
#define WM_REFRESH_PROXY_LIST       (WM_USER + 107)
// Posted by a relay thread after a 407 answer: arm timer 3 now.
#define WM_RENEW_PASSWORD_NOW       (WM_USER + 108)
#define WM_HARVEST_PROGRESS_START   (WM_USER + 151)
#define WM_HARVEST_PROGRESS_STEP    (WM_USER + 152)
#define WM_HARVEST_RESTART          (WM_USER + 153)

// Timers of the main window.
#define TIMER_AUTO_SWITCH           1
#define TIMER_PASSWORD_CHECK        2
#define TIMER_PASSWORD_REQUEST      3

// Period of the password check, and the relay's delay for an immediate renewal.
#define PASSWORD_CHECK_PERIOD_MS    300000
#define PASSWORD_REQUEST_NOW_MS     100

// The notification-area icon's id (the icon resource's id).
#define TRAY_ICON_ID                128

// The main window; every worker posts its messages here.
extern HWND g_hMainWnd;
// The About dialog is open.
extern bool g_bAboutOpen;
// The settings dialog is open.
extern bool g_bSettingOpen;
