// The splash window: the picture and its cycling progress text.
#include "app/SplashDialog.h"

BEGIN_MESSAGE_MAP(CSplashDialog, CDialog)
ON_WM_CLOSE()
ON_WM_TIMER()
ON_WM_PAINT()
END_MESSAGE_MAP()

CSplashDialog::CSplashDialog(CWnd* pParent) : CDialog(IDD_SPLASH, pParent), m_nStep(0) {}

LPCWSTR CSplashDialog::StepText(int nStep)
{
    static const LPCWSTR kTexts[3] = {
        L"Initializing Application.",
        L"Initializing Application..",
        L"Initializing Application...",
    };
    return kTexts[(nStep % 3 + 3) % 3];
}

void CSplashDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SPLASH_TEXT, m_stText);
}

BOOL CSplashDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_stText.SetWindowPos(&CWnd::wndTop, 117, 238, 166, 25, SWP_SHOWWINDOW);
    SetTimer(TIMER_SPLASH_TEXT, 500, NULL);
    return TRUE;
}

void CSplashDialog::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != TIMER_SPLASH_TEXT)
        return;

    // The plate's own bitmap wipes the previous text.
    m_stText.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);

    CClientDC dc(this);
    // The dialog's font keeps the longest text on the plate, so no dot is
    // left behind outside it.
    CFont* pOldFont = dc.SelectObject(GetFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 128));
    LPCWSTR text = StepText(m_nStep);
    dc.TextOut(120, 240, text, lstrlenW(text));
    if (pOldFont)
        dc.SelectObject(pOldFont);

    if (++m_nStep == 3)
        m_nStep = 0;
}

void CSplashDialog::OnClose()
{
    KillTimer(TIMER_SPLASH_TEXT);
    CDialog::OnClose();
}

void CSplashDialog::OnPaint()
{
    CDialog::OnPaint();
}
