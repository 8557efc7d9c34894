// Helpers of the mark-up layout tests: measure then draw a text on a canvas,
// and read the drawn lines back from the hyperlink areas of the drawing pass.
#pragma once

#include "tests/unit/MarkupCanvas.h"
#include "toolkit/MarkupDrawer.h"

#include <map>
#include <string>
#include <vector>

struct DrawnLine
{
    int top;
    int left;   // leftmost area of the line
    int right;  // rightmost area of the line
    int width;  // sum of the areas' widths
    int pieces;
};

inline CSize MeasureText(CMarkupDrawer& drawer, HDC hDC, const std::wstring& text, int nMaxWidth = 0)
{
    drawer.m_nMaxWidth = nMaxWidth;
    return drawer.MeasureMarkup(hDC, text.c_str());
}

inline void DrawMeasured(CMarkupDrawer& drawer, HDC hDC, int left, int top, int right, int bottom)
{
    RECT rc = { left, top, right, bottom };
    drawer.DrawMarkup(&rc, hDC);
}

// The drawn pieces of links grouped by their top, top to bottom.
inline std::vector<DrawnLine> DrawnLines(const CMarkupDrawer& drawer)
{
    std::map<int, DrawnLine> byTop;
    for (const HtmlArea& area : drawer.m_arrAreas) {
        auto it = byTop.find(area.top);
        if (it == byTop.end()) {
            DrawnLine line = { area.top, area.left, area.right, 0, 0 };
            it = byTop.emplace(area.top, line).first;
        }
        DrawnLine& line = it->second;
        if (area.left < line.left)
            line.left = area.left;
        if (area.right > line.right)
            line.right = area.right;
        line.width += area.right - area.left;
        ++line.pieces;
    }
    std::vector<DrawnLine> lines;
    for (const auto& entry : byTop)
        lines.push_back(entry.second);
    return lines;
}

// Lines the measuring pass recorded, as many as the layout used.
inline std::vector<HtmlLine> MeasuredLines(const CMarkupDrawer& drawer)
{
    std::vector<HtmlLine> lines;
    for (int i = 0; i < drawer.m_nLineIndex && i < static_cast<int>(drawer.m_arrLines.size()); ++i)
        lines.push_back(drawer.m_arrLines[static_cast<size_t>(i)]);
    return lines;
}
