// Readers of tag attributes: table normalisation, image records, the font
// tag's flag letters, image style letters and background effect names.
#include "toolkit/MarkupDrawer.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string Narrow(const CString& s)
{
    std::string out;
    for (int i = 0; i < s.GetLength(); ++i)
        out += (char)s.GetAt(i);
    return out;
}
}  // namespace

TEST(MarkupAttributesTest, TableBordersAndSpans)
{
    struct Case
    {
        const wchar_t* pszAttributes;
        BOOL bTable;
        int nBorderWidth;
        int nBorderStyle;
        int nColSpan;
        int nRowSpan;
    };
    const Case cases[] = {
        { L"", TRUE, 0, 0, 1, 1 },
        { L"border=3", TRUE, 3, 1, 1, 1 },
        { L"border=3", FALSE, 1, 1, 1, 1 },
        { L"border=3 borderstyle=dotted", TRUE, 1, 3, 1, 1 },
        { L"borderstyle=dashed", TRUE, 1, 2, 1, 1 },
        { L"borderstyle=double border=4", TRUE, 1, 6, 1, 1 },
        { L"border=0 borderstyle=solid", TRUE, 1, 1, 1, 1 },
        { L"borderstyle=solid border=0", TRUE, 0, 0, 1, 1 },
        { L"border=2 borderstyle=none", TRUE, 0, 0, 1, 1 },
        { L"rowspan=2 colspan=3", FALSE, 0, 0, 3, 2 },
        { L"colspan=0 rowspan=0", FALSE, 0, 0, 1, 1 },
        { L"colspan=-3", FALSE, 0, 0, 3, 1 },
        { L"colspan=5000 rowspan=99999999999", FALSE, 0, 0, MARKUP_MAX_TABLE_SPAN, MARKUP_MAX_TABLE_SPAN },
        { L"colspan=\"2\"", FALSE, 0, 0, 2, 1 },
        { L"COLSPAN=2", FALSE, 0, 0, 1, 1 },
    };
    CMarkupDrawer drawer;
    for (const Case& c : cases) {
        HtmlStyle style;
        CSize span = drawer.ParseTableAttributes(c.pszAttributes, c.bTable, style);
        EXPECT_EQ(c.nBorderWidth, style.m_nBorderWidth) << Narrow(c.pszAttributes);
        EXPECT_EQ(c.nBorderStyle, style.m_nBorderStyle) << Narrow(c.pszAttributes);
        EXPECT_EQ(c.nColSpan, span.cx) << Narrow(c.pszAttributes);
        EXPECT_EQ(c.nRowSpan, span.cy) << Narrow(c.pszAttributes);
    }
}

TEST(MarkupAttributesTest, TableColoursAndSizes)
{
    CMarkupDrawer drawer;
    HtmlStyle cell;
    drawer.ParseTableAttributes(L"bgcolor=red", FALSE, cell);
    EXPECT_EQ(0, cell.m_nBkEffect);
    EXPECT_EQ(RGB(255, 0, 0), cell.m_crBkgnd);

    HtmlStyle gradient;
    drawer.ParseTableAttributes(L"bgeffect=vgradient bgcolor=red bgendcolor=#0000ff bgmidcolor=lime", TRUE, gradient);
    EXPECT_EQ(2, gradient.m_nBkEffect);
    EXPECT_EQ(RGB(0, 0, 255), gradient.m_crBkgndEnd);
    EXPECT_EQ(RGB(0, 255, 0), gradient.m_crBkgndMid);

    HtmlStyle numbered;
    drawer.ParseTableAttributes(L"bgeffect=20", TRUE, numbered);
    EXPECT_EQ(20, numbered.m_nBkEffect);

    HtmlStyle table;
    drawer.ParseTableAttributes(
        L"cellpadding=4 cellspacing=2 background=\"file:a.bmp\" width=50 height=20 align=center valign=bottom "
        L"bordercolorlight=red bordercolordark=blue",
        TRUE, table);
    EXPECT_EQ(4, table.m_nMargin);
    EXPECT_EQ(2, table.m_nPadding);
    EXPECT_EQ("file:a.bmp", Narrow(table.m_sBkImage));
    EXPECT_EQ(50, table.m_nWidth);
    EXPECT_EQ(20, table.m_nHeight);
    EXPECT_EQ(1, table.m_nAlign);
    EXPECT_EQ(2, table.m_nVAlign);
    EXPECT_EQ(RGB(255, 0, 0), table.m_crBorderLight);
    EXPECT_EQ(RGB(0, 0, 255), table.m_crBorderDark);

    // Padding, spacing and the background image belong to tables only.
    HtmlStyle row;
    drawer.ParseTableAttributes(L"cellpadding=4 cellspacing=2 background=x", FALSE, row);
    EXPECT_EQ(2, row.m_nMargin);
    EXPECT_EQ(0, row.m_nPadding);
    EXPECT_TRUE(row.m_sBkImage.IsEmpty());

    drawer.m_bIsEnabled = FALSE;
    drawer.m_crDisabled = RGB(5, 5, 5);
    HtmlStyle disabled;
    drawer.ParseTableAttributes(L"bgcolor=red bgeffect=metal bordercolor=blue", FALSE, disabled);
    EXPECT_EQ(-1, disabled.m_nBkEffect);
    EXPECT_EQ(RGB(255, 255, 255), disabled.m_crBkgnd);
    EXPECT_EQ(RGB(5, 5, 5), disabled.m_crBorderLight);
    EXPECT_EQ(RGB(5, 5, 5), disabled.m_crBorderDark);
}

TEST(MarkupAttributesTest, ImageRecord)
{
    CMarkupDrawer drawer;
    HtmlImage image;
    EXPECT_EQ(100, image.m_nWidth);
    EXPECT_TRUE(image.m_bWidthPercent);
    EXPECT_EQ(RGB(255, 0, 255), image.m_crMask);

    drawer.ParseImageAttributes(
        L"idres=5 iddll=6 index=2 cx=16 cy=15 speed=3 width=50% height=20 mask=#00ff00 style=gs file=a.bmp "
        L"srcdll=lib.dll",
        image);
    EXPECT_EQ(5, image.m_nIdRes);
    EXPECT_EQ(6, image.m_nIdDll);
    EXPECT_EQ(2, image.m_nIndex);
    EXPECT_EQ(16, image.m_nCx);
    EXPECT_EQ(15, image.m_nCy);
    EXPECT_EQ(3, image.m_nSpeed);
    EXPECT_EQ(50, image.m_nWidth);
    EXPECT_TRUE(image.m_bWidthPercent);
    EXPECT_EQ(20, image.m_nHeight);
    EXPECT_FALSE(image.m_bHeightPercent);
    EXPECT_TRUE(image.m_bUseMask);
    EXPECT_EQ(RGB(0, 255, 0), image.m_crMask);
    EXPECT_EQ(0x201, image.m_nStyle);
    EXPECT_EQ(0x201, image.m_nHotStyle);
    EXPECT_EQ("a.bmp", Narrow(image.m_sFile));
    EXPECT_EQ("lib.dll", Narrow(image.m_sSrcDll));

    // An empty file keeps the file given before; hotstyle alone leaves style.
    drawer.ParseImageAttributes(L"hotstyle=d handle=0x80001234 file=\"\"", image);
    EXPECT_EQ("a.bmp", Narrow(image.m_sFile));
    EXPECT_EQ(0x201, image.m_nStyle);
    EXPECT_EQ(2, image.m_nHotStyle);
    EXPECT_EQ((int)0x80001234u, image.m_nHandle);
}

TEST(MarkupAttributesTest, ImageStyleLetters)
{
    struct Case
    {
        const wchar_t* pszValue;
        BOOL bGradient;
        int cx;
        int cy;
        int nFlags;
    };
    const Case cases[] = {
        { L"", TRUE, 4, 4, 0 },      { L"gs", TRUE, 4, 4, 0x201 }, { L"sg", FALSE, 4, 4, 0x101 },
        { L"dl", TRUE, 4, 4, 6 },    { L"gdlx", TRUE, 4, 4, 7 },   { L"s", TRUE, 0, 0, 0 },
        { L"s", TRUE, 0, 3, 0x200 }, { L"GS", TRUE, 4, 4, 0 },
    };
    for (const Case& c : cases) {
        CMarkupDrawer drawer;
        drawer.m_bShadowGradient = c.bGradient;
        drawer.m_szShadowOffset = CSize(c.cx, c.cy);
        EXPECT_EQ(c.nFlags, drawer.ParseImageStyle(c.pszValue)) << Narrow(c.pszValue);
    }
}

TEST(MarkupAttributesTest, FontFlags)
{
    struct Case
    {
        const wchar_t* pszValue;
        int nWeight;
        BOOL bItalic;
        BOOL bUnderline;
        BOOL bStrike;
        BOOL bOver;
    };
    const Case cases[] = {
        { L"", 550, TRUE, FALSE, TRUE, FALSE },     { L"-b+iu", 400, TRUE, TRUE, TRUE, FALSE },
        { L"bo", 700, TRUE, FALSE, TRUE, TRUE },    { L"-i-s", 550, FALSE, FALSE, FALSE, FALSE },
        { L"-xi", 550, FALSE, FALSE, TRUE, FALSE }, { L"-iu", 550, FALSE, TRUE, TRUE, FALSE },
    };
    for (const Case& c : cases) {
        HtmlStyle style;
        style.m_nWeight = 550;
        style.m_bItalic = TRUE;
        style.m_bStrikeOut = TRUE;
        CMarkupDrawer::ParseFontFlags(c.pszValue, style);
        EXPECT_EQ(c.nWeight, style.m_nWeight) << Narrow(c.pszValue);
        EXPECT_EQ(c.bItalic, style.m_bItalic) << Narrow(c.pszValue);
        EXPECT_EQ(c.bUnderline, style.m_bUnderline) << Narrow(c.pszValue);
        EXPECT_EQ(c.bStrike, style.m_bStrikeOut) << Narrow(c.pszValue);
        EXPECT_EQ(c.bOver, style.m_bOverline) << Narrow(c.pszValue);
    }
}

TEST(MarkupAttributesTest, BackgroundEffectNames)
{
    const wchar_t* const names[] = { L"transparent", L"solid",      L"hgradient",  L"vgradient", L"hcgradient",
                                     L"vcgradient",  L"3hgradient", L"3vgradient", L"noise",     L"diagshade",
                                     L"hshade",      L"vshade",     L"hbump",      L"vbump",     L"softbump",
                                     L"hardbump",    L"metal" };
    CMarkupDrawer drawer;
    int nId = -1;
    for (const wchar_t* pszName : names)
        EXPECT_EQ(nId++, drawer.ParseBackgroundEffect(99, pszName)) << Narrow(pszName);
    EXPECT_EQ(99, drawer.ParseBackgroundEffect(99, L""));
    EXPECT_EQ(7, drawer.ParseBackgroundEffect(99, L"7"));
    EXPECT_EQ(0, drawer.ParseBackgroundEffect(99, L"Metal"));
}

TEST(MarkupAttributesTest, SmallHelpers)
{
    EXPECT_TRUE(CMarkupDrawer::EndsWithPercent(L"50%"));
    EXPECT_TRUE(CMarkupDrawer::EndsWithPercent(L"%"));
    EXPECT_FALSE(CMarkupDrawer::EndsWithPercent(L"50"));
    EXPECT_FALSE(CMarkupDrawer::EndsWithPercent(L""));
    EXPECT_EQ("new", Narrow(CMarkupDrawer::ValueOrDefault(L"new", L"old")));
    EXPECT_EQ("old", Narrow(CMarkupDrawer::ValueOrDefault(L"", L"old")));
}
