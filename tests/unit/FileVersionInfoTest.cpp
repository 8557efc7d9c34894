// The version resource reader: which translation's strings are read, and the
// product version of the built program.
#include "net/FileVersionInfo.h"

#include "tests/TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

DWORD Entry(WORD language, WORD codePage)
{
    return MAKELONG(language, codePage);
}

std::wstring BesideTestProgram(const wchar_t* name)
{
    wchar_t szPath[MAX_PATH];
    DWORD n = GetModuleFileNameW(NULL, szPath, MAX_PATH);
    std::wstring path(szPath, n);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

TEST(FileVersionInfoTest, TranslationChoice)
{
    struct Case
    {
        const char* name;
        WORD user;
        std::vector<DWORD> table;
        DWORD chosen;
    } cases[] = {
        { "single US English entry whatever the user's language",
          0x0407,
          { Entry(0x0409, 0x04B0) },
          Entry(0x0409, 0x04B0) },
        { "the user's language exactly",
          0x0809,
          { Entry(0x0409, 0x04B0), Entry(0x0809, 0x04E4) },
          Entry(0x0809, 0x04E4) },
        { "same primary language", 0x0807, { Entry(0x0409, 0x04B0), Entry(0x0407, 0x04B0) }, Entry(0x0407, 0x04B0) },
        { "neutral before English", 0x040C, { Entry(0x0409, 0x04B0), Entry(0x0000, 0x04B0) }, Entry(0x0000, 0x04B0) },
        { "English before the first entry",
          0x040C,
          { Entry(0x0407, 0x04B0), Entry(0x0809, 0x04B0) },
          Entry(0x0809, 0x04B0) },
        { "else the first entry", 0x040C, { Entry(0x0407, 0x04E4), Entry(0x0410, 0x04B0) }, Entry(0x0407, 0x04E4) },
        { "exact match before an earlier primary match",
          0x0807,
          { Entry(0x0407, 1), Entry(0x0807, 2) },
          Entry(0x0807, 2) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DWORD chosen = 0;
        EXPECT_TRUE(CFileVersionInfo::ChooseTranslation(c.user, c.table.data(), (UINT)(c.table.size() * sizeof(DWORD)),
                                                        chosen));
        EXPECT_EQ(c.chosen, chosen);
    }
    // Without a table there is nothing to choose.
    DWORD chosen = 7;
    EXPECT_FALSE(CFileVersionInfo::ChooseTranslation(0x0409, NULL, 0, chosen));
    DWORD one = Entry(0x0409, 0x04B0);
    EXPECT_FALSE(CFileVersionInfo::ChooseTranslation(0x0409, &one, 2, chosen));
}

TEST(FileVersionInfoTest, FindTranslationPrimaryOnlyWhenAsked)
{
    const DWORD table[] = { Entry(0x0409, 0x04B0), Entry(0x0407, 0x04E4) };
    DWORD out = 0;
    EXPECT_FALSE(CFileVersionInfo::FindTranslation(0x0807, table, sizeof(table), out, false));
    EXPECT_EQ(0u, out);
    EXPECT_TRUE(CFileVersionInfo::FindTranslation(0x0807, table, sizeof(table), out, true));
    EXPECT_EQ(Entry(0x0407, 0x04E4), out);
    // The size is in bytes: a table cut to one entry never reaches the second.
    EXPECT_FALSE(CFileVersionInfo::FindTranslation(0x0407, table, sizeof(DWORD), out, true));
}

TEST(FileVersionInfoTest, BuiltProgramGivesItsProductVersion)
{
    CFileVersionInfo info;
    ASSERT_TRUE(info.OpenFile(BesideTestProgram(L"CorvaneTessaly.exe").c_str()));
    EXPECT_EQ(CString(L"1.2.8.0"), info.GetProductVersion());
    EXPECT_EQ(CString(L"1.2.8.0"), info.m_strFileVersion);
    EXPECT_EQ(CString(L"Corvane Tessaly"), info.m_strProductName);
    EXPECT_EQ(VS_FFI_SIGNATURE, info.m_fileInfo.dwSignature);
    EXPECT_EQ((DWORD)MAKELONG(2, 1), info.m_fileInfo.dwProductVersionMS);
    EXPECT_EQ((DWORD)MAKELONG(0, 8), info.m_fileInfo.dwProductVersionLS);
    EXPECT_TRUE(info.m_strSpecialBuild.IsEmpty());
}

TEST(FileVersionInfoTest, FileWithoutResourceResetsEverything)
{
    CFileVersionInfo info;
    ASSERT_TRUE(info.OpenFile(BesideTestProgram(L"CorvaneTessaly.exe").c_str()));
    ASSERT_FALSE(info.GetProductVersion().IsEmpty());

    CTempDir dir;
    std::wstring path = dir.File(L"plain.txt");
    ASSERT_TRUE(WriteFileBytes(path, "not a program\r\n"));
    EXPECT_FALSE(info.OpenFile(path.c_str()));
    EXPECT_TRUE(info.GetProductVersion().IsEmpty());
    EXPECT_TRUE(info.m_strCompanyName.IsEmpty());
    EXPECT_EQ(0u, info.m_fileInfo.dwSignature);
    EXPECT_FALSE(info.OpenFile(dir.File(L"missing.exe").c_str()));
}

}  // namespace
