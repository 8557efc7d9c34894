// The debug tip: a mark-up table about the window under the cursor, its
// owner and the cursor position, shown in place of the tools' tips.
#include "toolkit/MarkupTip.h"

namespace {

CString HexText(UINT n)
{
    CString s;
    s.Format(L"0x%08X", n);
    return s;
}

CString HandleText(HWND hWnd)
{
    return HexText(static_cast<UINT>(reinterpret_cast<UINT_PTR>(hWnd)));
}

CString IntText(int n)
{
    CString s;
    s.Format(L"%d", n);
    return s;
}

CString ClassText(HWND hWnd)
{
    wchar_t sz[128] = L"";
    ::GetClassNameW(hWnd, sz, 128);
    return sz;
}

CString TitleText(HWND hWnd)
{
    wchar_t sz[128] = L"";
    ::GetWindowTextW(hWnd, sz, 128);
    return sz;
}

}  // namespace

CString CMarkupTip::ShortenDebugText(const CString& strText)
{
    CString s = strText;
    s.Replace(L'<', L'?');
    if (s.GetLength() > 25)
        s = s.Left(21) + L" ...";
    return s;
}

CString CMarkupTip::FormatDebugRow(LPCWSTR pszLabel, const CString& strValue)
{
    CString s;
    s.Format(L"<tr><td width=70 bgcolor=buttonface>%s</td><td width=130 bgcolor=window>%s</td></tr>", pszLabel,
             ShortenDebugText(strValue).GetString());
    return s;
}

CString CMarkupTip::BuildDebugInfo(POINT ptClient) const
{
    POINT ptScreen = { 0, 0 };
    HWND hWnd = FindCandidateWindow(ptClient, ptScreen);
    RECT rc = { 0, 0, 0, 0 };
    if (hWnd)
        ::GetWindowRect(hWnd, &rc);
    ToolTipInfo info;
    HWND hTool = NULL;
    BOOL bHasTip = FindToolFromPoint(ptClient, info, hTool);
    CString rect;
    rect.Format(L"(%d, %d)-(%d, %d)", rc.left, rc.top, rc.right, rc.bottom);

    CString s = L"<table>";
    s += L"<tr><td><font color=darkblue>Window</font><table border=1>";
    s += FormatDebugRow(L"Class name", ClassText(hWnd));
    s += FormatDebugRow(L"Title", TitleText(hWnd));
    s += FormatDebugRow(L"Handle", HandleText(hWnd));
    s += FormatDebugRow(L"Control ID", IntText(hWnd ? ::GetDlgCtrlID(hWnd) : 0));
    s += FormatDebugRow(L"Styles", HexText(hWnd ? static_cast<UINT>(::GetWindowLongW(hWnd, GWL_STYLE)) : 0));
    s += FormatDebugRow(L"RECT", rect);
    s += FormatDebugRow(L"Width", IntText(rc.right - rc.left));
    s += FormatDebugRow(L"Height", IntText(rc.bottom - rc.top));
    s += FormatDebugRow(L"Has Tooltip", bHasTip ? L"Yes" : L"No");
    s += L"</table></td>";

    HWND hOwner = hWnd ? ::GetParent(hWnd) : NULL;
    s += L"<td><font color=darkblue>Window Owner</font><table border=1>";
    s += FormatDebugRow(L"Class name", ShortenDebugText(hOwner ? ClassText(hOwner) : CString(L"N/A")));
    s += FormatDebugRow(L"Title", ShortenDebugText(hOwner ? TitleText(hOwner) : CString(L"N/A")));
    s += FormatDebugRow(L"Handle", HandleText(hOwner));
    s += L"</table>";
    s += L"<br><font color=darkblue>Mouse Cursor</font><table border=1>";
    s += FormatDebugRow(L"X", IntText(ptClient.x));
    s += FormatDebugRow(L"Y", IntText(ptClient.y));
    s += L"</table></td></tr></table>";
    return s;
}
