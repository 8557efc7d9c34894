// What the Firefox tests put into the Wine prefix, and take out again: Uninstall
// sub-keys, profile directories under the real application-data folder, the
// stand-in firefox.exe and the processes started from it.
#pragma once

#include "net/FirefoxProxy.h"
#include "tests/TestFiles.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace firefox_test {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// Every sub-key the tests make carries this mark, so leftovers of a broken run can be found.
const wchar_t kKeyMark[] = L"corvane-test";

inline void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    ASSERT_TRUE(WriteFileBytes(path, bytes)) << "cannot write the test file";
}

inline bool Exists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Sub-keys of the Uninstall key of HKEY_LOCAL_MACHINE, deleted at the end.
class CUninstallKeys
{
public:
    CUninstallKeys() { RemoveMarked(); }
    ~CUninstallKeys() { RemoveMarked(); }
    CUninstallKeys(const CUninstallKeys&) = delete;
    CUninstallKeys& operator=(const CUninstallKeys&) = delete;

    // An empty location makes a key without the InstallLocation value.
    void Add(const std::wstring& name, const std::wstring& location)
    {
        ASSERT_NE(std::wstring::npos, name.find(kKeyMark));
        HKEY h = NULL;
        std::wstring path = std::wstring(kUninstallKey) + L"\\" + name;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &h, NULL));
        if (!location.empty())
            RegSetValueExW(h, L"InstallLocation", 0, REG_SZ, (const BYTE*)location.c_str(),
                           (DWORD)((location.size() + 1) * sizeof(wchar_t)));
        RegCloseKey(h);
    }

    static std::vector<std::wstring> SubKeys()
    {
        std::vector<std::wstring> names;
        HKEY h = NULL;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &h) != ERROR_SUCCESS)
            return names;
        for (DWORD i = 0;; ++i) {
            wchar_t name[260];
            DWORD cch = 260;
            LONG rc = RegEnumKeyExW(h, i, name, &cch, NULL, NULL, NULL, NULL);
            if (rc == ERROR_MORE_DATA)
                continue;
            if (rc != ERROR_SUCCESS)
                break;
            names.push_back(name);
        }
        RegCloseKey(h);
        return names;
    }

    static bool HasFirefoxKey()
    {
        for (const std::wstring& name : SubKeys())
            if (StrStrIW(name.c_str(), L"firefox"))
                return true;
        return false;
    }

private:
    static void RemoveMarked()
    {
        for (const std::wstring& name : SubKeys())
            if (name.find(kKeyMark) != std::wstring::npos)
                RegDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(kUninstallKey) + L"\\" + name).c_str());
    }
};

// The Profiles folder under the real application-data folder; whatever of
// Mozilla\Firefox\Profiles did not exist before is removed at the end.
class CProfilesFolder
{
public:
    CProfilesFolder()
    {
        wchar_t appData[MAX_PATH];
        if (FAILED(SHGetFolderPathW(NULL, CSIDL_APPDATA, NULL, SHGFP_TYPE_CURRENT, appData)))
            return;
        std::wstring path = appData;
        for (const wchar_t* part : { L"\\Mozilla", L"\\Firefox", L"\\Profiles" }) {
            path += part;
            if (!Exists(path)) {
                if (m_firstMade.empty())
                    m_firstMade = path;
                CreateDirectoryW(path.c_str(), NULL);
            }
        }
        m_path = path;
        // Leftovers of a broken run.
        WIN32_FIND_DATAW data;
        HANDLE h = FindFirstFileW((m_path + L"\\*").c_str(), &data);
        std::vector<std::wstring> stale;
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (wcsstr(data.cFileName, kKeyMark))
                    stale.push_back(m_path + L"\\" + data.cFileName);
            } while (FindNextFileW(h, &data));
            FindClose(h);
        }
        for (const std::wstring& entry : stale)
            RemoveTree(entry);
    }
    ~CProfilesFolder()
    {
        for (const std::wstring& entry : m_made)
            RemoveTree(entry);
        if (!m_firstMade.empty())
            RemoveTree(m_firstMade);
    }
    CProfilesFolder(const CProfilesFolder&) = delete;
    CProfilesFolder& operator=(const CProfilesFolder&) = delete;

    bool IsUsable() const { return !m_path.empty() && Exists(m_path) && IsEmpty(); }

    // A profile directory with the given prefs.js; returns its prefs.js path.
    std::wstring AddProfile(const wchar_t* name, const std::string& prefs = std::string())
    {
        std::wstring dir = m_path + L"\\" + name;
        CreateDirectoryW(dir.c_str(), NULL);
        m_made.push_back(dir);
        WriteBytes(dir + L"\\prefs.js", prefs);
        return dir + L"\\prefs.js";
    }

    void AddFile(const wchar_t* name)
    {
        std::wstring file = m_path + L"\\" + name;
        m_made.push_back(file);
        WriteBytes(file, "x");
    }

    // The directories in the order the file system gives them.
    std::vector<std::wstring> WalkOrder() const
    {
        std::vector<std::wstring> dirs;
        WIN32_FIND_DATAW data;
        HANDLE h = FindFirstFileW((m_path + L"\\*.*").c_str(), &data);
        if (h == INVALID_HANDLE_VALUE)
            return dirs;
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && wcscmp(data.cFileName, L".") &&
                wcscmp(data.cFileName, L".."))
                dirs.push_back(data.cFileName);
        } while (FindNextFileW(h, &data));
        FindClose(h);
        return dirs;
    }

    const std::wstring& Path() const { return m_path; }

private:
    bool IsEmpty() const
    {
        WIN32_FIND_DATAW data;
        HANDLE h = FindFirstFileW((m_path + L"\\*").c_str(), &data);
        bool empty = true;
        if (h != INVALID_HANDLE_VALUE) {
            do {
                if (wcscmp(data.cFileName, L".") && wcscmp(data.cFileName, L".."))
                    empty = false;
            } while (empty && FindNextFileW(h, &data));
            FindClose(h);
        }
        return empty;
    }

    std::wstring m_path;
    std::wstring m_firstMade;
    std::vector<std::wstring> m_made;
};

// The stand-in firefox.exe built beside the tests.
inline std::wstring StandInDir()
{
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(NULL, exe, MAX_PATH);
    std::wstring path = exe;
    path = path.substr(0, path.find_last_of(L'\\')) + L"\\..\\firefox-standin";
    wchar_t full[MAX_PATH];
    GetFullPathNameW(path.c_str(), MAX_PATH, full, NULL);
    return full;
}

inline std::wstring StandInExe()
{
    return StandInDir() + L"\\firefox.exe";
}

// Paths that make every operation act: the program and a prefs.js.
inline CFirefoxPaths MakePaths(const std::wstring& exe, const std::wstring& prefs)
{
    CFirefoxPaths paths;
    wcsncpy(paths.m_szExePath, exe.c_str(), 259);
    paths.m_szExePath[259] = L'\0';
    wcsncpy(paths.m_szPrefsPath, prefs.c_str(), 259);
    paths.m_szPrefsPath[259] = L'\0';
    return paths;
}

inline bool WaitUntil(bool (*condition)(const CFirefoxPaths&), const CFirefoxPaths& paths, DWORD timeoutMs = 30000)
{
    DWORD start = GetTickCount();
    while (!condition(paths)) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

// Ends every process of the prefix whose name holds "firefox": only the tests
// start such processes there.
inline void EndAllFirefoxes()
{
    CFirefoxPaths paths = MakePaths(L"x", L"x");
    for (int i = 0; i < 20; ++i) {
        DWORD id = FindFirefoxProcess(paths);
        if (!id)
            return;
        HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
        if (!h) {
            Sleep(100);
            continue;
        }
        TerminateProcess(h, 0);
        WaitForSingleObject(h, 10000);
        CloseHandle(h);
        Sleep(50);
    }
}

}  // namespace firefox_test
