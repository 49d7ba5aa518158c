// The game connection: reading and framing, reply waits, the wait step,
// receive gating, sending, boxes and the close path.
#include "GameSocket.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <new>

#include "NetStrings.h"
#include "StringFunctions.h"
#include "proxy/HttpTunnel.h"

namespace {

const char kShareKey[] = "Software\\Quorvintel\\Game\\Share";
const DWORD kDefaultIdleSeconds = 120;
const UINT kDefaultTimeoutSeconds = 30;
// How long a leave waits for the server to end its side.
const DWORD kLeaveDrainMs = 2000;

CGameSocketUi g_defaultUi;

BOOL CALLBACK PostCancelModeProc(HWND hWnd, LPARAM)
{
    ::PostMessageA(hWnd, WM_CANCELMODE, 0, 0);
    return TRUE;
}

}  // namespace

/////////////////////////////////////////////////////////////////////////////
// CGameSocketUi defaults

void CGameSocketUi::AddNotice(LPCSTR)
{
}

void CGameSocketUi::OpenAddress(LPCSTR lpszAddress)
{
    ::ShellExecuteA(NULL, "open", lpszAddress, NULL, NULL, SW_SHOWNORMAL);
}

int CGameSocketUi::AskQuery(LPCSTR lpszText, UINT nStyle, UINT, BOOL, CString& rAnswerText)
{
    rAnswerText.Empty();
    return AfxMessageBox(lpszText, nStyle & 0x0FFF);
}

void CGameSocketUi::ShowWebNotice(LPCSTR, LPCSTR, UINT, UINT)
{
}

void CGameSocketUi::CloseWebNotice()
{
}

void CGameSocketUi::AddWealthRecord(const WealthRecord&, uint32_t)
{
}

/////////////////////////////////////////////////////////////////////////////
// Construction and settings

IMPLEMENT_DYNAMIC(CGameSocket, CSocket)

CGameSocket::CGameSocket()
    : m_pfnTextBox(NULL), m_pfnMessageBox(NULL), m_nLastError(kNetErrorInitial), m_nStateCode(0),
      m_bAsk(TRUE), m_bAskTimeout(FALSE), m_bTimedOut(FALSE), m_bClosing(FALSE), m_bMayClose(TRUE),
      m_bLost(FALSE), m_bQuitting(FALSE), m_bShowProgress(TRUE), m_bNoticesEnabled(TRUE),
      m_bProxyEnabled(FALSE), m_bTunnelInUse(FALSE), m_bTunnelAllowed(FALSE), m_nProxyPort(0),
      m_nProxyVersion(0), m_nTargetPort(0), m_pfnNotice(NULL), m_pNoticeContext(NULL), m_pUi(&g_defaultUi), m_lastHeader(),
      m_dwJoinResult(0), m_bJoinResultFlag(FALSE), m_dwTrustPermission(0), m_nDispatchDepth(0),
      m_bConnecting(FALSE), m_bProxySelectionNone(FALSE), m_bAlternatePortLookup(TRUE),
      m_nTimeout(kDefaultTimeoutSeconds), m_pCancelFlag(NULL),
      m_bPumpWhileWaiting(TRUE), m_bReceiveEnabled(TRUE), m_bReceivePending(FALSE), m_nHoldCount(0),
      m_replies(), m_nNextWaitSerial(0), m_dwBlockingStartTick(0), m_bRequestOpen(FALSE),
      m_bRegistered(FALSE), m_statusRecord(), m_nAlternatePort(0), m_dwAlternateValue(0)
{
}

CGameSocket::~CGameSocket()
{
    // The game's windows may be gone already (the process's connection is
    // destroyed at exit): the last close calls none of them.
    m_pUi = NULL;
    CGameSocket::Close();
}

void CGameSocket::SetUiServices(CGameSocketUi* pUi)
{
    m_pUi = pUi != NULL ? pUi : &g_defaultUi;
}

UINT CGameSocket::SetTimeoutValue(UINT nSeconds)
{
    const UINT nOld = m_nTimeout;
    m_nTimeout = nSeconds;
    return nOld;
}

void CGameSocket::SetCancelFlag(volatile LONG* pCancelFlag)
{
    m_pCancelFlag = pCancelFlag;
    if (pCancelFlag != NULL)
        *pCancelFlag = 0;
}

void CGameSocket::SetAlternatePort(UINT nPort, uint32_t dwValue)
{
    m_nAlternatePort = nPort;
    m_dwAlternateValue = dwValue;
}

void CGameSocket::SetOwnUserName(LPCSTR lpszName)
{
    m_strOwnUserName = lpszName != NULL ? lpszName : "";
}

void CGameSocket::SetWatchedUserName(LPCSTR lpszName)
{
    m_strWatchedUserName = lpszName != NULL ? lpszName : "";
}

void CGameSocket::SetJoinResult(uint32_t dwResult)
{
    m_dwJoinResult = dwResult;
    m_bJoinResultFlag = (dwResult & 0x80000000u) != 0;
}

BOOL CGameSocket::GetPendingSize(uint32_t* pFilled, uint32_t* pTotal) const
{
    return m_inbox.PendingSize(m_receiveTransform.get(), pFilled, pTotal) ? TRUE : FALSE;
}

DWORD CGameSocket::GetIdleSecond()
{
    DWORD dwSeconds = kDefaultIdleSeconds;
    HKEY hKey;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, kShareKey, 0, KEY_READ, &hKey) == ERROR_SUCCESS) {
        DWORD dwValue = 0, dwType = 0, dwSize = sizeof(dwValue);
        if (::RegQueryValueExA(hKey, "IdleSecond", NULL, &dwType, (BYTE*)&dwValue, &dwSize) == ERROR_SUCCESS &&
            dwType == REG_DWORD && dwSize == sizeof(dwValue))
            dwSeconds = dwValue;
        ::RegCloseKey(hKey);
    }
    return dwSeconds;
}

/////////////////////////////////////////////////////////////////////////////
// Closing

void CGameSocket::Close()
{
    const BOOL bWasClosing = m_bClosing;
    m_bClosing = TRUE;
    AbandonConnectJob();
    if (m_tunnel) {
        m_tunnel->Close();
        m_tunnel.reset();
    }
    m_bTunnelInUse = FALSE;
    if (m_hSocket != INVALID_SOCKET) {
        // The linger of the connect is for the leave (LeaveAndClose closes
        // blocking). Here the socket is non-blocking: with the linger on, a
        // close with data still queued would wait up to 5 seconds or fail and
        // leave the socket open; without it the system sends the data after
        // the close by itself.
        LINGER noLinger;
        noLinger.l_onoff = 0;
        noLinger.l_linger = 0;
        SetSockOpt(SO_LINGER, &noLinger, sizeof(noLinger));
    }
    CSocket::Close();
    ResetReplyWaits();
    m_inbox.Reset();
    m_sendTransform.reset();
    m_receiveTransform.reset();
    m_bProxyEnabled = FALSE;
    m_bReceivePending = FALSE;
    m_bRequestOpen = FALSE;
    m_bMayClose = TRUE;
    if (m_pUi != NULL)
        m_pUi->CloseWebNotice();
    m_bClosing = bWasClosing;
}

void CGameSocket::OnClose(int nErrorCode)
{
    if (m_bRegistered)
        RegisterProcess(FALSE);
    m_bMayClose = TRUE;
    m_nLastError = nErrorCode;
    if (!m_bClosing) {
        CSocket::OnClose(nErrorCode);
        Close();
        ReportError(nErrorCode);
    }
}

void CGameSocket::ReportError(int nError)
{
    if (!m_bAsk || m_bTimedOut)
        return;
    const UINT nStringId = ErrorStringIdOf(nError);
    if (nStringId != 0)
        ShowIdBox(nStringId, MB_ICONEXCLAMATION);
}

/////////////////////////////////////////////////////////////////////////////
// Reading

int CGameSocket::Receive(void* lpBuf, int nBufLen, int nFlags)
{
    // Never blocks: the callers wait with the wait step themselves.
    const int nRead = CAsyncSocket::Receive(lpBuf, nBufLen, nFlags);
    if (nRead > 0 && m_receiveTransform)
        m_receiveTransform->Apply(lpBuf, (uint32_t)nRead);
    return nRead;
}

DWORD CGameSocket::GetBytesReadAhead() const
{
    return m_inbox.Buffered();
}

void CGameSocket::OnReceive(int nErrorCode)
{
    m_nLastError = nErrorCode;
    if (nErrorCode != 0) {
        OnClose(nErrorCode);
        return;
    }
    if (!m_bReceiveEnabled || m_nHoldCount > 0) {
        // The data stays unhandled, and the socket stays quiet, until
        // receiving starts again.
        m_bReceivePending = TRUE;
        AsyncSelect(0);
        return;
    }
    if (m_hSocket == INVALID_SOCKET)
        return;
    // One message per notification: a whole one read before, or else one
    // read of whatever the socket holds (into the inbox, never more than
    // one call), and the first message it completes.
    uint8_t* pMessage = NULL;
    uint32_t nSize = 0;
    CMessageInbox::Result result = m_inbox.Cut(m_receiveTransform.get(), &pMessage, &nSize);
    const BOOL bRead = result == CMessageInbox::kNeedMore;
    if (bRead) {
        uint32_t nRoom = 0;
        uint8_t* pPlace = m_inbox.ReserveForRead(&nRoom);
        if (pPlace == NULL) {
            OnClose(kNetErrorNoBox);
            return;
        }
        const int nRead = CAsyncSocket::Receive(pPlace, (int)nRoom);
        if (nRead == 0) {
            OnClose(0);
            return;
        }
        if (nRead == SOCKET_ERROR) {
            const int nError = GetLastError();
            if (nError != WSAEWOULDBLOCK && nError != WSAEINPROGRESS)
                OnClose(nError);
            return;   // an empty socket: the read itself asked for the next notification
        }
        m_inbox.Commit((uint32_t)nRead);
        result = m_inbox.Cut(m_receiveTransform.get(), &pMessage, &nSize);
        if (result == CMessageInbox::kNeedMore)
            return;
    }
    if (result == CMessageInbox::kTooLong) {
        OnClose(kNetErrorBadMessage);
        return;
    }
    if (result == CMessageInbox::kNoMemory) {
        OnClose(kNetErrorNoBox);
        return;
    }
    // The next notification: for the next whole message waiting here, or,
    // when this one took a message without reading, for what the socket got
    // since (its own notification may have been spent on this message).
    if (!bRead || m_inbox.Peek(m_receiveTransform.get()) != CMessageInbox::kNeedMore)
        QueueNotification(FD_READ);
    ProcessMessage(pMessage, nSize);
}

void CGameSocket::QueueNextRead()
{
    if (m_hSocket != INVALID_SOCKET && m_inbox.Peek(m_receiveTransform.get()) != CMessageInbox::kNeedMore)
        QueueNotification(FD_READ);
}

void CGameSocket::ProcessMessage(uint8_t* pMessage, uint32_t nSize)
{
    const uint32_t id = MsgId(pMessage);
    memset(m_lastHeader, 0, sizeof(m_lastHeader));
    memcpy(m_lastHeader, pMessage, MsgHeaderSize(id));
    if (MsgIsCompressed(id)) {
        uint8_t* pExpanded = NULL;
        uint32_t nExpanded = 0;
        const ExpandResult result = ExpandNetMessage(pMessage, nSize, &pExpanded, &nExpanded);
        free(pMessage);
        if (result != ExpandResult::kExpanded) {
            OnClose(result == ExpandResult::kNoMemory ? kNetErrorNoBox : kNetErrorBadMessage);
            return;
        }
        pMessage = pExpanded;
    }
    if (OfferToWaiters(pMessage))
        return;
    DispatchMessage(pMessage);
}

BOOL CGameSocket::OfferToWaiters(uint8_t*& pMessage)
{
    const uint32_t id = MsgId(pMessage);
    for (ReplyWait& wait : m_replies) {
        if (!wait.busy || wait.awaitedId != id)
            continue;
        wait.arrived = TRUE;
        if (wait.wantsData) {
            free(wait.reply);
            wait.reply = pMessage;
            pMessage = NULL;
            return TRUE;
        }
    }
    return FALSE;
}

void CGameSocket::DispatchMessage(uint8_t* pMessage)
{
    m_nDispatchDepth++;
    try {
        OnMessage(pMessage);
    } catch (...) {
        // A handler failed half-way: the program's state is unknown, so it
        // ends here, with an exit code that says so.
        char szLine[96];
        snprintf(szLine, sizeof(szLine), "[CGameSocket] exception in the handler of message 0x%08X\n",
                 (unsigned)MsgId(pMessage));
        ::OutputDebugStringA(szLine);
        fputs(szLine, stderr);
        fflush(stderr);
        ::TerminateProcess(::GetCurrentProcess(), kDispatchFaultExitCode);
    }
    free(pMessage);
    m_nDispatchDepth--;
}

/////////////////////////////////////////////////////////////////////////////
// Receive gating

void CGameSocket::StartReceive()
{
    m_bReceiveEnabled = TRUE;
    if (m_nHoldCount > 0 || m_hSocket == INVALID_SOCKET)
        return;
    if (GetSelectedEvents() != FD_ALL_EVENTS_OF_STREAM)
        AsyncSelect();   // posts a read notification when data waits
    if (m_bReceivePending) {
        m_bReceivePending = FALSE;
        // Inside the handling of a message (a box it shows, the game's
        // handler) the next message must not overtake the rest of that
        // handling: it is left to the read notification that turning the
        // notifications on has queued (one is posted while data waits), or
        // that is queued here for a message read ahead.
        if (m_nDispatchDepth == 0)
            OnReceive(0);
        else
            QueueNextRead();
    }
}

void CGameSocket::StopReceive()
{
    // The notifications are turned off by the first one that comes while
    // stopped (OnReceive): most stops (a handler, a box) see none, and
    // switching the socket's notifications off and on costs a call into the
    // system each.
    m_bReceiveEnabled = FALSE;
}

void CGameSocket::SuspendReceive()
{
    m_nHoldCount++;
    if (m_hSocket != INVALID_SOCKET)
        AsyncSelect(0);
}

void CGameSocket::ResumeReceive()
{
    if (m_nHoldCount > 0)
        m_nHoldCount--;
    // Receiving that is stopped (a box is up, a handler runs) stays stopped:
    // its own StartReceive ends the stop.
    if (m_nHoldCount == 0 && m_bReceiveEnabled)
        StartReceive();
}

/////////////////////////////////////////////////////////////////////////////
// Waiting

BOOL CGameSocket::WaitStep(DWORD& dwStartTick)
{
    const DWORD dwElapsedSeconds = (::GetTickCount() - dwStartTick) / 1000;
    if (dwElapsedSeconds >= m_nTimeout) {
        if (!m_bAsk && !m_bAskTimeout) {
            m_nLastError = WSAETIMEDOUT;
            return FALSE;
        }
        if (ShowIdBox(IDS_NET_WAIT_LONGER, MB_YESNO | MB_ICONQUESTION) == IDYES) {
            dwStartTick = ::GetTickCount();
            return TRUE;
        }
        if (m_pCancelFlag != NULL)
            *m_pCancelFlag = 1;
        m_bTimedOut = TRUE;
        m_nLastError = WSAETIMEDOUT;
        return FALSE;
    }
    if (m_pCancelFlag != NULL && *m_pCancelFlag != 0) {
        m_bTimedOut = TRUE;
        m_nLastError = kNetErrorCancelled;
        return FALSE;
    }
    if (!m_bPumpWhileWaiting) {
        ::Sleep(10);
        return TRUE;
    }
    BOOL bQuit = FALSE;
    // An empty queue waits a millisecond, or less when a message comes.
    if (!AfxPumpOneMessage(&bQuit))
        AfxWaitForMessage(1);
    if (bQuit) {
        // The program is ending: the wait ends like a cancelled one.
        m_bTimedOut = TRUE;
        m_nLastError = kNetErrorCancelled;
        return FALSE;
    }
    return TRUE;
}

BOOL CGameSocket::OnBlockingWait()
{
    if (WaitStep(m_dwBlockingStartTick))
        return TRUE;
    SetLastError(m_nLastError);
    return FALSE;
}

BOOL CGameSocket::ReadExact(void* lpBuf, int nLength)
{
    const BOOL bWasEnabled = m_bReceiveEnabled;
    m_bReceiveEnabled = FALSE;
    char* pNext = static_cast<char*>(lpBuf);
    int nLeft = nLength;
    DWORD dwStart = ::GetTickCount();
    BOOL bDone = TRUE;
    // Bytes read ahead come first.
    if (nLeft > 0) {
        const uint32_t nTaken = m_inbox.Take(m_receiveTransform.get(), pNext, (uint32_t)nLeft);
        pNext += nTaken;
        nLeft -= (int)nTaken;
    }
    while (nLeft > 0) {
        if (!WaitStep(dwStart)) {
            bDone = FALSE;
            break;
        }
        const int nRead = Receive(pNext, nLeft);
        if (nRead == SOCKET_ERROR) {
            const int nError = GetLastError();
            if (nError == WSAEWOULDBLOCK || nError == WSAEINPROGRESS)
                continue;
            m_nLastError = nError;
            bDone = FALSE;
            break;
        }
        if (nRead == 0) {
            m_nLastError = WSAECONNRESET;
            bDone = FALSE;
            break;
        }
        pNext += nRead;
        nLeft -= nRead;
    }
    m_bReceiveEnabled = bWasEnabled;
    if (bWasEnabled && m_bReceivePending && m_nHoldCount == 0 && m_hSocket != INVALID_SOCKET) {
        // A notification came meanwhile: turning the notifications on again
        // brings the next one (no read here, where a handshake may go on).
        m_bReceivePending = FALSE;
        AsyncSelect();
        QueueNextRead();
    }
    return bDone;
}

/////////////////////////////////////////////////////////////////////////////
// Reply waits

void CGameSocket::ReleaseReplyWait(int nSlot)
{
    ReplyWait& wait = m_replies[nSlot];
    free(wait.reply);
    wait.reply = NULL;
    wait.busy = FALSE;
    wait.arrived = FALSE;
    wait.wantsData = FALSE;
    wait.awaitedId = 0;
}

void CGameSocket::ResetReplyWaits()
{
    for (int i = 0; i < kReplyWaitSlots; i++)
        ReleaseReplyWait(i);
}

/////////////////////////////////////////////////////////////////////////////
// Sending

int CGameSocket::Send(const void* lpBuf, int nBufLen, int nFlags)
{
    if (!m_bTunnelInUse && IsBlocking()) {
        // Another send of this connection is under way further out.
        SetLastError(WSAEINPROGRESS);
        return SOCKET_ERROR;
    }
    const void* pData = lpBuf;
    std::vector<uint8_t> transformed;
    if (m_sendTransform && nBufLen > 0) {
        transformed.assign(static_cast<const uint8_t*>(lpBuf), static_cast<const uint8_t*>(lpBuf) + nBufLen);
        m_sendTransform->Apply(transformed.data(), (uint32_t)nBufLen);
        pData = transformed.data();
    }
    m_dwBlockingStartTick = ::GetTickCount();
    if (m_bTunnelInUse) {
        // The tunnel's POST leg carries the client's bytes.
        if (!m_tunnel) {
            SetLastError(WSAENOTCONN);
            return SOCKET_ERROR;
        }
        const int nSent = m_tunnel->Send(pData, nBufLen);
        if (nSent == SOCKET_ERROR)
            SetLastError(m_tunnel->LastError());
        return nSent;
    }
    return CSocket::Send(pData, nBufLen, nFlags);
}

BOOL CGameSocket::SendWholeMessage(const void* pMessage, int nLength)
{
    if (Send(pMessage, nLength) != SOCKET_ERROR)
        return TRUE;
    m_nLastError = GetLastError();
    // Part of the message went out: whatever follows would be read as the
    // rest of it, so the connection cannot go on.
    if (GetBytesSentBeforeFailure() > 0 || m_bTunnelInUse)
        OnClose(m_nLastError);
    return FALSE;
}

BOOL CGameSocket::SendMsg(uint32_t dwId, const void* pBody, uint32_t nLength)
{
    const std::vector<uint8_t> message = BuildNetMessage(dwId, pBody, nLength);
    return SendMsg(message.data());
}

BOOL CGameSocket::SendMsg(const void* pMessage, void** ppReply, uint32_t dwAwaitedId)
{
    if (!IsOpen() || m_bRequestOpen)
        return FALSE;
    uint32_t id = 0;
    if (pMessage != NULL) {
        id = MsgId(pMessage);
        const uint64_t nTotal = MsgTotalSize(pMessage);
        if (nTotal > kMaxSentMessage) {
            ShowIdBox(IDS_NET_SEND_TOO_LONG, MB_ICONINFORMATION);
            return FALSE;
        }
        if (!SendWholeMessage(pMessage, (int)nTotal))
            return FALSE;
    }
    if (ppReply == NULL)
        return TRUE;
    if (pMessage == NULL && dwAwaitedId == 0)
        return FALSE;

    int nSlot = -1;
    for (int i = 0; i < kReplyWaitSlots && nSlot < 0; i++)
        if (!m_replies[i].busy)
            nSlot = i;
    if (nSlot < 0) {
        OnClose(m_nLastError);
        return FALSE;
    }
    ReleaseReplyWait(nSlot);
    const uint32_t nSerial = ++m_nNextWaitSerial;
    const BOOL bWantsData = ppReply != GAMESOCKET_WAIT_NO_DATA;
    ReplyWait& wait = m_replies[nSlot];
    wait.busy = TRUE;
    wait.awaitedId = dwAwaitedId != 0 ? dwAwaitedId : ReplyIdOf(id);
    wait.wantsData = bWantsData;
    wait.serial = nSerial;
    const BOOL bOpensRequest = pMessage != NULL && (id == netmsg::kRequest100 || id == netmsg::kJoin);
    if (bOpensRequest)
        m_bRequestOpen = TRUE;
    m_bTimedOut = FALSE;

    // Nested pumps may close or reset the connection under this wait; the
    // serial tells whether the entry is still this wait's.
    BOOL bArrived = FALSE, bWaitFailed = FALSE;
    DWORD dwStart = ::GetTickCount();
    for (;;) {
        const ReplyWait& mine = m_replies[nSlot];
        if (!mine.busy || mine.serial != nSerial || !IsOpen())
            break;
        if (mine.arrived) {
            bArrived = TRUE;
            break;
        }
        if (!WaitStep(dwStart)) {
            bWaitFailed = TRUE;
            break;
        }
    }
    uint8_t* pReply = NULL;
    if (m_replies[nSlot].busy && m_replies[nSlot].serial == nSerial) {
        pReply = m_replies[nSlot].reply;
        m_replies[nSlot].reply = NULL;
        ReleaseReplyWait(nSlot);
    }
    if (bOpensRequest)
        m_bRequestOpen = FALSE;
    if (bArrived) {
        if (bWantsData)
            *ppReply = pReply;
        else
            free(pReply);
        return TRUE;
    }
    free(pReply);
    if (bWaitFailed) {
        if (bWantsData)
            OnClose(m_nLastError);
        SetLastError(kNetErrorWaitFailed);
    }
    return FALSE;
}

BOOL CGameSocket::SendEmptyRequest(uint32_t dwId)
{
    if (m_hSocket == INVALID_SOCKET)
        return FALSE;
    return SendMsg(dwId, NULL, 0);
}

void CGameSocket::SendNotice201()
{
    SendEmptyRequest(netmsg::kKeepAlive);
}

void CGameSocket::SendRequest208()
{
    SendEmptyRequest(netmsg::kEmptyRequest208);
}

void CGameSocket::LeaveAndClose(uint32_t dwLeaveId)
{
    if (m_hSocket == INVALID_SOCKET)
        return;
    SendEmptyRequest(dwLeaveId);
    if (m_hSocket != INVALID_SOCKET) {
        if (LOBYTE(AfxSocketHighVersion()) >= 2) {
            // Blocking close: the lingering socket sends what is queued first.
            // Before it, sending ends and what the server still sends is read
            // until it ends its side too: a socket closed with data unread
            // resets the connection, and the server may then lose the leave
            // (its answer to it fails) instead of seeing the player go.
            // Through the tunnel this socket only receives: its sending leg
            // stays open until the server, which has the leave, ends the session.
            const BOOL bTunnel = m_bTunnelInUse;
            SOCKET hSocket = Detach();
            u_long ulBlocking = 0;
            ::ioctlsocket(hSocket, FIONBIO, &ulBlocking);
            if (!bTunnel)
                ::shutdown(hSocket, SD_SEND);
            const DWORD dwStart = ::GetTickCount();
            for (;;) {
                const DWORD dwElapsed = ::GetTickCount() - dwStart;
                if (dwElapsed >= kLeaveDrainMs)
                    break;
                const DWORD dwLeft = kLeaveDrainMs - dwElapsed;
                ::setsockopt(hSocket, SOL_SOCKET, SO_RCVTIMEO, (const char*)&dwLeft, sizeof(dwLeft));
                char drain[4096];
                if (::recv(hSocket, drain, sizeof(drain), 0) <= 0)
                    break;
            }
            ::closesocket(hSocket);
        } else {
            ::Sleep(2000);
        }
    }
    Close();
}

BOOL CGameSocket::SendFlag174(int nKind, uint32_t dwValue)
{
    if (m_hSocket == INVALID_SOCKET)
        return FALSE;
    Flags174Body body;
    memset(&body, 0, sizeof(body));
    WriteWireU32(&body.value, dwValue);
    static const int kFlagOfKind[] = {-1, 0, 1, 2, 4};
    if (nKind >= 1 && nKind <= 4)
        WriteWireU32(&body.flags[kFlagOfKind[nKind]], 1);
    const std::vector<uint8_t> message = BuildNetMessage(netmsg::kFlags174, &body, sizeof(body));
    return SendWholeMessage(message.data(), (int)message.size());
}

/////////////////////////////////////////////////////////////////////////////
// Boxes and notices

HWND CGameSocket::MainWindow() const
{
    return AfxGetMainWnd()->GetSafeHwnd();
}

void CGameSocket::PostCancelModeToMainChildren()
{
    HWND hMain = MainWindow();
    if (hMain != NULL)
        ::EnumChildWindows(hMain, PostCancelModeProc, 0);
}

int CGameSocket::ShowTextBox(LPCSTR lpszText, UINT nFlags, int nArgument)
{
    StopReceive();
    PostCancelModeToMainChildren();
    const int nAnswer = m_pfnTextBox != NULL ? m_pfnTextBox(lpszText, nFlags, nArgument)
                                             : AfxMessageBox(lpszText, nFlags);
    StartReceive();
    return nAnswer;
}

int CGameSocket::ShowIdBox(UINT nStringId, UINT nFlags, int nArgument)
{
    StopReceive();
    PostCancelModeToMainChildren();
    const int nAnswer = m_pfnMessageBox != NULL ? m_pfnMessageBox(nStringId, nFlags, nArgument)
                                                : AfxMessageBox(LoadNetString(nStringId), nFlags);
    StartReceive();
    return nAnswer;
}

void CGameSocket::ShowNotice(LPCSTR lpszText)
{
    StopReceive();
    m_pUi->AddNotice(lpszText);
    StartReceive();
}

void CGameSocket::ShowStateText(LPCSTR lpszText, UINT nFlags, int nArgument)
{
    if (m_pfnNotice == NULL) {
        ShowTextBox(lpszText, nFlags, nArgument);
        return;
    }
    StopReceive();
    m_pfnNotice(m_pNoticeContext, lpszText);
    StartReceive();
}

BOOL CGameSocket::IsOwnUserName(LPCSTR lpszName) const
{
    return m_strOwnUserName.CompareNoCase(lpszName) == 0;
}
