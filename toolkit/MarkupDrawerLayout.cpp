// LayoutBody and the line machinery of CMarkupDrawer: line records, line
// heights and baselines, alignment and justification, tabs, word wrap and the
// selection of the current style into the DC. RenderRun (MarkupDrawerRun.cpp)
// and the table cells (MarkupDrawerTable.cpp) build on these.
#include "toolkit/MarkupDrawer.h"

#include "toolkit/MarkupExtent.h"
#include "toolkit/MarkupWrap.h"

#include <algorithm>

namespace {

const int kMaxFontHeight = 2048;

// Copies the font fields of a style into a LOGFONT; the other fields stay.
void FontFromStyle(const HtmlStyle& style, LOGFONTW& lf)
{
    // A font far taller than any screen would only stall the rasterizer.
    lf.lfHeight = std::max(-kMaxFontHeight, std::min(style.m_nSize, kMaxFontHeight));
    lf.lfWeight = style.m_nWeight;
    lf.lfItalic = style.m_bItalic ? TRUE : FALSE;
    lf.lfUnderline = style.m_bUnderline ? TRUE : FALSE;
    lf.lfStrikeOut = style.m_bStrikeOut ? TRUE : FALSE;
    lstrcpynW(lf.lfFaceName, style.m_sFace, LF_FACESIZE);
}

// One run or table of the body: the body is as wide as its widest item and as
// high as all of them; while drawing, the next item starts below this one.
void AddLayoutItem(CSize item, CSize& result, CRect& rect, bool bDrawing)
{
    result.cx = std::max(result.cx, item.cx);
    result.cy = MarkupAdd(result.cy, item.cy);
    if (bDrawing)
        rect.top = MarkupAdd(rect.top, item.cy);
}

}  // namespace

CSize CMarkupDrawer::LayoutBody(CRect rect)
{
    CSize result(0, 0);
    // Every pass rebuilds the areas: a repaint that appended them again would
    // let them grow without end and hit-test stale copies.
    m_arrAreas.clear();
    if (m_nMode == 1) {
        m_arrLines.clear();
        m_arrAnimations.clear();
    }
    m_nLineIndex = 0;
    m_nCurTable = -1;
    m_nCurArea = -1;
    m_nCurAnimation = -1;
    m_arrStyles.clear();
    SetDefaultStyle();
    ApplyStyleRule(m_curStyle, L"body");

    ZeroMemory(&m_lf, sizeof(m_lf));
    FontFromStyle(m_curStyle, m_lf);
    m_lf.lfCharSet = DEFAULT_CHARSET;
    m_hFont = ::CreateFontIndirectW(&m_lf);
    m_hOldFont = m_hFont != NULL ? ::SelectObject(m_hDC, m_hFont) : NULL;
    const int nOldBkMode = ::SetBkMode(m_hDC, m_curStyle.m_nBkMode);
    const COLORREF crOldText = ::SetTextColor(m_hDC, m_curStyle.m_crText);
    const COLORREF crOldBk = ::SetBkColor(m_hDC, m_curStyle.m_crBkgnd);
    if (!::GetTextMetricsW(m_hDC, &m_tm))
        ZeroMemory(&m_tm, sizeof(m_tm));

    const MarkupSpan text(m_sText);
    int nPos = 0;
    while (nPos < text.n) {
        int nTable = nPos;
        const BOOL bTable = FindTag(L"table", nTable, text);
        if (!bTable)
            nTable = text.n;
        if (nTable > nPos)
            AddLayoutItem(RenderRun(text.Mid(nPos, nTable - nPos), rect), result, rect, m_nMode == 0);
        int nNext = text.n;
        if (bTable) {
            // A table left open takes the rest of the text.
            int nEnd = nTable;
            FindTableEnd(nEnd, text);
            if (nEnd < text.n) {
                int nGt = nEnd;
                ScanToChars(text, nGt, L">");
                nNext = nGt < text.n ? nGt + 1 : text.n;
            }
            AddLayoutItem(LayoutTable(text.Mid(nTable, nNext - nTable), rect), result, rect, m_nMode == 0);
        }
        nPos = nNext;
    }

    ::SetTextJustification(m_hDC, 0, 0);
    ::SetBkMode(m_hDC, nOldBkMode);
    ::SetBkColor(m_hDC, crOldBk);
    ::SetTextColor(m_hDC, crOldText);
    if (m_hOldFont != NULL)
        ::SelectObject(m_hDC, m_hOldFont);
    m_hOldFont = NULL;
    m_arrStyles.clear();
    if (m_hFont != NULL)
        ::DeleteObject(m_hFont);
    m_hFont = NULL;
    return result;
}

int CMarkupDrawer::BeginLine(int x)
{
    if (m_nLineIndex < 0)
        m_nLineIndex = 0;
    if (m_nMode == 1) {
        m_line = HtmlLine();
        m_line.nAlign = m_curStyle.m_nAlign;
        // Stored at its number rather than appended: a run that ends without
        // ending its line leaves that number to the next run.
        if (static_cast<size_t>(m_nLineIndex) >= m_arrLines.size())
            m_arrLines.resize(static_cast<size_t>(m_nLineIndex) + 1);
        m_arrLines[m_nLineIndex] = m_line;
        return x;
    }

    // A line the measuring pass did not record is drawn as an empty one.
    m_line = static_cast<size_t>(m_nLineIndex) < m_arrLines.size() ? m_arrLines[m_nLineIndex] : HtmlLine();
    const int W = m_rcOutput.Width();
    if (m_line.nPercentWidth != 0)
        m_line.nWidth = MarkupAdd(m_line.nWidth, ::MulDiv(W, m_line.nPercentWidth, 100));
    const int nExtra = W - m_line.nWidth;
    // Nothing to spread, or no blank to spread it over: the line stays as measured.
    if (m_line.nAlign == 3 && m_line.bWrapped && m_line.nBreakCount > 0 && nExtra > 0)
        ::SetTextJustification(m_hDC, nExtra, m_line.nBreakCount);
    else
        ::SetTextJustification(m_hDC, 0, 0);
    switch (m_line.nAlign) {
    case 1: return m_rcOutput.left + (W - m_line.nWidth) / 2;
    case 2: return m_rcOutput.left + W - m_line.nWidth;
    default: return x;
    }
}

void CMarkupDrawer::EndLine(int nCount, CSize& size, int& x, int& y)
{
    if (nCount < 1)
        nCount = 1;
    if (m_nMode == 1) {
        if (m_line.nHeight == 0)
            m_line.nHeight = m_tm.tmHeight;
        const int nWidth = x - m_rcOutput.left;
        if (nWidth > size.cx)
            size.cx = nWidth;
        m_line.nWidth = nWidth;
        m_line.nHeight = MarkupAdd(m_line.nHeight, m_line.nDescent);
        if (m_nLineIndex < 0)
            m_nLineIndex = 0;
        if (static_cast<size_t>(m_nLineIndex) >= m_arrLines.size())
            m_arrLines.resize(static_cast<size_t>(m_nLineIndex) + 1);
        m_arrLines[m_nLineIndex] = m_line;
    }
    y = MarkupAdd(y, static_cast<long long>(nCount) * m_line.nHeight);
    ++m_nLineIndex;
    x = BeginLine(m_rcOutput.left);
}

int CMarkupDrawer::PlaceText(int nTextHeight, int y)
{
    const int A = m_tm.tmAscent;
    if (m_nMode == 1) {
        m_line.nDescent = std::max(m_line.nDescent, nTextHeight - A);
        m_line.nHeight = std::max(m_line.nHeight, A);
        return y;
    }
    switch (m_curStyle.m_nVAlign) {
    case 0: return y;
    case 1: return y + (m_line.nHeight - m_tm.tmHeight) / 2;
    case 2: return y + m_line.nHeight - A;
    default: return y + m_line.nHeight - m_line.nDescent - A;
    }
}

int CMarkupDrawer::PlaceObject(int nObjectHeight, int y)
{
    if (m_nMode == 1) {
        m_line.nHeight = std::max(m_line.nHeight, nObjectHeight);
        return y;
    }
    switch (m_curStyle.m_nVAlign) {
    case 0: return y;
    case 1: return y + (m_line.nHeight - nObjectHeight) / 2;
    case 2: return y + m_line.nHeight - nObjectHeight;
    default: return y + m_line.nHeight - m_line.nDescent - nObjectHeight;
    }
}

void CMarkupDrawer::AdvanceTab(int nCount, int& x)
{
    // A count below 1 counts as 1: a negative one would move back over the text.
    if (nCount < 1)
        nCount = 1;
    const int nTab = m_nTabSize;
    if (nTab <= 0)
        return;
    const int nOffset = x - m_rcOutput.left;
    const int nRem = nOffset % nTab;
    if (nRem != 0) {
        x = MarkupAdd(x, nRem > 0 ? nTab - nRem : -nRem);
        --nCount;
    }
    x = MarkupAdd(x, static_cast<long long>(nCount) * nTab);
}

void CMarkupDrawer::SelectStyle()
{
    FontFromStyle(m_curStyle, m_lf);
    HFONT hFont = ::CreateFontIndirectW(&m_lf);
    if (hFont != NULL) {
        HGDIOBJ hPrev = ::SelectObject(m_hDC, hFont);
        if (m_hOldFont == NULL)
            m_hOldFont = hPrev;
        if (m_hFont != NULL)
            ::DeleteObject(m_hFont);
        m_hFont = hFont;
    }
    if (!::GetTextMetricsW(m_hDC, &m_tm))
        ZeroMemory(&m_tm, sizeof(m_tm));
    ::SetBkMode(m_hDC, m_curStyle.m_nBkMode);
    ::SetTextColor(m_hDC, m_curStyle.m_crText);
    ::SetBkColor(m_hDC, m_curStyle.m_crBkgnd);
}

CString CMarkupDrawer::FindWrapPoint(CString& sText, int& nWidth, int nLineWidth)
{
    const int n = sText.GetLength();
    if (n == 0) {
        nWidth = 0;
        return CString();
    }
    const MarkupCut cut = MarkupCutText(m_hDC, sText.GetString(), n, n, nWidth, nLineWidth);
    CString sHead = sText.Left(cut.nPiece);
    sText = sText.Mid(cut.nRest);
    nWidth = cut.nWidth;
    return sHead;
}

void CMarkupDrawer::AddHyperlinkArea(int left, int top, int right, int bottom)
{
    if (m_curStyle.m_nLinkKind == 0)
        return;
    HtmlArea area;
    area.left = left;
    area.top = top;
    area.right = right;
    area.bottom = bottom;
    area.nKind = m_curStyle.m_nLinkKind;
    area.nId = m_nCurArea;
    area.sText = m_curStyle.m_sLink;
    m_arrAreas.push_back(area);
}
