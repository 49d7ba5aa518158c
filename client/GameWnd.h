// CGameWnd: the table window. It owns the board of the board library (in
// client mode), takes every server message the connection does not handle
// itself and hands the game's messages to the board, sends what the board
// builds, turns the board's callbacks into buttons, texts and sounds, runs
// the turn clock and the idle keep-alive, and draws the table from the
// board's table state.
//
// The board is not re-entrant. Every call into it goes through BoardEvent,
// which counts its depth: a command that arrives while the board is on the
// stack (a box shown inside a callback pumps messages) is dropped, the
// window object is deleted only once the board call has unwound, and the
// pause after a hand's result runs on a timer with receiving held instead of
// a message pump inside the callback.
#pragma once

#include "afxwin.h"
#include <afxcmn.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "BoardInterface.h"
#include "TableLayout.h"
#include "TableMarks.h"
#include "TablePictures.h"
#include "TableRules.h"
#include "TableSettings.h"
#include "CardMemory.h"
#include "PlayerInfo.h"
#include "TaskRewards.h"
#include "TableExtras.h"
#include "TableState.h"
#include "TableTools.h"
#include "QVAvatar.h"
#include "TextBalloonWnd.h"

class CChatActionButton;
class CSetupDlg;

// Posted by the hold callback: lParam the time in milliseconds.
constexpr UINT WM_RECEIVE_HOLD = WM_USER + 0x101;

// Timers of the table window.
constexpr UINT_PTR kTimerSecond = 1;       // idle keep-alive and the turn clock
constexpr UINT_PTR kTimerFlash = 3;        // the few-cards flash
constexpr UINT_PTR kTimerHold = 5;         // the end of a receive hold
constexpr UINT_PTR kTimerResultPause = 7;  // the end of the pause after a hand's result
constexpr UINT_PTR kTimerTask = 40;        // the online-time task's seconds
constexpr UINT_PTR kTimerReward = 50;      // the reward icon's blink

// Decision buttons.
enum TableButtonId {
    kBtnGiveUp = 198,
    kBtnAlone = 199,
    kBtnStart = 200,
    kBtnBecome = 201,
    kBtnDecline = 202,
    kBtnShowGuard = 203,
    kBtnHideGuard = 204,
    kBtnPass = 205,
    kBtnPlay = 206,
    kBtnHint = 207,
    kBtnGameScore = 208,
    kBtnTrustPlay = 209,
    kBtnPlayDir = 210,
    kBtnLastTrick = 211,
    kBtnSort = 212,
    kBtnSetup = 213,
    kBtnKick = 323,
    kBtnNoKick = 324,
    kBtnFaces = 330,
    kBtnCardMem = 332,
    kBtnTrustPlayOff = 333,
    kBtnRanking = 334,
    kBtnTitles = 335,
    kBtnPrizeDraw = 337,
    kBtnPrizeFetch = 338,
    kBtnLookUp = 339,
};
// The hidden text balloon's control id.
constexpr UINT kTextBalloonId = 233;
// The click sound of the table's buttons.
constexpr UINT kButtonClickSound = 262;
// A seat's few-cards count flashes this many steps of timer 3.
constexpr int kFewCardsFlashSteps = 6;

class CGameHistoryDlg;

class CGameWnd : public CWnd
{
    DECLARE_DYNCREATE(CGameWnd)
public:
    CGameWnd();
    ~CGameWnd() override;

    // ---- The board ---------------------------------------------------------------------
    int32_t BoardEvent(int32_t code, int32_t a, int32_t b, void* param);
    // 1 created; 0 when the board, its identity, the table state or its two
    // blocks cannot be had.
    int CreateBoard();
    static int32_t QVBOARD_CALL BoardCallbackThunk(BoardCallbackRecord* record);
    int OnBoardCallback(const BoardCallbackRecord& record);
    void UpdatePhaseButtons(BOOL bPhaseChanged);
    // Deletes the object now; while the board is on the stack the board is
    // destroyed when that call returns and the object at the application's
    // next idle time (code after the board call still runs on it).
    void ReleaseWhenIdle();
    BOOL IsBoardBusy() const { return m_nBoardDepth > 0; }

    // ---- The mouse over the table and the seats' tips (GameWndMouse.cpp) -------------
    // The clip of a paint DC without the visible buttons (the table is
    // copied around them), except the four that are drawn over it.
    void ExcludeChildControls(CDC& dc);
    // The own hand's rectangle in the current layout.
    LayoutRect OwnHandRect() const;
    // Draws the own hand's cards from card `from` on (a card marked by a
    // drag wearing the frame) into the DC; -1 draws nothing.
    void DrawOwnHandFrom(CDC& dc, int from);
    // The first own card with the drag mark, or -1.
    int FirstMarkedCard() const;
    // A face from a seat (board callback 10021: message 0x26011 and its
    // size) shown as a picture tip at that seat; a bad face is dropped.
    void ShowPictureTip(const uint8_t* pMessage, size_t nSize);
    class CRoundTipWnd* SeatTip(int nSeat) const
    {
        return nSeat >= 0 && nSeat < kTableSeats ? m_pSeatTips[nSeat] : NULL;
    }
    HWND DesignatedTipWindow() const { return m_hDesignatedTip; }
    BOOL IsDesignatedTipShown() const { return m_bDesignatedTipShown; }
    void CreateDesignatedTip();
    void DestroyDesignatedTip();
    void HideSeatTips();
    void DestroySeatTips();
    // The press point of the left button and the last mouse position
    // (client coordinates).
    CPoint m_ptPress;
    CPoint m_ptLastMouse;
    // Drag steps over the own hand, and the clock they are timed by.
    CDragPace m_dragPace;
    DWORD(WINAPI* m_pfnTickCount)() = ::GetTickCount;
    // The next paint only copies the own hand's rectangle, already drawn.
    BOOL m_bHandOnlyPaint = FALSE;
    HWND m_hDesignatedTip = NULL;
    BOOL m_bDesignatedTipShown = FALSE;
    class CRoundTipWnd* m_pSeatTips[kTableSeats] = {};

    // ---- The connection ----------------------------------------------------------------
    static int DispatchNetMessage(void* pContext, void* pData, uint32_t dwCode);
    void OnGameMessage(uint8_t* pMessage, size_t nSize);
    static BOOL SendGameMessage(const void* pMessage);
    // 1 when the frame may close now.
    BOOL ConfirmLeave();

    // ---- Commands and the clock --------------------------------------------------------
    void AutoAction();
    void OnHint();
    void ClearSelection();
    void UpdatePlayButton();
    void PlaySoundEntry(int nSection, int nEntry);

    // ---- Tool commands and the table's small windows (GameWndTools.cpp) ---------------
    // The score sheet (208), trust play (209), the previous trick (211), the
    // chosen face (330) and the card memory (332); FALSE for other ids.
    BOOL OnToolCommand(int nId);
    void OnScoreSheet();
    void OnTrustPlay();
    void OnPreviousRound();
    void OnSendFace();
    void OnCardMemory();
    // The leave question; the choice (235 hands the seat over: the frame
    // asks the server for it).
    int AskLeave();
    void CreateHistoryWindow();
    void DestroyHistoryWindow();
    void AddHandToHistory();
    // A game message about to reach the board: a play that starts a new
    // trick keeps the trick before it.
    void BeforeGameMessage(const uint8_t* pMessage);
    BOOL CardMemoryAllowed() const;
    void DrawCardMemory(CDC& dc);
    CGameHistoryDlg* m_pHistory = NULL;
    CCardMemory m_cardMemory;
    BOOL m_bCardMemoryShown = FALSE;
    CPreviousTrick m_previousTrick;
    BOOL m_bTrustNoticeShown = FALSE;

    // ---- Options, play direction, sort, music, chat players (GameWndOptions.cpp) ------
    // The play direction (210), the sort (212), the setup dialog (213) and
    // the chat control's player refresh (the full command word -100);
    // FALSE for other commands.
    BOOL OnOptionsCommand(WPARAM wParam);
    void OnPlayDirection();
    void OnSortCards();
    void OnOptions();
    // The play direction turned over: the seat views, the button's picture
    // and tip, the layout.
    void TurnPlayDirection();
    TableOptions CurrentOptions() const;
    // What the setup dialog's OK changes; FALSE (nothing changed) when an own
    // picture is chosen without a usable file.
    BOOL ApplyOptions(const TableOptions& before, const TableOptions& after, int personalData);
    // The background by its mode: the theme's picture, "BkColor", or the own
    // picture (over "BkColor" unless tiled).
    void DrawTableBackground(CDC& dc, const CRect& client);
    // Plays the music file while music and sound effects are on, else stops it.
    void ApplyMusicSetting();
    void RefreshChatPlayers();
    // Message 0x80026023: the table options block (a bad message changes nothing).
    void StoreTableOptions(const uint8_t* pMessage, size_t nSize);
    uint32_t m_tableOptions[kTableOptionValues] = {};
    // Runs the setup dialog in place of its modal loop (tests); NULL: DoModal.
    INT_PTR (*m_pfnRunSetup)(CSetupDlg& dialog) = NULL;
    std::unique_ptr<CTableImage> m_pOwnBackground;
    BOOL m_bOptionsOpen = FALSE;
    BOOL m_bSorting = FALSE;

    // ---- Player information, web links and chat lines (GameWndPlayers.cpp) --------
    // Callback 10022: the records of the message's body.
    void OnPlayerInfoCallback(const NetMsgHeader* message, intptr_t size);
    void SetPlayerInfo(const uint8_t* pPayload, size_t nSize);
    // The own strength line and title in the news texts; the chat pane's
    // header from the news texts.
    void BuildOwnStrengthLine(int nSeat);
    void RefreshNews();
    CString FormatPlayerInfo(int nSeat);
    // The tip of the point where the mouse rests (WM_MOUSEHOVER): the task
    // tip over the task area while the task is in progress, else the
    // information tip of the seat under it. Nothing once the mouse moved on.
    void ShowPlayerTip(int x, int y);
    LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam);
    // The seat whose frame or panel holds the point, or -1.
    int SeatAt(int x, int y);
    void DestroyTips();
    class CBalloonWnd* m_pInfoTip = NULL;
    class CBalloonWnd* m_pTaskTip = NULL;
    BOOL m_bShowPlayerTips = TRUE;
    // A coloured line in the chat control (logged).
    void AppendChatLine(LPCSTR lpszText, COLORREF colour, int nSize);
    // Trust play once a second (333), the strength page (334), the titles (335).
    BOOL OnPlayerCommand(int nId);
    void OnTrustPlayThrottled();
    void ResetTrustPlayThrottle();
    void OnStrengthPage();
    CString StrengthPageAddress();
    void OnTitles();
    // The titles dialog (GameWndTitles.cpp): made on first use, centred over
    // the table and shown; refreshed while it is visible; destroyed with the
    // window. A dialog that cannot be made (a picture of the theme missing)
    // is logged and the table goes on without it.
    void ShowTitlesDialog();
    void RefreshTitlesDialog();
    void DestroyTitlesDialog();
    class CSetTitleDlg* m_pTitleDlg = NULL;
    class ISetTitleHost* m_pTitleHost = NULL;
    // Board event 0x1012 (own seat, value) at most once a second.
    void ThrottledBoardRequest(uint32_t dwValue);
    void ResetBoardRequestThrottle();
    CString ExpandAddress(LPCSTR lpszAddress);
    std::string FetchTicket(const char* user);
    // Opens only http:// and https:// addresses; FALSE (logged) for others.
    BOOL OpenWebAddress(const CString& address);
    // The news of the news file into the chat pane's header.
    void ShowNews(const CString titles[4], const CString links[4]);
    // Message 0x80026026: the news header's texts and links.
    void OnLinkedNotice(const uint8_t* pMessage, size_t nSize);
    // The chat pane's four news texts and links (process-wide).
    static CString& NewsText(int i);
    static CString& NewsLink(int i);
    CPlayerInfoTable m_playerInfo;
    CThrottle m_trustThrottle{kUserActionIntervalMs};
    CThrottle m_titleThrottle{kUserActionIntervalMs};
    CString m_strStrengthPage;
    CString m_strTicket;
    uint8_t m_roomRecord[kRoomRecordBytes] = {};

    // ---- Titles and honour (GameWndTitles.cpp) ------------------------------------------
    // Callback 10026: the honour points per title, replaced as a whole.
    void OnHonourTableCallback(const NetMsgHeader* message, intptr_t size);
    // Message 0x80026021: the own titles, each with its honour.
    void OnTitleList(const uint8_t* pMessage, size_t nSize);
    // Callback 10023: titles awarded, announced in the chat.
    void OnTitleAwardCallback(const NetMsgHeader* message, intptr_t size);
    // A seat's title banner beside its frame in the waiting look: the
    // level's badge and the title written down it, each "**" part in a badge
    // of its own, further badges towards `direction` (1 right, -1 left).
    void DrawTitleBanner(CDC& dc, int nSeat, int left, int top, int direction);
    struct OwnedTitle {
        ServerTitle title;
        int32_t honour;
    };
    // ---- The online-time task (GameWndTasks.cpp) ---------------------------------------
    // 0x26027-0x26030 and the 0x26035 reply.
    void OnTaskMessage(const uint8_t* pMessage, size_t nSize);
    void OnTaskStatus(uint32_t dwKey, uint32_t dwResult);
    void OnStageVerdict(uint32_t dwVerdict);
    // Timers 40 and 50; FALSE for another timer.
    BOOL OnTaskTimer(UINT_PTR nIDEvent);
    // The task file of a result kind in the per-user folder: read at most
    // once per window, written unless it holds the task's key already.
    BOOL ReadTaskFile(uint32_t dwResult);
    BOOL WriteTaskFile(uint32_t dwResult);
    // Prize draw (337), fetch (338) and look up (339).
    void OnPrizeCommand();
    // The task panel: the reward pictures, fonts and the three prize buttons
    // (hidden) made with the window; the task area and the buttons' place
    // laid out with the tool rows (tool: the tool buttons' size).
    void CreateTaskPanel();
    void LayoutTaskArea(int cx, SIZE tool);
    // Composes the task panel (or, during hands, the task's progress) and the
    // reward icon into the back buffer, then brings the prize buttons up to
    // date. Online, not watching, and only while the panel is open.
    void DrawTaskPanel(CDC& dc);
    // The prize buttons as after a stage verdict: the fetch or draw button of
    // the stage reached while a reward is there, else the look-up button for
    // a task done or expired.
    void UpdatePrizeButtons();
    BOOL IsOverDetails(CPoint point) const;
    // The details caption of a task without an event: the hand cursor and
    // the hover colour over it; a click on it opens the task's page.
    void UpdateDetailsHover(CPoint point);
    BOOL OpenDetailsAt(CPoint point);
    LayoutRect m_taskArea;
    LayoutRect m_taskBar;
    LayoutRect m_detailsRect;
    BOOL m_bTaskShown = FALSE;
    BOOL m_bDetailsHover = FALSE;
    CFont m_taskFont;
    CFont m_detailsFont;
    CTaskState m_task;
    BOOL m_taskFileLoaded[4] = {};
    BOOL m_bRewardAvailable = FALSE;
    BOOL m_bRewardBlink = FALSE;
    std::vector<HonourEntry> m_honour;
    std::vector<OwnedTitle> m_titles;
    BOOL m_bAnnounceAwards = TRUE;

    // Composes the whole table into the back buffer (painting then copies it).
    void Redraw();

    // ---- Seats (GameWndSeats.cpp) ----------------------------------------------------
    // The five seat windows (avatar panels) under this window: 1, or -1 when
    // one cannot be set up (the table goes on without that portrait).
    int CreateSeatWindows();
    void DestroySeatWindows();
    CAvatarPanel* SeatWindow(int seat) const;
    void DrawTrustPlayPanel(CDC& dc, int count);
    void DrawTurnClock(CDC& dc, int view, int seat);
    // A seat's hand changed: its few-cards warning starts when it falls to
    // the threshold. Timer 3 steps the flash; a deal resets it.
    void NoteSeatCards(int seat);
    void StepFewCardsFlash();
    void ResetFewCards();
    BOOL m_fewCardsWarning[kTableSeats] = {};
    int m_fewCardsFlash[kTableSeats] = {};

    // ---- State the table's parts share -------------------------------------------------
    int OwnSeat() const;
    BOOL IsWatching() const;
    BOOL m_bTrustPlay = FALSE;
    BOOL m_bLeave = FALSE;
    BOOL m_bReceiveFree = TRUE;
    BOOL m_bFirstHandPending = TRUE;
    BOOL m_bOwnClockActive = FALSE;
    int m_nPauseKind = -1;
    int m_nTurnSeat = -1;
    // The seats that passed in the trick on the table (their pass marks).
    PassedSeats m_passed;
    uint8_t m_trustTimes = 0;
    uint8_t m_trustAllowed = 0;
    CString m_strStatus;
    CString m_strHandResult;
    // The pause after a hand's result (injected by tests).
    UINT m_nResultPauseMs = 2500;
    BOOL m_bSoundOn = TRUE;
    TableSettings m_settings;
    int m_nBackgroundMode = 0;
    CToolTipCtrl m_tooltip;

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnDestroy();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* pDC);
    void OnSize(UINT nType, int cx, int cy);
    void OnTimer(UINT_PTR nIDEvent);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnMouseMove(UINT nFlags, CPoint point);
    LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    void UpdateDesignatedTip(CPoint point);
    // Draws the hand from card `from` on into the back buffer and
    // invalidates only the hand.
    void RedrawOwnHandFrom(int from);
    void OnRButtonDown(UINT nFlags, CPoint point);
    LRESULT OnReceiveHold(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Callbacks.
    void OnSendCallback(const NetMsgHeader* message);
    void OnHandResult(int nResult);
    void FinishPhaseZero();
    void HideSentDecision(uint32_t dwId);
    void ApplyButton(int nId, const ButtonChange& change);
    // One of the table's buttons by id, without asking the window system.
    CWnd* TableButton(int nId) const;
    void ShowButton(int nId, BOOL bShow);
    void EnableButton(int nId, BOOL bEnable);
    BOOL IsButtonVisible(int nId);
    void SetStatus(UINT nStringId);
    void OnTrustStatus(const uint8_t* pMessage, size_t nSize);
    void OnConnectionClosed();

    // Layout and painting.
    void ReadSettings();
    void LoadPictures();
    BOOL CreateButtons();
    void ShowDirectionButton();
    BOOL CreateBackBuffer();
    void FreeBackBuffer();
    void LayoutTableNow();
    void LayoutDecisionButtons();
    void Redraw(CDC& dc, const CRect& client);
    // The decision-button bar, the logo and the button-row frame (GameWndMarks.cpp).
    void DrawButtonBar(CDC& dc, const CRect& client, int ownPanelLeft);
    // The emperor's mark, the role marks, the played-count figure and the
    // designated card (GameWndMarks.cpp).
    void DrawTableMarks(CDC& dc, const CRect& client);
    void DrawSeat(CDC& dc, int view, int seat);
    void DrawWaitingSeat(CDC& dc, int view, int seat);
    void DrawSmallCard(CDC& dc, const CardEntry& card, int x, int y);
    void PlaceSeatWindow(int seat, int x, int y, int mode, int width, int height);
    void ApplySeatWindows();
    // nextStep: the next card of the row lies this far right at the same
    // height (0: none), so only the strip in sight is drawn.
    void DrawCardAt(CDC& dc, const CardEntry& card, int x, int y, BOOL bFaceDown, int nextStep = 0);

    void DestroyBoard();

    BoardHandle m_hBoard = NULL;
    int m_nBoardDepth = 0;
    BOOL m_bDeleteWhenIdle = FALSE;
    BOOL m_bHintBusy = FALSE;
    BOOL m_bHeldForPause = FALSE;
    void* m_pSeatValues = NULL;
    void* m_pSavedBlock = NULL;
    CIdleCounter m_idle;

    TablePictures m_pictures;
    TableMetrics m_metrics;
    CFont m_font;        // small: 12/6
    CFont m_textFont;    // text: 14/7, the balloon's
    CTextBalloonWnd m_balloon;
    // The back buffer: the screen's size, so a larger window never
    // reallocates it; the buttons copy their background from it.
    CDC m_backDC;
    CBitmap m_backBitmap;
    HGDIOBJ m_hOldBackBitmap = NULL;
    // The still layer: the background stretched to the window's size and
    // the seat panels, with what it was composed for.
    struct StillLayerKey {
        int width = 0, height = 0;
        bool panels = false;
        bool firstHandPending = false;   // the button bar's place
        int ownPanelLeft = 0;
        int seats[kTableSeats] = {-1, -1, -1, -1, -1};
        int panelLeft[kTableSeats] = {}, panelTop[kTableSeats] = {};
        bool operator==(const StillLayerKey& o) const
        {
            if (width != o.width || height != o.height || panels != o.panels ||
                firstHandPending != o.firstHandPending || ownPanelLeft != o.ownPanelLeft)
                return false;
            for (int v = 0; v < kTableSeats; v++)
                if (seats[v] != o.seats[v] || panelLeft[v] != o.panelLeft[v] || panelTop[v] != o.panelTop[v])
                    return false;
            return true;
        }
    };
    CBitmap m_backgroundCache;
    CSize m_backgroundCacheSize;
    StillLayerKey m_stillKey;
    std::vector<std::unique_ptr<CButton>> m_buttons;
    std::vector<int> m_buttonIds;   // each button's id, in the same order
    CChatActionButton* m_pFaces = NULL;   // the face picker (one of the buttons)
    // Seat windows by seat, where the seat drawing wants each and where each is.
    struct SeatWindowPlace {
        SeatWindowPlace();
        bool shown = false;
        bool placed = false;
        int x = 0, y = 0, mode = 0, width = 0, height = 0;
    };
    std::unique_ptr<CAvatarPanel> m_seatWindows[kTableSeats];
    SeatWindowPlace m_seatWanted[kTableSeats];
    SeatWindowPlace m_seatShown[kTableSeats];
};
