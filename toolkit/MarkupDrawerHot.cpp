// Hot areas of CMarkupDrawer: the hyperlink under a point, the hot link with
// its notification and hand cursor, following a link (through CLinkLauncher,
// so the build chooses how), and the animation ticks.
#include "toolkit/MarkupDrawer.h"

#include "toolkit/LinkLauncher.h"

#include <vector>

int CMarkupDrawer::FindAreaAt(POINT pt) const
{
    // The right and bottom edges count as inside; the first area recorded wins.
    for (size_t i = 0; i < m_arrAreas.size(); ++i) {
        const HtmlArea& area = m_arrAreas[i];
        if (pt.x >= area.left && pt.x <= area.right && pt.y >= area.top && pt.y <= area.bottom)
            return static_cast<int>(i);
    }
    return -1;
}

BOOL CMarkupDrawer::TrackHotArea(POINT pt)
{
    const int nIndex = FindAreaAt(pt);
    if (nIndex < 0) {
        SetHotArea(MARKUP_NO_HOT_AREA);
        return FALSE;
    }
    const HtmlArea& area = m_arrAreas[static_cast<size_t>(nIndex)];
    SetHotArea(area.nId);
    // The notification may have repainted and so rebuilt the areas.
    if (static_cast<size_t>(nIndex) >= m_arrAreas.size())
        return FALSE;
    if (!m_arrAreas[static_cast<size_t>(nIndex)].sText.IsEmpty() && m_hLinkCursor != NULL) {
        ::SetCursor(m_hLinkCursor);
        return TRUE;
    }
    return FALSE;
}

int CMarkupDrawer::FollowLink(int nIndex)
{
    if (nIndex < 0 || static_cast<size_t>(nIndex) >= m_arrAreas.size())
        return 0;
    // A copy: the message below may repaint the host and rebuild the areas.
    const HtmlArea area = m_arrAreas[static_cast<size_t>(nIndex)];
    if (area.sText.IsEmpty())
        return 0;
    if (area.nKind == 2) {
        if (m_hLinkMsgWnd == NULL || m_nLinkMsg == 0)
            return 0;
        return static_cast<int>(::SendMessageW(m_hLinkMsgWnd, m_nLinkMsg,
                                               reinterpret_cast<WPARAM>(area.sText.GetString()), m_lLinkMsgParam));
    }
    if (area.nKind != 1)
        return 0;

    FreeHandCursor();
    LoadHandCursor();
    const int nResult = static_cast<int>(reinterpret_cast<INT_PTR>(CLinkLauncher::Open(area.sText)));
    if (nResult > 32)
        return nResult;

    // The shell could not open it: start the browser registered for web pages.
    HKEY hKey = NULL;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, L".htm", 0, KEY_QUERY_VALUE, &hKey) != ERROR_SUCCESS)
        return nResult;
    CString sType;
    if (ReadDefaultValue(hKey, sType) != ERROR_SUCCESS || sType.IsEmpty())
        return nResult;
    if (::RegOpenKeyExW(HKEY_CLASSES_ROOT, sType + L"\\shell\\open\\command", 0, KEY_QUERY_VALUE, &hKey) !=
        ERROR_SUCCESS)
        return nResult;
    CString sCommand;
    if (ReadDefaultValue(hKey, sCommand) != ERROR_SUCCESS || sCommand.IsEmpty())
        return nResult;
    // Like WinExec: above 31 when the program started.
    return CLinkLauncher::Start(CLinkLauncher::CommandWithUrl(sCommand, area.sText)) ? 33 : ERROR_FILE_NOT_FOUND;
}

LONG CMarkupDrawer::ReadDefaultValue(HKEY hKey, CString& sValue)
{
    sValue.Empty();
    LONG nStatus = ERROR_INVALID_HANDLE;
    // The value is read into a buffer of the size the key reports; a value
    // that grows in between is asked for again.
    for (int nTry = 0; hKey != NULL && nTry < 3; ++nTry) {
        DWORD dwType = 0;
        DWORD cb = 0;
        nStatus = ::RegQueryValueExW(hKey, NULL, NULL, &dwType, NULL, &cb);
        if (nStatus != ERROR_SUCCESS)
            break;
        if (dwType != REG_SZ && dwType != REG_EXPAND_SZ) {
            nStatus = ERROR_INVALID_DATA;
            break;
        }
        std::vector<wchar_t> buf(cb / sizeof(wchar_t) + 1, L'\0');
        DWORD cbRead = static_cast<DWORD>((buf.size() - 1) * sizeof(wchar_t));
        nStatus = ::RegQueryValueExW(hKey, NULL, NULL, &dwType, reinterpret_cast<BYTE*>(buf.data()), &cbRead);
        if (nStatus == ERROR_MORE_DATA)
            continue;
        if (nStatus != ERROR_SUCCESS)
            break;
        // Stored values need not end in a terminator: the length read bounds it.
        buf[std::min<size_t>(cbRead / sizeof(wchar_t), buf.size() - 1)] = L'\0';
        sValue = buf.data();
        if (dwType == REG_EXPAND_SZ) {
            const DWORD nNeed = ::ExpandEnvironmentStringsW(sValue, NULL, 0);
            if (nNeed > 0) {
                std::vector<wchar_t> expanded(nNeed + 1, L'\0');
                if (::ExpandEnvironmentStringsW(sValue, expanded.data(), nNeed + 1) > 0)
                    sValue = expanded.data();
            }
        }
        break;
    }
    if (hKey != NULL)
        ::RegCloseKey(hKey);
    return nStatus;
}

BOOL CMarkupDrawer::StepAnimations()
{
    BOOL bMoved = FALSE;
    for (HtmlAnimation& animation : m_arrAnimations) {
        if (animation.nFrameCount <= 0)
            continue;
        if (++animation.nTick < animation.nTicksPerFrame)
            continue;
        animation.nTick = 0;
        if (++animation.nFrame >= animation.nFrameCount)
            animation.nFrame = 0;
        bMoved = TRUE;
    }
    return bMoved;
}
