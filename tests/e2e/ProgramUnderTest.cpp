// Starts the real program in a fresh working directory and finds its windows.
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/support/E2eControlIds.h"

#include <shellapi.h>

namespace {

bool CopyTree(const std::wstring& from, const std::wstring& to)
{
    CreateDirectoryW(to.c_str(), nullptr);
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((from + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    do {
        std::wstring name = fd.cFileName;
        if (name == L"." || name == L"..")
            continue;
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            CopyTree(from + L"\\" + name, to + L"\\" + name);
        else
            CopyFileW((from + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return true;
}

}  // namespace

std::wstring TestProgramDir()
{
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    size_t slash = dir.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring(L".") : dir.substr(0, slash);
}

std::wstring MakeTempDir()
{
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    for (unsigned attempt = 0; attempt < 1000; ++attempt) {
        std::wstring dir = std::wstring(base) + L"corvane-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                           std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(attempt);
        if (CreateDirectoryW(dir.c_str(), nullptr))
            return dir;
    }
    return std::wstring();
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return condition();
        Sleep(50);
    }
}

std::wstring WindowText(HWND hWnd)
{
    wchar_t buf[512] = L"";
    DWORD_PTR len = 0;
    if (!SendMessageTimeoutW(hWnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf), SMTO_BLOCK, 10000, &len))
        return std::wstring();
    return std::wstring(buf, len);
}

std::wstring WindowClass(HWND hWnd)
{
    wchar_t buf[256] = L"";
    int n = GetClassNameW(hWnd, buf, 256);
    return std::wstring(buf, n > 0 ? n : 0);
}

std::wstring DialogItemText(HWND hDlg, int id)
{
    HWND item = GetDlgItem(hDlg, id);
    return item ? WindowText(item) : std::wstring();
}

bool TrayIconExists(HWND hWnd, UINT uID)
{
    NOTIFYICONDATAW nid = {};
    nid.cbSize = sizeof(nid);
    nid.hWnd = hWnd;
    nid.uID = uID;
    nid.uFlags = 0;
    return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

ProgramUnderTest::ProgramUnderTest() : m_pi(), m_ownsWorkDir(false) {}

ProgramUnderTest::~ProgramUnderTest()
{
    Terminate();
    if (m_ownsWorkDir)
        RemoveTree(m_workDir);
}

bool ProgramUnderTest::Start(const std::wstring& workDir)
{
    std::wstring binDir = TestProgramDir();
    if (workDir.empty()) {
        m_workDir = MakeTempDir();
        m_ownsWorkDir = true;
        if (m_workDir.empty())
            return false;
        CopyFileW((binDir + L"\\countries.crv").c_str(), (m_workDir + L"\\countries.crv").c_str(), FALSE);
        CopyTree(binDir + L"\\flags", m_workDir + L"\\flags");
    } else {
        m_workDir = workDir;
    }

    // The build that checks in with the local maker's server, never the maker's host.
    std::wstring exe = binDir + L"\\CorvaneTessalyLoopback.exe";
    std::wstring cmd = L"\"" + exe + L"\"";
    std::vector<wchar_t> cmdBuf(cmd.begin(), cmd.end());
    cmdBuf.push_back(0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    return CreateProcessW(exe.c_str(), cmdBuf.data(), nullptr, nullptr, FALSE, 0, nullptr, m_workDir.c_str(), &si,
                          &m_pi) != FALSE;
}

bool ProgramUnderTest::IsRunning() const
{
    return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

bool ProgramUnderTest::WaitForExit(DWORD timeoutMs, DWORD* pExitCode)
{
    if (!m_pi.hProcess)
        return true;
    if (WaitForSingleObject(m_pi.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    if (pExitCode)
        GetExitCodeProcess(m_pi.hProcess, pExitCode);
    return true;
}

void ProgramUnderTest::Terminate()
{
    if (!m_pi.hProcess)
        return;
    if (IsRunning()) {
        TerminateProcess(m_pi.hProcess, 1);
        WaitForSingleObject(m_pi.hProcess, 30000);
    }
    CloseHandle(m_pi.hProcess);
    CloseHandle(m_pi.hThread);
    m_pi = PROCESS_INFORMATION();
}

namespace {

struct WindowSearch
{
    DWORD pid;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND hWnd, LPARAM lParam)
{
    WindowSearch* s = reinterpret_cast<WindowSearch*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    if (pid == s->pid)
        s->found.push_back(hWnd);
    return TRUE;
}

}  // namespace

std::vector<HWND> ProgramUnderTest::TopLevelWindows() const
{
    WindowSearch search{ m_pi.dwProcessId, {} };
    if (search.pid)
        EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND ProgramUnderTest::MainWindow() const
{
    for (HWND hWnd : TopLevelWindows())
        if (WindowClass(hWnd) == L"#32770" && GetDlgItem(hWnd, kListId))
            return hWnd;
    return nullptr;
}

HWND ProgramUnderTest::SplashWindow() const
{
    for (HWND hWnd : TopLevelWindows())
        if (WindowClass(hWnd) == L"#32770" && GetDlgItem(hWnd, kSplashPictureId))
            return hWnd;
    return nullptr;
}

HWND ProgramUnderTest::MessageBoxWindow() const
{
    for (HWND hWnd : TopLevelWindows())
        if (WindowClass(hWnd) == L"#32770" && IsWindowVisible(hWnd) && GetDlgItem(hWnd, 0xFFFF) &&
            !GetDlgItem(hWnd, kListId))
            return hWnd;
    return nullptr;
}

HWND ProgramUnderTest::PopupMenuWindow() const
{
    for (HWND hWnd : TopLevelWindows())
        if (WindowClass(hWnd) == L"#32768" && IsWindowVisible(hWnd))
            return hWnd;
    return nullptr;
}
