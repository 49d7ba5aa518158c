// GDI helpers of the small utilities: keyed copy, percentage blend, 32-bit
// DIB sections and the standard font.
#pragma once

#include <afxwin.h>

// Copies the source area onto the destination, leaving out the source pixels
// of the key colour: the destination area is copied into a memory bitmap, a
// monochrome mask of the source is made with the key as background, the
// memory bitmap gets source XOR, mask AND, source XOR, and the result is copied
// back. FALSE (with everything released) when a memory DC or bitmap can't be
// made.
BOOL KeyedCopy(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
               COLORREF key);

// Blends the source area into the destination: both areas are copied into
// 32-bit DIB sections of even width, and with k = (percent x 256 + 50) / 100
// every byte becomes s + ((d - s) x k >> 8) (s source, d destination), so 0
// gives the source and 100 keeps the destination. percent is held to 0..100.
BOOL BlendCopy(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
               int percent);
// The byte rule of BlendCopy.
BYTE BlendByte(BYTE source, BYTE destination, int k);

// A 32-bit DIB section (BITMAPINFOHEADER of 40 bytes, 1 plane, no
// compression, bottom-up) with its bits in *bits when asked.
HBITMAP CreateDibSection32(HDC dc, int width, int height, void** bits);

// The client's standard font: height 14, width 7, weight 500, character set
// 1, face name from string 29931 of the resource module.
HFONT CreateStandardFont();
// Replaces the font held by the object with the standard font.
BOOL ApplyStandardFont(CFont* font);
