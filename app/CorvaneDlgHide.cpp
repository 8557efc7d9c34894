// Hide IP, Auto Hide IP and what the main window shows of the upstream in use.
#include "app/CorvaneDlg.h"

#include "app/CorvaneMessages.h"
#include "app/HideButtonFace.h"
#include "net/ConnectionProxy.h"
#include "net/Harvest.h"
#include "net/MachineIdentity.h"
#include "net/ServerRequest.h"
#include "net/SpeedTest.h"
#include "net/UpstreamSwitch.h"
#include "proxy/CountryTable.h"
#include "proxy/Settings.h"

#include <string.h>

namespace {

const WCHAR kNoProxyToHide[] = L"There is no proxy to hide ip, please get proxy firstly.";
const WCHAR kSelectOne[] = L"Please select 1 proxy to hide ip.";
const WCHAR kSelectOnlyOne[] = L"Too many proxies are selected, please select 1 proxy to hide ip.";

// Disabled while hidden by hand, and while in automatic mode.
const int kOffWhileHidden[] = { IDC_AUTO_HIDE_IP, IDC_GET_PROXY, IDC_TEST_SPEED, IDC_SETTING };
const int kOffWhileAuto[] = { IDC_HIDE_IP, IDC_TEST_SPEED, IDC_SETTING };

const int kIntervalMin = 1;
const int kIntervalMax = 100;

// An 8-bit address of at most 15 characters as wide text; false when longer.
bool AddressText(const char* pszAddress, WCHAR* pszText, int nSize)
{
    if (pszAddress == NULL || strlen(pszAddress) > 15)
        return false;
    pszText[0] = L'\0';
    MultiByteToWideChar(CP_ACP, 0, pszAddress, -1, pszText, nSize);
    pszText[nSize - 1] = L'\0';
    return true;
}

// The current-flag static shows the country's flag, or nothing for an index
// outside the table.
void ShowCurrentFlag(CWnd& dialog, const HBITMAP* phFlags, int nCountry)
{
    const int nCount = GetCountryTable().GetCount();
    HBITMAP hFlag = NULL;
    if (phFlags != NULL && nCountry >= 0 && nCountry < nCount)
        hFlag = phFlags[nCountry];
    HBITMAP hOld = reinterpret_cast<HBITMAP>(
        dialog.SendDlgItemMessage(IDC_CURRENT_FLAG, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hFlag)));
    // A static of the version 6 controls shows a copy of a bitmap with alpha
    // and hands that copy back on the next change: ours to delete, or every
    // switch of the upstream would leak one.
    if (hOld == NULL)
        return;
    for (int i = 0; phFlags != NULL && i < nCount; ++i)
        if (phFlags[i] == hOld)
            return;
    DeleteObject(hOld);
}

void SetTrayTip(NOTIFYICONDATAW& nid, LPCWSTR pszTip)
{
    lstrcpynW(nid.szTip, pszTip, static_cast<int>(sizeof(nid.szTip) / sizeof(nid.szTip[0])));
    if (nid.hWnd != NULL)
        Shell_NotifyIconW(NIM_MODIFY, &nid);
}

}  // namespace

LRESULT CCorvaneDlg::OnProxyInUse(WPARAM wParam, LPARAM lParam)
{
    CHideState& state = GetHideState();
    if (state.m_bHidden) {
        WCHAR szAddress[16];
        if (AddressText(state.m_curProxy.m_szIP, szAddress, 16))
            SetDlgItemText(IDC_CURRENT_IP, szAddress);
    }
    // The flag and the tip follow the relay's upstream, which SetUpstreamProxy
    // set before posting, even when the connection setting was refused.
    int nCountry = state.m_curProxy.m_nCountry;
    ShowCurrentFlag(*this, m_phFlagBitmaps, nCountry);
    const CCountry* pCountry = GetCountryTable().GetAt(nCountry);
    CString tip;
    tip.Format(L"Corvane : Fake IP in %s", pCountry ? pCountry->m_szName : L"");
    SetTrayTip(m_nid, tip);

    m_listProxy.SetFocus();
    if (wParam == 1) {
        int nRow = static_cast<int>(lParam);
        m_listProxy.SetItemState(-1, 0, LVIS_SELECTED);
        m_listProxy.SetItemState(nRow, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
        m_listProxy.EnsureVisible(nRow, FALSE);
    }
    return 0;
}

LRESULT CCorvaneDlg::OnRealIPRestored(WPARAM, LPARAM)
{
    WCHAR szAddress[16];
    if (AddressText(GetRealIPAddress(), szAddress, 16))
        SetDlgItemText(IDC_CURRENT_IP, szAddress);
    ShowCurrentFlag(*this, m_phFlagBitmaps, g_nRealCountry);
    SetTrayTip(m_nid, L"Corvane : Real IP");
    return 0;
}

LRESULT CCorvaneDlg::OnRetestResult(WPARAM wParam, LPARAM lParam)
{
    HandleRetestResult(GetHideState(), reinterpret_cast<CRetestRequest*>(wParam), lParam == 1);
    return 0;
}

void CCorvaneDlg::OnHideIP()
{
    CHideState& state = GetHideState();
    if (ButtonShowsFace(m_btnHideIP, FACE_HIDE_IP)) {
        if (IsHarvestRunning())
            return;  // the harvest thread is replacing the list
        CProxyList& list = GetProxyList();
        if (list.IsEmpty()) {
            MessageBox(kNoProxyToHide);
            return;
        }
        UINT nSelected = m_listProxy.GetSelectedCount();
        if (nSelected == 0) {
            MessageBox(kSelectOne);
            return;
        }
        if (nSelected > 1) {
            MessageBox(kSelectOnlyOne);
            return;
        }
        int nRow = m_listProxy.GetNextItem(-1, LVNI_SELECTED);
        POSITION pos = nRow >= 0 ? list.FindIndex(nRow) : NULL;
        if (pos == NULL)
            return;
        SetBrowserProxy(state, g_localRelayProxy);
        SetUpstreamProxy(list.GetAt(pos), state);

        SetButtonFace(m_btnHideIP, m_toolTip, FACE_RESTORE_IP);
        EnableControls(*this, kOffWhileHidden, 4, FALSE);
    } else {
        RestoreDirectConnection(state);
        SetButtonFace(m_btnHideIP, m_toolTip, FACE_HIDE_IP);
        EnableControls(*this, kOffWhileHidden, 4, TRUE);
    }
    m_listProxy.SetFocus();
}

void CCorvaneDlg::OnAutoHideIP()
{
    CHideState& state = GetHideState();
    if (ButtonShowsFace(m_btnAutoHideIP, FACE_AUTO_HIDE_IP)) {
        if (IsHarvestRunning())
            return;  // the harvest thread is replacing the list
        if (GetProxyList().IsEmpty()) {
            MessageBox(kNoProxyToHide);
            return;
        }
        CSettingSwitchItem* pSwitch = GetSettings().GetSwitch();
        int nInterval = pSwitch ? pSwitch->m_nInterval : 0;
        if (nInterval < kIntervalMin || nInterval > kIntervalMax)
            return;
        StartAutoHide(state);
        SetTimer(TIMER_AUTO_SWITCH, static_cast<UINT>(nInterval) * 60000u, NULL);

        SetButtonFace(m_btnAutoHideIP, m_toolTip, FACE_STOP_AUTO);
        EnableControls(*this, kOffWhileAuto, 3, FALSE);
        SetButtonFace(m_btnGetProxy, m_toolTip, FACE_REMOVE_CUR);
    } else {
        state.m_nCurIndex = -1;
        state.m_nNextIndex = -1;
        RestoreDirectConnection(state);
        KillTimer(TIMER_AUTO_SWITCH);

        SetButtonFace(m_btnAutoHideIP, m_toolTip, FACE_AUTO_HIDE_IP);
        EnableControls(*this, kOffWhileAuto, 3, TRUE);
        SetButtonFace(m_btnGetProxy, m_toolTip, FACE_GET_PROXY);
    }
    m_listProxy.SetFocus();
}
