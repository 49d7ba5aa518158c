// BitmapRegions.h - window regions from pictures: every pixel that is not
// the key colour belongs to the region, one rectangle per horizontal run.
// The caller owns the region it gets and deletes it.
#pragma once

#include <windows.h>

// Key given as a colour (compared as 565, by truncation). NULL for a NULL
// bitmap, a failure, or a bitmap made only of the key.
HRGN CreateRegionFromBitmap(HBITMAP bitmap, COLORREF key);

// Key taken from the bitmap's pixel (x, y); a negative x means the last
// column, a negative y the last row, so (-1, -1) is the bottom-right pixel.
// NULL also when (x, y) lies outside the bitmap.
HRGN CreateRegionFromPixel(HBITMAP bitmap, int x, int y);

// The same routine under the name other parts of the program use.
inline HRGN CreateRegionFromBitmapPixel(HBITMAP bitmap, int x, int y) { return CreateRegionFromPixel(bitmap, x, y); }

// CreateRegionFromBitmap for callers that pass a tolerance: only an exact
// key (tolerance 0) is supported; other tolerances give NULL.
HRGN CreateRegionFromBitmapKey(HBITMAP bitmap, COLORREF key, int tolerance);

// The region of the bitmap that dc holds selected (a memory DC), key 0
// meaning the colour of the DC's pixel (0, 0). Pixels of 16-bit bitmaps are
// compared as 565, others by their colour. NULL on failure.
HRGN CreateRegionFromKey(HDC dc, HBITMAP bitmap, COLORREF key);
