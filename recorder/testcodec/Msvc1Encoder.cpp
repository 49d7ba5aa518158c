#include "Msvc1Encoder.h"

namespace vidrelle {

namespace {

int Distance(uint16_t a, uint16_t b)
{
    const int dr = int((a >> 10) & 31) - int((b >> 10) & 31);
    const int dg = int((a >> 5) & 31) - int((b >> 5) & 31);
    const int db = int(a & 31) - int(b & 31);
    return dr * dr + dg * dg + db * db;
}

int Brightness(uint16_t c)
{
    return int((c >> 10) & 31) + int((c >> 5) & 31) + int(c & 31);
}

void Put16(uint8_t*& out, uint16_t v)
{
    *out++ = uint8_t(v & 0xFF);
    *out++ = uint8_t(v >> 8);
}

}  // namespace

size_t Msvc1MaxSize(int width, int height)
{
    if (width < 4 || height < 4)
        return 0;
    return size_t(width / 4) * size_t(height / 4) * 6 + 2;
}

size_t Msvc1EncodeRgb555(const uint8_t* pixels, int width, int height, size_t stride, uint8_t* out, size_t outSize)
{
    const size_t need = Msvc1MaxSize(width, height);
    if (need == 0 || outSize < need)
        return 0;
    uint8_t* const start = out;
    for (int by = 0; by < height / 4; ++by) {
        for (int bx = 0; bx < width / 4; ++bx) {
            // Bit i of a block is pixel (i % 4, i / 4) counted from the block's bottom-left.
            uint16_t px[16];
            for (int i = 0; i < 16; ++i) {
                const uint8_t* p = pixels + size_t(by * 4 + i / 4) * stride + size_t(bx * 4 + i % 4) * 2;
                px[i] = uint16_t((p[0] | (p[1] << 8)) & 0x7FFF);
            }
            uint16_t dark = px[0], light = px[0];
            for (uint16_t c : px) {
                if (Brightness(c) < Brightness(dark))
                    dark = c;
                if (Brightness(c) > Brightness(light))
                    light = c;
            }
            if (dark == light) {
                const uint8_t high = uint8_t(0x80 | (dark >> 8));
                if (high < 0x84 || high > 0x87) {   // 0x84-0x87 would read as a skip
                    *out++ = uint8_t(dark & 0xFF);
                    *out++ = high;
                    continue;
                }
            }
            // Two colours: a set bit takes colour A. The top bit of the flags
            // must stay clear, so colour A is whatever the top-right pixel is not.
            uint16_t flags = 0;
            for (int i = 0; i < 16; ++i)
                if (Distance(px[i], light) < Distance(px[i], dark))
                    flags = uint16_t(flags | (1u << i));
            uint16_t a = light, b = dark;
            if (flags & 0x8000) {
                flags = uint16_t(~flags);
                a = dark;
                b = light;
            }
            Put16(out, flags);
            Put16(out, a);
            Put16(out, b);
        }
    }
    Put16(out, 0);   // end of frame
    return size_t(out - start);
}

}  // namespace vidrelle
