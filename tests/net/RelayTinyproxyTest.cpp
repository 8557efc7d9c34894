// Browser workloads through the relay to the world's tinyproxy upstreams:
// credentials of every length, a CONNECT tunnel and a large download.
#include "tests/net/RelayFixture.h"

#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>
#include <string>
#include <thread>

using namespace relaytest;

namespace {

const unsigned short kScriptedOrigin = 18210;

unsigned int Crc32(unsigned int crc, const unsigned char* p, size_t n)
{
    static unsigned int table[256];
    static bool ready = false;
    if (!ready) {
        for (unsigned int i = 0; i < 256; ++i) {
            unsigned int c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[i] = c;
        }
        ready = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < n; ++i)
        crc = table[(crc ^ p[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

// Byte n of the scripted origin's /bytes/ answer.
unsigned char BulkByte(size_t n)
{
    size_t j = n % 65521;
    return static_cast<unsigned char>((j * 31 + (j >> 8)) & 0xFF);
}

}  // namespace

TEST_F(RelayServerTest, CredentialsOfEveryLengthAuthenticateAtTinyproxy)
{
    CTestServer origin;
    ASSERT_TRUE(g_relayServer.SetUpstream(world::kHost, world::kCredentialProxyPort));
    const std::string userLetters = world::kCredentialUserLetters;
    const std::string passwordLetters = world::kCredentialPasswordLetters;
    for (int n = 1; n <= world::kCredentialLengths; ++n) {
        const std::pair<std::string, std::string> pairs[] = {
            { world::kProxyUser, passwordLetters.substr(0, n) },
            { userLetters.substr(0, n), "p" },
        };
        for (const auto& pair : pairs) {
            ASSERT_TRUE(g_relayServer.SetCredentials(pair.first.c_str(), pair.second.c_str()));
            Reply reply = Exchange(Get(origin.Port(), "/n" + std::to_string(n)), false);
            EXPECT_NE(std::string::npos, reply.data.find(" 200 "))
                << pair.first << ":" << pair.second << " -> " << reply.data.substr(0, 60);
            EXPECT_EQ("ok", BodyOf(reply.data));
        }
    }
    // Credentials it does not know are still turned away.
    ASSERT_TRUE(g_relayServer.SetCredentials(world::kProxyUser, "Tessaly0X"));
    Reply reply = Exchange(Get(origin.Port(), "/wrong"), false);
    EXPECT_NE(std::string::npos, reply.data.find(" 401 ")) << reply.data.substr(0, 60);
}

TEST_F(RelayServerTest, ConnectTunnelThroughTinyproxyCarriesBytesBothWays)
{
    CTestServer echo(CTestServer::ECHO);
    SOCKET s = Connect(m_port);
    ASSERT_NE(INVALID_SOCKET, s);
    std::string target = "127.0.0.1:" + std::to_string(echo.Port());
    ASSERT_TRUE(SendAll(s, "CONNECT " + target + " HTTP/1.1\r\nHost: " + target + "\r\n\r\n"));
    std::string established;
    while (established.find("\r\n\r\n") == std::string::npos) {
        char c;
        if (recv(s, &c, 1, 0) != 1)
            break;
        established.push_back(c);
    }
    ASSERT_NE(std::string::npos, established.find(" 200 ")) << established;

    // Arbitrary bytes, the first block beginning like a request. Without a
    // CR LF in them no block can take a header, wherever the blocks start.
    std::string payload;
    for (int i = 0; i < 3000000; ++i) {
        char c = static_cast<char>((i * 131) ^ (i >> 9));
        payload.push_back(c == '\r' ? '\n' : c);
    }
    payload.replace(0, 8, "CONNECT ");
    std::string received;
    std::thread reader([&] {
        char buffer[65536];
        while (received.size() < payload.size()) {
            int n = recv(s, buffer, sizeof(buffer), 0);
            if (n <= 0)
                break;
            received.append(buffer, static_cast<size_t>(n));
        }
    });
    EXPECT_TRUE(SendAll(s, payload.substr(0, 100)));
    Sleep(100);
    EXPECT_TRUE(SendAll(s, payload.substr(100)));
    reader.join();
    closesocket(s);
    EXPECT_EQ(payload.size(), received.size());
    EXPECT_TRUE(received == payload) << "tunnelled bytes differ";
}

TEST_F(RelayServerTest, HundredMegabyteDownloadThroughTinyproxyKeepsItsChecksum)
{
    const size_t kLength = 100u * 1024 * 1024;
    SOCKET s = Connect(m_port, 60000);
    ASSERT_NE(INVALID_SOCKET, s);
    ASSERT_TRUE(SendAll(s, Get(kScriptedOrigin, "/bytes/" + std::to_string(kLength))));

    std::string head;
    char buffer[65536];
    size_t body = 0;
    size_t wrong = 0;
    unsigned int crc = 0;
    for (;;) {
        int n = recv(s, buffer, sizeof(buffer), 0);
        if (n <= 0)
            break;
        const char* p = buffer;
        size_t left = static_cast<size_t>(n);
        if (head.find("\r\n\r\n") == std::string::npos) {
            head.append(buffer, left);
            size_t end = head.find("\r\n\r\n");
            if (end == std::string::npos)
                continue;
            size_t bodyBytes = head.size() - (end + 4);
            p = buffer + (left - bodyBytes);
            left = bodyBytes;
            head.resize(end + 4);
        }
        crc = Crc32(crc, reinterpret_cast<const unsigned char*>(p), left);
        for (size_t i = 0; i < left; ++i)
            wrong += static_cast<unsigned char>(p[i]) != BulkByte(body + i);
        body += left;
    }
    closesocket(s);
    ASSERT_NE(std::string::npos, head.find(" 200 ")) << head;
    EXPECT_EQ(kLength, body);
    EXPECT_EQ(0u, wrong);
    unsigned int announced =
        static_cast<unsigned int>(strtoul(HeaderValue("\r\n" + head, "X-Body-CRC32").c_str(), nullptr, 16));
    EXPECT_EQ(announced, crc);
}
