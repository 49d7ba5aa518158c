#include "PegFile.h"

#include <cstdio>
#include <cstring>
#include <new>

namespace peg {

namespace {

uint32_t ReadU32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24); }

void WriteU32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}

void CopyName(char (&field)[kNameSize], const char* text)
{
    memset(field, 0, sizeof field);
    if (text != nullptr)
        strncpy(field, text, sizeof field - 1);
}

void TerminateNames(Info& info)
{
    for (int s = 0; s < kSeats; ++s) {
        info.userNames[s][kNameSize - 1] = '\0';
        info.nickNames[s][kNameSize - 1] = '\0';
    }
}

}  // namespace

uint32_t MessageLength(const uint8_t* message, size_t available)
{
    if (message == nullptr || available < 8)
        return 0;
    const uint32_t id = ReadU32(message);
    const uint32_t header = MessageHeaderSize(id);
    if (available < header)
        return 0;
    const uint64_t total = static_cast<uint64_t>(ReadU32(message + 4)) + header;
    return total > 0xFFFFFFFFu ? 0 : static_cast<uint32_t>(total);
}

std::string AsctimeText(const std::tm& when)
{
    static const char kDays[7][4] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char kMonths[12][4] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    char text[64];
    snprintf(text, sizeof text, "%.3s %.3s%3d %.2d:%.2d:%.2d %d\n", kDays[(when.tm_wday % 7 + 7) % 7],
             kMonths[(when.tm_mon % 12 + 12) % 12], when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec,
             1900 + when.tm_year);
    return text;
}

void MakeHeader(Header* header, const std::tm& localTime)
{
    memset(header, 0, sizeof *header);
    header->magic = kMagic;
    header->version = kVersion;
    header->one = 1;
    header->zero = 0;
    const std::string created = AsctimeText(localTime);
    memcpy(header->created, created.data(), created.size() < sizeof header->created - 1 ? created.size()
                                                                                          : sizeof header->created - 1);
    header->one100 = 1;
}

RecordAction RecordActionFor(uint32_t id)
{
    switch (id) {
    case 0x26012: return kStartWithBody;
    case 0x80026001: return kStartAndAppend;
    case 0x26002:
    case 0x26004:
    case 0x26005:
    case 0x26010:
    case 0x80026003:
    case 0x80026006: return kAppend;
    default: return kIgnore;
    }
}

// ---- Record ---------------------------------------------------------------------------

void Record::Clear()
{
    m_exists = false;
    m_header = Header{};
    m_info = Info{};
    std::vector<uint8_t>().swap(m_data);
}

void Record::Start(const Names& names, uint32_t seat, const std::tm& localTime)
{
    Clear();
    MakeHeader(&m_header, localTime);
    for (int s = 0; s < kSeats; ++s) {
        CopyName(m_info.userNames[s], names.userNames[s]);
        CopyName(m_info.nickNames[s], names.nickNames[s]);
    }
    m_info.seat = seat;
    m_info.dataLength = 0;
    m_exists = true;
}

RecordResult Record::Append(const uint8_t* message, uint32_t length)
{
    if (!m_exists)
        return kRecordNoRecord;
    if (message == nullptr || length == 0 || length > kMaxEntryLength)
        return kRecordBadLength;
    try {
        const size_t used = m_data.size();
        m_data.resize(used + 4 + length);
        WriteU32(m_data.data() + used, length);
        memcpy(m_data.data() + used + 4, message, length);
    } catch (const std::bad_alloc&) {
        Clear();
        return kRecordNoMemory;
    }
    m_info.dataLength += length + 4;
    return kRecordTaken;
}

RecordResult Record::SetData(const uint8_t* bytes, size_t size)
{
    if (!m_exists)
        return kRecordNoRecord;
    try {
        m_data.assign(bytes, bytes + size);
    } catch (const std::bad_alloc&) {
        Clear();
        return kRecordNoMemory;
    }
    m_info.dataLength = static_cast<uint32_t>(size);
    return kRecordTaken;
}

RecordResult Record::Take(const uint8_t* message, size_t size, const Names& names, uint32_t seat,
                          const std::tm& localTime)
{
    if (message == nullptr || size < 8)
        return kRecordBadLength;
    const uint32_t id = ReadU32(message);
    const RecordAction action = RecordActionFor(id);
    if (action == kIgnore)
        return kRecordTaken;
    const uint32_t length = MessageLength(message, size);
    if (length == 0 || length > size || length > kMaxEntryLength)
        return kRecordBadLength;
    switch (action) {
    case kStartWithBody: {
        const uint32_t header = MessageHeaderSize(id);
        Start(names, seat, localTime);
        return SetData(message + header, length - header);
    }
    case kStartAndAppend:
        Start(names, seat, localTime);
        return Append(message, length);
    case kAppend:
        return Append(message, length);
    case kIgnore:
        break;
    }
    return kRecordTaken;
}

std::vector<uint8_t> Record::Serialize() const
{
    std::vector<uint8_t> out;
    if (!m_exists)
        return out;
    out.resize(kDataOffset + m_data.size());
    memcpy(out.data(), &m_header, kHeaderSize);
    Info info = m_info;
    info.dataLength = static_cast<uint32_t>(m_data.size());
    memcpy(out.data() + kHeaderSize, &info, kInfoSize);
    if (!m_data.empty())
        memcpy(out.data() + kDataOffset, m_data.data(), m_data.size());
    return out;
}

// ---- Reading ---------------------------------------------------------------------

ReadStatus ReadFile(const uint8_t* bytes, size_t size, File* out)
{
    File local;
    File& file = out != nullptr ? *out : local;
    file = File{};
    if (bytes == nullptr || size < kHeaderSize)
        return kReadShortHeader;
    memcpy(&file.header, bytes, kHeaderSize);
    if (file.header.magic != kMagic)
        return kReadBadMagic;
    if (size < kDataOffset)
        return kReadShortInfo;
    if (size > kMaxFileSize)
        return kReadTooLarge;
    memcpy(&file.info, bytes + kHeaderSize, kInfoSize);
    TerminateNames(file.info);
    if (file.info.seat >= static_cast<uint32_t>(kSeats))
        return kReadBadSeat;
    if (file.info.dataLength != size - kDataOffset)
        return kReadBadLength;

    size_t at = kDataOffset;
    while (at < size) {
        if (size - at < 4) {
            file.badEntryOffset = at;
            return kReadBadEntry;
        }
        const uint32_t length = ReadU32(bytes + at);
        if (length == 0) {
            // The end mark: only at the very end of the data.
            if (at + 4 != size) {
                file.badEntryOffset = at;
                return kReadBadEntry;
            }
            break;
        }
        const size_t left = size - at - 4;
        const uint8_t* message = bytes + at + 4;
        if (length < 8 || length > left || length > kMaxEntryLength || MessageLength(message, length) != length) {
            file.badEntryOffset = at;
            return kReadBadEntry;
        }
        file.entries.push_back(Entry{at + 4, length, ReadU32(message)});
        at += 4 + static_cast<size_t>(length);
    }
    return kReadOk;
}

std::string SaveTimeText(const std::tm& when)
{
    char text[32];
    snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", 1900 + when.tm_year, when.tm_mon + 1, when.tm_mday,
             when.tm_hour, when.tm_min, when.tm_sec);
    return text;
}

std::string SaveFileName(const std::string& folder, const std::string& timeText, bool watching, int suffix)
{
    std::string name = folder;
    if (name.empty() || name.back() != '\\')
        name += '\\';
    name += watching ? "旁观的" : "自己的";
    name += timeText;
    if (suffix > 1)
        name += "-" + std::to_string(suffix);
    name += ".peg";
    return name;
}

}  // namespace peg
