// The 16-bit surface towards GDI: DIB sections, drawing to devices (plain,
// keyed through a mask and on 16-bit devices, stretched), its memory DC and
// conversion from and to bitmaps. Devices are 32-bit DIB sections in memory
// DCs, so every pixel is checked exactly.
#include <gtest/gtest.h>

#include "GdiTestSupport.h"
#include "QVMemBitmap.h"

#include <vector>

using gfxtest::Canvas;
using gfxtest::FillPattern;
using gfxtest::PatternColour;

namespace {

int Depth16(HDC) { return 16; }

// Restores the depth query whatever a test does.
struct DepthSeam
{
    explicit DepthSeam(CQVMemBitmap::DeviceDepthQuery q) : old(CQVMemBitmap::SetDeviceDepthQuery(q)) {}
    ~DepthSeam() { CQVMemBitmap::SetDeviceDepthQuery(old); }
    CQVMemBitmap::DeviceDepthQuery old;
};

}  // namespace

// ---- DIB sections ---------------------------------------------------------------------

TEST(SurfaceDib, SectionsOfEveryDepth)
{
    const struct
    {
        int bits;
        int width;
        DWORD compression;
        DWORD coloursUsed;
        DWORD rowBytes;
    } cases[] = {
        {1, 33, BI_RGB, 2, 8},   // 33 pixels need 5 bytes: rounded up to 8
        {1, 32, BI_RGB, 2, 4},   {4, 9, BI_RGB, 16, 8}, {8, 5, BI_RGB, 256, 8},
        {16, 3, BI_BITFIELDS, 3, 8}, {16, 2, BI_BITFIELDS, 3, 4},
        {24, 5, BI_RGB, 0, 16},  {32, 3, BI_RGB, 0, 12},
    };
    for (const auto& c : cases) {
        void* bits = NULL;
        HBITMAP b = CQVMemBitmap::CreateDIBSectionEx(c.width, 3, c.bits, &bits);
        ASSERT_TRUE(b != NULL) << c.bits;
        EXPECT_TRUE(bits != NULL);
        DIBSECTION ds;
        ASSERT_EQ(int(sizeof ds), GetObject(b, sizeof ds, &ds));
        EXPECT_EQ(c.bits, ds.dsBmih.biBitCount);
        EXPECT_EQ(c.compression, ds.dsBmih.biCompression) << c.bits;
        EXPECT_EQ(LONG(c.rowBytes), ds.dsBm.bmWidthBytes) << c.bits << " bits, " << c.width << " wide";
        EXPECT_EQ(c.width, ds.dsBm.bmWidth);
        EXPECT_EQ(3, ds.dsBm.bmHeight);
        if (c.bits == 16) {
            EXPECT_EQ(0xF800u, ds.dsBitfields[0]);
            EXPECT_EQ(0x07E0u, ds.dsBitfields[1]);
            EXPECT_EQ(0x001Fu, ds.dsBitfields[2]);
        }
        DeleteObject(b);
    }
    for (int bad : {0, 3, 5, 15, 64, -8}) {
        void* bits = NULL;
        EXPECT_TRUE(CQVMemBitmap::CreateDIBSectionEx(4, 4, bad, &bits) == NULL) << bad;
    }
    EXPECT_TRUE(CQVMemBitmap::CreateDIBSectionEx(0, 4, 16, NULL) == NULL);
    EXPECT_TRUE(CQVMemBitmap::CreateDIBSectionEx(4, -4, 16, NULL) == NULL);
}

TEST(SurfaceDib, EightBitTableComesFromTheDefaultPaletteAndNullBitsAreCleared)
{
    HBITMAP b = CQVMemBitmap::CreateDIBSectionEx(33, 7, 8, NULL);
    ASSERT_TRUE(b != NULL);
    DIBSECTION ds;
    ASSERT_EQ(int(sizeof ds), GetObject(b, sizeof ds, &ds));
    const unsigned char* bytes = static_cast<const unsigned char*>(ds.dsBm.bmBits);
    for (int i = 0; i < 36 * 7; ++i)
        ASSERT_EQ(0, bytes[i]);
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, b);
    RGBQUAD table[256];
    ASSERT_EQ(256u, GetDIBColorTable(dc, 0, 256, table));
    PALETTEENTRY pe[20];
    ASSERT_EQ(20u, GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0, 20, pe));
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(pe[i].peRed, table[i].rgbRed) << i;
        EXPECT_EQ(pe[i].peGreen, table[i].rgbGreen) << i;
        EXPECT_EQ(pe[i].peBlue, table[i].rgbBlue) << i;
    }
    EXPECT_EQ(0, table[20].rgbRed | table[20].rgbGreen | table[20].rgbBlue);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(b);
}

TEST(SurfaceDib, ColourCountsOfHeaders)
{
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    const struct
    {
        WORD bits;
        DWORD used;
        UINT colours, bytes;
    } cases[] = {{1, 0, 2, 8}, {4, 0, 16, 64}, {8, 0, 256, 1024}, {8, 12, 12, 48},
                 {16, 0, 0, 0}, {24, 0, 0, 0}, {24, 7, 7, 28}, {2, 0, 0, 0}};
    for (const auto& c : cases) {
        info.biBitCount = c.bits;
        info.biClrUsed = c.used;
        EXPECT_EQ(c.colours, CQVMemBitmap::DibNumColors(&info)) << c.bits << "/" << c.used;
        EXPECT_EQ(c.bytes, CQVMemBitmap::DibPaletteSize(&info));
    }
    BITMAPCOREHEADER core = {sizeof core, 4, 4, 1, 8};
    EXPECT_EQ(256u, CQVMemBitmap::DibNumColors(&core));
    EXPECT_EQ(768u, CQVMemBitmap::DibPaletteSize(&core));
    EXPECT_EQ(0u, CQVMemBitmap::DibNumColors(NULL));
}

// ---- Drawing to devices ----------------------------------------------------------------

TEST(SurfaceDraw, PartsLandPixelExactWithOriginAndClip)
{
    const struct
    {
        const char* name;
        bool hasRect;
        RECT rect;
        int x, y;
        POINT origin;
        RECT clip;
        RECT drawn;   // device pixels drawn
        POINT from;   // surface pixel drawn at drawn's top-left
    } cases[] = {
        {"whole", false, {}, 2, 3, {0, 0}, {}, {2, 3, 9, 8}, {0, 0}},
        {"part", true, {1, 2, 4, 5}, 0, 0, {0, 0}, {}, {0, 0, 3, 3}, {1, 2}},
        {"negative", false, {}, -3, -1, {0, 0}, {}, {0, 0, 4, 4}, {3, 1}},
        {"origin", false, {}, 1, 1, {2, 1}, {}, {3, 2, 10, 7}, {0, 0}},
        {"clip", false, {}, 0, 0, {0, 0}, {2, 1, 5, 3}, {2, 1, 5, 3}, {2, 1}},
        {"wholly outside", false, {}, -7, 0, {0, 0}, {}, {0, 0, 0, 0}, {0, 0}},
    };
    for (const auto& c : cases) {
        CQVMemBitmap s;
        ASSERT_TRUE(s.Create(7, 5));
        FillPattern(s);
        s.SetOrigin(c.origin.x, c.origin.y);
        if (c.clip.right)
            s.SetClipRect(&c.clip);
        Canvas canvas(12, 10, RGB(1, 2, 3));
        EXPECT_TRUE(s.Draw(canvas.dc(), c.hasRect ? &c.rect : NULL, c.x, c.y)) << c.name;
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 12; ++x) {
                const bool in = x >= c.drawn.left && x < c.drawn.right && y >= c.drawn.top && y < c.drawn.bottom;
                const COLORREF want =
                    in ? PatternColour(c.from.x + x - c.drawn.left, c.from.y + y - c.drawn.top) : RGB(1, 2, 3);
                ASSERT_EQ(want, canvas.At(x, y)) << c.name << " at " << x << "," << y;
            }
    }
    CQVMemBitmap empty;
    Canvas canvas(2, 2);
    EXPECT_FALSE(empty.Draw(canvas.dc(), NULL, 0, 0));
    CQVMemBitmap s;
    ASSERT_TRUE(s.Create(2, 2));
    EXPECT_FALSE(s.Draw(NULL, NULL, 0, 0));
}

class TransparentDraw : public ::testing::TestWithParam<bool>
{
};

// Both ways of drawing transparently: through a mask, and on a device that
// says it has 16 bits per pixel.
TEST_P(TransparentDraw, KeyPixelsLeaveTheDevice)
{
    DepthSeam seam(GetParam() ? Depth16 : NULL);
    const WORD key = 0xF81F;
    const struct
    {
        const char* name;
        int keyMode;
        COLORREF keyColour;
        bool keyPixels;  // does the picture hold key pixels
    } cases[] = {
        {"stored key", 1, RGB(255, 0, 255), true},
        {"stored key with low bits", 1, RGB(250, 3, 252), true},
        {"key from the corner", 2, 0, true},
        {"key absent from the picture", 1, RGB(255, 0, 255), false},
    };
    for (const auto& c : cases) {
        // Through the mask an absent key takes the nearest colour the
        // picture holds (a test of its own below); on 16 bits it is exact.
        if (!c.keyPixels && !GetParam())
            continue;
        CQVMemBitmap s;
        ASSERT_TRUE(s.Create(6, 4));
        FillPattern(s);
        if (c.keyPixels)
            for (int i = 0; i < 6; ++i)
                s.FillRect(i, i % 4, 1, 1, key);
        s.FillRect(0, 0, 1, 1, c.keyPixels ? key : 0x0841);
        if (c.keyMode == 2)
            s.SetKeyColorFromCorner();
        else
            s.SetKeyColor(c.keyColour);
        // The device's colours count and must come back unchanged. Its
        // pixels are exact in 565: the 16-bit way reads them as 565.
        Canvas canvas(10, 8, RGB(0x10, 0x20, 0x31));
        SetBkColor(canvas.dc(), RGB(1, 1, 1));
        SetTextColor(canvas.dc(), RGB(2, 2, 2));
        const RECT part = {1, 0, 6, 4};
        EXPECT_TRUE(s.DrawTransparent(canvas.dc(), &part, 3, 2)) << c.name;
        EXPECT_EQ(RGB(1, 1, 1), GetBkColor(canvas.dc()));
        EXPECT_EQ(RGB(2, 2, 2), GetTextColor(canvas.dc()));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 10; ++x) {
                const int sx = x - 3 + 1, sy = y - 2;
                const bool inside = sx >= 1 && sx < 6 && sy >= 0 && sy < 4;
                COLORREF want = RGB(0x10, 0x20, 0x31);
                if (inside && s.GetPixel16(sx, sy) != key)
                    want = s.GetPixel(sx, sy);
                ASSERT_EQ(want, canvas.At(x, y)) << c.name << " at " << x << "," << y;
            }
    }
}

TEST_P(TransparentDraw, WithoutKeyItIsAPlainDraw)
{
    DepthSeam seam(GetParam() ? Depth16 : NULL);
    CQVMemBitmap s;
    ASSERT_TRUE(s.Create(4, 3));
    FillPattern(s);
    s.FillRect(0, 0, 4, 1, 0xF81F);
    Canvas a(6, 6), b(6, 6);
    EXPECT_TRUE(s.DrawTransparent(a.dc(), NULL, 1, 1));
    EXPECT_TRUE(s.Draw(b.dc(), NULL, 1, 1));
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(b.At(x, y), a.At(x, y));
    // Wholly outside: 1, nothing drawn.
    s.SetKeyColor(RGB(255, 0, 255));
    EXPECT_TRUE(s.DrawTransparent(a.dc(), NULL, 6, 0));
}

INSTANTIATE_TEST_SUITE_P(MaskAnd16Bit, TransparentDraw, ::testing::Values(false, true));

// Through the mask a key colour the picture does not hold exactly takes the
// nearest colour it does hold: RGB(250, 8, 250) against white (0x00FFFFFF:
// 0x0005F705 away from 0x00FA08FA as integers) and grey 0x8410 (drawn as
// 0x00848284: 0x00758676 away); white is the nearer, so it is left out.
TEST(SurfaceDraw, AMaskedKeyWithoutAnExactPixelTakesTheNearestColour)
{
    DepthSeam seam(NULL);
    CQVMemBitmap s;
    ASSERT_TRUE(s.Create(4, 2));
    s.FillRect(0, 0, 2, 2, 0xFFFF);
    s.FillRect(2, 0, 2, 2, 0x8410);
    s.SetKeyColor(RGB(250, 8, 250));
    ASSERT_EQ(s.GetPixel(2, 0), RGB(0x84, 0x82, 0x84));
    Canvas canvas(6, 4, RGB(0x10, 0x20, 0x31));
    EXPECT_TRUE(s.DrawTransparent(canvas.dc(), NULL, 1, 1));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const int sx = x - 1, sy = y - 1;
            const bool grey = sx >= 2 && sx < 4 && sy >= 0 && sy < 2;
            ASSERT_EQ(grey ? RGB(0x84, 0x82, 0x84) : RGB(0x10, 0x20, 0x31), canvas.At(x, y)) << x << "," << y;
        }
}

TEST(SurfaceDraw, StretchDrawDoublesPixels)
{
    CQVMemBitmap s;
    ASSERT_TRUE(s.Create(4, 3));
    FillPattern(s);
    s.SetOrigin(5, 5);  // the origin is for drawing into the surface, not here
    Canvas canvas(10, 8, RGB(1, 2, 3));
    const RECT from = {1, 1, 3, 3}, to = {2, 2, 6, 6};
    EXPECT_TRUE(s.StretchDraw(canvas.dc(), &from, &to));
    EXPECT_EQ(COLORONCOLOR, GetStretchBltMode(canvas.dc()));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) {
            const bool in = x >= 2 && x < 6 && y >= 2 && y < 6;
            ASSERT_EQ(in ? PatternColour(1 + (x - 2) / 2, 1 + (y - 2) / 2) : RGB(1, 2, 3), canvas.At(x, y))
                << x << "," << y;
        }
}

// ---- Surface to surface through GDI ----------------------------------------------------------

TEST(SurfaceStretch, StretchBlitScalesAndClips)
{
    CQVMemBitmap src, dst;
    ASSERT_TRUE(src.Create(4, 4));
    FillPattern(src);
    ASSERT_TRUE(dst.Create(8, 8));
    dst.FillRect(0, 0, 8, 8, 0x0001);
    // Twice the size, cut at the bottom-right: the source loses what the
    // destination lost, at the ratio (here exactly two destination pixels a
    // source pixel).
    const RECT whole = {0, 0, 4, 4}, to = {4, 4, 12, 12};
    EXPECT_TRUE(dst.StretchBlit(&src, &whole, &to));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const bool in = x >= 4 && y >= 4;
            const WORD want = in ? src.GetPixel16((x - 4) / 2, (y - 4) / 2) : 0x0001;
            ASSERT_EQ(want, dst.GetPixel16(x, y)) << x << "," << y;
        }
    const RECT from = {1, 1, 3, 3};
    // Equal sizes are a plain copy, moved by the origin.
    dst.FillRect(0, 0, 8, 8, 0x0001);
    dst.SetOrigin(1, 0);
    const RECT same = {0, 0, 2, 2};
    EXPECT_TRUE(dst.StretchBlit(&src, &from, &same));
    EXPECT_EQ(src.GetPixel16(1, 1), dst.GetPixel16(1, 0));
    EXPECT_EQ(src.GetPixel16(2, 2), dst.GetPixel16(2, 1));
    EXPECT_EQ(0x0001, dst.GetPixel16(0, 0));
    // Empty rectangles draw nothing; a missing source fails.
    const RECT empty = {2, 2, 2, 5};
    EXPECT_TRUE(dst.StretchBlit(&src, &empty, NULL));
    EXPECT_FALSE(dst.StretchBlit(NULL, NULL, NULL));
}

// ---- Memory DC --------------------------------------------------------------------------------

TEST(SurfaceDC, DrawingInTheDCReachesThePixels)
{
    CQVMemBitmap s;
    ASSERT_TRUE(s.Create(5, 3));
    FillPattern(s);
    s.SetOrigin(2, 1);  // no effect on the DC's copy
    HDC dc = s.GetDC();
    ASSERT_TRUE(dc != NULL);
    EXPECT_EQ(PatternColour(0, 0), GetPixel(dc, 0, 0));
    EXPECT_EQ(PatternColour(4, 2), GetPixel(dc, 4, 2));
    SetPixel(dc, 1, 1, RGB(255, 255, 255));

    // One DC at a time.
    EXPECT_TRUE(s.GetDC() == NULL);
    HDC other = CreateCompatibleDC(NULL);
    EXPECT_FALSE(s.ReleaseDC(other));
    DeleteDC(other);

    EXPECT_TRUE(s.ReleaseDC(dc));
    EXPECT_EQ(0xFFFF, s.GetPixel16(1, 1));
    EXPECT_EQ(PatternColour(4, 2), s.GetPixel(4, 2));
    EXPECT_FALSE(s.ReleaseDC(dc));  // none out

    // A surface that changed size while the DC was out keeps its pixels.
    dc = s.GetDC();
    ASSERT_TRUE(dc != NULL);
    ASSERT_TRUE(s.Create(2, 2));
    s.SetOrigin(0, 0);
    s.FillRect(0, 0, 2, 2, 0x1234);
    EXPECT_TRUE(s.ReleaseDC(dc));
    EXPECT_EQ(0x1234, s.GetPixel16(1, 1));

    CQVMemBitmap empty;
    EXPECT_TRUE(empty.GetDC() == NULL);
}

// ---- Bitmaps -------------------------------------------------------------------------------------

TEST(SurfaceBitmaps, CreateBitmapAndLoadFromBitmapRoundTrip)
{
    CQVMemBitmap s, back;
    ASSERT_TRUE(s.Create(9, 7));
    FillPattern(s, 31);
    HBITMAP b = s.CreateBitmap();
    ASSERT_TRUE(b != NULL);
    BITMAP bm;
    ASSERT_TRUE(GetObject(b, sizeof bm, &bm));
    EXPECT_EQ(9, bm.bmWidth);
    EXPECT_EQ(7, bm.bmHeight);
    ASSERT_TRUE(back.LoadFromBitmap(b));
    EXPECT_EQ(9, back.GetWidth());
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 9; ++x)
            ASSERT_EQ(s.GetPixel16(x, y), back.GetPixel16(x, y)) << x << "," << y;
    DeleteObject(b);

    CQVMemBitmap empty;
    EXPECT_TRUE(empty.CreateBitmap() == NULL);
    EXPECT_FALSE(back.LoadFromBitmap(NULL));
}

TEST(SurfaceBitmaps, LoadFromABitmapHeldByAnotherDCFailsCleanly)
{
    HBITMAP b = gfxtest::SolidDib(4, 4, 24, RGB(0, 255, 0));
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, b);
    CQVMemBitmap s;
    EXPECT_FALSE(s.LoadFromBitmap(b));
    EXPECT_FALSE(s.HasPixels());
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_TRUE(s.LoadFromBitmap(b));
    EXPECT_EQ(0x07E0, s.GetPixel16(3, 3));
    DeleteObject(b);
}
