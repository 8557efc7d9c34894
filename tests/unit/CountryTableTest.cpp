// Tests of the country table and the generated countries.crv.
#include "proxy/CountryTable.h"

#include "ProxyTestDir.h"

#include <gtest/gtest.h>

#include <wctype.h>

#include <algorithm>
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <gdiplus.h>

#include <string>

namespace {
class CountryTableTest : public testing::Test
{
protected:
    void Load(const std::string& strBytes)
    {
        std::wstring strPath = m_dir.File(L"countries.crv");
        CProxyTestDir::WriteBytes(strPath, strBytes);
        m_table.Load(strPath.c_str());
    }

    std::wstring Code(int i) const { return m_table.GetAt(i) ? m_table.GetAt(i)->m_szCode : L"(none)"; }
    std::wstring Name(int i) const { return m_table.GetAt(i) ? m_table.GetAt(i)->m_szName : L"(none)"; }

    CProxyTestDir m_dir;
    CCountryTable m_table;
};
}  // namespace

TEST_F(CountryTableTest, LoadsLinesInOrder)
{
    Load("US\tUnited States\r\nDE\tGermany\r\nAX\t\xC5land Islands\r\n");
    ASSERT_EQ(3, m_table.GetCount());
    EXPECT_EQ(L"US", Code(0));
    EXPECT_EQ(L"United States", Name(0));
    EXPECT_EQ(L"DE", Code(1));
    EXPECT_EQ(L"\x00C5land Islands", Name(2));
    EXPECT_EQ(NULL, m_table.GetAt(-1));
    EXPECT_EQ(NULL, m_table.GetAt(3));
    EXPECT_EQ(0u, m_table.m_nRangeCount);
}

TEST_F(CountryTableTest, FileShapes)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        int count;
    } cases[] = {
        { "no final line end", "US\tUnited States\r\nDE\tGermany", 2 },
        { "empty line in the middle ends the table", "US\tUnited States\r\n\r\nDE\tGermany\r\n", 1 },
        { "line without a name ends it", "US\tUnited States\r\nDE\r\nFR\tFrance\r\n", 1 },
        { "three-letter code ends it", "US\tUnited States\r\nDEU\tGermany\r\n", 1 },
        { "third field ends it", "US\tUnited States\r\nDE\tGermany\tx\r\n", 1 },
        { "63-character name", "US\t" + std::string(63, 'n') + "\r\n", 1 },
        { "64-character name ends it", "US\tUnited States\r\nDE\t" + std::string(64, 'n') + "\r\n", 1 },
        { "one-letter code is a record", "U\tOne\r\nDE\tGermany\r\n", 2 },
        { "empty file", "", 0 },
        { "lone LF line ends", "US\tUnited States\nDE\tGermany\n", 2 },
    };
    for (const Case& c : cases) {
        CCountryTable table;
        std::wstring strPath = m_dir.File(L"shape.crv");
        CProxyTestDir::WriteBytes(strPath, c.bytes);
        table.Load(strPath.c_str());
        EXPECT_EQ(c.count, table.GetCount()) << c.name;
        for (int i = 0; i < table.GetCount(); ++i) {
            EXPECT_LE(wcslen(table.GetAt(i)->m_szCode), 2u) << c.name;
            EXPECT_LE(wcslen(table.GetAt(i)->m_szName), 63u) << c.name;
        }
    }
}

TEST_F(CountryTableTest, MissingFileGivesEmptyTable)
{
    m_table.Load(m_dir.File(L"missing.crv").c_str());
    EXPECT_EQ(0, m_table.GetCount());
    EXPECT_EQ(-1, m_table.FindByCode(L"US"));
    EXPECT_EQ(NULL, m_table.GetAt(0));
}

TEST_F(CountryTableTest, FindByCode)
{
    Load("US\tUnited States\r\nDE\tGermany\r\nUS\tAgain\r\nU\tShort\r\n");
    EXPECT_EQ(0, m_table.FindByCode(L"US"));  // the lower index of two
    EXPECT_EQ(1, m_table.FindByCode(L"DE"));
    EXPECT_EQ(-1, m_table.FindByCode(L"us"));  // case-sensitive
    EXPECT_EQ(-1, m_table.FindByCode(L"U"));   // not two letters
    EXPECT_EQ(-1, m_table.FindByCode(L"USA"));
    EXPECT_EQ(-1, m_table.FindByCode(L""));
    EXPECT_EQ(-1, m_table.FindByCode(NULL));
    EXPECT_EQ(-1, m_table.FindByCode(L"FR"));
}

TEST_F(CountryTableTest, AddressLookupKnowsNoRanges)
{
    Load("US\tUnited States\r\n");
    for (const char* pszAddress : { "8.8.8.8", "127.0.0.1", "", "garbage", "255.255.255.255" })
        EXPECT_EQ(-1, m_table.FindByAddress(pszAddress)) << pszAddress;
    EXPECT_EQ(-1, FindCountryByAddress("8.8.8.8"));
}

TEST_F(CountryTableTest, AddressLookupBisectsRanges)
{
    Load("US\tUnited States\r\nDE\tGermany\r\n");
    // Nothing in the program fills the ranges; the lookup is ready for them.
    m_table.m_pRanges = new CCountryRange[3]{ { 0x01000000, 0x01FFFFFF, 0 },
                                              { 0x05000000, 0x05000000, 1 },
                                              { 0x09000000, 0x09FFFFFF, 7 } };
    m_table.m_nRangeCount = 3;
    EXPECT_EQ(0, m_table.FindByAddress("1.2.3.4"));
    EXPECT_EQ(1, m_table.FindByAddress("5.0.0.0"));
    EXPECT_EQ(-1, m_table.FindByAddress("5.0.0.1"));
    EXPECT_EQ(-1, m_table.FindByAddress("9.1.1.1"));  // country index beyond the table
    EXPECT_EQ(-1, m_table.FindByAddress("0.0.0.1"));
    EXPECT_EQ(-1, m_table.FindByAddress("255.255.255.255"));
    EXPECT_EQ(-1, m_table.FindByAddress("x"));
}

// --- the generated data files beside the test program ------------------------

namespace {
std::wstring BinDir()
{
    wchar_t szPath[MAX_PATH];
    GetModuleFileNameW(NULL, szPath, MAX_PATH);
    std::wstring strPath = szPath;
    return strPath.substr(0, strPath.find_last_of(L"\\/"));
}

// Width and height from a PNG's header chunk; 0 when it is no PNG.
std::pair<unsigned, unsigned> PngSize(const std::string& strBytes)
{
    if (strBytes.size() < 24 || strBytes.compare(0, 8, "\x89PNG\r\n\x1A\n") != 0 ||
        strBytes.compare(12, 4, "IHDR") != 0)
        return { 0, 0 };
    auto be32 = [&](size_t at) {
        return (unsigned)(unsigned char)strBytes[at] << 24 | (unsigned)(unsigned char)strBytes[at + 1] << 16 |
               (unsigned)(unsigned char)strBytes[at + 2] << 8 | (unsigned)(unsigned char)strBytes[at + 3];
    };
    return { be32(16), be32(20) };
}
}  // namespace

TEST(CountryDataFilesTest, CountriesFileIsGenerated)
{
    CCountryTable table;
    table.Load((BinDir() + L"\\countries.crv").c_str());
#ifdef CORVANE_COUNTRY_COUNT
    EXPECT_EQ(CORVANE_COUNTRY_COUNT, table.GetCount());
#endif
    ASSERT_GE(table.GetCount(), 240);
    for (const wchar_t* pszCode : { L"US", L"DE", L"GB", L"FR", L"CN", L"JP", L"BR", L"RU", L"IN", L"AQ" })
        EXPECT_GE(table.FindByCode(pszCode), 0) << testing::PrintToString(pszCode);
    const int nAland = table.FindByCode(L"AX");
    ASSERT_GE(nAland, 0);
    EXPECT_STREQ(L"\x00C5land Islands", table.GetAt(nAland)->m_szName);
    for (int i = 0; i < table.GetCount(); ++i) {
        const CCountry* p = table.GetAt(i);
        EXPECT_EQ(2u, wcslen(p->m_szCode)) << i;
        EXPECT_TRUE(iswupper(p->m_szCode[0]) && iswupper(p->m_szCode[1])) << i;
        EXPECT_GT(wcslen(p->m_szName), 0u) << i;
        EXPECT_EQ(i, table.FindByCode(p->m_szCode)) << "codes are unique";
    }
}

TEST(CountryDataFilesTest, EveryCountryHasItsFlag)
{
    const std::wstring strBin = BinDir();
    CCountryTable table;
    table.Load((strBin + L"\\countries.crv").c_str());
    ASSERT_GT(table.GetCount(), 0);
    for (int i = 0; i < table.GetCount(); ++i) {
        const std::wstring strCode = table.GetAt(i)->m_szCode;
        const std::string strPng = CProxyTestDir::ReadBytes(strBin + L"\\flags\\" + strCode + L".png");
        EXPECT_EQ(std::make_pair(25u, 15u), PngSize(strPng)) << testing::PrintToString(strCode);
    }

    // The images load through the platform's decoder, as the main window does.
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    ASSERT_EQ(Gdiplus::Ok, Gdiplus::GdiplusStartup(&token, &input, NULL));
    for (const wchar_t* pszCode : { L"DE", L"AQ" })  // a scaled flag and a plate
    {
        std::wstring strPath = strBin + L"\\flags\\" + pszCode + L".png";
        Gdiplus::Bitmap* pBitmap = Gdiplus::Bitmap::FromFile(strPath.c_str());
        ASSERT_NE(nullptr, pBitmap);
        EXPECT_EQ(Gdiplus::Ok, pBitmap->GetLastStatus());
        EXPECT_EQ(25u, pBitmap->GetWidth());
        EXPECT_EQ(15u, pBitmap->GetHeight());
        HBITMAP hBitmap = NULL;
        EXPECT_EQ(Gdiplus::Ok, pBitmap->GetHBITMAP(Gdiplus::Color(0, 0, 0), &hBitmap));
        EXPECT_NE(nullptr, hBitmap);
        if (hBitmap)
            DeleteObject(hBitmap);
        delete pBitmap;
    }
    Gdiplus::GdiplusShutdown(token);
}

TEST(CountryDataFilesTest, FlagPathOfAnIndex)
{
    // The process table reads countries.crv of the current directory.
    CCountryTable& table = GetCountryTable();
    EXPECT_EQ(&table, &GetCountryTable());
    EXPECT_EQ(CString(), GetFlagPath(-1));
    EXPECT_EQ(CString(), GetFlagPath(table.GetCount()));
    if (table.GetCount() > 0) {
        CString strExpected = CString(L"flags\\") + table.GetAt(0)->m_szCode + L".png";
        EXPECT_EQ(strExpected, GetFlagPath(0));
    }
}
