// How the proxy list view copes with long lists: refresh, the column sorts
// (sort plus refresh, as a header click does), a repaint and a page scroll,
// for several list sizes. Each time is printed in milliseconds and as a ratio
// to a baseline measured in the same run: inserting the same number of plain
// text rows into a list view without custom draw and painting it. Each
// header click starts from a full list in no particular order.
#include "app/CorvaneDlgList.h"
#include "bench/BenchFigure.h"
#include "proxy/CountryTable.h"
#include "proxy/ProxySort.h"
#include "tests/TestFiles.h"
#include "tests/win/WinTestSupport.h"

#include <stdio.h>

#include <algorithm>
#include <functional>
#include <random>
#include <vector>

namespace {
const int kCountries = 250;
const int kTimeoutMs = 10000;
const WORD kListId = 1003;
const WORD kPlainId = 1010;
const int kSizes[] = { 500, 1000, 2000, 5000 };
const int kRepeats = 3;

class CBenchHost : public CDialog
{
public:
    CProListCtrl m_list;
    CListCtrl m_plain;
};

double Now()
{
    static LARGE_INTEGER frequency = {};
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Lets every pending message (paints included) through.
void Drain()
{
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (!AfxPreTranslateWalk(NULL, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

double TimeOnce(const std::function<void()>& setup, const std::function<void()>& work)
{
    setup();
    Drain();
    const double start = Now();
    work();
    return Now() - start;
}

// The baseline of the current list size, run again beside every timed run
// of a figure that rebuilds the rows: the machine's load changes from one
// minute to the next, and a figure is only comparable with a baseline taken
// under the same load. Report takes the best of these for its ratio.
std::function<void()> s_baselineSetup;
std::function<void()> s_baselineWork;
bool s_bPaired = false;
double s_pairedBaseline = 1e30;

// The best of a few runs of setup-then-work; only the work is timed.
double Measure(const std::function<void()>& setup, const std::function<void()>& work)
{
    double best = 1e30;
    for (int i = 0; i < kRepeats; ++i) {
        if (s_bPaired && s_baselineWork)
            s_pairedBaseline = std::min(s_pairedBaseline, TimeOnce(s_baselineSetup, s_baselineWork));
        best = std::min(best, TimeOnce(setup, work));
    }
    return best;
}

void SetUpColumns(CListCtrl& list)
{
    const struct
    {
        const wchar_t* title;
        int width;
    } columns[] = {
        { L"Country", 140 }, { L"IP", 112 }, { L"Port", 0 }, { L"Type", 95 }, { L"Uptime", 51 }, { L"Speed", 100 },
    };
    for (int i = 0; i < 6; ++i)
        list.InsertColumn(i, columns[i].title, LVCFMT_LEFT, columns[i].width);
    list.SetExtendedStyle(list.GetExtendedStyle() | LVS_EX_FULLROWSELECT);
}

void MakeProxies(CProxyList& list, int n, std::mt19937& random)
{
    list.RemoveAll();
    for (int i = 0; i < n; ++i) {
        char ip[16];
        sprintf(ip, "10.%d.%d.%d", i / 62500, (i / 250) % 250, i % 250 + 1);
        const int speed = random() % 4 == 0 ? PROXY_SPEED_UNMEASURED : static_cast<int>(random() % 30000);
        CProxy proxy(ip, 1000 + i, static_cast<int>(random() % (kCountries + 1)) - 1,
                     1 + static_cast<int>(random() % 2), static_cast<int>(random() % 6), speed);
        list.AddTail(proxy);
    }
}

void FillPlain(CListCtrl& list, const CProxyList& proxies)
{
    // Filled the way the proxy list is, so that the ratio shows the cost of
    // the bars, flags and texts rather than of the scroll bar updates.
    list.SetRedraw(FALSE);
    int row = 0;
    wchar_t text[32];
    for (POSITION pos = proxies.GetHeadPosition(); pos != NULL; ++row) {
        const CProxy& proxy = proxies.GetNext(pos);
        list.InsertItem(row, L"Country");
        list.SetItemText(row, 1, CString(proxy.m_szIP));
        swprintf(text, 32, L"%d", proxy.m_nPort);
        list.SetItemText(row, 2, text);
        list.SetItemText(row, 3, L"High Anon");
        swprintf(text, 32, L"%d/5", proxy.m_nUptime);
        list.SetItemText(row, 4, text);
        swprintf(text, 32, L"%d", SpeedPercent(proxy.m_nSpeed, kTimeoutMs));
        list.SetItemText(row, 5, text);
    }
    list.SetRedraw(TRUE);
    list.Invalidate();
}

// The size being measured, for the figure lines.
int s_nRows = 0;

// Prints the figure as text and as the line tools/bench reads.
void Report(const char* what, double ms, double baseline)
{
    const char* name = what;
    while (*name == ' ')
        ++name;
    const bool paired = s_pairedBaseline < 1e30;
    char szWorkload[96];
    snprintf(szWorkload, sizeof(szWorkload), "%d rows: %s", s_nRows, name);
    PrintBenchFigure(szWorkload, "list view", ms, paired ? "plain rows beside it" : "plain rows",
                     paired ? s_pairedBaseline : baseline, "ms");
    if (paired) {
        printf("  %-24s %9.1f ms  %6.2fx  (baseline beside it %.1f ms)\n", what, ms, ms / s_pairedBaseline,
               s_pairedBaseline);
        s_pairedBaseline = 1e30;
        return;
    }
    printf("  %-24s %9.1f ms  %6.2fx\n", what, ms, ms / baseline);
}
}  // namespace

int wmain(int argc, wchar_t** argv)
{
    // --quick: the same figures for the two smaller sizes only.
    const bool quick = argc > 1 && wcscmp(argv[1], L"--quick") == 0;
    InitTestControls();

    CTempDir dir(L"corvane-bench");
    std::string table;
    for (int i = 0; i < kCountries; ++i) {
        char line[64];
        sprintf(line, "%c%c\tCountry %d\r\n", 'A' + i / 26, 'A' + i % 26, i);
        table += line;
    }
    const std::wstring path = dir.File(L"countries.crv");
    WriteFileBytes(path, table);
    CCountryTable countries;
    countries.Load(path.c_str());

    CTestDialogTemplate tmpl(WS_POPUP | WS_CAPTION | WS_VISIBLE, 353, 560, L"List view bench");
    tmpl.Add(kListId, WC_LISTVIEWW, L"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER, 7, 43, 339, 233)
        .Add(kPlainId, WC_LISTVIEWW, L"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER, 7, 300, 339, 233);
    CBenchHost host;
    if (!host.CreateIndirect(tmpl.Get()) || !host.m_list.SubclassDlgItem(kListId, &host) ||
        !host.m_plain.SubclassDlgItem(kPlainId, &host)) {
        fprintf(stderr, "bench_listview: could not make the window\n");
        return 1;
    }
    SetUpColumns(host.m_list);
    SetUpColumns(host.m_plain);
    CImageList flags;
    flags.Create(25, 15, ILC_COLOR24 | ILC_MASK, 8, 1);
    flags.SetImageCount(kCountries);
    host.m_list.SetImageList(&flags, LVSIL_SMALL);

    std::mt19937 random(5000);
    CProxyList proxies;
    printf("list view bench: best of %d runs; ratios against plain rows without custom draw\n", kRepeats);
    for (int n : kSizes) {
        if (quick && n > 1000)
            break;
        s_nRows = n;
        MakeProxies(proxies, n, random);
        CProListCtrl& list = host.m_list;
        auto refresh = [&] {
            FillProxyRows(list, proxies, countries, kTimeoutMs);
            list.UpdateWindow();
            Drain();
        };

        s_baselineSetup = [&] { host.m_plain.DeleteAllItems(); };
        s_baselineWork = [&] {
            FillPlain(host.m_plain, proxies);
            host.m_plain.UpdateWindow();
            Drain();
        };
        s_bPaired = false;
        const double baseline = Measure(s_baselineSetup, s_baselineWork);
        printf("%d rows: baseline %.1f ms\n", n, baseline);
        s_bPaired = true;
        Report("refresh (empty list)", Measure([&] { list.RemoveAllItems(); }, refresh), baseline);
        Report("refresh (full list)", Measure(refresh, refresh), baseline);
        // The parts of a refresh of a full list.
        Report("  delete the rows", Measure(refresh, [&] { list.RemoveAllItems(); }), baseline);
        Report("  insert the rows",
               Measure([&] { list.RemoveAllItems(); }, [&] { FillProxyRows(list, proxies, countries, kTimeoutMs); }),
               baseline);
        double paint = 1e30;
        for (int i = 0; i < kRepeats; ++i) {
            // Not through Measure: its drain after the set-up would paint.
            FillProxyRows(list, proxies, countries, kTimeoutMs);
            const double start = Now();
            list.UpdateWindow();
            Drain();
            paint = std::min(paint, Now() - start);
        }
        Report("  paint the page", paint, baseline);

        const struct
        {
            const char* name;
            const char* sortName;
            int key;
            bool ascending;
        } sorts[] = {
            { "click country", "sort country", PROXY_SORT_COUNTRY, true },
            { "click country again", "sort country desc", PROXY_SORT_COUNTRY, false },
            { "click type", "sort type", PROXY_SORT_TYPE, true },
            { "click type again", "sort type desc", PROXY_SORT_TYPE, false },
            { "click uptime", "sort uptime", PROXY_SORT_UPTIME, true },
            { "click uptime again", "sort uptime desc", PROXY_SORT_UPTIME, false },
            { "click speed", "sort speed desc", PROXY_SORT_SPEED, false },
            { "test run's speed sort", "sort speed", PROXY_SORT_SPEED, true },
        };
        for (const auto& sort : sorts) {
            Report(sort.name,
                   Measure([&] { MakeProxies(proxies, n, random); },
                           [&] {
                               SortProxyList(proxies, sort.key, sort.ascending, kCountries);
                               refresh();
                           }),
                   baseline);
        }
        // The sorts alone and the paints are far below the baseline.
        s_bPaired = false;
        for (const auto& sort : sorts) {
            Report(sort.sortName,
                   Measure([&] { MakeProxies(proxies, n, random); },
                           [&] { SortProxyList(proxies, sort.key, sort.ascending, kCountries); }),
                   baseline);
        }

        refresh();
        Report("repaint",
               Measure([] {},
                       [&] {
                           list.Invalidate();
                           list.UpdateWindow();
                           Drain();
                       }),
               baseline);
        Report("page down and paint",
               Measure(
                   [&] {
                       list.EnsureVisible(0, FALSE);
                       list.UpdateWindow();
                   },
                   [&] {
                       list.SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
                       list.UpdateWindow();
                       Drain();
                   }),
               baseline);
        fflush(stdout);
    }
    host.DestroyWindow();
    return 0;
}
