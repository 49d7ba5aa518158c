// QVGifImage.h - the binding of the platform's GIF/TGA library
// "REVUVIVA.dll" (platform/revuviva/include/revuviva.h) and CQVGifImage, one
// open GIF of that library.
//
// The library is loaded by name (the system's search order) on the first
// BindGifTgaDll and stays loaded for the process. All 21 entries are looked
// up; the ten GIF entries are required, the TGA entries are kept but not
// called. A missing library or GIF entry is a failure for the rest of the
// run: binding is not tried again and every later load answers 3. Binding
// is safe from any thread; the bound entries are read without a lock.
#pragma once

#include <windows.h>

#include <atomic>

#include "revuviva.h"

// One binding of a GIF/TGA library: the process's (GifTgaLibrary) or a
// test's own.
class CGifTgaBinding
{
public:
    static constexpr int kEntryCount = 21;
    static constexpr int kRequiredEntries = 10;  // the GIF group, first in the table
    // The entries in binding order.
    static const char* const kEntryNames[kEntryCount];

    explicit CGifTgaBinding(const char* dllName);
    ~CGifTgaBinding();
    CGifTgaBinding(const CGifTgaBinding&) = delete;
    CGifTgaBinding& operator=(const CGifTgaBinding&) = delete;

    // 1 when the library is bound (now or before), 0 when it is not
    // available (now or before).
    BOOL Bind();
    BOOL IsBound() const { return m_bound.load(std::memory_order_acquire); }
    BOOL HasFailed() const { return m_failed.load(std::memory_order_acquire); }
    // How many times LoadLibrary was called (once at most).
    int LoadAttempts() const { return m_attempts; }
    // The entry (NULL before binding or when the library lacks it).
    FARPROC Entry(int index) const;
    template <typename Fn>
    Fn EntryAs(int index) const
    {
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(Entry(index)));
    }

private:
    SRWLOCK m_lock;
    const char* m_dllName;
    HMODULE m_module;
    std::atomic<bool> m_bound;
    std::atomic<bool> m_failed;
    int m_attempts;
    FARPROC m_entries[kEntryCount];
};

// The process's binding of "REVUVIVA.dll".
CGifTgaBinding& GifTgaLibrary();
// Binds it: 1 when bound, 0 when not available.
BOOL BindGifTgaDll();

class CQVGifImage
{
public:
    // Results of the loaders.
    static constexpr int kLoaded = 0;
    static constexpr int kLoadFailed = 3;

    explicit CQVGifImage(CGifTgaBinding* binding = NULL);  // NULL: the process's binding
    virtual ~CQVGifImage();                               // closes the GIF
    CQVGifImage(const CQVGifImage&) = delete;
    CQVGifImage& operator=(const CQVGifImage&) = delete;

    // Binds, then opens; kLoaded or kLoadFailed. An open GIF is closed first.
    int LoadFile(LPCSTR path);
    int LoadFromMem(const BYTE* data, DWORD size, BOOL headerPresent);
    void Close();
    BOOL IsOpen() const { return m_hGif != NULL; }

    // These answer 0 without a bound entry or an open GIF, and do not bind.
    BOOL GetImageSize(int* width, int* height, COLORREF* background);
    // 1 while a frame was produced: its offset in the logical screen, size,
    // bitmap (the caller's), transparent flag and index, palette (the
    // caller's; the library's second picture), disposal method and delay in
    // milliseconds.
    BOOL GetNextImage(int* x, int* y, int* width, int* height, HBITMAP* bitmap, BOOL* transparent,
                      int* transparentIndex, HPALETTE* palette, int* disposal, int* delayMs);
    HBITMAP CreateCurrentBmp();
    BOOL Reset();
    REVUVIVA_FRAME* GetNextRawFrameData();
    int GetGlobalColorIndexTotal(int* backgroundIndex);
    BOOL GetGlobalColorIndexData(BYTE* rgb, DWORD size);

private:
    CGifTgaBinding* m_pBinding;
    HGIFIMAGE m_hGif;
};
