// Hot areas of the mark-up drawer: hit tests, the hot link, following links
// through the link hooks, the registry read of the fallback, and animation ticks.
#include <gtest/gtest.h>

#include "toolkit/LinkLauncher.h"
#include "toolkit/MarkupDrawer.h"

#include <string>
#include <vector>

namespace {

HtmlArea Area(int left, int top, int right, int bottom, int id, int kind = 1, LPCWSTR text = L"x")
{
    HtmlArea area;
    area.left = left;
    area.top = top;
    area.right = right;
    area.bottom = bottom;
    area.nId = id;
    area.nKind = kind;
    area.sText = text;
    return area;
}

TEST(MarkupHotTest, AreasAreHitUpToAndOnTheirRightAndBottomEdges)
{
    CMarkupDrawer drawer;
    drawer.m_arrAreas = { Area(0, 0, 10, 10, 0), Area(5, 5, 20, 20, 1), Area(30, 0, 40, 10, 2) };
    struct Case
    {
        POINT pt;
        int index;
    } cases[] = {
        { { 0, 0 }, 0 },   { { 10, 10 }, 0 }, { { 5, 5 }, 0 },  // the first recorded of two wins
        { { 11, 10 }, 1 }, { { 20, 20 }, 1 }, { { 21, 20 }, -1 }, { { 20, 21 }, -1 },
        { { -1, 0 }, -1 }, { { 25, 5 }, -1 }, { { 40, 10 }, 2 },  { { 41, 10 }, -1 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.pt.x << "," << c.pt.y);
        EXPECT_EQ(c.index, drawer.FindAreaAt(c.pt));
    }
    drawer.m_arrAreas.clear();
    EXPECT_EQ(-1, drawer.FindAreaAt(POINT{ 0, 0 }));
}

TEST(MarkupHotTest, TrackingFollowsTheLinkUnderThePoint)
{
    CMarkupDrawer drawer;
    drawer.m_arrAreas = { Area(0, 0, 10, 10, 0), Area(0, 20, 10, 30, 0), Area(20, 0, 30, 10, 1, 2, L"") };
    const BOOL bCursor = drawer.m_hLinkCursor != NULL;
    EXPECT_EQ(bCursor, drawer.TrackHotArea(POINT{ 5, 5 }));
    EXPECT_EQ(0, drawer.m_nHotArea);
    EXPECT_EQ(bCursor, drawer.TrackHotArea(POINT{ 5, 25 }));
    EXPECT_EQ(0, drawer.m_nHotArea);
    EXPECT_FALSE(drawer.TrackHotArea(POINT{ 25, 5 }));  // no text: no hand
    EXPECT_EQ(1, drawer.m_nHotArea);
    EXPECT_FALSE(drawer.TrackHotArea(POINT{ 50, 50 }));
    EXPECT_EQ(MARKUP_NO_HOT_AREA, drawer.m_nHotArea);
}

TEST(MarkupHotTest, WithoutAHandCursorTrackingNeverSetsOne)
{
    CMarkupDrawer drawer;
    drawer.FreeHandCursor();
    drawer.m_arrAreas = { Area(0, 0, 10, 10, 0) };
    EXPECT_FALSE(drawer.TrackHotArea(POINT{ 5, 5 }));
    EXPECT_EQ(0, drawer.m_nHotArea);
}

// Records what the drawer asks the hooks to open or start.
struct LinkRecord
{
    static std::vector<std::wstring> opened;
    static std::vector<std::wstring> started;
    static INT_PTR openResult;

    static HINSTANCE Open(HWND, LPCWSTR, LPCWSTR lpFile, LPCWSTR, LPCWSTR, INT)
    {
        opened.push_back(lpFile ? lpFile : L"");
        return reinterpret_cast<HINSTANCE>(openResult);
    }
    static BOOL Start(LPCWSTR pszCommandLine)
    {
        started.push_back(pszCommandLine);
        return TRUE;
    }
};
std::vector<std::wstring> LinkRecord::opened;
std::vector<std::wstring> LinkRecord::started;
INT_PTR LinkRecord::openResult = 42;

class MarkupFollowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        LinkRecord::opened.clear();
        LinkRecord::started.clear();
        LinkRecord::openResult = 42;
        CLinkLauncher::SetOpener(&LinkRecord::Open);
        CLinkLauncher::SetStarter(&LinkRecord::Start);
    }
    void TearDown() override
    {
        CLinkLauncher::SetOpener(NULL);
        CLinkLauncher::SetStarter(NULL);
    }
    CMarkupDrawer drawer;
};

TEST_F(MarkupFollowTest, AnAddressGoesToTheOpener)
{
    drawer.m_arrAreas = { Area(0, 0, 10, 10, 0, 1, L"http://127.0.0.1/page") };
    EXPECT_EQ(42, drawer.FollowLink(0));
    ASSERT_EQ(1u, LinkRecord::opened.size());
    EXPECT_EQ(L"http://127.0.0.1/page", LinkRecord::opened[0]);
    EXPECT_TRUE(LinkRecord::started.empty());
}

TEST_F(MarkupFollowTest, EmptyLinksMessagesWithoutATargetAndBadIndexesDoNothing)
{
    drawer.m_arrAreas = { Area(0, 0, 10, 10, 0, 1, L""), Area(0, 0, 10, 10, 1, 2, L"msg"),
                          Area(0, 0, 10, 10, 2, 7, L"other") };
    for (int i : { 0, 1, 2, 3, -1, 1000 })
        EXPECT_EQ(0, drawer.FollowLink(i));
    EXPECT_TRUE(LinkRecord::opened.empty());
    EXPECT_TRUE(LinkRecord::started.empty());
}

TEST_F(MarkupFollowTest, AFailedOpenFallsBackToTheRegisteredBrowser)
{
    LinkRecord::openResult = SE_ERR_NOASSOC;
    drawer.m_arrAreas = { Area(0, 0, 10, 10, 0, 1, L"http://127.0.0.1/a b") };
    const int nResult = drawer.FollowLink(0);
    ASSERT_EQ(1u, LinkRecord::opened.size());
    // Whether this prefix has a web-page command decides between the two.
    if (LinkRecord::started.empty()) {
        EXPECT_EQ(SE_ERR_NOASSOC, nResult);
    } else {
        EXPECT_GT(nResult, 31);
        const std::wstring& command = LinkRecord::started[0];
        const std::wstring tail = L" \"http://127.0.0.1/a b\"";
        ASSERT_GE(command.size(), tail.size());
        EXPECT_EQ(tail, command.substr(command.size() - tail.size()));
        EXPECT_EQ(std::wstring::npos, command.find(L"%1"));
    }
}

TEST(MarkupLinkCommandTest, TheAddressReplacesThePlaceholderQuoted)
{
    struct Case
    {
        const wchar_t* command;
        const wchar_t* url;
        const wchar_t* line;
    } cases[] = {
        { L"\"C:\\b\\b.exe\" -nohome \"%1\"", L"http://h/x", L"\"C:\\b\\b.exe\" -nohome  \"http://h/x\"" },
        { L"b.exe %1 -tail", L"http://h/x", L"b.exe  \"http://h/x\"" },
        { L"b.exe \"%1\" %1", L"u", L"b.exe  \"u\"" },
        { L"b.exe", L"http://h/x", L"b.exe \"http://h/x\"" },
        { L"b.exe", L"http://h/\" -evil", L"b.exe \"http://h/%22 -evil\"" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        EXPECT_STREQ(c.line, CLinkLauncher::CommandWithUrl(c.command, c.url).GetString());
    }
}

class MarkupRegistryTest : public ::testing::Test
{
protected:
    static constexpr const wchar_t* kKey = L"Software\\CorvaneTessalyTests\\ReadDefaultValue";
    void TearDown() override { RegDeleteKeyW(HKEY_CURRENT_USER, kKey); }
    HKEY Open()
    {
        HKEY hKey = NULL;
        EXPECT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, &hKey));
        return hKey;
    }
    void Write(DWORD dwType, const void* pData, DWORD cb)
    {
        HKEY hKey = NULL;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &hKey, NULL));
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(hKey, NULL, 0, dwType, static_cast<const BYTE*>(pData), cb));
        RegCloseKey(hKey);
    }
    CMarkupDrawer drawer;
};

TEST_F(MarkupRegistryTest, AValueLongerThanAFixedBufferIsReadWhole)
{
    const std::wstring value(300, L'v');
    Write(REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    CString sValue;
    EXPECT_EQ(ERROR_SUCCESS, drawer.ReadDefaultValue(Open(), sValue));
    EXPECT_EQ(value, std::wstring(sValue.GetString()));
}

TEST_F(MarkupRegistryTest, AValueWithoutATerminatorEndsAtItsLength)
{
    const wchar_t value[] = { L'a', L'b', L'c' };
    Write(REG_SZ, value, sizeof(value));
    CString sValue;
    EXPECT_EQ(ERROR_SUCCESS, drawer.ReadDefaultValue(Open(), sValue));
    EXPECT_STREQ(L"abc", sValue.GetString());
}

TEST_F(MarkupRegistryTest, AMissingOrNonTextValueReadsAsAFailureAndNothing)
{
    const DWORD dw = 7;
    Write(REG_DWORD, &dw, sizeof(dw));
    CString sValue = L"old";
    EXPECT_NE(ERROR_SUCCESS, drawer.ReadDefaultValue(Open(), sValue));
    EXPECT_TRUE(sValue.IsEmpty());
    RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
    HKEY hKey = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, NULL, 0, KEY_QUERY_VALUE, NULL, &hKey, NULL));
    EXPECT_NE(ERROR_SUCCESS, drawer.ReadDefaultValue(hKey, sValue));
    EXPECT_TRUE(sValue.IsEmpty());
}

HtmlAnimation Animation(int frame, int count, int ticks)
{
    HtmlAnimation a;
    a.nFrame = frame;
    a.nFrameCount = count;
    a.nTick = 0;
    a.nTicksPerFrame = ticks;
    return a;
}

TEST(MarkupAnimationTest, FourFramesOfThreeTicksEach)
{
    CMarkupDrawer drawer;
    drawer.m_arrAnimations = { Animation(0, 4, 3) };
    std::vector<int> frames;
    std::vector<int> moved;
    for (int tick = 0; tick < 15; ++tick) {
        moved.push_back(drawer.StepAnimations() ? 1 : 0);
        frames.push_back(drawer.m_arrAnimations[0].nFrame);
    }
    EXPECT_EQ((std::vector<int>{ 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 0, 0, 0, 1 }), frames);
    EXPECT_EQ((std::vector<int>{ 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1, 0, 0, 1 }), moved);
}

TEST(MarkupAnimationTest, FastEmptyAndOutOfRangeStrips)
{
    CMarkupDrawer drawer;
    drawer.m_arrAnimations = { Animation(0, 2, 0), Animation(0, 3, 1), Animation(0, 0, 1), Animation(0, -5, 1),
                               Animation(9, 3, 1) };
    EXPECT_TRUE(drawer.StepAnimations());
    EXPECT_EQ(1, drawer.m_arrAnimations[0].nFrame);
    EXPECT_EQ(1, drawer.m_arrAnimations[1].nFrame);
    EXPECT_EQ(0, drawer.m_arrAnimations[2].nFrame);
    EXPECT_EQ(0, drawer.m_arrAnimations[3].nFrame);
    EXPECT_EQ(0, drawer.m_arrAnimations[4].nFrame);  // past the count: back to the first
    EXPECT_TRUE(drawer.StepAnimations());
    EXPECT_EQ(0, drawer.m_arrAnimations[0].nFrame);

    drawer.m_arrAnimations = { Animation(0, 0, 1) };
    EXPECT_FALSE(drawer.StepAnimations());
    drawer.m_arrAnimations.clear();
    EXPECT_FALSE(drawer.StepAnimations());
}

}  // namespace
