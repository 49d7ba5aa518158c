// ODDrawing.h - small drawing services of the owner-draw library: the
// module its resources come from and the names of its typed image resources,
// bitmaps drawn into a rectangle by mode, the two off-screen DCs (CODMemDC
// for a part of a window, CODBackDC around a whole control's painting), the
// palette picture CODDib and the cached parent background CODCachedImage.
//
// Rectangles are in the logical coordinates of the DC they are used with.
// A CODBackDC sets its window origin to its rectangle's top-left, so what
// is drawn into it uses the target's coordinates.
#pragma once

#include "afxwin.h"

#include <vector>

#include "graphics/QVMemBitmap.h"

// ---- Resource module and type names -------------------------------------------------

// Sets the module the library loads icons, cursors, bitmaps and strings
// from; returns the previous one.
HMODULE ODSetResourceHandle(HMODULE module);
// That module; when none was set, the framework's instance handle, which is
// then kept.
HMODULE ODGetResourceHandle();

// The resource types of the library's typed images.
enum ODResourceType
{
    OD_RES_BITMAP = 0,  // "ODRES_BITMAP"
    OD_RES_GIF = 1,     // "ODRES_GIF"
    OD_RES_JPEG = 2,    // "ODRES_JPEG"
    OD_RES_PNG = 3,     // "ODRES_PNG"
};
// The type name of index 0..3, NULL for any other index.
LPCSTR ODGetResourceTypeName(int index);

// ---- Bitmaps into rectangles ------------------------------------------------------------

// Modes of ODDrawBitmapInRect.
const int OD_DRAW_PLAIN = 1;    // one unscaled copy at the top-left, cut at the rectangle
const int OD_DRAW_TILE = 3;     // tiles from the top-left
const int OD_DRAW_STRETCH = 2;  // (and every other mode) the whole bitmap stretched

// Draws a bitmap into a rectangle by mode (SRCCOPY). Tiles at the right and
// bottom edges are cut at the rectangle. Nothing for a NULL bitmap or DC.
void ODDrawBitmapInRect(CDC* pDC, const RECT& rect, HBITMAP bitmap, int mode);
// The same leaving the bitmap's pixels of colour key out (key CLR_INVALID,
// i.e. -1: none).
void ODDrawBitmapInRect(CDC* pDC, const RECT& rect, HBITMAP bitmap, int mode, COLORREF key);
// The same with the bitmap before the rectangle.
inline void ODDrawBitmapInRect(CDC* pDC, HBITMAP bitmap, const RECT& rect, int mode, COLORREF key)
{
    ODDrawBitmapInRect(pDC, rect, bitmap, mode, key);
}

// ---- CODMemDC: the off-screen copy of part of a window --------------------------------

class CODMemDC : public CDC
{
public:
    CODMemDC();
    ~CODMemDC() override;  // Flush(TRUE)

    // A DC compatible with pTarget holding a bitmap of the rectangle's size;
    // nothing when already created. FALSE when it cannot be made.
    BOOL Create(CDC* pTarget, const RECT& rect);
    // Copies the bitmap to the target at the rectangle's top-left (when
    // copyBack) and frees the DC and bitmap.
    void Flush(BOOL copyBack);
    BOOL IsCreated() const { return m_bCreated; }

    // Target coordinates to the bitmap's.
    CRect ToLocal(const RECT& rect) const;
    CPoint ToLocal(POINT point) const;
    // Copies the target's pixels under the rectangle into the bitmap.
    BOOL CopyFromTarget();

private:
    BOOL m_bCreated;
    CRect m_rcTarget;
    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap;
    CDC* m_pTarget;
};

// ---- CODBackDC: flicker-free painting of a control ---------------------------------------

// Drawing goes into a bitmap of the rectangle's size (the target's clip box
// when no rectangle is given), copied to the target when the object goes.
// On a printer DC, and when no buffer can be made (an empty rectangle), the
// object draws straight onto the target and copies nothing.
class CODBackDC : public CDC
{
public:
    CODBackDC(CDC* pTarget, const RECT* rect, BOOL copyBackground);
    ~CODBackDC() override;

    BOOL IsOffScreen() const { return m_bOffScreen; }
    const CRect& GetRect() const { return m_rect; }

private:
    CBitmap m_bitmap;
    HGDIOBJ m_hOldBitmap;
    CDC* m_pTarget;
    CRect m_rect;
    BOOL m_bOffScreen;
};

// ---- CODDib: a palette picture in memory --------------------------------------------------

// One block laid out as a packed DIB: BITMAPINFOHEADER (positive height,
// rows bottom-up), the palette (2, 16 or 256 RGBQUADs for 1, 4 or 8 bits,
// none otherwise), the rows (stride ((bits x width + 31) >> 5) << 2). A DIB
// section and a memory DC are made on the first CreateSection.
class CODDib
{
public:
    // Largest picture Create accepts, in bytes of pixels.
    static constexpr DWORD kMaxImageBytes = 256u * 1024 * 1024;

    CODDib();
    virtual ~CODDib();
    CODDib(const CODDib&) = delete;
    CODDib& operator=(const CODDib&) = delete;

    // Frees what the picture held and makes a new one (pixels and palette
    // zeroed); the block, or NULL for sizes below 1, a bit count other than
    // 1, 4, 8, 16, 24 or 32, more than kMaxImageBytes, or no memory.
    BITMAPINFOHEADER* Create(int width, int height, int bitCount);
    BOOL CopyFrom(const CODDib& other);
    void Free();

    // The first stored row (the picture's bottom row); NULL without a picture.
    BYTE* GetBits() const;
    int GetWidth() const { return m_header.biWidth; }
    int GetHeight() const { return m_header.biHeight; }
    int GetStride() const { return m_nStride; }
    int GetBitCount() const { return m_header.biBitCount; }
    int GetPaletteCount() const { return m_nPaletteEntries; }
    const BITMAPINFOHEADER* GetBlock() const { return reinterpret_cast<const BITMAPINFOHEADER*>(m_pBlock); }
    DWORD GetBlockSize() const { return m_nBlockSize; }

    // Every byte of the rows becomes index.
    void Fill(BYTE index);
    // The pixel at column x of row y counted from the top; only with a
    // palette and x, y inside the picture (1, 4 and 8 bits per pixel).
    void SetPixelIndex(int x, int y, BYTE index);
    // Entry (blue b, green g, red r, 0) when index < the palette's size.
    void SetPaletteEntry(int index, BYTE r, BYTE g, BYTE b);
    RGBQUAD GetPaletteEntry(int index) const;
    // Entry i becomes grey (i, i, i); then entry 0 black and the last white.
    void MakeGrayPalette();
    // Every entry moves towards colour by percent (held at 0..100):
    // channel = (channel x (100 - percent) + colour's x percent) / 100.
    void MakeShadePalette(COLORREF colour, int percent);

    // Draws the picture at (x, y) of dc through its DIB section (made, with
    // its memory DC, on the first call; the pixels are copied in each time).
    BOOL CreateSection(HDC dc, int x, int y);

    // A .bmp file: the 14-byte file header and the block, written to a
    // temporary name and moved into place. FALSE for an empty name, no
    // picture or a failed write.
    BOOL SaveBmp(LPCSTR fileName) const;

private:
    BYTE* m_pBlock;
    DWORD m_nBlockSize;
    BITMAPINFOHEADER m_header;
    int m_nStride;
    int m_nPaletteEntries;
    HBITMAP m_hSection;
    HDC m_hMemDC;
    void* m_pSectionBits;
};

// ---- CODCachedImage: a parent's background under a control --------------------------------

class CODCachedImage : public CQVDib16
{
public:
    CODCachedImage();
    using CQVDib16::Draw;

    // Copies the rectangle's size from source at sourcePoint into the
    // surface. 1, or 0 without a source DC; IsCached tells whether it worked.
    BOOL BuildCache(CDC* pSource, const RECT& rect, POINT sourcePoint);
    // Builds the cache when there is none, then draws the whole surface at
    // the rectangle's top-left. 0 when either DC is missing.
    BOOL Draw(CDC* pTarget, CDC* pSource, const RECT& rect, POINT sourcePoint);
    // Forgets the copy (the parent's background may have changed).
    void Reset();
    BOOL IsCached() const { return m_bCached; }

private:
    BOOL m_bCached;
};
