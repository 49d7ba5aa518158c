// CGameApp: the application base of the platform's game clients.
//
// Start-up sets up COM, the registry root "Quorvintel\Game", the install
// path, the log, the resource library and the owner-draw skin, starts the
// sockets, reads the launch record, joins the table and keeps the player
// list that the rest of the client reads. The log records the start and the
// end of the program and every failure of start-up, one line per call.
#pragma once

#include "afxwin.h"

#include <cstdint>

#include "LaunchInfo.h"
#include "TableJoin.h"

class CGameSocket;

// One seated player. The names point into the kept join reply (or, in local
// mode, the application's placeholder names).
class CGamePlayer
{
public:
    CGamePlayer(LPCSTR lpszUserName, LPCSTR lpszNickName, uint32_t nChair, uint32_t nValue, uint8_t nPosition)
        : m_pszUserName(lpszUserName), m_pszNickName(lpszNickName), m_nChair(nChair), m_nValue(nValue),
          m_nPosition(nPosition)
    {
    }
    virtual ~CGamePlayer() = default;

    LPCSTR m_pszUserName;
    LPCSTR m_pszNickName;
    uint32_t m_nChair;
    uint32_t m_nValue;
    uint8_t m_nPosition;        // 1-based place in the reply (local mode: seat + 1)
};
#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(CGamePlayer) == 24, "client player is 24 bytes");
#endif

// The owner-draw control library's start-up (theme ini path, resource flag):
// non-zero on success.
typedef BOOL (*ODInitLibraryRoutine)(LPCSTR lpszThemeIni, int nResourceFlag);

class CGameApp : public CWinApp
{
    DECLARE_DYNAMIC(CGameApp)
public:
    explicit CGameApp(LPCSTR lpszGameName = "Demo");
    ~CGameApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // ---- The player list ---------------------------------------------------------------
    // NULL for an index out of range.
    virtual CGamePlayer* GetPlayer(int nIndex);
    // The list index of the user name (letters compared without case), or -1.
    virtual int FindPlayerIndex(LPCSTR lpszUserName);
    // The player at chair (chair of the first entry + offset) mod seat count;
    // NULL when the list is empty or nobody sits there.
    virtual CGamePlayer* GetPlayerAtSeat(int nOffset);
    // Creates a main frame (popup 10 x 10, no title) with receiving stopped
    // meanwhile. 1 on success.
    virtual BOOL ShowGameWindow();
    // Join hooks, called once the player list is built: the launch record's
    // value (offset 488) and the reply's first blob (the room's option text),
    // with the watching flag; and the value with both blobs. Empty here.
    virtual void OnLaunchValue(uint32_t nValue, uint32_t nBlob1Length, const uint8_t* pBlob1, BOOL bWatching);
    virtual void OnJoinBlobs(uint32_t nValue, uint32_t nBlob1Length, const uint8_t* pBlob1, uint32_t nBlob2Length,
                             const uint8_t* pBlob2);

    CGamePlayer* FindPlayer(LPCSTR lpszUserName);
    int GetPlayerCount() const { return (int)m_players.GetSize(); }
    // A point of the main window's game area: 1-8 round its rectangle
    // clockwise from the top left, 0 or less its centre, 16-47 and from 48 the
    // entries of its two point lists; anything else (-10000, -10000).
    CPoint GetAnchorPoint(int nCode);

    // ---- Start-up steps ------------------------------------------------------------------
    BOOL ReadPlayerList();
    // The owner-draw skin: "<Share Path>\odctrls\<skin file>" or
    // "<Share Path>\odctrls\<game>_skn.ini" through m_pfnODInitLibrary.
    virtual BOOL LoadSkinRes();

    // ---- Log ----------------------------------------------------------------------------
    // Creates the log afresh with its start line.
    BOOL OpenLog();
    // Appends one line; nothing when the log cannot be opened.
    void WriteLog(LPCSTR lpszText);
    void WriteLog(UINT nStringId);
    // Appends the end line.
    void CloseLog();

    // ---- Values --------------------------------------------------------------------------
    CString m_strFirstText;
    CString m_strGameName;
    CString m_strInstallPath;         // ends with a backslash after start-up
    CString m_strSkinFile;            // empty: "<game>_skn.ini"
    int m_nSeatCount;
    int m_nNoEmptyChair;              // players expected; 0: not checked
    BOOL m_bOwnerDraw;
    BOOL m_bOnline;
    BOOL m_bWatcher;
    int m_nScreenWidth;
    int m_nScreenHeight;
    DWORD m_dwReserved;
    LPCSTR m_pszUserName;
    LPCSTR m_pszNickName;
    CPtrArray m_players;              // CGamePlayer*
    HINSTANCE m_hResDll;
    CString m_strLogPath;
    uint32_t m_nOwnChair;             // the own chair (watching: the watched one)
    ODInitLibraryRoutine m_pfnODInitLibrary;

protected:
    // The connection of the join (the process's one connection).
    virtual CGameSocket& GameSocket();
    // The game area of the main window and its two point lists; FALSE when
    // there is none (the game's frame provides it).
    virtual BOOL GetAnchorArea(CRect* pArea, const POINT** ppList1, int* pnList1, const POINT** ppList2,
                               int* pnList2);
    // The frame ShowGameWindow creates.
    virtual CFrameWnd* NewMainFrame();

private:
    BOOL ResolveInstallPath();
    BOOL BuildLocalPlayers();
    BOOL BuildJoinedPlayers(const JoinReply& reply);
    void DeletePlayers();
    void AppendLogText(LPCSTR lpszText);

    CString m_strProfileName;         // the registry profile: the game name at start-up
    uint8_t* m_pJoinReply;            // kept for the life of the program
    char* m_pLocalNames;              // placeholder names of local mode
    BOOL m_bComStarted;
};

// Places a newly created main frame from its saved placement, shows and
// updates it; the game frame's library sets it (NULL: ShowGameWindow leaves
// the frame where it was created).
typedef void (*FramePlacementRoutine)(CFrameWnd* pFrame);
extern FramePlacementRoutine g_pfnRestoreFramePlacement;

// The application object as a CGameApp, or NULL.
CGameApp* GetGameApp();
// A line in the application's log (nothing without a CGameApp).
void WriteGameLog(LPCSTR lpszText);

// The anchor point of a code for an area and its point lists.
CPoint AnchorPointOf(int nCode, const CRect& area, const POINT* pList1, int nList1, const POINT* pList2,
                     int nList2);
