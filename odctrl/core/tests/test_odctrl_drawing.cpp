// Drawing support and the gradient fill by pixel: the resource module and
// type names, bitmaps into rectangles by mode, the back-buffer and memory
// DCs, the palette picture's bytes and pixels, the cached background.
#include "ODTestSupport.h"

#include <string.h>

#include "ODDrawing.h"
#include "ODGradient.h"

namespace {

using namespace odtest;

// A bitmap whose pixel (x, y) is unique: red from x, green from y.
COLORREF Pattern(int x, int y) { return RGB(16 * x, 16 * y, 200); }

TEST(ResourceModule, DefaultsToTheProgramAndKeepsIt)
{
    const HMODULE first = ODGetResourceHandle();
    EXPECT_EQ(first, GetModuleHandleA(NULL));
    EXPECT_EQ(ODGetResourceHandle(), first) << "kept";
    const HMODULE other = reinterpret_cast<HMODULE>(0x1234);
    EXPECT_EQ(ODSetResourceHandle(other), first);
    EXPECT_EQ(ODGetResourceHandle(), other);
    EXPECT_EQ(ODSetResourceHandle(first), other);
}

TEST(ResourceModule, TypeNames)
{
    const char* const expected[] = {"ODRES_BITMAP", "ODRES_GIF", "ODRES_JPEG", "ODRES_PNG"};
    for (int i = 0; i < 4; ++i)
        EXPECT_STREQ(ODGetResourceTypeName(i), expected[i]);
    EXPECT_EQ(ODGetResourceTypeName(-1), nullptr);
    EXPECT_EQ(ODGetResourceTypeName(4), nullptr);
}

TEST(DrawBitmapInRect, ModesByPixel)
{
    HBITMAP bitmap = MakeBitmap(4, 3, Pattern);
    ASSERT_NE(bitmap, nullptr);
    struct Case {
        const char* what;
        int mode;
        CRect rect;
        std::function<COLORREF(int, int)> expected;  // inside the rectangle, relative to it
    };
    const Case cases[] = {
        {"mode 1: the top-left part, cut at the rectangle", OD_DRAW_PLAIN, CRect(2, 3, 5, 5),
         [](int x, int y) { return Pattern(x, y); }},
        {"mode 1: a rectangle larger than the bitmap shows it once", OD_DRAW_PLAIN, CRect(1, 1, 5, 4),
         [](int x, int y) { return Pattern(x, y); }},
        {"mode 3: tiles from the top-left", OD_DRAW_TILE, CRect(1, 2, 11, 9),
         [](int x, int y) { return Pattern(x % 4, y % 3); }},
        {"mode 2: stretched", OD_DRAW_STRETCH, CRect(2, 2, 10, 8), [](int x, int y) { return Pattern(x / 2, y / 2); }},
        {"any other mode stretches", 7, CRect(0, 0, 8, 6), [](int x, int y) { return Pattern(x / 2, y / 2); }},
    };
    for (const Case& c : cases) {
        Canvas canvas(14, 12, kBlack);
        CDC* dc = CDC::FromHandle(canvas.dc());
        ODDrawBitmapInRect(dc, c.rect, bitmap, c.mode);
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 14; ++x) {
                COLORREF expected = kBlack;
                if (c.rect.PtInRect(CPoint(x, y))) {
                    const int rx = x - c.rect.left, ry = y - c.rect.top;
                    const bool plainOutside = c.mode == OD_DRAW_PLAIN && (rx >= 4 || ry >= 3);
                    expected = plainOutside ? kBlack : c.expected(rx, ry);
                }
                ASSERT_EQ(canvas.At(x, y), expected) << c.what << " at " << x << "," << y;
            }
    }
    // A key colour leaves those pixels out.
    Canvas canvas(8, 6, kGreen);
    ODDrawBitmapInRect(CDC::FromHandle(canvas.dc()), CRect(0, 0, 8, 6), bitmap, OD_DRAW_TILE, Pattern(1, 1));
    EXPECT_EQ(canvas.At(1, 1), kGreen);
    EXPECT_EQ(canvas.At(5, 4), kGreen);
    EXPECT_EQ(canvas.At(0, 0), Pattern(0, 0));
    ODDrawBitmapInRect(CDC::FromHandle(canvas.dc()), CRect(0, 0, 8, 6), NULL, OD_DRAW_TILE);  // nothing
    DeleteObject(bitmap);
}

TEST(BackDC, CopiesBackOnlyItsRectangle)
{
    struct Case {
        const char* what;
        BOOL copyBackground;
        COLORREF untouched;  // inside the rectangle where nothing was drawn
    };
    const Case cases[] = {
        {"with the background copied in, untouched pixels stay", TRUE, kBlue},
        {"without it they come back as the new buffer's", FALSE, kBlack},
    };
    for (const Case& c : cases) {
        Canvas canvas(40, 40, kBlue);
        CDC* target = CDC::FromHandle(canvas.dc());
        const CRect rect(10, 10, 30, 30);
        {
            CODBackDC back(target, &rect, c.copyBackground);
            EXPECT_TRUE(back.IsOffScreen());
            back.FillSolidRect(CRect(15, 15, 20, 20), kRed);  // target coordinates
            back.FillSolidRect(CRect(0, 0, 12, 12), kGreen);  // partly outside the rectangle
            EXPECT_EQ(canvas.At(16, 16), kBlue) << c.what << ": nothing reaches the target before the end";
        }
        EXPECT_EQ(canvas.At(16, 16), kRed) << c.what;
        EXPECT_EQ(canvas.At(11, 11), kGreen) << c.what;
        EXPECT_EQ(canvas.At(9, 9), kBlue) << c.what << ": outside the rectangle";
        EXPECT_EQ(canvas.At(25, 25), c.untouched) << c.what;
        EXPECT_EQ(canvas.At(35, 35), kBlue) << c.what;
    }
}

TEST(BackDC, PrinterAndEmptyRectangleDrawStraight)
{
    Canvas canvas(20, 20, kBlue);
    CDC printer;
    printer.Attach(canvas.dc());
    printer.m_bPrinting = TRUE;
    {
        CODBackDC back(&printer, NULL, FALSE);
        EXPECT_FALSE(back.IsOffScreen());
        back.FillSolidRect(CRect(2, 2, 4, 4), kRed);
        EXPECT_EQ(canvas.At(3, 3), kRed) << "drawn at once";
    }
    EXPECT_EQ(canvas.At(3, 3), kRed);
    printer.Detach();

    CDC* target = CDC::FromHandle(canvas.dc());
    const CRect empty(5, 5, 5, 9);
    {
        CODBackDC back(target, &empty, TRUE);
        EXPECT_FALSE(back.IsOffScreen());
        back.FillSolidRect(CRect(6, 6, 7, 7), kGreen);
    }
    EXPECT_EQ(canvas.At(6, 6), kGreen);
    EXPECT_NE(GetObjectType(canvas.dc()), 0u) << "the target's DC was borrowed, not deleted";
}

TEST(BackDC, NoRectangleTakesTheClipBox)
{
    Canvas canvas(20, 20, kBlue);
    HRGN clip = CreateRectRgn(4, 4, 8, 8);
    SelectClipRgn(canvas.dc(), clip);
    DeleteObject(clip);
    {
        CODBackDC back(CDC::FromHandle(canvas.dc()), NULL, TRUE);
        EXPECT_EQ(back.GetRect(), CRect(4, 4, 8, 8));
        back.FillSolidRect(CRect(0, 0, 20, 20), kRed);
    }
    SelectClipRgn(canvas.dc(), NULL);
    EXPECT_EQ(canvas.At(5, 5), kRed);
    EXPECT_EQ(canvas.At(10, 10), kBlue);
}

TEST(MemDC, FlushCopiesBackAtTheRectangle)
{
    Canvas canvas(30, 30, kBlue);
    CDC* target = CDC::FromHandle(canvas.dc());
    CODMemDC memory;
    ASSERT_TRUE(memory.Create(target, CRect(5, 6, 15, 16)));
    EXPECT_TRUE(memory.Create(target, CRect(0, 0, 1, 1))) << "a second Create changes nothing";
    EXPECT_EQ(memory.ToLocal(CRect(7, 8, 9, 10)), CRect(2, 2, 4, 4));
    EXPECT_EQ(memory.ToLocal(CPoint(5, 6)), CPoint(0, 0));
    ASSERT_TRUE(memory.CopyFromTarget());
    memory.FillSolidRect(CRect(0, 0, 2, 2), kRed);
    EXPECT_EQ(canvas.At(5, 6), kBlue);
    memory.Flush(TRUE);
    EXPECT_FALSE(memory.IsCreated());
    EXPECT_EQ(canvas.At(5, 6), kRed);
    EXPECT_EQ(canvas.At(6, 7), kRed);
    EXPECT_EQ(canvas.At(10, 10), kBlue) << "copied in from the target first";

    CODMemDC discarded;
    ASSERT_TRUE(discarded.Create(target, CRect(0, 0, 4, 4)));
    discarded.FillSolidRect(CRect(0, 0, 4, 4), kGreen);
    discarded.Flush(FALSE);
    EXPECT_EQ(canvas.At(1, 1), kBlue);

    CODMemDC refused;
    EXPECT_FALSE(refused.Create(target, CRect(3, 3, 3, 8))) << "an empty rectangle";
    EXPECT_FALSE(refused.Create(NULL, CRect(0, 0, 4, 4))) << "no target";
}

TEST(Dib, CreateTable)
{
    struct Case {
        const char* what;
        int width, height, bits;
        bool made;
        int stride, palette;
    };
    const Case cases[] = {
        {"1 bit", 10, 3, 1, true, 4, 2},
        {"4 bits", 10, 3, 4, true, 8, 16},
        {"8 bits", 10, 3, 8, true, 12, 256},
        {"24 bits: no palette", 10, 3, 24, true, 32, 0},
        {"32 bits", 3, 3, 32, true, 12, 0},
        {"bit count 7 refused", 10, 3, 7, false, 0, 0},
        {"width 0 refused", 0, 3, 8, false, 0, 0},
        {"negative height refused", 10, -3, 8, false, 0, 0},
        {"a picture beyond 256 MB refused", 100000, 100000, 32, false, 0, 0},
    };
    for (const Case& c : cases) {
        CODDib dib;
        const BITMAPINFOHEADER* h = dib.Create(c.width, c.height, c.bits);
        EXPECT_EQ(h != nullptr, c.made) << c.what;
        EXPECT_EQ(dib.GetBits() != nullptr, c.made) << c.what;
        if (!h)
            continue;
        EXPECT_EQ(dib.GetStride(), c.stride) << c.what;
        EXPECT_EQ(dib.GetPaletteCount(), c.palette) << c.what;
        EXPECT_EQ(h->biHeight, c.height) << c.what << ": positive height, rows bottom-up";
        EXPECT_EQ(h->biSizeImage, static_cast<DWORD>(c.stride * c.height)) << c.what;
    }
}

TEST(Dib, SaveBmpOfA4BitPicture)
{
    CODDib dib;
    ASSERT_NE(dib.Create(10, 10, 4), nullptr);
    dib.SetPaletteEntry(1, 10, 20, 30);
    dib.SetPixelIndex(0, 0, 1);  // top-left: last stored row, high nibble
    dib.SetPixelIndex(9, 9, 1);  // bottom-right: first stored row, byte 4, low nibble
    TempDir dir;
    const std::string path = dir.File("pic.bmp");
    ASSERT_TRUE(dib.SaveBmp(path.c_str()));
    const std::vector<unsigned char> bytes = ReadFileBytes(path);
    // 14 + 40 + 16 x 4 palette + 10 rows of 8 bytes.
    ASSERT_EQ(bytes.size(), 14u + 40 + 64 + 80);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    DWORD fileSize, offset;
    memcpy(&fileSize, &bytes[2], 4);
    memcpy(&offset, &bytes[10], 4);
    EXPECT_EQ(fileSize, bytes.size());
    EXPECT_EQ(offset, 118u);
    EXPECT_EQ(bytes[54 + 4], 30) << "palette entry 1: blue";
    EXPECT_EQ(bytes[54 + 5], 20);
    EXPECT_EQ(bytes[54 + 6], 10);
    EXPECT_EQ(bytes[118 + 4], 0x01) << "bottom-right pixel: first stored row";
    EXPECT_EQ(bytes[118 + 9 * 8], 0x10) << "top-left pixel: last stored row";
    EXPECT_FALSE(dib.SaveBmp("")) << "empty name";
    CODDib none;
    EXPECT_FALSE(none.SaveBmp(path.c_str())) << "no picture";
}

TEST(Dib, PixelsPalettesAndSection)
{
    CODDib dib;
    ASSERT_NE(dib.Create(3, 2, 8), nullptr);
    dib.MakeGrayPalette();
    EXPECT_EQ(dib.GetPaletteEntry(0).rgbRed, 0);
    EXPECT_EQ(dib.GetPaletteEntry(100).rgbGreen, 100);
    EXPECT_EQ(dib.GetPaletteEntry(255).rgbBlue, 255);
    dib.SetPaletteEntry(7, 255, 0, 0);
    dib.SetPaletteEntry(256, 1, 2, 3);  // beyond the palette: ignored
    dib.Fill(0);
    dib.SetPixelIndex(2, 0, 7);
    dib.SetPixelIndex(3, 0, 7);   // outside: ignored
    dib.SetPixelIndex(-1, 1, 7);  // outside: ignored
    EXPECT_EQ(dib.GetBits()[dib.GetStride() * 1 + 2], 7) << "row y from the top is stored row height - y - 1";
    Canvas canvas(6, 4, kBlue);
    ASSERT_TRUE(dib.CreateSection(canvas.dc(), 1, 1));
    EXPECT_EQ(canvas.At(3, 1), kRed);
    EXPECT_EQ(canvas.At(1, 1), kBlack);
    EXPECT_EQ(canvas.At(0, 0), kBlue);

    dib.MakeShadePalette(RGB(200, 100, 0), 150);  // held at 100
    EXPECT_EQ(dib.GetPaletteEntry(7).rgbRed, 200);
    EXPECT_EQ(dib.GetPaletteEntry(7).rgbGreen, 100);
    dib.SetPaletteEntry(7, 100, 0, 0);
    dib.MakeShadePalette(RGB(200, 100, 50), 50);
    EXPECT_EQ(dib.GetPaletteEntry(7).rgbRed, 150);
    EXPECT_EQ(dib.GetPaletteEntry(7).rgbGreen, 50);
    EXPECT_EQ(dib.GetPaletteEntry(7).rgbBlue, 25);

    CODDib copy;
    ASSERT_TRUE(copy.CopyFrom(dib));
    EXPECT_EQ(memcmp(copy.GetBlock(), dib.GetBlock(), dib.GetBlockSize()), 0);

    CODDib rgb;
    ASSERT_NE(rgb.Create(4, 4, 24), nullptr);
    rgb.Fill(0x11);
    rgb.SetPixelIndex(0, 0, 0x99);  // no palette: ignored
    EXPECT_EQ(rgb.GetBits()[rgb.GetStride() * 3], 0x11);

    CODDib nibbles;
    ASSERT_NE(nibbles.Create(3, 1, 4), nullptr);
    nibbles.SetPixelIndex(1, 0, 0xF);
    nibbles.SetPixelIndex(2, 0, 0x3);
    EXPECT_EQ(nibbles.GetBits()[0], 0x0F);
    EXPECT_EQ(nibbles.GetBits()[1], 0x30);
    EXPECT_EQ(nibbles.GetBits()[3], 0) << "nothing written past the row's pixels";
}

TEST(CachedImage, BuiltOnceThenReusedUntilReset)
{
    Canvas parent(20, 20, kGreen);
    parent.Set(6, 7, kRed);
    Canvas control(10, 10, kBlack);
    CODCachedImage cache;
    const CRect rect(0, 0, 4, 4);
    CDC* parentDC = CDC::FromHandle(parent.dc());
    CDC* controlDC = CDC::FromHandle(control.dc());
    ASSERT_TRUE(cache.Draw(controlDC, parentDC, rect, CPoint(5, 6)));
    EXPECT_TRUE(cache.IsCached());
    EXPECT_EQ(control.At(1, 1), kRed);
    EXPECT_EQ(control.At(0, 0), kGreen);
    EXPECT_EQ(control.At(5, 5), kBlack);

    parent.Set(6, 7, kBlue);  // the parent changes: the copy stays
    control.Fill(kBlack);
    ASSERT_TRUE(cache.Draw(controlDC, parentDC, rect, CPoint(5, 6)));
    EXPECT_EQ(control.At(1, 1), kRed);

    cache.Reset();
    EXPECT_FALSE(cache.IsCached());
    ASSERT_TRUE(cache.Draw(controlDC, parentDC, rect, CPoint(5, 6)));
    EXPECT_EQ(control.At(1, 1), kBlue);

    EXPECT_FALSE(cache.Draw(controlDC, NULL, rect, CPoint(0, 0)));
    EXPECT_FALSE(cache.BuildCache(NULL, rect, CPoint(0, 0)));
}

// ---- Gradient -------------------------------------------------------------------------------------

TEST(Gradient, DirectionsByPixel)
{
    struct Case {
        const char* what;
        int mode;
        bool vertical;
        bool reversed;
    };
    const Case cases[] = {
        {"left to right", CODGradient::LeftToRight, false, false},
        {"right to left", CODGradient::RightToLeft, false, true},
        {"top to bottom", CODGradient::TopToBottom, true, false},
        {"bottom to top", CODGradient::BottomToTop, true, true},
    };
    // The run red -> blue over 100 pixels: 100 one-pixel bands, band i red
    // 255 + trunc(i x -2.55), blue trunc(i x 2.55) (see the band tests).
    odgrad::Bands run;
    odgrad::BuildSegmentBands(RGB(255, 0, 0), RGB(0, 0, 255), 100, 0, -1, run);
    ASSERT_EQ(run.size(), 100u);
    for (const Case& c : cases) {
        const int w = c.vertical ? 4 : 100, h = c.vertical ? 100 : 4;
        Canvas canvas(w + 2, h + 2, kBlack);
        CODGradient g;
        g.SetMode(c.mode);
        g.SetColors(RGB(255, 0, 0), RGB(0, 0, 255));
        g.Draw(CDC::FromHandle(canvas.dc()), CRect(1, 1, 1 + w, 1 + h));
        for (int i = 0; i < 100; ++i) {
            const int along = c.reversed ? 99 - i : i;
            const int x = 1 + (c.vertical ? 2 : along), y = 1 + (c.vertical ? along : 2);
            ASSERT_EQ(canvas.At(x, y), run[static_cast<size_t>(i)].color) << c.what << " pixel " << i;
        }
        EXPECT_EQ(canvas.At(0, 0), kBlack) << c.what << ": nothing outside";
        EXPECT_EQ(canvas.At(w + 1, h + 1), kBlack) << c.what;
    }
}

TEST(Gradient, FactorOffsetAndStops)
{
    CODGradient g;
    g.SetFactor(0.5f);
    EXPECT_EQ(g.GetFactor(), 1.0f) << "below 1.0 is 1.0";
    g.SetColors(RGB(255, 0, 0), RGB(0, 0, 255));

    Canvas half(100, 1, kBlack), full(200, 1, kBlack);
    g.Draw(CDC::FromHandle(full.dc()), CRect(0, 0, 200, 1));
    g.SetFactor(2.0f);
    g.Draw(CDC::FromHandle(half.dc()), CRect(0, 0, 100, 1));
    for (int x = 0; x < 100; ++x)
        ASSERT_EQ(half.At(x, 0), full.At(x, 0)) << "factor 2: the first half of the run, pixel " << x;

    Canvas offset(100, 1, kBlack), plain(100, 1, kBlack);
    g.SetFactor(1.0f);
    g.Draw(CDC::FromHandle(plain.dc()), CRect(0, 0, 100, 1));
    g.Draw(CDC::FromHandle(offset.dc()), CRect(0, 0, 100, 1), 0, -1, 100);
    for (int x = 0; x < 100; ++x)
        ASSERT_EQ(offset.At(x, 0), plain.At(x, 0)) << "offset = period draws as offset 0";

    COLORREF a, b;
    CODGradient none;
    none.GetEndColors(&a, &b);
    EXPECT_EQ(a, static_cast<COLORREF>(-1));
    EXPECT_EQ(b, static_cast<COLORREF>(-1));
    Canvas untouched(10, 1, kGreen);
    none.Draw(CDC::FromHandle(untouched.dc()), CRect(0, 0, 10, 1));
    EXPECT_EQ(untouched.At(5, 0), kGreen) << "no stop draws nothing";

    CODGradient one;
    one.AddColor(kCyan);
    one.GetEndColors(&a, &b);
    EXPECT_EQ(a, kCyan);
    EXPECT_EQ(b, kCyan);
    one.Draw(CDC::FromHandle(untouched.dc()), CRect(0, 0, 10, 1));
    EXPECT_EQ(untouched.At(9, 0), kCyan) << "one stop fills";
    one.AddColor(kYellow);  // the first segment: weight 100, not a division by zero
    ASSERT_EQ(one.GetWeights().size(), 1u);
    EXPECT_FLOAT_EQ(one.GetWeights()[0], 100.0f);
    one.AddColor(kRed);  // 100 / 1 segment before it, then normalised: 50, 50
    ASSERT_EQ(one.GetWeights().size(), 2u);
    EXPECT_FLOAT_EQ(one.GetWeights()[0], 50.0f);

    const float zero[2] = {0, 0};
    one.SetWeights(zero, 2);
    EXPECT_FLOAT_EQ(one.GetWeights()[1], 50.0f) << "zero weights become equal";

    CODGradient list;
    list.SetColorList(3, kRed, kGreen, kBlue);
    ASSERT_EQ(list.GetColorArray().GetSize(), 3);
    EXPECT_FLOAT_EQ(list.GetWeights()[1], 50.0f);
}

}  // namespace
