// A temporary directory for the data-file tests, removed with its files.
#pragma once

#include <windows.h>

#include <stdio.h>
#include <wchar.h>

#include <string>

class CProxyTestDir
{
public:
    CProxyTestDir()
    {
        static LONG s_nCounter = 0;
        wchar_t szTemp[MAX_PATH];
        GetTempPathW(MAX_PATH, szTemp);
        wchar_t szName[64];
        swprintf(szName, 64, L"corvane-test-%lu-%ld-%lu", GetCurrentProcessId(),
                 InterlockedIncrement(&s_nCounter), GetTickCount());
        m_strPath = std::wstring(szTemp) + szName;
        CreateDirectoryW(m_strPath.c_str(), NULL);
    }

    ~CProxyTestDir()
    {
        WIN32_FIND_DATAW data;
        HANDLE hFind = FindFirstFileW((m_strPath + L"\\*").c_str(), &data);
        if (hFind != INVALID_HANDLE_VALUE)
        {
            do
            {
                if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileW((m_strPath + L"\\" + data.cFileName).c_str());
            } while (FindNextFileW(hFind, &data));
            FindClose(hFind);
        }
        RemoveDirectoryW(m_strPath.c_str());
    }

    CProxyTestDir(const CProxyTestDir&) = delete;
    CProxyTestDir& operator=(const CProxyTestDir&) = delete;

    std::wstring File(const wchar_t* pszName) const { return m_strPath + L"\\" + pszName; }

    // Writes the bytes as they are (no line-end translation).
    static void WriteBytes(const std::wstring& strPath, const std::string& strBytes)
    {
        HANDLE h = CreateFileW(strPath.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, NULL);
        DWORD nWritten = 0;
        if (h != INVALID_HANDLE_VALUE)
        {
            if (!strBytes.empty())
                WriteFile(h, strBytes.data(), (DWORD)strBytes.size(), &nWritten, NULL);
            CloseHandle(h);
        }
    }

    static std::string ReadBytes(const std::wstring& strPath)
    {
        std::string strBytes;
        HANDLE h = CreateFileW(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, NULL);
        if (h == INVALID_HANDLE_VALUE)
            return strBytes;
        char buf[4096];
        DWORD nRead = 0;
        while (ReadFile(h, buf, sizeof(buf), &nRead, NULL) && nRead > 0)
            strBytes.append(buf, nRead);
        CloseHandle(h);
        return strBytes;
    }

    const std::wstring& Path() const { return m_strPath; }

private:
    std::wstring m_strPath;
};
