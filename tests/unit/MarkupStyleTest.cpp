// Style sheets and style values: sizes at 96 dpi, colours, keywords, the
// default sheet, rules and properties, and the style stack.
#include "toolkit/MarkupDrawer.h"

#include <gtest/gtest.h>

#include <limits.h>

#include <string>

namespace {
std::string Narrow(const CString& s)
{
    std::string out;
    for (int i = 0; i < s.GetLength(); ++i)
        out += (char)s.GetAt(i);
    return out;
}

// A screen-compatible memory DC, deleted with the test.
class CMemoryDC
{
public:
    CMemoryDC() : m_hDC(::CreateCompatibleDC(NULL)) {}
    ~CMemoryDC() { ::DeleteDC(m_hDC); }
    operator HDC() const { return m_hDC; }

private:
    HDC m_hDC;
};
}  // namespace

TEST(MarkupStyleTest, SizesAt96Dpi)
{
    const MarkupUnits units = { 96, 7, 16 };
    struct Case
    {
        int nCurrent;
        const wchar_t* pszValue;
        BOOL bScale;
        int nResult;
    };
    const Case cases[] = {
        { 5, L"", TRUE, 5 },
        { 0, L"10pt", TRUE, 13 },
        { 0, L"3", TRUE, 12 },
        { 0, L"1", TRUE, 8 },
        { 0, L"7", TRUE, 36 },
        { 0, L"8", TRUE, 8 },
        { 0, L"30", TRUE, 30 },
        { 0, L"3", FALSE, 3 },
        { 0, L"0", TRUE, 0 },
        { 16, L"150%", FALSE, 24 },
        { 16, L"65%", TRUE, 10 },
        // Signs are dropped in every form.
        { 0, L"+10pt", TRUE, 13 },
        { 0, L"-10pt", TRUE, 13 },
        { 0, L" -10pt", TRUE, 13 },
        { 0, L"+-10pt", TRUE, 13 },
        { 16, L"-150%", FALSE, 24 },
        { 0, L"-5", FALSE, 5 },
        { 0, L" -30", FALSE, 30 },
        // Only the integer part of a number counts.
        { 0, L"2.5cm", FALSE, 75 },
        { 0, L"1in", FALSE, 96 },
        { 0, L"10mm", FALSE, 37 },
        { 0, L"2pc", FALSE, 32 },
        { 0, L"3px", FALSE, 3 },
        { 0, L"2em", FALSE, 32 },
        { 0, L"2ex", FALSE, 14 },
        { 0, L"0x10", FALSE, 16 },
        { 0, L"abc", FALSE, 0 },
        { 0, L"px", FALSE, 0 },
        { 0, L"12qq", FALSE, 12 },
        { 0, L"99999999999px", FALSE, INT_MAX },
        { 0, L"99999999999", FALSE, INT_MAX },
        { 0, L"99999999999in", FALSE, INT_MAX },
        { INT_MAX, L"300%", FALSE, INT_MAX },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nResult, CMarkupDrawer::ParseSizeIn(c.nCurrent, c.pszValue, c.bScale, units)) << Narrow(c.pszValue);
}

TEST(MarkupStyleTest, SizesMeasuredOnTheDeviceContext)
{
    CMemoryDC dc;
    CMarkupDrawer drawer;
    drawer.m_hDC = dc;
    int nDpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    EXPECT_EQ(10 * nDpi / 72, drawer.ParseSize(0, L"10pt", TRUE));
    SIZE x = { 0, 0 };
    ::GetTextExtentPoint32W(dc, L"x", 1, &x);
    EXPECT_EQ(3 * x.cy, drawer.ParseSize(0, L"3ex", FALSE));
    drawer.m_tm.tmHeight = 11;
    EXPECT_EQ(22, drawer.ParseSize(0, L"2em", FALSE));
}

TEST(MarkupStyleTest, Colours)
{
    const COLORREF crCurrent = RGB(1, 2, 3);
    struct Case
    {
        const wchar_t* pszValue;
        COLORREF cr;
    };
    const Case cases[] = {
        { L"", crCurrent },
        { L"#ff0000", RGB(255, 0, 0) },
        { L"#FF9900", RGB(255, 153, 0) },
        { L"#ff9900", RGB(255, 153, 0) },
        { L"#f00", crCurrent },
        { L"#ff00000", crCurrent },
        { L"#gg0000", 0 },
        { L"255", RGB(255, 0, 0) },
        { L"0x00ff00", 0x00FF00 },
        { L"010", 8 },
        // Numbers past 0xFFFFFF lose their flag byte.
        { L"0x1FFFFFF", 0xFFFFFF },
        { L"4294967295", 0xFFFFFF },
        { L"99999999999999999999", 0xFFFFFF },
        { L"red", RGB(255, 0, 0) },
        { L"Red", crCurrent },
        { L"transparent", crCurrent },
    };
    CMarkupDrawer drawer;
    for (const Case& c : cases)
        EXPECT_EQ(c.cr, drawer.ParseColor(crCurrent, c.pszValue)) << Narrow(c.pszValue);
}

TEST(MarkupStyleTest, Keywords)
{
    struct Case
    {
        int (*pParse)(const CString&, int);
        const wchar_t* pszValue;
        int nCurrent;
        int nResult;
    };
    const Case cases[] = {
        { CMarkupDrawer::ParseFontStyle, L"", TRUE, FALSE },
        { CMarkupDrawer::ParseFontStyle, L"oblique", FALSE, TRUE },
        { CMarkupDrawer::ParseFontStyle, L"slanted", TRUE, TRUE },
        { CMarkupDrawer::ParseFontWeight, L"", 700, 400 },
        { CMarkupDrawer::ParseFontWeight, L"bold", 400, 700 },
        { CMarkupDrawer::ParseFontWeight, L"bolder", 400, 900 },
        { CMarkupDrawer::ParseFontWeight, L"lighter", 400, 100 },
        { CMarkupDrawer::ParseFontWeight, L"600", 400, 600 },
        { CMarkupDrawer::ParseFontWeight, L"heavy", 400, 0 },
        { CMarkupDrawer::ParseTextAlign, L"", 2, 0 },
        { CMarkupDrawer::ParseTextAlign, L"center", 0, 1 },
        { CMarkupDrawer::ParseTextAlign, L"right", 0, 2 },
        { CMarkupDrawer::ParseTextAlign, L"justify", 2, 2 },
        { CMarkupDrawer::ParseVerticalAlign, L"", 0, 3 },
        { CMarkupDrawer::ParseVerticalAlign, L"vcenter", 0, 1 },
        { CMarkupDrawer::ParseVerticalAlign, L"middle", 0, 1 },
        { CMarkupDrawer::ParseVerticalAlign, L"bottom", 0, 2 },
        { CMarkupDrawer::ParseVerticalAlign, L"top", 3, 0 },
        { CMarkupDrawer::ParseVerticalAlign, L"Top", 3, 3 },
        { CMarkupDrawer::ParseTextTransform, L"capitalize", 0, 3 },
        { CMarkupDrawer::ParseTextTransform, L"uppercase", 0, 1 },
        { CMarkupDrawer::ParseTextTransform, L"lowercase", 0, 2 },
        { CMarkupDrawer::ParseTextTransform, L"none", 2, 0 },
        { CMarkupDrawer::ParseBorderStyle, L"double", 0, 6 },
        { CMarkupDrawer::ParseBorderStyle, L"dashed", 0, 2 },
        { CMarkupDrawer::ParseBorderStyle, L"dotted", 0, 3 },
        { CMarkupDrawer::ParseBorderStyle, L"groove", 1, 1 },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.nResult, c.pParse(c.pszValue, c.nCurrent)) << Narrow(c.pszValue);
}

TEST(MarkupStyleTest, BorderWidthsAndDecorations)
{
    CMarkupDrawer drawer;
    EXPECT_EQ(5, drawer.ParseBorderWidth(L"thick", 4));
    EXPECT_EQ(3, drawer.ParseBorderWidth(L"thin", 4));
    EXPECT_EQ(4, drawer.ParseBorderWidth(L"medium", 4));
    EXPECT_EQ(2, drawer.ParseBorderWidth(L"2", 4));

    struct Case
    {
        const wchar_t* pszValue;
        BOOL bBefore;
        BOOL bUnder;
        BOOL bStrike;
        BOOL bOver;
    };
    const Case cases[] = {
        { L"underline overline", FALSE, TRUE, FALSE, TRUE },
        { L"line-through,underline", FALSE, TRUE, TRUE, FALSE },
        { L"", TRUE, FALSE, FALSE, FALSE },
        { L"none", TRUE, FALSE, FALSE, FALSE },
        { L"none overline", TRUE, FALSE, FALSE, TRUE },
        { L"blink", TRUE, TRUE, TRUE, TRUE },
    };
    for (const Case& c : cases) {
        HtmlStyle style;
        style.m_bUnderline = style.m_bStrikeOut = style.m_bOverline = c.bBefore;
        CMarkupDrawer::ParseTextDecoration(c.pszValue, style);
        EXPECT_EQ(c.bUnder, style.m_bUnderline) << Narrow(c.pszValue);
        EXPECT_EQ(c.bStrike, style.m_bStrikeOut) << Narrow(c.pszValue);
        EXPECT_EQ(c.bOver, style.m_bOverline) << Narrow(c.pszValue);
    }
}

TEST(MarkupStyleTest, DefaultSheet)
{
    CMarkupDrawer drawer;
    const char* const selectors[] = { "body", "p",      "h1",      "h2",  "h3",  "h4",  "h5",    "h6",          "pre",
                                      "code", "a:link", "a:hover", "sub", "sup", "big", "small", ".cpp-comment" };
    ASSERT_EQ(17u, drawer.m_mapStyles.size());
    for (const char* pszSelector : selectors)
        EXPECT_NE(nullptr, drawer.FindStyleRule(CString(pszSelector))) << pszSelector;
    EXPECT_EQ(CString(CMarkupDrawer::s_pszDefaultStyleSheet), drawer.m_sCssText);
    ASSERT_NE(nullptr, drawer.FindStyleRule(L"BODY"));
    EXPECT_EQ("font-size: 10pt; color:black; font-family:Verdana", Narrow(*drawer.FindStyleRule(L"Body")));

    CMemoryDC dc;
    drawer.m_hDC = dc;
    int nDpi = ::GetDeviceCaps(dc, LOGPIXELSY);
    HtmlStyle pre;
    drawer.ApplyStyleRule(pre, L"pre");
    EXPECT_EQ(9 * nDpi / 72, pre.m_nSize);
    EXPECT_EQ("courier", Narrow(pre.m_sFace));
    EXPECT_EQ(OPAQUE, pre.m_nBkMode);
    EXPECT_EQ(RGB(0xfb, 0xed, 0xbb), pre.m_crBkgnd);

    HtmlStyle h6;
    h6.m_nSize = 20;
    h6.m_nWeight = 700;
    drawer.ApplyStyleRule(h6, L"h6");
    EXPECT_EQ(13, h6.m_nSize);
    EXPECT_EQ(400, h6.m_nWeight);
    EXPECT_EQ(RGB(0x62, 0x62, 0x62), h6.m_crText);

    HtmlStyle hover;
    drawer.ApplyStyleRule(hover, L"a:hover");
    EXPECT_TRUE(hover.m_bUnderline);
    EXPECT_EQ(RGB(0, 0, 255), hover.m_crText);

    HtmlStyle comment;
    drawer.ApplyStyleRule(comment, L".cpp-comment");
    EXPECT_TRUE(comment.m_bItalic);
    EXPECT_EQ(RGB(0, 128, 0), comment.m_crText);

    HtmlStyle untouched;
    drawer.ApplyStyleRule(untouched, L"td");
    EXPECT_EQ(16, untouched.m_nSize);
}

TEST(MarkupStyleTest, SheetParsing)
{
    CMarkupDrawer drawer;
    drawer.ParseStyleSheet(L"H1 {color:red} a, b {color:blue} empty {} p{margin:3}\r\nlast {padding:4");
    EXPECT_EQ(3u, drawer.m_mapStyles.size());
    EXPECT_NE(nullptr, drawer.FindStyleRule(L"h1"));
    EXPECT_NE(nullptr, drawer.FindStyleRule(L"a,"));
    EXPECT_EQ(nullptr, drawer.FindStyleRule(L"b"));
    EXPECT_EQ(nullptr, drawer.FindStyleRule(L"empty"));
    ASSERT_NE(nullptr, drawer.FindStyleRule(L"p"));
    EXPECT_EQ("margin:3", Narrow(*drawer.FindStyleRule(L"p")));
    EXPECT_EQ(nullptr, drawer.FindStyleRule(L"last"));

    drawer.ParseStyleSheet(L"}}}{{{ ;;; x");
    EXPECT_EQ(0u, drawer.m_mapStyles.size());
    drawer.ParseStyleSheet(NULL);
    EXPECT_EQ(17u, drawer.m_mapStyles.size());

    drawer.SetStyleRule(L"TD", L"color:red");
    ASSERT_NE(nullptr, drawer.FindStyleRule(L"td"));
    drawer.SetStyleRule(L"td", L"color:blue");
    EXPECT_EQ("color:blue", Narrow(*drawer.FindStyleRule(L"Td")));
}

TEST(MarkupStyleTest, Properties)
{
    CMarkupDrawer drawer;
    HtmlStyle style;
    drawer.ApplyCssProperties(CString(L"COLOR:RED; Font-Weight: BOLD; text-align:right; font-family:\"Courier New\""),
                              style);
    EXPECT_EQ(RGB(255, 0, 0), style.m_crText);
    EXPECT_EQ(700, style.m_nWeight);
    EXPECT_EQ(2, style.m_nAlign);
    EXPECT_EQ("courier new", Narrow(style.m_sFace));

    HtmlStyle border;
    drawer.ApplyCssProperties(CString(L"border-style:dashed"), border);
    EXPECT_EQ(2, border.m_nBorderStyle);
    EXPECT_EQ(1, border.m_nBorderWidth);
    drawer.ApplyCssProperties(CString(L"border-width:0"), border);
    EXPECT_EQ(0, border.m_nBorderStyle);
    drawer.ApplyCssProperties(CString(L"size:3px; border-color:#0000ff"), border);
    EXPECT_EQ(3, border.m_nBorderWidth);
    EXPECT_EQ(1, border.m_nBorderStyle);
    EXPECT_EQ(RGB(0, 0, 255), border.m_crBorderLight);
    EXPECT_EQ(RGB(0, 0, 255), border.m_crBorderDark);

    HtmlStyle spacing;
    drawer.ApplyCssProperties(
        CString(L"margin:5px;padding:-7;vertical-align:top;text-transform:uppercase;font-style:italic"), spacing);
    EXPECT_EQ(5, spacing.m_nMargin);
    EXPECT_EQ(7, spacing.m_nPadding);
    EXPECT_EQ(0, spacing.m_nVAlign);
    EXPECT_EQ(1, spacing.m_nTransform);
    EXPECT_TRUE(spacing.m_bItalic);

    HtmlStyle background;
    drawer.ApplyCssProperties(CString(L"background-color:yellow"), background);
    EXPECT_EQ(OPAQUE, background.m_nBkMode);
    EXPECT_EQ(RGB(255, 255, 0), background.m_crBkgnd);
    drawer.ApplyCssProperties(CString(L"background-color:transparent; unknown:3; color"), background);
    EXPECT_EQ(TRANSPARENT, background.m_nBkMode);

    drawer.m_bIsEnabled = FALSE;
    drawer.m_crDisabled = RGB(7, 7, 7);
    HtmlStyle disabled;
    drawer.ApplyCssProperties(CString(L"color:#ff0000; background-color:red; border-color:blue"), disabled);
    EXPECT_EQ(RGB(7, 7, 7), disabled.m_crText);
    EXPECT_EQ(TRANSPARENT, disabled.m_nBkMode);
    EXPECT_EQ(RGB(255, 255, 255), disabled.m_crBkgnd);
    EXPECT_EQ(RGB(7, 7, 7), disabled.m_crBorderLight);
}

TEST(MarkupStyleTest, StylesPopOnlyUnderTheirName)
{
    CMarkupDrawer drawer;
    drawer.m_curStyle.m_nWidth = 40;
    drawer.m_curStyle.m_nSize = 99;
    drawer.SetDefaultStyle();
    EXPECT_EQ(16, drawer.m_curStyle.m_nSize);
    EXPECT_EQ(40, drawer.m_curStyle.m_nWidth);

    drawer.m_curStyle.m_sTag = L"italic";
    drawer.PushStyle();
    drawer.m_curStyle.m_bItalic = TRUE;
    drawer.m_curStyle.m_sTag = L"bold";
    EXPECT_FALSE(drawer.PopStyle());
    EXPECT_TRUE(drawer.m_curStyle.m_sTag.IsEmpty());
    EXPECT_TRUE(drawer.m_curStyle.m_bItalic);
    drawer.m_curStyle.m_sTag = L"italic";
    EXPECT_TRUE(drawer.PopStyle());
    EXPECT_FALSE(drawer.m_curStyle.m_bItalic);
    EXPECT_TRUE(drawer.m_curStyle.m_sTag.IsEmpty());
    EXPECT_TRUE(drawer.m_arrStyles.empty());
    drawer.m_curStyle.m_sTag = L"italic";
    EXPECT_FALSE(drawer.PopStyle());
}
