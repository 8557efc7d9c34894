// The address ranges of the country table.
#include "proxy/CountryTable.h"

#include "tests/TestFiles.h"

#include <gtest/gtest.h>

#include <string>

namespace {
class CountryRangesTest : public testing::Test
{
protected:
    void SetUp() override
    {
        std::wstring strCountries = m_dir.File(L"countries.crv");
        WriteFileBytes(strCountries, "US\tUnited States\r\nDE\tGermany\r\nFR\tFrance\r\n");
        m_table.Load(strCountries.c_str());
    }
    bool LoadRanges(const std::string& strBytes)
    {
        std::wstring strPath = m_dir.File(L"countryranges.crv");
        WriteFileBytes(strPath, strBytes);
        return m_table.LoadRanges(strPath.c_str());
    }

    CTempDir m_dir;
    CCountryTable m_table;
};

const char kGoodRanges[] =
    "1.0.0.0\t1.0.0.255\tDE\r\n"
    "1.0.1.0\t1.0.3.255\tXX\r\n"  // a code the table lacks
    "8.0.0.0\t8.255.255.255\tUS\r\n"
    "80.0.0.0\t80.0.0.0\tFR\r\n"
    "200.0.0.0\t255.255.255.255\tFR\r\n";
}  // namespace

TEST_F(CountryRangesTest, LookupBisectsTheRangesOfTheFile)
{
    ASSERT_TRUE(LoadRanges(kGoodRanges));
    EXPECT_EQ(5u, m_table.m_nRangeCount);
    struct Case
    {
        const char* address;
        int country;
    } cases[] = {
        { "1.0.0.0", 1 },    { "1.0.0.255", 1 },  { "1.0.1.0", -1 },         { "8.8.8.8", 0 },
        { "008.8.8.8", 0 },  { "9.0.0.0", -1 },   { "80.0.0.0", 2 },         { "80.0.0.1", -1 },
        { "0.0.0.0", -1 },   { "254.1.1.1", 2 },  { "255.255.255.255", -1 }, { "8.8.8", -1 },
        { "8.8.8.8 ", -1 },  { "8.8.8.256", -1 }, { "8.8.8.1234", -1 },      { "", -1 },
        { "0x8.8.8.8", -1 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.country, m_table.FindByAddress(c.address)) << c.address;
}

TEST_F(CountryRangesTest, ABadFileLeavesNoRanges)
{
    struct Case
    {
        const char* name;
        std::string bytes;
    } cases[] = {
        { "out of order", "8.0.0.0\t8.0.0.255\tUS\r\n1.0.0.0\t1.0.0.255\tDE\r\n" },
        { "overlapping", "1.0.0.0\t1.0.0.255\tDE\r\n1.0.0.255\t1.0.1.255\tUS\r\n" },
        { "first after last", "1.0.0.9\t1.0.0.1\tDE\r\n" },
        { "bad address", "1.0.0.0\t1.0.0.255\tDE\r\n1.0.1\t1.0.1.255\tUS\r\n" },
        { "two fields", "1.0.0.0\t1.0.0.255\r\n" },
        { "four fields", "1.0.0.0\t1.0.0.255\tDE\tx\r\n" },
        { "empty line", "1.0.0.0\t1.0.0.255\tDE\r\n\r\n8.0.0.0\t8.0.0.255\tUS\r\n" },
        { "empty file", "" },
    };
    for (const Case& c : cases) {
        CCountryTable table;
        table.Load(m_dir.File(L"countries.crv").c_str());
        std::wstring strPath = m_dir.File(L"bad.crv");
        WriteFileBytes(strPath, c.bytes);
        EXPECT_FALSE(table.LoadRanges(strPath.c_str())) << c.name;
        EXPECT_EQ(0u, table.m_nRangeCount) << c.name;
        EXPECT_EQ(-1, table.FindByAddress("1.0.0.1")) << c.name;
    }
    EXPECT_FALSE(m_table.LoadRanges(m_dir.File(L"missing.crv").c_str()));
    EXPECT_EQ(0u, m_table.m_nRangeCount);
}

TEST(CountryRangesDataTest, GeneratedRangesMatchTheTable)
{
    wchar_t szPath[MAX_PATH];
    GetModuleFileNameW(NULL, szPath, MAX_PATH);
    std::wstring strBin = szPath;
    strBin = strBin.substr(0, strBin.find_last_of(L"\\/"));
    std::wstring strRanges = strBin + L"\\countryranges.crv";
    if (GetFileAttributesW(strRanges.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no countryranges.crv beside the test program";

    CCountryTable table;
    table.Load((strBin + L"\\countries.crv").c_str());
    ASSERT_TRUE(table.LoadRanges(strRanges.c_str()));
    EXPECT_GT(table.m_nRangeCount, 10000u);
    // Every range names a country of the table.
    for (UINT i = 0; i < table.m_nRangeCount; ++i) {
        ASSERT_GE(table.m_pRanges[i].m_nCountry, 0) << i;
        ASSERT_LT(table.m_pRanges[i].m_nCountry, table.GetCount()) << i;
    }
    // Long-standing registrations.
    EXPECT_EQ(table.FindByCode(L"AU"), table.FindByAddress("1.0.0.1"));
    EXPECT_EQ(table.FindByCode(L"CN"), table.FindByAddress("1.0.1.1"));
    EXPECT_EQ(-1, table.FindByAddress("127.0.0.1"));
    EXPECT_EQ(-1, table.FindByAddress("10.1.2.3"));
}
