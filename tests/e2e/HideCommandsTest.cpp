// Hide IP / Restore IP and Auto Hide IP / Stop Auto on the real program: the
// refusals with their messages, which buttons each state leaves usable, and
// the caption and tip each state gives its buttons.
#include "tests/e2e/CommandsFixture.h"
#include "tests/e2e/TipOnScreen.h"
#include "tests/e2e/TrayMenuRows.h"

namespace {

using namespace commands;

const int kButtons[] = { kHideIPId, kAutoHideIPId, kGetProxyId, kTestSpeedId, kSettingId };

class HideCommandsTest : public CommandsTest
{
protected:
    bool WritesSettings() const override { return true; }

    std::wstring Caption(int id) const { return WindowText(Item(id)); }
    bool WaitCaption(int id, const std::wstring& text)
    {
        return WaitUntil([&] { return Caption(id) == text; }, 30000);
    }
    // The buttons of kButtons that are enabled, in that order.
    std::vector<int> Enabled() const
    {
        std::vector<int> ids;
        for (int id : kButtons)
            if (IsWindowEnabled(Item(id)))
                ids.push_back(id);
        return ids;
    }

    // Exit while the browser is pointed at the relay asks first: Cancel ends
    // nothing and changes nothing; then the given answer ends the program.
    void HideThenExit(int answer)
    {
        const UINT kExitApp = WM_USER + 101;
        const wchar_t kQuestion[] = L"Your real IP is hidden, do you want to restore it?";
        FillList(NumberedProxies(2), 2);
        ASSERT_TRUE(list->SelectOnly({ 0 }));
        Click(kHideIPId);
        ASSERT_TRUE(WaitCaption(kHideIPId, L"Restore IP"));
        ASSERT_EQ(1u, ReadInternetSetting().enable);

        PostMessageW(main, kExitApp, 0, 0);
        EXPECT_EQ(kQuestion, AnswerMessageBox(IDCANCEL));
        SendToMain(WM_NULL, 0, 0);
        EXPECT_TRUE(program.IsRunning());
        EXPECT_EQ(1u, ReadInternetSetting().enable);
        EXPECT_EQ(L"Restore IP", Caption(kHideIPId));

        PostMessageW(main, kExitApp, 0, 0);
        EXPECT_EQ(kQuestion, AnswerMessageBox(answer));
        DWORD code = 0;
        ASSERT_TRUE(program.WaitForExit(30000, &code));
        EXPECT_EQ(0xFFFFFFFFu, code);
    }
};

}  // namespace

TEST_F(HideCommandsTest, EmptyListRefusesBothCommands)
{
    for (int id : { kHideIPId, kAutoHideIPId }) {
        SCOPED_TRACE(id);
        std::wstring caption = Caption(id);
        Click(id);
        EXPECT_EQ(L"There is no proxy to hide ip, please get proxy firstly.", AnswerMessageBox());
        EXPECT_EQ(caption, Caption(id));
        EXPECT_EQ(std::vector<int>(std::begin(kButtons), std::end(kButtons)), Enabled());
    }
}

TEST_F(HideCommandsTest, HideIPWantsExactlyOneSelectedRow)
{
    FillList(NumberedProxies(3), 3);
    struct
    {
        std::vector<int> rows;
        const wchar_t* message;
    } cases[] = {
        { {}, L"Please select 1 proxy to hide ip." },
        { { 0, 2 }, L"Too many proxies are selected, please select 1 proxy to hide ip." },
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(list->SelectOnly(c.rows));
        Click(kHideIPId);
        EXPECT_EQ(c.message, AnswerMessageBox());
        EXPECT_EQ(L"Hide IP", Caption(kHideIPId));
    }
}

TEST_F(HideCommandsTest, EachStateLeavesItsButtonsUsable)
{
    FillList(NumberedProxies(3), 3);
    const std::vector<int> all(std::begin(kButtons), std::end(kButtons));

    ASSERT_TRUE(list->SelectOnly({ 2 }));
    Click(kHideIPId);
    ASSERT_TRUE(WaitCaption(kHideIPId, L"Restore IP"));
    EXPECT_EQ(std::vector<int>({ kHideIPId }), Enabled());
    EXPECT_TRUE(WaitUntil([&] { return DialogItemText(main, kCurrentIPId) == L"10.0.0.3"; }, 10000));
    // Hide by hand moves no selection.
    EXPECT_EQ(std::vector<int>({ 2 }), list->SelectedRows());
    // The notification-area menu keeps the settings shut while hidden.
    EXPECT_FALSE(ReadTrayMenu(program, main)[kSettingRow]);

    Click(kHideIPId);
    ASSERT_TRUE(WaitCaption(kHideIPId, L"Hide IP"));
    EXPECT_EQ(all, Enabled());
    EXPECT_TRUE(ReadTrayMenu(program, main)[kSettingRow]);

    Click(kAutoHideIPId);
    ASSERT_TRUE(WaitCaption(kAutoHideIPId, L"Stop Auto"));
    EXPECT_EQ(L"Remove Cur", Caption(kGetProxyId));
    EXPECT_EQ(std::vector<int>({ kAutoHideIPId, kGetProxyId }), Enabled());
    // Automatic mode starts with the first row, selected and focused.
    EXPECT_TRUE(WaitUntil([&] { return list->SelectedRows() == std::vector<int>({ 0 }); }, 10000));
    EXPECT_TRUE(WaitUntil([&] { return DialogItemText(main, kCurrentIPId) == L"10.0.0.1"; }, 10000));
    EXPECT_FALSE(ReadTrayMenu(program, main)[kSettingRow]);

    Click(kAutoHideIPId);
    ASSERT_TRUE(WaitCaption(kAutoHideIPId, L"Auto Hide IP"));
    EXPECT_EQ(L"Get Proxy", Caption(kGetProxyId));
    EXPECT_EQ(all, Enabled());
}

TEST_F(HideCommandsTest, ExitWhileHiddenAnsweredYesRestoresDirectAccess)
{
    HideThenExit(IDYES);
    EXPECT_EQ(0u, ReadInternetSetting().enable);
}

TEST_F(HideCommandsTest, ExitWhileHiddenAnsweredNoLeavesTheRelaySet)
{
    HideThenExit(IDNO);
    EXPECT_EQ(1u, ReadInternetSetting().enable);
}

TEST_F(HideCommandsTest, RemoveCurOnAnEmptyListSaysSo)
{
    FillList(NumberedProxies(1), 1);
    Click(kAutoHideIPId);
    ASSERT_TRUE(WaitCaption(kGetProxyId, L"Remove Cur"));
    Click(kGetProxyId);
    ASSERT_TRUE(WaitRows(0));
    Click(kGetProxyId);
    EXPECT_EQ(L"No proxy to remove!", AnswerMessageBox());
    EXPECT_EQ(L"Remove Cur", Caption(kGetProxyId));
}

namespace {

std::string Narrow(const std::wstring& s)
{
    return std::string(s.begin(), s.end());
}

}  // namespace

TEST_F(HideCommandsTest, EachStateShowsItsButtonFaces)
{
    FillList(NumberedProxies(3), 3);
    struct Face
    {
        int id;
        const wchar_t* caption;
        const wchar_t* tip;
    };
    const Face kHide = { kHideIPId, L"Hide IP", L"Hide your real IP" };
    const Face kRestore = { kHideIPId, L"Restore IP", L"Restore your real IP" };
    const Face kAuto = { kAutoHideIPId, L"Auto Hide IP", L"Switch your IP every X minutes" };
    const Face kStop = { kAutoHideIPId, L"Stop Auto", L"Stop switching your IP automatically" };
    const Face kGet = { kGetProxyId, L"Get Proxy", L"Get proxy list" };
    const Face kRemove = { kGetProxyId, L"Remove Cur", L"Remove current proxy and switch to next one" };
    // Hide and restore by hand, then automatic mode and back.
    const struct
    {
        int click;  // 0: the faces at start
        std::vector<Face> faces;
    } steps[] = {
        { 0, { kHide, kAuto, kGet } },         { kHideIPId, { kRestore } },        { kHideIPId, { kHide } },
        { kAutoHideIPId, { kStop, kRemove } }, { kAutoHideIPId, { kAuto, kGet } },
    };
    SetForegroundWindow(main);
    for (const auto& step : steps) {
        SCOPED_TRACE(step.click);
        if (step.click == kHideIPId) {
            ASSERT_TRUE(list->SelectOnly({ 1 }));
        }
        if (step.click)
            Click(step.click);
        for (const Face& face : step.faces) {
            SCOPED_TRACE(face.id);
            ASSERT_TRUE(WaitCaption(face.id, face.caption)) << "shows " << Narrow(Caption(face.id));
            std::wstring seen;
            EXPECT_NE(nullptr, RestPointerOn(program, Item(face.id), face.tip, &seen))
                << "last tip seen: " << Narrow(seen);
            MovePointerAway(program, main);
        }
    }
}
