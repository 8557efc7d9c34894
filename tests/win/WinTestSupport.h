// Helpers of the window tests: dialog templates built in memory and a
// message pump that waits for a condition.
#pragma once

#include "afxwin.h"
#include <functional>
#include <string>
#include <vector>

class CTestDialogTemplate
{
public:
    CTestDialogTemplate(DWORD style, short cx, short cy, const wchar_t* title = L"Test")
    {
        style |= DS_SETFONT;
        PushDword(style);
        PushDword(0);  // extended style
        m_countIndex = m_words.size();
        m_words.push_back(0);  // item count
        PushShort(10);
        PushShort(10);
        PushShort(cx);
        PushShort(cy);
        m_words.push_back(0);  // no menu
        m_words.push_back(0);  // standard class
        PushString(title);
        m_words.push_back(8);  // point size
        PushString(L"MS Shell Dlg");
    }

    // classAtom 0x80 button, 0x81 edit, 0x82 static; or a class name.
    CTestDialogTemplate& Add(WORD id, WORD classAtom, const wchar_t* text, DWORD style, short x, short y, short cx,
                             short cy)
    {
        BeginItem(id, style, x, y, cx, cy);
        m_words.push_back(0xFFFF);
        m_words.push_back(classAtom);
        EndItem(text);
        return *this;
    }
    CTestDialogTemplate& Add(WORD id, const wchar_t* className, const wchar_t* text, DWORD style, short x, short y,
                             short cx, short cy)
    {
        BeginItem(id, style, x, y, cx, cy);
        PushString(className);
        EndItem(text);
        return *this;
    }

    LPCDLGTEMPLATEW Get() const { return reinterpret_cast<LPCDLGTEMPLATEW>(m_words.data()); }

private:
    void PushDword(DWORD v)
    {
        m_words.push_back(LOWORD(v));
        m_words.push_back(HIWORD(v));
    }
    void PushShort(short v) { m_words.push_back((WORD)v); }
    void PushString(const wchar_t* s)
    {
        for (; *s; ++s)
            m_words.push_back((WORD)*s);
        m_words.push_back(0);
    }
    void BeginItem(WORD id, DWORD style, short x, short y, short cx, short cy)
    {
        if (m_words.size() % 2)
            m_words.push_back(0);  // DWORD alignment
        PushDword(style | WS_CHILD | WS_VISIBLE);
        PushDword(0);
        PushShort(x);
        PushShort(y);
        PushShort(cx);
        PushShort(cy);
        m_words.push_back(id);
    }
    void EndItem(const wchar_t* text)
    {
        PushString(text ? text : L"");
        m_words.push_back(0);  // no creation data
        ++m_words[m_countIndex];
    }

    std::vector<WORD> m_words;
    size_t m_countIndex;
};

// Pumps this thread's messages until done() or the time-out; true when done.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000)
{
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        MSG msg;
        while (::PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (!AfxPreTranslateWalk(NULL, &msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
        }
        ::MsgWaitForMultipleObjects(0, NULL, FALSE, 20, QS_ALLINPUT);
    }
    return true;
}

inline void InitTestControls()
{
    INITCOMMONCONTROLSEX icc = { sizeof(icc), 0xFF };
    ::InitCommonControlsEx(&icc);
}
