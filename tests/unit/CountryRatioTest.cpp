// The per-country shares written by Upload.
#include "net/CountryRatio.h"

#include "tests/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
class CountryRatioTest : public testing::Test
{
protected:
    bool Write(const std::vector<CProxy>& proxies, int nCountries)
    {
        CProxyList list;
        for (CProxy proxy : proxies)
            list.AddTail(proxy);
        return WriteCountryRatioFiles(list, nCountries, Path(0).c_str(), Path(1).c_str(), Path(2).c_str());
    }
    std::wstring Path(int i) const
    {
        static const wchar_t* names[] = { L"countryRatio.txt", L"countryEliteRatio.txt", L"countryAnonymousRatio.txt" };
        return m_dir.File(names[i]);
    }
    // The file's lines, one value each.
    std::string Lines(int i, const std::vector<int>& values) const
    {
        (void)i;
        std::string text;
        for (int n : values)
            text += std::to_string(n) + "\r\n";
        return text;
    }
    std::string Read(int i) const { return ReadFileBytes(Path(i)); }

    static CProxy Proxy(int nCountry, int nType) { return CProxy("10.0.0.1", 80, nCountry, nType, 0, 0); }

    CTempDir m_dir;
};
}  // namespace

TEST_F(CountryRatioTest, SharesOfFourProxies)
{
    ASSERT_TRUE(Write({ Proxy(5, 1), Proxy(5, 1), Proxy(5, 0), Proxy(7, 2) }, 9));
    EXPECT_EQ(Lines(0, { 0, 0, 0, 0, 0, 7500, 0, 2500, 0 }), Read(0));
    EXPECT_EQ(Lines(1, { 0, 0, 0, 0, 0, 10000, 0, 0, 0 }), Read(1));
    EXPECT_EQ(Lines(2, { 0, 0, 0, 0, 0, 0, 0, 10000, 0 }), Read(2));
}

TEST_F(CountryRatioTest, ATypeWithoutProxiesGivesZeros)
{
    ASSERT_TRUE(Write({ Proxy(0, 0), Proxy(2, 1), Proxy(2, 3) }, 3));
    EXPECT_EQ(Lines(0, { 3333, 0, 6666 }), Read(0));
    EXPECT_EQ(Lines(1, { 0, 0, 10000 }), Read(1));
    EXPECT_EQ(Lines(2, { 0, 0, 0 }), Read(2));

    ASSERT_TRUE(Write({}, 2));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Lines(i, { 0, 0 }), Read(i)) << i;
}

TEST_F(CountryRatioTest, ProxiesWithoutACountryCountInTheTotalsOnly)
{
    ASSERT_TRUE(Write({ Proxy(1, 1), Proxy(-1, 1), Proxy(2, 2), Proxy(99, 2) }, 3));
    EXPECT_EQ(Lines(0, { 0, 2500, 2500 }), Read(0));
    EXPECT_EQ(Lines(1, { 0, 5000, 0 }), Read(1));
    EXPECT_EQ(Lines(2, { 0, 0, 5000 }), Read(2));
}

TEST_F(CountryRatioTest, AFileThatCannotBeMadeWritesNothing)
{
    CreateDirectoryW(Path(2).c_str(), NULL);
    EXPECT_FALSE(Write({ Proxy(0, 1) }, 2));
    EXPECT_EQ("", Read(0));
    EXPECT_EQ("", Read(1));
}
