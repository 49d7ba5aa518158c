#include "MessageFrame.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "StreamTransform.h"
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

// ---- CMessageInbox ----------------------------------------------------------------------

uint64_t CMessageInbox::NextSize(const CStreamTransform* transform) const
{
    if (m_end - m_start < kMsgShortHeaderSize)
        return 0;
    uint8_t header[kMsgShortHeaderSize];
    memcpy(header, m_bytes.data() + m_start, sizeof(header));
    const size_t done = m_decoded - m_start;
    if (transform && done < sizeof(header))
        transform->Preview(0, header + done, uint32_t(sizeof(header) - done));
    return uint64_t(MsgHeaderSize(ReadWireU32(header))) + ReadWireU32(header + 4);
}

uint8_t* CMessageInbox::ReserveForRead(uint32_t* room)
{
    // What the message under way still needs (its size is read without the
    // transform's latest bytes mattering: only a bound for the room).
    size_t wanted = kReadChunk;
    if (m_end - m_start >= kMsgShortHeaderSize) {
        const uint64_t size = NextSize(nullptr);
        if (size <= kMaxReceivedMessage && size > m_end - m_start && size - (m_end - m_start) > wanted)
            wanted = size_t(size - (m_end - m_start));
    }
    if (m_start == m_end) {
        m_start = m_decoded = m_end = 0;
        if (m_bytes.size() > 4 * size_t(kReadChunk))
            std::vector<uint8_t>().swap(m_bytes);   // a large message's room is not kept
    } else if (m_bytes.size() - m_end < wanted && m_start > 0) {
        memmove(m_bytes.data(), m_bytes.data() + m_start, m_end - m_start);
        m_decoded -= m_start;
        m_end -= m_start;
        m_start = 0;
    }
    if (m_bytes.size() - m_end < wanted) {
        try {
            m_bytes.resize(m_end + wanted);
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
    }
    *room = uint32_t(std::min<size_t>(m_bytes.size() - m_end, 0x7FFFFFFF));
    return m_bytes.data() + m_end;
}

CMessageInbox::Result CMessageInbox::Peek(const CStreamTransform* transform) const
{
    const uint64_t size = NextSize(transform);
    if (size == 0)
        return kNeedMore;
    if (size > kMaxReceivedMessage)
        return kTooLong;
    return m_end - m_start >= size ? kComplete : kNeedMore;
}

bool CMessageInbox::PendingSize(const CStreamTransform* transform, uint32_t* filled, uint32_t* total) const
{
    const uint64_t size = NextSize(transform);
    if (size == 0)
        return false;
    const uint64_t have = m_end - m_start;
    if (filled)
        *filled = uint32_t(std::min<uint64_t>(have, size));
    if (total)
        *total = uint32_t(std::min<uint64_t>(size, 0xFFFFFFFFu));
    return true;
}

CMessageInbox::Result CMessageInbox::Cut(CStreamTransform* transform, uint8_t** message, uint32_t* size)
{
    const Result ready = Peek(transform);
    if (ready != kComplete)
        return ready;
    const uint32_t total = uint32_t(NextSize(transform));
    const size_t end = m_start + total;
    if (m_decoded < end) {
        if (transform)
            transform->Apply(m_bytes.data() + m_decoded, uint32_t(end - m_decoded));
        m_decoded = end;
    }
    uint8_t* copy = static_cast<uint8_t*>(malloc(total));
    if (!copy)
        return kNoMemory;
    memcpy(copy, m_bytes.data() + m_start, total);
    m_start = end;
    *message = copy;
    *size = total;
    return kComplete;
}

void CMessageInbox::Reset()
{
    std::vector<uint8_t>().swap(m_bytes);
    m_start = m_decoded = m_end = 0;
}

uint32_t CMessageInbox::Take(CStreamTransform* transform, void* out, uint32_t n)
{
    const uint32_t taken = uint32_t(std::min<size_t>(n, m_end - m_start));
    const size_t end = m_start + taken;
    if (m_decoded < end) {
        if (transform)
            transform->Apply(m_bytes.data() + m_decoded, uint32_t(end - m_decoded));
        m_decoded = end;
    }
    memcpy(out, m_bytes.data() + m_start, taken);
    m_start = end;
    return taken;
}
