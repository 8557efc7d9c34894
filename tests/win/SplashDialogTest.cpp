// The splash screen on its own thread: the cycling progress text, and no
// more drawing once it is closed.
#include "app/SplashDialog.h"
#include "app/SplashThread.h"
#include "tests/e2e/ScreenPixels.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

const RECT kTextPlate = { 117, 238, 117 + 166, 238 + 25 };

// One past the rightmost column that is not plate: the dots are a pixel or
// two and anti-aliased, too light for a colour test, so any pixel clearly off
// the plate's own colour (sampled at its right edge, where no text reaches)
// counts as text.
int PlateTextExtent(const ScreenShot& shot)
{
    if (shot.width <= 0 || shot.height <= 0)
        return 0;
    COLORREF plate = shot.At(shot.width - 1, shot.height / 2);
    for (int x = shot.width - 1; x >= 0; --x)
        for (int y = 0; y < shot.height; ++y) {
            COLORREF c = shot.At(x, y);
            int diff = abs(GetRValue(c) - GetRValue(plate)) + abs(GetGValue(c) - GetGValue(plate)) +
                       abs(GetBValue(c) - GetBValue(plate));
            if (diff > 60)
                return x + 1;
        }
    return 0;
}

bool WaitFor(bool (*condition)(HWND), HWND hWnd, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!condition(hWnd)) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

class SplashDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CWinThread* thread = AfxBeginThread(RUNTIME_CLASS(CSplashThread), THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
        ASSERT_NE(nullptr, thread);
        splash = dynamic_cast<CSplashThread*>(thread);
        ASSERT_NE(nullptr, splash);
        splash->ResumeThread();
        DWORD start = GetTickCount();
        while (!(splash->m_pSplashDlg && splash->m_pSplashDlg->GetSafeHwnd())) {
            ASSERT_LT(GetTickCount() - start, 30000u) << "no splash window";
            Sleep(20);
        }
        hSplash = splash->m_pSplashDlg->GetSafeHwnd();
        ASSERT_TRUE(WaitFor([](HWND h) { return IsWindowVisible(h) != FALSE; }, hSplash, 30000));
        SetWindowPos(hSplash, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }

    void TearDown() override
    {
        if (!splash)
            return;
        // The program never ends this thread; here it must go before the next test.
        HANDLE hThread = splash->m_hThread;
        PostThreadMessageW(splash->m_nThreadID, WM_QUIT, 0, 0);
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hThread, 30000));
        EXPECT_EQ(nullptr, splash->m_pSplashDlg);
        EXPECT_FALSE(IsWindow(hSplash));
        delete splash;
    }

    // Distinct text extents seen in a row, sampled for the given time.
    std::vector<int> WatchText(DWORD durationMs)
    {
        std::vector<int> seen;
        DWORD start = GetTickCount();
        while (GetTickCount() - start < durationMs) {
            int extent = PlateTextExtent(CaptureClient(hSplash, kTextPlate));
            if (seen.empty() || seen.back() != extent)
                seen.push_back(extent);
            Sleep(25);
        }
        return seen;
    }

    CSplashThread* splash = nullptr;
    HWND hSplash = nullptr;
};

TEST_F(SplashDialogTest, TextPlateSitsWhereTheTextIsDrawn)
{
    HWND plate = GetDlgItem(hSplash, 1056);
    ASSERT_NE(nullptr, plate);
    RECT rc;
    GetWindowRect(plate, &rc);
    POINT topLeft = { rc.left, rc.top };
    ScreenToClient(hSplash, &topLeft);
    EXPECT_EQ(117, topLeft.x);
    EXPECT_EQ(238, topLeft.y);
    EXPECT_EQ(166, rc.right - rc.left);
    EXPECT_EQ(25, rc.bottom - rc.top);
    EXPECT_TRUE(IsWindowVisible(plate));
}

TEST_F(SplashDialogTest, TextCyclesThroughOneTwoAndThreeDots)
{
    std::vector<int> seen = WatchText(4500);
    std::vector<int> drawn;
    for (int extent : seen)
        if (extent > 0)
            drawn.push_back(extent);
    ASSERT_GE(drawn.size(), 5u) << "too few text changes seen: " << ::testing::PrintToString(seen);

    // Find one full cycle: three growing lengths, then back to the shortest.
    bool cycle = false;
    for (size_t i = 0; i + 3 < drawn.size(); ++i) {
        if (drawn[i] < drawn[i + 1] && drawn[i + 1] < drawn[i + 2] && drawn[i + 3] == drawn[i]) {
            cycle = true;
            // Each step adds one dot: the same width twice.
            EXPECT_EQ(drawn[i + 1] - drawn[i], drawn[i + 2] - drawn[i + 1]);
            break;
        }
    }
    EXPECT_TRUE(cycle);
    // The texts stay on the plate.
    for (int extent : drawn)
        EXPECT_LT(extent, 166 - 3);
}

TEST_F(SplashDialogTest, NoTextIsDrawnAfterClose)
{
    ASSERT_TRUE(WaitFor([](HWND h) { return PlateTextExtent(CaptureClient(h, kTextPlate)) > 0; }, hSplash, 30000));

    splash->CloseSplash();
    // The default close handling ends the dialog through a posted cancel command.
    EXPECT_TRUE(WaitFor([](HWND h) { return IsWindowVisible(h) == FALSE; }, hSplash, 5000));
    EXPECT_TRUE(IsWindow(hSplash));

    // Shown again, the splash shows only its plate: the text timer is gone.
    SetWindowPos(hSplash, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    RedrawWindow(hSplash, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    std::vector<int> seen = WatchText(1600);
    ASSERT_FALSE(seen.empty());
    for (int extent : seen)
        EXPECT_EQ(0, extent);
}

TEST(SplashDialogTexts, ThreeStepsThenAgain)
{
    EXPECT_STREQ(L"Initializing Application.", CSplashDialog::StepText(0));
    EXPECT_STREQ(L"Initializing Application..", CSplashDialog::StepText(1));
    EXPECT_STREQ(L"Initializing Application...", CSplashDialog::StepText(2));
}

}  // namespace
