// ImageLibs.cpp - run-time binding of VEDAD.dll and DAVUZ.dll.
#include "ImageLibs.h"

#include <stdio.h>
#include <string.h>

#include "davuz.h"
#include "vedad.h"

const char* const kJpegEntryNames[10] = {
    "LoadJpgFileImageData", "LoadJpgImageDataFromMem", "LoadJpgFile", "LoadJpgFromMem",   "WriteBitmapToJpeg",
    "WriteDibToJpeg",       "WriteDibToJpegMEM",       "GetPointerFromHandleLock", "UnLockDataHandle", "FreeDataHandle",
};
const char* const kPngEntryNames[5] = {
    "LoadPNGFile", "LoadPNGFromMem", "WriteBmpToPNGMem", "WriteBmpToPNGFile", "WriteImageDataToPNGMem",
};

namespace {

enum JpegEntry
{
    kLoadJpgFileImageData,
    kLoadJpgImageDataFromMem,
    kLoadJpgFile,
    kLoadJpgFromMem,
    kWriteBitmapToJpeg,
    kWriteDibToJpeg,
    kWriteDibToJpegMEM,
    kGetPointerFromHandleLock,
    kUnLockDataHandle,
    kFreeDataHandle,
};

enum PngEntry
{
    kLoadPNGFile,
    kLoadPNGFromMem,
    kWriteBmpToPNGMem,
    kWriteBmpToPNGFile,
    kWriteImageDataToPNGMem,
};

// The folder of the program's executable, without a trailing backslash;
// false when it cannot be had.
bool ProgramFolder(char* buffer, size_t size)
{
    const DWORD length = GetModuleFileNameA(NULL, buffer, static_cast<DWORD>(size));
    if (length == 0 || length >= size)
        return false;
    char* slash = strrchr(buffer, '\\');
    if (!slash)
        return false;
    *slash = '\0';
    return true;
}

}  // namespace

CImageLibBinding::CImageLibBinding(const char* dllName, const char* const* entryNames, int entryCount)
    : m_dllName(dllName), m_entryNames(entryNames), m_entryCount(entryCount > kMaxEntries ? kMaxEntries : entryCount),
      m_module(NULL), m_failed(FALSE)
{
    InitializeSRWLock(&m_lock);
    memset(m_entries, 0, sizeof m_entries);
}

CImageLibBinding::~CImageLibBinding()
{
    // The process-wide bindings live until the process ends; a library is
    // freed only when a test's own binding goes.
    if (m_module)
        FreeLibrary(m_module);
}

BOOL CImageLibBinding::Bind()
{
    AcquireSRWLockExclusive(&m_lock);
    BOOL result = FALSE;
    if (m_module) {
        result = TRUE;
    } else if (!m_failed) {
        char folder[MAX_PATH];
        char path[MAX_PATH + 64];
        if (ProgramFolder(folder, sizeof folder))
            snprintf(path, sizeof path, "%s\\%s", folder, m_dllName);
        else
            snprintf(path, sizeof path, "%s", m_dllName);
        HMODULE module = LoadLibraryA(path);
        bool complete = module != NULL;
        for (int i = 0; complete && i < m_entryCount; i++) {
            m_entries[i] = GetProcAddress(module, m_entryNames[i]);
            complete = m_entries[i] != NULL;
        }
        if (complete) {
            m_module = module;
            result = TRUE;
        } else {
            if (module)
                FreeLibrary(module);
            memset(m_entries, 0, sizeof m_entries);
            m_failed = TRUE;
        }
    }
    ReleaseSRWLockExclusive(&m_lock);
    return result;
}

FARPROC CImageLibBinding::Entry(int index) const
{
    return (index >= 0 && index < m_entryCount && m_module) ? m_entries[index] : NULL;
}

CImageLibBinding& JpegLibrary()
{
    static CImageLibBinding binding("VEDAD.dll", kJpegEntryNames, 10);
    return binding;
}

CImageLibBinding& PngLibrary()
{
    static CImageLibBinding binding("DAVUZ.dll", kPngEntryNames, 5);
    return binding;
}

namespace imagelibs {

// Forwarder bodies: bind, then call the entry with the same arguments.
#define IMAGELIB_FORWARD(library, index, type, ...)                          \
    do {                                                                      \
        if (!(library).Bind())                                                \
            return 0;                                                         \
        return (library).EntryAs<type>(index)(__VA_ARGS__);                   \
    } while (0)

BOOL LoadJpgFileImageData(const char* path, HGLOBAL* pixels, DWORD* size, int* width, int* height,
                          int* bitsPerPixel, int* stride, DWORD flags)
{
    IMAGELIB_FORWARD(JpegLibrary(), kLoadJpgFileImageData, LoadJpgFileImageDataProc, path, pixels, size, width, height,
                     bitsPerPixel, stride, flags);
}

BOOL LoadJpgImageDataFromMem(const BYTE* data, DWORD dataSize, HGLOBAL* pixels, DWORD* size, int* width,
                             int* height, int* bitsPerPixel, int* stride, DWORD flags)
{
    IMAGELIB_FORWARD(JpegLibrary(), kLoadJpgImageDataFromMem, LoadJpgImageDataFromMemProc, data, dataSize, pixels,
                     size, width, height, bitsPerPixel, stride, flags);
}

BOOL LoadJpgFile(const char* path, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height)
{
    IMAGELIB_FORWARD(JpegLibrary(), kLoadJpgFile, LoadJpgFileProc, path, bitmap, palette, width, height);
}

BOOL LoadJpgFromMem(const BYTE* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height)
{
    IMAGELIB_FORWARD(JpegLibrary(), kLoadJpgFromMem, LoadJpgFromMemProc, data, size, bitmap, palette, width, height);
}

BOOL WriteBitmapToJpeg(const BYTE* pixels, int width, int height, int bitsPerPixel, int stride, DWORD flags,
                       const char* path, int quality)
{
    IMAGELIB_FORWARD(JpegLibrary(), kWriteBitmapToJpeg, WriteBitmapToJpegProc, pixels, width, height, bitsPerPixel,
                     stride, flags, path, quality);
}

BOOL WriteDibToJpeg(HGLOBAL dib, const char* path, int quality)
{
    IMAGELIB_FORWARD(JpegLibrary(), kWriteDibToJpeg, WriteDibToJpegProc, dib, path, quality);
}

DWORD WriteDibToJpegMEM(HGLOBAL dib, int quality, HGLOBAL* jpeg)
{
    IMAGELIB_FORWARD(JpegLibrary(), kWriteDibToJpegMEM, WriteDibToJpegMEMProc, dib, quality, jpeg);
}

void* GetPointerFromHandleLock(HGLOBAL handle)
{
    IMAGELIB_FORWARD(JpegLibrary(), kGetPointerFromHandleLock, GetPointerFromHandleLockProc, handle);
}

BOOL UnLockDataHandle(HGLOBAL handle)
{
    IMAGELIB_FORWARD(JpegLibrary(), kUnLockDataHandle, UnLockDataHandleProc, handle);
}

BOOL LoadPNGFromMem(const BYTE* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height)
{
    IMAGELIB_FORWARD(PngLibrary(), kLoadPNGFromMem, LoadPNGFromMemProc, data, size, bitmap, palette, width, height);
}

DWORD WriteBmpToPNGMem(HBITMAP bitmap, HGLOBAL* png)
{
    IMAGELIB_FORWARD(PngLibrary(), kWriteBmpToPNGMem, WriteBmpToPNGMemProc, bitmap, png);
}

BOOL WriteBmpToPNGFile(HBITMAP bitmap, const char* path)
{
    IMAGELIB_FORWARD(PngLibrary(), kWriteBmpToPNGFile, WriteBmpToPNGFileProc, bitmap, path);
}

DWORD WriteImageDataToPNGMem(const BYTE* pixels, int width, int height, int bitsPerPixel, int stride, DWORD flags,
                             HGLOBAL* png)
{
    IMAGELIB_FORWARD(PngLibrary(), kWriteImageDataToPNGMem, WriteImageDataToPNGMemProc, pixels, width, height,
                     bitsPerPixel, stride, flags, png);
}

#undef IMAGELIB_FORWARD

}  // namespace imagelibs
