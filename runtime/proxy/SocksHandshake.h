// The client's side of the SOCKS4, SOCKS4a and SOCKS5 handshakes, without
// sockets: what to send and how many bytes of reply to read next.
//
// The connection runs it on its new socket with blocking reads of an exact
// byte count, so it never reads a byte past the proxy's reply: whatever
// follows is already the game server's stream.
//
//   CSocksHandshake handshake(request);
//   while (!handshake.Finished()) {
//       send handshake.TakeOutgoing() (when not empty);
//       read exactly handshake.BytesWanted() bytes into buf;
//       handshake.Receive(buf, count);
//   }
//   handshake.Verdict() == SocksVerdict::kGranted -> the tunnel is open.
//
// SOCKS4:  04 01 port(BE) a.b.c.d user 00               -> 8 bytes, 2nd = 90
// SOCKS4a: 04 01 port(BE) 00 00 00 01 user 00 host 00   (host not dotted)
// SOCKS5:  05 02 00 02 -> 05 method
//          method 02: 01 ulen user plen pass -> 01 status (0 = good)
//          05 01 00 (01 a.b.c.d | 03 len host) port(BE)
//          -> 05 rep 00 atyp bound-address port: read by its address type
//             (4 bytes for IPv4, a length byte and a name, 16 for IPv6).
// The relay proxy speaks the same SOCKS5 with its own user and password.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// "a.b.c.d" with four decimal parts of 0-255 and nothing else.
bool ParseDottedIPv4(const std::string& text, uint8_t address[4]);

enum class SocksVerdict {
    kInProgress,
    kGranted,            // the proxy connected us to the target
    kRefused,            // SOCKS4 code other than 90, SOCKS5 reply other than 0
    kNoAcceptableMethod, // SOCKS5 method other than 0 or 2 (0xFF included)
    kBadCredentials,     // SOCKS5 login status other than 0
    kMalformed,          // SOCKS5 reply with an unknown bound-address type
    kCannotEncode,       // a name, user or password too long for its length byte, or a zero byte in a text
};

const char* DescribeSocksVerdict(SocksVerdict verdict);

struct SocksRequest {
    int version = 5;          // 4 (SOCKS4 or 4a by the host) or 5
    std::string host;         // the game server: dotted address or name
    uint16_t port = 0;        // its port (the alternative port when one is used)
    std::string user;         // SOCKS5 login (the proxy settings' or the relay's)
    std::string password;
    std::string localUser;    // SOCKS4 user id: the system's user name, may be empty
};

class CSocksHandshake
{
public:
    // Longest SOCKS5 reply: 4 + 1 + 255 + 2 bytes.
    static constexpr size_t kMaxReply = 262;

    explicit CSocksHandshake(const SocksRequest& request);

    // The bytes to send now; empty when nothing is due. Taking them clears them.
    std::vector<uint8_t> TakeOutgoing();
    // How many bytes to read next, exactly; 0 once finished.
    size_t BytesWanted() const { return m_nWanted; }
    // The bytes read (count == BytesWanted()).
    void Receive(const uint8_t* data, size_t count);

    bool Finished() const { return m_verdict != SocksVerdict::kInProgress; }
    SocksVerdict Verdict() const { return m_verdict; }
    // The SOCKS5 reply code or SOCKS4 status of a refusal (for logs).
    int ReplyCode() const { return m_nReplyCode; }

private:
    enum class Step {
        kSocks4Reply,
        kMethod,
        kLoginReply,
        kReplyHead,      // VER REP RSV ATYP
        kReplyNameLength,
        kReplyRest,      // bound address (rest) and port
        kDone,
    };

    void StartSocks4();
    void StartSocks5();
    void QueueConnectRequest();
    void Expect(Step step, size_t count);
    void Finish(SocksVerdict verdict);
    void OnMethod(const uint8_t* data);
    void OnReplyHead(const uint8_t* data);

    SocksRequest m_request;
    std::vector<uint8_t> m_outgoing;
    Step m_step = Step::kDone;
    size_t m_nWanted = 0;
    SocksVerdict m_verdict = SocksVerdict::kInProgress;
    int m_nReplyCode = -1;
};

// The request bytes alone (for tests and logs): SOCKS4/4a request, SOCKS5
// greeting, login and connect request. Empty when they cannot be encoded.
std::vector<uint8_t> BuildSocks4Request(const std::string& host, uint16_t port, const std::string& localUser);
std::vector<uint8_t> BuildSocks5Greeting();
std::vector<uint8_t> BuildSocks5Login(const std::string& user, const std::string& password);
std::vector<uint8_t> BuildSocks5ConnectRequest(const std::string& host, uint16_t port);
