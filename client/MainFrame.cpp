#include "MainFrame.h"
#include "Bitmaps.h"

#include "GameClientApp.h"
#include "GameWnd.h"
#include "net/GameClientSocket.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_SETFOCUS()
    ON_MESSAGE(WM_CLOSE_CONFIRMED, OnCloseConfirmed)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame()
{
    if (m_hRecorder != NULL)
        ::FreeLibrary(m_hRecorder);
    m_hRecorder = NULL;
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    // The restored size of the frame: 1024 wide, at most 768 high, centred.
    RECT work = {};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int width = 1024;
    const int height = (work.bottom - work.top) < 768 ? (work.bottom - work.top) : 768;
    SetWindowPos(NULL, work.left + ((work.right - work.left) - width) / 2,
                 work.top + ((work.bottom - work.top) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);

    m_pGameWnd = new CGameWnd;
    CRect client;
    GetClientRect(&client);
    if (!m_pGameWnd->Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, client, this, kTableWindowId)) {
        delete m_pGameWnd;
        m_pGameWnd = NULL;
        return -1;
    }
    if (CGameClientApp* app = GetClientApp())
        app->m_pGameWnd = m_pGameWnd;

    // The recording library, from the program's folder only: a library of
    // that name in the current folder (a saved game opened from elsewhere)
    // is never loaded.
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(NULL, path, MAX_PATH);
    if (char* slash = strrchr(path, '\\')) {
        slash[1] = '\0';
        strncat(path, "Vidrelle.dll", MAX_PATH - strlen(path) - 1);
        m_hRecorder = ::LoadLibraryExA(path, NULL, LOAD_WITH_ALTERED_SEARCH_PATH);
    }
    return 0;
}

void CMainFrame::OnSize(UINT nType, int cx, int cy)
{
    CFrameWnd::OnSize(nType, cx, cy);
    if (m_pGameWnd != NULL && m_pGameWnd->GetSafeHwnd() != NULL && cx > 0 && cy > 0)
        m_pGameWnd->MoveWindow(0, 0, cx, cy);
}

void CMainFrame::OnSetFocus(CWnd* /*pOldWnd*/)
{
    if (m_pGameWnd != NULL && m_pGameWnd->GetSafeHwnd() != NULL)
        m_pGameWnd->SetFocus();
}

void CMainFrame::OnClose()
{
    if (!theGameSocket.GetMayClose())
        return;
    if (theGameSocket.IsConnectionLost()) {
        theGameSocket.LeaveAndClose();
        PostMessage(WM_CLOSE_CONFIRMED);
        return;
    }
    if (theGameSocket.IsOpen() && !theGameSocket.IsQuitting()) {
        if (m_pGameWnd == NULL || !m_pGameWnd->ConfirmLeave())
            return;
        theGameSocket.LeaveAndClose();
    }
    PostMessage(WM_CLOSE_CONFIRMED);
}

LRESULT CMainFrame::OnCloseConfirmed(WPARAM, LPARAM)
{
    CFrameWnd::OnClose();
    return 0;
}

void CMainFrame::OnDestroy()
{
    if (m_pGameWnd != NULL) {
        if (CGameClientApp* app = GetClientApp())
            app->m_pGameWnd = NULL;
        CGameWnd* table = m_pGameWnd;
        m_pGameWnd = NULL;
        table->DestroyWindow();
        table->ReleaseWhenIdle();
    }
    CFrameWnd::OnDestroy();
}
