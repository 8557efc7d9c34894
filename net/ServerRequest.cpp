// The pieces of every request to the maker's server and the values its replies hand out.
#include "net/ServerRequest.h"

#include "net/FileVersionInfo.h"
#include "net/HttpPost.h"
#include "net/MachineIdentity.h"
#include "net/ServerRoot.h"
#include "proxy/Settings.h"

#include <string.h>

char g_szProxyPassword[PROXY_PASSWORD_SIZE];
int g_nRealCountry = -1;
char g_szRealIP[16];
PFN_SET_RELAY_CREDENTIALS g_pfnSetRelayCredentials = NULL;

CStringA GetServerUrl(const char* pszPath)
{
    CStringA strUrl(GetServerRoot());
    strUrl += pszPath;
    return strUrl;
}

CStringA GetProgramVersion()
{
    CFileVersionInfo info;
    if (!info.Open())
        return CStringA();
    return CStringA(info.GetProductVersion());
}

CStringA BuildStartBody(const char* pszMac, const char* pszVersion, int nOperation)
{
    CStringA strBody;
    strBody.Format("Mac=%s&Version=%s&OperationType=%d", pszMac ? pszMac : "", pszVersion ? pszVersion : "",
                   nOperation);
    return strBody;
}

CStringA BuildRetrieveBody(const char* pszMac, const CSettingAnonymousItem& anonymity,
                           const CSettingCountryItem& countries)
{
    CStringA strBody;
    strBody.Format("OperationType=%d&Mac=%s&AnonymousType=", OPERATION_RETRIEVE, pszMac ? pszMac : "");
    if (anonymity.m_bElite)
        strBody += "1\t";
    if (anonymity.m_bAnonymous)
        strBody += "2\t";
    if (countries.m_bAllCountries) {
        strBody += "&AllCountry=1";
        return strBody;
    }
    strBody += "&AllCountry=0&Countries=";
    for (int i = 0; i < countries.m_nCount && countries.m_pSelected != NULL; ++i) {
        if (countries.m_pSelected[i] == 1)
            strBody.AppendFormat("%d\t", i);
    }
    return strBody;
}

static const char* FindBytes(const char* pBegin, const char* pEnd, const char* pszNeedle)
{
    size_t nNeedle = strlen(pszNeedle);
    if (nNeedle == 0 || (size_t)(pEnd - pBegin) < nNeedle)
        return NULL;
    for (const char* p = pBegin; p + nNeedle <= pEnd; ++p) {
        if (*p == *pszNeedle && memcmp(p, pszNeedle, nNeedle) == 0)
            return p;
    }
    return NULL;
}

bool FindMarkedValue(const char* pReply, size_t nLength, const char* pszStart, const char* pszEnd, CStringA& strValue)
{
    if (pReply == NULL)
        return false;
    const char* pEnd = pReply + nLength;
    const char* pStart = FindBytes(pReply, pEnd, pszStart);
    if (pStart == NULL)
        return false;
    const char* pValue = pStart + strlen(pszStart);
    const char* pStop = FindBytes(pValue, pEnd, pszEnd);
    if (pStop == NULL)
        return false;
    strValue = CStringA(pValue, (int)(pStop - pValue));
    return true;
}

bool ParsePasswordReply(const char* pReply, size_t nLength, CStringA& strPassword)
{
    CStringA strValue;
    if (!FindMarkedValue(pReply, nLength, "PWStart", "PWEnd", strValue))
        return false;
    // A password cut to fit would be refused by every upstream proxy.
    if (strValue.GetLength() >= PROXY_PASSWORD_SIZE)
        return false;
    strPassword = strValue;
    return true;
}

bool ApplyPasswordReply(const CStringA& strReply, const char* pszProxyUser)
{
    CStringA strPassword;
    if (!ParsePasswordReply(strReply.GetString(), (size_t)strReply.GetLength(), strPassword))
        return false;
    memcpy(g_szProxyPassword, strPassword.GetString(), (size_t)strPassword.GetLength() + 1);
    if (g_pfnSetRelayCredentials != NULL)
        g_pfnSetRelayCredentials(pszProxyUser);
    return true;
}

bool RequestProxyPassword()
{
    CStringA strVersion = GetProgramVersion();
    const char* pszMac = GetMacAddress();
    CSettingMiscItem* pMisc = GetSettings().GetMisc();
    const char* pszUser = pMisc != NULL ? pMisc->m_szProxyUser : NULL;

    CStringA strReply;
    HttpPost(GetServerUrl(SERVER_START_PATH), BuildStartBody(pszMac, strVersion, OPERATION_RENEW_PASSWORD), strReply);
    return ApplyPasswordReply(strReply, pszUser);
}

void FetchTestDefinition(CStringA& strReply)
{
    HttpPost(GetServerUrl(SERVER_TESTURL_PATH), CStringA(), strReply);
}
