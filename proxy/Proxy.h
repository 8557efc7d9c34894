// The proxy record, the proxy list and the one list behind the main window.
#pragma once

#include "afx.h"

// Port of the program's own relay proxy on every local address.
#define LOCAL_RELAY_PORT 3188
// Speed of a proxy that was never measured: one hour in milliseconds.
#define PROXY_SPEED_UNMEASURED 3600000
// Size of an address text with its NUL: 15 characters at most.
#define PROXY_IP_SIZE 16

// A small value copied freely into lists, queues and thread arguments.
class CProxy
{
public:
    char m_szIP[PROXY_IP_SIZE];
    int m_nPort;
    int m_nCountry;  // country-table index, -1 when not known
    int m_nType;     // 1 elite, 2 anonymous, 0 not classified (files allow 3)
    int m_nUptime;   // successful fetches of the five in a speed test
    int m_nSpeed;    // mean response time in ms, or PROXY_SPEED_UNMEASURED

    constexpr CProxy()
        : m_szIP{}, m_nPort(0), m_nCountry(-1), m_nType(0), m_nUptime(0), m_nSpeed(PROXY_SPEED_UNMEASURED)
    {}

    // An address longer than 15 characters is dropped whole, never cut: a
    // cut address would name another machine.
    constexpr CProxy(const char* pszIP, int nPort, int nCountry, int nType, int nUptime, int nSpeed)
        : m_szIP{}, m_nPort(nPort), m_nCountry(nCountry), m_nType(nType), m_nUptime(nUptime), m_nSpeed(nSpeed)
    {
        if (pszIP == nullptr)
            return;
        int nLength = 0;
        while (nLength < PROXY_IP_SIZE && pszIP[nLength] != '\0')
            ++nLength;
        if (nLength >= PROXY_IP_SIZE)
            return;
        for (int i = 0; i < nLength; ++i)
            m_szIP[i] = pszIP[i];
    }

    // Same address text byte for byte and same port; the measured values
    // do not take part.
    bool operator==(const CProxy& other) const;
    bool operator!=(const CProxy& other) const { return !(*this == other); }
};

typedef CList<CProxy, CProxy&> CProxyList;

// The process-wide list shown in the main window, made on first use.
CProxyList& GetProxyList();

// Position of the first element, from the head, equal to proxy; NULL if none.
POSITION FindProxy(const CProxyList& list, const CProxy& proxy);

// The relay endpoint the connection's proxy setting points at.
extern const CProxy g_localRelayProxy;
