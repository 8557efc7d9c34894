// The mark-up renderer behind the tooltip: one object that measures a small
// HTML dialect with style sheets and paints it into a device context, and
// remembers the hyperlink areas and animations of its last layout.
//
// The class is split by concern:
//   MarkupDrawer.cpp            construction, destruction, entry points, hand
//                               cursor, string resources, notification target
//   MarkupDrawerImages.cpp      image loaders, resource module, handle checks
//   MarkupDrawerBackground.cpp  background images of tables and cells
//   MarkupDrawerVocabulary.cpp  entity and tag tables, LookupTag,
//                               GetColorByName, ExpandEntities
//   MarkupDrawerColors.cpp      the colour-name table
//   MarkupDrawerScan.cpp        run, tag, attribute and table scanners
//   MarkupDrawerStyle.cpp       style record, style stack, style sheets,
//                               ApplyStyleRule, ApplyCssProperties
//   MarkupDrawerValues.cpp      value parsers (sizes, colours, keywords)
//   MarkupDrawerAttributes.cpp  table, image, font-flag and effect readers
//   MarkupDrawerLayout.cpp      LayoutBody and the line machinery
//   MarkupDrawerRun.cpp         RenderRun and its tags
//   MarkupDrawerTable.cpp       tables, rows and cells
//   MarkupDrawerHot.cpp         hot areas, following links, animations
#pragma once

#include "afxwin.h"

#include <map>
#include <vector>

#include "toolkit/DrawManager.h"

// Tag ids of the tag table; 0 is an unknown tag.
enum MarkupTagId
{
    MARKUP_TAG_NONE = 0,
    MARKUP_TAG_BOLD = 1,       // b
    MARKUP_TAG_ITALIC = 2,     // i, em
    MARKUP_TAG_UNDERLINE = 3,  // u
    MARKUP_TAG_STRIKEOUT = 4,  // s, strike
    MARKUP_TAG_FONT = 5,       // font
    MARKUP_TAG_HR = 6,         // hr
    MARKUP_TAG_BR = 7,         // br, LF
    MARKUP_TAG_TAB = 8,        // t, TAB
    MARKUP_TAG_LEFT = 9,
    MARKUP_TAG_CENTER = 10,
    MARKUP_TAG_RIGHT = 11,
    MARKUP_TAG_JUSTIFY = 12,
    MARKUP_TAG_BASELINE = 13,
    MARKUP_TAG_TOP = 14,
    MARKUP_TAG_VCENTER = 15,  // vcenter, middle
    MARKUP_TAG_BOTTOM = 16,
    MARKUP_TAG_BMP = 17,
    MARKUP_TAG_ICON = 18,
    MARKUP_TAG_ILST = 19,
    MARKUP_TAG_STRING = 20,
    MARKUP_TAG_SHEET = 21,  // body, h1..h6, code, pre, big, small, sub, sup
    MARKUP_TAG_SPAN = 22,
    MARKUP_TAG_LINK = 23  // a
};

// Id of the hot hyperlink when none is hot.
const int MARKUP_NO_HOT_AREA = -2;
// Largest span a table cell may claim and largest column count of a table:
// a bigger "colspan" would make a grid too large to hold.
const int MARKUP_MAX_TABLE_SPAN = 1000;

// A read-only view of wide text with its length; reads outside it give 0.
// The scanners take it so that no scan can run past the text, whether the
// text is a CString or a bare buffer without a terminator.
struct MarkupSpan
{
    const wchar_t* p;
    int n;

    MarkupSpan(const CString& s) : p(s.GetString()), n(s.GetLength()) {}
    MarkupSpan(const wchar_t* pText, int nLength) : p(pText), n(pText && nLength > 0 ? nLength : 0) {}

    wchar_t At(int i) const { return (i >= 0 && i < n) ? p[i] : L'\0'; }
    // Characters [nFirst, nFirst + nCount), clamped to the text.
    CString Mid(int nFirst, int nCount) const;
    CString Mid(int nFirst) const { return Mid(nFirst, n); }
};

// The style record: every visual property of the text being laid out.
struct HtmlStyle
{
    HtmlStyle();

    CString m_sTag;  // name it was pushed under; pops only on the same name
    int m_nSize;     // font height in pixels (lfHeight)
    int m_nWeight;   // 100..900
    BOOL m_bItalic;
    BOOL m_bUnderline;
    BOOL m_bStrikeOut;
    BOOL m_bOverline;
    CString m_sFace;
    COLORREF m_crText;
    COLORREF m_crBkgnd;        // also the first colour of a background effect
    COLORREF m_crBorderLight;  // top and left edges
    COLORREF m_crBorderDark;   // bottom and right edges
    COLORREF m_crBkgndMid;
    COLORREF m_crBkgndEnd;
    int m_nBkMode;       // TRANSPARENT (1) or OPAQUE (2)
    int m_nBkEffect;     // -1 none .. 15
    CString m_sBkImage;  // "idres:..", "iddll:.." or "file:.."
    int m_nAlign;        // 0 left, 1 centre, 2 right, 3 justify
    int m_nVAlign;       // 0 top, 1 middle, 2 bottom, 3 baseline
    int m_nBorderStyle;  // 0 none, 1 solid, 2 dashed, 3 dotted, 6 double
    int m_nBorderWidth;
    int m_nWidth;      // of a table or cell; SetDefaultStyle keeps it
    int m_nHeight;     // of a table or cell; SetDefaultStyle keeps it
    int m_nTransform;  // 0 none, 1 upper, 2 lower, 3 capitalise
    int m_nMargin;     // also a table's cellpadding
    int m_nPadding;    // also a table's cellspacing
    int m_nLinkKind;   // 0 none, 1 address (href), 2 message (msg)
    CString m_sLink;
};

// One line of the layout, recorded while measuring and replayed while drawing.
struct HtmlLine
{
    int nWidth;
    int nHeight;  // largest ascent while measuring; full height once ended
    int nDescent;
    int nPercentWidth;  // sum of the percentages of rules given in percent
    int nAlign;         // 0 left, 1 centre, 2 right, 3 justify
    int nBreakCount;    // blanks (U+0020) on the line
    int bWrapped;       // 1 when ended because the next item did not fit
    // Where the measuring pass cut the text of this line, so that the drawing
    // pass cuts it the same way (filled and read by the layout).
    std::vector<int> arrBreaks;

    HtmlLine() : nWidth(0), nHeight(0), nDescent(0), nPercentWidth(0), nAlign(0), nBreakCount(0), bWrapped(0) {}
};

// One slot of a table grid. A span of -1 marks a slot covered by another cell.
struct HtmlTableCell
{
    int nColSpan;
    int nRowSpan;
    int nContentWidth;
    int nContentHeight;
    int nCellWidth;  // with twice the border and twice the padding
    int nCellHeight;
    int bFixed;  // 1 when the cell has a width greater than 0

    HtmlTableCell()
        : nColSpan(0), nRowSpan(0), nContentWidth(0), nContentHeight(0), nCellWidth(0), nCellHeight(0), bFixed(0)
    {}
};

// One table of the text, in the order the measuring pass meets them.
struct HtmlTable
{
    std::vector<std::vector<HtmlTableCell>> arrRows;  // rows of one cell per column
    std::vector<int> arrColWidths;
    std::vector<int> arrRowHeights;
    std::vector<int> arrFixedCols;  // 1 when a fixed cell covers the column
};

// One drawn piece of a hyperlink, in the coordinates of the DC it went to.
struct HtmlArea
{
    int left;
    int top;
    int right;
    int bottom;
    int nKind;      // 1 URL, 2 message
    int nId;        // number of the hyperlink in the text, from 0
    CString sText;  // the URL or the message text

    HtmlArea() : left(0), top(0), right(0), bottom(0), nKind(0), nId(0) {}
};

// One animated image-list strip.
struct HtmlAnimation
{
    int nFrame;
    int nFrameCount;
    int nTick;
    int nTicksPerFrame;

    HtmlAnimation() : nFrame(0), nFrameCount(0), nTick(0), nTicksPerFrame(0) {}
};

// Attributes of the bmp, icon and ilst tags; starts with the defaults of a tag
// that names none (width and height 100 percent, mask colour magenta).
struct HtmlImage
{
    HtmlImage();

    int m_nIndex;
    int m_nIdRes;
    int m_nIdDll;
    int m_nHandle;  // a host's image handle written as a number
    int m_nCx;
    int m_nCy;
    int m_nWidth;
    int m_nHeight;
    int m_nSpeed;
    int m_nStyle;     // image effect flags
    int m_nHotStyle;  // image effect flags inside the hot hyperlink
    BOOL m_bUseMask;
    BOOL m_bWidthPercent;
    BOOL m_bHeightPercent;
    COLORREF m_crMask;
    CString m_sFile;
    CString m_sSrcDll;
};

// One row of the tag table.
struct HtmlTagInfo
{
    int nId;
    CString sStyle;  // key of the style stack; empty for object tags
};

// Metrics that size units are measured in.
struct MarkupUnits
{
    int nPixelsPerInch;  // LOGPIXELSY of the DC
    int nExHeight;       // height of "x" in the current font
    int nEmHeight;       // tmHeight of the current font
};

// Members are public: the tooltip writes m_nMaxWidth and the layout and its
// tests read the records directly.
class CMarkupDrawer
{
public:
    CMarkupDrawer();
    virtual ~CMarkupDrawer();
    CMarkupDrawer(const CMarkupDrawer&) = delete;
    CMarkupDrawer& operator=(const CMarkupDrawer&) = delete;

    // ---- Entry points (MarkupDrawer.cpp) ----
    // Prepares pszText and lays it out without painting; (0, 0) for nothing.
    CSize MeasureMarkup(HDC hDC, LPCWSTR pszText);
    // Paints the text of the last MeasureMarkup into the rectangle.
    void DrawMarkup(const RECT* pRect, HDC hDC);
    void LoadHandCursor();
    // Destroys the hand cursor only when it is the drawer's own copy; the
    // shared system cursor is never destroyed. Clears m_hLinkCursor.
    void FreeHandCursor();
    CString LoadResourceString(UINT nID);
    // The second '\n'-separated field of string nID.
    CString LoadTipString(UINT nID);
    // The second '\n'-separated field of a prompt string; empty without '\n'.
    static CString TipPart(const CString& sPrompt);
    void SetNotify(HWND hWnd, UINT nMessage, LPARAM lParam);
    // Makes nId the hot hyperlink (MARKUP_NO_HOT_AREA for none) and tells the
    // notification target when it changed.
    void SetHotArea(int nId);
    // Borrowed: the host keeps the list and must outlive its use here.
    void SetImageList(HIMAGELIST hImageList, int cx, int cy);

    // ---- Images (MarkupDrawerImages.cpp) ----
    // Every loader returns NULL for id 0, a missing module, resource or file.
    // Libraries are mapped as data files: their code never runs.
    HICON LoadIconImage(LPCWSTR pszLibrary, UINT nID, int cx, int cy);
    HBITMAP LoadResBitmap(UINT nID);
    HBITMAP LoadFileBitmap(LPCWSTR pszPath);
    HBITMAP LoadDllBitmap(LPCWSTR pszLibrary, UINT nID);
    // Loads pszLibrary as the resource module (freed by the drawer); NULL
    // goes back to none. FALSE when it cannot be loaded.
    BOOL SetResourceModule(LPCWSTR pszLibrary);
    // A "handle" attribute as an image: the handle when it really is a
    // bitmap (or an icon), else NULL.
    static HBITMAP BitmapFromHandle(int nHandle);
    static HICON IconFromHandle(int nHandle);
    // Tiles the image that sDescription names over the rectangle.
    void DrawBackgroundImage(HDC hDC, const RECT& rect, const CString& sDescription);

    // ---- Vocabulary (MarkupDrawerVocabulary.cpp, MarkupDrawerColors.cpp) ----
    void FillEntityTable();
    void FillTagTable();
    void FillColorTable();
    void SetEntity(LPCWSTR pszEntity, LPCWSTR pszText);
    void SetTag(LPCWSTR pszStyle, LPCWSTR pszTag, int nId);
    void SetColorName(LPCWSTR pszName, COLORREF cr);
    // Id of the tag (0 when unknown); sStyle gets its style name and
    // bClosing whether it was written with a leading '/'.
    int LookupTag(const CString& sTag, CString& sStyle, BOOL& bClosing) const;
    COLORREF GetColorByName(const CString& sName, COLORREF crDefault) const;
    // Text preparation of m_sText: entities in one left-to-right pass, CR
    // dropped, LF and TAB to br and t tags (or dropped).
    void ExpandEntities();
    CString ExpandEntities(MarkupSpan text) const;

    // ---- Scanners (MarkupDrawerScan.cpp); positions are code-unit indices ----
    static CString GetNextRun(MarkupSpan text, int& nPos, CString& sTag);
    static CString ReadTagText(MarkupSpan text, int& nPos);
    static void SplitTagName(CString& sTag, CString& sAttributes);
    static CString GetNextAttribute(MarkupSpan attributes, int& nPos, CString& sName);
    static BOOL FindTag(LPCWSTR pszName, int& nPos, MarkupSpan text);
    static void FindTableEnd(int& nPos, MarkupSpan text);
    static void SkipTableRow(MarkupSpan text, int& nPos);
    static void SkipTableCell(MarkupSpan text, int& nPos);
    // Moves nPos to the next "<tr" of this table (nested tables skipped);
    // FALSE, at the end, when there is none.
    static BOOL FindNextRow(MarkupSpan table, int& nPos);
    // Moves nPos to the next "<td" before nRowEnd (nested tables skipped);
    // FALSE, at nRowEnd, when there is none.
    static BOOL FindNextCell(MarkupSpan row, int& nPos, int nRowEnd);
    // (columns, rows) of the table text that starts at its "<table".
    CSize MeasureTableGrid(MarkupSpan table);
    static BOOL SkipToWord(int& nPos, MarkupSpan text);
    static wchar_t ScanToChars(MarkupSpan text, int& nPos, LPCWSTR pszSet);
    static wchar_t SkipChars(MarkupSpan text, LPCWSTR pszSet, int& nPos);
    static BOOL SkipToColon(int& nPos, MarkupSpan text);
    static CString ReadPropertyValue(int& nPos, MarkupSpan text, LPCWSTR pszDelimiters);
    static int CountChar(MarkupSpan text, wchar_t ch);

    // ---- Style sheets (MarkupDrawerStyle.cpp) ----
    static const wchar_t* const s_pszDefaultStyleSheet;
    void SetDefaultStyle();
    void PushStyle();
    BOOL PopStyle();
    // Replaces the sheet; NULL builds the default sheet.
    void ParseStyleSheet(LPCWSTR pszText);
    // Adds the rules of a sheet text to m_mapStyles.
    void ParseStyleRules(MarkupSpan text);
    void BuildDefaultStyleSheet();
    void SetStyleRule(const CString& sSelector, const CString& sText);
    // The rule's property text, NULL when there is no rule.
    const CString* FindStyleRule(const CString& sSelector) const;
    void ApplyStyleRule(HtmlStyle& style, const CString& sSelector);
    void ApplyCssProperties(MarkupSpan text, HtmlStyle& style);

    // ---- Value parsers (MarkupDrawerValues.cpp) ----
    int ParseSize(int nCurrent, const CString& sValue, BOOL bScale);
    static int ParseSizeIn(int nCurrent, const CString& sValue, BOOL bScale, const MarkupUnits& units);
    COLORREF ParseColor(COLORREF crCurrent, const CString& sValue) const;
    static int ParseFontStyle(const CString& sValue, int nCurrent);
    static int ParseFontWeight(const CString& sValue, int nCurrent);
    static int ParseTextAlign(const CString& sValue, int nCurrent);
    static int ParseVerticalAlign(const CString& sValue, int nCurrent);
    static int ParseTextTransform(const CString& sValue, int nCurrent);
    static int ParseBorderStyle(const CString& sValue, int nCurrent);
    int ParseBorderWidth(const CString& sValue, int nCurrent);
    static void ParseTextDecoration(const CString& sValue, HtmlStyle& style);

    // ---- Attribute readers (MarkupDrawerAttributes.cpp) ----
    // (colspan, rowspan), each 1 to MARKUP_MAX_TABLE_SPAN.
    CSize ParseTableAttributes(const CString& sAttributes, BOOL bTable, HtmlStyle& style);
    void ParseImageAttributes(const CString& sAttributes, HtmlImage& image);
    static void ParseFontFlags(const CString& sValue, HtmlStyle& style);
    int ParseImageStyle(const CString& sValue) const;
    int ParseBackgroundEffect(int nCurrent, const CString& sValue);
    static BOOL EndsWithPercent(const CString& sValue);
    static CString ValueOrDefault(const CString& sValue, const CString& sCurrent);

    // ---- Layout (MarkupDrawerLayout.cpp) ----
    CSize LayoutBody(CRect rect);
    int BeginLine(int x);
    void EndLine(int nCount, CSize& size, int& x, int& y);
    int PlaceText(int nTextHeight, int y);
    int PlaceObject(int nObjectHeight, int y);
    void AdvanceTab(int nCount, int& x);
    void SelectStyle();
    // The head of sText that fits in nWidth (which returns its width); the
    // rest stays in sText. nLineWidth is the room of an empty line.
    CString FindWrapPoint(CString& sText, int& nWidth, int nLineWidth);
    void AddHyperlinkArea(int left, int top, int right, int bottom);

    // ---- Runs (MarkupDrawerRun.cpp) ----
    CSize RenderRun(const CString& sRun, CRect rect);

    // ---- Tables (MarkupDrawerTable.cpp) ----
    CSize LayoutTable(const CString& sTable, CRect rect);
    void LayoutRow(const CString& sRow, CRect rcContent, HtmlTable& table, int nRow);
    void LayoutCell(const CString& sCell, CRect rcCell, HtmlTableCell& cell);

    // ---- Hot areas (MarkupDrawerHot.cpp) ----
    int FindAreaAt(POINT pt) const;
    BOOL TrackHotArea(POINT pt);
    int FollowLink(int nIndex);
    BOOL StepAnimations();
    LONG ReadDefaultValue(HKEY hKey, CString& sValue);

    // ---- Members, in declaration order ----
    std::vector<HtmlTable> m_arrTableRows;
    HWND m_hNotifyWnd;
    UINT m_nNotifyMsg;  // 0: do not notify
    LPARAM m_lNotifyParam;
    HWND m_hLinkMsgWnd;
    UINT m_nLinkMsg;
    LPARAM m_lLinkMsgParam;
    HtmlStyle m_curStyle;
    HtmlLine m_line;
    CDrawManager m_drawManager;
    HIMAGELIST m_hImageList;  // borrowed
    CSize m_szImageList;
    HINSTANCE m_hResInstance;
    BOOL m_bFreeResInstance;
    HCURSOR m_hLinkCursor;
    BOOL m_bOwnLinkCursor;  // m_hLinkCursor is a copy the drawer destroys
    HGDIOBJ m_hOldFont;
    BOOL m_bIsEnabled;
    COLORREF m_crDisabled;
    CRect m_rcOutput;
    HDC m_hDC;        // valid during one measure or draw only
    CString m_sText;  // prepared text of the last measure
    int m_nMode;      // 1 measuring, 0 drawing
    int m_nTabSize;
    int m_nMaxWidth;  // 0: unlimited
    int m_nLineIndex;
    int m_nCurTable;
    int m_nHotArea;  // MARKUP_NO_HOT_AREA: none
    int m_nCurArea;
    int m_nCurAnimation;
    BOOL m_bConvertBreaks;
    BOOL m_bShadowGradient;
    CSize m_szShadowOffset;
    CSize m_szShadowBlur;
    int m_nShadowDarkness;
    COLORREF m_crShadow;
    TEXTMETRICW m_tm;
    LOGFONTW m_lf;
    HFONT m_hFont;  // owned
    CString m_sCssText;
    std::vector<HtmlLine> m_arrLines;
    std::vector<HtmlStyle> m_arrStyles;
    std::vector<HtmlArea> m_arrAreas;
    std::vector<HtmlAnimation> m_arrAnimations;
    std::map<CString, COLORREF> m_mapColors;
    std::map<CString, CString> m_mapStyles;
    std::map<CString, CString> m_mapEntities;
    std::map<CString, HtmlTagInfo> m_mapTags;
};
