// Push button with a 32x32 icon beside or above its caption.
//
// This build shows the icon through the common controls' button image list;
// the owner-drawn face comes with the full toolkit, behind the same calls.
#pragma once

#include "afxwin.h"

class CIconButton : public CButton
{
public:
    enum {
        BUTTON_ALIGN_HORIZONTAL = 0,        // icon left of the caption
        BUTTON_ALIGN_VERTICAL = 1,          // icon above the caption
        BUTTON_ALIGN_HORIZONTAL_RIGHT = 2,  // icon right of the caption
    };
    enum { ICON_AUTO_GRAY = -2, ICON_AUTO_DARKER = -3 };

    CIconButton();
    ~CIconButton() override;

    // Takes ownership of the icons. Returns 0, or 1 when the icon cannot be
    // used (the button then shows no icon).
    DWORD SetIcon(HICON hIconIn, HICON hIconOut = NULL);
    // Loads the icon resource at 32x32.
    DWORD SetIconById(UINT nIconId);
    void SetAlign(BYTE byAlign, BOOL bRepaint = TRUE);
    void SetFlat(BOOL bFlat = TRUE, BOOL bRepaint = TRUE);

    BYTE GetAlign() const { return m_byAlign; }
    BOOL GetFlat() const { return m_bIsFlat; }
    HICON GetIcon() const { return m_hIcon; }

private:
    void FreeImages();
    void ApplyImage();

    BOOL m_bIsFlat;
    BYTE m_byAlign;
    HICON m_hIcon;
    HIMAGELIST m_hImageList;
};
