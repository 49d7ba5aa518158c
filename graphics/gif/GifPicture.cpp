// GifPicture.cpp - the GDI side of the GIF decoder.
#include "GifPicture.h"

#include <stddef.h>
#include <string.h>

#include <new>

namespace {

// Pictures read from files are refused above this size.
constexpr DWORD kMaxPictureFileBytes = 128u << 20;

constexpr WORD kLogPaletteVersion = 0x300;
constexpr int kMaxPaletteEntries = 256;

struct LogPalette256
{
    WORD version;
    WORD count;
    PALETTEENTRY entries[kMaxPaletteEntries];
};

struct DibInfo8
{
    BITMAPINFOHEADER header;
    RGBQUAD colors[kMaxPaletteEntries];
};

void SystemPaletteEntries(std::vector<PALETTEENTRY>& entries)
{
    entries.assign(kMaxPaletteEntries, PALETTEENTRY());
    UINT count = 0;
    if (HDC screen = ::GetDC(NULL)) {
        count = ::GetSystemPaletteEntries(screen, 0, kMaxPaletteEntries, entries.data());
        ::ReleaseDC(NULL, screen);
    }
    if (count == 0)
        count = ::GetPaletteEntries(static_cast<HPALETTE>(::GetStockObject(DEFAULT_PALETTE)), 0,
                                    kMaxPaletteEntries, entries.data());
    entries.resize(count);
}

// Copies `source` onto `destination` (whole areas, same size) through the
// palette, the way pictures with a palette are put on the screen's format.
BOOL CopyThroughPalette(HBITMAP destination, HBITMAP source, HPALETTE palette, int width, int height)
{
    HDC screen = ::GetDC(NULL);
    if (!screen)
        return FALSE;
    HDC sourceDc = ::CreateCompatibleDC(screen);
    HDC destinationDc = ::CreateCompatibleDC(screen);
    ::ReleaseDC(NULL, screen);
    BOOL ok = FALSE;
    if (sourceDc && destinationDc) {
        HGDIOBJ oldSource = ::SelectObject(sourceDc, source);
        HGDIOBJ oldDestination = ::SelectObject(destinationDc, destination);
        HPALETTE oldPalette = NULL;
        if (palette && (::GetDeviceCaps(sourceDc, RASTERCAPS) & RC_PALETTE)) {
            oldPalette = ::SelectPalette(sourceDc, palette, FALSE);
            ::RealizePalette(sourceDc);
        }
        ::SetStretchBltMode(destinationDc, COLORONCOLOR);
        ok = ::BitBlt(destinationDc, 0, 0, width, height, sourceDc, 0, 0, SRCCOPY);
        if (oldPalette)
            ::SelectPalette(sourceDc, oldPalette, FALSE);
        ::SelectObject(destinationDc, oldDestination);
        ::SelectObject(sourceDc, oldSource);
    }
    if (sourceDc)
        ::DeleteDC(sourceDc);
    if (destinationDc)
        ::DeleteDC(destinationDc);
    return ok;
}

uint32_t U32At(const BYTE* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24; }

// A DIB section made against the screen DC given, which is released here.
// NULL when it cannot be made or comes without pixels.
HBITMAP NewDibSection(HDC screen, const BITMAPINFO* info, void** bits)
{
    HBITMAP dib = ::CreateDIBSection(screen, info, DIB_RGB_COLORS, bits, NULL, 0);
    if (screen)
        ::ReleaseDC(NULL, screen);
    if (dib && !*bits) {
        ::DeleteObject(dib);
        return NULL;
    }
    return dib;
}

// An in-memory .bmp file as a DIB section of its own depth. Every size,
// offset and count is checked against the data before anything is read.
HBITMAP DecodeBmp(const BYTE* data, DWORD size)
{
    constexpr DWORD kFileHeader = 14;
    constexpr DWORD kInfoHeader = sizeof(BITMAPINFOHEADER);
    static_assert(sizeof(BITMAPINFOHEADER) == 40, "info header layout");
    if (size < kFileHeader + kInfoHeader || U32At(data + 2) != size)
        return NULL;
    const DWORD bitsOffset = U32At(data + 10);
    if (bitsOffset < kFileHeader + kInfoHeader || bitsOffset > size)
        return NULL;
    const DWORD headerBytes = bitsOffset - kFileHeader;

    BITMAPINFOHEADER h;
    memcpy(&h, data + kFileHeader, kInfoHeader);
    if (h.biSize < kInfoHeader || h.biSize > headerBytes || h.biPlanes != 1 || h.biWidth <= 0 ||
        h.biHeight == 0 || h.biHeight < -0x7FFFFFFF)
        return NULL;
    const uint32_t bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return NULL;
    uint64_t needed = h.biSize;
    if (h.biCompression == BI_BITFIELDS) {
        if (bpp != 16 && bpp != 32)
            return NULL;
        if (h.biSize == kInfoHeader)
            needed += 3 * sizeof(DWORD);  // the masks follow the short header
    } else if (h.biCompression != BI_RGB) {
        return NULL;  // run-length and embedded formats are not read here
    }
    uint64_t colors = h.biClrUsed;
    if (bpp <= 8) {
        if (colors == 0)
            colors = 1u << bpp;
        if (colors > (1u << bpp))
            return NULL;
    } else if (colors > kMaxPaletteEntries) {
        return NULL;
    }
    needed += colors * sizeof(RGBQUAD);
    if (needed > headerBytes)
        return NULL;

    const uint64_t rows = h.biHeight < 0 ? -static_cast<int64_t>(h.biHeight) : h.biHeight;
    const uint64_t stride = (static_cast<uint64_t>(h.biWidth) * bpp + 31) / 32 * 4;
    const uint64_t pixelBytes = stride * rows;
    if (pixelBytes > size - bitsOffset)
        return NULL;

    // The header block is padded so that the system never reads past it.
    std::vector<BYTE> info;
    try {
        info.assign(static_cast<size_t>(headerBytes) + sizeof(DibInfo8), 0);
    } catch (const std::bad_alloc&) {
        return NULL;
    }
    memcpy(info.data(), data + kFileHeader, headerBytes);

    void* bits = NULL;
    HBITMAP dib = NewDibSection(::GetWindowDC(NULL), reinterpret_cast<BITMAPINFO*>(info.data()), &bits);
    if (!dib)
        return NULL;
    memcpy(bits, data + bitsOffset, static_cast<size_t>(pixelBytes));
    return dib;
}

HBITMAP DecodeGif(const BYTE* data, DWORD size)
{
    CGifReader reader;
    if (reader.OpenMemory(data, size, TRUE) != 0)
        return NULL;
    int width = 0, height = 0;
    HBITMAP dib = NULL;
    HPALETTE palette = NULL;
    if (reader.ReadImage(NULL, NULL, &width, &height, &dib, NULL, NULL, &palette, NULL, NULL) != 1)
        return NULL;
    HBITMAP result = dib;
    if (palette) {
        HDC screen = ::GetDC(NULL);
        HBITMAP compatible = screen ? ::CreateCompatibleBitmap(screen, width, height) : NULL;
        if (screen)
            ::ReleaseDC(NULL, screen);
        if (compatible && CopyThroughPalette(compatible, dib, palette, width, height)) {
            ::DeleteObject(dib);
            result = compatible;
        } else if (compatible) {
            ::DeleteObject(compatible);
        }
        ::DeleteObject(palette);
    }
    return result;
}

}  // namespace

// ---- Palettes and DIBs ----------------------------------------------------------

HPALETTE CreateGifPalette(const std::vector<gifcore::Rgb>& colors, std::vector<PALETTEENTRY>* entries)
{
    std::vector<PALETTEENTRY> table;
    if (colors.empty()) {
        SystemPaletteEntries(table);
    } else {
        const size_t count = colors.size() < kMaxPaletteEntries ? colors.size() : kMaxPaletteEntries;
        table.resize(count);
        for (size_t i = 0; i < count; ++i)
            table[i] = PALETTEENTRY{colors[i].red, colors[i].green, colors[i].blue, 0};
    }
    if (table.empty())
        return NULL;
    LogPalette256 log;
    log.version = kLogPaletteVersion;
    log.count = static_cast<WORD>(table.size());
    memcpy(log.entries, table.data(), table.size() * sizeof(PALETTEENTRY));
    HPALETTE palette = ::CreatePalette(reinterpret_cast<LOGPALETTE*>(&log));
    if (palette && entries)
        entries->swap(table);
    return palette;
}

HBITMAP CreateGifDib(const gifcore::Image& image, const std::vector<PALETTEENTRY>& colors)
{
    if (image.width == 0 || image.height == 0 || colors.empty() || colors.size() > kMaxPaletteEntries ||
        image.pixels.size() < static_cast<size_t>(image.stride) * image.height)
        return NULL;
    DibInfo8 info;
    memset(&info, 0, sizeof info);
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = image.width;
    info.header.biHeight = -static_cast<LONG>(image.height);  // top-down
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biClrUsed = static_cast<DWORD>(colors.size());
    info.header.biClrImportant = static_cast<DWORD>(colors.size());
    for (size_t i = 0; i < colors.size(); ++i)
        info.colors[i] = RGBQUAD{colors[i].peBlue, colors[i].peGreen, colors[i].peRed, 0};

    void* bits = NULL;
    HBITMAP dib = NewDibSection(::GetDC(NULL), reinterpret_cast<BITMAPINFO*>(&info), &bits);
    if (!dib)
        return NULL;
    const size_t bytes = static_cast<size_t>(image.stride) * image.height;
    BYTE* out = static_cast<BYTE*>(bits);
    memcpy(out, image.pixels.data(), bytes);
    if (colors.size() < kMaxPaletteEntries) {
        const BYTE limit = static_cast<BYTE>(colors.size());
        for (size_t i = 0; i < bytes; ++i)
            if (out[i] >= limit)
                out[i] = 0;
    }
    return dib;
}

void FreeGifFrameRecord(GifFrameRecord* record)
{
    if (!record)
        return;
    if (record->palette)
        ::DeleteObject(record->palette);
    ::GlobalFree(record);
}

// ---- CGifReader -------------------------------------------------------------------

CGifReader::CGifReader() = default;
CGifReader::~CGifReader() = default;

int CGifReader::OpenMemory(const BYTE* data, DWORD size, BOOL headerPresent)
{
    m_current = gifcore::Image();
    m_currentColors.clear();
    m_haveCurrent = false;
    return m_reader.Open(data, size, headerPresent != FALSE) ? 0 : 3;
}

int CGifReader::OpenFile(LPCSTR path)
{
    std::vector<BYTE> bytes;
    if (!ReadWholeFile(path, bytes, kMaxPictureFileBytes)) {
        m_reader.Close();
        return 3;
    }
    return OpenMemory(bytes.data(), static_cast<DWORD>(bytes.size()), TRUE);
}

BOOL CGifReader::GetScreenInfo(int* width, int* height, COLORREF* background) const
{
    if (!m_reader.IsOpen())
        return FALSE;
    const gifcore::ScreenInfo& screen = m_reader.Screen();
    if (width)
        *width = screen.width;
    if (height)
        *height = screen.height;
    if (background)
        *background = screen.backgroundColor;
    return TRUE;
}

int CGifReader::GetGlobalColorInfo(int* backgroundIndex) const
{
    if (backgroundIndex)
        *backgroundIndex = m_reader.Screen().backgroundIndex;
    return static_cast<int>(m_reader.Screen().globalColorCount);
}

BOOL CGifReader::CopyGlobalColorTable(BYTE* buffer, DWORD bufferSize) const
{
    const std::vector<gifcore::Rgb>& table = m_reader.GlobalTable();
    const size_t bytes = table.size() * sizeof(gifcore::Rgb);
    if (!buffer || table.empty() || bufferSize < bytes)
        return FALSE;
    memcpy(buffer, table.data(), bytes);
    return TRUE;
}

GifFrameRecord* CGifReader::NextImage()
{
    gifcore::Image image;
    if (m_reader.ReadImage(image) != gifcore::ReadResult::Image)
        return NULL;
    std::vector<PALETTEENTRY> colors;
    HPALETTE palette = CreateGifPalette(image.colors, &colors);
    if (!palette)
        return NULL;
    const size_t pixelBytes = image.pixels.size();
    GifFrameRecord* record =
        static_cast<GifFrameRecord*>(::GlobalAlloc(GMEM_FIXED | GMEM_ZEROINIT, sizeof(GifFrameRecord) + pixelBytes));
    if (!record) {
        ::DeleteObject(palette);
        return NULL;
    }
    record->recordSize = sizeof(GifFrameRecord);
    record->left = image.left;
    record->top = image.top;
    record->width = image.width;
    record->height = image.height;
    record->stride = image.stride;
    record->transparent = image.transparent ? 1 : 0;
    record->transparentIndex = image.transparentIndex;
    record->delayMs = image.delayMs;
    record->disposal = image.disposal;
    record->pixelBytes = static_cast<uint32_t>(pixelBytes);
    record->colorCount = static_cast<uint32_t>(colors.size());
    record->palette = palette;
    record->pixels = reinterpret_cast<uint8_t*>(record + 1);
    memcpy(record->pixels, image.pixels.data(), pixelBytes);
    return record;
}

int CGifReader::ReadImage(int* left, int* top, int* width, int* height, HBITMAP* bitmap, BOOL* transparent,
                          COLORREF* transparentColor, HPALETTE* palette, int* disposal, int* delayMs)
{
    if (bitmap)
        *bitmap = NULL;
    if (palette)
        *palette = NULL;
    gifcore::Image image;
    const gifcore::ReadResult read = m_reader.ReadImage(image);
    if (read != gifcore::ReadResult::Image)
        return read == gifcore::ReadResult::NoMoreImages ? 2 : 0;

    std::vector<PALETTEENTRY> colors;
    HPALETTE imagePalette = CreateGifPalette(image.colors, &colors);
    if (!imagePalette)
        return 0;
    HBITMAP dib = CreateGifDib(image, colors);
    if (!dib) {
        ::DeleteObject(imagePalette);
        return 0;
    }

    if (left)
        *left = image.left;
    if (top)
        *top = image.top;
    if (width)
        *width = image.width;
    if (height)
        *height = image.height;
    if (transparent)
        *transparent = image.transparent ? TRUE : FALSE;
    if (transparentColor) {
        *transparentColor = 0;
        if (image.transparentIndex < colors.size()) {
            const PALETTEENTRY& e = colors[image.transparentIndex];
            *transparentColor = RGB(e.peRed, e.peGreen, e.peBlue);
        }
    }
    if (disposal)
        *disposal = image.disposal;
    if (delayMs)
        *delayMs = static_cast<int>(image.delayMs);
    if (bitmap)
        *bitmap = dib;
    else
        ::DeleteObject(dib);
    if (palette)
        *palette = imagePalette;
    else
        ::DeleteObject(imagePalette);

    m_current = std::move(image);
    m_currentColors.swap(colors);
    m_haveCurrent = true;
    return 1;
}

HBITMAP CGifReader::CreateCurrentDib() const
{
    return m_haveCurrent ? CreateGifDib(m_current, m_currentColors) : NULL;
}

void CGifReader::Rewind()
{
    m_reader.Rewind();
}

// ---- Decoding and loading ---------------------------------------------------------

HBITMAP DecodeGifPicture(const BYTE* data, DWORD size)
{
    if (!data || size < 6)
        return NULL;
    if (memcmp(data, "GIF87a", 6) == 0 || memcmp(data, "GIF89a", 6) == 0)
        return DecodeGif(data, size);
    if (data[0] == 'B' && data[1] == 'M')
        return DecodeBmp(data, size);
    return NULL;
}

BOOL ReadWholeFile(LPCSTR path, std::vector<BYTE>& bytes, DWORD maxBytes)
{
    bytes.clear();
    if (!path)
        return FALSE;
    HANDLE file = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    BOOL ok = FALSE;
    LARGE_INTEGER size;
    if (::GetFileSizeEx(file, &size) && size.QuadPart <= maxBytes) {
        try {
            bytes.resize(static_cast<size_t>(size.QuadPart));
            DWORD read = 0;
            ok = bytes.empty() || (::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, NULL) &&
                                   read == bytes.size());
        } catch (const std::bad_alloc&) {
            ok = FALSE;
        }
    }
    ::CloseHandle(file);
    if (!ok)
        bytes.clear();
    return ok;
}

HBITMAP LoadGifPicture(HMODULE module, LPCSTR name, LPCSTR type, WORD language)
{
    if (module) {
        HRSRC resource = ::FindResourceExA(module, type, name, language);
        if (!resource)
            return NULL;
        const DWORD size = ::SizeofResource(module, resource);
        HGLOBAL loaded = ::LoadResource(module, resource);
        const BYTE* bytes = loaded ? static_cast<const BYTE*>(::LockResource(loaded)) : NULL;
        return bytes ? DecodeGifPicture(bytes, size) : NULL;
    }
    std::vector<BYTE> bytes;
    if (!ReadWholeFile(name, bytes, kMaxPictureFileBytes))
        return NULL;
    return DecodeGifPicture(bytes.data(), static_cast<DWORD>(bytes.size()));
}
