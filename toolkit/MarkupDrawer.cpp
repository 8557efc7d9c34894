// The mark-up drawer as an object: its construction in order, destruction,
// the measure and draw entry points, the hand cursor, string resources and
// the hot-link notification.
#include "MarkupDrawer.h"

CString MarkupSpan::Mid(int nFirst, int nCount) const
{
    if (nFirst < 0)
        nFirst = 0;
    if (nFirst >= n || nCount <= 0)
        return CString();
    if (nCount > n - nFirst)
        nCount = n - nFirst;
    return CString(p + nFirst, nCount);
}

CMarkupDrawer::CMarkupDrawer()
    : m_hNotifyWnd(NULL),
      m_nNotifyMsg(0),
      m_lNotifyParam(0),
      m_hLinkMsgWnd(NULL),
      m_nLinkMsg(0),
      m_lLinkMsgParam(0),
      m_hImageList(NULL),
      m_hResInstance(NULL),
      m_bFreeResInstance(FALSE),
      m_hLinkCursor(NULL),
      m_bOwnLinkCursor(FALSE),
      m_hOldFont(NULL),
      m_bIsEnabled(TRUE),
      m_crDisabled(0),
      m_hDC(NULL),
      m_nMode(1),
      m_nTabSize(32),
      m_nMaxWidth(0),
      m_nLineIndex(0),
      m_nCurTable(-1),
      m_nHotArea(MARKUP_NO_HOT_AREA),
      m_nCurArea(-1),
      m_nCurAnimation(-1),
      m_bConvertBreaks(TRUE),
      m_bShadowGradient(TRUE),
      m_nShadowDarkness(50),
      m_crShadow(0),
      m_hFont(NULL)
{
    // The layout reads the font records before it first fills them (a size
    // in "em" before any font exists), so they start as zeros, not garbage.
    ZeroMemory(&m_tm, sizeof(m_tm));
    ZeroMemory(&m_lf, sizeof(m_lf));

    FillTagTable();
    FillEntityTable();
    FillColorTable();

    LoadHandCursor();

    m_bConvertBreaks = TRUE;
    m_nMaxWidth = 0;

    m_bShadowGradient = TRUE;
    m_szShadowOffset = CSize(4, 4);
    m_szShadowBlur = CSize(7, 7);
    m_nShadowDarkness = 50;
    int nShade = MulDiv(255, m_nShadowDarkness, 100);
    m_crShadow = RGB(nShade, nShade, nShade);

    m_nTabSize = 32;

    BuildDefaultStyleSheet();

    m_bIsEnabled = TRUE;
    m_crDisabled = ::GetSysColor(COLOR_BTNSHADOW);
}

CMarkupDrawer::~CMarkupDrawer()
{
    if (m_bFreeResInstance && m_hResInstance)
        ::FreeLibrary(m_hResInstance);
    m_hResInstance = NULL;
    m_bFreeResInstance = FALSE;
    FreeHandCursor();
    // The image list is the host's (SetImageList): only forgotten here.
    m_hImageList = NULL;
    if (m_hFont) {
        ::DeleteObject(m_hFont);
        m_hFont = NULL;
    }
}

CSize CMarkupDrawer::MeasureMarkup(HDC hDC, LPCWSTR pszText)
{
    m_hDC = hDC;
    ::SetTextJustification(hDC, 0, 0);
    m_sText = pszText;
    ExpandEntities();
    CSize size(0, 0);
    if (!m_sText.IsEmpty()) {
        m_nMode = 1;
        m_arrTableRows.clear();
        size = LayoutBody(CRect(0, 0, m_nMaxWidth, 0));
        if (size.cx == 0 && size.cy == 0) {
            m_sText.Empty();
        } else {
            if (m_nMaxWidth != 0 && size.cx > m_nMaxWidth)
                size.cx = m_nMaxWidth;
            size.cx += 1;
            size.cy += 1;
        }
    }
    m_hDC = NULL;
    return size;
}

void CMarkupDrawer::DrawMarkup(const RECT* pRect, HDC hDC)
{
    if (m_sText.IsEmpty() || !pRect)
        return;
    m_nMode = 0;
    m_hDC = hDC;
    LayoutBody(CRect(*pRect));
    m_hDC = NULL;
}

void CMarkupDrawer::LoadHandCursor()
{
    if (m_hLinkCursor)
        return;
    m_hLinkCursor = ::LoadCursorW(NULL, IDC_HAND);
    m_bOwnLinkCursor = FALSE;
    if (m_hLinkCursor)
        return;

    WCHAR szDir[MAX_PATH];
    UINT nLen = ::GetWindowsDirectoryW(szDir, MAX_PATH);
    if (nLen == 0 || nLen >= MAX_PATH)
        return;
    // Built in a string, not appended to the fixed buffer: a long Windows
    // directory must not run past it.
    CString sPath(szDir, (int)nLen);
    sPath += L"\\winhlp32.exe";
    // Only its cursor is wanted, so the program is mapped as data, never run.
    HMODULE hHelp = ::LoadLibraryExW(sPath, NULL, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!hHelp)
        return;
    HCURSOR hCursor = ::LoadCursorW(hHelp, MAKEINTRESOURCEW(106));
    if (hCursor) {
        m_hLinkCursor = (HCURSOR)::CopyIcon((HICON)hCursor);
        m_bOwnLinkCursor = m_hLinkCursor != NULL;
    }
    ::FreeLibrary(hHelp);
}

void CMarkupDrawer::FreeHandCursor()
{
    // The system's hand cursor is shared: destroying it would take it from
    // every window of the process. Only the drawer's own copy goes.
    if (m_hLinkCursor && m_bOwnLinkCursor)
        ::DestroyCursor(m_hLinkCursor);
    m_hLinkCursor = NULL;
    m_bOwnLinkCursor = FALSE;
}

CString CMarkupDrawer::LoadResourceString(UINT nID)
{
    CString s;
    if (nID == 0)
        return s;
    HINSTANCE hInst = AfxFindStringResourceHandle(nID);
    if (hInst)
        s.LoadString(hInst, nID);
    return s;
}

CString CMarkupDrawer::LoadTipString(UINT nID)
{
    return TipPart(LoadResourceString(nID));
}

CString CMarkupDrawer::TipPart(const CString& s)
{
    int nFirst = s.Find(L'\n');
    if (nFirst < 0)
        return CString();
    int nSecond = s.Find(L'\n', nFirst + 1);
    if (nSecond < 0)
        return s.Mid(nFirst + 1);
    return s.Mid(nFirst + 1, nSecond - nFirst - 1);
}

void CMarkupDrawer::SetNotify(HWND hWnd, UINT nMessage, LPARAM lParam)
{
    m_hNotifyWnd = hWnd;
    m_nNotifyMsg = nMessage;
    m_lNotifyParam = lParam;
}

void CMarkupDrawer::SetHotArea(int nId)
{
    if (nId == m_nHotArea)
        return;
    m_nHotArea = nId;
    if (m_hNotifyWnd && m_nNotifyMsg != 0)
        ::SendMessageW(m_hNotifyWnd, m_nNotifyMsg, (WPARAM)(INT_PTR)nId, m_lNotifyParam);
}

void CMarkupDrawer::SetImageList(HIMAGELIST hImageList, int cx, int cy)
{
    m_hImageList = hImageList;
    m_szImageList = CSize(cx, cy);
}
