// The main window's own custom messages and timers, and the globals through
// which other windows reach it; what the workers post is in net/WorkerMessages.h.
#pragma once

#include <windows.h>

#include "net/WorkerMessages.h"

// Custom window messages of the main window.
#define WM_TRAY_NOTIFY (WM_USER + 100)
#define WM_EXIT_APP (WM_USER + 101)
#define WM_LIST_CONTEXT_MENU (WM_USER + 105)

// Timers of the main window (TIMER_PASSWORD_REQUEST is the relay's).
#define TIMER_AUTO_SWITCH 1
#define TIMER_PASSWORD_CHECK 2

// Period of the password check.
#define PASSWORD_CHECK_PERIOD_MS 300000

// The notification-area icon's id (the icon resource's id).
#define TRAY_ICON_ID 128

// The About dialog is open.
extern bool g_bAboutOpen;
