// ImageObj.h - CImageObj: one picture of any depth held as a FreeImage
// bitmap (CQVImage.dll), drawn onto a device context or into another image
// with copy, colour-keyed copy, alpha, keyed alpha and additive blends,
// optionally limited to the dirty areas of the scene.
//
// Conventions:
//   - loads and conversions answer 1 on success and 0 on failure; a failed
//     load leaves the image empty;
//   - drawings answer 0 when either picture is empty, 1 when they drew or
//     when clipping left nothing to draw;
//   - positions given to the image-to-image drawings are moved by the
//     destination's origin and cut to its clip rectangle and, when set, to
//     its dirty areas;
//   - pictures are stored bottom-up: image row y is scan line height-1-y.
// The pixel work itself is in ImagePixels.h.
#pragma once

#include <windows.h>

#include "FreeImage.h"

class CQVRectList;

namespace imgpix {
struct View;
}

class CImageObj
{
public:
    CImageObj();
    virtual ~CImageObj();

    CImageObj(const CImageObj&) = delete;
    CImageObj& operator=(const CImageObj&) = delete;

    // ---- Loading and depth -------------------------------------------------------------

    void Unload();
    // Paths shorter than 4 characters fail without looking at the file.
    BOOL LoadFile(LPCSTR path);
    BOOL LoadMemory(const void* data, DWORD size);
    // With module NULL, name is a file path.
    BOOL LoadResource(HMODULE module, LPCSTR name, LPCSTR type, WORD language);
    // A new picture (pixels cleared); sides of 1 to 65535 pixels.
    BOOL Create(int width, int height, int bpp);
    // A copy of a GDI bitmap's picture at bpp bits (0: the bitmap's own).
    BOOL LoadFromBitmap(HBITMAP bitmap, int bpp);
    // 8, 24 or 32; 0 when the picture already has that depth.
    BOOL ConvertTo(int bpp);
    // A copy of source at 8, 24 or 32 bits; the caller keeps source.
    BOOL CopyFrom(FIBITMAP* source, int bpp);
    // Takes source over when it has exactly bpp bits (0 otherwise, nothing
    // changed); the image then owns it.
    BOOL Attach(FIBITMAP* source, int bpp);

    FIBITMAP* GetBitmap() const { return m_pBitmap; }
    BOOL IsEmpty() const { return m_pBitmap == NULL; }
    int GetWidth() const;
    int GetHeight() const;
    int GetBPP() const;

    // ---- Background colour (the key of the keyed drawings) -----------------------------

    BOOL GetBkColor(COLORREF* colour) const;
    BOOL SetBkColor(COLORREF colour);
    BOOL SetBkColorFromCorner();

    // ---- Clip, origin, dirty areas -----------------------------------------------------

    // NULL empties the clip; otherwise it is cut to the picture (a result
    // that is not a proper rectangle empties it).
    void SetClipRect(const RECT* clip);
    RECT GetClipRect() const { return m_rcClip; }
    void SetOrigin(int x, int y);
    POINT GetOrigin() const { return m_ptOrigin; }
    // Limits drawing into this image to the list's areas (NULL: none); the
    // list stays the caller's. Empties the clip.
    void SetSource(const CQVRectList* areas);
    const CQVRectList* GetSource() const { return m_pAreas; }

    // ---- Pixels --------------------------------------------------------------------------

    // 0 outside the picture.
    COLORREF GetPixelColor(int x, int y) const;
    // Pictures of more than 16 bits only; moved by the origin, cut to the
    // picture. At 32 bits the colour's top byte becomes the fourth byte.
    BOOL FillRect(int x, int y, int width, int height, COLORREF colour);

    // ---- Drawing to a device -------------------------------------------------------------

    // The source area (NULL: all) at (x, y) of the device.
    BOOL DrawToDC(HDC dc, const RECT* source, int x, int y) const;
    // The source area (NULL: all) stretched to the destination (NULL: the
    // picture's size at (0, 0)).
    BOOL StretchToDC(HDC dc, const RECT* destination, const RECT* source) const;
    // A memory DC holding the picture for direct GDI drawing; ReleaseDC
    // writes its pixels back. NULL while another DC is out.
    HDC GetDC();
    BOOL ReleaseDC(HDC dc);

    // ---- Image to image (called on the destination) ------------------------------------

    BOOL BlendDraw1(const CImageObj* source, const RECT* rect, int x, int y);  // opaque
    BOOL BlendDraw2(const CImageObj* source, const RECT* rect, int x, int y);  // keyed
    BOOL BlendDraw3(const CImageObj* source, const RECT* rect, int x, int y, int level);  // alpha
    BOOL BlendDraw4(const CImageObj* source, const RECT* rect, int x, int y, int level);  // keyed alpha
    BOOL BlendDraw5(const CImageObj* source, const RECT* rect, int x, int y, int level);  // additive

    // The source area stretched into the destination area of this image
    // (NULL: whole pictures).
    BOOL StretchToDCEx(const CImageObj* source, const RECT* srcRect, const RECT* dstRect);

    // Source weighted by the mask (same size as the source): d = (s * a +
    // d * (255 - a)) >> 8. The mask is read at 8 bits; a mask of another
    // depth is read through an 8-bit copy and stays as it is.
    BOOL DrawToImage(const CImageObj* source, const CImageObj* mask, const RECT* rect, int x, int y);
    // The same with the mask read from maskRect (NULL: rect), which must be
    // the same size as rect.
    BOOL DrawToImageEx(const CImageObj* source, const CImageObj* mask, const RECT* rect, int x, int y,
                       const RECT* maskRect);
    // Darkens this image by the mask: d = (d * m) >> 8.
    BOOL DrawFrom8Bit(const CImageObj* mask, const RECT* rect, int x, int y);

protected:
    BOOL Normalize();
    void FreeDC();
    // The picture as ImagePixels sees it; false when empty.
    bool MakeView(imgpix::View& view) const;
    BOOL Draw(int op, const CImageObj* source, const RECT* rect, int x, int y, int level);
    BOOL DrawMasked(const CImageObj* source, const CImageObj* mask, const RECT* rect, int x, int y,
                    const RECT* maskRect);

    FIBITMAP* m_pBitmap;
    HDC m_hDC;
    HGDIOBJ m_hOldBitmap;
    BYTE* m_pDibBits;
    RECT m_rcClip;
    POINT m_ptOrigin;
    const CQVRectList* m_pAreas;
    HBITMAP m_hDib;  // the DIB section selected into m_hDC
};
