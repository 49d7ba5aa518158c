#include "GifTestSupport.h"

#include <stdio.h>
#include <string.h>

namespace giftest {

Bytes ReadFixture(const std::string& name)
{
    Bytes bytes;
    const std::string path = "fixtures\\gif\\" + name;
    if (FILE* f = fopen(path.c_str(), "rb")) {
        uint8_t buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
        fclose(f);
    }
    return bytes;
}

std::vector<uint8_t> NoiseGrey(size_t count)
{
    std::vector<uint8_t> out;
    uint32_t x = 1;
    for (size_t i = 0; i < count; ++i) {
        x = (x * 75 + 74) % 65537;
        out.push_back(static_cast<uint8_t>(x & 255));
    }
    return out;
}

COLORREF RowColour(int row)
{
    static const COLORREF kRows[] = {RGB(255, 0, 0),   RGB(0, 255, 0),    RGB(0, 0, 255),    RGB(255, 255, 0),
                                     RGB(255, 0, 255), RGB(0, 255, 255),  RGB(128, 64, 32),  RGB(32, 64, 128),
                                     RGB(200, 200, 200), RGB(16, 16, 16), RGB(90, 180, 45)};
    return kRows[row];
}

void CodeWriter::Put(int code, int bits)
{
    buffer_ |= static_cast<uint32_t>(code) << count_;
    count_ += bits;
    while (count_ >= 8) {
        bytes_.push_back(static_cast<uint8_t>(buffer_));
        buffer_ >>= 8;
        count_ -= 8;
    }
}

Bytes CodeWriter::Finish()
{
    if (count_ > 0)
        bytes_.push_back(static_cast<uint8_t>(buffer_));
    buffer_ = 0;
    count_ = 0;
    return bytes_;
}

Bytes Blocks(int minimumSize, const Bytes& codes, size_t blockSize)
{
    Bytes out{static_cast<uint8_t>(minimumSize)};
    for (size_t i = 0; i < codes.size(); i += blockSize) {
        const size_t n = codes.size() - i < blockSize ? codes.size() - i : blockSize;
        out.push_back(static_cast<uint8_t>(n));
        out.insert(out.end(), codes.begin() + i, codes.begin() + i + n);
    }
    out.push_back(0);
    return out;
}

Bytes PlainCodes(const std::vector<uint8_t>& pixels, int minimumSize, bool endCode)
{
    const int clear = 1 << minimumSize;
    const int bits = minimumSize + 1;
    CodeWriter w;
    for (uint8_t p : pixels) {
        w.Put(clear, bits);
        w.Put(p, bits);
    }
    if (endCode)
        w.Put(clear + 1, bits);
    return w.Finish();
}

Bytes EncodePlain(const std::vector<uint8_t>& pixels, int minimumSize, bool endCode)
{
    return Blocks(minimumSize, PlainCodes(pixels, minimumSize, endCode));
}

void GifBuilder::U16(uint16_t v)
{
    bytes_.push_back(static_cast<uint8_t>(v));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
}

GifBuilder& GifBuilder::Header(const char* signature)
{
    bytes_.insert(bytes_.end(), signature, signature + 6);
    return *this;
}

GifBuilder& GifBuilder::Screen(uint16_t width, uint16_t height, uint8_t packed, uint8_t background, const Bytes& table)
{
    U16(width);
    U16(height);
    bytes_.push_back(packed);
    bytes_.push_back(background);
    bytes_.push_back(0);
    bytes_.insert(bytes_.end(), table.begin(), table.end());
    return *this;
}

GifBuilder& GifBuilder::GraphicControl(uint8_t packed, uint16_t delay, uint8_t transparentIndex, uint8_t blockSize)
{
    bytes_.insert(bytes_.end(), {0x21, 0xF9, blockSize, packed});
    U16(delay);
    bytes_.push_back(transparentIndex);
    bytes_.push_back(0);
    return *this;
}

GifBuilder& GifBuilder::Extension(uint8_t label, const Bytes& body)
{
    bytes_.push_back(0x21);
    bytes_.push_back(label);
    if (!body.empty()) {
        bytes_.push_back(static_cast<uint8_t>(body.size()));
        bytes_.insert(bytes_.end(), body.begin(), body.end());
    }
    bytes_.push_back(0);
    return *this;
}

GifBuilder& GifBuilder::Comment(const std::string& text)
{
    return Extension(0xFE, Bytes(text.begin(), text.end()));
}

GifBuilder& GifBuilder::Application(const std::string& identifier, const Bytes& data)
{
    bytes_.insert(bytes_.end(), {0x21, 0xFF, 11});
    Bytes id(identifier.begin(), identifier.end());
    id.resize(11, ' ');
    bytes_.insert(bytes_.end(), id.begin(), id.end());
    if (!data.empty()) {
        bytes_.push_back(static_cast<uint8_t>(data.size()));
        bytes_.insert(bytes_.end(), data.begin(), data.end());
    }
    bytes_.push_back(0);
    return *this;
}

GifBuilder& GifBuilder::PlainText(const std::string& text)
{
    // 12-byte header: grid position and size, cell size, colours.
    bytes_.insert(bytes_.end(), {0x21, 0x01, 12, 0, 0, 0, 0, 40, 0, 10, 0, 8, 8, 1, 0});
    bytes_.push_back(static_cast<uint8_t>(text.size()));
    bytes_.insert(bytes_.end(), text.begin(), text.end());
    bytes_.push_back(0);
    return *this;
}

GifBuilder& GifBuilder::Image(uint16_t left, uint16_t top, uint16_t width, uint16_t height, uint8_t packed,
                              const Bytes& lzwData, const Bytes& localTable)
{
    bytes_.push_back(0x2C);
    U16(left);
    U16(top);
    U16(width);
    U16(height);
    bytes_.push_back(packed);
    bytes_.insert(bytes_.end(), localTable.begin(), localTable.end());
    bytes_.insert(bytes_.end(), lzwData.begin(), lzwData.end());
    return *this;
}

GifBuilder& GifBuilder::Raw(const Bytes& bytes)
{
    bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
    return *this;
}

GifBuilder& GifBuilder::Trailer()
{
    bytes_.push_back(0x3B);
    return *this;
}

Bytes GreyTable(int count)
{
    Bytes t;
    for (int i = 0; i < count; ++i)
        t.insert(t.end(), {static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i)});
    return t;
}

std::vector<uint32_t> ReadPixels(HBITMAP bitmap, int* width, int* height)
{
    std::vector<uint32_t> pixels;
    BITMAP bm;
    if (!bitmap || !GetObject(bitmap, sizeof bm, &bm))
        return pixels;
    BITMAPINFO info;
    memset(&info, 0, sizeof info);
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = -bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    pixels.resize(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
    HDC screen = GetDC(NULL);
    const int rows = GetDIBits(screen, bitmap, 0, bm.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(NULL, screen);
    if (rows != bm.bmHeight)
        pixels.clear();
    for (uint32_t& p : pixels)
        p &= 0xFFFFFF;
    if (width)
        *width = bm.bmWidth;
    if (height)
        *height = bm.bmHeight;
    return pixels;
}

GuardedBuffer::GuardedBuffer(const Bytes& data)
{
    SYSTEM_INFO si;
    GetSystemInfo(&si);
    const size_t page = si.dwPageSize;
    const size_t dataPages = (data.size() + page - 1) / page;
    const size_t total = (dataPages + 1) * page;
    base_ = static_cast<uint8_t*>(VirtualAlloc(NULL, total, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
    if (!base_)
        return;
    DWORD old;
    VirtualProtect(base_ + dataPages * page, page, PAGE_NOACCESS, &old);
    data_ = base_ + dataPages * page - data.size();
    size_ = static_cast<DWORD>(data.size());
    if (!data.empty())
        memcpy(data_, data.data(), data.size());
}

GuardedBuffer::~GuardedBuffer()
{
    if (base_)
        VirtualFree(base_, 0, MEM_RELEASE);
}

}  // namespace giftest
