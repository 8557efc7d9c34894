// Readers of tag attributes: table, row and cell attributes into a style,
// image attributes into an image record, the font tag's flag letters,
// image effect letters and background effect names.
#include "MarkupDrawer.h"

#include <stdlib.h>

namespace {

int ClampSpan(int n)
{
    return n < 1 ? 1 : (n > MARKUP_MAX_TABLE_SPAN ? MARKUP_MAX_TABLE_SPAN : n);
}

}  // namespace

HtmlImage::HtmlImage()
    : m_nIndex(0),
      m_nIdRes(0),
      m_nIdDll(0),
      m_nHandle(0),
      m_nCx(0),
      m_nCy(0),
      m_nWidth(100),
      m_nHeight(100),
      m_nSpeed(0),
      m_nStyle(0),
      m_nHotStyle(0),
      m_bUseMask(FALSE),
      m_bWidthPercent(TRUE),
      m_bHeightPercent(TRUE),
      m_crMask(RGB(255, 0, 255))
{}

CSize CMarkupDrawer::ParseTableAttributes(const CString& sAttributes, BOOL bTable, HtmlStyle& style)
{
    int nColSpan = 1, nRowSpan = 1;
    if (sAttributes.IsEmpty())
        return CSize(nColSpan, nRowSpan);
    MarkupSpan attributes(sAttributes);
    int nPos = 0;
    CString sName;
    for (;;) {
        CString sValue = GetNextAttribute(attributes, nPos, sName);
        if (sName.IsEmpty())
            break;
        if (bTable && sName == L"cellpadding") {
            style.m_nMargin = ParseSize(style.m_nMargin, sValue, FALSE);
        } else if (bTable && sName == L"cellspacing") {
            style.m_nPadding = ParseSize(style.m_nPadding, sValue, FALSE);
        } else if (bTable && sName == L"background") {
            style.m_sBkImage = sValue;
        } else if (sName == L"rowspan") {
            nRowSpan = ParseSize(1, sValue, FALSE);
        } else if (sName == L"colspan") {
            nColSpan = ParseSize(1, sValue, FALSE);
        } else if (sName == L"border") {
            style.m_nBorderWidth = ParseSize(style.m_nBorderWidth, sValue, FALSE);
            if (style.m_nBorderWidth == 0 || style.m_nBorderStyle == 0)
                style.m_nBorderStyle = style.m_nBorderWidth != 0 ? 1 : 0;
        } else if (sName == L"borderstyle") {
            style.m_nBorderStyle = ParseBorderStyle(sValue, style.m_nBorderStyle);
            if (style.m_nBorderStyle != 0 && style.m_nBorderWidth == 0)
                style.m_nBorderWidth = 1;
        } else if (sName == L"bordercolor") {
            COLORREF cr = m_bIsEnabled ? ParseColor(style.m_crBorderLight, sValue) : m_crDisabled;
            style.m_crBorderLight = style.m_crBorderDark = cr;
        } else if (sName == L"bordercolorlight") {
            style.m_crBorderLight = m_bIsEnabled ? ParseColor(style.m_crBorderLight, sValue) : m_crDisabled;
        } else if (sName == L"bordercolordark") {
            style.m_crBorderDark = m_bIsEnabled ? ParseColor(style.m_crBorderDark, sValue) : m_crDisabled;
        } else if (sName == L"bgcolor") {
            if (m_bIsEnabled) {
                style.m_crBkgnd = ParseColor(style.m_crBkgnd, sValue);
                if (style.m_nBkEffect < 0)
                    style.m_nBkEffect = 0;
            }
        } else if (sName == L"bgmidcolor") {
            if (m_bIsEnabled)
                style.m_crBkgndMid = ParseColor(style.m_crBkgndMid, sValue);
        } else if (sName == L"bgendcolor") {
            if (m_bIsEnabled)
                style.m_crBkgndEnd = ParseColor(style.m_crBkgndEnd, sValue);
        } else if (sName == L"bgeffect") {
            if (m_bIsEnabled)
                style.m_nBkEffect = ParseBackgroundEffect(style.m_nBkEffect, sValue);
        } else if (sName == L"align") {
            style.m_nAlign = ParseTextAlign(sValue, style.m_nAlign);
        } else if (sName == L"valign") {
            style.m_nVAlign = ParseVerticalAlign(sValue, style.m_nVAlign);
        } else if (sName == L"width") {
            style.m_nWidth = ParseSize(style.m_nWidth, sValue, FALSE);
        } else if (sName == L"height") {
            style.m_nHeight = ParseSize(style.m_nHeight, sValue, FALSE);
        }
    }
    // Only a table's own solid border is wider than one pixel.
    if (style.m_nBorderStyle == 0 || style.m_nBorderWidth == 0)
        style.m_nBorderStyle = style.m_nBorderWidth = 0;
    else if (style.m_nBorderStyle != 1 || !bTable)
        style.m_nBorderWidth = 1;
    // A span of 0 or less would make a cell cover nothing; a huge one a grid
    // too large to hold. The layout clamps it further to what remains.
    return CSize(ClampSpan(nColSpan), ClampSpan(nRowSpan));
}

void CMarkupDrawer::ParseImageAttributes(const CString& sAttributes, HtmlImage& image)
{
    if (sAttributes.IsEmpty())
        return;
    MarkupSpan attributes(sAttributes);
    int nPos = 0;
    CString sName;
    for (;;) {
        CString sValue = GetNextAttribute(attributes, nPos, sName);
        if (sName.IsEmpty())
            break;
        if (sName == L"index") {
            image.m_nIndex = ParseSize(image.m_nIndex, sValue, FALSE);
        } else if (sName == L"idres") {
            image.m_nIdRes = ParseSize(image.m_nIdRes, sValue, FALSE);
        } else if (sName == L"iddll") {
            image.m_nIdDll = ParseSize(image.m_nIdDll, sValue, FALSE);
        } else if (sName == L"handle") {
            // A handle is a bit pattern, not a size: read whole, even past
            // 0x7FFFFFFF; whether it is an image is checked where it is used.
            if (!sValue.IsEmpty())
                image.m_nHandle = (int)wcstoul(sValue.GetString(), NULL, 0);
        } else if (sName == L"cx") {
            image.m_nCx = ParseSize(image.m_nCx, sValue, FALSE);
        } else if (sName == L"cy") {
            image.m_nCy = ParseSize(image.m_nCy, sValue, FALSE);
        } else if (sName == L"speed") {
            image.m_nSpeed = ParseSize(image.m_nSpeed, sValue, FALSE);
        } else if (sName == L"width") {
            image.m_nWidth = ParseSize(image.m_nWidth, sValue, FALSE);
            image.m_bWidthPercent = EndsWithPercent(sValue);
        } else if (sName == L"height") {
            image.m_nHeight = ParseSize(image.m_nHeight, sValue, FALSE);
            image.m_bHeightPercent = EndsWithPercent(sValue);
        } else if (sName == L"file") {
            image.m_sFile = ValueOrDefault(sValue, image.m_sFile);
        } else if (sName == L"srcdll") {
            image.m_sSrcDll = ValueOrDefault(sValue, image.m_sSrcDll);
        } else if (sName == L"mask") {
            image.m_crMask = ParseColor(image.m_crMask, sValue);
            image.m_bUseMask = TRUE;
        } else if (sName == L"style") {
            image.m_nStyle = image.m_nHotStyle = ParseImageStyle(sValue);
        } else if (sName == L"hotstyle") {
            image.m_nHotStyle = ParseImageStyle(sValue);
        }
    }
}

void CMarkupDrawer::ParseFontFlags(const CString& sValue, HtmlStyle& style)
{
    BOOL bOn = TRUE;
    for (int i = 0; i < sValue.GetLength(); ++i) {
        switch (sValue.GetAt(i)) {
        case L'-': bOn = FALSE; continue;
        case L'+': bOn = TRUE; continue;
        case L'b': style.m_nWeight = bOn ? FW_BOLD : FW_NORMAL; break;
        case L'i': style.m_bItalic = bOn; break;
        case L'u': style.m_bUnderline = bOn; break;
        case L's': style.m_bStrikeOut = bOn; break;
        case L'o': style.m_bOverline = bOn; break;
        default: continue;
        }
        bOn = TRUE;
    }
}

int CMarkupDrawer::ParseImageStyle(const CString& sValue) const
{
    int nFlags = 0;
    for (int i = 0; i < sValue.GetLength(); ++i) {
        switch (sValue.GetAt(i)) {
        case L'g': nFlags |= 0x1; break;
        case L'd': nFlags |= 0x2; break;
        case L'l': nFlags |= 0x4; break;
        case L's':
            if (m_szShadowOffset.cx != 0 || m_szShadowOffset.cy != 0)
                nFlags |= m_bShadowGradient ? 0x200 : 0x100;
            break;
        }
    }
    return nFlags;
}

int CMarkupDrawer::ParseBackgroundEffect(int nCurrent, const CString& sValue)
{
    if (sValue.IsEmpty())
        return nCurrent;
    static const struct
    {
        LPCWSTR pszName;
        int nId;
    } effects[] = {
        { L"transparent", -1 }, { L"solid", 0 },      { L"hgradient", 1 },  { L"vgradient", 2 }, { L"hcgradient", 3 },
        { L"vcgradient", 4 },   { L"3hgradient", 5 }, { L"3vgradient", 6 }, { L"noise", 7 },     { L"diagshade", 8 },
        { L"hshade", 9 },       { L"vshade", 10 },    { L"hbump", 11 },     { L"vbump", 12 },    { L"softbump", 13 },
        { L"hardbump", 14 },    { L"metal", 15 },
    };
    for (const auto& effect : effects)
        if (sValue == effect.pszName)
            return effect.nId;
    return ParseSize(nCurrent, sValue, FALSE);
}

BOOL CMarkupDrawer::EndsWithPercent(const CString& sValue)
{
    return !sValue.IsEmpty() && sValue.GetAt(sValue.GetLength() - 1) == L'%';
}

CString CMarkupDrawer::ValueOrDefault(const CString& sValue, const CString& sCurrent)
{
    return sValue.IsEmpty() ? sCurrent : sValue;
}
