// Fixtures of the picture tests: .bmp files built in memory, FreeImage
// bitmaps with chosen pixels and a 32-bit memory canvas to draw on.
#pragma once

#include <windows.h>
#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

#include "FreeImage.h"

namespace imgtest {

// A .bmp file. pixel(x, y) gives the colour index (8 bits and below), or
// 0xAARRGGBB (16 bits: 5-5-5 from the top bits; 24 bits: RGB; 32 bits:
// all four bytes). Rows are written bottom-up unless topDown.
std::vector<uint8_t> MakeBmp(int width, int height, int bpp, const std::vector<uint32_t>& palette,
                             const std::function<uint32_t(int x, int y)>& pixel, bool topDown = false);

// Offsets of the fields of a .bmp built by MakeBmp, for corrupting them.
constexpr size_t kBmpFileSize = 2, kBmpOffBits = 10, kBmpWidth = 18, kBmpHeight = 22, kBmpBitCount = 28;
void PutU32(std::vector<uint8_t>& bytes, size_t offset, uint32_t value);

// A FreeImage bitmap of 24 or 32 bits whose pixel (x, y) (top-down) is
// pixel(x, y) as 0xAARRGGBB. The caller owns it.
FIBITMAP* MakeTrueColour(int width, int height, int bpp, const std::function<uint32_t(int x, int y)>& pixel);
// An 8-bit bitmap with the palette (0x00RRGGBB entries) and indexes.
FIBITMAP* MakeIndexed(int width, int height, const std::vector<uint32_t>& palette,
                      const std::function<uint8_t(int x, int y)>& index);
// Pixel (x, y) of a 24- or 32-bit bitmap as 0x00RRGGBB.
uint32_t RgbAt(FIBITMAP* bitmap, int x, int y);

// The bitmap's pixels as 0x00RRGGBB, top row first; its size to width and
// height when given. Empty when the bitmap cannot be read.
std::vector<uint32_t> BitmapPixels(HBITMAP bitmap, int* width = nullptr, int* height = nullptr);

// The whole file; empty when it cannot be opened.
std::vector<uint8_t> ReadAll(const std::string& path);

// A file in a fresh temporary folder; the folder goes with the object.
class TempFolder
{
public:
    TempFolder();
    ~TempFolder();
    const std::string& Path() const { return m_path; }  // ends with a backslash
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const;

private:
    std::string m_path;
};

// A memory DC holding a 32-bit top-down DIB section.
class Canvas
{
public:
    Canvas(int width, int height, uint32_t fill = 0);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return m_dc; }
    HBITMAP Bitmap() const { return m_bitmap; }
    // 0x00RRGGBB
    uint32_t At(int x, int y) const;
    void Fill(uint32_t rgb);
    // The canvas-sized top-left part of the bitmap, copied onto the canvas.
    void CopyFrom(HBITMAP bitmap);

private:
    int m_width, m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    uint32_t* m_bits;
};

}  // namespace imgtest
