// The program itself: its start line, a session with it, a clean stop, and
// scripted mode with a record file.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestClient.h"

using namespace tableserver;
using namespace tableserver::test;

namespace {

constexpr int kWait = 10000;

// The server program as a child process, its standard output in a pipe.
class Program {
public:
    explicit Program(const std::vector<std::string>& args)
    {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            dup2(out[1], STDOUT_FILENO);
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(TABLESERVER_PROGRAM));
            for (const std::string& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            execv(TABLESERVER_PROGRAM, argv.data());
            _exit(127);
        }
        close(out[1]);
        out_ = out[0];
    }
    ~Program()
    {
        if (pid_ > 0 && !exited_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0)
            close(out_);
    }

    // The next line of its output, or "" when none comes in time.
    std::string ReadLine(int timeoutMs)
    {
        for (;;) {
            const size_t end = buffer_.find('\n');
            if (end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return line;
            }
            pollfd p = {out_, POLLIN, 0};
            if (poll(&p, 1, timeoutMs) <= 0)
                return {};
            char chunk[256];
            const ssize_t n = read(out_, chunk, sizeof chunk);
            if (n <= 0)
                return {};
            buffer_.append(chunk, size_t(n));
        }
    }

    uint16_t ListeningPort(int timeoutMs)
    {
        const std::string line = ReadLine(timeoutMs);
        unsigned port = 0;
        return std::sscanf(line.c_str(), "listening on 127.0.0.1:%u", &port) == 1 ? uint16_t(port) : 0;
    }

    // Exit code, or -1 when it does not end in time.
    int Wait(int timeoutMs)
    {
        for (int waited = 0; waited < timeoutMs; waited += 10) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                exited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            }
            usleep(10000);
        }
        return -1;
    }
    void Signal(int signal) { kill(pid_, signal); }

private:
    pid_t pid_ = -1;
    int out_ = -1;
    bool exited_ = false;
    std::string buffer_;
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
