// DibFunctions.h - routines around GDI bitmaps: packed DIBs in global
// memory, .bmp files, the clipboard, copying one bitmap into another and
// drawing bitmaps plainly, stretched, transparent, disabled or by mode.
// Every routine answers 0 or NULL on failure after releasing what it made
// and shows nothing.
#pragma once

#include <windows.h>

class CDC;

// A packed DIB in a global block (BITMAPINFOHEADER, 2^bpp colours up to 8
// bits per pixel, bottom-up bits). NULL for a NULL bitmap or BI_BITFIELDS;
// palette NULL means the default palette. The caller frees the block.
HGLOBAL BitmapToGlobalDib(HBITMAP bitmap, DWORD compression = BI_RGB, HPALETTE palette = NULL);

// Writes a packed DIB as a .bmp file (through a temporary file moved into
// place); 0 for a NULL or malformed block and when any write fails.
BOOL WriteDibFile(LPCTSTR path, HGLOBAL dib);

// Writes size bytes in pieces of at most 32768; size, or 0 when a piece is
// written short.
DWORD WriteHuge(HANDLE file, const void* data, DWORD size);

void FreeGlobal(HGLOBAL block);

BOOL GetBitmapDimensions(HBITMAP bitmap, int* width, int* height);

// Copies an area of one bitmap (NULL: all) into an area of another (NULL:
// all), stretched when the sizes differ; with a palette on a palette device
// the palette is realized first. The result of the blit.
BOOL CopyBitmap(HBITMAP destination, HBITMAP source, HPALETTE palette, const RECT* sourceArea,
                const RECT* destinationArea);

// A bitmap from a .bmp file; NULL for files whose headers do not fit them.
HBITMAP LoadBmpFile(HINSTANCE instance, LPCTSTR path);

// Greys the target's area (AND with 0x7F7F7F) and lays the source's pixels
// from (0, 0) over it (OR).
void DrawOverGrey(CDC* target, int x, int y, int width, int height, CDC* source);

// The whole bitmap at (x, y).
BOOL DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y);
// The whole bitmap into the rectangle, stretched when the sizes differ.
BOOL DrawBitmapToRect(HDC dc, HBITMAP bitmap, int left, int top, int right, int bottom);

// Mode 1: transparent (pixels of the key colour leave the target as it
// is); mode 2: disabled (the masked picture laid on with SRCINVERT). A
// width or height of 0 means the bitmap's own size. 0 for other modes and
// a NULL bitmap.
BOOL DrawBitmapMasked(HBITMAP bitmap, COLORREF key, int mode, HDC target, int x, int y, int width = 0,
                      int height = 0, BOOL grey = FALSE);

// Draws a bitmap's area (NULL: all) into a rectangle of the target: mode 1
// one unscaled copy, 3 tiles, 4 three columns, 5 nine parts (see
// TileLayout.h), any other mode one stretch.
void DrawBitmapByMode(CDC* target, const RECT* destination, HBITMAP bitmap, int mode, const RECT* source = NULL);

// The clipboard's bitmap (the clipboard keeps it); NULL when there is none.
HBITMAP GetClipboardBitmap();
// Puts a copy of the bitmap on the clipboard; the caller keeps its bitmap.
BOOL PutDibOnClipboard(HBITMAP bitmap);
