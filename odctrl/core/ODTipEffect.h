// ODTipEffect.h - the generated backgrounds of the rich tooltip (effect
// kinds 7 to 15), apart from any window: a 256-entry palette running from
// the end colour (index 0) through the middle colour (128) to the begin
// colour (255), shaded towards a colour, and 8-bit pixels in one of nine
// patterns with random grain. CODTooltip copies the result into its palette
// picture (CODDib) at every show.
//
// Rows are counted from the bottom (row j = 0 is the picture's bottom row),
// columns from the left. Every store and addition into a pixel is taken
// modulo 256; all divisions truncate toward zero. The random source gives
// 0..32767, one call per pixel and pass (the C library's rand() in the
// tooltip; a fixed source in tests).
//
// Kinds: 7 flat, 8 diagonal, 9 vertical, 10 horizontal, 11 vertical cubic,
// 12 horizontal cubic, 13 diagonal cubic, 14 cylinder, 15 strokes. Grain n
// (0..255) is the low byte of the tool's effect parameter.
#pragma once

#include <stdint.h>

#include <functional>
#include <vector>

namespace odtip {

// Largest picture an effect is built for: a side of more than kMaxEffectSide
// or more than kMaxEffectPixels pixels gets no picture.
const int kMaxEffectSide = 32767;
const int kMaxEffectPixels = 16 * 1024 * 1024;

typedef std::function<int()> RandomSource;

struct EffectImage
{
    int width = 0;
    int height = 0;
    uint8_t palette[256][3] = {};  // red, green, blue
    std::vector<uint8_t> pixels;   // row j (from the bottom) at j x width

    uint8_t At(int x, int j) const { return pixels[static_cast<size_t>(j) * width + x]; }
};

// ((t t t) / 128) / 128: about t^3 / 16384.
int Cube(int t);

// The palette for begin, middle and end colours (COLORREFs), then every
// entry moved shadePercent (held at 0..100) towards shadeColour.
void BuildEffectPalette(uint32_t begin, uint32_t middle, uint32_t end, int shadePercent, uint32_t shadeColour,
                        uint8_t palette[256][3]);

// Builds the picture of width x height. Kinds outside 7..15 give the palette
// and no pixels; sizes below 1 (or beyond the limits) give no pixels either.
// false when no pixels were made.
bool BuildEffect(EffectImage& out, int width, int height, int kind, int grain, uint32_t begin, uint32_t middle,
                 uint32_t end, int shadePercent, uint32_t shadeColour, const RandomSource& random);

}  // namespace odtip
