// Which caption, icon and tip each toggling button of the main window shows.
#include "app/HideButtonFace.h"

#include "resource.h"

#include <wchar.h>

namespace {

const CButtonFace kFaces[] = {
    { L"Hide IP", IDI_HIDE_IP, IDS_TIP_HIDE_IP },
    { L"Restore IP", IDI_RESTORE_IP, IDS_TIP_RESTORE_IP },
    { L"Auto Hide IP", IDI_AUTO_HIDE_IP, IDS_TIP_AUTO_HIDE_IP },
    { L"Stop Auto", IDI_STOP_AUTO, IDS_TIP_STOP_AUTO },
    { L"Get Proxy", IDI_GET_PROXY, IDS_TIP_GET_PROXY },
    { L"Remove Cur", IDI_REMOVE_CUR, IDS_TIP_REMOVE_CUR },
};

}  // namespace

const CButtonFace& GetButtonFace(HideButtonFace face)
{
    return kFaces[face];
}

void SetButtonFace(CIconButton& button, CMarkupTip& tip, HideButtonFace face)
{
    const CButtonFace& def = GetButtonFace(face);
    button.SetWindowText(def.m_pszCaption);
    button.SetIconById(def.m_nIcon);
    tip.AddTool(&button, def.m_nTip);
}

bool ButtonShowsFace(CWnd& button, HideButtonFace face)
{
    WCHAR szCaption[256] = {};
    button.GetWindowText(szCaption, 256);
    return wcscmp(szCaption, GetButtonFace(face).m_pszCaption) == 0;
}

void EnableControls(CWnd& parent, const int* pIds, int nCount, BOOL bEnable)
{
    for (int i = 0; i < nCount; ++i) {
        CWnd* pControl = parent.GetDlgItem(pIds[i]);
        if (pControl != NULL)
            pControl->EnableWindow(bEnable);
    }
}
