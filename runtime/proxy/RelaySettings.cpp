#include "RelaySettings.h"

const char kShareSettingsKey[] = "Software\\Quorvintel\\Game\\Share";
const char kRelayLanguageFile[] = "langrsc.ini";
const char kRelaySettingsFile[] = "TavryProxy.dat";
const char kRelayLogFile[] = "TavryProxy.log";

namespace {

const char kRelaySection[] = "TavryProxy";
const char kDebugSection[] = "Debug";
const char kSettingSection[] = "Setting";
const char kRelayUseKey[] = "UseTavryNet";

// The value that marks a server, read into this many characters.
constexpr size_t kMarkField = 9;

std::string Trimmed(const std::string& text)
{
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t'))
        ++begin;
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t'))
        --end;
    return text.substr(begin, end - begin);
}

// A piece of a list line that is the decimal number `port`.
bool IsPortPiece(const std::string& piece, uint32_t port)
{
    const std::string digits = Trimmed(piece);
    if (digits.empty() || digits.size() > 10)
        return false;
    uint64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + uint64_t(c - '0');
    }
    return value == port;
}

}  // namespace

RelayEnvironment ReadRelayEnvironment(CProxyValueSource& shareKey, CProxyValueSource& proxyKey)
{
    constexpr size_t kPathField = 260;
    RelayEnvironment out;
    if (shareKey.ReadString("Path", kPathField, out.installPath) && !out.installPath.empty() &&
        out.installPath.back() != '\\')
        out.installPath += '\\';
    uint32_t value = 0;
    out.firewallMode = shareKey.ReadDword("Use80PortSvr", value) && value != 0;
    value = 0;
    out.otherProxy = proxyKey.ReadDword("ProxyEnable", value) && value != 0;
    return out;
}

std::string RelayFilePath(const std::string& installPath, const char* fileName)
{
    if (installPath.empty())
        return std::string();
    return installPath + fileName;
}

std::string ScrambleRelayName(const std::string& text, bool encrypt)
{
    if (!encrypt)
        return text;
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size() * 2);
    for (const char c : text) {
        const uint8_t byte = uint8_t(uint8_t(c) ^ kRelayNameMask);
        out += kDigits[byte >> 4];
        out += kDigits[byte & 15];
    }
    return out;
}

std::string RelayOfListLine(const std::string& line, uint32_t port, bool* endOfLists)
{
    if (endOfLists)
        *endOfLists = false;
    size_t at = line.find(';');
    const std::string relay = line.substr(0, at);
    if (relay.empty()) {
        if (endOfLists)
            *endOfLists = true;
        return std::string();
    }
    while (at != std::string::npos) {
        const size_t next = line.find(';', at + 1);
        const std::string piece = line.substr(at + 1, next == std::string::npos ? std::string::npos : next - at - 1);
        if (IsPortPiece(piece, port))
            return relay.substr(0, CRelaySettings::kMaxRelayAddress);
        at = next;
    }
    return std::string();
}

CRelaySettings::CRelaySettings(CProfileStore& languageFile, CProfileStore& settingsFile)
    : m_language(languageFile), m_settings(settingsFile), m_bEncrypt(true)
{
    m_bEncrypt = m_settings.GetInt(kDebugSection, "Encrypt", -1) != 0;
}

int CRelaySettings::RelayPort()
{
    return m_language.GetInt(kRelaySection, "Port", 80);
}

std::string CRelaySettings::RelayUser()
{
    return m_language.GetString(kRelaySection, "TavryUser", "", kMaxCredential);
}

std::string CRelaySettings::RelayPassword()
{
    return m_language.GetString(kRelaySection, "TavryPwd", "", kMaxCredential);
}

std::string CRelaySettings::FirewallRelay()
{
    return m_language.GetString(kRelaySection, "80PortIP", "", kMaxRelayAddress);
}

std::string CRelaySettings::RelayForPort(uint32_t port)
{
    for (int key = 1; key <= kListKeys; ++key) {
        const std::string line = m_language.GetString(kRelaySection, std::to_string(key), "", kMaxListLine);
        if (line.empty())
            break;
        bool end = false;
        const std::string relay = RelayOfListLine(line, port, &end);
        if (end)
            break;
        if (!relay.empty())
            return relay;
    }
    return std::string();
}

bool CRelaySettings::LogEnabled()
{
    return m_settings.GetInt(kDebugSection, "log", -1) > 0;
}

RelayDebugOverrides CRelaySettings::ReadDebugOverrides()
{
    RelayDebugOverrides out;
    out.valve = m_settings.GetInt(kDebugSection, "valve", -1);
    out.roomAvg = m_settings.GetInt(kDebugSection, "roomavg", -1);
    out.gsAvg = m_settings.GetInt(kDebugSection, "gsavg", -1);
    out.gsTick = m_settings.GetInt(kDebugSection, "gstick", -1);
    out.sendStat = m_settings.GetInt(kDebugSection, "sendstat", -1);
    return out;
}

bool CRelaySettings::GetRelayUse()
{
    const int use = m_settings.GetInt(Scrambled(kSettingSection), Scrambled(kRelayUseKey), -1);
    if (use == -1) {
        SetRelayUse(true);
        return true;
    }
    return use != 0;
}

void CRelaySettings::SetRelayUse(bool use)
{
    m_settings.WriteString(Scrambled(kSettingSection), Scrambled(kRelayUseKey), use ? "1" : "0");
}

bool CRelaySettings::IsServerMarked(const std::string& host, uint32_t port)
{
    if (host.empty())
        return false;
    return !m_settings.GetString(Scrambled(std::to_string(port)), Scrambled(host), "", kMarkField).empty();
}

void CRelaySettings::MarkServer(const std::string& host, uint32_t port, bool mark)
{
    if (host.empty())
        return;
    if (mark)
        m_settings.WriteString(Scrambled(std::to_string(port)), Scrambled(host), "1");
    else
        m_settings.DeleteKey(Scrambled(std::to_string(port)), Scrambled(host));
}
