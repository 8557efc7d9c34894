// The real program's start-up against the local maker's server: check-in
// failures, server messages, the real address and its flag, the settings
// written at first start, the relay and the password renewal.
#include "tests/support/MakerClient.h"
#include "tests/support/E2eControlIds.h"
#include "tests/e2e/ProgramUnderTest.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <regex>
#include <string>

namespace {

const UINT kTimerMessage = WM_TIMER;

const std::string kNormalValues =
    "PWStarttessaly-relay-passPWEnd\r\nTimeStart86400TimeEnd\r\nCountryCode:US\r\n"
    "IPAddress:127.0.0.1\r\n";

// A visible dialog of the process that holds the control.
HWND DialogWithItem(const ProgramUnderTest& program, int id)
{
    for (HWND hWnd : program.TopLevelWindows())
        if (WindowClass(hWnd) == L"#32770" && IsWindowVisible(hWnd) && GetDlgItem(hWnd, id))
            return hWnd;
    return nullptr;
}

bool Hidden(HWND hWnd)
{
    return hWnd == nullptr || !IsWindowVisible(hWnd);
}

HWND WaitForMainWindow(const ProgramUnderTest& program)
{
    HWND main = nullptr;
    WaitUntil([&] {
        main = program.MainWindow();
        return main && IsWindowVisible(main);
    });
    return main;
}

bool HasBitmap(HWND main, int id)
{
    return SendMessageW(GetDlgItem(main, id), STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
}

// Whether something accepts connections on the loopback port.
bool Listens(unsigned short port)
{
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return false;
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in addr = {};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = s != INVALID_SOCKET && connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0;
    if (s != INVALID_SOCKET)
        closesocket(s);
    WSACleanup();
    return ok;
}

// A working directory with the country table and every flag but the skipped one.
std::wstring MakeWorkDir(const wchar_t* skippedFlag)
{
    std::wstring dir = MakeTempDir();
    std::wstring bin = TestProgramDir();
    CopyFileW((bin + L"\\countries.crv").c_str(), (dir + L"\\countries.crv").c_str(), FALSE);
    CreateDirectoryW((dir + L"\\flags").c_str(), nullptr);
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((bin + L"\\flags\\*.png").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (skippedFlag && _wcsicmp(fd.cFileName, skippedFlag) == 0)
                continue;
            CopyFileW((bin + L"\\flags\\" + fd.cFileName).c_str(), (dir + L"\\flags\\" + fd.cFileName).c_str(), FALSE);
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    return dir;
}

// Server down: the connection is dropped unanswered, or the answer is empty.
TEST(StartupTest, NoAnswerFromTheServerShowsTheMessageAndEnds)
{
    for (const char* mode : { "close", "empty" }) {
        SCOPED_TRACE(mode);
        maker::ScopedReset reset;
        ASSERT_TRUE(maker::SetMode(mode, maker::kStartPath, 0)) << "the maker's server is not up";

        ProgramUnderTest program;
        ASSERT_TRUE(program.Start());
        HWND box = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (box = program.MessageBoxWindow()) != nullptr; })) << "no message was shown";
        EXPECT_EQ(L"Could not access server,please try again later.", DialogItemText(box, 0xFFFF));
        EXPECT_TRUE(Hidden(program.SplashWindow())) << "the splash is still up";
        EXPECT_TRUE(Hidden(program.MainWindow()));
        EXPECT_EQ(1, maker::RequestCount(maker::kStartPath));

        PostMessageW(box, WM_COMMAND, IDOK, 0);
        DWORD code = 0;
        ASSERT_TRUE(program.WaitForExit(30000, &code));
        EXPECT_EQ(0xFFFFFFFFu, code);
    }
}

// The server message dialog: types 3 and 4 end the program from its Exit
// button, type 1 lets start-up go on.
TEST(StartupTest, ServerMessageTypes)
{
    struct Case
    {
        int type;
        const wchar_t* button;
        bool webSiteShown;
        bool ends;
    };
    const Case cases[] = {
        { 1, L"OK", false, false },
        { 3, L"Exit", false, true },
        { 4, L"Exit", true, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        maker::ScopedReset reset;
        std::string reply = "MsgStartThe service is closed for maintenance.MsgEndMsgType:" + std::to_string(c.type) +
                            "\r\nMsgCapStartVisitMsgCapEnd\r\n" + kNormalValues;
        ASSERT_TRUE(maker::SetNextReply(maker::kStartPath, reply));

        ProgramUnderTest program;
        ASSERT_TRUE(program.Start());
        HWND dlg = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (dlg = DialogWithItem(program, kPushExit)) != nullptr; }))
            << "no server message";
        EXPECT_EQ(c.button, DialogItemText(dlg, kPushExit));
        EXPECT_EQ(c.webSiteShown, IsWindowVisible(GetDlgItem(dlg, kPushWebSite)) != FALSE);
        if (c.webSiteShown) {
            EXPECT_EQ(L"Visit", DialogItemText(dlg, kPushWebSite));
        }
        EXPECT_TRUE(Hidden(program.SplashWindow()));
        EXPECT_TRUE(Hidden(program.MainWindow())) << "the main window is up before the message";

        PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(kPushExit, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dlg, kPushExit)));
        if (c.ends) {
            DWORD code = 0;
            ASSERT_TRUE(program.WaitForExit(30000, &code));
            EXPECT_EQ(0xFFFFFFFFu, code);
        } else {
            HWND main = WaitForMainWindow(program);
            ASSERT_NE(nullptr, main);
            EXPECT_EQ(L"127.0.0.1", DialogItemText(main, 1041));
            EXPECT_TRUE(program.IsRunning());
        }
    }
}

// After a good check-in the real address and its country's flag are shown
// for both the real and the current address.
TEST(StartupTest, RealAddressAndFlagFromTheCheckIn)
{
    struct Case
    {
        const char* name;
        std::string reply;
        const wchar_t* skippedFlag;
        bool flag;
    };
    const Case cases[] = {
        { "known country", kNormalValues, nullptr, true },
        { "country not in the table", "PWStartpPWEnd\r\nCountryCode:ZZ\r\nIPAddress:127.0.0.9\r\n", nullptr, false },
        { "flag file missing", kNormalValues, L"US.png", false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        maker::ScopedReset reset;
        ASSERT_TRUE(maker::SetNextReply(maker::kStartPath, c.reply));

        std::wstring dir = MakeWorkDir(c.skippedFlag);
        ASSERT_FALSE(dir.empty());
        {
            ProgramUnderTest program;
            ASSERT_TRUE(program.Start(dir));
            HWND main = WaitForMainWindow(program);
            ASSERT_NE(nullptr, main) << "the main window did not appear";
            std::wstring address = c.reply.find("127.0.0.9") != std::string::npos ? L"127.0.0.9" : L"127.0.0.1";
            EXPECT_EQ(address, DialogItemText(main, 1041));
            EXPECT_EQ(address, DialogItemText(main, 1042));
            EXPECT_EQ(c.flag, HasBitmap(main, 1060));
            EXPECT_EQ(c.flag, HasBitmap(main, 1040));
        }
        RemoveTree(dir);
    }
}

// The first start writes the defaults, with the test page from the maker's
// test definition, and checks in with the adapter address and the version.
TEST(StartupTest, FirstStartWritesDefaultsAndChecksIn)
{
    maker::ScopedReset reset;
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    ASSERT_NE(nullptr, WaitForMainWindow(program));

    EXPECT_EQ(1, maker::RequestCount(maker::kTestUrlPath));
    std::string settings = ReadFileBytes(program.WorkDir() + L"\\setting.crv");
    EXPECT_NE(std::string::npos, settings.find("http://127.0.0.1:18188/test.htm")) << "setting.crv:\n" << settings;
    EXPECT_NE(std::string::npos, settings.find("TessalyOK"));

    EXPECT_EQ(1, maker::RequestCount(maker::kStartPath));
    std::string body = maker::LastRequest(maker::kStartPath);
    EXPECT_TRUE(std::regex_match(
        body, std::regex("Mac=([0-9A-Fa-f]{2}:){5}[0-9A-Fa-f]{2}&Version=1\\.2\\.8\\.0&OperationType=1")))
        << body;
}

// The relay listens once start-up is done; timer 3 renews the password from
// the server.
TEST(StartupTest, RelayRunsAndTimerThreeRenewsThePassword)
{
    maker::ScopedReset reset;
    ASSERT_FALSE(Listens(3188)) << "something else holds the relay's port";
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(nullptr, main);
    EXPECT_TRUE(WaitUntil([] { return Listens(3188); }, 30000)) << "the relay does not listen";

    ASSERT_TRUE(maker::Reset());
    PostMessageW(main, kTimerMessage, 3, 0);
    ASSERT_TRUE(WaitUntil([] { return maker::RequestCount(maker::kStartPath) == 1; }, 30000)) << "no renewal request";
    std::string body = maker::LastRequest(maker::kStartPath);
    EXPECT_NE(std::string::npos, body.find("&OperationType=5")) << body;
    EXPECT_TRUE(program.IsRunning());
}

// A relay thread asks for an immediate renewal by a message; the window
// arms timer 3 itself (100 ms), and every such message renews.
TEST(StartupTest, RelaysRenewalMessageArmsTimerThreeOnTheWindow)
{
    const UINT kRenewPasswordNow = WM_USER + 108;
    maker::ScopedReset reset;
    ProgramUnderTest program;
    ASSERT_TRUE(program.Start());
    HWND main = WaitForMainWindow(program);
    ASSERT_NE(nullptr, main);
    ASSERT_TRUE(WaitUntil([] { return Listens(3188); }, 30000));

    for (int n = 1; n <= 2; ++n) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(maker::Reset());
        DWORD start = GetTickCount();
        PostMessageW(main, kRenewPasswordNow, 0, 0);
        ASSERT_TRUE(WaitUntil([] { return maker::RequestCount(maker::kStartPath) == 1; }, 10000))
            << "no renewal request";
        EXPECT_LT(GetTickCount() - start, 8000u);
        EXPECT_NE(std::string::npos, maker::LastRequest(maker::kStartPath).find("&OperationType=5"));
        // Timer 3 is one shot: no second request follows.
        Sleep(1000);
        EXPECT_EQ(1, maker::RequestCount(maker::kStartPath));
    }
    EXPECT_TRUE(program.IsRunning());
}

}  // namespace
