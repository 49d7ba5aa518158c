#include "HttpTunnel.h"

#include <cstring>

#include "ProxyRegistry.h"
#include "SocksHandshake.h"

namespace {

const long kPollSliceMs = 100;

}  // namespace

BOOL ResolveIpv4(const std::string& host, uint8_t address[4])
{
    if (host.empty())
        return FALSE;
    if (ParseDottedIPv4(host, address))
        return TRUE;
    hostent* pHost = ::gethostbyname(host.c_str());
    if (pHost == NULL || pHost->h_addrtype != AF_INET || pHost->h_length != 4 || pHost->h_addr_list[0] == NULL)
        return FALSE;
    memcpy(address, pHost->h_addr_list[0], 4);
    return TRUE;
}

CHttpTunnel::~CHttpTunnel()
{
    Close();
}

BOOL CHttpTunnel::IsConfigured(BOOL* pEnabled)
{
    CRegistryValueSource proxyKey(HKEY_CURRENT_USER, kProxySettingsKey);
    CRegistryValueSource browserKey(HKEY_CURRENT_USER, kBrowserSettingsKey);
    return Configure(ReadTunnelSettings(proxyKey, browserKey), pEnabled);
}

BOOL CHttpTunnel::Configure(const TunnelSettings& settings, BOOL* pEnabled)
{
    *pEnabled = FALSE;
    m_bUseProxy = FALSE;
    m_authLine.clear();
    if (settings.config == TunnelConfig::kNotConfigured)
        return FALSE;
    if (settings.config == TunnelConfig::kNoTunnel)
        return TRUE;
    if (!ResolveIpv4(settings.relayHost, m_relay.address))
        return FALSE;
    m_relay.port = settings.relayPort;
    if (settings.useProxy) {
        if (!ResolveIpv4(settings.proxyHost, m_proxy.address))
            return FALSE;
        m_proxy.port = settings.proxyPort;
        m_bUseProxy = TRUE;
    }
    m_authLine = settings.authLine;
    *pEnabled = TRUE;
    return TRUE;
}

void CHttpTunnel::Close()
{
    if (m_hPost != INVALID_SOCKET) {
        ::closesocket(m_hPost);
        m_hPost = INVALID_SOCKET;
    }
    m_bConnectMode = FALSE;
}

void CHttpTunnel::Fail(SOCKET& hSocket, int nError)
{
    if (hSocket != INVALID_SOCKET) {
        ::closesocket(hSocket);
        hSocket = INVALID_SOCKET;
    }
    m_nLastError = nError;
}

SOCKET CHttpTunnel::ConnectTo(const Ipv4Endpoint& endpoint)
{
    SOCKET hSocket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (hSocket == INVALID_SOCKET) {
        m_nLastError = ::WSAGetLastError();
        return INVALID_SOCKET;
    }
    SOCKADDR_IN target;
    memset(&target, 0, sizeof(target));
    target.sin_family = AF_INET;
    target.sin_port = htons(endpoint.port);
    memcpy(&target.sin_addr, endpoint.address, 4);
    u_long ulNonBlocking = 1;
    if (::ioctlsocket(hSocket, FIONBIO, &ulNonBlocking) == SOCKET_ERROR) {
        Fail(hSocket, ::WSAGetLastError());
        return INVALID_SOCKET;
    }
    if (::connect(hSocket, (SOCKADDR*)&target, sizeof(target)) == SOCKET_ERROR &&
        ::WSAGetLastError() != WSAEWOULDBLOCK) {
        Fail(hSocket, ::WSAGetLastError());
        return INVALID_SOCKET;
    }
    for (;;) {
        if (Abandoned()) {
            Fail(hSocket, WSAEINTR);
            return INVALID_SOCKET;
        }
        fd_set writable, failed;
        FD_ZERO(&writable);
        FD_ZERO(&failed);
        FD_SET(hSocket, &writable);
        FD_SET(hSocket, &failed);
        timeval poll = {0, kPollSliceMs * 1000};
        const int nReady = ::select(0, NULL, &writable, &failed, &poll);
        if (nReady == SOCKET_ERROR) {
            Fail(hSocket, ::WSAGetLastError());
            return INVALID_SOCKET;
        }
        if (nReady == 0)
            continue;
        int nSocketError = 0;
        int nLength = sizeof(nSocketError);
        ::getsockopt(hSocket, SOL_SOCKET, SO_ERROR, (char*)&nSocketError, &nLength);
        if (FD_ISSET(hSocket, &failed) && nSocketError == 0)
            nSocketError = WSAECONNREFUSED;
        if (nSocketError != 0) {
            Fail(hSocket, nSocketError);
            return INVALID_SOCKET;
        }
        break;
    }
    u_long ulBlocking = 0;
    ::ioctlsocket(hSocket, FIONBIO, &ulBlocking);
    return hSocket;
}

BOOL CHttpTunnel::SendAll(SOCKET hSocket, const std::string& text)
{
    size_t nSent = 0;
    while (nSent < text.size()) {
        const int n = ::send(hSocket, text.data() + nSent, int(text.size() - nSent), 0);
        if (n == SOCKET_ERROR) {
            m_nLastError = ::WSAGetLastError();
            return FALSE;
        }
        nSent += size_t(n);
    }
    return TRUE;
}

BOOL CHttpTunnel::ReadHead(SOCKET hSocket, std::string& head)
{
    CHttpHeadReader reader;
    char buffer[8];
    while (!reader.Complete() && !reader.Failed()) {
        // Wait for the next bytes: the head's time-out, in slices.
        DWORD dwWaited = 0;
        for (;;) {
            if (Abandoned()) {
                m_nLastError = WSAEINTR;
                return FALSE;
            }
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(hSocket, &readable);
            timeval poll = {0, kPollSliceMs * 1000};
            const int nReady = ::select(0, &readable, NULL, NULL, &poll);
            if (nReady == SOCKET_ERROR) {
                m_nLastError = ::WSAGetLastError();
                return FALSE;
            }
            if (nReady > 0)
                break;
            dwWaited += kPollSliceMs;
            if (dwWaited >= kHeadTimeoutMs) {
                m_nLastError = WSAETIMEDOUT;
                return FALSE;
            }
        }
        const size_t nWanted = reader.BytesWanted();
        const int n = ::recv(hSocket, buffer, int(nWanted), 0);
        if (n == SOCKET_ERROR) {
            m_nLastError = ::WSAGetLastError();
            return FALSE;
        }
        if (n == 0) {
            m_nLastError = WSAECONNRESET;
            return FALSE;
        }
        reader.Receive(buffer, size_t(n));
    }
    if (reader.Failed()) {
        m_nLastError = 0;   // an answer that is no HTTP head
        return FALSE;
    }
    head = reader.Head();
    return TRUE;
}

SOCKET CHttpTunnel::TryHttpConnect(CHttpTunnelExchange& exchange)
{
    SOCKET hSocket = ConnectTo(exchange.LegEndpoint());
    if (hSocket == INVALID_SOCKET)
        return INVALID_SOCKET;
    std::string head;
    if (SendAll(hSocket, exchange.ConnectRequest()) && ReadHead(hSocket, head) &&
        CHttpTunnelExchange::IsConnectAccepted(head))
        return hSocket;
    ::closesocket(hSocket);
    return INVALID_SOCKET;
}

SOCKET CHttpTunnel::OpenLegs(CHttpTunnelExchange& exchange)
{
    SOCKET hGet = INVALID_SOCKET;
    TunnelAnswer answer = TunnelAnswer::kFailed;
    do {
        hGet = ConnectTo(exchange.LegEndpoint());
        if (hGet == INVALID_SOCKET)
            return INVALID_SOCKET;
        if (!SendAll(hGet, exchange.GetRequest())) {
            Fail(hGet, m_nLastError);
            return INVALID_SOCKET;
        }
        do {
            std::string head;
            if (!ReadHead(hGet, head)) {
                Fail(hGet, m_nLastError);
                return INVALID_SOCKET;
            }
            answer = exchange.OnGetAnswer(head);
        } while (answer == TunnelAnswer::kContinue);
        if (answer != TunnelAnswer::kOpened)
            Fail(hGet, 0);
    } while (answer == TunnelAnswer::kRedirected && exchange.MayRetry());
    if (answer != TunnelAnswer::kOpened)
        return INVALID_SOCKET;
    m_relay = exchange.RelayEndpoint();   // where a redirect led

    SOCKET hPost = ConnectTo(exchange.LegEndpoint());
    if (hPost == INVALID_SOCKET || !SendAll(hPost, exchange.PostRequest())) {
        const int nError = m_nLastError;
        Fail(hPost, nError);
        Fail(hGet, nError);
        return INVALID_SOCKET;
    }
    m_hPost = hPost;
    return hGet;
}

SOCKET CHttpTunnel::Connect(const Ipv4Endpoint& target, const std::atomic<bool>* pAbandon)
{
    Close();
    m_pAbandon = pAbandon;
    m_nLastError = 0;
    CHttpTunnelExchange exchange(m_relay, m_bUseProxy ? &m_proxy : nullptr, m_authLine, target);
    SOCKET hSocket = INVALID_SOCKET;
    if (exchange.UsesProxy()) {
        hSocket = TryHttpConnect(exchange);
        if (hSocket != INVALID_SOCKET)
            m_bConnectMode = TRUE;
    }
    if (hSocket == INVALID_SOCKET && !Abandoned())
        hSocket = OpenLegs(exchange);
    m_pAbandon = nullptr;
    return hSocket;
}

int CHttpTunnel::Send(const void* lpBuf, int nLength)
{
    if (m_hPost == INVALID_SOCKET) {
        m_nLastError = WSAENOTCONN;
        return SOCKET_ERROR;
    }
    if (nLength <= 0)
        return 0;
    if (!SendAll(m_hPost, std::string(static_cast<const char*>(lpBuf), size_t(nLength))))
        return SOCKET_ERROR;
    return nLength;
}
