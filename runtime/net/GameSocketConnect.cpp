// Connecting: the connect thread and the steps after it.
//
// The connect thread creates the socket, binds it, resolves the target and
// connects; the user-interface thread waits with the wait step meanwhile.
// The thread is never killed: a wait that ends early marks the job
// abandoned, and the thread closes its socket and ends by itself (it checks
// the mark every 100 ms while connecting). The job is shared, so it outlives
// whichever side finishes last.
#include "GameSocket.h"

#include <atomic>
#include <mutex>
#include <string>

struct ConnectJob
{
    std::string host;
    UINT port = 0;
    BOOL viaProxy = FALSE;
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
    SOCKET hSocket = ConnectSocket(*job, error);
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
    // The direct connection: no proxy. SOCKS and HTTP proxies fill
    // m_bProxyEnabled and the m_strProxy... fields here.
    m_bProxyEnabled = FALSE;
    m_strProxyHost.Empty();
    m_nProxyPort = 0;
    m_nProxyVersion = 0;
}

UINT CGameSocket::LookupAlternatePort(UINT)
{
    // The platform's port rule gives a port here; none for now.
    return 0;
}

BOOL CGameSocket::RunProxyHandshake()
{
    return TRUE;
}

BOOL CGameSocket::Connect(LPCSTR lpszHost, UINT nPort, BOOL bAsk)
{
    if (m_bConnecting)
        return FALSE;
    Close();
    m_bConnecting = TRUE;
    LoadProxySettings();
    if (m_nAlternatePort == 0)
        m_nAlternatePort = LookupAlternatePort(nPort);
    // (The HTTP tunnel is asked here whether it is configured.)
    auto job = std::make_shared<ConnectJob>();
    if (m_bProxyEnabled && m_nProxyVersion != 1) {
        job->host = (LPCSTR)m_strProxyHost;
        job->port = m_nProxyPort;
        job->viaProxy = TRUE;
    } else {
        job->host = lpszHost != NULL ? lpszHost : "";
        job->port = m_nAlternatePort != 0 ? m_nAlternatePort : nPort;
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
        // until the handshake is over.
        StopReceive();
        const BOOL bShaken = RunProxyHandshake();
        StartReceive();
        if (!bShaken) {
            OnClose(m_bTimedOut ? m_nLastError : kNetErrorProxyRefused);
            return FALSE;
        }
    }
    if (m_nAlternatePort != 0) {
        uint32_t body[2];
        WriteWireU32(&body[0], nRequestedPort);
        WriteWireU32(&body[1], m_dwAlternateValue);
        SendMsg(netmsg::kPortHeader, body, sizeof(body));
    }
    return TRUE;
}
