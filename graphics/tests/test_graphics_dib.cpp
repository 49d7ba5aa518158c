// Bitmap routines through GDI: packed DIBs, .bmp files written and read back,
// bitmap copies, plain, masked and by-mode drawing, and the clipboard.
#include <gtest/gtest.h>

#include <afxwin.h>

#include "DibFunctions.h"
#include "GdiTestSupport.h"
#include "QVMemBitmap.h"

#include <string.h>

#include <vector>

using gfxtest::Canvas;
using gfxtest::ReadFileBytes;
using gfxtest::TempFolder;

namespace {

// A 24-bit DIB section whose pixel (x, y) is RGB(8x + 3, 8y + 5, 77):
// each pixel tells where it came from.
COLORREF Coded(int x, int y) { return RGB(8 * x + 3, 8 * y + 5, 77); }

HBITMAP CodedBitmap(int width, int height, int bits = 24)
{
    void* p = NULL;
    HBITMAP b = CQVMemBitmap::CreateDIBSectionEx(width, height, bits, &p);
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, b);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(dc, x, y, Coded(x, y));
    SelectObject(dc, old);
    DeleteDC(dc);
    return b;
}

COLORREF PixelOf(HBITMAP b, int x, int y)
{
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, b);
    const COLORREF c = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return c;
}

// The packed DIB's bytes.
std::vector<unsigned char> BytesOf(HGLOBAL dib)
{
    const SIZE_T size = GlobalSize(dib);
    const unsigned char* p = static_cast<const unsigned char*>(GlobalLock(dib));
    std::vector<unsigned char> v(p, p + size);
    GlobalUnlock(dib);
    return v;
}

}  // namespace

// ---- Packed DIBs and files --------------------------------------------------------------

TEST(PackedDib, TwentyFourBitsHaveNoColourTableAndRowsBottomUp)
{
    HBITMAP b = CodedBitmap(5, 3);
    HGLOBAL dib = BitmapToGlobalDib(b, BI_RGB, NULL);
    ASSERT_TRUE(dib != NULL);
    const std::vector<unsigned char> bytes = BytesOf(dib);
    ASSERT_EQ(40u + 16 * 3, bytes.size());
    BITMAPINFOHEADER h;
    memcpy(&h, bytes.data(), sizeof h);
    EXPECT_EQ(40u, h.biSize);
    EXPECT_EQ(5, h.biWidth);
    EXPECT_EQ(3, h.biHeight);
    EXPECT_EQ(24, h.biBitCount);
    EXPECT_EQ(DWORD(BI_RGB), h.biCompression);
    // The first row of bits is the picture's bottom row; bytes are B, G, R.
    const unsigned char* bits = bytes.data() + 40;
    EXPECT_EQ(GetBValue(Coded(1, 2)), bits[3]);
    EXPECT_EQ(GetGValue(Coded(1, 2)), bits[4]);
    EXPECT_EQ(GetRValue(Coded(1, 2)), bits[5]);
    FreeGlobal(dib);
    DeleteObject(b);
}

TEST(PackedDib, EightBitsCarryTheirColours)
{
    HBITMAP b = CQVMemBitmap::CreateDIBSectionEx(6, 2, 8, NULL);
    HGLOBAL dib = BitmapToGlobalDib(b);
    ASSERT_TRUE(dib != NULL);
    EXPECT_EQ(40u + 256 * 4 + 8 * 2, GlobalSize(dib));
    FreeGlobal(dib);
    DeleteObject(b);
}

TEST(PackedDib, RefusedInputs)
{
    EXPECT_TRUE(BitmapToGlobalDib(NULL) == NULL);
    HBITMAP b = CodedBitmap(2, 2);
    EXPECT_TRUE(BitmapToGlobalDib(b, BI_BITFIELDS, NULL) == NULL);
    DeleteObject(b);
    FreeGlobal(NULL);  // nothing happens
    int w = -1, h = -1;
    EXPECT_FALSE(GetBitmapDimensions(NULL, &w, &h));
    HBITMAP c = CodedBitmap(7, 4);
    EXPECT_TRUE(GetBitmapDimensions(c, &w, &h));
    EXPECT_EQ(7, w);
    EXPECT_EQ(4, h);
    DeleteObject(c);
}

TEST(BmpFile, WrittenAndReadBackByteForByte)
{
    TempFolder folder;
    const struct
    {
        int bits;
        DWORD offBits;
    } cases[] = {{24, 54}, {8, 54 + 1024}, {4, 54 + 64}, {1, 54 + 8}, {32, 54}};
    for (const auto& c : cases) {
        HBITMAP b = CodedBitmap(9, 5, c.bits);
        HGLOBAL dib = BitmapToGlobalDib(b);
        ASSERT_TRUE(dib != NULL) << c.bits;
        const std::string path = folder.File("picture.bmp");
        ASSERT_TRUE(WriteDibFile(path.c_str(), dib)) << c.bits;
        const std::vector<unsigned char> file = ReadFileBytes(path);
        const std::vector<unsigned char> packed = BytesOf(dib);
        ASSERT_EQ(packed.size() + 14, file.size()) << c.bits;
        EXPECT_EQ('B', file[0]);
        EXPECT_EQ('M', file[1]);
        DWORD size, offBits;
        memcpy(&size, &file[2], 4);
        memcpy(&offBits, &file[10], 4);
        EXPECT_EQ(file.size(), size);
        EXPECT_EQ(c.offBits, offBits) << c.bits;
        EXPECT_EQ(0, file[6] | file[7] | file[8] | file[9]);
        EXPECT_TRUE(std::equal(packed.begin(), packed.end(), file.begin() + 14)) << c.bits;
        // No temporary file stays behind.
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((path + ".tmp").c_str()));

        // Read back: the same picture.
        HBITMAP back = LoadBmpFile(NULL, path.c_str());
        ASSERT_TRUE(back != NULL) << c.bits;
        CQVMemBitmap a, z;
        ASSERT_TRUE(a.LoadFromBitmap(b));
        ASSERT_TRUE(z.LoadFromBmpFile(NULL, path.c_str()));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 9; ++x) {
                ASSERT_EQ(a.GetPixel16(x, y), z.GetPixel16(x, y)) << c.bits << " at " << x << "," << y;
                ASSERT_EQ(PixelOf(b, x, y), PixelOf(back, x, y)) << c.bits << " at " << x << "," << y;
            }
        DeleteObject(back);
        FreeGlobal(dib);
        DeleteObject(b);
    }
}

TEST(BmpFile, LongPathsAreWritten)
{
    // Longer than the 128 characters some old file calls take.
    TempFolder folder;
    const std::string path = folder.File((std::string(150, 'p') + ".bmp").c_str());
    ASSERT_GT(path.size(), 128u);
    HBITMAP b = CodedBitmap(3, 3);
    HGLOBAL dib = BitmapToGlobalDib(b);
    EXPECT_TRUE(WriteDibFile(path.c_str(), dib));
    EXPECT_EQ(GlobalSize(dib) + 14, ReadFileBytes(path).size());
    FreeGlobal(dib);
    DeleteObject(b);
}

TEST(BmpFile, WriteFailuresAreReported)
{
    TempFolder folder;
    HBITMAP b = CodedBitmap(3, 3);
    HGLOBAL dib = BitmapToGlobalDib(b);
    ASSERT_TRUE(dib != NULL);
    EXPECT_FALSE(WriteDibFile(folder.File("missing\\picture.bmp").c_str(), dib));
    EXPECT_FALSE(WriteDibFile(folder.Path().c_str(), dib));  // a folder
    EXPECT_FALSE(WriteDibFile(folder.File("x.bmp").c_str(), NULL));
    EXPECT_FALSE(WriteDibFile(NULL, dib));

    // A block whose header claims more pixels than it holds is refused and
    // leaves an older file as it was.
    const std::string path = folder.File("kept.bmp");
    ASSERT_TRUE(gfxtest::WriteFileBytes(path, {1, 2, 3}));
    HGLOBAL bad = GlobalAlloc(GMEM_FIXED, 40 + 10);
    BITMAPINFOHEADER h = {};
    h.biSize = 40;
    h.biWidth = 100;
    h.biHeight = 100;
    h.biPlanes = 1;
    h.biBitCount = 24;
    memcpy(bad, &h, sizeof h);
    EXPECT_FALSE(WriteDibFile(path.c_str(), bad));
    h.biSize = 7;
    memcpy(bad, &h, sizeof h);
    EXPECT_FALSE(WriteDibFile(path.c_str(), bad));
    EXPECT_EQ((std::vector<unsigned char>{1, 2, 3}), ReadFileBytes(path));
    GlobalFree(bad);
    FreeGlobal(dib);
    DeleteObject(b);
}

TEST(BmpFile, WriteHugeWritesAll)
{
    TempFolder folder;
    const std::string path = folder.File("huge.bin");
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    std::vector<unsigned char> data(70000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<unsigned char>(i * 7);
    EXPECT_EQ(70000u, WriteHuge(f, data.data(), 70000));
    CloseHandle(f);
    EXPECT_EQ(data, ReadFileBytes(path));
    EXPECT_EQ(0u, WriteHuge(INVALID_HANDLE_VALUE, data.data(), 10));
    // A handle opened for reading only writes nothing.
    f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    EXPECT_EQ(0u, WriteHuge(f, data.data(), 70000));
    CloseHandle(f);
}

TEST(BmpFile, MalformedFilesAreNotLoaded)
{
    TempFolder folder;
    HBITMAP b = CodedBitmap(4, 4);
    HGLOBAL dib = BitmapToGlobalDib(b);
    const std::string good = folder.File("good.bmp");
    ASSERT_TRUE(WriteDibFile(good.c_str(), dib));
    const std::vector<unsigned char> bytes = ReadFileBytes(good);

    struct Case
    {
        const char* name;
        size_t offset;
        std::vector<unsigned char> patch;
        size_t cutTo;  // 0: keep the length
    } cases[] = {
        {"truncated pixels", 0, {}, 14 + 40 + 20},
        {"header only", 0, {}, 20},
        {"empty", 0, {}, 1},
        {"height huge", 22, {0x00, 0x00, 0x00, 0x40}, 0},
        {"width negative", 18, {0xFF, 0xFF, 0xFF, 0xFF}, 0},
        {"offset past the end", 10, {0x00, 0x10, 0x00, 0x00}, 0},
        {"bad depth", 28, {0x11}, 0},
        {"not a bmp", 0, {'G', 'I', 'F'}, 0},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> f = bytes;
        for (size_t i = 0; i < c.patch.size(); ++i)
            f[c.offset + i] = c.patch[i];
        if (c.cutTo)
            f.resize(c.cutTo);
        const std::string path = folder.File("bad.bmp");
        ASSERT_TRUE(gfxtest::WriteFileBytes(path, f));
        EXPECT_TRUE(LoadBmpFile(NULL, path.c_str()) == NULL) << c.name;
        CQVMemBitmap s;
        EXPECT_FALSE(s.LoadFromBmpFile(NULL, path.c_str())) << c.name;
    }
    EXPECT_TRUE(LoadBmpFile(NULL, folder.File("none.bmp").c_str()) == NULL);
    FreeGlobal(dib);
    DeleteObject(b);
}

// ---- Bitmap copies and drawing ----------------------------------------------------------

TEST(BitmapCopy, PlainAndStretched)
{
    HBITMAP src = CodedBitmap(4, 4);
    HBITMAP dst = gfxtest::SolidDib(8, 8, 24, RGB(0, 0, 0));
    EXPECT_TRUE(CopyBitmap(dst, src, NULL, NULL, NULL));  // whole onto whole: stretched twice
    EXPECT_EQ(Coded(1, 2), PixelOf(dst, 3, 5));
    const RECT from = {1, 1, 3, 3}, to = {0, 0, 2, 2};
    EXPECT_TRUE(CopyBitmap(dst, src, NULL, &from, &to));
    EXPECT_EQ(Coded(1, 1), PixelOf(dst, 0, 0));
    EXPECT_EQ(Coded(2, 2), PixelOf(dst, 1, 1));
    EXPECT_FALSE(CopyBitmap(NULL, src, NULL, NULL, NULL));
    EXPECT_FALSE(CopyBitmap(dst, NULL, NULL, NULL, NULL));
    DeleteObject(src);
    DeleteObject(dst);
}

TEST(BitmapDraw, AtAPointAndIntoARectangle)
{
    HBITMAP b = CodedBitmap(3, 2);
    Canvas canvas(8, 8, RGB(1, 1, 1));
    EXPECT_TRUE(DrawBitmap(canvas.dc(), b, 2, 3));
    EXPECT_EQ(Coded(0, 0), canvas.At(2, 3));
    EXPECT_EQ(Coded(2, 1), canvas.At(4, 4));
    EXPECT_EQ(RGB(1, 1, 1), canvas.At(5, 3));
    EXPECT_EQ(COLORONCOLOR, GetStretchBltMode(canvas.dc()));
    EXPECT_TRUE(DrawBitmapToRect(canvas.dc(), b, 0, 0, 6, 4));
    EXPECT_EQ(Coded(2, 1), canvas.At(5, 3));
    EXPECT_EQ(Coded(1, 0), canvas.At(2, 1));
    EXPECT_FALSE(DrawBitmap(canvas.dc(), NULL, 0, 0));
    EXPECT_FALSE(DrawBitmapToRect(canvas.dc(), NULL, 0, 0, 1, 1));
    DeleteObject(b);
}

TEST(BitmapDraw, MaskedTransparentDisabledAndRefused)
{
    const COLORREF key = RGB(255, 0, 255);
    HBITMAP b = CodedBitmap(4, 3);
    {
        HDC dc = CreateCompatibleDC(NULL);
        HGDIOBJ old = SelectObject(dc, b);
        SetPixel(dc, 1, 1, key);
        SetPixel(dc, 3, 0, key);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    const COLORREF ground = RGB(0x35, 0x6A, 0xC3);
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    auto bitmapAt = [&](int x, int y) { return (x == 1 && y == 1) || (x == 3 && y == 0) ? key : Coded(x, y); };
    for (int mode : {1, 2}) {
        for (BOOL greyed : {FALSE, TRUE}) {
            Canvas canvas(6, 5, ground);
            SetBkColor(canvas.dc(), RGB(9, 9, 9));
            EXPECT_TRUE(DrawBitmapMasked(b, key, mode, canvas.dc(), 1, 1, 0, 7, greyed));
            EXPECT_EQ(RGB(9, 9, 9), GetBkColor(canvas.dc()));
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 6; ++x) {
                    const int bx = x - 1, by = y - 1;
                    COLORREF want = ground;
                    if (bx >= 0 && bx < 4 && by >= 0 && by < 3 && bitmapAt(bx, by) != key) {
                        const COLORREF image = bitmapAt(bx, by);
                        if (mode == 1)
                            want = ((greyed ? grey : 0) & ground) | image;
                        else
                            want = ground ^ image;
                    }
                    ASSERT_EQ(want, canvas.At(x, y)) << mode << "/" << greyed << " at " << x << "," << y;
                }
        }
    }
    // Stretched to twice the size.
    Canvas canvas(10, 8, ground);
    EXPECT_TRUE(DrawBitmapMasked(b, key, 1, canvas.dc(), 0, 0, -8, 6));
    EXPECT_EQ(Coded(2, 2), canvas.At(5, 5));
    EXPECT_EQ(ground, canvas.At(2, 2));  // the key at (1, 1)
    // Other modes draw nothing.
    Canvas untouched(6, 5, ground);
    EXPECT_FALSE(DrawBitmapMasked(b, key, 3, untouched.dc(), 0, 0));
    EXPECT_FALSE(DrawBitmapMasked(NULL, key, 1, untouched.dc(), 0, 0));
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(ground, untouched.At(x, y));
    DeleteObject(b);
}

TEST(BitmapDraw, OverGrey)
{
    Canvas target(4, 2, RGB(0xFF, 0x80, 0x01)), source(4, 2, RGB(0x01, 0x02, 0x80));
    CDC* t = CDC::FromHandle(target.dc());
    CDC* s = CDC::FromHandle(source.dc());
    DrawOverGrey(t, 1, 0, 2, 2, s);
    EXPECT_EQ(RGB(0x7F | 0x01, 0x00 | 0x02, 0x01 | 0x80), target.At(1, 0));
    EXPECT_EQ(RGB(0xFF, 0x80, 0x01), target.At(0, 0));
    EXPECT_EQ(RGB(0xFF, 0x80, 0x01), target.At(3, 1));
    DrawOverGrey(NULL, 0, 0, 1, 1, s);  // nothing happens
}

TEST(BitmapDraw, ByModeCopiesThePiecesOfTheLayout)
{
    // A 30 x 30 source in a rectangle at (2, 1) of a 80 x 60 canvas.
    HBITMAP b = CodedBitmap(30, 30);
    const RECT whole = {0, 0, 30, 30};
    const struct
    {
        int mode;
        RECT dst;
        const RECT* src;
        // Source pixel expected at a destination pixel (relative to dst).
        POINT (*from)(int x, int y, int w, int h);
    } cases[] = {
        {1, {2, 1, 22, 21}, NULL, [](int x, int y, int, int) { return POINT{x, y}; }},
        {3, {2, 1, 72, 51}, NULL, [](int x, int y, int, int) { return POINT{x % 30, y % 30}; }},
        {4, {2, 1, 27, 31}, NULL,  // 25 wide: 0-9, 10-14, 20-29
         [](int x, int y, int, int) { return POINT{x < 15 ? x : x + 5, y}; }},
        {4, {2, 1, 17, 31}, &whole,  // 15 wide: 0-9, 25-29
         [](int x, int y, int, int) { return POINT{x < 10 ? x : x + 15, y}; }},
        {5, {2, 1, 32, 46}, NULL,  // 45 high: rows 0-9, 10-19 three times, 20-24
         [](int x, int y, int, int) { return POINT{x, y < 10 ? y : y < 40 ? 10 + y % 10 : 20 + (y - 40)}; }},
        {7, {2, 1, 62, 31}, NULL, [](int x, int y, int, int) { return POINT{x / 2, y}; }},
    };
    for (const auto& c : cases) {
        Canvas canvas(80, 60, RGB(1, 1, 1));
        CDC* dc = CDC::FromHandle(canvas.dc());
        DrawBitmapByMode(dc, &c.dst, b, c.mode, c.src);
        const int w = c.dst.right - c.dst.left, h = c.dst.bottom - c.dst.top;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x) {
                const int dx = x - c.dst.left, dy = y - c.dst.top;
                COLORREF want = RGB(1, 1, 1);
                if (dx >= 0 && dy >= 0 && dx < w && dy < h) {
                    const POINT s = c.from(dx, dy, w, h);
                    want = Coded(s.x, s.y);
                }
                ASSERT_EQ(want, canvas.At(x, y)) << "mode " << c.mode << " at " << dx << "," << dy;
            }
    }
    // A source part under three pixels high or wide draws nothing in mode 5
    // and ends.
    Canvas canvas(40, 40, RGB(1, 1, 1));
    const RECT tiny = {0, 0, 2, 2}, to = {0, 0, 40, 40};
    DrawBitmapByMode(CDC::FromHandle(canvas.dc()), &to, b, 5, &tiny);
    EXPECT_EQ(RGB(1, 1, 1), canvas.At(0, 0));
    DrawBitmapByMode(NULL, &to, b, 3, NULL);
    DrawBitmapByMode(CDC::FromHandle(canvas.dc()), &to, NULL, 3, NULL);
    DeleteObject(b);
}

// ---- Clipboard (needs the test's display) ---------------------------------------------------

TEST(Clipboard, BitmapRoundTrip)
{
    HBITMAP b = CodedBitmap(6, 4);
    ASSERT_TRUE(PutDibOnClipboard(b));
    // The caller's bitmap stays the caller's.
    EXPECT_EQ(Coded(5, 3), PixelOf(b, 5, 3));
    DeleteObject(b);
    HBITMAP got = GetClipboardBitmap();
    ASSERT_TRUE(got != NULL);
    BITMAP bm;
    ASSERT_TRUE(GetObject(got, sizeof bm, &bm));
    EXPECT_EQ(6, bm.bmWidth);
    EXPECT_EQ(4, bm.bmHeight);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            ASSERT_EQ(Coded(x, y), PixelOf(got, x, y)) << x << "," << y;
    EXPECT_FALSE(PutDibOnClipboard(NULL));
}
