#include "BlockQueue.h"

#include "board/ByteBuffer.h"

#include <cstring>

namespace {

// Size of a framed message: 8 or 12 header bytes plus the body.
uint64_t FramedSize(const void* message)
{
    uint32_t id = 0;
    uint32_t bodyLength = 0;
    std::memcpy(&id, message, 4);
    std::memcpy(&bodyLength, static_cast<const uint8_t*>(message) + 4, 4);
    return ((id & 0x80000000u) ? 12u : 8u) + static_cast<uint64_t>(bodyLength);
}

}  // namespace

CBlockQueue::CBlockQueue()
{
    m_messages.SetSize(0, 10);
}

CBlockQueue::~CBlockQueue()
{
    for (int i = 0; i < m_messages.GetSize(); ++i)
        gpFree(m_messages[i]);
}

int CBlockQueue::Push(const void* message)
{
    if (!message)
        return 0;
    const uint64_t size = FramedSize(message);
    if (size > SIZE_MAX)
        return 0;
    void* copy = gpMalloc(static_cast<size_t>(size));
    if (!copy)
        return 0;
    std::memcpy(copy, message, static_cast<size_t>(size));
    CSingleLock lock(&m_lock, TRUE);
    TRY {
        m_messages.Add(copy);
    }
    CATCH(CMemoryException, e) {
        gpFree(copy);
        return 0;
    }
    END_CATCH
    return 1;
}

void CBlockQueue::AddHold(uint32_t milliseconds)
{
    CSingleLock lock(&m_lock, TRUE);
    m_holdMilliseconds = (UINT32_MAX - m_holdMilliseconds < milliseconds) ? UINT32_MAX
                                                                        : m_holdMilliseconds + milliseconds;
}

uint32_t CBlockQueue::GetHold()
{
    CSingleLock lock(&m_lock, TRUE);
    return m_holdMilliseconds;
}

void* CBlockQueue::Pop(uint32_t elapsedMilliseconds)
{
    CSingleLock lock(&m_lock, TRUE);
    if (m_holdMilliseconds > elapsedMilliseconds) {
        m_holdMilliseconds -= elapsedMilliseconds;
        return nullptr;
    }
    m_holdMilliseconds = 0;
    if (m_messages.GetSize() == 0)
        return nullptr;
    void* oldest = m_messages[0];
    m_messages.RemoveAt(0);
    return oldest;
}

int CBlockQueue::GetCount()
{
    CSingleLock lock(&m_lock, TRUE);
    return m_messages.GetSize();
}
