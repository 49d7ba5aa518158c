// The GIF decoder: parsing, LZW, interlace, extensions, transparency and
// delays (on memory), its GDI side, the picture decoder and the loaders.
#include <gtest/gtest.h>

#include <string.h>

#include <atomic>
#include <memory>
#include <thread>
#include <type_traits>

#include "GifDecoder.h"
#include "GifPicture.h"
#include "GifTestSupport.h"

using namespace giftest;
using gifcore::ReadResult;

namespace {

// A 1-bit grey screen with a global table (packed 0x80 | size bits).
GifBuilder GreyGif(uint16_t width, uint16_t height, int tableBits = 2)
{
    GifBuilder b;
    b.Header().Screen(width, height, static_cast<uint8_t>(0x80 | (tableBits - 1)), 0, GreyTable(1 << tableBits));
    return b;
}

ReadResult ReadFirst(const Bytes& gif, gifcore::Image& image)
{
    gifcore::Reader reader;
    if (!reader.Open(gif.data(), gif.size(), true))
        return ReadResult::Failed;
    return reader.ReadImage(image);
}

std::vector<uint8_t> Row(const gifcore::Image& image, int y)
{
    const uint8_t* p = &image.pixels[static_cast<size_t>(y) * image.stride];
    return std::vector<uint8_t>(p, p + image.width);
}

// The colour of a decoded pixel through the image's own table.
COLORREF ColourAt(const gifcore::Image& image, int x, int y)
{
    const gifcore::Rgb& c = image.colors.at(image.pixels[static_cast<size_t>(y) * image.stride + x]);
    return RGB(c.red, c.green, c.blue);
}

struct BitmapDeleter
{
    void operator()(HBITMAP b) const { DeleteObject(b); }
};

}  // namespace

// ---- Opening ----------------------------------------------------------------------

TEST(GifOpen, RefusesShortInputAndWrongSignatures)
{
    const Bytes valid = GreyGif(1, 1).Image(0, 0, 1, 1, 0, EncodePlain({1}, 2)).Trailer().Get();
    struct Case
    {
        const char* name;
        Bytes data;
        bool header;
        bool opens;
    } cases[] = {
        {"five bytes", Bytes(valid.begin(), valid.begin() + 5), true, false},
        {"twelve bytes with the header", Bytes(valid.begin(), valid.begin() + 12), true, false},
        {"GIF88a", [&] { Bytes b = valid; b[4] = '8'; return b; }(), true, false},
        {"global table cut off", Bytes(valid.begin(), valid.begin() + 13 + 11), true, false},
        {"valid GIF89a", valid, true, true},
        {"GIF87a", [&] { Bytes b = valid; b[4] = '7'; return b; }(), true, true},
        {"screen descriptor and table, no header", Bytes(valid.begin() + 6, valid.begin() + 13 + 12), false, true},
        {"screen descriptor only, no header", Bytes(valid.begin() + 6, valid.begin() + 13), false, false},
        {"six bytes, no header", Bytes(valid.begin() + 6, valid.begin() + 12), false, false},
    };
    for (const Case& c : cases) {
        gifcore::Reader reader;
        EXPECT_EQ(c.opens, reader.Open(c.data.data(), c.data.size(), c.header)) << c.name;
        EXPECT_EQ(c.opens, reader.IsOpen()) << c.name;
        CGifReader gdiReader;
        EXPECT_EQ(c.opens ? 0 : 3, gdiReader.OpenMemory(c.data.data(), static_cast<DWORD>(c.data.size()),
                                                        c.header ? TRUE : FALSE))
            << c.name;
    }
    EXPECT_EQ(NULL, DecodeGifPicture(valid.data(), 5));
    Bytes gif88 = valid;
    gif88[4] = '8';
    EXPECT_EQ(NULL, DecodeGifPicture(gif88.data(), static_cast<DWORD>(gif88.size())));
}

TEST(GifOpen, ScreenDescriptorFields)
{
    Bytes table = {10, 20, 30, 40, 50, 60, 70, 80, 90, 1, 2, 3};
    gifcore::Reader reader;
    Bytes gif = GifBuilder().Header().Screen(300, 200, 0x80 | 0x50 | 0x08 | 1, 2, table).Trailer().Get();
    ASSERT_TRUE(reader.Open(gif.data(), gif.size(), true));
    const gifcore::ScreenInfo& s = reader.Screen();
    EXPECT_EQ(300, s.width);
    EXPECT_EQ(200, s.height);
    EXPECT_TRUE(s.hasGlobalTable);
    EXPECT_TRUE(s.sorted);
    EXPECT_EQ(6, s.colorResolution);
    EXPECT_EQ(4u, s.globalColorCount);
    EXPECT_EQ(2, s.backgroundIndex);
    EXPECT_EQ(0x025A5046u, s.backgroundColor);  // 0x02, then B, G, R of entry 2 (70, 80, 90)

    // Without a global table: no colours, the resolution field as packed & 0x71.
    gif = GifBuilder().Header().Screen(4, 4, 0x7F, 9).Trailer().Get();
    ASSERT_TRUE(reader.Open(gif.data(), gif.size(), true));
    EXPECT_FALSE(reader.Screen().hasGlobalTable);
    EXPECT_EQ(0x71, reader.Screen().colorResolution);
    EXPECT_EQ(0u, reader.Screen().globalColorCount);
    EXPECT_EQ(0u, reader.Screen().backgroundColor);

    // A background index outside the table gives no colour.
    gif = GifBuilder().Header().Screen(4, 4, 0x80, 7, GreyTable(2)).Trailer().Get();
    ASSERT_TRUE(reader.Open(gif.data(), gif.size(), true));
    EXPECT_EQ(7, reader.Screen().backgroundIndex);
    EXPECT_EQ(0u, reader.Screen().backgroundColor);
}

// ---- Blocks and extensions ------------------------------------------------------

TEST(GifBlocks, WhatFollowsTheColourTable)
{
    const Bytes image = EncodePlain({1, 2, 3, 0}, 2);
    struct Case
    {
        const char* name;
        Bytes gif;
        ReadResult result;
    } cases[] = {
        {"image", GreyGif(2, 2).Image(0, 0, 2, 2, 0, image).Trailer().Get(), ReadResult::Image},
        {"trailer only", GreyGif(2, 2).Trailer().Get(), ReadResult::NoMoreImages},
        {"nothing at all", GreyGif(2, 2).Get(), ReadResult::NoMoreImages},
        {"unknown block 0x99", GreyGif(2, 2).Raw({0x99}).Image(0, 0, 2, 2, 0, image).Get(),
         ReadResult::NoMoreImages},
        {"comment, application and plain text skipped",
         GreyGif(2, 2)
             .Comment("made by hand")
             .Application("NETSCAPE2.0", {1, 0, 0})
             .PlainText("hello")
             .Image(0, 0, 2, 2, 0, image)
             .Get(),
         ReadResult::Image},
        {"unknown extension label fails", GreyGif(2, 2).Extension(0x42, {1, 2}).Image(0, 0, 2, 2, 0, image).Get(),
         ReadResult::Failed},
        {"graphic control of size 3 fails", GreyGif(2, 2).GraphicControl(0, 7, 0, 3).Image(0, 0, 2, 2, 0, image).Get(),
         ReadResult::Failed},
        {"graphic control of size 5 fails", GreyGif(2, 2).GraphicControl(0, 7, 0, 5).Image(0, 0, 2, 2, 0, image).Get(),
         ReadResult::Failed},
        {"extension cut off fails", GreyGif(2, 2).Raw({0x21, 0xFE, 10, 'a'}).Get(), ReadResult::Failed},
        {"data ends after a whole extension", GreyGif(2, 2).Comment("x").Get(), ReadResult::NoMoreImages},
        {"graphic control followed by a stray sub-block",
         GreyGif(2, 2).Raw({0x21, 0xF9, 4, 0, 0, 0, 0, 2, 9, 9, 0}).Image(0, 0, 2, 2, 0, image).Get(),
         ReadResult::Image},
    };
    for (const Case& c : cases) {
        gifcore::Image out;
        EXPECT_EQ(c.result, ReadFirst(c.gif, out)) << c.name;
        if (c.result == ReadResult::Image) {
            EXPECT_EQ((std::vector<uint8_t>{1, 2}), Row(out, 0)) << c.name;
        } else {
            EXPECT_TRUE(out.pixels.empty()) << c.name;
        }
        HBITMAP decoded = DecodeGifPicture(c.gif.data(), static_cast<DWORD>(c.gif.size()));
        EXPECT_EQ(c.result == ReadResult::Image, decoded != NULL) << c.name;
        DeleteObject(decoded);
    }
}

TEST(GifBlocks, GraphicControlValues)
{
    const Bytes image = EncodePlain({0}, 2);
    struct Case
    {
        uint8_t packed;
        uint16_t delay;
        bool present;
        uint32_t delayMs;
        bool transparent;
        uint8_t disposal;
    } cases[] = {
        {0x00, 0, true, 50, false, 0},    // a given 0 reads as 50 ms
        {0x00, 7, true, 70, false, 0},
        {0x01, 100, true, 1000, true, 0},
        {0x04, 1, true, 10, false, 1},
        {0x09, 2, true, 20, true, 2},
        {0x0C, 3, true, 30, false, 3},
        {0x1C, 3, true, 30, false, 7},
        {0x00, 0, false, 0, false, 0},    // no graphic control at all
    };
    for (const Case& c : cases) {
        GifBuilder b = GreyGif(1, 1);
        if (c.present)
            b.GraphicControl(c.packed, c.delay, 3);
        gifcore::Image out;
        ASSERT_EQ(ReadResult::Image, ReadFirst(b.Image(0, 0, 1, 1, 0, image).Get(), out));
        EXPECT_EQ(c.delayMs, out.delayMs) << int(c.packed) << " " << c.delay;
        EXPECT_EQ(c.transparent, out.transparent);
        EXPECT_EQ(c.disposal, out.disposal);
        EXPECT_EQ(c.present ? 3 : 0, out.transparentIndex);
    }
}

TEST(GifBlocks, GraphicControlAppliesToTheNextImageOnly)
{
    const Bytes image = EncodePlain({0}, 2);
    Bytes gif = GreyGif(1, 1)
                    .GraphicControl(0x09, 7, 1)
                    .Image(0, 0, 1, 1, 0, image)
                    .Image(0, 0, 1, 1, 0, image)
                    .Trailer()
                    .Get();
    gifcore::Reader reader;
    ASSERT_TRUE(reader.Open(gif.data(), gif.size(), true));
    gifcore::Image out;
    ASSERT_EQ(ReadResult::Image, reader.ReadImage(out));
    EXPECT_TRUE(out.transparent);
    EXPECT_EQ(70u, out.delayMs);
    ASSERT_EQ(ReadResult::Image, reader.ReadImage(out));
    EXPECT_FALSE(out.transparent);
    EXPECT_EQ(0u, out.delayMs);
    EXPECT_EQ(ReadResult::NoMoreImages, reader.ReadImage(out));
    EXPECT_EQ(ReadResult::NoMoreImages, reader.ReadImage(out));
    reader.Rewind();
    ASSERT_EQ(ReadResult::Image, reader.ReadImage(out));
    EXPECT_EQ(70u, out.delayMs);
}

TEST(GifBlocks, DataLeftAfterTheEndCodeIsSteppedOver)
{
    // The end code comes early in the first sub-block; the rest of it and a
    // further sub-block belong to the same image.
    CodeWriter w;
    w.Put(4, 3);
    w.Put(2, 3);
    w.Put(5, 3);
    Bytes codes = w.Finish();
    codes.insert(codes.end(), {0xAA, 0xBB, 0xCC});
    Bytes data = Blocks(2, codes);  // code size, one sub-block, terminator
    data.pop_back();
    for (uint8_t b : {2, 0x11, 0x22, 0})
        data.push_back(b);
    Bytes gif = GreyGif(1, 1).Image(0, 0, 1, 1, 0, data).Image(0, 0, 1, 1, 0, EncodePlain({3}, 2)).Trailer().Get();
    gifcore::Reader reader;
    ASSERT_TRUE(reader.Open(gif.data(), gif.size(), true));
    gifcore::Image out;
    ASSERT_EQ(ReadResult::Image, reader.ReadImage(out));
    EXPECT_EQ(2, out.pixels[0]);
    ASSERT_EQ(ReadResult::Image, reader.ReadImage(out));
    EXPECT_EQ(3, out.pixels[0]);
    EXPECT_EQ(ReadResult::NoMoreImages, reader.ReadImage(out));
}

// ---- Image descriptor and LZW -------------------------------------------------------

TEST(GifImage, DescriptorSizesThatAreRefused)
{
    const Bytes one = EncodePlain({1}, 2);
    struct Case
    {
        const char* name;
        uint16_t width, height;
        ReadResult result;
    } cases[] = {
        {"zero width", 0, 5, ReadResult::Failed},
        {"zero height", 5, 0, ReadResult::Failed},
        {"65535 x 65535", 65535, 65535, ReadResult::Failed},
        {"8192 x 8193 (just above the limit)", 8192, 8193, ReadResult::Failed},
        {"8192 x 8192 (at the limit)", 8192, 8192, ReadResult::Image},
    };
    for (const Case& c : cases) {
        gifcore::Image out;
        EXPECT_EQ(c.result, ReadFirst(GreyGif(1, 1).Image(0, 0, c.width, c.height, 0, one).Get(), out)) << c.name;
    }
}

TEST(GifImage, MinimumCodeSizes)
{
    struct Case
    {
        int size;
        bool decodes;
    } cases[] = {{0, false}, {1, false}, {2, true}, {8, true}, {9, true}, {10, false}, {12, false}};
    for (const Case& c : cases) {
        Bytes data;
        if (c.size >= 2 && c.size <= 11)
            data = EncodePlain({1, 0}, c.size);
        else
            data = {static_cast<uint8_t>(c.size), 1, 0, 0};
        gifcore::Image out;
        const ReadResult r = ReadFirst(GreyGif(2, 1, 8).Image(0, 0, 2, 1, 0, data).Get(), out);
        EXPECT_EQ(c.decodes ? ReadResult::Image : ReadResult::Failed, r) << c.size;
        if (c.decodes) {
            EXPECT_EQ((std::vector<uint8_t>{1, 0}), Row(out, 0)) << c.size;
        }
    }
    // The code size byte missing altogether.
    gifcore::Image out;
    EXPECT_EQ(ReadResult::Failed, ReadFirst(GreyGif(2, 1).Raw({0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0}).Get(), out));
}

TEST(GifImage, TableEntriesAndCodeWidthGrowth)
{
    // Clear, 1, 2 (entry 6 = "1 2"), 6 (entry 7 = "2 1"; 8 entries fill the
    // 3-bit codes), then the end code must be read with 4 bits.
    CodeWriter w;
    w.Put(4, 3);
    w.Put(1, 3);
    w.Put(2, 3);
    w.Put(6, 3);
    w.Put(5, 4);
    gifcore::Image out;
    ASSERT_EQ(ReadResult::Image, ReadFirst(GreyGif(4, 1).Image(0, 0, 4, 1, 0, Blocks(2, w.Finish())).Get(), out));
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 1, 2}), Row(out, 0));

    // The code equal to the next free slot: the previous string and its own
    // first character ("0", "0 0", "0 0 0").
    CodeWriter k;
    k.Put(4, 3);
    k.Put(0, 3);
    k.Put(6, 3);
    k.Put(7, 3);
    k.Put(5, 4);
    ASSERT_EQ(ReadResult::Image, ReadFirst(GreyGif(6, 1).Image(0, 0, 6, 1, 0, Blocks(2, k.Finish())).Get(), out));
    EXPECT_EQ((std::vector<uint8_t>(6, 0)), Row(out, 0));

    // A code above the next free slot fails the image.
    CodeWriter bad;
    bad.Put(4, 3);
    bad.Put(1, 3);
    bad.Put(7, 3);
    bad.Put(5, 3);
    EXPECT_EQ(ReadResult::Failed, ReadFirst(GreyGif(4, 1).Image(0, 0, 4, 1, 0, Blocks(2, bad.Finish())).Get(), out));

    // Without a leading clear code the first code is a root.
    CodeWriter noClear;
    noClear.Put(3, 3);
    noClear.Put(2, 3);
    noClear.Put(5, 3);
    ASSERT_EQ(ReadResult::Image,
              ReadFirst(GreyGif(2, 1).Image(0, 0, 2, 1, 0, Blocks(2, noClear.Finish())).Get(), out));
    EXPECT_EQ((std::vector<uint8_t>{3, 2}), Row(out, 0));
}

TEST(GifImage, LinesThatDoNotFillTheImage)
{
    // 3 x 2 with five pixels: the short last line is dropped.
    gifcore::Image out;
    ASSERT_EQ(ReadResult::Image,
              ReadFirst(GreyGif(3, 2).Image(0, 0, 3, 2, 0, EncodePlain({1, 2, 3, 1, 2}, 2)).Get(), out));
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3}), Row(out, 0));
    EXPECT_EQ((std::vector<uint8_t>{0, 0, 0}), Row(out, 1));
    EXPECT_EQ(4u, out.stride);

    // More pixels than rows: nothing is written after the last row.
    ASSERT_EQ(ReadResult::Image,
              ReadFirst(GreyGif(2, 1).Image(0, 0, 2, 1, 0, EncodePlain({1, 2, 3, 3, 3, 3, 3}, 2)).Get(), out));
    EXPECT_EQ((std::vector<uint8_t>{1, 2}), Row(out, 0));
    EXPECT_EQ(0, out.pixels[2]);
    EXPECT_EQ(0, out.pixels[3]);

    // Data cut off in the middle (no end code, no terminator): the lines
    // decoded so far stay. One-byte sub-blocks; three of them hold the
    // codes of the first two pixels.
    Bytes data = Blocks(2, PlainCodes({1, 1, 2, 2, 3, 3}, 2, false), 1);
    data.resize(1 + 2 * 3);
    Bytes gif = GreyGif(2, 3).Image(0, 0, 2, 3, 0, data).Get();
    ASSERT_EQ(ReadResult::Image, ReadFirst(gif, out));
    EXPECT_EQ((std::vector<uint8_t>{1, 1}), Row(out, 0));
    EXPECT_EQ((std::vector<uint8_t>{0, 0}), Row(out, 2));

    // A sub-block longer than the data left is not read at all.
    gif = GreyGif(2, 1).Raw({0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0, 2, 200, 0x0C}).Get();
    ASSERT_EQ(ReadResult::Image, ReadFirst(gif, out));
    EXPECT_EQ((std::vector<uint8_t>{0, 0}), Row(out, 0));
}

TEST(GifImage, InterlacePassOrder)
{
    struct Case
    {
        int height;
        std::vector<int> rows;
    } cases[] = {
        {1, {0}},
        {2, {0, 1}},
        {3, {0, 2, 1}},
        {5, {0, 4, 2, 1, 3}},
        {8, {0, 4, 2, 6, 1, 3, 5, 7}},
        {11, {0, 8, 4, 2, 6, 10, 1, 3, 5, 7, 9}},
    };
    for (const Case& c : cases) {
        gifcore::RowPlacer placer(c.height, true);
        std::vector<int> got;
        for (int r; (r = placer.Next()) >= 0;)
            got.push_back(r);
        EXPECT_EQ(c.rows, got) << c.height;
        gifcore::RowPlacer plain(c.height, false);
        for (int i = 0; i < c.height; ++i)
            EXPECT_EQ(i, plain.Next());
        EXPECT_EQ(-1, plain.Next());
    }

    // Line k of an interlaced 8-row stream lands in row order[k]: with only
    // three lines of data, rows 0, 4 and 2 are filled.
    Bytes data = EncodePlain({1, 2, 3}, 2, false);
    gifcore::Image out;
    ASSERT_EQ(ReadResult::Image, ReadFirst(GreyGif(1, 8).Image(0, 0, 1, 8, 0x40, data).Get(), out));
    EXPECT_TRUE(out.interlaced);
    const uint8_t expected[8] = {1, 0, 3, 0, 2, 0, 0, 0};
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(expected[y], out.pixels[y * out.stride]) << y;
}

TEST(GifImage, LocalTableAndTransparentColour)
{
    const Bytes local = {255, 0, 0, 0, 255, 0, 0, 0, 255, 9, 9, 9};
    Bytes gif = GreyGif(2, 1)
                    .GraphicControl(0x01, 0, 2)
                    .Image(0, 0, 2, 1, 0x80 | 1, EncodePlain({0, 2}, 2), local)
                    .GraphicControl(0x01, 0, 9)  // index outside the table
                    .Image(0, 0, 2, 1, 0, EncodePlain({1, 3}, 2))
                    .Trailer()
                    .Get();
    CGifReader reader;
    ASSERT_EQ(0, reader.OpenMemory(gif.data(), static_cast<DWORD>(gif.size()), TRUE));
    HBITMAP bitmap = NULL;
    HPALETTE palette = NULL;
    BOOL transparent = FALSE;
    COLORREF key = 1;
    int width = 0, height = 0;
    ASSERT_EQ(1, reader.ReadImage(NULL, NULL, &width, &height, &bitmap, &transparent, &key, &palette, NULL, NULL));
    EXPECT_TRUE(reader.CurrentImage().hasLocalTable);
    EXPECT_TRUE(transparent);
    EXPECT_EQ(RGB(0, 0, 255), key);
    EXPECT_EQ(4u, GetPaletteEntries(palette, 0, 0, NULL));
    EXPECT_EQ((std::vector<uint32_t>{0xFF0000, 0x0000FF}), ReadPixels(bitmap));
    DeleteObject(bitmap);
    DeleteObject(palette);

    ASSERT_EQ(1, reader.ReadImage(NULL, NULL, NULL, NULL, &bitmap, &transparent, &key, NULL, NULL, NULL));
    EXPECT_FALSE(reader.CurrentImage().hasLocalTable);
    EXPECT_TRUE(transparent);
    EXPECT_EQ(RGB(0, 0, 0), key);
    EXPECT_EQ((std::vector<uint32_t>{0x010101, 0x030303}), ReadPixels(bitmap));
    DeleteObject(bitmap);
    EXPECT_EQ(2, reader.ReadImage(NULL, NULL, NULL, NULL, &bitmap, NULL, NULL, NULL, NULL, NULL));
    EXPECT_EQ(NULL, bitmap);
}

TEST(GifImage, WithoutAnyColourTableTheSystemPaletteIsUsed)
{
    Bytes gif = GifBuilder().Header().Screen(2, 1, 0).Image(0, 0, 2, 1, 0, EncodePlain({1, 19}, 5)).Trailer().Get();
    std::vector<PALETTEENTRY> system(256);
    HDC screen = GetDC(NULL);
    UINT count = GetSystemPaletteEntries(screen, 0, 256, system.data());
    ReleaseDC(NULL, screen);
    if (count == 0)  // a true-colour display: the stock default palette
        count = GetPaletteEntries(static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), 0, 256, system.data());
    system.resize(count);
    ASSERT_GE(count, 20u);

    CGifReader reader;
    ASSERT_EQ(0, reader.OpenMemory(gif.data(), static_cast<DWORD>(gif.size()), TRUE));
    HBITMAP bitmap = NULL;
    HPALETTE palette = NULL;
    ASSERT_EQ(1, reader.ReadImage(NULL, NULL, NULL, NULL, &bitmap, NULL, NULL, &palette, NULL, NULL));
    EXPECT_EQ(count, GetPaletteEntries(palette, 0, 0, NULL));
    ASSERT_EQ(count, reader.CurrentColors().size());
    const std::vector<uint32_t> pixels = ReadPixels(bitmap);
    ASSERT_EQ(2u, pixels.size());
    EXPECT_EQ(Rgb32(RGB(system[1].peRed, system[1].peGreen, system[1].peBlue)), pixels[0]);
    EXPECT_EQ(Rgb32(RGB(system[19].peRed, system[19].peGreen, system[19].peBlue)), pixels[1]);
    DeleteObject(bitmap);
    DeleteObject(palette);
}

TEST(GifImage, IndexesOutsideTheTableDrawAsEntryZero)
{
    // A two-entry table with codes of a 256-colour stream.
    Bytes table = {10, 20, 30, 40, 50, 60};
    Bytes gif =
        GifBuilder().Header().Screen(3, 1, 0x80, 0, table).Image(0, 0, 3, 1, 0, EncodePlain({1, 0, 200}, 8)).Get();
    CGifReader reader;
    ASSERT_EQ(0, reader.OpenMemory(gif.data(), static_cast<DWORD>(gif.size()), TRUE));
    HBITMAP bitmap = NULL;
    ASSERT_EQ(1, reader.ReadImage(NULL, NULL, NULL, NULL, &bitmap, NULL, NULL, NULL, NULL, NULL));
    EXPECT_EQ((std::vector<uint32_t>{0x28323C, 0x0A141E, 0x0A141E}), ReadPixels(bitmap));
    DeleteObject(bitmap);
}

// ---- Fixtures made by ImageMagick -------------------------------------------------------

TEST(GifFixtures, InterlacedRowsLandInPlace)
{
    for (const char* name : {"interlaced8.gif", "interlaced11.gif", "rows87a.gif"}) {
        const Bytes gif = ReadFixture(name);
        ASSERT_FALSE(gif.empty()) << name;
        gifcore::Image out;
        ASSERT_EQ(ReadResult::Image, ReadFirst(gif, out)) << name;
        EXPECT_EQ(std::string(name) != "rows87a.gif", out.interlaced) << name;
        for (int y = 0; y < out.height; ++y)
            for (int x = 0; x < out.width; ++x)
                ASSERT_EQ(RowColour(y), ColourAt(out, x, y)) << name << " " << x << "," << y;
    }
}

TEST(GifFixtures, NoiseThatFillsTheCodeTable)
{
    struct Case
    {
        const char* name;
        int width, height;
        bool interlaced;
    } cases[] = {{"noise.gif", 96, 80, false}, {"noise_interlaced.gif", 61, 47, true}};
    for (const Case& c : cases) {
        const Bytes gif = ReadFixture(c.name);
        ASSERT_FALSE(gif.empty()) << c.name;
        gifcore::Image out;
        ASSERT_EQ(ReadResult::Image, ReadFirst(gif, out)) << c.name;
        ASSERT_EQ(c.width, out.width);
        ASSERT_EQ(c.height, out.height);
        EXPECT_EQ(c.interlaced, out.interlaced);
        const std::vector<uint8_t> grey = NoiseGrey(static_cast<size_t>(c.width) * c.height);
        int wrong = 0;
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const uint8_t g = grey[static_cast<size_t>(y) * c.width + x];
                wrong += ColourAt(out, x, y) != RGB(g, g, g);
            }
        EXPECT_EQ(0, wrong) << c.name;

        HBITMAP decoded = DecodeGifPicture(gif.data(), static_cast<DWORD>(gif.size()));
        const std::vector<uint32_t> pixels = ReadPixels(decoded);
        ASSERT_EQ(grey.size(), pixels.size());
        for (size_t i = 0; i < grey.size(); ++i)
            ASSERT_EQ(grey[i] * 0x010101u, pixels[i]) << c.name << " " << i;
        DeleteObject(decoded);
    }
}

TEST(GifFixtures, ReadersOnSeveralThreadsDoNotMeet)
{
    // Each reader keeps its own code tables: four threads decoding two
    // different pictures at once all get the right pixels.
    const Bytes plain = ReadFixture("noise.gif");
    const Bytes interlaced = ReadFixture("noise_interlaced.gif");
    const std::vector<uint8_t> plainGrey = NoiseGrey(96 * 80);
    const std::vector<uint8_t> interlacedGrey = NoiseGrey(61 * 47);
    std::atomic<int> wrong(0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            const Bytes& gif = t % 2 ? interlaced : plain;
            const std::vector<uint8_t>& grey = t % 2 ? interlacedGrey : plainGrey;
            for (int round = 0; round < 25; ++round) {
                gifcore::Image out;
                if (ReadFirst(gif, out) != ReadResult::Image) {
                    ++wrong;
                    continue;
                }
                for (int y = 0; y < out.height; ++y)
                    for (int x = 0; x < out.width; ++x)
                        wrong += out.colors[out.pixels[y * out.stride + x]].red != grey[y * out.width + x];
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(0, wrong.load());
}

TEST(GifFixtures, AnimationFramesOffsetsDelaysDisposalTransparency)
{
    const Bytes gif = ReadFixture("anim.gif");
    ASSERT_FALSE(gif.empty());
    CGifReader reader;
    ASSERT_EQ(0, reader.OpenMemory(gif.data(), static_cast<DWORD>(gif.size()), TRUE));
    int width = 0, height = 0;
    COLORREF background = 0;
    ASSERT_TRUE(reader.GetScreenInfo(&width, &height, &background));
    EXPECT_EQ(16, width);
    EXPECT_EQ(12, height);
    EXPECT_EQ(0x020000FFu, background);  // palette-relative red, entry 0 of the global table

    struct Frame
    {
        int left, top, width, height, delay, disposal;
        BOOL transparent;
        COLORREF colour;  // of every opaque pixel
    } frames[] = {
        {0, 0, 16, 12, 50, 1, FALSE, RGB(255, 0, 0)},
        {3, 2, 5, 4, 70, 2, FALSE, RGB(0, 0, 255)},
        {1, 6, 6, 3, 1000, 3, TRUE, RGB(0, 255, 0)},
    };
    for (const Frame& f : frames) {
        int left = -1, top = -1, w = 0, h = 0, disposal = -1, delay = -1;
        BOOL transparent = -1;
        COLORREF key = 1;
        HBITMAP bitmap = NULL;
        HPALETTE palette = NULL;
        ASSERT_EQ(1, reader.ReadImage(&left, &top, &w, &h, &bitmap, &transparent, &key, &palette, &disposal, &delay));
        std::unique_ptr<std::remove_pointer<HBITMAP>::type, BitmapDeleter> owned(bitmap);
        EXPECT_EQ(f.left, left);
        EXPECT_EQ(f.top, top);
        EXPECT_EQ(f.width, w);
        EXPECT_EQ(f.height, h);
        EXPECT_EQ(f.delay, delay);
        EXPECT_EQ(f.disposal, disposal);
        EXPECT_EQ(f.transparent, transparent);
        const std::vector<uint32_t> pixels = ReadPixels(bitmap);
        ASSERT_EQ(static_cast<size_t>(w * h), pixels.size());
        if (f.transparent) {
            // One drawn point; the rest is the transparent index.
            EXPECT_EQ(RGB(0, 0, 0), key);
            for (int i = 0; i < w * h; ++i)
                EXPECT_EQ(i == w + 1 ? Rgb32(f.colour) : Rgb32(key), pixels[i]) << i;
            EXPECT_EQ(1, reader.CurrentImage().transparentIndex);
        } else {
            for (uint32_t p : pixels)
                EXPECT_EQ(Rgb32(f.colour), p);
        }
        DeleteObject(palette);
    }
    EXPECT_EQ(2, reader.ReadImage(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL));

    // The same frames as records.
    reader.Rewind();
    for (const Frame& f : frames) {
        GifFrameRecord* record = reader.NextImage();
        ASSERT_NE(nullptr, record);
        EXPECT_EQ(sizeof(GifFrameRecord), record->recordSize);
        EXPECT_EQ(static_cast<uint32_t>(f.left), record->left);
        EXPECT_EQ(static_cast<uint32_t>(f.top), record->top);
        EXPECT_EQ(static_cast<uint32_t>(f.width), record->width);
        EXPECT_EQ(static_cast<uint32_t>(f.height), record->height);
        EXPECT_EQ((record->width + 3) & ~3u, record->stride);
        EXPECT_EQ(record->stride * record->height, record->pixelBytes);
        EXPECT_EQ(static_cast<uint32_t>(f.delay), record->delayMs);
        EXPECT_EQ(static_cast<uint32_t>(f.disposal), record->disposal);
        EXPECT_EQ(static_cast<uint32_t>(f.transparent), record->transparent);
        EXPECT_EQ(2u, record->colorCount);
        EXPECT_EQ(2u, GetPaletteEntries(record->palette, 0, 0, NULL));
        FreeGifFrameRecord(record);
    }
    EXPECT_EQ(nullptr, reader.NextImage());

    // The image read last can be made again.
    EXPECT_EQ(NULL, CGifReader().CreateCurrentDib());
    reader.Rewind();
    ASSERT_EQ(1, reader.ReadImage(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL));
    HBITMAP again = reader.CreateCurrentDib();
    EXPECT_EQ(std::vector<uint32_t>(16 * 12, 0xFF0000), ReadPixels(again));
    DeleteObject(again);
}

TEST(GifFixtures, GlobalColourTable)
{
    const Bytes gif = ReadFixture("interlaced8.gif");
    CGifReader reader;
    ASSERT_EQ(0, reader.OpenMemory(gif.data(), static_cast<DWORD>(gif.size()), TRUE));
    int background = -1;
    EXPECT_EQ(8, reader.GetGlobalColorInfo(&background));
    EXPECT_EQ(0, background);
    BYTE table[24] = {};
    EXPECT_FALSE(reader.CopyGlobalColorTable(table, 23));
    EXPECT_FALSE(reader.CopyGlobalColorTable(NULL, 24));
    ASSERT_TRUE(reader.CopyGlobalColorTable(table, 24));
    EXPECT_EQ(0, memcmp(table, &gif[13], 24));

    CGifReader closed;
    EXPECT_EQ(0, closed.GetGlobalColorInfo(NULL));
    EXPECT_FALSE(closed.GetScreenInfo(NULL, NULL, NULL));
    EXPECT_EQ(2, closed.ReadImage(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL));
}

// ---- The picture decoder: GIF and in-memory .bmp files --------------------------------------

TEST(GifPictureDecode, GifBecomesAScreenBitmap)
{
    const Bytes gif = ReadFixture("interlaced8.gif");
    HBITMAP bitmap = DecodeGifPicture(gif.data(), static_cast<DWORD>(gif.size()));
    ASSERT_NE(nullptr, bitmap);
    DIBSECTION ds;
    EXPECT_EQ(static_cast<int>(sizeof(BITMAP)), GetObject(bitmap, sizeof ds, &ds));  // not a DIB section
    int width = 0, height = 0;
    const std::vector<uint32_t> pixels = ReadPixels(bitmap, &width, &height);
    ASSERT_EQ(3, width);
    ASSERT_EQ(8, height);
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(Rgb32(RowColour(y)), pixels[y * 3 + 1]) << y;
    DeleteObject(bitmap);
}

TEST(GifPictureDecode, BmpKeepsItsDepth)
{
    struct Case
    {
        const char* name;
        int bits;
    } cases[] = {{"rows24.bmp", 24}, {"rows8bit.bmp", 4}};
    for (const Case& c : cases) {
        const Bytes bmp = ReadFixture(c.name);
        ASSERT_FALSE(bmp.empty()) << c.name;
        HBITMAP bitmap = DecodeGifPicture(bmp.data(), static_cast<DWORD>(bmp.size()));
        ASSERT_NE(nullptr, bitmap) << c.name;
        DIBSECTION ds;
        ASSERT_EQ(static_cast<int>(sizeof ds), GetObject(bitmap, sizeof ds, &ds)) << c.name;
        EXPECT_EQ(c.bits, ds.dsBm.bmBitsPixel) << c.name;
        const std::vector<uint32_t> pixels = ReadPixels(bitmap);
        ASSERT_EQ(24u, pixels.size());
        for (int y = 0; y < 8; ++y)
            EXPECT_EQ(Rgb32(RowColour(y)), pixels[y * 3]) << c.name << " row " << y;
        DeleteObject(bitmap);
    }

    const Bytes mono = ReadFixture("mono.bmp");
    HBITMAP bitmap = DecodeGifPicture(mono.data(), static_cast<DWORD>(mono.size()));
    ASSERT_NE(nullptr, bitmap);
    const std::vector<uint32_t> pixels = ReadPixels(bitmap);
    ASSERT_EQ(45u, pixels.size());
    for (int i = 0; i < 45; ++i)
        EXPECT_EQ(i == 9 + 2 ? 0u : 0xFFFFFFu, pixels[i]) << i;
    DeleteObject(bitmap);
}

TEST(GifPictureDecode, BmpHeadersThatAreRefused)
{
    const Bytes good = ReadFixture("rows24.bmp");
    ASSERT_EQ(150u, good.size());
    const Bytes pal4 = ReadFixture("rows8bit.bmp");
    ASSERT_EQ(150u, pal4.size());
    auto put32 = [](Bytes b, size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = static_cast<uint8_t>(v >> (8 * i));
        return b;
    };
    auto put16 = [](Bytes b, size_t at, uint16_t v) {
        b[at] = static_cast<uint8_t>(v);
        b[at + 1] = static_cast<uint8_t>(v >> 8);
        return b;
    };
    struct Case
    {
        const char* name;
        Bytes data;
        bool decodes;
    } cases[] = {
        {"as written", good, true},
        {"file size field one short", put32(good, 2, 149), false},
        {"file size field one long", put32(good, 2, 151), false},
        {"block one byte short", [&] { Bytes b(good.begin(), good.end() - 1); return put32(b, 2, 149); }(), false},
        {"bits offset inside the info header", put32(good, 10, 40), false},
        {"bits offset beyond the data", put32(good, 10, 151), false},
        {"rows beyond the data", put32(good, 22, 9), false},
        {"header size above the bits offset", put32(good, 14, 41), false},
        {"header size below 40", put32(good, 14, 12), false},
        {"zero width", put32(good, 18, 0), false},
        {"negative width", put32(good, 18, 0xFFFFFFFF), false},
        {"zero height", put32(good, 22, 0), false},
        {"most negative height", put32(good, 22, 0x80000000), false},
        {"huge width", put32(good, 18, 0x7FFFFFFF), false},
        {"two planes", put16(good, 26, 2), false},
        {"7 bits per pixel", put16(good, 28, 7), false},
        {"run-length compression", put32(good, 30, BI_RLE8), false},
        {"bit fields at 24 bits", put32(good, 30, BI_BITFIELDS), false},
        {"bit fields without room for the masks", put32(put16(good, 28, 32), 30, BI_BITFIELDS), false},
        {"32 bits without bit fields", put16(good, 28, 32), true},
        {"4-bit colour table larger than 16", put32(pal4, 46, 17), false},
        {"4-bit colour table cut by the bits offset", put32(pal4, 10, 117), false},
        {"4-bit as written", pal4, true},
        {"top-down rows", put32(good, 22, static_cast<uint32_t>(-8)), true},
        {"colour count beyond the header", put32(good, 46, 300), false},
    };
    for (const Case& c : cases) {
        GuardedBuffer buffer(c.data);
        HBITMAP bitmap = DecodeGifPicture(buffer.data(), buffer.size());
        EXPECT_EQ(c.decodes, bitmap != NULL) << c.name;
        DeleteObject(bitmap);
    }

    // Top-down rows come out in the file's order.
    const Bytes topDown = put32(good, 22, static_cast<uint32_t>(-8));
    HBITMAP bitmap = DecodeGifPicture(topDown.data(), static_cast<DWORD>(topDown.size()));
    const std::vector<uint32_t> pixels = ReadPixels(bitmap);
    ASSERT_EQ(24u, pixels.size());
    EXPECT_EQ(Rgb32(RowColour(7)), pixels[0]);
    DeleteObject(bitmap);
}

TEST(GifPictureDecode, OtherFormatsAreNotDecoded)
{
    for (const char* text : {"\x89PNG\r\n\x1a\n", "\xFF\xD8\xFF\xE0 JFIF", "hello world", "GIF8"}) {
        const Bytes data(text, text + strlen(text));
        EXPECT_EQ(NULL, DecodeGifPicture(data.data(), static_cast<DWORD>(data.size()))) << text;
    }
    EXPECT_EQ(NULL, DecodeGifPicture(NULL, 100));
}

// ---- Loading from resources and files -------------------------------------------------------

TEST(GifPictureLoad, FromResourceAndFile)
{
    HMODULE self = GetModuleHandleA(NULL);
    const WORD neutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    HBITMAP byId = LoadGifPicture(self, MAKEINTRESOURCEA(101), "GIF", neutral);
    ASSERT_NE(nullptr, byId);
    int width = 0, height = 0;
    const std::vector<uint32_t> pixels = ReadPixels(byId, &width, &height);
    EXPECT_EQ(3, width);
    EXPECT_EQ(8, height);
    EXPECT_EQ(Rgb32(RowColour(6)), pixels[6 * 3]);
    DeleteObject(byId);

    HBITMAP byName = LoadGifPicture(self, "ANIM", "GIF", neutral);
    EXPECT_EQ(std::vector<uint32_t>(16 * 12, 0xFF0000), ReadPixels(byName));
    DeleteObject(byName);

    EXPECT_EQ(NULL, LoadGifPicture(self, MAKEINTRESOURCEA(102), "GIF", neutral));
    EXPECT_EQ(NULL, LoadGifPicture(self, MAKEINTRESOURCEA(101), "PNG", neutral));

    HBITMAP fromFile = LoadGifPicture(NULL, "fixtures\\gif\\rows24.bmp", NULL, 0);
    ASSERT_NE(nullptr, fromFile);
    DeleteObject(fromFile);
    fromFile = LoadGifPicture(NULL, "fixtures\\gif\\noise.gif", NULL, 0);
    ASSERT_NE(nullptr, fromFile);
    DeleteObject(fromFile);
    EXPECT_EQ(NULL, LoadGifPicture(NULL, "fixtures\\gif\\missing.gif", NULL, 0));
    EXPECT_EQ(NULL, LoadGifPicture(NULL, NULL, NULL, 0));

    // An empty file reads 0 bytes and is refused by the length test.
    const char* empty = "gif_loader_empty.gif";
    HANDLE h = CreateFileA(empty, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    CloseHandle(h);
    EXPECT_EQ(NULL, LoadGifPicture(NULL, empty, NULL, 0));
    DeleteFileA(empty);

    CGifReader reader;
    EXPECT_EQ(0, reader.OpenFile("fixtures\\gif\\anim.gif"));
    EXPECT_EQ(1, reader.ReadImage(NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL));
    EXPECT_EQ(3, reader.OpenFile("fixtures\\gif\\missing.gif"));
    EXPECT_FALSE(reader.IsOpen());
    EXPECT_EQ(3, reader.OpenFile("fixtures\\gif\\rows24.bmp"));
}
