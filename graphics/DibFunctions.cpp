// DibFunctions.cpp - packed DIBs, .bmp files, the clipboard, bitmap copies
// and plain, stretched and masked bitmap drawing.
#include "DibFunctions.h"

#include "BmpFormat.h"
#include "GdiHelpers.h"
#include "QVMemBitmap.h"

#include <stdlib.h>
#include <string.h>

#include <string>

using gfxgdi::BitmapDC;
using gfxgdi::GdiObjectHolder;
using gfxgdi::ScreenDC;

namespace {

// The head of a .bmp file that the check needs: the file header, the
// largest info header, masks and a full colour table.
const DWORD kBmpHeadBytes = 14 + 124 + 12 + 256 * 4;

bool BitmapSize(HBITMAP bitmap, int& width, int& height)
{
    BITMAP bm;
    if (!bitmap || GetObject(bitmap, sizeof bm, &bm) == 0)
        return false;
    width = bm.bmWidth;
    height = bm.bmHeight < 0 ? -bm.bmHeight : bm.bmHeight;
    return true;
}

// A global block locked for as long as the object lives.
class LockedGlobal
{
public:
    explicit LockedGlobal(HGLOBAL block) : m_block(block), m_data(block ? GlobalLock(block) : NULL) {}
    ~LockedGlobal()
    {
        if (m_data)
            GlobalUnlock(m_block);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    BYTE* Data() const { return static_cast<BYTE*>(m_data); }

private:
    HGLOBAL m_block;
    void* m_data;
};

// Bytes of a packed DIB up to its pixels: header, masks and colour table.
// 0 when the header does not fit the block.
SIZE_T PixelOffset(const BYTE* dib, SIZE_T blockSize)
{
    if (blockSize < sizeof(BITMAPCOREHEADER))
        return 0;
    const BITMAPINFOHEADER* info = reinterpret_cast<const BITMAPINFOHEADER*>(dib);
    if (info->biSize != sizeof(BITMAPCOREHEADER) && (info->biSize < sizeof(BITMAPINFOHEADER) || info->biSize > 124))
        return 0;
    if (info->biSize > blockSize)
        return 0;
    SIZE_T offset = info->biSize;
    if (info->biSize == sizeof(BITMAPINFOHEADER) && info->biCompression == BI_BITFIELDS)
        offset += 3 * sizeof(DWORD);
    const UINT colours = CQVMemBitmap::DibNumColors(info);
    if (colours > 256)
        return 0;
    offset += CQVMemBitmap::DibPaletteSize(info);
    return offset <= blockSize ? offset : 0;
}

// Bytes of the packed DIB: header, colours and pixels as its header gives
// them, when they fit the block; the whole block when the header does not
// say (compressed pictures without a size); 0 for headers that claim more
// than the block holds.
SIZE_T PackedSize(const BYTE* dib, SIZE_T blockSize, SIZE_T pixelOffset)
{
    const BITMAPINFOHEADER* info = reinterpret_cast<const BITMAPINFOHEADER*>(dib);
    unsigned long long pixels = 0;
    if (info->biSize == sizeof(BITMAPCOREHEADER)) {
        const BITMAPCOREHEADER* core = reinterpret_cast<const BITMAPCOREHEADER*>(dib);
        pixels = bmpfmt::RowBytes(core->bcWidth, core->bcBitCount) * core->bcHeight;
    } else if (info->biSizeImage) {
        pixels = info->biSizeImage;
    } else if (info->biCompression == BI_RGB || info->biCompression == BI_BITFIELDS) {
        const long long rows = info->biHeight < 0 ? -static_cast<long long>(info->biHeight) : info->biHeight;
        pixels = bmpfmt::RowBytes(info->biWidth < 0 ? 0 : info->biWidth, info->biBitCount) * rows;
    } else {
        return blockSize;
    }
    const unsigned long long total = pixelOffset + pixels;
    return total <= blockSize ? static_cast<SIZE_T>(total) : 0;
}

bool WriteAll(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return WriteFile(file, data, size, &written, NULL) && written == size;
}

// A window of our own to own the clipboard while data is put on it.
HWND MakeClipboardOwner()
{
    return CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, NULL, GetModuleHandle(NULL), NULL);
}

}  // namespace

namespace gfxgdi {

bool IsSoundBmpFile(LPCTSTR path)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size;
    BYTE head[kBmpHeadBytes];
    DWORD got = 0;
    const bool read = GetFileSizeEx(file, &size) && ReadFile(file, head, sizeof head, &got, NULL);
    CloseHandle(file);
    return read && bmpfmt::CheckFile(head, got, static_cast<uint64_t>(size.QuadPart), NULL) == bmpfmt::Check::Ok;
}

}  // namespace gfxgdi

// ---- Packed DIBs and .bmp files ----------------------------------------------------------------

HGLOBAL BitmapToGlobalDib(HBITMAP bitmap, DWORD compression, HPALETTE palette)
{
    BITMAP bm;
    if (!bitmap || compression == BI_BITFIELDS || GetObject(bitmap, sizeof bm, &bm) == 0)
        return NULL;
    if (!palette)
        palette = static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));

    BITMAPINFOHEADER bi;
    memset(&bi, 0, sizeof bi);
    bi.biSize = sizeof bi;
    bi.biWidth = bm.bmWidth;
    bi.biHeight = bm.bmHeight;
    bi.biPlanes = 1;
    bi.biBitCount = static_cast<WORD>(bm.bmPlanes * bm.bmBitsPixel);
    bi.biCompression = compression;
    const DWORD colours = bi.biBitCount <= 8 ? 1u << bi.biBitCount : 0;
    const SIZE_T headerBytes = sizeof bi + colours * sizeof(RGBQUAD);

    ScreenDC screen;
    if (!screen.Get())
        return NULL;
    HPALETTE oldPalette = SelectPalette(screen, palette, TRUE);
    RealizePalette(screen);

    HGLOBAL result = NULL;
    // Room for three masks beyond the colours, should GDI write them.
    HGLOBAL block = GlobalAlloc(GMEM_FIXED, headerBytes + 3 * sizeof(DWORD));
    if (block) {
        memcpy(block, &bi, sizeof bi);
        BITMAPINFO* info = static_cast<BITMAPINFO*>(block);
        if (GetDIBits(screen, bitmap, 0, static_cast<UINT>(bi.biHeight), NULL, info, DIB_RGB_COLORS)) {
            DWORD imageBytes = info->bmiHeader.biSizeImage;
            if (imageBytes == 0) {
                imageBytes = ((static_cast<DWORD>(bi.biBitCount) * bi.biWidth + 31) & ~31u) / 8 * bi.biHeight;
                if (compression != BI_RGB)
                    imageBytes = imageBytes * 3 / 2;
            }
            HGLOBAL grown = GlobalReAlloc(block, headerBytes + imageBytes, GMEM_MOVEABLE);
            if (grown) {
                block = grown;
                LockedGlobal locked(block);
                BITMAPINFO* header = reinterpret_cast<BITMAPINFO*>(locked.Data());
                if (header && GetDIBits(screen, bitmap, 0, static_cast<UINT>(bi.biHeight),
                                        locked.Data() + headerBytes, header, DIB_RGB_COLORS) == bi.biHeight)
                    result = block;
            }
        }
        if (!result)
            GlobalFree(block);
    }
    SelectPalette(screen, oldPalette, TRUE);
    return result;
}

DWORD WriteHuge(HANDLE file, const void* data, DWORD size)
{
    if (file == NULL || file == INVALID_HANDLE_VALUE || (!data && size))
        return 0;
    return bmpfmt::WriteInPieces(static_cast<const uint8_t*>(data), size, [file](const uint8_t* p, uint32_t n) {
        DWORD written = 0;
        return WriteFile(file, p, n, &written, NULL) ? static_cast<uint32_t>(written) : 0u;
    });
}

BOOL WriteDibFile(LPCTSTR path, HGLOBAL dib)
{
    if (!path || !*path || !dib)
        return FALSE;
    const SIZE_T blockSize = GlobalSize(dib);
    LockedGlobal locked(dib);
    const BYTE* data = locked.Data();
    if (!data)
        return FALSE;
    const SIZE_T pixelOffset = PixelOffset(data, blockSize);
    const SIZE_T dibSize = pixelOffset ? PackedSize(data, blockSize, pixelOffset) : 0;
    if (!dibSize || dibSize > 0x7FFFFFF0u)
        return FALSE;
    const bmpfmt::FileHeader header =
        bmpfmt::MakeFileHeader(static_cast<uint32_t>(dibSize), static_cast<uint32_t>(pixelOffset));

    // Written beside the target and moved into place when complete.
    const std::string temporary = std::string(path) + ".tmp";
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE)
        return FALSE;
    const BYTE* h = reinterpret_cast<const BYTE*>(&header);
    bool ok = WriteAll(file, h, 2) && WriteAll(file, h + 2, 12) &&
              WriteHuge(file, data, static_cast<DWORD>(dibSize)) == dibSize;
    ok = CloseHandle(file) && ok;
    if (ok)
        ok = MoveFileExA(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    if (!ok)
        DeleteFileA(temporary.c_str());
    return ok;
}

void FreeGlobal(HGLOBAL block)
{
    if (block)
        GlobalFree(block);
}

BOOL GetBitmapDimensions(HBITMAP bitmap, int* width, int* height)
{
    int w = 0, h = 0;
    if (!BitmapSize(bitmap, w, h))
        return FALSE;
    if (width)
        *width = w;
    if (height)
        *height = h;
    return TRUE;
}

// ---- Bitmap to bitmap -----------------------------------------------------------------------------

BOOL CopyBitmap(HBITMAP destination, HBITMAP source, HPALETTE palette, const RECT* sourceArea,
                const RECT* destinationArea)
{
    int w = 0, h = 0;
    RECT from, to;
    if (!destination || !source)
        return FALSE;
    if (sourceArea)
        from = *sourceArea;
    else if (BitmapSize(source, w, h))
        SetRect(&from, 0, 0, w, h);
    else
        return FALSE;
    if (destinationArea)
        to = *destinationArea;
    else if (BitmapSize(destination, w, h))
        SetRect(&to, 0, 0, w, h);
    else
        return FALSE;

    ScreenDC screen;
    BitmapDC sourceDC(screen), destinationDC(screen);
    if (!sourceDC.Select(source) || !destinationDC.Select(destination))
        return FALSE;
    HPALETTE oldPalette = NULL;
    if (palette && (GetDeviceCaps(sourceDC, RASTERCAPS) & RC_PALETTE)) {
        oldPalette = SelectPalette(sourceDC, palette, FALSE);
        RealizePalette(sourceDC);
    }
    SetStretchBltMode(destinationDC, COLORONCOLOR);
    const int fw = from.right - from.left, fh = from.bottom - from.top;
    const int tw = to.right - to.left, th = to.bottom - to.top;
    const BOOL done = (fw == tw && fh == th)
                          ? BitBlt(destinationDC, to.left, to.top, tw, th, sourceDC, from.left, from.top, SRCCOPY)
                          : StretchBlt(destinationDC, to.left, to.top, tw, th, sourceDC, from.left, from.top, fw, fh,
                                       SRCCOPY);
    if (oldPalette)
        SelectPalette(sourceDC, oldPalette, FALSE);
    return done;
}

HBITMAP LoadBmpFile(HINSTANCE instance, LPCTSTR path)
{
    if (!path || !gfxgdi::IsSoundBmpFile(path))
        return NULL;
    return static_cast<HBITMAP>(LoadImage(instance, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
}

// ---- Drawing --------------------------------------------------------------------------------------

BOOL DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y)
{
    int w = 0, h = 0;
    if (!dc || !BitmapSize(bitmap, w, h))
        return FALSE;
    SetStretchBltMode(dc, COLORONCOLOR);
    BitmapDC source(dc);
    return source.Select(bitmap) && BitBlt(dc, x, y, w, h, source, 0, 0, SRCCOPY);
}

BOOL DrawBitmapToRect(HDC dc, HBITMAP bitmap, int left, int top, int right, int bottom)
{
    int w = 0, h = 0;
    if (!dc || !BitmapSize(bitmap, w, h))
        return FALSE;
    SetStretchBltMode(dc, COLORONCOLOR);
    BitmapDC source(dc);
    if (!source.Select(bitmap))
        return FALSE;
    const int tw = right - left, th = bottom - top;
    if (tw == w && th == h)
        return BitBlt(dc, left, top, w, h, source, 0, 0, SRCCOPY);
    return StretchBlt(dc, left, top, tw, th, source, 0, 0, w, h, SRCCOPY);
}

BOOL DrawBitmapMasked(HBITMAP bitmap, COLORREF key, int mode, HDC target, int x, int y, int width, int height,
                      BOOL grey)
{
    int bw = 0, bh = 0;
    if ((mode != 1 && mode != 2) || !target || !BitmapSize(bitmap, bw, bh))
        return FALSE;
    if (width == 0 || height == 0) {
        width = bw;
        height = bh;
    } else {
        width = width < 0 ? -width : width;
        height = height < 0 ? -height : height;
    }

    const COLORREF oldBackground = SetBkColor(target, RGB(255, 255, 255));
    const COLORREF oldText = SetTextColor(target, grey ? GetSysColor(COLOR_GRAYTEXT) : RGB(0, 0, 0));
    BOOL done = FALSE;
    HWND desktop = GetDesktopWindow();
    HDC desktopDC = GetDC(desktop);
    if (desktopDC) {
        GdiObjectHolder image(CreateCompatibleBitmap(desktopDC, width, height));
        GdiObjectHolder mask(CreateBitmap(width, height, 1, 1, NULL));
        BitmapDC sourceDC(desktopDC), imageDC(desktopDC), maskDC(desktopDC);
        if (image.Get() && mask.Get() && sourceDC.Select(bitmap) &&
            imageDC.Select(static_cast<HBITMAP>(image.Get())) && maskDC.Select(static_cast<HBITMAP>(mask.Get()))) {
            SetMapMode(imageDC, MM_TEXT);
            SetMapMode(maskDC, MM_TEXT);
            SetStretchBltMode(imageDC, COLORONCOLOR);
            bool ok = (width == bw && height == bh)
                          ? BitBlt(imageDC, 0, 0, width, height, sourceDC, 0, 0, SRCCOPY)
                          : StretchBlt(imageDC, 0, 0, width, height, sourceDC, 0, 0, bw, bh, SRCCOPY);
            // Mask bits are set where the picture has the key.
            SetBkColor(imageDC, key);
            ok = ok && BitBlt(maskDC, 0, 0, width, height, imageDC, 0, 0, SRCCOPY);
            // The picture's key pixels blackened.
            SetBkColor(imageDC, RGB(0, 0, 0));
            SetTextColor(imageDC, RGB(255, 255, 255));
            ok = ok && BitBlt(imageDC, 0, 0, width, height, maskDC, 0, 0, SRCAND);
            if (mode == 1)
                ok = ok && BitBlt(target, x, y, width, height, maskDC, 0, 0, SRCAND) &&
                     BitBlt(target, x, y, width, height, imageDC, 0, 0, SRCPAINT);
            else
                ok = ok && BitBlt(target, x, y, width, height, imageDC, 0, 0, SRCINVERT);
            done = ok;
        }
    }
    if (desktopDC)
        ReleaseDC(desktop, desktopDC);
    SetBkColor(target, oldBackground);
    SetTextColor(target, oldText);
    return done;
}

// ---- Clipboard --------------------------------------------------------------------------------------

HBITMAP GetClipboardBitmap()
{
    if (!OpenClipboard(NULL))
        return NULL;
    HBITMAP bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    CloseClipboard();
    return bitmap;
}

BOOL PutDibOnClipboard(HBITMAP bitmap)
{
    if (!bitmap)
        return FALSE;
    // The clipboard takes the copy; the caller keeps (and deletes) its own.
    HBITMAP copy = static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, 0));
    if (!copy)
        return FALSE;
    HWND owner = MakeClipboardOwner();
    BOOL done = FALSE;
    if (OpenClipboard(owner)) {
        done = EmptyClipboard() && SetClipboardData(CF_BITMAP, copy) != NULL;
        CloseClipboard();
    }
    if (!done)
        DeleteObject(copy);
    if (owner)
        DestroyWindow(owner);
    return done;
}
