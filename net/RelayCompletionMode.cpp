// Immediate completions handled on the thread that started them: each
// completion packet costs the relay a trip through the port, which on some
// systems is most of the cost of a block.
#include "net/RelayCompletionMode.h"

#include <vector>

namespace {

bool ProvidersUseSystemHandles()
{
    INT protocols[] = { IPPROTO_TCP, 0 };
    DWORD nBytes = 0;
    if (WSAEnumProtocolsW(protocols, NULL, &nBytes) != SOCKET_ERROR || WSAGetLastError() != WSAENOBUFS || nBytes == 0)
        return false;
    std::vector<char> buffer(nBytes);
    WSAPROTOCOL_INFOW* pInfo = reinterpret_cast<WSAPROTOCOL_INFOW*>(buffer.data());
    int nCount = WSAEnumProtocolsW(protocols, pInfo, &nBytes);
    if (nCount == SOCKET_ERROR || nCount == 0)
        return false;
    bool bAnyIpv4 = false;
    for (int i = 0; i < nCount; ++i) {
        if (pInfo[i].iAddressFamily != AF_INET)
            continue;
        bAnyIpv4 = true;
        if ((pInfo[i].dwServiceFlags1 & XP1_IFS_HANDLES) == 0)
            return false;
    }
    return bAnyIpv4;
}

}  // namespace

bool RelaySkipPortIsSafe()
{
    // Winsock must be started before the first call; the answer does not
    // change while the process runs.
    static const bool s_bSafe = ProvidersUseSystemHandles();
    return s_bSafe;
}

bool RelaySetSkipPortOnSuccess(SOCKET s)
{
    return SetFileCompletionNotificationModes(reinterpret_cast<HANDLE>(s), FILE_SKIP_COMPLETION_PORT_ON_SUCCESS) !=
           FALSE;
}
