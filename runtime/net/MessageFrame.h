// Framing of game messages: assembling a message from the byte stream,
// expanding a compressed body, building messages and reading their fields.
//
// A message is one flat heap block (C heap: malloc/free): the header (8
// bytes, or 12 when bit 31 of the id is set) followed by the body. This file
// has no sockets and no windows; the connection feeds it what it reads.
#pragma once

#include <cstdint>
#include <vector>

#include "NetMessages.h"

class CStreamTransform;

// ---- Reading a message's fields ------------------------------------------------------
// `message` points at a whole message whose size was checked by the caller.

inline uint32_t ReadWireU32(const void* p)
{
    const uint8_t* b = static_cast<const uint8_t*>(p);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}
inline uint16_t ReadWireU16(const void* p)
{
    const uint8_t* b = static_cast<const uint8_t*>(p);
    return uint16_t(b[0] | b[1] << 8);
}
inline void WriteWireU32(void* p, uint32_t value)
{
    uint8_t* b = static_cast<uint8_t*>(p);
    b[0] = uint8_t(value);
    b[1] = uint8_t(value >> 8);
    b[2] = uint8_t(value >> 16);
    b[3] = uint8_t(value >> 24);
}

inline uint32_t MsgId(const void* message) { return ReadWireU32(message); }
inline uint32_t MsgBodyLength(const void* message) { return ReadWireU32(static_cast<const uint8_t*>(message) + 4); }
// The result word of a long header; 0 for a short one.
inline uint32_t MsgResult(const void* message)
{
    return (MsgId(message) & kMsgLongHeaderBit) ? ReadWireU32(static_cast<const uint8_t*>(message) + 8) : 0;
}
inline const uint8_t* MsgBody(const void* message)
{
    return static_cast<const uint8_t*>(message) + MsgHeaderSize(MsgId(message));
}
// Header plus body, computed without overflow.
inline uint64_t MsgTotalSize(const void* message)
{
    return uint64_t(MsgHeaderSize(MsgId(message))) + MsgBodyLength(message);
}
// Bit 30 set on the wire, and not the end-of-game id whose bits are all set.
inline bool MsgIsCompressed(uint32_t id) { return (id & kMsgCompressedBit) != 0 && id != netmsg::kEndOfGame; }

// A message with this id and body; the result word is written when the id
// has the long header.
std::vector<uint8_t> BuildNetMessage(uint32_t id, const void* body = nullptr, uint32_t length = 0,
                                     uint32_t result = 0);

// ---- Assembling a message from the stream ----------------------------------------------

class CMessageAssembler
{
public:
    enum Result { kNeedMore, kComplete, kTooLong };

    CMessageAssembler() = default;
    ~CMessageAssembler();
    CMessageAssembler(const CMessageAssembler&) = delete;
    CMessageAssembler& operator=(const CMessageAssembler&) = delete;

    // Bytes that complete the current piece: the first 8 bytes of the
    // header, then the rest of the header (12-byte headers) and the body.
    uint32_t BytesWanted() const;
    // Room for n more bytes (n at most BytesWanted()); null when out of memory.
    uint8_t* ReserveForRead(uint32_t n);
    // n bytes were written at the reserved place. kTooLong when the header
    // announces more than kMaxReceivedMessage bytes in all (nothing of the
    // body has been allocated then).
    Result Commit(uint32_t n);

    uint32_t Filled() const { return m_filled; }
    // Header plus body once the first 8 bytes are in, else 0.
    uint32_t ExpectedSize() const { return m_expected; }
    // The first bytes read so far (at least Filled() bytes).
    const uint8_t* Data() const { return m_buffer; }

    // Hands the complete message over (the caller frees it with free()) and
    // starts over.
    uint8_t* Release(uint32_t* size);
    // Drops whatever was read.
    void Reset();

private:
    uint8_t* m_buffer = nullptr;
    uint32_t m_capacity = 0;
    uint32_t m_filled = 0;
    uint32_t m_expected = 0;
};

// ---- Cutting messages from what was read ahead ----------------------------------------

// The bytes read from the stream and not yet cut into messages. The
// connection reads whatever the socket holds with one call and cuts one
// whole message at a time. The receive transform runs over a message's
// bytes only when that message is cut, so a transform that a message
// installs applies from the next message on, however the reads fell.
class CMessageInbox
{
public:
    enum Result { kNeedMore, kComplete, kTooLong, kNoMemory };

    CMessageInbox() = default;
    CMessageInbox(const CMessageInbox&) = delete;
    CMessageInbox& operator=(const CMessageInbox&) = delete;

    // Room for the next read: at least kReadChunk bytes, and what the
    // message under way still needs; null when out of memory.
    uint8_t* ReserveForRead(uint32_t* room);
    // n bytes were written at the reserved place.
    void Commit(uint32_t n) { m_end += n; }

    // Cuts the next message when it is whole: *message is a heap block (the
    // caller frees it with free()). kTooLong when a header announces more
    // than kMaxReceivedMessage bytes. The transform (null: none) runs over
    // the bytes of the message being cut, and only over those.
    Result Cut(CStreamTransform* transform, uint8_t** message, uint32_t* size);
    // A whole message waits (kComplete), or one too long (kTooLong); nothing
    // moves on.
    Result Peek(const CStreamTransform* transform) const;
    // Bytes of the next message so far and its whole size; false while
    // fewer than 8 bytes are in.
    bool PendingSize(const CStreamTransform* transform, uint32_t* filled, uint32_t* total) const;

    // Takes up to n bytes off the front through the transform, for a reader
    // that reads the stream as it is (a proxy's handshake); the count taken.
    uint32_t Take(CStreamTransform* transform, void* out, uint32_t n);

    uint32_t Buffered() const { return uint32_t(m_end - m_start); }
    void Reset();

    static constexpr uint32_t kReadChunk = 64 * 1024;

private:
    // The size of the message at the start (header read through the
    // transform as far as it has not run yet); 0 while fewer than 8 bytes.
    uint64_t NextSize(const CStreamTransform* transform) const;

    std::vector<uint8_t> m_bytes;
    size_t m_start = 0;     // first byte of the next message
    size_t m_decoded = 0;   // the transform has run up to here (at least m_start)
    size_t m_end = 0;       // end of the bytes read
};

// ---- Compressed bodies -------------------------------------------------------------

enum class ExpandResult { kExpanded, kBadBody, kNoMemory };

// Expands a message whose body is compressed (MsgIsCompressed): a new heap
// message in *out with the same header, bit 30 cleared and the body length
// set to the expanded length. The declared length is bounded by
// kMaxExpandedBody and must be exactly what the body expands to. kBadBody
// also when DIDuv.dll is missing.
ExpandResult ExpandNetMessage(const uint8_t* message, uint32_t size, uint8_t** out, uint32_t* outSize);
