// The harvest against pages served on 127.0.0.1 port 80 and local page
// files, with the world's tinyproxies standing in for the proxies found.
#include "tests/net/DirectConnection.h"
#include "tests/net/PageServer.h"
#include "tests/net/ProxyRunFixture.h"

#include "app/CorvaneMessages.h"
#include "net/Harvest.h"
#include "net/ObtainWebSiteWorker.h"
#include "net/WebSite.h"
#include "proxy/CountryTable.h"
#include "proxy/ProxyFile.h"
#include "tests/TestFiles.h"

#include <algorithm>

using namespace proxyrun;

namespace {

// Stands in for the main window: records the harvest's messages.
class MainWindowStub : public CRecordingWindow
{
public:
    std::vector<std::pair<WPARAM, LPARAM>> m_starts;
    int m_nRefreshes = 0;

protected:
    bool OnReceived(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_HARVEST_PROGRESS_START) {
            m_starts.push_back({ wParam, lParam });
            return true;
        }
        if (message == WM_REFRESH_PROXY_LIST) {
            m_nRefreshes++;
            return true;
        }
        return false;
    }
};

struct HarvestRun
{
    CProxyList* pList;
    volatile bool bDone;
};

DWORD WINAPI HarvestRunProc(LPVOID pParam)
{
    HarvestRun* pRun = (HarvestRun*)pParam;
    HarvestProxies(*pRun->pList);
    pRun->bDone = true;
    return 0;
}

const int kLoopbackCountry = 5;
const int kOtherCountry = 7;

// Runs in a working directory of its own: the country table with its
// ranges, and the AdminFile folder with the sources.
class HarvestRunTest : public ProxyRunTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(UseDirectConnection());
        GetCurrentDirectoryW(MAX_PATH, m_szOldDir);
        ASSERT_TRUE(SetCurrentDirectoryW(m_dir.Path().c_str()));
        WriteFileBytes(L"countries.crv",
                       "AA\tA\r\nBB\tB\r\nCC\tC\r\nDD\tD\r\nEE\tE\r\nLO\tLoopland\r\nGG\tG\r\n"
                       "OT\tOtherland\r\nII\tI\r\n");
        // 127.200.0.0 and up lie outside every range.
        WriteFileBytes(L"countryranges.crv", "127.0.0.0\t127.0.0.255\tLO\r\n127.0.1.0\t127.0.1.255\tOT\r\n");
        ASSERT_EQ(9, GetCountryTable().GetCount());
        ASSERT_EQ(kLoopbackCountry, FindCountryByAddress("127.0.0.1"));
        CreateDirectoryW(L"AdminFile", NULL);
        CreateDirectoryW(L"AdminFile\\pages", NULL);
        ProxyRunTest::SetUp();
        g_hMainWnd = m_main.m_hWnd;
        SetWebPageTimeout(3000);
        // Fresh paths each run: nothing may come from an earlier answer.
        m_strRoot = "/harvest" + std::to_string(GetTickCount()) + "/";
    }
    void TearDown() override
    {
        m_server.Stop();
        g_hMainWnd = NULL;
        ProxyRunTest::TearDown();
        SetCurrentDirectoryW(m_szOldDir);
    }

    std::string Path(const char* pszName) const { return m_strRoot + pszName; }

    void AddPage(const char* pszName, const std::string& strBody, int nStatus = 200,
                 PageServer::Mode mode = PageServer::kAnswer)
    {
        PageServer::Page page;
        page.mode = mode;
        page.status = nStatus;
        page.body = strBody;
        m_server.Add(Path(pszName), page);
    }

    // Runs the harvest on its own thread, as the Worker command does, and
    // pumps the messages it posts.
    void Harvest(CProxyList& list)
    {
        HarvestRun run = { &list, false };
        HANDLE h = CreateThread(NULL, 0, HarvestRunProc, &run, 0, NULL);
        ASSERT_NE((HANDLE)NULL, h);
        m_counter.PumpUntil(
            [&] {
                m_main.Pump();
                return (bool)run.bDone;
            },
            120000);
        WaitForSingleObject(h, INFINITE);
        CloseHandle(h);
        m_main.Pump();
    }

    CTempDir m_dir;
    wchar_t m_szOldDir[MAX_PATH] = L"";
    PageServer m_server;
    MainWindowStub m_main;
    std::string m_strRoot;
};

std::vector<int> PortsOf(const CProxyList& list)
{
    std::vector<int> ports = Ports(list);
    std::sort(ports.begin(), ports.end());
    return ports;
}

}  // namespace

TEST_F(HarvestRunTest, HarvestsEveryLayoutAndSkipsTheBadSites)
{
    // Live proxies: the tinyproxies. 127.0.0.1:18299 is found but fails the
    // speed test; the others are dropped before it.
    AddPage("plain.txt",
            "127.0.0.1:18201\r\n"
            "127.0.0.1:18299\r\n"
            "127.0.1.5:8888\r\n"       // excluded port
            "127.0.0.1:3127\r\n"       // excluded port
            "127.200.0.1:18202\r\n");  // no country
    AddPage("table.html",
            "<html><body><table><tr><th>IP</th><th>Port</th></tr>\n"
            "<tr><td>127.0.0.1</td><td>18202</td></tr>\n"
            "<tr><td>127.0.0.9</td><td>18203</td></tr>\n"  // excluded address
            "</table></body></html>\n");
    AddPage("mixed.html",
            "Checked 2026-12-10 14:05, 3 of 12 up: 127.0.0.1 port 18203 ping 12ms; "
            "127.0.0.1 18201 again.\n");
    AddPage("silent.html", "", 200, PageServer::kSilent);
    AddPage("early.html", "", 200, PageServer::kClose);
    AddPage("missing.html", "127.0.0.1:18204\n", 404);
    WriteFileBytes(L"AdminFile\\proxywebsite.txt",
                   "plain\t127.0.0.1\t" + Path("plain.txt") + "\r\n" + "127.0.0.1\t" + Path("silent.html") + "\r\n" +
                       "127.0.0.1\t" + Path("table.html") + "\r\n" + "127.0.0.1\t" + Path("early.html") + "\r\n" +
                       "bad host name!\t/x\r\n" + "127.0.0.1\t" + Path("missing.html") + "\r\n" + "127.0.0.1\t" +
                       Path("mixed.html") + "\r\n");
    WriteFileBytes(L"AdminFile\\pages\\local.txt", "127.0.0.1:18204 127.0.0.1:18201\r\n");
    WriteFileBytes(L"AdminFile\\proxywebsiteToText.txt",
                   "FileName:\r\nAdminFile\\pages\\local.txt\r\n"
                   "FileName:\r\nAdminFile\\pages\\none.txt\r\n");
    // A bare address excludes nothing; one with a port does.
    WriteFileBytes(L"AdminFile\\codeen.txt", "127.0.0.9:1\r\n127.0.0.1\r\n");
    ASSERT_TRUE(m_server.Start()) << "port 80 is taken";

    CProxyList list;
    CProxy stale("127.0.0.1", 18216, kOtherCountry, 1, 5, 10);
    list.AddTail(stale);
    Harvest(list);

    // 18201, 18299, 18202, 18203 and 18204 reached the speed test.
    ASSERT_EQ(1u, m_main.m_starts.size());
    EXPECT_EQ(1u, m_main.m_starts[0].first);
    EXPECT_EQ(5, (int)m_main.m_starts[0].second);
    EXPECT_EQ(1, m_main.m_nRefreshes);

    EXPECT_EQ((std::vector<int>{ 18201, 18202, 18203, 18204 }), PortsOf(list));
    int nLastSpeed = -1;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
        const CProxy& proxy = list.GetNext(pos);
        EXPECT_STREQ("127.0.0.1", proxy.m_szIP);
        EXPECT_EQ(kLoopbackCountry, proxy.m_nCountry) << proxy.m_nPort;
        EXPECT_EQ(0, proxy.m_nType) << proxy.m_nPort;
        EXPECT_EQ(5, proxy.m_nUptime) << proxy.m_nPort;
        EXPECT_GE(proxy.m_nSpeed, nLastSpeed) << "fastest first";
        nLastSpeed = proxy.m_nSpeed;
    }

    // The file holds the list as it stands.
    CProxyList written;
    ASSERT_TRUE(ReadProxyFile(written, HARVEST_RESULT_FILE, TRUE));
    ASSERT_EQ(list.GetCount(), written.GetCount());
    for (POSITION a = list.GetHeadPosition(), b = written.GetHeadPosition(); a != NULL;) {
        const CProxy& x = list.GetNext(a);
        const CProxy& y = written.GetNext(b);
        EXPECT_TRUE(x == y);
        EXPECT_EQ(x.m_nCountry, y.m_nCountry);
        EXPECT_EQ(x.m_nUptime, y.m_nUptime);
        EXPECT_EQ(x.m_nSpeed, y.m_nSpeed);
    }
    for (const char* pszPage : { "plain.txt", "table.html", "mixed.html", "silent.html", "early.html", "missing.html" })
        EXPECT_EQ(1, m_server.Hits(Path(pszPage))) << pszPage;
    CObtainWebSiteWorker& worker = GetObtainWebSiteWorker();
    ExpectWorkerEmpty(worker);
    ExpectWorkerEmpty(GetTestSpeedWorker());
    ASSERT_EQ(9, worker.m_sites.GetCount());
    for (POSITION pos = worker.m_sites.GetHeadPosition(); pos != NULL;)
        EXPECT_FALSE(worker.m_sites.GetNext(pos).m_bDone);

    // Again: the exclusion list is read anew, the source lists are not, and
    // only the sites that gave nothing are fetched again.
    WriteFileBytes(L"AdminFile\\codeen.txt", "<td>127.0.0.1</td><td>1</td>\r\n");
    WriteFileBytes(L"AdminFile\\proxywebsite.txt", "");
    m_main.m_starts.clear();
    Harvest(list);
    // Only 127.0.0.9:18203 is left, no longer excluded; nothing listens
    // there, so it fails the speed test.
    ASSERT_EQ(1u, m_main.m_starts.size());
    EXPECT_EQ(1, (int)m_main.m_starts[0].second);
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ("", ReadFileBytes(HARVEST_RESULT_FILE));
    for (const char* pszPage : { "plain.txt", "table.html", "mixed.html" })
        EXPECT_EQ(1, m_server.Hits(Path(pszPage))) << pszPage;
    for (const char* pszPage : { "silent.html", "early.html", "missing.html" })
        EXPECT_EQ(2, m_server.Hits(Path(pszPage))) << pszPage;
}

TEST_F(HarvestRunTest, WithoutSourcesTheListIsEmptied)
{
    CProxyList list;
    CProxy proxy("127.0.0.1", 18201, kLoopbackCountry, 1, 5, 10);
    list.AddTail(proxy);
    Harvest(list);
    EXPECT_TRUE(list.IsEmpty());
    ASSERT_EQ(1u, m_main.m_starts.size());
    EXPECT_EQ(0, (int)m_main.m_starts[0].second);
    EXPECT_EQ(1, m_main.m_nRefreshes);
    // The folder exists, so the empty list is written.
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(HARVEST_RESULT_FILE));
    EXPECT_EQ("", ReadFileBytes(HARVEST_RESULT_FILE));
}
