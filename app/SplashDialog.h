// The splash screen: a picture with a cycling progress text.
#pragma once

#include "afxwin.h"
#include "resource.h"

class CSplashDialog : public CDialog
{
public:
    explicit CSplashDialog(CWnd* pParent = NULL);

    enum
    {
        IDD = IDD_SPLASH
    };
    enum
    {
        TIMER_SPLASH_TEXT = 2
    };

    // The text the given step draws: one, two or three dots.
    static LPCWSTR StepText(int nStep);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnClose();
    afx_msg void OnPaint();

    DECLARE_MESSAGE_MAP()

private:
    int m_nStep;
    CStatic m_stText;
};
