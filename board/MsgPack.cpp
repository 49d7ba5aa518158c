#include "MsgPack.h"

#include <climits>
#include <cstring>

namespace {

// Largest message the builders and stream writers make: its size must stay a
// positive signed 32-bit value.
constexpr uint64_t kMaxMessageSize = INT32_MAX;

// Bytes a packing field contributes when its source is present.
uint64_t PackedLength(int32_t length, const void* data)
{
    if (length >= 0)
        return static_cast<uint64_t>(length);
    return data ? std::strlen(static_cast<const char*>(data)) + 1 : 1;
}

uint32_t HeaderSizeFor(uint32_t id)
{
    return MsgHeaderSize(id);
}

NetMsgHeader* BuildAllocated(uint32_t id, uint32_t extra, std::initializer_list<MsgField> fields)
{
    const uint32_t headerSize = HeaderSizeFor(id);
    CByteBuffer buffer;
    static const uint8_t zeros[kMsgLongHeaderSize] = {};
    if (!buffer.Append(zeros, headerSize))
        return nullptr;
    for (const MsgField& f : fields) {
        if (f.length == 0)
            continue;
        const uint64_t n = f.data ? PackedLength(f.length, f.data) : 1;
        if (buffer.Size() + n > kMaxMessageSize)
            return nullptr;
        if (!buffer.AppendOrZero(f.data, static_cast<uint32_t>(n)))
            return nullptr;
    }
    const uint32_t bodyLength = buffer.Size() - headerSize;
    auto* msg = reinterpret_cast<NetMsgHeader*>(buffer.Detach());
    msg->id = id;
    msg->length = bodyLength;
    if (headerSize == kMsgLongHeaderSize)
        msg->extra = extra;
    return msg;
}

NetMsgHeader* BuildInto(void* block, uint32_t id, uint32_t extra,
                        std::initializer_list<MsgField> fields)
{
    if (!block)
        return nullptr;
    auto* msg = static_cast<NetMsgHeader*>(block);
    const uint32_t headerSize = HeaderSizeFor(id);
    uint8_t* out = static_cast<uint8_t*>(block) + headerSize;
    uint32_t written = 0;
    for (const MsgField& f : fields) {
        if (f.length == 0)
            continue;
        const uint32_t n = static_cast<uint32_t>(PackedLength(f.length, f.data));
        if (f.data)
            std::memcpy(out + written, f.data, n);
        else
            std::memset(out + written, 0, n);
        written += n;
    }
    msg->id = id;
    msg->length = written;
    if (headerSize == kMsgLongHeaderSize)
        msg->extra = extra;
    return msg;
}

// Bytes a read of `length` takes from body[pos..bodyLength), or -1 when the
// read cannot be made. Strings count their zero byte.
int64_t ReadExtent(const uint8_t* body, uint32_t bodyLength, uint32_t pos, int32_t length)
{
    const uint32_t left = bodyLength - pos;
    if (length > 0)
        return static_cast<uint32_t>(length) <= left ? length : -1;
    const uint64_t capacity = static_cast<uint64_t>(-static_cast<int64_t>(length));
    const void* zero = std::memchr(body + pos, 0, left);
    if (!zero)
        return -1;
    const uint64_t withZero = static_cast<uint64_t>(static_cast<const uint8_t*>(zero) - (body + pos)) + 1;
    return withZero <= capacity ? static_cast<int64_t>(withZero) : -1;
}

// Reads the slots in order from body[start..]: first checks all of them, then
// copies. Returns the bytes consumed, or -1 with nothing copied.
int64_t ReadSlots(const uint8_t* body, uint32_t bodyLength, uint32_t start, const MsgSlot* slots,
                  size_t count, bool zeroLengthIsString)
{
    if (start > bodyLength)
        return -1;
    uint32_t pos = start;
    for (size_t i = 0; i < count; ++i) {
        if (slots[i].length == 0 && !zeroLengthIsString)
            continue;
        const int64_t n = ReadExtent(body, bodyLength, pos, slots[i].length);
        if (n < 0 || (n > 0 && !slots[i].dest))
            return -1;
        pos += static_cast<uint32_t>(n);
    }
    pos = start;
    for (size_t i = 0; i < count; ++i) {
        if (slots[i].length == 0 && !zeroLengthIsString)
            continue;
        const int64_t n = ReadExtent(body, bodyLength, pos, slots[i].length);
        std::memcpy(slots[i].dest, body + pos, static_cast<size_t>(n));
        pos += static_cast<uint32_t>(n);
    }
    return pos - start;
}

int Parse(const NetMsgHeader* msg, uint32_t headerSize, std::initializer_list<MsgSlot> fields)
{
    if (!msg)
        return 0;
    const uint8_t* body = reinterpret_cast<const uint8_t*>(msg) + headerSize;
    return ReadSlots(body, msg->length, 0, fields.begin(), fields.size(), false) >= 0 ? 1 : 0;
}

bool ValidHeaderSize(uint32_t headerSize)
{
    return headerSize == kMsgShortHeaderSize || headerSize == kMsgLongHeaderSize;
}

int ReadStream(NetMsgHeader* msg, uint32_t headerSize, std::initializer_list<MsgSlot> fields)
{
    if (!msg || !ValidHeaderSize(headerSize))
        return 0;
    const uint8_t* body = reinterpret_cast<const uint8_t*>(msg) + headerSize;
    const int64_t consumed = ReadSlots(body, msg->length, msg->id, fields.begin(), fields.size(), true);
    if (consumed < 0)
        return 0;
    msg->id += static_cast<uint32_t>(consumed);
    return 1;
}

}  // namespace

size_t MsgSize(const NetMsgHeader* msg)
{
    if (!msg)
        return 0;
    return static_cast<size_t>(MsgHeaderSize(msg->id)) + msg->length;
}

NetMsgHeader* MsgBuild(uint32_t id, uint32_t extra, std::initializer_list<MsgField> fields)
{
    return BuildAllocated(id | kMsgLongHeaderBit, extra, fields);
}

NetMsgHeader* MsgBuildPlain(uint32_t id, std::initializer_list<MsgField> fields)
{
    return BuildAllocated(id & ~kMsgLongHeaderBit, 0, fields);
}

NetMsgHeader* MsgBuildInto(void* block, uint32_t id, uint32_t extra,
                           std::initializer_list<MsgField> fields)
{
    return BuildInto(block, id | kMsgLongHeaderBit, extra, fields);
}

NetMsgHeader* MsgBuildPlainInto(void* block, uint32_t id, std::initializer_list<MsgField> fields)
{
    return BuildInto(block, id & ~kMsgLongHeaderBit, 0, fields);
}

NetMsgHeader* MsgClone(const NetMsgHeader* msg)
{
    if (!msg)
        return nullptr;
    const size_t size = MsgSize(msg);
    void* copy = gpMalloc(size);
    if (!copy)
        return nullptr;
    std::memcpy(copy, msg, size);
    return static_cast<NetMsgHeader*>(copy);
}

int MsgParse(const NetMsgHeader* msg, std::initializer_list<MsgSlot> fields)
{
    return Parse(msg, kMsgShortHeaderSize, fields);
}

int MsgParseEx(const NetMsgHeader* msg, std::initializer_list<MsgSlot> fields)
{
    return Parse(msg, kMsgLongHeaderSize, fields);
}

// ---- Stream writing ----------------------------------------------------------

int StreamAppend(uint32_t headerSize, NetMsgHeader** block,
                 std::initializer_list<StreamChunk> chunks, uint32_t grow)
{
    if (!block || !ValidHeaderSize(headerSize))
        return 0;
    NetMsgHeader* msg = *block;
    const uint64_t allocated = msg ? msg->id : 0;
    const uint64_t used = msg ? msg->length : 0;

    uint64_t added = 0;
    for (const StreamChunk& c : chunks)
        added += PackedLength(c.length, c.data);

    const uint64_t needed = headerSize + used + added;
    if (needed > kMaxMessageSize)
        return 0;
    if (allocated < needed) {
        const uint64_t newSize = needed + grow;
        if (newSize > kMaxMessageSize)
            return 0;
        auto* grown = static_cast<NetMsgHeader*>(gpRealloc(msg, static_cast<size_t>(newSize)));
        if (!grown)
            return 0;
        if (!msg)
            std::memset(grown, 0, headerSize);
        msg = grown;
        msg->id = static_cast<uint32_t>(newSize);
        *block = msg;
    }

    uint8_t* out = reinterpret_cast<uint8_t*>(msg) + headerSize + used;
    for (const StreamChunk& c : chunks) {
        const size_t n = static_cast<size_t>(PackedLength(c.length, c.data));
        if (c.data)
            std::memcpy(out, c.data, n);
        else
            std::memset(out, 0, n);
        out += n;
    }
    msg->length = static_cast<uint32_t>(used + added);
    return 1;
}

int StreamWrite(NetMsgHeader** block, const void* p, int32_t n, uint32_t grow)
{
    return StreamAppend(kMsgLongHeaderSize, block, {{p, n}}, grow);
}

int StreamWrite(NetMsgHeader** block, const void* p1, int32_t n1, const void* p2, int32_t n2,
                uint32_t grow)
{
    return StreamAppend(kMsgLongHeaderSize, block, {{p1, n1}, {p2, n2}}, grow);
}

int StreamWrite(NetMsgHeader** block, const void* p1, int32_t n1, const void* p2, int32_t n2,
                const void* p3, int32_t n3, uint32_t grow)
{
    return StreamAppend(kMsgLongHeaderSize, block, {{p1, n1}, {p2, n2}, {p3, n3}}, grow);
}

int StreamWrite(NetMsgHeader** block, const void* p1, int32_t n1, const void* p2, int32_t n2,
                const void* p3, int32_t n3, const void* p4, int32_t n4, uint32_t grow)
{
    return StreamAppend(kMsgLongHeaderSize, block, {{p1, n1}, {p2, n2}, {p3, n3}, {p4, n4}}, grow);
}

int StreamWritePlain(NetMsgHeader** block, const void* p, int32_t n, uint32_t grow)
{
    return StreamAppend(kMsgShortHeaderSize, block, {{p, n}}, grow);
}

int StreamWritePlain(NetMsgHeader** block, const void* p1, int32_t n1, const void* p2,
                     int32_t n2, uint32_t grow)
{
    return StreamAppend(kMsgShortHeaderSize, block, {{p1, n1}, {p2, n2}}, grow);
}

int StreamWritePlain(NetMsgHeader** block, const void* p1, int32_t n1, const void* p2,
                     int32_t n2, const void* p3, int32_t n3, uint32_t grow)
{
    return StreamAppend(kMsgShortHeaderSize, block, {{p1, n1}, {p2, n2}, {p3, n3}}, grow);
}

int StreamWritePlain(NetMsgHeader** block, const void* p1, int32_t n1, const void* p2,
                     int32_t n2, const void* p3, int32_t n3, const void* p4, int32_t n4,
                     uint32_t grow)
{
    return StreamAppend(kMsgShortHeaderSize, block, {{p1, n1}, {p2, n2}, {p3, n3}, {p4, n4}},
                        grow);
}

// ---- Stream reading ----------------------------------------------------------

int StreamRead(NetMsgHeader* msg, void* dst, int32_t n)
{
    return ReadStream(msg, kMsgLongHeaderSize, {{n, dst}});
}

int StreamRead(NetMsgHeader* msg, void* d1, int32_t n1, void* d2, int32_t n2)
{
    return ReadStream(msg, kMsgLongHeaderSize, {{n1, d1}, {n2, d2}});
}

int StreamRead(NetMsgHeader* msg, void* d1, int32_t n1, void* d2, int32_t n2, void* d3,
               int32_t n3)
{
    return ReadStream(msg, kMsgLongHeaderSize, {{n1, d1}, {n2, d2}, {n3, d3}});
}

int StreamRead(NetMsgHeader* msg, void* d1, int32_t n1, void* d2, int32_t n2, void* d3,
               int32_t n3, void* d4, int32_t n4)
{
    return ReadStream(msg, kMsgLongHeaderSize, {{n1, d1}, {n2, d2}, {n3, d3}, {n4, d4}});
}

int StreamReadPlain(NetMsgHeader* msg, void* dst, int32_t n)
{
    return ReadStream(msg, kMsgShortHeaderSize, {{n, dst}});
}

int StreamReadPlain(NetMsgHeader* msg, void* d1, int32_t n1, void* d2, int32_t n2)
{
    return ReadStream(msg, kMsgShortHeaderSize, {{n1, d1}, {n2, d2}});
}

int StreamReadPlain(NetMsgHeader* msg, void* d1, int32_t n1, void* d2, int32_t n2, void* d3,
                    int32_t n3)
{
    return ReadStream(msg, kMsgShortHeaderSize, {{n1, d1}, {n2, d2}, {n3, d3}});
}

int StreamReadPlain(NetMsgHeader* msg, void* d1, int32_t n1, void* d2, int32_t n2, void* d3,
                    int32_t n3, void* d4, int32_t n4)
{
    return ReadStream(msg, kMsgShortHeaderSize, {{n1, d1}, {n2, d2}, {n3, d3}, {n4, d4}});
}

void* StreamTake(NetMsgHeader* msg, uint32_t headerSize, int32_t n)
{
    if (!msg || !ValidHeaderSize(headerSize) || msg->id > msg->length)
        return nullptr;
    uint8_t* body = reinterpret_cast<uint8_t*>(msg) + headerSize;
    const int64_t extent = ReadExtent(body, msg->length, msg->id, n);
    if (extent < 0)
        return nullptr;
    uint8_t* at = body + msg->id;
    msg->id += static_cast<uint32_t>(extent);
    return at;
}

void* StreamTakeBytes(NetMsgHeader* msg, uint32_t n)
{
    if (!msg || msg->id > msg->length || n > msg->length - msg->id)
        return nullptr;
    uint8_t* at = reinterpret_cast<uint8_t*>(msg) + kMsgLongHeaderSize + msg->id;
    msg->id += n;
    return at;
}

const char* StreamPeekString(NetMsgHeader* msg, uint32_t headerSize, uint32_t* length)
{
    if (!msg || !ValidHeaderSize(headerSize) || msg->id > msg->length)
        return nullptr;
    char* at = reinterpret_cast<char*>(msg) + headerSize + msg->id;
    const void* zero = std::memchr(at, 0, msg->length - msg->id);
    if (!zero)
        return nullptr;
    const uint32_t withZero = static_cast<uint32_t>(static_cast<const char*>(zero) - at) + 1;
    msg->id += withZero;
    if (length)
        *length = withZero;
    return at;
}

int StreamReadString(NetMsgHeader* msg, uint32_t headerSize, char* dst, uint32_t size)
{
    if (size > 0 && !dst)
        return 0;
    uint32_t withZero = 0;
    const char* text = StreamPeekString(msg, headerSize, &withZero);
    if (!text)
        return 0;
    if (size == 0)
        return 1;
    const uint32_t copied = withZero <= size ? withZero - 1 : size - 1;
    std::memcpy(dst, text, copied);
    dst[copied] = '\0';
    return 1;
}
