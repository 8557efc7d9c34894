// Resource ids of the server message and About dialogs (dialogs_server.rc).
#pragma once

#ifndef IDD_ABOUTBOX
#define IDD_ABOUTBOX 100
#endif
#ifndef IDD_PUSH_MESSAGE
#define IDD_PUSH_MESSAGE 138
#endif
#ifndef IDC_PUSH_EXIT
#define IDC_PUSH_EXIT 1037
#endif
#ifndef IDC_PUSH_WEBSITE
#define IDC_PUSH_WEBSITE 1039
#endif
#ifndef IDC_ABOUT_ICON
#define IDC_ABOUT_ICON 1061
#endif
#ifndef IDC_ABOUT_TITLE
#define IDC_ABOUT_TITLE 1062
#endif
#ifndef IDC_ABOUT_VERSION
#define IDC_ABOUT_VERSION 1063
#endif
#ifndef IDC_ABOUT_UPDATE
#define IDC_ABOUT_UPDATE 1064
#endif
