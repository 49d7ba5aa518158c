// REVUVIVA.dll stand-in: GIF frames through our own GIF decoder, TGA pictures
// through TgaDecoder.
#include "revuviva.h"

#include <stddef.h>
#include <string.h>

#include <mutex>
#include <new>
#include <unordered_set>
#include <vector>

#include "GifPicture.h"
#include "TgaDecoder.h"

static_assert(sizeof(REVUVIVA_FRAME) == sizeof(GifFrameRecord), "the frame record is the decoder's");
static_assert(offsetof(REVUVIVA_FRAME, palette) == offsetof(GifFrameRecord, palette), "frame record layout");
static_assert(offsetof(REVUVIVA_FRAME, pixels) == offsetof(GifFrameRecord, pixels), "frame record layout");
static_assert(offsetof(REVUVIVA_FRAME, colorCount) == offsetof(GifFrameRecord, colorCount), "frame record layout");
#ifndef _WIN64
static_assert(sizeof(REVUVIVA_FRAME) == 56, "56 bytes in a 32-bit process");
#endif

struct RevuvivaGif
{
    CGifReader reader;
    COLORREF background = 0;  // plain RGB
};

struct RevuvivaTga
{
    tga::Picture picture;
};

namespace {

constexpr DWORD kMaxFileBytes = 128u << 20;

// Open handles. Every entry runs under the lock, so a handle closed on one
// thread is never used on another.
std::mutex g_lock;
std::unordered_set<const void*> g_handles;

bool Known(const void* handle) { return handle && g_handles.count(handle) != 0; }

template <typename T>
T* Register(T* object)
{
    try {
        g_handles.insert(object);
    } catch (const std::bad_alloc&) {
        delete object;
        return nullptr;
    }
    return object;
}

// Forgets and deletes an open handle; FALSE for one not known.
template <typename T>
BOOL Close(T* object)
{
    std::lock_guard<std::mutex> lock(g_lock);
    if (!Known(object))
        return FALSE;
    g_handles.erase(object);
    delete object;
    return TRUE;
}

HGIFIMAGE OpenGif(const BYTE* data, DWORD size, BOOL headerPresent)
{
    RevuvivaGif* gif = new (std::nothrow) RevuvivaGif;
    if (!gif)
        return NULL;
    COLORREF background = 0;
    if (gif->reader.OpenMemory(data, size, headerPresent) != 0 ||
        !gif->reader.GetScreenInfo(NULL, NULL, &background)) {
        delete gif;
        return NULL;
    }
    gif->background = background & 0x00FFFFFF;
    return Register(gif);
}

HTGAIMAGE OpenTga(const BYTE* data, DWORD size)
{
    RevuvivaTga* picture = new (std::nothrow) RevuvivaTga;
    if (!picture)
        return NULL;
    if (!tga::Decode(data, size, picture->picture)) {
        delete picture;
        return NULL;
    }
    return Register(picture);
}

// Gives the transparent index of an 8-bit DIB section the colour `colour`.
void RecolourIndex(HBITMAP dib, int index, COLORREF colour)
{
    HDC dc = ::CreateCompatibleDC(NULL);
    if (!dc)
        return;
    HGDIOBJ old = ::SelectObject(dc, dib);
    const RGBQUAD entry = {GetBValue(colour), GetGValue(colour), GetRValue(colour), 0};
    ::SetDIBColorTable(dc, index, 1, &entry);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
}

template <typename T>
void Zero(T* p)
{
    if (p)
        *p = T();
}

}  // namespace

// ---- GIF ------------------------------------------------------------------------------

extern "C" {

REVUVIVA_FRAME* WINAPI GetNextRawFrameData(HGIFIMAGE gif)
{
    std::lock_guard<std::mutex> lock(g_lock);
    if (!Known(gif))
        return NULL;
    return reinterpret_cast<REVUVIVA_FRAME*>(gif->reader.NextImage());
}

BOOL WINAPI GetGlobalColorIndexData(HGIFIMAGE gif, BYTE* rgb, DWORD size)
{
    std::lock_guard<std::mutex> lock(g_lock);
    return Known(gif) && gif->reader.CopyGlobalColorTable(rgb, size);
}

int WINAPI GetGlobalColorIndexTotal(HGIFIMAGE gif, int* backgroundIndex)
{
    std::lock_guard<std::mutex> lock(g_lock);
    if (!Known(gif)) {
        Zero(backgroundIndex);
        return 0;
    }
    return gif->reader.GetGlobalColorInfo(backgroundIndex);
}

BOOL WINAPI GetNextImage(HGIFIMAGE gif, int* x, int* y, int* width, int* height, HBITMAP* bitmap, BOOL* transparent,
                         int* transparentIndex, HPALETTE* palette, int* disposal, int* delayMs)
{
    Zero(x), Zero(y), Zero(width), Zero(height), Zero(bitmap), Zero(transparent), Zero(transparentIndex);
    Zero(palette), Zero(disposal), Zero(delayMs);
    std::lock_guard<std::mutex> lock(g_lock);
    if (!Known(gif))
        return FALSE;
    // The reader fills the plain outputs (and deletes a palette not asked
    // for) only when it produces a frame; the bitmap is recoloured first.
    HBITMAP dib = NULL;
    BOOL isTransparent = FALSE;
    if (gif->reader.ReadImage(x, y, width, height, &dib, &isTransparent, NULL, palette, disposal, delayMs) != 1)
        return FALSE;
    const int index = gif->reader.CurrentImage().transparentIndex;
    if (isTransparent && index < static_cast<int>(gif->reader.CurrentColors().size()))
        RecolourIndex(dib, index, gif->background);

    if (transparent)
        *transparent = isTransparent;
    if (transparentIndex)
        *transparentIndex = index;
    if (bitmap)
        *bitmap = dib;
    else
        ::DeleteObject(dib);
    return TRUE;
}

BOOL WINAPI GetImageSize(HGIFIMAGE gif, int* width, int* height, COLORREF* background)
{
    std::lock_guard<std::mutex> lock(g_lock);
    if (!Known(gif)) {
        Zero(width), Zero(height), Zero(background);
        return FALSE;
    }
    gif->reader.GetScreenInfo(width, height, NULL);
    if (background)
        *background = gif->background;
    return TRUE;
}

BOOL WINAPI CloseGifHandle(HGIFIMAGE gif)
{
    return Close(gif);
}

HGIFIMAGE WINAPI LoadGifFromMem(const BYTE* data, DWORD size, BOOL headerPresent)
{
    std::lock_guard<std::mutex> lock(g_lock);
    return data ? OpenGif(data, size, headerPresent) : NULL;
}

HGIFIMAGE WINAPI LoadGifFile(const char* path)
{
    std::vector<BYTE> bytes;
    if (!ReadWholeFile(path, bytes, kMaxFileBytes) || bytes.empty())
        return NULL;
    std::lock_guard<std::mutex> lock(g_lock);
    return OpenGif(bytes.data(), static_cast<DWORD>(bytes.size()), TRUE);
}

BOOL WINAPI Reset(HGIFIMAGE gif)
{
    std::lock_guard<std::mutex> lock(g_lock);
    if (!Known(gif))
        return FALSE;
    gif->reader.Rewind();
    return TRUE;
}

HBITMAP WINAPI CreateCurrentBmp(HGIFIMAGE gif)
{
    std::lock_guard<std::mutex> lock(g_lock);
    if (!Known(gif))
        return NULL;
    HBITMAP dib = gif->reader.CreateCurrentDib();
    const gifcore::Image& image = gif->reader.CurrentImage();
    if (dib && image.transparent && image.transparentIndex < gif->reader.CurrentColors().size())
        RecolourIndex(dib, image.transparentIndex, gif->background);
    return dib;
}

// ---- TGA ------------------------------------------------------------------------------

HTGAIMAGE WINAPI LoadTGAFile(const char* path)
{
    std::vector<BYTE> bytes;
    if (!ReadWholeFile(path, bytes, kMaxFileBytes) || bytes.empty())
        return NULL;
    std::lock_guard<std::mutex> lock(g_lock);
    return OpenTga(bytes.data(), static_cast<DWORD>(bytes.size()));
}

HTGAIMAGE WINAPI LoadTgaFromMem(const BYTE* data, DWORD size)
{
    std::lock_guard<std::mutex> lock(g_lock);
    return data ? OpenTga(data, size) : NULL;
}

HBITMAP WINAPI CreateBitmapFromTGA(HTGAIMAGE picture)
{
    std::lock_guard<std::mutex> lock(g_lock);
    if (!Known(picture))
        return NULL;
    const tga::Picture& p = picture->picture;
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = NULL;
    HBITMAP dib = ::CreateDIBSection(NULL, &info, DIB_RGB_COLORS, &bits, NULL, 0);
    if (dib && !bits) {
        ::DeleteObject(dib);
        return NULL;
    }
    if (dib)
        memcpy(bits, p.bgra.data(), p.bgra.size());
    return dib;
}

BOOL WINAPI CloseTGAHandle(HTGAIMAGE picture)
{
    return Close(picture);
}

int WINAPI GetTgaWidth(HTGAIMAGE picture)
{
    std::lock_guard<std::mutex> lock(g_lock);
    return Known(picture) ? picture->picture.width : 0;
}

int WINAPI GetTgaHeight(HTGAIMAGE picture)
{
    std::lock_guard<std::mutex> lock(g_lock);
    return Known(picture) ? picture->picture.height : 0;
}

int WINAPI GetTgaPalNum(HTGAIMAGE picture)
{
    std::lock_guard<std::mutex> lock(g_lock);
    return Known(picture) ? static_cast<int>(picture->picture.paletteBgra.size() / 4) : 0;
}

int WINAPI GetTgaPixelDepth(HTGAIMAGE picture)
{
    std::lock_guard<std::mutex> lock(g_lock);
    return Known(picture) ? picture->picture.pixelDepth : 0;
}

const BYTE* WINAPI GetTgaGetImageData(HTGAIMAGE picture)
{
    std::lock_guard<std::mutex> lock(g_lock);
    return Known(picture) ? picture->picture.bgra.data() : NULL;
}

const BYTE* WINAPI GetTgaGetImagePalData(HTGAIMAGE picture)
{
    std::lock_guard<std::mutex> lock(g_lock);
    return Known(picture) && !picture->picture.paletteBgra.empty() ? picture->picture.paletteBgra.data() : NULL;
}

const BYTE* WINAPI GetTgaGetImageAlphaData(HTGAIMAGE picture)
{
    std::lock_guard<std::mutex> lock(g_lock);
    return Known(picture) && picture->picture.hasAlpha ? picture->picture.alpha.data() : NULL;
}

}  // extern "C"
