// Mardavel.exe as a viewer of saved games: started with a .peg path and no
// launch record, it opens the file, shows the replay panel beside the table,
// and steps through the hand with the panel's buttons. The file is a whole
// hand played by a table of the board library and recorded for seat 0 the
// way the table window records. The program logs each position with every
// seat's card count; at the end they are the cards the score lists, at the
// start again the whole hands.
//
// MARDAVEL_SHOTS_DIR, when set, receives a picture of the window in the
// middle of the hand.
#include "GameProcessSupport.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "RecordedHands.h"
#include "ReplayStepper.h"
#include "TableDriver.h"
#include "client_ids.h"

namespace {

using namespace gameprocess;


struct FindButton {
    int id;
    HWND found;
};
BOOL CALLBACK FindButtonOf(HWND hWnd, LPARAM lParam)
{
    auto* find = reinterpret_cast<FindButton*>(lParam);
    if (::GetDlgCtrlID(hWnd) == find->id) {
        find->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

// The last "[Replay] " line of the log, without its prefix.
std::string LastReplayLine(const std::vector<std::string>& log)
{
    std::string last;
    for (const std::string& line : log)
        if (line.compare(0, 9, "[Replay] ") == 0)
            last = line.substr(9);
    return last;
}

std::string PositionLine(int position, int count, const std::vector<int>& hands)
{
    std::string line = std::to_string(position) + "/" + std::to_string(count) + " hands";
    for (int h : hands)
        line += " " + std::to_string(h);
    return line;
}

class ReplayPanel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        game.SetString("Path", folder.Path());
        settings.SetString("AutoSavePath", folder / "save");
        settings.SetDword("SoundEf", 0);
        settings.SetDword("SortMode", 1);
        share.SetString("Path", ProgramFolder());
        CopyGameLayout(folder, "mardavel_local_bk.bgd");   // the layout of local mode
    }

    void TearDown() override
    {
        if (process.hProcess != NULL) {
            ::TerminateProcess(process.hProcess, 1);
            ::WaitForSingleObject(process.hProcess, INFINITE);
            ::CloseHandle(process.hProcess);
        }
    }

    std::vector<std::string> Log() { return SplitLines(ReadText(folder / "Mardavel.log")); }

    void Start(const std::string& pegPath)
    {
        const std::string line = "\"" + ProgramFolder() + "\\Mardavel.exe\" \"" + pegPath + "\"";
        std::vector<char> command(line.begin(), line.end());
        command.push_back('\0');
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        ASSERT_TRUE(::CreateProcessA(NULL, command.data(), NULL, NULL, FALSE, 0, NULL, ProgramFolder().c_str(),
                                     &startup, &process));
        ::CloseHandle(process.hThread);
        // The test's time-out (ctest) bounds a program that never shows.
        while (frame == NULL || Button(IDC_REPLAY_NEXT_STEP) == NULL || LastReplayLine(Log()).empty()) {
            ASSERT_EQ(::WaitForSingleObject(process.hProcess, 50), (DWORD)WAIT_TIMEOUT)
                << "the program ended: " << ReadText(folder / "Mardavel.log");
            if (frame == NULL)
                frame = tabledriver::FindTableFrame(process.dwProcessId);
        }
    }

    HWND Button(int id)
    {
        FindButton find = {id, NULL};
        if (frame != NULL)
            ::EnumChildWindows(frame, FindButtonOf, (LPARAM)&find);
        return find.found;
    }
    bool Enabled(int id) { return ::IsWindowEnabled(Button(id)) != FALSE; }
    // Presses a panel button; the panel has handled it when this returns.
    void Press(int id)
    {
        HWND button = Button(id);
        ::SendMessageA(::GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
    }

    ScratchFolder folder;
    ScopedRegistryKey game{kGameKey};
    ScopedRegistryKey settings{kSettingsKey};
    ScopedRegistryKey share{kShareKey};
    PROCESS_INFORMATION process = {};
    HWND frame = NULL;
};

}  // namespace

TEST_F(ReplayPanel, ASavedHandIsSteppedByRoundToItsEndAndBack)
{
    const RecordedHand hand = RecordHand(3, 0);
    ASSERT_FALSE(hand.score.empty());
    replay::ReplayGame saved;
    ASSERT_EQ(replay::LoadGame(hand.file, &saved), replay::kLoadOk);
    const int count = static_cast<int>(saved.plays.size());
    ASSERT_GT(count, 5);
    // What every seat holds at the start and at the end: from the score,
    // the cards left (body offset 40) and, with the plays, the whole hands.
    std::vector<int> left(5), whole(5);
    for (int s = 0; s < 5; ++s) {
        uint32_t n;
        memcpy(&n, hand.score.data() + 12 + 40 + 4 * s, 4);
        left[static_cast<size_t>(s)] = static_cast<int>(n);
        whole[static_cast<size_t>(s)] = static_cast<int>(n);
    }
    for (const replay::ReplayPlay& play : saved.plays) {
        uint32_t n;
        memcpy(&n, play.message.data() + 16, 4);
        whole[static_cast<size_t>(play.seat)] += static_cast<int>(n);
    }

    const std::string path = folder / "saved hand.peg";
    ASSERT_TRUE(WriteBytes(path, hand.file));
    ASSERT_NO_FATAL_FAILURE(Start(path));

    char title[256] = "";
    ::GetWindowTextA(frame, title, sizeof title);
    EXPECT_NE(std::string(title).find("saved hand.peg"), std::string::npos) << title;
    EXPECT_EQ(LastReplayLine(Log()), PositionLine(0, count, whole));
    EXPECT_TRUE(Enabled(IDC_REPLAY_OPEN));
    EXPECT_TRUE(Enabled(IDC_REPLAY_RESTART));
    EXPECT_FALSE(Enabled(IDC_REPLAY_PREV_STEP));
    EXPECT_FALSE(Enabled(IDC_REPLAY_PREV_ROUND));
    EXPECT_TRUE(Enabled(IDC_REPLAY_NEXT_STEP));

    int rounds = 0;
    while (Enabled(IDC_REPLAY_NEXT_ROUND)) {
        Press(IDC_REPLAY_NEXT_ROUND);
        ASSERT_LT(++rounds, count + 1) << "every round makes a play";
        if (rounds == 3) {
            if (const char* shots = getenv("MARDAVEL_SHOTS_DIR")) {
                ::RedrawWindow(frame, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
                tabledriver::SaveWindowPicture(frame, std::string(shots) + "\\replay-panel.bmp");
            }
        }
    }
    EXPECT_EQ(LastReplayLine(Log()), PositionLine(count, count, left));
    EXPECT_FALSE(Enabled(IDC_REPLAY_NEXT_STEP));
    EXPECT_TRUE(Enabled(IDC_REPLAY_PREV_STEP));

    Press(IDC_REPLAY_PREV_STEP);
    EXPECT_EQ(LastReplayLine(Log()).compare(0, std::to_string(count - 1).size() + 1,
                                            std::to_string(count - 1) + "/"),
              0);
    while (Enabled(IDC_REPLAY_PREV_ROUND))
        Press(IDC_REPLAY_PREV_ROUND);
    EXPECT_EQ(LastReplayLine(Log()), PositionLine(0, count, whole));

    // Restart from the middle: the whole hands again.
    Press(IDC_REPLAY_NEXT_ROUND);
    Press(IDC_REPLAY_RESTART);
    EXPECT_EQ(LastReplayLine(Log()), PositionLine(0, count, whole));

    // A local viewer closes without asking.
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, INFINITE), (DWORD)WAIT_OBJECT_0);
    DWORD code = 1;
    ::GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 0u);
    ::CloseHandle(process.hProcess);
    process.hProcess = NULL;
}
