// The exchanges with the maker's server, the values its check-in reply hands
// out, and the pieces of every request.
#pragma once

#include "afx.h"

#include <stddef.h>

class CSettingAnonymousItem;
class CSettingCountryItem;

#define SERVER_START_PATH "/Corvane/Tessaly/start.php"
#define SERVER_RETRIEVE_PATH "/Corvane/Tessaly/retrieve.php"
#define SERVER_TESTURL_PATH "/Corvane/testurl.txt"

#define OPERATION_CHECK_IN 1
#define OPERATION_RETRIEVE 4
#define OPERATION_RENEW_PASSWORD 5

#define PROXY_PASSWORD_SIZE 64

// Values of the check-in reply, written on the user-interface thread. The
// renewal time g_nextPasswordTime lives with the password timers
// (net/PasswordRenewal.h).
extern char g_szProxyPassword[PROXY_PASSWORD_SIZE];  // at most 63 characters
extern int g_nRealCountry;                           // country index, -1 when not known
extern char g_szRealIP[16];                          // dotted address, empty when not known

// The ProductVersion of the program's own version resource in the ANSI code
// page; empty when it cannot be read.
CStringA GetProgramVersion();

// The body of a check-in (OPERATION_CHECK_IN) or renewal (OPERATION_RENEW_PASSWORD).
CStringA BuildStartBody(const char* pszMac, const char* pszVersion, int nOperation);

// The body of a retrieval: the anonymity types and countries of the settings.
CStringA BuildRetrieveBody(const char* pszMac, const CSettingAnonymousItem& anonymity,
                           const CSettingCountryItem& countries);

// The text between the first pszStart of the reply and the first pszEnd
// after it; false, with strValue untouched, when either marker is missing.
bool FindMarkedValue(const char* pReply, size_t nLength, const char* pszStart, const char* pszEnd, CStringA& strValue);

// The password of a check-in or renewal reply; false when the reply has none
// or it does not fit PROXY_PASSWORD_SIZE with its NUL.
bool ParsePasswordReply(const char* pReply, size_t nLength, CStringA& strPassword);

// Timer 3: asks the server for a new relay password and hands it to the
// relay. False, with the old password left in use, when the reply has none.
bool RequestProxyPassword();

// The renewal on a reply already received; what RequestProxyPassword does
// after its request.
bool ApplyPasswordReply(const CStringA& strReply, const char* pszProxyUser);

// Fetches the maker's test definition (testurl.txt) for the test section's
// defaults; strReply stays empty when the server cannot be reached. Fits
// PFN_FETCH_TEST_DEFINITION of proxy/Settings.h.
void FetchTestDefinition(CStringA& strReply);

// Hands the proxy user name and the new g_szProxyPassword to the relay after
// a renewal; set by whoever owns the relay record.
typedef bool (*PFN_SET_RELAY_CREDENTIALS)(const char* pszUser);
extern PFN_SET_RELAY_CREDENTIALS g_pfnSetRelayCredentials;
