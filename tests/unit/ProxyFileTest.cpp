// Tests of reading and writing proxy list files.
#include "proxy/ProxyFile.h"

#include "ProxyTestDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// The list takes its elements by non-const reference.
POSITION AddProxy(CProxyList& list, CProxy proxy)
{
    return list.AddTail(proxy);
}

struct Row
{
    std::string ip;
    int port, country, type, uptime, speed;
    bool operator==(const Row& o) const
    {
        return ip == o.ip && port == o.port && country == o.country && type == o.type && uptime == o.uptime &&
               speed == o.speed;
    }
};

void PrintTo(const Row& r, std::ostream* os)
{
    *os << r.ip << ":" << r.port << "/" << r.country << "/" << r.type << "/" << r.uptime << "/" << r.speed;
}

std::vector<Row> Rows(const CProxyList& list)
{
    std::vector<Row> rows;
    POSITION pos = list.GetHeadPosition();
    while (pos != NULL) {
        const CProxy& p = list.GetNext(pos);
        rows.push_back({ p.m_szIP, p.m_nPort, p.m_nCountry, p.m_nType, p.m_nUptime, p.m_nSpeed });
    }
    return rows;
}

class ProxyFileTest : public testing::Test
{
protected:
    std::wstring Write(const std::string& strBytes)
    {
        std::wstring strPath = m_dir.File(L"proxy.tmp");
        CProxyTestDir::WriteBytes(strPath, strBytes);
        return strPath;
    }

    CProxyTestDir m_dir;
};

const std::string kFirst = "1.1.1.1\t80\t3\t1\t5\t120\r\n";
const std::string kLast = "2.2.2.2\t8080\t-1\t2\t0\t3600000\r\n";
const Row kFirstRow = { "1.1.1.1", 80, 3, 1, 5, 120 };
const Row kLastRow = { "2.2.2.2", 8080, -1, 2, 0, 3600000 };
}  // namespace

// Each line sits between two good ones: a bad line is skipped and the next
// line is read normally.
TEST_F(ProxyFileTest, MalformedLinesAreSkipped)
{
    struct Case
    {
        const char* name;
        std::string line;
        std::vector<Row> middle;  // what the line itself yields
    } cases[] = {
        { "good line", "3.3.3.3\t3128\t7\t0\t2\t900\r\n", { { "3.3.3.3", 3128, 7, 0, 2, 900 } } },
        { "port 0", "3.3.3.3\t0\t7\t0\t2\t900\r\n", {} },
        { "non-numeric port", "3.3.3.3\tx80\t7\t0\t2\t900\r\n", {} },
        { "type 4", "3.3.3.3\t3128\t7\t4\t2\t900\r\n", {} },
        { "type 3 accepted", "3.3.3.3\t3128\t7\t3\t2\t900\r\n", { { "3.3.3.3", 3128, 7, 3, 2, 900 } } },
        { "type -1 accepted", "3.3.3.3\t3128\t7\t-1\t2\t900\r\n", { { "3.3.3.3", 3128, 7, -1, 2, 900 } } },
        { "five fields", "3.3.3.3\t3128\t7\t0\t2\r\n", {} },
        { "seven fields", "3.3.3.3\t3128\t7\t0\t2\t900\t1\r\n", {} },
        { "twelve fields", "3.3.3.3\t3128\t7\t0\t2\t900\t1\t2\t3\t4\t5\t6\r\n", {} },
        { "15-character address",
          "123.123.123.123\t3128\t7\t0\t2\t900\r\n",
          { { "123.123.123.123", 3128, 7, 0, 2, 900 } } },
        { "16-character address", "123.123.123.1234\t3128\t7\t0\t2\t900\r\n", {} },
        { "blanks and signs in numbers",
          "3.3.3.3\t 3128\t+7\t 1x\t-2\t12.5ms\r\n",
          { { "3.3.3.3", 3128, 7, 1, -2, 12 } } },
        { "duplicate of the first line", "1.1.1.1\t80\t9\t2\t1\t1\r\n", {} },
        { "same address, other port", "1.1.1.1\t81\t9\t2\t1\t1\r\n", { { "1.1.1.1", 81, 9, 2, 1, 1 } } },
    };
    for (const Case& c : cases) {
        CProxyList list(10);
        ASSERT_TRUE(ReadProxyFile(list, Write(kFirst + c.line + kLast).c_str(), TRUE)) << c.name;
        std::vector<Row> expected = { kFirstRow };
        expected.insert(expected.end(), c.middle.begin(), c.middle.end());
        expected.push_back(kLastRow);
        EXPECT_EQ(expected, Rows(list)) << c.name;
    }
}

TEST_F(ProxyFileTest, EmptyLineEndsTheList)
{
    CProxyList list(10);
    EXPECT_TRUE(ReadProxyFile(list, Write(kFirst + "\r\n" + kLast).c_str(), TRUE));
    EXPECT_EQ(std::vector<Row>({ kFirstRow }), Rows(list));

    // So does a line of a single field.
    EXPECT_TRUE(ReadProxyFile(list, Write(kFirst + "garbage\r\n" + kLast).c_str(), TRUE));
    EXPECT_EQ(std::vector<Row>({ kFirstRow }), Rows(list));
}

TEST_F(ProxyFileTest, LastLineWithoutLineEnd)
{
    CProxyList list(10);
    EXPECT_TRUE(ReadProxyFile(list, Write(kFirst + "2.2.2.2\t8080\t-1\t2\t0\t3600000").c_str(), TRUE));
    EXPECT_EQ(std::vector<Row>({ kFirstRow, kLastRow }), Rows(list));

    EXPECT_TRUE(ReadProxyFile(list, Write(kFirst + "2.2.2.2\t8080\t-1\t2\t0\t3600000\n").c_str(), TRUE));
    EXPECT_EQ(std::vector<Row>({ kFirstRow, kLastRow }), Rows(list));
}

TEST_F(ProxyFileTest, ReplaceAndAppend)
{
    CProxyList list(10);
    AddProxy(list, CProxy("9.9.9.9", 99, 0, 0, 0, 0));
    AddProxy(list, CProxy("1.1.1.1", 80, 42, 0, 0, 0));

    // A missing file leaves the list as it was, even with replace.
    EXPECT_FALSE(ReadProxyFile(list, m_dir.File(L"missing.txt").c_str(), TRUE));
    EXPECT_EQ(2, (int)list.GetCount());

    // Appending keeps the proxies already there, which win over the file's.
    EXPECT_TRUE(ReadProxyFile(list, Write(kFirst + kLast).c_str(), FALSE));
    EXPECT_EQ(std::vector<Row>({ { "9.9.9.9", 99, 0, 0, 0, 0 }, { "1.1.1.1", 80, 42, 0, 0, 0 }, kLastRow }),
              Rows(list));

    // An empty file with replace empties the list.
    EXPECT_TRUE(ReadProxyFile(list, Write("").c_str(), TRUE));
    EXPECT_EQ(0, (int)list.GetCount());
}

TEST_F(ProxyFileTest, WriteAndReadBackGiveTheSameList)
{
    CProxyList list(10);
    AddProxy(list, CProxy("10.0.0.1", 3128, 17, 1, 5, 321));
    AddProxy(list, CProxy("10.0.0.2", 80, -1, 0, 0, PROXY_SPEED_UNMEASURED));
    AddProxy(list, CProxy("255.255.255.255", 65535, 248, 2, 3, 2147483647));
    AddProxy(list, CProxy("10.0.0.3", 8080, -2147483647 - 1, -1, -5, -7));
    AddProxy(list, CProxy("", 1, 0, 3, 0, 0));

    std::wstring strPath = m_dir.File(L"export.txt");
    ASSERT_TRUE(WriteProxyFile(list, strPath.c_str()));
    EXPECT_EQ(0u, CProxyTestDir::ReadBytes(strPath).find("10.0.0.1\t3128\t17\t1\t5\t321\r\n"
                                                         "10.0.0.2\t80\t-1\t0\t0\t3600000\r\n"));

    CProxyList back(10);
    AddProxy(back, CProxy("7.7.7.7", 7, 7, 7, 7, 7));
    ASSERT_TRUE(ReadProxyFile(back, strPath.c_str(), TRUE));
    EXPECT_EQ(Rows(list), Rows(back));

    // Elements the reader refuses are the only ones that do not come back.
    AddProxy(list, CProxy("10.0.0.1", 3128, 1, 1, 1, 1));  // repeated address and port
    AddProxy(list, CProxy("10.0.0.9", 0, 1, 1, 1, 1));     // port 0
    AddProxy(list, CProxy("10.0.0.9", 9, 1, 4, 1, 1));     // type above 3
    AddProxy(list, CProxy("10.0.0.8", 8, 1, 1, 1, 1));
    ASSERT_TRUE(WriteProxyFile(list, strPath.c_str()));
    ASSERT_TRUE(ReadProxyFile(back, strPath.c_str(), TRUE));
    std::vector<Row> expected = Rows(list);
    expected.erase(expected.begin() + 5, expected.begin() + 8);
    EXPECT_EQ(expected, Rows(back));
}

TEST_F(ProxyFileTest, EmptyListAndUnwritablePath)
{
    CProxyList list(10);
    std::wstring strPath = m_dir.File(L"empty.txt");
    ASSERT_TRUE(WriteProxyFile(list, strPath.c_str()));
    EXPECT_EQ("", CProxyTestDir::ReadBytes(strPath));
    EXPECT_FALSE(WriteProxyFile(list, m_dir.File(L"no-such-dir\\x.txt").c_str()));
}

TEST_F(ProxyFileTest, AddressOutsideTheByteRangeIsWrittenOnItsOwnLine)
{
    // An address of 8-bit text that has no one-byte form still leaves a
    // whole file behind.
    CProxyList list(10);
    AddProxy(list, CProxy("\x80\x81.2.3.4", 81, 0, 0, 0, 0));
    AddProxy(list, CProxy("5.6.7.8", 82, 0, 0, 0, 0));
    std::wstring strPath = m_dir.File(L"odd.txt");
    ASSERT_TRUE(WriteProxyFile(list, strPath.c_str()));
    CProxyList back(10);
    ASSERT_TRUE(ReadProxyFile(back, strPath.c_str(), TRUE));
    ASSERT_EQ(2, (int)back.GetCount());
    EXPECT_STREQ("5.6.7.8", back.GetTail().m_szIP);
    EXPECT_EQ(81, back.GetHead().m_nPort);
}
