// The surface image list: growth, adds and keys, draw flags, removal, and
// the image-list functions beside it.
#include <gtest/gtest.h>

#include <afxwin.h>
#include <afxcmn.h>

#include "DibImageList.h"
#include "IconFunctions.h"
#include "ImageTestSupport.h"
#include "graphics/QVMemBitmap.h"

using namespace imgtest;

namespace {

const WORD kBackground565 = CQVMemBitmap::RGBTo565(CQVDibImageList::kIconBackground);
// The icon background as a 0x00RRGGBB pixel value.
const uint32_t kBackgroundPixel = 0x008080;

// Surface colours are RGB565: compare what survives of a colour.
bool Same565(COLORREF a, COLORREF b) { return (a & 0xF8FCF8) == (b & 0xF8FCF8); }

// A surface of one raw 565 colour, with an optional second colour at (x, y).
void Fill(CQVMemBitmap& s, int w, int h, WORD colour)
{
    ASSERT_TRUE(s.Create(w, h));
    s.FillRect(0, 0, w, h, colour);
}

// A 24-bit DIB section of w x h whose pixel (x, y) is pixel(x, y).
HBITMAP MakeBitmap(int w, int h, const std::function<uint32_t(int, int)>& pixel)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP b = CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            static_cast<uint32_t*>(bits)[y * w + x] = pixel(x, y);
    return b;
}

TEST(DibImageList, GrowsFromAWindowsImageList)
{
    CImageList windows;
    windows.m_hImageList = ImageList_Create(8, 6, ILC_COLOR24 | ILC_MASK, 10, 10);
    for (int i = 0; i < 10; i++) {
        HBITMAP b = MakeBitmap(8, 6, [i](int, int) { return 0x100000u * (i + 1); });
        ASSERT_EQ(i, ImageList_Add(windows.m_hImageList, b, NULL));
        DeleteObject(b);
    }
    CQVDibImageList list;
    ASSERT_TRUE(list.CreateFromImageList(&windows));
    EXPECT_EQ(10, list.GetCount());
    EXPECT_EQ(10, list.GetCapacity());
    EXPECT_EQ(8, list.GetWidth());
    EXPECT_EQ(6, list.GetHeight());
    for (int i = 0; i < 10; i++)
        EXPECT_TRUE(Same565(RGB((i + 1) * 0x10, 0, 0), list.GetStrip()->GetPixel(i * 8 + 3, 2))) << i;

    // The strip's key is its corner (image 0's colour); the new image's own
    // corner colour becomes that key.
    HBITMAP eleventh = MakeBitmap(8, 6, [](int x, int y) { return x + y == 0 ? 0x0000FFu : 0x00FF00u; });
    EXPECT_EQ(10, list.AddBitmap(eleventh, FALSE, 0));
    DeleteObject(eleventh);
    EXPECT_EQ(20, list.GetCapacity());
    EXPECT_EQ(11, list.GetCount());
    EXPECT_EQ(160, list.GetStrip()->GetWidth());
    // The old images survived the growth; unfilled columns are black.
    EXPECT_TRUE(Same565(RGB(0x50, 0, 0), list.GetStrip()->GetPixel(4 * 8, 0)));
    EXPECT_TRUE(Same565(RGB(0, 255, 0), list.GetStrip()->GetPixel(10 * 8 + 7, 5)));
    EXPECT_TRUE(Same565(RGB(0x10, 0, 0), list.GetStrip()->GetPixel(10 * 8, 0)));
    EXPECT_EQ(0u, list.GetStrip()->GetPixel(11 * 8, 0));

    CImageList empty;
    empty.m_hImageList = ImageList_Create(8, 6, ILC_COLOR24, 0, 1);
    ASSERT_TRUE(list.CreateFromImageList(&empty));
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(NULL, list.GetStrip());
    EXPECT_FALSE(list.CreateFromImageList(NULL));
}

TEST(DibImageList, CreateRules)
{
    CQVDibImageList list;
    EXPECT_FALSE(list.Create(0, 8, 4, 0));
    EXPECT_TRUE(list.Create(8, 8, 0, 0));  // no room yet: no strip
    EXPECT_EQ(NULL, list.GetStrip());
    EXPECT_EQ(10, list.GetGrowBy());
    EXPECT_TRUE(list.Create(8, 8, -3, 4));
    EXPECT_EQ(0, list.GetCapacity());
    CQVMemBitmap s;
    Fill(s, 8, 8, 0x1234);
    EXPECT_EQ(0, list.Add(&s, FALSE, 0));  // the first add makes room for 4
    EXPECT_EQ(4, list.GetCapacity());
    EXPECT_EQ(-1, list.Add(NULL, FALSE, 0));
}

TEST(DibImageList, AddReplacesTheSourceKeyByTheStripKey)
{
    CQVDibImageList list;
    ASSERT_TRUE(list.Create(4, 2, 2, 2));
    list.SetKeyColor(RGB(255, 0, 255));
    CQVMemBitmap s;
    Fill(s, 4, 2, 0x07E0);  // green; its corner is the source key
    s.FillRect(1, 1, 1, 1, 0x001F);
    EXPECT_EQ(0, list.Add(&s, FALSE, 0));
    // The caller's surface was changed.
    EXPECT_EQ(CQVMemBitmap::RGBTo565(RGB(255, 0, 255)), s.GetPixel16(0, 0));
    EXPECT_EQ(0x001F, s.GetPixel16(1, 1));
    EXPECT_TRUE(Same565(RGB(255, 0, 255), list.GetStrip()->GetPixel(2, 0)));

    // With a key given, only that colour is replaced.
    Fill(s, 4, 2, 0x07E0);
    s.FillRect(3, 0, 1, 1, 0x001F);
    EXPECT_EQ(1, list.Add(&s, TRUE, CQVMemBitmap::RGB565ToRGB(0x001F)));
    EXPECT_EQ(0x07E0, s.GetPixel16(0, 0));
    EXPECT_EQ(CQVMemBitmap::RGBTo565(RGB(255, 0, 255)), s.GetPixel16(3, 0));

    // A strip without a key leaves the source alone.
    CQVDibImageList plain;
    ASSERT_TRUE(plain.Create(4, 2, 1, 1));
    Fill(s, 4, 2, 0x07E0);
    EXPECT_EQ(0, plain.Add(&s, FALSE, 0));
    EXPECT_EQ(0x07E0, s.GetPixel16(0, 0));
}

// An icon of 4 x 4 whose colour and mask bits are chosen per pixel.
HICON MakeIcon(const std::function<uint32_t(int, int)>& colour, const std::function<bool(int, int)>& transparent)
{
    HBITMAP c = MakeBitmap(4, 4, colour);
    BYTE maskBits[4 * 2] = {};
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++)
            if (transparent(x, y))
                maskBits[y * 2] |= static_cast<BYTE>(0x80 >> x);
    HBITMAP m = CreateBitmap(4, 4, 1, 1, maskBits);
    ICONINFO info = {TRUE, 0, 0, m, c};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(c);
    DeleteObject(m);
    return icon;
}

TEST(DibImageList, IconsAreLaidOnTheReferenceBackground)
{
    CQVDibImageList list;
    ASSERT_TRUE(list.Create(4, 4, 4, 4));
    list.SetKeyColor(RGB(255, 0, 255));

    // All opaque: the key used is 0x808000 itself, so a pixel of that colour
    // inside the icon becomes the strip's key; others stay.
    HICON opaque = MakeIcon([](int x, int) { return x == 2 ? kBackgroundPixel : 0xFF0000u; }, [](int, int) { return false; });
    EXPECT_EQ(0, list.AddIcon(opaque));
    DestroyIcon(opaque);
    EXPECT_EQ(RGB(255, 0, 0), list.GetStrip()->GetPixel(0, 0));
    EXPECT_TRUE(Same565(RGB(255, 0, 255), list.GetStrip()->GetPixel(2, 1)));

    // With transparent pixels the top-left pixel (background there) is the key.
    HICON holed = MakeIcon([](int x, int) { return x == 0 ? 0u : 0x0000FFu; }, [](int x, int) { return x == 0; });
    EXPECT_EQ(1, list.AddIcon(holed));
    DestroyIcon(holed);
    EXPECT_TRUE(Same565(RGB(255, 0, 255), list.GetStrip()->GetPixel(4, 3)));
    EXPECT_EQ(RGB(0, 0, 255), list.GetStrip()->GetPixel(5, 0));

    EXPECT_EQ(-1, list.AddIcon(NULL));
    EXPECT_EQ(2, list.GetCount());
}

TEST(DibImageList, DrawFlagsAndIndexes)
{
    CQVDibImageList list;
    ASSERT_TRUE(list.Create(4, 3, 2, 2));
    CQVMemBitmap s;
    // Image 0: corners equally far from 0x808000 (565): the left one is key.
    Fill(s, 4, 3, 0x0010);
    s.FillRect(0, 0, 1, 1, static_cast<WORD>(kBackground565 - 5));
    s.FillRect(3, 0, 1, 1, static_cast<WORD>(kBackground565 + 5));
    ASSERT_EQ(0, list.Add(&s, TRUE, 0));
    // Image 1: the right corner is nearer.
    Fill(s, 4, 3, 0xF800);
    s.FillRect(3, 0, 1, 1, kBackground565);
    ASSERT_EQ(1, list.Add(&s, TRUE, 0));

    Canvas canvas(10, 4, 0x123456);
    CDC* dc = CDC::FromHandle(canvas.Dc());
    EXPECT_FALSE(list.Draw(dc, 2, 0, 0, 0));  // index == count
    EXPECT_FALSE(list.Draw(dc, -1, 0, 0, 0));

    EXPECT_TRUE(list.Draw(dc, 0, 0, 0, CQVDibImageList::kTransparent));
    COLORREF key;
    ASSERT_TRUE(list.GetStrip()->GetKeyColor(&key));
    EXPECT_EQ(CQVMemBitmap::RGB565ToRGB(static_cast<WORD>(kBackground565 - 5)), key);  // the tie went left
    EXPECT_EQ(0x123456u, canvas.At(0, 0));  // key pixel not drawn
    const COLORREF right = CQVMemBitmap::RGB565ToRGB(static_cast<WORD>(kBackground565 + 5));
    EXPECT_EQ(static_cast<uint32_t>(GetRValue(right) << 16 | GetGValue(right) << 8 | GetBValue(right)), canvas.At(3, 0));

    EXPECT_TRUE(list.Draw(dc, 1, 5, 0, CQVDibImageList::kTransparent));
    EXPECT_EQ(0x123456u, canvas.At(8, 0));   // right corner is the key
    EXPECT_EQ(0xFF0000u, canvas.At(5, 0));

    // Plain draws copy the image; tints blend towards the highlight colour,
    // the strong one more; 2 and 4 together draw as 2.
    EXPECT_TRUE(list.Draw(dc, 1, 0, 0, 0));
    EXPECT_EQ(0xFF0000u, canvas.At(1, 1));
    Canvas strong(4, 3), both(4, 3), light(4, 3);
    EXPECT_TRUE(list.Draw(CDC::FromHandle(strong.Dc()), 1, 0, 0, CQVDibImageList::kStrongTint));
    EXPECT_TRUE(list.Draw(CDC::FromHandle(both.Dc()), 1, 0, 0, CQVDibImageList::kStrongTint | CQVDibImageList::kLightTint));
    EXPECT_TRUE(list.Draw(CDC::FromHandle(light.Dc()), 1, 0, 0, CQVDibImageList::kLightTint));
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 4; x++)
            EXPECT_EQ(strong.At(x, y), both.At(x, y)) << x << "," << y;
    const int red = 0xFF, highlightRed = GetRValue(list.GetHighlightColor());
    const int strongRed = static_cast<int>(strong.At(1, 1) >> 16), lightRed = static_cast<int>(light.At(1, 1) >> 16);
    EXPECT_LT(abs(strongRed - highlightRed), abs(lightRed - highlightRed));
    EXPECT_LT(abs(lightRed - red), abs(strongRed - red));

    // The same with transparency: 2 and 4 still draw as 2.
    Canvas tStrong(4, 3), tBoth(4, 3);
    EXPECT_TRUE(list.Draw(CDC::FromHandle(tStrong.Dc()), 1, 0, 0, 1 | 2));
    EXPECT_TRUE(list.Draw(CDC::FromHandle(tBoth.Dc()), 1, 0, 0, 1 | 2 | 4));
    EXPECT_EQ(tStrong.At(1, 1), tBoth.At(1, 1));

    CQVDibImageList empty;
    EXPECT_FALSE(empty.Draw(dc, 0, 0, 0, 0));
}

TEST(DibImageList, SurfacesRemovalAndBitmaps)
{
    CQVMemBitmap s;
    Fill(s, 31, 2, 0x0000);
    s.FillRect(10, 0, 10, 2, 0x07E0);
    s.FillRect(20, 0, 10, 2, 0xF800);
    CQVDibImageList list;
    ASSERT_TRUE(list.CreateFromSurface(&s, 10));
    EXPECT_EQ(3, list.GetCapacity());
    EXPECT_EQ(3, list.GetCount());
    EXPECT_FALSE(list.CreateFromSurface(&s, 32));
    EXPECT_FALSE(list.CreateFromSurface(NULL, 10));
    ASSERT_TRUE(list.CreateFromSurface(&s, 10));

    HBITMAP one = list.GetBitmap(1);
    ASSERT_TRUE(one != NULL);
    Canvas canvas(10, 2);
    canvas.CopyFrom(one);
    DeleteObject(one);
    EXPECT_EQ(0x00FF00u, canvas.At(9, 1));
    EXPECT_EQ(NULL, list.GetBitmap(3));

    EXPECT_TRUE(list.Remove(1));
    EXPECT_EQ(2, list.GetCount());
    EXPECT_EQ(RGB(255, 0, 0), list.GetStrip()->GetPixel(15, 1));  // image 2 moved to 1
    EXPECT_FALSE(list.Remove(2));
    EXPECT_FALSE(list.Remove(-1));
}

TEST(ImageListFunctions, BitmapStripToImageListAndBack)
{
    // Three images 8 wide; magenta is the key colour.
    HBITMAP strip = MakeBitmap(24, 6, [](int x, int y) {
        if (y == 0)
            return 0xFF00FFu;
        return x < 8 ? 0xFF0000u : x < 16 ? 0x00FF00u : 0x0000FFu;
    });
    HIMAGELIST list = BitmapStripToImageList(strip, 8, NULL);  // key from (0, 0)
    ASSERT_TRUE(list != NULL);
    EXPECT_EQ(3, ImageList_GetImageCount(list));
    // The caller's bitmap is unchanged.
    Canvas check(24, 6);
    check.CopyFrom(strip);
    EXPECT_EQ(0xFF00FFu, check.At(9, 0));

    HBITMAP image = ImageListImageToBitmap(list, 1);
    ASSERT_TRUE(image != NULL);
    Canvas canvas(8, 6);
    canvas.CopyFrom(image);
    DeleteObject(image);
    EXPECT_EQ(kBackgroundPixel, canvas.At(3, 0));  // masked: the background shows
    EXPECT_EQ(0x00FF00u, canvas.At(3, 3));
    EXPECT_EQ(NULL, ImageListImageToBitmap(list, 3));
    ImageList_Destroy(list);

    const COLORREF red = RGB(255, 0, 0);
    list = BitmapStripToImageList(strip, 8, &red);
    ASSERT_TRUE(list != NULL);
    ImageList_Destroy(list);
    EXPECT_EQ(NULL, BitmapStripToImageList(strip, 25, NULL));
    EXPECT_EQ(NULL, BitmapStripToImageList(strip, 0, NULL));
    DeleteObject(strip);
}

}  // namespace
