// CQVIniFile: the program's in-memory ini store.
//
// Reads a whole text at once and keeps it as an ordered list of sections,
// each an ordered list of key/value pairs; section and key names compare
// without regard to letter case and keep their first spelling. The unnamed
// section holds the keys before the first header and is addressed with a
// null section name. A store is written back (by Clear, at the latest in the
// destructor) only when it was changed, in the form it was read: plain, or
// enciphered (u32 0xED02BE01 followed by the RC6-enciphered text).
//
// Every operation holds the store's critical section for its whole work, so
// any thread may use a store.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CQVIniFile
{
public:
    static constexpr uint32_t kEncipheredMagic = 0xED02BE01u;
    // A line of this many characters or more stops a load.
    static constexpr int kLineLimit = 8191;
    // Longest key and section name SetString accepts, and longest value it
    // stores (a longer value leaves the key without a value).
    static constexpr int kMaxNameLength = 8192;
    static constexpr int kMaxValueLength = 8191;
    // Largest file LoadFile reads.
    static constexpr uint32_t kMaxFileSize = 64u * 1024 * 1024;
    // The key of enciphered files when the caller gives none.
    static const char* const kDefaultKey;

    CQVIniFile();
    virtual ~CQVIniFile();
    CQVIniFile(const CQVIniFile&) = delete;
    CQVIniFile& operator=(const CQVIniFile&) = delete;

    // Reads the whole file (shared read; with the create flag a missing file
    // is created empty) and loads it; keeps the path as the file name. 1 on
    // success; an empty file loads as an empty store.
    BOOL LoadFile(const char* path, BOOL encipher = FALSE, const char* key = NULL,
                  BOOL create = FALSE);
    // Clears the store (saving unsaved changes first), then parses a private
    // copy of the text. A text holding a NUL byte (also what a wrong key
    // makes of an enciphered text) is refused and the store stays empty; a
    // line of kLineLimit characters or more stops the load (the sections read
    // so far stay, but the store is not loaded and is never written).
    BOOL LoadFromMemory(const void* buffer, int length, BOOL encipher = FALSE,
                        const char* key = NULL);
    // Writes the whole store when it is loaded and modified (to path, or to
    // the stored file name when path is null); the file is written under a
    // temporary name and moved into place. 1 also when there was nothing to
    // write; 0 (still modified, old file intact) on failure.
    BOOL Save(const char* path = NULL);
    // Saves, then empties the store and forgets its file name and key.
    void Clear();

    // Copies the value (at most size-1 bytes, never half a double-byte
    // character, and a NUL) and returns the bytes copied; a key without a
    // value gives "" and 1. A missing key gives the default (its copied
    // length), or 0 with the buffer untouched when there is none.
    int GetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                  int size);
    // The value read as a decimal number (atoi rules); the default when the
    // key is null, missing or has no value.
    int GetInt(const char* section, const char* key, int defaultValue);
    // Sets a value; nothing happens when key or value is null, or when a
    // name or value would not read back (line breaks anywhere, "=" in the
    // key, "]" in the section name, an empty key or section name).
    void SetString(const char* section, const char* key, const char* value);
    void SetInt(const char* section, const char* key, int value);
    // 1 also when there is no such section (then nothing is marked).
    BOOL DeleteSection(const char* section);
    // Marks the store modified in every case; 0 only for a null key.
    BOOL DeleteKey(const char* section, const char* key);
    // The names of the named sections (or the keys of one section), each
    // followed by a NUL and the list by a second NUL; the bytes written.
    int GetSectionNames(char* buffer, int size);
    int GetKeyNames(const char* section, char* buffer, int size);

    BOOL IsLoaded() const;
    BOOL IsModified() const;
    BOOL IsEnciphered() const;
    // The file name of the last successful LoadFile ("" when none).
    std::string GetFileName() const;

private:
    struct Pair
    {
        std::string key;
        std::string value;
        bool hasValue = false;
    };
    struct Section
    {
        bool named = false;
        std::string name;
        std::vector<Pair> pairs;
    };
    class Lock;

    BOOL ParseText(char* text, size_t length);
    void ParseLine(char* line, Section*& current);
    Section* FindSection(const char* name) const;
    Section* AddSection(const char* name);
    static Pair* FindPair(Section& section, const char* key);
    std::string BuildText() const;
    static int WriteNameList(const std::vector<const std::string*>& names, char* buffer, int size);
    void ClearLocked();
    BOOL SaveLocked(const char* path);

    mutable CRITICAL_SECTION m_lock;
    BOOL m_modified = FALSE;
    std::vector<std::unique_ptr<Section>> m_sections;
    std::string m_fileName;
    BOOL m_encipher = FALSE;
    std::string m_key;
    BOOL m_loaded = FALSE;
};
