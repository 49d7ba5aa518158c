#include "BoardIni.h"

#include <cstdio>
#include <cstring>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Trim(const char* begin, const char* end)
{
    while (begin < end && IsBlank(*begin))
        ++begin;
    while (end > begin && IsBlank(end[-1]))
        --end;
    return std::string(begin, end);
}

char AsciiLower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualNoCase(const std::string& a, const char* b)
{
    const size_t n = std::strlen(b);
    if (a.size() != n)
        return false;
    for (size_t i = 0; i < n; ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

std::string Unquote(std::string value)
{
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

}  // namespace

bool CBoardIni::LoadFile(const char* path)
{
    m_entries.clear();
    if (!path || !*path)
        return false;
    FILE* f = std::fopen(path, "rb");
    if (!f)
        return false;
    std::string text;
    char chunk[4096];
    size_t got;
    bool tooBig = false;
    while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
        if (text.size() + got > kMaxFileSize) {
            tooBig = true;
            break;
        }
        text.append(chunk, got);
    }
    std::fclose(f);
    if (tooBig)
        return false;
    LoadText(text.data(), text.size());
    return true;
}

void CBoardIni::LoadText(const char* text, size_t size)
{
    m_entries.clear();
    if (size >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) {
        text += 3;
        size -= 3;
    }
    const char* end = text + size;
    std::string section;
    bool inSection = false;
    for (const char* line = text; line < end;) {
        const char* eol = static_cast<const char*>(std::memchr(line, '\n', end - line));
        if (!eol)
            eol = end;
        const std::string trimmed = Trim(line, eol);
        line = eol + (eol < end ? 1 : 0);
        if (trimmed.empty() || trimmed[0] == ';')
            continue;
        if (trimmed[0] == '[') {
            const size_t close = trimmed.find(']');
            section = Trim(trimmed.data() + 1,
                           trimmed.data() + (close == std::string::npos ? trimmed.size() : close));
            inSection = true;
            continue;
        }
        if (!inSection)
            continue;
        const size_t eq = trimmed.find('=');
        Entry e;
        e.section = section;
        if (eq == std::string::npos) {
            e.key = trimmed;
        } else {
            e.key = Trim(trimmed.data(), trimmed.data() + eq);
            e.value = Unquote(Trim(trimmed.data() + eq + 1, trimmed.data() + trimmed.size()));
        }
        m_entries.push_back(std::move(e));
    }
}

std::vector<std::string> CBoardIni::KeyNames(const char* section, size_t maxBytes) const
{
    std::vector<std::string> names;
    size_t used = 1;  // the list's final zero
    for (const Entry& e : m_entries) {
        if (!EqualNoCase(e.section, section) || e.key.empty())
            continue;
        if (used + e.key.size() + 1 > maxBytes)
            break;
        used += e.key.size() + 1;
        names.push_back(e.key);
    }
    return names;
}

std::string CBoardIni::Value(const char* section, const char* key, size_t maxChars) const
{
    for (const Entry& e : m_entries) {
        if (EqualNoCase(e.section, section) && EqualNoCase(e.key, key))
            return maxChars == 0 ? std::string() : e.value.substr(0, maxChars - 1);
    }
    return std::string();
}
