// ImageLibs.h - the platform's JPEG library VEDAD.dll and PNG library
// DAVUZ.dll, bound by name at run time.
//
// Each library is loaded from the program's folder on the first call of
// any of its forwarders; a library that is missing, or lacks any of its
// entries, is refused once and never tried again. Forwarders pass their
// arguments through unchanged and answer 0 (FALSE, NULL) when the library
// is not bound. Any thread may call them. What the arguments mean is the
// libraries' own (platform/imagelibs/include/vedad.h and davuz.h).
#pragma once

#include <windows.h>

// One library bound by name: its module, a failed flag and its entries.
class CImageLibBinding
{
public:
    static const int kMaxEntries = 16;

    // dllName and entryNames are kept by pointer (string literals).
    CImageLibBinding(const char* dllName, const char* const* entryNames, int entryCount);
    ~CImageLibBinding();
    CImageLibBinding(const CImageLibBinding&) = delete;
    CImageLibBinding& operator=(const CImageLibBinding&) = delete;

    // Bound already: TRUE; failed before: FALSE. Otherwise loads
    // "<program folder>\<dllName>" (the bare name when the folder is
    // unknown) and looks up every entry; one missing entry frees the
    // library and refuses it for good.
    BOOL Bind();
    BOOL IsBound() const { return m_module != NULL; }
    BOOL HasFailed() const { return m_failed; }
    FARPROC Entry(int index) const;
    template <typename Fn>
    Fn EntryAs(int index) const
    {
        return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(Entry(index)));
    }

private:
    SRWLOCK m_lock;
    const char* m_dllName;
    const char* const* m_entryNames;
    int m_entryCount;
    HMODULE m_module;
    BOOL m_failed;
    FARPROC m_entries[kMaxEntries];
};

// The entries of each library in binding order.
extern const char* const kJpegEntryNames[10];
extern const char* const kPngEntryNames[5];

// The two process-wide bindings.
CImageLibBinding& JpegLibrary();
CImageLibBinding& PngLibrary();

namespace imagelibs {

// VEDAD.dll
BOOL LoadJpgFileImageData(const char* path, HGLOBAL* pixels, DWORD* size, int* width, int* height,
                          int* bitsPerPixel, int* stride, DWORD flags);
BOOL LoadJpgImageDataFromMem(const BYTE* data, DWORD dataSize, HGLOBAL* pixels, DWORD* size, int* width,
                             int* height, int* bitsPerPixel, int* stride, DWORD flags);
BOOL LoadJpgFile(const char* path, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height);
BOOL LoadJpgFromMem(const BYTE* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height);
BOOL WriteBitmapToJpeg(const BYTE* pixels, int width, int height, int bitsPerPixel, int stride, DWORD flags,
                       const char* path, int quality);
BOOL WriteDibToJpeg(HGLOBAL dib, const char* path, int quality);
DWORD WriteDibToJpegMEM(HGLOBAL dib, int quality, HGLOBAL* jpeg);
void* GetPointerFromHandleLock(HGLOBAL handle);
BOOL UnLockDataHandle(HGLOBAL handle);

// DAVUZ.dll
BOOL LoadPNGFromMem(const BYTE* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height);
DWORD WriteBmpToPNGMem(HBITMAP bitmap, HGLOBAL* png);
BOOL WriteBmpToPNGFile(HBITMAP bitmap, const char* path);
DWORD WriteImageDataToPNGMem(const BYTE* pixels, int width, int height, int bitsPerPixel, int stride, DWORD flags,
                             HGLOBAL* png);

}  // namespace imagelibs
