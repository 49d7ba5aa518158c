// The mouse over the table window, on a board of the test's own: a click
// picks a card or a group on release, a drag marks the cards it passes (at
// most one step every 50 ms, each marked card drawn with its frame into the
// back buffer) and selects them on release; the designated card's tip stands
// at its area in screen coordinates; the table's copy leaves the visible
// buttons out; a face from a seat shows as a tip at that seat until a
// relayout; the relayout shows the tools by connection, seat and room.
#include <gtest/gtest.h>

#include "afxwin.h"

#include <gdiplus.h>

#include <cstring>
#include <string>
#include <vector>

#include "Bitmaps.h"
#include "CardPicking.h"
#include "ClientServices.h"
#include "GameClientApp.h"
#include "GameEnvironment.h"
#include "GameWnd.h"
#include "MainFrame.h"
#include "MardavelBoard.h"
#include "RoundTipWnd.h"
#include "TableLayout.h"
#include "TableWindowTest.h"
#include "WidgetServices.h"
#include "net/GameClientSocket.h"

namespace {

// The program's application object, never started: the table window reads
// its seats, state and board binding.
CGameClientApp g_app;

// A board that hands out the test's table state and does nothing else.
BoardGameState g_state;
uint8_t g_savedCounts[64];
uint8_t g_savedCards[1300];
BoardCallback g_callback = nullptr;
uintptr_t g_cookie = 0;

BoardHandle QVBOARD_CALL FakeCreate(int32_t, BoardCallback callback, uintptr_t cookie, int32_t, const BoardInitBlock*)
{
    g_callback = callback;
    g_cookie = cookie;
    return &g_state;
}

int32_t QVBOARD_CALL FakeEvent(BoardHandle, int32_t code, int32_t, int32_t, void* param)
{
    switch (code) {
    case kEvTableState: *static_cast<BoardGameState**>(param) = &g_state; break;
    case kEvSavedCounts: *static_cast<void**>(param) = g_savedCounts; break;
    case kEvSavedCards: *static_cast<void**>(param) = g_savedCards; break;
    default: break;
    }
    return 1;
}

void QVBOARD_CALL FakeDestroy(BoardHandle) {}

int32_t Callback(uint32_t code, intptr_t p1 = 0, intptr_t p2 = 0)
{
    BoardCallbackRecord record = {};
    record.cookie = g_cookie;
    record.code = code;
    record.p1 = p1;
    record.p2 = p2;
    return g_callback(&record);
}

std::vector<uint8_t> Message(uint32_t id, uint32_t bodyLength = 0)
{
    std::vector<uint8_t> message(MessageHeaderBytes(id) + bodyLength, 0);
    memcpy(message.data(), &id, 4);
    memcpy(message.data() + 4, &bodyLength, 4);
    return message;
}

class TableMouseTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_process.SetUp(); }
    static void TearDownTestSuite() { s_process.TearDown(); }

    void SetUp() override
    {
        memset(&g_state, 0, sizeof g_state);
        tabletest::MakeTable(g_app, FakeCreate, FakeEvent, FakeDestroy, m_host, m_table);
    }
    void TearDown() override { tabletest::DropTable(g_app, m_host, m_table); }

    tabletest::CHostWnd m_host;
    CGameWnd* m_table = NULL;
    static tabletest::TableProcess s_process;
};
tabletest::TableProcess TableMouseTest::s_process;

// ---- The mouse over the own hand --------------------------------------------------------------

// A clock of the test's own for the drag's pace.
DWORD g_now = 0;
DWORD WINAPI FakeTick() { return g_now; }

// Six cards 3 to 8 in the own hand during the play, the own seat leading,
// laid out by a paint.
class OwnHandMouseTest : public TableMouseTest
{
protected:
    void SetUp() override
    {
        TableMouseTest::SetUp();
        g_state.phase = kPhasePlay;
        g_state.seats[0].cardsInHand = 6;
        for (uint8_t i = 0; i < 6; i++)
            g_state.hands[0][i] = CardEntry{i, i, 1, 0, 0};
        g_state.seatToAct = 0;
        g_state.leadSeat = 0;
        m_host.ShowWindow(SW_SHOWNA);
        m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
        m_table->m_pfnTickCount = FakeTick;
        g_now = 100000;
    }
    // A point on the part of card i that the next card leaves visible.
    LPARAM CardPoint(int i) const
    {
        const LayoutRect rect = m_table->OwnHandRect();
        TableMetrics m;
        return MAKELPARAM(rect.left + i * m.ownStep + m.ownStep / 2, rect.top + kRaisedCardLift + 40);
    }
    void Move(LPARAM at)
    {
        g_now += 60;   // each step after the pace's 50 ms
        m_table->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, at);
    }
    std::string Flags(uint8_t bit) const
    {
        std::string s;
        for (int i = 0; i < 6; i++)
            s += (g_state.hands[0][i].flags & bit) != 0 ? 'x' : '.';
        return s;
    }
};

TEST_F(OwnHandMouseTest, ClicksAndDragsPickTheOwnCardsOnRelease)
{
    struct Case {
        const char* what;
        int press;                 // card index, -1 a point off the hand
        std::vector<int> moves;    // with the button down
        int release;
        bool watching;
        int phase;
        const char* marks;         // after the moves
        const char* selected;      // after the release
    };
    const Case cases[] = {
        {"a click picks the card (leading: its whole rank)", 2, {}, 2, false, kPhasePlay, "......", "..x..."},
        {"a drag marks the cards it passed and selects them on release", 1, {2, 4}, 4, false, kPhasePlay, ".xxxx.",
         ".xxxx."},
        {"released outside the hand, the marked cards are selected", 0, {2}, -1, false, kPhasePlay, "xxx...",
         "xxx..."},
        {"a press off the hand starts the drag at the first card passed", -1, {1, 3}, 3, false, kPhasePlay, ".xxx..",
         ".xxx.."},
        {"a watcher picks nothing", 2, {3}, 3, true, kPhasePlay, "......", "......"},
        {"outside the play nothing is picked", 2, {3}, 3, false, kPhaseGuard, "......", "......"},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 6; i++)
            g_state.hands[0][i].flags = 0;
        g_state.phase = c.phase;
        g_app.m_bWatcher = c.watching ? TRUE : FALSE;
        const LPARAM outside = MAKELPARAM(5, 5);
        m_table->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, c.press >= 0 ? CardPoint(c.press) : outside);
        for (int b : c.moves)
            Move(CardPoint(b));
        EXPECT_EQ(Flags(kCardDragMark), c.marks) << c.what;
        m_table->SendMessage(WM_LBUTTONUP, 0, c.release >= 0 ? CardPoint(c.release) : outside);
        EXPECT_EQ(Flags(kCardSelected), c.selected) << c.what;
        EXPECT_EQ(Flags(kCardDragMark), "......") << c.what << ": the marks go with the release";
    }
    g_app.m_bWatcher = FALSE;
}

TEST_F(OwnHandMouseTest, DragStepsComeAtMostEvery50MsAndDrawTheFrame)
{
    m_table->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, CardPoint(1));
    Move(CardPoint(2));
    EXPECT_EQ(Flags(kCardDragMark), ".xx...");
    g_now += 30;
    m_table->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, CardPoint(4));
    EXPECT_EQ(Flags(kCardDragMark), ".xx...") << "30 ms after the last step: not taken";
    g_now += 20;
    m_table->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, CardPoint(4));
    EXPECT_EQ(Flags(kCardDragMark), ".xxxx.") << "50 ms after it: taken";
    g_now += 60;
    m_table->SendMessage(WM_MOUSEMOVE, 0, CardPoint(5));
    EXPECT_EQ(Flags(kCardDragMark), ".xxxx.") << "a move without the button marks nothing";

    // The marked cards wear the theme's card frame (blue, 3 pixels, drawn by
    // the theme script) in the back buffer; the others do not.
    HDC surface = GetTableSurfaceDC();
    ASSERT_NE(surface, (HDC)NULL);
    const LayoutRect rect = m_table->OwnHandRect();
    TableMetrics m;
    const COLORREF frame = RGB(60, 160, 230);
    for (int i = 0; i < 6; i++) {
        const int left = rect.left + i * m.ownStep, top = rect.top + kRaisedCardLift;
        const bool marked = i >= 1 && i <= 4;
        EXPECT_EQ(::GetPixel(surface, left + 1, top + 50) == frame, marked) << "card " << i << "'s left edge";
    }
    m_table->SendMessage(WM_LBUTTONUP, 0, CardPoint(4));
    m_table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_NE(::GetPixel(surface, rect.left + 2 * m.ownStep + 1, rect.top + 50), frame)
        << "selected now, the frame is gone";
}

TEST_F(OwnHandMouseTest, DesignatedCardTipStandsAtItsAreaOnTheScreen)
{
    // The table away from the screen's corner: client and screen
    // coordinates differ by (200, 150).
    m_host.SetWindowPos(NULL, 200, 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_NE(m_table->DesignatedTipWindow(), (HWND)NULL) << "made with the board";
    const SeatLayoutRecord& own = g_app.m_seats[0];
    const TipArea area = DesignatedCardTipArea(own.portraitLeft, own.portraitTop, kPortraitHeight);
    const LPARAM inside = MAKELPARAM(area.left + 30, area.top + 10);
    const LPARAM outside = MAKELPARAM(area.right + 5, area.top + 10);

    g_state.optNoGuardCard = 1;
    g_state.rememberedCardId = 7;
    m_table->SendMessage(WM_MOUSEMOVE, 0, inside);
    ASSERT_TRUE(m_table->IsDesignatedTipShown());
    HWND tip = m_table->DesignatedTipWindow();
    EXPECT_TRUE(::IsWindowVisible(tip));
    RECT shown;
    ::GetWindowRect(tip, &shown);
    EXPECT_NEAR(shown.left, 200 + area.left, 4) << "screen coordinates of the area's left";
    EXPECT_NEAR(shown.top, 150 + area.top, 4) << "screen coordinates of the area's top";

    m_table->SendMessage(WM_MOUSEMOVE, 0, outside);
    EXPECT_FALSE(m_table->IsDesignatedTipShown()) << "leaving the area hides it";
    EXPECT_FALSE(::IsWindowVisible(tip));

    struct Case {
        const char* what;
        uint8_t shownByte;
        int phase;
        uint8_t card;
    };
    const Case hidden[] = {
        {"the designated card not shown", 0, kPhasePlay, 7},
        {"during the emperor's decision", 1, kPhaseEmperor, 7},
        {"no card named", 1, kPhasePlay, 255},
    };
    for (const Case& c : hidden) {
        g_state.optNoGuardCard = 1;
        g_state.phase = kPhasePlay;
        g_state.rememberedCardId = 7;
        m_table->SendMessage(WM_MOUSEMOVE, 0, inside);
        ASSERT_TRUE(m_table->IsDesignatedTipShown()) << c.what;
        g_state.optNoGuardCard = c.shownByte;
        g_state.phase = c.phase;
        g_state.rememberedCardId = c.card;
        m_table->SendMessage(WM_MOUSEMOVE, 0, inside);
        EXPECT_FALSE(m_table->IsDesignatedTipShown()) << c.what << ": a shown tip is hidden";
        EXPECT_FALSE(::IsWindowVisible(tip)) << c.what;
    }
}

// ---- Clip, faces and news --------------------------------------------------------------------

TEST_F(TableMouseTest, TheTablesCopyLeavesOutTheVisibleButtonsButFour)
{
    struct Case {
        const char* what;
        int id;
        bool shown;
        bool leftOut;
    };
    const Case cases[] = {
        {"the settings button", kBtnSetup, true, true},
        {"the play button", kBtnPlay, true, true},
        {"a hidden start button", kBtnStart, false, false},
        {"the emperor row's 'alone', drawn over the table", kBtnAlone, true, false},
        {"the kick button, drawn over the table", kBtnKick, true, false},
    };
    CClientDC window(m_table);
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&window));
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&window, 1000, 700));
    CBitmap* old = memory.SelectObject(&bitmap);
    int x = 20;
    for (const Case& c : cases) {
        CWnd* button = m_table->GetDlgItem(c.id);
        ASSERT_NE(button, nullptr) << c.what;
        button->SetWindowPos(NULL, x, 40, 40, 30, SWP_NOZORDER | SWP_NOACTIVATE);
        button->ShowWindow(c.shown ? SW_SHOWNA : SW_HIDE);
        x += 60;
    }
    m_table->ExcludeChildControls(memory);
    x = 20;
    for (const Case& c : cases) {
        EXPECT_EQ(::PtVisible(memory.GetSafeHdc(), x + 20, 55) == FALSE, c.leftOut) << c.what;
        x += 60;
    }
    EXPECT_TRUE(::PtVisible(memory.GetSafeHdc(), 500, 400)) << "the table itself is copied";
    memory.SelectObject(old);
}

std::vector<uint8_t> FaceMessage(uint32_t face, uint32_t seat, uint32_t list)
{
    std::vector<uint8_t> m = Message(0x26011, 12);
    memcpy(&m[8], &face, 4);
    memcpy(&m[12], &seat, 4);
    memcpy(&m[16], &list, 4);
    return m;
}

int32_t FaceCallback(const std::vector<uint8_t>& m)
{
    return Callback(kCbRelayedBlock, (intptr_t)m.data(), (intptr_t)m.size());
}

TEST_F(TableMouseTest, FacesFromTheSeatsShowAsTipsAtTheirSeats)
{
    // The own seat 0 at the bottom, the others round the table.
    for (int v = 0; v < kTableSeats; v++)
        g_app.m_views[v] = v;
    struct Case {
        const char* what;
        uint32_t face, seat, list;
        bool shown;
        BOOL up, left;   // the tip's two flags
    };
    const Case cases[] = {
        {"the own seat's face", 3, 0, 1, true, TRUE, TRUE},
        {"a small face 65 from view position 1", 65, 1, 2, true, FALSE, FALSE},
        {"view position 2", 0, 2, 1, true, FALSE, FALSE},
        {"view position 3", 29, 3, 1, true, FALSE, TRUE},
        {"small face 66 does not exist", 66, 4, 2, false, FALSE, FALSE},
        {"large face 30 does not exist", 30, 4, 1, false, FALSE, FALSE},
        {"a third list", 1, 4, 3, false, FALSE, FALSE},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FaceCallback(FaceMessage(c.face, c.seat, c.list)), 1) << c.what;
        CRoundTipWnd* tip = m_table->SeatTip((int)c.seat);
        if (!c.shown) {
            EXPECT_EQ(tip, nullptr) << c.what;
            continue;
        }
        ASSERT_NE(tip, nullptr) << c.what;
        EXPECT_TRUE(tip->IsWindowVisible()) << c.what;
        EXPECT_NE(tip->GetPicture(), nullptr) << c.what;
        EXPECT_EQ(tip->IsUp(), c.up) << c.what;
        EXPECT_EQ(tip->IsLeft(), c.left) << c.what;
    }
    EXPECT_EQ(FaceCallback(FaceMessage(1, 5, 1)), 1) << "a seat out of range is dropped";
    std::vector<uint8_t> shortFace = FaceMessage(1, 2, 1);
    shortFace.resize(16);
    EXPECT_EQ(Callback(kCbRelayedBlock, (intptr_t)shortFace.data(), (intptr_t)shortFace.size()), 1);

    // A second face from a seat replaces its tip in the same window.
    CRoundTipWnd* first = m_table->SeatTip(1);
    const HWND firstWindow = first->GetSafeHwnd();
    FaceCallback(FaceMessage(2, 1, 2));
    EXPECT_EQ(m_table->SeatTip(1), first);
    EXPECT_EQ(first->GetSafeHwnd(), firstWindow);
    EXPECT_TRUE(first->IsWindowVisible());

    // A relayout hides every tip.
    m_table->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(1000, 700));
    for (int seat = 0; seat < 4; seat++)
        EXPECT_FALSE(m_table->SeatTip(seat)->IsWindowVisible()) << "seat " << seat;
}

TEST_F(TableMouseTest, RelayoutShowsTheToolsByConnectionSeatAndRoom)
{
    struct Case {
        const char* what;
        bool online, watching;
        int phase;
        int32_t setting9;
        uint8_t identity;
        bool memoryShown, memoryEnabled, facesShown, startShown, trustShown;
    };
    const Case cases[] = {
        {"room setting 9 = 2, identity 0, in a hand: the card memory works", true, false, kPhasePlay, 2, 0, true,
         true, true, true, true},
        {"room setting 9 = 2 with identity 1: disabled, still shown", true, false, kPhasePlay, 2, 1, true, false, true,
         true, true},
        {"room setting 9 = 1 with identity 1", true, false, kPhasePlay, 1, 1, true, true, true, true, true},
        {"between hands the card memory is disabled", true, false, kPhaseIdle, 3, 0, true, false, true, true, true},
        {"room setting 9 = 0: never", true, false, kPhasePlay, 0, 0, true, false, true, true, true},
        {"off line the server's tools go", false, false, kPhasePlay, 0, 0, false, false, false, true, false},
        {"off line, a room that allows the card memory brings it back", false, false, kPhasePlay, 3, 0, true, true,
         false, true, false},
        {"a watcher has no faces and no start", true, true, kPhasePlay, 3, 0, true, true, false, false, true},
    };
    for (const Case& c : cases) {
        for (int id : {kBtnCardMem, kBtnFaces, kBtnStart, kBtnTrustPlay}) {
            m_table->GetDlgItem(id)->ShowWindow(SW_SHOWNA);
            m_table->GetDlgItem(id)->EnableWindow(TRUE);
        }
        g_app.m_bOnline = c.online ? TRUE : FALSE;
        g_app.m_bWatcher = c.watching ? TRUE : FALSE;
        g_app.m_roomSettings[8] = c.setting9;
        g_state.phase = c.phase;
        g_state.seats[0].player.identify = c.identity;
        m_table->SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(1000, 700));
        auto shown = [&](int id) { return (m_table->GetDlgItem(id)->GetStyle() & WS_VISIBLE) != 0; };
        EXPECT_EQ(shown(kBtnCardMem), c.memoryShown) << c.what;
        EXPECT_EQ(m_table->GetDlgItem(kBtnCardMem)->IsWindowEnabled() != FALSE, c.memoryEnabled) << c.what;
        EXPECT_EQ(shown(kBtnFaces), c.facesShown) << c.what;
        EXPECT_EQ(shown(kBtnStart), c.startShown) << c.what;
        EXPECT_EQ(shown(kBtnTrustPlay), c.trustShown) << c.what;
    }
    g_app.m_bOnline = FALSE;
    g_app.m_bWatcher = FALSE;
    g_app.m_roomSettings[8] = 0;
}

}  // namespace
