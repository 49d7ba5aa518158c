#include "StoreTestFiles.h"

#include "store/FilePaths.h"

#include <algorithm>
#include <cstdio>

namespace {

int g_scratchCount = 0;

} // namespace

ScratchFolder::ScratchFolder()
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    char name[MAX_PATH];
    snprintf(name, sizeof(name), "%smardavel-store-%lu-%d-%lu", temp, ::GetCurrentProcessId(),
             ++g_scratchCount, ::GetTickCount());
    m_path = name;
    DeleteTree(m_path.c_str());
    ::CreateDirectoryA(m_path.c_str(), NULL);
}

ScratchFolder::~ScratchFolder()
{
    DeleteTree(m_path.c_str());
}

std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::vector<uint8_t> bytes;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return bytes;
    uint8_t chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof(chunk), file)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    fclose(file);
    return bytes;
}

bool WriteBytes(const std::string& path, const void* data, size_t length)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return false;
    const bool ok = fwrite(data, 1, length, file) == length;
    return fclose(file) == 0 && ok;
}

std::string ReadText(const std::string& path)
{
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

bool FileExists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> ListFolder(const std::string& path)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<uint8_t> CompressibleBytes(size_t n, uint32_t seed)
{
    static const char* const kWords[] = { "emperor ", "guard ", "card ", "table ", "seat ", "hand " };
    TestRandom random(seed);
    std::vector<uint8_t> out;
    out.reserve(n);
    while (out.size() < n) {
        const char* word = kWords[random.Below(6)];
        for (const char* p = word; *p && out.size() < n; ++p)
            out.push_back(uint8_t(*p));
    }
    return out;
}
