// CQVPackFile: the resource pack, one file holding many named entries.
//
// File layout (little-endian):
//   header  "VUR\0", char[128] pack name, u32 version (257, or 1 for old
//           packs), 8-byte time stamp (version 257 only), u8 in-progress
//           byte (1 while an add, delete or copy is being written);
//   entries one after another: a 276-byte record (u8 state 0 live / 3
//           deleted, char[263] name, i32 stored length > 0, u32 compressed
//           flag, i32 extra length), the stored data, the extra data.
// Entries are only appended; deleting one sets its state byte in place. A
// half-written entry at the end is cut off by the next writable open.
//
// Blocks handed out (ReadEntry data and extra data, EnumEntries info) are
// new[] arrays: free them with FreeData.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#pragma pack(push, 1)
struct PackHeader
{
    char magic[4];           // "VUR\0"
    char name[128];          // NUL-terminated, zero-padded
    uint32_t version;        // 257 or 1
    BYTE timeStamp[8];       // version 257 only; never interpreted
};
struct PackRecord
{
    BYTE state;              // 0 live, 3 deleted
    char name[263];          // NUL-terminated, zero-padded, at most 259 characters
    int32_t storedLength;    // > 0
    uint32_t compressed;     // the data is a compressed block (BlockCompress.h)
    int32_t extraLength;     // below 0 counts as 0
};
#pragma pack(pop)
static_assert(sizeof(PackHeader) == 144, "pack header is 144 bytes");
static_assert(offsetof(PackHeader, version) == 132, "version at 132");
static_assert(offsetof(PackHeader, timeStamp) == 136, "time stamp at 136");
static_assert(sizeof(PackRecord) == 276, "entry record is 276 bytes");
static_assert(offsetof(PackRecord, storedLength) == 264, "stored length at 264");
static_assert(offsetof(PackRecord, compressed) == 268, "compressed flag at 268");
static_assert(offsetof(PackRecord, extraLength) == 272, "extra length at 272");

// What EnumEntries gives for one entry.
struct PackEntryInfo
{
    char name[MAX_PATH];
    int32_t storedLength;
    uint32_t compressed;
    int32_t extraLength;
};

// The backup name of a file: its name's extension replaced by "bak"
// ("skin.pak" -> "skin.bak"; ".bak" appended when it has none). 0 when the
// result does not fit into capacity bytes. (The pack operations themselves
// append ".bak" to the whole path.)
BOOL MakeBackupName(const char* path, char* buffer, size_t capacity);

class CQVPackFile
{
public:
    static constexpr uint32_t kVersion = 257;
    static constexpr uint32_t kOldVersion = 1;
    static constexpr uint32_t kOldHeaderSize = 136;     // version 1: no time stamp
    static constexpr BYTE kLive = 0;
    static constexpr BYTE kDeleted = 3;
    static constexpr size_t kMaxEntryName = 259;
    static constexpr size_t kMaxPackName = 127;
    // Packs stay below 2 GiB: offsets are kept in 32 bits.
    static constexpr uint32_t kMaxPackSize = 0x7FFFFFFFu;

    CQVPackFile();
    virtual ~CQVPackFile();
    CQVPackFile(const CQVPackFile&) = delete;
    CQVPackFile& operator=(const CQVPackFile&) = delete;

    // Opens the pack and reads its directory. Writable: a missing pack is
    // created (a leftover "<path>.bak" is taken back first) and a
    // half-written entry at the end is cut off. A read-only open creates
    // nothing. A version 1 pack is always read-only.
    BOOL Open(const char* path, BOOL writable);
    void Close();

    // The live entry of that name (case-insensitive): its bytes as stored
    // before compression, and when both extra outputs are given its extra
    // data (null and 0 when it has none).
    BOOL ReadEntry(const char* name, void** data, uint32_t* length, void** extra = NULL,
                   uint32_t* extraLength = NULL);
    // Appends an entry. replaceMode 0 refuses a name that exists; otherwise
    // the old entry is deleted (mode as DeleteEntry) once the new one is
    // written whole. With compress set the data is stored compressed when
    // that makes it shorter.
    BOOL AddEntry(const char* name, const void* data, uint32_t length, int replaceMode,
                  const void* extra = NULL, uint32_t extraLength = 0, BOOL compress = FALSE);
    // Marks the first live entry of that name deleted; mode 1, 2 or 3.
    BOOL DeleteEntry(const char* name, int mode);
    BOOL FindEntry(const char* name) const;
    // Entries not deleted; -1 when closed.
    int CountEntries() const;
    const char* GetName() const;
    void SetName(const char* name);
    // From position 0: the next entry that is not deleted (a new info block)
    // and the position after it; null at the end.
    PackEntryInfo* EnumEntries(int& position);
    // Writes a compacted copy (live entries only, version 257) to newPath and
    // goes on with it, writable.
    BOOL CopyTo(const char* newPath);
    // Converts a version 1 pack to version 257; 1 and nothing done for others.
    BOOL Upgrade();
    // Writes the 144 header bytes at offset 0 of fd, or of the pack's own
    // file for -1 (refused on a read-only pack).
    BOOL WriteHeader(int fd = -1);

    BOOL IsOpen() const { return m_fd >= 0; }
    BOOL IsReadOnly() const { return m_readOnly; }
    uint32_t GetVersion() const { return m_header.version; }
    const char* GetPath() const { return m_path; }

    static void FreeData(void* block);

private:
    struct DirEntry
    {
        char name[MAX_PATH];
        uint32_t recordOffset;
        BYTE state;
    };

    void ResetHeader();
    uint32_t FirstRecordOffset() const;
    uint32_t InProgressOffset() const;
    BOOL ReadHeaderAndDirectory(BOOL writable);
    int FindLive(const char* name) const;
    BOOL SetInProgress(BYTE value);
    BOOL ReadRecord(uint32_t offset, PackRecord* record) const;
    BOOL DeleteAt(int index);

    BYTE m_inProgress;
    int m_fd;
    char m_path[MAX_PATH];
    PackHeader m_header;
    std::vector<DirEntry> m_directory;
    BOOL m_readOnly;
};
