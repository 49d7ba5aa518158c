// Framing and compression of game messages, checked against hand-made bytes.
#include <gtest/gtest.h>

#include <zlib.h>

#include <cstring>
#include <random>

#include "BodyCompression.h"
#include "MessageFrame.h"

using namespace tableserver;

namespace {

std::vector<uint8_t> Le32(uint32_t v)
{
    return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

std::vector<uint8_t> Repeating(size_t n)
{
    std::vector<uint8_t> body(n);
    for (size_t i = 0; i < n; ++i)
        body[i] = uint8_t("table"[i % 5]);
    return body;
}

std::vector<uint8_t> Noise(size_t n, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> body(n);
    for (auto& b : body)
        b = uint8_t(random());
    return body;
}

// A zlib stream of `plain`, behind a prefix that declares `declared` bytes.
std::vector<uint8_t> CompressedBody(const std::vector<uint8_t>& plain, uint32_t declared)
{
    uLongf size = compressBound(plain.size());
    std::vector<uint8_t> packed(size);
    compress(packed.data(), &size, plain.data(), plain.size());
    packed.resize(size);
    return Concat({Le32(declared), packed});
}

struct ReadResult {
    FrameReader::Status status;
    Message message;
    std::string error;
};

ReadResult ReadOne(const std::vector<uint8_t>& bytes, uint32_t cap = kMaxBodyLength)
{
    FrameReader reader(cap);
    reader.Append(bytes.data(), bytes.size());
    ReadResult r;
    r.status = reader.Next(r.message);
    r.error = reader.error();
    return r;
}

}  // namespace

TEST(Framing, ShortAndLongHeadersAreLaidOutAsOnTheWire)
{
    EXPECT_EQ(EncodeFrame(Message(0x201, {}), true), Concat({Le32(0x201), Le32(0)}));
    EXPECT_EQ(EncodeFrame(Message(0x26000, {7, 0, 0, 0}), true),
              Concat({Le32(0x26000), Le32(4), {7, 0, 0, 0}}));
    // Bit 31: the result word follows the length.
    EXPECT_EQ(EncodeFrame(Message(0x80000200, {1, 2}, 4), true),
              Concat({Le32(0x80000200), Le32(2), Le32(4), {1, 2}}));
}

TEST(Framing, LargeBodiesGoCompressedAndComeBackWhole)
{
    const std::vector<uint8_t> body = Repeating(3000);
    const std::vector<uint8_t> frame = EncodeFrame(Message(0x80000280, body, 1), true);
    ASSERT_GE(frame.size(), 16u);
    const uint32_t wireId = frame[0] | frame[1] << 8 | frame[2] << 16 | uint32_t(frame[3]) << 24;
    const uint32_t length = frame[4] | frame[5] << 8 | frame[6] << 16 | uint32_t(frame[7]) << 24;
    EXPECT_EQ(wireId, 0x80000280u | kCompressedBit);
    EXPECT_EQ(length, frame.size() - kLongHeaderSize);
    EXPECT_LT(length, body.size());
    EXPECT_EQ(std::vector<uint8_t>(frame.begin() + 12, frame.begin() + 16), Le32(3000));

    const ReadResult r = ReadOne(frame);
    ASSERT_EQ(r.status, FrameReader::Status::kMessage) << r.error;
    EXPECT_EQ(r.message.id, 0x80000280u);
    EXPECT_EQ(r.message.result, 1u);
    EXPECT_EQ(r.message.body, body);
}

TEST(Framing, BodiesAreSentPlainWhenCompressionDoesNotApply)
{
    struct Case {
        const char* what;
        Message message;
        bool mayCompress;
    } cases[] = {
        {"below 100 bytes", Message(0x26005, Repeating(99)), true},
        {"does not get smaller", Message(0x26005, Noise(400, 1)), true},
        {"compression not allowed", Message(0x26005, Repeating(400)), false},
        {"end of game is never compressed", Message(kEndOfGameId, Repeating(400), 2), true},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> frame = EncodeFrame(c.message, c.mayCompress);
        const uint32_t header = HeaderSize(c.message.id);
        EXPECT_EQ(frame.size(), header + c.message.body.size()) << c.what;
        const ReadResult r = ReadOne(frame);
        ASSERT_EQ(r.status, FrameReader::Status::kMessage) << c.what << ": " << r.error;
        EXPECT_EQ(r.message.id, c.message.id) << c.what;
        EXPECT_EQ(r.message.body, c.message.body) << c.what;
    }
}

TEST(Framing, ReaderAssemblesBytePiecesAndSeveralMessagesInOneRead)
{
    const std::vector<uint8_t> stream =
        Concat({EncodeFrame(Message(0x8000021B, {1, 0, 1, 3, 'a', 0}, 1), false),
                EncodeFrame(Message(0x229, {'b', 0}), false),
                EncodeFrame(Message(0x80000280, Repeating(500), 1), true)});
    FrameReader reader;
    std::vector<Message> got;
    Message m;
    for (uint8_t byte : stream) {
        reader.Append(&byte, 1);
        while (reader.Next(m) == FrameReader::Status::kMessage)
            got.push_back(m);
    }
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].id, 0x8000021Bu);
    EXPECT_EQ(got[0].result, 1u);
    EXPECT_EQ(got[1].id, 0x229u);
    EXPECT_EQ(got[2].body, Repeating(500));
    EXPECT_EQ(reader.PendingBytes(), 0u);

    FrameReader whole;
    whole.Append(stream.data(), stream.size());
    int count = 0;
    while (whole.Next(m) == FrameReader::Status::kMessage)
        ++count;
    EXPECT_EQ(count, 3);
}

TEST(Framing, LengthsAboveTheCapFailBeforeTheBodyArrives)
{
    // The cap is exact: a body of the cap's size is read.
    const ReadResult atCap = ReadOne(EncodeFrame(Message(0x26011, std::vector<uint8_t>(kMaxBodyLength)), false));
    EXPECT_EQ(atCap.status, FrameReader::Status::kMessage);

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        const char* error;
    } cases[] = {
        {"one byte over the cap, header only", Concat({Le32(0x26005), Le32(kMaxBodyLength + 1)}),
         "declares a body of 65537 bytes"},
        {"length near 4 GiB, long header", Concat({Le32(0x80026006), Le32(0xFFFFFFF8), Le32(1)}),
         "declares a body of 4294967288 bytes"},
        {"compressed form over the cap", Concat({Le32(0x26005 | kCompressedBit), Le32(0x7FFFFFFF)}),
         "declares a body of 2147483647 bytes"},
    };
    for (const Case& c : cases) {
        const ReadResult r = ReadOne(c.bytes);
        EXPECT_EQ(r.status, FrameReader::Status::kError) << c.what;
        EXPECT_NE(r.error.find(c.error), std::string::npos) << c.what << ": " << r.error;
    }
}

TEST(Framing, BadCompressedBodiesFail)
{
    const std::vector<uint8_t> plain = Repeating(5000);
    struct Case {
        const char* what;
        std::vector<uint8_t> body;
        const char* error;
    } cases[] = {
        {"no room for the prefix", {1, 2}, "has no length prefix"},
        {"declares nothing", CompressedBody(plain, 0), "declares 0 bytes"},
        {"declares more than the cap", CompressedBody(plain, kMaxBodyLength + 1), "declares 65537 bytes"},
        {"inflates beyond what it declares", CompressedBody(plain, 1000), "expands beyond"},
        {"inflates to less than it declares", CompressedBody(plain, 6000), "expands to 5000 bytes, not the declared 6000"},
        {"not zlib at all", Concat({Le32(100), Noise(60, 2)}), "not valid zlib data"},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> frame =
            Concat({Le32(0x26005 | kCompressedBit), Le32(uint32_t(c.body.size())), c.body});
        const ReadResult r = ReadOne(frame);
        EXPECT_EQ(r.status, FrameReader::Status::kError) << c.what;
        EXPECT_NE(r.error.find(c.error), std::string::npos) << c.what << ": " << r.error;
    }
    // A bomb: 1 MiB of zeros packs into about 1 KB, far under the cap on the
    // wire; it must not be expanded beyond what the cap allows.
    const std::vector<uint8_t> zeros(1 << 20, 0);
    const ReadResult bomb = ReadOne(Concat({Le32(0x26005 | kCompressedBit),
                                            Le32(uint32_t(CompressedBody(zeros, 60000).size())),
                                            CompressedBody(zeros, 60000)}));
    EXPECT_EQ(bomb.status, FrameReader::Status::kError);
    EXPECT_NE(bomb.error.find("expands beyond"), std::string::npos) << bomb.error;
}

TEST(Framing, ReaderStaysFailedAfterAnError)
{
    FrameReader reader;
    const std::vector<uint8_t> bad = Concat({Le32(0x26005), Le32(0xFFFFFFFF)});
    reader.Append(bad.data(), bad.size());
    Message m;
    EXPECT_EQ(reader.Next(m), FrameReader::Status::kError);
    const std::vector<uint8_t> good = EncodeFrame(Message(0x201, {}), false);
    reader.Append(good.data(), good.size());
    EXPECT_EQ(reader.Next(m), FrameReader::Status::kError);
}

TEST(Compression, ExpandsOnlyToTheDeclaredLength)
{
    std::vector<uint8_t> packed;
    ASSERT_TRUE(CompressBody(Repeating(1000).data(), 1000, packed));
    EXPECT_LE(packed.size(), 1000u);
    std::vector<uint8_t> plain;
    std::string why;
    ASSERT_TRUE(ExpandBody(packed.data(), packed.size(), 1000, plain, why)) << why;
    EXPECT_EQ(plain, Repeating(1000));
    // The cap applies to the declared length.
    EXPECT_FALSE(ExpandBody(packed.data(), packed.size(), 999, plain, why));
    EXPECT_TRUE(plain.empty());
}
