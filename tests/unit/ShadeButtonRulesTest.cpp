// The shaded face's pure rules on plain data: the palette from shadow over
// face to light, and the relief values under the grain.
#include "toolkit/ShadeButton.h"

#include <gtest/gtest.h>

namespace {

TEST(ShadeButtonRules, PaletteRunsFromShadowOverFaceToLight)
{
    RGBQUAD pal[256] = {};
    CShadeButton::ShadePalette(RGB(0, 64, 128), RGB(128, 100, 0), RGB(228, 255, 255), pal);
    EXPECT_EQ(0, pal[0].rgbRed);
    EXPECT_EQ(64, pal[0].rgbGreen);
    EXPECT_EQ(128, pal[0].rgbBlue);
    // (shadow x 64 + face x 64) / 128.
    EXPECT_EQ(64, pal[64].rgbRed);
    EXPECT_EQ(82, pal[64].rgbGreen);
    EXPECT_EQ(64, pal[64].rgbBlue);
    EXPECT_EQ(127, pal[127].rgbRed);  // (0 + 128 x 127) / 128
    // Entry 128 is written twice and ends as (127 face + light) / 128.
    EXPECT_EQ((127 * 128 + 228) / 128, pal[128].rgbRed);
    EXPECT_EQ((127 * 100 + 255) / 128, pal[128].rgbGreen);
    EXPECT_EQ((127 * 0 + 255) / 128, pal[128].rgbBlue);
    EXPECT_EQ(228, pal[255].rgbRed);
    EXPECT_EQ(255, pal[255].rgbGreen);
    EXPECT_EQ(255, pal[255].rgbBlue);
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(0, pal[i].rgbReserved) << i;
}

TEST(ShadeButtonRules, ReliefIsBrightUpperLeftAndDarkLowerRight)
{
    // 80 x 40: stored row 39 is the top row.
    EXPECT_EQ(247, CShadeButton::ShadeValue(0, 39, 80, 40));
    EXPECT_EQ(8, CShadeButton::ShadeValue(79, 0, 80, 40));
    // Near the middle the face is flat.
    EXPECT_NEAR(128, CShadeButton::ShadeValue(40, 20, 80, 40), 2);
    // Upper-right and lower-left cancel out to about the middle.
    EXPECT_NEAR(128, CShadeButton::ShadeValue(79, 39, 80, 40), 12);
    EXPECT_NEAR(128, CShadeButton::ShadeValue(0, 0, 80, 40), 12);
    // Every value stays inside the clamp, whatever the size.
    const int sizes[][2] = { { 1, 1 }, { 2, 3 }, { 80, 40 }, { 300, 7 } };
    for (const auto& s : sizes)
        for (int r = 0; r < s[1]; ++r)
            for (int x = 0; x < s[0]; ++x) {
                int v = CShadeButton::ShadeValue(x, r, s[0], s[1]);
                ASSERT_GE(v, 8);
                ASSERT_LE(v, 247);
            }
}

}  // namespace
