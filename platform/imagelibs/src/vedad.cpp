// VEDAD.dll stand-in: JPEG reading and writing over libjpeg-turbo (see vedad.h).
#include "vedad.h"

#include <vector>

#include "pictures.h"

using namespace imagelibs;

namespace {

template <typename T>
void Clear(T* out)
{
    if (out)
        *out = T();
}

// Hands a decoded picture out as a DIB section.
BOOL HandOutBitmap(const PixelImage& image, HBITMAP* bitmap, int* width, int* height)
{
    HBITMAP made = BitmapFromPixels(image);
    if (!made)
        return FALSE;
    *bitmap = made;
    if (width)
        *width = image.width;
    if (height)
        *height = image.height;
    return TRUE;
}

BOOL DecodeToBitmap(const BYTE* data, size_t size, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height)
{
    Clear(bitmap);
    Clear(palette);
    Clear(width);
    Clear(height);
    OwnedPixels decoded;
    if (!bitmap || !jpeg_decode(data, size, &decoded.image))
        return FALSE;
    return HandOutBitmap(decoded.image, bitmap, width, height);
}

BOOL DecodeToRows(const BYTE* data, size_t size, HGLOBAL* pixels, DWORD* byteCount, int* width, int* height,
                  int* bitsPerPixel, int* stride, DWORD flags)
{
    Clear(pixels);
    Clear(byteCount);
    Clear(width);
    Clear(height);
    Clear(bitsPerPixel);
    Clear(stride);
    OwnedPixels decoded;
    if (!pixels || !byteCount || !width || !height || !bitsPerPixel || !stride ||
        !jpeg_decode(data, size, &decoded.image))
        return FALSE;
    *pixels = RowsFromPixels(decoded.image, (flags & IMAGE_ROWS_TOPDOWN) != 0, byteCount, bitsPerPixel, stride);
    if (!*pixels) {
        *byteCount = 0;
        *bitsPerPixel = *stride = 0;
        return FALSE;
    }
    *width = decoded.image.width;
    *height = decoded.image.height;
    return TRUE;
}

// Encodes a packed DIB held in global memory.
bool EncodeDib(HGLOBAL dib, int quality, OwnedBytes* jpeg)
{
    const SIZE_T size = dib ? GlobalSize(dib) : 0;
    const BYTE* header = size ? static_cast<const BYTE*>(GlobalLock(dib)) : nullptr;
    if (!header)
        return false;
    OwnedPixels pixels;
    bool ok = PixelsFromPackedDib(header, size, &pixels.image);
    GlobalUnlock(dib);
    return ok && jpeg_encode(&pixels.image, quality, &jpeg->bytes);
}

}  // namespace

extern "C" {

BOOL WINAPI LoadJpgFileImageData(const char* path, HGLOBAL* pixels, DWORD* size, int* width, int* height,
                                 int* bitsPerPixel, int* stride, DWORD flags)
{
    std::vector<BYTE> bytes;
    ReadWholeFile(path, &bytes);
    return DecodeToRows(bytes.data(), bytes.size(), pixels, size, width, height, bitsPerPixel, stride, flags);
}

BOOL WINAPI LoadJpgImageDataFromMem(const BYTE* data, DWORD dataSize, HGLOBAL* pixels, DWORD* size, int* width,
                                    int* height, int* bitsPerPixel, int* stride, DWORD flags)
{
    return DecodeToRows(data, dataSize, pixels, size, width, height, bitsPerPixel, stride, flags);
}

BOOL WINAPI LoadJpgFile(const char* path, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height)
{
    std::vector<BYTE> bytes;
    ReadWholeFile(path, &bytes);
    return DecodeToBitmap(bytes.data(), bytes.size(), bitmap, palette, width, height);
}

BOOL WINAPI LoadJpgFromMem(const BYTE* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width,
                           int* height)
{
    return DecodeToBitmap(data, size, bitmap, palette, width, height);
}

BOOL WINAPI WriteBitmapToJpeg(const BYTE* pixels, int width, int height, int bitsPerPixel, int stride, DWORD flags,
                              const char* path, int quality)
{
    OwnedPixels rows;
    OwnedBytes jpeg;
    return PixelsFromRows(pixels, width, height, bitsPerPixel, stride, (flags & IMAGE_ROWS_TOPDOWN) != 0,
                          &rows.image) &&
           jpeg_encode(&rows.image, quality, &jpeg.bytes) && WriteWholeFile(path, jpeg.bytes.data, jpeg.bytes.size);
}

BOOL WINAPI WriteDibToJpeg(HGLOBAL dib, const char* path, int quality)
{
    OwnedBytes jpeg;
    return EncodeDib(dib, quality, &jpeg) && WriteWholeFile(path, jpeg.bytes.data, jpeg.bytes.size);
}

DWORD WINAPI WriteDibToJpegMEM(HGLOBAL dib, int quality, HGLOBAL* jpeg)
{
    Clear(jpeg);
    OwnedBytes encoded;
    if (!jpeg || !EncodeDib(dib, quality, &encoded))
        return 0;
    *jpeg = GlobalCopy(encoded.bytes.data, encoded.bytes.size);
    return *jpeg ? static_cast<DWORD>(encoded.bytes.size) : 0;
}

void* WINAPI GetPointerFromHandleLock(HGLOBAL handle)
{
    return handle ? GlobalLock(handle) : nullptr;
}

BOOL WINAPI UnLockDataHandle(HGLOBAL handle)
{
    // GlobalUnlock answers FALSE once the block is no longer locked, which is not a failure.
    if (!handle)
        return FALSE;
    GlobalUnlock(handle);
    return TRUE;
}

BOOL WINAPI FreeDataHandle(HGLOBAL handle)
{
    return handle && GlobalFree(handle) == nullptr;
}

}  // extern "C"
