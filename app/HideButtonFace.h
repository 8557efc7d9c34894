// The faces of the main window's toggling buttons: the caption, icon and tip
// of each state of Hide IP / Restore IP, Auto Hide IP / Stop Auto and
// Get Proxy / Remove Cur.
#pragma once

#include "afxwin.h"
#include "toolkit/IconButton.h"
#include "toolkit/MarkupTip.h"

enum HideButtonFace
{
    FACE_HIDE_IP,
    FACE_RESTORE_IP,
    FACE_AUTO_HIDE_IP,
    FACE_STOP_AUTO,
    FACE_GET_PROXY,
    FACE_REMOVE_CUR,
};

struct CButtonFace
{
    LPCWSTR m_pszCaption;
    UINT m_nIcon;
    UINT m_nTip;
};

const CButtonFace& GetButtonFace(HideButtonFace face);

// Caption, the face's icon as the button's only icon, and the tip (replacing
// the button's previous one).
void SetButtonFace(CIconButton& button, CMarkupTip& tip, HideButtonFace face);

// The button's caption is the face's (the toggling buttons choose their
// action by it). Captions longer than 255 characters never match.
bool ButtonShowsFace(CWnd& button, HideButtonFace face);

// Enables or disables each control of the ids on parent.
void EnableControls(CWnd& parent, const int* pIds, int nCount, BOOL bEnable);
