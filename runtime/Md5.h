// MD5 message digest (RFC 1321).
#pragma once

#include <cstddef>
#include <cstdint>

struct Md5Context {
    uint32_t state[4];
    uint64_t bitCount;
    uint8_t buffer[64];
};

void Md5Init(Md5Context* context);
void Md5Update(Md5Context* context, const void* data, size_t length);
// Writes the 16-byte digest and leaves the context to be initialised again.
void Md5Final(Md5Context* context, uint8_t digest[16]);
// Digest of one block in one call.
void Md5Digest(uint8_t digest[16], const void* data, size_t length);
