// The Basic Proxy-Authorization header that the relay writes into browser
// requests and that the speed test sends with each fetch.
#pragma once

#include <stddef.h>

// Size of the "user:password" buffer and of its Base64 text.
#define PROXY_CREDENTIALS_BUFFER 200
// Longest "user:password" text whose Base64 still fits its 200-byte buffer.
#define PROXY_CREDENTIALS_MAX 149
// Size of the relay's header line buffer, CR LF included.
#define PROXY_AUTHORIZATION_LINE_BUFFER 304

// True when "user:password" is at most PROXY_CREDENTIALS_MAX characters.
bool ProxyCredentialsFit(const char* pszUser, const char* pszPassword);

// Writes "Proxy-Authorization: Basic <base64 of user:password>" with the
// Base64 correctly padded, without a line end, into out (nSize bytes).
// Returns the length written, or 0 (out empty) when the credentials are too
// long or out too small. Null texts count as empty.
size_t FormatProxyAuthorization(char* out, size_t nSize, const char* pszUser, const char* pszPassword);
