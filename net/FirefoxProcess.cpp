// Finding, ending and starting Firefox, and bringing prefs.js in line with
// the settings around a running Firefox.
#include "net/FirefoxProxy.h"

#include <psapi.h>
#include <shlwapi.h>

const wchar_t kFirefoxStartupQuestion[] =
    L"Firefox'setting is not consistent,Do you want to close Firefox to change its setting?";

namespace {

// A process given up by a dying Firefox must not be waited on for ever.
const DWORD kTerminateWaitMs = 5000;

class CHandle
{
public:
    explicit CHandle(HANDLE h) : m_h(h) {}
    ~CHandle()
    {
        if (m_h)
            ::CloseHandle(m_h);
    }
    CHandle(const CHandle&) = delete;
    CHandle& operator=(const CHandle&) = delete;
    HANDLE Get() const { return m_h; }

private:
    HANDLE m_h;
};

}  // namespace

DWORD FindFirefoxProcess(const CFirefoxPaths& paths)
{
    if (!paths.IsComplete())
        return 0;
    DWORD ids[1024];
    DWORD cbNeeded = 0;
    if (!::EnumProcesses(ids, sizeof(ids), &cbNeeded))
        return 0;
    DWORD count = cbNeeded / sizeof(DWORD);
    for (DWORD i = 0; i < count; ++i) {
        if (ids[i] == 0)
            continue;
        wchar_t szName[260] = L"<unknown>";
        CHandle process(::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ids[i]));
        if (process.Get()) {
            HMODULE hModule = NULL;
            DWORD cbModules = 0;
            if (::EnumProcessModules(process.Get(), &hModule, sizeof(hModule), &cbModules)) {
                wchar_t szBase[260];
                if (::GetModuleBaseNameW(process.Get(), hModule, szBase, 260))
                    wcscpy(szName, szBase);
            }
        }
        if (::StrStrIW(szName, L"firefox"))
            return ids[i];
    }
    return 0;
}

bool TerminateFirefox(const CFirefoxPaths& paths, DWORD dwProcessId)
{
    if (!paths.IsComplete())
        return false;
    CHandle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, dwProcessId));
    if (!process.Get())
        return false;
    if (!::TerminateProcess(process.Get(), 0))
        return false;
    // Give the process time to let go of its profile, or the Firefox started
    // next finds the old one still holding it.
    ::WaitForSingleObject(process.Get(), kTerminateWaitMs);
    return true;
}

bool StartFirefox(const CFirefoxPaths& paths)
{
    if (!paths.IsComplete())
        return false;
    STARTUPINFOW si;
    ZeroMemory(&si, sizeof(si));
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi;
    ZeroMemory(&pi, sizeof(pi));
    if (!::CreateProcessW(paths.m_szExePath, NULL, NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
        return false;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return true;
}

void ChangeFirefoxProxySetting(HWND hOwner, const CFirefoxPaths& paths, bool follow, LPCWSTR pszQuestion)
{
    DWORD id = FindFirefoxProcess(paths);
    if (!id) {
        SetFirefoxFollowSystemProxy(paths, follow);
        return;
    }
    if (::MessageBoxW(hOwner, pszQuestion, AfxGetAppName(), MB_YESNO) != IDYES)
        return;
    if (!TerminateFirefox(paths, id))
        return;
    SetFirefoxFollowSystemProxy(paths, follow);
    StartFirefox(paths);
}

void SyncFirefoxAtStartup(HWND hOwner, bool bFirefox)
{
    SyncFirefoxAtStartup(hOwner, GetFirefoxPaths(), bFirefox);
}

void SyncFirefoxAtStartup(HWND hOwner, const CFirefoxPaths& paths, bool bFirefox)
{
    bool follows = true;
    if (!IsFirefoxFollowingSystemProxy(paths, follows) || follows || !bFirefox)
        return;
    ChangeFirefoxProxySetting(hOwner, paths, true, kFirefoxStartupQuestion);
}
