// End to end against the table server stand-in: the connection joins the
// table with 0x200, reads the player list of the reply, and a test handler
// with the board's player side plays a whole hand through it, once for
// every way the connection can go: directly, through SOCKS4, SOCKS4a,
// SOCKS5 with a login, HTTP CONNECT, the HTTP tunnel (on its own and
// through an HTTP proxy).
//
// The server and the proxy stand-ins run as native programs beside Wine;
// run_with_tableserver.sh and run_with_proxies.sh start them and name their
// ports in MARDAVEL_<NAME>_PORT. Each way is one ctest entry (a gtest
// filter), so a way's stand-ins are started for it alone. A stand-in sends
// every connection to the table server (--target), so the proxy ways
// connect to a closed port: only the proxy can make that connect succeed.
//
// The proxy settings are written under a key of this process that stands
// in for HKEY_CURRENT_USER (RegOverridePredefKey), so parallel tests never
// see them.
#include "NetTestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "BoardInterface.h"
#include "MardavelState.h"
#include "NetStrings.h"
#include "SimpleSeatMove.h"
#include "proxy/ProxyRegistry.h"
#include "proxy/RelayDecision.h"

namespace {

// A port nothing listens on (the discard service).
constexpr UINT kClosedPort = 9;

const char kShareKey[] = "Software\\Quorvintel\\Game\\Share";

struct WayPorts {
    UINT standin;   // the way's stand-in
    UINT server;    // the table server
};

// One way to the table server: the stand-in it needs, its settings, and
// how the relay layer must have decided.
struct ConnectWayCase {
    const char* name;
    const char* standinPort;   // MARDAVEL_<NAME>_PORT of its stand-in, or nullptr (direct)
    const char* host;          // the host the client connects to
    void (*configure)(CPrivateUserKey& key, const WayPorts& ports);
    bool toServerPort;         // connect to the server's own port, not the closed one
    uint32_t connType;         // the relay layer's connection type afterwards
    bool viaRelay;
};

// The relay's files in a folder of this process, named as the install
// path: the relay on relayPort with its user and password, its list naming
// serverPort, the server marked for it, and the log on.
std::string RelayFolder()
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    char folder[MAX_PATH + 64];
    snprintf(folder, sizeof(folder), "%smardavel-relay-%lu\\", temp, ::GetCurrentProcessId());
    return folder;
}

void RelaySettingsFiles(CPrivateUserKey& key, UINT relayPort, UINT serverPort, bool markServer = true)
{
    const std::string folder = RelayFolder();
    ::CreateDirectoryA(folder.c_str(), NULL);
    key.String(kShareKey, "Path", folder.substr(0, folder.size() - 1));   // without the backslash
    CPrivateProfileStore language(folder + kRelayLanguageFile);
    CPrivateProfileStore settingsFile(folder + kRelaySettingsFile);
    language.WriteString("TavryProxy", "Port", std::to_string(relayPort));
    language.WriteString("TavryProxy", "TavryUser", "tavry");
    language.WriteString("TavryProxy", "TavryPwd", "pw");
    language.WriteString("TavryProxy", "1", "127.0.0.1;" + std::to_string(serverPort));
    settingsFile.WriteString("Debug", "log", "1");
    settingsFile.WriteString("Debug", "gstick", "1");
    CRelaySettings settings(language, settingsFile);
    settings.MarkServer("127.0.0.1", serverPort, markServer);
}

bool IsServerMarked(UINT serverPort)
{
    const std::string folder = RelayFolder();
    CPrivateProfileStore language(folder + kRelayLanguageFile);
    CPrivateProfileStore settingsFile(folder + kRelaySettingsFile);
    CRelaySettings settings(language, settingsFile);
    return settings.IsServerMarked("127.0.0.1", serverPort);
}

void RemoveRelayFiles()
{
    const std::string folder = RelayFolder();
    for (const char* file : {kRelayLanguageFile, kRelaySettingsFile, kRelayLogFile})
        ::DeleteFileA((folder + file).c_str());
    ::RemoveDirectoryA(folder.c_str());
}

std::string ReadFileText(const std::string& path)
{
    std::string text;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof(buffer), f)) > 0)
            text.append(buffer, n);
        fclose(f);
    }
    return text;
}

// The way's stand-in as the SOCKS proxy.
void SocksSettings(CPrivateUserKey& key, const WayPorts& ports, DWORD version)
{
    WriteSocksSettings(key, ports.standin, version);
}

// The tunnel's relay; type 2 with a proxy port names the HTTP proxy and its login.
void TunnelWaySettings(CPrivateUserKey& key, DWORD type, UINT relayPort, UINT proxyPort)
{
    WriteTunnelSettings(key, type, relayPort, proxyPort, "bob", "pw");
}

UINT EnvPort(const char* name)
{
    const char* text = name != nullptr ? getenv(name) : nullptr;
    return text != nullptr ? (UINT)atoi(text) : 0;
}

const ConnectWayCase kWays[] = {
    {"Direct", nullptr, "127.0.0.1", nullptr, true, kConnNoRelayForPort, false},
    {"Socks4", "MARDAVEL_SOCKS_PORT", "127.0.0.1",
     [](CPrivateUserKey& k, const WayPorts& p) { SocksSettings(k, p, 4); }, false, kConnOtherProxy, false},
    // Not a dotted address: SOCKS4a sends the name.
    {"Socks4a", "MARDAVEL_SOCKS_PORT", "localhost",
     [](CPrivateUserKey& k, const WayPorts& p) { SocksSettings(k, p, 4); }, false, kConnOtherProxy, false},
    {"Socks5Login", "MARDAVEL_SOCKS_PORT", "localhost",
     [](CPrivateUserKey& k, const WayPorts& p) {
         SocksSettings(k, p, 5);
         k.String(kProxyKey, "UserName", "alice");
         k.String(kProxyKey, "Password", "secret");
     },
     false, kConnOtherProxy, false},
    // The relay named is never reached: the proxy takes CONNECT.
    {"HttpConnect", "MARDAVEL_HTTP_PORT", "127.0.0.1",
     [](CPrivateUserKey& k, const WayPorts& p) { TunnelWaySettings(k, 2, kClosedPort, p.standin); }, false,
     kConnOtherProxy, false},
    {"Tunnel", "MARDAVEL_TUNNEL_PORT", "127.0.0.1",
     [](CPrivateUserKey& k, const WayPorts& p) { TunnelWaySettings(k, 0, p.standin, 0); }, false, kConnOtherProxy,
     false},
    // The proxy refuses CONNECT: the tunnel's legs go through it.
    {"TunnelViaProxy", "MARDAVEL_HTTP_PORT", "127.0.0.1",
     [](CPrivateUserKey& k, const WayPorts& p) {
         TunnelWaySettings(k, 2, EnvPort("MARDAVEL_TUNNEL_PORT"), p.standin);
     },
     false, kConnOtherProxy, false},
    // The server is marked for the relay: SOCKS5 with the relay's login.
    {"Relay", "MARDAVEL_RELAY_PORT", "127.0.0.1",
     [](CPrivateUserKey& k, const WayPorts& p) { RelaySettingsFiles(k, p.standin, kClosedPort); }, false,
     kConnMarked, true},
    // The relay refuses the SOCKS5 request: back to the direct way.
    {"RelayRefused", "MARDAVEL_RELAY_PORT", "127.0.0.1",
     [](CPrivateUserKey& k, const WayPorts& p) { RelaySettingsFiles(k, p.standin, p.server); }, true,
     kConnSocksFailed, false},
};

constexpr uint32_t kCbTableRefresh = 10000;
constexpr int kSeats = 5;
constexpr uint16_t kOwnChair = 2;
const char kUser[] = "carol";

// One player record of the join reply.
struct JoinPlayer {
    uint32_t chairAndCodePage;
    char userName[20];
    char nickname[20];
    uint32_t value;
};
static_assert(sizeof(JoinPlayer) == 48, "join player record is 48 bytes");

std::vector<uint8_t> JoinBody(const char* user, uint16_t chair)
{
    std::vector<uint8_t> body(108, 0);
    memcpy(body.data(), user, strlen(user));
    body[102] = uint8_t(chair);
    body[103] = uint8_t(chair >> 8);
    body[104] = 3;
    return body;
}

// The game handler of the test: hands every game message to the board and
// answers the own turns the simple way (ready, take the emperor's place,
// hidden protection, lead the lowest card, otherwise pass). When the board
// asks to hold further messages, reading is suspended and a timer resumes
// it, as the table window does (a tenth of the time, to keep the test short).
class CBoardHandler
{
public:
    explicit CBoardHandler(CGameSocket& socket) : m_socket(socket)
    {
        s_current = this;
        m_board = QVBoardCreate(kBoardModePlayer, &CBoardHandler::Callback, reinterpret_cast<uintptr_t>(this), 0,
                                nullptr);
        BoardPlayerRecord identity;
        memset(&identity, 0, sizeof(identity));
        memcpy(identity.userName, kUser, sizeof(kUser));
        identity.seat = uint8_t(kOwnChair);
        QVBoardEvent(m_board, kEvOwnIdentity, 0, 0, &identity);
        QVBoardEvent(m_board, kEvTableState, 0, 0, &m_state);
    }
    ~CBoardHandler()
    {
        QVBoardDestory(m_board);
        s_current = nullptr;
    }

    bool Ready() const { return m_board != nullptr && m_state != nullptr; }
    static int Handler(void* pContext, void* pData, uint32_t dwCode)
    {
        auto* self = static_cast<CBoardHandler*>(pContext);
        if (dwCode == kHandlerConnectionClosed) {
            self->closed = true;
            return 0;
        }
        if (dwCode == kHandlerTrustState || dwCode == kHandlerTrustQuit)
            return 0;
        self->ids.push_back(dwCode);
        self->receivingStopped = self->receivingStopped && !self->m_socket.IsReceiving();
        if (self->m_holding)
            self->deliveredWhileHeld++;
        if (dwCode == kMsgScore && MsgBodyLength(pData) >= 4 * kSeats) {
            self->scores++;
            for (int seat = 0; seat < kSeats; ++seat)
                self->scoreSum += int32_t(ReadWireU32(MsgBody(pData) + 4 * seat));
        }
        QVBoardEvent(self->m_board, kEvGameMessage, -1, -1, pData);
        self->m_applied++;
        self->Act();
        return 0;
    }

    std::vector<uint32_t> ids;
    std::vector<uint32_t> sent;
    int scores = 0;
    int64_t scoreSum = 0;
    bool closed = false;
    bool receivingStopped = true;
    int holds = 0;
    int deliveredWhileHeld = 0;
    bool Holding() const { return m_holding; }

private:
    static int32_t QVBOARD_CALL Callback(BoardCallbackRecord* record)
    {
        auto* self = reinterpret_cast<CBoardHandler*>(record->cookie);
        switch (record->code) {
        case kCbSendReferee: {
            const void* message = reinterpret_cast<const void*>(record->p1);
            self->sent.push_back(MsgId(message));
            self->m_socket.SendMsg(message);
            break;
        }
        case kCbTableRefresh:
            // During the play, word 9 says whether the seat to act can only
            // pass: the referee passes for it then.
            self->m_mustPass = record->userId == 1;
            break;
        case kCbHoldMessages:
            if (record->p1 > 0 && !self->m_holding) {
                self->m_holding = true;
                self->holds++;
                self->m_socket.SuspendReceive();
                ::SetTimer(NULL, 0, UINT(std::max<intptr_t>(record->p1 / 10, 1)), &CBoardHandler::EndHold);
            }
            break;
        default:
            break;
        }
        return 1;
    }

    static void CALLBACK EndHold(HWND, UINT, UINT_PTR id, DWORD)
    {
        ::KillTimer(NULL, id);
        if (s_current != nullptr && s_current->m_holding) {
            s_current->m_holding = false;
            s_current->m_socket.ResumeReceive();
        }
    }

    void Act()
    {
        if (!m_state || m_actedAt == m_applied)
            return;
        const int32_t event = SimpleSeatMove(*m_state, kOwnChair, m_mustPass);
        if (event == 0)
            return;
        m_actedAt = m_applied;
        QVBoardEvent(m_board, event, -1, -1, nullptr);
    }

    static CBoardHandler* s_current;
    CGameSocket& m_socket;
    BoardHandle m_board = nullptr;
    BoardGameState* m_state = nullptr;
    bool m_mustPass = false;
    bool m_holding = false;
    uint64_t m_applied = 0;
    uint64_t m_actedAt = ~uint64_t(0);
};
CBoardHandler* CBoardHandler::s_current = nullptr;

}  // namespace

class EndToEnd : public testing::TestWithParam<ConnectWayCase>
{
};

TEST_P(EndToEnd, JoinsTheTableAndPlaysAWholeHand)
{
    const ConnectWayCase& way = GetParam();
    const UINT serverPort = EnvPort("MARDAVEL_TABLESERVER_PORT");
    if (serverPort == 0)
        FAIL() << "MARDAVEL_TABLESERVER_PORT is not set: run through run_with_tableserver.sh or run_with_proxies.sh";
    const UINT standinPort = EnvPort(way.standinPort);
    if (way.standinPort != nullptr && standinPort == 0)
        FAIL() << way.standinPort << " is not set: run through run_with_proxies.sh";
    CPrivateUserKey userKey;
    ASSERT_TRUE(userKey.Overridden());
    if (way.configure != nullptr)
        way.configure(userKey, {standinPort, serverPort});
    struct FilesGone {
        ~FilesGone() { RemoveRelayFiles(); }
    } filesGone;
    ASSERT_TRUE(AfxSocketInit());
    CTestConnection conn;   // reads the relay's settings
    g_boxes.Clear();
    g_boxes.Attach(conn);
    conn.SetOwnUserName(kUser);
    const UINT port = way.toServerPort ? serverPort : kClosedPort;
    ASSERT_TRUE(conn.Connect(way.host, port, TRUE)) << "boxes: " << g_boxes.calls.size();
    EXPECT_EQ(conn.GetConnType(), way.connType);
    EXPECT_EQ(conn.IsViaRelay() != FALSE, way.viaRelay);
    if (way.viaRelay) {
        // The log is a text file: its lines end with CR LF.
        char line[96];
        snprintf(line, sizeof(line), "GSIP:127.0.0.1:%u WPIP:127.0.0.1:%u\r\n", port, standinPort);
        const std::string log = ReadFileText(RelayFolder() + kRelayLogFile);
        EXPECT_NE(log.find(line), std::string::npos) << line << " not in the log:\n" << log;
    }

    // The join and its player list.
    const std::vector<uint8_t> body = JoinBody(kUser, kOwnChair);
    const std::vector<uint8_t> join = BuildNetMessage(netmsg::kJoin, body.data(), (uint32_t)body.size());
    void* reply = nullptr;
    ASSERT_TRUE(conn.SendMsg(join.data(), &reply));
    conn.StopReceive();   // the board is made before anything else is read
    ASSERT_EQ(MsgId(reply), ReplyIdOf(netmsg::kJoin));
    EXPECT_EQ(MsgResult(reply) & 0xFF, 1u);
    const uint8_t* players = MsgBody(reply);
    const uint32_t length = MsgBodyLength(reply);
    ASSERT_GE(length, 4u);
    const uint16_t count = ReadWireU16(players);
    ASSERT_EQ(count, kSeats);
    ASSERT_GE(length, 4u + count * sizeof(JoinPlayer));
    int own = -1;
    for (int i = 0; i < count; ++i) {
        JoinPlayer player;
        memcpy(&player, players + 4 + i * sizeof(JoinPlayer), sizeof(player));
        EXPECT_EQ(player.chairAndCodePage >> 16, 936u);
        if (strncmp(player.userName, kUser, sizeof(player.userName)) == 0)
            own = int(player.chairAndCodePage & 0xFFFF);
    }
    EXPECT_EQ(own, kOwnChair);
    FreeNetMessage(reply);

    CBoardHandler handler(conn);
    ASSERT_TRUE(handler.Ready());
    conn.SetHandler(CBoardHandler::Handler, &handler);
    conn.StartReceive();

    ASSERT_TRUE(PumpUntil([&] { return handler.scores >= 1 || handler.closed; }, 90000))
        << "no hand was scored; messages seen: " << handler.ids.size();
    EXPECT_FALSE(handler.closed);
    EXPECT_EQ(handler.scoreSum, 0);
    EXPECT_TRUE(handler.receivingStopped);
    // The board asked to hold messages after plays; none came during a hold.
    EXPECT_GT(handler.holds, 0);
    EXPECT_EQ(handler.deliveredWhileHeld, 0);
    auto seen = [&](uint32_t id) { return std::count(handler.ids.begin(), handler.ids.end(), id); };
    EXPECT_EQ(seen(kMsgBoardData), 1);
    EXPECT_EQ(seen(kMsgDeal), 1);
    EXPECT_GT(seen(kMsgPlay), 0);
    // The own seat took part: ready, and plays or passes of its own.
    EXPECT_GE(std::count(handler.sent.begin(), handler.sent.end(), 0x26000u), 1);
    EXPECT_GT(handler.sent.size(), 1u);
    EXPECT_TRUE(g_boxes.calls.empty());

    conn.LeaveAndClose();
    EXPECT_FALSE(conn.IsOpen());
}

// The table server's log as it stands (a file of the runner's; Wine reads
// the Unix path through drive Z:).
std::string ServerLogText()
{
    const char* path = getenv("MARDAVEL_TABLESERVER_LOG");
    if (path == nullptr)
        return std::string();
    std::string windowsPath = std::string("Z:") + path;
    for (char& c : windowsPath)
        if (c == '/')
            c = '\\';
    return ReadFileText(windowsPath);
}

// The reasons of the closes logged after offset (a connection that has left
// is logged by its address, no longer by its user's name).
std::vector<std::string> ClosesAfter(const std::string& log, size_t offset)
{
    std::vector<std::string> reasons;
    const std::string mark = " closed: ";
    for (size_t at = log.find(mark, offset); at != std::string::npos; at = log.find(mark, at + 1)) {
        const size_t start = at + mark.size();
        const size_t end = log.find('\n', start);
        if (end == std::string::npos)
            break;   // a line still being written
        reasons.push_back(log.substr(start, end - start));
    }
    return reasons;
}

// The table server's speed test: answered at once by every server side.
const uint32_t kSpeedTestId = 0x110;

// Waits until the socket has bytes to read (without taking them).
bool WaitReadable(SOCKET socket)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval wait = {60, 0};   // a hung server, not a timing check
    return ::select(0, &readable, nullptr, nullptr, &wait) == 1;
}

TEST_P(EndToEnd, EveryLeaveReachesTheServerAsALeave)
{
    // Joins and leaves fifty times while the server still sends the table:
    // each leave must be logged by the server as the player leaving, never
    // as a connection reset under its answer.
    const ConnectWayCase& way = GetParam();
    const UINT serverPort = EnvPort("MARDAVEL_TABLESERVER_PORT");
    if (serverPort == 0 || getenv("MARDAVEL_TABLESERVER_LOG") == nullptr)
        FAIL() << "MARDAVEL_TABLESERVER_PORT or MARDAVEL_TABLESERVER_LOG is not set: run through "
                  "run_with_tableserver.sh or run_with_proxies.sh";
    const UINT standinPort = EnvPort(way.standinPort);
    if (way.standinPort != nullptr && standinPort == 0)
        FAIL() << way.standinPort << " is not set: run through run_with_proxies.sh";
    CPrivateUserKey userKey;
    ASSERT_TRUE(userKey.Overridden());
    if (way.configure != nullptr)
        way.configure(userKey, {standinPort, serverPort});
    struct FilesGone {
        ~FilesGone() { RemoveRelayFiles(); }
    } filesGone;
    ASSERT_TRUE(AfxSocketInit());
    const char kLeaver[] = "dave";
    const size_t logStart = ServerLogText().size();
    const int kRepeats = 50;
    for (int i = 0; i < kRepeats; ++i) {
        SCOPED_TRACE(i);
        CTestConnection conn;
        g_boxes.Clear();
        g_boxes.Attach(conn);
        const UINT port = way.toServerPort ? serverPort : kClosedPort;
        ASSERT_TRUE(conn.Connect(way.host, port, TRUE));
        const std::vector<uint8_t> body = JoinBody(kLeaver, 3);
        const std::vector<uint8_t> join = BuildNetMessage(netmsg::kJoin, body.data(), (uint32_t)body.size());
        void* reply = nullptr;
        ASSERT_TRUE(conn.SendMsg(join.data(), &reply));
        EXPECT_EQ(MsgResult(reply) & 0xFF, 1u);
        FreeNetMessage(reply);
        // A speed test the server answers at once: with the answer waiting
        // unread in the socket, a plain close would reset the connection.
        const uint32_t speedTest[2] = {0, uint32_t(i)};
        ASSERT_TRUE(conn.SendMsg(kSpeedTestId, speedTest, sizeof speedTest));
        ASSERT_TRUE(WaitReadable(conn.m_hSocket)) << "the speed test's answer";
        conn.LeaveAndClose();
        EXPECT_FALSE(conn.IsOpen());
    }
    std::vector<std::string> closes;
    ASSERT_TRUE(PumpUntil([&] {
        closes = ClosesAfter(ServerLogText(), logStart);
        return closes.size() >= size_t(kRepeats);
    }, 60000)) << closes.size() << " closes logged";
    // The hand's player of the test before may close in this time too: it left as well.
    EXPECT_LE(closes.size(), size_t(kRepeats + 1));
    for (const std::string& reason : closes)
        EXPECT_EQ(reason, "left the table");
}

INSTANTIATE_TEST_SUITE_P(Ways, EndToEnd, testing::ValuesIn(kWays),
                         [](const testing::TestParamInfo<ConnectWayCase>& info) { return info.param.name; });

// ---- The relay's background speed tests ----------------------------------------------------

namespace {

// Through the relay to the table server, with the speed tests every second.
class RelaySpeedTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_serverPort = EnvPort("MARDAVEL_TABLESERVER_PORT");
        m_relayPort = EnvPort("MARDAVEL_RELAY_PORT");
        if (m_serverPort == 0 || m_relayPort == 0)
            FAIL() << "MARDAVEL_TABLESERVER_PORT or MARDAVEL_RELAY_PORT is not set: run through run_with_proxies.sh";
        ASSERT_TRUE(m_userKey.Overridden());
        RelaySettingsFiles(m_userKey, m_relayPort, m_serverPort);
        ASSERT_TRUE(AfxSocketInit());
        g_boxes.Clear();
    }
    void TearDown() override { RemoveRelayFiles(); }

    void ConnectAndStartTests(CTestConnection& conn)
    {
        g_boxes.Attach(conn);
        ASSERT_TRUE(conn.Connect("127.0.0.1", m_serverPort, TRUE));
        ASSERT_TRUE(conn.IsViaRelay());
        conn.SetSpeedParameters(1, 30, 1, 3, 30, 300);   // the settings file makes the tick 1 s
        EXPECT_EQ(conn.SpeedState().GSTestTick(), 1);
        ASSERT_TRUE(conn.IsTestThreadRunning());
    }

    static HWND TestWindow() { return ::FindWindowExA(HWND_MESSAGE, NULL, NULL, "TavryProxyWnd"); }

    CPrivateUserKey m_userKey;
    UINT m_serverPort = 0;
    UINT m_relayPort = 0;
};

// Stops the tests from inside the test window's handler, as a close that a
// test's own waits dispatch would.
class CStopInsideTest : public CTestConnection
{
public:
    bool windowAliveInHandler = false;
    bool stopReturned = false;
    int tests = 0;

protected:
    int RunSpeedTest(BOOL, uint32_t) override
    {
        tests++;
        const HWND hWindow = ::FindWindowExA(HWND_MESSAGE, NULL, NULL, "TavryProxyWnd");
        Close();
        stopReturned = true;
        windowAliveInHandler = hWindow != NULL && ::IsWindow(hWindow);
        return 5;
    }
};

}  // namespace

TEST_F(RelaySpeedTest, MeasuresTheDirectWayAndStopsPromptly)
{
    CTestConnection conn;
    ConnectAndStartTests(conn);
    ASSERT_NE(TestWindow(), (HWND)NULL);
    // Through the relay the background test measures the direct way: two
    // 0x110 round trips to the server on a connection of its own.
    ASSERT_TRUE(PumpUntil([&] { return conn.SpeedState().TestSamples().Size() >= 2; }, 15000));
    EXPECT_GE(conn.SpeedState().PreviousTestResult(), 1);
    EXPECT_LE(conn.SpeedState().PreviousTestResult(), 9999);

    const DWORD dwStart = ::GetTickCount();
    conn.Close();
    EXPECT_LT(::GetTickCount() - dwStart, 3000u);   // told, not waited out (the join gives up at 3 s)
    EXPECT_FALSE(conn.IsTestThreadRunning());
    EXPECT_EQ(TestWindow(), (HWND)NULL);
    EXPECT_TRUE(g_boxes.calls.empty());
}

TEST_F(RelaySpeedTest, ASlowDirectWayIsMeasuredAgainstTheRelayAndMovedToIt)
{
    RelaySettingsFiles(m_userKey, m_relayPort, m_serverPort, false);
    CTestConnection conn;
    g_boxes.Attach(conn);
    ASSERT_TRUE(conn.Connect("127.0.0.1", m_serverPort, TRUE));
    ASSERT_EQ(conn.GetConnType(), (uint32_t)kConnNotMarked);   // tried directly, and that worked
    ASSERT_FALSE(conn.IsViaRelay());
    conn.SetSpeedParameters(1, 30, 1, 1, 30, 300);
    EXPECT_FALSE(conn.IsTestThreadRunning());   // the direct way starts it when it is slow
    // The first three room samples never count; the fourth is over the
    // threshold: the background test measures the relay.
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(conn.OnRoomSpeedSample(500), -1);
    EXPECT_EQ(conn.OnRoomSpeedSample(500), 500);
    ASSERT_TRUE(conn.IsTestThreadRunning());
    ASSERT_TRUE(PumpUntil([&] { return conn.SpeedState().TestSamples().Size() >= 1; }, 15000));
    // The relay on loopback answers far below 5 s: the server is moved to it.
    EXPECT_EQ(conn.OnRoomSpeedSample(500), 500);
    EXPECT_EQ(conn.SpeedState().LastSwitch(), 1);
    EXPECT_FALSE(conn.SpeedState().FirstDecisionPending());
    EXPECT_FALSE(conn.IsTestThreadRunning());
    EXPECT_TRUE(IsServerMarked(m_serverPort));
    EXPECT_TRUE(g_boxes.calls.empty());
    conn.Close();
}

TEST_F(RelaySpeedTest, AStopInsideTheTestKeepsItsWindowUntilTheHandlerReturns)
{
    CStopInsideTest conn;
    ConnectAndStartTests(conn);
    ASSERT_TRUE(PumpUntil([&] { return conn.tests > 0; }, 10000));
    EXPECT_TRUE(conn.stopReturned);
    EXPECT_TRUE(conn.windowAliveInHandler);
    EXPECT_FALSE(conn.IsTestThreadRunning());
    EXPECT_EQ(TestWindow(), (HWND)NULL);   // destroyed once the handler returned
    PumpQueued();   // the thread has ended: no request can be on its way
    EXPECT_EQ(conn.tests, 1);
    EXPECT_TRUE(g_boxes.calls.empty());
}

// ---- Tunnels that fail ----------------------------------------------------------------------

namespace {

struct TunnelFailureCase {
    const char* name;
    const char* relayPort;   // the tunnel stand-in that answers this way
};

const TunnelFailureCase kTunnelFailures[] = {
    {"GetRefused", "MARDAVEL_T403_PORT"},          // 403 to the GET leg
    {"NoSerialNumber", "MARDAVEL_TNOSERIAL_PORT"},  // 200 without SERIALNO
    {"EndlessRedirects", "MARDAVEL_TREDIRECT_PORT"},  // gives up after the fourth attempt
    {"HeadTooLong", "MARDAVEL_TLONG_PORT"},         // beyond the 1024 bytes of a head
    {"HeadCutOff", "MARDAVEL_TSHORT_PORT"},         // half a head, then the end
};

class TunnelFailure : public testing::TestWithParam<TunnelFailureCase>
{
};

}  // namespace

TEST_P(TunnelFailure, EndsTheConnectWithTheProxyBox)
{
    const UINT relayPort = EnvPort(GetParam().relayPort);
    if (relayPort == 0)
        FAIL() << GetParam().relayPort << " is not set: run through run_with_proxies.sh";
    CPrivateUserKey userKey;
    ASSERT_TRUE(userKey.Overridden());
    TunnelWaySettings(userKey, 0, relayPort, 0);
    ASSERT_TRUE(AfxSocketInit());
    CTestConnection conn;
    g_boxes.Clear();
    g_boxes.Attach(conn);
    EXPECT_FALSE(conn.Connect("127.0.0.1", kClosedPort, TRUE));
    EXPECT_FALSE(conn.IsOpen());
    EXPECT_EQ(conn.GetLastNetError(), kNetErrorProxyConnect);
    ASSERT_EQ(g_boxes.calls.size(), 1u);
    EXPECT_EQ(g_boxes.calls[0].stringId, (UINT)IDS_NET_PROXY_UNREACHABLE);
}

INSTANTIATE_TEST_SUITE_P(Tunnels, TunnelFailure, testing::ValuesIn(kTunnelFailures),
                         [](const testing::TestParamInfo<TunnelFailureCase>& info) { return info.param.name; });
