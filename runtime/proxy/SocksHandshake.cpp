#include "SocksHandshake.h"

namespace {

constexpr uint8_t kSocks4Version = 4;
constexpr uint8_t kSocks5Version = 5;
constexpr uint8_t kCommandConnect = 1;
constexpr uint8_t kSocks4Granted = 90;
constexpr uint8_t kMethodNone = 0x00;
constexpr uint8_t kMethodLogin = 0x02;
constexpr uint8_t kLoginVersion = 1;
constexpr uint8_t kTypeIPv4 = 1;
constexpr uint8_t kTypeName = 3;
constexpr uint8_t kTypeIPv6 = 4;
constexpr size_t kMaxLengthByte = 255;

bool HasZeroByte(const std::string& text)
{
    return text.find('\0') != std::string::npos;
}

void AppendText(std::vector<uint8_t>& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
}

void AppendPort(std::vector<uint8_t>& out, uint16_t port)
{
    out.push_back(uint8_t(port >> 8));
    out.push_back(uint8_t(port & 0xFF));
}

}  // namespace

bool ParseDottedIPv4(const std::string& text, uint8_t address[4])
{
    size_t at = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (at >= text.size() || text[at] != '.')
                return false;
            ++at;
        }
        unsigned value = 0;
        size_t digits = 0;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && digits < 4) {
            value = value * 10 + unsigned(text[at] - '0');
            ++at;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255)
            return false;
        address[part] = uint8_t(value);
    }
    return at == text.size();
}

const char* DescribeSocksVerdict(SocksVerdict verdict)
{
    switch (verdict) {
    case SocksVerdict::kInProgress: return "in progress";
    case SocksVerdict::kGranted: return "granted";
    case SocksVerdict::kRefused: return "refused";
    case SocksVerdict::kNoAcceptableMethod: return "no acceptable method";
    case SocksVerdict::kBadCredentials: return "user name or password refused";
    case SocksVerdict::kMalformed: return "malformed reply";
    case SocksVerdict::kCannotEncode: return "request cannot be encoded";
    }
    return "?";
}

std::vector<uint8_t> BuildSocks4Request(const std::string& host, uint16_t port, const std::string& localUser)
{
    if (host.empty() || HasZeroByte(host) || HasZeroByte(localUser))
        return {};
    uint8_t address[4];
    const bool dotted = ParseDottedIPv4(host, address);
    if (!dotted) {
        // SOCKS4a: 0.0.0.1 tells the proxy that the name follows the user id.
        address[0] = address[1] = address[2] = 0;
        address[3] = 1;
    }
    std::vector<uint8_t> out = {kSocks4Version, kCommandConnect};
    AppendPort(out, port);
    out.insert(out.end(), address, address + 4);
    AppendText(out, localUser);
    out.push_back(0);
    if (!dotted) {
        AppendText(out, host);
        out.push_back(0);
    }
    return out;
}

std::vector<uint8_t> BuildSocks5Greeting()
{
    return {kSocks5Version, 2, kMethodNone, kMethodLogin};
}

std::vector<uint8_t> BuildSocks5Login(const std::string& user, const std::string& password)
{
    if (user.size() > kMaxLengthByte || password.size() > kMaxLengthByte)
        return {};
    std::vector<uint8_t> out = {kLoginVersion, uint8_t(user.size())};
    AppendText(out, user);
    out.push_back(uint8_t(password.size()));
    AppendText(out, password);
    return out;
}

std::vector<uint8_t> BuildSocks5ConnectRequest(const std::string& host, uint16_t port)
{
    if (host.empty() || host.size() > kMaxLengthByte || HasZeroByte(host))
        return {};
    std::vector<uint8_t> out = {kSocks5Version, kCommandConnect, 0};
    uint8_t address[4];
    if (ParseDottedIPv4(host, address)) {
        out.push_back(kTypeIPv4);
        out.insert(out.end(), address, address + 4);
    } else {
        out.push_back(kTypeName);
        out.push_back(uint8_t(host.size()));
        AppendText(out, host);
    }
    AppendPort(out, port);
    return out;
}

// ---- CSocksHandshake ------------------------------------------------------------------

CSocksHandshake::CSocksHandshake(const SocksRequest& request) : m_request(request)
{
    if (request.version == 4)
        StartSocks4();
    else if (request.version == 5)
        StartSocks5();
    else
        Finish(SocksVerdict::kCannotEncode);
}

void CSocksHandshake::StartSocks4()
{
    m_outgoing = BuildSocks4Request(m_request.host, m_request.port, m_request.localUser);
    if (m_outgoing.empty())
        Finish(SocksVerdict::kCannotEncode);
    else
        Expect(Step::kSocks4Reply, 8);
}

void CSocksHandshake::StartSocks5()
{
    // Everything that will be sent is checked now, so that a request that
    // cannot be encoded fails before a byte goes out.
    if (BuildSocks5ConnectRequest(m_request.host, m_request.port).empty() ||
        BuildSocks5Login(m_request.user, m_request.password).empty()) {
        Finish(SocksVerdict::kCannotEncode);
        return;
    }
    m_outgoing = BuildSocks5Greeting();
    Expect(Step::kMethod, 2);
}

std::vector<uint8_t> CSocksHandshake::TakeOutgoing()
{
    std::vector<uint8_t> out;
    out.swap(m_outgoing);
    return out;
}

void CSocksHandshake::Expect(Step step, size_t count)
{
    m_step = step;
    m_nWanted = count;
}

void CSocksHandshake::Finish(SocksVerdict verdict)
{
    m_verdict = verdict;
    m_step = Step::kDone;
    m_nWanted = 0;
    if (verdict != SocksVerdict::kGranted)
        m_outgoing.clear();
}

void CSocksHandshake::QueueConnectRequest()
{
    const std::vector<uint8_t> request = BuildSocks5ConnectRequest(m_request.host, m_request.port);
    m_outgoing.insert(m_outgoing.end(), request.begin(), request.end());
    Expect(Step::kReplyHead, 4);
}

void CSocksHandshake::Receive(const uint8_t* data, size_t count)
{
    if (Finished() || count != m_nWanted || data == nullptr)
        return;
    switch (m_step) {
    case Step::kSocks4Reply:
        m_nReplyCode = data[1];
        Finish(data[1] == kSocks4Granted ? SocksVerdict::kGranted : SocksVerdict::kRefused);
        break;
    case Step::kMethod:
        OnMethod(data);
        break;
    case Step::kLoginReply:
        if (data[1] != 0) {
            m_nReplyCode = data[1];
            Finish(SocksVerdict::kBadCredentials);
        } else {
            QueueConnectRequest();
        }
        break;
    case Step::kReplyHead:
        OnReplyHead(data);
        break;
    case Step::kReplyNameLength:
        Expect(Step::kReplyRest, size_t(data[0]) + 2);
        break;
    case Step::kReplyRest:
        Finish(SocksVerdict::kGranted);
        break;
    case Step::kDone:
        break;
    }
}

void CSocksHandshake::OnMethod(const uint8_t* data)
{
    const uint8_t method = data[1];
    if (method == kMethodNone) {
        QueueConnectRequest();
    } else if (method == kMethodLogin) {
        m_outgoing = BuildSocks5Login(m_request.user, m_request.password);
        Expect(Step::kLoginReply, 2);
    } else {
        m_nReplyCode = method;
        Finish(SocksVerdict::kNoAcceptableMethod);
    }
}

void CSocksHandshake::OnReplyHead(const uint8_t* data)
{
    m_nReplyCode = data[1];
    if (data[1] != 0) {
        // Refused: the connection is closed, the rest of the reply does not matter.
        Finish(SocksVerdict::kRefused);
        return;
    }
    switch (data[3]) {
    case kTypeIPv4: Expect(Step::kReplyRest, 4 + 2); break;
    case kTypeIPv6: Expect(Step::kReplyRest, 16 + 2); break;
    case kTypeName: Expect(Step::kReplyNameLength, 1); break;
    default:
        // Its length is unknown, so the stream cannot be found after it.
        Finish(SocksVerdict::kMalformed);
        break;
    }
}
