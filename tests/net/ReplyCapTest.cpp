// Replies past their cap: a test page through a proxy, a server reply and a
// harvested web page each fail that one transfer, as if nothing had arrived,
// and an endless body is cut off early instead of filling the process.
#include "tests/net/DirectConnection.h"
#include "tests/net/ProxyRunFixture.h"

#include "net/CurlBuffer.h"
#include "net/HttpPost.h"
#include "net/SpeedTest.h"
#include "net/WebSite.h"

#include <atomic>
#include <mutex>
#include <thread>

using namespace proxyrun;

namespace {

// Stands for a proxy, the maker's server or a web site: answers every
// request with status 200 and a body of the given length that begins with
// the test page's text (or with a proxy line), or, for a negative length,
// an endless body up to a hard stop. Counts the body bytes it got out.
class CStreamingPeer
{
public:
    CStreamingPeer(long long nLength, const std::string& strStart, unsigned short port = 0)
        : m_nLength(nLength), m_strStart(strStart)
    {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        BOOL bReuse = TRUE;
        setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, (const char*)&bReuse, sizeof(bReuse));
        sockaddr_in addr = {};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int nLen = sizeof(addr);
        if (bind(m_listener, (sockaddr*)&addr, sizeof(addr)) != 0 || listen(m_listener, 16) != 0 ||
            getsockname(m_listener, (sockaddr*)&addr, &nLen) != 0)
            return;
        m_port = ntohs(addr.sin_port);
        m_accept = std::thread([this] { AcceptLoop(); });
    }
    ~CStreamingPeer()
    {
        m_bStop = true;
        closesocket(m_listener);
        if (m_accept.joinable())
            m_accept.join();
        for (std::thread& t : m_threads)
            t.join();
        WSACleanup();
    }

    bool Ok() const { return m_port != 0; }
    unsigned short Port() const { return m_port; }
    long long BytesSent() const { return m_nSent.load(); }

    // Where an endless body stops at the latest, so a run without a cap ends.
    static const long long kHardStop = 256LL * 1024 * 1024;

private:
    void AcceptLoop()
    {
        for (;;) {
            SOCKET s = accept(m_listener, NULL, NULL);
            if (s == INVALID_SOCKET)
                return;
            std::lock_guard<std::mutex> lock(m_mutex);
            m_threads.emplace_back([this, s] { Serve(s); });
        }
    }

    void Serve(SOCKET s)
    {
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            int n = recv(s, buffer, sizeof(buffer), 0);
            if (n <= 0) {
                closesocket(s);
                return;
            }
            request.append(buffer, n);
        }
        std::string head = "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nConnection: close\r\n";
        if (m_nLength >= 0)
            head += "Content-Length: " + std::to_string(m_nLength) + "\r\n";
        head += "\r\n" + m_strStart;
        if (send(s, head.data(), (int)head.size(), 0) > 0) {
            m_nSent += (long long)m_strStart.size();
            const long long nBody = m_nLength >= 0 ? m_nLength : kHardStop;
            long long nLeft = nBody - (long long)m_strStart.size();
            std::string filler(16384, 'a');
            for (size_t i = 64; i < filler.size(); i += 64)
                filler[i] = '\n';
            while (nLeft > 0 && !m_bStop) {
                int nChunk = (int)std::min<long long>(nLeft, (long long)filler.size());
                int n = send(s, filler.data(), nChunk, 0);
                if (n <= 0)
                    break;
                m_nSent += n;
                nLeft -= n;
            }
        }
        shutdown(s, SD_SEND);
        DWORD timeout = 2000;
        setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, (const char*)&timeout, sizeof(timeout));
        while (recv(s, buffer, sizeof(buffer), 0) > 0) {}
        closesocket(s);
    }

    long long m_nLength;
    std::string m_strStart;
    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    std::atomic<bool> m_bStop{ false };
    std::atomic<long long> m_nSent{ 0 };
    std::thread m_accept;
    std::mutex m_mutex;
    std::vector<std::thread> m_threads;
};

const char kPageStart[] = "<html><body><p>The search engine is up today.</p>";

class ReplyCapRunTest : public ProxyRunTest
{};

}  // namespace

TEST_F(ReplyCapRunTest, TestPageOverItsCapFailsTheProxyInBothTests)
{
    struct Case
    {
        const char* name;
        long long length;
        bool passes;
    } cases[] = {
        { "just under the cap", (long long)TEST_PAGE_MAX_BYTES - 1024, true },
        { "exactly the cap", (long long)TEST_PAGE_MAX_BYTES, true },
        { "just over the cap", (long long)TEST_PAGE_MAX_BYTES + 1, false },
        { "far over the cap", 3LL * TEST_PAGE_MAX_BYTES, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CStreamingPeer peer(c.length, kPageStart);
        ASSERT_TRUE(peer.Ok());
        for (bool bSpeed : { true, false }) {
            SCOPED_TRACE(bSpeed ? "speed" : "availability");
            CProxyList list;
            Fill(list, { Proxy(peer.Port()) });
            ASSERT_TRUE(bSpeed ? TestProxySpeed(list) : TestProxyAvailability(list));
            EXPECT_EQ(c.passes ? 1 : 0, (int)list.GetCount());
        }
    }
}

TEST_F(ReplyCapRunTest, EndlessTestPageIsCutAtTheCapLongBeforeTheTimeOut)
{
    SetTimeoutSeconds(20);
    CStreamingPeer peer(-1, kPageStart);
    ASSERT_TRUE(peer.Ok());
    CProxyList list;
    Fill(list, { Proxy(peer.Port()) });
    DWORD dwStart = GetTickCount();
    ASSERT_TRUE(TestProxySpeed(list));
    DWORD dwTook = GetTickCount() - dwStart;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_LT(dwTook, 10000u) << "the fetches ran into the time-out";
    // Five fetches, each cut at the cap; the rest is what the sockets buffered.
    EXPECT_LT(peer.BytesSent(), 5LL * (TEST_PAGE_MAX_BYTES + 8LL * 1024 * 1024));
}

TEST(ServerReplyCapTest, ReplyOverItsCapIsNoReply)
{
    struct Case
    {
        const char* name;
        long long length;
        bool kept;
    } cases[] = {
        { "within the cap", 200000, true },
        { "over the cap", (long long)SERVER_REPLY_MAX_BYTES + 1, false },
        { "endless", -1, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CStreamingPeer peer(c.length, "1.2.3.4\t8080\t0\t1\t0\t0\r\n");
        ASSERT_TRUE(peer.Ok());
        CStringA strReply;
        bool bOk = HttpPost(CStringA(("http://127.0.0.1:" + std::to_string(peer.Port()) + "/x").c_str()), CStringA(""),
                            strReply);
        EXPECT_EQ(c.kept, bOk);
        EXPECT_EQ(c.kept ? c.length : 0, (long long)strReply.GetLength());
        EXPECT_LT(peer.BytesSent(), (long long)SERVER_REPLY_MAX_BYTES + 8LL * 1024 * 1024);
    }
}

TEST(WebPageCapTest, HarvestedPageOverItsCapGivesNoProxies)
{
    ASSERT_TRUE(UseDirectConnection());
    SetWebPageTimeout(5000);
    struct Case
    {
        const char* name;
        long long length;
        int found;
    } cases[] = {
        { "within the cap", 100000, 1 },
        { "endless", -1, 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CStreamingPeer peer(c.length, "<td>127.0.0.9:3128</td>\n", 80);
        ASSERT_TRUE(peer.Ok()) << "port 80 is taken";
        CWebSite site(L"127.0.0.1", L"/list.html");
        EXPECT_EQ(c.found, (int)site.GetProxies().GetCount());
        EXPECT_LT(peer.BytesSent(), (long long)WEBSITE_PAGE_MAX_BYTES + 8LL * 1024 * 1024);
    }
}
