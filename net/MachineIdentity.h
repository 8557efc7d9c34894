// Who this machine is to the maker's server: the address of one Ethernet
// adapter, kept stable across runs through the settings; and the user's real
// IP address for the main window.
#pragma once

#include "afx.h"

#include <iphlpapi.h>
#include <oaidl.h>

#include <vector>

class CSettings;

#define MAC_ADDRESS_SIZE 18  // "xx:xx:xx:xx:xx:xx" and its NUL
#define REAL_IP_SIZE 16      // dotted IPv4 and its NUL

// The adapter address sent with every request, found once per run; NULL
// when the machine has no Ethernet adapter.
const char* GetMacAddress();

// The address the check-in reply gave (g_szRealIP), else one of this
// machine, found once per run; NULL when none was found.
const char* GetRealIPAddress();

// The first address of this machine's host name, "0.0.0.0" when the name
// cannot be found or resolved, into the real address cache. Always true.
bool ResolveLocalAddress(int nSize);

// --- the steps behind the cached functions ------------------------------------

// MACAddress of every adapter whose AdapterTypeID is 0 (Ethernet 802.3), in
// WMI's order. False when WMI could not be asked; the list is then empty.
bool QueryEthernetAddresses(std::vector<CStringA>& addresses);

// One adapter of the query: its address when its AdapterTypeID is a 32-bit
// 0 (Ethernet 802.3) and its MACAddress a text that fits the cache.
bool EthernetAdapterAddress(const VARIANT& type, const VARIANT& mac, CStringA& strAddress);

// Which of the adapter addresses to send: the stored one while it is still
// present (bStoredMet), else the first. -1 for an empty list.
int ChooseAdapterAddress(const char* pszStored, const std::vector<CStringA>& addresses, bool& bStoredMet);

// The whole lookup on the given settings, uncached: queries WMI, applies the
// stored-address rule and, when the stored address is gone, stores and saves
// the new one. szMac is empty when there is no adapter address.
bool FindMacAddress(CSettings& settings, char (&szMac)[MAC_ADDRESS_SIZE]);
// The same on adapter addresses already queried.
bool FindMacAddressAmong(CSettings& settings, const std::vector<CStringA>& addresses, char (&szMac)[MAC_ADDRESS_SIZE]);

// The first address of a PPP or SLIP adapter in an IP Helper adapter list.
bool FindDialUpAddress(const IP_ADAPTER_INFO* pAdapters, char (&szAddress)[REAL_IP_SIZE]);

// The host name's first address as dotted text, "0.0.0.0" when none.
void ResolveHostAddress(char (&szAddress)[REAL_IP_SIZE]);
