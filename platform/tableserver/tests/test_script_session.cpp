// Scripted mode, in process: the script's messages reach the client in order
// and everything the client sends is recorded.
#include <gtest/gtest.h>

#include <thread>

#include "PlayerExtras.h"
#include "Script.h"
#include "ServerFixture.h"
#include "TableServer.h"
#include "TestClient.h"

using namespace tableserver;
using namespace tableserver::test;

namespace {

constexpr int kWait = 5000;

struct ScriptRun {
    std::vector<std::string> record;
    std::mutex mutex;
    LogCapture capture;
    ServerLog log{capture.Sink()};
    std::unique_ptr<ScriptSession> session;
    std::unique_ptr<TableServer> server;
    std::atomic<bool> stop{false};
    std::thread thread;
    int exitCode = -1;

    bool Start(const std::string& text, int timeoutMs = 2000)
    {
        std::vector<ScriptStep> steps;
        std::string error;
        if (!ParseScript(text, steps, error))
            return false;
        session = std::make_unique<ScriptSession>(
            std::move(steps),
            [this](const std::string& line) {
                std::lock_guard<std::mutex> lock(mutex);
                record.push_back(line);
            },
            "0,0,0,0,0,0,0,0,3,1", timeoutMs, log);
        ServerOptions options;
        options.port = 0;
        server = std::make_unique<TableServer>(options, *session, log);
        if (!server->Listen(error))
            return false;
        thread = std::thread([this] {
            server->Run(stop);
            exitCode = session->ExitCode();
        });
        return true;
    }
    // Waits for the script to end; its exit code.
    int Wait()
    {
        if (thread.joinable())
            thread.join();
        return exitCode;
    }
    std::vector<std::string> Record()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return record;
    }
    ~ScriptRun()
    {
        stop.store(true);
        Wait();
    }
};

}  // namespace

TEST(ScriptSession, PlaysItsStepsAndRecordsTheClient)
{
    ScriptRun run;
    ASSERT_TRUE(run.Start(
        "expect 0x200\n"
        "join-reply\n"
        "send 0x229 str:alice\n"
        "send 0x80000280 result=1 hex:" + std::string(400, 'a') + "\n"
        "expect 0x201\n"
        "compress off\n"
        "send 0x80000280 result=1 hex:" + std::string(400, 'b') + "\n"
        "raw 2a020000 06000000 616c69636500\n"
        "wait-close\n"));
    TestClient client;
    ASSERT_TRUE(client.Connect(run.server->port()));
    Message reply;
    ASSERT_TRUE(client.Join("carol", 2, reply, kWait));
    JoinReplyView view;
    ASSERT_TRUE(ReadJoinReply(reply, view));
    EXPECT_STREQ(view.records[2].userName, "carol");
    EXPECT_STREQ(view.records[0].userName, "Bot1");

    Message m;
    ASSERT_EQ(client.Receive(m, kWait), TestClient::Wait::kMessage);
    EXPECT_EQ(m.id, msgid::kPlayerOffline);
    ASSERT_EQ(client.Receive(m, kWait), TestClient::Wait::kMessage);
    EXPECT_EQ(m.id, msgid::kBoardData);
    EXPECT_EQ(m.body, std::vector<uint8_t>(200, 0xAA));
    ASSERT_TRUE(client.Send(Message(msgid::kKeepAlive, {})));
    ASSERT_EQ(client.Receive(m, kWait), TestClient::Wait::kMessage);
    EXPECT_EQ(m.body, std::vector<uint8_t>(200, 0xBB));
    ASSERT_EQ(client.Receive(m, kWait), TestClient::Wait::kMessage);  // the raw bytes, framed by hand
    EXPECT_EQ(m.id, msgid::kPlayerBack);
    client.Close();
    EXPECT_EQ(run.Wait(), 0);

    const std::vector<std::string> record = run.Record();
    ASSERT_EQ(record.size(), 3u);
    EXPECT_EQ(record[0].substr(0, 30), "recv 0x00000200 len=108 636172");
    EXPECT_EQ(record[1], "recv 0x00000201 len=0 ");
    EXPECT_EQ(record[2], "closed: client closed the connection");
}

TEST(ScriptSession, AnExpectNotMetInTimeFailsTheScript)
{
    ScriptRun run;
    ASSERT_TRUE(run.Start("expect 0x200\njoin-reply 4\nexpect 0x21B\nsend 0x229 str:never\n", 300));
    TestClient client;
    ASSERT_TRUE(client.Connect(run.server->port()));
    Message reply;
    ASSERT_TRUE(client.Join("carol", 0, reply, kWait));
    EXPECT_EQ(reply.result, kJoinIllegalUser);
    EXPECT_TRUE(reply.body.empty());
    // A second client is turned away while the first is served.
    TestClient other;
    ASSERT_TRUE(other.Connect(run.server->port()));
    EXPECT_TRUE(other.WaitClosed(kWait));
    EXPECT_TRUE(client.WaitClosed(kWait));
    client.Close();
    EXPECT_EQ(run.Wait(), 1);
    const std::vector<std::string> record = run.Record();
    ASSERT_GE(record.size(), 2u);
    EXPECT_EQ(record[1], "failed: line 3: no message 0x0000021B in time");
    EXPECT_TRUE(run.capture.Contains("scripted mode serves one client"));
}

// The extras by name: the same bodies the default table sends, the player
// information naming the seats of the join reply; an extra before the join
// fails the script.
TEST(ScriptSession, ExtrasGoByNameWithTheJoinsSeats)
{
    ScriptRun run;
    ASSERT_TRUE(run.Start("expect 0x200\njoin-reply\nextra player-info\nextra titles\nextra stage-refused\n"
                          "wait-close\n"));
    TestClient client;
    ASSERT_TRUE(client.Connect(run.server->port()));
    Message reply;
    ASSERT_TRUE(client.Join("carol", 3, reply, kWait));
    Message m;
    ASSERT_EQ(client.Receive(m, kWait), TestClient::Wait::kMessage);
    EXPECT_EQ(m.id, msgid::kPlayerInfo);
    ASSERT_EQ(m.body.size(), 5 * kPlayerInfoSize);
    EXPECT_STREQ(reinterpret_cast<const char*>(m.body.data() + 3 * kPlayerInfoSize), "carol");
    EXPECT_STREQ(reinterpret_cast<const char*>(m.body.data()), "Bot1");
    ASSERT_EQ(client.Receive(m, kWait), TestClient::Wait::kMessage);
    EXPECT_EQ(m.id, msgid::kTitleList);
    EXPECT_EQ(m.result, kResultOk);
    EXPECT_EQ(m.body, TitleListBody());
    ASSERT_EQ(client.Receive(m, kWait), TestClient::Wait::kMessage);
    EXPECT_EQ(m.id, msgid::kStageReached);
    EXPECT_EQ(m.body, StageVerdictBody(kStageRefused));
    client.Close();
    EXPECT_EQ(run.Wait(), 0);

    ScriptRun early;
    ASSERT_TRUE(early.Start("extra honour\n"));
    TestClient second;
    ASSERT_TRUE(second.Connect(early.server->port()));
    EXPECT_TRUE(second.WaitClosed(kWait));
    EXPECT_EQ(early.Wait(), 1);
    const std::vector<std::string> record = early.Record();
    ASSERT_FALSE(record.empty());
    EXPECT_EQ(record.front(), "failed: line 1: extra before the client's join request");
}
