#include "StreamTransform.h"

#include "MessageFrame.h"

CStreamTransform::CStreamTransform(const uint8_t* key, uint32_t keyLength, uint32_t parameter)
    : m_key(key, key + (key ? keyLength : 0)), m_parameter(parameter)
{
}

void CStreamTransform::Apply(void* buffer, uint32_t length)
{
    Preview(0, buffer, length);
    m_position += length;
}

void CStreamTransform::Preview(uint64_t ahead, void* buffer, uint32_t length) const
{
    uint8_t* bytes = static_cast<uint8_t*>(buffer);
    const size_t keyLength = m_key.size();
    uint64_t position = m_position + ahead;
    for (uint32_t i = 0; i < length; ++i, ++position) {
        uint8_t mask = uint8_t(m_parameter >> (8 * (position % 4)));
        if (keyLength != 0)
            mask ^= m_key[size_t(position % keyLength)];
        bytes[i] ^= mask;
    }
}

bool ParseTransformBody(const uint8_t* body, uint32_t length, TransformBody& out)
{
    if (!body || length < 16)
        return false;
    const uint32_t sizeA = ReadWireU32(body + 8);
    const uint32_t sizeB = ReadWireU32(body + 12);
    if (uint64_t(16) + sizeA + sizeB > length)
        return false;
    out.sendParameter = ReadWireU32(body);
    out.receiveParameter = ReadWireU32(body + 4);
    out.sendKey = body + 16;
    out.sendKeyLength = sizeA;
    out.receiveKey = body + 16 + sizeA;
    out.receiveKeyLength = sizeB;
    return true;
}
