#include "RelayDecision.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace {

// Longest log text, terminating zero included.
constexpr size_t kLogTextBytes = 1024;
constexpr int kMinValve = 30;
constexpr int kMinTestTick = 30;
constexpr int kMinSendStat = 300;
constexpr int kIgnoredRoomSamples = 3;
constexpr int kMaxLatency = 9999;

std::string FormatText(const char* format, va_list args)
{
    char text[kLogTextBytes];
    std::vsnprintf(text, sizeof text, format, args);
    return text;
}

void PutU32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

void PutU16(std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}

uint32_t GetU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

std::vector<uint8_t> Message(uint32_t id, uint32_t first, uint32_t second)
{
    std::vector<uint8_t> out;
    PutU32(out, id);
    PutU32(out, 8);
    PutU32(out, first);
    PutU32(out, second);
    return out;
}

uint16_t SpeedField(int value)
{
    return uint16_t(std::min(std::max(value, 0), 0xFFFF));
}

}  // namespace

// ---- Messages ----------------------------------------------------------------------------

std::vector<uint8_t> BuildRelayPortHeader(uint32_t serverPort, uint32_t value)
{
    return Message(kRelayPortHeaderId, serverPort, value);
}

std::vector<uint8_t> BuildRelaySpeedTest(uint32_t previousResult, uint32_t tick)
{
    return Message(kRelaySpeedTestId, previousResult, tick);
}

std::vector<uint8_t> BuildRelayStatistics(const RelayStatisticsBody& body)
{
    std::vector<uint8_t> out;
    PutU32(out, kRelayStatisticsId);
    PutU32(out, sizeof(RelayStatisticsBody));
    PutU16(out, body.wTavryNetSpeed);
    PutU16(out, body.wDCSpeed);
    PutU16(out, body.nConnType);
    PutU16(out, body.reserved);
    return out;
}

RelayStatisticsBody MakeRelayStatistics(int roomAverage, int testAverage, uint32_t connType)
{
    RelayStatisticsBody body;
    body.wTavryNetSpeed = SpeedField(roomAverage);
    body.wDCSpeed = SpeedField(testAverage);
    body.nConnType = uint16_t(connType);
    body.reserved = 0;
    return body;
}

bool ReadSpeedTestEcho(const uint8_t* message, size_t size, uint32_t& tick)
{
    constexpr size_t kReplyHeader = 12;
    if (message == nullptr || size < kReplyHeader + 4 || GetU32(message) != kRelaySpeedTestReplyId)
        return false;
    const uint32_t bodyLength = GetU32(message + 4);
    if (bodyLength < 4 || bodyLength > size - kReplyHeader)
        return false;
    tick = GetU32(message + kReplyHeader);
    return true;
}

int SpeedTestLatency(uint32_t nowTick, uint32_t echoedTick)
{
    // The shorter way round the 32-bit circle: a tick count that wrapped in
    // between still gives the time that passed.
    const uint32_t forward = nowTick - echoedTick;
    const uint32_t backward = echoedTick - nowTick;
    const uint32_t distance = std::min(forward, backward);
    const uint32_t latency = distance / 10;
    if (latency < 1)
        return 1;
    return latency > uint32_t(kMaxLatency) ? kMaxLatency : int(latency);
}

// ---- Log lines ------------------------------------------------------------------------------

std::string FormatRelayLogLine(const std::tm& localTime, unsigned long processId, const std::string& text)
{
    char stamp[32];
    if (std::strftime(stamp, sizeof stamp, "%y/%m/%d %H:%M:%S", &localTime) == 0)
        stamp[0] = '\0';
    const std::string bounded = text.substr(0, kLogTextBytes - 1);
    char pid[24];
    std::snprintf(pid, sizeof pid, "%5lu", processId);
    return std::string(stamp) + " " + pid + " " + bounded + "\n";
}

std::string RelayLogRule()
{
    return std::string(85, '-') + "\n";
}

bool IsSwitchableConnType(uint32_t connType)
{
    return connType == kConnFirewallPort80 || connType == kConnFirewallHeader || connType == kConnNotMarked ||
           connType == kConnDirectFailed || connType == kConnMarked;
}

// ---- CRelayConnectPlanner --------------------------------------------------------------------

CRelayConnectPlanner::CRelayConnectPlanner(CRelaySettings& settings, const RelayConnectFacts& facts,
                                           const std::string& host, uint32_t port, bool ask, int p80Port,
                                           const RelayLogSink& log)
    : m_facts(facts), m_host(host.substr(0, CRelaySettings::kMaxRelayAddress)), m_nPort(port), m_bAsk(ask),
      m_nP80Port(p80Port), m_log(log)
{
    Log("[连接]客户端创建连接，%s:%d", host.c_str(), int(port));
    Decide(settings);
}

void CRelayConnectPlanner::Log(const char* format, ...)
{
    if (!m_log)
        return;
    va_list args;
    va_start(args, format);
    const std::string text = FormatText(format, args);
    va_end(args);
    m_log(text);
}

SocksRequest CRelayConnectPlanner::Socks5Request() const
{
    SocksRequest request;
    request.version = 5;
    request.host = m_action.host;
    request.port = uint16_t(m_action.port);
    request.user = m_facts.relayUser;
    request.password = m_facts.relayPassword;
    return request;
}

void CRelayConnectPlanner::Decide(CRelaySettings& settings)
{
    const char* host = m_host.c_str();
    const int port = int(m_nPort);
    if (m_facts.otherProxy) {
        Log("[连接]当前使用了其它代理服务器，互联代理不启用。");
        m_nConnType = kConnOtherProxy;
        DirectConnect(Origin::kPlain, m_bAsk);
        return;
    }
    Log("[连接]当前没有使用其它代理服务器");

    if (m_facts.firewallMode) {
        Log("[连接]当前使用了突破防火墙功能，Port=%d", port);
        m_relayHost = settings.FirewallRelay();
        if (m_relayHost.empty()) {
            Log("[连接]当前使用了破突防火墙功能，但配置中没有找到对应的互联代理IP地址");
            m_nConnType = kConnFirewallNoRelay;
            DirectConnect(Origin::kPlain, m_bAsk);
            return;
        }
        Log("[连接]找到互联代理的IP地址：%s", m_relayHost.c_str());
        if (m_nPort == 80) {
            Log("[连接]当前使用了破突防火墙功能，但GameList中配置还是使用了80端口");
            m_nConnType = kConnFirewallPort80;
            RelayConnect(false);
        } else {
            Log("[连接]当前使用了破突防火墙功能，GameList已配置成使用P80服务, Port:%d", port);
            m_nConnType = kConnFirewallHeader;
            RelayConnect(true);
        }
        return;
    }
    Log("[连接]当前没有使用突破防火墙功能");

    if (!settings.GetRelayUse()) {
        Log("[连接]当前手动禁用了互联代理功能");
        m_nConnType = kConnRelayDisabled;
        DirectConnect(Origin::kPlain, m_bAsk);
        return;
    }
    Log("[连接]当前没有手动禁用互联代理功能");

    m_relayHost = settings.RelayForPort(m_nPort);
    if (m_relayHost.empty()) {
        Log("[连接]当前游戏没有配置支持互联代理，%s:%d", host, port);
        m_nConnType = kConnNoRelayForPort;
        DirectConnect(Origin::kPlain, m_bAsk);
        return;
    }
    Log("[连接]当前游戏配置了支持互联代理");

    if (!settings.IsServerMarked(m_host, m_nPort)) {
        Log("[连接]游戏配置了支持互联代理，但此台游戏服务器不支持，%s:%d", host, port);
        m_nConnType = kConnNotMarked;
        // Tried without error boxes: a failure goes on to the relay.
        DirectConnect(Origin::kNotMarkedTry, false);
        m_action.setCallerAskAfter = true;
        return;
    }
    Log("[连接]此游戏服务器连接使用互联代理方式");
    m_nConnType = kConnMarked;
    RelayConnect(true);
}

void CRelayConnectPlanner::DirectConnect(Origin origin, bool ask)
{
    m_origin = origin;
    m_bViaRelay = false;
    Log("[连接]当前使用直连方式连接 GSIP:%s:%d", m_host.c_str(), int(m_nPort));
    m_action = RelayAction();
    m_action.step = RelayStep::kDirectConnect;
    m_action.host = m_host;
    m_action.port = m_nPort;
    m_action.ask = ask;
}

void CRelayConnectPlanner::RelayConnect(bool header)
{
    m_origin = Origin::kRelay;
    m_bHeader = header;
    Log("[连接]准备与互联代理进行连接 %s:%d", m_relayHost.c_str(), m_facts.relayPort);
    m_action = RelayAction();
    m_action.step = RelayStep::kRelayConnect;
    m_action.host = m_relayHost;
    m_action.port = uint32_t(m_facts.relayPort);
    // Without error boxes: a failure falls back to the direct way (or was
    // the user's cancel).
    m_action.ask = false;
    m_action.setCallerAskAfter = true;
}

void CRelayConnectPlanner::FallBackToDirect(uint32_t connType)
{
    m_nConnType = connType;
    DirectConnect(Origin::kPlain, m_bAsk);
    m_action.clearLastError = true;
    m_action.restoreConnectOptions = true;
}

void CRelayConnectPlanner::Finish(bool connected)
{
    m_action = RelayAction();
    m_action.step = RelayStep::kFinished;
    m_action.connected = connected;
}

void CRelayConnectPlanner::Report(bool succeeded, bool cancelled)
{
    switch (m_action.step) {
    case RelayStep::kDirectConnect: OnDirectDone(succeeded, cancelled); break;
    case RelayStep::kRelayConnect: OnRelayConnectDone(succeeded, cancelled); break;
    case RelayStep::kSocks5Exchange: OnSocksDone(succeeded, cancelled); break;
    case RelayStep::kSendPortHeader: OnHeaderSent(succeeded); break;
    case RelayStep::kFinished: break;
    }
}

void CRelayConnectPlanner::OnDirectDone(bool succeeded, bool cancelled)
{
    const char* host = m_host.c_str();
    const int port = int(m_nPort);
    if (succeeded)
        Log("[连接]直连方式连接成功 GSIP:%s:%d", host, port);
    else
        Log("[连接]直连方式连接失败 GSIP:%s:%d", host, port);
    if (succeeded || m_origin != Origin::kNotMarkedTry) {
        Finish(succeeded);
        return;
    }
    if (cancelled) {
        Log("[连接]手动取消了与游戏服务器直连操作，%s:%d", host, port);
        Finish(false);
        return;
    }
    Log("[连接]直连游戏服务器失败，使用互联代理再次尝试连接，%s:%d", host, port);
    m_nConnType = kConnDirectFailed;
    RelayConnect(true);
    m_action.clearLastError = true;
}

bool CRelayConnectPlanner::RelayStepFailed(bool succeeded, bool cancelled, const char* cancelLine,
                                           const char* failLine, uint32_t connType)
{
    if (succeeded)
        return false;
    if (cancelled) {
        Log(cancelLine, m_relayHost.c_str(), m_facts.relayPort);
        Finish(false);
        m_action.restoreConnectOptions = true;
    } else {
        Log(failLine, m_relayHost.c_str(), m_facts.relayPort);
        FallBackToDirect(connType);
    }
    return true;
}

void CRelayConnectPlanner::OnRelayConnectDone(bool succeeded, bool cancelled)
{
    if (RelayStepFailed(succeeded, cancelled, "[连接]手动取消了与互联代理服务器连接操作，%s:%d",
                        "[连接]连接互联代理服务器失败切回直连方式 %s:%d", kConnRelayUnreachable))
        return;
    Log("[连接]互联代理服务器连接成功 %s:%d", m_relayHost.c_str(), m_facts.relayPort);
    m_action = RelayAction();
    m_action.step = RelayStep::kSocks5Exchange;
    m_action.host = m_host;
    m_action.port = RelayTargetPort();
}

void CRelayConnectPlanner::OnSocksDone(bool succeeded, bool cancelled)
{
    if (RelayStepFailed(succeeded, cancelled, "[连接]手动取消了向互联代理服务发送Socket5消息操作，%s:%d",
                        "[连接]Socket5代理协议发送失败切回直连方式 %s:%d", kConnSocksFailed))
        return;
    Log("[连接]Socket5代理协议发送成功 %s:%d", m_relayHost.c_str(), m_facts.relayPort);
    if (m_bHeader && m_nP80Port >= 1) {
        m_action = RelayAction();
        m_action.step = RelayStep::kSendPortHeader;
        m_action.serverPort = m_nPort;
        m_action.restoreTimeout = true;
        return;
    }
    FinishViaRelay();
    m_action.restoreTimeout = true;
}

void CRelayConnectPlanner::OnHeaderSent(bool succeeded)
{
    if (!succeeded) {
        // The send failed: the connection has already reported its close.
        Finish(false);
        return;
    }
    Log("[连接]发送了P80服务使用的消息头%d", int(m_nPort));
    FinishViaRelay();
}

void CRelayConnectPlanner::FinishViaRelay()
{
    m_bViaRelay = true;
    Log("[连接]当前使用互联代理连接 GSIP:%s:%d WPIP:%s:%d", m_host.c_str(), int(m_nPort), m_relayHost.c_str(),
        m_facts.relayPort);
    Finish(true);
}

// ---- CRelaySampleList ---------------------------------------------------------------------------

void CRelaySampleList::Add(int value, int capacity)
{
    if (value < 0 || capacity < 1)
        return;
    int highest = -1;
    for (const Entry& entry : m_entries)
        highest = std::max(highest, entry.sequence);
    if (m_entries.size() < size_t(capacity)) {
        m_entries.push_back({value, highest + 1});
        return;
    }
    auto oldest = m_entries.begin();
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (it->sequence < oldest->sequence)
            oldest = it;
    *oldest = {value, highest + 1};
}

int CRelaySampleList::Average(int needed) const
{
    if (m_entries.empty() || m_entries.size() < size_t(std::max(needed, 0)))
        return -1;
    long long sum = 0;
    int smallest = m_entries.front().value;
    int largest = smallest;
    for (const Entry& entry : m_entries) {
        sum += entry.value;
        smallest = std::min(smallest, entry.value);
        largest = std::max(largest, entry.value);
    }
    const long long count = (long long)m_entries.size();
    if (count < 3)
        return int(sum / count);
    return int((sum - smallest - largest) / (count - 2));
}

// ---- CRelaySpeedState -------------------------------------------------------------------------

CRelaySpeedState::CRelaySpeedState(const RelayLogSink& log) : m_log(log) {}

void CRelaySpeedState::Log(const char* format, ...)
{
    if (!m_log)
        return;
    va_list args;
    va_start(args, format);
    const std::string text = FormatText(format, args);
    va_end(args);
    m_log(text);
}

void CRelaySpeedState::SetConnection(const std::string& host, uint32_t port, uint32_t connType, bool viaRelay)
{
    m_host = host.substr(0, CRelaySettings::kMaxRelayAddress);
    m_nPort = port;
    m_nConnType = connType;
    m_bViaRelay = viaRelay;
    m_bFirstDecisionPending = true;
}

void CRelaySpeedState::ClearSamples()
{
    m_roomSamples.Clear();
    m_testSamples.Clear();
}

void CRelaySpeedState::SetParameters(int enable, int valve, int roomAvg, int gsAvg, int gsTick, int sendStat,
                                     const RelayDebugOverrides& overrides, CRelaySpeedActions& actions)
{
    if (m_nConnType == kConnOtherProxy || m_nConnType == kConnRelayDisabled || m_host.empty() || m_nPort == 0)
        return;
    Log("[设置]Room设置测速参数");
    actions.StopTestThread();
    ClearSamples();
    m_nValve = m_nRoomAvgCnt = m_nGSAvgCnt = m_nGSTestTick = m_nSendStat = -1;
    m_nLastSwitch = 0;
    m_nRoomSampleCount = 0;
    m_nStatisticsClock = 0;
    if (enable == 0) {
        Log("[设置]游戏服务器设置了下次登录禁用互联代理标志，则本次不进行任何测速操作");
        actions.MarkServer(false);
        return;
    }
    m_nValve = std::max(valve, kMinValve);
    m_nRoomAvgCnt = std::max(roomAvg, 1);
    m_nGSAvgCnt = std::max(gsAvg, 1);
    m_nGSTestTick = std::max(gsTick, kMinTestTick);
    m_nSendStat = std::max(sendStat, kMinSendStat);
    // The debug settings' own values win, each with its log line.
    const struct {
        int value;
        int* parameter;
        const char* line;
    } debugValues[] = {
        {overrides.valve, &m_nValve, "[调试]重新设置阀值"},
        {overrides.roomAvg, &m_nRoomAvgCnt, "[调试]重新设置Room测速采样数"},
        {overrides.gsAvg, &m_nGSAvgCnt, "[调试]重新设置直连GS测速采样数"},
        {overrides.gsTick, &m_nGSTestTick, "[调试]重新设置直连测速间隔"},
        {overrides.sendStat, &m_nSendStat, "[调试]重新设置发送统计数据时间间隔"},
    };
    for (const auto& debug : debugValues) {
        if (debug.value > 0) {
            *debug.parameter = debug.value;
            Log("%s", debug.line);
        }
    }
    Log("[设置]测速参数：Valve=%d, RoomAvgCnt=%d, GSAvgCnt=%d, GSTestTick=%d, nSendStat=%d", m_nValve, m_nRoomAvgCnt,
        m_nGSAvgCnt, m_nGSTestTick, m_nSendStat);
    if (m_bViaRelay)
        actions.StartTestThread();
}

int CRelaySpeedState::OnRoomSample(int value, uint32_t nowSeconds, CRelaySpeedActions& actions)
{
    if (m_nConnType == kConnOtherProxy || m_nConnType == kConnRelayDisabled || m_nRoomAvgCnt < 0 || m_nValve < 0 ||
        value < 0 || m_host.empty() || m_nPort == 0)
        return -1;
    ++m_nRoomSampleCount;
    if (m_nRoomSampleCount <= kIgnoredRoomSamples) {
        Log("[切换]第[%d]个Room单次测速传入值 = %d，忽略", m_nRoomSampleCount, value);
        return -1;
    }
    Log("[切换]第[%d]个Room单次测速传入值 = %d", m_nRoomSampleCount, value);
    m_roomSamples.Add(value, m_nRoomAvgCnt);
    const int roomAverage = m_roomSamples.Average(m_nRoomAvgCnt);
    if (roomAverage < 0) {
        Log("[切换]还未计算出Room测速结果");
        return -1;
    }
    if (m_bViaRelay)
        return OnRoomSampleViaRelay(roomAverage, nowSeconds, actions);
    if (IsSwitchableConnType(m_nConnType))
        return OnRoomSampleDirect(roomAverage, actions);
    return roomAverage;
}

int CRelaySpeedState::OnRoomSampleViaRelay(int roomAverage, uint32_t nowSeconds, CRelaySpeedActions& actions)
{
    Log("[切换]互联方式 - Room测速值:%d", roomAverage);
    const int testAverage = m_testSamples.Average(m_nGSAvgCnt);
    SendStatistics(testAverage, roomAverage, nowSeconds, actions);
    if (testAverage < 0) {
        Log("[切换]互联方式 - 还未计算出直连测速结果");
        return roomAverage;
    }
    Log("[切换]互联方式 - 后台直连测速值:%d", testAverage);
    if (m_nConnType == kConnDirectFailed)
        return roomAverage;
    if (roomAverage < testAverage && m_nLastSwitch != 1) {
        Log("[切换]互联方式 - 将%s:%d切换为使用互联代理", m_host.c_str(), int(m_nPort));
        Mark(actions, true);
    } else if (roomAverage >= testAverage && m_nLastSwitch != 2) {
        Log("[切换]互联方式 - 将%s:%d切换为使用直连GS", m_host.c_str(), int(m_nPort));
        Mark(actions, false);
    }
    return roomAverage;
}

int CRelaySpeedState::OnRoomSampleDirect(int roomAverage, CRelaySpeedActions& actions)
{
    Log("[切换]直连方式 - Room测速值:%d 阀值:%d", roomAverage, m_nValve);
    if (roomAverage < m_nValve) {
        if (m_nLastSwitch != 2) {
            Log("[切换]直连方式 - 将%s:%d切换为使用直连GS", m_host.c_str(), int(m_nPort));
            Mark(actions, false);
        }
        return roomAverage;
    }
    Log("[切换]直连方式 - 速度大于阀值");
    int testAverage = -1;
    if (m_bFirstDecisionPending) {
        actions.StartTestThread();
        testAverage = m_testSamples.Average(m_nGSAvgCnt);
        if (testAverage < 0) {
            Log("[切换]直连方式 - 还未计算出互联代理测速结果");
            return roomAverage;
        }
        Log("[切换]直连方式 - 互联代理后台测速结果:%d", testAverage);
    }
    if (roomAverage <= testAverage) {
        m_nConnType = kConnRelaySlower;
        Log("[切换]直连方式 - 互联代理比直连方式要慢不再尝试切换到互联代理的操作");
    } else {
        if (testAverage > 0)
            Log("[切换]直连方式 - 经过与互联代理的测速发现互联方式较快，可以启用切换判断");
        if (m_nLastSwitch != 1) {
            Log("[切换]直连方式 - 将%s:%d切换为使用互联代理", m_host.c_str(), int(m_nPort));
            Mark(actions, true);
        }
    }
    m_bFirstDecisionPending = false;
    actions.StopTestThread();
    return roomAverage;
}

void CRelaySpeedState::Mark(CRelaySpeedActions& actions, bool toRelay)
{
    actions.MarkServer(toRelay);
    m_nLastSwitch = toRelay ? 1 : 2;
}

void CRelaySpeedState::SendStatistics(int testAverage, int roomAverage, uint32_t nowSeconds,
                                      CRelaySpeedActions& actions)
{
    if (m_nSendStat < 0)
        return;
    if (m_nStatisticsClock == 0) {
        m_nStatisticsClock = nowSeconds;
        return;
    }
    if (nowSeconds - m_nStatisticsClock < uint32_t(m_nSendStat))
        return;
    m_nStatisticsClock = nowSeconds;
    const RelayStatisticsBody body = MakeRelayStatistics(roomAverage, testAverage, m_nConnType);
    actions.SendStatistics(body);
    Log("[切换]向游戏服务器发送了统计消息 wTavryNetSpeed=%d, wDCSpeed=%d, nConnType=%d", body.wTavryNetSpeed,
        body.wDCSpeed, body.nConnType);
}

void CRelaySpeedState::OnTestMeasured(bool directTest, int latency)
{
    m_nPreviousTestResult = latency;
    if (directTest)
        Log("[线程]直连GS单次返回值 = %d", latency);
    else
        Log("[线程]互联GS单次返回值 = %d", latency);
    m_testSamples.Add(latency, m_nGSAvgCnt);
}

void CRelaySpeedState::OnTestFailed(bool directTest, RelayTestFailure failure)
{
    // The failure's line for the direct test and for the relay test.
    static const char* const kLines[][2] = {
        {"[线程]与游戏服务器直连测速失败 %s:%d", "[线程]与游戏服务器互联测速失败 %s:%d"},
        {"[线程]发送第一次直连测速消息失败 %s:%d", "[线程]发送第一次互联测速消息失败 %s:%d"},
        {"[线程]发送第二次直连测速消息失败 %s:%d", "[线程]发送第二次互联测速消息失败 %s:%d"},
    };
    int row = 0;
    switch (failure) {
    case RelayTestFailure::kConnect: row = 0; break;
    case RelayTestFailure::kFirstMessage: row = 1; break;
    case RelayTestFailure::kSecondMessage: row = 2; break;
    }
    Log(kLines[row][directTest ? 0 : 1], m_host.c_str(), int(m_nPort));
}
