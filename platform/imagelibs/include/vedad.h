// VEDAD.dll: the platform's JPEG support library. Every entry uses the standard calling
// convention and is exported under its plain name; callers bind them by name at run time.
//
// Pictures come out as bottom-up DIB sections of 24 bits (no palette: *palette is set to
// NULL). "Image data" is a movable global block of pixel rows, each padded to a multiple of
// 4 bytes: 8 bits (grey) or 24 bits (blue, green, red), bottom-up unless IMAGE_ROWS_TOPDOWN
// is given; lock it with GetPointerFromHandleLock, unlock it with UnLockDataHandle and free
// it with FreeDataHandle. Paths are ANSI (the process code page). Pictures larger than
// 16384 pixels a side or 64 Mi pixels in all are refused. Every entry answers 0 (FALSE or
// NULL) on failure and then hands nothing out.
#ifndef MARDAVEL_VEDAD_H
#define MARDAVEL_VEDAD_H

#include <windows.h>

#ifndef IMAGE_ROWS_TOPDOWN
#define IMAGE_ROWS_TOPDOWN 0x0001u  // rows top first (default: bottom first, as in a DIB)
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Decodes a JPEG file or block into image data; *size is the byte count of the rows.
BOOL WINAPI LoadJpgFileImageData(const char* path, HGLOBAL* pixels, DWORD* size, int* width, int* height,
                                 int* bitsPerPixel, int* stride, DWORD flags);
BOOL WINAPI LoadJpgImageDataFromMem(const BYTE* data, DWORD dataSize, HGLOBAL* pixels, DWORD* size, int* width,
                                    int* height, int* bitsPerPixel, int* stride, DWORD flags);
// Decodes a JPEG file or block into a new DIB section owned by the caller (DeleteObject).
// palette, width and height may be NULL.
BOOL WINAPI LoadJpgFile(const char* path, HBITMAP* bitmap, HPALETTE* palette, int* width, int* height);
BOOL WINAPI LoadJpgFromMem(const BYTE* data, DWORD size, HBITMAP* bitmap, HPALETTE* palette, int* width,
                           int* height);
// Writes pixel rows (8 bits grey, 24 bits, or 32 bits whose fourth byte is ignored) as a JPEG
// file of the given quality (1-100).
BOOL WINAPI WriteBitmapToJpeg(const BYTE* pixels, int width, int height, int bitsPerPixel, int stride, DWORD flags,
                              const char* path, int quality);
// Writes a packed DIB held in global memory (header, colour table, rows) as a JPEG file.
BOOL WINAPI WriteDibToJpeg(HGLOBAL dib, const char* path, int quality);
// The same into a new global block (*jpeg, freed with FreeDataHandle); answers its byte count.
DWORD WINAPI WriteDibToJpegMEM(HGLOBAL dib, int quality, HGLOBAL* jpeg);
// Lock, unlock and free the blocks handed out above.
void* WINAPI GetPointerFromHandleLock(HGLOBAL handle);
BOOL WINAPI UnLockDataHandle(HGLOBAL handle);
BOOL WINAPI FreeDataHandle(HGLOBAL handle);

typedef BOOL(WINAPI* LoadJpgFileImageDataProc)(const char*, HGLOBAL*, DWORD*, int*, int*, int*, int*, DWORD);
typedef BOOL(WINAPI* LoadJpgImageDataFromMemProc)(const BYTE*, DWORD, HGLOBAL*, DWORD*, int*, int*, int*, int*, DWORD);
typedef BOOL(WINAPI* LoadJpgFileProc)(const char*, HBITMAP*, HPALETTE*, int*, int*);
typedef BOOL(WINAPI* LoadJpgFromMemProc)(const BYTE*, DWORD, HBITMAP*, HPALETTE*, int*, int*);
typedef BOOL(WINAPI* WriteBitmapToJpegProc)(const BYTE*, int, int, int, int, DWORD, const char*, int);
typedef BOOL(WINAPI* WriteDibToJpegProc)(HGLOBAL, const char*, int);
typedef DWORD(WINAPI* WriteDibToJpegMEMProc)(HGLOBAL, int, HGLOBAL*);
typedef void*(WINAPI* GetPointerFromHandleLockProc)(HGLOBAL);
typedef BOOL(WINAPI* UnLockDataHandleProc)(HGLOBAL);
typedef BOOL(WINAPI* FreeDataHandleProc)(HGLOBAL);

#ifdef __cplusplus
}
#endif

#endif
