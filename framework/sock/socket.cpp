// CSocket: blocking Send and Receive over CAsyncSocket, and the one-message
// pump they wait with.
#include "afxsock.h"

BOOL AFXAPI AfxPumpOneMessage(BOOL* pbQuit)
{
    if (pbQuit != NULL)
        *pbQuit = FALSE;
    MSG msg;
    if (!::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE))
        return FALSE;
    if (msg.message == WM_QUIT) {
        // Not ours to take: the outer message loop ends on it.
        ::PostQuitMessage((int)msg.wParam);
        if (pbQuit != NULL)
            *pbQuit = TRUE;
        return TRUE;
    }
    CWinThread* pThread = AfxGetThread();
    const BOOL bTaken = pThread != NULL ? pThread->PreTranslateMessage(&msg)
                                        : CWnd::WalkPreTranslateTree(NULL, &msg);
    if (!bTaken) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

void AFXAPI AfxWaitForMessage(DWORD dwMilliseconds)
{
    ::MsgWaitForMultipleObjectsEx(0, NULL, dwMilliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}

IMPLEMENT_DYNAMIC(CSocket, CAsyncSocket)

CSocket::CSocket() : m_bCancelBlocking(FALSE), m_nSentBeforeFailure(0)
{
}

CSocket::~CSocket()
{
}

BOOL CSocket::OnBlockingWait()
{
    BOOL bQuit = FALSE;
    if (!AfxPumpOneMessage(&bQuit))
        AfxWaitForMessage(1);
    if (bQuit) {
        SetLastError(WSAEINTR);
        return FALSE;
    }
    return TRUE;
}

BOOL CSocket::WaitWhileBlocking()
{
    if (!m_bCancelBlocking) {
        SetLastError(0);
        if (OnBlockingWait() && !m_bCancelBlocking)
            return TRUE;
        if (GetLastError() != 0 && !m_bCancelBlocking)
            return FALSE;
    }
    SetLastError(WSAEINTR);
    return FALSE;
}

int CSocket::Receive(void* lpBuf, int nBufLen, int nFlags)
{
    if (m_bInBlockingCall) {
        SetLastError(WSAEINPROGRESS);
        return SOCKET_ERROR;
    }
    m_bInBlockingCall = TRUE;
    m_bCancelBlocking = FALSE;
    int nResult;
    for (;;) {
        nResult = CAsyncSocket::Receive(lpBuf, nBufLen, nFlags);
        if (nResult != SOCKET_ERROR || GetLastError() != WSAEWOULDBLOCK || !WaitWhileBlocking())
            break;
    }
    const int nError = GetLastError();
    m_bInBlockingCall = FALSE;
    ReleaseHeldNotifications();
    SetLastError(nError);
    return nResult;
}

int CSocket::Send(const void* lpBuf, int nBufLen, int nFlags)
{
    m_nSentBeforeFailure = 0;
    if (m_bInBlockingCall) {
        SetLastError(WSAEINPROGRESS);
        return SOCKET_ERROR;
    }
    if (nBufLen < 0 || (lpBuf == NULL && nBufLen > 0)) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    m_bInBlockingCall = TRUE;
    m_bCancelBlocking = FALSE;
    const char* pNext = (const char*)lpBuf;
    int nLeft = nBufLen;
    int nResult = nBufLen;
    while (nLeft > 0) {
        const int nSent = CAsyncSocket::Send(pNext, nLeft, nFlags);
        if (nSent == SOCKET_ERROR) {
            if (GetLastError() == WSAEWOULDBLOCK && WaitWhileBlocking())
                continue;
            nResult = SOCKET_ERROR;
            break;
        }
        pNext += nSent;
        nLeft -= nSent;
    }
    const int nError = nResult == SOCKET_ERROR ? GetLastError() : 0;
    m_nSentBeforeFailure = nResult == SOCKET_ERROR ? nBufLen - nLeft : 0;
    m_bInBlockingCall = FALSE;
    ReleaseHeldNotifications();
    if (nResult == SOCKET_ERROR)
        SetLastError(nError);
    return nResult;
}
