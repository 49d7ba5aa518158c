// Regions from pictures: every pixel that is not the key belongs to the
// region; checked pixel by pixel with PtInRegion.
#include <gtest/gtest.h>

#include "BitmapRegions.h"
#include "GdiTestSupport.h"
#include "QVMemBitmap.h"

#include <functional>

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);

// A DIB section of the depth, painted by paint(x, y).
HBITMAP Painted(int width, int height, int bits, const std::function<COLORREF(int, int)>& paint)
{
    HBITMAP b = CQVMemBitmap::CreateDIBSectionEx(width, height, bits, NULL);
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, b);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(dc, x, y, paint(x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    return b;
}

// Every pixel inside the region exactly when inside(x, y).
void ExpectRegion(HRGN region, int width, int height, const std::function<bool(int, int)>& inside,
                  const char* what)
{
    ASSERT_TRUE(region != NULL) << what;
    for (int y = -1; y <= height; ++y)
        for (int x = -1; x <= width; ++x) {
            const bool want = x >= 0 && y >= 0 && x < width && y < height && inside(x, y);
            ASSERT_EQ(want, PtInRegion(region, x, y) != 0) << what << " at " << x << "," << y;
        }
}

}  // namespace

TEST(BitmapRegion, OnlyTheKeyGivesNoRegion)
{
    HBITMAP b = gfxtest::SolidDib(20, 10, 24, kMagenta);
    EXPECT_TRUE(CreateRegionFromBitmap(b, kMagenta) == NULL);
    EXPECT_TRUE(CreateRegionFromPixel(b, 0, 0) == NULL);
    DeleteObject(b);
    EXPECT_TRUE(CreateRegionFromBitmap(NULL, 0) == NULL);
    EXPECT_TRUE(CreateRegionFromPixel(NULL, -1, -1) == NULL);
}

TEST(BitmapRegion, OnePixel)
{
    HBITMAP b = Painted(10, 8, 24, [](int x, int y) { return x == 3 && y == 5 ? RGB(0, 0, 0) : kMagenta; });
    HRGN r = CreateRegionFromBitmap(b, kMagenta);
    ASSERT_TRUE(r != NULL);
    RECT box;
    EXPECT_EQ(SIMPLEREGION, GetRgnBox(r, &box));
    EXPECT_EQ(3, box.left);
    EXPECT_EQ(5, box.top);
    EXPECT_EQ(4, box.right);
    EXPECT_EQ(6, box.bottom);
    DeleteObject(r);
    DeleteObject(b);
}

TEST(BitmapRegion, KeyIsComparedAs565)
{
    // A key with low bits matches pixels of the same 565 value.
    HBITMAP b = Painted(6, 4, 24, [](int x, int y) { return (x + y) % 2 ? kMagenta : RGB(0, 128, 0); });
    HRGN r = CreateRegionFromBitmap(b, RGB(250, 3, 252));
    ExpectRegion(r, 6, 4, [](int x, int y) { return (x + y) % 2 == 0; }, "low bits");
    DeleteObject(r);
    HRGN same = CreateRegionFromBitmapKey(b, RGB(250, 3, 252), 0);
    ExpectRegion(same, 6, 4, [](int x, int y) { return (x + y) % 2 == 0; }, "key with tolerance 0");
    DeleteObject(same);
    EXPECT_TRUE(CreateRegionFromBitmapKey(b, kMagenta, 5) == NULL);
    DeleteObject(b);
}

TEST(BitmapRegion, MoreThan800RunsMakeOneRegion)
{
    // 2000 wide, one-pixel stripes: 1000 runs a row, 5000 in all.
    HBITMAP b = Painted(2000, 5, 24, [](int x, int y) { return (x + y) % 2 ? kMagenta : RGB(0, 0, 255); });
    HRGN r = CreateRegionFromBitmap(b, kMagenta);
    ExpectRegion(r, 2000, 5, [](int x, int y) { return (x + y) % 2 == 0; }, "stripes");
    RECT box;
    EXPECT_EQ(COMPLEXREGION, GetRgnBox(r, &box));
    EXPECT_EQ(0, box.left);
    EXPECT_EQ(2000, box.right);
    EXPECT_EQ(5, box.bottom);
    DeleteObject(r);
    DeleteObject(b);
}

TEST(BitmapRegion, KeyFromAPixel)
{
    // Magenta at the bottom-right, blue at the top-left, a mix elsewhere.
    HBITMAP b = Painted(7, 5, 24, [](int x, int y) {
        return (x == 6 && y == 4) || x == y ? kMagenta : (x == 0 && y == 0 ? RGB(0, 0, 255) : RGB(0, 0, 255));
    });
    HRGN r = CreateRegionFromPixel(b, -1, -1);
    ExpectRegion(r, 7, 5, [](int x, int y) { return !(x == 6 && y == 4) && x != y; }, "(-1, -1)");
    DeleteObject(r);
    r = CreateRegionFromBitmapPixel(b, 2, 0);  // blue
    ExpectRegion(r, 7, 5, [](int x, int y) { return (x == 6 && y == 4) || x == y; }, "(2, 0)");
    DeleteObject(r);
    r = CreateRegionFromPixel(b, 6, -1);  // x given, last row: magenta
    ExpectRegion(r, 7, 5, [](int x, int y) { return !(x == 6 && y == 4) && x != y; }, "(6, -1)");
    DeleteObject(r);
    EXPECT_TRUE(CreateRegionFromPixel(b, 7, 0) == NULL);
    EXPECT_TRUE(CreateRegionFromPixel(b, 0, 5) == NULL);
    DeleteObject(b);
}

TEST(BitmapRegion, BitmapsOfOtherDepths)
{
    for (int bits : {8, 16, 32}) {
        HBITMAP b = Painted(9, 6, bits, [](int x, int y) { return x < 3 || y == 2 ? RGB(255, 255, 255) : RGB(0, 0, 0); });
        HRGN r = CreateRegionFromBitmap(b, RGB(255, 255, 255));
        ExpectRegion(r, 9, 6, [](int x, int y) { return !(x < 3 || y == 2); }, "depth");
        DeleteObject(r);
        DeleteObject(b);
    }
}

// ---- The region of a memory DC's bitmap ------------------------------------------------------

TEST(MemDCRegion, KeyZeroIsTheFirstPixelAndDepthsCount)
{
    const struct
    {
        int bits;
        COLORREF key;
    } cases[] = {{32, 0}, {24, 0}, {16, 0}, {8, 0}, {32, kMagenta}, {16, RGB(250, 3, 252)}, {24, kMagenta}};
    for (const auto& c : cases) {
        HBITMAP b = Painted(12, 7, c.bits, [](int x, int y) { return (x * y) % 3 == 0 ? kMagenta : RGB(0, 0, 128); });
        HDC dc = CreateCompatibleDC(NULL);
        HGDIOBJ old = SelectObject(dc, b);
        HRGN r = CreateRegionFromKey(dc, b, c.key);
        ExpectRegion(r, 12, 7, [](int x, int y) { return (x * y) % 3 != 0; }, "memory DC");
        DeleteObject(r);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(b);
    }
    // Four bits: colours of the first sixteen entries of the default palette.
    HBITMAP four = Painted(12, 7, 4, [](int x, int y) { return (x * y) % 3 == 0 ? RGB(255, 0, 0) : RGB(0, 0, 128); });
    HDC fourDC = CreateCompatibleDC(NULL);
    HGDIOBJ fourOld = SelectObject(fourDC, four);
    HRGN fourRegion = CreateRegionFromKey(fourDC, four, RGB(255, 0, 0));
    ExpectRegion(fourRegion, 12, 7, [](int x, int y) { return (x * y) % 3 != 0; }, "four bits");
    DeleteObject(fourRegion);
    SelectObject(fourDC, fourOld);
    DeleteDC(fourDC);
    DeleteObject(four);

    // A compatible (device) bitmap works the same way.
    HDC screen = GetDC(NULL);
    HBITMAP ddb = CreateCompatibleBitmap(screen, 5, 5);
    ReleaseDC(NULL, screen);
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, ddb);
    PatBlt(dc, 0, 0, 5, 5, WHITENESS);
    SetPixel(dc, 2, 2, RGB(1, 2, 3));
    HRGN r = CreateRegionFromKey(dc, ddb, 0);
    ExpectRegion(r, 5, 5, [](int x, int y) { return x == 2 && y == 2; }, "compatible bitmap");
    DeleteObject(r);
    EXPECT_TRUE(CreateRegionFromKey(NULL, ddb, 0) == NULL);
    EXPECT_TRUE(CreateRegionFromKey(dc, NULL, 0) == NULL);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(ddb);
}
