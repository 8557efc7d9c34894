// What the test fetches send to a proxy: both ask as a browser does; only
// the speed test carries the relay's credentials.
#include "tests/net/ProxyRunFixture.h"
#include "tests/net/RelayTestPeers.h"

#include "net/AvailabilityTest.h"
#include "net/SpeedTest.h"

using namespace proxyrun;

namespace {

class TestFetchHeadersTest : public ProxyRunTest
{};

const char kAgent[] = "User-Agent: Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 5.1)\r\n";

TEST_F(TestFetchHeadersTest, BothTestsAskAsABrowserAndOnlyTheSpeedTestAuthenticates)
{
    relaytest::CTestServer proxy;  // answers "ok" to every request
    ASSERT_TRUE(proxy.Ok());
    SetCorrectValue("ok");

    CProxyList list;
    Fill(list, { Proxy(proxy.Port()) });
    ASSERT_TRUE(TestProxyAvailability(list));
    ASSERT_TRUE(m_counter.PumpUntil([&] { return m_counter.m_nFinished == 1; }));
    EXPECT_EQ((std::vector<int>{ proxy.Port() }), Ports(list));
    std::vector<std::string> heads = proxy.Heads();
    ASSERT_EQ(1u, heads.size());
    EXPECT_EQ(0u, heads[0].find(std::string("GET ") + kTestUrl + " HTTP/1.")) << heads[0];
    EXPECT_NE(std::string::npos, heads[0].find(kAgent)) << heads[0];
    EXPECT_EQ(std::string::npos, heads[0].find("Proxy-Authorization")) << heads[0];

    ASSERT_TRUE(TestProxySpeed(list));
    ASSERT_TRUE(m_counter.PumpUntil([&] { return m_counter.m_nFinished == 2; }));
    heads = proxy.Heads();
    ASSERT_EQ(6u, heads.size());
    const std::string credentials = std::string(world::kProxyUser) + ":" + world::kProxyPassword;
    for (size_t i = 1; i < heads.size(); ++i) {
        EXPECT_NE(std::string::npos, heads[i].find(kAgent)) << heads[i];
        std::string value = relaytest::HeaderValue(heads[i], "Proxy-Authorization");
        std::string decoded;
        ASSERT_EQ(0u, value.find("Basic ")) << heads[i];
        ASSERT_TRUE(relaytest::DecodeBase64Strict(value.substr(6), decoded)) << value;
        EXPECT_EQ(credentials, decoded);
    }
}

}  // namespace
