// Links of the mark-up drawer in a real window driven by mouse messages: the
// link under the cursor turns hot (its hover style is painted and the window
// is told), and a click follows it through the build's link opener, which
// records it instead of opening it.
#include <gtest/gtest.h>

#include "app/LinkOpener.h"
#include "tests/win/WinTestSupport.h"
#include "toolkit/LinkLauncher.h"
#include "toolkit/MarkupDrawer.h"

#include <stdio.h>

#include <string>
#include <vector>

namespace {

const UINT WM_HOT_CHANGED = WM_APP + 1;
const UINT WM_LINK_MESSAGE = WM_APP + 2;
const LPARAM kNotifyParam = 77;
const COLORREF kLinkColor = RGB(0, 0, 255);
const COLORREF kHoverColor = RGB(255, 0, 0);

// Smoothed text blends its colour with the white ground: a pixel counts for
// the colour when that colour's channel leads and the others are well below.
bool IsShadeOf(COLORREF cr, COLORREF crOf)
{
    const int r = GetRValue(cr), g = GetGValue(cr), b = GetBValue(cr);
    if (crOf == kHoverColor)
        return r > 160 && g < 110 && b < 110;
    return b > 160 && r < 110 && g < 110;
}

// A window that paints one mark-up text and passes the mouse to the drawer.
struct MarkupHost
{
    CMarkupDrawer drawer;
    std::wstring text;
    std::vector<int> hotIds;  // ids the drawer reported, in order
    std::vector<LPARAM> hotParams;
    std::vector<std::wstring> messages;  // texts of message links
    int nPaints = 0;
    int nFollowed = 0;

    static LRESULT CALLBACK WndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        MarkupHost* pHost = reinterpret_cast<MarkupHost*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (pHost == NULL)
            return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
        const POINT pt = { static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)) };
        switch (nMsg) {
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC hDC = ::BeginPaint(hWnd, &ps);
            RECT rc;
            ::GetClientRect(hWnd, &rc);
            ::FillRect(hDC, &rc, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
            // Measured again each time: the hot link may change its font.
            const CSize size = pHost->drawer.MeasureMarkup(hDC, pHost->text.c_str());
            RECT rcText = { 0, 0, size.cx, size.cy };
            pHost->drawer.DrawMarkup(&rcText, hDC);
            ::EndPaint(hWnd, &ps);
            ++pHost->nPaints;
            return 0;
        }
        case WM_MOUSEMOVE: pHost->drawer.TrackHotArea(pt); return 0;
        case WM_LBUTTONUP: pHost->nFollowed = pHost->drawer.FollowLink(pHost->drawer.FindAreaAt(pt)); return 0;
        case WM_HOT_CHANGED:
            pHost->hotIds.push_back(static_cast<int>(wParam));
            pHost->hotParams.push_back(lParam);
            ::InvalidateRect(hWnd, NULL, FALSE);
            return 0;
        case WM_LINK_MESSAGE: pHost->messages.push_back(reinterpret_cast<LPCWSTR>(wParam)); return 1;
        default: return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
        }
    }
};

class MarkupHotLinkWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // The recorder writes to the current directory: one of this test's
        // own, so that other tests recording links at the same time do not mix in.
        WCHAR szTemp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, szTemp);
        ::GetCurrentDirectoryW(MAX_PATH, m_szOldDir);
        m_dir = std::wstring(szTemp) + L"markup-hot-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(m_dir.c_str(), NULL);
        ASSERT_TRUE(::SetCurrentDirectoryW(m_dir.c_str()));
        ::DeleteFileW(LINK_RECORD_FILE);
        CLinkLauncher::SetOpener(&ShellOpenLink);

        WNDCLASSW wc = {};
        wc.lpfnWndProc = &MarkupHost::WndProc;
        wc.hInstance = ::GetModuleHandleW(NULL);
        wc.hCursor = ::LoadCursorW(NULL, IDC_ARROW);
        wc.lpszClassName = L"MarkupHotLinkHost";
        ::RegisterClassW(&wc);

        m_host.drawer.ParseStyleSheet(
            L"body {font-size: 10pt; color:black; font-family:Verdana}\r\n"
            L"a:link {color:#0000ff}\r\n"
            L"a:hover {color:#ff0000}\r\n");
        m_host.text = L"before <a href=http://127.0.0.1:9/page>the page</a> between <a msg=hello>a message</a>";
        m_hWnd = ::CreateWindowExW(0, wc.lpszClassName, L"hot links", WS_POPUP | WS_VISIBLE, 40, 40, 400, 60, NULL,
                                   NULL, wc.hInstance, NULL);
        ASSERT_NE(static_cast<HWND>(NULL), m_hWnd);
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_host));
        m_host.drawer.SetNotify(m_hWnd, WM_HOT_CHANGED, kNotifyParam);
        m_host.drawer.m_hLinkMsgWnd = m_hWnd;
        m_host.drawer.m_nLinkMsg = WM_LINK_MESSAGE;
        m_host.drawer.LoadHandCursor();
        ::InvalidateRect(m_hWnd, NULL, TRUE);
        ::UpdateWindow(m_hWnd);
        ASSERT_TRUE(PumpUntil([&] { return m_host.nPaints > 0; }, 5000));
        ASSERT_EQ(2u, m_host.drawer.m_arrAreas.size());
    }

    void TearDown() override
    {
        if (m_hWnd != NULL)
            ::DestroyWindow(m_hWnd);
        CLinkLauncher::SetOpener(NULL);
        ::DeleteFileW(LINK_RECORD_FILE);
        ::SetCurrentDirectoryW(m_szOldDir);
        ::RemoveDirectoryW(m_dir.c_str());
    }

    POINT CentreOf(size_t nArea) const
    {
        const HtmlArea& area = m_host.drawer.m_arrAreas[nArea];
        return POINT{ (area.left + area.right) / 2, (area.top + area.bottom) / 2 };
    }

    void Post(UINT nMsg, POINT pt)
    {
        // The pointer itself goes there too: the moves the system makes from
        // the real pointer (a window shown under it, say) then land on the
        // same place and cannot take a hot state away.
        if (nMsg == WM_MOUSEMOVE) {
            POINT screen = pt;
            ::ClientToScreen(m_hWnd, &screen);
            ::SetCursorPos(screen.x, screen.y);
        }
        ::PostMessageW(m_hWnd, nMsg, nMsg == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(pt.x, pt.y));
    }

    // Pixels of one of the two link colours inside an area of the window, read back from the screen.
    int CountInArea(size_t nArea, COLORREF cr) const
    {
        const HtmlArea& area = m_host.drawer.m_arrAreas[nArea];
        HDC hDC = ::GetDC(m_hWnd);
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                if (IsShadeOf(::GetPixel(hDC, x, y), cr))
                    ++n;
        ::ReleaseDC(m_hWnd, hDC);
        return n;
    }

    std::string RecordedLinks() const
    {
        HANDLE h = ::CreateFileW(LINK_RECORD_FILE, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                 OPEN_EXISTING, 0, NULL);
        if (h == INVALID_HANDLE_VALUE)
            return std::string();
        char buf[1024] = {};
        DWORD n = 0;
        ::ReadFile(h, buf, sizeof(buf) - 1, &n, NULL);
        ::CloseHandle(h);
        return std::string(buf, n);
    }

    MarkupHost m_host;
    HWND m_hWnd = NULL;
    WCHAR m_szOldDir[MAX_PATH] = {};
    std::wstring m_dir;
};

TEST_F(MarkupHotLinkWindowTest, TheLinkUnderTheCursorTurnsHotAndTheWindowIsTold)
{
    EXPECT_GT(CountInArea(0, kLinkColor), 0);
    EXPECT_EQ(0, CountInArea(0, kHoverColor));

    const int nPaints = m_host.nPaints;
    Post(WM_MOUSEMOVE, CentreOf(0));
    ASSERT_TRUE(PumpUntil([&] { return !m_host.hotIds.empty() && m_host.nPaints > nPaints; }, 5000));
    EXPECT_EQ(std::vector<int>{ 0 }, m_host.hotIds);
    EXPECT_EQ(kNotifyParam, m_host.hotParams[0]);
    EXPECT_EQ(0, m_host.drawer.m_nHotArea);
    // Painted in the hover style; the other link keeps the plain one.
    EXPECT_GT(CountInArea(0, kHoverColor), 0);
    EXPECT_EQ(0, CountInArea(0, kLinkColor));
    EXPECT_GT(CountInArea(1, kLinkColor), 0);

    // Moving within the link tells nothing new; moving off it tells once.
    Post(WM_MOUSEMOVE, POINT{ CentreOf(0).x + 1, CentreOf(0).y });
    Post(WM_MOUSEMOVE, POINT{ 2, 55 });
    ASSERT_TRUE(PumpUntil([&] { return m_host.hotIds.size() >= 2; }, 5000));
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ((std::vector<int>{ 0, MARKUP_NO_HOT_AREA }), m_host.hotIds);
    EXPECT_EQ(MARKUP_NO_HOT_AREA, m_host.drawer.m_nHotArea);
    EXPECT_EQ(0, CountInArea(0, kHoverColor));
}

TEST_F(MarkupHotLinkWindowTest, AClickFollowsTheAddressThroughTheLinkOpener)
{
    const POINT pt = CentreOf(0);
    Post(WM_MOUSEMOVE, pt);
    Post(WM_LBUTTONDOWN, pt);
    Post(WM_LBUTTONUP, pt);
    ASSERT_TRUE(PumpUntil([&] { return m_host.nFollowed != 0; }, 5000));
    // The recorder answers as the shell does on success.
    EXPECT_GT(m_host.nFollowed, 32);
    char expect[128];
    snprintf(expect, sizeof(expect), "open\thttp://127.0.0.1:9/page\t\t\t%d\t0\r\n", SW_SHOW);
    EXPECT_EQ(expect, RecordedLinks());
    EXPECT_TRUE(m_host.messages.empty());
}

TEST_F(MarkupHotLinkWindowTest, AClickOnAMessageLinkSendsItsTextToTheWindow)
{
    const POINT pt = CentreOf(1);
    Post(WM_MOUSEMOVE, pt);
    Post(WM_LBUTTONUP, pt);
    ASSERT_TRUE(PumpUntil([&] { return !m_host.messages.empty(); }, 5000));
    EXPECT_EQ(std::vector<std::wstring>{ L"hello" }, m_host.messages);
    EXPECT_EQ(1, m_host.nFollowed);
    EXPECT_EQ(std::vector<int>{ 1 }, m_host.hotIds);
    EXPECT_EQ(std::string(), RecordedLinks());
}

}  // namespace
