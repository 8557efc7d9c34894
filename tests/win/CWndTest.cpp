// CWnd: message-map dispatch order, default handling, exceptions in
// handlers, binding and unbinding of window handles.
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include "WinTestSupport.h"

namespace {
const UINT WM_BASE_ONLY = WM_USER + 1;
const UINT WM_THROW_FILE = WM_USER + 2;
const UINT WM_THROW_STD = WM_USER + 3;

LPCWSTR TestClass()
{
    return AfxRegisterWndClass(0, ::LoadCursorW(NULL, (LPCWSTR)IDC_ARROW));
}

class CBaseWnd : public CWnd
{
public:
    std::wstring m_log;
    int m_nCreate = 0;
    int m_nPostNcDestroy = 0;

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent) { m_log += L"base-timer" + std::to_wstring(nIDEvent) + L";"; }
    afx_msg LRESULT OnBaseOnly(WPARAM wParam, LPARAM)
    {
        m_log += L"base-only;";
        return (LRESULT)wParam * 2;
    }
    afx_msg int OnCreate(LPCREATESTRUCT lpcs)
    {
        ++m_nCreate;
        return CWnd::OnCreate(lpcs);
    }
    void PostNcDestroy() override { ++m_nPostNcDestroy; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBaseWnd, CWnd)
ON_WM_CREATE()
ON_WM_TIMER()
ON_MESSAGE(WM_BASE_ONLY, &CBaseWnd::OnBaseOnly)
END_MESSAGE_MAP()

class CDerivedWnd : public CBaseWnd
{
public:
    std::wstring m_textSeenAfterDefault;

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent) { m_log += L"derived-timer" + std::to_wstring(nIDEvent) + L";"; }
    // Default handling first, then look at its effect.
    afx_msg LRESULT OnSetText(WPARAM, LPARAM)
    {
        LRESULT r = Default();
        m_textSeenAfterDefault = (LPCWSTR)GetWindowText();
        return r;
    }
    afx_msg LRESULT OnThrowFile(WPARAM, LPARAM) { AfxThrowFileException(CFileException::diskFull); }
    afx_msg LRESULT OnThrowStd(WPARAM, LPARAM) { throw std::runtime_error("boom"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerivedWnd, CBaseWnd)
ON_WM_TIMER()
ON_MESSAGE(WM_SETTEXT, &CDerivedWnd::OnSetText)
ON_MESSAGE(WM_THROW_FILE, &CDerivedWnd::OnThrowFile)
ON_MESSAGE(WM_THROW_STD, &CDerivedWnd::OnThrowStd)
END_MESSAGE_MAP()

class CWndTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_wnd.CreateEx(0, TestClass(), L"start", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, NULL, NULL));
    }
    void TearDown() override
    {
        if (m_wnd.m_hWnd)
            m_wnd.DestroyWindow();
    }
    CDerivedWnd m_wnd;
};
}  // namespace

TEST_F(CWndTest, CreateExBindsTheObjectBeforeWmCreate)
{
    EXPECT_EQ(1, m_wnd.m_nCreate);
    EXPECT_EQ(&m_wnd, CWnd::FromHandlePermanent(m_wnd.m_hWnd));
    EXPECT_EQ(&m_wnd, CWnd::FromHandle(m_wnd.m_hWnd));
}

TEST_F(CWndTest, DerivedEntryWinsAndBaseEntriesStillReached)
{
    m_wnd.SendMessage(WM_TIMER, 7, 0);
    EXPECT_EQ(L"derived-timer7;", m_wnd.m_log);
    EXPECT_EQ(10, m_wnd.SendMessage(WM_BASE_ONLY, 5, 0));
    EXPECT_EQ(L"derived-timer7;base-only;", m_wnd.m_log);
}

TEST_F(CWndTest, DefaultReachesThePreviousProcedureWithTheCurrentMessage)
{
    m_wnd.SetWindowText(L"changed");
    EXPECT_EQ(L"changed", m_wnd.m_textSeenAfterDefault);
    EXPECT_STREQ(L"changed", (LPCWSTR)m_wnd.GetWindowText());
}

TEST_F(CWndTest, ExceptionInHandlerDoesNotEscapeAndWindowGoesOn)
{
    EXPECT_EQ(0, m_wnd.SendMessage(WM_THROW_FILE));
    EXPECT_EQ(0, m_wnd.SendMessage(WM_THROW_STD));
    // The current message was put back: later handling still works.
    m_wnd.SendMessage(WM_TIMER, 1, 0);
    EXPECT_EQ(L"derived-timer1;", m_wnd.m_log);
    m_wnd.SetWindowText(L"after");
    EXPECT_EQ(L"after", m_wnd.m_textSeenAfterDefault);
}

TEST_F(CWndTest, DestroyDetachesAtNcDestroyThenPostNcDestroy)
{
    HWND hWnd = m_wnd.m_hWnd;
    EXPECT_TRUE(m_wnd.DestroyWindow());
    EXPECT_EQ(NULL, m_wnd.m_hWnd);
    EXPECT_EQ(1, m_wnd.m_nPostNcDestroy);
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hWnd));
}

TEST_F(CWndTest, ForeignWindowGetsOneTemporaryWrapper)
{
    HWND hOther = ::CreateWindowExW(0, L"STATIC", L"x", WS_CHILD, 0, 0, 10, 10, m_wnd.m_hWnd, NULL, NULL, NULL);
    ASSERT_NE((HWND)NULL, hOther);
    CWnd* p1 = CWnd::FromHandle(hOther);
    CWnd* p2 = CWnd::FromHandle(hOther);
    EXPECT_EQ(p1, p2);
    EXPECT_EQ(hOther, p1->m_hWnd);
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hOther));
    EXPECT_EQ(hOther, m_wnd.GetWindow(GW_CHILD)->m_hWnd);
}

TEST_F(CWndTest, SubclassAndUnsubclassRestoreTheProcedure)
{
    HWND hStatic = ::CreateWindowExW(0, L"STATIC", L"x", WS_CHILD, 0, 0, 10, 10, m_wnd.m_hWnd, (HMENU)55, NULL, NULL);
    LONG_PTR before = ::GetWindowLongPtrW(hStatic, GWLP_WNDPROC);
    CBaseWnd ctl;
    ASSERT_TRUE(ctl.SubclassDlgItem(55, &m_wnd));
    EXPECT_FALSE(CBaseWnd().SubclassWindow(hStatic));  // already bound
    ctl.SendMessage(WM_TIMER, 3, 0);
    EXPECT_EQ(L"base-timer3;", ctl.m_log);
    EXPECT_EQ(hStatic, ctl.UnsubclassWindow());
    EXPECT_EQ(before, ::GetWindowLongPtrW(hStatic, GWLP_WNDPROC));
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hStatic));
}

TEST_F(CWndTest, DetachedRoutedWindowReachesOnlyItsNextObject)
{
    // Detached without unsubclassing, a window still runs the framework
    // procedure: it must find no object, then the one bound next.
    HWND hStatic = ::CreateWindowExW(0, L"STATIC", L"x", WS_CHILD, 0, 0, 10, 10, m_wnd.m_hWnd, (HMENU)56, NULL, NULL);
    LONG_PTR before = ::GetWindowLongPtrW(hStatic, GWLP_WNDPROC);
    CBaseWnd first;
    ASSERT_TRUE(first.SubclassWindow(hStatic));
    EXPECT_EQ(&first, CWnd::FromHandlePermanent(hStatic));
    EXPECT_EQ(hStatic, first.Detach());
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hStatic));
    ::SendMessageW(hStatic, WM_TIMER, 1, 0);
    EXPECT_EQ(L"", first.m_log);

    CBaseWnd second;
    ASSERT_TRUE(second.SubclassWindow(hStatic));
    EXPECT_EQ(&second, CWnd::FromHandlePermanent(hStatic));
    ::SendMessageW(hStatic, WM_TIMER, 2, 0);
    EXPECT_EQ(L"", first.m_log);
    EXPECT_EQ(L"base-timer2;", second.m_log);
    EXPECT_EQ(hStatic, second.UnsubclassWindow());
    EXPECT_EQ(before, ::GetWindowLongPtrW(hStatic, GWLP_WNDPROC));
    EXPECT_EQ(NULL, CWnd::FromHandlePermanent(hStatic));

    // Bound without the framework procedure, it is found all the same.
    CWnd plain;
    ASSERT_TRUE(plain.Attach(hStatic));
    EXPECT_EQ(&plain, CWnd::FromHandlePermanent(hStatic));
    EXPECT_TRUE(plain.DestroyWindow());
    EXPECT_EQ(NULL, plain.m_hWnd);
}

TEST_F(CWndTest, ModifyStyleReportsChange)
{
    EXPECT_TRUE(m_wnd.ModifyStyle(WS_MAXIMIZEBOX, 0));
    EXPECT_FALSE(m_wnd.GetStyle() & WS_MAXIMIZEBOX);
    EXPECT_FALSE(m_wnd.ModifyStyle(WS_MAXIMIZEBOX, 0));
}

TEST(CWndNull, SafeHandleOfNullObjectIsNull)
{
    CWnd* p = NULL;
    EXPECT_EQ(NULL, p->GetSafeHwnd());
}
