// Tables of the mark-up drawer on a memory DC: column widths and row heights
// from cells and spans, widening, borders, backgrounds and nested tables.
#include <gtest/gtest.h>

#include "tests/unit/MarkupLayoutSupport.h"

namespace {

class MarkupTableTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(canvas.IsValid()); }

    HDC dc() const { return canvas.GetDC(); }
    const HtmlTable& Table(size_t i = 0) const { return drawer.m_arrTableRows.at(i); }

    CMarkupCanvas canvas{ 400, 300 };
    CMarkupDrawer drawer;
};

TEST_F(MarkupTableTest, TwoByTwoWithSpacingIsTheSumOfItsColumnsAndGaps)
{
    const CSize size = MeasureText(drawer, dc(),
                                   L"<table cellspacing=2 cellpadding=0><tr><td width=40></td><td width=60></td></tr>"
                                   L"<tr><td></td><td></td></tr></table>");
    ASSERT_EQ(1u, drawer.m_arrTableRows.size());
    EXPECT_EQ((std::vector<int>{ 40, 60 }), Table().arrColWidths);
    EXPECT_EQ(107 + 1, size.cx);  // 40 + 60 + 3 x 2 + 1, and the measure's extra pixel
}

TEST_F(MarkupTableTest, CellPaddingCountsOnBothSidesOfTheCell)
{
    MeasureText(drawer, dc(), L"<table><tr><td width=36></td><td width=56></td></tr></table>");
    EXPECT_EQ((std::vector<int>{ 40, 60 }), Table().arrColWidths);  // the default padding is 2
}

TEST_F(MarkupTableTest, ASpanSpreadsWhatItLacksWithTheRestOnTheLastColumn)
{
    MeasureText(drawer, dc(),
                L"<table cellpadding=0><tr><td width=30></td><td width=40></td></tr>"
                L"<tr><td colspan=2 width=101></td></tr></table>");
    EXPECT_EQ((std::vector<int>{ 45, 56 }), Table().arrColWidths);
}

TEST_F(MarkupTableTest, ARowSpanSpreadsWhatItLacksWithTheRestOnTheFirstRow)
{
    MeasureText(drawer, dc(), L"<table cellpadding=0><tr><td rowspan=3 height=31></td></tr><tr></tr><tr></tr></table>");
    EXPECT_EQ((std::vector<int>{ 11, 10, 10 }), Table().arrRowHeights);
}

TEST_F(MarkupTableTest, SpansEndAtTheGrid)
{
    struct Case
    {
        const wchar_t* text;
        int cols;
        int rows;
    } cases[] = {
        { L"<table><tr><td rowspan=9>a</td><td>b</td></tr></table>", 2, 1 },
        { L"<table><tr><td colspan=1000000000>a</td></tr><tr><td>b</td></tr></table>", MARKUP_MAX_TABLE_SPAN, 2 },
        // The second row's cells are pushed past the last column by the span above.
        { L"<table><tr><td rowspan=2>a</td><td>b</td></tr><tr><td>c</td><td>d</td></tr></table>", 2, 2 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        MeasureText(drawer, dc(), c.text);
        ASSERT_EQ(1u, drawer.m_arrTableRows.size());
        const HtmlTable& table = Table();
        ASSERT_EQ(static_cast<size_t>(c.cols), table.arrColWidths.size());
        ASSERT_EQ(static_cast<size_t>(c.rows), table.arrRowHeights.size());
        for (size_t r = 0; r < table.arrRows.size(); ++r)
            for (size_t col = 0; col < table.arrRows[r].size(); ++col) {
                const HtmlTableCell& cell = table.arrRows[r][col];
                if (cell.nColSpan > 0) {
                    EXPECT_LE(col + cell.nColSpan, table.arrColWidths.size());
                    EXPECT_LE(r + cell.nRowSpan, table.arrRowHeights.size());
                }
            }
        DrawMeasured(drawer, dc(), 0, 0, 400, 300);
        EXPECT_TRUE(canvas.GuardsIntact());
    }
}

TEST_F(MarkupTableTest, OnlyColumnsWithoutAWidthWiden)
{
    MeasureText(drawer, dc(), L"<table cellpadding=0><tr><td width=40></td><td>x</td><td>y</td></tr></table>");
    const int x = Table().arrColWidths[1];
    const int y = Table().arrColWidths[2];
    DrawMeasured(drawer, dc(), 0, 0, 200, 300);
    // Widened while drawing and written back; the two separating pixels stay.
    const int nMissing = 200 - 2 - 40 - x - y;
    const std::vector<int>& widths = Table().arrColWidths;
    EXPECT_EQ(40, widths[0]);
    EXPECT_EQ(x + nMissing / 2, widths[1]);
    EXPECT_EQ(y + nMissing - nMissing / 2, widths[2]);
}

TEST_F(MarkupTableTest, AllFixedColumnsNeedNoSharing)
{
    MeasureText(drawer, dc(), L"<table cellpadding=0><tr><td width=40></td><td width=30></td></tr></table>");
    DrawMeasured(drawer, dc(), 0, 0, 200, 300);
    EXPECT_EQ((std::vector<int>{ 40, 30 }), Table().arrColWidths);
}

TEST_F(MarkupTableTest, ATableOfFixedColumnsKeepsItsWidthAndTakesItsAlignment)
{
    // 39 + the cell's own 1-pixel border on both sides + the table's.
    struct Case
    {
        const wchar_t* align;
        int left;
    } cases[] = { { L"left", 0 }, { L"center", (200 - 43) / 2 }, { L"right", 200 - 43 } };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.align);
        canvas.Fill(RGB(255, 255, 255));
        MeasureText(drawer, dc(),
                    std::wstring(L"<table align=") + c.align +
                        L" cellpadding=0 border=1 bordercolor=#ff0000><tr><td width=39></td></tr></table>");
        DrawMeasured(drawer, dc(), 0, 0, 200, 300);
        const RECT ink = canvas.InkBox(RGB(255, 255, 255));
        EXPECT_EQ(c.left, ink.left);
        EXPECT_EQ(RGB(255, 0, 0), canvas.Pixel(ink.left, ink.top + 1));
    }
}

TEST_F(MarkupTableTest, BorderStylesTakeTheirWidth)
{
    // A bordered table gives its cells a 1-pixel border too.
    struct Case
    {
        const wchar_t* attributes;
        int border;
    } cases[] = {
        { L"border=5", 5 },
        { L"border=5 borderstyle=dotted", 1 },
        { L"border=5 borderstyle=double", 3 },
        { L"borderstyle=double", 3 },
        { L"border=0 borderstyle=double", 3 },
        { L"border=0", 0 },
        { L"", 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.attributes);
        const CSize size = MeasureText(
            drawer, dc(),
            std::wstring(L"<table cellpadding=0 ") + c.attributes + L"><tr><td width=10 height=10></td></tr></table>");
        const int nCell = 10 + (c.border > 0 ? 2 : 0);
        EXPECT_EQ(nCell + 2 * c.border + 1, size.cx);
        EXPECT_EQ(nCell + 2 * c.border + 1, size.cy);
    }
}

TEST_F(MarkupTableTest, CellBordersReverseTheTableColours)
{
    MeasureText(drawer, dc(),
                L"<table border=1 cellspacing=4 cellpadding=2 bordercolorlight=#ff0000 bordercolordark=#0000ff>"
                L"<tr><td width=20 height=20></td></tr></table>");
    DrawMeasured(drawer, dc(), 0, 0, 60, 300);
    const COLORREF red = RGB(255, 0, 0), blue = RGB(0, 0, 255);
    // Table: light top and left, dark bottom and right.
    EXPECT_EQ(red, canvas.Pixel(0, 10));
    EXPECT_EQ(red, canvas.Pixel(10, 0));
    // Cell: 1 (border) + 4 (spacing) in; dark top and left, light bottom and right.
    EXPECT_EQ(blue, canvas.Pixel(5, 12));
    EXPECT_EQ(blue, canvas.Pixel(12, 5));
    const HtmlTable& table = Table();
    const int nCellRight = 5 + table.arrColWidths[0];
    const int nCellBottom = 5 + table.arrRowHeights[0];
    EXPECT_EQ(red, canvas.Pixel(nCellRight, 12));
    EXPECT_EQ(red, canvas.Pixel(12, nCellBottom));
    EXPECT_EQ(blue, canvas.Pixel(5 + table.arrColWidths[0] + 4 + 1, 12));  // the table's right edge
}

TEST_F(MarkupTableTest, ACellColourFillsItWithoutAnEffect)
{
    MeasureText(drawer, dc(), L"<table cellpadding=0><tr><td width=30 height=30 bgcolor=#00ff00></td></tr></table>");
    DrawMeasured(drawer, dc(), 0, 0, 30, 300);
    EXPECT_EQ(RGB(0, 255, 0), canvas.Pixel(15, 15));
    EXPECT_EQ(RGB(255, 255, 255), canvas.Pixel(15, 45));
}

TEST_F(MarkupTableTest, ANestedTableAddsToItsCellsContent)
{
    const std::wstring inner = L"<table cellpadding=0><tr><td width=25 height=17></td></tr></table>";
    const CSize innerSize = MeasureText(drawer, dc(), inner);
    MeasureText(drawer, dc(), L"<table cellpadding=3><tr><td>" + inner + L"</td></tr></table>");
    ASSERT_EQ(2u, drawer.m_arrTableRows.size());
    const HtmlTableCell& cell = Table(0).arrRows[0][0];
    EXPECT_EQ(innerSize.cy - 1, cell.nContentHeight);
    EXPECT_EQ(innerSize.cx - 1, cell.nContentWidth);
    EXPECT_EQ(innerSize.cx - 1 + 6, Table(0).arrColWidths[0]);
    DrawMeasured(drawer, dc(), 0, 0, 200, 300);
    EXPECT_TRUE(canvas.GuardsIntact());
}

TEST_F(MarkupTableTest, TwoTablesAreNumberedInOrderAndTheRunBetweenStandsOnItsOwnLine)
{
    MeasureText(drawer, dc(), L"x");
    const int H = drawer.m_arrLines[0].nHeight;
    const CSize size = MeasureText(drawer, dc(),
                                   L"<table cellpadding=0><tr><td height=10></td></tr></table>mid<table "
                                   L"cellpadding=0><tr><td height=20></td></tr></table>");
    ASSERT_EQ(2u, drawer.m_arrTableRows.size());
    EXPECT_EQ(10, Table(0).arrRowHeights[0]);
    EXPECT_EQ(20, Table(1).arrRowHeights[0]);
    EXPECT_EQ(10 + H + 20 + 1, size.cy);
}

TEST_F(MarkupTableTest, AnUnterminatedTableTakesTheRestOfTheText)
{
    MeasureText(drawer, dc(), L"x");
    const int H = drawer.m_arrLines[0].nHeight;
    const CSize size = MeasureText(drawer, dc(), L"before<table cellpadding=0><tr><td>in<br>the<br>cell");
    ASSERT_EQ(1u, drawer.m_arrTableRows.size());
    EXPECT_EQ(3 * H, Table().arrRowHeights[0]);
    EXPECT_EQ(H + 3 * H + 1, size.cy);
    DrawMeasured(drawer, dc(), 0, 0, 400, 300);
    EXPECT_TRUE(canvas.GuardsIntact());
}

TEST_F(MarkupTableTest, CellTextIsAlignedInTheWidenedCell)
{
    MeasureText(drawer, dc(), L"<table cellpadding=0><tr><td align=right><a href=x>word</a></td></tr></table>");
    const int w = Table().arrColWidths[0];
    DrawMeasured(drawer, dc(), 0, 0, 200, 300);
    ASSERT_EQ(1u, drawer.m_arrAreas.size());
    EXPECT_EQ(200 - w, drawer.m_arrAreas[0].left);
}

}  // namespace
