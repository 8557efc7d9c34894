// The line layout of the mark-up drawer on a memory DC: both passes cut the
// same lines, alignment and justification place them, tags change weight,
// breaks and tabs. Expected widths are measured on the same DC.
#include <gtest/gtest.h>

#include "tests/unit/MarkupLayoutSupport.h"

#include <climits>
#include <cstdlib>

#include <algorithm>

namespace {

class MarkupLinesTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(canvas.IsValid()); }

    HDC dc() const { return canvas.GetDC(); }
    // Width of a text in the body font, measured as the drawer measures it.
    int BodyWidth(const std::wstring& text)
    {
        MeasureText(drawer, dc(), L"x");
        CMeasureFont font(dc(), drawer.m_lf);
        return font.Width(text);
    }

    CMarkupCanvas canvas{ 600, 400 };
    CMarkupDrawer drawer;
};

const wchar_t* const kParagraphs[] = {
    L"lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor incididunt",
    L"supercalifragilisticexpialidocious is a word, and antidisestablishmentarianism another",
    L"well-known words: (brackets) [and] {braces}; questions? yes! a-b-c-d-e-f-g",
    L"<b>bold</b> and <i>italic</i> and <u>underlined</u> runs <b>mixed <i>within</i> each</b> other",
    L"one<t>two<t=2>three <br>four  five   six",
};

const wchar_t* const kAlignments[] = { L"left", L"center", L"right", L"justify" };

TEST_F(MarkupLinesTest, BothPassesCutTheSameLines)
{
    for (const wchar_t* paragraph : kParagraphs)
        for (const wchar_t* align : kAlignments)
            for (int nMaxWidth : { 1, 9, 40, 90, 170 }) {
                SCOPED_TRACE(testing::Message() << "width " << nMaxWidth << " " << align << ": " << paragraph);
                const std::wstring text =
                    std::wstring(L"<") + align + L"><a href=x>" + paragraph + L"</a></" + align + L">";
                MeasureText(drawer, dc(), text, nMaxWidth);
                const std::vector<HtmlLine> measured = MeasuredLines(drawer);
                const int nMeasuredLines = drawer.m_nLineIndex;
                DrawMeasured(drawer, dc(), 0, 0, nMaxWidth, 400);
                EXPECT_EQ(nMeasuredLines, drawer.m_nLineIndex);

                // Every drawn piece lies on a measured line; the pieces of a
                // line add up to its measured width and start where its
                // alignment puts it.
                std::vector<int> tops;
                int nTop = 0;
                for (const HtmlLine& line : measured) {
                    tops.push_back(nTop);
                    nTop += line.nHeight;
                }
                std::vector<DrawnLine> perLine(measured.size(), DrawnLine{ 0, INT_MAX, INT_MIN, 0, 0 });
                for (const HtmlArea& area : drawer.m_arrAreas) {
                    size_t i = 0;
                    while (i + 1 < tops.size() && tops[i + 1] <= area.top)
                        ++i;
                    ASSERT_LT(i, tops.size());
                    ASSERT_LT(area.top, tops[i] + measured[i].nHeight) << "a piece below every measured line";
                    perLine[i].left = std::min<int>(perLine[i].left, area.left);
                    perLine[i].right = std::max<int>(perLine[i].right, area.right);
                    perLine[i].width += area.right - area.left;
                    ++perLine[i].pieces;
                }
                // Tabs move pieces; italic pieces overhang their advance.
                const bool bTabs = std::wstring(paragraph).find(L"<") != std::wstring::npos;
                for (size_t i = 0; i < measured.size(); ++i) {
                    const HtmlLine& record = measured[i];
                    const DrawnLine& line = perLine[i];
                    if (line.pieces == 0 || bTabs)
                        continue;
                    if (record.nAlign != 3 || !record.bWrapped) {
                        // The last piece may lose one trailing blank.
                        EXPECT_LE(line.width, record.nWidth);
                        EXPECT_GE(line.width, record.nWidth - BodyWidth(L" "));
                    }
                    if (record.nAlign == 1)
                        EXPECT_EQ((nMaxWidth - record.nWidth) / 2, line.left);
                    else if (record.nAlign == 2)
                        EXPECT_EQ(nMaxWidth - record.nWidth, line.left);
                    else
                        EXPECT_EQ(0, line.left);
                }
                EXPECT_TRUE(canvas.GuardsIntact());
            }
}

TEST_F(MarkupLinesTest, AWordCutByCharactersOnACentredLineIsDrawnAsMeasured)
{
    const std::wstring word = L"abcdefghijklmnopqrstuvwxyz";
    const int nMaxWidth = BodyWidth(L"abcdefg");
    MeasureText(drawer, dc(), L"<center><a href=x>" + word + L"</a></center>", nMaxWidth);
    const int nLines = drawer.m_nLineIndex;
    ASSERT_GT(nLines, 2);
    DrawMeasured(drawer, dc(), 5, 0, 5 + nMaxWidth, 400);
    EXPECT_EQ(nLines, drawer.m_nLineIndex);
    const std::vector<DrawnLine> drawn = DrawnLines(drawer);
    ASSERT_EQ(static_cast<size_t>(nLines), drawn.size());
    int nTotal = 0;
    for (const DrawnLine& line : drawn) {
        EXPECT_GE(line.left, 5);
        EXPECT_LE(line.right, 5 + nMaxWidth);
        nTotal += line.width;
    }
    EXPECT_EQ(BodyWidth(word), nTotal);
}

TEST_F(MarkupLinesTest, ACentredLineStartsHalfTheRestInAndARightOneAtTheEdge)
{
    const int w = BodyWidth(L"word");
    struct Case
    {
        const wchar_t* text;
        int left;
    } cases[] = {
        { L"<center><a href=x>word</a></center>", 7 + 201 / 2 },
        { L"<right><a href=x>word</a></right>", 7 + 201 },
        { L"<a href=x>word</a>", 7 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        MeasureText(drawer, dc(), c.text);
        ASSERT_EQ(w, drawer.m_arrLines[0].nWidth);
        DrawMeasured(drawer, dc(), 7, 3, 7 + w + 201, 100);
        ASSERT_EQ(1u, drawer.m_arrAreas.size());
        EXPECT_EQ(c.left, drawer.m_arrAreas[0].left);
        EXPECT_EQ(3, drawer.m_arrAreas[0].top);
    }
}

TEST_F(MarkupLinesTest, JustifiedLinesAreFlushAtBothEdgesButTheLastAndBrokenOnes)
{
    const std::wstring words = L"aa bb cc dd ee ff gg hh ii jj kk ll mm nn oo pp qq rr ss tt uu vv";
    const int nMaxWidth = BodyWidth(L"aa bb cc dd ee");
    MeasureText(drawer, dc(), L"<justify><a href=x>" + words + L"<br>" + words + L"</a></justify>", nMaxWidth);
    const std::vector<HtmlLine> measured = MeasuredLines(drawer);
    DrawMeasured(drawer, dc(), 10, 0, 10 + nMaxWidth, 400);
    const std::vector<DrawnLine> drawn = DrawnLines(drawer);
    ASSERT_EQ(measured.size(), drawn.size());
    int nFlush = 0, nRagged = 0;
    for (size_t i = 0; i < drawn.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "line " << i);
        EXPECT_EQ(10, drawn[i].left);
        if (measured[i].bWrapped) {
            EXPECT_EQ(10 + nMaxWidth, drawn[i].right);
            ++nFlush;
        } else {
            EXPECT_EQ(10 + measured[i].nWidth, drawn[i].right);
            EXPECT_LT(measured[i].nWidth, nMaxWidth);
            ++nRagged;
        }
    }
    EXPECT_GT(nFlush, 2);
    EXPECT_EQ(2, nRagged);  // the line before the break and the last line
}

TEST_F(MarkupLinesTest, AJustifiedLineWithoutBlanksIsLeftAsItIs)
{
    const int nMaxWidth = BodyWidth(L"abcdefgh");
    MeasureText(drawer, dc(), L"<justify><a href=x>abcdefghijklmnopqrstuvwxyz</a></justify>", nMaxWidth);
    DrawMeasured(drawer, dc(), 0, 0, nMaxWidth, 400);
    for (const DrawnLine& line : DrawnLines(drawer))
        EXPECT_LE(line.right, nMaxWidth);
}

TEST_F(MarkupLinesTest, BoldDoublesTheWeightUpTo900)
{
    struct Case
    {
        const wchar_t* text;
        LONG weight;
    } cases[] = {
        { L"<b>x", 800 },
        { L"<b><b>x", 900 },
        { L"<b><b><b>x", 900 },
        { L"<font weight=300><b>x", 600 },
        { L"<font weight=100><b><b>x", 400 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        MeasureText(drawer, dc(), c.text);
        EXPECT_EQ(c.weight, drawer.m_lf.lfWeight);
    }
}

TEST_F(MarkupLinesTest, ABoldWordStaysOnItsLine)
{
    MeasureText(drawer, dc(), L"a<b>b</b>c");
    EXPECT_EQ(1, drawer.m_nLineIndex);
    CMeasureFont regular(dc(), drawer.m_lf);
    const int nRegular = regular.Width(L"a") + regular.Width(L"c");
    LOGFONTW lfBold = drawer.m_lf;
    lfBold.lfWeight = 800;
    CMeasureFont bold(dc(), lfBold);
    EXPECT_EQ(nRegular + bold.Width(L"b"), drawer.m_arrLines[0].nWidth);
}

TEST_F(MarkupLinesTest, BreakCountIsWrittenWithAnEqualsSign)
{
    MeasureText(drawer, dc(), L"a");
    const int H = drawer.m_arrLines[0].nHeight;
    struct Case
    {
        const wchar_t* text;
        int height;
    } cases[] = {
        { L"a<br=3>b", 4 * H }, { L"a<br 3>b", 2 * H },  { L"a<br>b", 2 * H },
        { L"a<br=0>b", 2 * H }, { L"a<br=-4>b", 2 * H }, { L"a<br><br>b", 3 * H },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.height + 1, MeasureText(drawer, dc(), c.text).cy);
    }
}

TEST_F(MarkupLinesTest, TabsMoveToTheNextStop)
{
    const int a = BodyWidth(L"a");
    ASSERT_LT(a, 32);
    struct Case
    {
        const wchar_t* text;
        int tab;
        int width;
    } cases[] = {
        { L"<t>", 32, 32 },
        { L"<t=2>", 32, 64 },
        { L"<t=0>", 32, 32 },
        { L"<t=-3>", 32, 32 },
        { L"<hr width=1><t>", 32, 32 },   // one pixel right of a stop: the next stop only
        { L"<hr width=32><t>", 32, 64 },  // on a stop: one tab further
        { L"<hr width=1><t=3>", 32, 96 },
        { L"<t>", 20, 20 },
        { L"<t>", 0, 0 },  // no stops
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " tab " << c.tab);
        drawer.m_nTabSize = c.tab;
        MeasureText(drawer, dc(), std::wstring(c.text) + L"a");
        EXPECT_EQ(c.width + a, drawer.m_arrLines[0].nWidth);
    }
}

TEST_F(MarkupLinesTest, LinksAreNumberedFromZeroWithTheirKinds)
{
    MeasureText(drawer, dc(), L"<a href=x>one</a> <a msg=y>two</a> <a>three</a> <a msg=m href=h>four</a>");
    DrawMeasured(drawer, dc(), 0, 0, 600, 100);
    ASSERT_EQ(4u, drawer.m_arrAreas.size());
    struct Expect
    {
        int id;
        int kind;
        const wchar_t* text;
    } expect[] = {
        { 0, 1, L"x" },
        { 1, 2, L"y" },
        { 2, 2, L"" },
        { 3, 1, L"h" },
    };
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expect[i].id, drawer.m_arrAreas[i].nId);
        EXPECT_EQ(expect[i].kind, drawer.m_arrAreas[i].nKind);
        EXPECT_STREQ(expect[i].text, drawer.m_arrAreas[i].sText.GetString());
    }
}

TEST_F(MarkupLinesTest, EachDrawingPassStartsItsAreasAfresh)
{
    MeasureText(drawer, dc(), L"<a href=x>one two three</a>", 30);
    DrawMeasured(drawer, dc(), 0, 0, 30, 100);
    const size_t nAreas = drawer.m_arrAreas.size();
    ASSERT_GT(nAreas, 1u);
    for (int i = 0; i < 5; ++i)
        DrawMeasured(drawer, dc(), 0, 0, 30, 100);
    EXPECT_EQ(nAreas, drawer.m_arrAreas.size());
}

TEST_F(MarkupLinesTest, TextWrapsAtBreakCharacters)
{
    const int nMaxWidth = BodyWidth(L"well-kn");
    MeasureText(drawer, dc(), L"<a href=x>well-known words</a>", nMaxWidth);
    DrawMeasured(drawer, dc(), 0, 0, nMaxWidth, 100);
    const std::vector<DrawnLine> drawn = DrawnLines(drawer);
    ASSERT_GE(drawn.size(), 2u);
    EXPECT_EQ(BodyWidth(L"well-"), drawn[0].width);
}

TEST_F(MarkupLinesTest, WithoutAMaximumWidthNothingWraps)
{
    const std::wstring words = L"aa bb cc dd ee ff gg hh ii jj kk ll mm nn oo pp qq rr ss tt uu vv";
    const CSize size = MeasureText(drawer, dc(), words);
    EXPECT_EQ(1, drawer.m_nLineIndex);
    EXPECT_EQ(BodyWidth(words) + 1, size.cx);
}

TEST_F(MarkupLinesTest, ARuleInPercentWidensTheRunByItsShare)
{
    const int w = BodyWidth(L"abcdefghij");
    const CSize size = MeasureText(drawer, dc(), L"abcdefghij<br><hr width=50%>");
    // The rule counts 1 pixel plus half the widest line.
    EXPECT_EQ(std::max(w, 1 + w / 2) + 1, size.cx);
    MeasureText(drawer, dc(), L"<hr width=50%>");
    DrawMeasured(drawer, dc(), 0, 0, 200, 100);
    const RECT ink = canvas.InkBox(RGB(255, 255, 255));
    EXPECT_EQ(0, ink.left);
    EXPECT_EQ(100, ink.right);
}

TEST_F(MarkupLinesTest, AnEmptyLineIsAsHighAsTheFont)
{
    MeasureText(drawer, dc(), L"a");
    const int H = drawer.m_arrLines[0].nHeight;
    EXPECT_EQ(3 * H + 1, MeasureText(drawer, dc(), L"<br><br>a").cy);
}

// An image list of one solid square of the given side, for images on a line.
class CSquareImageList
{
public:
    CSquareImageList(HDC hDC, int nSide) : m_nSide(nSide)
    {
        ::InitCommonControls();
        m_hList = ImageList_Create(nSide, nSide, ILC_COLOR32, 1, 1);
        HBITMAP hBitmap = ::CreateCompatibleBitmap(hDC, nSide, nSide);
        HDC hMem = ::CreateCompatibleDC(hDC);
        HGDIOBJ hOld = ::SelectObject(hMem, hBitmap);
        RECT rc = { 0, 0, nSide, nSide };
        HBRUSH hBrush = ::CreateSolidBrush(RGB(0, 128, 0));
        ::FillRect(hMem, &rc, hBrush);
        ::DeleteObject(hBrush);
        ::SelectObject(hMem, hOld);
        ::DeleteDC(hMem);
        ImageList_Add(m_hList, hBitmap, NULL);
        ::DeleteObject(hBitmap);
    }
    ~CSquareImageList() { ImageList_Destroy(m_hList); }
    CSquareImageList(const CSquareImageList&) = delete;
    CSquareImageList& operator=(const CSquareImageList&) = delete;

    void LendTo(CMarkupDrawer& drawer) const { drawer.SetImageList(m_hList, m_nSide, m_nSide); }

private:
    int m_nSide;
    HIMAGELIST m_hList;
};

struct VerticalCase
{
    const wchar_t* pszTag;  // vertical alignment of the item
    int nAlign;             // 0 top, 1 middle, 2 bottom, 3 baseline
};

const VerticalCase kVerticalCases[] = {
    { L"top", 0 },
    { L"middle", 1 },
    { L"bottom", 2 },
    { L"baseline", 3 },
};

// Where a text of ascent A and height H, or an object of height h, starts on
// a line of height L and descent D.
int TextTop(int nAlign, int L, int D, int A, int H)
{
    switch (nAlign) {
    case 0: return 0;
    case 1: return (L - H) / 2;
    case 2: return L - A;
    default: return L - D - A;
    }
}

int ObjectTop(int nAlign, int L, int D, int h)
{
    switch (nAlign) {
    case 0: return 0;
    case 1: return (L - h) / 2;
    case 2: return L - h;
    default: return L - D - h;
    }
}

TEST_F(MarkupLinesTest, TextAndImagesSitOnTheLineAsTheirVerticalAlignmentSays)
{
    MeasureText(drawer, dc(), L"x");
    const TEXTMETRICW tm = CMeasureFont(dc(), drawer.m_lf).Metrics();
    const int A = tm.tmAscent;
    const int H = tm.tmHeight;
    const int D = H - A;
    // An image taller than the text: the line is as high as the image plus the text's descent.
    const int h = 2 * H + 3;
    CSquareImageList images(dc(), h);
    images.LendTo(drawer);
    const int L = h + D;
    for (const VerticalCase& c : kVerticalCases) {
        const std::wstring tag = c.pszTag;
        // The image placed under the alignment, then the text; then the other way round.
        const std::wstring texts[] = {
            L"<" + tag + L"><a href=i><ilst index=0></a></" + tag + L"><a href=t>word</a>",
            L"<a href=i><ilst index=0></a><" + tag + L"><a href=t>word</a></" + tag + L">",
        };
        for (int k = 0; k < 2; ++k) {
            SCOPED_TRACE(testing::Message() << (k == 0 ? "image " : "text ") << c.pszTag);
            MeasureText(drawer, dc(), texts[k]);
            ASSERT_EQ(1, drawer.m_nLineIndex);
            EXPECT_EQ(L, drawer.m_arrLines[0].nHeight);
            EXPECT_EQ(D, drawer.m_arrLines[0].nDescent);
            canvas.Fill(RGB(255, 255, 255));
            DrawMeasured(drawer, dc(), 0, 10, 600, 10 + L);
            ASSERT_EQ(2u, drawer.m_arrAreas.size());
            const HtmlArea& image = drawer.m_arrAreas[0];
            const HtmlArea& word = drawer.m_arrAreas[1];
            const int nImageAlign = k == 0 ? c.nAlign : 3;
            const int nTextAlign = k == 1 ? c.nAlign : 3;
            EXPECT_EQ(10 + ObjectTop(nImageAlign, L, D, h), image.top);
            EXPECT_EQ(h, image.bottom - image.top);
            EXPECT_EQ(10 + TextTop(nTextAlign, L, D, A, H), word.top);
            // The image is drawn where its area is.
            EXPECT_EQ(RGB(0, 128, 0), canvas.Pixel(image.left + h / 2, image.top + 1));
            EXPECT_EQ(RGB(0, 128, 0), canvas.Pixel(image.left + h / 2, image.bottom - 1));
            EXPECT_NE(RGB(0, 128, 0), canvas.Pixel(image.left + h / 2, image.bottom));
        }
    }
}

}  // namespace
