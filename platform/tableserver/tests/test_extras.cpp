// The platform's extras of the default table over real TCP sessions: what a
// player gets on taking a seat, the task it asks for, the verdicts on the
// stages it reports and the title list it asks for again.
#include <gtest/gtest.h>

#include <cstring>

#include "PlayerExtras.h"
#include "ServerFixture.h"
#include "TestClient.h"

using namespace tableserver;
using namespace tableserver::test;

namespace {

constexpr int kWait = 5000;

std::vector<Message> Drain(TestClient& client) { return test::Drain(client, kWait); }

std::vector<uint8_t> SeatAndWord(uint32_t seat, uint32_t word)
{
    std::vector<uint8_t> body;
    PutU32(body, seat);
    PutU32(body, word);
    return body;
}

}  // namespace

TEST(Extras, ASeatedPlayerGetsInformationHonourTitlesAnAwardAndTheTaskStatus)
{
    RunningServer server;
    ASSERT_TRUE(server.ok());
    TestClient alice;
    Message reply;
    ASSERT_TRUE(alice.Connect(server.port()));
    ASSERT_TRUE(alice.Join("alice", 0, reply, kWait));
    const std::vector<Message> got = Drain(alice);

    // The players' records through the referee: five of 124 bytes, no count.
    const Message* info = FindId(got, msgid::kPlayerInfo);
    ASSERT_NE(info, nullptr);
    ASSERT_EQ(info->body.size(), 5 * kPlayerInfoSize);
    EXPECT_STREQ(reinterpret_cast<const char*>(info->body.data()), "alice");
    EXPECT_EQ(GetU32(info->body.data() + 20), 12u) << "rated games";
    EXPECT_EQ(GetU32(info->body.data() + 68), 2u) << "title id";
    EXPECT_EQ(GetU32(info->body.data() + 112), 3u) << "title level";

    // The honour table: {n, n pairs}, relayed by the referee.
    const Message* honour = FindId(got, msgid::kHonourTable);
    ASSERT_NE(honour, nullptr);
    EXPECT_EQ(honour->body, HonourTableBody());
    ASSERT_EQ(honour->body.size(), 4u + 2 * 8);
    EXPECT_EQ(GetU32(honour->body.data()), 2u);

    const Message* titles = FindId(got, msgid::kTitleList);
    ASSERT_NE(titles, nullptr);
    EXPECT_EQ(titles->result, kResultOk);
    ASSERT_EQ(titles->body.size(), 28u + 2 * kTitleRecordSize);
    EXPECT_EQ(GetU32(titles->body.data() + 24), 2u);
    EXPECT_EQ(GetU32(titles->body.data() + 28 + 40), 1u) << "the first title's id";

    // The award names the new player: one group of one title.
    const Message* award = FindId(got, msgid::kTitleAward);
    ASSERT_NE(award, nullptr);
    ASSERT_EQ(award->body.size(), 4u + 24 + kTitleRecordSize);
    EXPECT_EQ(GetU32(award->body.data()), 1u);
    EXPECT_STREQ(reinterpret_cast<const char*>(award->body.data() + 4), "alice");
    EXPECT_EQ(GetU32(award->body.data() + 24), 1u);

    const Message* status = FindId(got, msgid::kTaskStatus);
    ASSERT_NE(status, nullptr);
    ASSERT_EQ(status->body.size(), 12u);
    EXPECT_EQ(GetU32(status->body.data()), kTaskKey);
    EXPECT_EQ(GetU32(status->body.data() + 8), 0u) << "in progress";
}

TEST(Extras, TheTaskIsSentOnRequestAndStagesAreJudgedByTheirTime)
{
    RunningServer server;
    ASSERT_TRUE(server.ok());
    TestClient alice;
    Message reply;
    ASSERT_TRUE(alice.Connect(server.port()));
    ASSERT_TRUE(alice.Join("alice", 1, reply, kWait));
    Drain(alice);

    ASSERT_TRUE(alice.Send(Message(msgid::kTaskRequest, SeatAndWord(1, 0))));
    const std::vector<Message> task = Drain(alice);
    const Message* definition = FindId(task, msgid::kTaskDefinition);
    ASSERT_NE(definition, nullptr);
    ASSERT_GE(definition->body.size(), 240u);
    const uint32_t l1 = GetU32(definition->body.data() + 228), l2 = GetU32(definition->body.data() + 232),
                   l3 = GetU32(definition->body.data() + 236);
    EXPECT_EQ(definition->body.size(), 240u + l1 + l2 + l3) << "the three addresses fill the rest exactly";
    EXPECT_EQ(GetU32(definition->body.data()), kTaskStageMinutes[0]);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(definition->body.data() + 240), 7), "http://");
    const Message* progress = FindId(task, msgid::kTaskProgress);
    ASSERT_NE(progress, nullptr);
    ASSERT_EQ(progress->body.size(), 12u);
    EXPECT_EQ(GetU32(progress->body.data() + 4), kTaskStartElapsed);
    EXPECT_EQ(GetU32(progress->body.data() + 8), 1u) << "start counting";

    // Stages at 1, 3, 5 and 10 minutes.
    const struct {
        const char* what;
        uint32_t elapsed;
        uint32_t verdict;
    } cases[] = {
        {"short of the first stage", 59, kStageRefused},
        {"the first stage exactly", 60, 1},
        {"the second stage", 180, 2},
        {"past the last stage", 3600, 4},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(alice.Send(Message(msgid::kStageReached, SeatAndWord(1, c.elapsed))));
        const std::vector<Message> answer = Drain(alice);
        const Message* verdict = FindId(answer, msgid::kStageReached);
        ASSERT_NE(verdict, nullptr) << c.what;
        ASSERT_EQ(verdict->body.size(), 8u) << c.what;
        EXPECT_EQ(GetU32(verdict->body.data() + 4), c.verdict) << c.what;
    }
    // A report too short for its elapsed time gets no verdict.
    ASSERT_TRUE(alice.Send(Message(msgid::kStageReached, std::vector<uint8_t>(4, 0))));
    const std::vector<Message> none = Drain(alice);
    EXPECT_EQ(FindId(none, msgid::kStageReached), nullptr);
    EXPECT_TRUE(server.log().WaitFor("stage report of 4 bytes ignored", std::chrono::milliseconds(kWait)));

    // The title list asked for again (the titles dialog's request).
    std::vector<uint8_t> name(20, 0);
    std::memcpy(name.data(), "alice", 5);
    ASSERT_TRUE(alice.Send(Message(msgid::kTitleListRequest, name)));
    const std::vector<Message> asked = Drain(alice);
    const Message* titles = FindId(asked, msgid::kTitleList);
    ASSERT_NE(titles, nullptr);
    EXPECT_EQ(titles->body, TitleListBody());
}
