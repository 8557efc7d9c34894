// Preparing, shaping and painting the tip balloon: defaults, measuring,
// placement on the virtual screen, the region, the background, the copy of
// the screen under the tip, and each paint composed off-screen.
#include "toolkit/MarkupTip.h"

#include <algorithm>

namespace {

RECT VirtualScreen()
{
    RECT rc;
    rc.left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    rc.top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    rc.right = rc.left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    rc.bottom = rc.top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    return rc;
}

int Width(const RECT& rc)
{
    return rc.right - rc.left;
}
int Height(const RECT& rc)
{
    return rc.bottom - rc.top;
}

template <class THandle>
void DeleteHandle(THandle& h)
{
    if (h)
        ::DeleteObject(h);
    h = NULL;
}

// --- plain drawing until the mark-up drawer and the drawing manager come ----
SIZE MeasureText(HDC hDC, const CString& text)
{
    CSelectGuard font(hDC, ::GetStockObject(DEFAULT_GUI_FONT));
    RECT rc = { 0, 0, 0, 0 };
    ::DrawTextW(hDC, text, text.GetLength(), &rc, DT_CALCRECT | DT_NOPREFIX);
    return SIZE{ rc.right + 1, rc.bottom + 1 };
}

void DrawText(HDC hDC, const RECT& rcText, const CString& text)
{
    CSelectGuard font(hDC, ::GetStockObject(DEFAULT_GUI_FONT));
    int nOldMode = ::SetBkMode(hDC, TRANSPARENT);
    COLORREF crOld = ::SetTextColor(hDC, ::GetSysColor(COLOR_INFOTEXT));
    RECT rc = rcText;
    ::DrawTextW(hDC, text, text.GetLength(), &rc, DT_NOPREFIX);
    ::SetTextColor(hDC, crOld);
    ::SetBkMode(hDC, nOldMode);
}

void FillSolid(HDC hDC, const RECT& rc, COLORREF cr)
{
    HBRUSH hBrush = ::CreateSolidBrush(cr);
    if (!hBrush)
        return;
    ::FillRect(hDC, &rc, hBrush);
    ::DeleteObject(hBrush);
}

void TileBlt(HDC hDest, int x, int y, int cx, int cy, HDC hSrc, int xSrc, int ySrc, int cxTile, int cyTile)
{
    if (cxTile <= 0 || cyTile <= 0)
        return;
    for (int ty = 0; ty < cy; ty += cyTile)
        for (int tx = 0; tx < cx; tx += cxTile)
            ::BitBlt(hDest, x + tx, y + ty, std::min(cxTile, cx - tx), std::min(cyTile, cy - ty), hSrc, xSrc, ySrc,
                     SRCCOPY);
}

void DarkenUnderMask(HDC hDest, int x, int y, int cx, int cy, HDC hMask)
{
    ::BitBlt(hDest, x, y, cx, cy, hMask, 0, 0, SRCAND);
}

void BlendOnto(HDC hSrc, HDC hDest, int cx, int cy, int nOpacity)
{
    if (nOpacity > 0)
        ::BitBlt(hDest, 0, 0, cx, cy, hSrc, 0, 0, SRCCOPY);
}

}  // namespace

TipBalloonShape CMarkupTip::GetBalloonShape() const
{
    return TipBalloonShape{ m_nAnchorWidth, m_nAnchorHeight, m_nAnchorMargin, m_szRoundCorner };
}

void CMarkupTip::FillDefaults(ToolTipInfo& info) const
{
    if (!(info.nMask & TIPMASK_STYLE))
        info.nStyle = m_nDefStyle;
    if (!(info.nMask & TIPMASK_EFFECT)) {
        info.nEffect = m_nDefEffect;
        info.nGranularity = m_nDefGranularity;
    }
    if (!(info.nMask & TIPMASK_COLORS)) {
        info.crBegin = m_crBegin;
        info.crMid = m_crMid;
        info.crEnd = m_crEnd;
    }
    if (!(info.nMask & TIPMASK_DIRECTION))
        info.nDirection = m_nDefDirection;
    if (!(info.nMask & TIPMASK_BEHAVIOUR))
        info.nBehaviour = m_nDefBehaviour;
    if (!(info.nMask & TIPMASK_TRANSPARENCY))
        info.nTransparency = m_nDefTransparency;
}

void CMarkupTip::NotifyDisplay(POINT ptScreen, ToolTipInfo& info)
{
    if (!::IsWindow(GetSafeHwnd()) || !m_hTipNotifyWnd)
        return;
    TipDisplayNotify notify = {};
    notify.hdr.hwndFrom = m_hWnd;
    notify.hdr.idFrom = GetDlgCtrlID();
    notify.hdr.code = NM_TIP_DISPLAY;
    notify.hWnd = m_hPendingWnd;
    notify.pPoint = &ptScreen;
    notify.pInfo = &info;
    ::SendMessageW(m_hTipNotifyWnd, WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
}

void CMarkupTip::PrepareTooltip(POINT ptScreen)
{
    FillDefaults(m_tiPending);
    NotifyDisplay(ptScreen, m_tiPending);
    if (m_tiPending.sText.IsEmpty())
        return;

    HDC hWindowDC = ::GetDC(m_hWnd);
    if (!hWindowDC)
        return;
    SIZE size = MeasureText(hWindowDC, m_tiPending.sText);
    m_rcText = RECT{ 0, 0, size.cx, size.cy };
    m_rcBody = m_rcText;
    ::OffsetRect(&m_rcText, m_szMargin.cx, m_szMargin.cy);
    m_rcBody.right += 2 * m_szMargin.cx;
    m_rcBody.bottom += 2 * m_szMargin.cy;

    m_nDirection = ComputeTipPlacement(m_tiPending.nDirection, ptScreen, VirtualScreen(), GetBalloonShape(), m_rcBody,
                                       m_rcText, m_rcWindow, m_ptAnchor);
    FreeTooltipResources();
    const int cx = Width(m_rcWindow), cy = Height(m_rcWindow);
    m_hRgn = CreateBalloonRegion(cx, cy, m_nDirection, m_ptAnchor, GetBalloonShape());

    // The background: the body's effect, and the anchor strip outside the
    // body repeating the body's line next to it.
    m_hBitmapBk = ::CreateCompatibleBitmap(hWindowDC, cx, cy);
    HDC hMem = ::CreateCompatibleDC(hWindowDC);
    if (m_hBitmapBk && hMem) {
        CSelectGuard bitmap(hMem, m_hBitmapBk);
        FillSolid(hMem, m_rcBody, m_tiPending.crBegin);
        const RECT& b = m_rcBody;
        switch (m_nDirection >> 4) {
        case 0: TileBlt(hMem, 0, 0, cx, b.top, hMem, 0, b.top + 1, cx, 1); break;
        case 1: TileBlt(hMem, 0, b.bottom, cx, cy - b.bottom, hMem, 0, b.bottom - 1, cx, 1); break;
        case 2: TileBlt(hMem, 0, 0, b.left, cy, hMem, b.left + 1, 0, 1, cy); break;
        default: TileBlt(hMem, b.right, 0, cx - b.right, cy, hMem, b.right - 1, 0, 1, cy); break;
        }
    }
    if (hMem)
        ::DeleteDC(hMem);
    ::ReleaseDC(m_hWnd, hWindowDC);

    POINT ptWindow = { ptScreen.x - m_ptAnchor.x, ptScreen.y - m_ptAnchor.y };
    m_nTransparency = (m_bFadeIn && m_nTimeFadeIn != 0) ? 100 : m_tiPending.nTransparency;

    // The window gets a region of its own: ours stays ours to paint with.
    HRGN hWindowRgn = CreateTipWindowRegion(m_hRgn, m_szTipShadowOffset);
    m_rcWindow.right += m_szTipShadowOffset.cx;
    m_rcWindow.bottom += m_szTipShadowOffset.cy;
    if (hWindowRgn && !::SetWindowRgn(m_hWnd, hWindowRgn, FALSE))
        ::DeleteObject(hWindowRgn);

    // What the screen shows under the tip, taken while the tip is not there:
    // the tip's own window holds nothing of it on a composited desktop.
    CaptureScreen(ptWindow);
    ::SetWindowPos(m_hWnd, HWND_TOP, ptWindow.x, ptWindow.y, Width(m_rcWindow), Height(m_rcWindow),
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void CMarkupTip::CaptureScreen(POINT ptWindow)
{
    DeleteHandle(m_hBitmapScreen);
    const int cx = Width(m_rcWindow), cy = Height(m_rcWindow);
    HDC hScreen = ::GetDC(NULL);
    if (!hScreen)
        return;
    HDC hMem = ::CreateCompatibleDC(hScreen);
    m_hBitmapScreen = ::CreateCompatibleBitmap(hScreen, cx, cy);
    if (hMem && m_hBitmapScreen) {
        CSelectGuard bitmap(hMem, m_hBitmapScreen);
        ::BitBlt(hMem, 0, 0, cx, cy, hScreen, ptWindow.x, ptWindow.y, SRCCOPY);
    }
    if (hMem)
        ::DeleteDC(hMem);
    ::ReleaseDC(NULL, hScreen);
}

void CMarkupTip::PaintTooltip(HDC hDC, int nTransparency)
{
    if (!::IsWindow(GetSafeHwnd()) || !m_hBitmapBk)
        return;
    const int t = std::min(std::max(nTransparency, 0), 100);
    HDC hOwnDC = NULL;
    if (!hDC)
        hDC = hOwnDC = ::GetDC(m_hWnd);
    if (!hDC)
        return;

    const int w = Width(m_rcWindow), h = Height(m_rcWindow);
    const int cx = w - m_szTipShadowOffset.cx, cy = h - m_szTipShadowOffset.cy;
    if (!m_hBitmapScreen) {
        // Normally taken before showing; a tip shown some other way takes it now.
        RECT rc;
        GetWindowRect(&rc);
        CaptureScreen(POINT{ rc.left, rc.top });
    }

    HDC hCompose = ::CreateCompatibleDC(hDC);
    HDC hBack = ::CreateCompatibleDC(hDC);
    HDC hResult = ::CreateCompatibleDC(hDC);
    HBITMAP hComposeBmp = ::CreateCompatibleBitmap(hDC, w, h);
    HBITMAP hResultBmp = ::CreateCompatibleBitmap(hDC, w, h);
    if (hCompose && hBack && hResult && hComposeBmp && hResultBmp) {
        CSelectGuard composeSel(hCompose, hComposeBmp);
        CSelectGuard resultSel(hResult, hResultBmp);
        {
            CSelectGuard backSel(hBack, m_hBitmapBk);
            ::BitBlt(hCompose, 0, 0, cx, cy, hBack, 0, 0, SRCCOPY);
        }
        DrawText(hCompose, m_rcText, m_tiDisplayed.sText);
        if (m_hBorderBrush && m_nBorderWidth && m_nBorderHeight)
            OnDrawBorder(hCompose, m_hRgn);

        CSelectGuard backSel(hBack, m_hBitmapScreen);
        ::BitBlt(hResult, 0, 0, w, h, hBack, 0, 0, SRCCOPY);

        if (m_szTipShadowOffset.cx != 0 || m_szTipShadowOffset.cy != 0) {
            // The grey of the shadow lightens as the tip grows transparent.
            int g0 = static_cast<BYTE>(::MulDiv(255, 100 - m_nTipShadowDarkness, 100));
            int g = g0 + (255 - g0) * t / 100;
            HDC hMask = ::CreateCompatibleDC(hDC);
            HBITMAP hMaskBmp = ::CreateCompatibleBitmap(hDC, cx, cy);
            HBRUSH hGrey = ::CreateSolidBrush(RGB(g, g, g));
            if (hMask && hMaskBmp && hGrey) {
                CSelectGuard maskSel(hMask, hMaskBmp);
                ::PatBlt(hMask, 0, 0, cx, cy, WHITENESS);
                if (m_hRgn)
                    ::FillRgn(hMask, m_hRgn, hGrey);
                DarkenUnderMask(hResult, m_szTipShadowOffset.cx, m_szTipShadowOffset.cy, cx, cy, hMask);
            }
            if (hGrey)
                ::DeleteObject(hGrey);
            if (hMaskBmp)
                ::DeleteObject(hMaskBmp);
            if (hMask)
                ::DeleteDC(hMask);
        }

        ::SelectClipRgn(hResult, m_hRgn);
        BlendOnto(hCompose, hResult, cx, cy, 100 - t);
        ::SelectClipRgn(hResult, NULL);
        ::BitBlt(hDC, 0, 0, w, h, hResult, 0, 0, SRCCOPY);
    }
    if (hComposeBmp)
        ::DeleteObject(hComposeBmp);
    if (hResultBmp)
        ::DeleteObject(hResultBmp);
    for (HDC hMem : { hCompose, hBack, hResult })
        if (hMem)
            ::DeleteDC(hMem);
    if (hOwnDC)
        ::ReleaseDC(m_hWnd, hOwnDC);
}

BOOL CMarkupTip::OnDrawBorder(HDC hDC, HRGN hRgn)
{
    return hRgn && ::FrameRgn(hDC, hRgn, m_hBorderBrush, m_nBorderWidth, m_nBorderHeight);
}

void CMarkupTip::FreeTooltipResources()
{
    DeleteHandle(m_hRgn);
    DeleteHandle(m_hBitmapBk);
    DeleteHandle(m_hBitmapScreen);
}
