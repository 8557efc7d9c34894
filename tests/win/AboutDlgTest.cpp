// The About box (template 100) as a real modal dialog: its texts, its icon,
// and that it closes and clears g_bAboutOpen.
#include "app/AboutDlg.h"
#include "app/CorvaneMessages.h"
#include "res/dialogs_server.h"
#include "tests/win/ModalScript.h"

#include <gtest/gtest.h>

namespace {

INT_PTR RunAbout(const std::function<void(HWND)>& act)
{
    INT_PTR result = -2;
    g_bAboutOpen = true;
    {
        CAboutDlg dlg;
        bool acted = false;
        EXPECT_TRUE(CModalScript::Run([&] { result = dlg.DoModal(); },
                                      [&]() -> bool {
                                          HWND h = dlg.GetSafeHwnd();
                                          if (h == NULL || !IsWindowVisible(h))
                                              return false;
                                          if (!acted) {
                                              acted = true;
                                              act(h);
                                          }
                                          return false;  // until the dialog has gone
                                      }));
        EXPECT_TRUE(g_bAboutOpen);
    }
    EXPECT_FALSE(g_bAboutOpen);
    return result;
}

TEST(AboutDlgTest, ShowsItsTextsAndClosesWithOk)
{
    INT_PTR result = RunAbout([](HWND h) {
        EXPECT_EQ(L"About Corvane Tessaly", CModalScript::Text(h));
        EXPECT_EQ(L"Corvane Tessaly: Hide IP tool by private proxy servers",
                  CModalScript::Text(GetDlgItem(h, IDC_ABOUT_TITLE)));
        EXPECT_EQ(L"Version: 1.2.8", CModalScript::Text(GetDlgItem(h, IDC_ABOUT_VERSION)));
        EXPECT_EQ(L"Update: 01/11/2014", CModalScript::Text(GetDlgItem(h, IDC_ABOUT_UPDATE)));
        EXPECT_NE(0, GetWindowLongPtrW(GetDlgItem(h, IDC_ABOUT_VERSION), GWL_STYLE) & SS_NOPREFIX);
        EXPECT_NE(nullptr, (HICON)SendMessageW(GetDlgItem(h, IDC_ABOUT_ICON), STM_GETICON, 0, 0));
        EXPECT_EQ(L"OK", CModalScript::Text(GetDlgItem(h, IDOK)));
        EXPECT_EQ((LRESULT)MAKELONG(IDOK, DC_HASDEFID), SendMessageW(h, DM_GETDEFID, 0, 0));
        SendMessageW(GetDlgItem(h, IDOK), BM_CLICK, 0, 0);
    });
    EXPECT_EQ(IDOK, result);
}

TEST(AboutDlgTest, EscAndTheCloseBoxCloseIt)
{
    EXPECT_EQ(IDCANCEL, RunAbout([](HWND h) { PostMessageW(GetDlgItem(h, IDOK), WM_KEYDOWN, VK_ESCAPE, 0); }));
    EXPECT_EQ(IDCANCEL, RunAbout([](HWND h) { PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0); }));
}

}  // namespace
