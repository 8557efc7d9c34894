// The mark-up's words: text preparation, run and tag splitting, tag lookup
// and colour names, from tables of cases.
#include "toolkit/MarkupDrawer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
std::string Narrow(const CString& s)
{
    std::string out;
    for (int i = 0; i < s.GetLength(); ++i) {
        wchar_t ch = s.GetAt(i);
        if (ch >= 0x20 && ch < 0x7F)
            out += (char)ch;
        else {
            char buf[16];
            snprintf(buf, sizeof(buf), "\\u%04X", (unsigned)ch);
            out += buf;
        }
    }
    return out;
}

// Each GetNextRun as "T:run" and "G:tag" pieces, in order.
std::vector<std::string> Pieces(const wchar_t* pszText)
{
    CString text(pszText);
    std::vector<std::string> pieces;
    int nPos = 0;
    for (int nGuard = 0; nPos < text.GetLength() && nGuard < 1000; ++nGuard) {
        CString sTag;
        CString sRun = CMarkupDrawer::GetNextRun(text, nPos, sTag);
        if (!sRun.IsEmpty())
            pieces.push_back("T:" + Narrow(sRun));
        if (!sTag.IsEmpty())
            pieces.push_back("G:" + Narrow(sTag));
    }
    return pieces;
}

typedef std::vector<std::string> Strings;
}  // namespace

TEST(MarkupVocabularyTest, TablesHoldTheirRows)
{
    CMarkupDrawer drawer;
    EXPECT_EQ(13u, drawer.m_mapEntities.size());
    EXPECT_EQ(40u, drawer.m_mapTags.size());
    EXPECT_EQ(168u, drawer.m_mapColors.size());
    for (const auto& row : drawer.m_mapColors) {
        CString lower = row.first;
        lower.MakeLower();
        EXPECT_EQ(lower, row.first) << Narrow(row.first);
        EXPECT_EQ(0u, row.second & 0xFF000000u) << Narrow(row.first);
    }
}

TEST(MarkupVocabularyTest, TextPreparation)
{
    struct Case
    {
        const wchar_t* pszIn;
        const wchar_t* pszOut;
    };
    const Case cases[] = {
        { L"", L"" },
        { L"a&lt;b", L"a<<b" },
        { L"&gt;&quot;&nbsp;&amp;", L">\" &" },
        // One pass: what an entity becomes is not read again.
        { L"&amp;lt;", L"&lt;" },
        { L"&amp;amp;", L"&amp;" },
        { L"&euro;&bull;&trade;", L"\x20AC\x2022\x2122" },
        { L"&copy;&reg;&para;&pound;&iquest;", L"\x00A9\x00AE\x00B6\x00A3\x00BF" },
        { L"&unknown; &amp &LT;", L"&unknown; &amp &LT;" },
        { L"&", L"&" },
        { L"a&", L"a&" },
        { L"a\r\nb", L"a<br>b" },
        { L"a\r\n\r\nb", L"a<br><br>b" },
        { L"a\rb", L"ab" },
        { L"a\tb", L"a<t>b" },
        { L"&l\nt;", L"&l<br>t;" },
        { L"<font color=&quot;red&quot;>", L"<font color=\"red\">" },
    };
    CMarkupDrawer drawer;
    for (const Case& c : cases) {
        drawer.m_sText = c.pszIn;
        drawer.ExpandEntities();
        EXPECT_EQ(Narrow(c.pszOut), Narrow(drawer.m_sText)) << Narrow(c.pszIn);
    }
}

TEST(MarkupVocabularyTest, TextPreparationWithoutBreakTags)
{
    CMarkupDrawer drawer;
    drawer.m_bConvertBreaks = FALSE;
    EXPECT_EQ("ab c", Narrow(drawer.ExpandEntities(CString(L"a\r\n\tb c"))));
}

TEST(MarkupVocabularyTest, RunsAndTags)
{
    struct Case
    {
        const wchar_t* pszText;
        Strings pieces;
    };
    const Case cases[] = {
        { L"a<b>c", { "T:a", "G:b", "T:c" } },
        { L"a<<b", { "T:a<", "T:b" } },
        // A '<' that no '>' follows is dropped.
        { L"a<b", { "T:ab" } },
        { L"a<b c<d", { "T:ab cd" } },
        { L"a<>b", { "T:a", "T:>b" } },
        { L"a<", { "T:a<" } },
        { L"<", { "T:<" } },
        { L"<<<b>x", { "T:<", "G:b", "T:x" } },
        { L"<b><i>x</i></b>", { "G:b", "G:i", "T:x", "G:/i", "G:/b" } },
        { L"x<br=2>y", { "T:x", "G:br=2", "T:y" } },
        { L"a<b<c>d", { "T:a", "G:b<c", "T:d" } },
        { L"a<<b<c", { "T:a<", "T:bc" } },
        { L"<a<<b", { "T:a<b" } },
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.pieces, Pieces(c.pszText)) << Narrow(c.pszText);
}

TEST(MarkupVocabularyTest, TagNameAndAttributes)
{
    struct Case
    {
        const wchar_t* pszTag;
        const char* pszName;
        const char* pszAttributes;
    };
    const Case cases[] = {
        { L"font color=red size=3", "font", "color=red size=3" },
        { L"br=2", "br", "=2" },
        { L"br 3", "br", "3" },
        { L"a   href=x", "a", "href=x" },
        { L"b", "b", "" },
        { L"", "", "" },
        { L"/td", "/td", "" },
    };
    for (const Case& c : cases) {
        CString sTag = c.pszTag, sAttributes = L"stale";
        CMarkupDrawer::SplitTagName(sTag, sAttributes);
        EXPECT_EQ(c.pszName, Narrow(sTag)) << Narrow(c.pszTag);
        EXPECT_EQ(c.pszAttributes, Narrow(sAttributes)) << Narrow(c.pszTag);
    }
}

TEST(MarkupVocabularyTest, TagLookup)
{
    struct Case
    {
        const wchar_t* pszTag;
        int nId;
        const char* pszStyle;
        BOOL bClosing;
    };
    const Case cases[] = {
        { L"b", MARKUP_TAG_BOLD, "bold", FALSE },
        { L"/b", MARKUP_TAG_BOLD, "bold", TRUE },
        { L"B", MARKUP_TAG_NONE, "", FALSE },
        { L"em", MARKUP_TAG_ITALIC, "italic", FALSE },
        { L"/em", MARKUP_TAG_ITALIC, "italic", TRUE },
        { L"strike", MARKUP_TAG_STRIKEOUT, "strikeout", FALSE },
        { L"bottom", MARKUP_TAG_BOTTOM, "vcenter", FALSE },
        { L"/middle", MARKUP_TAG_VCENTER, "vcenter", TRUE },
        { L"top", MARKUP_TAG_TOP, "top", FALSE },
        { L"h3", MARKUP_TAG_SHEET, "h3", FALSE },
        { L"/sup", MARKUP_TAG_SHEET, "sup", TRUE },
        { L"a", MARKUP_TAG_LINK, "link", FALSE },
        { L"span", MARKUP_TAG_SPAN, "span", FALSE },
        { L"hr", MARKUP_TAG_HR, "", FALSE },
        { L"\n", MARKUP_TAG_BR, "", FALSE },
        { L"\t", MARKUP_TAG_TAB, "", FALSE },
        { L"ilst", MARKUP_TAG_ILST, "", FALSE },
        { L"table", MARKUP_TAG_NONE, "", FALSE },
        { L"/", MARKUP_TAG_NONE, "", TRUE },
        { L"", MARKUP_TAG_NONE, "", FALSE },
    };
    CMarkupDrawer drawer;
    for (const Case& c : cases) {
        CString sStyle = L"stale";
        BOOL bClosing = 2;
        EXPECT_EQ(c.nId, drawer.LookupTag(c.pszTag, sStyle, bClosing)) << Narrow(c.pszTag);
        EXPECT_EQ(c.pszStyle, Narrow(sStyle)) << Narrow(c.pszTag);
        EXPECT_EQ(c.bClosing, bClosing) << Narrow(c.pszTag);
    }
}

TEST(MarkupVocabularyTest, ColourNames)
{
    const COLORREF crDefault = RGB(1, 2, 3);
    struct Case
    {
        const wchar_t* pszName;
        COLORREF cr;
    };
    const Case cases[] = {
        { L"lightgrey", RGB(211, 211, 211) },
        { L"lightgray", crDefault },
        { L"LightGrey", crDefault },
        { L"darkseagreen", 0x008BBC8F },
        { L"red", RGB(255, 0, 0) },
        { L"aliceblue", RGB(240, 248, 255) },
        { L"yellowgreen", RGB(154, 205, 50) },
        { L"rebeccapurple", crDefault },
        { L"darkslategray", RGB(47, 79, 79) },
        { L"darkslategrey", crDefault },
        { L"fuchsia", RGB(255, 0, 255) },
        { L"navy", RGB(0, 0, 128) },
        { L"", crDefault },
        { L"red ", crDefault },
    };
    CMarkupDrawer drawer;
    for (const Case& c : cases)
        EXPECT_EQ(c.cr, drawer.GetColorByName(c.pszName, crDefault)) << Narrow(c.pszName);
}

TEST(MarkupVocabularyTest, SystemColourNames)
{
    struct Case
    {
        const wchar_t* pszName;
        int nIndex;
    };
    const Case cases[] = {
        { L"activeborder", COLOR_ACTIVEBORDER },
        { L"activecaption", COLOR_ACTIVECAPTION },
        { L"appworkspace", COLOR_APPWORKSPACE },
        { L"background", COLOR_BACKGROUND },
        { L"buttonface", COLOR_BTNFACE },
        { L"buttonhighlight", COLOR_BTNHIGHLIGHT },
        { L"buttonshadow", COLOR_BTNSHADOW },
        { L"buttontext", COLOR_BTNTEXT },
        { L"captiontext", COLOR_CAPTIONTEXT },
        { L"graytext", COLOR_GRAYTEXT },
        { L"highlight", COLOR_HIGHLIGHT },
        { L"highlighttext", COLOR_HIGHLIGHTTEXT },
        { L"inactiveborder", COLOR_INACTIVEBORDER },
        { L"inactivecaption", COLOR_INACTIVECAPTION },
        { L"inactivecaptiontext", COLOR_INACTIVECAPTIONTEXT },
        { L"infobackground", COLOR_INFOBK },
        { L"infotext", COLOR_INFOTEXT },
        { L"menu", COLOR_MENU },
        { L"menutext", COLOR_MENUTEXT },
        { L"scrollbar", COLOR_SCROLLBAR },
        { L"threeddarkshadow", COLOR_3DDKSHADOW },
        { L"threedface", COLOR_BTNFACE },
        { L"threedhighlight", COLOR_BTNHIGHLIGHT },
        { L"threedlightshadow", COLOR_3DLIGHT },
        { L"threedshadow", COLOR_BTNSHADOW },
        { L"window", COLOR_WINDOW },
        { L"windowframe", COLOR_WINDOWFRAME },
        { L"windowtext", COLOR_WINDOWTEXT },
    };
    CMarkupDrawer drawer;
    for (const Case& c : cases)
        EXPECT_EQ(::GetSysColor(c.nIndex), drawer.GetColorByName(c.pszName, 0xFFFFFFFF)) << Narrow(c.pszName);
}

TEST(MarkupVocabularyTest, DisabledDrawerGivesItsColourForEveryName)
{
    CMarkupDrawer drawer;
    drawer.m_bIsEnabled = FALSE;
    drawer.m_crDisabled = RGB(9, 8, 7);
    EXPECT_EQ(RGB(9, 8, 7), drawer.GetColorByName(L"red", 0));
    EXPECT_EQ(RGB(9, 8, 7), drawer.GetColorByName(L"nonsense", 0));
}
