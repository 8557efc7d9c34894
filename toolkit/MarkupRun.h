// One run of mark-up laid out by CMarkupDrawer::RenderRun: the position, the
// current line's replay state and the result size live here for the length of
// the run, so the drawer keeps nothing of a run between calls.
//
// The measuring pass records where it cut each wrapped line (in the line's
// arrBreaks); the drawing pass replays those cuts instead of measuring the
// room again. Centred, right-aligned and justified lines start elsewhere and
// widen while drawing, and wider table columns give a cell more room, so cuts
// computed again would differ from the measured lines (or, for a word cut by
// characters, never come to an end).
//
// MarkupRun.cpp holds the walk, the text and the style tags;
// MarkupRunObjects.cpp the rules, breaks, tabs, images and resource strings.
#pragma once

#include "toolkit/MarkupDrawer.h"

class CMarkupRun
{
public:
    CMarkupRun(CMarkupDrawer& drawer, const CRect& rect);
    CMarkupRun(const CMarkupRun&) = delete;
    CMarkupRun& operator=(const CMarkupRun&) = delete;

    // Lays out (and while drawing paints) the run; its width and height.
    CSize Run(const CString& sRun);

private:
    // The layout of an image before it is placed.
    struct ImageBox
    {
        int cx;  // drawn size
        int cy;
        int cxBox;  // with the shadow offset when it casts one
        int cyBox;
        BOOL bShadow;
    };

    bool Measuring() const { return m_d.m_nMode == 1; }
    // Loads the start and replay state of the line that BeginLine just began.
    void StartLine();
    void EndLine(int nCount, BOOL bWrapped);
    // Notes an item of the width the measuring pass gives it on the current line.
    void Holds(int nMeasuredWidth);
    // The number of the next item (piece of text or image) on the current line.
    int NextItem();
    // Drawing: TRUE when the measuring pass cut item nItem of this line (and
    // ended the line there unless only blanks were left); nPiece and nRest
    // say where it cut the text (-1 for an image moved to the next line).
    BOOL IsBreakItem(int nItem, int& nPiece, int& nRest) const;
    void RecordBreak(int nItem, int nPiece, int nRest);

    void LayText(CString sText);
    // Paints one piece of text of the measured width; the width it took.
    int DrawPiece(CString sPiece, int nPieceWidth, int yText, int cyText);
    void HandleTag(CString sTag);
    void OpenStyleTag(int nId, const CString& sName, const CString& sAttributes);
    void ReadFontAttributes(const CString& sAttributes);
    void ReadLinkAttributes(const CString& sAttributes);
    void ReadSpanAttributes(const CString& sAttributes);

    void ObjectTag(int nId, const CString& sAttributes);
    static int ReadCount(const CString& sAttributes);
    void Rule(const CString& sAttributes);
    void Bitmap(const HtmlImage& image);
    void Icon(const HtmlImage& image);
    void ImageStrip(const HtmlImage& image);
    void ImageListIcon(const HtmlImage& image);
    void ResourceString(const CString& sAttributes);
    ImageBox MakeBox(const HtmlImage& image, int cx, int cy) const;
    // Wraps before an image that does not fit and places it; FALSE while
    // measuring or when the image is not drawn. yTop gets its top.
    BOOL PlaceImage(const HtmlImage& image, const ImageBox& box, int& yTop);
    void FinishImage(const ImageBox& box);
    DWORD EffectFor(const HtmlImage& image) const;
    HBITMAP LoadBitmapSource(const HtmlImage& image, BOOL& bOwned);

    CMarkupDrawer& m_d;
    CRect m_rect;
    int m_nW;  // width of the run's rectangle
    int m_x;
    int m_y;  // top of the current line
    CSize m_size;
    int m_nFirstLine;
    COLORREF m_crShadow;
    int m_xLineStart;
    int m_nRemainWidth;   // drawing: content of the line not yet drawn
    int m_nRemainBreaks;  // drawing: blanks of the line not yet drawn
    int m_nItemLine;      // line that m_nItem counts for
    int m_nItem;
    // The current line holds an item of measured width: the run's end closes it.
    BOOL m_bLineHolds;
};
