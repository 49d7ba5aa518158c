// Pixel565.h - arithmetic on RGB565 pixels (red bits 15-11, green 10-5,
// blue 4-0) and on pairs of them packed in one 32-bit word (the pixel at
// the lower address in the low half).
//
// Colours cross interfaces as COLORREF values 0x00BBGGRR. Nothing here
// depends on Windows, so the arithmetic can be checked on plain memory.
#pragma once

#include <stdint.h>

namespace px565 {

// ---- Conversions --------------------------------------------------------

// COLORREF to 565 by truncation of each channel.
inline uint16_t FromColorRef(uint32_t cr)
{
    const uint32_t r = cr & 0xFF, g = (cr >> 8) & 0xFF, b = (cr >> 16) & 0xFF;
    return static_cast<uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
}

// 565 to COLORREF, repeating the high bits in the low ones (0x1F -> 0xFF).
inline uint32_t ToColorRef(uint16_t p)
{
    const uint32_t r5 = p >> 11, g6 = (p >> 5) & 0x3F, b5 = p & 0x1F;
    const uint32_t r = r5 << 3 | r5 >> 2, g = g6 << 2 | g6 >> 4, b = b5 << 3 | b5 >> 2;
    return r | g << 8 | b << 16;
}

inline int Red(uint16_t p) { return p >> 11; }
inline int Green(uint16_t p) { return (p >> 5) & 0x3F; }
inline int Blue(uint16_t p) { return p & 0x1F; }
inline uint16_t Make(int r5, int g6, int b5)
{
    return static_cast<uint16_t>((r5 & 0x1F) << 11 | (g6 & 0x3F) << 5 | (b5 & 0x1F));
}

inline uint32_t PairOf(uint16_t p) { return p | static_cast<uint32_t>(p) << 16; }
inline uint16_t Low(uint32_t pair) { return static_cast<uint16_t>(pair); }
inline uint16_t High(uint32_t pair) { return static_cast<uint16_t>(pair >> 16); }

// floor(v / 256) for signed v.
inline int FloorDiv256(int v) { return v >= 0 ? v >> 8 : -((-v + 255) >> 8); }

// ---- Alpha blend --------------------------------------------------------
// a is the weight of the source, 0..255.

// One pixel: c = d + floor((s - d) * a / 256) per channel.
inline int BlendChannel(int s, int d, int a) { return d + FloorDiv256((s - d) * a); }

inline uint16_t BlendSingle(uint16_t s, uint16_t d, int a)
{
    return Make(BlendChannel(Red(s), Red(d), a), BlendChannel(Green(s), Green(d), a),
                BlendChannel(Blue(s), Blue(d), a));
}

// Two pixels at once: c = d + floor((s - d + 64) * a / 256) - floor(a / 4)
// per channel. The bias keeps every lane positive, so the lanes never
// borrow from each other; the result may differ from the single-pixel
// formula by one step when a is not a multiple of 4.
inline uint32_t BlendLanes(uint32_t s, uint32_t d, uint32_t a)
{
    // s, d: two lanes of at most 6 bits each, at bits 0 and 16.
    const uint32_t q = (((s + 0x00400040u - d) * a) >> 8) & 0x007F007Fu;
    return q + d - (a >> 2) * 0x00010001u;
}

inline uint32_t BlendPair(uint32_t s, uint32_t d, int level)
{
    const uint32_t a = static_cast<uint32_t>(level) & 0xFF;
    const uint32_t b = BlendLanes(s & 0x001F001Fu, d & 0x001F001Fu, a) & 0x001F001Fu;
    const uint32_t g = BlendLanes((s >> 5) & 0x003F003Fu, (d >> 5) & 0x003F003Fu, a) & 0x003F003Fu;
    const uint32_t r = BlendLanes((s >> 11) & 0x001F001Fu, (d >> 11) & 0x001F001Fu, a) & 0x001F001Fu;
    return r << 11 | g << 5 | b;
}

// Per-channel weights from a mask pixel: r5*8 (+7 from 16 up), g6*4 (+3 from
// 32 up), b5*8 (+7 from 16 up), so a full channel weighs 255.
inline uint16_t BlendMasked(uint16_t s, uint16_t d, uint16_t m)
{
    const int r5 = Red(m), g6 = Green(m), b5 = Blue(m);
    const int ar = r5 * 8 + (r5 >= 16 ? 7 : 0);
    const int ag = g6 * 4 + (g6 >= 32 ? 3 : 0);
    const int ab = b5 * 8 + (b5 >= 16 ? 7 : 0);
    return Make(BlendChannel(Red(s), Red(d), ar), BlendChannel(Green(s), Green(d), ag),
                BlendChannel(Blue(s), Blue(d), ab));
}

// ---- Additive blend -----------------------------------------------------

// Lanes of at most 'bits' bits at bits 0 and 16, summed and saturated.
inline uint32_t AddLanesSaturated(uint32_t s, uint32_t d, int bits)
{
    const uint32_t sum = s + d;                                  // one extra bit per lane
    const uint32_t over = (sum >> bits) & 0x00010001u;           // 1 where a lane overflowed
    const uint32_t full = (1u << bits) - 1;
    return (sum | over * full) & (full * 0x00010001u);
}

inline uint32_t AddPair(uint32_t s, uint32_t d)
{
    const uint32_t b = AddLanesSaturated(s & 0x001F001Fu, d & 0x001F001Fu, 5);
    const uint32_t g = AddLanesSaturated((s >> 5) & 0x003F003Fu, (d >> 5) & 0x003F003Fu, 6);
    const uint32_t r = AddLanesSaturated((s >> 11) & 0x001F001Fu, (d >> 11) & 0x001F001Fu, 5);
    return r << 11 | g << 5 | b;
}

// The source scaled by level / 256 (truncated) before the saturating add.
inline uint32_t ScalePair(uint32_t s, int level)
{
    const uint32_t a = static_cast<uint32_t>(level) & 0xFF;
    const uint32_t b = ((s & 0x001F001Fu) * a >> 8) & 0x001F001Fu;
    const uint32_t g = (((s >> 5) & 0x003F003Fu) * a >> 8) & 0x003F003Fu;
    const uint32_t r = (((s >> 11) & 0x001F001Fu) * a >> 8) & 0x001F001Fu;
    return r << 11 | g << 5 | b;
}

inline uint32_t AddLevelPair(uint32_t s, uint32_t d, int level) { return AddPair(ScalePair(s, level), d); }

inline uint16_t AddSingle(uint16_t s, uint16_t d) { return Low(AddPair(s, d)); }
inline uint16_t AddLevelSingle(uint16_t s, uint16_t d, int level) { return Low(AddLevelPair(s, d, level)); }

// ---- Grey ---------------------------------------------------------------

// t = 2 r5 + g6 + 2 b5, v = floor(t / 2) - floor(3 t / 8); the grey pixel
// has r5 = v, g6 = 2 v, b5 = v.
inline uint16_t Grey(uint16_t p)
{
    const int t = 2 * Red(p) + Green(p) + 2 * Blue(p);
    const int v = t / 2 - (3 * t) / 8;
    return static_cast<uint16_t>(v << 11 | v << 6 | v);
}

}  // namespace px565
