// The game connection: the client's one TCP connection to the game server.
//
// CGameSocket frames messages, expands compressed bodies, matches replies to
// the requests that wait for them, gates the delivery of messages while the
// user interface is busy, connects on a connect thread while the user
// interface keeps pumping messages, turns socket errors into message boxes,
// and handles the platform's system messages itself (OnMessage). The class
// chain is CGameSocket -> CQVSocket (the relay proxy) -> CGameClientSocket
// (the game's handler); the process holds one object of the last class.
//
// Everything runs on the user-interface thread except the connect thread.
// Messages are flat heap blocks (malloc/free): the header (8 bytes, or 12
// when bit 31 of the id is set) and the body.
//
// Boxes go through the connection's hooks when they are set (the game's own
// box style, and the tests, which answer them), else through the framework's
// AfxMessageBox. Each box is framed by StopReceive/StartReceive so that no
// message is dispatched under it.
#pragma once

#include "afxsock.h"

#include <cstdint>
#include <memory>
#include <string>

#include "MessageFrame.h"
#include "NetMessages.h"
#include "StreamTransform.h"
#include "proxy/SocksHandshake.h"

struct ConnectJob;
class CHttpTunnel;

// Box hooks: (text or string id, box flags, argument) -> the button pressed.
// The argument is the box's count-down in seconds (-1: none).
typedef int (*PFN_GAMESOCKET_TEXTBOX)(LPCSTR lpszText, UINT nFlags, int nArgument);
typedef int (*PFN_GAMESOCKET_MSGBOX)(UINT nStringId, UINT nFlags, int nArgument);
// The game window's text hook: receives the own trust-play state texts while
// the main window is visible; returns 0.
typedef int (*PFN_GAMESOCKET_NOTICE)(void* pContext, LPCSTR lpszText);

// What the connection needs of the game's windows and of the shell. The
// defaults drop notices, open addresses with the shell, ask queries with a
// plain box and have no chat control and no web notice window; the game (and
// the tests) put their own in with SetUiServices.
class CGameSocketUi
{
public:
    virtual ~CGameSocketUi() = default;
    // The notice sink of the game window (its chat or message area).
    virtual void AddNotice(LPCSTR lpszText);
    // Opens a web address (already checked to be http:// or https://).
    virtual void OpenAddress(LPCSTR lpszAddress);
    // The query dialog of message 0x230: the answer, and the entered text
    // when bWantsText is set.
    virtual int AskQuery(LPCSTR lpszText, UINT nStyle, UINT nArgument, BOOL bWantsText, CString& rAnswerText);
    // The web notice popup of message 0x249 (address checked as above). The
    // popup is made on first use and kept; CloseWebNotice destroys it when
    // the connection closes.
    virtual void ShowWebNotice(LPCSTR lpszTitle, LPCSTR lpszAddress, UINT nWidth, UINT nHeight);
    virtual void CloseWebNotice();
    // The game's chat control: TRUE when it is attached and its window exists.
    virtual BOOL HasChatControl() { return FALSE; }
    // Hands one end-of-hand wealth record and its value to the chat control.
    virtual void AddWealthRecord(const WealthRecord& record, uint32_t value);
};

// SendMsg's reply argument: wait for the reply without taking it.
#define GAMESOCKET_WAIT_NO_DATA ((void**)(INT_PTR)1)

class CGameSocket : public CSocket
{
    DECLARE_DYNAMIC(CGameSocket)
public:
    CGameSocket();
    ~CGameSocket() override;

    // ---- Hooks and settings ------------------------------------------------------------

    PFN_GAMESOCKET_TEXTBOX m_pfnTextBox;     // boxes with a text
    PFN_GAMESOCKET_MSGBOX m_pfnMessageBox;   // boxes by string id
    void SetBoxHooks(PFN_GAMESOCKET_TEXTBOX pfnText, PFN_GAMESOCKET_MSGBOX pfnId)
    {
        m_pfnTextBox = pfnText;
        m_pfnMessageBox = pfnId;
    }
    void SetNoticeHook(PFN_GAMESOCKET_NOTICE pfnNotice, void* pContext)
    {
        m_pfnNotice = pfnNotice;
        m_pNoticeContext = pContext;
    }
    // NULL puts the defaults back. The object stays the caller's.
    void SetUiServices(CGameSocketUi* pUi);

    // Whether errors are shown and a time-out asks the user (default 1);
    // the second flag (default 0) allows the time-out question alone.
    void SetAskFlags(BOOL bAsk, BOOL bAskTimeout = FALSE)
    {
        m_bAsk = bAsk;
        m_bAskTimeout = bAskTimeout;
    }
    // Seconds a wait may take before the user is asked; returns the old value.
    UINT SetTimeoutValue(UINT nSeconds);
    // A flag of the caller that ends every wait once it is nonzero; it is
    // cleared when installed (NULL removes it).
    void SetCancelFlag(volatile LONG* pCancelFlag);
    // Whether waits dispatch the thread's messages (default) or only sleep.
    void SetPumpWhileWaiting(BOOL bPump) { m_bPumpWhileWaiting = bPump; }
    void SetShowProgress(BOOL bShow) { m_bShowProgress = bShow; }
    // A port to connect to instead of the given one, and the value sent with
    // it in message 0x663 after connecting (port 0: none).
    void SetAlternatePort(UINT nPort, uint32_t dwValue);
    UINT GetAlternatePort() const { return m_nAlternatePort; }
    uint32_t GetAlternateValue() const { return m_dwAlternateValue; }
    // Whether the HTTP tunnel may be used when it is configured.
    void SetProxyOption(BOOL bAllowed) { m_bTunnelAllowed = bAllowed; }
    // The own user name (trust quit, the status record, end of game) and the
    // watched user's name (empty: the own one).
    void SetOwnUserName(LPCSTR lpszName);
    void SetWatchedUserName(LPCSTR lpszName);
    void EnableNotices(BOOL bEnable) { m_bNoticesEnabled = bEnable; }

    // ---- Connecting and sending ------------------------------------------------------

    // Connects to host:port on the connect thread while this thread waits
    // with the wait step. bAsk replaces the ask flag for the connect. 1 when
    // connected; 0 (after the error path) otherwise, and at once while
    // another connect is in progress.
    virtual BOOL Connect(LPCSTR lpszHost, UINT nPort, BOOL bAsk);
    // Sends a message (NULL: only waits) and, with ppReply, waits for the
    // reply: ppReply NULL = no wait; GAMESOCKET_WAIT_NO_DATA = wait for the
    // reply to arrive (it is dispatched as usual); a pointer = wait and
    // receive the reply there (the caller frees it with free()). dwAwaitedId
    // 0 waits for the request's id with bit 31 set. 1 on success.
    virtual BOOL SendMsg(const void* pMessage, void** ppReply = NULL, uint32_t dwAwaitedId = 0);
    // Sends a message with the given id and body (no wait).
    BOOL SendMsg(uint32_t dwId, const void* pBody, uint32_t nLength);

    void SendNotice201();
    // Sends the leave message (0x202, or 0x203), lets it go out, ends
    // sending, reads what the server still sends until it ends its side
    // (2 seconds at most) and closes.
    void LeaveAndClose(uint32_t dwLeaveId = netmsg::kLeave);
    void SendRequest208();
    // Message 0x174 straight through Send: kinds 1-4 set one of the flags.
    BOOL SendFlag174(int nKind, uint32_t dwValue);
    // Sends 0x21A with the own user name and waits for the reply, which it
    // handles like the server's own; returns the reply's result word (0 when
    // the request could not be made).
    uint32_t RequestTrustQuit();
    // "IdleSecond" of the platform's shared settings; 120 when missing.
    static DWORD GetIdleSecond();

    // ---- Receiving ----------------------------------------------------------------------

    // While receiving is stopped no message is read: the data stays in the
    // socket, and a notification that came meanwhile is replayed by
    // StartReceive.
    void StartReceive();
    void StopReceive();
    // The hold count: while above zero nothing is read. Resuming to zero
    // starts receiving again when it is not stopped.
    void SuspendReceive();
    void ResumeReceive();

    // ---- State --------------------------------------------------------------------------

    BOOL IsOpen() const { return m_hSocket != INVALID_SOCKET || m_bTunnelInUse; }
    // Receiving is started and not held.
    BOOL IsReceiving() const { return m_bReceiveEnabled && m_nHoldCount == 0; }
    BOOL GetState() const { return m_bTimedOut; }   // the last wait timed out or was cancelled
    int GetLastNetError() const { return m_nLastError; }
    // Bytes of the message being read and its whole size; FALSE while fewer
    // than 8 bytes are in.
    BOOL GetPendingSize(uint32_t* pFilled, uint32_t* pTotal) const;
    BOOL GetMayClose() const { return m_bMayClose; }
    BOOL IsConnectionLost() const { return m_bLost; }
    BOOL IsQuitting() const { return m_bQuitting; }
    // The result word of message 0x8000021C (bit 0: trust play allowed).
    uint32_t GetTrustPermission() const { return m_dwTrustPermission; }
    // The join's result word and whether its bit 31 was set.
    uint32_t GetJoinResult() const { return m_dwJoinResult; }
    BOOL GetJoinResultFlag() const { return m_bJoinResultFlag; }
    void SetJoinResult(uint32_t dwResult);
    const uint8_t* GetStatusRecord() const { return m_statusRecord; }
    const uint8_t* GetLastHeader() const { return m_lastHeader; }
    int GetStateCode() const { return m_nStateCode; }
    int GetDispatchDepth() const { return m_nDispatchDepth; }

    // ---- The overridable operations ----------------------------------------------------

    // Stops the connect thread, closes the socket and resets the state of
    // the connection (replies waiting, the partial message, the transforms);
    // the web notice popup is closed.
    void Close() override;
    // Reads; the receive transform runs over the bytes read.
    int Receive(void* lpBuf, int nBufLen, int nFlags = 0) override;
    // Sends every byte (blocking, with the wait step); the send transform
    // runs over a copy.
    int Send(const void* lpBuf, int nBufLen, int nFlags = 0) override;

    // The base dispatcher of the platform's system messages: TRUE when the
    // message was consumed here.
    virtual BOOL OnMessage(void* pMessage);
    // The connection is to be treated as gone (state code 6, error -1).
    virtual void OnCloseNotice(void* pMessage);
    virtual void OnPlayerOffline(void* pMessage);
    virtual void OnPlayerBack(void* pMessage);
    virtual void OnTrustStateNotice(void* pMessage);
    virtual void OnTrustQuitNotice(void* pMessage);
    virtual void OnConnectionLost();
    // Records (or removes) this process for the platform's switch window.
    virtual void RegisterProcess(BOOL bRegister);
    // The web notice popup of message 0x249.
    virtual void OnNoticePopup(void* pMessage);
    // Handles a trust-quit reply (message 0x8000021A).
    void OnTrustPlayerQuit(const void* pMessage);

protected:
    void OnReceive(int nErrorCode) override;
    void OnClose(int nErrorCode) override;
    DWORD GetBytesReadAhead() const override;
    BOOL OnBlockingWait() override;

    // One step of every wait: FALSE (with the error in m_nLastError) when the
    // wait must end. dwStartTick is restarted when the user wants to go on.
    BOOL WaitStep(DWORD& dwStartTick);
    // Reads exactly nLength bytes with the wait step (the proxy handshakes).
    BOOL ReadExact(void* lpBuf, int nLength);
    // The box for a socket error (only with the ask flag and no time-out).
    void ReportError(int nError);

    // Boxes and notices, each framed by StopReceive/StartReceive.
    int ShowTextBox(LPCSTR lpszText, UINT nFlags, int nArgument = -1);
    int ShowIdBox(UINT nStringId, UINT nFlags, int nArgument = -1);
    void ShowNotice(LPCSTR lpszText);
    // An own trust-play state text: the text hook, else a box.
    void ShowStateText(LPCSTR lpszText, UINT nFlags, int nArgument);
    // The main window (AfxGetMainWnd), or NULL.
    HWND MainWindow() const;

    // The connect path. These are the places where the proxies, the HTTP
    // tunnel and the relay join in: LoadProxySettings decides the proxy,
    // LookupAlternatePort the port rule of the platform, and
    // RunProxyHandshake talks to the proxy on the new socket.
    virtual void LoadProxySettings();
    virtual UINT LookupAlternatePort(UINT nPort);
    virtual BOOL RunProxyHandshake();
    // One SOCKS handshake on the attached socket (receiving stopped by the
    // caller): TRUE when the proxy connected us to the request's target.
    BOOL RunSocksHandshake(const SocksRequest& request);
    // For the relay's own connect: no proxy at all (the settings are not
    // read), and no alternative-port lookup.
    void SetProxySelectionNone(BOOL bNone) { m_bProxySelectionNone = bNone; }
    BOOL GetProxySelectionNone() const { return m_bProxySelectionNone; }
    void SetAlternatePortLookup(BOOL bLookup) { m_bAlternatePortLookup = bLookup; }
    BOOL GetAlternatePortLookup() const { return m_bAlternatePortLookup; }
    UINT GetTimeoutValue() const { return m_nTimeout; }
    void ClearLastError() { m_nLastError = 0; }
    BOOL IsCancelFlagSet() const { return m_pCancelFlag != NULL && *m_pCancelFlag != 0; }

    // Error and state of the connection.
    int m_nLastError;
    int m_nStateCode;
    BOOL m_bAsk;
    BOOL m_bAskTimeout;
    BOOL m_bTimedOut;
    BOOL m_bClosing;
    BOOL m_bMayClose;
    BOOL m_bLost;
    BOOL m_bQuitting;
    BOOL m_bShowProgress;
    BOOL m_bNoticesEnabled;
    BOOL m_bProxyEnabled;
    BOOL m_bTunnelInUse;
    BOOL m_bTunnelAllowed;
    // The proxy of the connect (filled by LoadProxySettings): host, port and
    // version 1 (HTTP), 4 or 5 (SOCKS); user name and password for SOCKS5.
    CString m_strProxyHost;
    UINT m_nProxyPort;
    UINT m_nProxyVersion;
    CString m_strProxyUser;
    CString m_strProxyPassword;
    CString m_strOwnUserName;
    CString m_strWatchedUserName;
    // The game server as the proxy handshake names it (the alternative port
    // when one is used).
    std::string m_strTargetHost;
    UINT m_nTargetPort;

private:
    struct ReplyWait
    {
        BOOL busy;
        uint32_t awaitedId;
        uint8_t* reply;       // the whole reply; the entry's until the waiter takes it
        BOOL arrived;
        BOOL wantsData;
        uint32_t serial;      // which wait holds the entry
    };

    void ResetReplyWaits();
    void ReleaseReplyWait(int nSlot);
    // TRUE when a waiter took the message (it is then the waiter's).
    BOOL OfferToWaiters(uint8_t*& pMessage);
    void DispatchMessage(uint8_t* pMessage);
    // A read notification for the next whole message of the inbox (or the
    // peer's close behind them), when one is due.
    void QueueNextRead();
    void ProcessMessage(uint8_t* pMessage, uint32_t nSize);
    void InstallTransforms(const void* pMessage);
    void PostCancelModeToMainChildren();
    void AbandonConnectJob();
    BOOL FinishConnect(SOCKET hSocket, UINT nRequestedPort);
    BOOL SendEmptyRequest(uint32_t dwId);
    // Sends a whole message through Send; a message cut off by a failure
    // closes the connection with the error.
    BOOL SendWholeMessage(const void* pMessage, int nLength);

    // System messages.
    void HandleEndOfGame(const void* pMessage);
    void HandleLeaveReply(const void* pMessage);
    void HandleTrustState(const void* pMessage);
    void HandleWealth(const void* pMessage);
    void HandleOpenAddress(const void* pMessage);
    void HandleQuery(const void* pMessage);
    void HandleLocalAddress();
    void HandleServerBox(const void* pMessage);
    void HandleStatusRecord(const void* pMessage);
    BOOL IsOwnUserName(LPCSTR lpszName) const;
    CString ConvertFromCodePage(const std::string& text, UINT nCodePage) const;

    PFN_GAMESOCKET_NOTICE m_pfnNotice;
    void* m_pNoticeContext;
    CGameSocketUi* m_pUi;

    uint8_t m_lastHeader[kMsgLongHeaderSize];
    uint32_t m_dwJoinResult;
    BOOL m_bJoinResultFlag;
    uint32_t m_dwTrustPermission;
    int m_nDispatchDepth;

    std::shared_ptr<ConnectJob> m_connectJob;
    BOOL m_bConnecting;
    BOOL m_bProxySelectionNone;
    BOOL m_bAlternatePortLookup;
    // The HTTP tunnel's connector while its legs carry the connection.
    std::shared_ptr<CHttpTunnel> m_tunnel;

    UINT m_nTimeout;
    volatile LONG* m_pCancelFlag;
    BOOL m_bPumpWhileWaiting;

    BOOL m_bReceiveEnabled;
    BOOL m_bReceivePending;
    int m_nHoldCount;

    ReplyWait m_replies[kReplyWaitSlots];
    uint32_t m_nNextWaitSerial;
    // What was read and not yet handled: one message is handled per read
    // notification, and while whole messages wait here this connection
    // queues the notification for the next one itself.
    CMessageInbox m_inbox;
    DWORD m_dwBlockingStartTick;   // start of the blocking send in progress
    BOOL m_bRequestOpen;           // a 0x100 or 0x200 request waits for its reply

    std::unique_ptr<CStreamTransform> m_sendTransform;
    std::unique_ptr<CStreamTransform> m_receiveTransform;

    BOOL m_bRegistered;
    uint8_t m_statusRecord[kStatusRecordSize];
    UINT m_nAlternatePort;
    uint32_t m_dwAlternateValue;
};

// Frees a message that the connection handed out (a reply).
inline void FreeNetMessage(void* pMessage) { free(pMessage); }

// The exit code of the process when a message handler lets an exception
// escape: the dispatch cannot go on, and the end must not look like success.
constexpr int kDispatchFaultExitCode = 3;
