// Addresses and credentials of the local world (tests/world/world.sh starts it).
#pragma once

namespace world {
constexpr const char* kHost = "127.0.0.1";
constexpr unsigned short kMakerPort = 18188;                       // the maker's server
constexpr unsigned short kProxyPorts[] = { 18201, 18202, 18203 };  // tinyproxy upstreams
constexpr unsigned short kOpenProxyPort = 18204;                   // tinyproxy without authentication
constexpr const char* kProxyUser = "corvane";
constexpr const char* kProxyPassword = "tessaly-relay-pass";

// tinyproxy on kCredentialProxyPort knows, for n = 1..40, user kProxyUser
// with the first n letters of kCredentialPasswordLetters as password, and the
// first n letters of kCredentialUserLetters as user with password "p".
constexpr unsigned short kCredentialProxyPort = 18205;
constexpr const char* kCredentialUserLetters = "Corvane9876543210zyxwvutsrqponmlkjihgfedcbaZ";
constexpr const char* kCredentialPasswordLetters = "Tessaly0123456789abcdefghijklmnopqrstuvwxyzQ";
constexpr int kCredentialLengths = 40;
}  // namespace world
