// The loopback program and the tests note each link in links.log instead of
// opening it.
#include "app/LinkOpener.h"

#include <shellapi.h>
#include <stdio.h>
#include <wchar.h>

#include <string>

namespace {

std::string Utf8(LPCWSTR psz)
{
    if (psz == NULL || *psz == 0)
        return std::string();
    int n = WideCharToMultiByte(CP_UTF8, 0, psz, -1, NULL, 0, NULL, NULL);
    if (n <= 1)
        return std::string();
    std::string s(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, psz, -1, &s[0], n, NULL, NULL);
    s.resize(static_cast<size_t>(n - 1));
    return s;
}

}  // namespace

HINSTANCE ShellOpenLink(HWND hWnd, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters, LPCWSTR lpDirectory,
                        INT nShowCmd)
{
    char szTail[64];
    snprintf(szTail, sizeof(szTail), "\t%d\t%llx\r\n", nShowCmd,
             static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hWnd)));
    std::string line =
        Utf8(lpOperation) + "\t" + Utf8(lpFile) + "\t" + Utf8(lpParameters) + "\t" + Utf8(lpDirectory) + szTail;
    HANDLE h = CreateFileW(LINK_RECORD_FILE, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_ACCESSDENIED));
    DWORD nWritten = 0;
    WriteFile(h, line.data(), static_cast<DWORD>(line.size()), &nWritten, NULL);
    CloseHandle(h);
    // What the shell returns for success: a value above 32.
    return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(42));
}

BOOL ShellExecuteLink(SHELLEXECUTEINFOW* pInfo)
{
    if (pInfo == NULL || pInfo->cbSize != sizeof(*pInfo))
        return FALSE;
    pInfo->hInstApp =
        ShellOpenLink(pInfo->hwnd, pInfo->lpVerb, pInfo->lpFile, pInfo->lpParameters, pInfo->lpDirectory, pInfo->nShow);
    return reinterpret_cast<INT_PTR>(pInfo->hInstApp) > 32;
}
