// The pause after a hand's result, on a board of the test's own: the
// result stays on the table with server messages held and the start button
// hidden until the pause's timer ends it; a play command or the window's
// close queued during the pause neither re-enters the board nor crashes,
// and a close leaves the connection receiving.
#include <gtest/gtest.h>

#include "afxwin.h"

#include <cstring>
#include <vector>

#include "GameClientApp.h"
#include "GameWnd.h"
#include "MardavelBoard.h"
#include "TableWindowTest.h"
#include "net/GameClientSocket.h"

namespace {

CGameClientApp g_app;

BoardGameState g_state;
uint8_t g_savedCounts[64];
uint8_t g_savedCards[1300];
BoardCallback g_callback = nullptr;
uintptr_t g_cookie = 0;
int g_depth = 0, g_deepest = 0;
std::vector<int32_t> g_events;

BoardHandle QVBOARD_CALL FakeCreate(int32_t, BoardCallback callback, uintptr_t cookie, int32_t, const BoardInitBlock*)
{
    g_callback = callback;
    g_cookie = cookie;
    return &g_state;
}

int32_t QVBOARD_CALL FakeEvent(BoardHandle, int32_t code, int32_t, int32_t, void* param)
{
    g_depth++;
    g_deepest = g_depth > g_deepest ? g_depth : g_deepest;
    switch (code) {
    case kEvTableState: *static_cast<BoardGameState**>(param) = &g_state; break;
    case kEvSavedCounts: *static_cast<void**>(param) = g_savedCounts; break;
    case kEvSavedCards: *static_cast<void**>(param) = g_savedCards; break;
    default: g_events.push_back(code); break;
    }
    g_depth--;
    return 1;
}

void QVBOARD_CALL FakeDestroy(BoardHandle) {}

void Callback(uint32_t code, intptr_t p1)
{
    BoardCallbackRecord record = {};
    record.cookie = g_cookie;
    record.code = code;
    record.p1 = p1;
    g_callback(&record);
}

int Count(int32_t code)
{
    int n = 0;
    for (int32_t e : g_events)
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

class ResultPauseTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { s_process.SetUp(); }
    static void TearDownTestSuite() { s_process.TearDown(); }

    void SetUp() override
    {
        memset(&g_state, 0, sizeof g_state);
        g_state.emperorSeat = 0;
        g_state.guardSeat = 1;
        g_state.phase = kPhasePlay;
        g_app.SetOwnSeat(0);
        g_app.UpdateSeatViews();
        g_events.clear();
        g_depth = g_deepest = 0;
        tabletest::MakeTable(g_app, FakeCreate, FakeEvent, FakeDestroy, m_host, m_table);
        // The pause ends only when the test delivers its timer.
        m_table->m_nResultPauseMs = 3600 * 1000;
        theGameSocket.StartReceive();
        ASSERT_TRUE(theGameSocket.IsReceiving());
    }
    void TearDown() override
    {
        tabletest::DropTable(g_app, m_host, m_table);
        g_app.m_pGameWnd = NULL;
    }

    // A hand won by the emperor's side, then the board's phase-0 refresh.
    void EndHand()
    {
        Callback(kCbHandResult, 2);
        g_state.phase = kPhaseIdle;
        Callback(kCbRefresh, 0);
        Pump();
    }
    bool StartShown() const
    {
        CWnd* start = m_table->GetDlgItem(kBtnStart);
        return start != NULL && (start->GetStyle() & WS_VISIBLE) != 0;
    }

    tabletest::CHostWnd m_host;
    CGameWnd* m_table = NULL;
    static tabletest::TableProcess s_process;
};
tabletest::TableProcess ResultPauseTest::s_process;

TEST_F(ResultPauseTest, ThePauseHoldsTheTableUntilItsTimerAndCommandsDoNotReenterTheBoard)
{
    EndHand();
    EXPECT_EQ(m_table->m_nPauseKind, 0) << "the emperor's seat after a won hand";
    EXPECT_FALSE(theGameSocket.IsReceiving()) << "server messages wait during the pause";
    EXPECT_FALSE(StartShown()) << "no start button during the pause";

    // A play command and the hint come in during the pause: each is handed
    // to the board (which checks the phase) from the window's own loop,
    // never inside another of the board's calls.
    m_table->PostMessage(WM_COMMAND, MAKEWPARAM(kBtnPlay, BN_CLICKED), 0);
    m_table->PostMessage(WM_COMMAND, MAKEWPARAM(kBtnHint, BN_CLICKED), 0);
    Pump();
    EXPECT_EQ(Count(kEvPlayCards), 1) << "the play command reaches the board once";
    EXPECT_LE(g_deepest, 1) << "the board is never entered twice";
    EXPECT_EQ(m_table->m_nPauseKind, 0) << "still paused";

    m_table->SendMessage(WM_TIMER, kTimerResultPause, 0);
    EXPECT_EQ(m_table->m_nPauseKind, -1) << "the pause is over";
    EXPECT_TRUE(theGameSocket.IsReceiving()) << "receiving again";
    EXPECT_TRUE(StartShown()) << "the start button once the pause is over";
}

TEST_F(ResultPauseTest, ClosingDuringThePauseLeavesTheConnectionReceiving)
{
    EndHand();
    ASSERT_FALSE(theGameSocket.IsReceiving());
    m_host.PostMessage(WM_CLOSE);   // the host goes, the table with it
    Pump();
    EXPECT_EQ(m_table->GetSafeHwnd(), (HWND)NULL) << "the table window is gone";
    EXPECT_TRUE(theGameSocket.IsReceiving()) << "no suspended connection left behind";
    EXPECT_LE(g_deepest, 1);
    // No pause timer outlives the window.
    Pump();
    m_table->ReleaseWhenIdle();
    m_table = NULL;
}

}  // namespace
