#include "ChatWnd.h"

#include "GameClientApp.h"

IMPLEMENT_DYNCREATE(CChatWnd, CWnd)

BEGIN_MESSAGE_MAP(CChatWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CChatWnd::CChatWnd() = default;
CChatWnd::~CChatWnd() = default;

int CChatWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CGameClientApp* app = GetClientApp();
    if (app != NULL)
        app->m_nChatHeight = (int)app->GetProfileInt("Settings", "ChatHeight", kDefaultChatHeight);
    if (!m_chat.Create(WS_CHILD | WS_VISIBLE, CRect(0, kHeaderHeight, 10, kHeaderHeight + 10), this,
                       kChatControlId))
        return -1;
    if (app != NULL)
        app->m_pChat = &m_chat;
    return 0;
}

void CChatWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_chat.GetSafeHwnd() != NULL)
        m_chat.MoveWindow(0, kHeaderHeight, cx, cy > kHeaderHeight ? cy - kHeaderHeight : 0);
}

BOOL CChatWnd::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    client.bottom = client.top + kHeaderHeight;
    pDC->FillSolidRect(client, RGB(236, 228, 206));
    return TRUE;
}

void CChatWnd::OnDestroy()
{
    CGameClientApp* app = GetClientApp();
    if (app != NULL) {
        if (m_chat.GetSafeHwnd() != NULL) {
            CRect rect;
            m_chat.GetWindowRect(&rect);
            app->m_nChatHeight = rect.Height();
            app->WriteProfileInt("Settings", "ChatHeight", app->m_nChatHeight);
        }
        if (app->m_pChat == &m_chat)
            app->m_pChat = NULL;
    }
    CWnd::OnDestroy();
}
