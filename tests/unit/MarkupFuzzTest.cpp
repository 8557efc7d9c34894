// Generated and mutated mark-up texts and style sheets fed to the scanners
// and parsers. Each text sits right before a page that may not be read, so
// a scan that runs past the text faults; loops must move forward and end.
#include "toolkit/MarkupDrawer.h"

#include <gtest/gtest.h>

#include <string.h>

#include <random>
#include <string>

namespace {
// One reusable region whose last page is no-access; Place copies a text so
// that its last code unit is the last one before that page.
class CGuardedText
{
public:
    enum
    {
        kPage = 4096,
        kPages = 64
    };

    CGuardedText()
    {
        m_pBase = (BYTE*)::VirtualAlloc(NULL, (kPages + 1) * kPage, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        DWORD nOld = 0;
        if (m_pBase)
            ::VirtualProtect(m_pBase + kPages * kPage, kPage, PAGE_NOACCESS, &nOld);
    }
    ~CGuardedText()
    {
        if (m_pBase)
            ::VirtualFree(m_pBase, 0, MEM_RELEASE);
    }
    bool IsReady() const { return m_pBase != NULL; }
    static size_t Capacity() { return kPages * kPage / sizeof(wchar_t) - 1; }

    // Without a terminator: the span ends the readable memory.
    MarkupSpan Place(const std::wstring& s)
    {
        wchar_t* p = (wchar_t*)(m_pBase + kPages * kPage) - s.size();
        memcpy(p, s.data(), s.size() * sizeof(wchar_t));
        return MarkupSpan(p, (int)s.size());
    }
    // With its terminator as the last readable code unit.
    LPCWSTR PlaceTerminated(const std::wstring& s)
    {
        wchar_t* p = (wchar_t*)(m_pBase + kPages * kPage) - s.size() - 1;
        memcpy(p, s.data(), s.size() * sizeof(wchar_t));
        p[s.size()] = L'\0';
        return p;
    }

private:
    BYTE* m_pBase;
};

class CMarkupGenerator
{
public:
    explicit CMarkupGenerator(unsigned nSeed) : m_random(nSeed) {}

    int Pick(int nCount) { return std::uniform_int_distribution<int>(0, nCount - 1)(m_random); }

    std::wstring Piece()
    {
        static const wchar_t* const kPieces[] = {
            L"<",
            L">",
            L"<<",
            L"<>",
            L"&",
            L"&lt;",
            L"&amp;",
            L"&amp;lt;",
            L"&nbsp;",
            L"&euro",
            L";",
            L"<table",
            L"<table>",
            L"</table>",
            L"</table",
            L"<tr>",
            L"<tr",
            L"</tr>",
            L"<td>",
            L"<td ",
            L"</td>",
            L"colspan=",
            L"rowspan=",
            L"99999999999",
            L"-3",
            L"0",
            L"2",
            L"border=3",
            L"<b>",
            L"</b>",
            L"<font color=red size=+2 style=-b+iu>",
            L"</font>",
            L"<a href=\"x\">",
            L"</a>",
            L"<br=2>",
            L"<t>",
            L"<hr width=50%>",
            L"<bmp idres=1 handle=12345>",
            L"<span class=x>",
            L" ",
            L"  ",
            L"=",
            L"\"",
            L"'",
            L":",
            L"{",
            L"}",
            L",",
            L".",
            L"#",
            L"#ff00ff",
            L"#FFF",
            L"px",
            L"pt",
            L"em",
            L"ex",
            L"%",
            L"+",
            L"\r\n",
            L"\n",
            L"\r",
            L"\t",
            L"x",
            L"word",
            L"font-size:",
            L"color:",
            L"border-width:thick",
            L"text-decoration:underline overline",
            L"background-color:\"",
            L"a:hover",
            L"body",
            L".cpp-comment",
            L"\x20AC",
            L"\xFFFF",
        };
        if (Pick(8) == 0)
            return std::wstring(1, (wchar_t)Pick(0x10000));
        return kPieces[Pick(sizeof(kPieces) / sizeof(kPieces[0]))];
    }

    std::wstring Text(int nPieces)
    {
        std::wstring s;
        for (int i = 0; i < nPieces; ++i)
            s += Piece();
        return s;
    }

    std::wstring Mutate(std::wstring s)
    {
        int nEdits = 1 + Pick(6);
        for (int i = 0; i < nEdits; ++i) {
            int nAt = s.empty() ? 0 : Pick((int)s.size() + 1);
            switch (Pick(4)) {
            case 0: s.insert(nAt, Piece()); break;
            case 1:
                if (nAt < (int)s.size())
                    s.erase(nAt, 1 + Pick(8));
                break;
            case 2:
                if (nAt < (int)s.size())
                    s[nAt] = (wchar_t)Pick(128);
                break;
            default: s.resize(nAt); break;
            }
        }
        return s;
    }

private:
    std::mt19937 m_random;
};

const wchar_t* const kSamples[] = {
    L"<b>bold</b> and <i>italic</i> &amp; &lt;tags&gt;<br>next line<t>tab",
    L"<table border=3 cellpadding=2><tr><td colspan=2 "
    L"bgcolor=red>a</td></tr><tr><td>b</td><td><table><tr><td>c</td></tr></table></td></tr></table>",
    L"<font face=\"Courier New\" size=3 color=#ff9900>x</font><a href=\"http://127.0.0.1/\">link</a>",
    L"body {font-size: 10pt; color:black} h1 {font-family:\"Arial\"; margin:2px} .x {border-style:dashed}",
};

// Every scanner over one text: positions stay inside it and move forward.
void ScanAll(CMarkupDrawer& drawer, MarkupSpan text)
{
    int nPos = 0;
    for (int nRounds = 0; nPos < text.n; ++nRounds) {
        ASSERT_LE(nRounds, text.n);
        int nBefore = nPos;
        CString sTag, sAttributes;
        drawer.GetNextRun(text, nPos, sTag);
        ASSERT_GT(nPos, nBefore);
        ASSERT_LE(nPos, text.n);
        CMarkupDrawer::SplitTagName(sTag, sAttributes);
        CString sStyle;
        BOOL bClosing = FALSE;
        drawer.LookupTag(sTag, sStyle, bClosing);
        HtmlStyle style;
        drawer.ParseTableAttributes(sAttributes, TRUE, style);
        HtmlImage image;
        drawer.ParseImageAttributes(sAttributes, image);
    }

    nPos = 0;
    for (int nRounds = 0; nRounds <= text.n + 1; ++nRounds) {
        CString sName;
        int nBefore = nPos;
        CMarkupDrawer::GetNextAttribute(text, nPos, sName);
        if (sName.IsEmpty())
            break;
        ASSERT_GT(nPos, nBefore);
        ASSERT_LE(nPos, text.n);
    }

    static const wchar_t* const kNames[] = { L"table", L"/table", L"tr", L"/tr", L"td", L"/td" };
    for (const wchar_t* pszName : kNames) {
        nPos = 0;
        for (int nRounds = 0; CMarkupDrawer::FindTag(pszName, nPos, text); ++nRounds) {
            ASSERT_LE(nRounds, text.n);
            ASSERT_LT(nPos, text.n);
            ASSERT_EQ(L'<', text.p[nPos]);
            ++nPos;
        }
        ASSERT_EQ(text.n, nPos);
    }

    for (int nStart = 0; nStart < text.n; nStart += 1 + text.n / 16) {
        int nEnd = nStart;
        CMarkupDrawer::FindTableEnd(nEnd, text);
        ASSERT_GE(nEnd, 0);
        ASSERT_LE(nEnd, text.n);
        nEnd = nStart;
        CMarkupDrawer::SkipTableRow(text, nEnd);
        ASSERT_LE(nEnd, text.n);
        nEnd = nStart;
        CMarkupDrawer::SkipTableCell(text, nEnd);
        ASSERT_LE(nEnd, text.n);
    }

    CSize grid = drawer.MeasureTableGrid(text);
    ASSERT_GE(grid.cx, 0);
    ASSERT_LE(grid.cx, MARKUP_MAX_TABLE_SPAN);
    ASSERT_GE(grid.cy, 0);
    ASSERT_LE(grid.cy, text.n);

    nPos = 0;
    for (int nRounds = 0; CMarkupDrawer::SkipToWord(nPos, text); ++nRounds) {
        ASSERT_LE(nRounds, text.n);
        int nBefore = nPos;
        CMarkupDrawer::ScanToChars(text, nPos, L" :;{");
        CMarkupDrawer::ReadPropertyValue(nPos, text, L";");
        CMarkupDrawer::SkipChars(text, L" ;", nPos);
        CMarkupDrawer::SkipToColon(nPos, text);
        ASSERT_LE(nPos, text.n);
        if (nPos == nBefore)
            ++nPos;
    }
    CMarkupDrawer::CountChar(text, L' ');

    CString sPrepared = drawer.ExpandEntities(text);
    ASSERT_EQ(-1, sPrepared.Find(L'\r'));
    ASSERT_EQ(-1, sPrepared.Find(L'\n'));

    HtmlStyle style;
    drawer.ApplyCssProperties(text, style);
    drawer.ParseStyleRules(text);
}
}  // namespace

TEST(MarkupFuzzTest, GeneratedAndMutatedTexts)
{
    CGuardedText guard;
    ASSERT_TRUE(guard.IsReady());
    CMarkupGenerator generator(20261211);
    CMarkupDrawer drawer;
    HDC hDC = ::CreateCompatibleDC(NULL);
    drawer.m_hDC = hDC;
    const DWORD nStart = ::GetTickCount();
    for (int i = 0; i < 4000; ++i) {
        std::wstring text;
        if (i % 2 == 0)
            text = generator.Text(1 + generator.Pick(60));
        else
            text = generator.Mutate(kSamples[generator.Pick(sizeof(kSamples) / sizeof(kSamples[0]))]);
        SCOPED_TRACE(i);
        ScanAll(drawer, guard.Place(text));
        if (HasFatalFailure())
            break;
        drawer.ParseStyleSheet(guard.PlaceTerminated(text));
        drawer.m_sText = CString(text);
        drawer.ExpandEntities();

        CString sValue(guard.PlaceTerminated(text.substr(0, 24)));
        drawer.ParseSize(16, sValue, TRUE);
        drawer.ParseColor(0, sValue);
        drawer.ParseBorderWidth(sValue, 3);
        drawer.ParseBackgroundEffect(-1, sValue);
        drawer.ParseImageStyle(sValue);
        CMarkupDrawer::ParseFontWeight(sValue, 400);
        HtmlStyle style;
        CMarkupDrawer::ParseTextDecoration(sValue, style);
        CMarkupDrawer::ParseFontFlags(sValue, style);
    }
    ::DeleteDC(hDC);
    drawer.m_hDC = NULL;
    // A few seconds at most, even under an emulator.
    EXPECT_LT(::GetTickCount() - nStart, 60000u);
}

TEST(MarkupFuzzTest, LongTextsScanInLinearTime)
{
    CGuardedText guard;
    ASSERT_TRUE(guard.IsReady());
    CMarkupDrawer drawer;
    const size_t nLength = guard.Capacity() - 16;

    // Many '<' with no '>' after them.
    std::wstring opens;
    while (opens.size() < nLength)
        opens += L"<a";
    MarkupSpan text = guard.Place(opens);
    int nPos = 0, nRuns = 0;
    CString sTag;
    while (nPos < text.n && nRuns < text.n) {
        drawer.GetNextRun(text, nPos, sTag);
        ++nRuns;
    }
    EXPECT_EQ(text.n, nPos);

    // A table of many rows and cells, and many sibling tables.
    std::wstring table = L"<table>";
    while (table.size() < nLength - 16)
        table += L"<tr><td>a</td><td colspan=2>b</td></tr>";
    table += L"</table>";
    CSize grid = drawer.MeasureTableGrid(guard.Place(table));
    EXPECT_EQ(3, grid.cx);
    EXPECT_GT(grid.cy, 1000);

    std::wstring tables;
    while (tables.size() < nLength - 32)
        tables += L"<table><tr><td>x</td></tr></table>";
    text = guard.Place(tables);
    nPos = 0;
    int nTables = 0;
    while (CMarkupDrawer::FindTag(L"table", nPos, text)) {
        CMarkupDrawer::FindTableEnd(nPos, text);
        ++nTables;
    }
    EXPECT_GT(nTables, 1000);
}
