// Drives a modal window of the test thread: a thread timer runs a script
// step while the window's own modal loop is running, until the step says it
// is done. Windows left open after the time-out are destroyed so that the
// test ends instead of hanging.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class CModalScript
{
public:
    // Calls show() (which blocks in a modal loop) while step() is called
    // every 30 ms from that loop; step returns true once it has finished.
    // False when the script timed out.
    static bool Run(const std::function<void()>& show, const std::function<bool()>& step, DWORD timeoutMs = 20000)
    {
        State& s = Get();
        s.step = step;
        s.done = false;
        s.busy = false;
        s.timedOut = false;
        s.start = ::GetTickCount();
        s.timeoutMs = timeoutMs;
        UINT_PTR id = ::SetTimer(NULL, 0, 30, TimerProc);
        show();
        ::KillTimer(NULL, id);
        s.step = nullptr;
        return !s.timedOut;
    }

    // The visible dialog windows (class #32770) of this thread.
    static std::vector<HWND> ThreadDialogs()
    {
        std::vector<HWND> found;
        ::EnumThreadWindows(::GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&found));
        return found;
    }

    // The first visible dialog of this thread whose caption is title.
    static HWND FindDialog(const wchar_t* title)
    {
        for (HWND h : ThreadDialogs())
            if (Text(h) == title)
                return h;
        return NULL;
    }

    static std::wstring Text(HWND h)
    {
        wchar_t buf[1024] = L"";
        if (h != NULL)
            ::GetWindowTextW(h, buf, 1024);
        return buf;
    }

    // The message text of a message box: its static controls' texts.
    static std::wstring MessageText(HWND hBox)
    {
        std::wstring text;
        for (HWND h = ::GetWindow(hBox, GW_CHILD); h != NULL; h = ::GetWindow(h, GW_HWNDNEXT)) {
            wchar_t cls[32] = L"";
            ::GetClassNameW(h, cls, 32);
            if (lstrcmpiW(cls, L"Static") == 0 && ::GetWindowTextLengthW(h) > 0)
                text += Text(h);
        }
        return text;
    }

private:
    struct State
    {
        std::function<bool()> step;
        bool done = false;
        bool busy = false;
        bool timedOut = false;
        DWORD start = 0;
        DWORD timeoutMs = 0;
    };
    static State& Get()
    {
        static State s;
        return s;
    }

    static BOOL CALLBACK CollectDialog(HWND h, LPARAM lParam)
    {
        wchar_t cls[16] = L"";
        ::GetClassNameW(h, cls, 16);
        if (lstrcmpW(cls, L"#32770") == 0 && ::IsWindowVisible(h))
            reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(h);
        return TRUE;
    }

    static void CALLBACK TimerProc(HWND, UINT, UINT_PTR, DWORD)
    {
        State& s = Get();
        if (s.busy || s.done || !s.step)
            return;
        s.busy = true;
        if (::GetTickCount() - s.start > s.timeoutMs) {
            s.timedOut = true;
            s.done = true;
            for (HWND h : ThreadDialogs())
                ::DestroyWindow(h);
        } else {
            s.done = s.step();
        }
        s.busy = false;
    }
};
