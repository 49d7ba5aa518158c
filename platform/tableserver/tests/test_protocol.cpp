// The join request and reply, the notices, and the board bridge.
#include <gtest/gtest.h>

#include <cstring>

#include "TableProtocol.h"
#include "TestClient.h"

using namespace tableserver;

TEST(JoinRequest, ReadsNameAndChairAndRefusesShortOrUnterminatedBodies)
{
    JoinRequest request;
    std::string why;
    ASSERT_TRUE(ParseJoinRequest(test::JoinRequestBytes("alice", 7), request, why)) << why;
    EXPECT_EQ(request.userName, "alice");
    EXPECT_EQ(request.chair, 7);

    std::vector<uint8_t> shortBody = test::JoinRequestBytes("alice", 0);
    shortBody.resize(107);
    EXPECT_FALSE(ParseJoinRequest(shortBody, request, why));
    EXPECT_NE(why.find("107 bytes"), std::string::npos);

    std::vector<uint8_t> unterminated = test::JoinRequestBytes("", 0);
    std::memset(unterminated.data(), 'x', 20);
    EXPECT_FALSE(ParseJoinRequest(unterminated, request, why));
}

TEST(JoinReply, RecordsAndOptionTextAreWhereTheClientReadsThem)
{
    std::vector<JoinSeat> seats(kSeatCount);
    seats[0] = {"alice", "Alice", 0};
    seats[3] = {"a-name-of-nineteen!", "Bot4", 9};
    seats[4] = {"a-name-that-is-far-too-long", "x", 0};
    const std::vector<uint8_t> body = BuildJoinReplyBody(seats, "1,2,3");

    ASSERT_EQ(body.size(), 4 + 5 * 48 + 4 + 6u);
    EXPECT_EQ(body[0], 5);  // u16 count
    EXPECT_EQ(body[1], 0);
    const uint8_t* record3 = body.data() + 4 + 3 * 48;
    EXPECT_EQ(GetU32(record3), 3u | 936u << 16);
    EXPECT_STREQ(reinterpret_cast<const char*>(record3 + 4), "a-name-of-nineteen!");
    EXPECT_STREQ(reinterpret_cast<const char*>(record3 + 24), "Bot4");
    EXPECT_EQ(GetU32(record3 + 44), 9u);
    // A name cut to 19 characters keeps its terminator.
    const uint8_t* record4 = body.data() + 4 + 4 * 48;
    EXPECT_EQ(std::strlen(reinterpret_cast<const char*>(record4 + 4)), 19u);
    // The option text with its zero ends the body: no second blob.
    EXPECT_EQ(GetU32(body.data() + 4 + 5 * 48), 6u);
    EXPECT_STREQ(reinterpret_cast<const char*>(body.data() + 248), "1,2,3");

    test::JoinReplyView view;
    ASSERT_TRUE(test::ReadJoinReply(JoinReply(kResultOk, body), view));
    EXPECT_EQ(view.roomOptions, "1,2,3");
    EXPECT_EQ(view.records.size(), 5u);
}

TEST(Notices, TrustStateCarriesModeCountsAndName)
{
    const Message m = TrustStateNotice(1, 2, 3, 5, "bob");
    EXPECT_EQ(m.id, 0x8000021Bu);
    EXPECT_EQ(m.result, 1u);
    // u16 mode, then the counts: low byte used, high byte limit.
    EXPECT_EQ(m.body, (std::vector<uint8_t>{2, 0, 3, 5, 'b', 'o', 'b', 0}));
}

TEST(Notices, NamesAreReadWithinTheFieldAndTheBody)
{
    std::string name;
    EXPECT_TRUE(ReadName({'a', 'b', 0, 'c'}, 0, 20, name));
    EXPECT_EQ(name, "ab");
    EXPECT_FALSE(ReadName({'a', 'b'}, 0, 20, name));                     // body ends first
    EXPECT_FALSE(ReadName(std::vector<uint8_t>(30, 'x'), 0, 20, name));  // field has no zero
    EXPECT_FALSE(ReadName({0}, 4, 20, name));                            // offset past the body
}

TEST(BoardBridge, FlatBlocksRoundTripAndOversizedBlocksAreRefused)
{
    const Message original(0x80026006, {1, 2, 3, 4, 5}, 7);
    FlatMessage block(original);
    EXPECT_EQ(block.get()->id, original.id);
    EXPECT_EQ(block.get()->length, 5u);
    EXPECT_EQ(block.get()->extra, 7u);
    Message back;
    ASSERT_TRUE(MessageFromBoard(block.get(), back));
    EXPECT_EQ(back.body, original.body);
    EXPECT_EQ(back.result, 7u);

    FlatMessage plain(Message(0x26000, {1, 0, 0, 0}));
    ASSERT_TRUE(MessageFromBoard(plain.get(), back));
    EXPECT_EQ(back.result, 0u);

    NetMsgHeader huge = {0x26005, kMaxBodyLength + 1, 0};
    EXPECT_FALSE(MessageFromBoard(&huge, back));
}
