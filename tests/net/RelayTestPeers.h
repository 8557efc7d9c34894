// Loopback peers for the relay tests: blocking Winsock clients, and a small
// HTTP server that plays origin server or upstream proxy and keeps every
// request head it receives.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace relaytest {

// Bytes n of the deterministic body served for "/bytes/N".
inline char BodyByte(size_t n)
{
    unsigned int x = static_cast<unsigned int>(n) * 2654435761u;
    return static_cast<char>((x >> 13) ^ (x >> 24));
}

inline bool EnsureWinsock()
{
    static bool s_bStarted = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return s_bStarted;
}

// A blocking client socket; every receive gives up after the time-out.
inline SOCKET Connect(unsigned short port, DWORD timeoutMs = 30000, const char* ip = "127.0.0.1")
{
    EnsureWinsock();
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return s;
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof(timeoutMs));
    setsockopt(s, SOL_SOCKET, SO_SNDTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof(timeoutMs));
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = inet_addr(ip);
    if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == SOCKET_ERROR) {
        closesocket(s);
        return INVALID_SOCKET;
    }
    return s;
}

inline void SetReceiveTimeout(SOCKET s, DWORD timeoutMs)
{
    setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof(timeoutMs));
}

inline bool SendAll(SOCKET s, const std::string& data)
{
    size_t sent = 0;
    while (sent < data.size()) {
        int chunk = static_cast<int>(std::min<size_t>(data.size() - sent, 65536));
        int n = send(s, data.data() + sent, chunk, 0);
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

// Closes with a reset instead of a graceful end.
inline void Abort(SOCKET s)
{
    linger l = { 1, 0 };
    setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof(l));
    closesocket(s);
}

// What came back: the whole text up to the end of the stream or a time-out.
struct Reply
{
    std::string data;
    bool closed = false;  // the stream ended (0 bytes or reset)
    bool timedOut = false;
};

// Reads until the peer closes, a time-out, or (with stopAtLength) one whole
// response with a Content-Length has arrived.
inline Reply Receive(SOCKET s, bool stopAtLength = true)
{
    Reply reply;
    char buffer[65536];
    for (;;) {
        if (stopAtLength) {
            size_t head = reply.data.find("\r\n\r\n");
            if (head != std::string::npos) {
                size_t at = reply.data.find("Content-Length: ");
                if (at != std::string::npos && at < head) {
                    size_t length = strtoul(reply.data.c_str() + at + 16, nullptr, 10);
                    if (reply.data.size() >= head + 4 + length)
                        return reply;
                } else if (reply.data.compare(0, 12, "HTTP/1.1 200") == 0 &&
                           reply.data.find("Connection established") < head) {
                    return reply;
                }
            }
        }
        int n = recv(s, buffer, sizeof(buffer), 0);
        if (n > 0) {
            reply.data.append(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n == 0 || WSAGetLastError() != WSAETIMEDOUT)
            reply.closed = true;
        else
            reply.timedOut = true;
        return reply;
    }
}

inline std::string BodyOf(const std::string& response)
{
    size_t head = response.find("\r\n\r\n");
    return head == std::string::npos ? std::string() : response.substr(head + 4);
}

// Strict RFC 4648 decoding: false for a wrong length, padding or character.
inline bool DecodeBase64Strict(const std::string& text, std::string& out)
{
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    out.clear();
    if (text.size() % 4 != 0)
        return false;
    for (size_t i = 0; i < text.size(); i += 4) {
        int v[4];
        int pad = 0;
        for (int k = 0; k < 4; ++k) {
            char c = text[i + k];
            if (c == '=') {
                if (i + 4 != text.size() || k < 2)
                    return false;
                v[k] = 0;
                ++pad;
                continue;
            }
            if (pad)
                return false;
            size_t at = alphabet.find(c);
            if (at == std::string::npos)
                return false;
            v[k] = static_cast<int>(at);
        }
        unsigned int group = (v[0] << 18) | (v[1] << 12) | (v[2] << 6) | v[3];
        out.push_back(static_cast<char>(group >> 16));
        if (pad < 2)
            out.push_back(static_cast<char>(group >> 8));
        if (pad < 1)
            out.push_back(static_cast<char>(group));
    }
    return true;
}

// The value of a header line in a request head, empty when absent.
inline std::string HeaderValue(const std::string& head, const std::string& name)
{
    size_t at = head.find("\r\n" + name + ": ");
    if (at == std::string::npos)
        return std::string();
    at += name.size() + 4;
    return head.substr(at, head.find("\r\n", at) - at);
}

// A loopback HTTP server on a port of its own. As origin: "/bytes/N" gives N
// body bytes, a POST echoes its body, anything else "ok". As upstream proxy
// it answers the same way, accepts CONNECT by echoing the tunnel, and in
// 407 mode answers every request "407 Proxy Authentication Required". In
// ECHO mode it sends back every byte from the first on (a tunnel's far end).
class CTestServer
{
public:
    enum Mode
    {
        ANSWER,
        AUTH_REQUIRED,
        CHECK_BASIC,
        ECHO
    };

    explicit CTestServer(Mode mode = ANSWER, unsigned short port = 0) : m_mode(mode)
    {
        EnsureWinsock();
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_port = htons(port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == SOCKET_ERROR ||
            listen(m_listener, SOMAXCONN) == SOCKET_ERROR) {
            closesocket(m_listener);
            m_listener = INVALID_SOCKET;
            return;
        }
        int length = sizeof(address);
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        m_acceptThread = std::thread([this] { AcceptLoop(); });
    }

    ~CTestServer()
    {
        m_stopping = true;
        if (m_listener != INVALID_SOCKET)
            closesocket(m_listener);
        if (m_acceptThread.joinable())
            m_acceptThread.join();
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            for (SOCKET s : m_open)
                shutdown(s, SD_BOTH);
        }
        for (std::thread& t : m_threads)
            t.join();
    }

    bool Ok() const { return m_listener != INVALID_SOCKET; }
    unsigned short Port() const { return m_port; }

    // The credentials CHECK_BASIC accepts ("user:password").
    void ExpectCredentials(const std::string& text)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_expected = text;
    }

    std::vector<std::string> Heads()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_heads;
    }
    int Connections() const { return m_connections.load(); }
    // Every third connection of the stress test is reset mid-answer.
    void SetAbortEveryThird(bool on) { m_abortEveryThird = on; }

private:
    void AcceptLoop()
    {
        while (!m_stopping) {
            SOCKET s = accept(m_listener, nullptr, nullptr);
            if (s == INVALID_SOCKET)
                return;
            int number = ++m_connections;
            std::lock_guard<std::mutex> lock(m_mutex);
            m_open.push_back(s);
            m_threads.emplace_back([this, s, number] { Serve(s, number); });
        }
    }

    void Serve(SOCKET s, int number)
    {
        DWORD timeout = 60000;
        setsockopt(s, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof(timeout));
        std::string pending;
        char buffer[65536];
        bool tunnel = m_mode == ECHO;
        for (;;) {
            int n = recv(s, buffer, sizeof(buffer), 0);
            if (n <= 0)
                break;
            if (tunnel) {
                if (!SendAll(s, std::string(buffer, static_cast<size_t>(n))))
                    break;
                continue;
            }
            pending.append(buffer, static_cast<size_t>(n));
            bool keepGoing = true;
            while (keepGoing) {
                size_t head = pending.find("\r\n\r\n");
                if (head == std::string::npos)
                    break;
                std::string headText = pending.substr(0, head + 4);
                size_t bodyLength = strtoul(HeaderValue(headText, "Content-Length").c_str(), nullptr, 10);
                if (pending.size() < head + 4 + bodyLength)
                    break;
                std::string body = pending.substr(head + 4, bodyLength);
                pending.erase(0, head + 4 + bodyLength);
                {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    m_heads.push_back(headText);
                }
                if (headText.compare(0, 8, "CONNECT ") == 0 && m_mode == ANSWER) {
                    tunnel = SendAll(s, "HTTP/1.1 200 Connection established\r\n\r\n");
                    if (tunnel && !pending.empty())
                        SendAll(s, pending);
                    pending.clear();
                    break;
                }
                std::string answer = Answer(headText, body);
                if (m_abortEveryThird && number % 3 == 0) {
                    SendAll(s, answer.substr(0, answer.size() / 2));
                    linger l = { 1, 0 };
                    setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&l), sizeof(l));
                    goto done;
                }
                keepGoing = SendAll(s, answer);
                if (headText.find("Connection: close") != std::string::npos)
                    keepGoing = false;
                if (!keepGoing) {
                    shutdown(s, SD_SEND);
                    tunnel = false;
                    pending.clear();
                    goto done;
                }
            }
        }
    done:
        std::lock_guard<std::mutex> lock(m_mutex);
        for (SOCKET& open : m_open)
            if (open == s)
                open = INVALID_SOCKET;
        closesocket(s);
    }

    std::string Answer(const std::string& head, const std::string& body)
    {
        if (m_mode == AUTH_REQUIRED)
            return "HTTP/1.0 407 Proxy Authentication Required\r\n"
                   "Proxy-Authenticate: Basic realm=\"test\"\r\nContent-Length: 0\r\n\r\n";
        if (m_mode == CHECK_BASIC) {
            std::string value = HeaderValue(head, "Proxy-Authorization");
            std::string decoded;
            bool good = value.compare(0, 6, "Basic ") == 0 && DecodeBase64Strict(value.substr(6), decoded);
            std::lock_guard<std::mutex> lock(m_mutex);
            good = good && decoded == m_expected;
            return std::string(good ? "HTTP/1.1 200 OK" : "HTTP/1.1 403 Forbidden") + "\r\nContent-Length: 0\r\n\r\n";
        }
        std::string content;
        size_t at = head.find("/bytes/");
        if (at != std::string::npos && at < head.find("\r\n")) {
            size_t length = strtoul(head.c_str() + at + 7, nullptr, 10);
            content.resize(length);
            for (size_t i = 0; i < length; ++i)
                content[i] = BodyByte(i);
        } else if (head.compare(0, 5, "POST ") == 0) {
            content = body;
        } else {
            content = "ok";
        }
        return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(content.size()) + "\r\n\r\n" + content;
    }

    Mode m_mode;
    SOCKET m_listener = INVALID_SOCKET;
    unsigned short m_port = 0;
    std::atomic<bool> m_stopping{ false };
    std::atomic<int> m_connections{ 0 };
    std::atomic<bool> m_abortEveryThird{ false };
    std::thread m_acceptThread;
    std::mutex m_mutex;
    std::vector<std::thread> m_threads;
    std::vector<SOCKET> m_open;
    std::vector<std::string> m_heads;
    std::string m_expected;
};

}  // namespace relaytest
