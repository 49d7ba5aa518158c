// The folder bundle: a folder tree as one item stream (see FilePaths.h).
#include "FilePaths.h"

#include "BlockCompress.h"
#include "StoreText.h"
#include "StringFunctions.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace storetext;

namespace {

const uint32_t kBundleGrowthStep = 1024;
// The stream must stay addressable by u32 lengths.
const uint64_t kMaxBundleStream = 0x7FFFFFFFu;

// The caller's growable buffer (StringFunctions.h BufferAppend rules).
struct GrowableBuffer
{
    BYTE** data;
    uint32_t* used;
    uint32_t* capacity;

    bool Append(const void* piece, uint32_t length)
    {
        return uint64_t(*used) + length <= kMaxBundleStream
               && BufferAppend1(data, used, capacity, piece, int32_t(length), kBundleGrowthStep);
    }
    // Appends `length` bytes read from the file.
    bool AppendFromFile(HANDLE file, uint32_t length)
    {
        if (!Append(nullptr, length))
            return false;
        DWORD got = 0;
        if (::ReadFile(file, *data + *used - length, length, &got, NULL) && got == length)
            return true;
        *used -= length;
        return false;
    }
    bool AppendTag(BundleTag tag)
    {
        const BYTE b = tag;
        return Append(&b, 1);
    }
    bool AppendName(const char* name)
    {
        return Append(name, uint32_t(strlen(name) + 1));
    }
};

bool JoinPath(char* out, const char* folder, const char* name)
{
    const bool hasSlash = LastCharIs(folder, '\\');
    const int written = snprintf(out, MAX_PATH, hasSlash ? "%s%s" : "%s\\%s", folder, name);
    return written > 0 && written < MAX_PATH;
}

bool AppendFileItem(GrowableBuffer& out, const char* path, const char* name)
{
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = false;
    LARGE_INTEGER size;
    if (::GetFileSizeEx(file, &size) && uint64_t(size.QuadPart) <= kMaxBundleStream) {
        const uint32_t length = uint32_t(size.QuadPart);
        BYTE header[4];
        WriteLe32(header, length);
        ok = out.AppendTag(kBundleFile) && out.AppendName(name) && out.Append(header, 4);
        ok = ok && out.AppendFromFile(file, length);
    }
    ::CloseHandle(file);
    return ok;
}

bool PackLevel(GrowableBuffer& out, const char* folder, int depth)
{
    if (depth > kMaxBundleDepth)
        return false;
    char search[MAX_PATH];
    if (!JoinPath(search, folder, "*"))
        return false;
    struct Item { std::string name; bool folder; };
    std::vector<Item> items;
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA(search, &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (strcmp(found.cFileName, ".") == 0 || strcmp(found.cFileName, "..") == 0)
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                continue;   // links are not followed
            items.push_back({ found.cFileName, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 });
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    // A stable order, so the same tree always gives the same bundle.
    std::sort(items.begin(), items.end(),
              [](const Item& a, const Item& b) { return a.name < b.name; });

    for (const Item& item : items) {
        char path[MAX_PATH];
        if (!JoinPath(path, folder, item.name.c_str()))
            return false;
        if (item.folder) {
            if (!out.AppendTag(kBundleFolder) || !out.AppendName(item.name.c_str())
                || !PackLevel(out, path, depth + 1))
                return false;
        } else if (!AppendFileItem(out, path, item.name.c_str())) {
            return false;
        }
    }
    return out.AppendTag(kBundleEnd);
}

bool IsReservedDeviceName(const char* name)
{
    static const char* const kDevices[] = { "CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$" };
    char base[16];
    size_t n = 0;
    while (name[n] && name[n] != '.' && n < sizeof(base) - 1) {
        base[n] = name[n];
        ++n;
    }
    if (name[n] && name[n] != '.')
        return false;
    base[n] = '\0';
    for (const char* device : kDevices)
        if (CompareNamesNoCase(base, device) == 0)
            return true;
    if (n == 4 && base[3] >= '1' && base[3] <= '9'
        && (CompareNamesNoCase(std::string(base, 3).c_str(), "COM") == 0
            || CompareNamesNoCase(std::string(base, 3).c_str(), "LPT") == 0))
        return true;
    return false;
}

// A name that stays inside its folder: one plain path component.
bool IsSafeItemName(const char* name)
{
    if (!*name)
        return false;
    for (const char* p = name; *p; ++p) {
        if (IsLeadByte(*p) && p[1]) {
            ++p;
            continue;
        }
        const BYTE c = BYTE(*p);
        if (c < 32 || strchr("\\/:*?\"<>|", c))
            return false;
    }
    // Windows drops trailing dots and spaces, so "..", ". ." or "x." would
    // name another entry than the one written.
    if (LastCharIs(name, '.') || LastCharIs(name, ' '))
        return false;
    return !IsReservedDeviceName(name);
}

struct StreamReader
{
    const BYTE* data;
    uint32_t length;
    uint32_t at;

    bool ReadByte(BYTE* b)
    {
        if (at >= length)
            return false;
        *b = data[at++];
        return true;
    }
    bool ReadName(const char** name)
    {
        const BYTE* end = static_cast<const BYTE*>(memchr(data + at, 0, length - at));
        if (!end || end - (data + at) >= MAX_PATH)
            return false;
        *name = reinterpret_cast<const char*>(data + at);
        at = uint32_t(end - data) + 1;
        return true;
    }
    bool ReadU32(uint32_t* v)
    {
        if (length - at < 4)
            return false;
        *v = ReadLe32(data + at);
        at += 4;
        return true;
    }
};

bool UnpackLevel(StreamReader& in, const char* folder, int depth)
{
    if (depth > kMaxBundleDepth)
        return false;
    while (true) {
        BYTE tag;
        if (!in.ReadByte(&tag))
            return false;
        if (tag == kBundleEnd)
            return true;
        const char* name;
        char path[MAX_PATH];
        if ((tag != kBundleFolder && tag != kBundleFile) || !in.ReadName(&name)
            || !IsSafeItemName(name) || !JoinPath(path, folder, name))
            return false;
        if (tag == kBundleFolder) {
            if (!UnpackLevel(in, path, depth + 1))
                return false;
            continue;
        }
        uint32_t size;
        if (!in.ReadU32(&size) || size > in.length - in.at)
            return false;
        if (!CreateDirectoryPath(folder) || DirectoryExists(path)
            || !WriteFileReplacing(path, in.data + in.at, size))
            return false;
        in.at += size;
    }
}

} // namespace

BOOL PackFolder(const char* folder, BYTE** data, uint32_t* used, uint32_t* capacity)
{
    if (!folder || !data || !used || !capacity || !DirectoryExists(folder))
        return FALSE;
    GrowableBuffer out{ data, used, capacity };
    const uint32_t usedBefore = *used;
    if (PackLevel(out, folder, 0))
        return TRUE;
    *used = usedBefore;   // no half tree is left in the buffer
    return FALSE;
}

BOOL UnpackFolderStream(const char* targetFolder, const BYTE* stream, uint32_t length)
{
    if (!targetFolder || !*targetFolder || !stream)
        return FALSE;
    StreamReader in{ stream, length, 0 };
    return UnpackLevel(in, targetFolder, 0) ? TRUE : FALSE;
}

BOOL UnpackFolder(const char* targetFolder, const void* block, uint32_t length)
{
    BYTE* stream = UncompressBlock(block, &length);
    if (!stream)
        return FALSE;
    const BOOL ok = UnpackFolderStream(targetFolder, stream, length);
    FreeBlock(stream);
    return ok;
}
