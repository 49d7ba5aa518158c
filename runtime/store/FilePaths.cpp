#include "FilePaths.h"

#include "BlockCompress.h"
#include "Checksum.h"
#include "StoreText.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace storetext;

namespace {

// Joins folder and name with one "\" between them. FALSE when the result
// would not fit into MAX_PATH characters.
BOOL JoinPath(char* out, const char* folder, const char* name)
{
    const size_t folderLength = strlen(folder);
    const bool hasSlash = folderLength && LastCharIs(folder, '\\');
    const int written = snprintf(out, MAX_PATH, hasSlash ? "%s%s" : "%s\\%s", folder, name);
    return written > 0 && written < MAX_PATH;
}

bool IsDotName(const char* name)
{
    return strcmp(name, ".") == 0 || strcmp(name, "..") == 0;
}

BOOL InsertStamp(char* fileName, size_t capacity, const char* stamp)
{
    if (!fileName)
        return FALSE;
    const size_t length = strlen(fileName);
    const size_t stampLength = strlen(stamp);
    if (length + stampLength + 1 > capacity)
        return FALSE;
    char* namePart = GetFileNamePart(fileName);
    char* dot = FindFirstChar(namePart, '.');
    char* at = dot ? dot : fileName + length;
    memmove(at + stampLength, at, strlen(at) + 1);
    memcpy(at, stamp, stampLength);
    return TRUE;
}

} // namespace

BOOL GetModuleFolderOf(HMODULE module, char* buffer)
{
    if (!buffer)
        return FALSE;
    const DWORD length = ::GetModuleFileNameA(module, buffer, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        buffer[0] = '\0';
        return FALSE;
    }
    char* slash = FindLastChar(buffer, '\\');
    if (!slash) {
        buffer[0] = '\0';
        return FALSE;
    }
    slash[1] = '\0';
    return TRUE;
}

BOOL GetModuleFolder(char* buffer)
{
    return GetModuleFolderOf(NULL, buffer);
}

BOOL SetCurrentFolder(const char* folder)
{
    char own[MAX_PATH];
    if (!folder) {
        if (!GetModuleFolder(own))
            return FALSE;
        folder = own;
    }
    return ::SetCurrentDirectoryA(folder) ? TRUE : FALSE;
}

BOOL StampFileNameMonth(char* fileName, size_t capacity)
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char stamp[16];
    snprintf(stamp, sizeof(stamp), "%02d%02d", now.wYear % 100, now.wMonth);
    return InsertStamp(fileName, capacity, stamp);
}

BOOL StampFileNameDay(char* fileName, size_t capacity)
{
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    char stamp[16];
    snprintf(stamp, sizeof(stamp), "%02d%02d%02d", now.wYear % 100, now.wMonth, now.wDay);
    return InsertStamp(fileName, capacity, stamp);
}

BOOL FileCanOpen(const char* path)
{
    if (!path)
        return FALSE;
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    ::CloseHandle(file);
    return TRUE;
}

DWORD GetFileSize(const char* path)
{
    if (!path)
        return 0;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data)
        || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return 0;
    return data.nFileSizeHigh ? 0xFFFFFFFFu : data.nFileSizeLow;
}

BYTE* ReadFileBlock(const char* path, uint32_t* length, uint32_t headRoom, uint32_t tailRoom,
                    uint32_t offset, uint32_t count)
{
    if (!path || !length)
        return nullptr;
    *length = 0;
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    BYTE* block = nullptr;
    LARGE_INTEGER size;
    if (::GetFileSizeEx(file, &size) && size.QuadPart <= kMaxReadFileBlock
        && uint64_t(offset) < uint64_t(size.QuadPart)) {
        const uint32_t fileSize = uint32_t(size.QuadPart);
        const uint32_t remaining = fileSize - offset;
        const uint32_t wanted = (count == 0 || count > remaining) ? remaining : count;
        if (tailRoom < 1)
            tailRoom = 1;
        const uint64_t total = uint64_t(headRoom) + fileSize + tailRoom;
        LARGE_INTEGER at;
        at.QuadPart = offset;
        if (total <= kMaxReadFileBlock && ::SetFilePointerEx(file, at, NULL, FILE_BEGIN))
            block = static_cast<BYTE*>(malloc(size_t(total)));
        DWORD got = 0;
        if (block && ::ReadFile(file, block + headRoom, wanted, &got, NULL) && got > 0) {
            block[headRoom + got] = '\0';
            *length = got;
        } else {
            free(block);
            block = nullptr;
        }
    }
    ::CloseHandle(file);
    return block;
}

BOOL MoveToNewExtension(const char* source, const char* suffix, BOOL append)
{
    if (!source || !suffix)
        return FALSE;
    char target[MAX_PATH];
    if (strlen(source) >= MAX_PATH)
        return FALSE;
    strcpy(target, source);
    if (!append) {
        char* dot = FindFirstChar(GetFileNamePart(target), '.');
        if (dot)
            *dot = '\0';
    }
    if (strlen(target) + strlen(suffix) >= MAX_PATH)
        return FALSE;
    strcat(target, suffix);
    if (_stricmp(target, source) == 0)
        return TRUE;
    return ::MoveFileExA(source, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED)
               ? TRUE : FALSE;
}

HANDLE CreateFileWithFolders(const char* path)
{
    if (!path || strlen(path) >= MAX_PATH)
        return INVALID_HANDLE_VALUE;
    HANDLE file = ::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, NULL,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_PATH_NOT_FOUND)
        return file;
    char folder[MAX_PATH];
    strcpy(folder, path);
    if (!CutLastSlash(folder) || !CreateDirectoryPath(folder))
        return INVALID_HANDLE_VALUE;
    return ::CreateFileA(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, NULL);
}

BOOL CutLastSlash(char* path)
{
    char* slash = path ? FindLastChar(path, '\\') : nullptr;
    if (!slash)
        return FALSE;
    *slash = '\0';
    return TRUE;
}

const char* GetFileNamePart(const char* path)
{
    if (!path)
        return nullptr;
    const char* slash = FindLastChar(path, '\\');
    return slash ? slash + 1 : path;
}

char* GetFileNamePart(char* path)
{
    return const_cast<char*>(GetFileNamePart(static_cast<const char*>(path)));
}

BOOL DirectoryExists(const char* path)
{
    if (!path || !*path)
        return FALSE;
    const DWORD attributes = ::GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

BOOL PathExists(const char* path)
{
    if (!path || !*path)
        return FALSE;
    return ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

BOOL CreateDirectoryPath(const char* path)
{
    if (!path || !*path || strlen(path) >= MAX_PATH)
        return FALSE;
    char work[MAX_PATH];
    strcpy(work, path);
    RemoveTrailingSlash(work);

    // Skip the root: "X:\", "\\server\share\" or a leading "\".
    char* p = work;
    if (p[0] && p[1] == ':')
        p += 2;
    else if (p[0] == '\\' && p[1] == '\\') {
        p += 2;
        for (int part = 0; part < 2 && *p; ++part) {
            char* next = FindFirstChar(p, '\\');
            p = next ? next + 1 : p + strlen(p);
        }
    }
    while (*p == '\\')
        ++p;

    while (true) {
        char* slash = FindFirstChar(p, '\\');
        if (slash)
            *slash = '\0';
        if (*p && !DirectoryExists(work)) {
            if (!::CreateDirectoryA(work, NULL) && !DirectoryExists(work))
                return FALSE;
        }
        if (!slash)
            break;
        *slash = '\\';
        p = slash + 1;
    }
    return DirectoryExists(work);
}

BOOL DeleteTree(const char* path)
{
    if (!path || !*path)
        return FALSE;
    const DWORD attributes = ::GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FALSE;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ::DeleteFileA(path) ? TRUE : FALSE;
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return ::RemoveDirectoryA(path) ? TRUE : FALSE;

    char pattern[MAX_PATH];
    if (!JoinPath(pattern, path, "*"))
        return FALSE;
    std::vector<std::string> folders;
    BOOL ok = TRUE;
    WIN32_FIND_DATAA found;
    HANDLE find = ::FindFirstFileA(pattern, &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (IsDotName(found.cFileName))
                continue;
            char child[MAX_PATH];
            if (!JoinPath(child, path, found.cFileName)) {
                ok = FALSE;
                continue;
            }
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                folders.push_back(child);
            else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                ok = ::RemoveDirectoryA(child) && ok;
            else
                ok = ::DeleteFileA(child) && ok;
        } while (::FindNextFileA(find, &found));
        ::FindClose(find);
    }
    for (const std::string& folder : folders)
        ok = DeleteTree(folder.c_str()) && ok;
    return (::RemoveDirectoryA(path) && ok) ? TRUE : FALSE;
}

BOOL AddTrailingSlash(char* path, size_t capacity)
{
    if (!path)
        return FALSE;
    const size_t length = strlen(path);
    if (length && LastCharIs(path, '\\'))
        return TRUE;
    if (length + 2 > capacity)
        return FALSE;
    path[length] = '\\';
    path[length + 1] = '\0';
    return TRUE;
}

BOOL RemoveTrailingSlash(char* path)
{
    if (!path || !*path || !LastCharIs(path, '\\'))
        return FALSE;
    path[strlen(path) - 1] = '\0';
    return TRUE;
}

BOOL CutAfterFolder(char* path)
{
    if (!path)
        return FALSE;
    char* at = FindLastOf(path, "\\:");
    if (!at)
        return FALSE;
    at[1] = '\0';
    return TRUE;
}

BOOL ForEachFile(const char* folder, FileVisitor visitor, const char* pattern, void* context,
                 BOOL recurse)
{
    if (!folder || !visitor || !DirectoryExists(folder))
        return FALSE;
    char search[MAX_PATH];
    WIN32_FIND_DATAA found;
    if (recurse) {
        if (!JoinPath(search, folder, "*"))
            return FALSE;
        std::vector<std::string> folders;
        HANDLE find = ::FindFirstFileA(search, &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.')
                    folders.push_back(found.cFileName);
            } while (::FindNextFileA(find, &found));
            ::FindClose(find);
        }
        for (const std::string& name : folders) {
            char child[MAX_PATH];
            if (!JoinPath(child, folder, name.c_str())
                || !ForEachFile(child, visitor, pattern, context, recurse))
                return FALSE;
        }
    }
    if (!JoinPath(search, folder, pattern && *pattern ? pattern : "*"))
        return FALSE;
    HANDLE find = ::FindFirstFileA(search, &found);
    if (find == INVALID_HANDLE_VALUE)
        return TRUE;   // nothing matches
    BOOL completed = TRUE;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        if (!visitor(folder, &found, context)) {
            completed = FALSE;
            break;
        }
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    return completed;
}

BOOL FileChecksum(const char* path, uint32_t* value)
{
    if (!path || !value)
        return FALSE;
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL ok = FALSE;
    LARGE_INTEGER size;
    if (::GetFileSizeEx(file, &size) && size.QuadPart <= kMaxReadFileBlock) {
        const DWORD length = DWORD(size.QuadPart);
        BYTE* data = static_cast<BYTE*>(malloc(length ? length : 1));
        DWORD got = 0;
        if (data && (length == 0 || (::ReadFile(file, data, length, &got, NULL) && got == length))) {
            *value = CalcChecksum(data, length);
            ok = TRUE;
        }
        free(data);
    }
    ::CloseHandle(file);
    return ok;
}

BOOL GetReplacingTempName(const char* path, char* buffer, size_t capacity)
{
    if (!path || !buffer)
        return FALSE;
    const int written = snprintf(buffer, capacity, "%s.tmp", path);
    return written > 0 && size_t(written) < capacity && size_t(written) < MAX_PATH;
}

BOOL WriteFileReplacing(const char* path, const void* data, uint32_t length, BOOL replace)
{
    char temp[MAX_PATH];
    if (!path || (!data && length) || !GetReplacingTempName(path, temp, sizeof(temp)))
        return FALSE;
    HANDLE file = ::CreateFileA(temp, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    DWORD written = 0;
    BOOL ok = length == 0 || (::WriteFile(file, data, length, &written, NULL) && written == length);
    ok = ok && ::FlushFileBuffers(file);
    ::CloseHandle(file);
    if (ok)
        ok = ::MoveFileExA(temp, path,
                           (replace ? MOVEFILE_REPLACE_EXISTING : 0) | MOVEFILE_WRITE_THROUGH)
                 ? TRUE : FALSE;
    if (!ok)
        ::DeleteFileA(temp);
    return ok;
}
