// The timing rules of the daily relay password renewal.
#include "net/PasswordRenewal.h"

#include <stdlib.h>
#include <time.h>

RenewalTime g_nextPasswordTime = 0;
std::atomic<RenewalTime> g_lastPasswordRequestTime{ 0 };

namespace {
const RenewalTime kOneDay = 86400;
const RenewalTime kOneHour = 3600;
const UINT kOneMinuteMs = 60000;
}  // namespace

UINT PasswordCheckDelay(RenewalTime now, RenewalTime& nextPasswordTime, RenewalTime lastPasswordRequestTime)
{
    if (now <= nextPasswordTime)
        return 0;
    nextPasswordTime += kOneDay;
    if (now <= lastPasswordRequestTime + kOneHour)
        return 0;
    srand(static_cast<unsigned>(now));
    return static_cast<UINT>(rand() % 30 + 1) * kOneMinuteMs;
}

void NotePasswordRequest(RenewalTime now, std::atomic<RenewalTime>& lastPasswordRequestTime)
{
    lastPasswordRequestTime = now;
}

RenewalTime CurrentRenewalTime()
{
    return _time64(nullptr);
}
