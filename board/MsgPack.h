// Message packing: building game messages from field lists, reading fields
// back with bounds checks, and appending to / reading from a growing message
// ("stream").
//
// Field lengths follow one rule everywhere: a positive length is that many
// bytes; a negative length is a zero-terminated string. When packing, the
// string is written with its zero byte (a null string counts as empty, so a
// single zero byte). When unpacking, |length| is the size of the destination,
// terminator included, so at most |length| - 1 characters fit.
//
// Every reader fails (0 or null) without copying anything and without moving
// its cursor when the body is too short, a string has no zero byte within the
// body, or a string does not fit its destination. Reads never look past the
// body length that the header declares.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

#include "ByteBuffer.h"
#include "NetMsgHeader.h"

// Block size of a message: header (8 or 12 bytes) plus body; 0 for null.
size_t MsgSize(const NetMsgHeader* msg);

// Body of a message, after its short or long header.
inline uint8_t* MsgBody(NetMsgHeader* msg)
{
    return reinterpret_cast<uint8_t*>(msg) + MsgHeaderSize(msg->id);
}
inline const uint8_t* MsgBody(const NetMsgHeader* msg)
{
    return reinterpret_cast<const uint8_t*>(msg) + MsgHeaderSize(msg->id);
}

// One field to pack: length as above, and its source.
struct MsgField {
    int32_t length;
    const void* data;
};

// One field to unpack: length as above, and its destination.
struct MsgSlot {
    int32_t length;
    void* dest;
};

// ---- Building --------------------------------------------------------------
// The allocating builders return a block to free with gpFree, or null when
// memory runs out (nothing is leaked then). A field with a null source
// contributes a single zero byte to them. The long-header builders always set
// bit 31 of the id; the short-header builders always clear it.

NetMsgHeader* MsgBuild(uint32_t id, uint32_t extra, std::initializer_list<MsgField> fields);
NetMsgHeader* MsgBuildPlain(uint32_t id, std::initializer_list<MsgField> fields);

// Write into a block that the caller supplies and sizes (no size check). A
// field with a null source contributes `length` zero bytes. Returns block.
NetMsgHeader* MsgBuildInto(void* block, uint32_t id, uint32_t extra,
                           std::initializer_list<MsgField> fields);
NetMsgHeader* MsgBuildPlainInto(void* block, uint32_t id, std::initializer_list<MsgField> fields);

// Copy of MsgSize(msg) bytes; null in, null out.
NetMsgHeader* MsgClone(const NetMsgHeader* msg);

// ---- Parsing ---------------------------------------------------------------
// Walk the body from its start; 1 when every field was there, else 0 with no
// field copied. A slot of length 0 reads nothing. The message is not changed.
int MsgParse(const NetMsgHeader* msg, std::initializer_list<MsgSlot> fields);    // short header
int MsgParseEx(const NetMsgHeader* msg, std::initializer_list<MsgSlot> fields);  // long header

// ---- Stream writing ----------------------------------------------------------
// While a stream is written its first word holds the allocated size of the
// block and its second the body length written so far; the owner puts the id
// back when writing is over. A null *block is a block of size 0 (the first
// append allocates it). When the block is too small it is re-allocated to
// header + used + new bytes + grow. A null source writes zero bytes; a
// negative length writes a string with its zero byte. All return 1, or 0 when
// the block cannot grow (*block is then left as it was).

struct StreamChunk {
    const void* data;
    int32_t length;
};

int StreamAppend(uint32_t headerSize, NetMsgHeader** block,
                 std::initializer_list<StreamChunk> chunks, uint32_t grow);

// Long-header streams (body at byte 12).
int StreamWrite(NetMsgHeader** block, const void* p, int32_t n, uint32_t grow);
int StreamWrite(NetMsgHeader** block, const void* p1, int32_t n1, const void* p2, int32_t n2,
                uint32_t grow);
int StreamWrite(NetMsgHeader** block, const void* p1, int32_t n1, const void* p2, int32_t n2,
                const void* p3, int32_t n3, uint32_t grow);
int StreamWrite(NetMsgHeader** block, const void* p1, int32_t n1, const void* p2, int32_t n2,
                const void* p3, int32_t n3, const void* p4, int32_t n4, uint32_t grow);

// Short-header streams (body at byte 8).
int StreamWritePlain(NetMsgHeader** block, const void* p, int32_t n, uint32_t grow);
int StreamWritePlain(NetMsgHeader** block, const void* p1, int32_t n1, const void* p2,
                     int32_t n2, uint32_t grow);
int StreamWritePlain(NetMsgHeader** block, const void* p1, int32_t n1, const void* p2,
                     int32_t n2, const void* p3, int32_t n3, uint32_t grow);
int StreamWritePlain(NetMsgHeader** block, const void* p1, int32_t n1, const void* p2,
                     int32_t n2, const void* p3, int32_t n3, const void* p4, int32_t n4,
                     uint32_t grow);

// ---- Stream reading ----------------------------------------------------------
// The first word of the message is the read cursor (set it to 0 before the
// first read); the second, the body length, bounds every read. A positive n
// reads n bytes; n <= 0 reads a string of at most -n bytes with its zero. The
// multi-field forms check every field first and copy only when all fit.

int StreamRead(NetMsgHeader* msg, void* dst, int32_t n);
int StreamRead(NetMsgHeader* msg, void* d1, int32_t n1, void* d2, int32_t n2);
int StreamRead(NetMsgHeader* msg, void* d1, int32_t n1, void* d2, int32_t n2, void* d3,
               int32_t n3);
int StreamRead(NetMsgHeader* msg, void* d1, int32_t n1, void* d2, int32_t n2, void* d3,
               int32_t n3, void* d4, int32_t n4);

int StreamReadPlain(NetMsgHeader* msg, void* dst, int32_t n);
int StreamReadPlain(NetMsgHeader* msg, void* d1, int32_t n1, void* d2, int32_t n2);
int StreamReadPlain(NetMsgHeader* msg, void* d1, int32_t n1, void* d2, int32_t n2, void* d3,
                    int32_t n3);
int StreamReadPlain(NetMsgHeader* msg, void* d1, int32_t n1, void* d2, int32_t n2, void* d3,
                    int32_t n3, void* d4, int32_t n4);

// Pointer to the next n bytes (n > 0) or to the next string of at most -n
// bytes with its zero (n <= 0), advancing past them; null when not there.
void* StreamTake(NetMsgHeader* msg, uint32_t headerSize, int32_t n);

// Long header: pointer to the next n bytes when they lie within the body,
// advancing; else null.
void* StreamTakeBytes(NetMsgHeader* msg, uint32_t n);

// Reads the next string into dst (size bytes): the whole string with its zero,
// or, when it does not fit, its first size - 1 characters and a zero. Fails
// when no zero byte lies within the body. With size 0 nothing is written.
int StreamReadString(NetMsgHeader* msg, uint32_t headerSize, char* dst, uint32_t size);

// Pointer to the next string and, in *length, its length with the zero byte;
// the cursor moves past it. Null when no zero byte lies within the body.
const char* StreamPeekString(NetMsgHeader* msg, uint32_t headerSize, uint32_t* length);
