// ImagePixels.cpp - clipping and pixel operations of the image object.
#include "ImagePixels.h"

#include <string.h>

namespace imgpix {

Rect Intersect(const Rect& a, const Rect& b)
{
    Rect r;
    r.left = a.left > b.left ? a.left : b.left;
    r.top = a.top > b.top ? a.top : b.top;
    r.right = a.right < b.right ? a.right : b.right;
    r.bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
    return r;
}

bool ClipFrame(const Rect* source, int srcWidth, int srcHeight, int dstWidth, int dstHeight, const DestRules& rules,
               int x, int y, Rect* dst, Rect* src)
{
    const Rect srcBounds = {0, 0, srcWidth, srcHeight};
    const Rect dstBounds = {0, 0, dstWidth, dstHeight};
    const Rect s0 = source ? *source : srcBounds;
    if (s0.IsEmpty())
        return false;
    // Positions stay far from overflow: pictures are at most 65535 a side.
    const long long left = static_cast<long long>(x) + rules.originX;
    const long long top = static_cast<long long>(y) + rules.originY;
    if (left < -0x40000000LL || left > 0x40000000LL || top < -0x40000000LL || top > 0x40000000LL)
        return false;
    const Rect d0 = {static_cast<int>(left), static_cast<int>(top), static_cast<int>(left) + s0.Width(),
                     static_cast<int>(top) + s0.Height()};

    const Rect s1 = Intersect(s0, srcBounds);
    if (s1.IsEmpty() || Intersect(d0, dstBounds).IsEmpty())
        return false;
    // D's edges follow S's, then D is cut to the destination and the clip.
    Rect d = {d0.left + (s1.left - s0.left), d0.top + (s1.top - s0.top), d0.right + (s1.right - s0.right),
              d0.bottom + (s1.bottom - s0.bottom)};
    Rect d1 = Intersect(d, dstBounds);
    if (d1.IsEmpty())
        return false;
    if (!rules.clip.IsEmpty()) {
        d1 = Intersect(d1, rules.clip);
        if (d1.IsEmpty())
            return false;
    }
    // S's edges follow D's.
    Rect s = {s1.left + (d1.left - d.left), s1.top + (d1.top - d.top), s1.right + (d1.right - d.right),
              s1.bottom + (d1.bottom - d.bottom)};
    s = Intersect(s, srcBounds);
    if (s.IsEmpty() || s.Width() != d1.Width() || s.Height() != d1.Height())
        return false;
    *dst = d1;
    *src = s;
    return true;
}

Rect SourceFor(const Rect& dst, const Rect& src, const Rect& part)
{
    return Rect{src.left + (part.left - dst.left), src.top + (part.top - dst.top), src.right + (part.right - dst.right),
                src.bottom + (part.bottom - dst.bottom)};
}

namespace {

bool Inside(const View& v, const Rect& r)
{
    return v.HasPixels() && !r.IsEmpty() && r.left >= 0 && r.top >= 0 && r.right <= v.width && r.bottom <= v.height;
}

bool SameSize(const Rect& a, const Rect& b) { return a.Width() == b.Width() && a.Height() == b.Height(); }

// Destinations the pixel-by-pixel operations write: 24 or 32 bits.
bool WritableTrueColour(const View& v) { return v.bpp == 24 || v.bpp == 32; }
// Sources they read: 8 bits through the palette, 24 or 32 bits.
bool ReadableSource(const View& v) { return v.typeOk && (v.bpp == 8 || v.bpp == 24 || v.bpp == 32); }

struct Pixel
{
    uint8_t b, g, r, a;
};

// The source pixel at column x of a row; alpha 255 unless the picture has
// per-pixel alpha.
inline Pixel ReadPixel(const View& v, const uint8_t* row, int x)
{
    Pixel p;
    if (v.bpp == 8) {
        const uint8_t index = row[x];
        if (index < v.paletteSize) {
            const Bgra& c = v.palette[index];
            p.b = c.blue;
            p.g = c.green;
            p.r = c.red;
        } else {
            p.b = p.g = p.r = 0;
        }
        p.a = 255;
        if (v.transparent && v.alphaTable && index < v.alphaCount)
            p.a = v.alphaTable[index];
        return p;
    }
    const int n = v.bpp / 8;
    const uint8_t* q = row + x * n;
    p.b = q[0];
    p.g = q[1];
    p.r = q[2];
    p.a = (n == 4) ? q[3] : 255;
    return p;
}

inline bool IsBackground(const View& v, const Pixel& p)
{
    return p.b == v.background.blue && p.g == v.background.green && p.r == v.background.red;
}

inline uint8_t Mix(int s, int d, int weight) { return static_cast<uint8_t>(((s - d) * weight + d * 256) >> 8); }

// Calls f(destination pixel bytes, source pixel) for every pixel of the area.
template <class F>
int ForEachPixel(const View& dst, const View& src, const Rect& d, const Rect& s, F f)
{
    if (!WritableTrueColour(dst) || !ReadableSource(src))
        return 0;
    const int dn = dst.bpp / 8;
    const int width = d.Width();
    const int height = d.Height();
    for (int row = 0; row < height; row++) {
        uint8_t* out = dst.Row(d.top + row) + d.left * dn;
        const uint8_t* in = src.Row(s.top + row);
        for (int col = 0; col < width; col++, out += dn)
            f(out, ReadPixel(src, in, s.left + col));
    }
    return 1;
}

bool Valid(const View& dst, const View& src, const Rect& d, const Rect& s)
{
    return Inside(dst, d) && Inside(src, s) && SameSize(d, s);
}

}  // namespace

int OpaqueCopy(const View& dst, const View& src, const Rect& d, const Rect& s)
{
    if (!Valid(dst, src, d, s))
        return 0;
    if (dst.bpp == src.bpp && dst.bpp % 8 == 0) {
        const int n = dst.bpp / 8;
        const size_t bytes = static_cast<size_t>(d.Width()) * n;
        for (int row = 0; row < d.Height(); row++)
            memmove(dst.Row(d.top + row) + d.left * n, src.Row(s.top + row) + s.left * n, bytes);
        return 1;
    }
    return ForEachPixel(dst, src, d, s, [](uint8_t* out, const Pixel& p) {
        out[0] = p.b;
        out[1] = p.g;
        out[2] = p.r;
    });
}

int AlphaCopy(const View& dst, const View& src, const Rect& d, const Rect& s, int level)
{
    if (!Valid(dst, src, d, s) || !(src.bpp == 8 || src.bpp == 32))
        return 0;
    return ForEachPixel(dst, src, d, s, [level](uint8_t* out, const Pixel& p) {
        const int alpha = (p.a * level) >> 8;
        if (alpha == 0)
            return;
        out[0] = Mix(p.b, out[0], alpha);
        out[1] = Mix(p.g, out[1], alpha);
        out[2] = Mix(p.r, out[2], alpha);
    });
}

int KeyedCopy(const View& dst, const View& src, const Rect& d, const Rect& s)
{
    if (!Valid(dst, src, d, s))
        return 0;
    if (src.transparent && AlphaCopy(dst, src, d, s, 256))
        return 1;
    if (src.hasBackground) {
        return ForEachPixel(dst, src, d, s, [&src](uint8_t* out, const Pixel& p) {
            if (IsBackground(src, p))
                return;
            out[0] = p.b;
            out[1] = p.g;
            out[2] = p.r;
        });
    }
    return OpaqueCopy(dst, src, d, s);
}

int AlphaBlend(const View& dst, const View& src, const Rect& d, const Rect& s, int level)
{
    if (level == 0)
        return 1;
    if (level >= 255)
        return OpaqueCopy(dst, src, d, s);
    if (!Valid(dst, src, d, s))
        return 0;
    return ForEachPixel(dst, src, d, s, [level](uint8_t* out, const Pixel& p) {
        out[0] = Mix(p.b, out[0], level);
        out[1] = Mix(p.g, out[1], level);
        out[2] = Mix(p.r, out[2], level);
    });
}

int KeyedAlphaBlend(const View& dst, const View& src, const Rect& d, const Rect& s, int level)
{
    if (level == 0)
        return 1;
    if (level >= 255)
        return KeyedCopy(dst, src, d, s);
    if (!Valid(dst, src, d, s))
        return 0;
    if (src.transparent && AlphaCopy(dst, src, d, s, level))
        return 1;
    if (src.hasBackground) {
        return ForEachPixel(dst, src, d, s, [&src, level](uint8_t* out, const Pixel& p) {
            if (IsBackground(src, p))
                return;
            out[0] = Mix(p.b, out[0], level);
            out[1] = Mix(p.g, out[1], level);
            out[2] = Mix(p.r, out[2], level);
        });
    }
    return AlphaBlend(dst, src, d, s, level);
}

int AddBlend(const View& dst, const View& src, const Rect& d, const Rect& s, int level)
{
    if (level == 0 || level > 256)
        return 1;
    if (!Valid(dst, src, d, s))
        return 0;
    return ForEachPixel(dst, src, d, s, [level](uint8_t* out, const Pixel& p) {
        const uint8_t channels[3] = {p.b, p.g, p.r};
        for (int c = 0; c < 3; c++) {
            if (channels[c] == 0)
                continue;
            const int v = ((channels[c] * level) & 0xFFFF) >> 8;
            if (v == 0)
                continue;
            const int sum = out[c] + v;
            out[c] = static_cast<uint8_t>(sum > 255 ? 255 : sum);
        }
    });
}

int RunOp(Op op, const View& dst, const View& src, const Rect& d, const Rect& s, int level)
{
    level &= 0xFFFF;  // the level is a 16-bit argument
    switch (op) {
    case Op::Opaque: return OpaqueCopy(dst, src, d, s);
    case Op::Keyed: return KeyedCopy(dst, src, d, s);
    case Op::Alpha: return AlphaBlend(dst, src, d, s, level);
    case Op::KeyedAlpha: return KeyedAlphaBlend(dst, src, d, s, level);
    case Op::Additive: return AddBlend(dst, src, d, s, level);
    }
    return 0;
}

int MaskedDraw(const View& dst, const View& src, const View& mask, const Rect& d, const Rect& s, const Rect& m)
{
    if (!Valid(dst, src, d, s) || !Inside(mask, m) || !SameSize(s, m) || mask.bpp != 8)
        return 0;
    if (!WritableTrueColour(dst) || !ReadableSource(src))
        return 0;
    const int dn = dst.bpp / 8;
    for (int row = 0; row < d.Height(); row++) {
        uint8_t* out = dst.Row(d.top + row) + d.left * dn;
        const uint8_t* in = src.Row(s.top + row);
        const uint8_t* weights = mask.Row(m.top + row) + m.left;
        for (int col = 0; col < d.Width(); col++, out += dn) {
            const uint8_t index = weights[col];
            const int a = (index < mask.paletteSize) ? mask.palette[index].blue : (mask.paletteSize ? 0 : index);
            if (src.bpp == 8 && a == 0)
                continue;
            const Pixel p = ReadPixel(src, in, s.left + col);
            out[0] = static_cast<uint8_t>((p.b * a + out[0] * (255 - a)) >> 8);
            out[1] = static_cast<uint8_t>((p.g * a + out[1] * (255 - a)) >> 8);
            out[2] = static_cast<uint8_t>((p.r * a + out[2] * (255 - a)) >> 8);
        }
    }
    return 1;
}

int Darken(const View& dst, const View& mask, const Rect& d, const Rect& m)
{
    if (!Inside(dst, d) || !Inside(mask, m) || !SameSize(d, m) || mask.bpp != 8 || !WritableTrueColour(dst))
        return 0;
    const int dn = dst.bpp / 8;
    for (int row = 0; row < d.Height(); row++) {
        uint8_t* out = dst.Row(d.top + row) + d.left * dn;
        const uint8_t* weights = mask.Row(m.top + row) + m.left;
        for (int col = 0; col < d.Width(); col++, out += dn) {
            const int w = weights[col];
            out[0] = static_cast<uint8_t>((out[0] * w) >> 8);
            out[1] = static_cast<uint8_t>((out[1] * w) >> 8);
            out[2] = static_cast<uint8_t>((out[2] * w) >> 8);
        }
    }
    return 1;
}

}  // namespace imgpix
