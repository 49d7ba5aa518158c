// The settings sources of the proxy logic in the program: values of a
// registry key (CRegistryValueSource) and private-profile files
// (CPrivateProfileStore). Windows only.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <string>

#include "ProxySettings.h"
#include "RelaySettings.h"

// The values of one key under a root (HKEY_CURRENT_USER for the proxy
// settings); a missing key reads as missing values.
class CRegistryValueSource : public CProxyValueSource
{
public:
    CRegistryValueSource(HKEY hRoot, const char* lpszSubKey);
    ~CRegistryValueSource() override;
    CRegistryValueSource(const CRegistryValueSource&) = delete;
    CRegistryValueSource& operator=(const CRegistryValueSource&) = delete;

    bool ReadDword(const char* name, uint32_t& value) override;
    bool ReadString(const char* name, size_t fieldBytes, std::string& value) override;

private:
    HKEY m_hKey;
};

// An ini-style file through GetPrivateProfileString and its kin.
class CPrivateProfileStore : public CProfileStore
{
public:
    explicit CPrivateProfileStore(const std::string& path) : m_path(path) {}

    std::string GetString(const std::string& section, const std::string& key, const std::string& def,
                          size_t maxChars) override;
    int GetInt(const std::string& section, const std::string& key, int def) override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    bool DeleteKey(const std::string& section, const std::string& key) override;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};
