// The main window's list view after a list file read that breaks off part-way:
// it shows what the list holds, never rows the list no longer holds. The file
// is a pipe that hands over some lines and is then disconnected, so the read
// fails for real in the middle of the file.
#include "proxy/Proxy.h"
#include "tests/win/MainWindowProbe.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace {

// A list file that is a named pipe: it gives its lines in one piece, waits
// until the reader has taken them all, then breaks the connection, which the
// reader's next read sees as an error.
class CBreakingListFile
{
public:
    CBreakingListFile(const std::wstring& name, const std::string& lines) : m_path(L"\\\\.\\pipe\\" + name)
    {
        m_hPipe = CreateNamedPipeW(m_path.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 65536, 65536, 0,
                                   nullptr);
        if (m_hPipe == INVALID_HANDLE_VALUE)
            return;
        m_thread = std::thread([this, lines] {
            if (!ConnectNamedPipe(m_hPipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED)
                return;
            DWORD dwWritten = 0;
            if (!lines.empty())
                WriteFile(m_hPipe, lines.data(), static_cast<DWORD>(lines.size()), &dwWritten, nullptr);
            // Returns once the reader has read everything written.
            FlushFileBuffers(m_hPipe);
            DisconnectNamedPipe(m_hPipe);
        });
    }
    ~CBreakingListFile()
    {
        if (m_thread.joinable())
            m_thread.join();
        if (m_hPipe != INVALID_HANDLE_VALUE)
            CloseHandle(m_hPipe);
    }
    bool IsReady() const { return m_hPipe != INVALID_HANDLE_VALUE; }
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
    HANDLE m_hPipe;
    std::thread m_thread;

    CBreakingListFile(const CBreakingListFile&) = delete;
    CBreakingListFile& operator=(const CBreakingListFile&) = delete;
};

// Proxies 10.0.0.first .. 10.0.0.(first+n-1), one list file line each.
std::string ListLines(int nFirst, int n)
{
    std::string text;
    for (int i = nFirst; i < nFirst + n; ++i)
        text += "10.0.0." + std::to_string(i) + "\t" + std::to_string(8000 + i) + "\t-1\t1\t5\t100\r\n";
    return text;
}

std::vector<std::string> Addresses(int nFirst, int n)
{
    std::vector<std::string> out;
    for (int i = nFirst; i < nFirst + n; ++i)
        out.push_back("10.0.0." + std::to_string(i));
    return out;
}

std::vector<std::string> ListAddresses()
{
    std::vector<std::string> out;
    const CProxyList& list = GetProxyList();
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
        out.push_back(list.GetNext(pos).m_szIP);
    return out;
}

class ProxyListReadTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitTestControls();
        GetProxyList().RemoveAll();
        ASSERT_TRUE(m_probe.Create());
        m_hList = ::GetDlgItem(m_probe.m_hWnd, IDC_PROXY_LIST);
        ASSERT_NE(nullptr, m_hList);
        // The columns the main window's start-up gives the view.
        const wchar_t* titles[] = { L"Country", L"IP", L"Port", L"Type", L"Uptime", L"Speed" };
        for (int i = 0; i < 6; ++i) {
            LVCOLUMNW column = {};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.cx = 90;
            column.pszText = const_cast<LPWSTR>(titles[i]);
            ASSERT_EQ(i, ::SendMessageW(m_hList, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column)));
        }
    }
    void TearDown() override
    {
        m_probe.DestroyWindow();
        GetProxyList().RemoveAll();
    }

    // The IP column of every row, read back from the view.
    std::vector<std::string> ShownAddresses()
    {
        std::vector<std::string> out;
        const int nRows = static_cast<int>(::SendMessageW(m_hList, LVM_GETITEMCOUNT, 0, 0));
        for (int i = 0; i < nRows; ++i) {
            wchar_t szText[64] = L"";
            LVITEMW item = {};
            item.iSubItem = 1;
            item.pszText = szText;
            item.cchTextMax = 64;
            ::SendMessageW(m_hList, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(&item));
            out.push_back(std::string(CStringA(szText).GetString()));
        }
        return out;
    }

    // Puts 10.0.0.1 .. 10.0.0.n in the list and on screen.
    void Show(int n)
    {
        GetProxyList().RemoveAll();
        for (int i = 1; i <= n; ++i) {
            CProxy proxy(("10.0.0." + std::to_string(i)).c_str(), 8000 + i, -1, 1, 5, 100);
            GetProxyList().AddTail(proxy);
        }
        m_probe.RefreshProxyList();
    }

    CMainWindowProbe m_probe;
    HWND m_hList = nullptr;
};

}  // namespace

TEST_F(ProxyListReadTest, AReadThatBreaksOffShowsWhatTheListNowHolds)
{
    struct Case
    {
        const char* name;
        bool replace;
        int firstRead;  // the lines handed over before the break
        int countRead;
        std::vector<std::string> held;
    };
    const Case cases[] = {
        // As many proxies as before, but other ones: the count alone does
        // not tell that the rows are stale.
        { "replacing read, same count", true, 11, 3, Addresses(11, 3) },
        { "replacing read, fewer", true, 11, 1, Addresses(11, 1) },
        { "replacing read, nothing before the break", true, 11, 0, {} },
        { "appending read", false, 11, 2, { "10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.11", "10.0.0.12" } },
    };
    int nPipe = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Show(3);
        ASSERT_EQ(Addresses(1, 3), ShownAddresses());

        CBreakingListFile file(
            L"corvane-list-read-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++nPipe),
            ListLines(c.firstRead, c.countRead));
        ASSERT_TRUE(file.IsReady());
        EXPECT_FALSE(m_probe.ReadListFile(file.Path().c_str(), c.replace));
        EXPECT_EQ(c.held, ListAddresses());
        EXPECT_EQ(c.held, ShownAddresses());
    }
}
