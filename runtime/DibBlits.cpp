#include "DibBlits.h"

#include "Bitmaps.h"
#include "GdiScratch.h"
#include "StringFunctions.h"
#include "UtilityGdi.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using runtime_gdi::CSelectedBitmap;

static_assert(sizeof(BITMAPFILEHEADER) == 14, "BMP file header is 14 bytes");
static_assert(sizeof(BITMAPINFOHEADER) == 40, "bitmap info header is 40 bytes");

namespace {

const size_t kBmpFileHeaderSize = 14;
const DWORD kMaxWritePiece = 32768;
const LONG kMaxDibSide = 32768;

size_t RowBytes(LONG width, int bitsPerPixel)
{
    return ((static_cast<size_t>(width) * static_cast<size_t>(bitsPerPixel) + 31) / 32) * 4;
}

bool IsCoreHeader(const BITMAPINFOHEADER* header)
{
    return header->biSize == sizeof(BITMAPCOREHEADER);
}

// Bytes between the end of the header and the colour table: the three
// channel masks that follow a 40-byte header of a BI_BITFIELDS bitmap.
size_t MaskBytes(const BITMAPINFOHEADER* header)
{
    return !IsCoreHeader(header) && header->biSize == sizeof(BITMAPINFOHEADER) &&
                   header->biCompression == BI_BITFIELDS
               ? 3 * sizeof(DWORD)
               : 0;
}

bool WriteAll(HANDLE file, const BYTE* data, size_t size)
{
    while (size > 0) {
        const DWORD piece = size > kMaxWritePiece ? kMaxWritePiece : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, piece, &written, nullptr) || written != piece)
            return false;
        data += piece;
        size -= piece;
    }
    return true;
}

// Pixel order of a 32-bit DIB (0x00RRGGBB) for a COLORREF (0x00BBGGRR).
DWORD DibPixelOf(COLORREF colour)
{
    return (static_cast<DWORD>(GetRValue(colour)) << 16) | (static_cast<DWORD>(GetGValue(colour)) << 8) |
           GetBValue(colour);
}

BOOL BlendAreas(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int alpha,
                const COLORREF* key)
{
    if (width <= 0 || height <= 0)
        return TRUE;
    alpha = alpha < 0 ? 0 : (alpha > 256 ? 256 : alpha);
    void* sourceBits = nullptr;
    void* targetBits = nullptr;
    CSelectedBitmap sourceCopy(target, CreateDibSection32(target, width, height, &sourceBits), true);
    CSelectedBitmap targetCopy(target, CreateDibSection32(target, width, height, &targetBits), true);
    if (!sourceCopy.Ok() || !targetCopy.Ok())
        return FALSE;
    BitBlt(sourceCopy.Dc(), 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
    BitBlt(targetCopy.Dc(), 0, 0, width, height, target, x, y, SRCCOPY);
    GdiFlush();
    const DWORD* s = static_cast<const DWORD*>(sourceBits);
    DWORD* d = static_cast<DWORD*>(targetBits);
    const DWORD keyPixel = key ? DibPixelOf(*key) : 0;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    for (size_t i = 0; i < count; ++i) {
        if (key && (s[i] & 0x00FFFFFF) == keyPixel)
            continue;
        DWORD blended = 0;
        for (int shift = 0; shift < 32; shift += 8) {
            const DWORD sb = (s[i] >> shift) & 0xFF;
            const DWORD db = (d[i] >> shift) & 0xFF;
            blended |= (((sb * alpha + db * (256 - alpha)) >> 8) & 0xFF) << shift;
        }
        d[i] = blended;
    }
    BitBlt(target, x, y, width, height, targetCopy.Dc(), 0, 0, SRCCOPY);
    return TRUE;
}

}  // namespace

// ---- DIB sections and DIB blocks -----------------------------------------------------------

HBITMAP CreateDIBSectionOfDepth(int width, int height, int bitsPerPixel, void** bits)
{
    if (bits)
        *bits = nullptr;
    if (bitsPerPixel < 1 || bitsPerPixel > 32 || width <= 0 || height == 0)
        return NULL;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.header.biCompression = BI_RGB;
    if (bitsPerPixel <= 8) {
        const int count = 1 << bitsPerPixel;
        for (int i = 0; i < count; ++i) {
            const BYTE grey = static_cast<BYTE>(i * 255 / (count - 1));
            info.colours[i] = {grey, grey, grey, 0};
        }
        info.header.biClrUsed = static_cast<DWORD>(count);
    }
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(NULL, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &pixels, NULL, 0);
    if (!bitmap)
        return NULL;
    std::memset(pixels, 0, RowBytes(width, bitsPerPixel) * static_cast<size_t>(height < 0 ? -height : height));
    if (bits)
        *bits = pixels;
    return bitmap;
}

int GetDibColorCount(const BITMAPINFOHEADER* header)
{
    if (!header)
        return 0;
    const WORD bits = IsCoreHeader(header) ? reinterpret_cast<const BITMAPCOREHEADER*>(header)->bcBitCount
                                           : header->biBitCount;
    switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return IsCoreHeader(header) ? 0 : static_cast<int>(header->biClrUsed);
    }
}

int GetDibColorEntrySize(const BITMAPINFOHEADER* header)
{
    return header && IsCoreHeader(header) ? static_cast<int>(sizeof(RGBTRIPLE)) : static_cast<int>(sizeof(RGBQUAD));
}

HGLOBAL BitmapToGlobalDib(HBITMAP bitmap, HPALETTE palette)
{
    BITMAP description = {};
    if (!bitmap || !GetObject(bitmap, sizeof(description), &description))
        return NULL;
    int bits = description.bmPlanes * description.bmBitsPixel;
    bits = bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : bits <= 16 ? 16 : bits <= 24 ? 24 : 32;
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = description.bmWidth;
    header.biHeight = description.bmHeight;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(bits);
    header.biCompression = BI_RGB;
    const size_t imageBytes = RowBytes(header.biWidth, bits) * static_cast<size_t>(header.biHeight);
    header.biSizeImage = static_cast<DWORD>(imageBytes);
    const size_t tableBytes = static_cast<size_t>(GetDibColorCount(&header)) * sizeof(RGBQUAD);
    HGLOBAL block = GlobalAlloc(GHND, sizeof(header) + tableBytes + imageBytes);
    if (!block)
        return NULL;
    BYTE* dib = static_cast<BYTE*>(GlobalLock(block));
    std::memcpy(dib, &header, sizeof(header));
    HDC screen = GetDC(NULL);
    HPALETTE oldPalette = SelectPalette(
        screen, palette ? palette : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
    RealizePalette(screen);
    const int lines = GetDIBits(screen, bitmap, 0, static_cast<UINT>(header.biHeight), dib + sizeof(header) + tableBytes,
                                reinterpret_cast<BITMAPINFO*>(dib), DIB_RGB_COLORS);
    SelectPalette(screen, oldPalette, FALSE);
    ReleaseDC(NULL, screen);
    GlobalUnlock(block);
    if (lines != header.biHeight) {
        GlobalFree(block);
        return NULL;
    }
    return block;
}

BOOL SaveDibToFile(HGLOBAL dib, const char* path)
{
    if (!dib || !path)
        return FALSE;
    const SIZE_T size = GlobalSize(dib);
    const BYTE* block = static_cast<const BYTE*>(GlobalLock(dib));
    if (!block)
        return FALSE;
    const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(block);
    const bool headerFits = size >= sizeof(BITMAPCOREHEADER) && header->biSize >= sizeof(BITMAPCOREHEADER) &&
                            header->biSize <= size &&
                            (IsCoreHeader(header) || header->biSize >= sizeof(BITMAPINFOHEADER));
    const size_t tableBytes =
        headerFits ? MaskBytes(header) + static_cast<size_t>(GetDibColorCount(header)) * GetDibColorEntrySize(header)
                   : 0;
    if (!headerFits || header->biSize + tableBytes > size || size + kBmpFileHeaderSize > MAXDWORD) {
        GlobalUnlock(dib);
        return FALSE;
    }
    BITMAPFILEHEADER fileHeader = {};
    fileHeader.bfType = 0x4D42;   // "BM"
    fileHeader.bfSize = static_cast<DWORD>(size + kBmpFileHeaderSize);
    fileHeader.bfOffBits = static_cast<DWORD>(kBmpFileHeaderSize + header->biSize + tableBytes);

    const std::string temporary = std::string(path) + ".tmp";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    bool ok = file != INVALID_HANDLE_VALUE;
    if (ok) {
        ok = WriteAll(file, reinterpret_cast<const BYTE*>(&fileHeader), sizeof(fileHeader)) &&
             WriteAll(file, block, size);
        CloseHandle(file);
        ok = ok && MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING);
        if (!ok)
            DeleteFileA(temporary.c_str());
    }
    GlobalUnlock(dib);
    return ok;
}

BOOL CopyBitmapRect(HBITMAP target, const RECT& targetRect, HBITMAP source, const RECT& sourceRect,
                    HPALETTE palette)
{
    HDC screen = GetDC(NULL);
    const bool usesPalette = palette && (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE);
    BOOL copied = FALSE;
    {
        CSelectedBitmap to(screen, target, false);
        CSelectedBitmap from(screen, source, false);
        if (to.Ok() && from.Ok()) {
            HPALETTE oldTo = NULL;
            HPALETTE oldFrom = NULL;
            if (usesPalette) {
                oldTo = SelectPalette(to.Dc(), palette, FALSE);
                RealizePalette(to.Dc());
                oldFrom = SelectPalette(from.Dc(), palette, FALSE);
                RealizePalette(from.Dc());
            }
            const int tw = targetRect.right - targetRect.left;
            const int th = targetRect.bottom - targetRect.top;
            const int sw = sourceRect.right - sourceRect.left;
            const int sh = sourceRect.bottom - sourceRect.top;
            if (tw == sw && th == sh) {
                copied = BitBlt(to.Dc(), targetRect.left, targetRect.top, tw, th, from.Dc(), sourceRect.left,
                                sourceRect.top, SRCCOPY);
            } else {
                SetStretchBltMode(to.Dc(), HALFTONE);
                SetBrushOrgEx(to.Dc(), 0, 0, nullptr);
                copied = StretchBlt(to.Dc(), targetRect.left, targetRect.top, tw, th, from.Dc(), sourceRect.left,
                                    sourceRect.top, sw, sh, SRCCOPY);
            }
            if (usesPalette) {
                SelectPalette(to.Dc(), oldTo, FALSE);
                SelectPalette(from.Dc(), oldFrom, FALSE);
            }
        }
    }
    ReleaseDC(NULL, screen);
    return copied;
}

HIMAGELIST BitmapToImageList(HBITMAP bitmap, int imageWidth, COLORREF key)
{
    const SIZE size = GetBitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0 || imageWidth <= 0)
        return NULL;
    const int count = size.cx / imageWidth > 0 ? size.cx / imageWidth : 1;
    HIMAGELIST list = ImageList_Create(imageWidth, size.cy, ILC_COLOR8 | ILC_MASK, count, 0);
    if (!list)
        return NULL;
    // Adding a masked bitmap blackens its key pixels: work on a copy.
    HBITMAP copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
    const int added = copy ? ImageList_AddMasked(list, copy, key) : -1;
    if (copy)
        DeleteObject(copy);
    if (added < 0) {
        ImageList_Destroy(list);
        return NULL;
    }
    return list;
}

// ---- Loading -------------------------------------------------------------------------------

HBITMAP LoadBitmapFromFile(const char* path)
{
    return path ? static_cast<HBITMAP>(LoadImageA(NULL, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)) : NULL;
}

HCURSOR LoadAnimatedCursor(HMODULE module, LPCSTR name)
{
    HRSRC resource = FindResourceA(module, name, "ANICURSORS");
    if (!resource)
        return NULL;
    const DWORD size = SizeofResource(module, resource);
    HGLOBAL loaded = LoadResource(module, resource);
    BYTE* data = loaded ? static_cast<BYTE*>(LockResource(loaded)) : nullptr;
    if (!data || size == 0)
        return NULL;
    return reinterpret_cast<HCURSOR>(CreateIconFromResource(data, size, FALSE, 0x00030000));
}

HBITMAP LoadBmpToDibSection(const void* data, size_t size)
{
    const BYTE* bytes = static_cast<const BYTE*>(data);
    if (!bytes)
        return NULL;
    if ((size >= 4 && std::memcmp(bytes, "GIF8", 4) == 0) ||
        (size >= 8 && std::memcmp(bytes, "\x89PNG\r\n\x1A\n", 8) == 0))
        return NULL;
    if (size < kBmpFileHeaderSize + sizeof(BITMAPINFOHEADER) || bytes[0] != 'B' || bytes[1] != 'M')
        return NULL;
    BITMAPFILEHEADER fileHeader;
    BITMAPINFOHEADER header;
    std::memcpy(&fileHeader, bytes, sizeof(fileHeader));
    std::memcpy(&header, bytes + kBmpFileHeaderSize, sizeof(header));
    if (fileHeader.bfSize != size)
        return NULL;

    // Everything the pixels are read by must lie inside the data.
    const WORD bits = header.biBitCount;
    const bool knownDepth = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const bool knownCompression =
        header.biCompression == BI_RGB || (header.biCompression == BI_BITFIELDS && (bits == 16 || bits == 32));
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biSize > size - kBmpFileHeaderSize || !knownDepth ||
        !knownCompression || header.biPlanes != 1 || header.biWidth <= 0 || header.biWidth > kMaxDibSide ||
        header.biHeight == 0 || header.biHeight > kMaxDibSide || header.biHeight < -kMaxDibSide)
        return NULL;
    const DWORD maxColours = bits <= 8 ? (1u << bits) : 256u;
    const DWORD colours = header.biClrUsed ? header.biClrUsed : (bits <= 8 ? (1u << bits) : 0u);
    if (colours > maxColours)
        return NULL;
    const bool bitfields = header.biCompression == BI_BITFIELDS;
    const size_t masksInFile = MaskBytes(&header);
    const size_t tableStart = kBmpFileHeaderSize + header.biSize + masksInFile;
    const size_t tableEnd = tableStart + static_cast<size_t>(colours) * sizeof(RGBQUAD);
    const size_t rows = static_cast<size_t>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
    const uint64_t imageBytes = static_cast<uint64_t>(RowBytes(header.biWidth, bits)) * rows;
    if (bitfields && header.biSize < sizeof(BITMAPINFOHEADER) + 3 * sizeof(DWORD) && masksInFile == 0)
        return NULL;
    if (tableEnd > size || fileHeader.bfOffBits < tableEnd || fileHeader.bfOffBits > size ||
        imageBytes > size - fileHeader.bfOffBits)
        return NULL;

    // A BITMAPINFO with the 40-byte header, the masks and the colour table.
    std::vector<BYTE> info(sizeof(BITMAPINFOHEADER) + 3 * sizeof(DWORD) + 256 * sizeof(RGBQUAD), 0);
    BITMAPINFOHEADER* infoHeader = reinterpret_cast<BITMAPINFOHEADER*>(info.data());
    *infoHeader = header;
    infoHeader->biSize = sizeof(BITMAPINFOHEADER);
    infoHeader->biSizeImage = 0;
    infoHeader->biClrUsed = colours;
    size_t at = sizeof(BITMAPINFOHEADER);
    if (bitfields) {
        // The masks follow a 40-byte header, or sit inside a larger one.
        std::memcpy(&info[at], bytes + kBmpFileHeaderSize + sizeof(BITMAPINFOHEADER), 3 * sizeof(DWORD));
        at += 3 * sizeof(DWORD);
    }
    std::memcpy(&info[at], bytes + tableStart, static_cast<size_t>(colours) * sizeof(RGBQUAD));
    void* pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(NULL, reinterpret_cast<BITMAPINFO*>(info.data()), DIB_RGB_COLORS, &pixels,
                                      NULL, 0);
    if (!bitmap)
        return NULL;
    std::memcpy(pixels, bytes + fileHeader.bfOffBits, static_cast<size_t>(imageBytes));
    return bitmap;
}

BYTE* LoadBmpResourceOrFile(HMODULE module, LPCSTR type, LPCSTR name, WORD language, const char* path,
                            DWORD* size)
{
    if (size)
        *size = 0;
    if (path) {
        HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return nullptr;
        LARGE_INTEGER length = {};
        BYTE* data = nullptr;
        DWORD got = 0;
        if (GetFileSizeEx(file, &length) && length.QuadPart > 0 && length.QuadPart <= kMaxBmpFileSize) {
            data = static_cast<BYTE*>(std::malloc(static_cast<size_t>(length.QuadPart)));
            if (data && (!ReadFile(file, data, static_cast<DWORD>(length.QuadPart), &got, nullptr) ||
                         got != static_cast<DWORD>(length.QuadPart))) {
                std::free(data);
                data = nullptr;
            }
        }
        CloseHandle(file);
        if (data && size)
            *size = got;
        return data;
    }
    HRSRC resource = FindResourceExA(module, type, name, language);
    if (!resource)
        return nullptr;
    const DWORD length = SizeofResource(module, resource);
    HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || length == 0)
        return nullptr;
    BYTE* data = static_cast<BYTE*>(std::malloc(length));
    if (!data)
        return nullptr;
    std::memcpy(data, bytes, length);
    if (size)
        *size = length;
    return data;
}

int LoadResourceString(HMODULE module, UINT id, char* out, int size)
{
    if (!out || size <= 0)
        return 0;
    char text[1025] = {};
    LoadStringA(module, id, text, sizeof(text));
    const size_t length = CharBoundaryAtOrBefore(text, static_cast<size_t>(size) - 1);
    std::memcpy(out, text, length);
    out[length] = 0;
    return static_cast<int>(length);
}

const void* LoadDialogResourceBytes(HMODULE module, LPCSTR name, DWORD* size)
{
    if (size)
        *size = 0;
    HRSRC resource = FindResourceA(module, name, MAKEINTRESOURCEA(5));   // RT_DIALOG
    if (!resource)
        return nullptr;
    HGLOBAL loaded = LoadResource(module, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes && size)
        *size = SizeofResource(module, resource);
    return bytes;
}

// ---- Drawing -------------------------------------------------------------------------------

BOOL DrawBitmapAt(HDC target, const RECT& rect, HBITMAP bitmap, POINT source)
{
    return BlitBitmap(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, bitmap, source.x,
                      source.y, SRCCOPY);
}

BOOL StretchBitmapAt(HDC target, const RECT& rect, HBITMAP bitmap, const RECT& source, BOOL halftone)
{
    CSelectedBitmap from(target, bitmap, false);
    if (!from.Ok())
        return FALSE;
    int oldMode = 0;
    if (halftone) {
        oldMode = SetStretchBltMode(target, HALFTONE);
        SetBrushOrgEx(target, 0, 0, nullptr);
    }
    const BOOL drawn = StretchBlt(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                                  from.Dc(), source.left, source.top, source.right - source.left,
                                  source.bottom - source.top, SRCCOPY);
    if (halftone)
        SetStretchBltMode(target, oldMode);
    return drawn;
}

BOOL DrawDisabledBitmap(HDC target, int x, int y, HBITMAP bitmap)
{
    const SIZE size = GetBitmapSize(bitmap);
    if (size.cx <= 0 || size.cy <= 0)
        return FALSE;
    CSelectedBitmap source(target, bitmap, false);
    CSelectedBitmap mask(target, CreateBitmap(size.cx, size.cy, 1, 1, nullptr), true);
    CSelectedBitmap grey(target, CreateCompatibleBitmap(target, size.cx, size.cy), true);
    if (!source.Ok() || !mask.Ok() || !grey.Ok())
        return FALSE;
    // Mask: background pixels white, the drawing black.
    const COLORREF oldBack = SetBkColor(source.Dc(), GetPixel(source.Dc(), 0, 0));
    BitBlt(mask.Dc(), 0, 0, size.cx, size.cy, source.Dc(), 0, 0, SRCCOPY);
    SetBkColor(source.Dc(), oldBack);
    // Grey where the drawing is, black elsewhere.
    HBRUSH brush = CreateSolidBrush(RGB(0x7F, 0x7F, 0x7F));
    RECT all = {0, 0, size.cx, size.cy};
    FillRect(grey.Dc(), &all, brush);
    DeleteObject(brush);
    SetBkColor(grey.Dc(), RGB(0, 0, 0));
    SetTextColor(grey.Dc(), RGB(255, 255, 255));
    BitBlt(grey.Dc(), 0, 0, size.cx, size.cy, mask.Dc(), 0, 0, SRCAND);
    const COLORREF targetBack = SetBkColor(target, RGB(255, 255, 255));
    const COLORREF targetText = SetTextColor(target, RGB(0, 0, 0));
    BitBlt(target, x, y, size.cx, size.cy, mask.Dc(), 0, 0, SRCAND);
    BitBlt(target, x, y, size.cx, size.cy, grey.Dc(), 0, 0, SRCPAINT);
    SetBkColor(target, targetBack);
    SetTextColor(target, targetText);
    return TRUE;
}

BOOL DrawMaskedBitmap(HDC target, int x, int y, int width, int height, HBITMAP bitmap, int sourceX, int sourceY,
                      int sourceWidth, int sourceHeight, COLORREF key, int mode)
{
    if (mode == 2)
        return DrawTransparentBitmap(target, x, y, width, height, bitmap, sourceX, sourceY, sourceWidth,
                                     sourceHeight, key);
    if (mode != 1)
        return FALSE;
    CSelectedBitmap source(target, bitmap, false);
    if (!source.Ok())
        return FALSE;
    return TransparentBlit(target, x, y, width, height, source.Dc(), sourceX, sourceY, sourceWidth, sourceHeight,
                           key);
}

BOOL DrawTransparentFromDC(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                           int sourceWidth, int sourceHeight, COLORREF key)
{
    if (sourceWidth == width && sourceHeight == height)
        return KeyedCopy(target, x, y, width, height, source, sourceX, sourceY, key);
    if (width <= 0 || height <= 0)
        return TRUE;
    CSelectedBitmap stretched(target, CreateCompatibleBitmap(target, width, height), true);
    if (!stretched.Ok())
        return FALSE;
    SetStretchBltMode(stretched.Dc(), COLORONCOLOR);
    StretchBlt(stretched.Dc(), 0, 0, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, SRCCOPY);
    return KeyedCopy(target, x, y, width, height, stretched.Dc(), 0, 0, key);
}

BOOL DrawTransparentBitmap(HDC target, int x, int y, int width, int height, HBITMAP bitmap, int sourceX,
                           int sourceY, int sourceWidth, int sourceHeight, COLORREF key)
{
    CSelectedBitmap source(target, bitmap, false);
    if (!source.Ok())
        return FALSE;
    return DrawTransparentFromDC(target, x, y, width, height, source.Dc(), sourceX, sourceY, sourceWidth,
                                 sourceHeight, key);
}

BOOL DrawTransparentBitmapKeyAt(HDC target, int x, int y, int width, int height, HBITMAP bitmap, int sourceX,
                                int sourceY, int sourceWidth, int sourceHeight, int keyX, int keyY)
{
    CSelectedBitmap source(target, bitmap, false);
    if (!source.Ok())
        return FALSE;
    const COLORREF key = GetPixel(source.Dc(), keyX, keyY);
    return DrawTransparentFromDC(target, x, y, width, height, source.Dc(), sourceX, sourceY, sourceWidth,
                                 sourceHeight, key);
}

SIZE GetBitmapSize(HBITMAP bitmap)
{
    BITMAP description = {};
    if (!bitmap || !GetObject(bitmap, sizeof(description), &description))
        return SIZE{0, 0};
    return SIZE{description.bmWidth, description.bmHeight};
}

BOOL AlphaBlendBlit(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                    int alpha)
{
    return BlendAreas(target, x, y, width, height, source, sourceX, sourceY, alpha, nullptr);
}

BOOL AlphaBlendBlit(HDC target, const RECT& rect, HDC source, POINT sourcePoint, int alpha)
{
    return BlendAreas(target, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source,
                      sourcePoint.x, sourcePoint.y, alpha, nullptr);
}

BOOL AlphaBlendBlitKeyed(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                         int alpha, COLORREF key)
{
    return BlendAreas(target, x, y, width, height, source, sourceX, sourceY, alpha, &key);
}

// ---- Clipboard -----------------------------------------------------------------------------

HBITMAP GetClipboardBitmap(HWND owner)
{
    if (!OpenClipboard(owner))
        return NULL;
    HANDLE held = GetClipboardData(CF_BITMAP);
    HBITMAP copy = held ? static_cast<HBITMAP>(CopyImage(held, IMAGE_BITMAP, 0, 0, 0)) : NULL;
    CloseClipboard();
    return copy;
}

BOOL SetClipboardBitmap(HWND owner, HBITMAP bitmap)
{
    if (!bitmap)
        return FALSE;
    HBITMAP copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
    if (!copy)
        return FALSE;
    if (!OpenClipboard(owner)) {
        DeleteObject(copy);
        return FALSE;
    }
    EmptyClipboard();
    const bool placed = SetClipboardData(CF_BITMAP, copy) != NULL;   // the clipboard owns it now
    CloseClipboard();
    if (!placed)
        DeleteObject(copy);
    return placed;
}
