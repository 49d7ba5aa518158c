// Fakes and helpers of the proxy logic's tests: settings as tables, ini
// files in memory, the SOCKS handshake run against scripted reply bytes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ProxySettings.h"
#include "RelaySettings.h"
#include "SocksHandshake.h"

namespace proxytest {

std::vector<uint8_t> Bytes(std::initializer_list<int> values);
std::vector<uint8_t> Bytes(const std::string& text);
std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts);
std::string Hex(const std::vector<uint8_t>& bytes);

// Registry values of one key: DWORDs and strings by name.
class CFakeValues : public CProxyValueSource
{
public:
    CFakeValues& Dword(const char* name, uint32_t value);
    CFakeValues& String(const char* name, const std::string& value);

    bool ReadDword(const char* name, uint32_t& value) override;
    bool ReadString(const char* name, size_t fieldBytes, std::string& value) override;

private:
    std::map<std::string, uint32_t> m_dwords;
    std::map<std::string, std::string> m_strings;
};

// An ini file in memory with the private-profile semantics.
class CFakeProfile : public CProfileStore
{
public:
    std::string GetString(const std::string& section, const std::string& key, const std::string& def,
                          size_t maxChars) override;
    int GetInt(const std::string& section, const std::string& key, int def) override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    bool DeleteKey(const std::string& section, const std::string& key) override;

    bool Has(const std::string& section, const std::string& key) const;
    std::string Value(const std::string& section, const std::string& key) const;
    int writes = 0;

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};

// A handshake run against the proxy's reply bytes as one stream.
struct SocksRun {
    std::vector<uint8_t> sent;     // everything the client sent, in order
    SocksVerdict verdict = SocksVerdict::kInProgress;
    size_t consumed = 0;           // reply bytes read
};
SocksRun RunSocks(const SocksRequest& request, const std::vector<uint8_t>& replies);

}  // namespace proxytest
