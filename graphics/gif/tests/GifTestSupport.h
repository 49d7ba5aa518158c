// Helpers of the GIF decoder tests: fixtures, a builder of GIF bytes for the
// cases no tool writes, pixel reading and an input buffer that ends at an
// inaccessible page.
#pragma once

#include <windows.h>
#include <stdint.h>

#include <string>
#include <vector>

namespace giftest {

using Bytes = std::vector<uint8_t>;

// bin/fixtures/gif/<name>; an empty vector when missing.
Bytes ReadFixture(const std::string& name);

// The grey levels of make_fixtures.py's noise pictures.
std::vector<uint8_t> NoiseGrey(size_t count);

// Colours of the rows of make_fixtures.py's row pictures.
COLORREF RowColour(int row);

// LZW codes of a given bit width, packed LSB first.
class CodeWriter
{
public:
    void Put(int code, int bits);
    Bytes Finish();  // the packed bytes (the last byte padded with zeros)

private:
    Bytes bytes_;
    uint32_t buffer_ = 0;
    int count_ = 0;
};

// LZW codes that send each pixel after its own clear code, so the code
// width never grows; EncodePlain packs them as image data (minimum code size
// byte, sub-blocks, terminator).
Bytes PlainCodes(const std::vector<uint8_t>& pixels, int minimumSize, bool endCode = true);
Bytes EncodePlain(const std::vector<uint8_t>& pixels, int minimumSize, bool endCode = true);
// Packs raw LZW bytes into sub-blocks of at most `blockSize` bytes, after the
// minimum code size byte, with the terminator.
Bytes Blocks(int minimumSize, const Bytes& codes, size_t blockSize = 255);

// Builds a GIF stream block by block.
class GifBuilder
{
public:
    GifBuilder& Header(const char* signature = "GIF89a");
    // packed: flags of the logical screen; table: R, G, B triples.
    GifBuilder& Screen(uint16_t width, uint16_t height, uint8_t packed, uint8_t background = 0,
                       const Bytes& table = Bytes());
    GifBuilder& GraphicControl(uint8_t packed, uint16_t delay, uint8_t transparentIndex, uint8_t blockSize = 4);
    GifBuilder& Comment(const std::string& text);
    GifBuilder& Application(const std::string& identifier, const Bytes& data);
    GifBuilder& PlainText(const std::string& text);
    GifBuilder& Extension(uint8_t label, const Bytes& body);  // body as one sub-block
    GifBuilder& Image(uint16_t left, uint16_t top, uint16_t width, uint16_t height, uint8_t packed,
                      const Bytes& lzwData, const Bytes& localTable = Bytes());
    GifBuilder& Raw(const Bytes& bytes);
    GifBuilder& Trailer();
    const Bytes& Get() const { return bytes_; }

private:
    void U16(uint16_t v);
    Bytes bytes_;
};

// A grey table of `count` entries (entry i = i, i, i).
Bytes GreyTable(int count);

// The picture's pixels as 0x00RRGGBB values, top row first (32-bit GetDIBits).
std::vector<uint32_t> ReadPixels(HBITMAP bitmap, int* width = nullptr, int* height = nullptr);
// COLORREF to the 0x00RRGGBB form of ReadPixels.
inline uint32_t Rgb32(COLORREF c)
{
    return (c & 0xFF) << 16 | (c & 0xFF00) | (c >> 16 & 0xFF);
}

// A copy of the data placed so that its last byte is followed by a page that
// cannot be read: any read past the end faults at once.
class GuardedBuffer
{
public:
    explicit GuardedBuffer(const Bytes& data);
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;
    const uint8_t* data() const { return data_; }
    DWORD size() const { return size_; }

private:
    uint8_t* base_ = nullptr;
    uint8_t* data_ = nullptr;
    DWORD size_ = 0;
};

}  // namespace giftest
