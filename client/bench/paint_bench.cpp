// mardavel_paint_bench.exe: a full paint of the table window in the middle
// of a hand (own hand of 20 cards, the others' counts, a play on the table
// at every seat, names, marks, the played count and the designated card),
// timed over many paints and set against the frame's 30 ms animation tick.
// The board is one of the bench's own that hands out the crafted table
// state. Run under Wine from the program's folder:
//   scripts/wine-run.sh build/x64/bin/mardavel_paint_bench.exe [paints]
#include <windows.h>

#include "afxwin.h"

#include <gdiplus.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "GameClientApp.h"
#include "GameEnvironment.h"
#include "GameWnd.h"
#include "MainFrame.h"
#include "MardavelBoard.h"
#include "AxControls.h"
#include "AxStandInTest.h"

namespace {

CGameClientApp g_app;
BoardGameState g_state;
uint8_t g_blocks[2][1400];
BoardCallback g_callback = nullptr;

BoardHandle QVBOARD_CALL BenchCreate(int32_t, BoardCallback callback, uintptr_t, int32_t, const BoardInitBlock*)
{
    g_callback = callback;
    return &g_state;
}

int32_t QVBOARD_CALL BenchEvent(BoardHandle, int32_t code, int32_t, int32_t, void* param)
{
    switch (code) {
    case kEvTableState: *static_cast<BoardGameState**>(param) = &g_state; break;
    case kEvSavedCounts: *static_cast<void**>(param) = g_blocks[0]; break;
    case kEvSavedCards: *static_cast<void**>(param) = g_blocks[1]; break;
    default: break;
    }
    return 1;
}

void QVBOARD_CALL BenchDestroy(BoardHandle) {}

void CraftMiddleOfAHand()
{
    memset(&g_state, 0, sizeof g_state);
    g_state.phase = kPhasePlay;
    for (int seat = 0; seat < kTableSeats; seat++) {
        g_state.seats[seat].cardsInHand = seat == 0 ? 20 : 12 + seat;
        snprintf(g_state.seats[seat].player.userName, sizeof g_state.seats[seat].player.userName, "player%d",
                 seat + 1);
        for (int i = 0; i < 20; i++) {
            CardEntry& c = g_state.hands[seat][i];
            c.id = (uint8_t)(1 + i * 5 % 52);
            c.rank = (uint8_t)(i * 2 / 3 % 13);
            c.suit = (uint8_t)(i % 4);
            c.groupCount = 1;
            c.flags = (seat == 0 && i % 7 == 3) ? kCardSelected : 0;
        }
        g_state.seats[seat].tableCardCount = 3;
        for (int i = 0; i < 3; i++) {
            CardEntry& c = g_state.tableCards[seat][i];
            c.id = (uint8_t)(100 + seat * 3 + i);
            c.rank = (uint8_t)(4 + seat);
            c.suit = (uint8_t)i;
        }
    }
    g_state.seatToAct = 0;
    g_state.emperorSeat = 1;
    g_state.guardSeat = 3;
    g_state.decisionMarks[3] = 1;   // the guard has shown himself
    g_state.trickCount = 3;         // the played-count figure: 3 cards by seat 4
    g_state.leadSeat = 4;
    g_state.optNoGuardCard = 1;     // the designated card shown
    g_state.rememberedCardId = 8;
    for (int seat = 0; seat < kTableSeats; seat++) {
        g_state.clockLength[seat] = 30;
        g_state.clockSecondsLeft[seat] = 17;
    }
}

class CHostWnd : public CWnd
{
public:
    BOOL CreateHost()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "paint bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                        1024, 740, NULL, NULL);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    const int paints = argc > 1 ? atoi(argv[1]) : 300;
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, NULL);
    HMODULE resources = ::LoadLibraryA("Mardavel_Res.dll");
    if (resources == NULL) {
        printf("the resource library is missing\n");
        return 1;
    }
    AfxSetResourceHandle(resources);
    InitThemePaths("Mardavel", FALSE, NULL);
    g_app.m_bOnline = TRUE;
    g_app.m_board.m_pfnCreate = BenchCreate;
    g_app.m_board.m_pfnEvent = BenchEvent;
    g_app.m_board.m_pfnDestory = BenchDestroy;
    CraftMiddleOfAHand();
    // The seats' portraits: the avatar control's stand-in of the build tree.
    AfxOleInitThread();
    CStandInServer avatars;
    if (!avatars.Serve("QVAvatar.dll", CLSID_QVAvatar)) {
        printf("the avatar control stand-in is missing\n");
        return 1;
    }

    CHostWnd host;
    host.CreateHost();
    CGameWnd* table = new CGameWnd;
    if (!table->Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1024, 740), &host,
                       kTableWindowId) ||
        table->CreateBoard() != 1) {
        printf("the table window could not be made\n");
        return 1;
    }
    table->m_bFirstHandPending = FALSE;
    for (int i = 0; i < 10; i++)
        table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    LARGE_INTEGER f, a, b;
    ::QueryPerformanceFrequency(&f);
    // Side by side: the whole WM_PAINT (the table composed and copied to the
    // window) and the composition alone into the back buffer.
    ::QueryPerformanceCounter(&a);
    for (int i = 0; i < paints; i++)
        table->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
    ::GdiFlush();
    ::QueryPerformanceCounter(&b);
    const double ms = (double)(b.QuadPart - a.QuadPart) * 1000.0 / (double)f.QuadPart / paints;
    ::QueryPerformanceCounter(&a);
    for (int i = 0; i < paints; i++)
        table->Redraw();
    ::GdiFlush();
    ::QueryPerformanceCounter(&b);
    const double compose = (double)(b.QuadPart - a.QuadPart) * 1000.0 / (double)f.QuadPart / paints;
    printf("full paint of the table 1024x740 mid-hand: %.2f ms (mean of %d)\n", ms, paints);
    printf("  of which the composition:                %.2f ms\n", compose);
    printf("against the 30 ms animation tick:          %.1f%%\n", ms / 30.0 * 100);
    table->DestroyWindow();
    delete table;
    host.DestroyWindow();
    Gdiplus::GdiplusShutdown(token);
    return 0;
}
