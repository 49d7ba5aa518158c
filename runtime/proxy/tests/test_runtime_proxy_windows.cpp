// The settings sources of the program: registry values read into fields of
// their size, and the relay's files through the private-profile functions.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "ProxyRegistry.h"

namespace {

const char kTestKey[] = "Software\\Quorvintel\\MardavelTests\\Proxy";
const char kTestBrowserKey[] = "Software\\Quorvintel\\MardavelTests\\Browser";

class RegistryKey
{
public:
    explicit RegistryKey(const char* path) : m_path(path)
    {
        ::RegDeleteTreeA(HKEY_CURRENT_USER, path);
        ::RegCreateKeyExA(HKEY_CURRENT_USER, path, 0, NULL, 0, KEY_ALL_ACCESS, NULL, &m_hKey, NULL);
    }
    ~RegistryKey()
    {
        ::RegCloseKey(m_hKey);
        ::RegDeleteTreeA(HKEY_CURRENT_USER, m_path);
    }
    void Dword(const char* name, DWORD value)
    {
        ::RegSetValueExA(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
    }
    // withZero false: the bytes of the text without a terminating zero.
    void String(const char* name, const std::string& value, bool withZero = true, DWORD type = REG_SZ)
    {
        ::RegSetValueExA(m_hKey, name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                         DWORD(value.size() + (withZero ? 1 : 0)));
    }

private:
    const char* m_path;
    HKEY m_hKey = NULL;
};

std::string TempPath(const char* name)
{
    char folder[MAX_PATH];
    ::GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

std::string FileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

TEST(ProxyWindows, RegistryValuesFitTheirFields)
{
    RegistryKey key(kTestKey);
    key.Dword("Port", 1080);
    key.String("PortAsText", "1080");
    key.String("Fits", std::string(39, 'a'));
    key.String("TooLong", std::string(40, 'b'));
    key.String("FullWithoutZero", std::string(40, 'c'), false);
    key.String("ShortWithoutZero", "abc", false);
    key.String("Expandable", "%TEMP%", true, REG_EXPAND_SZ);
    key.String("Empty", "");
    {
        HKEY h;
        ::RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_SET_VALUE, &h);
        const BYTE bytes[3] = {1, 2, 3};
        ::RegSetValueExA(h, "Binary", 0, REG_BINARY, bytes, sizeof bytes);
        ::RegCloseKey(h);
    }

    CRegistryValueSource values(HKEY_CURRENT_USER, kTestKey);
    uint32_t dword = 0;
    EXPECT_TRUE(values.ReadDword("Port", dword));
    EXPECT_EQ(dword, 1080u);
    EXPECT_FALSE(values.ReadDword("PortAsText", dword));
    EXPECT_FALSE(values.ReadDword("Missing", dword));

    const struct {
        const char* name;
        bool ok;
        std::string value;
    } strings[] = {
        {"Fits", true, std::string(39, 'a')},
        {"TooLong", false, ""},
        {"FullWithoutZero", false, ""},
        {"ShortWithoutZero", true, "abc"},
        {"Expandable", true, "%TEMP%"},
        {"Empty", true, ""},
        {"Binary", false, ""},
        {"Port", false, ""},
        {"Missing", false, ""},
    };
    for (const auto& c : strings) {
        SCOPED_TRACE(c.name);
        std::string value = "stale";
        EXPECT_EQ(values.ReadString(c.name, 40, value), c.ok);
        if (c.ok) {
            EXPECT_EQ(value, c.value);
        }
    }

    CRegistryValueSource missing(HKEY_CURRENT_USER, "Software\\Quorvintel\\MardavelTests\\NoSuchKey");
    EXPECT_FALSE(missing.ReadDword("Port", dword));
    std::string text;
    EXPECT_FALSE(missing.ReadString("Fits", 40, text));
}

TEST(ProxyWindows, SettingsFromTheRegistry)
{
    {
        RegistryKey key(kTestKey);
        key.Dword("ProxyEnable", 1);
        key.String("SocksServer", "10.0.0.5");
        key.Dword("SocksPort", 1080);
        key.Dword("SocksVersion", 5);
        key.String("UserName", "alice");
        key.String("Password", std::string(64, 'p'));   // beyond its 64-byte field
        CRegistryValueSource values(HKEY_CURRENT_USER, kTestKey);
        const SocksProxySettings socks = ReadSocksProxySettings(values);
        EXPECT_TRUE(socks.enabled);
        EXPECT_EQ(socks.host, "10.0.0.5");
        EXPECT_EQ(socks.port, 1080);
        EXPECT_EQ(socks.version, 5u);
        EXPECT_EQ(socks.user, "alice");
        EXPECT_EQ(socks.password, "");
    }
    RegistryKey key(kTestKey);
    key.Dword("ProxyEnable", 1);
    key.Dword("SocksVersion", 1);
    key.Dword("HttpProxyType", 1);
    key.String("TransServer", "10.0.0.7");
    key.Dword("TransServerPort", 8080);
    key.String("HttpProxyUser", "alice");
    key.String("HttpProxyPass", "secret");
    RegistryKey browser(kTestBrowserKey);
    browser.Dword("ProxyEnable", 1);
    browser.String("ProxyServer", "10.0.0.9:3128");
    CRegistryValueSource values(HKEY_CURRENT_USER, kTestKey);
    CRegistryValueSource browserValues(HKEY_CURRENT_USER, kTestBrowserKey);
    const TunnelSettings tunnel = ReadTunnelSettings(values, browserValues);
    EXPECT_EQ(int(tunnel.config), int(TunnelConfig::kTunnel));
    EXPECT_EQ(tunnel.relayHost, "10.0.0.7");
    EXPECT_EQ(tunnel.relayPort, 8080);
    EXPECT_TRUE(tunnel.useProxy);
    EXPECT_TRUE(tunnel.useBrowserProxy);
    EXPECT_EQ(tunnel.proxyHost, "10.0.0.9");
    EXPECT_EQ(tunnel.proxyPort, 3128);
    EXPECT_EQ(tunnel.authLine, "Proxy-Authorization: Basic YWxpY2U6c2VjcmV0");
}

TEST(ProxyWindows, ProfileFiles)
{
    const std::string path = TempPath("mardavel-proxy-profile.ini");
    ::DeleteFileA(path.c_str());
    CPrivateProfileStore store(path);
    EXPECT_EQ(store.GetString("TavryProxy", "80PortIP", "none", 39), "none");
    EXPECT_EQ(store.GetInt("TavryProxy", "Port", 80), 80);
    EXPECT_TRUE(store.WriteString("TavryProxy", "Port", "1080"));
    EXPECT_TRUE(store.WriteString("TavryProxy", "TavryUser", std::string(70, 'u')));
    EXPECT_EQ(store.GetInt("TavryProxy", "Port", 80), 1080);
    EXPECT_EQ(store.GetString("TavryProxy", "TavryUser", "", 63), std::string(63, 'u'));
    EXPECT_TRUE(store.DeleteKey("TavryProxy", "Port"));
    EXPECT_EQ(store.GetInt("TavryProxy", "Port", 80), 80);
    ::DeleteFileA(path.c_str());
}

TEST(ProxyWindows, RelaySettingsFileHoldsScrambledNames)
{
    const std::string languagePath = TempPath("mardavel-proxy-langrsc.ini");
    const std::string settingsPath = TempPath("mardavel-proxy-TavryProxy.dat");
    ::DeleteFileA(languagePath.c_str());
    ::DeleteFileA(settingsPath.c_str());
    CPrivateProfileStore language(languagePath);
    CPrivateProfileStore file(settingsPath);
    language.WriteString("TavryProxy", "1", "10.0.0.1;4001;4002");
    CRelaySettings settings(language, file);
    EXPECT_EQ(settings.RelayForPort(4002), "10.0.0.1");
    EXPECT_TRUE(settings.GetRelayUse());
    settings.MarkServer("10.1.1.1", 4002, true);
    EXPECT_TRUE(settings.IsServerMarked("10.1.1.1", 4002));

    const std::string text = FileText(settingsPath);
    EXPECT_NE(text.find("[" + ScrambleRelayName("Setting", true) + "]"), std::string::npos) << text;
    EXPECT_NE(text.find(ScrambleRelayName("UseTavryNet", true) + "=1"), std::string::npos) << text;
    EXPECT_NE(text.find("[" + ScrambleRelayName("4002", true) + "]"), std::string::npos) << text;
    EXPECT_NE(text.find(ScrambleRelayName("10.1.1.1", true) + "=1"), std::string::npos) << text;
    EXPECT_EQ(text.find("10.1.1.1"), std::string::npos) << text;

    settings.MarkServer("10.1.1.1", 4002, false);
    EXPECT_FALSE(settings.IsServerMarked("10.1.1.1", 4002));
    ::DeleteFileA(languagePath.c_str());
    ::DeleteFileA(settingsPath.c_str());
}
