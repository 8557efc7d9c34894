// The check-in reply as the main window meets it at start-up: the message
// boxes and the server message dialog, then the values stored.
#include "app/CheckInReply.h"

#include "app/PushMessage.h"
#include "net/CheckIn.h"

#include "afxwin.h"

bool HandleStartReply(const CStringA& strReply, CWnd* pOwner)
{
    StartReply reply = ParseStartReply(strReply);
    if (reply.bEmpty) {
        LPCWSTR pszText = L"Could not access server,please try again later.";
        if (pOwner != NULL)
            pOwner->MessageBox(pszText, NULL, MB_OK);
        else
            AfxMessageBox(pszText, MB_OK);
        return false;
    }
    if (reply.bHasMessage) {
        // Without caption markers the web-site button shows an empty caption.
        CPushMessage dialog(reply.strCaption.GetString(), reply.nMessageType, reply.strMessage.GetString());
        dialog.DoModal();
    }
    ApplyStartReply(reply, CurrentRenewalTime());
    return true;
}
