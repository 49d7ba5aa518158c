// Growable byte buffer and the heap wrappers every message block goes through.
//
// This pair (ByteBuffer.h / ByteBuffer.cpp) is compiled by two deliverables:
// the board library and the game client. The client's copy leaves out the
// prepend operation: it compiles with BYTEBUFFER_NO_PREPEND defined.
#pragma once

#include <cstddef>
#include <cstdint>

// Heap wrappers over the C heap. A block made by one side of an interface is
// freed with gpFree by the other.
void* gpMalloc(size_t size);
void* gpRealloc(void* block, size_t size);
void gpFree(void* block);

// Test aid: the next `count` allocations succeed, the one after fails (and all
// later ones succeed again). A negative count switches the failure off.
void gpFailAllocationAfter(int count);

class CByteBuffer {
public:
    static constexpr uint32_t kDefaultStep = 256;

    CByteBuffer() = default;
    virtual ~CByteBuffer();
    CByteBuffer(const CByteBuffer&) = delete;
    CByteBuffer& operator=(const CByteBuffer&) = delete;

    // Grow step for re-allocations, and the allocated size at or above which
    // a reset frees the block (0: a reset never frees).
    void SetGrowth(uint32_t step, uint32_t releaseThreshold);

    // Makes room for n more bytes: nothing when it is there already, else the
    // block becomes used + n + step bytes. False when that cannot be had.
    bool Grow(uint32_t n);

    // Appends n bytes from p (p must not be null unless n is 0).
    bool Append(const void* p, uint32_t n);
    // As Append, but a null p appends a single zero byte.
    bool AppendOrZero(const void* p, uint32_t n);
#ifndef BYTEBUFFER_NO_PREPEND
    // Inserts n bytes from p at the front, moving the content up.
    bool Prepend(const void* p, uint32_t n);
#endif
    // Copies the first n bytes to dst and removes them; false, with nothing
    // copied, when fewer than n bytes are held.
    bool ReadFront(void* dst, uint32_t n);
    // Removes the first n bytes (all of them when n is larger); an empty
    // buffer is reset.
    void RemoveFront(uint32_t n);
    // Empties the buffer. The block is freed when force is set or when the
    // release threshold is non-zero and the allocated size has reached it.
    void Reset(bool force);
    // Hands the block to the caller (free it with gpFree); the buffer is left
    // empty.
    uint8_t* Detach();

    uint8_t* Data() const { return m_data; }
    uint32_t Size() const { return m_used; }
    uint32_t Capacity() const { return m_allocated; }
    uint32_t Step() const { return m_step; }

private:
    uint8_t* m_data = nullptr;
    uint32_t m_used = 0;
    uint32_t m_allocated = 0;
    uint32_t m_step = kDefaultStep;
    uint32_t m_releaseThreshold = 0;
};
