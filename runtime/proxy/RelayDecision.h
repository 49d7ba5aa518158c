// The relay connection's decisions, apart from sockets and windows: which
// way a connect goes and where it falls back to (CRelayConnectPlanner),
// when a server moves between the direct way and the relay after the room's
// and the background test's latencies (CRelaySpeedState), the messages it
// sends (port header, statistics, speed test) and its log lines.
//
// CQVSocket owns one of each; the planner tells it step by step what to do
// with the base connection and is told how each step went.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "RelaySettings.h"
#include "SocksHandshake.h"

// Receives the text of every log line (without time, process id and line end).
using RelayLogSink = std::function<void(const std::string& text)>;

// ---- Messages ----------------------------------------------------------------------------

constexpr uint32_t kRelayPortHeaderId = 0x663;
constexpr uint32_t kRelaySpeedTestId = 0x110;
constexpr uint32_t kRelaySpeedTestReplyId = 0x80000110;
constexpr uint32_t kRelayStatisticsId = 0x1A9;

// 0x663: the game server's port and a value (0 from the relay).
struct RelayPortHeaderBody {
    uint32_t serverPort;
    uint32_t value;
};
static_assert(sizeof(RelayPortHeaderBody) == 8, "port header body is 8 bytes");

// 0x110: the previous result and the sender's tick count (echoed as the
// reply's first body word).
struct RelaySpeedTestBody {
    uint32_t previousResult;
    uint32_t tick;
};
static_assert(sizeof(RelaySpeedTestBody) == 8, "speed test body is 8 bytes");

// 0x1A9: the statistics of the relay way.
struct RelayStatisticsBody {
    uint16_t wTavryNetSpeed;  // room average R (negative: 0)
    uint16_t wDCSpeed;        // background test average G (negative: 0)
    uint16_t nConnType;
    uint16_t reserved;
};
static_assert(sizeof(RelayStatisticsBody) == 8, "statistics body is 8 bytes");

// Whole messages (8-byte header, little-endian), ready for the base send.
std::vector<uint8_t> BuildRelayPortHeader(uint32_t serverPort, uint32_t value = 0);
std::vector<uint8_t> BuildRelaySpeedTest(uint32_t previousResult, uint32_t tick);
std::vector<uint8_t> BuildRelayStatistics(const RelayStatisticsBody& body);
RelayStatisticsBody MakeRelayStatistics(int roomAverage, int testAverage, uint32_t connType);

// The echoed tick of a speed-test reply (a whole message with its 12-byte
// header): false unless it is 0x80000110 with at least 4 body bytes.
bool ReadSpeedTestEcho(const uint8_t* message, size_t size, uint32_t& tick);
// |now - echoed| / 10 (tick counts that may have wrapped), clamped to 1..9999.
int SpeedTestLatency(uint32_t nowTick, uint32_t echoedTick);

// ---- Log lines ------------------------------------------------------------------------------

// "%y/%m/%d %H:%M:%S %5d %s\n" (local time, process id, text cut to 1023 bytes).
std::string FormatRelayLogLine(const std::tm& localTime, unsigned long processId, const std::string& text);
// The line written when the log is opened: 85 dashes.
std::string RelayLogRule();

// ---- Connection types -----------------------------------------------------------------------

enum RelayConnType : uint32_t {
    kConnUndecided = 0,
    kConnOtherProxy = 1,
    kConnFirewallNoRelay = 2,
    kConnFirewallPort80 = 3,
    kConnFirewallHeader = 4,
    kConnRelayDisabled = 5,
    kConnNoRelayForPort = 6,
    kConnNotMarked = 7,
    kConnDirectFailed = 8,
    kConnMarked = 9,
    kConnRelayUnreachable = 10,
    kConnSocksFailed = 11,
    kConnRelaySlower = 12,
};

// Types 3, 4, 7, 8 and 9 may switch ways.
bool IsSwitchableConnType(uint32_t connType);

// ---- Connect ------------------------------------------------------------------------------

// Read once, when the relay connection is built.
struct RelayConnectFacts {
    bool otherProxy = false;     // the platform's "ProxyEnable" is set
    bool firewallMode = false;   // "Use80PortSvr"
    int relayPort = 80;          // [TavryProxy] "Port"
    std::string relayUser;
    std::string relayPassword;
};

enum class RelayStep {
    kDirectConnect,   // base Connect(host, port, ask)
    kRelayConnect,    // proxy selection none, no alternative port, connect time-out 10 s,
                      // base Connect(host, port, ask)
    kSocks5Exchange,  // SOCKS5 with the relay's user and password to host:port (CSocksHandshake)
    kSendPortHeader,  // 0x663 {serverPort, 0} through the base send, no reply awaited
    kFinished,        // Connect returns `connected`
};

struct RelayAction {
    RelayStep step = RelayStep::kFinished;
    std::string host;
    uint32_t port = 0;
    bool ask = false;                // the ask flag handed to the connect
    bool setCallerAskAfter = false;  // afterwards the connection's ask flag becomes the caller's
    bool clearLastError = false;     // before the step: the base's last error is cleared
    bool restoreConnectOptions = false;  // before the step: proxy selection and time-out as they were
    bool restoreTimeout = false;     // before the step: the time-out as it was
    uint32_t serverPort = 0;         // kSendPortHeader
    bool connected = false;          // kFinished
};

// One connect of CQVSocket:
//   CRelayConnectPlanner plan(settings, facts, host, port, ask, p80Port, log);
//   for (;;) {
//       const RelayAction& a = plan.Next();
//       if (a.step == RelayStep::kFinished) return a.connected;
//       bool ok = run a (a failed kSocks5Exchange closes the connection);
//       plan.Report(ok, base cancel flag is set);
//   }
class CRelayConnectPlanner
{
public:
    // p80Port: the P80 port of the server port (platform port rule), <= 0 none.
    CRelayConnectPlanner(CRelaySettings& settings, const RelayConnectFacts& facts, const std::string& host,
                         uint32_t port, bool ask, int p80Port, const RelayLogSink& log);

    const RelayAction& Next() const { return m_action; }
    void Report(bool succeeded, bool cancelled);

    uint32_t ConnType() const { return m_nConnType; }
    bool ViaRelay() const { return m_bViaRelay; }
    const std::string& Host() const { return m_host; }
    uint32_t Port() const { return m_nPort; }
    const std::string& RelayHost() const { return m_relayHost; }
    int RelayPort() const { return m_facts.relayPort; }
    // The port the SOCKS5 request names: the P80 port when >= 1, else the server's.
    uint32_t RelayTargetPort() const { return m_nP80Port >= 1 ? uint32_t(m_nP80Port) : m_nPort; }
    // The SOCKS5 request of a kSocks5Exchange step: the action's host and
    // port with the relay's user and password.
    SocksRequest Socks5Request() const;

private:
    enum class Origin { kPlain, kNotMarkedTry, kRelay };

    void Decide(CRelaySettings& settings);
    void Log(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void DirectConnect(Origin origin, bool ask);
    void RelayConnect(bool header);
    void FallBackToDirect(uint32_t connType);
    void Finish(bool connected);
    void OnDirectDone(bool succeeded, bool cancelled);
    void OnRelayConnectDone(bool succeeded, bool cancelled);
    void OnSocksDone(bool succeeded, bool cancelled);
    // A failed relay step: logs the cancel or failure line (relay host and
    // port) and ends or falls back to a direct connect; false when it succeeded.
    bool RelayStepFailed(bool succeeded, bool cancelled, const char* cancelLine, const char* failLine,
                         uint32_t connType);
    void OnHeaderSent(bool succeeded);
    void FinishViaRelay();

    RelayConnectFacts m_facts;
    std::string m_host;
    uint32_t m_nPort;
    bool m_bAsk;
    int m_nP80Port;
    RelayLogSink m_log;

    uint32_t m_nConnType = kConnUndecided;
    bool m_bViaRelay = false;
    std::string m_relayHost;
    bool m_bHeader = false;
    Origin m_origin = Origin::kPlain;
    RelayAction m_action;
};

// ---- Speed tests and switching ----------------------------------------------------------------

// Latencies in a bounded list: {value, sequence}; when full the oldest is replaced.
class CRelaySampleList
{
public:
    // Nothing for value < 0 or capacity < 1.
    void Add(int value, int capacity);
    // -1 with fewer than `needed` entries; the plain mean under three
    // entries; else without one smallest and one largest.
    int Average(int needed) const;
    void Clear() { m_entries.clear(); }
    size_t Size() const { return m_entries.size(); }

private:
    struct Entry {
        int value;
        int sequence;
    };
    std::vector<Entry> m_entries;
};

// What the switching rules make the relay connection do.
class CRelaySpeedActions
{
public:
    virtual ~CRelaySpeedActions() = default;
    // Writes or removes the current server's mark in the relay settings file.
    virtual void MarkServer(bool mark) = 0;
    // Starts the background test thread unless one runs.
    virtual void StartTestThread() = 0;
    virtual void StopTestThread() = 0;
    // Sends 0x1A9 through the base send, no reply awaited.
    virtual void SendStatistics(const RelayStatisticsBody& body) = 0;
};

enum class RelayTestFailure { kConnect, kFirstMessage, kSecondMessage };

class CRelaySpeedState
{
public:
    explicit CRelaySpeedState(const RelayLogSink& log);

    // After each connect: the server and how it was reached; the first
    // switching decision is pending again.
    void SetConnection(const std::string& host, uint32_t port, uint32_t connType, bool viaRelay);
    // Close and OnClose free both lists.
    void ClearSamples();

    // The speed-test parameters of the room (Valve, RoomAvgCnt, GSAvgCnt,
    // GSTestTick, nSendStat); enable 0 removes the server's mark.
    void SetParameters(int enable, int valve, int roomAvg, int gsAvg, int gsTick, int sendStat,
                       const RelayDebugOverrides& overrides, CRelaySpeedActions& actions);
    // A latency sample of the room: the room average, or -1.
    int OnRoomSample(int value, uint32_t nowSeconds, CRelaySpeedActions& actions);
    // One background test's result (directTest: measured on the direct way,
    // which runs while the connection goes through the relay).
    void OnTestMeasured(bool directTest, int latency);
    void OnTestFailed(bool directTest, RelayTestFailure failure);

    uint32_t ConnType() const { return m_nConnType; }
    bool ViaRelay() const { return m_bViaRelay; }
    int Valve() const { return m_nValve; }
    int RoomAvgCnt() const { return m_nRoomAvgCnt; }
    int GSAvgCnt() const { return m_nGSAvgCnt; }
    int GSTestTick() const { return m_nGSTestTick; }
    int SendStat() const { return m_nSendStat; }
    int LastSwitch() const { return m_nLastSwitch; }
    bool FirstDecisionPending() const { return m_bFirstDecisionPending; }
    int PreviousTestResult() const { return m_nPreviousTestResult; }
    const CRelaySampleList& RoomSamples() const { return m_roomSamples; }
    const CRelaySampleList& TestSamples() const { return m_testSamples; }

private:
    void Log(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 2, 3)))
#endif
        ;
    void SendStatistics(int testAverage, int roomAverage, uint32_t nowSeconds, CRelaySpeedActions& actions);
    int OnRoomSampleViaRelay(int roomAverage, uint32_t nowSeconds, CRelaySpeedActions& actions);
    int OnRoomSampleDirect(int roomAverage, CRelaySpeedActions& actions);
    void Mark(CRelaySpeedActions& actions, bool toRelay);

    RelayLogSink m_log;
    std::string m_host;
    uint32_t m_nPort = 0;
    uint32_t m_nConnType = kConnUndecided;
    bool m_bViaRelay = false;

    int m_nValve = -1;
    int m_nRoomAvgCnt = -1;
    int m_nGSAvgCnt = -1;
    int m_nGSTestTick = -1;
    int m_nSendStat = -1;
    CRelaySampleList m_roomSamples;
    CRelaySampleList m_testSamples;
    int m_nLastSwitch = 0;            // 0 none, 1 moved to the relay, 2 moved to the direct way
    int m_nRoomSampleCount = 0;
    uint32_t m_nStatisticsClock = 0;  // seconds; 0 = not started
    bool m_bFirstDecisionPending = true;
    int m_nPreviousTestResult = 0;
};
