// The proxy record, the proxy list and the one list behind the main window.
#include "proxy/Proxy.h"

#include <string.h>

// Constant-initialised, so it is ready before any other static object runs;
// it keeps the external linkage of its declaration.
constexpr CProxy g_localRelayProxy("127.0.0.1", LOCAL_RELAY_PORT, -1, 0, 0, PROXY_SPEED_UNMEASURED);

bool CProxy::operator==(const CProxy& other) const
{
    return m_nPort == other.m_nPort && strcmp(m_szIP, other.m_szIP) == 0;
}

CProxyList& GetProxyList()
{
    static CProxyList list(10);
    return list;
}

POSITION FindProxy(const CProxyList& list, const CProxy& proxy)
{
    POSITION pos = list.GetHeadPosition();
    while (pos != NULL) {
        POSITION current = pos;
        if (list.GetNext(pos) == proxy)
            return current;
    }
    return NULL;
}
