// The ids by which the end-to-end tests reach the program's controls, menu
// commands and tray icon from outside its process, spelled once. They are
// written out rather than taken from res/resource.h, so a changed id fails
// the tests as it would fail any outside tool.
#pragma once

#include <windows.h>

// The main window's controls.
constexpr int kWorkerId = 1000;
constexpr int kAutoHideIPId = 1001;
constexpr int kHideIPId = 1002;
constexpr int kListId = 1003;
constexpr int kSettingId = 1004;
constexpr int kTestSpeedId = 1005;
constexpr int kUploadId = 1034;
constexpr int kGetProxyId = 1036;
constexpr int kCurrentFlagId = 1040;
constexpr int kRealIPId = 1041;
constexpr int kCurrentIPId = 1042;
constexpr int kStatusId = 1051;
constexpr int kCheckIPId = 1057;

// The other windows' controls.
constexpr int kTabId = 1008;            // settings dialog
constexpr int kResetId = 1052;          // settings dialog
constexpr int kPushExit = 1037;         // server message dialog
constexpr int kPushWebSite = 1039;      // server message dialog
constexpr int kReplaceId = 1049;        // replace or append dialog
constexpr int kAppendId = 1050;         // replace or append dialog
constexpr int kSplashPictureId = 1055;  // splash screen

// Menu commands: the list's context menu and the tray menu.
constexpr int kTrayOpen = 32777;
constexpr int kTrayMenuSetting = 32778;
constexpr int kTrayAbout = 32779;
constexpr int kTrayExit = 32780;
constexpr int kTrayWebSite = 32782;
constexpr int kTestAvailability = 32784;
constexpr int kImport = 32786;
constexpr int kExportAll = 32787;
constexpr int kExportSelected = 32788;
constexpr int kRemoveAll = 32790;
constexpr int kRemoveSelected = 32791;
constexpr int kInvertSelection = 32792;
constexpr int kContextRemoveSelected = 32793;
constexpr int kContextRemoveAll = 32794;
constexpr int kTrayHelp = 32795;

// The tray icon and its callback message, and the main window's timer of
// automatic switching.
constexpr UINT kTrayIconId = 128;
constexpr UINT kTrayNotify = WM_USER + 100;
constexpr UINT kTimerAutoSwitch = 1;
