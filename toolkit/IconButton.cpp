// CIconButton: construction and destruction, the images it owns, and the
// setters of its look and behaviour.
#include "toolkit/IconButton.h"

#include <mmsystem.h>
#include <string.h>
#include <wchar.h>

namespace {

CIconButton::UrlOpener g_pfnUrlOpener = NULL;

// Copies at most nMax - 1 characters and always ends the copy.
void CopyName(WCHAR* pDest, LPCWSTR pSrc, size_t nMax)
{
    size_t n = pSrc ? wcsnlen(pSrc, nMax - 1) : 0;
    if (n)
        wmemcpy(pDest, pSrc, n);
    pDest[n] = 0;
}

// Twice the hotspot, as icons made from resources centre it.
bool ReadIconSize(HICON hIcon, int* pcx, int* pcy)
{
    ICONINFO info = {};
    if (hIcon == NULL || !::GetIconInfo(hIcon, &info))
        return false;
    *pcx = static_cast<int>(info.xHotspot) * 2;
    *pcy = static_cast<int>(info.yHotspot) * 2;
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    return true;
}

bool ReadBitmapSize(HBITMAP hBitmap, int* pcx, int* pcy)
{
    BITMAP bm = {};
    if (hBitmap == NULL || !::GetObjectW(hBitmap, sizeof(bm), &bm))
        return false;
    *pcx = bm.bmWidth;
    *pcy = bm.bmHeight;
    return true;
}

}  // namespace

void CIconButton::SetUrlOpener(UrlOpener pfnOpener)
{
    g_pfnUrlOpener = pfnOpener;
}

CIconButton::CIconButton()
    : m_bShowDisabledBitmap(TRUE),
      m_ptImageOrg(3, 3),
      m_ptPressedOffset(1, 1),
      m_bIsFlat(TRUE),
      m_bMouseOnButton(FALSE),
      m_bDrawTransparent(FALSE),
      m_bIsPressed(FALSE),
      m_bIsFocused(FALSE),
      m_bIsDisabled(FALSE),
      m_bIsDefault(FALSE),
      m_bIsCheckBox(FALSE),
      m_byAlign(BUTTON_ALIGN_HORIZONTAL),
      m_bDrawBorder(TRUE),
      m_bDrawFlatFocus(FALSE),
      m_hMenuOwner(NULL),
      m_bMenuDisplayed(FALSE),
      m_hMenu(NULL),
      m_hCursor(NULL),
      m_hOldBk(NULL),
      m_bAlwaysTrack(TRUE),
      m_nCheck(0),
      m_nTypeStyle(0xF),
      m_dwToolTipStyle(0)
{
    ResetColors(FALSE);
    m_szUrl[0] = 0;
    memset(m_icons, 0, sizeof(m_icons));
    memset(m_bitmaps, 0, sizeof(m_bitmaps));
    memset(&m_menuCallback, 0, sizeof(m_menuCallback));
    memset(m_sounds, 0, sizeof(m_sounds));
}

CIconButton::~CIconButton()
{
    FreeImages();
    if (m_hCursor)
        ::DestroyCursor(m_hCursor);
    if (m_hMenu)
        ::DestroyMenu(m_hMenu);
    ReleaseBackground();
}

void CIconButton::ReleaseBackground()
{
    // The cached bitmap goes back only when a cache was made.
    if (m_dcBk.m_hDC != NULL && m_hOldBk != NULL)
        ::SelectObject(m_dcBk.m_hDC, m_hOldBk);
    m_hOldBk = NULL;
    m_dcBk.DeleteDC();
    m_bmpBk.DeleteObject();
}

void CIconButton::Repaint(BOOL bErase)
{
    if (GetSafeHwnd())
        Invalidate(bErase);
}

// --- images -----------------------------------------------------------------------

void CIconButton::FreeIcons(HICON hKeep1, HICON hKeep2)
{
    HICON hIn = m_icons[0].hIcon, hOut = m_icons[1].hIcon;
    if (hIn && hIn != hKeep1 && hIn != hKeep2)
        ::DestroyIcon(hIn);
    // The same handle may sit in both records: it goes once.
    if (hOut && hOut != hIn && hOut != hKeep1 && hOut != hKeep2)
        ::DestroyIcon(hOut);
    memset(m_icons, 0, sizeof(m_icons));
}

void CIconButton::FreeBitmaps(HBITMAP hKeep1, HBITMAP hKeep2, HBITMAP hKeep3, HBITMAP hKeep4)
{
    HBITMAP handles[4] = { m_bitmaps[0].hBitmap, m_bitmaps[0].hMask, m_bitmaps[1].hBitmap, m_bitmaps[1].hMask };
    for (int i = 0; i < 4; ++i) {
        HBITMAP h = handles[i];
        bool bSeen = false;
        for (int j = 0; j < i; ++j)
            bSeen = bSeen || handles[j] == h;
        if (h && !bSeen && h != hKeep1 && h != hKeep2 && h != hKeep3 && h != hKeep4)
            ::DeleteObject(h);
    }
    memset(m_bitmaps, 0, sizeof(m_bitmaps));
}

void CIconButton::FreeImages()
{
    FreeIcons(NULL, NULL);
    FreeBitmaps(NULL, NULL, NULL, NULL);
}

DWORD CIconButton::SetIcon(HICON hIconIn, HICON hIconOut)
{
    const HICON hGray = reinterpret_cast<HICON>(static_cast<INT_PTR>(ICON_AUTO_GRAY));
    const HICON hDarker = reinterpret_cast<HICON>(static_cast<INT_PTR>(ICON_AUTO_DARKER));
    // Icons the button already holds and is given again stay alive.
    FreeIcons(hIconIn, hIconOut);
    FreeBitmaps(NULL, NULL, NULL, NULL);
    if (hIconIn == NULL) {
        Repaint();
        return 0;
    }

    m_icons[0].hIcon = hIconIn;
    if (!ReadIconSize(hIconIn, &m_icons[0].cx, &m_icons[0].cy)) {
        FreeImages();
        return 1;
    }
    if (hIconOut != NULL) {
        if (hIconOut == hDarker)
            hIconOut = CreateDarkerIcon(hIconIn);
        else if (hIconOut == hGray)
            hIconOut = CreateGrayscaleIcon(hIconIn);
        m_icons[1].hIcon = hIconOut;
        if (!ReadIconSize(hIconOut, &m_icons[1].cx, &m_icons[1].cy)) {
            FreeImages();
            return 1;
        }
    }
    Repaint();
    return 0;
}

DWORD CIconButton::SetIconById(UINT nIconId)
{
    HICON hIcon = static_cast<HICON>(
        ::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIconId), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR));
    return SetIcon(hIcon, NULL);
}

DWORD CIconButton::SetBitmaps(HBITMAP hBitmapIn, HBITMAP hMaskIn, HBITMAP hBitmapOut, HBITMAP hMaskOut)
{
    FreeIcons(NULL, NULL);
    FreeBitmaps(hBitmapIn, hMaskIn, hBitmapOut, hMaskOut);
    if (hBitmapIn == NULL) {
        Repaint();
        return 0;
    }
    m_bitmaps[0].hBitmap = hBitmapIn;
    m_bitmaps[0].hMask = hMaskIn;
    m_bitmaps[1].hBitmap = hBitmapOut;
    m_bitmaps[1].hMask = hMaskOut;
    if (!ReadBitmapSize(hBitmapIn, &m_bitmaps[0].cx, &m_bitmaps[0].cy) ||
        (hBitmapOut && !ReadBitmapSize(hBitmapOut, &m_bitmaps[1].cx, &m_bitmaps[1].cy))) {
        FreeImages();
        return 1;
    }
    Repaint();
    return 0;
}

// --- look ------------------------------------------------------------------------

void CIconButton::SetAlign(BYTE byAlign, BOOL bRepaint)
{
    if (byAlign <= BUTTON_ALIGN_HORIZONTAL_RIGHT)
        m_byAlign = byAlign;
    if (bRepaint)
        Repaint();
}

void CIconButton::SetFlat(BOOL bFlat, BOOL bRepaint)
{
    m_bIsFlat = bFlat;
    if (bRepaint)
        Repaint();
}

void CIconButton::SetDrawBorder(BOOL bDrawBorder, BOOL bRepaint)
{
    m_bDrawBorder = bDrawBorder;
    if (bRepaint)
        Repaint();
}

void CIconButton::SetDrawFlatFocus(BOOL bDrawFlatFocus, BOOL bRepaint)
{
    m_bDrawFlatFocus = bDrawFlatFocus;
    if (bRepaint)
        Repaint();
}

void CIconButton::SetTransparent(BOOL bTransparent, BOOL bRepaint)
{
    m_bDrawTransparent = bTransparent;
    if (bRepaint)
        Repaint();
}

void CIconButton::SetColor(int nIndex, COLORREF crColor, BOOL bRepaint)
{
    if (nIndex < 0 || nIndex >= COLOR_COUNT)
        return;
    m_crColors[nIndex] = crColor;
    if (bRepaint)
        Repaint();
}

COLORREF CIconButton::GetColor(int nIndex) const
{
    return nIndex >= 0 && nIndex < COLOR_COUNT ? m_crColors[nIndex] : CLR_INVALID;
}

void CIconButton::ResetColors(BOOL bRepaint)
{
    for (int i = 0; i < COLOR_COUNT; i += 2) {
        m_crColors[i] = ::GetSysColor(COLOR_BTNFACE);
        m_crColors[i + 1] = ::GetSysColor(COLOR_BTNTEXT);
    }
    if (bRepaint)
        Repaint();
}

// --- behaviour ---------------------------------------------------------------------

void CIconButton::SetUrl(LPCWSTR lpszUrl)
{
    CopyName(m_szUrl, lpszUrl, MAX_NAME);
}

void CIconButton::SetBtnCursor(HCURSOR hCursor)
{
    if (m_hCursor && m_hCursor != hCursor)
        ::DestroyCursor(m_hCursor);
    m_hCursor = hCursor;
}

void CIconButton::SetMenu(HMENU hMenu, HWND hOwner, BOOL bRepaint)
{
    if (m_hMenu && m_hMenu != hMenu)
        ::DestroyMenu(m_hMenu);
    m_hMenu = hMenu;
    m_hMenuOwner = hMenu ? hOwner : NULL;
    if (bRepaint)
        Repaint();
}

void CIconButton::SetMenuCallback(HWND hWnd, UINT nMessage, LPARAM lParam)
{
    m_menuCallback.hWnd = hWnd;
    m_menuCallback.nMessage = nMessage;
    m_menuCallback.lParam = lParam;
}

void CIconButton::SetSound(LPCWSTR lpszSound, HMODULE hMod, BOOL bClick, DWORD dwFlags)
{
    Sound& sound = m_sounds[bClick ? 1 : 0];
    memset(&sound, 0, sizeof(sound));
    if (lpszSound == NULL)
        return;
    if (IS_INTRESOURCE(lpszSound)) {
        sound.lpszSound = lpszSound;
    } else {
        CopyName(sound.szName, lpszSound, MAX_NAME);
        sound.lpszSound = sound.szName;
    }
    sound.hMod = hMod;
    sound.dwFlags = dwFlags;
}

void CIconButton::PlaySound(int nIndex) const
{
    const Sound& sound = m_sounds[nIndex];
    if (sound.lpszSound != NULL)
        ::PlaySoundW(sound.lpszSound, sound.hMod, sound.dwFlags);
}

void CIconButton::OpenUrl()
{
    SHELLEXECUTEINFOW sei = {};
    sei.cbSize = sizeof(sei);
    sei.fMask = SEE_MASK_FLAG_NO_UI;
    sei.hwnd = GetSafeHwnd();
    sei.lpVerb = L"open";
    sei.lpFile = m_szUrl;
    sei.nShow = SW_SHOWMAXIMIZED;
    if (g_pfnUrlOpener)
        g_pfnUrlOpener(&sei);
    else
        ::ShellExecuteExW(&sei);
}
