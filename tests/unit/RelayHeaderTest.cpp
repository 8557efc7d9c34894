// Tests of the proxy authorization header the relay inserts.
#include "net/ProxyAuthorization.h"
#include "net/RelayServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string.h>
#include <string>
#include <thread>
#include <vector>

namespace {

const char kLine[] = "Proxy-Authorization: Basic YWI6Yw==\r\n";
const size_t kLineLength = sizeof(kLine) - 1;

// Runs the insertion on a block in a relay-sized buffer.
std::string Insert(const std::string& block)
{
    std::vector<char> buffer(RELAY_BUFFER_SIZE);
    memcpy(buffer.data(), block.data(), block.size());
    DWORD n = InsertProxyAuthorization(buffer.data(), static_cast<DWORD>(block.size()), RELAY_BUFFER_SIZE, kLine,
                                       kLineLength);
    return std::string(buffer.data(), n);
}

}  // namespace

TEST(RelayHeaderTest, HeaderBecomesTheSecondLineOfEachMethod)
{
    const char* methods[] = { "OPTIONS", "GET", "HEAD", "POST", "PUT", "DELETE", "TRACE", "CONNECT" };
    for (const char* method : methods) {
        std::string block = std::string(method) + " http://h/ HTTP/1.1\r\nHost: h\r\n\r\n";
        std::string expected = std::string(method) + " http://h/ HTTP/1.1\r\n" + kLine + "Host: h\r\n\r\n";
        EXPECT_EQ(expected, Insert(block)) << method;
    }
}

TEST(RelayHeaderTest, BlocksThatAreNotRequestsPassUnchanged)
{
    const std::string unchanged[] = {
        "get http://h/ HTTP/1.1\r\n\r\n",  // methods are case-sensitive
        "HTTP/1.1 200 OK\r\n\r\nGET",      // not at the start
        "\x16\x03\x01 tunnelled bytes\r\n",
        "GET http://h/ HTTP/1.1",  // no line break
        "",
    };
    for (const std::string& block : unchanged)
        EXPECT_EQ(block, Insert(block));
}

TEST(RelayHeaderTest, MethodIsAPlainPrefixAndOnlyTheFirstRequestOfABlockGetsIt)
{
    EXPECT_EQ(std::string("GETX / HTTP/1.1\r\n") + kLine + "\r\n", Insert("GETX / HTTP/1.1\r\n\r\n"));
    std::string two = "GET /1 HTTP/1.1\r\n\r\nGET /2 HTTP/1.1\r\n\r\n";
    EXPECT_EQ(std::string("GET /1 HTTP/1.1\r\n") + kLine + "\r\nGET /2 HTTP/1.1\r\n\r\n", Insert(two));
}

TEST(RelayHeaderTest, BlockTooLongForTheHeaderPassesUnchanged)
{
    for (size_t length : { RELAY_BUFFER_SIZE - kLineLength - 1, RELAY_BUFFER_SIZE - kLineLength,
                           static_cast<size_t>(RELAY_BUFFER_SIZE) }) {
        std::string block = "POST / HTTP/1.1\r\n";
        block.resize(length, 'x');
        std::string out = Insert(block);
        if (length + kLineLength < RELAY_BUFFER_SIZE) {
            EXPECT_EQ(length + kLineLength, out.size());
            EXPECT_EQ(0, out.compare(17, kLineLength, kLine));
        } else {
            EXPECT_EQ(block, out) << length;
        }
    }
}

TEST(RelayHeaderTest, AuthRequiredIsFoundAnywhereInBinaryData)
{
    std::string reply = "HTTP/1.0 407 Proxy Authentication Required\r\n\r\n";
    EXPECT_TRUE(ContainsProxyAuthRequired(reply.data(), static_cast<DWORD>(reply.size())));
    std::string binary(100, '\0');
    binary += "407 Proxy Authentication Required";
    EXPECT_TRUE(ContainsProxyAuthRequired(binary.data(), static_cast<DWORD>(binary.size())));
    EXPECT_FALSE(ContainsProxyAuthRequired(binary.data(), static_cast<DWORD>(binary.size() - 1)));
    std::string other = "HTTP/1.0 407 Proxy Authentication Needed\r\n";
    EXPECT_FALSE(ContainsProxyAuthRequired(other.data(), static_cast<DWORD>(other.size())));
}

TEST(RelayHeaderTest, CredentialsAreRefusedWholeWhenTooLong)
{
    CRelayServer server;
    ASSERT_TRUE(server.SetCredentials("ab", "c"));
    char line[PROXY_AUTHORIZATION_LINE_BUFFER];
    EXPECT_EQ(kLineLength, server.FormatAuthorizationLine(line, sizeof(line)));
    EXPECT_STREQ(kLine, line);

    std::string user(99, 'u');
    EXPECT_TRUE(server.SetCredentials(user.c_str(), std::string(49, 'p').c_str()));   // 149
    EXPECT_FALSE(server.SetCredentials(user.c_str(), std::string(50, 'p').c_str()));  // 150
    EXPECT_FALSE(server.SetCredentials(std::string(100, 'u').c_str(), ""));           // user field
    EXPECT_FALSE(server.SetCredentials(nullptr, "p"));
    EXPECT_FALSE(server.SetCredentials("u", nullptr));
    char szUser[RELAY_CREDENTIAL_SIZE];
    char szPassword[RELAY_CREDENTIAL_SIZE];
    server.GetCredentials(szUser, szPassword);
    EXPECT_EQ(user, szUser);
    EXPECT_EQ(std::string(49, 'p'), szPassword);
}

TEST(RelayHeaderTest, UpstreamHostThatDoesNotFitIsRefused)
{
    CRelayServer server;
    ASSERT_TRUE(server.SetUpstream("127.0.0.1", 18201));
    EXPECT_FALSE(server.SetUpstream(std::string(100, 'h').c_str(), 1));
    EXPECT_FALSE(server.SetUpstream(nullptr, 1));
    char host[RELAY_HOST_SIZE];
    int port = 0;
    server.GetUpstream(host, sizeof(host), port);
    EXPECT_STREQ("127.0.0.1", host);
    EXPECT_EQ(18201, port);
}

// The user-interface thread rewrites the endpoint while relay threads read
// it: every read must be one of the values written, never a mixture.
TEST(RelayHeaderTest, ReadersNeverSeeHalfWrittenValues)
{
    CRelayServer server;
    const std::string longHost(99, 'a');
    const std::string longUser(80, 'u'), longPassword(60, 'p');
    server.SetUpstream("1.2.3.4", 1);
    server.SetCredentials("x", "y");
    std::atomic<bool> stop(false);
    std::thread writer([&] {
        for (int i = 0; !stop; ++i) {
            if (i % 2) {
                server.SetUpstream(longHost.c_str(), 99);
                server.SetCredentials(longUser.c_str(), longPassword.c_str());
            } else {
                server.SetUpstream("1.2.3.4", 1);
                server.SetCredentials("x", "y");
            }
        }
    });
    int mixed = 0;
    for (int i = 0; i < 200000; ++i) {
        char host[RELAY_HOST_SIZE];
        int port = 0;
        server.GetUpstream(host, sizeof(host), port);
        if (!((port == 1 && strcmp(host, "1.2.3.4") == 0) || (port == 99 && longHost == host)))
            ++mixed;
        char user[RELAY_CREDENTIAL_SIZE], password[RELAY_CREDENTIAL_SIZE];
        server.GetCredentials(user, password);
        if (!((strcmp(user, "x") == 0 && strcmp(password, "y") == 0) || (longUser == user && longPassword == password)))
            ++mixed;
    }
    stop = true;
    writer.join();
    EXPECT_EQ(0, mixed);
}
