// Sums of the proxy tests' step times, kept only while switched on.
#include "net/TestTimings.h"

#include <curl/curl.h>

#include <map>
#include <mutex>

volatile bool CTestTimings::s_bOn = false;

namespace {
volatile LONG64 s_llStep[TEST_STEP_COUNT];
volatile LONG64 s_nStep[TEST_STEP_COUNT];
// Fetch times in microseconds.
volatile LONG64 s_llFetchUs[TEST_FETCH_COUNT];
volatile LONG64 s_nFetches;
volatile LONG64 s_nUnits;
volatile LONG64 s_nLoopPasses;
volatile LONG64 s_nNaps;
volatile LONG64 s_llLastRelease;

// Start times of the threads not yet running, by their start argument.
std::mutex s_startLock;
std::map<const void*, LONGLONG> s_starting;

LONGLONG Ticks()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double TicksPerMs()
{
    static double dPerMs = 0;
    if (dPerMs == 0) {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        dPerMs = (double)frequency.QuadPart / 1000.0;
    }
    return dPerMs;
}

void Add(volatile LONG64& total, LONG64 n)
{
    InterlockedExchangeAdd64(&total, n);
}
}  // namespace

void CTestTimings::SwitchOn(bool bOn)
{
    s_bOn = false;
    for (int i = 0; i < TEST_STEP_COUNT; ++i) {
        s_llStep[i] = 0;
        s_nStep[i] = 0;
    }
    for (int i = 0; i < TEST_FETCH_COUNT; ++i)
        s_llFetchUs[i] = 0;
    s_nFetches = s_nUnits = s_nLoopPasses = s_nNaps = s_llLastRelease = 0;
    {
        std::lock_guard<std::mutex> lock(s_startLock);
        s_starting.clear();
    }
    TicksPerMs();
    s_bOn = bOn;
}

LONGLONG CTestTimings::Now()
{
    return s_bOn ? Ticks() : 0;
}

void CTestTimings::AddSince(TestStep step, LONGLONG llStart)
{
    if (!s_bOn || llStart == 0)
        return;
    Add(s_llStep[step], Ticks() - llStart);
    Add(s_nStep[step], 1);
}

void CTestTimings::NoteThreadStarting(const void* pKey, LONGLONG llStart)
{
    if (!s_bOn || llStart == 0)
        return;
    std::lock_guard<std::mutex> lock(s_startLock);
    s_starting[pKey] = llStart;
}

void CTestTimings::NoteThreadEntry(const void* pKey)
{
    if (!s_bOn)
        return;
    Add(s_nUnits, 1);
    LONGLONG llStart = 0;
    {
        std::lock_guard<std::mutex> lock(s_startLock);
        auto it = s_starting.find(pKey);
        if (it == s_starting.end())
            return;
        llStart = it->second;
        s_starting.erase(it);
    }
    AddSince(TEST_STEP_THREAD_START, llStart);
}

void CTestTimings::NoteSlotTaken()
{
    if (s_bOn)
        Add(s_llStep[TEST_STEP_HOLD], -Ticks());
}

void CTestTimings::NoteSlotGiven()
{
    if (!s_bOn)
        return;
    const LONGLONG llNow = Ticks();
    Add(s_llStep[TEST_STEP_HOLD], llNow);
    Add(s_nStep[TEST_STEP_HOLD], 1);
    LONG64 llLast = s_llLastRelease;
    while (llNow > llLast) {
        const LONG64 llSeen = InterlockedCompareExchange64(&s_llLastRelease, llNow, llLast);
        if (llSeen == llLast)
            break;
        llLast = llSeen;
    }
}

void CTestTimings::NoteLoopPass(bool bNap)
{
    if (!s_bOn)
        return;
    Add(s_nLoopPasses, 1);
    if (bNap)
        Add(s_nNaps, 1);
}

void CTestTimings::NoteFetch(void* pEasy)
{
    if (!s_bOn || pEasy == NULL)
        return;
    const CURLINFO infos[TEST_FETCH_COUNT] = { CURLINFO_CONNECT_TIME_T, CURLINFO_PRETRANSFER_TIME_T,
                                               CURLINFO_STARTTRANSFER_TIME_T, CURLINFO_TOTAL_TIME_T };
    for (int i = 0; i < TEST_FETCH_COUNT; ++i) {
        curl_off_t nUs = 0;
        curl_easy_getinfo(static_cast<CURL*>(pEasy), infos[i], &nUs);
        Add(s_llFetchUs[i], (LONG64)nUs);
    }
    Add(s_nFetches, 1);
}

TestTimingTotals CTestTimings::Totals()
{
    TestTimingTotals totals = {};
    for (int i = 0; i < TEST_STEP_COUNT; ++i) {
        totals.dStepMs[i] = MsOf(s_llStep[i]);
        totals.nStepCount[i] = s_nStep[i];
    }
    for (int i = 0; i < TEST_FETCH_COUNT; ++i)
        totals.dFetchMs[i] = (double)s_llFetchUs[i] / 1000.0;
    totals.nFetches = s_nFetches;
    totals.nUnits = s_nUnits;
    totals.nLoopPasses = s_nLoopPasses;
    totals.nNaps = s_nNaps;
    totals.dLastReleaseMs = MsOf(s_llLastRelease);
    return totals;
}

double CTestTimings::MsOf(LONGLONG llTicks)
{
    return (double)llTicks / TicksPerMs();
}
