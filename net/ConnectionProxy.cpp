// Reads and sets the proxy option of the current Internet connection.
#include "net/ConnectionProxy.h"

#include "net/WorkerMessages.h"

#include <wininet.h>

#include <new>
#include <stdio.h>

namespace {

const size_t kTextSize = 256;

// The connection the options apply to: NULL for the local network, else the
// dial-up connection's name. False without a connection.
bool GetCurrentConnection(WCHAR* pszName, DWORD nSize, const WCHAR*& pszConnection)
{
    DWORD dwFlags = 0;
    pszName[0] = L'\0';
    if (!InternetGetConnectedStateExW(&dwFlags, pszName, nSize, 0))
        return false;
    pszConnection = (dwFlags & INTERNET_CONNECTION_LAN) ? NULL : pszName;
    return true;
}

// Sets the options on the connection and tells WinINet's users, whatever the
// set returned. The result of the set.
bool ApplyOptions(const WCHAR* pszConnection, INTERNET_PER_CONN_OPTIONW* pOptions, DWORD nCount)
{
    INTERNET_PER_CONN_OPTION_LISTW list = {};
    list.dwSize = sizeof(list);
    list.pszConnection = const_cast<WCHAR*>(pszConnection);
    list.dwOptionCount = nCount;
    list.dwOptionError = 0;
    list.pOptions = pOptions;
    BOOL bSet = InternetSetOptionW(NULL, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, sizeof(list));
    InternetSetOptionW(NULL, INTERNET_OPTION_SETTINGS_CHANGED, NULL, 0);
    InternetSetOptionW(NULL, INTERNET_OPTION_REFRESH, NULL, 0);
    return bSet != FALSE;
}

}  // namespace

bool SetBrowserProxy(CHideState& state, CProxy endpoint)
{
    WCHAR szAddress[kTextSize] = {};
    MultiByteToWideChar(CP_ACP, 0, endpoint.m_szIP, -1, szAddress, static_cast<int>(kTextSize));
    szAddress[kTextSize - 1] = L'\0';
    WCHAR szServer[kTextSize];
    _snwprintf(szServer, kTextSize, L"http=%s:%d;https=%s:%d", szAddress, endpoint.m_nPort, szAddress,
               endpoint.m_nPort);
    szServer[kTextSize - 1] = L'\0';
    WCHAR szBypass[] = L"local";

    WCHAR szName[kTextSize];
    const WCHAR* pszConnection = NULL;
    if (!GetCurrentConnection(szName, 255, pszConnection))
        return false;

    INTERNET_PER_CONN_OPTIONW* pOptions = new (std::nothrow) INTERNET_PER_CONN_OPTIONW[3];
    if (pOptions == NULL)
        return false;
    pOptions[0].dwOption = INTERNET_PER_CONN_FLAGS;
    pOptions[0].Value.dwValue = PROXY_TYPE_DIRECT | PROXY_TYPE_PROXY;
    pOptions[1].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
    pOptions[1].Value.pszValue = szServer;
    pOptions[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
    pOptions[2].Value.pszValue = szBypass;
    bool bSet = ApplyOptions(pszConnection, pOptions, 3);
    delete[] pOptions;

    if (!bSet)
        return false;
    state.m_bHidden = 1;
    return true;
}

bool RestoreDirectConnection(CHideState& state)
{
    if (state.m_bHidden == 0)
        return false;

    WCHAR szName[kTextSize];
    const WCHAR* pszConnection = NULL;
    if (!GetCurrentConnection(szName, 255, pszConnection))
        return false;

    INTERNET_PER_CONN_OPTIONW* pOptions = new (std::nothrow) INTERNET_PER_CONN_OPTIONW[1];
    if (pOptions == NULL)
        return false;
    pOptions[0].dwOption = INTERNET_PER_CONN_FLAGS;
    pOptions[0].Value.dwValue = PROXY_TYPE_DIRECT;
    bool bSet = ApplyOptions(pszConnection, pOptions, 1);
    delete[] pOptions;

    if (!bSet)
        return false;
    state.m_bHidden = 0;
    if (g_hMainWnd != NULL)
        PostMessageW(g_hMainWnd, WM_REAL_IP_RESTORED, 0, 0);
    return true;
}
