// Blending, shadows, tiling, rectangles, lines and the colour helpers, read
// back from 32-bit memory DCs.
#include "toolkit/DrawManager.h"

#include "DibCanvas.h"

#include <vector>

namespace {

TEST(DrawManagerBlend, AlphaBlendDCAtZeroFiftyAndHundredPercent)
{
    struct Case
    {
        int opacity;
        DWORD expect;
    };
    const Case cases[] = {
        { 0, 0x000000FF },   { -30, 0x000000FF },  // a negative opacity is 0
        { 50, 0x007F007F },                        // 255 * 0.5 + 0 * 0.5, truncated
        { 100, 0x00FF0000 }, { 250, 0x00FF0000 },
    };
    for (const Case& c : cases) {
        DibCanvas src(3, 3, 0x00FF0000), dst(8, 6, 0x000000FF);
        src.dib.SetPixel(2, 2, 0x0000FF00);  // beyond the blended 2 x 2
        CDrawManager dm;
        dm.AlphaBlendDC(src.dc, dst.dc, 3, 2, 2, 2, c.opacity);
        EXPECT_EQ(c.expect, dst.At(3, 2)) << c.opacity;
        EXPECT_EQ(c.expect, dst.At(4, 3)) << c.opacity;
        RECT area = { 3, 2, 5, 4 };
        EXPECT_EQ(0, dst.ChangedOutside(area, 0x000000FF)) << c.opacity;
    }
}

TEST(DrawManagerBlend, AlphaChannelBlitWeighsEachPixelByItsOwnAlpha)
{
    DibCanvas src(3, 1), dst(3, 1, 0x00204060);
    src.dib.SetPixel(0, 0, 0x00FFFFFF);  // alpha 0: the destination stays
    src.dib.SetPixel(1, 0, 0xFF102030);  // alpha 255: the source
    src.dib.SetPixel(2, 0, 0x80FF0000);  // alpha 128
    CDrawManager dm;
    dm.AlphaChannelBlit(src.dc, dst.dc, 0, 0, 3, 1);
    EXPECT_EQ(0x00204060u, dst.At(0, 0));
    EXPECT_EQ(0x00102030u, dst.At(1, 0));
    const double a = 128 / 255.0;
    DWORD r = (DWORD)(255 * a + 0x20 * (1 - a)), g = (DWORD)(0x40 * (1 - a)), b = (DWORD)(0x60 * (1 - a));
    EXPECT_EQ((r << 16) | (g << 8) | b, dst.At(2, 0));
}

TEST(DrawManagerBlend, HardShadowDarkensByTheMasksBlueByte)
{
    DibCanvas mask(3, 1), dst(5, 3, 0x00C8C8C8);
    mask.dib.SetPixel(0, 0, 0x00FFFFFF);  // white: unchanged
    mask.dib.SetPixel(1, 0, 0x00000040);  // 64 / 255
    mask.dib.SetPixel(2, 0, 0x00FF0000);  // blue 0: black
    mask.dib.ReleaseDC();
    CDrawManager dm;
    dm.DrawShadow(dst.dc, 1, 1, 3, 1, mask.dib, FALSE, 0, 0);
    EXPECT_EQ(0x00C8C8C8u, dst.At(1, 1));
    const DWORD d = (DWORD)(200 * (64 / 255.0));
    EXPECT_EQ((d << 16) | (d << 8) | d, dst.At(2, 1));
    EXPECT_EQ(0u, dst.At(3, 1));
    RECT area = { 1, 1, 4, 2 };
    EXPECT_EQ(0, dst.ChangedOutside(area, 0x00C8C8C8));
}

TEST(DrawManagerBlend, SoftShadowShrinksTheMaskByTheBlurThenBoxBlursIt)
{
    // A black 21 x 21 mask with blur 7 is stretched into (3, 3, 14, 14): the
    // corner's 7 x 7 box holds one black pixel of 49, the centre's only black.
    DibCanvas mask(21, 21, 0), dst(21, 21, 0x00FFFFFF);
    mask.dib.ReleaseDC();
    CDrawManager dm;
    dm.DrawShadow(dst.dc, 0, 0, 21, 21, mask.dib, TRUE, 6, 7);  // 6 becomes 7
    const DWORD corner = (DWORD)(255 * (48 * 255 / (49.0 * 255)));
    EXPECT_EQ((corner << 16) | (corner << 8) | corner, dst.At(0, 0));
    EXPECT_EQ(0u, dst.At(10, 10));
    EXPECT_EQ(0u, dst.At(6, 6));  // its box spans 3..9: all mask
    EXPECT_NE(0u, dst.At(5, 5));
}

TEST(DrawManagerBlend, ASoftShadowNarrowerThanItsBlurStillHasAMask)
{
    DibCanvas mask(3, 3, 0), dst(3, 3, 0x00FFFFFF);
    mask.dib.ReleaseDC();
    CDrawManager dm;
    dm.DrawShadow(dst.dc, 0, 0, 3, 3, mask.dib, TRUE, 7, 7);
    // One black mask pixel at (3, 3) lies outside a 3 x 3 section; the
    // section stays white only because nothing wraps or divides by zero.
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(0x00FFFFFFu, dst.At(x, y));
    DibCanvas wide(9, 9, 0x00FFFFFF);
    DibCanvas m9(9, 9, 0);
    m9.dib.ReleaseDC();
    dm.DrawShadow(wide.dc, 0, 0, 9, 9, m9.dib, TRUE, 9, 9);  // width - blur = 0: kept at 1
    EXPECT_NE(0x00FFFFFFu, wide.At(4, 4));
}

TEST(DrawManagerBlend, ConvolveLineAndBlurMaskSumBoxes)
{
    const int src[6] = { 1, 2, 3, 4, 5, 6 };
    int out[4] = {};
    CDrawManager::ConvolveLine(src, 1, 6, 3, out, 1);
    EXPECT_EQ(6, out[0]);
    EXPECT_EQ(15, out[3]);
    // A 3 x 1 mask black in the middle, blur 3 x 1: each factor is its box's
    // share of white, the edges padded white.
    const DWORD mask[3] = { 0xFF, 0x00, 0xFF };
    double f[3] = {};
    ASSERT_TRUE(CDrawManager::BlurMask(mask, 3, 1, 3, 1, f));
    EXPECT_DOUBLE_EQ(510.0 / 765, f[0]);
    EXPECT_DOUBLE_EQ(510.0 / 765, f[1]);
    EXPECT_DOUBLE_EQ(510.0 / 765, f[2]);
    EXPECT_FALSE(CDrawManager::BlurMask(mask, 3, 1, 2, 1, f));            // even blur
    EXPECT_FALSE(CDrawManager::BlurMask(mask, 3, 1, 0x7FFF, 0x7FFF, f));  // sums would overflow
}

TEST(DrawManagerTile, TilesFromTheTopLeftAndClipsTheLastColumnAndRow)
{
    DibCanvas src(5, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            src.dib.SetPixel(x, y, (DWORD)(0x100 * y + x + 1));
    DibCanvas dst(12, 10, 0x00EEEEEE);
    CDrawManager dm;
    dm.TileBlt(dst.dc, 2, 1, 7, 5, src.dc, 1, 1, 3, 2);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(src.At(1 + x % 3, 1 + y % 2), dst.At(2 + x, 1 + y)) << x << "," << y;
    RECT area = { 2, 1, 9, 6 };
    EXPECT_EQ(0, dst.ChangedOutside(area, 0x00EEEEEE));
    dm.TileBlt(dst.dc, 0, 0, 12, 10, src.dc, 0, 0, 0, 2);  // an empty tile: nothing, and no endless loop
    dm.TileBlt(dst.dc, 0, 0, 12, 10, src.dc, 0, 0, 3, -1);
    EXPECT_EQ(0, dst.ChangedOutside(area, 0x00EEEEEE));
}

TEST(DrawManagerLines, RectangleEdgesTakeTheirColours)
{
    DibCanvas c(10, 10, 0x00FFFFFF);
    CDrawManager dm;
    dm.DrawRectangle(c.dc, 1, 1, 8, 8, RGB(255, 0, 0), RGB(0, 0, 255), CDrawManager::PEN_SOLID, 1);
    EXPECT_EQ(0x00FF0000u, c.At(1, 5));  // left
    EXPECT_EQ(0x00FF0000u, c.At(5, 1));  // top
    EXPECT_EQ(0x000000FFu, c.At(8, 5));  // right
    EXPECT_EQ(0x000000FFu, c.At(5, 8));  // bottom
    EXPECT_EQ(0x00FFFFFFu, c.At(5, 5));
    RECT frame = { 1, 1, 9, 9 };
    EXPECT_EQ(0, c.ChangedOutside(frame, 0x00FFFFFF));
}

TEST(DrawManagerLines, DoubleRectangleRepeatsEachStrokeTwoWidthsInside)
{
    DibCanvas c(12, 12, 0x00FFFFFF);
    CDrawManager dm;
    dm.DrawRectangle(c.dc, 1, 1, 10, 10, RGB(0, 0, 0), RGB(0, 0, 0), CDrawManager::PEN_DOUBLE, 1);
    EXPECT_EQ(0u, c.At(1, 5));
    EXPECT_EQ(0x00FFFFFFu, c.At(2, 5));
    EXPECT_EQ(0u, c.At(3, 5));
    EXPECT_EQ(0u, c.At(8, 5));
    EXPECT_EQ(0u, c.At(10, 5));
    EXPECT_EQ(0x00FFFFFFu, c.At(5, 5));
}

TEST(DrawManagerLines, NoPenWidthDrawsNothingAndDoubleLinesSitBelowOrRight)
{
    DibCanvas c(12, 12, 0x00FFFFFF);
    CDrawManager dm;
    dm.DrawRectangle(c.dc, 1, 1, 10, 10, 0, 0, CDrawManager::PEN_SOLID, 0);
    dm.DrawLine(c.dc, 0, 0, 11, 11, 0, CDrawManager::PEN_SOLID, -1);
    RECT none = { 0, 0, 0, 0 };
    EXPECT_EQ(0, c.ChangedOutside(none, 0x00FFFFFF));
    dm.DrawLine(c.dc, 1, 2, 9, 2, RGB(0, 255, 0), CDrawManager::PEN_DOUBLE, 1);
    EXPECT_EQ(0x0000FF00u, c.At(5, 2));
    EXPECT_EQ(0x0000FF00u, c.At(5, 4));
    EXPECT_EQ(0x00FFFFFFu, c.At(5, 3));
    dm.DrawLine(c.dc, 6, 6, 6, 11, RGB(255, 0, 0), CDrawManager::PEN_DOUBLE, 1);
    EXPECT_EQ(0x00FF0000u, c.At(6, 8));
    EXPECT_EQ(0x00FF0000u, c.At(8, 8));
    EXPECT_EQ(0x00FFFFFFu, c.At(7, 8));
}

struct ColorCase
{
    const char* name;
    DWORD (*op)(DWORD);
    DWORD in, out;
};

DWORD Gray(DWORD c)
{
    return CDrawManager::GrayColor(c);
}
DWORD Invert(DWORD c)
{
    return CDrawManager::InvertColor(c);
}
DWORD DarkenHalf(DWORD c)
{
    return CDrawManager::DarkenColor(c, 0.5);
}
DWORD DarkenOne(DWORD c)
{
    return CDrawManager::DarkenColor(c, 1.0);
}
DWORD LightenQuarter(DWORD c)
{
    return CDrawManager::LightenColor(c, 0.25);
}
DWORD LightenTooMuch(DWORD c)
{
    return CDrawManager::LightenColor(c, 1.5);
}
DWORD MixThird(DWORD c)
{
    return CDrawManager::MixColors(c, 0x00FFFFFF, 0.25, 0.75);
}

TEST(DrawManagerColors, HelpersWorkOnPixelChannels)
{
    const ColorCase cases[] = {
        { "grey of red", Gray, 0x00FF0000, 0x004C4C4C },   // 0.299 * 255 = 76.2
        { "grey of blue", Gray, 0x000000FF, 0x001D1D1D },  // 0.114 * 255 = 29.07
        { "grey keeps alpha", Gray, 0x80FFFFFF, 0x80FFFFFF },
        { "invert", Invert, 0x80123456, 0x80EDCBA9 },
        { "darken by half", DarkenHalf, 0x00FF7F03, 0x007F3F01 },
        { "darken by one", DarkenOne, 0x00FF7F03, 0x00FF7F03 },
        { "lighten by a quarter", LightenQuarter, 0x00F06404, 0x00FF7D05 },
        { "lighten beyond one", LightenTooMuch, 0x00102030, 0x00102030 },
        { "mix", MixThird, 0x11000080, 0x113F3F9F },  // 0.25 * 255 + 0.75 * 128 = 159.75
    };
    for (const ColorCase& c : cases)
        EXPECT_EQ(c.out, c.op(c.in)) << c.name;
}

}  // namespace
