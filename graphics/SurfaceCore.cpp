// SurfaceCore.cpp - pixel work of the 16-bit surface on plain memory.
#include "SurfaceCore.h"

#include "Pixel565.h"

#include <math.h>
#include <string.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <utility>

namespace qvsurf {

namespace {

// Rectangles in 64 bits so that positions near the ends of the int range
// cannot overflow while they are moved about.
struct Rect64
{
    int64_t l, t, r, b;

    bool Empty() const { return r <= l || b <= t; }
};

Rect64 From(const PixRect& r) { return Rect64{r.left, r.top, r.right, r.bottom}; }

PixRect To(const Rect64& r)
{
    return PixRect{static_cast<int32_t>(r.l), static_cast<int32_t>(r.t), static_cast<int32_t>(r.r),
                   static_cast<int32_t>(r.b)};
}

Rect64 Intersect(const Rect64& a, const Rect64& b)
{
    return Rect64{std::max(a.l, b.l), std::max(a.t, b.t), std::min(a.r, b.r), std::min(a.b, b.b)};
}

bool ClipBlit64(const Rect64& wanted, int32_t srcW, int32_t srcH, int64_t x, int64_t y, int32_t dstW,
                int32_t dstH, const DestRules& rules, BlitArea& out)
{
    const Rect64 srcBounds{0, 0, srcW, srcH};
    const Rect64 dstBounds{0, 0, dstW, dstH};
    const int64_t left = x + rules.originX, top = y + rules.originY;
    Rect64 dst{left, top, left + (wanted.r - wanted.l), top + (wanted.b - wanted.t)};

    Rect64 src = Intersect(wanted, srcBounds);
    if (src.Empty() || Intersect(dst, dstBounds).Empty())
        return false;
    // The destination loses what the source lost.
    dst.l += src.l - wanted.l;
    dst.t += src.t - wanted.t;
    dst.r += src.r - wanted.r;
    dst.b += src.b - wanted.b;

    Rect64 visible = Intersect(dst, dstBounds);
    if (visible.Empty())
        return false;
    if (!rules.clip.IsEmpty()) {
        visible = Intersect(visible, From(rules.clip));
        if (visible.Empty())
            return false;
    }
    // And the source loses what the destination lost.
    src.l += visible.l - dst.l;
    src.t += visible.t - dst.t;
    src.r += visible.r - dst.r;
    src.b += visible.b - dst.b;
    src = Intersect(src, srcBounds);
    if (src.Empty())
        return false;

    out.src = To(src);
    out.dstX = static_cast<int32_t>(visible.l);
    out.dstY = static_cast<int32_t>(visible.t);
    return true;
}

// A source rectangle seen in the coordinates of the mapped picture, and
// back. The mapped picture of a quarter turn is srcH wide and srcW high.
Rect64 ToMapped(Mapping m, const Rect64& r, int64_t sw, int64_t sh)
{
    switch (m) {
    case Mapping::Mirror: return Rect64{sw - r.r, r.t, sw - r.l, r.b};
    case Mapping::Flip: return Rect64{r.l, sh - r.b, r.r, sh - r.t};
    case Mapping::Rotate180: return Rect64{sw - r.r, sh - r.b, sw - r.l, sh - r.t};
    case Mapping::Rotate90: return Rect64{r.t, sw - r.r, r.b, sw - r.l};
    case Mapping::Rotate270: return Rect64{sh - r.b, r.l, sh - r.t, r.r};
    case Mapping::Plain: break;
    }
    return r;
}

Rect64 FromMapped(Mapping m, const Rect64& r, int64_t sw, int64_t sh)
{
    switch (m) {
    case Mapping::Mirror:
    case Mapping::Flip:
    case Mapping::Rotate180: return ToMapped(m, r, sw, sh);  // these are their own inverse
    case Mapping::Rotate90: return Rect64{sw - r.b, r.l, sw - r.t, r.r};
    case Mapping::Rotate270: return Rect64{r.t, sh - r.r, r.b, sh - r.l};
    case Mapping::Plain: break;
    }
    return r;
}

bool IsQuarterTurn(Mapping m) { return m == Mapping::Rotate90 || m == Mapping::Rotate270; }

inline uint32_t Load32(const uint16_t* p)
{
    uint32_t v;
    memcpy(&v, p, sizeof v);
    return v;
}

inline void Store32(uint16_t* p, uint32_t v) { memcpy(p, &v, sizeof v); }

inline const uint16_t* SrcRow(const SurfaceView& src, const BlitArea& a, int32_t i)
{
    return src.Row(a.src.top + i) + a.src.left;
}

inline uint16_t* DstRow(const SurfaceView& dst, const BlitArea& a, int32_t i) { return dst.Row(a.dstY + i) + a.dstX; }

// Runs pair(s, d) over two pixels at a time and single(s, d) over the last
// pixel of an odd row.
template <class PairFn, class SingleFn>
void ForEachPair(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a, PairFn pair, SingleFn single)
{
    const int32_t w = a.src.Width(), h = a.src.Height();
    for (int32_t i = 0; i < h; ++i) {
        const uint16_t* s = SrcRow(src, a, i);
        uint16_t* d = DstRow(dst, a, i);
        int32_t j = 0;
        for (; j + 1 < w; j += 2)
            Store32(d + j, pair(Load32(s + j), Load32(d + j)));
        if (j < w)
            d[j] = single(s[j], d[j]);
    }
}

// The same with a key: pixels equal to it are left out; a pair of which one
// pixel is the key has its other pixel done alone.
template <class PairFn, class SingleFn>
void ForEachPairKeyed(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a, uint16_t key, PairFn pair,
                      SingleFn single)
{
    const int32_t w = a.src.Width(), h = a.src.Height();
    for (int32_t i = 0; i < h; ++i) {
        const uint16_t* s = SrcRow(src, a, i);
        uint16_t* d = DstRow(dst, a, i);
        int32_t j = 0;
        for (; j + 1 < w; j += 2) {
            const bool lowKey = s[j] == key, highKey = s[j + 1] == key;
            if (lowKey && highKey)
                continue;
            if (lowKey)
                d[j + 1] = single(s[j + 1], d[j + 1]);
            else if (highKey)
                d[j] = single(s[j], d[j]);
            else
                Store32(d + j, pair(Load32(s + j), Load32(d + j)));
        }
        if (j < w && s[j] != key)
            d[j] = single(s[j], d[j]);
    }
}

}  // namespace

bool ClipBlit(const PixRect& srcRect, int32_t srcW, int32_t srcH, int32_t x, int32_t y, int32_t dstW,
              int32_t dstH, const DestRules& rules, BlitArea& out)
{
    return ClipBlit64(From(srcRect), srcW, srcH, x, y, dstW, dstH, rules, out);
}

bool ClipMapped(Mapping mapping, const PixRect& srcRect, int32_t srcW, int32_t srcH, int32_t x, int32_t y,
                int32_t dstW, int32_t dstH, const DestRules& rules, BlitArea& out)
{
    const bool turned = IsQuarterTurn(mapping);
    const int32_t mappedW = turned ? srcH : srcW, mappedH = turned ? srcW : srcH;
    BlitArea mapped;
    if (!ClipBlit64(ToMapped(mapping, From(srcRect), srcW, srcH), mappedW, mappedH, x, y, dstW, dstH, rules,
                    mapped))
        return false;
    out.src = To(FromMapped(mapping, From(mapped.src), srcW, srcH));
    out.dstX = mapped.dstX;
    out.dstY = mapped.dstY;
    return true;
}

bool ClipStretch(PixRect& srcRect, int32_t srcW, int32_t srcH, PixRect& dstRect, int32_t dstW, int32_t dstH,
                 int32_t originX, int32_t originY)
{
    if (srcRect.IsEmpty() || dstRect.IsEmpty())
        return false;
    const Rect64 srcBounds{0, 0, srcW, srcH}, dstBounds{0, 0, dstW, dstH};
    const double sx = static_cast<double>(srcRect.Width()) / dstRect.Width();
    const double sy = static_cast<double>(srcRect.Height()) / dstRect.Height();

    const Rect64 dst{static_cast<int64_t>(dstRect.left) + originX, static_cast<int64_t>(dstRect.top) + originY,
                     static_cast<int64_t>(dstRect.right) + originX, static_cast<int64_t>(dstRect.bottom) + originY};
    Rect64 dstCut = Intersect(dst, dstBounds);
    if (dstCut.Empty())
        return false;
    const Rect64 src0 = From(srcRect);
    Rect64 src{src0.l + static_cast<int64_t>((dstCut.l - dst.l) * sx), src0.t + static_cast<int64_t>((dstCut.t - dst.t) * sy),
               src0.r + static_cast<int64_t>((dstCut.r - dst.r) * sx), src0.b + static_cast<int64_t>((dstCut.b - dst.b) * sy)};
    const Rect64 srcCut = Intersect(src, srcBounds);
    if (srcCut.Empty())
        return false;
    dstCut.l += static_cast<int64_t>((srcCut.l - src.l) / sx);
    dstCut.t += static_cast<int64_t>((srcCut.t - src.t) / sy);
    dstCut.r += static_cast<int64_t>((srcCut.r - src.r) / sx);
    dstCut.b += static_cast<int64_t>((srcCut.b - src.b) / sy);
    dstCut = Intersect(dstCut, dstBounds);
    if (dstCut.Empty())
        return false;
    srcRect = To(srcCut);
    dstRect = To(dstCut);
    return true;
}

bool ClampArea(const PixRect* area, int32_t width, int32_t height, PixRect& out)
{
    out = area ? *area : PixRect{0, 0, width, height};
    out.left = std::max(out.left, 0);
    out.top = std::max(out.top, 0);
    out.right = std::min(out.right, width);
    out.bottom = std::min(out.bottom, height);
    return !out.IsEmpty();
}

// ---- Copies -------------------------------------------------------------------

void CopyPlain(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a)
{
    const int32_t h = a.src.Height();
    const size_t bytes = static_cast<size_t>(a.src.Width()) * 2;
    // Whole rows of pictures laid out alike are one block.
    if (a.src.left == 0 && a.dstX == 0 && a.src.Width() == src.width && src.width == dst.width &&
        src.stride == dst.stride) {
        memmove(DstRow(dst, a, 0), SrcRow(src, a, 0), static_cast<size_t>(src.stride) * (h - 1) + bytes);
        return;
    }
    // Within one picture a copy downwards runs from the bottom row up.
    const bool upwards = dst.bits == src.bits && a.dstY > a.src.top;
    for (int32_t k = 0; k < h; ++k) {
        const int32_t i = upwards ? h - 1 - k : k;
        memmove(DstRow(dst, a, i), SrcRow(src, a, i), bytes);
    }
}

void CopyKeyedRowPortable(uint16_t* d, const uint16_t* s, int32_t n, uint16_t key)
{
    // Four pixels to a 64-bit word: a lane of s ^ key is non-zero exactly
    // when its pixel is drawn; the sum below sets the lane's top bit then
    // (lanes never carry into each other: 0x7FFF + 0x7FFF < 0x10000).
    const uint64_t keys = uint64_t(key) * 0x0001000100010001ull;
    const uint64_t low15 = 0x7FFF7FFF7FFF7FFFull;
    int32_t j = 0;
    for (; j + 4 <= n; j += 4) {
        uint64_t sw, dw;
        memcpy(&sw, s + j, sizeof(sw));
        memcpy(&dw, d + j, sizeof(dw));
        const uint64_t x = sw ^ keys;
        const uint64_t drawn = ((x | ((x & low15) + low15)) >> 15) & 0x0001000100010001ull;
        const uint64_t mask = drawn * 0xFFFF;
        dw = (sw & mask) | (dw & ~mask);
        memcpy(d + j, &dw, sizeof(dw));
    }
    for (; j < n; ++j)
        if (s[j] != key)
            d[j] = s[j];
}

void CopyKeyedRow(uint16_t* d, const uint16_t* s, int32_t n, uint16_t key)
{
#if defined(__SSE2__)
    // Eight pixels at a time: the key lanes keep the destination's pixel.
    const __m128i keys = _mm_set1_epi16(static_cast<short>(key));
    int32_t j = 0;
    for (; j + 8 <= n; j += 8) {
        const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + j));
        const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + j));
        const __m128i isKey = _mm_cmpeq_epi16(sv, keys);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + j),
                         _mm_or_si128(_mm_and_si128(isKey, dv), _mm_andnot_si128(isKey, sv)));
    }
    for (; j < n; ++j)
        if (s[j] != key)
            d[j] = s[j];
#else
    CopyKeyedRowPortable(d, s, n, key);
#endif
}

void CopyKeyed(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a, uint16_t key)
{
    const int32_t w = a.src.Width(), h = a.src.Height();
    // Rows of one surface may overlap: pixel by pixel, as the rows go.
    const bool oneSurface = dst.bits == src.bits;
    for (int32_t i = 0; i < h; ++i) {
        const uint16_t* s = SrcRow(src, a, i);
        uint16_t* d = DstRow(dst, a, i);
        if (!oneSurface) {
            CopyKeyedRow(d, s, w, key);
            continue;
        }
        for (int32_t j = 0; j < w; ++j)
            if (s[j] != key)
                d[j] = s[j];
    }
}

void CopyMapped(Mapping mapping, const SurfaceView& dst, const SurfaceView& src, const BlitArea& a)
{
    const int32_t w = a.src.Width(), h = a.src.Height();
    const int32_t sx = a.src.left, sy = a.src.top;
    switch (mapping) {
    case Mapping::Plain:
        CopyPlain(dst, src, a);
        return;
    case Mapping::Mirror:
    case Mapping::Flip:
    case Mapping::Rotate180: {
        const bool reverseRow = mapping != Mapping::Flip;
        const bool reverseRows = mapping != Mapping::Mirror;
        for (int32_t i = 0; i < h; ++i) {
            const uint16_t* s = src.Row(reverseRows ? sy + h - 1 - i : sy + i) + sx;
            uint16_t* d = DstRow(dst, a, i);
            if (reverseRow)
                std::reverse_copy(s, s + w, d);
            else
                memcpy(d, s, static_cast<size_t>(w) * 2);
        }
        return;
    }
    case Mapping::Rotate90:
    case Mapping::Rotate270:
        // The destination area is h wide and w high.
        for (int32_t i = 0; i < w; ++i) {
            uint16_t* d = dst.Row(a.dstY + i) + a.dstX;
            const int32_t column = mapping == Mapping::Rotate90 ? sx + w - 1 - i : sx + i;
            for (int32_t j = 0; j < h; ++j) {
                const int32_t row = mapping == Mapping::Rotate90 ? sy + j : sy + h - 1 - j;
                d[j] = src.Row(row)[column];
            }
        }
        return;
    }
}

// ---- Blends -----------------------------------------------------------------

void AlphaBlend(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a, int level)
{
    ForEachPair(
        dst, src, a, [level](uint32_t s, uint32_t d) { return px565::BlendPair(s, d, level); },
        [level](uint16_t s, uint16_t d) { return px565::BlendSingle(s, d, level & 0xFF); });
}

void AlphaBlendKeyed(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a, int level, uint16_t key)
{
    ForEachPairKeyed(
        dst, src, a, key, [level](uint32_t s, uint32_t d) { return px565::BlendPair(s, d, level); },
        [level](uint16_t s, uint16_t d) { return px565::BlendSingle(s, d, level & 0xFF); });
}

void AlphaBlendMask(const SurfaceView& dst, const SurfaceView& src, const SurfaceView& mask, const BlitArea& a)
{
    const int32_t w = a.src.Width(), h = a.src.Height();
    for (int32_t i = 0; i < h; ++i) {
        const uint16_t* s = SrcRow(src, a, i);
        const uint16_t* m = SrcRow(mask, a, i);
        uint16_t* d = DstRow(dst, a, i);
        for (int32_t j = 0; j < w; ++j)
            d[j] = px565::BlendMasked(s[j], d[j], m[j]);
    }
}

void AddBlend(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a)
{
    ForEachPair(dst, src, a, px565::AddPair, px565::AddSingle);
}

void AddBlendKeyed(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a, uint16_t key)
{
    ForEachPairKeyed(dst, src, a, key, px565::AddPair, px565::AddSingle);
}

void AddBlendLevel(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a, int level)
{
    ForEachPair(
        dst, src, a, [level](uint32_t s, uint32_t d) { return px565::AddLevelPair(s, d, level); },
        [level](uint16_t s, uint16_t d) { return px565::AddLevelSingle(s, d, level); });
}

void AddBlendLevelKeyed(const SurfaceView& dst, const SurfaceView& src, const BlitArea& a, int level, uint16_t key)
{
    ForEachPairKeyed(
        dst, src, a, key, [level](uint32_t s, uint32_t d) { return px565::AddLevelPair(s, d, level); },
        [level](uint16_t s, uint16_t d) { return px565::AddLevelSingle(s, d, level); });
}

void BlendColor(const SurfaceView& surf, const PixRect& area, uint16_t colour, int level, const uint16_t* key)
{
    const uint32_t colourPair = px565::PairOf(colour);
    const int a = level & 0xFF;
    const int32_t w = area.Width();
    for (int32_t y = area.top; y < area.bottom; ++y) {
        uint16_t* d = surf.Row(y) + area.left;
        int32_t j = 0;
        for (; j + 1 < w; j += 2) {
            const bool lowKey = key && d[j] == *key, highKey = key && d[j + 1] == *key;
            if (lowKey && highKey)
                continue;
            if (lowKey)
                d[j + 1] = px565::BlendSingle(colour, d[j + 1], a);
            else if (highKey)
                d[j] = px565::BlendSingle(colour, d[j], a);
            else
                Store32(d + j, px565::BlendPair(colourPair, Load32(d + j), a));
        }
        if (j < w && !(key && d[j] == *key))
            d[j] = px565::BlendSingle(colour, d[j], a);
    }
}

// ---- In place -----------------------------------------------------------------

void GrayScale(const SurfaceView& surf, const PixRect& area)
{
    for (int32_t y = area.top; y < area.bottom; ++y) {
        uint16_t* d = surf.Row(y);
        for (int32_t x = area.left; x < area.right; ++x)
            d[x] = px565::Grey(d[x]);
    }
}

void Fill(const SurfaceView& surf, const PixRect& area, uint16_t colour)
{
    for (int32_t y = area.top; y < area.bottom; ++y)
        std::fill(surf.Row(y) + area.left, surf.Row(y) + area.right, colour);
}

void ReplaceColor(const SurfaceView& surf, uint16_t from, uint16_t to)
{
    for (int32_t y = 0; y < surf.height; ++y)
        std::replace(surf.Row(y), surf.Row(y) + surf.width, from, to);
}

// ---- Rotation -----------------------------------------------------------------

namespace {

// The side of a picture: what GDI and the 16-bit packing of RotatedSize hold.
const int32_t kMaxPictureSide = 32767;

// One line of n pixels moved by 'shift' pixels into a line of m pixels:
// each pixel gives the fraction of itself that lies past its new position
// to the next pixel; the line is padded with the background on both ends.
template <class Get, class Put>
void ShearLine(int32_t n, int32_t m, double shift, uint16_t background, Get get, Put put)
{
    const double whole = floor(shift);
    const int32_t base = static_cast<int32_t>(whole);
    const int weight = std::min(255, std::max(0, static_cast<int>((shift - whole) * 256.0)));
    auto fraction = [weight](uint16_t p) { return px565::Low(px565::ScalePair(p, weight)); };

    for (int32_t k = 0; k < m; ++k)
        put(k, background);
    // Per channel the part given away is at most the channel itself and the
    // sum stays within the channel, so plain arithmetic needs no masks.
    uint16_t carried = fraction(background);
    for (int32_t k = 0; k < n; ++k) {
        const uint16_t p = get(k);
        const uint16_t given = fraction(p);
        const int32_t at = base + k;
        if (at >= 0 && at < m)
            put(at, static_cast<uint16_t>(p - given + carried));
        carried = given;
    }
    const int32_t last = base + n;
    if (last >= 0 && last < m)
        put(last, static_cast<uint16_t>(background - fraction(background) + carried));
}

// Shift of line 'index' of 'count' lines when a picture 'from' wide grows to
// 'to' wide under a shear of 'factor': the centres stay on each other.
double LineShift(double factor, int32_t index, int32_t count, int32_t from, int32_t to)
{
    return factor * (index + 0.5 - count / 2.0) + (to - from) / 2.0;
}

void ShearRows(const SurfaceView& src, const SurfaceView& dst, double factor, uint16_t background)
{
    for (int32_t y = 0; y < src.height; ++y) {
        const uint16_t* s = src.Row(y);
        uint16_t* d = dst.Row(y);
        ShearLine(
            src.width, dst.width, LineShift(factor, y, src.height, src.width, dst.width), background,
            [s](int32_t k) { return s[k]; }, [d](int32_t k, uint16_t v) { d[k] = v; });
    }
}

void ShearColumns(const SurfaceView& src, const SurfaceView& dst, double factor, uint16_t background)
{
    for (int32_t x = 0; x < src.width; ++x) {
        ShearLine(
            src.height, dst.height, LineShift(factor, x, src.width, src.height, dst.height), background,
            [&src, x](int32_t k) { return src.Row(k)[x]; }, [&dst, x](int32_t k, uint16_t v) { dst.Row(k)[x] = v; });
    }
}

int32_t SpanOf(double a, double b) { return static_cast<int32_t>(floor(a + b)) + 1; }

}  // namespace

bool OwnedPicture::Allocate(int32_t width, int32_t height)
{
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide)
        return false;
    const uint32_t stride = StrideFor(width);
    pixels.assign(static_cast<size_t>(stride / 2) * static_cast<size_t>(height), 0);
    view = SurfaceView{pixels.data(), width, height, stride};
    return true;
}

bool SplitAngle(double degrees, int& quarterTurns, double& restDegrees)
{
    if (!isfinite(degrees))
        return false;
    double a = fmod(degrees, 360.0);
    if (a < 0)
        a += 360.0;
    if (a >= 360.0)
        a = 0;
    if (a <= 45 || a > 315) {
        quarterTurns = 0;
        restDegrees = a > 315 ? a - 360 : a;
    } else if (a <= 135) {
        quarterTurns = 1;
        restDegrees = a - 90;
    } else if (a <= 225) {
        quarterTurns = 2;
        restDegrees = a - 180;
    } else {
        quarterTurns = 3;
        restDegrees = a - 270;
    }
    return true;
}

namespace {

bool ShearedSize(double restDegrees, int32_t w, int32_t h, int32_t& outW, int32_t& outH)
{
    const double theta = restDegrees * 0.017453292519943295;
    const double c = fabs(cos(theta)), s = fabs(sin(theta));
    const double wide = w * c + h * s, high = h * c + w * s;
    if (wide >= kMaxPictureSide || high >= kMaxPictureSide)
        return false;
    outW = SpanOf(w * c, h * s);
    outH = SpanOf(h * c, w * s);
    return true;
}

}  // namespace

uint32_t RotatedSize(double degrees, int32_t width, int32_t height)
{
    int quarters = 0;
    double rest = 0;
    if (width <= 0 || height <= 0 || !SplitAngle(degrees, quarters, rest))
        return 0;
    if (quarters % 2)
        std::swap(width, height);
    int32_t w = width, h = height;
    if (rest != 0 && !ShearedSize(rest, width, height, w, h))
        return 0;
    return (static_cast<uint32_t>(w) & 0xFFFF) | (static_cast<uint32_t>(h) & 0xFFFF) << 16;
}

bool RotateByShears(const SurfaceView& src, double restDegrees, uint16_t background, OwnedPicture& out)
{
    if (!src.HasPixels())
        return false;
    int32_t outW = 0, outH = 0;
    if (!ShearedSize(restDegrees, src.width, src.height, outW, outH))
        return false;
    // The rotation (x, y) -> (x cos + y sin, y cos - x sin), y pointing down,
    // as rows sheared by tan(theta / 2), columns by -sin(theta), rows again.
    const double theta = restDegrees * 0.017453292519943295;
    const double rowFactor = tan(theta / 2), columnFactor = -sin(theta);
    const int32_t shearedW = SpanOf(src.width, src.height * fabs(rowFactor));

    OwnedPicture first, second;
    if (!first.Allocate(shearedW, src.height) || !second.Allocate(shearedW, outH) || !out.Allocate(outW, outH))
        return false;
    ShearRows(src, first.view, rowFactor, background);
    ShearColumns(first.view, second.view, columnFactor, background);
    ShearRows(second.view, out.view, rowFactor, background);
    return true;
}

}  // namespace qvsurf
