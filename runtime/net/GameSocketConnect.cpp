// Connecting: the connect thread and the steps after it.
//
// The connect thread creates the socket, binds it, resolves the target and
// connects; the user-interface thread waits with the wait step meanwhile.
// The thread is never killed: a wait that ends early marks the job
// abandoned, and the thread closes its socket and ends by itself (it checks
// the mark every 100 ms while connecting). The job is shared, so it outlives
// whichever side finishes last.
//
// The way to the server is decided first (DecideConnectRoute): the HTTP
// tunnel, whose connector connects on the thread in place of the plain
// connect; a SOCKS proxy, connected to first and then asked for the server
// (RunProxyHandshake, on the user-interface thread once the socket is
// attached, with exact reads that keep waiting with the wait step); or the
// server itself.
#include "GameSocket.h"

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "app/GameEnvironment.h"
#include "proxy/HttpTunnel.h"
#include "proxy/ProxyRegistry.h"

struct ConnectJob
{
    std::string host;
    UINT port = 0;
    BOOL viaProxy = FALSE;
    // The HTTP tunnel: its connector's own connect replaces the plain one.
    std::shared_ptr<CHttpTunnel> tunnel;
    Ipv4Endpoint tunnelTarget;
    std::atomic<int> state{1};        // 1 connecting, 2 connected, 0 failed
    std::atomic<bool> abandoned{false};
    std::mutex lock;                  // guards socket and error with the two flags
    SOCKET socket = INVALID_SOCKET;
    int error = 0;
    HANDLE thread = NULL;
};

namespace {

// How long Close waits for an abandoned connect thread before it leaves it.
const DWORD kConnectThreadJoinMs = 2000;
const int kConnectPollMs = 100;

// Resolves a dotted address, else a host name. 0 or the socket error.
int ResolveTarget(const std::string& host, UINT port, SOCKADDR_IN& addr)
{
    memset(&addr, 0, sizeof(addr));
    addr.sin_family = AF_INET;
    addr.sin_port = htons((u_short)port);
    addr.sin_addr.s_addr = ::inet_addr(host.c_str());
    if (addr.sin_addr.s_addr != INADDR_NONE && !host.empty())
        return 0;
    hostent* pHost = ::gethostbyname(host.c_str());
    if (pHost == NULL || pHost->h_addrtype != AF_INET || pHost->h_addr_list[0] == NULL)
        return WSAHOST_NOT_FOUND;
    memcpy(&addr.sin_addr, pHost->h_addr_list[0], sizeof(addr.sin_addr));
    return 0;
}

// Connects without blocking so the abandon mark is seen; the socket is
// blocking again when it is handed over.
SOCKET ConnectSocket(ConnectJob& job, int& error)
{
    SOCKET hSocket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (hSocket == INVALID_SOCKET) {
        error = ::WSAGetLastError();
        return INVALID_SOCKET;
    }
    SOCKADDR_IN local;
    memset(&local, 0, sizeof(local));
    local.sin_family = AF_INET;
    SOCKADDR_IN target;
    u_long ulNonBlocking = 1;
    if (::bind(hSocket, (SOCKADDR*)&local, sizeof(local)) == SOCKET_ERROR ||
        ::ioctlsocket(hSocket, FIONBIO, &ulNonBlocking) == SOCKET_ERROR) {
        error = ::WSAGetLastError();
    } else if ((error = ResolveTarget(job.host, job.port, target)) == 0) {
        if (::connect(hSocket, (SOCKADDR*)&target, sizeof(target)) == SOCKET_ERROR &&
            ::WSAGetLastError() != WSAEWOULDBLOCK)
            error = ::WSAGetLastError();
        while (error == 0 && !job.abandoned) {
            fd_set writable, failed;
            FD_ZERO(&writable);
            FD_ZERO(&failed);
            FD_SET(hSocket, &writable);
            FD_SET(hSocket, &failed);
            timeval poll = {0, kConnectPollMs * 1000};
            const int nReady = ::select(0, NULL, &writable, &failed, &poll);
            if (nReady == SOCKET_ERROR) {
                error = ::WSAGetLastError();
            } else if (nReady > 0) {
                int nSocketError = 0;
                int nLength = sizeof(nSocketError);
                ::getsockopt(hSocket, SOL_SOCKET, SO_ERROR, (char*)&nSocketError, &nLength);
                if (FD_ISSET(hSocket, &failed) && nSocketError == 0)
                    nSocketError = WSAECONNREFUSED;
                error = nSocketError;
                break;
            }
        }
    }
    if (error == 0 && !job.abandoned) {
        u_long ulBlocking = 0;
        ::ioctlsocket(hSocket, FIONBIO, &ulBlocking);
        return hSocket;
    }
    ::closesocket(hSocket);
    return INVALID_SOCKET;
}

DWORD WINAPI ConnectThreadProc(LPVOID lpParameter)
{
    std::shared_ptr<ConnectJob> job = *static_cast<std::shared_ptr<ConnectJob>*>(lpParameter);
    delete static_cast<std::shared_ptr<ConnectJob>*>(lpParameter);
    int error = 0;
    SOCKET hSocket = INVALID_SOCKET;
    if (job->tunnel) {
        hSocket = job->tunnel->Connect(job->tunnelTarget, &job->abandoned);
        if (hSocket == INVALID_SOCKET)
            error = job->tunnel->LastError() != 0 ? job->tunnel->LastError() : kNetErrorProxyConnect;
    } else {
        hSocket = ConnectSocket(*job, error);
    }
    std::lock_guard<std::mutex> guard(job->lock);
    if (job->abandoned) {
        if (hSocket != INVALID_SOCKET)
            ::closesocket(hSocket);
        return 0;
    }
    job->socket = hSocket;
    job->error = job->viaProxy && error != 0 ? kNetErrorProxyConnect : error;
    job->state = hSocket != INVALID_SOCKET ? 2 : 0;
    return 0;
}

}  // namespace

void CGameSocket::AbandonConnectJob()
{
    std::shared_ptr<ConnectJob> job = std::move(m_connectJob);
    if (!job)
        return;
    {
        std::lock_guard<std::mutex> guard(job->lock);
        job->abandoned = true;
        if (job->socket != INVALID_SOCKET) {
            ::closesocket(job->socket);
            job->socket = INVALID_SOCKET;
        }
    }
    if (job->thread != NULL) {
        ::WaitForSingleObject(job->thread, kConnectThreadJoinMs);
        ::CloseHandle(job->thread);
        job->thread = NULL;
    }
}

void CGameSocket::LoadProxySettings()
{
    m_bProxyEnabled = FALSE;
    m_strProxyHost.Empty();
    m_nProxyPort = 0;
    m_nProxyVersion = 0;
    m_strProxyUser.Empty();
    m_strProxyPassword.Empty();
    if (m_bProxySelectionNone)
        return;
    CRegistryValueSource values(HKEY_CURRENT_USER, kProxySettingsKey);
    const SocksProxySettings settings = ReadSocksProxySettings(values);
    m_bProxyEnabled = settings.enabled;
    m_strProxyHost = settings.host.c_str();
    m_nProxyPort = settings.port;
    m_nProxyVersion = settings.version;
    m_strProxyUser = settings.user.c_str();
    m_strProxyPassword = settings.password.c_str();
}

UINT CGameSocket::LookupAlternatePort(UINT nPort)
{
    // The platform's port rule: the "P80Port" entry of the language file.
    const int nAlternate = GetLangRscPath((int)nPort);
    return nAlternate > 0 && nAlternate <= 0xFFFF ? (UINT)nAlternate : 0;
}

BOOL CGameSocket::RunProxyHandshake()
{
    SocksRequest request;
    request.version = int(m_nProxyVersion);
    request.host = m_strTargetHost;
    request.port = uint16_t(m_nTargetPort);
    request.user = (LPCSTR)m_strProxyUser;
    request.password = (LPCSTR)m_strProxyPassword;
    char szUser[257] = "";
    DWORD dwLength = sizeof(szUser);
    if (::GetUserNameA(szUser, &dwLength))
        request.localUser = szUser;
    return RunSocksHandshake(request);
}

BOOL CGameSocket::RunSocksHandshake(const SocksRequest& request)
{
    CSocksHandshake handshake(request);
    uint8_t reply[CSocksHandshake::kMaxReply];
    while (!handshake.Finished()) {
        const std::vector<uint8_t> outgoing = handshake.TakeOutgoing();
        if (!outgoing.empty() && Send(outgoing.data(), (int)outgoing.size()) == SOCKET_ERROR) {
            m_nLastError = GetLastError();
            return FALSE;
        }
        const size_t nWanted = handshake.BytesWanted();
        if (nWanted == 0 || nWanted > sizeof(reply) || !ReadExact(reply, (int)nWanted))
            return FALSE;
        handshake.Receive(reply, nWanted);
    }
    return handshake.Verdict() == SocksVerdict::kGranted;
}

BOOL CGameSocket::Connect(LPCSTR lpszHost, UINT nPort, BOOL bAsk)
{
    if (m_bConnecting)
        return FALSE;
    Close();
    // A receive stop or hold of the last connection is not this one's.
    m_bReceiveEnabled = TRUE;
    m_nHoldCount = 0;
    m_bConnecting = TRUE;
    LoadProxySettings();
    if (m_nAlternatePort == 0 && m_bAlternatePortLookup)
        m_nAlternatePort = LookupAlternatePort(nPort);
    const std::string host = lpszHost != NULL ? lpszHost : "";

    // Which way: the HTTP tunnel when it is configured and allowed, else the
    // SOCKS proxy, else directly.
    auto tunnel = std::make_shared<CHttpTunnel>();
    BOOL bTunnelEnabled = FALSE;
    TunnelConfig tunnelConfig = TunnelConfig::kNotConfigured;
    if (!m_bProxySelectionNone && tunnel->IsConfigured(&bTunnelEnabled))
        tunnelConfig = bTunnelEnabled ? TunnelConfig::kTunnel : TunnelConfig::kNoTunnel;
    SocksProxySettings socks;
    socks.enabled = m_bProxyEnabled != FALSE;
    socks.host = (LPCSTR)m_strProxyHost;
    socks.port = uint16_t(m_nProxyPort);
    socks.version = m_nProxyVersion;
    const ConnectRoute route = DecideConnectRoute(socks, tunnelConfig, m_bTunnelAllowed != FALSE, host,
                                                  uint16_t(nPort), uint16_t(m_nAlternatePort));
    if (route.proxySwitchedOff)
        m_bProxyEnabled = FALSE;
    m_strTargetHost = host;
    m_nTargetPort = route.targetPort;

    auto job = std::make_shared<ConnectJob>();
    job->host = route.host;
    job->port = route.port;
    job->viaProxy = route.way != ConnectWay::kDirect;
    if (route.way == ConnectWay::kTunnel) {
        if (!ResolveIpv4(host, job->tunnelTarget.address)) {
            m_bConnecting = FALSE;
            return FALSE;
        }
        job->tunnelTarget.port = route.targetPort;
        job->tunnel = tunnel;
    }
    const BOOL bSavedAsk = m_bAsk;
    m_bAsk = bAsk;
    m_bTimedOut = FALSE;

    BOOL bConnected = FALSE;
    auto* pThreadRef = new std::shared_ptr<ConnectJob>(job);
    DWORD dwThreadId = 0;
    job->thread = ::CreateThread(NULL, 0, ConnectThreadProc, pThreadRef, 0, &dwThreadId);
    if (job->thread == NULL) {
        delete pThreadRef;
        OnClose(kNetErrorNoBox);
    } else {
        m_connectJob = job;
        DWORD dwStart = ::GetTickCount();
        BOOL bWaitFailed = FALSE;
        while (job->state == 1 && !job->abandoned) {
            if (!WaitStep(dwStart)) {
                bWaitFailed = TRUE;
                break;
            }
        }
        if (job->abandoned) {
            // Closed by the program itself while connecting.
        } else if (bWaitFailed) {
            AbandonConnectJob();
            OnClose(m_nLastError);
        } else if (job->state == 0) {
            const int nError = job->error;
            AbandonConnectJob();
            OnClose(nError);
        } else {
            SOCKET hSocket;
            {
                std::lock_guard<std::mutex> guard(job->lock);
                hSocket = job->socket;
                job->socket = INVALID_SOCKET;
            }
            AbandonConnectJob();   // the thread has ended; this joins it
            if (job->tunnel && !job->tunnel->ConnectMode()) {
                // The GET leg is read as the connection's socket; sending
                // goes through the connector's POST leg.
                m_tunnel = job->tunnel;
                m_bTunnelInUse = TRUE;
            }
            bConnected = FinishConnect(hSocket, nPort);
        }
    }
    m_bConnecting = FALSE;
    m_bAsk = bSavedAsk;
    return bConnected;
}

BOOL CGameSocket::FinishConnect(SOCKET hSocket, UINT nRequestedPort)
{
    if (LOBYTE(AfxSocketHighVersion()) >= 2) {
        LINGER linger;
        linger.l_onoff = 1;
        linger.l_linger = 5;
        ::setsockopt(hSocket, SOL_SOCKET, SO_LINGER, (const char*)&linger, sizeof(linger));
    }
    if (!Attach(hSocket)) {
        const int nError = GetLastError();
        ::closesocket(hSocket);
        OnClose(nError);
        return FALSE;
    }
    if (m_bProxyEnabled && (m_nProxyVersion == 4 || m_nProxyVersion == 5)) {
        // The proxy's answers are not game messages: nothing is read as one
        // until the handshake is over. Its reads see a close themselves, so
        // the socket's notifications wait until it ends: a failed handshake
        // ends the connect once, and its socket's notifications go with it.
        StopReceive();
        m_bHoldNotifications = TRUE;
        const BOOL bShaken = RunProxyHandshake();
        m_bHoldNotifications = FALSE;
        StartReceive();
        if (!bShaken) {
            OnClose(m_bTimedOut ? m_nLastError : kNetErrorProxyRefused);
            return FALSE;
        }
        ReleaseHeldNotifications();
    }
    if (m_nAlternatePort != 0) {
        uint32_t body[2];
        WriteWireU32(&body[0], nRequestedPort);
        WriteWireU32(&body[1], m_dwAlternateValue);
        SendMsg(netmsg::kPortHeader, body, sizeof(body));
    }
    return TRUE;
}
