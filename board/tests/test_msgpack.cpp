#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "MsgPack.h"

namespace {

struct GpDeleter {
    void operator()(void* p) const { gpFree(p); }
};
using MsgPtr = std::unique_ptr<NetMsgHeader, GpDeleter>;

std::string Body(const NetMsgHeader* msg)
{
    return std::string(reinterpret_cast<const char*>(MsgBody(msg)), msg->length);
}

// Body of a stream being written: its first word is no id then.
std::string StreamBody(const NetMsgHeader* stream, uint32_t headerSize = kMsgLongHeaderSize)
{
    return std::string(reinterpret_cast<const char*>(stream) + headerSize, stream->length);
}

// A message block of exactly its size, so that a read past the body is caught
// by the address sanitizer.
std::vector<uint8_t> Exact(uint32_t id, const std::string& body, uint32_t extra = 0)
{
    const uint32_t header = MsgHeaderSize(id);
    std::vector<uint8_t> bytes(header + body.size());
    const NetMsgHeader h{id, static_cast<uint32_t>(body.size()), extra};
    std::memcpy(bytes.data(), &h, header);
    std::memcpy(bytes.data() + header, body.data(), body.size());
    return bytes;
}
NetMsgHeader* M(std::vector<uint8_t>& bytes)
{
    return reinterpret_cast<NetMsgHeader*>(bytes.data());
}

// ---- Building ------------------------------------------------------------------

TEST(MsgBuild, LongHeaderAlwaysHasBit31AndTheExtraWord)
{
    const uint32_t value = 0x11223344;
    MsgPtr msg(MsgBuild(0x26001, 7, {{4, &value}, {-1, "hi"}}));
    ASSERT_TRUE(msg);
    EXPECT_EQ(msg->id, 0x80026001u);
    EXPECT_EQ(msg->extra, 7u);
    EXPECT_EQ(msg->length, 4u + 3u);
    EXPECT_EQ(Body(msg.get()), std::string("\x44\x33\x22\x11hi\0", 7));
    EXPECT_EQ(MsgSize(msg.get()), 12u + 7u);
}

TEST(MsgBuild, EmptyFieldListGivesAnEmptyBody)
{
    MsgPtr longMsg(MsgBuild(0x80000280, 1, {}));
    MsgPtr shortMsg(MsgBuildPlain(0x26000, {}));
    ASSERT_TRUE(longMsg && shortMsg);
    EXPECT_EQ(longMsg->length, 0u);
    EXPECT_EQ(MsgSize(longMsg.get()), 12u);
    EXPECT_EQ(shortMsg->length, 0u);
    EXPECT_EQ(MsgSize(shortMsg.get()), 8u);
    EXPECT_EQ(MsgSize(nullptr), 0u);
}

TEST(MsgBuild, PlainHeaderNeverCarriesBit31)
{
    MsgPtr msg(MsgBuildPlain(0x80026000, {{-1, "x"}}));
    ASSERT_TRUE(msg);
    EXPECT_EQ(msg->id, 0x26000u);
    EXPECT_EQ(MsgSize(msg.get()), 8u + 2u);
}

TEST(MsgBuild, NullSourcesInAllocatingBuildersGiveOneZeroByte)
{
    MsgPtr msg(MsgBuildPlain(1, {{-1, nullptr}, {16, nullptr}, {2, "ab"}}));
    ASSERT_TRUE(msg);
    EXPECT_EQ(Body(msg.get()), std::string("\0\0ab", 4));
}

TEST(MsgBuild, NullSourcesInWritingBuildersGiveLengthZeroBytes)
{
    std::vector<uint8_t> block(64, 0xEE);
    NetMsgHeader* msg = MsgBuildInto(block.data(), 5, 9, {{3, nullptr}, {-1, "ok"}, {-1, nullptr}});
    ASSERT_EQ(msg, reinterpret_cast<NetMsgHeader*>(block.data()));
    EXPECT_EQ(msg->id, 0x80000005u);
    EXPECT_EQ(msg->extra, 9u);
    EXPECT_EQ(Body(msg), std::string("\0\0\0ok\0\0", 7));
    EXPECT_EQ(block[12 + 7], 0xEE);  // nothing written past the body

    std::vector<uint8_t> plain(32, 0xEE);
    msg = MsgBuildPlainInto(plain.data(), 6, {{2, "ab"}});
    EXPECT_EQ(msg->id, 6u);
    EXPECT_EQ(MsgSize(msg), 10u);
    EXPECT_EQ(Body(msg), "ab");
}

TEST(MsgBuild, OutOfMemoryGivesNull)
{
    gpFailAllocationAfter(0);
    EXPECT_EQ(MsgBuild(1, 0, {{-1, "abc"}}), nullptr);
    gpFailAllocationAfter(0);
    EXPECT_EQ(MsgBuildPlain(1, {}), nullptr);
}

TEST(MsgBuild, FieldsBeyondTheLargestMessageAreRefused)
{
    // The sizes are refused before anything is read from the sources.
    EXPECT_EQ(MsgBuild(1, 0, {{INT32_MAX, "x"}}), nullptr);
}

TEST(MsgClone, CopiesHeaderAndBody)
{
    auto bytes = Exact(0x80000010, "payload", 3);
    MsgPtr copy(MsgClone(M(bytes)));
    ASSERT_TRUE(copy);
    EXPECT_EQ(std::memcmp(copy.get(), bytes.data(), bytes.size()), 0);
    EXPECT_EQ(MsgClone(nullptr), nullptr);
}

// ---- Parsing -------------------------------------------------------------------

struct ParseCase {
    const char* name;
    std::string body;
    int32_t length;  // of the one field read
    bool ok;
};

TEST(MsgParse, BoundsOfOneField)
{
    const ParseCase cases[] = {
        {"bytes present", "abcd", 4, true},
        {"body too short", "abc", 4, false},
        {"string fits exactly", std::string("abc\0", 4), -4, true},
        {"string one too long", std::string("abcd\0", 5), -4, false},
        {"string without zero", "abcdefgh", -100, false},
        {"string ends past body", std::string("ab"), -3, false},
        {"empty string", std::string("\0", 1), -1, true},
        {"empty body", "", -5, false},
    };
    for (const ParseCase& c : cases) {
        for (uint32_t id : {0x26000u, 0x80026000u}) {
            auto bytes = Exact(id, c.body);
            const auto before = bytes;
            char dest[128];
            std::memset(dest, '#', sizeof dest);
            const int ok = (id & kMsgLongHeaderBit) ? MsgParseEx(M(bytes), {{c.length, dest}})
                                                     : MsgParse(M(bytes), {{c.length, dest}});
            EXPECT_EQ(ok, c.ok ? 1 : 0) << c.name;
            EXPECT_EQ(bytes, before) << c.name << ": message changed";
            if (!c.ok) {
                EXPECT_EQ(dest[0], '#') << c.name << ": copied on failure";
            }
        }
    }
}

TEST(MsgParse, CopiesNothingWhenALaterFieldFails)
{
    auto bytes = Exact(0x26000, std::string("\x01\x00\x00\x00toolong\0", 12));
    uint32_t first = 0xDEADBEEF;
    char name[4] = "---";
    EXPECT_EQ(MsgParse(M(bytes), {{4, &first}, {-4, name}}), 0);
    EXPECT_EQ(first, 0xDEADBEEFu);
    EXPECT_STREQ(name, "---");
    char roomy[8];
    EXPECT_EQ(MsgParse(M(bytes), {{4, &first}, {-8, roomy}}), 1);
    EXPECT_EQ(first, 1u);
    EXPECT_STREQ(roomy, "toolong");
}

// ---- Stream writing ------------------------------------------------------------------

TEST(StreamWrite, FirstAppendAllocatesHeaderDataAndGrow)
{
    NetMsgHeader* stream = nullptr;
    ASSERT_EQ(StreamWrite(&stream, "abcd", 4, 4096), 1);
    MsgPtr guard(stream);
    EXPECT_EQ(stream->id, 12u + 4u + 4096u);  // allocated size
    EXPECT_EQ(stream->length, 4u);            // used
    EXPECT_EQ(stream->extra, 0u);
    EXPECT_EQ(StreamBody(stream), "abcd");
}

TEST(StreamWrite, GrowsOnlyWhenTheBlockIsFull)
{
    NetMsgHeader* stream = nullptr;
    ASSERT_EQ(StreamWrite(&stream, "ab", 2, 10), 1);
    NetMsgHeader* first = stream;
    ASSERT_EQ(StreamWrite(&stream, "0123456789", 10, 10), 1);  // 12 + 12 fits in 24
    EXPECT_EQ(stream, first);
    EXPECT_EQ(stream->id, 24u);
    ASSERT_EQ(StreamWrite(&stream, "x", 1, 10), 1);
    EXPECT_EQ(stream->id, 12u + 12u + 1u + 10u);
    EXPECT_EQ(StreamBody(stream), "ab0123456789x");
    gpFree(stream);
}

TEST(StreamWrite, StringsNullSourcesAndManyFields)
{
    NetMsgHeader* stream = nullptr;
    const uint32_t v = 5;
    ASSERT_EQ(StreamWrite(&stream, &v, 4, "name", -1, nullptr, 3, nullptr, -1, 0), 1);
    EXPECT_EQ(StreamBody(stream), std::string("\x05\0\0\0name\0\0\0\0\0", 13));
    gpFree(stream);
}

TEST(StreamWrite, PlainStreamsUseTheShortHeader)
{
    NetMsgHeader* stream = nullptr;
    ASSERT_EQ(StreamWritePlain(&stream, "ab", 2, "c", 1, 0), 1);
    EXPECT_EQ(stream->id, 8u + 3u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(stream) + 8, 3), "abc");
    gpFree(stream);
}

TEST(StreamWrite, FailedGrowthKeepsTheBlock)
{
    NetMsgHeader* stream = nullptr;
    ASSERT_EQ(StreamWrite(&stream, "abc", 3, 0), 1);
    NetMsgHeader* before = stream;
    gpFailAllocationAfter(0);
    EXPECT_EQ(StreamWrite(&stream, "defg", 4, 0), 0);
    EXPECT_EQ(stream, before);
    EXPECT_EQ(stream->length, 3u);
    EXPECT_EQ(StreamBody(stream), "abc");
    gpFree(stream);

    NetMsgHeader* none = nullptr;
    gpFailAllocationAfter(0);
    EXPECT_EQ(StreamWrite(&none, "abc", 3, 0), 0);
    EXPECT_EQ(none, nullptr);
}

TEST(StreamWrite, RefusesBadArguments)
{
    NetMsgHeader* stream = nullptr;
    EXPECT_EQ(StreamAppend(10, &stream, {{"a", 1}}, 0), 0);
    EXPECT_EQ(StreamAppend(12, nullptr, {{"a", 1}}, 0), 0);
    EXPECT_EQ(StreamWrite(&stream, "a", 1, 0xFFFFFFF0u), 0);
    EXPECT_EQ(stream, nullptr);
}

// ---- Stream reading ------------------------------------------------------------------

// A finished long-header stream of exactly its size, cursor at 0.
std::vector<uint8_t> ReadableStream(const std::string& body)
{
    auto bytes = Exact(0x80000280, body, 1);
    M(bytes)->id = 0;
    return bytes;
}

TEST(StreamRead, ReadsInOrderAndStopsAtTheEnd)
{
    auto bytes = ReadableStream(std::string("\x07\0\0\0name\0\x09", 10));
    NetMsgHeader* s = M(bytes);
    uint32_t v = 0;
    char name[8];
    uint8_t last = 0;
    ASSERT_EQ(StreamRead(s, &v, 4), 1);
    EXPECT_EQ(v, 7u);
    EXPECT_EQ(s->id, 4u);
    ASSERT_EQ(StreamRead(s, name, -8), 1);
    EXPECT_STREQ(name, "name");
    EXPECT_EQ(s->id, 9u);
    EXPECT_EQ(StreamRead(s, &v, 4), 0);
    EXPECT_EQ(s->id, 9u);
    ASSERT_EQ(StreamRead(s, &last, 1), 1);
    EXPECT_EQ(last, 9u);
    EXPECT_EQ(StreamRead(s, &last, 1), 0);
}

TEST(StreamRead, StringBounds)
{
    const struct {
        std::string body;
        int32_t n;
        bool ok;
    } cases[] = {
        {std::string("abc\0", 4), -4, true},   // exactly n - 1 characters
        {std::string("abcd\0", 5), -4, false}, // n characters
        {"abcd", -100, false},                 // no zero within the body
        {std::string("\0", 1), 0, false},      // room for nothing
    };
    for (const auto& c : cases) {
        auto bytes = ReadableStream(c.body);
        char dest[128] = "#";
        EXPECT_EQ(StreamRead(M(bytes), dest, c.n), c.ok ? 1 : 0) << c.body;
        if (!c.ok) {
            EXPECT_STREQ(dest, "#");
            EXPECT_EQ(M(bytes)->id, 0u);
        }
    }
}

TEST(StreamRead, ManyFieldsAreAllOrNothing)
{
    auto bytes = ReadableStream(std::string("\x01\0\0\0\x02\0\0\0ab\0", 11));
    NetMsgHeader* s = M(bytes);
    uint32_t a = 0, b = 0;
    char text[3] = "-";
    uint8_t extra = 0xAA;
    EXPECT_EQ(StreamRead(s, &a, 4, &b, 4, text, -3, &extra, 1), 0);
    EXPECT_EQ(a, 0u);
    EXPECT_EQ(s->id, 0u);
    EXPECT_EQ(StreamRead(s, &a, 4, &b, 4, text, -2), 0);  // "ab" needs 3
    EXPECT_EQ(a, 0u);
    ASSERT_EQ(StreamRead(s, &a, 4, &b, 4, text, -3), 1);
    EXPECT_EQ(a, 1u);
    EXPECT_EQ(b, 2u);
    EXPECT_STREQ(text, "ab");
    EXPECT_EQ(s->id, 11u);
}

TEST(StreamRead, PlainReadersUseTheShortHeader)
{
    auto bytes = Exact(0x26000, std::string("\x03\0\0\0xy\0", 7));
    NetMsgHeader* s = M(bytes);
    s->id = 0;
    uint32_t v = 0;
    char text[4];
    ASSERT_EQ(StreamReadPlain(s, &v, 4, text, -4), 1);
    EXPECT_EQ(v, 3u);
    EXPECT_STREQ(text, "xy");
}

TEST(StreamRead, CursorBeyondTheBodyReadsNothing)
{
    auto bytes = ReadableStream("abcd");
    NetMsgHeader* s = M(bytes);
    s->id = 1000;
    char c;
    EXPECT_EQ(StreamRead(s, &c, 1), 0);
    EXPECT_EQ(StreamTake(s, 12, 1), nullptr);
    EXPECT_EQ(StreamTakeBytes(s, 1), nullptr);
    EXPECT_EQ(StreamPeekString(s, 12, nullptr), nullptr);
    EXPECT_EQ(s->id, 1000u);
}

TEST(StreamTake, PointsIntoTheBodyAndAdvances)
{
    auto bytes = ReadableStream(std::string("abcdname\0", 9));
    NetMsgHeader* s = M(bytes);
    const char* body = reinterpret_cast<char*>(bytes.data()) + 12;
    EXPECT_EQ(StreamTake(s, 12, 4), body);
    EXPECT_EQ(StreamTake(s, 12, -4), nullptr);  // "name" needs 5
    EXPECT_EQ(StreamTake(s, 12, -5), body + 4);
    EXPECT_EQ(s->id, 9u);
    EXPECT_EQ(StreamTake(s, 12, 1), nullptr);
    EXPECT_EQ(StreamTake(s, 9, 1), nullptr);  // not a header size
}

TEST(StreamTakeBytes, StaysWithinTheBody)
{
    auto bytes = ReadableStream("0123456789");
    NetMsgHeader* s = M(bytes);
    EXPECT_NE(StreamTakeBytes(s, 6), nullptr);
    EXPECT_EQ(StreamTakeBytes(s, 5), nullptr);
    EXPECT_EQ(StreamTakeBytes(s, UINT32_MAX), nullptr);
    EXPECT_EQ(s->id, 6u);
    EXPECT_NE(StreamTakeBytes(s, 4), nullptr);
    EXPECT_NE(StreamTakeBytes(s, 0), nullptr);
    EXPECT_EQ(s->id, 10u);
}

TEST(StreamReadString, CutsToTheDestination)
{
    auto bytes = ReadableStream(std::string("longer text\0ok\0tail", 19));
    NetMsgHeader* s = M(bytes);
    char small[5];
    ASSERT_EQ(StreamReadString(s, 12, small, sizeof small), 1);
    EXPECT_STREQ(small, "long");
    EXPECT_EQ(s->id, 12u);  // past the whole string
    char roomy[16];
    ASSERT_EQ(StreamReadString(s, 12, roomy, sizeof roomy), 1);
    EXPECT_STREQ(roomy, "ok");
    std::strcpy(roomy, "kept");
    EXPECT_EQ(StreamReadString(s, 12, roomy, sizeof roomy), 0);  // "tail" has no zero
    EXPECT_STREQ(roomy, "kept");
    EXPECT_EQ(s->id, 15u);
}

TEST(StreamPeekString, GivesPointerAndLengthWithZero)
{
    auto bytes = Exact(0x26000, std::string("hello\0rest", 10));
    NetMsgHeader* s = M(bytes);
    s->id = 0;
    uint32_t length = 0;
    const char* text = StreamPeekString(s, 8, &length);
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "hello");
    EXPECT_EQ(length, 6u);
    EXPECT_EQ(s->id, 6u);
    EXPECT_EQ(StreamPeekString(s, 8, &length), nullptr);
    EXPECT_EQ(s->id, 6u);
}

TEST(Stream, WrittenStreamReadsBack)
{
    NetMsgHeader* stream = nullptr;
    const uint32_t a = 0x01000001, count = 2;
    ASSERT_EQ(StreamWrite(&stream, &a, 4, &count, 4, "seat", -1, 4096), 1);
    stream->id = 0;
    uint32_t ra = 0, rc = 0;
    char name[5];
    ASSERT_EQ(StreamRead(stream, &ra, 4, &rc, 4, name, -5), 1);
    EXPECT_EQ(ra, a);
    EXPECT_EQ(rc, count);
    EXPECT_STREQ(name, "seat");
    gpFree(stream);
}

}  // namespace
