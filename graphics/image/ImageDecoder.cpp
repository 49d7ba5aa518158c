// ImageDecoder.cpp - picture bytes to bitmaps; resources and files to bytes.
#include "ImageDecoder.h"

#include <stdlib.h>
#include <string.h>

#include <new>

#include "graphics/BmpFormat.h"
#include "graphics/DibFunctions.h"
#include "graphics/gif/GifPicture.h"
#include "ImageLibs.h"

namespace {

const DWORD kMinimumSize = 6;

uint32_t U32(const BYTE* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// A .bmp file as a DIB section of its own depth and colours. The headers are
// checked against the block before anything is copied: the pixels must lie
// inside it, the header and colour table before them. Top-down files (a
// negative height) copy their rows in file order into a top-down section.
HBITMAP DecodeBmp(const BYTE* data, DWORD size)
{
    if (U32(data + 2) != size)
        return NULL;
    bmpfmt::Info info;
    if (bmpfmt::CheckFile(data, size, size, &info) != bmpfmt::Check::Ok)
        return NULL;
    // Rows are copied as they lie: run-length data and the old core header
    // are not taken.
    if (info.headerSize < 40 || info.compression == BI_RLE8 || info.compression == BI_RLE4)
        return NULL;

    const size_t headerBytes = info.offBits - bmpfmt::kFileHeaderSize;
    BYTE* header = new (std::nothrow) BYTE[headerBytes];
    if (!header)
        return NULL;
    memcpy(header, data + bmpfmt::kFileHeaderSize, headerBytes);

    HBITMAP section = NULL;
    HDC screen = GetWindowDC(NULL);
    if (screen) {
        void* bits = NULL;
        section = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(header), DIB_RGB_COLORS, &bits, NULL, 0);
        if (section && bits) {
            memcpy(bits, data + info.offBits, static_cast<size_t>(info.pixelBytes));
        } else if (section) {
            DeleteObject(section);
            section = NULL;
        }
        ReleaseDC(NULL, screen);
    }
    delete[] header;
    return section;
}

// A decoded picture that came with a palette is drawn through it into a
// bitmap compatible with the screen. The palette is deleted in every case;
// when the screen bitmap cannot be made the decoded one is returned as is.
HBITMAP ApplyPalette(HBITMAP decoded, HPALETTE palette, int width, int height)
{
    if (!palette)
        return decoded;
    HBITMAP result = decoded;
    if (width <= 0 || height <= 0)
        GetBitmapDimensions(decoded, &width, &height);
    HDC screen = GetDC(NULL);
    if (screen && width > 0 && height > 0) {
        HBITMAP compatible = CreateCompatibleBitmap(screen, width, height);
        if (compatible) {
            if (CopyBitmap(compatible, decoded, palette, NULL, NULL)) {
                DeleteObject(decoded);
                result = compatible;
            } else {
                DeleteObject(compatible);
            }
        }
    }
    if (screen)
        ReleaseDC(NULL, screen);
    DeleteObject(palette);
    return result;
}

// The outcome of a decoder: the picture through its palette, or nothing
// (and every object it gave deleted) when it failed or gave no bitmap.
HBITMAP FinishDecoded(bool decoded, HBITMAP bitmap, HPALETTE palette, int width, int height)
{
    if (decoded && bitmap)
        return ApplyPalette(bitmap, palette, width, height);
    if (bitmap)
        DeleteObject(bitmap);
    if (palette)
        DeleteObject(palette);
    return NULL;
}

HBITMAP DecodeGif(const BYTE* data, DWORD size)
{
    CGifReader reader;
    if (reader.OpenMemory(data, size, TRUE) != 0)
        return NULL;
    int width = 0, height = 0;
    HBITMAP bitmap = NULL;
    HPALETTE palette = NULL;
    const bool decoded = reader.ReadImage(NULL, NULL, &width, &height, &bitmap, NULL, NULL, &palette, NULL, NULL) == 1;
    return FinishDecoded(decoded, bitmap, palette, width, height);
}

typedef BOOL (*LibraryDecoder)(const BYTE*, DWORD, HBITMAP*, HPALETTE*, int*, int*);

HBITMAP DecodeWithLibrary(LibraryDecoder decode, const BYTE* data, DWORD size)
{
    HBITMAP bitmap = NULL;
    HPALETTE palette = NULL;
    int width = 0, height = 0;
    const bool decoded = decode(data, size, &bitmap, &palette, &width, &height) != FALSE;
    return FinishDecoded(decoded, bitmap, palette, width, height);
}

}  // namespace

ImageFormat GetImageFormat(const BYTE* data, DWORD size)
{
    if (!data || size < kMinimumSize)
        return ImageFormat::None;
    if (memcmp(data, "GIF87a", 6) == 0 || memcmp(data, "GIF89a", 6) == 0)
        return ImageFormat::Gif;
    if (memcmp(data + 1, "PNG\r\n", 5) == 0)
        return ImageFormat::Png;
    if (data[0] == 'B' && data[1] == 'M')
        return ImageFormat::Bmp;
    return ImageFormat::Jpeg;
}

HBITMAP DecodeImage(const BYTE* data, DWORD size)
{
    switch (GetImageFormat(data, size)) {
    case ImageFormat::None: return NULL;
    case ImageFormat::Gif: return DecodeGif(data, size);
    case ImageFormat::Png: return DecodeWithLibrary(imagelibs::LoadPNGFromMem, data, size);
    case ImageFormat::Bmp: return DecodeBmp(data, size);
    case ImageFormat::Jpeg: return DecodeWithLibrary(imagelibs::LoadJpgFromMem, data, size);
    }
    return NULL;
}

HBITMAP LoadResourceOrFile(HMODULE module, LPCSTR name, LPCSTR type, WORD language)
{
    if (module) {
        HRSRC info = FindResourceExA(module, type, name, language);
        if (!info)
            return NULL;
        const DWORD size = SizeofResource(module, info);
        HGLOBAL block = LoadResource(module, info);
        const void* data = block ? LockResource(block) : NULL;
        if (!data)
            return NULL;
        return DecodeImage(static_cast<const BYTE*>(data), size);
    }
    if (!name)
        return NULL;
    HANDLE file = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return NULL;
    HBITMAP result = NULL;
    LARGE_INTEGER end;
    const LARGE_INTEGER zero = {};
    if (SetFilePointerEx(file, zero, &end, FILE_END) && end.QuadPart >= 0 && end.QuadPart <= kMaxImageFileSize &&
        SetFilePointerEx(file, zero, NULL, FILE_BEGIN)) {
        const DWORD size = static_cast<DWORD>(end.QuadPart);
        BYTE* buffer = new (std::nothrow) BYTE[size ? size : 1];
        DWORD read = 0;
        if (buffer && ReadFile(file, buffer, size, &read, NULL) && read == size)
            result = DecodeImage(buffer, size);
        delete[] buffer;
    }
    CloseHandle(file);
    return result;
}

DWORD LoadDialogTemplate(void** out, HMODULE module, LPCSTR name)
{
    if (!out)
        return 0;
    *out = NULL;
    HRSRC info = FindResourceA(module, name, RT_DIALOG);
    if (!info)
        return 0;
    HGLOBAL block = LoadResource(module, info);
    const DWORD size = SizeofResource(module, info);
    const void* data = block ? LockResource(block) : NULL;
    if (!data || size == 0)
        return 0;
    void* copy = malloc(size);
    if (!copy)
        return 0;
    memcpy(copy, data, size);
    *out = copy;
    return size;
}
