// Block compression (RORurodivo.dll) and message body compression
// (DIDuv.dll): round trips, refusals of bad blocks, and the run-time binding.
#include "store/BlockCompress.h"
#include "store/DllBinding.h"
#include "store/FilePaths.h"
#include "store/MessageCompression.h"

#include "StoreTestFiles.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

struct BlockDeleter
{
    void operator()(BYTE* p) const { FreeBlock(p); }
};
typedef std::unique_ptr<BYTE, BlockDeleter> Block;

std::vector<uint8_t> Compressed(const std::vector<uint8_t>& raw, uint32_t level = 6)
{
    uint32_t length = uint32_t(raw.size());
    Block block(CompressBlock(raw.data(), &length, level, 0));
    if (!block)
        return {};
    return std::vector<uint8_t>(block.get(), block.get() + length);
}

std::vector<uint8_t> Expanded(std::vector<uint8_t> block)
{
    uint32_t length = uint32_t(block.size());
    Block raw(UncompressBlock(block.data(), &length));
    if (!raw)
        return { 0xEE };   // never a valid expansion in these tests
    return std::vector<uint8_t>(raw.get(), raw.get() + length);
}

} // namespace

TEST(BlockCompress, RoundTripsOfManySizes)
{
    ASSERT_TRUE(LoadCompressDll());
    TestRandom random(7);
    const size_t sizes[] = { 101, 102, 127, 1000, 4096, 65535, 65536, 300001, 2 * 1024 * 1024 };
    for (size_t size : sizes) {
        for (int kind = 0; kind < 2; ++kind) {
            SCOPED_TRACE(testing::Message() << size << (kind ? " random" : " text"));
            const std::vector<uint8_t> raw = kind ? random.Bytes(size) : CompressibleBytes(size, 3);
            for (uint32_t room : { 0u, 16u }) {
                uint32_t length = uint32_t(size);
                Block block(CompressBlock(raw.data(), &length, kDefaultCompressLevel, room));
                ASSERT_TRUE(block);
                EXPECT_LE(length, size + size / 100 + 16);
                if (!kind && size >= 1000) {
                    EXPECT_LT(length, size / 2);
                }
                EXPECT_EQ(ReadLe32(block.get() + room), size);
                uint32_t back = length;
                Block raw2(UncompressBlock(block.get() + room, &back));
                ASSERT_TRUE(raw2);
                ASSERT_EQ(back, size);
                EXPECT_EQ(0, memcmp(raw2.get(), raw.data(), size));
            }
        }
    }
}

TEST(BlockCompress, LevelIsPassedToTheLibrary)
{
    const std::vector<uint8_t> raw = CompressibleBytes(20000, 5);
    const std::vector<uint8_t> stored = Compressed(raw, 0);
    const std::vector<uint8_t> best = Compressed(raw, 9);
    ASSERT_FALSE(stored.empty());
    ASSERT_FALSE(best.empty());
    EXPECT_GT(stored.size(), raw.size());   // level 0 only frames the bytes
    EXPECT_LT(best.size(), stored.size() / 4);
    EXPECT_EQ(Expanded(stored), raw);
    EXPECT_EQ(Expanded(best), raw);
}

TEST(BlockCompress, RefusedInputs)
{
    const std::vector<uint8_t> raw = CompressibleBytes(200, 1);
    uint32_t length = 100;
    EXPECT_EQ(CompressBlock(raw.data(), &length, 6, 0), nullptr);
    EXPECT_EQ(length, 100u);
    length = 200;
    EXPECT_EQ(CompressBlock(raw.data(), &length, kRefusedCompressLevel, 0), nullptr);
    EXPECT_EQ(CompressBlock(nullptr, &length, 6, 0), nullptr);
    EXPECT_EQ(CompressBlock(raw.data(), nullptr, 6, 0), nullptr);
    length = kMaxBlockRawLength + 1;
    EXPECT_EQ(CompressBlock(raw.data(), &length, 6, 0), nullptr);
}

TEST(BlockCompress, BadBlocksAreRefused)
{
    const std::vector<uint8_t> raw = CompressibleBytes(5000, 2);
    const std::vector<uint8_t> good = Compressed(raw);
    ASSERT_EQ(Expanded(good), raw);

    struct BadCase
    {
        const char* name;
        std::vector<uint8_t> block;
    };
    std::vector<BadCase> cases;
    auto withLength = [&](uint32_t declared) {
        std::vector<uint8_t> b = good;
        WriteLe32(b.data(), declared);
        return b;
    };
    cases.push_back({ "declares one byte more", withLength(5001) });
    cases.push_back({ "declares one byte less (inflates beyond it)", withLength(4999) });
    cases.push_back({ "declares zero", withLength(0) });
    cases.push_back({ "declares more than the cap", withLength(kMaxBlockRawLength + 1) });
    cases.push_back({ "declares far more than its bytes can hold", withLength(good.size() * 2000) });
    cases.push_back({ "prefix only", std::vector<uint8_t>(good.begin(), good.begin() + 4) });
    cases.push_back({ "shorter than the prefix", std::vector<uint8_t>(good.begin(), good.begin() + 3) });
    cases.push_back({ "cut short", std::vector<uint8_t>(good.begin(), good.end() - 10) });
    std::vector<uint8_t> garbled = good;
    for (size_t i = 6; i < garbled.size(); i += 7)
        garbled[i] ^= 0x5A;
    cases.push_back({ "garbled data", garbled });
    for (const BadCase& c : cases) {
        uint32_t length = uint32_t(c.block.size());
        BYTE* out = UncompressBlock(c.block.data(), &length);
        EXPECT_EQ(out, nullptr) << c.name;
        EXPECT_EQ(length, c.block.size()) << c.name;
        FreeBlock(out);
    }
    uint32_t length = 10;
    EXPECT_EQ(UncompressBlock(nullptr, &length), nullptr);
}

TEST(MessageCompression, BodiesRoundTripAndSmallOrRandomOnesStayPlain)
{
    ASSERT_TRUE(LoadMessageCompressDll());
    TestRandom random(11);
    for (uint32_t size : { 100u, 101u, 512u, 4000u, 65536u, 1000000u }) {
        SCOPED_TRACE(size);
        const std::vector<uint8_t> body = CompressibleBytes(size, size);
        std::vector<uint8_t> packed(size);
        const uint32_t packedLength = CompressMessageBody(body.data(), size, packed.data());
        ASSERT_GT(packedLength, 4u);
        ASSERT_LE(packedLength, size);
        uint32_t rawLength = 0;
        ASSERT_TRUE(GetCompressedBodyLength(packed.data(), packedLength, 0x100000, &rawLength));
        ASSERT_EQ(rawLength, size);
        std::vector<uint8_t> out(rawLength);
        ASSERT_TRUE(ExpandCompressedBody(packed.data(), packedLength, out.data(), rawLength));
        EXPECT_EQ(out, body);
    }
    const std::vector<uint8_t> small = CompressibleBytes(99, 1);
    std::vector<uint8_t> out(4096);
    EXPECT_EQ(CompressMessageBody(small.data(), 99, out.data()), 0u);
    const std::vector<uint8_t> noise = random.Bytes(4096);
    EXPECT_EQ(CompressMessageBody(noise.data(), 4096, out.data()), 0u);
}

TEST(MessageCompression, DeclaredLengthIsCheckedAndMustMatch)
{
    const std::vector<uint8_t> body = CompressibleBytes(3000, 9);
    std::vector<uint8_t> packed(body.size());
    const uint32_t packedLength = CompressMessageBody(body.data(), 3000, packed.data());
    ASSERT_GT(packedLength, 0u);
    packed.resize(packedLength);

    uint32_t rawLength = 0;
    EXPECT_FALSE(GetCompressedBodyLength(packed.data(), packedLength, 2999, &rawLength));
    EXPECT_FALSE(GetCompressedBodyLength(packed.data(), 3, 0x100000, &rawLength));
    std::vector<uint8_t> zero = packed;
    WriteLe32(zero.data(), 0);
    EXPECT_FALSE(GetCompressedBodyLength(zero.data(), packedLength, 0x100000, &rawLength));

    std::vector<uint8_t> out(4000);
    // A declared length that does not match what the data expands to.
    for (uint32_t declared : { 2999u, 3001u }) {
        std::vector<uint8_t> lying = packed;
        WriteLe32(lying.data(), declared);
        EXPECT_FALSE(ExpandCompressedBody(lying.data(), packedLength, out.data(), declared))
            << declared;
    }
    // The caller's length must be the declared one.
    EXPECT_FALSE(ExpandCompressedBody(packed.data(), packedLength, out.data(), 2000));
    // Cut short or garbled data.
    EXPECT_FALSE(ExpandCompressedBody(packed.data(), packedLength - 5, out.data(), 3000));
    std::vector<uint8_t> garbled = packed;
    garbled[packedLength / 2] ^= 0xFF;
    garbled[packedLength / 2 + 1] ^= 0xFF;
    EXPECT_FALSE(ExpandCompressedBody(garbled.data(), packedLength, out.data(), 3000));
}

TEST(DllBinding, MissingLibraryIsRememberedAndNotRetried)
{
    static const char* const kEntries[] = { "QV_ZIPCompress", "QV_ZIPUncompress" };
    char folder[MAX_PATH];
    ASSERT_TRUE(GetModuleFolder(folder));
    const std::string stand = std::string(folder) + "RORurodivo.dll";
    const std::string copy = std::string(folder) + "store_binding_test.dll";
    DeleteFileA(copy.c_str());

    CDllBinding missing(kEntries, 2);
    EXPECT_FALSE(missing.Bind(copy.c_str()));
    EXPECT_EQ(missing.Entry(0), nullptr);
    // The library appears later: the failure is remembered, not retried.
    ASSERT_TRUE(CopyFileA(stand.c_str(), copy.c_str(), FALSE));
    EXPECT_FALSE(missing.Bind(copy.c_str()));

    CDllBinding fresh(kEntries, 2);
    EXPECT_TRUE(fresh.Bind(copy.c_str()));
    EXPECT_NE(fresh.Entry(1), nullptr);

    // A library without one of the entries is not bound at all.
    static const char* const kOther[] = { "QV_ZIPCompress", "no_such_entry" };
    CDllBinding partial(kOther, 2);
    EXPECT_FALSE(partial.Bind(stand.c_str()));
    EXPECT_EQ(partial.Entry(0), nullptr);
}
