// DAVUZ.dll: the platform's PNG support library. Every entry uses the standard calling
// convention and is exported under its plain name; callers bind them by name at run time.
//
// Pictures come out as bottom-up DIB sections: 32 bits with straight alpha when the PNG has
// transparency (an alpha channel or a tRNS chunk), else 24 bits; no palette (*palette is set
// to NULL). Encoded PNG blocks are movable global blocks that the caller frees with
// GlobalFree. Paths are ANSI (the process code page). Pictures larger than 16384 pixels a
// side or 64 Mi pixels in all are refused. Every entry answers 0 (FALSE) on failure and then
// hands nothing out.
#ifndef MARDAVEL_DAVUZ_H
#define MARDAVEL_DAVUZ_H

#include <windows.h>

#ifndef IMAGE_ROWS_TOPDOWN
#define IMAGE_ROWS_TOPDOWN 0x0001u  // rows top first (default: bottom first, as in a DIB)
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Decodes a PNG file or block into a new DIB section owned by the caller (DeleteObject).
// palette, width and height may be NULL.
BOOL WINAPI LoadPNGFile(const char* path, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height);
BOOL WINAPI LoadPNGFromMem(const BYTE* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width,
                           int* height);
// Encodes a bitmap (any depth GDI reads; a 32-bit DIB section with alpha keeps it) into a new
// global block (*png); answers its byte count.
DWORD WINAPI WriteBmpToPNGMem(HBITMAP bitmap, HGLOBAL* png);
// Writes a bitmap as a PNG file.
BOOL WINAPI WriteBmpToPNGFile(HBITMAP bitmap, const char* path);
// Encodes pixel rows (8 bits grey, 24 bits, or 32 bits with alpha in the fourth byte) into a
// new global block (*png); answers its byte count.
DWORD WINAPI WriteImageDataToPNGMem(const BYTE* pixels, int width, int height, int bitsPerPixel, int stride,
                                    DWORD flags, HGLOBAL* png);

typedef BOOL(WINAPI* LoadPNGFileProc)(const char*, HBITMAP*, HPALETTE*, int*, int*);
typedef BOOL(WINAPI* LoadPNGFromMemProc)(const BYTE*, DWORD, HBITMAP*, HPALETTE*, int*, int*);
typedef DWORD(WINAPI* WriteBmpToPNGMemProc)(HBITMAP, HGLOBAL*);
typedef BOOL(WINAPI* WriteBmpToPNGFileProc)(HBITMAP, const char*);
typedef DWORD(WINAPI* WriteImageDataToPNGMemProc)(const BYTE*, int, int, int, int, DWORD, HGLOBAL*);

#ifdef __cplusplus
}
#endif

#endif
