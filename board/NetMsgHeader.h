// Header of every game message.
//
// A message is a flat block: this header followed by the body. The third word
// is present only when bit 31 of the id is set (replies and the board's own
// messages), so the body starts at byte 8 (short header) or byte 12 (long
// header). All words are little-endian u32 on the wire.
#pragma once

#include <cstddef>
#include <cstdint>

struct NetMsgHeader {
    uint32_t id;      // message id; bit 31 = long header
    uint32_t length;  // body length in bytes, header not included
    uint32_t extra;   // long header only: the reply's result word
};
static_assert(sizeof(NetMsgHeader) == 12, "NetMsgHeader is three u32 words");
static_assert(offsetof(NetMsgHeader, id) == 0, "NetMsgHeader layout");
static_assert(offsetof(NetMsgHeader, length) == 4, "NetMsgHeader layout");
static_assert(offsetof(NetMsgHeader, extra) == 8, "NetMsgHeader layout");

constexpr uint32_t kMsgLongHeaderBit = 0x80000000u;
constexpr uint32_t kMsgShortHeaderSize = 8;
constexpr uint32_t kMsgLongHeaderSize = 12;

// Header size that the id implies: 12 when bit 31 is set, else 8.
inline uint32_t MsgHeaderSize(uint32_t id)
{
    return (id & kMsgLongHeaderBit) ? kMsgLongHeaderSize : kMsgShortHeaderSize;
}
