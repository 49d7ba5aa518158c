#include "ProxyRegistry.h"

#include <vector>

CRegistryValueSource::CRegistryValueSource(HKEY hRoot, const char* lpszSubKey) : m_hKey(NULL)
{
    if (::RegOpenKeyExA(hRoot, lpszSubKey, 0, KEY_READ, &m_hKey) != ERROR_SUCCESS)
        m_hKey = NULL;
}

CRegistryValueSource::~CRegistryValueSource()
{
    if (m_hKey != NULL)
        ::RegCloseKey(m_hKey);
}

bool CRegistryValueSource::ReadDword(const char* name, uint32_t& value)
{
    if (m_hKey == NULL)
        return false;
    DWORD dwType = 0;
    DWORD dwValue = 0;
    DWORD cbData = sizeof(dwValue);
    if (::RegQueryValueExA(m_hKey, name, NULL, &dwType, reinterpret_cast<BYTE*>(&dwValue), &cbData) != ERROR_SUCCESS ||
        dwType != REG_DWORD || cbData != sizeof(dwValue))
        return false;
    value = dwValue;
    return true;
}

bool CRegistryValueSource::ReadString(const char* name, size_t fieldBytes, std::string& value)
{
    if (m_hKey == NULL || fieldBytes == 0)
        return false;
    // One byte more than the field, so that a value without its terminating
    // zero that fills the field exactly is still found to be too long.
    std::vector<char> buffer(fieldBytes + 1, '\0');
    DWORD dwType = 0;
    DWORD cbData = DWORD(fieldBytes);
    if (::RegQueryValueExA(m_hKey, name, NULL, &dwType, reinterpret_cast<BYTE*>(buffer.data()), &cbData) !=
            ERROR_SUCCESS ||
        (dwType != REG_SZ && dwType != REG_EXPAND_SZ))
        return false;
    const size_t length = strnlen(buffer.data(), cbData);
    if (length >= fieldBytes)
        return false;
    value.assign(buffer.data(), length);
    return true;
}

std::string CPrivateProfileStore::GetString(const std::string& section, const std::string& key,
                                            const std::string& def, size_t maxChars)
{
    std::vector<char> buffer(maxChars + 1, '\0');
    ::GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(), DWORD(buffer.size()),
                               m_path.c_str());
    buffer.back() = '\0';
    return std::string(buffer.data());
}

int CPrivateProfileStore::GetInt(const std::string& section, const std::string& key, int def)
{
    return int(::GetPrivateProfileIntA(section.c_str(), key.c_str(), def, m_path.c_str()));
}

bool CPrivateProfileStore::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), m_path.c_str()) != FALSE;
}

bool CPrivateProfileStore::DeleteKey(const std::string& section, const std::string& key)
{
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), NULL, m_path.c_str()) != FALSE;
}
