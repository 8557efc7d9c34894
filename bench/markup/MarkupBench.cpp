// What a mark-up layout costs: measuring and drawing texts of 1, 10 and 100 KB
// (plain words, styled runs, a table) with a maximum width, next to DrawTextW
// with DT_WORDBREAK measuring and drawing the same plain words on the same DC.
#include "bench/BenchFigure.h"
#include "toolkit/MarkupDrawer.h"

#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const wchar_t* const kWords[] = { L"proxy", L"switch", L"the",    L"address",  L"of",         L"a",    L"relay",
                                  L"is",    L"hidden", L"behind", L"another",  L"server",     L"and",  L"tested",
                                  L"for",   L"speed,", L"uptime", L"country.", L"well-known", L"lists" };
const int kWordCount = sizeof(kWords) / sizeof(kWords[0]);
const int kWidth = 400;

std::wstring PlainWords(size_t nChars)
{
    std::wstring s;
    for (int i = 0; s.size() < nChars; ++i)
        s += std::wstring(kWords[(i * 7) % kWordCount]) + L" ";
    return s;
}

std::wstring StyledRuns(size_t nChars)
{
    static const wchar_t* const kOpen[] = { L"<b>", L"<i>", L"<font color=red>", L"<u>" };
    static const wchar_t* const kClose[] = { L"</b>", L"</i>", L"</font>", L"</u>" };
    std::wstring s;
    for (int i = 0; s.size() < nChars; ++i) {
        const int k = i % 4;
        s += kOpen[k];
        s += std::wstring(kWords[(i * 7) % kWordCount]) + L" " + kWords[(i * 3 + 1) % kWordCount];
        s += kClose[k];
        s += L" ";
    }
    return s;
}

std::wstring Table(size_t nChars)
{
    std::wstring s = L"<table border=1 cellspacing=1>";
    for (int i = 0; s.size() < nChars; ++i)
        s += std::wstring(L"<tr><td>") + kWords[i % kWordCount] + L" " + kWords[(i + 3) % kWordCount] +
             L"</td><td align=right>" + kWords[(i + 5) % kWordCount] + L"</td></tr>";
    return s + L"</table>";
}

double Now()
{
    static LARGE_INTEGER freq = {};
    if (freq.QuadPart == 0)
        QueryPerformanceFrequency(&freq);
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

// Seconds per pass: as many passes as fit in about half a second, at least two.
template <class F>
double TimePerPass(F pass)
{
    pass();  // warm up fonts and caches
    int nPasses = 0;
    const double dStart = Now();
    double dNow = dStart;
    while (nPasses < 2 || dNow - dStart < 0.5) {
        pass();
        ++nPasses;
        dNow = Now();
    }
    return (dNow - dStart) / nPasses;
}

}  // namespace

int wmain()
{
    HDC hScreen = GetDC(NULL);
    HDC hDC = CreateCompatibleDC(hScreen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = 800;
    bi.bmiHeader.biHeight = -600;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* pBits = NULL;
    HBITMAP hBitmap = CreateDIBSection(hDC, &bi, DIB_RGB_COLORS, &pBits, NULL, 0);
    HGDIOBJ hOldBitmap = SelectObject(hDC, hBitmap);

    CMarkupDrawer drawer;
    drawer.m_nMaxWidth = kWidth;
    // The baseline draws in the font the mark-up's body uses.
    drawer.MeasureMarkup(hDC, L"x");
    HFONT hFont = CreateFontIndirectW(&drawer.m_lf);

    struct Kind
    {
        const char* name;
        std::wstring (*make)(size_t);
    } kinds[] = { { "plain words", PlainWords }, { "styled runs", StyledRuns }, { "table", Table } };
    const int kSizes[] = { 1, 10, 100 };

    printf("mark-up measure + draw at a width of %d, next to DrawTextW (DT_WORDBREAK, measure + draw)\n", kWidth);
    printf("%-12s %6s %14s %14s %8s %10s\n", "text", "KB", "mark-up ms/KB", "DrawTextW ms/KB", "ratio", "lines");
    double dFirstPerKb[3] = { 0, 0, 0 };
    for (int k = 0; k < 3; ++k) {
        for (int nKb : kSizes) {
            const std::wstring text = kinds[k].make(static_cast<size_t>(nKb) * 1024);
            const std::wstring plain = PlainWords(static_cast<size_t>(nKb) * 1024);
            const double dMarkup = TimePerPass([&] {
                drawer.MeasureMarkup(hDC, text.c_str());
                RECT rc = { 0, 0, kWidth, 600 };
                drawer.DrawMarkup(&rc, hDC);
            });
            const int nLines = drawer.m_nLineIndex;
            const double dBaseline = TimePerPass([&] {
                HGDIOBJ hOld = SelectObject(hDC, hFont);
                RECT rc = { 0, 0, kWidth, 0 };
                DrawTextW(hDC, plain.c_str(), static_cast<int>(plain.size()), &rc, DT_WORDBREAK | DT_CALCRECT);
                rc = { 0, 0, kWidth, 600 };
                DrawTextW(hDC, plain.c_str(), static_cast<int>(plain.size()), &rc, DT_WORDBREAK);
                SelectObject(hDC, hOld);
            });
            const double dPerKb = dMarkup * 1000.0 / nKb;
            if (nKb == 1)
                dFirstPerKb[k] = dPerKb;
            printf("%-12s %6d %14.3f %14.3f %8.2f %10d\n", kinds[k].name, nKb, dPerKb, dBaseline * 1000.0 / nKb,
                   dMarkup / dBaseline, nLines);
            char szWorkload[64];
            snprintf(szWorkload, sizeof(szWorkload), "%s, %d KB", kinds[k].name, nKb);
            PrintBenchFigure(szWorkload, "mark-up", dPerKb, "DrawTextW", dBaseline * 1000.0 / nKb, "ms/KB");
            if (nKb == 100)
                printf("%-12s growth: per-KB cost at 100 KB is %.2f x that at 1 KB\n", kinds[k].name,
                       dPerKb / std::max(1e-9, dFirstPerKb[k]));
            fflush(stdout);
        }
    }

    DeleteObject(hFont);
    SelectObject(hDC, hOldBitmap);
    DeleteObject(hBitmap);
    DeleteDC(hDC);
    ReleaseDC(NULL, hScreen);
    return 0;
}
