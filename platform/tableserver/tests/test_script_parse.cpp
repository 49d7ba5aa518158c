// Reading scripts and the command line.
#include <gtest/gtest.h>

#include "CommandLine.h"
#include "Script.h"

using namespace tableserver;

TEST(ScriptParse, StepsAndFields)
{
    const char* text =
        "# a comment\n"
        "\n"
        "expect 0x200\n"
        "join-reply\n"
        "join-reply 4\n"
        "send 0x229 str:alice\n"
        "send 0x8000021B result=1 u16:2 u8:1 u8:3 str:bob\n"
        "send 0x21A char[4]:ab i32:-1 u32:0x10 hex:00ff\n"
        "raw 0102 03\n"
        "compress off\n"
        "sleep 250\n"
        "wait-close\n"
        "close\n";
    std::vector<ScriptStep> steps;
    std::string error;
    ASSERT_TRUE(ParseScript(text, steps, error)) << error;
    ASSERT_EQ(steps.size(), 11u);
    EXPECT_EQ(steps[0].kind, ScriptStep::Kind::kExpect);
    EXPECT_EQ(steps[0].id, 0x200u);
    EXPECT_EQ(steps[0].line, 3);
    EXPECT_EQ(steps[1].result, 1u);
    EXPECT_EQ(steps[2].result, 4u);
    EXPECT_EQ(steps[3].bytes, (std::vector<uint8_t>{'a', 'l', 'i', 'c', 'e', 0}));
    EXPECT_EQ(steps[4].result, 1u);
    EXPECT_EQ(steps[4].bytes, (std::vector<uint8_t>{2, 0, 1, 3, 'b', 'o', 'b', 0}));
    EXPECT_EQ(steps[5].bytes, (std::vector<uint8_t>{'a', 'b', 0, 0, 0xFF, 0xFF, 0xFF, 0xFF,
                                                    0x10, 0, 0, 0, 0x00, 0xFF}));
    EXPECT_EQ(steps[6].bytes, (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(steps[7].number, 0u);
    EXPECT_EQ(steps[8].number, 250u);
    EXPECT_EQ(steps[9].kind, ScriptStep::Kind::kWaitClose);
    EXPECT_EQ(steps[10].kind, ScriptStep::Kind::kClose);
}

TEST(ScriptParse, BadLinesNameTheirLine)
{
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"expect\n", "line 1"},
        {"sleep 10\nexpect two\n", "line 2"},
        {"send 0x1 u8:256\n", "bad field \"u8:256\""},
        {"send 0x1 char[3]:abc\n", "does not fit 3 bytes"},
        {"send 0x1 hex:abc\n", "bad hex"},
        {"send 0x1 i32:2147483648\n", "bad number"},
        {"raw zz\n", "bad hex"},
        {"compress maybe\n", "line 1"},
        {"dance\n", "cannot read \"dance\""},
        {"extra nothing\n", "no extra \"nothing\""},
        {"extra\n", "cannot read \"extra\""},
    };
    for (const auto& c : cases) {
        std::vector<ScriptStep> steps;
        std::string error;
        EXPECT_FALSE(ParseScript(c.text, steps, error)) << c.text;
        EXPECT_NE(error.find(c.error), std::string::npos) << c.text << " -> " << error;
    }
}

TEST(CommandLineParse, DefaultsOptionsAndErrors)
{
    CommandLine command;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({}, command, error));
    EXPECT_EQ(command.server.port, kDefaultPort);
    EXPECT_EQ(command.table.roomOptions, kDefaultRoomOptions);
    EXPECT_TRUE(command.scriptPath.empty());

    CommandLine set;
    ASSERT_TRUE(ParseCommandLine({"--port", "0", "--rules", "1,1", "--seed", "42", "--trust-limit",
                                  "0", "--script", "s.txt", "--record", "r.txt", "--verbose"},
                                 set, error))
        << error;
    EXPECT_EQ(set.server.port, 0);
    EXPECT_EQ(set.table.rules, "1,1");
    EXPECT_TRUE(set.table.fixedSeed);
    EXPECT_EQ(set.table.seed, 42u);
    EXPECT_EQ(set.table.trustLimit, 0);
    EXPECT_EQ(set.recordPath, "r.txt");
    EXPECT_TRUE(set.verbose);

    const std::vector<std::vector<std::string>> bad = {
        {"--port", "65536"}, {"--port", "-1"}, {"--port"}, {"--colour", "red"},
        {"--record", "r.txt"}, {"stray"},
    };
    for (const auto& args : bad) {
        CommandLine c;
        EXPECT_FALSE(ParseCommandLine(args, c, error)) << args[0];
    }
}
