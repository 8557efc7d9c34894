// The tests' message-only recording window.
#include "tests/support/RecordingWindow.h"

namespace {

const wchar_t kClassName[] = L"CorvaneTestRecordingWindow";

}  // namespace

CRecordingWindow::CRecordingWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleW(NULL);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);  // fails harmlessly once the class exists
    m_hWnd = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, (LONG_PTR)this);
}

CRecordingWindow::~CRecordingWindow()
{
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    DestroyWindow(m_hWnd);
}

void CRecordingWindow::Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void CRecordingWindow::PumpOwn()
{
    MSG msg;
    while (PeekMessageW(&msg, m_hWnd, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

bool CRecordingWindow::Take(UINT message, Message* pOut)
{
    PumpOwn();
    for (auto it = m_received.begin(); it != m_received.end(); ++it) {
        if (it->message == message) {
            if (pOut != NULL)
                *pOut = *it;
            m_received.erase(it);
            return true;
        }
    }
    return false;
}

int CRecordingWindow::Count(UINT message) const
{
    int n = 0;
    for (const Message& m : m_received)
        if (m.message == message)
            ++n;
    return n;
}

bool CRecordingWindow::OnReceived(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message < WM_USER && message != WM_TIMER)
        return false;
    m_received.push_back({ message, wParam, lParam });
    return true;
}

LRESULT CALLBACK CRecordingWindow::WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CRecordingWindow* self = (CRecordingWindow*)GetWindowLongPtrW(hWnd, GWLP_USERDATA);
    if (self != NULL && self->OnReceived(message, wParam, lParam))
        return 0;
    return DefWindowProcW(hWnd, message, wParam, lParam);
}
