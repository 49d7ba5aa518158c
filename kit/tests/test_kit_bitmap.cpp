// The kit's picture class: which files load and which are refused (the
// bitmap path by substring, offsets and lengths, short reads, malformed
// headers), the OLE path, every drawing flag by its pixels, the nine-grid,
// pictures too small to cut, palettes on a palette screen.
#include "KitTestSupport.h"

#include "QVBitmap.h"

namespace {

using namespace kittest;

std::string TempFile(const std::string& name)
{
    char base[MAX_PATH];
    GetTempPathA(MAX_PATH, base);
    return std::string(base) + "kitbmp_" + std::to_string(GetCurrentProcessId()) + "_" + name;
}

std::vector<uint8_t> Solid(int w, int h, COLORREF c)
{
    return MakeBmp24(w, h, [c](int, int) { return c; });
}

void Put32(std::vector<uint8_t>& f, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; i++)
        f[at + i] = (v >> (8 * i)) & 0xFF;
}

TEST(KitBitmap, LoaderTable)
{
    const std::vector<uint8_t> good = Solid(6, 3, kRed);
    std::vector<uint8_t> framed(100 + good.size() + 50, 0x55);   // junk, the picture, junk
    std::copy(good.begin(), good.end(), framed.begin() + 100);
    std::vector<uint8_t> truncated(good.begin(), good.end() - 5);
    std::vector<uint8_t> badHeader = good;
    Put32(badHeader, 14, 1000);   // info header size nobody knows
    std::vector<uint8_t> zeroWidth = good;
    Put32(zeroWidth, 18, 0);
    std::vector<uint8_t> hugeWidth = good;
    Put32(hugeWidth, 18, 0x7FFFFFFF);
    std::vector<uint8_t> badOffset = good;
    Put32(badOffset, 10, 0xFFFFFF00);
    const std::vector<uint8_t> notBm = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

    struct Case
    {
        const char* what;
        std::string name;
        std::vector<uint8_t> bytes;
        DWORD offset, length;
        bool loads;
        int w, h;
    };
    const Case cases[] = {
        {"plain .bmp", "a.bmp", good, 0, 0, true, 6, 3},
        {"upper-case .BMP", "B.BMP", good, 0, 0, true, 6, 3},
        {"'.bmp' inside the name takes the bitmap path", "c.bmp.jpg", good, 0, 0, true, 6, 3},
        {"bitmap path refuses data without BM", "d.bmp.gif", notBm, 0, 0, false, 0, 0},
        {"window into a larger file", "e.bmp", framed, 100, (DWORD)good.size(), true, 6, 3},
        {"offset with length 0 reads to the end", "f.bmp", framed, 100, 0, true, 6, 3},
        {"window past the end is a short read", "g.bmp", framed, 100, (DWORD)framed.size(), false, 0, 0},
        {"offset past the end", "h.bmp", good, (DWORD)good.size() + 1, 0, false, 0, 0},
        {"pixels cut short", "i.bmp", truncated, 0, 0, false, 0, 0},
        {"unknown header size", "j.bmp", badHeader, 0, 0, false, 0, 0},
        {"zero width", "k.bmp", zeroWidth, 0, 0, false, 0, 0},
        {"absurd width", "l.bmp", hugeWidth, 0, 0, false, 0, 0},
        {"pixel offset outside the file", "m.bmp", badOffset, 0, 0, false, 0, 0},
        {"only the signature", "n.bmp", {'B', 'M'}, 0, 0, false, 0, 0},
        {"empty file", "o.bmp", {}, 0, 0, false, 0, 0},
    };
    for (const Case& c : cases) {
        const std::string path = TempFile(c.name);
        ASSERT_TRUE(WriteBytes(path, c.bytes)) << c.what;
        CQVBitmap b;
        EXPECT_EQ(b.LoadFromFile(path.c_str(), TRUE, c.offset, c.length) != FALSE, c.loads) << c.what;
        SIZE s = {0, 0};
        EXPECT_EQ(b.GetSize(&s) != FALSE, c.loads) << c.what;
        EXPECT_EQ(s.cx, c.w) << c.what;
        EXPECT_EQ(s.cy, c.h) << c.what;
        DeleteFileA(path.c_str());
    }
    CQVBitmap missing;
    EXPECT_FALSE(missing.LoadFromFile(TempFile("nowhere.bmp").c_str()));
    EXPECT_FALSE(missing.LoadFromFile(TempFile("nowhere.jpg").c_str()));
    EXPECT_FALSE(missing.LoadFromFile(""));
}

TEST(KitBitmap, EightBitColourCountBeyondTheDepthIsRefused)
{
    // 8 bits, 4 x 1, biClrUsed 300 (the table cannot hold more than 256).
    std::vector<uint8_t> f(54 + 256 * 4 + 4, 0);
    f[0] = 'B';
    f[1] = 'M';
    Put32(f, 2, (uint32_t)f.size());
    Put32(f, 10, 54 + 256 * 4);
    Put32(f, 14, 40);
    Put32(f, 18, 4);
    Put32(f, 22, 1);
    f[26] = 1;
    f[28] = 8;
    Put32(f, 46, 300);
    CQVBitmap b;
    EXPECT_FALSE(b.CreateFromFileBytes(f.data(), f.size()));
    Put32(f, 46, 0);   // 0: the full table of 256
    EXPECT_TRUE(b.CreateFromFileBytes(f.data(), f.size()));
    EXPECT_EQ(b.Width(), 4);
}

TEST(KitBitmap, PictureFilesGoThroughTheOleLoader)
{
    // A 1 x 1 GIF (red).
    const std::vector<uint8_t> gif = {
        'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0, 0, 0, 0, 0, 0x2C, 0, 0, 0, 0, 1,
        0, 1, 0, 0, 2, 2, 0x44, 0x01, 0, 0x3B};
    const std::string path = TempFile("p.gif");
    ASSERT_TRUE(WriteBytes(path, gif));
    CQVBitmap b;
    ASSERT_TRUE(b.LoadFromFile(path.c_str())) << "the system's OLE picture loader decodes GIF";
    EXPECT_EQ(b.Width(), 1);
    EXPECT_EQ(b.Height(), 1);
    Canvas canvas(4, 4, kWhite);
    b.Draw(CDC::FromHandle(canvas.dc()), 1, 1);
    EXPECT_EQ(canvas.At(1, 1), kRed);
    DeleteFileA(path.c_str());
    const std::string junk = TempFile("q.jpg");
    ASSERT_TRUE(WriteBytes(junk, {1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_FALSE(b.LoadFromFile(junk.c_str()));
    DeleteFileA(junk.c_str());
}

// A picture made in memory.
void MakePicture(CQVBitmap& b, int w, int h, const std::function<COLORREF(int, int)>& colour)
{
    const std::vector<uint8_t> f = MakeBmp24(w, h, colour);
    ASSERT_TRUE(b.CreateFromFileBytes(f.data(), f.size()));
}

TEST(KitBitmap, DrawingFlagPixelTable)
{
    // 4 x 2: columns 0-1 red, 2-3 blue.
    CQVBitmap pic;
    MakePicture(pic, 4, 2, [](int x, int) { return x < 2 ? kRed : kBlue; });
    // 8 x 1 masked: image [red, black, blue, black], mask [black, white, black, white].
    CQVBitmap masked;
    MakePicture(masked, 8, 1, [](int x, int) {
        static const COLORREF c[] = {kRed, kBlack, kBlue, kBlack, kBlack, kWhite, kBlack, kWhite};
        return c[x];
    });

    struct Probe { int x, y; COLORREF c; };
    struct Case
    {
        const char* what;
        CQVBitmap* pic;
        int x, y, cx, cy;
        UINT flags;
        std::vector<Probe> probes;
    };
    const Case cases[] = {
        {"plain at (2,3)", &pic, 2, 3, 0, 0, 0,
         {{2, 3, kRed}, {3, 4, kRed}, {4, 3, kBlue}, {5, 4, kBlue}, {6, 3, kWhite}, {2, 5, kWhite}}},
        {"centred across 10: x + 3", &pic, 0, 0, 10, 10, CQVBitmap::kCentreX,
         {{2, 0, kWhite}, {3, 0, kRed}, {6, 1, kBlue}, {7, 0, kWhite}}},
        {"centred down 10: y + 4", &pic, 0, 0, 10, 10, CQVBitmap::kCentreY,
         {{0, 3, kWhite}, {0, 4, kRed}, {3, 5, kBlue}, {0, 6, kWhite}}},
        {"tiled over 10 x 5, clipped there", &pic, 0, 0, 10, 5, CQVBitmap::kTile,
         {{0, 0, kRed}, {4, 2, kRed}, {7, 3, kBlue}, {8, 4, kRed}, {9, 4, kRed}, {10, 0, kWhite}, {0, 5, kWhite}}},
        {"stretched to 8 x 4", &pic, 0, 0, 8, 4, CQVBitmap::kStretch,
         {{0, 0, kRed}, {3, 3, kRed}, {4, 0, kBlue}, {7, 3, kBlue}, {8, 0, kWhite}, {0, 4, kWhite}}},
        {"masked: right half is the mask", &masked, 1, 1, 0, 0, CQVBitmap::kMasked,
         {{1, 1, kRed}, {2, 1, kWhite}, {3, 1, kBlue}, {4, 1, kWhite}, {5, 1, kWhite}}},
    };
    for (const Case& c : cases) {
        Canvas canvas(16, 16, kWhite);
        EXPECT_TRUE(c.pic->DrawImage(CDC::FromHandle(canvas.dc()), c.x, c.y, c.cx, c.cy, c.flags)) << c.what;
        for (const Probe& p : c.probes)
            EXPECT_EQ(canvas.At(p.x, p.y), p.c) << c.what << " at (" << p.x << "," << p.y << ")";
    }
    CQVBitmap empty;
    Canvas canvas(4, 4, kWhite);
    EXPECT_FALSE(empty.Draw(CDC::FromHandle(canvas.dc()), 0, 0)) << "no picture: nothing drawn";
}

TEST(KitBitmap, DrawToDcCountsTheRectangleInclusively)
{
    CQVBitmap pic;
    MakePicture(pic, 2, 2, [](int, int) { return kGreen; });
    Canvas canvas(16, 16, kWhite);
    const RECT r = {0, 0, 9, 9};
    pic.DrawToDC(CDC::FromHandle(canvas.dc()), &r, CQVBitmap::kTile);
    EXPECT_EQ(canvas.At(9, 9), kGreen);
    EXPECT_EQ(canvas.At(9, 0), kGreen);
    EXPECT_EQ(canvas.At(10, 9), kWhite);
    EXPECT_EQ(canvas.At(9, 10), kWhite);
}

TEST(KitBitmap, NineGridPartsAndCentreFlag)
{
    // 9 x 9: cell (col, row) of 3 x 3 pixels in colours[row * 3 + col].
    static const COLORREF colours[9] = {RGB(10, 0, 0), RGB(20, 0, 0), RGB(30, 0, 0), RGB(40, 0, 0), RGB(50, 0, 0),
                                        RGB(60, 0, 0), RGB(70, 0, 0), RGB(80, 0, 0), RGB(90, 0, 0)};
    CQVBitmap pic;
    MakePicture(pic, 9, 9, [](int x, int y) { return colours[(y / 3) * 3 + x / 3]; });
    struct Probe { const char* what; int x, y; int cell; };
    const Probe probes[] = {
        {"top-left", 0, 0, 0}, {"top edge", 10, 0, 1}, {"top edge near the corner", 16, 2, 1},
        {"top-right", 19, 0, 2}, {"top-right inner", 17, 2, 2}, {"left edge", 0, 7, 3},
        {"right edge", 19, 7, 5}, {"bottom-left", 0, 13, 6}, {"bottom edge", 10, 13, 7},
        {"bottom-right", 19, 13, 8}, {"centre", 10, 7, 4},
    };
    for (int fill = 0; fill < 2; fill++) {
        Canvas canvas(24, 18, kWhite);
        EXPECT_TRUE(pic.DrawNineGrid(CDC::FromHandle(canvas.dc()), CRect(0, 0, 20, 14), 0, fill));
        for (const Probe& p : probes) {
            const COLORREF expected = (p.cell == 4 && !fill) ? kWhite : colours[p.cell];
            EXPECT_EQ(canvas.At(p.x, p.y), expected) << p.what << " fill " << fill;
        }
        EXPECT_EQ(canvas.At(20, 0), kWhite) << "nothing right of the rectangle";
        EXPECT_EQ(canvas.At(0, 14), kWhite) << "nothing below the rectangle";
    }
    // Inflated by 2: the corners move out.
    Canvas canvas(24, 18, kWhite);
    pic.DrawNineGrid(CDC::FromHandle(canvas.dc()), CRect(2, 2, 18, 12), 2, TRUE);
    EXPECT_EQ(canvas.At(0, 0), colours[0]);
    EXPECT_EQ(canvas.At(19, 13), colours[8]);
}

TEST(KitBitmap, PicturesUnderThreePixelsNeitherHangNorDraw)
{
    const int sizes[][2] = {{2, 9}, {9, 2}, {1, 1}};
    for (const auto& s : sizes) {
        CQVBitmap pic;
        MakePicture(pic, s[0], s[1], [](int, int) { return kRed; });
        Canvas canvas(20, 20, kWhite);
        EXPECT_FALSE(pic.DrawNineGrid(CDC::FromHandle(canvas.dc()), CRect(0, 0, 20, 20), 0, TRUE));
        EXPECT_EQ(canvas.At(0, 0), kWhite);
        EXPECT_EQ(canvas.At(10, 10), kWhite);
        // A zero-sized tile would never advance: nothing is drawn.
        const SIZE zero = {0, 0};
        EXPECT_TRUE(pic.DrawImage(CDC::FromHandle(canvas.dc()), 0, 0, 20, 20, CQVBitmap::kTile, NULL, NULL, &zero));
        EXPECT_EQ(canvas.At(0, 0), kWhite);
    }
}

int EightBits() { return 8; }

TEST(KitBitmap, PalettesOnlyOnPaletteScreens)
{
    std::vector<uint8_t> info(sizeof(BITMAPINFOHEADER) + 256 * 4, 0);
    BITMAPINFOHEADER* h = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    h->biSize = sizeof *h;
    h->biWidth = 4;
    h->biHeight = 1;
    h->biPlanes = 1;
    struct Case { const char* what; int bits; DWORD used; bool paletteScreen; int colours; };
    const Case cases[] = {
        {"8-bit, count 0: the whole table", 8, 0, true, 256},
        {"4-bit, count 0", 4, 0, true, 16},
        {"8-bit, count 20", 8, 20, true, 20},
        {"4-bit, count 200 capped at the depth", 4, 200, true, 16},
        {"24-bit: no palette", 24, 0, true, 0},
        {"true-colour screen: no palette", 8, 0, false, 0},
    };
    for (const Case& c : cases) {
        h->biBitCount = (WORD)c.bits;
        h->biClrUsed = c.used;
        CQVBitmap::ScreenBitsRoutine old = CQVBitmap::SetScreenBitsRoutine(c.paletteScreen ? EightBits : NULL);
        CQVBitmap b;
        EXPECT_EQ(b.CreatePaletteFromDIB(reinterpret_cast<BITMAPINFO*>(info.data())) != FALSE, c.colours > 0)
            << c.what;
        EXPECT_EQ(b.GetPaletteColors(), c.colours) << c.what;
        CQVBitmap::SetScreenBitsRoutine(old);
    }
}

TEST(KitBitmap, LoadingAndDrawingLeakNoGdiObjects)
{
    const std::string path = TempFile("leak.bmp");
    ASSERT_TRUE(WriteBytes(path, Solid(30, 30, kBlue)));
    Canvas canvas(40, 40, kWhite);
    const int before = CountGdiObjects();
    ASSERT_GT(before, 0) << "the counter sees the canvas at least";
    for (int i = 0; i < 50; i++) {
        CQVBitmap b;
        ASSERT_TRUE(b.LoadFromFile(path.c_str()));
        b.DrawNineGrid(CDC::FromHandle(canvas.dc()), CRect(0, 0, 40, 40), 0, TRUE);
        b.DrawImage(CDC::FromHandle(canvas.dc()), 0, 0, 0, 0, CQVBitmap::kMasked);
    }
    AfxDeleteTempMaps();
    EXPECT_EQ(CountGdiObjects(), before);
    DeleteFileA(path.c_str());
}

}  // namespace
