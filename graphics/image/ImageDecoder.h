// ImageDecoder.h - one entry point from the bytes of a picture file to a
// GDI bitmap, whatever the format, and the readers that feed it from a
// module's resources or from a file.
//
// Formats are told by their first bytes: "GIF87a"/"GIF89a" (the GIF
// decoder), "?PNG\r\n" (byte 0 is not looked at; DAVUZ.dll), "BM" (read
// here), anything else goes to the JPEG library VEDAD.dll. A BMP keeps its
// depth and colour table (a DIB section); a decoded picture that comes with
// a palette is redrawn into a bitmap compatible with the screen.
//
// Every bitmap handed out belongs to the caller (DeleteObject). Nothing is
// kept between calls; every failure answers NULL (or 0) and leaves nothing
// allocated.
#pragma once

#include <windows.h>

enum class ImageFormat
{
    None,  // fewer than 6 bytes
    Gif,
    Png,
    Bmp,
    Jpeg,  // anything else
};
ImageFormat GetImageFormat(const BYTE* data, DWORD size);

HBITMAP DecodeImage(const BYTE* data, DWORD size);
// The same service under the name other parts of the program use.
inline HBITMAP DecodeImageData(const BYTE* data, DWORD size) { return DecodeImage(data, size); }

// With a module: the resource (name and type may be integer identifiers);
// without one (NULL): the file `name` (type and language unused).
HBITMAP LoadResourceOrFile(HMODULE module, LPCSTR name, LPCSTR type, WORD language);

// A malloc'ed copy of a dialog template (the caller frees it); its size, 0
// on failure (*out is then NULL).
DWORD LoadDialogTemplate(void** out, HMODULE module, LPCSTR name);

// Files larger than this are not read by LoadResourceOrFile.
const DWORD kMaxImageFileSize = 256u * 1024 * 1024;
