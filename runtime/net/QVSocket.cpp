#include "QVSocket.h"

IMPLEMENT_DYNAMIC(CQVSocket, CGameSocket)

BOOL CQVSocket::Connect(LPCSTR lpszHost, UINT nPort, BOOL bAsk)
{
    return CGameSocket::Connect(lpszHost, nPort, bAsk);
}
