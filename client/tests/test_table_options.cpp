// The table window's options on a board of the test's own: the setup
// dialog is filled with what the table holds and its OK applies the change
// (background by mode, sound and music, play direction, watching through
// the board, folders and saved-game rules, personal data, all kept in the
// profile); an own picture without a usable file changes nothing; the play
// direction and sort commands; the chat control's player list (command
// -100); the news file.
//
// The profile is an ini file of the test's own (the application is never
// started, so it has no registry key).
#include <gtest/gtest.h>

#include "afxwin.h"

#include <gdiplus.h>

#include <cstring>
#include <string>
#include <vector>

#include "KitTestSupport.h"

#include "AxControls.h"
#include "AxStandInTest.h"
#include "ClientPaths.h"
#include "ClientServices.h"
#include "GameClientApp.h"
#include "GameHistoryDlg.h"
#include "GameEnvironment.h"
#include "GameRecord.h"
#include "GameWnd.h"
#include "MainFrame.h"
#include "MardavelBoard.h"
#include "PngButton.h"
#include "QVChatEx.h"
#include "SetupDlg.h"
#include "TableTools.h"
#include "TableWindowTest.h"
#include "WidgetServices.h"
#include "net/GameClientSocket.h"

namespace {

CGameClientApp g_app;

// A board that hands out the test's table state and records its events.
BoardGameState g_state;
uint8_t g_savedCounts[64];
uint8_t g_savedCards[1300];
struct Event {
    int32_t code, a, b;
};
std::vector<Event> g_events;

BoardCallback g_callback = nullptr;
uintptr_t g_cookie = 0;

BoardHandle QVBOARD_CALL FakeCreate(int32_t, BoardCallback callback, uintptr_t cookie, int32_t, const BoardInitBlock*)
{
    g_callback = callback;
    g_cookie = cookie;
    return &g_state;
}

int32_t QVBOARD_CALL FakeEvent(BoardHandle, int32_t code, int32_t a, int32_t b, void* param)
{
    switch (code) {
    case kEvTableState: *static_cast<BoardGameState**>(param) = &g_state; break;
    case kEvSavedCounts: *static_cast<void**>(param) = g_savedCounts; break;
    case kEvSavedCards: *static_cast<void**>(param) = g_savedCards; break;
    default: g_events.push_back(Event{code, a, b}); break;
    }
    return 1;
}

void QVBOARD_CALL FakeDestroy(BoardHandle) {}

int Count(int32_t code)
{
    int n = 0;
    for (const Event& e : g_events)
        n += e.code == code ? 1 : 0;
    return n;
}

// The music's MCI commands.
std::vector<std::string> g_mci;
DWORD WINAPI RecordMci(LPCSTR command, LPSTR, UINT, HWND)
{
    g_mci.push_back(command);
    return 0;
}

// The dialog as the user leaves it: what it was given is kept for the
// checks, then the script edits it and OK or Cancel ends it.
struct SetupScript {
    CSetupDlg* seen = NULL;
    int savedBackground = -1, tile = -1, sound = -1, music = -1, scoreBox = -1, scrollTips = -1, smallCards = -1,
        playOrder = -1, allowWatch = -1, ownRule = -1, watchedRule = -1, personal = -1, personalAvailable = -1,
        watchingLock = -1;
    COLORREF colour = 0;
    std::string picture, musicFile, shots, videos, saves;
    void (*edit)(CSetupDlg&) = nullptr;
    INT_PTR answer = IDOK;
    int runs = 0;
};
SetupScript g_script;

INT_PTR RunSetup(CSetupDlg& d)
{
    g_script.runs++;
    g_script.savedBackground = d.m_nSavedBackground;
    g_script.tile = d.m_bTile;
    g_script.sound = d.m_bSoundEffects;
    g_script.music = d.m_bMusic;
    g_script.scoreBox = d.m_bScoreBox;
    g_script.scrollTips = d.m_bScrollTips;
    g_script.smallCards = d.m_bSmallCards;
    g_script.playOrder = d.m_nPlayOrder;
    g_script.allowWatch = d.m_bAllowWatching;
    g_script.ownRule = d.m_nOwnRule;
    g_script.watchedRule = d.m_nWatchedRule;
    g_script.personal = d.m_bPersonalData;
    g_script.personalAvailable = d.m_bPersonalDataAvailable;
    g_script.watchingLock = d.m_bWatchingLock;
    g_script.colour = d.m_crBackground;
    g_script.picture = (LPCSTR)d.m_strPicture;
    g_script.musicFile = (LPCSTR)d.m_strMusicFile;
    g_script.shots = (LPCSTR)d.m_strShotFolder;
    g_script.videos = (LPCSTR)d.m_strVideoFolder;
    g_script.saves = (LPCSTR)d.m_strSaveFolder;
    if (g_script.edit != nullptr)
        g_script.edit(d);
    return g_script.answer;
}

std::string TempPath(const char* name)
{
    char base[MAX_PATH];
    ::GetTempPathA(MAX_PATH, base);
    return std::string(base) + "mardavel_options_" + std::to_string(::GetCurrentProcessId()) + "_" + name;
}

class TableOptionsTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_process.SetUp(); }
    static void TearDownTestSuite() { s_process.TearDown(); }

    void SetUp() override
    {
        g_events.clear();
        g_mci.clear();
        g_script = SetupScript();
        m_oldMci = SetMciSendRoutine(RecordMci);
        m_profile = TempPath("profile.ini");
        ::DeleteFileA(m_profile.c_str());
        g_app.m_pszProfileName = m_profile.c_str();
        memset(&g_state, 0, sizeof g_state);
        g_state.seats[0].watchersMaySee = 1;
        g_app.SetOwnSeat(0);
        g_app.m_nPlayDirection = 0;
        g_app.UpdateSeatViews();
        g_app.m_pRecord = new CGameRecord;
        g_app.m_pRecord->LoadSettings();
        MakeTable();
    }
    // The table made again: it reads the profile at its creation.
    void MakeTable()
    {
        tabletest::DropTable(g_app, m_host, m_table);
        tabletest::MakeTable(g_app, FakeCreate, FakeEvent, FakeDestroy, m_host, m_table);
        m_table->m_pfnRunSetup = RunSetup;
        g_events.clear();
        g_mci.clear();
    }

    void TearDown() override
    {
        tabletest::DropTable(g_app, m_host, m_table);
        g_app.m_pGameWnd = NULL;
        delete g_app.m_pRecord;
        g_app.m_pRecord = NULL;
        g_app.m_pszProfileName = NULL;
        SetMciSendRoutine(m_oldMci);
        ::DeleteFileA(m_profile.c_str());
    }

    std::string Profile(const char* key) const
    {
        char value[MAX_PATH] = "";
        ::GetPrivateProfileStringA("Settings", key, "<none>", value, sizeof value, m_profile.c_str());
        return value;
    }
    void OpenSetup() { m_table->SendMessage(WM_COMMAND, MAKEWPARAM(kBtnSetup, BN_CLICKED), 0); }
    // The table's back buffer after a full composition, at a point of the
    // background (between the seats, above the middle).
    COLORREF TablePixel(int x, int y)
    {
        m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        return ::GetPixel(GetTableSurfaceDC(), x, y);
    }

    tabletest::CHostWnd m_host;
    CGameWnd* m_table = NULL;
    std::string m_profile;
    MciSendRoutine m_oldMci = NULL;
    static tabletest::TableProcess s_process;
};
tabletest::TableProcess TableOptionsTest::s_process;

TEST_F(TableOptionsTest, TheDialogShowsWhatTheTableHoldsAndCancelChangesNothing)
{
    // Settings as a previous run left them; the table reads them at creation.
    for (const auto& kv : {std::make_pair("BkColor", "1193046"), std::make_pair("BkBmp", "C:\\p.bmp"),
                           std::make_pair("Tile", "0"), std::make_pair("SoundEf", "1"), std::make_pair("Music", "1"),
                           std::make_pair("MusicFile", "C:\\m.mid"), std::make_pair("OpenResult", "1"),
                           std::make_pair("FlyTipText", "1"), std::make_pair("SmallCard", "1"),
                           std::make_pair("Snapshot", "C:\\shots"), std::make_pair("VideoDir", "C:\\videos"),
                           std::make_pair("SaveAction", "1"), std::make_pair("SPSaveAction", "2"),
                           std::make_pair("AutoSavePath", "C:\\saves"), std::make_pair("PersonalData", "-1")})
        ::WritePrivateProfileStringA("Settings", kv.first, kv.second, m_profile.c_str());
    g_app.m_pRecord->LoadSettings();
    g_app.m_nPlayDirection = 1;
    g_state.seats[0].watchersMaySee = 0;
    MakeTable();

    g_script.answer = IDCANCEL;
    g_script.edit = [](CSetupDlg& d) {
        d.m_bSoundEffects = 0;
        d.m_nPlayOrder = 0;
        d.m_bAllowWatching = 1;
    };
    OpenSetup();
    ASSERT_EQ(g_script.runs, 1);
    EXPECT_EQ(g_script.savedBackground, 0) << "the background always starts with the theme's picture";
    EXPECT_EQ(g_script.colour, (COLORREF)1193046);
    EXPECT_EQ(g_script.picture, "C:\\p.bmp");
    EXPECT_EQ(g_script.tile, 0);
    EXPECT_EQ(g_script.sound, 1);
    EXPECT_EQ(g_script.music, 1);
    EXPECT_EQ(g_script.musicFile, "C:\\m.mid");
    EXPECT_EQ(g_script.scoreBox, 1);
    EXPECT_EQ(g_script.scrollTips, 1);
    EXPECT_EQ(g_script.smallCards, 1);
    EXPECT_EQ(g_script.playOrder, 1) << "play direction 1: the second radio";
    EXPECT_EQ(g_script.allowWatch, 0) << "from the own seat's state";
    EXPECT_EQ(g_script.shots, "C:\\shots");
    EXPECT_EQ(g_script.videos, "C:\\videos");
    EXPECT_EQ(g_script.ownRule, 1);
    EXPECT_EQ(g_script.watchedRule, 2);
    EXPECT_EQ(g_script.saves, "C:\\saves");
    EXPECT_EQ(g_script.personal, 0) << "-1: hidden";
    EXPECT_EQ(g_script.personalAvailable, 1);
    EXPECT_EQ(g_script.watchingLock, 0);

    // Cancel: nothing changed, sent or written.
    EXPECT_TRUE(g_events.empty());
    EXPECT_TRUE(g_mci.empty());
    EXPECT_EQ(g_app.m_nPlayDirection, 1);
    EXPECT_EQ(Profile("EnableWatch"), "<none>");
    EXPECT_TRUE(m_table->GetDlgItem(kBtnSetup)->IsWindowEnabled()) << "the button is back after the dialog";

    // Unknown personal data disables its box; a watcher cannot open his seat.
    ::WritePrivateProfileStringA("Settings", "PersonalData", "0", m_profile.c_str());
    g_app.m_bWatcher = TRUE;
    OpenSetup();
    EXPECT_EQ(g_script.personalAvailable, 0);
    EXPECT_EQ(g_script.watchingLock, 1);
    g_app.m_bWatcher = FALSE;
}

TEST_F(TableOptionsTest, OkAppliesTheChangeAndKeepsIt)
{
    // A colour background, sound and music on with a file, the other play
    // direction, watching closed, new folders and rules, personal data off.
    ::WritePrivateProfileStringA("Settings", "PersonalData", "1", m_profile.c_str());
    g_script.edit = [](CSetupDlg& d) {
        d.m_nSavedBackground = 1;
        d.m_crBackground = RGB(10, 20, 30);
        d.m_bSoundEffects = 1;
        d.m_bMusic = 1;
        d.m_strMusicFile = "C:\\tunes\\a.mid";
        d.m_nPlayOrder = 1;
        d.m_bAllowWatching = 0;
        d.m_strShotFolder = "D:\\shots";
        d.m_strVideoFolder = "D:\\videos";
        d.m_nOwnRule = 2;
        d.m_nWatchedRule = 1;
        d.m_strSaveFolder = "D:\\saves";
        d.m_bPersonalData = 0;
        d.m_bScoreBox = 1;
        d.m_bScrollTips = 1;
    };
    OpenSetup();
    ASSERT_EQ(g_script.runs, 1);

    EXPECT_EQ(TablePixel(500, 100), RGB(10, 20, 30)) << "the table is composed again on the colour";
    EXPECT_EQ(g_app.m_nPlayDirection, 1);
    EXPECT_EQ(g_app.m_views[1], 4) << "the other direction: the seat before the own one at position 1";
    ASSERT_EQ(Count(kEvToggleWatchersMaySee), 1) << "the board tells the server";
    EXPECT_EQ(g_events.back().a, -1);
    ASSERT_FALSE(g_mci.empty());
    EXPECT_NE(g_mci[g_mci.size() - 2].find("C:\\tunes\\a.mid"), std::string::npos) << "the music file is opened";
    EXPECT_EQ(g_mci.back().rfind("play sq", 0), 0u) << g_mci.back();

    struct Kept {
        const char* key;
        const char* value;
    };
    const Kept kept[] = {
        {"Snapshot", "D:\\shots"}, {"VideoDir", "D:\\videos"}, {"SaveAction", "2"}, {"SPSaveAction", "1"},
        {"AutoSavePath", "D:\\saves"}, {"EnableWatch", "0"}, {"PersonalData", "-1"}, {"BkColor", "1971210"},
        {"Music", "1"}, {"MusicFile", "C:\\tunes\\a.mid"}, {"SoundEf", "1"}, {"OpenResult", "1"},
        {"FlyTipText", "1"}, {"PlayDir", "1"},
    };
    for (const Kept& k : kept)
        EXPECT_EQ(Profile(k.key), k.value) << k.key;
    EXPECT_EQ(g_app.m_pRecord->m_nSaveAction, 2);
    EXPECT_EQ(g_app.m_pRecord->m_nWatchSaveAction, 1);

    // Sound effects off: the music stops with them; watching unchanged sends nothing.
    g_events.clear();
    g_mci.clear();
    g_script.edit = [](CSetupDlg& d) {
        d.m_bSoundEffects = 0;
        d.m_bMusic = 0;
    };
    OpenSetup();
    EXPECT_EQ(Count(kEvToggleWatchersMaySee), 0);
    ASSERT_EQ(g_mci.size(), 1u);
    EXPECT_EQ(g_mci[0], "close sq");
    EXPECT_EQ(Profile("SoundEf"), "0");
}

TEST_F(TableOptionsTest, AnOwnPictureIsDrawnAndOneWithoutAFileChangesNothing)
{
    const std::string picture = TempPath("back.bmp");
    ASSERT_TRUE(kittest::WriteBmp(picture, 8, 8, [](int, int) { return RGB(200, 40, 90); }));
    struct Case {
        const char* what;
        std::string path;
        bool applied;
        COLORREF pixel;
    };
    const Case cases[] = {
        {"a picture file: stretched over the table", picture, true, RGB(200, 40, 90)},
        {"no file: the whole change dropped", "", false, RGB(200, 40, 90)},
        {"a file that is no picture: dropped", TempPath("missing.bmp"), false, RGB(200, 40, 90)},
    };
    for (const Case& c : cases) {
        static std::string s_path;
        s_path = c.path;
        g_script.edit = [](CSetupDlg& d) {
            d.m_nSavedBackground = 2;
            d.m_strPicture = s_path.c_str();
            d.m_bTile = 1;
            d.m_nOwnRule = 1;
        };
        g_app.m_pRecord->m_nSaveAction = 0;
        OpenSetup();
        EXPECT_EQ(g_app.m_pRecord->m_nSaveAction, c.applied ? 1 : 0) << c.what;
        EXPECT_EQ(TablePixel(500, 100), c.pixel) << c.what;
    }
    ::DeleteFileA(picture.c_str());
}

TEST_F(TableOptionsTest, PlayDirectionAndSort)
{
    const int before[kTableSeats] = {g_app.m_views[0], g_app.m_views[1], g_app.m_views[2], g_app.m_views[3],
                                     g_app.m_views[4]};
    m_table->SendMessage(WM_COMMAND, MAKEWPARAM(kBtnPlayDir, BN_CLICKED), 0);
    EXPECT_EQ(g_app.m_nPlayDirection, 1);
    EXPECT_EQ(g_app.m_views[1], before[4]) << "the seats follow the other way round";
    EXPECT_EQ(g_app.m_views[4], before[1]);
    EXPECT_TRUE(g_events.empty()) << "nothing is sent";
    m_table->SendMessage(WM_COMMAND, MAKEWPARAM(kBtnPlayDir, BN_CLICKED), 0);
    EXPECT_EQ(g_app.m_nPlayDirection, 0);
    EXPECT_EQ(g_app.m_views[1], before[1]);

    m_table->SendMessage(WM_COMMAND, MAKEWPARAM(kBtnSort, BN_CLICKED), 0);
    ASSERT_EQ(Count(kEvToggleSort), 1);
    EXPECT_EQ(g_events.back().a, 0) << "the own seat's hand";
    EXPECT_EQ(g_events.back().b, -1);
}

TEST_F(TableOptionsTest, TheChatControlLearnsThePlayersOnCommandMinus100)
{
    CStandInServer chat;
    ASSERT_TRUE(chat.Serve("QVChatEx.dll", CLSID_QVChatEx)) << "the chat control stand-in is missing";
    CQVChatEx control;
    ASSERT_TRUE(control.Create(WS_CHILD, CRect(0, 0, 100, 100), &m_host, 29741));
    g_app.m_pChat = &control;
    g_app.m_nPlayerCount = 5;
    const char* names[kTableSeats] = {"alice", "bob", "carol", "dave", "a-name-of-20-chars-x"};
    for (int s = 0; s < kTableSeats; s++) {
        memcpy(g_state.seats[s].player.userName, names[s], strlen(names[s]) < 20 ? strlen(names[s]) + 1 : 20);
        g_state.seats[s].player.scoreTotal = 100 * s - 150;
    }
    chat.ClearLog();
    m_table->SendMessage(WM_COMMAND, (WPARAM)(intptr_t)-100, 0);
    const std::string log = chat.ReadLog();
    EXPECT_NE(log.find("m66(BSTR:alice,I4:-150)"), std::string::npos) << log;
    EXPECT_NE(log.find("m66(BSTR:dave,I4:150)"), std::string::npos) << log;
    EXPECT_NE(log.find("m66(BSTR:a-name-of-20-chars-x,I4:250)"), std::string::npos)
        << "a name that fills its field: " << log;

    g_app.m_pChat = NULL;
    control.DestroyWindow();
}

}  // namespace

namespace {

TEST_F(TableOptionsTest, TheNewsFileFillsTheNewsHeadersTexts)
{
    const CString folder = GetUserDataFolder();
    ASSERT_FALSE(folder.IsEmpty()) << "no per-user folder";
    const std::string file = std::string((LPCSTR)folder) + "\\MARDAVELNEWS.ini";
    g_app.m_pGameWnd = m_table;
    g_app.m_news = CGameClientApp::News();
    const std::string longTitle(300, 'n');
    struct Case {
        const char* what;
        std::vector<std::pair<const char*, std::string>> keys;   // written before the read
        int updateTime;
        const char* titles[4];
        const char* links[4];
    };
    const Case cases[] = {
        {"four titles and addresses",
         {{"UpdateNewsTime", "20261211"}, {"NewsTitle0", "t0"}, {"NewsURL0", "http://a.example/0"},
          {"NewsTitle1", "t1"}, {"NewsURL1", "http://a.example/1"}, {"NewsTitle2", "t2"},
          {"NewsURL2", "http://a.example/2"}, {"NewsTitle3", "t3"}, {"NewsURL3", "http://a.example/3"}},
         20261211,
         {"t0", "t1", "t2", "t3"},
         {"http://a.example/0", "http://a.example/1", "http://a.example/2", "http://a.example/3"}},
        {"a file without some keys keeps what was read before; the time falls back to 0",
         {{"NewsTitle1", "new t1"}},
         0,
         {"t0", "new t1", "t2", "t3"},
         {"http://a.example/0", "http://a.example/1", "http://a.example/2", "http://a.example/3"}},
    };
    for (const Case& c : cases) {
        ::DeleteFileA(file.c_str());
        for (const auto& kv : c.keys)
            ASSERT_TRUE(::WritePrivateProfileStringA("NewsInfo", kv.first, kv.second.c_str(), file.c_str()));
        g_app.ReadNews();
        EXPECT_EQ(g_app.m_news.updateTime, c.updateTime) << c.what;
        for (int i = 0; i < 4; i++) {
            EXPECT_EQ(std::string((LPCSTR)CGameWnd::NewsText(i)), c.titles[i]) << c.what << " " << i;
            EXPECT_EQ(std::string((LPCSTR)CGameWnd::NewsLink(i)), c.links[i]) << c.what << " " << i;
        }
    }
    // A title longer than its 259 characters is cut there.
    ::DeleteFileA(file.c_str());
    ::WritePrivateProfileStringA("NewsInfo", "NewsTitle0", longTitle.c_str(), file.c_str());
    g_app.ReadNews();
    EXPECT_EQ(CGameWnd::NewsText(0).GetLength(), 259);
    ::DeleteFileA(file.c_str());
    g_app.m_pGameWnd = NULL;
}

}  // namespace

namespace {

TEST_F(TableOptionsTest, TheScoreSheetShowsItselfAtAHandsEndWhenTheOptionSaysSo)
{
    struct Case {
        const char* what;
        int openResult;
        bool shown;
    };
    const Case cases[] = {
        {"option off: the sheet stays hidden", 0, false},
        {"option on: the sheet shows the hand", 1, true},
    };
    for (const Case& c : cases) {
        static int s_open;
        s_open = c.openResult;
        g_script.edit = [](CSetupDlg& d) { d.m_bScoreBox = s_open; };
        OpenSetup();
        ASSERT_NE(m_table->m_pHistory, (CGameHistoryDlg*)NULL);
        m_table->m_pHistory->ShowWindow(SW_HIDE);
        g_state.handsFinished = 1;
        BoardCallbackRecord record = {};
        record.cookie = g_cookie;
        record.code = kCbHandResult;
        record.p1 = 2;
        g_callback(&record);
        EXPECT_EQ(m_table->m_pHistory->IsWindowVisible() != FALSE, c.shown) << c.what;
        EXPECT_GE(m_table->m_pHistory->HandRows(), 1) << c.what;
    }
}

}  // namespace
