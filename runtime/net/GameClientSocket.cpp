#include "GameClientSocket.h"

CGameClientSocket theGameSocket;

IMPLEMENT_DYNAMIC(CGameClientSocket, CQVSocket)

CGameClientSocket::CGameClientSocket()
    : m_pfnCloseEventHook(NULL), m_pfnPlayerOfflineHook(NULL), m_pfnPlayerBackHook(NULL), m_pfnHandler(NULL),
      m_pHandlerContext(NULL)
{
}

void CGameClientSocket::SetHandler(PFN_GAMESOCKET_HANDLER pfnHandler, void* pContext)
{
    m_pfnHandler = pfnHandler;
    m_pHandlerContext = pContext;
}

void CGameClientSocket::SetHooks(PFN_GAMESOCKET_HOOK pfnCloseEvent, PFN_GAMESOCKET_HOOK pfnPlayerOffline,
                                 PFN_GAMESOCKET_HOOK pfnPlayerBack)
{
    m_pfnCloseEventHook = pfnCloseEvent;
    m_pfnPlayerOfflineHook = pfnPlayerOffline;
    m_pfnPlayerBackHook = pfnPlayerBack;
}

BOOL CGameClientSocket::Connect(LPCSTR lpszHost, UINT nPort, BOOL bAsk)
{
    return CQVSocket::Connect(lpszHost, nPort, bAsk);
}

void CGameClientSocket::OnClose(int nErrorCode)
{
    const int nStateCode = m_nStateCode;
    m_nStateCode = 0;
    CQVSocket::OnClose(nErrorCode);
    if (m_pfnHandler != NULL)
        m_pfnHandler(m_pHandlerContext, (void*)(INT_PTR)nStateCode, kHandlerConnectionClosed);
}

BOOL CGameClientSocket::OnMessage(void* pMessage)
{
    if (CQVSocket::OnMessage(pMessage))
        return TRUE;
    if (m_pfnHandler == NULL)
        return FALSE;
    StopReceive();
    m_pfnHandler(m_pHandlerContext, pMessage, MsgId(pMessage));
    StartReceive();
    return TRUE;
}

void CGameClientSocket::OnCloseNotice(void* pMessage)
{
    if (m_pfnCloseEventHook == NULL || !m_pfnCloseEventHook(m_pHandlerContext, pMessage))
        CQVSocket::OnCloseNotice(pMessage);
}

void CGameClientSocket::OnPlayerOffline(void* pMessage)
{
    if (m_pfnPlayerOfflineHook == NULL || !m_pfnPlayerOfflineHook(m_pHandlerContext, pMessage))
        CQVSocket::OnPlayerOffline(pMessage);
}

void CGameClientSocket::OnPlayerBack(void* pMessage)
{
    if (m_pfnPlayerBackHook == NULL || !m_pfnPlayerBackHook(m_pHandlerContext, pMessage))
        CQVSocket::OnPlayerBack(pMessage);
}

void CGameClientSocket::OnTrustStateNotice(void* pMessage)
{
    if (m_pfnHandler != NULL)
        m_pfnHandler(m_pHandlerContext, pMessage, kHandlerTrustState);
}

void CGameClientSocket::OnTrustQuitNotice(void* pMessage)
{
    if (m_pfnHandler != NULL)
        m_pfnHandler(m_pHandlerContext, pMessage, kHandlerTrustQuit);
}
