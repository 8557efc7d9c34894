// The product opens its links with the shell.
#include "app/LinkOpener.h"

#include <shellapi.h>

HINSTANCE ShellOpenLink(HWND hWnd, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters, LPCWSTR lpDirectory,
                        INT nShowCmd)
{
    return ShellExecuteW(hWnd, lpOperation, lpFile, lpParameters, lpDirectory, nShowCmd);
}

BOOL ShellExecuteLink(SHELLEXECUTEINFOW* pInfo)
{
    return ShellExecuteExW(pInfo);
}
