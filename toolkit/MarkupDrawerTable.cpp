// Tables of CMarkupDrawer: LayoutTable, LayoutRow and LayoutCell measure the
// cells into a table record, then place and paint them from it, with spans,
// widening, alignment, backgrounds, borders and nested tables.
#include "toolkit/MarkupDrawer.h"

#include "toolkit/MarkupExtent.h"

#include <algorithm>
#include <tuple>

namespace {

// A grid larger than any tooltip needs is cut to these, so that a text full
// of rows or of huge spans cannot make a record too large to hold.
const int kMaxTableRows = 4096;
const int kMaxTableCells = 1 << 16;
// Tables nested deeper than this are left out: each level is a recursion.
const int kMaxTableDepth = 32;

thread_local int t_nTableDepth = 0;

class CTableDepth
{
public:
    CTableDepth() { ++t_nTableDepth; }
    ~CTableDepth() { --t_nTableDepth; }
    CTableDepth(const CTableDepth&) = delete;
    CTableDepth& operator=(const CTableDepth&) = delete;
    bool TooDeep() const { return t_nTableDepth > kMaxTableDepth; }
};

// What a table's border takes on each side: a double border draws two
// strokes 2 x width apart, so three widths.
int BorderExtent(const HtmlStyle& style)
{
    if (style.m_nBorderStyle == 0 || style.m_nBorderWidth <= 0)
        return 0;
    return MarkupClampExtent(static_cast<long long>(style.m_nBorderWidth) * (style.m_nBorderStyle == 6 ? 3 : 1));
}

long long Sum(const std::vector<int>& values, int nFirst, int nCount)
{
    long long n = 0;
    for (int i = nFirst; i < nFirst + nCount && i < static_cast<int>(values.size()); ++i)
        n += values[static_cast<size_t>(i)];
    return n;
}

// Width (or height) of a table from its columns (rows), the spacing between
// them (and a pixel apart), and the border on both sides.
int TableExtent(const std::vector<int>& sizes, int nSpacing, int nBorder)
{
    const long long n = static_cast<long long>(sizes.size());
    return MarkupClampExtent(Sum(sizes, 0, static_cast<int>(n)) + (n + 1) * nSpacing + std::max(0LL, n - 1) +
                             2LL * nBorder);
}

// The attribute text of the tag that the text starts with.
CString LeadingTagAttributes(MarkupSpan text, int& nPos)
{
    CString sTag;
    CString sAttributes;
    CMarkupDrawer::GetNextRun(text, nPos, sTag);
    CMarkupDrawer::SplitTagName(sTag, sAttributes);
    return sAttributes;
}

// Spreads what the cells spanning several columns (rows) need over the
// columns (rows) they span, narrowest spans first, rows then columns in order.
// bLastTakesRest: the remainder goes to the last column, else the first row.
void SpreadSpans(HtmlTable& table, bool bColumns)
{
    std::vector<int>& sizes = bColumns ? table.arrColWidths : table.arrRowHeights;
    std::vector<std::tuple<int, int, int>> order;
    for (size_t r = 0; r < table.arrRows.size(); ++r)
        for (size_t c = 0; c < table.arrRows[r].size(); ++c) {
            const HtmlTableCell& cell = table.arrRows[r][c];
            const int nSpan = bColumns ? cell.nColSpan : cell.nRowSpan;
            if (nSpan >= 1)
                order.emplace_back(nSpan, static_cast<int>(r), static_cast<int>(c));
        }
    std::sort(order.begin(), order.end());
    for (const auto& entry : order) {
        const int nSpan = std::get<0>(entry);
        const int r = std::get<1>(entry);
        const int c = std::get<2>(entry);
        const HtmlTableCell& cell = table.arrRows[static_cast<size_t>(r)][static_cast<size_t>(c)];
        const int nFirst = bColumns ? c : r;
        const int nCount = std::min<int>(nSpan, static_cast<int>(sizes.size()) - nFirst);
        if (nCount <= 0)
            continue;
        const int nNeed = bColumns ? cell.nCellWidth : cell.nCellHeight;
        if (bColumns && cell.bFixed)
            for (int k = nFirst; k < nFirst + nCount; ++k)
                table.arrFixedCols[static_cast<size_t>(k)] = 1;
        if (nCount == 1) {
            sizes[static_cast<size_t>(nFirst)] = std::max(sizes[static_cast<size_t>(nFirst)], nNeed);
            continue;
        }
        const long long nHave = Sum(sizes, nFirst, nCount);
        if (nHave >= nNeed)
            continue;
        const int nDiff = static_cast<int>(nNeed - nHave);
        for (int k = nFirst; k < nFirst + nCount; ++k)
            sizes[static_cast<size_t>(k)] += nDiff / nCount;
        sizes[static_cast<size_t>(bColumns ? nFirst + nCount - 1 : nFirst)] += nDiff % nCount;
    }
}

}  // namespace

CSize CMarkupDrawer::LayoutTable(const CString& sTable, CRect rect)
{
    CTableDepth depth;
    if (depth.TooDeep())
        return CSize(0, 0);
    ++m_nCurTable;
    CSize result(0, 0);
    const MarkupSpan text(sTable);

    if (m_nMode == 1) {
        const CSize grid = MeasureTableGrid(text);
        int nCols = std::max(0, std::min<int>(grid.cx, MARKUP_MAX_TABLE_SPAN));
        int nRows = std::max(0, std::min<int>(grid.cy, kMaxTableRows));
        if (nCols > 0 && nRows > kMaxTableCells / nCols)
            nRows = kMaxTableCells / nCols;
        if (nCols == 0 || nRows == 0)
            nCols = nRows = 0;
        HtmlTable record;
        record.arrRows.assign(static_cast<size_t>(nRows), std::vector<HtmlTableCell>(static_cast<size_t>(nCols)));
        record.arrColWidths.assign(static_cast<size_t>(nCols), 0);
        record.arrRowHeights.assign(static_cast<size_t>(nRows), 0);
        record.arrFixedCols.assign(static_cast<size_t>(nCols), 0);
        if (static_cast<size_t>(m_nCurTable) >= m_arrTableRows.size())
            m_arrTableRows.resize(static_cast<size_t>(m_nCurTable) + 1);
        m_arrTableRows[static_cast<size_t>(m_nCurTable)] = record;
    }
    // A copy: nested tables append records, which moves the list. A table the
    // measuring pass did not record is drawn without rows.
    const int nIndex = m_nCurTable;
    HtmlTable table;
    if (static_cast<size_t>(nIndex) < m_arrTableRows.size())
        table = m_arrTableRows[static_cast<size_t>(nIndex)];
    const int nCols = static_cast<int>(table.arrColWidths.size());
    const int nRows = static_cast<int>(std::min(table.arrRows.size(), table.arrRowHeights.size()));
    if (table.arrFixedCols.size() != static_cast<size_t>(nCols))
        table.arrFixedCols.assign(static_cast<size_t>(nCols), 0);

    m_curStyle.m_sTag = L"table";
    PushStyle();
    ApplyStyleRule(m_curStyle, L"table");
    int nPos = 0;
    ParseTableAttributes(LeadingTagAttributes(text, nPos), TRUE, m_curStyle);
    SelectStyle();

    const int nSpacing = m_curStyle.m_nPadding;
    const int nBorder = BorderExtent(m_curStyle);
    CRect rcContent(rect.left, rect.top, rect.left, rect.top);
    CRect rcTable;
    if (m_nMode == 0) {
        int nWidth = TableExtent(table.arrColWidths, nSpacing, nBorder);
        const int nHeight = TableExtent(table.arrRowHeights, nSpacing, nBorder);
        const int W = rect.Width();
        if (nWidth < W) {
            int nFree = 0;
            for (int c = 0; c < nCols; ++c)
                nFree += table.arrFixedCols[static_cast<size_t>(c)] ? 0 : 1;
            int nMissing = W - nWidth;
            for (int c = 0; c < nCols && nFree > 0; ++c) {
                if (table.arrFixedCols[static_cast<size_t>(c)])
                    continue;
                const int nTake = nMissing / nFree;
                table.arrColWidths[static_cast<size_t>(c)] += nTake;
                nMissing -= nTake;
                --nFree;
            }
            nWidth = TableExtent(table.arrColWidths, nSpacing, nBorder);
        }
        int nLeft = rect.left;
        if (nWidth < W) {
            if (m_curStyle.m_nAlign == 1)
                nLeft = rect.left + (W - nWidth) / 2;
            else if (m_curStyle.m_nAlign == 2)
                nLeft = rect.right - nWidth;
        }
        rcTable.SetRect(nLeft, rect.top, MarkupAdd(nLeft, nWidth), MarkupAdd(rect.top, nHeight));

        if (m_curStyle.m_nBkEffect >= 0)
            m_drawManager.FillEffect(m_hDC, rcTable, m_curStyle.m_nBkEffect, m_curStyle.m_crBkgnd,
                                     m_curStyle.m_crBkgndMid, m_curStyle.m_crBkgndEnd, 5, 0);
        else if (!m_curStyle.m_sBkImage.IsEmpty())
            DrawBackgroundImage(m_hDC, rcTable, m_curStyle.m_sBkImage);
        if (m_curStyle.m_nBorderWidth >= 1 && m_curStyle.m_nBorderStyle != 0) {
            const COLORREF crLight = m_bIsEnabled ? m_curStyle.m_crBorderLight : m_crDisabled;
            const COLORREF crDark = m_bIsEnabled ? m_curStyle.m_crBorderDark : m_crDisabled;
            m_drawManager.DrawRectangle(m_hDC, rcTable.left, rcTable.top, rcTable.right, rcTable.bottom, crLight,
                                        crDark, m_curStyle.m_nBorderStyle, m_curStyle.m_nBorderWidth);
        }
        rcContent = rcTable;
        rcContent.DeflateRect(nBorder, nBorder);
    }

    if (nRows > 0 && nCols > 0) {
        nPos = 1;  // past the '<' of the table's own tag
        for (int r = 0; r < nRows; ++r) {
            if (!FindNextRow(text, nPos))
                break;
            int nRowEnd = nPos;
            SkipTableRow(text, nRowEnd);
            LayoutRow(text.Mid(nPos, nRowEnd - nPos), rcContent, table, r);
            nPos = std::min(nRowEnd + 4, text.n);
        }
    }

    if (m_nMode == 1) {
        SpreadSpans(table, true);
        SpreadSpans(table, false);
        result.cx = TableExtent(table.arrColWidths, nSpacing, nBorder);
        result.cy = TableExtent(table.arrRowHeights, nSpacing, nBorder);
    } else {
        result = rcTable.Size();
    }

    if (static_cast<size_t>(nIndex) < m_arrTableRows.size())
        m_arrTableRows[static_cast<size_t>(nIndex)] = table;
    m_curStyle.m_sTag = L"table";
    PopStyle();
    SelectStyle();
    return result;
}

void CMarkupDrawer::LayoutRow(const CString& sRow, CRect rcContent, HtmlTable& table, int nRow)
{
    const MarkupSpan text(sRow);
    m_curStyle.m_sTag = L"tr";
    PushStyle();
    ApplyStyleRule(m_curStyle, L"tr");
    int nTagEnd = 0;
    ParseTableAttributes(LeadingTagAttributes(text, nTagEnd), FALSE, m_curStyle);
    SelectStyle();

    const int nCols = static_cast<int>(table.arrColWidths.size());
    const int nRows = static_cast<int>(table.arrRowHeights.size());
    std::vector<HtmlTableCell>& cells = table.arrRows[static_cast<size_t>(nRow)];
    const int s = m_curStyle.m_nPadding;
    // Drawing: where each column starts, and where this row starts.
    std::vector<long long> colLeft;
    long long nRowTop = 0;
    if (m_nMode == 0) {
        colLeft.resize(static_cast<size_t>(nCols) + 1);
        colLeft[0] = static_cast<long long>(rcContent.left) + s;
        for (int c = 0; c < nCols; ++c)
            colLeft[static_cast<size_t>(c) + 1] =
                colLeft[static_cast<size_t>(c)] + table.arrColWidths[static_cast<size_t>(c)] + s + 1;
        nRowTop = static_cast<long long>(rcContent.top) + s;
        for (int r = 0; r < nRow; ++r)
            nRowTop += table.arrRowHeights[static_cast<size_t>(r)] + s + 1;
    }

    int c = 0;
    int nPos = 3;  // past "<tr"
    while (FindNextCell(text, nPos, text.n)) {
        while (c < nCols && cells[static_cast<size_t>(c)].nColSpan == -1)
            ++c;
        // Cells that the rows above push past the last column have no slot.
        if (c >= nCols)
            break;
        int nCellEnd = nPos;
        SkipTableCell(text, nCellEnd);
        HtmlTableCell& cell = cells[static_cast<size_t>(c)];
        CRect rcCell;
        if (m_nMode == 0) {
            const int nColSpan = std::max(1, std::min(cell.nColSpan, nCols - c));
            const int nRowSpan = std::max(1, std::min(cell.nRowSpan, nRows - nRow));
            const long long nLeft = colLeft[static_cast<size_t>(c)];
            const long long nTop = nRowTop;
            rcCell.SetRect(
                MarkupClampExtent(nLeft), MarkupClampExtent(nTop),
                MarkupClampExtent(nLeft + Sum(table.arrColWidths, c, nColSpan) + (nColSpan - 1LL) * (s + 1)),
                MarkupClampExtent(nTop + Sum(table.arrRowHeights, nRow, nRowSpan) + (nRowSpan - 1LL) * (s + 1)));
        }
        LayoutCell(text.Mid(nPos, nCellEnd - nPos), rcCell, cell);
        if (m_nMode == 1) {
            // Spans end at the grid's edges.
            cell.nColSpan = std::max(1, std::min(cell.nColSpan, nCols - c));
            cell.nRowSpan = std::max(1, std::min(cell.nRowSpan, nRows - nRow));
            for (int r = nRow; r < nRow + cell.nRowSpan; ++r)
                for (int k = c; k < c + cell.nColSpan; ++k) {
                    if (r == nRow && k == c)
                        continue;
                    HtmlTableCell& covered = table.arrRows[static_cast<size_t>(r)][static_cast<size_t>(k)];
                    covered.nColSpan = -1;
                    covered.nRowSpan = -1;
                }
        }
        c += std::max(1, cells[static_cast<size_t>(c)].nColSpan);
        nPos = std::min(nCellEnd + 4, text.n);
    }

    m_curStyle.m_sTag = L"tr";
    PopStyle();
    SelectStyle();
}

void CMarkupDrawer::LayoutCell(const CString& sCell, CRect rcCell, HtmlTableCell& cell)
{
    const MarkupSpan text(sCell);
    if (m_nMode == 1) {
        cell.nContentWidth = 0;
        cell.nContentHeight = 0;
    }
    m_curStyle.m_sTag = L"td";
    PushStyle();
    ApplyStyleRule(m_curStyle, L"td");
    m_curStyle.m_nWidth = 0;
    m_curStyle.m_nHeight = 0;
    int nPos = 0;
    const CSize span = ParseTableAttributes(LeadingTagAttributes(text, nPos), FALSE, m_curStyle);
    const int nWidth = std::max(0, std::min(m_curStyle.m_nWidth, MARKUP_MAX_EXTENT));
    const int nHeight = std::max(0, std::min(m_curStyle.m_nHeight, MARKUP_MAX_EXTENT));
    const int nInset = MarkupAdd(m_curStyle.m_nMargin, m_curStyle.m_nBorderWidth);

    CRect rcContent;
    if (m_nMode == 1) {
        cell.nColSpan = span.cx;
        cell.nRowSpan = span.cy;
        cell.nContentWidth = nWidth;
        cell.nContentHeight = 0;
        cell.bFixed = nWidth > 0 ? 1 : 0;
        rcContent.SetRect(rcCell.left, rcCell.top, MarkupAdd(rcCell.left, nWidth), rcCell.top);
    } else {
        if (m_curStyle.m_nBkEffect >= 0)
            m_drawManager.FillEffect(m_hDC, rcCell, m_curStyle.m_nBkEffect, m_curStyle.m_crBkgnd,
                                     m_curStyle.m_crBkgndMid, m_curStyle.m_crBkgndEnd, 5, 0);
        if (m_curStyle.m_nBorderStyle != 0) {
            // A cell's border is lit from the other side than its table's.
            const COLORREF crDark = m_bIsEnabled ? m_curStyle.m_crBorderDark : m_crDisabled;
            const COLORREF crLight = m_bIsEnabled ? m_curStyle.m_crBorderLight : m_crDisabled;
            m_drawManager.DrawRectangle(m_hDC, rcCell.left, rcCell.top, rcCell.right, rcCell.bottom, crDark, crLight,
                                        m_curStyle.m_nBorderStyle, 1);
        }
        rcContent = rcCell;
        rcContent.DeflateRect(nInset, nInset);
        if (m_curStyle.m_nVAlign == 1)
            rcContent.top += (rcContent.bottom - cell.nContentHeight - rcContent.top) / 2;
        else if (m_curStyle.m_nVAlign == 2)
            rcContent.top = rcContent.bottom - cell.nContentHeight;
    }

    int nContentWidth = cell.nContentWidth;
    long long nContentHeight = 0;
    while (nPos < text.n) {
        int nTable = nPos;
        const BOOL bTable = FindTag(L"table", nTable, text);
        if (!bTable)
            nTable = text.n;
        CSize item(0, 0);
        if (nTable > nPos) {
            item = RenderRun(text.Mid(nPos, nTable - nPos), rcContent);
            rcContent.top = MarkupAdd(rcContent.top, item.cy);
            nContentWidth = std::max<int>(nContentWidth, item.cx);
            nContentHeight += item.cy;
        }
        if (!bTable)
            break;
        int nEnd = nTable;
        FindTableEnd(nEnd, text);
        int nNext = text.n;
        if (nEnd < text.n) {
            int nGt = nEnd;
            ScanToChars(text, nGt, L">");
            nNext = nGt < text.n ? nGt + 1 : text.n;
        }
        item = LayoutTable(text.Mid(nTable, nNext - nTable), rcContent);
        rcContent.top = MarkupAdd(rcContent.top, item.cy);
        nContentWidth = std::max<int>(nContentWidth, item.cx);
        nContentHeight += item.cy;
        nPos = nNext;
    }

    if (m_nMode == 1) {
        cell.nContentWidth = nContentWidth;
        cell.nContentHeight = MarkupClampExtent(nContentHeight);
        cell.nCellWidth = MarkupAdd(std::max(nContentWidth, nWidth), 2LL * nInset);
        cell.nCellHeight = MarkupAdd(std::max(cell.nContentHeight, nHeight), 2LL * nInset);
    }
    m_curStyle.m_sTag = L"td";
    PopStyle();
    SelectStyle();
}
