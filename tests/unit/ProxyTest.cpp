// Tests of the proxy record and list.
#include "proxy/Proxy.h"

#include <gtest/gtest.h>

#include <string.h>

namespace {
// The list takes its elements by non-const reference.
POSITION AddProxy(CProxyList& list, CProxy proxy)
{
    return list.AddTail(proxy);
}
}  // namespace

TEST(ProxyTest, DefaultRecord)
{
    CProxy proxy;
    EXPECT_STREQ("", proxy.m_szIP);
    EXPECT_EQ(0, proxy.m_nPort);
    EXPECT_EQ(-1, proxy.m_nCountry);
    EXPECT_EQ(0, proxy.m_nType);
    EXPECT_EQ(0, proxy.m_nUptime);
    EXPECT_EQ(PROXY_SPEED_UNMEASURED, proxy.m_nSpeed);
    EXPECT_EQ(3600000, PROXY_SPEED_UNMEASURED);
}

TEST(ProxyTest, ValueConstructorKeepsFifteenCharactersAndDropsSixteen)
{
    CProxy fifteen("123.123.123.123", 8080, 4, 1, 3, 250);
    EXPECT_STREQ("123.123.123.123", fifteen.m_szIP);
    EXPECT_EQ(8080, fifteen.m_nPort);
    EXPECT_EQ(4, fifteen.m_nCountry);
    EXPECT_EQ(1, fifteen.m_nType);
    EXPECT_EQ(3, fifteen.m_nUptime);
    EXPECT_EQ(250, fifteen.m_nSpeed);

    CProxy sixteen("123.123.123.1234", 80, -7, 9, -1, 0);
    EXPECT_STREQ("", sixteen.m_szIP);  // dropped whole, not cut
    EXPECT_EQ(80, sixteen.m_nPort);    // the numbers are stored unchecked
    EXPECT_EQ(-7, sixteen.m_nCountry);
    EXPECT_EQ(9, sixteen.m_nType);
    EXPECT_EQ(-1, sixteen.m_nUptime);

    CProxy none(nullptr, 80, 0, 0, 0, 0);
    EXPECT_STREQ("", none.m_szIP);
}

TEST(ProxyTest, CopyTakesAllFields)
{
    CProxy source("10.0.0.1", 3128, 12, 2, 5, 777);
    CProxy copy(source);
    CProxy assigned;
    assigned = source;
    for (const CProxy* p : { &copy, &assigned }) {
        EXPECT_STREQ("10.0.0.1", p->m_szIP);
        EXPECT_EQ(3128, p->m_nPort);
        EXPECT_EQ(12, p->m_nCountry);
        EXPECT_EQ(2, p->m_nType);
        EXPECT_EQ(5, p->m_nUptime);
        EXPECT_EQ(777, p->m_nSpeed);
    }
}

TEST(ProxyTest, EqualityIsAddressTextAndPort)
{
    struct Case
    {
        const char* a;
        int portA;
        const char* b;
        int portB;
        bool equal;
    } cases[] = {
        { "1.2.3.4", 80, "1.2.3.4", 80, true },   { "1.2.3.4", 80, "1.2.3.4", 8080, false },
        { "1.2.3.4", 80, "1.2.3.04", 80, false },  // no normalisation
        { "1.2.3.4", 80, " 1.2.3.4", 80, false }, { "", 80, "", 80, true },
    };
    for (const Case& c : cases) {
        CProxy a(c.a, c.portA, 1, 1, 5, 100);
        CProxy b(c.b, c.portB, 7, 2, 0, PROXY_SPEED_UNMEASURED);  // other values differ
        EXPECT_EQ(c.equal, a == b) << c.a << ":" << c.portA << " vs " << c.b << ":" << c.portB;
        EXPECT_EQ(!c.equal, a != b);
    }
}

TEST(ProxyTest, FindProxyReturnsFirstEqualFromHead)
{
    CProxyList list(10);
    EXPECT_EQ(NULL, FindProxy(list, CProxy("1.1.1.1", 80, -1, 0, 0, 0)));

    AddProxy(list, CProxy("2.2.2.2", 80, -1, 0, 0, 0));
    POSITION first = AddProxy(list, CProxy("1.1.1.1", 80, 3, 1, 0, 0));
    AddProxy(list, CProxy("1.1.1.1", 80, 4, 2, 0, 0));
    AddProxy(list, CProxy("1.1.1.1", 8080, 5, 2, 0, 0));

    POSITION found = FindProxy(list, CProxy("1.1.1.1", 80, -1, 0, 0, 0));
    ASSERT_EQ(first, found);
    EXPECT_EQ(3, list.GetAt(found).m_nCountry);
    EXPECT_EQ(NULL, FindProxy(list, CProxy("1.1.1.1", 81, -1, 0, 0, 0)));
    EXPECT_EQ(NULL, list.FindIndex(list.GetCount()));
    EXPECT_TRUE(list.FindIndex(list.GetCount() - 1) != NULL);
}

TEST(ProxyTest, GlobalListAndRelayEndpoint)
{
    CProxyList& list = GetProxyList();
    EXPECT_EQ(&list, &GetProxyList());
    EXPECT_STREQ("127.0.0.1", g_localRelayProxy.m_szIP);
    EXPECT_EQ(3188, g_localRelayProxy.m_nPort);
    EXPECT_EQ(LOCAL_RELAY_PORT, g_localRelayProxy.m_nPort);
}
