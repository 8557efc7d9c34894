// How close the proxy tests come to the rate their thread count allows.
// Against a farm of loopback proxies that each answer after the same latency
// (bench/proxy_farm.py), the speed and the availability test run at 5, 10
// and 30 threads. A speed thread takes one proxy for at least one latency,
// so its bound is threads / latency; an availability thread takes a batch of
// five, so its bound is 5 x threads / latency. Each rate is printed as a
// ratio of its bound, with the peak thread count and memory of this process
// during the run next to those before it. A second table says where each
// thread slot's time went, per unit of work (a proxy of the speed test, a
// batch of the availability test), in milliseconds: the slot's whole time,
// the time it stood free (the dispatcher's poll, the start and the end of
// the run) and the steps of the test thread that held it, then the fetch
// times libcurl measured. A line before the runs gives the floor the platform
// sets under the thread start and the transfer: a bare thread start, a socket
// opened, connected and closed, and a select with no wait, one at a time.
//
// Usage: bench_proxytest.exe <endpoint file> <latency ms>
#include "bench/BenchFigure.h"
#include "net/RelayServer.h"
#include "net/ServerRequest.h"
#include "net/TestDriver.h"
#include "net/TestTimings.h"
#include "net/Worker.h"
#include "proxy/Settings.h"

#include <winsock2.h>

#include <psapi.h>
#include <stdio.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

const int kThreadCounts[] = { 5, 10, 30 };
// Proxies per run: enough for about this long at the bound.
const double kRunSeconds = 4.0;
const int kMinProxies = 50;

double NowSeconds()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return (double)counter.QuadPart / (double)frequency.QuadPart;
}

int ThreadsOfThisProcess()
{
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return -1;
    int n = 0;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    const DWORD dwSelf = GetCurrentProcessId();
    for (BOOL bMore = Thread32First(hSnapshot, &entry); bMore; bMore = Thread32Next(hSnapshot, &entry)) {
        if (entry.th32OwnerProcessID == dwSelf)
            ++n;
    }
    CloseHandle(hSnapshot);
    return n;
}

struct Memory
{
    SIZE_T nWorkingSet;
    SIZE_T nCommit;
};

Memory MemoryOfThisProcess()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    GetProcessMemoryInfo(GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS*)&counters, sizeof(counters));
    return { counters.WorkingSetSize, counters.PagefileUsage };
}

// Samples the memory every 100 ms and the thread count every second while a
// run goes on. Each sample is a round trip to the Wine server, which every
// socket call and thread start of the tests needs too: the thread snapshot
// in particular is slow, and taken every 10 ms the samples held the server
// for most of the run and slowed the very tests they measured; every 500 ms
// the sampling thread still spent a quarter to a third of a 30-thread run
// waiting for its snapshots.
class CPeakSampler
{
public:
    CPeakSampler()
    {
        Sample(true);
        m_thread = std::thread([this] {
            for (int i = 1; !m_bStop; ++i) {
                Sample(i % kThreadSampleEvery == 0);
                Sleep(100);
            }
        });
    }
    ~CPeakSampler() { Stop(); }
    void Stop()
    {
        m_bStop = true;
        if (m_thread.joinable())
            m_thread.join();
    }

    int m_nPeakThreads = 0;
    Memory m_peak = { 0, 0 };
    // Time taken by the samples themselves.
    double m_dSampleSeconds = 0;

private:
    static const int kThreadSampleEvery = 10;

    void Sample(bool bThreads)
    {
        const double dStart = NowSeconds();
        if (bThreads)
            m_nPeakThreads = std::max(m_nPeakThreads, ThreadsOfThisProcess());
        Memory now = MemoryOfThisProcess();
        m_peak.nWorkingSet = std::max(m_peak.nWorkingSet, now.nWorkingSet);
        m_peak.nCommit = std::max(m_peak.nCommit, now.nCommit);
        m_dSampleSeconds += NowSeconds() - dStart;
    }

    std::atomic<bool> m_bStop{ false };
    std::thread m_thread;
};

bool ReadEndpoints(const wchar_t* pszPath, std::vector<CProxy>& endpoints)
{
    FILE* f = _wfopen(pszPath, L"r");
    if (f == NULL)
        return false;
    char szAddress[64];
    int nPort = 0;
    bool bReady = false;
    char szLine[128];
    while (fgets(szLine, sizeof(szLine), f)) {
        if (strncmp(szLine, "ready", 5) == 0)
            bReady = true;
        else if (sscanf(szLine, "%15s %d", szAddress, &nPort) == 2)
            endpoints.push_back(CProxy(szAddress, nPort, -1, 0, 0, PROXY_SPEED_UNMEASURED));
    }
    fclose(f);
    return bReady && !endpoints.empty();
}

// What the platform itself charges, one call at a time on an otherwise quiet
// process: the floor under the breakdown's thread start and transfer steps.
struct PlatformFloor
{
    double dThreadCallMs;   // CreateThread itself
    double dThreadEntryMs;  // from before CreateThread to the thread's first step
    double dSocketMs;       // socket, connect to a farm endpoint, closesocket
    double dSelectMs;       // select on that socket with no wait
};

volatile double s_dEntrySeconds = 0;

DWORD WINAPI NoteEntryProc(LPVOID)
{
    s_dEntrySeconds = NowSeconds();
    return 0;
}

PlatformFloor MeasurePlatformFloor(const CProxy& endpoint)
{
    const int kRounds = 20;
    PlatformFloor floor = {};
    for (int i = 0; i < kRounds; ++i) {
        const double dStart = NowSeconds();
        HANDLE hThread = CreateThread(NULL, 0, NoteEntryProc, NULL, 0, NULL);
        floor.dThreadCallMs += (NowSeconds() - dStart) * 1000.0;
        if (hThread == NULL)
            continue;
        WaitForSingleObject(hThread, INFINITE);
        CloseHandle(hThread);
        floor.dThreadEntryMs += (s_dEntrySeconds - dStart) * 1000.0;
    }
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = htons((u_short)endpoint.m_nPort);
    address.sin_addr.s_addr = inet_addr(endpoint.m_szIP);
    for (int i = 0; i < kRounds; ++i) {
        const double dStart = NowSeconds();
        SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET)
            continue;
        const bool bConnected = connect(s, (const sockaddr*)&address, sizeof(address)) == 0;
        const double dConnected = NowSeconds();
        if (bConnected) {
            fd_set writeSet;
            FD_ZERO(&writeSet);
            FD_SET(s, &writeSet);
            timeval noWait = { 0, 0 };
            select(0, NULL, &writeSet, NULL, &noWait);
        }
        const double dSelected = NowSeconds();
        closesocket(s);
        floor.dSocketMs += (dConnected - dStart + NowSeconds() - dSelected) * 1000.0;
        floor.dSelectMs += (dSelected - dConnected) * 1000.0;
    }
    floor.dThreadCallMs /= kRounds;
    floor.dThreadEntryMs /= kRounds;
    floor.dSocketMs /= kRounds;
    floor.dSelectMs /= kRounds;
    return floor;
}

double MB(SIZE_T n)
{
    return (double)n / (1024.0 * 1024.0);
}

struct RunFigures
{
    const char* pszTest;
    int nThreads;
    double dSeconds;
    double dEndMs;        // the clock of CTestTimings when the driver returned
    double dSampleShare;  // of the run's time, spent sampling threads and memory
    TestTimingTotals totals;
};

void PrintBreakdown(const std::vector<RunFigures>& runs, double dLatencyMs)
{
    printf(
        "\nwhere a thread slot's time goes, ms per unit (a speed proxy, an availability batch of five);\n"
        "latency %.0f ms; transfer = select + perform + nap + the loop's own steps\n",
        dLatencyMs);
    printf("%-12s %3s %6s %6s %6s %6s %6s %6s %6s %6s %6s %6s %6s %6s %6s %6s %6s\n", "test", "thr", "slot", "free",
           "start", "setup", "transf", "select", "perf", "nap", "result", "clean", "finish", "locks", "tail", "passes",
           "naps");
    for (const RunFigures& run : runs) {
        const TestTimingTotals& t = run.totals;
        const double n = t.nUnits > 0 ? (double)t.nUnits : 1.0;
        const double dSlot = run.nThreads * run.dSeconds * 1000.0 / n;
        const double dHold = t.dStepMs[TEST_STEP_HOLD] / n;
        printf("%-12s %3d %6.1f %6.1f %6.1f %6.1f %6.1f %6.1f %6.1f %6.1f %6.2f %6.2f %6.2f %6.2f %6.0f %6.1f %6.2f\n",
               run.pszTest, run.nThreads, dSlot, dSlot - dHold, t.dStepMs[TEST_STEP_THREAD_START] / n,
               t.dStepMs[TEST_STEP_SETUP] / n, t.dStepMs[TEST_STEP_DRIVE] / n, t.dStepMs[TEST_STEP_SELECT] / n,
               t.dStepMs[TEST_STEP_PERFORM] / n, t.dStepMs[TEST_STEP_NAP] / n, t.dStepMs[TEST_STEP_RESULTS] / n,
               t.dStepMs[TEST_STEP_CLEANUP] / n, t.dStepMs[TEST_STEP_FINISH] / n, t.dStepMs[TEST_STEP_LOCK_WAIT] / n,
               run.dEndMs - t.dLastReleaseMs, t.nLoopPasses / n, t.nNaps / n);
    }
    printf("\nthe dispatcher per unit (ms): waiting for a slot, in the thread start call; libcurl per fetch (ms)\n");
    printf("%-12s %3s %8s %8s %8s %8s %8s %8s %8s\n", "test", "thr", "slotwait", "startcall", "connect", "request",
           "1st byte", "total", "sampling");
    for (const RunFigures& run : runs) {
        const TestTimingTotals& t = run.totals;
        const double n = t.nUnits > 0 ? (double)t.nUnits : 1.0;
        const double f = t.nFetches > 0 ? (double)t.nFetches : 1.0;
        printf("%-12s %3d %8.2f %8.2f %8.1f %8.1f %8.1f %8.1f %7.1f%%\n", run.pszTest, run.nThreads,
               t.dStepMs[TEST_STEP_SLOT_WAIT] / n, t.dStepMs[TEST_STEP_START_CALL] / n,
               t.dFetchMs[TEST_FETCH_CONNECT] / f, t.dFetchMs[TEST_FETCH_PRETRANSFER] / f,
               t.dFetchMs[TEST_FETCH_STARTTRANSFER] / f, t.dFetchMs[TEST_FETCH_TOTAL] / f, run.dSampleShare * 100.0);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: bench_proxytest <endpoint file> <latency ms>\n");
        return 2;
    }
    std::vector<CProxy> endpoints;
    if (!ReadEndpoints(argv[1], endpoints)) {
        fprintf(stderr, "bench_proxytest: no endpoints in %ls\n", argv[1]);
        return 1;
    }
    const double dLatency = _wtoi(argv[2]) / 1000.0;
    // --quick: shorter runs of the same shape.
    const bool bQuick = argc > 3 && wcscmp(argv[3], L"--quick") == 0;
    const double dRunSeconds = bQuick ? 1.5 : kRunSeconds;
    if (dLatency <= 0)
        return 2;

    SetDefaultSettings(GetSettings(), 0);
    CSettingTestItem* pTest = GetSettings().GetTest();
    // The farm answers every URL itself; nothing goes further.
    strcpy(pTest->m_szURL, "http://127.0.0.1:9/corvane/test.html");
    strcpy(pTest->m_szCorrectValue, "engine");
    pTest->m_nTimeoutSeconds = 30;
    strcpy(GetSettings().GetMisc()->m_szProxyUser, "corvane");
    strcpy(g_szProxyPassword, "bench");
    g_relayServer.SetCredentials("corvane", "bench");

    printf("%zu endpoints, latency %.0f ms\n", endpoints.size(), dLatency * 1000);
    const int nIdleThreads = ThreadsOfThisProcess();
    const Memory idle = MemoryOfThisProcess();
    printf("before the runs: %d threads, working set %.1f MB, commit %.1f MB\n", nIdleThreads, MB(idle.nWorkingSet),
           MB(idle.nCommit));
    WSADATA wsa;
    WSAStartup(MAKEWORD(2, 2), &wsa);
    const PlatformFloor floor = MeasurePlatformFloor(endpoints[0]);
    printf(
        "the platform, one call at a time: thread start %.2f ms (the call %.2f ms), socket + connect + close "
        "%.2f ms, select with no wait %.2f ms\n\n",
        floor.dThreadEntryMs, floor.dThreadCallMs, floor.dSocketMs, floor.dSelectMs);
    printf("%-12s %7s %7s %8s %9s %9s %6s %7s %8s %8s %9s %9s\n", "test", "threads", "proxies", "seconds", "proxies/s",
           "bound/s", "ratio", "passed", "mean ms", "peak thr", "peak WS", "peak commit");

    std::vector<RunFigures> runs;
    for (int bSpeed = 1; bSpeed >= 0; --bSpeed) {
        for (int nThreads : kThreadCounts) {
            CWorker& worker = bSpeed ? (CWorker&)GetTestSpeedWorker() : (CWorker&)GetCheckAnonymousWorker();
            worker.m_nMaxThreads = nThreads;
            const double dBound = (bSpeed ? 1.0 : 5.0) * nThreads / dLatency;
            const int nProxies =
                std::min((int)endpoints.size(), std::max(kMinProxies, (int)(dBound * dRunSeconds + 0.5)));
            CProxyList list;
            for (int i = 0; i < nProxies; ++i)
                list.AddTail(endpoints[i]);

            CTestTimings::SwitchOn(true);
            CPeakSampler sampler;
            const double dStart = NowSeconds();
            if (bSpeed)
                TestProxySpeed(list);
            else
                TestProxyAvailability(list);
            const double dSeconds = NowSeconds() - dStart;
            const double dEndMs = CTestTimings::MsOf(CTestTimings::Now());
            sampler.Stop();
            runs.push_back({ bSpeed ? "speed" : "availability", nThreads, dSeconds, dEndMs,
                             sampler.m_dSampleSeconds / dSeconds, CTestTimings::Totals() });
            CTestTimings::SwitchOn(false);

            const double dRate = nProxies / dSeconds;
            // The fetch time the speed test measured, against the farm's latency.
            double dMeanMs = 0;
            for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
                dMeanMs += list.GetNext(pos).m_nSpeed;
            dMeanMs = (bSpeed && !list.IsEmpty()) ? dMeanMs / list.GetCount() : 0;
            printf("%-12s %7d %7d %8.2f %9.1f %9.1f %6.2f %7d %8.0f %8d %7.1fMB %9.1fMB\n",
                   bSpeed ? "speed" : "availability", nThreads, nProxies, dSeconds, dRate, dBound, dRate / dBound,
                   (int)list.GetCount(), dMeanMs, sampler.m_nPeakThreads, MB(sampler.m_peak.nWorkingSet),
                   MB(sampler.m_peak.nCommit));
            // The line tools/bench reads: the rate against the bound.
            char szWorkload[64];
            snprintf(szWorkload, sizeof(szWorkload), "%s, %d threads", bSpeed ? "speed" : "availability", nThreads);
            PrintBenchFigure(szWorkload, "proxies/s", dRate, "bound", dBound, "proxies/s");
        }
    }
    PrintBreakdown(runs, dLatency * 1000.0);
    return 0;
}
