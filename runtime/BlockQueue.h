// A queue of game messages held back for a while: the connection pushes the
// messages it may not hand on yet and pops them as time passes.
#pragma once

#include <afx.h>

#include <cstdint>

class CBlockQueue
{
public:
    CBlockQueue();
    ~CBlockQueue();
    CBlockQueue(const CBlockQueue&) = delete;
    CBlockQueue& operator=(const CBlockQueue&) = delete;

    // Stores a copy of the message (header of 8 bytes, or 12 when bit 31 of
    // its id is set, then the body) at the end. 0 when memory runs out.
    int Push(const void* message);
    // Adds milliseconds to the hold time (saturating).
    void AddHold(uint32_t milliseconds);
    uint32_t GetHold();
    // While a hold time is pending it is reduced by the elapsed time and null
    // is returned; once it has run out the oldest copy is removed and returned
    // (free it with gpFree). Null when the queue is empty.
    void* Pop(uint32_t elapsedMilliseconds);
    int GetCount();

private:
    CCriticalSection m_lock;
    CPtrArray m_messages;
    uint32_t m_holdMilliseconds = 0;
};
