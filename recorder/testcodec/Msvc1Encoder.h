// A small Microsoft Video 1 encoder for 16-bit pictures, the compressor the
// recorder asks for ("MSVC"), for hosts whose system has only the decoder.
//
// Every 4x4 block becomes either a solid fill or a two-colour block (two
// 5-5-5 colours and one bit per pixel); blocks run left to right from the
// bottom row of blocks up, as the bottom-up picture is stored. Columns and
// rows beyond the last whole block are not coded, as the format has none.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vidrelle {

// Largest output for a picture: six bytes per block and the end code.
size_t Msvc1MaxSize(int width, int height);

// Encodes a bottom-up 16-bit (5-5-5) picture; returns the bytes written, 0
// when `outSize` is too small or the picture has no whole block.
size_t Msvc1EncodeRgb555(const uint8_t* pixels, int width, int height, size_t stride, uint8_t* out, size_t outSize);

}  // namespace vidrelle
