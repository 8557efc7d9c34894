// Tests of removing and copying the selected rows of a proxy list.
#include "proxy/ProxyRows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

void FillPorts(CProxyList& list, int nCount)
{
    for (int i = 0; i < nCount; ++i) {
        CProxy proxy("127.0.0.1", 1000 + i, 0, 1, 0, 0);
        list.AddTail(proxy);
    }
}

std::vector<int> Ports(const CProxyList& list)
{
    std::vector<int> ports;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
        ports.push_back(list.GetNext(pos).m_nPort);
    return ports;
}

struct RowsCase
{
    const char* name;
    int nListSize;
    std::vector<int> rows;
    std::vector<int> kept;    // ports left after the removal
    std::vector<int> copied;  // ports of the copy
};

const RowsCase kCases[] = {
    { "nothing selected", 3, {}, { 1000, 1001, 1002 }, {} },
    { "the head", 3, { 0 }, { 1001, 1002 }, { 1000 } },
    { "the tail", 3, { 2 }, { 1000, 1001 }, { 1002 } },
    { "every other row", 5, { 0, 2, 4 }, { 1001, 1003 }, { 1000, 1002, 1004 } },
    { "every row", 4, { 0, 1, 2, 3 }, {}, { 1000, 1001, 1002, 1003 } },
    { "rows past the end are skipped", 3, { 1, 3, 7 }, { 1000, 1002 }, { 1001 } },
    { "only rows past the end", 2, { 2, 5 }, { 1000, 1001 }, {} },
    { "an empty list", 0, { 0, 1 }, {}, {} },
};

TEST(ProxyRowsTest, RemoveAndCopyTheSelectedRows)
{
    for (const RowsCase& c : kCases) {
        SCOPED_TRACE(c.name);
        CProxyList list;
        FillPorts(list, c.nListSize);
        CProxyList copy;
        CProxy stale("127.0.0.1", 9, 0, 1, 0, 0);
        copy.AddTail(stale);  // replaced, not appended to
        CopyProxyRows(list, c.rows, copy);
        EXPECT_EQ(c.copied, Ports(copy));
        EXPECT_EQ(c.nListSize, (int)list.GetCount());

        RemoveProxyRows(list, c.rows);
        EXPECT_EQ(c.kept, Ports(list));
    }
}

TEST(ProxyRowsTest, CopiesAreWholeRecords)
{
    CProxyList list;
    CProxy first("127.0.0.1", 1000, 3, 2, 4, 50);
    CProxy second("127.0.0.2", 2000, 5, 1, 2, 70);
    list.AddTail(first);
    list.AddTail(second);
    CProxyList copy;
    CopyProxyRows(list, { 1 }, copy);
    ASSERT_EQ(1, (int)copy.GetCount());
    const CProxy& got = copy.GetHead();
    EXPECT_STREQ("127.0.0.2", got.m_szIP);
    EXPECT_EQ(2000, got.m_nPort);
    EXPECT_EQ(5, got.m_nCountry);
    EXPECT_EQ(1, got.m_nType);
    EXPECT_EQ(2, got.m_nUptime);
    EXPECT_EQ(70, got.m_nSpeed);
}

}  // namespace
