// Picking proxies out of page text, and reading pages and sources.
#include "net/HarvestScanner.h"
#include "net/HarvestSources.h"
#include "net/ObtainWebSiteWorker.h"
#include "net/WebSite.h"

#include "tests/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::vector<std::string> Found(const CProxyList& list)
{
    std::vector<std::string> found;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
        const CProxy& proxy = list.GetNext(pos);
        found.push_back(std::string(proxy.m_szIP) + ":" + std::to_string(proxy.m_nPort));
    }
    return found;
}

std::vector<std::string> Scan(const char* pszText)
{
    CProxyList list;
    ScanProxyChunk(pszText, list);
    return Found(list);
}

typedef std::vector<std::string> Names;
}  // namespace

TEST(HarvestScannerTest, Cases)
{
    struct Case
    {
        const char* text;
        Names found;
    } cases[] = {
        { "10.0.0.1:8080", { "10.0.0.1:8080" } },
        { "10.0.0.1 8080", { "10.0.0.1:8080" } },
        { "10.0.0.1 10.0.0.2:3128", { "10.0.0.2:3128" } },
        { "10.0.0.1:0", {} },
        { "10.0.0.1 00000\n", {} },
        { "10.0.0.1:123456", { "10.0.0.1:12345" } },
        { "10.0.0.1 1234567", { "10.0.0.1:12345" } },
        { "10.0.0.1:70000", {} },  // no such port
        { "10.0.0.1:65535", { "10.0.0.1:65535" } },
        { "1234.5.6.7.8:80", { "5.6.7.8:80" } },  // the first group stops at three digits
        { "<tr><td>10.0.0.3</td><td class=\"p\">3128</td></tr>", { "10.0.0.3:3128" } },
        { "Updated 2024-01-05 12:30 10.0.0.5 port 8000 ping 35ms", { "10.0.0.5:8000" } },
        { "10.0.0.1:80 10.0.0.1:80 10.0.0.1:81", { "10.0.0.1:80", "10.0.0.1:81" } },
        { "1.1.1.1:80x2.2.2.2:81", { "1.1.1.1:80", "2.2.2.2:81" } },
        { "10.0.0.1:", {} },
        { "10.0.0.1", {} },
        { "10.0.0.1 no port here", {} },
        { "10.0.0.1:x8080", {} },
        { "10.0.0", {} },
        { "", {} },
        { "999.1.1.1:80", { "999.1.1.1:80" } },  // kept here; it has no country
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.found, Scan(c.text)) << c.text;
}

TEST(HarvestScannerTest, PortsOfOtherServicesAreNotHarvested)
{
    for (int port : { 3124, 3127, 3129, 8888 })
        EXPECT_TRUE(IsExcludedPort(port)) << port;
    for (int port : { 80, 3123, 3125, 3128, 3130, 8080, 8887, 8889 })
        EXPECT_FALSE(IsExcludedPort(port)) << port;
}

TEST(HarvestScannerTest, FoundProxiesCarryTheirDefaults)
{
    CProxyList list;
    ScanProxyChunk("10.0.0.1:8080", list);
    ASSERT_EQ(1, list.GetCount());
    const CProxy& proxy = list.GetHead();
    EXPECT_EQ(-1, proxy.m_nCountry);  // no ranges loaded here
    EXPECT_EQ(0, proxy.m_nType);
    EXPECT_EQ(0, proxy.m_nUptime);
    EXPECT_EQ(0, proxy.m_nSpeed);
}

class WebSiteFileTest : public testing::Test
{
protected:
    std::wstring Write(const wchar_t* pszName, const std::string& strBytes)
    {
        std::wstring strPath = m_dir.File(pszName);
        WriteFileBytes(strPath, strBytes);
        return strPath;
    }
    CTempDir m_dir;
};

TEST_F(WebSiteFileTest, PagesAreScannedChunkByChunk)
{
    // An address across the chunk boundary is not seen; one that ends the
    // first chunk exactly still is.
    std::string strSplit(HARVEST_CHUNK_SIZE - 5, 'x');
    strSplit += "10.0.0.9:8080\r\n1.2.3.4:81\r\n";
    std::string strEdge(HARVEST_CHUNK_SIZE - 12, ' ');
    strEdge += "5.6.7.8:8000";  // the last 12 bytes of the first chunk
    strEdge += "\r\n9.9.9.9:82";
    struct Case
    {
        const char* name;
        std::string bytes;
        Names found;
    } cases[] = {
        { "split", strSplit, { "1.2.3.4:81" } },
        { "edge", strEdge, { "5.6.7.8:8000", "9.9.9.9:82" } },
    };
    for (const Case& c : cases) {
        std::wstring strPath = Write(L"page.txt", c.bytes);
        CWebSite site(L"", strPath.c_str());
        EXPECT_EQ(c.found, Found(site.GetProxies())) << c.name;
    }
}

TEST_F(WebSiteFileTest, APageIsReadOnceItGaveProxies)
{
    std::wstring strPath = Write(L"page.txt", "10.0.0.1:80\r\n");
    CWebSite site(L"", strPath.c_str());
    EXPECT_EQ(Names{ "10.0.0.1:80" }, Found(site.GetProxies()));
    Write(L"page.txt", "10.0.0.2:80\r\n");
    EXPECT_EQ(Names{ "10.0.0.1:80" }, Found(site.GetProxies()));

    // An empty page is read again next time.
    std::wstring strEmpty = Write(L"empty.txt", "nothing\r\n");
    CWebSite empty(L"", strEmpty.c_str());
    EXPECT_TRUE(empty.GetProxies().IsEmpty());
    Write(L"empty.txt", "10.0.0.3:80\r\n");
    EXPECT_EQ(Names{ "10.0.0.3:80" }, Found(empty.GetProxies()));

    CWebSite missing(L"", m_dir.File(L"none.txt").c_str());
    EXPECT_TRUE(missing.GetProxies().IsEmpty());
    CWebSite noPath(L"", L"");
    EXPECT_TRUE(noPath.GetProxies().IsEmpty());
    EXPECT_FALSE(noPath.ParseProxies(NULL));
}

TEST_F(WebSiteFileTest, SitesCopyTheirTextsFlagAndProxies)
{
    std::wstring strLong(WEBSITE_TEXT_SIZE, L'h');
    CWebSite tooLong(strLong.c_str(), L"/path");
    EXPECT_STREQ(L"", tooLong.m_szHost);
    EXPECT_STREQ(L"/path", tooLong.m_szPath);
    std::wstring strFits(WEBSITE_TEXT_SIZE - 1, L'h');
    CWebSite fits(strFits.c_str(), L"/");
    EXPECT_EQ(strFits, fits.m_szHost);
    EXPECT_FALSE(fits.m_bDone);

    std::wstring strPath = Write(L"page.txt", "10.0.0.1:80 10.0.0.2:81");
    CWebSite site(L"", strPath.c_str());
    site.GetProxies();
    site.m_bDone = true;
    CWebSite copy;
    copy = site;
    EXPECT_TRUE(copy.m_bDone);
    EXPECT_EQ(Found(site.m_proxies), Found(copy.m_proxies));
    EXPECT_EQ(strPath, copy.m_szPath);
}

namespace {
std::vector<std::pair<std::wstring, std::wstring>> Sites(const CWebSiteList& sites)
{
    std::vector<std::pair<std::wstring, std::wstring>> out;
    for (POSITION pos = sites.GetHeadPosition(); pos != NULL;) {
        const CWebSite& site = sites.GetNext(pos);
        out.push_back({ site.m_szHost, site.m_szPath });
    }
    return out;
}
typedef std::vector<std::pair<std::wstring, std::wstring>> SiteNames;
}  // namespace

TEST_F(WebSiteFileTest, WebSiteListTakesTheLastTwoFields)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        SiteNames sites;
    } cases[] = {
        { "three fields", "a\tb\tc\r\nhost2\t/p2", { { L"b", L"c" }, { L"host2", L"/p2" } } },
        { "empty line ends", "h1\t/1\r\n\r\nh3\t/3\r\n", { { L"h1", L"/1" } } },
        { "single field ends", "h1\t/1\r\nlonely\r\nh3\t/3\r\n", { { L"h1", L"/1" } } },
        { "empty file", "", {} },
    };
    for (const Case& c : cases) {
        CWebSiteList sites;
        EXPECT_TRUE(ReadWebSiteList(Write(L"proxywebsite.txt", c.bytes).c_str(), sites)) << c.name;
        EXPECT_EQ(c.sites, Sites(sites)) << c.name;
    }
    CWebSiteList none;
    EXPECT_FALSE(ReadWebSiteList(m_dir.File(L"missing.txt").c_str(), none));
    EXPECT_TRUE(none.IsEmpty());
}

TEST_F(WebSiteFileTest, PageFileListTakesTheLineAfterEachMarker)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        SiteNames sites;
    } cases[] = {
        { "markers",
          "intro\r\nFileName:\r\npages\\a.txt\r\nfilename:\r\nx.txt\r\nFileName:\r\nb.txt",
          { { L"", L"pages\\a.txt" }, { L"", L"b.txt" } } },
        { "marker after marker", "FileName:\r\nFileName:\r\nc.txt\r\n", { { L"", L"FileName:" } } },
        { "two fields end", "FileName:\r\na.txt\r\nx\ty\r\nFileName:\r\nb.txt\r\n", { { L"", L"a.txt" } } },
        { "marker last", "FileName:\r\n", {} },
    };
    for (const Case& c : cases) {
        CWebSiteList sites;
        EXPECT_TRUE(ReadPageFileList(Write(L"toText.txt", c.bytes).c_str(), sites)) << c.name;
        EXPECT_EQ(c.sites, Sites(sites)) << c.name;
    }
}
