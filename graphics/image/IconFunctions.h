// IconFunctions.h - icons, cursors and image lists: icons built from icon
// directories and 16-bit surfaces, .ico files written and extended, grey
// icons, icon groups of other modules written out, animated cursors, image
// lists from bitmap strips, DIBs of bitmaps and resource strings.
//
// Handles and blocks handed out belong to the caller: icons (DestroyIcon),
// bitmaps (DeleteObject), image lists (ImageList_Destroy), memory blocks
// (free). Every function answers 0 or NULL on failure, leaving nothing
// allocated; files are written under a temporary name and moved into place,
// so a failure never leaves a truncated file.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CQVMemBitmap;

// One image of a Windows image list on the icon background 0x808000, as a
// bitmap compatible with the screen.
HBITMAP ImageListImageToBitmap(HIMAGELIST imageList, int index);

// A new image list (8-bit colour with mask) of the bitmap cut into images
// imageWidth wide, masked by the key (NULL: the bitmap's top-left pixel).
// The caller's bitmap stays as it is.
HIMAGELIST BitmapStripToImageList(HBITMAP bitmap, int imageWidth, const COLORREF* key);

// The animated cursor of that id, of resource type "ANICURSORS", in the
// program's resource module.
HCURSOR LoadAnimatedCursor(UINT resourceId);

// text set: the string `name` (an integer id) of that language, at most
// 1024 characters, in a new block; its length (0, and no block, when it is
// missing or empty). Otherwise a copy of the dialog resource `name` of
// that language; its size.
int LoadResourceBlock(HMODULE module, LPCSTR name, BOOL text, WORD language, void** out);

// The first image of an icon directory in memory as an icon of its own size.
HICON CreateIconFromGroupData(const BYTE* data, DWORD size);

// A bitmap as a packed header (40 bytes and, up to 8 bits, its colour
// table) and, when bits is given, its rows bottom-up. 16 and 32 bits are
// plain RGB. Blocks from malloc; sizes in the out values given.
BOOL GetBitmapDib(HBITMAP bitmap, BITMAPINFO** header, DWORD* headerSize, BYTE** bits, DWORD* bitsSize);

// A one-image .ico file of the icon.
BOOL WriteIconFile(HICON icon, LPCSTR path);
// Without append as WriteIconFile; with it the icon is added after the
// images already in the file (a missing file is started). A file whose
// directory does not fit it is left alone and the call fails.
BOOL AddIconToFile(HICON icon, LPCSTR path, BOOL append);

// A copy of the icon whose pixels that are not black become grey
// (0.299 R + 0.587 G + 0.114 B, truncated); the mask stays.
HICON CreateGrayIcon(HICON icon);

// The icon group of a module file (loaded as data) written as an .ico file,
// by name or by its place among the module's icon groups.
BOOL WriteIconGroupFile(LPCSTR moduleFile, LPCSTR group, LPCSTR path);
BOOL WriteIconGroupByIndex(LPCSTR moduleFile, int index, LPCSTR path);

// An icon of a 16-bit surface: pixels equal to its first pixel are
// transparent; the hot spot is the centre.
HICON CreateIconFromSurface(const CQVMemBitmap* surface);

// Files read back by AddIconToFile larger than this are refused.
const DWORD kMaxIconFileSize = 16u * 1024 * 1024;
