// The list's sort by column, the Speed cell's percentage and the choice of
// sort key by column click.
#include "app/CorvaneDlgList.h"
#include "proxy/ProxySort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <list>
#include <random>
#include <vector>

namespace {
// Port is the entry's identity in these tests.
struct Entry
{
    int port, country, type, uptime, speed;
};

void Fill(CProxyList& list, const std::vector<Entry>& entries)
{
    list.RemoveAll();
    for (const Entry& e : entries) {
        CProxy proxy("10.0.0.1", e.port, e.country, e.type, e.uptime, e.speed);
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

// Country 5 lies outside a table of 3; type 3 and uptimes 0 and 6 are
// outside the walked values too.
const std::vector<Entry> kMixed = {
    { 1, 2, 1, 5, 300 }, { 2, 0, 2, 3, 100 }, { 3, -1, 0, 0, PROXY_SPEED_UNMEASURED },
    { 4, 1, 1, 4, 100 }, { 5, 5, 3, 6, 50 },  { 6, 0, 2, 5, 300 },
    { 7, 2, 1, 1, 0 },
};
const std::vector<Entry> kEqualSpeeds = {
    { 1, 0, 1, 5, 200 },
    { 2, 1, 2, 4, 200 },
    { 3, 0, 1, 5, 200 },
    { 4, -1, 0, 0, 200 },
};

struct SortCase
{
    const char* name;
    const std::vector<Entry>* entries;
    int key;
    bool ascending;
    int countryCount;
    std::vector<int> expected;
};

const std::vector<Entry> kNone = {};
const std::vector<Entry> kOne = { { 9, -1, 0, 0, 77 } };

const SortCase kCases[] = {
    // Speed order of kMixed: 7 5 2 4 1 6 3 (equal speeds 2,4 and 1,6 in list order).
    { "SpeedAscending", &kMixed, PROXY_SORT_SPEED, true, 3, { 7, 5, 2, 4, 1, 6, 3 } },
    { "SpeedDescending", &kMixed, PROXY_SORT_SPEED, false, 3, { 3, 6, 1, 4, 2, 5, 7 } },
    { "CountryAscending", &kMixed, PROXY_SORT_COUNTRY, true, 3, { 2, 6, 4, 7, 1, 5, 3 } },
    { "CountryDescending", &kMixed, PROXY_SORT_COUNTRY, false, 3, { 7, 1, 4, 2, 6, 5, 3 } },
    { "CountryWithoutTable", &kMixed, PROXY_SORT_COUNTRY, true, 0, { 7, 5, 2, 4, 1, 6, 3 } },
    { "CountryTableOfOne", &kMixed, PROXY_SORT_COUNTRY, false, 1, { 2, 6, 7, 5, 4, 1, 3 } },
    { "TypeAscending", &kMixed, PROXY_SORT_TYPE, true, 3, { 7, 4, 1, 2, 6, 5, 3 } },
    { "TypeDescending", &kMixed, PROXY_SORT_TYPE, false, 3, { 2, 6, 7, 4, 1, 5, 3 } },
    { "UptimeAscendingBestFirst", &kMixed, PROXY_SORT_UPTIME, true, 3, { 1, 6, 4, 2, 7, 5, 3 } },
    { "UptimeDescending", &kMixed, PROXY_SORT_UPTIME, false, 3, { 7, 2, 4, 1, 6, 5, 3 } },
    { "EqualSpeedsKeepOrder", &kEqualSpeeds, PROXY_SORT_SPEED, true, 2, { 1, 2, 3, 4 } },
    { "EqualSpeedsReversed", &kEqualSpeeds, PROXY_SORT_SPEED, false, 2, { 4, 3, 2, 1 } },
    { "EqualSpeedsByCountry", &kEqualSpeeds, PROXY_SORT_COUNTRY, true, 2, { 1, 3, 2, 4 } },
    { "EqualSpeedsByUptime", &kEqualSpeeds, PROXY_SORT_UPTIME, false, 2, { 2, 1, 3, 4 } },
    { "EmptyBySpeed", &kNone, PROXY_SORT_SPEED, false, 3, {} },
    { "EmptyByCountry", &kNone, PROXY_SORT_COUNTRY, true, 3, {} },
    { "SingleBySpeed", &kOne, PROXY_SORT_SPEED, false, 3, { 9 } },
    { "SingleByCountry", &kOne, PROXY_SORT_COUNTRY, true, 3, { 9 } },
    { "SingleByType", &kOne, PROXY_SORT_TYPE, false, 3, { 9 } },
    { "SingleByUptime", &kOne, PROXY_SORT_UPTIME, true, 3, { 9 } },
};

// The ordering written out the long way: a selection pass over a linked
// list, then one walk over the copy per key value, then what no walk took.
std::vector<int> ReferenceOrder(const std::vector<Entry>& input, int key, bool ascending, int countryCount)
{
    std::list<Entry> work(input.begin(), input.end());
    for (auto place = work.begin(); place != work.end();) {
        auto best = place;
        for (auto it = std::next(place); it != work.end(); ++it)
            if (it->speed < best->speed)
                best = it;
        if (best == place) {
            ++place;
            continue;
        }
        work.insert(place, *best);
        work.erase(best);
    }
    std::vector<Entry> byspeed(work.begin(), work.end());
    if (key == PROXY_SORT_SPEED) {
        if (!ascending)
            std::reverse(byspeed.begin(), byspeed.end());
        std::vector<int> ports;
        for (const Entry& e : byspeed)
            ports.push_back(e.port);
        return ports;
    }

    std::vector<int> values;
    auto field = [key](const Entry& e) {
        return key == PROXY_SORT_COUNTRY ? e.country : key == PROXY_SORT_TYPE ? e.type : e.uptime;
    };
    if (key == PROXY_SORT_COUNTRY)
        for (int i = 0; i < countryCount; ++i)
            values.push_back(ascending ? i : countryCount - 1 - i);
    else if (key == PROXY_SORT_TYPE)
        values = ascending ? std::vector<int>{ 1, 2 } : std::vector<int>{ 2, 1 };
    else
        values = ascending ? std::vector<int>{ 5, 4, 3, 2, 1 } : std::vector<int>{ 1, 2, 3, 4, 5 };

    std::vector<int> ports;
    std::vector<bool> taken(byspeed.size(), false);
    for (int value : values)
        for (size_t i = 0; i < byspeed.size(); ++i)
            if (field(byspeed[i]) == value) {
                ports.push_back(byspeed[i].port);
                taken[i] = true;
            }
    for (size_t i = 0; i < byspeed.size(); ++i)
        if (!taken[i])
            ports.push_back(byspeed[i].port);
    return ports;
}
}  // namespace

TEST(ProxySortTest, TableOfCases)
{
    for (const SortCase& c : kCases) {
        SCOPED_TRACE(c.name);
        CProxyList list;
        Fill(list, *c.entries);
        SortProxyList(list, c.key, c.ascending, c.countryCount);
        EXPECT_EQ(c.expected, Ports(list));
        EXPECT_EQ(c.expected, ReferenceOrder(*c.entries, c.key, c.ascending, c.countryCount));
    }
}

TEST(ProxySortTest, EntriesKeepTheirValues)
{
    CProxyList list;
    Fill(list, kMixed);
    SortProxyList(list, PROXY_SORT_UPTIME, true, 3);
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
        const CProxy& proxy = list.GetNext(pos);
        const Entry& e =
            *std::find_if(kMixed.begin(), kMixed.end(), [&](const Entry& x) { return x.port == proxy.m_nPort; });
        EXPECT_STREQ("10.0.0.1", proxy.m_szIP);
        EXPECT_EQ(e.country, proxy.m_nCountry);
        EXPECT_EQ(e.type, proxy.m_nType);
        EXPECT_EQ(e.uptime, proxy.m_nUptime);
        EXPECT_EQ(e.speed, proxy.m_nSpeed);
    }
}

TEST(ProxySortTest, NegativeSpeedsSortAsSignedValues)
{
    CProxyList list;
    Fill(list, { { 1, 0, 1, 5, 10 }, { 2, 0, 1, 5, -20 }, { 3, 0, 1, 5, 0 }, { 4, 0, 1, 5, -20 } });
    SortProxyList(list, PROXY_SORT_SPEED, true, 1);
    EXPECT_EQ((std::vector<int>{ 2, 4, 3, 1 }), Ports(list));
}

TEST(ProxySortTest, RandomListsMatchTheReferenceAndLoseNothing)
{
    std::mt19937 random(20261210);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
    const int speeds[] = { 0, 1, 100, 100, 2500, 5000, 29999, 30000, PROXY_SPEED_UNMEASURED, -3 };
    for (int round = 0; round < 400; ++round) {
        const int countryCount = pick(0, 6);
        std::vector<Entry> entries(static_cast<size_t>(pick(0, 60)));
        for (size_t i = 0; i < entries.size(); ++i) {
            entries[i].port = static_cast<int>(i) + 1;
            entries[i].country = pick(-2, countryCount + 1);
            entries[i].type = pick(0, 3);
            entries[i].uptime = pick(0, 6);
            entries[i].speed = speeds[pick(0, 9)];
        }
        const int key = pick(0, 3);
        const bool ascending = pick(0, 1) == 1;
        SCOPED_TRACE(testing::Message() << "round " << round << " key " << key << " ascending " << ascending);

        CProxyList list;
        Fill(list, entries);
        SortProxyList(list, key, ascending, countryCount);
        std::vector<int> ports = Ports(list);
        ASSERT_EQ(ReferenceOrder(entries, key, ascending, countryCount), ports);

        std::sort(ports.begin(), ports.end());
        for (size_t i = 0; i < ports.size(); ++i)
            ASSERT_EQ(static_cast<int>(i) + 1, ports[i]);
        ASSERT_EQ(static_cast<INT_PTR>(entries.size()), list.GetCount());
    }
}

TEST(ProxySortTest, SpeedPercentAgainstTheTimeOut)
{
    struct
    {
        int speed, timeout, percent;
    } cases[] = {
        { 0, 10000, 100 },
        { 10000, 10000, 0 },
        { PROXY_SPEED_UNMEASURED, 10000, 0 },
        { 5000, 10000, 50 },
        { 10001, 10000, 0 },
        { 1, 10000, 99 },
        { 9999, 10000, 0 },
        { 2500, 5000, 50 },
        { -5, 10000, 100 },
        { -2147483647 - 1, 30000, 100 },
        { 0, 0, 0 },
        { 100, -1, 0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.percent, SpeedPercent(c.speed, c.timeout)) << c.speed << " of " << c.timeout;
}

TEST(ProxySortTest, ColumnClickChoosesKeyAndDirection)
{
    // The window starts on speed, ascending.
    int key = PROXY_SORT_SPEED;
    bool ascending = true;
    struct
    {
        int column;
        bool sorts;
        int key;
        bool ascending;
    } clicks[] = {
        { 5, true, PROXY_SORT_SPEED, false },  // the first click on Speed: slowest first
        { 5, true, PROXY_SORT_SPEED, true },     { 0, true, PROXY_SORT_COUNTRY, true },
        { 0, true, PROXY_SORT_COUNTRY, false },  { 1, false, PROXY_SORT_COUNTRY, false },
        { 2, false, PROXY_SORT_COUNTRY, false }, { 4, true, PROXY_SORT_UPTIME, true },
        { 3, true, PROXY_SORT_TYPE, true },      { 3, true, PROXY_SORT_TYPE, false },
        { 6, false, PROXY_SORT_TYPE, false },    { -1, false, PROXY_SORT_TYPE, false },
        { 5, true, PROXY_SORT_SPEED, true },
    };
    for (const auto& c : clicks) {
        EXPECT_EQ(c.sorts, ChooseSortKey(c.column, key, ascending)) << c.column;
        EXPECT_EQ(c.key, key) << c.column;
        EXPECT_EQ(c.ascending, ascending) << c.column;
    }
}
