// Styles of the mark-up: the style record and its stack, the style sheet
// with its parser and built-in default, and the properties a rule applies.
#include "MarkupDrawer.h"

const wchar_t* const CMarkupDrawer::s_pszDefaultStyleSheet =
    L"body {font-size: 10pt; color:black; font-family:Verdana}\r\n"
    L"p {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
    L"h1 {font-size: 14pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
    L"h2 {font-size: 13pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
    L"h3 {font-size: 12pt; color:#ff9900; font-family:Arial; font-weight:bold}\r\n"
    L"h4 {font-size: 10pt; color:black; font-family:Verdana; font-weight:bold}\r\n"
    L"h5 {font-size: 9pt; color:#ff9900; font-family:Verdana; font-weight:bold}\r\n"
    L"h6 {font-size: 65%; color:#626262; font-family:Verdana; font-weight:normal}\r\n"
    L"pre {font-size: 9pt; font-family:\"Courier\"; background-color:#fbedbb}\r\n"
    L"code {color:#990000; font-family:Arial}\r\n"
    L"a:link {text-decoration:none; color:blue}\r\n"
    L"a:hover {text-decoration:underline; color:blue}\r\n"
    L"sub {font-size:65%; vertical-align:bottom}\r\n"
    L"sup {font-size:65%; vertical-align:top}\r\n"
    L"big {font-size:125%}\r\n"
    L"small {font-size:75%}\r\n"
    L".cpp-comment {color:green; font-style:italic}\r\n";

// A new record already holds the default style, width and height 0: a
// record never carries unset numbers into a layout.
HtmlStyle::HtmlStyle()
    : m_nSize(16),
      m_nWeight(FW_NORMAL),
      m_bItalic(FALSE),
      m_bUnderline(FALSE),
      m_bStrikeOut(FALSE),
      m_bOverline(FALSE),
      m_sFace(L"Verdana"),
      m_crText(RGB(0, 0, 0)),
      m_crBkgnd(RGB(255, 255, 255)),
      m_crBorderLight(RGB(0, 0, 0)),
      m_crBorderDark(RGB(0, 0, 0)),
      m_crBkgndMid(RGB(255, 255, 255)),
      m_crBkgndEnd(RGB(255, 255, 255)),
      m_nBkMode(TRANSPARENT),
      m_nBkEffect(-1),
      m_nAlign(0),
      m_nVAlign(3),
      m_nBorderStyle(0),
      m_nBorderWidth(0),
      m_nWidth(0),
      m_nHeight(0),
      m_nTransform(0),
      m_nMargin(2),
      m_nPadding(0),
      m_nLinkKind(0)
{}

void CMarkupDrawer::SetDefaultStyle()
{
    int nWidth = m_curStyle.m_nWidth;
    int nHeight = m_curStyle.m_nHeight;
    m_curStyle = HtmlStyle();
    m_curStyle.m_nWidth = nWidth;
    m_curStyle.m_nHeight = nHeight;
}

void CMarkupDrawer::PushStyle()
{
    m_arrStyles.push_back(m_curStyle);
}

BOOL CMarkupDrawer::PopStyle()
{
    BOOL bRestored = FALSE;
    if (!m_arrStyles.empty() && m_arrStyles.back().m_sTag == m_curStyle.m_sTag) {
        m_curStyle = m_arrStyles.back();
        m_arrStyles.pop_back();
        bRestored = TRUE;
    }
    m_curStyle.m_sTag.Empty();
    return bRestored;
}

void CMarkupDrawer::ParseStyleSheet(LPCWSTR pszText)
{
    m_mapStyles.clear();
    if (!pszText) {
        BuildDefaultStyleSheet();
        return;
    }
    m_sCssText = pszText;
    ParseStyleRules(MarkupSpan(m_sCssText));
}

void CMarkupDrawer::ParseStyleRules(MarkupSpan text)
{
    int nPos = 0;
    while (nPos < text.n) {
        if (!SkipToWord(nPos, text))
            break;
        int nStart = nPos;
        if (!ScanToChars(text, nPos, L" {"))
            break;
        CString sSelector = text.Mid(nStart, nPos - nStart);
        int nOpen = nPos;
        if (ScanToChars(text, nOpen, L"{") != L'{')
            break;
        int nClose = nOpen + 1;
        if (ScanToChars(text, nClose, L"}") != L'}')
            break;
        CString sProperties = text.Mid(nOpen + 1, nClose - nOpen - 1);
        if (!sSelector.IsEmpty() && !sProperties.IsEmpty())
            SetStyleRule(sSelector, sProperties);
        // Past the rule's '}', which lies beyond the selector: every round
        // moves forward, whatever the text.
        nPos = nClose + 1;
    }
}

void CMarkupDrawer::BuildDefaultStyleSheet()
{
    ParseStyleSheet(s_pszDefaultStyleSheet);
}

void CMarkupDrawer::SetStyleRule(const CString& sSelector, const CString& sText)
{
    CString sKey = sSelector;
    sKey.MakeLower();
    m_mapStyles[sKey] = sText;
}

const CString* CMarkupDrawer::FindStyleRule(const CString& sSelector) const
{
    CString sKey = sSelector;
    sKey.MakeLower();
    auto it = m_mapStyles.find(sKey);
    return it == m_mapStyles.end() ? NULL : &it->second;
}

void CMarkupDrawer::ApplyStyleRule(HtmlStyle& style, const CString& sSelector)
{
    const CString* pRule = FindStyleRule(sSelector);
    if (pRule)
        ApplyCssProperties(MarkupSpan(*pRule), style);
}

void CMarkupDrawer::ApplyCssProperties(MarkupSpan text, HtmlStyle& style)
{
    CString sText = text.Mid(0);
    sText.MakeLower();
    MarkupSpan css(sText);
    int nPos = 0;
    while (SkipToWord(nPos, css)) {
        int nStart = nPos;
        ScanToChars(css, nPos, L" :");
        CString sName = css.Mid(nStart, nPos - nStart);
        CString sValue = ReadPropertyValue(nPos, css, L";");

        if (sName == L"font-size") {
            style.m_nSize = ParseSize(style.m_nSize, sValue, TRUE);
        } else if (sName == L"font-family") {
            if (!sValue.IsEmpty())
                style.m_sFace = sValue;
        } else if (sName == L"font-style") {
            style.m_bItalic = ParseFontStyle(sValue, style.m_bItalic);
        } else if (sName == L"font-weight") {
            style.m_nWeight = ParseFontWeight(sValue, style.m_nWeight);
        } else if (sName == L"text-align") {
            style.m_nAlign = ParseTextAlign(sValue, style.m_nAlign);
        } else if (sName == L"text-transform") {
            style.m_nTransform = ParseTextTransform(sValue, style.m_nTransform);
        } else if (sName == L"color") {
            style.m_crText = m_bIsEnabled ? ParseColor(style.m_crText, sValue) : m_crDisabled;
        } else if (sName == L"background-color") {
            if (sValue.IsEmpty() || sValue == L"transparent" || !m_bIsEnabled) {
                style.m_nBkMode = TRANSPARENT;
            } else {
                style.m_nBkMode = OPAQUE;
                style.m_crBkgnd = ParseColor(style.m_crBkgnd, sValue);
            }
        } else if (sName == L"text-decoration") {
            ParseTextDecoration(sValue, style);
        } else if (sName == L"vertical-align") {
            style.m_nVAlign = ParseVerticalAlign(sValue, style.m_nVAlign);
        } else if (sName == L"border-color") {
            COLORREF cr = m_bIsEnabled ? ParseColor(style.m_crBorderLight, sValue) : m_crDisabled;
            style.m_crBorderLight = style.m_crBorderDark = cr;
        } else if (sName == L"border-width" || sName == L"size") {
            int nWidth = ParseBorderWidth(sValue, style.m_nBorderWidth);
            style.m_nBorderWidth = nWidth;
            if (nWidth == 0)
                style.m_nBorderStyle = 0;
            else if (style.m_nBorderStyle == 0)
                style.m_nBorderStyle = 1;
        } else if (sName == L"border-style") {
            int nStyle = ParseBorderStyle(sValue, style.m_nBorderStyle);
            style.m_nBorderStyle = nStyle;
            if (nStyle != 0 && style.m_nBorderWidth == 0)
                style.m_nBorderWidth = 1;
        } else if (sName == L"margin") {
            style.m_nMargin = ParseSize(style.m_nMargin, sValue, FALSE);
        } else if (sName == L"padding") {
            style.m_nPadding = ParseSize(style.m_nPadding, sValue, FALSE);
        }
        if (nPos <= nStart)
            nPos = nStart + 1;
    }
}
