// Where the time of a proxy test run goes, step by step, summed over every
// test thread: gathered only while switched on (bench_proxytest does), so a
// run of the program pays one test of a flag per step.
#pragma once

#include <windows.h>

// Timed steps. "Unit" is what one test thread takes on: a proxy of the speed
// test, a batch of the availability test.
enum TestStep
{
    TEST_STEP_SLOT_WAIT,     // dispatcher: polling for a free thread slot
    TEST_STEP_START_CALL,    // dispatcher: the thread start call itself
    TEST_STEP_THREAD_START,  // from before the start call to the thread's first step
    TEST_STEP_SETUP,         // settings, header, multi and easy handles
    TEST_STEP_PERFORM,       // inside curl_multi_perform
    TEST_STEP_SELECT,        // inside select
    TEST_STEP_NAP,           // napping when libcurl gave nothing to wait on
    TEST_STEP_DRIVE,         // the whole transfer loop, the three above included
    TEST_STEP_RESULTS,       // reading the transfers' messages, keeping the passes
    TEST_STEP_CLEANUP,       // freeing replies and handles
    TEST_STEP_FINISH,        // progress notice and giving the slot back
    TEST_STEP_LOCK_WAIT,     // entering the worker's locks
    TEST_STEP_HOLD,          // from taking a slot to giving it back
    TEST_STEP_COUNT
};

// Per-fetch times as libcurl reports them.
enum TestFetchTime
{
    TEST_FETCH_CONNECT,        // connected to the proxy
    TEST_FETCH_PRETRANSFER,    // request about to go
    TEST_FETCH_STARTTRANSFER,  // first byte of the reply
    TEST_FETCH_TOTAL,          // done
    TEST_FETCH_COUNT
};

struct TestTimingTotals
{
    double dStepMs[TEST_STEP_COUNT];  // summed over all threads
    LONGLONG nStepCount[TEST_STEP_COUNT];
    double dFetchMs[TEST_FETCH_COUNT];  // summed over the fetches read
    LONGLONG nFetches;
    LONGLONG nUnits;        // test threads that ran
    LONGLONG nLoopPasses;   // passes through the transfer loops
    LONGLONG nNaps;         // passes with nothing to wait on
    double dLastReleaseMs;  // clock (see Now) of the last slot given back
};

class CTestTimings
{
public:
    // Switching on also forgets the figures so far.
    static void SwitchOn(bool bOn);
    static bool IsOn() { return s_bOn; }

    // A clock reading, 0 while off; the steps below take it as their start.
    static LONGLONG Now();
    // Adds the time since llStart (0: nothing) to the step.
    static void AddSince(TestStep step, LONGLONG llStart);
    // A thread about to be started on pKey, its start argument; the thread
    // calls NoteThreadEntry with the same argument as its first step.
    static void NoteThreadStarting(const void* pKey, LONGLONG llStart);
    static void NoteThreadEntry(const void* pKey);
    // Slot taken and given back.
    static void NoteSlotTaken();
    static void NoteSlotGiven();
    static void NoteLoopPass(bool bNap);
    // The times of one finished fetch (a libcurl easy handle).
    static void NoteFetch(void* pEasy);

    static TestTimingTotals Totals();
    static double MsOf(LONGLONG llTicks);

private:
    static volatile bool s_bOn;
};
