// Saturating pixel arithmetic for the mark-up layout: sizes written in the
// mark-up (spans, widths, counts) are the author's, so sums and products of
// them are held inside a range that GDI coordinates and int can carry.
#pragma once

#include <limits.h>

// No extent, coordinate or offset of the layout goes beyond this; GDI
// coordinates themselves end near 2^27.
const int MARKUP_MAX_EXTENT = 1 << 24;

inline int MarkupClampExtent(long long n)
{
    if (n > MARKUP_MAX_EXTENT)
        return MARKUP_MAX_EXTENT;
    if (n < -MARKUP_MAX_EXTENT)
        return -MARKUP_MAX_EXTENT;
    return static_cast<int>(n);
}

inline int MarkupAdd(int a, long long b)
{
    return MarkupClampExtent(static_cast<long long>(a) + b);
}
