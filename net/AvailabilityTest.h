// The availability test: each proxy fetches the test page once; it passes
// when the page arrives whole and holds the expected text. Batches of up to
// five proxies, each batch driven by one thread with libcurl's multi
// interface. The transfer pieces here serve the speed test too.
#pragma once

#include "afx.h"
#include "proxy/Proxy.h"

#include <curl/curl.h>

struct CCurlBuffer;

// Largest batch one thread drives.
#define AVAILABILITY_BATCH_SIZE 5

// User agent of every test fetch.
#define TEST_USER_AGENT "Mozilla/4.0 (compatible; MSIE 7.0; Windows NT 5.1)"

// What the test threads read of the test settings, copied once per thread.
struct TestPageSettings
{
    CStringA strURL;
    CStringA strCorrectValue;
    long nTimeoutMs;
};
TestPageSettings ReadTestPageSettings();

// libcurl's global state for the test threads: set up once for the life of
// the process, so that the requests to the maker's server, which set it up
// and release it around each request, never tear it down under a running
// test.
bool EnsureCurlForTests();

// An easy handle fetching the test page through proxy into pBuffer, with the
// options both tests set; a page past TEST_PAGE_MAX_BYTES fails the fetch.
// NULL when libcurl cannot make one.
CURL* CreateTestTransfer(const CProxy& proxy, const TestPageSettings& page, CCurlBuffer* pBuffer);

// Drives the multi handle's transfers until none runs or g_bStopTest is set.
void DriveTestTransfers(CURLM* pMulti);

// A transfer that ended well and whose data holds no NUL byte.
bool IsWholeReply(CURLcode result, const CCurlBuffer& buffer);

// Frees the replies, takes the transfers off the multi handle and ends them all.
void ReleaseTestTransfers(CURLM* pMulti, CURL** handles, CCurlBuffer* buffers, int nCount);

// One batch: pParam is a heap CProxyList of one to five proxies, owned and
// deleted by the thread.
UINT AFX_CDECL CheckProxyBatchProc(LPVOID pParam);
