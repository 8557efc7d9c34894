// The check-in with the maker's server at start-up: the request, the reading
// of its reply and the handing out of what the reply carries.
#pragma once

#include "afx.h"

#include "net/PasswordRenewal.h"

#include <stddef.h>

// What a check-in reply carries. A value whose markers are missing or
// malformed is marked absent and its destination keeps its value.
struct StartReply
{
    StartReply();

    bool bEmpty;  // nothing came back: the program cannot go on

    bool bHasMessage;    // "MsgStart" ... "MsgEnd": show the server message
    CString strMessage;  // empty when longer than 255 characters
    int nMessageType;    // 1 to 4, 1 unless "MsgType:" gives '1'..'4'
    bool bHasCaption;    // "MsgCapStart" ... "MsgCapEnd"
    CString strCaption;  // of the web-site button, empty when too long

    bool bHasPassword;  // "PWStart" ... "PWEnd", at most 63 bytes
    CStringA strPassword;

    bool bHasDelay;     // "TimeStart" ... "TimeEnd"
    int nRenewalDelay;  // seconds from now; 0 sets no renewal time

    bool bHasCountry;  // "CountryCode:" and two characters
    CString strCountryCode;

    bool bHasRealIP;  // "IPAddress:" and at most 15 digits and dots
    CStringA strRealIP;
};

// Reads a check-in reply (the bytes as received, up to the first NUL).
StartReply ParseStartReply(const char* pReply, size_t nLength);
StartReply ParseStartReply(const CStringA& strReply);

// The check-in at start-up: sends the adapter address and program version
// and returns the reply, empty when the server could not be reached.
CStringA SendStartRequest();

// Stores the password, the renewal time (now + delay), the real
// address's country and the real address into their globals.
void ApplyStartReply(const StartReply& reply, RenewalTime now);
