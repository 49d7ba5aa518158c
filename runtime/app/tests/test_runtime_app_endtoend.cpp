// End to end: the lobby stand-in starts the game program, whose application
// base joins the table server stand-in and builds the player list; the
// program's log and the lobby's record of its windows are checked.
//
// run_with_tableserver.sh starts the server and names its port in
// MARDAVEL_TABLESERVER_PORT.
#include "AppTestSupport.h"

#include <regex>

namespace {

const char kGameKey[] = "Software\\Quorvintel\\Game\\AppEndToEnd";

// Runs a program in the test's folder and waits for it; its exit code, or
// -1 when it did not start or end in time.
int RunProgram(const std::string& commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!::CreateProcessA(NULL, line.data(), NULL, NULL, FALSE, 0, NULL, ProgramFolder().c_str(), &startup,
                          &process))
        return -1;
    ::CloseHandle(process.hThread);
    DWORD code = (DWORD)-1;
    if (::WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0)
        ::GetExitCodeProcess(process.hProcess, &code);
    else
        ::TerminateProcess(process.hProcess, 99);
    ::CloseHandle(process.hProcess);
    return (int)code;
}

class EndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* port = getenv("MARDAVEL_TABLESERVER_PORT");
        if (port == nullptr)
            FAIL() << "MARDAVEL_TABLESERVER_PORT is not set: run through run_with_tableserver.sh";
        m_port = port;
        game.SetString("Path", folder.Path());
    }

    std::string Lobby(const std::string& options, const std::string& values)
    {
        return "\"" + ProgramFolder() + "\\QVLobby.exe\" --record \"" + (folder / "lobby.txt") + "\" " + options +
               " \"" + ProgramFolder() + "\\app_e2e_game.exe\" " + values;
    }
    std::vector<std::string> Log() { return SplitLines(ReadText((folder / "AppEndToEnd.log"))); }
    std::vector<std::string> LobbyRecord() { return SplitLines(ReadText((folder / "lobby.txt"))); }
    static bool Has(const std::vector<std::string>& lines, const std::string& line)
    {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }

    std::string m_port;
    ScratchFolder folder;
    ScopedRegistryKey game{kGameKey};
};

const std::regex kStartLine("\\d{4}-\\d{1,2}-\\d{1,2}:\\d{1,2}-\\d{1,2}-\\d{1,2},启动程序");
const std::regex kEndLine("\\d{4}-\\d{1,2}-\\d{1,2}:\\d{1,2}-\\d{1,2}-\\d{1,2},结束程序");

}  // namespace

TEST_F(EndToEnd, ArgumentLaunchJoinsAndTalksToTheLobby)
{
    const std::string values = "3 carol Carol t44 84 t86 127.0.0.1 " + m_port + " t168 chat 464 t466 484";
    ASSERT_EQ(RunProgram(Lobby("--room --switch", values)), 0);

    const std::vector<std::string> log = Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[0], "");
    EXPECT_TRUE(std::regex_match(log[1], kStartLine)) << log[1];
    EXPECT_TRUE(std::regex_match(log.back(), kEndLine)) << log.back();
    EXPECT_FALSE(Has(log, "Resource dll not find!"));
    EXPECT_TRUE(Has(log, "[EndToEnd] launch value 0 watching 0 options 0,0,0,0,0,0,0,0,3,1"))
        << ReadText((folder / "AppEndToEnd.log"));
    EXPECT_TRUE(Has(log, "[EndToEnd] online 1 watcher 0 own chair 2 players 5"));
    // Own seat first, then the seats before it, wrapping round.
    EXPECT_TRUE(Has(log, "[EndToEnd] player 0 carol chair 2 position 3"));
    EXPECT_TRUE(Has(log, "[EndToEnd] player 1 Bot2 chair 1 position 2"));
    EXPECT_TRUE(Has(log, "[EndToEnd] player 2 Bot1 chair 0 position 1"));
    EXPECT_TRUE(Has(log, "[EndToEnd] player 3 Bot5 chair 4 position 5"));
    EXPECT_TRUE(Has(log, "[EndToEnd] player 4 Bot4 chair 3 position 4"));
    EXPECT_TRUE(Has(log, "[EndToEnd] registered 1"));
    EXPECT_TRUE(Has(log, "[EndToEnd] unregistered 1"));

    const std::vector<std::string> lobby = LobbyRecord();
    EXPECT_TRUE(Has(lobby, "room-notice wparam=7 data=0xFFF03001 size=40 text=a room notice longer than thirt "
                           "value=42 zero=0"))
        << ReadText((folder / "lobby.txt"));
    EXPECT_TRUE(Has(lobby, "room-refresh wparam=4 lparam=0"));
    EXPECT_TRUE(Has(lobby, "switch wparam=1 lparam=0"));
    EXPECT_TRUE(Has(lobby, "switch wparam=0 lparam=0"));
    EXPECT_EQ(lobby.back(), "exit 0");
}

TEST_F(EndToEnd, MappingLaunchOfAWatcher)
{
    // Chair 8 of the lobby: zero-based 7, watching chair 2.
    const std::string values = "8 viewer Viewer t44 84 t86 127.0.0.1 " + m_port + " t168 chat 464 t466 484 9";
    ASSERT_EQ(RunProgram(Lobby("--mapping QVAppLaunchTest --trailer 01020304", values)), 0);
    const std::vector<std::string> log = Log();
    ASSERT_FALSE(log.empty());
    EXPECT_TRUE(Has(log, "[EndToEnd] online 1 watcher 1 own chair 2 players 5"))
        << ReadText((folder / "AppEndToEnd.log"));
    EXPECT_TRUE(Has(log, "[EndToEnd] launch value 9 watching 1 options 0,0,0,0,0,0,0,0,3,1"));
    const std::regex chairs[] = {std::regex("\\[EndToEnd\\] player 0 \\S+ chair 2 position 3"),
                                 std::regex("\\[EndToEnd\\] player 1 \\S+ chair 1 position 2"),
                                 std::regex("\\[EndToEnd\\] player 4 \\S+ chair 3 position 4")};
    for (const std::regex& chair : chairs)
        EXPECT_TRUE(std::any_of(log.begin(), log.end(),
                                [&](const std::string& l) { return std::regex_match(l, chair); }));
    EXPECT_TRUE(std::regex_match(log.back(), kEndLine));
}

TEST_F(EndToEnd, BadLaunchRecordEndsTheStartUp)
{
    // Chair 0 cannot be lowered to a zero-based chair. (The framework ends
    // a program whose start-up failed with its exit routine's code.)
    const std::string values = "0 nobody Nobody t44 84 t86 127.0.0.1 " + m_port + " t168 chat 464 t466 484";
    RunProgram(Lobby("", values));
    const std::vector<std::string> log = Log();
    EXPECT_TRUE(Has(log, "[ReadPlayerList] bad launch record fail!"));
    EXPECT_TRUE(Has(log, "[InitInstance] read player list fail!"));
    EXPECT_TRUE(std::regex_match(log.back(), kEndLine));
}

TEST_F(EndToEnd, WithoutALaunchRecordTheTableIsLocal)
{
    ASSERT_EQ(RunProgram("\"" + ProgramFolder() + "\\app_e2e_game.exe\""), 0);
    const std::vector<std::string> log = Log();
    EXPECT_TRUE(Has(log, "[EndToEnd] online 0 watcher 0 own chair 0 players 5"));
    EXPECT_TRUE(Has(log, "[EndToEnd] player 4 player5 chair 4 position 5"));
    EXPECT_TRUE(std::regex_match(log.back(), kEndLine));
}
