// Helpers shared by the window layer's tests.
#pragma once

#include <gtest/gtest.h>

#include "afxwin.h"

#include <stdint.h>

// Dispatches what is queued for this thread; TRUE when a WM_QUIT was among it.
inline BOOL PumpPendingMessages()
{
    BOOL bQuit = FALSE;
    MSG msg;
    while (::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            bQuit = TRUE;
            continue;
        }
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return bQuit;
}

// The resource library of the tests (dialogs, strings, accelerators,
// toolbar), made the framework's resource module while the object lives.
class TestResources
{
public:
    TestResources()
    {
        m_hModule = ::LoadLibraryA("fw_test_res.dll");
        m_hOld = AfxGetResourceHandle() == AfxGetInstanceHandle() ? NULL : AfxGetResourceHandle();
        if (m_hModule != NULL)
            AfxSetResourceHandle(m_hModule);
    }
    ~TestResources()
    {
        AfxSetResourceHandle(m_hOld);
        if (m_hModule != NULL)
            ::FreeLibrary(m_hModule);
    }
    HMODULE Handle() const { return m_hModule; }

private:
    HMODULE m_hModule;
    HINSTANCE m_hOld;
};

// The number of GDI objects the process holds. Wine does not implement
// GetGuiResources, so the count comes from the process's GDI handle table
// there (the same table Windows keeps; stock objects are left out).
inline int CountGdiObjects()
{
    ::SetLastError(0);
    DWORD dwCount = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    if (dwCount != 0 || ::GetLastError() == 0)
        return (int)dwCount;
    struct HandleEntry
    {
        uint64_t Object;
        uint32_t Owner;
        uint16_t Unique;   // bit 7: stock object
        uint8_t Type;
        uint8_t Flags;
        uint64_t UserPointer;
    };
    static_assert(sizeof(HandleEntry) == 24, "GDI handle table entry");
#ifdef _WIN64
    const char* pPeb = NULL;
    __asm__("movq %%gs:0x60, %0" : "=r"(pPeb));   // the process environment block
    const HandleEntry* pTable = *reinterpret_cast<const HandleEntry* const*>(pPeb + 0xF8);
#else
    const HandleEntry* pTable = NULL;
#endif
    if (pTable == NULL)
        return -1;
    int nCount = 0;
    for (int i = 0; i < 0x10000; i++) {
        if (pTable[i].Type != 0 && !(pTable[i].Unique & 0x80))
            nCount++;
    }
    return nCount;
}
