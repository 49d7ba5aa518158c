// The image object: loading and depths, clip, the image-to-image drawings
// at their boundary levels, the keyed-copy priority, dirty areas, masked
// draws, fills and the device side.
#include <gtest/gtest.h>

#include "ImageObj.h"
#include "ImageTestSupport.h"
#include "QVRectList.h"

using namespace imgtest;

namespace {

const int kTinyBmpResource = 101;  // fixtures/tiny24.bmp as RCDATA

// An image of one colour (0xAARRGGBB at 32 bits, 0x00RRGGBB otherwise).
void Solid(CImageObj& image, int width, int height, int bpp, uint32_t colour)
{
    ASSERT_TRUE(image.Attach(MakeTrueColour(width, height, bpp, [colour](int, int) { return colour; }), bpp));
}

COLORREF ToColorref(uint32_t rgb) { return RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF); }

uint32_t At(const CImageObj& image, int x, int y) { return RgbAt(image.GetBitmap(), x, y); }

// A distinct colour for every pixel.
uint32_t Pattern(int x, int y) { return 0x100000u * (x + 1) + 0x1000u * (y + 1) + 0x11u * (x + y); }

// ---- Loading and depths -----------------------------------------------------------

TEST(ImageObjLoad, DepthIsNormalised)
{
    const std::vector<uint32_t> pal16 = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0, 0,
                                         0,        0,        0,        0,        0,        0,        0, 0};
    struct Case
    {
        int bpp;
        std::vector<uint32_t> palette;
        int heldAs;
    } cases[] = {
        {1, {0x000000, 0xFFFFFF}, 8},
        {4, pal16, 8},
        {8, pal16, 8},
        {16, {}, 24},
        {24, {}, 24},
        {32, {}, 32},
    };
    for (const Case& c : cases) {
        const bool indexed = c.bpp <= 8;
        std::vector<uint8_t> bmp = MakeBmp(5, 3, c.bpp, c.palette, [&](int x, int y) -> uint32_t {
            if (indexed)
                return static_cast<uint32_t>((x + y) % (c.bpp == 1 ? 2 : 6));
            return 0xFF000000u | (x == 0 ? 0xF80000u : 0x0000F8u);
        });
        CImageObj image;
        ASSERT_TRUE(image.LoadMemory(bmp.data(), static_cast<DWORD>(bmp.size()))) << c.bpp;
        EXPECT_EQ(c.heldAs, image.GetBPP()) << c.bpp;
        EXPECT_EQ(5, image.GetWidth());
        EXPECT_EQ(3, image.GetHeight());
        if (indexed) {
            // The colours survive: the palette is kept.
            const int colours = c.bpp == 1 ? 2 : 6;
            for (int x = 0; x < 5; x++)
                EXPECT_EQ(ToColorref(c.palette[(x + 1) % colours]), image.GetPixelColor(x, 1)) << c.bpp << " x " << x;
        } else {
            EXPECT_EQ(RGB(0xF8, 0, 0), image.GetPixelColor(0, 2) & 0xF8F8F8) << c.bpp;
            EXPECT_EQ(RGB(0, 0, 0xF8), image.GetPixelColor(4, 0) & 0xF8F8F8) << c.bpp;
        }
    }
}

TEST(ImageObjLoad, FilesByContentAndShortPaths)
{
    TempFolder folder;
    std::vector<uint8_t> bmp = MakeBmp(4, 4, 24, {}, [](int x, int) { return x ? 0x00FF00u : 0xFF0000u; });
    // The content decides, not the extension.
    const std::string wrongExtension = folder.Write("picture.png", bmp);
    CImageObj image;
    ASSERT_TRUE(image.LoadFile(wrongExtension.c_str()));
    EXPECT_EQ(RGB(255, 0, 0), image.GetPixelColor(0, 0));

    // A path under 4 characters fails at once: the image is not even emptied.
    EXPECT_FALSE(image.LoadFile("a.b"));
    EXPECT_FALSE(image.LoadFile(NULL));
    EXPECT_FALSE(image.IsEmpty());

    // Missing files and unknown content fail and leave the image empty.
    EXPECT_FALSE(image.LoadFile((folder.Path() + "missing.bmp").c_str()));
    EXPECT_TRUE(image.IsEmpty());
    const std::string text = folder.Write("notes.xyz", std::vector<uint8_t>(100, 'x'));
    EXPECT_FALSE(image.LoadFile(text.c_str()));
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_FALSE(image.LoadMemory("garbage", 7));
    EXPECT_FALSE(image.LoadMemory(NULL, 10));
}

TEST(ImageObjLoad, ResourcesAndConversions)
{
    CImageObj image;
    ASSERT_TRUE(image.LoadResource(GetModuleHandle(NULL), MAKEINTRESOURCEA(kTinyBmpResource), RT_RCDATA,
                                   MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)));
    EXPECT_EQ(3, image.GetWidth());
    EXPECT_EQ(RGB(255, 0, 0), image.GetPixelColor(0, 0));
    EXPECT_EQ(RGB(128, 128, 128), image.GetPixelColor(2, 1));
    EXPECT_FALSE(image.LoadResource(GetModuleHandle(NULL), MAKEINTRESOURCEA(999), RT_RCDATA, 0));
    EXPECT_TRUE(image.IsEmpty());

    // ConvertTo: the same depth and unknown depths are refused.
    Solid(image, 2, 2, 24, 0x336699);
    EXPECT_FALSE(image.ConvertTo(24));
    EXPECT_FALSE(image.ConvertTo(16));
    ASSERT_TRUE(image.ConvertTo(32));
    EXPECT_EQ(32, image.GetBPP());
    EXPECT_EQ(0x336699u, At(image, 1, 1));

    // CopyFrom clones or converts; Attach takes only the exact depth.
    CImageObj copy;
    ASSERT_TRUE(copy.CopyFrom(image.GetBitmap(), 24));
    EXPECT_EQ(24, copy.GetBPP());
    EXPECT_EQ(0x336699u, At(copy, 0, 0));
    FIBITMAP* foreign = FreeImage_Allocate(3, 3, 24, 0, 0, 0);
    EXPECT_FALSE(copy.Attach(foreign, 32));
    EXPECT_EQ(2, copy.GetWidth());  // unchanged
    EXPECT_TRUE(copy.Attach(foreign, 24));
    EXPECT_EQ(3, copy.GetWidth());

    EXPECT_FALSE(image.Create(0, 5, 24));
    EXPECT_FALSE(image.Create(70000, 1, 24));
    EXPECT_TRUE(image.IsEmpty());
}

// ---- Clip, pixels and fills -------------------------------------------------------

TEST(ImageObjClip, ClipTable)
{
    CImageObj image;
    ASSERT_TRUE(image.Create(100, 50, 24));
    struct Case
    {
        RECT in;
        RECT out;
    } cases[] = {
        {{-5, -5, 10000, 10000}, {0, 0, 100, 50}},
        {{10, 10, 20, 30}, {10, 10, 20, 30}},
        {{200, 0, 300, 10}, {0, 0, 0, 0}},   // right of the picture
        {{10, 60, 20, 70}, {0, 0, 0, 0}},    // below it
        {{30, 10, 20, 30}, {0, 0, 0, 0}},    // inverted
        {{-20, -20, 0, 10}, {0, 0, 0, 0}},   // ends at the left edge
    };
    for (const Case& c : cases) {
        image.SetClipRect(&c.in);
        const RECT got = image.GetClipRect();
        EXPECT_TRUE(EqualRect(&got, &c.out)) << c.in.left << "," << c.in.top << "," << c.in.right << "," << c.in.bottom
                                              << " gave " << got.left << "," << got.top << "," << got.right << ","
                                              << got.bottom;
    }
    image.SetClipRect(NULL);
    const RECT got = image.GetClipRect();
    EXPECT_TRUE(IsRectEmpty(&got));
}

TEST(ImageObjPixels, PixelColourAndFill)
{
    CImageObj indexed;
    ASSERT_TRUE(indexed.Attach(MakeIndexed(3, 2, {0x000000, 0x102030, 0xA0B0C0}, [](int x, int y) {
        return static_cast<uint8_t>(y == 0 ? x : 0);
    }), 8));
    EXPECT_EQ(RGB(0x10, 0x20, 0x30), indexed.GetPixelColor(1, 0));
    EXPECT_EQ(RGB(0xA0, 0xB0, 0xC0), indexed.GetPixelColor(2, 0));
    EXPECT_EQ(0u, indexed.GetPixelColor(3, 0));
    EXPECT_EQ(0u, indexed.GetPixelColor(0, -1));
    EXPECT_FALSE(indexed.FillRect(0, 0, 1, 1, 0xFFFFFF));  // 8 bits: refused

    CImageObj image;
    Solid(image, 10, 10, 24, 0);
    image.SetOrigin(1, 1);
    // (-3, -3) moves to (-2, -2) and is cut to (0, 0)-(4, 4).
    EXPECT_TRUE(image.FillRect(-3, -3, 6, 6, RGB(1, 2, 3)));
    EXPECT_EQ(0x010203u, At(image, 0, 0));
    EXPECT_EQ(0x010203u, At(image, 3, 3));
    EXPECT_EQ(0u, At(image, 4, 3));
    EXPECT_EQ(0u, At(image, 3, 4));
    EXPECT_TRUE(image.FillRect(50, 50, 5, 5, 0xFF));  // outside: nothing, still 1

    CImageObj wide;
    Solid(wide, 2, 1, 32, 0xFFFFFFFF);
    EXPECT_TRUE(wide.FillRect(0, 0, 1, 1, 0x7F112233));
    const BYTE* p = FreeImage_GetScanLine(wide.GetBitmap(), 0);
    EXPECT_EQ(0x11, p[0]);  // blue
    EXPECT_EQ(0x22, p[1]);
    EXPECT_EQ(0x33, p[2]);  // red
    EXPECT_EQ(0x7F, p[3]);  // the colour's top byte
    EXPECT_EQ(0xFF, p[7]);

    CImageObj shallow;
    ASSERT_TRUE(shallow.Create(2, 2, 16));
    EXPECT_FALSE(shallow.FillRect(0, 0, 1, 1, 0));
}

TEST(ImageObjPixels, BackgroundColour)
{
    CImageObj image;
    COLORREF c = 1;
    EXPECT_FALSE(image.GetBkColor(&c));
    ASSERT_TRUE(image.Attach(MakeTrueColour(2, 2, 24, Pattern), 24));
    EXPECT_FALSE(image.GetBkColor(&c));
    EXPECT_TRUE(image.SetBkColor(RGB(9, 8, 7)));
    ASSERT_TRUE(image.GetBkColor(&c));
    EXPECT_EQ(RGB(9, 8, 7), c);
    EXPECT_TRUE(image.SetBkColorFromCorner());
    ASSERT_TRUE(image.GetBkColor(&c));
    const uint32_t corner = Pattern(0, 0);
    EXPECT_EQ(RGB(corner >> 16, (corner >> 8) & 0xFF, corner & 0xFF), c);
}

// ---- Image to image -----------------------------------------------------------------

TEST(ImageObjDraw, ClippingFrameOriginAndClip)
{
    CImageObj src;
    ASSERT_TRUE(src.Attach(MakeTrueColour(4, 4, 24, Pattern), 24));

    CImageObj dst;
    Solid(dst, 10, 10, 24, 0);
    dst.SetOrigin(2, 3);
    const RECT clip = {0, 0, 6, 6};
    dst.SetClipRect(&clip);
    EXPECT_TRUE(dst.BlendDraw1(&src, NULL, 0, 0));
    EXPECT_EQ(Pattern(0, 0), At(dst, 2, 3));
    EXPECT_EQ(Pattern(3, 2), At(dst, 5, 5));
    EXPECT_EQ(0u, At(dst, 5, 6));  // below the clip
    EXPECT_EQ(0u, At(dst, 1, 3));

    // A negative position shows the source's lower right part.
    CImageObj plain;
    Solid(plain, 3, 3, 24, 0);
    EXPECT_TRUE(plain.BlendDraw1(&src, NULL, -2, -1));
    EXPECT_EQ(Pattern(2, 1), At(plain, 0, 0));
    EXPECT_EQ(Pattern(3, 3), At(plain, 1, 2));
    EXPECT_EQ(0u, At(plain, 2, 0));

    // A source area cut by the source's own edge moves the destination.
    const RECT part = {-1, 2, 2, 6};
    Solid(plain, 3, 3, 24, 0);
    EXPECT_TRUE(plain.BlendDraw1(&src, &part, 0, 0));
    EXPECT_EQ(Pattern(0, 2), At(plain, 1, 0));
    EXPECT_EQ(0u, At(plain, 0, 0));

    // Nothing to draw is still success; an empty picture is failure.
    EXPECT_TRUE(plain.BlendDraw1(&src, NULL, 50, 50));
    CImageObj empty;
    EXPECT_FALSE(plain.BlendDraw1(&empty, NULL, 0, 0));
    EXPECT_FALSE(empty.BlendDraw1(&src, NULL, 0, 0));
    EXPECT_FALSE(plain.BlendDraw1(NULL, NULL, 0, 0));
}

TEST(ImageObjDraw, AlphaAndAdditiveLevels)
{
    struct Case
    {
        const char* what;
        int op;  // 3 alpha, 5 additive
        int level;
        uint32_t dst, src, expected;
    } cases[] = {
        {"alpha 0 leaves", 3, 0, 0x102030, 0xFFFFFF, 0x102030},
        {"alpha 255 copies", 3, 255, 0x102030, 0xC86432, 0xC86432},
        {"alpha 300 copies", 3, 300, 0x102030, 0xC86432, 0xC86432},
        {"alpha 128 white on black", 3, 128, 0x000000, 0xFFFFFF, 0x7F7F7F},
        {"alpha 128 black on white", 3, 128, 0xFFFFFF, 0x000000, 0x7F7F7F},
        {"alpha 64", 3, 64, 0x646464, 0xC8C8C8, 0x7D7D7D},
        {"alpha 16-bit argument", 3, 65536 + 128, 0x000000, 0xFFFFFF, 0x7F7F7F},
        {"add 256 unscaled, saturating", 5, 256, 0x64C832, 0x326496, 0x96FFC8},
        {"add 257 does nothing", 5, 257, 0x64C832, 0x326496, 0x64C832},
        {"add 0 does nothing", 5, 0, 0x64C832, 0x326496, 0x64C832},
        {"add 128 halves", 5, 128, 0x000000, 0xC86432, 0x643219},
    };
    for (const Case& c : cases) {
        CImageObj src, dst;
        Solid(src, 2, 2, 24, c.src);
        Solid(dst, 2, 2, 24, c.dst);
        const BOOL ok = c.op == 3 ? dst.BlendDraw3(&src, NULL, 0, 0, c.level) : dst.BlendDraw5(&src, NULL, 0, 0, c.level);
        EXPECT_TRUE(ok) << c.what;
        EXPECT_EQ(c.expected, At(dst, 1, 1)) << c.what;
    }
}

TEST(ImageObjDraw, KeyedCopyPriority)
{
    // Transparency first: a 32-bit source with alpha ignores its background colour.
    CImageObj alpha;
    ASSERT_TRUE(alpha.Attach(MakeTrueColour(2, 1, 32, [](int x, int) { return x ? 0x80FFFFFFu : 0x00FF0000u; }), 32));
    ASSERT_TRUE(FreeImage_IsTransparent(alpha.GetBitmap()));
    alpha.SetBkColor(RGB(255, 255, 255));
    CImageObj dst;
    Solid(dst, 2, 1, 24, 0);
    EXPECT_TRUE(dst.BlendDraw2(&alpha, NULL, 0, 0));
    EXPECT_EQ(0u, At(dst, 0, 0));         // alpha 0 left
    EXPECT_EQ(0x7F7F7Fu, At(dst, 1, 0));  // ((255 - 0) * 128) >> 8

    // An 8-bit source through its transparency table.
    CImageObj indexed;
    ASSERT_TRUE(indexed.Attach(MakeIndexed(3, 1, {0xFF0000, 0xC8C8C8, 0xFFFFFF}, [](int x, int) {
        return static_cast<uint8_t>(x);
    }), 8));
    BYTE table[3] = {0, 255, 64};
    FreeImage_SetTransparencyTable(indexed.GetBitmap(), table, 3);
    Solid(dst, 3, 1, 24, 0x646464);
    EXPECT_TRUE(dst.BlendDraw2(&indexed, NULL, 0, 0));
    EXPECT_EQ(0x646464u, At(dst, 0, 0));
    EXPECT_EQ(0xC7C7C7u, At(dst, 1, 0));  // (100 * 256 + 100 * 255) >> 8
    EXPECT_EQ(0x8A8A8Au, At(dst, 2, 0));  // (100 * 256 + 155 * 64) >> 8

    // Then the background colour: its pixels are left.
    CImageObj keyed;
    ASSERT_TRUE(keyed.Attach(MakeTrueColour(2, 1, 24, [](int x, int) { return x ? 0x00FF00u : 0xFF00FFu; }), 24));
    keyed.SetBkColor(RGB(255, 0, 255));
    Solid(dst, 2, 1, 24, 0x123456);
    EXPECT_TRUE(dst.BlendDraw2(&keyed, NULL, 0, 0));
    EXPECT_EQ(0x123456u, At(dst, 0, 0));
    EXPECT_EQ(0x00FF00u, At(dst, 1, 0));

    // Neither: the same as the opaque copy.
    CImageObj plain, a, b;
    ASSERT_TRUE(plain.Attach(MakeTrueColour(4, 3, 24, Pattern), 24));
    Solid(a, 5, 5, 24, 0x010101);
    Solid(b, 5, 5, 24, 0x010101);
    EXPECT_TRUE(a.BlendDraw1(&plain, NULL, 1, 1));
    EXPECT_TRUE(b.BlendDraw2(&plain, NULL, 1, 1));
    for (int y = 0; y < 5; y++)
        for (int x = 0; x < 5; x++)
            EXPECT_EQ(At(a, x, y), At(b, x, y));
}

TEST(ImageObjDraw, KeyedAlphaBlend)
{
    CImageObj alpha;
    ASSERT_TRUE(alpha.Attach(MakeTrueColour(2, 1, 32, [](int x, int) { return x ? 0x01FFFFFFu : 0xFFFFFFFFu; }), 32));
    CImageObj dst;
    Solid(dst, 2, 1, 24, 0);
    EXPECT_TRUE(dst.BlendDraw4(&alpha, NULL, 0, 0, 128));
    EXPECT_EQ(0x7E7E7Eu, At(dst, 0, 0));  // alpha 255 * 128 >> 8 = 127
    EXPECT_EQ(0u, At(dst, 1, 0));         // alpha 1 * 128 >> 8 = 0: skipped

    Solid(dst, 2, 1, 24, 0);
    EXPECT_TRUE(dst.BlendDraw4(&alpha, NULL, 0, 0, 0));
    EXPECT_EQ(0u, At(dst, 0, 0));
    EXPECT_TRUE(dst.BlendDraw4(&alpha, NULL, 0, 0, 255));  // the keyed copy
    EXPECT_EQ(0xFEFEFEu, At(dst, 0, 0));

    CImageObj keyed;
    ASSERT_TRUE(keyed.Attach(MakeTrueColour(2, 1, 24, [](int x, int) { return x ? 0xFFFFFFu : 0xFF00FFu; }), 24));
    keyed.SetBkColor(RGB(255, 0, 255));
    Solid(dst, 2, 1, 24, 0);
    EXPECT_TRUE(dst.BlendDraw4(&keyed, NULL, 0, 0, 128));
    EXPECT_EQ(0u, At(dst, 0, 0));
    EXPECT_EQ(0x7F7F7Fu, At(dst, 1, 0));

    CImageObj plain;
    Solid(plain, 2, 1, 24, 0xFFFFFF);
    Solid(dst, 2, 1, 24, 0);
    EXPECT_TRUE(dst.BlendDraw4(&plain, NULL, 0, 0, 128));
    EXPECT_EQ(0x7F7F7Fu, At(dst, 0, 0));
}

TEST(ImageObjDraw, DepthRules)
{
    // Same depth: rows copied whole (8 bits included). Otherwise the
    // destination must be 24 or 32 bits.
    CImageObj indexed, indexedDst, wide;
    ASSERT_TRUE(indexed.Attach(MakeIndexed(2, 2, {0, 0xFF0000}, [](int x, int) { return static_cast<uint8_t>(x); }), 8));
    ASSERT_TRUE(indexedDst.Create(2, 2, 8));
    EXPECT_TRUE(indexedDst.BlendDraw1(&indexed, NULL, 0, 0));
    EXPECT_EQ(1, FreeImage_GetScanLine(indexedDst.GetBitmap(), 0)[1]);
    Solid(wide, 2, 2, 32, 0xFF000000);
    EXPECT_TRUE(wide.BlendDraw1(&indexed, NULL, 0, 0));  // through the palette
    EXPECT_EQ(0xFF0000u, At(wide, 1, 0));
    EXPECT_FALSE(indexedDst.BlendDraw3(&wide, NULL, 0, 0, 100));
}

TEST(ImageObjDraw, DirtyAreasLimitTheDrawing)
{
    CImageObj src, dst;
    Solid(src, 20, 20, 24, 0xFFFFFF);
    Solid(dst, 20, 20, 24, 0);
    CQVRectList areas;
    areas.AddDirtyRect(RECT{2, 2, 5, 5});
    areas.AddDirtyRect(RECT{10, 12, 15, 18});
    dst.SetSource(&areas);
    EXPECT_TRUE(dst.BlendDraw1(&src, NULL, 0, 0));
    for (int y = 0; y < 20; y++)
        for (int x = 0; x < 20; x++) {
            const bool inside = (x >= 2 && x < 5 && y >= 2 && y < 5) || (x >= 10 && x < 15 && y >= 12 && y < 18);
            ASSERT_EQ(inside ? 0xFFFFFFu : 0u, At(dst, x, y)) << x << "," << y;
        }

    // The source follows each piece: a patterned source drawn at an offset.
    CImageObj pattern;
    ASSERT_TRUE(pattern.Attach(MakeTrueColour(8, 8, 24, Pattern), 24));
    Solid(dst, 20, 20, 24, 0);
    EXPECT_TRUE(dst.BlendDraw1(&pattern, NULL, 9, 11));
    EXPECT_EQ(Pattern(1, 1), At(dst, 10, 12));
    EXPECT_EQ(Pattern(5, 6), At(dst, 14, 17));
    EXPECT_EQ(0u, At(dst, 9, 11));

    // An empty rectangle in a band stands for the whole drawing.
    CQVRectList whole;
    DirtyBand* band = new DirtyBand(0, 20);
    band->rects.Add(new RECT{0, 0, 0, 0});
    whole.Add(band);
    Solid(dst, 20, 20, 24, 0);
    dst.SetSource(&whole);
    EXPECT_TRUE(dst.BlendDraw1(&src, NULL, 0, 0));
    EXPECT_EQ(0xFFFFFFu, At(dst, 0, 0));
    EXPECT_EQ(0xFFFFFFu, At(dst, 19, 19));

    // Bands outside the drawing are passed over.
    CQVRectList distant;
    distant.AddDirtyRect(RECT{0, 0, 20, 3});
    distant.AddDirtyRect(RECT{0, 15, 20, 20});
    Solid(dst, 20, 20, 24, 0);
    dst.SetSource(&distant);
    EXPECT_TRUE(dst.BlendDraw1(&src, nullptr, 0, 5));  // rows 5-19 drawn, only 15-19 dirty
    EXPECT_EQ(0u, At(dst, 0, 14));
    EXPECT_EQ(0xFFFFFFu, At(dst, 0, 15));
    EXPECT_EQ(0u, At(dst, 0, 2));
    dst.SetSource(NULL);
}

TEST(ImageObjDraw, MaskedDraws)
{
    CImageObj white, dst, mask;
    Solid(white, 4, 1, 24, 0xFFFFFF);
    ASSERT_TRUE(mask.Attach(MakeIndexed(4, 1, {}, [](int x, int) { return static_cast<uint8_t>(x == 3 ? 255 : x * 64); }),
                            8));
    // A grey palette: the blue byte of entry i is i.
    RGBQUAD* pal = FreeImage_GetPalette(mask.GetBitmap());
    for (int i = 0; i < 256; i++)
        pal[i].rgbBlue = pal[i].rgbGreen = pal[i].rgbRed = static_cast<BYTE>(i);
    Solid(dst, 4, 1, 24, 0);
    EXPECT_TRUE(dst.DrawToImage(&white, &mask, NULL, 0, 0));
    EXPECT_EQ(0u, At(dst, 0, 0));
    EXPECT_EQ(0x3F3F3Fu, At(dst, 1, 0));
    EXPECT_EQ(0x7F7F7Fu, At(dst, 2, 0));
    EXPECT_EQ(0xFEFEFEu, At(dst, 3, 0));

    // A 24-bit mask is read through an 8-bit copy; the caller's mask stays.
    CImageObj greyMask;
    ASSERT_TRUE(greyMask.Attach(MakeTrueColour(4, 1, 24, [](int x, int) { return x * 0x404040u; }), 24));
    Solid(dst, 4, 1, 24, 0);
    EXPECT_TRUE(dst.DrawToImage(&white, &greyMask, NULL, 0, 0));
    EXPECT_EQ(24, greyMask.GetBPP());
    EXPECT_NEAR(0x3F, static_cast<int>(At(dst, 1, 0) & 0xFF), 1);

    // Mask and source must be the same size; so must their areas.
    CImageObj small;
    Solid(small, 2, 1, 24, 0xFFFFFF);
    EXPECT_FALSE(dst.DrawToImage(&small, &mask, NULL, 0, 0));
    const RECT left = {0, 0, 2, 1}, right = {2, 0, 4, 1}, wider = {1, 0, 4, 1};
    Solid(dst, 4, 1, 24, 0);
    EXPECT_TRUE(dst.DrawToImageEx(&white, &mask, &left, 0, 0, &right));
    EXPECT_EQ(0x7F7F7Fu, At(dst, 0, 0));
    EXPECT_EQ(0xFEFEFEu, At(dst, 1, 0));
    EXPECT_FALSE(dst.DrawToImageEx(&white, &mask, &left, 0, 0, &wider));

    // An 8-bit source leaves the pixels of weight 0; others darken them a little.
    CImageObj indexed;
    ASSERT_TRUE(indexed.Attach(MakeIndexed(4, 1, {0xFFFFFF}, [](int, int) { return static_cast<uint8_t>(0); }), 8));
    Solid(dst, 4, 1, 24, 0xC8C8C8);
    EXPECT_TRUE(dst.DrawToImage(&indexed, &mask, NULL, 0, 0));
    EXPECT_EQ(0xC8C8C8u, At(dst, 0, 0));
    Solid(dst, 4, 1, 24, 0xC8C8C8);
    EXPECT_TRUE(dst.DrawToImage(&white, &mask, NULL, 0, 0));
    EXPECT_EQ(0xC7C7C7u, At(dst, 0, 0));  // (200 * 255) >> 8

    // Darkening by the raw mask value.
    Solid(dst, 4, 1, 24, 0xC8C8C8);
    EXPECT_TRUE(dst.DrawFrom8Bit(&mask, NULL, 0, 0));
    EXPECT_EQ(0u, At(dst, 0, 0));
    EXPECT_EQ(0x323232u, At(dst, 1, 0));  // 200 * 64 >> 8
    EXPECT_EQ(0xC7C7C7u, At(dst, 3, 0));

    // The destination needs 24 bits or more.
    CImageObj shallow;
    ASSERT_TRUE(shallow.Create(4, 1, 8));
    EXPECT_FALSE(shallow.DrawToImage(&white, &mask, NULL, 0, 0));
}

// ---- Device side --------------------------------------------------------------------

TEST(ImageObjGdi, DrawToDeviceAndStretch)
{
    CImageObj image;
    ASSERT_TRUE(image.Attach(MakeTrueColour(4, 3, 24, Pattern), 24));
    Canvas canvas(10, 10, 0x010101);
    EXPECT_TRUE(image.DrawToDC(canvas.Dc(), NULL, 2, 1));
    for (int y = 0; y < 3; y++)
        for (int x = 0; x < 4; x++)
            ASSERT_EQ(Pattern(x, y), canvas.At(2 + x, 1 + y)) << x << "," << y;
    EXPECT_EQ(0x010101u, canvas.At(6, 1));

    canvas.Fill(0);
    const RECT part = {1, 1, 3, 3};
    EXPECT_TRUE(image.DrawToDC(canvas.Dc(), &part, 0, 0));
    EXPECT_EQ(Pattern(1, 1), canvas.At(0, 0));
    EXPECT_EQ(Pattern(2, 2), canvas.At(1, 1));
    EXPECT_EQ(0u, canvas.At(2, 2));

    canvas.Fill(0);
    EXPECT_TRUE(image.DrawToDC(canvas.Dc(), NULL, -1, -1));  // cut at the device's edge
    EXPECT_EQ(Pattern(1, 1), canvas.At(0, 0));
    EXPECT_EQ(Pattern(3, 2), canvas.At(2, 1));
    EXPECT_TRUE(image.DrawToDC(canvas.Dc(), NULL, 70000, 0));  // nothing to draw

    canvas.Fill(0);
    CImageObj two;
    ASSERT_TRUE(two.Attach(MakeTrueColour(2, 2, 24, Pattern), 24));
    const RECT big = {0, 0, 4, 4};
    EXPECT_TRUE(two.StretchToDC(canvas.Dc(), &big, NULL));
    EXPECT_EQ(Pattern(0, 0), canvas.At(1, 1));
    EXPECT_EQ(Pattern(1, 0), canvas.At(2, 1));
    EXPECT_EQ(Pattern(1, 1), canvas.At(3, 3));
    EXPECT_EQ(0u, canvas.At(4, 4));
}

TEST(ImageObjGdi, MemoryDcWritesBack)
{
    CImageObj image;
    Solid(image, 6, 4, 24, 0);
    HDC dc = image.GetDC();
    ASSERT_TRUE(dc != NULL);
    EXPECT_EQ(NULL, image.GetDC());  // one at a time
    RECT r = {1, 1, 3, 2};
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    ::FillRect(dc, &r, brush);
    DeleteObject(brush);
    Canvas other(1, 1);
    EXPECT_FALSE(image.ReleaseDC(other.Dc()));
    EXPECT_TRUE(image.ReleaseDC(dc));
    EXPECT_EQ(0x0A141Eu, At(image, 1, 1));
    EXPECT_EQ(0x0A141Eu, At(image, 2, 1));
    EXPECT_EQ(0u, At(image, 3, 1));
    EXPECT_EQ(0u, At(image, 1, 2));

    // An 8-bit picture keeps its colours through a DC round trip.
    CImageObj indexed;
    ASSERT_TRUE(indexed.Attach(MakeIndexed(3, 1, {0x000000, 0x3366CC, 0xCC6633}, [](int x, int) {
        return static_cast<uint8_t>(x);
    }), 8));
    dc = indexed.GetDC();
    ASSERT_TRUE(dc != NULL);
    EXPECT_TRUE(indexed.ReleaseDC(dc));
    EXPECT_EQ(RGB(0x33, 0x66, 0xCC), indexed.GetPixelColor(1, 0));
    EXPECT_EQ(RGB(0xCC, 0x66, 0x33), indexed.GetPixelColor(2, 0));
}

TEST(ImageObjGdi, FromBitmapAndStretchIntoImage)
{
    Canvas canvas(5, 4);
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 5; x++)
            SetPixel(canvas.Dc(), x, y, RGB(x * 40, y * 60, 7));
    CImageObj image;
    ASSERT_TRUE(image.LoadFromBitmap(canvas.Bitmap(), 24));
    EXPECT_EQ(24, image.GetBPP());
    EXPECT_EQ(RGB(80, 120, 7), image.GetPixelColor(2, 2));
    ASSERT_TRUE(image.LoadFromBitmap(canvas.Bitmap(), 0));
    EXPECT_EQ(32, image.GetBPP());
    EXPECT_EQ(RGB(160, 180, 7), image.GetPixelColor(4, 3));
    EXPECT_FALSE(image.LoadFromBitmap(NULL, 24));

    // Same size: an opaque copy at the clipped place (origin applies once).
    CImageObj src, dst;
    ASSERT_TRUE(src.Attach(MakeTrueColour(2, 2, 24, Pattern), 24));
    Solid(dst, 6, 6, 24, 0);
    dst.SetOrigin(1, 1);
    const RECT same = {0, 0, 2, 2};
    EXPECT_TRUE(dst.StretchToDCEx(&src, NULL, &same));
    EXPECT_EQ(Pattern(0, 0), At(dst, 1, 1));
    EXPECT_EQ(Pattern(1, 1), At(dst, 2, 2));
    EXPECT_EQ(0u, At(dst, 0, 0));

    // Twice the size through GDI.
    dst.SetOrigin(0, 0);
    Solid(dst, 6, 6, 24, 0);
    const RECT twice = {1, 1, 5, 5};
    EXPECT_TRUE(dst.StretchToDCEx(&src, NULL, &twice));
    EXPECT_EQ(Pattern(0, 0), At(dst, 1, 1));
    EXPECT_EQ(Pattern(0, 0), At(dst, 2, 2));
    EXPECT_EQ(Pattern(1, 0), At(dst, 3, 1));
    EXPECT_EQ(Pattern(1, 1), At(dst, 4, 4));
    EXPECT_EQ(0u, At(dst, 5, 5));

    // Cut by the destination's edge: the visible part keeps the scale.
    Solid(dst, 6, 6, 24, 0);
    const RECT offEdge = {4, 4, 8, 8};
    EXPECT_TRUE(dst.StretchToDCEx(&src, NULL, &offEdge));
    EXPECT_EQ(Pattern(0, 0), At(dst, 4, 4));
    EXPECT_EQ(Pattern(0, 0), At(dst, 5, 5));

    const RECT empty = {2, 2, 2, 4};
    EXPECT_FALSE(dst.StretchToDCEx(&src, NULL, &empty));
    const RECT outside = {10, 10, 14, 14};
    EXPECT_FALSE(dst.StretchToDCEx(&src, NULL, &outside));
}

}  // namespace
