// Generated and mutated files fed to the three readers of the program's
// data files: none may crash, and what they keep must follow their rules.
#include "proxy/CountryTable.h"
#include "proxy/ProxyFile.h"
#include "proxy/Settings.h"

#include "ProxyTestDir.h"

#include <gtest/gtest.h>

#include <string.h>

#include <random>
#include <string>

namespace {
class FileGenerator
{
public:
    explicit FileGenerator(unsigned nSeed) : m_random(nSeed) {}

    int Pick(int nCount) { return std::uniform_int_distribution<int>(0, nCount - 1)(m_random); }

    std::string Number()
    {
        static const char* const kSpecial[] = { "0",       "-1", "3", "4",          "80",           "+8080",
                                                " 7",      "x",  "",  "2147483648", "-99999999999", "65535",
                                                "3600000", "00" };
        if (Pick(3) == 0)
            return kSpecial[Pick(sizeof(kSpecial) / sizeof(kSpecial[0]))];
        return std::to_string(Pick(100000) - 100);
    }

    std::string Address()
    {
        switch (Pick(6)) {
        case 0: return std::string(Pick(20), '1');
        case 1: return "";
        case 2: return std::string(1, (char)(0x80 + Pick(128))) + ".1.1.1";
        default:
            return std::to_string(Pick(4)) + "." + std::to_string(Pick(3)) + "." + std::to_string(Pick(3)) + "." +
                   std::to_string(Pick(256));
        }
    }

    std::string Separator()
    {
        static const char* const kLineEnds[] = { "\r\n", "\n", "\r\n", "\r", "\r\n\r\n" };
        return Pick(8) == 0 ? kLineEnds[Pick(5)] : "\t";
    }

    std::string ProxyLine()
    {
        std::string line = Address();
        const int nFields = Pick(10) == 0 ? Pick(14) : 5;
        for (int i = 0; i < nFields; ++i)
            line += "\t" + Number();
        return line + (Pick(10) == 0 ? "\n" : "\r\n");
    }

    std::string ProxyFile()
    {
        std::string file;
        for (int n = Pick(30); n > 0; --n)
            file += ProxyLine();
        return file;
    }

    std::string CountryFile()
    {
        std::string file;
        for (int n = Pick(30); n > 0; --n) {
            file += std::string(1, (char)('A' + Pick(26))) + (char)('A' + Pick(26));
            if (Pick(8) == 0)
                file += "X";
            file += "\t" + std::string(Pick(8) == 0 ? 60 + Pick(10) : 1 + Pick(20), 'n') + "\r\n";
        }
        return file;
    }

    std::string SettingsFile(int nCountries)
    {
        static const char* const kHeaders[] = { "Anonymous_Type:", "Country:", "Test:", "Switch:", "Misc:" };
        static const char* const kKeys[] = { "Elite",
                                             "Anonymous",
                                             "Transparent",
                                             "AllCountries",
                                             "Test Type",
                                             "Test Thread Count",
                                             "Test Timeout Second",
                                             "Correct Value",
                                             "URL",
                                             "Firefox",
                                             "Ratio",
                                             "Interval",
                                             "ProxyUser",
                                             "ReplacebyGet",
                                             "ReplacebyImport",
                                             "AD" };
        std::string file;
        for (int nSection = Pick(8); nSection > 0; --nSection) {
            const int nHeader = Pick(5);
            file += std::string(kHeaders[nHeader]) + "\r\n";
            if (nHeader == 1 && Pick(2) == 0) {
                file += "AllCountries\t" + Number() + "\r\n";
                for (int i = nCountries + Pick(3) - 1; i > 0; --i)
                    file += Number() + "\r\n";
                file += "EndOfCountry\r\n";
                continue;
            }
            for (int n = Pick(6); n > 0; --n) {
                std::string value = Pick(4) == 0 ? std::string(Pick(300), (char)(0x15 + Pick(0xE0))) : Number();
                file += std::string(kKeys[Pick(16)]) + "\t" + value + "\r\n";
            }
        }
        return file;
    }

    // Flips, inserts, deletes and repeats bytes of a well-formed file.
    std::string Mutate(std::string file)
    {
        for (int n = 1 + Pick(6); n > 0; --n) {
            const size_t nAt = file.empty() ? 0 : (size_t)Pick((int)file.size());
            switch (Pick(5)) {
            case 0:
                if (!file.empty())
                    file[nAt] = (char)Pick(256);
                break;
            case 1: file.insert(nAt, 1, "\t\r\n\0 9-"[Pick(7)]); break;
            case 2: file.erase(nAt, Pick(8)); break;
            case 3: file.insert(nAt, file.substr(nAt, Pick(400))); break;
            default: file.insert(nAt, std::string(Pick(600), (char)Pick(256))); break;
            }
        }
        return file;
    }

    std::string RandomBytes()
    {
        std::string file(Pick(700), '\0');
        for (char& ch : file)
            ch = Pick(3) == 0 ? "\t\r\n"[Pick(3)] : (char)Pick(256);
        return file;
    }

    std::string Any(std::string (FileGenerator::*pfnWellFormed)())
    {
        switch (Pick(4)) {
        case 0: return RandomBytes();
        case 1: return (this->*pfnWellFormed)();
        default: return Mutate((this->*pfnWellFormed)());
        }
    }

private:
    std::mt19937 m_random;
};

void CheckProxyList(const CProxyList& list, size_t nFileSize)
{
    ASSERT_LE((size_t)list.GetCount(), nFileSize / 7 + 1);
    POSITION pos = list.GetHeadPosition();
    while (pos != NULL) {
        const CProxy& proxy = list.GetNext(pos);
        ASSERT_LT(strnlen(proxy.m_szIP, sizeof(proxy.m_szIP)), sizeof(proxy.m_szIP));
        ASSERT_NE(0, proxy.m_nPort);
        ASSERT_LE(proxy.m_nType, 3);
        POSITION later = pos;
        while (later != NULL)
            ASSERT_FALSE(list.GetNext(later) == proxy) << "duplicate " << proxy.m_szIP << ":" << proxy.m_nPort;
    }
}

void CheckSettings(const CSettings& settings, int nCountries)
{
    ASSERT_TRUE(settings.m_bLoaded);
    for (int i = 0; i < SETTING_SECTION_COUNT; ++i)
        ASSERT_NE(nullptr, settings.m_pItems[i]);
    const CSettingTestItem* pTest = settings.GetTest();
    ASSERT_TRUE(pTest->m_nTestType >= 0 && pTest->m_nTestType <= 2);
    ASSERT_TRUE(pTest->m_nThreadCount >= 5 && pTest->m_nThreadCount <= 30);
    ASSERT_TRUE(pTest->m_nTimeoutSeconds >= 5 && pTest->m_nTimeoutSeconds <= 30);
    ASSERT_LT(strnlen(pTest->m_szURL, sizeof(pTest->m_szURL)), sizeof(pTest->m_szURL));
    ASSERT_LT(strnlen(pTest->m_szCorrectValue, sizeof(pTest->m_szCorrectValue)), sizeof(pTest->m_szCorrectValue));
    const CSettingSwitchItem* pSwitch = settings.GetSwitch();
    ASSERT_TRUE(pSwitch->m_nRatio >= 20 && pSwitch->m_nRatio <= 100);
    ASSERT_TRUE(pSwitch->m_nInterval >= 4 && pSwitch->m_nInterval <= 100);
    const CSettingMiscItem* pMisc = settings.GetMisc();
    ASSERT_LT(strnlen(pMisc->m_szProxyUser, sizeof(pMisc->m_szProxyUser)), sizeof(pMisc->m_szProxyUser));
    ASSERT_LT(strnlen(pMisc->m_szMac, sizeof(pMisc->m_szMac)), sizeof(pMisc->m_szMac));
    const CSettingCountryItem* pCountry = settings.GetCountry();
    ASSERT_EQ(nCountries, pCountry->m_nCount);
    for (int i = 0; i < pCountry->m_nCount; ++i)
        ASSERT_LE(pCountry->m_pSelected[i], 1);
}
}  // namespace

TEST(DataFilesFuzzTest, ProxyFiles)
{
    FileGenerator gen(20261210);
    CProxyTestDir dir;
    const std::wstring strPath = dir.File(L"proxy.tmp");
    CProxyList list(10);
    for (int i = 0; i < 1200; ++i) {
        const std::string strFile = gen.Any(&FileGenerator::ProxyFile);
        CProxyTestDir::WriteBytes(strPath, strFile);
        const BOOL bReplace = gen.Pick(4) != 0;
        const size_t nBefore = bReplace ? 0 : (size_t)list.GetCount();
        ASSERT_TRUE(ReadProxyFile(list, strPath.c_str(), bReplace)) << i;
        CheckProxyList(list, strFile.size() + nBefore * 7);
        if (HasFatalFailure())
            return;
        if (list.GetCount() > 200)
            list.RemoveAll();
    }
}

TEST(DataFilesFuzzTest, CountryFiles)
{
    FileGenerator gen(424242);
    CProxyTestDir dir;
    const std::wstring strPath = dir.File(L"countries.crv");
    for (int i = 0; i < 1200; ++i) {
        const std::string strFile = gen.Any(&FileGenerator::CountryFile);
        CProxyTestDir::WriteBytes(strPath, strFile);
        CCountryTable table;
        table.Load(strPath.c_str());
        ASSERT_LE((size_t)table.GetCount(), strFile.size() / 2 + 1) << i;
        for (int n = 0; n < table.GetCount(); ++n) {
            const CCountry* p = table.GetAt(n);
            ASSERT_LE(wcsnlen(p->m_szCode, COUNTRY_CODE_SIZE), 2u) << i;
            ASSERT_LE(wcsnlen(p->m_szName, COUNTRY_NAME_SIZE), 63u) << i;
        }
        ASSERT_EQ(NULL, table.GetAt(table.GetCount()));
    }
}

TEST(DataFilesFuzzTest, SettingsFiles)
{
    FileGenerator gen(1123);
    CProxyTestDir dir;
    const std::wstring strPath = dir.File(L"setting.crv");
    const std::wstring strCopy = dir.File(L"copy.crv");
    CSettings settings;
    for (int i = 0; i < 1200; ++i) {
        const int nCountries = gen.Pick(6);
        std::string strFile;
        switch (gen.Pick(4)) {
        case 0: strFile = gen.RandomBytes(); break;
        case 1: strFile = gen.SettingsFile(nCountries); break;
        default: strFile = gen.Mutate(gen.SettingsFile(nCountries)); break;
        }
        CProxyTestDir::WriteBytes(strPath, strFile);
        ASSERT_TRUE(LoadSettingsFile(settings, strPath.c_str(), nCountries)) << i;
        CheckSettings(settings, nCountries);
        if (HasFatalFailure())
            return;
        // Whatever was read can be written whole and read back.
        if (i % 10 == 0) {
            ASSERT_TRUE(SaveSettingsFile(settings, strCopy.c_str())) << i;
            CSettings back;
            ASSERT_TRUE(LoadSettingsFile(back, strCopy.c_str(), nCountries)) << i;
            CheckSettings(back, nCountries);
        }
    }
}
