// Compressed message bodies.
//
// A body sent compressed (bit 30 of the id on the wire) is a u32 holding the
// length of the plain body, followed by the plain body in zlib's format. The
// header's body length counts the 4-byte prefix.
//
// The sender compresses only bodies of kMinCompressedBody bytes or more, and
// only when the compressed form, prefix included, is no longer than the plain
// body; otherwise the body goes out as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tableserver {

constexpr uint32_t kMinCompressedBody = 100;
constexpr uint32_t kCompressedPrefixSize = 4;

// The compressed form of body into out. False (out empty) when the body is
// too short to be worth it or does not get smaller.
bool CompressBody(const uint8_t* body, size_t length, std::vector<uint8_t>& out);

// Expands a compressed body (prefix included) into out. False, with the
// reason in why, when the prefix is missing, the declared length is 0 or
// above maxPlainLength, or the data does not expand to exactly the declared
// length. Nothing beyond the declared length is ever written.
bool ExpandBody(const uint8_t* data, size_t length, uint32_t maxPlainLength,
                std::vector<uint8_t>& out, std::string& why);

}  // namespace tableserver
