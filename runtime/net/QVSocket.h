// CQVSocket: the middle layer of the connection classes, between the game
// connection (CGameSocket) and the game's handler (CGameClientSocket).
//
// This is the layer that decides at every connect whether the game server
// is reached directly or through the platform's relay proxy, and that runs
// the relay's speed tests. Until the relay is in, it connects directly.
#pragma once

#include "GameSocket.h"

class CQVSocket : public CGameSocket
{
    DECLARE_DYNAMIC(CQVSocket)
public:
    CQVSocket() = default;

    BOOL Connect(LPCSTR lpszHost, UINT nPort, BOOL bAsk) override;
};
