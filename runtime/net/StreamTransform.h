// The stream transforms that the server switches on with message 0x160.
//
// The server sends data, never code: each transform is a key (the message's
// A or B bytes) and a 32-bit parameter, and works on the byte stream of one
// direction from the moment it is installed. Byte number i of that stream
// (counted from 0) is XORed with key[i mod key length] (no key byte when the
// key is empty) and with byte (i mod 4) of the parameter, lowest byte first.
// The transform is its own inverse, and it does not depend on how the stream
// is cut into pieces: the sender may run it over each piece it sends and the
// receiver over each piece it reads.
#pragma once

#include <cstdint>
#include <vector>

class CStreamTransform
{
public:
    CStreamTransform(const uint8_t* key, uint32_t keyLength, uint32_t parameter);

    // Transforms the next `length` bytes of the stream in place.
    void Apply(void* buffer, uint32_t length);
    // Transforms bytes that lie `ahead` bytes past the next one, without
    // moving on (a look at bytes whose turn has not come).
    void Preview(uint64_t ahead, void* buffer, uint32_t length) const;

    uint32_t Parameter() const { return m_parameter; }
    uint64_t Position() const { return m_position; }

private:
    std::vector<uint8_t> m_key;
    uint32_t m_parameter;
    uint64_t m_position = 0;
};

// The two transforms of a 0x160 body: u32 send parameter, u32 receive
// parameter, u32 size A, u32 size B, A bytes (send key), B bytes (receive
// key). False when the body is shorter than its fields say.
struct TransformBody {
    uint32_t sendParameter = 0;
    uint32_t receiveParameter = 0;
    const uint8_t* sendKey = nullptr;
    uint32_t sendKeyLength = 0;
    const uint8_t* receiveKey = nullptr;
    uint32_t receiveKeyLength = 0;
};
bool ParseTransformBody(const uint8_t* body, uint32_t length, TransformBody& out);
