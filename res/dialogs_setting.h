// Resource ids of the settings dialog and its pages (dialogs_setting.rc).
#pragma once

// Dialogs
#define IDD_SETTING                     129
#define IDD_GET_SETTING                 130
#define IDD_TEST_SETTING                131
#define IDD_SWITCH_SETTING              132

// Settings dialog
#define IDC_SETTING_TAB                 1008
#define IDC_SETTING_RESET               1052

// Test page
#define IDC_TEST_URL                    1010
#define IDC_TEST_TIMEOUT                1011
#define IDC_TEST_THREADS                1012
#define IDC_TEST_EXPECTED               1013
#define IDC_TEST_TIMEOUT_SPIN           1045
#define IDC_TEST_THREADS_SPIN           1046
#define IDC_TEST_TYPE_NONE              1047
#define IDC_TEST_TYPE_AVAILABILITY      1048
#define IDC_TEST_TYPE_SPEED             1049

// Switch page
#define IDC_SWITCH_INTERVAL             1016
#define IDC_SWITCH_RATIO                1017
#define IDC_SWITCH_INTERVAL_SPIN        1018
#define IDC_SWITCH_RATIO_SPIN           1019
#define IDC_SWITCH_IE                   1020
#define IDC_SWITCH_FIREFOX              1021

// Page for proxy types and countries
#define IDC_GET_ELITE                   1012
#define IDC_GET_ANONYMOUS               1013
#define IDC_GET_TRANSPARENT             1014
#define IDC_GET_ALL_COUNTRIES           1022
#define IDC_GET_UNSELECTED              1023
#define IDC_GET_SELECTED                1024
#define IDC_GET_ADD_ALL                 1025
#define IDC_GET_ADD                     1026
#define IDC_GET_REMOVE                  1027
#define IDC_GET_REMOVE_ALL              1028

// Tips of the pages (116, the Test Speed tip, is shared with the main window)
#define IDS_TIP_RATIO                   109
#define IDS_TIP_INTERVAL                110
#define IDS_TIP_THREADS                 111
#define IDS_TIP_TIMEOUT                 112
#define IDS_TIP_TEST_URL                113
#define IDS_TIP_NO_TEST                 114
#define IDS_TIP_TEST_AVAILABILITY       115
#define IDS_TIP_EXPECTED                117
#define IDS_TIP_ELITE                   122
#define IDS_TIP_ANONYMOUS               123
#define IDS_TIP_FIREFOX                 124
