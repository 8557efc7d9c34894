// The words of the mark-up: the entity and tag tables, tag and colour
// lookup, and the text preparation that every text goes through first.
#include "MarkupDrawer.h"

#include <string>

void CMarkupDrawer::SetEntity(LPCWSTR pszEntity, LPCWSTR pszText)
{
    m_mapEntities[CString(pszEntity)] = CString(pszText);
}

void CMarkupDrawer::SetTag(LPCWSTR pszStyle, LPCWSTR pszTag, int nId)
{
    HtmlTagInfo info;
    info.nId = nId;
    info.sStyle = pszStyle;
    m_mapTags[CString(pszTag)] = info;
}

void CMarkupDrawer::SetColorName(LPCWSTR pszName, COLORREF cr)
{
    m_mapColors[CString(pszName)] = cr;
}

void CMarkupDrawer::FillEntityTable()
{
    SetEntity(L"&amp;", L"&");
    // The bullet, euro and trade mark are the real characters, not their
    // code page 1252 positions, which are C1 control codes in Unicode text.
    SetEntity(L"&bull;", L"\x2022");
    SetEntity(L"&copy;", L"\x00A9");
    SetEntity(L"&euro;", L"\x20AC");
    SetEntity(L"&gt;", L">");
    SetEntity(L"&iquest;", L"\x00BF");
    SetEntity(L"&lt;", L"<<");  // the run scanner reads "<<" as one '<'
    SetEntity(L"&nbsp;", L" ");
    SetEntity(L"&para;", L"\x00B6");
    SetEntity(L"&pound;", L"\x00A3");
    SetEntity(L"&quot;", L"\"");
    SetEntity(L"&reg;", L"\x00AE");
    SetEntity(L"&trade;", L"\x2122");
}

void CMarkupDrawer::FillTagTable()
{
    static const struct
    {
        LPCWSTR pszTag;
        int nId;
        LPCWSTR pszStyle;
    } rows[] = {
        { L"b", MARKUP_TAG_BOLD, L"bold" },
        { L"i", MARKUP_TAG_ITALIC, L"italic" },
        { L"em", MARKUP_TAG_ITALIC, L"italic" },
        { L"u", MARKUP_TAG_UNDERLINE, L"underline" },
        { L"s", MARKUP_TAG_STRIKEOUT, L"strikeout" },
        { L"strike", MARKUP_TAG_STRIKEOUT, L"strikeout" },
        { L"font", MARKUP_TAG_FONT, L"font" },
        { L"hr", MARKUP_TAG_HR, L"" },
        { L"br", MARKUP_TAG_BR, L"" },
        { L"\n", MARKUP_TAG_BR, L"" },
        { L"t", MARKUP_TAG_TAB, L"" },
        { L"\t", MARKUP_TAG_TAB, L"" },
        { L"left", MARKUP_TAG_LEFT, L"left" },
        { L"center", MARKUP_TAG_CENTER, L"center" },
        { L"right", MARKUP_TAG_RIGHT, L"right" },
        { L"justify", MARKUP_TAG_JUSTIFY, L"justify" },
        { L"baseline", MARKUP_TAG_BASELINE, L"baseline" },
        { L"top", MARKUP_TAG_TOP, L"top" },
        { L"vcenter", MARKUP_TAG_VCENTER, L"vcenter" },
        { L"middle", MARKUP_TAG_VCENTER, L"vcenter" },
        { L"bottom", MARKUP_TAG_BOTTOM, L"vcenter" },
        { L"bmp", MARKUP_TAG_BMP, L"" },
        { L"icon", MARKUP_TAG_ICON, L"" },
        { L"ilst", MARKUP_TAG_ILST, L"" },
        { L"string", MARKUP_TAG_STRING, L"" },
        { L"span", MARKUP_TAG_SPAN, L"span" },
        { L"a", MARKUP_TAG_LINK, L"link" },
    };
    for (const auto& row : rows)
        SetTag(row.pszStyle, row.pszTag, row.nId);
    // Tags that apply the style-sheet rule of their own name.
    static const LPCWSTR sheetTags[] = {
        L"body", L"h1", L"h2", L"h3", L"h4", L"h5", L"h6", L"code", L"pre", L"big", L"small", L"sub", L"sup",
    };
    for (LPCWSTR pszTag : sheetTags)
        SetTag(pszTag, pszTag, MARKUP_TAG_SHEET);
}

int CMarkupDrawer::LookupTag(const CString& sTag, CString& sStyle, BOOL& bClosing) const
{
    sStyle.Empty();
    bClosing = sTag.GetAt(0) == L'/';
    auto it = m_mapTags.find(bClosing ? sTag.Mid(1) : sTag);
    if (it == m_mapTags.end())
        return MARKUP_TAG_NONE;
    sStyle = it->second.sStyle;
    return it->second.nId;
}

COLORREF CMarkupDrawer::GetColorByName(const CString& sName, COLORREF crDefault) const
{
    if (!m_bIsEnabled)
        return m_crDisabled;
    auto it = m_mapColors.find(sName);
    return it == m_mapColors.end() ? crDefault : it->second;
}

void CMarkupDrawer::ExpandEntities()
{
    m_sText = ExpandEntities(MarkupSpan(m_sText));
}

// One pass from left to right: what an entity turns into is never read
// again, so an escaped entity ("&amp;lt;") shows as written ("&lt;").
CString CMarkupDrawer::ExpandEntities(MarkupSpan text) const
{
    std::wstring sFirst;
    for (const auto& row : m_mapEntities)
        if (!row.first.IsEmpty() && sFirst.find(row.first.GetAt(0)) == std::wstring::npos)
            sFirst += row.first.GetAt(0);

    std::wstring out;
    out.reserve(text.n + text.n / 8 + 16);
    for (int i = 0; i < text.n;) {
        wchar_t ch = text.p[i];
        if (sFirst.find(ch) != std::wstring::npos) {
            const CString* pBest = NULL;
            int nBest = 0;
            for (const auto& row : m_mapEntities) {
                int nLen = row.first.GetLength();
                if (nLen > nBest && nLen <= text.n - i && wmemcmp(text.p + i, row.first.GetString(), nLen) == 0) {
                    pBest = &row.second;
                    nBest = nLen;
                }
            }
            if (pBest) {
                out.append(pBest->GetString(), pBest->GetLength());
                i += nBest;
                continue;
            }
        }
        ++i;
        if (ch == L'\r')
            continue;
        if (ch == L'\n' || ch == L'\t') {
            if (m_bConvertBreaks)
                out += ch == L'\n' ? L"<br>" : L"<t>";
            continue;
        }
        out += ch;
    }
    return CString(out);
}
