// The word-wrap cuts of the mark-up layout, measured on the live DC.
#include "toolkit/MarkupWrap.h"

#include <wchar.h>
#include <wctype.h>

#include <algorithm>
#include <vector>

namespace {

const wchar_t kBreakChars[] = L" -.,!:;)}]?";

bool IsBreakChar(wchar_t ch)
{
    return ch != 0 && wcschr(kBreakChars, ch) != NULL;
}

bool IsBlank(wchar_t ch)
{
    return iswspace(ch) != 0;
}

}  // namespace

BOOL MarkupFitsIn(HDC hDC, const wchar_t* p, int n, int nRoom, int nAverageChar, SIZE& size, int& nLong)
{
    size.cx = size.cy = 0;
    nLong = n;
    if (n <= 0)
        return nRoom >= 0;
    // A first guess of twice the characters of average width that the room
    // holds; each miss doubles it. Prefix widths never shrink, so a prefix
    // wider than the room settles the question for the whole text.
    int nLength = n;
    if (nRoom >= 0) {
        const long long nGuess = static_cast<long long>(nRoom) / std::max(1, nAverageChar) * 2 + 16;
        if (nGuess < n)
            nLength = static_cast<int>(nGuess);
    } else {
        nLength = std::min(n, 16);
    }
    for (;;) {
        if (!::GetTextExtentPoint32W(hDC, p, nLength, &size))
            size.cx = size.cy = 0;
        if (size.cx > nRoom) {
            nLong = nLength;
            return FALSE;
        }
        if (nLength == n)
            return TRUE;
        nLength = static_cast<int>(std::min<long long>(n, static_cast<long long>(nLength) * 2));
    }
}

MarkupCut MarkupCutText(HDC hDC, const wchar_t* p, int n, int nLong, int nRoom, int nLineRoom)
{
    MarkupCut cut = { 0, 0, 0 };
    if (n <= 0)
        return cut;
    const int nMeasured = std::max(1, std::min(nLong, n));
    // Partial extents: dx[i] is the width of p[0, i], all in one call.
    std::vector<int> dx(static_cast<size_t>(nMeasured), 0);
    SIZE size = { 0, 0 };
    if (!::GetTextExtentExPointW(hDC, p, nMeasured, 0, NULL, dx.data(), &size))
        std::fill(dx.begin(), dx.end(), 0);
    auto width = [&](int k) { return k <= 0 ? 0 : dx[static_cast<size_t>(k - 1)]; };

    int nChosen = -1;
    if (nRoom >= 0) {
        for (int i = 1; i < n; ++i) {
            if (!IsBreakChar(p[i]))
                continue;
            // Past the measured prefix, the text before the break is wider still.
            if (i > nMeasured || width(i) > nRoom)
                break;
            nChosen = i;
        }
    }
    if (nChosen >= 0) {
        int nPiece = nChosen + 1;
        while (nPiece > 0 && IsBlank(p[nPiece - 1]))
            --nPiece;
        int nRest = nChosen + 1;
        while (nRest < n && IsBlank(p[nRest]))
            ++nRest;
        cut.nPiece = nPiece;
        cut.nRest = nRest;
        cut.nWidth = width(nPiece);
        return cut;
    }
    if (nRoom != nLineRoom)
        return cut;
    int k = 0;
    while (k < nMeasured && width(k + 1) <= nRoom)
        ++k;
    // A character cut never splits a surrogate pair.
    if (k > 1 && k < n && IS_LOW_SURROGATE(p[k]))
        --k;
    if (k < 1)
        k = 1;
    cut.nPiece = cut.nRest = k;
    cut.nWidth = width(k);
    return cut;
}
