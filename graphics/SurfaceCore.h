// SurfaceCore.h - the pixel work of the 16-bit surface on plain memory:
// clipping, copies, keyed copies, mirrors and quarter turns, alpha, mask and
// additive blends, grey, fills and the three-shear rotation.
//
// A view describes rows of RGB565 pixels, top row first; stride is in bytes.
// Every function writes only inside the destination view and reads only
// inside the source view; areas come already clipped (see ClipBlit and the
// Clip* helpers) unless a function says otherwise.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace qvsurf {

struct PixRect
{
    int32_t left, top, right, bottom;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
};

struct SurfaceView
{
    uint16_t* bits;
    int32_t width;
    int32_t height;
    uint32_t stride;  // bytes per row

    bool HasPixels() const { return bits != nullptr && width > 0 && height > 0; }
    uint16_t* Row(int32_t y) const
    {
        return reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(bits) + static_cast<size_t>(y) * stride);
    }
    PixRect Bounds() const { return PixRect{0, 0, width, height}; }
};

// Bytes per row of a surface: two bytes a pixel, rounded up to four bytes.
inline uint32_t StrideFor(int32_t width) { return (static_cast<uint32_t>(width) * 2 + 3) & ~3u; }

// Where a clipped drawing reads and writes: the source area and the
// destination position of its top-left pixel.
struct BlitArea
{
    PixRect src;
    int32_t dstX;
    int32_t dstY;
};

// Destination rules of a clip: an origin added to the destination position
// and an optional clip rectangle (empty = none) in destination pixels.
struct DestRules
{
    int32_t originX;
    int32_t originY;
    PixRect clip;
};

// The clipping of every surface-to-surface and device drawing. srcRect is
// the wanted source area (may reach outside the source), (x, y) the wanted
// destination position. False when nothing is left to draw.
bool ClipBlit(const PixRect& srcRect, int32_t srcW, int32_t srcH, int32_t x, int32_t y, int32_t dstW,
              int32_t dstH, const DestRules& rules, BlitArea& out);

// The kinds of geometric mapping from source to destination. The clipped
// source area is the one whose pixels land on the visible destination
// pixels, so a mirrored or turned picture at a surface's edge shows the
// same pixels it would show on a larger surface.
enum class Mapping
{
    Plain,      // dst(j, i) = src(sx + j, sy + i)
    Mirror,     // dst(j, i) = src(sx + w - 1 - j, sy + i)
    Flip,       // dst(j, i) = src(sx + j, sy + h - 1 - i)
    Rotate180,  // dst(j, i) = src(sx + w - 1 - j, sy + h - 1 - i)
    Rotate90,   // dst(j, i) = src(sx + w - 1 - i, sy + j); dst is h wide, w high
    Rotate270,  // dst(j, i) = src(sx + i, sy + h - 1 - j); dst is h wide, w high
};

// ClipBlit for a mapping: the clip is made in the coordinates of the mapped
// picture and the result turned back into a source area.
bool ClipMapped(Mapping mapping, const PixRect& srcRect, int32_t srcW, int32_t srcH, int32_t x, int32_t y,
                int32_t dstW, int32_t dstH, const DestRules& rules, BlitArea& out);

// The stretched clip: both rectangles move together at the ratio of their
// sizes. False for empty rectangles or when nothing is left.
bool ClipStretch(PixRect& srcRect, int32_t srcW, int32_t srcH, PixRect& dstRect, int32_t dstW, int32_t dstH,
                 int32_t originX, int32_t originY);

// An area of a surface brought into it the way GrayScale and BlendColor do:
// a negative left or top becomes 0, right and bottom are cut at the edges.
bool ClampArea(const PixRect* area, int32_t width, int32_t height, PixRect& out);

// ---- Copies (area already clipped) ------------------------------------------

// Row-by-row copy; source and destination may be the same view and overlap.
void CopyPlain(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a);
// Source pixels equal to key are skipped.
void CopyKeyed(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a, uint16_t key);
// One row of it (rows that do not overlap): several pixels at a time, with
// SSE2 where the target has it, else four to a 64-bit word
// (CopyKeyedRowPortable, which tests call directly on every target).
void CopyKeyedRow(uint16_t* d, const uint16_t* s, int32_t n, uint16_t key);
void CopyKeyedRowPortable(uint16_t* d, const uint16_t* s, int32_t n, uint16_t key);
// Mirror, flip and turns as described in Mapping. Source and destination
// must not share pixels.
void CopyMapped(Mapping mapping, const SurfaceView& dst, const SurfaceView& src, const BlitArea& a);

// ---- Blends (area already clipped; pairs counted from the area's left) ------

void AlphaBlend(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a, int level);
void AlphaBlendKeyed(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a, int level, uint16_t key);
// The mask is read at the source's coordinates and must cover the area.
void AlphaBlendMask(const SurfaceView& dst, const SurfaceView& src, const SurfaceView& mask, const BlitArea& a);
void AddBlend(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a);
void AddBlendKeyed(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a, uint16_t key);
void AddBlendLevel(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a, int level);
void AddBlendLevelKeyed(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a, int level,
                        uint16_t key);

// Blends every pixel of the area towards colour (weight level). With a key,
// pixels equal to it are left as they are.
void BlendColor(const SurfaceView& surf, const PixRect& area, uint16_t colour, int level, const uint16_t* key);

// ---- In place -----------------------------------------------------------

void GrayScale(const SurfaceView& surf, const PixRect& area);
void Fill(const SurfaceView& surf, const PixRect& area, uint16_t colour);
void ReplaceColor(const SurfaceView& surf, uint16_t from, uint16_t to);

// ---- Rotation -----------------------------------------------------------

// An owned picture: the temporary surfaces of a rotation.
struct OwnedPicture
{
    std::vector<uint16_t> pixels;
    SurfaceView view{nullptr, 0, 0, 0};

    // False when the size is empty or too large; throws std::bad_alloc
    // when memory runs out.
    bool Allocate(int32_t width, int32_t height);
};

// An angle in degrees brought to a quarter turn (0, 90, 180 or 270) and a
// rest in (-45, 45]. False for NaN and infinite angles.
bool SplitAngle(double degrees, int& quarterTurns, double& restDegrees);

// Size of the area a rotation covers: low 16 bits width, high 16 bits
// height; 0 for empty sizes and unusable angles.
uint32_t RotatedSize(double degrees, int32_t width, int32_t height);

// Rotates a whole picture by restDegrees (within (-45, 45], not 0) in the
// direction a quarter turn of Rotate90 takes, into out, whose size is the
// one RotatedSize gives; uncovered pixels get background.
bool RotateByShears(const SurfaceView& src, double restDegrees, uint16_t background, OwnedPicture& out);

}  // namespace qvsurf
