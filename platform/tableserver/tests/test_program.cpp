// The program itself: its start line, a session with it, a clean stop, and
// scripted mode with a record file.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "ChildProgram.h"
#include "TestClient.h"

using namespace tableserver;
using namespace tableserver::test;

namespace {

constexpr int kWait = 10000;

// The server program as a child process, its standard output in a pipe.
class Program : public serverkit::test::ChildProgram {
public:
    explicit Program(const std::vector<std::string>& args) : ChildProgram(TABLESERVER_PROGRAM, args) {}
};

std::string TempPath(const std::string& name)
{
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir ? dir : "/tmp") + "/tableserver-" + std::to_string(getpid()) + "-" + name;
}

}  // namespace

TEST(Program, ReportsItsPortServesATableAndStopsOnSignal)
{
    Program program({"--port", "0", "--room-options", "0,0,0,0,0,0,0,0,3,1"});
    const uint16_t port = program.ListeningPort(kWait);
    ASSERT_NE(port, 0);
    TestClient client;
    ASSERT_TRUE(client.Connect(port));
    Message reply;
    ASSERT_TRUE(client.Join("alice", 0, reply, kWait));
    EXPECT_EQ(reply.result, kResultOk);
    program.Signal(SIGTERM);
    EXPECT_EQ(program.Wait(kWait), 0);
}

TEST(Program, RefusesBadArguments)
{
    Program program({"--port", "70000"});
    EXPECT_EQ(program.Wait(kWait), 2);
}

TEST(Program, ScriptedModeRecordsTheClientAndEnds)
{
    const std::string script = TempPath("script.txt");
    const std::string record = TempPath("record.txt");
    {
        std::ofstream file(script);
        file << "expect 0x200\njoin-reply\nsend 0x22A str:bob\nexpect 0x202\nclose\n";
    }
    Program program({"--port", "0", "--script", script, "--record", record});
    const uint16_t port = program.ListeningPort(kWait);
    ASSERT_NE(port, 0);
    TestClient client;
    ASSERT_TRUE(client.Connect(port));
    Message reply;
    ASSERT_TRUE(client.Join("bob", 1, reply, kWait));
    Message back;
    ASSERT_TRUE(client.WaitFor(msgid::kPlayerBack, back, kWait));
    ASSERT_TRUE(client.Send(Message(msgid::kLeave, {})));
    EXPECT_TRUE(client.WaitClosed(kWait));
    client.Close();
    EXPECT_EQ(program.Wait(kWait), 0);

    std::ifstream file(record);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("recv 0x00000200 len=108 626f6200"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("recv 0x00000202 len=0 \n"), std::string::npos) << text.str();
    std::remove(script.c_str());
    std::remove(record.c_str());
}
