// BmpFormat.cpp - checks of .bmp headers against the file.
#include "BmpFormat.h"

#include <string.h>

namespace bmpfmt {

namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

const uint32_t kCoreHeader = 12, kInfoHeader = 40;
const uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3;

bool KnownHeaderSize(uint32_t size)
{
    return size == kCoreHeader || size == kInfoHeader || size == 52 || size == 56 || size == 108 || size == 124;
}

}  // namespace

Check CheckFile(const uint8_t* head, size_t headSize, uint64_t fileSize, Info* info)
{
    if (headSize > fileSize)
        headSize = static_cast<size_t>(fileSize);
    if (!head || headSize < kFileHeaderSize + 4)
        return Check::TooShort;
    if (U16(head) != kSignature)
        return Check::NotBmp;
    Info in = Info();
    in.offBits = U32(head + 10);
    in.headerSize = U32(head + 14);
    if (!KnownHeaderSize(in.headerSize))
        return Check::BadHeaderSize;
    if (headSize < kFileHeaderSize + in.headerSize)
        return Check::TooShort;
    const uint8_t* h = head + kFileHeaderSize;

    uint16_t planes;
    uint32_t colorsUsed = 0, sizeImage = 0;
    if (in.headerSize == kCoreHeader) {
        in.width = U16(h + 4);
        in.height = U16(h + 6);
        planes = U16(h + 8);
        in.bitCount = U16(h + 10);
        in.compression = kRgb;
    } else {
        in.width = static_cast<int32_t>(U32(h + 4));
        in.height = static_cast<int32_t>(U32(h + 8));
        planes = U16(h + 12);
        in.bitCount = U16(h + 14);
        in.compression = U32(h + 16);
        sizeImage = U32(h + 20);
        colorsUsed = U32(h + 32);
    }
    const int64_t rows = in.height < 0 ? -static_cast<int64_t>(in.height) : in.height;
    if (in.width <= 0 || rows == 0 || in.width > kMaxSide || rows > kMaxSide)
        return Check::BadSize;
    if (planes != 1)
        return Check::BadDepth;
    switch (in.bitCount) {
    case 1: case 4: case 8: case 24: break;
    case 16: case 32:
        if (in.headerSize == kCoreHeader)
            return Check::BadDepth;
        break;
    default: return Check::BadDepth;
    }
    const bool topDown = in.height < 0;
    switch (in.compression) {
    case kRgb: break;
    case kRle8: if (in.bitCount != 8 || topDown) return Check::BadCompression; break;
    case kRle4: if (in.bitCount != 4 || topDown) return Check::BadCompression; break;
    case kBitfields: if (in.bitCount != 16 && in.bitCount != 32) return Check::BadCompression; break;
    default: return Check::BadCompression;
    }

    // Colour table: every entry of a palette picture, at most 256 otherwise.
    if (in.bitCount <= 8) {
        const uint32_t full = 1u << in.bitCount;
        if (colorsUsed > full)
            return Check::BadColors;
        in.colors = colorsUsed ? colorsUsed : full;
    } else {
        if (colorsUsed > 256)
            return Check::BadColors;
        in.colors = colorsUsed;
    }
    const uint64_t masks = (in.compression == kBitfields && in.headerSize == kInfoHeader) ? 12 : 0;
    const uint64_t table = static_cast<uint64_t>(in.colors) * (in.headerSize == kCoreHeader ? 3 : 4);
    if (in.offBits < kFileHeaderSize + in.headerSize + masks + table || in.offBits > fileSize)
        return Check::BadOffset;

    if (in.compression == kRle8 || in.compression == kRle4) {
        if (sizeImage == 0)
            return Check::Truncated;
        in.pixelBytes = sizeImage;
    } else {
        in.pixelBytes = RowBytes(in.width, in.bitCount) * static_cast<uint64_t>(rows);
    }
    if (in.pixelBytes > kMaxPixelBytes || static_cast<uint64_t>(in.width) * rows * 4 > kMaxPixelBytes)
        return Check::BadSize;
    if (in.offBits + in.pixelBytes > fileSize)
        return Check::Truncated;
    if (info)
        *info = in;
    return Check::Ok;
}

const char* CheckName(Check c)
{
    switch (c) {
    case Check::Ok: return "ok";
    case Check::TooShort: return "too short";
    case Check::NotBmp: return "not a bmp";
    case Check::BadHeaderSize: return "bad header size";
    case Check::BadSize: return "bad size";
    case Check::BadDepth: return "bad depth";
    case Check::BadCompression: return "bad compression";
    case Check::BadColors: return "bad colours";
    case Check::BadOffset: return "bad offset";
    case Check::Truncated: return "truncated";
    }
    return "?";
}

FileHeader MakeFileHeader(uint32_t dibSize, uint32_t pixelOffset)
{
    FileHeader f;
    f.type = kSignature;
    f.size = dibSize + kFileHeaderSize;
    f.reserved1 = 0;
    f.reserved2 = 0;
    f.offBits = kFileHeaderSize + pixelOffset;
    return f;
}

}  // namespace bmpfmt
