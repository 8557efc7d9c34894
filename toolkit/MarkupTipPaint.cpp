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

// A memory DC compatible with another, deleted with this object.
class CMemoryDC
{
public:
    explicit CMemoryDC(HDC hLike) : m_hDC(::CreateCompatibleDC(hLike)) {}
    ~CMemoryDC()
    {
        if (m_hDC)
            ::DeleteDC(m_hDC);
    }
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;
    operator HDC() const { return m_hDC; }

private:
    HDC m_hDC;
};

// A GDI object deleted with this object.
template <class THandle>
class CGdiHandle
{
public:
    explicit CGdiHandle(THandle h) : m_h(h) {}
    ~CGdiHandle() { DeleteHandle(m_h); }
    CGdiHandle(const CGdiHandle&) = delete;
    CGdiHandle& operator=(const CGdiHandle&) = delete;
    operator THandle() const { return m_h; }

private:
    THandle m_h;
};

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
    m_drawer.m_nMaxWidth = 0;
    CSize size = m_drawer.MeasureMarkup(hWindowDC, m_tiPending.sText);
    m_rcText = RECT{ 0, 0, size.cx, size.cy };
    m_rcBody = m_rcText;
    ::OffsetRect(&m_rcText, m_szMargin.cx, m_szMargin.cy);
    m_rcBody.right += 2 * m_szMargin.cx;
    m_rcBody.bottom += 2 * m_szMargin.cy;

    m_nDirection = ComputeTipPlacement(m_tiPending.nDirection, ptScreen, VirtualScreen(), GetBalloonShape(), m_rcBody,
                                       m_rcText, m_rcWindow, m_ptAnchor);
    FreeTooltipResources();
    m_hRgn = CreateBalloonRegion(Width(m_rcWindow), Height(m_rcWindow), m_nDirection, m_ptAnchor, GetBalloonShape());
    PaintBackground(hWindowDC);
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

// The balloon's background, window box without shadow: the body's effect,
// and the anchor strip outside the body repeating the body's line next to it.
void CMarkupTip::PaintBackground(HDC hWindowDC)
{
    const int cx = Width(m_rcWindow), cy = Height(m_rcWindow);
    m_hBitmapBk = ::CreateCompatibleBitmap(hWindowDC, cx, cy);
    CMemoryDC mem(hWindowDC);
    if (!m_hBitmapBk || !mem)
        return;
    CSelectGuard bitmap(mem, m_hBitmapBk);
    CDrawManager& draw = m_drawer.m_drawManager;
    const ToolTipInfo& tip = m_tiPending;
    draw.FillEffect(mem, m_rcBody, tip.nEffect, tip.crBegin, tip.crMid, tip.crEnd, tip.nGranularity, 5);
    const RECT& b = m_rcBody;
    switch (m_nDirection >> 4) {
    case 0: draw.TileBlt(mem, 0, 0, cx, b.top, mem, 0, b.top + 1, cx, 1); break;
    case 1: draw.TileBlt(mem, 0, b.bottom, cx, cy - b.bottom, mem, 0, b.bottom - 1, cx, 1); break;
    case 2: draw.TileBlt(mem, 0, 0, b.left, cy, mem, b.left + 1, 0, 1, cy); break;
    default: draw.TileBlt(mem, b.right, 0, cx - b.right, cy, mem, b.right - 1, 0, 1, cy); break;
    }
}

void CMarkupTip::CaptureScreen(POINT ptWindow)
{
    DeleteHandle(m_hBitmapScreen);
    const int cx = Width(m_rcWindow), cy = Height(m_rcWindow);
    HDC hScreen = ::GetDC(NULL);
    if (!hScreen)
        return;
    {
        CMemoryDC mem(hScreen);
        m_hBitmapScreen = ::CreateCompatibleBitmap(hScreen, cx, cy);
        if (mem && m_hBitmapScreen) {
            CSelectGuard bitmap(mem, m_hBitmapScreen);
            ::BitBlt(mem, 0, 0, cx, cy, hScreen, ptWindow.x, ptWindow.y, SRCCOPY);
        }
    }
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
    if (!m_hBitmapScreen) {
        // Normally taken before showing; a tip shown some other way takes it now.
        RECT rc;
        GetWindowRect(&rc);
        CaptureScreen(POINT{ rc.left, rc.top });
    }

    const int w = Width(m_rcWindow), h = Height(m_rcWindow);
    const int cx = w - m_szTipShadowOffset.cx, cy = h - m_szTipShadowOffset.cy;
    {
        CMemoryDC compose(hDC), back(hDC), result(hDC);
        CGdiHandle<HBITMAP> composeBmp(::CreateCompatibleBitmap(hDC, w, h));
        CGdiHandle<HBITMAP> resultBmp(::CreateCompatibleBitmap(hDC, w, h));
        if (compose && back && result && composeBmp && resultBmp && m_hBitmapScreen) {
            CSelectGuard composeSel(compose, composeBmp);
            CSelectGuard resultSel(result, resultBmp);
            {
                CSelectGuard backSel(back, m_hBitmapBk);
                ::BitBlt(compose, 0, 0, cx, cy, back, 0, 0, SRCCOPY);
            }
            m_drawer.DrawMarkup(&m_rcText, compose);
            if (m_hBorderBrush && m_nBorderWidth && m_nBorderHeight)
                OnDrawBorder(compose, m_hRgn);

            {
                CSelectGuard backSel(back, m_hBitmapScreen);
                ::BitBlt(result, 0, 0, w, h, back, 0, 0, SRCCOPY);
            }
            if (m_szTipShadowOffset.cx != 0 || m_szTipShadowOffset.cy != 0)
                PaintShadow(result, hDC, cx, cy, t);

            ::SelectClipRgn(result, m_hRgn);
            m_drawer.m_drawManager.AlphaBlendDC(compose, result, 0, 0, cx, cy, 100 - t);
            ::SelectClipRgn(result, NULL);
            ::BitBlt(hDC, 0, 0, w, h, result, 0, 0, SRCCOPY);
        }
    }
    if (hOwnDC)
        ::ReleaseDC(m_hWnd, hOwnDC);
}

// Darkens the screen copy under the balloon moved by the shadow offset; the
// grey of the mask lightens as the tip grows transparent.
void CMarkupTip::PaintShadow(HDC hResult, HDC hDC, int cx, int cy, int nTransparency)
{
    if (!m_hRgn || cx < 1 || cy < 1)
        return;
    const int g0 = static_cast<BYTE>(::MulDiv(255, 100 - m_nTipShadowDarkness, 100));
    const int g = g0 + (255 - g0) * nTransparency / 100;
    CGdiHandle<HBITMAP> mask(::CreateCompatibleBitmap(hDC, cx, cy));
    CGdiHandle<HBRUSH> grey(::CreateSolidBrush(RGB(g, g, g)));
    if (!mask || !grey)
        return;
    {
        CMemoryDC mem(hDC);
        if (!mem)
            return;
        CSelectGuard maskSel(mem, mask);
        ::PatBlt(mem, 0, 0, cx, cy, WHITENESS);
        ::FillRgn(mem, m_hRgn, grey);
    }
    // The mask is out of every DC again: the drawing manager selects it itself.
    m_drawer.m_drawManager.DrawShadow(hResult, m_szTipShadowOffset.cx, m_szTipShadowOffset.cy, cx, cy, mask,
                                      m_bTipShadowGradient, m_szTipShadowBlur.cx, m_szTipShadowBlur.cy);
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
