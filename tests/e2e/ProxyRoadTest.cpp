// The road of one proxy through the real program: Get Proxy from the local
// maker's server, Hide IP through the relay and a tinyproxy upstream,
// Restore IP, automatic switching on its timer, and Remove Cur.
#include "tests/e2e/CommandsFixture.h"
#include "tests/e2e/ScreenPixels.h"

namespace {

using namespace commands;

const int kUS = 234, kDE = 59, kJP = 115;

// The check-in reply of these tests: the world's password, and a real
// address that no proxy has, so that the current address visibly changes.
const char kRealAddress[] = "192.0.2.7";

// The world's three tinyproxies, in this order.
std::string Upstreams()
{
    return ProxyLine("127.0.0.1", 18201, kUS, 1, 5, 100) + ProxyLine("127.0.0.1", 18202, kDE, 1, 5, 200) +
           ProxyLine("127.0.0.1", 18203, kJP, 2, 5, 300);
}

class ProxyRoadTest : public CommandsTest
{
protected:
    bool WritesSettings() const override { return true; }
    std::string StartReply() const override
    {
        return std::string("PWStart") + world::kProxyPassword +
               "PWEnd\r\n"
               "TimeStart86400TimeEnd\r\nCountryCode:US\r\nIPAddress:" +
               kRealAddress + "\r\n";
    }

    // What the current-flag static shows (the static hands out copies of
    // its bitmap, so only the screen tells which flag it is).
    std::vector<COLORREF> CurrentFlag() const
    {
        HWND flag = Item(kCurrentFlagId);
        RedrawWindow(flag, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        RECT rect;
        GetClientRect(flag, &rect);
        return CaptureClient(flag, rect).pixels;
    }
    std::wstring Caption(int id) const { return WindowText(Item(id)); }
    bool WaitCaption(int id, const std::wstring& text)
    {
        return WaitUntil([&] { return Caption(id) == text; }, 30000);
    }

    // Nothing at all comes up within a moment.
    bool NoDialog(DWORD ms = 1500)
    {
        return !WaitUntil([&] { return FindDialog(L"Replace or Append") || FindMessageBox(); }, ms);
    }
};

TEST_F(ProxyRoadTest, GetProxyOnAnEmptyListAsksNothing)
{
    GetProxy();
    ASSERT_TRUE(WaitRows(6));
    EXPECT_EQ(nullptr, FindDialog(L"Replace or Append"));
    // The world's list, speeds all unmeasured, so in the server's order.
    EXPECT_EQ((std::vector<std::wstring>{ L"18201", L"18202", L"18203", L"1", L"1", L"9" }), Ports());
    std::string body = maker::LastRequest(kRetrievePath);
    EXPECT_EQ(0u, body.find("OperationType=4&Mac=")) << body;
    EXPECT_NE(std::string::npos, body.find("&AnonymousType=1\t2\t&AllCountry=1")) << body;
    // The reply stays behind in proxy.tmp.
    EXPECT_EQ(0u, ReadFileBytes(workDir + L"\\proxy.tmp").find("127.0.0.1\t18201\t"));
}

TEST_F(ProxyRoadTest, GetProxyReplacesOrAppendsAsAnsweredAndRemembers)
{
    FillList(NumberedProxies(3), 3);

    // Append, asked with the default (replace) pre-selected.
    GetProxy(NumberedProxies(2, 11));
    EXPECT_EQ(kReplaceId, AnswerReplaceDialog(kAppendId));
    ASSERT_TRUE(WaitRows(5));
    EXPECT_EQ(NumberedAddresses({ 1, 2, 3, 11, 12 }), Addresses());
    EXPECT_NE(std::string::npos, SettingsText().find("ReplacebyGet\t0\r\n"));

    // Entries already in the list are not added twice.
    GetProxy(NumberedProxies(2, 12));
    EXPECT_EQ(kAppendId, AnswerReplaceDialog(kAppendId));
    ASSERT_TRUE(WaitRows(6));
    EXPECT_EQ(NumberedAddresses({ 1, 2, 3, 11, 12, 13 }), Addresses());

    // Replace: the last answer comes up pre-selected.
    GetProxy(NumberedProxies(2, 21));
    EXPECT_EQ(kAppendId, AnswerReplaceDialog(kReplaceId));
    ASSERT_TRUE(WaitRows(2));
    EXPECT_EQ(NumberedAddresses({ 21, 22 }), Addresses());
    EXPECT_NE(std::string::npos, SettingsText().find("ReplacebyGet\t1\r\n"));

    // Cancel: the list stays, the reply is on disk all the same.
    std::string settingsBefore = SettingsText();
    GetProxy(NumberedProxies(1, 31));
    EXPECT_EQ(kReplaceId, AnswerReplaceDialog(IDCANCEL));
    EXPECT_TRUE(NoDialog());
    EXPECT_EQ(NumberedAddresses({ 21, 22 }), Addresses());
    EXPECT_EQ(NumberedProxies(1, 31), ReadFileBytes(workDir + L"\\proxy.tmp"));
    EXPECT_EQ(settingsBefore, SettingsText());
}

TEST_F(ProxyRoadTest, GetProxyWithoutAListToldAndTheListKept)
{
    FillList(NumberedProxies(2), 2);
    struct
    {
        const char* reply;
        const wchar_t* message;
    } cases[] = {
        { "Empty", L"Sorry, there is no proxy found for these countries." },
        { "1234567", L"Could not access server,please try again later." },
        { "<html>Empty</html>", L"Could not access server,please try again later." },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        GetProxy(c.reply);
        EXPECT_EQ(c.message, AnswerMessageBox());
        EXPECT_EQ(nullptr, FindDialog(L"Replace or Append"));
        EXPECT_EQ(NumberedAddresses({ 1, 2 }), Addresses());
    }
}

class ProxyRoadSpeedTest : public ProxyRoadTest
{
protected:
    void TuneSettings(CSettings& settings) override { settings.GetTest()->m_nTestType = 2; }
};

TEST_F(ProxyRoadSpeedTest, GetProxyWithTheSpeedTestKeepsTheProxiesThatPass)
{
    GetProxy();
    EXPECT_NE(nullptr, WaitDialog(L"Testing", 30000)) << "no progress dialog";
    EXPECT_EQ(L"The proxy test is finished!", AnswerMessageBox(IDOK, 180000));
    ASSERT_TRUE(WaitUntil([&] { return !FindDialog(L"Testing"); }, 30000));
    ASSERT_TRUE(WaitRows(3));
    std::vector<std::wstring> ports = Ports();
    std::sort(ports.begin(), ports.end());
    EXPECT_EQ((std::vector<std::wstring>{ L"18201", L"18202", L"18203" }), ports);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(L"5/5", list->Text(i, 4)) << "row " << i;
}

TEST_F(ProxyRoadTest, HideIPGoesThroughTheChosenUpstreamAndRestoreIPComesBack)
{
    FillList(Upstreams(), 3);
    ASSERT_TRUE(WaitUntil([&] { return DialogItemText(main, kCurrentIPId) == Widen(kRealAddress); }, 10000));
    const std::vector<COLORREF> realFlag = CurrentFlag();
    ASSERT_FALSE(realFlag.empty());

    ASSERT_TRUE(list->SelectOnly({ 1 }));
    Click(kHideIPId);
    ASSERT_TRUE(WaitCaption(kHideIPId, L"Restore IP"));

    InternetSetting setting = ReadInternetSetting();
    EXPECT_EQ(1u, setting.enable);
    EXPECT_EQ(L"http=127.0.0.1:3188;https=127.0.0.1:3188", setting.server);
    EXPECT_TRUE(WaitUntil([&] { return DialogItemText(main, kCurrentIPId) == L"127.0.0.1"; }, 10000));
    // The real address is in the US, the chosen proxy in Germany.
    EXPECT_TRUE(WaitUntil([&] { return CurrentFlag() != realFlag; }, 10000)) << "the current flag did not change";
    EXPECT_EQ(Widen(kRealAddress), DialogItemText(main, kRealIPId));
    std::string reply = FetchTestPage();
    EXPECT_NE(std::string::npos, reply.find(" 200 ")) << reply;
    EXPECT_NE(std::string::npos, reply.find("TessalyOK")) << reply;
    EXPECT_EQ("upstream-18202", UpstreamOf(reply)) << reply;

    Click(kHideIPId);
    ASSERT_TRUE(WaitCaption(kHideIPId, L"Hide IP"));
    EXPECT_EQ(0u, ReadInternetSetting().enable);
    EXPECT_TRUE(WaitUntil([&] { return DialogItemText(main, kCurrentIPId) == Widen(kRealAddress); }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return CurrentFlag() == realFlag; }, 10000))
        << "the real country's flag did not come back";
}

TEST_F(ProxyRoadTest, AutoHideIPWalksTheUpstreamsOnItsTimerAndRemoveCurMovesOn)
{
    FillList(Upstreams(), 3);
    Click(kAutoHideIPId);
    ASSERT_TRUE(WaitCaption(kAutoHideIPId, L"Stop Auto"));
    EXPECT_EQ(L"Remove Cur", Caption(kGetProxyId));
    EXPECT_EQ(1u, ReadInternetSetting().enable);
    EXPECT_EQ("upstream-18201", UpstreamOf(FetchTestPage()));

    // Each tick of the switch timer takes the next one, then wraps.
    for (const char* next : { "upstream-18202", "upstream-18203", "upstream-18201", "upstream-18202" }) {
        SendToMain(WM_TIMER, kTimerAutoSwitch, 0);
        EXPECT_EQ(next, UpstreamOf(FetchTestPage()));
    }
    EXPECT_TRUE(WaitUntil([&] { return list->SelectedRows() == std::vector<int>({ 1 }); }, 10000));

    // Remove Cur: the one in use goes; the one after it is used at once.
    Click(kGetProxyId);
    ASSERT_TRUE(WaitRows(2));
    EXPECT_EQ((std::vector<std::wstring>{ L"18201", L"18203" }), Ports());
    EXPECT_EQ("upstream-18203", UpstreamOf(FetchTestPage()));

    Click(kAutoHideIPId);
    ASSERT_TRUE(WaitCaption(kAutoHideIPId, L"Auto Hide IP"));
    EXPECT_EQ(L"Get Proxy", Caption(kGetProxyId));
    EXPECT_EQ(0u, ReadInternetSetting().enable);
    EXPECT_TRUE(WaitUntil([&] { return DialogItemText(main, kCurrentIPId) == Widen(kRealAddress); }, 10000));
}

}  // namespace
