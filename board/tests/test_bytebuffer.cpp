#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ByteBuffer.h"

namespace {

std::string Content(const CByteBuffer& b)
{
    return std::string(reinterpret_cast<const char*>(b.Data()), b.Size());
}

TEST(ByteBuffer, StartsEmptyWithStep256)
{
    CByteBuffer b;
    EXPECT_EQ(b.Size(), 0u);
    EXPECT_EQ(b.Capacity(), 0u);
    EXPECT_EQ(b.Step(), 256u);
    EXPECT_EQ(b.Data(), nullptr);
}

TEST(ByteBuffer, GrowsToUsedPlusNeedPlusStepOnlyWhenShort)
{
    CByteBuffer b;
    ASSERT_TRUE(b.Append("abcdefghij", 10));
    EXPECT_EQ(b.Capacity(), 10u + 256u);
    const uint8_t* before = b.Data();
    ASSERT_TRUE(b.Grow(256));  // 10 + 256 fits exactly
    EXPECT_EQ(b.Capacity(), 266u);
    EXPECT_EQ(b.Data(), before);
    b.SetGrowth(4, 0);
    ASSERT_TRUE(b.Grow(257));
    EXPECT_EQ(b.Capacity(), 10u + 257u + 4u);
    EXPECT_EQ(Content(b), "abcdefghij");
}

TEST(ByteBuffer, AppendOrZeroWritesOneZeroForNull)
{
    CByteBuffer b;
    ASSERT_TRUE(b.AppendOrZero("ab", 2));
    ASSERT_TRUE(b.AppendOrZero(nullptr, 40));
    EXPECT_EQ(Content(b), std::string("ab\0", 3));
    EXPECT_FALSE(b.Append(nullptr, 3));
    EXPECT_EQ(b.Size(), 3u);
}

TEST(ByteBuffer, PrependMovesContentUp)
{
    CByteBuffer b;
    ASSERT_TRUE(b.Append("world", 5));
    ASSERT_TRUE(b.Prepend("hello ", 6));
    EXPECT_EQ(Content(b), "hello world");
}

TEST(ByteBuffer, ReadFrontTakesBytesOrNothing)
{
    CByteBuffer b;
    ASSERT_TRUE(b.Append("abcdef", 6));
    char out[8] = "-------";
    EXPECT_FALSE(b.ReadFront(out, 7));
    EXPECT_STREQ(out, "-------");
    EXPECT_EQ(Content(b), "abcdef");
    ASSERT_TRUE(b.ReadFront(out, 4));
    EXPECT_EQ(std::string(out, 4), "abcd");
    EXPECT_EQ(Content(b), "ef");
}

TEST(ByteBuffer, RemoveFrontBeyondTheEndEmpties)
{
    CByteBuffer b;
    ASSERT_TRUE(b.Append("abcdef", 6));
    b.RemoveFront(2);
    EXPECT_EQ(Content(b), "cdef");
    b.RemoveFront(100);
    EXPECT_EQ(b.Size(), 0u);
}

TEST(ByteBuffer, ResetFreesOnlyWhenForcedOrAtThreshold)
{
    struct Case {
        uint32_t threshold;
        bool force;
        bool freed;
    } cases[] = {
        {0, false, false},     // threshold 0: never released by a plain reset
        {0, true, true},
        {1000, false, false},  // below the threshold
        {266, false, true},    // allocated size has reached it
    };
    for (const Case& c : cases) {
        CByteBuffer b;
        b.SetGrowth(256, c.threshold);
        ASSERT_TRUE(b.Append("0123456789", 10));
        b.Reset(c.force);
        EXPECT_EQ(b.Size(), 0u);
        EXPECT_EQ(b.Data() == nullptr, c.freed) << c.threshold << " " << c.force;
    }
}

TEST(ByteBuffer, DetachHandsOverTheBlock)
{
    CByteBuffer b;
    ASSERT_TRUE(b.Append("abc", 3));
    uint8_t* block = b.Detach();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::memcmp(block, "abc", 3), 0);
    EXPECT_EQ(b.Data(), nullptr);
    EXPECT_EQ(b.Size(), 0u);
    EXPECT_EQ(b.Capacity(), 0u);
    gpFree(block);
}

TEST(ByteBuffer, FailedGrowthKeepsTheContent)
{
    CByteBuffer b;
    ASSERT_TRUE(b.Append("abc", 3));
    gpFailAllocationAfter(0);
    EXPECT_FALSE(b.Append(std::string(300, 'x').data(), 300));
    EXPECT_EQ(Content(b), "abc");
    EXPECT_TRUE(b.Append("d", 1));
    EXPECT_EQ(Content(b), "abcd");
}

TEST(ByteBuffer, RefusesSizesBeyond32Bits)
{
    CByteBuffer b;
    ASSERT_TRUE(b.Append("abc", 3));
    EXPECT_FALSE(b.Grow(UINT32_MAX - 100));
    EXPECT_EQ(Content(b), "abc");
}

}  // namespace
