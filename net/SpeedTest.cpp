// The speed test: parallel fetches of the test page through one proxy.
#include "net/SpeedTest.h"

#include "net/WorkerMessages.h"
#include "net/AvailabilityTest.h"
#include "net/CurlBuffer.h"
#include "net/ProxyAuthorization.h"
#include "net/RelayServer.h"
#include "net/ServerRequest.h"
#include "net/TestTimings.h"
#include "net/Worker.h"
#include "proxy/Settings.h"

#include <shlwapi.h>
#include <stdlib.h>
#include <string.h>

namespace {
const char* const s_blockWords[] = { "error", "forbidden", "denied", "deny", "human", "proxy" };

// The header the relay writes, from the user name of the settings and the
// password handed out by the maker's server as they stand now.
CStringA CurrentAuthorizationHeader()
{
    char szUser[sizeof(((CSettingMiscItem*)0)->m_szProxyUser)];
    CSettingMiscItem* pMisc = GetSettings().GetMisc();
    lstrcpynA(szUser, pMisc != NULL ? pMisc->m_szProxyUser : DEFAULT_PROXY_USER, sizeof(szUser));
    // The user-interface thread may renew the password meanwhile: the relay's
    // copy is read whole under the lock that the renewal writes it under.
    char szRelayUser[RELAY_CREDENTIAL_SIZE];
    char szPassword[RELAY_CREDENTIAL_SIZE];
    g_relayServer.GetCredentials(szRelayUser, szPassword);

    char szHeader[PROXY_AUTHORIZATION_LINE_BUFFER];
    FormatProxyAuthorization(szHeader, sizeof(szHeader), szUser, szPassword);
    SecureZeroMemory(szPassword, sizeof(szPassword));
    return CStringA(szHeader);
}
}  // namespace

bool IsCleanTestPage(const char* pszBody)
{
    if (pszBody == NULL || pszBody[0] == '\0')
        return false;
    for (const char* pszWord : s_blockWords) {
        if (StrStrIA(pszBody, pszWord) != NULL)
            return false;
    }
    return true;
}

bool MeasureProxySpeed(CProxy& proxy)
{
    LONGLONG llStep = CTestTimings::Now();
    if (!EnsureCurlForTests())
        return false;
    const TestPageSettings page = ReadTestPageSettings();
    const CStringA strHeader = CurrentAuthorizationHeader();

    CCurlBuffer buffers[SPEED_TEST_FETCHES] = {};
    CURL* handles[SPEED_TEST_FETCHES] = {};
    curl_slist* headers[SPEED_TEST_FETCHES] = {};
    int nCounted = 0;
    double dSumMs = 0;
    bool bRejected = false;

    CURLM* pMulti = curl_multi_init();
    if (pMulti != NULL) {
        for (int i = 0; i < SPEED_TEST_FETCHES; ++i) {
            handles[i] = CreateTestTransfer(proxy, page, &buffers[i]);
            if (handles[i] == NULL)
                continue;
            // Credentials too long for the header go without one, as the relay's do.
            if (!strHeader.IsEmpty()) {
                headers[i] = curl_slist_append(NULL, strHeader);
                curl_easy_setopt(handles[i], CURLOPT_HTTPHEADER, headers[i]);
            }
            curl_multi_add_handle(pMulti, handles[i]);
        }
        CTestTimings::AddSince(TEST_STEP_SETUP, llStep);

        DriveTestTransfers(pMulti);

        llStep = CTestTimings::Now();
        int nLeft = 0;
        while (CURLMsg* pMsg = curl_multi_info_read(pMulti, &nLeft)) {
            if (pMsg->msg != CURLMSG_DONE)
                continue;
            for (int i = 0; i < SPEED_TEST_FETCHES; ++i) {
                if (handles[i] == NULL || handles[i] != pMsg->easy_handle)
                    continue;
                CTestTimings::NoteFetch(handles[i]);
                if (!IsWholeReply(pMsg->data.result, buffers[i]))
                    break;
                if (!IsCleanTestPage(buffers[i].m_pData))
                    bRejected = true;
                else if (StrStrIA(buffers[i].m_pData, page.strCorrectValue) != NULL) {
                    double dSeconds = 0;
                    curl_easy_getinfo(handles[i], CURLINFO_TOTAL_TIME, &dSeconds);
                    ++nCounted;
                    dSumMs += dSeconds * 1000.0;
                }
                break;
            }
        }
        CTestTimings::AddSince(TEST_STEP_RESULTS, llStep);
    }

    llStep = CTestTimings::Now();
    ReleaseTestTransfers(pMulti, handles, buffers, SPEED_TEST_FETCHES);
    for (int i = 0; i < SPEED_TEST_FETCHES; ++i)
        curl_slist_free_all(headers[i]);
    CTestTimings::AddSince(TEST_STEP_CLEANUP, llStep);

    if (bRejected || nCounted == 0)
        return false;
    proxy.m_nUptime = nCounted;
    proxy.m_nSpeed = (int)(dSumMs / nCounted);
    return true;
}

UINT AFX_CDECL TestProxySpeedProc(LPVOID pParam)
{
    CTestTimings::NoteThreadEntry(pParam);
    CTestSpeedWorker& worker = GetTestSpeedWorker();
    CProxy* pProxy = static_cast<CProxy*>(pParam);
    if (pProxy != NULL) {
        if (MeasureProxySpeed(*pProxy)) {
            const LONGLONG llResult = CTestTimings::Now();
            worker.AddResult(*pProxy);
            CTestTimings::AddSince(TEST_STEP_RESULTS, llResult);
        }
        delete pProxy;
    }
    const LONGLONG llFinish = CTestTimings::Now();
    PostTestProgress(1);
    worker.ReleaseSlot();
    CTestTimings::AddSince(TEST_STEP_FINISH, llFinish);
    return 0;
}

UINT AFX_CDECL RetestProxyThreadProc(LPVOID pParam)
{
    CRetestRequest* pRequest = static_cast<CRetestRequest*>(pParam);
    if (pRequest == NULL)
        return 0;
    bool bPassed = MeasureProxySpeed(pRequest->m_proxy);
    if (g_hMainWnd == NULL || !::PostMessageW(g_hMainWnd, WM_RETEST_RESULT, (WPARAM)pRequest, bPassed ? 1 : 0))
        delete pRequest;  // nobody will take it
    return 0;
}
