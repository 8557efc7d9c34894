// One proxy-list page fetched from 127.0.0.1 port 80: what each answer gives.
#include "tests/net/DirectConnection.h"
#include "tests/net/PageServer.h"

#include "net/WebSite.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class WebSiteFetchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(UseDirectConnection());
        SetWebPageTimeout(2000);
        m_strRoot = "/fetch" + std::to_string(GetTickCount()) + "/";
    }
    void TearDown() override { m_server.Stop(); }

    std::wstring Add(const char* pszName, PageServer::Mode mode, int nStatus, const std::string& strBody)
    {
        PageServer::Page page;
        page.mode = mode;
        page.status = nStatus;
        page.body = strBody;
        m_server.Add(m_strRoot + pszName, page);
        std::string strPath = m_strRoot + pszName;
        return std::wstring(strPath.begin(), strPath.end());
    }

    PageServer m_server;
    std::string m_strRoot;
};

}  // namespace

TEST_F(WebSiteFetchTest, OnlyAWholeAnswerWithStatus200GivesProxies)
{
    std::string strBig;
    for (int i = 0; i < 3000; ++i)
        strBig += "row " + std::to_string(i) + " <td>127.0.0." + std::to_string(i % 250 + 1) + "</td><td>" +
                  std::to_string(1000 + i) + "</td>\n";
    struct Case
    {
        const char* name;
        PageServer::Mode mode;
        int status;
        std::string body;
        int found;
    } cases[] = {
        { "ok.txt", PageServer::kAnswer, 200, "127.0.0.1:8080\n127.0.0.2 3128\n", 2 },
        { "big.html", PageServer::kAnswer, 200, strBig, -1 },
        { "gone.html", PageServer::kAnswer, 404, "127.0.0.1:8080\n", 0 },
        { "error.html", PageServer::kAnswer, 500, "127.0.0.1:8080\n", 0 },
        { "silent.html", PageServer::kSilent, 200, "", 0 },
        { "close.html", PageServer::kClose, 200, "", 0 },
    };
    for (const Case& c : cases)
        Add(c.name, c.mode, c.status, c.body);
    ASSERT_TRUE(m_server.Start()) << "port 80 is taken";

    for (const Case& c : cases) {
        std::string strPath = m_strRoot + c.name;
        CWebSite site(L"127.0.0.1", std::wstring(strPath.begin(), strPath.end()).c_str());
        DWORD dwStart = GetTickCount();
        int nFound = site.GetProxies().GetCount();
        DWORD dwTook = GetTickCount() - dwStart;
        if (c.found >= 0)
            EXPECT_EQ(c.found, nFound) << c.name;
        else
            EXPECT_GT(nFound, 2900) << c.name;  // a few rows straddle the chunk edges
        // The time-out bounds a silent site (generously: no timing is asserted beyond it).
        EXPECT_LT(dwTook, 20000u) << c.name;
        EXPECT_EQ(1, m_server.Hits(strPath)) << c.name;
    }

    CWebSite badHost(L"bad host name!", L"/x");
    EXPECT_TRUE(badHost.GetProxies().IsEmpty());
}
