// Fetches a proxy list from the maker's server for Get Proxy.
#include "net/ProxyDownload.h"

#include "net/HttpPost.h"
#include "net/MachineIdentity.h"
#include "net/ServerRequest.h"
#include "net/ServerRoot.h"
#include "proxy/Settings.h"

#include <string.h>

#include "afxwin.h"

namespace {

void ShowMessage(CWnd* pOwner, LPCWSTR pszText)
{
    if (pOwner != NULL && pOwner->GetSafeHwnd() != NULL)
        pOwner->MessageBox(pszText, NULL, MB_OK);
    else
        AfxMessageBox(pszText, MB_OK);
}

const wchar_t kNoNetwork[] = L"Could not find network connection in your system.";
const wchar_t kNoServer[] = L"Could not access server,please try again later.";
const wchar_t kNoProxy[] = L"Sorry, there is no proxy found for these countries.";
const wchar_t kNoFile[] =
    L"Could not write local file.Please run software as Windows Administrator. "
    L"Another choice is NOT to install software to C:\\Program Files\\ folder. "
    L"See the FAQ on http://www.corvanetessaly.com/ for more help.";

}  // namespace

RetrieveReplyKind ClassifyRetrieveReply(const char* pReply, size_t nLength)
{
    if (pReply == NULL || nLength == 0)
        return RETRIEVE_FAILED;
    if (nLength > 7) {
        for (size_t i = 0; i < 7; ++i) {
            if (!((pReply[i] >= '0' && pReply[i] <= '9') || pReply[i] == '.'))
                return RETRIEVE_FAILED;
        }
        return RETRIEVE_LIST;
    }
    for (size_t i = 0; i + 5 <= nLength; ++i) {
        if (memcmp(pReply + i, "Empty", 5) == 0)
            return RETRIEVE_EMPTY;
    }
    return RETRIEVE_FAILED;
}

bool WriteProxyTmp(const CStringA& strReply, LPCTSTR pszPath)
{
    CFile file;
    if (!file.Open(pszPath, CFile::modeCreate | CFile::modeReadWrite))
        return false;
    try {
        file.Write(strReply.GetString(), (UINT)strReply.GetLength());
        file.Close();
    } catch (CException* e) {
        e->Delete();
        return false;
    }
    return true;
}

bool StoreProxyListReply(const CStringA& strReply, LPCTSTR pszPath, CWnd* pOwner)
{
    switch (ClassifyRetrieveReply(strReply.GetString(), (size_t)strReply.GetLength())) {
    case RETRIEVE_LIST:
        if (WriteProxyTmp(strReply, pszPath))
            return true;
        ShowMessage(pOwner, kNoFile);
        return false;
    case RETRIEVE_EMPTY: ShowMessage(pOwner, kNoProxy); return false;
    default: ShowMessage(pOwner, kNoServer); return false;
    }
}

bool DownloadProxyList(CWnd* pOwner)
{
    const char* pszMac = GetMacAddress();
    if (pszMac == NULL) {
        ShowMessage(pOwner, kNoNetwork);
        return false;
    }
    CSettings& settings = GetSettings();
    CStringA strReply;
    if (settings.GetAnonymous() != NULL && settings.GetCountry() != NULL)
        HttpPost(GetServerUrl(SERVER_RETRIEVE_PATH),
                 BuildRetrieveBody(pszMac, *settings.GetAnonymous(), *settings.GetCountry()), strReply);
    return StoreProxyListReply(strReply, PROXY_TMP_FILE, pOwner);
}
