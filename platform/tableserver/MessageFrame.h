// Framing of game messages on the TCP stream, both directions.
//
// Every message is a header followed by its body, all integers little-endian:
//
//   u32 id       bit 31: a reply (or a message with a result word); the header
//                then carries a third word. Bit 30 on the wire: the body is
//                compressed (see BodyCompression.h). A reply's id is its
//                request's id with bit 31 set (0x200 -> 0x80000200).
//   u32 length   body length in bytes, header not counted; for a compressed
//                body the length of the compressed form with its prefix.
//   u32 result   only when bit 31 of the id is set: the reply's result word.
//
// So a header is 8 bytes, or 12 with bit 31. The id 0xFFFFFFFF (end of game)
// has both bits set and is never treated as compressed.
//
// The reader checks every length against a cap before it allocates or waits
// for the body, and hands on messages with bit 30 cleared and the body
// expanded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tableserver {

constexpr uint32_t kReplyBit = 0x80000000u;
constexpr uint32_t kCompressedBit = 0x40000000u;
constexpr uint32_t kEndOfGameId = 0xFFFFFFFFu;
constexpr uint32_t kShortHeaderSize = 8;
constexpr uint32_t kLongHeaderSize = 12;

// Largest body, plain or expanded, that either side accepts. The client never
// sends a message of more than 0x10000 bytes in all.
constexpr uint32_t kMaxBodyLength = 0x10000;

// Header size that an id implies: 12 with bit 31, else 8.
inline uint32_t HeaderSize(uint32_t id)
{
    return (id & kReplyBit) ? kLongHeaderSize : kShortHeaderSize;
}

// Whether an id as read from the wire marks a compressed body.
inline bool IsCompressedOnWire(uint32_t wireId)
{
    return (wireId & kCompressedBit) != 0 && wireId != kEndOfGameId;
}

// One message as the table sees it: bit 30 never set, body plain.
struct Message {
    uint32_t id = 0;
    uint32_t result = 0;  // sent only when bit 31 of the id is set
    std::vector<uint8_t> body;

    Message() = default;
    Message(uint32_t id_, std::vector<uint8_t> body_, uint32_t result_ = 0)
        : id(id_), result(result_), body(std::move(body_)) {}
};

// The message as bytes on the wire. With mayCompress a body of 100 bytes or
// more goes compressed when that makes it smaller (never for 0xFFFFFFFF).
std::vector<uint8_t> EncodeFrame(const Message& message, bool mayCompress);

// Cuts a byte stream into messages.
class FrameReader {
public:
    enum class Status { kNeedMore, kMessage, kError };

    explicit FrameReader(uint32_t maxBodyLength = kMaxBodyLength);

    void Append(const uint8_t* data, size_t length);

    // The next whole message, if the bytes are there. After an error the
    // reader stays failed; error() tells why.
    Status Next(Message& out);

    const std::string& error() const { return error_; }
    // Bytes received of a message not yet complete.
    size_t PendingBytes() const { return buffer_.size() - start_; }

private:
    Status Fail(std::string why);

    uint32_t maxBodyLength_;
    std::vector<uint8_t> buffer_;
    size_t start_ = 0;  // first byte of the message being read
    std::string error_;
};

}  // namespace tableserver
