// The availability test: one fetch of the test page per proxy, in batches.
#include "net/AvailabilityTest.h"

#include "net/CurlBuffer.h"
#include "net/TestTimings.h"
#include "net/Worker.h"
#include "proxy/Settings.h"

#include <shlwapi.h>
#include <stdlib.h>
#include <string.h>

// Wait of one pass when libcurl names no time-out, and the longest time-out
// it may name that is still waited out exactly.
#define DEFAULT_WAIT_MS 1000
#define EXACT_WAIT_LIMIT_MS 2000
// Longest nap when libcurl gives no socket to wait on.
#define IDLE_WAIT_MS 100
// Built-in time-out for a process whose settings were never loaded.
#define DEFAULT_TEST_TIMEOUT_SECONDS 20

TestPageSettings ReadTestPageSettings()
{
    TestPageSettings page;
    CSettingTestItem* pTest = GetSettings().GetTest();
    if (pTest != NULL) {
        page.strURL = pTest->m_szURL;
        page.strCorrectValue = pTest->m_szCorrectValue;
        page.nTimeoutMs = (long)pTest->m_nTimeoutSeconds * 1000;
    } else {
        page.strURL = DEFAULT_TEST_URL;
        page.strCorrectValue = DEFAULT_TEST_VALUE;
        page.nTimeoutMs = DEFAULT_TEST_TIMEOUT_SECONDS * 1000;
    }
    return page;
}

bool EnsureCurlForTests()
{
    static const CURLcode result = curl_global_init(CURL_GLOBAL_WIN32);
    return result == CURLE_OK;
}

CURL* CreateTestTransfer(const CProxy& proxy, const TestPageSettings& page, CCurlBuffer* pBuffer)
{
    pBuffer->m_pData = NULL;
    pBuffer->m_nSize = 0;
    pBuffer->m_nLimit = TEST_PAGE_MAX_BYTES;
    pBuffer->m_bTooLong = false;
    CURL* pEasy = curl_easy_init();
    if (pEasy == NULL)
        return NULL;
    curl_easy_setopt(pEasy, CURLOPT_URL, (const char*)page.strURL);
    curl_easy_setopt(pEasy, CURLOPT_TIMEOUT_MS, page.nTimeoutMs);
    curl_easy_setopt(pEasy, CURLOPT_WRITEFUNCTION, CurlWriteCallback);
    curl_easy_setopt(pEasy, CURLOPT_WRITEDATA, pBuffer);
    curl_easy_setopt(pEasy, CURLOPT_PROXY, proxy.m_szIP);
    curl_easy_setopt(pEasy, CURLOPT_PROXYPORT, (long)proxy.m_nPort);
    curl_easy_setopt(pEasy, CURLOPT_PROXYTYPE, (long)CURLPROXY_HTTP);
    curl_easy_setopt(pEasy, CURLOPT_USERAGENT, TEST_USER_AGENT);
    return pEasy;
}

namespace {
void PerformAll(CURLM* pMulti, int& nRunning)
{
    const LONGLONG llStart = CTestTimings::Now();
    while (curl_multi_perform(pMulti, &nRunning) == CURLM_CALL_MULTI_PERFORM) {}
    CTestTimings::AddSince(TEST_STEP_PERFORM, llStart);
}
}  // namespace

void DriveTestTransfers(CURLM* pMulti)
{
    const LONGLONG llDrive = CTestTimings::Now();
    int nRunning = 0;
    PerformAll(pMulti, nRunning);
    while (nRunning > 0 && !g_bStopTest) {
        fd_set readSet, writeSet, exceptSet;
        FD_ZERO(&readSet);
        FD_ZERO(&writeSet);
        FD_ZERO(&exceptSet);
        int nMaxFd = -1;
        long nWaitMs = DEFAULT_WAIT_MS;

        long nTimeoutMs = -1;
        curl_multi_timeout(pMulti, &nTimeoutMs);
        if (nTimeoutMs >= 0 && nTimeoutMs < EXACT_WAIT_LIMIT_MS)
            nWaitMs = nTimeoutMs;
        timeval wait;
        wait.tv_sec = nWaitMs / 1000;
        wait.tv_usec = (nWaitMs % 1000) * 1000;

        curl_multi_fdset(pMulti, &readSet, &writeSet, &exceptSet, &nMaxFd);
        CTestTimings::NoteLoopPass(nMaxFd < 0);
        if (nMaxFd < 0) {
            // Nothing to wait on (a transfer between its steps): winsock's
            // select refuses empty sets, so nap and drive the transfers on.
            const LONGLONG llNap = CTestTimings::Now();
            ::Sleep(nWaitMs < IDLE_WAIT_MS ? (DWORD)nWaitMs : IDLE_WAIT_MS);
            CTestTimings::AddSince(TEST_STEP_NAP, llNap);
            PerformAll(pMulti, nRunning);
            continue;
        }
        const LONGLONG llSelect = CTestTimings::Now();
        const int nReady = select(nMaxFd + 1, &readSet, &writeSet, &exceptSet, &wait);
        CTestTimings::AddSince(TEST_STEP_SELECT, llSelect);
        if (nReady == -1) {
            // A failed wait must not spin without driving the transfers.
            ::Sleep(10);
        }
        PerformAll(pMulti, nRunning);
    }
    CTestTimings::AddSince(TEST_STEP_DRIVE, llDrive);
}

bool IsWholeReply(CURLcode result, const CCurlBuffer& buffer)
{
    return result == CURLE_OK && !buffer.m_bTooLong && buffer.m_pData != NULL && buffer.m_nSize > 0 &&
           strlen(buffer.m_pData) == buffer.m_nSize;
}

UINT AFX_CDECL CheckProxyBatchProc(LPVOID pParam)
{
    CTestTimings::NoteThreadEntry(pParam);
    LONGLONG llStep = CTestTimings::Now();
    CCheckAnonymousWorker& worker = GetCheckAnonymousWorker();
    CProxyList* pBatch = static_cast<CProxyList*>(pParam);
    if (pBatch == NULL || pBatch->GetCount() > AVAILABILITY_BATCH_SIZE) {
        delete pBatch;
        worker.ReleaseSlot();
        return 0;
    }

    const int nCount = (int)pBatch->GetCount();
    const TestPageSettings page = ReadTestPageSettings();
    CProxy proxies[AVAILABILITY_BATCH_SIZE];
    CCurlBuffer buffers[AVAILABILITY_BATCH_SIZE] = {};
    CURL* handles[AVAILABILITY_BATCH_SIZE] = {};

    CURLM* pMulti = EnsureCurlForTests() ? curl_multi_init() : NULL;
    if (pMulti != NULL) {
        POSITION pos = pBatch->GetHeadPosition();
        for (int i = 0; i < nCount; ++i) {
            proxies[i] = pBatch->GetNext(pos);
            handles[i] = CreateTestTransfer(proxies[i], page, &buffers[i]);
        }
        for (int i = 0; i < nCount; ++i) {
            if (handles[i] != NULL)
                curl_multi_add_handle(pMulti, handles[i]);
        }
        CTestTimings::AddSince(TEST_STEP_SETUP, llStep);

        DriveTestTransfers(pMulti);

        // Read also after a stop: a fetch that completed before it counts.
        llStep = CTestTimings::Now();
        int nLeft = 0;
        while (CURLMsg* pMsg = curl_multi_info_read(pMulti, &nLeft)) {
            if (pMsg->msg != CURLMSG_DONE)
                continue;
            for (int i = 0; i < nCount; ++i) {
                if (handles[i] != pMsg->easy_handle)
                    continue;
                CTestTimings::NoteFetch(handles[i]);
                if (IsWholeReply(pMsg->data.result, buffers[i]) &&
                    StrStrIA(buffers[i].m_pData, page.strCorrectValue) != NULL)
                    worker.AddResult(proxies[i]);
                break;
            }
        }
        CTestTimings::AddSince(TEST_STEP_RESULTS, llStep);
    }

    llStep = CTestTimings::Now();
    PostTestProgress(nCount);
    CTestTimings::AddSince(TEST_STEP_FINISH, llStep);

    llStep = CTestTimings::Now();
    ReleaseTestTransfers(pMulti, handles, buffers, nCount);
    delete pBatch;
    CTestTimings::AddSince(TEST_STEP_CLEANUP, llStep);
    llStep = CTestTimings::Now();
    worker.ReleaseSlot();
    CTestTimings::AddSince(TEST_STEP_FINISH, llStep);
    return 0;
}

void ReleaseTestTransfers(CURLM* pMulti, CURL** handles, CCurlBuffer* buffers, int nCount)
{
    for (int i = 0; i < nCount; ++i)
        free(buffers[i].m_pData);
    if (pMulti != NULL) {
        for (int i = 0; i < nCount; ++i) {
            if (handles[i] != NULL)
                curl_multi_remove_handle(pMulti, handles[i]);
        }
        curl_multi_cleanup(pMulti);
    }
    for (int i = 0; i < nCount; ++i) {
        if (handles[i] != NULL)
            curl_easy_cleanup(handles[i]);
    }
}
