// The main road end to end: Mardavel.exe, started with a 14-argument launch
// command line, joins the table server stand-in, declares ready and plays a
// whole hand against the four bot seats. The test plays the own seat the way
// a user does, by pressing the table's buttons: start, the emperor and guard
// decisions, and in the play phase the hint and then the play button. The
// hand's end is saved automatically ("SaveAction" = 1); the saved game must
// pass the checking reader, run from the deal to the score, and its five
// scores must sum to zero.
//
// The platform's chat control is registered the way the platform's set-up
// registers it; here the stand-in of the build tree, for this test's run.
//
// run_with_tableserver.sh starts the server and names its port in
// MARDAVEL_TABLESERVER_PORT. MARDAVEL_SHOTS_DIR, when set, receives two
// pictures of the window (in the middle of the hand and at the result).
#include "AppTestSupport.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <numeric>

#include "PegFile.h"
#include "TableDriver.h"
#include "TableRules.h"

namespace {

const char kGameKey[] = "Software\\Quorvintel\\Game\\Mardavel";
const char kSettingsKey[] = "Software\\Quorvintel\\Game\\Mardavel\\Settings";
const char kShareKey[] = "Software\\Quorvintel\\Game\\Share";
// Looks at the window after an event before its picture is taken, so the
// table has painted what the event changed (the pictures only).
constexpr int kPictureDelaySteps = 3;

bool HasLineStartingWith(const std::vector<std::string>& lines, const std::string& start, std::string* rest = nullptr)
{
    for (const std::string& line : lines)
        if (line.compare(0, start.size(), start) == 0) {
            if (rest != nullptr)
                *rest = line.substr(start.size());
            return true;
        }
    return false;
}

class ClientEndToEnd : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const char* port = getenv("MARDAVEL_TABLESERVER_PORT");
        ASSERT_NE(port, nullptr) << "no table server: run through run_with_tableserver.sh";
        m_port = port;
        game.SetString("Path", folder.Path());
        settings.SetDword("SaveAction", 1);
        settings.SetString("AutoSavePath", folder / "save");
        settings.SetDword("SoundEf", 0);
        share.SetString("Path", ProgramFolder());
        CopyGameLayout();
        m_chatControl = ::LoadLibraryA((ProgramFolder() + "\\QVChatEx.dll").c_str());
        ASSERT_NE(m_chatControl, nullptr) << "the chat control stand-in is missing";
        ASSERT_EQ(CallChatControl("DllRegisterServer"), S_OK);
    }

    void TearDown() override
    {
        if (m_chatControl != NULL) {
            CallChatControl("DllUnregisterServer");
            ::FreeLibrary(m_chatControl);
        }
    }

    // The game's folder holds the frame's layout and its pictures.
    void CopyGameLayout()
    {
        const std::string from = ProgramFolder();
        ASSERT_TRUE(::CopyFileA((from + "\\Mardavel_bk.bgd").c_str(), (folder / "Mardavel_bk.bgd").c_str(), FALSE));
        ::CreateDirectoryA((folder / "picture").c_str(), NULL);
        WIN32_FIND_DATAA found;
        HANDLE find = ::FindFirstFileA((from + "\\picture\\*.*").c_str(), &found);
        ASSERT_NE(find, INVALID_HANDLE_VALUE) << "the frame's pictures are missing";
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                ASSERT_TRUE(::CopyFileA((from + "\\picture\\" + found.cFileName).c_str(),
                                        (folder / ("picture\\" + std::string(found.cFileName))).c_str(), FALSE));
            }
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }

    HRESULT CallChatControl(const char* entry)
    {
        typedef HRESULT(WINAPI * PFN_REGISTER)();
        PFN_REGISTER pfn = reinterpret_cast<PFN_REGISTER>(
            reinterpret_cast<void (*)()>(::GetProcAddress(m_chatControl, entry)));
        return pfn != NULL ? pfn() : E_NOTIMPL;
    }

    std::vector<std::string> Log() { return SplitLines(ReadText(folder / "Mardavel.log")); }

    std::string m_port;
    HMODULE m_chatControl = NULL;
    ScratchFolder folder;
    ScopedRegistryKey game{kGameKey};
    ScopedRegistryKey settings{kSettingsKey};
    ScopedRegistryKey share{kShareKey};
};

}  // namespace

TEST_F(ClientEndToEnd, OneWholeHandIsPlayedSavedAndReadBack)
{
    const std::string line = "\"" + ProgramFolder() + "\\Mardavel.exe\" 1 alice Alice - 0 - 127.0.0.1 " + m_port +
                             " - - 0 - 0 0";
    std::vector<char> command(line.begin(), line.end());
    command.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(::CreateProcessA(NULL, command.data(), NULL, NULL, FALSE, 0, NULL, ProgramFolder().c_str(), &startup,
                                 &process));
    ::CloseHandle(process.hThread);

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
}
