// The proxies through the connection itself: the proxy's answers (below),
// and cancelling a connect while a proxy's handshake waits for its answer:
// through SOCKS4, SOCKS5, HTTP CONNECT, the HTTP tunnel's GET leg and the
// relay's SOCKS5 exchange. The proxy is a silent listener (connections are
// taken by the system and never answered); the caller's cancel flag is set
// from a timer while the connect waits. The connect must end at once, with
// no box, with no thread left and with every socket it opened closed.
#include "NetTestSupport.h"

#include <tlhelp32.h>

#include <cstdio>
#include <string>

#include "proxy/ProxyRegistry.h"
#include "NetStrings.h"
#include "proxy/RelaySettings.h"

namespace {

const char kShareKey[] = "Software\\Quorvintel\\Game\\Share";
const DWORD kCancelAfterMs = 300;

volatile LONG g_cancel = 0;

void CALLBACK SetCancel(HWND, UINT, UINT_PTR id, DWORD)
{
    ::KillTimer(NULL, id);
    g_cancel = 1;
}

int ThreadsOfThisProcess()
{
    HANDLE hSnapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return -1;
    THREADENTRY32 entry;
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = ::Thread32First(hSnapshot, &entry); more; more = ::Thread32Next(hSnapshot, &entry))
        if (entry.th32OwnerProcessID == ::GetCurrentProcessId())
            count++;
    ::CloseHandle(hSnapshot);
    return count;
}

// Accepts nothing until asked: the system completes the connects, and
// nobody answers.
class CSilentProxy
{
public:
    CSilentProxy()
    {
        m_listener = ListenOnLoopback(8, &m_port);
    }
    ~CSilentProxy() { ::closesocket(m_listener); }
    UINT Port() const { return m_port; }

    // Takes every connection made so far; true when each one was closed by
    // the client (within the time).
    bool AllClosedByClient(int& accepted, DWORD timeoutMs = 3000)
    {
        accepted = 0;
        bool allClosed = true;
        for (;;) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(m_listener, &readable);
            timeval none = {0, 0};
            if (::select(0, &readable, NULL, NULL, &none) <= 0)
                break;
            SOCKET hPeer = ::accept(m_listener, NULL, NULL);
            if (hPeer == INVALID_SOCKET)
                break;
            accepted++;
            allClosed = ClosedByClient(hPeer, timeoutMs) && allClosed;
            ::closesocket(hPeer);
        }
        return allClosed;
    }

private:
    static bool ClosedByClient(SOCKET hPeer, DWORD timeoutMs)
    {
        const DWORD start = ::GetTickCount();
        char buffer[512];
        while (::GetTickCount() - start < timeoutMs) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(hPeer, &readable);
            timeval slice = {0, 50 * 1000};
            if (::select(0, &readable, NULL, NULL, &slice) <= 0)
                continue;
            const int n = ::recv(hPeer, buffer, sizeof(buffer), 0);   // the greeting, then the end
            if (n <= 0)
                return true;
        }
        return false;
    }

    SOCKET m_listener = INVALID_SOCKET;
    UINT m_port = 0;
};

struct CancelCase {
    const char* name;
    void (*configure)(CPrivateUserKey& key, UINT silentPort, const std::string& folder);
};

// The server marked for the relay, which is the silent proxy.
void Relay(CPrivateUserKey& key, UINT port, const std::string& folder)
{
    ::CreateDirectoryA(folder.c_str(), NULL);
    key.String(kShareKey, "Path", folder);
    CPrivateProfileStore language(folder + kRelayLanguageFile);
    CPrivateProfileStore settingsFile(folder + kRelaySettingsFile);
    language.WriteString("TavryProxy", "Port", std::to_string(port));
    language.WriteString("TavryProxy", "TavryUser", "tavry");
    language.WriteString("TavryProxy", "TavryPwd", "pw");
    language.WriteString("TavryProxy", "1", "127.0.0.1;9");
    CRelaySettings settings(language, settingsFile);
    settings.MarkServer("127.0.0.1", 9, true);
}

const CancelCase kCases[] = {
    {"Socks4", [](CPrivateUserKey& k, UINT p, const std::string&) { WriteSocksSettings(k, p, 4); }},
    {"Socks5", [](CPrivateUserKey& k, UINT p, const std::string&) { WriteSocksSettings(k, p, 5); }},
    {"HttpConnect", [](CPrivateUserKey& k, UINT p, const std::string&) { WriteTunnelSettings(k, 2, 9, p); }},
    {"TunnelGetLeg", [](CPrivateUserKey& k, UINT p, const std::string&) { WriteTunnelSettings(k, 0, p, 0); }},
    {"RelaySocks5", [](CPrivateUserKey& k, UINT p, const std::string& folder) { Relay(k, p, folder); }},
};

class CancelDuringHandshake : public testing::TestWithParam<CancelCase>
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(AfxSocketInit());
        char temp[MAX_PATH];
        ::GetTempPathA(MAX_PATH, temp);
        char folder[MAX_PATH + 64];
        snprintf(folder, sizeof(folder), "%smardavel-cancel-%lu\\", temp, ::GetCurrentProcessId());
        m_folder = folder;
    }
    void TearDown() override
    {
        for (const char* file : {kRelayLanguageFile, kRelaySettingsFile, kRelayLogFile})
            ::DeleteFileA((m_folder + file).c_str());
        ::RemoveDirectoryA(m_folder.c_str());
    }

    std::string m_folder;
};

}  // namespace

TEST_P(CancelDuringHandshake, EndsAtOnceWithoutABoxOrALeftover)
{
    CPrivateUserKey userKey;
    ASSERT_TRUE(userKey.Overridden());
    CSilentProxy proxy;
    GetParam().configure(userKey, proxy.Port(), m_folder);
    const int threadsBefore = ThreadsOfThisProcess();
    {
        CTestConnection conn;
        g_boxes.Clear();
        g_boxes.Attach(conn);
        conn.SetCancelFlag(&g_cancel);
        ::SetTimer(NULL, 0, kCancelAfterMs, &SetCancel);
        const DWORD start = ::GetTickCount();
        EXPECT_FALSE(conn.Connect("127.0.0.1", 9, TRUE));
        const DWORD elapsed = ::GetTickCount() - start;
        EXPECT_EQ(g_cancel, 1);
        EXPECT_LT(elapsed, kCancelAfterMs + 10000) << "the connect went on after the cancel";
        EXPECT_FALSE(conn.IsOpen());
        EXPECT_TRUE(g_boxes.calls.empty()) << "box " << g_boxes.calls[0].stringId;
        conn.SetCancelFlag(NULL);
    }
    int accepted = 0;
    EXPECT_TRUE(proxy.AllClosedByClient(accepted));
    EXPECT_GE(accepted, 1);
    EXPECT_TRUE(PumpUntil([&] { return ThreadsOfThisProcess() <= threadsBefore; }, 3000))
        << ThreadsOfThisProcess() << " threads, " << threadsBefore << " before";
}

INSTANTIATE_TEST_SUITE_P(Ways, CancelDuringHandshake, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<CancelCase>& info) { return info.param.name; });

// ---- The proxy's answers through the connection ---------------------------------------------
//
// A scripted proxy answers each of the client's sends with the next reply
// of its script; then the game server's first message follows on the same
// stream. A refusal of any kind ends the connect with the proxy box; a
// grant, whatever form its bound address takes, leaves the stream at the
// game server's first byte.

namespace {

class CScriptedProxy
{
public:
    CScriptedProxy(std::vector<std::vector<uint8_t>> replies, bool closeAfter, std::vector<uint8_t> thenBytes)
        : m_replies(std::move(replies)), m_closeAfter(closeAfter), m_then(std::move(thenBytes))
    {
        m_listener = ListenOnLoopback(1, &m_port);
        m_thread = std::thread([this] { Run(); });
    }
    ~CScriptedProxy()
    {
        ::closesocket(m_listener);   // ends a waiting accept
        m_stop = true;
        m_thread.join();
        if (m_peer != INVALID_SOCKET)
            ::closesocket(m_peer);
    }
    UINT Port() const { return m_port; }

private:
    void Run()
    {
        m_peer = ::accept(m_listener, NULL, NULL);
        if (m_peer == INVALID_SOCKET)
            return;
        char buffer[1024];
        for (const std::vector<uint8_t>& reply : m_replies) {
            if (::recv(m_peer, buffer, sizeof(buffer), 0) <= 0)
                return;
            ::send(m_peer, reinterpret_cast<const char*>(reply.data()), (int)reply.size(), 0);
        }
        if (m_closeAfter) {
            ::shutdown(m_peer, SD_SEND);
            return;
        }
        if (!m_then.empty())
            ::send(m_peer, reinterpret_cast<const char*>(m_then.data()), (int)m_then.size(), 0);
        while (!m_stop)
            ::Sleep(10);
    }

    std::vector<std::vector<uint8_t>> m_replies;
    bool m_closeAfter;
    std::vector<uint8_t> m_then;
    SOCKET m_listener = INVALID_SOCKET;
    SOCKET m_peer = INVALID_SOCKET;
    UINT m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
};

struct ReplyCase {
    const char* name;
    DWORD version;
    std::vector<std::vector<uint8_t>> replies;
    bool closeAfter;
    bool granted;
};

const std::vector<uint8_t> kSocks5Login = {5, 2};
const std::vector<uint8_t> kLoginGood = {1, 0};
std::vector<uint8_t> Socks5Reply(uint8_t code, uint8_t type, size_t addressBytes)
{
    std::vector<uint8_t> reply = {5, code, 0, type};
    if (type == 3)
        reply.push_back(uint8_t(addressBytes));
    reply.insert(reply.end(), addressBytes, 'a');
    reply.push_back(0x1F);
    reply.push_back(0x90);
    return reply;
}

const ReplyCase kReplies[] = {
    {"Socks4Granted", 4, {{0, 90, 0, 0, 0, 0, 0, 0}}, false, true},
    {"Socks4Refused", 4, {{0, 91, 0, 0, 0, 0, 0, 0}}, false, false},
    {"Socks4ShortThenClose", 4, {{0, 90, 0}}, true, false},
    {"Socks5BoundIpv4", 5, {kSocks5Login, kLoginGood, Socks5Reply(0, 1, 4)}, false, true},
    {"Socks5BoundName", 5, {kSocks5Login, kLoginGood, Socks5Reply(0, 3, 9)}, false, true},
    {"Socks5BoundIpv6", 5, {kSocks5Login, kLoginGood, Socks5Reply(0, 4, 16)}, false, true},
    {"Socks5NoLogin", 5, {{5, 0}, Socks5Reply(0, 1, 4)}, false, true},
    {"Socks5NoAcceptableMethod", 5, {{5, 0xFF}}, false, false},
    {"Socks5BadCredentials", 5, {kSocks5Login, {1, 1}}, false, false},
    {"Socks5Refused", 5, {kSocks5Login, kLoginGood, Socks5Reply(5, 1, 4)}, false, false},
    {"Socks5UnknownAddressType", 5, {kSocks5Login, kLoginGood, {5, 0, 0, 7, 0, 0}}, false, false},
    {"Socks5ShortThenClose", 5, {kSocks5Login, kLoginGood, {5, 0, 0, 1, 127}}, true, false},
};

class ProxyReplies : public testing::TestWithParam<ReplyCase>
{
};

}  // namespace

TEST_P(ProxyReplies, GrantLeavesTheGameStreamRefusalShowsTheProxyBox)
{
    ASSERT_TRUE(AfxSocketInit());
    const ReplyCase& c = GetParam();
    const std::vector<uint8_t> first = WireMessage(0x26001, Bytes("hello"));
    CScriptedProxy proxy(c.replies, c.closeAfter, first);
    CPrivateUserKey userKey;
    ASSERT_TRUE(userKey.Overridden());
    WriteSocksSettings(userKey, proxy.Port(), c.version);
    userKey.String(kProxyKey, "UserName", "alice");
    userKey.String(kProxyKey, "Password", "secret");

    CTestConnection conn;
    CHandlerRecorder handler;
    g_boxes.Clear();
    g_boxes.Attach(conn);
    handler.Attach(conn);
    const BOOL bConnected = conn.Connect("game.example", 4001, TRUE);
    EXPECT_EQ(bConnected != FALSE, c.granted);
    if (c.granted) {
        EXPECT_TRUE(g_boxes.calls.empty());
        ASSERT_TRUE(PumpUntil([&] { return !handler.MessageIds().empty(); }));
        EXPECT_EQ(handler.MessageIds()[0], 0x26001u);
    } else {
        ASSERT_EQ(g_boxes.calls.size(), 1u) << g_boxes.Describe();
        EXPECT_EQ(g_boxes.calls[0].stringId, (UINT)IDS_NET_PROXY_REFUSED);
        EXPECT_EQ(conn.GetLastNetError(), kNetErrorProxyRefused);
        EXPECT_FALSE(conn.IsOpen());
    }
}

INSTANTIATE_TEST_SUITE_P(Socks, ProxyReplies, testing::ValuesIn(kReplies),
                         [](const testing::TestParamInfo<ReplyCase>& info) { return info.param.name; });
