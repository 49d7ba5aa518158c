#include "MessageFrame.h"

#include <cstdlib>
#include <cstring>

#include "store/MessageCompression.h"

std::vector<uint8_t> BuildNetMessage(uint32_t id, const void* body, uint32_t length, uint32_t result)
{
    const uint32_t headerSize = MsgHeaderSize(id);
    std::vector<uint8_t> message(headerSize + size_t(length));
    WriteWireU32(message.data(), id);
    WriteWireU32(message.data() + 4, length);
    if (headerSize == kMsgLongHeaderSize)
        WriteWireU32(message.data() + 8, result);
    if (length > 0 && body)
        memcpy(message.data() + headerSize, body, length);
    return message;
}

CMessageAssembler::~CMessageAssembler()
{
    free(m_buffer);
}

uint32_t CMessageAssembler::BytesWanted() const
{
    if (m_filled < kMsgShortHeaderSize)
        return kMsgShortHeaderSize - m_filled;
    return m_expected - m_filled;
}

uint8_t* CMessageAssembler::ReserveForRead(uint32_t n)
{
    if (n > BytesWanted())
        return nullptr;
    const uint32_t needed = m_filled + n;
    if (needed > m_capacity) {
        // Once the size is known the whole message is allocated at once.
        const uint32_t capacity = m_expected != 0 ? m_expected : kMsgLongHeaderSize;
        uint8_t* grown = static_cast<uint8_t*>(realloc(m_buffer, capacity < needed ? needed : capacity));
        if (!grown)
            return nullptr;
        m_buffer = grown;
        m_capacity = capacity < needed ? needed : capacity;
    }
    return m_buffer + m_filled;
}

CMessageAssembler::Result CMessageAssembler::Commit(uint32_t n)
{
    m_filled += n;
    if (m_expected == 0 && m_filled >= kMsgShortHeaderSize) {
        const uint64_t total = uint64_t(MsgHeaderSize(ReadWireU32(m_buffer))) + ReadWireU32(m_buffer + 4);
        if (total > kMaxReceivedMessage)
            return kTooLong;
        m_expected = uint32_t(total);
    }
    return m_expected != 0 && m_filled == m_expected ? kComplete : kNeedMore;
}

uint8_t* CMessageAssembler::Release(uint32_t* size)
{
    uint8_t* message = m_buffer;
    if (size)
        *size = m_filled;
    m_buffer = nullptr;
    m_capacity = m_filled = m_expected = 0;
    return message;
}

void CMessageAssembler::Reset()
{
    free(Release(nullptr));
}

ExpandResult ExpandNetMessage(const uint8_t* message, uint32_t size, uint8_t** out, uint32_t* outSize)
{
    const uint32_t id = MsgId(message);
    const uint32_t headerSize = MsgHeaderSize(id);
    if (size < headerSize || MsgTotalSize(message) != size)
        return ExpandResult::kBadBody;
    const uint8_t* body = message + headerSize;
    const uint32_t bodyLength = size - headerSize;
    uint32_t rawLength = 0;
    if (!GetCompressedBodyLength(body, bodyLength, kMaxExpandedBody, &rawLength))
        return ExpandResult::kBadBody;
    uint8_t* expanded = static_cast<uint8_t*>(malloc(size_t(headerSize) + rawLength));
    if (!expanded)
        return ExpandResult::kNoMemory;
    if (!ExpandCompressedBody(body, bodyLength, expanded + headerSize, rawLength)) {
        free(expanded);
        return ExpandResult::kBadBody;
    }
    memcpy(expanded, message, headerSize);
    WriteWireU32(expanded, id & ~kMsgCompressedBit);
    WriteWireU32(expanded + 4, rawLength);
    *out = expanded;
    *outSize = headerSize + rawLength;
    return ExpandResult::kExpanded;
}
