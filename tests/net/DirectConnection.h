// Page fetches through WinINet take the connection's proxy setting; a test
// that sets it (or a program that ended while hidden) must not send them to
// a relay that is gone.
#pragma once

#include <windows.h>
#include <wininet.h>

inline bool UseDirectConnection()
{
    INTERNET_PER_CONN_OPTIONW option = {};
    option.dwOption = INTERNET_PER_CONN_FLAGS;
    option.Value.dwValue = PROXY_TYPE_DIRECT;
    INTERNET_PER_CONN_OPTION_LISTW list = {};
    list.dwSize = sizeof(list);
    list.pszConnection = NULL;
    list.dwOptionCount = 1;
    list.pOptions = &option;
    if (!InternetSetOptionW(NULL, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, sizeof(list)))
        return false;
    InternetSetOptionW(NULL, INTERNET_OPTION_SETTINGS_CHANGED, NULL, 0);
    InternetSetOptionW(NULL, INTERNET_OPTION_REFRESH, NULL, 0);
    return true;
}
