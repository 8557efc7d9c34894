#include "app/CorvaneMessages.h"

HWND g_hMainWnd = NULL;
bool g_bAboutOpen = false;
bool g_bSettingOpen = false;
