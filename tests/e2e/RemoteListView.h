// Reads and sets the rows of a list view that lives in another process: the
// item record and the text buffer are placed in that process's memory, since
// list-view messages carry pointers that are not carried across.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

class RemoteListView
{
public:
    RemoteListView(HWND hList, DWORD pid)
        : m_hList(hList),
          m_hProcess(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid)),
          m_pRemote(nullptr)
    {
        if (m_hProcess)
            m_pRemote = static_cast<char*>(
                VirtualAllocEx(m_hProcess, nullptr, kSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    }
    ~RemoteListView()
    {
        if (m_pRemote)
            VirtualFreeEx(m_hProcess, m_pRemote, 0, MEM_RELEASE);
        if (m_hProcess)
            CloseHandle(m_hProcess);
    }
    RemoteListView(const RemoteListView&) = delete;
    RemoteListView& operator=(const RemoteListView&) = delete;

    bool Ready() const { return m_pRemote != nullptr; }

    int Count() const { return static_cast<int>(SendMessageW(m_hList, LVM_GETITEMCOUNT, 0, 0)); }

    std::wstring Text(int nRow, int nSubItem) const
    {
        if (!m_pRemote)
            return std::wstring();
        LVITEMW item = {};
        item.iSubItem = nSubItem;
        item.pszText = reinterpret_cast<LPWSTR>(m_pRemote + kTextOffset);
        item.cchTextMax = kTextChars;
        wchar_t empty = 0;
        if (!Put(0, &item, sizeof(item)) || !Put(kTextOffset, &empty, sizeof(empty)))
            return std::wstring();
        LRESULT n = SendMessageW(m_hList, LVM_GETITEMTEXTW, nRow, reinterpret_cast<LPARAM>(m_pRemote));
        if (n <= 0)
            return std::wstring();
        std::vector<wchar_t> buf(static_cast<size_t>(n) + 1, 0);
        SIZE_T nRead = 0;
        if (!ReadProcessMemory(m_hProcess, m_pRemote + kTextOffset, buf.data(),
                               static_cast<SIZE_T>(n) * sizeof(wchar_t), &nRead))
            return std::wstring();
        return std::wstring(buf.data(), static_cast<size_t>(n));
    }

    // Every row's text of one column, top to bottom.
    std::vector<std::wstring> Column(int nSubItem) const
    {
        std::vector<std::wstring> texts;
        for (int i = 0, n = Count(); i < n; ++i)
            texts.push_back(Text(i, nSubItem));
        return texts;
    }

    // nRow -1: every row.
    bool SetSelected(int nRow, bool bSelected) const
    {
        if (!m_pRemote)
            return false;
        LVITEMW item = {};
        item.stateMask = LVIS_SELECTED;
        item.state = bSelected ? LVIS_SELECTED : 0;
        if (!Put(0, &item, sizeof(item)))
            return false;
        return SendMessageW(m_hList, LVM_SETITEMSTATE, static_cast<WPARAM>(nRow),
                            reinterpret_cast<LPARAM>(m_pRemote)) != FALSE;
    }

    // Exactly these rows selected.
    bool SelectOnly(const std::vector<int>& rows) const
    {
        bool ok = SetSelected(-1, false);
        for (int row : rows)
            ok = SetSelected(row, true) && ok;
        return ok;
    }

    bool Selected(int nRow) const
    {
        return (SendMessageW(m_hList, LVM_GETITEMSTATE, nRow, LVIS_SELECTED) & LVIS_SELECTED) != 0;
    }

    std::vector<int> SelectedRows() const
    {
        std::vector<int> rows;
        for (int i = 0, n = Count(); i < n; ++i)
            if (Selected(i))
                rows.push_back(i);
        return rows;
    }

private:
    static const SIZE_T kSize = 8192;
    static const SIZE_T kTextOffset = 256;
    static const int kTextChars = 1024;

    bool Put(SIZE_T offset, const void* data, SIZE_T size) const
    {
        SIZE_T n = 0;
        return WriteProcessMemory(m_hProcess, m_pRemote + offset, data, size, &n) && n == size;
    }

    HWND m_hList;
    HANDLE m_hProcess;
    char* m_pRemote;
};
