// The recorder's arithmetic: the capture rectangle's clamp, the packed
// frame's layout, the frame clock with pauses, and the RIFF walker.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "Msvc1Encoder.h"
#include "RecorderCore.h"

using namespace vidrelle;

namespace {

TEST(ClampCaptureRectTest, Table)
{
    struct Case {
        const char* what;
        CaptureRect in;
        bool kept;
        CaptureRect out;
    };
    // Screen 1024 x 768.
    const Case cases[] = {
        {"inside stays", {10, 20, 110, 95}, true, {10, 20, 110, 95}},
        {"negative left and top become 0", {-20, -5, 100, 50}, true, {0, 0, 100, 50}},
        {"right beyond the screen becomes width - 1", {-20, 0, 5000, 40}, true, {0, 0, 1023, 40}},
        {"right equal to the width too", {0, 0, 1024, 768}, true, {0, 0, 1023, 767}},
        {"right 1023 stays", {0, 0, 1023, 767}, true, {0, 0, 1023, 767}},
        {"right equal to left is empty", {50, 10, 50, 40}, false, {50, 10, 50, 40}},
        {"bottom above top is empty", {0, 40, 100, 39}, false, {0, 40, 100, 39}},
        {"entirely left of the screen is empty", {-100, 0, -10, 50}, false, {0, 0, -10, 50}},
        {"starting past the right edge is empty", {2000, 0, 3000, 50}, false, {2000, 0, 1023, 50}},
        {"extreme values do not overflow", {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}, true, {0, 0, 1023, 767}},
        {"one pixel", {5, 5, 6, 6}, true, {5, 5, 6, 6}},
    };
    for (const Case& c : cases) {
        CaptureRect r = c.in;
        EXPECT_EQ(ClampCaptureRect(r, 1024, 768), c.kept) << c.what;
        EXPECT_EQ(r.left, c.out.left) << c.what;
        EXPECT_EQ(r.top, c.out.top) << c.what;
        EXPECT_EQ(r.right, c.out.right) << c.what;
        EXPECT_EQ(r.bottom, c.out.bottom) << c.what;
    }
}

TEST(DibLayoutTest, StrideColourTableAndSize)
{
    struct Case {
        const char* what;
        int width, height, bits;
        uint32_t stride, entries;
        uint64_t total;
    };
    // total = 40 + 4 * entries + height * stride
    const Case cases[] = {
        {"101 x 75 at 24 bits: 303 bytes rounded to 304", 101, 75, 24, 304, 0, 40 + 75 * 304},
        {"16 bits: no colour table", 101, 75, 16, 204, 0, 40 + 75 * 204},
        {"32 bits", 3, 2, 32, 12, 0, 40 + 2 * 12},
        {"8 bits: 256-entry table", 5, 2, 8, 8, 256, 40 + 1024 + 2 * 8},
        {"4 bits: 16 entries", 9, 1, 4, 8, 16, 40 + 64 + 8},
        {"1 bit: 2 entries", 33, 1, 1, 8, 2, 40 + 8 + 8},
        {"no width: nothing", 0, 10, 16, 0, 0, 0},
        {"no height: nothing", 10, 0, 16, 20, 0, 0},
        {"beyond 32 bits: nothing", 70000, 70000, 32, 280000, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DibStride(c.width, c.bits), c.stride) << c.what;
        EXPECT_EQ(DibColourEntries(c.bits), c.entries) << c.what;
        EXPECT_EQ(DibTotalSize(c.width, c.height, c.bits), c.total) << c.what;
    }
}

TEST(FrameBitCountTest, DeepScreensRecordAt16Bits)
{
    const int screen[] = {8, 15, 16, 24, 32};
    const int frame[] = {8, 15, 16, 16, 16};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(FrameBitCount(screen[i]), frame[i]) << screen[i];
}

// Feeds capture times to a clock and returns the numbers it writes.
std::vector<uint32_t> Written(FrameClock& clock, const std::vector<uint32_t>& times)
{
    std::vector<uint32_t> out;
    for (uint32_t t : times) {
        const uint32_t n = clock.Number(t);
        if (clock.Take(n))
            out.push_back(n);
    }
    return out;
}

TEST(FrameClockTest, Table)
{
    struct Case {
        const char* what;
        uint32_t start;
        std::vector<uint32_t> times;
        std::vector<uint32_t> written;
    };
    const Case cases[] = {
        {"steady 100 ms", 1000, {1000, 1100, 1200, 1300}, {0, 1, 2, 3}},
        {"the first 100 ms may write 0 twice", 1000, {1000, 1050, 1100}, {0, 0, 1}},
        {"a slow capture leaves numbers out", 1000, {1000, 1100, 1450, 1460, 1600}, {0, 1, 4, 6}},
        {"a number already written is dropped", 0, {0, 120, 150, 199, 200}, {0, 1, 2}},
        {"the first frame is 0 whatever the time", 0, {5000, 5100}, {0, 51}},
        {"the millisecond clock wraps", 0xFFFFFF00u, {0xFFFFFF00u, 0x00000000u, 0x00000064u}, {0, 2, 3}},
    };
    for (const Case& c : cases) {
        FrameClock clock(c.start);
        EXPECT_EQ(Written(clock, c.times), c.written) << c.what;
    }
}

TEST(FrameClockTest, TenSecondPauseLeavesNoGap)
{
    FrameClock clock(0);
    EXPECT_EQ(Written(clock, {0, 100, 200}), (std::vector<uint32_t>{0, 1, 2}));
    clock.AddPause(250, 10250);   // paused from 250 ms to 10.25 s
    EXPECT_EQ(Written(clock, {10300, 10400}), (std::vector<uint32_t>{3, 4}));
}

// ---- RIFF walker ----

struct RiffBuilder {
    std::vector<uint8_t> bytes;
    void Id(const char* id) { bytes.insert(bytes.end(), id, id + 4); }
    void U32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(uint8_t(v >> (8 * i)));
    }
    void Raw(size_t n, uint8_t v = 0) { bytes.insert(bytes.end(), n, v); }
};

// RIFF 'WAVE' { 'fmt ' 18, 'data' n } as the recorder writes it.
std::vector<uint8_t> Wave(uint32_t dataBytes)
{
    RiffBuilder b;
    b.Id("RIFF");
    b.U32(4 + 8 + 18 + 8 + dataBytes + (dataBytes & 1));
    b.Id("WAVE");
    b.Id("fmt ");
    b.U32(18);
    b.Raw(18, 1);
    b.Id("data");
    b.U32(dataBytes);
    b.Raw(dataBytes + (dataBytes & 1), 7);
    return b.bytes;
}

TEST(RiffWalkerTest, ReadsTheWaveLayout)
{
    const std::vector<uint8_t> w = Wave(4000);
    RiffChunk root;
    std::string error;
    ASSERT_TRUE(ParseRiff(w.data(), w.size(), root, error)) << error;
    EXPECT_EQ(root.listType, "WAVE");
    ASSERT_EQ(root.children.size(), 2u);
    EXPECT_EQ(root.children[0].id, "fmt ");
    EXPECT_EQ(root.children[0].size, 18u);
    ASSERT_NE(root.Find("data"), nullptr);
    EXPECT_EQ(root.Find("data")->size, 4000u);
    EXPECT_EQ(root.Find("data")->dataOffset, 12u + 8 + 18 + 8);
}

TEST(RiffWalkerTest, OddChunksArePaddedAndNestedListsRead)
{
    RiffBuilder b;
    b.Id("RIFF");
    b.U32(4 + (8 + 4 + (8 + 3 + 1)) + (8 + 2));
    b.Id("AVI ");
    b.Id("LIST");
    b.U32(4 + 8 + 3 + 1);
    b.Id("hdrl");
    b.Id("avih");
    b.U32(3);
    b.Raw(4);   // 3 bytes and the pad byte
    b.Id("idx1");
    b.U32(2);
    b.Raw(2);
    RiffChunk root;
    std::string error;
    ASSERT_TRUE(ParseRiff(b.bytes.data(), b.bytes.size(), root, error)) << error;
    const RiffChunk* hdrl = root.FindList("hdrl");
    ASSERT_NE(hdrl, nullptr);
    ASSERT_NE(hdrl->Find("avih"), nullptr);
    EXPECT_EQ(hdrl->Find("avih")->size, 3u);
    ASSERT_NE(root.Find("idx1"), nullptr);
}

TEST(RiffWalkerTest, RefusesDamagedFiles)
{
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<uint8_t> overrun = Wave(10);
    overrun[45] = 0x7F;   // the data chunk (size at bytes 42-45) claims more than the file has
    std::vector<uint8_t> truncated = Wave(10);
    truncated.resize(30);
    std::vector<uint8_t> notRiff = Wave(10);
    memcpy(notRiff.data(), "RIFX", 4);
    RiffBuilder listWithoutType;
    listWithoutType.Id("RIFF");
    listWithoutType.U32(12);
    listWithoutType.Id("WAVE");
    listWithoutType.Id("LIST");
    listWithoutType.U32(0);
    RiffBuilder deep;
    deep.Id("RIFF");
    deep.U32(4 + 40 * 12);
    deep.Id("AVI ");
    for (int i = 0; i < 40; ++i) {
        deep.Id("LIST");
        deep.U32(uint32_t(4 + (39 - i) * 12));
        deep.Id("deep");
    }
    const Case cases[] = {
        {"a chunk past the file", overrun},
        {"a file cut short", truncated},
        {"not RIFF", notRiff},
        {"a list with no type", listWithoutType.bytes},
        {"lists nested too deeply", deep.bytes},
        {"too short for a header", std::vector<uint8_t>{'R', 'I', 'F', 'F'}},
    };
    for (const Case& c : cases) {
        RiffChunk root;
        std::string error;
        EXPECT_FALSE(ParseRiff(c.bytes.data(), c.bytes.size(), root, error)) << c.what;
        EXPECT_FALSE(error.empty()) << c.what;
    }
}

// ---- The test compressor's block coding ----

// Decodes a Video 1 16-bit frame as the format is published (blocks bottom-up,
// fill / skip / two-colour codes); the compressor's output must read back.
std::vector<uint16_t> DecodeVideo1(const std::vector<uint8_t>& in, int width, int height)
{
    std::vector<uint16_t> out(size_t(width) * height, 0xFFFF);
    size_t pos = 0;
    for (int by = 0; by < height / 4; ++by)
        for (int bx = 0; bx < width / 4; ++bx) {
            const uint8_t a = in.at(pos), b = in.at(pos + 1);
            pos += 2;
            uint16_t colour[2];
            uint16_t flags = 0;
            if (b >= 0x80) {
                EXPECT_FALSE(b >= 0x84 && b < 0x88) << "skip codes are not written";
                colour[0] = colour[1] = uint16_t(((b << 8) | a) & 0x7FFF);
            } else {
                flags = uint16_t((b << 8) | a);
                colour[0] = uint16_t(in.at(pos) | (in.at(pos + 1) << 8));
                colour[1] = uint16_t(in.at(pos + 2) | (in.at(pos + 3) << 8));
                EXPECT_EQ(colour[0] & 0x8000, 0) << "eight-colour blocks are not written";
                pos += 4;
            }
            for (int i = 0; i < 16; ++i)
                out[size_t(by * 4 + i / 4) * width + bx * 4 + i % 4] = colour[(flags >> i) & 1 ? 0 : 1];
        }
    EXPECT_EQ(in.at(pos), 0);
    EXPECT_EQ(in.at(pos + 1), 0);
    EXPECT_EQ(pos + 2, in.size());
    return out;
}

TEST(Msvc1EncoderTest, BlocksReadBack)
{
    struct Case {
        const char* what;
        int width, height;
        std::vector<uint16_t> pixels;   // bottom-up rows, exactly width x height
    };
    auto fill = [](int w, int h, uint16_t c) { return std::vector<uint16_t>(size_t(w) * h, c); };
    std::vector<uint16_t> arrow = fill(8, 4, 0x1234);
    arrow[3] = 0x7FFF;              // white at the bottom-right of block 0
    arrow[3 * 8 + 3] = 0x0000;      // black in its top row, column 3 (bit 15)
    std::vector<uint16_t> topRight = fill(4, 4, 0x0000);
    topRight[15] = 0x7FFF;          // only the top-right pixel is light
    const Case cases[] = {
        {"a solid colour is a fill", 8, 8, fill(8, 8, 0x0210)},
        {"a colour that reads as a skip code is a two-colour block", 4, 4, fill(4, 4, 0x0400)},
        {"the brightest colour in the top-right pixel keeps the top flag clear", 4, 4, topRight},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> raw;
        for (uint16_t p : c.pixels) {
            raw.push_back(uint8_t(p));
            raw.push_back(uint8_t(p >> 8));
        }
        std::vector<uint8_t> out(Msvc1MaxSize(c.width, c.height));
        const size_t n = Msvc1EncodeRgb555(raw.data(), c.width, c.height, size_t(c.width) * 2, out.data(), out.size());
        ASSERT_GT(n, 0u) << c.what;
        out.resize(n);
        EXPECT_EQ(DecodeVideo1(out, c.width, c.height), c.pixels) << c.what;
    }
    // Three colours in one block come out as the lightest and darkest.
    {
        std::vector<uint8_t> raw;
        for (uint16_t p : arrow) {
            raw.push_back(uint8_t(p));
            raw.push_back(uint8_t(p >> 8));
        }
        std::vector<uint8_t> out(Msvc1MaxSize(8, 4));
        out.resize(Msvc1EncodeRgb555(raw.data(), 8, 4, 16, out.data(), out.size()));
        const std::vector<uint16_t> back = DecodeVideo1(out, 8, 4);
        EXPECT_EQ(back[3], 0x7FFF);
        EXPECT_EQ(back[3 * 8 + 3], 0x0000);
        EXPECT_EQ(back[4], 0x1234);   // block 1 is a plain fill
    }
    // Too small a picture or output: nothing.
    std::vector<uint8_t> small(64);
    EXPECT_EQ(Msvc1EncodeRgb555(small.data(), 3, 4, 8, small.data(), small.size()), 0u);
    EXPECT_EQ(Msvc1EncodeRgb555(small.data(), 4, 4, 8, small.data(), 3), 0u);
}

}  // namespace
