// The scanners under the layout: attributes, tag search with escaped '<',
// table structure with nesting, and the property-value primitives.
#include "toolkit/MarkupDrawer.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {
std::string Narrow(const CString& s)
{
    std::string out;
    for (int i = 0; i < s.GetLength(); ++i)
        out += (char)s.GetAt(i);
    return out;
}

typedef std::vector<std::pair<std::string, std::string>> Attributes;

Attributes ReadAttributes(const wchar_t* pszText)
{
    CString text(pszText);
    Attributes found;
    int nPos = 0;
    for (int nGuard = 0; nGuard < 100; ++nGuard) {
        CString sName;
        CString sValue = CMarkupDrawer::GetNextAttribute(text, nPos, sName);
        if (sName.IsEmpty())
            break;
        found.push_back(std::make_pair(Narrow(sName), Narrow(sValue)));
    }
    return found;
}

int Find(const wchar_t* pszName, const wchar_t* pszText, int nFrom = 0)
{
    int nPos = nFrom;
    CString text(pszText);
    return CMarkupDrawer::FindTag(pszName, nPos, text) ? nPos : -1;
}
}  // namespace

TEST(MarkupScanTest, Attributes)
{
    struct Case
    {
        const wchar_t* pszText;
        Attributes attributes;
    };
    const Case cases[] = {
        { L"href=x msg=y", { { "href", "x" }, { "msg", "y" } } },
        { L"href=\"a b\" x='c d'", { { "href", "a b" }, { "x", "c d" } } },
        { L"href='it\"s' y=1", { { "href", "it\"s" }, { "y", "1" } } },
        { L"nowrap width=5", { { "nowrap", "" }, { "width", "5" } } },
        { L"  a  =  b  ", { { "a", "b" } } },
        { L"a =", { { "a", "" } } },
        { L"x=\"unterminated", { { "x", "unterminated" } } },
        { L"Color=Red", { { "Color", "Red" } } },
        { L"", {} },
        { L"   ", {} },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.attributes, ReadAttributes(c.pszText)) << Narrow(c.pszText);
}

TEST(MarkupScanTest, FindTagPairsEscapesFromTheLeft)
{
    EXPECT_EQ(-1, Find(L"table", L"<<table>"));
    EXPECT_EQ(2, Find(L"table", L"<<<table>"));
    EXPECT_EQ(-1, Find(L"table", L"<<<<table>"));
    EXPECT_EQ(8, Find(L"table", L"<<table><table>"));
    // A prefix match: "td" also finds a tag whose name begins with it.
    EXPECT_EQ(1, Find(L"td", L"a<tdx>"));
    EXPECT_EQ(-1, Find(L"td", L"a<td", 2));
    EXPECT_EQ(-1, Find(L"table", L"<tabl"));
}

TEST(MarkupScanTest, TableStructure)
{
    // Where FindTableEnd, SkipTableRow and SkipTableCell stop, from 0.
    CString nested = L"<table><table></table></table>";
    int nPos = 0;
    CMarkupDrawer::FindTableEnd(nPos, nested);
    EXPECT_EQ(22, nPos);

    CString open = L"<table><tr><td>x";
    nPos = 0;
    CMarkupDrawer::FindTableEnd(nPos, open);
    EXPECT_EQ(open.GetLength(), nPos);

    // The row ends at its own "</tr", not at the nested table's.
    CString row = L"<tr><td><table><tr><td>x</td></tr></table></td></tr><tr>";
    nPos = 0;
    CMarkupDrawer::SkipTableRow(row, nPos);
    EXPECT_EQ(row.Find(L"</td></tr><tr>") + 5, nPos);

    CString rows = L"<tr><td>a<tr><td>b</tr></tr>";
    nPos = 0;
    CMarkupDrawer::SkipTableRow(rows, nPos);
    EXPECT_EQ(23, nPos);

    CString cell = L"<td>a<table><td>b</td></table>c</td>";
    nPos = 0;
    CMarkupDrawer::SkipTableCell(cell, nPos);
    EXPECT_EQ(31, nPos);

    // A cell left open ends with its row.
    CString openCell = L"<td>a</tr><tr><td>b</td>";
    nPos = 0;
    CMarkupDrawer::SkipTableCell(openCell, nPos);
    EXPECT_EQ(5, nPos);
}

TEST(MarkupScanTest, TableGrid)
{
    struct Case
    {
        const wchar_t* pszTable;
        int nCols;
        int nRows;
    };
    const Case cases[] = {
        { L"<table></table>", 0, 0 },
        { L"<table><tr><td>a</td><td>b</td></tr><tr><td colspan=3>c</td><td>d</td></tr></table>", 4, 2 },
        // Rows and cells of a nested table are not this table's.
        { L"<table><tr><td><table><tr><td></td><td></td><td></td></tr><tr><td></td></tr></table></td></tr></table>", 1,
          1 },
        { L"<table><table><tr><td></td></tr></table><tr><td></td><td></td></tr></table>", 2, 1 },
        { L"<table><tr><td colspan=0>a</td></tr></table>", 1, 1 },
        { L"<table><tr><td colspan=-3>a</td></tr></table>", 3, 1 },
        { L"<table><tr><td colspan=99999999>a</td><td>b</td></tr></table>", MARKUP_MAX_TABLE_SPAN, 1 },
        { L"<table><tr><td rowspan=5>a</td></tr></table>", 1, 1 },
        // A cell left open takes the rest of its row, which takes the rest of the text.
        { L"<table><tr><td>a<tr><td>b", 1, 1 },
        { L"<table><tr></tr><tr><td></td></tr>", 1, 2 },
    };
    CMarkupDrawer drawer;
    for (const Case& c : cases) {
        CSize grid = drawer.MeasureTableGrid(CString(c.pszTable));
        EXPECT_EQ(c.nCols, grid.cx) << Narrow(c.pszTable);
        EXPECT_EQ(c.nRows, grid.cy) << Narrow(c.pszTable);
    }
}

TEST(MarkupScanTest, RowsAndCellsOfOneTable)
{
    CString table = L"<table><table><tr></tr></table><tr><td>a</td><table><td></td></table><td>b</td></tr></table>";
    int nPos = 1;
    ASSERT_TRUE(CMarkupDrawer::FindNextRow(table, nPos));
    EXPECT_EQ(table.Find(L"<tr><td>a"), nPos);
    int nRowEnd = nPos;
    CMarkupDrawer::SkipTableRow(table, nRowEnd);
    int nCell = nPos + 3;
    ASSERT_TRUE(CMarkupDrawer::FindNextCell(table, nCell, nRowEnd));
    EXPECT_EQ(table.Find(L"<td>a"), nCell);
    nCell += 4;
    ASSERT_TRUE(CMarkupDrawer::FindNextCell(table, nCell, nRowEnd));
    EXPECT_EQ(table.Find(L"<td>b"), nCell);
    nCell += 4;
    EXPECT_FALSE(CMarkupDrawer::FindNextCell(table, nCell, nRowEnd));
    EXPECT_EQ(nRowEnd, nCell);
    nPos = nRowEnd + 4;
    EXPECT_FALSE(CMarkupDrawer::FindNextRow(table, nPos));
}

TEST(MarkupScanTest, Primitives)
{
    CString text = L"  ;x.9 rest";
    int nPos = 0;
    EXPECT_TRUE(CMarkupDrawer::SkipToWord(nPos, text));
    EXPECT_EQ(3, nPos);
    EXPECT_EQ(L' ', CMarkupDrawer::ScanToChars(text, nPos, L" ;"));
    EXPECT_EQ(6, nPos);
    EXPECT_EQ(L'r', CMarkupDrawer::SkipChars(text, L" ", nPos));
    EXPECT_EQ(7, nPos);
    EXPECT_EQ(L'\0', CMarkupDrawer::ScanToChars(text, nPos, L"#"));
    EXPECT_EQ(text.GetLength(), nPos);
    EXPECT_FALSE(CMarkupDrawer::SkipToWord(nPos, text));
    nPos = 0;
    EXPECT_EQ(L'\0', CMarkupDrawer::SkipChars(CString(L"   "), L" ", nPos));

    EXPECT_EQ(3, CMarkupDrawer::CountChar(CString(L" a b "), L' '));
    EXPECT_EQ(0, CMarkupDrawer::CountChar(CString(), L' '));

    // Positions out of range stop a scan at the end.
    nPos = 99;
    EXPECT_FALSE(CMarkupDrawer::SkipToWord(nPos, text));
    EXPECT_EQ(text.GetLength(), nPos);
    nPos = -5;
    EXPECT_TRUE(CMarkupDrawer::SkipToWord(nPos, text));
    EXPECT_EQ(3, nPos);
}

TEST(MarkupScanTest, PropertyValues)
{
    struct Case
    {
        const wchar_t* pszText;
        const char* pszValue;
        int nEnd;
    };
    const Case cases[] = {
        { L": red; x", "red", 5 },
        { L"  :  red", "red", 8 },
        { L": \"Courier New\"; x", "Courier New", 15 },
        { L":\"open", "", 6 },
        { L" red", "", 1 },
        { L":;; a b  ;", "a b  ", 9 },
        { L":", "", 1 },
        { L"", "", 0 },
    };
    for (const Case& c : cases) {
        int nPos = 0;
        CString sValue = CMarkupDrawer::ReadPropertyValue(nPos, CString(c.pszText), L";");
        EXPECT_EQ(c.pszValue, Narrow(sValue)) << Narrow(c.pszText);
        EXPECT_EQ(c.nEnd, nPos) << Narrow(c.pszText);
    }
}
