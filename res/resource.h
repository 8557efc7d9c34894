// Resource identifiers shared by the resource script and the code.
#pragma once

// Icons
#define IDR_MAINFRAME 128
#define IDI_SETTING 154
#define IDI_TEST_SPEED 157
#define IDI_GET_PROXY 160
#define IDI_REMOVE_CUR 174
#define IDI_STOP_AUTO 183
#define IDI_AUTO_HIDE_IP 184
#define IDI_RESTORE_IP 185
#define IDI_HIDE_IP 186
#define IDI_CHECK_IP 188

// Bitmaps
#define IDB_MAIN_PLATE 169
#define IDB_SPLASH 171
#define IDB_SPLASH_TEXT 172

// Dialogs
#define IDD_CORVANE_DIALOG 102
#define IDD_SPLASH 166
#define IDD_REPLACE 164

// Menus
#define IDR_MENU_TRAY 136
#define IDR_MENU_RETRIEVE 139
#define IDR_MENU_IMPORT 140
#define IDR_MENU_CONTEXT 173

// Strings
#define IDS_ABOUTBOX 101
#define IDS_TIP_GET_PROXY 102
#define IDS_TIP_HIDE_IP 103
#define IDS_TIP_AUTO_HIDE_IP 104
#define IDS_TIP_SETTING 106
#define IDS_TIP_TEST_SPEED 116
#define IDS_TIP_REMOVE_CUR 118
#define IDS_TIP_RESTORE_IP 119
#define IDS_TIP_STOP_AUTO 120
#define IDS_TIP_CHECK_IP 121

// System-menu command (low four bits clear)
#define IDM_ABOUTBOX 0x0010

// Controls of the main window
#define IDC_WORKER 1000
#define IDC_AUTO_HIDE_IP 1001
#define IDC_HIDE_IP 1002
#define IDC_PROXY_LIST 1003
#define IDC_SETTING 1004
#define IDC_TEST_SPEED 1005
#define IDC_UPLOAD 1034
#define IDC_GET_PROXY 1036
#define IDC_CURRENT_FLAG 1040
#define IDC_REAL_IP 1041
#define IDC_CURRENT_IP 1042
#define IDC_STATUS 1051
#define IDC_MAIN_PLATE 1053
#define IDC_CHECK_IP 1057
#define IDC_REAL_IP_LABEL 1058
#define IDC_CURRENT_IP_LABEL 1059
#define IDC_REAL_FLAG 1060

// Controls of the replace-or-append dialog
#define IDC_REPLACE_CURRENT 1049
#define IDC_APPEND_CURRENT 1050

// Controls of the splash window
#define IDC_SPLASH_PICTURE 1055
#define IDC_SPLASH_TEXT 1056

// Menu commands
#define ID_TRAY_OPEN 32777
#define ID_TRAY_SETTING 32778
#define ID_TRAY_ABOUT 32779
#define ID_TRAY_EXIT 32780
#define ID_TRAY_WEBSITE 32782
#define ID_GET_PROXY 32783
#define ID_TEST_AVAILABILITY 32784
#define ID_TEST_SPEED 32785
#define ID_IMPORT 32786
#define ID_EXPORT_ALL 32787
#define ID_EXPORT_SELECTED 32788
#define ID_REMOVE_ALL 32790
#define ID_REMOVE_SELECTED 32791
#define ID_INVERT_SELECTION 32792
#define ID_CONTEXT_REMOVE_SELECTED 32793
#define ID_CONTEXT_REMOVE_ALL 32794
#define ID_TRAY_HELP 32795

// The settings dialog and its pages
#include "dialogs_setting.h"
