// The default hooks of CLinkLauncher: the shell and CreateProcessW.
#include "toolkit/LinkLauncher.h"

#include <shellapi.h>

#include <vector>

CLinkLauncher::OpenProc CLinkLauncher::s_pfnOpen = &CLinkLauncher::ShellOpen;
CLinkLauncher::StartProc CLinkLauncher::s_pfnStart = &CLinkLauncher::CreateProcessStart;

void CLinkLauncher::SetOpener(OpenProc pfn)
{
    s_pfnOpen = pfn != NULL ? pfn : &CLinkLauncher::ShellOpen;
}

void CLinkLauncher::SetStarter(StartProc pfn)
{
    s_pfnStart = pfn != NULL ? pfn : &CLinkLauncher::CreateProcessStart;
}

HINSTANCE CLinkLauncher::Open(LPCWSTR pszUrl)
{
    return s_pfnOpen(NULL, L"open", pszUrl, NULL, NULL, SW_SHOW);
}

BOOL CLinkLauncher::Start(LPCWSTR pszCommandLine)
{
    return s_pfnStart(pszCommandLine);
}

HINSTANCE CLinkLauncher::ShellOpen(HWND hWnd, LPCWSTR lpOperation, LPCWSTR lpFile, LPCWSTR lpParameters,
                                   LPCWSTR lpDirectory, INT nShowCmd)
{
    return ::ShellExecuteW(hWnd, lpOperation, lpFile, lpParameters, lpDirectory, nShowCmd);
}

BOOL CLinkLauncher::CreateProcessStart(LPCWSTR pszCommandLine)
{
    if (pszCommandLine == NULL || *pszCommandLine == 0)
        return FALSE;
    // CreateProcessW may write into its command line, so it gets a copy.
    std::vector<wchar_t> buf(pszCommandLine, pszCommandLine + lstrlenW(pszCommandLine) + 1);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(NULL, buf.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return FALSE;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return TRUE;
}

CString CLinkLauncher::CommandWithUrl(const CString& sCommand, const CString& sUrl)
{
    CString sLine = sCommand;
    int nCut = sLine.Find(L"\"%1\"");
    if (nCut < 0)
        nCut = sLine.Find(L"%1");
    if (nCut >= 0)
        sLine = sLine.Left(nCut);
    CString sQuoted = sUrl;
    sQuoted.Replace(L"\"", L"%22");
    return sLine + L" \"" + sQuoted + L"\"";
}
