// The settings dialog on screen: what its pages show, the checks before a
// page is left or OK is pressed, saving on OK, nothing on Cancel, Reset to
// Defaults, the up-down controls, the keys and the pages' tips.
#include "tests/win/SettingDialogDriver.h"

#include "app/CorvaneMessages.h"

#include <string>
#include <vector>

using namespace settingdlg;

namespace {

const char kFetchedUrl[] = "http://127.0.0.1:18188/fetched.htm";
const char kFetchedText[] = "FetchedText";
int g_nFetches = 0;

// The maker's test definition, without a server.
void FakeFetch(CStringA& strReply)
{
    ++g_nFetches;
    strReply = CStringA(kFetchedUrl) + "|" + kFetchedText + "|";
}

const char kStoredUrl[] = "http://127.0.0.1:18210/page.html";
const char kStoredText[] = "Welcome";

// Stored values that differ from every default.
void StoredValues(CSettings& s)
{
    s.GetAnonymous()->m_bElite = false;
    s.GetAnonymous()->m_bTransparent = true;
    s.GetAnonymous()->m_bAnonymous = true;
    s.GetCountry()->m_bAllCountries = false;
    CSettingTestItem* t = s.GetTest();
    t->m_nTestType = 2;
    t->m_nThreadCount = 12;
    t->m_nTimeoutSeconds = 15;
    strcpy(t->m_szURL, kStoredUrl);
    strcpy(t->m_szCorrectValue, kStoredText);
    s.GetSwitch()->m_bFirefox = false;
    s.GetSwitch()->m_nRatio = 60;
    s.GetSwitch()->m_nInterval = 7;
    strcpy(s.GetMisc()->m_szProxyUser, "tester");
    s.GetMisc()->m_bReplaceByGet = false;
    s.GetMisc()->SetMac("00-11-22-33-44-55");
}

bool IsChecked(HWND hButton)
{
    return SendMessageW(hButton, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

class SettingDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        sandbox.Start(StoredValues);
        g_nFetches = 0;
    }

    // A fresh start: the file read into new settings.
    static void Reload(CSettings& settings) { ASSERT_TRUE(LoadSettings(settings)); }

    CSettingsSandbox sandbox{ FakeFetch };
};

TEST_F(SettingDialogTest, OpensOnTheTestPageWithTheStoredValues)
{
    EXPECT_FALSE(g_bSettingOpen);
    CSettingDialogRun run;
    HWND hDlg = run.Dialog();
    ASSERT_NE(nullptr, hDlg);
    EXPECT_TRUE(g_bSettingOpen);
    EXPECT_EQ(L"Setting", WindowText(hDlg));

    HWND hTab = run.Tab();
    ASSERT_EQ(2, (int)SendMessageW(hTab, TCM_GETITEMCOUNT, 0, 0));
    const wchar_t* tabs[] = { L"Test Proxy Setting", L"Switch Proxy Setting" };
    for (int i = 0; i < 2; ++i) {
        wchar_t text[64] = L"";
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        SendMessageW(hTab, TCM_GETITEMW, i, (LPARAM)&item);
        EXPECT_STREQ(tabs[i], text);
    }
    EXPECT_EQ(0, run.CurTab());
    HWND hTest = run.TestPage(), hSwitch = run.SwitchPage();
    ASSERT_NE(nullptr, hTest);
    ASSERT_NE(nullptr, hSwitch);
    EXPECT_TRUE(IsWindowVisible(hTest));
    EXPECT_FALSE(IsWindowVisible(hSwitch));
    RECT client, page;
    GetClientRect(hTab, &client);
    GetWindowRect(hTest, &page);
    MapWindowPoints(NULL, hTab, (POINT*)&page, 2);
    EXPECT_EQ(10, page.left);
    EXPECT_EQ(30, page.top);
    EXPECT_EQ(client.right - 20, page.right - page.left);
    EXPECT_EQ(client.bottom - 40, page.bottom - page.top);

    EXPECT_FALSE(IsChecked(run.TestItem(IDC_TEST_TYPE_NONE)));
    EXPECT_FALSE(IsWindowVisible(run.TestItem(IDC_TEST_TYPE_AVAILABILITY)));
    EXPECT_TRUE(IsChecked(run.TestItem(IDC_TEST_TYPE_SPEED)));
    EXPECT_EQ(L"12", WindowText(run.TestItem(IDC_TEST_THREADS)));
    EXPECT_EQ(L"15", WindowText(run.TestItem(IDC_TEST_TIMEOUT)));
    EXPECT_EQ(std::wstring(CString(kStoredUrl)), WindowText(run.TestItem(IDC_TEST_URL)));
    EXPECT_EQ(std::wstring(CString(kStoredText)), WindowText(run.TestItem(IDC_TEST_EXPECTED)));
    EXPECT_EQ(L"60", WindowText(run.SwitchItem(IDC_SWITCH_RATIO)));
    EXPECT_EQ(L"7", WindowText(run.SwitchItem(IDC_SWITCH_INTERVAL)));
    EXPECT_TRUE(IsChecked(run.SwitchItem(IDC_SWITCH_IE)));
    EXPECT_FALSE(IsWindowEnabled(run.SwitchItem(IDC_SWITCH_IE)));

    struct
    {
        HWND hSpin;
        HWND hBuddy;
        int nMin, nMax;
    } spins[] = {
        { run.TestItem(IDC_TEST_THREADS_SPIN), run.TestItem(IDC_TEST_THREADS), 5, 30 },
        { run.TestItem(IDC_TEST_TIMEOUT_SPIN), run.TestItem(IDC_TEST_TIMEOUT), 5, 30 },
        { run.SwitchItem(IDC_SWITCH_RATIO_SPIN), run.SwitchItem(IDC_SWITCH_RATIO), 20, 100 },
        { run.SwitchItem(IDC_SWITCH_INTERVAL_SPIN), run.SwitchItem(IDC_SWITCH_INTERVAL), 4, 100 },
    };
    for (const auto& spin : spins) {
        int nMin = 0, nMax = 0;
        SendMessageW(spin.hSpin, UDM_GETRANGE32, (WPARAM)&nMin, (LPARAM)&nMax);
        EXPECT_EQ(spin.nMin, nMin);
        EXPECT_EQ(spin.nMax, nMax);
        EXPECT_EQ(spin.hBuddy, (HWND)SendMessageW(spin.hSpin, UDM_GETBUDDY, 0, 0));
    }

    run.ClickButton(IDCANCEL);
    EXPECT_EQ(IDCANCEL, run.WaitForEnd());
    EXPECT_FALSE(g_bSettingOpen);
}

struct FieldCase
{
    int nTab;  // 0 test page, 1 switch page
    int nControl;
    std::wstring text;
    const wchar_t* pszMessage;  // NULL: accepted
};

std::vector<FieldCase> FieldCases()
{
    const wchar_t* threads = L"The test thread number must be bewteen 5 to 30.";
    const wchar_t* timeout = L"The timeout seconds must be bewteen 5 to 30.";
    const wchar_t* ratio = L"The ratio must be bewteen 20 to 100.";
    const wchar_t* interval = L"The interval value must be bewteen 4 to 100 minutes.";
    const wchar_t* url = L"The URL is too long";
    const wchar_t* expected = L"The Expected Return String is too long";
    const wchar_t* urlChars = L"The URL has invalid characters";
    const wchar_t* expectedChars = L"The Expected Return String has invalid characters";
    return {
        { 0, IDC_TEST_THREADS, L"5", NULL },
        { 0, IDC_TEST_THREADS, L"30", NULL },
        { 0, IDC_TEST_THREADS, L" 8", NULL },
        { 0, IDC_TEST_THREADS, L"4", threads },
        { 0, IDC_TEST_THREADS, L"31", threads },
        { 0, IDC_TEST_THREADS, L"", threads },
        { 0, IDC_TEST_THREADS, L"-10", threads },
        { 0, IDC_TEST_THREADS, L"99999999999", threads },
        { 0, IDC_TEST_TIMEOUT, L"5", NULL },
        { 0, IDC_TEST_TIMEOUT, L"30", NULL },
        { 0, IDC_TEST_TIMEOUT, L"4", timeout },
        { 0, IDC_TEST_TIMEOUT, L"31", timeout },
        { 0, IDC_TEST_URL, std::wstring(255, L'u'), NULL },
        { 0, IDC_TEST_URL, std::wstring(256, L'u'), url },
        { 0, IDC_TEST_EXPECTED, std::wstring(255, L'e'), NULL },
        { 0, IDC_TEST_EXPECTED, std::wstring(256, L'e'), expected },
        { 0, IDC_TEST_URL, L"http://a/\tb", urlChars },
        { 0, IDC_TEST_URL, L"http://a/\r\nb", urlChars },
        { 0, IDC_TEST_URL, L"http://a/\x1a", urlChars },
        { 0, IDC_TEST_EXPECTED, L"a\tb", expectedChars },
        { 0, IDC_TEST_EXPECTED, L"a\nb", expectedChars },
        { 0, IDC_TEST_EXPECTED, L"a\x7f", expectedChars },
        { 1, IDC_SWITCH_RATIO, L"20", NULL },
        { 1, IDC_SWITCH_RATIO, L"100", NULL },
        { 1, IDC_SWITCH_RATIO, L"19", ratio },
        { 1, IDC_SWITCH_RATIO, L"101", ratio },
        { 1, IDC_SWITCH_INTERVAL, L"4", NULL },
        { 1, IDC_SWITCH_INTERVAL, L"100", NULL },
        { 1, IDC_SWITCH_INTERVAL, L"3", interval },
        { 1, IDC_SWITCH_INTERVAL, L"101", interval },
    };
}

TEST_F(SettingDialogTest, EachFieldAcceptsItsRangeAndRefusesTheRestBeforeLeavingOrOk)
{
    const std::string before = sandbox.FileBytes();
    CSettingDialogRun run;
    ASSERT_NE(nullptr, run.Dialog());

    for (const FieldCase& c : FieldCases()) {
        SCOPED_TRACE(testing::Message() << "control " << c.nControl << " text \""
                                        << CStringA(c.text.c_str()).GetString() << "\"");
        ASSERT_TRUE(run.GoToTab(c.nTab));
        HWND hPage = c.nTab == 0 ? run.TestPage() : run.SwitchPage();
        HWND hOther = c.nTab == 0 ? run.SwitchPage() : run.TestPage();
        HWND hEdit = GetDlgItem(hPage, c.nControl);
        const std::wstring valid = WindowText(hEdit);
        run.SetText(hEdit, c.text);

        if (!c.pszMessage) {
            // Accepted: the other page comes up without a word.
            run.ClickTab(1 - c.nTab);
            EXPECT_TRUE(WaitFor([&] { return IsWindowVisible(hOther) != FALSE; }));
            EXPECT_EQ(nullptr, run.AnyBox(100));
            EXPECT_FALSE(IsWindowVisible(hPage));
        } else {
            // Refused on the way to the other page and on OK alike.
            for (bool bOk : { false, true }) {
                SCOPED_TRACE(bOk ? "OK" : "other tab");
                if (bOk)
                    run.ClickButton(IDOK);
                else
                    run.ClickTab(1 - c.nTab);
                HWND hBox = run.WaitForBox(c.pszMessage);
                ASSERT_NE(nullptr, hBox) << "no message; a box says: "
                                         << CStringA(BoxTexts(run.AnyBox()).c_str()).GetString();
                EXPECT_EQ(std::wstring(AfxGetAppName()), WindowText(hBox));
                ASSERT_TRUE(run.Answer(hBox, IDOK));
                EXPECT_TRUE(WaitFor([&] { return run.Focus() == hEdit; })) << "the focus is elsewhere";
                EXPECT_EQ(c.nTab, run.CurTab());
                EXPECT_TRUE(IsWindowVisible(hPage));
                EXPECT_FALSE(IsWindowVisible(hOther));
                EXPECT_TRUE(run.IsOpen());
            }
        }
        run.SetText(hEdit, valid);
    }
    EXPECT_EQ(before, sandbox.FileBytes()) << "nothing is saved while a value is refused";
    run.ClickButton(IDCANCEL);
    EXPECT_EQ(IDCANCEL, run.WaitForEnd());
}

TEST_F(SettingDialogTest, TheFirstFaultInTheCheckingOrderIsReported)
{
    CSettingDialogRun run;
    ASSERT_NE(nullptr, run.Dialog());
    run.SetText(run.TestItem(IDC_TEST_THREADS), L"3");
    run.SetText(run.TestItem(IDC_TEST_URL), std::wstring(300, L'u'));
    run.SetText(run.SwitchItem(IDC_SWITCH_INTERVAL), L"1");
    const wchar_t* expected[] = {
        L"The interval value must be bewteen 4 to 100 minutes.",
        L"The test thread number must be bewteen 5 to 30.",
        L"The URL is too long",
    };
    int fix[] = { IDC_SWITCH_INTERVAL, IDC_TEST_THREADS, IDC_TEST_URL };
    for (int i = 0; i < 3; ++i) {
        run.ClickButton(IDOK);
        HWND hBox = run.WaitForBox(expected[i]);
        ASSERT_NE(nullptr, hBox) << i;
        ASSERT_TRUE(run.Answer(hBox, IDOK));
        EXPECT_EQ(i == 0 ? 1 : 0, run.CurTab());
        HWND hEdit = i == 0 ? run.SwitchItem(fix[i]) : run.TestItem(fix[i]);
        EXPECT_TRUE(WaitFor([&] { return run.Focus() == hEdit; }));
        run.SetText(hEdit, i == 2 ? L"http://127.0.0.1:18210/" : L"10");
    }
    run.ClickButton(IDOK);
    EXPECT_EQ(IDOK, run.WaitForEnd());
}

TEST_F(SettingDialogTest, OkSavesEveryFieldAndAFreshStartReadsThemBack)
{
    CSettingDialogRun run;
    ASSERT_NE(nullptr, run.Dialog());
    run.Click(run.TestItem(IDC_TEST_TYPE_NONE));
    ASSERT_TRUE(WaitFor([&] { return IsChecked(run.TestItem(IDC_TEST_TYPE_NONE)); }));
    run.SetText(run.TestItem(IDC_TEST_THREADS), L"30");
    run.SetText(run.TestItem(IDC_TEST_TIMEOUT), L"5");
    run.SetText(run.TestItem(IDC_TEST_URL), L"http://127.0.0.1:18210/other.html");
    run.SetText(run.TestItem(IDC_TEST_EXPECTED), L"Other text");
    ASSERT_TRUE(run.GoToTab(1));
    run.SetText(run.SwitchItem(IDC_SWITCH_RATIO), L"20");
    run.SetText(run.SwitchItem(IDC_SWITCH_INTERVAL), L"100");
    run.ClickButton(IDOK);
    ASSERT_EQ(IDOK, run.WaitForEnd());
    EXPECT_EQ(nullptr, FindOtherBox(NULL));
    EXPECT_EQ(0, g_nFetches);

    CSettings fresh;
    Reload(fresh);
    const CSettingTestItem* t = fresh.GetTest();
    EXPECT_EQ(0, t->m_nTestType);
    EXPECT_EQ(30, t->m_nThreadCount);
    EXPECT_EQ(5, t->m_nTimeoutSeconds);
    EXPECT_STREQ("http://127.0.0.1:18210/other.html", t->m_szURL);
    EXPECT_STREQ("Other text", t->m_szCorrectValue);
    EXPECT_EQ(20, fresh.GetSwitch()->m_nRatio);
    EXPECT_EQ(100, fresh.GetSwitch()->m_nInterval);
    EXPECT_FALSE(fresh.GetSwitch()->m_bFirefox);
    // What the dialog does not show keeps its stored values.
    EXPECT_FALSE(fresh.GetAnonymous()->m_bElite);
    EXPECT_TRUE(fresh.GetAnonymous()->m_bTransparent);
    EXPECT_FALSE(fresh.GetCountry()->m_bAllCountries);
    EXPECT_STREQ("tester", fresh.GetMisc()->m_szProxyUser);
    EXPECT_FALSE(fresh.GetMisc()->m_bReplaceByGet);
    EXPECT_STREQ("00-11-22-33-44-55", fresh.GetMisc()->m_szMac);
    // The running program holds the same values.
    EXPECT_EQ(30, GetSettings().GetTest()->m_nThreadCount);
    EXPECT_EQ(20, GetSettings().GetSwitch()->m_nRatio);
}

TEST_F(SettingDialogTest, CancelAndEscChangeNothing)
{
    const std::string before = sandbox.FileBytes();
    for (bool bEsc : { false, true }) {
        SCOPED_TRACE(bEsc ? "Esc in a page" : "Cancel");
        CSettingDialogRun run;
        ASSERT_NE(nullptr, run.Dialog());
        run.Click(run.TestItem(IDC_TEST_TYPE_NONE));
        run.SetText(run.TestItem(IDC_TEST_THREADS), L"29");
        run.SetText(run.TestItem(IDC_TEST_URL), L"http://127.0.0.1:18210/changed");
        run.SetText(run.SwitchItem(IDC_SWITCH_RATIO), L"99");
        if (bEsc)
            PostMessageW(run.TestItem(IDC_TEST_THREADS), WM_KEYDOWN, VK_ESCAPE, 0);
        else
            run.ClickButton(IDCANCEL);
        EXPECT_EQ(IDCANCEL, run.WaitForEnd());
        EXPECT_EQ(before, sandbox.FileBytes());
        EXPECT_EQ(2, GetSettings().GetTest()->m_nTestType);
        EXPECT_EQ(12, GetSettings().GetTest()->m_nThreadCount);
        EXPECT_STREQ(kStoredUrl, GetSettings().GetTest()->m_szURL);
        EXPECT_EQ(60, GetSettings().GetSwitch()->m_nRatio);
    }
}

TEST_F(SettingDialogTest, EnterInAPagePressesOk)
{
    CSettingDialogRun run;
    ASSERT_NE(nullptr, run.Dialog());
    ASSERT_TRUE(run.GoToTab(1));
    run.SetText(run.SwitchItem(IDC_SWITCH_INTERVAL), L"42");
    PostMessageW(run.SwitchItem(IDC_SWITCH_INTERVAL), WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(IDOK, run.WaitForEnd());
    CSettings fresh;
    Reload(fresh);
    EXPECT_EQ(42, fresh.GetSwitch()->m_nInterval);
}

TEST_F(SettingDialogTest, AnEmptyUrlTakesTheTestDefinitionAndResetsTheTestNumbers)
{
    CSettingDialogRun run;
    ASSERT_NE(nullptr, run.Dialog());
    run.SetText(run.TestItem(IDC_TEST_THREADS), L"25");
    run.SetText(run.TestItem(IDC_TEST_TIMEOUT), L"26");
    run.SetText(run.TestItem(IDC_TEST_URL), L"");
    run.SetText(run.TestItem(IDC_TEST_EXPECTED), L"Kept text");
    run.ClickButton(IDOK);
    ASSERT_EQ(IDOK, run.WaitForEnd());
    EXPECT_EQ(1, g_nFetches);

    CSettings fresh;
    Reload(fresh);
    const CSettingTestItem* t = fresh.GetTest();
    EXPECT_EQ(0, t->m_nTestType);
    EXPECT_EQ(10, t->m_nThreadCount);
    EXPECT_EQ(20, t->m_nTimeoutSeconds);
    EXPECT_STREQ(kFetchedUrl, t->m_szURL);
    EXPECT_STREQ("Kept text", t->m_szCorrectValue);
}

TEST_F(SettingDialogTest, StoredAvailabilityTypeStaysUntilTheUserPicksAnother)
{
    GetSettings().GetTest()->m_nTestType = 1;
    ASSERT_TRUE(SaveSettings(GetSettings()));
    struct
    {
        int nClick;
        int nStored;
    } cases[] = { { 0, 1 }, { IDC_TEST_TYPE_SPEED, 2 }, { IDC_TEST_TYPE_NONE, 0 } };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nClick);
        GetSettings().GetTest()->m_nTestType = 1;
        CSettingDialogRun run;
        ASSERT_NE(nullptr, run.Dialog());
        EXPECT_FALSE(IsChecked(run.TestItem(IDC_TEST_TYPE_NONE)));
        EXPECT_FALSE(IsChecked(run.TestItem(IDC_TEST_TYPE_SPEED)));
        if (c.nClick) {
            run.Click(run.TestItem(c.nClick));
            ASSERT_TRUE(WaitFor([&] { return IsChecked(run.TestItem(c.nClick)); }));
        }
        run.ClickButton(IDOK);
        ASSERT_EQ(IDOK, run.WaitForEnd());
        CSettings fresh;
        Reload(fresh);
        EXPECT_EQ(c.nStored, fresh.GetTest()->m_nTestType);
    }
}

TEST_F(SettingDialogTest, ResetAnsweredNoKeepsEverything)
{
    const std::string before = sandbox.FileBytes();
    CSettingDialogRun run;
    ASSERT_NE(nullptr, run.Dialog());
    run.SetText(run.TestItem(IDC_TEST_THREADS), L"28");
    run.ClickButton(IDC_SETTING_RESET);
    HWND hBox = run.WaitForBox(kResetQuestion);
    ASSERT_NE(nullptr, hBox);
    EXPECT_EQ(std::wstring(AfxGetAppName()), WindowText(hBox));
    EXPECT_NE(nullptr, GetDlgItem(hBox, IDYES));
    EXPECT_NE(nullptr, GetDlgItem(hBox, IDNO));
    ASSERT_TRUE(run.Answer(hBox, IDNO));
    EXPECT_EQ(L"28", WindowText(run.TestItem(IDC_TEST_THREADS)));
    EXPECT_EQ(before, sandbox.FileBytes());
    EXPECT_EQ(0, g_nFetches);
    run.ClickButton(IDCANCEL);
    EXPECT_EQ(IDCANCEL, run.WaitForEnd());
}

TEST_F(SettingDialogTest, ResetAnsweredYesSavesTheDefaultsEvenWhenCancelledAfterwards)
{
    CSettingDialogRun run;
    ASSERT_NE(nullptr, run.Dialog());
    run.ClickButton(IDC_SETTING_RESET);
    HWND hBox = run.WaitForBox(kResetQuestion);
    ASSERT_NE(nullptr, hBox);
    ASSERT_TRUE(run.Answer(hBox, IDYES));
    HWND hUrl = run.TestItem(IDC_TEST_URL);
    EXPECT_TRUE(WaitFor([&] { return WindowText(hUrl) == std::wstring(CString(kFetchedUrl)); }));
    EXPECT_EQ(std::wstring(CString(kFetchedText)), WindowText(run.TestItem(IDC_TEST_EXPECTED)));
    EXPECT_TRUE(IsChecked(run.TestItem(IDC_TEST_TYPE_NONE)));
    EXPECT_FALSE(IsChecked(run.TestItem(IDC_TEST_TYPE_SPEED)));
    EXPECT_EQ(L"10", WindowText(run.TestItem(IDC_TEST_THREADS)));
    EXPECT_EQ(L"20", WindowText(run.TestItem(IDC_TEST_TIMEOUT)));
    EXPECT_EQ(L"100", WindowText(run.SwitchItem(IDC_SWITCH_RATIO)));
    EXPECT_EQ(L"5", WindowText(run.SwitchItem(IDC_SWITCH_INTERVAL)));
    run.ClickButton(IDCANCEL);
    ASSERT_EQ(IDCANCEL, run.WaitForEnd());
    EXPECT_EQ(1, g_nFetches);

    CSettings fresh;
    Reload(fresh);
    EXPECT_TRUE(fresh.GetAnonymous()->m_bElite);
    EXPECT_FALSE(fresh.GetAnonymous()->m_bTransparent);
    EXPECT_TRUE(fresh.GetCountry()->m_bAllCountries);
    EXPECT_EQ(0, fresh.GetTest()->m_nTestType);
    EXPECT_EQ(10, fresh.GetTest()->m_nThreadCount);
    EXPECT_STREQ(kFetchedUrl, fresh.GetTest()->m_szURL);
    EXPECT_STREQ(kFetchedText, fresh.GetTest()->m_szCorrectValue);
    EXPECT_EQ(100, fresh.GetSwitch()->m_nRatio);
    EXPECT_EQ(5, fresh.GetSwitch()->m_nInterval);
    // The misc section is not reset.
    EXPECT_STREQ("tester", fresh.GetMisc()->m_szProxyUser);
    EXPECT_FALSE(fresh.GetMisc()->m_bReplaceByGet);
    EXPECT_STREQ("00-11-22-33-44-55", fresh.GetMisc()->m_szMac);
}

TEST_F(SettingDialogTest, WithoutReadablePrefsTheFirefoxBoxIsDisabledAndOkClearsTheChoice)
{
    GetSettings().GetSwitch()->m_bFirefox = true;
    CSettingDialogRun run;
    ASSERT_NE(nullptr, run.Dialog());
    HWND hFirefox = run.SwitchItem(IDC_SWITCH_FIREFOX);
    EXPECT_FALSE(IsWindowEnabled(hFirefox));
    EXPECT_FALSE(IsChecked(hFirefox));
    run.ClickButton(IDOK);
    ASSERT_EQ(IDOK, run.WaitForEnd());
    EXPECT_EQ(nullptr, FindOtherBox(NULL));
    CSettings fresh;
    Reload(fresh);
    EXPECT_FALSE(fresh.GetSwitch()->m_bFirefox);
}

TEST_F(SettingDialogTest, ArrowKeysStepTheNumbersWithinTheirRanges)
{
    CSettingDialogRun run;
    ASSERT_NE(nullptr, run.Dialog());
    struct
    {
        int nTab;
        int nControl;
        const wchar_t* start;
        UINT vk;
        const wchar_t* once;
    } cases[] = {
        { 0, IDC_TEST_THREADS, L"29", VK_UP, L"30" },
        { 0, IDC_TEST_TIMEOUT, L"6", VK_DOWN, L"5" },
        { 1, IDC_SWITCH_RATIO, L"99", VK_UP, L"100" },
        { 1, IDC_SWITCH_INTERVAL, L"5", VK_DOWN, L"4" },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nControl);
        ASSERT_TRUE(run.GoToTab(c.nTab));
        HWND hEdit = c.nTab == 0 ? run.TestItem(c.nControl) : run.SwitchItem(c.nControl);
        run.SetText(hEdit, c.start);
        for (int i = 0; i < 2; ++i) {
            PostMessageW(hEdit, WM_KEYDOWN, c.vk, 1);
            PostMessageW(hEdit, WM_KEYUP, c.vk, 0xC0000001);
            EXPECT_TRUE(WaitFor([&] { return WindowText(hEdit) == c.once; }, 3000))
                << "shows " << CStringA(WindowText(hEdit).c_str()).GetString();
        }
        Sleep(100);
        EXPECT_EQ(c.once, WindowText(hEdit)) << "stepped past the end of the range";
    }
    run.ClickButton(IDCANCEL);
    EXPECT_EQ(IDCANCEL, run.WaitForEnd());
}

// The tip of a page serving hControl. The registry is read from the test's
// thread while the dialog's thread waits in its loop; it was filled before
// the page was shown.
struct TipSearch
{
    HWND hControl;
    CMarkupTip* pTip;
};

BOOL CALLBACK FindTipProc(HWND h, LPARAM lp)
{
    TipSearch* s = reinterpret_cast<TipSearch*>(lp);
    CMarkupTip* pTip = CMarkupTip::FromTipWindow(h);
    CString text;
    if (pTip && pTip->GetToolText(s->hControl, text)) {
        s->pTip = pTip;
        return FALSE;
    }
    return TRUE;
}

CMarkupTip* FindTip(DWORD threadId, HWND hControl)
{
    TipSearch search = { hControl, NULL };
    EnumThreadWindows(threadId, FindTipProc, reinterpret_cast<LPARAM>(&search));
    return search.pTip;
}

std::wstring TipText(const CMarkupTip* pTip, HWND hControl)
{
    CString text;
    if (!pTip->GetToolText(hControl, text))
        return L"(none)";
    return text.GetString();
}

TEST_F(SettingDialogTest, EachPageTipsItsControls)
{
    CSettingDialogRun run;
    ASSERT_NE(nullptr, run.Dialog());
    struct
    {
        bool bTest;
        int nControl;
        const wchar_t* tip;
    } tips[] = {
        { true, IDC_TEST_TYPE_NONE, L"Don't test proxies automatically after getting them" },
        { true, IDC_TEST_TYPE_AVAILABILITY,
          L"Quick test just for availability.the proxy speed is not tested,so may be not accurate" },
        { true, IDC_TEST_TYPE_SPEED, L"Full test for proxies' availability and speed after getting them" },
        { true, IDC_TEST_THREADS, L"How many threads will be created for testing proxies" },
        { true, IDC_TEST_TIMEOUT, L"The timeout seconds for testing one proxy" },
        { true, IDC_TEST_URL, L"The website URL for testing proxies" },
        { true, IDC_TEST_EXPECTED,
          L"The expected return string from above website.Please refer to FAQ in official website about more info." },
        { true, IDC_TEST_THREADS_SPIN, L"(none)" },
        { false, IDC_SWITCH_FIREFOX,
          L"If checkbox is disabled, the root cause is you login Windows as non-admin.Find solution in FAQ at "
          L"http://www.corvanetessaly.com/" },
        { false, IDC_SWITCH_RATIO, L"Only first X% proxies will be used to avoid slow proxies" },
        { false, IDC_SWITCH_INTERVAL, L"Switch your IP every X minutes in \"Auto Hide IP\" mode" },
        { false, IDC_SWITCH_IE, L"(none)" },
        { false, IDC_SWITCH_RATIO_SPIN, L"(none)" },
    };
    CMarkupTip* pTestTip = FindTip(run.ThreadId(), run.TestItem(IDC_TEST_URL));
    CMarkupTip* pSwitchTip = FindTip(run.ThreadId(), run.SwitchItem(IDC_SWITCH_RATIO));
    ASSERT_NE(nullptr, pTestTip);
    ASSERT_NE(nullptr, pSwitchTip);
    EXPECT_NE(pTestTip->GetSafeHwnd(), pSwitchTip->GetSafeHwnd()) << "each page has a tip window of its own";
    EXPECT_EQ(7, pTestTip->GetToolCount());
    EXPECT_EQ(3, pSwitchTip->GetToolCount());
    for (const auto& t : tips) {
        HWND hPage = t.bTest ? run.TestPage() : run.SwitchPage();
        EXPECT_EQ(std::wstring(t.tip), TipText(t.bTest ? pTestTip : pSwitchTip, GetDlgItem(hPage, t.nControl)))
            << t.nControl;
    }
    run.ClickButton(IDCANCEL);
    EXPECT_EQ(IDCANCEL, run.WaitForEnd());
}

// The visible tip window of the dialog's thread, if any.
struct VisibleTipSearch
{
    HWND hTip;
};

BOOL CALLBACK FindVisibleTipProc(HWND h, LPARAM lp)
{
    if (CMarkupTip::FromTipWindow(h) && IsWindowVisible(h)) {
        reinterpret_cast<VisibleTipSearch*>(lp)->hTip = h;
        return FALSE;
    }
    return TRUE;
}

HWND VisibleTip(DWORD threadId)
{
    VisibleTipSearch search = { NULL };
    EnumThreadWindows(threadId, FindVisibleTipProc, reinterpret_cast<LPARAM>(&search));
    return search.hTip;
}

// The pointer comes to rest on the middle of hControl, as the mouse brings
// it: the move goes to hTarget, the window that gets the mouse there (the
// page for a disabled control).
void RestPointer(HWND hControl, HWND hTarget)
{
    RECT rc;
    GetWindowRect(hControl, &rc);
    POINT pt = { (rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2 };
    SetCursorPos(pt.x, pt.y);
    POINT client = pt;
    ScreenToClient(hTarget, &client);
    PostMessageW(hTarget, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
}

TEST_F(SettingDialogTest, ControlsWithoutATipEntryShowNoTip)
{
    CSettingDialogRun run;
    ASSERT_NE(nullptr, run.Dialog());
    SetForegroundWindow(run.Dialog());
    struct
    {
        int nTab;
        int nControl;
        const wchar_t* tip;  // NULL: none may show
    } cases[] = {
        // A served control first, to show that a resting pointer brings tips.
        { 0, IDC_TEST_THREADS, L"How many threads will be created for testing proxies" },
        { 0, IDC_TEST_THREADS_SPIN, NULL },
        { 0, IDC_TEST_TIMEOUT_SPIN, NULL },
        { 1, IDC_SWITCH_RATIO, L"Only first X% proxies will be used to avoid slow proxies" },
        { 1, IDC_SWITCH_RATIO_SPIN, NULL },
        { 1, IDC_SWITCH_INTERVAL_SPIN, NULL },
        { 1, IDC_SWITCH_IE, NULL },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nControl);
        ASSERT_TRUE(run.GoToTab(c.nTab));
        HWND hPage = c.nTab == 0 ? run.TestPage() : run.SwitchPage();
        HWND hControl = GetDlgItem(hPage, c.nControl);
        ASSERT_NE(nullptr, hControl);
        // Off every control first: no tip is up.
        SetCursorPos(0, 0);
        PostMessageW(hPage, WM_MOUSEMOVE, 0, MAKELPARAM(0, 0));
        ASSERT_TRUE(WaitFor([&] { return VisibleTip(run.ThreadId()) == NULL; }, 10000));

        RestPointer(hControl, IsWindowEnabled(hControl) ? hControl : hPage);
        if (c.tip) {
            std::wstring seen;
            EXPECT_TRUE(WaitFor(
                [&] {
                    HWND hTip = VisibleTip(run.ThreadId());
                    seen = hTip ? WindowText(hTip) : L"";
                    return seen == c.tip;
                },
                5000))
                << "shows " << CStringA(seen.c_str()).GetString();
        } else {
            // Four times the delay after which a tip comes.
            Sleep(2000);
            HWND hTip = VisibleTip(run.ThreadId());
            EXPECT_EQ(nullptr, hTip) << "shows " << CStringA(WindowText(hTip).c_str()).GetString();
        }
    }
    run.ClickButton(IDCANCEL);
    EXPECT_EQ(IDCANCEL, run.WaitForEnd());
}

}  // namespace
