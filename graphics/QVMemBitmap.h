// QVMemBitmap.h - the 16-bit surface: an off-screen RGB565 picture, top row
// first, with an optional colour key, a destination clip rectangle and a
// destination origin. Skinned windows keep their pieces in such surfaces,
// compose them with the surface-to-surface operations and put the result
// on a device context.
//
// Conventions of every drawing operation:
//   - a NULL source rectangle means the whole source; positions are
//     destination pixels and are moved by the destination's origin;
//   - the result is 1 on success and also when clipping leaves nothing to
//     draw; 0 when the source is NULL or either surface has no pixels;
//   - nothing is ever written outside the destination nor read outside the
//     source; a mirrored or turned picture cut by an edge shows the part of
//     it that lies inside.
#pragma once

#include <windows.h>

#include "SurfaceCore.h"

class CQVMemBitmap
{
public:
    CQVMemBitmap();
    virtual ~CQVMemBitmap();

    CQVMemBitmap(const CQVMemBitmap&) = delete;
    CQVMemBitmap& operator=(const CQVMemBitmap&) = delete;

    // ---- Lifecycle and keys ------------------------------------------------

    // Releases the pixels; size, key colour and key mode become 0.
    void Free();
    // A surface of that size (contents undefined). 0, leaving the surface
    // empty, for sizes of 0 or less, sides over 32767, pictures over 256 MB
    // and when memory runs out.
    BOOL Create(int width, int height);

    // Key mode 1 with this colour.
    void SetKeyColor(COLORREF colour);
    void SetKeyColor16(WORD pixel);
    // Key mode 2: the top-left pixel is the key.
    void SetKeyColorFromCorner();
    // Key mode 1 with the colour of that pixel; nothing when it is outside.
    void SetKeyColorFromPixel(int x, int y);
    // 0 without a key; 1 otherwise, writing the key to out when out is given.
    BOOL GetKeyColor(COLORREF* out) const;
    int GetKeyMode() const { return m_nKeyMode; }

    static WORD RGBTo565(COLORREF colour);
    static COLORREF RGB565ToRGB(WORD pixel);

    // ---- Pixels ----------------------------------------------------------

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    UINT GetStride() const { return m_nStride; }
    WORD* GetBits() const { return m_pBits; }
    BOOL HasPixels() const { return m_pBits != NULL; }
    // The header handed to GDI: BITMAPINFOHEADER and the three 565 masks.
    const BITMAPINFO* GetHeader() const { return reinterpret_cast<const BITMAPINFO*>(&m_header); }

    // 0 outside the surface.
    COLORREF GetPixel(int x, int y) const;
    WORD GetPixel16(int x, int y) const;

    // Fills with a raw 565 value; moved by the origin, not limited by the
    // clip rectangle.
    void FillRect(int x, int y, int width, int height, WORD colour);
    void ReplaceColor(WORD from, WORD to);
    // In place; NULL for the whole surface.
    void GrayScale(const RECT* area = NULL);
    // Blends the area (NULL: all) towards the colour with weight level
    // (0..255); with useKey, key pixels of this surface are left.
    BOOL BlendColor(COLORREF colour, const RECT* area, int level, BOOL useKey);

    // ---- Clip and origin ---------------------------------------------------

    // NULL empties the clip; the rectangle is cut to the surface.
    void SetClipRect(const RECT* clip);
    RECT GetClipRect() const { return m_rcClip; }
    void SetOrigin(int x, int y);
    POINT GetOrigin() const { return m_ptOrigin; }

    // ---- Surface to surface (called on the destination) ------------------------

    BOOL Blit(const CQVMemBitmap* src, const RECT* rect, int x, int y);
    BOOL BlitKeyed(const CQVMemBitmap* src, const RECT* rect, int x, int y);
    BOOL BlitMirror(const CQVMemBitmap* src, const RECT* rect, int x, int y);
    BOOL BlitFlip(const CQVMemBitmap* src, const RECT* rect, int x, int y);
    BOOL BlitRotate180(const CQVMemBitmap* src, const RECT* rect, int x, int y);
    // The quarter turns draw an area h wide and w high; neither the origin
    // nor the clip rectangle applies to them.
    BOOL BlitRotate90(const CQVMemBitmap* src, const RECT* rect, int x, int y);
    BOOL BlitRotate270(const CQVMemBitmap* src, const RECT* rect, int x, int y);

    // level: the source's weight, the argument's low byte.
    BOOL AlphaBlend(const CQVMemBitmap* src, const RECT* rect, int x, int y, int level);
    // Per-channel weights from mask, read at the source's coordinates; only
    // the part of the source that the mask covers is drawn.
    BOOL AlphaBlendMask(const CQVMemBitmap* mask, const CQVMemBitmap* src, const RECT* rect, int x, int y);
    BOOL AlphaBlendKeyed(const CQVMemBitmap* src, const RECT* rect, int x, int y, int level);
    BOOL AddBlend(const CQVMemBitmap* src, const RECT* rect, int x, int y);
    // The source scaled by level / 256 (level's low byte), then added.
    BOOL AddBlendLevel(const CQVMemBitmap* src, const RECT* rect, int x, int y, int level);
    BOOL AddBlendKeyed(const CQVMemBitmap* src, const RECT* rect, int x, int y);
    BOOL AddBlendLevelKeyed(const CQVMemBitmap* src, const RECT* rect, int x, int y, int level);

    // The source area turned by angle degrees (counter-clockwise on the
    // screen, as BlitRotate90), its top-left corner at (x, y); corners not
    // covered get background. 0 also for NaN or infinite angles.
    BOOL DrawRotated(double angle, const CQVMemBitmap* src, const RECT* rect, int x, int y, COLORREF background);
    // Width (low 16 bits) and height (high 16 bits) of a rotated area.
    static DWORD RotatedSize(double angle, int width, int height);

    // Stretches a part of the source into a rectangle of this surface (NULL:
    // the whole of either); the clip rectangle does not apply.
    BOOL StretchBlit(const CQVMemBitmap* src, const RECT* srcRect, const RECT* dstRect);

    // ---- GDI side -----------------------------------------------------------

    // A memory DC holding a copy of the pixels; ReleaseDC copies them back.
    // Only one DC is out at a time.
    HDC GetDC();
    BOOL ReleaseDC(HDC dc);

    // A part of the surface to a device at (x, y); the surface's own origin
    // and clip rectangle apply to the device position. 1 when every row was
    // drawn.
    BOOL Draw(HDC dc, const RECT* rect, int x, int y) const;
    // The same leaving key pixels of the device untouched; Draw without key.
    BOOL DrawTransparent(HDC dc, const RECT* rect, int x, int y) const;
    // A part of the surface (NULL: all) stretched to a device rectangle (NULL:
    // the surface's size at (0, 0)).
    BOOL StretchDraw(HDC dc, const RECT* srcRect, const RECT* dstRect) const;
    // A new screen-compatible bitmap of the picture; the caller owns it.
    HBITMAP CreateBitmap() const;
    // A copy of a bitmap's picture; the caller keeps the bitmap.
    BOOL LoadFromBitmap(HBITMAP bitmap);
    // A .bmp file; malformed files are refused.
    BOOL LoadFromBmpFile(HINSTANCE instance, LPCTSTR path);
    // A picture (GIF, PNG, BMP or JPEG) from a module's resource, or with no
    // module from the file `name`; from an encoded block in memory. These
    // live with the image decoder (library mardavel_image).
    BOOL LoadFromResourceOrFile(HMODULE module, LPCSTR name, LPCSTR type, WORD language);
    BOOL LoadFromFile(LPCSTR path) { return LoadFromResourceOrFile(NULL, path, NULL, 0); }
    BOOL LoadFromEncoded(const BYTE* data, DWORD size);

    // ---- DIB routines ---------------------------------------------------------

    // A top-down DIB section of 1, 2, 4, 8, 16 (565), 24 or 32 bits; bits
    // receives its pixels, or when bits is NULL they are cleared.
    static HBITMAP CreateDIBSectionEx(int width, int height, int bitsPerPixel, void** bits);
    // Colour entries of a BITMAPINFOHEADER or BITMAPCOREHEADER.
    static UINT DibNumColors(const void* header);
    // Bytes of its colour table.
    static UINT DibPaletteSize(const void* header);

    // The depth of a device as the transparent drawing sees it. Tests
    // replace it to reach the 16-bit path on devices of other depths.
    typedef int (*DeviceDepthQuery)(HDC dc);
    static DeviceDepthQuery SetDeviceDepthQuery(DeviceDepthQuery query);  // NULL: GetDeviceCaps

protected:
    qvsurf::SurfaceView View() const;
    qvsurf::DestRules Rules() const;
    // Key as a raw pixel (mode 1: the colour truncated; mode 2: the first pixel).
    WORD KeyPixel() const;

    // One surface-to-surface operation on a clipped area, with the mask's
    // view (AlphaBlendMask only), the level and the source's key as a pixel.
    struct OpArgs
    {
        qvsurf::SurfaceView mask;
        int level;
        WORD key;
    };
    typedef void (*AreaOp)(const qvsurf::SurfaceView& dst, const qvsurf::SurfaceView& src, const qvsurf::BlitArea& a,
                           const OpArgs& args);
    BOOL RunOp(qvsurf::Mapping mapping, bool withRules, const CQVMemBitmap* src, const CQVMemBitmap* mask,
               const RECT* rect, int x, int y, AreaOp op, OpArgs args);
    BOOL DrawRaw(HDC dc) const;
    BOOL DrawKeyed16(HDC dc, const qvsurf::BlitArea& a) const;
    BOOL DrawMasked(HDC dc, const qvsurf::BlitArea& a) const;
    BOOL ClipForDevice(const RECT* rect, int x, int y, qvsurf::BlitArea& a) const;

    struct Dib16Header
    {
        BITMAPINFOHEADER info;
        DWORD masks[3];
    };

    int m_nWidth;
    int m_nHeight;
    UINT m_nStride;
    WORD* m_pBits;
    Dib16Header m_header;
    HDC m_hDC;
    HGDIOBJ m_hOldBitmap;
    WORD* m_pDibBits;
    RECT m_rcClip;
    POINT m_ptOrigin;
    COLORREF m_crKey;
    UINT m_nKeyMode;
};

// The same class under its other name.
typedef CQVMemBitmap CQVDib16;
