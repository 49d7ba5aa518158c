// The table window on a board of the test's own: the receive hold and its
// nesting, a send that fails, and what happens when a box shown inside a
// board callback lets queued commands and the frame's close through while
// the board is still on the stack. The table window is a real window with
// the program's pictures and buttons; the connection is the program's own,
// never opened, so every send fails.
#include <gtest/gtest.h>

#include "afxwin.h"

#include <gdiplus.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "BalloonWnd.h"
#include "Bitmaps.h"
#include "GdiTestSupport.h"
#include "TableLayout.h"
#include "TableThemeKeys.h"
#include "TableRules.h"
#include "TableWindowTest.h"
#include "WidgetServices.h"
#include "ClientServices.h"
#include "GameClientApp.h"
#include "GameEnvironment.h"
#include "GameWnd.h"
#include "MainFrame.h"
#include "MardavelBoard.h"
#include "PngButton.h"
#include "SetTitleDlg.h"
#include "TableDriver.h"
#include "net/GameClientSocket.h"
#include "NetTestSupport.h"

// Rectangles in failure messages.
inline void PrintTo(const CRect& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace {

// The program's application object, never started: the table window reads
// its seats, state and board binding.
CGameClientApp g_app;

// ---- A board of the test's own ----------------------------------------------------------------

struct FakeBoard {
    BoardCallback callback = nullptr;
    uintptr_t cookie = 0;
    int depth = 0;
    int deepest = 0;
    bool destroyed = false;
    std::vector<int32_t> events;
    // Runs inside the board call for these events (the board calling back).
    int32_t reactTo = 0;
    void (*reaction)() = nullptr;
    uint8_t identitySeat = 0xFF;
    // What event 10032 answers.
    const HintCandidate* hint = nullptr;
};
FakeBoard g_board;
BoardGameState g_state;
uint8_t g_savedCounts[64];
uint8_t g_savedCards[1300];

BoardHandle QVBOARD_CALL FakeCreate(int32_t, BoardCallback callback, uintptr_t cookie, int32_t, const BoardInitBlock*)
{
    g_board.callback = callback;
    g_board.cookie = cookie;
    g_board.destroyed = false;
    return &g_board;
}

int32_t QVBOARD_CALL FakeEvent(BoardHandle, int32_t code, int32_t, int32_t, void* param)
{
    EXPECT_FALSE(g_board.destroyed) << "an event for a destroyed board: " << code;
    g_board.depth++;
    g_board.deepest = g_board.depth > g_board.deepest ? g_board.depth : g_board.deepest;
    g_board.events.push_back(code);
    switch (code) {
    case kEvOwnIdentity:
        g_board.identitySeat = static_cast<BoardPlayerRecord*>(param)->seat;
        break;
    case kEvTableState:
        *static_cast<BoardGameState**>(param) = &g_state;
        break;
    case kEvSavedCounts:
        *static_cast<void**>(param) = g_savedCounts;
        break;
    case kEvSavedCards:
        *static_cast<void**>(param) = g_savedCards;
        break;
    case kEvNextHint:
        *static_cast<const HintCandidate**>(param) = g_board.hint;
        break;
    default:
        if (code == g_board.reactTo && g_board.reaction != nullptr)
            g_board.reaction();
        break;
    }
    g_board.depth--;
    return 1;
}

void QVBOARD_CALL FakeDestroy(BoardHandle) { g_board.destroyed = true; }

int32_t Callback(uint32_t code, intptr_t p1 = 0, intptr_t p2 = 0)
{
    BoardCallbackRecord record = {};
    record.cookie = g_board.cookie;
    record.code = code;
    record.p1 = p1;
    record.p2 = p2;
    return g_board.callback(&record);
}

int Count(const std::vector<int32_t>& events, int32_t code)
{
    int n = 0;
    for (int32_t e : events)
        n += e == code ? 1 : 0;
    return n;
}

void Pump()
{
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

std::string ReadFileText(const std::string& path)
{
    std::string text;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
            text.append(buffer, n);
        fclose(f);
    }
    return text;
}

int Occurrences(const std::string& text, const std::string& word)
{
    int n = 0;
    for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        n++;
    return n;
}

using tabletest::CHostWnd;

class GameWndTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_process.SetUp(); }
    static void TearDownTestSuite() { s_process.TearDown(); }

    void SetUp() override
    {
        g_board = FakeBoard();
        memset(&g_state, 0, sizeof g_state);
        // As the board leaves it between hands: no emperor, no guard.
        g_state.emperorSeat = -1;
        g_state.guardSeat = -1;
        tabletest::MakeTable(g_app, FakeCreate, FakeEvent, FakeDestroy, m_host, m_table);
        if (HasFatalFailure())
            return;
        theGameSocket.StartReceive();
        ASSERT_TRUE(theGameSocket.IsReceiving());
    }

    void TearDown() override { tabletest::DropTable(g_app, m_host, m_table); }

    CHostWnd m_host;
    CGameWnd* m_table = NULL;
    static tabletest::TableProcess s_process;
};
tabletest::TableProcess GameWndTest::s_process;

TEST_F(GameWndTest, ReceiveHoldNests)
{
    m_table->SendMessage(WM_RECEIVE_HOLD, 0, 0);
    EXPECT_TRUE(theGameSocket.IsReceiving()) << "a hold of 0 ms holds nothing";

    // The board asks twice before the first hold ends: one hold of the
    // connection, ended once by timer 5.
    EXPECT_EQ(Callback(kCbHoldMessages, 600000), 1);
    EXPECT_EQ(Callback(kCbHoldMessages, 600000), 1);
    Pump();
    EXPECT_FALSE(theGameSocket.IsReceiving());
    m_table->SendMessage(WM_TIMER, kTimerHold);
    EXPECT_TRUE(theGameSocket.IsReceiving()) << "two holds, one resume: receiving again";
    m_table->SendMessage(WM_TIMER, kTimerHold);
    EXPECT_TRUE(theGameSocket.IsReceiving()) << "a stray end of hold does nothing";

    EXPECT_EQ(Callback(kCbHoldMessages, 0), 1);
    Pump();
    EXPECT_TRUE(theGameSocket.IsReceiving()) << "the board's hold of 0 posts nothing";

    // The window goes while a hold is in force: receiving resumes.
    m_table->SendMessage(WM_RECEIVE_HOLD, 0, 600000);
    EXPECT_FALSE(theGameSocket.IsReceiving());
    m_table->DestroyWindow();
    EXPECT_TRUE(theGameSocket.IsReceiving()) << "a hold never outlives the table window";
}

TEST_F(GameWndTest, FailedSendShowsOneBoxAndReportsEachTime)
{
    char reports[MAX_PATH];
    ::GetTempPathA(MAX_PATH, reports);
    strcat(reports, "client_game_wnd_faults.log");
    ::DeleteFileA(reports);
    ::SetEnvironmentVariableA("TALLOWEND_REPORT_FILE", reports);
    AppBoxRecorder boxes;
    // Not joined: the connection is closed, so the board's sends fail.
    uint8_t ready[8] = {};
    const uint32_t id = 0x26000;
    memcpy(ready, &id, 4);
    Callback(kCbSendReferee, (intptr_t)ready);
    Callback(kCbSendReferee, (intptr_t)ready);
    ::SetEnvironmentVariableA("TALLOWEND_REPORT_FILE", NULL);
    ASSERT_EQ(boxes.calls.size(), 1u) << "the network box once per process";
    EXPECT_EQ(boxes.calls[0].text.compare(0, 7, "0x73d1:"), 0) << boxes.calls[0].text;
    EXPECT_EQ(Occurrences(ReadFileText(reports), " 434 "), 2) << ReadFileText(reports);
    ::DeleteFileA(reports);
}

// Inside a board call the board refuses a play and the table shows a box;
// the box's message loop delivers what was queued.
CGameWnd* g_busyTable = nullptr;
bool g_closeInBox = false;

int PumpingBox(MsgBoxRequest&)
{
    if (g_closeInBox && g_busyTable != nullptr) {
        // The frame closes meanwhile: the table window goes while the board
        // is still on the stack.
        g_busyTable->DestroyWindow();
        g_busyTable->ReleaseWhenIdle();
    }
    Pump();
    return IDOK;
}

void RefusePlay() { Callback(kCbPlayRefused, 1); }

// Queues a play, a start and a hint command, then right-clicks to play; the
// board refuses the play inside its call and the table's box pumps messages.
void PlayRefusedWithCommandsQueued(CGameWnd* table, bool closeInBox)
{
    g_state.phase = kPhasePlay;
    g_board.reactTo = kEvPlayCards;
    g_board.reaction = RefusePlay;
    g_busyTable = table;
    g_closeInBox = closeInBox;
    MsgBoxRoutine previous = SetMsgBoxRoutine(PumpingBox);
    table->PostMessage(WM_COMMAND, MAKEWPARAM(kBtnPlay, BN_CLICKED), 0);
    table->PostMessage(WM_COMMAND, MAKEWPARAM(kBtnStart, BN_CLICKED), 0);
    table->PostMessage(WM_COMMAND, MAKEWPARAM(kBtnHint, BN_CLICKED), 0);
    if (CWnd* play = table->GetDlgItem(kBtnPlay))
        play->ShowWindow(SW_SHOWNA);
    table->SendMessage(WM_RBUTTONDOWN, 0, MAKELPARAM(500, 300));
    SetMsgBoxRoutine(previous);
    g_busyTable = nullptr;
}

TEST_F(GameWndTest, CommandsQueuedWhileTheBoardIsBusyAreDropped)
{
    PlayRefusedWithCommandsQueued(m_table, false);
    EXPECT_EQ(g_board.deepest, 1) << "the board is never entered twice";
    EXPECT_EQ(Count(g_board.events, kEvPlayCards), 1);
    EXPECT_EQ(Count(g_board.events, kEvReady), 0);
    EXPECT_EQ(Count(g_board.events, kEvNextHint), 0);
    EXPECT_FALSE(g_board.destroyed);
    // With the board off the stack the same command reaches it.
    m_table->SendMessage(WM_COMMAND, MAKEWPARAM(kBtnStart, BN_CLICKED), 0);
    EXPECT_EQ(Count(g_board.events, kEvReady), 1);
}

TEST_F(GameWndTest, TableClosedWhileTheBoardIsBusy)
{
    PlayRefusedWithCommandsQueued(m_table, true);
    EXPECT_EQ(g_board.deepest, 1);
    EXPECT_EQ(Count(g_board.events, kEvReady), 0);
    EXPECT_TRUE(g_board.destroyed) << "the board goes once its call has returned";
    EXPECT_EQ(m_table->GetSafeHwnd(), (HWND)NULL);
    g_app.OnIdle(0);   // the object itself goes at idle time
    m_table = NULL;
}

std::vector<uint8_t> Message(uint32_t id, uint32_t bodyLength = 0)
{
    std::vector<uint8_t> message(MessageHeaderBytes(id) + bodyLength, 0);
    memcpy(message.data(), &id, 4);
    memcpy(message.data() + 4, &bodyLength, 4);
    return message;
}

TEST_F(GameWndTest, ReceivedMessagesReachTheBoardByTheirRoute)
{
    struct Case {
        const char* what;
        uint32_t id;
        bool toBoard;
    };
    const Case cases[] = {
        {"the deal", tablemsg::kDeal, true},
        {"a play", tablemsg::kPlay, true},
        {"the hand's result", tablemsg::kHandResult, true},
        {"the board's relayed block", tablemsg::kRelayedBlock, true},
        {"the board data", tablemsg::kBoardData, true},
        {"the title list stays with the table", tablemsg::kTitleList, false},
        {"the table options stay with the table", tablemsg::kTableOptions, false},
        {"skin data is not the board's", tablemsg::kSkinData, false},
        {"advertising is not the board's", tablemsg::kAdvert, false},
        {"a task message is not the board's", 0x26030, false},
        {"an unknown id is ignored", 0x26099, false},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> message = Message(c.id, 4);
        const int before = Count(g_board.events, kEvGameMessage);
        m_table->m_strHandResult = "earlier result";
        CGameWnd::DispatchNetMessage(m_table, message.data(), c.id);
        EXPECT_EQ(Count(g_board.events, kEvGameMessage) - before, c.toBoard ? 1 : 0) << c.what;
        if (c.id == tablemsg::kHandResult) {
            EXPECT_TRUE(m_table->m_strHandResult.IsEmpty()) << "the result text is cleared before the board reads";
        }
    }
}

TEST_F(GameWndTest, ConnectionHooks)
{
    char reports[MAX_PATH];
    ::GetTempPathA(MAX_PATH, reports);
    strcat(reports, "client_game_wnd_hooks.log");
    ::DeleteFileA(reports);
    ::SetEnvironmentVariableA("TALLOWEND_REPORT_FILE", reports);
    std::vector<uint8_t> offline = Message(0x80000206, 24);
    const int before = Count(g_board.events, kEvGameMessage);
    ASSERT_NE(theGameSocket.m_pfnPlayerOfflineHook, nullptr);
    EXPECT_EQ(theGameSocket.m_pfnPlayerOfflineHook(m_table, offline.data()), 1) << "handled by the table";
    EXPECT_EQ(theGameSocket.m_pfnPlayerBackHook(m_table, offline.data()), 1);
    EXPECT_EQ(theGameSocket.m_pfnCloseEventHook(m_table, offline.data()), 0) << "the connection's own handling";
    ::SetEnvironmentVariableA("TALLOWEND_REPORT_FILE", NULL);
    EXPECT_EQ(Count(g_board.events, kEvGameMessage) - before, 2) << "the board sees both seat notices";
    const std::string text = ReadFileText(reports);
    EXPECT_EQ(Occurrences(text, " 432 "), 1) << text;
    EXPECT_EQ(Occurrences(text, " 433 "), 1) << text;
    ::DeleteFileA(reports);
}

TEST_F(GameWndTest, WatcherIdentityAndSends)
{
    EXPECT_EQ(g_board.identitySeat & 0x80, 0) << "a player's identity byte";
    g_app.m_bWatcher = TRUE;
    AppBoxRecorder boxes;
    EXPECT_EQ(m_table->CreateBoard(), 1);
    EXPECT_EQ(g_board.identitySeat & 0x80, 0x80) << "a watcher's identity byte has bit 7 set";
    uint8_t ready[8] = {};
    const uint32_t id = tablemsg::kReady;
    memcpy(ready, &id, 4);
    Callback(kCbSendReferee, (intptr_t)ready);
    g_app.m_bWatcher = FALSE;
    EXPECT_TRUE(boxes.calls.empty()) << "a watcher sends nothing, so nothing can fail";
}

// The own hand painted into the back buffer: each card's visible part is the
// card sheet's cell of that card, a selected card 20 pixels higher than the
// others, a hidden card the back (row 4, column 2), also where the next card
// at the same height covers the rest of it (a card is drawn only as far as
// it is in sight), and the last card whole. Expected pixels come from the
// sheet file itself.
TEST_F(GameWndTest, OwnHandPaintedFromTheCardSheet)
{
    g_app.m_bOnline = TRUE;
    g_state.phase = kPhasePlay;
    g_state.seats[0].cardsInHand = 4;
    g_state.hands[0][0] = CardEntry{1, 0, 1, 0, 0};                // a 3
    g_state.hands[0][1] = CardEntry{20, 5, 1, 1, kCardSelected};   // an 8, raised
    g_state.hands[0][2] = CardEntry{255, 0, 0, 0, 0};              // hidden
    g_state.hands[0][3] = CardEntry{30, 12, 1, 2, 0};              // a 2
    m_host.ShowWindow(SW_SHOWNA);
    m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC surface = GetTableSurfaceDC();
    ASSERT_NE(surface, (HDC)NULL);

    char self[MAX_PATH];
    ::GetModuleFileNameA(NULL, self, MAX_PATH);
    std::string sheetPath = self;
    sheetPath = sheetPath.substr(0, sheetPath.rfind('\\')) + "\\theme\\CardBig.bmp";
    HBITMAP sheet = (HBITMAP)::LoadImageA(NULL, sheetPath.c_str(), IMAGE_BITMAP, 0, 0,
                                          LR_LOADFROMFILE | LR_CREATEDIBSECTION);
    ASSERT_NE(sheet, (HBITMAP)NULL) << sheetPath;
    HDC sheetDC = ::CreateCompatibleDC(surface);
    HGDIOBJ old = ::SelectObject(sheetDC, sheet);

    TableMetrics m;   // 71 x 96 cards, a 15-pixel step: 4 cards in a 1000-pixel area
    const LayoutRect rect = HandRect(g_app.m_seats[0], 0, 4, m);
    struct Card {
        const char* what;
        int column, row, lift;
    };
    const Card cards[] = {
        {"the 3 of the first suit, not raised", 0, 0, kRaisedCardLift},
        {"the 8 of the second suit, raised", 5, 1, 0},
        {"the hidden card shows the back, under the next card", 2, 4, kRaisedCardLift},
        {"the last card, whole", 12, 2, kRaisedCardLift},
    };
    int compared = 0;
    for (int i = 0; i < 4; i++) {
        const int left = rect.left + i * m.ownStep, top = rect.top + cards[i].lift;
        const int width = i < 3 ? m.ownStep : m.cardWidth;   // the part the next card leaves visible
        for (int dx = 1; dx < width; dx += 3)
            for (int dy = 22; dy < 94; dy += 9) {
                const COLORREF want = ::GetPixel(sheetDC, cards[i].column * 71 + dx, cards[i].row * 96 + dy);
                if (want == RGB(255, 0, 255))
                    continue;   // the key colour: the table shows through
                EXPECT_EQ(::GetPixel(surface, left + dx, top + dy), want)
                    << cards[i].what << " at " << dx << "," << dy;
                compared++;
            }
    }
    EXPECT_GT(compared, 100) << "the sheet's pixels were compared";
    ::SelectObject(sheetDC, old);
    ::DeleteDC(sheetDC);
    ::DeleteObject(sheet);
    g_app.m_bOnline = FALSE;
}

// ---- The seats ----------------------------------------------------------------------------------

std::string ProgramFile(const std::string& relative)
{
    char self[MAX_PATH];
    ::GetModuleFileNameA(NULL, self, MAX_PATH);
    std::string folder = self;
    return folder.substr(0, folder.rfind('\\')) + "\\" + relative;
}

// The file of a theme picture, as the theme file names it.
std::string ThemeFile(const char* section, const char* key)
{
    char name[MAX_PATH] = "";
    ::GetPrivateProfileStringA(section, key, "", name, MAX_PATH, ProgramFile("theme_png\\Default.thm").c_str());
    return ProgramFile(std::string("theme_png\\Default\\") + name);
}

// How much of a picture the surface shows at (x, y): the share of the
// picture's opaque pixels (magenta counts as transparent) that the surface
// has in the same colour, over a grid of every second pixel of the source
// rectangle (sx, sy, w, h; w 0 for the whole picture). -1 when the file
// does not load.
double ShareShown(HDC surface, const std::string& file, int x, int y, int sx = 0, int sy = 0, int w = 0, int h = 0)
{
    std::wstring wide(file.begin(), file.end());
    Gdiplus::Bitmap picture(wide.c_str());
    if (picture.GetLastStatus() != Gdiplus::Ok || picture.GetWidth() == 0)
        return -1;
    if (w == 0) {
        w = (int)picture.GetWidth();
        h = (int)picture.GetHeight();
    }
    int opaque = 0, same = 0;
    for (int dy = 0; dy < h; dy += 2)
        for (int dx = 0; dx < w; dx += 2) {
            Gdiplus::Color c;
            picture.GetPixel(sx + dx, sy + dy, &c);
            if (c.GetA() != 255 || (c.GetR() == 255 && c.GetG() == 0 && c.GetB() == 255))
                continue;
            opaque++;
            same += ::GetPixel(surface, x + dx, y + dy) == RGB(c.GetR(), c.GetG(), c.GetB()) ? 1 : 0;
        }
    return opaque > 0 ? (double)same / opaque : -1;
}

LayoutSize PictureSize(const std::string& file)
{
    std::wstring wide(file.begin(), file.end());
    Gdiplus::Bitmap picture(wide.c_str());
    return LayoutSize{(int)picture.GetWidth(), (int)picture.GetHeight()};
}

CRect ChildRect(CWnd* parent, CWnd* child)
{
    CRect r;
    child->GetWindowRect(&r);
    parent->ScreenToClient(&r);
    return r;
}

void NameSeats()
{
    const char* names[kTableSeats] = {"alice", "bob", "carol", "dave", "erin"};
    for (int seat = 0; seat < kTableSeats; seat++) {
        strcpy(g_app.m_seats[seat].userName, names[seat]);
        strcpy(g_app.m_seats[seat].nickName, names[seat]);
    }
}

// Before the first hand a playing user sees every seat in the waiting look:
// the large frame with the portrait inside it, "Ready" beside a ready seat,
// "Waiting" beside another seat that is not ready, and for the own seat, not
// ready, the start button above its frame instead of a mark.
TEST_F(GameWndTest, SeatsInTheWaitingLook)
{
    g_app.m_bOnline = TRUE;
    NameSeats();
    g_state.phase = kPhaseIdle;
    g_state.seats[1].player.flags = kPlayerFlagReady;
    g_state.seats[3].player.flags = kPlayerFlagReady;
    m_host.ShowWindow(SW_SHOWNA);
    m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC surface = GetTableSurfaceDC();
    ASSERT_NE(surface, (HDC)NULL);
    ASSERT_TRUE(m_table->m_bFirstHandPending);

    CRect client;
    m_table->GetClientRect(&client);
    const LayoutRect area{client.left, client.top, client.right, client.bottom};
    const std::string frame = ThemeFile("MAIN", "BigAvatarBk");
    const std::string ready = ThemeFile("Status", "Ready");
    const std::string waiting = ThemeFile("Status", "Waiting");
    const LayoutSize frameSize = PictureSize(frame), markSize = PictureSize(ready);
    const int titleWidth = PictureSize(ThemeFile("Title", "TitleBK01")).cx;
    struct Case {
        const char* what;
        int seat;          // at the view of the same number
        const char* mark;  // the picture beside the frame, or NULL
    };
    const Case cases[] = {
        {"own seat, not ready: no mark", 0, NULL},
        {"lower left, ready", 1, "ready"},
        {"upper left, not ready", 2, "waiting"},
        {"upper right, ready", 3, "ready"},
        {"lower right, not ready", 4, "waiting"},
    };
    for (const Case& c : cases) {
        const WaitingSeatPlaces p =
            WaitingSeatLayout(area, c.seat, frameSize, markSize, titleWidth, g_app.m_seats[c.seat].nameHeight);
        // The frame's top rows: below them the portrait covers it.
        EXPECT_GT(ShareShown(surface, frame, p.frameLeft, p.frameTop, 0, 0, frameSize.cx, 6), 0.98) << c.what;
        const double readyShown = ShareShown(surface, ready, p.markLeft, p.markTop);
        const double waitingShown = ShareShown(surface, waiting, p.markLeft, p.markTop);
        EXPECT_EQ(readyShown > 0.98, c.mark != NULL && strcmp(c.mark, "ready") == 0) << c.what << " " << readyShown;
        EXPECT_EQ(waitingShown > 0.98, c.mark != NULL && strcmp(c.mark, "waiting") == 0)
            << c.what << " " << waitingShown;
        CAvatarPanel* portrait = m_table->SeatWindow(c.seat);
        ASSERT_NE(portrait, nullptr) << c.what;
        EXPECT_TRUE(portrait->IsWindowVisible()) << c.what;
        EXPECT_EQ(ChildRect(m_table, portrait), CRect(p.avatarLeft, p.avatarTop, p.avatarLeft + 150, p.avatarTop + 190))
            << c.what << ": the large portrait (size mode 12) inside the frame";
        EXPECT_EQ(g_app.m_seats[c.seat].markLeft, p.statusLeft) << c.what;
        EXPECT_EQ(g_app.m_seats[c.seat].markTop, p.statusTop) << c.what;
    }
    // A picture of the look for a person to see, when asked for.
    if (const char* shots = getenv("MARDAVEL_SHOTS_DIR"))
        tabledriver::SaveWindowPicture(m_host.m_hWnd, std::string(shots) + "\\table-waiting-look.bmp");
    const WaitingSeatPlaces own = WaitingSeatLayout(area, 0, frameSize, markSize, titleWidth, 0);
    CPngButton* start = DYNAMIC_DOWNCAST(CPngButton, m_table->GetDlgItem(kBtnStart));
    ASSERT_NE(start, nullptr);
    SIZE cell = {0, 0};
    start->GetImageInfo(&cell);
    ASSERT_GT(cell.cx, 0);
    const CRect at = ChildRect(m_table, start);
    EXPECT_EQ(at, CRect(area.Width() / 2 - cell.cx / 2, own.frameTop - cell.cy - 35, area.Width() / 2 - cell.cx / 2 + cell.cx,
                        own.frameTop - 35))
        << "the start button centred, 35 pixels above the own frame";

    // A watcher never sees the waiting look: the portraits sit in the seats'
    // portrait boxes.
    g_app.m_bWatcher = TRUE;
    m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    for (int seat = 0; seat < kTableSeats; seat++) {
        const SeatLayoutRecord& r = g_app.m_seats[seat];
        EXPECT_EQ(ChildRect(m_table, m_table->SeatWindow(seat)),
                  CRect(r.portraitLeft, r.portraitTop, r.portraitLeft + kPortraitWidth, r.portraitTop + kPortraitHeight))
            << "watched seat " << seat;
    }
    g_app.m_bWatcher = FALSE;
    g_app.m_bOnline = FALSE;
}

// In a hand every seat has the playing look: the portrait in its box, the
// status picture by the first matching flag, the remaining count by the
// few-cards rules, the turn clock of the seat to act, and for the own seat
// in trust play the band with the number of cancels left.
TEST_F(GameWndTest, SeatsInThePlayingLook)
{
    g_app.m_bOnline = TRUE;
    NameSeats();
    m_table->m_bFirstHandPending = FALSE;
    g_state.phase = kPhasePlay;
    g_state.optStored8 = 5;   // the few-cards threshold
    const int counts[kTableSeats] = {8, 5, 20, 6, 5};
    for (int seat = 0; seat < kTableSeats; seat++) {
        g_state.seats[seat].cardsInHand = (uint32_t)counts[seat];
        for (int i = 0; i < counts[seat]; i++)
            g_state.hands[seat][i] = CardEntry{(uint8_t)(i + 1), (uint8_t)i, 1, 0, 0};
        g_state.clockLength[seat] = 20;
        g_state.clockSecondsLeft[seat] = 10;
    }
    g_state.seats[1].player.flags = kPlayerFlagTrustPlay | kPlayerFlagReady;
    g_state.seats[2].player.flags = kPlayerFlagOffline | kPlayerFlagTrustPlay;
    g_state.seatToAct = 2;
    // Seat 4 reached the threshold and flashes: off on odd steps.
    m_table->m_fewCardsWarning[4] = TRUE;
    m_table->m_fewCardsFlash[4] = 1;
    m_host.ShowWindow(SW_SHOWNA);
    m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC surface = GetTableSurfaceDC();
    ASSERT_NE(surface, (HDC)NULL);

    for (int seat = 0; seat < kTableSeats; seat++) {
        const SeatLayoutRecord& r = g_app.m_seats[seat];
        CAvatarPanel* portrait = m_table->SeatWindow(seat);
        ASSERT_NE(portrait, nullptr);
        EXPECT_TRUE(portrait->IsWindowVisible()) << "seat " << seat;
        EXPECT_EQ(ChildRect(m_table, portrait),
                  CRect(r.portraitLeft, r.portraitTop, r.portraitLeft + kPortraitWidth, r.portraitTop + kPortraitHeight))
            << "seat " << seat;
    }

    if (const char* shots = getenv("MARDAVEL_SHOTS_DIR"))
        tabledriver::SaveWindowPicture(m_host.m_hWnd, std::string(shots) + "\\table-playing-look.bmp");
    const std::string trustPicture = ProgramFile("theme\\respic\\TrustPlay.bmp");
    const std::string offline = ProgramFile("theme\\respic\\OffLine.bmp");
    const std::string countBox = ThemeFile("Background", "LeftNumBK");
    struct Case {
        const char* what;
        int seat;
        const char* status;   // the status picture's file, or NULL
        bool count;           // the remaining-count box
    };
    const Case cases[] = {
        {"own seat: its count at any threshold", 0, NULL, true},
        {"lower left: trust play over ready; 5 cards at threshold 5", 1, "trust", true},
        {"upper left: off line over trust play; 20 cards", 2, "offline", false},
        {"upper right: no flag; 6 cards at threshold 5", 3, NULL, false},
        {"lower right: 5 cards, flashed off on an odd step", 4, NULL, false},
    };
    for (const Case& c : cases) {
        const SeatLayoutRecord& r = g_app.m_seats[c.seat];
        int left = 0, top = 0;
        StatusPicturePlace(r, c.seat, &left, &top);
        const double trustShown = ShareShown(surface, trustPicture, left, top);
        const double offlineShown = ShareShown(surface, offline, left, top);
        EXPECT_EQ(trustShown > 0.98, c.status != NULL && strcmp(c.status, "trust") == 0) << c.what;
        EXPECT_EQ(offlineShown > 0.98, c.status != NULL && strcmp(c.status, "offline") == 0) << c.what;
        const LayoutRect box = RemainingCountBox(r, c.seat, PictureSize(countBox));
        // The box's edge (its middle holds the figure).
        EXPECT_EQ(ShareShown(surface, countBox, box.left, box.top, 0, 0, box.Width(), 4) > 0.98, c.count) << c.what;
    }

    // The clock of the seat to act (upper left): the other seats' frame, its
    // fill 10 of 20 seconds wide; no bar at a seat not to act.
    const std::string frame = ProgramFile("theme\\respic\\OtherTimerFrame.bmp");
    const std::string fill = ProgramFile("theme\\respic\\OtherTimer.bmp");
    const LayoutSize frameSize = PictureSize(frame), fillSize = PictureSize(fill);
    const int panelHeight = PictureSize(ThemeFile("Background", "LPlayer")).cy;
    const LayoutRect bar = ClockBarRect(g_app.m_seats[2], 2, frameSize, panelHeight);
    const int filled = fillSize.cx * 10 / 20;
    EXPECT_GT(ShareShown(surface, fill, bar.left, bar.top, 0, 0, filled, fillSize.cy), 0.98) << "the fill's left half";
    EXPECT_GT(ShareShown(surface, frame, bar.left + filled + 2, bar.top, filled + 2, 0, frameSize.cx - filled - 2,
                         frameSize.cy),
              0.98)
        << "the frame right of the fill";
    const LayoutRect idle = ClockBarRect(g_app.m_seats[3], 3, frameSize, panelHeight);
    EXPECT_LT(ShareShown(surface, frame, idle.left, idle.top), 0.5) << "no clock at a seat not to act";

    // The own clock runs only while the own turn's clock is armed.
    const std::string ownFrame = ProgramFile("theme\\respic\\MyTimerFrame.bmp");
    const std::string ownFill = ProgramFile("theme\\respic\\MyTimer.bmp");
    const LayoutRect ownBar = ClockBarRect(g_app.m_seats[0], 0, PictureSize(ownFrame), panelHeight);
    g_state.seatToAct = 0;
    g_state.clockSecondsLeft[0] = 20;
    m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_LT(ShareShown(surface, ownFrame, ownBar.left, ownBar.top), 0.5) << "the own clock not armed";
    m_table->m_bOwnClockActive = TRUE;
    m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(ShareShown(surface, ownFill, ownBar.left, ownBar.top, 0, 0, PictureSize(ownFill).cx, 4), 0.98)
        << "a full clock: the whole fill (its top rows; the seconds are written across its middle)";
    m_table->m_bOwnClockActive = FALSE;
    g_app.m_bOnline = FALSE;
}

// The own seat's trust-play band: "TrustPlayStr" with the digit of
// times - allowed + 1 and the cancel button shown; at 0 "TrustPlayStr2" and
// the cancel button disabled; out of trust play neither band nor button.
TEST_F(GameWndTest, TrustPlayBand)
{
    g_app.m_bOnline = TRUE;
    NameSeats();
    m_table->m_bFirstHandPending = FALSE;
    g_state.phase = kPhasePlay;
    m_host.ShowWindow(SW_SHOWNA);
    const std::string first = ThemeFile("Status", "TrustPlayStr");
    const std::string second = ThemeFile("Status", "TrustPlayStr2");
    const std::string digits = ThemeFile("Status", "TrustPlayNum");
    const LayoutSize textSize = PictureSize(first);
    const int cell = PictureSize(digits).cx / 10;
    const LayoutSize dPlayer = PictureSize(ThemeFile("Background", "DPlayer"));
    struct Case {
        const char* what;
        BOOL trust;
        int times, allowed;
        const char* text;   // "first", "second" or NULL
        int digit;          // -1 none
        bool buttonShown, buttonEnabled;
    };
    const Case cases[] = {
        {"three cancels left", TRUE, 3, 1, "first", 3, true, true},
        {"none left", TRUE, 0, 1, "second", -1, true, false},
        {"more than nine: the digit 9", TRUE, 20, 1, "first", 9, true, true},
        {"out of trust play", FALSE, 3, 1, NULL, -1, false, true},
    };
    for (const Case& c : cases) {
        if (CWnd* cancel = m_table->GetDlgItem(kBtnTrustPlayOff))
            cancel->EnableWindow(TRUE);
        m_table->m_bTrustPlay = c.trust;
        m_table->m_trustTimes = (uint8_t)c.times;
        m_table->m_trustAllowed = (uint8_t)c.allowed;
        m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        HDC surface = GetTableSurfaceDC();
        const SeatLayoutRecord& own = g_app.m_seats[0];
        const TrustBandPlaces p = TrustBandLayout(own.panelLeft, own.panelTop, dPlayer, textSize);
        const bool firstShown = ShareShown(surface, first, p.textLeft, p.textTop, 0, 0, 80, textSize.cy) > 0.98;
        const bool secondShown = ShareShown(surface, second, p.textLeft, p.textTop) > 0.98;
        EXPECT_EQ(firstShown, c.text != NULL && strcmp(c.text, "first") == 0) << c.what;
        EXPECT_EQ(secondShown, c.text != NULL && strcmp(c.text, "second") == 0) << c.what;
        if (c.digit >= 0) {
            EXPECT_GT(ShareShown(surface, digits, p.digitLeft, p.digitTop, c.digit * cell, 0, cell, textSize.cy), 0.98)
                << c.what;
        }
        CWnd* cancel = m_table->GetDlgItem(kBtnTrustPlayOff);
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ((cancel->GetStyle() & WS_VISIBLE) != 0, c.buttonShown) << c.what;
        if (c.buttonShown) {
            EXPECT_EQ(cancel->IsWindowEnabled() != FALSE, c.buttonEnabled) << c.what;
            const CRect at = ChildRect(m_table, cancel);
            EXPECT_EQ(at.TopLeft(), CPoint(own.panelLeft + 300, own.panelTop + 190))
                << c.what << ": the cancel button over the own panel";
        }
    }
    m_table->m_bTrustPlay = FALSE;
    g_app.m_bOnline = FALSE;
}

// The board's callbacks by code: what each shows, hides, says and holds.
// Every callback answers 1. Texts are the resource library's strings.
TEST_F(GameWndTest, CallbackCodeTable)
{
    g_state.optLowestLast = 3;   // the room's lowest rank, for the refused play
    struct Case {
        const char* what;
        uint32_t code;
        intptr_t p1;
        uint32_t phase;
        int seatToAct;
        std::vector<int> before;   // buttons shown first
        const char* box;           // a box's text, or NULL for none
        int countdown;
        const char* status;        // the status line afterwards, or NULL: unchanged
        std::vector<int> shown, hidden;
    };
    const Case cases[] = {
        {"10013, lowest rank last: the room's box for 5 s", kCbPlayRefused, 4, kPhasePlay, 0, {},
         "出牌错误!          \n\n在憋3房间必须最后一手出完3！", 5, NULL, {}, {}},
        {"10013, another refusal: the rules' box for 5 s", kCbPlayRefused, 1, kPhasePlay, 0, {},
         "出牌错误!          \n\n请阅读出牌规则。", 5, NULL, {}, {}},
        {"10001 for the own seat: start hidden, waiting for the others", kCbSeatReady, 0, kPhaseIdle, 0,
         {kBtnStart}, NULL, 0, "等待游戏者开始...", {}, {kBtnStart}},
        {"10001 for another seat: the start button stays", kCbSeatReady, 2, kPhaseIdle, 0, {kBtnStart}, NULL, 0,
         NULL, {kBtnStart}, {}},
        {"10003 while the emperor is decided: his buttons go", kCbEmperorDecided, 0, 1, 0,
         {kBtnBecome, kBtnDecline, kBtnAlone, kBtnGiveUp}, NULL, 0, "等待游戏者决定皇帝...", {},
         {kBtnBecome, kBtnDecline, kBtnAlone, kBtnGiveUp}},
        {"10016: the kick buttons instead of the guard's", kCbKickOpen, 0, 2, 0, {kBtnShowGuard, kBtnHideGuard},
         NULL, 0, NULL, {kBtnKick, kBtnNoKick}, {kBtnShowGuard, kBtnHideGuard}},
        {"10017 while another seat decides: kick buttons gone, waiting", kCbKickDone, 0, 2, 3,
         {kBtnKick, kBtnNoKick}, NULL, 0, "等待其他游戏者决定踢的结果...", {}, {kBtnKick, kBtnNoKick}},
        {"10018: the emperor's buttons go", kCbSeatAlone, 0, 1, 0, {kBtnBecome, kBtnAlone}, NULL, 0, NULL, {},
         {kBtnBecome, kBtnAlone}},
    };
    for (const Case& c : cases) {
        g_state.phase = c.phase;
        g_state.seatToAct = c.seatToAct;
        m_table->m_strStatus = "before";
        for (int id : c.before)
            m_table->GetDlgItem(id)->ShowWindow(SW_SHOWNA);
        AppBoxRecorder boxes;
        EXPECT_EQ(Callback(c.code, c.p1), 1) << c.what;
        if (c.box == NULL) {
            EXPECT_TRUE(boxes.calls.empty()) << c.what;
        } else {
            ASSERT_EQ(boxes.calls.size(), 1u) << c.what;
            EXPECT_EQ(boxes.calls[0].text, c.box) << c.what;
            EXPECT_EQ(boxes.calls[0].countdown, c.countdown) << c.what;
        }
        EXPECT_STREQ((LPCSTR)m_table->m_strStatus, c.status != NULL ? c.status : "before") << c.what;
        for (int id : c.shown)
            EXPECT_TRUE(m_table->GetDlgItem(id)->GetStyle() & WS_VISIBLE) << c.what << ": " << id << " shown";
        for (int id : c.hidden)
            EXPECT_FALSE(m_table->GetDlgItem(id)->GetStyle() & WS_VISIBLE) << c.what << ": " << id << " hidden";
        for (int id : c.shown)
            m_table->GetDlgItem(id)->ShowWindow(SW_HIDE);
    }

    // Code 18 holds receiving for its time; with 0 it holds nothing.
    EXPECT_EQ(Callback(kCbHoldMessages, 0), 1);
    Pump();
    EXPECT_TRUE(theGameSocket.IsReceiving()) << "a hold of 0 holds nothing";
    EXPECT_EQ(Callback(kCbHoldMessages, 500), 1);
    Pump();
    EXPECT_FALSE(theGameSocket.IsReceiving()) << "held";
    m_table->SendMessage(WM_TIMER, kTimerHold, 0);
    EXPECT_TRUE(theGameSocket.IsReceiving()) << "timer 5 ends the hold";
}

// ---- The table's marks ------------------------------------------------------------------------

// Which pixels of a rectangle differ between two copies of the table.
int DifferentPixels(HDC a, HDC b, const CRect& r)
{
    int n = 0;
    for (int y = r.top; y < r.bottom; y++)
        for (int x = r.left; x < r.right; x++)
            n += ::GetPixel(a, x, y) != ::GetPixel(b, x, y) ? 1 : 0;
    return n;
}

// The designated card beside the own portrait: its suit's quarter of
// "Color" and its rank in a bold 25 x 12 font, dark red on rows 0 and 2,
// black on rows 1 and 3. The expected picture is made apart from the table:
// the same table without the card, the quarter drawn from the theme file
// with GDI+, and the rank written from the table below (v = (column + 3)
// mod 13: J Q K A for 11 12 0 1, else the number).
//   Place, with qw a quarter of the width of "Color": the quarter's left =
//   portrait left - qw - 10, its top = the portrait's top; the rank's box
//   20 x 25 at the quarter's left + qw / 2 + 6 and its top + 4.
TEST_F(GameWndTest, DesignatedCardSuitAndRank)
{
    g_app.m_bOnline = TRUE;
    m_table->m_bFirstHandPending = FALSE;
    m_host.ShowWindow(SW_SHOWNA);
    HDC surface = GetTableSurfaceDC();
    ASSERT_NE(surface, (HDC)NULL);
    const std::string colorFile = ThemeFile("Others", "Color");
    const std::wstring colorWide(colorFile.begin(), colorFile.end());
    Gdiplus::Bitmap color(colorWide.c_str());
    ASSERT_EQ(color.GetLastStatus(), Gdiplus::Ok) << colorFile;
    const int qw = (int)color.GetWidth() / 4, qh = (int)color.GetHeight();
    struct Case {
        const char* what;
        int phase;
        int number;          // byte 3875
        const char* rank;    // NULL: nothing drawn
        int quarter;
        COLORREF ink;
    };
    const Case cases[] = {
        {"column 8 of the first suit: J, dark red", kPhasePlay, 8, "J", 0, RGB(128, 0, 0)},
        {"column 10 of the second suit: K, black", kPhasePlay, 13 + 10, "K", 1, RGB(0, 0, 0)},
        {"column 11 of the third suit: A, dark red", kPhasePlay, 26 + 11, "A", 2, RGB(128, 0, 0)},
        {"column 12 of the fourth suit: 2, black", kPhasePlay, 39 + 12, "2", 3, RGB(0, 0, 0)},
        {"column 7 of the second pack's first suit: 10", kPhaseIdle, 54 + 7, "10", 0, RGB(128, 0, 0)},
        {"a joker has no suit quarter: nothing", kPhasePlay, 52, NULL, 0, 0},
        {"while the emperor is decided: nothing", 1, 8, NULL, 0, 0},
        {"no card named (255): nothing", kPhasePlay, 255, NULL, 0, 0},
    };
    for (const Case& c : cases) {
        g_state.phase = (uint32_t)c.phase;
        g_state.rememberedCardId = (uint8_t)c.number;
        g_state.optNoGuardCard = 0;
        m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        const SeatLayoutRecord& own = g_app.m_seats[0];
        const CRect quarter(own.portraitLeft - qw - 10, own.portraitTop, own.portraitLeft - 10, own.portraitTop + qh);
        const CRect rank(quarter.left + qw / 2 + 6, quarter.top + 4, quarter.left + qw / 2 + 26, quarter.top + 29);
        CRect both;
        both.UnionRect(quarter, rank);
        gfxtest::Canvas expected(1000, 700);   // the table without the card
        ::BitBlt(expected.dc(), 0, 0, 1000, 700, surface, 0, 0, SRCCOPY);
        g_state.optNoGuardCard = 1;
        m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        if (c.rank != NULL) {
            {
                Gdiplus::Graphics g(expected.dc());
                g.DrawImage(&color, Gdiplus::Rect(quarter.left, quarter.top, qw, qh), c.quarter * qw, 0, qw, qh,
                            Gdiplus::UnitPixel);
            }
            HFONT font = ::CreateFontA(25, 12, 0, 0, 700, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "");
            HGDIOBJ oldFont = ::SelectObject(expected.dc(), font);
            ::SetBkMode(expected.dc(), TRANSPARENT);
            ::SetTextColor(expected.dc(), c.ink);
            RECT box = rank;
            ::DrawTextA(expected.dc(), c.rank, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            ::SelectObject(expected.dc(), oldFont);
            ::DeleteObject(font);
        }
        EXPECT_EQ(DifferentPixels(expected.dc(), surface, both), 0) << c.what;
        if (c.rank != NULL) {
            // The rank's ink is there at all (the comparison holds it too).
            int inked = 0;
            for (int y = rank.top; y < rank.bottom; y++)
                for (int x = rank.left; x < rank.right; x++)
                    inked += ::GetPixel(surface, x, y) == c.ink ? 1 : 0;
            EXPECT_GT(inked, 10) << c.what;
        }
    }
    g_app.m_bOnline = FALSE;
}

// The decision-button bar "BtnBK" (200 x 44, a 2-pixel opaque edge around a
// half-transparent middle), two rows: the lower row's top is the area's
// bottom - b / 2 - 147 (b the height of the "Setup" picture), the upper
// row's b + 10 higher. Its least left edge is the own panel's left + 525
// (+ 485 before the first hand); the own panel ("DPlayer", 600 wide) is
// centred, so in a table 1000 wide the edge is 200 + 525 = 725 and the bar
// fits (275 >= 200): right-aligned at 800. In a table 800 wide it is
// 100 + 525 = 625 and 175 pixels remain: the bar starts there with the
// picture's middle columns 50-149 stretched to 200 and is cut at 800 (no
// right edge). Before the first hand it stays right-aligned in both.
TEST_F(GameWndTest, ButtonBarFitsOrStretches)
{
    g_app.m_bOnline = TRUE;
    g_state.phase = kPhasePlay;
    m_host.ShowWindow(SW_SHOWNA);
    HDC surface = GetTableSurfaceDC();
    ASSERT_NE(surface, (HDC)NULL);
    const std::string barFile = ThemeFile("Background", "BtnBK");
    const std::wstring wide(barFile.begin(), barFile.end());
    Gdiplus::Bitmap bar(wide.c_str());
    ASSERT_EQ(bar.GetLastStatus(), Gdiplus::Ok) << barFile;
    Gdiplus::Color corner;
    bar.GetPixel(0, 0, &corner);
    ASSERT_EQ(corner.GetA(), 255) << "the bar's edge is opaque";
    const COLORREF edge = RGB(corner.GetR(), corner.GetG(), corner.GetB());
    const int h = (int)bar.GetHeight();
    const int b = PictureSize(ThemeFile("Buttons", "Setup")).cy;
    struct Case {
        const char* what;
        int width;
        BOOL firstHandPending;
        bool rightEdge;       // the picture's right edge on the area's right edge
        int leftEdge;         // where the picture's left edge is, or -1 for none
        int stripLeft;        // where the stretched strip begins (no edge there), or -1
    };
    const Case cases[] = {
        {"fits: right-aligned at its natural size", 1000, FALSE, true, 800, -1},
        {"does not fit: the middle strip from the least left edge, cut by the right edge", 800, FALSE, false, -1, 625},
        {"before the first hand: right-aligned although it does not fit", 800, TRUE, true, 600, -1},
    };
    for (const Case& c : cases) {
        m_table->m_bFirstHandPending = c.firstHandPending;
        m_table->SetWindowPos(NULL, 0, 0, c.width, 700, SWP_NOZORDER | SWP_NOMOVE);
        m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        const int lower = 700 - b / 2 - 147, upper = lower - b - 10;
        for (int top : {lower, upper}) {
            int edgeRows = 0, topRow = 0;
            for (int y = top + 4; y < top + h - 4; y++)
                edgeRows += ::GetPixel(surface, c.width - 1, y) == edge ? 1 : 0;
            EXPECT_EQ(edgeRows == h - 8, c.rightEdge) << c.what << ", row at " << top;
            if (c.leftEdge >= 0) {
                int left = 0;
                for (int y = top + 4; y < top + h - 4; y++)
                    left += ::GetPixel(surface, c.leftEdge, y) == edge ? 1 : 0;
                EXPECT_EQ(left, h - 8) << c.what << ": the left edge, row at " << top;
            }
            if (c.stripLeft >= 0) {
                // Under the own panel: the bar begins at the least left edge
                // (its left differs from what lies beside it) without an
                // edge of its own (its first column is its middle's colour).
                int begins = 0, noEdge = 0;
                for (int y = top + 4; y < top + h - 4; y++) {
                    begins += ::GetPixel(surface, c.stripLeft - 1, y) != ::GetPixel(surface, c.stripLeft, y) ? 1 : 0;
                    noEdge += ::GetPixel(surface, c.stripLeft, y) == ::GetPixel(surface, c.stripLeft + 15, y) ? 1 : 0;
                }
                EXPECT_EQ(begins, h - 8) << c.what << ": where it begins, row at " << top;
                EXPECT_EQ(noEdge, h - 8) << c.what << ": no edge at its start, row at " << top;
            }
            // The top edge runs over the last 100 pixels in every case.
            for (int x = c.width - 100; x < c.width; x++)
                topRow += ::GetPixel(surface, x, top) == edge ? 1 : 0;
            EXPECT_EQ(topRow, 100) << c.what << ", row at " << top;
        }
    }
    m_table->SetWindowPos(NULL, 0, 0, 1000, 700, SWP_NOZORDER | SWP_NOMOVE);
    g_app.m_bOnline = FALSE;
}

// The role marks beside the portraits, each at the size of "FarmerSign"
// (24 x 24): 5 pixels right of the portrait box (right-hand seats: ending 5
// left of it), top = the box's top + 2 * 24 - 27. Marks 1-3 are theme
// pictures, 4 and 5 the left halves of the kick pictures. Which mark a seat
// gets is the rule's (tested apart); here each picture at its place.
// The emperor's mark "EmperorSign": the remaining-count box ("LeftNumBK",
// 34 x 22, 2 right of the box, its bottom 2 above the box's bottom) moved
// 3 right and 84 up: (portrait left + 105, portrait top + 12).
TEST_F(GameWndTest, RoleAndEmperorMarks)
{
    g_app.m_bOnline = TRUE;
    m_table->m_bFirstHandPending = FALSE;
    m_host.ShowWindow(SW_SHOWNA);
    HDC surface = GetTableSurfaceDC();
    ASSERT_NE(surface, (HDC)NULL);
    const std::string files[] = {
        ThemeFile("Others", "HouseCarlSign2"), ThemeFile("Others", "HouseCarlSign"), ThemeFile("Others", "FarmerSign"),
        ProgramFile("theme\\respic\\kickHouseCarl.bmp"), ProgramFile("theme\\respic\\kickFarmer.bmp"),
    };
    const LayoutSize farmer = PictureSize(files[2]);
    ASSERT_EQ(farmer.cx, 24);
    struct Case {
        const char* what;
        int phase;
        uint32_t tableFlags, ruleFlags;
        int guard, shownSeat;
        int seat;     // the seat looked at (seat n sits at view n here)
        int mark;     // 1-5, 0 none
    };
    const Case cases[] = {
        {"guard shown, flag 0x8 clear: mark 1", kPhasePlay, 0, 0, 1, 1, 1, 1},
        {"guard shown with 0x8 and 0x100: mark 4", kPhasePlay, 0x108, 0, 2, 2, 2, 4},
        {"guard hidden with 0x4, right-hand seat: mark 2", kPhasePlay, 0x4, 0, 3, -1, 3, 2},
        {"another seat shown: mark 3", kPhasePlay, 0, 0, 1, 2, 2, 3},
        {"the kick option and the seat's bit, right-hand seat: mark 5", kPhasePlay, 0, 0x80000 | 0x10, 1, -1, 4, 5},
        {"deciding the emperor: none", 1, 0, 0, 1, 2, 2, 0},
    };
    for (const Case& c : cases) {
        g_state.phase = (uint32_t)c.phase;
        g_state.tableFlags = c.tableFlags;
        g_state.ruleFlags = c.ruleFlags;
        g_state.guardSeat = c.guard;
        for (int seat = 0; seat < kTableSeats; seat++)
            g_state.decisionMarks[seat] = seat == c.shownSeat ? 1 : 0;
        m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        const SeatLayoutRecord& r = g_app.m_seats[c.seat];
        const int left = c.seat >= 3 ? r.portraitLeft - 5 - farmer.cx : r.portraitLeft + kPortraitWidth + 5;
        const int top = r.portraitTop + 2 * farmer.cy - 27;
        for (int m = 1; m <= 5; m++) {
            const double shown = ShareShown(surface, files[m - 1], left, top, 0, 0, farmer.cx, farmer.cy);
            EXPECT_EQ(shown > 0.98, m == c.mark) << c.what << ": mark " << m << " " << shown;
        }
    }

    const std::string emperor = ThemeFile("Others", "EmperorSign");
    g_state.phase = kPhasePlay;
    g_state.guardSeat = -1;
    g_state.tableFlags = g_state.ruleFlags = 0;
    for (int seat = 0; seat < kTableSeats; seat++)
        g_state.decisionMarks[seat] = 0;
    const LayoutSize count = PictureSize(ThemeFile("Background", "LeftNumBK"));
    // From the portrait box's left: its width + 2 + 3, or - 2 - the box's width + 3.
    const int leftOf[kTableSeats] = {105, 105, 105, -2 - count.cx + 3, -2 - count.cx + 3};
    const int topOf = kPortraitHeight - 2 - count.cy - 84;
    for (int seat : {-1, 0, 3}) {
        g_state.emperorSeat = seat;
        m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        for (int s = 0; s < kTableSeats; s++) {
            const SeatLayoutRecord& r = g_app.m_seats[s];
            const double shown = ShareShown(surface, emperor, r.portraitLeft + leftOf[s], r.portraitTop + topOf);
            EXPECT_EQ(shown > 0.98, s == seat) << "emperor " << seat << ", seat " << s << " " << shown;
        }
    }

    // Everything together, for a look: the emperor upper right, the guard
    // shown lower left, a designated J, 12 cards on the table.
    if (const char* shots = getenv("MARDAVEL_SHOTS_DIR")) {
        NameSeats();
        g_state.emperorSeat = 3;
        g_state.guardSeat = 1;
        g_state.decisionMarks[1] = 1;
        g_state.decisionMarks[2] = 1;
        g_state.optNoGuardCard = 1;
        g_state.rememberedCardId = 8;
        g_state.trickCount = 12;
        g_state.leadSeat = 2;
        g_state.seatToAct = 0;
        m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        tabledriver::SaveWindowPicture(m_host.m_hWnd, std::string(shots) + "\\table-marks.bmp");
        g_state.trickCount = 0;
    }
    g_app.m_bOnline = FALSE;
}

// The played-count figure between the left seats, online while a play lies
// on the table and its seat (3668) is not the seat to act (3680):
// "TONumBK" (w x h) at the area's half width less w / 2 and at (upper left
// panel top 10 + lower left panel top (700 - the own panel's height) / 2 +
// the side panel's height) / 2 - h / 2; "TONum" holds ten cells, each
// digit at the figure's top + (h - the strip's height) / 2: one digit at
// + 75, two at + 70 and + 86. Counts past 99 keep to the strip's cells (99).
TEST_F(GameWndTest, PlayedCountFigure)
{
    m_table->m_bFirstHandPending = FALSE;
    m_host.ShowWindow(SW_SHOWNA);
    HDC surface = GetTableSurfaceDC();
    ASSERT_NE(surface, (HDC)NULL);
    const std::string backFile = ThemeFile("Background", "TONumBK");
    const std::string digitFile = ThemeFile("Background", "TONum");
    const LayoutSize back = PictureSize(backFile), digits = PictureSize(digitFile);
    const LayoutSize dPlayer = PictureSize(ThemeFile("Background", "DPlayer"));
    const LayoutSize lPlayer = PictureSize(ThemeFile("Background", "LPlayer"));
    const int cell = digits.cx / 10;
    const int backLeft = 1000 / 2 - back.cx / 2;
    const int backTop = (10 + (700 - dPlayer.cy) / 2 + lPlayer.cy) / 2 - back.cy / 2;
    const int digitTop = backTop + (back.cy - digits.cy) / 2;
    struct Digit {
        int value, offset;
    };
    struct Case {
        const char* what;
        BOOL online;
        int count, lead, toAct;
        std::vector<Digit> shown;   // empty: no figure
    };
    const Case cases[] = {
        {"9: one digit at + 75", TRUE, 9, 1, 2, {{9, 75}}},
        {"10: 1 at + 70, 0 at + 86", TRUE, 10, 1, 2, {{1, 70}, {0, 86}}},
        {"52", TRUE, 52, 1, 2, {{5, 70}, {2, 86}}},
        {"150 keeps to the strip's cells", TRUE, 150, 1, 2, {{9, 70}, {9, 86}}},
        {"the seat that played is to act: none", TRUE, 9, 2, 2, {}},
        {"nothing on the table: none", TRUE, 0, 1, 2, {}},
        {"local game: none", FALSE, 9, 1, 2, {}},
    };
    for (const Case& c : cases) {
        g_app.m_bOnline = c.online;
        g_state.phase = kPhasePlay;
        g_state.trickCount = c.count;
        g_state.leadSeat = c.lead;
        g_state.seatToAct = c.toAct;
        m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        // The figure's background: its edge rows (the digits lie between).
        const double backShown = ShareShown(surface, backFile, backLeft, backTop, 0, 0, back.cx, 3);
        EXPECT_EQ(backShown > 0.98, !c.shown.empty()) << c.what << " " << backShown;
        for (const Digit& d : c.shown)
            EXPECT_GT(ShareShown(surface, digitFile, backLeft + d.offset, digitTop, d.value * cell, 0, cell, digits.cy),
                      0.98)
                << c.what << ": digit " << d.value << " at + " << d.offset;
    }
    g_state.trickCount = 0;
    g_app.m_bOnline = FALSE;
}

// ---- The right click and the watcher's keep-alive -----------------------------------------------

// A right click plays the selection (board event 10030) while the play
// button is shown and the seat is not in trust play; otherwise nothing.
TEST_F(GameWndTest, RightClickPlays)
{
    g_state.phase = kPhasePlay;
    struct Case {
        const char* what;
        bool playShown;
        BOOL trustPlay;
        int plays;
    };
    const Case cases[] = {
        {"play button shown: one play", true, FALSE, 1},
        {"play button hidden: nothing", false, FALSE, 0},
        {"in trust play: nothing", true, TRUE, 0},
    };
    CWnd* play = m_table->GetDlgItem(206);
    ASSERT_NE(play, nullptr);
    for (const Case& c : cases) {
        play->ShowWindow(c.playShown ? SW_SHOWNA : SW_HIDE);
        m_table->m_bTrustPlay = c.trustPlay;
        const int before = Count(g_board.events, kEvPlayCards);
        m_table->SendMessage(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(400, 300));
        m_table->SendMessage(WM_RBUTTONUP, 0, MAKELPARAM(400, 300));
        EXPECT_EQ(Count(g_board.events, kEvPlayCards) - before, c.plays) << c.what;
    }
    m_table->m_bTrustPlay = FALSE;
    play->ShowWindow(SW_HIDE);
}

// The hint (207): the board's next play is selected in the own hand; with
// none, the selection is cleared and the turn passed, but not while the own
// seat leads the trick (a leader may not pass: the hint button only comes
// back).
TEST_F(GameWndTest, HintSelectsOrPasses)
{
    g_state.phase = kPhasePlay;
    g_state.seats[0].cardsInHand = 4;
    for (int i = 0; i < 4; i++)
        g_state.hands[0][i] = CardEntry{(uint8_t)(10 + i), (uint8_t)i, 1, 0, 0};
    CardEntry pair[2] = {CardEntry{12, 2, 1, 0, 0}, CardEntry{13, 3, 1, 0, 0}};
    const HintCandidate twoCards = {2, 0, pair};
    struct Case {
        const char* what;
        int lead;                       // the seat whose play is on the table
        int trick;                      // its cards
        const HintCandidate* hint;
        int passes;
        uint8_t selected[4];            // each own card's selection after the hint
        bool playEnabled;
    };
    const Case cases[] = {
        {"no play beats the table: selection cleared, then a pass", 3, 2, nullptr, 1, {0, 0, 0, 0}, false},
        {"the own seat leads and no hint: no pass", 0, 0, nullptr, 0, {0, 0, 0, 0}, false},
        {"a hint of two cards: those two selected, play enabled", 3, 2, &twoCards, 0, {0, 0, 1, 1}, true},
    };
    for (const Case& c : cases) {
        g_state.seatToAct = 0;
        g_state.leadSeat = c.lead;
        g_state.trickCount = c.trick;
        g_state.hands[0][0].flags = kCardSelected;   // a card picked before
        g_board.hint = c.hint;
        const int passes = Count(g_board.events, kEvPass);
        m_table->SendMessage(WM_COMMAND, MAKEWPARAM(207, BN_CLICKED), 0);
        EXPECT_EQ(Count(g_board.events, kEvPass) - passes, c.passes) << c.what;
        for (int i = 0; i < 4; i++)
            EXPECT_EQ((g_state.hands[0][i].flags & kCardSelected) != 0, c.selected[i] != 0) << c.what << ", card " << i;
        EXPECT_TRUE(m_table->GetDlgItem(207)->IsWindowEnabled()) << c.what << ": the hint button back";
        EXPECT_EQ(m_table->GetDlgItem(206)->IsWindowEnabled() != FALSE, c.playEnabled) << c.what;
    }
    g_board.hint = nullptr;
}

// Sounds of the board (callback 10010: section, entry) through the sound
// routine: the entry's file of "sound.ini" from the sound folder; nothing
// for an entry the file lacks or with sounds off.
std::vector<std::string> g_played;
BOOL WINAPI RecordPlay(LPCSTR pszSound, HMODULE, DWORD)
{
    g_played.push_back(pszSound != NULL ? pszSound : "");
    return TRUE;
}

TEST_F(GameWndTest, BoardSoundsFromTheSoundList)
{
    char list[256] = "";
    ::GetPrivateProfileStringA("-2147483643", "2", "", list, sizeof list, ProgramFile("sound.ini").c_str());
    ASSERT_NE(list[0], '\0') << "the generated sound list names the clock's warning for seat 2";
    ASSERT_EQ(strchr(list, ','), nullptr) << "one file: the pick is known";
    const PlaySoundRoutine previous = SetPlaySoundRoutine(RecordPlay);
    CWnd* previousMain = g_app.m_pMainWnd;
    g_app.m_pMainWnd = &m_host;
    theSoundPlayer.EnableSound(TRUE);
    struct Case {
        const char* what;
        BOOL soundOn;
        uint32_t section;
        int entry;
        std::string played;   // empty: nothing
    };
    const Case cases[] = {
        {"a listed sound", TRUE, 0x80000005u, 2, ProgramFile("sound\\" + std::string(list))},
        {"an entry the list lacks", TRUE, 0x80000005u, 7, ""},
        {"sounds off", FALSE, 0x80000005u, 2, ""},
    };
    for (const Case& c : cases) {
        g_played.clear();
        m_table->m_bSoundOn = c.soundOn;
        Callback(kCbAnnounce, (intptr_t)c.section, c.entry);
        if (c.played.empty()) {
            EXPECT_TRUE(g_played.empty()) << c.what;
        } else {
            ASSERT_EQ(g_played.size(), 1u) << c.what;
            EXPECT_EQ(g_played[0], c.played) << c.what;
        }
    }
    m_table->m_bSoundOn = TRUE;
    g_app.m_pMainWnd = previousMain;
    SetPlaySoundRoutine(previous);
}

// The keep-alive runs on the window's one-second timer: with "IdleSecond"
// 3 the third tick sends it. A watcher sends the platform's notice 0x201
// only; a player 0x201 and then 0x26008 with an empty body. The peer reads
// in order, so the first message it sees proves the ticks before sent
// nothing.
TEST_F(GameWndTest, KeepAliveOnTheSecondTimer)
{
    CPrivateUserKey user;
    ASSERT_TRUE(user.Overridden());
    user.Dword("Software\\Quorvintel\\Game\\Share", "IdleSecond", 3);
    ASSERT_EQ(CGameSocket::GetIdleSecond(), 3u);
    CTestPeer peer;
    ASSERT_TRUE(theGameSocket.Connect("127.0.0.1", peer.Port(), FALSE));
    ASSERT_TRUE(peer.Accept());

    g_app.m_bWatcher = TRUE;
    for (int tick = 0; tick < 3; tick++)
        m_table->SendMessage(WM_TIMER, kTimerSecond, 0);
    g_app.m_bWatcher = FALSE;
    for (int tick = 0; tick < 3; tick++)
        m_table->SendMessage(WM_TIMER, kTimerSecond, 0);
    ASSERT_TRUE(PumpUntil([&] { return peer.ReceivedCount() >= 3; }));
    const std::vector<PeerMessage> got = peer.Received();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].id, 0x201u) << "the watcher's third tick: the notice only";
    EXPECT_EQ(got[1].id, 0x201u) << "the player's third tick: the notice";
    EXPECT_EQ(got[2].id, 0x26008u) << "then the table's keep-alive";
    EXPECT_TRUE(got[2].body.empty());
    theGameSocket.Close();
}

// ---- A theme picture that is missing ends the program --------------------------------------------

const char kChildBoxFile[] = "MARDAVEL_THEME_CHILD_BOX";

void RecordBoxAndExit(const char* text, const char* /*caption*/)
{
    char path[MAX_PATH] = "";
    ::GetEnvironmentVariableA(kChildBoxFile, path, MAX_PATH);
    if (FILE* f = fopen(path, "wb")) {
        fputs(text, f);
        fclose(f);
    }
    ::ExitProcess(static_cast<UINT>(-1));   // as the program does after the box
}

bool CopyFolderFiles(const std::string& from, const std::string& to)
{
    ::CreateDirectoryA(to.c_str(), NULL);
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((from + "\\*.*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
            ok = ok && ::CopyFileA((from + "\\" + found.cFileName).c_str(), (to + "\\" + found.cFileName).c_str(),
                                   FALSE);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    return ok;
}

TEST(GameWndThemeTest, MissingBackgroundEndsTheProgramAfterTheBox)
{
    char boxFile[MAX_PATH] = "";
    if (::GetEnvironmentVariableA(kChildBoxFile, boxFile, MAX_PATH) > 0) {
        // The child: make the table window; it must never come back.
        Gdiplus::GdiplusStartupInput input;
        ULONG_PTR token = 0;
        Gdiplus::GdiplusStartup(&token, &input, NULL);
        SetFatalPictureRoutine(RecordBoxAndExit);
        CHostWnd host;
        ASSERT_TRUE(host.CreateHost());
        CGameWnd* table = new CGameWnd;
        table->Create(NULL, NULL, WS_CHILD, CRect(0, 0, 800, 600), &host, kTableWindowId);
        ::ExitProcess(0);
    }

    // The program's folder again, with the theme's background entry removed.
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    const std::string scratch = std::string(temp) + "client_missing_theme";
    char self[MAX_PATH];
    ::GetModuleFileNameA(NULL, self, MAX_PATH);
    std::string program = self;
    program = program.substr(0, program.rfind('\\'));
    ::CreateDirectoryA(scratch.c_str(), NULL);
    ASSERT_TRUE(::CopyFileA(self, (scratch + "\\test_game_wnd.exe").c_str(), FALSE));
    for (const char* library : {"Mardavel_Res.dll", "CQVImage.dll"})
        ASSERT_TRUE(::CopyFileA((program + "\\" + library).c_str(), (scratch + "\\" + library).c_str(), FALSE))
            << library;
    ASSERT_TRUE(CopyFolderFiles(program + "\\theme_png", scratch + "\\theme_png"));
    ASSERT_TRUE(CopyFolderFiles(program + "\\theme_png\\Default", scratch + "\\theme_png\\Default"));
    const std::string thm = scratch + "\\theme_png\\Default.thm";
    ASSERT_NE(::GetPrivateProfileStringA("Background", "back1", "", temp, MAX_PATH, thm.c_str()), 0u)
        << "the generated theme names the background";
    ASSERT_TRUE(::WritePrivateProfileStringA("Background", "back1", NULL, thm.c_str()));

    const std::string box = scratch + "\\box.txt";
    ::DeleteFileA(box.c_str());
    ::SetEnvironmentVariableA(kChildBoxFile, box.c_str());
    std::string line = "\"" + scratch + "\\test_game_wnd.exe\" --gtest_filter=GameWndThemeTest.*";
    std::vector<char> command(line.begin(), line.end());
    command.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    const BOOL started = ::CreateProcessA(NULL, command.data(), NULL, NULL, FALSE, 0, NULL, scratch.c_str(),
                                          &startup, &process);
    ::SetEnvironmentVariableA(kChildBoxFile, NULL);
    ASSERT_TRUE(started);
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    ::CloseHandle(process.hProcess);
    ::CloseHandle(process.hThread);
    EXPECT_EQ(code, static_cast<DWORD>(-1)) << "the process ends after the box";
    const std::string text = ReadFileText(box);
    EXPECT_NE(text.find("加载错误！"), std::string::npos) << text;   // code page 936, as the program writes it
    EXPECT_NE(text.find("theme_png\\Default\\"), std::string::npos) << text;
}

}  // namespace

// The honour table and a title award reach the table through the board's
// callbacks, the title list straight from the connection; malformed bodies
// leave what the table holds.
TEST_F(GameWndTest, TitlesAndHonourFromTheBoardsCallbacks)
{
    auto put = [](std::vector<uint8_t>& m, size_t at, uint32_t v) {
        if (m.size() < at + 4)
            m.resize(at + 4);
        memcpy(m.data() + at, &v, 4);
    };
    // 0x26024 with {n, n pairs}: as the board hands it over (the size
    // counts the header).
    std::vector<uint8_t> honour;
    put(honour, 0, tablemsg::kRelayedBlock);
    put(honour, 4, 4 + 2 * 8);
    put(honour, 8, 2);
    put(honour, 12, 3);
    put(honour, 16, 10);
    put(honour, 20, 4);
    put(honour, 24, 20);
    Callback(kCbEntries, (intptr_t)honour.data(), (intptr_t)honour.size());
    ASSERT_EQ(m_table->m_honour.size(), 2u);
    EXPECT_EQ(m_table->m_honour[1].honour, 20);

    std::vector<uint8_t> mismatch = honour;
    put(mismatch, 8, 7);
    Callback(kCbEntries, (intptr_t)mismatch.data(), (intptr_t)mismatch.size());
    EXPECT_EQ(m_table->m_honour.size(), 2u) << "a count that does not match is ignored";
    Callback(kCbEntries, (intptr_t)honour.data(), 5);
    EXPECT_EQ(m_table->m_honour.size(), 2u) << "a size below the header";

    // The title list: count at 24 of the body, records from 28.
    std::vector<uint8_t> list;
    put(list, 0, tablemsg::kTitleList);
    put(list, 4, 28 + 2 * 64);
    list.resize(12 + 28 + 2 * 64);
    put(list, 12 + 24, 2);
    memcpy(list.data() + 12 + 28, "a**b", 4);
    put(list, 12 + 28 + 40, 4);
    memcpy(list.data() + 12 + 28 + 64, "c", 1);
    put(list, 12 + 28 + 64 + 40, 9);
    CGameWnd::DispatchNetMessage(m_table, list.data(), tablemsg::kTitleList);
    ASSERT_EQ(m_table->m_titles.size(), 2u);
    EXPECT_EQ(m_table->m_titles[0].title.title, "a**b");
    EXPECT_EQ(m_table->m_titles[0].honour, 20);
    EXPECT_EQ(m_table->m_titles[1].honour, 0) << "a title the honour table lacks";

    std::vector<uint8_t> overrun = list;
    put(overrun, 12 + 24, 3);
    CGameWnd::DispatchNetMessage(m_table, overrun.data(), tablemsg::kTitleList);
    EXPECT_EQ(m_table->m_titles.size(), 2u) << "a count past the body leaves the list";

    // An award for another player: announced, the own title untouched; one
    // whose title count runs past the payload: nothing.
    std::vector<uint8_t> award;
    put(award, 0, 0x26014);
    put(award, 4, 4 + 24 + 64);
    put(award, 8, 1);
    award.resize(8 + 4 + 24 + 64);
    memcpy(award.data() + 12, "someone", 7);
    put(award, 12 + 20, 1);
    memcpy(award.data() + 12 + 24, "x", 1);
    put(award, 12 + 24 + 40, 3);
    Callback(kCbBlock, (intptr_t)award.data(), (intptr_t)award.size());
    EXPECT_EQ(m_table->m_playerInfo.Record(m_table->OwnSeat()).titleId, 0u);
    put(award, 12 + 20, 1000);
    Callback(kCbBlock, (intptr_t)award.data(), (intptr_t)award.size());
    EXPECT_EQ(m_table->m_playerInfo.Record(m_table->OwnSeat()).titleId, 0u);
}

// The task's messages through the connection: the definition, the progress
// that starts the count, a refused stage and the result that stops it;
// malformed bodies change nothing.
TEST_F(GameWndTest, TaskMessagesDriveTheTask)
{
    auto put = [](std::vector<uint8_t>& m, size_t at, uint32_t v) {
        if (m.size() < at + 4)
            m.resize(at + 4);
        memcpy(m.data() + at, &v, 4);
    };
    auto message = [&](uint32_t id, size_t length) {
        std::vector<uint8_t> m(8 + length);
        put(m, 0, id);
        put(m, 4, (uint32_t)length);
        return m;
    };
    const std::string fetch = "http://fetch.test/", draw = "http://draw.test/";
    std::vector<uint8_t> definition = message(kMsgTaskDefinition, 240 + fetch.size() + draw.size());
    const uint32_t minutes[4] = {1, 2, 3, 4};
    for (int i = 0; i < 4; i++) {
        put(definition, 8 + i * 40, minutes[i]);
        put(definition, 8 + i * 40 + 4, (uint32_t)(i & 1));
    }
    memcpy(definition.data() + 8 + 160, "today", 5);
    put(definition, 8 + 228, (uint32_t)fetch.size());
    put(definition, 8 + 232, (uint32_t)draw.size());
    memcpy(definition.data() + 8 + 240, (fetch + draw).data(), fetch.size() + draw.size());
    CGameWnd::DispatchNetMessage(m_table, definition.data(), kMsgTaskDefinition);
    EXPECT_EQ(m_table->m_task.title, "today");
    EXPECT_EQ(m_table->m_task.currentAddress, fetch);

    std::vector<uint8_t> overlong = definition;
    put(overlong, 8 + 232, 300);
    m_table->m_task.title = "kept";
    CGameWnd::DispatchNetMessage(m_table, overlong.data(), kMsgTaskDefinition);
    EXPECT_EQ(m_table->m_task.title, "kept") << "an address that does not fit is refused";

    std::vector<uint8_t> progress = message(kMsgTaskProgress, 12);
    put(progress, 8 + 4, 130);
    put(progress, 8 + 8, 1);
    CGameWnd::DispatchNetMessage(m_table, progress.data(), kMsgTaskProgress);
    EXPECT_EQ(m_table->m_task.stagesReached, 2);
    EXPECT_EQ(m_table->m_task.countdown, 50);
    EXPECT_EQ(m_table->m_task.currentAddress, fetch);

    std::vector<uint8_t> refused = message(kMsgStageReached, 8);
    put(refused, 8 + 4, kStageRefused);
    CGameWnd::DispatchNetMessage(m_table, refused.data(), kMsgStageReached);
    EXPECT_EQ(m_table->m_task.elapsed, 10) << "a refused stage takes 120 seconds off";
    EXPECT_EQ(m_table->m_task.stagesReached, 0);

    std::vector<uint8_t> shortReply = message(kMsgStageReached, 4);
    CGameWnd::DispatchNetMessage(m_table, shortReply.data(), kMsgStageReached);
    EXPECT_EQ(m_table->m_task.elapsed, 10);

    std::vector<uint8_t> result = message(kMsgTaskResult, 88);
    put(result, 8 + 4, 1);
    put(result, 8 + 8, kTaskExpired);
    CGameWnd::DispatchNetMessage(m_table, result.data(), kMsgTaskResult);
    EXPECT_EQ(m_table->m_task.result, (uint32_t)kTaskExpired);
    EXPECT_TRUE(m_table->m_task.resultKnown);
}

// The linked notice fills the news texts and links: a count of 2 empties
// the last two; -1 takes the first link and the second name only.
TEST_F(GameWndTest, LinkedNoticeFillsTheNews)
{
    auto notice = [](int32_t count, const std::string& text) {
        std::vector<uint8_t> m(12 + 416);
        const uint32_t id = tablemsg::kLinkedNotice, length = (uint32_t)(416 + text.size() + 1);
        memcpy(m.data(), &id, 4);
        memcpy(m.data() + 4, &length, 4);
        memcpy(m.data() + 12 + 4, &count, 4);
        for (int i = 0; i < 4; i++) {
            const std::string name = "name" + std::to_string(i);
            memcpy(m.data() + 12 + 8 + i * 101, name.data(), name.size());
        }
        m.insert(m.end(), text.begin(), text.end());
        m.push_back(0);
        return m;
    };
    CWnd* savedMain = g_app.m_pMainWnd;
    g_app.m_pMainWnd = &m_host;
    for (int i = 0; i < 4; i++) {
        CGameWnd::NewsText(i) = "old";
        CGameWnd::NewsLink(i) = "old";
    }
    std::vector<uint8_t> two = notice(2, "href0=http://a.test/_a0> href1=http://b.test/_a1>");
    CGameWnd::DispatchNetMessage(m_table, two.data(), tablemsg::kLinkedNotice);
    EXPECT_STREQ(CGameWnd::NewsText(0), "name0");
    EXPECT_STREQ(CGameWnd::NewsLink(1), "http://b.test/");
    EXPECT_STREQ(CGameWnd::NewsText(2), "");
    EXPECT_STREQ(CGameWnd::NewsLink(3), "");

    for (int i = 0; i < 4; i++)
        CGameWnd::NewsLink(i) = "old";
    std::vector<uint8_t> first = notice(-1, "href0=http://c.test/_a0> href1=http://d.test/_a1>");
    CGameWnd::DispatchNetMessage(m_table, first.data(), tablemsg::kLinkedNotice);
    EXPECT_STREQ(CGameWnd::NewsLink(0), "http://c.test/");
    EXPECT_STREQ(CGameWnd::NewsText(1), "name1");
    EXPECT_STREQ(CGameWnd::NewsLink(1), "old") << "only the first link is taken";

    std::vector<uint8_t> bad = notice(7, "");
    CGameWnd::DispatchNetMessage(m_table, bad.data(), tablemsg::kLinkedNotice);
    EXPECT_STREQ(CGameWnd::NewsLink(0), "http://c.test/") << "a count out of range changes nothing";
    g_app.m_pMainWnd = savedMain;
}

// ---- The task panel, the prize buttons and the title banners ------------------------------------

namespace {

std::vector<uint8_t> GameMessage(uint32_t id, const std::vector<uint8_t>& body)
{
    std::vector<uint8_t> m(8 + body.size());
    const uint32_t length = (uint32_t)body.size();
    memcpy(m.data(), &id, 4);
    memcpy(m.data() + 4, &length, 4);
    if (!body.empty())
        memcpy(m.data() + 8, body.data(), body.size());
    return m;
}

void PutWord(std::vector<uint8_t>& body, size_t at, uint32_t v)
{
    if (body.size() < at + 4)
        body.resize(at + 4);
    memcpy(body.data() + at, &v, 4);
}

// Pixels near white in a rectangle of the surface (the banners' and the
// panel's writing; none of the pictures under them is near white).
int WhitePixels(HDC surface, int left, int top, int width, int height)
{
    int n = 0;
    for (int y = top; y < top + height; y++)
        for (int x = left; x < left + width; x++) {
            const COLORREF c = ::GetPixel(surface, x, y);
            n += GetRValue(c) >= 200 && GetGValue(c) >= 200 && GetBValue(c) >= 200 ? 1 : 0;
        }
    return n;
}

// A task of stages at 1, 3, 5 and 10 minutes (kinds 0, 1, 0, 1), titled "today".
void SendTask(CGameWnd* table, int32_t elapsed)
{
    std::vector<uint8_t> definition(240);
    const uint32_t minutes[4] = {1, 3, 5, 10};
    for (int i = 0; i < 4; i++) {
        PutWord(definition, i * 40, minutes[i]);
        PutWord(definition, i * 40 + 4, (uint32_t)(i & 1));
        snprintf(reinterpret_cast<char*>(definition.data()) + i * 40 + 8, 32, "prize %d", i);
    }
    memcpy(definition.data() + 160, "today", 5);
    std::vector<uint8_t> message = GameMessage(kMsgTaskDefinition, definition);
    CGameWnd::DispatchNetMessage(table, message.data(), kMsgTaskDefinition);
    std::vector<uint8_t> progress(12);
    PutWord(progress, 4, (uint32_t)elapsed);
    message = GameMessage(kMsgTaskProgress, progress);
    CGameWnd::DispatchNetMessage(table, message.data(), kMsgTaskProgress);
}

}  // namespace

// Before the first hand: each seat whose record has a title of level 1-10
// shows the level's badge beside its frame with the title written down it,
// a second "**" part in a second badge further out; the task panel writes
// the task's title, and after a granted stage the fetch button of the stage
// (kind 0) stands at its place with the blinking frame around it. During a
// hand the panel shows the progress bar, filled as far as the time reaches.
TEST_F(GameWndTest, TaskPanelPrizeButtonsAndTitleBanners)
{
    g_app.m_bOnline = TRUE;
    NameSeats();
    for (int seat = 0; seat < kTableSeats; seat++)
        strcpy(g_state.seats[seat].player.userName, g_app.m_seats[seat].userName);
    g_state.phase = kPhaseIdle;
    m_host.ShowWindow(SW_SHOWNA);

    // The referee's announcement: five records, no count. "皇城**守卫" at level 3
    // for every seat but 1 (level 11: out of range) and 2 (no title).
    const char title[] = "\xbb\xca\xb3\xc7**\xca\xd8\xce\xc0";
    std::vector<uint8_t> records(5 * 124);
    for (int seat = 0; seat < kTableSeats; seat++) {
        uint8_t* r = records.data() + seat * 124;
        strcpy(reinterpret_cast<char*>(r), g_app.m_seats[seat].userName);
        const uint32_t id = seat == 2 ? 0 : 2, level = seat == 1 ? 11 : 3;
        memcpy(r + 68, &id, 4);
        memcpy(r + 72, title, sizeof title);
        memcpy(r + 112, &level, 4);
    }
    std::vector<uint8_t> info = GameMessage(0x26013, records);
    Callback(kCbAnnouncement, (intptr_t)info.data(), (intptr_t)info.size());
    ASSERT_TRUE(m_table->m_playerInfo.AllReceived());

    // The task at 60 seconds (the first stage reached) and the server's grant.
    SendTask(m_table, 60);
    std::vector<uint8_t> verdict(8);
    PutWord(verdict, 4, 1);
    std::vector<uint8_t> granted = GameMessage(kMsgStageReached, verdict);
    CGameWnd::DispatchNetMessage(m_table, granted.data(), kMsgStageReached);
    m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC surface = GetTableSurfaceDC();
    ASSERT_NE(surface, (HDC)NULL);

    CRect client;
    m_table->GetClientRect(&client);
    const LayoutRect area{client.left, client.top, client.right, client.bottom};
    const LayoutSize frameSize = PictureSize(ThemeFile("MAIN", "BigAvatarBk"));
    const LayoutSize markSize = PictureSize(ThemeFile("Status", "Ready"));
    const std::string badge = ThemeFile("Title", "TitleBK03");
    const LayoutSize badgeSize = PictureSize(badge);
    ASSERT_GT(badgeSize.cx, 0);
    const struct {
        const char* what;
        int seat;   // at the view of the same number
        bool banner;
    } cases[] = {
        {"own seat: two badges, towards the left", 0, true},
        {"lower left: level out of range, no banner", 1, false},
        {"upper left: no title, no banner", 2, false},
        {"upper right: two badges, towards the left", 3, true},
        {"lower right", 4, true},
    };
    for (const auto& c : cases) {
        const WaitingSeatPlaces p = WaitingSeatLayout(area, c.seat, frameSize, markSize, badgeSize.cx,
                                                      g_app.m_seats[c.seat].nameHeight);
        const int direction = IsLeftView(c.seat) ? 1 : -1;
        for (int part = 0; part < 2; part++) {
            const int x = p.titleLeft + direction * part * (badgeSize.cx + 4);
            // The badge's top rows, above the writing.
            const double shown = ShareShown(surface, badge, x, p.titleTop, 0, 0, badgeSize.cx, 4);
            EXPECT_EQ(shown > 0.98, c.banner) << c.what << ", part " << part << ": " << shown;
            if (c.banner) {
                EXPECT_GT(WhitePixels(surface, x, p.titleTop + 4, badgeSize.cx, 60), 20)
                    << c.what << ", part " << part << ": the title written down the badge";
            }
        }
    }

    // The prize: the fetch button (stage 0 is of kind 0) centred in the task
    // area, 9 below its middle; the draw and look-up buttons hidden.
    CPngButton* fetch = DYNAMIC_DOWNCAST(CPngButton, m_table->GetDlgItem(kBtnPrizeFetch));
    ASSERT_NE(fetch, nullptr);
    EXPECT_TRUE(fetch->IsWindowVisible());
    EXPECT_FALSE(m_table->GetDlgItem(kBtnPrizeDraw)->IsWindowVisible());
    EXPECT_FALSE(m_table->GetDlgItem(kBtnLookUp)->IsWindowVisible());
    SIZE cell = {0, 0};
    fetch->GetImageInfo(&cell);
    const LayoutRect& task = m_table->m_taskArea;
    ASSERT_FALSE(task.IsEmpty());
    const LayoutSize at = PrizeButtonPlace(task, cell.cx);
    EXPECT_EQ(ChildRect(m_table, fetch), CRect(at.cx, at.cy, at.cx + cell.cx, at.cy + cell.cy));
    const std::string frame1 = ProgramFile("theme\\rewards\\Button_Frame1.bmp");
    const LayoutSize icon = PictureSize(frame1);
    const LayoutSize iconAt = RewardIconPlace(task, icon);
    EXPECT_GT(ShareShown(surface, frame1, iconAt.cx, iconAt.cy), 0.98) << "the reward frame around the button";
    const int middle = (task.top + task.bottom) / 2;
    EXPECT_GT(WhitePixels(surface, task.left, middle - 10, task.Width(), 14), 10) << "the task's title";
    // The blink's other look.
    m_table->SendMessage(WM_TIMER, kTimerReward);
    m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(ShareShown(surface, ProgramFile("theme\\rewards\\Button_Frame2.bmp"), iconAt.cx, iconAt.cy), 0.98);
    if (const char* shots = getenv("MARDAVEL_SHOTS_DIR"))
        tabledriver::SaveWindowPicture(m_host.m_hWnd, std::string(shots) + "\\table-task-panel.bmp");

    // A prize command ends the blink; in a hand the progress bar shows 120
    // seconds: the first 30-pixel piece full and half of the second, 45
    // pixels of the full bar, then the empty bar.
    m_table->SendMessage(WM_COMMAND, MAKEWPARAM(kBtnPrizeFetch, BN_CLICKED), 0);
    m_table->m_bFirstHandPending = FALSE;
    g_state.phase = kPhasePlay;
    SendTask(m_table, 120);
    m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    const std::string empty = ProgramFile("theme\\rewards\\TaskTime.bmp");
    const std::string full = ProgramFile("theme\\rewards\\TaskIn.bmp");
    const LayoutRect bar = m_table->m_taskBar;
    ASSERT_EQ(bar.Width(), PictureSize(empty).cx);
    ASSERT_EQ(TaskBarRect(task, PictureSize(empty)).left, bar.left);
    EXPECT_GT(ShareShown(surface, full, bar.left, bar.top, 0, 0, 44, bar.Height()), 0.98) << "filled to 45";
    EXPECT_GT(ShareShown(surface, empty, bar.left + 46, bar.top, 46, 0, bar.Width() - 46, bar.Height()), 0.98)
        << "empty from 45 on";
    EXPECT_GT(WhitePixels(surface, task.left, middle - 20, task.Width(), 14), 10) << "the title above the bar";
    if (const char* shots = getenv("MARDAVEL_SHOTS_DIR"))
        tabledriver::SaveWindowPicture(m_host.m_hWnd, std::string(shots) + "\\table-task-progress.bmp");

    // The same table for a watcher: no panel, no prize.
    g_app.m_bWatcher = TRUE;
    m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_FALSE(fetch->IsWindowVisible());
    EXPECT_LT(ShareShown(surface, full, bar.left, bar.top, 0, 0, 44, bar.Height()), 0.5);
    g_app.m_bWatcher = FALSE;
    g_app.m_bOnline = FALSE;
}

// The titles command asks the server for the list and opens the set-title
// dialog over the table with the own title marked; a new list refreshes it;
// choosing the other title and OK asks the board to show it (event 0x1012).
// Where the mouse rests the tips open: a seat's information, and over the
// task area the task's stages.
TEST_F(GameWndTest, TitlesDialogAndTips)
{
    g_app.m_bOnline = TRUE;
    NameSeats();
    for (int seat = 0; seat < kTableSeats; seat++)
        strcpy(g_state.seats[seat].player.userName, g_app.m_seats[seat].userName);
    g_state.phase = kPhaseIdle;
    m_host.ShowWindow(SW_SHOWNA);
    std::vector<uint8_t> records(5 * 124);
    for (int seat = 0; seat < kTableSeats; seat++) {
        uint8_t* r = records.data() + seat * 124;
        strcpy(reinterpret_cast<char*>(r), g_app.m_seats[seat].userName);
        const uint32_t id = 2, level = 3, honour = 60;
        memcpy(r + 68, &id, 4);
        memcpy(r + 72, "b", 1);
        memcpy(r + 112, &level, 4);
        memcpy(r + 116, &honour, 4);
    }
    std::vector<uint8_t> info = GameMessage(0x26013, records);
    Callback(kCbAnnouncement, (intptr_t)info.data(), (intptr_t)info.size());
    auto titleList = [](const std::vector<uint32_t>& ids) {
        std::vector<uint8_t> body(28 + ids.size() * 64);
        PutWord(body, 24, (uint32_t)ids.size());
        for (size_t i = 0; i < ids.size(); i++) {
            body[28 + i * 64] = (uint8_t)('a' + i);
            PutWord(body, 28 + i * 64 + 40, ids[i]);
        }
        std::vector<uint8_t> m(12 + body.size());
        const uint32_t id = tablemsg::kTitleList, length = (uint32_t)body.size(), result = 1;
        memcpy(m.data(), &id, 4);
        memcpy(m.data() + 4, &length, 4);
        memcpy(m.data() + 8, &result, 4);
        memcpy(m.data() + 12, body.data(), body.size());
        return m;
    };
    std::vector<uint8_t> list = titleList({1, 2});
    CGameWnd::DispatchNetMessage(m_table, list.data(), tablemsg::kTitleList);
    EXPECT_EQ(m_table->m_pTitleDlg, nullptr) << "a list alone opens nothing";

    AppBoxRecorder boxes;   // the request's send fails: the network notice
    m_table->SendMessage(WM_COMMAND, MAKEWPARAM(kBtnTitles, BN_CLICKED), 0);
    CSetTitleDlg* dialog = m_table->m_pTitleDlg;
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->IsWindowVisible()) << "the theme names every picture of the dialog";
    EXPECT_EQ(dialog->GetCurrent(), 1) << "the own title (id 2) is the second of the list";
    EXPECT_EQ(boxes.calls.size(), 1u);
    // Centred over the table.
    CRect table, shown;
    m_table->GetWindowRect(&table);
    dialog->GetWindowRect(&shown);
    EXPECT_LE(abs(table.CenterPoint().x - shown.CenterPoint().x), 1);
    EXPECT_LE(abs(table.CenterPoint().y - shown.CenterPoint().y), 1);

    // A longer list while it is shown: the own title found again.
    list = titleList({5, 1, 2});
    CGameWnd::DispatchNetMessage(m_table, list.data(), tablemsg::kTitleList);
    EXPECT_EQ(dialog->GetCurrent(), 2);
    // Page 0 lists the newest first: row 1 is the title of id 1.
    g_board.events.clear();
    dialog->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 150));
    EXPECT_EQ(dialog->GetChosen(), 1);
    dialog->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_FALSE(dialog->IsWindowVisible()) << "OK hides the kept dialog";
    EXPECT_EQ(Count(g_board.events, 0x1012), 1) << "the board asked to show title 1";
    m_table->SendMessage(WM_COMMAND, MAKEWPARAM(kBtnTitles, BN_CLICKED), 0);
    EXPECT_EQ(m_table->m_pTitleDlg, dialog) << "made once, shown again";
    EXPECT_TRUE(dialog->IsWindowVisible());
    dialog->ShowWindow(SW_HIDE);

    // Tips where the mouse rests: the lower left seat's frame (the waiting
    // look), then the task area.
    m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    CRect client;
    m_table->GetClientRect(&client);
    const LayoutRect area{client.left, client.top, client.right, client.bottom};
    const WaitingSeatPlaces p = WaitingSeatLayout(area, 1, PictureSize(ThemeFile("MAIN", "BigAvatarBk")),
                                                  PictureSize(ThemeFile("Status", "Ready")),
                                                  PictureSize(ThemeFile("Title", "TitleBK01")).cx,
                                                  g_app.m_seats[1].nameHeight);
    const CPoint seat(p.frameLeft + 3, p.frameTop + 3);
    m_table->m_ptLastMouse = CPoint(seat.x + 1, seat.y);
    m_table->SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(seat.x, seat.y));
    EXPECT_EQ(m_table->m_pInfoTip, nullptr) << "the mouse moved on: no tip";
    m_table->m_ptLastMouse = seat;
    m_table->SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(seat.x, seat.y));
    ASSERT_NE(m_table->m_pInfoTip, nullptr);
    EXPECT_TRUE(m_table->m_pInfoTip->IsShown());
    EXPECT_EQ(std::string(m_table->m_pInfoTip->GetText()).compare(0, 6, "ID:bob"), 0)
        << (LPCSTR)m_table->m_pInfoTip->GetText();

    SendTask(m_table, 30);
    const LayoutRect& task = m_table->m_taskArea;
    const CPoint over((task.left + task.right) / 2, task.top + 2);
    m_table->m_ptLastMouse = over;
    m_table->SendMessage(WM_MOUSEHOVER, 0, MAKELPARAM(over.x, over.y));
    ASSERT_NE(m_table->m_pTaskTip, nullptr);
    EXPECT_TRUE(m_table->m_pTaskTip->IsShown());
    // "今日任务:" in code page 936.
    EXPECT_EQ(std::string(m_table->m_pTaskTip->GetText()).compare(0, 9, "\xbd\xf1\xc8\xd5\xc8\xce\xce\xf1:"), 0);
    g_app.m_bOnline = FALSE;
}
