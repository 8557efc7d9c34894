// The object tags of a mark-up run: rules, line breaks, tabs, bitmaps, icons,
// image-list frames and resource strings.
#include "toolkit/MarkupRun.h"

#include "toolkit/MarkupExtent.h"

#include <wctype.h>

#include <algorithm>

namespace {

const int kMaxRuleThickness = 2048;

// The leading decimal number of a text (blanks and a sign allowed), held
// within the layout's range; 0 without digits.
int LeadingNumber(LPCWSTR p)
{
    while (*p == L' ' || *p == L'\t')
        ++p;
    bool bNegative = false;
    if (*p == L'+' || *p == L'-')
        bNegative = *p++ == L'-';
    long long n = 0;
    for (; *p >= L'0' && *p <= L'9'; ++p)
        if (n <= MARKUP_MAX_EXTENT)
            n = n * 10 + (*p - L'0');
    return MarkupClampExtent(bNegative ? -n : n);
}

int Scale(int nBase, int nValue, BOOL bPercent)
{
    const int n = bPercent ? ::MulDiv(nBase, nValue, 100) : nValue;
    return std::max(0, std::min(n, MARKUP_MAX_EXTENT));
}

}  // namespace

int CMarkupRun::ReadCount(const CString& sAttributes)
{
    // "br=3": the character after the name (the '=') is skipped.
    if (sAttributes.IsEmpty())
        return 1;
    return LeadingNumber(sAttributes.GetString() + 1);
}

void CMarkupRun::ObjectTag(int nId, const CString& sAttributes)
{
    switch (nId) {
    case MARKUP_TAG_HR: Rule(sAttributes); break;
    case MARKUP_TAG_BR: EndLine(ReadCount(sAttributes), FALSE); break;
    case MARKUP_TAG_TAB: {
        const int x = m_x;
        m_d.AdvanceTab(ReadCount(sAttributes), m_x);
        // Any tab stop is a move, even where x is held at the layout's edge.
        Holds(m_d.m_nTabSize > 0 ? 1 : 0);
        // The tab's room is content the line no longer has to spread.
        m_nRemainWidth -= m_x - x;
        break;
    }
    case MARKUP_TAG_BMP:
    case MARKUP_TAG_ICON:
    case MARKUP_TAG_ILST: {
        HtmlImage image;
        m_d.ParseImageAttributes(sAttributes, image);
        if (nId == MARKUP_TAG_BMP)
            Bitmap(image);
        else if (nId == MARKUP_TAG_ICON)
            Icon(image);
        else if (image.m_nIdRes != 0 || !image.m_sFile.IsEmpty() || image.m_nIdDll != 0 || image.m_nHandle != 0)
            ImageStrip(image);
        else
            ImageListIcon(image);
        break;
    }
    case MARKUP_TAG_STRING: ResourceString(sAttributes); break;
    default: break;
    }
}

void CMarkupRun::Rule(const CString& sAttributes)
{
    HtmlStyle rule = m_d.m_curStyle;
    rule.m_nBorderWidth = 1;
    m_d.ApplyStyleRule(rule, L"hr");
    int nThickness = rule.m_nBorderWidth;
    COLORREF crLine = rule.m_crText;
    int nWidth = 100;
    BOOL bPercent = TRUE;
    const MarkupSpan text(sAttributes);
    int nPos = 0;
    while (nPos < text.n) {
        CString sName;
        const CString sValue = CMarkupDrawer::GetNextAttribute(text, nPos, sName);
        if (sName.IsEmpty())
            break;
        if (sName == L"width") {
            bPercent = CMarkupDrawer::EndsWithPercent(sValue);
            nWidth = m_d.ParseSize(100, sValue, FALSE);
        } else if (sName == L"size") {
            nThickness = m_d.ParseSize(nThickness, sValue, FALSE);
        } else if (sName == L"color") {
            crLine = m_d.m_bIsEnabled ? m_d.ParseColor(crLine, sValue) : m_d.m_crDisabled;
        }
    }
    // A pen thicker than any screen stalls the rasterizer for minutes: held like the font height.
    nThickness = std::max(0, std::min(nThickness, kMaxRuleThickness));
    nWidth = std::max(0, std::min(nWidth, MARKUP_MAX_EXTENT));
    Holds(bPercent ? 1 : nWidth);
    if (bPercent) {
        if (Measuring()) {
            m_d.m_line.nPercentWidth = MarkupAdd(m_d.m_line.nPercentWidth, nWidth);
            nWidth = 1;
        } else {
            nWidth = ::MulDiv(m_nW, nWidth, 100);
        }
    }
    if (Measuring()) {
        m_d.m_line.nHeight = std::max(m_d.m_line.nHeight, MarkupAdd(nThickness, 8));
        m_d.m_line.nAlign = m_d.m_curStyle.m_nAlign;
    } else {
        const int yMid = m_y + m_d.m_line.nHeight / 2;
        m_d.m_drawManager.DrawLine(m_d.m_hDC, m_x, yMid, m_x + nWidth, yMid, crLine, CDrawManager::PEN_SOLID,
                                   nThickness);
        m_nRemainWidth -= nWidth;
    }
    m_x = MarkupAdd(m_x, nWidth);
}

CMarkupRun::ImageBox CMarkupRun::MakeBox(const HtmlImage& image, int cx, int cy) const
{
    ImageBox box;
    box.cx = std::max(0, cx);
    box.cy = std::max(0, cy);
    box.bShadow = ((image.m_nStyle | image.m_nHotStyle) &
                   (CDrawManager::IMAGE_EFFECT_SHADOW | CDrawManager::IMAGE_EFFECT_SOFTSHADOW)) != 0;
    box.cxBox = box.cx;
    box.cyBox = box.cy;
    if (box.bShadow && box.cx != 0 && box.cy != 0) {
        box.cxBox = MarkupAdd(box.cxBox, m_d.m_szShadowOffset.cx);
        box.cyBox = MarkupAdd(box.cyBox, m_d.m_szShadowOffset.cy);
    }
    return box;
}

BOOL CMarkupRun::PlaceImage(const HtmlImage& /*image*/, const ImageBox& box, int& yTop)
{
    int nItem = NextItem();
    if (Measuring()) {
        const int nRoom = m_nW + m_rect.left - m_x;
        // An image wider than the whole line goes on the line it starts, not
        // below an empty one.
        if (m_d.m_nMaxWidth != 0 && m_nW != 0 && box.cxBox > nRoom && m_x != m_xLineStart) {
            RecordBreak(nItem, -1, -1);
            EndLine(1, TRUE);
            NextItem();
        }
        m_d.m_line.nAlign = m_d.m_curStyle.m_nAlign;
    } else {
        int nPiece = 0;
        int nRest = 0;
        if (IsBreakItem(nItem, nPiece, nRest) && nPiece < 0) {
            EndLine(1, TRUE);
            NextItem();
        }
        m_nRemainWidth -= box.cxBox;
    }
    yTop = m_d.PlaceObject(box.cy, m_y);
    if (Measuring() || box.cx == 0 || box.cy == 0)
        return FALSE;
    m_d.AddHyperlinkArea(m_x, yTop, m_x + box.cxBox, yTop + box.cyBox);
    return TRUE;
}

void CMarkupRun::FinishImage(const ImageBox& box)
{
    Holds(box.cxBox);
    m_x = MarkupAdd(m_x, box.cxBox);
}

DWORD CMarkupRun::EffectFor(const HtmlImage& image) const
{
    const BOOL bHot = m_d.m_curStyle.m_nLinkKind != 0 && m_d.m_nCurArea == m_d.m_nHotArea;
    DWORD dwEffect = static_cast<DWORD>(bHot ? image.m_nHotStyle : image.m_nStyle);
    if (!m_d.m_bIsEnabled)
        dwEffect = (dwEffect & 0xFF00) | CDrawManager::IMAGE_EFFECT_MONOCHROME;
    return dwEffect;
}

HBITMAP CMarkupRun::LoadBitmapSource(const HtmlImage& image, BOOL& bOwned)
{
    bOwned = TRUE;
    if (image.m_nIdRes != 0)
        return m_d.LoadResBitmap(static_cast<UINT>(image.m_nIdRes));
    if (!image.m_sFile.IsEmpty())
        return m_d.LoadFileBitmap(image.m_sFile);
    if (image.m_nIdDll != 0)
        return m_d.LoadDllBitmap(image.m_sSrcDll.IsEmpty() ? NULL : image.m_sSrcDll.GetString(),
                                 static_cast<UINT>(image.m_nIdDll));
    bOwned = FALSE;
    return CMarkupDrawer::BitmapFromHandle(image.m_nHandle);
}

void CMarkupRun::Bitmap(const HtmlImage& image)
{
    BOOL bOwned = FALSE;
    HBITMAP hBitmap = LoadBitmapSource(image, bOwned);
    if (hBitmap == NULL)
        return;
    SIZE size = { 0, 0 };
    m_d.m_drawManager.GetSizeOfBitmap(hBitmap, &size);
    const ImageBox box = MakeBox(image, Scale(size.cx, image.m_nWidth, image.m_bWidthPercent),
                                 Scale(size.cy, image.m_nHeight, image.m_bHeightPercent));
    int yTop = 0;
    if (PlaceImage(image, box, yTop))
        m_d.m_drawManager.DrawBitmapImage(m_d.m_hDC, m_x, yTop, box.cx, box.cy, hBitmap, image.m_bUseMask,
                                          image.m_crMask, EffectFor(image), box.bShadow, m_d.m_szShadowOffset.cx,
                                          m_d.m_szShadowOffset.cy, m_d.m_szShadowBlur.cx, m_d.m_szShadowBlur.cy,
                                          m_crShadow);
    FinishImage(box);
    if (bOwned)
        ::DeleteObject(hBitmap);
}

void CMarkupRun::Icon(const HtmlImage& image)
{
    const int cx = Scale(::GetSystemMetrics(SM_CXICON), image.m_nWidth, image.m_bWidthPercent);
    const int cy = Scale(::GetSystemMetrics(SM_CYICON), image.m_nHeight, image.m_bHeightPercent);
    HICON hIcon = NULL;
    BOOL bOwned = TRUE;
    if (image.m_nIdRes != 0) {
        hIcon = static_cast<HICON>(::LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(image.m_nIdRes), IMAGE_ICON,
                                                cx, cy, LR_DEFAULTCOLOR));
    } else if (!image.m_sFile.IsEmpty()) {
        hIcon = static_cast<HICON>(::LoadImageW(NULL, image.m_sFile, IMAGE_ICON, cx, cy, LR_LOADFROMFILE));
    } else if (image.m_nIdDll != 0) {
        hIcon = m_d.LoadIconImage(image.m_sSrcDll.IsEmpty() ? NULL : image.m_sSrcDll.GetString(),
                                  static_cast<UINT>(image.m_nIdDll), cx, cy);
    } else {
        bOwned = FALSE;
        hIcon = CMarkupDrawer::IconFromHandle(image.m_nHandle);
    }
    if (hIcon == NULL)
        return;
    SIZE size = { 0, 0 };
    m_d.m_drawManager.GetSizeOfIcon(hIcon, &size);
    const ImageBox box = MakeBox(image, size.cx, size.cy);
    int yTop = 0;
    if (PlaceImage(image, box, yTop))
        m_d.m_drawManager.DrawIconImage(m_d.m_hDC, m_x, yTop, box.cx, box.cy, hIcon, EffectFor(image), box.bShadow,
                                        m_d.m_szShadowOffset.cx, m_d.m_szShadowOffset.cy, m_d.m_szShadowBlur.cx,
                                        m_d.m_szShadowBlur.cy, m_crShadow);
    FinishImage(box);
    if (bOwned)
        ::DestroyIcon(hIcon);
}

void CMarkupRun::ImageStrip(const HtmlImage& image)
{
    BOOL bOwned = FALSE;
    HBITMAP hBitmap = LoadBitmapSource(image, bOwned);
    if (hBitmap == NULL)
        return;
    SIZE size = { 0, 0 };
    m_d.m_drawManager.GetSizeOfBitmap(hBitmap, &size);
    int cxFrame = image.m_nCx;
    int cyFrame = image.m_nCy;
    if (cxFrame == 0 && cyFrame == 0)
        cxFrame = cyFrame = std::min(size.cx, size.cy);
    else if (cxFrame == 0)
        cxFrame = cyFrame;
    else if (cyFrame == 0)
        cyFrame = cxFrame;
    // A frame of no size divides nothing into frames: the tag draws nothing.
    if (cxFrame > 0 && cyFrame > 0) {
        const int nColumns = size.cx / cxFrame;
        const int nRows = size.cy / cyFrame;
        const int nFrames = nColumns * nRows;
        int nFrame = image.m_nIndex;
        if (image.m_nSpeed != 0) {
            if (Measuring()) {
                HtmlAnimation animation;
                animation.nFrame = image.m_nIndex;
                animation.nFrameCount = nFrames;
                animation.nTick = 0;
                animation.nTicksPerFrame = image.m_nSpeed;
                m_d.m_arrAnimations.push_back(animation);
            } else {
                ++m_d.m_nCurAnimation;
                if (m_d.m_nCurAnimation >= 0 && static_cast<size_t>(m_d.m_nCurAnimation) < m_d.m_arrAnimations.size())
                    nFrame = m_d.m_arrAnimations[static_cast<size_t>(m_d.m_nCurAnimation)].nFrame;
            }
        }
        if (nFrames > 0 && nFrame >= 0 && nFrame < nFrames) {
            const ImageBox box = MakeBox(image, Scale(cxFrame, image.m_nWidth, image.m_bWidthPercent),
                                         Scale(cyFrame, image.m_nHeight, image.m_bHeightPercent));
            int yTop = 0;
            if (PlaceImage(image, box, yTop))
                m_d.m_drawManager.DrawImageListFrame(m_d.m_hDC, m_x, yTop, box.cx, box.cy, hBitmap, nFrame, cxFrame,
                                                     cyFrame, image.m_bUseMask, image.m_crMask, EffectFor(image),
                                                     box.bShadow, m_d.m_szShadowOffset.cx, m_d.m_szShadowOffset.cy,
                                                     m_d.m_szShadowBlur.cx, m_d.m_szShadowBlur.cy, m_crShadow);
            FinishImage(box);
        }
    }
    if (bOwned)
        ::DeleteObject(hBitmap);
}

void CMarkupRun::ImageListIcon(const HtmlImage& image)
{
    ::InitCommonControls();
    HIMAGELIST hList = m_d.m_hImageList;
    if (hList == NULL || image.m_nIndex < 0 || image.m_nIndex >= ::ImageList_GetImageCount(hList))
        return;
    HICON hIcon = ::ImageList_GetIcon(hList, image.m_nIndex, 0);
    if (hIcon == NULL)
        return;
    const ImageBox box = MakeBox(image, Scale(m_d.m_szImageList.cx, image.m_nWidth, image.m_bWidthPercent),
                                 Scale(m_d.m_szImageList.cy, image.m_nHeight, image.m_bHeightPercent));
    int yTop = 0;
    if (PlaceImage(image, box, yTop))
        m_d.m_drawManager.DrawIconImage(m_d.m_hDC, m_x, yTop, box.cx, box.cy, hIcon, EffectFor(image), box.bShadow,
                                        m_d.m_szShadowOffset.cx, m_d.m_szShadowOffset.cy, m_d.m_szShadowBlur.cx,
                                        m_d.m_szShadowBlur.cy, m_crShadow);
    FinishImage(box);
    ::DestroyIcon(hIcon);
}

void CMarkupRun::ResourceString(const CString& sAttributes)
{
    int nId = 0;
    const MarkupSpan text(sAttributes);
    int nPos = 0;
    while (nPos < text.n) {
        CString sName;
        const CString sValue = CMarkupDrawer::GetNextAttribute(text, nPos, sName);
        if (sName.IsEmpty())
            break;
        if (sName == L"idres" || sName == L"iddll")
            nId = m_d.ParseSize(0, sValue, FALSE);
    }
    if (nId == 0)
        return;
    const CString sString = m_d.LoadResourceString(static_cast<UINT>(nId));
    if (sString.IsEmpty())
        return;
    const HDC hDC = m_d.m_hDC;
    ::SetTextJustification(hDC, 0, 0);
    SIZE size = { 0, 0 };
    ::GetTextExtentPoint32W(hDC, sString, sString.GetLength(), &size);
    if (Measuring())
        m_d.m_line.nAlign = m_d.m_curStyle.m_nAlign;
    const int yText = m_d.PlaceText(size.cy, m_y);
    if (!Measuring()) {
        m_d.AddHyperlinkArea(m_x, yText, m_x + size.cx, yText + size.cy);
        ::TextOutW(hDC, m_x, yText, sString, sString.GetLength());
        m_nRemainWidth -= size.cx;
    }
    Holds(size.cx);
    m_x = MarkupAdd(m_x, size.cx);
}
