// Tests of the timing rules of the relay password renewal.
#include "net/PasswordRenewal.h"

#include <gtest/gtest.h>
#include <stdlib.h>

namespace {

// The delay timer 2 draws for 'now': seeded with the time, one to thirty minutes.
UINT ExpectedDelay(RenewalTime now)
{
    srand(static_cast<unsigned>(now));
    return static_cast<UINT>(rand() % 30 + 1) * 60000;
}

struct CheckCase
{
    const char* name;
    RenewalTime now;
    RenewalTime next;
    RenewalTime last;
    bool arms;
    RenewalTime nextAfter;
};

const RenewalTime T = 1765360000;  // an ordinary date in seconds since 1970

const CheckCase kCheckCases[] = {
    { "due time in the future", T, T + 10, 0, false, T + 10 },
    { "due time equal to now is not yet due", T, T, 0, false, T },
    { "due time just passed", T + 1, T, 0, true, T + 86400 },
    { "due time long past moves one day only", T, T - 5 * 86400, 0, true, T - 4 * 86400 },
    { "zero due time", T, 0, 0, true, 86400 },
    { "renewal less than an hour ago", T + 1, T, T - 3599, false, T + 86400 },
    { "renewal exactly an hour ago", T + 1, T, T + 1 - 3600, false, T + 86400 },
    { "renewal more than an hour ago", T + 1, T, T - 3600, true, T + 86400 },
    { "renewal in the future (clock set back)", T + 1, T, T + 500, false, T + 86400 },
};

TEST(PasswordRenewalTest, TimerTwoCases)
{
    for (const CheckCase& c : kCheckCases) {
        SCOPED_TRACE(c.name);
        RenewalTime next = c.next;
        UINT delay = PasswordCheckDelay(c.now, next, c.last);
        EXPECT_EQ(c.nextAfter, next);
        if (c.arms) {
            EXPECT_EQ(ExpectedDelay(c.now), delay);
        } else {
            EXPECT_EQ(0u, delay);
        }
    }
}

TEST(PasswordRenewalTest, DelayIsWholeMinutesFromOneToThirty)
{
    bool seenShort = false, seenLong = false;
    for (RenewalTime now = T; now < T + 2000; ++now) {
        RenewalTime next = 0;
        UINT delay = PasswordCheckDelay(now, next, 0);
        ASSERT_EQ(0u, delay % 60000) << now;
        ASSERT_GE(delay, 60000u) << now;
        ASSERT_LE(delay, 1800000u) << now;
        seenShort = seenShort || delay == 60000;
        seenLong = seenLong || delay == 1800000;
    }
    EXPECT_TRUE(seenShort);
    EXPECT_TRUE(seenLong);
}

// A due time from the check-in reply arms timer 3 once; the following ticks
// wait for the new due time.
TEST(PasswordRenewalTest, DueTimeArmsOnceThenWaitsADay)
{
    RenewalTime next = T + 100;
    std::atomic<RenewalTime> last{ 0 };
    int armed = 0;
    for (RenewalTime now = T; now < T + 86400; now += 300)
        if (PasswordCheckDelay(now, next, last) != 0)
            ++armed;
    EXPECT_EQ(1, armed);
    EXPECT_EQ(T + 100 + 86400, next);
}

// A renewal (timer 3, or the relay's immediate one) counts as the last one:
// timer 2 then waits an hour before arming timer 3 again, even with a due
// time far in the past.
TEST(PasswordRenewalTest, RenewalBlocksArmingForAnHour)
{
    std::atomic<RenewalTime> last{ 0 };
    NotePasswordRequest(T, last);
    EXPECT_EQ(T, last.load());

    RenewalTime next = 0;
    EXPECT_EQ(0u, PasswordCheckDelay(T + 300, next, last));
    EXPECT_EQ(0u, PasswordCheckDelay(T + 3600, next, last));
    EXPECT_NE(0u, PasswordCheckDelay(T + 3601, next, last));
    EXPECT_EQ(3 * 86400, next);
}

TEST(PasswordRenewalTest, CurrentTimeIsSecondsSince1970)
{
    RenewalTime now = CurrentRenewalTime();
    EXPECT_GT(now, 1600000000);
    EXPECT_LT(now, 4102444800);  // 2100
}

}  // namespace
