// The drawer with the program's resources linked in: images from the
// program, from a library mapped as data and from the resource module,
// string resources, and the hot-link notification to a host window.
#include "toolkit/MarkupDrawer.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
CString ThisModulePath()
{
    wchar_t szPath[MAX_PATH];
    DWORD nLen = ::GetModuleFileNameW(NULL, szPath, MAX_PATH);
    return CString(szPath, (int)nLen);
}

SIZE BitmapSize(HBITMAP hBitmap)
{
    BITMAP bm = {};
    ::GetObjectW(hBitmap, sizeof(bm), &bm);
    SIZE size = { bm.bmWidth, bm.bmHeight };
    return size;
}

// A message-only window that records what it is sent.
class CRecordingWindow
{
public:
    CRecordingWindow()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(NULL);
        wc.lpszClassName = L"CorvaneMarkupRecorder";
        ::RegisterClassW(&wc);
        m_hWnd = ::CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, wc.hInstance, NULL);
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, (LONG_PTR)this);
    }
    ~CRecordingWindow() { ::DestroyWindow(m_hWnd); }

    HWND m_hWnd;
    std::vector<MSG> m_sent;

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        CRecordingWindow* pThis = (CRecordingWindow*)::GetWindowLongPtrW(hWnd, GWLP_USERDATA);
        if (pThis && nMsg >= WM_USER) {
            MSG msg = {};
            msg.hwnd = hWnd;
            msg.message = nMsg;
            msg.wParam = wParam;
            msg.lParam = lParam;
            pThis->m_sent.push_back(msg);
            return 0;
        }
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
    }
};
}  // namespace

TEST(MarkupDrawerResourceTest, ProgramBitmap)
{
    CMarkupDrawer drawer;
    HBITMAP hBitmap = drawer.LoadResBitmap(IDB_SPLASH_TEXT);
    ASSERT_NE(nullptr, hBitmap);
    SIZE size = BitmapSize(hBitmap);
    EXPECT_GT(size.cx, 0);
    EXPECT_GT(size.cy, 0);
    ::DeleteObject(hBitmap);
}

TEST(MarkupDrawerResourceTest, LibraryImagesMappedAsData)
{
    CMarkupDrawer drawer;
    CString sPath = ThisModulePath();
    HBITMAP hBitmap = drawer.LoadDllBitmap(sPath, IDB_SPLASH_TEXT);
    ASSERT_NE(nullptr, hBitmap);
    DIBSECTION dib;
    EXPECT_EQ((int)sizeof(dib), ::GetObjectW(hBitmap, sizeof(dib), &dib));  // a DIB section
    ::DeleteObject(hBitmap);

    HICON hIcon = drawer.LoadIconImage(sPath, IDI_HIDE_IP, 16, 16);
    ASSERT_NE(nullptr, hIcon);
    ::DestroyIcon(hIcon);
    EXPECT_EQ(nullptr, drawer.LoadIconImage(sPath, 0xFEDC, 16, 16));
    EXPECT_EQ(nullptr, drawer.LoadDllBitmap(sPath, 0xFEDC));
}

TEST(MarkupDrawerResourceTest, ResourceModuleServesImagesWithoutALibraryPath)
{
    CMarkupDrawer drawer;
    EXPECT_EQ(nullptr, drawer.LoadDllBitmap(NULL, IDB_SPLASH_TEXT));
    ASSERT_TRUE(drawer.SetResourceModule(ThisModulePath()));
    HBITMAP hBitmap = drawer.LoadDllBitmap(NULL, IDB_SPLASH_TEXT);
    ASSERT_NE(nullptr, hBitmap);
    ::DeleteObject(hBitmap);
    HICON hIcon = drawer.LoadIconImage(NULL, IDI_HIDE_IP, 32, 32);
    ASSERT_NE(nullptr, hIcon);
    ::DestroyIcon(hIcon);
}

TEST(MarkupDrawerResourceTest, StringResources)
{
    CMarkupDrawer drawer;
    CString sExpected;
    ASSERT_TRUE(sExpected.LoadString(IDS_TIP_GET_PROXY));
    EXPECT_EQ(sExpected, drawer.LoadResourceString(IDS_TIP_GET_PROXY));
    // A string without '\n' has no tip part.
    EXPECT_TRUE(drawer.LoadTipString(IDS_TIP_GET_PROXY).IsEmpty());
}

TEST(MarkupDrawerResourceTest, HotLinkNotification)
{
    CRecordingWindow host;
    ASSERT_NE(nullptr, host.m_hWnd);
    CMarkupDrawer drawer;
    drawer.SetHotArea(0);  // no target yet: nothing is sent
    EXPECT_EQ(0, drawer.m_nHotArea);
    drawer.SetNotify(host.m_hWnd, WM_USER + 101, 7);
    drawer.SetHotArea(3);
    drawer.SetHotArea(3);  // no change, no message
    drawer.SetHotArea(MARKUP_NO_HOT_AREA);
    ASSERT_EQ(2u, host.m_sent.size());
    EXPECT_EQ((UINT)(WM_USER + 101), host.m_sent[0].message);
    EXPECT_EQ(3, (int)host.m_sent[0].wParam);
    EXPECT_EQ(7, (int)host.m_sent[0].lParam);
    EXPECT_EQ(MARKUP_NO_HOT_AREA, (int)(INT_PTR)host.m_sent[1].wParam);
    EXPECT_EQ(MARKUP_NO_HOT_AREA, drawer.m_nHotArea);

    drawer.SetNotify(host.m_hWnd, 0, 0);
    drawer.SetHotArea(1);
    EXPECT_EQ(2u, host.m_sent.size());
    EXPECT_EQ(1, drawer.m_nHotArea);
}
