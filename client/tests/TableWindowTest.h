// What the tests of the table window on a board of their own share: the
// process's part (GDI+, the resource library and the theme paths, the
// avatar control's stand-in served to the process for the seats'
// portraits, so that nothing need be registered), a host window, and the
// table made on the board's three functions.
#pragma once

#include <gtest/gtest.h>

#include "afxwin.h"

#include <gdiplus.h>

#include "AxControls.h"
#include "AxStandInTest.h"
#include "GameClientApp.h"
#include "GameEnvironment.h"
#include "GameWnd.h"
#include "MainFrame.h"
#include "net/GameClientSocket.h"

namespace tabletest {

class CHostWnd : public CWnd
{
public:
    BOOL CreateHost()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "table host", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 1024, 720, NULL,
                        NULL);
    }
};

// Once per suite.
class TableProcess
{
public:
    void SetUp()
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&m_gdiplus, &input, NULL);
        m_resources = ::LoadLibraryA("Mardavel_Res.dll");
        ASSERT_NE(m_resources, nullptr) << "the resource library is missing";
        AfxSetResourceHandle(m_resources);
        ASSERT_TRUE(InitThemePaths("Mardavel", FALSE, NULL));
        ASSERT_TRUE(AfxOleInitThread());
        m_avatars = new CStandInServer;
        ASSERT_TRUE(m_avatars->Serve("QVAvatar.dll", CLSID_QVAvatar)) << "the avatar control stand-in is missing";
    }
    void TearDown()
    {
        delete m_avatars;
        m_avatars = NULL;
        Gdiplus::GdiplusShutdown(m_gdiplus);
    }

private:
    ULONG_PTR m_gdiplus = 0;
    HMODULE m_resources = NULL;
    CStandInServer* m_avatars = NULL;
};

// The table window (1000 x 700) in a host on the board's functions, its
// board created.
inline void MakeTable(CGameClientApp& app, PFN_QVBoardCreate create, PFN_QVBoardEvent event,
                      PFN_QVBoardDestory destroy, CHostWnd& host, CGameWnd*& table)
{
    app.m_board.m_pfnCreate = create;
    app.m_board.m_pfnEvent = event;
    app.m_board.m_pfnDestory = destroy;
    ASSERT_TRUE(host.CreateHost());
    table = new CGameWnd;
    ASSERT_TRUE(table->Create(NULL, NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 1000, 700), &host,
                              kTableWindowId));
    ASSERT_EQ(table->CreateBoard(), 1);
}

inline void DropTable(CGameClientApp& app, CHostWnd& host, CGameWnd*& table)
{
    if (table != NULL) {
        table->DestroyWindow();
        table->ReleaseWhenIdle();
        table = NULL;
    }
    app.OnIdle(0);
    host.DestroyWindow();
    app.m_board.m_pfnCreate = NULL;
    app.m_board.m_pfnEvent = NULL;
    app.m_board.m_pfnDestory = NULL;
    theGameSocket.SetHandler(NULL, NULL);
}

}  // namespace tabletest
