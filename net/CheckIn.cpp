// The start-up check-in: its request, the reading of its reply and its values stored.
#include "net/CheckIn.h"

#include "net/HttpPost.h"
#include "net/MachineIdentity.h"
#include "net/ServerRequest.h"
#include "net/ServerRoot.h"
#include "proxy/CountryTable.h"
#include "proxy/Decimal.h"

#include <string.h>

namespace {

const int kMaxMessageLength = 255;
const int kMaxRealIPLength = 15;

const char* FindText(const char* pBegin, const char* pEnd, const char* pszNeedle)
{
    size_t nNeedle = strlen(pszNeedle);
    for (const char* p = pBegin; (size_t)(pEnd - p) >= nNeedle; ++p) {
        if (memcmp(p, pszNeedle, nNeedle) == 0)
            return p;
    }
    return NULL;
}

// 8-bit server text as wide text; a text over the limit is dropped.
CString ToMessageText(const CStringA& strValue)
{
    CString strText(strValue);
    if (strText.GetLength() > kMaxMessageLength)
        strText.Empty();
    return strText;
}

}  // namespace

StartReply::StartReply()
    : bEmpty(true),
      bHasMessage(false),
      nMessageType(1),
      bHasCaption(false),
      bHasPassword(false),
      bHasDelay(false),
      nRenewalDelay(0),
      bHasCountry(false),
      bHasRealIP(false)
{}

StartReply ParseStartReply(const char* pReply, size_t nLength)
{
    StartReply reply;
    if (pReply == NULL || nLength == 0)
        return reply;
    reply.bEmpty = false;
    const char* pEnd = pReply + nLength;

    CStringA strValue;
    if (FindMarkedValue(pReply, nLength, "MsgStart", "MsgEnd", strValue)) {
        reply.bHasMessage = true;
        reply.strMessage = ToMessageText(strValue);
        const char* pType = FindText(pReply, pEnd, "MsgType:");
        if (pType != NULL && pType + 8 < pEnd && pType[8] >= '1' && pType[8] <= '4')
            reply.nMessageType = pType[8] - '0';
        if (FindMarkedValue(pReply, nLength, "MsgCapStart", "MsgCapEnd", strValue)) {
            reply.bHasCaption = true;
            reply.strCaption = ToMessageText(strValue);
        }
    }

    if (ParsePasswordReply(pReply, nLength, strValue)) {
        reply.bHasPassword = true;
        reply.strPassword = strValue;
    }

    if (FindMarkedValue(pReply, nLength, "TimeStart", "TimeEnd", strValue)) {
        reply.bHasDelay = true;
        reply.nRenewalDelay = ParseDecimal(strValue.GetString());
    }

    const char* pCode = FindText(pReply, pEnd, "CountryCode:");
    if (pCode != NULL && pEnd - (pCode + 12) >= 2) {
        reply.bHasCountry = true;
        reply.strCountryCode = CString(CStringA(pCode + 12, 2));
    }

    const char* pAddress = FindText(pReply, pEnd, "IPAddress:");
    if (pAddress != NULL) {
        const char* pFirst = pAddress + 10;
        const char* p = pFirst;
        while (p < pEnd && ((*p >= '0' && *p <= '9') || *p == '.'))
            ++p;
        // A longer run is no IPv4 address; cut short it would name another host.
        if (p - pFirst <= kMaxRealIPLength) {
            reply.bHasRealIP = true;
            reply.strRealIP = CStringA(pFirst, (int)(p - pFirst));
        }
    }
    return reply;
}

StartReply ParseStartReply(const CStringA& strReply)
{
    return ParseStartReply(strReply.GetString(), (size_t)strReply.GetLength());
}

CStringA SendStartRequest()
{
    CStringA strVersion = GetProgramVersion();
    CStringA strReply;
    HttpPost(GetServerUrl(SERVER_START_PATH), BuildStartBody(GetMacAddress(), strVersion, OPERATION_CHECK_IN),
             strReply);
    return strReply;
}

void ApplyStartReply(const StartReply& reply, RenewalTime now)
{
    if (reply.bHasPassword)
        memcpy(g_szProxyPassword, reply.strPassword.GetString(), (size_t)reply.strPassword.GetLength() + 1);
    if (reply.bHasDelay && reply.nRenewalDelay != 0)
        g_nextPasswordTime = now + reply.nRenewalDelay;
    if (reply.bHasCountry)
        g_nRealCountry = FindCountryByCode(reply.strCountryCode);
    if (reply.bHasRealIP)
        memcpy(g_szRealIP, reply.strRealIP.GetString(), (size_t)reply.strRealIP.GetLength() + 1);
}
