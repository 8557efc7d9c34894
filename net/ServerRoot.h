// Where the maker's server lives. The root (scheme, host and port) is fixed
// when the program is built: the product talks to the maker's own host, the
// loopback build to the local test server.
#pragma once

#include "afx.h"

// "http://host[:port]" without a trailing slash.
const char* GetServerRoot();

// The root followed by pszPath ("/Corvane/...").
CStringA GetServerUrl(const char* pszPath);
