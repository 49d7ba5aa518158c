// CMainFrame: the program's main window, the platform's skinned game frame
// with the table's areas. It creates the table window (and, online, the
// chat pane) for the layout's game and chat areas, loads the recording
// library from the program's folder, answers the caption buttons, keeps the
// focus on the chat control or the table window, and owns the close
// sequence: a close is refused while the connection may not close, confirmed
// through the table window while the seat is taken, and always tells the
// server that the user leaves before the window goes.
#pragma once

#include "QVGameWnd.h"

class CAreaPainter;
class CChatWnd;
class CFrameRecorderHost;
class CGameWnd;
class CRecordingControl;
class CReplayPanelDlg;

// Posted to the frame when the close is confirmed.
constexpr UINT WM_CLOSE_CONFIRMED = 0x812C;
// Posted to the frame with the recorder's report code (wParam).
constexpr UINT WM_RECORD_DONE = WM_APP + 0x131;
// The table window's and the chat pane's control ids in the frame.
constexpr UINT kTableWindowId = 0xE900;
constexpr UINT kChatPaneId = 0xE901;

class CMainFrame : public CQVGameWnd
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    CGameWnd* GetGameWnd() const { return m_pGameWnd; }
    CChatWnd* GetChatWnd() const { return m_pChatPane; }
    // Local mode: the replay panel, in place of the chat pane.
    CReplayPanelDlg* GetReplayPanel() const { return m_pReplayPanel; }
    HMODULE RecorderModule() const { return m_hRecorder; }
    CAreaPainter* GetGameArea() const { return m_pGameArea; }
    CAreaPainter* GetChatArea() const { return m_pChatArea; }
    CAreaPainter* GetPlayArea() const { return m_pPlayArea; }
    BOOL IsMaximised() const { return m_bMaximised; }

    // Asks the server to hand the seat to automatic play; its answer.
    BOOL CanExitGame();

    // ---- The skinned frame's operations ---------------------------------------------
    CString GetBackImagePath() override;
    CAreaPainter* CreateAreaPainter(LPCSTR name) override;
    BOOL OnCreateNameWnd(CAreaPainter* area, LPCSTR name, CQVIniFile* ini, LPCSTR section) override;
    BOOL OnCreateSpliteGrid(CSpliteGrid* grid, LPCSTR name) override;
    void ToggleMaximize() override;
    void ShowAboutDialog() override;
    void OnTitleButtonKey(int key) override;

    // Caption actions.
    void CloseFrame();
    void OpenIntroPage();
    void ShowSetup();
    void TakeScreenshot();
    void ToggleRecording();

    // ---- Screenshots and recordings (MainFrameMedia.cpp) -------------------------------
    // A blue system line in the chat control (none in local mode); logged.
    void ShowSystemLine(LPCSTR text);
    // Stops a running recording: reason 0 by the user or the end of a hand,
    // 2 when the frame closes.
    void StopRecording(int reason);
    BOOL IsRecording() const;
    // A new video path in the 260-character buffer, or an empty text.
    void MakeRecordFileName(char* buffer);
    // The recorder's report: on the capture thread (or inside StartRecord),
    // so it only posts WM_RECORD_DONE to the frame's window (user).
    static void __cdecl RecordCallback(void* user, int code);

protected:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnActivateApp(BOOL bActive, DWORD dwThreadID);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnScreenshotCommand();
    afx_msg void OnRecordingCommand();
    afx_msg LRESULT OnCloseConfirmed(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRecordDone(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void FocusChatOrTable();
    void LoadVideoButtonPictures();
    void CreateRecordingControl();
    void DeleteRecordingControl();

    CAreaPainter* m_pGameArea = NULL;
    CAreaPainter* m_pChatArea = NULL;
    CChatWnd* m_pChatPane = NULL;
    CReplayPanelDlg* m_pReplayPanel = NULL;
    CBkButton* m_pVideoButton = NULL;
    CImageObj m_videoPicture;
    CImageObj m_stopPicture;
    HMODULE m_hRecorder = NULL;
    friend class CFrameRecorderHost;
    CFrameRecorderHost* m_pRecorderHost = NULL;
    CRecordingControl* m_pRecording = NULL;
    CAreaPainter* m_pPlayArea = NULL;
    BOOL m_bMaximised = FALSE;
    BOOL m_bShownOnce = FALSE;
    CGameWnd* m_pGameWnd = NULL;
};
