// Machine identity against Wine's own WMI and IP Helper: the adapter address
// and its place in setting.crv, and the real address.
#include "net/MachineIdentity.h"
#include "net/ServerRequest.h"
#include "proxy/Settings.h"

#include "tests/TestFiles.h"

#include <gtest/gtest.h>

#include <winsock2.h>

#include <ctype.h>
#include <string.h>

#include <string>
#include <vector>

namespace {

bool IsAdapterAddress(const CStringA& s)
{
    if (s.GetLength() != 17)
        return false;
    for (int i = 0; i < 17; ++i) {
        char c = s[i];
        if (i % 3 == 2 ? c != ':' : !isxdigit((unsigned char)c))
            return false;
    }
    return true;
}

class MachineIdentityTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GetCurrentDirectoryW(MAX_PATH, m_szOldDir);
        ASSERT_TRUE(SetCurrentDirectoryW(m_dir.Path().c_str()));
        SetDefaultSettings(m_settings, 20);
        ASSERT_NE(nullptr, m_settings.GetMisc());
        ASSERT_TRUE(QueryEthernetAddresses(m_addresses)) << "WMI could not be asked";
        ASSERT_FALSE(m_addresses.empty()) << "WMI lists no Ethernet adapter";
    }
    void TearDown() override { SetCurrentDirectoryW(m_szOldDir); }

    std::string StoredInFile()
    {
        CSettings back;
        if (!LoadSettingsFile(back, SETTINGS_FILE_NAME, 20))
            return "(no file)";
        return back.GetMisc()->m_szMac;
    }

    wchar_t m_szOldDir[MAX_PATH];
    CTempDir m_dir;
    CSettings m_settings;
    std::vector<CStringA> m_addresses;
};

TEST_F(MachineIdentityTest, WmiGivesEthernetAdapterAddresses)
{
    for (const CStringA& address : m_addresses)
        EXPECT_TRUE(IsAdapterAddress(address)) << address.GetString();
}

TEST_F(MachineIdentityTest, AddressIsFoundAndStored)
{
    char szMac[MAC_ADDRESS_SIZE] = "junk";
    ASSERT_TRUE(FindMacAddress(m_settings, szMac));
    EXPECT_EQ(std::string(m_addresses[0].GetString()), szMac);
    EXPECT_STREQ(szMac, m_settings.GetMisc()->m_szMac);
    EXPECT_EQ(std::string(szMac), StoredInFile());
}

TEST_F(MachineIdentityTest, StoredAddressNoLongerPresentIsReplaced)
{
    m_settings.GetMisc()->SetMac("00:00:5e:00:53:fe");
    ASSERT_TRUE(SaveSettings(m_settings));
    ASSERT_EQ("00:00:5e:00:53:fe", StoredInFile());

    char szMac[MAC_ADDRESS_SIZE];
    ASSERT_TRUE(FindMacAddress(m_settings, szMac));
    EXPECT_EQ(std::string(m_addresses[0].GetString()), szMac);
    EXPECT_EQ(std::string(szMac), StoredInFile());
}

TEST_F(MachineIdentityTest, StoredAddressStillPresentIsSentAndFileLeftAlone)
{
    // The last adapter, the second one on a machine with several.
    const CStringA& stored = m_addresses.back();
    m_settings.GetMisc()->SetMac(stored);
    // No file: any save would make one.
    DeleteFileW(SETTINGS_FILE_NAME);

    char szMac[MAC_ADDRESS_SIZE];
    ASSERT_TRUE(FindMacAddress(m_settings, szMac));
    EXPECT_STREQ(stored.GetString(), szMac);
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(SETTINGS_FILE_NAME));
}

TEST_F(MachineIdentityTest, CachedAddressIsOneOfTheAdapters)
{
    const char* pszMac = GetMacAddress();
    ASSERT_NE(nullptr, pszMac);
    bool bKnown = false;
    for (const CStringA& address : m_addresses)
        bKnown = bKnown || address == pszMac;
    EXPECT_TRUE(bKnown) << pszMac;
    EXPECT_EQ(pszMac, GetMacAddress());
}

TEST(AdapterChoiceTest, StoredFirstElseFirstCounted)
{
    const std::vector<CStringA> two = { "aa:aa:aa:aa:aa:01", "aa:aa:aa:aa:aa:02" };
    struct Case
    {
        const char* name;
        const char* stored;
        std::vector<CStringA> addresses;
        int chosen;
        bool met;
    } cases[] = {
        { "stored second one", "aa:aa:aa:aa:aa:02", two, 1, true },
        { "stored one removed", "aa:aa:aa:aa:aa:03", two, 0, false },
        { "nothing stored", "", two, 0, false },
        { "no stored value", NULL, two, 0, false },
        { "comparison is exact", "AA:AA:AA:AA:AA:02", two, 0, false },
        { "no adapter", "aa:aa:aa:aa:aa:01", {}, -1, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        bool met = !c.met;
        EXPECT_EQ(c.chosen, ChooseAdapterAddress(c.stored, c.addresses, met));
        EXPECT_EQ(c.met, met);
    }
}

// One adapter as WMI hands it over: AdapterTypeID and MACAddress values.
struct AdapterRow
{
    VARTYPE typeKind;  // VT_EMPTY: no value
    LONG typeId;
    const wchar_t* mac;  // NULL: no value
};

VARIANT TypeValue(const AdapterRow& row)
{
    VARIANT v;
    VariantInit(&v);
    V_VT(&v) = row.typeKind;
    if (row.typeKind == VT_I4)
        V_I4(&v) = row.typeId;
    else if (row.typeKind == VT_UI4)
        V_UI4(&v) = static_cast<ULONG>(row.typeId);
    else if (row.typeKind == VT_I2)
        V_I2(&v) = static_cast<SHORT>(row.typeId);
    else if (row.typeKind == VT_BSTR)
        V_BSTR(&v) = SysAllocString(L"0");
    return v;
}

VARIANT MacValue(const AdapterRow& row)
{
    VARIANT v;
    VariantInit(&v);
    if (row.mac != NULL) {
        V_VT(&v) = VT_BSTR;
        V_BSTR(&v) = SysAllocString(row.mac);
    }
    return v;
}

// The adapters that count, in table order.
std::vector<CStringA> EthernetAddresses(const std::vector<AdapterRow>& rows)
{
    std::vector<CStringA> out;
    for (const AdapterRow& row : rows) {
        VARIANT type = TypeValue(row);
        VARIANT mac = MacValue(row);
        CStringA address("junk");
        if (EthernetAdapterAddress(type, mac, address))
            out.push_back(address);
        VariantClear(&type);
        VariantClear(&mac);
    }
    return out;
}

// A machine of several adapters of which only the Ethernet ones count.
const std::vector<AdapterRow> kAdapters = {
    { VT_I4, 9, L"02:00:00:00:00:09" },     // wireless
    { VT_I4, 0, L"02:00:00:00:00:01" },     // Ethernet
    { VT_EMPTY, 0, L"02:00:00:00:00:0e" },  // no type
    { VT_I4, 0, NULL },                     // Ethernet without address
    { VT_BSTR, 0, L"02:00:00:00:00:0b" },   // type as text
    { VT_I2, 0, L"02:00:00:00:00:02" },     // type of another width
    { VT_UI4, 0, L"02:00:00:00:00:03" },    // unsigned Ethernet
    { VT_I4, 0, L"" },                      // empty address
    { VT_I4, 0, L"02:00:00:00:00:04:05" },  // too long for the cache
    { VT_I4, 0, L"02:00:00:00:00:05" },     // Ethernet
};

TEST(AdapterFilterTest, OnlyEthernetAdaptersWithAWholeAddressCount)
{
    EXPECT_EQ((std::vector<CStringA>{ "02:00:00:00:00:01", "02:00:00:00:00:03", "02:00:00:00:00:05" }),
              EthernetAddresses(kAdapters));
}

TEST(AdapterFilterTest, StoredAddressRuleOnAFixedTable)
{
    const std::vector<CStringA> adapters = EthernetAddresses(kAdapters);
    struct Case
    {
        const char* name;
        const char* stored;
        const char* sent;
        bool saved;  // the settings file is (re)written with the sent address
    } cases[] = {
        { "stored one is the last Ethernet adapter", "02:00:00:00:00:05", "02:00:00:00:00:05", false },
        { "stored one is a wireless adapter", "02:00:00:00:00:09", "02:00:00:00:00:01", true },
        { "stored one was removed", "02:00:00:00:00:77", "02:00:00:00:00:01", true },
        { "nothing stored", "", "02:00:00:00:00:01", true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTempDir dir;
        wchar_t szOld[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, szOld);
        ASSERT_TRUE(SetCurrentDirectoryW(dir.Path().c_str()));
        CSettings settings;
        SetDefaultSettings(settings, 20);
        settings.GetMisc()->SetMac(c.stored);
        char szMac[MAC_ADDRESS_SIZE] = "junk";
        EXPECT_TRUE(FindMacAddressAmong(settings, adapters, szMac));
        EXPECT_STREQ(c.sent, szMac);
        EXPECT_STREQ(c.sent, settings.GetMisc()->m_szMac);
        CSettings back;
        bool bFile = GetFileAttributesW(SETTINGS_FILE_NAME) != INVALID_FILE_ATTRIBUTES;
        EXPECT_EQ(c.saved, bFile);
        if (bFile) {
            ASSERT_TRUE(LoadSettingsFile(back, SETTINGS_FILE_NAME, 20));
            EXPECT_STREQ(c.sent, back.GetMisc()->m_szMac);
        }
        SetCurrentDirectoryW(szOld);
    }

    // No adapter that counts: nothing sent, nothing stored.
    CSettings settings;
    SetDefaultSettings(settings, 20);
    char szMac[MAC_ADDRESS_SIZE] = "junk";
    EXPECT_FALSE(FindMacAddressAmong(settings, EthernetAddresses({ kAdapters[0], kAdapters[2] }), szMac));
    EXPECT_STREQ("", szMac);
    EXPECT_STREQ("", settings.GetMisc()->m_szMac);
}

TEST(DialUpAddressTest, FirstPppOrSlipAdapter)
{
    IP_ADAPTER_INFO adapters[3] = {};
    adapters[0].Type = MIB_IF_TYPE_ETHERNET;
    strcpy(adapters[0].IpAddressList.IpAddress.String, "192.168.1.5");
    adapters[0].Next = &adapters[1];
    adapters[1].Type = MIB_IF_TYPE_SLIP;
    strcpy(adapters[1].IpAddressList.IpAddress.String, "10.64.0.5");
    adapters[1].Next = &adapters[2];
    adapters[2].Type = MIB_IF_TYPE_PPP;
    strcpy(adapters[2].IpAddressList.IpAddress.String, "10.64.0.6");

    char szAddress[REAL_IP_SIZE] = "";
    EXPECT_TRUE(FindDialUpAddress(adapters, szAddress));
    EXPECT_STREQ("10.64.0.5", szAddress);

    adapters[0].Next = NULL;
    szAddress[0] = '\0';
    EXPECT_FALSE(FindDialUpAddress(adapters, szAddress));
    EXPECT_STREQ("", szAddress);
    EXPECT_FALSE(FindDialUpAddress(NULL, szAddress));
}

TEST(RealAddressTest, HostNameGivesDottedAddress)
{
    char szAddress[REAL_IP_SIZE] = "junk";
    ResolveHostAddress(szAddress);
    EXPECT_NE(INADDR_NONE, inet_addr(szAddress)) << szAddress;
    EXPECT_NE(nullptr, strchr(szAddress, '.'));
    // The lookup itself needs Winsock: without it the name would not be found.
    EXPECT_STRNE("0.0.0.0", szAddress);
    // Winsock is left as it was found: not running here.
    EXPECT_EQ(INVALID_SOCKET, socket(AF_INET, SOCK_STREAM, 0));
    EXPECT_EQ(WSANOTINITIALISED, WSAGetLastError());
}

TEST(RealAddressTest, ServerGivenAddressWinsAndIsKept)
{
    strcpy(g_szRealIP, "203.0.113.9");
    const char* pszFirst = GetRealIPAddress();
    ASSERT_NE(nullptr, pszFirst);
    EXPECT_STREQ("203.0.113.9", pszFirst);
    // Computed once per run.
    strcpy(g_szRealIP, "198.51.100.1");
    EXPECT_STREQ("203.0.113.9", GetRealIPAddress());
    g_szRealIP[0] = '\0';
}

}  // namespace
