// Generated mark-up (nested tables, stray brackets, huge spans and counts,
// long words) measured and drawn at several widths: every text must come to
// an end, draw as many lines as it measured, and write nothing outside the
// target bitmap.
#include <gtest/gtest.h>

#include "tests/unit/MarkupLayoutSupport.h"

#include <stdio.h>

#include <algorithm>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <random>
#include <string>
#include <thread>

namespace {

std::string Narrow(const std::wstring& text)
{
    std::string s;
    for (wchar_t ch : text)
        s += ch < 0x80 ? static_cast<char>(ch) : '?';
    return s;
}

// Ends the process when one text takes longer than the limit: a layout that
// never finishes cannot be stopped from outside, and the suite must fail on it
// rather than wait for it.
class CLayoutWatchdog
{
public:
    explicit CLayoutWatchdog(std::chrono::milliseconds limit) : m_limit(limit), m_thread([this] { Watch(); }) {}
    ~CLayoutWatchdog()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bStop = true;
        }
        m_wake.notify_all();
        m_thread.join();
    }
    CLayoutWatchdog(const CLayoutWatchdog&) = delete;
    CLayoutWatchdog& operator=(const CLayoutWatchdog&) = delete;

    void Begin(const std::wstring& text, int nMaxWidth)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_text = text;
        m_nMaxWidth = nMaxWidth;
        m_started = std::chrono::steady_clock::now();
        m_bBusy = true;
    }
    void End()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bBusy = false;
    }

private:
    void Watch()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_bStop) {
            m_wake.wait_for(lock, std::chrono::milliseconds(100));
            if (m_bBusy && std::chrono::steady_clock::now() - m_started > m_limit) {
                fprintf(stderr, "Failure: a text did not finish within %d ms at width %d: %s\n",
                        static_cast<int>(m_limit.count()), m_nMaxWidth, Narrow(m_text).c_str());
                fflush(stderr);
                ::TerminateProcess(::GetCurrentProcess(), 3);
            }
        }
    }

    const std::chrono::milliseconds m_limit;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::wstring m_text;
    int m_nMaxWidth = 0;
    std::chrono::steady_clock::time_point m_started;
    bool m_bBusy = false;
    bool m_bStop = false;
    std::thread m_thread;
};

class CMarkupGenerator
{
public:
    explicit CMarkupGenerator(unsigned nSeed) : m_rng(nSeed) {}

    std::wstring Text()
    {
        std::wstring s;
        const int nParts = Pick(1, 12);
        for (int i = 0; i < nParts; ++i)
            Part(s, 0);
        return s;
    }

private:
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    template <size_t N>
    const wchar_t* PickOf(const wchar_t* const (&items)[N])
    {
        return items[Pick(0, static_cast<int>(N) - 1)];
    }

    std::wstring Number()
    {
        static const wchar_t* const kNumbers[] = {
            L"0",          L"1",           L"2",    L"3",   L"7",   L"-1", L"50%", L"100%", L"250%", L"999999999",
            L"2147483647", L"-2147483648", L"12px", L"2em", L"1in", L"x",  L"",    L"0x10", L"65536"
        };
        return PickOf(kNumbers);
    }

    std::wstring Word()
    {
        static const wchar_t* const kWords[] = {
            L"a",       L"word",          L"well-known", L"x,y", L"(p)", L"end.", L"?!", L"&amp;", L"&lt;", L"&nbsp;",
            L"&bogus;", L"\u00e9t\u00e9", L"\U0001F600", L" ",   L"  ",  L"-",    L"\t", L"\r\n",  L"\n"
        };
        if (Pick(0, 15) == 0)
            return std::wstring(static_cast<size_t>(Pick(20, 300)), static_cast<wchar_t>(L'a' + Pick(0, 25)));
        return PickOf(kWords);
    }

    void Tag(std::wstring& s)
    {
        static const wchar_t* const kTags[] = { L"b",
                                                L"i",
                                                L"u",
                                                L"s",
                                                L"em",
                                                L"center",
                                                L"right",
                                                L"justify",
                                                L"left",
                                                L"top",
                                                L"bottom",
                                                L"middle",
                                                L"baseline",
                                                L"h1",
                                                L"sub",
                                                L"big",
                                                L"code",
                                                L"pre",
                                                L"span class=cpp-comment",
                                                L"a href=x",
                                                L"a msg=m",
                                                L"a" };
        const std::wstring tag = PickOf(kTags);
        const bool bClose = Pick(0, 3) == 0;
        s += bClose ? L"</" : L"<";
        s += bClose ? tag.substr(0, tag.find(L' ')) : tag;
        s += L">";
    }

    void Object(std::wstring& s)
    {
        switch (Pick(0, 9)) {
        case 0: s += L"<br=" + Number() + L">"; break;
        case 1: s += L"<br " + Number() + L">"; break;
        case 2: s += L"<t=" + Number() + L">"; break;
        case 3: s += L"<hr width=" + Number() + L" size=" + Number() + L">"; break;
        case 4:
            s += L"<font size=" + Number() + L" color=red weight=" + Number() + L" style=-b+iuso bkgnd=#00ff00>";
            break;
        case 5: s += L"</font>"; break;
        case 6: s += L"<string idres=" + Number() + L">"; break;
        case 7: s += L"<ilst index=" + Number() + L" speed=" + Number() + L">"; break;
        case 8: s += L"<bmp idres=" + Number() + L" handle=" + Number() + L">"; break;
        default: s += L"<icon idres=" + Number() + L" width=" + Number() + L">"; break;
        }
    }

    void Stray(std::wstring& s)
    {
        static const wchar_t* const kStray[] = {
            L"<",    L">",     L"<<",   L"<>",       L"< b>", L"<b",   L"</",  L"<table", L"</table>",
            L"<tr>", L"</td>", L"<td>", L"<<table>", L"<B>",  L"<br=", L"<t=", L"</tr>",  L"<table border=3"
        };
        s += PickOf(kStray);
    }

    void Table(std::wstring& s, int nDepth)
    {
        static const wchar_t* const kTableAttributes[] = {
            L"border",       L"cellpadding",     L"cellspacing",     L"borderstyle=double", L"borderstyle=dotted",
            L"align=center", L"align=right",     L"bgcolor=#ccddee", L"bgeffect=vgradient", L"bgeffect=2",
            L"bgeffect=99",  L"bordercolor=blue"
        };
        static const wchar_t* const kCellAttributes[] = { L"colspan",       L"rowspan",        L"width",
                                                          L"height",        L"align=right",    L"valign=middle",
                                                          L"valign=bottom", L"bgcolor=#ffeedd" };
        s += L"<table";
        for (int i = Pick(0, 3); i > 0; --i) {
            std::wstring a = PickOf(kTableAttributes);
            s += L" " + a + (a.find(L'=') == std::wstring::npos ? L"=" + Number() : L"");
        }
        s += L">";
        for (int r = Pick(0, 4); r > 0; --r) {
            s += Pick(0, 5) == 0 ? L"<tr align=center>" : L"<tr>";
            for (int c = Pick(0, 4); c > 0; --c) {
                s += L"<td";
                for (int i = Pick(0, 2); i > 0; --i) {
                    std::wstring a = PickOf(kCellAttributes);
                    s += L" " + a + (a.find(L'=') == std::wstring::npos ? L"=" + Number() : L"");
                }
                s += L">";
                for (int k = Pick(0, 3); k > 0; --k)
                    Part(s, nDepth + 1);
                if (Pick(0, 6) != 0)
                    s += L"</td>";
            }
            if (Pick(0, 6) != 0)
                s += L"</tr>";
        }
        if (Pick(0, 8) != 0)
            s += L"</table>";
    }

    void Part(std::wstring& s, int nDepth)
    {
        const int n = Pick(0, 20);
        if (n < 8)
            s += Word() + L" ";
        else if (n < 12)
            Tag(s);
        else if (n < 15)
            Object(s);
        else if (n < 17)
            Stray(s);
        else if (nDepth < 4)
            Table(s, nDepth);
        else
            s += Word();
    }

    std::mt19937 m_rng;
};

TEST(MarkupLayoutFuzzTest, GeneratedTextsEndDrawTheirLinesAndStayInTheBitmap)
{
    CMarkupCanvas canvas(320, 240, RGB(255, 255, 255));
    ASSERT_TRUE(canvas.IsValid());
    CMarkupDrawer drawer;
    CMarkupGenerator generator(21);
    CLayoutWatchdog watchdog(std::chrono::milliseconds(10000));
    const int kWidths[] = { 0, 1, 13, 60, 200 };
    const DWORD dwStart = GetTickCount();
    int nTexts = 0;
    for (; nTexts < 3000 && GetTickCount() - dwStart < 5000; ++nTexts) {
        const std::wstring text = generator.Text();
        const int nMaxWidth = kWidths[nTexts % 5];
        SCOPED_TRACE(testing::Message() << "text " << nTexts << " width " << nMaxWidth << ": " << Narrow(text));
        watchdog.Begin(text, nMaxWidth);
        const CSize size = MeasureText(drawer, canvas.GetDC(), text, nMaxWidth);
        EXPECT_GE(size.cx, 0);
        EXPECT_GE(size.cy, 0);
        const int nLines = drawer.m_nLineIndex;
        const size_t nTables = drawer.m_arrTableRows.size();
        const size_t nAnimations = drawer.m_arrAnimations.size();
        // Drawn where the size puts it, partly outside the bitmap at times.
        const int x = (nTexts % 7) * 20 - 40;
        const int y = (nTexts % 5) * 30 - 30;
        DrawMeasured(drawer, canvas.GetDC(), x, y, x + std::max<int>(1, size.cx), y + size.cy);
        if (!drawer.m_sText.IsEmpty()) {
            EXPECT_EQ(nLines, drawer.m_nLineIndex);
            EXPECT_EQ(nTables, drawer.m_arrTableRows.size());
            EXPECT_EQ(nAnimations, drawer.m_arrAnimations.size());
        }
        drawer.StepAnimations();
        drawer.TrackHotArea(POINT{ nTexts % 320, nTexts % 240 });
        watchdog.End();
        ASSERT_TRUE(canvas.GuardsIntact());
        if (nTexts % 50 == 0)
            canvas.Fill(RGB(255, 255, 255));
    }
    EXPECT_GE(nTexts, 200);
    // The DC is left as it was found: no font of the drawer stays selected.
    EXPECT_EQ(GetStockObject(SYSTEM_FONT), GetCurrentObject(canvas.GetDC(), OBJ_FONT));
}

}  // namespace

// Small texts that the generated ones led to, each at the width that showed
// its fault: a line drawn fewer or more times than it was measured, or a text
// whose drawing did not come to an end.
struct ReducedCase
{
    const wchar_t* pszText;
    int nMaxWidth;
};

const ReducedCase kReducedCases[] = {
    // Only blanks: the drawn line loses its trailing blanks and must still end.
    { L"  ", 0 },
    { L"&nbsp; ", 0 },
    // A rule of 0 percent draws nothing but was measured a pixel wide.
    { L"<hr width=0%>", 0 },
    // A tab where x is held at the layout's edge still moves.
    { L"<table cellspacing=47483648<tr<td><t>", 0 },
    // Blanks cut away in a narrow fixed cell, drawn in the widened one.
    { L"<table<tr<td width=7>  ", 13 },
    { L"<table<tr><td width=7>a  <b>  </b></td><td>wide words here</td></tr></table>", 13 },
    // Rules thicker than any screen.
    { L"<hr size=-2147483648>", 60 },
    { L"<pre><table border=12px><tr><td align=right>a    <hr width=2147483647 size=-2147483648></td></tr></table>",
      60 },
    { L"<hr size=99999999 width=99999999>", 0 },
};

TEST(MarkupLayoutFuzzTest, ReducedCasesEndAndDrawTheLinesTheyMeasured)
{
    CMarkupCanvas canvas(320, 240, RGB(255, 255, 255));
    ASSERT_TRUE(canvas.IsValid());
    CLayoutWatchdog watchdog(std::chrono::milliseconds(10000));
    for (const ReducedCase& c : kReducedCases) {
        SCOPED_TRACE(testing::Message() << "width " << c.nMaxWidth << ": " << Narrow(c.pszText));
        CMarkupDrawer drawer;
        watchdog.Begin(c.pszText, c.nMaxWidth);
        const CSize size = MeasureText(drawer, canvas.GetDC(), c.pszText, c.nMaxWidth);
        const int nLines = drawer.m_nLineIndex;
        EXPECT_GE(nLines, 1);
        const DWORD dwStart = GetTickCount();
        DrawMeasured(drawer, canvas.GetDC(), 0, 0, std::max<int>(1, size.cx), size.cy);
        watchdog.End();
        EXPECT_LT(GetTickCount() - dwStart, 2000u);
        EXPECT_EQ(nLines, drawer.m_nLineIndex);
        EXPECT_TRUE(canvas.GuardsIntact());
    }
}
