// CGameClientApp: the program's application object. On top of the
// application base (launch record, join, player list) it starts GDI+, binds
// the board library, creates the main frame with the table window and the
// saved-game record, has the table window create the board with receiving
// stopped, and keeps what the table's windows read: the seat records, the
// seat-to-view mapping, the room settings and the board's table state.
#pragma once

#include "afxwin.h"

#include <cstdint>

#include "BoardLibrary.h"
#include "GameApp.h"
#include "GameRecord.h"
#include "SkinManager.h"
#include "net/GameSocket.h"
#include "SeatViews.h"
#include "TableState.h"

class CGameWnd;
class CMainFrame;
class CQVChatEx;

// What the connection asks of the program's windows: the server's queries
// through the kit's entry box, the end-of-hand wealth records to the chat
// control, the server's web notice in the kit's popup.
class CClientSocketUi : public CGameSocketUi
{
public:
    int AskQuery(LPCSTR lpszText, UINT nStyle, UINT nArgument, BOOL bWantsText, CString& rAnswerText) override;
    BOOL HasChatControl() override;
    void AddWealthRecord(const WealthRecord& record, uint32_t value) override;
    // The server's web notice in the kit's popup, owned by the main frame.
    void ShowWebNotice(LPCSTR lpszTitle, LPCSTR lpszAddress, UINT nWidth, UINT nHeight) override;
    void CloseWebNotice() override;
};

class CGameClientApp : public CGameApp
{
    DECLARE_DYNAMIC(CGameClientApp)
public:
    CGameClientApp();
    ~CGameClientApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    // Mouse messages go to the table's tooltip before they are dispatched.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Deletes the table windows released while their board was busy.
    BOOL OnIdle(LONG lCount) override;
    void DeleteTableWhenIdle(CGameWnd* pTable) { m_pTableToDelete = pTable; }

    // Binds "<program folder>\<name>_Board.dll"; faults 431 and 430 as
    // start-up reports them. 1 on success.
    BOOL LoadBoardDll(LPCSTR lpszName);
    // The seat at each view position from the own chair and the direction.
    void UpdateSeatViews();
    void OnLaunchValue(uint32_t nValue, uint32_t nBlob1Length, const uint8_t* pBlob1, BOOL bWatching) override;
    // The server address and the fault context texts of the fault reports.
    void FillFaultContext(LPCSTR lpszText);
    // A fault report with the fixed first values and the two texts.
    void PostClientFault(UINT nCode);
    // A JPEG of the thread's main window (frame included) in the snapshot
    // folder, the picture also on the clipboard; its path into the
    // 260-character buffer. 0 when no picture could be taken.
    BOOL SaveSnapshot(char* pszPath, int nQuality);

    // The own seat (0-4) the table shows at the bottom.
    int OwnSeat() const { return m_nOwnSeat; }
    // A saved game's recorded seat becomes the own seat (0-4).
    void SetOwnSeat(int nSeat) { m_nOwnSeat = nSeat >= 0 && nSeat < kTableSeats ? nSeat : 0; }
    BOOL IsWatching() const { return m_bWatcher; }
    BOOL IsOnline() const { return m_bOnline; }
    const char* OwnUserName() const { return m_pszUserName != NULL ? m_pszUserName : ""; }

    CBoardLibrary m_board;
    CTableState m_state;                 // the board's table state (event 10050)
    CGameRecord* m_pRecord = NULL;
    CGameWnd* m_pGameWnd = NULL;         // set by the main frame
    CQVChatEx* m_pChat = NULL;           // set by the chat pane
    int m_nChatHeight = 200;
    CToolTipCtrl* m_pToolTip = NULL;     // the table's tooltip, set by the table window
    CSkinManager m_skins;
    CString m_strSkinFolder;             // the loaded skin's folder, empty without one
    BOOL m_bTableCreated = FALSE;
    SeatLayoutRecord m_seats[kTableSeats] = {};
    int m_views[kTableSeats] = {0, 1, 2, 3, 4};
    int m_nPlayerCount = kTableSeats;
    int m_nPlayDirection = 0;
    int32_t m_roomSettings[kRoomSettingCount] = {};
    CString m_strServerText;
    CString m_strFaultContext;

    // The news of the per-user file "MARDAVELNEWS.ini" (section "NewsInfo"):
    // its update time and four titles with their addresses, read at an
    // online start and shown in the chat pane's news header.
    struct News {
        int32_t updateTime = 0;
        CString titles[4];
        CString links[4];
    };
    News m_news;
    // Reads the news file over the news held (a missing key keeps its
    // value) and hands the titles and addresses to the chat pane's header.
    void ReadNews();

protected:
    CFrameWnd* NewMainFrame() override;

private:
    int m_nOwnSeat = 0;
    CClientSocketUi m_socketUi;
    CGameWnd* m_pTableToDelete = NULL;
    ULONG_PTR m_gdiplusToken = 0;
    LPTOP_LEVEL_EXCEPTION_FILTER m_pPreviousFilter = NULL;
};

CGameClientApp* GetClientApp();
