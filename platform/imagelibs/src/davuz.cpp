// DAVUZ.dll stand-in: PNG reading and writing over libpng (see davuz.h).
#include "davuz.h"

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

BOOL DecodeToBitmap(const BYTE* data, size_t size, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height)
{
    Clear(bitmap);
    Clear(palette);
    Clear(width);
    Clear(height);
    OwnedPixels decoded;
    if (!bitmap || !png_decode(data, size, &decoded.image))
        return FALSE;
    HBITMAP made = BitmapFromPixels(decoded.image);
    if (!made)
        return FALSE;
    *bitmap = made;
    if (width)
        *width = decoded.image.width;
    if (height)
        *height = decoded.image.height;
    return TRUE;
}

// Encodes the pixels and hands the PNG out in a new global block; answers its size.
DWORD HandOutPng(const PixelImage& image, HGLOBAL* png)
{
    OwnedBytes encoded;
    if (!png_encode(&image, &encoded.bytes))
        return 0;
    *png = GlobalCopy(encoded.bytes.data, encoded.bytes.size);
    return *png ? static_cast<DWORD>(encoded.bytes.size) : 0;
}

}  // namespace

extern "C" {

BOOL WINAPI LoadPNGFile(const char* path, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height)
{
    std::vector<BYTE> bytes;
    ReadWholeFile(path, &bytes);
    return DecodeToBitmap(bytes.data(), bytes.size(), bitmap, palette, width, height);
}

BOOL WINAPI LoadPNGFromMem(const BYTE* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width,
                           int* height)
{
    return DecodeToBitmap(data, size, bitmap, palette, width, height);
}

DWORD WINAPI WriteBmpToPNGMem(HBITMAP bitmap, HGLOBAL* png)
{
    Clear(png);
    OwnedPixels pixels;
    if (!png || !PixelsFromBitmap(bitmap, &pixels.image))
        return 0;
    return HandOutPng(pixels.image, png);
}

BOOL WINAPI WriteBmpToPNGFile(HBITMAP bitmap, const char* path)
{
    OwnedPixels pixels;
    OwnedBytes encoded;
    return PixelsFromBitmap(bitmap, &pixels.image) && png_encode(&pixels.image, &encoded.bytes) &&
           WriteWholeFile(path, encoded.bytes.data, encoded.bytes.size);
}

DWORD WINAPI WriteImageDataToPNGMem(const BYTE* pixels, int width, int height, int bitsPerPixel, int stride,
                                    DWORD flags, HGLOBAL* png)
{
    Clear(png);
    OwnedPixels rows;
    if (!png || !PixelsFromRows(pixels, width, height, bitsPerPixel, stride, (flags & IMAGE_ROWS_TOPDOWN) != 0,
                                &rows.image))
        return 0;
    return HandOutPng(rows.image, png);
}

}  // extern "C"
