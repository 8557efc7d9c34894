// The walk of one mark-up run: plain text placed word by word with wrap,
// justification and hyperlink areas, and the style tags that change the
// current style. Object tags are in MarkupRunObjects.cpp.
#include "toolkit/MarkupRun.h"

#include "toolkit/MarkupExtent.h"
#include "toolkit/MarkupWrap.h"

#include <wctype.h>

#include <algorithm>

namespace {

int CountBlanks(const wchar_t* p, int n)
{
    int nBlanks = 0;
    for (int i = 0; i < n; ++i)
        if (p[i] == L' ')
            ++nBlanks;
    return nBlanks;
}

void Transform(CString& sText, int nTransform)
{
    switch (nTransform) {
    case 1: sText.MakeUpper(); break;
    case 2: sText.MakeLower(); break;
    case 3: {
        sText.MakeLower();
        for (int i = 0; i < sText.GetLength(); ++i) {
            const wchar_t ch = sText.GetAt(i);
            if (ch >= L'a' && ch <= L'z' && (i == 0 || sText.GetAt(i - 1) == L' '))
                sText.SetAt(i, static_cast<wchar_t>(ch - L'a' + L'A'));
        }
        break;
    }
    default: break;
    }
}

}  // namespace

CMarkupRun::CMarkupRun(CMarkupDrawer& drawer, const CRect& rect)
    : m_d(drawer),
      m_rect(rect),
      m_nW(rect.Width()),
      m_x(rect.left),
      m_y(rect.top),
      m_size(0, 0),
      m_nFirstLine(drawer.m_nLineIndex),
      m_crShadow(drawer.m_bIsEnabled ? drawer.m_crShadow : drawer.m_crDisabled),
      m_xLineStart(rect.left),
      m_nRemainWidth(0),
      m_nRemainBreaks(0),
      m_nItemLine(-1),
      m_nItem(0),
      m_bLineHolds(FALSE)
{
    m_d.m_rcOutput = rect;
}

CSize CMarkupRun::Run(const CString& sRun)
{
    const CString sText = L"<body>" + sRun + L"</body>";
    m_x = m_d.BeginLine(m_x);
    StartLine();

    const MarkupSpan text(sText);
    int nPos = 0;
    while (nPos < text.n) {
        const int nBefore = nPos;
        CString sTag;
        CString sPlain = CMarkupDrawer::GetNextRun(text, nPos, sTag);
        if (!sPlain.IsEmpty())
            LayText(sPlain);
        if (!sTag.IsEmpty())
            HandleTag(sTag);
        if (nPos <= nBefore)
            break;
    }

    // On measured widths, not x: trimmed blanks or a 0% rule must still close the measured line.
    if (m_bLineHolds)
        EndLine(1, FALSE);
    ::SetTextJustification(m_d.m_hDC, 0, 0);
    m_size.cy = m_y - m_rect.top;

    // Rules given in percent of the run's width widen it once that width is known.
    const int nLines = std::min<int>(m_d.m_nLineIndex, static_cast<int>(m_d.m_arrLines.size()));
    for (int i = std::max(0, m_nFirstLine); i < nLines; ++i) {
        const HtmlLine& line = m_d.m_arrLines[static_cast<size_t>(i)];
        if (line.nPercentWidth != 0)
            m_size.cx = std::max<int>(m_size.cx, MarkupAdd(line.nWidth, ::MulDiv(line.nPercentWidth, m_size.cx, 100)));
    }
    return m_size;
}

void CMarkupRun::StartLine()
{
    m_xLineStart = m_x;
    m_nRemainWidth = m_d.m_line.nWidth;
    m_nRemainBreaks = m_d.m_line.nBreakCount;
    m_bLineHolds = FALSE;
}

void CMarkupRun::Holds(int nMeasuredWidth)
{
    if (nMeasuredWidth != 0)
        m_bLineHolds = TRUE;
}

void CMarkupRun::EndLine(int nCount, BOOL bWrapped)
{
    m_d.m_line.bWrapped = bWrapped ? 1 : 0;
    m_d.EndLine(nCount, m_size, m_x, m_y);
    StartLine();
}

int CMarkupRun::NextItem()
{
    if (m_d.m_nLineIndex != m_nItemLine) {
        m_nItemLine = m_d.m_nLineIndex;
        m_nItem = 0;
    }
    return m_nItem++;
}

BOOL CMarkupRun::IsBreakItem(int nItem, int& nPiece, int& nRest) const
{
    const std::vector<int>& breaks = m_d.m_line.arrBreaks;
    for (size_t i = 0; i + 3 <= breaks.size(); i += 3)
        if (breaks[i] == nItem) {
            nPiece = breaks[i + 1];
            nRest = breaks[i + 2];
            return TRUE;
        }
    return FALSE;
}

void CMarkupRun::RecordBreak(int nItem, int nPiece, int nRest)
{
    m_d.m_line.arrBreaks.insert(m_d.m_line.arrBreaks.end(), { nItem, nPiece, nRest });
}

void CMarkupRun::LayText(CString sText)
{
    Transform(sText, m_d.m_curStyle.m_nTransform);
    const HDC hDC = m_d.m_hDC;
    const int n = sText.GetLength();
    int nPos = 0;
    while (nPos < n) {
        const wchar_t* p = sText.GetString() + nPos;
        const int nLeft = n - nPos;
        ::SetTextJustification(hDC, 0, 0);
        const int nItem = NextItem();
        const int nRoom = m_nW + m_rect.left - m_x;
        int nPiece = nLeft;
        int nRest = nLeft;
        int nWidth = 0;
        if (Measuring()) {
            SIZE size = { 0, 0 };
            int nLong = nLeft;
            BOOL bFits = TRUE;
            if (m_d.m_nMaxWidth != 0 && m_nW > 0)
                bFits = MarkupFitsIn(hDC, p, nLeft, nRoom, m_d.m_tm.tmAveCharWidth, size, nLong);
            else if (!::GetTextExtentPoint32W(hDC, p, nLeft, &size))
                size.cx = size.cy = 0;
            m_d.PlaceText(size.cy, m_y);
            nWidth = size.cx;
            if (!bFits) {
                const MarkupCut cut = MarkupCutText(hDC, p, nLeft, nLong, nRoom, m_nW);
                nPiece = cut.nPiece;
                nRest = cut.nRest;
                nWidth = cut.nWidth;
            }
            m_d.m_line.nAlign = m_d.m_curStyle.m_nAlign;
            m_d.m_line.nBreakCount += CountBlanks(p, nPiece);
        } else {
            int nCutPiece = 0;
            int nCutRest = 0;
            if (IsBreakItem(nItem, nCutPiece, nCutRest) && nCutPiece >= 0) {
                Holds(1);
                nPiece = std::min(nCutPiece, nLeft);
                nRest = std::max(nPiece, std::min(nCutRest, nLeft));
            }
            SIZE size = { 0, 0 };
            if (nPiece > 0 && !::GetTextExtentPoint32W(hDC, p, nPiece, &size))
                size.cx = size.cy = 0;
            if (nPiece == 0)
                size.cy = m_d.m_tm.tmHeight;
            const int yText = m_d.PlaceText(size.cy, m_y);
            Holds(size.cx);
            nWidth = size.cx != 0 ? DrawPiece(CString(p, nPiece), size.cx, yText, size.cy) : 0;
        }
        if (Measuring())
            Holds(nWidth);
        // Cuts that only drop blanks are replayed too (and hold their line), or wider drawing draws them.
        if (Measuring() && (nPiece != nLeft || nRest != nLeft)) {
            RecordBreak(nItem, nPiece, nRest);
            Holds(1);
        }
        nPos += nRest;
        m_x = MarkupAdd(m_x, nWidth);
        if (nPos < n)
            EndLine(1, TRUE);
    }
}

int CMarkupRun::DrawPiece(CString sPiece, int nPieceWidth, int yText, int cyText)
{
    const HDC hDC = m_d.m_hDC;
    const HtmlLine& line = m_d.m_line;
    // The last piece of the line loses its trailing blanks, so that a
    // justified line ends flush with the right edge.
    if (nPieceWidth == m_nRemainWidth && sPiece.GetLength() > 0 && sPiece.GetAt(sPiece.GetLength() - 1) == L' ') {
        sPiece.TrimRight();
        SIZE size = { 0, 0 };
        if (sPiece.GetLength() > 0)
            ::GetTextExtentPoint32W(hDC, sPiece, sPiece.GetLength(), &size);
        m_nRemainBreaks = CountBlanks(sPiece, sPiece.GetLength());
        m_nRemainWidth += size.cx - nPieceWidth;
        nPieceWidth = size.cx;
    }
    if (line.nAlign == 3 && line.bWrapped) {
        const int nExtra = (m_nW + m_rect.left - m_x) - m_nRemainWidth;
        if (nExtra > 0 && m_nRemainBreaks > 0)
            ::SetTextJustification(hDC, nExtra, m_nRemainBreaks);
        else
            ::SetTextJustification(hDC, 0, 0);
    }
    m_nRemainWidth -= nPieceWidth;
    SIZE size = { 0, 0 };
    if (sPiece.GetLength() > 0)
        ::GetTextExtentPoint32W(hDC, sPiece, sPiece.GetLength(), &size);
    m_d.AddHyperlinkArea(m_x, yText, m_x + size.cx, yText + cyText);
    ::TextOutW(hDC, m_x, yText, sPiece, sPiece.GetLength());
    m_nRemainBreaks -= CountBlanks(sPiece, sPiece.GetLength());
    if (m_d.m_curStyle.m_bOverline && size.cx > 0) {
        HPEN hPen = ::CreatePen(PS_SOLID, m_d.m_curStyle.m_nWeight >= 700 ? 2 : 1, m_d.m_curStyle.m_crText);
        if (hPen != NULL) {
            HGDIOBJ hOld = ::SelectObject(hDC, hPen);
            ::MoveToEx(hDC, m_x, yText, NULL);
            ::LineTo(hDC, m_x + size.cx, yText);
            ::SelectObject(hDC, hOld);
            ::DeleteObject(hPen);
        }
    }
    return size.cx;
}

void CMarkupRun::HandleTag(CString sTag)
{
    CString sAttributes;
    CMarkupDrawer::SplitTagName(sTag, sAttributes);
    BOOL bClosing = FALSE;
    HtmlStyle& style = m_d.m_curStyle;
    const int nId = m_d.LookupTag(sTag, style.m_sTag, bClosing);
    if (nId == MARKUP_TAG_NONE)
        return;
    if (style.m_sTag.IsEmpty()) {
        if (nId < MARKUP_TAG_LEFT || nId > MARKUP_TAG_BOTTOM)
            ObjectTag(nId, sAttributes);
        return;
    }
    if (!bClosing) {
        m_d.PushStyle();
        OpenStyleTag(nId, sTag, sAttributes);
        m_d.SelectStyle();
        return;
    }
    if (m_d.PopStyle())
        m_d.SelectStyle();
    style.m_sTag.Empty();
}

namespace {

// Calls f(name, value) for each name=value attribute of the text, in order.
template <class F>
void ForEachAttribute(const CString& sAttributes, F f)
{
    const MarkupSpan text(sAttributes);
    int nPos = 0;
    while (nPos < text.n) {
        CString sName;
        const CString sValue = CMarkupDrawer::GetNextAttribute(text, nPos, sName);
        if (sName.IsEmpty())
            break;
        f(sName, sValue);
    }
}

}  // namespace

void CMarkupRun::OpenStyleTag(int nId, const CString& sName, const CString& sAttributes)
{
    HtmlStyle& style = m_d.m_curStyle;
    switch (nId) {
    case MARKUP_TAG_BOLD: style.m_nWeight = style.m_nWeight > 450 ? 900 : style.m_nWeight * 2; break;
    case MARKUP_TAG_ITALIC: style.m_bItalic = !style.m_bItalic; break;
    case MARKUP_TAG_UNDERLINE: style.m_bUnderline = !style.m_bUnderline; break;
    case MARKUP_TAG_STRIKEOUT: style.m_bStrikeOut = !style.m_bStrikeOut; break;
    case MARKUP_TAG_FONT: ReadFontAttributes(sAttributes); break;
    case MARKUP_TAG_LEFT:
    case MARKUP_TAG_CENTER:
    case MARKUP_TAG_RIGHT:
    case MARKUP_TAG_JUSTIFY: style.m_nAlign = nId - MARKUP_TAG_LEFT; break;
    case MARKUP_TAG_BASELINE: style.m_nVAlign = 3; break;
    case MARKUP_TAG_TOP: style.m_nVAlign = 0; break;
    case MARKUP_TAG_VCENTER: style.m_nVAlign = 1; break;
    case MARKUP_TAG_BOTTOM: style.m_nVAlign = 2; break;
    case MARKUP_TAG_SHEET: m_d.ApplyStyleRule(style, sName); break;
    case MARKUP_TAG_SPAN: ReadSpanAttributes(sAttributes); break;
    case MARKUP_TAG_LINK: ReadLinkAttributes(sAttributes); break;
    default: break;
    }
}

void CMarkupRun::ReadFontAttributes(const CString& sAttributes)
{
    HtmlStyle& style = m_d.m_curStyle;
    ForEachAttribute(sAttributes, [&](const CString& sName, const CString& sValue) {
        if (sName == L"face") {
            style.m_sFace = CMarkupDrawer::ValueOrDefault(sValue, style.m_sFace);
        } else if (sName == L"size") {
            style.m_nSize = m_d.ParseSize(style.m_nSize, sValue, TRUE);
        } else if (sName == L"color") {
            style.m_crText = m_d.m_bIsEnabled ? m_d.ParseColor(style.m_crText, sValue) : m_d.m_crDisabled;
        } else if (sName == L"style") {
            CMarkupDrawer::ParseFontFlags(sValue, style);
        } else if (sName == L"weight") {
            style.m_nWeight = CMarkupDrawer::ParseFontWeight(sValue, style.m_nWeight);
        } else if (sName == L"bkgnd") {
            if (!m_d.m_bIsEnabled || sValue.IsEmpty() || sValue == L"transparent") {
                style.m_nBkMode = TRANSPARENT;
            } else {
                style.m_nBkMode = OPAQUE;
                style.m_crBkgnd = m_d.ParseColor(style.m_crBkgnd, sValue);
            }
        }
    });
}

void CMarkupRun::ReadLinkAttributes(const CString& sAttributes)
{
    HtmlStyle& style = m_d.m_curStyle;
    style.m_nLinkKind = 2;
    style.m_sLink.Empty();
    ForEachAttribute(sAttributes, [&](const CString& sName, const CString& sValue) {
        if (sName == L"href") {
            style.m_nLinkKind = 1;
            style.m_sLink = sValue;
        } else if (sName == L"msg") {
            style.m_nLinkKind = 2;
            style.m_sLink = sValue;
        }
    });
    ++m_d.m_nCurArea;
    m_d.ApplyStyleRule(style, m_d.m_nCurArea == m_d.m_nHotArea ? L"a:hover" : L"a:link");
}

void CMarkupRun::ReadSpanAttributes(const CString& sAttributes)
{
    ForEachAttribute(sAttributes, [&](const CString& sName, const CString& sValue) {
        if (sName == L"class")
            m_d.ApplyStyleRule(m_d.m_curStyle, L"." + sValue);
    });
}
