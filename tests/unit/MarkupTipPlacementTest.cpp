// Where the tip balloon goes on virtual screens of any origin, and the shape
// of its region and of the window's region with the shadow.
#include "toolkit/MarkupTipPlacement.h"

#include <gtest/gtest.h>

#include <random>

namespace {

const TipBalloonShape kShape = { 12, 16, 16, { 16, 16 } };
const RECT kScreen = { 0, 0, 1024, 768 };
const RECT kWideScreen = { -1280, -200, 1024, 768 };  // a monitor left of and above the primary

struct Placed
{
    int nCode;
    POINT anchor;
    RECT window;
    RECT body;
    RECT text;
};

Placed Place(int nCode, POINT pt, const RECT& screen, int cxBody = 100, int cyBody = 40)
{
    Placed p;
    p.body = { 0, 0, cxBody, cyBody };
    p.text = { 12, 12, cxBody - 12, cyBody - 12 };
    p.nCode = ComputeTipPlacement(nCode, pt, screen, kShape, p.body, p.text, p.window, p.anchor);
    return p;
}

TEST(MarkupTipPlacementTest, AnchorLandsOnThePointFlippingAndClampingAtTheEdges)
{
    struct Case
    {
        const char* what;
        int nCode;
        POINT pt;
        const RECT* screen;
        int cxBody;
        int nExpected;
        POINT anchor;
    } cases[] = {
        { "room everywhere: above, extending right", 16, { 500, 400 }, &kScreen, 100, 16, { 16, 56 } },
        { "near the top: flips below", 16, { 500, 20 }, &kScreen, 100, 0, { 16, 0 } },
        { "near the right: anchor at the right end", 16, { 1000, 400 }, &kScreen, 100, 17, { 84, 56 } },
        { "no room either way: centred", 16, { 500, 400 }, &kScreen, 700, 18, { 350, 56 } },
        { "centred, right end pulled onto the screen", 16, { 600, 400 }, &kScreen, 1000, 18, { 576, 56 } },
        { "centred, odd width: the last column stays on", 16, { 600, 400 }, &kScreen, 999, 18, { 575, 56 } },
        { "centred, both ends off: left end kept", 16, { 500, 400 }, &kScreen, 1100, 18, { 500, 56 } },
        { "left end past the screen: clamped", 16, { 5, 300 }, &kScreen, 100, 16, { 5, 56 } },
        { "the same point on a wider virtual screen", 16, { -5, 300 }, &kWideScreen, 100, 16, { 16, 56 } },
        { "top-left corner of a negative screen", 16, { -1270, -190 }, &kWideScreen, 100, 0, { 10, 0 } },
        { "code 1 near the left: extends right", 1, { 50, 400 }, &kScreen, 100, 0, { 16, 0 } },
        { "code 2 within the margin of the left edge", 2, { 10, 400 }, &kScreen, 100, 0, { 10, 0 } },
        { "code 18 within the margin of the right edge", 18, { 1015, 400 }, &kScreen, 100, 17, { 91, 56 } },
        { "right of the point, no room: flips left", 32, { 1000, 400 }, &kScreen, 100, 48, { 116, 16 } },
        { "left of the point, no room: flips right", 48, { 50, 400 }, &kScreen, 100, 32, { 0, 16 } },
        { "left, anchor low, near the top", 49, { 500, 10 }, &kScreen, 100, 48, { 116, 10 } },
        { "right, centred, near the bottom", 34, { 500, 760 }, &kScreen, 100, 33, { 0, 32 } },
        { "unknown code 7: the default", 7, { 500, 400 }, &kScreen, 100, 16, { 16, 56 } },
        { "unknown code 99: the default", 99, { 500, 400 }, &kScreen, 100, 16, { 16, 56 } },
        { "negative code: the default", -1, { 500, 20 }, &kScreen, 100, 0, { 16, 0 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Placed p = Place(c.nCode, c.pt, *c.screen, c.cxBody);
        EXPECT_EQ(c.nExpected, p.nCode);
        EXPECT_EQ(c.anchor.x, p.anchor.x);
        EXPECT_EQ(c.anchor.y, p.anchor.y);
        EXPECT_EQ(0, p.window.left);
        EXPECT_EQ(0, p.window.top);
    }
}

TEST(MarkupTipPlacementTest, WindowBoxGrowsByTheAnchorAndTheBodyMovesPastIt)
{
    struct Case
    {
        int nCode;
        RECT window;
        RECT body;
        RECT text;
    } cases[] = {
        { 0, { 0, 0, 100, 56 }, { 0, 16, 100, 56 }, { 12, 28, 88, 44 } },
        { 16, { 0, 0, 100, 56 }, { 0, 0, 100, 40 }, { 12, 12, 88, 28 } },
        { 33, { 0, 0, 116, 40 }, { 16, 0, 116, 40 }, { 28, 12, 104, 28 } },
        { 49, { 0, 0, 116, 40 }, { 0, 0, 100, 40 }, { 12, 12, 88, 28 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.nCode);
        Placed p = Place(c.nCode, { 500, 400 }, kScreen);
        ASSERT_EQ(c.nCode, p.nCode);
        EXPECT_TRUE(EqualRect(&c.window, &p.window));
        EXPECT_TRUE(EqualRect(&c.body, &p.body));
        EXPECT_TRUE(EqualRect(&c.text, &p.text));
    }
}

// Any balloon smaller than half the screen lies wholly on the screen, its
// anchor on the edge facing the point, whatever the screen's origin.
TEST(MarkupTipPlacementTest, SmallBalloonsStayOnRandomScreens)
{
    std::mt19937 rng(2201);
    const int codes[] = { 0, 1, 2, 16, 17, 18, 32, 33, 34, 48, 49, 50 };
    for (int i = 0; i < 20000; ++i) {
        RECT screen;
        screen.left = static_cast<int>(rng() % 4000) - 3000;
        screen.top = static_cast<int>(rng() % 3000) - 2000;
        screen.right = screen.left + 640 + static_cast<int>(rng() % 3000);
        screen.bottom = screen.top + 480 + static_cast<int>(rng() % 2000);
        POINT pt = { screen.left + static_cast<int>(rng() % (screen.right - screen.left)),
                     screen.top + static_cast<int>(rng() % (screen.bottom - screen.top)) };
        int cx = 40 + static_cast<int>(rng() % 260), cy = 30 + static_cast<int>(rng() % 180);
        int nCode = codes[rng() % 12];
        Placed p = Place(nCode, pt, screen, cx, cy);
        RECT onScreen = p.window;
        OffsetRect(&onScreen, pt.x - p.anchor.x, pt.y - p.anchor.y);
        ASSERT_TRUE(onScreen.left >= screen.left && onScreen.right <= screen.right && onScreen.top >= screen.top &&
                    onScreen.bottom <= screen.bottom)
            << "code " << nCode << " -> " << p.nCode << " at " << pt.x << "," << pt.y << " screen " << screen.left
            << "," << screen.top << "," << screen.right << "," << screen.bottom << " anchor " << p.anchor.x << ","
            << p.anchor.y << " size " << cx << "x" << cy;
        int side = p.nCode >> 4;
        if (side == 0)
            ASSERT_EQ(0, p.anchor.y);
        if (side == 1)
            ASSERT_EQ(p.window.bottom, p.anchor.y);
        if (side == 2)
            ASSERT_EQ(0, p.anchor.x);
        if (side == 3)
            ASSERT_EQ(p.window.right, p.anchor.x);
        // The axis of the anchor never changes.
        ASSERT_EQ(side < 2, (nCode >> 4) < 2);
    }
}

struct RegionCase
{
    const char* what;
    POINT pt;
    bool bInside;
};

void ExpectHits(HRGN hRgn, const RegionCase* cases, size_t n)
{
    for (size_t i = 0; i < n; ++i) {
        SCOPED_TRACE(cases[i].what);
        EXPECT_EQ(cases[i].bInside, PtInRegion(hRgn, cases[i].pt.x, cases[i].pt.y) != FALSE)
            << cases[i].pt.x << "," << cases[i].pt.y;
    }
}

// Above the point, anchor 16 from the left: body 100 x 40, anchor below it
// with its tip at (16, 56) and its base from 16 to 28 on y = 40.
TEST(MarkupTipPlacementTest, BalloonIsARoundedBodyWithItsAnchor)
{
    HRGN hRgn = CreateBalloonRegion(100, 56, 16, { 16, 56 }, kShape);
    ASSERT_NE(nullptr, hRgn);
    const RegionCase cases[] = {
        { "top-left corner is cut", { 0, 0 }, false },
        { "top-right corner is cut", { 100, 0 }, false },
        { "bottom-right corner is cut", { 100, 40 }, false },
        { "bottom-left corner is cut", { 0, 40 }, false },
        { "inside the top-left arc", { 4, 4 }, true },
        { "middle of the top edge", { 50, 0 }, true },
        { "middle of the body", { 50, 20 }, true },
        { "near the anchor's tip", { 17, 52 }, true },
        { "down the anchor's straight side", { 17, 46 }, true },
        { "beside the tip, outside the slope", { 21, 52 }, false },
        { "left of the anchor", { 14, 50 }, false },
        { "below the anchor's base on the far side", { 60, 48 }, false },
    };
    ExpectHits(hRgn, cases, sizeof(cases) / sizeof(cases[0]));
    DeleteObject(hRgn);
}

TEST(MarkupTipPlacementTest, CentredAnchorIsSymmetricAboutItsTip)
{
    // Below the point, anchor centred at x 50: base from 44 to 56 on y = 16.
    HRGN hRgn = CreateBalloonRegion(100, 56, 2, { 50, 0 }, kShape);
    ASSERT_NE(nullptr, hRgn);
    const RegionCase cases[] = {
        { "near the tip", { 50, 4 }, true },
        { "left slope, just inside", { 46, 14 }, true },
        { "right slope, just inside", { 54, 14 }, true },
        { "left of the base", { 42, 12 }, false },
        { "right of the base", { 58, 12 }, false },
        { "above the body, away from the anchor", { 20, 8 }, false },
        { "body corner is cut", { 0, 16 }, false },
    };
    ExpectHits(hRgn, cases, sizeof(cases) / sizeof(cases[0]));
    DeleteObject(hRgn);
}

TEST(MarkupTipPlacementTest, NoAnchorWidthLeavesTheBodyAlone)
{
    TipBalloonShape shape = kShape;
    shape.nAnchorWidth = 0;
    HRGN hRgn = CreateBalloonRegion(100, 56, 16, { 16, 56 }, shape);
    ASSERT_NE(nullptr, hRgn);
    RECT box;
    GetRgnBox(hRgn, &box);
    EXPECT_LE(box.bottom, 41);
    EXPECT_FALSE(PtInRegion(hRgn, 17, 52));
    EXPECT_TRUE(PtInRegion(hRgn, 50, 20));
    DeleteObject(hRgn);
}

TEST(MarkupTipPlacementTest, WindowRegionJoinsTheShadowAndIsItsOwnCopy)
{
    HRGN hBalloon = CreateBalloonRegion(100, 56, 16, { 16, 56 }, kShape);
    ASSERT_NE(nullptr, hBalloon);
    HRGN hWindow = CreateTipWindowRegion(hBalloon, { 6, 6 });
    ASSERT_NE(nullptr, hWindow);
    EXPECT_NE(hBalloon, hWindow);
    const RegionCase cases[] = {
        { "body", { 50, 20 }, true },
        { "right of the body: the shadow", { 103, 20 }, true },
        { "below the body: the shadow", { 60, 44 }, true },
        { "shadow of the anchor's tip", { 23, 58 }, true },
        { "the shadow's own corner is cut", { 106, 46 }, false },
        { "the body's top-left corner is still cut", { 0, 0 }, false },
        { "past the shadow", { 108, 20 }, false },
    };
    // The window keeps its region after the balloon's is gone.
    DeleteObject(hBalloon);
    ExpectHits(hWindow, cases, sizeof(cases) / sizeof(cases[0]));
    DeleteObject(hWindow);
}

TEST(MarkupTipPlacementTest, NoShadowOffsetGivesAPlainCopy)
{
    HRGN hBalloon = CreateBalloonRegion(100, 56, 16, { 16, 56 }, kShape);
    HRGN hWindow = CreateTipWindowRegion(hBalloon, { 0, 0 });
    ASSERT_NE(nullptr, hWindow);
    EXPECT_NE(hBalloon, hWindow);
    EXPECT_TRUE(EqualRgn(hBalloon, hWindow));
    DeleteObject(hBalloon);
    DeleteObject(hWindow);
    EXPECT_EQ(nullptr, CreateTipWindowRegion(NULL, { 6, 6 }));
}

}  // namespace
