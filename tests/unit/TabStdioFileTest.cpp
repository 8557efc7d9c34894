// Tests of the TAB-separated text file.
#include "proxy/TabStdioFile.h"

#include "ProxyTestDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
typedef std::vector<std::wstring> Fields;

// Every line of the file as ReadLine splits it.
std::vector<Fields> ReadAllLines(const std::wstring& strPath)
{
    std::vector<Fields> lines;
    CTabStdioFile file;
    EXPECT_TRUE(file.Open(strPath.c_str(), CFile::modeRead | CFile::typeText));
    while (file.ReadLine()) {
        Fields fields;
        for (UINT i = 0; i < file.m_nFieldCount; ++i)
            fields.push_back(file.m_szFields[i]);
        lines.push_back(fields);
    }
    return lines;
}

class TabStdioFileTest : public testing::Test
{
protected:
    std::wstring Write(const std::string& strBytes)
    {
        std::wstring strPath = m_dir.File(L"tab.txt");
        CProxyTestDir::WriteBytes(strPath, strBytes);
        return strPath;
    }

    CProxyTestDir m_dir;
};
}  // namespace

TEST_F(TabStdioFileTest, NewObjectIsEmpty)
{
    CTabStdioFile file;
    EXPECT_EQ(0u, file.m_nFieldCount);
    EXPECT_EQ(0u, file.m_nCurField);
    EXPECT_STREQ(L"", file.m_szLine);
    for (UINT i = 0; i < TAB_MAX_FIELDS; ++i)
        EXPECT_STREQ(L"", file.m_szFields[i]);
}

TEST_F(TabStdioFileTest, ReadLineSplitsFields)
{
    struct Case
    {
        const char* name;
        std::string bytes;
        std::vector<Fields> lines;
    } cases[] = {
        { "two lines", "a\tb\r\nc\r\n", { { L"a", L"b" }, { L"c" } } },
        { "empty line gives one empty field", "a\r\n\r\nb\r\n", { { L"a" }, { L"" }, { L"b" } } },
        { "no final line end", "a\tb\r\nc\td", { { L"a", L"b" }, { L"c", L"d" } } },
        { "lone LF", "a\nb\tc\n", { { L"a" }, { L"b", L"c" } } },
        { "empty fields", "\t\t\r\n", { { L"", L"", L"" } } },
        { "ten fields",
          "0\t1\t2\t3\t4\t5\t6\t7\t8\t9\r\n",
          { { L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9" } } },
        { "twelve fields keep the first ten",
          "0\t1\t2\t3\t4\t5\t6\t7\t8\t9\tA\tB\r\nx\r\n",
          { { L"0", L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9" }, { L"x" } } },
        { "Latin-1 bytes", "\xC5land\t\xFF\r\n", { { L"\x00C5land", L"\x00FF" } } },
        { "empty file", "", {} },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.lines, ReadAllLines(Write(c.bytes))) << c.name;
    }
}

TEST_F(TabStdioFileTest, LongLineIsReadIn255CharacterPieces)
{
    const std::string strLong = std::string(254, 'a') + "\tbbbbb";  // 260 characters
    std::vector<Fields> lines = ReadAllLines(Write(strLong + "\r\nnext\r\n"));
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(Fields({ std::wstring(254, L'a'), L"" }), lines[0]);
    EXPECT_EQ(Fields({ L"bbbbb" }), lines[1]);
    EXPECT_EQ(Fields({ L"next" }), lines[2]);

    // 254 characters and the line end still make one line.
    lines = ReadAllLines(Write(std::string(254, 'c') + "\r\nnext\r\n"));
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(Fields({ std::wstring(254, L'c') }), lines[0]);
}

TEST_F(TabStdioFileTest, ReadFieldHonoursTheLastFlag)
{
    CTabStdioFile file;
    ASSERT_TRUE(file.Open(Write("key\tvalue\r\nalone\r\n").c_str(), CFile::modeRead | CFile::typeText));
    TCHAR szField[TAB_LINE_SIZE];

    EXPECT_EQ(NULL, file.ReadField(szField, TRUE));  // "key" is not last
    EXPECT_EQ(0u, file.m_nCurField);                 // and stays next
    EXPECT_TRUE(file.IsNextField(L"key"));
    EXPECT_FALSE(file.IsNextField(L"KEY"));
    EXPECT_EQ(0u, file.m_nCurField);
    ASSERT_EQ(szField, file.ReadField(szField, FALSE));
    EXPECT_STREQ(L"key", szField);

    EXPECT_EQ(NULL, file.ReadField(szField, FALSE));  // "value" is last
    ASSERT_NE(nullptr, file.ReadField(szField, TRUE));
    EXPECT_STREQ(L"value", szField);

    BOOL bLast = FALSE;
    ASSERT_TRUE(file.PeekField(bLast));  // reads the next line
    EXPECT_TRUE(bLast);
    EXPECT_TRUE(file.IsNextField(L"alone"));
    file.SkipLine();
    EXPECT_FALSE(file.IsNextField(L"alone"));  // end of the file
    EXPECT_FALSE(file.PeekField(bLast));
    EXPECT_EQ(NULL, file.ReadField(szField, TRUE));
    EXPECT_EQ(NULL, file.ReadField(szField, FALSE));
}

TEST_F(TabStdioFileTest, WriteFieldBuildsLines)
{
    std::wstring strPath = m_dir.File(L"out.txt");
    {
        CTabStdioFile file;
        ASSERT_TRUE(file.Open(strPath.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::typeText));
        file.WriteField(L"a", FALSE);
        file.WriteField(L"b", FALSE);
        EXPECT_STREQ(L"a\tb\t", file.m_szLine);
        file.WriteField(L"c", TRUE);
        EXPECT_STREQ(L"", file.m_szLine);
        file.WriteField(L"", TRUE);
        file.WriteField(L"\x00E9", TRUE);
        file.Close();
    }
    EXPECT_EQ("a\tb\tc\r\n\r\n\xE9\r\n", CProxyTestDir::ReadBytes(strPath));
}

// A line may hold 255 characters with its line end. A middle field that
// does not fit is left out; an end field that does not fit is cut to what
// fits, and the line still ends, so the lines after it are untouched.
TEST_F(TabStdioFileTest, OverlongFieldsKeepLaterLinesIntact)
{
    struct Case
    {
        const char* name;
        std::vector<std::pair<std::wstring, bool>> fields;  // text, ends the line
        std::string firstLine;                              // as on disk, CR LF excluded
    } cases[] = {
        { "end field that fits exactly",
          { { L"key", false }, { std::wstring(250, L'v'), true } },
          "key\t" + std::string(250, 'v') },
        { "end field one too long is cut",
          { { L"key", false }, { std::wstring(251, L'v'), true } },
          "key\t" + std::string(250, 'v') },
        { "end field far too long is cut",
          { { L"key", false }, { std::wstring(600, L'v'), true } },
          "key\t" + std::string(250, 'v') },
        { "middle field that does not fit is left out",
          { { L"key", false }, { std::wstring(300, L'm'), false }, { L"end", true } },
          "key\tend" },
        { "full line: the last separator ends it",
          { { std::wstring(254, L'k'), false }, { L"end", true } },
          std::string(254, 'k') },
    };
    for (const Case& c : cases) {
        std::wstring strPath = m_dir.File(L"long.txt");
        {
            CTabStdioFile file;
            ASSERT_TRUE(file.Open(strPath.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::typeText));
            for (const auto& field : c.fields)
                file.WriteField(field.first.c_str(), field.second);
            file.WriteField(L"next", FALSE);
            file.WriteField(L"line", TRUE);
            file.WriteField(L"last", TRUE);
            file.Close();
        }
        EXPECT_EQ(c.firstLine + "\r\nnext\tline\r\nlast\r\n", CProxyTestDir::ReadBytes(strPath)) << c.name;
        std::vector<Fields> lines = ReadAllLines(strPath);
        ASSERT_EQ(3u, lines.size()) << c.name;
        EXPECT_EQ(Fields({ L"next", L"line" }), lines[1]) << c.name;
    }
}

TEST_F(TabStdioFileTest, CharacterAboveTheByteRangeThrows)
{
    std::wstring strPath = m_dir.File(L"wide.txt");
    CTabStdioFile file;
    ASSERT_TRUE(file.Open(strPath.c_str(), CFile::modeCreate | CFile::modeReadWrite | CFile::typeText));
    bool bThrown = false;
    try {
        file.WriteField(L"\x20AC", TRUE);
    } catch (CFileException* e) {
        bThrown = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrown);
    EXPECT_STREQ(L"", file.m_szLine);  // the next line starts afresh
    file.WriteField(L"ok", TRUE);
    file.Close();
    EXPECT_EQ("ok\r\n", CProxyTestDir::ReadBytes(strPath));
}
