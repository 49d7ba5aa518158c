#include "ProxyTestFakes.h"

#include <cstdlib>

namespace proxytest {

std::vector<uint8_t> Bytes(std::initializer_list<int> values)
{
    std::vector<uint8_t> out;
    for (const int v : values)
        out.push_back(uint8_t(v));
    return out;
}

std::vector<uint8_t> Bytes(const std::string& text)
{
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts)
{
    std::vector<uint8_t> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

std::string Hex(const std::vector<uint8_t>& bytes)
{
    static const char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0)
            out += ' ';
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 15];
    }
    return out;
}

// ---- CFakeValues ----------------------------------------------------------------------------

CFakeValues& CFakeValues::Dword(const char* name, uint32_t value)
{
    m_dwords[name] = value;
    return *this;
}

CFakeValues& CFakeValues::String(const char* name, const std::string& value)
{
    m_strings[name] = value;
    return *this;
}

bool CFakeValues::ReadDword(const char* name, uint32_t& value)
{
    const auto found = m_dwords.find(name);
    if (found == m_dwords.end())
        return false;
    value = found->second;
    return true;
}

bool CFakeValues::ReadString(const char* name, size_t fieldBytes, std::string& value)
{
    const auto found = m_strings.find(name);
    if (found == m_strings.end() || found->second.size() >= fieldBytes)
        return false;
    value = found->second;
    return true;
}

// ---- CFakeProfile ----------------------------------------------------------------------------

std::string CFakeProfile::GetString(const std::string& section, const std::string& key, const std::string& def,
                                    size_t maxChars)
{
    const auto found = m_values.find({section, key});
    const std::string& value = found == m_values.end() ? def : found->second;
    return value.substr(0, maxChars);
}

int CFakeProfile::GetInt(const std::string& section, const std::string& key, int def)
{
    const auto found = m_values.find({section, key});
    if (found == m_values.end())
        return def;
    return std::atoi(found->second.c_str());
}

bool CFakeProfile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    ++writes;
    m_values[{section, key}] = value;
    return true;
}

bool CFakeProfile::DeleteKey(const std::string& section, const std::string& key)
{
    ++writes;
    m_values.erase({section, key});
    return true;
}

bool CFakeProfile::Has(const std::string& section, const std::string& key) const
{
    return m_values.count({section, key}) != 0;
}

std::string CFakeProfile::Value(const std::string& section, const std::string& key) const
{
    const auto found = m_values.find({section, key});
    return found == m_values.end() ? std::string() : found->second;
}

// ---- RunSocks --------------------------------------------------------------------------------

SocksRun RunSocks(const SocksRequest& request, const std::vector<uint8_t>& replies)
{
    SocksRun run;
    CSocksHandshake handshake(request);
    for (;;) {
        const std::vector<uint8_t> out = handshake.TakeOutgoing();
        run.sent.insert(run.sent.end(), out.begin(), out.end());
        const size_t wanted = handshake.BytesWanted();
        if (handshake.Finished() || wanted == 0 || run.consumed + wanted > replies.size())
            break;
        handshake.Receive(replies.data() + run.consumed, wanted);
        run.consumed += wanted;
    }
    run.verdict = handshake.Verdict();
    return run;
}

}  // namespace proxytest
