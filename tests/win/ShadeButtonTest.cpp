// The shaded button's pictures on a real button: palettes after the tint and
// the highlight, the relief under its grain, the empty cases, and which
// picture DrawItem paints where.
#include "toolkit/ShadeButton.h"
#include "tests/win/WinTestSupport.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <vector>

namespace {

const WORD kButtonId = 1300;

class CProbeShadeButton : public CShadeButton
{
public:
    using CShadeButton::m_bMouseOnButton;
    using CShadeButton::m_dibHot;
    using CShadeButton::m_dibNormal;
};

BYTE Blend(int c, int t, int p)
{
    return static_cast<BYTE>((c * (100 - p) + t * p) / 100);
}

std::vector<BYTE> Pixels(const CPaletteDib& dib)
{
    std::vector<BYTE> v;
    for (LONG r = 0; r < dib.GetHeight(); ++r)
        v.insert(v.end(), dib.GetRow(r), dib.GetRow(r) + dib.GetWidth());
    return v;
}

class ShadeButtonTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        InitTestControls();
        CTestDialogTemplate tmpl(WS_POPUP | WS_CAPTION | WS_VISIBLE, 200, 100);
        tmpl.Add(kButtonId, 0x80, L"", BS_PUSHBUTTON, 5, 5, 50, 25);
        ASSERT_TRUE(m_dialog.CreateIndirect(tmpl.Get()));
        ASSERT_TRUE(m_button.SubclassDlgItem(kButtonId, &m_dialog));
        Resize(80, 40);
    }
    void TearDown() override { m_dialog.DestroyWindow(); }
    void Resize(int cx, int cy) { ::MoveWindow(m_button.GetSafeHwnd(), 5, 5, cx, cy, TRUE); }

    CDialog m_dialog;
    CProbeShadeButton m_button;
};

TEST_F(ShadeButtonTest, PalettesAreTintedAndTheHotOneLighter)
{
    m_button.SetShade();
    const CPaletteDib& normal = m_button.m_dibNormal;
    const CPaletteDib& hot = m_button.m_dibHot;
    ASSERT_FALSE(normal.IsEmpty());
    ASSERT_FALSE(hot.IsEmpty());
    EXPECT_EQ(8, normal.GetHeader().biBitCount);
    ASSERT_EQ(256, normal.GetPaletteEntries());
    ASSERT_EQ(256, hot.GetPaletteEntries());

    const COLORREF crLight = GetSysColor(COLOR_BTNHIGHLIGHT);
    RGBQUAD plain[256];
    CShadeButton::ShadePalette(GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNFACE), crLight, plain);
    const RGBQUAD* pNormal = normal.GetPalette();
    const RGBQUAD* pHot = hot.GetPalette();
    for (int i = 0; i < 256; ++i) {
        SCOPED_TRACE(i);
        // 5 % toward RGB(55, 55, 255).
        BYTE r = Blend(plain[i].rgbRed, 55, 5), g = Blend(plain[i].rgbGreen, 55, 5),
             b = Blend(plain[i].rgbBlue, 255, 5);
        ASSERT_EQ(r, pNormal[i].rgbRed);
        ASSERT_EQ(g, pNormal[i].rgbGreen);
        ASSERT_EQ(b, pNormal[i].rgbBlue);
        // A further 20 % toward the light colour.
        ASSERT_EQ(Blend(r, GetRValue(crLight), 20), pHot[i].rgbRed);
        ASSERT_EQ(Blend(g, GetGValue(crLight), 20), pHot[i].rgbGreen);
        ASSERT_EQ(Blend(b, GetBValue(crLight), 20), pHot[i].rgbBlue);
    }
}

TEST_F(ShadeButtonTest, PixelsAreTheReliefWithAGrainOfEightSteps)
{
    srand(12345);
    m_button.SetShade();
    const CPaletteDib& normal = m_button.m_dibNormal;
    ASSERT_EQ(80, normal.GetWidth());
    ASSERT_EQ(40, normal.GetHeight());
    // The corners before the grain.
    EXPECT_EQ(247, CShadeButton::ShadeValue(0, 39, 80, 40));
    EXPECT_EQ(8, CShadeButton::ShadeValue(79, 0, 80, 40));

    // Replaying the generator gives each pixel's grain in drawing order.
    srand(12345);
    bool grainSeen = false;
    for (int r = 0; r < 40; ++r) {
        const BYTE* row = normal.GetRow(r);
        for (int x = 0; x < 80; ++x) {
            int value = CShadeButton::ShadeValue(x, r, 80, 40);
            int grain = rand() / 2047 - 8;
            ASSERT_EQ(value + grain, row[x]) << x << "," << r;
            ASSERT_LE(abs(row[x] - value), 8);
            grainSeen = grainSeen || grain != 0;
        }
    }
    EXPECT_TRUE(grainSeen);
    // The hot copy has the same pixels.
    EXPECT_EQ(Pixels(normal), Pixels(m_button.m_dibHot));
}

TEST_F(ShadeButtonTest, SecondShadeKeepsThePaletteAndChangesTheGrain)
{
    m_button.SetShade();
    std::vector<RGBQUAD> palette(m_button.m_dibNormal.GetPalette(), m_button.m_dibNormal.GetPalette() + 256);
    std::vector<BYTE> first = Pixels(m_button.m_dibNormal);
    m_button.SetShade();
    EXPECT_EQ(0, memcmp(palette.data(), m_button.m_dibNormal.GetPalette(), 256 * sizeof(RGBQUAD)));
    EXPECT_NE(first, Pixels(m_button.m_dibNormal));
}

TEST_F(ShadeButtonTest, ZeroSizeAndNoWindowMakeNoPixels)
{
    Resize(0, 40);
    m_button.SetShade();
    EXPECT_EQ(0, m_button.m_dibNormal.GetWidth());
    EXPECT_EQ(0u, m_button.m_dibNormal.GetHeader().biSizeImage);

    CProbeShadeButton unattached;
    unattached.SetShade();
    EXPECT_TRUE(unattached.m_dibNormal.IsEmpty());
    EXPECT_TRUE(unattached.m_dibHot.IsEmpty());
}

// The background DrawItem paints: which picture, and where.
TEST_F(ShadeButtonTest, DrawItemPaintsThePictureOfTheState)
{
    m_button.SetShade();
    const COLORREF kFill = RGB(1, 2, 3);
    auto paint = [&](BOOL hover, UINT state, int x, int y) {
        HDC hScreen = GetDC(NULL);
        HDC hDC = CreateCompatibleDC(hScreen);
        HBITMAP hBmp = CreateCompatibleBitmap(hScreen, 80, 40);
        ReleaseDC(NULL, hScreen);
        HGDIOBJ hOld = SelectObject(hDC, hBmp);
        HBRUSH hBrush = CreateSolidBrush(kFill);
        RECT rc = { 0, 0, 80, 40 };
        FillRect(hDC, &rc, hBrush);
        DeleteObject(hBrush);
        m_button.m_bMouseOnButton = hover;
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.itemState = state;
        dis.hwndItem = m_button.GetSafeHwnd();
        dis.hDC = hDC;
        dis.rcItem = rc;
        m_button.DrawItem(&dis);
        COLORREF cr = GetPixel(hDC, x, y);
        SelectObject(hDC, hOld);
        DeleteObject(hBmp);
        DeleteDC(hDC);
        return cr;
    };
    auto colourOf = [](const CPaletteDib& dib, int x, int row) {
        const RGBQUAD& q = dib.GetPalette()[dib.GetRow(row)[x]];
        return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
    };
    const CPaletteDib& normal = m_button.m_dibNormal;
    const CPaletteDib& hot = m_button.m_dibHot;
    // Inside, away from the flat border: (20, 10) is stored row 29.
    EXPECT_EQ(colourOf(normal, 20, 29), paint(FALSE, 0, 20, 10));
    EXPECT_EQ(colourOf(normal, 20, 29), paint(FALSE, ODS_SELECTED, 20, 10));
    EXPECT_EQ(colourOf(hot, 20, 29), paint(TRUE, 0, 20, 10));
    // Pressed while hovered: the hot picture one pixel right and down, so
    // screen (21, 11) shows picture (20, 10).
    EXPECT_EQ(colourOf(hot, 20, 29), paint(TRUE, ODS_SELECTED, 21, 11));
    // ...and its sunken border on top; the picture never reaches row 0 / column 0
    // inside the border, which is the shadow colour.
    EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), paint(TRUE, ODS_SELECTED, 0, 0));
    // Hovered, not pressed: the raised border.
    EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), paint(TRUE, 0, 0, 0));
}

TEST_F(ShadeButtonTest, BeforeSetShadeTheBackgroundIsLeftAlone)
{
    HDC hScreen = GetDC(NULL);
    HDC hDC = CreateCompatibleDC(hScreen);
    HBITMAP hBmp = CreateCompatibleBitmap(hScreen, 80, 40);
    ReleaseDC(NULL, hScreen);
    HGDIOBJ hOld = SelectObject(hDC, hBmp);
    HBRUSH hBrush = CreateSolidBrush(RGB(1, 2, 3));
    RECT rc = { 0, 0, 80, 40 };
    FillRect(hDC, &rc, hBrush);
    DeleteObject(hBrush);
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_BUTTON;
    dis.hwndItem = m_button.GetSafeHwnd();
    dis.hDC = hDC;
    dis.rcItem = rc;
    m_button.DrawItem(&dis);
    EXPECT_EQ(RGB(1, 2, 3), GetPixel(hDC, 20, 10));
    SelectObject(hDC, hOld);
    DeleteObject(hBmp);
    DeleteDC(hDC);
}

}  // namespace
