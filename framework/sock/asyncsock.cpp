// CAsyncSocket, the per-thread notification window and AfxSocketInit.
#include "afxsock.h"

#include <stdlib.h>

#include <map>

/////////////////////////////////////////////////////////////////////////////
// Start-up of the sockets layer

namespace {

WSADATA g_wsaData;
WORD g_wHighVersion = 0;

void StopSockets()
{
    ::WSACleanup();
}

BOOL StartSockets()
{
    if (::WSAStartup(MAKEWORD(1, 1), &g_wsaData) != 0)
        return FALSE;
    g_wHighVersion = g_wsaData.wHighVersion;
    atexit(StopSockets);
    return TRUE;
}

}  // namespace

BOOL AFXAPI AfxSocketInit(WSADATA* lpwsaData)
{
    static const BOOL bStarted = StartSockets();   // once, thread-safe
    if (bStarted && lpwsaData != NULL)
        *lpwsaData = g_wsaData;
    return bStarted;
}

WORD AFXAPI AfxSocketHighVersion()
{
    return g_wHighVersion;
}

/////////////////////////////////////////////////////////////////////////////
// Notification window
//
// One message-only window per thread. Every attachment of a socket gets its
// own message number from a cycling range, so a notification that was
// queued for a closed socket is dropped even when the system hands the same
// handle to a new socket.

namespace {

const UINT kFirstNotifyMsg = WM_APP + 0x100;
const UINT kLastNotifyMsg = 0xBFFF;
const char kSinkClassName[] = "AfxSocketNotifySink";

struct ThreadSockets
{
    HWND hWnd = NULL;
    std::map<SOCKET, CAsyncSocket*> sockets;
    UINT nNextMsg = kFirstNotifyMsg;
};

thread_local ThreadSockets* t_pSockets = NULL;

ThreadSockets& CurrentThreadSockets()
{
    if (t_pSockets == NULL)
        t_pSockets = new ThreadSockets;   // lives as long as the thread
    return *t_pSockets;
}

LRESULT CALLBACK SocketSinkWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

HWND SinkWindow()
{
    ThreadSockets& ts = CurrentThreadSockets();
    if (ts.hWnd != NULL && ::IsWindow(ts.hWnd))
        return ts.hWnd;
    HINSTANCE hInstance = ::GetModuleHandleA(NULL);
    WNDCLASSA wc;
    if (!::GetClassInfoA(hInstance, kSinkClassName, &wc)) {
        memset(&wc, 0, sizeof(wc));
        wc.lpfnWndProc = SocketSinkWndProc;
        wc.hInstance = hInstance;
        wc.lpszClassName = kSinkClassName;
        if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return NULL;
    }
    ts.hWnd = ::CreateWindowExA(0, kSinkClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, hInstance, NULL);
    return ts.hWnd;
}

// The object that holds this attachment, or NULL.
CAsyncSocket* LookupAttachment(SOCKET hSocket)
{
    if (t_pSockets == NULL)
        return NULL;
    auto it = t_pSockets->sockets.find(hSocket);
    if (it == t_pSockets->sockets.end())
        return NULL;
    return it->second->m_hSocket == hSocket ? it->second : NULL;
}

}  // namespace

// Delivers the events that the window receives (a friend of CAsyncSocket).
struct AfxSocketNotifier
{
    static CAsyncSocket* Find(SOCKET hSocket, UINT nMsg)
    {
        CAsyncSocket* pSocket = LookupAttachment(hSocket);
        return pSocket != NULL && pSocket->m_nNotifyMsg == nMsg ? pSocket : NULL;
    }

    static void Post(CAsyncSocket* pSocket, int nEvent, int nError)
    {
        ::PostMessageA(SinkWindow(), pSocket->m_nNotifyMsg, (WPARAM)pSocket->m_hSocket,
                       WSAMAKESELECTREPLY(nEvent, nError));
    }

    static void Hold(CAsyncSocket* pSocket, int nEvent, int nError)
    {
        for (int i = 0; i < pSocket->m_nHeld; i++) {
            if (pSocket->m_held[i].event == nEvent) {
                pSocket->m_held[i].error = (WORD)nError;
                return;
            }
        }
        if (pSocket->m_nHeld < (int)(sizeof(pSocket->m_held) / sizeof(pSocket->m_held[0]))) {
            pSocket->m_held[pSocket->m_nHeld].event = (WORD)nEvent;
            pSocket->m_held[pSocket->m_nHeld].error = (WORD)nError;
            pSocket->m_nHeld++;
        }
    }

    // A close with data still unread: one more read first, then the close
    // again through the queue. When the reader took nothing since the last
    // look, the close is delivered.
    static void Close(CAsyncSocket* pSocket, int nError)
    {
        if (nError == 0) {
            DWORD dwUnread = 0;
            if (::ioctlsocket(pSocket->m_hSocket, FIONREAD, &dwUnread) != 0)
                dwUnread = 0;
            dwUnread += pSocket->GetBytesReadAhead();
            if (dwUnread > 0 &&
                (!pSocket->m_bClosePending || dwUnread < pSocket->m_dwBytesAtClose)) {
                pSocket->m_bClosePending = TRUE;
                pSocket->m_dwBytesAtClose = dwUnread;
                const SOCKET hSocket = pSocket->m_hSocket;
                const UINT nMsg = pSocket->m_nNotifyMsg;
                pSocket->OnReceive(0);
                pSocket = Find(hSocket, nMsg);   // the handler may have closed it
                if (pSocket != NULL && (pSocket->m_lEvent & FD_CLOSE))
                    Post(pSocket, FD_CLOSE, 0);
                return;
            }
        }
        pSocket->m_bClosePending = FALSE;
        pSocket->OnClose(nError);
    }

    static void Dispatch(CAsyncSocket* pSocket, int nEvent, int nError)
    {
        if (pSocket->m_bInBlockingCall || pSocket->m_bHoldNotifications) {
            Hold(pSocket, nEvent, nError);
            return;
        }
        switch (nEvent) {
        case FD_READ:
            pSocket->OnReceive(nError);
            break;
        case FD_WRITE:
            pSocket->OnSend(nError);
            break;
        case FD_OOB:
            pSocket->OnOutOfBandData(nError);
            break;
        case FD_ACCEPT:
            pSocket->OnAccept(nError);
            break;
        case FD_CONNECT:
            pSocket->OnConnect(nError);
            break;
        case FD_CLOSE:
            Close(pSocket, nError);
            break;
        default:
            break;
        }
    }
};

namespace {

LRESULT CALLBACK SocketSinkWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    if (nMsg >= kFirstNotifyMsg && nMsg <= kLastNotifyMsg) {
        CAsyncSocket* pSocket = AfxSocketNotifier::Find((SOCKET)wParam, nMsg);
        if (pSocket != NULL)
            AfxSocketNotifier::Dispatch(pSocket, WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam));
        return 0;
    }
    return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

// Resolves a dotted address or a host name (IPv4). FALSE with the socket
// error set when the name is unknown.
BOOL ResolveAddress(LPCTSTR lpszHost, UINT nPort, SOCKADDR_IN* pAddr)
{
    memset(pAddr, 0, sizeof(*pAddr));
    pAddr->sin_family = AF_INET;
    pAddr->sin_port = htons((u_short)nPort);
    if (lpszHost == NULL || *lpszHost == '\0') {
        pAddr->sin_addr.s_addr = htonl(INADDR_ANY);
        return TRUE;
    }
    unsigned long ulAddress = ::inet_addr(lpszHost);
    if (ulAddress == INADDR_NONE) {
        hostent* pHost = ::gethostbyname(lpszHost);
        if (pHost == NULL || pHost->h_addrtype != AF_INET || pHost->h_addr_list[0] == NULL) {
            ::WSASetLastError(WSAHOST_NOT_FOUND);
            return FALSE;
        }
        memcpy(&ulAddress, pHost->h_addr_list[0], sizeof(ulAddress));
    }
    pAddr->sin_addr.s_addr = ulAddress;
    return TRUE;
}

BOOL AddressToText(const SOCKADDR_IN& addr, CString& rAddress, UINT& rPort)
{
    const char* lpszText = ::inet_ntoa(addr.sin_addr);
    if (lpszText == NULL)
        return FALSE;
    rAddress = lpszText;
    rPort = ntohs(addr.sin_port);
    return TRUE;
}

}  // namespace

/////////////////////////////////////////////////////////////////////////////
// CAsyncSocket

IMPLEMENT_DYNAMIC(CAsyncSocket, CObject)

CAsyncSocket::CAsyncSocket()
    : m_hSocket(INVALID_SOCKET), m_bInBlockingCall(FALSE), m_bHoldNotifications(FALSE), m_lEvent(0), m_nNotifyMsg(0),
      m_bClosePending(FALSE), m_dwBytesAtClose(0), m_held(), m_nHeld(0)
{
}

CAsyncSocket::~CAsyncSocket()
{
    if (m_hSocket != INVALID_SOCKET)
        CAsyncSocket::Close();
}

CAsyncSocket* PASCAL CAsyncSocket::FromHandle(SOCKET hSocket)
{
    if (t_pSockets == NULL)
        return NULL;
    auto it = t_pSockets->sockets.find(hSocket);
    return it == t_pSockets->sockets.end() ? NULL : it->second;
}

BOOL CAsyncSocket::Register(long lEvent)
{
    HWND hSink = SinkWindow();
    if (hSink == NULL) {
        SetLastError(WSAENOBUFS);
        return FALSE;
    }
    ThreadSockets& ts = CurrentThreadSockets();
    m_nNotifyMsg = ts.nNextMsg;
    ts.nNextMsg = ts.nNextMsg == kLastNotifyMsg ? kFirstNotifyMsg : ts.nNextMsg + 1;
    ts.sockets[m_hSocket] = this;
    m_lEvent = lEvent;
    m_bClosePending = FALSE;
    m_nHeld = 0;
    if (::WSAAsyncSelect(m_hSocket, hSink, m_nNotifyMsg, lEvent) == SOCKET_ERROR) {
        const int nError = GetLastError();
        Unregister();
        SetLastError(nError);
        return FALSE;
    }
    return TRUE;
}

void CAsyncSocket::Unregister()
{
    if (t_pSockets != NULL) {
        auto it = t_pSockets->sockets.find(m_hSocket);
        if (it != t_pSockets->sockets.end() && it->second == this) {
            if (t_pSockets->hWnd != NULL)
                ::WSAAsyncSelect(m_hSocket, t_pSockets->hWnd, 0, 0);
            t_pSockets->sockets.erase(it);
        }
    }
    m_nNotifyMsg = 0;
    m_lEvent = 0;
    m_bClosePending = FALSE;
    m_nHeld = 0;
}

BOOL CAsyncSocket::Create(UINT nSocketPort, int nSocketType, long lEvent, LPCTSTR lpszSocketAddress)
{
    if (m_hSocket != INVALID_SOCKET) {
        SetLastError(WSAEISCONN);
        return FALSE;
    }
    SOCKET hSocket = ::socket(AF_INET, nSocketType, 0);
    if (hSocket == INVALID_SOCKET)
        return FALSE;
    m_hSocket = hSocket;
    if (!Bind(nSocketPort, lpszSocketAddress) || !Register(lEvent)) {
        const int nError = GetLastError();
        ::closesocket(hSocket);
        m_hSocket = INVALID_SOCKET;
        SetLastError(nError);
        return FALSE;
    }
    return TRUE;
}

BOOL CAsyncSocket::Attach(SOCKET hSocket, long lEvent)
{
    if (hSocket == INVALID_SOCKET || m_hSocket != INVALID_SOCKET) {
        SetLastError(hSocket == INVALID_SOCKET ? WSAENOTSOCK : WSAEISCONN);
        return FALSE;
    }
    m_hSocket = hSocket;
    if (!Register(lEvent)) {
        m_hSocket = INVALID_SOCKET;
        return FALSE;
    }
    return TRUE;
}

SOCKET CAsyncSocket::Detach()
{
    SOCKET hSocket = m_hSocket;
    if (hSocket != INVALID_SOCKET)
        Unregister();
    m_hSocket = INVALID_SOCKET;
    return hSocket;
}

BOOL CAsyncSocket::Bind(UINT nSocketPort, LPCTSTR lpszSocketAddress)
{
    SOCKADDR_IN addr;
    if (!ResolveAddress(lpszSocketAddress, nSocketPort, &addr))
        return FALSE;
    return Bind((const SOCKADDR*)&addr, sizeof(addr));
}

BOOL CAsyncSocket::Bind(const SOCKADDR* lpSockAddr, int nSockAddrLen)
{
    return ::bind(m_hSocket, lpSockAddr, nSockAddrLen) != SOCKET_ERROR;
}

BOOL CAsyncSocket::Connect(LPCTSTR lpszHostAddress, UINT nHostPort)
{
    SOCKADDR_IN addr;
    if (lpszHostAddress == NULL || !ResolveAddress(lpszHostAddress, nHostPort, &addr)) {
        if (lpszHostAddress == NULL)
            SetLastError(WSAEINVAL);
        return FALSE;
    }
    return Connect((const SOCKADDR*)&addr, sizeof(addr));
}

BOOL CAsyncSocket::Connect(const SOCKADDR* lpSockAddr, int nSockAddrLen)
{
    return ::connect(m_hSocket, lpSockAddr, nSockAddrLen) != SOCKET_ERROR;
}

BOOL CAsyncSocket::Listen(int nConnectionBacklog)
{
    return ::listen(m_hSocket, nConnectionBacklog) != SOCKET_ERROR;
}

BOOL CAsyncSocket::ShutDown(int nHow)
{
    return ::shutdown(m_hSocket, nHow) != SOCKET_ERROR;
}

BOOL CAsyncSocket::AsyncSelect(long lEvent)
{
    if (m_hSocket == INVALID_SOCKET || m_nNotifyMsg == 0) {
        SetLastError(WSAENOTSOCK);
        return FALSE;
    }
    m_lEvent = lEvent;
    if (::WSAAsyncSelect(m_hSocket, SinkWindow(), m_nNotifyMsg, lEvent) == SOCKET_ERROR)
        return FALSE;
    // A close that waits for its data is looked at again now that the
    // reader is back.
    if (m_bClosePending && (lEvent & FD_CLOSE)) {
        m_dwBytesAtClose = MAXDWORD;
        AfxSocketNotifier::Post(this, FD_CLOSE, 0);
    }
    return TRUE;
}

BOOL CAsyncSocket::IOCtl(long lCommand, DWORD* lpArgument)
{
    u_long ulArgument = lpArgument != NULL ? *lpArgument : 0;
    if (::ioctlsocket(m_hSocket, lCommand, &ulArgument) == SOCKET_ERROR)
        return FALSE;
    if (lpArgument != NULL)
        *lpArgument = ulArgument;
    return TRUE;
}

BOOL CAsyncSocket::SetSockOpt(int nOptionName, const void* lpOptionValue, int nOptionLen, int nLevel)
{
    return ::setsockopt(m_hSocket, nLevel, nOptionName, (const char*)lpOptionValue, nOptionLen) != SOCKET_ERROR;
}

BOOL CAsyncSocket::GetSockOpt(int nOptionName, void* lpOptionValue, int* lpOptionLen, int nLevel)
{
    return ::getsockopt(m_hSocket, nLevel, nOptionName, (char*)lpOptionValue, lpOptionLen) != SOCKET_ERROR;
}

BOOL CAsyncSocket::GetSockName(SOCKADDR* lpSockAddr, int* lpSockAddrLen)
{
    return ::getsockname(m_hSocket, lpSockAddr, lpSockAddrLen) != SOCKET_ERROR;
}

BOOL CAsyncSocket::GetSockName(CString& rSocketAddress, UINT& rSocketPort)
{
    SOCKADDR_IN addr;
    int nLen = sizeof(addr);
    if (!GetSockName((SOCKADDR*)&addr, &nLen) || addr.sin_family != AF_INET)
        return FALSE;
    return AddressToText(addr, rSocketAddress, rSocketPort);
}

BOOL CAsyncSocket::GetPeerName(SOCKADDR* lpSockAddr, int* lpSockAddrLen)
{
    return ::getpeername(m_hSocket, lpSockAddr, lpSockAddrLen) != SOCKET_ERROR;
}

BOOL CAsyncSocket::GetPeerName(CString& rPeerAddress, UINT& rPeerPort)
{
    SOCKADDR_IN addr;
    int nLen = sizeof(addr);
    if (!GetPeerName((SOCKADDR*)&addr, &nLen) || addr.sin_family != AF_INET)
        return FALSE;
    return AddressToText(addr, rPeerAddress, rPeerPort);
}

BOOL CAsyncSocket::Accept(CAsyncSocket& rConnectedSocket, SOCKADDR* lpSockAddr, int* lpSockAddrLen)
{
    if (rConnectedSocket.m_hSocket != INVALID_SOCKET) {
        SetLastError(WSAEISCONN);
        return FALSE;
    }
    SOCKET hAccepted = ::accept(m_hSocket, lpSockAddr, lpSockAddrLen);
    if (hAccepted == INVALID_SOCKET)
        return FALSE;
    if (!rConnectedSocket.Attach(hAccepted)) {
        const int nError = GetLastError();
        ::closesocket(hAccepted);
        SetLastError(nError);
        return FALSE;
    }
    return TRUE;
}

void CAsyncSocket::Close()
{
    if (m_hSocket == INVALID_SOCKET)
        return;
    SOCKET hSocket = Detach();
    ::closesocket(hSocket);
}

int CAsyncSocket::Receive(void* lpBuf, int nBufLen, int nFlags)
{
    return ::recv(m_hSocket, (char*)lpBuf, nBufLen, nFlags);
}

int CAsyncSocket::Send(const void* lpBuf, int nBufLen, int nFlags)
{
    return ::send(m_hSocket, (const char*)lpBuf, nBufLen, nFlags);
}

void CAsyncSocket::ReleaseHeldNotifications()
{
    if (m_bHoldNotifications)
        return;   // the derived class releases them when its hold ends
    const int nHeld = m_nHeld;
    m_nHeld = 0;
    if (m_hSocket == INVALID_SOCKET || m_nNotifyMsg == 0)
        return;
    for (int i = 0; i < nHeld; i++)
        AfxSocketNotifier::Post(this, m_held[i].event, m_held[i].error);
}

BOOL CAsyncSocket::QueueNotification(int nEvent)
{
    if (m_hSocket == INVALID_SOCKET || m_nNotifyMsg == 0)
        return FALSE;
    AfxSocketNotifier::Post(this, nEvent, 0);
    return TRUE;
}

void CAsyncSocket::OnReceive(int)
{
}

void CAsyncSocket::OnSend(int)
{
}

void CAsyncSocket::OnOutOfBandData(int)
{
}

void CAsyncSocket::OnAccept(int)
{
}

void CAsyncSocket::OnConnect(int)
{
}

void CAsyncSocket::OnClose(int)
{
}
