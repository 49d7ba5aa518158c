// Bitmaps named in ini files, transparent, scaled and alpha blits, and GDI+
// images with alpha.
#pragma once

#include <afxwin.h>
#include <gdiplus.h>

// ---- Bitmaps named in ini files ------------------------------------------------------------

// The file named by the ini key (default empty, at most 260 characters), in
// folder ("%s\%s") when one is given, loaded as a bitmap from file; null on
// failure.
HBITMAP LoadIniBitmap(const char* iniPath, const char* section, const char* key, const char* folder);
// The path of that file: the ini key's value, in folder when one is given.
CString IniPicturePath(const char* iniPath, const char* section, const char* key, const char* folder);

// A GDI+ image with its size. Deleting the record deletes the image.
struct GdiplusPicture {
    Gdiplus::Image* image = nullptr;
    UINT width = 0;
    UINT height = 0;
    Gdiplus::Status status = Gdiplus::Ok;   // the last GDI+ failure

    GdiplusPicture() = default;
    ~GdiplusPicture() { delete image; }
    GdiplusPicture(const GdiplusPicture&) = delete;
    GdiplusPicture& operator=(const GdiplusPicture&) = delete;
};

// Reads the picture's width and height from its image; a GDI+ failure status
// is kept in the record. FALSE without an image or on failure.
BOOL GetImageSize(GdiplusPicture* picture);

// What happens when a skin picture is missing: a message box (warning icon)
// with the text and caption, then the end of the process with exit code -1.
// Tests put a recorder in its place; the default never returns.
typedef void (*FatalPictureRoutine)(const char* text, const char* caption);
FatalPictureRoutine SetFatalPictureRoutine(FatalPictureRoutine routine);

// The same file loaded through GDI+ (the caller deletes the record). When the
// picture has no width or height, the message "<path>加载错误！\n\n点击确定退出程序。"
// titled "错误" is shown and the process ends: a missing skin picture is fatal.
// (Only a test's fatal routine returns; the result is then null.)
GdiplusPicture* LoadIniBitmapOrExit(const char* iniPath, const char* section, const char* key,
                                    const char* folder);

// ---- Bitmaps -------------------------------------------------------------------------------

// Size from the bitmap's description; 0 for null.
int GetBitmapWidth(HBITMAP bitmap);
int GetBitmapHeight(HBITMAP bitmap);

// Draws the source area onto the target (stretched when the sizes differ)
// without the pixels of the key colour; key 0 means the colour of the
// source's top-left pixel. Done with a monochrome mask: source copy, mask by
// background colour, AND of the mask and OR of the masked image.
BOOL TransparentBlit(HDC target, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                     int sourceWidth, int sourceHeight, COLORREF key);

// Draws the image onto the target with a per-pixel opacity a = the blue byte
// of the mask pixel: each channel becomes (image x a + target x (255 - a)) >> 8.
BOOL AlphaMaskBlit(HDC target, int x, int y, int width, int height, HBITMAP image, int imageX, int imageY,
                   HBITMAP mask, int maskX, int maskY);

// Selects the bitmap into a temporary DC and blits it with the raster
// operation.
BOOL BlitBitmap(HDC target, int x, int y, int width, int height, HBITMAP bitmap, int sourceX, int sourceY,
                DWORD rasterOperation);

// ---- GDI+ ------------------------------------------------------------------------------------

// Draws the source rectangle of the image into the target rectangle; an alpha
// below 255 goes through a colour matrix scaling alpha by alpha / 255, 255
// draws without image attributes.
Gdiplus::Status DrawImageAlpha(Gdiplus::Graphics* graphics, Gdiplus::Image* image, const Gdiplus::Rect& target,
                               const Gdiplus::Rect& source, BYTE alpha);
// A GDI+ image of a resource (copied into a moveable global block wrapped in
// a stream); null on any failure. The caller deletes it.
Gdiplus::Image* LoadImageFromResource(HMODULE module, LPCSTR name, LPCSTR type);
// A GDI+ bitmap from a file (colour-managed when asked); null on failure.
Gdiplus::Bitmap* LoadGdiplusBitmap(const WCHAR* path, BOOL colourManaged);
// A new 32-bit ARGB bitmap of the image's size with its pixels copied through
// locked bits. FALSE on any GDI+ failure.
BOOL CloneImageArgb(Gdiplus::Image* image, Gdiplus::Bitmap** clone);
// Saves the image as PNG (through a temporary file moved into place); the
// GDI+ status.
Gdiplus::Status SaveImagePng(Gdiplus::Image* image, const WCHAR* path);
