// Runs the settings dialog modally on a thread of its own, so that the test's
// thread can type into it, click it, answer its message boxes and read it
// back, all through window messages.
#pragma once

#include "net/FirefoxProxy.h"
#include "app/SettingDialog.h"
#include "proxy/Settings.h"
#include "tests/TestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace settingdlg {

const DWORD kWaitMs = 20000;

inline bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = kWaitMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(10);
    }
    return true;
}

inline std::wstring WindowText(HWND hWnd)
{
    wchar_t text[1024] = L"";
    GetWindowTextW(hWnd, text, 1024);
    return text;
}

// Texts of a box's controls, joined by '|'.
inline std::wstring BoxTexts(HWND hBox)
{
    std::wstring texts;
    for (HWND c = GetWindow(hBox, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        texts += WindowText(c) + L"|";
    return texts;
}

struct BoxSearch
{
    HWND hExclude;
    HWND hFound;
};

inline BOOL CALLBACK FindBoxProc(HWND h, LPARAM lp)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    wchar_t cls[32] = L"";
    GetClassNameW(h, cls, 32);
    if (pid == GetCurrentProcessId() && h != search->hExclude && !wcscmp(cls, L"#32770") && IsWindowVisible(h)) {
        search->hFound = h;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog box of this process other than hExclude, or NULL.
inline HWND FindOtherBox(HWND hExclude)
{
    BoxSearch search = { hExclude, NULL };
    EnumWindows(FindBoxProc, reinterpret_cast<LPARAM>(&search));
    return search.hFound;
}

class CSettingDialogRun
{
public:
    CSettingDialogRun() : m_thread([this] { Run(); }) {}

    ~CSettingDialogRun()
    {
        // A failed test may leave a box or the dialog open.
        for (int i = 0; i < 50 && !m_done; ++i) {
            HWND hBox = FindOtherBox(m_hDlg);
            if (hBox)
                PostMessageW(hBox, WM_CLOSE, 0, 0);
            else if (m_hDlg)
                PostMessageW(m_hDlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            Sleep(100);
        }
        if (m_thread.joinable())
            m_thread.join();
    }
    CSettingDialogRun(const CSettingDialogRun&) = delete;
    CSettingDialogRun& operator=(const CSettingDialogRun&) = delete;

    // The dialog once its pages are filled; NULL when it does not come up.
    HWND Dialog()
    {
        WaitFor([this] { return m_hDlg != NULL && IsWindowVisible(m_hDlg); });
        return m_hDlg;
    }
    HWND Tab() { return GetDlgItem(Dialog(), IDC_SETTING_TAB); }
    // The page holding control nID among the tab control's children.
    HWND PageOf(int nID)
    {
        for (HWND c = GetWindow(Tab(), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if (GetDlgItem(c, nID))
                return c;
        return NULL;
    }
    HWND TestPage() { return PageOf(IDC_TEST_TYPE_NONE); }
    HWND SwitchPage() { return PageOf(IDC_SWITCH_FIREFOX); }
    HWND TestItem(int nID) { return GetDlgItem(TestPage(), nID); }
    HWND SwitchItem(int nID) { return GetDlgItem(SwitchPage(), nID); }

    void SetText(HWND hEdit, const std::wstring& text) { SendMessageW(hEdit, WM_SETTEXT, 0, (LPARAM)text.c_str()); }
    int CurTab() { return (int)SendMessageW(Tab(), TCM_GETCURSEL, 0, 0); }
    HWND Focus()
    {
        GUITHREADINFO info = { sizeof(info) };
        GetGUIThreadInfo(m_threadId, &info);
        return info.hwndFocus;
    }

    // A click on the tab header, as the mouse gives it.
    void ClickTab(int nTab)
    {
        RECT rc = {};
        SendMessageW(Tab(), TCM_GETITEMRECT, nTab, (LPARAM)&rc);
        LPARAM pt = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        PostMessageW(Tab(), WM_LBUTTONDOWN, MK_LBUTTON, pt);
        PostMessageW(Tab(), WM_LBUTTONUP, 0, pt);
    }
    void ClickButton(int nID)
    {
        PostMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)GetDlgItem(Dialog(), nID));
    }
    void Click(HWND hButton) { PostMessageW(hButton, BM_CLICK, 0, 0); }

    // Switches to tab nTab with every value valid; false when it does not happen.
    bool GoToTab(int nTab)
    {
        ClickTab(nTab);
        HWND hPage = nTab == 0 ? TestPage() : SwitchPage();
        return WaitFor([&] { return IsWindowVisible(hPage) && CurTab() == nTab; });
    }

    // The box whose text is exactly text; NULL when none comes.
    HWND WaitForBox(const std::wstring& text, DWORD timeoutMs = kWaitMs)
    {
        HWND hFound = NULL;
        WaitFor(
            [&] {
                HWND hBox = FindOtherBox(m_hDlg);
                if (hBox && (L"|" + BoxTexts(hBox)).find(L"|" + text + L"|") != std::wstring::npos)
                    hFound = hBox;
                return hFound != NULL;
            },
            timeoutMs);
        return hFound;
    }
    // Any box of this process but the dialog, waiting a little for one.
    HWND AnyBox(DWORD timeoutMs = 500)
    {
        HWND hFound = NULL;
        WaitFor([&] { return (hFound = FindOtherBox(m_hDlg)) != NULL; }, timeoutMs);
        return hFound;
    }
    // Presses a box's button and waits for the box to go.
    bool Answer(HWND hBox, int nID)
    {
        PostMessageW(hBox, WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), (LPARAM)GetDlgItem(hBox, nID));
        return WaitFor([&] { return !IsWindow(hBox); });
    }

    // The dialog's result once it has ended; -2 while it runs.
    INT_PTR WaitForEnd(DWORD timeoutMs = kWaitMs)
    {
        WaitFor([this] { return m_done.load(); }, timeoutMs);
        return m_done ? m_result.load() : -2;
    }
    bool IsOpen() const { return !m_done; }
    DWORD ThreadId() const { return m_threadId; }

private:
    void Run()
    {
        m_threadId = GetCurrentThreadId();
        CSettingDialog dlg;
        // A timer of this thread hands the window out from inside the modal loop.
        s_pDlg = &dlg;
        s_pRun = this;
        UINT_PTR timer = SetTimer(NULL, 0, 10, OnTimer);
        m_result = dlg.DoModal();
        KillTimer(NULL, timer);
        s_pRun = nullptr;
        s_pDlg = nullptr;
        m_done = true;
    }

    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_pRun && s_pDlg->GetSafeHwnd())
            s_pRun->m_hDlg = s_pDlg->GetSafeHwnd();
    }

    static inline CSettingDialogRun* s_pRun = nullptr;
    static inline CSettingDialog* s_pDlg = nullptr;
    std::atomic<HWND> m_hDlg{ NULL };
    std::atomic<DWORD> m_threadId{ 0 };
    std::atomic<bool> m_done{ false };
    std::atomic<INT_PTR> m_result{ -2 };
    std::thread m_thread;
};

// A working directory of its own for setting.crv, a chosen fetch of the
// test definition and no Firefox, all put back afterwards.
class CSettingsSandbox
{
public:
    explicit CSettingsSandbox(PFN_FETCH_TEST_DEFINITION pfnFetch)
        : m_oldFetch(g_pfnFetchTestDefinition), m_oldPaths(GetFirefoxPaths())
    {
        GetCurrentDirectoryW(MAX_PATH, m_oldDir);
        SetCurrentDirectoryW(m_dir.Path().c_str());
        g_pfnFetchTestDefinition = pfnFetch;
        GetFirefoxPaths() = CFirefoxPaths();
    }
    ~CSettingsSandbox()
    {
        GetSettings().Clear();
        GetSettings().m_bLoaded = false;
        GetFirefoxPaths() = m_oldPaths;
        g_pfnFetchTestDefinition = m_oldFetch;
        SetCurrentDirectoryW(m_oldDir);
    }
    CSettingsSandbox(const CSettingsSandbox&) = delete;
    CSettingsSandbox& operator=(const CSettingsSandbox&) = delete;

    // Writes setting.crv from the defaults as edit changes them, then loads
    // it as the program does when it starts.
    template <typename EDIT>
    void Start(EDIT edit)
    {
        CSettings settings;
        SetDefaultSettings(settings);
        edit(settings);
        ASSERT_TRUE(SaveSettings(settings));
        ASSERT_TRUE(LoadSettings(GetSettings()));
    }

    std::string FileBytes() const { return ReadFileBytes(m_dir.File(L"setting.crv")); }
    const CTempDir& Dir() const { return m_dir; }

private:
    CTempDir m_dir;
    wchar_t m_oldDir[MAX_PATH];
    PFN_FETCH_TEST_DEFINITION m_oldFetch;
    CFirefoxPaths m_oldPaths;
};

}  // namespace settingdlg
