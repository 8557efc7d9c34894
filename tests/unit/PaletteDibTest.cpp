// The palette picture: block layout, palette blending and copies, and what
// DrawDib puts into a 32-bit memory DC.
#include "toolkit/PaletteDib.h"

#include "DibCanvas.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct LayoutCase
{
    LONG width;
    LONG height;
    WORD bits;
    DWORD rowBytes;
    WORD entries;
};

class PaletteDibLayout : public ::testing::TestWithParam<LayoutCase>
{};

TEST_P(PaletteDibLayout, RowsArePaddedToWholeWordsAndThePaletteFollowsTheHeader)
{
    const LayoutCase& c = GetParam();
    CPaletteDib dib;
    BYTE* pBlock = dib.CreateDib(c.width, c.height, c.bits);
    ASSERT_NE(nullptr, pBlock);
    EXPECT_EQ(c.rowBytes, dib.GetRowBytes());
    EXPECT_EQ(c.entries, dib.GetPaletteEntries());
    const BITMAPINFOHEADER* h = reinterpret_cast<const BITMAPINFOHEADER*>(pBlock);
    EXPECT_EQ(40u, h->biSize);
    EXPECT_EQ(c.width, h->biWidth);
    EXPECT_EQ(c.height, h->biHeight);  // positive: rows stored bottom-up
    EXPECT_EQ(1, h->biPlanes);
    EXPECT_EQ(c.bits, h->biBitCount);
    EXPECT_EQ((DWORD)BI_RGB, h->biCompression);
    EXPECT_EQ(c.rowBytes * c.height, h->biSizeImage);
    EXPECT_EQ(0u, h->biClrUsed);
    EXPECT_EQ(pBlock + 40 + 4 * c.entries, dib.GetBits());
    EXPECT_EQ(40u + 4u * c.entries + c.rowBytes * c.height, dib.GetBlockSize());
    EXPECT_EQ(0, memcmp(h, &dib.GetHeader(), sizeof(BITMAPINFOHEADER)));
}

INSTANTIATE_TEST_SUITE_P(Tables, PaletteDibLayout,
                         ::testing::Values(LayoutCase{ 1, 3, 8, 4, 256 }, LayoutCase{ 33, 2, 8, 36, 256 },
                                           LayoutCase{ 1, 1, 1, 4, 2 }, LayoutCase{ 33, 1, 1, 8, 2 },
                                           LayoutCase{ 9, 2, 4, 8, 16 }, LayoutCase{ 2, 2, 24, 8, 0 },
                                           LayoutCase{ 3, 1, 32, 12, 0 }, LayoutCase{ 5, 1, 16, 12, 0 },
                                           LayoutCase{ 0, 4, 8, 0, 256 }));  // width 0: no pixel bytes

TEST(PaletteDib, RefusesNegativeAndOverflowingSizesAndDropsTheOldPicture)
{
    const LONG sizes[][2] = { { -1, 1 }, { 1, -1 }, { 0x7FFFFFFF, 2 }, { 65536, 65536 }, { 0x20000000, 5 } };
    for (const auto& s : sizes) {
        CPaletteDib dib;
        ASSERT_NE(nullptr, dib.CreateDib(4, 4, 8));
        EXPECT_EQ(nullptr, dib.CreateDib(s[0], s[1], 8)) << s[0] << " x " << s[1];
        EXPECT_TRUE(dib.IsEmpty());
        EXPECT_EQ(nullptr, dib.GetBits());
        EXPECT_EQ(0, dib.GetWidth());
    }
}

void FillPalette(CPaletteDib& dib, BYTE r, BYTE g, BYTE b)
{
    for (UINT i = 0; i < dib.GetPaletteEntries(); ++i)
        dib.SetPaletteIndex(i, r, g, b);
}

struct BlendCase
{
    int percent;
    BYTE red, green, blue;  // one entry after blending (10, 200, 255) toward (101, 0, 55)
};

class PaletteDibBlend : public ::testing::TestWithParam<BlendCase>
{};

TEST_P(PaletteDibBlend, EachChannelMovesTowardTheColourRoundedDown)
{
    const BlendCase& c = GetParam();
    CPaletteDib dib;
    ASSERT_NE(nullptr, dib.CreateDib(2, 2, 4));
    FillPalette(dib, 10, 200, 255);
    dib.BlendPalette(RGB(101, 0, 55), c.percent);
    for (UINT i = 0; i < 16; ++i) {
        const RGBQUAD& q = dib.GetPalette()[i];
        EXPECT_EQ(c.red, q.rgbRed) << c.percent;
        EXPECT_EQ(c.green, q.rgbGreen) << c.percent;
        EXPECT_EQ(c.blue, q.rgbBlue) << c.percent;
        EXPECT_EQ(0, q.rgbReserved);
    }
}

INSTANTIATE_TEST_SUITE_P(Tables, PaletteDibBlend,
                         ::testing::Values(BlendCase{ 0, 10, 200, 255 },
                                           BlendCase{ 5, 14, 190,
                                                      245 },  // (10*95+101*5)/100 = 14.55, 190, (255*95+55*5)/100 = 245
                                           BlendCase{ 50, 55, 100, 155 }, BlendCase{ 100, 101, 0, 55 },
                                           BlendCase{ 150, 101, 0, 55 },      // capped at 100
                                           BlendCase{ -40, 10, 200, 255 }));  // clamped at 0, never pushed away

TEST(PaletteDib, WithoutAPaletteBlendAndSetIndexDoNothing)
{
    CPaletteDib dib;
    dib.BlendPalette(RGB(1, 2, 3), 50);  // empty picture
    dib.SetPaletteIndex(0, 1, 2, 3);
    BYTE* pBlock = dib.CreateDib(3, 2, 24);
    ASSERT_NE(nullptr, pBlock);
    EXPECT_EQ(nullptr, dib.GetPalette());
    memset(dib.GetBits(), 0x5A, dib.GetHeader().biSizeImage);
    std::vector<BYTE> before(pBlock, pBlock + dib.GetBlockSize());
    dib.BlendPalette(RGB(255, 255, 255), 100);
    dib.SetPaletteIndex(0, 1, 2, 3);
    EXPECT_EQ(before, std::vector<BYTE>(pBlock, pBlock + dib.GetBlockSize()));
}

TEST(PaletteDib, SetPaletteIndexWritesBlueGreenRedAndIgnoresIndexesPastTheEnd)
{
    CPaletteDib dib;
    BYTE* pBlock = dib.CreateDib(4, 1, 4);
    ASSERT_NE(nullptr, pBlock);
    memset(pBlock + 40, 0xEE, dib.GetBlockSize() - 40);
    dib.SetPaletteIndex(15, 0x11, 0x22, 0x33);
    const BYTE expect[4] = { 0x33, 0x22, 0x11, 0 };
    EXPECT_EQ(0, memcmp(expect, pBlock + 40 + 15 * 4, 4));
    std::vector<BYTE> before(pBlock, pBlock + dib.GetBlockSize());
    dib.SetPaletteIndex(16, 1, 2, 3);  // first pixel byte follows entry 15
    dib.SetPaletteIndex(0xFFFFFFFF, 1, 2, 3);
    EXPECT_EQ(before, std::vector<BYTE>(pBlock, pBlock + dib.GetBlockSize()));
}

TEST(PaletteDib, CopyDibCopiesHeaderPaletteAndPixels)
{
    CPaletteDib src;
    ASSERT_NE(nullptr, src.CreateDib(5, 3, 8));
    for (UINT i = 0; i < 256; ++i)
        src.SetPaletteIndex(i, (BYTE)i, (BYTE)(255 - i), (BYTE)(i * 7));
    for (DWORD i = 0; i < src.GetHeader().biSizeImage; ++i)
        src.GetBits()[i] = (BYTE)(i * 13);
    CPaletteDib copy;
    ASSERT_NE(nullptr, copy.CreateDib(1, 1, 1));
    copy.CopyDib(&src);
    ASSERT_EQ(src.GetBlockSize(), copy.GetBlockSize());
    EXPECT_EQ(0, memcmp(src.GetBlock(), copy.GetBlock(), src.GetBlockSize()));
    EXPECT_EQ(256, copy.GetPaletteEntries());
    EXPECT_EQ(8u, copy.GetRowBytes());
    EXPECT_NE(src.GetBits(), copy.GetBits());
}

TEST(PaletteDib, CopyDibFromAnEmptyPictureLeavesThisOneEmpty)
{
    CPaletteDib empty;
    CPaletteDib dib;
    ASSERT_NE(nullptr, dib.CreateDib(4, 4, 8));
    dib.CopyDib(&empty);
    EXPECT_TRUE(dib.IsEmpty());
    ASSERT_NE(nullptr, dib.CreateDib(4, 4, 8));
    dib.CopyDib(nullptr);
    EXPECT_TRUE(dib.IsEmpty());
}

TEST(PaletteDib, CopyDibOntoItselfKeepsThePicture)
{
    CPaletteDib dib;
    ASSERT_NE(nullptr, dib.CreateDib(2, 2, 8));
    FillPalette(dib, 1, 2, 3);
    memset(dib.GetBits(), 9, dib.GetHeader().biSizeImage);
    dib.CopyDib(&dib);
    ASSERT_FALSE(dib.IsEmpty());
    EXPECT_EQ(3, dib.GetPalette()[255].rgbBlue);
    EXPECT_EQ(9, dib.GetBits()[0]);
}

TEST(PaletteDib, DrawDibPutsTheBottomRowLowestAndRedIsRed)
{
    CPaletteDib dib;
    ASSERT_NE(nullptr, dib.CreateDib(3, 2, 8));
    FillPalette(dib, 0, 0, 0);
    dib.SetPaletteIndex(1, 255, 0, 0);
    dib.SetPaletteIndex(2, 0, 0, 255);
    dib.SetPaletteIndex(3, 0x12, 0x34, 0x56);
    memset(dib.GetBits(), 0, dib.GetHeader().biSizeImage);
    dib.GetRow(0)[0] = 1;  // bottom row, left
    dib.GetRow(1)[2] = 2;  // top row, right
    dib.GetRow(1)[0] = 3;
    DibCanvas c(5, 4, 0x00777777);
    dib.DrawDib(c.dc, 1, 1);
    EXPECT_EQ(0x00FF0000u, c.At(1, 2));
    EXPECT_EQ(0x000000FFu, c.At(3, 1));
    EXPECT_EQ(0x00123456u, c.At(1, 1));
    EXPECT_EQ(0x00000000u, c.At(2, 2));
    EXPECT_EQ(0x00777777u, c.At(0, 0));  // outside the picture
    EXPECT_EQ(0x00777777u, c.At(4, 1));
    EXPECT_EQ(0x00777777u, c.At(1, 3));
}

TEST(PaletteDib, DrawDibCopiesNewPixelsEachTimeButKeepsTheFirstColourTable)
{
    CPaletteDib dib;
    ASSERT_NE(nullptr, dib.CreateDib(2, 1, 8));
    FillPalette(dib, 0, 0, 0);
    dib.SetPaletteIndex(1, 0, 255, 0);
    dib.GetBits()[0] = 0;
    dib.GetBits()[1] = 1;
    DibCanvas c(2, 1, 0);
    dib.DrawDib(c.dc, 0, 0);
    EXPECT_EQ(0x0000FF00u, c.At(1, 0));
    dib.SetPaletteIndex(1, 255, 255, 255);  // too late for this section
    dib.GetBits()[0] = 1;
    dib.DrawDib(c.dc, 0, 0);
    EXPECT_EQ(0x0000FF00u, c.At(0, 0));
    EXPECT_EQ(0x0000FF00u, c.At(1, 0));
    CPaletteDib again;
    again.CopyDib(&dib);  // a new picture takes the new table
    again.DrawDib(c.dc, 0, 0);
    EXPECT_EQ(0x00FFFFFFu, c.At(0, 0));
}

TEST(PaletteDib, EmptyAndZeroWidthPicturesDrawNothing)
{
    DibCanvas c(4, 4, 0x00ABCDEF);
    CPaletteDib empty;
    empty.DrawDib(c.dc, 0, 0);
    CPaletteDib narrow;
    ASSERT_NE(nullptr, narrow.CreateDib(0, 4, 8));
    narrow.DrawDib(c.dc, 0, 0);
    narrow.DrawDib(nullptr, 0, 0);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(0x00ABCDEFu, c.At(x, y));
}

}  // namespace
