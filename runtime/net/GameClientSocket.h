// CGameClientSocket: the connection with the game's handler on top. The
// process holds one object of this class, theGameSocket, built before the
// program starts and destroyed at its exit.
//
// Every message that the connection does not handle itself goes to the
// handler, with receiving stopped around the call, as (context, message,
// message id). Events go to the same handler with their codes:
//   1  the connection closed; the data argument is the state code (an
//      integer in the pointer argument: 0-6, see OnClose)
//   2  a trust-play state notice; the data argument is the message
//   3  a trust-play quit notice of another user; the data argument is the
//      message
// Three optional hooks (with the handler's context) can take the close
// notice, a player's going offline and coming back: a nonzero result means
// the game handled it and the connection does nothing of its own.
#pragma once

#include "QVSocket.h"

typedef int (*PFN_GAMESOCKET_HANDLER)(void* pContext, void* pData, uint32_t dwCode);
typedef int (*PFN_GAMESOCKET_HOOK)(void* pContext, void* pMessage);

// Codes of the handler's events.
constexpr uint32_t kHandlerConnectionClosed = 1;
constexpr uint32_t kHandlerTrustState = 2;
constexpr uint32_t kHandlerTrustQuit = 3;

class CGameClientSocket : public CQVSocket
{
    DECLARE_DYNAMIC(CGameClientSocket)
public:
    CGameClientSocket();

    void SetHandler(PFN_GAMESOCKET_HANDLER pfnHandler, void* pContext);
    void SetHooks(PFN_GAMESOCKET_HOOK pfnCloseEvent, PFN_GAMESOCKET_HOOK pfnPlayerOffline,
                  PFN_GAMESOCKET_HOOK pfnPlayerBack);

    PFN_GAMESOCKET_HOOK m_pfnCloseEventHook;
    PFN_GAMESOCKET_HOOK m_pfnPlayerOfflineHook;
    PFN_GAMESOCKET_HOOK m_pfnPlayerBackHook;

    BOOL Connect(LPCSTR lpszHost, UINT nPort, BOOL bAsk) override;
    BOOL OnMessage(void* pMessage) override;
    void OnCloseNotice(void* pMessage) override;
    void OnPlayerOffline(void* pMessage) override;
    void OnPlayerBack(void* pMessage) override;
    void OnTrustStateNotice(void* pMessage) override;
    void OnTrustQuitNotice(void* pMessage) override;

protected:
    void OnClose(int nErrorCode) override;

private:
    PFN_GAMESOCKET_HANDLER m_pfnHandler;
    void* m_pHandlerContext;
};

// The one connection of the process.
extern CGameClientSocket theGameSocket;
