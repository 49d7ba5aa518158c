// Device-independent bitmaps, BMP files, the clipboard's bitmap and a family
// of bitmap drawing routines.
#pragma once

#include <afxwin.h>
#include <commctrl.h>

// ---- DIB sections and DIB blocks -----------------------------------------------------------

// A zeroed DIB section (rows rounded up to 4 bytes) of 1 to 32 bits per pixel;
// palette depths get a grey ramp. Null for another depth or on failure.
HBITMAP CreateDIBSectionOfDepth(int width, int height, int bitsPerPixel, void** bits = nullptr);
// Colour-table entries of a bitmap header: 2, 16, 256 for 1, 4, 8 bits, else
// the header's own count (none for the old core header).
int GetDibColorCount(const BITMAPINFOHEADER* header);
// Bytes of one colour-table entry: 3 for the old core header, else 4.
int GetDibColorEntrySize(const BITMAPINFOHEADER* header);

// A device-dependent bitmap as a DIB in a moveable global block (header,
// colour table from the palette given or, for NULL, the default one, bits);
// null on failure. Free it with GlobalFree. (The graphics code has a form
// with a compression argument; the palette here is always passed.)
HGLOBAL BitmapToGlobalDib(HBITMAP bitmap, HPALETTE palette);
// Writes a global DIB block as a BMP file: the 14-byte file header "BM", file
// size = block size + 14, bits offset = 14 + header + colour table, data in
// pieces of at most 32768 bytes, through a temporary file moved into place.
// FALSE for a block that is not a DIB or a file that can't be written.
BOOL SaveDibToFile(HGLOBAL dib, const char* path);

// Copies a rectangle of one bitmap into a rectangle of another, stretched in
// halftone mode when the sizes differ, realising the palette when the device
// uses palettes.
BOOL CopyBitmapRect(HBITMAP target, const RECT& targetRect, HBITMAP source, const RECT& sourceRect,
                    HPALETTE palette = NULL);
// A new image list (8-bit colour with mask) of the bitmap cut into images of
// the given width, masked by the key colour. The bitmap is left unchanged.
HIMAGELIST BitmapToImageList(HBITMAP bitmap, int imageWidth, COLORREF key);

// ---- Loading -------------------------------------------------------------------------------

// LoadImage from a file as a bitmap.
HBITMAP LoadBitmapFromFile(const char* path);
// An animated cursor from a resource of type "ANICURSORS".
HCURSOR LoadAnimatedCursor(HMODULE module, LPCSTR name);
// A BMP image in memory as a DIB section. Refused: GIF and PNG signatures, no
// "BM", a file size field other than the data size, and headers, colour
// tables, dimensions, depths or bits offsets that don't fit the data.
HBITMAP LoadBmpToDibSection(const void* data, size_t size);
// Largest file LoadBmpResourceOrFile reads.
const DWORD kMaxBmpFileSize = 64u << 20;
// The bytes of a file (path given) or of a resource (by type, name and
// language) in a block of the C heap (free it with free), with their count.
BYTE* LoadBmpResourceOrFile(HMODULE module, LPCSTR type, LPCSTR name, WORD language, const char* path,
                            DWORD* size);
// A string resource of at most 1024 characters into out (cut to size).
int LoadResourceString(HMODULE module, UINT id, char* out, int size);
// The bytes of a dialog resource (read-only, owned by the module) and their
// count; null when missing.
const void* LoadDialogResourceBytes(HMODULE module, LPCSTR name, DWORD* size);

// ---- Drawing -------------------------------------------------------------------------------

// Blits the bitmap into the rectangle from the source point.
BOOL DrawBitmapAt(HDC target, const RECT& rect, HBITMAP bitmap, POINT source);
// Stretches the source rectangle of the bitmap into the rectangle; with
// halftone set the halftone stretch mode is used.
BOOL StretchBitmapAt(HDC target, const RECT& rect, HBITMAP bitmap, const RECT& source, BOOL halftone);
// Draws the bitmap greyed: where it differs from its top-left (background)
// pixel the target gets 0x7F7F7F (a mask with SRCAND and SRCPAINT).
BOOL DrawDisabledBitmap(HDC target, int x, int y, HBITMAP bitmap);
// Draws a bitmap (stretched when the sizes differ) without its key-colour
// pixels: mode 1 by mask AND and image OR, mode 2 by SRCINVERT, mask AND,
// SRCINVERT. FALSE for another mode.
BOOL DrawMaskedBitmap(HDC target, int x, int y, int width, int height, HBITMAP bitmap, int sourceX, int sourceY,
                      int sourceWidth, int sourceHeight, COLORREF key, int mode);

// Transparent blits by a key colour, stretched when the sizes differ: the
// target area is copied into a memory bitmap, a monochrome mask is made with
// the key as background, the source is combined by SRCINVERT, SRCAND with the
// mask and SRCINVERT again, and the result copied back.
BOOL DrawTransparentFromDC(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                           int sourceWidth, int sourceHeight, COLORREF key);
BOOL DrawTransparentBitmap(HDC target, int x, int y, int width, int height, HBITMAP bitmap, int sourceX,
                           int sourceY, int sourceWidth, int sourceHeight, COLORREF key);
// The same with the key taken from the pixel (keyX, keyY) of the bitmap.
BOOL DrawTransparentBitmapKeyAt(HDC target, int x, int y, int width, int height, HBITMAP bitmap, int sourceX,
                                int sourceY, int sourceWidth, int sourceHeight, int keyX, int keyY);

// Width and height of a bitmap; (0, 0) when unavailable.
SIZE GetBitmapSize(HBITMAP bitmap);

// Blends the source area over the target: both copied into 32-bit DIB
// sections, every byte becomes (source x alpha + target x (256 - alpha)) >> 8
// for alpha 0..256, and the result is copied back.
BOOL AlphaBlendBlit(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                    int alpha);
BOOL AlphaBlendBlit(HDC target, const RECT& rect, HDC source, POINT sourcePoint, int alpha);
// The same, leaving out the source pixels of the key colour.
BOOL AlphaBlendBlitKeyed(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                         int alpha, COLORREF key);

// ---- Clipboard -----------------------------------------------------------------------------

// A copy of the clipboard's bitmap (the caller deletes it); null when there is none.
HBITMAP GetClipboardBitmap(HWND owner);
// Puts a copy of the bitmap on the clipboard.
BOOL SetClipboardBitmap(HWND owner, HBITMAP bitmap);
