// BmpFormat.h - the .bmp file layout: checking a file's headers against the
// file before anything reads its pixels, and building the file header that
// goes before a packed DIB. No Windows calls, so it can be checked on bytes.
#pragma once

#include <stddef.h>
#include <stdint.h>

namespace bmpfmt {

// The 14-byte file header, as it lies in the file (little-endian, packed).
#pragma pack(push, 2)
struct FileHeader
{
    uint16_t type;       // "BM"
    uint32_t size;       // whole file
    uint16_t reserved1;
    uint16_t reserved2;
    uint32_t offBits;    // from the file's start to the pixels
};
#pragma pack(pop)
static_assert(sizeof(FileHeader) == 14, "file header is 14 bytes");
static_assert(offsetof(FileHeader, offBits) == 10, "offBits at 10");

const uint16_t kSignature = 0x4D42;  // "BM"
const uint32_t kFileHeaderSize = 14;
// Larger pictures are refused: more than any skin or snapshot needs, and
// small enough that row and picture sizes stay far from overflow.
const int32_t kMaxSide = 32767;
const uint64_t kMaxPixelBytes = 256u * 1024 * 1024;

enum class Check
{
    Ok,
    TooShort,        // not even the headers fit
    NotBmp,          // no "BM"
    BadHeaderSize,   // unknown info header size
    BadSize,         // width or height zero, negative or too large
    BadDepth,        // planes or bits per pixel not usable
    BadCompression,  // compression not usable with this depth or direction
    BadColors,       // more colours than the depth has
    BadOffset,       // pixels start inside the headers or past the end
    Truncated,       // the pixels do not fit in the file
};

struct Info
{
    uint32_t headerSize;
    int32_t width;
    int32_t height;       // positive: rows bottom-up
    uint16_t bitCount;
    uint32_t compression;
    uint32_t colors;      // entries in the colour table
    uint32_t offBits;
    uint64_t pixelBytes;  // bytes the pixels take in the file
};

// head: the first bytes of the file (at least the file header and the info
// header; more is ignored); fileSize: the whole file's size.
Check CheckFile(const uint8_t* head, size_t headSize, uint64_t fileSize, Info* info);

const char* CheckName(Check c);

// Bytes of one row of pixels: bits rounded up to 32.
inline uint64_t RowBytes(int64_t width, int bitCount) { return ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4; }

// The file header for a packed DIB of dibSize bytes whose pixels start
// pixelOffset bytes into it.
FileHeader MakeFileHeader(uint32_t dibSize, uint32_t pixelOffset);

// Hands data to write(const uint8_t*, uint32_t) -> bytes written, in pieces
// of 32768 bytes while more than that remains, then the rest. size, or 0
// as soon as a piece is written short.
const uint32_t kPieceBytes = 32768;

template <class Write>
uint32_t WriteInPieces(const uint8_t* data, uint32_t size, Write write)
{
    uint32_t done = 0;
    while (size - done > kPieceBytes) {
        if (write(data + done, kPieceBytes) != kPieceBytes)
            return 0;
        done += kPieceBytes;
    }
    const uint32_t rest = size - done;
    if (rest && write(data + done, rest) != rest)
        return 0;
    return size;
}

}  // namespace bmpfmt
