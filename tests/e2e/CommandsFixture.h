// The real program on the local world, with a working directory of the
// test's making (country table, flags, and settings when the test gives
// them), and the means to drive its commands, dialogs and list from outside.
#pragma once

#include "proxy/Settings.h"
#include "tests/support/E2eControlIds.h"
#include "tests/support/MakerClient.h"
#include "tests/e2e/ProgramUnderTest.h"
#include "tests/e2e/RemoteListView.h"
#include "tests/world/World.h"
#include "tests/TestFiles.h"
#include "net/WorkerMessages.h"

#include <winsock2.h>
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace commands {

using maker::kRetrievePath;

// A harvest source list naming one local page that lists one proxy, on a
// loopback address that the country ranges know.
inline void WriteOneProxyHarvest(const std::wstring& workDir, unsigned short proxyPort)
{
    CreateDirectoryW((workDir + L"\\AdminFile").c_str(), nullptr);
    WriteFileBytes(workDir + L"\\countryranges.crv", "127.0.0.0\t127.0.0.255\tUS\r\n");
    WriteFileBytes(workDir + L"\\AdminFile\\page.txt", "127.0.0.1:" + std::to_string(proxyPort) + "\n");
    WriteFileBytes(workDir + L"\\AdminFile\\proxywebsiteToText.txt", "FileName:\r\nAdminFile\\page.txt\r\n");
}

// One line of a proxy list file (and of a retrieval reply).
inline std::string ProxyLine(const std::string& ip, int port, int country, int type, int uptime, int speed)
{
    return ip + "\t" + std::to_string(port) + "\t" + std::to_string(country) + "\t" + std::to_string(type) + "\t" +
           std::to_string(uptime) + "\t" + std::to_string(speed) + "\r\n";
}

// n proxies 10.0.0.1 .. (10.0.k.j past 249), ports 8081 .. 8080+n, fastest
// first so that the default sort keeps their order.
inline std::string NumberedAddress(int i)
{
    return "10.0." + std::to_string(i / 250) + "." + std::to_string(i % 250);
}

inline std::string NumberedProxies(int n, int first = 1)
{
    std::string lines;
    for (int i = first; i < first + n; ++i)
        lines += ProxyLine(NumberedAddress(i), 8080 + i, 234, 1, 5, 100 * i);
    return lines;
}

inline std::wstring Widen(const std::string& s)
{
    return std::wstring(s.begin(), s.end());
}

inline std::vector<std::wstring> NumberedAddresses(const std::vector<int>& numbers)
{
    std::vector<std::wstring> out;
    for (int i : numbers)
        out.push_back(Widen(NumberedAddress(i)));
    return out;
}

// The connection proxy setting as WinINet keeps it in this prefix.
struct InternetSetting
{
    DWORD enable = 0;
    std::wstring server;
};

inline InternetSetting ReadInternetSetting()
{
    InternetSetting s;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", 0,
                      KEY_READ, &key) != ERROR_SUCCESS)
        return s;
    DWORD size = sizeof(s.enable);
    RegQueryValueExW(key, L"ProxyEnable", nullptr, nullptr, reinterpret_cast<BYTE*>(&s.enable), &size);
    wchar_t server[512] = L"";
    size = sizeof(server) - sizeof(wchar_t);
    if (RegQueryValueExW(key, L"ProxyServer", nullptr, nullptr, reinterpret_cast<BYTE*>(server), &size) ==
        ERROR_SUCCESS)
        s.server = server;
    RegCloseKey(key);
    return s;
}

// Direct access again, whatever a test left behind.
inline void ResetInternetSetting()
{
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", 0,
                        nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD zero = 0;
    RegSetValueExW(key, L"ProxyEnable", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof(zero));
    RegCloseKey(key);
}

// A plain HTTP/1.0 request through the relay on port 3188; the whole reply
// (empty when the relay closed without one).
inline std::string RequestThroughRelay(const std::string& url, const std::string& host)
{
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    std::string reply;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return reply;
    DWORD timeout = 20000;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(3188);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0) {
        std::string request = "GET " + url + " HTTP/1.0\r\nHost: " + host + "\r\n\r\n";
        send(s, request.data(), static_cast<int>(request.size()), 0);
        char buf[4096];
        int n;
        while ((n = recv(s, buf, sizeof(buf), 0)) > 0)
            reply.append(buf, static_cast<size_t>(n));
    }
    closesocket(s);
    return reply;
}

// The world's test page fetched through the relay.
inline std::string FetchTestPage()
{
    char host[64];
    snprintf(host, sizeof(host), "%s:%u", world::kHost, static_cast<unsigned>(world::kMakerPort));
    return RequestThroughRelay(std::string("http://") + host + "/test.htm", host);
}

// Which tinyproxy carried a reply: each names itself in its Via header.
inline std::string UpstreamOf(const std::string& reply)
{
    size_t at = reply.find("upstream-");
    return at == std::string::npos ? std::string() : reply.substr(at, 14);
}

inline std::wstring ProgramDataDir()
{
    return TestProgramDir();
}

inline int CountryCount()
{
    std::string bytes = ReadFileBytes(ProgramDataDir() + L"\\countries.crv");
    int n = 0;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        std::string line = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line != "\r")
            ++n;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return n;
}

class CommandsTest : public ::testing::Test
{
protected:
    // What the test may change before the program starts.
    virtual void TuneSettings(CSettings&) {}
    virtual bool WritesSettings() const { return false; }
    // A check-in reply of the test's own; empty: the server's normal one.
    virtual std::string StartReply() const { return std::string(); }

    void SetUp() override
    {
        ResetInternetSetting();
        ASSERT_TRUE(maker::Reset()) << "the local maker's server does not answer";
        workDir = MakeTempDir();
        ASSERT_FALSE(workDir.empty());
        CopyFileW((ProgramDataDir() + L"\\countries.crv").c_str(), (workDir + L"\\countries.crv").c_str(), FALSE);
        CopyFlags();
        if (WritesSettings())
            WriteSettings();
        std::string start = StartReply();
        if (!start.empty()) {
            ASSERT_TRUE(maker::SetNextReply(maker::kStartPath, start));
        }
        ASSERT_TRUE(program.Start(workDir));
        ASSERT_TRUE(WaitUntil([&] {
            main = program.MainWindow();
            return main && IsWindowVisible(main) && program.SplashWindow() && !IsWindowVisible(program.SplashWindow());
        })) << "the main window did not appear";
        list.reset(new RemoteListView(Item(kListId), program.ProcessId()));
        ASSERT_TRUE(list->Ready());
    }

    void TearDown() override
    {
        list.reset();
        program.Terminate();
        ResetInternetSetting();
        maker::Reset();
        RemoveTree(workDir);
    }

    void CopyFlags()
    {
        std::wstring from = ProgramDataDir() + L"\\flags";
        std::wstring to = workDir + L"\\flags";
        CreateDirectoryW(to.c_str(), nullptr);
        WIN32_FIND_DATAW fd;
        HANDLE h = FindFirstFileW((from + L"\\*.png").c_str(), &fd);
        if (h == INVALID_HANDLE_VALUE)
            return;
        do {
            CopyFileW((from + L"\\" + fd.cFileName).c_str(), (to + L"\\" + fd.cFileName).c_str(), FALSE);
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }

    void WriteSettings()
    {
        CSettings settings;
        SetDefaultSettings(settings, CountryCount());
        // The world's test page, as the maker's test definition names it.
        char url[128];
        snprintf(url, sizeof(url), "http://%s:%u/test.htm", world::kHost, static_cast<unsigned>(world::kMakerPort));
        CSettingTestItem* test = settings.GetTest();
        lstrcpynA(test->m_szURL, url, sizeof(test->m_szURL));
        test->SetCorrectValue("TessalyOK");
        test->m_nTimeoutSeconds = 5;
        TuneSettings(settings);
        ASSERT_TRUE(SaveSettingsFile(settings, (workDir + L"\\setting.crv").c_str()));
    }

    std::string SettingsText() const { return ReadFileBytes(workDir + L"\\setting.crv"); }

    HWND Item(int id) const { return GetDlgItem(main, id); }

    void Click(int id)
    {
        PostMessageW(main, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
    }
    void Command(int id) { PostMessageW(main, WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    // A visible dialog of the program with this caption.
    HWND FindDialog(const std::wstring& caption) const
    {
        for (HWND h : program.TopLevelWindows())
            if (WindowClass(h) == L"#32770" && IsWindowVisible(h) && WindowText(h) == caption)
                return h;
        return nullptr;
    }
    HWND WaitDialog(const std::wstring& caption, DWORD ms = 30000) const
    {
        HWND found = nullptr;
        WaitUntil([&] { return (found = FindDialog(caption)) != nullptr; }, ms);
        return found;
    }

    // A visible message box of the program, and its text.
    HWND FindMessageBox(std::wstring* text = nullptr) const
    {
        for (HWND h : program.TopLevelWindows()) {
            if (WindowClass(h) != L"#32770" || !IsWindowVisible(h) || h == main || GetDlgItem(h, kReplaceId))
                continue;
            HWND stat = GetDlgItem(h, 0xFFFF);
            bool hasButton = GetDlgItem(h, IDOK) || GetDlgItem(h, IDCANCEL) || GetDlgItem(h, IDYES);
            if (!stat || WindowClass(stat) != L"Static" || !hasButton)
                continue;
            if (text)
                *text = WindowText(stat);
            return h;
        }
        return nullptr;
    }
    // Waits for a message box, answers it with the button and returns its text.
    std::wstring AnswerMessageBox(int button = IDOK, DWORD ms = 30000)
    {
        std::wstring text;
        HWND box = nullptr;
        if (!WaitUntil([&] { return (box = FindMessageBox(&text)) != nullptr; }, ms))
            return L"(no message box)";
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
        WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, ms);
        return text;
    }

    // Answers the replace-or-append question: 1049 (replace), 1050 (append),
    // or IDCANCEL. Returns the radio that was checked when it came up (0: none).
    int AnswerReplaceDialog(int answer)
    {
        HWND dlg = WaitDialog(L"Replace or Append");
        if (!dlg) {
            ADD_FAILURE() << "no replace-or-append dialog";
            return -1;
        }
        int checked = 0;
        if (SendMessageW(GetDlgItem(dlg, kReplaceId), BM_GETCHECK, 0, 0) == BST_CHECKED)
            checked = kReplaceId;
        else if (SendMessageW(GetDlgItem(dlg, kAppendId), BM_GETCHECK, 0, 0) == BST_CHECKED)
            checked = kAppendId;
        if (answer == IDCANCEL) {
            PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDCANCEL)));
        } else {
            SendMessageW(GetDlgItem(dlg, kReplaceId), BM_SETCHECK, answer == kReplaceId ? BST_CHECKED : BST_UNCHECKED,
                         0);
            SendMessageW(GetDlgItem(dlg, kAppendId), BM_SETCHECK, answer == kAppendId ? BST_CHECKED : BST_UNCHECKED, 0);
            PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
        }
        WaitUntil([&] { return !IsWindow(dlg) || !IsWindowVisible(dlg); }, 30000);
        return checked;
    }

    // The common open or save dialog: its file-name edit.
    static HWND FileNameEdit(HWND dlg)
    {
        HWND combo = GetDlgItem(dlg, 0x47C);
        if (combo) {
            if (WindowClass(combo) == L"Edit")
                return combo;
            // A ComboBoxEx32 holds a ComboBox that holds the edit.
            HWND edit = FindWindowExW(combo, nullptr, L"Edit", nullptr);
            HWND inner = FindWindowExW(combo, nullptr, L"ComboBox", nullptr);
            if (!edit && inner)
                edit = FindWindowExW(inner, nullptr, L"Edit", nullptr);
            if (edit)
                return edit;
        }
        HWND edit = GetDlgItem(dlg, 0x480);
        if (edit)
            return edit;
        return FindWindowExW(dlg, nullptr, L"Edit", nullptr);
    }
    HWND FindFileDialog() const
    {
        for (HWND h : program.TopLevelWindows())
            if (WindowClass(h) == L"#32770" && IsWindowVisible(h) && h != main && FileNameEdit(h) &&
                GetDlgItem(h, IDOK) && !GetDlgItem(h, kReplaceId))
                return h;
        return nullptr;
    }
    // Types the path into the common file dialog that comes up and presses
    // its OK button (or Cancel, when the path is empty). Returns the dialog's
    // caption and, in defaultName, the name it offered.
    std::wstring AnswerFileDialog(const std::wstring& path, std::wstring* defaultName = nullptr)
    {
        HWND dlg = nullptr;
        if (!WaitUntil([&] { return (dlg = FindFileDialog()) != nullptr; }, 30000)) {
            ADD_FAILURE() << "no file dialog";
            return std::wstring();
        }
        std::wstring caption = WindowText(dlg);
        HWND edit = FileNameEdit(dlg);
        if (defaultName)
            *defaultName = WindowText(edit);
        if (path.empty()) {
            PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDCANCEL)));
        } else {
            // Typed characters wake the edit's auto-completion, which can
            // stall the dialog; the whole text at once does not.
            SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_BLOCK, 10000,
                                nullptr);
            PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dlg, IDOK)));
        }
        if (!WaitUntil([&] { return !IsWindow(dlg) || !IsWindowVisible(dlg); }, 30000))
            ADD_FAILURE() << "the file dialog stayed up";
        return caption;
    }

    // Waits until the list shows n rows; fails at once on a message box.
    bool WaitRows(int n, DWORD ms = 60000)
    {
        std::wstring text;
        bool ok = WaitUntil([&] { return list->Count() == n || FindMessageBox(&text) != nullptr; }, ms);
        if (FindMessageBox(&text)) {
            ADD_FAILURE() << "message box: " << std::string(text.begin(), text.end());
            return false;
        }
        return ok && list->Count() == n;
    }

    // Get Proxy with this retrieval reply (empty: the world's own list).
    void GetProxy(const std::string& reply = std::string())
    {
        if (!reply.empty()) {
            ASSERT_TRUE(maker::SetNextReply(kRetrievePath, reply));
        }
        Click(kGetProxyId);
    }

    // Get Proxy on an empty list: the list then shows these rows.
    void FillList(const std::string& reply, int rows)
    {
        GetProxy(reply);
        ASSERT_TRUE(WaitRows(rows)) << "the list shows " << list->Count() << " rows";
    }

    std::vector<std::wstring> Addresses() const { return list->Column(1); }
    std::vector<std::wstring> Ports() const { return list->Column(2); }

    HWND FocusedWindow() const
    {
        GUITHREADINFO info = {};
        info.cbSize = sizeof(info);
        DWORD thread = GetWindowThreadProcessId(main, nullptr);
        return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
    }

    // Sends a message and waits for the program to have handled it.
    LRESULT SendToMain(UINT msg, WPARAM wParam, LPARAM lParam)
    {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(main, msg, wParam, lParam, SMTO_BLOCK, 30000, &result);
        return static_cast<LRESULT>(result);
    }

    ProgramUnderTest program;
    std::wstring workDir;
    HWND main = nullptr;
    std::unique_ptr<RemoteListView> list;
};

}  // namespace commands
