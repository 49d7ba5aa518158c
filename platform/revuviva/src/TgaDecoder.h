// TgaDecoder.h - a reader of Truevision TGA pictures held in memory: colour-
// mapped, true-colour and grey, plain or run-length encoded. Pure C++; every
// size, count and run is checked against the data.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

namespace tga {

// Pictures above this many pixels, or this many a side, are refused.
constexpr uint64_t kMaxPixels = 16u << 20;
constexpr int kMaxSide = 16384;

struct Picture
{
    int width = 0;
    int height = 0;
    int pixelDepth = 0;  // bits per pixel in the file
    bool hasAlpha = false;
    // Blue, green, red, alpha per pixel, top row first; alpha 255 where the
    // file has none.
    std::vector<uint8_t> bgra;
    // The colour map as blue, green, red, alpha entries (colour-mapped
    // pictures only).
    std::vector<uint8_t> paletteBgra;
    // One alpha byte per pixel, top row first (only when hasAlpha).
    std::vector<uint8_t> alpha;
};

// False for anything that is not a TGA picture this reader knows, or that
// is cut short.
bool Decode(const uint8_t* data, size_t size, Picture& out);

}  // namespace tga
