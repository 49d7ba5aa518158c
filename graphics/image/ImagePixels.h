// ImagePixels.h - the pixel work of the image object on plain memory: the
// clipping frame of the image-to-image drawings and their pixel operations
// (opaque, keyed, per-pixel alpha, alpha at a level, keyed alpha, additive,
// masked and darkening draws).
//
// Pictures are held bottom-up, as FreeImage keeps them: image row y
// (counted from the top) is scan line height - 1 - y. Rectangles are in
// top-down image coordinates. Pixels are blue, green, red (and a fourth
// byte at 32 bits); 8-bit pictures are read through their palette.
//
// No Windows or FreeImage call: the image object (ImageObj.h) describes its
// pictures as views and hands them here.
#pragma once

#include <stddef.h>
#include <stdint.h>

namespace imgpix {

struct Rect
{
    int left, top, right, bottom;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

// The common part of a and b; empty (IsEmpty) when they share no pixel.
Rect Intersect(const Rect& a, const Rect& b);

struct Bgra
{
    uint8_t blue, green, red, reserved;
};

struct View
{
    uint8_t* bits = nullptr;  // scan line 0 is the bottom row
    int pitch = 0;            // bytes per scan line
    int width = 0;
    int height = 0;
    int bpp = 0;
    // The picture's pixel type is one the blends read (FreeImage's plain
    // bitmap or 48-bit RGB); others fail wherever pixels are converted.
    bool typeOk = true;
    const Bgra* palette = nullptr;  // 8 bits and below
    int paletteSize = 0;
    // Per-pixel alpha: the transparency table of an 8-bit picture (indexes
    // at or past alphaCount are opaque) or the fourth byte at 32 bits.
    bool transparent = false;
    const uint8_t* alphaTable = nullptr;
    int alphaCount = 0;
    bool hasBackground = false;
    Bgra background = {0, 0, 0, 0};

    bool HasPixels() const { return bits != nullptr && width > 0 && height > 0; }
    Rect Bounds() const { return Rect{0, 0, width, height}; }
    uint8_t* Row(int y) const { return bits + static_cast<ptrdiff_t>(height - 1 - y) * pitch; }
};

// ---- Clipping frame ---------------------------------------------------------------

// Destination rules: an origin added to every destination position and a
// clip rectangle (empty = none).
struct DestRules
{
    int originX = 0;
    int originY = 0;
    Rect clip = {0, 0, 0, 0};
};

// The source area s (its whole bounds when null) drawn with its top-left at
// (x, y) of a destination of dstWidth x dstHeight: cut to both pictures and
// the clip, the source area moving edge for edge with the destination.
// False when nothing is left to draw.
bool ClipFrame(const Rect* source, int srcWidth, int srcHeight, int dstWidth, int dstHeight, const DestRules& rules,
               int x, int y, Rect* dst, Rect* src);

// The piece of (dst, src) that lies in the destination rectangle part (a
// rectangle inside dst): src moves edge for edge with dst.
Rect SourceFor(const Rect& dst, const Rect& src, const Rect& part);

// ---- Pixel operations -------------------------------------------------------------
// Each takes a destination area d and a source area s of the same size,
// both inside their pictures. 0 when the pictures' depths or types do not
// allow the operation (nothing is written then), 1 otherwise. Only blue,
// green and red of a destination pixel are written.

enum class Op
{
    Opaque = 1,
    Keyed = 2,
    Alpha = 3,
    KeyedAlpha = 4,
    Additive = 5,
};

int OpaqueCopy(const View& dst, const View& src, const Rect& d, const Rect& s);
// Transparent sources by their per-pixel alpha, else without the pixels of
// the background colour, else opaque.
int KeyedCopy(const View& dst, const View& src, const Rect& d, const Rect& s);
// Per-pixel alpha scaled by level / 256 (256: unscaled); pixels whose
// alpha comes out 0 are left. 0 for sources not of 8 or 32 bits.
int AlphaCopy(const View& dst, const View& src, const Rect& d, const Rect& s, int level);
// d = ((s - d) * L + d * 256) >> 8; L 0 does nothing, 255 and above copy.
int AlphaBlend(const View& dst, const View& src, const Rect& d, const Rect& s, int level);
int KeyedAlphaBlend(const View& dst, const View& src, const Rect& d, const Rect& s, int level);
// d = min(255, d + (s * L >> 8)); L 0 or above 256 does nothing.
int AddBlend(const View& dst, const View& src, const Rect& d, const Rect& s, int level);
// One of the five by number; level is the 16-bit level argument.
int RunOp(Op op, const View& dst, const View& src, const Rect& d, const Rect& s, int level);

// d = (s * a + d * (255 - a)) >> 8 with a the blue byte of the 8-bit mask's
// palette entry; with an 8-bit source pixels of weight 0 are left. m is the
// mask area, the same size as s.
int MaskedDraw(const View& dst, const View& src, const View& mask, const Rect& d, const Rect& s, const Rect& m);
// d = (d * m) >> 8 with m the raw value of the 8-bit mask.
int Darken(const View& dst, const View& mask, const Rect& d, const Rect& m);

}  // namespace imgpix
