// Drives modal windows of another thread from a thread of the test: finds
// the dialogs and message boxes that thread shows, reads their controls back
// and presses their buttons by messages. Observations are recorded and
// checked on the test's own thread once the modal loop has returned.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

class CModalWindowWatcher
{
public:
    explicit CModalWindowWatcher(DWORD dwUiThread) : m_dwUiThread(dwUiThread) {}
    ~CModalWindowWatcher() { Stop(); }

    // Runs script on the watcher thread. Once the script is over, every
    // message box the UI thread still shows is answered with OK, so that a
    // script that lost its way cannot leave the modal loop hanging.
    void Start(std::function<void(CModalWindowWatcher&)> script)
    {
        m_bStop = false;
        m_thread = std::thread([this, script] {
            script(*this);
            while (!m_bStop) {
                if (HWND hBox = FindMessageBox(NULL))
                    ::PostMessageW(hBox, WM_COMMAND, IDOK, 0);
                ::Sleep(50);
            }
        });
    }
    void Stop()
    {
        m_bStop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    // A visible top-level dialog of the UI thread with this caption.
    HWND FindDialog(const wchar_t* pszCaption) const
    {
        for (HWND hWnd : TopLevelDialogs()) {
            if (Text(hWnd) == pszCaption)
                return hWnd;
        }
        return NULL;
    }
    // A top-level dialog of the UI thread other than hExcept that holds a
    // text and an OK button: the message box.
    HWND FindMessageBox(HWND hExcept) const
    {
        for (HWND hWnd : TopLevelDialogs()) {
            if (hWnd != hExcept && ::GetDlgItem(hWnd, IDOK) != NULL && !StaticTexts(hWnd).empty() &&
                ::GetDlgItem(hWnd, 1044) == NULL)
                return hWnd;
        }
        return NULL;
    }

    // Polls until pred holds; false after dwLimitMs.
    template <typename PRED>
    static bool WaitFor(PRED pred, DWORD dwLimitMs = 30000)
    {
        DWORD dwStart = ::GetTickCount();
        while (!pred()) {
            if (::GetTickCount() - dwStart > dwLimitMs)
                return false;
            ::Sleep(10);
        }
        return true;
    }
    HWND WaitForDialog(const wchar_t* pszCaption, DWORD dwLimitMs = 30000) const
    {
        HWND hFound = NULL;
        WaitFor([&] { return (hFound = FindDialog(pszCaption)) != NULL; }, dwLimitMs);
        return hFound;
    }
    HWND WaitForMessageBox(HWND hExcept, DWORD dwLimitMs = 30000) const
    {
        HWND hFound = NULL;
        WaitFor([&] { return (hFound = FindMessageBox(hExcept)) != NULL; }, dwLimitMs);
        return hFound;
    }

    static std::wstring Text(HWND hWnd)
    {
        wchar_t sz[512] = L"";
        ::GetWindowTextW(hWnd, sz, 512);
        return sz;
    }
    // The texts of the static controls of a window, in child order, empty ones left out.
    static std::vector<std::wstring> StaticTexts(HWND hParent)
    {
        std::vector<std::wstring> texts;
        for (HWND hChild = ::GetWindow(hParent, GW_CHILD); hChild != NULL; hChild = ::GetWindow(hChild, GW_HWNDNEXT)) {
            wchar_t szClass[32] = L"";
            ::GetClassNameW(hChild, szClass, 32);
            std::wstring text = Text(hChild);
            if (lstrcmpiW(szClass, L"Static") == 0 && !text.empty())
                texts.push_back(text);
        }
        return texts;
    }
    static std::wstring FirstStaticText(HWND hParent)
    {
        std::vector<std::wstring> texts = StaticTexts(hParent);
        return texts.empty() ? std::wstring() : texts.front();
    }
    static int ProgressPos(HWND hDlg, int nBarId)
    {
        return (int)::SendMessageW(::GetDlgItem(hDlg, nBarId), PBM_GETPOS, 0, 0);
    }
    static void Click(HWND hDlg, int nId) { ::SendMessageW(::GetDlgItem(hDlg, nId), BM_CLICK, 0, 0); }

private:
    std::vector<HWND> TopLevelDialogs() const
    {
        std::vector<HWND> found;
        ::EnumThreadWindows(m_dwUiThread, Collect, (LPARAM)&found);
        return found;
    }
    static BOOL CALLBACK Collect(HWND hWnd, LPARAM lParam)
    {
        wchar_t szClass[16] = L"";
        ::GetClassNameW(hWnd, szClass, 16);
        if (lstrcmpW(szClass, L"#32770") == 0 && ::IsWindowVisible(hWnd))
            ((std::vector<HWND>*)lParam)->push_back(hWnd);
        return TRUE;
    }

    DWORD m_dwUiThread;
    std::atomic<bool> m_bStop{ false };
    std::thread m_thread;
};
