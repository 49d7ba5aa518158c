// The number of GDI objects this process holds, for leak checks in tests.
// Wine answers GetGuiResources with 0, so there the process's GDI handle table
// (the one the process environment block points to, entries of 24 bytes with
// the object type at byte 14) is counted instead; stock objects are left out.
// Returns -1 when no count can be had: a leak check asserts a positive count
// before comparing, so it can never pass without counting.
#pragma once

#include <windows.h>
#include <stdint.h>

inline int CountProcessGdiObjects()
{
    ::SetLastError(0);
    const DWORD reported = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (reported != 0)
        return static_cast<int>(reported);
#ifdef _WIN64
    struct HandleEntry
    {
        uint64_t object;
        uint32_t owner;
        uint16_t unique;   // bit 7: a stock object
        uint8_t type;
        uint8_t flags;
        uint64_t user;
    };
    static_assert(sizeof(HandleEntry) == 24, "GDI handle table entry");
    const char* environment = nullptr;
    __asm__("movq %%gs:0x60, %0" : "=r"(environment));   // the process environment block
    const HandleEntry* table = *reinterpret_cast<const HandleEntry* const*>(environment + 0xF8);
    if (table == nullptr)
        return -1;
    int count = 0;
    for (int i = 0; i < 0x10000; ++i)
        count += table[i].type != 0 && !(table[i].unique & 0x80);
    return count;
#else
    return -1;
#endif
}

// True when the counter sees one brush come and go: asserted before a leak
// check compares counts, so a counter that sees nothing fails the check.
inline bool GdiCounterSeesABrush()
{
    const int before = CountProcessGdiObjects();
    HBRUSH brush = ::CreateSolidBrush(RGB(1, 2, 3));
    const int during = CountProcessGdiObjects();
    ::DeleteObject(brush);
    const int after = CountProcessGdiObjects();
    return before >= 0 && during == before + 1 && after == before;
}
