// Bitmaps and icons with effects, read back from 32-bit memory DCs: the
// per-pixel effects, the mask path against the alpha path, shadows, frames of
// an image strip, stretched and monochrome icons, and GDI objects that stay
// flat over thousands of icon draws.
#include "toolkit/DrawManager.h"

#include "DibCanvas.h"

#include <winternl.h>

#include <vector>

namespace {

// A 32-bit bitmap of the given pixels, rows from the top; the caller deletes it.
HBITMAP MakeBitmap(int w, int h, const std::vector<DWORD>& pixels)
{
    CDibSection dib;
    if (!dib.Create(w, h))
        return NULL;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            dib.SetPixel(x, y, pixels[(size_t)y * w + x]);
    return dib.Detach();
}

std::vector<DWORD> ReadBitmap(HBITMAP h, int w, int n)
{
    DibCanvas c(w, n / w);
    CDC src;
    src.CreateCompatibleDC(NULL);
    CSelectGuard select(src, h);
    ::BitBlt(c.dc, 0, 0, w, n / w, src, 0, 0, SRCCOPY);
    std::vector<DWORD> v;
    for (int i = 0; i < n; ++i)
        v.push_back(c.Raw(i % w, i / w));
    return v;
}

const COLORREF kMagenta = RGB(255, 0, 255);

struct EffectCase
{
    const char* name;
    DWORD flags;
    BOOL useMask;
    DWORD out[4];
};

class DrawManagerImageEffect : public ::testing::TestWithParam<EffectCase>
{};

TEST_P(DrawManagerImageEffect, EachOpaquePixelTakesTheEffectsInOrderAndInvertComesLast)
{
    const EffectCase& c = GetParam();
    // Red, the mask colour, a pixel with alpha, and an orange.
    CBitmap bmp;
    bmp.Attach(MakeBitmap(4, 1, { 0x00FF0000, 0x00FF00FF, 0x80102030, 0x00F06404 }));
    CDrawManager dm;
    CBitmap out;
    ASSERT_TRUE(out.Attach(dm.CreateImageEffect(bmp, 4, 1, c.flags, c.useMask, kMagenta, RGB(1, 2, 3))));
    BITMAP bm = {};
    ASSERT_TRUE(out.GetBitmap(&bm));
    EXPECT_EQ(32, bm.bmBitsPixel);
    std::vector<DWORD> px = ReadBitmap(out, 4, 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(c.out[i], px[i]) << c.name << " pixel " << i;
    EXPECT_TRUE(dm.GetImageHasAlpha());
}

INSTANTIATE_TEST_SUITE_P(
    Tables, DrawManagerImageEffect,
    ::testing::Values(EffectCase{ "none", 0, TRUE, { 0x00FF0000, 0, 0x80102030, 0x00F06404 } },
                      EffectCase{ "grey", 0x1, TRUE, { 0x004C4C4C, 0, 0x801D1D1D, 0x00828282 } },
                      EffectCase{ "darker", 0x2, TRUE, { 0x00BF0000, 0, 0x800C1824, 0x00B44B03 } },
                      EffectCase{ "lighter", 0x4, TRUE, { 0x00FF0000, 0, 0x8014283C, 0x00FF7D05 } },
                      EffectCase{ "single colour", 0x8, TRUE, { 0x00010203, 0, 0x80010203, 0x00010203 } },
                      EffectCase{ "grey then single colour", 0x9, TRUE, { 0x00010203, 0, 0x80010203, 0x00010203 } },
                      EffectCase{ "invert", 0x8000, TRUE, { 0x0000FFFF, 0x00FFFFFF, 0x80EFDFCF, 0x000F9BFB } },
                      EffectCase{
                          "invert, no mask", 0x8000, FALSE, { 0x0000FFFF, 0x0000FF00, 0x80EFDFCF, 0x000F9BFB } },
                      EffectCase{ "AND mask", 0x8008, TRUE, { 0x00FEFDFC, 0x00FFFFFF, 0x80FEFDFC, 0x00FEFDFC } }));

TEST(DrawManagerImages, TheAlphaFlagFollowsTheImageLastProcessed)
{
    CBitmap opaque;
    opaque.Attach(MakeBitmap(2, 1, { 0x00FFFFFF, 0x00000000 }));
    CDrawManager dm;
    CBitmap a;
    a.Attach(dm.CreateImageEffect(opaque, 2, 1, 0, FALSE, 0, 0));
    EXPECT_FALSE(dm.GetImageHasAlpha());
    EXPECT_EQ(nullptr, dm.CreateImageEffect(NULL, 2, 1, 0, FALSE, 0, 0));
    EXPECT_EQ(nullptr, dm.CreateImageEffect(opaque, 0, 1, 0, FALSE, 0, 0));
}

TEST(DrawManagerImages, WithoutAlphaTheMaskColourIsTransparent)
{
    const DWORD R = 0x00FF0000, M = 0x00FF00FF;
    CBitmap bmp;
    bmp.Attach(MakeBitmap(2, 2, { R, M, M, R }));
    CDrawManager dm;
    DibCanvas c(6, 6, 0x000000FF);
    dm.DrawBitmapImage(c.dc, 1, 1, 2, 2, bmp, TRUE, kMagenta, 0, FALSE, 0, 0, 0, 0, 0);
    EXPECT_FALSE(dm.GetImageHasAlpha());
    EXPECT_EQ(R, c.At(1, 1));
    EXPECT_EQ(0x000000FFu, c.At(2, 1));
    EXPECT_EQ(0x000000FFu, c.At(1, 2));
    EXPECT_EQ(R, c.At(2, 2));
    dm.DrawBitmapImage(c.dc, 3, 3, 2, 2, bmp, FALSE, kMagenta, 0x1, FALSE, 0, 0, 0, 0, 0);
    EXPECT_EQ(0x004C4C4Cu, c.At(3, 3));
    EXPECT_EQ((DWORD)((299 * 255 + 114 * 255) / 1000 * 0x010101), c.At(4, 3));  // grey magenta
    RECT area = { 1, 1, 5, 5 };
    EXPECT_EQ(0, c.ChangedOutside(area, 0x000000FF));
}

TEST(DrawManagerImages, AnyAlphaByteSendsTheWholeImageThroughTheAlphaPath)
{
    // Only the first pixel has alpha; the others (alpha 0) then let the
    // destination through, where the mask path would have copied them.
    CBitmap bmp;
    bmp.Attach(MakeBitmap(2, 2, { 0xFFFF0000, 0x00FF0000, 0x00FF0000, 0x8000FF00 }));
    CDrawManager dm;
    DibCanvas c(2, 2, 0x00000000);
    dm.DrawBitmapImage(c.dc, 0, 0, 2, 2, bmp, FALSE, 0, 0, FALSE, 0, 0, 0, 0, 0);
    EXPECT_TRUE(dm.GetImageHasAlpha());
    EXPECT_EQ(0x00FF0000u, c.At(0, 0));
    EXPECT_EQ(0u, c.At(1, 0));
    EXPECT_EQ(0u, c.At(0, 1));
    const double a = 128 / 255.0;
    EXPECT_EQ((DWORD)(a * 255 + (1 - a) * 0) << 8, c.At(1, 1));
}

TEST(DrawManagerImages, BitmapsAreStretchedToTheRequestedSize)
{
    CBitmap bmp;
    bmp.Attach(MakeBitmap(2, 1, { 0x00FF0000, 0x000000FF }));
    CDrawManager dm;
    DibCanvas c(8, 2);
    dm.DrawBitmapImage(c.dc, 0, 0, 8, 2, bmp, FALSE, 0, 0, FALSE, 0, 0, 0, 0, 0);
    EXPECT_EQ(0x00FF0000u, c.At(0, 1));
    EXPECT_EQ(0x00FF0000u, c.At(3, 0));
    EXPECT_EQ(0x000000FFu, c.At(4, 0));
    EXPECT_EQ(0x000000FFu, c.At(7, 1));
}

TEST(DrawManagerImages, AShadowFlagDarkensAtTheOffsetAndNoFlagDrawsTheImageThere)
{
    std::vector<DWORD> red(16, 0x00FF0000);
    CBitmap bmp;
    bmp.Attach(MakeBitmap(4, 4, red));
    CDrawManager dm;
    DibCanvas c(10, 10, 0x00FFFFFF);
    dm.DrawBitmapImage(c.dc, 1, 1, 4, 4, bmp, FALSE, 0, CDrawManager::IMAGE_EFFECT_SHADOW, TRUE, 2, 3, 0, 0,
                       RGB(128, 128, 128));
    EXPECT_EQ(0x00FF0000u, c.At(4, 4));  // the image over its own shadow
    EXPECT_EQ(0x00808080u, c.At(5, 6));  // the shadow: 255 * 128 / 255
    EXPECT_EQ(0x00808080u, c.At(6, 7));
    EXPECT_EQ(0x00FFFFFFu, c.At(7, 6));
    RECT area = { 1, 1, 7, 8 };
    EXPECT_EQ(0, c.ChangedOutside(area, 0x00FFFFFF));
    DibCanvas d(10, 10, 0x00FFFFFF);
    dm.DrawBitmapImage(d.dc, 1, 1, 4, 4, bmp, FALSE, 0, 0, TRUE, 2, 3, 0, 0, RGB(128, 128, 128));
    EXPECT_EQ(0x00FF0000u, d.At(5, 6));
}

TEST(DrawManagerImages, ImageListFramesAreReadAcrossThenDown)
{
    // Three columns and two rows of 2 x 2 frames, frame k filled with k + 1.
    std::vector<DWORD> px(6 * 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            px[y * 6 + x] = (DWORD)((y / 2) * 3 + x / 2 + 1);
    CBitmap strip;
    strip.Attach(MakeBitmap(6, 4, px));
    CDrawManager dm;
    for (int frame = 0; frame < 6; ++frame) {
        DibCanvas c(4, 4, 0x00ABCDEF);
        dm.DrawImageListFrame(c.dc, 1, 1, 2, 2, strip, frame, 2, 2, FALSE, 0, 0, FALSE, 0, 0, 0, 0, 0);
        EXPECT_EQ((DWORD)frame + 1, c.At(1, 1)) << frame;
        EXPECT_EQ((DWORD)frame + 1, c.At(2, 2)) << frame;
    }
    struct Bad
    {
        int frame, cx, cy;
    };
    for (Bad b : { Bad{ 6, 2, 2 }, Bad{ -1, 2, 2 }, Bad{ 0, 0, 2 }, Bad{ 0, 2, 0 }, Bad{ 0, 7, 2 }, Bad{ 0, 2, -2 } }) {
        DibCanvas c(4, 4, 0x00ABCDEF);
        dm.DrawImageListFrame(c.dc, 1, 1, 2, 2, strip, b.frame, b.cx, b.cy, FALSE, 0, 0, FALSE, 0, 0, 0, 0, 0);
        RECT none = { 0, 0, 0, 0 };
        EXPECT_EQ(0, c.ChangedOutside(none, 0x00ABCDEF)) << b.frame << " " << b.cx << "x" << b.cy;
    }
    DibCanvas c(4, 4, 0x00ABCDEF);
    dm.DrawImageListFrame(c.dc, 0, 0, 2, 2, NULL, 0, 2, 2, FALSE, 0, 0, FALSE, 0, 0, 0, 0, 0);
    EXPECT_EQ(0x00ABCDEFu, c.At(0, 0));
}

// A square icon whose left half is opaque: red in colour, white in a
// monochrome icon (whose mask is the AND half above the XOR half); or, with
// alpha, a colour icon whose left half alone has alpha 255.
HICON MakeIcon(int size, bool monochrome, bool alpha = false)
{
    const int stride = ((size + 15) / 16) * 2;
    const int rows = monochrome ? 2 * size : size;
    std::vector<BYTE> maskBits((size_t)stride * rows, 0);
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < size; ++x) {
            bool right = x >= size / 2;
            bool bit = y < size ? (right && !alpha) : !right;  // AND: 1 transparent; XOR: 1 white
            if (bit)
                maskBits[(size_t)y * stride + x / 8] |= (BYTE)(0x80 >> (x % 8));
        }
    CBitmap mask;
    mask.CreateBitmap(size, rows, 1, 1, maskBits.data());
    CDibSection color;
    if (!monochrome) {
        color.Create(size, size);
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size / 2; ++x)
                color.SetPixel(x, y, alpha ? 0xFFFF0000 : 0x00FF0000);
    }
    ICONINFO ii = { TRUE, 0, 0, mask, monochrome ? (HBITMAP)NULL : (HBITMAP)color };
    return ::CreateIconIndirect(&ii);
}

TEST(DrawManagerIcons, TheIconsMaskLetsTheDestinationThrough)
{
    CIconHandle icon(MakeIcon(16, false));
    ASSERT_NE(nullptr, (HICON)icon);
    CDrawManager dm;
    DibCanvas c(20, 20, 0x000000FF);
    ::SetTextColor(c.dc, RGB(0, 255, 0));  // the mask's blits must not take these
    ::SetBkColor(c.dc, RGB(9, 9, 9));
    dm.DrawIconImage(c.dc, 2, 2, 16, 16, icon, 0, FALSE, 0, 0, 0, 0, 0);
    EXPECT_EQ(0x00FF0000u, c.At(2, 2));
    EXPECT_EQ(0x00FF0000u, c.At(9, 17));
    EXPECT_EQ(0x000000FFu, c.At(10, 2));
    EXPECT_EQ(0x000000FFu, c.At(17, 17));
    EXPECT_EQ(RGB(0, 255, 0), ::GetTextColor(c.dc));
    EXPECT_EQ(RGB(9, 9, 9), ::GetBkColor(c.dc));
    RECT area = { 2, 2, 18, 18 };
    EXPECT_EQ(0, c.ChangedOutside(area, 0x000000FF));
}

TEST(DrawManagerIcons, EffectsApplyToTheOpaquePartOnly)
{
    CIconHandle icon(MakeIcon(16, false));
    CDrawManager dm;
    DibCanvas c(16, 16, 0x000000FF);
    dm.DrawIconImage(c.dc, 0, 0, 16, 16, icon, CDrawManager::IMAGE_EFFECT_GRAYEN, FALSE, 0, 0, 0, 0, 0);
    EXPECT_EQ(0x004C4C4Cu, c.At(3, 3));
    EXPECT_EQ(0x000000FFu, c.At(12, 3));
    dm.DrawIconImage(c.dc, 0, 0, 16, 16, icon, CDrawManager::IMAGE_EFFECT_MONOCHROME, FALSE, 0, 0, 0, 0,
                     RGB(0, 255, 0));
    EXPECT_EQ(0x0000FF00u, c.At(3, 3));
    EXPECT_EQ(0x000000FFu, c.At(12, 3));
}

TEST(DrawManagerIcons, AnIconOfAnotherSizeIsStretched)
{
    CIconHandle icon(MakeIcon(16, false));
    CDrawManager dm;
    DibCanvas c(32, 32, 0x000000FF);
    dm.DrawIconImage(c.dc, 0, 0, 32, 32, icon, 0, FALSE, 0, 0, 0, 0, 0);
    EXPECT_EQ(0x00FF0000u, c.At(15, 31));
    EXPECT_EQ(0x000000FFu, c.At(16, 0));
    EXPECT_EQ(0x000000FFu, c.At(31, 31));
}

TEST(DrawManagerIcons, AMonochromeIconDrawsItsXorHalfUnderItsAndHalf)
{
    for (int size : { 16, 24 }) {
        CIconHandle icon(MakeIcon(16, true));
        ASSERT_NE(nullptr, (HICON)icon);
        CDrawManager dm;
        DibCanvas c(size, size, 0x000000FF);
        dm.DrawIconImage(c.dc, 0, 0, size, size, icon, 0, FALSE, 0, 0, 0, 0, 0);
        EXPECT_EQ(0x00FFFFFFu, c.At(1, 1)) << size;
        EXPECT_EQ(0x00FFFFFFu, c.At(size / 2 - 1, size - 1)) << size;
        EXPECT_EQ(0x000000FFu, c.At(size - 1, 1)) << size;
    }
}

TEST(DrawManagerIcons, AnIconWithAlphaGoesThroughTheAlphaPath)
{
    CIconHandle icon(MakeIcon(16, false, true));
    CDrawManager dm;
    DibCanvas c(16, 16, 0x000000FF);
    dm.DrawIconImage(c.dc, 0, 0, 16, 16, icon, 0, FALSE, 0, 0, 0, 0, 0);
    EXPECT_TRUE(dm.GetImageHasAlpha());
    EXPECT_EQ(0x00FF0000u, c.At(0, 0));
    EXPECT_EQ(0x000000FFu, c.At(15, 15));  // opaque in the mask, but alpha 0
}

TEST(DrawManagerIcons, SizesComeFromTheHotspotAndStayWhenUnreadable)
{
    CIconHandle icon(MakeIcon(16, false));
    CDrawManager dm;
    SIZE size = { -1, -1 };
    dm.GetSizeOfIcon(icon, &size);
    EXPECT_EQ(16, size.cx);
    EXPECT_EQ(16, size.cy);
    SIZE kept = { 7, 9 };
    dm.GetSizeOfIcon(NULL, &kept);
    dm.GetSizeOfBitmap(NULL, &kept);
    EXPECT_EQ(7, kept.cx);
    EXPECT_EQ(9, kept.cy);
    CBitmap bmp;
    bmp.Attach(MakeBitmap(5, 3, std::vector<DWORD>(15)));
    dm.GetSizeOfBitmap(bmp, &kept);
    EXPECT_EQ(5, kept.cx);
    EXPECT_EQ(3, kept.cy);
}

TEST(DrawManagerIcons, StretchIconMakesAnIconOfTheNewSize)
{
    CDrawManager dm;
    for (bool mono : { false, true }) {
        CIconHandle icon(MakeIcon(16, mono));
        CIconHandle big(dm.StretchIcon(icon, 24, 40));
        ASSERT_NE(nullptr, (HICON)big) << mono;
        CIconInfo info(big);
        BITMAP bm = {};
        ASSERT_TRUE(::GetObjectW(info.hbmMask, sizeof(bm), &bm));
        EXPECT_EQ(24, bm.bmWidth);
        EXPECT_EQ(mono ? 80 : 40, bm.bmHeight);
        EXPECT_EQ(mono, info.IsMonochrome() != FALSE);
    }
    CIconHandle icon(MakeIcon(16, false));
    EXPECT_EQ(nullptr, dm.StretchIcon(icon, 0, 10));
    EXPECT_EQ(nullptr, dm.StretchIcon(NULL, 10, 10));
}

// Live GDI objects of this process. Wine answers GetGuiResources with
// ERROR_CALL_NOT_IMPLEMENTED; there its per-process handle table, which the
// PEB points at as on Windows, is counted instead (24-byte entries, the type
// byte at offset 14, 0 for a free entry).
DWORD GdiObjectCount()
{
    ::SetLastError(0);
    DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (n != 0 || ::GetLastError() != ERROR_CALL_NOT_IMPLEMENTED)
        return n;
    typedef LONG(WINAPI * QueryProcess)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
    QueryProcess query = reinterpret_cast<QueryProcess>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info = {};
    if (query == NULL || query(::GetCurrentProcess(), ProcessBasicInformation, &info, sizeof(info), NULL) != 0)
        return 0;
    BYTE* peb = reinterpret_cast<BYTE*>(info.PebBaseAddress);
    const BYTE* table = *reinterpret_cast<BYTE* const*>(peb + (sizeof(void*) == 8 ? 0xF8 : 0x94));
    if (table == NULL)
        return 0;
    DWORD count = 0;
    for (size_t i = 0; i < 0x10000; ++i)
        count += table[i * 24 + 14] != 0;
    return count;
}

TEST(DrawManagerIcons, GdiObjectsStayFlatOverThousandsOfIconDraws)
{
    CIconHandle icon(MakeIcon(16, false));
    CIconHandle mono(MakeIcon(16, true));
    CDrawManager dm;
    DibCanvas c(40, 40, 0x00FFFFFF);
    // One round first, so that anything made once per process is made already.
    auto round = [&](int i) {
        dm.DrawIconImage(c.dc, 0, 0, 16, 16, icon, 0, FALSE, 0, 0, 0, 0, 0);
        dm.DrawIconImage(c.dc, 0, 0, 20, 20, icon, CDrawManager::IMAGE_EFFECT_SOFTSHADOW, TRUE, 2, 2, 5, 5, 0);
        dm.DrawIconImage(c.dc, 0, 0, 16, 16, mono, CDrawManager::IMAGE_EFFECT_MONOCHROME | (i % 2 ? 0x100 : 0), TRUE, 1,
                         1, 0, 0, RGB(0, 0, 255));
        SIZE s = { 0, 0 };
        dm.GetSizeOfIcon(icon, &s);
    };
    round(0);
    const DWORD before = GdiObjectCount();
    ASSERT_GT(before, 0u);
    for (int i = 0; i < 1500; ++i)
        round(i);
    EXPECT_EQ(before, GdiObjectCount());
}

}  // namespace
