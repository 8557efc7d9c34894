// What the program sends to the maker's server and how it reads the replies:
// the reply buffer, the request bodies, the check-in reply, the renewal, the
// retrieval reply and the test definition.
#include "net/PasswordRenewal.h"
#include "net/CheckIn.h"
#include "net/CurlBuffer.h"
#include "net/ProxyDownload.h"
#include "net/ServerRequest.h"
#include "proxy/CountryTable.h"
#include "proxy/Settings.h"

#include "tests/TestFiles.h"

#include <gtest/gtest.h>

#include <limits.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

std::string Str(const CStringA& s)
{
    return std::string(s.GetString(), (size_t)s.GetLength());
}

// The process's country table, from the countries.crv beside the test program.
void LoadCountryTable()
{
    CCountryTable& table = GetCountryTable();
    if (table.GetCount() > 0)
        return;
    wchar_t szPath[MAX_PATH];
    DWORD n = GetModuleFileNameW(NULL, szPath, MAX_PATH);
    std::wstring path(szPath, n);
    path = path.substr(0, path.find_last_of(L"\\/") + 1) + L"countries.crv";
    table.Load(path.c_str());
}

// --- the reply buffer ---------------------------------------------------------

TEST(CurlBufferTest, ChunksAreAppendedAndKeptTerminated)
{
    CCurlBuffer buffer = { NULL, 0 };
    char first[] = "PWStart";
    char second[] = "abcPWEnd";
    EXPECT_EQ(7u, CurlWriteCallback(first, 1, 7, &buffer));
    ASSERT_NE(nullptr, buffer.m_pData);
    EXPECT_STREQ("PWStart", buffer.m_pData);
    // Items of more than one byte count as size times number.
    EXPECT_EQ(8u, CurlWriteCallback(second, 4, 2, &buffer));
    EXPECT_EQ(15u, buffer.m_nSize);
    EXPECT_STREQ("PWStartabcPWEnd", buffer.m_pData);
    EXPECT_EQ(0u, CurlWriteCallback(second, 1, 0, &buffer));
    EXPECT_EQ(15u, buffer.m_nSize);
    EXPECT_EQ('\0', buffer.m_pData[15]);
    free(buffer.m_pData);
}

TEST(CurlBufferTest, FirstEmptyChunkStillGivesATerminatedBuffer)
{
    CCurlBuffer buffer = { NULL, 0 };
    char none[] = "";
    EXPECT_EQ(0u, CurlWriteCallback(none, 1, 0, &buffer));
    ASSERT_NE(nullptr, buffer.m_pData);
    EXPECT_EQ('\0', buffer.m_pData[0]);
    free(buffer.m_pData);
}

TEST(CurlBufferTest, SizeThatCannotBeHeldFailsTheTransferAndKeepsTheProcess)
{
    char data[4] = "abc";
    // size times count wraps around: no small buffer may be taken for it.
    CCurlBuffer wrapping = { NULL, 0 };
    EXPECT_EQ(0u, CurlWriteCallback(data, SIZE_MAX / 2 + 1, 2, &wrapping));
    EXPECT_TRUE(wrapping.m_bTooLong);
    EXPECT_EQ(nullptr, wrapping.m_pData);

    CCurlBuffer beyond = { NULL, 0 };
    EXPECT_EQ(3u, CurlWriteCallback(data, 1, 3, &beyond));
    EXPECT_EQ(0u, CurlWriteCallback(data, 1, SIZE_MAX - 3, &beyond));
    EXPECT_TRUE(beyond.m_bTooLong);
    EXPECT_EQ(3u, beyond.m_nSize);
    EXPECT_STREQ("abc", beyond.m_pData);
    free(beyond.m_pData);
}

TEST(CurlBufferTest, ReplyStopsAtItsCap)
{
    struct Case
    {
        const char* name;
        size_t limit;  // as set on the buffer
        size_t cap;    // what it stands for
    } cases[] = {
        { "test page", TEST_PAGE_MAX_BYTES, TEST_PAGE_MAX_BYTES },
        { "server reply", SERVER_REPLY_MAX_BYTES, SERVER_REPLY_MAX_BYTES },
        { "unset is a server reply", 0, SERVER_REPLY_MAX_BYTES },
    };
    std::vector<char> piece(16384, 'x');
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCurlBuffer buffer = { NULL, 0, c.limit, false };
        size_t nTaken = 0;
        // Whole pieces up to the cap are taken; the one that would pass it is refused.
        while (nTaken + piece.size() <= c.cap) {
            ASSERT_EQ(piece.size(), CurlWriteCallback(piece.data(), 1, piece.size(), &buffer));
            nTaken += piece.size();
        }
        EXPECT_FALSE(buffer.m_bTooLong);
        size_t nRest = c.cap - nTaken;
        EXPECT_EQ(nRest, CurlWriteCallback(piece.data(), 1, nRest, &buffer));
        EXPECT_EQ(c.cap, buffer.m_nSize);
        EXPECT_EQ(0u, CurlWriteCallback(piece.data(), 1, 1, &buffer));
        EXPECT_TRUE(buffer.m_bTooLong);
        EXPECT_EQ(c.cap, buffer.m_nSize);
        EXPECT_EQ('\0', buffer.m_pData[c.cap]);
        free(buffer.m_pData);
    }
    EXPECT_LT(TEST_PAGE_MAX_BYTES, 1024u * 1024u);
}

// --- request bodies -------------------------------------------------------------

TEST(RequestBodyTest, CheckInAndRenewal)
{
    EXPECT_EQ("Mac=02:fc:00:00:00:01&Version=1.2.8.0&OperationType=1",
              Str(BuildStartBody("02:fc:00:00:00:01", "1.2.8.0", OPERATION_CHECK_IN)));
    EXPECT_EQ("Mac=02:fc:00:00:00:01&Version=1.2.8.0&OperationType=5",
              Str(BuildStartBody("02:fc:00:00:00:01", "1.2.8.0", OPERATION_RENEW_PASSWORD)));
    // No adapter address and no version resource: the fields stay empty.
    EXPECT_EQ("Mac=&Version=&OperationType=5", Str(BuildStartBody(NULL, "", 5)));
    // Values go out as they are, without URL encoding.
    EXPECT_EQ("Mac=a&b c&Version=1+2&OperationType=1", Str(BuildStartBody("a&b c", "1+2", 1)));
}

TEST(RequestBodyTest, RetrievalTypesAndCountries)
{
    struct Case
    {
        const char* name;
        bool elite, anonymous, transparent, all;
        std::vector<int> selected;
        const char* tail;  // after "OperationType=4&Mac=M&AnonymousType="
    } cases[] = {
        { "elite only, all countries", true, false, false, true, {}, "1\t&AllCountry=1" },
        { "anonymous only", false, true, false, true, {}, "2\t&AllCountry=1" },
        { "both", true, true, false, true, {}, "1\t2\t&AllCountry=1" },
        { "transparent is never sent", false, false, true, true, {}, "&AllCountry=1" },
        { "countries 3 and 17", true, false, false, false, { 17, 3 }, "1\t&AllCountry=0&Countries=3\t17\t" },
        { "no country chosen", true, true, false, false, {}, "1\t2\t&AllCountry=0&Countries=" },
        { "first and last index", false, true, false, false, { 0, 19 }, "2\t&AllCountry=0&Countries=0\t19\t" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSettingAnonymousItem anonymity;
        anonymity.m_bElite = c.elite;
        anonymity.m_bAnonymous = c.anonymous;
        anonymity.m_bTransparent = c.transparent;
        CSettingCountryItem countries(20);
        countries.m_bAllCountries = c.all;
        memset(countries.m_pSelected, 0, 20);
        for (int i : c.selected)
            countries.m_pSelected[i] = 1;
        // A flag other than 1 is not a selection.
        if (!c.all && c.selected.empty())
            countries.m_pSelected[5] = 2;
        EXPECT_EQ(std::string("OperationType=4&Mac=M&AnonymousType=") + c.tail,
                  Str(BuildRetrieveBody("M", anonymity, countries)));
    }
}

// --- the check-in reply ---------------------------------------------------------

class CheckInReplyTest : public ::testing::Test
{
protected:
    static const RenewalTime kNow = 1765360000;
    static const RenewalTime kOldTime = 1700000000;

    void SetUp() override
    {
        LoadCountryTable();
        m_nUS = FindCountryByCode(L"US");
        ASSERT_GE(m_nUS, 0) << "countries.crv beside the test program";
        m_nDE = FindCountryByCode(L"DE");
        ASSERT_GE(m_nDE, 0);
        strcpy(g_szProxyPassword, "old-pass");
        g_nextPasswordTime = kOldTime;
        g_nRealCountry = m_nDE;
        strcpy(g_szRealIP, "9.9.9.9");
    }
    void TearDown() override
    {
        g_szProxyPassword[0] = '\0';
        g_nextPasswordTime = 0;
        g_nRealCountry = -1;
        g_szRealIP[0] = '\0';
    }

    int m_nUS = -1;
    int m_nDE = -1;
};

TEST_F(CheckInReplyTest, MarkersPresentMissingAndMalformed)
{
    const std::string k255(255, 'm'), k256(256, 'm');
    const std::string k63(63, 'p'), k64(64, 'p');
    struct Case
    {
        const char* name;
        std::string reply;
        bool message;  // the server message dialog is shown
        std::wstring text;
        int type;
        std::wstring caption;
        std::string password;  // g_szProxyPassword afterwards
        RenewalTime next;      // g_nextPasswordTime afterwards
        int country;           // -2: DE (kept), -3: US, else the index
        std::string ip;        // g_szRealIP afterwards
    } cases[] = {
        { "all values",
          "MsgStartHello userMsgEnd MsgType:4 MsgCapStartOur siteMsgCapEnd\r\nPWStarts3cr&tPWEnd\r\n"
          "TimeStart3600TimeEnd\r\nCountryCode:US\r\nIPAddress:203.0.113.7\r\n",
          true, L"Hello user", 4, L"Our site", "s3cr&t", kNow + 3600, -3, "203.0.113.7" },
        { "no markers at all", "Welcome", false, L"", 1, L"", "old-pass", kOldTime, -2, "9.9.9.9" },
        { "message without type", "MsgStartHiMsgEnd", true, L"Hi", 1, L"", "old-pass", kOldTime, -2, "9.9.9.9" },
        { "message without end marker", "MsgStartHi MsgType:2", false, L"", 1, L"", "old-pass", kOldTime, -2,
          "9.9.9.9" },
        { "type and caption without message are not read", "MsgType:3MsgCapStartxMsgCapEnd", false, L"", 1, L"",
          "old-pass", kOldTime, -2, "9.9.9.9" },
        { "type 7 keeps type 1", "MsgStartHiMsgEndMsgType:7", true, L"Hi", 1, L"", "old-pass", kOldTime, -2,
          "9.9.9.9" },
        { "type 0 keeps type 1", "MsgType:0MsgStartHiMsgEnd", true, L"Hi", 1, L"", "old-pass", kOldTime, -2,
          "9.9.9.9" },
        { "type marker at the very end", "MsgStartHiMsgEndMsgType:", true, L"Hi", 1, L"", "old-pass", kOldTime, -2,
          "9.9.9.9" },
        { "first type counts", "MsgType:2MsgType:3MsgStartHiMsgEnd", true, L"Hi", 2, L"", "old-pass", kOldTime, -2,
          "9.9.9.9" },
        { "empty message", "MsgStartMsgEndMsgType:3", true, L"", 3, L"", "old-pass", kOldTime, -2, "9.9.9.9" },
        { "message of 255 characters", "MsgStart" + k255 + "MsgEnd", true, std::wstring(255, L'm'), 1, L"", "old-pass",
          kOldTime, -2, "9.9.9.9" },
        { "message over 255 characters is dropped", "MsgStart" + k256 + "MsgEndMsgType:2", true, L"", 2, L"",
          "old-pass", kOldTime, -2, "9.9.9.9" },
        { "caption over 255 characters is dropped", "MsgStartHiMsgEndMsgCapStart" + k256 + "MsgCapEnd", true, L"Hi", 1,
          L"", "old-pass", kOldTime, -2, "9.9.9.9" },
        { "message in the ANSI code page", "MsgStartCaf\xE9MsgEnd", true, L"Caf\x00E9", 1, L"", "old-pass", kOldTime,
          -2, "9.9.9.9" },
        { "password of 63 bytes", "PWStart" + k63 + "PWEnd", false, L"", 1, L"", k63, kOldTime, -2, "9.9.9.9" },
        { "password of 64 bytes is not taken", "PWStart" + k64 + "PWEnd", false, L"", 1, L"", "old-pass", kOldTime, -2,
          "9.9.9.9" },
        { "password without end marker", "PWStartabc", false, L"", 1, L"", "old-pass", kOldTime, -2, "9.9.9.9" },
        { "markers are case-sensitive", "pwstartabcPWEnd", false, L"", 1, L"", "old-pass", kOldTime, -2, "9.9.9.9" },
        { "first password counts", "PWStartaPWEndPWStartbPWEnd", false, L"", 1, L"", "a", kOldTime, -2, "9.9.9.9" },
        { "empty password", "PWStartPWEnd", false, L"", 1, L"", "", kOldTime, -2, "9.9.9.9" },
        { "renewal delay 0 sets no time", "TimeStart0TimeEnd", false, L"", 1, L"", "old-pass", kOldTime, -2,
          "9.9.9.9" },
        { "renewal delay 3600", "TimeStart3600TimeEnd", false, L"", 1, L"", "old-pass", kNow + 3600, -2, "9.9.9.9" },
        { "renewal delay with blanks and junk", "TimeStart  42xTimeEnd", false, L"", 1, L"", "old-pass", kNow + 42, -2,
          "9.9.9.9" },
        { "renewal delay without digits", "TimeStartsoonTimeEnd", false, L"", 1, L"", "old-pass", kOldTime, -2,
          "9.9.9.9" },
        { "renewal delay too large saturates", "TimeStart99999999999TimeEnd", false, L"", 1, L"", "old-pass",
          kNow + INT_MAX, -2, "9.9.9.9" },
        { "renewal delay without end marker", "TimeStart3600", false, L"", 1, L"", "old-pass", kOldTime, -2,
          "9.9.9.9" },
        { "known country", "CountryCode:US\r\n", false, L"", 1, L"", "old-pass", kOldTime, -3, "9.9.9.9" },
        { "unknown country code", "CountryCode:QQ\r\n", false, L"", 1, L"", "old-pass", kOldTime, -1, "9.9.9.9" },
        { "country codes are exact", "CountryCode:us", false, L"", 1, L"", "old-pass", kOldTime, -1, "9.9.9.9" },
        { "country code cut short", "CountryCode:U", false, L"", 1, L"", "old-pass", kOldTime, -2, "9.9.9.9" },
        { "address and line break", "IPAddress:10.1.2.3\r\nCountryCode:US", false, L"", 1, L"", "old-pass", kOldTime,
          -3, "10.1.2.3" },
        { "address at the end of the reply", "IPAddress:10.1.2.3", false, L"", 1, L"", "old-pass", kOldTime, -2,
          "10.1.2.3" },
        { "marker then a line break", "IPAddress:\r\n10.1.2.3", false, L"", 1, L"", "old-pass", kOldTime, -2, "" },
        { "address of 15 characters", "IPAddress:255.255.255.255 ", false, L"", 1, L"", "old-pass", kOldTime, -2,
          "255.255.255.255" },
        { "address over 15 characters is not taken", "IPAddress:1234.255.255.255\r\n", false, L"", 1, L"", "old-pass",
          kOldTime, -2, "9.9.9.9" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        StartReply reply = ParseStartReply(CStringA(c.reply.data(), (int)c.reply.size()));
        EXPECT_FALSE(reply.bEmpty);
        EXPECT_EQ(c.message, reply.bHasMessage);
        EXPECT_EQ(c.text, std::wstring(reply.strMessage.GetString()));
        EXPECT_EQ(c.type, reply.nMessageType);
        EXPECT_EQ(c.caption, std::wstring(reply.strCaption.GetString()));
        ApplyStartReply(reply, kNow);
        EXPECT_EQ(c.password, std::string(g_szProxyPassword));
        EXPECT_EQ(c.next, g_nextPasswordTime);
        int country = c.country == -2 ? m_nDE : c.country == -3 ? m_nUS : c.country;
        EXPECT_EQ(country, g_nRealCountry);
        EXPECT_EQ(c.ip, std::string(g_szRealIP));
    }
}

TEST_F(CheckInReplyTest, EmptyReplyChangesNothing)
{
    StartReply reply = ParseStartReply(CStringA());
    EXPECT_TRUE(reply.bEmpty);
    EXPECT_FALSE(reply.bHasMessage);
    ApplyStartReply(reply, kNow);
    EXPECT_STREQ("old-pass", g_szProxyPassword);
    EXPECT_EQ(kOldTime, g_nextPasswordTime);
    EXPECT_EQ(m_nDE, g_nRealCountry);
    EXPECT_STREQ("9.9.9.9", g_szRealIP);
}

// --- the renewal ----------------------------------------------------------------

std::string g_strRelayUser;
std::string g_strRelayPassword;
int g_nRelayCalls = 0;

bool RecordRelayCredentials(const char* pszUser)
{
    ++g_nRelayCalls;
    g_strRelayUser = pszUser ? pszUser : "(null)";
    g_strRelayPassword = g_szProxyPassword;
    return true;
}

TEST(PasswordRenewalReplyTest, NewPasswordGoesToTheRelay)
{
    struct Case
    {
        const char* name;
        std::string reply;
        bool renewed;
        std::string password;
    } cases[] = {
        { "password", "PWStartfresh-onePWEnd", true, "fresh-one" },
        { "63 bytes", "PWStart" + std::string(63, 'x') + "PWEnd", true, std::string(63, 'x') },
        { "64 bytes", "PWStart" + std::string(64, 'x') + "PWEnd", false, "old-pass" },
        { "no end marker", "PWStartfresh", false, "old-pass" },
        { "empty reply", "", false, "old-pass" },
        { "server error page", "<html>500</html>", false, "old-pass" },
    };
    PFN_SET_RELAY_CREDENTIALS pfnSaved = g_pfnSetRelayCredentials;
    g_pfnSetRelayCredentials = RecordRelayCredentials;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        strcpy(g_szProxyPassword, "old-pass");
        g_nRelayCalls = 0;
        EXPECT_EQ(c.renewed, ApplyPasswordReply(CStringA(c.reply.data(), (int)c.reply.size()), "corvane"));
        EXPECT_EQ(c.password, std::string(g_szProxyPassword));
        EXPECT_EQ(c.renewed ? 1 : 0, g_nRelayCalls);
        if (c.renewed) {
            EXPECT_EQ("corvane", g_strRelayUser);
            EXPECT_EQ(c.password, g_strRelayPassword);
        }
    }
    g_pfnSetRelayCredentials = pfnSaved;
    g_szProxyPassword[0] = '\0';
}

// --- the retrieval reply ----------------------------------------------------------

TEST(RetrieveReplyTest, Classification)
{
    struct Case
    {
        const char* name;
        std::string reply;
        RetrieveReplyKind kind;
    } cases[] = {
        { "list", "127.0.0.1\t18201\t234\t1\t0\t3600000\r\n", RETRIEVE_LIST },
        { "eight bytes", "1.2.3.45", RETRIEVE_LIST },
        { "exactly seven digits and dots", "1.2.3.4", RETRIEVE_FAILED },
        { "seven digits", "1234567", RETRIEVE_FAILED },
        { "Empty", "Empty", RETRIEVE_EMPTY },
        { "Empty with a line end", "Empty\r\n", RETRIEVE_EMPTY },
        { "Empty inside seven bytes", "xEmpty!", RETRIEVE_EMPTY },
        { "Empty is case-sensitive", "empty", RETRIEVE_FAILED },
        { "long reply containing Empty", "Empty list for these countries", RETRIEVE_FAILED },
        { "eight bytes ending in Empty", "123Empty", RETRIEVE_FAILED },
        { "empty reply", "", RETRIEVE_FAILED },
        { "error page", "<html><body>502</body></html>", RETRIEVE_FAILED },
        { "letter in the first seven", "127.0.a.1\t80\r\n", RETRIEVE_FAILED },
        { "tab in the first seven", "1.2.3\t80\t0\t1\r\n", RETRIEVE_FAILED },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.kind, ClassifyRetrieveReply(c.reply.data(), c.reply.size()));
    }
}

TEST(RetrieveReplyTest, ListIsWrittenByteForByte)
{
    CTempDir dir;
    std::wstring path = dir.File(L"proxy.tmp");
    // Old content longer than the list: the file is truncated, not overwritten in place.
    ASSERT_TRUE(WriteFileBytes(path, std::string(500, 'z')));
    const std::string list(
        "127.0.0.1\t18201\t234\t1\t0\t3600000\r\n10.0.0.2\t8080\t-1\t2\t5\t812\n"
        "\xC3\xA9\xFF line without tabs\r\r\n");
    EXPECT_TRUE(StoreProxyListReply(CStringA(list.data(), (int)list.size()), path.c_str(), NULL));
    EXPECT_EQ(list, ReadFileBytes(path));
}

TEST(RetrieveReplyTest, UnwritablePlaceGivesFalse)
{
    CTempDir dir;
    // A directory of that name cannot be opened as a file.
    std::wstring path = dir.File(L"proxy.tmp");
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), NULL));
    EXPECT_FALSE(WriteProxyTmp(CStringA("1.2.3.4\t80\r\n"), path.c_str()));
}

// --- the test definition ---------------------------------------------------------

TEST(TestDefinitionTest, RepliesBySizeAndBars)
{
    auto pad = [](std::string s, size_t n) {
        s.resize(n, ' ');
        return s;
    };
    struct Case
    {
        const char* name;
        std::string reply;
        const char* url;    // NULL: kept
        const char* value;  // NULL: kept
    } cases[] = {
        { "7 bytes with two bars", "h|word|", DEFAULT_TEST_URL, DEFAULT_TEST_VALUE },
        { "8 bytes with two bars", "ht|word|", "ht", "word" },
        { "8 bytes with one bar", "http|wor", "http", NULL },
        { "8 bytes without a bar", "http://x", NULL, NULL },
        { "49 bytes with two bars", pad("http://127.0.0.1:18188/test.htm|TessalyOK|", 49),
          "http://127.0.0.1:18188/test.htm", "TessalyOK" },
        { "49 bytes with one bar", pad("http://127.0.0.1:18188/test.htm|TessalyOK", 49),
          "http://127.0.0.1:18188/test.htm", NULL },
        { "49 bytes without a bar", pad("http://127.0.0.1:18188/test.htm", 49), NULL, NULL },
        { "50 bytes with two bars", pad("http://127.0.0.1:18188/test.htm|TessalyOK|", 50), DEFAULT_TEST_URL,
          DEFAULT_TEST_VALUE },
        { "50 bytes without a bar", pad("x", 50), DEFAULT_TEST_URL, DEFAULT_TEST_VALUE },
        { "empty reply", "", DEFAULT_TEST_URL, DEFAULT_TEST_VALUE },
        { "empty fields", "||" + std::string(6, ' '), "", "" },
        { "three bars", "a|b|c|d|", "a", "b" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSettingTestItem test;
        strcpy(test.m_szURL, "http://kept/");
        strcpy(test.m_szCorrectValue, "kept");
        test.ApplyTestDefinition(c.reply.data(), c.reply.size());
        EXPECT_STREQ(c.url ? c.url : "http://kept/", test.m_szURL);
        EXPECT_STREQ(c.value ? c.value : "kept", test.m_szCorrectValue);
    }
}

}  // namespace
