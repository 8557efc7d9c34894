// The daily renewal of the relay password: what timers 2 and 3 of the main
// window decide, as functions of the current time so they can be checked
// without waiting.
#pragma once
#include <windows.h>

#include <atomic>

// Seconds since 1970.
typedef __int64 RenewalTime;

// When the next renewal is due (from the check-in reply; zero when none).
extern RenewalTime g_nextPasswordTime;
// When the password was last requested (zero before the first request).
// Also read by the relay threads to decide on an immediate renewal, hence
// atomic: a 64-bit value must never be seen half written.
extern std::atomic<RenewalTime> g_lastPasswordRequestTime;

// Timer 2: once 'now' has passed the due time, moves the due time on by one
// day and, unless a renewal was requested in the last hour, returns the delay
// in milliseconds (one to thirty whole minutes) after which timer 3 should
// request a new password. Returns 0 when timer 3 is not to be armed.
UINT PasswordCheckDelay(RenewalTime now, RenewalTime& nextPasswordTime, RenewalTime lastPasswordRequestTime);

// Timer 3: records that a renewal is being requested at 'now'.
void NotePasswordRequest(RenewalTime now, std::atomic<RenewalTime>& lastPasswordRequestTime);

// The current time in the same unit.
RenewalTime CurrentRenewalTime();
