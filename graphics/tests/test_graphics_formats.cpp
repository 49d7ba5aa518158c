// Pure parts of the bitmap routines: .bmp header checks, writing in pieces,
// the layouts of drawing by mode, and the runs of a region.
#include <gtest/gtest.h>

#include "BmpFormat.h"
#include "RegionRuns.h"
#include "TileLayout.h"

#include <string.h>

#include <algorithm>
#include <vector>

namespace {

// ---- A .bmp file in memory ---------------------------------------------------------------

struct BmpBuilder
{
    uint32_t headerSize = 40;
    int32_t width = 3;
    int32_t height = 2;
    uint16_t planes = 1;
    uint16_t bitCount = 24;
    uint32_t compression = 0;
    uint32_t sizeImage = 0;
    uint32_t colorsUsed = 0;
    uint32_t tableEntries = 0;    // colour table written
    int32_t offBitsDelta = 0;     // added to the right offset
    int32_t pixelBytesDelta = 0;  // added to the pixel bytes written

    std::vector<uint8_t> Build() const
    {
        std::vector<uint8_t> f;
        auto u16 = [&f](uint32_t v) { f.push_back(v & 0xFF); f.push_back(v >> 8 & 0xFF); };
        auto u32 = [&](uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); };
        const uint32_t table = tableEntries * (headerSize == 12 ? 3 : 4);
        const uint32_t offBits = 14 + headerSize + table + offBitsDelta;
        const uint64_t rows = height < 0 ? -(int64_t)height : height;
        const int64_t pixels = (compression == 1 || compression == 2)
                                   ? (int64_t)sizeImage + pixelBytesDelta
                                   : (int64_t)bmpfmt::RowBytes(width, bitCount) * rows + pixelBytesDelta;
        u16(0x4D42);
        u32(0);  // size: not relied on
        u32(0);
        u32(offBits);
        u32(headerSize);
        if (headerSize == 12) {
            u16(width);
            u16(height);
            u16(planes);
            u16(bitCount);
        } else {
            u32(width);
            u32(height);
            u16(planes);
            u16(bitCount);
            u32(compression);
            u32(sizeImage);
            u32(0);
            u32(0);
            u32(colorsUsed);
            u32(0);
            while (f.size() < 14 + headerSize)
                f.push_back(0);
        }
        f.resize(f.size() + table, 0x11);
        f.resize(14 + headerSize + table, 0);
        f.resize(offBits > f.size() ? offBits : f.size(), 0);
        // Pictures too large to write are cut (the check refuses them first).
        f.resize(offBits + (pixels > 0 ? std::min<int64_t>(pixels, 1 << 20) : 0), 0x22);
        return f;
    }
};

bmpfmt::Check CheckOf(const BmpBuilder& b)
{
    const std::vector<uint8_t> f = b.Build();
    return bmpfmt::CheckFile(f.data(), f.size(), f.size(), NULL);
}

}  // namespace

TEST(BmpCheck, SoundFilesPass)
{
    struct Case
    {
        const char* name;
        void (*change)(BmpBuilder&);
    } cases[] = {
        {"24 bits", [](BmpBuilder&) {}},
        {"top-down", [](BmpBuilder& b) { b.height = -2; }},
        {"8 bits, full table", [](BmpBuilder& b) { b.bitCount = 8; b.tableEntries = 256; }},
        {"8 bits, 12 colours used", [](BmpBuilder& b) { b.bitCount = 8; b.colorsUsed = b.tableEntries = 12; }},
        {"1 bit, odd width", [](BmpBuilder& b) { b.bitCount = 1; b.width = 33; b.tableEntries = 2; }},
        {"core header", [](BmpBuilder& b) { b.headerSize = 12; b.bitCount = 8; b.tableEntries = 256; }},
        {"RLE8",
         [](BmpBuilder& b) { b.bitCount = 8; b.compression = 1; b.sizeImage = 10; b.tableEntries = 256; }},
        // The three masks after the header.
        {"bit fields", [](BmpBuilder& b) { b.bitCount = 16; b.compression = 3; b.offBitsDelta = 12; }},
        {"version 5 header", [](BmpBuilder& b) { b.headerSize = 124; b.bitCount = 32; }},
    };
    for (const Case& c : cases) {
        BmpBuilder b;
        c.change(b);
        EXPECT_EQ(bmpfmt::Check::Ok, CheckOf(b)) << c.name;
    }

    // What the check reports of a sound file.
    BmpBuilder p8;
    p8.bitCount = 8;
    p8.colorsUsed = p8.tableEntries = 12;
    bmpfmt::Info info;
    const std::vector<uint8_t> f = p8.Build();
    ASSERT_EQ(bmpfmt::Check::Ok, bmpfmt::CheckFile(f.data(), f.size(), f.size(), &info));
    EXPECT_EQ(12u, info.colors);
    EXPECT_EQ(14u + 40 + 48, info.offBits);
    EXPECT_EQ(8u, info.pixelBytes);  // rows of 4 bytes
}

TEST(BmpCheck, MalformedFilesAreRefused)
{
    using bmpfmt::Check;
    struct Case
    {
        const char* name;
        void (*change)(BmpBuilder&);
        Check expected;
    } cases[] = {
        {"unknown header size", [](BmpBuilder& b) { b.headerSize = 20; }, Check::BadHeaderSize},
        {"zero width", [](BmpBuilder& b) { b.width = 0; }, Check::BadSize},
        {"negative width", [](BmpBuilder& b) { b.width = -3; }, Check::BadSize},
        {"zero height", [](BmpBuilder& b) { b.height = 0; }, Check::BadSize},
        {"most negative height", [](BmpBuilder& b) { b.height = INT32_MIN; }, Check::BadSize},
        {"too wide", [](BmpBuilder& b) { b.width = 40000; }, Check::BadSize},
        {"two planes", [](BmpBuilder& b) { b.planes = 2; }, Check::BadDepth},
        {"seven bits", [](BmpBuilder& b) { b.bitCount = 7; }, Check::BadDepth},
        {"16 bits in a core header", [](BmpBuilder& b) { b.headerSize = 12; b.bitCount = 16; }, Check::BadDepth},
        {"RLE8 at 24 bits", [](BmpBuilder& b) { b.compression = 1; b.sizeImage = 4; }, Check::BadCompression},
        {"RLE4 top-down", [](BmpBuilder& b) { b.bitCount = 4; b.tableEntries = 16; b.compression = 2; b.sizeImage = 4; b.height = -2; }, Check::BadCompression},
        {"bit fields at 24 bits", [](BmpBuilder& b) { b.compression = 3; }, Check::BadCompression},
        {"JPEG inside", [](BmpBuilder& b) { b.compression = 4; }, Check::BadCompression},
        {"more colours than 8 bits hold", [](BmpBuilder& b) { b.bitCount = 8; b.colorsUsed = 300; b.tableEntries = 300; }, Check::BadColors},
        {"a huge table at 24 bits", [](BmpBuilder& b) { b.colorsUsed = 100000; }, Check::BadColors},
        {"pixels inside the header", [](BmpBuilder& b) { b.offBitsDelta = -20; }, Check::BadOffset},
        {"pixels over the colour table", [](BmpBuilder& b) { b.bitCount = 8; b.tableEntries = 256; b.offBitsDelta = -1000; }, Check::BadOffset},
        {"masks missing", [](BmpBuilder& b) { b.bitCount = 32; b.compression = 3; }, Check::BadOffset},
        {"one pixel byte short", [](BmpBuilder& b) { b.pixelBytesDelta = -1; }, Check::Truncated},
        {"RLE without size", [](BmpBuilder& b) { b.bitCount = 8; b.tableEntries = 256; b.compression = 1; }, Check::Truncated},
        {"RLE longer than the file", [](BmpBuilder& b) { b.bitCount = 8; b.tableEntries = 256; b.compression = 1; b.sizeImage = 50; b.pixelBytesDelta = -10; }, Check::Truncated},
    };
    for (const Case& c : cases) {
        BmpBuilder b;
        c.change(b);
        EXPECT_EQ(c.expected, CheckOf(b)) << c.name << ": " << bmpfmt::CheckName(CheckOf(b));
    }

    BmpBuilder b;
    std::vector<uint8_t> f = b.Build();
    // 30000 x 30000 at 24 bits is more than any picture may take.
    std::vector<uint8_t> huge = f;
    huge[18] = huge[22] = 30000 & 0xFF;
    huge[19] = huge[23] = 30000 >> 8;
    EXPECT_EQ(bmpfmt::Check::BadSize, bmpfmt::CheckFile(huge.data(), huge.size(), 4000000000ULL, NULL));
    EXPECT_EQ(bmpfmt::Check::TooShort, bmpfmt::CheckFile(f.data(), 10, 10, NULL));
    EXPECT_EQ(bmpfmt::Check::TooShort, bmpfmt::CheckFile(f.data(), 30, f.size(), NULL));  // header cut
    EXPECT_EQ(bmpfmt::Check::TooShort, bmpfmt::CheckFile(NULL, 0, 0, NULL));
    // Pixels offset past the end.
    std::vector<uint8_t> far = f;
    far[10] = 0xE8;
    far[11] = 0x03;  // 1000
    EXPECT_EQ(bmpfmt::Check::BadOffset, bmpfmt::CheckFile(far.data(), far.size(), far.size(), NULL));
    f[0] = 'P';
    EXPECT_EQ(bmpfmt::Check::NotBmp, bmpfmt::CheckFile(f.data(), f.size(), f.size(), NULL));
}

TEST(BmpWrite, FileHeaderAndPieces)
{
    const bmpfmt::FileHeader h = bmpfmt::MakeFileHeader(40 + 48, 40);
    EXPECT_EQ(0x4D42, h.type);
    EXPECT_EQ(102u, h.size);
    EXPECT_EQ(54u, h.offBits);
    EXPECT_EQ(0, h.reserved1 | h.reserved2);

    const struct
    {
        uint32_t size;
        std::vector<uint32_t> pieces;
    } cases[] = {{70000, {32768, 32768, 4464}}, {32768, {32768}}, {32769, {32768, 1}}, {65536, {32768, 32768}},
                 {5, {5}}, {0, {}}};
    std::vector<uint8_t> data(70000, 7);
    for (const auto& c : cases) {
        std::vector<uint32_t> pieces;
        size_t offset = 0;
        const uint32_t written = bmpfmt::WriteInPieces(data.data(), c.size, [&](const uint8_t* p, uint32_t n) {
            EXPECT_EQ(data.data() + offset, p);
            offset += n;
            pieces.push_back(n);
            return n;
        });
        EXPECT_EQ(c.size, written);
        EXPECT_EQ(c.pieces, pieces) << c.size;
    }
    // A short piece stops the writing.
    int calls = 0;
    EXPECT_EQ(0u, bmpfmt::WriteInPieces(data.data(), 70000, [&calls](const uint8_t*, uint32_t n) {
                  return ++calls == 2 ? n - 1 : n;
              }));
    EXPECT_EQ(2, calls);
}

// ---- Drawing by mode ----------------------------------------------------------------------

namespace {

std::vector<tiles::Piece> LayoutOf(int mode, int dstW, int dstH, int srcW, int srcH, bool* handled = NULL)
{
    std::vector<tiles::Piece> pieces;
    const bool h = tiles::Layout(mode, dstW, dstH, srcW, srcH, [&pieces](const tiles::Piece& p) { pieces.push_back(p); });
    if (handled)
        *handled = h;
    return pieces;
}

// Destination columns x .. x + w - 1 from source columns sx ..
struct Span
{
    int x, sx, w;
    bool operator==(const Span& o) const { return x == o.x && sx == o.sx && w == o.w; }
};

std::vector<Span> ColumnsOf(const std::vector<tiles::Piece>& pieces, int row)
{
    std::vector<Span> spans;
    for (const tiles::Piece& p : pieces)
        if (p.dstY == row)
            spans.push_back(Span{p.dstX, p.srcX, p.width});
    return spans;
}

}  // namespace

TEST(TileLayout, TilesCoverTheDestinationWithCutEdges)
{
    // A 30 x 20 bitmap over 70 x 50: nine tiles, the right column 10 wide,
    // the bottom row 10 high, all from the source's top-left.
    const std::vector<tiles::Piece> p = LayoutOf(3, 70, 50, 30, 20);
    ASSERT_EQ(9u, p.size());
    for (const tiles::Piece& t : p) {
        EXPECT_EQ(0, t.srcX);
        EXPECT_EQ(0, t.srcY);
        EXPECT_EQ(t.dstX == 60 ? 10 : 30, t.width);
        EXPECT_EQ(t.dstY == 40 ? 10 : 20, t.height);
    }
}

TEST(TileLayout, ThreeColumns)
{
    const struct
    {
        int dstW;
        std::vector<Span> spans;
    } cases[] = {
        {25, {{0, 0, 10}, {10, 10, 5}, {15, 20, 10}}},
        {15, {{0, 0, 10}, {10, 25, 5}}},
        {20, {{0, 0, 10}, {10, 20, 10}}},
        {10, {{0, 0, 10}}},
        {4, {{0, 0, 4}}},
        {47, {{0, 0, 10}, {10, 10, 10}, {20, 10, 10}, {30, 10, 7}, {37, 20, 10}}},
    };
    for (const auto& c : cases) {
        const std::vector<tiles::Piece> p = LayoutOf(4, c.dstW, 20, 30, 20);
        EXPECT_TRUE(ColumnsOf(p, 0) == c.spans) << c.dstW;
    }
    // Rows repeat as tall as the source, each from the source's top.
    const std::vector<tiles::Piece> p = LayoutOf(4, 25, 50, 30, 20);
    EXPECT_EQ(9u, p.size());
    for (const tiles::Piece& t : p) {
        EXPECT_EQ(0, t.srcY);
        EXPECT_EQ(t.dstY == 40 ? 10 : 20, t.height);
    }
}

TEST(TileLayout, NineParts)
{
    // u = 10 (source 30 high). Rows: first from the top third, rows that
    // start more than u above the bottom from the middle, the last from the
    // bottom third's top, a short second row from the bottom's lower end.
    const struct
    {
        int dstH;
        std::vector<std::pair<int, int>> rows;  // (source row, height) from the top
    } cases[] = {
        {35, {{0, 10}, {10, 10}, {10, 10}, {20, 5}}},
        {30, {{0, 10}, {10, 10}, {20, 10}}},
        {20, {{0, 10}, {20, 10}}},
        {15, {{0, 10}, {25, 5}}},
        {8, {{0, 8}}},
    };
    for (const auto& c : cases) {
        const std::vector<tiles::Piece> p = LayoutOf(5, 30, c.dstH, 30, 30);
        std::vector<std::pair<int, int>> rows;
        for (const tiles::Piece& t : p)
            if (t.dstX == 0)
                rows.push_back({t.srcY, t.height});
        EXPECT_EQ(c.rows, rows) << c.dstH;
        // Each row has the three columns.
        EXPECT_EQ(c.rows.size() * 3, p.size()) << c.dstH;
    }
}

TEST(TileLayout, TinySourcesAndOtherModesEnd)
{
    // Thirds of sources under three pixels are empty: modes 4 and 5 draw
    // nothing; empty sources draw nothing in every mode.
    for (int mode : {3, 4, 5})
        for (int side : {0, 1, 2, -5}) {
            if (mode == 3 && side > 0)
                continue;
            bool handled = false;
            const std::vector<tiles::Piece> p = LayoutOf(mode, 100, 100, side, side, &handled);
            EXPECT_TRUE(handled);
            EXPECT_TRUE(p.empty()) << mode << "/" << side;
        }
    // A one-pixel source still tiles (one piece a pixel).
    EXPECT_EQ(12u, LayoutOf(3, 4, 3, 1, 1).size());
    // An empty destination draws nothing.
    EXPECT_TRUE(LayoutOf(1, 0, 10, 5, 5).empty());
    EXPECT_TRUE(LayoutOf(4, -3, 10, 30, 5).empty());
    bool handled = true;
    EXPECT_TRUE(LayoutOf(2, 10, 10, 5, 5, &handled).empty());
    EXPECT_FALSE(handled);
    // Mode 1: one copy of the destination's size.
    const std::vector<tiles::Piece> one = LayoutOf(1, 70, 50, 30, 20);
    ASSERT_EQ(1u, one.size());
    EXPECT_EQ(70, one[0].width);
    EXPECT_EQ(50, one[0].height);
}

// ---- Region runs ----------------------------------------------------------------------------

TEST(RegionRuns, RunsOfEachRow)
{
    // 1 = key. Rows: "0110", "1111", "0000", "1010".
    const char* rows[] = {"0110", "1111", "0000", "1010"};
    std::vector<rgnruns::Rect32> runs;
    rgnruns::ScanRuns(
        4, 4, [&rows](int32_t x, int32_t y) { return rows[y][x] == '1'; },
        [&runs](const rgnruns::Rect32& r) { runs.push_back(r); });
    const rgnruns::Rect32 want[] = {{0, 0, 1, 1}, {3, 0, 4, 1}, {0, 2, 4, 3}, {1, 3, 2, 4}, {3, 3, 4, 4}};
    ASSERT_EQ(5u, runs.size());
    for (size_t i = 0; i < runs.size(); ++i)
        EXPECT_EQ(0, memcmp(&want[i], &runs[i], sizeof want[i])) << i;
}

TEST(RegionRuns, ChunksOf800AndTheRest)
{
    rgnruns::RunBlock block(true);
    std::vector<uint32_t> flushed;
    std::vector<rgnruns::DataHeader> headers;
    auto flush = [&](const void* data, uint32_t bytes) {
        flushed.push_back(bytes);
        headers.push_back(*static_cast<const rgnruns::DataHeader*>(data));
        return true;
    };
    for (int i = 0; i < 2000; ++i)
        ASSERT_TRUE(block.Add(rgnruns::Rect32{2 * (i % 1000), i / 1000, 2 * (i % 1000) + 1, i / 1000 + 1}, flush));
    ASSERT_EQ((std::vector<uint32_t>{12832, 12832}), flushed);
    EXPECT_EQ(12832u, rgnruns::kChunkBytes);
    EXPECT_EQ(400u, block.Count());
    EXPECT_EQ(6432u, rgnruns::BlockBytes(block.Count()));
    for (const rgnruns::DataHeader& h : headers) {
        EXPECT_EQ(32u, h.size);
        EXPECT_EQ(1u, h.type);
        EXPECT_EQ(800u, h.count);
        EXPECT_EQ(0u, h.regionSize);
    }
    // The first chunk: runs 0..799 of row 0.
    EXPECT_EQ(0, headers[0].bound.left);
    EXPECT_EQ(0, headers[0].bound.top);
    EXPECT_EQ(1599, headers[0].bound.right);
    EXPECT_EQ(1, headers[0].bound.bottom);
    // The second spans both rows: its bound was reset, not carried over.
    EXPECT_EQ(0, headers[1].bound.left);
    EXPECT_EQ(2, headers[1].bound.bottom);
    EXPECT_EQ(1200, block.Header().bound.left);  // runs 1600..1999: row 1 from x = 1200
    EXPECT_EQ(1, block.Header().bound.top);

    // A refused flush stops the adding.
    rgnruns::RunBlock small(true);
    for (uint32_t i = 0; i < rgnruns::kChunkRects; ++i)
        small.Add(rgnruns::Rect32{0, 0, 1, 1}, [](const void*, uint32_t) { return false; });
    EXPECT_FALSE(small.Add(rgnruns::Rect32{0, 0, 1, 1}, [](const void*, uint32_t) { return false; }));
}

TEST(RegionRuns, GrowingBlockKeepsEveryRun)
{
    rgnruns::RunBlock block(false, 3);
    for (int i = 0; i < 100; ++i)
        block.Add(rgnruns::Rect32{i, 0, i + 1, 1}, [](const void*, uint32_t) { return false; });
    EXPECT_EQ(100u, block.Count());
    EXPECT_EQ(100u, block.Header().count);
    EXPECT_GE(block.BufferBytes(), 32u + 100 * 16);
    EXPECT_EQ(99, block.Header().bound.right - 1);
}
