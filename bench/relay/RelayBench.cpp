// What the relay costs a browser: the same workloads through the relay to the
// world's tinyproxy (18201, with Basic authentication), straight to that
// tinyproxy with the same header written by the client, and through a bare
// forwarder of the relay's own shape (the design limit on this platform).
// Each relay figure is printed next to both baselines and as a ratio of each.
// The relay runs twice: with every completion through the port, and with
// immediate completions carried on by the thread that started them.
//
// Workloads: bulk throughput of one download; requests per second at 1, 10
// and 100 concurrent clients (tinyproxy ends each connection after one
// answer, so every request is a new connection); and 1024 connections held
// open at once, every one answered, with the process memory they take.
// tinyproxy serves at most 200 clients, so the last workload goes to a
// holding server of the bench's own. "--quick" runs the same workloads
// smaller.
#include "bench/BenchFigure.h"
#include "bench/relay/BareForwarder.h"
#include "net/ProxyAuthorization.h"
#include "net/RelayServer.h"
#include "tests/net/RelayTestPeers.h"
#include "tests/world/World.h"

#include <psapi.h>
#include <stdio.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

using namespace relaytest;

namespace {

const unsigned short kTinyproxy = world::kProxyPorts[0];
size_t g_nBulkBytes = 64u * 1024 * 1024;
int g_nBulkRepeats = 3;
const int kClientCounts[] = { 1, 10, 100 };
DWORD g_dwRateMs = 3000;
const int kOpenConnections = 1024;
const char kHeldAnswer[] = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok";

double Now()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

SIZE_T PrivateBytes()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof(counters));
    // Wine leaves PrivateUsage 0 but fills PagefileUsage, which counts the same.
    return counters.PrivateUsage ? counters.PrivateUsage : counters.PagefileUsage;
}

SOCKET Listen(unsigned short& port)
{
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == SOCKET_ERROR ||
        listen(s, SOMAXCONN) == SOCKET_ERROR) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    int length = sizeof(address);
    getsockname(s, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return s;
}

// The origin behind tinyproxy: "/bytes/N" gives N bytes, anything else "ok";
// one answer per connection, one short-lived thread per connection.
class COrigin
{
public:
    COrigin() : m_block(1 << 20)
    {
        for (size_t i = 0; i < m_block.size(); ++i)
            m_block[i] = static_cast<char>(i * 31 + (i >> 8));
        m_listener = Listen(m_port);
        std::thread([this] {
            for (;;) {
                SOCKET s = accept(m_listener, nullptr, nullptr);
                if (s == INVALID_SOCKET)
                    return;
                std::thread([this, s] { Serve(s); }).detach();
            }
        }).detach();
    }
    unsigned short Port() const { return m_port; }

private:
    void Serve(SOCKET s)
    {
        std::string head;
        char buffer[4096];
        while (head.find("\r\n\r\n") == std::string::npos) {
            int n = recv(s, buffer, sizeof(buffer), 0);
            if (n <= 0) {
                closesocket(s);
                return;
            }
            head.append(buffer, static_cast<size_t>(n));
        }
        size_t length = 2;
        size_t at = head.find("/bytes/");
        if (at != std::string::npos && at < head.find("\r\n"))
            length = strtoul(head.c_str() + at + 7, nullptr, 10);
        std::string answer =
            "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(length) + "\r\nConnection: close\r\n\r\n";
        if (at == std::string::npos)
            answer += "ok";
        bool ok = SendAll(s, answer);
        for (size_t sent = 0; ok && at != std::string::npos && sent < length;) {
            int chunk = static_cast<int>(std::min(length - sent, m_block.size()));
            int n = send(s, m_block.data(), chunk, 0);
            ok = n > 0;
            sent += n > 0 ? static_cast<size_t>(n) : 0;
        }
        shutdown(s, SD_SEND);
        closesocket(s);
    }

    std::vector<char> m_block;
    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
};

// Answers the request of every connection and keeps it open.
class CHolder
{
public:
    CHolder()
    {
        m_listener = Listen(m_port);
        std::thread([this] {
            for (;;) {
                SOCKET s = accept(m_listener, nullptr, nullptr);
                if (s == INVALID_SOCKET)
                    return;
                SetReceiveTimeout(s, 10000);
                std::string head;
                char buffer[4096];
                while (head.find("\r\n\r\n") == std::string::npos) {
                    int n = recv(s, buffer, sizeof(buffer), 0);
                    if (n <= 0)
                        break;
                    head.append(buffer, static_cast<size_t>(n));
                }
                SendAll(s, kHeldAnswer);
                std::lock_guard<std::mutex> lock(m_mutex);
                m_held.push_back(s);
            }
        }).detach();
    }
    unsigned short Port() const { return m_port; }
    size_t Held()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_held.size();
    }
    void CloseAll()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (SOCKET s : m_held)
            closesocket(s);
        m_held.clear();
    }

private:
    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    std::mutex m_mutex;
    std::vector<SOCKET> m_held;
};

// Where a client connects and what it sends: through the relay the request
// goes without the header (the relay adds it); straight to tinyproxy the
// client writes the same header line itself.
struct CPath
{
    const char* name;
    unsigned short port;
    std::string authorization;  // header line with CR LF, or empty

    std::string Request(unsigned short originPort, const std::string& path) const
    {
        std::string host = "127.0.0.1:" + std::to_string(originPort);
        return "GET http://" + host + path + " HTTP/1.1\r\n" + authorization + "Host: " + host + "\r\n\r\n";
    }
};

// Best time of a whole download, in MB/s; 0 when it came short.
double Bulk(const CPath& path, unsigned short originPort)
{
    double best = 0;
    for (int r = 0; r < g_nBulkRepeats; ++r) {
        SOCKET s = Connect(path.port, 60000);
        if (s == INVALID_SOCKET)
            return 0;
        double start = Now();
        SendAll(s, path.Request(originPort, "/bytes/" + std::to_string(g_nBulkBytes)));
        size_t total = 0;
        char buffer[65536];
        for (;;) {
            int n = recv(s, buffer, sizeof(buffer), 0);
            if (n <= 0)
                break;
            total += static_cast<size_t>(n);
        }
        double ms = Now() - start;
        closesocket(s);
        if (total < g_nBulkBytes)
            return 0;
        double rate = static_cast<double>(g_nBulkBytes) / (1024.0 * 1024.0) / (ms / 1000.0);
        if (rate > best)
            best = rate;
    }
    return best;
}

// Answered requests per second with nClients clients in a loop.
double Rate(const CPath& path, unsigned short originPort, int nClients)
{
    std::atomic<int> answered(0);
    std::atomic<bool> stop(false);
    std::vector<std::thread> clients;
    std::string request = path.Request(originPort, "/ok");
    double start = Now();
    for (int i = 0; i < nClients; ++i) {
        clients.emplace_back([&] {
            while (!stop) {
                SOCKET s = Connect(path.port, 10000);
                if (s == INVALID_SOCKET)
                    continue;
                if (SendAll(s, request) && BodyOf(Receive(s).data) == "ok")
                    ++answered;
                closesocket(s);
            }
        });
    }
    Sleep(g_dwRateMs);
    stop = true;
    for (std::thread& t : clients)
        t.join();
    return answered.load() * 1000.0 / (Now() - start);
}

struct COpenResult
{
    int opened = 0;
    int answered = 0;
    double ms = 0;
    double bytesPerConnection = 0;
};

// kOpenConnections clients that each send one request, read its answer and
// stay open; the memory grown by the time the holder has them all.
COpenResult HoldOpen(unsigned short port, CHolder& holder, bool relayed)
{
    COpenResult result;
    std::vector<SOCKET> clients;
    SIZE_T before = PrivateBytes();
    double start = Now();
    std::string request = "GET http://127.0.0.1/held HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    for (int i = 0; i < kOpenConnections; ++i) {
        SOCKET s = Connect(port, 20000);
        if (s == INVALID_SOCKET)
            continue;
        SendAll(s, request);
        clients.push_back(s);
    }
    for (SOCKET s : clients) {
        if (BodyOf(Receive(s).data) == "ok")
            ++result.answered;
    }
    DWORD waitStart = GetTickCount();
    while ((holder.Held() < clients.size() ||
            (relayed && g_relayServer.GetConnectionCount() < 2 * static_cast<long>(clients.size()))) &&
           GetTickCount() - waitStart < 60000)
        Sleep(10);
    result.ms = Now() - start;
    result.opened = static_cast<int>(holder.Held());
    SIZE_T after = PrivateBytes();
    if (!clients.empty())
        result.bytesPerConnection =
            (static_cast<double>(after) - static_cast<double>(before)) / static_cast<double>(clients.size());
    for (SOCKET s : clients)
        closesocket(s);
    holder.CloseAll();
    waitStart = GetTickCount();
    while (g_relayServer.GetConnectionCount() != 0 && GetTickCount() - waitStart < 60000)
        Sleep(10);
    return result;
}

// The paths a workload runs on, in the order of the columns.
enum PathIndex
{
    kDirect,
    kBare,
    kBareSkip,
    kRelayPort,
    kRelay,
    kPathCount,
};
const char* const kPathNames[kPathCount] = { "direct", "bare forwarder", "bare forwarder, skip port",
                                             "relay, port only", "relay" };

void Header()
{
    printf("%-28s %10s %10s %10s %10s %10s %8s %8s %8s\n", "workload", "direct", "bare", "bare+skip", "relay/port",
           "relay", "r/direct", "r/bare", "skip gain");
}

// One workload's figures: the table row, and the lines tools/bench reads
// (each figure against the baseline it is to be read with).
void Row(const char* what, const double (&value)[kPathCount], const char* unit)
{
    auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    printf("%-28s %10.1f %10.1f %10.1f %10.1f %10.1f %8.3f %8.3f %8.3f  %s\n", what, value[kDirect], value[kBare],
           value[kBareSkip], value[kRelayPort], value[kRelay], ratio(value[kRelay], value[kDirect]),
           ratio(value[kRelay], value[kBare]), ratio(value[kRelay], value[kRelayPort]), unit);
    PrintBenchFigure(what, "relay", value[kRelay], "direct", value[kDirect], unit);
    PrintBenchFigure(what, "relay", value[kRelay], "bare forwarder", value[kBare], unit);
    PrintBenchFigure(what, "relay, port only", value[kRelayPort], "bare forwarder", value[kBare], unit);
    PrintBenchFigure(what, "relay", value[kRelay], "relay, port only", value[kRelayPort], unit);
    PrintBenchFigure(what, "bare forwarder, skip port", value[kBareSkip], "bare forwarder", value[kBare], unit);
    PrintBenchFigure(what, "bare forwarder", value[kBare], "direct", value[kDirect], unit);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    bool bQuick = argc > 1 && wcscmp(argv[1], L"--quick") == 0;
    if (bQuick) {
        g_nBulkBytes = 16u * 1024 * 1024;
        g_nBulkRepeats = 1;
        g_dwRateMs = 1000;
    }
    EnsureWinsock();
    SOCKET probe = Connect(kTinyproxy, 2000);
    if (probe == INVALID_SOCKET) {
        printf("bench_relay: no tinyproxy on %u; start the world (tests/world/world.sh start)\n", kTinyproxy);
        return 1;
    }
    closesocket(probe);

    g_relayServer.m_nListenPort = 0;
    g_relayServer.SetCredentials(world::kProxyUser, world::kProxyPassword);
    g_relayServer.SetUpstream(world::kHost, kTinyproxy);
    g_relayServer.Start();
    DWORD start = GetTickCount();
    while (g_relayServer.GetListeningPort() == 0 && !g_relayServer.StartFailed() && GetTickCount() - start < 10000)
        Sleep(10);
    if (g_relayServer.GetListeningPort() == 0) {
        printf("bench_relay: the relay did not start\n");
        return 1;
    }
    CBareForwarder bare(kTinyproxy, false);
    CBareForwarder bareSkip(kTinyproxy, true);
    if (!bare.Start() || !bareSkip.Start()) {
        printf("bench_relay: the bare forwarder did not start\n");
        return 1;
    }

    char line[PROXY_AUTHORIZATION_LINE_BUFFER];
    g_relayServer.FormatAuthorizationLine(line, sizeof(line));
    unsigned short relayPort = static_cast<unsigned short>(g_relayServer.GetListeningPort());
    const CPath paths[kPathCount] = {
        { kPathNames[kDirect], kTinyproxy, line },
        { kPathNames[kBare], bare.Port(), line },
        { kPathNames[kBareSkip], bareSkip.Port(), line },
        { kPathNames[kRelayPort], relayPort, "" },
        { kPathNames[kRelay], relayPort, "" },
    };
    // The relay's two modes share its port: each run sets the mode its new
    // connections take.
    auto useMode = [](int path) {
        if (path == kRelayPort || path == kRelay)
            g_relayServer.SetSkipPortOnSuccess(path == kRelay);
    };
    COrigin origin;

    printf("bench_relay%s: relay on %u, bare forwarders on %u and %u, tinyproxy on %u, origin on %u\n",
           bQuick ? " --quick" : "", relayPort, bare.Port(), bareSkip.Port(), kTinyproxy, origin.Port());
    Header();
    char what[64];
    double value[kPathCount];
    snprintf(what, sizeof(what), "bulk %u MB, one connection", static_cast<unsigned>(g_nBulkBytes >> 20));
    for (int p = 0; p < kPathCount; ++p) {
        useMode(p);
        value[p] = Bulk(paths[p], origin.Port());
    }
    Row(what, value, "MB/s");
    for (int clients : kClientCounts) {
        snprintf(what, sizeof(what), "requests, %d concurrent", clients);
        for (int p = 0; p < kPathCount; ++p) {
            useMode(p);
            value[p] = Rate(paths[p], origin.Port(), clients);
        }
        Row(what, value, "req/s");
    }
    // Whether the system took the mode, and whether the path was used.
    printf("immediate completions carried on without the port: relay %ld, bare forwarder %ld (mode %s)\n",
           g_relayServer.GetImmediateCount(), bareSkip.Immediate(),
           bareSkip.SkipPortEnabled() ? "taken" : "not available");

    CHolder holder;
    CBareForwarder bareHeld(holder.Port(), false);
    bareHeld.Start();
    g_relayServer.SetUpstream(world::kHost, holder.Port());
    g_relayServer.SetSkipPortOnSuccess(true);
    COpenResult held = HoldOpen(relayPort, holder, true);
    COpenResult bareOpen = HoldOpen(bareHeld.Port(), holder, false);
    COpenResult straight = HoldOpen(holder.Port(), holder, false);
    printf("%d connections open at once: answered through the relay %d (held %d), bare forwarder %d, direct %d\n",
           kOpenConnections, held.answered, held.opened, bareOpen.answered, straight.answered);
    printf("%-28s %10.1f %10.1f %10s %10s %10.1f %8.3f %8.3f\n", "  time to open and answer", straight.ms, bareOpen.ms,
           "", "", held.ms, straight.ms > 0 ? held.ms / straight.ms : 0, bareOpen.ms > 0 ? held.ms / bareOpen.ms : 0);
    printf("%-28s %10.0f %10.0f %10s %10s %10.0f  bytes\n", "  memory per connection", straight.bytesPerConnection,
           bareOpen.bytesPerConnection, "", "", held.bytesPerConnection);
    snprintf(what, sizeof(what), "%d held open", kOpenConnections);
    PrintBenchFigure(what, "relay answered", held.answered, "connections", kOpenConnections, "conn");
    PrintBenchFigure(what, "relay time", held.ms, "direct", straight.ms, "ms");
    PrintBenchFigure(what, "relay time", held.ms, "bare forwarder", bareOpen.ms, "ms");
    PrintBenchFigure(what, "relay memory per connection", held.bytesPerConnection, "bare forwarder",
                     bareOpen.bytesPerConnection, "bytes");
    PrintBenchFigure(what, "relay memory per connection", held.bytesPerConnection, "direct",
                     straight.bytesPerConnection, "bytes");
    return held.answered == kOpenConnections ? 0 : 2;
}
