// SkinManager.cpp - see SkinManager.h.
#include "SkinManager.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "TimeRangeList.h"
#include "store/QVIniFile.h"

namespace {

void Copy31(char* field, const char* text)
{
    lstrcpynA(field, text ? text : "", 32);
}

std::string RegistryPath(const char* key)
{
    char value[MAX_PATH] = "";
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_CURRENT_USER, key, "Path", RRF_RT_REG_SZ, NULL, value, &size) != ERROR_SUCCESS)
        return std::string();
    return value;
}

// The key names of a section, each NUL-terminated.
std::vector<std::string> KeyNames(CQVIniFile& ini, const char* section)
{
    std::vector<std::string> names;
    char buffer[1024];
    const int n = ini.GetKeyNames(section, buffer, sizeof(buffer));
    for (int i = 0; i < n && buffer[i] != 0;) {
        const size_t len = strnlen(buffer + i, static_cast<size_t>(n - i));
        names.emplace_back(buffer + i, len);
        i += static_cast<int>(len) + 1;
    }
    return names;
}

}  // namespace

CSkinManager::CSkinManager()
    : m_szGameName(), m_szSkinIdentify(), m_szSkinFolder(), m_szIniPath(), m_szResult(), m_pDownloader(NULL),
      m_pfnClock(NULL)
{
}

CSkinManager::~CSkinManager() {}

std::string CSkinManager::ReadSharePath() { return RegistryPath("Software\\Quorvintel\\Game\\share"); }

std::string CSkinManager::ReadGamePath()
{
    return RegistryPath((std::string("Software\\Quorvintel\\Game\\") + m_szGameName).c_str());
}

void CSkinManager::Trace(const char*) {}

BOOL CSkinManager::Init(const char* pcszGameName, const char* pcszSkinIdentify)
{
    if (m_szGameName[0] != 0) {
        Trace("已经调用过Init()函数了");
        return FALSE;
    }
    if (pcszGameName == NULL || *pcszGameName == 0 || pcszSkinIdentify == NULL || *pcszSkinIdentify == 0) {
        char text[160];
        snprintf(text, sizeof text, "调用Init，无效的参数（pcszGameName=%.31s，pcszSkinIdentify=%.31s）",
                 pcszGameName ? pcszGameName : "(null)", pcszSkinIdentify ? pcszSkinIdentify : "(null)");
        Trace(text);
        return FALSE;
    }
    const std::string share = ReadSharePath();
    char folder[MAX_PATH], ini[MAX_PATH];
    const int a = snprintf(folder, sizeof folder, "%s\\skin", share.c_str());
    const int b = snprintf(ini, sizeof ini, "%s\\ZozeRidadoDodu.ini", folder);
    if (a < 0 || a >= MAX_PATH || b < 0 || b >= MAX_PATH)
        return FALSE;
    Copy31(m_szGameName, pcszGameName);
    Copy31(m_szSkinIdentify, pcszSkinIdentify);
    strcpy(m_szSkinFolder, folder);
    strcpy(m_szIniPath, ini);
    return TRUE;
}

bool CSkinManager::SafeName(const char* name)
{
    return *name != 0 && strstr(name, "..") == NULL && strpbrk(name, "\\/:") == NULL;
}

BOOL CSkinManager::ParseIniLine(const char* line, SkinLine* entry)
{
    static const char* const kMissing[6] = {
        "ParseIniLine(%.200s),缺少皮肤标志名", "ParseIniLine(%.200s),缺少皮肤标示名",
        "ParseIniLine(%.200s),缺少皮肤ID",     "ParseIniLine(%.200s),缺少使用时间段",
        "ParseIniLine(%.200s),缺少皮肤包名称", "ParseIniLine(%.200s),缺少皮肤包版本",
    };
    std::string fields[7];
    const char* p = line;
    for (int i = 0; i < 6; i++) {
        const char* comma = strchr(p, ',');
        if (comma == NULL) {
            char text[320];
            snprintf(text, sizeof text, kMissing[i], line);
            Trace(text);
            return FALSE;
        }
        fields[i].assign(p, comma);
        p = comma + 1;
    }
    fields[6] = p;
    SkinLine e;
    e.id = atoi(fields[0].c_str());
    Copy31(e.flagName, fields[1].c_str());
    Copy31(e.identity, fields[2].c_str());
    e.ranges = fields[3];
    Copy31(e.packName, fields[4].c_str());
    Copy31(e.packVersion, fields[5].c_str());
    e.flags = atoi(fields[6].c_str()) & 11;
    // The identity names a folder under the skin folder, the pack name a
    // file the lobby fetches: neither may lead anywhere else.
    if (!SafeName(e.identity) || !SafeName(e.packName))
        return FALSE;
    *entry = e;
    return TRUE;
}

uint32_t CSkinManager::VersionNumber(const char* text)
{
    uint32_t parts[4] = {0, 0, 0, 0};
    const char* p = text;
    for (int i = 0; i < 4 && p != NULL && *p != 0; i++) {
        parts[i] = static_cast<uint32_t>(atoi(p)) & 0xFF;
        p = strchr(p, '.');
        if (p != NULL)
            p++;
    }
    return (parts[0] << 24) | (parts[1] << 16) | (parts[2] << 8) | parts[3];
}

std::string CSkinManager::PackVersion(const char* identity)
{
    char path[MAX_PATH];
    const int n = snprintf(path, sizeof path, "%s\\%s\\%s\\version.ini", m_szSkinFolder, m_szGameName, identity);
    if (n < 0 || n >= MAX_PATH)
        return std::string();
    CQVIniFile ini;
    if (GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES || !ini.LoadFile(path))
        return std::string();
    char version[32] = "";
    ini.GetString("Version", "Version", "", version, sizeof version);
    return version;
}

BOOL CSkinManager::ParseRanges(const std::string& text, CTimeRangeList& ranges)
{
    ranges.SetClock(m_pfnClock);
    size_t start = 0;
    while (start <= text.size()) {
        size_t amp = text.find('&', start);
        if (amp == std::string::npos)
            amp = text.size();
        const std::string one = text.substr(start, amp - start);
        if (!one.empty())
            ranges.Parse(one.c_str(), 0, TRUE);
        start = amp + 1;
    }
    return ranges.GetCount() > 0;
}

BOOL CSkinManager::LoadSkins()
{
    if (m_szGameName[0] == 0) {
        Trace("请先调用Init()设置游戏的信息！");
        return FALSE;
    }
    const std::string defaults = ReadGamePath();
    for (int i = 0; i < 4; i++)
        lstrcpynA(m_szResult[i], defaults.c_str(), MAX_PATH);
    CQVIniFile ini;
    if (!ini.LoadFile(m_szIniPath))
        return FALSE;
    const std::vector<std::string> keys = KeyNames(ini, m_szGameName);
    if (keys.empty())
        return FALSE;
    BOOL set = FALSE;
    for (const std::string& key : keys) {
        char value[1024] = "";
        ini.GetString(m_szGameName, key.c_str(), "", value, sizeof value);
        SkinLine e;
        if (value[0] == 0 || !ParseIniLine(value, &e))
            continue;
        if (e.id == 0 || lstrcmpiA(e.flagName, m_szSkinIdentify) != 0)
            continue;
        CTimeRangeList ranges;
        ParseRanges(e.ranges, ranges);
        if (!ranges.IsInside(NULL, NULL))
            continue;
        const std::string installed = PackVersion(e.identity);
        if (installed.empty() || lstrcmpiA(installed.c_str(), e.packVersion) != 0)
            continue;
        char folder[MAX_PATH];
        const int n = snprintf(folder, sizeof folder, "%s\\%s\\%s", m_szSkinFolder, m_szGameName, e.identity);
        if (n < 0 || n >= MAX_PATH)
            continue;
        if (e.flags & 1) {
            strcpy(m_szResult[0], folder);
            set = TRUE;
        }
        if (e.flags & 3) {
            strcpy(m_szResult[1], folder);
            set = TRUE;
        }
        if (e.flags & 8) {
            strcpy(m_szResult[2], folder);
            set = TRUE;
        }
        if (e.flags & 2) {
            strcpy(m_szResult[3], folder);
            set = TRUE;
        }
    }
    return set;
}

void CSkinManager::HandleNetSkinData(const char* text, size_t length)
{
    if (m_szGameName[0] == 0 || text == NULL || length == 0)
        return;
    // The section must end inside the given bytes with its empty string.
    bool closed = text[0] == 0;
    for (size_t i = 0; !closed && i + 1 < length; i++)
        closed = text[i] == 0 && text[i + 1] == 0;
    if (!closed) {
        Trace("调用HandleNetSkinData，数据没有结束符！");
        return;
    }
    WritePrivateProfileSectionA(m_szGameName, text, m_szIniPath);
    CQVIniFile ini;
    if (!ini.LoadFile(m_szIniPath)) {
        char line[MAX_PATH + 64];
        snprintf(line, sizeof line, "调用HandleNetSkinData，打开配置文件（%s）失败！", m_szIniPath);
        Trace(line);
        return;
    }
    for (const std::string& key : KeyNames(ini, m_szGameName)) {
        char value[1024] = "";
        ini.GetString(m_szGameName, key.c_str(), "", value, sizeof value);
        SkinLine e;
        if (value[0] == 0 || !ParseIniLine(value, &e))
            continue;
        if (e.id == 0 || lstrcmpiA(e.flagName, m_szSkinIdentify) != 0)
            continue;
        CTimeRangeList ranges;
        ParseRanges(e.ranges, ranges);
        if (ranges.IsAllOver())
            continue;
        if (lstrcmpiA(PackVersion(e.identity).c_str(), e.packVersion) == 0)
            continue;
        if (m_pDownloader != NULL)
            m_pDownloader->RequestPack(e.packName, VersionNumber(e.packVersion));
    }
}
