#include "ByteBuffer.h"

#include <cstdlib>
#include <cstring>

namespace {
int g_allocationsBeforeFailure = -1;

bool AllocationShouldFail()
{
    if (g_allocationsBeforeFailure < 0)
        return false;
    if (g_allocationsBeforeFailure == 0) {
        g_allocationsBeforeFailure = -1;
        return true;
    }
    --g_allocationsBeforeFailure;
    return false;
}
}  // namespace

void* gpMalloc(size_t size)
{
    if (AllocationShouldFail())
        return nullptr;
    return std::malloc(size == 0 ? 1 : size);
}

void* gpRealloc(void* block, size_t size)
{
    if (AllocationShouldFail())
        return nullptr;
    return std::realloc(block, size == 0 ? 1 : size);
}

void gpFree(void* block)
{
    std::free(block);
}

void gpFailAllocationAfter(int count)
{
    g_allocationsBeforeFailure = count;
}

CByteBuffer::~CByteBuffer()
{
    gpFree(m_data);
}

void CByteBuffer::SetGrowth(uint32_t step, uint32_t releaseThreshold)
{
    m_step = step;
    m_releaseThreshold = releaseThreshold;
}

bool CByteBuffer::Grow(uint32_t n)
{
    if (static_cast<uint64_t>(m_allocated) >= static_cast<uint64_t>(m_used) + n)
        return true;
    const uint64_t wanted = static_cast<uint64_t>(m_used) + n + m_step;
    if (wanted > UINT32_MAX)
        return false;
    void* grown = gpRealloc(m_data, static_cast<size_t>(wanted));
    if (!grown)
        return false;
    m_data = static_cast<uint8_t*>(grown);
    m_allocated = static_cast<uint32_t>(wanted);
    return true;
}

bool CByteBuffer::Append(const void* p, uint32_t n)
{
    if (n == 0)
        return true;
    if (!p || !Grow(n))
        return false;
    std::memcpy(m_data + m_used, p, n);
    m_used += n;
    return true;
}

bool CByteBuffer::AppendOrZero(const void* p, uint32_t n)
{
    if (p)
        return Append(p, n);
    static const uint8_t zero = 0;
    return Append(&zero, 1);
}

#ifndef BYTEBUFFER_NO_PREPEND
bool CByteBuffer::Prepend(const void* p, uint32_t n)
{
    if (n == 0)
        return true;
    if (!p || !Grow(n))
        return false;
    std::memmove(m_data + n, m_data, m_used);
    std::memcpy(m_data, p, n);
    m_used += n;
    return true;
}
#endif

bool CByteBuffer::ReadFront(void* dst, uint32_t n)
{
    if (n > m_used || (n > 0 && !dst))
        return false;
    if (n > 0)
        std::memcpy(dst, m_data, n);
    RemoveFront(n);
    return true;
}

void CByteBuffer::RemoveFront(uint32_t n)
{
    if (n >= m_used) {
        Reset(false);
        return;
    }
    std::memmove(m_data, m_data + n, m_used - n);
    m_used -= n;
}

void CByteBuffer::Reset(bool force)
{
    m_used = 0;
    if (force || (m_releaseThreshold != 0 && m_allocated >= m_releaseThreshold)) {
        gpFree(m_data);
        m_data = nullptr;
        m_allocated = 0;
    }
}

uint8_t* CByteBuffer::Detach()
{
    uint8_t* block = m_data;
    m_data = nullptr;
    m_used = 0;
    m_allocated = 0;
    return block;
}
