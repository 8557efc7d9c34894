// What the real program's main window shows on the screen: the shaded
// command buttons with their icons above the captions, the plain button with
// its icon beside the caption, and a shown tip balloon over the list. The
// screen is read back pixel by pixel. With CORVANE_SCREENSHOT naming a file,
// the tip test also writes the main window with its tip there as a bitmap
// (tools/screenshot makes the README picture from it).
#include "tests/e2e/CommandsFixture.h"
#include "tests/e2e/ButtonFaces.h"
#include "tests/e2e/TipOnScreen.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using namespace commands;

int Brightness(COLORREF c)
{
    return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
}

// The middle brightness of a square of the shot.
int MedianBrightness(const ScreenShot& shot, int left, int top, int size)
{
    std::vector<int> values;
    for (int y = top; y < top + size; ++y)
        for (int x = left; x < left + size; ++x)
            values.push_back(Brightness(shot.At(x, y)));
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool IsDark(COLORREF c)
{
    return GetRValue(c) < 100 && GetGValue(c) < 100 && GetBValue(c) < 100;
}

// A whole-screen shot, for comparing what lay under a window.
ScreenShot CaptureScreen()
{
    RECT rc = { 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN) };
    return CaptureClient(GetDesktopWindow(), rc);
}

// Writes rect of the screen as a 24-bit bottom-up bitmap file.
bool WriteScreenBitmap(const std::wstring& path, const RECT& rect)
{
    ScreenShot shot = CaptureClient(GetDesktopWindow(), rect);
    if (shot.width <= 0)
        return false;
    const int stride = (shot.width * 3 + 3) & ~3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = shot.width;
    info.biHeight = shot.height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = static_cast<DWORD>(stride * shot.height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&info), sizeof(info));
    for (int y = shot.height - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(stride), '\0');
        for (int x = 0; x < shot.width; ++x) {
            COLORREF c = shot.At(x, y);
            row[x * 3] = static_cast<char>(GetBValue(c));
            row[x * 3 + 1] = static_cast<char>(GetGValue(c));
            row[x * 3 + 2] = static_cast<char>(GetRValue(c));
        }
        bytes += row;
    }
    return WriteFileBytes(path, bytes);
}

// The text on a shown balloon: the dark pixels inside its dark border.
// Outside is what a walk from the window's edge reaches without crossing a
// dark pixel (four-way, so a one-pixel slanted line stops it too); the
// border is every dark pixel joined to one that touches the outside; what
// dark is left is the text.
struct BalloonInk
{
    int width;
    RECT text;                 // empty when there is none
    std::vector<char> border;  // per pixel, row by row

    bool IsBorder(int x, int y) const { return border[static_cast<size_t>(y) * width + x] != 0; }
};

BalloonInk FindBalloonText(const ScreenShot& shot)
{
    const int w = shot.width, h = shot.height;
    auto index = [&](int x, int y) { return static_cast<size_t>(y) * w + x; };
    std::vector<char> outside(static_cast<size_t>(w) * h, 0), border(outside.size(), 0);
    std::vector<POINT> todo;
    for (int x = 0; x < w; ++x) {
        todo.push_back({ x, 0 });
        todo.push_back({ x, h - 1 });
    }
    for (int y = 0; y < h; ++y) {
        todo.push_back({ 0, y });
        todo.push_back({ w - 1, y });
    }
    while (!todo.empty()) {
        POINT p = todo.back();
        todo.pop_back();
        if (p.x < 0 || p.y < 0 || p.x >= w || p.y >= h || outside[index(p.x, p.y)] || IsDark(shot.At(p.x, p.y)))
            continue;
        outside[index(p.x, p.y)] = 1;
        todo.insert(todo.end(), { { p.x + 1, p.y }, { p.x - 1, p.y }, { p.x, p.y + 1 }, { p.x, p.y - 1 } });
    }
    auto touchesOutside = [&](int x, int y) {
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                if (x + dx >= 0 && y + dy >= 0 && x + dx < w && y + dy < h && outside[index(x + dx, y + dy)])
                    return true;
        return false;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (IsDark(shot.At(x, y)) && touchesOutside(x, y))
                todo.push_back({ x, y });
    while (!todo.empty()) {
        POINT p = todo.back();
        todo.pop_back();
        if (p.x < 0 || p.y < 0 || p.x >= w || p.y >= h || border[index(p.x, p.y)] || !IsDark(shot.At(p.x, p.y)))
            continue;
        border[index(p.x, p.y)] = 1;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx)
                todo.push_back({ p.x + dx, p.y + dy });
    }
    RECT text = { w, h, 0, 0 };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!IsDark(shot.At(x, y)) || outside[index(x, y)] || border[index(x, y)])
                continue;
            text.left = std::min<LONG>(text.left, x);
            text.top = std::min<LONG>(text.top, y);
            text.right = std::max<LONG>(text.right, x + 1);
            text.bottom = std::max<LONG>(text.bottom, y + 1);
        }
    }
    return { w, text, border };
}

class MainWindowLookTest : public CommandsTest
{
protected:
    void SetUp() override
    {
        CommandsTest::SetUp();
        if (HasFatalFailure())
            return;
        // Away from the screen's corner, where the system's own small
        // windows (the tray of a desktop without a panel) may lie over it.
        SetWindowPos(main, HWND_TOP, 60, 80, 0, 0, SWP_NOSIZE);
        SetForegroundWindow(main);
        MovePointerAway(program, main);
    }
};

}  // namespace

TEST_F(MainWindowLookTest, ButtonsShowTheirIconsOnTheirFaces)
{
    struct
    {
        int id;
        bool shaded;  // shaded face with the icon above the caption, else plain with the icon beside it
    } buttons[] = {
        { kGetProxyId, true },   { kTestSpeedId, true }, { kHideIPId, true },
        { kAutoHideIPId, true }, { kSettingId, true },   { kCheckIPId, false },
    };
    for (const auto& b : buttons) {
        SCOPED_TRACE(b.id);
        ScreenShot shot;
        RECT icon = {}, caption = {};
        // The first paint may still be on its way: until then the shot is of
        // whatever lay there, coloured all over. Settled, the icon is at most
        // 32 x 32 and the caption's dark pixels lie apart from it.
        const bool settled = WaitUntil(
            [&] {
                shot = CaptureWindow(Item(b.id));
                icon = IconBox(shot);
                if (IsRectEmpty(&icon) || icon.right - icon.left > 32 || icon.bottom - icon.top > 32)
                    return false;
                caption = b.shaded ? CaptionBelow(shot, icon) : CaptionBox(shot, icon);
                return !IsRectEmpty(&caption);
            },
            10000);
        ASSERT_TRUE(settled) << "icon " << icon.left << "," << icon.top << " - " << icon.right << "," << icon.bottom
                             << "; caption " << (IsRectEmpty(&caption) ? "none" : "found");
        const int w = shot.width, h = shot.height;
        const int iconMidX = (icon.left + icon.right) / 2;
        if (b.shaded) {
            // The icon in the middle of the top, the caption under it.
            EXPECT_LE(abs(iconMidX - w / 2), 3) << "icon at x " << icon.left << " of " << w;
            EXPECT_LT(icon.top, h / 3);
            EXPECT_GT(caption.top, h / 2);
            EXPECT_LT(caption.left, iconMidX);
            EXPECT_GT(caption.right, iconMidX);
            // Lit from the upper left: bright there, dark in the lower right;
            // tinted toward blue over the grey button colours.
            int upperLeft = MedianBrightness(shot, 5, 5, 6);
            int lowerRight = MedianBrightness(shot, w - 11, h - 11, 6);
            EXPECT_GT(upperLeft, lowerRight + 40) << upperLeft << " vs " << lowerRight;
            COLORREF c = shot.At(7, 7);
            EXPECT_EQ(GetRValue(c), GetGValue(c));
            EXPECT_GT(GetBValue(c), GetRValue(c) + 4) << std::hex << c;
        } else {
            // The icon at the left, the caption right of it on the same rows.
            EXPECT_LT(icon.left, w / 4);
            EXPECT_GE(caption.left, icon.right);
            EXPECT_LT(caption.top, icon.bottom);
            EXPECT_GT(caption.bottom, icon.top);
            // A plain face in the button colour, the same in every corner.
            COLORREF face = GetSysColor(COLOR_BTNFACE);
            EXPECT_EQ(face, shot.At(6, 6));
            EXPECT_EQ(face, shot.At(w - 7, h - 7));
        }
    }
}

TEST_F(MainWindowLookTest, ShownTipIsABalloonWithItsTextOverTheList)
{
    // A list as a user sees it after Get Proxy: countries, types, uptimes, speeds.
    const std::string rows =
        ProxyLine("192.0.2.14", 8080, 234, 1, 5, 180) + ProxyLine("198.51.100.7", 3128, 59, 1, 5, 240) +
        ProxyLine("203.0.113.25", 8000, 115, 2, 4, 390) + ProxyLine("192.0.2.101", 80, 79, 1, 4, 520) +
        ProxyLine("198.51.100.63", 8118, 75, 2, 3, 760) + ProxyLine("203.0.113.200", 3128, 166, 2, 3, 1150) +
        ProxyLine("192.0.2.77", 8888, 210, 1, 2, 1900);
    FillList(rows, 7);
    if (HasFatalFailure())
        return;
    // Let the list paint, then note what lies under the tip before it comes.
    Sleep(500);
    ScreenShot before = CaptureScreen();

    // The plain button looks the same with the pointer on it, so everything
    // under the tip but the tip itself stays as it was.
    const wchar_t kTip[] = L"Check your IP location in Google Map online";
    std::wstring seen;
    HWND tip = RestPointerOn(program, Item(kCheckIPId), kTip, &seen);
    ASSERT_NE(nullptr, tip) << "last tip seen: " << std::string(seen.begin(), seen.end());
    RECT rcTip;
    GetWindowRect(tip, &rcTip);
    const int w = rcTip.right - rcTip.left, h = rcTip.bottom - rcTip.top;
    ASSERT_GT(w, 40);
    ASSERT_GT(h, 30);

    // The balloon's background is the tip colour; wait for its paint.
    const COLORREF kInfo = GetSysColor(COLOR_INFOBK);
    ScreenShot shot;
    auto infoShare = [&] {
        int n = 0;
        for (COLORREF c : shot.pixels)
            n += c == kInfo;
        return n * 100 / static_cast<int>(shot.pixels.size());
    };
    RECT all = { 0, 0, w, h };
    EXPECT_TRUE(WaitUntil(
        [&] {
            shot = CaptureClient(tip, all);
            return infoShare() >= 30;
        },
        5000))
        << "the balloon colour covers " << infoShare() << "% of the tip window";

    // The text inside the border, once the balloon is drawn whole.
    BalloonInk ink;
    ASSERT_TRUE(WaitUntil(
        [&] {
            shot = CaptureClient(tip, all);
            ink = FindBalloonText(shot);
            return !IsRectEmpty(&ink.text);
        },
        5000))
        << "no text inside the balloon's border";
    const RECT text = ink.text;
    auto under = [&](int x, int y) { return before.At(rcTip.left + x, rcTip.top + y); };
    SCOPED_TRACE(testing::Message() << "tip " << w << " x " << h << ", text " << text.left << "," << text.top << " - "
                                    << text.right << "," << text.bottom);
    // A line of that length is far wider than high.
    EXPECT_GT(text.right - text.left, 4 * (text.bottom - text.top));
    // The balloon keeps margins of its colour between the text and its border.
    const int midX = (text.left + text.right) / 2, midY = (text.top + text.bottom) / 2;
    auto borderFrom = [&](int x, int y, int dx, int dy) {
        for (; x >= 0 && y >= 0 && x < w && y < h; x += dx, y += dy)
            if (ink.IsBorder(x, y))
                return dx != 0 ? x : y;
        return -1;
    };
    const int leftBorder = borderFrom(text.left, midY, -1, 0), rightBorder = borderFrom(text.right, midY, 1, 0);
    const int topBorder = borderFrom(midX, text.top, 0, -1), bottomBorder = borderFrom(midX, text.bottom, 0, 1);
    ASSERT_TRUE(leftBorder >= 0 && rightBorder >= 0 && topBorder >= 0 && bottomBorder >= 0)
        << "the border does not go round the text: " << leftBorder << " " << rightBorder << " " << topBorder << " "
        << bottomBorder;
    EXPECT_GE(text.left - leftBorder, 4);
    EXPECT_GE(rightBorder - text.right, 3);
    EXPECT_GE(text.top - topBorder, 3);
    EXPECT_GE(bottomBorder - text.bottom, 3);
    EXPECT_EQ(kInfo, shot.At(text.left - 2, midY));
    EXPECT_EQ(kInfo, shot.At(text.right + 1, midY));
    ASSERT_LE(rightBorder + 2, w - 1) << "no room for a shadow right of the border";

    // Outside the rounded corner the screen shows what lay under the tip;
    // right of the body, the shadow darkens it.
    EXPECT_EQ(under(0, 0), shot.At(0, 0));
    const int shadowX = rightBorder + 2;
    COLORREF shadow = shot.At(shadowX, midY);
    EXPECT_LT(Brightness(shadow) + 10, Brightness(under(shadowX, midY)))
        << std::hex << shadow << " over " << under(shadowX, midY);

    // The picture for the README: the window with its tip.
    if (const char* path = getenv("CORVANE_SCREENSHOT")) {
        // The client area: the frame is the desktop's business.
        RECT rcMain;
        GetClientRect(main, &rcMain);
        MapWindowPoints(main, nullptr, reinterpret_cast<POINT*>(&rcMain), 2);
        RECT rcShot;
        UnionRect(&rcShot, &rcMain, &rcTip);
        EXPECT_TRUE(WriteScreenBitmap(Widen(path), rcShot)) << path;
    }
}
