#include "BlockCompress.h"

#include "DllBinding.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>

namespace {

typedef uint32_t (*ZipCompressFn)(void*, uint32_t, const void*, uint32_t, uint32_t);
typedef uint32_t (*ZipUncompressFn)(void*, uint32_t, const void*, uint32_t);

const char* const kEntryNames[] = { "QV_ZIPCompress", "QV_ZIPUncompress" };
enum { kCompressEntry, kUncompressEntry };

struct CompressLibrary
{
    CDllBinding binding{ kEntryNames, 2 };
    std::mutex folderLock;
    char folder[MAX_PATH] = "";
};

CompressLibrary& Library()
{
    static CompressLibrary library;   // created on first use
    return library;
}

} // namespace

void SetCompressDllFolder(const char* folder)
{
    CompressLibrary& lib = Library();
    std::lock_guard<std::mutex> guard(lib.folderLock);
    lib.folder[0] = '\0';
    if (folder && strlen(folder) < sizeof(lib.folder))
        strcpy(lib.folder, folder);
}

BOOL LoadCompressDll()
{
    CompressLibrary& lib = Library();
    char path[MAX_PATH + 32];
    {
        std::lock_guard<std::mutex> guard(lib.folderLock);
        if (lib.folder[0])
            snprintf(path, sizeof(path), "%s\\RORurodivo.dll", lib.folder);
        else
            strcpy(path, "RORurodivo.dll");
    }
    return lib.binding.Bind(path);
}

uint32_t QV_ZIPCompress(void* dest, uint32_t destCapacity, const void* source,
                        uint32_t sourceLength, uint32_t level)
{
    if (!LoadCompressDll())
        return 0;
    auto fn = Library().binding.EntryAs<ZipCompressFn>(kCompressEntry);
    return fn(dest, destCapacity, source, sourceLength, level);
}

uint32_t QV_ZIPUncompress(void* dest, uint32_t destCapacity, const void* source,
                          uint32_t sourceLength)
{
    if (!LoadCompressDll())
        return 0;
    auto fn = Library().binding.EntryAs<ZipUncompressFn>(kUncompressEntry);
    return fn(dest, destCapacity, source, sourceLength);
}

BYTE* CompressBlock(const void* source, uint32_t* length, uint32_t level, uint32_t room)
{
    if (!source || !length || *length < 101 || *length > kMaxBlockRawLength
        || level == kRefusedCompressLevel || room > kMaxBlockRawLength)
        return nullptr;
    const uint32_t rawLength = *length;
    const uint32_t capacity = rawLength + rawLength / 100 + 12;
    BYTE* block = new (std::nothrow) BYTE[size_t(room) + capacity + 4];
    if (!block)
        return nullptr;
    const uint32_t packed = QV_ZIPCompress(block + room + 4, capacity, source, rawLength, level);
    if (packed == 0 || packed > capacity) {
        delete[] block;
        return nullptr;
    }
    WriteLe32(block + room, rawLength);
    *length = packed + 4;
    return block;
}

BYTE* UncompressBlock(const void* block, uint32_t* length)
{
    if (!block || !length || *length <= 4)
        return nullptr;
    const uint32_t packed = *length - 4;
    const uint32_t rawLength = ReadLe32(block);
    if (rawLength == 0 || rawLength > kMaxBlockRawLength
        || uint64_t(rawLength) > uint64_t(packed) * kMaxBlockExpansion)
        return nullptr;
    BYTE* raw = new (std::nothrow) BYTE[rawLength];
    if (!raw)
        return nullptr;
    const uint32_t expanded =
        QV_ZIPUncompress(raw, rawLength, static_cast<const BYTE*>(block) + 4, packed);
    if (expanded != rawLength) {
        delete[] raw;
        return nullptr;
    }
    *length = rawLength;
    return raw;
}

void FreeBlock(void* block)
{
    delete[] static_cast<BYTE*>(block);
}
