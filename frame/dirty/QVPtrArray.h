// QVPtrArray.h - the growable pointer array of the scene code.
//
// The array owns its block of pointers, not the elements: the owner deletes
// the elements before the array goes. The block grows by the growth step
// (10 unless given) with realloc; when it cannot grow, the element is not
// added and the call answers 0.
#pragma once

#include <stdlib.h>
#include <string.h>

template <class T>
class CQVPtrArray
{
public:
    explicit CQVPtrArray(int growBy = 10) : m_nGrowBy(growBy > 0 ? growBy : 10), m_nCapacity(0), m_nCount(0), m_pData(NULL) {}
    virtual ~CQVPtrArray() { free(m_pData); }

    CQVPtrArray(const CQVPtrArray&) = delete;
    CQVPtrArray& operator=(const CQVPtrArray&) = delete;

    int GetCount() const { return m_nCount; }
    int GetCapacity() const { return m_nCapacity; }

    // The element at index, or NULL when index is not below the count.
    T* GetAt(int index) const { return (index >= 0 && index < m_nCount) ? m_pData[index] : NULL; }
    T* operator[](int index) const { return GetAt(index); }

    // Room for one more element: grows by one step when full. 0 when the
    // block cannot grow.
    int EnsureSpace()
    {
        if (m_nCount < m_nCapacity)
            return 1;
        if (m_nCapacity > (0x7FFFFFFF / static_cast<int>(sizeof(T*))) - m_nGrowBy)
            return 0;
        const int newCapacity = m_nCapacity + m_nGrowBy;
        T** block = static_cast<T**>(realloc(m_pData, sizeof(T*) * static_cast<size_t>(newCapacity)));
        if (!block)
            return 0;
        m_pData = block;
        m_nCapacity = newCapacity;
        return 1;
    }

    int Add(T* element)
    {
        if (!EnsureSpace())
            return 0;
        m_pData[m_nCount++] = element;
        return 1;
    }

    // index below 1: in front; below the count: before that element; else
    // appended.
    int InsertAt(int index, T* element)
    {
        if (!EnsureSpace())
            return 0;
        if (index < 0)
            index = 0;
        if (index > m_nCount)
            index = m_nCount;
        memmove(m_pData + index + 1, m_pData + index, sizeof(T*) * static_cast<size_t>(m_nCount - index));
        m_pData[index] = element;
        m_nCount++;
        return 1;
    }

    // Takes the element out of the array (it is not deleted); the later
    // elements move down. Nothing for an index outside the array.
    void RemoveAt(int index)
    {
        if (index < 0 || index >= m_nCount)
            return;
        memmove(m_pData + index, m_pData + index + 1, sizeof(T*) * static_cast<size_t>(m_nCount - index - 1));
        m_nCount--;
    }

    // Forgets every element (none is deleted); the block stays.
    void RemoveAll() { m_nCount = 0; }

protected:
    int m_nGrowBy;
    int m_nCapacity;
    int m_nCount;
    T** m_pData;
};
