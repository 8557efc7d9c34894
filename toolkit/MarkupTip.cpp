// The mark-up tooltip: construction, Create, the tool registry, the window's
// own message handlers and destruction (the rest: see MarkupTip.h).
#include "toolkit/MarkupTip.h"

namespace {

const wchar_t kTipClass[] = L"CMarkupTip";

void RegisterTipClass()
{
    HINSTANCE hInst = AfxGetInstanceHandle();
    WNDCLASSW wc = {};
    if (::GetClassInfoW(hInst, kTipClass, &wc))
        return;
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = hInst;
    // The arrow is a system cursor: it comes from no module of ours.
    wc.hCursor = ::LoadCursorW(NULL, IDC_ARROW);
    wc.lpszClassName = kTipClass;
    if (!::RegisterClassW(&wc))
        AfxThrowResourceException();
}

}  // namespace

BEGIN_MESSAGE_MAP(CMarkupTip, CWnd)
ON_WM_PAINT()                                              // void OnPaint()
ON_WM_TIMER()                                              // void OnTimer(UINT_PTR nIDEvent)
ON_WM_SETCURSOR()                                          // BOOL OnSetCursor(CWnd*, UINT, UINT)
ON_WM_ACTIVATEAPP()                                        // void OnActivateApp(BOOL, DWORD)
ON_MESSAGE(WM_TIP_REPAINT, &CMarkupTip::OnHotAreaChanged)  // LRESULT (WPARAM, LPARAM)
ON_MESSAGE(WM_GETTEXT, &CMarkupTip::OnGetText)
ON_MESSAGE(WM_GETTEXTLENGTH, &CMarkupTip::OnGetTextLength)
END_MESSAGE_MAP()

CMarkupTip::CMarkupTip()
    : m_hParentWnd(NULL),
      m_hTipNotifyWnd(NULL),
      m_bHotRepaint(TRUE),
      m_bDebugMode(FALSE),
      m_ptLastMouse{ 0, 0 },
      m_hCurrentWnd(NULL),
      m_bQueuedDelay(FALSE),
      m_bQueued(FALSE),
      m_hPendingWnd(NULL),
      m_nDirection(TIPDIR_DEFAULT),
      m_nTransparency(0),
      m_nTipState(TIPSTATE_HIDDEN),
      m_crBegin(::GetSysColor(COLOR_INFOBK)),
      m_crMid(::GetSysColor(COLOR_INFOBK)),
      m_crEnd(::GetSysColor(COLOR_INFOBK)),
      m_hBitmapBk(NULL),
      m_hBitmapScreen(NULL),
      m_hBorderBrush(::CreateSolidBrush(::GetSysColor(COLOR_INFOTEXT))),
      m_nBorderWidth(1),
      m_nBorderHeight(1),
      m_bTipShadowGradient(TRUE),
      m_szTipShadowOffset{ 6, 6 },
      m_szTipShadowBlur{ 7, 7 },
      m_nTipShadowDarkness(50),
      m_hRgn(NULL),
      m_nTimeAutoPop(5000),
      m_nTimeInitial(500),
      m_nTimeFadeIn(0),
      m_nTimeFadeOut(0),
      m_nDefBehaviour(0),
      m_nDefEffect(0),
      m_nDefDirection(TIPDIR_DEFAULT),
      m_nDefStyle(0),
      m_nDefGranularity(0),
      m_nDefTransparency(0),
      m_bFadeIn(TRUE),
      m_bFadeOut(TRUE),
      m_szRoundCorner{ 16, 16 },
      m_szMargin{ 12, 12 },
      m_nAnchorWidth(12),
      m_nAnchorHeight(16),
      m_nAnchorMargin(16),
      m_rcText{ 0, 0, 0, 0 },
      m_rcBody{ 0, 0, 0, 0 },
      m_rcWindow{ 0, 0, 0, 0 },
      m_ptAnchor{ 0, 0 }
{
    m_drawer.m_nMaxWidth = 0;
    RegisterTipClass();
}

CMarkupTip::~CMarkupTip()
{
    // The window goes first, while this object can still take its messages.
    if (m_hWnd && ::GetWindowThreadProcessId(m_hWnd, NULL) == ::GetCurrentThreadId())
        DestroyWindow();
    FreeTooltipResources();
    RemoveAllTools();
    if (m_hBorderBrush)
        ::DeleteObject(m_hBorderBrush);
    m_hBorderBrush = NULL;
    m_nBorderWidth = m_nBorderHeight = 0;
}

BOOL CMarkupTip::Create(CWnd* pOwner)
{
    m_hParentWnd = pOwner->GetSafeHwnd();
    if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kTipClass, NULL, WS_POPUP, 0, 0, 0, 0, m_hParentWnd, NULL))
        return FALSE;
    m_szRoundCorner = { 16, 16 };
    m_szMargin = { 12, 12 };
    m_nAnchorWidth = 12;
    m_nAnchorHeight = 16;
    m_nAnchorMargin = 16;
    // The drawer asks for a repaint when the hot hyperlink changes.
    m_drawer.SetNotify(m_hWnd, WM_TIP_REPAINT, 0);
    KillTimer(TIPTIMER_ANIMATION);
    SetTimer(TIPTIMER_ANIMATION, 100);
    return TRUE;
}

void CMarkupTip::AddTool(CWnd* pControl, UINT nStringId)
{
    CString text;
    if (HINSTANCE hRes = AfxFindStringResourceHandle(nStringId))
        text.LoadString(hRes, nStringId);
    AddToolText(pControl, text);
}

void CMarkupTip::AddToolText(CWnd* pControl, const CString& strText)
{
    ToolTipInfo info;
    info.sText = strText;
    AddToolInfo(pControl, info);
}

void CMarkupTip::AddToolInfo(CWnd* pControl, const ToolTipInfo& info)
{
    std::vector<ToolTipInfo>& tools = m_mapTools[pControl->GetSafeHwnd()];
    for (ToolTipInfo& existing : tools) {
        if (::EqualRect(&existing.rcTool, &info.rcTool)) {
            existing = info;
            return;
        }
    }
    tools.push_back(info);
}

void CMarkupTip::RemoveAllTools()
{
    m_mapTools.clear();
    m_arrToolBars.clear();
}

void CMarkupTip::SetBorder(COLORREF crBorder)
{
    if (m_hBorderBrush)
        ::DeleteObject(m_hBorderBrush);
    m_hBorderBrush = ::CreateSolidBrush(crBorder);
    m_nBorderWidth = m_nBorderHeight = m_hBorderBrush ? 1 : 0;
}

int CMarkupTip::GetToolCount() const
{
    size_t n = 0;
    for (const auto& entry : m_mapTools)
        n += entry.second.size();
    return static_cast<int>(n);
}

BOOL CMarkupTip::GetToolText(HWND hControl, CString& strText) const
{
    auto it = m_mapTools.find(hControl);
    if (it == m_mapTools.end())
        return FALSE;
    for (const ToolTipInfo& info : it->second) {
        if (::IsRectEmpty(&info.rcTool)) {
            strText = info.sText;
            return TRUE;
        }
    }
    return FALSE;
}

CMarkupTip* CMarkupTip::FromTipWindow(HWND hTip)
{
    wchar_t szClass[16] = L"";
    if (!hTip || !::GetClassNameW(hTip, szClass, 16) || lstrcmpW(szClass, kTipClass) != 0)
        return NULL;
    return dynamic_cast<CMarkupTip*>(FromHandlePermanent(hTip));
}

BOOL CMarkupTip::DestroyWindow()
{
    KillTooltip();
    if (::IsWindow(m_hWnd))
        KillTimer(TIPTIMER_ANIMATION);
    return CWnd::DestroyWindow();
}

BOOL CMarkupTip::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg && pMsg->hwnd == m_hWnd && m_hWnd)
        RelayEvent(pMsg);
    return CWnd::PreTranslateMessage(pMsg);
}

void CMarkupTip::OnPaint()
{
    CPaintDC dc(this);
    m_hCurrentWnd = m_hPendingWnd;
    m_tiDisplayed = m_tiPending;
    PaintTooltip(dc.m_hDC, m_nTransparency);
}

void CMarkupTip::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case TIPTIMER_SHOW: StepShow(); break;
    case TIPTIMER_HIDE: StepHide(); break;
    case TIPTIMER_FADEIN: StepFadeIn(); break;
    case TIPTIMER_FADEOUT: StepFadeOut(); break;
    case TIPTIMER_ANIMATION: StepAnimation(); break;
    default: Default(); break;
    }
}

BOOL CMarkupTip::OnSetCursor(CWnd* /*pWnd*/, UINT /*nHitTest*/, UINT /*message*/)
{
    POINT pt = { 0, 0 };
    ::GetCursorPos(&pt);
    ::ScreenToClient(m_hWnd, &pt);
    if (!m_drawer.TrackHotArea(pt))
        ::SetCursor(::LoadCursorW(NULL, IDC_ARROW));
    return TRUE;
}

void CMarkupTip::OnActivateApp(BOOL bActive, DWORD /*dwThreadID*/)
{
    Default();
    if (!bActive)
        KillTooltip();
}

LRESULT CMarkupTip::OnHotAreaChanged(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (m_bHotRepaint)
        PaintTooltip(NULL, 0);
    return TRUE;
}

// The window's text is the text of the tip painted last, so that any
// process can read what the tip says.
LRESULT CMarkupTip::OnGetText(WPARAM wParam, LPARAM lParam)
{
    wchar_t* pszBuffer = reinterpret_cast<wchar_t*>(lParam);
    int nMax = static_cast<int>(wParam);
    if (!pszBuffer || nMax <= 0)
        return 0;
    int n = m_tiDisplayed.sText.GetLength();
    if (n > nMax - 1)
        n = nMax - 1;
    wmemcpy(pszBuffer, m_tiDisplayed.sText.GetString(), n);
    pszBuffer[n] = L'\0';
    return n;
}

LRESULT CMarkupTip::OnGetTextLength(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    return m_tiDisplayed.sText.GetLength();
}
