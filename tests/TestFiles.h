// Files and directories for tests: raw bytes in and out, and a temporary
// directory that goes away with everything in it.
#pragma once

#include <windows.h>

#include <stdio.h>
#include <wchar.h>

#include <string>

inline std::string ReadFileBytes(const std::wstring& path)
{
    std::string bytes;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return bytes;
    char buf[4096];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof(buf), &n, NULL) && n > 0)
        bytes.append(buf, n);
    CloseHandle(h);
    return bytes;
}

// Writes the bytes as they are (no line-end translation); false when the file cannot be made.
inline bool WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD n = 0;
    BOOL ok = bytes.empty() || WriteFile(h, bytes.data(), (DWORD)bytes.size(), &n, NULL);
    CloseHandle(h);
    return ok && n == bytes.size();
}

// Removes a file, or a directory with everything below it (read-only files too).
inline void RemoveTree(const std::wstring& path)
{
    if (path.empty())
        return;
    DWORD attr = GetFileAttributesW(path.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES)
        return;
    if (!(attr & FILE_ATTRIBUTE_DIRECTORY)) {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW data;
    HANDLE h = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (wcscmp(data.cFileName, L".") && wcscmp(data.cFileName, L".."))
                RemoveTree(path + L"\\" + data.cFileName);
        } while (FindNextFileW(h, &data));
        FindClose(h);
    }
    RemoveDirectoryW(path.c_str());
}

class CTempDir
{
public:
    explicit CTempDir(const wchar_t* prefix = L"corvane-test")
    {
        static LONG s_counter = 0;
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        wchar_t name[96];
        swprintf(name, 96, L"%ls-%lu-%ld-%lu", prefix, GetCurrentProcessId(), InterlockedIncrement(&s_counter),
                 GetTickCount());
        m_path = std::wstring(temp) + name;
        CreateDirectoryW(m_path.c_str(), NULL);
    }
    ~CTempDir() { RemoveTree(m_path); }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring File(const wchar_t* name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
};
