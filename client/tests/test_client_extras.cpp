// The platform's extras end to end: Mardavel.exe joins the table server
// stand-in's default table, which sends the players' information, the honour
// table, the title list, a title award and the task's status. The client
// must take each of them, ask for the task, count the online seconds, report
// the first stage when it is reached and, on the server's verdict, offer the
// prize button; the award is announced in the chat. Then the own seat
// starts a hand, and the task's progress is drawn during it.
//
// Every wait is on a line of the program's log or on a window's state; the
// test's time-out (ctest) bounds them. MARDAVEL_SHOTS_DIR, when set,
// receives pictures of the window: before the first hand (the title banners
// and the task panel with its prize button) and during the hand (the task's
// progress bar).
#include "GameProcessSupport.h"

#include <shlobj.h>
#include <windows.h>

#include <cstring>

#include "TableDriver.h"

namespace {

using namespace gameprocess;

// What the stand-in's default table sends (platform/tableserver/PlayerExtras.cpp):
// five records (alice's rated 12 games), two honour pairs, two titles, the
// award of the first title ("初出茅庐", 10 points of honour) and a task of
// four stages whose progress starts 5 seconds short of the first.
const char kInfoLine[] = "[SetPlayerInfo] own 1 rated 12 all 1";
const char kHonourLine[] = "[OnHonourTable] 2 titles";
const char kTitlesLine[] = "[OnTitleList] 2 titles";
// "恭喜玩家[alice]获得称号【初出茅庐】,并获得10点荣誉值!" in code page 936, as the log holds it.
const char kAwardLine[] = "[AppendChatLine] \xb9\xa7\xcf\xb2\xcd\xe6\xbc\xd2[alice]\xbb\xf1\xb5\xc3\xb3\xc6\xba\xc5"
                          "\xa1\xbe\xb3\xf5\xb3\xf6\xc3\xa9\xc2\xae\xa1\xbf,\xb2\xa2\xbb\xf1\xb5\xc3"
                          "10\xb5\xe3\xc8\xd9\xd3\xfe\xd6\xb5!";
const char kDefinitionLine[] = "[OnTaskMessage] 0x26030 taken";
const char kProgressLine[] = "[OnTaskMessage] 0x26029 taken stage 0 elapsed 55";
// The verdict on the first stage (reported at 60 seconds; the count goes on
// while the answer travels).
const char kVerdictLine[] = "[OnTaskMessage] 0x26035 taken stage 1 ";
constexpr int kPrizeFetch = 338;
constexpr int kPrizeDraw = 337;
// Steps of the loop between an event and its picture, so the table has painted.
constexpr int kPictureDelaySteps = 3;

class ClientExtras : public OnlineClientTest
{
protected:
    void SetUp() override
    {
        OnlineClientTest::SetUp();
        if (HasFatalFailure())
            return;
        // A task file of an earlier run holds the same task key: the client
        // would take the task from it and not ask the server.
        char documents[MAX_PATH] = "";
        ASSERT_TRUE(::SHGetSpecialFolderPathA(NULL, documents, CSIDL_PERSONAL, FALSE));
        for (const char* name : {"TaskIn.dat", "TaskDone.dat", "TaskPast.dat", "NoEvent.dat"}) {
            const std::string path = std::string(documents) + "\\Sybrant\\mardavel\\" + name;
            ::DeleteFileA(path.c_str());
            ASSERT_EQ(::GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
        }
    }
};

}  // namespace

TEST_F(ClientExtras, InformationTitlesAwardAndTaskFromTheTableServer)
{
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(StartOnline(m_port, &process));
    const char* shots = getenv("MARDAVEL_SHOTS_DIR");
    HWND frame = NULL;
    tabledriver::CSeatPlayer player;
    bool prizeShown = false, progressSeen = false, drawShown = false;
    int prizeShot = -1, progressShot = -1;
    std::vector<std::string> log;
    for (;;) {
        if (::WaitForSingleObject(process.hProcess, 50) == WAIT_OBJECT_0)
            break;
        if (frame == NULL) {
            frame = tabledriver::FindTableFrame(process.dwProcessId);
            continue;
        }
        HWND table = ::GetDlgItem(frame, tabledriver::kTableWindowId);
        log = Log();
        // Before the first hand: wait for the stage's verdict and the prize
        // button it brings; only then does the own seat start a hand.
        if (!prizeShown) {
            if (HasLineStartingWith(log, kVerdictLine) && tabledriver::Visible(table, kPrizeFetch)) {
                prizeShown = true;
                drawShown = tabledriver::Visible(table, kPrizeDraw);
                prizeShot = kPictureDelaySteps;
            }
            continue;
        }
        if (prizeShot > 0 && --prizeShot == 0 && shots != nullptr)
            tabledriver::SaveWindowPicture(frame, std::string(shots) + "\\client-task-prize.bmp");
        if (prizeShot > 0)
            continue;
        // In the hand: the own seat's first turn to play.
        if (!progressSeen && tabledriver::Visible(table, 206)) {
            progressSeen = true;
            progressShot = kPictureDelaySteps;
        }
        if (progressShot > 0 && --progressShot == 0) {
            if (shots != nullptr)
                tabledriver::SaveWindowPicture(frame, std::string(shots) + "\\client-task-progress.bmp");
            break;
        }
        player.Step(table);
    }
    ::TerminateProcess(process.hProcess, 0);
    ::WaitForSingleObject(process.hProcess, 10000);
    ::CloseHandle(process.hProcess);
    const std::string whole = ReadText(folder / "Mardavel.log");

    const struct {
        const char* what;
        const char* line;
    } expected[] = {
        {"the five records, the own one rated", kInfoLine},
        {"the honour table from the board's callback", kHonourLine},
        {"the title list", kTitlesLine},
        {"the award announced with its honour", kAwardLine},
        {"the task asked for and defined", kDefinitionLine},
        {"the progress that starts the count", kProgressLine},
        {"the first stage reported at 60 seconds and granted", kVerdictLine},
    };
    for (const auto& e : expected)
        EXPECT_TRUE(HasLineStartingWith(log, e.line)) << e.what << "\n" << whole;
    EXPECT_TRUE(prizeShown) << "the fetch button of the first stage (kind 0)";
    EXPECT_FALSE(drawShown) << "the draw button stays hidden beside it";
    EXPECT_TRUE(progressSeen) << "a hand was started after the prize";
    EXPECT_FALSE(HasLineStartingWith(log, "[OnTaskMessage] 0x26035 taken stage 0")) << "no stage refused";
}
