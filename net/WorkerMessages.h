// What the workers and the relay post to the main window: their messages,
// the relay's timer id, and the window they post to.
#pragma once

#include <windows.h>

// Posted to the main window (g_hMainWnd), except WM_TEST_PROGRESS, which goes
// to the progress dialog.
#define WM_PROXY_IN_USE (WM_USER + 102)
#define WM_REAL_IP_RESTORED (WM_USER + 103)
#define WM_TEST_PROGRESS (WM_USER + 104)
#define WM_RETEST_RESULT (WM_USER + 106)
#define WM_REFRESH_PROXY_LIST (WM_USER + 107)
// Posted by a relay thread after a 407 answer: the main window arms timer 3
// itself (a window's timers belong to its own thread).
#define WM_RENEW_PASSWORD_NOW (WM_USER + 108)
#define WM_HARVEST_PROGRESS_START (WM_USER + 151)
#define WM_HARVEST_PROGRESS_STEP (WM_USER + 152)
#define WM_HARVEST_RESTART (WM_USER + 153)

// The main window's timer that requests a new relay password; the relay arms
// it with PASSWORD_REQUEST_NOW_MS for an immediate renewal.
#define TIMER_PASSWORD_REQUEST 3
#define PASSWORD_REQUEST_NOW_MS 100

// The main window; every worker posts its messages here (NULL before it exists).
extern HWND g_hMainWnd;
