// SimplePtrArray.h - CSimplePtrArray: the growable pointer array of the
// frame's areas, buttons and painter list. It owns its block of pointers;
// the elements belong to the array's owner, who may delete them all through
// DeleteAll (each element's virtual destructor runs).
#pragma once

#include "QVPtrArray.h"

template <class T>
class CSimplePtrArray : public CQVPtrArray<T>
{
public:
    explicit CSimplePtrArray(int growBy = 10) : CQVPtrArray<T>(growBy) {}

    // The index of the element, or -1.
    int Find(const T* element) const
    {
        for (int i = 0; i < this->m_nCount; i++) {
            if (this->m_pData[i] == element)
                return i;
        }
        return -1;
    }
    // Takes the first occurrence out (not deleted); nothing when absent.
    void Remove(const T* element) { this->RemoveAt(Find(element)); }

    // Deletes every element and empties the array.
    void DeleteAll()
    {
        // An element's destructor may take itself out of this array: delete
        // from the end, one at a time.
        while (this->m_nCount > 0) {
            T* last = this->m_pData[this->m_nCount - 1];
            this->m_nCount--;
            delete last;
        }
    }
};
