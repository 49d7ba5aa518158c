// The program itself: its command line, its start line, a session through
// it with a record file, a clean stop; and, when the table server stand-in
// is built in the same tree, a speed-test round trip to the real table
// server through every stand-in.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "ChildProgram.h"
#include "HttpText.h"
#include "ProxyTestKit.h"
#include "RelayProxy.h"

using namespace proxies;
using namespace proxies::test;

namespace {

using Program = serverkit::test::ChildProgram;

Program Proxies(const std::vector<std::string>& args)
{
    return Program(PROXIES_PROGRAM, args, true);
}

TEST(ProgramTest, UsageAndBadCommandLines)
{
    Program help = Proxies({"--help"});
    EXPECT_EQ(help.ReadLine(), "usage: mardavel_proxies MODE [options]");
    EXPECT_EQ(help.Wait(), 0);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"socks", "--port", "x"}, {"ftp"}, {"http", "--bound", "name"}}) {
        Program bad = Proxies(args);
        EXPECT_EQ(bad.Wait(), 2);
    }
}

TEST(ProgramTest, SessionThroughTheProgramIsRecordedAndItStopsCleanly)
{
    RunningServer target(std::make_unique<EchoService>());
    char recordPath[] = "/tmp/proxies-record-XXXXXX";
    const int recordFd = mkstemp(recordPath);
    ASSERT_GE(recordFd, 0);
    close(recordFd);

    Program socks = Proxies({"socks", "--port", "0", "--target",
                             "127.0.0.1:" + std::to_string(target.port()), "--user", "alice",
                             "--password", "secret", "--record", recordPath});
    const uint16_t port = socks.ListeningPort();
    ASSERT_NE(port, 0);
    TestClient client(port);
    ASSERT_TRUE(client.Send(Bytes({5, 2, 0, 2, 1, 5}) + "alice" + Bytes({6}) + "secret" +
                            Bytes({5, 1, 0, 3, 10}) + "gs.example" + BigEndian16(4001)));
    EXPECT_EQ(HexBytes(client.Read(8)), "05 02 01 00 05 00 00 01");
    client.Read(6);
    ASSERT_TRUE(client.Send("ping"));
    EXPECT_EQ(client.Read(4), "ping");

    socks.Signal(SIGTERM);
    EXPECT_EQ(socks.Wait(), 0);
    EXPECT_TRUE(client.ClosedByPeer(1000));
    std::ifstream file(recordPath);
    std::stringstream lines;
    lines << file.rdbuf();
    unlink(recordPath);
    EXPECT_NE(lines.str().find("#1 socks5 greeting: 05 02 00 02\n#1 socks5 method: 05 02\n"),
              std::string::npos)
        << lines.str();
    EXPECT_NE(lines.str().find("#1 socks5 request: 05 01 00 03 0A 67 73 2E 65 78 61 6D 70 6C 65 0F A1\n"),
              std::string::npos)
        << lines.str();
}

TEST(ProgramTest, PortInUseIsReported)
{
    RunningServer holder(std::make_unique<EchoService>());
    Program socks = Proxies({"socks", "--port", std::to_string(holder.port())});
    EXPECT_EQ(socks.Wait(), 2);
}

#ifdef TABLESERVER_PROGRAM

// One way to the table server: the client writes to `up` and reads from
// `down` (the same connection, except through the tunnel's two legs).
struct Way {
    std::unique_ptr<TestClient> up;
    std::unique_ptr<TestClient> down;
    TestClient& Down() { return down ? *down : *up; }
};

class TableServerWaysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        server_ = std::make_unique<Program>(TABLESERVER_PROGRAM, std::vector<std::string>{"--port", "0"},
                                            true);
        serverPort_ = server_->ListeningPort();
        ASSERT_NE(serverPort_, 0);
    }

    uint16_t StartProxy(std::vector<std::string> args)
    {
        args.insert(args.begin() + 1, {"--port", "0"});
        proxies_.push_back(std::make_unique<Program>(PROXIES_PROGRAM, args, true));
        return proxies_.back()->ListeningPort();
    }

    std::string Server() const { return "127.0.0.1:" + std::to_string(serverPort_); }

    // The speed test the relay's client runs: 0x110 {previous, tick} is
    // answered by 0x80000110 with result 1 and the tick as its first word.
    void ExpectSpeedTestRoundTrip(Way& way, bool portHeader = false)
    {
        const uint32_t tick = 0x12345678;
        std::string bytes;
        if (portHeader)
            bytes += GameMessage(kPortHeaderId, LittleEndian32(serverPort_) + LittleEndian32(0));
        bytes += GameMessage(0x110, LittleEndian32(7) + LittleEndian32(tick));
        ASSERT_TRUE(way.up->Send(bytes));
        EXPECT_EQ(HexBytes(way.Down().Read(20)),
                  HexBytes(LittleEndian32(0x80000110) + LittleEndian32(8) + LittleEndian32(1) +
                           LittleEndian32(tick) + LittleEndian32(7)));
    }

    Way Direct(uint16_t port)
    {
        Way way;
        way.up = std::make_unique<TestClient>(port);
        return way;
    }

    // Through a proxy (connectTo is not the relay) the legs name the relay in full.
    Way TunnelLegs(uint16_t connectTo, uint16_t relayPort, const std::string& lastLine = "")
    {
        const std::string host = "127.0.0.1:" + std::to_string(relayPort);
        const std::string origin = connectTo == relayPort ? "" : "http://" + host;
        const std::string extra = lastLine.empty() ? "" : lastLine + "\r\n";
        Way way;
        way.down = std::make_unique<TestClient>(connectTo);
        way.down->Send("GET " + origin + "/default.asp?SERIALNO=&METHOD=CONNECT&USERID=&SERVERIP=16777343&SERVERPORT=" +
                       std::to_string(TunnelPortNumber(serverPort_)) +
                       " HTTP/1.0\r\nAccept: */*\r\nHost: " + host + "\r\n" + extra + "\r\n");
        HttpHead answer;
        std::string error;
        do {
            answer = HttpHead();
            if (!ParseResponseHead(way.down->ReadHead(), answer, error))
                return way;
        } while (answer.status == 100);
        if (!answer.Field("SERIALNO"))
            return way;
        way.up = std::make_unique<TestClient>(connectTo);
        way.up->Send("POST " + origin + "/default.asp HTTP/1.0\r\nMETHOD: SEND\r\nSERIALNO: " +
                     *answer.Field("SERIALNO") + "\r\nHost: " + host +
                     "\r\nContent-Length: 1073741824\r\n" + extra + "\r\n");
        return way;
    }

    std::unique_ptr<Program> server_;
    uint16_t serverPort_ = 0;
    std::vector<std::unique_ptr<Program>> proxies_;
};

TEST_F(TableServerWaysTest, Socks4And4a)
{
    const uint16_t socks = StartProxy({"socks"});
    Way v4 = Direct(socks);
    ASSERT_TRUE(v4.up->Send(Bytes({4, 1}) + BigEndian16(serverPort_) + Bytes({127, 0, 0, 1}) +
                            "player" + '\0'));
    ASSERT_EQ(HexBytes(v4.up->Read(8).substr(0, 2)), "00 5A");
    ExpectSpeedTestRoundTrip(v4);

    Way v4a = Direct(socks);
    ASSERT_TRUE(v4a.up->Send(Bytes({4, 1}) + BigEndian16(serverPort_) + Bytes({0, 0, 0, 1}) +
                             "player" + '\0' + "localhost" + '\0'));
    ASSERT_EQ(HexBytes(v4a.up->Read(8).substr(0, 2)), "00 5A");
    ExpectSpeedTestRoundTrip(v4a);
}

TEST_F(TableServerWaysTest, Socks5WithLogin)
{
    const uint16_t socks = StartProxy({"socks", "--user", "alice", "--password", "secret"});
    Way way = Direct(socks);
    ASSERT_TRUE(way.up->Send(Bytes({5, 2, 0, 2, 1, 5}) + "alice" + Bytes({6}) + "secret" +
                             Bytes({5, 1, 0, 1, 127, 0, 0, 1}) + BigEndian16(serverPort_)));
    ASSERT_EQ(HexBytes(way.up->Read(14).substr(0, 6)), "05 02 01 00 05 00");
    ExpectSpeedTestRoundTrip(way);
}

TEST_F(TableServerWaysTest, RelayWithPortHeader)
{
    const uint16_t relay =
        StartProxy({"relay", "--user", "tavry", "--password", "pw", "--target", Server()});
    Way way = Direct(relay);
    ASSERT_TRUE(way.up->Send(Bytes({5, 2, 0, 2, 1, 5}) + "tavry" + Bytes({2}) + "pw" +
                             Bytes({5, 1, 0, 3, 10}) + "gs.example" + BigEndian16(80)));
    ASSERT_EQ(HexBytes(way.up->Read(14).substr(0, 6)), "05 02 01 00 05 00");
    ExpectSpeedTestRoundTrip(way, true);
}

TEST_F(TableServerWaysTest, HttpConnect)
{
    const uint16_t http = StartProxy({"http", "--user", "alice", "--password", "secret"});
    Way way = Direct(http);
    ASSERT_TRUE(way.up->Send("CONNECT " + Server() +
                             " HTTP/1.1\r\nContent-Type: text/html\r\nProxy-Connection: "
                             "Keep-Alive\r\nContent-length: 0\r\nProxy-Authorization: Basic " +
                             Base64Encode("alice:secret") + "\r\n\r\n"));
    ASSERT_EQ(way.up->ReadHead(), "HTTP/1.1 200 Connection established\r\n\r\n");
    ExpectSpeedTestRoundTrip(way);
}

TEST_F(TableServerWaysTest, HttpTunnelDirectAndThroughTheProxy)
{
    const uint16_t tunnel = StartProxy({"tunnel", "--continue", "1"});
    Way direct = TunnelLegs(tunnel, tunnel);
    ASSERT_TRUE(direct.up);
    ExpectSpeedTestRoundTrip(direct);

    const uint16_t http = StartProxy({"http", "--connect-status", "407"});
    Way proxied = TunnelLegs(http, tunnel);
    ASSERT_TRUE(proxied.up);
    ExpectSpeedTestRoundTrip(proxied);
}

#endif  // TABLESERVER_PROGRAM

}  // namespace
