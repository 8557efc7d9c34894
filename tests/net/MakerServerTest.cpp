// The exchanges with the local maker's server through the real libcurl: the
// bytes of every request as the server logged them, and what the program
// does with the replies.
#include "net/PasswordRenewal.h"
#include "app/CheckInReply.h"
#include "net/CheckIn.h"
#include "net/HttpPost.h"
#include "net/MachineIdentity.h"
#include "net/ProxyDownload.h"
#include "net/ServerRequest.h"
#include "net/ServerRoot.h"
#include "proxy/CountryTable.h"
#include "proxy/Settings.h"
#include "tests/TestFiles.h"
#include "tests/support/MakerClient.h"

#include <gtest/gtest.h>

#include <string.h>
#include <time.h>

#include <string>
#include <vector>

namespace {

std::string Str(const CStringA& s)
{
    return std::string(s.GetString(), (size_t)s.GetLength());
}

std::wstring BesideTestProgram(const wchar_t* name)
{
    wchar_t szPath[MAX_PATH];
    DWORD n = GetModuleFileNameW(NULL, szPath, MAX_PATH);
    std::wstring path(szPath, n);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

int g_nRelayCalls = 0;
std::string g_strRelayUser;

bool RecordRelayCredentials(const char* pszUser)
{
    ++g_nRelayCalls;
    g_strRelayUser = pszUser ? pszUser : "(null)";
    return true;
}

class MakerServerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GetCurrentDirectoryW(MAX_PATH, m_szOldDir);
        ASSERT_TRUE(SetCurrentDirectoryW(m_dir.Path().c_str()));
        GetCountryTable().Load(BesideTestProgram(L"countries.crv").c_str());
        ASSERT_GT(GetCountryTable().GetCount(), 17);
        CSettings& settings = GetSettings();
        if (settings.GetMisc() == NULL)
            SetDefaultSettings(settings, GetCountryTable().GetCount());
        m_pszMac = GetMacAddress();
        ASSERT_NE(nullptr, m_pszMac) << "no Ethernet adapter";
        ASSERT_EQ(17u, strlen(m_pszMac));
        maker::Reset();
        ASSERT_EQ("", maker::Log()) << "the maker's server must be up";
    }
    void TearDown() override
    {
        maker::Reset();
        SetCurrentDirectoryW(m_szOldDir);
    }

    wchar_t m_szOldDir[MAX_PATH];
    CTempDir m_dir;
    const char* m_pszMac = nullptr;
};

TEST_F(MakerServerTest, ServerRootIsTheLocalServer)
{
    EXPECT_STREQ("http://127.0.0.1:18188", GetServerRoot());
    EXPECT_EQ("http://127.0.0.1:18188/Corvane/Tessaly/start.php", Str(GetServerUrl(SERVER_START_PATH)));
}

TEST_F(MakerServerTest, CheckInSendsAddressAndVersion)
{
    EXPECT_EQ("1.2.8.0", Str(GetProgramVersion()));
    CStringA strReply = SendStartRequest();
    EXPECT_EQ(
        "PWStarttessaly-relay-passPWEnd\r\nTimeStart86400TimeEnd\r\nCountryCode:US\r\n"
        "IPAddress:127.0.0.1\r\n",
        Str(strReply));
    EXPECT_EQ(
        maker::LogLine("POST", maker::kStartPath, std::string("Mac=") + m_pszMac + "&Version=1.2.8.0&OperationType=1"),
        maker::Log());
}

TEST_F(MakerServerTest, CheckInReplyIsHandedOut)
{
    g_szProxyPassword[0] = '\0';
    g_szRealIP[0] = '\0';
    g_nRealCountry = -1;
    g_nextPasswordTime = 0;
    RenewalTime before = CurrentRenewalTime();
    ASSERT_TRUE(HandleStartReply(SendStartRequest(), NULL));
    RenewalTime after = CurrentRenewalTime();
    EXPECT_STREQ("tessaly-relay-pass", g_szProxyPassword);
    EXPECT_STREQ("127.0.0.1", g_szRealIP);
    EXPECT_EQ(FindCountryByCode(L"US"), g_nRealCountry);
    EXPECT_GE(g_nextPasswordTime, before + 86400);
    EXPECT_LE(g_nextPasswordTime, after + 86400);
}

TEST_F(MakerServerTest, CheckInWithServerGoneGivesAnEmptyReply)
{
    maker::SetMode("close", maker::kStartPath);
    EXPECT_EQ("", Str(SendStartRequest()));
    maker::SetMode("empty", maker::kStartPath);
    EXPECT_EQ("", Str(SendStartRequest()));
}

TEST_F(MakerServerTest, RenewalSendsOperationFiveAndHandsThePasswordToTheRelay)
{
    PFN_SET_RELAY_CREDENTIALS pfnSaved = g_pfnSetRelayCredentials;
    g_pfnSetRelayCredentials = RecordRelayCredentials;
    strcpy(g_szProxyPassword, "old-pass");
    g_nRelayCalls = 0;

    EXPECT_TRUE(RequestProxyPassword());
    EXPECT_STREQ("tessaly-relay-pass", g_szProxyPassword);
    EXPECT_EQ(1, g_nRelayCalls);
    EXPECT_EQ(DEFAULT_PROXY_USER, g_strRelayUser);
    EXPECT_EQ(
        maker::LogLine("POST", maker::kStartPath, std::string("Mac=") + m_pszMac + "&Version=1.2.8.0&OperationType=5"),
        maker::Log());

    // A reply without the password, or none at all, keeps the old one.
    strcpy(g_szProxyPassword, "old-pass");
    maker::SetNextReply(maker::kStartPath, "PWStartcut short");
    EXPECT_FALSE(RequestProxyPassword());
    maker::SetMode("close", maker::kStartPath);
    EXPECT_FALSE(RequestProxyPassword());
    maker::SetMode("bad-reply", maker::kStartPath);
    EXPECT_FALSE(RequestProxyPassword());
    EXPECT_STREQ("old-pass", g_szProxyPassword);
    EXPECT_EQ(1, g_nRelayCalls);

    g_pfnSetRelayCredentials = pfnSaved;
    g_szProxyPassword[0] = '\0';
}

TEST_F(MakerServerTest, RetrievalBodiesAndTheListWrittenToProxyTmp)
{
    struct Case
    {
        const char* name;
        bool elite, anonymous, all;
        std::vector<int> selected;
        const char* tail;  // after the adapter address
    } cases[] = {
        { "elite only", true, false, true, {}, "&AnonymousType=1\t&AllCountry=1" },
        { "anonymous only", false, true, true, {}, "&AnonymousType=2\t&AllCountry=1" },
        { "both", true, true, true, {}, "&AnonymousType=1\t2\t&AllCountry=1" },
        { "countries 3 and 17", true, false, false, { 17, 3 }, "&AnonymousType=1\t&AllCountry=0&Countries=3\t17\t" },
    };
    const std::string list = "127.0.0.1\t18201\t234\t1\t0\t3600000\r\n127.0.0.1\t18203\t115\t2\t0\t3600000\r\n";
    CSettings& settings = GetSettings();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings.GetAnonymous()->m_bElite = c.elite;
        settings.GetAnonymous()->m_bAnonymous = c.anonymous;
        settings.GetAnonymous()->m_bTransparent = true;
        CSettingCountryItem* pCountries = settings.GetCountry();
        pCountries->m_bAllCountries = c.all;
        memset(pCountries->m_pSelected, 0, pCountries->m_nCount);
        for (int i : c.selected)
            pCountries->m_pSelected[i] = 1;
        DeleteFileW(PROXY_TMP_FILE);
        maker::Reset();
        maker::SetNextReply(maker::kRetrievePath, list);

        EXPECT_TRUE(DownloadProxyList(NULL));
        EXPECT_EQ(maker::LogLine("POST", maker::kRetrievePath, std::string("OperationType=4&Mac=") + m_pszMac + c.tail),
                  maker::Log());
        EXPECT_EQ(list, ReadFileBytes(m_dir.File(PROXY_TMP_FILE)));
    }
}

TEST_F(MakerServerTest, ServerListIsKeptByteForByte)
{
    // The server's own list for elite proxies of every country.
    CSettings& settings = GetSettings();
    settings.GetAnonymous()->m_bElite = true;
    settings.GetAnonymous()->m_bAnonymous = false;
    settings.GetCountry()->m_bAllCountries = true;
    ASSERT_TRUE(DownloadProxyList(NULL));
    EXPECT_EQ(
        "127.0.0.1\t18201\t234\t1\t0\t3600000\r\n127.0.0.1\t18202\t59\t1\t0\t3600000\r\n"
        "127.0.0.2\t1\t234\t1\t0\t3600000\r\n127.0.0.4\t9\t79\t1\t0\t3600000\r\n",
        ReadFileBytes(m_dir.File(PROXY_TMP_FILE)));
}

TEST_F(MakerServerTest, ReplyEndsAtItsFirstNulByte)
{
    maker::SetNextReply(maker::kStartPath, std::string("PWStartab\0cdPWEnd", 17));
    CStringA strReply;
    EXPECT_TRUE(HttpPost(GetServerUrl(SERVER_START_PATH), "x=1", strReply));
    EXPECT_EQ("PWStartab", Str(strReply));
}

TEST_F(MakerServerTest, FailedOrEmptyTransferKeepsTheReplyString)
{
    CStringA strReply = "kept";
    maker::SetMode("close", maker::kStartPath);
    EXPECT_FALSE(HttpPost(GetServerUrl(SERVER_START_PATH), "x=1", strReply));
    EXPECT_EQ("kept", Str(strReply));
    maker::SetMode("empty", maker::kStartPath);
    EXPECT_TRUE(HttpPost(GetServerUrl(SERVER_START_PATH), "x=1", strReply));
    EXPECT_EQ("kept", Str(strReply));
    // Bytes of every value arrive as they are.
    maker::SetMode("bad-reply", maker::kStartPath);
    EXPECT_TRUE(HttpPost(GetServerUrl(SERVER_START_PATH), "x=1", strReply));
    EXPECT_EQ(std::string("\x89PNG\xFF\xFE\x01\x02\x7F\x80\xC3\x28\r\n\x1B[31m\xEF\xBB\xBF\x89PNG"),
              Str(strReply).substr(0, 26));
}

TEST_F(MakerServerTest, TestDefinitionIsAnEmptyPost)
{
    CStringA strReply;
    FetchTestDefinition(strReply);
    EXPECT_EQ("http://127.0.0.1:18188/test.htm|TessalyOK|", Str(strReply));
    EXPECT_EQ(maker::LogLine("POST", maker::kTestUrlPath, ""), maker::Log());
}

TEST_F(MakerServerTest, TestSectionDefaultsFromTheServer)
{
    auto pad = [](std::string s, size_t n) {
        s.resize(n, ' ');
        return s;
    };
    struct Case
    {
        const char* name;
        const char* mode;  // canned behaviour, or NULL for the reply below
        std::string reply;
        const char* url;    // NULL: kept
        const char* value;  // NULL: kept
    } cases[] = {
        { "the server's own definition", "normal", "", "http://127.0.0.1:18188/test.htm", "TessalyOK" },
        { "7 bytes", NULL, "a|bcde|", DEFAULT_TEST_URL, DEFAULT_TEST_VALUE },
        { "8 bytes, two bars", NULL, "ab|cdef|", "ab", "cdef" },
        { "8 bytes, one bar", NULL, "abc|defg", "abc", NULL },
        { "8 bytes, no bar", NULL, "abcdefgh", NULL, NULL },
        { "49 bytes, two bars", NULL, pad("http://127.0.0.1:18188/test.htm|TessalyOK|", 49),
          "http://127.0.0.1:18188/test.htm", "TessalyOK" },
        { "50 bytes, two bars", NULL, pad("http://127.0.0.1:18188/test.htm|TessalyOK|", 50), DEFAULT_TEST_URL,
          DEFAULT_TEST_VALUE },
        { "server gone", "close", "", DEFAULT_TEST_URL, DEFAULT_TEST_VALUE },
    };
    PFN_FETCH_TEST_DEFINITION pfnSaved = g_pfnFetchTestDefinition;
    g_pfnFetchTestDefinition = FetchTestDefinition;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.mode != NULL)
            maker::SetMode(c.mode, maker::kTestUrlPath);
        else
            maker::SetNextReply(maker::kTestUrlPath, c.reply);
        CSettingTestItem test;
        strcpy(test.m_szURL, "http://kept/");
        strcpy(test.m_szCorrectValue, "kept");
        test.SetDefault();
        EXPECT_EQ(0, test.m_nTestType);
        EXPECT_EQ(10, test.m_nThreadCount);
        EXPECT_EQ(20, test.m_nTimeoutSeconds);
        EXPECT_STREQ(c.url ? c.url : "http://kept/", test.m_szURL);
        EXPECT_STREQ(c.value ? c.value : "kept", test.m_szCorrectValue);
    }
    g_pfnFetchTestDefinition = pfnSaved;
}

}  // namespace
