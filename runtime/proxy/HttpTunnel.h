// CHttpTunnel: the HTTP tunnel and HTTP proxy connector of the game
// connection. Runs on the connection's connect thread with blocking
// sockets: HTTP CONNECT through the proxy when one is set and it accepts,
// else a GET leg (the server's bytes come in on it) and a POST leg (the
// client's bytes go out on it) to the relay's "/default.asp", through the
// proxy when one is set. The texts and the answers' reading are
// HttpTunnelText.h; the settings are ReadTunnelSettings.
//
// Every wait (connect, each head) is cut in slices of 100 ms so that an
// abandoned connect ends its thread promptly; heads time out after 60 s.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <string>

#include "HttpTunnelText.h"
#include "ProxySettings.h"

class CHttpTunnel
{
public:
    static constexpr DWORD kHeadTimeoutMs = 60000;

    CHttpTunnel() = default;
    ~CHttpTunnel();
    CHttpTunnel(const CHttpTunnel&) = delete;
    CHttpTunnel& operator=(const CHttpTunnel&) = delete;

    // Reads the settings (the proxy key and the browser's key of HKCU) and
    // resolves the relay and the proxy. FALSE when not configured; else
    // *pEnabled tells whether the tunnel is to be used.
    BOOL IsConfigured(BOOL* pEnabled);
    // The same from given settings (the relay and proxy hosts unresolved).
    BOOL Configure(const TunnelSettings& settings, BOOL* pEnabled);

    // Opens the tunnel to target: the socket to read from (blocking), or
    // INVALID_SOCKET with LastError(). The socket is the caller's. In
    // CONNECT mode it is the proxy's connection, which also carries the
    // client's bytes; otherwise it is the GET leg, and Send writes on the
    // POST leg, which stays the connector's. pAbandon ends every wait.
    SOCKET Connect(const Ipv4Endpoint& target, const std::atomic<bool>* pAbandon);
    // Sends every byte on the POST leg; the count or SOCKET_ERROR.
    int Send(const void* lpBuf, int nLength);
    // Closes the POST leg (and whatever a connect left open).
    void Close();

    BOOL ConnectMode() const { return m_bConnectMode; }
    int LastError() const { return m_nLastError; }
    const Ipv4Endpoint& Relay() const { return m_relay; }
    BOOL UsesProxy() const { return m_bUseProxy; }

private:
    SOCKET ConnectTo(const Ipv4Endpoint& endpoint);
    BOOL SendAll(SOCKET hSocket, const std::string& text);
    // Reads one answer head into head; FALSE on a time-out, a close or an error.
    BOOL ReadHead(SOCKET hSocket, std::string& head);
    BOOL Abandoned() const { return m_pAbandon != nullptr && m_pAbandon->load(); }
    void Fail(SOCKET& hSocket, int nError);
    SOCKET TryHttpConnect(CHttpTunnelExchange& exchange);
    SOCKET OpenLegs(CHttpTunnelExchange& exchange);

    Ipv4Endpoint m_relay;
    Ipv4Endpoint m_proxy;
    BOOL m_bUseProxy = FALSE;
    std::string m_authLine;
    SOCKET m_hPost = INVALID_SOCKET;
    BOOL m_bConnectMode = FALSE;
    int m_nLastError = 0;
    const std::atomic<bool>* m_pAbandon = nullptr;
};

// Resolves a dotted address, else a host name (IPv4). FALSE when it fails.
BOOL ResolveIpv4(const std::string& host, uint8_t address[4]);
