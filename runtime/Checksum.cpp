#include "Checksum.h"

#include "StringFunctions.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The scheme of CalcChecksum, fed byte by byte.
template <typename Word, int GroupBytes>
class GroupChecksum {
public:
    GroupChecksum(Word key, Word keyStep) : m_key(key), m_keyStep(keyStep) {}

    void Add(unsigned char b)
    {
        m_word = static_cast<Word>((m_word << 8) + b);
        if (++m_filled == GroupBytes) {
            m_sum = static_cast<Word>((m_key ^ m_sum) + m_word);
            m_word = 0;
            m_filled = 0;
            m_key = static_cast<Word>(m_key + m_keyStep);
        }
    }
    Word Result() const { return static_cast<Word>(m_sum + m_word); }

private:
    Word m_sum = 0;
    Word m_word = 0;
    int m_filled = 0;
    Word m_key;
    Word m_keyStep;
};

using Checksum32 = GroupChecksum<uint32_t, 4>;
using Checksum16 = GroupChecksum<uint16_t, 2>;

Checksum32 MakeChecksum32() { return Checksum32(0x12345678u, static_cast<uint32_t>(0u - 0x789ABCDFu)); }
Checksum16 MakeChecksum16() { return Checksum16(0x5678, 0x8765); }

template <typename Sum>
void AddBlock(Sum& sum, const void* data, uint32_t count)
{
    const unsigned char* p = static_cast<const unsigned char*>(data);
    for (uint32_t i = 0; data && i < count; ++i)
        sum.Add(p[i]);
}

// Upper-casing touches single-byte letters only, never a trail byte.
template <typename Sum>
void AddText(Sum& sum, const char* text, bool upper)
{
    for (const char* p = text; p && *p;) {
        const size_t n = CharLengthAt(p);
        for (size_t i = 0; i < n; ++i, ++p) {
            unsigned char c = static_cast<unsigned char>(*p);
            if (upper && n == 1 && c >= 'a' && c <= 'z')
                c = static_cast<unsigned char>(c - 'a' + 'A');
            sum.Add(c);
        }
    }
}

}  // namespace

uint32_t CalcChecksum(const void* data, uint32_t count)
{
    Checksum32 sum = MakeChecksum32();
    AddBlock(sum, data, count);
    return sum.Result();
}

uint32_t CalcTextChecksum(const char* text)
{
    Checksum32 sum = MakeChecksum32();
    AddText(sum, text, false);
    return sum.Result();
}

uint32_t CalcTextChecksumUpper(const char* text)
{
    Checksum32 sum = MakeChecksum32();
    AddText(sum, text, true);
    return sum.Result();
}

uint16_t CalcChecksum16(const void* data, uint32_t count)
{
    Checksum16 sum = MakeChecksum16();
    AddBlock(sum, data, count);
    return sum.Result();
}

uint16_t CalcTextChecksum16(const char* text)
{
    Checksum16 sum = MakeChecksum16();
    AddText(sum, text, false);
    return sum.Result();
}

uint16_t CalcTextChecksum16Upper(const char* text)
{
    Checksum16 sum = MakeChecksum16();
    AddText(sum, text, true);
    return sum.Result();
}

// ---- Files --------------------------------------------------------------------------

namespace {

bool WriteAll(HANDLE file, const void* data, uint32_t size)
{
    DWORD written = 0;
    return size == 0 || (WriteFile(file, data, size, &written, nullptr) && written == size);
}

}  // namespace

int WriteBytesToFile(const char* path, const void* data, uint32_t size)
{
    if (!path || !*path || (!data && size))
        return 0;
    const std::string temporary = std::string(path) + ".tmp";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 0;
    const bool written = WriteAll(file, data, size);
    CloseHandle(file);
    if (!written || !MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temporary.c_str());
        return 0;
    }
    return 1;
}

const char* AppendBytesToFile(const char* path, const void* data, uint32_t size)
{
    if (!path || !*path || (!data && size))
        return nullptr;
    HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    const bool written = WriteAll(file, data, size);
    CloseHandle(file);
    return written ? path : nullptr;
}

void RotateFiles(const char* name)
{
    if (!name || !*name)
        return;
    const std::string base(name, CharBoundaryAtOrBefore(name, 257));
    auto generation = [&base](int k) { return base + "." + std::to_string(k); };
    DeleteFileA(generation(9).c_str());
    for (int k = 9; k >= 2; --k)
        MoveFileA(generation(k - 1).c_str(), generation(k).c_str());
    MoveFileA(base.c_str(), generation(1).c_str());
}
