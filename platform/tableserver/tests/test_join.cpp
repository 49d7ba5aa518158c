// The join, watchers, and the platform's table messages over real TCP
// sessions.
#include <gtest/gtest.h>

#include <cstring>

#include "ServerFixture.h"
#include "TestClient.h"

using namespace tableserver;
using namespace tableserver::test;

namespace {

constexpr int kWait = 5000;

std::string BodyText(const Message& m, size_t offset = 0)
{
    if (m.body.size() <= offset)
        return {};
    const char* text = reinterpret_cast<const char*>(m.body.data() + offset);
    return std::string(text, strnlen(text, m.body.size() - offset));
}

std::vector<Message> Drain(TestClient& client) { return test::Drain(client, kWait); }

struct Joined {
    TestClient client;
    Message reply;
    bool Join(uint16_t port, const std::string& name, uint16_t chair)
    {
        return client.Connect(port) && client.Join(name, chair, reply, kWait) &&
               reply.result == kResultOk;
    }
};

}  // namespace

TEST(Join, ReplyListsTheFiveSeatsAndTheRoomOptionsThenTheTable)
{
    TableOptions options;
    options.roomOptions = "1,0,1,0,0,0,0,0,3,1";
    RunningServer server(options);
    ASSERT_TRUE(server.ok());

    Joined alice;
    ASSERT_TRUE(alice.Join(server.port(), "alice", 2));
    JoinReplyView view;
    ASSERT_TRUE(ReadJoinReply(alice.reply, view));
    ASSERT_EQ(view.records.size(), 5u);
    const char* expected[] = {"Bot1", "Bot2", "alice", "Bot4", "Bot5"};
    for (int chair = 0; chair < 5; ++chair) {
        EXPECT_EQ(view.records[chair].chairAndCodePage, uint32_t(chair) | 936u << 16);
        EXPECT_STREQ(view.records[chair].userName, expected[chair]);
    }
    EXPECT_EQ(view.roomOptions, "1,0,1,0,0,0,0,0,3,1");

    // Then the table itself, as the board exports it for this player.
    Message data;
    ASSERT_TRUE(alice.client.WaitFor(msgid::kBoardData, data, kWait));
    ASSERT_GE(data.body.size(), 12u + 5 * sizeof(BoardPlayerRecord));
    EXPECT_EQ(GetU32(data.body.data() + 8), 5u);  // player count after the two versions
    int found = 0;
    for (int i = 0; i < 5; ++i) {
        BoardPlayerRecord record;
        std::memcpy(&record, data.body.data() + 12 + i * sizeof record, sizeof record);
        if (record.seat == 2) {
            EXPECT_STREQ(record.userName, "alice");
            ++found;
        }
    }
    EXPECT_EQ(found, 1);
}

TEST(Join, RefusalsAnswerTheResultAndClose)
{
    RunningServer server;
    ASSERT_TRUE(server.ok());
    Joined holder;
    ASSERT_TRUE(holder.Join(server.port(), "holder", 1));

    const struct {
        const char* what;
        const char* name;
        uint16_t chair;
        uint32_t result;
        const char* logged;
    } cases[] = {
        {"empty user name", "", 0, kJoinIllegalUser, "empty user name"},
        {"chair beyond the watchers' chairs", "dave", 10, kJoinNotNow, "chair 10 does not exist"},
        {"seat of a connected player", "eve", 1, kJoinNotNow, "seat 1 is taken by holder"},
        {"a bot's name at another seat", "Bot4", 0, kJoinNotNow, "Bot4 holds seat 3"},
        {"a player's name at another seat", "holder", 2, kJoinNotNow, "holder holds seat 1"},
    };
    for (const auto& c : cases) {
        TestClient client;
        ASSERT_TRUE(client.Connect(server.port())) << c.what;
        Message reply;
        ASSERT_TRUE(client.Join(c.name, c.chair, reply, kWait)) << c.what;
        EXPECT_EQ(reply.result, c.result) << c.what;
        EXPECT_TRUE(reply.body.empty()) << c.what;
        EXPECT_TRUE(client.WaitClosed(kWait)) << c.what;
        EXPECT_TRUE(server.log().WaitFor(c.logged, std::chrono::milliseconds(kWait))) << c.what;
    }
    // The holder is undisturbed.
    const std::vector<Message> seen = Drain(holder.client);
    EXPECT_TRUE(FindId(seen, msgid::kPlayerOffline) == nullptr);
    EXPECT_TRUE(FindId(seen, msgid::kEndOfGame) == nullptr);
}

TEST(Join, SpeedTestIsAnsweredBeforeAndAfterTheJoin)
{
    RunningServer server;
    ASSERT_TRUE(server.ok());
    TestClient client;
    ASSERT_TRUE(client.Connect(server.port()));
    for (int round = 0; round < 2; ++round) {
        std::vector<uint8_t> body;
        PutU32(body, 17);          // previous result
        PutU32(body, 0x12345678);  // tick count
        ASSERT_TRUE(client.Send(Message(msgid::kSpeedTest, body)));
        Message reply;
        ASSERT_TRUE(client.WaitFor(ReplyId(msgid::kSpeedTest), reply, kWait));
        ASSERT_GE(reply.body.size(), 4u);
        EXPECT_EQ(GetU32(reply.body.data()), 0x12345678u);  // the first word echoes the tick
        if (round == 0) {
            Message joined;
            ASSERT_TRUE(client.Join("sam", 0, joined, kWait));
        }
    }
}

TEST(Join, WatcherSeesTheSeatsComeAndGo)
{
    RunningServer server;
    ASSERT_TRUE(server.ok());
    Joined watcher;
    ASSERT_TRUE(watcher.Join(server.port(), "wanda", 5 + 3));  // watches seat 3
    Drain(watcher.client);
    EXPECT_TRUE(server.log().WaitFor("wanda watches seat 3", std::chrono::milliseconds(kWait)));

    // A player who vanishes, and comes back.
    {
        Joined alice;
        ASSERT_TRUE(alice.Join(server.port(), "alice", 0));
        Drain(alice.client);
    }
    Message note;
    ASSERT_TRUE(watcher.client.WaitFor(msgid::kPlayerOffline, note, kWait));
    EXPECT_EQ(BodyText(note), "alice");
    EXPECT_TRUE(server.log().WaitFor("seat 0 (alice) is away", std::chrono::milliseconds(kWait)));

    Joined back;
    ASSERT_TRUE(back.Join(server.port(), "alice", 0));
    JoinReplyView view;
    ASSERT_TRUE(ReadJoinReply(back.reply, view));
    EXPECT_STREQ(view.records[0].userName, "alice");
    ASSERT_TRUE(watcher.client.WaitFor(msgid::kPlayerBack, note, kWait));
    EXPECT_EQ(BodyText(note), "alice");

    // A leave is answered, then the seat is away as after a drop.
    ASSERT_TRUE(back.client.Send(Message(msgid::kLeave, {})));
    Message reply;
    ASSERT_TRUE(back.client.WaitFor(ReplyId(msgid::kLeave), reply, kWait));
    EXPECT_EQ(reply.result, kResultOk);
    EXPECT_EQ(BodyText(reply), "alice");
    EXPECT_TRUE(back.client.WaitClosed(kWait));
    ASSERT_TRUE(watcher.client.WaitFor(msgid::kPlayerOffline, note, kWait));
    EXPECT_EQ(BodyText(note), "alice");
}

TEST(Join, SecondLoginReplacesTheFirst)
{
    RunningServer server;
    ASSERT_TRUE(server.ok());
    Joined first;
    ASSERT_TRUE(first.Join(server.port(), "alice", 4));
    Drain(first.client);
    Joined second;
    ASSERT_TRUE(second.Join(server.port(), "alice", 4));

    Message end;
    ASSERT_TRUE(first.client.WaitFor(msgid::kEndOfGame, end, kWait));
    EXPECT_EQ(end.result, kEndOfGameDoubleLogin);
    EXPECT_EQ(BodyText(end), "alice");
    EXPECT_TRUE(first.client.WaitClosed(kWait));
    first.client.Close();
    EXPECT_TRUE(server.log().WaitFor("replaced by a new login of alice", std::chrono::milliseconds(kWait)));
    // The new session holds the seat.
    const std::vector<Message> after = Drain(second.client);
    EXPECT_TRUE(FindId(after, msgid::kBoardData) != nullptr);
}

TEST(Join, SilentMessagesGetNoAnswerAndTitlesAreKept)
{
    RunningServer server;
    ASSERT_TRUE(server.ok());
    Joined alice;
    ASSERT_TRUE(alice.Join(server.port(), "alice", 1));
    Drain(alice.client);
    // The title request comes as 0x26020 or, from the board, as 0x26022.
    auto title = [](uint32_t id) {
        std::vector<uint8_t> body;
        PutU32(body, 1);
        PutU32(body, id);
        return body;
    };
    for (const Message& m : {Message(msgid::kKeepAlive, {}), Message(msgid::kIdle, {}),
                             Message(msgid::kEmptyRequest, {}), Message(msgid::kSetTitle, title(7)),
                             Message(msgid::kSeatPlayer, title(9))})
        ASSERT_TRUE(alice.client.Send(m));
    EXPECT_TRUE(Drain(alice.client).empty());
    EXPECT_TRUE(server.log().WaitFor("alice shows title 7", std::chrono::milliseconds(kWait)));
    EXPECT_TRUE(server.log().WaitFor("alice shows title 9", std::chrono::milliseconds(kWait)));
}

TEST(Join, TrustPlayIsAnnouncedToTheTableAndLimited)
{
    TableOptions options;
    options.trustLimit = 1;
    RunningServer server(options);
    ASSERT_TRUE(server.ok());
    Joined alice, watcher;
    ASSERT_TRUE(alice.Join(server.port(), "alice", 0));
    ASSERT_TRUE(watcher.Join(server.port(), "wanda", 5));
    Drain(alice.client);
    Drain(watcher.client);

    auto request = [&](uint32_t kind) {
        std::vector<uint8_t> body;
        PutU32(body, kind);
        PutName20(body, "alice");
        return alice.client.Send(Message(msgid::kTrustPlay, body));
    };
    const struct {
        uint32_t request;
        uint32_t result;
        std::vector<uint8_t> head;  // mode, used, limit
        bool toOthers;
    } steps[] = {
        {1, kResultOk, {1, 0, 1, 1}, true},   // enter: used 1 of limit 1
        {0, kResultOk, {0, 0, 1, 1}, true},   // leave: allowed
        {2, kResultOk, {2, 0, 2, 1}, true},   // entered on a time-out: used 2
        {0, 0, {0, 0, 2, 1}, false},          // leaving is refused now, told only to alice
    };
    for (const auto& s : steps) {
        ASSERT_TRUE(request(s.request));
        const std::vector<Message> own = Drain(alice.client);
        const Message* notice = FindId(own, ReplyId(msgid::kTrustPlay));
        ASSERT_NE(notice, nullptr) << "request " << s.request;
        EXPECT_EQ(notice->result, s.result);
        EXPECT_EQ(std::vector<uint8_t>(notice->body.begin(), notice->body.begin() + 4), s.head);
        EXPECT_EQ(BodyText(*notice, 4), "alice");
        const std::vector<Message> seen = Drain(watcher.client);
        EXPECT_EQ(FindId(seen, ReplyId(msgid::kTrustPlay)) != nullptr, s.toOthers) << "request " << s.request;
    }
}

TEST(Join, TrustQuitIsConfirmedAndTheDepartureIsNoDrop)
{
    RunningServer server;
    ASSERT_TRUE(server.ok());
    Joined alice, bob;
    ASSERT_TRUE(alice.Join(server.port(), "alice", 0));
    ASSERT_TRUE(bob.Join(server.port(), "bob", 1));
    Drain(alice.client);
    Drain(bob.client);

    std::vector<uint8_t> body;
    PutName20(body, "alice");
    ASSERT_TRUE(alice.client.Send(Message(msgid::kTrustQuit, body)));
    Message reply;
    ASSERT_TRUE(alice.client.WaitFor(ReplyId(msgid::kTrustQuit), reply, kWait));
    EXPECT_EQ(reply.result, kResultOk);
    EXPECT_EQ(reply.body, body);
    alice.client.Close();

    const std::vector<Message> seen = Drain(bob.client);
    const Message* quit = FindId(seen, ReplyId(msgid::kTrustQuit));
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(BodyText(*quit), "alice");
    EXPECT_TRUE(server.log().WaitFor("connection #1 alice closed", std::chrono::milliseconds(kWait)));
    EXPECT_EQ(FindId(Drain(bob.client), msgid::kPlayerOffline), nullptr);

    // Coming back after a quit plays the seat again.
    Joined again;
    ASSERT_TRUE(again.Join(server.port(), "alice", 0));
    EXPECT_EQ(FindId(Drain(again.client), ReplyId(msgid::kTrustPlay)), nullptr);
}
