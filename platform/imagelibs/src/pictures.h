// Between pixel rows (pixels.h) and what Windows callers hand over or get back: packed DIBs,
// bitmaps, caller's pixel rows, global blocks and files.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <vector>

#include "pixels.h"

namespace imagelibs {

struct OwnedPixels {
    PixelImage image{};
    OwnedPixels() = default;
    OwnedPixels(const OwnedPixels&) = delete;
    OwnedPixels& operator=(const OwnedPixels&) = delete;
    ~OwnedPixels() { pixels_free(&image); }
};

struct OwnedBytes {
    EncodedBytes bytes{};
    OwnedBytes() = default;
    OwnedBytes(const OwnedBytes&) = delete;
    OwnedBytes& operator=(const OwnedBytes&) = delete;
    ~OwnedBytes() { free(bytes.data); }
};

// Where the parts of a packed DIB lie: header, optional colour masks, colour table, rows.
struct PackedDibLayout {
    int width = 0;
    int height = 0;         // number of rows
    bool topDown = false;   // a negative height in the header
    int bitCount = 0;
    size_t bitsOffset = 0;  // first row, from the start of the header
    size_t stride = 0;      // bytes per row, a multiple of 4
};

// Checks a packed DIB of size bytes: a known header size, one plane, 1-32 bits uncompressed
// (or with colour masks at 16 and 32 bits), a size within the picture limits, and the colour
// table and every row inside the block.
bool ParsePackedDib(const BYTE* dib, size_t size, PackedDibLayout* layout);

// The pixels of a packed DIB, as 3 channels.
bool PixelsFromPackedDib(const BYTE* dib, size_t size, PixelImage* out);
// The pixels of a bitmap: 4 channels when it is a 32-bit DIB section with any non-zero
// alpha, else 3.
bool PixelsFromBitmap(HBITMAP bitmap, PixelImage* out);
// A copy of a caller's rows (8, 24 or 32 bits; stride in bytes, at least the row's bytes).
bool PixelsFromRows(const BYTE* rows, int width, int height, int bitsPerPixel, int stride, bool topDown,
                    PixelImage* out);

// A bottom-up DIB section: 24 bits for 1 or 3 channels, 32 bits for 4.
HBITMAP BitmapFromPixels(const PixelImage& image);
// Rows padded to 4 bytes in a movable global block (bottom-up unless topDown).
HGLOBAL RowsFromPixels(const PixelImage& image, bool topDown, DWORD* size, int* bitsPerPixel, int* stride);

HGLOBAL GlobalCopy(const void* data, size_t size);
// The whole file (at most 256 MiB).
bool ReadWholeFile(const char* path, std::vector<BYTE>* bytes);
// Writes a temporary file beside path and moves it into place, so a failure leaves no
// partial file under path.
bool WriteWholeFile(const char* path, const void* data, size_t size);

}  // namespace imagelibs
