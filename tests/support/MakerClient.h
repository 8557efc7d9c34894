// Steers the local maker's server (tests/world/maker_server.py) through its
// /control endpoint, for every tier that talks to it: canned or scripted
// replies, and what the program sent. A plain socket, not the program's own
// request code, so scripted replies may hold any byte, NUL included.
#pragma once

#include "tests/world/World.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <stdio.h>
#include <stdlib.h>

#include <string>

namespace maker {

constexpr const char* kStartPath = "/Corvane/Tessaly/start.php";
constexpr const char* kRetrievePath = "/Corvane/Tessaly/retrieve.php";
constexpr const char* kTestUrlPath = "/Corvane/testurl.txt";

// One HTTP/1.0 POST to the maker's server; the reply body, or "(no reply)".
inline std::string Post(const std::string& target, const std::string& body = std::string())
{
    WSADATA wsa;
    if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0)
        return "(no reply)";
    std::string reply = "(no reply)";
    SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s != INVALID_SOCKET) {
        sockaddr_in addr = {};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(world::kMakerPort);
        addr.sin_addr.s_addr = inet_addr(world::kHost);
        if (connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0) {
            char head[512];
            snprintf(head, sizeof(head), "POST %s HTTP/1.0\r\nHost: 127.0.0.1\r\nContent-Length: %u\r\n\r\n",
                     target.c_str(), (unsigned)body.size());
            std::string request = std::string(head) + body;
            send(s, request.data(), (int)request.size(), 0);
            std::string raw;
            char buf[4096];
            int n;
            while ((n = recv(s, buf, sizeof(buf), 0)) > 0)
                raw.append(buf, n);
            size_t end = raw.find("\r\n\r\n");
            if (end != std::string::npos)
                reply = raw.substr(end + 4);
        }
        closesocket(s);
    }
    WSACleanup();
    return reply;
}

// Forgets every scripted reply and empties the request log.
inline bool Reset()
{
    return Post("/control/reset") == "OK";
}

// A canned reply (normal, close, empty, bad-reply, empty-list) for the next
// count requests to path; 0 = until the next reset.
inline bool SetMode(const char* mode, const char* path, int count = 1)
{
    return Post(std::string("/control?mode=") + mode + "&path=" + path + "&count=" + std::to_string(count)) == "OK";
}

// The exact bytes of the reply to the next count requests to path (0: until reset).
inline bool SetNextReply(const char* path, const std::string& reply, int count = 1)
{
    return Post(std::string("/control/next?path=") + path + "&count=" + std::to_string(count), reply) == "OK";
}

inline int RequestCount(const char* path)
{
    return atoi(Post(std::string("/control/count?path=") + path).c_str());
}

// The raw body of the last request to path; empty when there was none.
inline std::string LastRequest(const char* path)
{
    return Post(std::string("/control/last?path=") + path);
}

// The request log: one JSON line per request since the last reset.
inline std::string Log()
{
    return Post("/control/log");
}

// The log line the server writes for one request (Python's json.dumps of
// {"method", "path", "body"}, the body's bytes read as Latin-1).
inline std::string LogLine(const char* method, const char* path, const std::string& body)
{
    std::string json = std::string("{\"method\": \"") + method + "\", \"path\": \"" + path + "\", \"body\": \"";
    for (unsigned char c : body) {
        switch (c) {
        case '"': json += "\\\""; break;
        case '\\': json += "\\\\"; break;
        case '\t': json += "\\t"; break;
        case '\n': json += "\\n"; break;
        case '\r': json += "\\r"; break;
        case '\b': json += "\\b"; break;
        case '\f': json += "\\f"; break;
        default:
            if (c < 0x20 || c > 0x7E) {
                char esc[8];
                snprintf(esc, sizeof(esc), "\\u%04x", c);
                json += esc;
            } else {
                json += (char)c;
            }
        }
    }
    return json + "\"}\n";
}

// Puts the server back to its normal replies when a test ends.
class ScopedReset
{
public:
    ScopedReset() { Reset(); }
    ~ScopedReset() { Reset(); }
    ScopedReset(const ScopedReset&) = delete;
    ScopedReset& operator=(const ScopedReset&) = delete;
};

}  // namespace maker
