// Owner-drawn push button showing an icon (or a masked bitmap) beside or above
// its caption; in the flat style its border rises only under the mouse. The
// shaded button (ShadeButton.h) derives from it and replaces the background.
//
// IconButton.cpp          construction, destruction, images and setters
// IconButtonImages.cpp    the grey and darker icon copies
// IconButtonMessages.cpp  message map: hover, click, focus, style, check state
// IconButtonDraw.cpp      DrawItem, image placement and the drawing steps
#pragma once

#include "afxwin.h"

#include <shellapi.h>

class CIconButton : public CButton
{
public:
    enum
    {
        BUTTON_ALIGN_HORIZONTAL = 0,        // image left of the caption
        BUTTON_ALIGN_VERTICAL = 1,          // image above the caption
        BUTTON_ALIGN_HORIZONTAL_RIGHT = 2,  // image right of the caption
    };
    // Values of SetIcon's out icon that make it from the in icon.
    enum
    {
        ICON_AUTO_GRAY = -2,
        ICON_AUTO_DARKER = -3
    };
    // The six state colours, in their table order.
    enum
    {
        COLOR_BK_IN = 0,  // background while hovered or pressed
        COLOR_FG_IN,      // text while hovered or pressed
        COLOR_BK_OUT,     // background otherwise
        COLOR_FG_OUT,     // text otherwise
        COLOR_BK_FOCUS,   // background while focused
        COLOR_FG_FOCUS,   // text while focused
        COLOR_COUNT
    };
    enum
    {
        MAX_NAME = 260
    };  // characters of a URL or sound name, with its end

    // How a click opens the button's page. The program installs its build's
    // link opener; with none installed the shell's ShellExecuteExW opens it.
    typedef BOOL (*UrlOpener)(SHELLEXECUTEINFOW* pInfo);
    static void SetUrlOpener(UrlOpener pfnOpener);

    CIconButton();
    ~CIconButton() override;

    // --- images (the button owns them and destroys them when replaced) -------
    // 0, or 1 when an icon's information cannot be read (the button then holds
    // no image). hIconOut may be ICON_AUTO_GRAY or ICON_AUTO_DARKER.
    DWORD SetIcon(HICON hIconIn, HICON hIconOut = NULL);
    DWORD SetIconById(UINT nIconId);  // the 32 x 32 icon resource, no out icon
    // Bitmaps drawn through their masks (SRCAND, then SRCPAINT); 0, or 1 when
    // a bitmap cannot be read.
    DWORD SetBitmaps(HBITMAP hBitmapIn, HBITMAP hMaskIn, HBITMAP hBitmapOut = NULL, HBITMAP hMaskOut = NULL);
    HICON GetIcon() const { return m_icons[0].hIcon; }

    // --- look ------------------------------------------------------------------
    void SetAlign(BYTE byAlign, BOOL bRepaint = TRUE);
    void SetFlat(BOOL bFlat = TRUE, BOOL bRepaint = TRUE);
    BYTE GetAlign() const { return m_byAlign; }
    BOOL GetFlat() const { return m_bIsFlat; }
    void SetDrawBorder(BOOL bDrawBorder = TRUE, BOOL bRepaint = TRUE);
    void SetDrawFlatFocus(BOOL bDrawFlatFocus, BOOL bRepaint = TRUE);
    void SetTransparent(BOOL bTransparent = TRUE, BOOL bRepaint = TRUE);
    void SetColor(int nIndex, COLORREF crColor, BOOL bRepaint = TRUE);
    COLORREF GetColor(int nIndex) const;
    void ResetColors(BOOL bRepaint = TRUE);
    // Hover tracking also while the owning window is not the active one.
    void SetAlwaysTrack(BOOL bAlwaysTrack = TRUE) { m_bAlwaysTrack = bAlwaysTrack; }

    // --- behaviour ----------------------------------------------------------------
    // The page a click opens; longer names are cut to MAX_NAME - 1 characters.
    void SetUrl(LPCWSTR lpszUrl);
    LPCWSTR GetUrl() const { return m_szUrl; }
    // The cursor over the button (owned); NULL for the class cursor.
    void SetBtnCursor(HCURSOR hCursor);
    // A drop-down menu (owned): its first submenu opens under the button and
    // the chosen command is posted to hOwner.
    void SetMenu(HMENU hMenu, HWND hOwner, BOOL bRepaint = TRUE);
    // hWnd gets nMessage with the submenu as wParam and lParam just before it opens.
    void SetMenuCallback(HWND hWnd, UINT nMessage, LPARAM lParam = 0);
    // PlaySoundW's arguments for entering the button (bClick FALSE) or
    // clicking it. lpszSound NULL stops that sound; a name (not a resource
    // id) is copied and cut to MAX_NAME - 1 characters.
    void SetSound(LPCWSTR lpszSound, HMODULE hMod = NULL, BOOL bClick = FALSE,
                  DWORD dwFlags = SND_ASYNC | SND_NODEFAULT);
    LPCWSTR GetSoundName(BOOL bClick) const { return m_sounds[bClick ? 1 : 0].szName; }

    // --- the class library's operations ----------------------------------------------
    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Where the image goes (image) and what room the caption keeps (pCaption),
    // from the item rectangle and the image size. Halving truncates toward zero.
    static void PrepareImageRect(BYTE byAlign, POINT ptMargin, const RECT& rcItem, BOOL bHasTitle, int cx, int cy,
                                 RECT* pCaption, RECT* pImage);
    // The grey and darker pixel rules of the icon copies; black stays black.
    static COLORREF GrayPixel(COLORREF cr);
    static COLORREF DimColor(COLORREF cr, double dFactor);

protected:
    void PreSubclassWindow() override;

    // The drawing steps of DrawItem, in the order it calls them.
    virtual DWORD OnDrawBackground(CDC* pDC, CRect* pRect);
    virtual DWORD OnDrawBorder(CDC* pDC, CRect* pRect);
    virtual DWORD DrawTheIcon(CDC* pDC, BOOL bHasTitle, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed,
                              BOOL bIsDisabled);
    virtual DWORD DrawTheBitmap(CDC* pDC, BOOL bHasTitle, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed,
                                BOOL bIsDisabled);
    virtual DWORD DrawTheText(CDC* pDC, LPCWSTR lpszText, RECT* rpItem, CRect* rpCaption, BOOL bIsPressed,
                              BOOL bIsDisabled);

    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);       // WM_SETCURSOR
    afx_msg void OnKillFocus(CWnd* pNewWnd);                                 // WM_KILLFOCUS
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);                     // WM_MOUSEMOVE
    afx_msg void OnSysColorChange();                                         // WM_SYSCOLORCHANGE
    afx_msg BOOL OnClicked();                                                // reflected BN_CLICKED
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);  // WM_ACTIVATE
    afx_msg void OnEnable(BOOL bEnable);                                     // WM_ENABLE
    afx_msg void OnCancelMode();                                             // WM_CANCELMODE
    afx_msg UINT OnGetDlgCode();                                             // WM_GETDLGCODE
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);                       // reflected WM_CTLCOLOR
    afx_msg LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);                // BM_SETSTYLE
    afx_msg void OnMouseLeave();                                             // WM_MOUSELEAVE
    afx_msg LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);                // BM_SETCHECK
    afx_msg LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);                // BM_GETCHECK

    DECLARE_MESSAGE_MAP()

    struct IconImage
    {
        HICON hIcon;
        int cx;
        int cy;
    };
    struct BitmapImage
    {
        HBITMAP hBitmap;
        int cx;
        int cy;
        HBITMAP hMask;
    };
    struct MenuCallback
    {
        HWND hWnd;
        UINT nMessage;
        LPARAM lParam;
    };
    struct Sound
    {
        WCHAR szName[MAX_NAME];
        LPCWSTR lpszSound;
        HMODULE hMod;
        DWORD dwFlags;
    };

    BOOL m_bShowDisabledBitmap;
    CPoint m_ptImageOrg;       // image margin from the button edge
    CPoint m_ptPressedOffset;  // shift of image and caption while pressed
    BOOL m_bIsFlat;
    BOOL m_bMouseOnButton;
    BOOL m_bDrawTransparent;
    BOOL m_bIsPressed;  // the three states DrawItem read last
    BOOL m_bIsFocused;
    BOOL m_bIsDisabled;
    BOOL m_bIsDefault;
    BOOL m_bIsCheckBox;
    BYTE m_byAlign;
    BOOL m_bDrawBorder;
    BOOL m_bDrawFlatFocus;
    COLORREF m_crColors[COLOR_COUNT];
    HWND m_hMenuOwner;
    BOOL m_bMenuDisplayed;
    HMENU m_hMenu;
    HCURSOR m_hCursor;
    CToolTipCtrl m_toolTip;
    CDC m_dcBk;  // the parent's pixels under the button (transparent mode)
    CBitmap m_bmpBk;
    HGDIOBJ m_hOldBk;  // what m_dcBk held before m_bmpBk
    BOOL m_bAlwaysTrack;
    int m_nCheck;
    UINT m_nTypeStyle;
    DWORD m_dwToolTipStyle;
    WCHAR m_szUrl[MAX_NAME];
    IconImage m_icons[2];      // [0] in, [1] out
    BitmapImage m_bitmaps[2];  // [0] in, [1] out
    MenuCallback m_menuCallback;
    Sound m_sounds[2];  // [0] hover, [1] click

private:
    void FreeImages();
    // Destroys both icons except the ones to keep (the caller's new icons).
    void FreeIcons(HICON hKeep1, HICON hKeep2);
    void FreeBitmaps(HBITMAP hKeep1, HBITMAP hKeep2, HBITMAP hKeep3, HBITMAP hKeep4);
    void ReleaseBackground();
    void CancelHover();
    void Repaint(BOOL bErase = TRUE);
    void InitToolTip();
    void PaintParentBackground(CDC* pDC);
    void PlaySound(int nIndex) const;
    void OpenMenu();
    void OpenUrl();
    // Which of the two images to show: 1 for the out image when present.
    int ImageIndex(bool bHasOut, BOOL bIsPressed) const;
    static HICON CreateGrayscaleIcon(HICON hIcon);
    static HICON CreateDarkerIcon(HICON hIcon);
    static HICON CreateMappedIcon(HICON hIcon, COLORREF (*pfnMap)(COLORREF));
    static COLORREF DarkerPixel(COLORREF cr);
};
