// What the relay connection (CQVSocket) reads and writes in its two files:
// the language file "%slangrsc.ini" ([TavryProxy]: the relay port, its user
// and password, the firewall relay, the relay lists) and the relay settings
// file "TavryProxy.dat" ([Debug], the relay use switch and the servers
// marked for the relay, under scrambled names).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "ProxySettings.h"

// One ini-style file, with the semantics of the private-profile functions:
// a missing value gives the default; strings are cut to maxChars.
class CProfileStore
{
public:
    virtual ~CProfileStore() = default;
    virtual std::string GetString(const std::string& section, const std::string& key, const std::string& def,
                                  size_t maxChars) = 0;
    virtual int GetInt(const std::string& section, const std::string& key, int def) = 0;
    virtual bool WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
    virtual bool DeleteKey(const std::string& section, const std::string& key) = 0;
};

// A file that is not there: every value is its default, writes are dropped.
// For the relay's files when the install path is unknown (a bare file name
// would make the profile functions use the Windows folder).
class CNullProfileStore : public CProfileStore
{
public:
    std::string GetString(const std::string&, const std::string&, const std::string& def, size_t maxChars) override
    {
        return def.substr(0, maxChars);
    }
    int GetInt(const std::string&, const std::string&, int def) override { return def; }
    bool WriteString(const std::string&, const std::string&, const std::string&) override { return false; }
    bool DeleteKey(const std::string&, const std::string&) override { return false; }
};

extern const char kShareSettingsKey[];    // "Software\Quorvintel\Game\Share"
extern const char kRelayLanguageFile[];   // "langrsc.ini" (after the install path)
extern const char kRelaySettingsFile[];   // "TavryProxy.dat"
extern const char kRelayLogFile[];        // "TavryProxy.log"

// Scrambled names of the relay settings file: the upper-case hexadecimal of
// each byte XORed with kRelayNameMask, two characters a byte; the plain text
// when scrambling is off. Values are never scrambled.
constexpr uint8_t kRelayNameMask = 0x5A;
std::string ScrambleRelayName(const std::string& text, bool encrypt);

// "relay;port;port..." of the relay lists: the relay address when one of the
// later pieces is the port's number, else "". An empty first piece gives ""
// and *endOfLists = true.
std::string RelayOfListLine(const std::string& line, uint32_t port, bool* endOfLists = nullptr);

// The [Debug] overrides of the speed-test parameters (-1: none).
struct RelayDebugOverrides {
    int valve = -1;
    int roomAvg = -1;
    int gsAvg = -1;
    int gsTick = -1;
    int sendStat = -1;
};

// What the relay connection reads from the registry when it is built.
struct RelayEnvironment {
    std::string installPath;   // Share "Path" with a trailing backslash; "" when missing
    bool firewallMode = false; // Share "Use80PortSvr" nonzero
    bool otherProxy = false;   // Share\Proxy "ProxyEnable" nonzero
};
RelayEnvironment ReadRelayEnvironment(CProxyValueSource& shareKey, CProxyValueSource& proxyKey);
// "%s%s": a file of the install path ("" when the path is unknown).
std::string RelayFilePath(const std::string& installPath, const char* fileName);

class CRelaySettings
{
public:
    // Longest texts kept.
    static constexpr size_t kMaxCredential = 63;
    static constexpr size_t kMaxRelayAddress = 39;
    static constexpr size_t kMaxListLine = 1024;
    static constexpr int kListKeys = 499;

    CRelaySettings(CProfileStore& languageFile, CProfileStore& settingsFile);

    // [TavryProxy] of the language file.
    int RelayPort();                 // "Port", 80 by default
    std::string RelayUser();         // "TavryUser"
    std::string RelayPassword();     // "TavryPwd"
    std::string FirewallRelay();     // "80PortIP"
    // The relay that the lists "1".."499" give the port; "" when none. The
    // search ends at the first empty value or empty relay address.
    std::string RelayForPort(uint32_t port);

    // [Debug] of the settings file: "log" > 0 turns the log on; "Encrypt"
    // 0 turns scrambling off (read once, at construction).
    bool LogEnabled();
    bool Encrypt() const { return m_bEncrypt; }
    void SetEncrypt(bool encrypt) { m_bEncrypt = encrypt; }
    RelayDebugOverrides ReadDebugOverrides();

    // The relay use switch [Setting] "UseTavryNet": missing is written as
    // "1" and read as on.
    bool GetRelayUse();
    void SetRelayUse(bool use);

    // A server is marked for the relay by "1" under the section of its port
    // ("%lu") and the key of its host.
    bool IsServerMarked(const std::string& host, uint32_t port);
    void MarkServer(const std::string& host, uint32_t port, bool mark);

private:
    std::string Scrambled(const std::string& text) const { return ScrambleRelayName(text, m_bEncrypt); }

    CProfileStore& m_language;
    CProfileStore& m_settings;
    bool m_bEncrypt;
};
