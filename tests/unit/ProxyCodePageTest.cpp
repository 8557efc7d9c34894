// Tests of the code-page conversions of the proxy records.
#include "proxy/CodePage.h"

#include <gtest/gtest.h>

#include <string.h>

TEST(ProxyCodePageTest, WideToOemBufferFitsWithItsNul)
{
    char szDest[6];
    memset(szDest, 'x', sizeof(szDest));
    EXPECT_TRUE(WideToOemBuffer(sizeof(szDest), L"abcde", szDest));
    EXPECT_STREQ("abcde", szDest);

    strcpy(szDest, "keep");
    EXPECT_FALSE(WideToOemBuffer(sizeof(szDest), L"abcdef", szDest));
    EXPECT_STREQ("keep", szDest);  // a text that does not fit leaves it alone

    EXPECT_TRUE(WideToOemBuffer(sizeof(szDest), L"", szDest));
    EXPECT_STREQ("", szDest);
    EXPECT_FALSE(WideToOemBuffer(sizeof(szDest), nullptr, szDest));
}

TEST(ProxyCodePageTest, AnsiToFileTextKeepsEveryCharacterInTheByteRange)
{
    EXPECT_EQ(CString(L"1.2.3.4"), AnsiToFileText("1.2.3.4"));
    EXPECT_EQ(CString(), AnsiToFileText(""));
    EXPECT_EQ(CString(), AnsiToFileText(nullptr));

    char szAll[256];
    for (int i = 1; i < 256; ++i)
        szAll[i - 1] = (char)i;
    szAll[255] = '\0';
    CString strText = AnsiToFileText(szAll);
    ASSERT_EQ(255, strText.GetLength());  // one character per byte, none lost
    for (int i = 0; i < strText.GetLength(); ++i)
        EXPECT_LE((unsigned)strText[i], 0xFFu) << "byte " << (i + 1);
}
