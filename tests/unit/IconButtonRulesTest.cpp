// The icon button's pure rules on plain data: where the image goes for each
// alignment, and the grey and darker pixels of the icon copies.
#include "toolkit/IconButton.h"

#include <gtest/gtest.h>

namespace {

struct PlacementCase
{
    const char* name;
    BYTE align;
    RECT item;
    BOOL hasTitle;
    RECT expectImage;
    RECT expectCaption;
};

TEST(IconButtonRules, ImagePlacementForEachAlignment)
{
    // A 32 x 32 image, margin 3 x 3.
    const PlacementCase cases[] = {
        { "beside, caption", 0, { 0, 0, 80, 40 }, TRUE, { 3, 4, 35, 36 }, { 35, 0, 80, 40 } },
        { "beside, no caption", 0, { 0, 0, 80, 40 }, FALSE, { 24, 4, 56, 36 }, { 0, 0, 80, 40 } },
        { "above, caption", 1, { 0, 0, 80, 40 }, TRUE, { 24, 3, 56, 35 }, { 0, 32, 80, 40 } },
        { "above, no caption", 1, { 0, 0, 80, 40 }, FALSE, { 24, 4, 56, 36 }, { 0, 0, 80, 40 } },
        { "right, caption", 2, { 0, 0, 80, 40 }, TRUE, { 45, 4, 77, 36 }, { 3, 0, 45, 40 } },
        // Without a caption the image keeps to the top edge.
        { "right, no caption", 2, { 0, 0, 80, 40 }, FALSE, { 24, 0, 56, 32 }, { 0, 0, 80, 40 } },
        // Odd room: the halves truncate.
        { "beside, odd room", 0, { 0, 0, 81, 41 }, FALSE, { 24, 4, 56, 36 }, { 0, 0, 81, 41 } },
        // Less room than image: the halves truncate toward zero, not down.
        { "beside, small", 0, { 0, 0, 19, 19 }, FALSE, { -6, -6, 26, 26 }, { 0, 0, 19, 19 } },
    };
    for (const PlacementCase& c : cases) {
        SCOPED_TRACE(c.name);
        RECT caption = c.item, image = {};
        CIconButton::PrepareImageRect(c.align, CPoint(3, 3), c.item, c.hasTitle, 32, 32, &caption, &image);
        EXPECT_EQ(c.expectImage.left, image.left);
        EXPECT_EQ(c.expectImage.top, image.top);
        EXPECT_EQ(c.expectImage.right, image.right);
        EXPECT_EQ(c.expectImage.bottom, image.bottom);
        EXPECT_EQ(c.expectCaption.left, caption.left);
        EXPECT_EQ(c.expectCaption.top, caption.top);
        EXPECT_EQ(c.expectCaption.right, caption.right);
        EXPECT_EQ(c.expectCaption.bottom, caption.bottom);
    }
}

TEST(IconButtonRules, GreyAndDarkerPixels)
{
    struct
    {
        COLORREF in, gray, darker;
    } cases[] = {
        { RGB(255, 255, 255), RGB(255, 255, 255), RGB(192, 192, 192) },  // white stays white in grey
        { RGB(255, 0, 0), RGB(76, 76, 76), RGB(192, 0, 0) },
        { RGB(0, 255, 0), RGB(149, 149, 149), RGB(0, 192, 0) },
        { RGB(0, 0, 255), RGB(29, 29, 29), RGB(0, 0, 192) },
        { RGB(10, 20, 3), RGB(15, 15, 15), RGB(8, 15, 3) },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.gray, CIconButton::GrayPixel(c.in)) << std::hex << c.in;
        EXPECT_EQ(c.darker, CIconButton::DimColor(c.in, 0.25)) << std::hex << c.in;
    }
    // A factor above 1 leaves the colour as it is.
    EXPECT_EQ(RGB(200, 100, 3), CIconButton::DimColor(RGB(200, 100, 3), 1.5));
    EXPECT_EQ(RGB(0, 0, 0), CIconButton::DimColor(RGB(200, 100, 3), 1.0));
}

}  // namespace
