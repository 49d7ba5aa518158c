// Bitmaps, blits, GDI+ images and BMP files, pixel-exact on memory DCs.
//
// Chinese literals are UTF-8 here and GBK at run time.
#include "Bitmaps.h"
#include "Conversions.h"
#include "DibBlits.h"
#include "GdiTestSupport.h"
#include "RuntimeTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

// The 2 x 2 24-bit BMP of the test resources: red, green / blue, white.
const unsigned char kTestBmp[70] = {
    0x42, 0x4D, 0x46, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
    0x00, 0x00, 0x13, 0x0B, 0x00, 0x00, 0x13, 0x0B, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0xFF, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0x00, 0x00};

std::string TestBmpBytes()
{
    return std::string(reinterpret_cast<const char*>(kTestBmp), sizeof(kTestBmp));
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y)
{
    HDC dc = CreateCompatibleDC(NULL);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    return colour;
}

// A 4 x 2 source: key pixels at (0, 0) and (3, 1).
void PaintKeyedSource(Canvas& source)
{
    source.Fill(kRed);
    source.Set(1, 0, kGreen);
    source.Set(0, 0, kMagenta);
    source.Set(3, 1, kMagenta);
}

void ExpectKeyedResult(const Canvas& target, const Canvas& source, int atX, int atY)
{
    for (int y = 0; y < target.Height(); ++y) {
        for (int x = 0; x < target.Width(); ++x) {
            COLORREF expected = kBlue;
            if (x >= atX && x < atX + source.Width() && y >= atY && y < atY + source.Height()) {
                const COLORREF s = source.Get(x - atX, y - atY);
                expected = s == kMagenta ? kBlue : s;
            }
            EXPECT_EQ(target.Get(x, y), expected) << x << "," << y;
        }
    }
}

// ---- Blits ------------------------------------------------------------------------------------

TEST(TransparentBlit, PlainCopyLeavesOutTheKey)
{
    Canvas source(4, 2);
    PaintKeyedSource(source);
    for (COLORREF key : {kMagenta, COLORREF(0)}) {   // 0: the source's top-left pixel
        Canvas target(6, 4);
        target.Fill(kBlue);
        ASSERT_TRUE(TransparentBlit(target.Dc(), 1, 1, 4, 2, source.Dc(), 0, 0, 4, 2, key));
        ExpectKeyedResult(target, source, 1, 1);
        EXPECT_EQ(GetBkColor(target.Dc()), kWhite);      // the target's colours are put back
        EXPECT_EQ(GetTextColor(target.Dc()), kBlack);
    }
}

TEST(TransparentBlit, StretchedWhenTheSizesDiffer)
{
    Canvas source(2, 2);
    source.Set(0, 0, kMagenta);
    source.Set(1, 0, kRed);
    source.Set(0, 1, kGreen);
    source.Set(1, 1, kMagenta);
    Canvas target(4, 4);
    target.Fill(kBlue);
    ASSERT_TRUE(TransparentBlit(target.Dc(), 0, 0, 4, 4, source.Dc(), 0, 0, 2, 2, kMagenta));
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            const COLORREF expected = (x < 2) == (y < 2) ? kBlue : (x >= 2 ? kRed : kGreen);
            EXPECT_EQ(target.Get(x, y), expected) << x << "," << y;
        }
    }
}

TEST(AlphaMaskBlit, OpacityFromTheMasksBlueByte)
{
    Canvas image(3, 1);
    image.Fill(RGB(200, 100, 50));
    Canvas mask(3, 1);
    mask.Set(0, 0, RGB(9, 9, 0));      // only the blue byte counts
    mask.Set(1, 0, RGB(0, 0, 128));
    mask.Set(2, 0, RGB(0, 0, 255));
    Canvas target(5, 1);
    target.Fill(RGB(100, 100, 100));
    const HBITMAP imageBitmap = image.Release();
    const HBITMAP maskBitmap = mask.Release();
    ASSERT_TRUE(AlphaMaskBlit(target.Dc(), 1, 0, 3, 1, imageBitmap, 0, 0, maskBitmap, 0, 0));
    // (image x a + target x (255 - a)) >> 8 per channel.
    EXPECT_EQ(target.Get(0, 0), RGB(100, 100, 100));
    EXPECT_EQ(target.Get(1, 0), RGB(99, 99, 99));
    EXPECT_EQ(target.Get(2, 0), RGB(149, 99, 74));
    EXPECT_EQ(target.Get(3, 0), RGB(199, 99, 49));
    EXPECT_EQ(target.Get(4, 0), RGB(100, 100, 100));
    image.Restore();
    // A bitmap still selected into a DC can't be read.
    EXPECT_FALSE(AlphaMaskBlit(target.Dc(), 0, 0, 3, 1, imageBitmap, 0, 0, maskBitmap, 0, 0));
    mask.Restore();
}

TEST(BlitBitmap, RasterOperation)
{
    Canvas source(2, 1);
    source.Set(0, 0, kRed);
    source.Set(1, 0, kWhite);
    const HBITMAP bitmap = source.Release();
    Canvas target(2, 1);
    ASSERT_TRUE(BlitBitmap(target.Dc(), 0, 0, 2, 1, bitmap, 0, 0, SRCCOPY));
    EXPECT_EQ(target.Get(0, 0), kRed);
    ASSERT_TRUE(BlitBitmap(target.Dc(), 0, 0, 2, 1, bitmap, 0, 0, NOTSRCCOPY));
    EXPECT_EQ(target.Get(0, 0), RGB(0, 255, 255));
    EXPECT_EQ(target.Get(1, 0), kBlack);
    source.Restore();
    EXPECT_FALSE(BlitBitmap(target.Dc(), 0, 0, 2, 1, NULL, 0, 0, SRCCOPY));
}

TEST(AlphaBlendBlit, ByteRuleAndKey)
{
    Canvas source(2, 1);
    source.Fill(RGB(200, 0, 10));
    const COLORREF key = RGB(255, 0, 128);   // red and blue differ: the pixel order matters
    source.Set(1, 0, key);
    Canvas target(2, 1);
    target.Fill(RGB(0, 255, 10));
    ASSERT_TRUE(AlphaBlendBlit(target.Dc(), 0, 0, 1, 1, source.Dc(), 0, 0, 64));
    EXPECT_EQ(target.Get(0, 0), RGB(50, 191, 10));   // (s x 64 + d x 192) >> 8

    target.Fill(RGB(0, 255, 10));
    const RECT rect = {0, 0, 2, 1};
    ASSERT_TRUE(AlphaBlendBlit(target.Dc(), rect, source.Dc(), POINT{0, 0}, 256));
    EXPECT_EQ(target.Get(0, 0), RGB(200, 0, 10));
    EXPECT_EQ(target.Get(1, 0), key);

    target.Fill(RGB(0, 255, 10));
    ASSERT_TRUE(AlphaBlendBlitKeyed(target.Dc(), 0, 0, 2, 1, source.Dc(), 0, 0, 256, key));
    EXPECT_EQ(target.Get(0, 0), RGB(200, 0, 10));
    EXPECT_EQ(target.Get(1, 0), RGB(0, 255, 10));   // the key pixel is left out
    ASSERT_TRUE(AlphaBlendBlit(target.Dc(), 0, 0, 2, 1, source.Dc(), 0, 0, 0));
    EXPECT_EQ(target.Get(0, 0), RGB(200, 0, 10));   // alpha 0 keeps the target
}

TEST(TransparentBitmaps, XorFamilyDisabledAndMasked)
{
    Canvas source(4, 2);
    PaintKeyedSource(source);
    {
        Canvas target(6, 4);
        target.Fill(kBlue);
        ASSERT_TRUE(DrawTransparentFromDC(target.Dc(), 1, 1, 4, 2, source.Dc(), 0, 0, 4, 2, kMagenta));
        ExpectKeyedResult(target, source, 1, 1);
    }
    const HBITMAP bitmap = source.Release();
    const struct {
        const char* name;
        std::function<BOOL(HDC)> draw;
    } draws[] = {
        {"bitmap", [&](HDC dc) { return DrawTransparentBitmap(dc, 1, 1, 4, 2, bitmap, 0, 0, 4, 2, kMagenta); }},
        {"key at pixel", [&](HDC dc) { return DrawTransparentBitmapKeyAt(dc, 1, 1, 4, 2, bitmap, 0, 0, 4, 2, 3, 1); }},
        {"masked 1", [&](HDC dc) { return DrawMaskedBitmap(dc, 1, 1, 4, 2, bitmap, 0, 0, 4, 2, kMagenta, 1); }},
        {"masked 2", [&](HDC dc) { return DrawMaskedBitmap(dc, 1, 1, 4, 2, bitmap, 0, 0, 4, 2, kMagenta, 2); }},
    };
    for (const auto& d : draws) {
        SCOPED_TRACE(d.name);
        Canvas target(6, 4);
        target.Fill(kBlue);
        ASSERT_TRUE(d.draw(target.Dc()));
        source.Restore();
        ExpectKeyedResult(target, source, 1, 1);
        source.Release();
    }
    Canvas target(8, 4);
    target.Fill(kBlue);
    EXPECT_FALSE(DrawMaskedBitmap(target.Dc(), 0, 0, 4, 2, bitmap, 0, 0, 4, 2, kMagenta, 3));
    // Stretched to twice the size.
    ASSERT_TRUE(DrawTransparentBitmap(target.Dc(), 0, 0, 8, 4, bitmap, 0, 0, 4, 2, kMagenta));
    source.Restore();
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 8; ++x) {
            const COLORREF s = source.Get(x / 2, y / 2);
            EXPECT_EQ(target.Get(x, y), s == kMagenta ? kBlue : s) << x << "," << y;
        }
    }
}

TEST(TransparentBitmaps, DisabledDrawingIsGrey)
{
    Canvas picture(3, 1);
    picture.Fill(kWhite);
    picture.Set(1, 0, kBlack);
    const HBITMAP bitmap = picture.Release();
    Canvas target(4, 1);
    target.Fill(kRed);
    ASSERT_TRUE(DrawDisabledBitmap(target.Dc(), 1, 0, bitmap));
    EXPECT_EQ(target.Get(0, 0), kRed);
    EXPECT_EQ(target.Get(1, 0), kRed);
    EXPECT_EQ(target.Get(2, 0), RGB(0x7F, 0x7F, 0x7F));
    EXPECT_EQ(target.Get(3, 0), kRed);
    picture.Restore();
}

TEST(DibFunctions, CopyBitmapRectAndImageLists)
{
    Canvas source(4, 4);
    source.Fill(kGreen);
    Canvas target(8, 8);
    target.Fill(kBlue);
    const HBITMAP from = source.Release();
    const HBITMAP to = target.Release();
    EXPECT_TRUE(CopyBitmapRect(to, RECT{1, 1, 3, 3}, from, RECT{0, 0, 2, 2}));
    EXPECT_TRUE(CopyBitmapRect(to, RECT{4, 4, 8, 8}, from, RECT{0, 0, 2, 2}));   // stretched, halftone
    target.Restore();
    EXPECT_EQ(target.Get(0, 0), kBlue);
    EXPECT_EQ(target.Get(1, 1), kGreen);
    EXPECT_EQ(target.Get(2, 2), kGreen);
    EXPECT_EQ(target.Get(3, 3), kBlue);
    EXPECT_EQ(target.Get(5, 5), kGreen);
    EXPECT_EQ(target.Get(7, 7), kGreen);
    source.Restore();

    Canvas strip(12, 4);
    strip.Fill(kRed);
    strip.Set(0, 0, kMagenta);
    const HBITMAP stripBitmap = strip.Release();
    HIMAGELIST list = BitmapToImageList(stripBitmap, 4, kMagenta);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list), 3);
    int width = 0;
    int height = 0;
    ImageList_GetIconSize(list, &width, &height);
    EXPECT_EQ(width, 4);
    EXPECT_EQ(height, 4);
    ImageList_Destroy(list);
    strip.Restore();
    EXPECT_EQ(strip.Get(0, 0), kMagenta);   // the caller's bitmap is untouched
    EXPECT_EQ(BitmapToImageList(NULL, 4, kMagenta), nullptr);
}

TEST(DibFunctions, SectionsOfEachDepth)
{
    const struct {
        int bits;
        bool made;
    } cases[] = {{1, true}, {4, true}, {8, true}, {16, true}, {24, true}, {32, true}, {0, false}, {33, false}, {-1, false}};
    for (const auto& c : cases) {
        void* bits = reinterpret_cast<void*>(1);
        HBITMAP bitmap = CreateDIBSectionOfDepth(5, -3, c.bits, &bits);
        EXPECT_EQ(bitmap != NULL, c.made) << c.bits;
        if (!bitmap) {
            EXPECT_EQ(bits, nullptr);
            continue;
        }
        DIBSECTION section = {};
        GetObject(bitmap, sizeof(section), &section);
        EXPECT_EQ(section.dsBm.bmWidthBytes, ((5 * c.bits + 31) / 32) * 4) << c.bits;
        const BYTE* bytes = static_cast<const BYTE*>(bits);
        for (int i = 0; i < section.dsBm.bmWidthBytes * 3; ++i)
            ASSERT_EQ(bytes[i], 0) << c.bits;
        DeleteObject(bitmap);
    }

    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    const struct {
        WORD bits;
        DWORD used;
        int count;
    } counts[] = {{1, 0, 2}, {4, 3, 16}, {8, 0, 256}, {24, 0, 0}, {24, 7, 7}, {32, 0, 0}};
    for (const auto& c : counts) {
        header.biBitCount = c.bits;
        header.biClrUsed = c.used;
        EXPECT_EQ(GetDibColorCount(&header), c.count) << c.bits;
    }
    EXPECT_EQ(GetDibColorEntrySize(&header), 4);
    BITMAPCOREHEADER core = {sizeof(BITMAPCOREHEADER), 2, 2, 1, 8};
    EXPECT_EQ(GetDibColorEntrySize(reinterpret_cast<BITMAPINFOHEADER*>(&core)), 3);
    EXPECT_EQ(GetDibColorCount(reinterpret_cast<BITMAPINFOHEADER*>(&core)), 256);
    EXPECT_EQ(GetBitmapSize(NULL).cx, 0);
    EXPECT_EQ(GetBitmapWidth(NULL), 0);
    EXPECT_EQ(GetBitmapHeight(NULL), 0);
}

// ---- BMP files ------------------------------------------------------------------------------

TEST(BmpFiles, WrittenAndReadBackByteForByte)
{
    TempFolder folder;
    Canvas picture(5, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            picture.Set(x, y, RGB(x * 50, y * 80, 255 - x * 40));
    const HBITMAP bitmap = picture.Release();

    HGLOBAL dib = BitmapToGlobalDib(bitmap, static_cast<HPALETTE>(NULL));
    ASSERT_NE(dib, nullptr);
    const std::string first = folder.File("first.bmp");
    ASSERT_TRUE(SaveDibToFile(dib, first.c_str()));
    GlobalFree(dib);
    const std::string bytes = TempFolder::ReadAll(first);
    ASSERT_GE(bytes.size(), 54u);
    BITMAPFILEHEADER fileHeader;
    std::memcpy(&fileHeader, bytes.data(), sizeof(fileHeader));
    EXPECT_EQ(fileHeader.bfType, 0x4D42);
    EXPECT_EQ(fileHeader.bfSize, bytes.size());
    EXPECT_EQ(fileHeader.bfOffBits, 54u);
    EXPECT_EQ(TempFolder::ReadAll(first + ".tmp"), "<missing>");

    HBITMAP loaded = LoadBmpToDibSection(bytes.data(), bytes.size());
    ASSERT_NE(loaded, nullptr);
    picture.Restore();
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(PixelOf(loaded, x, y), picture.Get(x, y)) << x << "," << y;

    HGLOBAL again = BitmapToGlobalDib(loaded, static_cast<HPALETTE>(NULL));
    const std::string second = folder.File("second.bmp");
    ASSERT_TRUE(SaveDibToFile(again, second.c_str()));
    GlobalFree(again);
    DeleteObject(loaded);
    EXPECT_EQ(TempFolder::ReadAll(second), bytes);
}

TEST(BmpFiles, ReadsThe24BitResourcePicture)
{
    HBITMAP bitmap = LoadBmpToDibSection(kTestBmp, sizeof(kTestBmp));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelOf(bitmap, 0, 0), kRed);
    EXPECT_EQ(PixelOf(bitmap, 1, 0), kGreen);
    EXPECT_EQ(PixelOf(bitmap, 0, 1), kBlue);
    EXPECT_EQ(PixelOf(bitmap, 1, 1), kWhite);
    DeleteObject(bitmap);
}

void Put32(std::string& bytes, size_t at, uint32_t value)
{
    std::memcpy(&bytes[at], &value, 4);
}

void Put16(std::string& bytes, size_t at, uint16_t value)
{
    std::memcpy(&bytes[at], &value, 2);
}

TEST(BmpFiles, MalformedHeadersAreRefused)
{
    const struct {
        const char* name;
        std::function<void(std::string&)> spoil;
    } cases[] = {
        {"GIF signature", [](std::string& b) { b.replace(0, 6, "GIF89a"); }},
        {"PNG signature", [](std::string& b) { b.replace(0, 8, "\x89PNG\r\n\x1A\n", 8); }},
        {"no BM", [](std::string& b) { b[1] = 'X'; }},
        {"file size field", [](std::string& b) { Put32(b, 2, 71); }},
        {"truncated pixels", [](std::string& b) { b.resize(66); Put32(b, 2, 66); }},
        {"bits offset past the end", [](std::string& b) { Put32(b, 10, 0x7FFFFFF0); }},
        {"bits offset inside the header", [](std::string& b) { Put32(b, 10, 20); }},
        {"header size huge", [](std::string& b) { Put32(b, 14, 0x10000); }},
        {"header size small", [](std::string& b) { Put32(b, 14, 12); }},
        {"width 0", [](std::string& b) { Put32(b, 18, 0); }},
        {"negative width", [](std::string& b) { Put32(b, 18, static_cast<uint32_t>(-2)); }},
        {"height huge", [](std::string& b) { Put32(b, 22, 100000); }},
        {"height 0", [](std::string& b) { Put32(b, 22, 0); }},
        {"tall: pixels missing", [](std::string& b) { Put32(b, 22, 3); }},
        {"wide: pixels missing", [](std::string& b) { Put32(b, 18, 3); }},
        {"two planes", [](std::string& b) { Put16(b, 26, 2); }},
        {"depth 7", [](std::string& b) { Put16(b, 28, 7); }},
        {"run-length compression", [](std::string& b) { Put32(b, 30, BI_RLE8); }},
        {"palette past the data", [](std::string& b) { Put16(b, 28, 8); Put32(b, 46, 200); }},
        {"too many colours", [](std::string& b) { Put16(b, 28, 1); Put32(b, 46, 3); }},
        {"too short", [](std::string& b) { b.resize(40); Put32(b, 2, 40); }},
    };
    for (const auto& c : cases) {
        std::string bytes = TestBmpBytes();
        c.spoil(bytes);
        HBITMAP bitmap = LoadBmpToDibSection(bytes.data(), bytes.size());
        EXPECT_EQ(bitmap, nullptr) << c.name;
        if (bitmap)
            DeleteObject(bitmap);
    }
    EXPECT_EQ(LoadBmpToDibSection(nullptr, 70), nullptr);

    // A top-down picture and an 8-bit one with a short palette are fine.
    std::string topDown = TestBmpBytes();
    Put32(topDown, 22, static_cast<uint32_t>(-2));
    HBITMAP bitmap = LoadBmpToDibSection(topDown.data(), topDown.size());
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(PixelOf(bitmap, 0, 0), kBlue);
    DeleteObject(bitmap);
}

TEST(BmpFiles, DibBlocksThatAreNoDibsAreNotWritten)
{
    TempFolder folder;
    HGLOBAL tiny = GlobalAlloc(GHND, 8);
    EXPECT_FALSE(SaveDibToFile(tiny, folder.File("tiny.bmp").c_str()));
    GlobalFree(tiny);
    HGLOBAL lying = GlobalAlloc(GHND, 48);
    auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(lying));
    header->biSize = 40;
    header->biBitCount = 8;   // 1024 bytes of colour table that are not there
    GlobalUnlock(lying);
    EXPECT_FALSE(SaveDibToFile(lying, folder.File("lying.bmp").c_str()));
    GlobalFree(lying);
    EXPECT_EQ(TempFolder::ReadAll(folder.File("lying.bmp")), "<missing>");
}

// ---- Resources and files ----------------------------------------------------------------------

TEST(ResourcesAndFiles, BytesStringsAndDialogs)
{
    HMODULE self = GetModuleHandleA(nullptr);
    DWORD size = 0;
    BYTE* bytes = LoadBmpResourceOrFile(self, MAKEINTRESOURCEA(10), "TESTBMP", 0, nullptr, &size);   // RT_RCDATA
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size), TestBmpBytes());
    std::free(bytes);
    EXPECT_EQ(LoadBmpResourceOrFile(self, MAKEINTRESOURCEA(10), "MISSING", 0, nullptr, &size), nullptr);
    EXPECT_EQ(size, 0u);

    TempFolder folder;
    const std::string path = folder.File("picture.bmp");
    TempFolder::WriteAll(path, TestBmpBytes());
    bytes = LoadBmpResourceOrFile(NULL, nullptr, nullptr, 0, path.c_str(), &size);
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(bytes), size), TestBmpBytes());
    std::free(bytes);
    EXPECT_EQ(LoadBmpResourceOrFile(NULL, nullptr, nullptr, 0, folder.File("none.bmp").c_str(), &size), nullptr);

    HBITMAP fromFile = LoadBitmapFromFile(path.c_str());
    ASSERT_NE(fromFile, nullptr);
    EXPECT_EQ(GetBitmapSize(fromFile).cx, 2);
    EXPECT_EQ(PixelOf(fromFile, 1, 0), kGreen);
    DeleteObject(fromFile);

    char text[64];
    EXPECT_EQ(LoadResourceString(self, 101, text, sizeof(text)), 31);
    EXPECT_STREQ(text, "resource string one hundred one");
    EXPECT_EQ(LoadResourceString(self, 101, text, 9), 8);
    EXPECT_STREQ(text, "resource");
    EXPECT_EQ(LoadResourceString(self, 4242, text, sizeof(text)), 0);
    EXPECT_STREQ(text, "");

    EXPECT_NE(LoadDialogResourceBytes(self, "TESTDIALOG", &size), nullptr);
    EXPECT_GT(size, 0u);
    EXPECT_EQ(LoadDialogResourceBytes(self, "NODIALOG", &size), nullptr);
    EXPECT_EQ(LoadAnimatedCursor(self, "NOCURSOR"), nullptr);
}

TEST(ResourcesAndFiles, IniNamedBitmaps)
{
    TempFolder folder;
    TempFolder::WriteAll(folder.File("picture.bmp"), TestBmpBytes());
    const std::string ini = folder.File("skin.ini");
    TempFolder::WriteAll(ini, "[skin]\r\nback=picture.bmp\r\nfull=" + folder.File("picture.bmp") + "\r\n");
    HBITMAP bitmap = LoadIniBitmap(ini.c_str(), "skin", "back", folder.Path().c_str());
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(GetBitmapWidth(bitmap), 2);
    EXPECT_EQ(GetBitmapHeight(bitmap), 2);
    DeleteObject(bitmap);
    bitmap = LoadIniBitmap(ini.c_str(), "skin", "full", nullptr);
    ASSERT_NE(bitmap, nullptr);
    DeleteObject(bitmap);
    EXPECT_EQ(LoadIniBitmap(ini.c_str(), "skin", "missing", folder.Path().c_str()), nullptr);
}

TEST(Clipboard, BitmapRoundTrip)
{
    Canvas picture(3, 2);
    picture.Fill(kGreen);
    picture.Set(2, 1, kRed);
    const HBITMAP bitmap = picture.Release();
    ASSERT_TRUE(SetClipboardBitmap(NULL, bitmap));
    HBITMAP back = GetClipboardBitmap(NULL);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(GetBitmapSize(back).cx, 3);
    EXPECT_EQ(GetBitmapSize(back).cy, 2);
    EXPECT_EQ(PixelOf(back, 2, 1), kRed);
    EXPECT_EQ(PixelOf(back, 0, 0), kGreen);
    DeleteObject(back);
    picture.Restore();
    EXPECT_FALSE(SetClipboardBitmap(NULL, NULL));
}

// ---- GDI+ --------------------------------------------------------------------------------------

class GdiplusImages : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&s_token, &input, nullptr);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(s_token); }

    static ULONG_PTR s_token;
};
ULONG_PTR GdiplusImages::s_token = 0;

Gdiplus::Color ColourAt(Gdiplus::Bitmap* bitmap, int x, int y)
{
    Gdiplus::Color colour;
    bitmap->GetPixel(x, y, &colour);
    return colour;
}

TEST_F(GdiplusImages, ResourceCloneAndPng)
{
    Gdiplus::Image* image = LoadImageFromResource(GetModuleHandleA(nullptr), "TESTBMP", MAKEINTRESOURCEA(10));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->GetWidth(), 2u);
    EXPECT_EQ(LoadImageFromResource(GetModuleHandleA(nullptr), "MISSING", MAKEINTRESOURCEA(10)), nullptr);

    Gdiplus::Bitmap* clone = nullptr;
    ASSERT_TRUE(CloneImageArgb(image, &clone));
    EXPECT_EQ(clone->GetPixelFormat(), PixelFormat32bppARGB);
    EXPECT_EQ(ColourAt(clone, 0, 0).GetValue(), 0xFFFF0000u);   // red
    EXPECT_EQ(ColourAt(clone, 1, 0).GetValue(), 0xFF00FF00u);
    EXPECT_EQ(ColourAt(clone, 0, 1).GetValue(), 0xFF0000FFu);
    EXPECT_FALSE(CloneImageArgb(nullptr, &clone) && clone);

    TempFolder folder;
    WCHAR* path = AnsiToWideAlloc(folder.File("shot.png").c_str());
    Gdiplus::Bitmap* source = nullptr;
    ASSERT_TRUE(CloneImageArgb(image, &source));
    EXPECT_EQ(SaveImagePng(source, path), Gdiplus::Ok);
    EXPECT_EQ(TempFolder::ReadAll(folder.File("shot.png")).substr(0, 8), std::string("\x89PNG\r\n\x1A\n", 8));
    EXPECT_EQ(TempFolder::ReadAll(folder.File("shot.png.tmp")), "<missing>");
    Gdiplus::Bitmap* reloaded = LoadGdiplusBitmap(path, FALSE);
    ASSERT_NE(reloaded, nullptr);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            EXPECT_EQ(ColourAt(reloaded, x, y).GetValue(), ColourAt(source, x, y).GetValue()) << x << "," << y;
    delete reloaded;
    delete[] path;
    WCHAR* missing = AnsiToWideAlloc(folder.File("none.png").c_str());
    EXPECT_EQ(LoadGdiplusBitmap(missing, FALSE), nullptr);
    delete[] missing;
    delete source;
    delete clone;
    delete image;
}

TEST_F(GdiplusImages, DrawWithAlpha)
{
    Gdiplus::Bitmap red(2, 2, PixelFormat32bppARGB);
    Gdiplus::Graphics(&red).Clear(Gdiplus::Color(255, 255, 0, 0));
    const struct {
        BYTE alpha;
        BYTE green;   // of red drawn over white: 255 x (1 - alpha / 255)
    } cases[] = {{255, 0}, {0, 255}, {128, 127}};
    for (const auto& c : cases) {
        Gdiplus::Bitmap target(2, 2, PixelFormat32bppARGB);
        Gdiplus::Graphics graphics(&target);
        graphics.Clear(Gdiplus::Color(255, 255, 255, 255));
        const Gdiplus::Rect all(0, 0, 2, 2);
        ASSERT_EQ(DrawImageAlpha(&graphics, &red, all, all, c.alpha), Gdiplus::Ok);
        const Gdiplus::Color colour = ColourAt(&target, 0, 0);
        EXPECT_EQ(colour.GetR(), 255);
        EXPECT_NEAR(colour.GetG(), c.green, 1) << int(c.alpha);
        EXPECT_NEAR(colour.GetB(), c.green, 1) << int(c.alpha);
    }
    EXPECT_EQ(DrawImageAlpha(nullptr, &red, Gdiplus::Rect(), Gdiplus::Rect(), 255), Gdiplus::InvalidParameter);
}

std::string g_fatalText;
std::string g_fatalCaption;

void RecordFatalPicture(const char* text, const char* caption)
{
    g_fatalText = text;
    g_fatalCaption = caption;
}

TEST_F(GdiplusImages, MissingSkinPictureIsFatal)
{
    TempFolder folder;
    TempFolder::WriteAll(folder.File("picture.bmp"), TestBmpBytes());
    const std::string ini = folder.File("skin.ini");
    TempFolder::WriteAll(ini, "[skin]\r\nback=picture.bmp\r\nlost=lost.bmp\r\n");

    GdiplusPicture* picture = LoadIniBitmapOrExit(ini.c_str(), "skin", "back", folder.Path().c_str());
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->width, 2u);
    EXPECT_EQ(picture->height, 2u);
    EXPECT_EQ(picture->status, Gdiplus::Ok);
    delete picture;

    FatalPictureRoutine previous = SetFatalPictureRoutine(RecordFatalPicture);
    EXPECT_EQ(LoadIniBitmapOrExit(ini.c_str(), "skin", "lost", folder.Path().c_str()), nullptr);
    SetFatalPictureRoutine(previous);
    EXPECT_EQ(g_fatalText, folder.File("lost.bmp") + "加载错误！\n\n点击确定退出程序。");
    EXPECT_EQ(g_fatalCaption, "错误");
    EXPECT_FALSE(GetImageSize(nullptr));
}

}  // namespace
