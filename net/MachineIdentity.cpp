// The adapter address that names this machine to the server, and the real IP address.
#include "net/MachineIdentity.h"

#include "net/ServerRequest.h"
#include "proxy/Settings.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <wininet.h>
#include <wbemdisp.h>

#include <string.h>

namespace {

// The WMI scripting locator.
const CLSID kClsidSWbemLocator = { 0x76a64158, 0xcb41, 0x11d1, { 0x8b, 0x02, 0x00, 0x60, 0x08, 0x06, 0xd9, 0xb6 } };
const LONG kWbemFlagReturnImmediately = 0x10;

template <class T>
class CComRef
{
public:
    CComRef() : m_p(NULL) {}
    ~CComRef() { Release(); }
    void Release()
    {
        if (m_p) {
            m_p->Release();
            m_p = NULL;
        }
    }
    T** operator&()
    {
        Release();
        return &m_p;
    }
    T* operator->() const { return m_p; }
    operator bool() const { return m_p != NULL; }
    T* Get() const { return m_p; }

private:
    T* m_p;
    CComRef(const CComRef&) = delete;
    CComRef& operator=(const CComRef&) = delete;
};

class CBStr
{
public:
    explicit CBStr(LPCWSTR psz) : m_b(SysAllocString(psz)) {}
    ~CBStr() { SysFreeString(m_b); }
    operator BSTR() const { return m_b; }

private:
    BSTR m_b;
    CBStr(const CBStr&) = delete;
    CBStr& operator=(const CBStr&) = delete;
};

class CVariant
{
public:
    CVariant() { VariantInit(&v); }
    ~CVariant() { VariantClear(&v); }
    VARIANT v;

private:
    CVariant(const CVariant&) = delete;
    CVariant& operator=(const CVariant&) = delete;
};

class CComScope
{
public:
    CComScope() : m_hr(CoInitialize(NULL)) {}
    ~CComScope()
    {
        if (SUCCEEDED(m_hr))
            CoUninitialize();
    }

private:
    HRESULT m_hr;
};

bool ReadProperty(ISWbemObject* pObject, LPCWSTR pszName, VARIANT& value)
{
    CComRef<ISWbemPropertySet> pProperties;
    if (FAILED(pObject->get_Properties_(&pProperties)) || !pProperties)
        return false;
    CComRef<ISWbemProperty> pProperty;
    CBStr name(pszName);
    if (FAILED(pProperties->Item(name, 0, &pProperty)) || !pProperty)
        return false;
    return SUCCEEDED(pProperty->get_Value(&value));
}

// Reads one adapter; false when it does not count.
bool ReadEthernetAddress(IDispatch* pDispatch, CStringA& strAddress)
{
    CComRef<ISWbemObject> pObject;
    if (FAILED(pDispatch->QueryInterface(__uuidof(ISWbemObject), reinterpret_cast<void**>(&pObject))) || !pObject)
        return false;
    CVariant type;
    if (!ReadProperty(pObject.Get(), L"AdapterTypeID", type.v))
        return false;
    CVariant mac;
    ReadProperty(pObject.Get(), L"MACAddress", mac.v);
    return EthernetAdapterAddress(type.v, mac.v, strAddress);
}

char g_szMacCache[MAC_ADDRESS_SIZE];
bool g_bMacPending = true;

char g_szRealIPCache[REAL_IP_SIZE];
bool g_bRealIPPending = true;

template <size_t N>
void CopyText(char (&dest)[N], const char* pszSource)
{
    size_t n = strlen(pszSource);
    if (n >= N)
        n = N - 1;
    memcpy(dest, pszSource, n);
    dest[n] = '\0';
}

}  // namespace

bool EthernetAdapterAddress(const VARIANT& type, const VARIANT& mac, CStringA& strAddress)
{
    bool bEthernet = (V_VT(&type) == VT_I4 && V_I4(&type) == 0) || (V_VT(&type) == VT_UI4 && V_UI4(&type) == 0);
    if (!bEthernet || V_VT(&mac) != VT_BSTR || V_BSTR(&mac) == NULL)
        return false;
    strAddress = CStringA(static_cast<LPCWSTR>(V_BSTR(&mac)));
    // An address the cache cannot hold whole is never sent cut short.
    return !strAddress.IsEmpty() && strAddress.GetLength() < MAC_ADDRESS_SIZE;
}

bool QueryEthernetAddresses(std::vector<CStringA>& addresses)
{
    addresses.clear();
    CComScope com;
    CComRef<ISWbemLocator> pLocator;
    if (FAILED(CoCreateInstance(kClsidSWbemLocator, NULL, CLSCTX_INPROC_SERVER, __uuidof(ISWbemLocator),
                                reinterpret_cast<void**>(&pLocator))) ||
        !pLocator)
        return false;

    CComRef<ISWbemServices> pServices;
    CBStr server(L"."), space(L"root\\cimv2"), empty(L"");
    if (FAILED(pLocator->ConnectServer(server, space, empty, empty, empty, empty, 0, NULL, &pServices)) || !pServices)
        return false;

    CComRef<ISWbemObjectSet> pSet;
    CBStr query(L"Select * from Win32_NetworkAdapter"), language(L"WQL");
    if (FAILED(pServices->ExecQuery(query, language, kWbemFlagReturnImmediately, NULL, &pSet)) || !pSet)
        return false;

    CComRef<IUnknown> pUnknown;
    if (FAILED(pSet->get__NewEnum(&pUnknown)) || !pUnknown)
        return false;
    CComRef<IEnumVARIANT> pEnum;
    if (FAILED(pUnknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(&pEnum))) || !pEnum)
        return false;

    for (;;) {
        CVariant item;
        ULONG nFetched = 0;
        if (pEnum->Next(1, &item.v, &nFetched) != S_OK || nFetched != 1)
            break;
        if (V_VT(&item.v) != VT_DISPATCH || V_DISPATCH(&item.v) == NULL)
            continue;
        CStringA strAddress;
        if (ReadEthernetAddress(V_DISPATCH(&item.v), strAddress))
            addresses.push_back(strAddress);
    }
    return true;
}

int ChooseAdapterAddress(const char* pszStored, const std::vector<CStringA>& addresses, bool& bStoredMet)
{
    bStoredMet = false;
    if (pszStored != NULL && *pszStored != '\0') {
        for (size_t i = 0; i < addresses.size(); ++i) {
            if (strcmp(addresses[i].GetString(), pszStored) == 0) {
                bStoredMet = true;
                return (int)i;
            }
        }
    }
    return addresses.empty() ? -1 : 0;
}

bool FindMacAddress(CSettings& settings, char (&szMac)[MAC_ADDRESS_SIZE])
{
    std::vector<CStringA> addresses;
    QueryEthernetAddresses(addresses);
    return FindMacAddressAmong(settings, addresses, szMac);
}

bool FindMacAddressAmong(CSettings& settings, const std::vector<CStringA>& addresses, char (&szMac)[MAC_ADDRESS_SIZE])
{
    szMac[0] = '\0';
    CSettingMiscItem* pMisc = settings.GetMisc();
    const char* pszStored = pMisc != NULL ? pMisc->m_szMac : "";
    bool bStoredMet = false;
    int nChosen = ChooseAdapterAddress(pszStored, addresses, bStoredMet);
    if (nChosen < 0)
        return false;
    CopyText(szMac, addresses[nChosen].GetString());
    if (!bStoredMet && pMisc != NULL) {
        pMisc->SetMac(szMac);
        SaveSettings(settings);
    }
    return true;
}

const char* GetMacAddress()
{
    if (g_bMacPending) {
        g_bMacPending = false;
        FindMacAddress(GetSettings(), g_szMacCache);
    }
    return g_szMacCache[0] != '\0' ? g_szMacCache : NULL;
}

void ResolveHostAddress(char (&szAddress)[REAL_IP_SIZE])
{
    // Winsock may not be running yet this early in start-up.
    WSADATA wsaData;
    bool bStarted = WSAStartup(MAKEWORD(2, 2), &wsaData) == 0;
    struct in_addr address;
    address.s_addr = 0;
    char szHost[128];
    if (gethostname(szHost, sizeof(szHost)) == 0) {
        szHost[sizeof(szHost) - 1] = '\0';
        struct hostent* pHost = gethostbyname(szHost);
        if (pHost != NULL && pHost->h_addrtype == AF_INET && pHost->h_addr_list != NULL &&
            pHost->h_addr_list[0] != NULL)
            memcpy(&address, pHost->h_addr_list[0], sizeof(address));
    }
    CopyText(szAddress, inet_ntoa(address));
    if (bStarted)
        WSACleanup();
}

bool ResolveLocalAddress(int nSize)
{
    char szAddress[REAL_IP_SIZE];
    ResolveHostAddress(szAddress);
    if (nSize > REAL_IP_SIZE)
        nSize = REAL_IP_SIZE;
    if (nSize > 0) {
        lstrcpynA(g_szRealIPCache, szAddress, nSize);
    }
    return true;
}

bool FindDialUpAddress(const IP_ADAPTER_INFO* pAdapters, char (&szAddress)[REAL_IP_SIZE])
{
    for (const IP_ADAPTER_INFO* p = pAdapters; p != NULL; p = p->Next) {
        if (p->Type == MIB_IF_TYPE_PPP || p->Type == MIB_IF_TYPE_SLIP) {
            CopyText(szAddress, p->IpAddressList.IpAddress.String);
            return true;
        }
    }
    return false;
}

const char* GetRealIPAddress()
{
    if (!g_bRealIPPending)
        return g_szRealIPCache[0] != '\0' ? g_szRealIPCache : NULL;
    g_bRealIPPending = false;
    if (g_szRealIP[0] != '\0') {
        CopyText(g_szRealIPCache, g_szRealIP);
        return g_szRealIPCache;
    }

    DWORD dwFlags = 0;
    if (!InternetGetConnectedState(&dwFlags, 0) || !(dwFlags & INTERNET_CONNECTION_MODEM)) {
        ResolveLocalAddress(REAL_IP_SIZE);
        return g_szRealIPCache[0] != '\0' ? g_szRealIPCache : NULL;
    }

    ULONG nSize = 0;
    if (GetAdaptersInfo(NULL, &nSize) == ERROR_BUFFER_OVERFLOW && nSize != 0) {
        std::vector<BYTE> buffer(nSize);
        IP_ADAPTER_INFO* pAdapters = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
        if (GetAdaptersInfo(pAdapters, &nSize) == NO_ERROR)
            FindDialUpAddress(pAdapters, g_szRealIPCache);
    }
    return g_szRealIPCache[0] != '\0' ? g_szRealIPCache : NULL;
}
