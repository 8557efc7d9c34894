// Starts the real program in a fresh working directory and finds its windows.
#pragma once

#include "tests/TestFiles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class ProgramUnderTest
{
public:
    ProgramUnderTest();
    // Always ends the process: the program's mutex is machine-wide.
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    // Starts CorvaneTessalyLoopback.exe from the test program's directory with a new
    // temporary working directory (or the given one), holding copies of the
    // country table and the flags when they lie beside the program.
    bool Start(const std::wstring& workDir = std::wstring());

    bool IsRunning() const;
    // Waits for the process to end; false on time-out.
    bool WaitForExit(DWORD timeoutMs, DWORD* pExitCode = nullptr);
    void Terminate();

    DWORD ProcessId() const { return m_pi.dwProcessId; }
    const std::wstring& WorkDir() const { return m_workDir; }

    // Top-level windows of the process.
    std::vector<HWND> TopLevelWindows() const;
    // The main window: the dialog holding the proxy list (NULL when none).
    HWND MainWindow() const;
    // The splash window: the dialog holding the splash picture.
    HWND SplashWindow() const;
    // A message box of the process (a dialog with a static text of id -1).
    HWND MessageBoxWindow() const;
    // An open pop-up menu of the process.
    HWND PopupMenuWindow() const;

private:
    PROCESS_INFORMATION m_pi;
    std::wstring m_workDir;
    bool m_ownsWorkDir;
};

// Polls until the condition holds; false when it does not within the time.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = 60000);

std::wstring WindowText(HWND hWnd);
std::wstring WindowClass(HWND hWnd);
std::wstring DialogItemText(HWND hDlg, int id);
std::wstring TestProgramDir();
std::wstring MakeTempDir();

// Whether the notification area holds the icon (hWnd, uID): a modification
// that changes nothing succeeds only for an icon that is there.
bool TrayIconExists(HWND hWnd, UINT uID);
