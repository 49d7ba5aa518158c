// QVGameWnd.h - CQVGameWnd: the skinned top-level frame of the platform's
// card games.
//
// It owns no game logic. It draws its own caption, border and background
// from the pictures the game's layout file names (GameLayout.cpp), hosts a
// tree of areas (splitters, plain areas holding child windows, the table
// scene) that fills its client area, offers the areas the IAreaHost services,
// runs two timers (the scene's 30 ms animation and the 1 s keep-alive) and
// follows the lobby's hide/show message. The window is painted only from its
// work image: the back image (border, caption, area backgrounds) with the
// caption buttons and the overlays drawn over it.
//
// The game's main frame derives from it and replaces the virtual operations
// (layout path, areas, caption keys, maximise, close, about box).
#pragma once

#include <afxcmn.h>
#include <afxwin.h>

#include <cstdint>

#include "AreaHost.h"
#include "FrameGeometry.h"
#include "ImageObj.h"
#include "SimplePtrArray.h"

class CBkButton;
class CBkPainter;
class CAreaPainter;
class CSpliteGrid;
class CQVScenePainter;
class CImageCache;
class CQVIniFile;

class CQVGameWnd : public CFrameWnd, public IAreaHost
{
    DECLARE_DYNCREATE(CQVGameWnd)
public:
    CQVGameWnd();
    ~CQVGameWnd() override;

    // Timers, child ids and the values the frame keeps.
    static constexpr UINT_PTR kSecondTimer = 1001;
    static constexpr UINT_PTR kAnimationTimer = 1002;
    static constexpr UINT kSecondTimerMs = 1000;
    static constexpr UINT kAnimationTimerMs = 30;
    // While nothing of the scene moves, the animation tick slows to this;
    // the first tick that moves something brings back the 30 ms pace.
    static constexpr UINT kQuietAnimationTimerMs = 250;
    static constexpr UINT kChatWndId = 1;
    static constexpr UINT kToolWndId = 2;
    static constexpr UINT kAdvertWndId = 3;
    static constexpr UINT_PTR kToolTipId = 256;
    static constexpr LONG_PTR kUserData = 0xFECE;
    static constexpr DWORD kFrameStyle = 0x860E0000;   // popup, clip, system menu, sizing, minimise
    static constexpr UINT kChatTextMessage = 0x544;
    static constexpr UINT kShowChatTextMessage = 0x545;
    static constexpr uint32_t kKeepAliveMessage = 0x201;
    static constexpr uint32_t kDropMessage = 0x2110;

    // ---- Virtual operations, in slot order --------------------------------------------------
    virtual void CloseGame();
    virtual void OnFrameHook2(int value);
    virtual void OnFrameHook3(int value);
    virtual void ForwardToToolWindow(int value);
    virtual int OnFrameQuery5(int value);
    virtual int OnFrameQuery6(int value);
    virtual int OnFrameQuery7(int value);
    virtual void OnSecondTick();
    virtual LRESULT OnChatText(WPARAM sender, LPARAM text);
    virtual LRESULT ShowChatText(WPARAM sender, LPARAM text);
    virtual int OnFrameQuery11(int a, int b);
    virtual void OnDragStart(int first, int item, int third, int fourth, int fifth);
    virtual void OnFrameHook13(int a, int b, int c, int d, int e);
    virtual void OnDropDone(int first, int targetFlags, int item, int fourth, int fifth);
    virtual BOOL IsDropAllowed(int value, int flag);
    virtual void ShowItemAtSeat(int chair);
    virtual CString GetBackImagePath();
    virtual void InitResize();
    virtual BOOL OnLoadGameInfo(CQVIniFile* ini, LPCSTR folder);
    virtual void OnBackImage(CImageObj* back);
    virtual void OnBackImage2(CImageObj* back);
    virtual CQVScenePainter* CreateScenePainter();
    virtual BOOL OnCreateGameWnd(CQVScenePainter* painter, LPCSTR name);
    virtual CAreaPainter* CreateAreaPainter(LPCSTR name);
    virtual BOOL OnCreateNameWnd(CAreaPainter* area, LPCSTR name, CQVIniFile* ini, LPCSTR section);
    virtual CSpliteGrid* CreateSpliteGrid();
    virtual BOOL OnCreateSpliteGrid(CSpliteGrid* grid, LPCSTR name);
    virtual void ToggleMaximize();
    virtual void Minimize();
    virtual void PostClose();
    virtual void OnCaptionHook31();
    virtual void OnCaptionHook32();
    virtual void OnCaptionHook33();
    virtual void OnCaptionHook34();
    virtual void ShowAboutDialog();

    // ---- IAreaHost ----------------------------------------------------------------------------
    void RedrawRect(CBkButton* button, const RECT& rect) override;
    void SetAreaCapture(CBkPainter* area) override;
    void UpdateTip(LPCSTR text, const RECT& rect) override;
    void Redraw(const RECT& rect, CBkPainter* painter) override;
    CBkPainter* GetAreaCapture() override;
    void RedrawDirty(CQVRectList* dirty) override;
    void RedrawSceneRect(const RECT& rect) override;
    CString GetAppPath() override;
    void WriteLog(LPCSTR text) override;
    CGamePlayer* GetPlayer(int index) override;
    CImageObj* GetAvatarPicture(LPCSTR userName) override;
    CDC* GetHostDC() override;
    void ReleaseHostDC(CDC* dc) override;
    CImageObj* MakeTextPicture(LPCSTR text, const LOGFONT& font, COLORREF colour, BOOL horizontal) override;
    COLORREF GetTransparentColor() override { return m_crTransparent; }

    // ---- Layout (GameLayout.cpp) ----------------------------------------------------------------
    BOOL LoadGameInfo();
    // Border and caption into the back image.
    BOOL MakeBackImage();
    // The whole window drawn again from the layout (after a size change, a
    // new caption text or an activation change); on failure WM_CLOSE is
    // posted.
    BOOL UpdateBackImage();

    // ---- Other operations ---------------------------------------------------------------------
    // Places the window from the profile (MainFrame left, top, width,
    // height), shows and updates it.
    void RestorePlacement();
    void AddAboutMenu(UINT id);
    // Mouse moves, double clicks, the wheel, F3/F4 and WM_SYSCHAR are
    // handled here, before dispatch.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void SetActive(BOOL active);
    BOOL IsActive() const { return m_bActive; }

    int GetTitleButtonCount() const { return m_titleButtons.GetCount(); }
    CBkButton* GetTitleButton(int index) const { return m_titleButtons.GetAt(index); }
    CSimplePtrArray<CBkButton>& GetTitleButtons() { return m_titleButtons; }
    CBkPainter* GetRootArea() const { return m_pRootArea; }
    // The first painter of the tree with this name, or NULL.
    CBkPainter* FindArea(LPCSTR name) const;
    CImageObj& GetBackImage() { return m_backImage; }
    CImageObj& GetWorkImage() { return m_workImage; }
    const CRect& GetTitleRect() const { return m_rcTitle; }
    const FrameSizes& GetSizes() const { return m_sizes; }
    int GetSecondCounter() const;

    // The registered lobby message.
    static UINT GetLobbyMessage();
    // Set by CloseGame: the application's exit runs when the frame goes.
    static BOOL s_bClosing;

    int m_nKeyValue4;          // the advert parameter, written as KeyValue4
    UINT m_nAnimationPeriod = kAnimationTimerMs;   // the animation timer's period now

protected:
    // ---- Hooks onto the connection and the embedded controls --------------------------------
    // Whether the program has a server connection, and the connection's
    // sends; the frame's tests replace them.
    virtual BOOL IsOnline();
    virtual BOOL IsConnectionOpen();
    virtual DWORD GetIdleSeconds();
    virtual BOOL SendGameMessage(uint32_t id, const void* body, uint32_t length);
    // The list index of the player with this user name, -1 when none (the
    // application's player list).
    virtual int FindSpeakerIndex(LPCSTR userName);
    // The embedded child windows (the chat control, the tool window, the
    // advert control); the base makes plain hidden children standing for them.
    virtual CWnd* CreateChatWindow(BOOL visible);
    virtual CWnd* CreateToolWindow(BOOL visible);
    virtual CWnd* CreateAdvertWindow();
    virtual CWnd* CreateAvatarWindow(LPCSTR userName);
    // The tool window's component: takes an item dropped at a screen point,
    // shows the dragged item over a screen rectangle, learns that a drag
    // ended. The base frame has no component.
    virtual void DropOnToolComponent(CPoint screen);
    virtual void ShowToolItem(const CRect& screen);
    virtual void EndToolDrag();

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    afx_msg int OnCreate(LPCREATESTRUCT cs);
    afx_msg void OnDestroy();
    afx_msg void OnTimer(UINT_PTR id);
    afx_msg void OnClose();
    afx_msg BOOL OnEraseBkgnd(CDC* dc);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT type, int cx, int cy);
    afx_msg void OnCaptureChanged(CWnd* wnd);
    afx_msg UINT OnNcHitTest(CPoint point);
    afx_msg void OnNcLButtonDown(UINT hit, CPoint point);
    afx_msg void OnNcLButtonUp(UINT hit, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT hit, CPoint point);
    afx_msg void OnGetMinMaxInfo(MINMAXINFO* info);
    afx_msg BOOL OnNcActivate(BOOL active);
    afx_msg void OnNcCalcSize(BOOL calcValidRects, NCCALCSIZE_PARAMS* params);
    afx_msg void OnNcPaint();
    afx_msg void OnActivateApp(BOOL active, DWORD threadId);
    afx_msg void OnActivate(UINT state, CWnd* other, BOOL minimized);
    afx_msg void OnSysCommand(UINT id, LPARAM lParam);
    afx_msg void OnNcRButtonDown(UINT hit, CPoint point);
    afx_msg void OnLButtonDown(UINT flags, CPoint point);
    afx_msg void OnLButtonUp(UINT flags, CPoint point);
    afx_msg LRESULT OnChatTextMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnShowChatTextMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnLobbyMessage(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

    // Parts of the layout load (GameLayout.cpp).
    void LoadTitleButtons(CQVIniFile* ini, CImageCache* cache);
    void LoadBorderImage(CQVIniFile* ini, CImageCache* cache);
    void LoadTitleImage(CQVIniFile* ini, CImageCache* cache);
    void DeleteLayout();
    void PlaceTitleButtons();
    void ComposeWorkImage();
    void CopyToWindow(const RECT* rect);
    void ReleaseHeldCapture(CPoint point);
    void RelayToTip(MSG* msg);
    // The avatar box of a seat in frame coordinates; FALSE without a scene
    // position.
    BOOL SeatBox(int seat, CRect* box) const;
    // The first seat under the point whose player may take a dropped item,
    // with the player's flag bit 0x1000.
    BOOL FindDropSeat(CPoint point, int* seat, int* flag);
    // Shows a hidden scene item of that name, hides a shown one.
    void ToggleSceneItem(LPCSTR name);
    // A chat line's balloon text at its speaker's seat: the speaker is the
    // name in the line's brackets, the seat the speaker's list index.
    void ShowSpeakerBalloon(LPCSTR text);

    static constexpr int kMaxSeatPlayers = 64;

    struct AvatarEntry
    {
        CString name;
        DWORD created;
        CWnd* window;
        CImageObj picture;
    };

    CImageObj m_backImage;
    CImageObj m_workImage;
    CString m_strTitle;
    COLORREF m_crText;
    COLORREF m_crTransparent;
    LOGFONT m_titleFont;
    CSimplePtrArray<CBkButton> m_titleButtons;
    CWnd* m_pChatWnd;
    CWnd* m_pToolWnd;
    CWnd* m_pAdvertWnd;
    CSimplePtrArray<AvatarEntry> m_avatars;
    CToolTipCtrl m_tooltip;
    CImageCache* m_pCache;          // the never-close cache: pictures kept by the areas and buttons
    CBkPainter* m_pRootArea;
    BOOL m_bCapture;
    CBkPainter* m_pCaptureArea;
    CRect m_rcTitle;
    UINT m_nAboutId;
    CRect m_rcAbout;
    int m_nResizeGrip;
    int m_nRoundRadius;
    BOOL m_bActive;
    CImageObj m_inactiveTitle;
    CPoint m_ptInactiveTitle;
    FrameSizes m_sizes;
    MaximizeState m_maximize;
    int m_nDrag[5];
    DWORD m_dwDragStart;
    CString m_strLayoutFolder;
    CRect m_rcTitleText;
};
