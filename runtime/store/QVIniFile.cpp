#include "QVIniFile.h"

#include "BlockCompress.h"
#include "FilePaths.h"
#include "RC6Cipher.h"
#include "StoreText.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

const char* const CQVIniFile::kDefaultKey = "KZVRQDMX";

// Holds the store's critical section for a scope.
class CQVIniFile::Lock
{
public:
    explicit Lock(CRITICAL_SECTION& section) : m_section(section) { ::EnterCriticalSection(&m_section); }
    ~Lock() { ::LeaveCriticalSection(&m_section); }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
    CRITICAL_SECTION& m_section;
};

using namespace storetext;

namespace {

bool IsTrimmed(char c)
{
    return c == ' ';
}

// Trims spaces (not tabs) from both ends of [begin, end) in place.
char* TrimSpaces(char* begin, char* end)
{
    while (begin < end && IsTrimmed(*begin))
        ++begin;
    while (end > begin && IsTrimmed(end[-1]))
        --end;
    *end = '\0';
    return begin;
}

bool HasLineBreak(const char* text)
{
    return text && (strchr(text, '\r') || strchr(text, '\n'));
}

void Encipher(std::string& body, const std::string& key, bool decipher)
{
    CRC6Cipher cipher;
    cipher.SetKey(key.data(), uint32_t(key.size() * 8));
    if (decipher)
        cipher.DecryptBuffer(&body[0], uint32_t(body.size()));
    else
        cipher.EncryptBuffer(&body[0], uint32_t(body.size()));
}

} // namespace

CQVIniFile::CQVIniFile()
{
    ::InitializeCriticalSection(&m_lock);
}

CQVIniFile::~CQVIniFile()
{
    Clear();
    ::DeleteCriticalSection(&m_lock);
}

BOOL CQVIniFile::IsLoaded() const
{
    Lock lock(m_lock);
    return m_loaded;
}

BOOL CQVIniFile::IsModified() const
{
    Lock lock(m_lock);
    return m_modified;
}

BOOL CQVIniFile::IsEnciphered() const
{
    Lock lock(m_lock);
    return m_encipher;
}

std::string CQVIniFile::GetFileName() const
{
    Lock lock(m_lock);
    return m_fileName;
}

BOOL CQVIniFile::LoadFile(const char* path, BOOL encipher, const char* key, BOOL create)
{
    Lock lock(m_lock);
    // Unsaved changes go to their file before it is read again.
    ClearLocked();
    if (!path || !*path || strlen(path) >= MAX_PATH)
        return FALSE;
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL,
                                create ? OPEN_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    LARGE_INTEGER size;
    char* text = nullptr;
    DWORD got = 0;
    BOOL read = FALSE;
    if (::GetFileSizeEx(file, &size) && size.QuadPart <= kMaxFileSize) {
        text = static_cast<char*>(malloc(size_t(size.QuadPart) + 1));
        read = text && (size.QuadPart == 0
                        || (::ReadFile(file, text, DWORD(size.QuadPart), &got, NULL)
                            && got == DWORD(size.QuadPart)));
    }
    ::CloseHandle(file);
    BOOL ok = read && LoadFromMemory(text, int(got), encipher, key);
    free(text);
    if (ok) {
        try {
            m_fileName = path;
        } catch (const std::bad_alloc&) {
            ok = FALSE;
        }
    }
    return ok;
}

BOOL CQVIniFile::LoadFromMemory(const void* buffer, int length, BOOL encipher, const char* key)
{
    Lock lock(m_lock);
    ClearLocked();
    m_loaded = FALSE;
    m_modified = FALSE;
    if (!buffer || length <= 0)
        length = 0;
    try {
        // A private copy; each line is ended in place (the string's own
        // terminator ends the last one).
        std::string text(length ? static_cast<const char*>(buffer) : "", size_t(length));

        const bool enciphered = length >= 4 && ReadLe32(text.data()) == kEncipheredMagic;
        // The store is written back in the form it was read; only an empty
        // text takes the form asked for.
        m_encipher = length == 0 ? (encipher ? TRUE : FALSE) : (enciphered ? TRUE : FALSE);
        m_key = key ? key : kDefaultKey;

        std::string body = enciphered ? text.substr(4) : std::move(text);
        if (enciphered && !body.empty())
            Encipher(body, m_key, true);
        if (memchr(body.data(), '\0', body.size()))
            return FALSE;
        m_loaded = TRUE;
        return ParseText(&body[0], body.size());
    } catch (const std::bad_alloc&) {
        ClearLocked();
        return FALSE;
    }
}

BOOL CQVIniFile::ParseText(char* text, size_t length)
{
    Section* current = nullptr;
    char* end = text + length;
    char* line = text;
    while (line < end) {
        char* stop = line;
        while (stop < end && *stop != '\r' && *stop != '\n')
            ++stop;
        if (stop - line >= kLineLimit) {
            m_loaded = FALSE;
            return FALSE;
        }
        const bool terminated = stop < end;
        *stop = '\0';   // the copy has room for this even at the very end
        ParseLine(line, current);
        line = stop + (terminated ? 1 : 0);
        if (!terminated)
            break;
    }
    return TRUE;
}

void CQVIniFile::ParseLine(char* line, Section*& current)
{
    while (*line == ' ' || *line == '\r' || *line == '\n')
        ++line;
    if (!*line || *line == ';')
        return;

    if (*line == '[') {
        char* close = FindFirstChar(line + 1, ']');
        if (!close)
            return;
        char* name = TrimSpaces(line + 1, close);
        if (!*name)
            return;
        Section* section = FindSection(name);
        current = section ? section : AddSection(name);
        return;
    }

    char* equals = FindFirstChar(line, '=');
    if (!equals || equals == line)
        return;
    char* value = equals + 1;
    char* comment = FindFirstChar(value, ';');
    char* valueEnd = comment ? comment : value + strlen(value);
    char* key = TrimSpaces(line, equals);
    value = TrimSpaces(value, valueEnd);
    if (!*key || !*value)
        return;

    Section* section = current;
    if (!section) {
        section = FindSection(nullptr);
        if (!section)
            section = AddSection(nullptr);
    }
    Pair* pair = FindPair(*section, key);
    if (!pair) {
        section->pairs.push_back(Pair{ key, std::string(), false });
        pair = &section->pairs.back();
    }
    pair->value = value;
    pair->hasValue = true;
}

CQVIniFile::Section* CQVIniFile::FindSection(const char* name) const
{
    for (const auto& section : m_sections) {
        if (!name ? !section->named
                  : (section->named && CompareNamesNoCase(section->name.c_str(), name) == 0))
            return section.get();
    }
    return nullptr;
}

CQVIniFile::Section* CQVIniFile::AddSection(const char* name)
{
    std::unique_ptr<Section> section(new Section);
    Section* added = section.get();
    if (name) {
        section->named = true;
        section->name = name;
        m_sections.push_back(std::move(section));
    } else {
        // The unnamed section always stands first.
        m_sections.insert(m_sections.begin(), std::move(section));
    }
    return added;
}

CQVIniFile::Pair* CQVIniFile::FindPair(Section& section, const char* key)
{
    for (Pair& pair : section.pairs)
        if (CompareNamesNoCase(pair.key.c_str(), key) == 0)
            return &pair;
    return nullptr;
}

std::string CQVIniFile::BuildText() const
{
    std::string text;
    for (const auto& section : m_sections) {
        if (section->named) {
            text += "\r\n[";
            text += section->name;
            text += "]\r\n";
        }
        for (const Pair& pair : section->pairs) {
            if (!pair.hasValue)
                continue;
            text += pair.key;
            text += '=';
            text += pair.value;
            text += "\r\n";
        }
    }
    return text;
}

BOOL CQVIniFile::Save(const char* path)
{
    Lock lock(m_lock);
    return SaveLocked(path);
}

BOOL CQVIniFile::SaveLocked(const char* path)
{
    if (!m_modified || !m_loaded) {
        m_modified = FALSE;
        return TRUE;
    }
    const char* target = path ? path : m_fileName.c_str();
    if (!*target)
        return FALSE;
    try {
        std::string output;
        if (m_encipher) {
            std::string body = BuildText();
            if (!body.empty())
                Encipher(body, m_key, false);
            output.resize(4);
            WriteLe32(&output[0], kEncipheredMagic);
            output += body;
        } else {
            output = BuildText();
        }
        if (output.size() > 0xFFFFFFF0u
            || !WriteFileReplacing(target, output.data(), uint32_t(output.size())))
            return FALSE;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    m_modified = FALSE;
    return TRUE;
}

void CQVIniFile::Clear()
{
    Lock lock(m_lock);
    ClearLocked();
}

void CQVIniFile::ClearLocked()
{
    SaveLocked(nullptr);
    m_sections.clear();
    m_key.clear();
    m_fileName.clear();
    m_loaded = FALSE;
    m_modified = FALSE;
}

int CQVIniFile::GetString(const char* section, const char* key, const char* defaultValue,
                          char* buffer, int size)
{
    if (!key || !buffer || size <= 0)
        return 0;
    Lock lock(m_lock);
    Section* found = FindSection(section);
    Pair* pair = found ? FindPair(*found, key) : nullptr;
    if (pair && !pair->hasValue) {
        buffer[0] = '\0';
        return 1;
    }
    const char* text = pair ? pair->value.c_str() : defaultValue;
    if (!text)
        return 0;
    const size_t length = strlen(text);
    const size_t copied = CharBoundary(text, length, size_t(size) - 1);
    memcpy(buffer, text, copied);
    buffer[copied] = '\0';
    return int(copied);
}

int CQVIniFile::GetInt(const char* section, const char* key, int defaultValue)
{
    if (!key)
        return defaultValue;
    Lock lock(m_lock);
    Section* found = FindSection(section);
    Pair* pair = found ? FindPair(*found, key) : nullptr;
    if (!pair || !pair->hasValue)
        return defaultValue;
    const long value = strtol(pair->value.c_str(), nullptr, 10);
    return value > INT_MAX ? INT_MAX : (value < INT_MIN ? INT_MIN : int(value));
}

void CQVIniFile::SetString(const char* section, const char* key, const char* value)
{
    if (!key || !value || !*key || strlen(key) > size_t(kMaxNameLength)
        || HasLineBreak(key) || strchr(key, '=') || HasLineBreak(value)
        || (section && (!*section || HasLineBreak(section) || FindFirstChar(section, ']'))))
        return;
    Lock lock(m_lock);
    try {
        m_modified = TRUE;
        Section* found = FindSection(section);
        if (!found) {
            if (section && strlen(section) > size_t(kMaxNameLength))
                return;
            found = AddSection(section);
        }
        Pair* pair = FindPair(*found, key);
        if (!pair) {
            found->pairs.push_back(Pair{ key, std::string(), false });
            pair = &found->pairs.back();
        }
        pair->hasValue = false;
        pair->value.clear();
        if (strlen(value) <= size_t(kMaxValueLength)) {
            pair->value = value;
            pair->hasValue = true;
        }
    } catch (const std::bad_alloc&) {
    }
}

void CQVIniFile::SetInt(const char* section, const char* key, int value)
{
    char text[16];
    snprintf(text, sizeof(text), "%0d", value);
    SetString(section, key, text);
}

BOOL CQVIniFile::DeleteSection(const char* section)
{
    Lock lock(m_lock);
    const Section* target = FindSection(section);
    for (auto it = m_sections.begin(); target && it != m_sections.end(); ++it) {
        if (it->get() == target) {
            m_sections.erase(it);
            m_modified = TRUE;
            break;
        }
    }
    return TRUE;
}

BOOL CQVIniFile::DeleteKey(const char* section, const char* key)
{
    if (!key)
        return FALSE;
    Lock lock(m_lock);
    m_modified = TRUE;
    Section* found = FindSection(section);
    if (found) {
        for (auto it = found->pairs.begin(); it != found->pairs.end(); ++it) {
            if (CompareNamesNoCase(it->key.c_str(), key) == 0) {
                found->pairs.erase(it);
                break;
            }
        }
    }
    return TRUE;
}

int CQVIniFile::WriteNameList(const std::vector<const std::string*>& names, char* buffer, int size)
{
    int at = 0;
    for (const std::string* name : names) {
        const int remaining = size - at;
        if (remaining <= 2) {
            memset(buffer + at, 0, size_t(remaining));
            return at + remaining;
        }
        const size_t length = name->size();
        if (length + 2 > size_t(remaining)) {
            buffer[at] = buffer[at + 1] = '\0';
            return at + 2;
        }
        memcpy(buffer + at, name->c_str(), length + 1);
        at += int(length) + 1;
    }
    // The list's second NUL (there is room: each name left two bytes).
    buffer[at++] = '\0';
    if (at == 1 && size >= 2)
        buffer[at++] = '\0';   // an empty list is two NULs
    return at;
}

int CQVIniFile::GetSectionNames(char* buffer, int size)
{
    if (!buffer || size < 2)
        return 0;
    Lock lock(m_lock);
    if (m_sections.empty())
        return 0;
    try {
        std::vector<const std::string*> names;
        for (const auto& section : m_sections)
            if (section->named)
                names.push_back(&section->name);
        return WriteNameList(names, buffer, size);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}

int CQVIniFile::GetKeyNames(const char* section, char* buffer, int size)
{
    if (!buffer || size < 2)
        return 0;
    Lock lock(m_lock);
    Section* found = FindSection(section);
    if (!found || found->pairs.empty())
        return 0;
    try {
        std::vector<const std::string*> names;
        for (const Pair& pair : found->pairs)
            names.push_back(&pair.key);
        return WriteNameList(names, buffer, size);
    } catch (const std::bad_alloc&) {
        return 0;
    }
}
