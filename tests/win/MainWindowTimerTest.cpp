// The password renewal timers on the real main window: timer 2's tick arms
// timer 3 once the due time has passed, at most once a day and not within an
// hour of the last renewal; the relay's renewal message arms it at once.
// Whether timer 3 is armed is read off the window by taking it down again
// (KillTimer succeeds only for a timer that exists), so it never fires here.
#include "app/CorvaneMessages.h"
#include "net/PasswordRenewal.h"
#include "net/WorkerMessages.h"
#include "tests/win/MainWindowProbe.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

namespace {

class MainWindowTimerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitTestControls();
        m_savedNext = g_nextPasswordTime;
        m_savedLast = g_lastPasswordRequestTime.load();
        ASSERT_TRUE(m_probe.Create());
        // Nothing of the start-up ran: no renewal timer yet.
        ASSERT_FALSE(TimerThreeArmed());
    }
    void TearDown() override
    {
        m_probe.DestroyWindow();
        g_nextPasswordTime = m_savedNext;
        g_lastPasswordRequestTime = m_savedLast;
    }

    void Tick(UINT_PTR nTimer) { ::SendMessageW(m_probe.m_hWnd, WM_TIMER, nTimer, 0); }

    // True when timer 3 was armed on the window; it is taken down meanwhile.
    bool TimerThreeArmed() { return ::KillTimer(m_probe.m_hWnd, TIMER_PASSWORD_REQUEST) != FALSE; }

    CMainWindowProbe m_probe;
    RenewalTime m_savedNext = 0;
    RenewalTime m_savedLast = 0;
};

}  // namespace

TEST_F(MainWindowTimerTest, TimerTwoArmsTimerThreeOnceTheDueTimeHasPassed)
{
    const RenewalTime now = CurrentRenewalTime();
    struct Case
    {
        const char* name;
        RenewalTime next;
        RenewalTime last;
        bool armed;
        RenewalTime nextAfter;
    };
    const Case cases[] = {
        { "due an hour from now", now + 3600, 0, false, now + 3600 },
        { "due a minute ago", now - 60, 0, true, now - 60 + 86400 },
        { "due a minute ago, renewed ten minutes ago", now - 60, now - 600, false, now - 60 + 86400 },
        { "due a minute ago, renewed two hours ago", now - 60, now - 7200, true, now - 60 + 86400 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        g_nextPasswordTime = c.next;
        g_lastPasswordRequestTime = c.last;
        Tick(TIMER_PASSWORD_CHECK);
        EXPECT_EQ(c.armed, TimerThreeArmed());
        EXPECT_EQ(c.nextAfter, g_nextPasswordTime);
    }
}

TEST_F(MainWindowTimerTest, TimerTwoArmsTimerThreeOnceADay)
{
    const RenewalTime now = CurrentRenewalTime();
    g_nextPasswordTime = now - 60;
    g_lastPasswordRequestTime = 0;
    Tick(TIMER_PASSWORD_CHECK);
    EXPECT_TRUE(TimerThreeArmed());
    // The next ticks of the same day find the due time a day ahead.
    for (int i = 0; i < 3; ++i) {
        Tick(TIMER_PASSWORD_CHECK);
        EXPECT_FALSE(TimerThreeArmed()) << "tick " << i;
    }
    EXPECT_EQ(now - 60 + 86400, g_nextPasswordTime);
    // A day later it is due again.
    g_nextPasswordTime -= 86400;
    Tick(TIMER_PASSWORD_CHECK);
    EXPECT_TRUE(TimerThreeArmed());
}

TEST_F(MainWindowTimerTest, RenewalMessageArmsTimerThreeOnTheWindowsThread)
{
    for (int n = 0; n < 2; ++n) {
        ::SendMessageW(m_probe.m_hWnd, WM_RENEW_PASSWORD_NOW, 0, 0);
        EXPECT_TRUE(TimerThreeArmed()) << n;
    }
    // Posted, as a relay thread does: armed once the window handles it.
    ::PostMessageW(m_probe.m_hWnd, WM_RENEW_PASSWORD_NOW, 0, 0);
    MSG msg;
    while (::PeekMessageW(&msg, m_probe.m_hWnd, WM_RENEW_PASSWORD_NOW, WM_RENEW_PASSWORD_NOW, PM_REMOVE))
        ::DispatchMessageW(&msg);
    EXPECT_TRUE(TimerThreeArmed());
}
