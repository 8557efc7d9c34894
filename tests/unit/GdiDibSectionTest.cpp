// The framework's GDI pieces for pixel work: 32-bit DIB sections in both row
// orders, selection guards, and icon information that frees its bitmaps.
#include "afxwin.h"

#include <gtest/gtest.h>

namespace {

TEST(DibSection, ARedFillReadsAsRedInTheHighByteOfThePixel)
{
    for (BOOL topDown : { TRUE, FALSE }) {
        CDibSection dib;
        ASSERT_TRUE(dib.Create(4, 3, topDown));
        CDC* pDC = CDC::FromHandle(dib.GetDC());
        pDC->FillSolidRect(0, 0, 4, 1, RGB(255, 0, 0));         // top row
        pDC->FillSolidRect(0, 2, 1, 1, RGB(0x12, 0x34, 0x56));  // bottom left
        ::GdiFlush();
        EXPECT_EQ(0x00FF0000u, dib.GetPixel(3, 0) & 0xFFFFFF);
        EXPECT_EQ(0x00123456u, dib.GetPixel(0, 2) & 0xFFFFFF);
        EXPECT_EQ(0u, dib.GetPixel(1, 1));
        // The stored order differs: the lowest address holds the top row only when top-down.
        EXPECT_EQ(topDown ? 0x00FF0000u : 0x00123456u, dib.GetBits()[0] & 0xFFFFFF);
        EXPECT_EQ(RGB(0x12, 0x34, 0x56), CDibSection::ColorFromPixel(dib.GetPixel(0, 2)));
    }
    EXPECT_EQ(0x00FF0000u, CDibSection::PixelFromColor(RGB(255, 0, 0)));
    EXPECT_EQ(0x00563412u, CDibSection::PixelFromColor(RGB(0x56, 0x34, 0x12)));
}

TEST(DibSection, RefusesEmptyNegativeAndOverflowingSizes)
{
    const int sizes[][2] = { { 0, 1 }, { 1, 0 }, { -2, 3 }, { 3, -2 }, { 0x10000, 0x10000 }, { 0x7FFFFFFF, 1 } };
    for (const auto& s : sizes) {
        CDibSection dib;
        ASSERT_TRUE(dib.Create(2, 2));
        EXPECT_FALSE(dib.Create(s[0], s[1])) << s[0] << " x " << s[1];
        EXPECT_EQ(nullptr, (HBITMAP)dib);
        EXPECT_EQ(nullptr, dib.GetBits());
        EXPECT_EQ(nullptr, dib.GetDC());
    }
}

TEST(DibSection, CopyFromAndCopyToMoveTheWholeSection)
{
    CDibSection src, dst;
    ASSERT_TRUE(src.Create(6, 6));
    ASSERT_TRUE(dst.Create(2, 2, FALSE));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            src.SetPixel(x, y, (DWORD)(y * 16 + x));
    ASSERT_TRUE(dst.CopyFrom(src.GetDC(), 3, 1));
    EXPECT_EQ(0x13u, dst.GetPixel(0, 0));
    EXPECT_EQ(0x24u, dst.GetPixel(1, 1));
    dst.Fill(0x00ABCDEF);
    ASSERT_TRUE(dst.CopyTo(src.GetDC(), 0, 4));
    ::GdiFlush();
    EXPECT_EQ(0x00ABCDEFu, src.GetPixel(1, 5) & 0xFFFFFF);
    EXPECT_EQ(0x33u, src.GetPixel(3, 3));
}

TEST(DibSection, TheSectionLeavesItsDCBeforeEitherIsDeleted)
{
    CDibSection dib;
    ASSERT_TRUE(dib.Create(2, 2));
    HBITMAP hBitmap = dib;
    HDC hDC = dib.GetDC();
    ASSERT_NE(nullptr, hDC);
    EXPECT_EQ((HGDIOBJ)hBitmap, ::GetCurrentObject(hDC, OBJ_BITMAP));
    HBITMAP hKept = dib.Detach();
    EXPECT_EQ(hBitmap, hKept);
    EXPECT_EQ(nullptr, dib.GetDC());
    EXPECT_EQ(OBJ_BITMAP, (int)::GetObjectType(hKept));  // still alive, now the caller's
    EXPECT_TRUE(::DeleteObject(hKept));                  // deletable: no DC holds it
}

TEST(SelectGuard, PutsTheOriginalObjectBack)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
    HGDIOBJ hOriginal = ::GetCurrentObject(dc, OBJ_BRUSH);
    CBrush brush(RGB(1, 2, 3));
    {
        CSelectGuard guard(dc, brush);
        EXPECT_EQ((HGDIOBJ)brush, ::GetCurrentObject(dc, OBJ_BRUSH));
        EXPECT_EQ(hOriginal, guard.GetOld());
    }
    EXPECT_EQ(hOriginal, ::GetCurrentObject(dc, OBJ_BRUSH));
}

HICON MakeIcon(int size, bool colour)
{
    CDibSection color;
    if (colour && !color.Create(size, size))
        return NULL;
    CBitmap mask;
    mask.CreateBitmap(size, colour ? size : size * 2, 1, 1, NULL);
    ICONINFO ii = { TRUE, 0, 0, mask, colour ? (HBITMAP)color : (HBITMAP)NULL };
    return ::CreateIconIndirect(&ii);
}

TEST(IconInfo, DeletesTheBitmapsItWasHanded)
{
    CIconHandle icon(MakeIcon(16, true));
    ASSERT_NE(nullptr, (HICON)icon);
    HBITMAP hMask, hColor;
    {
        CIconInfo info(icon);
        ASSERT_TRUE(info.IsValid());
        EXPECT_FALSE(info.IsMonochrome());
        EXPECT_EQ(8u, info.xHotspot);
        hMask = info.hbmMask;
        hColor = info.hbmColor;
        EXPECT_EQ(OBJ_BITMAP, (int)::GetObjectType(hMask));
    }
    EXPECT_EQ(0, (int)::GetObjectType(hMask));
    EXPECT_EQ(0, (int)::GetObjectType(hColor));
}

TEST(IconInfo, AMonochromeIconHasNoColourBitmapAndABadHandleReadsNothing)
{
    CIconHandle icon(MakeIcon(16, false));
    ASSERT_NE(nullptr, (HICON)icon);
    CIconInfo info(icon);
    EXPECT_TRUE(info.IsMonochrome());
    BITMAP bm = {};
    ASSERT_TRUE(::GetObjectW(info.hbmMask, sizeof(bm), &bm));
    EXPECT_EQ(32, bm.bmHeight);
    CIconInfo none(NULL);
    EXPECT_FALSE(none.IsValid());
    EXPECT_FALSE(none.Read((HICON)(UINT_PTR)0x1234));
}

}  // namespace
