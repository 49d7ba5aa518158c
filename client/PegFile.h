// The saved game, a "*.peg" file, and the record of one hand that becomes it.
//
// A file is a 104-byte header, a 208-byte info block and the data, with
// nothing between them; all integers little-endian. The data is a sequence
// of entries, each a u32 length L and then L bytes of one whole game message
// as the server sent it: u32 id, u32 body length, a third u32 when bit 31 of
// the id is set (a reply's result word), then the body. So L is the body
// length plus 8, or plus 12 for a reply.
//
// The codec is portable and window-free: the saved-game class (CGameRecord)
// feeds it messages and writes and reads its bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace peg {

constexpr uint16_t kMagic = 0x5651;   // the bytes "QV", compared as one u16
constexpr uint16_t kVersion = 6001;
constexpr size_t kHeaderSize = 104;
constexpr size_t kInfoSize = 208;
constexpr size_t kDataOffset = kHeaderSize + kInfoSize;   // 312
constexpr int kSeats = 5;
constexpr size_t kNameSize = 20;
// The largest file the reader takes, and the largest entry: the connection
// never delivers a message above 64 KiB and a header.
constexpr size_t kMaxFileSize = 16u << 20;
constexpr uint32_t kMaxEntryLength = 0x10000 + 12;

#pragma pack(push, 1)
struct Header {
    uint16_t magic;
    uint16_t version;
    uint16_t one;
    uint16_t zero;
    char created[28];        // asctime text of the local time: 24 characters, "\n", NUL, then zero
    uint8_t reserved[64];
    uint32_t one100;         // u32 1
};
struct Info {
    char userNames[kSeats][kNameSize];
    char nickNames[kSeats][kNameSize];
    uint32_t seat;           // the recording user's seat
    uint32_t dataLength;     // bytes of data after the info
};
#pragma pack(pop)
static_assert(sizeof(Header) == kHeaderSize, "peg header is 104 bytes");
static_assert(sizeof(Info) == kInfoSize, "peg info is 208 bytes");

// The length of a whole message from its header: id and body length, and
// the result word when bit 31 of the id is set. 0 when fewer bytes than the
// header are available or the length does not fit in 32 bits.
uint32_t MessageLength(const uint8_t* message, size_t available);
// The header size of a message with that id (8, or 12 for a reply).
inline uint32_t MessageHeaderSize(uint32_t id) { return (id & 0x80000000u) != 0 ? 12u : 8u; }

// asctime's text for a broken-down time: "Www Mmm dd hh:mm:ss yyyy\n".
std::string AsctimeText(const std::tm& when);
// A fresh header for a record created at that local time.
void MakeHeader(Header* header, const std::tm& localTime);

// What the record does with a message of that id.
enum RecordAction {
    kIgnore = 0,
    kStartAndAppend,   // 0x80026001: a new record, then the message
    kStartWithBody,    // 0x26012: a new record whose data is the message's body
    kAppend,           // the hand's decisions, plays and score
};
RecordAction RecordActionFor(uint32_t id);

enum RecordResult {
    kRecordTaken = 0,      // appended, started, or not a message the record keeps
    kRecordBadLength,      // a length of 0 or less, or past the message given
    kRecordNoRecord,       // nothing started yet: the message is dropped
    kRecordNoMemory,       // the record could not grow: it is dropped whole
};

// One hand's record: header, info and data. Nothing is kept until a deal (or
// the server's record of the hand) starts it.
class Record
{
public:
    struct Names {
        const char* userNames[kSeats];
        const char* nickNames[kSeats];
    };

    bool Exists() const { return m_exists; }
    void Clear();
    // Starts afresh: the header with the time, the info with the names and
    // the seat, no data.
    void Start(const Names& names, uint32_t seat, const std::tm& localTime);
    // Applies a received message of `size` bytes (the whole buffer the
    // connection handed over).
    RecordResult Take(const uint8_t* message, size_t size, const Names& names, uint32_t seat,
                      const std::tm& localTime);
    // Appends one entry. kRecordNoRecord without a record.
    RecordResult Append(const uint8_t* message, uint32_t length);
    // Makes the bytes the record's data.
    RecordResult SetData(const uint8_t* bytes, size_t size);

    const Header& GetHeader() const { return m_header; }
    const Info& GetInfo() const { return m_info; }
    const std::vector<uint8_t>& Data() const { return m_data; }
    // The whole file.
    std::vector<uint8_t> Serialize() const;

private:
    bool m_exists = false;
    Header m_header{};
    Info m_info{};
    std::vector<uint8_t> m_data;
};

// ---- Reading ---------------------------------------------------------------------

enum ReadStatus {
    kReadOk = 0,
    kReadShortHeader,     // fewer than 104 bytes
    kReadBadMagic,        // not "QV"
    kReadShortInfo,       // fewer than 312 bytes
    kReadTooLarge,        // above kMaxFileSize
    kReadBadSeat,         // the info's seat is not 0-4
    kReadBadLength,       // the info's data length is not the data's size
    kReadBadEntry,        // an entry is cut off, too short, too long, or disagrees with its message
};

struct Entry {
    size_t offset;        // of the message (after its u32 length) in the file
    uint32_t length;      // L
    uint32_t id;
};

struct File {
    Header header{};
    Info info{};          // names always terminated
    std::vector<Entry> entries;
    size_t badEntryOffset = 0;   // with kReadBadEntry: where the bad entry starts
};

// Checks a whole file: the header's magic (its version is not looked at),
// the info's seat and data length, and every entry: L of at least the
// message's header, no more than the bytes left and kMaxEntryLength, and
// equal to the message's own header and body length. A zero L ends the data
// only when nothing follows it.
ReadStatus ReadFile(const uint8_t* bytes, size_t size, File* out);

// The file name of a new saved game: "%s旁观的%s.peg" while watching and
// "%s自己的%s.peg" otherwise, the folder (a backslash is added when it has
// none) first and the time "%Y%m%d%H%M%S" second; with a suffix above 1,
// "-<suffix>" follows the time (a second save in the same second).
std::string SaveFileName(const std::string& folder, const std::string& timeText, bool watching, int suffix);
// "%Y%m%d%H%M%S" of a broken-down time.
std::string SaveTimeText(const std::tm& when);

}  // namespace peg
