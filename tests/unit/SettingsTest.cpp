// Tests of the settings store and setting.crv.
#include "proxy/Settings.h"

#include "ProxyTestDir.h"

#include <gtest/gtest.h>

#include <string.h>

#include <functional>
#include <string>
#include <vector>

namespace {
typedef std::vector<std::string> Lines;

const int kCountries = 3;

// A file in which every section holds values other than its defaults.
Lines FileLines()
{
    return {
        "Anonymous_Type:",
        "Elite\t0",
        "Anonymous\t1",
        "Transparent\t1",
        "Country:",
        "AllCountries\t0",
        "0",
        "1",
        "0",
        "EndOfCountry",
        "Test:",
        "Test Type\t1",
        "Test Thread Count\t7",
        "Test Timeout Second\t9",
        "Correct Value\tneedle",
        "URL\thttp://127.0.0.1:9/page",
        "Switch:",
        "Firefox\t1",
        "Ratio\t50",
        "Interval\t9",
        "Misc:",
        "ProxyUser\talice",
        "ReplacebyGet\t0",
        "ReplacebyImport\t0",
        "AD\tDDNEENFFNGGNHHNII",  // 00:11:22:33:44:55, each code raised by 20
    };
}

std::string Join(const Lines& lines)
{
    std::string s;
    for (const std::string& line : lines)
        s += line + "\r\n";
    return s;
}

int Find(const Lines& lines, const std::string& prefix)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].compare(0, prefix.size(), prefix) == 0)
            return (int)i;
    }
    ADD_FAILURE() << "no line " << prefix;
    return 0;
}

void Erase(Lines& lines, const std::string& from, int nCount)
{
    const int i = Find(lines, from);
    lines.erase(lines.begin() + i, lines.begin() + i + nCount);
}

void Replace(Lines& lines, const std::string& prefix, const std::string& line)
{
    lines[Find(lines, prefix)] = line;
}

// 'F' when a section holds the values of FileLines, 'D' when it holds its
// defaults, '?' otherwise.
std::string Classify(const CSettings& s)
{
    std::string result;
    const CSettingAnonymousItem* a = s.GetAnonymous();
    result += (!a->m_bElite && a->m_bAnonymous && a->m_bTransparent)   ? 'F'
              : (a->m_bElite && a->m_bAnonymous && !a->m_bTransparent) ? 'D'
                                                                       : '?';
    const CSettingCountryItem* c = s.GetCountry();
    const bool bSelection010 =
        c->m_nCount == 3 && c->m_pSelected[0] == 0 && c->m_pSelected[1] == 1 && c->m_pSelected[2] == 0;
    const bool bNone = c->m_nCount == 3 && c->m_pSelected[0] == 0 && c->m_pSelected[1] == 0 && c->m_pSelected[2] == 0;
    result += (!c->m_bAllCountries && bSelection010) ? 'F' : (c->m_bAllCountries && bNone) ? 'D' : '?';
    const CSettingTestItem* t = s.GetTest();
    result += (t->m_nTestType == 1 && t->m_nThreadCount == 7 && t->m_nTimeoutSeconds == 9 &&
               strcmp(t->m_szCorrectValue, "needle") == 0 && strcmp(t->m_szURL, "http://127.0.0.1:9/page") == 0)
                  ? 'F'
              : (t->m_nTestType == 0 && t->m_nThreadCount == 10 && t->m_nTimeoutSeconds == 20 &&
                 strcmp(t->m_szCorrectValue, DEFAULT_TEST_VALUE) == 0 && strcmp(t->m_szURL, DEFAULT_TEST_URL) == 0)
                  ? 'D'
                  : '?';
    const CSettingSwitchItem* w = s.GetSwitch();
    result += (w->m_bFirefox && w->m_nRatio == 50 && w->m_nInterval == 9)     ? 'F'
              : (!w->m_bFirefox && w->m_nRatio == 100 && w->m_nInterval == 5) ? 'D'
                                                                              : '?';
    const CSettingMiscItem* m = s.GetMisc();
    result += (strcmp(m->m_szProxyUser, "alice") == 0 && !m->m_bReplaceByGet && !m->m_bReplaceByImport &&
               strcmp(m->m_szMac, "00:11:22:33:44:55") == 0)
                  ? 'F'
              : (strcmp(m->m_szProxyUser, DEFAULT_PROXY_USER) == 0 && m->m_bReplaceByGet && m->m_bReplaceByImport &&
                 m->m_szMac[0] == '\0')
                  ? 'D'
                  : '?';
    return result;
}

class SettingsTest : public testing::Test
{
protected:
    std::wstring Write(const std::string& strBytes)
    {
        CProxyTestDir::WriteBytes(m_strPath, strBytes);
        return m_strPath;
    }

    void Load(const std::string& strBytes)
    {
        EXPECT_TRUE(LoadSettingsFile(m_settings, Write(strBytes).c_str(), kCountries));
        ASSERT_TRUE(m_settings.m_bLoaded);
        for (int i = 0; i < SETTING_SECTION_COUNT; ++i)
            ASSERT_NE(nullptr, m_settings.m_pItems[i]);
    }

    CProxyTestDir m_dir;
    std::wstring m_strPath = m_dir.File(L"setting.crv");
    CSettings m_settings;
};
}  // namespace

TEST_F(SettingsTest, NewObjectIsEmptyAndNotLoaded)
{
    CSettings settings;
    EXPECT_FALSE(settings.m_bLoaded);
    for (int i = 0; i < SETTING_SECTION_COUNT; ++i)
        EXPECT_EQ(nullptr, settings.m_pItems[i]);
    EXPECT_EQ(&GetSettings(), &GetSettings());
}

TEST_F(SettingsTest, MissingFileGivesDefaults)
{
    EXPECT_FALSE(SettingsFileExists(m_strPath.c_str()));
    EXPECT_TRUE(LoadSettingsFile(m_settings, m_strPath.c_str(), kCountries));
    EXPECT_TRUE(m_settings.m_bLoaded);
    EXPECT_EQ("DDDDD", Classify(m_settings));

    CSettings defaults;
    SetDefaultSettings(defaults, kCountries);
    EXPECT_TRUE(defaults.m_bLoaded);
    EXPECT_EQ("DDDDD", Classify(defaults));
    EXPECT_FALSE(SettingsFileExists(m_strPath.c_str()));  // defaults are not saved
}

TEST_F(SettingsTest, DefaultFileHasTwentyFiveLines)
{
    SetDefaultSettings(m_settings, kCountries);
    ASSERT_TRUE(SaveSettingsFile(m_settings, m_strPath.c_str()));
    EXPECT_TRUE(SettingsFileExists(m_strPath.c_str()));
    const Lines expected = {
        "Anonymous_Type:",
        "Elite\t1",
        "Anonymous\t1",
        "Transparent\t0",
        "Country:",
        "AllCountries\t1",
        "0",
        "0",
        "0",
        "EndOfCountry",
        "Test:",
        "Test Type\t0",
        "Test Thread Count\t10",
        "Test Timeout Second\t20",
        std::string("Correct Value\t") + DEFAULT_TEST_VALUE,
        std::string("URL\t") + DEFAULT_TEST_URL,
        "Switch:",
        "Firefox\t0",
        "Ratio\t100",
        "Interval\t5",
        "Misc:",
        std::string("ProxyUser\t") + DEFAULT_PROXY_USER,
        "ReplacebyGet\t1",
        "ReplacebyImport\t1",
        "AD\t",
    };
    EXPECT_EQ(Join(expected), CProxyTestDir::ReadBytes(m_strPath));
}

TEST_F(SettingsTest, WrittenAndLoadedGiveTheSameValues)
{
    Load(Join(FileLines()));
    EXPECT_EQ("FFFFF", Classify(m_settings));
    std::wstring strCopy = m_dir.File(L"copy.crv");
    ASSERT_TRUE(SaveSettingsFile(m_settings, strCopy.c_str()));
    EXPECT_EQ(Join(FileLines()), CProxyTestDir::ReadBytes(strCopy));  // the same bytes

    CSettings back;
    ASSERT_TRUE(LoadSettingsFile(back, strCopy.c_str(), kCountries));
    EXPECT_EQ("FFFFF", Classify(back));

    // And values set in memory survive the trip too.
    back.GetTest()->m_nTestType = 2;
    back.GetTest()->SetCorrectValue("other text");
    back.GetSwitch()->m_nRatio = 20;
    back.GetSwitch()->m_nInterval = 100;
    back.GetCountry()->m_pSelected[2] = 1;
    back.GetMisc()->SetMac("AA:BB:CC:DD:EE:FF");
    ASSERT_TRUE(SaveSettingsFile(back, strCopy.c_str()));
    CSettings again;
    ASSERT_TRUE(LoadSettingsFile(again, strCopy.c_str(), kCountries));
    EXPECT_EQ(2, again.GetTest()->m_nTestType);
    EXPECT_STREQ("other text", again.GetTest()->m_szCorrectValue);
    EXPECT_EQ(20, again.GetSwitch()->m_nRatio);
    EXPECT_EQ(100, again.GetSwitch()->m_nInterval);
    EXPECT_EQ(1, again.GetCountry()->m_pSelected[2]);
    EXPECT_STREQ("AA:BB:CC:DD:EE:FF", again.GetMisc()->m_szMac);
}

// Each case edits the file; the result tells which sections kept the file's
// values (F) and which took their defaults (D); '?' cases check more.
TEST_F(SettingsTest, DamagedFiles)
{
    struct Case
    {
        const char* name;
        std::function<void(Lines&)> edit;
        const char* expected;
        std::function<void(const CSettings&)> check;
    } cases[] = {
        { "whole file", [](Lines&) {}, "FFFFF", nullptr },
        { "only the anonymity section", [](Lines& l) { l.resize(4); }, "FDDDD", nullptr },
        { "all three flags 0",
          [](Lines& l) {
              Replace(l, "Anonymous\t", "Anonymous\t0");
              Replace(l, "Transparent", "Transparent\t0");
          },
          "DFFFF", nullptr },
        { "flags 00 and empty read as true",
          [](Lines& l) {
              Replace(l, "Elite", "Elite\t00");
              Replace(l, "Anonymous\t", "Anonymous\t");
          },
          "?FFFF",
          [](const CSettings& s) {
              EXPECT_TRUE(s.GetAnonymous()->m_bElite);
              EXPECT_TRUE(s.GetAnonymous()->m_bAnonymous);
              EXPECT_TRUE(s.GetAnonymous()->m_bTransparent);
          } },
        { "anonymity cut short", [](Lines& l) { Erase(l, "Anonymous\t", 2); }, "DFFFF", nullptr },
        { "anonymity section with no lines", [](Lines& l) { Erase(l, "Elite", 3); }, "DFFFF", nullptr },
        { "one country line too few", [](Lines& l) { Erase(l, "1", 1); }, "FDDDD", nullptr },
        { "one country line too many", [](Lines& l) { l.insert(l.begin() + Find(l, "EndOfCountry"), "1"); }, "FDDDD",
          nullptr },
        { "country line of two fields", [](Lines& l) { Replace(l, "1", "1\t1"); }, "FDDDD", nullptr },
        { "country cut after AllCountries", [](Lines& l) { Erase(l, "0", 4); }, "FDDDD", nullptr },
        { "thread count 31", [](Lines& l) { Replace(l, "Test Thread", "Test Thread Count\t31"); }, "FFDDD", nullptr },
        { "thread count 4", [](Lines& l) { Replace(l, "Test Thread", "Test Thread Count\t4"); }, "FFDDD", nullptr },
        { "timeout 31", [](Lines& l) { Replace(l, "Test Timeout", "Test Timeout Second\t31"); }, "FFDDD", nullptr },
        { "timeout not a number", [](Lines& l) { Replace(l, "Test Timeout", "Test Timeout Second\tx"); }, "FFDDD",
          nullptr },
        { "test type 5 reads as 2", [](Lines& l) { Replace(l, "Test Type", "Test Type\t5"); }, "FF?FF",
          [](const CSettings& s) { EXPECT_EQ(2, s.GetTest()->m_nTestType); } },
        { "test section without its texts", [](Lines& l) { Erase(l, "Correct Value", 2); }, "FFDFF", nullptr },
        { "test texts replaced by another key",
          [](Lines& l) {
              Erase(l, "Correct Value", 1);
              Replace(l, "URL", "Other\tkey");
          },
          "FF?DD",
          [](const CSettings& s) {
              EXPECT_EQ(7, s.GetTest()->m_nThreadCount);
              EXPECT_STREQ("", s.GetTest()->m_szURL);
              EXPECT_STREQ("", s.GetTest()->m_szCorrectValue);
          } },
        { "test section ends with the file", [](Lines& l) { l.resize(Find(l, "Test Thread")); }, "FFDDD", nullptr },
        { "URL missing after the expected text", [](Lines& l) { Erase(l, "URL", 1); }, "FFDFF", nullptr },
        { "ratio 19", [](Lines& l) { Replace(l, "Ratio", "Ratio\t19"); }, "FFFDD", nullptr },
        { "ratio 101", [](Lines& l) { Replace(l, "Ratio", "Ratio\t101"); }, "FFFDD", nullptr },
        { "interval 3", [](Lines& l) { Replace(l, "Interval", "Interval\t3"); }, "FFFDF", nullptr },
        { "interval 101", [](Lines& l) { Replace(l, "Interval", "Interval\t101"); }, "FFFDF", nullptr },
        { "key line of three fields", [](Lines& l) { Replace(l, "Ratio", "Ratio\t50\t1"); }, "FFFDD", nullptr },
        { "wrong key", [](Lines& l) { Replace(l, "Ratio", "Ratios\t50"); }, "FFFDD", nullptr },
        { "key in other case", [](Lines& l) { Replace(l, "Ratio", "ratio\t50"); }, "FFFDD", nullptr },
        { "switch cut after Firefox", [](Lines& l) { Erase(l, "Ratio", 2); }, "FFFDF", nullptr },
        { "misc cut short at the end", [](Lines& l) { l.resize(Find(l, "ReplacebyGet")); }, "FFFFD", nullptr },
        { "misc without AD", [](Lines& l) { l.pop_back(); }, "FFFF?",
          [](const CSettings& s) {
              EXPECT_STREQ("", s.GetMisc()->m_szMac);
              EXPECT_STREQ("alice", s.GetMisc()->m_szProxyUser);
              EXPECT_FALSE(s.GetMisc()->m_bReplaceByGet);
          } },
        { "misc first and without AD, then a header",
          [](Lines& l) {
              Lines misc(l.end() - 5, l.end() - 1);
              l.resize(l.size() - 5);
              l.insert(l.begin(), misc.begin(), misc.end());
          },
          "FFFF?", [](const CSettings& s) { EXPECT_STREQ("", s.GetMisc()->m_szMac); } },
        { "sections in another order",
          [](Lines& l) {
              Lines a(l.begin(), l.begin() + 4);
              l.erase(l.begin(), l.begin() + 4);
              l.insert(l.end(), a.begin(), a.end());
          },
          "FFFFF", nullptr },
        { "AD too long keeps no address", [](Lines& l) { Replace(l, "AD", "AD\tDDNEENFFNGGNHHNIIN"); }, "FFFF?",
          [](const CSettings& s) { EXPECT_STREQ("", s.GetMisc()->m_szMac); } },
        { "AD below the shift keeps no address",
          [](Lines& l) {
              Replace(l, "AD",
                      "AD\tDD\x14"
                      "D");
          },
          "FFFF?", [](const CSettings& s) { EXPECT_STREQ("", s.GetMisc()->m_szMac); } },
        { "proxy user of 100 characters is not kept",
          [](Lines& l) { Replace(l, "ProxyUser", "ProxyUser\t" + std::string(100, 'u')); }, "FFFF?",
          [](const CSettings& s) {
              EXPECT_STREQ("", s.GetMisc()->m_szProxyUser);
              EXPECT_STREQ("00:11:22:33:44:55", s.GetMisc()->m_szMac);
          } },
        { "proxy user of 99 characters is kept",
          [](Lines& l) { Replace(l, "ProxyUser", "ProxyUser\t" + std::string(99, 'u')); }, "FFFF?",
          [](const CSettings& s) { EXPECT_EQ(std::string(99, 'u'), s.GetMisc()->m_szProxyUser); } },
        { "header followed by a TAB", [](Lines& l) { Replace(l, "Test:", "Test:\tx"); }, "FFDDD", nullptr },
        { "unknown section", [](Lines& l) { l.insert(l.begin() + Find(l, "Switch:"), "Proxy:"); }, "FFFDD", nullptr },
        { "unknown line first", [](Lines& l) { l.insert(l.begin(), "hello"); }, "DDDDD", nullptr },
        { "empty line between sections", [](Lines& l) { l.insert(l.begin() + Find(l, "Switch:"), ""); }, "FFFDD",
          nullptr },
        { "same section twice, the later wins",
          [](Lines& l) {
              l.insert(l.end(), { "Switch:", "Firefox\t0", "Ratio\t70", "Interval\t11" });
          },
          "FFF?F",
          [](const CSettings& s) {
              EXPECT_FALSE(s.GetSwitch()->m_bFirefox);
              EXPECT_EQ(70, s.GetSwitch()->m_nRatio);
              EXPECT_EQ(11, s.GetSwitch()->m_nInterval);
          } },
        { "a broken repeat falls back to defaults",
          [](Lines& l) {
              l.insert(l.end(), { "Switch:", "Firefox\t0", "Ratio\t7" });
          },
          "FFFDF", nullptr },
        { "empty file", [](Lines& l) { l.clear(); }, "DDDDD", nullptr },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Lines lines = FileLines();
        c.edit(lines);
        Load(Join(lines));
        EXPECT_EQ(c.expected, Classify(m_settings));
        if (c.check)
            c.check(m_settings);
    }
}

TEST_F(SettingsTest, LineEndsOfEitherKind)
{
    std::string strFile = Join(FileLines());
    std::string strLf;
    for (char ch : strFile)
        if (ch != '\r')
            strLf += ch;
    Load(strLf);
    EXPECT_EQ("FFFFF", Classify(m_settings));
    // A file without its final line end.
    Load(strFile.substr(0, strFile.size() - 2));
    EXPECT_EQ("FFFFF", Classify(m_settings));
}

TEST_F(SettingsTest, CountryCountOtherThanTheTable)
{
    const std::string strFile = Join(FileLines());
    for (int nCount : { 0, 2, 4, 250 }) {
        SCOPED_TRACE(nCount);
        ASSERT_TRUE(LoadSettingsFile(m_settings, Write(strFile).c_str(), nCount));
        EXPECT_TRUE(m_settings.GetAnonymous()->m_bTransparent);  // read from the file
        EXPECT_TRUE(m_settings.GetCountry()->m_bAllCountries);   // the rest: defaults
        EXPECT_EQ(nCount, m_settings.GetCountry()->m_nCount);
        EXPECT_EQ(10, m_settings.GetTest()->m_nThreadCount);
        EXPECT_EQ(100, m_settings.GetSwitch()->m_nRatio);
        EXPECT_TRUE(m_settings.GetMisc()->m_bReplaceByGet);
    }
    // No countries at all: the section is the flag and its end line.
    SetDefaultSettings(m_settings, 0);
    EXPECT_EQ(nullptr, m_settings.GetCountry()->m_pSelected);
    ASSERT_TRUE(SaveSettingsFile(m_settings, m_strPath.c_str()));
    EXPECT_NE(std::string::npos,
              CProxyTestDir::ReadBytes(m_strPath).find("Country:\r\nAllCountries\t1\r\nEndOfCountry\r\nTest:"));
    ASSERT_TRUE(LoadSettingsFile(m_settings, m_strPath.c_str(), 0));
    EXPECT_EQ(10, m_settings.GetTest()->m_nThreadCount);
}

TEST_F(SettingsTest, AdapterAddressIsStoredShifted)
{
    SetDefaultSettings(m_settings, kCountries);
    m_settings.GetMisc()->SetMac("0");
    ASSERT_TRUE(SaveSettingsFile(m_settings, m_strPath.c_str()));
    EXPECT_NE(std::string::npos, CProxyTestDir::ReadBytes(m_strPath).find("\r\nAD\tD\r\n"));
    CSettings back;
    ASSERT_TRUE(LoadSettingsFile(back, m_strPath.c_str(), kCountries));
    EXPECT_STREQ("0", back.GetMisc()->m_szMac);
}

TEST_F(SettingsTest, SettersKeepTheirLimits)
{
    CSettingTestItem test;
    test.SetCorrectValue(std::string(255, 'c').c_str());
    EXPECT_EQ(255u, strlen(test.m_szCorrectValue));
    test.SetCorrectValue(std::string(256, 'd').c_str());
    EXPECT_EQ(std::string(255, 'c'), test.m_szCorrectValue);
    test.SetCorrectValue(nullptr);
    EXPECT_EQ(255u, strlen(test.m_szCorrectValue));

    CSettingMiscItem misc;
    misc.SetMac("00:11:22:33:44:55");
    EXPECT_STREQ("00:11:22:33:44:55", misc.m_szMac);
    misc.SetMac("00:11:22:33:44:556");
    EXPECT_STREQ("00:11:22:33:44:55", misc.m_szMac);
    misc.SetMac(nullptr);
    EXPECT_STREQ("00:11:22:33:44:55", misc.m_szMac);
}

TEST_F(SettingsTest, TestDefinitionReply)
{
    struct Case
    {
        std::string reply;
        const char* url;
        const char* value;
    } cases[] = {
        { "http://a.b/|word|", "http://a.b/", "word" },
        { "http://a.b/|word|" + std::string(33, ' '), DEFAULT_TEST_URL, DEFAULT_TEST_VALUE },  // 50 bytes
        { "http://a.b/|word|" + std::string(32, ' '), "http://a.b/", "word" },                 // 49 bytes
        { "http://a.b/|word", "http://a.b/", "" },         // one '|': the text keeps its value
        { "http://a.b/word", "", "" },                     // none: both keep their values
        { "a|b|", DEFAULT_TEST_URL, DEFAULT_TEST_VALUE },  // 4 bytes
        { "", DEFAULT_TEST_URL, DEFAULT_TEST_VALUE },
    };
    for (const Case& c : cases) {
        CSettingTestItem test;
        test.ApplyTestDefinition(c.reply.data(), c.reply.size());
        EXPECT_STREQ(c.url, test.m_szURL) << c.reply;
        EXPECT_STREQ(c.value, test.m_szCorrectValue) << c.reply;
    }
}

TEST_F(SettingsTest, LongTextsDoNotDisturbOtherLines)
{
    Load(Join(FileLines()));
    memset(m_settings.GetTest()->m_szURL, 'u', 255);
    m_settings.GetTest()->m_szURL[255] = '\0';
    memset(m_settings.GetTest()->m_szCorrectValue, 'v', 255);
    m_settings.GetTest()->m_szCorrectValue[255] = '\0';
    ASSERT_TRUE(SaveSettingsFile(m_settings, m_strPath.c_str()));

    CSettings back;
    ASSERT_TRUE(LoadSettingsFile(back, m_strPath.c_str(), kCountries));
    // The texts keep what fits their lines; every other value comes back.
    EXPECT_EQ(std::string(250, 'u'), back.GetTest()->m_szURL);
    EXPECT_EQ(std::string(240, 'v'), back.GetTest()->m_szCorrectValue);
    strcpy(back.GetTest()->m_szURL, "http://127.0.0.1:9/page");
    strcpy(back.GetTest()->m_szCorrectValue, "needle");
    EXPECT_EQ("FFFFF", Classify(back));
}

TEST_F(SettingsTest, TextsWithoutAOneByteFormStillGiveAWholeFile)
{
    Load(Join(FileLines()));
    strcpy(m_settings.GetMisc()->m_szProxyUser, "\x80\x81z");
    ASSERT_TRUE(SaveSettingsFile(m_settings, m_strPath.c_str()));
    CSettings back;
    ASSERT_TRUE(LoadSettingsFile(back, m_strPath.c_str(), kCountries));
    EXPECT_EQ(3u, strlen(back.GetMisc()->m_szProxyUser));
    strcpy(back.GetMisc()->m_szProxyUser, "alice");
    EXPECT_EQ("FFFFF", Classify(back));
}

TEST_F(SettingsTest, ControlCharactersInTextsAreWrittenAsSpaces)
{
    struct Case
    {
        const char* name;
        const char* text;
        const char* back;
    } cases[] = {
        { "tab", "http://a/\tb", "http://a/ b" },
        { "line feed", "http://a/\nb", "http://a/ b" },
        { "carriage return and line feed", "a\r\nb", "a  b" },
        { "end of a text file",
          "a\x1a"
          "b",
          "a b" },
        { "other controls", "\x01x\x1f\x7f", " x  " },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Load(Join(FileLines()));
        strcpy(m_settings.GetTest()->m_szURL, c.text);
        strcpy(m_settings.GetTest()->m_szCorrectValue, c.text);
        strcpy(m_settings.GetMisc()->m_szProxyUser, c.text);
        ASSERT_TRUE(SaveSettingsFile(m_settings, m_strPath.c_str()));
        std::string bytes = CProxyTestDir::ReadBytes(m_strPath);
        for (char ch : bytes)
            EXPECT_TRUE(ch == '\t' || ch == '\r' || ch == '\n' || (unsigned char)ch >= 0x20) << (int)ch;
        // The file reads back whole: every section keeps its values.
        CSettings back;
        ASSERT_TRUE(LoadSettingsFile(back, m_strPath.c_str(), kCountries));
        EXPECT_STREQ(c.back, back.GetTest()->m_szURL);
        EXPECT_STREQ(c.back, back.GetTest()->m_szCorrectValue);
        EXPECT_STREQ(c.back, back.GetMisc()->m_szProxyUser);
        strcpy(back.GetTest()->m_szURL, "http://127.0.0.1:9/page");
        strcpy(back.GetTest()->m_szCorrectValue, "needle");
        strcpy(back.GetMisc()->m_szProxyUser, "alice");
        EXPECT_EQ("FFFFF", Classify(back));
    }
}

TEST_F(SettingsTest, SaveFailsWhenTheFileCannotBeCreated)
{
    SetDefaultSettings(m_settings, kCountries);
    EXPECT_FALSE(SaveSettingsFile(m_settings, m_dir.File(L"no-such-dir\\setting.crv").c_str()));
}
