// Joined blocks, growable buffers, the client's byte buffer, the checksums,
// the file helpers beside them and the held-back message queue.
#include "BlockQueue.h"
#include "Checksum.h"
#include "RuntimeTestSupport.h"
#include "StringFunctions.h"
#include "board/ByteBuffer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <type_traits>

namespace {

std::string Bytes(const uint8_t* data, uint32_t size)
{
    return std::string(reinterpret_cast<const char*>(data), size);
}

TEST(JoinPieces, JoinsFieldsAndStrings)
{
    const uint32_t word = 0x04030201;
    JoinPiece pieces[] = {
        {0, 4, &word},
        {0, -1, "ab"},            // the string with its zero
        {0, -1, nullptr},         // a null string: one zero byte
        {0, 2, "xyz"},
        {0, 0, nullptr},
    };
    uint8_t* block = JoinPieces(pieces);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(pieces[0].totalLength, 10u);
    EXPECT_EQ(Bytes(block, 10), std::string("\x01\x02\x03\x04" "ab\0\0xy", 10));
    gpFree(block);
}

TEST(JoinPieces, EmptyListAndNoMemory)
{
    JoinPiece empty[] = {{7, 0, nullptr}};
    uint8_t* block = JoinPieces(empty);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(empty[0].totalLength, 0u);
    gpFree(block);

    JoinPiece pieces[] = {{0, 3, "abc"}, {0, 0, nullptr}};
    gpFailAllocationAfter(0);
    EXPECT_EQ(JoinPieces(pieces), nullptr);
    gpFailAllocationAfter(-1);
}

TEST(BufferAppend, GrowsByNeedPlusStep)
{
    uint8_t* data = nullptr;
    uint32_t used = 0;
    uint32_t capacity = 0;
    EXPECT_EQ(BufferAppend1(&data, &used, &capacity, "abc", 0, 1024), 1);   // length 0: nothing
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(used, 0u);

    EXPECT_EQ(BufferAppend1(&data, &used, &capacity, "abc", 3, 1024), 1);
    EXPECT_EQ(used, 3u);
    EXPECT_EQ(capacity, 3u + 1024u);
    EXPECT_EQ(BufferAppend2(&data, &used, &capacity, "name", -1, "\x05\x00\x00\x00", 4, 1024), 1);
    EXPECT_EQ(BufferAppend3(&data, &used, &capacity, "x", 1, nullptr, 2, "中", -1, 1024), 1);
    EXPECT_EQ(capacity, 1027u);   // everything fitted
    EXPECT_EQ(Bytes(data, used), std::string("abcname\0\x05\0\0\0x\0\0中\0", 18));

    // Growing past the capacity: needed size plus the step.
    std::string big(2000, 'b');
    EXPECT_EQ(BufferAppend1(&data, &used, &capacity, big.data(), 2000, 16), 1);
    EXPECT_EQ(capacity, 18u + 2000u + 16u);

    // No memory: the buffer stays as it was.
    const uint8_t* before = data;
    gpFailAllocationAfter(0);
    EXPECT_EQ(BufferAppend1(&data, &used, &capacity, big.data(), 2000, 16), 0);
    gpFailAllocationAfter(-1);
    EXPECT_EQ(data, before);
    EXPECT_EQ(used, 2018u);
    gpFree(data);
}

TEST(ClientByteBuffer, BehavesAsTheBoardsWithoutPrepend)
{
    CByteBuffer buffer;
    EXPECT_EQ(buffer.Step(), 256u);
    EXPECT_TRUE(buffer.Append("hello", 5));
    EXPECT_EQ(buffer.Capacity(), 5u + 256u);
    char front[3] = {};
    EXPECT_TRUE(buffer.ReadFront(front, 2));
    EXPECT_EQ(std::string(front, 2), "he");
    EXPECT_FALSE(buffer.ReadFront(front, 4));
    EXPECT_EQ(buffer.Size(), 3u);
    buffer.SetGrowth(16, 8);
    buffer.Reset(false);   // threshold reached: the block is freed
    EXPECT_EQ(buffer.Capacity(), 0u);
    EXPECT_TRUE(buffer.AppendOrZero(nullptr, 0));
    EXPECT_EQ(buffer.Size(), 1u);
    uint8_t* block = buffer.Detach();
    EXPECT_EQ(buffer.Size(), 0u);
    gpFree(block);
}

TEST(Checksum, Vectors)
{
    const struct {
        std::string bytes;
        uint32_t sum32;
        uint16_t sum16;
    } cases[] = {
        {"", 0, 0},
        {"abc", 0x616263, 0xB83D},                           // short block: the bytes big-endian
        {std::string("\x01\x02\x03\x04", 4), 0x1336597C, 0x8DAB},   // (0x12345678 ^ 0) + 0x01020304
        {"abcdefgh", 0x4F7587AD, 0x4890},
        {"123456789", 0x103547A6, 0x2A29},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(CalcChecksum(c.bytes.data(), static_cast<uint32_t>(c.bytes.size())), c.sum32);
        EXPECT_EQ(CalcChecksum16(c.bytes.data(), static_cast<uint32_t>(c.bytes.size())), c.sum16);
        EXPECT_EQ(CalcTextChecksum(c.bytes.c_str()), c.sum32);
    }
    EXPECT_EQ(CalcChecksum(nullptr, 5), 0u);
    EXPECT_EQ(CalcTextChecksum16("abc"), 0xB83D);
}

TEST(Checksum, UpperCaseFormsTouchOnlySingleByteLetters)
{
    EXPECT_EQ(CalcTextChecksumUpper("Mardavel"), CalcTextChecksum("MARDAVEL"));
    EXPECT_EQ(CalcTextChecksum16Upper("abc"), CalcTextChecksum16("ABC"));
    // "\x81\x61" is one character whose trail byte is 'a': it stays as it is.
    EXPECT_EQ(CalcTextChecksumUpper("\x81\x61z"), CalcTextChecksum("\x81\x61Z"));
    EXPECT_EQ(CalcTextChecksumUpper("中文abc"), CalcTextChecksum("中文ABC"));
}

TEST(ChecksumFiles, WriteAppendAndRotate)
{
    TempFolder folder;
    const std::string path = folder.File("data.bin");
    EXPECT_EQ(WriteBytesToFile(path.c_str(), "abc", 3), 1);
    EXPECT_EQ(WriteBytesToFile(path.c_str(), "xy", 2), 1);   // replaced
    EXPECT_EQ(TempFolder::ReadAll(path), "xy");
    EXPECT_EQ(AppendBytesToFile(path.c_str(), "z", 1), path.c_str());
    EXPECT_EQ(TempFolder::ReadAll(path), "xyz");
    EXPECT_EQ(WriteBytesToFile(folder.File("missing\\x.bin").c_str(), "a", 1), 0);
    EXPECT_EQ(AppendBytesToFile(folder.File("missing\\x.bin").c_str(), "a", 1), nullptr);

    // Ten rotations keep the file's nine latest generations.
    const std::string log = folder.File("game.log");
    for (int generation = 1; generation <= 11; ++generation) {
        TempFolder::WriteAll(log, "g" + std::to_string(generation));
        RotateFiles(log.c_str());
    }
    EXPECT_EQ(TempFolder::ReadAll(log), "<missing>");
    EXPECT_EQ(TempFolder::ReadAll(log + ".1"), "g11");
    EXPECT_EQ(TempFolder::ReadAll(log + ".9"), "g3");
    EXPECT_EQ(TempFolder::ReadAll(log + ".10"), "<missing>");
}

// A framed message: id, body length, [result word,] body.
std::string Message(uint32_t id, const std::string& body)
{
    std::string bytes(reinterpret_cast<const char*>(&id), 4);
    const uint32_t length = static_cast<uint32_t>(body.size());
    bytes.append(reinterpret_cast<const char*>(&length), 4);
    if (id & 0x80000000u)
        bytes.append("\x07\0\0\0", 4);
    return bytes + body;
}

TEST(BlockQueue, HoldsMessagesUntilTheHoldTimeRunsOut)
{
    CBlockQueue queue;
    EXPECT_EQ(queue.Pop(0), nullptr);   // empty
    const std::string shortMessage = Message(0x26001, "abc");
    const std::string longMessage = Message(0x80026001u, "reply");
    ASSERT_EQ(queue.Push(shortMessage.data()), 1);
    ASSERT_EQ(queue.Push(longMessage.data()), 1);

    queue.AddHold(100);
    queue.AddHold(50);
    EXPECT_EQ(queue.GetHold(), 150u);
    EXPECT_EQ(queue.Pop(60), nullptr);      // hold larger than the elapsed time
    EXPECT_EQ(queue.GetHold(), 90u);
    void* first = queue.Pop(100);            // smaller: hold cleared, oldest given
    EXPECT_EQ(queue.GetHold(), 0u);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(std::string(static_cast<char*>(first), shortMessage.size()), shortMessage);
    gpFree(first);
    void* second = queue.Pop(0);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(std::string(static_cast<char*>(second), longMessage.size()), longMessage);   // 12-byte header kept
    gpFree(second);
    EXPECT_EQ(queue.Pop(0), nullptr);

    queue.AddHold(UINT32_MAX);
    queue.AddHold(10);
    EXPECT_EQ(queue.GetHold(), UINT32_MAX);   // saturates
}

TEST(BlockQueue, PushFailsCleanlyWithoutMemory)
{
    CBlockQueue queue;
    const std::string message = Message(0x26002, "x");
    gpFailAllocationAfter(0);
    EXPECT_EQ(queue.Push(message.data()), 0);
    gpFailAllocationAfter(-1);
    EXPECT_EQ(queue.GetCount(), 0);
    EXPECT_EQ(queue.Push(nullptr), 0);
    // Copies still queued are freed by the destructor.
    EXPECT_EQ(queue.Push(message.data()), 1);
}

// The client's copy of the byte buffer is compiled without its prepend.
template <typename T>
constexpr auto HasPrepend(int) -> decltype(&T::Prepend, true)
{
    return true;
}
template <typename T>
constexpr bool HasPrepend(...)
{
    return false;
}
static_assert(!HasPrepend<CByteBuffer>(0), "the client's byte buffer has no prepend");

}  // namespace
