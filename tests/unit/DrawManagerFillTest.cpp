// Background effects read back from 32-bit memory DCs: solid fills and colour
// order, the 64 gradient bands, the shade palette and the grain of the shaded
// patterns under a fixed srand().
#include "toolkit/DrawManager.h"

#include "DibCanvas.h"

#include <stdlib.h>
#include <vector>

namespace {

DWORD Px(COLORREF c)
{
    return CDibSection::PixelFromColor(c);
}

TEST(DrawManagerFill, SolidAndUnknownEffectsFillWithTheBeginColourRedReadsAsRed)
{
    for (int effect : { -1, 0, 16, 99, -7 }) {
        DibCanvas c(6, 5, 0x00111111);
        CDrawManager dm;
        RECT r = { 1, 1, 5, 4 };
        dm.FillEffect(c.dc, r, effect, RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), 5, 0);
        EXPECT_EQ(0x00FF0000u, c.At(1, 1)) << effect;
        EXPECT_EQ(0x00FF0000u, c.At(4, 3)) << effect;
        EXPECT_EQ(0, c.ChangedOutside(r, 0x00111111)) << effect;
    }
}

// Per channel (from * (64 - i) + to * i) / 64.
DWORD Band(COLORREF from, COLORREF to, int i)
{
    return Px(RGB((GetRValue(from) * (64 - i) + GetRValue(to) * i) >> 6,
                  (GetGValue(from) * (64 - i) + GetGValue(to) * i) >> 6,
                  (GetBValue(from) * (64 - i) + GetBValue(to) * i) >> 6));
}

TEST(DrawManagerFill, GradientHas64BandsAndTheLastIsNotQuiteTheEndColour)
{
    const COLORREF from = RGB(0, 200, 64), to = RGB(255, 0, 64);
    DibCanvas c(130, 3);
    CDrawManager dm;
    RECT r = { 1, 1, 129, 2 };
    dm.DrawGradient(c.dc, r, from, to, TRUE);
    for (int i = 0; i < 64; ++i) {
        EXPECT_EQ(Band(from, to, i), c.At(1 + 2 * i, 1)) << i;
        EXPECT_EQ(Band(from, to, i), c.At(2 + 2 * i, 1)) << i;
    }
    EXPECT_EQ(Px(RGB(251, 3, 64)), c.At(128, 1));
    EXPECT_EQ(0, c.ChangedOutside(r, 0));
}

TEST(DrawManagerFill, ANarrowGradientSkipsEmptyBandsAndStillEndsAtBand63)
{
    const COLORREF from = RGB(0, 0, 0), to = RGB(255, 255, 255);
    DibCanvas c(3, 12);
    CDrawManager dm;
    RECT r = { 1, 1, 2, 11 };  // 10 high: band i covers [i * 10 / 64, (i + 1) * 10 / 64)
    dm.DrawGradient(c.dc, r, from, to, FALSE);
    const int firstBand[10] = { 6, 12, 19, 25, 31, 38, 44, 51, 57, 63 };
    for (int y = 0; y < 10; ++y) {
        // The band drawn last over a row is the highest that starts there.
        int band = 63;
        for (int i = 0; i < 64; ++i)
            if ((i * 10) >> 6 == y && ((i + 1) * 10) >> 6 > y)
                band = i;
        EXPECT_EQ(firstBand[y], band);
        EXPECT_EQ(Band(from, to, band), c.At(1, 1 + y)) << y;
    }
    EXPECT_EQ(0, c.ChangedOutside(r, 0));
}

struct SplitCase
{
    int effect;
    bool horizontal;
    COLORREF firstStart, secondStart;  // the colour at the start of each half
};

class DrawManagerSplit : public ::testing::TestWithParam<SplitCase>
{};

TEST_P(DrawManagerSplit, TheHalvesMeetAtTheMiddleWithTheirOwnColourPairs)
{
    const SplitCase& s = GetParam();
    const COLORREF begin = RGB(10, 20, 30), mid = RGB(100, 110, 120), end = RGB(200, 210, 220);
    DibCanvas c(140, 140, 0x00010101);
    CDrawManager dm;
    RECT r = { 3, 3, 3 + 129, 3 + 129 };  // 129: the halves are 64 and 65
    dm.FillEffect(c.dc, r, s.effect, begin, mid, end, 5, 0);
    int mx = s.horizontal ? 3 + 64 : 10, my = s.horizontal ? 10 : 3 + 64;
    EXPECT_EQ(Px(s.firstStart), c.At(3, 3));
    EXPECT_EQ(Px(s.secondStart), c.At(mx, my));
    EXPECT_NE(Px(s.secondStart), c.At(s.horizontal ? mx - 1 : mx, s.horizontal ? my : my - 1));
    EXPECT_EQ(0, c.ChangedOutside(r, 0x00010101));
}

INSTANTIATE_TEST_SUITE_P(Tables, DrawManagerSplit,
                         ::testing::Values(SplitCase{ 3, true, RGB(10, 20, 30), RGB(200, 210, 220) },
                                           SplitCase{ 4, false, RGB(10, 20, 30), RGB(200, 210, 220) },
                                           SplitCase{ 5, true, RGB(10, 20, 30), RGB(100, 110, 120) },
                                           SplitCase{ 6, false, RGB(10, 20, 30), RGB(100, 110, 120) },
                                           SplitCase{ 1, true, RGB(10, 20, 30),
                                                      RGB(105, 115, 125) },  // one gradient: band 32 at the middle
                                           SplitCase{ 2, false, RGB(10, 20, 30), RGB(105, 115, 125) }));

TEST(DrawManagerShade, PaletteRunsFromDarkThroughMiddleToLight)
{
    const COLORREF light = RGB(250, 240, 230), mid = RGB(128, 64, 32), dark = RGB(2, 4, 8);
    CDrawManager dm;
    RECT r = { 0, 0, 4, 3 };
    dm.DrawShadeEffect(r, CDrawManager::EFFECT_HSHADE, 5, 0, light, mid, dark);
    const CPaletteDib& canvas = dm.GetCanvas();
    ASSERT_EQ(256, canvas.GetPaletteEntries());
    EXPECT_EQ(4, canvas.GetWidth());
    EXPECT_EQ(3, canvas.GetHeight());
    const RGBQUAD* pal = canvas.GetPalette();
    auto rgb = [](const RGBQUAD& q) { return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue); };
    EXPECT_EQ(dark, rgb(pal[0]));
    EXPECT_EQ(RGB((2 * 64 + 128 * 64) / 128, (4 * 64 + 64 * 64) / 128, (8 * 64 + 32 * 64) / 128), rgb(pal[64]));
    EXPECT_EQ(RGB((2 + 128 * 127) / 128, (4 + 64 * 127) / 128, (8 + 32 * 127) / 128), rgb(pal[127]));
    // Entry 128 is written twice; the second run wins.
    EXPECT_EQ(RGB((128 * 127 + 250) / 128, (64 * 127 + 240) / 128, (32 * 127 + 230) / 128), rgb(pal[128]));
    EXPECT_EQ(light, rgb(pal[255]));
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(0, pal[i].rgbReserved);
}

TEST(DrawManagerShade, ColouringMovesThePaletteTowardTheLightColour)
{
    CDrawManager dm;
    RECT r = { 0, 0, 2, 2 };
    dm.DrawShadeEffect(r, CDrawManager::EFFECT_NOISE, 0, 50, RGB(200, 100, 0), RGB(0, 0, 0), RGB(0, 0, 0));
    const RGBQUAD* pal = dm.GetCanvas().GetPalette();
    EXPECT_EQ(100, pal[0].rgbRed);  // (0 * 50 + 200 * 50) / 100
    EXPECT_EQ(50, pal[0].rgbGreen);
    EXPECT_EQ(200, pal[255].rgbRed);
    dm.DrawShadeEffect(r, CDrawManager::EFFECT_NOISE, 0, 255, RGB(200, 100, 0), RGB(0, 0, 0), RGB(0, 0, 0));
    EXPECT_EQ(200, dm.GetCanvas().GetPalette()[0].rgbRed);  // capped at 100 %
}

// The rand() values a pattern will draw, taken from the same seed.
std::vector<int> Rands(unsigned seed, size_t n)
{
    srand(seed);
    std::vector<int> v(n);
    for (int& x : v)
        x = rand();
    srand(seed);
    return v;
}

BYTE Stored(const CPaletteDib& canvas, int x, int r)
{
    return canvas.GetRow(r)[x];
}

TEST(DrawManagerShade, NoiseIsTheMiddlePlusOneGrainPerPixelRowsBottomUp)
{
    const int w = 7, h = 5, g = 5, q = 32767 / 10;
    std::vector<int> rnd = Rands(4242, w * h);
    CDrawManager dm;
    RECT r = { 0, 0, w, h };
    dm.DrawShadeEffect(r, CDrawManager::EFFECT_NOISE, g, 0, 0, 0, 0);
    for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x)
            EXPECT_EQ((BYTE)(128 + rnd[row * w + x] / q - g), Stored(dm.GetCanvas(), x, row)) << x << "," << row;
}

TEST(DrawManagerShade, VerticalShadeDrawsItsGrainColumnByColumn)
{
    const int w = 6, h = 4, g = 20, q = 32767 / 40;
    std::vector<int> rnd = Rands(99, w * h);
    CDrawManager dm;
    RECT r = { 0, 0, w, h };
    dm.DrawShadeEffect(r, CDrawManager::EFFECT_VSHADE, g, 0, 0, 0, 0);
    for (int x = 0; x < w; ++x)
        for (int row = 0; row < h; ++row) {
            int v = g + ((w - x) * (255 - 2 * g)) / w + rnd[x * h + row] / q - g;
            EXPECT_EQ((BYTE)v, Stored(dm.GetCanvas(), x, row)) << x << "," << row;
        }
    // The ramp: light at the left, dark at the right, whatever the grain.
    EXPECT_GT(Stored(dm.GetCanvas(), 0, 0), Stored(dm.GetCanvas(), w - 1, 0));
}

TEST(DrawManagerShade, HorizontalShadeAtGranularityZeroHasGrainOnlyFromTheTopRand)
{
    const int w = 3, h = 10;
    std::vector<int> rnd = Rands(7, w * h);
    CDrawManager dm;
    RECT r = { 0, 0, w, h };
    dm.DrawShadeEffect(r, CDrawManager::EFFECT_HSHADE, 0, 0, RGB(255, 255, 255), RGB(128, 128, 128), 0);
    for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x)
            EXPECT_EQ((BYTE)((row * 255) / h + (rnd[row * w + x] == 32767)), Stored(dm.GetCanvas(), x, row));
}

TEST(DrawManagerShade, SoftBumpIsClampedSoItNeverWrapsRound)
{
    // At granularity 0 the upper left sums to 128 + 128 + 125 = 381 and the
    // lower right to 128 - 125 - 125 = -122: clamped to 255 and 0.
    const int w = 300, h = 300;
    std::vector<int> rnd = Rands(5, w * h);
    CDrawManager dm;
    RECT r = { 0, 0, w, h };
    dm.DrawShadeEffect(r, CDrawManager::EFFECT_SOFTBUMP, 0, 0, RGB(255, 255, 255), RGB(128, 128, 128), 0);
    const CPaletteDib& canvas = dm.GetCanvas();
    EXPECT_EQ((BYTE)(255 + (rnd[(h - 1) * w] == 32767)), Stored(canvas, 0, h - 1));
    EXPECT_EQ((BYTE)(rnd[w - 1] == 32767), Stored(canvas, w - 1, 0));
    // And on screen: the light colour at the upper left, the dark at the lower right.
    DibCanvas c(w, h);
    RECT all = { 0, 0, w, h };
    dm.FillEffect(c.dc, all, CDrawManager::EFFECT_SOFTBUMP, RGB(250, 0, 0), RGB(128, 128, 128), RGB(0, 0, 90), 0, 0);
    EXPECT_EQ(0x00FA0000u, c.At(0, 0));
    EXPECT_EQ(0x0000005Au, c.At(w - 1, h - 1));
}

TEST(DrawManagerShade, SoftBumpKeepsWithinTheGranularityBandBeforeTheGrain)
{
    const int w = 50, h = 40, g = 30, q = 32767 / 60;
    std::vector<int> rnd = Rands(11, w * h);
    CPaletteDib canvas;
    ASSERT_NE(nullptr, canvas.CreateDib(w, h, 8));
    CDrawManager::ShadePixels(canvas.GetBits(), canvas.GetRowBytes(), w, h, CDrawManager::EFFECT_SOFTBUMP, g);
    for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x) {
            int v = Stored(canvas, x, row) - (rnd[row * w + x] / q - g);
            EXPECT_GE(v, g);
            EXPECT_LE(v, 255 - g);
        }
}

TEST(DrawManagerShade, HardBumpBevelsTheLeftAndRightEdges)
{
    // 96 x 32: bevel e = 16; on the middle row K = 32, so x below 16 takes
    // the left bevel 255 - x * 128 / 16 and x above 80 the right bevel.
    const int w = 96, h = 32, mid = h / 2;
    std::vector<int> rnd = Rands(3, 2 * w * h);
    CDrawManager dm;
    RECT r = { 0, 0, w, h };
    dm.DrawShadeEffect(r, CDrawManager::EFFECT_HARDBUMP, 0, 0, 0, 0, 0);
    auto grain2 = [&](int x, int row) { return rnd[w * h + row * w + x] == 32767 ? 1 : 0; };
    const CPaletteDib& canvas = dm.GetCanvas();
    EXPECT_EQ((BYTE)(255 + grain2(0, mid)), Stored(canvas, 0, mid));
    EXPECT_EQ((BYTE)(255 - 15 * 8 + grain2(15, mid)), Stored(canvas, 15, mid));
    EXPECT_EQ((BYTE)((w - 95) * 8 + grain2(95, mid)), Stored(canvas, 95, mid));
    EXPECT_EQ((BYTE)((w - 81) * 8 + grain2(81, mid)), Stored(canvas, 81, mid));
    // Between the bevels, the first pass: 128 + c(y') * 128 / 128 and two grains.
    int yr = (255 * mid) / h - 127;
    int first = 128 + (yr * yr * yr / 16384 * 64 * 2) / 128 + (rnd[mid * w + 48] == 32767);
    EXPECT_EQ((BYTE)(first + grain2(48, mid)), Stored(canvas, 48, mid));
}

}  // namespace
