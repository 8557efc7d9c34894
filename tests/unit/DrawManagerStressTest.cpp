// Every background effect and image operation at awkward sizes, drawn inside a
// guard margin that must not change; and the shaded patterns written into a
// buffer with guard bytes before, between (row padding) and after the rows.
#include "toolkit/DrawManager.h"

#include "DibCanvas.h"

#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {

const int kSizes[][2] = { { 0, 7 }, { 7, 0 },    { 1, 1 },    { 3, 9 }, { 3, 1 },
                          { 2, 3 }, { 200, 40 }, { 5000, 2 }, { 5, 5 }, { -4, 3 } };
const DWORD kGuard = 0x00A5A5A5;
const int kMargin = 6;

TEST(DrawManagerStress, EveryEffectStaysInsideItsRectangle)
{
    CDrawManager dm;
    for (const auto& s : kSizes) {
        const int w = s[0] > 0 ? s[0] : 0, h = s[1] > 0 ? s[1] : 0;
        DibCanvas c(w + 2 * kMargin, h + 2 * kMargin, kGuard);
        RECT r = { kMargin, kMargin, kMargin + s[0], kMargin + s[1] };
        RECT inside = { kMargin, kMargin, kMargin + w, kMargin + h };
        for (int effect = -1; effect <= 16; ++effect)
            for (int g : { 0, 5, 128, 255 }) {
                srand(effect * 1000 + g);
                dm.FillEffect(c.dc, r, effect, RGB(250, 10, 10), RGB(10, 250, 10), RGB(10, 10, 250), (BYTE)g,
                              (BYTE)(g % 101));
                ASSERT_EQ(0, c.ChangedOutside(inside, kGuard))
                    << "effect " << effect << " granularity " << g << " at " << s[0] << " x " << s[1];
            }
    }
}

TEST(DrawManagerStress, ImageOperationsStayInsideTheirArea)
{
    CDibSection img;
    ASSERT_TRUE(img.Create(4, 4));
    img.Fill(0x00FF0000);
    img.SetPixel(1, 1, 0x00FF00FF);
    img.ReleaseDC();
    CDibSection alpha;
    ASSERT_TRUE(alpha.Create(3, 3));
    alpha.Fill(0x80008000);
    CDrawManager dm;
    const DWORD flags[] = { 0, 0x1, 0x2, 0x4, 0x8, 0x100, 0x200, 0x8000, 0x820F };
    for (const auto& s : kSizes) {
        const int w = s[0] > 0 ? s[0] : 0, h = s[1] > 0 ? s[1] : 0;
        if ((LONGLONG)w * h > 20000)
            continue;  // the 5000 x 2 case is covered by the effects above
        DibCanvas c(w + 2 * kMargin, h + 2 * kMargin, kGuard);
        RECT inside = { kMargin, kMargin, kMargin + w, kMargin + h };
        for (DWORD f : flags) {
            dm.DrawBitmapImage(c.dc, kMargin, kMargin, s[0], s[1], img, TRUE, RGB(255, 0, 255), f, FALSE, 0, 0, 7, 7,
                               RGB(40, 40, 40));
            dm.DrawImageListFrame(c.dc, kMargin, kMargin, s[0], s[1], img, 3, 2, 2, FALSE, 0, f, FALSE, 0, 0, 7, 7, 0);
            dm.DrawShadow(c.dc, kMargin, kMargin, s[0], s[1], img, (f & 0x200) != 0, 7, 7);
            dm.AlphaBlendDC(alpha.GetDC(), c.dc, kMargin, kMargin, s[0] < 3 ? s[0] : 3, s[1] < 3 ? s[1] : 3, 50);
            dm.AlphaChannelBlit(alpha.GetDC(), c.dc, kMargin, kMargin, s[0] < 3 ? s[0] : 3, s[1] < 3 ? s[1] : 3);
            alpha.ReleaseDC();
            ASSERT_EQ(0, c.ChangedOutside(inside, kGuard)) << "flags " << f << " at " << s[0] << " x " << s[1];
        }
    }
}

// Rows of the given width padded to dwRowBytes, with guard bytes before the
// first row (where a palette lies in the canvas) and after the last.
struct GuardedRows
{
    static const size_t kGuardBytes = 1024;
    std::vector<BYTE> bytes;
    DWORD rowBytes;
    int w, h;
    GuardedRows(int w, int h) : rowBytes((DWORD)((w + 3) / 4 * 4 + 4)), w(w), h(h)
    {
        bytes.assign(2 * kGuardBytes + (size_t)rowBytes * h, 0xA5);
    }
    BYTE* Rows() { return bytes.data() + kGuardBytes; }
    // Bytes changed outside the w first bytes of each row.
    int ChangedOutside() const
    {
        int n = 0;
        for (size_t i = 0; i < bytes.size(); ++i) {
            bool inRows = i >= kGuardBytes && i < kGuardBytes + (size_t)rowBytes * h;
            bool inPixels = inRows && (i - kGuardBytes) % rowBytes < (size_t)w;
            if (!inPixels && bytes[i] != 0xA5)
                ++n;
        }
        return n;
    }
};

TEST(DrawManagerStress, ShadedPatternsNeverWriteOutsideTheirRows)
{
    const int sizes[][2] = { { 1, 1 },    { 3, 40 },    { 200, 40 }, { 5000, 2 },
                             { 2, 5000 }, { 40000, 1 }, { 7, 1 },    { 1, 7 } };
    for (const auto& s : sizes)
        for (int effect = 7; effect <= 15; ++effect)
            for (int g : { 0, 8, 255 }) {
                GuardedRows rows(s[0], s[1]);
                srand(effect * 31 + g);
                CDrawManager::ShadePixels(rows.Rows(), rows.rowBytes, s[0], s[1], effect, g);
                ASSERT_EQ(0, rows.ChangedOutside())
                    << "effect " << effect << " granularity " << g << " at " << s[0] << " x " << s[1];
            }
}

TEST(DrawManagerStress, MetalStrokesThatStartPastTheEdgeAreClipped)
{
    // x0 = rand() / (32767 / w) reaches w and beyond, y0 likewise; count the
    // strokes of these seeds that do, so that the clipping is really tried.
    const int w = 200, h = 40;
    int pastTheEdge = 0;
    for (unsigned seed = 1; seed <= 40; ++seed) {
        srand(seed);
        for (int k = 0; k < 200; ++k) {
            int x0 = rand() / (32767 / w), y0 = rand() / (32767 / h), len = (rand() / (32767 / h)) / 2;
            rand();
            if ((x0 >= w || y0 >= h || len > x0) && len > 0)
                ++pastTheEdge;
        }
        GuardedRows rows(w, h);
        srand(seed);
        CDrawManager::ShadePixels(rows.Rows(), rows.rowBytes, w, h, CDrawManager::EFFECT_METAL, 10);
        ASSERT_EQ(0, rows.ChangedOutside()) << "seed " << seed;
    }
    EXPECT_GT(pastTheEdge, 0);
}

TEST(DrawManagerStress, TheCanvasPaletteSurvivesTheMetalStrokes)
{
    // Row -1 of the bottom-up canvas is the end of its palette: a stroke
    // starting at y0 = h would land there.
    CDrawManager dm;
    RECT r = { 0, 0, 200, 40 };
    const COLORREF light = RGB(255, 250, 245), mid = RGB(128, 120, 110), dark = RGB(5, 6, 7);
    dm.DrawShadeEffect(r, CDrawManager::EFFECT_NOISE, 10, 0, light, mid, dark);
    std::vector<RGBQUAD> palette(dm.GetCanvas().GetPalette(), dm.GetCanvas().GetPalette() + 256);
    for (unsigned seed = 1; seed <= 300; ++seed) {
        srand(seed);
        dm.DrawShadeEffect(r, CDrawManager::EFFECT_METAL, 10, 0, light, mid, dark);
        ASSERT_EQ(0, memcmp(palette.data(), dm.GetCanvas().GetPalette(), 256 * sizeof(RGBQUAD))) << seed;
    }
}

TEST(DrawManagerStress, HugeAndNegativeCanvasesAreRefusedBeforeAnyPixel)
{
    CDrawManager dm;
    const RECT rects[] = {
        { 0, 0, 0x7FFFFFFF, 3 }, { 0, 0, 70000, 70000 }, { 10, 10, 0, 5 }, { -0x7FFFFFFF, 0, 0x7FFFFFFF, 2 }
    };
    for (const RECT& r : rects) {
        dm.DrawShadeEffect(r, CDrawManager::EFFECT_NOISE, 5, 0, 0, 0, 0);
        EXPECT_TRUE(dm.GetCanvas().IsEmpty());
    }
}

}  // namespace
