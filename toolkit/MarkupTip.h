// The mark-up tooltip of one owner window: a popup balloon that shows the
// mark-up text of the control under the resting cursor.
//
// The class is split by concern:
//   MarkupTip.cpp           construction, Create, the tool registry, the
//                           window's message handlers, destruction
//   MarkupTipEvents.cpp     RelayEvent, the four states and five timers
//   MarkupTipLookup.cpp     which tool lies under the cursor
//   MarkupTipDebug.cpp      the debug tip about the window under the cursor
//   MarkupTipPaint.cpp      preparing, shaping and painting the balloon
//   MarkupTipPlacement.*    where the balloon goes and its shape, on plain data
#pragma once

#include "afxwin.h"
#include "toolkit/MarkupDrawer.h"
#include "toolkit/MarkupTipPlacement.h"

#include <map>
#include <vector>

// The window messages of the tooltip window itself. Their numbers equal two
// of the main window's, but they are only ever sent to the tip window.
#define NM_TIP_DISPLAY (WM_USER + 100)
#define WM_TIP_REPAINT (WM_USER + 101)

// Which display fields a tool record sets itself; a clear bit takes the
// tooltip's default when the tip is prepared.
enum
{
    TIPMASK_STYLE = 0x01,
    TIPMASK_EFFECT = 0x02,  // effect and granularity
    TIPMASK_COLORS = 0x04,  // begin, mid and end colours
    TIPMASK_DIRECTION = 0x08,
    TIPMASK_BEHAVIOUR = 0x10,
    TIPMASK_TRANSPARENCY = 0x20,
};

// Behaviour bits of the tip on screen.
enum
{
    TIPBEHAVIOUR_FORGET = 0x01,          // forget the tool when its tip hides
    TIPBEHAVIOUR_FOLLOW = 0x02,          // the tip follows the cursor inside the tool
    TIPBEHAVIOUR_MOVE_KEEPS = 0x04,      // a move inside the tool restarts the auto-pop time
    TIPBEHAVIOUR_OVER_TIP_KEEPS = 0x08,  // the cursor over the tip restarts the auto-pop time
    TIPBEHAVIOUR_NO_AUTOPOP = 0x10,
};

enum
{
    TIPSTATE_HIDDEN = 0,
    TIPSTATE_APPEARING = 1,
    TIPSTATE_SHOWN = 2,
    TIPSTATE_DISAPPEARING = 3,
};

enum
{
    TIPTIMER_SHOW = 256,
    TIPTIMER_HIDE = 257,
    TIPTIMER_FADEIN = 258,
    TIPTIMER_FADEOUT = 259,
    TIPTIMER_ANIMATION = 260,
};

// One tool: an area of a window and the tip it shows.
struct ToolTipInfo
{
    int nId = 0;                   // 0 for AddTool, the command id of a toolbar button
    RECT rcTool = { 0, 0, 0, 0 };  // client coordinates of its window; empty: the whole window
    CString sText;                 // the tip's mark-up
    UINT nMask = 0;                // TIPMASK_* fields set by the record itself
    int nStyle = 0;
    int nDirection = 0;   // TipDirection code
    int nEffect = 0;      // background effect id
    UINT nBehaviour = 0;  // TIPBEHAVIOUR_* bits
    BYTE nGranularity = 0;
    BYTE nTransparency = 0;  // 0 opaque to 100 invisible, in percent
    COLORREF crBegin = 0;
    COLORREF crMid = 0;
    COLORREF crEnd = 0;
};

// What the display notification (WM_NOTIFY with NM_TIP_DISPLAY) carries;
// the receiver may change the record before the tip is measured.
struct TipDisplayNotify
{
    NMHDR hdr;
    HWND hWnd;      // the tool window
    POINT* pPoint;  // screen point where the tip will show
    ToolTipInfo* pInfo;
};

class CMarkupTip : public CWnd
{
public:
    CMarkupTip();
    ~CMarkupTip() override;

    // Creates the tip window for pOwner's controls. FALSE when it cannot be
    // made; the tip then ignores every call.
    BOOL Create(CWnd* pOwner);
    // The whole control shows string nStringId; a second call replaces it.
    void AddTool(CWnd* pControl, UINT nStringId);
    // The whole control shows a mark-up text, every display field defaulted.
    void AddToolText(CWnd* pControl, const CString& strText);
    // Inserts the record, or replaces the control's record of the same area.
    void AddToolInfo(CWnd* pControl, const ToolTipInfo& info);
    void RemoveAllTools();
    // Feeds one message of the owner's loop to the tip.
    void RelayEvent(MSG* pMsg);
    // A solid border of that colour, one pixel wide.
    void SetBorder(COLORREF crBorder);

    // Read-only view of the registry: the number of tool records, and the
    // text of the record that covers the whole of hControl (FALSE if none).
    int GetToolCount() const;
    BOOL GetToolText(HWND hControl, CString& strText) const;
    // The tip object of a tip window (of any thread of this process), or NULL.
    static CMarkupTip* FromTipWindow(HWND hTip);

    BOOL DestroyWindow() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Frames the balloon region; a subclass may draw another border.
    virtual BOOL OnDrawBorder(HDC hDC, HRGN hRgn);

protected:
    typedef std::map<HWND, std::vector<ToolTipInfo>> ToolMap;

    // --- events and states (MarkupTipEvents.cpp) ---------------------------
    void OnRelayedMouseMove(POINT ptScreen);
    void OnRelayedLeftClick(POINT ptScreen);
    void SetNewToolTip(const ToolTipInfo& info, HWND hWnd);
    void StartHide();
    void SetAutoPopTimer();
    void KillTooltip();
    BOOL IsCursorInTooltip() const;
    void MoveTooltip(POINT ptScreen);
    void StepShow();
    void StepHide();
    void StepFadeIn();
    void StepFadeOut();
    void StepAnimation();
    void ForgetDisplayedTool();

    // --- tool look-up (MarkupTipLookup.cpp) --------------------------------
    BOOL FindToolBarItem(POINT ptScreen, ToolTipInfo& info, HWND& hWnd) const;
    BOOL FindToolFromPoint(POINT ptClient, ToolTipInfo& info, HWND& hWnd) const;
    // The window that FindToolFromPoint would ask, disabled or not (NULL if
    // none), and the point on the screen.
    HWND FindCandidateWindow(POINT ptClient, POINT& ptScreen) const;
    static BOOL IsComboBoxWindow(HWND hWnd);
    // ptScreen is converted into hWnd's client area once, here.
    BOOL FindToolInWindow(HWND hWnd, POINT ptScreen, ToolTipInfo& info) const;

    // --- debug tip (MarkupTipDebug.cpp) ---------------------------------------
    CString BuildDebugInfo(POINT ptClient) const;
    static CString FormatDebugRow(LPCWSTR pszLabel, const CString& strValue);
    static CString ShortenDebugText(const CString& strText);

    // --- balloon (MarkupTipPaint.cpp) ------------------------------------------
    void PrepareTooltip(POINT ptScreen);
    void FillDefaults(ToolTipInfo& info) const;
    void NotifyDisplay(POINT ptScreen, ToolTipInfo& info);
    void PaintBackground(HDC hWindowDC);
    void CaptureScreen(POINT ptWindow);
    void PaintTooltip(HDC hDC, int nTransparency);
    void PaintShadow(HDC hResult, HDC hDC, int cx, int cy, int nTransparency);
    void FreeTooltipResources();
    TipBalloonShape GetBalloonShape() const;

    // --- handlers (MarkupTip.cpp) ---------------------------------------------------
    afx_msg void OnPaint();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg LRESULT OnHotAreaChanged(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    CMarkupDrawer m_drawer;
    HWND m_hParentWnd;
    HWND m_hTipNotifyWnd;
    BOOL m_bHotRepaint;
    BOOL m_bDebugMode;
    POINT m_ptLastMouse;
    HWND m_hCurrentWnd;
    ToolTipInfo m_tiDisplayed;
    BOOL m_bQueuedDelay;
    BOOL m_bQueued;
    HWND m_hPendingWnd;
    ToolTipInfo m_tiPending;
    int m_nDirection;
    int m_nTransparency;
    int m_nTipState;
    COLORREF m_crBegin, m_crMid, m_crEnd;
    HBITMAP m_hBitmapBk;
    HBITMAP m_hBitmapScreen;
    HBRUSH m_hBorderBrush;
    int m_nBorderWidth, m_nBorderHeight;
    BOOL m_bTipShadowGradient;
    SIZE m_szTipShadowOffset;
    SIZE m_szTipShadowBlur;
    BYTE m_nTipShadowDarkness;
    HRGN m_hRgn;
    int m_nTimeAutoPop;
    int m_nTimeInitial;
    int m_nTimeFadeIn;
    int m_nTimeFadeOut;
    int m_nDefBehaviour;
    int m_nDefEffect;
    int m_nDefDirection;
    int m_nDefStyle;
    BYTE m_nDefGranularity;
    BYTE m_nDefTransparency;
    BOOL m_bFadeIn, m_bFadeOut;
    SIZE m_szRoundCorner;
    SIZE m_szMargin;
    int m_nAnchorWidth;
    int m_nAnchorHeight;
    int m_nAnchorMargin;
    RECT m_rcText, m_rcBody, m_rcWindow;
    POINT m_ptAnchor;  // anchor point of the current tip, window coordinates
    ToolMap m_mapTools;
    std::vector<HWND> m_arrToolBars;
};
