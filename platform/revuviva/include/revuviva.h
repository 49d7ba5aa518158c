// REVUVIVA.dll: the platform's GIF and TGA helper library. Callers load it by
// name and bind its entries with GetProcAddress; every entry uses the
// standard calling convention and is exported under its plain name. This
// header gives the entries' types and the records they hand out.
//
// GIF: a handle per open GIF (LoadGifFromMem, LoadGifFile; CloseGifHandle).
// Frames come one by one from GetNextImage as 8-bit top-down DIB sections
// with their palette. Where a frame has a transparent colour index, its
// pixels of that index are given the GIF's background colour (the one
// GetImageSize reports), so a caller that draws frames keyed on that colour
// leaves them out. Delays are in milliseconds: a graphic control delay of 0
// reads as 50, a frame without graphic control has 0. Bitmaps and palettes
// handed out belong to the caller (DeleteObject).
//
// TGA: a handle per picture (LoadTGAFile, LoadTgaFromMem; CloseTGAHandle);
// colour-mapped, true-colour and grey pictures, plain or run-length
// encoded. The data pointers stay valid until the handle is closed.
//
// Every entry answers 0 (FALSE or NULL) for a NULL, unknown or closed
// handle and for data it cannot read, and then hands nothing out. Paths are
// ANSI (the process code page). GIF frames of more than 64 MB of pixels and
// TGA pictures of more than 16 Mi pixels are refused.
#ifndef MARDAVEL_REVUVIVA_H
#define MARDAVEL_REVUVIVA_H

#include <windows.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct RevuvivaGif* HGIFIMAGE;
typedef struct RevuvivaTga* HTGAIMAGE;

// Raw frame of GetNextRawFrameData: one GlobalAlloc block holding this
// record and, after it, the pixels (colour indexes, top row first). The
// caller frees it with DeleteObject(palette) and GlobalFree(record). The
// handle and pointer are pointer-sized: 56 bytes in a 32-bit process.
typedef struct REVUVIVA_FRAME
{
    uint32_t recordSize;  // sizeof(REVUVIVA_FRAME)
    uint32_t left;
    uint32_t top;
    uint32_t width;
    uint32_t height;
    uint32_t stride;  // width rounded up to a multiple of 4
    uint32_t transparent;
    uint32_t transparentIndex;
    uint32_t delayMs;
    uint32_t disposal;
    uint32_t pixelBytes;  // stride x height
    uint32_t colorCount;
    HPALETTE palette;
    uint8_t* pixels;
} REVUVIVA_FRAME;

// ---- GIF (in the order the binding resolves them) ----
// The next frame's record, or NULL at the end.
typedef REVUVIVA_FRAME*(WINAPI* GetNextRawFrameDataProc)(HGIFIMAGE gif);
// Copies the global colour table as R, G, B bytes into rgb (at least 3 x
// count bytes); FALSE without a table or with too small a buffer.
typedef BOOL(WINAPI* GetGlobalColorIndexDataProc)(HGIFIMAGE gif, BYTE* rgb, DWORD size);
// Entries of the global colour table (0 without one); the background index
// goes to *backgroundIndex when given.
typedef int(WINAPI* GetGlobalColorIndexTotalProc)(HGIFIMAGE gif, int* backgroundIndex);
// The next frame: offset in the logical screen, size, the frame's DIB
// section, its transparent flag and index, its palette, its disposal method
// and its delay. 1 when a frame was produced, 0 at the end or on bad data
// (every output is then zeroed). Any output may be NULL; a bitmap or palette
// not asked for is deleted.
typedef BOOL(WINAPI* GetNextImageProc)(HGIFIMAGE gif, int* x, int* y, int* width, int* height, HBITMAP* bitmap,
                                       BOOL* transparent, int* transparentIndex, HPALETTE* palette, int* disposal,
                                       int* delayMs);
// Logical screen size and background colour (a plain COLORREF; 0 without a
// global colour table).
typedef BOOL(WINAPI* GetImageSizeProc)(HGIFIMAGE gif, int* width, int* height, COLORREF* background);
typedef BOOL(WINAPI* CloseGifHandleProc)(HGIFIMAGE gif);
// headerPresent: the data begins with "GIF87a"/"GIF89a" (else with the
// logical screen descriptor).
typedef HGIFIMAGE(WINAPI* LoadGifFromMemProc)(const BYTE* data, DWORD size, BOOL headerPresent);
typedef HGIFIMAGE(WINAPI* LoadGifFileProc)(const char* path);
// Back to the first frame.
typedef BOOL(WINAPI* ResetProc)(HGIFIMAGE gif);
// A new DIB section of the frame GetNextImage produced last, or NULL.
typedef HBITMAP(WINAPI* CreateCurrentBmpProc)(HGIFIMAGE gif);

// ---- TGA ----
typedef HTGAIMAGE(WINAPI* LoadTGAFileProc)(const char* path);
typedef HTGAIMAGE(WINAPI* LoadTgaFromMemProc)(const BYTE* data, DWORD size);
// A 32-bit top-down DIB section of the picture (alpha as in the file, not
// premultiplied; 255 where the file has none).
typedef HBITMAP(WINAPI* CreateBitmapFromTGAProc)(HTGAIMAGE tga);
typedef BOOL(WINAPI* CloseTGAHandleProc)(HTGAIMAGE tga);
typedef int(WINAPI* GetTgaWidthProc)(HTGAIMAGE tga);
typedef int(WINAPI* GetTgaHeightProc)(HTGAIMAGE tga);
// Entries of the colour map (0 without one).
typedef int(WINAPI* GetTgaPalNumProc)(HTGAIMAGE tga);
// Bits per pixel in the file.
typedef int(WINAPI* GetTgaPixelDepthProc)(HTGAIMAGE tga);
// Pixels as blue, green, red, alpha, width x 4 bytes a row, top row first.
typedef const BYTE*(WINAPI* GetTgaGetImageDataProc)(HTGAIMAGE tga);
// The colour map as blue, green, red, alpha entries; NULL without one.
typedef const BYTE*(WINAPI* GetTgaGetImagePalDataProc)(HTGAIMAGE tga);
// One alpha byte per pixel, top row first; NULL when the picture has none.
typedef const BYTE*(WINAPI* GetTgaGetImageAlphaDataProc)(HTGAIMAGE tga);

#ifdef __cplusplus
}
#endif

#endif
