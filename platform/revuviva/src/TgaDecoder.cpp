// TgaDecoder.cpp - TGA pictures to 32-bit rows.
#include "TgaDecoder.h"

#include <string.h>

#include <new>

namespace tga {

namespace {

constexpr size_t kHeaderSize = 18;

enum ImageKind
{
    kColourMapped = 1,
    kTrueColour = 2,
    kGrey = 3,
};

uint16_t U16At(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

uint8_t Expand5(unsigned v) { return static_cast<uint8_t>(v << 3 | v >> 2); }

// A 15/16-bit colour (x RRRRR GGGGG BBBBB) as B, G, R, A.
void From16(const uint8_t* p, bool alphaBit, uint8_t* out)
{
    const unsigned v = U16At(p);
    out[0] = Expand5(v & 31);
    out[1] = Expand5((v >> 5) & 31);
    out[2] = Expand5((v >> 10) & 31);
    out[3] = alphaBit ? ((v & 0x8000) ? 255 : 0) : 255;
}

// One colour of `bits` bits (15, 16, 24, 32) as B, G, R, A.
void FromColour(const uint8_t* p, int bits, bool alpha, uint8_t* out)
{
    switch (bits) {
    case 15:
    case 16:
        From16(p, alpha && bits == 16, out);
        break;
    case 24:
        out[0] = p[0], out[1] = p[1], out[2] = p[2], out[3] = 255;
        break;
    default:  // 32
        out[0] = p[0], out[1] = p[1], out[2] = p[2], out[3] = alpha ? p[3] : 255;
        break;
    }
}

bool ColourBitsValid(int bits) { return bits == 15 || bits == 16 || bits == 24 || bits == 32; }

struct Layout
{
    int kind;
    bool runLength;
    int width, height, depth;
    bool topDown, rightToLeft, alpha;
    int mapFirst;
};

}  // namespace

bool Decode(const uint8_t* data, size_t size, Picture& out)
{
    out = Picture();
    if (!data || size < kHeaderSize)
        return false;
    const int idLength = data[0];
    const int mapType = data[1];
    const int type = data[2];
    const int mapFirst = U16At(data + 3);
    const int mapLength = U16At(data + 5);
    const int mapBits = data[7];
    Layout l;
    l.kind = type & 7;
    l.runLength = (type & 8) != 0;
    l.width = U16At(data + 12);
    l.height = U16At(data + 14);
    l.depth = data[16];
    const int descriptor = data[17];
    const int alphaBits = descriptor & 0x0F;
    l.topDown = (descriptor & 0x20) != 0;
    l.rightToLeft = (descriptor & 0x10) != 0;
    l.mapFirst = mapFirst;

    if ((type & ~8) < kColourMapped || (type & ~8) > kGrey || mapType > 1)
        return false;
    if (l.width <= 0 || l.height <= 0 || l.width > kMaxSide || l.height > kMaxSide ||
        static_cast<uint64_t>(l.width) * l.height > kMaxPixels)
        return false;
    if (l.kind == kColourMapped && (mapType != 1 || l.depth != 8))
        return false;
    if (l.kind == kTrueColour && !ColourBitsValid(l.depth))
        return false;
    if (l.kind == kGrey && l.depth != 8)
        return false;

    size_t pos = kHeaderSize + idLength;
    if (pos > size)
        return false;
    std::vector<uint8_t> palette;
    bool mapAlpha = false;
    try {
        if (mapType == 1) {
            if (!ColourBitsValid(mapBits))
                return false;
            const size_t entryBytes = (mapBits + 7) / 8;
            const size_t mapBytes = entryBytes * mapLength;
            if (mapBytes > size - pos)
                return false;
            mapAlpha = alphaBits > 0 && (mapBits == 32 || mapBits == 16);
            palette.resize(static_cast<size_t>(mapLength) * 4);
            for (int i = 0; i < mapLength; ++i)
                FromColour(data + pos + i * entryBytes, mapBits, mapAlpha, &palette[i * 4]);
            pos += mapBytes;
        }
        l.alpha = l.kind == kColourMapped ? mapAlpha
                  : l.kind == kTrueColour ? alphaBits > 0 && (l.depth == 32 || l.depth == 16)
                                          : false;

        const size_t bytesPerPixel = (l.depth + 7) / 8;
        const size_t count = static_cast<size_t>(l.width) * l.height;
        std::vector<uint8_t> bgra(count * 4);

        // Pixels in file order; placed by the origin bits afterwards.
        auto convert = [&](const uint8_t* p, uint8_t* o) {
            if (l.kind == kColourMapped) {
                const int index = p[0] - l.mapFirst;
                if (index >= 0 && index < mapLength)
                    memcpy(o, &palette[index * 4], 4);
                else
                    o[0] = o[1] = o[2] = 0, o[3] = 255;
            } else if (l.kind == kGrey) {
                o[0] = o[1] = o[2] = p[0], o[3] = 255;
            } else {
                FromColour(p, l.depth, l.alpha, o);
            }
        };
        size_t filled = 0;
        if (!l.runLength) {
            if (count * bytesPerPixel > size - pos)
                return false;
            for (; filled < count; ++filled, pos += bytesPerPixel)
                convert(data + pos, &bgra[filled * 4]);
        } else {
            while (filled < count) {
                if (pos >= size)
                    return false;
                const uint8_t header = data[pos++];
                size_t run = (header & 0x7F) + 1u;
                if (run > count - filled)
                    run = count - filled;
                if (header & 0x80) {
                    if (bytesPerPixel > size - pos)
                        return false;
                    uint8_t pixel[4];
                    convert(data + pos, pixel);
                    pos += bytesPerPixel;
                    for (size_t i = 0; i < run; ++i)
                        memcpy(&bgra[(filled + i) * 4], pixel, 4);
                } else {
                    if (run * bytesPerPixel > size - pos)
                        return false;
                    for (size_t i = 0; i < run; ++i, pos += bytesPerPixel)
                        convert(data + pos, &bgra[(filled + i) * 4]);
                }
                filled += run;
            }
        }

        out.bgra.resize(count * 4);
        const size_t rowBytes = static_cast<size_t>(l.width) * 4;
        for (int row = 0; row < l.height; ++row) {
            const uint8_t* from = &bgra[row * rowBytes];
            uint8_t* to = &out.bgra[(l.topDown ? row : l.height - 1 - row) * rowBytes];
            if (!l.rightToLeft) {
                memcpy(to, from, rowBytes);
            } else {
                for (int x = 0; x < l.width; ++x)
                    memcpy(to + x * 4, from + (l.width - 1 - x) * 4, 4);
            }
        }
        if (l.alpha) {
            out.alpha.resize(count);
            for (size_t i = 0; i < count; ++i)
                out.alpha[i] = out.bgra[i * 4 + 3];
        }
        out.paletteBgra.swap(palette);
    } catch (const std::bad_alloc&) {
        out = Picture();
        return false;
    }
    out.width = l.width;
    out.height = l.height;
    out.pixelDepth = l.depth;
    out.hasAlpha = l.alpha;
    return true;
}

}  // namespace tga
