// The one blocking HTTP POST to the maker's server.
#pragma once

#include "afx.h"

// Posts strBody (sent as it is, libcurl's default form content type) to
// strUrl and waits for the answer, with no time-out. When data arrived,
// strReply becomes the received text up to its first NUL byte; otherwise it
// keeps what it held, also when the reply ran past SERVER_REPLY_MAX_BYTES
// (which fails the transfer). True when the transfer ended without error.
bool HttpPost(CStringA strUrl, CStringA strBody, CStringA& strReply);
