// The server message dialog (template 138) as a real modal dialog: its four
// types, the painted lines, and how each way of dismissing it ends the dialog
// or asks the main window to end the program.
#include "app/CorvaneMessages.h"
#include "app/PushMessage.h"
#include "res/dialogs_server.h"
#include "tests/e2e/ScreenPixels.h"
#include "tests/win/ModalScript.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

namespace {

// A stand-in for the main window: counts the requests to end the program.
int g_nExitRequests = 0;

LRESULT CALLBACK StandInProc(HWND h, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_EXIT_APP) {
        ++g_nExitRequests;
        return 0;
    }
    return DefWindowProcW(h, msg, wParam, lParam);
}

int g_nLinksOpened = 0;
HWND g_hLinkOwner = NULL;
std::wstring g_strLink;

void RecordLink(HWND hOwner, LPCWSTR pszUrl)
{
    ++g_nLinksOpened;
    g_hLinkOwner = hOwner;
    g_strLink = pszUrl;
}

struct TextRows
{
    int top = -1, bottom = -1, left = -1;
    bool red = false;
};

class PushMessageTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = StandInProc;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.lpszClassName = L"CorvaneStandInMain";
        RegisterClassW(&wc);
        m_hMain = CreateWindowExW(0, wc.lpszClassName, L"stand-in", WS_OVERLAPPED, 0, 0, 100, 100, NULL, NULL,
                                  wc.hInstance, NULL);
        ASSERT_NE(nullptr, m_hMain);
        m_hSavedMain = g_hMainWnd;
        g_hMainWnd = m_hMain;
        g_nExitRequests = 0;
        m_pfnSavedLink = CPushMessage::s_pfnOpenLink;
        CPushMessage::s_pfnOpenLink = RecordLink;
        g_nLinksOpened = 0;
    }
    void TearDown() override
    {
        CPushMessage::s_pfnOpenLink = m_pfnSavedLink;
        g_hMainWnd = m_hSavedMain;
        DestroyWindow(m_hMain);
    }

    // Runs the dialog; step gets its window once it is up and returns true when finished.
    INT_PTR Run(CPushMessage& dlg, const std::function<bool(HWND)>& step)
    {
        INT_PTR result = -2;
        bool ok = CModalScript::Run([&] { result = dlg.DoModal(); },
                                    [&]() -> bool {
                                        HWND h = dlg.GetSafeHwnd();
                                        if (h == NULL || !IsWindowVisible(h))
                                            return false;
                                        return step(h);
                                    });
        EXPECT_TRUE(ok) << "the script timed out";
        return result;
    }

    // Rows and columns of the message text in the client area, read from the screen.
    static TextRows ReadText(HWND h)
    {
        SetWindowPos(h, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        RedrawWindow(h, NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        RECT rc;
        GetClientRect(h, &rc);
        // Above the buttons.
        HWND hButton = GetDlgItem(h, IDC_PUSH_EXIT);
        RECT rcButton;
        GetWindowRect(hButton, &rcButton);
        POINT buttonTop = { rcButton.left, rcButton.top };
        ScreenToClient(h, &buttonTop);
        RECT area = { 0, 0, rc.right, buttonTop.y - 1 };
        ScreenShot shot = CaptureClient(h, area);
        TextRows rows;
        COLORREF back = shot.At(1, 1);
        for (int y = 0; y < shot.height; ++y) {
            for (int x = 0; x < shot.width; ++x) {
                COLORREF c = shot.At(x, y);
                int diff = abs(GetRValue(c) - GetRValue(back)) + abs(GetGValue(c) - GetGValue(back)) +
                           abs(GetBValue(c) - GetBValue(back));
                if (diff < 90)
                    continue;
                if (rows.top < 0)
                    rows.top = y;
                rows.bottom = y;
                if (rows.left < 0 || x < rows.left)
                    rows.left = x;
                if (GetRValue(c) > 180 && GetGValue(c) < 90 && GetBValue(c) < 90)
                    rows.red = true;
            }
        }
        return rows;
    }

    HWND m_hMain = NULL;
    HWND m_hSavedMain = NULL;
    CPushMessage::PFN_OPEN_LINK m_pfnSavedLink = NULL;
};

TEST_F(PushMessageTest, FourTypes)
{
    struct Case
    {
        int type;
        const wchar_t* caption;
        const wchar_t* exitText;
        bool webSite;
        const wchar_t* webSiteText;
    } cases[] = {
        { 1, L"Our site", L"OK", false, NULL },
        { 2, L"Our site", L"OK", true, L"Our site" },
        { 3, L"Our site", L"Exit", false, NULL },
        { 4, L"Our site", L"Exit", true, L"Our site" },
        { 2, L"", L"OK", true, L"" },                     // reply without caption markers
        { 4, NULL, L"Exit", true, L"Official Website" },  // no caption given: the template's
        { 7, L"Our site", L"Exit", true, L"Our site" },   // an unknown type is no OK type
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        CPushMessage dlg(c.caption, c.type, L"Hello");
        Run(dlg, [&](HWND h) {
            EXPECT_EQ(L"Message", CModalScript::Text(h));
            EXPECT_EQ(c.exitText, CModalScript::Text(GetDlgItem(h, IDC_PUSH_EXIT)));
            HWND hWebSite = GetDlgItem(h, IDC_PUSH_WEBSITE);
            EXPECT_EQ(c.webSite, IsWindowVisible(hWebSite) != FALSE);
            if (c.webSiteText != NULL)
                EXPECT_EQ(c.webSiteText, CModalScript::Text(hWebSite));
            dlg.EndDialog(IDABORT);
            return true;
        });
    }
}

TEST_F(PushMessageTest, OkTypesEndTheDialog)
{
    struct Way
    {
        const char* name;
        std::function<void(HWND)> act;
    } ways[] = {
        { "button", [](HWND h) { SendMessageW(GetDlgItem(h, IDC_PUSH_EXIT), BM_CLICK, 0, 0); } },
        { "Esc", [](HWND h) { PostMessageW(GetDlgItem(h, IDC_PUSH_EXIT), WM_KEYDOWN, VK_ESCAPE, 0); } },
        { "Enter", [](HWND h) { SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); } },
        { "close box", [](HWND h) { PostMessageW(h, WM_CLOSE, 0, 0); } },
        { "cancel", [](HWND h) { SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); } },
    };
    for (int type = 1; type <= 2; ++type) {
        for (const Way& way : ways) {
            SCOPED_TRACE(std::to_string(type) + " " + way.name);
            CPushMessage dlg(L"Our site", type, L"Hello");
            bool acted = false;
            INT_PTR result = Run(dlg, [&](HWND h) {
                if (!acted) {
                    acted = true;
                    way.act(h);
                }
                return false;  // until the dialog has gone
            });
            EXPECT_EQ(IDOK, result);
            EXPECT_EQ(0, g_nExitRequests);
        }
    }
}

TEST_F(PushMessageTest, ExitTypesAskTheMainWindowToEndTheProgram)
{
    struct Way
    {
        const char* name;
        std::function<void(HWND)> act;
    } ways[] = {
        { "button", [](HWND h) { SendMessageW(GetDlgItem(h, IDC_PUSH_EXIT), BM_CLICK, 0, 0); } },
        { "Esc", [](HWND h) { PostMessageW(GetDlgItem(h, IDC_PUSH_EXIT), WM_KEYDOWN, VK_ESCAPE, 0); } },
        { "Enter", [](HWND h) { SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0); } },
        { "close box", [](HWND h) { PostMessageW(h, WM_CLOSE, 0, 0); } },
        { "cancel", [](HWND h) { SendMessageW(h, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); } },
    };
    for (int type = 3; type <= 4; ++type) {
        for (const Way& way : ways) {
            SCOPED_TRACE(std::to_string(type) + " " + way.name);
            g_nExitRequests = 0;
            CPushMessage dlg(L"Our site", type, L"Goodbye");
            int steps = 0;
            INT_PTR result = Run(dlg, [&](HWND h) {
                if (steps++ == 0) {
                    way.act(h);
                    return false;
                }
                if (g_nExitRequests == 0 && steps < 60)
                    return false;
                // The program would end now; the dialog itself stays.
                EXPECT_TRUE(IsWindowVisible(h));
                dlg.EndDialog(IDABORT);
                return true;
            });
            EXPECT_EQ(1, g_nExitRequests);
            EXPECT_EQ(IDABORT, result);
        }
    }
}

TEST_F(PushMessageTest, WebSiteButtonLeavesTheMessageUp)
{
    CPushMessage dlg(L"Visit us", 2, L"Hello");
    HWND hDialog = NULL;
    INT_PTR result = Run(dlg, [&](HWND h) {
        hDialog = h;
        SendMessageW(GetDlgItem(h, IDC_PUSH_WEBSITE), BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowVisible(h));
        dlg.EndDialog(IDABORT);
        return true;
    });
    EXPECT_EQ(IDABORT, result);
    EXPECT_EQ(1, g_nLinksOpened);
    EXPECT_EQ(hDialog, g_hLinkOwner);
    EXPECT_EQ(MAKER_HOME_PAGE, g_strLink);
}

TEST_F(PushMessageTest, TextIsPaintedOnOneOrTwoLines)
{
    struct Case
    {
        const char* name;
        int type;
        std::wstring text;
        bool twoLines;
    } cases[] = {
        { "50 characters", 1, std::wstring(50, L'W'), false },
        { "51 characters", 1, std::wstring(51, L'W'), true },
        { "305 characters", 2, std::wstring(305, L'W'), true },
        { "306 characters", 1, std::wstring(306, L'W'), false },
        { "short red", 3, L"Server closed", false },
        { "long red", 4, std::wstring(60, L'W'), true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPushMessage dlg(L"", c.type, c.text.c_str());
        Run(dlg, [&](HWND h) {
            TextRows first = ReadText(h);
            // Covered and uncovered: painted the same way again.
            TextRows again = ReadText(h);
            EXPECT_EQ(first.top, again.top);
            EXPECT_EQ(first.bottom, again.bottom);
            EXPECT_GE(first.left, 45);
            EXPECT_LE(first.left, 50);
            if (c.twoLines) {
                EXPECT_GE(first.top, 15);
                EXPECT_LT(first.top, 30);
                EXPECT_GE(first.bottom, 50);
            } else {
                EXPECT_GE(first.top, 30);
                EXPECT_LT(first.bottom, 50);
            }
            EXPECT_EQ(c.type >= 3, first.red);
            dlg.EndDialog(IDABORT);
            return true;
        });
        EXPECT_EQ(c.text, std::wstring(dlg.m_pszText));
    }
}

TEST_F(PushMessageTest, NothingIsPaintedWithoutTextOrForAnUnknownType)
{
    CPushMessage none(L"", 1, NULL);
    EXPECT_EQ(nullptr, none.m_pszText);
    Run(none, [&](HWND h) {
        EXPECT_EQ(-1, ReadText(h).top);
        none.EndDialog(IDABORT);
        return true;
    });
    CPushMessage unknown(L"", 5, L"Hello");
    Run(unknown, [&](HWND h) {
        EXPECT_EQ(-1, ReadText(h).top);
        unknown.EndDialog(IDABORT);
        return true;
    });
}

TEST(PushMessageLines, SplitAtCharacterFifty)
{
    CString first, second;
    EXPECT_EQ(0, CPushMessage::SplitLines(NULL, first, second));
    EXPECT_EQ(1, CPushMessage::SplitLines(L"", first, second));
    std::wstring text = std::wstring(50, L'a') + L"bc";
    EXPECT_EQ(1, CPushMessage::SplitLines(text.substr(0, 50).c_str(), first, second));
    EXPECT_EQ(CString(std::wstring(50, L'a').c_str()), first);
    EXPECT_TRUE(second.IsEmpty());
    EXPECT_EQ(2, CPushMessage::SplitLines(text.c_str(), first, second));
    EXPECT_EQ(CString(std::wstring(50, L'a').c_str()), first);
    EXPECT_EQ(CString(L"bc"), second);
    EXPECT_EQ(2, CPushMessage::SplitLines(std::wstring(305, L'x').c_str(), first, second));
    EXPECT_EQ(255, second.GetLength());
    EXPECT_EQ(1, CPushMessage::SplitLines(std::wstring(306, L'x').c_str(), first, second));
    EXPECT_EQ(306, first.GetLength());
}

TEST(PushMessageCopies, TextsAreCopied)
{
    wchar_t caption[] = L"Site";
    wchar_t text[] = L"Hello";
    CPushMessage dlg(caption, 2, text);
    caption[0] = L'X';
    text[0] = L'X';
    EXPECT_STREQ(L"Site", dlg.m_pszLinkCaption);
    EXPECT_STREQ(L"Hello", dlg.m_pszText);
    EXPECT_EQ(2, dlg.m_nType);
    CPushMessage empty(NULL, 1, NULL);
    EXPECT_EQ(nullptr, empty.m_pszLinkCaption);
    EXPECT_EQ(nullptr, empty.m_pszText);
}

}  // namespace
