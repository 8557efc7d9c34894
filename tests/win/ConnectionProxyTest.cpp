// The connection's proxy setting read back through WinINet after Hide IP and
// after Restore IP.
#include "app/CorvaneMessages.h"
#include "net/ConnectionProxy.h"
#include "tests/support/RecordingWindow.h"
#include "tests/support/ScopedOverride.h"

#include <gtest/gtest.h>
#include <wininet.h>

#include <memory>
#include <ostream>
#include <string>

namespace {

struct CConnectionSetting
{
    DWORD flags = 0;
    std::wstring server;
    std::wstring bypass;
};

bool CurrentConnection(std::wstring& name, bool& lan)
{
    DWORD flags = 0;
    WCHAR szName[256] = {};
    if (!InternetGetConnectedStateExW(&flags, szName, 255, 0))
        return false;
    lan = (flags & INTERNET_CONNECTION_LAN) != 0;
    name = szName;
    return true;
}

bool QuerySetting(CConnectionSetting& setting)
{
    std::wstring name;
    bool lan = false;
    if (!CurrentConnection(name, lan))
        return false;
    INTERNET_PER_CONN_OPTIONW options[3] = {};
    options[0].dwOption = INTERNET_PER_CONN_FLAGS;
    options[1].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
    options[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
    INTERNET_PER_CONN_OPTION_LISTW list = {};
    list.dwSize = sizeof(list);
    list.pszConnection = lan ? NULL : const_cast<LPWSTR>(name.c_str());
    list.dwOptionCount = 3;
    list.pOptions = options;
    DWORD size = sizeof(list);
    if (!InternetQueryOptionW(NULL, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, &size))
        return false;
    setting.flags = options[0].Value.dwValue;
    setting.server = options[1].Value.pszValue ? options[1].Value.pszValue : L"";
    setting.bypass = options[2].Value.pszValue ? options[2].Value.pszValue : L"";
    GlobalFree(options[1].Value.pszValue);
    GlobalFree(options[2].Value.pszValue);
    return true;
}

void WriteSetting(const CConnectionSetting& setting)
{
    std::wstring name;
    bool lan = false;
    if (!CurrentConnection(name, lan))
        return;
    INTERNET_PER_CONN_OPTIONW options[3] = {};
    options[0].dwOption = INTERNET_PER_CONN_FLAGS;
    options[0].Value.dwValue = setting.flags;
    options[1].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
    options[1].Value.pszValue = const_cast<LPWSTR>(setting.server.c_str());
    options[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
    options[2].Value.pszValue = const_cast<LPWSTR>(setting.bypass.c_str());
    INTERNET_PER_CONN_OPTION_LISTW list = {};
    list.dwSize = sizeof(list);
    list.pszConnection = lan ? NULL : const_cast<LPWSTR>(name.c_str());
    list.dwOptionCount = 3;
    list.pOptions = options;
    InternetSetOptionW(NULL, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, sizeof(list));
}

class ConnectionProxyTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::wstring name;
        bool lan = false;
        if (!CurrentConnection(name, lan))
            GTEST_SKIP() << "no connection known to WinINet";
        ASSERT_TRUE(QuerySetting(m_saved));
        m_main.reset(new CRecordingWindow);
        m_mainWnd.reset(new CScopedOverride<HWND>(g_hMainWnd, m_main->m_hWnd));
    }
    void TearDown() override
    {
        if (!m_main)
            return;
        m_mainWnd.reset();
        m_main.reset();
        WriteSetting(m_saved);
    }
    bool RestoredPosted() { return m_main->Take(WM_REAL_IP_RESTORED); }

    CConnectionSetting m_saved;
    std::unique_ptr<CRecordingWindow> m_main;
    std::unique_ptr<CScopedOverride<HWND>> m_mainWnd;
};

// Wine keeps less of the setting than Windows: only the http entry of the
// server value, no bypass list, and the flags as proxy or direct.
bool ServerIs(const std::wstring& server, const wchar_t* full, const wchar_t* httpOnly)
{
    return server == full || server == httpOnly;
}

bool BypassIsLocal(const std::wstring& bypass)
{
    return bypass == L"local" || bypass.empty();
}

}  // namespace

TEST_F(ConnectionProxyTest, HideSetsTheEndpointAndRestoreGoesDirect)
{
    struct Case
    {
        CProxy endpoint;
        const wchar_t* server;
        const wchar_t* httpOnly;
    };
    const Case cases[] = {
        { g_localRelayProxy, L"http=127.0.0.1:3188;https=127.0.0.1:3188", L"127.0.0.1:3188" },
        { CProxy("10.20.30.40", 8080, -1, 0, 0, 0), L"http=10.20.30.40:8080;https=10.20.30.40:8080",
          L"10.20.30.40:8080" },
    };
    for (const Case& c : cases) {
        CHideState state;
        ASSERT_TRUE(SetBrowserProxy(state, c.endpoint));
        EXPECT_EQ(1, state.m_bHidden);
        CConnectionSetting hidden;
        ASSERT_TRUE(QuerySetting(hidden));
        EXPECT_NE(0u, hidden.flags & PROXY_TYPE_PROXY) << hidden.flags;
        EXPECT_TRUE(ServerIs(hidden.server, c.server, c.httpOnly)) << hidden.server;
        EXPECT_TRUE(BypassIsLocal(hidden.bypass)) << hidden.bypass;
        EXPECT_FALSE(RestoredPosted());

        ASSERT_TRUE(RestoreDirectConnection(state));
        EXPECT_EQ(0, state.m_bHidden);
        EXPECT_TRUE(RestoredPosted());
        CConnectionSetting direct;
        ASSERT_TRUE(QuerySetting(direct));
        EXPECT_EQ(static_cast<DWORD>(PROXY_TYPE_DIRECT), direct.flags);
        // Only the flags change: the server and bypass values stay.
        EXPECT_TRUE(ServerIs(direct.server, c.server, c.httpOnly)) << direct.server;
        EXPECT_TRUE(BypassIsLocal(direct.bypass)) << direct.bypass;
    }
}

// What the platform keeps of a connection setting: read back through the
// per-connection options, and the values it leaves in the registry.
struct CStoredSetting
{
    CConnectionSetting queried;
    DWORD enable = 0;
    std::wstring server;
    std::wstring override_;

    bool operator==(const CStoredSetting& o) const
    {
        return queried.flags == o.queried.flags && queried.server == o.queried.server &&
               queried.bypass == o.queried.bypass && enable == o.enable && server == o.server &&
               override_ == o.override_;
    }
};

std::ostream& operator<<(std::ostream& os, const CStoredSetting& s)
{
    return os << "flags " << s.queried.flags << " server \"" << CStringA(s.queried.server.c_str()).GetString()
              << "\" bypass \"" << CStringA(s.queried.bypass.c_str()).GetString() << "\" | registry enable " << s.enable
              << " server \"" << CStringA(s.server.c_str()).GetString() << "\" override \""
              << CStringA(s.override_.c_str()).GetString() << "\"";
}

std::wstring RegistryText(HKEY key, const wchar_t* name)
{
    wchar_t text[512] = L"";
    DWORD size = sizeof(text) - sizeof(wchar_t);
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS)
        return L"(none)";
    return text;
}

CStoredSetting Stored()
{
    CStoredSetting s;
    EXPECT_TRUE(QuerySetting(s.queried));
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings", 0,
                      KEY_READ, &key) == ERROR_SUCCESS) {
        DWORD size = sizeof(s.enable);
        RegQueryValueExW(key, L"ProxyEnable", nullptr, nullptr, reinterpret_cast<BYTE*>(&s.enable), &size);
        s.server = RegistryText(key, L"ProxyServer");
        s.override_ = RegistryText(key, L"ProxyOverride");
        RegCloseKey(key);
    }
    return s;
}

// Only the flags, as a restore writes them.
void WriteFlags(DWORD flags)
{
    std::wstring name;
    bool lan = false;
    if (!CurrentConnection(name, lan))
        return;
    INTERNET_PER_CONN_OPTIONW option = {};
    option.dwOption = INTERNET_PER_CONN_FLAGS;
    option.Value.dwValue = flags;
    INTERNET_PER_CONN_OPTION_LISTW list = {};
    list.dwSize = sizeof(list);
    list.pszConnection = lan ? NULL : const_cast<LPWSTR>(name.c_str());
    list.dwOptionCount = 1;
    list.pOptions = &option;
    InternetSetOptionW(NULL, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, sizeof(list));
}

TEST_F(ConnectionProxyTest, HideAndRestoreStoreExactlyTheDocumentedOptions)
{
    // The exact option lists: flags PROXY_TYPE_DIRECT | PROXY_TYPE_PROXY, the
    // server for http and https, the bypass "local"; then the flags
    // PROXY_TYPE_DIRECT alone. Each is written by hand from the same starting
    // point, and whatever this platform keeps of it, read back through
    // WinINet and from the registry, must equal what Hide IP and Restore IP
    // leave behind.
    const CConnectionSetting start = { PROXY_TYPE_DIRECT, L"start:1", L"start-bypass" };
    struct Case
    {
        CProxy endpoint;
        const wchar_t* server;
    };
    const Case cases[] = {
        { g_localRelayProxy, L"http=127.0.0.1:3188;https=127.0.0.1:3188" },
        { CProxy("10.20.30.40", 8080, -1, 0, 0, 0), L"http=10.20.30.40:8080;https=10.20.30.40:8080" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CStringA(c.server).GetString());
        WriteSetting(start);
        WriteSetting({ static_cast<DWORD>(PROXY_TYPE_DIRECT | PROXY_TYPE_PROXY), c.server, L"local" });
        const CStoredSetting hidden = Stored();
        WriteFlags(PROXY_TYPE_DIRECT);
        const CStoredSetting restored = Stored();
        // This platform keeps the server text whole in one place at least,
        // so a wrong one cannot pass.
        EXPECT_TRUE(hidden.queried.server == c.server || hidden.server == c.server) << hidden;
        EXPECT_NE(0u, hidden.enable);
        EXPECT_EQ(0u, restored.enable);

        WriteSetting(start);
        CHideState state;
        ASSERT_TRUE(SetBrowserProxy(state, c.endpoint));
        EXPECT_EQ(hidden, Stored());
        ASSERT_TRUE(RestoreDirectConnection(state));
        EXPECT_EQ(restored, Stored());
    }
}

TEST_F(ConnectionProxyTest, RestoreWhileNotHiddenChangesNothingAndPostsNothing)
{
    CHideState state;
    ASSERT_TRUE(SetBrowserProxy(state, g_localRelayProxy));
    state.m_bHidden = 0;  // as after a hide that failed offline
    EXPECT_FALSE(RestoreDirectConnection(state));
    EXPECT_FALSE(RestoredPosted());
    CConnectionSetting setting;
    ASSERT_TRUE(QuerySetting(setting));
    EXPECT_NE(0u, setting.flags & PROXY_TYPE_PROXY) << setting.flags;
}
