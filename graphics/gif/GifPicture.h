// GifPicture.h - GIF pictures as GDI objects: the GIF reader object, the
// picture decoder (GIF or an in-memory .bmp file) and the loader that takes
// its bytes from a module's resource or from a file.
//
// Built on the pure decoder of GifDecoder.h. Every bitmap and palette handed
// out belongs to the caller (DeleteObject).
#pragma once

#include <windows.h>
#include <stdint.h>

#include <vector>

#include "GifDecoder.h"

// The frame record of CGifReader::NextImage. One block from GlobalAlloc
// holds the record and, after it, the pixels; the record owns the palette.
// Release both with FreeGifFrameRecord. The handle and pointer fields are
// pointer-sized: the record is 56 bytes in a 32-bit process.
struct GifFrameRecord
{
    uint32_t recordSize;  // sizeof(GifFrameRecord)
    uint32_t left;
    uint32_t top;
    uint32_t width;
    uint32_t height;
    uint32_t stride;  // width rounded up to a multiple of 4
    uint32_t transparent;
    uint32_t transparentIndex;
    uint32_t delayMs;
    uint32_t disposal;
    uint32_t pixelBytes;  // stride x height
    uint32_t colorCount;  // entries in the palette
    HPALETTE palette;
    uint8_t* pixels;  // colour indexes, top row first
};
#ifndef _WIN64
static_assert(sizeof(GifFrameRecord) == 56, "the frame record is 56 bytes in a 32-bit process");
#endif

void FreeGifFrameRecord(GifFrameRecord* record);

// Colours of a GIF image as a GDI palette (LOGPALETTE version 0x300). With
// no colours the system palette is taken; a display without one (every
// true-colour display) gives the 20 colours of the stock default palette.
// `entries` receives the palette's colours.
HPALETTE CreateGifPalette(const std::vector<gifcore::Rgb>& colors, std::vector<PALETTEENTRY>* entries);

// An 8-bit top-down DIB section of the image's pixels with the given colour
// table. Indexes outside the table are drawn with entry 0.
HBITMAP CreateGifDib(const gifcore::Image& image, const std::vector<PALETTEENTRY>& colors);

// Reader of one GIF held in memory.
class CGifReader
{
public:
    CGifReader();
    virtual ~CGifReader();
    CGifReader(const CGifReader&) = delete;
    CGifReader& operator=(const CGifReader&) = delete;

    // 0 on success, 3 on failure (as the platform's GIF library answers).
    int OpenMemory(const BYTE* data, DWORD size, BOOL headerPresent);
    int OpenFile(LPCSTR path);
    BOOL IsOpen() const { return m_reader.IsOpen(); }

    // Logical screen size and background colour (palette-relative RGB, 0
    // without a global table). 0 when nothing is open.
    BOOL GetScreenInfo(int* width, int* height, COLORREF* background) const;
    // Entries of the global colour table (0 without one); the background
    // index goes to *backgroundIndex when given.
    int GetGlobalColorInfo(int* backgroundIndex) const;
    // Copies the global table as R, G, B bytes; 0 when the buffer holds
    // fewer than 3 x count bytes or there is no table.
    BOOL CopyGlobalColorTable(BYTE* buffer, DWORD bufferSize) const;

    // Next image as a frame record (FreeGifFrameRecord), or NULL when no
    // further image can be read.
    GifFrameRecord* NextImage();
    // Next image as a DIB section with its palette: 1 read, 2 no further
    // image, 0 failure. Any out-pointer may be NULL; a bitmap or palette not
    // asked for is deleted. The transparent colour is the palette entry at
    // the transparent index (0 when the index lies outside the palette).
    int ReadImage(int* left, int* top, int* width, int* height, HBITMAP* bitmap, BOOL* transparent,
                  COLORREF* transparentColor, HPALETTE* palette, int* disposal, int* delayMs);
    // A new DIB section of the image read last; NULL when there is none.
    HBITMAP CreateCurrentDib() const;
    // The colours of the image read last (valid after ReadImage).
    const std::vector<PALETTEENTRY>& CurrentColors() const { return m_currentColors; }
    const gifcore::Image& CurrentImage() const { return m_current; }

    void Rewind();

private:
    gifcore::Reader m_reader;
    gifcore::Image m_current;
    std::vector<PALETTEENTRY> m_currentColors;
    bool m_haveCurrent = false;
};

// Decodes a GIF (the first image) or an in-memory .bmp file into a bitmap:
// a GIF gives a bitmap compatible with the screen (drawn through its
// palette), a .bmp a DIB section of the file's own depth. NULL for anything
// else, for fewer than 6 bytes and for malformed data.
HBITMAP DecodeGifPicture(const BYTE* data, DWORD size);

// Decodes a picture from a module's resource (name, type, language) or,
// with no module, from the file `name`. NULL when it cannot be read.
HBITMAP LoadGifPicture(HMODULE module, LPCSTR name, LPCSTR type, WORD language);

// Reads a whole file (shared read) into `bytes`; FALSE when it cannot be
// opened or read, or is larger than maxBytes.
BOOL ReadWholeFile(LPCSTR path, std::vector<BYTE>& bytes, DWORD maxBytes);
