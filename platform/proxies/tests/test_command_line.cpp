// The program's command line: modes, their options, and what is refused.
#include <gtest/gtest.h>

#include "CommandLine.h"

using namespace proxies;

namespace {

bool Parse(const std::vector<std::string>& args, CommandLine& out, std::string& error)
{
    out = CommandLine();
    error.clear();
    return ParseCommandLine(args, out, error);
}

TEST(CommandLineTest, ModesAndTheirDefaults)
{
    CommandLine command;
    std::string error;
    const struct {
        const char* mode;
        Mode expected;
        uint16_t port;
    } modes[] = {{"socks", Mode::kSocks, 26101},
                 {"relay", Mode::kRelay, 26102},
                 {"http", Mode::kHttp, 26103},
                 {"tunnel", Mode::kTunnel, 26104}};
    for (const auto& m : modes) {
        ASSERT_TRUE(Parse({m.mode}, command, error)) << error;
        EXPECT_EQ(command.mode, m.expected);
        EXPECT_EQ(command.port, m.port);
        EXPECT_FALSE(command.socks.forward.target.has_value());
    }
    // The relay always wants a login and speaks SOCKS5 only.
    ASSERT_TRUE(Parse({"relay"}, command, error));
    EXPECT_TRUE(command.socks.requireLogin);
    EXPECT_FALSE(command.socks.socks4);
    EXPECT_TRUE(command.socks.watchPortHeader);
    ASSERT_TRUE(Parse({"socks"}, command, error));
    EXPECT_FALSE(command.socks.requireLogin);
    EXPECT_TRUE(command.socks.socks4);
}

TEST(CommandLineTest, OptionsReachTheModesSettings)
{
    CommandLine command;
    std::string error;
    ASSERT_TRUE(Parse({"socks", "--port", "0", "--target", "127.0.0.1:26100", "--user", "alice",
                       "--password", "secret", "--bound", "ipv6", "--reply-code", "91",
                       "--method", "255", "--short-reply", "--handshake-timeout", "500",
                       "--connect-timeout", "700", "--record", "r.txt", "--verbose", "--delay", "250"},
                      command, error))
        << error;
    EXPECT_EQ(command.port, 0);
    ASSERT_TRUE(command.socks.forward.target.has_value());
    EXPECT_EQ(command.socks.forward.target->Text(), "127.0.0.1:26100");
    EXPECT_EQ(command.socks.forward.connectTimeoutMs, 700);
    EXPECT_EQ(command.socks.handshakeTimeoutMs, 500);
    EXPECT_TRUE(command.socks.requireLogin);
    EXPECT_EQ(command.socks.user, "alice");
    EXPECT_EQ(command.socks.password, "secret");
    EXPECT_EQ(command.socks.bound, BoundAddress::kIPv6);
    EXPECT_EQ(command.socks.replyCode, 91);
    EXPECT_EQ(command.socks.forcedMethod, 255);
    EXPECT_TRUE(command.socks.shortReply);
    EXPECT_EQ(command.recordPath, "r.txt");
    EXPECT_TRUE(command.verbose);
    EXPECT_EQ(command.socks.delayMs, 250);

    ASSERT_TRUE(Parse({"http", "--user", "u", "--password", "p", "--connect-status", "407",
                       "--long-reply"},
                      command, error))
        << error;
    EXPECT_TRUE(command.http.requireLogin);
    EXPECT_EQ(command.http.connectStatus, 407);
    EXPECT_EQ(command.http.shape, ReplyShape::kLong);

    ASSERT_TRUE(Parse({"tunnel", "--continue", "2", "--redirects", "5", "--redirect-to",
                       "127.0.0.1:9", "--route", "r1", "--require-route", "r0", "--get-status",
                       "500", "--empty-serial", "--short-reply"},
                      command, error))
        << error;
    EXPECT_EQ(command.tunnel.continues, 2);
    EXPECT_EQ(command.tunnel.redirects, 5);
    EXPECT_EQ(command.tunnel.redirectTo->Text(), "127.0.0.1:9");
    EXPECT_EQ(command.tunnel.route, "r1");
    EXPECT_EQ(command.tunnel.requireRoute, "r0");
    EXPECT_EQ(command.tunnel.getStatus, 500);
    EXPECT_TRUE(command.tunnel.emptySerial);
    EXPECT_EQ(command.tunnel.shape, ReplyShape::kShort);
}

TEST(CommandLineTest, BadCommandLinesAreRefusedWithAReason)
{
    const struct {
        std::vector<std::string> args;
        const char* reason;
    } cases[] = {
        {{}, "a mode is needed"},
        {{"ftp"}, "unknown mode"},
        {{"socks", "--port"}, "--port needs a value"},
        {{"socks", "--port", "70000"}, "not a number up to 65535"},
        {{"socks", "--port", "-1"}, "not a number"},
        {{"socks", "--target", "10.0.0.1:80"}, "not a loopback address"},
        {{"socks", "--target", "gs.example:80"}, "not a loopback address"},
        {{"socks", "--target", "127.0.0.1"}, "not HOST:PORT"},
        {{"socks", "--bound", "ipx"}, "not ipv4, name or ipv6"},
        {{"socks", "--bound-name", std::string(256, 'n')}, "longer than 255"},
        {{"socks", "--user", std::string(256, 'u')}, "longer than 255"},
        {{"socks", "--reply-code", "256"}, "not a number up to 255"},
        {{"socks", "--long-reply"}, "not an option of the socks mode"},
        {{"socks", "--connect-status", "403"}, "not an option of the socks mode"},
        {{"relay", "--continue", "1"}, "not an option of the relay mode"},
        {{"http", "--bound", "name"}, "not an option of the http mode"},
        {{"http", "--refuse"}, "not an option of the http mode"},
        {{"tunnel", "--delay", "10"}, "not an option of the tunnel mode"},
        {{"relay", "--delay", "60001"}, "not a number up to 60000"},
        {{"http", "--connect-status", "99"}, "not an HTTP status"},
        {{"http", "--short-reply", "--long-reply"}, "exclude each other"},
        {{"tunnel", "--user", "u"}, "not an option of the tunnel mode"},
        {{"tunnel", "--get-status", "100"}, "not a final HTTP status"},
        {{"tunnel", "--route", "a\r\nX-Injected: 1"}, "line break"},
        {{"tunnel", "--redirect-to", "nowhere"}, "not HOST:PORT"},
        {{"tunnel", "stray"}, "unknown argument"},
        {{"tunnel", "--frobnicate", "1"}, "unknown option"},
    };
    for (const auto& c : cases) {
        CommandLine command;
        std::string error;
        EXPECT_FALSE(Parse(c.args, command, error)) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    }
}

TEST(CommandLineTest, HelpAndServices)
{
    CommandLine command;
    std::string error;
    ASSERT_TRUE(Parse({"--help"}, command, error));
    EXPECT_TRUE(command.help);
    ASSERT_TRUE(Parse({"tunnel", "-h"}, command, error));
    EXPECT_TRUE(command.help);
    for (const char* mode : {"socks", "relay", "http", "tunnel"}) {
        ASSERT_TRUE(Parse({mode}, command, error));
        const std::unique_ptr<Service> service = MakeService(command);
        ASSERT_NE(service, nullptr);
        EXPECT_STREQ(service->name(), mode);
    }
}

}  // namespace
