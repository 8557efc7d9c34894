// Where Firefox is installed, and where its profile's prefs.js lives.
#include "net/FirefoxProxy.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <wchar.h>

#include <string>

namespace {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

class CRegKey
{
public:
    CRegKey() = default;
    ~CRegKey()
    {
        if (m_hKey)
            ::RegCloseKey(m_hKey);
    }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;

    bool Open(HKEY hParent, LPCWSTR pszSubKey)
    {
        return ::RegOpenKeyExW(hParent, pszSubKey, 0, KEY_READ | KEY_WRITE, &m_hKey) == ERROR_SUCCESS;
    }
    HKEY Get() const { return m_hKey; }

private:
    HKEY m_hKey = NULL;
};

class CFindHandle
{
public:
    explicit CFindHandle(HANDLE h) : m_h(h) {}
    ~CFindHandle()
    {
        if (m_h != INVALID_HANDLE_VALUE)
            ::FindClose(m_h);
    }
    CFindHandle(const CFindHandle&) = delete;
    CFindHandle& operator=(const CFindHandle&) = delete;
    bool IsValid() const { return m_h != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_h; }

private:
    HANDLE m_h;
};

// dst = a followed by b, or empty when that does not fit: a cut path would
// name some other file.
void JoinPath(wchar_t (&dst)[260], LPCWSTR a, LPCWSTR b)
{
    size_t na = wcslen(a), nb = wcslen(b);
    if (na + nb >= 260) {
        dst[0] = L'\0';
        return;
    }
    wmemcpy(dst, a, na);
    wmemcpy(dst + na, b, nb + 1);
}

}  // namespace

CFirefoxPaths::CFirefoxPaths()
{
    m_szExePath[0] = L'\0';
    m_szPrefsPath[0] = L'\0';
}

void CFirefoxPaths::FindFirefoxExePath()
{
    if (m_szExePath[0])
        return;

    CRegKey uninstall;
    if (!uninstall.Open(HKEY_LOCAL_MACHINE, kUninstallKey))
        return;

    for (DWORD index = 0;; ++index) {
        wchar_t szName[260];
        DWORD cchName = 260;
        LONG rc = ::RegEnumKeyExW(uninstall.Get(), index, szName, &cchName, NULL, NULL, NULL, NULL);
        if (rc == ERROR_MORE_DATA)
            continue;
        if (rc != ERROR_SUCCESS)
            return;
        if (!::StrStrIW(szName, L"firefox"))
            continue;

        // Only the first Firefox entry counts, whatever it holds.
        std::wstring key = std::wstring(kUninstallKey) + L"\\" + szName;
        CRegKey product;
        if (!product.Open(HKEY_LOCAL_MACHINE, key.c_str()))
            return;
        wchar_t szLocation[1024 + 1];
        DWORD cbLocation = 1024 * sizeof(wchar_t);
        DWORD type = 0;
        if (::RegQueryValueExW(product.Get(), L"InstallLocation", NULL, &type, reinterpret_cast<BYTE*>(szLocation),
                               &cbLocation) != ERROR_SUCCESS)
            return;
        if (type != REG_SZ && type != REG_EXPAND_SZ)
            return;
        // The stored string need not end in a NUL.
        szLocation[cbLocation / sizeof(wchar_t)] = L'\0';
        JoinPath(m_szExePath, szLocation, L"\\firefox.exe");
        return;
    }
}

void CFirefoxPaths::FindFirefoxPrefsPath()
{
    if (m_szPrefsPath[0])
        return;

    wchar_t szAppData[MAX_PATH];
    if (FAILED(::SHGetFolderPathW(NULL, CSIDL_APPDATA, NULL, SHGFP_TYPE_CURRENT, szAppData)))
        return;
    wchar_t szProfiles[260];
    JoinPath(szProfiles, szAppData, L"\\Mozilla\\Firefox\\Profiles\\");
    if (!szProfiles[0])
        return;
    wchar_t szPattern[260];
    JoinPath(szPattern, szProfiles, L"*.*");
    if (!szPattern[0])
        return;

    WIN32_FIND_DATAW data;
    CFindHandle find(::FindFirstFileW(szPattern, &data));
    if (!find.IsValid())
        return;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        // The profile's own name decides, so that a ".default" further up the
        // folder path cannot make "." or ".." a profile.
        if (!wcscmp(data.cFileName, L".") || !wcscmp(data.cFileName, L".."))
            continue;
        if (!wcsstr(data.cFileName, L".default"))
            continue;
        wchar_t szDir[260];
        JoinPath(szDir, szProfiles, data.cFileName);
        if (!szDir[0])
            continue;
        JoinPath(m_szPrefsPath, szDir, L"\\prefs.js");
        if (m_szPrefsPath[0])
            return;
    } while (::FindNextFileW(find.Get(), &data));
}

CFirefoxPaths& GetFirefoxPaths()
{
    static CFirefoxPaths s_paths = [] {
        CFirefoxPaths paths;
        paths.FindFirefoxExePath();
        paths.FindFirefoxPrefsPath();
        return paths;
    }();
    return s_paths;
}
