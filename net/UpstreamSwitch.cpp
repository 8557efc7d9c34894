// Chooses the relay's upstream, by hand or by walking the list in automatic mode.
#include "net/UpstreamSwitch.h"

#include "net/WorkerMessages.h"
#include "net/ConnectionProxy.h"
#include "net/Harvest.h"
#include "net/RelayServer.h"
#include "net/SpeedTest.h"
#include "proxy/Settings.h"

void SetUpstreamProxy(CProxy proxy, CHideState& state)
{
    g_relayServer.SetUpstream(proxy.m_szIP, proxy.m_nPort);
    state.m_curProxy = proxy;
    if (g_hMainWnd != NULL)
        PostMessageW(g_hMainWnd, WM_PROXY_IN_USE, state.m_nCurIndex >= 0 ? 1 : 0,
                     static_cast<LPARAM>(state.m_nCurIndex));
}

int UsableProxyCount(int nCount, int nRatio)
{
    if (nCount <= 0 || nRatio <= 0)
        return 0;
    // 64 bits: the product must not wrap for a long list.
    long long nProduct = static_cast<long long>(nCount) * nRatio;
    long long nUsable = nProduct / 100 + (nProduct % 100 > 0 ? 1 : 0);
    return nUsable > nCount ? nCount : static_cast<int>(nUsable);
}

void SwitchToNextProxy(CHideState& state, bool bAdvance)
{
    CProxyList& list = GetProxyList();
    CSettingSwitchItem* pSwitch = GetSettings().GetSwitch();
    if (pSwitch == NULL)
        return;
    int nCount = static_cast<int>(list.GetCount());
    int nUsable = UsableProxyCount(nCount, pSwitch->m_nRatio);
    if (nUsable == 0)
        return;
    if (bAdvance)
        ++state.m_nCurIndex;
    if (state.m_nCurIndex >= nUsable)
        state.m_nCurIndex = 0;
    if (state.m_nCurIndex < 0 || state.m_nCurIndex >= nCount)
        return;
    POSITION pos = list.FindIndex(state.m_nCurIndex);
    if (pos == NULL)
        return;
    SetUpstreamProxy(list.GetAt(pos), state);
}

void StartAutoHide(CHideState& state)
{
    state.m_nCurIndex = -1;
    state.m_nNextIndex = -1;
    SetBrowserProxy(state, g_localRelayProxy);
    SwitchToNextProxy(state, true);
}

void RetestNextProxy(CHideState& state)
{
    state.m_nNextIndex = -1;
    if (state.m_nCurIndex < 0)
        return;
    int nIndex = state.m_nCurIndex + 1;
    CProxyList& list = GetProxyList();
    POSITION pos = list.FindIndex(nIndex);
    if (pos == NULL)
        return;
    CRetestRequest* pRequest = new CRetestRequest;
    pRequest->m_proxy = list.GetAt(pos);
    pRequest->m_nIndex = nIndex;
    state.m_nNextIndex = nIndex;
    if (AfxBeginThread(RetestProxyThreadProc, pRequest) == NULL) {
        delete pRequest;
        state.m_nNextIndex = -1;
    }
}

void HandleRetestResult(CHideState& state, CRetestRequest* pRequest, bool bPassed)
{
    if (pRequest == NULL)
        return;
    int nIndex = pRequest->m_nIndex;
    CProxy proxy = pRequest->m_proxy;
    delete pRequest;
    state.m_nNextIndex = -1;
    // A harvest replacing the list from its thread: the result is dropped.
    if (bPassed || IsHarvestRunning())
        return;
    // The list may have changed while the test ran: only the same proxy at
    // the same position goes.
    CProxyList& list = GetProxyList();
    POSITION pos = nIndex >= 0 ? list.FindIndex(nIndex) : NULL;
    if (pos == NULL || list.GetAt(pos) != proxy)
        return;
    list.RemoveAt(pos);
    if (g_hMainWnd != NULL)
        PostMessageW(g_hMainWnd, WM_REFRESH_PROXY_LIST, 0, 0);
    RetestNextProxy(state);
}
