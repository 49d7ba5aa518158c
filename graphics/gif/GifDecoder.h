// GifDecoder.h - a self-contained reader of GIF87a/GIF89a data held in memory.
//
// Pure C++: no Windows types, so the parsing and the LZW decoding can be
// checked (and mutated) on plain memory. GifPicture.h builds the GDI side
// (palettes, DIB sections, the picture loaders) on top of it.
//
// Every length and size in the data is checked before use. The decoder keeps
// all of its tables per reader, so readers on different threads never meet.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <memory>
#include <vector>

namespace gifcore {

// Images whose 8-bit pixel buffer (stride x height) would be larger than
// this are refused: a corrupt descriptor must not allocate gigabytes.
constexpr uint64_t kMaxImageBytes = 64u << 20;

// Results of the LZW decoder (0 or more is success).
constexpr int kLzwOutOfMemory = -10;
constexpr int kLzwBadCodeSize = -20;
constexpr int kLzwReadFailure = -1;
constexpr int kLzwBadCode = -30;

struct Rgb
{
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

// The logical screen descriptor and what follows from it.
struct ScreenInfo
{
    uint16_t width = 0;
    uint16_t height = 0;
    bool hasGlobalTable = false;  // packed bit 0x80
    bool sorted = false;          // packed bit 0x08
    uint8_t colorResolution = 0;  // ((packed >> 4) & 7) + 1; without a global table packed & 0x71
    uint32_t globalColorCount = 0;
    uint8_t backgroundIndex = 0;  // 0 without a global table
    // The background entry as a palette-relative RGB (0x02BBGGRR); 0 without
    // a global table or when the index lies outside it.
    uint32_t backgroundColor = 0;
};

// One decoded image (frame) with the graphic control values that preceded it.
struct Image
{
    uint16_t left = 0;
    uint16_t top = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint32_t stride = 0;  // width rounded up to a multiple of 4
    bool interlaced = false;
    bool hasLocalTable = false;
    // The image's colours: its local table, else the global table, else
    // empty (the caller then uses the system palette).
    std::vector<Rgb> colors;
    bool transparent = false;
    uint8_t transparentIndex = 0;
    uint8_t disposal = 0;   // (packed >> 2) & 7 of the graphic control
    uint32_t delayMs = 0;   // graphic control delay x 10; a given 0 reads as 50
    std::vector<uint8_t> pixels;  // stride x height colour indexes, top row first
};

enum class ReadResult
{
    Failed = 0,
    Image = 1,
    NoMoreImages = 2,
};

// Where decoded lines go: rows in order, or the four passes of an interlaced
// image (rows 8i, 8i + 4, 4i + 2, 2i + 1). Next() answers -1 once every row
// has been placed.
class RowPlacer
{
public:
    RowPlacer(int height, bool interlaced);
    int Next();

private:
    int height_;
    bool interlaced_;
    int pass_ = 0;
    int row_ = 0;
};

class LzwDecoder;

class Reader
{
public:
    Reader();
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // headerPresent: the data starts with "GIF87a"/"GIF89a"; without it the
    // logical screen descriptor comes first. False when the data is too
    // short, the signature is wrong or the global table is cut off; the
    // reader is then closed.
    bool Open(const uint8_t* data, size_t size, bool headerPresent);
    void Close();
    bool IsOpen() const { return open_; }

    const ScreenInfo& Screen() const { return screen_; }
    const std::vector<Rgb>& GlobalTable() const { return globalTable_; }

    // Reads the next image: Image, NoMoreImages at the end of the data or at
    // any block that is not an extension or an image (the trailer), Failed
    // for a malformed extension, descriptor or LZW stream. `out` is
    // overwritten in every case.
    ReadResult ReadImage(Image& out);

    // Back to the first block after the global colour table.
    void Rewind() { position_ = 0; }
    size_t Position() const { return position_; }

private:
    bool ReadByte(uint8_t& value);
    bool ReadU16(uint16_t& value);
    bool Skip(size_t count);
    bool SkipSubBlocks();
    bool ReadExtension(Image& image);
    bool ReadGraphicControl(Image& image);
    ReadResult ReadDescriptorAndPixels(Image& image);

    bool open_ = false;
    ScreenInfo screen_;
    std::vector<Rgb> globalTable_;
    std::vector<uint8_t> data_;  // the bytes after the header and the global table
    size_t position_ = 0;
    std::unique_ptr<LzwDecoder> lzw_;

    friend class LzwDecoder;
};

// The LZW decoder of GIF's variable-length codes (LSB first, in sub-blocks of
// up to 255 bytes). Exposed for tests; Reader owns one.
class LzwDecoder
{
public:
    // Decodes one image's data starting at data[*position]: the minimum code
    // size byte, then the sub-blocks. On return *position lies after the
    // data's terminator (or at the end of the data). Rows go into
    // image.pixels through a RowPlacer. Answers 0, or a negative code:
    // kLzwReadFailure when the code size byte is missing, kLzwBadCodeSize,
    // kLzwOutOfMemory, kLzwBadCode for a code above the next free slot.
    // Data that ends early leaves the remaining rows as they were (0).
    int Decode(const uint8_t* data, size_t size, size_t* position, Image& image);

private:
    static constexpr int kTableSize = 4096;

    int ReadCode();
    bool LoadSubBlock();
    void PutByte(uint8_t value);
    void FlushLine(bool partial);

    // Input
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    size_t position_ = 0;
    size_t blockLeft_ = 0;     // bytes left in the current sub-block
    bool inputEnded_ = false;  // a terminator or the end of the data was met
    uint32_t bitBuffer_ = 0;
    int bitsInBuffer_ = 0;

    // Code state
    int codeSize_ = 0;

    // Output
    Image* image_ = nullptr;
    RowPlacer* rows_ = nullptr;
    std::vector<uint8_t> line_;
    size_t lineFill_ = 0;
    bool rowsDone_ = false;

    // Tables
    uint16_t prefix_[kTableSize];
    uint8_t suffix_[kTableSize];
    uint8_t stack_[kTableSize + 1];
};

}  // namespace gifcore
