// The main road end to end: Mardavel.exe, started with a 14-argument launch
// command line, joins the table server stand-in, declares ready and plays a
// whole hand against the four bot seats. The test plays the own seat the way
// a user does, by pressing the table's buttons: start, the emperor and guard
// decisions, and in the play phase the hint and then the play button. The
// hand's end is saved automatically ("SaveAction" = 1); the saved game must
// pass the checking reader, run from the deal to the score, and its five
// scores must sum to zero; replayed on a player board of the board library,
// step by step and round by round, it must end with every seat holding the
// cards the score lists and the hand's result the score names.
//
// The platform's chat control is registered the way the platform's set-up
// registers it; here the stand-in of the build tree, for this test's run.
//
// run_with_tableserver.sh starts the server and names its port in
// MARDAVEL_TABLESERVER_PORT. MARDAVEL_SHOTS_DIR, when set, receives two
// pictures of the window (in the middle of the hand and at the result).
#include "GameProcessSupport.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <numeric>

#include <algorithm>

#include "PegFile.h"
#include "ReplayBoardHost.h"
#include "TableDriver.h"
#include "TableRules.h"

namespace {

using namespace gameprocess;

// Looks at the window after an event before its picture is taken, so the
// table has painted what the event changed (the pictures only).
constexpr int kPictureDelaySteps = 3;

class ClientEndToEnd : public OnlineClientTest
{
protected:
    void SetUp() override
    {
        OnlineClientTest::SetUp();
        if (HasFatalFailure())
            return;
        settings.SetDword("SaveAction", 1);
        settings.SetString("AutoSavePath", folder / "save");
    }
};

}  // namespace

TEST_F(ClientEndToEnd, OneWholeHandIsPlayedSavedAndReadBack)
{
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(StartOnline(m_port, &process));

    const char* shots = getenv("MARDAVEL_SHOTS_DIR");
    HWND frame = NULL;
    tabledriver::CSeatPlayer player;
    bool saved = false;
    bool chatSeen = false;
    int middleShot = -1, resultShot = -1;   // steps left until the picture, -1 none due
    bool middleTaken = false, resultTaken = false;
    std::string savedPath;
    // The test's time-out (ctest) bounds a hand that never ends.
    for (;;) {
        if (::WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0)
            break;
        if (frame == NULL) {
            frame = tabledriver::FindTableFrame(process.dwProcessId);
            continue;
        }
        // The online frame: the table window beside the chat pane, which
        // holds the chat control.
        if (!chatSeen) {
            HWND pane = ::GetDlgItem(frame, tabledriver::kChatPaneId);
            chatSeen = pane != NULL && ::GetDlgItem(pane, tabledriver::kChatControlId) != NULL;
        }
        const std::vector<std::string> log = Log();
        if (HasLineStartingWith(log, "[PromptSave] saved ", &savedPath)) {
            saved = true;
            break;
        }
        if (!resultTaken && resultShot < 0 && HasLineStartingWith(log, "[OnHandResult]"))
            resultShot = kPictureDelaySteps;
        // In the middle of the hand: the own seat's first turn to play.
        if (!middleTaken && middleShot < 0 && tabledriver::Visible(::GetDlgItem(frame, tabledriver::kTableWindowId), 206))
            middleShot = kPictureDelaySteps;
        if (middleShot == 0 && shots != nullptr)
            tabledriver::SaveWindowPicture(frame, std::string(shots) + "\\client-hand-middle.bmp");
        if (resultShot == 0 && shots != nullptr)
            tabledriver::SaveWindowPicture(frame, std::string(shots) + "\\client-hand-result.bmp");
        middleTaken = middleTaken || middleShot == 0;
        resultTaken = resultTaken || resultShot == 0;
        middleShot = middleShot > 0 ? middleShot - 1 : middleShot;
        resultShot = resultShot > 0 ? resultShot - 1 : resultShot;
        player.Step(::GetDlgItem(frame, tabledriver::kTableWindowId));
    }
    const std::vector<std::string> log = Log();
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hProcess);

    ASSERT_TRUE(saved) << ReadText(folder / "Mardavel.log");
    EXPECT_TRUE(HasLineStartingWith(log, "[InitInstance] table ready"));
    EXPECT_GT(player.Plays(), 0) << "the own seat played through the play button";
    EXPECT_TRUE(chatSeen) << "the online frame holds the chat pane with the chat control";

    const std::vector<uint8_t> bytes = ReadBytes(savedPath);
    peg::File file;
    ASSERT_EQ(peg::ReadFile(bytes.data(), bytes.size(), &file), peg::kReadOk) << savedPath;
    ASSERT_GE(file.entries.size(), 3u);
    EXPECT_EQ(file.entries.front().id, tablemsg::kDeal);
    EXPECT_EQ(file.entries.back().id, tablemsg::kHandResult);
    EXPECT_EQ(std::string(file.info.userNames[0]), "alice");
    EXPECT_EQ(file.info.seat, 0u);
    // The score message: the reply header (12 bytes), then five scores.
    const peg::Entry& score = file.entries.back();
    ASSERT_GE(score.length, 12u + 20u);
    int32_t scores[5];
    memcpy(scores, bytes.data() + score.offset + 12, sizeof(scores));
    EXPECT_EQ(std::accumulate(scores, scores + 5, 0), 0)
        << scores[0] << " " << scores[1] << " " << scores[2] << " " << scores[3] << " " << scores[4];
    size_t plays26005 = 0;
    for (const peg::Entry& entry : file.entries)
        plays26005 += entry.id == tablemsg::kPlay ? 1 : 0;
    EXPECT_GT(plays26005, 5u) << "the plays of the hand are in the record";

    // The score's body: five scores, five totals, the cards left per seat at
    // 40, the result at 60, the guard at 64, the left cards' ids from 68.
    const uint8_t* body = bytes.data() + score.offset + 12;
    ASSERT_GE(score.length, 12u + 68u);
    uint32_t left[5], result = 0;
    memcpy(left, body + 40, sizeof left);
    memcpy(&result, body + 60, 4);
    std::vector<std::vector<int>> leftIds(5);
    size_t at = 68;
    for (int seat = 0; seat < 5; ++seat)
        for (uint32_t i = 0; i < left[seat] && 12 + at < score.length; ++i)
            leftIds[seat].push_back(body[at++]);
    for (std::vector<int>& ids : leftIds)
        std::sort(ids.begin(), ids.end());
    for (const bool byRound : {false, true}) {
        const char* how = byRound ? "by round" : "step by step";
        replay::ReplayGame game;
        ASSERT_EQ(replay::LoadGame(bytes, &game), replay::kLoadOk) << how;
        ReplayBoardHost host(0);
        ASSERT_TRUE(host.Ready()) << how;
        replay::CReplayStepper stepper;
        stepper.Take(std::move(game));
        ASSERT_TRUE(stepper.Prepare(host, 1)) << how;
        while (stepper.Position() < stepper.StepCount()) {
            const int before = stepper.Position();
            if (byRound)
                stepper.StepRound(host);
            else
                stepper.StepForward(host);
            ASSERT_GT(stepper.Position(), before) << how;
        }
        const BoardGameState& s = *host.State();
        for (int seat = 0; seat < 5; ++seat) {
            std::vector<int> held;
            for (uint32_t i = 0; i < s.seats[seat].cardsInHand && i < 52; ++i)
                held.push_back(s.hands[seat][i].id);
            std::sort(held.begin(), held.end());
            EXPECT_EQ(held, leftIds[seat]) << how << ": seat " << seat;
        }
        const int outcome = stepper.Outcome();
        if (result == replay::kResultDraw)
            EXPECT_EQ(outcome, replay::kOutcomeDraw) << how;
        else
            EXPECT_NE(outcome, replay::kOutcomeNone) << how << ": result " << result;
    }
}
