// Steers the local maker's server (tests/world/maker_server.py) from the
// end-to-end tests: canned or scripted replies, and what the program sent.
#pragma once

#include "net/HttpPost.h"
#include "tests/world/World.h"

#include <stdio.h>

#include <string>

namespace maker {

constexpr const char* kStartPath = "/Corvane/Tessaly/start.php";
constexpr const char* kTestUrlPath = "/Corvane/testurl.txt";

// One control request; the reply's text, or nothing when the server is not there.
inline std::string Control(const std::string& pathAndQuery, const std::string& body = std::string())
{
    char root[64];
    snprintf(root, sizeof(root), "http://%s:%u", world::kHost, (unsigned)world::kMakerPort);
    CStringA reply;
    HttpPost(CStringA((std::string(root) + pathAndQuery).c_str()),
             CStringA(body.c_str(), (int)body.size()), reply);
    return std::string(reply.GetString(), (size_t)reply.GetLength());
}

// Forgets every scripted reply and empties the request log.
inline bool Reset() { return Control("/control/reset") == "OK"; }

// A canned reply (normal, close, empty, bad-reply, empty-list) for the next
// count requests to path; 0 = until the next reset.
inline bool SetMode(const char* mode, const char* path, int count)
{
    return Control(std::string("/control?mode=") + mode + "&path=" + path + "&count=" +
                   std::to_string(count)) == "OK";
}

// The exact reply to the next request to path.
inline bool SetNextReply(const char* path, const std::string& reply)
{
    return Control(std::string("/control/next?path=") + path, reply) == "OK";
}

inline int RequestCount(const char* path)
{
    return atoi(Control(std::string("/control/count?path=") + path).c_str());
}

inline std::string LastRequest(const char* path)
{
    return Control(std::string("/control/last?path=") + path);
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
