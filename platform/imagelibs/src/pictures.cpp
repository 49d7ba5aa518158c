#include "pictures.h"

#include <climits>
#include <cstring>
#include <string>

namespace imagelibs {

namespace {

constexpr size_t kMaxFileBytes = 256u * 1024u * 1024u;

uint32_t Read32(const BYTE* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }
uint16_t Read16(const BYTE* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

bool IsKnownHeaderSize(uint32_t size)
{
    // BITMAPINFOHEADER, the V2 and V3 extensions, BITMAPV4HEADER, BITMAPV5HEADER
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

size_t RowBytes(int width, int channels) { return static_cast<size_t>(width) * static_cast<size_t>(channels); }

}  // namespace

bool ParsePackedDib(const BYTE* dib, size_t size, PackedDibLayout* layout)
{
    *layout = PackedDibLayout();
    if (!dib || size < 40)
        return false;
    const uint32_t headerSize = Read32(dib);
    const int32_t width = static_cast<int32_t>(Read32(dib + 4));
    const int32_t height = static_cast<int32_t>(Read32(dib + 8));
    const uint16_t planes = Read16(dib + 12);
    const uint16_t bitCount = Read16(dib + 14);
    const uint32_t compression = Read32(dib + 16);
    const uint32_t colorsUsed = Read32(dib + 32);
    if (!IsKnownHeaderSize(headerSize) || headerSize > size || planes != 1 || height == INT32_MIN)
        return false;
    const int32_t rows = height < 0 ? -height : height;
    if (!pixels_size_ok(width, rows, 3))
        return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return false;
    size_t masks = 0;
    if (compression == BI_BITFIELDS) {
        if (bitCount != 16 && bitCount != 32)
            return false;
        masks = headerSize == 40 ? 12 : 0;  // later headers hold the masks themselves
    } else if (compression != BI_RGB) {
        return false;
    }
    const uint32_t maxColors = bitCount <= 8 ? 1u << bitCount : 256u;
    if (colorsUsed > maxColors)
        return false;
    const size_t colors = colorsUsed ? colorsUsed : bitCount <= 8 ? maxColors : 0;
    const size_t stride = (static_cast<size_t>(width) * bitCount + 31) / 32 * 4;
    const size_t bitsOffset = headerSize + masks + colors * 4;
    if (bitsOffset > size || stride * static_cast<size_t>(rows) > size - bitsOffset)
        return false;
    layout->width = width;
    layout->height = rows;
    layout->topDown = height < 0;
    layout->bitCount = bitCount;
    layout->bitsOffset = bitsOffset;
    layout->stride = stride;
    return true;
}

namespace {

// A top-down 32-bit DIB section of the given size, its bits in *bits.
HBITMAP CreateBgrxSection(int width, int height, BYTE** bits)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* section = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &section, nullptr, 0);
    *bits = static_cast<BYTE*>(section);
    return bitmap;
}

// 4-channel rows to 3 channels, in place.
void DropFourthChannel(PixelImage* image)
{
    BYTE* out = image->data;
    for (int y = 0; y < image->height; ++y) {
        const BYTE* row = image->data + image->stride * y;
        for (int x = 0; x < image->width; ++x, out += 3)
            memmove(out, row + 4 * x, 3);
    }
    image->channels = 3;
    image->stride = RowBytes(image->width, 3);
}

// Copies a top-down 32-bit DIB section into new 4-channel pixels.
bool PixelsFromBgrxSection(const BYTE* bits, int width, int height, PixelImage* out)
{
    if (!pixels_alloc(out, width, height, 4))
        return false;
    memcpy(out->data, bits, out->stride * static_cast<size_t>(height));
    return true;
}

}  // namespace

bool PixelsFromPackedDib(const BYTE* dib, size_t size, PixelImage* out)
{
    *out = PixelImage();
    PackedDibLayout layout;
    if (!ParsePackedDib(dib, size, &layout))
        return false;
    // GDI converts every depth and colour table into the 32-bit section.
    BYTE* bits = nullptr;
    HBITMAP section = CreateBgrxSection(layout.width, layout.height, &bits);
    if (!section)
        return false;
    HDC dc = CreateCompatibleDC(nullptr);
    int copied = dc ? SetDIBits(dc, section, 0, layout.height, dib + layout.bitsOffset,
                                reinterpret_cast<const BITMAPINFO*>(dib), DIB_RGB_COLORS)
                    : 0;
    if (dc)
        DeleteDC(dc);
    bool ok = copied == layout.height && PixelsFromBgrxSection(bits, layout.width, layout.height, out);
    DeleteObject(section);
    if (ok)
        DropFourthChannel(out);
    return ok;
}

bool PixelsFromBitmap(HBITMAP bitmap, PixelImage* out)
{
    *out = PixelImage();
    DIBSECTION section = {};
    int got = bitmap ? GetObjectA(bitmap, sizeof section, &section) : 0;
    if (got < static_cast<int>(sizeof(BITMAP)))
        return false;
    const int width = section.dsBm.bmWidth;
    const int height = section.dsBm.bmHeight;
    if (!pixels_size_ok(width, height, 4) || !pixels_alloc(out, width, height, 4))
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    int copied = dc ? GetDIBits(dc, bitmap, 0, height, out->data, &info, DIB_RGB_COLORS) : 0;
    if (dc)
        DeleteDC(dc);
    if (copied != height) {
        pixels_free(out);
        return false;
    }
    bool withAlpha = false;
    if (got == static_cast<int>(sizeof section) && section.dsBm.bmBitsPixel == 32) {
        for (size_t i = 3; i < out->stride * static_cast<size_t>(height) && !withAlpha; i += 4)
            withAlpha = out->data[i] != 0;
    }
    if (!withAlpha)
        DropFourthChannel(out);
    return true;
}

bool PixelsFromRows(const BYTE* rows, int width, int height, int bitsPerPixel, int stride, bool topDown,
                    PixelImage* out)
{
    *out = PixelImage();
    const int channels = bitsPerPixel / 8;
    if (!rows || (bitsPerPixel != 8 && bitsPerPixel != 24 && bitsPerPixel != 32) ||
        !pixels_size_ok(width, height, channels) || stride < 0 ||
        static_cast<size_t>(stride) < RowBytes(width, channels) ||
        static_cast<size_t>(stride) > RowBytes(PIXELS_MAX_SIDE, 4) + 3)
        return false;
    if (!pixels_alloc(out, width, height, channels))
        return false;
    for (int y = 0; y < height; ++y) {
        const int source = topDown ? y : height - 1 - y;
        memcpy(out->data + out->stride * y, rows + static_cast<size_t>(stride) * source, out->stride);
    }
    return true;
}

HBITMAP BitmapFromPixels(const PixelImage& image)
{
    if (!image.data || !pixels_size_ok(image.width, image.height, image.channels))
        return nullptr;
    const int bytesPerPixel = image.channels == 4 ? 4 : 3;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = image.height;  // bottom-up
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(8 * bytesPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    const size_t stride = (RowBytes(image.width, bytesPerPixel) + 3) & ~static_cast<size_t>(3);
    for (int y = 0; y < image.height; ++y) {
        const BYTE* from = image.data + image.stride * y;
        BYTE* to = static_cast<BYTE*>(bits) + stride * (image.height - 1 - y);
        if (image.channels == 1) {
            for (int x = 0; x < image.width; ++x)
                to[3 * x] = to[3 * x + 1] = to[3 * x + 2] = from[x];
        } else {
            memcpy(to, from, RowBytes(image.width, bytesPerPixel));
        }
    }
    GdiFlush();
    return bitmap;
}

HGLOBAL RowsFromPixels(const PixelImage& image, bool topDown, DWORD* size, int* bitsPerPixel, int* stride)
{
    if (!image.data || !pixels_size_ok(image.width, image.height, image.channels))
        return nullptr;
    const size_t rowBytes = RowBytes(image.width, image.channels);
    const size_t padded = (rowBytes + 3) & ~static_cast<size_t>(3);
    const size_t total = padded * static_cast<size_t>(image.height);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, total);
    BYTE* rows = block ? static_cast<BYTE*>(GlobalLock(block)) : nullptr;
    if (!rows) {
        if (block)
            GlobalFree(block);
        return nullptr;
    }
    for (int y = 0; y < image.height; ++y)
        memcpy(rows + padded * (topDown ? y : image.height - 1 - y), image.data + image.stride * y, rowBytes);
    GlobalUnlock(block);
    *size = static_cast<DWORD>(total);
    *bitsPerPixel = 8 * image.channels;
    *stride = static_cast<int>(padded);
    return block;
}

HGLOBAL GlobalCopy(const void* data, size_t size)
{
    if (!data || size == 0 || size > 0xffffffffu)
        return nullptr;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    void* target = block ? GlobalLock(block) : nullptr;
    if (!target) {
        if (block)
            GlobalFree(block);
        return nullptr;
    }
    memcpy(target, data, size);
    GlobalUnlock(block);
    return block;
}

bool ReadWholeFile(const char* path, std::vector<BYTE>* bytes)
{
    bytes->clear();
    if (!path || !*path)
        return false;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size = {};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart > 0 &&
              static_cast<unsigned long long>(size.QuadPart) <= kMaxFileBytes;
    if (ok) {
        bytes->resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        ok = ReadFile(file, bytes->data(), static_cast<DWORD>(bytes->size()), &read, nullptr) &&
             read == bytes->size();
    }
    CloseHandle(file);
    if (!ok)
        bytes->clear();
    return ok;
}

bool WriteWholeFile(const char* path, const void* data, size_t size)
{
    if (!path || !*path || !data || size > 0xffffffffu)
        return false;
    const std::string temporary = std::string(path) + ".part";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    ok = CloseHandle(file) && ok;
    ok = ok && MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        DeleteFileA(temporary.c_str());
    return ok;
}

}  // namespace imagelibs
