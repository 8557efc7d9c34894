// CIconButton: DrawItem and its steps (background, border, image, caption,
// focus rectangle), and where the image goes.
#include "toolkit/IconButton.h"

void CIconButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    CDC* pDC = CDC::FromHandle(lpDIS->hDC);

    if (m_bIsCheckBox)
        m_bIsPressed = (lpDIS->itemState & ODS_SELECTED) || m_nCheck == 1;
    else
        m_bIsPressed = (lpDIS->itemState & ODS_SELECTED) || (m_hMenu != NULL && m_bMenuDisplayed);
    m_bIsFocused = (lpDIS->itemState & ODS_FOCUS) != 0;
    m_bIsDisabled = (lpDIS->itemState & ODS_DISABLED) != 0;

    CRect itemRect = lpDIS->rcItem;
    pDC->SetBkMode(TRANSPARENT);

    if (m_bDrawTransparent)
        PaintParentBackground(pDC);
    else
        OnDrawBackground(pDC, &itemRect);
    OnDrawBorder(pDC, &itemRect);

    CString strTitle;
    GetWindowText(strTitle);
    const BOOL bHasTitle = !strTitle.IsEmpty();
    CRect captionRect = lpDIS->rcItem;

    if (m_icons[0].hIcon != NULL)
        DrawTheIcon(pDC, bHasTitle, &lpDIS->rcItem, &captionRect, m_bIsPressed, m_bIsDisabled);
    if (m_bitmaps[0].hBitmap != NULL) {
        pDC->SetBkColor(RGB(255, 255, 255));
        DrawTheBitmap(pDC, bHasTitle, &lpDIS->rcItem, &captionRect, m_bIsPressed, m_bIsDisabled);
    }
    if (bHasTitle)
        DrawTheText(pDC, strTitle, &lpDIS->rcItem, &captionRect, m_bIsPressed, m_bIsDisabled);

    if (m_bIsFocused && (!m_bIsFlat || m_bDrawFlatFocus)) {
        CRect focusRect = itemRect;
        focusRect.DeflateRect(3, 3);
        pDC->DrawFocusRect(&focusRect);
    }
}

DWORD CIconButton::OnDrawBackground(CDC* pDC, CRect* pRect)
{
    if (!m_bIsFlat && (m_bIsFocused || m_bIsDefault)) {
        CBrush black(RGB(0, 0, 0));
        pDC->FrameRect(pRect, &black);
        pRect->DeflateRect(1, 1);
    }
    COLORREF crBk;
    if (m_bMouseOnButton || m_bIsPressed)
        crBk = m_crColors[COLOR_BK_IN];
    else if (m_bIsFocused)
        crBk = m_crColors[COLOR_BK_FOCUS];
    else
        crBk = m_crColors[COLOR_BK_OUT];
    pDC->FillSolidRect(pRect, crBk);
    return 0;
}

DWORD CIconButton::OnDrawBorder(CDC* pDC, CRect* pRect)
{
    if (m_bIsPressed) {
        if (m_bIsFlat) {
            if (m_bDrawBorder)
                pDC->Draw3dRect(pRect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        } else {
            CBrush shadow(::GetSysColor(COLOR_BTNSHADOW));
            pDC->FrameRect(pRect, &shadow);
        }
        return 0;
    }
    if (m_bIsFlat) {
        if (m_bMouseOnButton && m_bDrawBorder)
            pDC->Draw3dRect(pRect, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        return 0;
    }

    const int L = pRect->left, T = pRect->top, R = pRect->right, B = pRect->bottom;
    CPen penHighlight(PS_SOLID, 1, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    CPen penLight(PS_SOLID, 1, ::GetSysColor(COLOR_3DLIGHT));
    CPen penDarkShadow(PS_SOLID, 1, ::GetSysColor(COLOR_3DDKSHADOW));
    CPen penShadow(PS_SOLID, 1, ::GetSysColor(COLOR_BTNSHADOW));
    CSelectGuard selPen(pDC->m_hDC, penHighlight.m_hObject);
    pDC->MoveTo(L, B - 1);
    pDC->LineTo(L, T);
    pDC->LineTo(R, T);
    pDC->SelectObject(&penLight);
    pDC->MoveTo(L + 1, B - 1);
    pDC->LineTo(L + 1, T + 1);
    pDC->LineTo(R, T + 1);
    pDC->SelectObject(&penDarkShadow);
    pDC->MoveTo(L, B - 1);
    pDC->LineTo(R - 1, B - 1);
    pDC->LineTo(R - 1, T - 1);
    pDC->SelectObject(&penShadow);
    pDC->MoveTo(L + 1, B - 2);
    pDC->LineTo(R - 2, B - 2);
    pDC->LineTo(R - 2, T);
    return 0;
}

void CIconButton::PrepareImageRect(BYTE byAlign, POINT ptMargin, const RECT& rcItem, BOOL bHasTitle, int cx, int cy,
                                   RECT* pCaption, RECT* pImage)
{
    RECT rc = rcItem;
    const int width = rc.right - rc.left, height = rc.bottom - rc.top;
    const auto centreX = [&] { rc.left += (width - cx) / 2; };
    const auto centreY = [&] { rc.top += (height - cy) / 2; };

    switch (byAlign) {
    case BUTTON_ALIGN_VERTICAL:
        centreX();
        if (bHasTitle) {
            rc.top = ptMargin.y;
            pCaption->top += cy;
        } else {
            centreY();
        }
        break;
    case BUTTON_ALIGN_HORIZONTAL_RIGHT:
        if (bHasTitle) {
            pCaption->right -= pCaption->left + ptMargin.x + cx;
            pCaption->left = ptMargin.x;
            rc.left = width - ptMargin.x - cx;
            centreY();
        } else {
            // The top stays at the item's top.
            centreX();
        }
        break;
    default:
        if (bHasTitle) {
            rc.left += ptMargin.x;
            pCaption->left += cx + ptMargin.x;
            centreY();
        } else {
            centreX();
            centreY();
        }
        break;
    }
    rc.right = rc.left + cx;
    rc.bottom = rc.top + cy;
    *pImage = rc;
}

int CIconButton::ImageIndex(bool bHasOut, BOOL bIsPressed) const
{
    if (!bHasOut)
        return 0;
    if (m_bIsCheckBox)
        return bIsPressed ? 0 : 1;
    return (!bIsPressed && !m_bMouseOnButton) ? 1 : 0;
}

DWORD CIconButton::DrawTheIcon(CDC* pDC, BOOL bHasTitle, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed,
                               BOOL bIsDisabled)
{
    const IconImage& icon = m_icons[ImageIndex(m_icons[1].hIcon != NULL, bIsPressed)];
    CRect rcImage;
    PrepareImageRect(m_byAlign, m_ptImageOrg, *rpItem, bHasTitle, icon.cx, icon.cy, rpCaption, &rcImage);
    if (bIsPressed && !m_bIsCheckBox)
        rcImage.OffsetRect(m_ptPressedOffset.x, m_ptPressedOffset.y);
    pDC->DrawState(rcImage.TopLeft(), rcImage.Size(), icon.hIcon, DSS_NORMAL | (bIsDisabled ? DSS_DISABLED : 0),
                   static_cast<HBRUSH>(NULL));
    return 0;
}

DWORD CIconButton::DrawTheBitmap(CDC* pDC, BOOL bHasTitle, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed,
                                 BOOL bIsDisabled)
{
    const BitmapImage& bmp = m_bitmaps[ImageIndex(m_bitmaps[1].hBitmap != NULL, bIsPressed)];
    CRect rcImage;
    PrepareImageRect(m_byAlign, m_ptImageOrg, *rpItem, bHasTitle, bmp.cx, bmp.cy, rpCaption, &rcImage);
    if (bIsPressed && !m_bIsCheckBox)
        rcImage.OffsetRect(m_ptPressedOffset.x, m_ptPressedOffset.y);

    CDC dcImage, dcMask;
    if (!dcImage.CreateCompatibleDC(pDC) || !dcMask.CreateCompatibleDC(pDC))
        return 0;
    CSelectGuard selImage(dcImage.m_hDC, bmp.hBitmap);
    CSelectGuard selMask(dcMask.m_hDC, bmp.hMask);

    if (bIsDisabled && m_bShowDisabledBitmap) {
        CDC dcTemp;
        CBitmap bmpTemp;
        if (!dcTemp.CreateCompatibleDC(pDC) || !bmpTemp.CreateCompatibleBitmap(pDC, bmp.cx, bmp.cy))
            return 0;
        {
            CSelectGuard selTemp(dcTemp, bmpTemp);
            dcTemp.SetBkColor(RGB(255, 255, 255));
            dcTemp.PatBlt(0, 0, bmp.cx, bmp.cy, WHITENESS);
            if (bmp.hMask)
                dcTemp.BitBlt(0, 0, bmp.cx, bmp.cy, &dcMask, 0, 0, SRCAND);
            dcTemp.BitBlt(0, 0, bmp.cx, bmp.cy, &dcImage, 0, 0, SRCPAINT);
        }
        pDC->DrawState(rcImage.TopLeft(), rcImage.Size(), static_cast<HBITMAP>(bmpTemp.m_hObject), DSS_DISABLED,
                       static_cast<HBRUSH>(NULL));
    } else {
        if (bmp.hMask)
            pDC->BitBlt(rcImage.left, rcImage.top, bmp.cx, bmp.cy, &dcMask, 0, 0, SRCAND);
        pDC->BitBlt(rcImage.left, rcImage.top, bmp.cx, bmp.cy, &dcImage, 0, 0, SRCPAINT);
    }
    return 0;
}

DWORD CIconButton::DrawTheText(CDC* pDC, LPCWSTR lpszText, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed,
                               BOOL bIsDisabled)
{
    (void)rpItem;
    if (bIsPressed && !m_bIsCheckBox)
        rpCaption->OffsetRect(m_ptPressedOffset.x, m_ptPressedOffset.y);

    CRect centerRect = *rpCaption;
    pDC->DrawText(lpszText, -1, rpCaption, DT_WORDBREAK | DT_CENTER | DT_CALCRECT);
    rpCaption->OffsetRect((centerRect.Width() - rpCaption->Width()) / 2,
                          (centerRect.Height() - rpCaption->Height()) / 2);
    pDC->SetBkMode(TRANSPARENT);

    if (bIsDisabled) {
        rpCaption->OffsetRect(1, 1);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNHIGHLIGHT));
        pDC->DrawText(lpszText, -1, rpCaption, DT_WORDBREAK | DT_CENTER);
        rpCaption->OffsetRect(-1, -1);
        pDC->SetTextColor(::GetSysColor(COLOR_BTNSHADOW));
        pDC->DrawText(lpszText, -1, rpCaption, DT_WORDBREAK | DT_CENTER);
        return 0;
    }
    int nFg, nBk;
    if (m_bMouseOnButton || bIsPressed) {
        nFg = COLOR_FG_IN;
        nBk = COLOR_BK_IN;
    } else if (m_bIsFocused) {
        nFg = COLOR_FG_FOCUS;
        nBk = COLOR_BK_FOCUS;
    } else {
        nFg = COLOR_FG_OUT;
        nBk = COLOR_BK_OUT;
    }
    pDC->SetTextColor(m_crColors[nFg]);
    pDC->SetBkColor(m_crColors[nBk]);
    pDC->DrawText(lpszText, -1, rpCaption, DT_WORDBREAK | DT_CENTER);
    return 0;
}

void CIconButton::PaintParentBackground(CDC* pDC)
{
    CWnd* pParent = GetParent();
    if (pParent == NULL)
        return;
    CRect rcClient, rcWindow;
    GetClientRect(&rcClient);
    GetWindowRect(&rcWindow);
    pParent->ScreenToClient(&rcWindow);

    if (m_dcBk.m_hDC == NULL) {
        CClientDC dcParent(pParent);
        if (!m_dcBk.CreateCompatibleDC(&dcParent))
            return;
        if (!m_bmpBk.CreateCompatibleBitmap(&dcParent, rcClient.Width(), rcClient.Height())) {
            m_dcBk.DeleteDC();
            return;
        }
        m_hOldBk = ::SelectObject(m_dcBk.m_hDC, m_bmpBk.m_hObject);
        m_dcBk.BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &dcParent, rcWindow.left, rcWindow.top, SRCCOPY);
    }
    pDC->BitBlt(0, 0, rcClient.Width(), rcClient.Height(), &m_dcBk, 0, 0, SRCCOPY);
}
