// Scratch folders and file helpers for the store tests.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// A new, empty folder under the temporary folder, deleted with everything in
// it when the object goes.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // Path() + "\" + name.
    std::string operator/(const std::string& name) const { return m_path + "\\" + name; }

private:
    std::string m_path;
};

std::vector<uint8_t> ReadBytes(const std::string& path);
bool WriteBytes(const std::string& path, const void* data, size_t length);
inline bool WriteBytes(const std::string& path, const std::string& text)
{
    return WriteBytes(path, text.data(), text.size());
}
inline bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    return WriteBytes(path, bytes.data(), bytes.size());
}
std::string ReadText(const std::string& path);
bool FileExists(const std::string& path);
// Names of the files and folders right inside a folder, sorted.
std::vector<std::string> ListFolder(const std::string& path);

// A small deterministic generator (xorshift) for test data and mutations.
class TestRandom
{
public:
    explicit TestRandom(uint32_t seed) : m_state(seed ? seed : 1) {}
    uint32_t Next()
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 17;
        m_state ^= m_state << 5;
        return m_state;
    }
    uint32_t Below(uint32_t n) { return n ? Next() % n : 0; }
    std::vector<uint8_t> Bytes(size_t n)
    {
        std::vector<uint8_t> out(n);
        for (auto& b : out)
            b = uint8_t(Next());
        return out;
    }

private:
    uint32_t m_state;
};

// Text that compresses well: repeated words.
std::vector<uint8_t> CompressibleBytes(size_t n, uint32_t seed);
