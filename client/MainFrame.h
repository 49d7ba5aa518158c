// CMainFrame: the program's main window. It holds the table window (and,
// once the game's skinned frame is part of the program, the chat pane in its
// areas), loads the recording library from the program's folder, and owns
// the close sequence: a close is refused while the connection may not
// close, confirmed through the table window while a hand is on, and always
// tells the server that the user leaves before the window goes.
#pragma once

#include "afxwin.h"

class CGameWnd;

// Posted to the frame when the close is confirmed.
constexpr UINT WM_CLOSE_CONFIRMED = 0x812C;
// The table window's control id in the frame.
constexpr UINT kTableWindowId = 0xE900;

class CMainFrame : public CFrameWnd
{
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    CGameWnd* GetGameWnd() const { return m_pGameWnd; }
    HMODULE RecorderModule() const { return m_hRecorder; }

protected:
    int OnCreate(LPCREATESTRUCT lpCreateStruct);
    void OnSize(UINT nType, int cx, int cy);
    void OnClose();
    void OnDestroy();
    void OnSetFocus(CWnd* pOldWnd);
    LRESULT OnCloseConfirmed(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    CGameWnd* m_pGameWnd = NULL;
    HMODULE m_hRecorder = NULL;
};
