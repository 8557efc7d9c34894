// Word wrap of the mark-up layout on bare text: whether a text fits in the
// room left on a line, and where it is cut when it does not. Both measure no
// more of the text than the room can hold, so a long paragraph costs in
// proportion to its lines rather than to its length once per line.
#pragma once

#include "afx.h"

// Where a text is cut: the piece is [0, nPiece), the rest starts at nRest
// (blanks between them belong to neither), nWidth is the piece's width.
struct MarkupCut
{
    int nPiece;
    int nRest;
    int nWidth;
};

// TRUE when p[0, n) is at most nRoom wide; size is then its extent. When it
// is wider, nLong is the length of a prefix already wider than nRoom (and
// size that prefix's extent, whose height is the text's).
BOOL MarkupFitsIn(HDC hDC, const wchar_t* p, int n, int nRoom, int nAverageChar, SIZE& size, int& nLong);

// Cuts p[0, n) for a room of nRoom on a line whose empty room is nLineRoom.
// nLong: a prefix length known to be wider than nRoom (n when unknown).
// The break characters are " -.,!:;)}]?"; a text is never cut before its
// second character. Without a break that fits, a line that holds nothing yet
// (nRoom == nLineRoom) takes as many characters as fit, at least one; any
// other line takes nothing, so the caller moves the text to the next line.
MarkupCut MarkupCutText(HDC hDC, const wchar_t* p, int n, int nLong, int nRoom, int nLineRoom);
