// Tests of the framework's buffered text file.
#include "afx.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CStdioFileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static LONG s_nCounter = 0;
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        wchar_t name[80];
        swprintf(name, 80, L"afxfile-%lu-%ld-%lu", GetCurrentProcessId(), InterlockedIncrement(&s_nCounter),
                 GetTickCount());
        m_dir = std::wstring(temp) + name;
        ASSERT_TRUE(CreateDirectoryW(m_dir.c_str(), NULL));
        m_path = m_dir + L"\\data.txt";
    }
    void TearDown() override
    {
        DeleteFileW(m_path.c_str());
        RemoveDirectoryW(m_dir.c_str());
    }

    void WriteRaw(const std::string& bytes)
    {
        HANDLE h = CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        DWORD put = 0;
        WriteFile(h, bytes.data(), (DWORD)bytes.size(), &put, NULL);
        CloseHandle(h);
    }
    std::string ReadRaw()
    {
        std::string out;
        HANDLE h = CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
        if (h == INVALID_HANDLE_VALUE)
            return "<missing>";
        char buf[4096];
        DWORD got = 0;
        while (ReadFile(h, buf, sizeof(buf), &got, NULL) && got)
            out.append(buf, got);
        CloseHandle(h);
        return out;
    }
    // Every piece ReadString(buf, nMax) hands out, until it returns NULL.
    std::vector<std::wstring> Pieces(UINT nMax, UINT flags = CFile::modeRead | CFile::typeText)
    {
        std::vector<std::wstring> out;
        CStdioFile f;
        EXPECT_TRUE(f.Open(m_path.c_str(), flags));
        std::vector<wchar_t> buf(nMax + 1);
        while (f.ReadString(buf.data(), nMax))
            out.push_back(buf.data());
        return out;
    }

    std::wstring m_dir, m_path;
};

typedef std::vector<std::wstring> Lines;

struct ReadCase
{
    const char* name;
    std::string bytes;
    UINT nMax;
    Lines pieces;
};

class CStdioFileRead : public CStdioFileTest, public ::testing::WithParamInterface<ReadCase>
{};

TEST_P(CStdioFileRead, HandsOutPieces)
{
    WriteRaw(GetParam().bytes);
    EXPECT_EQ(GetParam().pieces, Pieces(GetParam().nMax));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CStdioFileRead,
    ::testing::Values(ReadCase{ "crlf", "one\r\ntwo\r\n", 256, { L"one\n", L"two\n" } },
                      ReadCase{ "lone_lf", "one\ntwo\n", 256, { L"one\n", L"two\n" } },
                      ReadCase{ "mixed", "a\r\nb\nc\r\n", 256, { L"a\n", L"b\n", L"c\n" } },
                      ReadCase{ "lone_cr_kept", "a\rb\r\n", 256, { L"a\rb\n" } },
                      ReadCase{ "cr_at_end", "a\r", 256, { L"a\r" } },
                      ReadCase{ "no_last_line_end", "one\r\nlast", 256, { L"one\n", L"last" } },
                      ReadCase{ "empty_lines", "\r\n\r\nx", 256, { L"\n", L"\n", L"x" } },
                      ReadCase{ "ctrl_z_ordinary",
                                "a\x1a"
                                "b\r\nc",
                                256,
                                { L"a\x1a"
                                  L"b\n",
                                  L"c" } },
                      ReadCase{ "long_line_in_pieces", "abcdefgh\r\nxy", 4, { L"abc", L"def", L"gh\n", L"xy" } },
                      ReadCase{ "exact_fit_then_newline", "abc\r\n", 4, { L"abc", L"\n" } },
                      ReadCase{ "crlf_across_buffer",
                                std::string(4095, 'x') + "\r\nend",
                                5000,
                                { std::wstring(4095, L'x') + L"\n", L"end" } },
                      ReadCase{ "empty_file", "", 256, {} }),
    [](const ::testing::TestParamInfo<ReadCase>& i) { return std::string(i.param.name); });

TEST_F(CStdioFileTest, HighBytesReadAsTheSameCodes)
{
    std::string bytes;
    for (int b = 0x80; b <= 0xFF; ++b)
        bytes += (char)b;
    WriteRaw(bytes + "\r\n");
    CStdioFile f;
    ASSERT_TRUE(f.Open(m_path.c_str(), CFile::modeRead));
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    ASSERT_EQ(128, line.GetLength());
    for (int i = 0; i < 128; ++i)
        EXPECT_EQ(0x80 + i, (int)line[i]);
    EXPECT_FALSE(f.ReadString(line));
}

TEST_F(CStdioFileTest, HighCharactersRoundTrip)
{
    std::wstring text;
    for (wchar_t c = 1; c <= 0xFF; ++c)
        if (c != L'\n' && c != L'\r')
            text += c;
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(m_path.c_str(), CFile::modeCreate | CFile::modeReadWrite));
        f.WriteString(text.c_str());
        f.WriteString(L"\n");
    }
    std::string raw = ReadRaw();
    ASSERT_EQ(text.size() + 2, raw.size());
    EXPECT_EQ("\r\n", raw.substr(raw.size() - 2));
    for (size_t i = 0; i < text.size(); ++i)
        EXPECT_EQ((unsigned)text[i], (unsigned char)raw[i]);
    CStdioFile f;
    ASSERT_TRUE(f.Open(m_path.c_str(), CFile::modeRead));
    CString back;
    ASSERT_TRUE(f.ReadString(back));
    EXPECT_EQ(text, std::wstring(back.GetString(), back.GetLength()));
}

TEST_F(CStdioFileTest, WriteStringTurnsNewlinesIntoCrLf)
{
    {
        CStdioFile f(m_path.c_str(), CFile::modeCreate | CFile::modeReadWrite);
        f.WriteString(L"a\tb\n");
        f.WriteString(L"\n");
        f.WriteString(L"user_pref(\"x\", 0);");
    }
    EXPECT_EQ("a\tb\r\n\r\nuser_pref(\"x\", 0);", ReadRaw());
}

TEST_F(CStdioFileTest, CharacterAbove255ThrowsAndWritesNothingOfThatText)
{
    CStdioFile f;
    ASSERT_TRUE(f.Open(m_path.c_str(), CFile::modeCreate | CFile::modeReadWrite));
    f.WriteString(L"kept\n");
    bool thrown = false;
    try {
        f.WriteString(L"bad \u0100 text\n");
    } catch (CFileException* e) {
        thrown = true;
        EXPECT_NE(CFileException::none, e->m_cause);
        wchar_t msg[256];
        EXPECT_TRUE(e->GetErrorMessage(msg, 256));
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    // The exception is also caught as its base class.
    bool caughtAsBase = false;
    try {
        f.WriteString(L"\u4e2d");
    } catch (CException* e) {
        caughtAsBase = e->IsKindOf(RUNTIME_CLASS(CFileException));
        e->Delete();
    }
    EXPECT_TRUE(caughtAsBase);
    f.WriteString(L"after\n");
    f.Close();
    EXPECT_EQ("kept\r\nafter\r\n", ReadRaw());
}

TEST_F(CStdioFileTest, ReadStringAtEndLeavesTheBufferUntouched)
{
    WriteRaw("x\r\n");
    CStdioFile f;
    ASSERT_TRUE(f.Open(m_path.c_str(), CFile::modeRead));
    wchar_t buf[16];
    ASSERT_EQ(buf, f.ReadString(buf, 16));
    EXPECT_STREQ(L"x\n", buf);
    wcscpy(buf, L"untouched");
    EXPECT_EQ(nullptr, f.ReadString(buf, 16));
    EXPECT_STREQ(L"untouched", buf);
    EXPECT_EQ(nullptr, f.ReadString(buf, 16));
    EXPECT_STREQ(L"untouched", buf);
    CString s(L"keep");
    EXPECT_FALSE(f.ReadString(s));
}

TEST_F(CStdioFileTest, ReadStringIntoCString)
{
    WriteRaw("first\r\n\r\nthird\nlast");
    CStdioFile f;
    ASSERT_TRUE(f.Open(m_path.c_str(), CFile::modeRead | CFile::typeText));
    CString s;
    Lines got;
    while (f.ReadString(s))
        got.push_back(s.GetString());
    EXPECT_EQ(Lines({ L"first", L"", L"third", L"last" }), got);
}

TEST_F(CStdioFileTest, BinaryModePassesBytesThrough)
{
    WriteRaw("a\r\nb\n");
    EXPECT_EQ(Lines({ L"a\r\n", L"b\n" }), Pieces(256, CFile::modeRead | CFile::typeBinary));
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(m_path.c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary));
        f.WriteString(L"x\ny\r\n");
    }
    EXPECT_EQ("x\ny\r\n", ReadRaw());
}

TEST_F(CStdioFileTest, OpenFailureDoesNotThrow)
{
    CStdioFile f;
    CFileException e;
    std::wstring missing = m_dir + L"\\missing.txt";
    EXPECT_FALSE(f.Open(missing.c_str(), CFile::modeRead, &e));
    EXPECT_EQ(CFileException::fileNotFound, e.m_cause);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, e.m_lOsError);
    EXPECT_FALSE(f.IsOpen());
    std::wstring badDir = m_dir + L"\\no\\such\\dir.txt";
    EXPECT_FALSE(f.Open(badDir.c_str(), CFile::modeCreate | CFile::modeReadWrite, &e));
    EXPECT_EQ(CFileException::badPath, e.m_cause);
    // The throwing constructor reports the same failure as an exception.
    bool thrown = false;
    try {
        CStdioFile g(missing.c_str(), CFile::modeRead);
    } catch (CFileException* ex) {
        thrown = ex->m_cause == CFileException::fileNotFound;
        ex->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST_F(CStdioFileTest, CreateTruncatesUnlessNoTruncate)
{
    WriteRaw("old contents\r\n");
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(m_path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
        f.SeekToEnd();
        f.WriteString(L"more\n");
    }
    EXPECT_EQ("old contents\r\nmore\r\n", ReadRaw());
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(m_path.c_str(), CFile::modeCreate | CFile::modeReadWrite));
        EXPECT_EQ(0u, f.GetLength());
    }
    EXPECT_EQ("", ReadRaw());
}

TEST_F(CStdioFileTest, ReadThenWriteContinuesAtTheReadPosition)
{
    WriteRaw("line1\r\nline2\r\nline3\r\n");
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(m_path.c_str(), CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite));
        CString s;
        ASSERT_TRUE(f.ReadString(s));
        EXPECT_EQ(7u, f.GetPosition());
        f.WriteString(L"LINE2\n");
        EXPECT_EQ(14u, f.GetPosition());
        ASSERT_TRUE(f.ReadString(s));
        EXPECT_TRUE(s == L"line3");
    }
    EXPECT_EQ("line1\r\nLINE2\r\nline3\r\n", ReadRaw());
}

TEST_F(CStdioFileTest, PlainFileReadWriteSeek)
{
    {
        CFile f;
        ASSERT_TRUE(f.Open(m_path.c_str(), CFile::modeCreate | CFile::modeReadWrite));
        f.Write("0123456789", 10);
        EXPECT_EQ(10u, f.GetLength());
        EXPECT_EQ(4u, f.Seek(4, CFile::begin));
        char buf[8] = { 0 };
        EXPECT_EQ(3u, f.Read(buf, 3));
        EXPECT_STREQ("456", buf);
        EXPECT_EQ(8u, f.Seek(-2, CFile::end));
        EXPECT_EQ(2u, f.Read(buf, 8));
        EXPECT_EQ(0u, f.Read(buf, 8)) << "0 at the end of the file";
        f.SetLength(5);
        EXPECT_EQ(5u, f.GetLength());
        EXPECT_TRUE(f.GetFileName() == L"data.txt");
    }
    EXPECT_EQ("01234", ReadRaw());
}

TEST_F(CStdioFileTest, WriteToReadOnlyFileThrows)
{
    WriteRaw("abc");
    CFile f;
    ASSERT_TRUE(f.Open(m_path.c_str(), CFile::modeRead));
    bool thrown = false;
    try {
        f.Write("x", 1);
    } catch (CFileException* e) {
        thrown = true;
        EXPECT_EQ(ERROR_ACCESS_DENIED, e->m_lOsError);
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

// A file whose reads come from memory: the virtual Read serves derived files.
class CMemoryReadFile : public CFile
{
public:
    explicit CMemoryReadFile(const std::string& data) : m_data(data) {}
    UINT Read(void* lpBuf, UINT nCount) override
    {
        UINT n = (UINT)std::min<size_t>(nCount, m_data.size() - m_pos);
        memcpy(lpBuf, m_data.data() + m_pos, n);
        m_pos += n;
        return n;
    }

private:
    std::string m_data;
    size_t m_pos = 0;
};

TEST(CFile, ReadIsVirtual)
{
    CMemoryReadFile mem("hello");
    CFile& f = mem;
    char buf[8] = { 0 };
    EXPECT_EQ(5u, f.Read(buf, 8));
    EXPECT_STREQ("hello", buf);
    EXPECT_EQ(0u, f.Read(buf, 8));
}

}  // namespace
