// A message-only window that records what is posted or sent to it: the
// tests' stand-in for the main window and the progress dialog.
#pragma once

#include <windows.h>

#include <deque>

class CRecordingWindow
{
public:
    struct Message
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    CRecordingWindow();
    virtual ~CRecordingWindow();
    CRecordingWindow(const CRecordingWindow&) = delete;
    CRecordingWindow& operator=(const CRecordingWindow&) = delete;

    // Hands the pending messages of this thread to their windows.
    void Pump();
    // Pumps until pred holds or the limit passes; true when it held.
    template <typename PRED>
    bool PumpUntil(PRED pred, DWORD dwLimitMs)
    {
        DWORD dwStart = GetTickCount();
        while (!pred()) {
            if (GetTickCount() - dwStart > dwLimitMs)
                return false;
            MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
            Pump();
        }
        return true;
    }

    // Takes the first recorded message of the kind, after the ones still
    // queued for this window are recorded; false when there is none.
    bool Take(UINT message, Message* pOut = NULL);
    // How many messages of the kind are recorded (and not taken).
    int Count(UINT message) const;
    void Clear() { m_received.clear(); }

    HWND m_hWnd = NULL;

protected:
    // Called for every message the window receives; true when it is
    // recorded. Window management messages (below WM_USER, but WM_TIMER)
    // are not.
    virtual bool OnReceived(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Records what is queued for this window only.
    void PumpOwn();

    std::deque<Message> m_received;
};
