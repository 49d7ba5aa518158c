#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "Board.h"
#include "BoardIni.h"

namespace {

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Case-blind comparison of two names, the second of any length.
int CompareNoCase(const char* a, const char* b)
{
    for (;; ++a, ++b) {
        const unsigned char ca = static_cast<unsigned char>(AsciiLower(*a));
        const unsigned char cb = static_cast<unsigned char>(AsciiLower(*b));
        if (ca != cb || ca == 0)
            return ca < cb ? -1 : (ca > cb ? 1 : 0);
    }
}

std::string FixedText(const char* field, size_t size)
{
    const void* end = std::memchr(field, 0, size);
    return std::string(field, end ? static_cast<const char*>(end) - field : size);
}

void ReplaceAll(std::string& text, const std::string& what, const std::string& with)
{
    for (size_t at = text.find(what); at != std::string::npos;
         at = text.find(what, at + with.size())) {
        text.replace(at, what.size(), with);
    }
}

std::string Trimmed(const std::string& s)
{
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return std::string();
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

// Decimal number of a map field; out-of-range values are clamped.
int64_t FieldNumber(const std::string& field)
{
    const long long v = std::strtoll(field.c_str(), nullptr, 10);
    return std::clamp<long long>(v, INT32_MIN, INT32_MAX);
}

int32_t ClampToInt32(int64_t v)
{
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// A key of the form name[a-b] or name[a,b], blanks allowed before the numbers.
struct KeyRange {
    std::string name;
    int32_t first = 0;
    int32_t last = 0;
};

bool ParseNumberAt(const std::string& s, size_t& pos, int32_t& value)
{
    while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t'))
        ++pos;
    const size_t start = pos;
    int64_t v = 0;
    while (pos < s.size() && s[pos] >= '0' && s[pos] <= '9' && pos - start < 9)
        v = v * 10 + (s[pos++] - '0');
    if (pos == start || (pos < s.size() && s[pos] >= '0' && s[pos] <= '9'))
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

bool ParseKeyRange(const std::string& key, KeyRange& range)
{
    const size_t open = key.find('[');
    if (open == std::string::npos || key.empty() || key.back() != ']')
        return false;
    size_t pos = open + 1;
    if (!ParseNumberAt(key, pos, range.first))
        return false;
    while (pos < key.size() && (key[pos] == ' ' || key[pos] == '\t'))
        ++pos;
    if (pos >= key.size() || (key[pos] != '-' && key[pos] != ','))
        return false;
    ++pos;
    if (!ParseNumberAt(key, pos, range.last))
        return false;
    while (pos < key.size() && (key[pos] == ' ' || key[pos] == '\t'))
        ++pos;
    if (pos != key.size() - 1)
        return false;
    range.name = key.substr(0, open);
    return true;
}

}  // namespace

CBoardClient::~CBoardClient()
{
    gpFree(m_pScriptMap);
    gpFree(m_pfFuncMap);
    gpFree(m_pdwVarName);
}

int CBoardClient::Init(int32_t mode, BoardCallback callback, uintptr_t cookie,
                       const BoardInitBlock* init)
{
    if (!CBoard::Init(mode, callback, cookie, init))
        return 0;
    m_pScriptMap = static_cast<ScriptMapEntry*>(gpMalloc(kMaxMapEntries * sizeof(ScriptMapEntry)));
    if (!m_pScriptMap) {
        Log("m_pScriptMap (PQVSCRIPTMAP)gpMalloc !!!");
        return 0;
    }
    std::memset(m_pScriptMap, 0, kMaxMapEntries * sizeof(ScriptMapEntry));
    m_pfFuncMap = static_cast<MapFunc*>(gpMalloc(kMaxMapEntries * sizeof(MapFunc)));
    if (!m_pfFuncMap) {
        Log("m_pfFuncMap (MAPFUNC *)gpMalloc Failed !!!");
        return 0;
    }
    std::memset(m_pfFuncMap, 0, kMaxMapEntries * sizeof(MapFunc));
    m_pdwVarName = static_cast<int32_t**>(gpMalloc(kMaxMapEntries * sizeof(int32_t*)));
    if (!m_pdwVarName) {
        Log("m_pdwVarName (DWORD *)gpMalloc Failed !!!");
        return 0;
    }
    std::memset(m_pdwVarName, 0, kMaxMapEntries * sizeof(int32_t*));
    AddAreaTable();
    SortNameIndex();
    return 1;
}

int CBoardClient::OnEvent(int32_t code, int32_t userId, int32_t identify, void* param)
{
    const int framework = CBoard::OnEvent(code, userId, identify, param);
    if (framework != 0)
        return framework;
    if (code == kEvLoadDisplayMap) {
        if (IsReferee())
            return -1;
        return LoadMap() ? 1 : -1;
    }
    if (code >= kEvDisplayObjectFirst && code <= kEvDisplayObjectLast) {
        ScriptMapEntry* entry = FindMapEntryById(userId);
        return entry ? OnDisplayObjectEvent(code, *entry, identify) : 0;
    }
    if (code == kEvRunMapFunction)
        return RunMapFunction(userId, identify);
    return 0;
}

int CBoardClient::OnDisplayObjectEvent(int32_t, ScriptMapEntry&, int32_t)
{
    return 0;
}

int CBoardClient::RunMapFunction(int32_t objectId, int32_t value)
{
    ScriptMapEntry* entry = FindMapEntryById(objectId);
    if (!entry || entry->funcIndex < 0 || entry->funcIndex >= m_funcCount)
        return 0;
    MapFunc function = m_pfFuncMap[entry->funcIndex];
    if (!function)
        return 0;
    return function(*this, *entry, value) ? 1 : -1;
}

int CBoardClient::AddAreaTable()
{
    m_areaVariable = 0;
    if (!AddMap("areaTable", &m_areaVariable, nullptr))
        return 0;
    ScriptMapEntry& entry = m_pScriptMap[m_mapCount - 1];
    entry.kind = 9;
    entry.objectId = 0;
    SortIdIndex();
    return 1;
}

int CBoardClient::AddMap(const char* name, int32_t* variable, MapFunc function)
{
    if (!m_pScriptMap || !m_pfFuncMap || !m_pdwVarName || m_mapCount >= kMaxMapEntries) {
        Log("CBoardClient::AddMap Failed ");
        return 0;
    }
    ScriptMapEntry& entry = m_pScriptMap[m_mapCount];
    std::memset(&entry, 0, sizeof entry);
    if (name)
        std::strncpy(entry.name, name, sizeof entry.name - 1);
    entry.kind = -1;
    entry.objectId = -1;
    entry.varIndex = -1;
    entry.funcIndex = -1;
    if (variable) {
        m_pdwVarName[m_varCount] = variable;
        entry.varIndex = m_varCount++;
    }
    if (function) {
        m_pfFuncMap[m_funcCount] = function;
        entry.funcIndex = m_funcCount++;
    }
    m_nameIndex[m_mapCount] = static_cast<uint8_t>(m_mapCount);
    m_idIndex[m_mapCount] = static_cast<uint8_t>(m_mapCount);
    ++m_mapCount;
    SortNameIndex();
    SortIdIndex();
    return 1;
}

void CBoardClient::SortNameIndex()
{
    std::stable_sort(m_nameIndex.begin(), m_nameIndex.begin() + m_mapCount,
                     [this](uint8_t a, uint8_t b) {
                         return CompareNoCase(m_pScriptMap[a].name, m_pScriptMap[b].name) < 0;
                     });
}

void CBoardClient::SortIdIndex()
{
    std::stable_sort(m_idIndex.begin(), m_idIndex.begin() + m_mapCount,
                     [this](uint8_t a, uint8_t b) {
                         return m_pScriptMap[a].objectId < m_pScriptMap[b].objectId;
                     });
}

ScriptMapEntry* CBoardClient::FindMapEntryByName(const char* name)
{
    if (!name || m_mapCount == 0)
        return nullptr;
    const auto end = m_nameIndex.begin() + m_mapCount;
    const auto it = std::lower_bound(m_nameIndex.begin(), end, name,
                                     [this](uint8_t i, const char* n) {
                                         return CompareNoCase(m_pScriptMap[i].name, n) < 0;
                                     });
    if (it == end || CompareNoCase(m_pScriptMap[*it].name, name) != 0)
        return nullptr;
    return &m_pScriptMap[*it];
}

ScriptMapEntry* CBoardClient::FindMapEntryById(int32_t objectId)
{
    if (m_mapCount == 0)
        return nullptr;
    const auto end = m_idIndex.begin() + m_mapCount;
    const auto it = std::lower_bound(m_idIndex.begin(), end, objectId,
                                     [this](uint8_t i, int32_t id) {
                                         return m_pScriptMap[i].objectId < id;
                                     });
    if (it == end || m_pScriptMap[*it].objectId != objectId)
        return nullptr;
    return &m_pScriptMap[*it];
}

const char* CBoardClient::KeepText(const char* text)
{
    m_texts.emplace_back(text ? text : "");
    return m_texts.back().c_str();
}

// ---- Loading the map ----------------------------------------------------------

int CBoardClient::LoadMap()
{
    const std::string path = FixedText(m_init.mapIniPath, sizeof m_init.mapIniPath);
    CBoardIni ini;
    if (!ini.LoadFile(path.c_str())) {
        Log("CBoardClient::LoadMap, cannot read the map : %s", path.c_str());
        return 0;
    }
    bool loaded = true;
    for (const std::string& key : ini.KeyNames("ObjList", kObjListBytes)) {
        if (!LoadMapKey(ini, key)) {
            loaded = false;
            break;
        }
    }
    SortIdIndex();
    return loaded ? 1 : 0;
}

std::string CBoardClient::SubstituteFolders(std::string line) const
{
    ReplaceAll(line, "%ClientExePath%", FixedText(m_init.clientExePath, sizeof m_init.clientExePath));
    ReplaceAll(line, "%ClientDllPath%", FixedText(m_init.clientDllPath, sizeof m_init.clientDllPath));
    ReplaceAll(line, "%GameDllPath%", FixedText(m_init.gameDllPath, sizeof m_init.gameDllPath));
    return line;
}

bool CBoardClient::LoadMapKey(const CBoardIni& ini, const std::string& key)
{
    const std::string mapLine = ini.Value("ObjList", key.c_str(), kMapLineChars);
    if (mapLine.empty()) {
        Log("Read MapLine Failed : %s", key.c_str());
        return true;
    }
    std::string propLine = ini.Value("Prop", key.c_str(), kPropLineChars);
    if (propLine.empty()) {
        Log("Read PropLine Failed : %s", key.c_str());
        return true;
    }
    propLine = SubstituteFolders(propLine);

    KeyRange range;
    int created = 1;
    if (!ParseKeyRange(key, range)) {
        created = CreateObject(key, mapLine, propLine);
    } else if (range.last < range.first || range.last - range.first >= kMaxRangeObjects) {
        Log("MapLine %s Error, bad range %s !!!", mapLine.c_str(), key.c_str());
    } else {
        for (int32_t d = range.first; d <= range.last && created == 1; ++d) {
            const std::string number = std::to_string(d);
            std::string objectMapLine = mapLine;
            std::string objectPropLine = propLine;
            ReplaceAll(objectMapLine, "%d", number);
            ReplaceAll(objectPropLine, "%d", number);
            created = CreateObject(range.name + number, objectMapLine, objectPropLine);
        }
    }
    if (created < 0) {
        Log("QVBCB_GAMEEVT_LOADDISOBJ failed !!!%s ", key.c_str());
        return false;
    }
    return true;
}

int CBoardClient::CreateObject(const std::string& name, const std::string& mapLine,
                               const std::string& propLine)
{
    std::string fields[3];
    int count = 0;
    size_t start = 0;
    while (count < 3) {
        const size_t comma = count < 2 ? mapLine.find(',', start) : std::string::npos;
        fields[count++] = Trimmed(mapLine.substr(start, comma == std::string::npos ? std::string::npos
                                                                                   : comma - start));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    if (count < 2) {
        Log("MapLine %s Error n < 2 !!!", mapLine.c_str());
        return 0;
    }
    const int32_t kind = ClampToInt32(FieldNumber(fields[0]));
    const int32_t objectId =
        ClampToInt32(FieldNumber(fields[1]) + (count == 3 ? FieldNumber(fields[2]) : 0));

    ScriptMapEntry* entry = FindMapEntryByName(name.c_str());
    if (entry) {
        entry->kind = kind;
        entry->objectId = objectId;
        if (entry->varIndex >= 0 && entry->varIndex < m_varCount)
            *m_pdwVarName[entry->varIndex] = objectId;
    } else {
        Log("Warning ! ,Not find varName : %s ", name.c_str());
    }
    const std::string line = "id=" + std::to_string(objectId) + ";" + propLine;
    const int32_t created = Callback(kCbCreateDisplayObject, reinterpret_cast<intptr_t>(line.c_str()),
                                     0, 0, kind);
    return created ? 1 : -1;
}
