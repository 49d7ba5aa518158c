// Read-only ini text, looked up the way the Windows profile functions do:
// section and key names without case, blanks around names and values trimmed,
// a value in matching quotes unquoted, the first occurrence of a key winning,
// lines starting with ';' ignored.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CBoardIni {
public:
    // Largest file read; a bigger one is refused.
    static constexpr size_t kMaxFileSize = 4u << 20;

    bool LoadFile(const char* path);
    void LoadText(const char* text, size_t size);

    // Key names of a section in file order, as many as fit into maxBytes when
    // each is counted with a terminating zero (one byte stays for the list's
    // final zero).
    std::vector<std::string> KeyNames(const char* section, size_t maxBytes) const;

    // Value of a key, cut to maxChars - 1 characters; empty when missing.
    std::string Value(const char* section, const char* key, size_t maxChars) const;

private:
    struct Entry {
        std::string section;
        std::string key;
        std::string value;
    };
    std::vector<Entry> m_entries;
};
