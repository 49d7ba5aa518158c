#include "QVPackFile.h"

#include "BlockCompress.h"
#include "FilePaths.h"
#include "StoreText.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <new>

using namespace storetext;

namespace {

const char kMagic[4] = { 'V', 'U', 'R', '\0' };
const char kDefaultPackName[] = "未命名";   // code page 936 at run time
const uint32_t kCopyChunk = 64 * 1024;

// Reads exactly n bytes at offset; false on a short read.
bool ReadAt(int fd, uint32_t offset, void* buffer, uint32_t n)
{
    if (_lseek(fd, long(offset), SEEK_SET) != long(offset))
        return false;
    BYTE* p = static_cast<BYTE*>(buffer);
    while (n) {
        const unsigned piece = n > 0x40000000u ? 0x40000000u : n;
        const int got = _read(fd, p, piece);
        if (got <= 0)
            return false;
        p += got;
        n -= uint32_t(got);
    }
    return true;
}

bool WriteAt(int fd, uint32_t offset, const void* buffer, uint32_t n)
{
    if (_lseek(fd, long(offset), SEEK_SET) != long(offset))
        return false;
    const BYTE* p = static_cast<const BYTE*>(buffer);
    while (n) {
        const unsigned piece = n > 0x40000000u ? 0x40000000u : n;
        const int put = _write(fd, p, piece);
        if (put <= 0)
            return false;
        p += put;
        n -= uint32_t(put);
    }
    return true;
}

int64_t FileLength(int fd)
{
    return _filelengthi64(fd);
}

// Copies n bytes from one descriptor to another through chunk (kCopyChunk
// bytes).
bool CopyBytes(int from, uint32_t fromOffset, int to, uint32_t toOffset, uint32_t n, BYTE* chunk)
{
    while (n) {
        const uint32_t piece = n > kCopyChunk ? kCopyChunk : n;
        if (!ReadAt(from, fromOffset, chunk, piece) || !WriteAt(to, toOffset, chunk, piece))
            return false;
        fromOffset += piece;
        toOffset += piece;
        n -= piece;
    }
    return true;
}

void FreshTimeStamp(BYTE* stamp)
{
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    WriteLe32(stamp, now.dwLowDateTime);
    WriteLe32(stamp + 4, now.dwHighDateTime);
}

// Copies a record's name into a directory name; false when it has no NUL
// within the allowed length.
bool TakeRecordName(const PackRecord& record, char* name)
{
    const void* end = memchr(record.name, '\0', CQVPackFile::kMaxEntryName + 1);
    if (!end)
        return false;
    memcpy(name, record.name, static_cast<const char*>(end) - record.name + 1);
    return true;
}

uint32_t ExtraOf(const PackRecord& record)
{
    return record.extraLength > 0 ? uint32_t(record.extraLength) : 0;
}

bool AppendSuffix(char* out, const char* path, const char* suffix)
{
    const int written = snprintf(out, MAX_PATH, "%s%s", path, suffix);
    return written > 0 && written < MAX_PATH;
}

} // namespace

BOOL MakeBackupName(const char* path, char* buffer, size_t capacity)
{
    if (!path || !buffer || capacity == 0)
        return FALSE;
    const char* name = path;
    if (const char* slash = FindLastChar(path, '\\'))
        name = slash + 1;
    const char* dot = FindLastChar(name, '.');
    const size_t keep = dot ? size_t(dot - path) : strlen(path);
    if (keep + 5 > capacity)
        return FALSE;
    memmove(buffer, path, keep);
    memcpy(buffer + keep, ".bak", 5);
    return TRUE;
}

CQVPackFile::CQVPackFile() : m_inProgress(0), m_fd(-1), m_path(), m_header(), m_readOnly(TRUE)
{
    ResetHeader();
}

CQVPackFile::~CQVPackFile()
{
    Close();
}

void CQVPackFile::FreeData(void* block)
{
    delete[] static_cast<BYTE*>(block);
}

void CQVPackFile::ResetHeader()
{
    memset(&m_header, 0, sizeof(m_header));
    memcpy(m_header.magic, kMagic, sizeof(kMagic));
    strcpy(m_header.name, kDefaultPackName);
    m_header.version = kVersion;
}

uint32_t CQVPackFile::InProgressOffset() const
{
    return m_header.version == kOldVersion ? kOldHeaderSize : uint32_t(sizeof(PackHeader));
}

uint32_t CQVPackFile::FirstRecordOffset() const
{
    return InProgressOffset() + 1;
}

void CQVPackFile::Close()
{
    if (m_fd >= 0)
        _close(m_fd);
    m_fd = -1;
    m_directory.clear();
    m_path[0] = '\0';
    ResetHeader();
    m_inProgress = 0;
    m_readOnly = TRUE;
}

BOOL CQVPackFile::Open(const char* path, BOOL writable)
{
    Close();
    if (!path || !*path || strlen(path) >= MAX_PATH)
        return FALSE;
    strcpy(m_path, path);

    auto openFd = [&](BOOL rw) {
        return _open(path, rw ? (_O_RDWR | _O_BINARY) : (_O_RDONLY | _O_BINARY));
    };
    int fd = openFd(writable);
    char backup[MAX_PATH];
    if (fd < 0 && !PathExists(path) && AppendSuffix(backup, path, ".bak") && PathExists(backup)
        && ::MoveFileA(backup, path)) {
        // An upgrade was cut short: its copy becomes the pack.
        writable = TRUE;
        fd = openFd(TRUE);
    }
    if (fd < 0 && writable && !PathExists(path)) {
        // A new pack: the header is written under a temporary name first.
        PackHeader fresh = m_header;
        FreshTimeStamp(fresh.timeStamp);
        WriteFileReplacing(path, &fresh, sizeof(fresh), FALSE);
        fd = openFd(TRUE);
    }
    if (fd < 0) {
        Close();
        return FALSE;
    }
    m_fd = fd;
    m_readOnly = writable ? FALSE : TRUE;
    if (!ReadHeaderAndDirectory(writable)) {
        Close();
        return FALSE;
    }
    return TRUE;
}

BOOL CQVPackFile::ReadHeaderAndDirectory(BOOL writable)
{
    int64_t length = FileLength(m_fd);
    if (length < 0 || length > int64_t(kMaxPackSize))
        return FALSE;
    if (length == 0) {
        if (!writable)
            return FALSE;
        FreshTimeStamp(m_header.timeStamp);
        return WriteHeader(-1);
    }
    PackHeader header;
    memset(&header, 0, sizeof(header));
    if (!ReadAt(m_fd, 0, &header, kOldHeaderSize) || memcmp(header.magic, kMagic, 4) != 0)
        return FALSE;
    header.name[sizeof(header.name) - 1] = '\0';
    if (header.version == kVersion) {
        if (!ReadAt(m_fd, kOldHeaderSize, header.timeStamp, sizeof(header.timeStamp)))
            return FALSE;
    } else if (header.version == kOldVersion) {
        m_readOnly = TRUE;
    } else {
        return FALSE;
    }
    m_header = header;

    m_inProgress = 0;
    if (!ReadAt(m_fd, InProgressOffset(), &m_inProgress, 1))
        return TRUE;   // the file ends after the header: no entries

    uint32_t at = FirstRecordOffset();
    const uint64_t fileEnd = uint64_t(length);
    while (true) {
        PackRecord record;
        DirEntry entry;
        if (!ReadAt(m_fd, at, &record, sizeof(record)) || record.storedLength <= 0
            || !TakeRecordName(record, entry.name))
            break;
        const uint64_t end = uint64_t(at) + sizeof(record) + uint32_t(record.storedLength)
                             + ExtraOf(record);
        if (end > fileEnd)
            break;
        entry.recordOffset = at;
        entry.state = record.state;
        m_directory.push_back(entry);
        at = uint32_t(end);
    }
    // Whatever follows the last whole entry is a write that never finished.
    if (!m_readOnly && uint64_t(at) < fileEnd && _chsize(m_fd, long(at)) != 0)
        return FALSE;
    return TRUE;
}

int CQVPackFile::FindLive(const char* name) const
{
    if (!name || m_fd < 0)
        return -1;
    for (size_t i = 0; i < m_directory.size(); ++i)
        if (m_directory[i].state != kDeleted && CompareNamesNoCase(m_directory[i].name, name) == 0)
            return int(i);
    return -1;
}

BOOL CQVPackFile::FindEntry(const char* name) const
{
    return FindLive(name) >= 0;
}

int CQVPackFile::CountEntries() const
{
    if (m_fd < 0)
        return -1;
    int count = 0;
    for (const DirEntry& entry : m_directory)
        if (entry.state != kDeleted)
            ++count;
    return count;
}

BOOL CQVPackFile::ReadRecord(uint32_t offset, PackRecord* record) const
{
    return ReadAt(m_fd, offset, record, sizeof(*record)) && record->storedLength > 0;
}

BOOL CQVPackFile::ReadEntry(const char* name, void** data, uint32_t* length, void** extra,
                            uint32_t* extraLength)
{
    if (!name || !data || !length)
        return FALSE;
    const int index = FindLive(name);
    PackRecord record;
    if (index < 0 || !ReadRecord(m_directory[index].recordOffset, &record))
        return FALSE;
    const uint32_t dataOffset = m_directory[index].recordOffset + uint32_t(sizeof(record));
    uint32_t stored = uint32_t(record.storedLength);
    const uint32_t extraSize = ExtraOf(record);
    if (uint64_t(dataOffset) + stored + extraSize > uint64_t(FileLength(m_fd)))
        return FALSE;   // the file changed under us

    BYTE* bytes = new (std::nothrow) BYTE[stored];
    if (!bytes || !ReadAt(m_fd, dataOffset, bytes, stored)) {
        delete[] bytes;
        return FALSE;
    }
    if (record.compressed) {
        BYTE* raw = UncompressBlock(bytes, &stored);
        delete[] bytes;
        if (!raw)
            return FALSE;
        bytes = raw;
    }
    BYTE* extraBytes = nullptr;
    if (extra && extraLength && extraSize) {
        extraBytes = new (std::nothrow) BYTE[extraSize];
        if (!extraBytes || !ReadAt(m_fd, dataOffset + uint32_t(record.storedLength), extraBytes,
                                   extraSize)) {
            delete[] extraBytes;
            delete[] bytes;
            return FALSE;
        }
    }
    *data = bytes;
    *length = stored;
    if (extra && extraLength) {
        *extra = extraBytes;
        *extraLength = extraBytes ? extraSize : 0;
    }
    return TRUE;
}

BOOL CQVPackFile::SetInProgress(BYTE value)
{
    if (!WriteAt(m_fd, InProgressOffset(), &value, 1))
        return FALSE;
    m_inProgress = value;
    return TRUE;
}

BOOL CQVPackFile::AddEntry(const char* name, const void* data, uint32_t length, int replaceMode,
                           const void* extra, uint32_t extraLength, BOOL compress)
{
    if (m_fd < 0 || m_readOnly || !name || !data || length == 0 || length > kMaxPackSize
        || !*name || strlen(name) > kMaxEntryName)
        return FALSE;
    if (!extra)
        extraLength = 0;
    if (extraLength > kMaxPackSize)
        return FALSE;
    if (replaceMode == 0 && FindLive(name) >= 0)
        return FALSE;

    const void* stored = data;
    uint32_t storedLength = length;
    BYTE* block = nullptr;
    if (compress) {
        uint32_t packed = length;
        block = CompressBlock(data, &packed, kDefaultCompressLevel, 0);
        if (block && packed < length) {
            stored = block;
            storedLength = packed;
        } else {
            compress = FALSE;
        }
    }

    const int64_t fileLength = FileLength(m_fd);
    const uint32_t start = fileLength > int64_t(FirstRecordOffset()) ? uint32_t(fileLength)
                                                                     : FirstRecordOffset();
    const uint64_t end = uint64_t(start) + sizeof(PackRecord) + storedLength + extraLength;
    BOOL ok = fileLength >= 0 && end <= kMaxPackSize;

    PackRecord record;
    memset(&record, 0, sizeof(record));
    record.state = kLive;
    strcpy(record.name, name);
    record.storedLength = int32_t(storedLength);
    record.compressed = compress ? 1 : 0;
    record.extraLength = int32_t(extraLength);

    ok = ok && SetInProgress(1);
    ok = ok && WriteAt(m_fd, start, &record, sizeof(record))
         && WriteAt(m_fd, start + uint32_t(sizeof(record)), stored, storedLength)
         && (extraLength == 0
             || WriteAt(m_fd, start + uint32_t(sizeof(record)) + storedLength, extra, extraLength))
         && _chsize(m_fd, long(end)) == 0;
    delete[] block;
    if (!ok) {
        // Nothing half-written stays behind.
        if (fileLength >= 0 && FileLength(m_fd) > fileLength)
            _chsize(m_fd, long(fileLength));
        SetInProgress(0);
        return FALSE;
    }
    DirEntry entry;
    strcpy(entry.name, name);
    entry.recordOffset = start;
    entry.state = kLive;
    try {
        m_directory.push_back(entry);
    } catch (const std::bad_alloc&) {
        _chsize(m_fd, long(fileLength));
        SetInProgress(0);
        return FALSE;
    }
    SetInProgress(0);

    // The old entry goes only now that the new one is whole; it stands
    // before the new one, so it is the first live entry of that name.
    if (replaceMode >= 1 && replaceMode <= 3) {
        const int old = FindLive(name);
        if (old >= 0 && old != int(m_directory.size()) - 1)
            DeleteAt(old);
    }
    return TRUE;
}

BOOL CQVPackFile::DeleteAt(int index)
{
    const BYTE deleted = kDeleted;
    BOOL ok = SetInProgress(1);
    ok = ok && WriteAt(m_fd, m_directory[index].recordOffset, &deleted, 1);
    if (ok)
        m_directory[index].state = kDeleted;
    SetInProgress(0);
    return ok;
}

BOOL CQVPackFile::DeleteEntry(const char* name, int mode)
{
    if (mode < 1 || mode > 3 || m_fd < 0 || m_readOnly)
        return FALSE;
    const int index = FindLive(name);
    return index >= 0 && DeleteAt(index);
}

const char* CQVPackFile::GetName() const
{
    return m_header.name;
}

void CQVPackFile::SetName(const char* name)
{
    if (m_fd < 0 || m_readOnly || !name)
        return;
    char field[sizeof(m_header.name)] = {};
    memcpy(field, name, CharBoundary(name, strlen(name), kMaxPackName));
    if (WriteAt(m_fd, offsetof(PackHeader, name), field, sizeof(field)))
        memcpy(m_header.name, field, sizeof(field));
}

PackEntryInfo* CQVPackFile::EnumEntries(int& position)
{
    if (m_fd < 0 || position < 0)
        return nullptr;
    for (size_t i = size_t(position); i < m_directory.size(); ++i) {
        if (m_directory[i].state == kDeleted)
            continue;
        PackRecord record;
        if (!ReadRecord(m_directory[i].recordOffset, &record))
            return nullptr;
        PackEntryInfo* info = new (std::nothrow) PackEntryInfo;
        if (!info)
            return nullptr;
        memset(info, 0, sizeof(*info));
        if (!TakeRecordName(record, info->name)) {
            delete info;
            return nullptr;
        }
        info->storedLength = record.storedLength;
        info->compressed = record.compressed;
        info->extraLength = int32_t(ExtraOf(record));
        position = int(i) + 1;
        return info;
    }
    position = int(m_directory.size());
    return nullptr;
}

BOOL CQVPackFile::WriteHeader(int fd)
{
    if (fd == -1) {
        if (m_fd < 0 || m_readOnly)
            return FALSE;
        fd = m_fd;
    }
    return WriteAt(fd, 0, &m_header, sizeof(m_header));
}

BOOL CQVPackFile::CopyTo(const char* newPath)
{
    if (m_fd < 0 || !newPath || !*newPath || strlen(newPath) >= MAX_PATH)
        return FALSE;
    if (CompareNamesNoCase(newPath, m_path) == 0)
        return TRUE;
    char temp[MAX_PATH];
    if (!GetReplacingTempName(newPath, temp, sizeof(temp)))
        return FALSE;
    BYTE* chunk = new (std::nothrow) BYTE[kCopyChunk];
    const int out = chunk ? _open(temp, _O_RDWR | _O_CREAT | _O_TRUNC | _O_BINARY,
                                  _S_IREAD | _S_IWRITE)
                          : -1;
    if (out < 0) {
        delete[] chunk;
        return FALSE;
    }

    PackHeader header = m_header;
    header.version = kVersion;
    FreshTimeStamp(header.timeStamp);
    const BYTE busy = 1, idle = 0;
    uint32_t at = sizeof(PackHeader);
    BOOL ok = WriteAt(out, 0, &header, sizeof(header)) && WriteAt(out, at, &busy, 1);
    at += 1;
    for (size_t i = 0; ok && i < m_directory.size(); ++i) {
        if (m_directory[i].state == kDeleted)
            continue;
        PackRecord record;
        ok = ReadRecord(m_directory[i].recordOffset, &record);
        const uint64_t size =
            sizeof(record) + uint64_t(uint32_t(record.storedLength)) + ExtraOf(record);
        ok = ok && uint64_t(at) + size <= kMaxPackSize
             && CopyBytes(m_fd, m_directory[i].recordOffset, out, at, uint32_t(size), chunk);
        at += uint32_t(size);
    }
    ok = ok && WriteAt(out, sizeof(PackHeader), &idle, 1) && _commit(out) == 0;
    _close(out);
    delete[] chunk;
    if (!ok || !::MoveFileExA(temp, newPath, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ::DeleteFileA(temp);
        return FALSE;
    }
    char path[MAX_PATH];
    strcpy(path, newPath);
    return Open(path, TRUE);
}

BOOL CQVPackFile::Upgrade()
{
    if (m_fd < 0 || m_header.version != kOldVersion)
        return TRUE;
    char path[MAX_PATH], backup[MAX_PATH], index[MAX_PATH];
    strcpy(path, m_path);
    if (!AppendSuffix(backup, path, ".bak") || !AppendSuffix(index, path, ".idx"))
        return FALSE;
    if (!CopyTo(backup))
        return FALSE;
    Close();
    if (PathExists(index) && !::DeleteFileA(index)) {
        Open(path, TRUE);
        return FALSE;
    }
    // The copy replaces the old pack in one step; were it cut short, the
    // ".bak" file would be taken back by the next open.
    ::MoveFileExA(backup, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    return Open(path, TRUE) && m_header.version == kVersion;
}
