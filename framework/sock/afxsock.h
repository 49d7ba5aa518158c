// afxsock.h - sockets layer of the application framework.
//
// Builds on afxwin.h and supplies:
//   - AfxSocketInit: starts Windows Sockets once per process
//   - CAsyncSocket: a non-blocking socket whose network events (read, write,
//     out-of-band data, accept, connect, close) arrive as virtual calls on the
//     thread that created or attached it
//   - CSocket: CAsyncSocket with blocking Send and Receive that keep the
//     thread's messages flowing while they wait
//
// How notifications arrive: each thread that owns sockets has one hidden
// message-only window (no display needed). WSAAsyncSelect posts the network
// events to it, and the thread's message loop (or any nested pump) hands
// them to the socket objects. A notification is delivered only to the object
// that asked for it: a socket handle reused after a close never receives the
// events of the old socket.
//
// A close by the peer is reported after the data that arrived before it has
// been read: while bytes remain in the socket, the close notification calls
// OnReceive first and OnClose follows once the data is gone (or once the
// reader stops taking it).
//
// While a CSocket is inside a blocking call, notifications for that socket
// are held back and delivered after the call returns, so that no handler
// runs on a socket in the middle of a blocking send.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include "afxwin.h"

// Every network event of a stream socket.
#define FD_ALL_EVENTS_OF_STREAM (FD_READ | FD_WRITE | FD_OOB | FD_ACCEPT | FD_CONNECT | FD_CLOSE)

// Starts Windows Sockets (version 1.1 asked) once per process; the sockets
// layer is stopped at process exit. FALSE when the start failed. lpwsaData,
// when given, receives the start-up record.
BOOL AFXAPI AfxSocketInit(WSADATA* lpwsaData = NULL);
// The highest version the sockets layer supports (major version in the low
// byte), as reported at start-up; 0 before AfxSocketInit succeeded.
WORD AFXAPI AfxSocketHighVersion();

class CAsyncSocket : public CObject
{
    DECLARE_DYNAMIC(CAsyncSocket)
public:
    CAsyncSocket();
    ~CAsyncSocket() override;                 // closes a socket it still holds

    SOCKET m_hSocket;                         // INVALID_SOCKET when none
    operator SOCKET() const { return m_hSocket; }

    // A new socket bound to the given port and address (any when NULL),
    // registered for the given events. FALSE on failure (GetLastError).
    BOOL Create(UINT nSocketPort = 0, int nSocketType = SOCK_STREAM,
                long lEvent = FD_ALL_EVENTS_OF_STREAM, LPCTSTR lpszSocketAddress = NULL);
    // Takes an open socket and registers it for the given events.
    BOOL Attach(SOCKET hSocket, long lEvent = FD_ALL_EVENTS_OF_STREAM);
    // Gives the socket up: no more notifications; the caller owns the handle.
    SOCKET Detach();
    // The object of this thread that holds the socket, or NULL.
    static CAsyncSocket* PASCAL FromHandle(SOCKET hSocket);

    BOOL Bind(UINT nSocketPort, LPCTSTR lpszSocketAddress = NULL);
    BOOL Bind(const SOCKADDR* lpSockAddr, int nSockAddrLen);
    // Starts connecting; FALSE with WSAEWOULDBLOCK while in progress (the
    // outcome arrives through OnConnect).
    BOOL Connect(LPCTSTR lpszHostAddress, UINT nHostPort);
    BOOL Connect(const SOCKADDR* lpSockAddr, int nSockAddrLen);
    BOOL Listen(int nConnectionBacklog = 5);
    BOOL ShutDown(int nHow = SD_SEND);

    // Notifications for the given events only (0 turns them all off).
    BOOL AsyncSelect(long lEvent = FD_ALL_EVENTS_OF_STREAM);
    long GetSelectedEvents() const { return m_lEvent; }
    BOOL IOCtl(long lCommand, DWORD* lpArgument);
    BOOL SetSockOpt(int nOptionName, const void* lpOptionValue, int nOptionLen, int nLevel = SOL_SOCKET);
    BOOL GetSockOpt(int nOptionName, void* lpOptionValue, int* lpOptionLen, int nLevel = SOL_SOCKET);
    BOOL GetSockName(SOCKADDR* lpSockAddr, int* lpSockAddrLen);
    BOOL GetSockName(CString& rSocketAddress, UINT& rSocketPort);
    BOOL GetPeerName(SOCKADDR* lpSockAddr, int* lpSockAddrLen);
    BOOL GetPeerName(CString& rPeerAddress, UINT& rPeerPort);

    static int PASCAL GetLastError() { return ::WSAGetLastError(); }
    static void PASCAL SetLastError(int nError) { ::WSASetLastError(nError); }

    // The overridable operations (the order of declaration is the order of
    // the class's operations).
    virtual BOOL Accept(CAsyncSocket& rConnectedSocket, SOCKADDR* lpSockAddr = NULL, int* lpSockAddrLen = NULL);
    virtual void Close();
    // SOCKET_ERROR on failure (GetLastError); 0 when the peer has closed.
    virtual int Receive(void* lpBuf, int nBufLen, int nFlags = 0);
    virtual int Send(const void* lpBuf, int nBufLen, int nFlags = 0);

protected:
    virtual void OnReceive(int nErrorCode);
    virtual void OnSend(int nErrorCode);
    virtual void OnOutOfBandData(int nErrorCode);
    virtual void OnAccept(int nErrorCode);
    virtual void OnConnect(int nErrorCode);
    virtual void OnClose(int nErrorCode);

    // TRUE while a blocking call of a derived class waits on this socket:
    // notifications are then held back.
    BOOL m_bInBlockingCall;
    // TRUE while a derived class reads the socket itself outside a blocking
    // call (a handshake): notifications are held back the same way until it
    // calls ReleaseHeldNotifications, or dropped if the socket closes first.
    BOOL m_bHoldNotifications;
    // Hands on the notifications held back during a blocking call.
    void ReleaseHeldNotifications();
    // Queues a notification of this attachment as the system would (it is
    // held back like the system's own); FALSE when the socket is not
    // registered. For a class that reads ahead of what it has handled.
    BOOL QueueNotification(int nEvent);
    // Bytes this object read from the socket and has not handled yet (0
    // here). A peer's close is reported only once these and the bytes the
    // socket holds are read, as they decrease with each read.
    virtual DWORD GetBytesReadAhead() const { return 0; }

private:
    friend struct AfxSocketNotifier;
    long m_lEvent;                            // events asked for
    UINT m_nNotifyMsg;                        // the sink's message for this attachment
    BOOL m_bClosePending;                     // the peer closed; data remains to be read
    DWORD m_dwBytesAtClose;                   // unread bytes when the close was last looked at
    struct HeldNotification
    {
        WORD event;
        WORD error;
    };
    HeldNotification m_held[8];
    int m_nHeld;

    BOOL Register(long lEvent);
    void Unregister();
};

class CSocket : public CAsyncSocket
{
    DECLARE_DYNAMIC(CSocket)
public:
    CSocket();
    ~CSocket() override;

    BOOL IsBlocking() const { return m_bInBlockingCall; }
    // Ends the blocking call in progress with WSAEINTR.
    void CancelBlockingCall() { m_bCancelBlocking = TRUE; }

    // Blocks until at least one byte arrived (or the peer closed, 0).
    // SOCKET_ERROR with WSAEINPROGRESS when another blocking call of this
    // socket is in progress.
    int Receive(void* lpBuf, int nBufLen, int nFlags = 0) override;
    // Blocks until every byte is sent; returns nBufLen or SOCKET_ERROR.
    int Send(const void* lpBuf, int nBufLen, int nFlags = 0) override;
    // The bytes that the last failed Send had sent before it failed (0 after
    // a Send that succeeded).
    int GetBytesSentBeforeFailure() const { return m_nSentBeforeFailure; }

protected:
    // One step of waiting inside a blocking call, taken each time the socket
    // is not ready. The default dispatches one queued message of the thread
    // (after the application's pre-translation) or, when there is none,
    // waits up to a millisecond for one. FALSE ends the blocking call; the
    // call then fails with the socket error set by the step (WSAEINTR when
    // none was set).
    virtual BOOL OnBlockingWait();

private:
    BOOL m_bCancelBlocking;
    int m_nSentBeforeFailure;
    // FALSE when the blocking call is to end (cancelled or the step said so).
    BOOL WaitWhileBlocking();
};

// Dispatches one queued message of the calling thread, pre-translated by the
// thread's application object when there is one. FALSE when the queue was
// empty. A WM_QUIT is put back for the outer loop and answers TRUE with
// *pbQuit set.
BOOL AFXAPI AfxPumpOneMessage(BOOL* pbQuit = NULL);
// Waits until a message is queued for the calling thread or dwMilliseconds
// have passed, whichever comes first.
void AFXAPI AfxWaitForMessage(DWORD dwMilliseconds);
